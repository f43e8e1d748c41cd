// Spooler faults. Every reader and writer of the printer's data - the settings store, the printer
// records, the tray and media records, the locks, the per-user values and the CommonUIProp fill
// pass - runs with each of its spooler calls failing in turn, with read-only printer data and as a
// restricted user. A routine reports success only with the whole outcome, hands out lists whole or
// not at all, leaves each stored record as it was or as a whole run leaves it, and never lifts a
// lock an administrator set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/zqevents.h"
#include "common/zqprintercaps.h"
#include "common/zquibase.h"
#include "optitemfixture.h"
#include "settings/zqdriverdata.h"
#include "zqmemprinter.h"
#include "zqoemui.h"

namespace {

using zqspool::CZQMemoryPrinter;
using zqspool::MemCall;
namespace zs = zqsettings;

constexpr DWORD kFault = RPC_S_SERVER_UNAVAILABLE;
constexpr WCHAR kPrinter[] = L"ZQ Memory Printer";
constexpr WCHAR kGuid[] = L"{5A510017-4E2B-4C6A-9D3E-17F0A2B3C4D5}";
const std::wstring kUserKey = std::wstring(L"Software\\Quorvane\\") + kGuid;

std::wstring Hex(const void* p, size_t cb) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring out;
    for (size_t i = 0; i < cb; ++i) {
        const BYTE b = static_cast<const BYTE*>(p)[i];
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::wstring Text(PCWSTR p) { return p ? p : L"(null)"; }

// One tray or media record in the byte stream.
void PutRecord(std::vector<BYTE>& data, const std::wstring& name, DWORD id) {
    for (wchar_t c : name) {
        data.push_back(static_cast<BYTE>(c));
        data.push_back(static_cast<BYTE>(c >> 8));
    }
    data.insert(data.end(), 3, 0);
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<BYTE>(id >> (8 * i)));
}

enum class Mode { Normal, ReadOnly, Restricted };

// One printer with the data an installed printer carries and one document sheet on it.
class Bench {
public:
    explicit Bench(Mode mode) {
        Fill();
        m_printer.Install();
        m_printer.SetReadOnly(mode == Mode::ReadOnly);
        m_printer.SetRestrictedUser(mode == Mode::Restricted);
        m_h = m_printer.Open(mode == Mode::Restricted ? PRINTER_ACCESS_USE : PRINTER_ALL_ACCESS);
        RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str());
        const std::vector<std::pair<std::string, std::wstring>> onOff = {{"OFF", L"Off"}, {"ON", L"On"}};
        m_host.Add(zqtest::ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long Edge"}}, 0, DMPUB_DUPLEX));
        m_host.Add(zqtest::ListFeature("MediaType", {{"PLAIN", L"Plain"}, {"FILM", L"Film"}}, 0, DMPUB_MEDIATYPE));
        m_host.Add(zqtest::ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}}, 0, DMPUB_FORMNAME));
        m_host.Add(zqtest::ListFeature("Orientation", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE_CC90", L"Landscape"}},
                                       0, DMPUB_ORIENTATION));
        m_host.Add(zqtest::ListFeature("JCLEDGEChoice", onOff));
        m_host.Add(zqtest::ValueFeature("ZQPDLType", "PCL3"));
        m_host.Build();
        m_host.Param()->hPrinter = m_h;
    }
    ~Bench() { RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str()); }
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    CZQMemoryPrinter& Printer() { return m_printer; }
    HANDLE H() const { return m_h; }
    zqtest::COptItemFixture& Host() { return m_host; }

    // The sheet's items that carry a lock: disabled, with the lock help.
    std::set<std::string> Locked() {
        std::set<std::string> out;
        for (const char* k : {"Duplex", "MediaType", "PaperSize", "Orientation", "JCLEDGEChoice"}) {
            const OPTITEM* item = m_host.Item(k);
            if ((item->Flags & OPTIF_DISABLED) && item->HelpIndex == zs::kLockedHelpIndex) out.insert(k);
        }
        return out;
    }

    // The stored data record by record: the tray count and its records make one record, a new
    // per-user GUID counts as such whatever its digits, the print processor and the current
    // user's values count too.
    std::map<std::wstring, std::wstring> Snapshot() const {
        std::map<std::wstring, std::wstring> out;
        for (const auto& [path, key] : m_printer.m_keys)
            for (const auto& [lower, v] : key.values)
                out[path + L"\\" + lower] = std::to_wstring(v.type) + L":" + Hex(v.data.data(), v.data.size());
        const std::wstring count = L"printerdriverdata\\zqtraycount", records = L"printerdriverdata\\zqtrayinforegdata";
        out[L"tray record"] = out[count] + L"|" + out[records];
        out.erase(count);
        out.erase(records);
        auto g = out.find(L"zqpresetroot\\zqrestricteduserguid");
        if (g != out.end() && g->second != L"1:" + Hex(kGuid, sizeof kGuid)) {
            WCHAR text[40] = {};
            std::vector<BYTE> data;
            m_printer.GetValue(L"ZQPresetRoot", L"ZQRestrictedUserGuid", nullptr, &data);
            std::memcpy(text, data.data(), std::min<size_t>(data.size(), sizeof text - 2));
            GUID parsed;
            if (data.size() == 78 && SUCCEEDED(CLSIDFromString(text, &parsed))) g->second = L"a new GUID";
        }
        out[L"print processor"] = m_printer.m_identity.printProcessor;
        HKEY user = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kUserKey.c_str(), 0, KEY_READ, &user) == ERROR_SUCCESS) {
            BYTE data[64] = {};
            DWORD cb = sizeof data, type = 0;
            const LONG rc = RegGetValueW(user, L"ZQBIDIInfo", L"ZQFaultValue", RRF_RT_ANY, &type, data, &cb);
            out[L"user key"] = rc == ERROR_SUCCESS ? Hex(data, cb) : L"no value";
            RegCloseKey(user);
        }
        return out;
    }

