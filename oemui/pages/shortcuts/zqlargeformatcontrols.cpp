// The panel's run-time controls: the template only marks each row with a holder, so the rows'
// buttons, captions, lists and sliders are made (or kept from the previous build) while the page
// runs, then filled with their choices under the administrator's locks.
#include "pages/shortcuts/zqlargeformatshortcuts.h"

#include <commctrl.h>

#include "common/zqhandles.h"
#include "common/zqmodule.h"
#include "common/zqprintercaps.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "pages/zqpageitems.h"
#include "res/zqshortcutsids.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmluirules.h"

using namespace zqpage;

namespace {

constexpr int kPreviewLandscapeId = 441;
constexpr int kRowHolders = 10;
constexpr int kColonId = 3994;
constexpr UINT kShowAfter = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;

}  // namespace

struct CZQLargeFormatShortcutsTab::ControlShape {
    PCWSTR pszClass;
    DWORD dwStyle;
    PCWSTR pszCreationText;  // null: the composed text
    bool bRenewText;         // a kept window shows the new text
};
struct CZQLargeFormatShortcutsTab::ControlPlace {
    int x, y, cx, cy;
};

namespace {

using ControlShape = CZQLargeFormatShortcutsTab::ControlShape;
constexpr ControlShape kPushButton = {L"Button", 0x50010000, nullptr, true};
constexpr ControlShape kCheckBox = {L"Button", 0x50010003, nullptr, true};
constexpr ControlShape kCaption = {L"Static", 0x50000000, nullptr, true};
constexpr ControlShape kStaticText = {L"Static", 0x50000000, L"Static Text", false};
constexpr ControlShape kDropDown = {L"Combobox", 0x50210003, L"Combo Box", false};
constexpr ControlShape kSlider = {L"msctls_trackbar32", 0x50000000, L"Trackbar", false};

bool IsText(LPTSTR pData) { return pData && !IS_INTRESOURCE(pData); }

HWND Item(HWND hDlg, int id) { return hDlg ? GetDlgItem(hDlg, id) : nullptr; }

// A window's rectangle in the page's client coordinates.
bool PageRect(HWND hDlg, HWND hWnd, RECT* pRect) {
    if (!hWnd || !GetWindowRect(hWnd, pRect)) return false;
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(pRect), 2);
    return true;
}

void DisableShown(HWND hWnd) {
    if (!hWnd) return;
    EnableWindow(hWnd, FALSE);
    ShowWindow(hWnd, SW_SHOW);
}

LRESULT FindExact(HWND hList, PCWSTR pszText) {
    return pszText ? SendMessageW(hList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText))
                   : CB_ERR;
}

// The administrator's text of a feature in the configuration manager's tree.
bool AdminText(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszName, CZQLocalPtr<WCHAR>& text) {
    return hPrinter && CZQDriverData::BGetPrinterDataEx(hPrinter, pszKey, pszName, text.Put()) && text.Get();
}

