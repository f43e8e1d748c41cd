// The image-enhancement dialog: its opening from the current options, the pictures, the
// "Automatic" boxes and sliders, and storing the choices on OK.
#include "pages/dialogs/zqimageenhancedlg.h"

#include <commctrl.h>

#include <cstdio>

#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpages.h"
#include "res/zqimageenhanceids.h"
#include "res/zqpaperqualityids.h"

namespace {

using Modal = CZQModalDialog<CZQImageEnhanceDlg>;
using Photo = CZQUILogic::PhotoSettings;

constexpr int kOff = 0, kOn = 1;
constexpr int kMediumLevel = 3;
constexpr int kHelpAutomatic = 15436, kHelpOn = 15434, kHelpOff = 15435;

// The slider step of an option keyword ("On" 1 .. "High" 4); 0 for "Off" and anything unknown
// counts as "On".
int LevelOf(PCWSTR pszOption) {
    if (lstrcmpW(pszOption, L"Off") == 0) return 0;
    if (lstrcmpW(pszOption, L"Low") == 0) return 2;
    if (lstrcmpW(pszOption, L"Medium") == 0) return 3;
    if (lstrcmpW(pszOption, L"High") == 0) return 4;
    return 1;
}

// The current option of a feature; FALSE when it cannot be read.
BOOL ReadOption(POEMCUIPPARAM pParam, PCWSTR pszFeature, CZQLocalPtr<WCHAR>& option) {
    return CZQCommon::DWGetFeatureOption(pParam, pszFeature, option.Put()) == ZQOPT_OK && option.Get();
}

// The feature's option item, or null.
POPTITEM ItemOf(POEMCUIPPARAM pParam, PCWSTR pszFeature) {
    POPTITEM item = nullptr;
    return CZQCommon::DWFindOptItem(pParam, pszFeature, &item) == ZQOPT_OK ? item : nullptr;
}

// The bitmap ids the option item's display name carries ("%d_%d" or "%d_%d_%d_%d"); the ids stay
// 0 unless the name holds all of them.
void ReadBitmapIds(POEMCUIPPARAM pParam, PCWSTR pszFeature, WORD* pwIds, int iCount) {
    const POPTITEM item = ItemOf(pParam, pszFeature);
    if (!item || !item->pName) return;
    int ids[4] = {};
    const int read = iCount == 2 ? std::swscanf(item->pName, L"%d_%d", &ids[0], &ids[1])
                                 : std::swscanf(item->pName, L"%d_%d_%d_%d", &ids[0], &ids[1], &ids[2], &ids[3]);
    if (read != iCount) return;
    for (int i = 0; i < iCount; ++i) pwIds[i] = static_cast<WORD>(ids[i]);
}

// The pictures are painted into their controls from the dialog's own painting: the controls
// are made invalid with it.
void Repaint(HWND hDlg) { RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN); }

}  // namespace

// An enhancement with an "Automatic" box and a four-step slider.
struct CZQImageEnhanceDlg::SliderRow {
    PCWSTR pszFeature;
    Picture picture;
    int iGroup, iPicture, iAuto, iSlider, iOffLabel, iHighLabel;
    int iAutoText;
    DWORD dwHelp;          // help without an item help index
    DWORD Photo::*pLevel;  // the level the logic keeps
};

// An enhancement with two radio buttons.
struct CZQImageEnhanceDlg::ChoiceRow {
    PCWSTR pszFeature;
    Picture picture;
    int iGroup, iPicture, iOn, iOff;
    DWORD dwHelp;
    DWORD Photo::*pOn;  // the on state the logic keeps
};

