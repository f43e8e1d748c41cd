// The printing-shortcut store on the in-memory printer, with the roll sample's document types: records
// written and read back byte for byte in the printer's data and in a restricted user's key, the limit
// of 25, the name check's questions and refusals, the name dialog, deletion, the rewrite, the feature
// slots and the administrator's locks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commontest.h"
#include "pagefixture.h"
#include "pages/shortcuts/zqshortcutstore.h"
#include "res/zqquicksetids.h"

namespace {

using zqspool::MemCall;

constexpr WCHAR kGuid[] = L"{5A510063-4E2B-4C6A-9D3E-17F0A2B3C4D6}";
const std::wstring kUserPool = std::wstring(L"Software\\Quorvane\\") + kGuid + L"\\ZQPresetRoot\\CustomShortcutPoolData";
const std::wstring kPool = L"ZQPresetRoot\\CustomShortcutPoolData";
const std::vector<std::wstring> kTypes = {L"Technical Drawings", L"Photo", L"Posters and Banners", L"Everyday Printing"};

class ShortcutStore : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Quorvane\\") + kGuid).c_str());
        m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        BuildPage(std::make_unique<CZQTabBase>());
        m_rules->VLoadResourceModule(m_hPrinter);
        ASSERT_TRUE(m_rules->Parser().BLoad(zqtest::BesideExe(L"zqroll.xml").c_str()));
        m_rules->Parser().VSetLoaded(TRUE);
        m_list = CreateWindowExW(0, L"LISTBOX", nullptr, WS_CHILD | LBS_HASSTRINGS, 0, 0, 200, 200, m_parent, nullptr,
                                 nullptr, nullptr);
        for (int i = 0; i < 2; ++i)
            m_buttons[i] = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 0, 0, 10, 10, m_parent, nullptr, nullptr, nullptr);
        for (int& slot : m_slots) slot = CZQShortcutStore::kNoSlotValue;
        m_store.VBind(nullptr, m_host.Param(), nullptr);
        m_store.VLoadResourceModule(m_hPrinter);
        Restrict(false);
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Quorvane\\") + kGuid).c_str());
        PageFixture::TearDown();
    }

    void Restrict(bool on) {
        m_printer.SetRestrictedUser(on);
        ShortcutStoreBinding binding;
        binding.hList = m_list;
        binding.hSaveAs = m_buttons[0];
        binding.hDelete = m_buttons[1];
        binding.bRestrictedUser = on;
        binding.pszCustomizedText = L"Customized Settings";
        binding.pszKwPaperSize = L"PageSize";
        binding.pszKwOrientation = L"ZQOrientation";
        binding.pszKwInputBin = L"InputSlot";
        binding.pszKwGrayScale = L"JCLZQPrintInGrayScale";
        binding.panFeatureSlots = m_slots;
        binding.pPublicDM = &m_public;
        m_store.VBindPage(binding);
    }
    // The list: the document types, then these rows.
    void Rows(const std::vector<std::wstring>& rows) {
        SendMessageW(m_list, LB_RESETCONTENT, 0, 0);
        for (const std::vector<std::wstring>* part : {&kTypes, &rows})
            for (const std::wstring& row : *part) SendMessageW(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    // A record of one media-type feature whose second option has no name.
    static ShortcutRecord Record(const wchar_t* name, const wchar_t* docType) {
        ShortcutRecord r = {};
        lstrcpyW(r.szName, name);
        lstrcpyW(r.szDocType, docType);
        r.dwBitmapId = 652;
        return r;
    }
    std::vector<BYTE> Image(const ShortcutRecord& r) {
        CZQLocalPtr<BYTE> image;
        const DWORD size = CZQShortcutStore::DWSerializeShortcut(image.Put(), r);
        return std::vector<BYTE>(image.Get(), image.Get() + size);
    }
    void PutPrinter(const std::wstring& name) {
        const std::vector<BYTE> v = Image(Record(name.c_str(), L"Photo"));
        m_printer.PutValue(kPool, name, REG_BINARY, v.data(), static_cast<DWORD>(v.size()));
    }
    void PutUser(const std::wstring& name) {
        const std::vector<BYTE> v = Image(Record(name.c_str(), L"Photo"));
        RegSetKeyValueW(HKEY_CURRENT_USER, kUserPool.c_str(), name.c_str(), REG_BINARY, v.data(), static_cast<DWORD>(v.size()));
    }
    std::vector<BYTE> Printer(const std::wstring& name) {
        std::vector<BYTE> data;
        m_printer.GetValue(kPool, name, nullptr, &data);
        return data;
    }
    std::vector<BYTE> User(const std::wstring& name) {
        DWORD cb = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, kUserPool.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, &cb) != ERROR_SUCCESS)
            return {};
        std::vector<BYTE> data(cb);
        RegGetValueW(HKEY_CURRENT_USER, kUserPool.c_str(), name.c_str(), RRF_RT_ANY, nullptr, data.data(), &cb);
        return data;
    }

    CZQShortcutStore m_store;
    HWND m_list = nullptr;
    HWND m_buttons[2] = {};
    int m_slots[CZQShortcutStore::kFeatureSlots] = {};
};

