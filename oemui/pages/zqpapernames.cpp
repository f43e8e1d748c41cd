#include "pages/zqpapernames.h"

#include <cwchar>

#include "common/zqcommon.h"

BOOL CZQPaperNames::BRead(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode) {
    VFree();
    DWORD count = 0;
    PWSTR names = nullptr;
    if (!CZQCommon::BGetPaperSizeNames(pszPrinter, pszPort, pDevmode, &count, &names)) return FALSE;
    m_names.Reset(names);
    m_dwCount = count;
    return TRUE;
}

void CZQPaperNames::VFree() {
    m_names.Reset(nullptr);
    m_dwCount = 0;
}

PCWSTR CZQPaperNames::Name(DWORD dwIndex) const {
    return m_names.Get() && dwIndex < m_dwCount ? m_names.Get() + dwIndex * kNameChars : L"";
}

int CZQPaperNames::IFind(PCWSTR pszName) const {
    if (!pszName) return -1;
    for (DWORD i = 0; i < m_dwCount; ++i)
        if (wcscmp(Name(i), pszName) == 0) return static_cast<int>(i);
    return -1;
}
