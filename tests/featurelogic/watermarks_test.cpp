// The watermark manager and its pool on the in-memory printer: reading (the pool's limit, values of
// any name, records that are none), saving from index 0 (merged with the pool as stored now, refused
// writes and removals),
// a restricted user's own pool, the values of earlier versions, the " [none]" record of another
// language, the defaults by language, and the names new watermarks get.
#include <gtest/gtest.h>

#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "commontest.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zqwatermarks.h"
#include "formats/zquidevmode.h"
#include "settings/zqdriverdata.h"
#include "settings/zqstoreedit.h"

namespace {

constexpr wchar_t kPoolKey[] = L"ZQPresetRoot\\WatermarkPoolData";
constexpr wchar_t kGuid[] = L"{6F1A2B3C-4D5E-4F60-8172-93A4B5C6D7E8}";
constexpr wchar_t kUserKey[] = L"Software\\Quorvane\\{6F1A2B3C-4D5E-4F60-8172-93A4B5C6D7E8}";
constexpr wchar_t kUserPoolKey[] =
    L"Software\\Quorvane\\{6F1A2B3C-4D5E-4F60-8172-93A4B5C6D7E8}\\ZQPresetRoot\\WatermarkPoolData";

std::vector<BYTE> RecordBytes(const std::wstring& name, DWORD size = 100, const std::wstring& font = L"Arial") {
    ZQWatermarkRecord r = {};
    wcsncpy(r.szName, name.c_str(), 255);
    wcsncpy(r.szText, name.c_str(), 255);
    wcsncpy(r.szFont, font.c_str(), 255);
    r.dwSize = size;
    r.dwAngle = 45;
    r.dwAngleMode = 2;
    std::vector<BYTE> bytes(zqwm::kRecordBytes);
    zqwm::Write(r, bytes.data());
    return bytes;
}

class Watermarks : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.Install();
        m_h = m_printer.Open();
        ASSERT_TRUE(CZQCommon().BFillDefaultDevmode(&m_dm, nullptr));
        m_pub.dmSize = sizeof m_pub;
        m_param.cbSize = sizeof m_param;
        m_param.hPrinter = m_h;
        m_param.pPrinterName = const_cast<PWSTR>(L"ZQ Memory Printer");
        m_param.pOEMDM = &m_dm;
        m_param.pPublicDM = &m_pub;
        m_wm.VBind(nullptr, &m_param, nullptr);
        m_wm.VLoadResourceModule(m_h);
    }
    void TearDown() override {
        if (m_h) zqspool::Spooler().ClosePrinter(m_h);
    }
    // The restricted user: his handle may not write the printer's data, and he has his own key.
    void Restrict() {
        m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        zqspool::Spooler().ClosePrinter(m_h);
        m_printer.SetRestrictedUser(true);
        m_h = m_printer.Open(PRINTER_ACCESS_USE);
        m_param.hPrinter = m_h;
    }
    void Store(const std::wstring& value, const std::wstring& name, DWORD size = 100) {
        const std::vector<BYTE> bytes = RecordBytes(name, size);
        m_printer.PutValue(kPoolKey, value, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    static void StoreForUser(const std::wstring& value, const std::wstring& name) {
        const std::vector<BYTE> bytes = RecordBytes(name);
        RegSetKeyValueW(HKEY_CURRENT_USER, kUserPoolKey, value.c_str(), REG_BINARY, bytes.data(),
                        static_cast<DWORD>(bytes.size()));
    }
    WatermarkEntry* Add(const std::wstring& name, DWORD flags = kWatermarkEditable) { return AddTo(m_wm, name, flags); }
    static WatermarkEntry* AddTo(CZQWatermarks& wm, const std::wstring& name, DWORD flags = kWatermarkEditable) {
        WatermarkEntry* e = CZQWatermarks::PNewEntry(wm.MainList());
        wcsncpy(e->szName, name.c_str(), 255);
        wcsncpy(e->szText, name.c_str(), 255);
        e->dwFlags = flags;
        return e;
    }
    std::vector<std::wstring> Names() {
        std::vector<std::wstring> out;
        for (const WatermarkEntry* e = m_wm.MainList().pHead; e; e = e->pNext) out.push_back(e->szName);
        return out;
    }
    // The stored pool: value name -> watermark name.
    std::map<std::wstring, std::wstring> StoredPool() {
        std::map<std::wstring, std::wstring> out;
        CZQPrinterDataList values;
        const HANDLE reader = m_printer.Open(PRINTER_ACCESS_USE);
        const BOOL listed = values.BRead(reader, kPoolKey);
        zqspool::Spooler().ClosePrinter(reader);
        if (!listed) return out;
        for (DWORD i = 0; i < values.Count(); ++i) {
            DWORD type = 0, cb = 0;
            const BYTE* data = values.Data(i, &type, &cb);
            ZQWatermarkRecord r = {};
            out[values.Name(i)] = data && zqwm::Read(data, cb, &r) ? r.szName : L"?";
        }
        return out;
    }
    // The size the record of that value holds; 0 when it holds none.
    DWORD StoredSize(const std::wstring& value) {
        std::vector<BYTE> data;
        ZQWatermarkRecord r = {};
        return m_printer.GetValue(kPoolKey, value, nullptr, &data) && zqwm::Read(data.data(), data.size(), &r) ? r.dwSize
                                                                                                              : 0;
    }
    static std::map<std::wstring, std::wstring> UserPool() {
        std::map<std::wstring, std::wstring> out;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kUserPoolKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
        for (DWORD i = 0;; ++i) {
            WCHAR name[260];
            BYTE data[4096];
            DWORD cch = 260, cb = sizeof data, type = 0;
            if (RegEnumValueW(key, i, name, &cch, nullptr, &type, data, &cb) != ERROR_SUCCESS) break;
            ZQWatermarkRecord r = {};
            out[name] = zqwm::Read(data, cb, &r) ? r.szName : L"?";
        }
        RegCloseKey(key);
        return out;
    }

    zqspool::CZQMemoryPrinter m_printer{zqtest::ExeDirPrinter()};
    HANDLE m_h = nullptr;
    ZQUIDevmode m_dm = {};
    DEVMODEW m_pub = {};
    OEMCUIPPARAM m_param = {};
    CZQWatermarks m_wm;
};

// The first 31 values in the spooler's order, whatever their names; a value that is no record
// (a text, one cut short) is dropped but counted; a restricted user sees the shared ones read-only
// and, once 31 were taken, none of his own.
TEST_F(Watermarks, ReadsAtMostThePoolsLimitOfAnyName) {
    for (int i = 0; i < 40; ++i) {
        WCHAR value[8];
        swprintf(value, 8, L"V%02d", i);
        Store(value, value);
    }
    m_printer.PutString(kPoolKey, L"V03", L"a text");
    const BYTE cut[10] = {'V', 0, '0', 0, '5', 0, 0, 0, 0, 'V'};
    m_printer.PutValue(kPoolKey, L"V05", REG_BINARY, cut, sizeof cut);
    Store(L"V06", L" [none]");
    EXPECT_TRUE(m_wm.BReadPool(&m_param, FALSE));
    std::vector<std::wstring> names = Names();
    ASSERT_EQ(29u, names.size());
    EXPECT_EQ(L"V00", names.front());
    EXPECT_EQ(L"V30", names.back());
    for (const WatermarkEntry* e = m_wm.MainList().pHead; e; e = e->pNext) EXPECT_EQ(kWatermarkEditable, e->dwFlags);

    zqtest::CScratchKey user(HKEY_CURRENT_USER, kUserKey);
    Restrict();
    StoreForUser(L"WatermarkPool:0", L"Own");
    CZQWatermarks::VFreeEntryList(m_wm.MainList());
    EXPECT_TRUE(m_wm.BReadPool(&m_param, TRUE));
    EXPECT_EQ(29, m_wm.ICountEntries()) << "no room for his own";
    EXPECT_EQ(kWatermarkEditable, m_wm.PFindByName(L" [none]")->dwFlags) << "every user may change it";
    EXPECT_EQ(kWatermarkReadOnly, m_wm.PFindByName(L"V00")->dwFlags);
    EXPECT_FALSE(m_wm.BReadPool(nullptr, FALSE));
}

// A pool as other programs left it is read whole, in list order (indexes by their numbers, values of
// other names after them). A save merges this list's changes with the pool as stored at that
// moment: what another sheet or program changed, added or removed meanwhile stays so (nothing set
// back, nothing brought back), and writes the merged list from index 0 without gaps, one record a
// name, every other value removed; nothing is written when nothing changed here. A refused write
// leaves the pool as it was and names what was not stored; a refused removal (a spooler that
// deletes nothing, such as Wine's) costs no other change: they go where their values stand, and the
// watermark deleted here stays stored and listed.
TEST_F(Watermarks, SaveMergesWithThePoolAsStoredNowFromIndexZero) {
    Store(L"Foreign", L"Foreign");
    for (const wchar_t* name : {L"A", L"B", L"C", L"D"})
        Store(L"WatermarkPool:" + std::to_wstring(name[0] - L'A'), name);
    Store(L"WatermarkPool:7", L"Stale");
    Store(L"WatermarkPool:12", L"Twelve");
    Store(L"WatermarkPool:13", L"b");  // a second record of B's name
    EXPECT_FALSE(m_wm.BSavePool(&m_param)) << "an empty list stores nothing";
    ASSERT_TRUE(m_wm.BReadPool(&m_param, FALSE));
    EXPECT_EQ((std::vector<std::wstring>{L"A", L"B", L"C", L"D", L"Stale", L"Twelve", L"b", L"Foreign"}), Names());
    CZQWatermarks other;
    other.VBind(nullptr, &m_param, nullptr);
    ASSERT_TRUE(other.BReadPool(&m_param, FALSE));
    auto writes = [&] { return m_printer.CallCount(zqspool::MemCall::SetPrinterDataEx); };

    // Behind this sheet another program changes B, another sheet deletes C and adds Two.
    Store(L"WatermarkPool:1", L"B", 72);
    other.VRemoveEntry(other.PFindByName(L"C"));
    AddTo(other, L"Two");
    EXPECT_TRUE(other.BSavePool(&m_param));
    int before = writes();
    EXPECT_TRUE(m_wm.BSavePool(&m_param));
    EXPECT_EQ(before, writes()) << "nothing changed here";
    const std::map<std::wstring, std::wstring> meanwhile = {
        {L"WatermarkPool:0", L"A"},      {L"WatermarkPool:1", L"B"},       {L"WatermarkPool:2", L"D"},
        {L"WatermarkPool:3", L"Stale"}, {L"WatermarkPool:4", L"Twelve"}, {L"WatermarkPool:5", L"Foreign"},
        {L"WatermarkPool:6", L"Two"}};
    EXPECT_EQ(meanwhile, StoredPool());
    EXPECT_EQ(72u, StoredSize(L"WatermarkPool:1"));

    // This sheet changes D, adds One, deletes A and Foreign; the other sheet, which still lists them
    // as it read them, brings neither back.
    m_wm.PFindByName(L"D")->dwSize = 300;
    Add(L"One");
    m_wm.VRemoveEntry(m_wm.PFindByName(L"A"));
    m_wm.VRemoveEntry(m_wm.PFindByName(L"Foreign"));
    EXPECT_TRUE(m_wm.BSavePool(&m_param));
    const std::map<std::wstring, std::wstring> after = {
        {L"WatermarkPool:0", L"B"},      {L"WatermarkPool:1", L"D"},   {L"WatermarkPool:2", L"Stale"},
        {L"WatermarkPool:3", L"Twelve"}, {L"WatermarkPool:4", L"One"}, {L"WatermarkPool:5", L"Two"}};
    EXPECT_EQ(after, StoredPool());
    EXPECT_EQ(300u, StoredSize(L"WatermarkPool:1"));
    EXPECT_EQ(72u, StoredSize(L"WatermarkPool:0"));
    EXPECT_TRUE(other.BSavePool(&m_param));
    EXPECT_EQ(after, StoredPool());

    // The printer's data is writable; then every pool value, or every removal, is refused.
    m_wm.VRemoveEntry(m_wm.PFindByName(L"One"));
    m_wm.PFindByName(L"D")->dwSize = 200;
    std::vector<std::wstring> names;
    m_printer.FailCall(zqspool::MemCall::SetPrinterDataEx, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(m_wm.BSavePool(&m_param, &names));
    EXPECT_EQ(ZQStoreOutcome::kRefused, m_wm.ELastOutcome());
    m_printer.FailCall(zqspool::MemCall::SetPrinterDataEx, 0, 0);
    EXPECT_EQ((std::vector<std::wstring>{L"D", L"One"}), names) << "what was not stored";
    EXPECT_EQ(after, StoredPool());
    EXPECT_EQ(300u, StoredSize(L"WatermarkPool:1"));
    m_printer.FailCall(zqspool::MemCall::DeletePrinterDataEx, ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(m_wm.BSavePool(&m_param, &names));
    m_printer.FailCall(zqspool::MemCall::DeletePrinterDataEx, 0, 0);
    EXPECT_EQ(std::vector<std::wstring>{L"One"}, names) << "what stays stored";
    EXPECT_EQ(after, StoredPool());
    EXPECT_EQ(200u, StoredSize(L"WatermarkPool:1"));
    EXPECT_NE(nullptr, m_wm.PFindByName(L"One")) << "listed again";
    EXPECT_TRUE(m_wm.BSavePool(&m_param));
    EXPECT_EQ(after, StoredPool()) << "no second try";
    CZQStoreEdit edit(m_h, nullptr, FALSE);
    EXPECT_FALSE(CZQWatermarks::BWriteEntry(nullptr, edit, 0));
    EXPECT_FALSE(m_wm.BSavePool(nullptr));
}

// Every save leaves the pool as "WatermarkPool:0".."n-1" in list order, an opening's too, even
// when no record differs; where removals are refused (Wine's spooler), the changed watermark goes
// over its own value and none is stored twice.
TEST_F(Watermarks, ASaveLeavesThePoolInItsFormAndNothingTwice) {
    using Pool = std::map<std::wstring, std::wstring>;
    const struct {
        const char* what;
        bool opening;  // else a sheet changes B's size and saves, every removal refused
        Pool stored;   // beside what an opening stores first
        Pool expected;
    } cases[] = {
        {"an opening over foreign names and stale indexes", true,
         {{L"Foo", L"Foo"}, {L"WatermarkPool:9", L"Stale"}},
         {{L"WatermarkPool:0", L" [none]"}, {L"WatermarkPool:1", L"Confidential"}, {L"WatermarkPool:2", L"Draft"},
          {L"WatermarkPool:3", L"SAMPLE"}, {L"WatermarkPool:4", L"Stale"}, {L"WatermarkPool:5", L"Foo"}}},
        {"removals refused over a gap", false,
         {{L"WatermarkPool:0", L"A"}, {L"WatermarkPool:1", L"B"}, {L"WatermarkPool:2", L"C"},
          {L"WatermarkPool:3", L"D"}, {L"WatermarkPool:7", L"Imported"}},
         {{L"WatermarkPool:0", L"A"}, {L"WatermarkPool:1", L"B"}, {L"WatermarkPool:2", L"C"},
          {L"WatermarkPool:3", L"D"}, {L"WatermarkPool:7", L"Imported"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        zqspool::Spooler().DeletePrinterKeyW(m_h, kPoolKey);
        CZQWatermarks first, sheet;
        for (CZQWatermarks* wm : {&first, &sheet}) {
            wm->VBind(nullptr, &m_param, nullptr);
            wm->VLoadResourceModule(m_h);
        }
        if (c.opening) {
            ASSERT_TRUE(first.BCreateDefaults(&m_param, FALSE));
        }
        for (const auto& [value, name] : c.stored) Store(value, name);
        if (c.opening) {
            EXPECT_TRUE(sheet.BCreateDefaults(&m_param, FALSE));
        } else {
            ASSERT_TRUE(sheet.BReadPool(&m_param, FALSE));
            sheet.PFindByName(L"B")->dwSize = 250;
            m_printer.FailCall(zqspool::MemCall::DeletePrinterDataEx, ERROR_INVALID_PARAMETER);
            EXPECT_TRUE(sheet.BSavePool(&m_param));
            m_printer.FailCall(zqspool::MemCall::DeletePrinterDataEx, 0, 0);
            EXPECT_EQ(250u, StoredSize(L"WatermarkPool:1"));
        }
        EXPECT_EQ(c.expected, StoredPool());
    }
}

// Watermarks stored behind the sheet since the reading join the list, but not one it deleted:
// their names are taken for new watermarks, and a save stores them as they are, in list order.
TEST_F(Watermarks, WatermarksStoredSinceTheReadingJoinTheList) {
    Store(L"WatermarkPool:0", L"A");
    Store(L"WatermarkPool:1", L"B");
    ASSERT_TRUE(m_wm.BReadPool(&m_param, FALSE));
    m_wm.VRemoveEntry(m_wm.PFindByName(L"B"));
    Store(L"WatermarkPool:2", L"Memo", 33);
    m_wm.VTakeNewlyStored(&m_param);
    EXPECT_EQ((std::vector<std::wstring>{L"A", L"Memo"}), Names());
    EXPECT_TRUE(m_wm.BNameTaken(L"memo", nullptr));
    EXPECT_TRUE(m_wm.BSavePool(&m_param));
    EXPECT_EQ((std::map<std::wstring, std::wstring>{{L"WatermarkPool:0", L"A"}, {L"WatermarkPool:1", L"Memo"}}),
              StoredPool());
    EXPECT_EQ(33u, StoredSize(L"WatermarkPool:1"));
}

// A diagonal watermark is stored at the angle it holds, and one stored at the old fixed 52 reads as
// before; its angle alone following another paper rewrites nothing.
TEST_F(Watermarks, ADiagonalWatermarkIsStoredAtItsAngle) {
    ZQWatermarkRecord r = {};
    wcsncpy(r.szName, L"Diag", 255);
    r.dwSize = 100;
    r.dwAngle = 52;
    std::vector<BYTE> bytes(zqwm::kRecordBytes);
    zqwm::Write(r, bytes.data());
    m_printer.PutValue(kPoolKey, L"WatermarkPool:0", REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    auto stored = [&] {
        std::vector<BYTE> data;
        ZQWatermarkRecord out = {};
        EXPECT_TRUE(m_printer.GetValue(kPoolKey, L"WatermarkPool:0", nullptr, &data) &&
                    zqwm::Read(data.data(), data.size(), &out));
        return std::to_wstring(out.dwAngleMode) + L"/" + std::to_wstring(out.dwAngle) + L"/" +
               std::to_wstring(out.dwSize);
    };
    ASSERT_TRUE(m_wm.BReadPool(&m_param, FALSE));
    WatermarkEntry* e = m_wm.PFindByName(L"Diag");
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(0u, e->dwAngleMode);
    EXPECT_EQ(52u, e->dwAngle);

    e->dwAngle = 37;
    EXPECT_TRUE(m_wm.BSavePool(&m_param));
    EXPECT_EQ(L"0/52/100", stored()) << "the angle alone changed";
    e->dwSize = 120;
    EXPECT_TRUE(m_wm.BSavePool(&m_param));
    EXPECT_EQ(L"0/37/120", stored());
}

// A restricted user's save keeps his pool in his own key from index 0: his listed watermarks but
// " [none]", then his earlier ones he did not delete, whether he still lists them or not (30 at
// most); reading it back hides his watermark of a shared one's name. The shared pool stays as it is.
TEST_F(Watermarks, ARestrictedUserKeepsHisOwnPool) {
    zqtest::CScratchKey user(HKEY_CURRENT_USER, kUserKey);
    Store(L"WatermarkPool:0", L" [none]");
    Store(L"WatermarkPool:1", L"Shared");
    Restrict();
    StoreForUser(L"WatermarkPool:0", L"Kept");
    StoreForUser(L"WatermarkPool:1", L"Gone");
    StoreForUser(L"WatermarkPool:2", L"Shared");
    EXPECT_TRUE(m_wm.BReadPool(&m_param, TRUE));
    EXPECT_EQ((std::vector<std::wstring>{L" [none]", L"Shared", L"Kept", L"Gone", L"Shared"}), Names());
    EXPECT_EQ(kWatermarkEditable | kWatermarkHidden, m_wm.MainList().pTail->dwFlags);
    EXPECT_EQ(1, m_wm.ICountHiddenEntries());

    m_wm.VRemoveEntry(m_wm.PFindByName(L"Kept"));  // left out of the list, not deleted: carried over
    m_wm.VRemoveEntry(m_wm.PFindByName(L"Gone"));
    m_wm.PNewDeletedName(L"Gone");
    Add(L"New");
    EXPECT_TRUE(m_wm.BSavePool(&m_param));
    EXPECT_EQ((std::map<std::wstring, std::wstring>{
                  {L"WatermarkPool:0", L"Shared"}, {L"WatermarkPool:1", L"New"}, {L"WatermarkPool:2", L"Kept"}}),
              UserPool());
    EXPECT_EQ((std::map<std::wstring, std::wstring>{{L"WatermarkPool:0", L" [none]"}, {L"WatermarkPool:1", L"Shared"}}),
              StoredPool());

    for (int i = 0; i < 35; ++i) Add(L"N" + std::to_wstring(i));
    EXPECT_TRUE(m_wm.BSavePool(&m_param));
    EXPECT_EQ(30u, UserPool().size());
}

// The values of earlier versions go as their count names them; one already missing is passed, a
// refused deletion stops and keeps the count for a later call.
TEST_F(Watermarks, ValuesOfEarlierVersionsGo) {
    auto put = [&](DWORD count) {
        m_printer.PutValue(L"PrinterDriverData", L"ZQWMREGDATA", REG_DWORD, &count, sizeof count);
        for (int i = 0; i < 4; ++i)
            if (i != 1) m_printer.PutString(L"PrinterDriverData", L"ZQWATERMARKDATA" + std::to_wstring(i), L"old");
    };
    auto has = [&](const wchar_t* name) { return m_printer.GetValue(L"PrinterDriverData", name, nullptr, nullptr); };
    put(3);
    m_printer.FailCall(zqspool::MemCall::DeletePrinterDataEx, ERROR_ACCESS_DENIED);
    CZQWatermarks::VRemoveLegacyData(&m_param);
    EXPECT_TRUE(has(L"ZQWMREGDATA"));
    EXPECT_TRUE(has(L"ZQWATERMARKDATA0"));
    m_printer.FailCall(zqspool::MemCall::DeletePrinterDataEx, 0, 0);
    CZQWatermarks::VRemoveLegacyData(&m_param);
    EXPECT_FALSE(has(L"ZQWMREGDATA"));
    EXPECT_FALSE(has(L"ZQWATERMARKDATA0"));
    EXPECT_FALSE(has(L"ZQWATERMARKDATA2"));
    EXPECT_TRUE(has(L"ZQWATERMARKDATA3")) << "beyond the count";
}

// Record 0 (value "WatermarkPool:0"), " [none]" in any language, goes over the entry read from it
// wherever the list holds it, named " [none]" of the current language with its stored look; a save
// follows only when it was renamed and the list holds more than that entry. A watermark of another
// name as record 0 is no " [none]" and stays as it is.
TEST_F(Watermarks, NoneRecordAfterALanguageChange) {
    EXPECT_FALSE(m_wm.BRefreshNoneEntry(m_h, L"ZQ Memory Printer", &m_dm, &m_pub)) << "an empty list";
    Add(L"Foo");
    EXPECT_FALSE(m_wm.BRefreshNoneEntry(m_h, L"ZQ Memory Printer", &m_dm, &m_pub)) << "nothing stored";
    const std::vector<BYTE> german = RecordBytes(L" [keine]", 77, L"Verdana");
    m_printer.PutValue(kPoolKey, L"WatermarkPool:0", REG_BINARY, german.data(), static_cast<DWORD>(german.size()));
    EXPECT_FALSE(m_wm.BRefreshNoneEntry(m_h, L"ZQ Memory Printer", &m_dm, &m_pub)) << "no entry of it";
    Add(L" [keine]");
    EXPECT_TRUE(m_wm.BRefreshNoneEntry(m_h, L"ZQ Memory Printer", &m_dm, &m_pub));
    EXPECT_EQ((std::vector<std::wstring>{L"Foo", L" [none]"}), Names()) << "the first entry stays";
    const WatermarkEntry& none = *m_wm.MainList().pTail;
    EXPECT_STREQ(L" [none]", none.szText);
    EXPECT_STREQ(L"Verdana", none.szFont);
    EXPECT_EQ(77u, none.dwSize);
    const std::vector<BYTE> english = RecordBytes(L" [none]", 77, L"Verdana");
    m_printer.PutValue(kPoolKey, L"WatermarkPool:0", REG_BINARY, english.data(), static_cast<DWORD>(english.size()));
    EXPECT_FALSE(m_wm.BRefreshNoneEntry(m_h, L"ZQ Memory Printer", &m_dm, &m_pub)) << "in this language already";
    Store(L"WatermarkPool:0", L"Bar");
    Add(L"Bar");
    EXPECT_FALSE(m_wm.BRefreshNoneEntry(m_h, L"ZQ Memory Printer", &m_dm, &m_pub)) << "another program's watermark";
    EXPECT_EQ((std::vector<std::wstring>{L"Foo", L" [none]", L"Bar"}), Names());

    // A sheet that read the record of the other language, beside a value another program named
    // otherwise, saves it renamed as index 0.
    m_printer.PutValue(kPoolKey, L"WatermarkPool:0", REG_BINARY, german.data(), static_cast<DWORD>(german.size()));
    Store(L"WatermarkPool:1", L"Memo");
    Store(L"Earlier", L"Earlier");
    CZQWatermarks sheet;
    sheet.VBind(nullptr, &m_param, nullptr);
    sheet.VLoadResourceModule(m_h);
    ASSERT_TRUE(sheet.BReadPool(&m_param, FALSE));
    ASSERT_TRUE(sheet.BRefreshNoneEntry(m_h, L"ZQ Memory Printer", &m_dm, &m_pub));
    EXPECT_TRUE(sheet.BSavePool(&m_param));
    EXPECT_EQ((std::map<std::wstring, std::wstring>{
                  {L"WatermarkPool:0", L" [none]"}, {L"WatermarkPool:1", L"Memo"}, {L"WatermarkPool:2", L"Earlier"}}),
              StoredPool());
}

// The defaults come first in the user's language with their sizes and face, whatever the pool
// stored under their names; stored watermarks of other names follow, the devmode's watermark over
// its entry, and the pool is saved: once per call, however often the sheet asks.
TEST_F(Watermarks, DefaultsByLanguageBeforeTheStoredOnes) {
    Store(L"WatermarkPool:0", L"Draft", 300);
    Store(L"WatermarkPool:1", L"Memo", 100);
    ZQCopyText(reinterpret_cast<PWSTR>(m_dm.szWmName), 256, L"Memo");
    m_dm.dwWmAngleMode = 2;
    m_dm.dwWmAngle = 30;
    m_dm.dwWmSize = 150;
    const struct {
        LANGID lang;
        const wchar_t* font;
        DWORD sizes[4];
    } cases[] = {
        {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), L"Arial", {80, 90, 220, 140}},
        {MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), L"MS UI Gothic", {80, 72, 72, 72}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang);
        zqtest::CUserLanguage language(c.lang);
        for (int call = 0; call < 2; ++call) EXPECT_TRUE(m_wm.BCreateDefaults(&m_param, FALSE));
        EXPECT_EQ((std::vector<std::wstring>{L" [none]", L"Confidential", L"Draft", L"SAMPLE", L"Memo"}), Names());
        int i = 0;
        for (const WatermarkEntry* e = m_wm.MainList().pHead; i < 4; e = e->pNext, ++i) {
            EXPECT_EQ(c.sizes[i], e->dwSize) << i;
            EXPECT_STREQ(c.font, e->szFont);
            EXPECT_EQ(52u, e->dwAngle);
            EXPECT_EQ(i == 0 ? 0u : 1u, e->dwStyle);
            EXPECT_EQ(kWatermarkEditable, e->dwFlags);
        }
        const WatermarkEntry* memo = m_wm.PFindByName(L"Memo");
        EXPECT_EQ(30u, memo->dwAngle) << "the devmode's watermark";
        EXPECT_EQ(150u, memo->dwSize);
        EXPECT_EQ(5u, StoredPool().size()) << "no second copy of the defaults";
    }
    EXPECT_FALSE(m_wm.BCreateDefaults(&m_param, TRUE)) << "a restricted user's pool is not his to build";
    EXPECT_FALSE(m_wm.BCreateDefaults(nullptr, FALSE));
}

// The defaults rewrite the first four entries (flags kept); a list of fewer ends with FALSE; a
// list without " [none]" gets one. Both lie along the diagonal the page last worked out.
TEST_F(Watermarks, ResetDefaultsAndTheNoneEntry) {
    m_wm.VSetDiagonalAngle(37);
    EXPECT_FALSE(m_wm.BResetDefaultEntries());
    Add(L"x", kWatermarkReadOnly);
    Add(L"y");
    Add(L"z");
    EXPECT_FALSE(m_wm.BResetDefaultEntries());
    EXPECT_EQ((std::vector<std::wstring>{L" [none]", L"Confidential", L"Draft"}), Names());
    EXPECT_EQ(kWatermarkReadOnly, m_wm.MainList().pHead->dwFlags);
    EXPECT_EQ(37u, m_wm.MainList().pHead->dwAngle);
    Add(L"w");
    EXPECT_TRUE(m_wm.BResetDefaultEntries());
    m_wm.VEnsureNoneEntry();
    EXPECT_EQ(4, m_wm.ICountEntries());
    m_wm.VRemoveEntry(m_wm.MainList().pHead);
    m_wm.VEnsureNoneEntry();
    EXPECT_EQ((std::vector<std::wstring>{L"Confidential", L"Draft", L"SAMPLE", L" [none]"}), Names());
    EXPECT_EQ((std::vector<DWORD>{80, 37}), (std::vector<DWORD>{m_wm.MainList().pTail->dwSize, m_wm.MainList().pTail->dwAngle}));
    // Entries leave from any place; the last one leaves the list empty.
    m_wm.VRemoveEntry(m_wm.PFindByName(L"Draft"));
    m_wm.VRemoveEntry(m_wm.MainList().pTail);
    m_wm.VRemoveEntry(m_wm.MainList().pHead);
    EXPECT_EQ((std::vector<std::wstring>{L"SAMPLE"}), Names());
    m_wm.VRemoveEntry(m_wm.MainList().pHead);
    m_wm.VRemoveEntry(nullptr);
    EXPECT_EQ(nullptr, m_wm.MainList().pHead);
    EXPECT_EQ(nullptr, m_wm.MainList().pTail);
}

// The Watermark Details dialog opens on a list with " [none]" and without nameless entries; it
// lists each name once, hidden ones not; a second " [none]" goes and the shown entry moves to the
// first; only a watermark the user owns, chosen in the list, may be deleted.
TEST_F(Watermarks, TheWatermarkTheDialogShows) {
    Add(L"Draft");
    Add(L"");
    Add(L"Private", kWatermarkHidden);
    Add(L"Draft");
    WatermarkEntry* shared = Add(L"Shared", kWatermarkReadOnly);
    m_wm.VPrepareForDialog();
    EXPECT_EQ((std::vector<std::wstring>{L"Draft", L"Private", L"Draft", L"Shared", L" [none]"}), Names());
    EXPECT_EQ((std::vector<std::wstring>{L"Draft", L"Shared", L" [none]"}), m_wm.ListedNames());

    WatermarkEntry* second = Add(L" [none]");
    m_wm.VSetCurrent(second);
    EXPECT_TRUE(m_wm.BRemoveSecondNone());
    EXPECT_EQ(m_wm.PFindByName(L" [none]"), m_wm.Current());
    EXPECT_FALSE(m_wm.BRemoveSecondNone());

    const struct {
        PCWSTR current;
        PCWSTR selected;
        bool deletable;
    } cases[] = {
        {L"Draft", L"Draft", true},   {L"Draft", nullptr, false},     {L"Draft", L" [none]", false},
        {L" [none]", L"Draft", false}, {L"Shared", L"Shared", false}, {L"Missing", L"Draft", false},
    };
    for (const auto& c : cases) {
        m_wm.VChooseCurrent(c.current);
        EXPECT_EQ(c.deletable, m_wm.BDeletable(c.selected) != FALSE) << c.current;
    }
    // The shown entry removed is forgotten.
    m_wm.VSetCurrent(shared);
    m_wm.VRemoveEntry(shared);
    EXPECT_EQ(nullptr, m_wm.Current());
}

// New watermarks are named "Untitled", "Untitled #2" ... by the names the dialog's list shows,
// until all 30 are shown; a name taken gets the first free " #n"; the ending comes off again.
TEST_F(Watermarks, NamesForNewWatermarks) {
    CZQWatermarks bare;  // no status module: the English names
    bare.VInitUntitledNames();
    std::vector<std::wstring> shown = {L"Untitled", L"Untitled #2", L"Memo"};
    WCHAR name[256] = L"before";
    bare.VTakeFreeUntitledName(shown, name);
    EXPECT_STREQ(L"Untitled #3", name);
    for (int i = 3; i <= 30; ++i) shown.push_back(L"Untitled #" + std::to_wstring(i));
    ZQCopyText(name, 256, L"before");
    bare.VTakeFreeUntitledName(shown, name);
    EXPECT_STREQ(L"before", name) << "all 30 in use";

    Add(L"Draft");
    Add(L"Draft #2");
    WCHAR unique[CZQWatermarks::kUniqueNameChars] = L"Draft";
    m_wm.VMakeUniqueName(unique);
    EXPECT_STREQ(L"Draft #3", unique);
    for (int n = 3; n <= 30; ++n) Add(L"Draft #" + std::to_wstring(n));
    ZQCopyText(unique, CZQWatermarks::kUniqueNameChars, L"Draft");
    m_wm.VMakeUniqueName(unique);
    EXPECT_STREQ(L"Draft", unique) << "every candidate taken";

    for (const auto& [text, stripped] : std::map<std::wstring, std::wstring>{
             {L"Untitled #7", L"Untitled"}, {L"Memo", L"Memo"}, {L"#5", L""}, {L"A #1 #2", L"A #1"}}) {
        WCHAR buffer[64];
        ZQCopyText(buffer, 64, text.c_str());
        CZQWatermarks::VStripNumberSuffix(buffer);
        EXPECT_EQ(stripped, std::wstring(buffer)) << text;
    }
}

}  // namespace
