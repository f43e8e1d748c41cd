// The Features page in process (pagefixture.h): the core driver's items of a desk printer with the
// simplified interface, the page's window from the plug-in's own template, and beside it the sheet's
// Paper/Quality page object, which that sheet does not show. The page's lists are filled by the test
// where it chooses in them.
#pragma once

#include <string>
#include <vector>

#include "pagefixture.h"
#include "pages/features/zqfeaturespage.h"
#include "res/zqfeaturesids.h"

class FeaturesPage : public PageFixture {
protected:
    void TearDown() override;

    // The page's features; a test adds its own (or leaves some out: `without`) before Build.
    void AddItems(const std::string& without = "");
    // A macro of the helper file that turns on "ZQLog_<name>" (LoggedMacros()) after its own steps;
    // the rules (m_ruleFeatures names the features' macros) are loaded by Build.
    void AddMacro(const std::string& name, const std::string& steps = "");
    void Build();
    // The printer names its papers for the destination list (Letter, A4, Legal, Envelope #10: the
    // fixture's paper ids); after Build, before Open.
    void NamePapers();
    HWND Open(WORD wTemplate = IDD_DLG_FEATURESPAGE) { return OpenPage(wTemplate, &FeaturesPageDlgProc); }
    OPTITEM* OwnOrientation() { return m_host.ItemByPubId(kOemPubOrientation, true); }
    ZQUIDevmode& Work() { return *m_logic.WorkDM(); }
    // The list emptied, given the entries and put on one (-1: none).
    void Fill(int id, const std::vector<std::wstring>& entries, int sel = -1);
    // A list's choice as the user makes it: the entry chosen, then the notice.
    void Choose(int id, int entry);
    void Clear();

    CZQFeaturesTab* m_tab = nullptr;
    std::string m_ruleFeatures, m_ruleMacros;
};
