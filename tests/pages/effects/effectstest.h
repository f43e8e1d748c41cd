// The Effects page in process (pagefixture.h): the core driver's items of a desk-like printer with
// the page's features, the page's window from the plug-in's own template, and beside it the sheet's
// Paper/Quality page object without a window, which the page reaches through its context.
#pragma once

#include <memory>
#include <string>

#include "pagefixture.h"
#include "pages/effects/zqeffectspage.h"
#include "res/zqeffectsids.h"

class EffectsPage : public PageFixture {
protected:
    void TearDown() override;

    // The page's features; a test adds its own (or leaves some out: `without`) before Build.
    void AddItems(const std::string& without = "");
    void Build();
    HWND Open(WORD wTemplate = IDD_DLG_EFFECTSPAGE) { return OpenPage(wTemplate, &EffectsPageDlgProc); }
    OPTITEM* OwnOrientation() { return m_host.ItemByPubId(kOemPubOrientation, true); }
    ZQUIDevmode& Work() { return *m_logic.WorkDM(); }

    CZQEffectsTab* m_tab = nullptr;
};
