#include "pages/parts/zqstoremessage.h"

#include "common/zqmsgbox.h"

namespace zqpage {

namespace {

// The store's words: its name in the busy message, one of its kind, several.
struct KindWords {
    PCWSTR pszStore;
    PCWSTR pszOne;
};
KindWords WordsOf(ZQStoreKind kind) {
    switch (kind) {
        case ZQStoreKind::kTaskPresets: return {L"Task Presets", L"Task Preset"};
        case ZQStoreKind::kShortcuts: return {L"printing shortcuts", L"Printing Shortcut"};
        default: return {L"watermarks", L"watermark"};
    }
}

// "A", "B" as a list in quotes.
std::wstring Quoted(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (const std::wstring& name : names) text += (text.empty() ? L"\"" : L", \"") + name + L"\"";
    return text;
}

// A watermark save names the changes it did not store.
std::wstring NotStored(const ZQStoreReport& r) {
    if (r.kind != ZQStoreKind::kWatermarks || r.names.empty()) return L"";
    return L"\n\nNot stored: your changes to " + Quoted(r.names) + L".";
}

}  // namespace

std::wstring StoreMessage(const ZQStoreReport& r) {
    const KindWords words = WordsOf(r.kind);
    const bool watermarks = r.kind == ZQStoreKind::kWatermarks;
    switch (r.outcome) {
        case ZQStoreOutcome::kStored:
            if (!watermarks || r.names.empty()) return L"";
            return L"The printer did not allow " + Quoted(r.names) +
                   (r.names.size() > 1 ? L" to be deleted: they stay" : L" to be deleted: it stays") +
                   L" in the list. Your other watermark changes were stored.";
        case ZQStoreOutcome::kBusy:
            return std::wstring(L"Another program is changing the printer's ") + words.pszStore +
                   L". Nothing was stored; please try again." + NotStored(r);
        case ZQStoreOutcome::kRefused:
            if (r.bDelete)
                return std::wstring(L"The ") + words.pszOne + L" " + Quoted(r.names) +
                       L" could not be deleted: the printer did not allow it. It is still stored.";
            return std::wstring(L"The ") + (watermarks ? L"watermarks" : words.pszOne) +
                   L" could not be saved. You may not have the rights to change the printer's settings." +
                   NotStored(r);
        default: return L"";
    }
}

BOOL BSayStoreOutcome(HWND hOwner, PCWSTR pszCaption, const ZQStoreReport& report) {
    const std::wstring text = StoreMessage(report);
    if (text.empty()) return FALSE;
    zqmsgbox::IShow(hOwner, text.c_str(), pszCaption, MB_OK | MB_ICONEXCLAMATION);
    return TRUE;
}

}  // namespace zqpage
