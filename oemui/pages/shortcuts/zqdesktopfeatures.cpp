// The desktop Printing Shortcuts page's feature controls: the chosen document type's features made
// into controls at run time in the template's rows, their options named after the core driver (else
// the status module), and one handler per feature that carries the chosen option to the core
// driver's items and the working settings.
#include "pages/shortcuts/zqdesktopshortcuts.h"

#include <commctrl.h>

#include "common/zqevents.h"
#include "common/zqkeywords.h"
#include "common/zqmodule.h"
#include "common/zqprintercaps.h"
#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "pages/parts/zqdoctypematch.h"
#include "pages/parts/zqmnemonics.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "pages/zqpagepreview.h"
#include "res/zqdesktopshortcutsids.h"
#include "xmlrules/zqxmluirules.h"
#include "xmlrules/zqxmlutil.h"

using namespace zqpage;

namespace {

constexpr int kRightColumnRecord = 6;  // the seventh feature starts the right column
constexpr UINT kAfterAnchor = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
constexpr int kLabelHeight = 14;
constexpr int kDropHeight = 200;
constexpr int kButtonHeight = 25;
constexpr int kScalingMin = 25, kScalingMax = 400, kCopiesMin = 1, kCopiesMax = 9999;

PCWSTR OptionAt(PWSTR* ppszList, int i) { return ppszList && ppszList[i] ? ppszList[i] : L""; }

bool Hidden(const DocFeatureRecord& record, int i) {
    return record.ppiOptionHidden && record.ppiOptionHidden[i] && *record.ppiOptionHidden[i];
}

bool AnyOffered(const DocFeatureRecord& record) {
    for (int i = 0; i < record.nOptions; ++i)
        if (!Hidden(record, i)) return true;
    return false;
}

// The leading number of a keyword ("100" -> 100).
int KeywordNumber(PCWSTR pszText) { return pszText ? static_cast<int>(wcstol(pszText, nullptr, 10)) : 0; }

// A value reported to the core driver on its item, with the item's previous selection.
void ReportValue(POEMCUIPPARAM pParam, POPTITEM pItem, LONG lSel) {
    if (!pItem) return;
    const DWORD previous = static_cast<DWORD>(pItem->Sel);
    pItem->Sel = lSel;
    pItem->Flags |= OPTIF_CHANGED;
    CZQCommon::BReportItem(pParam, pItem, previous, OEMCUIP_DOCPROP);
}

// An edit's text that is not a number becomes the fall-back, the caret after the third character.
void ReplaceNonDigits(HWND hDlg, int iEdit, int iFallback) {
    WCHAR text[16] = {};
    GetDlgItemTextW(hDlg, iEdit, text, static_cast<int>(ARRAYSIZE(text)));
    if (!text[0] || CZQUIBase::BIsAllDigits(text)) return;
    SetDlgItemInt(hDlg, iEdit, static_cast<UINT>(iFallback), TRUE);
    SendDlgItemMessageW(hDlg, iEdit, EM_SETSEL, 3, 3);
}

}  // namespace

int CZQShortcutsTab::IGetControlKind(PCWSTR pszKeyword) {
    if (!pszKeyword) return Rows::kKindList;
    const struct {
        PCWSTR keyword;
        int kind;
    } kinds[] = {{L"DigitalPhotography", Rows::kKindButton}, {L"Scaling", Rows::kKindNumber}, {zqkw::kCopiesItem, Rows::kKindNumber},
                 {L"BorderlessAutoFit", Rows::kKindCheck},   {L"Collate", Rows::kKindCheck}};
    for (const auto& k : kinds)
        if (ZQEqualNoCase(pszKeyword, k.keyword)) return k.kind;
    return Rows::kKindList;
}

PCWSTR CZQShortcutsTab::SelectedKeyword(const DocFeatureRecord& record) {
    if (record.iSelected < 0 || record.iSelected >= record.nOptions) return L"";
    return OptionAt(record.ppszOptionKeywords, record.iSelected);
}

// ---------------------------------------------------------------------------------------------
// Option names
// ---------------------------------------------------------------------------------------------
BOOL CZQShortcutsTab::BFindFeatureItem(PageContext*, PCWSTR pszKeyword, POPTITEM* ppItem) const {
    *ppItem = nullptr;
    if (!pszKeyword || ZQEqualNoCase(pszKeyword, zqkw::kDuplexItem)) return FALSE;
    const struct {
        PCWSTR keyword;
        BYTE pubId;
    } pub[] = {{zqkw::kPaperSize, DMPUB_FORMNAME},     {zqkw::kMediaType, DMPUB_MEDIATYPE}, {L"Orientation", DMPUB_ORIENTATION},
               {zqkw::kInputBin, DMPUB_DEFSOURCE},     {zqkw::kInputSlot, DMPUB_DEFSOURCE}, {zqkw::kCopiesItem, DMPUB_COPIES_COLLATE},
               {L"Collate", DMPUB_COPIES_COLLATE}};
    for (const auto& p : pub)
        if (ZQEqualNoCase(pszKeyword, p.keyword)) return (*ppItem = PubItem(m_pCUIParam, p.pubId)) != nullptr;
    return (*ppItem = FeatureItem(m_pCUIParam, pszKeyword)) != nullptr;
}

BOOL CZQShortcutsTab::BBuildOptionNamesFromDriver(PageContext* pContext, DocFeatureRecord* pRecord, LONG** ppLabelIds) {
    POPTITEM item = nullptr;
    if (!BFindFeatureItem(pContext, pRecord->szKeyword, &item)) return FALSE;
    if (!BBuildOptionNamesFromResources(pRecord, ppLabelIds)) return FALSE;
    // Options the core driver knows take its names and are offered.
    for (int i = 0; i < pRecord->nOptions; ++i) {
        CZQLocalPtr<WCHAR> name;
        if (DWOptionKeywordToName(m_pCUIParam, pRecord->szKeyword, OptionAt(pRecord->ppszOptionKeywords, i),
                                  name.Put()) != ZQOPT_OK ||
            !name)
            continue;
        PWSTR copy = ZQDupText(name.Get());
        if (!copy) continue;
        LocalFree(pRecord->ppszOptionNames[i]);
        pRecord->ppszOptionNames[i] = copy;
        *pRecord->ppiOptionHidden[i] = 0;
    }
    return TRUE;
}

