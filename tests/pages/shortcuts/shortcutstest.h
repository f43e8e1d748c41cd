// The Printing Shortcuts page of the simplified interface in process (pagefixture.h): the core
// driver's items of a roll printer, the page's window from its template, and beside it the sheet's
// Paper/Quality page object without a window.
#pragma once

#include <string>
#include <vector>

#include "pagefixture.h"
#include "pages/shortcuts/zqshortcutspage.h"
#include "res/zqshortcutsids.h"

// A panel entry in local blocks, as the document reader leaves it (the page frees it).
ShortcutPanelEntry* NewEntry(PCWSTR keyword, int kind, const std::vector<std::wstring>& options, int control,
                             PCWSTR locked = L"False");

struct ShortcutsPrinter {
    DWORD pdl = 5;  // the plotter language
    bool largeFormat = true;
};

class ShortcutsPage : public PageFixture {
protected:
    void TearDown() override;
    // The items, the page object, its sheet and its window from the template.
    void Start(const ShortcutsPrinter& printer = ShortcutsPrinter(), WORD wTemplate = IDD_DLG_DOC_CENTRIC_UI_SUI);
    ZQUIDevmode& Work() { return *m_logic.WorkDM(); }
    // The texts of the shortcut list's rows, top to bottom.
    std::vector<std::wstring> Rows() const;
    // The page's panel becomes these entries (the page owns them).
    void Entries(const std::vector<ShortcutPanelEntry*>& entries);

    CZQLargeFormatShortcutsTab* m_tab = nullptr;
};
