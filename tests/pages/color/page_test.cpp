// The Colour page: which sheets get it and on which template, its start on each template, the
// rules between greyscale, its radios, sepia and colour, what leaving the page writes, OK or Apply,
// the sample page and its labels, the colour space under PCL 3, factory defaults and the Task
// Presets group.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "colortest.h"
#include "featurelogic/zqquicksets.h"
#include "layoutcheck.h"
#include "zqhostapp.h"

#include <commctrl.h>

namespace {

void Uncheck(HWND hPage, int id) {
    CheckDlgButton(hPage, id, BST_UNCHECKED);
    SendMessageW(hPage, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hPage, id)));
}

// Colour printers get the page, on the template of their class, language and interface.
TEST(ColorPageRow, OnlyColourSheetsGetThePageOnTheirTemplate) {
    ZQSheetFacts facts = {};
    int ids[kPageIdCount];
    for (DWORD mode : {1u, 2u}) {
        facts.dwColorMode = mode;
        const int count = IChooseSheetPages(facts, kSheetDocument, ids, kPageIdCount);
        EXPECT_EQ(mode == 2, std::count(ids, ids + count, int{kPageColor}) == 1) << mode;
    }
    const ZQPageRow* row = ZQFindPageRow(kPageColor);
    ASSERT_NE(nullptr, row);
    EXPECT_EQ(798, row->iTitleId);
    const struct {
        BOOL largeFormat, simplified;
        DWORD pdl;
        WORD ltr, rtl;
    } cases[] = {
        {FALSE, FALSE, 4, IDD_DLG_COLORPAGE, IDD_DLG_COLORPAGE_RTL},
        {TRUE, TRUE, 5, IDD_DLG_COLORPAGE_SUI, IDD_DLG_COLORPAGE_SUI_RTL},
        {TRUE, TRUE, 3, IDD_DLG_COLORPAGE_LQJ, IDD_DLG_COLORPAGE_LQJ_RTL},
        {FALSE, FALSE, 3, IDD_DLG_COLORPAGE, IDD_DLG_COLORPAGE_RTL},
    };
    for (const auto& c : cases) {
        facts.bLargeFormat = c.largeFormat;
        facts.bSimplifiedUI = c.simplified;
        facts.dwPdl = c.pdl;
        const ZQPageTemplate chosen = row->pfnTemplate(facts);
        EXPECT_EQ(c.ltr, chosen.wLtr);
        EXPECT_EQ(c.rtl, chosen.wRtl);
        EXPECT_EQ(&ColorPageDlgProc, chosen.pfnDlgProc);
    }
}

// Every template starts laid out whole; a control the template lacks takes its commands without
// effect.
TEST_F(ColorPage, EveryTemplateStartsAndItsMissingControlsDoNothing) {
    Start();
    for (WORD id : {IDD_DLG_COLORPAGE_RTL, IDD_DLG_COLORPAGE_SUI, IDD_DLG_COLORPAGE_SUI_RTL, IDD_DLG_COLORPAGE_LQJ,
                    IDD_DLG_COLORPAGE_LQJ_RTL}) {
        SCOPED_TRACE(id);
        DestroyWindow(m_page);
        ASSERT_NE(nullptr, OpenPage(id, &ColorPageDlgProc));
        EXPECT_FALSE(Shown(IDC_BTN_FACTORY_DEFAULTS));
        // The simplified and large-format templates are laid out for their own printers (host tests).
        if (id == IDD_DLG_COLORPAGE_RTL)
            for (const std::string& fault : zqtest::LayoutFaults(m_page, Resources(), id)) ADD_FAILURE() << fault;
        for (int missing : {IDC_RB_AUTO, IDC_RB_MONO, IDC_CBO_GRAYSCALE, IDC_BUT_OPT, IDC_RB_PRINTINCOLOR})
            if (!Ctl(missing)) SendMessageW(m_page, WM_COMMAND, MAKEWPARAM(missing, BN_CLICKED), 0);
        EXPECT_EQ(0, Notify(PSN_SETACTIVE));
        EXPECT_EQ(FALSE, Notify(PSN_KILLACTIVE));
    }
    EXPECT_TRUE(Shown(IDC_CBO_PRESET)) << "the large-format PostScript page keeps its Task Presets group";
    EXPECT_EQ(L"&Save", Text(IDC_BTN_SAVE_PRESET));
    ExpectNoStartWithoutItsPieces(&ColorPageDlgProc);
}