private:
    void Fill() {
        CZQMemoryPrinter& p = m_printer;
        p.Identity().installedPrintProcessors.push_back(L"ZQPROCMOD.DLL");
        p.PutString(zs::kDriverDataOptItems, L"MediaType", L"PLAIN");
        p.PutString(zs::kDriverDataOptItems, L"Duplex", L"NONE");
        for (const wchar_t* name : {L"Duplex", L"EdgeChoice", L"MediaType"}) p.PutString(zs::kLockDataPrinting, name, zs::kLock);
        p.PutString(zs::kLockDataPrinting, L"PaperSize", L"");
        const DWORD zero = 0, one = 1, three = 3;
        p.PutValue(CZQMemoryPrinter::kRootKey, zs::kInstallationComplete, REG_DWORD, &zero, 4);
        p.PutValue(CZQMemoryPrinter::kRootKey, zs::kDMCStatus, REG_DWORD, &one, 4);
        p.PutValue(CZQMemoryPrinter::kRootKey, zs::kEACStatus, REG_DWORD, &three, 4);
        p.PutString(CZQMemoryPrinter::kRootKey, zs::kStale, zs::kTrue);
        p.PutString(CZQMemoryPrinter::kRootKey, L"SERIAL_NUMBER", L"CN0017");
        std::vector<BYTE> trays, media;
        PutRecord(trays, L"Old Tray", 7);
        PutRecord(media, L"Old Paper", 9);
        p.PutValue(CZQMemoryPrinter::kRootKey, L"ZQTrayCount", REG_DWORD, &one, 4);
        p.PutValue(CZQMemoryPrinter::kRootKey, L"ZQTRAYINFOREGDATA", REG_BINARY, trays.data(), static_cast<DWORD>(trays.size()));
        p.PutValue(CZQMemoryPrinter::kRootKey, L"ZQMEDIAINFOREGDATA", REG_BINARY, media.data(), static_cast<DWORD>(media.size()));
        p.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        p.PutString(L"PaperList\\Glossy", L"Text", L"Glossy Photo Paper");
        p.PutString(L"PaperList\\Glossy", L"Code", L"42");
        const DWORD two = 2;
        p.PutValue(L"PaperList\\Glossy", L"DefaultQuality", REG_DWORD, &two, 4);
        p.PutString(L"PaperList\\Glossy\\Best", L"QualityLevel", L"BEST");
        p.PutValue(L"PaperList\\Glossy\\Best", L"MaxDetail", REG_DWORD, &one, 4);
        p.PutString(L"PaperList\\Plain", L"Text", L"Plain Paper");
        const WORD bins[] = {15, 257}, papers[] = {1, 9};
        WCHAR binNames[2][24] = {L"Automatically Select", L"Tray 1"};
        const DWORD mediaIds[] = {1, 2};
        WCHAR mediaNames[2][64] = {L"Plain", L"Glossy"};
        const POINT sizes[] = {{2159, 2794}, {2100, 2970}};
        p.SetCapability(DC_BINS, bins, 2, sizeof(WORD));
        p.SetCapability(DC_BINNAMES, binNames, 2, sizeof binNames[0]);
        p.SetCapability(DC_MEDIATYPES, mediaIds, 2, sizeof(DWORD));
        p.SetCapability(DC_MEDIATYPENAMES, mediaNames, 2, sizeof mediaNames[0]);
        p.SetCapability(DC_PAPERS, papers, 2, sizeof(WORD));
        p.SetCapability(DC_PAPERSIZE, sizes, 2, sizeof(POINT));
    }

    CZQMemoryPrinter m_printer;
    HANDLE m_h = nullptr;
    zqtest::COptItemFixture m_host;
};

