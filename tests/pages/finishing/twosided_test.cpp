// The Finishing page's printing on both sides and its booklets: the binding edge stored and the
// driver's two-sided option chosen from it, the box's label, the page exceptions' constraint marks,
// the administrator's lock, and the booklet's rows and settings.
#include <gtest/gtest.h>

#include "finishingtest.h"
#include "platform/zqpageexceptionsapi.h"

namespace {

using zqtest::ListFeature;

class FinishingTwoSided : public FinishingPage {
protected:
    // The page's features with a two-sided item of both binding edges.
    void AddTwoSidedItems(const std::string& without = "") {
        AddItems("Duplex" + without);
        m_host.Add(ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long Edge"}, {"HORIZONTAL", L"Short Edge"}},
                               0, DMPUB_DUPLEX));
    }
    void Choose(int id, int index) {
        SendMessageW(Ctl(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notice(m_page, id, CBN_SELCHANGE);
    }
    void SetChecked(int id, bool on) { CheckDlgButton(m_page, id, on ? BST_CHECKED : BST_UNCHECKED); }
};

// Layouts of 2 and 6 pages (settings 2 and 4) turn the pages; flipping them up binds on the other edge; a booklet binds
// on the short edge. The driver's two-sided item follows what is stored.
TEST_F(FinishingTwoSided, BindingEdgeAcrossOrientationPagesFlipAndBooklet) {
    AddTwoSidedItems();
    Build();
    ASSERT_NE(nullptr, Open());
    const struct {
        bool twoSided, landscape;
        int pagesIndex;  // of the pages-per-sheet list: 0 one page (setting 1), 1 two, 2 four, 3 six
        bool flip;
        DWORD booklet;
        WORD stored;
        LONG option;  // of the driver's "Duplex"
    } cases[] = {
        {false, false, 0, false, 0, DMDUP_SIMPLEX, 0},    {true, false, 0, false, 0, DMDUP_VERTICAL, 1},
        {true, true, 0, false, 0, DMDUP_HORIZONTAL, 2},   {true, false, 0, true, 0, DMDUP_HORIZONTAL, 2},
        {true, true, 0, true, 0, DMDUP_VERTICAL, 1},      {true, false, 1, false, 0, DMDUP_HORIZONTAL, 2},
        {true, true, 1, false, 0, DMDUP_VERTICAL, 1},     {true, true, 2, true, 0, DMDUP_VERTICAL, 1},
        {true, false, 3, false, 0, DMDUP_HORIZONTAL, 2},    {true, false, 1, false, 1, DMDUP_HORIZONTAL, 2},
        {true, true, 0, false, 2, DMDUP_HORIZONTAL, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.twoSided << c.landscape << " pages " << c.pagesIndex << " flip " << c.flip
                                        << " booklet " << c.booklet);
        OwnOrientation()->Sel = c.landscape ? 1 : 0;
        Work().wOrientation = c.landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        Work().dwPagesPerSheet = 2;
        SendMessageW(Ctl(IDC_CBO_PAGES_PER_SHEET), CB_SETCURSEL, static_cast<WPARAM>(c.pagesIndex), 0);
        SetChecked(IDC_CHK_DUPLEX, c.twoSided);
        SetChecked(IDC_CHK_FLIP_PAGES_UP, c.flip);
        m_logic.VSetBooklet(c.booklet);
        m_tab->VSaveControls(&m_context);
        EXPECT_EQ(c.stored, Work().wDuplex);
        EXPECT_EQ(c.option, Sel("Duplex"));
        EXPECT_EQ(c.booklet, Work().dwBooklet);
    }
}

// With both the unit and printing by hand, the box reads as printing by hand where the user, the
// straight paper path or the unit's own setting asks for it; with only one way, that one.
TEST_F(FinishingTwoSided, LabelByTheWayOfPrinting) {
    AddTwoSidedItems("DuplexUnit");
    m_host.Add(zqtest::ValueFeature("ManualDuplex", "INSTALLED"));
    m_host.Add(ListFeature("DuplexUnit", {{"NOTINSTALLED", L"Not Installed"}, {"INSTALLED", L"Installed"}}, 1));
    Build();
    ASSERT_NE(nullptr, Open());
    const std::wstring unit = L"Print &On Both Sides", manual = L"&Print On Both Sides (Manually)";
    const struct {
        LONG unitInstalled, useUnit;
        uint32_t straightPath, manualInForce;
        const std::wstring& label;
    } cases[] = {
        {1, 1, 0, 0, unit}, {1, 1, 1, 0, manual}, {1, 1, 0, 1, manual}, {1, 0, 0, 0, manual}, {0, 1, 0, 0, manual},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.unitInstalled << c.useUnit << c.straightPath << c.manualInForce);
        m_host.SetSelection("DuplexUnit", c.unitInstalled);
        m_host.SetSelection("ZQUseAutoDuplexUnit", c.useUnit);
        Work().dwStraightPaperPath = c.straightPath;
        Work().dwManualDuplex = c.manualInForce;
        Work().wDuplex = DMDUP_SIMPLEX;
        m_tab->VSetAllControls(&m_context);
        EXPECT_EQ(c.label, Text(IDC_CHK_DUPLEX));
    }
    // A straight paper path chosen on the page prints by hand at once.
    m_host.SetSelection("DuplexUnit", 1);
    m_host.SetSelection("ZQUseAutoDuplexUnit", 1);
    Work().dwStraightPaperPath = Work().dwManualDuplex = 0;
    m_tab->VSetAllControls(&m_context);
    ASSERT_EQ(unit, Text(IDC_CHK_DUPLEX));
    ASSERT_TRUE(Enabled(IDC_CHK_STRAIGHT_PAPER_PATH));
    Click(m_page, IDC_CHK_STRAIGHT_PAPER_PATH);
    EXPECT_EQ(manual, Text(IDC_CHK_DUPLEX));
    EXPECT_EQ("TRUE", Current("ZQStraightPaperPath"));
}

// Chapters and insertions of the page exceptions need sheets of their own: pages per sheet, and a
// booklet for insertions, are disabled with their marks; two-sided printing too while it is done by
// hand. Covers alone, or none, release what the rule disabled; without page exceptions no mark shows.
TEST_F(FinishingTwoSided, ConstraintMarksByPageExceptionKinds) {
    AddTwoSidedItems();
    m_host.Add(ListFeature("ZQPageExceptions", {{"CoverInsertion", L"Covers"}, {"ChapterPages", L"Chapters"}}));
    Build();
    Work().wDuplex = DMDUP_VERTICAL;
    ASSERT_NE(nullptr, Open());
    const struct {
        DWORD kinds;
        uint32_t manual;
        bool twoSided, pages, booklet;  // enabled, each with its mark hidden
    } cases[] = {
        {ZQPE_CHAPTER_PAGES, 0, true, false, true},
        {ZQPE_BLANK_INSERTION, 0, true, false, false},
        {ZQPE_PRINTED_INSERTION | ZQPE_COVER_INSERTION, 1, false, false, false},
        {0, 0, true, true, true},
        {ZQPE_CHAPTER_PAGES, 1, false, false, true},
        {ZQPE_COVER_INSERTION, 0, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kinds << " manual " << c.manual);
        Work().adwExtra[2] = c.kinds;
        Work().dwManualDuplex = c.manual;
        Work().wDuplex = DMDUP_VERTICAL;
        m_tab->VSetAllControls(&m_context);
        const struct {
            int control, mark;
            bool free;
        } rows[] = {{IDC_CHK_DUPLEX, IDC_BTN_CONSTRAINT_MANUAL_DUPLEX, c.twoSided},
                    {IDC_CBO_PAGES_PER_SHEET, IDC_BTN_CONSTRAINT_NUP, c.pages},
                    {IDC_CBO_BOOKLET_PRINTING, IDC_BTN_CONSTRAINT_BOOKLET_PRINTING, c.booklet}};
        for (const auto& row : rows) {
            EXPECT_EQ(row.free, Enabled(row.control)) << row.control;
            EXPECT_EQ(!row.free, Shown(row.mark)) << row.mark;
        }
    }
}

// One-sided, two-sided printing is tried against the media: a conflict disables the box with its
// mark, and the driver's two-sided item is left as it was.
TEST_F(FinishingTwoSided, TrialOfTwoSidedAgainstTheMedia) {
    AddTwoSidedItems();
    m_host.Add(ListFeature("ZQPageExceptions", {{"CoverInsertion", L"Covers"}}));
    m_host.AddConflictRule("Duplex", "VERTICAL", "MediaType", "PLAIN");
    Build();
    ASSERT_NE(nullptr, Open());
    EXPECT_FALSE(Enabled(IDC_CHK_DUPLEX));
    EXPECT_TRUE(Shown(IDC_BTN_CONSTRAINT_MANUAL_DUPLEX));
    EXPECT_EQ(0, Sel("Duplex"));
    EXPECT_EQ("NONE", Current("Duplex"));
    // Another media: the box is free again.
    m_host.SetSelection("MediaType", 1);
    m_tab->VSetAllControls(&m_context);
    EXPECT_TRUE(Enabled(IDC_CHK_DUPLEX));
    EXPECT_FALSE(Shown(IDC_BTN_CONSTRAINT_MANUAL_DUPLEX));
    // By hand with chapters among the page exceptions: the trial by hand that finds no conflict frees
    // the box the chapters' rule disabled.
    Work().dwManualDuplex = 1;
    Work().adwExtra[2] = ZQPE_CHAPTER_PAGES;
    m_tab->VSetAllControls(&m_context);
    EXPECT_TRUE(Enabled(IDC_CHK_DUPLEX));
    EXPECT_FALSE(Shown(IDC_BTN_CONSTRAINT_MANUAL_DUPLEX));
}

// The configuration manager's lock disables two-sided printing and the flip; the page exceptions'
// release leaves a locked box alone; another value frees it; without the manager nothing is read;
// a value that is no text, or a lock the import could not store, leaves the boxes as they are.
struct LockCase {
    const wchar_t* exists;
    const wchar_t* value;  // none: a number stored in its place
    bool free;
    bool unstored = false;  // the import's record of a lock it could not store
};

class DuplexLock : public FinishingTwoSided, public testing::WithParamInterface<LockCase> {};

TEST_P(DuplexLock, DisablesTwoSidedPrinting) {
    const LockCase& c = GetParam();
    AddTwoSidedItems();
    m_host.Add(ListFeature("ZQPageExceptions", {{"CoverInsertion", L"Covers"}}));
    if (c.exists) m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, L"DMCExist", c.exists);
    const DWORD number = 1;
    if (c.value) m_printer.PutString(L"DMCLockData\\Printing", L"Duplex", c.value);
    else m_printer.PutValue(L"DMCLockData\\Printing", L"Duplex", REG_DWORD, &number, sizeof number);
    const wchar_t unstored[] = L"DMCLockData\\Printing\\Duplex\0";
    if (c.unstored)
        m_printer.PutValue(zqspool::CZQMemoryPrinter::kRootKey, L"DMCUnstoredLocks", REG_MULTI_SZ, unstored, sizeof unstored);
    Build();
    Work().wDuplex = DMDUP_VERTICAL;
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(c.free, Enabled(IDC_CHK_DUPLEX));
    EXPECT_EQ(c.free, Enabled(IDC_CHK_FLIP_PAGES_UP));
    m_tab->VSetAllControls(&m_context);
    EXPECT_EQ(c.free, Enabled(IDC_CHK_DUPLEX));
}

