// The panel's run-time controls on the page's own template: made, kept or replaced from one build to
// the next, put in the tab order, the edit groups' limits, the choice lists with their special rules
// and the administrator's locks.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "largeformattest.h"

namespace {

using zqtest::ListFeature;

std::wstring ClassOf(HWND hWnd) {
    WCHAR name[64] = {};
    GetClassNameW(hWnd, name, 64);
    return name;
}

std::wstring Selected(HWND list) {
    const LRESULT at = SendMessageW(list, CB_GETCURSEL, 0, 0);
    WCHAR text[256] = {};
    if (at != CB_ERR) SendMessageW(list, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text));
    return text;
}

class ShortcutPanel : public ShortcutsPage {
protected:
    HINSTANCE Module() const { return zqmodule::Instance(); }
    HFONT Font() const { return reinterpret_cast<HFONT>(SendMessageW(m_page, WM_GETFONT, 0, 0)); }
    // A combo box made at run time for the test's fills.
    int Combo(int row) {
        int list = 0, caption = 0;
        m_tab->PanelForTesting().BCreateLabelAndCombo(Module(), Font(), 6147, IDC_DC_CTL_HOLDER1 + row, &list, &caption);
        return list;
    }
};

// A build from 500 again keeps what fits and replaces what does not; every creator takes its ids.
TEST_F(ShortcutPanel, RebuildsKeepWindowsOfTheRightClass) {
    ASSERT_NO_FATAL_FAILURE(Start());
    int button = 0, check = 0, text = 0, caption = 0, list = 0, listCaption = 0, slider = 0, sliderCaption = 0;
    const auto build = [&](bool checkFirst) {
        m_tab->PanelForTesting().VStartBuild(IDC_LB_DOCTYPE_SETTING);
        if (checkFirst)
            m_tab->PanelForTesting().BCreateCheckBox(Module(), Font(), 6143, IDC_DC_CTL_HOLDER1, &check);
        else
            m_tab->PanelForTesting().BCreatePushButton(Module(), Font(), 6140, IDC_DC_CTL_HOLDER1, &button);
        m_tab->PanelForTesting().BCreateLabelAndText(Module(), Font(), 6140, IDC_DC_CTL_HOLDER1 + 1, &text, &caption);
        m_tab->PanelForTesting().BCreateLabelAndCombo(Module(), Font(), 6147, IDC_DC_CTL_HOLDER1 + 2, &list, &listCaption);
        m_tab->PanelForTesting().BCreateLabelAndSlider(Module(), Font(), 6140, IDC_DC_CTL_HOLDER1 + 3, &slider, &sliderCaption);
    };
    build(false);
    EXPECT_EQ((std::vector<int>{500, 502, 501, 504, 503, 506, 505}),
              (std::vector<int>{button, text, caption, list, listCaption, slider, sliderCaption}));
    EXPECT_EQ(507, m_tab->PanelForTesting().NextId());
    EXPECT_EQ(507, m_tab->PanelForTesting().EndId());
    const struct {
        int id;
        PCWSTR cls;
    } classes[] = {{500, L"Button"}, {501, L"Static"}, {502, L"Static"}, {504, L"ComboBox"}, {506, L"msctls_trackbar32"}};
    for (const auto& c : classes) EXPECT_EQ(0, lstrcmpiW(c.cls, ClassOf(Ctl(c.id)).c_str())) << c.id;
    EXPECT_EQ(1, SendMessageW(Ctl(506), TBM_GETRANGEMAX, 0, 0));
    EXPECT_FALSE(Shown(IDC_DC_CTL_HOLDER1)) << "the holder hides behind its control";
    EXPECT_NE(std::wstring::npos, Text(501).find(L":")) << "a caption ends in the colon";

    std::vector<HWND> before;
    for (int id = 500; id < 507; ++id) before.push_back(Ctl(id));
    build(false);
    for (int id = 500; id < 507; ++id) EXPECT_EQ(before[id - 500], Ctl(id)) << "kept " << id;
    // A check box in the push button's place: both are buttons, so the window stays and shows the
    // new text.
    build(true);
    EXPECT_EQ(before[0], Ctl(500));
    WCHAR expected[256] = {};
    m_tab->BLoadResString(6143, expected);
    EXPECT_EQ(std::wstring(expected), Text(500));
    // A list where the caption stood is a window of another class: replaced.
    m_tab->PanelForTesting().VStartBuild(IDC_LB_DOCTYPE_SETTING);
    m_tab->PanelForTesting().BCreateCheckBox(Module(), Font(), 6143, IDC_DC_CTL_HOLDER1, &check);
    m_tab->PanelForTesting().BCreateLabelAndCombo(Module(), Font(), 6147, IDC_DC_CTL_HOLDER1 + 4, &list, &listCaption);
    EXPECT_EQ(0, lstrcmpiW(L"ComboBox", ClassOf(Ctl(502)).c_str()));
    EXPECT_NE(before[2], Ctl(502));
    EXPECT_EQ(503, m_tab->PanelForTesting().NextId());

    // Ten rows on the template's eight holders: five a column, the last above the Help button.
    m_tab->PanelForTesting().VStartBuild(IDC_LB_DOCTYPE_SETTING);
    m_tab->PanelForTesting().VPlanRows(10);
    int rows[10] = {};
    for (int row = 0; row < 10; ++row)
        m_tab->PanelForTesting().BCreateCheckBox(Module(), Font(), 6143, IDC_DC_CTL_HOLDER1 + row, &rows[row]);
    m_tab->PanelForTesting().VFitRowsToPage();
    ASSERT_EQ(nullptr, Ctl(IDC_DC_CTL_HOLDER1 + 8));
    EXPECT_EQ(Rect(rows[0]).left, Rect(rows[4]).left);
    EXPECT_LE(Rect(rows[3]).bottom, Rect(rows[4]).top);
    EXPECT_EQ(Rect(IDC_DC_CTL_HOLDER1 + 4).top, Rect(rows[5]).top) << "the sixth heads the right column";
    EXPECT_LE(Rect(rows[9]).bottom, Rect(IDC_BTN_HELP).top);
}

