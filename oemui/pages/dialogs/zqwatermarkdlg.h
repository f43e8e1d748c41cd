// CZQWatermarkDetailsDlg: the "Watermark Details" dialog of the Effects page, where the user makes,
// renames, edits and deletes the watermarks of the page's manager and chooses their message, angle,
// font, colour, shading, size and style beside a sample page in portrait or landscape. The
// manager keeps the watermarks, the one shown and its working copy; the dialog's controls
// (zqwatermarkcontrols) show them. OK writes the chosen watermark into the working settings (the
// page saves the pool with the sheet), Cancel takes back a watermark New made.
#pragma once

#include <functional>

#include "featurelogic/zqwatermarks.h"
#include "pages/dialogs/zqwatermarkcontrols.h"
#include "preview/zqpreviewsettings.h"

struct PageContext;

INT_PTR CALLBACK WatermarkDetailsDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

class CZQWatermarkDetailsDlg {
public:
    // The opening page's sample-page record, filled as that page fills it before a paint.
    using PageRecord = std::function<const PreviewSettings*(PageContext*)>;

    CZQWatermarkDetailsDlg(CZQWatermarks& watermarks, PageRecord pageRecord)
        : m_wm(watermarks), m_controls(watermarks), m_pageRecord(std::move(pageRecord)) {}

    // The dialog (right-to-left template when asked), owned by hOwner: 1 OK, 2 Cancel or closed,
    // -1 when it could not be shown.
    INT_PTR IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft);
    // After Cancel: the settings' watermark is " [none]" or no longer listed.
    BOOL BCancelResult() const { return m_state.bCancelResult; }

private:
    // What the dialog keeps while it is open besides the manager's working copy.
    struct State {
        BOOL bBusy;          // the dialog itself changes the message edit or the list: no reaction
        BOOL bNewPending;    // New made an entry that Cancel takes back
        BOOL bNewOnTyping;   // typing on " [none]" makes a new watermark
        BOOL bCancelResult;  // after Cancel: the settings' watermark is " [none]" or gone
        WORD wOrientation;   // the sample page: 1 portrait, 2 landscape
        WCHAR szLastSelected[256];  // the list's selection before the last change
        WCHAR szPrevious[256];      // the name put back when the message is emptied
    };

    friend INT_PTR CALLBACK WatermarkDetailsDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    void VOnCommand(int iCtrlId, int iCode, PageContext* pContext);
    void VOnPaint(PageContext* pContext);
    BOOL BOnSetCursor();

    // ---- the reactions
    void VOnAngleRadio(int iCtrlId);
    void VOnOrientation(PageContext* pContext);
    void VOnNew(PageContext* pContext);
    void VOnDelete();
    void VOnSelect(PageContext* pContext);
    void VOnMessageTyped(PageContext* pContext);
    void VOnMessageCheck();
    // A list's choice into the working copy (font, shade, style or colour).
    void VOnListChoice(int iCtrlId);
    // The size or angle edit as typed (bLeft: it lost the focus).
    void VOnNumberEdit(int iCtrlId, bool bLeft, PageContext* pContext);
    void VOnOK(PageContext* pContext);
    // Cancel (bClose: the window's close box, which leaves the cancel result alone).
    void VOnCancel(PageContext* pContext, bool bClose);

    // ---- steps the reactions share
    void VRepaintPreview(BOOL bErase);
    bool BHasSelection() const;
    // The list's selected text (empty without one).
    void VSelectedName(PWSTR pszName) const;
    // A watermark and posters exclude each other: posters end.
    void VEndPosters(PageContext* pContext);
    // The working copy and the controls let go (OK, Cancel or a failed start).
    void VRelease();
    // An edit's number clamped to iMax; an empty edit takes iEmpty (the edit's text is left empty
    // when iEmpty is negative).
    void VClampEdit(int iCtrlId, int iMax, int iEmpty);

    CZQWatermarks& m_wm;
    CZQWatermarkControls m_controls;
    State m_state = {};
    PageRecord m_pageRecord;
    HWND m_hDlg = nullptr;
    PreviewSettings m_preview = {};
};
