// The large-format Features page in process: texts, template and help with locks; the percentage box
// and its scroll bar; the accounting ID; the resizing radios with pages per sheet; the roll boxes by
// source, loaded rolls and job mode; leaving with the start page; apply as the settings stand; the
// sample page's margin kinds; the printer's paper names failing; the alert link message from another
// thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/zquidevmode.h"
#include "pagefixture.h"
#include "pages/lfeatures/zqlfeaturespage.h"
#include "res/zqlfeaturesids.h"
#include "testsupport.h"

using zqtest::ListFeature;

namespace {

const WCHAR kPaperNames[4][64] = {L"Letter", L"A4", L"Legal", L"Envelope #10"};

zqtest::FixtureFeature OffOn(const char* keyword) { return ListFeature(keyword, {{"FALSE", L"Off"}, {"TRUE", L"On"}}); }

class LargeFeatures : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        m_printer.SetCapability(DC_PAPERNAMES, kPaperNames, 4, sizeof kPaperNames[0]);
        m_previousWait = CZQCommon::SetCapsRetryWait([](DWORD) {});
    }
    void TearDown() override {
        CZQCommon::SetCapsRetryWait(m_previousWait);
        PageFixture::TearDown();
        m_tab = nullptr;
    }
    // The roll printer's items; `source` the paper source's selection, `rolls` "InstalledRolls".
    void Prepare(int source = 0, const char* rolls = "Roll1_Roll2", WORD wTemplate = IDD_DLG_FEATURESPAGELQJ) {
        for (const zqtest::FixtureFeature& feature : OrientationItems()) m_host.Add(feature);
        m_host.Add(ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"ISO_A1", L"A1"},
                                             {"ZQ_BANNER_A1", L"Banner A1"}, {"ZQ_BORDERLESS_A4", L"A4 Photo"}},
                               m_paper, DMPUB_FORMNAME));
        m_host.Add(ListFeature("InputBin", {{"ROLL1", L"Roll 1"}, {"ROLL2", L"Roll 2"}, {"Sheet", L"Sheet"}}, source,
                               DMPUB_DEFSOURCE));
        m_host.Add(zqtest::ValueFeature("ZQPrinterClass", "ZQKorrix"));
        m_host.Add(zqtest::ValueFeature("ZQSimplifiedUI", "TRUE"));
        for (const char* box : {"ZQSaveRollPaper", "ZQDisableAutoCutter", "ZQAutorotate", "ZQRemoveMarginsBetweenPages",
                                "ZQTransverse", "ZQPrintPreview"})
            m_host.Add(OffOn(box));
        m_host.Add(ListFeature("ZQSendJobAsBitmap", {{"Off", L"Off"}, {"SleekMode24bpp", L"Bitmap"}}, m_bitmap));
        m_host.Add(ListFeature("InstalledRolls", {{rolls, L"Rolls"}}));
        m_host.Add(ListFeature("ZQPrintWithMargins", {{"Standard", L"Standard"}, {"OversizePaper", L"Oversize"},
                                                      {"Clip", L"Clip"}, {"None", L"None"}}));
        m_host.Add(zqtest::ValueFeature("ZQBorderless", "TRUE"));
        if (!m_core.dwLayoutMode) m_core.dwLayoutMode = 3;
        m_core.dwPdl = kPdlZqgl2;
        m_public.dmPaperSize = m_docPaper;
        auto tab = std::make_unique<CZQLargeFormatFeaturesTab>();
        m_tab = tab.get();
        BuildPage(std::move(tab));
        m_logic.SheetState()->aiPagePosition[kPageLargeFormatFeatures] = 1;
        JoinSheet(kPageLargeFormatFeatures, false);
        ASSERT_NE(nullptr, OpenPage(wTemplate, &LargeFormatFeaturesPageDlgProc));
    }
    // A roll's answer as the device-status work stores it.
    void Answer(const std::wstring& name, const std::wstring& text) {
        m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", L"{6A0C3E55-1B7D-4F20-9E61-3C2B5D7A8E14}");
        m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, name, text);
    }
    void Type(int id, const wchar_t* text) { SetDlgItemTextW(m_page, id, text); }
    int ScrollPos() { return GetScrollPos(Ctl(IDC_CTL_HSCROLL_SUI), SB_CTL); }
    void Choose(int id, int entry) {
        SendDlgItemMessageW(m_page, id, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        Notice(m_page, id, CBN_SELCHANGE);
    }
    ZQUIDevmode& Work() { return *m_logic.WorkDM(); }
    int HelpOf(int control) {
        DWORD table[2 * (CZQLargeFormatFeaturesTab::kHelpPairs + 1)] = {};
        m_tab->VGetHelpIds(table, &m_context);
        for (int i = 0; table[i]; i += 2)
            if (static_cast<int>(table[i]) == control) return static_cast<int>(table[i + 1]);
        return -2;
    }

    CZQLargeFormatFeaturesTab* m_tab = nullptr;
    int m_bitmap = 0;
    int m_paper = 0;
    short m_docPaper = DMPAPER_LETTER;
    CZQCommon::PFN_RetryWait m_previousWait = nullptr;
};

}  // namespace

