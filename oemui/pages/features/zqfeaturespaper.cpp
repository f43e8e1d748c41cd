// The Features page's paper size: pop-up mode's short list with the recent forms, the list's choice
// taken to the form item and the paper the document prints on, the rules a banner, borderless or
// larger-than-printable paper brings, and the borderless twin of a paper.
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqprintercaps.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqcustompaperdlg.h"
#include "pages/zqpapernames.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/zqpageasks.h"
#include "pages/parts/zqtreepopups.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

// The keyword of a paper-size display name; false when the driver has none.
bool KeywordIs(POEMCUIPPARAM pParam, PCWSTR pszName, PCWSTR pszKeyword) {
    CZQLocalPtr<WCHAR> keyword;
    return pszName && pszName[0] &&
           CZQCommon::DWOptionNameToKeyword(pParam, zqkw::kPaperSize, pszName, keyword.Put()) == ZQOPT_OK &&
           ZQEqualNoCase(keyword.Get(), pszKeyword);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Pop-up mode's list and the recent forms
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VFillPaperSizeCombo(HWND hCombo, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    if (!hCombo || !work || !form) return;
    WCHAR initial[256] = {};
    pContext->pLogic->VGetInitialFeatureOption(zqkw::kPaperSize, initial);
    CZQLocalPtr<WCHAR> initialName;
    if (!initial[0] || DWOptionKeywordToName(m_pCUIParam, zqkw::kPaperSize, initial, initialName.Put()) != ZQOPT_OK)
        initialName.Reset();
    PCWSTR selected = OptionName(form, static_cast<int>(form->Sel));
    if (initialName && selected && lstrcmpW(initialName.Get(), selected) != 0) VUpdateRecentPapers(pContext);

    SendMessageW(hCombo, CB_RESETCONTENT, 0, 0);
    if (initialName) SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(initialName.Get()));
    const int count = IGetOptionCount(form);
    const int initialIndex = initial[0] ? IGetOptionIndexByKeyword(m_pCUIParam, initial, zqkw::kPaperSize, form) : -1;
    const int slots = CZQTreePopups::IRecentPaperSlots(pContext);
    for (int i = 0; i < slots; ++i) {
        int32_t& slot = work->aiRecentPaperSizes[i];
        // A document may bring any number: only the form's own positions count.
        if (slot < 0 || slot >= count) slot = -1;
        if (slot == -1 || slot == initialIndex) continue;
        if (PCWSTR name = OptionName(form, slot))
            if (SendMessageW(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)) ==
                CB_ERR)
                SendMessageW(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    CZQTreePopups::VAddPaperListEnd(*this, hCombo, m_pCUIParam, L"More...");
    CZQTreePopups::VSelectExact(hCombo, selected);
}

void CZQFeaturesTab::VUpdateRecentPapers(PageContext* pContext) {
    CZQTreePopups::VUpdateRecentPapers(pContext, PubItem(m_pCUIParam, DMPUB_FORMNAME),
                                       m_controls.Item(IDC_CBO_MEDIA_SIZE_IS));
}

// ---------------------------------------------------------------------------------------------
// The chosen paper and its rules
// ---------------------------------------------------------------------------------------------
void CZQFeaturesTab::VApplyPaperSize(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    if (!work || !form) return;
    CZQUILogic& logic = *pContext->pLogic;
    HWND list = m_controls.Item(IDC_CBO_MEDIA_SIZE_IS);
    const int option = IComboItemToOptionIndex(static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)), list, form);
    if (option >= 0) ReportSelection(m_pCUIParam, form, option, static_cast<DWORD>(form->Sel), OEMCUIP_DOCPROP);
    if (work->dwPrintDocOn) return;
    if (logic.BNeedsScaleFromLargePaper(pContext->pCaps)) {
        logic.VSelectScaleTargetPaper();
    } else if (!logic.BIsBorderlessPaper()) {
        if (m_pCUIParam->pPublicDM) work->dwPrintedOnPaper = static_cast<uint32_t>(m_pCUIParam->pPublicDM->dmPaperSize);
    } else {
        // A borderless paper prints on its bordered twin's entry, else Letter's.
        HWND destination = m_controls.Item(IDC_CBO_DEST_PAPER_SIZE);
        const int entry = m_dest.IFindBorderlessTwin(pContext);
        SendMessageW(destination, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsPapers);
        if (caps && destination)
            if (const WORD id = m_dest.WGetDestPaperId(caps->dwPaperCount, entry, caps->pPaperIds); id > 0)
                work->dwPrintedOnPaper = id;
    }
}

