// The slider dialog of the dry-time, ink-volume and over-spray push items.
#include "pages/dialogs/zqdrytimedlg.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <iterator>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "res/zqdrytimeids.h"

namespace {

using Modal = CZQModalDialog<CZQDryTimeDlg>;

// The record the opener handed over, kept with the window; null (last error 13) when the record,
// the dialog object or the core driver's callback record is missing.
ZQOemDialogParam* RecordOf(HWND hDlg) {
    auto* record = reinterpret_cast<ZQOemDialogParam*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (record && Modal::Of(hDlg) && record->pCBParam && record->pLogic) return record;
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
}

// The display name of an option keyword into a control; nothing when it has none.
void ShowOptionName(POEMCUIPPARAM pParam, PCWSTR pszFeature, PCWSTR pszKeyword, HWND hControl) {
    CZQLocalPtr<WCHAR> name;
    if (CZQCommon::DWOptionKeywordToName(pParam, pszFeature, pszKeyword, name.Put()) == ZQOPT_OK && name.Get())
        SetWindowTextW(hControl, name.Get());
}

}  // namespace

CZQDryTimeDlg::~CZQDryTimeDlg() { VFreeKeywords(); }

void CZQDryTimeDlg::VFreeKeywords() {
    if (m_ppszKeywords) VFreeStringList(m_ppszKeywords, m_iKeywordCount);
    m_ppszKeywords = nullptr;
    m_iKeywordCount = 0;
}

DWORD* CZQDryTimeDlg::PStoredIndex(CZQUILogic& logic, PCWSTR pszFeature) {
    if (!pszFeature) return nullptr;
    if (ZQEqualNoCase(pszFeature, zqkw::kZQDryTime) || ZQEqualNoCase(pszFeature, zqkw::kJCLZQDryTime))
        return &logic.m_adwDryTime[0];
    if (ZQEqualNoCase(pszFeature, zqkw::kZQInkVolume) || ZQEqualNoCase(pszFeature, zqkw::kJCLZQInkVolume))
        return &logic.m_adwDryTime[1];
    if (ZQEqualNoCase(pszFeature, L"ZQOverSpray")) return &logic.m_adwDryTime[2];
    return nullptr;
}

INT_PTR CZQDryTimeDlg::IRunFromPushItem(ZQOemDialogParam* pParam) {
    auto* dialog = ZQKeptPushItemDialog<CZQDryTimeDlg>(pParam, kOemDialogDryTime, &CZQUILogic::m_pDryTimeDialog);
    if (!dialog) return -1;
    if (!pParam->pszFeature) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    CZQUILogic& logic = *pParam->pLogic;
    const POEMCUIPPARAM param = logic.Param();
    const BOOL rtl = logic.SheetState() && logic.SheetState()->bRtl;
    return Modal::IRun(dialog, static_cast<HINSTANCE>(param->hModule),
                       rtl ? IDD_DLG_TREEVIEWSLIDER_RTL : IDD_DLG_TREEVIEWSLIDER,
                       pParam->pCBParam ? pParam->pCBParam->hDlg : nullptr, &DlgProc, reinterpret_cast<LPARAM>(pParam));
}