// Greyscale on and off: the devmode, the features, the radios and the controls that depend on it.
TEST_F(ColorPage, GreyscaleColourAndSepiaKeepEachOtherConsistent) {
    Start();
    EXPECT_TRUE(Checked(IDC_RB_HIGHQUALITY) && !Enabled(IDC_RB_HIGHQUALITY)) << "colour shows the radio it would use";
    Click(m_page, IDC_CHK_PRINTINSEPIA);
    EXPECT_EQ(1u, Work().dwSepia);
    EXPECT_EQ("On", Current("ZQPrintInSepia"));

    Click(m_page, IDC_CHK_GRAYSCALE);
    EXPECT_EQ(1u, Work().dwPrintAsGray);
    EXPECT_EQ(0u, Work().dwSepia);
    EXPECT_FALSE(Checked(IDC_CHK_PRINTINSEPIA));
    EXPECT_EQ("Off", Current("ZQPrintInSepia"));
    EXPECT_EQ("HighQuality", Current("ZQPrintInGrayScale"));
    EXPECT_EQ("Gray", Current("ZQColorOptions"));
    EXPECT_FALSE(Enabled(IDC_BTN_ADV_COLOR_SETTING));
    EXPECT_TRUE(Enabled(IDC_RB_BLACKONLY) && Enabled(IDC_RB_PHOTOCOPY));

    Click(m_page, IDC_RB_BLACKONLY);
    EXPECT_EQ("BlackOnly", Current("ZQPrintInGrayScale"));
    EXPECT_EQ(2, m_tab->IGrayscaleChoiceForTesting());

    Uncheck(m_page, IDC_CHK_GRAYSCALE);
    EXPECT_EQ(0u, Work().dwPrintAsGray);
    EXPECT_EQ("FALSE", Current("ZQPrintInGrayScale"));
    EXPECT_EQ("Color", Current("ZQColorOptions"));
    EXPECT_TRUE(Enabled(IDC_BTN_ADV_COLOR_SETTING));
}

// Black Only and Photo Copy need one-sided printing, and Black Only plain paper where the printer
// says so; the administrator's lock keeps every greyscale control disabled.
TEST_F(ColorPage, GreyscaleChoicesFollowDuplexPaperAndLocks) {
    Start();
    const struct {
        const char* name;
        WORD duplex;
        LONG media;
        bool blackOnly, photoCopy;
    } cases[] = {
        {"one-sided, plain", 1, 0, true, true},
        {"two-sided", 2, 0, false, false},
        {"photo paper", 1, 2, false, true},
    };
    Click(m_page, IDC_CHK_GRAYSCALE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Work().wDuplex = c.duplex;
        m_host.SetSelection("MediaType", c.media);
        CheckDlgButton(m_page, IDC_RB_BLACKONLY, BST_CHECKED);
        m_tab->VUpdateGrayscaleChoices(&m_context);
        EXPECT_EQ(c.blackOnly, Enabled(IDC_RB_BLACKONLY));
        EXPECT_EQ(c.blackOnly, Checked(IDC_RB_BLACKONLY));
        EXPECT_EQ(c.photoCopy, Enabled(IDC_RB_PHOTOCOPY));
    }
    Work().wDuplex = 1;
    m_host.SetSelection("MediaType", 0);
    m_printer.PutString(L"DMCLockData\\Printing", L"ColorMode", L"lock");
    m_tab->VApplyGrayscaleLocks();
    EXPECT_TRUE(m_tab->BGrayscaleLockedForTesting());
    Uncheck(m_page, IDC_CHK_GRAYSCALE);
    Click(m_page, IDC_CHK_GRAYSCALE);
    EXPECT_EQ(0, Notify(PSN_SETACTIVE));
    for (int id : {IDC_CHK_GRAYSCALE, IDC_RB_HIGHQUALITY, IDC_RB_BLACKONLY, IDC_RB_PHOTOCOPY})
        EXPECT_FALSE(Enabled(id)) << id;
}