// The text added when the list lacks it (bAdd), then selected; CB_SELECTSTRING's answer is the
// selection, so a missing text clears it.
void SelectText(HWND hList, PCWSTR pszText, bool bAdd) {
    if (bAdd && FindExact(hList, pszText) == CB_ERR)
        SendMessageW(hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText));
    const LRESULT found = SendMessageW(hList, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText));
    SendMessageW(hList, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Making the controls
// ---------------------------------------------------------------------------------------------
// The holder's rectangle on the page. A template without that holder (the simplified one has eight
// rows) gives the row below the last holder it has, one row pitch further down; no holder at all,
// no place.
static bool HolderRect(HWND hDlg, int iHolder, RECT* pRect) {
    if (PageRect(hDlg, Item(hDlg, iHolder), pRect)) return true;
    const int row = iHolder - IDC_DC_CTL_HOLDER1;
    if (row < 1 || row >= kRowHolders) return false;
    RECT first, second;
    if (!PageRect(hDlg, Item(hDlg, IDC_DC_CTL_HOLDER1), &first) ||
        !PageRect(hDlg, Item(hDlg, IDC_DC_CTL_HOLDER1 + 1), &second))
        return false;
    const int pitch = second.top - first.top;
    for (int last = row - 1; last >= 0; --last) {
        if (!PageRect(hDlg, Item(hDlg, IDC_DC_CTL_HOLDER1 + last), pRect)) continue;
        OffsetRect(pRect, 0, pitch * (row - last));
        return true;
    }
    return false;
}

int CZQLargeFormatShortcutsTab::IMakeControl(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape,
                                             PCWSTR pszText, const ControlPlace& place, int iAfterId) {
    const int id = m_nNextCtrlId;
    const PCWSTR creationText = shape.pszCreationText ? shape.pszCreationText : pszText;
    HWND control = Item(m_hDlg, id);
    if (control) {
        WCHAR className[260] = {};
        GetClassNameW(control, className, 260);
        if (ZQEqualNoCase(className, shape.pszClass)) {
            if (shape.bRenewText) SetWindowTextW(control, pszText);
            // A kept window may have served another row in the previous build.
            MoveWindow(control, place.x, place.y, place.cx, place.cy, FALSE);
        } else {
            DestroyWindow(control);
            control = nullptr;
        }
    }
    if (!control && m_hDlg)
        control = zqmodule::CreateWindowInModuleContext(0, shape.pszClass, creationText, shape.dwStyle, place.x,
                                                        place.y, place.cx, place.cy, m_hDlg,
                                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), hInstance,
                                                        nullptr);
    if (control) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        if (&shape == &kSlider) SendMessageW(control, TBM_SETRANGE, TRUE, MAKELPARAM(0, 1));
        SetWindowPos(control, Item(m_hDlg, iAfterId), 0, 0, 0, 0, kShowAfter);
    }
    m_nNextCtrlId = id + 1;
    if (m_nCtrlIdEnd < m_nNextCtrlId) m_nCtrlIdEnd = m_nNextCtrlId;
    return id;
}

void CZQLargeFormatShortcutsTab::VComposeCaption(int iTextId, PWSTR pszCaption) {
    WCHAR text[kTextChars] = {}, colon[kTextChars] = {};
    BLoadResString(iTextId, text);
    VLoadText(kColonId, L":", colon);
    ZQFormatText(pszCaption, kTextChars, L"%ls%ls", text, colon);
}

void CZQLargeFormatShortcutsTab::VFinishRow(int iHolder, int iLastId) {
    if (HWND holder = Item(m_hDlg, iHolder)) ShowWindow(holder, SW_HIDE);
    VSetAnchorId(iLastId);
}

