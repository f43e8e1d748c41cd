// The Features page's groups: the destination papers and their ids on both roads, printing on another
// paper and the PostScript document options, the margin options, the layout and two-sided controls,
// photo and disc media, the print-quality group with its resolution figures, and the sample page's
// record.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "featurestest.h"
#include "formats/zquidevmode.h"
#include "testsupport.h"
#include "zqhostapp.h"

using std::make_tuple;
using zqtest::ListFeature;

namespace {

zqtest::FixtureFeature OffOn(const char* keyword, int sel = 0) {
    return ListFeature(keyword, {{"FALSE", L"Off"}, {"TRUE", L"On"}}, sel);
}

class FeaturesGroups : public FeaturesPage {
protected:
    void SetUp() override {
        FeaturesPage::SetUp();
        m_previousWait = CZQCommon::SetCapsRetryWait([](DWORD) {});
    }
    void TearDown() override {
        CZQCommon::SetCapsRetryWait(m_previousWait);
        FeaturesPage::TearDown();
    }
    void Prepare(const std::string& without = "") {
        AddItems(without);
        Build();
        NamePapers();
        ASSERT_NE(nullptr, Open());
    }
    std::vector<std::wstring> Entries(int id) { return ZQListEntries(Ctl(id)); }
    void Pick(int id, PCWSTR text) {
        SendDlgItemMessageW(m_page, id, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        Notice(m_page, id, CBN_SELCHANGE);
    }
    int Index(int id, PCWSTR text) {
        return static_cast<int>(SendDlgItemMessageW(m_page, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(text)));
    }
    CZQCommon::PFN_RetryWait m_previousWait = nullptr;
};

// The printer's papers the form offers (no borderless or banner paper); without the printer's names
// the form's own, every entry then the first paper; a PostScript printer's own scaling papers. A
// name the printer does not list is paper 0, a paper it does not list has no entry. A paper the rules
// mark in conflict stays while the printer names it.
struct DestinationCase {
    const char* name;
    int failures;     // of the paper names' query
    bool postScript;  // the driver's own scaling feature
    std::vector<std::wstring> entries;
    WORD a4;          // the paper id of the "A4" entry
    int formCalls;    // calls of the spooler's form list by a fill of the list (the printer here has no forms)
    bool markedKept;  // "A4" still listed once its form option is marked in conflict
};

class FeaturesDestinations : public FeaturesGroups, public testing::WithParamInterface<DestinationCase> {};

TEST_P(FeaturesDestinations, ListAndPaperIds) {
    const DestinationCase& c = GetParam();
    m_printer.SetCapabilityFailures(DC_PAPERNAMES, c.failures, 0);
    if (c.postScript)
        m_host.Add(ListFeature("ZQPSAutoScaling", {{"NONE", L"None"}, {"A4", L"A4"}, {"LEGAL", L"Legal"},
                                                    {"ZQCustomPaperSize", L"ZQCustomPaperSize"}}));
    Prepare();
    EXPECT_EQ(c.entries, Entries(IDC_CBO_DEST_PAPER_SIZE));
    const int asked = m_printer.CallCount(zqspool::MemCall::EnumForms);
    m_tab->DestPapersForTesting().VFillDestPaperList(&m_context);
    EXPECT_EQ(c.formCalls, m_printer.CallCount(zqspool::MemCall::EnumForms) - asked);
    EXPECT_EQ(c.entries, Entries(IDC_CBO_DEST_PAPER_SIZE));
    EXPECT_EQ(c.a4, m_tab->DestPapersForTesting().WGetDestPaperId(4, Index(IDC_CBO_DEST_PAPER_SIZE, L"A4"), m_caps.pPaperIds));
    SendDlgItemMessageW(m_page, IDC_CBO_DEST_PAPER_SIZE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Tabloid"));
    if (!c.failures) {
        EXPECT_EQ(0, m_tab->DestPapersForTesting().WGetDestPaperId(4, Index(IDC_CBO_DEST_PAPER_SIZE, L"Tabloid"), m_caps.pPaperIds));
        EXPECT_EQ(Index(IDC_CBO_DEST_PAPER_SIZE, L"A4"), m_tab->DestPapersForTesting().IFindDestPaperIndex(4, m_caps.pPaperIds, DMPAPER_A4));
    }
    EXPECT_EQ(-1, m_tab->DestPapersForTesting().IFindDestPaperIndex(4, m_caps.pPaperIds, 999));
    m_host.ItemByPubId(DMPUB_FORMNAME)->pOptType->pOptParam[1].Flags = OPTPF_OVERLAY_WARNING_ICON;
    m_tab->DestPapersForTesting().VFillDestPaperList(&m_context);
    EXPECT_EQ(c.markedKept, Index(IDC_CBO_DEST_PAPER_SIZE, L"A4") >= 0);
    m_printer.SetCapabilityFailures(DC_PAPERNAMES, 0, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Roads, FeaturesDestinations,
    testing::Values(DestinationCase{"names", 0, false, {L"A4", L"Letter"}, DMPAPER_A4, 1, true},
                    DestinationCase{"never", 100, false,
                                    {L"A4", L"Banner A1", L"Custom", L"Letter", L"Photo (borderless)", L"Postcard"}, 1, 0, false},
                    DestinationCase{"postscript", 0, true, {L"A4", L"Legal"}, DMPAPER_A4, 0, true}),
    [](const testing::TestParamInfo<DestinationCase>& info) { return std::string(info.param.name); });

// Printing on another paper ends posters, fits the document to the paper chosen and reaches the
// settings (with the watermark list's entry), the PostScript document options and the sample page when the page is left.
TEST_F(FeaturesGroups, PrintingOnAnotherPaperReachesTheSettings) {
    m_host.Add(ListFeature("ZQPSDocumentOptions", {{"ACTUAL", L"Actual"}, {"ON", L"On"}, {"SCALE", L"Scale"}}));
    m_host.Add(OffOn("ZQPosterPrinting", 1));
    m_public.dmPaperSize = DMPAPER_LETTER;
    m_core.dwScaleToFit = 1;
    Prepare();
    Work().dwWmListIndex = 3;
    Click(m_page, IDC_RB_PRINT_DOC_ON);
    Pick(IDC_CBO_DEST_PAPER_SIZE, L"A4");
    EXPECT_EQ(make_tuple(1u, static_cast<uint32_t>(DMPAPER_A4), 97u),
              make_tuple(Work().dwPrintDocOn, Work().dwPrintedOnPaper, Work().dwScalePercent));
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(make_tuple(1, 0, -999, static_cast<uint32_t>(DMPAPER_A4), 0u),
              make_tuple(Sel("ZQPSDocumentOptions"), Sel("ZQPosterPrinting"), m_core.iStartPage, Work().dwPrintedOnPaper,
                         Work().dwWmListIndex))
        << "no watermark list: its first entry";
    Work().dwRotate180 = 1;  // the settings' half turn, shown without the printer's feature
    m_tab->VFillPreviewSettings(&m_context);
    const PreviewSettings& r = m_tab->PreviewRecordForTesting();
    EXPECT_EQ(make_tuple(2100, 2970, 2159, 1), make_tuple(r.aiValue[kPvSheetWidth], r.aiValue[kPvSheetHeight],
                                                          r.aiValue[kPvDocWidth], r.aiValue[kPvRotated]))
        << "the document shown on the destination's paper";

    // The document options by resizing mode: a percentage of 100 is the actual size.
    const struct {
        int mode;
        uint32_t scale;
        int option;
    } modes[] = {{0, 100, 0}, {1, 100, 1}, {2, 70, 2}, {2, 100, 0}};
    for (const auto& m : modes) {
        m_tab->StateForTesting().iResizeMode = m.mode;
        Work().dwScalePercent = m.scale;
        m_tab->VApplyPSDocumentOptions(&m_context);
        EXPECT_EQ(m.option, Sel("ZQPSDocumentOptions")) << m.mode << " " << m.scale;
    }
}

// A borderless document paper the destination list lacks shows the Paper/Quality page's paper, else
// "LETTER"; its document is not fitted to another paper.
TEST_F(FeaturesGroups, BorderlessPaperFallsBackToLetter) {
    m_public.dmPaperSize = 258;
    m_core.dwScaleToFit = 1;
    Prepare();
    m_host.SetSelection("PaperSize", 2);
    m_host.SetSelection("ZQBorderLessPhoto", 1);
    m_tab->VSetResizeGroup(&m_context);
    WCHAR shown[64] = {};
    GetDlgItemTextW(m_page, IDC_CBO_DEST_PAPER_SIZE, shown, 64);
    EXPECT_EQ(make_tuple(std::wstring(L"Letter"), 0u, 0u), make_tuple(std::wstring(shown), Work().dwPrintDocOn, Work().dwScaleToFit));
}

// The margin boxes the template lacks leave the features to the rules: a banner paper resets the
// three, two-sided printing reports symmetric margins unless the layout is preserved, and a
// borderless photo prints at actual size, fitted, without margin options or centring.
TEST_F(FeaturesGroups, MarginRulesAndTheBorderlessPhoto) {
    for (const char* feature : {"ZQEmulatePexlonMargins", "ZQSymmetricMargins", "ZQReportSymmetricMargins"})
        m_host.Add(OffOn(feature));
    Prepare();
    m_host.SetSelection("PaperSize", 3);  // banner
    for (const char* feature : {"ZQEmulatePexlonMargins", "ZQSymmetricMargins", "ZQMinimizeMargins"}) m_host.SetSelection(feature, 1);
    m_logic.VSetMarginChoice(0, 1);
    m_logic.VSetMarginChoice(1, 1);
    m_tab->VSetMarginGroup(&m_context);
    EXPECT_EQ(make_tuple(0, 0, 0, 0u, 0u),
              make_tuple(Sel("ZQEmulatePexlonMargins"), Sel("ZQSymmetricMargins"), Sel("ZQMinimizeMargins"),
                         m_logic.DWMarginChoice(0), m_logic.DWMarginChoice(1)));

    m_host.SetSelection("PaperSize", 0);
    m_host.SetSelection("ZQSymmetricMargins", 1);
    m_tab->IApplyMarginGroup(&m_context);
    EXPECT_EQ(1, Sel("ZQReportSymmetricMargins")) << "symmetric margins";
    m_host.SetSelection("ZQSymmetricMargins", 0);
    m_tab->IApplyMarginGroup(&m_context);
    EXPECT_EQ(0, Sel("ZQReportSymmetricMargins"));

    m_host.SetSelection("ZQBorderLessPhoto", 1);
    m_host.SetSelection("ZQCenterOnPage", 1);
    Work().dwPrintDocOn = 1;
    Work().dwScalePercent = 80;
    Work().dwScaleToFit = 0;
    m_tab->VApplyBorderlessPhoto(&m_context);
    EXPECT_EQ(make_tuple(0u, 100u, 1u, 0, 0, true, false),
              make_tuple(Work().dwPrintDocOn, Work().dwScalePercent, Work().dwScaleToFit, Sel("ZQCenterOnPage"),
                         m_tab->StateForTesting().iResizeMode, Checked(IDC_RB_ACTUAL_SIZE), Enabled(IDC_CBO_DEST_PAPER_SIZE)));
}

// A booklet disables page order and borders and turns landscape sheets over on their short edge; one
// page per sheet has no order; a configuration-manager lock keeps two-sided printing as it is.
TEST_F(FeaturesGroups, LayoutRulesOfBookletsPagesAndLocks) {
    Prepare();
    Fill(IDC_CBO_PAGES_PER_SHEET, {L"1", L"2", L"4", L"6", L"9", L"16"}, 1);
    Fill(IDC_CBO_BOOKLET_PRINTING, {L"Off", L"Left", L"Right"}, 0);
    Fill(IDC_CBO_PAGE_ORDER, {L"a", L"b", L"c", L"d"}, 2);
    const struct {
        DWORD booklet;
        int pages;  // entry of the pages-per-sheet list
        WORD orientation;
        bool orderEnabled, flip;
    } cases[] = {{1, 1, 2, false, true}, {1, 1, 1, false, false}, {0, 0, 2, false, false}, {0, 2, 2, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.booklet << c.pages << c.orientation);
        m_logic.VSetBooklet(c.booklet);
        Work().wOrientation = c.orientation;
        Work().wDuplex = 2;
        Work().dwFlipPagesUp = 0;
        SendMessageW(Ctl(IDC_CBO_PAGES_PER_SHEET), CB_SETCURSEL, static_cast<WPARAM>(c.pages), 0);
        m_tab->VUpdateBookletState(&m_context);
        EXPECT_EQ(make_tuple(c.orderEnabled, c.flip, c.flip ? 1u : 0u),
                  make_tuple(Enabled(IDC_CBO_PAGE_ORDER), Checked(IDC_CHK_FLIP_PAGES_UP), Work().dwFlipPagesUp));
        if (!c.orderEnabled) {
            EXPECT_EQ(0, static_cast<int>(SendMessageW(Ctl(IDC_CBO_PAGE_ORDER), CB_GETCURSEL, 0, 0)));
        }
    }

    m_printer.PutString(L"DMCLockData\\Printing", L"Duplex", L"Lock");
    EnableWindow(Ctl(IDC_CBO_TWO_SIDED_PRINTING), TRUE);
    m_tab->VApplyDuplexLock(&m_context);
    EXPECT_EQ(make_tuple(TRUE, false, false), make_tuple(m_tab->StateForTesting().bDuplexLocked,
                                                         Enabled(IDC_CBO_TWO_SIDED_PRINTING), Enabled(IDC_CHK_FLIP_PAGES_UP)));

}

// "Automatic" prints with the unit: on leaving, the binding reaches the core driver's two-sided item
// (at once, with a report, where printing by hand is not offered) and the devmode; "Off" prints one
// side without the unit. The label of the pages per sheet keeps its separator once.
class FeaturesTwoSided : public FeaturesGroups, public testing::WithParamInterface<bool> {};

TEST_P(FeaturesTwoSided, ChoiceReachesTheCoreDriver) {
    const bool byHand = GetParam();
    // Without the manual road ("Duplex" goes with it from the list, and comes back).
    if (!byHand)
        m_host.Add(ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long Edge"}, {"HORIZONTAL", L"Short Edge"}}, 0,
                               DMPUB_DUPLEX));
    Prepare(byHand ? "" : "ManualDuplex");
    EXPECT_EQ(L"Pages per Sheet:", Text(IDC_STA_PAGES_PER_SHEET));
    ASSERT_EQ((std::vector<std::wstring>{L"Off", L"Automatic"}), Entries(IDC_CBO_TWO_SIDED_PRINTING));
    Clear();
    Pick(IDC_CBO_TWO_SIDED_PRINTING, L"Automatic");
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(make_tuple(2, 0u, 1, 1), make_tuple(static_cast<int>(Work().wDuplex), Work().dwManualDuplex,
                                                  Sel("ZQUseAutoDuplexUnit"), Sel("Duplex")));
    bool reported = false;
    for (const auto& update : m_host.Updates()) reported = reported || (update.pubId == DMPUB_DUPLEX && update.sel == 1);
    EXPECT_TRUE(reported);
    Pick(IDC_CBO_TWO_SIDED_PRINTING, L"Off");
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(make_tuple(1, 0, 0), make_tuple(static_cast<int>(Work().wDuplex), Sel("Duplex"), Sel("ZQUseAutoDuplexUnit")));
}

INSTANTIATE_TEST_SUITE_P(ByHandOrNot, FeaturesTwoSided, testing::Bool());

// Outside the simplified interface the last entries of the pages-per-sheet list are the posters, the
// first of them poster option 1, and the label names them; under it no entry is a poster.
TEST_F(FeaturesGroups, PosterEntriesOfThePagesPerSheetList) {
    m_host.Add(OffOn("ZQPosterPrinting"));
    m_host.Add(ListFeature("ZQPosterPrintingOption", {{"2x2", L"2 x 2"}, {"3x3", L"3 x 3"}, {"4x4", L"4 x 4"}}));
    Prepare("ZQSimplifiedUI");
    Fill(IDC_CBO_PAGES_PER_SHEET, {L"1", L"2", L"4", L"6", L"9", L"16", L"P2", L"P3", L"P4"}, 5);
    HWND list = Ctl(IDC_CBO_PAGES_PER_SHEET);
    EXPECT_FALSE(m_tab->BCheckPosterSelection(&m_logic, list));
    SendMessageW(list, CB_SETCURSEL, 6, 0);
    EXPECT_TRUE(m_tab->BCheckPosterSelection(&m_logic, list));
    EXPECT_EQ(make_tuple(TRUE, 1), make_tuple(m_tab->StateForTesting().bPosterSelected, m_tab->StateForTesting().iPosterOption));
    m_tab->VSetPagesPerSheetLabel(&m_context);
    EXPECT_EQ(L"Pages per Sheet and Posters", Text(IDC_STA_PAGES_PER_SHEET).substr(1));
}

// Photo media print one page a sheet; a disc prints one-sided, mirrored, at its own size.
class FeaturesDiscs : public FeaturesGroups, public testing::WithParamInterface<bool> {};

TEST_P(FeaturesDiscs, MediaCoupling) {
    const bool disc = GetParam();
    m_host.Add(ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}, {disc ? "ZQ_CD_DVD" : "ZQ_CD_LABEL", L"Disc"}}, 1,
                           DMPUB_MEDIATYPE));
    Prepare("MediaType");
    Work().dwPagesPerSheet = 4;
    Work().wDuplex = 2;
    Work().dwPrintDocOn = 1;
    m_tab->VApplyCdMedia(m_page, &m_context);
    EXPECT_EQ(make_tuple(1u, false, disc ? 0 : 1, disc ? 0u : 1u, disc ? 1 : 2, disc ? 0u : 1u, !disc),
              make_tuple(Work().dwPagesPerSheet, Enabled(IDC_CBO_PAGES_PER_SHEET), Sel("ZQPhotoFix"), Work().dwMirror,
                         static_cast<int>(Work().wDuplex), Work().dwPrintDocOn, Enabled(IDC_RB_PRINT_DOC_ON)));
}

