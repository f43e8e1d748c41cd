// CZQCustomPaperDlg: the custom paper dialog of the Paper/Quality page. So far it offers the search
// of the printer's forms, which the paper-size tree also uses for its branch of user forms.
#pragma once

#include "platform/oemuiplatform.h"

class CZQCustomPaperDlg {
public:
    // TRUE when the printer of the block has a form of that name (compared without regard to case);
    // *pbUserForm then tells whether the user defined it. FALSE when no form matches or the forms
    // cannot be listed.
    static BOOL BFindForm(POEMCUIPPARAM pParam, PCWSTR pszForm, BOOL* pbUserForm);
};
