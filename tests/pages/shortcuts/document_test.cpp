// Document types read into the panel's entries, the settings the sheet opens with matched against
// the first type, the "Customized Settings" row under its type and the Delete button by the store
// the shortcut lives in.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/zqstrings.h"
#include "pages/shortcuts/zqlargeformatstore.h"
#include "pages/zqpageitems.h"
#include "largeformattest.h"
#include "xmltestutil.h"

namespace {

constexpr WCHAR kGuid[] = L"{7B21C0DE-1111-4C6A-9D3E-17F0A2B3C4D6}";
const std::wstring kUserPool = std::wstring(L"Software\\Quorvane\\") + kGuid + L"\\ZQPresetRoot\\CustomShortcutPoolData";

// A stored shortcut's value, based on a document type.
std::vector<BYTE> Stored(const std::wstring& name, const std::wstring& type) {
    ShortcutRecord r = {};
    lstrcpynW(r.szName, name.c_str(), 256);
    lstrcpynW(r.szDocType, type.c_str(), 256);
    CZQLocalPtr<BYTE> image;
    const DWORD size = CZQShortcutStore::DWSerializeShortcut(image.Put(), r);
    return std::vector<BYTE>(image.Get(), image.Get() + size);
}

std::wstring Feature(const std::wstring& name, const std::wstring& fixed, const std::wstring& select,
                     const std::vector<std::wstring>& options) {
    std::wstring xml = L"<DocFeature><name>" + name + L"</name><hidden>" + fixed + L"</hidden><resource_id>6140</resource_id>"
                       L"<help_id>7140</help_id><Disabled>False</Disabled><select_option>" + select + L"</select_option>";
    for (const std::wstring& option : options)
        xml += L"<DocOption><name>" + option + L"</name><bitmap_id>640</bitmap_id><resource_id>0</resource_id></DocOption>";
    return xml + L"</DocFeature>";
}

class ShortcutDocs : public ShortcutsPage {
protected:
    void SetUp() override {
        ShortcutsPage::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Quorvane\\") + kGuid).c_str());
        m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        ASSERT_TRUE(m_rules->Parser().BLoad(zqtest::BesideExe(L"zqroll.xml").c_str()));
        m_rules->Parser().VSetLoaded(TRUE);
    }
    void TearDown() override {
        ShortcutsPage::TearDown();
        RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Quorvane\\") + kGuid).c_str());
    }
    void Put(const std::wstring& name, const std::wstring& type, bool user) {
        const std::vector<BYTE> v = Stored(name, type);
        if (user)
            RegSetKeyValueW(HKEY_CURRENT_USER, kUserPool.c_str(), name.c_str(), REG_BINARY, v.data(), DWORD(v.size()));
        else
            m_printer.PutValue(L"ZQPresetRoot\\CustomShortcutPoolData", name, REG_BINARY, v.data(), DWORD(v.size()));
    }
    void Select(const std::wstring& row) {
        HWND list = Ctl(IDC_LB_DOCTYPE_SETTING);
        SendMessageW(list, LB_SETCURSEL, SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(row.c_str())), 0);
    }
};

