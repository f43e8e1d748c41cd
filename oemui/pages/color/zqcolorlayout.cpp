// The Colour page's layout: its templates hold every control any printer needs, and the page moves
// controls up to close the gaps the printer's missing features leave, always from the template's
// positions. Also the sample page's record, the print-preview box and the alert strip.
#include "pages/color/zqcolorkeywords.h"
#include "pages/color/zqcolorpage.h"
#include "pages/zqpageitems.h"
#include "pages/zqpagepreview.h"
#include "res/zqcolorids.h"

using namespace zqpage;

const int CZQColorTab::kMovableIds[] = {
    IDC_CHK_GRAYSCALE,      IDC_RB_AUTO,          IDC_RB_HIGHQUALITY,     IDC_RB_BLACKONLY,
    IDC_RB_PHOTOCOPY,       IDC_RB_MONO,          IDC_RB_COLOR,           IDC_CBO_NEUTRAL_GRAYS,
    IDC_STA_NEUTRAL_GRAYS,  IDC_CHK_PRINTINSEPIA, IDC_CBO_CMYK_INKS,      IDC_INPUT_COLORSPACE,
    IDC_CBO_INTENT,         IDC_CBO_PRINT_CART,   IDC_STA_PROFILENAME,    IDC_GB_CMYK_INKS,
    IDC_STA_INTENT,         IDC_STA_PRINT_CART,   IDC_STA_ICM_PROFILE,    IDC_BTN_ADV_COLOR_SETTING,
    IDC_GB_CHROMIX,         IDC_GB_COLOR_SPACE,   IDC_STA_INPUTSPACE,     IDC_CBO_EMULATEPRINTER,
    IDC_STA_EMULATEPRINTER, IDC_CBO_GRAYSCALE,    IDC_STA_COLOR_MANAGEMENT, IDC_RB_APPLN_MANAGED_SUI,
    IDC_RB_PRINTER_MANAGED, IDC_STA_PROFILE,
};
const int CZQColorTab::kMovableCount = static_cast<int>(sizeof(kMovableIds) / sizeof(kMovableIds[0]));

namespace {

constexpr WCHAR kIntent[] = L"ZQIntent";
constexpr WCHAR kCartridges[] = L"ZQInstalledPrintCartridges";

}  // namespace

float CZQColorTab::FTop(int iCtrlId) const {
    const CZQPageControls::ControlRect* r = m_controls.Recorded(iCtrlId);
    return r ? static_cast<float>(r->rc.top) : 0.0f;
}

float CZQColorTab::FHeight(int iCtrlId) const {
    const CZQPageControls::ControlRect* r = m_controls.Recorded(iCtrlId);
    return r ? static_cast<float>(r->cy) : 0.0f;
}

int CZQColorTab::ILeft(int iCtrlId) const {
    const CZQPageControls::ControlRect* r = m_controls.Recorded(iCtrlId);
    return r ? r->rc.left : 0;
}

int CZQColorTab::IWidth(int iCtrlId) const {
    const CZQPageControls::ControlRect* r = m_controls.Recorded(iCtrlId);
    return r ? r->cx : 0;
}

void CZQColorTab::VSaveControlRects() {
    m_controls.VAttach(m_hPage);
    m_controls.VRecordRects();
}

void CZQColorTab::VReadGrayscaleOptions(PageContext* pContext) {
    m_grayOptions = {};
    if (!m_pCUIParam) return;
    const ZQColorKeywords options(m_pCUIParam, PszGrayscaleFeature(pContext));
    m_grayOptions.bReadable = options.Readable();
    m_grayOptions.iCount = options.count;
    m_grayOptions.bMonoOrColor = options.Has(L"Mono") || options.Has(L"Color");
    m_grayOptions.aiRadioOption[0] = options.Index(L"HighQuality");
    m_grayOptions.aiRadioOption[1] = options.Index(L"BlackOnly");
    m_grayOptions.aiRadioOption[2] = options.Index(L"PhotoCopy");
    m_grayOptions.bHighQuality = m_grayOptions.aiRadioOption[0] >= 0;
    m_grayOptions.bBlackOnly = m_grayOptions.aiRadioOption[1] >= 0;
    m_grayOptions.bPhotoCopy = m_grayOptions.aiRadioOption[2] >= 0;
}

