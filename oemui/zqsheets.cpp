// Page assembly of the plug-in object: the page objects, their contexts, the sheet record and the
// pages added through the common property-sheet callback.
#include <new>

#include "common/zqhandles.h"
#include "common/zqlanguage.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "preview/zqpreview.h"
#include "zqmodule.h"
#include "zqoemui.h"
#include "zquidevmode.h"

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
    if (!ps->pOEMDM || !zqdm::IsCurrentBlock(ps->pOEMDM, zqdm::kSize)) return;
    auto* dm = static_cast<ZQUIDevmode*>(ps->pOEMDM);
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
// Printer records
// ---------------------------------------------------------------------------------------------
BOOL CZQOemUI::BReadPrinterRecords(HANDLE hPrinter, const DEVMODEW* pPublicDM) {
    ZQ_TRACE("CZQOemUI::BReadPrinterRecords");
    const BOOL caps = ZQReadPrinterCaps(&m_caps, hPrinter, pPublicDM);
    const BOOL papers = ZQReadPaperList(&m_paperList, hPrinter);
    return caps && papers;
}

// ---------------------------------------------------------------------------------------------
// Page objects
// ---------------------------------------------------------------------------------------------
CZQTabBase* CZQOemUI::Tab(int iPageId) const { return ValidPageId(iPageId) ? m_apTabs[iPageId] : nullptr; }

PageContext* CZQOemUI::Context(int iPageId) { return ValidPageId(iPageId) ? &m_aContexts[iPageId] : nullptr; }

int CZQOemUI::ISheetPosition(int iPageId) const { return m_logic.IGetPageIndex(nullptr, iPageId); }

void CZQOemUI::VDeleteTabObjects() {
    for (int id = 0; id < kPageIdCount; ++id) {
        delete m_apTabs[id];
        m_apTabs[id] = nullptr;
        m_aContexts[id] = {};
    }
    delete m_pPreview;
    m_pPreview = nullptr;
}

