// The Paper/Quality page's control table: the controls whose handles the page keeps, the
// rectangles its template gives the movable ones, their texts in the user's language, and the
// stack that lays optional controls out one under the other.
#pragma once

#include "common/zquibase.h"

// The controls whose handles the page keeps, in the order it collects them.
enum ZQPqControl : int {
    kCtlHelp,
    kCtlPreviewPortrait,
    kCtlPreviewLandscape,
    kCtlPaperGroup,
    kCtlSource,
    kCtlMedia,
    kCtlSourceLabel,
    kCtlMediaLabel,
    kCtlPageKinds,
    kCtlBackCover,
    kCtlDifferentPaper,
    kCtlGloss,
    kCtlQuality,
    kCtlRenderDpi,
    kCtlColorInputDpi,
    kCtlColorOutput,
    kCtlRender,
    kCtlColorInput,
    kCtlColorOutputDpi,
    kCtlThriftmode,
    kCtlTransparencySheets,
    kCtlQualityGroup,
    kCtlBorderlessPhoto,
    kCtlBorderlessAutoFit,
    kCtlCustom,
    kCtlSizeLabel,
    kCtlSize,
    kCtlDimensions,
    kCtlImageEnhancement,
    kCtlSaveRollPaper,
    kCtlDisableAutoCutter,
    kCtlAutorotate,
    kCtlOptimizeFor,
    kCtlDrawingsText,
    kCtlImages,
    kCtlMaxDetails,
    kCtlPaperLabel,
    kCtlDocSizeLabel,
    kCtlMargins,
    kCtlExtendedMargins,
    kCtlRollInfo,
    kCtlLoadedInfo,
    kCtlQuietPrinting,
    kCtlStandardOptions,
    kCtlQualitySlider,
    kCtlSpeedLabel,
    kCtlQualityLabel,
    kCtlCustomOptions,
    kCtlQualitySettings,
    kCtlOrientationGroup,
    kCtlPortrait,
    kCtlLandscape,
    kCtlShowPreview,
    kCtlPageExceptionsLabel,
    kCtlPageExceptionsSettings,
    kCtlCount
};

class CZQPaperQualityControls {
public:
    // A movable control as the template placed it, in the page's client coordinates.
    struct ControlRect {
        int id;
        RECT rc;
        int cx;
        int cy;
    };
    static constexpr int kMovableCount = 43;

    // The page's window and the handles of its controls; forgotten when the window goes (the page
    // object outlives it).
    void VCollect(HWND hPage);
    void VForget();
    HWND Page() const { return m_hPage; }
    HWND H(ZQPqControl control) const {
        return control >= 0 && control < kCtlCount ? m_ahControls[control] : nullptr;
    }
    // A control of the page's window by its id; null without the window.
    HWND Item(int iCtrlId) const { return m_hPage ? GetDlgItem(m_hPage, iCtrlId) : nullptr; }

    // The movable controls' rectangles as the template gives them, recorded once per window.
    void VRecordRects();
    const ControlRect* Recorded(int iCtrlId) const;
    // A recorded control moved to a top (its recorded height unless one is given).
    BOOL BPlace(int iCtrlId, float fTop, int iHeight = -1);
    // Shown (and enabled or not), or hidden and disabled.
    void VShow(int iCtrlId, BOOL bShow, BOOL bEnable);
    // The paper group's frame at the template's top holds its last shown control, however long the
    // stack: on large-format printers it ends under it and the orientation group follows, its
    // buttons one under the other; elsewhere it keeps the template's height unless the stack is
    // longer.
    void VFitPaperFrame(bool bOrientation);

    // The texts for the printer's class; the photo enhancements take the business name when asked.
    // `texts` loads them from the status module.
    void VSetTexts(CZQUIBase& texts, bool bLargeFormat, bool bBusiness);

    // The paper-dimensions control behaves as a link through pfnLink, which hands every message on
    // to the control's own procedure (kept once, module-wide: one page is shown at a time).
    static void VSubclassDimensions(HWND hControl, WNDPROC pfnLink);
    static LRESULT LDimensionsOwnProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // The area two controls of the window cover (a control given twice: its own), invalidated.
    static void VRepaint(HWND hDlg, int idFirst, int idSecond, BOOL bErase);

    // Optional controls stacked from a top, each 4 pixels below the last placed (2 below a label,
    // a check box or a list's own label): what a layout of a group does control by control.
    class CStack {
    public:
        CStack(CZQPaperQualityControls& controls, float fNext, float fLast)
            : m_controls(controls), m_fNext(fNext), m_fLast(fLast) {}
        // Places a recorded control at fTop (its recorded top when negative); the next top follows
        // below it.
        void VPlace(int iCtrlId, float fTop);
        // Shows and places the control, or hides it.
        void VBox(bool bShown, int iCtrlId, float fTop);
        // A label with its list under it; locked lists stay in sight but cannot be changed.
        void VLabelled(bool bShown, int iLabelId, int iListId, BOOL bLocked);
        // The top of a control placed under the last one, or of the control placed last.
        float Next() const { return m_fNext; }
        float Last() const { return m_fLast; }
        void VSetNext(float fNext) { m_fNext = fNext; }
        // The bottom of a control as it stands now.
        float BottomOf(int iCtrlId) const;

    private:
        CZQPaperQualityControls& m_controls;
        float m_fNext;
        float m_fLast;
    };

private:
    HWND m_hPage = nullptr;
    HWND m_ahControls[kCtlCount] = {};
    ControlRect m_aRects[kMovableCount] = {};
};