BOOL CZQShortcutsTab::BBuildOptionNamesFromResources(DocFeatureRecord* pRecord, LONG** ppLabelIds) {
    const int n = pRecord->nOptions;
    CZQLocalPtr<PWSTR> names;
    CZQLocalPtr<int*> hidden;
    if (!names.Alloc(n ? n : 1) || !hidden.Alloc(n ? n : 1)) return FALSE;
    BOOL whole = TRUE;
    for (int i = 0; i < n; ++i) {
        WCHAR text[kResStringChars] = {};
        PCWSTR shown = OptionAt(pRecord->ppszOptionKeywords, i);
        int notOffered = 0;
        if (ppLabelIds && ppLabelIds[i] && *ppLabelIds[i] && BLoadResString(static_cast<INT>(*ppLabelIds[i]), text))
            shown = text;
        else
            notOffered = pRecord->iKind == Rows::kKindList ? 1 : 0;
        if (!BStripMnemonics(shown, &names[i])) names[i] = ZQDupText(shown);  // an empty name stays empty
        hidden[i] = static_cast<int*>(LocalAlloc(LPTR, sizeof(int)));
        if (hidden[i]) *hidden[i] = notOffered;
        whole = whole && names[i] && hidden[i];
    }
    CZQCommon::VFreeStringList(pRecord->ppszOptionNames, n);
    if (pRecord->ppiOptionHidden) zqxml::VFreeLocalArray(pRecord->ppiOptionHidden, static_cast<size_t>(n));
    pRecord->ppszOptionNames = names.Release();
    pRecord->ppiOptionHidden = hidden.Release();
    return whole;
}

// ---------------------------------------------------------------------------------------------
// The controls
// ---------------------------------------------------------------------------------------------

void CZQShortcutsTab::VBuildFeatureControls(HINSTANCE hModule, PageContext* pContext, BOOL bApply) {
    m_state.bScalingShown = m_state.bCopiesShown = FALSE;
    CZQComPtr<IXMLDOMNode> node;
    if (!BFindSelectedDocType(pContext, node.Put()) || !BReadDocFeatures(node.Get(), pContext)) return;
    if (!m_controls.Page()) return;
    for (int row = 0; row < kMaxFeatures; ++row) {
        Show(GetDlgItem(m_controls.Page(), IDC_DC_BMP_HOLDER1 + row));
        Hide(GetDlgItem(m_controls.Page(), IDC_DC_CTL_HOLDER1 + row));
    }
    for (int id : {IDC_DC_SCALING_HOLDER, IDC_DC_COPY_HOLDER}) {
        ShowWindow(GetDlgItem(m_controls.Page(), id), SW_HIDE);
        ShowWindow(GetDlgItem(m_controls.Page(), id), SW_SHOW);
    }
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(m_controls.Page(), WM_GETFONT, 0, 0));
    if (!bApply) VRestoreSavedSelections(pContext);
    m_rows.VStartBuild(IDC_CBO_DOCTYPE_SETTING);
    ZQUIDevmode* work = WorkOf(pContext);
    // The stored choice holds while the settings name this type and still print its paper the way
    // it turns it; a choice made elsewhere on any other row is the user's and keeps the type.
    if (!bApply && work && !ZQEqualNoCase(m_rows.DocTypeName(), work->szDocTypeName)) work->dwPendingChange = 1;
    for (int i = 0; !bApply && work && !work->dwPendingChange && i < m_rows.Count(); ++i) {
        const DocFeatureRecord* record = m_rows.PRecord(i);
        const zqdoctype::Row row = {record ? record->szKeyword : nullptr, record ? SelectedKeyword(*record) : nullptr};
        if (zqdoctype::ChoiceLost(pContext, m_pCUIParam, row, {zqkw::kPaperSize, L"Orientation", L"PORTRAIT"}))
            work->dwPendingChange = 1;
    }
    if (work && work->dwPendingChange) return;
    for (int i = 0; i < m_rows.Count(); ++i) {
        m_rows.VSetRightColumn(i == kRightColumnRecord);
        VBuildRecordControl(hModule, font, pContext, i, bApply);
        if (bApply) VApplyFeature(pContext, i);
    }
    m_rows.VSetRightColumn(FALSE);
    for (int row = m_rows.Count(); row < kMaxFeatures; ++row) Hide(GetDlgItem(m_controls.Page(), IDC_DC_BMP_HOLDER1 + row));
}

