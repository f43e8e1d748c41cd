// The image-enhancement dialog as the Paper/Quality page opens it: its template by the reading
// direction, its texts, and the answers of its buttons.
#include <gtest/gtest.h>

#include <tuple>

#include "pagetest.h"

namespace {

UINT g_press;             // IDOK, IDCANCEL or WM_CLOSE
std::wstring g_seen;      // OK's and Cancel's texts, and "rtl" for a mirrored dialog

void CALLBACK Press(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(L"#32770", L"ZQ Digital Photography Vivrel technologies");
    if (!dialog) return;
    KillTimer(nullptr, timer);
    WCHAR ok[32] = {}, cancel[32] = {};
    GetDlgItemTextW(dialog, IDOK, ok, 32);
    GetDlgItemTextW(dialog, IDCANCEL, cancel, 32);
    g_seen = std::wstring(ok) + L"|" + cancel + ((GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) ? L"|rtl" : L"");
    if (g_press == WM_CLOSE) PostMessageW(dialog, WM_CLOSE, 0, 0);
    else PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(g_press, BN_CLICKED), 0);
}

TEST_F(PaperQualityPage, ImageEnhancementDialogAnswersItsButtons) {
    AddItems();
    Build();
    CZQImageEnhanceDlg& dialog = m_tab->DialogsForTesting().imageEnhance;
    EXPECT_EQ(-1, dialog.IDoModal(m_parent, &m_context, FALSE)) << "not before the page hands its block over";
    dialog.VSetParam(m_host.Param());
    dialog.VSetResourceModule(m_tab->HResModule());
    for (const auto& [rtl, press, result] : {std::make_tuple(FALSE, UINT(IDOK), IDOK),
                                             std::make_tuple(TRUE, UINT(IDCANCEL), IDCANCEL),
                                             std::make_tuple(FALSE, UINT(WM_CLOSE), IDCANCEL)}) {
        g_press = press;
        g_seen.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, &Press);
        EXPECT_EQ(result, dialog.IDoModal(m_parent, &m_context, rtl)) << press;
        KillTimer(nullptr, timer);
        EXPECT_EQ(rtl ? L"&OK|&Cancel|rtl" : L"&OK|&Cancel", g_seen);
        EXPECT_FALSE(dialog.BChanged()) << "nothing to change yet";
    }
    // Without the page's context the dialog ends at once, cancelled.
    PageContext noPage = m_context;
    noPage.pPage = nullptr;
    EXPECT_EQ(IDCANCEL, dialog.IDoModal(m_parent, &noPage, FALSE));
}

}  // namespace
