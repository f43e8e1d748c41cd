// The Paper/Quality page's window in process: its start against the core driver's reports and the
// helper file's macros, the slider, its texts, context help and locks, the cursor over the sample
// page, the alert strip's links and messages that come without the page's context.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/zqmsgbox.h"
#include "device/zqalertwnd.h"
#include "macrotest.h"
#include "pagetest.h"
#include "zqhostapp.h"

namespace {

using zqmacrotest::Feature;
using zqmacrotest::Macro;

// The reports in the order the core driver got them, each feature's run of reports (an option
// search selects option after option) as the selection it settled on.
std::vector<std::string> Settled(const std::vector<zqtest::UpdateRecord>& updates) {
    std::vector<std::string> out;
    std::string last;
    for (const auto& u : updates) {
        const std::string entry = u.keyword + "=" + std::to_string(u.sel);
        if (!out.empty() && last == u.keyword) out.back() = entry;
        else out.push_back(entry);
        last = u.keyword;
    }
    return out;
}

// Message boxes answered in place of the user.
struct Boxes {
    Boxes() { zqmsgbox::SetAnswerer(&Answer, this); }
    ~Boxes() { zqmsgbox::SetAnswerer(nullptr, nullptr); }
    static int Answer(void* self, HWND, PCWSTR text, PCWSTR, UINT) {
        static_cast<Boxes*>(self)->texts.push_back(text ? text : L"");
        return IDOK;
    }
    std::vector<std::wstring> texts;
};

TEST_F(PaperQualityPage, StartRunsThePapersMacrosThenRestoresMediaQualityAndPhotoFixes) {
    AddItems();
    Build();
    LoadRules(Feature("PaperSize", {"m_paper"}) + Feature("MediaType", {"m_media"}) +
                  Feature("PrintQualityGroup", {"m_quality"}),
              Macro("m_paper", "<select_option>MediaType.FILM</select_option>"
                               "<select_option>PrintQualityGroup.PQGroup_0</select_option>"
                               "<select_option>ZQContrast.Off</select_option>") +
                  Macro("m_media", "<select_option>Thriftmode.ON</select_option>") +
                  Macro("m_quality", "<select_option>PrintFinish.Matte</select_option>"));
    const std::vector<std::string> common = {"MediaType=2",  "PrintQualityGroup=0", "ZQContrast=0",
                                             "MediaType=1",  "Thriftmode=1",        "PrintQualityGroup=2",
                                             "PrintFinish=1"};
    // Colour spaces the application manages keep the enhancements the macros left.
    for (const auto& [space, restored] : {std::make_pair(0, true), std::make_pair(1, false)}) {
        SCOPED_TRACE(space);
        for (const auto& [feature, sel] : {std::make_pair("MediaType", 1), std::make_pair("PrintQualityGroup", 2),
                                           std::make_pair("ZQContrast", 1), std::make_pair("Thriftmode", 0),
                                           std::make_pair("PrintFinish", 0), std::make_pair("ZQInputColorSpace", space)})
            m_host.SetSelection(feature, sel);
        m_host.ClearUpdates();
        ASSERT_NE(nullptr, Open());
        std::vector<std::string> expected = common;
        if (restored) expected.push_back("ZQContrast=1");
        EXPECT_EQ(expected, Settled(m_host.Updates()));
        EXPECT_EQ(L"Photo Paper", std::wstring(m_tab->LastMediaTypeForTesting().PszText()));
        EXPECT_EQ(1, m_tab->LastMediaTypeForTesting().IEntry());
        DestroyWindow(m_page);
        m_page = nullptr;
    }
    // Without loaded rules nothing is selected again.
    m_rules->Parser().VSetLoaded(FALSE);
    m_host.ClearUpdates();
    ASSERT_NE(nullptr, Open());
    EXPECT_TRUE(m_host.Updates().empty());
}

TEST_F(PaperQualityPage, StartFillsTheListsAndTakesTheSheetsOrientationAndGreyscale) {
    AddItems(true);
    Build();
    m_host.SetSelection("ZQPrintInGrayScale", 1);  // black ink only
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(L"A4", Text(IDC_CBO_MEDIA_SIZE_IS));
    EXPECT_EQ(L"Plain Paper", Text(IDC_CBO_MEDIA_TYPE_IS));
    // The source list: the printer's first bin, then the options the binder adds.
    EXPECT_EQ(4, SendMessageW(Ctl(IDC_CBO_MEDIA_SOURCE_IS), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(m_page, IDC_RB_LANDSCAPE)) << "the plug-in's orientation item is 1";
    EXPECT_FALSE(IsWindowEnabled(Ctl(IDC_CHECK_BORDERLESS_PHOTO))) << "no borderless photos in black ink only";
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&m_context), GetWindowLongPtrW(m_page, DWLP_USER));
    WCHAR title[64] = {};
    GetWindowTextW(m_parent, title, 64);
    EXPECT_STREQ(L"Sheet 1.2.3", title) << "the version joins the sheet's title once";
}

