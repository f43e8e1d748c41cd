// The one page procedure: which messages reach a page, split how, and what the procedure answers.
#include <gtest/gtest.h>

#include "testsupport.h"

#include <algorithm>
#include <string>
#include <vector>

#include "pages/zqpagebase.h"

namespace {

// A page that records what reaches it; its commands need the rules object as well.
class CShellPage : public CZQPageBase {
public:
    explicit CShellPage(POEMCUIPPARAM pParam) { m_pCUIParam = pParam; }
    std::vector<std::wstring> seen;

private:
    friend class ::ZQPageShell;
    static unsigned Needs(UINT uMsg) {
        return uMsg == WM_COMMAND ? zqpage::kNeedItems | zqpage::kNeedRules : zqpage::kNeedItems;
    }
    BOOL BInitDialog(HWND hDlg, PageContext* pContext) {
        SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
        seen.push_back(L"start");
        return TRUE;
    }
    void VOnDestroy() { seen.push_back(L"end"); }
    LRESULT IOnNotify(HWND, const NMHDR* pHeader, PageContext*) {
        seen.push_back(L"notice");
        return pHeader->code == static_cast<UINT>(PSN_APPLY) ? PSNRET_INVALID_NOCHANGEPAGE : PSNRET_NOERROR;
    }
    INT_PTR IOnCommand(HWND, int iCtrlId, int iCode, HWND hCtrl, PageContext*) {
        seen.push_back(L"command " + std::to_wstring(iCtrlId) + L" " + std::to_wstring(iCode) + (hCtrl ? L" control" : L""));
        return TRUE;
    }
    void VOnHelp(HWND hWnd, UINT uCommand, PageContext*) {
        seen.push_back(L"help " + std::to_wstring(uCommand) + (hWnd ? L" window" : L""));
    }
    INT_PTR IOnMessage(HWND, UINT uMsg, WPARAM, LPARAM, PageContext*) {
        seen.push_back(L"own " + std::to_wstring(uMsg));
        return 7;
    }
};

TEST(PageShell, APageSeesOnlyWhatItsContextAllowsSplitAndAnswered) {
    OEMCUIPPARAM param = {};
    CShellPage page(&param);
    int rules = 0;
    PageContext context = {};
    context.pPage = &page;
    PageContext noPage = {};
    PROPSHEETPAGEW psp = {};

    // No start without a page object.
    for (PageContext* start : {static_cast<PageContext*>(nullptr), &noPage}) {
        psp.lParam = reinterpret_cast<LPARAM>(start);
        SetLastError(0);
        EXPECT_EQ(FALSE, ZQPageShell::Proc<CShellPage>(nullptr, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&psp)));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
        EXPECT_TRUE(page.seen.empty());
    }
    // A window of its own: the page keeps its context in DWLP_USER.
    struct {
        DLGTEMPLATE dlg;
        WORD menu, cls, title;
    } tpl = {{WS_POPUP, 0, 0, 0, 0, 10, 10}, 0, 0, 0};
    psp.lParam = reinterpret_cast<LPARAM>(&context);
    HWND hDlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &tpl.dlg, nullptr, &ZQPageShell::Proc<CShellPage>,
                                           reinterpret_cast<LPARAM>(&psp));
    ASSERT_NE(nullptr, hDlg);
    ASSERT_FALSE(page.seen.empty());
    EXPECT_EQ(L"start", page.seen.front());

    NMHDR apply = {hDlg, 0, static_cast<UINT>(PSN_APPLY)};
    NMHDR click = {hDlg, 0, static_cast<UINT>(NM_CLICK)};
    HELPINFO help = {sizeof help, HELPINFO_WINDOW, 0, hDlg, 0, {}};
    const struct {
        const char* what;
        bool withRules;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        INT_PTR answer;
        std::wstring seen;  // empty: the page saw nothing, with last error 13
        LONG_PTR messageResult;
    } cases[] = {
        {"a command without the rules", false, WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), 0, FALSE, L"", -1},
        {"a command, split", true, WM_COMMAND, MAKEWPARAM(5, EN_CHANGE), reinterpret_cast<LPARAM>(hDlg), TRUE,
         L"command 5 768 control", -1},
        {"a sheet notice", false, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&apply), TRUE, L"notice",
         PSNRET_INVALID_NOCHANGEPAGE},
        {"another notification", false, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click), 7, L"own 78", -1},
        {"help on a control", false, WM_HELP, 0, reinterpret_cast<LPARAM>(&help), FALSE, L"help 12 window", -1},
        {"help from the context menu", false, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hDlg), 0, FALSE,
         L"help 10 window", -1},
        {"painting", false, WM_PAINT, 0, 0, 7, L"own 15", -1},
    };
    for (const auto& c : cases) {
        context.pRules = c.withRules ? reinterpret_cast<CZQXmlUiRules*>(&rules) : nullptr;
        page.seen.clear();
        SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, -1);
        SetLastError(0);
        EXPECT_EQ(c.answer, ZQPageShell::Proc<CShellPage>(hDlg, c.message, c.wParam, c.lParam)) << c.what;
        EXPECT_EQ(c.seen.empty() ? std::vector<std::wstring>{} : std::vector<std::wstring>{c.seen}, page.seen) << c.what;
        if (c.seen.empty()) {
            EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError()) << c.what;
        }
        EXPECT_EQ(c.messageResult, GetWindowLongPtrW(hDlg, DWLP_MSGRESULT)) << c.what;
    }

    // The end reaches the page.
    page.seen.clear();
    DestroyWindow(hDlg);
    EXPECT_NE(page.seen.end(), std::find(page.seen.begin(), page.seen.end(), L"end"));
}

}  // namespace