void CZQShortcutsTab::VBuildRecordControl(HINSTANCE hModule, HFONT hFont, PageContext* pContext, int iRecord,
                                          BOOL bApply) {
    DocFeatureRecord* record = m_rows.PRecord(iRecord);
    const int pictureHolder = IDC_DC_BMP_HOLDER1 + iRecord;
    if (!record) return;
    if (!AnyOffered(*record)) {
        Hide(GetDlgItem(m_controls.Page(), pictureHolder));
        return;
    }
    RECT holder = {};
    if (record->iKind != Rows::kKindNumber && !m_rows.BHolderRect(iRecord, &holder)) return;
    WCHAR label[kResStringChars] = {};
    if (!BLoadResString(record->iLabelStringId, label)) label[0] = 0;
    const int width = holder.right - holder.left;
    switch (record->iKind) {
        case Rows::kKindList: {
            const RECT labelPlace = {holder.left, holder.top, holder.right, holder.top + kLabelHeight};
            record->iLabelId = m_rows.IMakeControl(hModule, hFont, L"Static", label, WS_CHILD | WS_VISIBLE, labelPlace);
            const RECT comboPlace = {holder.left, labelPlace.bottom + 1, holder.left + width,
                                     labelPlace.bottom + 1 + kDropHeight};
            record->iCtrlId = m_rows.IMakeControl(hModule, hFont, L"Combobox", L"Combo Box",
                                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, comboPlace);
            record->iPictureHolderId = pictureHolder;
            IFillFeatureCombo(pContext, *record, record->iCtrlId);
            break;
        }
        case Rows::kKindCheck:
            record->iCtrlId = m_rows.IMakeControl(hModule, hFont, L"Button", label,
                                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, holder);
            record->iLabelId = 0;
            record->iPictureHolderId = pictureHolder;
            SendDlgItemMessageW(m_controls.Page(), record->iCtrlId, BM_SETCHECK,
                                ZQEqualNoCase(SelectedKeyword(*record), L"Enabled") ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case Rows::kKindButton: {
            const RECT place = {holder.left, holder.top + 5, holder.right, holder.top + 5 + kButtonHeight};
            record->iCtrlId = m_rows.IMakeControl(hModule, hFont, L"Button", label,
                                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, place);
            record->iLabelId = 0;
            record->iPictureHolderId = pictureHolder;
            if (ZQEqualNoCase(record->szKeyword, L"DigitalPhotography")) VEnablePhotoButton(pContext);
            break;
        }
        case Rows::kKindNumber:
            VSetupEditField(pContext, record, iRecord, bApply, hFont);
            Hide(GetDlgItem(m_controls.Page(), pictureHolder));
            return;
        default: return;
    }
    m_rows.VSetTabAnchor(m_rows.Anchor());
    Hide(GetDlgItem(m_controls.Page(), IDC_DC_CTL_HOLDER1 + iRecord));
}

void CZQShortcutsTab::VSetupEditField(PageContext* pContext, DocFeatureRecord* pRecord, int iRow, BOOL bApply, HFONT) {
    const bool scaling = ZQEqualNoCase(pRecord->szKeyword, L"Scaling");
    const bool copies = ZQEqualNoCase(pRecord->szKeyword, zqkw::kCopiesItem);
    if (!scaling && !copies) {
        pRecord->iCtrlId = pRecord->iLabelId = pRecord->iPictureHolderId = 0;
        return;
    }
    const int edit = scaling ? IDC_TXT_FC_SCALING : IDC_TXT_FC_COPIES;
    const int label = scaling ? IDC_STA_FS_SCALING : IDC_STA_FS_COPIES;
    const int spin = scaling ? IDC_SPIN_SCALING : IDC_SPIN_COPIES;
    const int holder = scaling ? IDC_DC_SCALING_HOLDER : IDC_DC_COPY_HOLDER;
    pRecord->iCtrlId = edit;
    pRecord->iLabelId = label;
    pRecord->iPictureHolderId = holder;
    BSetWindowTextRes(scaling ? 4264 : 4271, GetDlgItem(m_controls.Page(), label), scaling ? L"P&ercent Of Normal Size" : L"&Copies");
    SendDlgItemMessageW(m_controls.Page(), edit, EM_LIMITTEXT, scaling ? 3 : 4, 0);
    SendDlgItemMessageW(m_controls.Page(), spin, UDM_SETRANGE, 0,
                        scaling ? MAKELPARAM(kScalingMax, kScalingMin) : MAKELPARAM(kCopiesMax, kCopiesMin));
    const ZQUIDevmode* work = WorkOf(pContext);
    UINT value = bApply ? static_cast<UINT>(KeywordNumber(OptionAt(pRecord->ppszOptionKeywords, 0)))
                        : (work ? (scaling ? work->dwDocTypeScaling : work->dwDocTypeCopies) : 0);
    SetDlgItemInt(m_controls.Page(), edit, value, FALSE);
    (scaling ? m_state.bScalingShown : m_state.bCopiesShown) = TRUE;
    VPlaceEditGroup(holder, label, edit, spin, iRow);
}

void CZQShortcutsTab::VPlaceEditGroup(int iHolder, int iLabel, int iEdit, int iSpin, int iRow) {
    RECT row = {}, picture = {}, edit = {}, spin = {};
    HWND rowPicture = GetDlgItem(m_controls.Page(), IDC_DC_BMP_HOLDER1 + iRow);
    if (!m_rows.BHolderRect(iRow, &row) || !rowPicture) return;
    VGetChildRect(m_controls.Page(), rowPicture, &picture, nullptr, nullptr);
    HWND editWnd = GetDlgItem(m_controls.Page(), iEdit), spinWnd = GetDlgItem(m_controls.Page(), iSpin);
    if (!editWnd || !spinWnd || !GetWindowRect(editWnd, &edit) || !GetWindowRect(spinWnd, &spin)) return;
    SetWindowPos(GetDlgItem(m_controls.Page(), iHolder), nullptr, picture.left, picture.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    HWND anchor = GetDlgItem(m_controls.Page(), m_rows.Anchor());
    const int labelBottom = row.top + kLabelHeight;
    SetWindowPos(GetDlgItem(m_controls.Page(), iLabel), anchor, row.left, row.top, row.right - row.left, kLabelHeight,
                 SWP_SHOWWINDOW);
    const int editWidth = edit.right - edit.left, editHeight = edit.bottom - edit.top;
    SetWindowPos(editWnd, GetDlgItem(m_controls.Page(), iLabel), row.left, labelBottom + 1, editWidth, editHeight, SWP_SHOWWINDOW);
    // The spin, the edit's buddy, takes its last two pixels as its own border.
    SetWindowPos(spinWnd, editWnd, row.left + editWidth - 2, labelBottom + 1, spin.right - spin.left,
                 spin.bottom - spin.top, SWP_SHOWWINDOW);
    m_rows.VSetTabAnchor(iSpin);
    Hide(GetDlgItem(m_controls.Page(), IDC_DC_CTL_HOLDER1 + iRow));
}

int CZQShortcutsTab::IFillFeatureCombo(PageContext* pContext, const DocFeatureRecord& record, int iCtrlId) {
    if (ZQEqualNoCase(record.szKeyword, zqkw::kInputBin)) return IFillInputBinCombo(pContext, record, iCtrlId);
    if (ZQEqualNoCase(record.szKeyword, zqkw::kDuplexItem)) {
        VFillDuplexCombo(pContext, m_rows.PRecord(m_rows.IRecordOfControl(iCtrlId)), iCtrlId);
        return 0;
    }
    HWND combo = GetDlgItem(m_controls.Page(), iCtrlId);
    if (!combo) return -1;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    // The list holds the offered options only: the selection is the selected option's place among
    // them (the first when it is not offered).
    int place = 0, selection = 0;
    for (int i = 0; i < record.nOptions; ++i) {
        if (Hidden(record, i)) continue;
        if (i == record.iSelected) selection = place;
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(OptionAt(record.ppszOptionNames, i)));
        ++place;
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    return selection;
}

int CZQShortcutsTab::IFillInputBinCombo(PageContext* pContext, const DocFeatureRecord& record, int iCtrlId) {
    HWND combo = GetDlgItem(m_controls.Page(), iCtrlId);
    if (!combo) return -1;
    (void)pContext;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    POPTITEM source = PubItem(m_pCUIParam, DMPUB_DEFSOURCE);
    // A bin the core driver shows in conflict is left out.
    const auto offered = [source](PCWSTR name) {
        for (int i = 0; source && i < IGetOptionCount(source); ++i) {
            const PCWSTR text = OptionName(source, i);
            const BYTE flags = OptionFlags(source, i);
            if (text && !(flags & OPTPF_HIDE) && ZQEqualNoCase(text, name) && (flags & OPTPF_OVERLAY_WARNING_ICON))
                return false;
        }
        return true;
    };
    bool selectedLeftOut = false;
    for (int i = 0; i < record.nOptions; ++i) {
        const PCWSTR name = OptionAt(record.ppszOptionNames, i);
        if (offered(name)) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        else if (i == record.iSelected) selectedLeftOut = true;
    }
    LRESULT item = 0;
    if (!selectedLeftOut && record.iSelected >= 0 && record.iSelected < record.nOptions) {
        item = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(OptionAt(record.ppszOptionNames, record.iSelected)));
        if (item == CB_ERR) item = 0;
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    return static_cast<int>(item);
}

void CZQShortcutsTab::VFillDuplexCombo(PageContext* pContext, DocFeatureRecord* pRecord, int iCtrlId) {
    HWND combo = GetDlgItem(m_controls.Page(), iCtrlId);
    if (!combo || !pRecord) return;
    const bool unit = pContext->pLogic->BIsDuplexUnitInstalled(FALSE);
    const bool manual = pContext->pLogic->BIsManualDuplexAvailable();
    const auto offered = [&](PCWSTR keyword) {
        if (ZQEqualNoCase(keyword, L"Automatically")) return unit;
        if (ZQEqualNoCase(keyword, L"Manually")) return manual;
        if (ZQEqualNoCase(keyword, L"LeftEdgeBinding") || ZQEqualNoCase(keyword, L"RightEdgeBinding"))
            return unit || manual;
        return true;
    };
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < pRecord->nOptions; ++i)
        if (offered(OptionAt(pRecord->ppszOptionKeywords, i)))
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(OptionAt(pRecord->ppszOptionNames, i)));
    const PCWSTR selected = SelectedKeyword(*pRecord);
    if (!offered(selected)) {
        PCWSTR replacement = L"None";
        if (ZQEqualNoCase(selected, L"Automatically") && manual) replacement = L"Manually";
        else if (ZQEqualNoCase(selected, L"Manually") && unit) replacement = L"Automatically";
        pRecord->iSelected = 0;
        for (int i = 0; i < pRecord->nOptions; ++i)
            if (ZQEqualNoCase(OptionAt(pRecord->ppszOptionKeywords, i), replacement)) {
                pRecord->iSelected = i;
                break;
            }
    }
    LRESULT item = pRecord->nOptions > 0
                       ? SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(OptionAt(pRecord->ppszOptionNames, pRecord->iSelected)))
                       : CB_ERR;
    SendMessageW(combo, CB_SETCURSEL, item == CB_ERR ? 0 : static_cast<WPARAM>(item), 0);
}