BOOL CZQLargeFormatShortcutsTab::BCreateSingle(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape,
                                               int iTextId, int iHolder, int* piCtrlId) {
    WCHAR text[kTextChars] = {};
    BLoadResString(iTextId, text);
    RECT holder = {};
    if (!HolderRect(m_hDlg, iHolder, &holder)) {
        if (piCtrlId) *piCtrlId = 0;
        return TRUE;
    }
    const bool button = &shape == &kPushButton;
    const ControlPlace place = {holder.left, holder.top + (button ? 5 : 0), holder.right - holder.left,
                        button ? 25 : holder.bottom - holder.top};
    const int id = IMakeControl(hInstance, hFont, shape, text, place, m_nCtrlIdAnchor);
    if (piCtrlId) *piCtrlId = id;
    VFinishRow(iHolder, id);
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BCreatePair(HINSTANCE hInstance, HFONT hFont, const ControlShape& shape,
                                             int iTextId, int iHolder, int* piSecondId, int* piCaptionId) {
    RECT holder = {};
    if (!HolderRect(m_hDlg, iHolder, &holder)) {
        if (piSecondId) *piSecondId = 0;
        if (piCaptionId) *piCaptionId = 0;
        return TRUE;
    }
    WCHAR caption[kTextChars] = {};
    VComposeCaption(iTextId, caption);
    const int width = holder.right - holder.left;
    const bool slider = &shape == &kSlider;
    const int captionId =
        IMakeControl(hInstance, hFont, kCaption, caption, {holder.left, holder.top, slider ? 200 : width, 14},
                     m_nCtrlIdAnchor);
    if (piCaptionId) *piCaptionId = captionId;
    // The second control stands under the caption as it now is (a missing caption: its would-be place).
    RECT top = {holder.left, holder.top, holder.left + width, holder.top + 14};
    PageRect(m_hDlg, Item(m_hDlg, captionId), &top);
    const int gap = &shape == &kStaticText ? 5 : 1;
    const int height = &shape == &kStaticText ? 20 : slider ? 30 : 200;
    const int secondId = IMakeControl(hInstance, hFont, shape, L"", {holder.left, top.bottom + gap, slider ? 200 : width, height},
                                      m_nNextCtrlId - 1);
    if (piSecondId) *piSecondId = secondId;
    VFinishRow(iHolder, secondId);
    return TRUE;
}

BOOL CZQLargeFormatShortcutsTab::BCreatePushButton(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder,
                                                   int* piCtrlId) {
    return BCreateSingle(hInstance, hFont, kPushButton, iTextId, iHolder, piCtrlId);
}

BOOL CZQLargeFormatShortcutsTab::BCreateCheckBox(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder,
                                                 int* piCtrlId) {
    return BCreateSingle(hInstance, hFont, kCheckBox, iTextId, iHolder, piCtrlId);
}

BOOL CZQLargeFormatShortcutsTab::BCreateLabelAndText(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder,
                                                     int* piTextCtrlId, int* piCaptionId) {
    return BCreatePair(hInstance, hFont, kStaticText, iTextId, iHolder, piTextCtrlId, piCaptionId);
}

BOOL CZQLargeFormatShortcutsTab::BCreateLabelAndCombo(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder,
                                                      int* piListId, int* piCaptionId) {
    return BCreatePair(hInstance, hFont, kDropDown, iTextId, iHolder, piListId, piCaptionId);
}

BOOL CZQLargeFormatShortcutsTab::BCreateLabelAndSlider(HINSTANCE hInstance, HFONT hFont, int iTextId, int iHolder,
                                                       int* piSliderId, int* piCaptionId) {
    return BCreatePair(hInstance, hFont, kSlider, iTextId, iHolder, piSliderId, piCaptionId);
}

// In the right column every row goes straight after the landscape preview button; in the left one
// each row follows the row made before it, starting after the shortcut list.
void CZQLargeFormatShortcutsTab::VSetAnchorId(int iId) { m_nCtrlIdAnchor = m_bRightColumn ? kPreviewLandscapeId : iId; }

// ---------------------------------------------------------------------------------------------
// Scaling and Copies: the template's edit groups moved into the row
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VSetupEditFeature(PageContext* pContext, PCWSTR pszKeyword, PCWSTR* ppszNames,
                                                   int iRow, BOOL bFromEntry) {
    if (!pszKeyword || !m_hDlg) return;
    const LRESULT selected = m_hwndShortcutList ? SendMessageW(m_hwndShortcutList, LB_GETCURSEL, 0, 0) : LB_ERR;
    const ZQUIDevmode* work = WorkOf(pContext);
    const int fromName = ppszNames && ppszNames[0] ? static_cast<int>(wcstol(ppszNames[0], nullptr, 10)) : 0;
    WCHAR text[kTextChars] = {};
    if (ZQEqualNoCase(pszKeyword, L"Scaling")) {
        m_bScalingOnPanel = TRUE;
        VLoadText(4264, L"P&ercent Of Normal Size", text);
        if (m_hwndScalingLabel) SetWindowTextW(m_hwndScalingLabel, text);
        if (m_hwndScalingEdit) SendMessageW(m_hwndScalingEdit, EM_LIMITTEXT, 3, 0);
        if (m_hwndScalingSpin) SendMessageW(m_hwndScalingSpin, UDM_SETRANGE, 0, MAKELPARAM(400, 25));
        const int value = !bFromEntry && work ? static_cast<int>(work->dwDocTypeScaling) : fromName;
        SetDlgItemInt(m_hDlg, IDC_TXT_FC_SCALING, static_cast<UINT>(value), FALSE);
        VPlaceEditGroup(pContext, IDC_STA_FS_SCALING, IDC_TXT_FC_SCALING, IDC_SPIN_SCALING, IDC_DC_SCALING_HOLDER, iRow);
        return;
    }
    if (!ZQEqualNoCase(pszKeyword, L"Copies")) return;
    m_bCopiesOnPanel = TRUE;
    WCHAR colon[kTextChars] = {};
    VLoadText(kColonId, L":", colon);
    ZQFormatText(text, kTextChars, L"%ls%ls", pszKeyword, colon);
    if (m_hwndCopiesLabel) SetWindowTextW(m_hwndCopiesLabel, text);
    if (m_hwndCopiesEdit) SendMessageW(m_hwndCopiesEdit, EM_LIMITTEXT, 4, 0);
    if (m_hwndCopiesSpin) SendMessageW(m_hwndCopiesSpin, UDM_SETRANGE, 0, MAKELPARAM(9999, 1));
    int value = fromName;
    WCHAR row[kTextChars] = {};
    const LRESULT length =
        selected == LB_ERR ? LB_ERR : SendMessageW(m_hwndShortcutList, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length != LB_ERR && length < static_cast<LRESULT>(kTextChars)) {
        SendMessageW(m_hwndShortcutList, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(row));
        const int index = static_cast<int>(selected);
        // A stored shortcut keeps its own copies.
        if ((!BIsDocumentType(pContext, row) && index < m_nListedCount) ||
            (m_bRestrictedUser && index >= m_nListedCount && index <= m_nListedCountWithUser))
            m_store.VGetFeatureSlot(pContext, L"Copies", &value);
    }
    if (!bFromEntry && work) value = static_cast<int>(work->dwDocTypeCopies);
    SetDlgItemInt(m_hDlg, IDC_TXT_FC_COPIES, static_cast<UINT>(value), FALSE);
    VPlaceEditGroup(pContext, IDC_STA_FS_COPIES, IDC_TXT_FC_COPIES, IDC_SPIN_COPIES, IDC_DC_COPY_HOLDER, iRow);
}

void CZQLargeFormatShortcutsTab::VPlaceEditGroup(PageContext*, int iCaption, int iEdit, int iSpin, int iPictureHolder,
                                                 int iRow) {
    if (!m_hDlg || iRow < 0 || iRow >= kRowHolders) return;
    RECT rowPicture, rowHolder;
    HWND picture = Item(m_hDlg, iPictureHolder);
    if (picture && PageRect(m_hDlg, Item(m_hDlg, IDC_DC_BMP_HOLDER1 + iRow), &rowPicture))
        SetWindowPos(picture, nullptr, rowPicture.left, rowPicture.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    if (!HolderRect(m_hDlg, IDC_DC_CTL_HOLDER1 + iRow, &rowHolder)) return;
    HWND caption = Item(m_hDlg, iCaption), edit = Item(m_hDlg, iEdit), spin = Item(m_hDlg, iSpin);
    RECT captionRect = {rowHolder.left, rowHolder.top, rowHolder.right, rowHolder.top + 14}, editRect = {};
    if (caption)
        SetWindowPos(caption, Item(m_hDlg, m_nCtrlIdAnchor), rowHolder.left, rowHolder.top,
                     rowHolder.right - rowHolder.left, 14, SWP_SHOWWINDOW);
    PageRect(m_hDlg, caption, &captionRect);
    if (edit) {
        SetWindowPos(edit, caption, captionRect.left, captionRect.bottom + 1, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        PageRect(m_hDlg, edit, &editRect);
    }
    if (spin && edit) SetWindowPos(spin, edit, editRect.right - 2, editRect.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    VSetAnchorId(iSpin);
}

// ---------------------------------------------------------------------------------------------
// Values and choices
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VSetStaticText(PageContext*, PCWSTR* ppszText, int iCtrlId) {
    if (HWND control = Item(m_hDlg, iCtrlId); control && ppszText && ppszText[0])
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ppszText[0]));
}

void CZQLargeFormatShortcutsTab::VSetCheckFromValue(PageContext*, PCWSTR, PCWSTR* ppszKeywords, int iSelected,
                                                    int nCount, int iCtrlId) {
    if (!ppszKeywords || iSelected < 0 || iSelected >= nCount || !ppszKeywords[iSelected]) return;
    if (HWND control = Item(m_hDlg, iCtrlId))
        SendMessageW(control, BM_SETCHECK, ZQEqualNoCase(ppszKeywords[iSelected], L"Enabled") ? 1 : 0, 0);
}

void CZQLargeFormatShortcutsTab::VFillChoiceCombo(PageContext* pContext, PCWSTR pszKeyword, PCWSTR* ppszKeywords,
                                                  PCWSTR* ppszNames, int** ppiNotAvailable, int iCurrent, int nCount,
                                                  int iCtrlId) {
    m_hwndStaplingCombo = nullptr;
    HWND list = Item(m_hDlg, iCtrlId);
    if (!pszKeyword || !list) return;
    if (ZQEqualNoCase(pszKeyword, m_szKwInputBin)) {
        VFillInputBinCombo(pContext, pszKeyword, ppszKeywords, ppszNames, ppiNotAvailable, iCurrent, nCount, iCtrlId);
        return;
    }
    if (ZQEqualNoCase(pszKeyword, L"Duplex")) {
        VFillDuplexCombo(pContext, pszKeyword, ppszKeywords, ppszNames, ppiNotAvailable, iCurrent, nCount, iCtrlId);
        return;
    }
    if (ZQEqualNoCase(pszKeyword, m_szKwStapling)) {
        m_hwndStaplingCombo = list;
        SendMessageW(list, CB_RESETCONTENT, 0, 0);
        const PCWSTR feature = StaplingFeature(PostScript(pContext));
        CZQLocalPtr<WCHAR> option;
        DWGetFeatureOption(m_pCUIParam, feature, option.Put());
        if (RulesLoaded(pContext)) pContext->pRules->BRunMacro(L"macro_StaplingConstraints", option.Get(), m_pCUIParam);
        CZQLocalPtr<WCHAR> name;
        if (DWGetFeatureOption(m_pCUIParam, feature, option.Put()) == ZQOPT_OK && option.Get()) {
            DWFillStaplingCombo(0, feature, pContext);
            DWOptionKeywordToName(m_pCUIParam, feature, option.Get(), name.Put());
        }
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(FindExact(list, name.Get())), 0);
        return;
    }
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    m_store.VReadLocks(pContext);
    if (wcscmp(pszKeyword, L"MediaType") == 0 && m_store.m_bMediaTypeLocked) DisableShown(list);
    bool anyAdded = false;
    for (int i = 0; ppszNames && i < nCount; ++i) {
        if (ppiNotAvailable && ppiNotAvailable[i] && *ppiNotAvailable[i]) {
            if (i == iCurrent) iCurrent = 0;
            continue;
        }
        if (ppszNames[i]) anyAdded = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ppszNames[i])) >= 0 || anyAdded;
    }
    LRESULT item = iCurrent >= 0 && iCurrent < nCount && ppszNames ? FindExact(list, ppszNames[iCurrent]) : CB_ERR;
    // A current option that is not offered shows the first one that is.
    if (item == CB_ERR && anyAdded) item = 0;
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    if (wcscmp(pszKeyword, L"ZQPrintInGrayScale") != 0 || !m_store.m_bGrayscaleLocked) return;
    DisableShown(list);
    CZQLocalPtr<WCHAR> admin;
    if (!AdminText(HPrinter(), zqsettings::kDriverDataOptItems, L"PrintColorAsGray", admin)) return;
    if (ZQEqualNoCase(admin.Get(), L"TRUE")) {
        CZQLocalPtr<WCHAR> option, name;
        if (AdminText(HPrinter(), zqsettings::kDriverDataOptItems, L"PrintColorAsGrayOptions", option) &&
            DWOptionKeywordToName(m_pCUIParam, L"ZQPrintInGrayScale", option.Get(), name.Put()) == ZQOPT_OK &&
            name.Get())
            SelectText(list, name.Get(), true);
    } else if (ZQEqualNoCase(admin.Get(), L"FALSE")) {
        SendMessageW(list, CB_SETCURSEL, 0, 0);
    }
}

