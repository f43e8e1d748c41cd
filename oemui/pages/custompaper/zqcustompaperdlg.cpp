#include "pages/custompaper/zqcustompaperdlg.h"

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqstrings.h"

BOOL CZQCustomPaperDlg::BFindForm(POEMCUIPPARAM pParam, PCWSTR pszForm, BOOL* pbUserForm) {
    if (!pParam || !pszForm || !pbUserForm) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    *pbUserForm = FALSE;
    CZQLocalPtr<FORM_INFO_1W> forms;
    DWORD count = 0;
    if (!CZQCommon::BEnumForms(pParam->hPrinter, forms.Put(), &count)) return FALSE;
    for (DWORD i = 0; i < count; ++i) {
        const FORM_INFO_1W& form = forms.Get()[i];
        if (!form.pName || !ZQEqualNoCase(form.pName, pszForm)) continue;
        *pbUserForm = form.Flags == FORM_USER;
        return TRUE;
    }
    return FALSE;
}
