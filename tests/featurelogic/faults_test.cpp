// Spooler faults: every reader and writer of the printer's data runs with each of its spooler calls
// failing in turn, with read-only printer data and as a restricted user (a conversion run among
// them: its printer's export switches as before, its snapshot whole or none). Success only with the
// whole outcome; what is handed out whole or not at all; each stored record as before or as a whole
// run leaves it; a save of the stores (Task Presets, watermark pool) leaves the printer's data
// whole or as it was; no administrator's lock lifted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/zqevents.h"
#include "common/zqmsgbox.h"
#include "common/zquibase.h"
#include "convertapi/zqondrel.h"
#include "device/zqaboutinfo.h"
#include "device/zqautoconfig.h"
#include "device/zqfontinstaller.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zqwatermarks.h"
#include "cfgmgrtest.h"
#include "optitemfixture.h"
#include "testsupport.h"
#include "settings/zqconfigexport.h"
#include "settings/zqconfigimport.h"
#include "settings/zqdriverdata.h"
#include "zqmemprinter.h"
#include "zqoemui.h"

namespace {

using zqspool::MemCall;
namespace zs = zqsettings;
using Stored = std::map<std::wstring, std::wstring>;

constexpr WCHAR kPrinter[] = L"ZQ Memory Printer";
constexpr WCHAR kRoot[] = L"PrinterDriverData";
constexpr WCHAR kGuid[] = L"{5A510017-4E2B-4C6A-9D3E-17F0A2B3C4D5}";
const std::wstring kUserKey = std::wstring(L"Software\\Quorvane\\") + kGuid;
constexpr const char* kItems[] = {"Duplex", "MediaType", "PaperSize", "JCLEDGEChoice"};
const DWORD kThree = 3;

std::wstring Bytes(const void* p, size_t cb) {
    return p ? std::wstring(static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + cb) : L"";
}

enum class Mode { Normal, ReadOnly, Restricted };

// The driver's files: the configuration manager stand-in and its configuration, which locks the
// paper size and the duplex setting.
zqspool::MemPrinterIdentity Identity() {
    static const std::wstring dir = [] {
        const std::wstring d = zqtest::ExeDir() + L"\\faultdrivers";
        CreateDirectoryW(d.c_str(), nullptr);
        CopyFileW(zqtest::BesideExe(L"zqcfgmgr.dll").c_str(), (d + L"\\zqcfgmgr.dll").c_str(), FALSE);
        zqcfgtest::WriteFileText(d + L"\\test.cfg", "Printing/PaperSize=A4\nPrinting/PaperSize@Lock=True\n"
                                                     "Printing/Duplex=NONE\nPrinting/Duplex@Lock=True\n");
        zqcfgtest::WriteFileText(d + L"\\driver.exp", "Printing/PaperSize=A4\n");
        return d;
    }();
    zqspool::MemPrinterIdentity id;
    id.driverDirectory = dir;
    id.dependentFiles = {L"zqcfgmgr.dll", L"test.cfg"};
    return id;
}

// A printer with what an installed one carries (locks, old tray and media records, a paper list,
// the per-user GUID) and a document sheet on it.
struct Bench {
    explicit Bench(Mode mode) : p(Identity()) {
        for (PCWSTR name : {L"Duplex", L"EdgeChoice", L"MediaType"}) p.PutString(zs::kLockDataPrinting, name, L"Lock");
        p.PutString(zs::kLockDataPrinting, L"PaperSize", L"");
        p.PutString(zs::kDriverDataOptItems, L"MediaType", L"PLAIN");
        p.PutString(kRoot, zs::kStale, zs::kTrue);
        p.PutString(kRoot, L"SERIAL_NUMBER", L"CN0017");
        p.PutValue(kRoot, zs::kEACStatus, REG_DWORD, &kThree, 4);
        p.PutValue(kRoot, L"ZQTrayCount", REG_DWORD, "\1\0\0\0", 4);
        p.PutValue(kRoot, L"ZQTRAYINFOREGDATA", REG_BINARY, "O\0\0\0\0\7\0\0\0", 9);
        p.PutValue(kRoot, L"ZQMEDIAINFOREGDATA", REG_BINARY, "O\0\0\0\0\11\0\0\0", 9);
        p.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        p.PutString(L"PaperList\\Glossy", L"Text", L"Glossy Photo Paper");
        p.PutString(L"PaperList\\Glossy\\Best", L"QualityLevel", L"BEST");
        p.PutValue(L"PaperList\\Plain", L"DefaultQuality", REG_DWORD, &kThree, 4);
        const WORD ids[] = {15, 257, 0, 0, 0, 0, 0, 0};  // also two paper sizes and two media ids
        const WCHAR bins[2][24] = {L"Automatically Select", L"Tray 1"}, media[2][64] = {L"Plain", L"Glossy"};
        for (WORD cap : {DC_BINS, DC_PAPERS}) p.SetCapability(cap, ids, 2, sizeof(WORD));
        p.SetCapability(DC_PAPERSIZE, ids, 2, sizeof(POINT));
        p.SetCapability(DC_MEDIATYPES, ids, 2, sizeof(DWORD));
        p.SetCapability(DC_BINNAMES, bins, 2, sizeof bins[0]);
        p.SetCapability(DC_MEDIATYPENAMES, media, 2, sizeof media[0]);
        p.Identity().installedPrintProcessors.push_back(kZQPrintProcessor);
        p.Install();
        p.SetReadOnly(mode == Mode::ReadOnly);
        p.SetRestrictedUser(mode == Mode::Restricted);
        h = p.Open(mode == Mode::Restricted ? PRINTER_ACCESS_USE : PRINTER_ALL_ACCESS);
        RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str());
        const BYTE pubIds[] = {DMPUB_DUPLEX, DMPUB_MEDIATYPE, DMPUB_FORMNAME, 0};
        for (int i = 0; i < 4; ++i) host.Add(zqtest::ListFeature(kItems[i], {{"A", L"A"}, {"B", L"B"}}, 0, pubIds[i]));
        host.Build();
        host.Param()->hPrinter = h;
    }
    ~Bench() { RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str()); }

    std::set<std::string> Locked() {
        std::set<std::string> out;
        for (const char* k : kItems) {
            const OPTITEM* item = host.Item(k);
            if ((item->Flags & OPTIF_DISABLED) && item->HelpIndex == zs::kLockedHelpIndex) out.insert(k);
        }
        return out;
    }
    // Record by record: the tray count with its records is one; a new per-user GUID counts as such.
    Stored Snapshot() const {
        Stored out;
        for (const auto& [path, key] : p.m_keys)
            for (const auto& [name, v] : key.values) out[path + L"\\" + name] = Bytes(v.data.data(), v.data.size());
        const std::wstring count = L"printerdriverdata\\zqtraycount", trays = L"printerdriverdata\\zqtrayinforegdata";
        out[trays] += L"|" + out[count];
        out.erase(count);
        // The read-only test's own value, which a save writes before it stores anything, is no record.
        out.erase(L"printerdriverdata\\zqdummy");
        std::wstring& guid = out[L"zqpresetroot\\zqrestricteduserguid"];
        if (guid.size() == sizeof kGuid && guid != Bytes(kGuid, sizeof kGuid)) guid = L"a new GUID";
        // Each run names a new font file.
        if (out.count(L"printerdriverdata\\externalfontfile")) out[L"printerdriverdata\\externalfontfile"] = L"a file";
        out[L"processor"] = p.m_identity.printProcessor;
        // The user's answer store, value by value.
        HKEY answers = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, (kUserKey + L"\\ZQBIDIInfo").c_str(), 0, KEY_READ, &answers) == 0) {
            WCHAR name[256];
            BYTE data[1024];
            for (DWORD i = 0;; ++i) {
                DWORD cchName = 256, cb = sizeof data;
                if (RegEnumValueW(answers, i, name, &cchName, nullptr, nullptr, data, &cb) != ERROR_SUCCESS) break;
                out[L"user\\" + std::wstring(name)] = Bytes(data, cb);
            }
            RegCloseKey(answers);
        }
        return out;
    }

    zqspool::CZQMemoryPrinter p;
    HANDLE h = nullptr;
    zqtest::COptItemFixture host;
};

