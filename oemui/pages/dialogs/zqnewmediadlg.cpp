#include "pages/dialogs/zqnewmediadlg.h"

#include "common/zqmodule.h"
#include "featurelogic/zquilogic.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "res/zqpopupids.h"

namespace {

using Modal = CZQModalDialog<CZQNewMediaDlg>;

PageContext* ContextOf(HWND hDlg) {
    auto* context = reinterpret_cast<PageContext*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    if (!context || !context->pPage) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return context;
}

}  // namespace

INT_PTR CZQNewMediaDlg::IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft) {
    if (!pContext || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    const WORD id = bRightToLeft ? IDD_DLG_ADD_CUSTOM_MEDIA_RTL : IDD_DLG_ADD_CUSTOM_MEDIA;
    return Modal::IRun(this, static_cast<HINSTANCE>(m_pCUIParam->hModule), id, hOwner, &NewMediaDlgProc,
                       reinterpret_cast<LPARAM>(pContext));
}
void CZQNewMediaDlg::VGetControlHandles(HWND hDlg) {
    m_hDlg = hDlg;
    m_hCancel = GetDlgItem(hDlg, IDCANCEL);
    m_hContinue = GetDlgItem(hDlg, IDOK);
    m_hNote = GetDlgItem(hDlg, IDC_STA_CUSTOM_MEDIA5);
    m_hCancelText = GetDlgItem(hDlg, IDC_STA_CUSTOM_MEDIA4);
    m_hContinueText = GetDlgItem(hDlg, IDC_STA_CUSTOM_MEDIA3);
    m_hHeading = GetDlgItem(hDlg, IDC_STA_CUSTOM_MEDIA0);
}

// The four explanations have no string of their own: they are always English.
void CZQNewMediaDlg::VSetControlTexts() {
    BSetWindowTextRes(1, m_hContinue, L"C&ontinue");
    BSetWindowTextRes(850, m_hCancel, L"&Cancel");
    BSetWindowTextResLong(-1, m_hNote,
                          L"Note: The Printing dialog will  not be closed.In order to use  the new media by selecting "
                          L"in the paper type list.You need to close the printring dialog and re-enter to give the "
                          L"system possibility to read the updated media list once you finished the process.");
    BSetWindowTextRes(-1, m_hHeading, L"You are about to create a new media.");
    BSetWindowTextResLong(-1, m_hCancelText,
                          L"You may  cancel the process and return by selecting the 'Cancel' button.");
    BSetWindowTextResLong(-1, m_hContinueText,
                          L"Select 'Continue' to launch an external application to guide you through the process.");
}

void CZQNewMediaDlg::VTakePublicDevmode() {
    if (m_pCUIParam) m_pPublicDM = m_pCUIParam->pPublicDM;
}

INT_PTR CALLBACK NewMediaDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        CZQNewMediaDlg* dialog = Modal::Join(hDlg);
        const auto* context = reinterpret_cast<const PageContext*>(lParam);
        if (!dialog || !context || !context->pPage) {
            SetLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
        dialog->VTakePublicDevmode();
        dialog->VGetControlHandles(hDlg);
        dialog->VSetControlTexts();
        SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
        return FALSE;
    }
    CZQNewMediaDlg* dialog = Modal::Of(hDlg);
    PageContext* context = nullptr;
    switch (uMsg) {
        case WM_PAINT: {
            if (!(context = ContextOf(hDlg))) return 0;
            const BOOL rtl = context->pLogic && context->pLogic->SheetState() && context->pLogic->SheetState()->bRtl;
            const POEMCUIPPARAM param = dialog ? dialog->CUIParam() : nullptr;
            PAINTSTRUCT ps;
            BeginPaint(hDlg, &ps);
            EndPaint(hDlg, &ps);
            CZQUIBase::VPaintItemBitmap(hDlg, 0, rtl, IDB_NEW_MEDIA, IDC_ZQLOGO_HOLDER,
                                        param ? static_cast<HINSTANCE>(param->hModule) : zqmodule::Instance());
            return 0;
        }
        case WM_COMMAND: {
            // Without its rules the dialog's buttons do nothing; the close box still ends it.
            if (!(context = ContextOf(hDlg)) || !context->pRules) {
                if (context) SetLastError(ERROR_INVALID_DATA);
                return 0;
            }
            if (dialog) dialog->VTakePublicDevmode();
            if (HIWORD(wParam) != BN_CLICKED) return 0;
            if (LOWORD(wParam) == IDOK) EndDialog(hDlg, 1);
            if (LOWORD(wParam) == IDCANCEL) EndDialog(hDlg, 2);
            return 0;
        }
        case WM_CLOSE: EndDialog(hDlg, 2); return 0;
        case WM_SETCURSOR: return TRUE;
        default: return 0;
    }
}