TEST_F(ShortcutDocs, DocumentsOfUpToTenFeaturesAreRead) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const auto many = [](int n) {
        std::wstring xml;
        for (int i = 0; i < n; ++i) xml += Feature(L"F" + std::to_wstring(i), L"False", L"B", {L"A", L"B"});
        return xml;
    };
    const struct {
        const char* what;
        std::wstring features;
        bool read;
        int entries;
    } cases[] = {
        {"none", L"", false, 0},
        {"one", Feature(L"MediaType", L"False", L"PHOTO", {L"PLAIN", L"PHOTO"}), true, 1},
        {"ten", many(10), true, 10},
        {"eleven", many(11), false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_tab->VFreePanelEntries();
        const auto doc = zqxmltest::Parse(L"<DocSetting><name>T</name><bitmap_id>603.9</bitmap_id><custbitmap_id></custbitmap_id>" +
                                          c.features + L"</DocSetting>");
        const auto node = zqxmltest::Select(doc.Get(), L"DocSetting");
        EXPECT_EQ(c.read, m_tab->BReadShortcutDocument(node.Get(), &m_context, 0) != FALSE);
        EXPECT_EQ(c.entries, m_tab->PanelForTesting().Count());
        EXPECT_EQ(603, m_tab->PanelForTesting().Type().iBitmapId) << "the fraction dropped";
        EXPECT_EQ(0, m_tab->PanelForTesting().Type().iShortcutBitmapId) << "an empty id leaves the previous one";
    }
    // Kinds, the type's own choice and the names: a fixed single option, a list the driver names,
    // and scale-to-paper named after the core driver's papers.
    m_tab->VFreePanelEntries();
    const auto doc = zqxmltest::Parse(
        L"<DocSetting>" + Feature(L"MediaType", L"False", L"PHOTO", {L"PLAIN", L"PHOTO"}) +
        Feature(L"Collate", L"True", L"On", {L"On"}) + Feature(L"Scaling", L"True", L"100", {L"100", L"50"}) +
        Feature(L"ZQScaleToPaper", L"False", L"Nowhere", {L"MISSING"}) + L"</DocSetting>");
    ASSERT_TRUE(m_tab->BReadShortcutDocument(zqxmltest::Select(doc.Get(), L"DocSetting").Get(), &m_context, 0));
    const struct {
        PCWSTR keyword;
        int kind, selected, own;
        PCWSTR firstName;
    } entries[] = {{L"MediaType", 0, 1, 1, L"Plain Paper"},
                   {L"Collate", 8, 0, 0, L"On"},
                   {L"Scaling", 5, 0, 0, L"100"},
                   {L"ZQScaleToPaper", 0, 0, 0, L"MISSING"}};
    for (int i = 0; i < 4; ++i) {
        const ShortcutPanelEntry* e = m_tab->PanelForTesting().PEntry(i);
        ASSERT_NE(nullptr, e);
        EXPECT_STREQ(entries[i].keyword, e->szKeyword);
        EXPECT_EQ(entries[i].kind, e->iKind) << entries[i].keyword;
        EXPECT_EQ(entries[i].selected, e->iSelected) << entries[i].keyword;
        EXPECT_EQ(entries[i].own, e->iDefaultOption) << entries[i].keyword;
        EXPECT_STREQ(entries[i].firstName, e->ppszOptionNames[0]) << entries[i].keyword;
    }
    EXPECT_EQ(1, *m_tab->PanelForTesting().PEntry(3)->ppiNotAvailable[0]) << "no paper of that name";
}

// At sheet build the next document type of the list is matched: the roll sample's first one has no
// feature the settings could contradict; the walk is not reset, so after one node the photo type
// is next, whose glossy media the plain-paper settings do not match.
TEST_F(ShortcutDocs, DetectionNamesTheMatchingTypeOrTheCustomSettings) {
    ASSERT_NO_FATAL_FAILURE(Start());
    IXMLDOMNodeList* types = m_rules->Parser().DocSettingList();
    const struct {
        int skipped;
        PCWSTR name;
        DWORD customised, scaling, copies;
        std::vector<DWORD> slots;
    } cases[] = {{0, L"Drawings", 0, 100, 1, {1, 0, 0, 0, 0, 9}}, {1, L"Custom Print Settings", 1, 7, 7, {9, 9, 9}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.skipped);
        ZQUIDevmode* core = zqpage::CoreOf(m_tab->CUIParam());
        ASSERT_NE(nullptr, core);
        core->szDocTypeName[0] = 0;
        core->dwPendingChange = 0;
        core->dwDocTypeScaling = core->dwDocTypeCopies = 7;
        for (auto& slot : core->adwSelectionSlots) slot = 9;
        types->reset();
        for (int i = 0; i < c.skipped; ++i) {
            CZQComPtr<IXMLDOMNode> skipped;
            types->nextNode(skipped.Put());
        }
        m_tab->VDetectCurrentShortcut(&m_context);
        EXPECT_STREQ(c.name, core->szDocTypeName);
        EXPECT_EQ(c.customised, core->dwPendingChange);
        EXPECT_EQ(c.scaling, core->dwDocTypeScaling);
        EXPECT_EQ(c.copies, core->dwDocTypeCopies);
        for (size_t i = 0; i < c.slots.size(); ++i) EXPECT_EQ(c.slots[i], core->adwSelectionSlots[i]) << i;
        EXPECT_EQ(0, m_tab->PanelForTesting().Count()) << "no entries left behind";
    }
}