// What a run reported (the first failure and its reason), what it handed out and the locks it left.
struct Outcome {
    bool ok = true;
    DWORD error = 0;
    std::vector<std::wstring> parts;  // each whole or empty
    std::set<std::string> locked;
    Outcome& operator<<(BOOL result) {
        if (!result && ok) error = GetLastError();
        ok = ok && result;
        return *this;
    }
};

std::wstring Papers(const PaperList& list) {
    std::wstring out;
    for (DWORD i = 0; i < list.dwCount; ++i) {
        const PaperListEntry& e = list.pEntries[i];
        out += std::wstring(e.szName) + e.szText + std::to_wstring(e.dwDefaultQuality) + L";";
        if (e.dwProfileCount) out += e.pProfiles[0].szQualityLevel;
    }
    return out;
}

// Readers leave the stored data as it was; readers and writers report their own failures; the
// fill pass, the printer event and a lock test carry on and are judged by what they leave; the
// import keeps every lock it was given unless it reported its failure, and records what failed;
// status lines read what they can and say "unknown" for the rest, never something else; a save
// stores its whole outcome and says so, or leaves the printer's data as it was (a user who may not
// write it keeps his own in his key).
enum Kind { kReads, kWrites, kCarriesOn, kImports, kStatusLines, kSaves };
struct Routine {
    const char* name;
    Kind kind;
    size_t locks;  // the locks a run without faults leaves
    std::function<void(Bench&, Outcome&)> run;
    std::function<void(Bench&)> prepare = nullptr;  // what the printer carries besides the bench's
};

