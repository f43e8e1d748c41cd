#include "settings/zqstorelock.h"

#include "common/zqcommon.h"
#include "common/zqtrace.h"
#include "common/zqwait.h"

namespace {

constexpr WCHAR kGlobalPrefix[] = L"Global\\ZQPrinterStores.";
constexpr WCHAR kLocalPrefix[] = L"Local\\ZQPrinterStores.";
// What a kernel object's name may hold.
constexpr size_t kMaxNameChars = MAX_PATH - 1;
// '#' and a 64-bit hash in hexadecimal.
constexpr size_t kHashChars = 17;
// What a holder of the lock needs of the mutex: to wait for it and to let it go.
constexpr DWORD kMutexUse = SYNCHRONIZE | MUTEX_MODIFY_STATE;

DWORD g_dwDefaultWait = CZQStoreLock::kWaitMs;

void AppendHex(std::wstring& text, unsigned long long value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) text += L"0123456789ABCDEF"[(value >> shift) & 0xF];
}

// A security descriptor that lets every authenticated user (each logged-on user and the service
// accounts, whoever may print) wait for the mutex and let it go; its owner keeps the rest.
class CZQSharedMutexAccess {
public:
    CZQSharedMutexAccess() {
        DWORD cbSid = sizeof m_sid;
        m_bValid = CreateWellKnownSid(WinAuthenticatedUserSid, nullptr, m_sid, &cbSid) &&
                   InitializeAcl(reinterpret_cast<ACL*>(m_acl), sizeof m_acl, ACL_REVISION) &&
                   AddAccessAllowedAce(reinterpret_cast<ACL*>(m_acl), ACL_REVISION, kMutexUse, m_sid) &&
                   InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                   SetSecurityDescriptorDacl(&m_descriptor, TRUE, reinterpret_cast<ACL*>(m_acl), FALSE);
        m_attributes = {sizeof m_attributes, &m_descriptor, FALSE};
    }
    CZQSharedMutexAccess(const CZQSharedMutexAccess&) = delete;
    CZQSharedMutexAccess& operator=(const CZQSharedMutexAccess&) = delete;
    SECURITY_ATTRIBUTES* Attributes() { return m_bValid ? &m_attributes : nullptr; }

private:
    BYTE m_sid[SECURITY_MAX_SID_SIZE] = {};
    // Room for the list's head and its one entry.
    alignas(DWORD) BYTE m_acl[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE] = {};
    SECURITY_DESCRIPTOR m_descriptor = {};
    SECURITY_ATTRIBUTES m_attributes = {};
    bool m_bValid = false;
};

}  // namespace

CZQStoreLock::CZQStoreLock(HANDLE hPrinter, PCWSTR pszPrinterName, DWORD dwWaitMs) {
    const std::wstring printer = PrinterNameOf(hPrinter, pszPrinterName);
    m_global.Reset(HOpenMutex(printer, true));
    if (!m_global) zqtrace::Line(L"CZQStoreLock: no mutex in the global namespace; the session's locks alone\n");
    m_session.Reset(HOpenMutex(printer, false));
    // One wait for both: the global mutex first, as every holder of both takes them.
    const DWORD wait = dwWaitMs == kDefaultWait ? g_dwDefaultWait : dwWaitMs;
    const ULONGLONG start = GetTickCount64();
    const bool bGlobal = m_global && BTake(m_global.Get(), wait);
    const ULONGLONG spent = GetTickCount64() - start;
    const DWORD left = spent < wait ? static_cast<DWORD>(wait - spent) : 0;
    const bool bSession = (bGlobal || !m_global) && m_session && BTake(m_session.Get(), left);
    // Either mutex alone locks where the other could not be made at all.
    m_bHeld = (m_global || m_session) && (bGlobal || !m_global) && (bSession || !m_session);
    if (m_bHeld) return;
    if (bSession) ReleaseMutex(m_session.Get());
    if (bGlobal) ReleaseMutex(m_global.Get());
    zqtrace::Line(L"CZQStoreLock: another program holds the printer's stores\n");
}

CZQStoreLock::~CZQStoreLock() {
    if (!m_bHeld) return;
    if (m_session) ReleaseMutex(m_session.Get());
    if (m_global) ReleaseMutex(m_global.Get());
}

void CZQStoreLock::VSetDefaultWait(DWORD dwWaitMs) { g_dwDefaultWait = dwWaitMs; }

bool CZQStoreLock::BTake(HANDLE hMutex, DWORD dwWaitMs) {
    const DWORD wait = ZQWaitAnsweringPaint(hMutex, dwWaitMs);
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED_0;
}

HANDLE CZQStoreLock::HOpenMutex(const std::wstring& printerName, bool bGlobal) {
    // Made with the shared access, or opened as another user made it.
    CZQSharedMutexAccess access;
    return CreateMutexExW(bGlobal ? access.Attributes() : nullptr, MutexName(printerName.c_str(), bGlobal).c_str(), 0,
                          kMutexUse);
}

std::wstring CZQStoreLock::PrinterNameOf(HANDLE hPrinter, PCWSTR pszPrinterName) {
    CZQLocalPtr<WCHAR> name;
    if (hPrinter && CZQCommon::BGetPrinterName(hPrinter, name.Put()) && name.Get()[0]) return name.Get();
    return pszPrinterName ? pszPrinterName : L"";
}

std::wstring CZQStoreLock::MutexName(PCWSTR pszPrinterName, bool bGlobal) {
    std::wstring upper = pszPrinterName ? pszPrinterName : L"";
    if (!upper.empty()) CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
    std::wstring name = bGlobal ? kGlobalPrefix : kLocalPrefix;
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
