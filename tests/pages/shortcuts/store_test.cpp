// The shortcut list as the page starts (the roll sample's document types with the stored shortcuts
// under them, a restricted user's own, hidden quick sets on a local and a remote printer), the
// look-ups on the panel's entries and the core driver's items, and the shortcut store on the
// in-memory printer: records byte for byte in the printer's data and a restricted user's key, the
// limit of 25, the name check and dialog, Save As and deletion with their quick sets, the rewrite,
// the feature slots and the locks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "pages/dialogs/zqnamedlg.h"
#include "pages/shortcuts/zqlargeformatstore.h"
#include "res/zqquicksetids.h"
#include "largeformattest.h"

namespace {

using zqspool::MemCall;
using zqtest::FixtureFeature;
using zqtest::ListFeature;

struct ListCase {
    const char* what;
    bool restricted;
    std::vector<std::wstring> printer, user, hidden;
    bool remote;
    std::vector<std::wstring> rows;
    int listed, listedWithUser;
};

class ShortcutListOf : public ShortcutList, public testing::WithParamInterface<ListCase> {};

// Names prefix+from to prefix+to in two digits, counting up or down, each with ":type" when a type
// is given.
std::vector<std::wstring> Series(PCWSTR prefix, int from, int to, PCWSTR type = nullptr) {
    std::vector<std::wstring> names;
    for (int i = from;; i += from < to ? 1 : -1) {
        names.push_back(prefix + std::wstring(i < 10 ? L"0" : L"") + std::to_wstring(i) +
                        (type ? std::wstring(L":") + type : L""));
        if (i == to) break;
    }
    return names;
}

std::vector<std::wstring> Joined(std::initializer_list<std::vector<std::wstring>> parts) {
    std::vector<std::wstring> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_P(ShortcutListOf, StoredShortcutsStandUnderTheirTypes) {
    const ListCase& c = GetParam();
    Store(c.printer, c.user);
    for (const std::wstring& name : c.hidden) Hide(name.c_str());
    m_printer.SetReadOnly(c.restricted);
    if (c.remote) {
        m_printer.Identity().datatypes = {L"RAW"};
        lstrcpyW(m_caps.szServerName, L"\\\\server");
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(c.rows, Rows());
    EXPECT_EQ(static_cast<int>(c.rows.size()), m_tab->ListForTesting().Pictures().Count()) << "a picture per row";
    EXPECT_EQ(c.listed, m_tab->ListForTesting().Listed().nListed);
    if (c.restricted) {
        EXPECT_EQ(c.listedWithUser, m_tab->ListForTesting().Listed().nListedWithUser);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stores, ShortcutListOf,
    testing::Values(
        ListCase{"two of one type, one of a missing type", false, {L"A:Photo", L"B:Photo", L"C:Maps", L"D:Drawings"},
                 {}, {}, false, {L"Drawings", L"D", L"Photo", L"B", L"A", L"Posters", L"Everyday"}, 8, 0},
        ListCase{"a restricted user's own", true, {L"A:Photo"}, {L"a:Photo", L"Own:Posters", L"Lost:Maps"}, {}, false,
                 {L"Drawings", L"Photo", L"A", L"Posters", L"Own", L"Everyday"}, 5, 8},
        ListCase{"hidden quick sets on a local printer", false, {L"A:Photo", L"B:Posters"}, {}, {L"Photo", L"B"}, false,
                 {L"Drawings", L"Posters", L"Everyday"}, 6, 0},
        ListCase{"hidden quick sets on a printer of another server", false, {L"A:Photo", L"B:Posters"}, {},
                 {L"Photo", L"B"}, true, {L"Drawings", L"Photo", L"A", L"Posters", L"B", L"Everyday"}, 6, 0},
        ListCase{"more than 25 stored", true, Series(L"P", 1, 24, L"Photo"), {L"UD:Drawings", L"UP:Posters", L"UE:Everyday"},
                 {}, false,
                 Joined({{L"Drawings", L"UD", L"Photo"}, Series(L"P", 24, 1), {L"Posters", L"UP", L"Everyday", L"UE"}}),
                 28, 31}));

TEST_F(ShortcutList, EntriesAndTheDriversOptions) {
    FixtureFeature bins = ListFeature("InputBin", {{"AUTO", L""}, {"TRAY1", L"Tray 1"}, {"TRAY2", L"Tray 2"}, {"TRAY3", L"Tray 3"}},
                                      0, DMPUB_DEFSOURCE);
    bins.options[0].nameResId = 1;
    bins.options[1].hidden = true;
    bins.options[2].conflict = true;
    m_host.Add(bins);
    ASSERT_NO_FATAL_FAILURE(Start());
    const struct {
        PCWSTR keyword;
        BYTE pubId;
        PCWSTR name;
        int index;
    } options[] = {{L"InputBin", 0, L"Automatically Select", 0}, {nullptr, DMPUB_DEFSOURCE, L"Tray 2", 2},
                   {L"InputBin", 0, L"Envelope Feeder", 3},       {L"MediaType", 0, L"Photo Paper", 1},
                   {L"Missing", 0, L"Tray 1", -1}};
    for (const auto& o : options)
        EXPECT_EQ(o.index, CZQLargeFormatShortcutsTab::IFindDriverOptionIndex(&m_context, o.keyword, o.pubId, o.name))
            << o.name;

    POPTITEM media = nullptr;
    ASSERT_TRUE(m_tab->BFindDriverItem(L"mediatype", &media, &m_context));
    EXPECT_EQ(DMPUB_MEDIATYPE, media->DMPubID);

    // The driver's name, else the text of the option's text id without its mnemonic, else the
    // keyword, which a list marks as not available.
    PWSTR keywords[] = {const_cast<PWSTR>(L"PHOTO"), const_cast<PWSTR>(L"GLOSS"), const_cast<PWSTR>(L"MATTE")};
    LONG ok = 849, none = 0;
    LONG* ids[] = {&none, &ok, nullptr};
    const struct {
        PCWSTR keyword;
        bool item;
        std::vector<std::wstring> names;
        std::vector<int> flags;
    } builds[] = {{L"MediaType", true, {L"Photo Paper", L"OK", L"MATTE"}, {0, 0, 1}},
                  {L"MediaType", false, {L"PHOTO", L"OK", L"MATTE"}, {1, 0, 1}},
                  {L"Collate", false, {L"PHOTO", L"OK", L"MATTE"}, {0, 0, 0}}};
    for (const auto& b : builds) {
        PWSTR* names = nullptr;
        int** flags = nullptr;
        ASSERT_TRUE(b.item ? m_tab->BBuildOptionNames(media, ids, keywords, 3, b.keyword, &m_context, &names, &flags)
                           : m_tab->BBuildOptionNamesNoItem(ids, keywords, 3, b.keyword, &m_context, &names, &flags));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(b.names[i], names[i]) << b.keyword << " " << i;
            EXPECT_EQ(b.flags[i], *flags[i]) << b.keyword << " " << i;
            LocalFree(names[i]);
            LocalFree(flags[i]);
        }
        LocalFree(names);
        LocalFree(flags);
    }

    const struct {
        PCWSTR keyword;
        int kind;
    } kinds[] = {{L"BorderlessAutoFit", 1}, {L"collate", 1}, {L"DigitalPhotography", 2}, {L"Scaling", 5},
                 {L"Copies", 5},            {L"StandardPrintQuality", 9}, {L"MediaType", 0}};
    for (const auto& k : kinds) EXPECT_EQ(k.kind, CZQLargeFormatShortcutsTab::IGetControlKind(&m_context, k.keyword));
}

TEST_F(ShortcutList, PanelEntriesByKeywordAndOptionName) {
    ASSERT_NO_FATAL_FAILURE(Start());
    auto** entries = static_cast<ShortcutPanelEntry**>(LocalAlloc(LPTR, 2 * sizeof(ShortcutPanelEntry*)));
    for (int i = 0; i < 2; ++i) {
        entries[i] = static_cast<ShortcutPanelEntry*>(LocalAlloc(LPTR, sizeof(ShortcutPanelEntry)));
        lstrcpyW(entries[i]->szKeyword, i ? L"Copies" : L"MediaType");
        entries[i]->nOptions = 2;
        entries[i]->ppszOptionNames = static_cast<PWSTR*>(LocalAlloc(LPTR, 2 * sizeof(PWSTR)));
        entries[i]->ppszOptionNames[0] = ZQDupText(L"Plain");
        entries[i]->ppszOptionNames[1] = ZQDupText(L"Glossy");
    }
    m_tab->VFreePanelEntries();
    m_tab->PanelForTesting().BTakeEntries(entries, 2);
    int index = -1;
    EXPECT_TRUE(m_tab->BFindPanelEntry(L"copies", &index));
    EXPECT_EQ(1, index);
    EXPECT_FALSE(m_tab->BFindPanelEntry(L"Duplex", &index));
    EXPECT_EQ(0, index);
    EXPECT_TRUE(m_tab->BSelectEntryOption(L"MediaType", L"GLOSSY", &m_context));
    EXPECT_FALSE(m_tab->BSelectEntryOption(L"MediaType", L"Matte", &m_context));
    EXPECT_EQ(1, entries[0]->iSelected) << "a name no option has changes nothing";
}

// The store beside a page without window, with the document types as list rows and its own buttons.
class ShortcutStore : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        BuildPage(std::make_unique<CZQTabBase>());
        m_rules->VLoadResourceModule(m_hPrinter);
        PrepareStore(m_printer, *m_rules);
        for (HWND* w : {&m_list, &m_buttons[0], &m_buttons[1]})
            *w = CreateWindowExW(0, w == &m_list ? L"LISTBOX" : L"BUTTON", nullptr, WS_CHILD | LBS_HASSTRINGS, 0, 0,
                                 200, 200, m_parent, nullptr, nullptr, nullptr);
        for (int& slot : m_slots) slot = CZQShortcutStore::kNoSlotValue;
        m_store.VBind(nullptr, m_host.Param(), nullptr);
        m_store.VLoadResourceModule(m_hPrinter);
        Restrict(false);
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str());
        PageFixture::TearDown();
    }

