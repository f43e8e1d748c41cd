#include "pages/paperquality/zqpaperqualitycontrols.h"

#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqpaperqualityids.h"

using namespace zqpage;

namespace {

// The paper-dimensions control's own procedure.
WNDPROC g_pfnDimensionsProc = nullptr;

// Control ids, in the order of ZQPqControl.
const int kControlIds[kCtlCount] = {
    IDC_BTN_HELP,
    IDC_BTN_PREVIEW_PORT,
    IDC_BTN_PREVIEW_LAND,
    IDC_GB_MEDIA_PAPER_OPTIONS,
    IDC_CBO_MEDIA_SOURCE_IS,
    IDC_CBO_MEDIA_TYPE_IS,
    IDC_STA_MEDIA_SOURCE_IS,
    IDC_STA_MEDIA_TYPE_IS,
    IDC_LB_MEDIA_PAPER_OPTIONS,
    IDC_CHK_MEDIA_BACK_COVER,
    IDC_CHK_MEDIA_PAPER_DIFF,
    IDC_CHK_GLOSS,
    IDC_CBO_PRINT_QUALITY,
    IDC_STA_RENDER_DPI,
    IDC_COLOR_INPUT_DPI,
    IDC_COLOR_OUTPUT,
    IDC_STA_RENDER,
    IDC_COLOR_INPUT,
    IDC_COLOR_OUTPUT_DPI,
    IDC_CHK_THRIFTMODE,
    IDC_CHK_OHTINTERLEAVE,
    IDC_GB_PRINT_QUALITY,
    IDC_CHECK_BORDERLESS_PHOTO,
    IDC_CHECK_BORDERLESS_AUTOFIT,
    IDC_BTN_CUSTOM,
    IDC_STA_MEDIA_SIZE_IS,
    IDC_CBO_MEDIA_SIZE_IS,
    IDC_STA_MEDIA_SIZE_DIMENSIONS,
    IDC_IMAGE_ENHANCEMENT,
    IDC_CHK_SAVE_ROLL_PAPER,
    IDC_CHK_DISABLE_AUTO_CUTTER,
    IDC_CHK_AUTOROTATE,
    IDC_OPTIMIZE_FOR,
    IDC_RB_DRAWING_TEXT,
    IDC_RB_IMAGES,
    IDC_CHK_MAX_DETAILS,
    IDC_PREVIEW_DIMENSIONS,
    IDC_PREVIEW_DOCSIZE,
    IDC_BTN_MARGINS,
    IDC_CHK_EXTENDED_MARGINS,
    IDC_STA_ROLL_INFO,
    IDC_STA_CURRENTLY_LOADED_INFO,
    IDC_CHK_QUIET_PRINTING,
    IDC_RB_STNDARD_OPTIONS,
    IDC_SLIDER_PQ_SETTINGS,
    IDC_STATIC_PQ_SPEED,
    IDC_STATIC_PQ_QUALITY,
    IDC_RB_CUSTOM_OPTIONS,
    IDC_BTN_PAPERMEDIA_PQ_SETTINGS,
    IDC_GB_ORIENTATION,
    IDC_RB_PORTRAIT,
    IDC_RB_LANDSCAPE,
    IDC_CHK_SHOW_PREVIEW_FIN,
    IDC_STA_PAGE_EXCEPTIONS,
    IDC_BTN_PAGE_EXCEPTIONS_SETTINGS,
};

// When a text is set.
enum class When {
    Always,
    LargeFormat,
    NotLargeFormat,
    Visible,                 // the control is shown
    DifferentPaperShown,     // the different-paper box is shown
    BorderlessPhotoShown,    // the borderless box is shown
    SaveRollPaperShown,      // the save-roll-paper box is shown
    BusinessPhotoShown,      // the control is shown and "ZQLunetra" is "ZQBusinessPrinting"
    VivrelPhotoShown,        // the control is shown and "ZQLunetra" is anything else
};

struct TextRow {
    int control;  // a ZQPqControl; kCtlCount: the page window; below 0: a control id
    When when;
    INT id;       // -1: the English text always
    PCWSTR english;
};

constexpr int kPageWindow = kCtlCount;

const TextRow kTextRows[] = {
    {kPageWindow, When::Always, 832, L"Paper/Quality"},
    {kCtlPaperGroup, When::Always, 827, L"Paper Options"},
    {kCtlDifferentPaper, When::DifferentPaperShown, 3998, L"&Use Different Paper/Covers"},
    {kCtlBackCover, When::DifferentPaperShown, 3999, L"Add a &Blank or Preprinted Cover"},
    {kCtlSourceLabel, When::LargeFormat, 5331, L"Paper &Source:"},
    {kCtlSourceLabel, When::NotLargeFormat, 830, L"&Source is:"},
    {kCtlMediaLabel, When::LargeFormat, 5308, L"Paper &Type:"},
    {kCtlMediaLabel, When::NotLargeFormat, 831, L"&Type is:"},
    {kCtlPreviewPortrait, When::Always, 3072, L"Portrait"},
    {kCtlPreviewLandscape, When::Always, 3073, L"Landscape"},
    {kCtlQualityGroup, When::Always, 823, L"Print Quality"},
    {kCtlOrientationGroup, When::LargeFormat, 3021, L"Orientation"},
    {kCtlPortrait, When::LargeFormat, 4150, L"Portra&it"},
    {kCtlLandscape, When::LargeFormat, 6049, L"Lands&cape"},
    {kCtlShowPreview, When::LargeFormat, 5152, L"Show previe&w before printing"},
    {kCtlThriftmode, When::Visible, 3052, L"&Thriftmode\n  (May Save Print Cartridges)"},
    {kCtlTransparencySheets, When::Visible, 5433, L"&Transparency Separator Sheets"},
    {kCtlGloss, When::Visible, 825, L"&Gloss Print Finish"},
    {kCtlHelp, When::Always, 797, L"&Help"},
    {kCtlSizeLabel, When::LargeFormat, -1, L"&Document Size:"},
    {kCtlSizeLabel, When::NotLargeFormat, 3429, L"Si&ze is:"},
    {kCtlBorderlessPhoto, When::BorderlessPhotoShown, 4093, L"Borderless &Printing"},
    {kCtlBorderlessAutoFit, When::BorderlessPhotoShown, 4031, L"Borderless Auto &Fit"},
    {kCtlQuietPrinting, When::Visible, -1, L"Quiet Printing"},
    {kCtlImageEnhancement, When::BusinessPhotoShown, 4831, L"ZQ &Lunetra"},
    {kCtlImageEnhancement, When::VivrelPhotoShown, 4858, L"Vivrel &Digital Photography"},
    {kCtlCustom, When::Always, 4252, L"Custom..."},
    {kCtlMargins, When::LargeFormat, 6055, L"Layout..."},
    {kCtlMargins, When::NotLargeFormat, -1, L"Margins / Layout..."},
    {kCtlExtendedMargins, When::Visible, 4962, L"&Extended Margins"},
    {-IDC_BTN_PAPERMEDIA_PRINTINGHELP, When::Always, 4219, L"Pri&nting Help"},
    {kCtlOptimizeFor, When::Visible, 91, L"Optimize for"},
    {kCtlDrawingsText, When::Visible, 4477, L"Dra&wings/Text"},
    {kCtlImages, When::Visible, 4620, L"&Images"},
    {kCtlMaxDetails, When::Visible, 4478, L"&Maximum Detail"},
    {kCtlSaveRollPaper, When::SaveRollPaperShown, 4473, L"Save &roll Paper"},
    {kCtlDisableAutoCutter, When::SaveRollPaperShown, 4474, L"Disa&ble Automatic Cutter"},
    {kCtlAutorotate, When::Visible, 4957, L"A&utoRotate"},
    {kCtlPageExceptionsLabel, When::Visible, 5533, L"Page e&xceptions:"},
    {kCtlPageExceptionsSettings, When::Visible, 5535, L"S&ettings..."},
};

// The controls a layout moves, recorded once from the template.
const int kMovableIds[] = {
    IDC_CHK_MEDIA_BACK_COVER,         IDC_STA_MEDIA_SOURCE_IS,        IDC_CBO_MEDIA_SOURCE_IS,
    IDC_STA_MEDIA_TYPE_IS,            IDC_CBO_MEDIA_TYPE_IS,          IDC_CBO_PRINT_QUALITY,
    IDC_CHK_GLOSS,                    IDC_CHK_THRIFTMODE,             IDC_CHK_OHTINTERLEAVE,
    IDC_IMAGE_ENHANCEMENT,            IDC_COLOR_INPUT_DPI,            IDC_COLOR_OUTPUT_DPI,
    IDC_CHK_MEDIA_PAPER_DIFF,         IDC_LB_MEDIA_PAPER_OPTIONS,     IDC_STA_MEDIA_SIZE_IS,
    IDC_CBO_MEDIA_SIZE_IS,            IDC_STA_MEDIA_SIZE_DIMENSIONS,  IDC_CHECK_BORDERLESS_PHOTO,
    IDC_CHECK_BORDERLESS_AUTOFIT,     IDC_BTN_CUSTOM,                 IDC_CHK_SAVE_ROLL_PAPER,
    IDC_CHK_DISABLE_AUTO_CUTTER,      IDC_CHK_AUTOROTATE,             IDC_OPTIMIZE_FOR,
    IDC_RB_DRAWING_TEXT,              IDC_RB_IMAGES,                  IDC_CHK_MAX_DETAILS,
    IDC_STA_ROLL_INFO,                IDC_STA_CURRENTLY_LOADED_INFO,  IDC_CHK_QUIET_PRINTING,
    IDC_BTN_MARGINS,                  IDC_LB_PAGE_EXCEPTIONS_OPTIONS, IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS,
    IDC_STA_PAGE_EXCEPTIONS,          IDC_BTN_PAGE_EXCEPTIONS_SETTINGS, IDC_GB_MEDIA_PAPER_OPTIONS,
    IDC_GB_ORIENTATION,               IDC_RB_PORTRAIT,                IDC_RB_LANDSCAPE,
    IDC_BTN_PREVIEW_PORT,             IDC_BTN_PREVIEW_LAND,           IDC_PREVIEW_DIMENSIONS,
    IDC_CHK_SHOW_PREVIEW_FIN,
};

// The controls inside the paper group's frame.
const int kPaperGroupIds[] = {
    IDC_STA_MEDIA_SIZE_IS,         IDC_STA_MEDIA_SIZE_DIMENSIONS,  IDC_CBO_MEDIA_SIZE_IS,
    IDC_BTN_MARGINS,               IDC_CHK_EXTENDED_MARGINS,       IDC_BTN_CUSTOM,
    IDC_CHECK_BORDERLESS_PHOTO,    IDC_CHECK_BORDERLESS_AUTOFIT,   IDC_CHK_MEDIA_PAPER_DIFF,
    IDC_LB_MEDIA_PAPER_OPTIONS,    IDC_CHK_MEDIA_BACK_COVER,       IDC_STA_PAGE_EXCEPTIONS,
    IDC_LB_PAGE_EXCEPTIONS_OPTIONS, IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS, IDC_BTN_PAGE_EXCEPTIONS_SETTINGS,
    IDC_STA_CURRENTLY_LOADED_INFO, IDC_STA_ROLL_INFO,              IDC_STA_MEDIA_SOURCE_IS,
    IDC_CBO_MEDIA_SOURCE_IS,       IDC_CHK_SAVE_ROLL_PAPER,        IDC_CHK_DISABLE_AUTO_CUTTER,
    IDC_CHK_AUTOROTATE,            IDC_STA_MEDIA_TYPE_IS,          IDC_CBO_MEDIA_TYPE_IS,
    IDC_CHK_OHTINTERLEAVE,
};

// Pixels between a frame's last control and its bottom edge, and between two frames.
constexpr int kFrameMargin = 6;
constexpr int kFrameGap = 4;

}  // namespace

