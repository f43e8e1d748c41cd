// The large-format printer's loaded paper on the page: the lines of the rolls or sources, the roll
// boxes the printer's answers allow, the custom-size limits of the selected source and the media
// types loaded on a roll.
#include <string>
#include <vector>

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "pages/parts/zqloadedpaper.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"
#include "res/zqpaperqualityids.h"

using namespace zqpage;

BOOL CZQPaperQualityTab::BIsUnknownText(PCWSTR pszText) { return CZQLoadedPaper(*this, CUIParam()).BIsUnknownText(pszText); }

BOOL CZQPaperQualityTab::BIsUnloadedText(PCWSTR pszText) {
    return CZQLoadedPaper(*this, CUIParam()).BIsUnloadedText(pszText);
}

void CZQPaperQualityTab::VShowLoadedPaperBySource(PageContext* pContext) {
    CZQLoadedPaper loaded(*this, CUIParam());
    if (!pContext || !pContext->pLogic ||
        !loaded.BShowTitle(pContext->pLogic->BIsLargeFormat(), m_controls.H(kCtlLoadedInfo), m_controls.H(kCtlRollInfo)))
        return;
    // Without "InstalledRolls" the text stays as it is.
    WCHAR lines[CZQLoadedPaper::kLinesChars] = {};
    if (loaded.BSourceLines(lines)) SetWindowTextW(m_controls.H(kCtlRollInfo), lines);
    VUpdateAutorotateForSource(pContext);
}

void CZQPaperQualityTab::VUpdateAutorotateForSource(PageContext* pContext) {
    const CZQLoadedPaper loaded(*this, CUIParam());
    bool allowed = !loaded.BSentAsBitmap();
    WCHAR source[256];
    if (allowed && loaded.ISourceOption(PostScript(pContext), source) == 1 &&
        CZQLoadedPaper::BTokenIs(source, zqkw::kSheet)) {
        allowed = false;
        EnableWindow(m_controls.H(kCtlDisableAutoCutter), FALSE);
        EnableWindow(m_controls.H(kCtlSaveRollPaper), FALSE);
    }
    if (!allowed) EnableWindow(m_controls.H(kCtlAutorotate), FALSE);
}

void CZQPaperQualityTab::VShowLoadedRolls(PageContext* pContext) {
    CZQLoadedPaper loaded(*this, CUIParam());
    if (!pContext || !pContext->pLogic ||
        !loaded.BShowTitle(pContext->pLogic->BIsLargeFormat(), m_controls.H(kCtlLoadedInfo), m_controls.H(kCtlRollInfo)))
        return;
    const POEMCUIPPARAM param = CUIParam();
    WCHAR lines[CZQLoadedPaper::kLinesChars] = {};
    if (loaded.BRollLines(lines)) SetWindowTextW(m_controls.H(kCtlRollInfo), lines);

    // A roll counts as empty when the printer reports its width as unknown or unloaded.
    const bool empty[2] = {loaded.BRollEmpty(1), loaded.BRollEmpty(2)};
    const HWND autorotate = m_controls.H(kCtlAutorotate);
    if (!(empty[0] && empty[1]) && !loaded.BSentAsBitmap()) {
        WCHAR source[256];
        const int read = loaded.ISourceOption(PostScript(pContext), source);
        if (read == 0) {
            EnableWindow(autorotate, TRUE);
        } else if (read == 1) {
            if (CZQLoadedPaper::BTokenIs(source, zqkw::kSheet)) {
                EnableWindow(autorotate, FALSE);
                EnableWindow(m_controls.H(kCtlDisableAutoCutter), FALSE);
                EnableWindow(m_controls.H(kCtlSaveRollPaper), FALSE);
            } else {
                const bool emptyRoll = (CZQLoadedPaper::BTokenIs(source, zqkw::kRoll1) && empty[0]) ||
                                       (CZQLoadedPaper::BTokenIs(source, zqkw::kRoll2) && empty[1]);
                EnableWindow(autorotate, !emptyRoll);
            }
        }
    } else {
        EnableWindow(autorotate, FALSE);
    }
    WCHAR option[256] = {};
    ReadOption(param, zqkw::kInstalledRolls, option);
    if (CZQLoadedPaper::BTokenIs(option, zqkw::kRoll1) && empty[0]) EnableWindow(autorotate, FALSE);
    WCHAR slot[256];
    if (ReadOption(param, zqkw::kInputSlot, slot) && !CZQLoadedPaper::BTokenIs(slot, zqkw::kSheet)) {
        EnableWindow(m_controls.H(kCtlSaveRollPaper), TRUE);
        EnableWindow(m_controls.H(kCtlDisableAutoCutter), TRUE);
    }
}

