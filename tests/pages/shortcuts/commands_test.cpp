// The page's commands on the roll sample's list: choosing rows applies their quick sets, Save As
// puts a new shortcut right under its type (or replaces one of that name) with a quick set of the
// same name, Delete takes one out and selects a neighbour, the sample page turns, the slider writes
// the quality, and the customised row only offers Save As.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "res/zqquicksetids.h"
#include "shortcutstest.h"

namespace {

using zqtest::ListFeature;

class ShortcutCommands : public ShortcutList {
protected:
    // The page with the quick sets loaded; stored shortcuts "name:type".
    void Open(const std::vector<std::wstring>& stored = {}, bool restricted = false) {
        Store(stored, {});
        m_printer.SetRestrictedUser(restricted);
        ASSERT_NO_FATAL_FAILURE(Start());
        CZQQuickSets& quickSets = QuickSets();
        quickSets.VAttach(&m_logic, nullptr, &m_caps);
        quickSets.VSetParam(m_host.Param(), OEMCUIP_DOCPROP);
        // The installation writes the helper file's task presets, the next sheet lists them.
        for (DWORD installing : {1, 0}) {
            m_printer.PutValue(L"PrinterDriverData", L"InstallationComplete", REG_DWORD,
                               reinterpret_cast<const BYTE*>(&installing), sizeof installing);
            quickSets.VLoad(m_rules.get(), &Work());
        }
    }
    CZQQuickSets& QuickSets() { return *m_context.pQuickSets; }
    bool HasQuickSet(PCWSTR name) { return QuickSets().PFindEntry(name) != nullptr; }
    int QuickSetsNamed(PCWSTR name) {
        int n = 0;
        for (const QuickSetEntry* e = QuickSets().PFirstEntry(); e; e = e->pNext) n += lstrcmpiW(e->head.szName, name) == 0;
        return n;
    }
    void Choose(const std::wstring& row) {
        const LRESULT at = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(row.c_str()));
        ASSERT_NE(LB_ERR, at) << "no row " << std::string(row.begin(), row.end());
        SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_SETCURSEL, at, 0);
        Notice(m_page, IDC_LB_DOCTYPE_SETTING, LBN_SELCHANGE);
    }
    std::wstring SelectedRow() {
        WCHAR text[256] = {};
        const LRESULT at = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETCURSEL, 0, 0);
        if (at != LB_ERR) SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETTEXT, at, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Save As with the name typed in its dialog (cancelled when empty); the answer to any question.
    void SaveAs(PCWSTR name, int answer = IDYES) {
        BoxAnswers boxes(answer);
        Modal(
            [&] {
                Click(m_page, IDC_BTN_SAVE);
                return INT_PTR{0};
            },
            [&](HWND dlg) {
                if (!name[0]) return Click(dlg, IDCANCEL);
                SetWindowTextW(GetDlgItem(dlg, IDC_TXT_PRESET_NAME), name);
                Notice(dlg, IDC_TXT_PRESET_NAME, EN_CHANGE);
                Click(dlg, IDOK);
            });
    }
    bool StoredInPrinter(PCWSTR name) {
        std::vector<BYTE> data;
        return m_printer.GetValue(kPool, name, nullptr, &data);
    }
};

// Save As lists the new shortcut right under the type it was saved from, with a record and a quick
// set of its name; saving over a stored name replaces it (one row, one quick set); a cancelled
// dialog or a declined replacement changes nothing.
TEST_F(ShortcutCommands, SaveAsListsTheShortcutUnderItsType) {
    ASSERT_NO_FATAL_FAILURE(Open({L"Gallery:Photo"}));
    const struct {
        PCWSTR name;
        int answer;
        std::vector<std::wstring> rows;
        bool stored;
        int quickSets;
    } cases[] = {
        {L"", IDYES, {L"Drawings", L"Photo", L"Customized Settings", L"Gallery", L"Posters", L"Everyday"}, false, 0},
        {L"Plans", IDYES, {L"Drawings", L"Photo", L"Plans", L"Gallery", L"Posters", L"Everyday"}, true, 1},
        {L"Gallery", IDNO, {L"Drawings", L"Photo", L"Customized Settings", L"Plans", L"Gallery", L"Posters", L"Everyday"},
         true, 0},
        {L"Gallery", IDYES, {L"Drawings", L"Photo", L"Gallery", L"Plans", L"Posters", L"Everyday"}, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.name).size() << " " << c.answer);
        // The settings leave the chosen type: its customised row offers Save As.
        Choose(L"Photo");
        Click(m_page, IDC_BTN_PREVIEW_LAND);
        ASSERT_TRUE(Enabled(IDC_BTN_SAVE));
        SaveAs(c.name, c.answer);
        EXPECT_EQ(c.rows, Rows());
        EXPECT_EQ(static_cast<int>(Rows().size()), m_tab->BitmapsForTesting().Count()) << "a picture per row";
        if (!c.name[0]) continue;
        EXPECT_EQ(c.stored, StoredInPrinter(c.name));
        EXPECT_EQ(c.quickSets, QuickSetsNamed(c.name)) << "one quick set of the name";
        if (c.answer == IDYES) {
            EXPECT_EQ(c.name, SelectedRow());
        }
    }
}

}  // namespace