BOOL CZQDryTimeDlg::BInitDialog(HWND hDlg, ZQOemDialogParam* pParam) {
    if (!pParam || !pParam->pCBParam || !pParam->pLogic || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_hDlg = hDlg;
    m_hSlider = GetDlgItem(hDlg, IDC_SLIDER_TREEVIEWSLIDER);
    m_hGroup = GetDlgItem(hDlg, IDC_GB_TREEVIEWSLIDER);
    m_hLess = GetDlgItem(hDlg, IDC_STA_LESS);
    m_hMore = GetDlgItem(hDlg, IDC_STA_MORE);
    m_hOk = GetDlgItem(hDlg, IDOK);
    m_hCancel = GetDlgItem(hDlg, IDCANCEL);
    const PCWSTR feature = pParam->pszFeature;

    POPTITEM item = nullptr;
    DWORD topic = static_cast<DWORD>(-1);
    if (DWFindOptItem(m_pCUIParam, feature, &item) == ZQOPT_OK && item) {
        if (item->pName) {
            SetWindowTextW(hDlg, item->pName);
            SetWindowTextW(m_hGroup, item->pName);
        }
        if (item->HelpIndex) topic = item->HelpIndex;
    }
    BSetWindowTextRes(849, m_hOk, L"OK");
    BSetWindowTextRes(850, m_hCancel, L"Cancel");
    const DWORD table[] = {IDD_DLG_TREEVIEWSLIDER, static_cast<DWORD>(-1), IDC_GB_TREEVIEWSLIDER, topic,
                           IDC_STA_LESS, topic, IDC_STA_MORE, topic, IDC_SLIDER_TREEVIEWSLIDER, topic, 0, 0};
    std::copy(std::begin(table), std::end(table), m_adwHelp);

    VFreeKeywords();
    if (DWGetOptionKeywords(m_pCUIParam, feature, &m_ppszKeywords, &m_iKeywordCount, OEMCUIP_DOCPROP) != ZQOPT_OK) {
        m_ppszKeywords = nullptr;
        m_iKeywordCount = 0;
    }
    const int n = m_iKeywordCount;
    if (n > 0) {
        ShowOptionName(m_pCUIParam, feature, m_ppszKeywords[0], m_hLess);
        // The PostScript driver's last option is not offered, unless it is the only one.
        const bool dropLast = pParam->pLogic->m_dwPdl == kPdlPostScript && n >= 2;
        const int maximum = dropLast ? n - 1 : n;
        ShowOptionName(m_pCUIParam, feature, m_ppszKeywords[maximum - 1], m_hMore);
        int index = 0;
        CZQLocalPtr<WCHAR> current;
        if (DWGetFeatureOption(m_pCUIParam, feature, current.Put()) == ZQOPT_OK && current.Get())
            for (int i = 0; i < n; ++i)
                if (lstrcmpW(m_ppszKeywords[i], current.Get()) == 0) index = i;
        m_trackbar = {};
        m_trackbar.hPlaceholder = m_hSlider;
        m_trackbar.iCtrlId = IDC_SLIDER_TREEVIEWSLIDER;
        m_trackbar.iMin = 1;
        m_trackbar.iMax = maximum;
        // A current option beyond the slider (the one left out) shows at its end but is kept: an OK
        // without a move stores it again.
        m_trackbar.iPos = index + 1;
        m_trackbar.iTickFreq = 1;
        m_trackbar.hInsertAfter = m_hGroup;
        BCreateTrackbar(hDlg, static_cast<HINSTANCE>(m_pCUIParam->hModule), &m_trackbar);
    } else {
        m_trackbar = {};
    }
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pParam));
    return TRUE;
}

void CZQDryTimeDlg::VOnOk(ZQOemDialogParam* pParam) {
    // Without options there is nothing under the slider to choose.
    if (!m_trackbar.hTrackbar || m_iKeywordCount <= 0) return;
    const int position = m_trackbar.iPos;
    const HWND page = pParam->pCBParam->hDlg;
    DWORD* stored = PStoredIndex(*pParam->pLogic, pParam->pszFeature);
    const bool changed = stored && *stored != static_cast<DWORD>(position - 1);
    if (page) SendMessageW(GetParent(page), changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(page), 0);
    if (stored) *stored = static_cast<DWORD>(position - 1);
    if (position >= 1 && position <= m_iKeywordCount)
        DWSelectOptionByKeyword(m_pCUIParam, pParam->pszFeature, m_ppszKeywords[position - 1], OEMCUIP_DOCPROP);
}

INT_PTR CALLBACK CZQDryTimeDlg::DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG)
        return Modal::IStart(hDlg, [&](CZQDryTimeDlg& d) {
            return d.BInitDialog(hDlg, reinterpret_cast<ZQOemDialogParam*>(lParam));
        });
    switch (uMsg) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_CLOSE:
        case WM_HELP:
        case WM_CONTEXTMENU: break;
        default: return FALSE;
    }
    ZQOemDialogParam* record = RecordOf(hDlg);
    if (!record) return FALSE;
    CZQDryTimeDlg* dialog = Modal::Of(hDlg);
    switch (uMsg) {
        case WM_HSCROLL:
            if (dialog->m_trackbar.hTrackbar)
                dialog->m_trackbar.iPos =
                    static_cast<int>(SendMessageW(dialog->m_trackbar.hTrackbar, TBM_GETPOS, 0, 0));
            return TRUE;
        case WM_HELP: {
            const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
            if (info && info->iContextType == HELPINFO_WINDOW)
                WinHelpW(static_cast<HWND>(info->hItemHandle), record->pszHelpFile, HELP_WM_HELP,
                         reinterpret_cast<ULONG_PTR>(dialog->m_adwHelp));
            return TRUE;
        }
        case WM_CONTEXTMENU:
            WinHelpW(reinterpret_cast<HWND>(wParam), record->pszHelpFile, HELP_CONTEXTMENU,
                     reinterpret_cast<ULONG_PTR>(dialog->m_adwHelp));
            return TRUE;
        case WM_CLOSE: EndDialog(hDlg, IDCANCEL); return TRUE;
        default: break;
    }
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    if (LOWORD(wParam) == IDOK) {
        dialog->VOnOk(record);
        EndDialog(hDlg, IDOK);
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