// The configuration-file install's traces outside the printer's data: the machine's name of the
// copy, and the copy; both removed again.
std::vector<std::wstring> TakeInstalledConfiguration() {
    const std::wstring key = std::wstring(zs::kMachinePrintersKey) + L"\\" + Identity().driverName;
    char path[MAX_PATH] = {};
    DWORD cb = sizeof path - 1;
    const bool named = RegGetValueA(HKEY_LOCAL_MACHINE, std::string(key.begin(), key.end()).c_str(), "ConfigFile",
                                    RRF_RT_ANY, nullptr, path, &cb) == ERROR_SUCCESS;
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    int copies = 0;
    WIN32_FIND_DATAW found;
    const std::wstring dir = Identity().driverDirectory;
    const HANDLE h = FindFirstFileW((dir + L"\\*.cfg").c_str(), &found);
    for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &found)) {
        if (_wcsicmp(found.cFileName, L"test.cfg") == 0) continue;
        ++copies;
        DeleteFileW((dir + L"\\" + found.cFileName).c_str());
    }
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    return {named ? L"named" : L"", copies ? L"copied" : L""};
}
const BYTE* const kValue = reinterpret_cast<const BYTE*>(&kThree);

// A conversion run of either mode on the printer, ended as KillConvertAPI ends it (which tries once
// more to give the printer's export switches back); the parts are the snapshot a ticket run read.
void ConversionRun(Outcome& o, BOOL bConvertDevmode) {
    const std::wstring ticket = zqtest::BesideExe(L"faults.tkt");
    std::ofstream(ticket.c_str()) << "Printing/PaperSize=A4\nPhysical/Memory=64\n";
    const std::wstring run = std::wstring(zs::kRunKeyPrefix) + std::to_wstring(GetCurrentProcessId());
    CZQOndrel converter(kPrinter, ticket.c_str(), zqtest::BesideExe(L"zqcfgmgr.dll").c_str(), 1);
    converter.VSetConvertDevMode(bConvertDevmode);
    o << converter.BSetRunFlags(GUID_NULL);
    if (o.ok && !bConvertDevmode) o << converter.BDMCReadCfgVal(GUID_NULL);
    WCHAR paper[16] = {}, memory[16] = {};
    DWORD cb = sizeof paper - sizeof(WCHAR);
    RegGetValueW(HKEY_CURRENT_USER, (run + L"\\" + zs::kOndrelOptItems).c_str(), L"PaperSize", RRF_RT_REG_SZ, nullptr,
                 paper, &cb);
    cb = sizeof memory - sizeof(WCHAR);
    RegGetValueW(HKEY_CURRENT_USER, (run + L"\\" + zs::kOndrelPhysical).c_str(), L"Memory", RRF_RT_REG_SZ, nullptr,
                 memory, &cb);
    o.parts = {std::wstring(paper) + L"|" + memory};
    if (o.parts[0] == L"|") o.parts[0].clear();
    converter.VClearRunFlags(GUID_NULL);
    converter.VClearRunFlags(GUID_NULL);
}