static_assert(sizeof kMovableIds / sizeof kMovableIds[0] == CZQPaperQualityControls::kMovableCount, "movable controls");

// ---------------------------------------------------------------------------------------------
// Handles and rectangles
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityControls::VCollect(HWND hPage) {
    m_hPage = hPage;
    for (int i = 0; i < kCtlCount; ++i) m_ahControls[i] = GetDlgItem(hPage, kControlIds[i]);
}

void CZQPaperQualityControls::VForget() {
    m_hPage = nullptr;
    for (HWND& control : m_ahControls) control = nullptr;
}

void CZQPaperQualityControls::VRecordRects() {
    int i = 0;
    for (int id : kMovableIds) {
        ControlRect& r = m_aRects[i++];
        r = {id, {}, 0, 0};
        if (m_hPage) CZQUIBase::VGetChildRect(m_hPage, GetDlgItem(m_hPage, id), &r.rc, &r.cx, &r.cy);
    }
}

const CZQPaperQualityControls::ControlRect* CZQPaperQualityControls::Recorded(int iCtrlId) const {
    for (const ControlRect& r : m_aRects)
        if (r.id == iCtrlId) return &r;
    return nullptr;
}

BOOL CZQPaperQualityControls::BPlace(int iCtrlId, float fTop, int iHeight) {
    const ControlRect* r = Recorded(iCtrlId);
    HWND control = Item(iCtrlId);
    if (!r || !control) return FALSE;
    return CZQUIBase::BPlaceWindow(control, &r->rc, r->cx, iHeight < 0 ? r->cy : iHeight, fTop);
}