void CZQLargeFormatShortcutsTab::VFillInputBinCombo(PageContext* pContext, PCWSTR, PCWSTR* ppszKeywords,
                                                    PCWSTR* ppszNames, int**, int iCurrent, int nCount, int iCtrlId) {
    HWND list = Item(m_hDlg, iCtrlId);
    if (!list) return;
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext ? pContext->pCaps : nullptr, kCapsSources);
    WCHAR firstSource[kTextChars] = {};
    if (caps) ZQCopyText(firstSource, kTextChars, caps->szFirstBinName);
    bool refused = false;
    PCWSTR currentName = nullptr;
    for (int i = 0; i < nCount; ++i) {
        const PCWSTR keyword = ppszKeywords && ppszKeywords[i] ? ppszKeywords[i] : L"";
        PCWSTR shown = ppszNames ? ppszNames[i] : nullptr;
        // The printer names its automatic source itself; without names there is none to offer.
        if (wcscmp(keyword, L"Automatically Select") == 0) {
            shown = firstSource[0] ? firstSource : nullptr;
        } else if (shown && !BIsBinOffered(pContext, shown)) {
            if (i == iCurrent) refused = true;
            shown = nullptr;
        }
        if (i == iCurrent) currentName = shown;
        if (shown) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown));
    }
    LRESULT item = refused ? CB_ERR : FindExact(list, currentName);
    SendMessageW(list, CB_SETCURSEL, item == CB_ERR ? 0 : static_cast<WPARAM>(item), 0);
}

