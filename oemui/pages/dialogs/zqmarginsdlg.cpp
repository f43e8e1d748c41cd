// The layout and margins dialog: its opening from the four features, the radios and their usage
// texts, the roll-options picture, the orientation toggle of the preview buttons, OK and Cancel.
#include "pages/dialogs/zqmarginsdlg.h"

#include <cwchar>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqprintercaps.h"
#include "common/zqstrings.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpageitems.h"
#include "pages/zqpagepreview.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpages.h"
#include "preview/zqpreview.h"
#include "res/zqmarginsids.h"

using namespace zqpage;

namespace {

using Modal = CZQModalDialog<CZQMarginsDlg>;

// The logic object's four option indices.
enum : int { kLfMarginType, kLfLayoutType, kLfBorderless, kLfPrintWithMargins };
constexpr int kLayoutRadios[] = {IDC_MG_RB_STANDARD, IDC_MG_RB_OVERSIZE, IDC_MG_RB_CLIP};
constexpr PCWSTR kPrintWithMargins[] = {L"Standard", L"OversizePaper", L"Clip", L"NoMargins"};
constexpr int kMarginRadios[] = {IDC_MG_RB_NORMAL, IDC_MG_RB_EXTENDED, IDC_MG_RB_SMALL};
constexpr int kEnlargementRadios[] = {IDC_MG_RB_AUTOMATIC, IDC_MG_RB_MANUAL};

struct Usage {
    INT id;
    PCWSTR english;
};
constexpr Usage kLayoutUsage[] = {
    {5409, L"This is the way desktop printers work.You will get a paper of size equal to that of the paper you have "
           L"selected in the driver."},
    {5410, L"Use this setting when the contents to be printed have a size equal to that of the paper you have selected "
           L"in the driver. The printer will add its margins to the contents and you will get a page of a size slightly "
           L"bigger than that which is selected in the driver.Cutting around the contents will allow you to simulate "
           L"borderless printing."},
    {5411, L"Use this setting when the contents to be printed have white borders and a size equal to that of the paper "
           L"you have selected in the driver. The printer will use the white border for its margins and you will get a "
           L"page of size equal to that which is selected in the driver."}};
constexpr Usage kManualUsage = {
    5412, L"Use this setting if you want to use your application to control the magnification needed to avoid paper "
          L"alignment problems leading to white areas in the border of the paper.To use this setting you need to have "
          L"selected a custom paper size that is 8mm larger than the paper size you want the printer to cut."};
constexpr Usage kAutomaticUsage = {
    5413, L"Use this setting to print without borders and with a slight magnification of the contents done by the "
          L"printer.\nThis magnification is done to avoid possible paper alignment problems leading to white areas in "
          L"the border of the paper.As a result of this, some of the contents (less than 2% on all sides) will be "
          L"clipped and the scale of the plot will not be mantained."};
constexpr Usage kMarginUsage[] = {
    {4964, L"Use this margin set for common plots"},
    {4966, L"Use this margin set to ensure the best possible quality at the borders of the printed area"},
    {4965, L"Use this margin set to decrease the margins. Warning, this setting might cause printhead crashes in some "
           L"cases. In this cases, the printer will default to normal margins and some clipping might occur"}};

constexpr DWORD kHelpIds[] = {IDC_MG_GB_LAYOUT_MODE, DWORD(-1), IDC_MG_RB_PRINT_WITH_MARGINS, DWORD(-1),
                              IDC_MG_GB_LAYOUT_OPTIONS, DWORD(-1), IDC_MG_RB_STANDARD, 15644,
                              IDC_MG_RB_OVERSIZE, 15645, IDC_MG_RB_CLIP, 15646,
                              IDC_MG_RB_BORDERLESS, 15646, IDC_MG_GB_ENLARGEMENT, DWORD(-1),
                              IDC_MG_RB_AUTOMATIC, 15685, IDC_MG_RB_MANUAL, 15686,
                              IDC_MG_GB_MARGINS, DWORD(-1), IDC_MG_RB_SMALL, DWORD(-1),
                              IDC_MG_RB_NORMAL, DWORD(-1), IDC_MG_RB_EXTENDED, DWORD(-1),
                              IDC_MG_GB_USAGE, DWORD(-1), IDC_MG_STA_USAGE, DWORD(-1),
                              IDC_MG_GB_PREVIEW, DWORD(-1), IDC_MG_STA_APP_VIEW_LABEL, DWORD(-1),
                              IDC_MG_STA_APP_VIEW, DWORD(-1), IDC_MG_STA_PREVIEW_LABEL, DWORD(-1),
                              IDC_MG_BTN_PREVIEW_PORT, DWORD(-1), 0, 0};

int Index(POEMCUIPPARAM pParam, PCWSTR pszFeature) {
    int index = -1;
    return CZQCommon::DWGetFeatureOptionIndex(pParam, pszFeature, &index) == ZQOPT_OK ? index : -1;
}

int Int(uint32_t value) { return static_cast<int>(value); }

}  // namespace