INSTANTIATE_TEST_SUITE_P(Media, FeaturesDiscs, testing::Bool());

// The quality group's controls by the printer's features; the resolution read-out and its message
// only with "PQDPI"; the sample page shows no Thriftmode state without the feature.
TEST_F(FeaturesGroups, QualityGroupResolutionAndThriftmode) {
    m_host.Add(OffOn("PrintFinish"));
    m_host.Add(OffOn("ZQMaximumDetail"));
    Prepare();
    ZQQualityGroupVisibility visible = {};
    m_tab->QualityGroupForTesting().VGetQualityGroupVisibility(&m_context, &visible);
    EXPECT_EQ(make_tuple(1u, 0u, 0u, 1u, 1u, 0u), make_tuple(visible.dwGloss, visible.dwThriftmode, visible.dwQuietPrinting,
                                                           visible.dwPhotoFeatures, visible.dwMaximumDetail,
                                                           visible.dwOptimizeFor));
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(1, m_tab->PreviewRecordForTesting().iThriftmode);

    BoxAnswers boxes;
    EXPECT_FALSE(m_tab->QualityGroupForTesting().BSetResolutionTexts(&m_context));
    Click(m_page, IDC_BTN_RESOLUTION);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(FeaturesGroups, ResolutionFiguresWithTheirFeature) {
    m_host.Add(ListFeature("PQDPI", {{"600", L"600"}}));
    m_host.Add(OffOn("Thriftmode"));
    Prepare();
    BoxAnswers boxes;
    EXPECT_TRUE(m_tab->QualityGroupForTesting().BSetResolutionTexts(&m_context));
    EXPECT_EQ(L"Black render dpi", Text(IDC_STA_RENDER_DPI));
    Click(m_page, IDC_BTN_RESOLUTION);
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(0u, boxes.texts[0].find(L"Black render dpi:\t\t"));
    EXPECT_EQ(L"Resolution", boxes.captions[0]);
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(2, m_tab->PreviewRecordForTesting().iThriftmode) << "the feature, not checked";
}

}  // namespace
