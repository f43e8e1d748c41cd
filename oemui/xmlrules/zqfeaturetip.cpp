#include "xmlrules/zqfeaturetip.h"

#include <new>
#include <string>

#include "common/zqcommon.h"
#include "common/zqmsgbox.h"
#include "common/zqtrace.h"

namespace {

// Control ids of the icon windows: raised before each creation, so the first icon is 4778.
LONG g_lastTipControlId = 4777;

// Texts are read into 511 characters and cut there.
constexpr size_t kTipTextChars = CZQCommon::kResStringLongChars;

// The id's text, empty when it cannot be loaded.
std::wstring LoadTipText(CZQCommon* pLoader, INT id) {
    if (!pLoader) return std::wstring();
    WCHAR text[kTipTextChars];
    text[0] = L'\0';
    if (!pLoader->BLoadResStringLong(id, text)) text[0] = L'\0';
    return text;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CZQFeatureTipWindow
// ---------------------------------------------------------------------------------------------
CZQFeatureTipWindow::CZQFeatureTipWindow(HINSTANCE hModule, CZQCommon* pTextLoader)
    : m_hModule(hModule), m_pTextLoader(pTextLoader) {}

CZQFeatureTipWindow::~CZQFeatureTipWindow() { VDestroy(); }

void CZQFeatureTipWindow::VForgetIconWindow() {
    if (m_hIcon && IsWindow(m_hIcon) &&
        GetWindowLongPtrW(m_hIcon, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        SetWindowLongPtrW(m_hIcon, GWLP_USERDATA, 0);
    m_hIcon = nullptr;
}

void CZQFeatureTipWindow::VDestroy() {
    if (!m_hIcon) return;
    HWND hIcon = m_hIcon;
    // The window forgets this object first: should it outlive the call (another thread's
    // window), its procedure no longer reaches us.
    VForgetIconWindow();
    if (IsWindow(hIcon)) DestroyWindow(hIcon);
}

BOOL CZQFeatureTipWindow::BCreate(HWND hAnchor) {
    ZQ_TRACE("CZQFeatureTipWindow::BCreate");
    if (!hAnchor || !IsWindow(hAnchor)) return FALSE;
    HWND hDlg = GetParent(hAnchor);
    if (!hDlg || !IsWindow(hDlg)) return FALSE;
    m_hAnchor = hAnchor;
    m_hDlg = hDlg;
    const LONG id = InterlockedIncrement(&g_lastTipControlId);

    RECT rc = {};
    GetClientRect(hAnchor, &rc);
    MapWindowPoints(hAnchor, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    const int x = rc.left - kIconSize, y = rc.top;

    // An icon window of another dialog (one that closed without a detach) is not reused.
    if (m_hIcon && (!IsWindow(m_hIcon) || GetParent(m_hIcon) != hDlg)) VDestroy();
    if (!m_hIcon) {
        m_hIcon = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_ICON, x, y, kIconSize,
                                  kIconSize, hDlg, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), m_hModule,
                                  nullptr);
        if (!m_hIcon) return FALSE;
    }
    SetWindowPos(m_hIcon, hAnchor, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);

    m_hIconNormal = LoadIconW(nullptr, IDI_INFORMATION);
    m_hIconPressed = LoadIconW(nullptr, IDI_INFORMATION);
    if (!m_hIconNormal || !m_hIconPressed) return FALSE;
    SetWindowLongPtrW(m_hIcon, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hIcon, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IconWndProc));
    VSetState(kStateNormal);
    VUpdateVisibility();
    return TRUE;
}

void CZQFeatureTipWindow::VAddBubbleId(INT id) {
    if (id == 0) return;
    if (m_bubbleIds.IFindId(id) < 0) m_bubbleIds.BAppendId(id);
    VUpdateVisibility();
}

BOOL CZQFeatureTipWindow::BRemoveBubbleId(INT id) {
    const int i = m_bubbleIds.IFindId(id);
    if (i >= 0) m_bubbleIds.VRemoveAt(i, 1);
    VUpdateVisibility();
    return i >= 0;
}

void CZQFeatureTipWindow::VUpdateVisibility() {
    if (!m_hIcon || !IsWindow(m_hIcon)) return;
    const bool show = m_hAnchor && IsWindow(m_hAnchor) && m_bubbleIds.GetCount() > 0;
    ShowWindow(m_hIcon, show ? SW_SHOW : SW_HIDE);
}

void CZQFeatureTipWindow::VSetState(DWORD dwState) {
    m_dwState = dwState;
    if (m_hIcon && IsWindow(m_hIcon)) InvalidateRect(m_hIcon, nullptr, TRUE);
}

void CZQFeatureTipWindow::VShowTipMessage() {
    if (m_bubbleIds.GetCount() == 0) return;
    std::wstring text = LoadTipText(m_pTextLoader, m_idMainText);
    text += L"\t\n";
    for (int i = 0; i < m_bubbleIds.GetCount(); ++i) {
        text += L"\t";
        text += LoadTipText(m_pTextLoader, m_bubbleIds.IdAt(i));
        text += L"\t\n";
    }
    zqmsgbox::IShow(m_hDlg, text.c_str(), L"Feature tip ", MB_OK | MB_ICONINFORMATION);
}

LRESULT CALLBACK CZQFeatureTipWindow::IconWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CZQFeatureTipWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    return self->LHandle(hWnd, uMsg, wParam, lParam);
}

LRESULT CZQFeatureTipWindow::LHandle(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hWnd, nullptr, TRUE);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = BeginPaint(hWnd, &ps);
            if (hdc) {
                if (GetFocus() == hWnd) {
                    const RECT focus = {0, 0, kIconSize, kIconSize};
                    DrawFocusRect(hdc, &focus);
                }
                if (m_dwState == kStatePressed)
                    DrawIconEx(hdc, 3, 3, m_hIconPressed, 16, 16, 0, nullptr, DI_NORMAL);
                else
                    DrawIconEx(hdc, 1, 1, m_hIconNormal, 16, 16, 0, nullptr, DI_NORMAL);
            }
            EndPaint(hWnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: {
            HDC hdc = reinterpret_cast<HDC>(wParam);
            if (!hdc) return FALSE;
            RECT rc;
            GetClientRect(hWnd, &rc);
            FillRect(hdc, &rc, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
            return TRUE;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) {
                VSetState(kStatePressed);
                m_bKey = TRUE;
            }
            return 0;
        case WM_KEYUP:
            VSetState(kStateNormal);
            if (wParam == VK_SPACE && m_bKey) {
                m_bKey = FALSE;
                VShowTipMessage();
            }
            return 0;
        case WM_LBUTTONDOWN: {
            VSetState(kStatePressed);
            m_bMouse = TRUE;
            TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, hWnd, HOVER_DEFAULT};
            TrackMouseEvent(&tme);
            SetFocus(hWnd);
            return 0;
        }
        case WM_LBUTTONUP:
            VSetState(kStateNormal);
            if (m_bMouse) {
                m_bMouse = FALSE;
                VShowTipMessage();
            }
            return 0;
        case WM_MOUSELEAVE:
            VSetState(kStateNormal);
            m_bMouse = FALSE;
            return 0;
        case WM_NCDESTROY:
            // The dialog went without a detach: the object stays, the window is gone.
            VForgetIconWindow();
            return DefWindowProcW(hWnd, uMsg, wParam, lParam);
        default:
            return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
}

// ---------------------------------------------------------------------------------------------
// CZQFeatureTipIcon
// ---------------------------------------------------------------------------------------------
CZQFeatureTipIcon::~CZQFeatureTipIcon() { delete m_pTipWindow; }

BOOL CZQFeatureTipIcon::BNewTipWindow(HINSTANCE hModule, HINSTANCE) {
    delete m_pTipWindow;
    m_pTipWindow = new (std::nothrow) CZQFeatureTipWindow(hModule, m_pTextLoader);
    return m_pTipWindow != nullptr;
}

BOOL CZQFeatureTipIcon::BAttach(HWND, HWND hAnchor) {
    if (!m_pTipWindow) return FALSE;
    const BOOL created = m_pTipWindow->BCreate(hAnchor);
    m_pTipWindow->VSetMainTextId(ZQ_IDS_FEATURE_TIP);
    return created;
}

BOOL CZQFeatureTipIcon::BDestroy() {
    if (!m_pTipWindow) return FALSE;
    m_pTipWindow->VDestroy();
    return TRUE;
}

BOOL CZQFeatureTipIcon::BAddBubbleId(INT id) {
    if (!m_pTipWindow) return FALSE;
    m_pTipWindow->VAddBubbleId(id);
    return TRUE;
}

BOOL CZQFeatureTipIcon::BRemoveBubbleId(INT id) { return m_pTipWindow ? m_pTipWindow->BRemoveBubbleId(id) : FALSE; }

BOOL CZQFeatureTipIcon::BAddMessageId(INT id) {
    if (m_messageIds.IFindId(id) >= 0) return FALSE;
    return m_messageIds.BAppendId(id);
}

int CZQFeatureTipIcon::IShowMessage(HWND hDlg) {
    if (m_messageIds.GetCount() == 0) return IDOK;
    std::wstring text = LoadTipText(m_pTextLoader, ZQ_IDS_CONSTRAINT_HEAD);
    text += L"\t\n\n";
    for (int i = 0; i < m_messageIds.GetCount(); ++i) {
        text += LoadTipText(m_pTextLoader, m_messageIds.IdAt(i));
        text += L"\t\n";
    }
    const std::wstring tail = LoadTipText(m_pTextLoader, ZQ_IDS_CONSTRAINT_TAIL);
    if (!tail.empty()) {
        text += L"\t\n";
        text += tail;
        text += L"\t\n";
    }
    m_messageIds.VSetSize(0);
    return zqmsgbox::IShow(hDlg, text.c_str(), L"Feature tip", MB_OKCANCEL | MB_ICONINFORMATION);
}

void CZQFeatureTipIcon::VSetTextLoader(CZQCommon* pTextLoader) {
    m_pTextLoader = pTextLoader;
    if (m_pTipWindow) m_pTipWindow->VSetTextLoader(pTextLoader);
}