// What one run gave: what the routine reported (and its last error), what it handed out (each
// part a list or a text) and the items it left locked.
struct Outcome {
    bool ok = false;
    DWORD error = 0;
    std::vector<std::wstring> parts;
    std::set<std::string> locked;
};

Outcome Reported(BOOL ok, std::vector<std::wstring> parts = {}) {
    Outcome o;
    o.error = ok ? 0 : GetLastError();
    o.ok = ok != FALSE;
    o.parts = std::move(parts);
    return o;
}

std::wstring ListDigest(const CZQPrinterDataList& list) {
    std::wstring out;
    for (DWORD i = 0; i < list.Count(); ++i) out += Text(list.Name(i)) + L"=" + Text(list.Text(i)) + L";";
    return out;
}

std::vector<std::wstring> CapsDigest(const PrinterCaps& c) {
    return {c.szPrinterName, c.szHelpFile, Hex(c.pPaperIds, c.dwPaperCount * sizeof(WORD)) + Hex(c.pPaperSizes, c.dwPaperCount * sizeof(POINT)),
            Hex(c.pSourceIds, c.dwSourceCount * sizeof(WORD)) + c.szFirstBinName,
            Hex(c.pMediaIds, c.dwMediaCount * sizeof(DWORD))};
}

std::wstring PapersDigest(const PaperList& list) {
    std::wstring out;
    for (DWORD i = 0; i < list.dwCount; ++i) {
        const PaperListEntry& e = list.pEntries[i];
        out += std::wstring(e.szName) + L"|" + e.szText + L"|" + e.szCode + L"|" + std::to_wstring(e.dwDefaultQuality);
        for (DWORD j = 0; j < e.dwProfileCount; ++j)
            out += L"[" + std::wstring(e.pProfiles[j].szName) + L"|" + e.pProfiles[j].szQualityLevel + L"|" +
                   std::to_wstring(e.pProfiles[j].dwMaxDetail) + L"]";
        out += L";";
    }
    return out;
}

std::wstring Bytes(const BYTE* p, DWORD cb) { return p ? Hex(p, cb) : L""; }

struct PluginRelease {
    void operator()(CZQOemUI* p) const { p->Release(); }
};

// Count pass and fill pass of a document sheet on the bench's printer.
Outcome FillPass(Bench& b) {
    std::unique_ptr<CZQOemUI, PluginRelease> plugin(new CZQOemUI());
    HANDLE heap = HeapCreate(0, 0, 0);
    ZQUIDevmode dm = {};
    CZQCommon().BFillDefaultDevmode(&dm, nullptr);
    DEVMODEW pub = {};
    pub.dmSize = sizeof pub;
    OEMCUIPPARAM param = *b.Host().Param();
    param.pPrinterName = const_cast<PWSTR>(kPrinter);
    param.hOEMHeap = heap;
    param.pPublicDM = &pub;
    param.pOEMDM = &dm;
    param.pOEMOptItems = nullptr;
    HRESULT hr = plugin->CommonUIProp(OEMCUIP_DOCPROP, &param);
    std::vector<OPTITEM> items(param.cOEMOptItems + 1);
    param.pOEMOptItems = items.data();
    if (hr == S_OK) hr = plugin->CommonUIProp(OEMCUIP_DOCPROP, &param);
    Outcome o = Reported(hr == S_OK, {PapersDigest(plugin->Papers())});
    o.locked = b.Locked();
    plugin.reset();
    HeapDestroy(heap);
    return o;
}

struct Routine {
    const char* name;
    // Reports its own failure; the others (the fill pass, the printer event, a lock test) carry on
    // and are judged by what they leave.
    bool reports;
    std::function<Outcome(Bench&)> run;
};

