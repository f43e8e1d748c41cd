// CZQWatermarkControls: the Watermark Details dialog's controls over the watermark manager's lists
// and working copy: their texts, help and lists, the name list as the main list shows it, and the
// manager's current entry and working copy shown in the controls and read back from them. The
// dialog owns it for its whole life; the manager keeps the data and no window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "featurelogic/zqwatermarks.h"
#include "pages/zqpagecontrols.h"

struct ZQUIDevmode;

class CZQWatermarkControls {
public:
    static constexpr int kHelpPairs = 17;

    explicit CZQWatermarkControls(CZQWatermarks& watermarks) : m_wm(watermarks) {}
    // The colour pictures go with the object should the dialog end without its OK or Cancel.
    ~CZQWatermarkControls() {
        if (m_hColorImages) ImageList_Destroy(m_hColorImages);
    }
    CZQWatermarkControls(const CZQWatermarkControls&) = delete;
    CZQWatermarkControls& operator=(const CZQWatermarkControls&) = delete;

    // The dialog's window kept, its title and controls' texts set.
    void VAttach(HWND hDlg);
    HWND Item(int iCtrlId) const { return m_window.Item(iCtrlId); }
    // The colour list lets go of its pictures, which go; the controls forgotten.
    void VDetach();
    // kHelpPairs pairs and (0, 0); a control the administrator locked answers with the lock's topic.
    static void VGetHelpIds(DWORD* pdwTable, HANDLE hPrinter);

    // ---- the lists
    void VFillFontCombo();
    // Seven colours, or gray alone for a monochrome document (iColorMode 1).
    void VFillColorCombo(int iColorMode);
    void VFillShadeCombo();
    void VFillStyleCombo();
    // The face in the font list, else the language's face, else the list's first (written back
    // into pszFace, 256); its index, -1 for an empty list.
    int ISelectFont(PWSTR pszFace);

    // ---- the name list
    // The manager's list as the dialog opens on it, the settings' watermark current and selected,
    // Delete and the message edit by it.
    void VInitControls(const ZQUIDevmode& settings);
    // The list filled again (a second " [none]" entry removed), its selection kept; the selection.
    int IRefillNameList();
    // The item of that name; any language's " [none]" is the list's " [none]"; -1 when none.
    int IFindListIndex(PCWSTR pszName) const;
    // What the list shows, in its order.
    std::vector<std::wstring> ShownNames() const;

    // ---- the working copy
    // The current entry into the working copy and the controls; the message edit selected when the
    // list shows the name chosen before the last change again (pszLastSelected) and not " [none]".
    void VShowEntry(PCWSTR pszLastSelected);
    // The working copy's angle mode, angle, font, colour, shade, size and style into the controls.
    void VShowEditControls();
    // The working copy's look into the current entry, its face as the font list has it.
    void VStoreControlsInEntry();
    // The angle mode the radios show: 0 diagonal, 1 horizontal, 2 the angle typed.
    DWORD DWShownAngleMode() const;
    void VUpdateDeleteButton();
    void VEnableEditControls(BOOL bOn);

private:
    void VFillNameList();

    CZQWatermarks& m_wm;
    CZQPageControls m_window{nullptr, 0};
    HIMAGELIST m_hColorImages = nullptr;
};
