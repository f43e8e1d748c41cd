// A page's controls by id, as the pages of the document sheet keep them: the page's window (the page
// object outlives it), the rectangles the template gives the controls the page moves, their texts in
// the user's language, and showing, hiding and moving them. A control the template does not hold is
// absent: every operation on it does nothing and every question about it answers no.
#pragma once

#include <windows.h>

class CZQUIBase;

class CZQPageControls {
public:
    // A control's text: string id (-1: the English text always) and English fall-back. Control id 0
    // is the page window itself.
    struct TextRow {
        int iCtrlId;
        INT iTextId;
        PCWSTR pszEnglish;
    };
    // A movable control as the template placed it, in the page's client coordinates.
    struct ControlRect {
        int id;
        RECT rc;
        int cx;
        int cy;
    };
    static constexpr int kMaxMovable = 36;

    // The ids of the controls the page moves (at most kMaxMovable; the table outlives the object).
    CZQPageControls(const int* pMovableIds, int cMovable);
    CZQPageControls(const CZQPageControls&) = delete;
    CZQPageControls& operator=(const CZQPageControls&) = delete;

    // The page's window; forgotten when the window goes.
    void VAttach(HWND hPage) { m_hPage = hPage; }
    void VForget() { m_hPage = nullptr; }
    HWND Page() const { return m_hPage; }
    HWND Item(int iCtrlId) const { return m_hPage ? GetDlgItem(m_hPage, iCtrlId) : nullptr; }

    // The movable controls' rectangles as the template gives them, recorded once per window.
    void VRecordRects();
    const ControlRect* Recorded(int iCtrlId) const;
    // A recorded control moved to the recorded top of another, or to a top of its own (its own
    // recorded x and size kept).
    BOOL BPlaceAt(int iCtrlId, int iPlaceId);
    BOOL BPlaceAtTop(int iCtrlId, float fTop);
    // The same at a left of its own.
    BOOL BPlaceAtPoint(int iCtrlId, int iLeft, float fTop);
    // A recorded control moved to a top (its recorded x and size kept); the top under it (gap added).
    int IStackAt(int iCtrlId, int iTop, int iGap);
    // Controls stacked from the recorded top of another (labels and their lists in pairs, iLabelGap
    // apart, when labelled), or, without one (0), each back in its recorded place.
    void VCloseUp(const int* pIds, int cIds, int iPlaceId, bool bLabelled, int iLabelGap, int iGap);
    // Shown (and enabled or not), or hidden and disabled.
    void VShow(int iCtrlId, BOOL bShow, BOOL bEnable = TRUE);
    BOOL BChecked(int iCtrlId) const;
    void VSetCheck(int iCtrlId, BOOL bChecked);
    // The list's selection, CB_ERR without one.
    int ISelection(int iCtrlId) const;

    // The rows' texts, each loaded by `texts` from its status module.
    void VSetTexts(CZQUIBase& texts, const TextRow* pRows, int cRows) const;
    // The list emptied, then one entry per string id (an empty entry for a missing string).
    void VFillList(CZQUIBase& texts, int iCtrlId, const INT* pTextIds, int cTexts) const;
    // The area of the two controls (a control given twice: its own), invalidated.
    void VRepaint(int idFirst, int idSecond, BOOL bErase) const;

private:
    const int* m_pMovableIds;
    int m_cMovable;
    HWND m_hPage = nullptr;
    ControlRect m_aRects[kMaxMovable] = {};
};