    // The PostScript keywords; the shortcuts' quick sets in the same store.
    void Restrict(bool on) {
        m_printer.SetRestrictedUser(on);
        m_printer.SetReadOnly(on);
        m_store.VBindPage({m_list, m_buttons[0], m_buttons[1], on, L"Customized Settings", L"PageSize", L"ZQOrientation",
                           L"InputSlot", L"JCLZQPrintInGrayScale", m_slots, &m_public});
        m_context.pQuickSets->VSetParam(m_host.Param(), OEMCUIP_DOCPROP);
        m_context.pQuickSets->VLoad(nullptr, &m_core);
    }
    // The list: the document types, then these rows.
    void Rows(const std::vector<std::wstring>& rows) {
        SendMessageW(m_list, LB_RESETCONTENT, 0, 0);
        for (const std::vector<std::wstring>* part : {&kTypes, &rows})
            for (const std::wstring& row : *part) SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    void Put(const std::wstring& name, bool user = false) { ::Put(m_printer, name, L"Photo", user); }
    std::vector<BYTE> Stored(const std::wstring& name, bool user = false) {
        std::vector<BYTE> data;
        DWORD cb = 0;
        if (!user) {
            m_printer.GetValue(kPool, name, nullptr, &data);
        } else if (RegGetValueW(HKEY_CURRENT_USER, kUserPool.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, &cb) ==
                   ERROR_SUCCESS) {
            data.resize(cb);
            RegGetValueW(HKEY_CURRENT_USER, kUserPool.c_str(), name.c_str(), RRF_RT_ANY, nullptr, data.data(), &cb);
        }
        return data;
    }

    CZQShortcutStore m_store;
    HWND m_list = nullptr;
    HWND m_buttons[2] = {};
    int m_slots[CZQShortcutStore::kFeatureSlots] = {};
};

TEST_F(ShortcutStore, WritesAndReadsBackInBothStores) {
    const wchar_t* keys[] = {L"Glossy", L"Matte"};
    PWSTR names[2] = {const_cast<PWSTR>(L"Glossy Photo"), nullptr};
    ShortcutFeatureEntry media = {L"MediaType", 0, 2, const_cast<PWSTR*>(keys), names};
    ShortcutFeatureEntry* features[] = {&media};
    ShortcutRecord plans = Record(L"Plans", L"Technical Drawings");
    plans.nFeatures = 1;
    plans.ppFeatures = features;
    const std::vector<BYTE> image = Image(plans);
    ASSERT_EQ(1036u + 520u + 2048u, image.size());
    for (bool restricted : {false, true}) {
        SCOPED_TRACE(restricted ? "restricted" : "unrestricted");
        Restrict(restricted);
        m_store.VWriteShortcut(&m_context, plans);
        EXPECT_EQ(image, Stored(L"Plans", restricted));
        ShortcutRecord back = Record(L"pLANS", L"");
        ASSERT_TRUE(m_store.BReadShortcut(&m_context, &back));
        EXPECT_STREQ(L"Plans", back.szName);
        EXPECT_STREQ(L"Technical Drawings", back.szDocType);
        ASSERT_EQ(1, back.nFeatures);
        ASSERT_EQ(2, back.ppFeatures[0]->nPairs);
        EXPECT_STREQ(L"Matte", back.ppFeatures[0]->ppszOptionKeywords[1]);
        EXPECT_STREQ(L"", back.ppFeatures[0]->ppszOptionNames[1]) << "an absent name is stored empty";
        CZQShortcutStore::VFreeShortcut(&back);
        EXPECT_EQ(nullptr, back.ppFeatures);
        EXPECT_STREQ(L"Technical Drawings", back.szDocType) << "the document type stays";
    }
    // A value cut short is no shortcut and leaves the record as it was.
    m_printer.PutValue(kPool, L"Cut", REG_BINARY, image.data(), 40);
    ShortcutRecord cut = Record(L"Cut", L"kept");
    EXPECT_FALSE(m_store.BReadShortcut(&m_context, &cut));
    EXPECT_STREQ(L"kept", cut.szDocType);
}

TEST_F(ShortcutStore, SaveStopsAtTwentyFive) {
    const struct {
        int printer, user;
        bool restricted, saved;
    } cases[] = {{20, 0, false, true}, {21, 0, false, false}, {20, 1, true, false}, {20, 1, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.printer << " + " << c.user << (c.restricted ? " restricted" : ""));
        zqspool::Spooler().DeletePrinterKeyW(m_hPrinter, kPool.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, kUserPool.c_str());
        for (int i = 0; i < c.printer + c.user; ++i) Put(L"S" + std::to_wstring(i), i >= c.printer);
        Restrict(c.restricted);
        Rows({});
        lstrcpyW(m_store.m_szNewShortcutName, L"New");
        BoxAnswers boxes;
        EXPECT_EQ(c.saved, m_store.BSaveShortcut(&m_context, m_parent, &m_core, FALSE, nullptr) != FALSE);
        ASSERT_EQ(c.saved ? 0u : 1u, boxes.texts.size());
        if (c.saved) continue;
        EXPECT_EQ(0u, boxes.texts[0].find(L"The maximum number of Printing Shortcuts"));
        EXPECT_EQ(L"Printing shortcut:", boxes.captions[0]);
    }
}

TEST_F(ShortcutStore, NameCheckAsksRefusesOrGoesOn) {
    Put(L"Mine");
    Put(L"Shared");
    Put(L"Own", true);
    Rows({L"Mine", L"Shared", L"Own", L"Customized Settings"});
    Put(L"Behind");  // stored by another program after the list was filled
    const std::wstring replace = L"A Printing Shortcut with that name already exists.";
    const std::wstring refused = L"A Task Preset with that name already exists and cannot be replaced.";
    const struct {
        const wchar_t* name;
        bool restricted;
        int answer;
        bool result, replaced;
        std::wstring text;
    } cases[] = {
        {L"mine", false, IDYES, true, true, replace},
        {L"MINE", false, IDNO, false, false, replace},
        {L"photo", false, IDYES, false, false, refused},
        {L"customized settings", false, IDYES, false, false, refused},
        {L"Shared", true, IDYES, false, false, refused},
        {L"own", true, IDYES, true, true, replace},
        {L"behind", false, IDNO, false, false, replace},
        {L"Brand new", false, IDYES, true, false, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        Restrict(c.restricted);
        lstrcpyW(m_store.m_szNewShortcutName, c.name);
        m_store.m_bReplaceExisting = TRUE;
        BoxAnswers boxes(c.answer);
        EXPECT_EQ(c.result, m_store.BCheckShortcutName(&m_context, m_parent) != FALSE);
        EXPECT_EQ(c.replaced, m_store.m_bReplaceExisting != FALSE);
        ASSERT_EQ(c.text.empty() ? 0u : 1u, boxes.texts.size());
        if (c.text.empty()) continue;
        EXPECT_EQ(0u, boxes.texts[0].find(c.text));
        EXPECT_EQ(c.name, boxes.captions[0]);
    }
}

// Save As stores the record and its quick set in one edit, on what is stored when it stores: a name
// another program stored after the check is asked about (declined: theirs stays), the limit reached
// meanwhile refuses; each is said.
TEST_F(ShortcutStore, SaveAsDecidesOnWhatIsStoredNow) {
    const ShortcutRecord ours = Record(L"Late", L"Drawings");
    const struct {
        int others;             // shortcuts stored before the check
        const wchar_t* behind;  // stored after it
        int answer;
        ZQStoreOutcome result;
        const wchar_t* box;
    } cases[] = {
        {0, L"Late", IDNO, ZQStoreOutcome::kDeclined, L"A Printing Shortcut with that name"},
        {0, L"Late", IDYES, ZQStoreOutcome::kStored, L"A Printing Shortcut with that name"},
        {20, L"Extra", IDOK, ZQStoreOutcome::kDeclined, L"The maximum number of Printing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        for (PCWSTR key : {kPool.c_str(), L"ZQPresetRoot\\PresetPoolData"})
            zqspool::Spooler().DeletePrinterKeyW(m_hPrinter, key);
        for (int i = 0; i < c.others; ++i) Put(L"S" + std::to_wstring(i));
        Rows({});
        lstrcpyW(m_store.m_szNewShortcutName, L"Late");
        ASSERT_TRUE(m_store.BSaveShortcut(&m_context, m_parent, &m_core, FALSE, nullptr));
        if (c.behind) Put(c.behind);
        const std::vector<BYTE> before = Stored(L"Late");
        BoxAnswers boxes(c.answer);
        EXPECT_EQ(c.result, m_store.ESaveShortcut(&m_context, m_parent, ours, &m_core));
        ASSERT_EQ(1u, boxes.texts.size());
        EXPECT_EQ(0u, boxes.texts[0].find(c.box));
        const bool stored = c.result == ZQStoreOutcome::kStored;
        EXPECT_EQ(stored ? Image(ours) : before, Stored(L"Late"));
        EXPECT_EQ(stored, m_context.pQuickSets->PFindEntry(L"Late") != nullptr) << "its quick set with it";
    }
}

TEST_F(ShortcutStore, NameDialogAsksForAName) {
    Rows({});
    for (bool ok : {true, false}) {
        lstrcpyW(m_store.m_szNewShortcutName, L"   ");
        for (HWND button : m_buttons) EnableWindow(button, TRUE);
        CZQNameDlg names(Resources());
        const INT_PTR result = Modal([&] { return m_store.BSaveShortcut(&m_context, m_parent, &m_core, FALSE, &names); },
                                     [&](HWND dlg) {
                                         HWND edit = GetDlgItem(dlg, IDC_TXT_PRESET_NAME);
                                         EXPECT_EQ(81, static_cast<int>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0)));
                                         for (const auto& [text, offered] :
                                              {std::pair<PCWSTR, bool>{L"", false}, {L"  ", false},
                                               {L"Type new shortcut name here", false}, {L"Plans", true}}) {
                                             SetWindowTextW(edit, text);
                                             Notice(dlg, IDC_TXT_PRESET_NAME, EN_CHANGE);
                                             EXPECT_EQ(offered, IsWindowEnabled(GetDlgItem(dlg, IDOK)) != FALSE) << text;
                                         }
                                         Click(dlg, ok ? IDOK : IDCANCEL);
                                     });
        EXPECT_EQ(ok, result != FALSE);
        EXPECT_STREQ(ok ? L"Plans" : L"   ", m_store.m_szNewShortcutName);
        // Save As and Delete wait for the stored row after a name was given.
        EXPECT_EQ(!ok, IsWindowEnabled(m_buttons[0]) || IsWindowEnabled(m_buttons[1]));
    }
}

TEST_F(ShortcutStore, DeleteAndRewriteTouchOnlyWhatTheUserMay) {
    Put(L"Shared");
    Put(L"Shared", true);
    Put(L"Own", true);
    Restrict(true);
    EXPECT_EQ(ZQStoreOutcome::kStored, m_store.EDeleteShortcut(&m_context, L"Shared"));
    EXPECT_EQ(ZQStoreOutcome::kStored, m_store.EDeleteShortcut(&m_context, L"Own"));
    EXPECT_FALSE(Stored(L"Shared").empty()) << "the printer's shortcut stays for a restricted user";
    EXPECT_TRUE(Stored(L"Shared", true).empty());
    EXPECT_TRUE(Stored(L"Own", true).empty());
    Restrict(false);
    EXPECT_EQ(ZQStoreOutcome::kStored, m_store.EDeleteShortcut(&m_context, L"Shared"));
    EXPECT_TRUE(Stored(L"Shared").empty());

    // The rewrite writes back only the rows it read: not the types, the customised row or a row
    // without its value, and nothing for a restricted user; a row stored as it is stays untouched.
    Put(L"A");
    Rows({L"A", L"Ghost", L"Customized Settings"});
    const std::vector<BYTE> before = Stored(L"A");
    for (bool restricted : {true, false}) {
        Restrict(restricted);
        const int writes = m_printer.CallCount(MemCall::SetPrinterDataEx);
        m_store.VRewriteStoredShortcuts(&m_context, m_parent);
        EXPECT_EQ(0, m_printer.CallCount(MemCall::SetPrinterDataEx) - writes);
    }
    EXPECT_EQ(before, Stored(L"A"));
    WCHAR text[256] = L"a";
    m_store.VGetShortcutText(&m_context, text);
    EXPECT_STREQ(L"Photo", text);
}

TEST_F(ShortcutStore, FeatureSlotsAndLocks) {
    const struct {
        const wchar_t* keyword;
        int slot;  // -1: no slot
    } cases[] = {{L"pagesize", 2}, {L"PaperSize", -1}, {L"JCLZQPrintInGrayScale", 5}, {L"Unknown", -1}};
    for (const auto& c : cases) {
        std::vector<int> expected(std::begin(m_slots), std::end(m_slots));
        if (c.slot >= 0) expected[c.slot] = 7;
        m_store.VSetFeatureSlot(c.keyword, 7);
        EXPECT_EQ(expected, std::vector<int>(std::begin(m_slots), std::end(m_slots))) << c.keyword;
        int value = -5;
        m_store.VGetFeatureSlot(&m_context, c.keyword, &value);
        EXPECT_EQ(c.slot >= 0 ? 7 : -5, value) << c.keyword;
    }
    // An empty slot leaves the caller's value, except for the copies.
    int value = -5;
    m_store.VGetFeatureSlot(&m_context, L"MediaType", &value);
    EXPECT_EQ(-5, value);
    m_store.VGetFeatureSlot(&m_context, L"Copies", &value);
    EXPECT_EQ(CZQShortcutStore::kNoSlotValue, value);

    m_printer.PutString(L"DMCLockData\\Printing", L"MediaType", L"LOCK");
    m_printer.PutString(L"DMCLockData\\Printing", L"Duplex", L"Unlocked");
    m_store.VReadLocks(&m_context);
    m_printer.PutString(L"DMCLockData\\Printing", L"MediaType", L"");
    m_store.VReadLocks(&m_context);
    EXPECT_TRUE(m_store.m_bMediaTypeLocked) << "locks are only ever set";
    EXPECT_FALSE(m_store.m_bDuplexLocked);
}

TEST_F(ShortcutStore, NothingHappensWithoutThePrinter) {
    Rows({});
    lstrcpyW(m_store.m_szNewShortcutName, L"New");
    m_printer.FailCall(MemCall::OpenPrinter, ERROR_ACCESS_DENIED);
    BoxAnswers boxes;
    SetLastError(0);
    EXPECT_FALSE(m_store.BSaveShortcut(&m_context, m_parent, &m_core, FALSE, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    m_store.VWriteShortcut(&m_context, Record(L"New", L"Photo"));
    m_printer.FailCall(MemCall::OpenPrinter, 0);
    EXPECT_TRUE(Stored(L"New").empty());
    EXPECT_TRUE(boxes.texts.empty());
}

}  // namespace