// Under PostScript the radios work on the greyscale feature's JCL twin, while choosing greyscale
// or colour sets the feature itself.
TEST_F(ColorPage, PostScriptRadiosUseTheJclTwin) {
    Printer printer;
    printer.pdl = kPdlPostScript;
    Start(printer);
    Click(m_page, IDC_CHK_GRAYSCALE);
    EXPECT_EQ("HighQuality", Current("JCLZQPrintInGrayScale"));
    Click(m_page, IDC_RB_PHOTOCOPY);
    EXPECT_EQ("PhotoCopy", Current("JCLZQPrintInGrayScale"));
    Uncheck(m_page, IDC_CHK_GRAYSCALE);
    EXPECT_EQ("FALSE", Current("ZQPrintInGrayScale"));
    EXPECT_EQ("FALSE", Current("JCLZQPrintInGrayScale"));
}

// Leaving the page writes greyscale to the public and private colour items, colour matching and
// its lists, and the page to open on next.
TEST_F(ColorPage, LeavingWritesColourMatchingAndTheStartPage) {
    Start();
    Click(m_page, IDC_CHK_GRAYSCALE);
    Work().dwBlackPointComp = 1;
    EXPECT_EQ(FALSE, Notify(PSN_KILLACTIVE));
    EXPECT_EQ(0, m_host.ItemByPubId(DMPUB_COLOR)->Sel);
    EXPECT_EQ("MONO", Current("ColorMode"));
    EXPECT_EQ("TRUE", Current("ZQColorasGray"));
    EXPECT_EQ("TRUE", Current("ZQBlackPoint")) << "relative colorimetric keeps black point compensation";
    EXPECT_EQ(1u, Work().dwChromixAuto);
    EXPECT_EQ("AUTO", Current("ZQChromix"));
    EXPECT_EQ(CZQColorTab::kTitleId, m_core.iStartPage);

    // A list away from its default: manual matching, the list's entry written after the driver's
    // three options; a selection beyond the item's options is not written.
    ZQColorOptionNode* list = m_logic.m_colorOptions.Head();
    while (list && list->dwKind != kColorNodeList) list = list->pNext;
    ASSERT_NE(nullptr, list);
    list->dwSelection = 1;
    EXPECT_TRUE(m_tab->BColorListChanged(&m_context));
    m_host.SetSelection("ZQIntent", 0);
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(0u, Work().dwChromixAuto);
    EXPECT_EQ("MANUAL", Current("ZQChromix"));
    EXPECT_EQ("Detail", Current("ZQChromix_Text_Halftone"));
    EXPECT_EQ("FALSE", Current("ZQBlackPoint")) << "perceptual intent";
    list->dwSelection = 2;
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ("Detail", Current("ZQChromix_Text_Halftone"));
    Click(m_page, IDC_RB_AUTO);
    EXPECT_EQ(0u, list->dwSelection);
    EXPECT_TRUE(m_context.pLogic->m_colorOptions.BColorListAtDefaults());
}

