// The panel's run-time controls: the template only marks each row with a holder, so the rows'
// buttons, captions, lists and sliders are made (or kept from the previous build) while the page
// runs, then filled with their choices under the administrator's locks.
#include "pages/shortcuts/zqlargeformatshortcuts.h"

#include <commctrl.h>

#include "common/zqkeywords.h"
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

constexpr int kColonId = 3994;

bool IsText(LPTSTR pData) { return pData && !IS_INTRESOURCE(pData); }

HWND Item(HWND hDlg, int id) { return hDlg ? GetDlgItem(hDlg, id) : nullptr; }


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
// Scaling and Copies: the template's edit groups moved into the row
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VSetupEditFeature(PageContext* pContext, PCWSTR pszKeyword, PCWSTR* ppszNames,
                                                   int iRow, BOOL bFromEntry) {
    if (!pszKeyword || !m_controls.Page()) return;
    const LRESULT selected = Ctl(IDC_LB_DOCTYPE_SETTING) ? SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETCURSEL, 0, 0) : LB_ERR;
    const ZQUIDevmode* work = WorkOf(pContext);
    const int fromName = ppszNames && ppszNames[0] ? static_cast<int>(wcstol(ppszNames[0], nullptr, 10)) : 0;
    WCHAR text[kTextChars] = {};
    if (ZQEqualNoCase(pszKeyword, L"Scaling")) {
        m_state.bScalingOnPanel = TRUE;
        VLoadText(4264, L"P&ercent Of Normal Size", text);
        if (Ctl(IDC_STA_FS_SCALING)) SetWindowTextW(Ctl(IDC_STA_FS_SCALING), text);
        if (Ctl(IDC_TXT_FC_SCALING)) SendMessageW(Ctl(IDC_TXT_FC_SCALING), EM_LIMITTEXT, 3, 0);
        if (Ctl(IDC_SPIN_SCALING)) SendMessageW(Ctl(IDC_SPIN_SCALING), UDM_SETRANGE, 0, MAKELPARAM(400, 25));
        const int value = !bFromEntry && work ? static_cast<int>(work->dwDocTypeScaling) : fromName;
        SetDlgItemInt(m_controls.Page(), IDC_TXT_FC_SCALING, static_cast<UINT>(value), FALSE);
        m_panel.VPlaceEditGroup(IDC_STA_FS_SCALING, IDC_TXT_FC_SCALING, IDC_SPIN_SCALING, IDC_DC_SCALING_HOLDER, iRow);
        return;
    }
    if (!ZQEqualNoCase(pszKeyword, zqkw::kCopiesItem)) return;
    m_state.bCopiesOnPanel = TRUE;
    WCHAR colon[kTextChars] = {};
    VLoadText(kColonId, L":", colon);
    ZQFormatText(text, kTextChars, L"%ls%ls", pszKeyword, colon);
    if (Ctl(IDC_STA_FS_COPIES)) SetWindowTextW(Ctl(IDC_STA_FS_COPIES), text);
    if (Ctl(IDC_TXT_FC_COPIES)) SendMessageW(Ctl(IDC_TXT_FC_COPIES), EM_LIMITTEXT, 4, 0);
    if (Ctl(IDC_SPIN_COPIES)) SendMessageW(Ctl(IDC_SPIN_COPIES), UDM_SETRANGE, 0, MAKELPARAM(9999, 1));
    int value = fromName;
    WCHAR row[kTextChars] = {};
    const LRESULT length =
        selected == LB_ERR ? LB_ERR : SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length != LB_ERR && length < static_cast<LRESULT>(kTextChars)) {
        SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(row));
        const int index = static_cast<int>(selected);
        // A stored shortcut keeps its own copies.
        if ((!BIsDocumentType(pContext, row) && index < m_list.Listed().nListed) ||
            (m_state.bRestrictedUser && index >= m_list.Listed().nListed && index <= m_list.Listed().nListedWithUser))
            m_store.VGetFeatureSlot(pContext, zqkw::kCopiesItem, &value);
    }
    if (!bFromEntry && work) value = static_cast<int>(work->dwDocTypeCopies);
    SetDlgItemInt(m_controls.Page(), IDC_TXT_FC_COPIES, static_cast<UINT>(value), FALSE);
    m_panel.VPlaceEditGroup(IDC_STA_FS_COPIES, IDC_TXT_FC_COPIES, IDC_SPIN_COPIES, IDC_DC_COPY_HOLDER, iRow);
}

