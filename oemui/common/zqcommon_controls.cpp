// Windows, lists and the small mappings the pages share.
#include "common/zqmodule.h"
#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqstrings.h"

namespace {

// The text of a combo-box entry as a new string (null when there is none).
PWSTR ComboEntryText(HWND hCombo, int iItem) {
    const LRESULT len = SendMessageW(hCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(iItem), 0);
    if (len == CB_ERR || len < 0) return nullptr;
    CZQLocalPtr<WCHAR> text;
    if (!text.Alloc(static_cast<size_t>(len) + 1)) return nullptr;
    if (SendMessageW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(iItem), reinterpret_cast<LPARAM>(text.Get())) == CB_ERR)
        return nullptr;
    text.Get()[len] = 0;
    return text.Release();
}

}  // namespace

void CZQCommon::VShowControlHelp(HWND hWnd, DWORD dwCtrlId, DWORD dwHelpId, PCWSTR pszHelpFile) {
    DWORD ids[4] = {dwCtrlId, dwHelpId, 0, 0};
    WinHelpW(hWnd, pszHelpFile, HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(ids));
}

BOOL CZQCommon::BIsWindowVisible(HWND hWnd) {
    return (GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE) ? TRUE : FALSE;
}

BOOL CZQCommon::BCreateTrackbar(HWND hDlg, HINSTANCE hInstance, ZQTrackbarLayout* pLayout) {
    if (!hDlg || !pLayout || !pLayout->hPlaceholder) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    pLayout->hTrackbar = nullptr;
    RECT rc;
    if (!GetWindowRect(pLayout->hPlaceholder, &rc)) return FALSE;
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    HWND hTrack;
    {
        // The module's manifest chooses the common-controls version the trackbar comes from.
        zqmodule::CZQActCtxScope scope;
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        hTrack = CreateWindowExW(0, TRACKBAR_CLASSW, L"Slider", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_AUTOTICKS,
                                 rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, hDlg,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(pLayout->iCtrlId)), hInstance, nullptr);
    }
    if (!hTrack) return FALSE;
    SendMessageW(hTrack, TBM_SETRANGE, TRUE, MAKELPARAM(pLayout->iMin, pLayout->iMax));
    SendMessageW(hTrack, TBM_SETPOS, TRUE, pLayout->iPos);
    SendMessageW(hTrack, TBM_SETTICFREQ, static_cast<WPARAM>(pLayout->iTickFreq), 0);
    if (pLayout->hInsertAfter)
        SetWindowPos(hTrack, pLayout->hInsertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    pLayout->hTrackbar = hTrack;
    return TRUE;
}

int CZQCommon::IListIndexToSetting(int iIndex) { return iIndex >= 1 && iIndex <= 5 ? iIndex + 1 : 1; }

int CZQCommon::ISettingToListIndex(int iSetting) { return iSetting >= 2 && iSetting <= 6 ? iSetting - 1 : 0; }

int CZQCommon::IMapSelection1To3(int iValue) { return iValue >= 1 && iValue <= 3 ? iValue : 0; }

int CZQCommon::IComboItemToOptionIndex(int iComboItem, HWND hCombo, const OPTITEM* pItem) {
    if (!pItem || !pItem->pOptType || !pItem->pOptType->pOptParam) return -1;
    CZQLocalPtr<WCHAR> text(ComboEntryText(hCombo, iComboItem));
    if (!text) return -1;
    const OPTTYPE& type = *pItem->pOptType;
    for (int i = 0; i < type.Count; ++i) {
        PCWSTR name = type.pOptParam[i].pData;
        if (!name) break;  // the options end at the first one without a name
        if (IS_INTRESOURCE(name)) continue;
        if (lstrcmpW(name, text.Get()) == 0) return i;
    }
    return -1;
}

int CZQCommon::IFindComboString(PCWSTR pszText, HWND hCombo) {
    if (!pszText) return -1;
    const LRESULT count = SendMessageW(hCombo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        CZQLocalPtr<WCHAR> entry(ComboEntryText(hCombo, i));
        if (entry && ZQEqualNoCase(entry.Get(), pszText)) return i;
    }
    return -1;
}
