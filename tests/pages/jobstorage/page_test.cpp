// The Job Storage page's modes and their controls, the compact layout, the PIN when the page is
// left and applied, the choice for a job name the printer holds, the change check, and the page in
// its sheet.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "featurelogic/zqquicksets.h"
#include "formats/zqquickset.h"
#include "jobstoragetest.h"
#include "layoutcheck.h"

#include <commctrl.h>

namespace {

using JobStorage = JobStoragePage;

const std::wstring kPinMessage =
    L"The Personal Identification Number (PIN) was not accepted. A valid PIN number must have exactly four digits.";

// A stored private job opens as stored; the PIN shows as four digits until the page comes to the
// front, then it is typed anew: leaving the page asks for four digits.
TEST_F(JobStorage, StartsFromTheStoredJobAndAsksForThePinAgain) {
    m_core.dwRetentionMode = 2;
    m_core.dwPinRequired = 1;
    m_core.dwPinNumber = 42;
    m_core.dwUserNameCustom = 1;
    lstrcpyW(reinterpret_cast<wchar_t*>(m_core.szJsUserName), L"ALICE");
    Build();
    ASSERT_NE(nullptr, Open());
    EXPECT_TRUE(Checked(IDC_RB_PRIVATE_JOB));
    EXPECT_EQ(L"The printer holds the job until you release it at its control panel with your PIN.", Text(IDC_STA_TEXT));
    EXPECT_EQ(L"0042", Text(IDC_TXT_PIN));
    EXPECT_TRUE(Checked(IDC_CHK_REQ_PIN) && !Enabled(IDC_CHK_REQ_PIN) && Enabled(IDC_TXT_PIN));
    EXPECT_EQ(L"ALICE", Text(IDC_TXT_USER_NAME));
    EXPECT_TRUE(Checked(IDC_RB_USER_CUSTOM));
    EXPECT_EQ(L"[Automatic]", Text(IDC_TXT_JOB_NAME));
    EXPECT_TRUE(Checked(IDC_RB_JOB_AUTO));
    BoxAnswers boxes;
    EXPECT_EQ(0, Notify(PSN_SETACTIVE));
    EXPECT_EQ(L"", Text(IDC_TXT_PIN));
    EXPECT_EQ(0u, Work().dwPinNumber);
    EXPECT_EQ(TRUE, Notify(PSN_KILLACTIVE)) << "a required PIN of no digits keeps the user on the page";
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(kPinMessage, boxes.texts[0]);
    EXPECT_EQ(L"Please Note", boxes.captions[0]);
    Type(IDC_TXT_PIN, L"0007");
    m_core.iStartPage = 0;
    EXPECT_EQ(FALSE, Notify(PSN_KILLACTIVE));
    EXPECT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(7u, Work().dwPinNumber);
    EXPECT_EQ(2u, Work().dwRetentionMode);
    EXPECT_EQ(CZQJobStorageTab::kTitleId, m_core.iStartPage);
}

// A stored job whose PIN is required where its edit cannot be typed in keeps the stored PIN when the
// page comes to the front, so the page can be left.
TEST_F(JobStorage, KeepsARequiredPinThatCannotBeTyped) {
    m_core.dwRetentionMode = 1;
    m_core.dwPinRequired = 1;
    m_core.dwPinNumber = 42;
    Build();
    ASSERT_NE(nullptr, Open());
    BoxAnswers boxes;
    EXPECT_EQ(0, Notify(PSN_SETACTIVE));
    ASSERT_TRUE(Checked(IDC_CHK_REQ_PIN));
    ASSERT_FALSE(Enabled(IDC_TXT_PIN));
    EXPECT_EQ(L"0042", Text(IDC_TXT_PIN));
    EXPECT_EQ(FALSE, Notify(PSN_KILLACTIVE));
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(42u, Work().dwPinNumber);
}

// Each mode shows its description and uses its groups, whether stored or chosen; a mode past Stored
// Job shows as Off but leaves the notification group as it was.
TEST_F(JobStorage, EachModeShowsItsDescriptionAndGroups) {
    const struct {
        DWORD mode;
        int button;
        const wchar_t* description;
        bool names, notification, pin, pinBox;
    } cases[] = {
        {0, IDC_RB_OFF, L"Jobs print at once; the printer keeps no copy.", false, false, false, false},
        {1, IDC_RB_PROOF_AND_HOLD, L"The printer prints one copy and holds the rest until you release them at its "
                                   L"control panel.", true, true, false, false},
        {2, IDC_RB_PRIVATE_JOB, L"The printer holds the job until you release it at its control panel with your PIN.",
         true, true, true, false},
        {3, IDC_RB_QUICK_COPY, L"The printer prints the job and keeps a copy to print again from its control panel.",
         true, true, false, false},
        {4, IDC_RB_STORED_JOB, L"The printer keeps the job to print whenever you like from its control panel; a PIN "
                               L"can protect it.", true, true, false, true},
        {7, IDC_RB_OFF, L"Jobs print at once; the printer keeps no copy.", false, true, false, false},
    };
    Build();
    for (const auto& c : cases) {
        for (bool chosen : {false, true}) {
            if (chosen && c.mode > 4) continue;
            SCOPED_TRACE(testing::Message() << "mode " << c.mode << (chosen ? " chosen" : " stored"));
            if (m_page) DestroyWindow(m_page);
            Work().dwRetentionMode = chosen ? 0 : c.mode;
            Work().dwPinRequired = 0;
            ASSERT_NE(nullptr, Open());
            if (chosen) Click(m_page, c.button);
            EXPECT_TRUE(Checked(c.button));
            EXPECT_EQ(c.description, Text(IDC_STA_TEXT));
            EXPECT_EQ(c.names, Enabled(IDC_TXT_USER_NAME) && Enabled(IDC_RB_JOB_CUSTOM));
            EXPECT_EQ(c.names, Enabled(IDC_GB_JOBNAME) || Enabled(IDC_GB_USERNAME));
            EXPECT_EQ(c.notification, Enabled(IDC_CHK_DISPLAY_JOB_ID));
            EXPECT_EQ(c.pin, Enabled(IDC_TXT_PIN));
            EXPECT_EQ(c.pin || c.pinBox, Enabled(IDC_CHK_REQ_PIN) || Checked(IDC_CHK_REQ_PIN));
            EXPECT_EQ(c.mode == 2, Checked(IDC_CHK_REQ_PIN)) << "a private job always has its PIN";
            EXPECT_EQ(c.mode > 4 ? 7u : c.mode, Work().dwRetentionMode);
        }
    }
}

// The compact layout removes the modes the printer lacks (Stored Job with Quick Copy) and moves the
// others up; with a mode removed, a stored quick copy or stored job is reset, and the working mode
// with it only when its own button went. Untouched, the page does not count as changed.
TEST_F(JobStorage, CompactLayoutKeepsTheOfferedModesAtTheTop) {
    Build();
    ASSERT_NE(nullptr, Open());
    std::vector<LONG> tops;
    for (int id : CZQJobRetentionOptions::kModeIds) tops.push_back(Rect(id).top);
    const struct {
        DWORD selector;
        std::vector<uint32_t> set;
        DWORD stored;
        std::vector<int> kept;
        DWORD after;
        DWORD workAfter;  // the working mode, the button the page shows checked
    } cases[] = {
        {1, {1, 1, 1, 0, 1}, 4, {IDC_RB_OFF, IDC_RB_PROOF_AND_HOLD, IDC_RB_PRIVATE_JOB}, 0, 0},
        {0, {1, 0, 1, 1, 1}, 3, {IDC_RB_OFF, IDC_RB_PRIVATE_JOB, IDC_RB_QUICK_COPY, IDC_RB_STORED_JOB}, 0, 3},
        // Only a quick copy or a stored job goes to Off, and only with a mode taken away.
        {0, {1, 0, 1, 1, 1}, 2, {IDC_RB_OFF, IDC_RB_PRIVATE_JOB, IDC_RB_QUICK_COPY, IDC_RB_STORED_JOB}, 2, 2},
        {0, {1, 0, 1, 1, 1}, 1, {IDC_RB_OFF, IDC_RB_PRIVATE_JOB, IDC_RB_QUICK_COPY, IDC_RB_STORED_JOB}, 1, 1},
        {0, {1, 1, 1, 1, 1}, 3, {IDC_RB_OFF, IDC_RB_PROOF_AND_HOLD, IDC_RB_PRIVATE_JOB, IDC_RB_QUICK_COPY,
                                 IDC_RB_STORED_JOB}, 3, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "stored " << c.stored << " selector " << c.selector);
        DestroyWindow(m_page);
        m_core.dwJsLayout = 1;
        m_core.dwJsSetSelector = c.selector;
        for (int i = 0; i < 5; ++i) (c.selector ? m_core.adwJsSetA : m_core.adwJsSetB)[i] = c.set[i];
        m_core.dwRetentionMode = Work().dwRetentionMode = c.stored;
        m_core.dwPinRequired = Work().dwPinRequired = c.stored == 2;
        ASSERT_NE(nullptr, Open());
        std::vector<int> present;
        for (int id : CZQJobRetentionOptions::kModeIds)
            if (Ctl(id)) present.push_back(id);
        EXPECT_EQ(c.kept, present);
        for (size_t i = 0; i < present.size(); ++i) EXPECT_EQ(tops[i], Rect(present[i]).top) << present[i];
        EXPECT_EQ(c.after, m_core.dwRetentionMode);
        EXPECT_EQ(c.workAfter, Work().dwRetentionMode);
        // A mode whose button went shows no button checked.
        if (Ctl(CZQJobRetentionOptions::kModeIds[c.workAfter])) {
            EXPECT_TRUE(Checked(CZQJobRetentionOptions::kModeIds[c.workAfter]));
        }
        m_sheetMessages.clear();
        Notify(PSN_SETACTIVE);
        ASSERT_FALSE(m_sheetMessages.empty());
        EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), m_sheetMessages.back());
        if (c.workAfter != c.after) {
            Click(m_page, IDC_RB_OFF);
            EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), m_sheetMessages.back()) << "Off differs from the kept mode";
        }
    }
}