namespace {

// In the order the dialog opens them.
const CZQImageEnhanceDlg::SliderRow kSliders[] = {
    {zqkw::kZQDigitalFlash, CZQImageEnhanceDlg::kDigitalFlash, IDC_DIGITAL_FLASH_NEW, IDC_DIGITALFLASH,
     IDC_DIGITALFLASH_AUTO, IDC_SLIDER_DIGITAL, IDC_DIGITAL_OFF, IDC_DIGITAL_HIGH, 4157, 15439,
     &Photo::dwDigitalFlash},
    {zqkw::kZQContrast, CZQImageEnhanceDlg::kContrast, IDC_CONTRAST_ENHANCEMENT, IDC_CONTRAST, IDC_CONTRAST_AUTO,
     IDC_SLIDER_CONTRAST, IDC_CONTRAST_OFF, IDC_CONTRAST_HIGH, 4155, 15438, &Photo::dwContrast},
    {zqkw::kZQSharpness, CZQImageEnhanceDlg::kSharpness, IDC_SHARP_NESS, IDC_SHARPNESS, IDC_SHARPNESS_AUTO,
     IDC_SLIDER_SHARPNESS, IDC_SHARPNESS_OFF, IDC_SHARPNESS_HIGH, 4160, 15441, &Photo::dwSharpness},
    {zqkw::kZQSmoothing, CZQImageEnhanceDlg::kSmoothing, IDC_SMOOTHING, IDC_SMOOTH, IDC_SMOOTHING_AUTO,
     IDC_SLIDER_SMOOTHING, IDC_SMOOTHING_OFF, IDC_SMOOTHING_HIGH, 4162, 15442, &Photo::dwSmoothing},
};

const CZQImageEnhanceDlg::ChoiceRow kRedEyeRow = {zqkw::kZQRedEyeReduction, CZQImageEnhanceDlg::kRedEye, IDC_RED_EYE,
                                                  IDC_REDEYE, IDC_ONREDEYE, IDC_OFFREDEYE, 15437, &Photo::dwRedEye};
const CZQImageEnhanceDlg::ChoiceRow kVorevRow = {zqkw::kZQVorevEzuro, CZQImageEnhanceDlg::kVorevEzuro, IDC_VOREV_EZURO,
                                                 IDC_VOREVEZURO, IDC_VOREV_ON, IDC_VOREV_OFF, 15440,
                                                 &Photo::dwVorevEzuro};

}  // namespace

