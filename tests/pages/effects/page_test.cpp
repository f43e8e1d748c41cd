// The Effects page's start: both templates laid out whole with their texts and fall-backs, the scale
// box by the printer's class, the alert strip on and off, and messages that lack what they need.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "effectstest.h"
#include "layoutcheck.h"
#include "res/zqalertids.h"

namespace {

// The page in either template as the desk-like printer starts it, and with every control some
// printer shows: every control whole in its frame, every text fitting it; every text the page asks
// the status module for is there, but for the one left out so that the page's own English shows.
class EffectsWhole : public EffectsPage, public testing::WithParamInterface<bool> {
protected:
    void TearDown() override {
        CZQCommon::VWatchTextsForTesting(nullptr, nullptr);
        EffectsPage::TearDown();
    }
    void Look(WORD wTemplate, const std::string& what) {
        for (const std::string& fault : zqtest::LayoutFaults(m_page, Resources(), wTemplate))
            ADD_FAILURE() << what << ": " << fault;
        for (const std::string& fault : zqtest::TextFaults(m_page)) ADD_FAILURE() << what << ": " << fault;
    }
};

TEST_P(EffectsWhole, ShowsWholeWithItsTexts) {
    const WORD wTemplate = GetParam() ? IDD_DLG_EFFECTSPAGE_RTL : IDD_DLG_EFFECTSPAGE;
    std::set<INT> asked;
    CZQCommon::VWatchTextsForTesting([](void* texts, INT id) { static_cast<std::set<INT>*>(texts)->insert(id); },
                                     &asked);
    AddItems();
    m_gates->alertsOn = TRUE;
    Build();
    SetWindowTextW(m_parent, L"Printing Preferences");
    ASSERT_NE(nullptr, Open(wTemplate));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&m_context), GetWindowLongPtrW(m_page, DWLP_USER));
    EXPECT_EQ(GetParam(), (GetWindowLongPtrW(m_page, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0);
    WCHAR title[64] = {};
    GetWindowTextW(m_parent, title, 64);
    EXPECT_STREQ(L"Printing Preferences 1.2.3", title);
    if (!GetParam()) ExpectOnlyTheStripRunsItsLinks();
    EXPECT_EQ(L"Act&ual Size", Text(IDC_RB_ACTUAL_SIZE));
    EXPECT_EQ(L"Center On Page", Text(IDC_CHECK_CENTER_ON_PAGE)) << "the English of a string the module lacks";
    Look(wTemplate, "as the page starts");
    // The groups and boxes some printer shows, and the large-format printer's paper text.
    for (int id : {IDC_CHECK_CENTER_ON_PAGE, IDC_GB_MARGIN, IDC_CHECK_EMULATE_MARGINS, IDC_CHECK_SYMMETRICAL_MARGINS,
                   IDC_CHECK_MINIMIZE_MARGINS, int{IDC_PREVIEW_DIMENSIONS}})
        ShowWindow(Ctl(id), SW_SHOW);
    SetWindowTextW(Ctl(IDC_PREVIEW_DIMENSIONS), L"Printed on: 8.50 x 11.00 in.");
    Look(wTemplate, "every control shown");

    std::string absent;
    for (INT id : asked) {
        WCHAR text[CZQCommon::kResStringLongChars];
        if (!CZQCommon::BLoadResStringIn(m_tab->HResModule(), id, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text,
                                         CZQCommon::kResStringLongChars) &&
            id != 4747)
            absent += " " + std::to_string(id);
    }
    EXPECT_EQ("", absent) << "texts the status module lacks";
}

INSTANTIATE_TEST_SUITE_P(Templates, EffectsWhole, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "RightToLeft" : "LeftToRight");
                         });

// An ordinary printer types a scale of three digits; a large-format one four, in a box grown for
// the fourth, and cannot fit a document to another paper.
class EffectsScaleBox : public EffectsPage, public testing::WithParamInterface<bool> {};

TEST_P(EffectsScaleBox, ByThePrintersClass) {
    const bool large = GetParam();
    AddItems("ZQPrinterClass");
    m_host.Add(zqtest::ValueFeature("ZQPrinterClass", large ? "ZQKorrix" : "ZQInkDesk"));
    Build();
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(large ? 4 : 3, SendMessageW(Ctl(IDC_TXT_NORMAL_SIZE), EM_GETLIMITTEXT, 0, 0));
    RECT templateRect = {0, 0, 24, 12};
    MapDialogRect(m_page, &templateRect);
    const RECT box = Rect(IDC_TXT_NORMAL_SIZE);
    EXPECT_EQ(templateRect.right + (large ? 5 : 0), box.right - box.left);
    EXPECT_EQ(large ? 1000 : 400, m_tab->ScaleLimitsForTesting().iMaximum);
    EXPECT_EQ(!large, m_tab->ScaleLimitsForTesting().bFitAllowed != FALSE);
}

INSTANTIATE_TEST_SUITE_P(Printers, EffectsScaleBox, testing::Bool(), [](const testing::TestParamInfo<bool>& info) {
    return std::string(info.param ? "LargeFormat" : "Desk");
});

// With alerts the strip takes its placeholder's place, the device is asked at the start and its
// refresh button asks again through the page; without, both controls are hidden and disabled.
TEST_F(EffectsPage, AlertStripOnAndOff) {
    AddItems();
    Build();
    for (const BOOL on : {TRUE, FALSE}) {
        SCOPED_TRACE(on);
        m_gates->alertsOn = on;
        m_gates->calls.clear();
        ASSERT_NE(nullptr, Open());
        if (on) {
            EXPECT_EQ(std::vector<std::string>{"refresh start"}, m_gates->calls);
            EXPECT_EQ(nullptr, Ctl(IDC_ALERT_PLACEHOLDER)) << "the alert window takes its place";
            EXPECT_TRUE(Shown(IDC_ALERT_REFRESH));
            EXPECT_NE(nullptr, m_tab->AlertsForTesting().Window());
            Notice(m_page, IDC_ALERT_REFRESH, BN_CLICKED);
            EXPECT_EQ((std::vector<std::string>{"refresh start", "refresh"}), m_gates->calls);
        } else {
            EXPECT_TRUE(m_gates->calls.empty());
            for (int id : {IDC_ALERT_PLACEHOLDER, IDC_ALERT_REFRESH}) {
                EXPECT_FALSE(Shown(id)) << id;
                EXPECT_FALSE(Enabled(id)) << id;
            }
            EXPECT_EQ(nullptr, m_tab->AlertsForTesting().Window());
        }
        DestroyWindow(m_page);
        m_page = nullptr;
        EXPECT_EQ(nullptr, m_tab->AlertsForTesting().Window()) << "the window leaves with the page's";
    }
}

// A message without the page's context, page object, items or private devmode changes nothing and
// leaves last error 13; a page whose heap block cannot be had does not start.
TEST_F(EffectsPage, MessagesWithoutTheirPiecesChangeNothing) {
    AddItems();
    Build();
    ExpectNoStartWithoutItsPieces(&EffectsPageDlgProc);
    ASSERT_NE(nullptr, Open());
    CheckDlgButton(m_page, IDC_CHK_FIRST_PAGE_WM, BST_CHECKED);
    ExpectNothingChangesWithoutTheDevmode(MAKEWPARAM(IDC_CHK_FIRST_PAGE_WM, BN_CLICKED), PSN_APPLY);
    EXPECT_TRUE(m_gates->calls.empty());
}

}  // namespace
