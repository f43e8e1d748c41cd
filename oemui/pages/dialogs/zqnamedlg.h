// CZQNameDlg: the dialog that asks for a new name (templates IDD_DLG_PRESET_NAME and its
// right-to-left twin), for a Task Preset or a printing shortcut. OK is offered only for a name
// that is not blank and not the question's reserved one; the edit takes the question's limit.
#pragma once

#include "featurelogic/zqnameasker.h"

class CZQNameDlg final : public IZQNameAsker {
public:
    explicit CZQNameDlg(HINSTANCE hModule) : m_hModule(hModule) {}
    CZQNameDlg(const CZQNameDlg&) = delete;
    CZQNameDlg& operator=(const CZQNameDlg&) = delete;

    BOOL BAskName(HWND hOwner, BOOL bRtl, const ZQNameQuestion& question, PWSTR pszName, size_t cchName) override;

private:
    static INT_PTR CALLBACK DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void VStart(HWND hDlg);
    bool BAcceptable(PCWSTR pszText) const;

    HINSTANCE m_hModule;
    // While the dialog is open: its question, where the name goes, its edit and OK.
    const ZQNameQuestion* m_pQuestion = nullptr;
    PWSTR m_pszName = nullptr;
    size_t m_cchName = 0;
    HWND m_hEdit = nullptr;
    HWND m_hOk = nullptr;
};
