// The layout check itself: a page laid out wrong on purpose shows every kind of fault, a sound one
// none, also once laid out anew to a larger sheet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layoutcheck.h"
#include "pages/zqsheettemplates.h"
#include "zqdlgtemplate.h"

namespace {

INT_PTR CALLBACK Quiet(HWND, UINT uMsg, WPARAM, LPARAM) { return uMsg == WM_INITDIALOG; }

std::vector<std::string> AllFaults(HWND page, WORD id) {
    std::vector<std::string> all;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    for (const auto& found : {zqtest::LayoutFaults(page, module, id), zqtest::TextFaults(page),
                              zqtest::SheetFaults(page, module, id)})
        all.insert(all.end(), found.begin(), found.end());
    return all;
}

TEST(LayoutCheck, SeesEveryKindOfFaultOnABrokenPage) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 800, nullptr, nullptr, nullptr, nullptr);
    HWND page = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(400), owner, &Quiet, 0);
    ASSERT_NE(nullptr, page);
    SendDlgItemMessageW(page, 4007, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"An entry far too long for the list"));
    // The box moved out of the frame the template puts it in; the sheet twice the page's size.
    RECT rc;
    GetWindowRect(GetDlgItem(page, 4004), &rc);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rc), 2);
    SetWindowPos(GetDlgItem(page, 4004), nullptr, rc.left, rc.top - 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetClientRect(page, &rc);
    SetWindowPos(page, nullptr, 0, 0, 2 * rc.right, 2 * rc.bottom, SWP_NOMOVE | SWP_NOZORDER);
    const std::vector<std::string> faults = AllFaults(page, 400);
    std::string all;
    for (const std::string& fault : faults) all += fault + "\n";
    for (const char* expected :
         {"#4001 (Static) \"A label far too long", "#4002 (Button)", "lies over #4003", "#4004 (Button)",
          "out of its frame #4002", "#4005 (Button)", "frames nothing", "where the hidden group #4006 was, above #4007",
          "#4007 (ComboBox) \"An entry far too long", "empty beside its controls", "empty below its controls"})
        EXPECT_NE(std::string::npos, all.find(expected)) << expected << " in\n" << all;
    DestroyWindow(page);
    DestroyWindow(owner);
}

// A sound page stays sound when its template is laid out anew to a sheet half as large again:
// frames and lists grow, buttons keep their size, nothing comes to overlap and the page fills it.
TEST(LayoutCheck, ASoundPageLaidOutToALargerSheetStaysSound) {
    HMODULE module = GetModuleHandleW(nullptr);
    zqdlg::Template source;
    const void* data = nullptr;
    size_t size = 0;
    ASSERT_TRUE(zqdlg::ReadResource(module, 401, &source, &data, &size));
    const auto copy = ZQStretchTemplate(data, size, static_cast<short>(source.Cx() * 3 / 2),
                                        static_cast<short>(source.Cy() * 3 / 2));
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(nullptr, ZQStretchTemplate(data, size, static_cast<short>(source.Cx() - 1), source.Cy()));
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 800, nullptr, nullptr, nullptr, nullptr);
    HWND plain = CreateDialogParamW(module, MAKEINTRESOURCEW(401), owner, &Quiet, 0);
    HWND laid = CreateDialogIndirectParamW(module, reinterpret_cast<const DLGTEMPLATE*>(copy.get()), owner, &Quiet, 0);
    ASSERT_TRUE(plain && laid);
    for (const std::string& fault : AllFaults(plain, 401)) ADD_FAILURE() << "plain: " << fault;
    for (const std::string& fault : AllFaults(laid, 401)) ADD_FAILURE() << "laid out: " << fault;
    const auto size_of = [](HWND page, int id) {
        RECT rc;
        GetWindowRect(GetDlgItem(page, id), &rc);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    };
    EXPECT_GT(size_of(laid, 4011).cx, size_of(plain, 4011).cx);
    EXPECT_GT(size_of(laid, 4011).cy, size_of(plain, 4011).cy);
    EXPECT_GT(size_of(laid, 4013).cx, size_of(plain, 4013).cx);
    EXPECT_EQ(size_of(plain, 4014).cx, size_of(laid, 4014).cx);
    EXPECT_EQ(size_of(plain, 4014).cy, size_of(laid, 4014).cy);
    DestroyWindow(laid);
    DestroyWindow(plain);
    DestroyWindow(owner);
}

// Draws as a careless page does: the picture at its holder's corner on the page at four times the
// holder's size, the row's text from the row's left on, cut where the row ends.
INT_PTR CALLBACK DrawsWrong(HWND hDlg, UINT uMsg, WPARAM, LPARAM lParam) {
    if (uMsg != WM_DRAWITEM) return uMsg == WM_INITDIALOG;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlID == 4022) {
        HDC dc = GetDC(hDlg);
        RECT rc;
        GetWindowRect(item->hwndItem, &rc);
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        rc.right = rc.left + 4 * (rc.right - rc.left);
        rc.bottom = rc.top + 4 * (rc.bottom - rc.top);
        FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(hDlg, dc);
    } else if (item->itemID != static_cast<UINT>(-1)) {
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_WINDOW));
        const wchar_t text[] = L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";
        ExtTextOutW(item->hDC, item->rcItem.left + 4, item->rcItem.top, ETO_CLIPPED, &item->rcItem, text, 30, nullptr);
    }
    return TRUE;
}

// A strip of black rows 20 pixels high every 30, each click on its down arrow scrolling 7 pixels.
LRESULT CALLBACK StripProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_VSCROLL && LOWORD(wParam) == SB_LINEDOWN) {
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, GetWindowLongPtrW(hWnd, GWLP_USERDATA) + 7);
        InvalidateRect(hWnd, nullptr, TRUE);
    } else if (uMsg == WM_VSCROLL && LOWORD(wParam) == SB_TOP) {
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
    } else if (uMsg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hWnd, &ps);
        const LONG scroll = static_cast<LONG>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        for (LONG top = 5 - scroll; top < 100; top += 30) {
            const RECT row = {0, top, 40, top + 20};
            FillRect(dc, &row, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
        EndPaint(hWnd, &ps);
        return 0;
    }
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

TEST(LayoutCheck, SeesPicturesRowsAndStripsDrawnWrong) {
    const WNDCLASSW strip = {0, &StripProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr,
                             GetSysColorBrush(COLOR_WINDOW), nullptr, L"ZQTestStrip"};
    RegisterClassW(&strip);
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr, nullptr, nullptr, nullptr);
    HWND page = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(402), owner, &DrawsWrong, 0);
    ASSERT_NE(nullptr, page);
    SendDlgItemMessageW(page, 4024, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"row"));
    CreateWindowExW(0, L"ZQTestStrip", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 10, 120, 80, 30, page,
                    reinterpret_cast<HMENU>(4025), nullptr, nullptr);
    std::string all;
    for (const auto& found : {zqtest::PictureFaults(page, GetModuleHandleW(nullptr), 402), zqtest::RowFaults(page)})
        for (const std::string& fault : found) all += fault + "\n";
    for (const char* expected : {"#4022 (Static) draws its picture", "out of its frame #4021", "over #4023 (Static)",
                                 "#4024 (ListBox) row 0 \"row\"", "#4025 (ZQTestStrip) shows a row cut at its bottom edge after"})
        EXPECT_NE(std::string::npos, all.find(expected)) << expected << " in\n" << all;
    EXPECT_EQ(std::string::npos, all.find("as it stands")) << all;
    DestroyWindow(page);
    DestroyWindow(owner);
}

}  // namespace
