// The Printing Shortcuts page of the simplified interface: which sheets get it and on which
// template, its start (texts, keywords, the quick set it shows), OK or Apply, its rows' height and
// pictures, and its end after its window.
#include <gtest/gtest.h>

#include "common/zqmodule.h"
#include "device/zqalertwnd.h"
#include "featurelogic/zqquicksets.h"
#include "layoutcheck.h"
#include "pages/shortcuts/zqdesktopshortcuts.h"
#include "res/zqdesktopshortcutsids.h"
#include "largeformattest.h"

namespace {

// Printers with the simplified interface get this page on its template pair, the others the desktop
// page on its own; both titled from the same string.
TEST(ShortcutsPageRow, SimplifiedPrintersGetThisPageTheOthersTheDesktopOne) {
    const ZQPageRow* row = ZQFindPageRow(kPageShortcuts);
    ASSERT_NE(nullptr, row);
    EXPECT_EQ(4255, row->iTitleId);
    EXPECT_STREQ(L"Printing Shortcuts", row->pszTitle);
    const struct {
        BOOL simplified, docUi;
        WORD ltr, rtl;
        DLGPROC proc;
    } cases[] = {{FALSE, FALSE, IDD_DLG_DOC_CENTRIC_UI, IDD_DLG_DOC_CENTRIC_UI_RTL, &ShortcutsPageDlgProc},
                 {TRUE, FALSE, IDD_DLG_DOC_CENTRIC_UI_SUI, IDD_DLG_DOC_CENTRIC_UI_SUI_RTL, &LargeFormatShortcutsPageDlgProc},
                 {FALSE, TRUE, IDD_DLG_DOC_CENTRIC_UI_SUI, IDD_DLG_DOC_CENTRIC_UI_SUI_RTL, &LargeFormatShortcutsPageDlgProc},
                 {TRUE, TRUE, IDD_DLG_DOC_CENTRIC_UI_SUI, IDD_DLG_DOC_CENTRIC_UI_SUI_RTL, &LargeFormatShortcutsPageDlgProc}};
    for (const auto& c : cases) {
        ZQSheetFacts facts = {};
        facts.bSimplifiedUI = c.simplified;
        facts.bDocUISUI = c.docUi;
        CZQTabBase* page = row->pfnCreate(facts);
        EXPECT_NE(nullptr, page) << c.simplified << c.docUi;
        delete page;
        const ZQPageTemplate chosen = row->pfnTemplate(facts);
        EXPECT_EQ(c.ltr, chosen.wLtr);
        EXPECT_EQ(c.rtl, chosen.wRtl);
        EXPECT_EQ(c.proc, chosen.pfnDlgProc);
    }
}

// Both templates start laid out whole, with the status module's texts and the English ones where the
// module has none; the message's text is always the page's own.
TEST_F(ShortcutsPage, StartsWithItsTextsOnBothTemplates) {
    Start();
    for (WORD id : {IDD_DLG_DOC_CENTRIC_UI_SUI, IDD_DLG_DOC_CENTRIC_UI_SUI_RTL}) {
        SCOPED_TRACE(id);
        if (id != IDD_DLG_DOC_CENTRIC_UI_SUI) {
            DestroyWindow(m_page);
            ASSERT_NE(nullptr, OpenPage(id, &LargeFormatShortcutsPageDlgProc));
        }
        for (const std::string& fault : zqtest::LayoutFaults(m_page, Resources(), id)) ADD_FAILURE() << fault;
        const struct {
            int id;
            const wchar_t* text;
        } texts[] = {
            {IDC_STA_TITLE1, L"Select the printing shortcut for this print job."},
            {IDC_BTN_PREVIEW_PORT, L"Portrait"},
            {IDC_DOCUI_CUSTOM1, L"One or more custom settings have been chosen on the other tabs."},
            // Strings the status module lacks.
            {IDC_DOCUI_CUSTOM3,
             L"To reset the settings, select the type of printing you want to do from the Printing Shortcuts menu."},
            {IDC_STA_MESSAGE, L"One or more settings have been modified from the other tabs. A new shortcut can be "
                              L"saved with those settings."},
        };
        for (const auto& t : texts) EXPECT_EQ(t.text, Text(t.id)) << t.id;
        EXPECT_STREQ(L"Customized Settings", m_tab->StateForTesting().szCustomizedText);
        EXPECT_TRUE(Shown(IDC_LB_DOCTYPE_SETTING) && Shown(IDC_BTN_SAVE) && Shown(IDC_BTN_DELETE));
    }
    ExpectNoStartWithoutItsPieces(&LargeFormatShortcutsPageDlgProc);
}

// The features the page names follow the driver's language: PostScript has its own.
TEST_F(ShortcutsPage, KeywordsFollowTheDriversLanguage) {
    Start();
    const struct {
        DWORD pdl;
        const wchar_t *source, *paper, *orientation, *grey;
    } cases[] = {{3, L"InputSlot", L"PageSize", L"ZQOrientation", L"JCLZQPrintInGrayScale"},
                 {5, L"InputBin", L"PaperSize", L"Orientation", L"ZQPrintInGrayScale"},
                 {4, L"InputBin", L"PaperSize", L"Orientation", L"ZQPrintInGrayScale"}};
    for (const auto& c : cases) {
        Work().dwPdl = c.pdl;
        m_tab->VSetDriverKeywords(&m_context);
        EXPECT_STREQ(c.source, m_tab->StateForTesting().szKwInputBin) << c.pdl;
        EXPECT_STREQ(c.paper, m_tab->StateForTesting().szKwPaperSize) << c.pdl;
        EXPECT_STREQ(c.orientation, m_tab->StateForTesting().szKwOrientation) << c.pdl;
        EXPECT_STREQ(c.grey, m_tab->StateForTesting().szKwGrayScale) << c.pdl;
    }
}

// OK on the page names the shortcut shown as the quick set in force; only the last page visited
// synchronises and exports. Leaving the page makes it the page to open on.
TEST_F(ShortcutsPage, ApplyNamesTheShortcutAndOnlyTheLastPageExports) {
    Start();
    ExpectApplyOnlyOnTheLastPageVisited(kPageShortcuts);
    CZQQuickSets& quickSets = *m_context.pQuickSets;
    EXPECT_TRUE(quickSets.BSelected());
    EXPECT_STREQ(m_tab->StateForTesting().szCurrentName, quickSets.PszCurrentName());
    EXPECT_EQ(0, Notify(PSN_KILLACTIVE));
    EXPECT_EQ(4255, m_core.iStartPage);
    ExpectNothingChangesWithoutTheDevmode(MAKEWPARAM(IDC_BTN_SAVE, BN_CLICKED), PSN_APPLY);
}

// List rows are taller on roll printers; the row pictures and the alert strip go with the object,
// also after the window, whose controls went with it.
TEST_F(ShortcutsPage, RowHeightByClassAndTheEndAfterTheWindow) {
    m_gates->alertsOn = TRUE;
    Start();
    for (bool largeFormat : {true, false}) {
        m_host.SetSelection("ZQPrinterClass", largeFormat ? 1 : 0);
        MEASUREITEMSTRUCT measure = {};
        measure.CtlType = ODT_LISTBOX;
        measure.CtlID = IDC_LB_DOCTYPE_SETTING;
        SendMessageW(m_page, WM_MEASUREITEM, IDC_LB_DOCTYPE_SETTING, reinterpret_cast<LPARAM>(&measure));
        EXPECT_EQ(largeFormat ? 75u : 52u, measure.itemHeight);
    }
    ASSERT_NE(nullptr, m_tab->AlertsForTesting().Window());
    ExpectOnlyTheStripRunsItsLinks();
    const HWND alerts = m_tab->AlertsForTesting().Window()->Hwnd();
    EXPECT_TRUE(IsWindow(alerts));
    CZQShortcutListRows& rows = m_tab->ListForTesting();
    const HINSTANCE module = zqmodule::Instance();
    zqmodule::SetInstance(Resources());  // the pictures are the plug-in's
    const HBITMAP first = rows.HRowBitmap(0), last = rows.HRowBitmap(IDB_PAPER_PORTRAIT);
    zqmodule::SetInstance(module);
    ASSERT_TRUE(first && last);
    DestroyWindow(m_page);
    m_page = nullptr;
    m_pageObject.reset();
    m_tab = nullptr;
    EXPECT_EQ(0u, GetObjectType(first));
    EXPECT_EQ(0u, GetObjectType(last));
    EXPECT_FALSE(IsWindow(alerts));
}

// A panel row's picture is its option's; the paper's turns with the document.
TEST(ShortcutsPagePictures, PaperPictureTurnsWithTheOrientation) {
    int portrait = IDB_PAPER_PORTRAIT, landscape = IDB_PAPER_LANDSCAPE, photo = 1200;
    int* ids[] = {&portrait, &landscape, &photo};
    ShortcutPanelEntry entry = {};
    entry.nOptions = 3;
    entry.ppiOptionBitmapIds = ids;
    const struct {
        const wchar_t* keyword;
        int selected;
        WORD orientation;
        int picture;
    } cases[] = {
        {L"PaperSize", 0, 2, IDB_PAPER_LANDSCAPE}, {L"PaperSize", 1, 1, IDB_PAPER_PORTRAIT},
        {L"PaperSize", 0, 1, IDB_PAPER_PORTRAIT},  {L"paperSIZE", 1, 2, IDB_PAPER_LANDSCAPE},
        {L"PaperSize", 2, 2, 1200},                {L"MediaType", 0, 2, IDB_PAPER_PORTRAIT},
        {L"PaperSize", 3, 2, 0},                   {L"PaperSize", -1, 2, 0},
    };
    for (const auto& c : cases) {
        wcscpy(entry.szKeyword, c.keyword);
        entry.iSelected = c.selected;
        EXPECT_EQ(c.picture, CZQShortcutPanelRows::IEntryPictureId(entry, L"PaperSize", c.orientation))
            << c.selected << " " << c.orientation;
    }
    entry.iRowHolderId = IDC_DC_CTL_HOLDER1 + 2;
    EXPECT_EQ(IDC_DC_BMP_HOLDER1 + 2, IShortcutPictureHolderOf(entry));
    entry.iRowHolderId = 653;
    EXPECT_EQ(0, IShortcutPictureHolderOf(entry));
}

}  // namespace
