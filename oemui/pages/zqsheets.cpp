// Page assembly of a binding: the page objects, their contexts, the sheet record and the pages
// added through the common property-sheet callback.
#include "pages/zqsheets.h"

#include "pages/color/zqcolorpage.h"
#include "pages/effects/zqeffectspage.h"

#include <new>

#include "common/zqitemanswers.h"
#include "common/zqlanguage.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "common/zqmodule.h"
#include "featurelogic/zqbinding.h"
#include "featurelogic/zqpluginevents.h"
#include "preview/zqpreview.h"
#include "formats/zquidevmode.h"
#include "pages/paperquality/zqpaperqualitypage.h"

namespace {

bool ValidPageId(int iPageId) { return iPageId > kPageNone && iPageId < kPageIdCount; }

// The sheet's block as the core driver hands it over; null when it cannot be used.
POEMUIPSPARAM SheetParamOf(const PROPSHEETUI_INFO* pPSUIInfo) {
    auto* ps = reinterpret_cast<POEMUIPSPARAM>(pPSUIInfo->lParamInit);
    if (!ps || ps->cbSize < offsetof(OEMUIPSPARAM, dwFlags)) return nullptr;
    return ps;
}

// The help file of the driver goes into the core driver's block every time a sheet starts: a
// stored devmode's path is never trusted.
void WriteHelpPath(POEMUIPSPARAM ps) {
    ZQUIDevmode* dm = zqdm::CurrentBlock(ps->pOEMDM);
    if (!dm) return;
    WCHAR* field = reinterpret_cast<WCHAR*>(dm->szHelpFile);
    constexpr size_t kChars = sizeof dm->szHelpFile / sizeof dm->szHelpFile[0];
    CZQLocalPtr<WCHAR> help;
    if (CZQCommon::BGetHelpFilePath(ps->hPrinter, help.Put()))
        ZQCopyText(field, kChars, help.Get());
    else
        ZQCopyText(field, kChars, L"");
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Page objects
// ---------------------------------------------------------------------------------------------
CZQTabBase* CZQSheetBuilder::Tab(int iPageId) const { return ValidPageId(iPageId) ? m_apTabs[iPageId] : nullptr; }

PageContext* CZQSheetBuilder::ContextForTesting(int iPageId) {
    return ValidPageId(iPageId) ? &m_aContexts[iPageId] : nullptr;
}

PageContext* CZQSheetBuilder::PContext(int iPageId) {
    PageContext* context = ValidPageId(iPageId) ? &m_aContexts[iPageId] : nullptr;
    return context && context->pPage ? context : nullptr;
}

BOOL CZQSheetBuilder::BReadLoadedRollSize() {
    auto* tab = static_cast<CZQPaperQualityTab*>(m_apTabs[kPagePaperQuality]);
    return tab && tab->BReadLoadedRollSize(&m_aContexts[kPagePaperQuality]);
}

BOOL CZQSheetBuilder::BSaveSheetWatermarks() {
    auto* tab = static_cast<CZQEffectsTab*>(m_apTabs[kPageEffects]);
    return tab && tab->m_iSheetPosition >= 0 && tab->BSaveWatermarks();
}

void CZQSheetBuilder::VDeleteTabObjects() {
    delete m_pPreview;
    m_pPreview = nullptr;
    delete m_pColorCompanion;
    m_pColorCompanion = nullptr;
    m_colorCompanionContext = {};
    for (int id = 0; id < kPageIdCount; ++id) {
        delete m_apTabs[id];
        m_apTabs[id] = nullptr;
        m_aContexts[id] = {};
    }
}

BOOL CZQSheetBuilder::BCreateTabObjects(const ZQSheetFacts& facts) {
    VDeleteTabObjects();
    // Every page object is made, also for pages this sheet does not show: other pages call into them.
    for (const ZQPageRow* row = ZQPageTable(); row->iPageId != kPageNone; ++row) {
        if (!ValidPageId(row->iPageId) || !row->pfnCreate || m_apTabs[row->iPageId]) continue;
        m_apTabs[row->iPageId] = row->pfnCreate(facts);
    }
    if (m_apTabs[kPageColor]) m_pColorCompanion = new (std::nothrow) CZQColorCompanion();
    // One preview for every page of the sheet, its bitmaps from this module.
    m_pPreview = new (std::nothrow) CZQRollPreview(zqmodule::Instance());
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Sheets
// ---------------------------------------------------------------------------------------------
// The record goes with its sheet: no page of a later sheet reports through it.
void CZQSheetBuilder::VForgetSheetRecord() {
    m_pSheetRecord = nullptr;
    for (PageContext& context : m_aContexts) context.pSheet = nullptr;
}

HRESULT CZQSheetBuilder::HrPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, DWORD dwSheet,
                                          CZQBinding& binding, const ZQPageGates& gates) {
    const HRESULT hr = HrSheetStep(pPSUIInfo, lParam, dwSheet, binding, gates);
    // The driver's extension modules hear of the sheet after the pages.
    CZQPluginEvents(binding).VSheetEvent(pPSUIInfo, lParam, dwSheet);
    // The sheet's view of its printer goes with the sheet, once the modules have heard of its end.
    if (pPSUIInfo && pPSUIInfo->Reason == PROPSHEETUI_REASON_DESTROY) binding.dataView.Close();
    return hr;
}

HRESULT CZQSheetBuilder::HrSheetStep(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, DWORD dwSheet, CZQBinding& binding,
                                     const ZQPageGates& gates) {
    if (!pPSUIInfo) {
        SetLastError(ERROR_INVALID_DATA);
        return E_FAIL;
    }
    switch (pPSUIInfo->Reason) {
        case PROPSHEETUI_REASON_INIT: return IBuildPages(pPSUIInfo, dwSheet, binding, gates) >= 0 ? S_OK : E_FAIL;
        case PROPSHEETUI_REASON_SET_RESULT: {
            // A page's result becomes the sheet's result.
            const auto* result = reinterpret_cast<const SETRESULT_INFO*>(lParam);
            if (result) pPSUIInfo->Result = result->Result;
            return S_OK;
        }
        case PROPSHEETUI_REASON_DESTROY: VEndSheet(pPSUIInfo, binding); return S_OK;
        default: return S_OK;
    }
}

int CZQSheetBuilder::IBuildPages(PPROPSHEETUI_INFO pPSUIInfo, DWORD dwSheet, CZQBinding& binding,
                                 const ZQPageGates& gates) {
    ZQ_TRACE("CZQSheetBuilder::IBuildPages");
    CZQCommon* const pCommon = binding.pCommon;
    CZQUILogic& logic = binding.logic;
    POEMUIPSPARAM ps = SheetParamOf(pPSUIInfo);
    if (!ps || !pPSUIInfo->pfnComPropSheet || !ps->hOEMHeap) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    if (pCommon) pCommon->VLoadResourceModule(ps->hPrinter);
    const HMODULE hResModule = pCommon ? pCommon->HResModule() : nullptr;
    // The pages ask for the same driver record, lists and settings as the fill pass did: each once here.
    zqitems::CZQItemPass itemPass;
    zqspool::CZQViewPass viewPass(binding.dataView);

    // A new sheet starts with a clean per-sheet state, and a document sheet with the core
    // driver's copy of the private devmode as its working copy.
    logic.VResetSheetState();
    ZQSheetState& state = *logic.SheetState();
    state.bRtl = zqlang::IsRightToLeft() ? TRUE : FALSE;
    WriteHelpPath(ps);
    if (dwSheet == kSheetDocument) logic.BTakeWorkingCopy(ps->pOEMDM);
    // The pages tell the sheet whether they differ from the selections it opens with.
    logic.VSaveSelections();

    ZQSheetFacts facts;
    ZQReadSheetFacts(binding.pCUIParam, ps->pOEMDM, &facts);
    int ids[kPageIdCount];
    const int count = IChooseSheetPages(facts, dwSheet, ids, kPageIdCount);
    BCreateTabObjects(facts);

    auto* record = static_cast<SheetRecord*>(HeapAlloc(ps->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(SheetRecord)));
    if (!record) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return -1;
    }
    record->pfnComPropSheet = pPSUIInfo->pfnComPropSheet;
    record->hComPropSheet = pPSUIInfo->hComPropSheet;
    record->dwMode = dwSheet;
    m_pSavedUserData = ps->pOEMUserData;
    ps->pOEMUserData = record;
    m_pSheetRecord = record;

    {
        zqmodule::CZQActCtxScope scope;
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
    }
    const HANDLE hActCtx = zqmodule::ActCtx();
    // The sheet takes the size of its largest page: the others are laid out to it.
    m_templates.VReset();
    for (int i = 0; i < count; ++i) {
        const ZQPageRow* row = ZQFindPageRow(ids[i]);
        if (!row || !row->pfnTemplate || !Tab(ids[i])) continue;
        const ZQPageTemplate dialog = row->pfnTemplate(facts);
        if (dialog.pfnDlgProc) m_templates.BMeasure(zqmodule::Instance(), state.bRtl ? dialog.wRtl : dialog.wLtr);
    }
    int added = 0;
    for (int i = 0; i < count; ++i) {
        const int id = ids[i];
        const ZQPageRow* row = ZQFindPageRow(id);
        CZQTabBase* page = Tab(id);
        if (!row || !page || !row->pfnTemplate) continue;  // no such page class yet, or not for this printer
        if (added >= kMaxSheetPages) break;                 // the sheet record holds ten pages

        PageContext& context = m_aContexts[id];
        context = {page,           &logic,           m_pPreview,         binding.pDriverUI,
                   &binding.caps,  binding.pRules,   gates.pConstraints, gates.pAlerts,
                   gates.pExchange, &binding.quickSets, &binding.papers,  record,
                   this,           &m_imageEnhance};
        page->VBind(ps, binding.pCUIParam, hResModule);
        if (id == kPageColor && m_pColorCompanion) {
            m_colorCompanionContext = context;
            m_colorCompanionContext.pPage = m_pColorCompanion;
            m_pColorCompanion->VBind(ps, binding.pCUIParam, hResModule);
        }
        WCHAR title[CZQCommon::kResStringChars];
        if (!pCommon || !pCommon->BLoadResString(row->iTitleId, title))
            ZQCopyText(title, CZQCommon::kResStringChars, row->pszTitle ? row->pszTitle : L"");
        ZQCopyText(page->m_szTitle, CZQTabBase::kTitleChars, title);
        page->m_iSheetPosition = added;
        state.aiPagePosition[id] = added;

        const ZQPageTemplate dialog = row->pfnTemplate(facts);
        PROPSHEETPAGEW psp = {};
        psp.dwSize = sizeof psp;
        psp.dwFlags = PSP_USETITLE | PSP_PREMATURE;
        if (hActCtx) {
            psp.dwFlags |= PSP_USEFUSIONCONTEXT;
            psp.hActCtx = hActCtx;
        }
        psp.hInstance = zqmodule::Instance();
        psp.pszTemplate = MAKEINTRESOURCEW(state.bRtl ? dialog.wRtl : dialog.wLtr);
        psp.pfnDlgProc = dialog.pfnDlgProc;
        psp.pszTitle = page->m_szTitle;
        psp.lParam = reinterpret_cast<LPARAM>(&context);
        if (row->pfnBeforeAdd) row->pfnBeforeAdd(&context, &psp);
        if (!psp.pfnDlgProc) {  // nothing to show for this printer
            page->m_iSheetPosition = -1;
            state.aiPagePosition[id] = -1;
            continue;
        }
        if (psp.hInstance == zqmodule::Instance() && !(psp.dwFlags & PSP_DLGINDIRECT) &&
            IS_INTRESOURCE(psp.pszTemplate))
            if (const DLGTEMPLATE* laidOut = m_templates.PLaidOut(
                    psp.hInstance, static_cast<WORD>(reinterpret_cast<ULONG_PTR>(psp.pszTemplate)), added)) {
                psp.dwFlags |= PSP_DLGINDIRECT;
                psp.pResource = laidOut;
            }

        const LONG_PTR hPage = pPSUIInfo->pfnComPropSheet(pPSUIInfo->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                                          reinterpret_cast<LPARAM>(&psp), 0);
        if (!hPage) {
            VRemoveAddedPages(ps, added, binding);
            SetLastError(ERROR_INVALID_DATA);
            return -1;
        }
        record->ahPages[added++] = reinterpret_cast<HANDLE>(hPage);
    }

    // The sheet opens on the page the user left last (its title id), else on its first page.
    if (const ZQUIDevmode* dm = zqdm::CurrentBlock(ps->pOEMDM)) {
        const int startTitle = dm->iStartPage;
        for (int i = 0; i < count; ++i) {
            const ZQPageRow* row = ZQFindPageRow(ids[i]);
            const int position = logic.IGetPageIndex(nullptr, ids[i]);
            if (!row || position < 0 || row->iTitleId != startTitle) continue;
            pPSUIInfo->pfnComPropSheet(pPSUIInfo->hComPropSheet, CPSFUNC_SET_HSTARTPAGE,
                                       reinterpret_cast<LPARAM>(record->ahPages[position]), 0);
            break;
        }
    }
    return added;
}

void CZQSheetBuilder::VRemoveAddedPages(POEMUIPSPARAM ps, int cAdded, CZQBinding& binding) {
    SheetRecord* record = m_pSheetRecord;
    for (int i = 0; record && i < cAdded; ++i)
        record->pfnComPropSheet(record->hComPropSheet, CPSFUNC_DELETE_HCOMPROPSHEET,
                                reinterpret_cast<LPARAM>(record->ahPages[i]), 0);
    for (int id = 0; id < kPageIdCount; ++id)
        if (m_apTabs[id]) m_apTabs[id]->m_iSheetPosition = -1;
    binding.logic.VResetSheetState();
    ps->pOEMUserData = m_pSavedUserData;
    if (record) HeapFree(ps->hOEMHeap, 0, record);
    VForgetSheetRecord();
    m_pSavedUserData = nullptr;
}

void CZQSheetBuilder::VEndSheet(PPROPSHEETUI_INFO pPSUIInfo, CZQBinding& binding) {
    ZQ_TRACE("CZQSheetBuilder::VEndSheet");
    POEMUIPSPARAM ps = SheetParamOf(pPSUIInfo);
    if (!ps || !m_pSheetRecord || ps->pOEMUserData != m_pSheetRecord) return;
    // The pages are gone; their objects stay until the pages are built again.
    for (int position = 0; position < kMaxSheetPages; ++position)
        for (int id = 0; id < kPageIdCount; ++id) {
            if (binding.logic.IGetPageIndex(nullptr, id) != position) continue;
            const ZQPageRow* row = ZQFindPageRow(id);
            if (row && row->pfnSheetEnd) row->pfnSheetEnd(&m_aContexts[id]);
        }
    ps->pOEMUserData = m_pSavedUserData;
    CZQCommon::VForgetOptionKeywords();
    if (ps->hOEMHeap) HeapFree(ps->hOEMHeap, 0, m_pSheetRecord);
    VForgetSheetRecord();
    m_pSavedUserData = nullptr;
}
