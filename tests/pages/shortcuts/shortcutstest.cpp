#include "shortcutstest.h"

#include "common/zqstrings.h"

using zqtest::ListFeature;

void ShortcutsPage::TearDown() {
    PageFixture::TearDown();
    m_tab = nullptr;
}

void ShortcutsPage::Start(const ShortcutsPrinter& printer, WORD wTemplate) {
    m_core.dwPdl = printer.pdl;
    for (const zqtest::FixtureFeature& feature : OrientationItems()) m_host.Add(feature);
    m_host.Add(zqtest::ValueFeature("ZQSimplifiedUI", "TRUE"));
    m_host.Add(ListFeature("ZQPrinterClass", {{"ZQInkDesk", L"Desk"}, {"ZQKorrix", L"Roll"}}, printer.largeFormat ? 1 : 0));
    m_host.Add(ListFeature("ZQPrintPreview", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 1));
    m_host.Add(ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}, {"PHOTO", L"Photo Paper"}}, 0, DMPUB_MEDIATYPE));
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

void ShortcutsPage::Entries(const std::vector<ShortcutPanelEntry*>& entries) {
    auto** table = static_cast<ShortcutPanelEntry**>(LocalAlloc(LPTR, entries.size() * sizeof(ShortcutPanelEntry*)));
    for (size_t i = 0; i < entries.size(); ++i) table[i] = entries[i];
    m_tab->VFreePanelEntries();
    m_tab->VSetPanelEntriesForTesting(table, static_cast<int>(entries.size()));
}