// The left column follows the list row by row; the right column goes straight after the landscape
// preview button, so its rows come in the reverse of their making.
TEST_F(ShortcutPanel, TabOrderByColumn) {
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(IDC_LB_DOCTYPE_SETTING, m_tab->PanelForTesting().Anchor());
    const struct {
        BOOL right;
        int anchorAfter;
        std::vector<int> after;  // the windows that follow the anchor's start in the z-order
    } cases[] = {{FALSE, 502, {500, 501, 502}}, {TRUE, IDC_BTN_PREVIEW_LAND, {502, 501, 500}}};
    for (const auto& c : cases) {
        m_tab->PanelForTesting().VStartBuild(IDC_LB_DOCTYPE_SETTING);
        m_tab->PanelForTesting().VSetRightColumn(c.right);
        m_tab->PanelForTesting().VSetAnchorId(IDC_LB_DOCTYPE_SETTING);
        if (!c.right) {
            EXPECT_EQ(IDC_LB_DOCTYPE_SETTING, m_tab->PanelForTesting().Anchor());
        }
        int id = 0;
        for (int row = 0; row < 3; ++row) m_tab->PanelForTesting().BCreateCheckBox(Module(), Font(), 6143, IDC_DC_CTL_HOLDER1 + row, &id);
        EXPECT_EQ(c.anchorAfter, m_tab->PanelForTesting().Anchor());
        HWND at = Ctl(c.right ? IDC_BTN_PREVIEW_LAND : IDC_LB_DOCTYPE_SETTING);
        for (int expected : c.after) {
            at = GetWindow(at, GW_HWNDNEXT);
            EXPECT_EQ(expected, GetDlgCtrlID(at)) << (c.right ? "right" : "left");
        }
    }
}