INT_PTR CZQImageEnhanceDlg::IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft) {
    if (!pContext || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    return Modal::IRun(this, static_cast<HINSTANCE>(m_pCUIParam->hModule),
                       bRightToLeft ? IDD_DLG_IMAGE_ENHANCEMENT_RTL : IDD_DLG_IMAGE_ENHANCEMENT, hOwner, &DlgProc,
                       reinterpret_cast<LPARAM>(pContext));
}

BOOL CZQImageEnhanceDlg::BInitDialog(HWND hDlg, PageContext* pContext) {
    if (!pContext || !pContext->pPage || !m_pCUIParam || !m_pCUIParam->pOEMDM) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_hDlg = hDlg;
    for (int& level : m_aiLevel) level = 0;
    for (WORD& shown : m_awShown) shown = 0;
    for (const SliderRow& row : kSliders)
        SendMessageW(Item(row.iSlider), TBM_SETRANGE, TRUE, MAKELPARAM(1, 4));
    // The photo enhancements take the business names where the driver says so.
    CZQLocalPtr<WCHAR> naming;
    m_bBusinessNaming = ReadOption(m_pCUIParam, L"ZQLunetra", naming) && lstrcmpW(naming.Get(), L"ZQBusinessPrinting") == 0;

    // Help pairs: the dialog first, then each group as it is read; a feature without an item help
    // index takes the group's own topic.
    int pair = 0;
    auto help = [&](int id, DWORD topic) {
        m_adwHelp[2 * pair] = static_cast<DWORD>(id);
        m_adwHelp[2 * pair + 1] = topic;
        ++pair;
    };
    auto topicOf = [&](PCWSTR feature, DWORD fallback) {
        const POPTITEM item = ItemOf(m_pCUIParam, feature);
        return item && item->HelpIndex ? item->HelpIndex : fallback;
    };
    help(IDD_DLG_IMAGE_ENHANCEMENT, static_cast<DWORD>(-1));

    CZQLocalPtr<WCHAR> option;
    const bool redEye = ReadOption(m_pCUIParam, kRedEyeRow.pszFeature, option);
    if (redEye) {
        VInitChoice(kRedEyeRow);
    } else {
        m_awShown[kRedEye] = IDB_PHOTO_NO_REDEYE;
        for (int id : {IDC_ONREDEYE, IDC_OFFREDEYE, IDC_RED_EYE}) ShowWindow(Item(id), SW_HIDE);
    }
    const DWORD redEyeTopic = topicOf(kRedEyeRow.pszFeature, kRedEyeRow.dwHelp);
    help(IDC_RED_EYE, redEyeTopic);
    help(IDC_REDEYE, redEye ? redEyeTopic : static_cast<DWORD>(-1));
    help(IDC_ONREDEYE, kHelpOn);
    help(IDC_OFFREDEYE, kHelpOff);

    VInitChoice(kVorevRow);
    const DWORD vorevTopic = topicOf(kVorevRow.pszFeature, kVorevRow.dwHelp);
    help(IDC_VOREV_EZURO, vorevTopic);
    help(IDC_VOREVEZURO, vorevTopic);
    help(IDC_VOREV_ON, kHelpOn);
    help(IDC_VOREV_OFF, kHelpOff);

    for (const SliderRow& row : kSliders) {
        VInitSlider(row);
        const DWORD topic = topicOf(row.pszFeature, row.dwHelp);
        for (int id : {row.iGroup, row.iPicture, row.iSlider}) help(id, topic);
        help(row.iAuto, kHelpAutomatic);
        help(row.iOffLabel, static_cast<DWORD>(-1));
        help(row.iHighLabel, static_cast<DWORD>(-1));
    }
    help(0, 0);

    VSetTexts();
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    return TRUE;
}

void CZQImageEnhanceDlg::VInitChoice(const ChoiceRow& row) {
    CZQLocalPtr<WCHAR> option;
    if (!ReadOption(m_pCUIParam, row.pszFeature, option)) return;
    WORD* pictures = row.picture == kRedEye ? m_awRedEye : m_awVorevEzuro;
    ReadBitmapIds(m_pCUIParam, row.pszFeature, pictures, 2);
    const bool on = lstrcmpW(option.Get(), L"Off") != 0;
    m_awShown[row.picture] = pictures[on ? kOn : kOff];
    CheckRadioButton(m_hDlg, row.iOn, row.iOff, on ? row.iOn : row.iOff);
}

void CZQImageEnhanceDlg::VInitSlider(const SliderRow& row) {
    CZQLocalPtr<WCHAR> option;
    if (!ReadOption(m_pCUIParam, row.pszFeature, option)) return;
    ReadBitmapIds(m_pCUIParam, row.pszFeature, m_awSteps[row.picture], 4);
    const int level = LevelOf(option.Get());
    CheckDlgButton(m_hDlg, row.iAuto, level ? BST_UNCHECKED : BST_CHECKED);
    if (level) SendMessageW(Item(row.iSlider), TBM_SETPOS, TRUE, level);
    VShowLevel(row, level);
}

// The level chosen (0: automatic): the slider and its end labels follow, and the picture shows the
// level's sample ("Medium" while automatic).
void CZQImageEnhanceDlg::VShowLevel(const SliderRow& row, int iLevel) {
    for (int id : {row.iSlider, row.iOffLabel, row.iHighLabel}) EnableWindow(Item(id), iLevel != 0);
    m_aiLevel[row.picture] = iLevel;
    m_awShown[row.picture] = m_awSteps[row.picture][(iLevel ? iLevel : kMediumLevel) - 1];
}

void CZQImageEnhanceDlg::VSetTexts() {
    struct Text {
        int id;
        int iString;
        PCWSTR pszEnglish;
    };
    const bool business = m_bBusinessNaming != FALSE;
    const Text texts[] = {
        {IDC_RED_EYE, business ? 4153 : 4862, business ? L"&RedEye Removal" : L"Automatic &red-eye removal"},
        {IDC_DIGITAL_FLASH_NEW, business ? 4156 : 4861, business ? L"&Digital Flash" : L"A&daptive lighting"},
        {IDC_CONTRAST_ENHANCEMENT, business ? 4154 : 4860,
         business ? L"Con&trast Enhancement" : L"Pho&to brightening"},
        {IDC_SMOOTHING, 4161, L"S&moothing"},
        {IDC_SHARP_NESS, 4159, L"&Sharpness"},
        {IDC_VOREV_EZURO, 4158, L"Vorev&Ezuro"},
        {IDC_ONREDEYE, 1071, L"On"},
        {IDC_VOREV_ON, 1071, L"On"},
        {IDC_OFFREDEYE, 1117, L"Off"},
        {IDC_VOREV_OFF, 1117, L"Off"},
        {IDOK, 849, L"&OK"},
        {IDCANCEL, 850, L"&Cancel"},
    };
    for (const Text& text : texts) BSetWindowTextRes(text.iString, Item(text.id), text.pszEnglish);
    for (const SliderRow& row : kSliders) {
        BSetWindowTextRes(row.iAutoText, Item(row.iAuto), L"Automatic");
        BSetWindowTextRes(1117, Item(row.iOffLabel), L"Off");
        BSetWindowTextRes(3427, Item(row.iHighLabel), L"High");
    }
    if (business) BSetWindowTextRes(4832, m_hDlg, L"ZQ Lunetra Options");
    else BSetWindowTextRes(4863, m_hDlg, L"ZQ Digital Photography Vivrel technologies");
}

void CZQImageEnhanceDlg::VPaint(PageContext* pContext) {
    PAINTSTRUCT dialogPaint;
    BeginPaint(m_hDlg, &dialogPaint);
    EndPaint(m_hDlg, &dialogPaint);
    const BOOL mirror = pContext->pLogic && pContext->pLogic->SheetState() && pContext->pLogic->SheetState()->bRtl;
    const auto module = static_cast<HINSTANCE>(m_pCUIParam->hModule);
    const int pictures[kPictureCount] = {IDC_REDEYE, IDC_CONTRAST, IDC_SMOOTH, IDC_DIGITALFLASH, IDC_SHARPNESS,
                                         IDC_VOREVEZURO};
    // A picture without a bitmap keeps the template's frame.
    for (int i = 0; i < kPictureCount; ++i)
        if (m_awShown[i]) VPaintItemBitmap(m_hDlg, 0, mirror, m_awShown[i], pictures[i], module);
}

void CZQImageEnhanceDlg::VOnCommand(int id) {
    for (const SliderRow& row : kSliders) {
        if (id != row.iAuto) continue;
        const bool automatic = IsDlgButtonChecked(m_hDlg, row.iAuto) == BST_CHECKED;
        const int position = static_cast<int>(SendMessageW(Item(row.iSlider), TBM_GETPOS, 0, 0));
        VShowLevel(row, automatic ? 0 : (position < 1 ? 1 : position > 4 ? 4 : position));
    }
    if (id == IDC_ONREDEYE || id == IDC_OFFREDEYE) m_awShown[kRedEye] = m_awRedEye[id == IDC_ONREDEYE ? kOn : kOff];
    if (id == IDC_VOREV_ON || id == IDC_VOREV_OFF)
        m_awShown[kVorevEzuro] = m_awVorevEzuro[id == IDC_VOREV_ON ? kOn : kOff];
}

// The trackbar moves itself before it tells a step, a page or an end: its position is the level
// then; while the thumb is dragged the notice carries the position.
void CZQImageEnhanceDlg::VOnScroll(HWND hSlider, WPARAM wParam) {
    for (const SliderRow& row : kSliders) {
        if (!hSlider || hSlider != Item(row.iSlider)) continue;
        const int code = LOWORD(wParam);
        int position = code == TB_THUMBPOSITION || code == TB_THUMBTRACK
                           ? HIWORD(wParam)
                           : static_cast<int>(SendMessageW(hSlider, TBM_GETPOS, 0, 0));
        position = position < 1 ? 1 : position > 4 ? 4 : position;
        VShowLevel(row, position);
        return;
    }
}

// The on states and levels chosen now against the ones the logic kept.
void CZQImageEnhanceDlg::VSetChangedFlag(PageContext* pContext) {
    if (!pContext->pLogic) return;
    const Photo& kept = pContext->pLogic->Photo();
    for (const ChoiceRow* row : {&kRedEyeRow, &kVorevRow})
        if ((IsDlgButtonChecked(m_hDlg, row->iOn) == BST_CHECKED ? 1u : 0u) != kept.*(row->pOn)) m_bChanged = TRUE;
    for (const SliderRow& row : kSliders)
        if (static_cast<DWORD>(m_aiLevel[row.picture]) != kept.*(row.pLevel)) m_bChanged = TRUE;
}

void CZQImageEnhanceDlg::VStore(PageContext* pContext) {
    CZQUILogic* logic = pContext->pLogic;
    for (const ChoiceRow* row : {&kRedEyeRow, &kVorevRow}) {
        if (!ItemOf(m_pCUIParam, row->pszFeature)) continue;
        const DWORD on = IsDlgButtonChecked(m_hDlg, row->iOn) == BST_CHECKED ? 1 : 0;
        DWSelectOptionByIndex(m_pCUIParam, row->pszFeature, static_cast<int>(on), OEMCUIP_DOCPROP);
        if (logic) logic->Photo().*(row->pOn) = on;
    }
    for (const SliderRow& row : kSliders) {
        if (!ItemOf(m_pCUIParam, row.pszFeature)) continue;
        const int level = IsDlgButtonChecked(m_hDlg, row.iAuto) == BST_CHECKED ? 0 : m_aiLevel[row.picture];
        DWSelectOptionByIndex(m_pCUIParam, row.pszFeature, level, OEMCUIP_DOCPROP);
    }
}

INT_PTR CALLBACK CZQImageEnhanceDlg::DlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    // Without its page the dialog has nothing to show: it ends at once, as cancelled.
    if (uMsg == WM_INITDIALOG)
        return Modal::IStart(hDlg, [&](CZQImageEnhanceDlg& d) {
            return d.BInitDialog(hDlg, reinterpret_cast<PageContext*>(lParam));
        });
    switch (uMsg) {
        case WM_COMMAND:
        case WM_CLOSE:
        case WM_HELP:
        case WM_CONTEXTMENU:
        case WM_PAINT:
        case WM_HSCROLL: break;
        default: return FALSE;
    }
    PageContext* context = nullptr;
    CZQImageEnhanceDlg* dialog = Modal::Bound(hDlg, uMsg, false, &context);
    if (!dialog) {
        if (uMsg == WM_HSCROLL || uMsg == WM_PAINT) SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    switch (uMsg) {
        case WM_PAINT: dialog->VPaint(context); return FALSE;
        case WM_HSCROLL:
            dialog->VOnScroll(reinterpret_cast<HWND>(lParam), wParam);
            Repaint(hDlg);
            return TRUE;
        case WM_HELP:
        case WM_CONTEXTMENU: ZQShowDialogHelp(uMsg, wParam, lParam, dialog->m_pCUIParam, dialog->m_adwHelp); return TRUE;
        case WM_CLOSE: EndDialog(hDlg, IDCANCEL); return TRUE;
        default: break;
    }
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
        case IDOK:
            dialog->VSetChangedFlag(context);
            dialog->VStore(context);
            EndDialog(hDlg, IDOK);
            return TRUE;
        case IDCANCEL: EndDialog(hDlg, IDCANCEL); return TRUE;
        default:
            dialog->VOnCommand(LOWORD(wParam));
            Repaint(hDlg);
            return TRUE;
    }
}