ZQMarginChoices& CZQMarginsDlg::Choices() {
    static ZQMarginChoices s_choices = {};
    return s_choices;
}

CZQMarginsDlg::CZQMarginsDlg() = default;

bool CZQMarginsDlg::Checked(int id) const { return IsDlgButtonChecked(m_hDlg, id) == BST_CHECKED; }

void CZQMarginsDlg::VCheck(int id, bool bOn) { CheckDlgButton(m_hDlg, id, bOn ? BST_CHECKED : BST_UNCHECKED); }

void CZQMarginsDlg::VHide(std::initializer_list<int> ids) {
    for (int id : ids) {
        HWND control = GetDlgItem(m_hDlg, id);
        ShowWindow(control, SW_HIDE);
        EnableWindow(control, FALSE);
    }
}

void CZQMarginsDlg::VEnable(std::initializer_list<int> ids, BOOL bEnable) {
    for (int id : ids) EnableWindow(GetDlgItem(m_hDlg, id), bEnable);
}

void CZQMarginsDlg::VShowUsage(INT id) {
    for (const Usage* table : {kLayoutUsage, kMarginUsage})
        for (int i = 0; i < 3; ++i)
            if (table[i].id == id) BSetWindowTextResLong(id, GetDlgItem(m_hDlg, IDC_MG_STA_USAGE), table[i].english);
    for (const Usage& usage : {kManualUsage, kAutomaticUsage})
        if (usage.id == id) BSetWindowTextResLong(id, GetDlgItem(m_hDlg, IDC_MG_STA_USAGE), usage.english);
}

// One layout radio checked, the other two not, and its usage text.
void CZQMarginsDlg::VShowLayout(int iLayout) {
    if (iLayout < 0 || iLayout > 2) return;
    for (int i = 0; i < 3; ++i) VCheck(kLayoutRadios[i], i == iLayout);
    VShowUsage(kLayoutUsage[iLayout].id);
}

void CZQMarginsDlg::VRepaintPreview(BOOL bErase) {
    RECT area;
    CZQPreview::VGetRepaintRect(m_hDlg, IDC_MG_BTN_PREVIEW_PORT, IDC_MG_BTN_PREVIEW_LAND, &area);
    InvalidateRect(m_hDlg, &area, bErase);
    InvalidateRect(GetDlgItem(m_hDlg, IDC_MG_STA_APP_VIEW), nullptr, bErase);
}

// ---------------------------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------------------------
INT_PTR CZQMarginsDlg::IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft) {
    if (!m_pCUIParam || !pContext || !pContext->pLogic) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    const INT_PTR result = Modal::IRun(this, static_cast<HINSTANCE>(m_pCUIParam->hModule),
                                       bRightToLeft ? IDD_DLG_MARGINS_RTL : IDD_DLG_MARGINS, hOwner, &MarginsDlgProc,
                                       reinterpret_cast<LPARAM>(pContext));
    m_hDlg = nullptr;
    return result;
}