// OK or Apply: a private job, or a stored job with Require PIN, needs four digits; any other mode
// applies whatever the PIN edit holds.
TEST_F(JobStorage, ApplyRefusesAShortPinWhereThePinIsAsked) {
    const struct {
        int button;
        bool required;
        const wchar_t* pin;
        LRESULT answer;
    } cases[] = {
        {IDC_RB_PRIVATE_JOB, true, L"123", PSNRET_INVALID_NOCHANGEPAGE},
        {IDC_RB_PRIVATE_JOB, true, L"0042", PSNRET_NOERROR},
        {IDC_RB_STORED_JOB, true, L"123", PSNRET_INVALID_NOCHANGEPAGE},
        {IDC_RB_STORED_JOB, false, L"", PSNRET_NOERROR},
        {IDC_RB_QUICK_COPY, false, L"1", PSNRET_NOERROR},
    };
    Build();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " " << c.required);
        if (m_page) DestroyWindow(m_page);
        Work().dwRetentionMode = 0;
        ASSERT_NE(nullptr, Open());
        Click(m_page, c.button);
        if (c.button == IDC_RB_STORED_JOB && c.required) Click(m_page, IDC_CHK_REQ_PIN);
        Type(IDC_TXT_PIN, c.pin);
        m_gates->calls.clear();
        BoxAnswers boxes;
        EXPECT_EQ(c.answer, Notify(PSN_APPLY));
        const bool refused = c.answer != PSNRET_NOERROR;
        EXPECT_EQ(refused ? 1u : 0u, boxes.texts.size());
        EXPECT_EQ(refused, m_gates->calls.empty()) << "a refused page reports no result";
    }
}

