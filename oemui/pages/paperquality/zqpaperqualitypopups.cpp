// Pop-up mode of the Paper/Quality page: the media-type and paper-size lists show only the current
// choice, the recent choices and "More...", which opens the whole list as a grouped tree (the tree
// pop-ups, zqtreepopups.h). The recent choices travel in the private devmode.
#include <windows.h>

#include <commctrl.h>

#include "common/zqkeywords.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/parts/zqtreepopups.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

// ---------------------------------------------------------------------------------------------
// Slots and selection by display name
// ---------------------------------------------------------------------------------------------
BOOL CZQPaperQualityTab::BSelectMediaTypeByName(PageContext* pContext, PCWSTR pszName) {
    return CZQTreePopups::BSelectByName(pContext, DMPUB_MEDIATYPE, pszName);
}

// ---------------------------------------------------------------------------------------------
// Recent media types and the media-type short list
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VUpdateRecentMediaTypes(PageContext* pContext, PCWSTR pszName) {
    HWND combo = m_controls.H(kCtlMedia);
    ZQUIDevmode* work = WorkOf(pContext);
    const int slots = CZQTreePopups::IRecentMediaSlots(pContext);
    if (m_state.bMediaTypePopup && pszName && pszName[0] && work && slots > 0) {
        const bool largeFormat = pContext->pLogic->BIsLargeFormat() != FALSE;
        const int entries = combo ? static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)) : 0;
        WCHAR text[256];
        bool found = false;
        for (int i = 0; i + 1 < entries && !found; ++i) found = EntryText(combo, i, text) && lstrcmpW(text, pszName) == 0;
        for (int i = 0; i < slots && !found; ++i) {
            PCWSTR recent = CZQTreePopups::PszRecentMedia(*work, i);
            found = recent[0] && lstrcmpW(recent, pszName) == 0;
        }
        bool full = false;
        if (!found || (largeFormat && m_treePopups.IMediaCancelled() == 0))
            full = !CZQTreePopups::BPutRecentMedia(*work, slots, pszName);
        if (full && (!found || !largeFormat)) {
            CZQTreePopups::VShiftRecentMedia(*work, 0, slots, pszName);
        } else if (full) {
            const int bound = entries - 1 < slots ? entries - 1 : slots;
            for (int k = 0; k < bound; ++k) {
                if (lstrcmpW(CZQTreePopups::PszRecentMedia(*work, k), pszName) != 0) continue;
                if (k != slots - 1) CZQTreePopups::VShiftRecentMedia(*work, k, slots, pszName);
                break;
            }
        }
    }
    if (!combo) return;
    VFillMediaTypePopupList(combo, pContext);
    CZQTreePopups::VSelectExact(combo, pszName);
}

void CZQPaperQualityTab::VFillMediaTypePopupList(HWND hCombo, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!m_state.bMediaTypePopup || !hCombo || !work) return;
    SendMessageW(hCombo, CB_RESETCONTENT, 0, 0);
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_MEDIATYPE);
    const int count = IGetOptionCount(item);
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsMedia);
    PCWSTR current = nullptr;
    bool matched = false;
    if (caps && caps->pMediaIds) {
        for (DWORD i = 0; i < caps->dwMediaCount && static_cast<int>(i) < count && !matched; ++i) {
            if (caps->pMediaIds[i] != work->dwDefaultMediaId) continue;
            matched = true;
            current = OptionName(item, static_cast<int>(i));
        }
    }
    if (!matched) current = OptionName(item, 0);
    if (current && (!matched || !Readable(m_pCUIParam, zqkw::kZQLQJMediaTypeTreeviewCount)))
        SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(current));

    // The recent types in the driver's order; a name the list shows already is not shown twice.
    const int slots = CZQTreePopups::IRecentMediaSlots(pContext);
    for (int i = 0; i < count; ++i) {
        PCWSTR name = OptionName(item, i);
        if (!name) continue;
        bool recent = false;
        for (int s = 0; s < slots && !recent; ++s)
            recent = lstrcmpW(CZQTreePopups::PszRecentMedia(*work, s), name) == 0;
        if (recent && SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(name)) == CB_ERR)
            SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }

    // The list always shows the type the driver holds, also when no recent slot keeps it.
    PCWSTR selectedName = item ? OptionName(item, static_cast<int>(item->Sel)) : nullptr;
    if (selectedName &&
        SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(selectedName)) == CB_ERR)
        SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(selectedName));

    // A large-format printer offers a new paper when the colour-management program is there.
    bool offerNewPaper = false;
    if (pContext->pLogic->BIsLargeFormat()) {
        VBuildAddPaperCommand(pContext);
        offerNewPaper = m_state.BCommandNamesProgram();
    }
    if (offerNewPaper) {
        WCHAR last[256];
        const int entries = static_cast<int>(SendMessageW(hCombo, CB_GETCOUNT, 0, 0));
        if (!EntryText(hCombo, entries - 1, last) || !ZQEqualNoCase(last, kAddCustomPaper))
            SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAddCustomPaper));
    }
    WCHAR more[kResStringChars];
    if (BLoadResString(3119, more)) SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(more));
    CZQTreePopups::VSelectExact(hCombo, selectedName);
}