BOOL CZQMarginsDlg::BInitDialog(HWND hDlg, PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQUILogic& logic = *pContext->pLogic;
    ZQMarginChoices& choices = Choices();
    const POEMCUIPPARAM param = m_pCUIParam;
    m_pPublicDM = param->pPublicDM;
    m_hDlg = hDlg;
    m_hPortraitPreview = GetDlgItem(hDlg, IDC_MG_BTN_PREVIEW_PORT);
    m_hLandscapePreview = GetDlgItem(hDlg, IDC_MG_BTN_PREVIEW_LAND);

    BSetWindowTextRes(5356, hDlg, L"Layout And Margins options");
    struct Text {
        int ctl;
        INT id;
        PCWSTR english;
    };
    for (const Text& t :
         {Text{IDC_MG_GB_LAYOUT_MODE, 5347, L"Layout Mode"}, Text{IDC_MG_RB_PRINT_WITH_MARGINS, 6052, L"&Print with Margins"},
          Text{IDC_MG_GB_LAYOUT_OPTIONS, 3004, L"Layout Options"}, Text{IDC_MG_RB_STANDARD, 5349, L"S&tandard"},
          Text{IDC_MG_RB_OVERSIZE, 5350, L"&Oversize"}, Text{IDC_MG_RB_CLIP, 6051, L"&Clip Contents By Margins"},
          Text{IDC_MG_RB_BORDERLESS, 4246, L"&Borderless"}, Text{IDC_MG_GB_ENLARGEMENT, -1, L"Image Enlargement"},
          Text{IDC_MG_RB_AUTOMATIC, 6053, L"&Automatically by Printer"},
          Text{IDC_MG_RB_MANUAL, 6054, L"&Manually in Application"}, Text{IDC_MG_GB_MARGINS, 4717, L"Margins"},
          Text{IDC_MG_RB_SMALL, 5405, L"S&mall"}, Text{IDC_MG_RB_NORMAL, 5404, L"N&ormal"},
          Text{IDC_MG_RB_EXTENDED, 5406, L"E&xtended"}, Text{IDC_MG_GB_USAGE, 4963, L"Usage:"},
          Text{IDC_MG_GB_PREVIEW, 4304, L"Preview"}, Text{IDC_MG_STA_APP_VIEW_LABEL, 5419, L"Application view"},
          Text{IDC_MG_STA_PREVIEW_LABEL, 5355, L"Print Preview:"}, Text{IDOK, 849, L"&OK"},
          Text{IDCANCEL, 850, L"&Cancel"}})
        BSetWindowTextRes(t.id, GetDlgItem(hDlg, t.ctl), t.english);

    int index = Index(param, zqkw::kZQPrintWithMargins);
    if (index >= 0) logic.m_aiLfLayout[kLfPrintWithMargins] = choices.iPrintWithMargins = index;
    index = Index(param, zqkw::kZQMarginType);
    if (index < 0) {
        VHide({IDC_MG_RB_SMALL, IDC_MG_RB_NORMAL, IDC_MG_RB_EXTENDED, IDC_MG_GB_MARGINS});
    } else if (index <= 2) {
        logic.m_aiLfLayout[kLfMarginType] = index;
        VCheck(kMarginRadios[index], true);
        VShowUsage(kMarginUsage[index].id);
    }
    if (Index(param, zqkw::kZQPrintWithMargins) < 0)
        VHide({IDC_MG_RB_CLIP, IDC_MG_RB_STANDARD, IDC_MG_RB_OVERSIZE, IDC_MG_GB_LAYOUT_OPTIONS});
    index = Index(param, zqkw::kZQBorderless);
    if (index >= 0)
        logic.m_aiLfLayout[kLfBorderless] = choices.iEnlargement = index;
    else
        VHide({IDC_MG_GB_ENLARGEMENT, IDC_MG_RB_AUTOMATIC, IDC_MG_RB_MANUAL, IDC_MG_RB_BORDERLESS});

    VPaintPreview(pContext, choices.iPrintWithMargins, choices.iMarginSet, choices.iEnlargement);
    choices.iRememberedEnlargement = choices.iEnlargement;
    choices.iRememberedLayout = choices.iPrintWithMargins;

    const int withMargins = logic.m_aiLfLayout[kLfPrintWithMargins];
    if (withMargins >= 0 && withMargins <= 2) {
        VCheck(IDC_MG_RB_PRINT_WITH_MARGINS, true);
        VCheck(IDC_MG_RB_BORDERLESS, false);
        VShowLayout(withMargins);
        for (int id : kEnlargementRadios) VCheck(id, false);
        VEnable({IDC_MG_RB_AUTOMATIC, IDC_MG_RB_MANUAL}, FALSE);
    } else if (withMargins == 3) {
        VCheck(IDC_MG_RB_PRINT_WITH_MARGINS, false);
        VCheck(IDC_MG_RB_BORDERLESS, true);
        VEnable({IDC_MG_RB_STANDARD, IDC_MG_RB_OVERSIZE, IDC_MG_RB_CLIP}, FALSE);
        VEnable({IDC_MG_RB_AUTOMATIC, IDC_MG_RB_MANUAL}, TRUE);
        const int enlargement = logic.m_aiLfLayout[kLfBorderless] == 1 ? 1 : 0;
        VCheck(kEnlargementRadios[enlargement], true);
        VCheck(kEnlargementRadios[1 - enlargement], false);
        VShowUsage(kManualUsage.id);
    }

    index = Index(param, zqkw::kZQLayoutType);
    if (index < 0) {
        VHide({IDC_MG_RB_CLIP, IDC_MG_RB_STANDARD, IDC_MG_RB_OVERSIZE, IDC_MG_GB_LAYOUT_OPTIONS});
    } else {
        logic.m_aiLfLayout[kLfLayoutType] = choices.iLayout = index;
        VShowLayout(index);
        // Borderless keeps the layout for a later Print with Margins.
        if (withMargins == 3 && index <= 2) choices.iRememberedLayout = index;
    }

    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    if (pContext->pConstraints)
        pContext->pConstraints->BAttachConstraintDialog(zqkw::kZQBorderless, hDlg, IDC_MG_RB_BORDERLESS);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------------------------
void CZQMarginsDlg::VOnCommand(int iCtrlId, PageContext* pContext) {
    ZQMarginChoices& choices = Choices();
    const POEMCUIPPARAM param = m_pCUIParam;
    switch (iCtrlId) {
        case IDC_MG_RB_STANDARD:
        case IDC_MG_RB_OVERSIZE:
        case IDC_MG_RB_CLIP: {
            const int layout = iCtrlId == IDC_MG_RB_STANDARD ? 0 : iCtrlId == IDC_MG_RB_OVERSIZE ? 1 : 2;
            choices.iLayout = choices.iRememberedLayout = layout;
            CZQCommon::DWSelectOptionByKeyword(param, zqkw::kZQPrintWithMargins, kPrintWithMargins[layout],
                                               OEMCUIP_DOCPROP);
            VShowUsage(kLayoutUsage[layout].id);
            break;
        }
        case IDC_MG_RB_PRINT_WITH_MARGINS:
            VCheck(IDC_MG_RB_BORDERLESS, false);
            VEnable({IDC_MG_RB_CLIP, IDC_MG_RB_STANDARD, IDC_MG_RB_OVERSIZE}, TRUE);
            VShowLayout(choices.iRememberedLayout);
            VEnable({IDC_MG_RB_AUTOMATIC, IDC_MG_RB_MANUAL}, FALSE);
            break;
        case IDC_MG_RB_BORDERLESS: {
            VCheck(IDC_MG_RB_PRINT_WITH_MARGINS, false);
            VEnable({IDC_MG_RB_CLIP, IDC_MG_RB_STANDARD, IDC_MG_RB_OVERSIZE}, FALSE);
            VEnable({IDC_MG_RB_AUTOMATIC, IDC_MG_RB_MANUAL}, TRUE);
            const int enlargement = choices.iRememberedEnlargement == 1 ? 1 : 0;
            VCheck(kEnlargementRadios[enlargement], true);
            VCheck(kEnlargementRadios[1 - enlargement], false);
            VShowUsage(kAutomaticUsage.id);
            break;
        }
        case IDC_MG_RB_MANUAL:
            choices.iRememberedEnlargement = 1;
            VShowUsage(kManualUsage.id);
            break;
        case IDC_MG_RB_AUTOMATIC:
            choices.iRememberedEnlargement = 0;
            VShowUsage(kAutomaticUsage.id);
            break;
        case IDC_MG_RB_NORMAL:
        case IDC_MG_RB_EXTENDED:
        case IDC_MG_RB_SMALL: break;
        case IDC_MG_BTN_PREVIEW_LAND:
        case IDC_MG_BTN_PREVIEW_PORT: VTogglePreviewOrientation(pContext); return;
        case IDOK: VOnOk(pContext); return;
        case IDCANCEL:
            // What the layout radios selected stays selected.
            if (pContext->pConstraints) pContext->pConstraints->BDetachConstraintControls(zqkw::kZQBorderless, m_hDlg);
            EndDialog(m_hDlg, IDCANCEL);
            return;
        default: return;
    }
    VRepaintPreview(FALSE);
}

void CZQMarginsDlg::VTogglePreviewOrientation(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    logic.m_sMarginsOrientation = logic.m_sMarginsOrientation == 2 ? 1 : 2;
    const LONG selection = logic.m_sMarginsOrientation == 2 ? 1 : 0;
    POPTITEM own = nullptr;
    if (CZQCommon::DWFindOemOptItemByPubId(m_pCUIParam, kOemPubOrientation, &own) == ZQOPT_OK && own) {
        own->Sel = selection;
        own->Flags |= OPTIF_CHANGED;
    }
    CZQCommon::DWSelectPubOption(m_pCUIParam, DMPUB_ORIENTATION, 0, selection);
    RECT area;
    CZQPreview::VGetRepaintRect(m_hDlg, IDC_MG_BTN_PREVIEW_PORT, IDC_MG_BTN_PREVIEW_LAND, &area);
    InvalidateRect(m_hDlg, &area, TRUE);
}

void CZQMarginsDlg::VOnOk(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    ZQMarginChoices& choices = Choices();
    const POEMCUIPPARAM param = m_pCUIParam;
    const int marginSet = Checked(IDC_MG_RB_SMALL) ? 2 : Checked(IDC_MG_RB_EXTENDED) ? 1 : 0;
    choices.iMarginSet = logic.m_aiLfLayout[kLfMarginType] = marginSet;
    CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQMarginType, marginSet, OEMCUIP_DOCPROP);

    for (int layout = 0; layout < 3; ++layout)
        if (Checked(kLayoutRadios[layout])) choices.iLayout = choices.iPrintWithMargins = layout;
    logic.m_aiLfLayout[kLfLayoutType] = choices.iLayout;
    CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQLayoutType, choices.iLayout, OEMCUIP_DOCPROP);
    if (Checked(IDC_MG_RB_BORDERLESS)) {
        choices.iPrintWithMargins = 3;
        CZQCommon::DWSelectOptionByKeyword(param, zqkw::kZQPrintWithMargins, kPrintWithMargins[3], OEMCUIP_DOCPROP);
    }
    logic.m_aiLfLayout[kLfPrintWithMargins] = choices.iPrintWithMargins;
    CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQPrintWithMargins, choices.iPrintWithMargins, OEMCUIP_DOCPROP);

    choices.iEnlargement = Checked(IDC_MG_RB_MANUAL) ? 1 : 0;
    logic.m_aiLfLayout[kLfBorderless] = choices.iEnlargement;
    CZQCommon::DWSelectOptionByIndex(param, zqkw::kZQBorderless, choices.iEnlargement, OEMCUIP_DOCPROP);

    if (pContext->pConstraints) pContext->pConstraints->BDetachConstraintControls(zqkw::kZQBorderless, m_hDlg);
    EndDialog(m_hDlg, IDOK);
}