BOOL CZQLargeFormatShortcutsTab::BIsBinOffered(PageContext*, PCWSTR pszName) {
    POPTITEM item = nullptr;
    if (!pszName || DWFindOptItemByPubId(m_pCUIParam, DMPUB_DEFSOURCE, -1, &item) != ZQOPT_OK || !item) return TRUE;
    for (int i = 0; i < IGetOptionCount(item); ++i) {
        const POPTPARAM option = PGetOptionParam(item, i);
        if (option && IsText(option->pData) && !(option->Flags & OPTPF_HIDE) && ZQEqualNoCase(option->pData, pszName) &&
            (option->Flags & OPTPF_OVERLAY_WARNING_ICON))
            return FALSE;
    }
    return TRUE;
}

void CZQLargeFormatShortcutsTab::VFillDuplexCombo(PageContext* pContext, PCWSTR, PCWSTR* ppszKeywords,
                                                  PCWSTR* ppszNames, int**, int iCurrent, int nCount, int iCtrlId) {
    HWND list = Item(m_hDlg, iCtrlId);
    if (!list) return;
    CZQUILogic* logic = pContext ? pContext->pLogic : nullptr;
    const bool automatic = logic && logic->BIsDuplexUnitInstalled(FALSE);
    const bool manual = logic && logic->BIsManualDuplexAvailable();
    const auto keywordOf = [&](int i) { return ppszKeywords && ppszKeywords[i] ? ppszKeywords[i] : L""; };
    const auto offered = [&](PCWSTR k) {
        if (ZQEqualNoCase(k, L"Automatically")) return automatic;
        if (ZQEqualNoCase(k, L"Manually")) return manual;
        if (ZQEqualNoCase(k, L"LeftEdgeBinding") || ZQEqualNoCase(k, L"RightEdgeBinding")) return automatic || manual;
        return true;
    };
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; ppszNames && i < nCount; ++i)
        if (offered(keywordOf(i)) && ppszNames[i]) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ppszNames[i]));
    if (iCurrent >= 0 && iCurrent < nCount && !offered(keywordOf(iCurrent))) {
        const PCWSTR was = keywordOf(iCurrent);
        PCWSTR instead = L"None";
        if (ZQEqualNoCase(was, L"Automatically") && manual) instead = L"Manually";
        if (ZQEqualNoCase(was, L"Manually") && automatic) instead = L"Automatically";
        iCurrent = 0;
        for (int i = 0; i < nCount; ++i)
            if (ZQEqualNoCase(keywordOf(i), instead)) {
                iCurrent = i;
                break;
            }
    }
    if (!m_bStoredShortcutShown) {
        const LRESULT item = iCurrent >= 0 && iCurrent < nCount && ppszNames ? FindExact(list, ppszNames[iCurrent]) : CB_ERR;
        SendMessageW(list, CB_SETCURSEL, item == CB_ERR ? 0 : static_cast<WPARAM>(item), 0);
    }
    m_store.VReadLocks(pContext);
    if (m_store.m_bDuplexLocked) DisableShown(list);
    CZQLocalPtr<WCHAR> admin;
    if (!AdminText(HPrinter(), zqsettings::kDriverDataDevModeItems, L"Duplex", admin)) return;
    WCHAR text[kTextChars] = {};
    if (ZQEqualNoCase(admin.Get(), L"TRUE")) {
        VLoadText(4266, L"Automatically", text);
        SelectText(list, text, true);
    } else if (ZQEqualNoCase(admin.Get(), L"FALSE")) {
        VLoadText(1117, L"Off", text);
        SelectText(list, text, false);
    }
}

