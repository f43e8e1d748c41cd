#include "largeformattest.h"

#include <gtest/gtest.h>

#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"

using zqtest::ListFeature;

void ShortcutsPage::TearDown() {
    PageFixture::TearDown();
    m_tab = nullptr;
}

void ShortcutsPage::Start(const ShortcutsPrinter& printer, WORD wTemplate) {
    m_core.dwPdl = printer.pdl;
    for (const zqtest::FixtureFeature& feature : OrientationItems()) m_host.Add(feature);
    if (printer.simplified) m_host.Add(zqtest::ValueFeature("ZQSimplifiedUI", "TRUE"));
    m_host.Add(ListFeature("ZQPrinterClass", {{"ZQInkDesk", L"Desk"}, {"ZQKorrix", L"Roll"}}, printer.largeFormat ? 1 : 0));
    m_host.Add(ListFeature("ZQPrintPreview", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 1));
    std::vector<std::pair<std::string, std::wstring>> media = {{"PLAIN", L"Plain Paper"}, {"PHOTO", L"Photo Paper"}};
    if (printer.placeholderMedium) media.push_back({"USER0", L"0"});
    m_host.Add(ListFeature("MediaType", media, 0, DMPUB_MEDIATYPE));
    auto tab = std::make_unique<CZQLargeFormatShortcutsTab>();
    m_tab = tab.get();
    BuildPage(std::move(tab));
    JoinSheet(kPageShortcuts);
    ASSERT_NE(nullptr, OpenPage(wTemplate, &LargeFormatShortcutsPageDlgProc));
}

std::vector<std::wstring> ShortcutsPage::Rows() const {
    std::vector<std::wstring> rows;
    HWND list = Ctl(IDC_LB_DOCTYPE_SETTING);
    for (LRESULT i = 0, n = SendMessageW(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
        WCHAR text[256] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        rows.push_back(text);
    }
    return rows;
}

void ShortcutsPage::Entries(const std::vector<ShortcutPanelEntry*>& entries) {
    auto** table = static_cast<ShortcutPanelEntry**>(LocalAlloc(LPTR, entries.size() * sizeof(ShortcutPanelEntry*)));
    for (size_t i = 0; i < entries.size(); ++i) table[i] = entries[i];
    m_tab->VFreePanelEntries();
    m_tab->PanelForTesting().BTakeEntries(table, static_cast<int>(entries.size()));
}

ShortcutPanelEntry* NewEntry(PCWSTR keyword, int kind, const std::vector<std::wstring>& options, int control,
                             PCWSTR locked) {
    auto* e = static_cast<ShortcutPanelEntry*>(LocalAlloc(LPTR, sizeof(ShortcutPanelEntry)));
    lstrcpyW(e->szKeyword, keyword);
    lstrcpyW(e->szLocked, locked);
    e->iKind = kind;
    e->iCtrlId = control;
    e->nOptions = static_cast<int>(options.size());
    e->ppszOptionKeywords = static_cast<PWSTR*>(LocalAlloc(LPTR, (options.size() + 1) * sizeof(PWSTR)));
    e->ppszOptionNames = static_cast<PWSTR*>(LocalAlloc(LPTR, (options.size() + 1) * sizeof(PWSTR)));
    for (size_t i = 0; i < options.size(); ++i) {
        e->ppszOptionKeywords[i] = ZQDupText(options[i].c_str());
        e->ppszOptionNames[i] = ZQDupText(options[i].c_str());
    }
    return e;
}

const WCHAR kShortcutUserGuid[] = L"{5A510063-4E2B-4C6A-9D3E-17F0A2B3C4D6}";
const std::wstring kUserKey = std::wstring(L"Software\\Quorvane\\") + kShortcutUserGuid;
const std::wstring kPool = L"ZQPresetRoot\\CustomShortcutPoolData";
const std::wstring kUserPool = kUserKey + L"\\" + kPool;
const std::vector<std::wstring> kTypes = {L"Technical Drawings", L"Photo", L"Posters and Banners", L"Everyday Printing"};

ShortcutRecord Record(const std::wstring& name, const std::wstring& docType) {
    ShortcutRecord r = {};
    lstrcpynW(r.szName, name.c_str(), 256);
    lstrcpynW(r.szDocType, docType.c_str(), 256);
    r.dwBitmapId = 652;
    return r;
}

std::vector<BYTE> Image(const ShortcutRecord& r) {
    CZQLocalPtr<BYTE> image;
    const DWORD size = CZQShortcutStore::DWSerializeShortcut(image.Put(), r);
    return std::vector<BYTE>(image.Get(), image.Get() + size);
}

void Put(zqspool::CZQMemoryPrinter& printer, const std::wstring& name, const std::wstring& type, bool user) {
    const std::vector<BYTE> v = Image(Record(name, type));
    if (user)
        RegSetKeyValueW(HKEY_CURRENT_USER, kUserPool.c_str(), name.c_str(), REG_BINARY, v.data(), DWORD(v.size()));
    else
        printer.PutValue(kPool, name, REG_BINARY, v.data(), static_cast<DWORD>(v.size()));
}

void PrepareStore(zqspool::CZQMemoryPrinter& printer, CZQXmlUiRules& rules) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str());
    printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kShortcutUserGuid);
    ASSERT_TRUE(rules.Parser().BLoad(zqtest::BesideExe(L"zqroll.xml").c_str()));
    rules.Parser().VSetLoaded(TRUE);
}

void ShortcutList::SetUp() {
    ShortcutsPage::SetUp();
    PrepareStore(m_printer, *m_rules);
}

void ShortcutList::TearDown() {
    ShortcutsPage::TearDown();
    RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str());
}

void ShortcutList::Store(const std::vector<std::wstring>& printer, const std::vector<std::wstring>& user) {
    for (const auto* list : {&printer, &user})
        for (const std::wstring& entry : *list)
            Put(m_printer, entry.substr(0, entry.find(L':')), entry.substr(entry.find(L':') + 1), list == &user);
}

void ShortcutList::Hide(PCWSTR pszName) {
    QuickSetEntry* entry = m_gates->binding.quickSets.PNewEntry();
    lstrcpynW(entry->head.szName, pszName, 82);
    entry->dwFlags = CZQQuickSets::kHiddenFlag;
}

std::vector<std::wstring> ComboItems(HWND list) {
    std::vector<std::wstring> items;
    for (LRESULT i = 0, n = SendMessageW(list, CB_GETCOUNT, 0, 0); i < n; ++i) {
        WCHAR text[256] = {};
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

zqtest::FixtureFeature CopiesFeature() {
    zqtest::FixtureFeature copies;
    copies.keyword = "Copies";
    copies.kind = zqtest::FixtureKind::UpDown;
    copies.pubId = DMPUB_COPIES_COLLATE;
    copies.sel = 1;
    copies.high = 9999;
    return copies;
}