// ---------------------------------------------------------------------------------------------
// The ordinary template
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VLayoutGrayscaleGroup(PageContext* pContext) {
    if (!m_pCUIParam || !m_grayOptions.bReadable) return;
    if (FeatureItem(m_pCUIParam, zqkw::kZQChromix)) {
        VLayoutGrayscaleChoices(pContext, FTop(IDC_CHK_GRAYSCALE));
        return;
    }
    // Without colour matching the greyscale box takes the group's first row.
    const float top = FTop(IDC_RB_AUTO);
    m_controls.BPlaceAtTop(IDC_CHK_GRAYSCALE, top);
    VLayoutGrayscaleChoices(pContext, top);
    DWLayoutNeutralGrays(pContext, FTop(IDC_CHK_GRAYSCALE));
}

void CZQColorTab::VLayoutGrayscaleChoices(PageContext* pContext, float fTop) {
    (void)pContext;
    if (!m_grayOptions.bReadable) return;
    if (m_grayOptions.bMonoOrColor) {
        const float top = fTop + FHeight(IDC_CHK_GRAYSCALE) + 9;
        const struct {
            int radio, icon;
        } rows[] = {{IDC_RB_MONO, IDC_STA_MONO_ICON}, {IDC_RB_COLOR, IDC_STA_COLOR_ICON}};
        for (const auto& row : rows) {
            if (!m_controls.BPlaceAtTop(row.radio, top)) continue;
            HWND icon = m_controls.Item(row.icon);
            if (!icon) continue;
            RECT at = {};
            int cx = 0, cy = 0;
            VGetChildRect(m_hPage, m_controls.Item(row.radio), &at, &cx, &cy);
            SetWindowPos(icon, nullptr, at.left - 32, at.top - 8, 32, 32, SWP_NOZORDER | SWP_NOCOPYBITS);
            ShowWindow(icon, SW_SHOW);
        }
        return;
    }
    float y = fTop;
    const struct {
        bool present;
        int radio;
        int above;  // the control whose height separates the radio from the last top
        float gap;
    } rows[] = {{m_grayOptions.bHighQuality, IDC_RB_HIGHQUALITY, IDC_CHK_GRAYSCALE, 9},
                {m_grayOptions.bBlackOnly, IDC_RB_BLACKONLY, IDC_RB_HIGHQUALITY, 6},
                {m_grayOptions.bPhotoCopy, IDC_RB_PHOTOCOPY, IDC_RB_BLACKONLY, 6}};
    for (const auto& row : rows) {
        if (!row.present) continue;
        y += FHeight(row.above) + row.gap;
        m_controls.BPlaceAtTop(row.radio, y);
    }
}

DWORD CZQColorTab::DWLayoutNeutralGrays(PageContext* pContext, float fTop) {
    (void)pContext;
    if (!m_pCUIParam || !FeatureItem(m_pCUIParam, L"ZQNeutralGrays")) return ZQOPT_NOT_FOUND;
    const float top = fTop + FHeight(IDC_RB_MONO) + 9;
    m_controls.BPlaceAtTop(IDC_STA_NEUTRAL_GRAYS, top);
    m_controls.BPlaceAtTop(IDC_CBO_NEUTRAL_GRAYS, top);
    return ZQOPT_OK;
}

void CZQColorTab::VLayoutSepiaCheck(PageContext* pContext) {
    (void)pContext;
    if (!m_pCUIParam) return;
    const bool chromix = FeatureItem(m_pCUIParam, zqkw::kZQChromix) != nullptr;
    float top = FTop(IDC_CHK_GRAYSCALE);
    if (chromix) {
        if (m_grayOptions.bReadable) return;
    } else if (m_grayOptions.bReadable) {
        if (m_grayOptions.iCount == 4) top += FHeight(IDC_CHK_GRAYSCALE) + 30;
        if (m_grayOptions.iCount == 3) top += FHeight(IDC_CHK_GRAYSCALE) + 13;
    } else {
        // Neither colour matching nor greyscale: the sepia box takes the group's first row.
        top = FTop(IDC_RB_AUTO);
    }
    m_controls.BPlaceAtTop(IDC_CHK_PRINTINSEPIA, top);
}