INSTANTIATE_TEST_SUITE_P(Values, DuplexLock,
                         testing::Values(LockCase{L"True", L"lock", false}, LockCase{L"True", L"Unlock", true},
                                         LockCase{nullptr, L"Lock", true}, LockCase{L"True", nullptr, true, true}));

// A booklet prints two pages to a sheet in its own order, flipped up on landscape sheets, at full
// size and without back covers; one-sided printing ends it and one page to a sheet comes back, and
// leaves the unit's use as it was.
TEST_F(FinishingTwoSided, BookletRowsSynchronisationAndOneSidedEnd) {
    AddTwoSidedItems();
    Build();
    Work().wDuplex = DMDUP_VERTICAL;
    Work().dwPageBorders = 1;
    ASSERT_NE(nullptr, Open());
    for (bool landscape : {false, true}) {
        SCOPED_TRACE(landscape);
        Work().wOrientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        Work().dwBackCover = 1;
        Work().dwScalePercent = 60;
        Choose(IDC_CBO_BOOKLET_PRINTING, 2);
        EXPECT_EQ(1, SendMessageW(Ctl(IDC_CBO_PAGES_PER_SHEET), CB_GETCURSEL, 0, 0));
        EXPECT_EQ(landscape, Checked(IDC_CHK_FLIP_PAGES_UP));
        for (int id : {IDC_CHK_FLIP_PAGES_UP, IDC_CBO_PAGE_ORDER, IDC_CHK_PAGE_BORDER}) EXPECT_FALSE(Enabled(id)) << id;
        EXPECT_FALSE(Checked(IDC_CHK_PAGE_BORDER));
        EXPECT_EQ((std::vector<uint32_t>{2, 2, 100, 0}), (std::vector<uint32_t>{Work().dwBooklet, Work().dwPagesPerSheet,
                                                                                  Work().dwScalePercent, Work().dwBackCover}));
        EXPECT_EQ(static_cast<WORD>(DMDUP_HORIZONTAL), Work().wDuplex);
    }

    // The Features page's synchronisation: the booklet chosen there, with its layout.
    m_logic.VSetBooklet(1);
    Work().dwPagesPerSheet = 4;
    Work().dwBackCoverFeeder = 1;
    m_tab->VSyncBooklet(&m_logic);
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 0}),
              (std::vector<uint32_t>{Work().dwBooklet, Work().dwPagesPerSheet, Work().dwBackCoverFeeder}));
    m_logic.VEndBooklet();
    Work().dwPagesPerSheet = 4;
    m_tab->VSyncBooklet(&m_logic);
    EXPECT_EQ(0u, Work().dwBooklet);
    EXPECT_EQ(4u, Work().dwPagesPerSheet) << "no booklet leaves the layout alone";

    m_logic.VSetBooklet(2);
    Choose(IDC_CBO_BOOKLET_PRINTING, 2);
    m_host.SetSelection("ZQUseAutoDuplexUnit", 1);
    Click(m_page, IDC_CHK_DUPLEX);
    EXPECT_EQ(1, Sel("ZQUseAutoDuplexUnit")) << "turning two-sided printing off keeps the unit's use";
    EXPECT_FALSE(Checked(IDC_CHK_DUPLEX));
    EXPECT_EQ(0u, m_logic.DWBooklet());
    EXPECT_EQ(0, SendMessageW(Ctl(IDC_CBO_BOOKLET_PRINTING), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(0, SendMessageW(Ctl(IDC_CBO_PAGES_PER_SHEET), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(1u, Work().dwPagesPerSheet);
    EXPECT_EQ(0u, Work().dwBooklet);
    EXPECT_EQ(static_cast<WORD>(DMDUP_SIMPLEX), Work().wDuplex);
    EXPECT_FALSE(Enabled(IDC_CBO_BOOKLET_PRINTING));
    m_host.SetSelection("ZQUseAutoDuplexUnit", 1);
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(1, Sel("ZQUseAutoDuplexUnit")) << "leaving the page one-sided keeps the unit's use";

    // Turned on again, the box shows the unit's use as stored: the unit prints.
    Click(m_page, IDC_CHK_DUPLEX);
    EXPECT_TRUE(Checked(IDC_CHK_USE_AUTO_DUPLEX_UNIT));
    EXPECT_EQ(1, Sel("ZQUseAutoDuplexUnit"));
    EXPECT_EQ(0u, Work().dwManualDuplex);
}

}  // namespace