// ---------------------------------------------------------------------------------------------
// Records and the core driver's options
// ---------------------------------------------------------------------------------------------

int CZQShortcutsTab::IFindDriverOptionByName(PageContext* pContext, PCWSTR pszKeyword, BYTE bPubId, PCWSTR pszName) {
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->CUIParam() : nullptr;
    POPTITEM item = bPubId ? PubItem(param, bPubId) : (pszKeyword ? FeatureItem(param, pszKeyword) : nullptr);
    if (!item || !pszName) return -1;
    const bool bins = bPubId == DMPUB_DEFSOURCE || (pszKeyword && wcscmp(pszKeyword, zqkw::kInputBin) == 0);
    const PrinterCaps* caps = bins ? ZQPrinterCapsLists(pContext->pCaps, kCapsSources) : nullptr;
    const int count = IGetOptionCount(item);
    for (int i = 0; i < count; ++i) {
        // The first source goes by the printer's own first bin name.
        const PCWSTR text = bins && i == 0 ? (caps ? caps->szFirstBinName : nullptr) : OptionName(item, i);
        if (text && wcscmp(text, pszName) == 0) return i;
    }
    for (int i = 0; i < count; ++i)
        if (OptionName(item, i) && !(OptionFlags(item, i) & (OPTPF_HIDE | OPTPF_OVERLAY_WARNING_ICON))) return i;
    return -1;
}

