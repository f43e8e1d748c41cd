// The large-format printer's loaded paper: one line per roll or paper source from the printer's
// answers, and the roll boxes those answers allow.
#include <string>
#include <vector>

#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/paperquality/zqpaperqualityutil.h"
#include "preview/zqpreview.h"
#include "res/zqpaperqualityids.h"
#include "common/zqkeywords.h"
#include "common/zqstorenames.h"

using namespace zqpq;

namespace {

// The lines' text: 255 characters and its end.
constexpr size_t kLinesChars = 256;

// The roll sources and their labels (string id, English text).
struct SourceLabel {
    PCWSTR token;
    int id;
    PCWSTR text;
};
constexpr SourceLabel kSourceLabels[] = {{zqkw::kSheet, 4475, L"Sheet"},
                                         {zqkw::kRoll, 4476, L"Roll"},
                                         {zqkw::kRoll1, 4912, L"Roll 1"},
                                         {zqkw::kRoll2, 4913, L"Roll 2"},
                                         {zqkw::kManualFeed, 724, L"Manual Feed"}};

bool TokenIs(PCWSTR pszToken, PCWSTR pszWord) { return pszToken && ZQEqualNoCase(pszToken, pszWord); }

}  // namespace

BOOL CZQPaperQualityTab::BAnyTextIs(PCWSTR pszText, const int* piIds, int cIds, PCWSTR pszEnglish) {
    if (!pszText) return FALSE;
    for (int i = 0; i < cIds; ++i) {
        WCHAR word[kResStringChars];
        if (!BLoadResString(piIds[i], word)) ZQCopyText(word, kResStringChars, pszEnglish);
        if (ZQEqualNoCase(pszText, word)) return TRUE;
    }
    return FALSE;
}

BOOL CZQPaperQualityTab::BIsUnknownText(PCWSTR pszText) {
    static constexpr int kIds[] = {4920, 5089, 5090, 5091};
    return BAnyTextIs(pszText, kIds, 4, L"Unknown");
}

BOOL CZQPaperQualityTab::BIsUnloadedText(PCWSTR pszText) {
    static constexpr int kIds[] = {4921, 5092};
    return BAnyTextIs(pszText, kIds, 2, L"Unloaded");
}

BOOL CZQPaperQualityTab::BReadLoadedAnswer(PageContext* pContext, PCWSTR pszPrefix, PCWSTR pszField, PWSTR pszText) {
    const POEMCUIPPARAM param = CUIParam();
    if (!param || !pContext) return FALSE;
    WCHAR name[64];
    ZQFormatText(name, 64, L"%ls%ls", pszPrefix, pszField);
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    if (!BReadUserSetting(param->hPrinter, zqsettings::kAnswerStoreKey, name, data.Put(), &cb) || !data) return FALSE;
    ZQCopyTextN(pszText, kResStringChars, reinterpret_cast<PCWSTR>(data.Get()), cb / sizeof(WCHAR));
    return TRUE;
}

void CZQPaperQualityTab::VAppendLoadedLine(PageContext* pContext, PCWSTR pszPrefix, PCWSTR pszLabel, PWSTR pszLines) {
    WCHAR separator[kResStringChars], comma[kResStringChars], label[kResStringChars * 2];
    if (!BLoadResString(3994, separator)) ZQCopyText(separator, kResStringChars, L":");
    if (!BLoadResString(4984, comma)) ZQCopyText(comma, kResStringChars, L",");
    ZQFormatText(label, _countof(label), L"%ls%ls", pszLabel, separator);
    auto append = [pszLines](PCWSTR pszLead, PCWSTR pszValue) {
        ZQAppendText(pszLines, kLinesChars, pszLead);
        ZQAppendText(pszLines, kLinesChars, L" ");
        ZQAppendText(pszLines, kLinesChars, pszValue);
    };
    bool nameUnknown = false, nameUnloaded = false, typeShown = false, widthUnknown = false, widthUnloaded = false;
    WCHAR value[kResStringChars];
    if (BReadLoadedAnswer(pContext, pszPrefix, zqsettings::kRollFieldName, value)) {
        nameUnknown = BIsUnknownText(value) != FALSE;
        nameUnloaded = !nameUnknown && BIsUnloadedText(value);
        if (!nameUnknown && !nameUnloaded) append(label, value);
    }
    if ((nameUnknown || nameUnloaded) && BReadLoadedAnswer(pContext, pszPrefix, zqsettings::kRollFieldType, value) &&
        !BIsUnknownText(value) && !BIsUnloadedText(value)) {
        append(label, value);
        typeShown = true;
    }
    if (BReadLoadedAnswer(pContext, pszPrefix, zqsettings::kRollFieldWidth, value)) {
        PCWSTR lead = (nameUnknown || nameUnloaded) && !typeShown ? label : comma;
        WCHAR custom[kResStringChars];
        if (!BLoadResString(5088, custom)) ZQCopyText(custom, kResStringChars, L"Custom");
        const bool isCustom = ZQEqualNoCase(value, custom);
        if (!isCustom || BReadLoadedAnswer(pContext, pszPrefix, zqsettings::kRollFieldCustomWidth, value)) {
            widthUnknown = BIsUnknownText(value) != FALSE;
            widthUnloaded = !widthUnknown && BIsUnloadedText(value);
            if (!widthUnknown && !widthUnloaded) {
                append(lead, value);
                if (isCustom) {
                    WCHAR unit[kResStringChars];
                    if (!BLoadResString(3333, unit)) ZQCopyText(unit, kResStringChars, L"inches");
                    append(L"", unit);
                }
            }
        }
    }
    WCHAR word[kResStringChars];
    if (widthUnknown && nameUnknown && !typeShown) {
        if (!BLoadResString(5090, word)) ZQCopyText(word, kResStringChars, L"Unknown");
        append(label, word);
    }
    if (widthUnloaded && nameUnloaded && !typeShown) {
        if (!BLoadResString(5092, word)) ZQCopyText(word, kResStringChars, L"Unloaded");
        append(label, word);
    }
    ZQAppendText(pszLines, kLinesChars, L"\n");
}