TEST_F(ShortcutPanel, EditGroupsTakeTheirLimitsAndRow) {
    ASSERT_NO_FATAL_FAILURE(Start());
    PCWSTR names[] = {L"150"};
    const struct {
        PCWSTR keyword;
        int edit, spin, label, limit, low, high;
    } cases[] = {{L"Scaling", IDC_TXT_FC_SCALING, IDC_SPIN_SCALING, IDC_STA_FS_SCALING, 3, 25, 400},
                 {L"copies", IDC_TXT_FC_COPIES, IDC_SPIN_COPIES, IDC_STA_FS_COPIES, 4, 1, 9999}};
    for (const auto& c : cases) {
        m_tab->VSetupEditFeature(&m_context, c.keyword, names, 2, TRUE);
        EXPECT_EQ(c.limit, SendMessageW(Ctl(c.edit), EM_GETLIMITTEXT, 0, 0)) << c.keyword;
        const LRESULT range = SendMessageW(Ctl(c.spin), UDM_GETRANGE, 0, 0);
        EXPECT_EQ(c.low, HIWORD(range)) << c.keyword;
        EXPECT_EQ(c.high, LOWORD(range)) << c.keyword;
        EXPECT_EQ(150, static_cast<int>(GetDlgItemInt(m_page, c.edit, nullptr, FALSE)));
        EXPECT_EQ(Rect(IDC_DC_CTL_HOLDER1 + 2).top, Rect(c.label).top) << "moved into the row";
        EXPECT_EQ(Rect(c.label).bottom + 1, Rect(c.edit).top);
        EXPECT_EQ(c.spin, m_tab->PanelForTesting().Anchor());
    }
    EXPECT_EQ(L"copies:", Text(IDC_STA_FS_COPIES)) << "the keyword as the entry spells it";
    Work().dwDocTypeScaling = 80;
    m_tab->VSetupEditFeature(&m_context, L"Scaling", names, 2, FALSE);
    EXPECT_EQ(80u, GetDlgItemInt(m_page, IDC_TXT_FC_SCALING, nullptr, FALSE)) << "the working copy wins";
}

TEST_F(ShortcutPanel, ChoiceListsOfferWhatTheDriverAndTheAdministratorAllow) {
    ASSERT_NO_FATAL_FAILURE(Start());
    int none = 0, one = 1;
    int* flags[] = {&one, &none, &one, &none};
    PCWSTR keys[] = {L"A", L"B", L"C", L"D"};
    PCWSTR names[] = {L"Alpha", L"Beta", L"Gamma", L"Delta"};
    const int list = Combo(0);
    const struct {
        int current;
        std::wstring shown;
    } general[] = {{3, L"Delta"}, {2, L"Beta"}, {0, L"Beta"}};
    for (const auto& g : general) {
        m_tab->VFillChoiceCombo(&m_context, L"Quality", keys, names, flags, g.current, 4, list);
        EXPECT_EQ((std::vector<std::wstring>{L"Beta", L"Delta"}), ComboItems(Ctl(list)));
        EXPECT_EQ(g.shown, Selected(Ctl(list))) << g.current;
    }

    // Two-sided printing: without a unit or manual printing only one-sided stays; the administrator
    // may show and select the automatic text anyway, or "Off".
    PCWSTR duplexKeys[] = {L"Automatically", L"None", L"Manually", L"LeftEdgeBinding"};
    PCWSTR duplexNames[] = {L"Automatically", L"None", L"Manually", L"Left"};
    const struct {
        PCWSTR admin;
        std::vector<std::wstring> items;
        std::wstring shown;
    } duplex[] = {{nullptr, {L"None"}, L"None"}, {L"TRUE", {L"None", L"Automatically"}, L"Automatically"},
                  {L"FALSE", {L"None"}, L""}};
    for (const auto& d : duplex) {
        if (d.admin) m_printer.PutString(L"DMCDriverData\\Printing\\DevModeItems", L"Duplex", d.admin);
        m_tab->VFillChoiceCombo(&m_context, L"Duplex", duplexKeys, duplexNames, nullptr, 0, 4, list);
        EXPECT_EQ(d.items, ComboItems(Ctl(list))) << (d.admin ? d.admin : L"-");
        EXPECT_EQ(d.shown, Selected(Ctl(list))) << (d.admin ? d.admin : L"-");
    }
}