// The print quality follows the greyscale option both mark as conflicting, within both lists.
TEST_F(ColorPage, PrintQualityFollowsTheMarkedGreyscaleOption) {
    Start();
    const auto mark = [&](const char* feature, int option, bool on) {
        OPTPARAM& param = m_host.Item(feature)->pOptType->pOptParam[option];
        param.Flags = on ? (param.Flags | OPTPF_OVERLAY_WARNING_ICON) : (param.Flags & ~OPTPF_OVERLAY_WARNING_ICON);
    };
    mark("PrintQualityGroup", 0, true);
    mark("ZQPrintInGrayScale", 0, true);
    // The greyscale feature has more options than the quality group: its marks beyond are not read.
    mark("ZQPrintInGrayScale", 3, true);
    m_tab->VMatchPrintQualityToGrayscale(&m_context);
    EXPECT_EQ("PQGroup_0", Current("PrintQualityGroup"));
}

// OK or Apply: the sheet-wide work on the last page visited only; PSN_RESET leaves the page unchanged.
TEST_F(ColorPage, OnlyTheLastPageVisitedSynchronisesAndExports) {
    Start();
    ExpectApplyOnlyOnTheLastPageVisited(kPageColor);
}

// The sample page turns the document and back, under PostScript with its orientation feature; the
// focus lands on the picture shown; a click on the paper label switches the unit and back.
TEST_F(ColorPage, SamplePageAndLabelClicksComeBackAfterTwo) {
    Printer printer;
    printer.pdl = kPdlPostScript;
    Start(printer);
    const WORD orientation = Work().wOrientation;
    Click(m_page, IDC_BTN_PREVIEW_PORT);
    EXPECT_NE(orientation, Work().wOrientation);
    EXPECT_EQ("ZQOrientationLandscape", Current("ZQOrientation"));
    Work().dwPagesPerSheet = 2;
    Click(m_page, IDC_BTN_PREVIEW_LAND);
    EXPECT_EQ(orientation, Work().wOrientation);
    EXPECT_EQ("ZQOrientationPortrait", Current("ZQOrientation"));
    EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_LAND), GetFocus()) << "two pages to a sheet turn the picture";
    const DWORD unit = Work().dwUnitMm;
    Click(m_page, IDC_PREVIEW_DIMENSIONS);
    EXPECT_NE(unit, Work().dwUnitMm);
    Click(m_page, IDC_PREVIEW_DIMENSIONS);
    EXPECT_EQ(unit, Work().dwUnitMm);
}

// Under PCL 3 the colour space the application manages needs plain paper and turns the photo fix
// off (not under another language); Adobe RGB clears the advanced colour values under every
// language; sepia moves such a colour space to its first.
class ColorSpacePage : public ColorPage, public testing::WithParamInterface<DWORD> {};

TEST_P(ColorSpacePage, ColourSpaceChoicesUnderPcl3) {
    const bool pcl3 = GetParam() == 4;
    Printer printer;
    printer.pdl = GetParam();
    Start(printer);
    std::fill(std::begin(Work().aiColorAdjust), std::end(Work().aiColorAdjust), 7);
    m_host.SetSelection("MediaType", 1);
    m_host.SetSelection("ZQInputColorSpace", 1);
    m_tab->VInitControls(&m_context);
    ASSERT_TRUE(Shown(IDC_INPUT_COLORSPACE));
    Notice(m_page, IDC_INPUT_COLORSPACE, CBN_SELCHANGE);
    EXPECT_EQ(0, Work().aiColorAdjust[0]) << "Adobe RGB clears them under every language";
    EXPECT_EQ(pcl3 ? "FALSE" : "TRUE", Current("ZQPhotoFix"));
    m_host.SetSelection("ZQInputColorSpace", 2);
    m_tab->VInitControls(&m_context);
    Notice(m_page, IDC_INPUT_COLORSPACE, CBN_SELCHANGE);
    EXPECT_EQ(pcl3 ? "PLAIN" : "AUTOMATIC", Current("MediaType"));
    Click(m_page, IDC_CHK_PRINTINSEPIA);
    EXPECT_EQ("sRGB", Current("ZQInputColorSpace"));
}
INSTANTIATE_TEST_SUITE_P(Languages, ColorSpacePage, testing::Values(4u, 5u));