DWORD CZQShortcutsTab::DWGetTrayId(PageContext* pContext, int iIndex) {
    DWORD id = 0;
    const PrinterCaps* caps = pContext ? ZQPrinterCapsLists(pContext->pCaps, kCapsSources) : nullptr;
    if (caps && caps->dwSourceCount && caps->pSourceIds) id = caps->pSourceIds[0];
    CZQLocalPtr<ZQTrayRecord> trays;
    DWORD count = 0;
    // Only a tray the record holds has an id of its own.
    if (!m_pCUIParam || iIndex < 0 || !ZQReadTrayInfo(m_pCUIParam->hPrinter, trays.Put(), &count)) return id;
    return static_cast<DWORD>(iIndex) < count ? trays.Get()[iIndex].dwId : id;
}

BOOL CZQShortcutsTab::BChosenText(const DocFeatureRecord& record, PWSTR pszText) const {
    pszText[0] = 0;
    if (m_state.bControlsLive && m_controls.Page() && record.iCtrlId) return SelectedText(GetDlgItem(m_controls.Page(), record.iCtrlId), pszText);
    if (record.iSelected < 0 || record.iSelected >= record.nOptions) return FALSE;
    ZQCopyText(pszText, kTextChars, OptionAt(record.ppszOptionNames, record.iSelected));
    return TRUE;
}

BOOL CZQShortcutsTab::BFindFeatureRecord(PCWSTR pszKeyword, int* piIndex) const {
    for (int i = 0; pszKeyword && i < m_rows.Count(); ++i)
        if (m_rows.PRecord(i) && ZQEqualNoCase(m_rows.PRecord(i)->szKeyword, pszKeyword)) {
            if (piIndex) *piIndex = i;
            return TRUE;
        }
    return FALSE;
}

BOOL CZQShortcutsTab::BSelectRecordOptionByName(PCWSTR pszKeyword, PCWSTR pszName, PageContext*) {
    int index = -1;
    if (!pszName || !BFindFeatureRecord(pszKeyword, &index)) return FALSE;
    DocFeatureRecord& record = *m_rows.PRecord(index);
    for (int i = 0; i < record.nOptions; ++i)
        if (ZQEqualNoCase(OptionAt(record.ppszOptionNames, i), pszName)) {
            record.iSelected = i;
            return TRUE;
        }
    return FALSE;
}

void CZQShortcutsTab::VEnablePhotoButton(PageContext*) {
    int index = -1;
    if (!m_controls.Page() || !BFindFeatureRecord(L"DigitalPhotography", &index) || !m_rows.PRecord(index)->iCtrlId) return;
    const bool best = OptionIs(m_pCUIParam, zqkw::kPrintQualityGroup, L"PQGroup_3") == 1 ||
                      OptionIs(m_pCUIParam, zqkw::kPrintQualityGroup, L"PQGroup_4") == 1;
    EnableWindow(GetDlgItem(m_controls.Page(), m_rows.PRecord(index)->iCtrlId), best ? FALSE : TRUE);
}

// ---------------------------------------------------------------------------------------------
// The handlers
// ---------------------------------------------------------------------------------------------
void CZQShortcutsTab::VApplyFeature(PageContext* pContext, int iRecord) {
    if (iRecord < 0 || iRecord >= m_rows.Count() || !m_rows.PRecord(iRecord)) return;
    DocFeatureRecord& record = *m_rows.PRecord(iRecord);
    using Handler = BOOL (CZQShortcutsTab::*)(PageContext*, DocFeatureRecord&);
    const struct {
        PCWSTR keyword;
        Handler handler;
    } handlers[] = {
        {zqkw::kInputBin, &CZQShortcutsTab::BApplyInputBin},
        {zqkw::kMediaType, &CZQShortcutsTab::BApplyMediaType},
        {zqkw::kPaperSize, &CZQShortcutsTab::BApplyPaperSize},
        {zqkw::kPrintQuality, &CZQShortcutsTab::BApplyPrintQuality},
        {L"Orientation", &CZQShortcutsTab::BApplyOrientation},
        {zqkw::kZQPrintInGrayScale, &CZQShortcutsTab::BApplyGrayscale},
        {zqkw::kDuplexItem, &CZQShortcutsTab::BApplyDuplex},
        {L"PagesPerSheet", &CZQShortcutsTab::BApplyPagesPerSheet},
        {L"PosterPrinting", &CZQShortcutsTab::BApplyPosterPrinting},
        {L"BorderlessAutoFit", &CZQShortcutsTab::BApplyBorderlessAutoFit},
    };
    const auto dispatch = [&]() {
        for (const auto& h : handlers)
            if (wcscmp(record.szKeyword, h.keyword) == 0) {
                (this->*h.handler)(pContext, record);
                return;
            }
        if (wcscmp(record.szKeyword, L"Collate") == 0 || wcscmp(record.szKeyword, zqkw::kCopiesItem) == 0)
            BApplyCopiesCollate(pContext, record, FALSE);
        else if (wcscmp(record.szKeyword, L"Scaling") == 0)
            BApplyScaling(pContext, record, FALSE);
    };
    dispatch();
    // The row's picture shows the new choice; a turned page turns the paper's picture too.
    if (!m_state.bControlsLive || !m_controls.Page()) return;
    if (HWND holder = GetDlgItem(m_controls.Page(), record.iPictureHolderId)) InvalidateRect(holder, nullptr, TRUE);
    if (wcscmp(record.szKeyword, L"Orientation") == 0) VRepaintPaperSizePicture(pContext);
}

BOOL CZQShortcutsTab::BApplyInputBin(PageContext* pContext, DocFeatureRecord& record) {
    WCHAR text[kTextChars];
    if (!BChosenText(record, text)) return FALSE;
    ZQUIDevmode& work = *WorkOf(pContext);
    const int index = IFindDriverOptionByName(pContext, nullptr, DMPUB_DEFSOURCE, text);
    const DWORD tray = DWGetTrayId(pContext, index);
    work.dwOtherPagesSource = tray;
    if (work.dwDiffPaper == 0) work.dwFirstPageSource = work.dwLastPageSource = tray;
    if (index >= 0) DWSelectPubOption(m_pCUIParam, DMPUB_DEFSOURCE, 0, index);
    return BSelectRecordOptionByName(zqkw::kInputBin, text, pContext);
}

