#include "testsupport.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>

#include "zqcmdlogrecord.h"
#include "zqstandinlog.h"

namespace zqtest {

std::wstring ExeDir() {
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    size_t slash = s.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : s.substr(0, slash);
}

std::wstring BesideExe(const wchar_t* name) { return ExeDir() + L"\\" + name; }

std::vector<std::wstring> StandInLog(const wchar_t* key) { return zqstandin::ReadLog(key); }

void ResetStandInLog(const wchar_t* key) { zqstandin::VResetLog(key); }

std::wstring LoggedCommandLine(bool expected) {
    WCHAR line[2048] = {};
    for (int i = 0; i < (expected ? 100 : 5); ++i, Sleep(100)) {
        DWORD cb = sizeof line - sizeof(WCHAR);
        if (RegGetValueW(HKEY_CURRENT_USER, kZQCmdLogKey, L"Last", RRF_RT_REG_SZ, nullptr, line, &cb) == ERROR_SUCCESS &&
            line[0])
            break;
        line[0] = 0;
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQCmdLogKey);
    return line;
}

std::vector<std::wstring> TabTitles(HWND sheet) {
    std::vector<std::wstring> titles;
    HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    const int count = static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        WCHAR text[64] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        titles.push_back(text);
    }
    return titles;
}

CGuardedBytes::CGuardedBytes(const std::vector<BYTE>& bytes) {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    m_page = si.dwPageSize;
    m_base = static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * m_page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(m_base + m_page, m_page, PAGE_NOACCESS, &old);
    m_begin = m_base + m_page - bytes.size();
    if (!bytes.empty()) memcpy(m_begin, bytes.data(), bytes.size());
}

CGuardedBytes::~CGuardedBytes() { VirtualFree(m_base, 0, MEM_RELEASE); }

}  // namespace zqtest
