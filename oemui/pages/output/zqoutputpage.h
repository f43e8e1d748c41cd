// CZQOutputTab: the Output page of the document sheet, where the user chooses what happens to the
// sheets after printing (stapling, punching, folding, the image shift, the output bin and face-down
// or face-up delivery) beside the sample page. The page shows only what the installed output
// accessory and punch unit allow and keeps the choices consistent with one another. One object per
// binding; the page procedure finds it through the page's PageContext, kept as the window's
// DWLP_USER data.
//
// The class declares, public, the page's routines, and, private, its own messages
// with the reactions to each message. Its controls are a CZQPageControls table; the image shift
// dialog (pages/dialogs/) is a member for the page's whole life.
#pragma once

#include <cstdint>

#include "pages/dialogs/zqimageshiftdlg.h"
#include "pages/zqpagebase.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

struct ZQUIDevmode;

class CZQOutputTab : public CZQPageBase {
public:
    // Context help: the page's pairs of (control id, help id), then (0, 0).
    static constexpr int kHelpPairs = 23;

    CZQOutputTab();
    ~CZQOutputTab() override;
    CZQOutputTab(const CZQOutputTab&) = delete;
    CZQOutputTab& operator=(const CZQOutputTab&) = delete;

    // ---- the start of the page's window: its controls, their texts, and the places the
    // finishing group's rows take when the printer has every one of them
    void VGetControlHandles(HWND hDlg);
    void VSetTexts();
    void VRecordControlRects();
    // The bin's options label and list, disabled.
    void VDisableBinOptions();

    // ---- change check, help, the administrator's bin lock and the sample page
    // PSM_CHANGED or PSM_UNCHANGED to the sheet for the page; TRUE when the page differs from the
    // settings the sheet opened with.
    BOOL BCheckChanged(HWND hPage, PageContext* pContext);
    // kHelpPairs pairs and the (0, 0) end into pdwTable.
    void VGetHelpIds(DWORD* pdwTable, PageContext* pContext);
    // The bin's label, list and group are disabled while the administrator locks the bin.
    void VApplyBinLock();
    void VFillPreviewSettings(PageContext* pContext);

    // ---- refresh: mode 0 sets every control from the settings, mode 2 stores them back (and
    // records this page as the one to open on); other modes do nothing
    void VRefresh(PageContext* pContext, int iMode);
    void VSetAllControls(PageContext* pContext);
    void VApplyOnLeave(PageContext* pContext);

    // ---- the finishing rules: which rows the accessory allows, the group closed up, the choices
    // that exclude each other, the delivery the bin fixes
    void VShowPunchAndFold(PageContext* pContext);
    void VShowStapling(PageContext* pContext);
    void VLayoutFinishingGroup(PageContext* pContext);
    void VApplyFinishingExclusions(PageContext* pContext);
    void VSetFaceControlFromBin(PageContext* pContext);
    // "FaceDown" or "FaceUp" (without case) checks its radio and selects its option; any other
    // keyword changes nothing.
    void VSelectFaceControl(PageContext* pContext, PCWSTR pszKeyword);
    void VRecordFinishingIndices(PageContext* pContext);

    // ---- the helper file's macros between stapling, the delivery and the media types (only while
    // its rules are loaded)
    void VRunStaplingToFaceControl(PageContext* pContext);
    void VRunFaceControlToStapling(PageContext* pContext);
    void VRunFaceControlMediaMacros(PageContext* pContext);
    // The media type of one page kind (its media id, taken back when the macro moved the media
    // type) under the delivery's macro.
    void VRunFaceControlMacroForMedia(PageContext* pContext, uint32_t* pdwMediaId);

    // ---- for the tests: the record and the dialog behind the page's routines
    const PreviewSettings& PreviewRecordForTesting() const { return m_preview; }
    CZQImageShiftDlg& ImageShiftForTesting() { return m_imageShift; }

private:
    friend class ZQPageShell;

    // ---- the page procedure's work (the context is the page's PageContext)
    static constexpr bool kPreviewCursor = true;
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    // Painting and owner drawing.
    INT_PTR IOnMessage(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam, PageContext* pContext);
    void VOnPaint(HWND hDlg, PageContext* pContext);
    void VOnHelp(HWND hWnd, UINT uCommand, PageContext* pContext);
    void VOnDestroy();
    // The user's choices (control id, notification code, control window) and the sheet's
    // notifications, whose result the page answers.
    INT_PTR IOnCommand(HWND hDlg, int iCtrlId, int iCode, HWND hCtrl, PageContext* pContext);
    LRESULT IOnNotify(HWND hDlg, const NMHDR* pHeader, PageContext* pContext);

    // ---- the reactions of those messages
    void VOnSetActive(PageContext* pContext);
    void VOnBinChange(PageContext* pContext);
    void VOnStapleChange(PageContext* pContext);
    void VOnPunchChange(PageContext* pContext);
    void VOnFoldChange(PageContext* pContext);
    void VOnFaceClick(HWND hDlg, bool bFaceUp, PageContext* pContext);
    void VOnImageShiftSettings(HWND hDlg, PageContext* pContext);
    // The sample page's click turns the document.
    void VOnPreviewClick(HWND hDlg, PageContext* pContext);
    void VOnPaperTextClick(PageContext* pContext);

    // ---- steps the reactions share
    // "Stapling", or "StapleLocation" under PostScript.
    PCWSTR PszStapleFeature(const PageContext* pContext) const;
    // The helper file's stapling constraints with the current staple option.
    void VRunStaplingConstraints(PageContext* pContext);
    // A list or box shown again from its feature's option (binder action 2).
    void VShowFeature(PageContext* pContext, PCWSTR pszFeature, int iCtrlId, BOOL bCheckBox = FALSE);
    // The feature's item when its selected option carries the conflict mark: its first option.
    void VClearConflictingSelection(PCWSTR pszFeature);
    // The paper text under the sample page (large-format printers).
    void VShowPaperText(PageContext* pContext);
    void VRepaintPreview(BOOL bErase);

    // ---- what the page owns, built in this order after the base
    CZQImageShiftDlg m_imageShift;
    PreviewSettings m_preview = {};
    CZQPageControls m_controls;
};

inline constexpr auto& OutputPageDlgProc = ZQPageShell::Proc<CZQOutputTab>;