BOOL CZQShortcutsTab::BApplyMediaType(PageContext* pContext, DocFeatureRecord& record) {
    WCHAR text[kTextChars];
    if (!BChosenText(record, text)) return FALSE;
    ZQUIDevmode& work = *WorkOf(pContext);
    const int index = IFindDriverOptionByName(pContext, nullptr, DMPUB_MEDIATYPE, text);
    PageContext* paperContext = nullptr;
    auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext);
    if (index >= 0 && paper) {
        const DWORD media = paper->DWMediaTypeFromIndex(paperContext ? paperContext : pContext, index);
        work.dwOtherPagesMedia = media;
        if (work.dwDiffPaper == 0) work.dwFirstPageMedia = work.dwLastPageMedia = media;
    }
    if (index >= 0) DWSelectPubOption(m_pCUIParam, DMPUB_MEDIATYPE, 0, index);
    return BSelectRecordOptionByName(zqkw::kMediaType, text, pContext);
}

BOOL CZQShortcutsTab::BApplyPaperSize(PageContext* pContext, DocFeatureRecord& record) {
    ZQUIDevmode& work = *WorkOf(pContext);
    if (work.dwPendingChange) return FALSE;
    WCHAR text[kTextChars];
    POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    if (!BChosenText(record, text) || !form) return FALSE;
    if (DWSelectOptionByName(m_pCUIParam, form, text, OEMCUIP_DOCPROP) != ZQOPT_OK) return FALSE;
    BSelectRecordOptionByName(zqkw::kPaperSize, text, pContext);
    PageContext* paperContext = nullptr;
    if (auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext))
        if (paperContext) paper->VOnPaperSizeChanged(paperContext);
    if (work.dwPrintDocOn == 0 && m_pPublicDM) work.dwPrintedOnPaper = static_cast<uint32_t>(m_pPublicDM->dmPaperSize);
    // The bins offered follow the paper.
    int bin = -1;
    if (BFindFeatureRecord(zqkw::kInputBin, &bin)) {
        if (m_rows.PRecord(bin)->iCtrlId && m_controls.Page()) IFillInputBinCombo(pContext, *m_rows.PRecord(bin), m_rows.PRecord(bin)->iCtrlId);
        VApplyFeature(pContext, bin);
    }
    return TRUE;
}

BOOL CZQShortcutsTab::BApplyPrintQuality(PageContext* pContext, DocFeatureRecord& record) {
    WCHAR text[kTextChars];
    POPTITEM group = FeatureItem(m_pCUIParam, zqkw::kPrintQualityGroup);
    if (!BChosenText(record, text) || !group) return FALSE;
    if (DWSelectOptionByName(m_pCUIParam, group, text, OEMCUIP_DOCPROP) == ZQOPT_OK && RulesLoaded(pContext)) {
        WCHAR option[kTextChars];
        if (ReadOption(m_pCUIParam, zqkw::kPrintQualityGroup, option))
            pContext->pRules->BRunFeatureMacros(zqkw::kPrintQualityGroup, option, m_pCUIParam);
        if (ZQEqualNoCase(text, L"Maximum dpi"))
            pContext->pRules->BRunMacro(L"macro_pop_up_4800_1200_warning", nullptr, m_pCUIParam);
        for (int i = 0; i < IGetOptionCount(group); ++i)
            if (OptionName(group, i) && ZQEqualNoCase(OptionName(group, i), text))
                WorkOf(pContext)->dwPrintQualityGroupIndex = static_cast<uint32_t>(i);
    }
    BSelectRecordOptionByName(zqkw::kPrintQuality, text, pContext);
    if (m_state.bControlsLive) VEnablePhotoButton(pContext);
    return TRUE;
}

BOOL CZQShortcutsTab::BApplyOrientation(PageContext* pContext, DocFeatureRecord& record) {
    WCHAR text[kTextChars];
    if (!BChosenText(record, text)) return FALSE;
    BSelectRecordOptionByName(L"Orientation", text, pContext);
    SetOrientation(pContext, m_pCUIParam, !ZQEqualNoCase(SelectedKeyword(record), L"Portrait"));
    return TRUE;
}

BOOL CZQShortcutsTab::BApplyGrayscale(PageContext* pContext, DocFeatureRecord& record) {
    WCHAR text[kTextChars];
    if (!BChosenText(record, text)) return FALSE;
    BSelectRecordOptionByName(zqkw::kZQPrintInGrayScale, text, pContext);
    ZQUIDevmode& work = *WorkOf(pContext);
    const PCWSTR keyword = SelectedKeyword(record);
    if (ZQEqualNoCase(keyword, L"ZQPrintInSepia")) {
        work.dwSepia = 1;
        work.dwPrintAsGray = 0;
        DWSelectOptionByIndex(m_pCUIParam, L"ZQPrintInSepia", 1, OEMCUIP_DOCPROP);
        DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPrintInGrayScale, 0, OEMCUIP_DOCPROP);
    } else {
        work.dwSepia = 0;
        work.dwPrintAsGray = ZQEqualNoCase(keyword, L"FALSE") ? 0 : 1;
        DWSelectOptionByKeyword(m_pCUIParam, zqkw::kZQPrintInGrayScale, keyword, OEMCUIP_DOCPROP);
        DWSelectOptionByIndex(m_pCUIParam, L"ZQPrintInSepia", 0, OEMCUIP_DOCPROP);
    }
    const bool gray = work.dwPrintAsGray == 1;
    DWSelectPubOption(m_pCUIParam, DMPUB_COLOR, 0, gray ? 0 : 1);
    DWSelectOptionByIndex(m_pCUIParam, zqkw::kColorMode, gray ? 0 : 1, OEMCUIP_DOCPROP);
    DWSelectOptionByIndex(m_pCUIParam, L"ZQColorasGray", gray ? 1 : 0, OEMCUIP_DOCPROP);
    return TRUE;
}