// The stores' saves run on the bench's items with a private devmode; their messages are answered.
// The prepared values are put in place whatever the mode: quick sets "A" at 0 and "B" at 2 with the
// counter behind them at 1; watermarks " [none]", "Kept" and "Gone".
ZQUIDevmode g_storeDevmode = {};
int AnswerOk(void*, HWND, PCWSTR, PCWSTR, UINT) { return IDOK; }

void StoreQuickSets(Bench& b) {
    for (PCWSTR name : {L"A", L"B"}) {
        QuickSetHead head = {};
        head.dwMarker = zqqs::kMarker;
        head.cchName = zqqs::kNameCapacity;
        head.cbSettings = zqqs::kSettingsSize;
        lstrcpyW(head.szName, name);
        std::vector<BYTE> value(zqqs::ValueSize(nullptr, 0));
        zqqs::WriteValue(head, nullptr, 0, value.data());
        b.p.PutValue(zs::kPresetPoolKey, name[0] == L'A' ? L"PresetPool:0" : L"PresetPool:2", REG_BINARY, value.data(),
                     static_cast<DWORD>(value.size()));
    }
    b.p.PutValue(zs::kPresetRootKey, zs::kPresetPoolMaxIndex, REG_BINARY, "\1\0\0\0", 4);
    b.host.Param()->pPrinterName = const_cast<PWSTR>(kPrinter);
    b.host.Param()->pOEMDM = &g_storeDevmode;
}

void StoreWatermarks(Bench& b) {
    int index = 0;
    for (PCWSTR name : {L" [none]", L"Kept", L"Gone"}) {
        WatermarkEntry e = {};
        lstrcpyW(e.szName, name);
        BYTE record[zqwm::kRecordBytes] = {};
        zqwm::Write(e, record);
        b.p.PutValue(zs::kWatermarkPoolKey, L"WatermarkPool:" + std::to_wstring(index++), REG_BINARY, record,
                     sizeof record);
    }
    b.host.Param()->pPrinterName = const_cast<PWSTR>(kPrinter);
}

