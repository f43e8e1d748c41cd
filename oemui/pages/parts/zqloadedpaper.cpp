#include "pages/parts/zqloadedpaper.h"

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

constexpr size_t kChars = CZQCommon::kResStringChars;

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

}  // namespace

bool CZQLoadedPaper::BTokenIs(PCWSTR pszToken, PCWSTR pszWord) { return pszToken && ZQEqualNoCase(pszToken, pszWord); }

int CZQLoadedPaper::IRollCount(PCWSTR pszInstalledRolls) {
    return BTokenIs(pszInstalledRolls, zqkw::kRoll1) ? 1 : BTokenIs(pszInstalledRolls, L"2Rolls") ? 2 : 3;
}

BOOL CZQLoadedPaper::BAnyTextIs(PCWSTR pszText, const int* piIds, int cIds, PCWSTR pszEnglish) {
    if (!pszText) return FALSE;
    for (int i = 0; i < cIds; ++i) {
        WCHAR word[kChars];
        if (!m_texts.BLoadResString(piIds[i], word)) ZQCopyText(word, kChars, pszEnglish);
        if (ZQEqualNoCase(pszText, word)) return TRUE;
    }
    return FALSE;
}

BOOL CZQLoadedPaper::BIsUnknownText(PCWSTR pszText) {
    static constexpr int kIds[] = {4920, 5089, 5090, 5091};
    return BAnyTextIs(pszText, kIds, 4, L"Unknown");
}

BOOL CZQLoadedPaper::BIsUnloadedText(PCWSTR pszText) {
    static constexpr int kIds[] = {4921, 5092};
    return BAnyTextIs(pszText, kIds, 2, L"Unloaded");
}

BOOL CZQLoadedPaper::BReadAnswer(PCWSTR pszPrefix, PCWSTR pszField, PWSTR pszText) const {
    if (!m_pParam) return FALSE;
    WCHAR name[64];
    ZQFormatText(name, 64, L"%ls%ls", pszPrefix, pszField);
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    if (!CZQUIBase::BReadUserSetting(m_pParam->hPrinter, zqsettings::kAnswerStoreKey, name, data.Put(), &cb) || !data)
        return FALSE;
    ZQCopyTextN(pszText, kChars, reinterpret_cast<PCWSTR>(data.Get()), cb / sizeof(WCHAR));
    return TRUE;
}

void CZQLoadedPaper::VAppendLine(PCWSTR pszPrefix, PCWSTR pszLabel, PWSTR pszLines) {
    WCHAR separator[kChars], comma[kChars], label[kChars * 2];
    if (!m_texts.BLoadResString(3994, separator)) ZQCopyText(separator, kChars, L":");
    if (!m_texts.BLoadResString(4984, comma)) ZQCopyText(comma, kChars, L",");
    ZQFormatText(label, _countof(label), L"%ls%ls", pszLabel, separator);
    auto append = [pszLines](PCWSTR pszLead, PCWSTR pszValue) {
        ZQAppendText(pszLines, kLinesChars, pszLead);
        ZQAppendText(pszLines, kLinesChars, L" ");
        ZQAppendText(pszLines, kLinesChars, pszValue);
    };
    bool nameUnknown = false, nameUnloaded = false, typeShown = false, widthUnknown = false, widthUnloaded = false;
    WCHAR value[kChars];
    // An answer the printer never gave leaves its part of the line out; a source it told nothing
    // about keeps an empty line of its own.
    if (BReadAnswer(pszPrefix, zqsettings::kRollFieldName, value)) {
        nameUnknown = BIsUnknownText(value) != FALSE;
        nameUnloaded = !nameUnknown && BIsUnloadedText(value);
        if (!nameUnknown && !nameUnloaded) append(label, value);
    }
    if ((nameUnknown || nameUnloaded) && BReadAnswer(pszPrefix, zqsettings::kRollFieldType, value) &&
        !BIsUnknownText(value) && !BIsUnloadedText(value)) {
        append(label, value);
        typeShown = true;
    }
    if (BReadAnswer(pszPrefix, zqsettings::kRollFieldWidth, value)) {
        PCWSTR lead = (nameUnknown || nameUnloaded) && !typeShown ? label : comma;
        WCHAR custom[kChars];
        if (!m_texts.BLoadResString(5088, custom)) ZQCopyText(custom, kChars, L"Custom");
        const bool isCustom = ZQEqualNoCase(value, custom);
        if (!isCustom || BReadAnswer(pszPrefix, zqsettings::kRollFieldCustomWidth, value)) {
            widthUnknown = BIsUnknownText(value) != FALSE;
            widthUnloaded = !widthUnknown && BIsUnloadedText(value);
            if (!widthUnknown && !widthUnloaded) {
                append(lead, value);
                if (isCustom) {
                    WCHAR unit[kChars];
                    if (!m_texts.BLoadResString(3333, unit)) ZQCopyText(unit, kChars, L"inches");
                    append(L"", unit);
                }
            }
        }
    }
    WCHAR word[kChars];
    if (widthUnknown && nameUnknown && !typeShown) {
        if (!m_texts.BLoadResString(5090, word)) ZQCopyText(word, kChars, L"Unknown");
        append(label, word);
    }
    if (widthUnloaded && nameUnloaded && !typeShown) {
        if (!m_texts.BLoadResString(5092, word)) ZQCopyText(word, kChars, L"Unloaded");
        append(label, word);
    }
    ZQAppendText(pszLines, kLinesChars, L"\n");
}