// Both templates carry every control (the twin mirrored); the texts come from the status module;
// a lock of the configuration manager gives its topic.
TEST_F(LargeFeatures, TextsTemplatesAndHelpWithLocks) {
    for (WORD wTemplate : {IDD_DLG_FEATURESPAGELQJ, IDD_DLG_FEATURESPAGELQJ_RTL}) {
        HRSRC found = FindResourceW(Resources(), MAKEINTRESOURCEW(wTemplate), MAKEINTRESOURCEW(5));
        ASSERT_NE(nullptr, found) << wTemplate;
    }
    Prepare(0, "Roll1_Roll2", IDD_DLG_FEATURESPAGELQJ_RTL);
    EXPECT_NE(0, GetWindowLongPtrW(m_page, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    for (int id : {IDC_RB_ACTUAL_SIZE_SUI, IDC_CBO_DEST_PAPER_SIZE_SUI, IDC_CTL_HSCROLL_SUI, IDC_CBO_PAGE_ORDER_SUI,
                   IDC_CHK_AUTOROTATE_SUI, IDC_TXT_ACCOUNTID_SUI, IDC_BTN_PREVIEW_PORT, IDC_ZQLOGO_HOLDER})
        EXPECT_NE(nullptr, Ctl(id)) << id;
    WCHAR title[64] = {};
    GetWindowTextW(m_page, title, 64);
    EXPECT_STREQ(L"Features", title);
    EXPECT_EQ(L"Remove Margins Between Pages", Text(IDC_CHK_REMOVE_MARGINS_SUI));
    EXPECT_EQ(L"&Account ID:", Text(IDC_STA_ACCOUNTID_SUI));
    EXPECT_EQ(L"Paper saving Options", Text(IDC_GB_PAPERSAVINGOPT_SUI));
    EXPECT_EQ(6, SendDlgItemMessageW(m_page, IDC_CBO_PAGES_PER_SHEET_SUI, CB_GETCOUNT, 0, 0));

    EXPECT_EQ(14051, HelpOf(IDC_CBO_PAGES_PER_SHEET_SUI));
    EXPECT_EQ(15507, HelpOf(IDC_CHK_ROTATE90_SUI));
    for (const wchar_t* lock : {L"NUpChoice", L"FitToOtherSizeChoice", L"NUpBordersChoice"})
        m_printer.PutString(L"DMCLockData\\Printing", lock, L"Lock");
    for (int id : {IDC_CBO_PAGES_PER_SHEET_SUI, IDC_RB_PRINT_DOC_ON_SUI, IDC_CHK_PAGE_BORDER_SUI})
        EXPECT_EQ(15147, HelpOf(id)) << id;
    EXPECT_EQ(14065, HelpOf(IDC_CBO_PAGE_ORDER_SUI)) << "the page order is not locked";
}

// A large-format printer takes four digits up to 1000; what is not a number is 100; the scroll bar
// follows the box and moves by one and by its page of ten; a box left below the least takes it.
TEST_F(LargeFeatures, PercentageBoxAndScrollBar) {
    Prepare();
    Click(m_page, IDC_RB_SCALING_SUI);
    ASSERT_TRUE(Enabled(IDC_TXT_NORMAL_SIZE_SUI));
    EXPECT_EQ(4, SendDlgItemMessageW(m_page, IDC_TXT_NORMAL_SIZE_SUI, EM_GETLIMITTEXT, 0, 0));
    const struct {
        const wchar_t* typed;
        const wchar_t* shown;
        int scale;
    } rows[] = {{L"1000", L"1000", 1000}, {L"1001", L"1000", 1000}, {L"12a", L"100", 100}, {L"150", L"150", 150}};
    for (const auto& row : rows) {
        Type(IDC_TXT_NORMAL_SIZE_SUI, row.typed);
        EXPECT_EQ(row.shown, Text(IDC_TXT_NORMAL_SIZE_SUI)) << row.typed;
        EXPECT_EQ(static_cast<uint32_t>(row.scale), Work().dwScalePercent) << row.typed;
        EXPECT_EQ(row.scale, ScrollPos()) << row.typed;
    }
    SendMessageW(m_page, WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(Ctl(IDC_CTL_HSCROLL_SUI)));
    EXPECT_EQ(L"160", Text(IDC_TXT_NORMAL_SIZE_SUI));
    SendMessageW(m_page, WM_HSCROLL, SB_LINELEFT, reinterpret_cast<LPARAM>(Ctl(IDC_CTL_HSCROLL_SUI)));
    EXPECT_EQ(159u, Work().dwScalePercent);
    SendMessageW(m_page, WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(Ctl(IDC_CTL_HSCROLL_SUI)));
    EXPECT_EQ(L"1000", Text(IDC_TXT_NORMAL_SIZE_SUI)) << "the range's last page stops at the largest";
    Type(IDC_TXT_NORMAL_SIZE_SUI, L"10");
    Notice(m_page, IDC_TXT_NORMAL_SIZE_SUI, EN_KILLFOCUS);
    EXPECT_EQ(L"25", Text(IDC_TXT_NORMAL_SIZE_SUI));
    Type(IDC_TXT_NORMAL_SIZE_SUI, L"");
    Notice(m_page, IDC_TXT_NORMAL_SIZE_SUI, EN_KILLFOCUS);
    EXPECT_EQ(L"100", Text(IDC_TXT_NORMAL_SIZE_SUI));
}

// Letters and digits are taken; a blank or a hyphen is refused and the last valid text stays; the
// text reaches the settings when the page is left.
TEST_F(LargeFeatures, AccountingIdAcceptedAndRefused) {
    Prepare();
    EXPECT_EQ(31, SendDlgItemMessageW(m_page, IDC_TXT_ACCOUNTID_SUI, EM_GETLIMITTEXT, 0, 0));
    Type(IDC_TXT_ACCOUNTID_SUI, L"Dept42");
    for (const wchar_t* refused : {L"Dept 42", L"Dept-42"}) {
        Type(IDC_TXT_ACCOUNTID_SUI, refused);
        EXPECT_EQ(L"Dept42", Text(IDC_TXT_ACCOUNTID_SUI)) << refused;
    }
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(std::wstring(L"Dept42"), std::wstring(Work().szAppText));
}

// The percentage on a 2-up layout returns to one page per sheet with the first order; choosing
// four pages returns to actual size; applying them stores the full scale and the document's paper.
TEST_F(LargeFeatures, ResizingRadiosWithPagesPerSheet) {
    Prepare();
    Choose(IDC_CBO_PAGES_PER_SHEET_SUI, 1);
    Choose(IDC_CBO_PAGE_ORDER_SUI, 2);
    EXPECT_EQ(2u, Work().dwPagesPerSheet);
    EXPECT_TRUE(Enabled(IDC_CBO_PAGE_ORDER_SUI));
    Click(m_page, IDC_RB_SCALING_SUI);
    EXPECT_EQ(1u, Work().dwPagesPerSheet);
    EXPECT_EQ(0u, Work().dwPageOrderIndex);
    EXPECT_FALSE(Enabled(IDC_CBO_PAGE_ORDER_SUI));

    Click(m_page, IDC_RB_PRINT_DOC_ON_SUI);
    EXPECT_TRUE(Enabled(IDC_CBO_DEST_PAPER_SIZE_SUI));
    EXPECT_EQ(1u, Work().dwPrintDocOn);
    Choose(IDC_CBO_PAGES_PER_SHEET_SUI, 3);
    EXPECT_TRUE(Checked(IDC_RB_ACTUAL_SIZE_SUI));
    EXPECT_FALSE(Checked(IDC_RB_PRINT_DOC_ON_SUI));
    EXPECT_EQ(0u, Work().dwPrintDocOn);
    Work().dwPrintedOnPaper = DMPAPER_A4;
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(4u, Work().dwPagesPerSheet);
    EXPECT_EQ(100u, Work().dwScalePercent);
    EXPECT_EQ(static_cast<uint32_t>(DMPAPER_LETTER), Work().dwPrintedOnPaper);
    EXPECT_EQ(CZQLargeFormatFeaturesTab::kTitleId, m_core.iStartPage);
}

// A banner paper is printed on itself: the destinations offer no banner or borderless paper; the
// paper it was printed on, missing from them, is kept with nothing selected, and so is the scale
// until the user chooses another size.
TEST_F(LargeFeatures, BannerPaperKeepsWhatItPrintsOn) {
    const WCHAR names[5][64] = {L"Letter", L"A4", L"A1", L"Banner A1", L"A4 Photo"};
    m_printer.SetCapability(DC_PAPERNAMES, names, 5, sizeof names[0]);
    m_paper = 3;
    m_docPaper = DMPAPER_A3;
    m_core.dwPrintedOnPaper = DMPAPER_TABLOID;
    m_core.dwScalePercent = 150;
    m_logic.VLoadResourceModule(m_hPrinter);  // the banner names
    Prepare();
    m_host.Param()->pPrinterName = const_cast<PWSTR>(m_printer.Identity().name.c_str());
    ASSERT_TRUE(m_tab->BGetPaperSizeNames());
    Notify(PSN_SETACTIVE);
    std::vector<std::wstring> offered;
    for (int i = 0; i < SendDlgItemMessageW(m_page, IDC_CBO_DEST_PAPER_SIZE_SUI, CB_GETCOUNT, 0, 0); ++i) {
        WCHAR text[64] = {};
        SendDlgItemMessageW(m_page, IDC_CBO_DEST_PAPER_SIZE_SUI, CB_GETLBTEXT, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(text));
        offered.push_back(text);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"A1", L"A4", L"Letter"}), offered);
    EXPECT_EQ(CB_ERR, SendDlgItemMessageW(m_page, IDC_CBO_DEST_PAPER_SIZE_SUI, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(static_cast<uint32_t>(DMPAPER_TABLOID), Work().dwPrintedOnPaper);
    EXPECT_EQ(150u, Work().dwScalePercent);
}

// The roll boxes and the rotation reach their features and the settings when the page is left.
TEST_F(LargeFeatures, ApplyStoresRollBoxesRotationAndStartPage) {
    Prepare();
    for (int id : {IDC_CHK_DISABLE_AUTO_CUTTER_SUI, IDC_CHK_REMOVE_MARGINS_SUI, IDC_CHK_ROTATE90_SUI}) {
        ASSERT_TRUE(Enabled(id)) << id;
        Click(m_page, id);
    }
    EXPECT_EQ(1, Sel("ZQDisableAutoCutter"));
    EXPECT_EQ(1u, Work().dwRotate90);
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(1, Sel("ZQRemoveMarginsBetweenPages"));
    EXPECT_EQ(1, Sel("ZQTransverse"));
    EXPECT_EQ(0, Sel("ZQSaveRollPaper"));
    EXPECT_EQ(CZQLargeFormatFeaturesTab::kTitleId, m_core.iStartPage);
}

// Without paper saving its group is hidden, and the roll-saving group stays where the template puts it.
TEST_F(LargeFeatures, RollGroupKeepsItsPlaceWithoutPaperSaving) {
    m_core.dwLayoutMode = 2;
    Prepare();
    EXPECT_FALSE(Shown(IDC_GB_PAPERSAVINGOPT_SUI) || Enabled(IDC_CBO_PAGES_PER_SHEET_SUI));
    EXPECT_GT(Rect(IDC_GB_ROLLSAVINGOPT_SUI).top, Rect(IDC_GB_PAPERSAVINGOPT_SUI).bottom);
}

// OK or Apply: the sheet-wide work on the last page visited only, with the settings as they stand
// (a two-sided choice the core driver marks as conflicting stays).
TEST_F(LargeFeatures, ApplyOnTheLastPageVisitedLeavesConflictsAlone) {
    m_host.Add(ListFeature("Duplex", {{"NONE", L"Off"}, {"VERTICAL", L"Long Edge"}}, 1, DMPUB_DUPLEX));
    Prepare();
    m_host.Item("Duplex")->pOptType->pOptParam[1].Flags |= OPTPF_OVERLAY_WARNING_ICON;
    Notify(PSN_SETACTIVE);
    m_gates->calls.clear();
    EXPECT_EQ(PSNRET_NOERROR, Notify(PSN_APPLY));
    EXPECT_EQ((std::vector<std::string>{"sync", "result 101 1", "export Printing/"}), m_gates->calls);
    EXPECT_EQ(1, Sel("Duplex"));
}

// Paper from the sheet source is neither cut nor trimmed, nor turned; a roll source allows all.
class LargeFeaturesSource : public LargeFeatures, public testing::WithParamInterface<bool> {};

TEST_P(LargeFeaturesSource, RollBoxesBySource) {
    const bool sheet = GetParam();
    Prepare(sheet ? 2 : 0);
    Answer(L"Roll1Width", L"24");
    Notify(PSN_SETACTIVE);
    for (int id : {IDC_CHK_DISABLE_AUTO_CUTTER_SUI, IDC_CHK_SAVE_ROLL_PAPER_SUI, IDC_CHK_ROTATE90_SUI,
                   IDC_CHK_AUTOROTATE_SUI})
        EXPECT_EQ(!sheet, Enabled(id)) << id;
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(sheet ? 0 : 1, m_tab->PreviewRecordForTesting().aiExtra[kPxRollPaper]);
}
INSTANTIATE_TEST_SUITE_P(Sources, LargeFeaturesSource, testing::Bool());

// Automatic rotation needs a roll the printer answers for: unknown and unloaded answers make no
// roll; a job sent as a picture outside the full layout never turns.
struct AutorotateCase {
    const char* rolls;
    const wchar_t* roll2;
    int layout;
    int bitmap;
    bool offered;
};
class LargeFeaturesAutorotate : public LargeFeatures, public testing::WithParamInterface<AutorotateCase> {};

TEST_P(LargeFeaturesAutorotate, ByInstalledRolls) {
    const AutorotateCase& c = GetParam();
    m_core.dwLayoutMode = static_cast<uint32_t>(c.layout);
    m_bitmap = c.bitmap;
    Prepare(0, c.rolls);
    Answer(L"Roll1Width", L"Unloaded");
    Answer(L"Roll2Width", c.roll2);
    m_host.SetSelection("ZQAutorotate", 1);
    m_core.dwAutorotate = 1;
    Notify(PSN_SETACTIVE);
    EXPECT_EQ(c.offered, Enabled(IDC_CHK_AUTOROTATE_SUI));
    if (c.bitmap && c.layout != 3) {
        EXPECT_EQ(0, Sel("ZQAutorotate"));
        EXPECT_EQ(0u, m_core.dwAutorotate);
    }
}
INSTANTIATE_TEST_SUITE_P(Rolls, LargeFeaturesAutorotate,
                         testing::Values(AutorotateCase{"Roll1_Roll2", L"42", 3, 0, true},
                                         AutorotateCase{"Roll1_Roll2", L"Unknown", 3, 0, false},
                                         AutorotateCase{"Roll1_Roll2", L"unloaded", 3, 0, false},
                                         AutorotateCase{"Roll1", L"42", 3, 0, false},
                                         AutorotateCase{"Roll1_Roll2", L"42", 3, 1, true},
                                         AutorotateCase{"Roll1_Roll2", L"42", 2, 1, false}));

// Rotation by 90 degrees: a forbidding flag clears it; automatic rotation takes its place.
TEST_F(LargeFeatures, RotationBy90) {
    Prepare();
    Answer(L"Roll1Width", L"24");
    Notify(PSN_SETACTIVE);
    ASSERT_TRUE(Enabled(IDC_CHK_ROTATE90_SUI));
    Click(m_page, IDC_CHK_ROTATE90_SUI);
    EXPECT_EQ(1u, Work().dwRotate90);
    m_core.dwAutorotate = 1;
    Click(m_page, IDC_CHK_AUTOROTATE_SUI);
    EXPECT_EQ(1, Sel("ZQAutorotate"));
    EXPECT_FALSE(Enabled(IDC_CHK_ROTATE90_SUI));
    EXPECT_FALSE(Checked(IDC_CHK_ROTATE90_SUI));
    EXPECT_EQ(0u, Work().dwRotate90);
    m_core.dwAutorotate = 0;
    m_tab->VUpdateRotate90(&m_context);
    EXPECT_TRUE(Enabled(IDC_CHK_ROTATE90_SUI));
    Work().dwFlags |= ZQLargeFeaturesState::kNoRotate90Flag;
    m_tab->VUpdateRotate90(&m_context);
    EXPECT_FALSE(Enabled(IDC_CHK_ROTATE90_SUI));
}

// The sample page's margin kinds as "ZQPrintWithMargins" names them.
TEST_F(LargeFeatures, PreviewMarginKinds) {
    Prepare();
    const struct {
        int option;
        int shown, kind, noInset;
    } rows[] = {{0, 1, 0, 0}, {1, 1, 1, 0}, {2, 1, 2, 1}, {3, 0, 3, 1}};
    for (const auto& row : rows) {
        m_host.SetSelection("ZQPrintWithMargins", row.option);
        m_tab->VFillPreviewSettings(&m_context);
        const PreviewSettings& r = m_tab->PreviewRecordForTesting();
        EXPECT_EQ(row.shown, r.aiExtra[kPxWithMargins]) << row.option;
        EXPECT_EQ(row.kind, r.aiExtra[kPxMarginLayout]) << row.option;
        EXPECT_EQ(row.noInset, r.aiValue[kPvNoInset]) << row.option;
    }
}

// A printer that never answers its paper names leaves none, and the destination list stands on the
// form's own names.
TEST_F(LargeFeatures, PaperNamesThatFailLeaveNone) {
    m_printer.SetCapabilityFailures(DC_PAPERNAMES, 100, 0);
    Prepare();
    EXPECT_EQ(0u, m_tab->PaperNamesForTesting().Count());
    EXPECT_LT(0, SendDlgItemMessageW(m_page, IDC_CBO_DEST_PAPER_SIZE_SUI, CB_GETCOUNT, 0, 0));
    m_printer.SetCapabilityFailures(DC_PAPERNAMES, 0, 0);
    m_printer.SetCapability(DC_PAPERNAMES, kPaperNames, 0, sizeof kPaperNames[0]);
    EXPECT_FALSE(m_tab->BGetPaperSizeNames());
    EXPECT_EQ(0u, m_tab->PaperNamesForTesting().Count());
}

// An alert link runs its command line only when the strip itself hands its row over.
TEST_F(LargeFeatures, AlertLinksRunOnlyFromTheStrip) {
    m_gates->alertsOn = TRUE;
    Prepare();
    ExpectOnlyTheStripRunsItsLinks();
}
