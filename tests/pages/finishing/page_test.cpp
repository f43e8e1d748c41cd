// The Finishing page's start: its window from the settings, its texts with their fall-backs, its
// lists, both templates laid out whole, and messages that lack what they need.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "finishingtest.h"
#include "layoutcheck.h"
#include "res/zqalertids.h"
#include "zqhostapp.h"

namespace {

TEST_F(FinishingPage, StartsFromTheSettingsWithItsTextsAndLists) {
    AddItems();
    m_core.dwPageBorders = 1;
    m_core.dwPageOrderIndex = 2;
    m_core.dwPagesPerSheet = 3;
    m_core.dwRotate180 = 1;
    m_core.dwMirror = 1;
    Build();
    m_host.SetSelection("ZQMirrorPrint", 0);
    OwnOrientation()->Sel = 1;
    m_host.Item("ZQStraightPaperPath")->pName = const_cast<LPWSTR>(L"Straight &Paper Path");
    SetWindowTextW(m_parent, L"Printing Preferences");
    ASSERT_NE(nullptr, Open());

    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&m_context), GetWindowLongPtrW(m_page, DWLP_USER));
    EXPECT_TRUE(Checked(IDC_CHK_PAGE_BORDER));
    EXPECT_TRUE(Checked(IDC_CHK_ROTATED));
    EXPECT_FALSE(Checked(IDC_CHK_ROTATE90));
    EXPECT_TRUE(Checked(IDC_CHK_MIRROR)) << "the mirror's first option";
    EXPECT_TRUE(Checked(IDC_RB_LANDSCAPE));
    EXPECT_FALSE(Checked(IDC_RB_PORTRAIT));
    EXPECT_EQ(2, SendMessageW(Ctl(IDC_CBO_PAGE_ORDER), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, SendMessageW(Ctl(IDC_CBO_PAGES_PER_SHEET), CB_GETCURSEL, 0, 0));
    EXPECT_EQ((std::vector<std::wstring>{L"Right, then Down", L"Down, then Right", L"Left, then Down", L"Down, then Left"}),
              ZQListEntries(Ctl(IDC_CBO_PAGE_ORDER)));
    EXPECT_EQ((std::vector<std::wstring>{L"Off", L"Left Edge Binding", L"Right Edge Binding"}),
              ZQListEntries(Ctl(IDC_CBO_BOOKLET_PRINTING)));

    // The status module's texts (its own wording), the English of a string it lacks, the driver's own
    // name of the straight path; the version once on the sheet's title.
    const std::map<int, std::wstring> texts = {{IDC_STA_BOOKLET, L"&Booklet Printing:"},
                                               {IDC_CHK_SHOW_PREVIEW_FIN, L"Show Print Preview"},
                                               {IDC_CHK_STRAIGHT_PAPER_PATH, L"Straight &Paper Path"},
                                               {IDC_CHK_USE_AUTO_DUPLEX_UNIT, L"Use auto-duplex unit"}};
    for (const auto& [id, text] : texts) EXPECT_EQ(text, Text(id)) << id;
    WCHAR title[64] = {};
    GetWindowTextW(m_parent, title, 64);
    EXPECT_STREQ(L"Printing Preferences 1.2.3", title);
    for (int id : {IDC_BTN_CONSTRAINT_MANUAL_DUPLEX, IDC_BTN_CONSTRAINT_BOOKLET_PRINTING, IDC_BTN_CONSTRAINT_NUP,
                   IDC_ALERT_PLACEHOLDER, IDC_ALERT_REFRESH})
        EXPECT_FALSE(Shown(id)) << id;
}

TEST_F(FinishingPage, LayoutModeTwoBindsBookletsAtTheLeftOnly) {
    AddItems("ZQUseAutoDuplexUnit");
    m_core.dwLayoutMode = 2;
    Build();
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ((std::vector<std::wstring>{L"Off", L"Left Edge Binding"}), ZQListEntries(Ctl(IDC_CBO_BOOKLET_PRINTING)));
    EXPECT_EQ(L"", Text(IDC_CHK_USE_AUTO_DUPLEX_UNIT)) << "no text without the driver's item";
}

// A message without the page's context, page object, items or private devmode changes nothing and
// leaves last error 13; a page whose heap block cannot be had does not start.
TEST_F(FinishingPage, MessagesWithoutTheirPiecesChangeNothing) {
    AddItems();
    Build();
    ExpectNoStartWithoutItsPieces(&FinishingPageDlgProc);
    ASSERT_NE(nullptr, Open());
    CheckDlgButton(m_page, IDC_CHK_PAGE_BORDER, BST_CHECKED);
    ExpectNothingChangesWithoutTheDevmode(MAKEWPARAM(IDC_CHK_PAGE_BORDER, BN_CLICKED), PSN_APPLY);
    EXPECT_TRUE(m_gates->calls.empty());
}