BOOL CZQOemUI::BCreateTabObjects(const ZQSheetFacts& facts) {
    VDeleteTabObjects();
    m_pPreview = new (std::nothrow) CZQRollPreview(zqmodule::Instance());
    // Every page object is made, also for pages this sheet does not show: other pages call into them.
    for (const ZQPageRow* row = ZQPageTable(); row->iPageId != kPageNone; ++row) {
        if (!ValidPageId(row->iPageId) || !row->pfnCreate || m_apTabs[row->iPageId]) continue;
        m_apTabs[row->iPageId] = row->pfnCreate(facts);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Sheets
// ---------------------------------------------------------------------------------------------
BOOL CZQOemUI::IBuildPages(PPROPSHEETUI_INFO pPSUIInfo, DWORD dwSheet) {
    ZQ_TRACE("CZQOemUI::IBuildPages");
    POEMUIPSPARAM ps = SheetParamOf(pPSUIInfo);
    if (!ps || !pPSUIInfo->pfnComPropSheet || !ps->hOEMHeap) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (m_pCommon) m_pCommon->VLoadResourceModule(ps->hPrinter);
    const HMODULE hResModule = m_pCommon ? m_pCommon->HResModule() : nullptr;

    // A new sheet starts with a clean per-sheet state, and a document sheet with the core
    // driver's copy of the private devmode as its working copy.
    m_logic.VResetSheetState();
    ZQSheetState& state = *m_logic.SheetState();
    state.bRtl = zqlang::IsRightToLeft() ? TRUE : FALSE;
    WriteHelpPath(ps);
    if (dwSheet == kSheetDocument) m_logic.BTakeWorkingCopy(ps->pOEMDM);

    ZQSheetFacts facts;
    ZQReadSheetFacts(m_pCUIParam, ps->pOEMDM, &facts);
    int ids[kPageIdCount];
    const int count = IChooseSheetPages(facts, dwSheet, ids, kPageIdCount);
    BCreateTabObjects(facts);

    auto* record = static_cast<SheetRecord*>(HeapAlloc(ps->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(SheetRecord)));
    if (!record) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
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
    int added = 0;
    for (int i = 0; i < count; ++i) {
        const int id = ids[i];
        const ZQPageRow* row = ZQFindPageRow(id);
        CZQTabBase* page = Tab(id);
        if (!row || !page || !row->pfnTemplate) continue;  // no such page class yet, or not for this printer
        if (added >= kMaxSheetPages) break;                 // the sheet record holds ten pages

        PageContext& context = m_aContexts[id];
        context = {page, &m_logic, m_pPreview, m_pDriverUI, &m_caps, m_pXmlUiRules, this};
        page->VBind(ps, m_pCUIParam, hResModule);
        WCHAR title[CZQCommon::kResStringChars];
        if (!m_pCommon || !m_pCommon->BLoadResString(row->iTitleId, title))
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
        if (row->pfnBeforeAdd) row->pfnBeforeAdd(this, &context, &psp);

        const LONG_PTR hPage = pPSUIInfo->pfnComPropSheet(pPSUIInfo->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                                          reinterpret_cast<LPARAM>(&psp), 0);
        if (!hPage) {
            VRemoveAddedPages(ps, added);
            SetLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
        record->ahPages[added++] = reinterpret_cast<HANDLE>(hPage);
    }

    // The sheet opens on the page the user left last (its title id), else on its first page.
    if (ps->pOEMDM && zqdm::IsCurrentBlock(ps->pOEMDM, zqdm::kSize)) {
        const int startTitle = static_cast<const ZQUIDevmode*>(ps->pOEMDM)->iStartPage;
        for (int i = 0; i < count; ++i) {
            const ZQPageRow* row = ZQFindPageRow(ids[i]);
            const int position = ISheetPosition(ids[i]);
            if (!row || position < 0 || row->iTitleId != startTitle) continue;
            pPSUIInfo->pfnComPropSheet(pPSUIInfo->hComPropSheet, CPSFUNC_SET_HSTARTPAGE,
                                       reinterpret_cast<LPARAM>(record->ahPages[position]), 0);
            break;
        }
    }
    return TRUE;
}

void CZQOemUI::VRemoveAddedPages(POEMUIPSPARAM ps, int cAdded) {
    SheetRecord* record = m_pSheetRecord;
    for (int i = 0; record && i < cAdded; ++i)
        record->pfnComPropSheet(record->hComPropSheet, CPSFUNC_DELETE_HCOMPROPSHEET,
                                reinterpret_cast<LPARAM>(record->ahPages[i]), 0);
    for (int id = 0; id < kPageIdCount; ++id)
        if (m_apTabs[id]) m_apTabs[id]->m_iSheetPosition = -1;
    m_logic.VResetSheetState();
    ps->pOEMUserData = m_pSavedUserData;
    if (record) HeapFree(ps->hOEMHeap, 0, record);
    m_pSheetRecord = nullptr;
    m_pSavedUserData = nullptr;
}

void CZQOemUI::VEndSheet(PPROPSHEETUI_INFO pPSUIInfo) {
    ZQ_TRACE("CZQOemUI::VEndSheet");
    POEMUIPSPARAM ps = SheetParamOf(pPSUIInfo);
    if (!ps || !m_pSheetRecord || ps->pOEMUserData != m_pSheetRecord) return;
    // The pages are gone; their objects stay until the pages are built again.
    for (int position = 0; position < kMaxSheetPages; ++position)
        for (int id = 0; id < kPageIdCount; ++id) {
            if (m_logic.IGetPageIndex(nullptr, id) != position) continue;
            const ZQPageRow* row = ZQFindPageRow(id);
            if (row && row->pfnSheetEnd) row->pfnSheetEnd(this, &m_aContexts[id]);
        }
    ps->pOEMUserData = m_pSavedUserData;
    if (ps->hOEMHeap) HeapFree(ps->hOEMHeap, 0, m_pSheetRecord);
    m_pSheetRecord = nullptr;
    m_pSavedUserData = nullptr;
}