const Routine kRoutines[] = {
    {"a new Task Preset", kSaves, 0,
     [](Bench& b, Outcome& o) {
         zqmsgbox::SetAnswerer(&AnswerOk, nullptr);
         CZQQuickSets qs;
         qs.VSetParam(b.host.Param(), OEMCUIP_DOCPROP);
         qs.VPrepareStore();
         qs.VLoadStored();
         const BOOL replace = FALSE;
         qs.VSaveCurrent(nullptr, L"New", nullptr, nullptr, &g_storeDevmode, FALSE, nullptr, &replace);
         o << (qs.ELastOutcome() == ZQStoreOutcome::kStored);
         zqmsgbox::SetAnswerer(nullptr, nullptr);
     },
     StoreQuickSets},
    {"watermark pool saved", kSaves, 0,
     [](Bench& b, Outcome& o) {
         CZQWatermarks wm;
         wm.VBind(nullptr, b.host.Param(), nullptr);
         // A sheet that could not read the pool deletes nothing of it.
         if (!(o << wm.BReadPool(b.host.Param(), FALSE)).ok) return;
         wm.VRemoveEntry(wm.PFindByName(L"Gone"));
         WatermarkEntry* added = CZQWatermarks::PNewEntry(wm.MainList());
         lstrcpyW(added->szName, L"New");
         added->dwFlags = kWatermarkEditable;
         o << (wm.BSavePool(b.host.Param()) != FALSE);
     },
     StoreWatermarks},
    {"settings store readers", kReads, 0, [](Bench& b, Outcome& o) {
         CZQLocalPtr<WCHAR> item, stale;
         DWORD eac = 0;
         CZQPrinterDataList list;
         o << CZQDriverData::BGetPrinterDataEx(b.h, zs::kDriverDataOptItems, L"MediaType", item.Put())
           << CZQDriverData::BGetPrinterData(b.h, zs::kStale, stale.Put())
           << CZQDriverData::BGetPrinterDataDword(b.h, zs::kEACStatus, &eac)
           << list.BRead(b.h, zs::kDriverDataOptItems);
         o.parts = {item ? item.Get() : L"", stale ? stale.Get() : L"", eac ? std::to_wstring(eac) : L"",
                    list.Count() ? list.Text(0) : L""};
     }},
    {"settings store writers", kWrites, 0, [](Bench& b, Outcome& o) {
         o << CZQDriverData::BSetPrinterDataEx(b.h, zs::kDriverDataOptItems, L"Duplex", L"NONE")
           << CZQDriverData::BSetPrinterDataDword(b.h, zs::kDMCStatus, 2)
           << CZQDriverData::BDeletePrinterDataEx(b.h, zs::kDriverDataOptItems, L"MediaType");
     }},
    {"printer records", kReads, 0, [](Bench& b, Outcome& o) {
         PrinterCaps c = {};
         PaperList papers = {};
         o << ZQReadPrinterCaps(&c, b.h, nullptr) << ZQReadPaperList(&papers, b.h);
         o.parts = {c.szPrinterName, c.szHelpFile, Bytes(c.pPaperSizes, c.dwPaperCount * sizeof(POINT)),
                    Bytes(c.pSourceIds, c.dwSourceCount * 2), Bytes(c.pMediaIds, c.dwMediaCount * 4), Papers(papers)};
         ZQFreePrinterCaps(&c);
         ZQFreePaperList(&papers);
     }},
    {"tray and media writers", kWrites, 0, [](Bench& b, Outcome& o) {
         o << ZQStoreTrayInfo(b.h, kPrinter, L"USB001") << ZQStoreMediaInfo(b.h, kPrinter, L"USB001");
     }},
    {"serial number writer", kWrites, 0, [](Bench& b, Outcome& o) { o << ZQStoreSerialNumber(b.h); }},
    {"font file name", kWrites, 0, [](Bench& b, Outcome& o) {
         OEMFONTINSTPARAM font = {sizeof font, b.h, nullptr, nullptr, FG_CANCHANGE, nullptr};
         ZQFontDlgParam block = {};
         block.pFontParam = &font;
         CZQFontInstaller installer(nullptr, 1);
         o << installer.BMakeFontFileName(&block);
         LocalFree(block.pszFontFile);
     }},
    {"tray reader", kReads, 0, [](Bench& b, Outcome& o) {
         CZQLocalPtr<ZQTrayRecord> trays;
         DWORD n = 0;
         o << ZQReadTrayInfo(b.h, trays.Put(), &n);
         o.parts = {n ? trays[0].szName + std::to_wstring(trays[0].dwId) : L""};
     }},
    {"configuration-manager import", kImports, 4, [](Bench& b, Outcome& o) {
         zqcfgtest::ResetStandIn();
         zqcfgtest::SetSwitch(L"ConfigFile", Identity().driverDirectory + L"\\test.cfg");
         o << CZQConfigImport::BImportConfigManager(kPrinter, ZQCFG_MODE_PRINTER_EVENT, FALSE);
         // The stand-in's switches are the prefix's: later tests must not find this configuration.
         zqcfgtest::ResetStandIn();
         CZQDriverData::VApplyLockData(b.host.Param());
         o.locked = b.Locked();
     }},
    {"configuration-manager export", kWrites, 0,
     [](Bench& b, Outcome& o) {
         zqcfgtest::ResetStandIn();
         zqcfgtest::SetSwitch(L"ConfigFile", Identity().driverDirectory + L"\\test.cfg");
         o << CZQSettingsExport({b.host.Param(), nullptr, nullptr}).BExportToConfigManager(kZQExportPrinting);
         zqcfgtest::ResetStandIn();
     },
     [](Bench& b) {
         b.p.PutString(kRoot, zs::kDMCExist, zs::kTrue);
         b.host.Param()->pPrinterName = const_cast<PWSTR>(kPrinter);
     }},
    {"configuration-file install", kWrites, 0,
     [](Bench&, Outcome& o) {
         o << CZQConfigImport::BInstallConfigFile(kPrinter);
         o.parts = TakeInstalledConfiguration();
     },
     [](Bench& b) { b.p.Identity().dependentFiles = {L"zqcfgmgr.dll", L"driver.exp"}; }},
    {"answer store", kWrites, 0, [](Bench& b, Outcome& o) {
         CZQAutoConfig worker;
         static const char kSerial[] = "CN0042";  // printable bytes, kept as a text
         o << BStoreDeviceAnswer(zs::kAnswerSerialNumber, b.h, reinterpret_cast<const BYTE*>(kSerial), 6, 4)
           << worker.BSetEACStatus(2, b.h);
     }},
    {"installed options from fresh answers", kWrites, 0,
     [](Bench& b, Outcome& o) {
         CZQAutoConfig worker;
         worker.VSetPrinter(b.h, kPrinter);
         worker.VBind(nullptr, b.host.Param(), nullptr);
         o << worker.VApplyDeviceUpdate();
     },
     [](Bench& b) { b.p.PutValue(kRoot, zs::kDevSetUpdate, REG_DWORD, "\1\0\0\0", 4); }},
    {"About page status lines", kStatusLines, 0,
     [](Bench& b, Outcome& o) {
         ZQStatusLine lines[kMaxStatusLines];
         const int n = IReadConfigStatus(b.h, lines);
         CZQCommon texts;
         for (int i = 0; i < n; ++i) {
             WCHAR text[kAboutLineChars];
             VFormatStatusLine(texts, lines[i], text);
             o.parts.push_back(text);
         }
     },
     [](Bench& b) {
         b.p.PutString(kRoot, zs::kInstallDate, L"03/14/2006:12:00:00");
         b.p.PutString(kRoot, zs::kNotifyDate, L"04/01/2007:10:00:00");
         b.p.PutValue(kRoot, zs::kDMCStatus, REG_DWORD, &kThree, 4);
         b.p.PutValue(kRoot, zs::kPrnPropChng, REG_DWORD, "\1\0\0\0", 4);
     }},
    {"PrinterEvent INITIALIZE", kCarriesOn, 0, [](Bench&, Outcome&) { ZQInitializePrinter(kPrinter); }},
    {"VApplyLockData", kReads, 3, [](Bench& b, Outcome& o) {
         o << CZQDriverData::VApplyLockData(b.host.Param());
         o.locked = b.Locked();
     }},
    {"BIsSettingLocked", kCarriesOn, 1, [](Bench& b, Outcome& o) {
         WCHAR text[256];
         if (CZQUILogic::BIsSettingLocked(b.h, zs::kLockDataPrinting, L"Duplex", text)) o.locked.insert("Duplex");
     }},
    {"per-user readers", kReads, 0, [](Bench& b, Outcome& o) {
         WCHAR guid[CZQCommon::kGuidTextChars];
         CZQLocalPtr<BYTE> data;
         DWORD cb = 0;
         o << CZQCommon::BReadRestrictedUserGuid(b.h, guid)
           << CZQUIBase::BReadUserSetting(b.h, L"ZQBIDIInfo", zs::kEACStatus, data.Put(), &cb);
         o.parts = {guid, Bytes(data.Get(), cb)};
     }},
    {"per-user writers", kWrites, 0, [](Bench& b, Outcome& o) {
         o << CZQUIBase::BWriteUserSetting(b.h, FALSE, L"ZQBIDIInfo", L"V", kValue, 4, REG_DWORD)
           << CZQUIBase::BWriteUserSetting(b.h, TRUE, L"ZQBIDIInfo", L"V", kValue, 4, REG_DWORD)
           << CZQUIBase::BCreateRestrictedUserGuid(b.h);
     }},
    {"BIsPrinterDataReadOnly", kWrites, 0, [](Bench& b, Outcome& o) {
         HANDLE used = nullptr;
         BOOL reopened = FALSE;
         o << !CZQCommon::BIsPrinterDataReadOnly(b.h, kPrinter, nullptr, &used, &reopened);
         if (reopened) zqspool::Spooler().ClosePrinter(used);
     }},
    {"conversion run, ticket read", kReads, 0, [](Bench&, Outcome& o) { ConversionRun(o, FALSE); }},
    {"conversion run, devmode to ticket", kWrites, 0, [](Bench&, Outcome& o) { ConversionRun(o, TRUE); }},
    {"CommonUIProp fill pass", kCarriesOn, 3, [](Bench& b, Outcome& o) {
         CZQOemUI* plugin = new CZQOemUI();
         HANDLE heap = HeapCreate(0, 0, 0);
         ZQUIDevmode dm = {};
         CZQCommon().BFillDefaultDevmode(&dm, nullptr);
         std::vector<OPTITEM> items(8);
         DEVMODEW pub = {};
         pub.dmSize = sizeof pub;
         OEMCUIPPARAM param = *b.host.Param();
         param.hOEMHeap = heap;
         param.pPublicDM = &pub;
         param.pOEMDM = &dm;
         param.pOEMOptItems = items.data();
         param.cOEMOptItems = 8;
         o << (plugin->CommonUIProp(OEMCUIP_DOCPROP, &param) == S_OK);
         o.parts = {Papers(plugin->BindingForTesting().papers)};
         o.locked = b.Locked();
         plugin->Release();
         HeapDestroy(heap);
     }},
};