void CZQPaperQualityControls::VShow(int iCtrlId, BOOL bShow, BOOL bEnable) {
    HWND control = Item(iCtrlId);
    if (!bShow)
        Hide(control);
    else
        ShowEnabled(control, bEnable);
}

void CZQPaperQualityControls::VFitPaperFrame(bool bOrientation) {
    const ControlRect* frame = Recorded(IDC_GB_MEDIA_PAPER_OPTIONS);
    if (!m_hPage || !frame) return;
    LONG bottom = frame->rc.top;
    for (int id : kPaperGroupIds) {
        HWND control = Item(id);
        if (!control || !CZQUIBase::BIsWindowVisible(control)) continue;
        RECT rc;
        CZQUIBase::VGetChildRect(m_hPage, control, &rc, nullptr, nullptr);
        if (rc.bottom > bottom) bottom = rc.bottom;
    }
    bottom += kFrameMargin;
    // Elsewhere the frame keeps the template's height unless the stack runs past it.
    if (!bOrientation && bottom < frame->rc.bottom) bottom = frame->rc.bottom;
    BPlace(IDC_GB_MEDIA_PAPER_OPTIONS, static_cast<float>(frame->rc.top), static_cast<int>(bottom - frame->rc.top));
    if (!bOrientation) return;
    const ControlRect* group = Recorded(IDC_GB_ORIENTATION);
    const ControlRect* portrait = Recorded(IDC_RB_PORTRAIT);
    if (!group || !portrait) return;
    const float top = static_cast<float>(bottom + kFrameGap);
    BPlace(IDC_GB_ORIENTATION, top);
    float y = top + static_cast<float>(portrait->rc.top - group->rc.top);
    for (int id : {IDC_RB_PORTRAIT, IDC_RB_LANDSCAPE, IDC_CHK_SHOW_PREVIEW_FIN}) {
        BPlace(id, y);
        const ControlRect* r = Recorded(id);
        y += static_cast<float>(r ? r->cy : 0) + 4;
    }
}