// The choice for a job name the printer holds: offered, it lists both entries and keeps the user's;
// not offered, it is hidden and leaving the page numbers new jobs.
TEST_F(JobStorage, TheChoiceForAJobNameThePrinterHolds) {
    Build();
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(L"If Job Name &Exists:", Text(IDC_STAT_JOBNAME_EXISTS));
    HWND list = Ctl(IDC_CBO_SOFT_FWARE);
    ASSERT_EQ(2, SendMessageW(list, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(1, SendMessageW(list, CB_GETCURSEL, 0, 0));
    Click(m_page, IDC_RB_QUICK_COPY);
    EXPECT_TRUE(Enabled(IDC_CBO_SOFT_FWARE));
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    Notice(m_page, IDC_CBO_SOFT_FWARE, CBN_SELCHANGE);
    EXPECT_EQ(0u, Work().dwNameExistsChoice);
    EXPECT_EQ(FALSE, Notify(PSN_KILLACTIVE));
    EXPECT_EQ(0, Notify(PSN_SETACTIVE));
    EXPECT_EQ(0, SendMessageW(list, CB_GETCURSEL, 0, 0));
    WCHAR entry[64] = {};
    SendMessageW(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(L"Replace Existing File", entry);

    DestroyWindow(m_page);
    m_core.dwNameExistsSwfw = Work().dwNameExistsSwfw = 0;
    Work().dwNameExistsChoice = 0;
    ASSERT_NE(nullptr, Open());
    EXPECT_FALSE(Shown(IDC_STAT_JOBNAME_EXISTS) || Shown(IDC_CBO_SOFT_FWARE));
    EXPECT_EQ(FALSE, Notify(PSN_KILLACTIVE));
    EXPECT_EQ(1u, Work().dwNameExistsChoice);
}

// The sheet hears whether the page differs from the settings it opened with, and always while a
// quick set changed them.
TEST_F(JobStorage, ChangeCheckComparesTheControlsWithTheOpeningSettings) {
    Build();
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(0, Notify(PSN_SETACTIVE));
    ASSERT_FALSE(m_sheetMessages.empty());
    EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), m_sheetMessages.back());
    for (int id : {IDC_RB_PROOF_AND_HOLD, IDC_CHK_DISPLAY_JOB_ID}) {
        Click(m_page, id);
        EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), m_sheetMessages.back()) << id;
        Click(m_page, id == IDC_RB_PROOF_AND_HOLD ? IDC_RB_OFF : id);
        EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), m_sheetMessages.back()) << id;
    }
    Click(m_page, IDC_RB_QUICK_COPY);
    Type(IDC_TXT_USER_NAME, L"BOB");
    EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), m_sheetMessages.back());
    Type(IDC_TXT_USER_NAME, L"JSMITH");
    Click(m_page, IDC_RB_OFF);
    EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), m_sheetMessages.back());
    m_gates->binding.quickSets.BSetChanged(m_page);
    Click(m_page, IDC_RB_OFF);
    EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), m_sheetMessages.back());
    // A quick set in force stays chosen while the settings match it, and not once they part from it.
    CZQQuickSets& quickSets = *m_context.pQuickSets;
    QuickSetEntry* held = quickSets.PNewEntry();
    ASSERT_NE(nullptr, held);
    lstrcpynW(held->head.szName, L"Held", 82);
    zqqs::Capture(Work(), held->head.settings);
    quickSets.VSelectCurrentName(L"Held");
    Click(m_page, IDC_RB_OFF);
    EXPECT_TRUE(quickSets.BSelected());
    Click(m_page, IDC_RB_PROOF_AND_HOLD);
    EXPECT_FALSE(quickSets.BSelected());
}

