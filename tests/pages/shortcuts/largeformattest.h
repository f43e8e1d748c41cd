// The Printing Shortcuts page of the simplified interface in process (pagefixture.h): the core
// driver's items of a roll printer, the page's window from its template, and beside it the sheet's
// Paper/Quality page object without a window.
#pragma once

#include <string>
#include <vector>

#include "pagefixture.h"
#include "pages/shortcuts/zqlargeformatshortcuts.h"
#include "res/zqshortcutsids.h"

struct ShortcutsPrinter {
    DWORD pdl = 5;  // the plotter language
    bool largeFormat = true;
    // The media item ends with a placeholder medium ("0"), which stands for the user's own.
    bool placeholderMedium = false;
    // The simplified interface, whose Features page shows the roll features.
    bool simplified = true;
};

// A panel entry in local blocks, as the document reader leaves it (the page frees it).
ShortcutPanelEntry* NewEntry(PCWSTR keyword, int kind, const std::vector<std::wstring>& options, int control = 0,
                             PCWSTR locked = L"False");
// A combo box's items, top to bottom.
std::vector<std::wstring> ComboItems(HWND list);
// The core driver's copy count with its collate box.
zqtest::FixtureFeature CopiesFeature();

class ShortcutsPage : public PageFixture {
protected:
    void TearDown() override;
    // The items, the page object, its sheet and its window from the template.
    void Start(const ShortcutsPrinter& printer = ShortcutsPrinter(), WORD wTemplate = IDD_DLG_DOC_CENTRIC_UI_SUI);
    ZQUIDevmode& Work() { return *m_logic.WorkDM(); }
    // The texts of the shortcut list's rows, top to bottom.
    std::vector<std::wstring> Rows() const;
    // The panel's table as the document reader leaves it (the page frees the entries).
    void Entries(const std::vector<ShortcutPanelEntry*>& entries);

    CZQLargeFormatShortcutsTab* m_tab = nullptr;
};

// The stores of printing shortcuts: the printer's data and a restricted user's own key.
extern const WCHAR kShortcutUserGuid[];
extern const std::wstring kUserKey, kPool, kUserPool;
// The roll sample's document types as the list shows them.
extern const std::vector<std::wstring> kTypes;

ShortcutRecord Record(const std::wstring& name, const std::wstring& docType);
std::vector<BYTE> Image(const ShortcutRecord& r);
// A shortcut in the printer's data, or in the user's own key.
void Put(zqspool::CZQMemoryPrinter& printer, const std::wstring& name, const std::wstring& type, bool user);
// The roll sample's document types and an empty key of a restricted user's own.
void PrepareStore(zqspool::CZQMemoryPrinter& printer, CZQXmlUiRules& rules);

// The page with the roll sample's document types and its stores.
class ShortcutList : public ShortcutsPage {
protected:
    void SetUp() override;
    void TearDown() override;
    // "name:type" values in the printer's data and in the user's own key.
    void Store(const std::vector<std::wstring>& printer, const std::vector<std::wstring>& user);
    void Hide(PCWSTR pszName);
};