int CZQFeaturesTab::IApplyPaperRules(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !PubItem(m_pCUIParam, DMPUB_FORMNAME)) return 0;
    CZQUILogic& logic = *pContext->pLogic;
    const POEMCUIPPARAM param = m_pCUIParam;
    auto* finishing = ZQSheetPage<IZQFinishingPage>(pContext, kPageFinishing);
    int applied = 0;
    // A paper larger than the printer prints scaled onto the largest it takes: no poster.
    if (logic.BNeedsScaleFromLargePaper(pContext->pCaps)) {
        logic.VSelectScaleTargetPaper();
        work->dwPrintDocOn = 1;
        work->dwScaleToFit = 1;
        if (!work->dwBooklet) work->dwPagesPerSheet = 1;
        DWSelectOptionByIndex(param, zqkw::kZQPosterPrinting, 0, OEMCUIP_DOCPROP);
        if (finishing) finishing->VDisablePosterControl(pContext->pLogic);
        ++applied;
    }
    // Banner and borderless papers print one page per sheet at its size, one-sided; a postcard
    // keeps its layout.
    const BOOL banner = logic.BIsBannerPaper();
    if (banner || (logic.BIsBorderlessPaper() && !m_layout.BOptionContains(zqkw::kPaperSize, L"HAGAKI"))) {
        work->dwBooklet = 0;
        logic.VEndBooklet();
        work->dwEdgeToEdge = 1;
        work->dwPagesPerSheet = 1;
        work->dwPrintDocOn = 0;
        work->dwScaleToFit = 0;
        work->dwScalePercent = 100;
        DWSelectOptionByIndex(param, zqkw::kZQPosterPrintingOptionSUI, 0, OEMCUIP_DOCPROP);
        if (finishing) finishing->VDisablePosterControl(pContext->pLogic);
        DWSelectPubOption(param, DMPUB_DUPLEX, 0, 0);
        logic.VUpdateDuplexState();
        if (banner) logic.ISetPageOrderItems(TRUE);
        ++applied;
    }
    return applied;
}

// ---------------------------------------------------------------------------------------------
// The borderless twin
// ---------------------------------------------------------------------------------------------
BOOL CZQFeaturesTab::BGetBorderlessCounterpart(PageContext* pContext, PWSTR pszName) {
    if (!pszName) return FALSE;
    pszName[0] = 0;
    WCHAR paper[256], twin[256] = {};
    if (!ReadOption(m_pCUIParam, zqkw::kPaperSize, paper) || !BorderlessTwinFromRules(pContext, paper, twin))
        return FALSE;
    POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    PCWSTR name = form ? OptionName(form, static_cast<int>(form->Sel)) : nullptr;
    BOOL userForm = FALSE;
    if (!name || !CZQCustomPaperDlg::BFindForm(m_pCUIParam, name, &userForm)) return TRUE;
    // A user form is its own twin when its record and its keyword disagree about its borders.
    const bool keyedBorderless = wcsstr(paper, L"BORDERLESS") != nullptr;
    const bool own = userForm && (BIsBorderlessFormName(name) != FALSE) != keyedBorderless;
    ZQCopyText(pszName, 256, own ? paper : twin);
    return TRUE;
}

BOOL CZQFeaturesTab::BHasBorderlessCounterpart(PageContext* pContext) {
    WCHAR twin[256];
    return BGetBorderlessCounterpart(pContext, twin) && twin[0];
}

BOOL CZQFeaturesTab::BSelectBorderlessCounterpart(PageContext* pContext) {
    POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    HWND list = m_controls.Item(IDC_CBO_MEDIA_SIZE_IS);
    WCHAR twin[256];
    if (!form || !list || !BGetBorderlessCounterpart(pContext, twin) || !twin[0]) return FALSE;
    if (m_state.bPaperSizePopup) {
        // The short list takes the twin as an entry of its own.
        for (int i = 0; i < IGetOptionCount(form); ++i) {
            PCWSTR name = OptionName(form, i);
            if (!KeywordIs(m_pCUIParam, name, twin)) continue;
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
            CZQTreePopups::VSelectExact(list, name);
            VApplyPaperSize(pContext);
            VFillPaperSizeCombo(list, pContext);
            return TRUE;
        }
        return FALSE;
    }
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        WCHAR text[256];
        BOOL userForm = FALSE;
        if (!EntryText(list, i, text) || !KeywordIs(m_pCUIParam, text, twin) ||
            !CZQCustomPaperDlg::BFindForm(m_pCUIParam, text, &userForm))
            continue;
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        VApplyPaperSize(pContext);
        return TRUE;
    }
    return FALSE;
}