TEST_F(PaperQualityPage, SliderSelectsItsPositionAndWarnsAtTheHighestResolution) {
    AddItems();
    // The large-format quality mode shows the slider with a position per option.
    m_host.Add(zqtest::ListFeature("ZQLQJPQSettings", {{"StandardOptions", L"Standard"}, {"CustomOptions", L"Custom"}}));
    Build();
    LoadRules(Feature("PrintQualityGroup", {"m_quality"}),
              Macro("m_quality", "<select_option>PrintFinish.Matte</select_option>") +
                  Macro("macro_pop_up_4800_1200_warning", "<string_id>6500</string_id><showpopup>1</showpopup>"));
    m_host.SetSelection("PrintQuality", 2);  // 4800x1200
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(2, SendMessageW(Ctl(IDC_SLIDER_PQ_SETTINGS), TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(1, SendMessageW(Ctl(IDC_SLIDER_PQ_SETTINGS), TBM_GETPOS, 0, 0)) << "at the standard quality's option";
    Boxes boxes;
    for (int position : {2, 0}) {
        ASSERT_TRUE(ZQChooseOnPage(m_page, L"#953", std::to_wstring(position)));
        EXPECT_EQ(position, m_tab->StateForTesting().iSliderPosition);
        EXPECT_EQ(position, Sel("StandardPrintQuality"));
        EXPECT_EQ(position, Sel("PrintQualityGroup"));
    }
    EXPECT_EQ(1, Sel("PrintFinish")) << "the quality group's macros ran";
    EXPECT_EQ(2u, boxes.texts.size()) << "every move warns again";
    EXPECT_FALSE(ZQChooseOnPage(m_page, L"#953", L"3")) << "beyond the slider's range";
}

struct TextCase {
    const char* name;
    bool largeFormat;
    LANGID ui;
    WORD templateId;
    std::vector<std::pair<int, std::wstring>> texts;
};

class PaperQualityTexts : public PaperQualityPage, public ::testing::WithParamInterface<TextCase> {};

TEST_P(PaperQualityTexts, FollowThePrinterClassTheLanguageAndFallBackToEnglish) {
    const TextCase& c = GetParam();
    zqtest::CUiLanguage ui(c.ui);
    AddItems(c.largeFormat);
    Build();
    ASSERT_NE(nullptr, Open(c.templateId));
    const bool mirrored = (GetWindowLongPtrW(m_page, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    EXPECT_EQ(c.templateId == IDD_DLG_PAPER_MEDIA_RTL, mirrored);
    for (const auto& [id, text] : c.texts) EXPECT_EQ(text, Text(id)) << id;
    // A box the layout shows takes its text; one it hides keeps none.
    EXPECT_EQ(L"&Thriftmode\n  (May Save Print Cartridges)", Text(IDC_CHK_THRIFTMODE));
    EXPECT_EQ(L"", Text(IDC_CHK_MAX_DETAILS));
}

INSTANTIATE_TEST_SUITE_P(
    Printers, PaperQualityTexts,
    ::testing::Values(
        TextCase{"desk", false, 0x0409, IDD_DLG_PAPER_MEDIA,
                 {{IDC_STA_MEDIA_SOURCE_IS, L"&Source is:"}, {IDC_STA_MEDIA_TYPE_IS, L"&Type is:"},
                  {IDC_STA_MEDIA_SIZE_IS, L"Si&ze is:"}, {IDC_BTN_MARGINS, L"Margins / Layout..."},
                  {IDC_GB_MEDIA_PAPER_OPTIONS, L"Paper Options"}, {IDC_BTN_CUSTOM, L"Custom..."},
                  {IDC_RB_PORTRAIT, L""}, {IDC_CHK_QUIET_PRINTING, L""}}},
        // German texts where the module has them, else its English ones, else the page's own.
        TextCase{"desk in German, mirrored", false, 0x0407, IDD_DLG_PAPER_MEDIA_RTL,
                 {{IDC_STA_MEDIA_SOURCE_IS, L"&Source is:"}, {IDC_STA_MEDIA_TYPE_IS, L"&Typ:"},
                  {IDC_STA_MEDIA_SIZE_IS, L"&Format:"}, {IDC_GB_MEDIA_PAPER_OPTIONS, L"Papieroptionen"},
                  {IDC_BTN_HELP, L"&Help"}}},
        TextCase{"large format", true, 0x0409, IDD_DLG_PAPER_MEDIA,
                 {{IDC_STA_MEDIA_SOURCE_IS, L"Paper &Source:"}, {IDC_STA_MEDIA_TYPE_IS, L"Paper &Type:"},
                  {IDC_STA_MEDIA_SIZE_IS, L"&Document Size:"}, {IDC_BTN_MARGINS, L"Layout..."},
                  {IDC_RB_PORTRAIT, L"Portra&it"},
                  {IDC_CHK_SHOW_PREVIEW_FIN, L"Show previe&w before printing"}}}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::to_string(info.index); });

// The help id of a control in the page's table; -2 when the control is not in it.
int HelpOf(const DWORD* table, int control) {
    for (int i = 0; i < CZQPaperQualityTab::kHelpPairs && table[2 * i]; ++i)
        if (static_cast<int>(table[2 * i]) == control) return static_cast<int>(table[2 * i + 1]);
    return -2;
}

TEST_F(PaperQualityPage, HelpTableTakesLocksItemsAndTheShownPreview) {
    AddItems();
    Build();
    m_host.Item("Thriftmode")->HelpIndex = 777;
    m_host.Item("MediaType")->HelpIndex = 888;
    DWORD table[2 * CZQPaperQualityTab::kHelpPairs];
    m_tab->VBuildHelpTable(table, &m_context);
    const std::pair<int, int> open[] = {{IDC_CBO_MEDIA_SOURCE_IS, 14025}, {IDC_CBO_MEDIA_TYPE_IS, 888},
                                        {IDC_CHK_THRIFTMODE, 777},       {IDC_CBO_MEDIA_SIZE_IS, 15284},
                                        {IDC_CHK_MAX_DETAILS, 15468},    {IDC_IMAGE_ENHANCEMENT, -1},
                                        {IDC_BTN_PREVIEW_PORT, 14060},   {IDC_BTN_PREVIEW_LAND, -2}};
    for (const auto& [control, help] : open) EXPECT_EQ(help, HelpOf(table, control)) << control;
    EXPECT_EQ(0u, table[2 * (CZQPaperQualityTab::kHelpPairs - 1)]) << "the table ends with its zero pair";
    EXPECT_NE(0u, table[2 * (CZQPaperQualityTab::kHelpPairs - 2)]);

    // Locked features answer with the locked help; two pages per sheet lie across a portrait sheet.
    for (const wchar_t* lock : {L"InputBin", L"MediaType", L"ThriftMode", L"PaperSize", L"Resolution"})
        m_printer.PutString(L"DMCLockData\\Printing", lock, L"Lock");
    m_logic.WorkDM()->dwPagesPerSheet = 2;
    m_tab->VBuildHelpTable(table, &m_context);
    for (int control : {IDC_CBO_MEDIA_SOURCE_IS, IDC_CBO_MEDIA_TYPE_IS, IDC_CHK_THRIFTMODE, IDC_CBO_MEDIA_SIZE_IS,
                        IDC_CBO_PRINT_QUALITY})
        EXPECT_EQ(15147, HelpOf(table, control)) << control;
    EXPECT_EQ(14060, HelpOf(table, IDC_BTN_PREVIEW_LAND));
    m_tab->VReadSourceMediaLocks(&m_context);
    EXPECT_TRUE(m_tab->StateForTesting().bSourceLocked && m_tab->StateForTesting().bMediaLocked);

    // Without the quality group's item its fall-back.
    m_printer.PutString(L"DMCLockData\\Printing", L"Resolution", L"Open");
    m_host.Item("PrintQualityGroup")->UserData = 0;
    m_tab->VBuildHelpTable(table, &m_context);
    EXPECT_EQ(15131, HelpOf(table, IDC_CBO_PRINT_QUALITY));
}

TEST_F(PaperQualityPage, HandCursorOverTheSamplePageOnly) {
    AddItems();
    Build();
    ASSERT_NE(nullptr, Open());
    ShowWindow(m_parent, SW_SHOWNA);
    RECT port;
    GetWindowRect(Ctl(IDC_BTN_PREVIEW_PORT), &port);
    RECT help;
    GetWindowRect(Ctl(IDC_BTN_HELP), &help);
    for (const auto& [point, cursor] : {std::make_pair(POINT{(port.left + port.right) / 2, (port.top + port.bottom) / 2},
                                                       IDC_HAND),
                                        std::make_pair(POINT{help.left + 2, help.top + 2}, IDC_ARROW)}) {
        ASSERT_TRUE(SetCursorPos(point.x, point.y));
        SetWindowLongPtrW(m_page, DWLP_MSGRESULT, 0);
        EXPECT_EQ(TRUE, PaperQualityPageDlgProc(m_page, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_page),
                                                MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(LoadCursorW(nullptr, cursor), GetCursor());
        EXPECT_EQ(TRUE, GetWindowLongPtrW(m_page, DWLP_MSGRESULT));
    }
}

// Only the strip's own click runs a link, through the constraint gate.
TEST_F(PaperQualityPage, AlertLinksRunThroughTheConstraintGate) {
    AddItems();
    m_gates->alertsOn = TRUE;
    Build();
    ASSERT_NE(nullptr, Open());
    ExpectOnlyTheStripRunsItsLinks();
}

TEST_F(PaperQualityPage, MessagesWithoutTheirContextChangeNothing) {
    AddItems();
    Build();
    // The start needs its context, the page, the rules object and the block's private devmode.
    for (int missing = 0; missing < 4; ++missing) {
        PageContext context = m_context;
        if (missing == 1) context.pRules = nullptr;
        if (missing == 2) m_host.Param()->pOEMDM = nullptr;
        if (missing == 3) context.pPage = nullptr;
        PROPSHEETPAGEW psp = {};
        psp.lParam = reinterpret_cast<LPARAM>(missing ? &context : nullptr);
        SetLastError(0);
        EXPECT_EQ(FALSE, PaperQualityPageDlgProc(m_parent, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&psp)));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError()) << missing;
        m_host.Param()->pOEMDM = &m_core;
    }
    // A page that did not start answers nothing; the slider, the commands and the sheet's
    // notifications need the rules object as well, and change nothing without it.
    m_context.pRules = nullptr;
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(0, GetWindowLongPtrW(m_page, DWLP_USER));
    m_host.ClearUpdates();
    NMHDR apply = {m_parent, 0, static_cast<UINT>(PSN_APPLY)};
    const WPARAM command = MAKEWPARAM(IDC_CBO_MEDIA_TYPE_IS, CBN_SELCHANGE);
    for (PageContext* context : {static_cast<PageContext*>(nullptr), &m_context}) {
        SetWindowLongPtrW(m_page, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
        for (UINT message : {UINT(WM_HSCROLL), UINT(WM_COMMAND), UINT(WM_NOTIFY), UINT(WM_PAINT), UINT(WM_DRAWITEM),
                             UINT(WM_ERASEBKGND), UINT(WM_HELP), UINT(WM_CONTEXTMENU), UINT(WM_DESTROY), kZQAlertLinkMessage}) {
            if (context && message != WM_HSCROLL && message != WM_COMMAND && message != WM_NOTIFY) continue;
            SetLastError(0);
            EXPECT_EQ(0, PaperQualityPageDlgProc(m_page, message, message == WM_COMMAND ? command : 0,
                                                 message == WM_NOTIFY ? reinterpret_cast<LPARAM>(&apply) : 0))
                << message;
            EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError()) << message;
        }
    }
    EXPECT_TRUE(m_host.Updates().empty());
    EXPECT_TRUE(m_gates->calls.empty());
}

}  // namespace