// ---------------------------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------------------------
// A group without a checked radio keeps its value.
void CZQMarginsDlg::VReadRadios() {
    ZQMarginChoices& choices = Choices();
    for (int layout = 0; layout < 3; ++layout)
        if (Checked(kLayoutRadios[layout])) choices.iPrintWithMargins = layout;
    if (Checked(IDC_MG_RB_BORDERLESS)) choices.iPrintWithMargins = 3;
    for (int enlargement = 0; enlargement < 2; ++enlargement)
        if (Checked(kEnlargementRadios[enlargement])) choices.iEnlargement = enlargement;
    for (int set = 0; set < 3; ++set)
        if (Checked(kMarginRadios[set])) choices.iMarginSet = set;
}

void CZQMarginsDlg::VPaintPreview(PageContext* pContext, int iPrintWithMargins, int iMarginSet, int iEnlargement) {
    CZQUILogic* logic = pContext ? pContext->pLogic : nullptr;
    const ZQUIDevmode* dm = logic ? logic->WorkDM() : nullptr;
    if (!dm || !pContext->pPreview) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    // The fields every page's sample shares.
    PreviewSettings& r = m_preview;
    int* value = r.aiValue;
    ZQSetPreviewWindow(&r, kPvLandscapeWindow, m_hLandscapePreview);
    ZQSetPreviewWindow(&r, kPvPortraitWindow, m_hPortraitPreview);
    ZQSetPreviewWindow(&r, kPvRollOptionsWindow, GetDlgItem(m_hDlg, IDC_MG_STA_APP_VIEW));
    r.wOrientation = dm->wOrientation;
    r.iPagesPerSheet = Int(dm->dwPagesPerSheet);
    r.iPageOrder = Int(dm->dwPageOrderIndex);
    value[kPvStaple] = logic->IGetStapleCode();
    value[kPvPunch] = logic->IGetPunchCode();
    value[kPvFold] = logic->IGetFoldCode();
    const int accessory = logic->IGetOutputAccessoryCode();
    value[kPvFinisherKind] = accessory == 8 || accessory == 12 ? 1 : accessory == 3 ? 2 : 0;
    value[kPvPunchUnit] = logic->IGetPunchUnitType();
    VSetWatermarkPreviewData(&r.watermark, pContext->pCaps, dm);
    WCHAR none[kResStringChars];
    if (!BLoadResString(874, none)) ZQCopyText(none, kResStringChars, L" [none]");
    value[kPvNoWatermark] = wcscmp(r.watermark.szText, none) == 0 ? 1 : 0;
    int unused = -1;
    const bool postScript = dm->dwPdl == kPdlPostScript;
    r.iThriftmode = logic->IBindFeatureControl(0, postScript ? zqkw::kJCLThriftmode : zqkw::kThriftmode, nullptr,
                                               nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFlags, FALSE, 0, &unused) != 0
                        ? 1
                    : OptionIs(m_pCUIParam, postScript ? zqkw::kJCLThriftmode : zqkw::kThriftmode, L"ON") == 1 ? 3
                                                                                                               : 2;
    value[kPvKind] = Int(dm->dwLayoutMode);
    value[kPvScale] = dm->dwPrintDocOn == 1 ? 100 : Int(dm->dwScalePercent);
    LONG width = 0, length = 0;
    if (!m_pPublicDM ||
        !BGetPaperDimensions(static_cast<WORD>(m_pPublicDM->dmPaperSize), &width, &length, pContext->pCaps))
        width = length = 0;
    value[kPvDocWidth] = width;
    value[kPvDocHeight] = length;
    value[kPvFitScaled] = Int(dm->dwScaleToFit);
    value[kPvFitToPage] = Int(dm->dwPrintDocOn);
    if (value[kPvFitToPage] == 1 &&
        BGetPaperDimensions(static_cast<WORD>(dm->dwPrintedOnPaper), &width, &length, pContext->pCaps)) {
        value[kPvSheetWidth] = width;
        value[kPvSheetHeight] = length;
    }
    value[kPvPoster] = logic->BGetPosterTiles(&value[kPvPosterSize]) ? 1 : 0;
    value[kPvEnvelope] = logic->BIsEnvelopePaper() ? 1 : 0;
    value[kPvBanner] = logic->BIsBannerPaper() ? 1 : 0;
    value[kPvNoInset] = logic->BIsBorderlessPaper() ? 1 : 0;

    pContext->pPreview->VSetSettings(&r);
    pContext->pPreview->VPaintRollOptions(iPrintWithMargins, iMarginSet, iEnlargement);
    VFillLargeFormat(pContext);
    pContext->pPreview->VSetSettings(&r);
    // The print preview shows the page as the large-format fields lay it out, beside the
    // application's view of it.
    pContext->pPreview->VPaint();
}

