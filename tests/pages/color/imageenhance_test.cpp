// The image-enhancement dialog as the Paper/Quality page opens it: its template by the reading
// direction, its texts, and the answers of its buttons.
#include <gtest/gtest.h>

#include "pagetest.h"

namespace {

struct DialogCase {
    BOOL rightToLeft;
    UINT press;  // IDOK, IDCANCEL or WM_CLOSE
    INT_PTR result;
};

DialogCase g_case;
bool g_seen = false;
std::wstring g_ok, g_cancel;
bool g_mirrored = false;

void CALLBACK Press(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(L"#32770", L"ZQ Digital Photography Vivrel technologies");
    if (!dialog) return;
    KillTimer(nullptr, timer);
    g_seen = true;
    WCHAR text[64] = {};
    GetDlgItemTextW(dialog, IDOK, text, 64);
    g_ok = text;
    GetDlgItemTextW(dialog, IDCANCEL, text, 64);
    g_cancel = text;
    g_mirrored = (GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    if (g_case.press == WM_CLOSE)
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    else
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(g_case.press, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, static_cast<int>(g_case.press))));
}

TEST_F(PaperQualityPage, ImageEnhancementDialogAnswersItsButtons) {
    AddItems();
    Build();
    CZQImageEnhanceDlg& dialog = m_tab->ImageEnhanceDlg();
    EXPECT_EQ(-1, dialog.IDoModal(m_parent, &m_context, FALSE)) << "not before the page hands its block over";
    dialog.VSetParam(m_host.Param());
    dialog.VSetResourceModule(m_tab->HResModule());
    for (const DialogCase& c : {DialogCase{FALSE, IDOK, IDOK}, DialogCase{TRUE, IDCANCEL, IDCANCEL},
                                DialogCase{FALSE, WM_CLOSE, IDCANCEL}}) {
        SCOPED_TRACE(c.press);
        g_case = c;
        g_seen = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, &Press);
        EXPECT_EQ(c.result, dialog.IDoModal(m_parent, &m_context, c.rightToLeft));
        KillTimer(nullptr, timer);
        ASSERT_TRUE(g_seen);
        EXPECT_EQ(L"&OK", g_ok);
        EXPECT_EQ(L"&Cancel", g_cancel);
        EXPECT_EQ(c.rightToLeft != FALSE, g_mirrored);
        EXPECT_FALSE(dialog.BChanged()) << "nothing to change yet";
    }
    // Without the page's context the dialog ends at once, cancelled.
    PageContext noPage = m_context;
    noPage.pPage = nullptr;
    EXPECT_EQ(IDCANCEL, dialog.IDoModal(m_parent, &noPage, FALSE));
}

}  // namespace