void CZQPaperQualityControls::VSubclassDimensions(HWND hControl, WNDPROC pfnLink) {
    if (!hControl) return;
    const auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnLink)));
    // A second start of the page keeps the control's own procedure, not the link's.
    if (previous && previous != pfnLink) g_pfnDimensionsProc = previous;
}

LRESULT CZQPaperQualityControls::LDimensionsOwnProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return g_pfnDimensionsProc ? CallWindowProcW(g_pfnDimensionsProc, hWnd, uMsg, wParam, lParam)
                               : DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

void CZQPaperQualityControls::VRepaint(HWND hDlg, int idFirst, int idSecond, BOOL bErase) {
    RECT area;
    CZQPreview::VGetRepaintRect(hDlg, idFirst, idSecond, &area);
    if (!IsRectEmpty(&area)) InvalidateRect(hDlg, &area, bErase);
}

// ---------------------------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityControls::VSetTexts(CZQUIBase& texts, bool bLargeFormat, bool bBusiness) {
    if (!m_hPage) return;
    auto shown = [this](int control) {
        return CZQUIBase::BIsWindowVisible(H(static_cast<ZQPqControl>(control))) != FALSE;
    };
    for (const TextRow& row : kTextRows) {
        HWND target = row.control == kPageWindow ? m_hPage
                      : row.control < 0          ? GetDlgItem(m_hPage, -row.control)
                                                 : H(static_cast<ZQPqControl>(row.control));
        bool set = false;
        switch (row.when) {
            case When::Always: set = true; break;
            case When::LargeFormat: set = bLargeFormat; break;
            case When::NotLargeFormat: set = !bLargeFormat; break;
            case When::Visible: set = shown(row.control); break;
            case When::DifferentPaperShown: set = shown(kCtlDifferentPaper); break;
            case When::BorderlessPhotoShown: set = shown(kCtlBorderlessPhoto); break;
            case When::SaveRollPaperShown: set = shown(kCtlSaveRollPaper); break;
            case When::BusinessPhotoShown: set = shown(row.control) && bBusiness; break;
            case When::VivrelPhotoShown: set = shown(row.control) && !bBusiness; break;
        }
        if (set && target) texts.BSetWindowTextRes(row.id, target, row.english);
    }
}

