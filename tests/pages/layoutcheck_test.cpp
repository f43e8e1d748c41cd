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

}  // namespace