TEST_F(ShortcutStore, WritesAndReadsBackInBothStores) {
    const wchar_t* keys[] = {L"Glossy", L"Matte"};
    ShortcutFeatureEntry media = {};
    lstrcpyW(media.szKeyword, L"MediaType");
    media.nPairs = 2;
    PWSTR names[2] = {const_cast<PWSTR>(L"Glossy Photo"), nullptr};
    media.ppszOptionKeywords = const_cast<PWSTR*>(keys);
    media.ppszOptionNames = names;
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
        EXPECT_EQ(image, restricted ? User(L"Plans") : Printer(L"Plans"));
        ShortcutRecord back = {};
        lstrcpyW(back.szName, L"pLANS");
        ASSERT_TRUE(m_store.BReadShortcut(&m_context, &back));
        EXPECT_STREQ(L"Plans", back.szName);
        EXPECT_STREQ(L"Technical Drawings", back.szDocType);
        EXPECT_EQ(652u, back.dwBitmapId);
        ASSERT_EQ(1, back.nFeatures);
        EXPECT_STREQ(L"MediaType", back.ppFeatures[0]->szKeyword);
        ASSERT_EQ(2, back.ppFeatures[0]->nPairs);
        EXPECT_STREQ(L"Matte", back.ppFeatures[0]->ppszOptionKeywords[1]);
        EXPECT_STREQ(L"", back.ppFeatures[0]->ppszOptionNames[1]);
        CZQShortcutStore::VFreeShortcut(&back);
        EXPECT_EQ(nullptr, back.ppFeatures);
        EXPECT_STREQ(L"", back.szName);
        EXPECT_STREQ(L"Technical Drawings", back.szDocType) << "the document type stays";
    }
    // A restricted user reads the printer's own first; a value cut short is no shortcut and leaves
    // the record as it was.
    PutPrinter(L"Shared");
    ShortcutRecord shared = {};
    lstrcpyW(shared.szName, L"shared");
    EXPECT_TRUE(m_store.BReadShortcut(&m_context, &shared));
    EXPECT_STREQ(L"Photo", shared.szDocType);
    CZQShortcutStore::VFreeShortcut(&shared);
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
        for (int i = 0; i < c.printer; ++i) PutPrinter(L"P" + std::to_wstring(i));
        for (int i = 0; i < c.user; ++i) PutUser(L"U" + std::to_wstring(i));
        Restrict(c.restricted);
        Rows({});
        lstrcpyW(m_store.m_szNewShortcutName, L"New");
        BoxAnswers boxes;
        EXPECT_EQ(c.saved, m_store.BSaveShortcut(&m_context, m_parent, &m_core, FALSE) != FALSE);
        if (c.saved) {
            EXPECT_TRUE(boxes.texts.empty());
        } else {
            ASSERT_EQ(1u, boxes.texts.size());
            EXPECT_EQ(0u, boxes.texts[0].find(L"The maximum number of Printing Shortcuts"));
            EXPECT_EQ(L"Printing shortcut:", boxes.captions[0]);
        }
    }
}