void CZQColorTab::VLayoutWithoutInks(PageContext* pContext) {
    (void)pContext;
    if (!m_pCUIParam || FeatureItem(m_pCUIParam, L"CMYKInks")) return;
    // The colour-space group takes the inks group's place in the left column.
    const int x = ILeft(IDC_CHK_PRINTINSEPIA);
    const int w = IWidth(IDC_INPUT_COLORSPACE);
    if (IsVisible(m_hInputSpaceLabel)) {
        m_controls.BPlaceAtPoint(IDC_STA_INPUTSPACE, x, FTop(IDC_STA_INPUTSPACE));
        m_controls.BPlaceAtPoint(IDC_INPUT_COLORSPACE, x, FTop(IDC_INPUT_COLORSPACE) + FHeight(IDC_STA_INPUTSPACE));
    } else {
        m_controls.BPlaceAtPoint(IDC_INPUT_COLORSPACE, x, FTop(IDC_INPUT_COLORSPACE));
    }
    for (int id : {IDC_CBO_INTENT, IDC_CBO_PRINT_CART, IDC_STA_PROFILENAME, IDC_CBO_EMULATEPRINTER})
        m_controls.BPlaceAtPoint(id, x + w - IWidth(id), FTop(id));
    for (int id : {IDC_STA_INTENT, IDC_STA_PRINT_CART, IDC_STA_ICM_PROFILE})
        m_controls.BPlaceAtPoint(id, ILeft(IDC_CBO_CMYK_INKS) + w - IWidth(IDC_CBO_INTENT), FTop(id));
    m_controls.BPlaceAtPoint(IDC_STA_EMULATEPRINTER, x + w - IWidth(IDC_CBO_EMULATEPRINTER), FTop(IDC_STA_EMULATEPRINTER));
    m_controls.BPlaceAtPoint(IDC_GB_COLOR_SPACE, ILeft(IDC_GB_CHROMIX), FTop(IDC_GB_COLOR_SPACE));
    if (const CZQPageControls::ControlRect* chromix = m_controls.Recorded(IDC_GB_CHROMIX); chromix && m_hChromixGroup)
        SetWindowPos(m_hChromixGroup, nullptr, chromix->rc.left, chromix->rc.top, chromix->cx, chromix->cy - 25,
                     SWP_NOZORDER | SWP_NOCOPYBITS);
    if (const POPTITEM advanced = FeatureItem(m_pCUIParam, L"ZQAdvancedColorSetting"); advanced && advanced->Sel == 0)
        m_controls.BPlaceAtTop(IDC_BTN_ADV_COLOR_SETTING, FTop(IDC_RB_PHOTOCOPY));
}

// ---------------------------------------------------------------------------------------------
// The simplified template
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VLayoutSimplified(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!param) return;
    const bool sepia = FeatureItem(param, L"ZQPrintInSepia") != nullptr;
    const bool intent = FeatureItem(param, kIntent) != nullptr;
    const bool cartridges = FeatureItem(param, kCartridges) != nullptr;
    // The stack is laid for the printers our drivers serve; the other combinations keep the template.
    const bool laid = (sepia && intent && cartridges) || (!sepia && !intent && !cartridges) ||
                      (!sepia && intent && cartridges) || (sepia && intent && !cartridges) ||
                      (!sepia && intent && !cartridges);
    if (laid) {
        int stack[10];
        int n = 0;
        float top;
        if (sepia) {
            top = FTop(IDC_CBO_GRAYSCALE) + 32;
            m_controls.BPlaceAtTop(IDC_CHK_PRINTINSEPIA, top);
            top += FHeight(IDC_CHK_PRINTINSEPIA) + 24;
        } else {
            top = FTop(IDC_CHK_PRINTINSEPIA) + 24;
        }
        m_controls.BPlaceAtTop(IDC_STA_COLOR_MANAGEMENT, top);
        float gap = sepia ? 4.0f : 2.0f;
        int previous = IDC_STA_COLOR_MANAGEMENT;
        stack[n++] = IDC_INPUT_COLORSPACE;
        if (intent) {
            stack[n++] = IDC_STA_INTENT;
            stack[n++] = IDC_CBO_INTENT;
        }
        if (cartridges) {
            stack[n++] = IDC_STA_PRINT_CART;
            stack[n++] = IDC_CBO_PRINT_CART;
        }
        stack[n++] = IDC_STA_ICM_PROFILE;
        stack[n++] = IDC_STA_PROFILENAME;
        for (int i = 0; i < n; ++i) {
            top += FHeight(previous) + gap;
            m_controls.BPlaceAtTop(stack[i], top);
            previous = stack[i];
            gap = 4.0f;
        }
    }
    if (pContext->pLogic->BIsLargeFormat() && !PostScript(pContext)) {
        // Colour management leads the large-format stack.
        const int l = ILeft(IDC_INPUT_COLORSPACE);
        float top = FTop(IDC_CHK_PRINTINSEPIA) + 32;
        m_controls.BPlaceAtPoint(IDC_STA_COLOR_MANAGEMENT, l, top);
        top = FTop(IDC_CHK_PRINTINSEPIA) + 56;
        m_controls.BPlaceAtPoint(IDC_RB_APPLN_MANAGED_SUI, l, top);
        const struct {
            int id;
            float step;
            int indent;
        } rows[] = {{IDC_RB_PRINTER_MANAGED, 24, 0},  {IDC_STA_PROFILE, 24, 40},        {IDC_INPUT_COLORSPACE, 24, 40},
                    {IDC_STA_EMULATEPRINTER, 32, 40}, {IDC_CBO_EMULATEPRINTER, 24, 40}};
        for (const auto& row : rows) {
            top += row.step;
            m_controls.BPlaceAtPoint(row.id, l + row.indent, top);
        }
    }
    Readable(param, L"ZQFactoryDefaults") ? ShowEnabled(m_hFactoryDefaults) : Hide(m_hFactoryDefaults);
    Readable(param, L"ZQPrinterServices") ? ShowEnabled(m_hPrinterServices) : Hide(m_hPrinterServices);
}

