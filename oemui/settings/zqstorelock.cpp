#include "settings/zqstorelock.h"

#include "common/zqcommon.h"
#include "common/zqtrace.h"

namespace {

constexpr WCHAR kPrefix[] = L"Local\\ZQPrinterStores.";
// What a kernel object's name may hold.
constexpr size_t kMaxNameChars = MAX_PATH - 1;
// '#' and a 64-bit hash in hexadecimal.
constexpr size_t kHashChars = 17;

void AppendHex(std::wstring& text, unsigned long long value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text += L"0123456789ABCDEF"[(value >> shift) & 0xF];
}

}  // namespace

CZQStoreLock::CZQStoreLock(HANDLE hPrinter, PCWSTR pszPrinterName, DWORD dwWaitMs)
    : CZQNamedLock(MutexName(PrinterNameOf(hPrinter, pszPrinterName).c_str()).c_str(), dwWaitMs) {
    if (!Held()) zqtrace::Line(L"CZQStoreLock: another program holds the printer's stores\n");
}

std::wstring CZQStoreLock::PrinterNameOf(HANDLE hPrinter, PCWSTR pszPrinterName) {
    CZQLocalPtr<WCHAR> name;
    if (hPrinter && CZQCommon::BGetPrinterName(hPrinter, name.Put()) && name.Get()[0]) return name.Get();
    return pszPrinterName ? pszPrinterName : L"";
}

std::wstring CZQStoreLock::MutexName(PCWSTR pszPrinterName) {
    std::wstring upper = pszPrinterName ? pszPrinterName : L"";
    if (!upper.empty()) CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
    std::wstring name = kPrefix;
    for (const WCHAR c : upper) {
        if (c == L'\\' || c == L'%') {
            name += L'%';
            AppendHex(name, c, 2);
        } else {
            name += c;
        }
    }
    if (name.size() <= kMaxNameChars) return name;
    // FNV-1a over the whole name in capitals: two long names that share their start stay apart.
    unsigned long long hash = 14695981039346656037ULL;
    for (const WCHAR c : upper) {
        hash ^= static_cast<unsigned long long>(c);
        hash *= 1099511628211ULL;
    }
    name.resize(kMaxNameChars - kHashChars);
    name += L'#';
    AppendHex(name, hash, 16);
    return name;
}