const std::vector<Routine>& Routines() {
    static const std::vector<Routine> routines = {
        // The settings store.
        {"BGetPrinterDataEx", true,
         [](Bench& b) {
             CZQLocalPtr<WCHAR> text;
             const BOOL ok = CZQDriverData::BGetPrinterDataEx(b.H(), zs::kDriverDataOptItems, L"MediaType", text.Put());
             return Reported(ok, {text ? text.Get() : L""});
         }},
        {"BGetPrinterData", true,
         [](Bench& b) {
             CZQLocalPtr<WCHAR> text;
             const BOOL ok = CZQDriverData::BGetPrinterData(b.H(), zs::kStale, text.Put());
             return Reported(ok, {text ? text.Get() : L""});
         }},
        {"BGetPrinterDataDword", true,
         [](Bench& b) {
             DWORD value = 0;
             const BOOL ok = CZQDriverData::BGetPrinterDataDword(b.H(), zs::kEACStatus, &value);
             return Reported(ok, {ok ? std::to_wstring(value) : L""});
         }},
        {"BSetPrinterDataEx", true,
         [](Bench& b) { return Reported(CZQDriverData::BSetPrinterDataEx(b.H(), zs::kDriverDataOptItems, L"MediaType", L"FILM")); }},
        {"BSetPrinterDataDword", true,
         [](Bench& b) { return Reported(CZQDriverData::BSetPrinterDataDword(b.H(), zs::kDMCStatus, 2)); }},
        {"BDeletePrinterDataEx", true,
         [](Bench& b) { return Reported(CZQDriverData::BDeletePrinterDataEx(b.H(), zs::kDriverDataOptItems, L"Duplex")); }},
        {"CZQPrinterDataList::BRead", true,
         [](Bench& b) {
             CZQPrinterDataList list;
             const BOOL ok = list.BRead(b.H(), zs::kDriverDataOptItems);
             return Reported(ok, {ListDigest(list)});
         }},
        // The printer records.
        {"ZQReadPrinterCaps", true,
         [](Bench& b) {
             PrinterCaps caps = {};
             const BOOL ok = ZQReadPrinterCaps(&caps, b.H(), nullptr);
             Outcome o = Reported(ok, CapsDigest(caps));
             ZQFreePrinterCaps(&caps);
             return o;
         }},
        {"ZQReadPaperList", true,
         [](Bench& b) {
             PaperList list = {};
             const BOOL ok = ZQReadPaperList(&list, b.H());
             Outcome o = Reported(ok, {PapersDigest(list)});
             ZQFreePaperList(&list);
             return o;
         }},
        // The tray and media records.
        {"ZQStoreTrayInfo", true, [](Bench& b) { return Reported(ZQStoreTrayInfo(b.H(), kPrinter, L"USB001")); }},
        {"ZQReadTrayInfo", true,
         [](Bench& b) {
             CZQLocalPtr<ZQTrayRecord> trays;
             DWORD count = 0;
             const BOOL ok = ZQReadTrayInfo(b.H(), trays.Put(), &count);
             std::wstring digest;
             for (DWORD i = 0; i < count; ++i) digest += std::wstring(trays[i].szName) + L"=" + std::to_wstring(trays[i].dwId) + L";";
             return Reported(ok, {digest});
         }},
        {"ZQStoreMediaInfo", true, [](Bench& b) { return Reported(ZQStoreMediaInfo(b.H(), kPrinter, L"USB001")); }},
        {"PrinterEvent INITIALIZE", false,
         [](Bench&) {
             ZQInitializePrinter(kPrinter);
             return Reported(TRUE);
         }},
        // The administrator's locks.
        {"VApplyLockData", true,
         [](Bench& b) {
             Outcome o = Reported(CZQDriverData::VApplyLockData(b.Host().Param()));
             o.locked = b.Locked();
             return o;
         }},
        {"BIsSettingLocked", false,
         [](Bench& b) {
             WCHAR text[256];
             Outcome o = Reported(TRUE);
             if (CZQUILogic::BIsSettingLocked(b.H(), zs::kLockDataPrinting, L"Duplex", text)) o.locked.insert("Duplex");
             return o;
         }},
        // The per-user values.
        {"BReadRestrictedUserGuid", true,
         [](Bench& b) {
             WCHAR guid[CZQCommon::kGuidTextChars];
             const BOOL ok = CZQCommon::BReadRestrictedUserGuid(b.H(), guid);
             return Reported(ok, {guid});
         }},
        {"BCreateRestrictedUserGuid", true, [](Bench& b) { return Reported(CZQUIBase::BCreateRestrictedUserGuid(b.H())); }},
        {"BReadUserSetting", true,
         [](Bench& b) {
             CZQLocalPtr<BYTE> data;
             DWORD cb = 0;
             const BOOL ok = CZQUIBase::BReadUserSetting(b.H(), L"ZQBIDIInfo", zs::kEACStatus, data.Put(), &cb);
             return Reported(ok, {Bytes(data.Get(), cb)});
         }},
        {"BWriteUserSetting to the printer", true,
         [](Bench& b) {
             const DWORD v = 5;
             return Reported(CZQUIBase::BWriteUserSetting(b.H(), FALSE, L"ZQBIDIInfo", L"ZQFaultValue",
                                                          reinterpret_cast<const BYTE*>(&v), 4, REG_DWORD));
         }},
        {"BWriteUserSetting per user", true,
         [](Bench& b) {
             const DWORD v = 5;
             return Reported(CZQUIBase::BWriteUserSetting(b.H(), TRUE, L"ZQBIDIInfo", L"ZQFaultValue",
                                                          reinterpret_cast<const BYTE*>(&v), 4, REG_DWORD));
         }},
        {"BIsPrinterDataReadOnly", true,
         [](Bench& b) {
             HANDLE used = nullptr;
             BOOL reopened = FALSE;
             const BOOL readOnly = CZQCommon::BIsPrinterDataReadOnly(b.H(), kPrinter, nullptr, &used, &reopened);
             Outcome o = Reported(!readOnly);
             if (reopened) zqspool::Spooler().ClosePrinter(used);
             return o;
         }},
        // The CommonUIProp fill pass.
        {"CommonUIProp fill pass", false, FillPass},
    };
    return routines;
}