bool CZQPaperQualityTab::BBeginLoadedPaper(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !pContext->pLogic->BIsLargeFormat()) return false;
    HWND title = HControl(kCtlLoadedInfo);
    Show(HControl(kCtlRollInfo));
    Show(title);
    if (!title) return true;
    CZQWindowDC dc(title);
    if (!dc.Get()) return true;
    CZQGdiObject handle(NewMenuFont(dc.Get(), FW_BOLD));
    if (!handle) return true;
    WCHAR text[kResStringChars];
    if (!BLoadResString(4982, text)) ZQCopyText(text, kResStringChars, L"Currently loaded paper:");
    RECT rc;
    GetClientRect(title, &rc);
    CZQSelectObject select(dc.Get(), handle.Get());
    const int mode = SetBkMode(dc.Get(), TRANSPARENT);
    TextOutW(dc.Get(), rc.left, rc.top, text, static_cast<int>(ZQTextLength(text, kResStringChars)));
    SetBkMode(dc.Get(), mode);
    return true;
}

void CZQPaperQualityTab::VShowLoadedPaperBySource(PageContext* pContext) {
    if (!BBeginLoadedPaper(pContext)) return;
    WCHAR lines[kLinesChars] = {};
    WCHAR option[256];
    PWSTR* tokens = nullptr;
    int count = 0;
    // Without "InstalledRolls" the text stays as it is.
    if (ReadOption(CUIParam(), zqkw::kInstalledRolls, option) &&
        CZQUILogic::ISplitAtUnderscore(CUIParam(), option, &tokens, &count) == ZQOPT_OK && tokens) {
        for (int i = 0; i < count; ++i) {
            if (!tokens[i]) continue;
            // A source without a label of its own is named by its token.
            WCHAR label[kResStringChars];
            ZQCopyText(label, kResStringChars, tokens[i]);
            for (const SourceLabel& known : kSourceLabels)
                if (ZQEqualNoCase(tokens[i], known.token) && !BLoadResString(known.id, label))
                    ZQCopyText(label, kResStringChars, known.text);
            VAppendLoadedLine(pContext, tokens[i], label, lines);
        }
        VFreeStringList(tokens, count);
        SetWindowTextW(HControl(kCtlRollInfo), lines);
    }
    VUpdateAutorotateForSource(pContext);
}

int CZQPaperQualityTab::ISourceOption(PageContext* pContext, PWSTR pszOption) {
    const POEMCUIPPARAM param = CUIParam();
    const POPTITEM source = PubItem(param, DMPUB_DEFSOURCE);
    if (!source) return -1;
    if (source->Sel == 0) return 0;
    const ZQUIDevmode* work = WorkOf(pContext);
    const bool postScript = work && work->dwPdl == kPdlPostScript;
    return ReadOption(param, postScript ? zqkw::kInputSlot : zqkw::kInputBin, pszOption) ? 1 : -1;
}