BOOL CZQShortcutsTab::BApplyDuplex(PageContext* pContext, DocFeatureRecord& record) {
    WCHAR text[kTextChars];
    if (!BChosenText(record, text)) return FALSE;
    BSelectRecordOptionByName(zqkw::kDuplexItem, text, pContext);
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *WorkOf(pContext);
    if (ZQEqualNoCase(SelectedKeyword(record), L"None")) {
        work.wDuplex = 1;
        if (logic.DWBooklet()) {
            logic.VEndBooklet();
            work.dwPagesPerSheet = 1;
            if (!logic.BNeedsScaleFromLargePaper(pContext->pCaps)) work.dwPrintDocOn = work.dwScaleToFit = 0;
        }
    }
    work.dwBooklet = logic.DWBooklet();
    const ZQUIDevmode* core = CoreOf(m_pCUIParam);
    if (core && core->dwPdl == kPdlPcl3) logic.ISetPageOrderItems(work.wDuplex == 2 || work.wDuplex == 3);
    return TRUE;
}

// The list's position while the controls are live (the record follows its text), else the record's.
int CZQShortcutsTab::IChosenPosition(PageContext* pContext, const DocFeatureRecord& record) {
    if (!m_state.bControlsLive || !m_controls.Page() || !record.iCtrlId) return record.iSelected;
    WCHAR text[kTextChars];
    if (BChosenText(record, text)) BSelectRecordOptionByName(record.szKeyword, text, pContext);
    return static_cast<int>(SendDlgItemMessageW(m_controls.Page(), record.iCtrlId, CB_GETCURSEL, 0, 0));
}

BOOL CZQShortcutsTab::BApplyPagesPerSheet(PageContext* pContext, DocFeatureRecord& record) {
    const int position = IChosenPosition(pContext, record);
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *WorkOf(pContext);
    const int code = IListIndexToSetting(position);
    if (code != 2) logic.VEndBooklet();
    if (code != 1) {
        work.dwPrintDocOn = work.dwScaleToFit = 0;
        work.dwScalePercent = 100;
    }
    work.dwPagesPerSheet = static_cast<uint32_t>(code);
    work.dwBooklet = logic.DWBooklet();
    if (work.wDuplex != 1) {
        work.wDuplex = WGetDuplexBinding(code, static_cast<short>(work.wOrientation), work.dwFlipPagesUp != 0,
                                         logic.DWBooklet() != 0);
        if (!logic.BIsManualDuplexAvailable()) logic.VSetDuplexItem(work.wDuplex);
        else logic.VUpdateDuplexState();
    }
    logic.VSyncNupItem(pContext->pCaps);
    return TRUE;
}

BOOL CZQShortcutsTab::BApplyPosterPrinting(PageContext* pContext, DocFeatureRecord& record) {
    const int position = IChosenPosition(pContext, record);
    CZQUILogic& logic = *pContext->pLogic;
    ZQUIDevmode& work = *WorkOf(pContext);
    if (position <= 0) {
        DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPosterPrinting, 0, OEMCUIP_DOCPROP);
    } else {
        for (uint32_t& tile : work.adwPosterTiles) tile = 1;
        work.dwPageBorders = work.dwPrintDocOn = work.dwScaleToFit = 0;
        work.dwScalePercent = 100;
        if (work.wDuplex != 1) {
            work.wDuplex = 1;
            logic.VEndBooklet();
            logic.VUpdateDuplexState();
            logic.VSetDuplexItem(1);
        }
        WCHAR none[kTextChars];
        VLoadText(874, L" [none]", none);
        logic.VSetPosterState(TRUE, none);
        work.dwPagesPerSheet = 1;
        work.dwBooklet = logic.DWBooklet();
        for (PCWSTR margins : {zqkw::kZQEmulatePexlonMargins, zqkw::kZQSymmetricMargins, zqkw::kZQMinimizeMargins})
            DWSelectOptionByIndex(m_pCUIParam, margins, 0, OEMCUIP_DOCPROP);
        logic.VClearMarginChoices();
        DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQPosterPrinting, 1, OEMCUIP_DOCPROP);
        DWSelectOptionByKeyword(m_pCUIParam, L"ZQPosterPrintingOption", SelectedKeyword(record), OEMCUIP_DOCPROP);
        logic.VSyncNupItem(pContext->pCaps);
    }
    int tiles = 0;
    if (logic.BGetPosterTiles(&tiles) && pContext->pQuickSets)
        pContext->pQuickSets->VSetPosterTilesPerSide(CZQUILogic::IPosterTilesPerSide(tiles));
    return TRUE;
}

BOOL CZQShortcutsTab::BApplyBorderlessAutoFit(PageContext* pContext, DocFeatureRecord& record) {
    if (m_state.bControlsLive && m_controls.Page() && record.iCtrlId) {
        const bool checked = IsDlgButtonChecked(m_controls.Page(), record.iCtrlId) == BST_CHECKED;
        BSelectRecordOptionByName(L"BorderlessAutoFit", checked ? L"Enabled" : L"Disabled", pContext);
    }
    CZQUILogic& logic = *pContext->pLogic;
    logic.m_bBorderlessAutoFit = ZQEqualNoCase(SelectedKeyword(record), L"Enabled");
    DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQBorderLessAutoFit, logic.m_bBorderlessAutoFit ? 1 : 0, OEMCUIP_DOCPROP);
    return TRUE;
}