TEST_F(ShortcutDocs, TwoSidedPrintingMatchesByTheChosenOption) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const struct {
        PCWSTR option;
        WORD duplex;
        DWORD manual;
        bool differs;
    } cases[] = {{L"NONE", 1, 0, false},          {L"NONE", 2, 0, true},         {L"NONE", 1, 1, true},
                 {L"Automatically", 2, 0, false}, {L"Automatically", 1, 0, true}, {L"Manually", 1, 1, false},
                 {L"Manually", 2, 0, true},       {L"LeftEdgeBinding", 1, 1, false}};
    for (const auto& c : cases) {
        auto** entries = static_cast<ShortcutPanelEntry**>(LocalAlloc(LPTR, sizeof(ShortcutPanelEntry*)));
        entries[0] = static_cast<ShortcutPanelEntry*>(LocalAlloc(LPTR, sizeof(ShortcutPanelEntry)));
        lstrcpyW(entries[0]->szKeyword, L"Duplex");
        entries[0]->nOptions = 1;
        entries[0]->ppszOptionKeywords = static_cast<PWSTR*>(LocalAlloc(LPTR, sizeof(PWSTR)));
        entries[0]->ppszOptionKeywords[0] = ZQDupText(c.option);
        m_tab->VFreePanelEntries();
        m_tab->PanelForTesting().BTakeEntries(entries, 1);
        Work().wDuplex = c.duplex;
        Work().dwManualDuplex = c.manual;
        EXPECT_EQ(c.differs, m_tab->BSettingsDifferFromPanel(&m_context) != FALSE)
            << c.option << " duplex " << c.duplex << " manual " << c.manual;
    }
}

// The customised row stands under the type the shown settings came from, once, with its picture.
TEST_F(ShortcutDocs, CustomizedRowFollowsItsType) {
    Put(L"Big", L"Posters", false);
    ASSERT_NO_FATAL_FAILURE(Start());
    const PCWSTR custom = m_tab->StateForTesting().szCustomizedText;
    const struct {
        PCWSTR selected;
        std::vector<std::wstring> rows;
    } steps[] = {
        {L"Photo", {L"Drawings", L"Photo", custom, L"Posters", L"Big", L"Everyday"}},
        {custom, {L"Drawings", L"Photo", custom, L"Posters", L"Big", L"Everyday"}},
        {L"Big", {L"Drawings", L"Photo", L"Posters", custom, L"Big", L"Everyday"}},
        {L"Everyday", {L"Drawings", L"Photo", L"Posters", L"Big", L"Everyday", custom}},
    };
    for (const auto& s : steps) {
        Select(s.selected);
        m_tab->VShowCustomizedRow(&m_context);
        EXPECT_EQ(s.rows, Rows()) << s.selected;
        EXPECT_EQ(static_cast<int>(s.rows.size()), m_tab->ListForTesting().Pictures().Count()) << "a picture per row";
        const LRESULT at = SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_GETCURSEL, 0, 0);
        EXPECT_EQ(std::find(s.rows.begin(), s.rows.end(), custom) - s.rows.begin(), at) << "the row is selected";
    }
    m_tab->VRemoveCustomizedRow();
    EXPECT_EQ(5u, Rows().size());
    EXPECT_EQ(5, m_tab->ListForTesting().Pictures().Count());
}

TEST_F(ShortcutDocs, DeleteOnlyForShortcutsTheUserMayDelete) {
    const struct {
        bool restricted;
        PCWSTR name;
        bool before, after;
    } cases[] = {{false, L"Photo", true, false}, {false, L"Shared", false, true}, {true, L"Shared", true, false},
                 {true, L"Mine", false, true},  {true, L"Nowhere", true, true},  {true, L"Nowhere", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.restricted ? "restricted " : "") << (&c - cases));
        Put(L"Shared", L"Photo", false);
        Put(L"Mine", L"Photo", true);
        m_printer.SetReadOnly(c.restricted);
        ASSERT_NO_FATAL_FAILURE(Start());
        EnableWindow(Ctl(IDC_BTN_DELETE), c.before);
        ZQCopyText(m_tab->StateForTesting().szCurrentName, 256, c.name);
        m_tab->VUpdateDeleteButton(&m_context, c.name);
        EXPECT_EQ(c.after, Enabled(IDC_BTN_DELETE));
        EXPECT_TRUE(m_tab->BPrinterShortcutExists(&m_context, L"shared"));
        EXPECT_FALSE(m_tab->BPrinterShortcutExists(&m_context, L"Mine"));
        TearDown();
        SetUp();
    }
}

}  // namespace
