#include "jobstoragetest.h"

#include <utility>

#include "testsupport.h"

void JobStoragePage::SetUp() {
    PageFixture::SetUp();
    SetUser(L"jsmith");
    m_core.dwJobStorageAvailable = 1;
    m_core.dwJsSetSelector = 1;
    for (uint32_t& offered : m_core.adwJsSetA) offered = 1;
    m_core.dwNameExistsAvailable = 1;
    m_core.dwNameExistsSwfw = 1;
    // As after a first Apply: the automatic names are the stored ones.
    lstrcpyW(reinterpret_cast<wchar_t*>(m_core.szJsUserName), L"JSMITH");
    lstrcpyW(reinterpret_cast<wchar_t*>(m_core.szJsJobName), L"[Automatic]");
    m_logic.SheetState()->aiPagePosition[kPageJobStorage] = 1;
}

void JobStoragePage::TearDown() {
    PageFixture::TearDown();
    SetUser(nullptr);
    m_tab = nullptr;
}

void JobStoragePage::SetUser(const wchar_t* name) {
    static std::wstring wine;
    if (wine.empty()) {
        wchar_t own[256] = {};
        GetEnvironmentVariableW(L"WINEUSERNAME", own, 256);
        wine = own[0] ? own : L"-";
    }
    SetEnvironmentVariableW(L"WINEUSERNAME", name ? name : (wine == L"-" ? nullptr : wine.c_str()));
}

void JobStoragePage::Build(const std::string& encoding) {
    if (!encoding.empty()) m_host.Add(zqtest::ValueFeature("ZQPJLEncoding", encoding));
    m_host.Add(zqtest::ValueFeature("JobRetention", "OFF"));
    auto tab = std::make_unique<CZQJobStorageTab>();
    m_tab = tab.get();
    BuildPage(std::move(tab));
    m_slots.VAdd(kPageJobStorage, &m_context);
}
