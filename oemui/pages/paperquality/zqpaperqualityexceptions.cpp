// The Paper/Quality page's call of the maker's page-exceptions module, which edits the kinds its
// part (zqpageexceptions.h) lists.
#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"
#include "platform/zqcoremodapi.h"
#include "platform/zqpageexceptionsapi.h"

using namespace zqpage;

namespace {

// A driver setting into a buffer of 260 characters; false when it is missing or empty.
bool ReadSetting(POEMCUIPPARAM pParam, PCWSTR pszSetting, PWSTR pszValue) {
    CZQLocalPtr<WCHAR> value;
    if (CZQCommon::DWGetFeatureOption(pParam, pszSetting, value.Put()) != ZQOPT_OK || !value || !value.Get()[0])
        return false;
    return ZQCopyText(pszValue, kZQPageExceptionsPathChars, value.Get()) == S_OK;
}

}  // namespace

void CZQPaperQualityTab::VEditPageExceptions(HWND hDlg, PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    const POEMCUIPPARAM param = m_pCUIParam;
    if (!work || !param) return;
    CZQUILogic& logic = *pContext->pLogic;

    // The module is a file of the driver directory: a name that reaches elsewhere is not loaded.
    WCHAR file[kZQPageExceptionsPathChars], entry[kZQPageExceptionsPathChars];
    if (!ReadSetting(param, L"ZQPageExceptionsFile", file) || !ZQIsPlainFileName(file) ||
        ZQAppendText(file, kZQPageExceptionsPathChars, L".dll") != S_OK)
        return;
    CZQLocalPtr<WCHAR> path;
    if (!BGetDriverDirFile(param->hPrinter, path.Put(), file)) return;
    CZQModule module;
    {
        zqmodule::CZQActCtxScope scope;
        module.Reset(LoadLibraryW(path.Get()));
    }
    CZQLocalPtr<char> entryName;
    if (!module || !ReadSetting(param, L"ZQPageExceptionsInterface", entry) ||
        !BWideToMultiByte(entry, entryName.Put(), CP_ACP))
        return;
    const auto edit =
        reinterpret_cast<PFN_ZQPageExceptions>(reinterpret_cast<void*>(GetProcAddress(module.Get(), entryName.Get())));
    if (!edit) return;

    const DWORD kind = m_exceptions.DWTakeChosenKind(pContext);

    PageExceptionsParams block = {};
    block.pPageParam = param;
    block.pLogicParam = logic.Param();
    block.dwKind = kind;
    block.hPage = hDlg;
    block.dwMediaId = DWMediaTypeFromIndex(pContext, m_slots.aiMedia[kWorkingSlot]);
    block.dwSourceId = DWSourceFromPosition(pContext, m_slots.aiSource[kWorkingSlot]);
    block.dwDuplex = work->wDuplex == 1 ? 0 : 1;
    block.dwManualDuplex = work->dwManualDuplex ? 1 : 0;
    block.dwPagesPerSheet = work->dwPagesPerSheet >= 2 && work->dwPagesPerSheet <= 6 ? 1 : 0;
    block.dwBooklet = work->dwBooklet ? 1 : 0;
    if (const ZQUIDevmode* core = CoreOf(param))
        ZQCopyTextN(block.szHelpFile, kZQPageExceptionsPathChars, reinterpret_cast<PCWSTR>(core->szHelpFile),
                    ARRAYSIZE(core->szHelpFile));
    CZQLocalPtr<WCHAR> coreMod;
    if (BGetDriverDirFile(param->hPrinter, coreMod.Put(), kZQCoreModFile))
        ZQCopyTextN(block.szCoreModPath, kZQPageExceptionsPathChars, coreMod.Get(), kZQPageExceptionsPathChars - 1);
    else
        ZQCopyText(block.szCoreModPath, kZQPageExceptionsPathChars, kZQCoreModFile);
    if (pContext->pCaps)
        ZQCopyTextN(block.szPrinterName, kZQPageExceptionsPathChars, pContext->pCaps->szPrinterName,
                    ARRAYSIZE(pContext->pCaps->szPrinterName));
    block.pRecord = reinterpret_cast<ZQPageExceptionsRecord*>(work->szExtraText);
    block.dwVersion = 1;
    block.dwLowEnd = logic.BHasPageExceptionsLowEnd() ? 1 : 0;
    if (!edit(&block)) return;
    // The Finishing page tries two-sided printing against the media the exceptions were set up with.
    logic.m_dwPageExceptionMedia = block.dwMediaId;

    m_exceptions.VRefreshPageExceptionsList(pContext);
    RedrawWindow(m_exceptions.List().HWnd(), nullptr, nullptr, RDW_INVALIDATE);
    m_state.bPageExceptionsChanged = TRUE;
    VFillPageList(&logic, TRUE);
    m_controls.VRepaint(hDlg, IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND, FALSE);
    VNotifyPageChanged(hDlg, pContext);
}