TEST(SpoolerFaults, NoSuccessAfterAFailureNoHalfWrittenRecordNoLiftedLock) {
    const auto wait = CZQCommon::SetCapsRetryWait([](DWORD) {});
    int runs = 0;
    for (const Routine& r : kRoutines) {
        SCOPED_TRACE(r.name);
        Stored before, after;
        Outcome clean;
        std::vector<int> calls;
        {
            Bench b(Mode::Normal);
            if (r.prepare) r.prepare(b);
            before = b.Snapshot();
            r.run(b, clean);
            after = b.Snapshot();
            for (int k = 0; k < int(MemCall::Count); ++k) calls.push_back(b.p.CallCount(MemCall(k)));
        }
        ASSERT_TRUE(clean.ok);
        ASSERT_EQ(r.locks, clean.locked.size());
        ASSERT_TRUE(r.kind != kReads || before == after) << "a reader wrote";
        // A value that cannot be read says what a missing one says.
        std::set<std::wstring> said(clean.parts.begin(), clean.parts.end());
        for (PCWSTR name : {zs::kInstallDate, zs::kNotifyDate, zs::kDMCStatus, zs::kPrnPropChng}) {
            if (r.kind != kStatusLines) break;
            Bench b(Mode::Normal);
            if (r.prepare) r.prepare(b);
            b.p.PutValue(kRoot, name, REG_BINARY, "", 0);
            Outcome o;
            r.run(b, o);
            said.insert(o.parts.begin(), o.parts.end());
        }
        auto trial = [&](Mode mode, int kind, int n) {
            SCOPED_TRACE("mode " + std::to_string(int(mode)) + ", call kind " + std::to_string(kind) + " #" +
                         std::to_string(n));
            Bench b(mode);
            if (r.prepare) r.prepare(b);
            if (kind >= 0) b.p.FailCall(MemCall(kind), RPC_S_SERVER_UNAVAILABLE, 1, n);
            Outcome o;
            r.run(b, o);
            ++runs;
            Stored now = b.Snapshot();
            auto at = [](const Stored& s, const std::wstring& name) { return s.count(name) ? s.at(name) : L"-"; };
            std::set<std::wstring> names;
            for (const Stored* s : {&before, &after, &now})
                for (const auto& [name, data] : *s) names.insert(name);
            for (const std::wstring& name : names)
                EXPECT_TRUE(at(now, name) == at(before, name) || at(now, name) == at(after, name)) << "half written";
            for (const std::string& lock : clean.locked)
                EXPECT_TRUE(o.locked.count(lock) || (r.kind == kImports && !o.ok)) << "lock lifted: " << lock;
            if (r.kind == kStatusLines) {
                for (const std::wstring& line : o.parts)
                    EXPECT_TRUE(said.count(line))
                        << "a line the printer's data does not say: " << std::string(line.begin(), line.end());
                return;
            }
            if (r.kind == kSaves) {
                EXPECT_TRUE(mode == Mode::Normal && o.ok ? now == after : now == before)
                    << (o.ok ? "stored, not whole" : "refused, not as it was");
                EXPECT_TRUE(o.ok || o.error != 0) << "a failure without its reason";
                return;
            }
            for (size_t i = 0; i < o.parts.size(); ++i)
                EXPECT_TRUE(o.parts[i] == clean.parts[i] || o.parts[i].empty()) << "handed out in part: " << i;
            if (r.kind == kCarriesOn) return;
            if (r.kind == kImports) {
                EXPECT_TRUE(o.ok || o.error != 0) << "a failure without its reason";
                return;
            }
            EXPECT_TRUE(!o.ok || (now == after && o.parts == clean.parts)) << "success without the whole outcome";
            EXPECT_TRUE(o.ok || o.error != 0) << "a failure without its reason";
        };
        // Each spooler call of the run fails in turn; then every write is refused; then the user
        // may not administer the printer.
        for (int k = 0; k < int(MemCall::Count); ++k)
            for (int n = 0; n < calls[k]; ++n) trial(Mode::Normal, k, n);
        trial(Mode::ReadOnly, -1, 0);
        trial(Mode::Restricted, -1, 0);
    }
    EXPECT_GT(runs, 150);
    CZQCommon::SetCapsRetryWait(wait);
}

}  // namespace