using Stored = std::map<std::wstring, std::wstring>;

void Check(const Routine& r, const Outcome& clean, const Stored& before, const Stored& after, const Outcome& o,
           const Stored& now) {
    std::set<std::wstring> records;
    for (const Stored* s : {&before, &after, &now})
        for (const auto& [name, data] : *s) records.insert(name);
    auto at = [](const Stored& s, const std::wstring& name) {
        auto it = s.find(name);
        return it == s.end() ? std::wstring(L"(none)") : it->second;
    };
    for (const std::wstring& name : records)
        EXPECT_TRUE(at(now, name) == at(before, name) || at(now, name) == at(after, name)) << "record half written: " << name;
    for (const std::string& lock : clean.locked) EXPECT_TRUE(o.locked.count(lock)) << "lock lifted: " << lock;
    ASSERT_EQ(clean.parts.size(), o.parts.size());
    for (size_t i = 0; i < o.parts.size(); ++i)
        EXPECT_TRUE(o.parts[i] == clean.parts[i] || o.parts[i].empty()) << "handed out in part: " << o.parts[i];
    if (!r.reports) return;
    if (o.ok) {
        EXPECT_EQ(after, now) << "success without the whole write";
        EXPECT_EQ(clean.parts, o.parts) << "success without the whole answer";
    } else {
        EXPECT_NE(0u, o.error) << "a failure without its reason";
    }
}

class SpoolerFaults : public ::testing::Test {
protected:
    static void NoWait(DWORD) {}
    void SetUp() override { m_previousWait = CZQCommon::SetCapsRetryWait(&NoWait); }
    void TearDown() override { CZQCommon::SetCapsRetryWait(m_previousWait); }
    CZQCommon::PFN_RetryWait m_previousWait = nullptr;
};

TEST_F(SpoolerFaults, NoSuccessAfterAFailureNoHalfWrittenRecordNoLiftedLock) {
    int faultRuns = 0;
    for (const Routine& r : Routines()) {
        SCOPED_TRACE(r.name);
        Stored before, after;
        Outcome clean;
        int calls[static_cast<int>(MemCall::Count)] = {};
        {
            Bench b(Mode::Normal);
            before = b.Snapshot();
            clean = r.run(b);
            after = b.Snapshot();
            for (int k = 0; k < static_cast<int>(MemCall::Count); ++k) calls[k] = b.Printer().CallCount(static_cast<MemCall>(k));
        }
        ASSERT_TRUE(clean.ok) << "a run without faults succeeds";
        // Each spooler call of the run fails in turn, alone.
        for (int k = 0; k < static_cast<int>(MemCall::Count); ++k) {
            for (int n = 0; n < calls[k]; ++n) {
                SCOPED_TRACE("spooler call kind " + std::to_string(k) + ", call " + std::to_string(n));
                Bench b(Mode::Normal);
                b.Printer().FailCall(static_cast<MemCall>(k), kFault, 1, n);
                const Outcome o = r.run(b);
                Check(r, clean, before, after, o, b.Snapshot());
                ++faultRuns;
            }
        }
        for (Mode mode : {Mode::ReadOnly, Mode::Restricted}) {
            SCOPED_TRACE(mode == Mode::ReadOnly ? "read-only printer data" : "restricted user");
            Bench b(mode);
            const Outcome o = r.run(b);
            Check(r, clean, before, after, o, b.Snapshot());
        }
    }
    EXPECT_GT(faultRuns, 100);
}

}  // namespace