BOOL CZQLoadedPaper::BSourceLines(PWSTR pszLines) {
    WCHAR option[256];
    PWSTR* tokens = nullptr;
    int count = 0;
    if (!ReadOption(m_pParam, zqkw::kInstalledRolls, option) ||
        CZQUILogic::ISplitAtUnderscore(m_pParam, option, &tokens, &count) != ZQOPT_OK || !tokens)
        return FALSE;
    for (int i = 0; i < count; ++i) {
        if (!tokens[i]) continue;
        // A source without a label of its own is named by its token.
        WCHAR label[kChars];
        ZQCopyText(label, kChars, tokens[i]);
        for (const SourceLabel& known : kSourceLabels)
            if (ZQEqualNoCase(tokens[i], known.token) && !m_texts.BLoadResString(known.id, label))
                ZQCopyText(label, kChars, known.text);
        VAppendLine(tokens[i], label, pszLines);
    }
    CZQCommon::VFreeStringList(tokens, count);
    return TRUE;
}

BOOL CZQLoadedPaper::BRollLines(PWSTR pszLines) {
    WCHAR option[256] = {};
    if (!ReadOption(m_pParam, zqkw::kInstalledRolls, option)) return FALSE;
    const int last = IRollCount(option);
    for (int n = 1; n <= last; ++n) {
        WCHAR prefix[16], label[kChars];
        ZQFormatText(prefix, 16, L"Roll%d", n);
        if (n > 2) ZQFormatText(label, kChars, L"Roll %d", n);
        else if (!m_texts.BLoadResString(n == 1 ? 4912 : 4913, label)) ZQFormatText(label, kChars, L"Roll %d", n);
        VAppendLine(prefix, label, pszLines);
    }
    return TRUE;
}

BOOL CZQLoadedPaper::BShowTitle(BOOL bLargeFormat, HWND hTitle, HWND hLines) {
    if (!bLargeFormat) return FALSE;
    Show(hLines);
    Show(hTitle);
    if (!hTitle) return TRUE;
    CZQWindowDC dc(hTitle);
    if (!dc.Get()) return TRUE;
    CZQGdiObject handle(NewMenuFont(dc.Get(), FW_BOLD));
    if (!handle) return TRUE;
    WCHAR text[kChars];
    if (!m_texts.BLoadResString(4982, text)) ZQCopyText(text, kChars, L"Currently loaded paper:");
    RECT rc;
    GetClientRect(hTitle, &rc);
    CZQSelectObject select(dc.Get(), handle.Get());
    const int mode = SetBkMode(dc.Get(), TRANSPARENT);
    TextOutW(dc.Get(), rc.left, rc.top, text, static_cast<int>(ZQTextLength(text, kChars)));
    SetBkMode(dc.Get(), mode);
    return TRUE;
}

bool CZQLoadedPaper::BRollEmpty(int iRoll) const {
    WCHAR prefix[16], width[kChars];
    ZQFormatText(prefix, 16, L"Roll%d", iRoll);
    return BReadAnswer(prefix, zqsettings::kRollFieldWidth, width) &&
           (BTokenIs(width, L"Unknown") || BTokenIs(width, L"Unloaded"));
}

int CZQLoadedPaper::ISourceOption(bool bPostScript, PWSTR pszOption) const {
    const POPTITEM source = PubItem(m_pParam, DMPUB_DEFSOURCE);
    if (!source) return -1;
    if (source->Sel == 0) return 0;
    return ReadOption(m_pParam, bPostScript ? zqkw::kInputSlot : zqkw::kInputBin, pszOption) ? 1 : -1;
}

bool CZQLoadedPaper::BSentAsBitmap() const {
    const ZQUIDevmode* core = CoreOf(m_pParam);
    return OptionIs(m_pParam, zqkw::kZQSendJobAsBitmap, zqkw::kSleekMode24bpp) == 1 && core && core->dwLayoutMode != 3;
}