// Input bins: the automatic source takes the printer's first bin name (none without names); a bin
// the driver marks as in conflict is not offered, and when it was current the first item stands.
TEST_F(ShortcutPanel, InputBinsByThePrintersNames) {
    zqtest::FixtureFeature bins = ListFeature("InputBin", {{"AUTO", L"Auto"}, {"T1", L"Tray 1"}, {"T2", L"Tray 2"}}, 0,
                                              DMPUB_DEFSOURCE);
    bins.options[2].conflict = true;
    m_host.Add(bins);
    ASSERT_NO_FATAL_FAILURE(Start());
    const int list = Combo(0);
    PCWSTR keys[] = {L"Automatically Select", L"T1", L"T2"};
    PCWSTR names[] = {L"Automatically Select", L"Tray 1", L"Tray 2"};
    const struct {
        PCWSTR firstBin;
        int current;
        std::vector<std::wstring> items;
        std::wstring shown;
    } cases[] = {{L"", 1, {L"Tray 1"}, L"Tray 1"},
                 {L"Roll 1", 0, {L"Roll 1", L"Tray 1"}, L"Roll 1"},
                 {L"Roll 1", 2, {L"Roll 1", L"Tray 1"}, L"Roll 1"}};
    for (const auto& c : cases) {
        lstrcpyW(m_caps.szFirstBinName, c.firstBin);
        m_caps.dwUnreadLists &= ~static_cast<DWORD>(kCapsSources);
        m_tab->VFillChoiceCombo(&m_context, L"InputBin", keys, names, nullptr, c.current, 3, list);
        EXPECT_EQ(c.items, ComboItems(Ctl(list))) << c.current;
        EXPECT_EQ(c.shown, Selected(Ctl(list))) << c.current;
    }
}

TEST_F(ShortcutPanel, StaplingNeverOffersTheHelpEntry) {
    m_host.Add(ListFeature("Stapling", {{"None", L"None"}, {"One", L"One Staple"}, {"HelpIndex", L"Help"}}, 1));
    ASSERT_NO_FATAL_FAILURE(Start());
    Entries({NewEntry(L"Stapling", 0, {L"None", L"One Staple", L"Help", L"Missing"}, 0)});
    const int list = Combo(0);
    PCWSTR keys[] = {L"None", L"One", L"HelpIndex"};
    m_tab->VFillChoiceCombo(&m_context, L"Stapling", keys, keys, nullptr, 0, 3, list);
    EXPECT_EQ((std::vector<std::wstring>{L"None", L"One Staple"}), ComboItems(Ctl(list)));
    EXPECT_EQ(L"One Staple", Selected(Ctl(list)));
}

// Enabling every control leaves the slider alone and the administrator's locks in force.
TEST_F(ShortcutPanel, LocksSurviveEnablingThePanel) {
    m_printer.PutString(L"DMCLockData\\Printing", L"MediaType", L"lock");
    ASSERT_NO_FATAL_FAILURE(Start());
    int ids[4] = {};
    for (int row = 0; row < 4; ++row) ids[row] = Combo(row);
    Entries({NewEntry(L"MediaType", 0, {L"PLAIN"}, ids[0]), NewEntry(L"Quality", 0, {L"A"}, ids[1], L"True"),
             NewEntry(L"StandardPrintQuality", 9, {L"A"}, ids[2]), NewEntry(L"Duplex", 0, {L"None"}, ids[3])});
    for (int id : ids) EnableWindow(Ctl(id), FALSE);
    PCWSTR keys[] = {L"PLAIN"};
    m_tab->VFillChoiceCombo(&m_context, L"MediaType", keys, keys, nullptr, 0, 1, ids[0]);
    const struct {
        BOOL all;
        std::vector<bool> enabled;
    } cases[] = {{TRUE, {false, true, false, true}}, {FALSE, {false, false, false, true}}};
    for (const auto& c : cases) {
        m_tab->VEnablePanelControls(c.all);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(c.enabled[i], Enabled(ids[i])) << "all " << c.all << " row " << i;
    }
}

}  // namespace