namespace {

// Stored records that disagree with their count, or texts stored as another type than REG_SZ:
// their readers take nothing from them.
TEST(StoredRecords, RecordsWrittenApartOrTextsOfAnotherTypeGiveNothing) {
    struct Case {
        const char* name;
        std::function<void(CZQMemoryPrinter&)> store;
        std::function<std::wstring(HANDLE)> read;  // what the reader took
    };
    auto trays = [](HANDLE h) {
        CZQLocalPtr<ZQTrayRecord> list;
        DWORD count = 0;
        SetLastError(0);
        if (ZQReadTrayInfo(h, list.Put(), &count)) return std::to_wstring(count) + L" trays";
        return GetLastError() == ERROR_INVALID_DATA && !list ? std::wstring() : L"no reason";
    };
    auto trayRecord = [](CZQMemoryPrinter& p, DWORD count, DWORD type) {
        std::vector<BYTE> data;
        PutRecord(data, L"Tray 1", 257);
        p.PutValue(CZQMemoryPrinter::kRootKey, L"ZQTrayCount", type, &count, 4);
        p.PutValue(CZQMemoryPrinter::kRootKey, L"ZQTRAYINFOREGDATA", REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
    };
    auto guid = [](HANDLE h) {
        WCHAR text[CZQCommon::kGuidTextChars];
        return CZQCommon::BReadRestrictedUserGuid(h, text) ? std::wstring(text) : std::wstring();
    };
    const Case cases[] = {
        {"three trays counted beside one record", [&](CZQMemoryPrinter& p) { trayRecord(p, 3, REG_DWORD); }, trays},
        {"no tray counted beside one record", [&](CZQMemoryPrinter& p) { trayRecord(p, 0, REG_DWORD); }, trays},
        {"a tray count that is no number", [&](CZQMemoryPrinter& p) { trayRecord(p, 1, REG_BINARY); }, trays},
        {"the per-user GUID as binary data",
         [](CZQMemoryPrinter& p) { p.PutValue(L"ZQPresetRoot", L"ZQRestrictedUserGuid", REG_BINARY, kGuid, sizeof kGuid); },
         guid},
        {"the per-user GUID as an expandable text",
         [](CZQMemoryPrinter& p) { p.PutValue(L"ZQPresetRoot", L"ZQRestrictedUserGuid", REG_EXPAND_SZ, kGuid, sizeof kGuid); },
         guid},
        {"a paper's text as an expandable text",
         [](CZQMemoryPrinter& p) { p.PutValue(L"PaperList\\Glossy", L"Text", REG_EXPAND_SZ, L"Glossy", 14); },
         [](HANDLE h) {
             PaperList list = {};
             std::wstring text = ZQReadPaperList(&list, h) && list.dwCount == 1 ? list.pEntries[0].szText : L"failed";
             ZQFreePaperList(&list);
             return text;
         }},
        {"the web address as an expandable text",
         [](CZQMemoryPrinter& p) { p.PutValue(CZQMemoryPrinter::kRootKey, L"ZQEWSIPAddress", REG_EXPAND_SZ, L"10.0.0.7,0", 22); },
         [](HANDLE h) { return CZQCommon::BHasEwsAddress(h) ? std::wstring(L"an address") : std::wstring(); }},
        {"a lock as an expandable text",
         [](CZQMemoryPrinter& p) { p.PutValue(zs::kLockDataPrinting, L"Duplex", REG_EXPAND_SZ, L"Lock", 10); },
         [](HANDLE h) {
             WCHAR text[256];
             return CZQUILogic::BIsSettingLocked(h, zs::kLockDataPrinting, L"Duplex", text) ? std::wstring(L"locked")
                                                                                              : std::wstring();
         }},
    };
    for (const Case& c : cases) {
        CZQMemoryPrinter printer;
        printer.Install();
        c.store(printer);
        EXPECT_EQ(L"", c.read(printer.Open())) << c.name;
    }
}

}  // namespace