DWORD CZQLargeFormatShortcutsTab::DWFillStaplingCombo(BYTE bPubId, PCWSTR pszKeyword, PageContext*) {
    int index = 0;
    BFindPanelEntry(pszKeyword, &index);
    const ShortcutPanelEntry* entry = m_ppEntries && index < m_nEntries ? m_ppEntries[index] : nullptr;
    if (m_hwndStaplingCombo) SendMessageW(m_hwndStaplingCombo, CB_RESETCONTENT, 0, 0);
    POPTITEM item = nullptr;
    const DWORD found = bPubId ? DWFindOptItemByPubId(m_pCUIParam, bPubId, -1, &item)
                               : DWFindOptItem(m_pCUIParam, pszKeyword, &item);
    PWSTR* keywords = nullptr;
    int count = 0;
    const DWORD status = DWGetOptionKeywords(m_pCUIParam, pszKeyword, &keywords, &count, 1);
    if (found != ZQOPT_OK || !item || !entry || !m_hwndStaplingCombo) {
        VFreeStringList(keywords, count);
        return status;
    }
    int offered = IGetOptionCount(item);
    // The item's help entry is not a place to staple.
    if (status == ZQOPT_OK && count > 0 && keywords[count - 1] && wcscmp(keywords[count - 1], L"HelpIndex") == 0)
        --offered;
    VFreeStringList(keywords, count);
    for (int i = 0; entry->ppszOptionNames && i < entry->nOptions; ++i) {
        const PCWSTR wanted = entry->ppszOptionNames[i];
        for (int j = 0; wanted && j < offered; ++j) {
            const POPTPARAM option = PGetOptionParam(item, j);
            if (!option || !IsText(option->pData) || (option->Flags & (OPTPF_HIDE | OPTPF_OVERLAY_WARNING_ICON)) ||
                !ZQEqualNoCase(option->pData, wanted))
                continue;
            SendMessageW(m_hwndStaplingCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(option->pData));
            break;
        }
    }
    return status;
}