TEST_F(ShortcutStore, NameCheckAsksRefusesOrGoesOn) {
    PutPrinter(L"Mine");
    PutPrinter(L"Shared");
    PutUser(L"Own");
    Rows({L"Mine", L"Shared", L"Own", L"Customized Settings"});
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

TEST_F(ShortcutStore, NameDialogAsksForAName) {
    Rows({});
    for (bool ok : {true, false}) {
        lstrcpyW(m_store.m_szNewShortcutName, L"   ");
        for (HWND button : m_buttons) EnableWindow(button, TRUE);
        const INT_PTR result = Modal([&] { return m_store.BSaveShortcut(&m_context, m_parent, &m_core, FALSE); },
                                     [&](HWND dlg) {
                                         HWND edit = GetDlgItem(dlg, IDC_TXT_PRESET_NAME);
                                         WCHAR caption[64] = {};
                                         GetWindowTextW(dlg, caption, 64);
                                         EXPECT_STREQ(L"Printing shortcut:", caption);
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
        EXPECT_EQ(!ok, IsWindowEnabled(m_buttons[0]) != FALSE);
        EXPECT_EQ(!ok, IsWindowEnabled(m_buttons[1]) != FALSE);
    }
}

TEST_F(ShortcutStore, DeleteLeavesThePrintersShortcutsToRestrictedUsers) {
    PutPrinter(L"Shared");
    PutUser(L"Shared");
    PutUser(L"Own");
    Restrict(true);
    m_store.VDeleteShortcut(&m_context, L"Shared");
    m_store.VDeleteShortcut(&m_context, L"Own");
    EXPECT_FALSE(Printer(L"Shared").empty());
    EXPECT_TRUE(User(L"Shared").empty());
    EXPECT_TRUE(User(L"Own").empty());
    Restrict(false);
    m_store.VDeleteShortcut(&m_context, L"Shared");
    EXPECT_TRUE(Printer(L"Shared").empty());
}

TEST_F(ShortcutStore, RewriteWritesBackOnlyWhatItRead) {
    PutPrinter(L"A");
    Rows({L"A", L"Ghost", L"Customized Settings"});
    const std::vector<BYTE> before = Printer(L"A");
    for (bool restricted : {true, false}) {
        Restrict(restricted);
        const int writes = m_printer.CallCount(MemCall::SetPrinterDataEx);
        m_store.VRewriteStoredShortcuts(&m_context, m_parent);
        EXPECT_EQ(restricted ? 0 : 1, m_printer.CallCount(MemCall::SetPrinterDataEx) - writes);
    }
    EXPECT_EQ(before, Printer(L"A"));
    EXPECT_TRUE(Printer(L"Ghost").empty());
    EXPECT_TRUE(Printer(L"Customized Settings").empty());

    WCHAR text[256] = L"a";
    m_store.VGetShortcutText(&m_context, text);
    EXPECT_STREQ(L"Photo", text);
    lstrcpyW(text, L"Ghost");
    m_store.VGetShortcutText(&m_context, text);
    EXPECT_STREQ(L"Ghost", text);
}

TEST_F(ShortcutStore, FeatureSlotsAndLocks) {
    m_slots[9] = CZQShortcutStore::kNoSlotValue;
    const struct {
        const wchar_t* keyword;
        int slot;  // -1: no slot
    } cases[] = {{L"pagesize", 2}, {L"PaperSize", -1}, {L"JCLZQPrintInGrayScale", 5}, {L"ZQPhotoFix", 14},
                 {L"Unknown", -1}};
    for (const auto& c : cases) {
        int before[CZQShortcutStore::kFeatureSlots];
        std::copy(std::begin(m_slots), std::end(m_slots), before);
        m_store.VSetFeatureSlot(c.keyword, 7);
        for (int i = 0; i < CZQShortcutStore::kFeatureSlots; ++i)
            EXPECT_EQ(i == c.slot ? 7 : before[i], m_slots[i]) << c.keyword << " slot " << i;
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

    const PCWSTR strings[] = {L"Letter", nullptr, L"A4"};
    EXPECT_EQ(2, CZQShortcutStore::IFindString(3, strings, L"a4"));
    EXPECT_EQ(0, CZQShortcutStore::IFindString(3, strings, L"Tabloid"));
    EXPECT_EQ(0, CZQShortcutStore::IFindString(3, strings, nullptr));

    m_printer.PutString(L"DMCLockData\\Printing", L"MediaType", L"LOCK");
    m_printer.PutString(L"DMCLockData\\Printing", L"Duplex", L"Unlocked");
    m_printer.PutString(L"DMCLockData\\Printing", L"PrintColorAsGray", L"Lock");
    m_store.VReadLocks(&m_context);
    m_printer.PutString(L"DMCLockData\\Printing", L"MediaType", L"");
    m_store.VReadLocks(&m_context);
    EXPECT_TRUE(m_store.m_bMediaTypeLocked) << "locks are only ever set";
    EXPECT_FALSE(m_store.m_bDuplexLocked);
    EXPECT_TRUE(m_store.m_bGrayscaleLocked);
}

TEST_F(ShortcutStore, NothingHappensWithoutThePrinter) {
    Rows({});
    lstrcpyW(m_store.m_szNewShortcutName, L"New");
    m_printer.FailCall(MemCall::OpenPrinter, ERROR_ACCESS_DENIED);
    BoxAnswers boxes;
    SetLastError(0);
    EXPECT_FALSE(m_store.BSaveShortcut(&m_context, m_parent, &m_core, FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    m_store.VWriteShortcut(&m_context, Record(L"New", L"Photo"));
    m_printer.FailCall(MemCall::OpenPrinter, 0);
    EXPECT_TRUE(Printer(L"New").empty());
    EXPECT_TRUE(boxes.texts.empty());
    PageContext none = {};
    EXPECT_FALSE(m_store.BCheckShortcutName(&none, m_parent));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
}

}  // namespace