// ---------------------------------------------------------------------------------------------
// Custom paper-size limits
// ---------------------------------------------------------------------------------------------
BOOL CZQPaperQualityTab::BReadLoadedRollSize(PageContext* pContext) {
    const POEMCUIPPARAM param = CUIParam();
    ZQUIDevmode* core = CoreOf(param);
    ZQUIDevmode* work = WorkOf(pContext);
    WCHAR source[256];
    if (!pContext || !pContext->pLogic || !core ||
        !ReadOption(param, PostScript(pContext) ? zqkw::kInputSlot : zqkw::kInputBin, source) ||
        wcsstr(source, zqkw::kSheet))
        return FALSE;
    // The roll's width arrives in whole inches. Without an answer the field would still hold the
    // last limit in tenths of a millimetre: those limits stay as they are.
    const uint32_t previous = core->dwCustomMaxWidth;
    core->dwCustomMaxWidth = 0;
    pContext->pLogic->VUpdateRollPreview(pContext->pPreview, pContext->pRules);
    if (core->dwCustomMaxWidth == 0) {
        core->dwCustomMaxWidth = previous;
        return FALSE;
    }
    core->dwCustomMaxWidth *= 254;
    core->dwCustomMaxLength = 899922;
    if (work) {
        work->dwCustomMaxWidth = core->dwCustomMaxWidth;
        work->dwCustomMaxLength = core->dwCustomMaxLength;
        work->dwCustomMinWidth = work->dwCustomMinLength = 2100;
    }
    return TRUE;
}

BOOL CZQPaperQualityTab::BSetCustomSizeLimits(PageContext* pContext) {
    const POEMCUIPPARAM param = CUIParam();
    ZQUIDevmode* core = CoreOf(param);
    ZQUIDevmode* work = WorkOf(pContext);
    if (!pContext || !pContext->pLogic || !core) return TRUE;
    CZQUILogic& logic = *pContext->pLogic;
    WCHAR source[256];
    const bool read = ReadOption(param, PostScript(pContext) ? zqkw::kInputSlot : zqkw::kInputBin, source);
    auto copyToWork = [&] {
        if (!work) return;
        work->dwCustomMaxWidth = core->dwCustomMaxWidth;
        work->dwCustomMaxLength = core->dwCustomMaxLength;
        work->dwCustomMinWidth = core->dwCustomMinWidth;
        work->dwCustomMinLength = core->dwCustomMinLength;
    };
    if (read && !wcsstr(source, zqkw::kSheet)) {
        BReadLoadedRollSize(pContext);
        return TRUE;
    }
    if (!logic.BIsLargeFormat()) return TRUE;
    // Sheets: the helper file's job-page limits (inches), else 42 x 57 in down to 11 x 11 in.
    CZQLocalPtr<WCHAR> limits[5];
    const bool helper = RulesLoaded(pContext) && CZQUILogic::BReadRollLimits(pContext->pRules, limits);
    auto tenths = [&](int i, uint32_t fallback) {
        PCWSTR text = limits[i].Get();
        if (!helper || !text) return fallback;
        PWSTR end = nullptr;
        const double inches = wcstod(text, &end);
        if (end == text || !(inches >= 0.0) || inches > 1.0e6) return fallback;
        return static_cast<uint32_t>(inches * 254.0);
    };
    core->dwCustomMaxWidth = tenths(1, 10668);
    core->dwCustomMaxLength = tenths(4, 14478);
    core->dwCustomMinWidth = tenths(0, 2794);
    core->dwCustomMinLength = tenths(3, 2794);
    copyToWork();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Media types loaded on a roll
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VMarkLoadedMediaTypes(PageContext* pContext) {
    const POEMCUIPPARAM param = CUIParam();
    if (!param || !param->hOEMHeap || !pContext || !pContext->pLogic || !pContext->pLogic->BIsLargeFormat()) return;
    const POPTITEM media = FeatureItem(param, zqkw::kMediaType);
    if (!media || !media->pOptType) return;
    WCHAR option[256] = {};
    ReadOption(param, zqkw::kInstalledRolls, option);
    const int last = CZQLoadedPaper::IRollCount(option);
    CZQLoadedPaper loaded(*this, param);
    WCHAR mark[kResStringChars];
    if (!BLoadResString(4951, mark)) ZQCopyText(mark, kResStringChars, L"(loaded on printer)");
    // The names as they were before this call: a name marked here is not matched again.
    const LONG count = media->pOptType->Count;
    std::vector<std::wstring> names(static_cast<size_t>(count > 0 ? count : 0));
    for (LONG i = 0; i < count; ++i)
        if (PCWSTR name = OptionName(media, i)) names[static_cast<size_t>(i)] = name;
    std::vector<bool> marked(names.size(), false);
    for (int n = 1; n <= last; ++n) {
        WCHAR prefix[16], type[kResStringChars];
        ZQFormatText(prefix, 16, L"Roll%d", n);
        if (!loaded.BReadAnswer(prefix, zqsettings::kRollFieldType, type) || !*type) continue;
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i].empty() || !ZQEqualNoCase(names[i].c_str(), type)) continue;
            const POPTPARAM entry = CZQCommon::PGetOptionParam(media, static_cast<LONG>(i));
            if (!marked[i] && entry && entry->pData && !IS_INTRESOURCE(entry->pData)) {
                // The core driver owns the new name, as it owned the old one.
                auto* name = static_cast<PWSTR>(HeapAlloc(param->hOEMHeap, HEAP_ZERO_MEMORY, 256 * sizeof(WCHAR)));
                if (name) {
                    ZQFormatText(name, 256, L"%ls %ls", type, mark);
                    entry->pData = name;
                    marked[i] = true;
                }
            }
            break;
        }
    }
}