// ---------------------------------------------------------------------------------------------
// The paper-size short list
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VFillPaperSizePopupList(HWND hCombo, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    if (!hCombo || !work || !form) return;
    CZQUILogic& logic = *pContext->pLogic;
    const bool largeFormat = logic.BIsLargeFormat() != FALSE;
    const PCWSTR feature = logic.PszFormFeature();
    WCHAR initial[256] = {};
    logic.VGetInitialFeatureOption(feature, initial);
    CZQLocalPtr<WCHAR> initialName;
    if (!initial[0] || DWOptionKeywordToName(m_pCUIParam, feature, initial, initialName.Put()) != ZQOPT_OK)
        initialName.Reset();
    PCWSTR selected = OptionName(form, static_cast<int>(form->Sel));
    if ((m_treePopups.IPaperSizeState() == 0 || !m_state.bFormUnchanged) && initialName && selected &&
        (lstrcmpW(initialName.Get(), selected) != 0 || largeFormat))
        VUpdateRecentPaperSizes(pContext);

    // The list is rebuilt whole each time, so that entries never pile up. On other printers the
    // current and recent sizes stand in alphabetical order before the fixed entries.
    SendMessageW(hCombo, CB_RESETCONTENT, 0, 0);
    PCWSTR sorted[2 + CZQTreePopups::kRecentSlots] = {};
    int sortedCount = 0;
    if (initialName && selected && !largeFormat) sorted[sortedCount++] = initialName.Get();
    // The paper in force is listed though the quick set in force names another (one chosen since on
    // the core driver's page): the list's selection is what the page stores.
    if (initialName && selected && !largeFormat && lstrcmpW(initialName.Get(), selected) != 0)
        sorted[sortedCount++] = selected;

    const int count = IGetOptionCount(form);
    const int idx = initial[0] ? IGetOptionIndexByKeyword(m_pCUIParam, initial, feature, form) : -1;
    const int slots = CZQTreePopups::IRecentPaperSlots(pContext);
    for (int i = 0; i < slots; ++i) {
        int32_t& slot = work->aiRecentPaperSizes[i];
        // A document may bring any number: only the form's own positions count.
        if (slot < 0 || slot >= count) slot = -1;
        if (slot == -1) continue;
        PCWSTR name = OptionName(form, slot);
        if (!name || (slot == idx && !largeFormat)) continue;
        if (!largeFormat) {
            sorted[sortedCount++] = name;
        } else {
            const int entries = static_cast<int>(SendMessageW(hCombo, CB_GETCOUNT, 0, 0));
            SendMessageW(hCombo, CB_INSERTSTRING, static_cast<WPARAM>(i < entries ? i : entries),
                         reinterpret_cast<LPARAM>(name));
        }
    }
    for (int i = 1; i < sortedCount; ++i)
        for (int j = i; j > 0 && CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, sorted[j - 1], -1, sorted[j],
                                                -1) == CSTR_GREATER_THAN;
             --j) {
            PCWSTR swap = sorted[j];
            sorted[j] = sorted[j - 1];
            sorted[j - 1] = swap;
        }
    for (int i = 0; i < sortedCount; ++i)
        if (SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(sorted[i])) ==
            CB_ERR)
            SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(sorted[i]));
    // Without its string there is no "More..." to offer (nothing would open the tree).
    CZQTreePopups::VAddPaperListEnd(*this, hCombo, m_pCUIParam, nullptr);
    CZQTreePopups::VSelectExact(hCombo, OptionName(form, static_cast<int>(form->Sel)));
}

void CZQPaperQualityTab::VRestoreMediaTypeSelection(HWND hCombo, PageContext*) {
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_MEDIATYPE);
    if (m_state.bMediaTypePopup && hCombo)
        CZQTreePopups::VSelectExact(hCombo, item ? OptionName(item, static_cast<int>(item->Sel)) : nullptr);
}

void CZQPaperQualityTab::VRestorePaperSizeSelection(HWND hCombo, PageContext*) {
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    if (m_state.bPaperSizePopup && hCombo)
        CZQTreePopups::VSelectExact(hCombo, item ? OptionName(item, static_cast<int>(item->Sel)) : nullptr);
}
