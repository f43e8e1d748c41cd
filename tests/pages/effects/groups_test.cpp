// The Effects page's groups: the watermark list and the watermark chosen, the margin boxes with the
// features they decide, "Center On Page", and the resizing options with their destination papers
// and scale box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effectstest.h"
#include "formats/zquidevmode.h"

using zqtest::ListFeature;

namespace {

const WCHAR kPaperNames[4][64] = {L"Letter", L"A4", L"Legal", L"Envelope #10"};

zqtest::FixtureFeature OffOn(const char* keyword, int sel = 0) {
    return ListFeature(keyword, {{"FALSE", L"Off"}, {"TRUE", L"On"}}, sel);
}

class EffectsGroups : public EffectsPage {
protected:
    void SetUp() override {
        EffectsPage::SetUp();
        m_printer.SetCapability(DC_PAPERNAMES, kPaperNames, 4, sizeof kPaperNames[0]);
    }
    // The page's printer by its name, as the paper names are asked for.
    void Build() {
        EffectsPage::Build();
        m_host.Param()->pPrinterName = const_cast<PWSTR>(m_printer.Identity().name.c_str());
    }
    void AddWatermark(PCWSTR name, DWORD flags = kWatermarkEditable) {
        WatermarkEntry* e = CZQWatermarks::PNewEntry(m_tab->WatermarksForTesting().MainList());
        lstrcpyW(e->szName, name);
        lstrcpyW(e->szText, name);
        e->dwFlags = flags;
    }
    std::vector<std::wstring> Entries(int id) {
        std::vector<std::wstring> out;
        const int n = static_cast<int>(SendDlgItemMessageW(m_page, id, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            WCHAR text[256] = {};
            SendDlgItemMessageW(m_page, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            out.push_back(text);
        }
        return out;
    }
    void Choose(int id, PCWSTR text) {
        SendDlgItemMessageW(m_page, id, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        Notice(m_page, id, CBN_SELCHANGE);
    }
    void Type(PCWSTR text) {
        SetDlgItemTextW(m_page, IDC_TXT_NORMAL_SIZE, text);
        Notice(m_page, IDC_TXT_NORMAL_SIZE, EN_CHANGE);
    }
    std::wstring WorkName() { return reinterpret_cast<const wchar_t*>(Work().szWmName); }
};

// The list shows each pool name once (duplicates, empty and hidden names left out, " [none]" always
// there); a watermark chosen reaches the settings and ends posters and centring, " [none]" turns the
// watermark and "First Page Only" off; after a cancelled dialog the paint takes the listed one back.
TEST_F(EffectsGroups, WatermarkListAndChoice) {
    AddItems();
    m_host.Add(OffOn("ZQPosterPrinting", 1));
    m_host.Add(OffOn("ZQCenterOnPage", 1));
    Build();
    for (PCWSTR name : {L"Draft", L"Draft", L"", L"Confidential"}) AddWatermark(name);
    AddWatermark(L"Secret", kWatermarkHidden);
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ((std::vector<std::wstring>{L" [none]", L"Confidential", L"Draft"}), Entries(IDC_CBO_WATERMARKS));
    EXPECT_EQ(L" [none]", Text(IDC_CBO_WATERMARKS)) << "the settings name no watermark of the pool";
    EXPECT_FALSE(Enabled(IDC_CHK_FIRST_PAGE_WM));

    Choose(IDC_CBO_WATERMARKS, L"Draft");
    EXPECT_EQ(L"Draft", WorkName());
    EXPECT_EQ(1u, Work().dwWmOn);
    EXPECT_EQ(2u, Work().dwWmListIndex);
    EXPECT_TRUE(Enabled(IDC_CHK_FIRST_PAGE_WM));
    EXPECT_EQ("FALSE", Current("ZQPosterPrinting")) << "a watermark ends the poster";
    EXPECT_EQ("FALSE", Current("ZQCenterOnPage"));
    EXPECT_FALSE(Checked(IDC_CHECK_CENTER_ON_PAGE));

    Click(m_page, IDC_CHK_FIRST_PAGE_WM);
    Notice(m_page, IDC_CHK_FIRST_PAGE_WM, BN_CLICKED);
    EXPECT_EQ(1u, Work().dwWmFirstPageOnly);
    Choose(IDC_CBO_WATERMARKS, L" [none]");
    EXPECT_EQ((std::vector<uint32_t>{0, 0}), (std::vector<uint32_t>{Work().dwWmOn, Work().dwWmFirstPageOnly}));
    EXPECT_FALSE(Checked(IDC_CHK_FIRST_PAGE_WM));
    EXPECT_FALSE(Enabled(IDC_CHK_FIRST_PAGE_WM));

    // The dialog left other settings behind and was cancelled: the paint shows the listed one again.
    Choose(IDC_CBO_WATERMARKS, L"Confidential");
    lstrcpyW(reinterpret_cast<wchar_t*>(Work().szWmName), L"Edited");
    m_tab->StateForTesting().bWatermarkReload = TRUE;
    SendMessageW(m_page, WM_PAINT, 0, 0);
    EXPECT_EQ(L"Confidential", WorkName());
    EXPECT_FALSE(m_tab->StateForTesting().bWatermarkReload) << "once";
}

// Diagonal watermarks follow the diagonal of the paper printed on, by its orientation: Letter 52
// degrees upright, 37 across; an unlisted paper 52; printed on A4, A4's.
TEST_F(EffectsGroups, DiagonalAngleByOrientationAndPaperPrintedOn) {
    AddItems();
    Build();
    ASSERT_NE(nullptr, Open());
    const struct {
        short paper;
        WORD orientation;
        bool printOnA4;
        int angle;
    } cases[] = {
        {DMPAPER_LETTER, 1, false, 52}, {DMPAPER_LETTER, 2, false, 37}, {DMPAPER_A3, 1, false, 52},
        {DMPAPER_LETTER, 1, true, 54},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.paper << " " << c.orientation << " " << c.printOnA4);
        m_public.dmPaperSize = c.paper;
        Work().wOrientation = c.orientation;
        m_tab->StateForTesting().dwResizeMode = c.printOnA4 ? 1 : 0;
        SendDlgItemMessageW(m_page, IDC_CBO_DEST_PAPER_SIZE, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(L"A4"));
        m_tab->VUpdateDiagonalAngle(&m_context);
        EXPECT_EQ(c.angle, m_tab->WatermarksForTesting().IDiagonalAngle());
    }
}

// "Edit..." stays on a local printer and in the shell's process; another computer's printer hides
// it from any other program, while the list stays.
TEST_F(EffectsGroups, EditButtonByPrinterAndProcess) {
    AddItems();
    Build();
    for (const bool network : {false, true}) {
        SCOPED_TRACE(network);
        m_printer.Identity().server = network ? L"\\\\print-server" : L"";
        Open();
        EXPECT_EQ(!network, Shown(IDC_BTN_EDIT_WM));
        EXPECT_EQ(!network, m_tab->StateForTesting().bEditAllowed != FALSE);
        EXPECT_TRUE(Shown(IDC_CBO_WATERMARKS));
        EXPECT_TRUE(Enabled(IDC_CBO_WATERMARKS));
        DestroyWindow(m_page);
        m_page = nullptr;
    }
}

// The margin boxes exclude each other and decide the two hidden features with two-sided printing;
// automatic two-sided printing leaves only emulated margins free; "Minimize Margin" against
// two-sided printing marked as conflicting turns two-sided printing off.
TEST_F(EffectsGroups, MarginBoxesAndTheFeaturesTheyDecide) {
    AddItems();
    for (const char* f : {"ZQEmulatePexlonMargins", "ZQSymmetricMargins", "ZQMinimizeMargins", "ZQAutoDuplexScaling",
                          "ZQReportSymmetricMargins"})
        m_host.Add(OffOn(f));
    Build();
    ASSERT_NE(nullptr, Open());
    const struct {
        const char* what;
        WORD duplex;
        int box;
        std::vector<bool> enabled;  // emulate, symmetric, minimize after the click
        const char* scaling;
        const char* report;
    } cases[] = {
        {"one-sided, emulate", 1, IDC_CHECK_EMULATE_MARGINS, {true, false, false}, "FALSE", "FALSE"},
        {"one-sided, symmetric", 1, IDC_CHECK_SYMMETRICAL_MARGINS, {false, true, false}, "FALSE", "TRUE"},
        {"two-sided, emulate", 2, IDC_CHECK_EMULATE_MARGINS, {true, false, false}, "TRUE", "FALSE"},
    };
    const int boxes[] = {IDC_CHECK_EMULATE_MARGINS, IDC_CHECK_SYMMETRICAL_MARGINS, IDC_CHECK_MINIMIZE_MARGINS};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* f : {"ZQEmulatePexlonMargins", "ZQSymmetricMargins", "ZQMinimizeMargins", "ZQAutoDuplexScaling"})
            m_host.SetSelection(f, 0);
        Work().wDuplex = c.duplex;
        m_tab->VRefreshMarginControls(&m_context);
        // Nothing chosen: automatic two-sided printing takes symmetric and minimised margins away.
        EXPECT_EQ((std::vector<bool>{true, c.duplex == 1, c.duplex == 1}),
                  (std::vector<bool>{Enabled(boxes[0]), Enabled(boxes[1]), Enabled(boxes[2])}));
        EnableWindow(Ctl(c.box), TRUE);
        Click(m_page, c.box);
        Notice(m_page, c.box, BN_CLICKED);
        EXPECT_EQ(c.enabled, (std::vector<bool>{Enabled(boxes[0]), Enabled(boxes[1]), Enabled(boxes[2])}));
        EXPECT_EQ(c.scaling, Current("ZQAutoDuplexScaling"));
        EXPECT_EQ(c.report, Current("ZQReportSymmetricMargins"));
    }