BOOL CZQShortcutsTab::BApplyCopiesCollate(PageContext* pContext, DocFeatureRecord& record, BOOL) {
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_COPIES_COLLATE);
    const bool live = m_state.bControlsLive && m_controls.Page() && record.iCtrlId;
    if (wcscmp(record.szKeyword, L"Collate") == 0) {
        bool checked = ZQEqualNoCase(SelectedKeyword(record), L"Enabled");
        if (live) {
            checked = IsDlgButtonChecked(m_controls.Page(), record.iCtrlId) == BST_CHECKED;
            BSelectRecordOptionByName(L"Collate", checked ? L"Enabled" : L"Disabled", pContext);
        }
        if (!item) return FALSE;
        if (checked) item->Flags |= OPTIF_ECB_CHECKED;
        else item->Flags &= ~OPTIF_ECB_CHECKED;
        ReportValue(m_pCUIParam, item, item->Sel);
        return TRUE;
    }
    int value = KeywordNumber(OptionAt(record.ppszOptionKeywords, 0));
    if (live) {
        ReplaceNonDigits(m_controls.Page(), IDC_TXT_FC_COPIES, kCopiesMin);
        value = static_cast<int>(GetDlgItemInt(m_controls.Page(), IDC_TXT_FC_COPIES, nullptr, TRUE));
        if (value < kCopiesMin || value > kCopiesMax) {
            value = kCopiesMin;
            SetDlgItemInt(m_controls.Page(), IDC_TXT_FC_COPIES, static_cast<UINT>(value), TRUE);
        }
    }
    if (!item) return FALSE;
    ReportValue(m_pCUIParam, item, value);
    return TRUE;
}

BOOL CZQShortcutsTab::BApplyScaling(PageContext* pContext, DocFeatureRecord& record, BOOL bEditing) {
    int value = KeywordNumber(OptionAt(record.ppszOptionKeywords, 0));
    if (m_state.bControlsLive && m_controls.Page()) {
        ReplaceNonDigits(m_controls.Page(), IDC_TXT_FC_SCALING, 100);
        value = static_cast<int>(GetDlgItemInt(m_controls.Page(), IDC_TXT_FC_SCALING, nullptr, TRUE));
        const int bounded = value > kScalingMax ? kScalingMax : value < kScalingMin ? kScalingMin : value;
        if (bounded != value && !bEditing) SetDlgItemInt(m_controls.Page(), IDC_TXT_FC_SCALING, static_cast<UINT>(bounded), TRUE);
        value = bounded;
    }
    ZQUIDevmode& work = *WorkOf(pContext);
    work.dwScalePercent = static_cast<uint32_t>(value);
    PageContext* effectsContext = nullptr;
    if (auto* effects = ZQSheetPage<IZQEffectsPage>(pContext, kPageEffects, &effectsContext))
        effects->VResetScalingAndPoster(effectsContext ? effectsContext : pContext);
    if (work.dwPrintDocOn == 0 && m_pPublicDM) work.dwPrintedOnPaper = static_cast<uint32_t>(m_pPublicDM->dmPaperSize);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The factory base, the sample page and the pictures
// ---------------------------------------------------------------------------------------------
void CZQShortcutsTab::VResetToFactoryBase(HWND, PageContext* pContext) {
    CZQQuickSets* quickSets = pContext->pQuickSets;
    PageContext* paperContext = nullptr;
    auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality, &paperContext);
    if (quickSets) quickSets->VApplySelection(nullptr, nullptr, nullptr, nullptr);
    if (pContext->pRules) pContext->pRules->VRunMediaTypeMacros(m_pCUIParam);
    if (quickSets) quickSets->VApplySelection(nullptr, nullptr, nullptr, nullptr);
    if (paper && paperContext) paper->VRefreshCoverControls(paperContext);
    PageContext* finishingContext = nullptr;
    if (auto* finishing = ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing, &finishingContext))
        if (finishingContext) finishing->VSetAllControls(finishingContext);
    CZQUILogic& logic = *pContext->pLogic;
    logic.VClearMarginChoices();
    if (POPTITEM minimize = FeatureItem(m_pCUIParam, zqkw::kZQMinimizeMargins)) {
        logic.VSetMarginValue(1, static_cast<DWORD>(minimize->Sel));
        if (logic.DWMarginValue(1)) logic.VSetMarginChoice(1, 1);
    }
}

void CZQShortcutsTab::VFillPreviewSettings(PageContext* pContext) {
    if (!BFillSharedPreview(&m_PreviewSettings, pContext)) return;
    // This page shows the stored half turn whether or not the printer offers it, and the cutter on
    // unless the printer says it is off.
    m_PreviewSettings.aiValue[kPvRotated] = static_cast<int>(WorkOf(pContext)->dwRotate180);
    m_PreviewSettings.aiExtra[kPxAutoCutter] = OptionIs(m_pCUIParam, zqkw::kZQDisableAutoCutter, L"TRUE") == 1 ? 0 : 1;
}

void CZQShortcutsTab::VRepaintPaperSizePicture(PageContext*) {
    int index = -1;
    if (m_controls.Page() && BFindFeatureRecord(zqkw::kPaperSize, &index))
        if (HWND holder = GetDlgItem(m_controls.Page(), m_rows.PRecord(index)->iPictureHolderId)) InvalidateRect(holder, nullptr, TRUE);
}

void CZQShortcutsTab::VSyncOrientationRecord(PageContext* pContext) {
    int index = -1;
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !BFindFeatureRecord(L"Orientation", &index)) return;
    DocFeatureRecord& record = *m_rows.PRecord(index);
    const bool portrait = ZQEqualNoCase(SelectedKeyword(record), L"Portrait");
    if (portrait == (work->wOrientation == 1)) return;
    record.iSelected = record.iSelected == 0 ? 1 : 0;
    if (!m_controls.Page()) return;
    if (record.iCtrlId) SendDlgItemMessageW(m_controls.Page(), record.iCtrlId, CB_SETCURSEL, static_cast<WPARAM>(record.iSelected), 0);
    if (HWND holder = GetDlgItem(m_controls.Page(), record.iPictureHolderId)) InvalidateRect(holder, nullptr, TRUE);
}