// ---------------------------------------------------------------------------------------------
// Values and choices
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VSetStaticText(PageContext*, PCWSTR* ppszText, int iCtrlId) {
    if (HWND control = Item(m_controls.Page(), iCtrlId); control && ppszText && ppszText[0])
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ppszText[0]));
}

void CZQLargeFormatShortcutsTab::VSetCheckFromValue(PageContext*, PCWSTR, PCWSTR* ppszKeywords, int iSelected,
                                                    int nCount, int iCtrlId) {
    if (!ppszKeywords || iSelected < 0 || iSelected >= nCount || !ppszKeywords[iSelected]) return;
    if (HWND control = Item(m_controls.Page(), iCtrlId))
        SendMessageW(control, BM_SETCHECK, ZQEqualNoCase(ppszKeywords[iSelected], L"Enabled") ? 1 : 0, 0);
}

void CZQLargeFormatShortcutsTab::VFillChoiceCombo(PageContext* pContext, PCWSTR pszKeyword, PCWSTR* ppszKeywords,
                                                  PCWSTR* ppszNames, int** ppiNotAvailable, int iCurrent, int nCount,
                                                  int iCtrlId) {
    m_state.iStaplingListId = 0;
    HWND list = Item(m_controls.Page(), iCtrlId);
    if (!pszKeyword || !list) return;
    if (ZQEqualNoCase(pszKeyword, m_state.szKwInputBin)) {
        VFillInputBinCombo(pContext, pszKeyword, ppszKeywords, ppszNames, ppiNotAvailable, iCurrent, nCount, iCtrlId);
        return;
    }
    if (ZQEqualNoCase(pszKeyword, zqkw::kDuplexItem)) {
        VFillDuplexCombo(pContext, pszKeyword, ppszKeywords, ppszNames, ppiNotAvailable, iCurrent, nCount, iCtrlId);
        return;
    }
    if (ZQEqualNoCase(pszKeyword, m_state.szKwStapling)) {
        m_state.iStaplingListId = iCtrlId;
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
    if (wcscmp(pszKeyword, zqkw::kMediaType) == 0 && m_store.m_bMediaTypeLocked) DisableShown(list);
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
    if (wcscmp(pszKeyword, zqkw::kZQPrintInGrayScale) != 0 || !m_store.m_bGrayscaleLocked) return;
    DisableShown(list);
    CZQLocalPtr<WCHAR> admin;
    if (!AdminText(HPrinter(), zqsettings::kDriverDataOptItems, L"PrintColorAsGray", admin)) return;
    if (ZQEqualNoCase(admin.Get(), L"TRUE")) {
        CZQLocalPtr<WCHAR> option, name;
        if (AdminText(HPrinter(), zqsettings::kDriverDataOptItems, L"PrintColorAsGrayOptions", option) &&
            DWOptionKeywordToName(m_pCUIParam, zqkw::kZQPrintInGrayScale, option.Get(), name.Put()) == ZQOPT_OK &&
            name.Get())
            SelectText(list, name.Get(), true);
    } else if (ZQEqualNoCase(admin.Get(), L"FALSE")) {
        SendMessageW(list, CB_SETCURSEL, 0, 0);
    }
}

void CZQLargeFormatShortcutsTab::VFillInputBinCombo(PageContext* pContext, PCWSTR, PCWSTR* ppszKeywords,
                                                    PCWSTR* ppszNames, int**, int iCurrent, int nCount, int iCtrlId) {
    HWND list = Item(m_controls.Page(), iCtrlId);
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
    HWND list = Item(m_controls.Page(), iCtrlId);
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
    // A stored shortcut's list shows the choice of its quick set, selected after the build.
    if (!m_state.bStoredShortcutShown) {
        const LRESULT item = iCurrent >= 0 && iCurrent < nCount && ppszNames ? FindExact(list, ppszNames[iCurrent]) : CB_ERR;
        SendMessageW(list, CB_SETCURSEL, item == CB_ERR ? 0 : static_cast<WPARAM>(item), 0);
    }
    m_store.VReadLocks(pContext);
    if (m_store.m_bDuplexLocked) DisableShown(list);
    CZQLocalPtr<WCHAR> admin;
    if (!AdminText(HPrinter(), zqsettings::kDriverDataDevModeItems, zqkw::kDuplexItem, admin)) return;
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
    const ShortcutPanelEntry* entry = index < m_panel.Count() ? PEntry(index) : nullptr;
    if (Ctl(m_state.iStaplingListId)) SendMessageW(Ctl(m_state.iStaplingListId), CB_RESETCONTENT, 0, 0);
    POPTITEM item = nullptr;
    const DWORD found = bPubId ? DWFindOptItemByPubId(m_pCUIParam, bPubId, -1, &item)
                               : DWFindOptItem(m_pCUIParam, pszKeyword, &item);
    PWSTR* keywords = nullptr;
    int count = 0;
    const DWORD status = DWGetOptionKeywords(m_pCUIParam, pszKeyword, &keywords, &count, 1);
    if (found != ZQOPT_OK || !item || !entry || !Ctl(m_state.iStaplingListId)) {
        VFreeStringList(keywords, count);
        return status;
    }
    int offered = IGetOptionCount(item);
    // The item's help entry is not a place to staple.
    if (status == ZQOPT_OK && count > 0 && keywords[count - 1] && wcscmp(keywords[count - 1], zqkw::kHelpIndexOption) == 0)
        --offered;
    VFreeStringList(keywords, count);
    for (int i = 0; entry->ppszOptionNames && i < entry->nOptions; ++i) {
        const PCWSTR wanted = entry->ppszOptionNames[i];
        for (int j = 0; wanted && j < offered; ++j) {
            const POPTPARAM option = PGetOptionParam(item, j);
            if (!option || !IsText(option->pData) || (option->Flags & (OPTPF_HIDE | OPTPF_OVERLAY_WARNING_ICON)) ||
                !ZQEqualNoCase(option->pData, wanted))
                continue;
            SendMessageW(Ctl(m_state.iStaplingListId), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(option->pData));
            break;
        }
    }
    return status;
}

// ---------------------------------------------------------------------------------------------
// Enabling
// ---------------------------------------------------------------------------------------------
void CZQLargeFormatShortcutsTab::VEnablePanelControls(BOOL bAll) {
    for (int i = 0; i < m_panel.Count(); ++i) {
        const ShortcutPanelEntry* entry = PEntry(i);
        if (!entry || entry->iKind == Rows::kKindSlider) continue;
        if (HWND control = Item(m_controls.Page(), entry->iCtrlId))
            EnableWindow(control, bAll || !ZQEqualNoCase(entry->szLocked, L"True"));
    }
    const struct {
        PCWSTR pszKeyword;
        BOOL bLocked;
    } locks[] = {{zqkw::kMediaType, m_store.m_bMediaTypeLocked},
                 {zqkw::kDuplexItem, m_store.m_bDuplexLocked},
                 {zqkw::kZQPrintInGrayScale, m_store.m_bGrayscaleLocked}};
    for (const auto& lock : locks)
        for (int i = 0; lock.bLocked && i < m_panel.Count(); ++i)
            if (PEntry(i) && wcscmp(PEntry(i)->szKeyword, lock.pszKeyword) == 0)
                DisableShown(Item(m_controls.Page(), PEntry(i)->iCtrlId));
}

void CZQLargeFormatShortcutsTab::VOnSettingsChanged(PageContext* pContext) {
    VRefreshPanelControls(pContext);
    const ZQUIDevmode* work = WorkOf(pContext);
    if (work && work->dwPendingChange && Ctl(IDC_BTN_SAVE)) EnableWindow(Ctl(IDC_BTN_SAVE), TRUE);
}