// ---------------------------------------------------------------------------------------------
// Enabling
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VEnablePanelControls(BOOL bAll) {
    for (int i = 0; m_ppEntries && i < m_nEntries; ++i) {
        const ShortcutPanelEntry* entry = m_ppEntries[i];
        if (!entry || entry->iKind == kKindSlider) continue;
        if (HWND control = Item(m_hDlg, entry->iCtrlId))
            EnableWindow(control, bAll || !ZQEqualNoCase(entry->szLocked, L"True"));
    }
    const struct {
        PCWSTR pszKeyword;
        BOOL bLocked;
    } locks[] = {{L"MediaType", m_store.m_bMediaTypeLocked},
                 {L"Duplex", m_store.m_bDuplexLocked},
                 {L"ZQPrintInGrayScale", m_store.m_bGrayscaleLocked}};
    for (const auto& lock : locks)
        for (int i = 0; lock.bLocked && m_ppEntries && i < m_nEntries; ++i)
            if (m_ppEntries[i] && wcscmp(m_ppEntries[i]->szKeyword, lock.pszKeyword) == 0)
                DisableShown(Item(m_hDlg, m_ppEntries[i]->iCtrlId));
}

void CZQLargeFormatShortcutsTab::VOnSettingsChanged(PageContext* pContext) {
    VRefreshPanelControls(pContext);
    const ZQUIDevmode* work = WorkOf(pContext);
    if (work && work->dwPendingChange && m_hwndSaveAs) EnableWindow(m_hwndSaveAs, TRUE);
}
