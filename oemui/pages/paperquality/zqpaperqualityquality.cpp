// The Paper/Quality page's rules between print quality, paper and printer: the resolution texts,
// the borderless twin of a paper size, greyscale against the media, the optimise-for macro, the
// print-preview box, the boxes a large-format paper entry allows, and the large-format quality mode.
#include "common/zqkeywords.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

// What a large-format paper entry allows.
enum PaperField { kMaxDetail, kCutter, kMorePasses, kGlossEnhancer };

const struct {
    PCWSTR feature;
    ZQPqControl control;  // kCtlCount: no control of its own
} kPaperRows[] = {
    {zqkw::kZQMaximumDetail, kCtlMaxDetails},
    {zqkw::kZQDisableAutoCutter, kCtlDisableAutoCutter},
    {zqkw::kZQMorePasses, kCtlCount},
    {L"ZQLQJGlossEnhancer", kCtlCount},
};

// A box a large-format paper entry allows: its feature follows the entry's profile.
void SetFromPaperEntry(POEMCUIPPARAM pParam, const CZQPaperQualityControls& controls, PageContext* pContext,
                       int iPaper, BOOL bFound, int iProfile, int iField) {
    if (!bFound || !pContext || !pContext->pPapers || !pContext->pLogic) return;
    const PaperList& papers = *pContext->pPapers;
    if (!papers.pEntries || iPaper < 0 || static_cast<DWORD>(iPaper) >= papers.dwCount) return;
    const PaperListEntry& entry = papers.pEntries[iPaper];
    // A profile index outside the entry's profiles is no profile: its boxes stay off.
    const PaperProfile* profile = entry.pProfiles && iProfile >= 0 && static_cast<DWORD>(iProfile) < entry.dwProfileCount
                                      ? &entry.pProfiles[iProfile]
                                      : nullptr;
    DWORD support = 0;
    int value = 0;
    switch (iField) {
        case kMaxDetail:
            support = entry.dwMaxDetailSupport;
            value = profile && profile->dwMaxDetail == 1;
            break;
        case kCutter:
            support = entry.dwCutterSupport;
            value = 1;
            break;
        case kMorePasses:
            support = entry.dwExtraPassesSupport;
            value = profile && profile->dwExtraPasses == 1;
            break;
        default:
            support = entry.dwGlossEnhancerSupport;
            value = profile && profile->dwGlossEnhancer == 1;
            break;
    }
    const PCWSTR feature = kPaperRows[iField].feature;
    const ZQPqControl id = kPaperRows[iField].control;
    HWND control = id == kCtlCount || !controls.Page() ? nullptr : controls.H(id);
    if (!support) value = 0;
    if (control) {
        EnableWindow(control, support != 0);
        SetCheck(control, value != 0);
    }
    if (CZQCommon::DWSelectOptionByIndex(pParam, feature, value, OEMCUIP_DOCPROP) == ZQOPT_OK && control)
        pContext->pLogic->IBindFeatureControl(0, feature, control, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindShow,
                                              TRUE, 0, nullptr);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Resolution texts
// ---------------------------------------------------------------------------------------------
BOOL CZQPaperQualityTab::BShowResolutionTexts(PageContext* pContext) {
    if (!FeatureItem(m_pCUIParam, L"PQDPI")) return FALSE;
    auto load = [this](INT id, PCWSTR english, PWSTR text) {
        if (!BLoadResString(id, text)) ZQCopyText(text, kResStringChars, english);
    };
    WCHAR separator[kResStringChars];
    load(3994, L":", separator);
    const struct {
        INT id;
        PCWSTR english;
        ZQPqControl label;
        ZQPqControl value;
        int slot;  // the rules' string id of the value
    } rows[] = {{3991, L"Black render dpi", kCtlRenderDpi, kCtlRender, 0},
                {3992, L"Color input dpi", kCtlColorInputDpi, kCtlColorInput, 1},
                {3993, L"Color output", kCtlColorOutput, kCtlColorOutputDpi, 2}};
    for (const auto& row : rows) {
        WCHAR label[kResStringChars];
        load(row.id, row.english, label);
        SendMessageW(m_controls.H(row.label), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(label));
        // A string id that names no text adds nothing behind the separator.
        WCHAR value[2 * kResStringChars];
        WCHAR text[kResStringChars] = {};
        ZQCopyText(value, ARRAYSIZE(value), separator);
        if (pContext && pContext->pRules && BLoadResString(static_cast<INT>(pContext->pRules->DWResourceId(row.slot)), text))
            ZQAppendText(value, ARRAYSIZE(value), text);
        SendMessageW(m_controls.H(row.value), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value));
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Borderless twins
// ---------------------------------------------------------------------------------------------
BOOL CZQPaperQualityTab::BGetBorderlessTwinPaper(PageContext* pContext, PWSTR pszTwin) {
    WCHAR paper[256];
    if (!pszTwin || !ReadOption(m_pCUIParam, zqkw::kPaperSize, paper)) return FALSE;
    return BorderlessTwinFromRules(pContext, paper, pszTwin);
}

BOOL CZQPaperQualityTab::BHasBorderlessTwin(PageContext* pContext) {
    WCHAR twin[256] = {};
    const BOOL found = BGetBorderlessTwinPaper(pContext, twin);
    return twin[0] ? found : FALSE;
}

BOOL CZQPaperQualityTab::BSelectBorderlessTwin(PageContext* pContext) {
    const POEMCUIPPARAM param = m_pCUIParam;
    POPTITEM paper = FeatureItem(param, zqkw::kPaperSize);
    WCHAR twin[256] = {};
    if (!paper || !m_controls.Page() || !BGetBorderlessTwinPaper(pContext, twin) || !twin[0]) return FALSE;
    HWND list = m_controls.H(kCtlSize);
    auto isTwin = [&](PCWSTR name) {
        CZQLocalPtr<WCHAR> keyword;
        return name && name[0] && DWOptionNameToKeyword(param, zqkw::kPaperSize, name, keyword.Put()) == ZQOPT_OK &&
               lstrcmpW(keyword.Get(), twin) == 0;
    };
    if (!m_state.bPaperSizePopup) {
        const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            WCHAR text[256];
            if (!EntryText(list, i, text) || !isTwin(text)) continue;
            if (SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0) == CB_ERR) return FALSE;
            VApplyPaperSizeSelection(pContext);
            return TRUE;
        }
        return FALSE;
    }
    // The pop-up's short list takes the twin as a new entry, then is made again around it.
    for (int i = 0; i < IGetOptionCount(paper); ++i) {
        PCWSTR name = OptionName(paper, i);
        if (!isTwin(name)) continue;
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        const LRESULT entry =
            SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
        SendMessageW(list, CB_SETCURSEL, entry >= 0 ? static_cast<WPARAM>(entry) : 0, 0);
        VApplyPaperSizeSelection(pContext);
        VFillPaperSizePopupList(list, pContext);
        return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Greyscale, optimise-for and the print preview
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VAdjustGrayscaleForMedia(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    const ZQUIDevmode* core = CoreOf(m_pCUIParam);
    if (!work || !work->dwPrintAsGray) return;
    const PCWSTR feature =
        core && core->dwPdl == kPdlPostScript ? zqkw::kJCLZQPrintInGrayScale : zqkw::kZQPrintInGrayScale;
    // Black ink alone does not suit other media than plain paper.
    if (OptionIs(m_pCUIParam, feature, L"BlackOnly") == 1) pContext->pLogic->VSelectHighQuality(feature);
}

void CZQPaperQualityTab::VRunOptimizeForMacro(PageContext* pContext) {
    WCHAR option[256];
    if (!RulesLoaded(pContext) || !pContext->pLogic || !ReadOption(m_pCUIParam, zqkw::kZQOptimizeFor, option) ||
        !option[0])
        return;
    pContext->pRules->BRunMacro(L"macro_ZQOptimizeFor", option, pContext->pLogic->Param());
}

void CZQPaperQualityTab::VUpdatePrintPreviewBox(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !m_pCUIParam) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    const bool web = WebPreviewAllowed(param);

    HWND box = m_controls.H(kCtlShowPreview);
    if (!Readable(param, zqkw::kZQPrintPreview)) {
        Hide(box);
        return;
    }
    const ZQUIDevmode* core = CoreOf(param);
    const ZQUIDevmode* work = WorkOf(pContext);
    const bool full = core && core->dwLayoutMode == 3 &&
                      ((work && work->dwPdl == kPdlPcl3) || pContext->pLogic->BIsLargeFormat());
    if ((web || full) && BIsLocalPrinter(param->hPrinter)) {
        ShowEnabled(box);
        return;
    }
    DWSelectOptionByIndex(param, zqkw::kZQPrintPreview, 0, OEMCUIP_DOCPROP);
    Hide(box);
}

// ---------------------------------------------------------------------------------------------
// Boxes of a large-format paper entry
// ---------------------------------------------------------------------------------------------

void CZQPaperQualityTab::VSetMaximumDetailFromPaper(PageContext* pContext, int iPaper, BOOL bFound, int iProfile) {
    SetFromPaperEntry(m_pCUIParam, m_controls, pContext, iPaper, bFound, iProfile, kMaxDetail);
}

void CZQPaperQualityTab::VSetAutoCutterFromPaper(PageContext* pContext, int iPaper, BOOL bFound) {
    SetFromPaperEntry(m_pCUIParam, m_controls, pContext, iPaper, bFound, -1, kCutter);
}

void CZQPaperQualityTab::VSetMorePassesFromPaper(PageContext* pContext, int iPaper, BOOL bFound, int iProfile) {
    SetFromPaperEntry(m_pCUIParam, m_controls, pContext, iPaper, bFound, iProfile, kMorePasses);
}

void CZQPaperQualityTab::VSetGlossEnhancerFromPaper(PageContext* pContext, int iPaper, BOOL bFound, int iProfile) {
    SetFromPaperEntry(m_pCUIParam, m_controls, pContext, iPaper, bFound, iProfile, kGlossEnhancer);
}

BOOL CZQPaperQualityTab::BHasLqjQualitySettings(PageContext* pContext) {
    const POEMCUIPPARAM param = pContext && pContext->pLogic ? pContext->pLogic->Param() : nullptr;
    if (!param) return FALSE;
    if (FeatureItem(param, L"ZQLQJPQSettings")) return TRUE;
    WCHAR option[256];
    return ReadOption(param, L"ZQLQJPQSettings", option) && option[0];
}
