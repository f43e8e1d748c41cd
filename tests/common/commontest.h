// Helpers shared by the CZQCommon tests.
#pragma once

#include <windows.h>

#include <string>

#include "common/zqlanguage.h"
#include "zqmemprinter.h"
#include "testsupport.h"

namespace zqtest {

// An in-memory printer whose driver lives beside the test executable (where zqcoremod.dll is).
inline zqspool::MemPrinterIdentity ExeDirPrinter() {
    zqspool::MemPrinterIdentity id;
    id.driverDirectory = ExeDir();
    return id;
}

// Sets the UI language (Which 0) or the user's locale language (Which 1) for the life of the object.
template <int Which>
class CLanguageSetting {
public:
    explicit CLanguageSetting(LANGID lang) {
        Slot() = lang;
        Set([]() -> LANGID { return Slot(); });
    }
    ~CLanguageSetting() { Set(nullptr); }
    CLanguageSetting(const CLanguageSetting&) = delete;
    CLanguageSetting& operator=(const CLanguageSetting&) = delete;

private:
    static LANGID& Slot() {
        static LANGID lang = 0x0409;
        return lang;
    }
    static void Set(zqlang::PFN_UiLanguage pfn) {
        if (Which == 0)
            zqlang::SetUiLanguageSource(pfn);
        else
            zqlang::SetUserLanguageSource(pfn);
    }
};
using CUiLanguage = CLanguageSetting<0>;
using CUserLanguage = CLanguageSetting<1>;

// Deletes a registry tree when created and again when destroyed.
class CScratchKey {
public:
    CScratchKey(HKEY root, const wchar_t* path) : m_root(root), m_path(path) { RegDeleteTreeW(m_root, m_path.c_str()); }
    ~CScratchKey() { RegDeleteTreeW(m_root, m_path.c_str()); }
    CScratchKey(const CScratchKey&) = delete;
    CScratchKey& operator=(const CScratchKey&) = delete;
    void SetString(const wchar_t* value, const wchar_t* text) const {
        RegSetKeyValueW(m_root, m_path.c_str(), value, REG_SZ, text,
                        static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    }
    bool Exists() const {
        HKEY h = nullptr;
        if (RegOpenKeyExW(m_root, m_path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
        RegCloseKey(h);
        return true;
    }

private:
    HKEY m_root;
    std::wstring m_path;
};

}  // namespace zqtest