// Every page reports its result; only the last page visited synchronises and exports, and a result
// the sheet refuses keeps the user there.
TEST_F(JobStorage, ApplyReportsAndOnlyTheLastPageVisitedSynchronises) {
    const struct {
        int highest;
        LONG_PTR sheetAnswer;
        std::vector<std::string> calls;
        LRESULT answer;
    } cases[] = {
        {1, 1, {"sync", "result 101 1", "export Printing/"}, PSNRET_NOERROR},
        {3, 0, {"result 101 1"}, PSNRET_INVALID_NOCHANGEPAGE},
    };
    Build();
    ASSERT_NE(nullptr, Open());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.highest);
        m_logic.SheetState()->iHighestPage = c.highest;
        m_sheetAnswer = c.sheetAnswer;
        m_gates->calls.clear();
        m_gates->binding.quickSets.BSetChanged(m_page);
        EXPECT_EQ(c.answer, Notify(PSN_APPLY));
        EXPECT_EQ(c.calls, m_gates->calls);
        EXPECT_FALSE(m_gates->binding.quickSets.BChanged()) << "Apply clears the quick set's change";
    }
    m_logic.SheetState()->iHighestPage = 0;
    EXPECT_EQ(0, Notify(PSN_SETACTIVE));
    EXPECT_EQ(1, m_logic.SheetState()->iHighestPage) << "coming to the front records the page's position";
}