bool CZQPaperQualityTab::BSentAsBitmap() const {
    const ZQUIDevmode* core = CoreOf(CUIParam());
    return OptionIs(CUIParam(), zqkw::kZQSendJobAsBitmap, zqkw::kSleekMode24bpp) == 1 && core &&
           core->dwLayoutMode != 3;
}

void CZQPaperQualityTab::VUpdateAutorotateForSource(PageContext* pContext) {
    bool allowed = !BSentAsBitmap();
    WCHAR source[256];
    if (allowed && ISourceOption(pContext, source) == 1 && TokenIs(source, zqkw::kSheet)) {
        allowed = false;
        EnableWindow(HControl(kCtlDisableAutoCutter), FALSE);
        EnableWindow(HControl(kCtlSaveRollPaper), FALSE);
    }
    if (!allowed) EnableWindow(HControl(kCtlAutorotate), FALSE);
}

void CZQPaperQualityTab::VShowLoadedRolls(PageContext* pContext) {
    if (!BBeginLoadedPaper(pContext)) return;
    const POEMCUIPPARAM param = CUIParam();
    WCHAR option[256] = {};
    const bool installed = ReadOption(param, zqkw::kInstalledRolls, option);
    const int last = TokenIs(option, zqkw::kRoll1) ? 1 : TokenIs(option, L"2Rolls") ? 2 : 3;
    WCHAR lines[kLinesChars] = {};
    for (int n = 1; installed && n <= last; ++n) {
        WCHAR prefix[16], label[kResStringChars];
        ZQFormatText(prefix, 16, L"Roll%d", n);
        if (n > 2) ZQFormatText(label, kResStringChars, L"Roll %d", n);
        else if (!BLoadResString(n == 1 ? 4912 : 4913, label)) ZQFormatText(label, kResStringChars, L"Roll %d", n);
        VAppendLoadedLine(pContext, prefix, label, lines);
    }
    if (installed) SetWindowTextW(HControl(kCtlRollInfo), lines);

    // A roll counts as empty when the printer reports its width as unknown or unloaded.
    bool empty[2] = {};
    for (int n = 1; n <= 2; ++n) {
        WCHAR prefix[16], width[kResStringChars];
        ZQFormatText(prefix, 16, L"Roll%d", n);
        empty[n - 1] = BReadLoadedAnswer(pContext, prefix, zqsettings::kRollFieldWidth, width) &&
                       (TokenIs(width, L"Unknown") || TokenIs(width, L"Unloaded"));
    }
    const HWND autorotate = HControl(kCtlAutorotate);
    if (!(empty[0] && empty[1]) && !BSentAsBitmap()) {
        WCHAR source[256];
        const int read = ISourceOption(pContext, source);
        if (read == 0) {
            EnableWindow(autorotate, TRUE);
        } else if (read == 1) {
            if (TokenIs(source, zqkw::kSheet)) {
                EnableWindow(autorotate, FALSE);
                EnableWindow(HControl(kCtlDisableAutoCutter), FALSE);
                EnableWindow(HControl(kCtlSaveRollPaper), FALSE);
            } else {
                const bool emptyRoll =
                    (TokenIs(source, zqkw::kRoll1) && empty[0]) || (TokenIs(source, zqkw::kRoll2) && empty[1]);
                EnableWindow(autorotate, !emptyRoll);
            }
        }
    } else {
        EnableWindow(autorotate, FALSE);
    }
    if (TokenIs(option, zqkw::kRoll1) && empty[0]) EnableWindow(autorotate, FALSE);
    WCHAR slot[256];
    if (ReadOption(param, zqkw::kInputSlot, slot) && !TokenIs(slot, zqkw::kSheet)) {
        EnableWindow(HControl(kCtlSaveRollPaper), TRUE);
        EnableWindow(HControl(kCtlDisableAutoCutter), TRUE);
    }
}

// ---------------------------------------------------------------------------------------------
// Custom paper-size limits
// ---------------------------------------------------------------------------------------------
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
        // The roll's width arrives in whole inches. Without an answer the field would still hold
        // the last limit in tenths of a millimetre: those limits stay as they are.
        const uint32_t previous = core->dwCustomMaxWidth;
        core->dwCustomMaxWidth = 0;
        logic.VUpdateRollPreview(pContext->pPreview, pContext->pRules);
        if (core->dwCustomMaxWidth == 0) {
            core->dwCustomMaxWidth = previous;
            return TRUE;
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
    const int last = TokenIs(option, zqkw::kRoll1) ? 1 : TokenIs(option, L"2Rolls") ? 2 : 3;
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
        if (!BReadLoadedAnswer(pContext, prefix, zqsettings::kRollFieldType, type) || !*type) continue;
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
