#include "pages/zqpageitems.h"

#include <cmath>

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "featurelogic/zqpagegates.h"
#include "featurelogic/zqquicksets.h"
#include "res/zqpageids.h"
#include "settings/zqconfigexport.h"
#include "settings/zqdriverdata.h"

namespace zqpage {

INT_PTR SetPreviewCursor(HWND hDlg) {
    POINT cursor = {};
    GetCursorPos(&cursor);
    bool over = false;
    HWND page = hDlg;
    for (int id : {IDC_BTN_PREVIEW_PORT, IDC_BTN_PREVIEW_LAND}) {
        HWND button = GetDlgItem(hDlg, id);
        if (!button) continue;
        RECT rc;
        if (GetWindowRect(button, &rc) && PtInRect(&rc, cursor)) over = true;
        page = GetParent(button);
    }
    SetCursor(LoadCursorW(nullptr, over ? IDC_HAND : IDC_ARROW));
    SetWindowLongPtrW(page, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

void FillHelpTable(DWORD* pdwTable, const HelpRow* pRows, int cRows, HANDLE hPrinter, CZQUILogic* pLogic) {
    if (!pdwTable || !pRows) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    int n = 0;
    for (int i = 0; i < cRows; ++i) {
        const HelpRow& row = pRows[i];
        int help = row.fallback;
        if (row.lock && CZQUILogic::BIsSettingLocked(hPrinter, zqsettings::kLockDataPrinting, row.lock, nullptr)) {
            help = static_cast<int>(kLockedHelpId);
        } else if ((row.pubId || row.feature) && pLogic) {
            int index = -1;
            pLogic->IBindFeatureControl(row.pubId, row.feature, nullptr, nullptr, OEMCUIP_DOCPROP,
                                        CZQUILogic::kBindHelp, FALSE, 0, &index);
            help = index >= 0 ? index : row.fallback;
        }
        pdwTable[n++] = static_cast<DWORD>(row.control);
        pdwTable[n++] = static_cast<DWORD>(help);
    }
    pdwTable[n++] = 0;
    pdwTable[n] = 0;
}

bool LockedInAnyCase(HANDLE hPrinter, PCWSTR pszName) {
    // The shared check takes the word as written and hands back what it read.
    WCHAR text[256];
    return CZQUILogic::BIsSettingLocked(hPrinter, zqsettings::kLockDataPrinting, pszName, text) ||
           ZQEqualNoCase(text, zqsettings::kLock);
}

int StoredLockWord(HANDLE hPrinter, PCWSTR pszName) {
    CZQLocalPtr<WCHAR> text;
    if (!hPrinter || !CZQDriverData::BGetPrinterDataEx(hPrinter, zqsettings::kLockDataPrinting, pszName, text.Put()))
        return -1;
    return ZQEqualNoCase(text.Get(), zqsettings::kLock) ? 1 : 0;
}

CZQImageEnhanceDlg* SheetImageEnhance(const PageContext* pContext, PageContext** ppPaperContext) {
    IZQPageSlots* pages = pContext ? pContext->pPages : nullptr;
    if (ppPaperContext) *ppPaperContext = pages ? pages->PContext(kPagePaperQuality) : nullptr;
    return pages && pages->PPage(kPagePaperQuality) ? pContext->pImageEnhance : nullptr;
}

PageContext* ContextWith(PageContext* pContext, unsigned needs) {
    const POEMCUIPPARAM param = pContext && pContext->pPage ? pContext->pPage->CUIParam() : nullptr;
    if (!pContext || !pContext->pPage || ((needs & kNeedItems) && !param) ||
        ((needs & kNeedDevmode) && (!param || !param->pOEMDM)) || ((needs & kNeedWork) && !WorkOf(pContext)) ||
        ((needs & kNeedCore) && !CoreOf(param)) || ((needs & kNeedRules) && !pContext->pRules)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return pContext;
}

bool IsSheetNotice(const NMHDR* pHeader) {
    if (!pHeader) return false;
    switch (pHeader->code) {
        case PSN_SETACTIVE:
        case PSN_KILLACTIVE:
        case PSN_APPLY:
        case PSN_RESET: return true;
        default: return false;
    }
}

LRESULT ApplyPage(PageContext* pContext, int iPageId) {
    if (pContext->pQuickSets) pContext->pQuickSets->VRestoreNameIfItemsChanged();
    return CommitPage(pContext, iPageId);
}

LRESULT CommitPage(PageContext* pContext, int iPageId, const std::function<void()>& afterSync) {
    CZQUILogic& logic = *pContext->pLogic;
    logic.IResolveConflicts(logic.WorkDM());
    logic.VUpdateColorSpaceConflicts();
    return ReportPage(pContext, iPageId, afterSync);
}

LRESULT ReportPage(PageContext* pContext, int iPageId, const std::function<void()>& afterSync) {
    CZQUILogic& logic = *pContext->pLogic;
    IZQSettingsExchange* exchange = pContext->pExchange;
    CZQQuickSets* quickSets = pContext->pQuickSets;
    const int index = logic.IGetPageIndex(logic.WorkDM(), iPageId);
    // Only the last page the user visited writes back and exports: both run once per Apply.
    const bool last = index >= 0 && index == logic.SheetState()->iHighestPage;
    if (last && exchange) exchange->VSyncAfterChange();
    if (afterSync) afterSync();
    if (quickSets) quickSets->VClearChanged();
    const BOOL accepted = ZQReportPageResult(pContext->pSheet, index, CPSUI_OK);
    // A result the sheet refused still leaves the settings exported.
    if (last && exchange) exchange->BExportSettings(kZQExportPrinting);
    return accepted ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
}

void ReportPageChange(HWND hPage, PageContext* pContext, int iCompareGroup, bool bChanged) {
    CZQQuickSets* quickSets = pContext->pQuickSets;
    const bool quickSetChanged = quickSets && quickSets->BChanged();
    if (hPage)
        SendMessageW(GetParent(hPage), bChanged || quickSetChanged ? PSM_CHANGED : PSM_UNCHANGED,
                     reinterpret_cast<WPARAM>(hPage), 0);
    const ZQUIDevmode* saved = pContext->pPage ? CoreOf(pContext->pPage->CUIParam()) : nullptr;
    ZQUIDevmode* work = WorkOf(pContext);
    if (saved && work && saved->dwQuickSetInUse && quickSets && quickSets->BPageDiffers(*work, iCompareGroup))
        work->dwPendingChange = 1;
}

void ShowHelpButtonTopic(HWND hButton, POEMCUIPPARAM pParam, DWORD dwTopic) {
    const ZQUIDevmode* core = CoreOf(pParam);
    WCHAR helpFile[256] = {};
    if (core) ZQCopyTextN(helpFile, 256, reinterpret_cast<const WCHAR*>(core->szHelpFile), 255);
    CZQCommon::VShowControlHelp(hButton, IDC_BTN_HELP, dwTopic, helpFile);
}

bool WebPreviewAllowed(POEMCUIPPARAM pParam) {
    PWSTR* services = nullptr;
    int count = 0;
    bool allowed = true;
    if (pParam && CZQCommon::DWGetOptionKeywords(pParam, zqkw::kPSServicesOption, &services, &count, OEMCUIP_DOCPROP) ==
                      ZQOPT_OK && count > 0)
        allowed = CZQCommon::BHasEwsAddress(pParam->hPrinter) != FALSE;
    CZQCommon::VFreeStringList(services, count);
    return allowed;
}

void SetOrientation(PageContext* pContext, POEMCUIPPARAM pParam, bool bLandscape) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !pParam) return;
    work->wOrientation = bLandscape ? 2 : 1;
    const LONG selection = bLandscape ? 1 : 0;
    POPTITEM own = nullptr;
    if (CZQCommon::DWFindOemOptItemByPubId(pParam, kOemPubOrientation, &own) == ZQOPT_OK && own) {
        own->Sel = selection;
        own->Flags |= OPTIF_CHANGED;
    }
    CZQCommon::DWSelectPubOption(pParam, DMPUB_ORIENTATION, 0, selection);
}

void SwitchOrientation(PageContext* pContext, POEMCUIPPARAM pParam, bool bLandscape) {
    if (!WorkOf(pContext) || !pParam) return;
    SetOrientation(pContext, pParam, bLandscape);
    const bool postScript = PostScript(pContext);
    WCHAR option[256];
    // The PostScript orientation feature turns with the page.
    if (postScript && ReadOption(pParam, L"ZQOrientation", option)) {
        if (lstrcmpW(option, L"ZQOrientationLandscape") == 0)
            CZQCommon::DWSelectOptionByIndex(pParam, L"ZQOrientation", 0, OEMCUIP_DOCPROP);
        else if (lstrcmpW(option, L"ZQOrientationPortrait") == 0)
            CZQCommon::DWSelectOptionByIndex(pParam, L"ZQOrientation", 1, OEMCUIP_DOCPROP);
    }
    if (ReadOption(pParam, postScript ? zqkw::kStapleLocation : zqkw::kStapling, option) && RulesLoaded(pContext))
        pContext->pRules->BRunMacro(L"macro_StaplingConstraints", option, pParam);
}

void FlipPreviewUnit(CZQUIBase& page, ZQUIDevmode& work, const PrinterCaps* pCaps, HWND hDimensions, HWND hDocSize,
                     bool bDocSize) {
    work.dwUnitMm = work.dwUnitMm == 0 ? 1 : 0;
    if (bDocSize) {
        page.VSetPreviewDocSizeText(&work, pCaps, hDocSize);
        page.VSetPreviewPaperText(&work, pCaps, hDimensions, 0);
        if (hDocSize) InvalidateRect(hDocSize, nullptr, TRUE);
        return;
    }
    page.VSetPreviewPaperText(&work, pCaps, hDimensions, 0);
    if (work.dwPrintDocOn == 1) page.VSetPreviewDocSizeText(&work, pCaps, hDocSize);
}

int ShownPreviewId(const ZQUIDevmode& work) {
    const bool across = work.dwPagesPerSheet == 2 || work.dwPagesPerSheet == 4;
    return (work.wOrientation == 2) == across ? IDC_BTN_PREVIEW_PORT : IDC_BTN_PREVIEW_LAND;
}

bool ReselectWithMacros(PageContext* pContext, POEMCUIPPARAM pParam, PCWSTR pszFeature, LONG lSel) {
    CZQCommon::DWSelectOptionByIndex(pParam, pszFeature, static_cast<int>(lSel), OEMCUIP_DOCPROP);
    WCHAR option[256];
    if (!ReadOption(pParam, pszFeature, option) || !pContext || !pContext->pRules) return false;
    pContext->pRules->BRunFeatureMacros(pszFeature, option, pParam);
    return true;
}

void ResolveStaplingConflict(POEMCUIPPARAM pParam, BYTE bPubId, bool bPostScript) {
    const PCWSTR feature = StaplingFeature(bPostScript);
    POPTITEM item = PubItem(pParam, bPubId);
    POPTITEM stapling = FeatureItem(pParam, feature);
    if (item && stapling && (OptionFlags(item, item->Sel) & OPTPF_OVERLAY_WARNING_ICON) &&
        (OptionFlags(stapling, stapling->Sel) & OPTPF_OVERLAY_WARNING_ICON))
        CZQCommon::DWSelectOptionByIndex(pParam, feature, 0, OEMCUIP_DOCPROP);
}

void SettleBorderlessLayout(CZQUILogic& logic, POEMCUIPPARAM pParam, BOOL bKeepLayout, BOOL bBanner) {
    ZQUIDevmode& work = *logic.WorkDM();
    if (!bKeepLayout) {
        work.dwBooklet = 0;
        work.wDuplex = 1;
        work.dwPagesPerSheet = 1;
    }
    work.dwPrintDocOn = 0;
    work.dwScaleToFit = 0;
    work.dwScalePercent = 100;
    CZQCommon::DWSelectPubOption(pParam, DMPUB_DUPLEX, 0, 0);
    logic.VUpdateDuplexState();
    if (bBanner) logic.ISetPageOrderItems(TRUE);
}

void RunQualityMacros(PageContext* pContext, POEMCUIPPARAM pParam, bool bGroup) {
    if (!pContext || !pContext->pRules) return;
    WCHAR option[256];
    if (bGroup && ReadOption(pParam, zqkw::kPrintQualityGroup, option))
        pContext->pRules->BRunFeatureMacros(zqkw::kPrintQualityGroup, option, pParam);
    if (ReadOption(pParam, zqkw::kPrintQuality, option) && ZQEqualNoCase(option, L"4800x1200"))
        pContext->pRules->BRunMacro(L"macro_pop_up_4800_1200_warning", nullptr, pParam);
}

void CheckColorSpaceForQuality(POEMCUIPPARAM pParam) {
    WCHAR space[256], quality[256];
    if (!ReadOption(pParam, zqkw::kZQInputColorSpace, space) ||
        (lstrcmpW(space, L"MANAGEDBYAPPLN") != 0 && lstrcmpW(space, L"ICM") != 0))
        return;
    if (ReadOption(pParam, zqkw::kPrintQuality, quality) && !ZQEqualNoCase(quality, L"4800x1200") &&
        !ZQEqualNoCase(quality, L"Best"))
        CZQCommon::DWSelectOptionByIndex(pParam, zqkw::kZQInputColorSpace, 0, OEMCUIP_DOCPROP);
}

bool BlackOnlyGrayscale(const PageContext* pContext, POEMCUIPPARAM pParam) {
    WCHAR grey[256];
    return ReadOption(pParam, PostScript(pContext) ? zqkw::kJCLZQPrintInGrayScale : zqkw::kZQPrintInGrayScale, grey) &&
           lstrcmpW(grey, L"BlackOnly") == 0;
}

namespace {

// Millimetres as whole numbers; a value exactly halfway rounds down.
int WholeMillimetres(LONG lTenths) {
    const float value = static_cast<float>(lTenths) / 10.0f;
    const float up = std::ceil(value);
    return static_cast<int>(up - value < 0.5f ? up : std::floor(value));
}

}  // namespace

bool FormatPaperSides(CZQUIBase& texts, LONG lFirst, LONG lSecond, bool bInches, PWSTR pszText, size_t cchText) {
    if (!pszText || !cchText) return false;
    WCHAR unit[CZQCommon::kResStringChars];
    if (!texts.BLoadResString(bInches ? 3333 : 3334, unit))
        ZQCopyText(unit, CZQCommon::kResStringChars, bInches ? L"inches" : L"mm");
    WCHAR numbers[CZQCommon::kResStringChars] = {};
    if (bInches) {
        CZQLocalPtr<WCHAR> a, b;
        if (!CZQUIBase::BFormatNumber(static_cast<float>(lFirst) / 254.0f, a.Put()) ||
            !CZQUIBase::BFormatNumber(static_cast<float>(lSecond) / 254.0f, b.Put())) {
            ZQFormatText(pszText, cchText, L" %ls", unit);
            return false;
        }
        ZQFormatText(numbers, CZQCommon::kResStringChars, L"%ls \u00D7 %ls", a.Get(), b.Get());
    } else {
        ZQFormatText(numbers, CZQCommon::kResStringChars, L"%d \u00D7 %d", WholeMillimetres(lFirst),
                     WholeMillimetres(lSecond));
    }
    ZQFormatText(pszText, cchText, L"%ls %ls", numbers, unit);
    return true;
}

bool BorderlessTwinFromRules(PageContext* pContext, PCWSTR pszPaper, PWSTR pszTwin) {
    if (!pszTwin || !pszPaper || !RulesLoaded(pContext)) return false;
    IXMLDOMNodeList* entries = pContext->pRules->Parser().BorderlessList();
    if (!entries || FAILED(entries->reset())) return false;
    CZQComPtr<IXMLDOMNode> first;
    if (entries->nextNode(first.Put()) != S_OK || !first) return false;
    WCHAR twin[CZQXmlParserCommon::kCchPaper] = {};
    FLOAT left = 0, right = 0, top = 0, bottom = 0;
    if (!CZQXmlParserCommon::BGetBorderlessSettings(first.Get(), pszPaper, twin, &left, &right, &top, &bottom))
        return false;
    return ZQCopyText(pszTwin, 256, twin) == S_OK;
}

}  // namespace zqpage
