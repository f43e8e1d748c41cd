// The image-enhancement dialog: its opening, texts and buttons.
#include "pages/dialogs/zqimageenhancedlg.h"

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpages.h"
#include "res/zqpaperqualityids.h"

namespace {

using Modal = CZQModalDialog<CZQImageEnhanceDlg>;

}  // namespace

INT_PTR CZQImageEnhanceDlg::IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft) {
    if (!pContext || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    return Modal::IRun(this, static_cast<HINSTANCE>(m_pCUIParam->hModule),
                       bRightToLeft ? IDD_DLG_IMAGE_ENHANCEMENT_RTL : IDD_DLG_IMAGE_ENHANCEMENT, hOwner, &DlgProc,
                       reinterpret_cast<LPARAM>(pContext));
}

BOOL CZQImageEnhanceDlg::BInitDialog(HWND hDlg, PageContext* pContext) {
    if (!pContext || !pContext->pPage || !m_pCUIParam || !m_pCUIParam->pOEMDM) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // The photo enhancements take the business name where the driver says so.
    CZQLocalPtr<WCHAR> naming;
    const bool business = DWGetFeatureOption(m_pCUIParam, L"ZQLunetra", naming.Put()) == ZQOPT_OK &&
                          lstrcmpW(naming.Get(), L"ZQBusinessPrinting") == 0;
    if (business) BSetWindowTextRes(4832, hDlg, L"ZQ Lunetra Options");
    else BSetWindowTextRes(4863, hDlg, L"ZQ Digital Photography Vivrel technologies");
    BSetWindowTextRes(849, GetDlgItem(hDlg, IDOK), L"&OK");
    BSetWindowTextRes(850, GetDlgItem(hDlg, IDCANCEL), L"&Cancel");
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    return TRUE;
}

INT_PTR CALLBACK CZQImageEnhanceDlg::DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    // Without its page the dialog has nothing to show: it ends at once, as cancelled.
    if (uMsg == WM_INITDIALOG)
        return Modal::IStart(hDlg, [&](CZQImageEnhanceDlg& d) {
            return d.BInitDialog(hDlg, reinterpret_cast<PageContext*>(lParam));
        });
    PageContext* context = nullptr;
    if (!Modal::Bound(hDlg, uMsg, false, &context)) return FALSE;
    switch (uMsg) {
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            if (LOWORD(wParam) == IDOK) {
                EndDialog(hDlg, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(hDlg, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE: EndDialog(hDlg, IDCANCEL); return TRUE;
        default: return FALSE;
    }
}