// Two sheets in one process, one for a printer without PIN printing: there the PIN is never shown,
// forced or checked, so a private job is left and applied without one, while the other page still
// asks for its PIN.
TEST_F(JobStorage, APrinterWithoutPinPrintingBesideOneWithIt) {
    Build();
    ASSERT_NE(nullptr, Open());
    ZQUIDevmode otherCore = m_core;
    otherCore.dwModelCode = 4;
    otherCore.dwRetentionMode = 2;
    otherCore.dwPinRequired = 1;
    OEMCUIPPARAM otherParam = *m_host.Param();
    otherParam.pOEMDM = &otherCore;
    CZQUILogic otherLogic;
    otherLogic.VSetParam(&otherParam, OEMCUIP_DOCPROP);
    ASSERT_TRUE(otherLogic.BTakeWorkingCopy(&otherCore));
    otherLogic.SheetState()->aiPagePosition[kPageJobStorage] = 0;
    CZQJobStorageTab other;
    other.VBind(nullptr, &otherParam, nullptr);
    other.VLoadResourceModule(m_hPrinter);
    PageContext otherContext = m_context;
    otherContext.pPage = &other;
    otherContext.pLogic = &otherLogic;
    PROPSHEETPAGEW psp = {};
    psp.lParam = reinterpret_cast<LPARAM>(&otherContext);
    const std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)> otherPage(
        CreateDialogParamW(Resources(), MAKEINTRESOURCEW(IDD_DLG_JOBSTORAGEPAGE), m_parent, &JobStoragePageDlgProc,
                           reinterpret_cast<LPARAM>(&psp)),
        &DestroyWindow);
    ASSERT_NE(nullptr, otherPage);
    BoxAnswers boxes;
    for (UINT code : {PSN_SETACTIVE, PSN_KILLACTIVE, PSN_APPLY}) {
        NMHDR header = {m_parent, 0, code};
        SetWindowLongPtrW(otherPage.get(), DWLP_MSGRESULT, -1);
        SendMessageW(otherPage.get(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        EXPECT_EQ(0, GetWindowLongPtrW(otherPage.get(), DWLP_MSGRESULT)) << code;
    }
    for (int id : {IDC_GB_PIN, IDC_TXT_PIN, IDC_STA_PIN_NUM})
        EXPECT_EQ(0, GetWindowLongPtrW(GetDlgItem(otherPage.get(), id), GWL_STYLE) & WS_VISIBLE) << id;
    EXPECT_NE(0, GetWindowLongPtrW(GetDlgItem(otherPage.get(), IDC_CHK_REQ_PIN), GWL_STYLE) & WS_VISIBLE)
        << "Require PIN stays";
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(2u, otherLogic.WorkDM()->dwRetentionMode);

    Click(m_page, IDC_RB_PRIVATE_JOB);
    EXPECT_TRUE(Shown(IDC_TXT_PIN) && Enabled(IDC_TXT_PIN));
    Type(IDC_TXT_PIN, L"12");
    EXPECT_EQ(TRUE, Notify(PSN_KILLACTIVE)) << "this printer still asks for its PIN";
    EXPECT_EQ(1u, boxes.texts.size());
}

}  // namespace

namespace {

class JobStorageWhole : public JobStoragePage, public testing::WithParamInterface<std::tuple<bool, bool>> {
protected:
    void Look(const std::string& what) {
        const auto [utf8, rtl] = GetParam();
        for (const std::vector<std::string>& found :
             {zqtest::LayoutFaults(m_page, Resources(), rtl ? IDD_DLG_JOBSTORAGEPAGE_RTL : IDD_DLG_JOBSTORAGEPAGE),
              zqtest::TextFaults(m_page)})
            for (const std::string& fault : found) ADD_FAILURE() << what << ": " << fault;
    }
};

// Every mode, the compact layout and a printer without PIN printing, in either template and with
// either rules for the names: every control whole in its frame, and every text fitting its control
// with room for a longer translation.
TEST_P(JobStorageWhole, EveryStateShowsWhole) {
    const auto [utf8, rtl] = GetParam();
    Build(utf8 ? "UTF8" : "8bitEncoding");
    for (int state = 0; state < 7; ++state) {
        if (m_page) DestroyWindow(m_page);
        m_core.dwJsLayout = state == 5 ? 1 : 0;
        m_core.adwJsSetA[1] = state == 5 ? 0 : 1;
        m_core.dwModelCode = state == 6 ? 4 : 0;
        m_core.dwRetentionMode = Work().dwRetentionMode = state < 5 ? static_cast<DWORD>(state) : 2;
        ASSERT_NE(nullptr, Open(rtl ? IDD_DLG_JOBSTORAGEPAGE_RTL : IDD_DLG_JOBSTORAGEPAGE));
        Type(IDC_TXT_USER_NAME, L"WWWWWWWWWWWWWWWW");
        zqtest::LengthenTexts(m_page, 0.3);
        Look("state " + std::to_string(state));
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, JobStorageWhole, testing::Combine(testing::Bool(), testing::Bool()));

}  // namespace
