// CZQMarginsDlg: the "Layout And Margins options" dialog of the large-format printers, where the
// user prints with margins (standard, oversize or clipped contents) or borderless (enlarged by the
// printer or by the application) and picks a margin set. The choices are module-wide, shared by
// every opening; they become four features when the user confirms, except the layout radios,
// which select their option at once.
#pragma once

#include <initializer_list>

#include "common/zquibase.h"
#include "preview/zqpreviewsettings.h"

struct PageContext;

// What the dialog remembers between openings in this process.
struct ZQMarginChoices {
    int iPrintWithMargins;  // 0 standard, 1 oversize, 2 clip, 3 borderless
    int iLayout;            // 0 standard, 1 oversize, 2 clip
    int iRememberedLayout;
    int iMarginSet;  // 0 normal, 1 extended, 2 small
    int iEnlargement;  // 0 automatically by the printer, 1 manually in the application
    int iRememberedEnlargement;
};

class CZQMarginsDlg : public CZQUIBase {
public:
    CZQMarginsDlg();

    // The dialog (right-to-left template when asked), owned by hOwner: 1 OK, 2 Cancel or closed,
    // -1 when it could not be shown. The owner sets the OEMCUIPPARAM first (VSetParam).
    INT_PTR IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft);
    static INT_PTR CALLBACK MarginsDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // The roll-options picture, then the sample with the large-format fields.
    void VPaintPreview(PageContext* pContext, int iPrintWithMargins, int iMarginSet, int iEnlargement);

    void VSetParam(POEMCUIPPARAM pParam) { m_pCUIParam = pParam; }
    static ZQMarginChoices& Choices();
    const PreviewSettings& Settings() const { return m_preview; }

private:
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    void VOnCommand(int iCtrlId, PageContext* pContext);
    void VOnOk(PageContext* pContext);
    void VTogglePreviewOrientation(PageContext* pContext);
    void VReadRadios();
    void VShowLayout(int iLayout);
    void VShowUsage(INT id);
    void VHide(std::initializer_list<int> ids);
    void VEnable(std::initializer_list<int> ids, BOOL bEnable);
    void VRepaintPreview(BOOL bErase);
    // The large-format fields, the margins as "ZQPrintWithMargins" holds them.
    void VFillLargeFormat(PageContext* pContext);
    bool Checked(int id) const;
    void VCheck(int id, bool bOn);

    PreviewSettings m_preview = {};
    HWND m_hDlg = nullptr;
};