void CZQMarginsDlg::VFillLargeFormat(PageContext* pContext) {
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    int* extra = m_preview.aiExtra;
    const int centre = OptionIs(param, zqkw::kZQCenterOnPage, L"TRUE");
    if (centre >= 0) extra[kPxCenterOnPage] = centre;
    extra[kPxContentOrientation] = Readable(param, L"ZQContentOrientation") ? 1 : 0;
    extra[kPxLargeFormat] = logic.BIsLargeFormat() ? 1 : 0;
    const ZQUIDevmode* dm = logic.WorkDM();
    extra[kPxPageLanguage] = Int(dm->dwPdl);
    WCHAR paper[256];
    if (ReadOption(param, dm->dwPdl == kPdlPostScript ? zqkw::kPageSize : zqkw::kPaperSize, paper)) {
        if (ZQContainsNoCase(paper, L"_SHEET")) {
            extra[kPxRollPaper] = 0;
        } else {
            const POPTITEM source = PubItem(param, DMPUB_DEFSOURCE);
            const PCWSTR name = source ? OptionName(source, static_cast<int>(source->Sel)) : nullptr;
            extra[kPxRollPaper] = (source && source->Sel == 0) || !name ||
                                          !(ZQEqualNoCase(name, zqkw::kSheet) || ZQEqualNoCase(name, L"Manual Feed"))
                                      ? 1
                                      : 0;
        }
    }
    extra[kPxSaveRollPaper] = OptionIs(param, zqkw::kZQSaveRollPaper, L"TRUE") == 1 ? 1 : 0;
    const int cutterOff = OptionIs(param, zqkw::kZQDisableAutoCutter, L"TRUE");
    if (cutterOff >= 0) extra[kPxAutoCutter] = cutterOff ? 0 : 1;
    extra[kPxAutoRotate] = OptionIs(param, zqkw::kZQAutorotate, L"TRUE") == 1 ? 1 : 0;
    // The layout as "ZQPrintWithMargins" holds it: the layout radios select theirs at once,
    // Borderless only on OK.
    ZQFillPreviewMargins(&m_preview, param);
}