// ---------------------------------------------------------------------------------------------
// The stack
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityControls::CStack::VPlace(int iCtrlId, float fTop) {
    const ControlRect* r = m_controls.Recorded(iCtrlId);
    if (!r) return;
    const float top = fTop < 0 ? static_cast<float>(r->rc.top) : fTop;
    m_controls.BPlace(iCtrlId, top);
    m_fLast = top;
    m_fNext = static_cast<float>(static_cast<int>(top) + r->cy) + 4;
}

void CZQPaperQualityControls::CStack::VBox(bool bShown, int iCtrlId, float fTop) {
    HWND control = m_controls.Item(iCtrlId);
    if (!bShown) {
        Hide(control);
        return;
    }
    Show(control);
    VPlace(iCtrlId, fTop);
}

void CZQPaperQualityControls::CStack::VLabelled(bool bShown, int iLabelId, int iListId, BOOL bLocked) {
    HWND label = m_controls.Item(iLabelId), list = m_controls.Item(iListId);
    if (!bShown) {
        Hide(label);
        Hide(list);
        return;
    }
    ShowEnabled(label, !bLocked);
    ShowEnabled(list, !bLocked);
    VPlace(iLabelId, m_fNext);
    const ControlRect* r = m_controls.Recorded(iLabelId);
    VPlace(iListId, m_fLast + static_cast<float>(r ? r->cy : 0) + 2);
}

float CZQPaperQualityControls::CStack::BottomOf(int iCtrlId) const {
    RECT rc = {};
    CZQUIBase::VGetChildRect(m_controls.Page(), m_controls.Item(iCtrlId), &rc, nullptr, nullptr);
    return static_cast<float>(rc.bottom);
}