// At start the alert strip shows the device's state, a poster whose tiles are chosen one by one
// prints every tile, and disc labels take one page per sheet.
TEST_F(FinishingPage, StartByTheDevicesAndThePrintersFeatures) {
    AddItems();
    m_host.Add(zqtest::ListFeature("ZQPosterPrinting", {{"OFF", L"Off"}, {"ON", L"On"}}, 1));
    m_host.Add(zqtest::ListFeature("ZQPosterPrintingOption", {{"2x2", L"2 x 2"}, {"3x3", L"3 x 3"}}));
    m_host.Add(zqtest::ListFeature("ZQTilingSelection", {{"ALL", L"All"}}));
    m_core.adwPosterTiles[3] = 0;
    Build();
    m_host.SetSelection("MediaType", 1);
    m_gates->alertsOn = TRUE;
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(std::vector<std::string>{"refresh start"}, m_gates->calls);
    EXPECT_TRUE(Shown(IDC_ALERT_REFRESH));
    EXPECT_EQ(nullptr, Ctl(IDC_ALERT_PLACEHOLDER)) << "the alert window takes its place";
    ExpectOnlyTheStripRunsItsLinks();
    EXPECT_EQ(1u, Work().adwPosterTiles[3]);
    EXPECT_FALSE(Enabled(IDC_CBO_PAGES_PER_SHEET));
    EXPECT_FALSE(Enabled(IDC_BTN_SELECT_TILES)) << "no poster shown in the list";
}

}  // namespace

namespace {

// The page in either template, as the desk-like printer starts it and with every control some
// printer shows: every control whole in its frame and every text fitting it; every text the page
// asks the status module for is there, but for the ones it leaves out so that the page's own English
// shows.
class FinishingWhole : public FinishingPage, public testing::WithParamInterface<bool> {
protected:
    void TearDown() override {
        CZQCommon::VWatchTextsForTesting(nullptr, nullptr);
        FinishingPage::TearDown();
    }
    void Look(WORD wTemplate, const std::string& what, bool texts) {
        for (const std::string& fault : zqtest::LayoutFaults(m_page, Resources(), wTemplate))
            ADD_FAILURE() << what << ": " << fault;
        if (!texts) return;
        for (const std::string& fault : zqtest::TextFaults(m_page)) ADD_FAILURE() << what << ": " << fault;
    }
};

TEST_P(FinishingWhole, ShowsWholeWithItsTexts) {
    const WORD wTemplate = GetParam() ? IDD_DLG_FINISHINGPAGE_RTL : IDD_DLG_FINISHINGPAGE;
    std::set<INT> asked;
    CZQCommon::VWatchTextsForTesting([](void* texts, INT id) { static_cast<std::set<INT>*>(texts)->insert(id); },
                                     &asked);
    AddItems();
    m_host.Add(zqtest::ListFeature("ZQAutoDuplexScaling", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 1));
    m_host.Add(zqtest::ValueFeature("ManualDuplex", "INSTALLED"));
    m_gates->alertsOn = TRUE;
    Build();
    ASSERT_NE(nullptr, Open(wTemplate));
    EXPECT_EQ(GetParam(), (GetWindowLongPtrW(m_page, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0);
    ASSERT_TRUE(Shown(IDC_CHK_PRESERVE_LAYOUT));
    Look(wTemplate, "as the page starts", true);
    // Every row and mark some printer shows, and the large-format printer's paper text.
    for (int id : {IDC_CHK_USE_AUTO_DUPLEX_UNIT, IDC_BTN_SELECT_TILES, IDC_BTN_CONSTRAINT_MANUAL_DUPLEX,
                   IDC_BTN_CONSTRAINT_BOOKLET_PRINTING, IDC_BTN_CONSTRAINT_NUP, int{IDC_PREVIEW_DIMENSIONS}})
        ShowWindow(Ctl(id), SW_SHOW);
    Look(wTemplate, "every control shown", false);

    std::string absent;
    for (INT id : asked) {
        WCHAR text[CZQCommon::kResStringLongChars];
        if (!CZQCommon::BLoadResStringIn(m_tab->HResModule(), id, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text,
                                         CZQCommon::kResStringLongChars) &&
            id != 4338 && id != 4618)
            absent += " " + std::to_string(id);
    }
    EXPECT_EQ("", absent) << "texts the status module lacks";
}

INSTANTIATE_TEST_SUITE_P(Templates, FinishingWhole, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "RightToLeft" : "LeftToRight");
                         });

}  // namespace