// Factory defaults: Cancel only asks the device again; OK applies the factory quick set and sets the
// page again before that.
TEST_F(ColorPage, FactoryDefaultsConfirmedOrCancelled) {
    Start(Printer(), IDD_DLG_COLORPAGE_SUI);
    for (int answer : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(answer);
        BoxAnswers boxes(answer);
        Work().dwPrintAsGray = 1;
        m_gates->calls.clear();
        m_logic.m_bPageFlag = TRUE;
        SendMessageW(m_page, WM_COMMAND, MAKEWPARAM(IDC_BTN_FACTORY_DEFAULTS, BN_CLICKED), 0);
        EXPECT_EQ(1u, boxes.texts.size()) << "the question is asked";
        EXPECT_EQ(std::vector<std::string>{"refresh"}, m_gates->calls);
        EXPECT_EQ(answer == IDCANCEL, m_logic.m_bPageFlag != FALSE);
        EXPECT_EQ(answer == IDOK, Checked(IDC_CHK_GRAYSCALE)) << "the controls set again from the settings";
    }
}

// The Task Presets group of the large-format PostScript page: a name typed enables Save, Save keeps
// the settings under that name, and choosing it applies it and sets the page again, the colour
// management panel with it.
TEST_F(ColorPage, TaskPresetsGroupSavesAndAppliesQuickSets) {
    Printer printer;
    printer.pdl = kPdlPostScript;
    printer.largeFormat = true;
    Start(printer, IDD_DLG_COLORPAGE_LQJ);
    CZQQuickSets& quickSets = *m_context.pQuickSets;
    quickSets.VAttach(&m_logic, nullptr, &m_caps);
    quickSets.VSetParam(m_host.Param(), OEMCUIP_DOCPROP);
    quickSets.VLoad(nullptr, &Work());
    Notify(PSN_SETACTIVE);
    SetWindowTextW(Ctl(IDC_CBO_PRESET), L"Grey proofs");
    Notice(m_page, IDC_CBO_PRESET, CBN_EDITCHANGE);
    EXPECT_TRUE(Enabled(IDC_BTN_SAVE_PRESET));
    Click(m_page, IDC_CHK_GRAYSCALE);
    Click(m_page, IDC_BTN_SAVE_PRESET);
    EXPECT_NE(CB_ERR, SendMessageW(Ctl(IDC_CBO_PRESET), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(L"Grey proofs")));
    Uncheck(m_page, IDC_CHK_GRAYSCALE);
    EXPECT_TRUE(ZQChooseOnPage(m_page, L"#" + std::to_wstring(IDC_CBO_PRESET), L"Grey proofs"));
    EXPECT_EQ(1u, Work().dwPrintAsGray);
    EXPECT_TRUE(Checked(IDC_CHK_GRAYSCALE));

    Work().dwLfInputProfiles = 1;
    Work().dwPantoneEmulation = 1;
    Notify(PSN_SETACTIVE);
    EXPECT_EQ((std::vector<bool>{false, true, true}),
              (std::vector<bool>{Checked(IDC_RB_APP_MANAGED_COLORS), Checked(IDC_RB_INPUTPROFILES), Checked(IDC_CHK_PANTONE)}));
    EXPECT_TRUE(Enabled(IDC_CBO_CMYK)) << "the profiles follow the radio checked";
}

// A message without the page's private devmode changes nothing and leaves last error 13.
TEST_F(ColorPage, MessagesWithoutTheirPiecesChangeNothing) {
    Start();
    ExpectNothingChangesWithoutTheDevmode(MAKEWPARAM(IDC_CHK_GRAYSCALE, BN_CLICKED), PSN_KILLACTIVE);
    EXPECT_EQ(0u, Work().dwPrintAsGray);
}

}  // namespace