void CZQColorTab::VFitColorOptionsFrame() {
    if (!IsVisible(m_hColorOptionsGroup)) return;
    constexpr LONG kMargin = 8;
    RECT frame, rc;
    VGetChildRect(m_hPage, m_hColorOptionsGroup, &frame, nullptr, nullptr);
    // Shortened only where the colour-management label below would start inside it; elsewhere the
    // frame keeps the template's height.
    if (!IsVisible(m_hColorManagementLabel)) return;
    VGetChildRect(m_hPage, m_hColorManagementLabel, &rc, nullptr, nullptr);
    if (rc.top >= frame.bottom) return;
    LONG bottom = frame.top;
    for (int id : {IDC_RB_PRINTINCOLOR, IDC_CHK_GRAYSCALE, IDC_CBO_GRAYSCALE, IDC_CHK_PRINTINSEPIA}) {
        HWND member = m_controls.Item(id);
        if (!IsVisible(member)) continue;
        VGetChildRect(m_hPage, member, &rc, nullptr, nullptr);
        if (rc.bottom + kMargin > bottom) bottom = rc.bottom + kMargin;
    }
    // Only ever shorter: the template's frame holds every option.
    if (bottom > frame.top && bottom < frame.bottom)
        SetWindowPos(m_hColorOptionsGroup, nullptr, 0, 0, frame.right - frame.left, bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOCOPYBITS);
}

// ---------------------------------------------------------------------------------------------
// The sample page, the print-preview box and the alert strip
// ---------------------------------------------------------------------------------------------
void CZQColorTab::VFillPreviewSettings(PageContext* pContext) {
    if (!BFillSharedPreview(&m_preview, pContext)) return;
    ZQFillPreviewRollMargins(&m_preview, m_pCUIParam, PostScript(pContext));
    // The page shows greyscale and sepia as its controls show them.
    int gray = m_preview.aiValue[kPvGrayscale];
    if (IsVisible(m_hGrayscale)) gray = Checked(m_hGrayscale) ? 1 : 0;
    if (IsVisible(m_hMono)) gray = Checked(m_hMono) ? 1 : 0;
    m_preview.aiValue[kPvGrayscale] = gray;
    if (m_hSepia) m_preview.aiExtra[kPxTint] = Checked(m_hSepia) ? 1 : 0;
}

void CZQColorTab::VInitPrintPreviewCheck(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!param) return;
    if (!Readable(param, zqkw::kZQPrintPreview)) {
        Hide(m_hShowPreview);
        return;
    }
    if (!CZQCommon::BIsLocalPrinter(HPrinter())) {
        // A printer on a server prints where the user cannot see a preview.
        SelectItem(param, zqkw::kZQPrintPreview, 0);
        Hide(m_hShowPreview);
        return;
    }
    (work && work->dwLayoutMode == 1) ? Hide(m_hShowPreview) : ShowEnabled(m_hShowPreview);
}

BOOL CZQColorTab::BCreateAlertStrip(HWND hDlg, PageContext* pContext) {
    if (!hDlg || !IsWindow(hDlg) || !pContext) return FALSE;
    m_alerts.VInit(hDlg, pContext->pAlerts, pContext->pConstraints);
    return m_alerts.Window() != nullptr;
}