    // Both marked: minimised margins win over two-sided printing.
    m_host.SetSelection("ZQMinimizeMargins", 0);
    m_host.SetSelection("Duplex", 1);
    m_host.Item("Duplex")->pOptType->pOptParam[1].Flags |= OPTPF_OVERLAY_WARNING_ICON;
    m_host.Item("ZQMinimizeMargins")->pOptType->pOptParam[1].Flags |= OPTPF_OVERLAY_WARNING_ICON;
    Work().wDuplex = 2;
    m_tab->VCheckMinimizeMarginsDuplex(&m_context);
    EXPECT_EQ(DMDUP_SIMPLEX, Work().wDuplex);
    EXPECT_EQ("NONE", Current("Duplex"));
}

// "Center On Page" prints one page alone at its size: two-sided printing, booklets, several pages
// to a sheet, posters, print-on and the watermark end.
TEST_F(EffectsGroups, CenterOnPageEndsTheLayoutsAroundIt) {
    AddItems();
    m_host.Add(OffOn("ZQCenterOnPage"));
    m_host.Add(OffOn("ZQPosterPrinting", 1));
    Build();
    AddWatermark(L"Draft");
    ASSERT_NE(nullptr, Open());
    Choose(IDC_CBO_WATERMARKS, L"Draft");
    Work().wDuplex = 2;
    Work().dwBooklet = 1;
    Work().dwPagesPerSheet = 4;
    Work().dwPrintDocOn = 1;
    m_host.SetSelection("ZQPosterPrinting", 1);
    ASSERT_TRUE(Shown(IDC_CHECK_CENTER_ON_PAGE));
    Click(m_page, IDC_CHECK_CENTER_ON_PAGE);
    Notice(m_page, IDC_CHECK_CENTER_ON_PAGE, BN_CLICKED);
    EXPECT_EQ("TRUE", Current("ZQCenterOnPage"));
    EXPECT_EQ("FALSE", Current("ZQPosterPrinting"));
    const ZQUIDevmode& w = Work();
    EXPECT_EQ((std::vector<uint32_t>{1, 0, 1, 0, 0, 100}),
              (std::vector<uint32_t>{w.wDuplex, w.dwBooklet, w.dwPagesPerSheet, w.dwPrintDocOn, w.dwWmOn,
                                     w.dwScalePercent}));
    EXPECT_EQ(L" [none]", WorkName());
    EXPECT_TRUE(Checked(IDC_RB_ACTUAL_SIZE));
    EXPECT_FALSE(Enabled(IDC_CHK_FIRST_PAGE_WM));
}

// Letter printed on A4 and fitted: the smaller side ratio, 97 %, shows and scales the document; four
// pages to a sheet become one, their order on the sheet the first while the pages still print back
// to front; an entry that names no paper prints on the document's own.
TEST_F(EffectsGroups, PrintedOnAnotherPaperFitted) {
    AddItems();
    Build();
    m_public.dmPaperSize = DMPAPER_LETTER;
    Work().dwPagesPerSheet = 4;
    Work().dwPageOrderIndex = 2;
    Work().dwPageOrder = 1;
    Work().dwScaleToFit = 1;
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ((std::vector<std::wstring>{L"A4", L"Letter"}), Entries(IDC_CBO_DEST_PAPER_SIZE))
        << "the printer's papers the form offers";
    Click(m_page, IDC_RB_PRINT_DOC_ON);
    Notice(m_page, IDC_RB_PRINT_DOC_ON, BN_CLICKED);
    EXPECT_EQ((std::vector<uint32_t>{1, 0, 1}),
              (std::vector<uint32_t>{Work().dwPagesPerSheet, Work().dwPageOrderIndex, Work().dwPageOrder}));
    EXPECT_EQ(1u, Work().dwPrintDocOn);
    EXPECT_TRUE(Enabled(IDC_CBO_DEST_PAPER_SIZE));
    Choose(IDC_CBO_DEST_PAPER_SIZE, L"A4");
    EXPECT_EQ(static_cast<uint32_t>(DMPAPER_A4), Work().dwPrintedOnPaper);
    EXPECT_TRUE(Checked(IDC_CHK_FIT_TO_SCALE));
    EXPECT_EQ(L"97", Text(IDC_TXT_NORMAL_SIZE));
    EXPECT_EQ(97, m_tab->IComputeFitScale(&m_context));
    Notify(PSN_KILLACTIVE);
    EXPECT_NEAR(2100.0 / 2159.0, Work().fScaleFactor, 1e-5);
    EXPECT_EQ(812, m_core.iStartPage) << "leaving stores the page to open on";
    EXPECT_EQ(DMPAPER_LETTER, m_tab->IPaperIdFromComboIndex(4, -1, m_caps.pPaperIds, &m_context));
}

// The scale box takes digits only, up to the page's largest scale; empty or below the least when
// left, it shows 100 or the least.
TEST_F(EffectsGroups, ScaleBoxKeepsToItsLimits) {
    AddItems();
    Build();
    ASSERT_NE(nullptr, Open());
    Click(m_page, IDC_RB_SCALING);
    Notice(m_page, IDC_RB_SCALING, BN_CLICKED);
    ASSERT_TRUE(Enabled(IDC_TXT_NORMAL_SIZE));
    const struct {
        PCWSTR typed;
        int code;
        PCWSTR shown;
    } cases[] = {
        {L"150", EN_CHANGE, L"150"}, {L"12a", EN_CHANGE, L"100"}, {L"999", EN_CHANGE, L"400"},
        {L"", EN_KILLFOCUS, L"100"}, {L"10", EN_KILLFOCUS, L"25"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.typed);
        SetDlgItemTextW(m_page, IDC_TXT_NORMAL_SIZE, c.typed);
        Notice(m_page, IDC_TXT_NORMAL_SIZE, c.code);
        EXPECT_EQ(c.shown, Text(IDC_TXT_NORMAL_SIZE));
    }
    Type(L"250");
    EXPECT_EQ(250u, Work().dwScalePercent);
    EXPECT_EQ(250, GetScrollPos(Ctl(IDC_CTL_HSCROLL), SB_CTL));
}

// A driver still starting up answers -1: the names come after two waits; five failures leave none.
TEST_F(EffectsGroups, PaperNamesAfterTheDriversRetries) {
    AddItems();
    Build();
    static int waits = 0;
    CZQCommon::PFN_RetryWait previous = CZQCommon::SetCapsRetryWait([](DWORD ms) { waits += ms == 500 ? 1 : 100; });
    for (const auto& c : {std::pair<int, int>{2, 2}, std::pair<int, int>{5, 4}}) {
        SCOPED_TRACE(c.first);
        waits = 0;
        m_printer.SetCapabilityFailures(DC_PAPERNAMES, c.first, 0);
        EXPECT_EQ(c.first < 5, m_tab->BGetPaperSizeNames(&m_context) != FALSE);
        EXPECT_EQ(c.second, waits);
        EXPECT_EQ(c.first < 5 ? 4u : 0u, m_tab->PaperNamesForTesting().Count());
    }
    m_printer.SetCapabilityFailures(DC_PAPERNAMES, 0, 0);
    CZQCommon::SetCapsRetryWait(previous);
}

}  // namespace