// ---------------------------------------------------------------------------------------------
// The dialog procedure
// ---------------------------------------------------------------------------------------------
INT_PTR CALLBACK CZQMarginsDlg::MarginsDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG)
        return Modal::IStart(hDlg, [&](CZQMarginsDlg& d) {
            return d.BInitDialog(hDlg, reinterpret_cast<PageContext*>(lParam));
        });
    PageContext* context = nullptr;
    CZQMarginsDlg* dialog = Modal::Bound(hDlg, uMsg, uMsg == WM_COMMAND, &context);
    if (!dialog) return FALSE;
    switch (uMsg) {
        case WM_COMMAND:
            if (HIWORD(wParam) == 0) dialog->VOnCommand(LOWORD(wParam), context);
            return TRUE;
        case WM_CLOSE: EndDialog(hDlg, IDCANCEL); return TRUE;
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            SetWindowLongPtrW(hDlg, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_DRAWITEM: return TRUE;
        case WM_PAINT: {
            dialog->VReadRadios();
            const ZQMarginChoices& choices = Choices();
            dialog->VPaintPreview(context, choices.iPrintWithMargins, choices.iMarginSet, choices.iEnlargement);
            return FALSE;
        }
        case WM_HELP:
        case WM_CONTEXTMENU: ZQShowDialogHelp(uMsg, wParam, lParam, dialog->m_pCUIParam, kHelpIds); return TRUE;
        default: return FALSE;
    }
}
