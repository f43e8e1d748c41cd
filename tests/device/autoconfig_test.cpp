// Update Now on the in-memory printer whose driver lists the device-server stand-ins beside the
// test: the servers registered on demand and unregistered again, the answer store's rules, the
// placeholders and the success test, the queries as the servers' log records them, the apply pass
// and the communication error; the installed options the answers set in a core driver's items
// (trays, user-defined media, memory, duplex unit, hard disk, accessories, finishers, output-bin
// names), the lists' change note and the session's COM.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/zqmsgbox.h"
#include "common/zqstrings.h"
#include "devicetest.h"
#include "device/zqautoconfig.h"
#include "device/zqservercall.h"
#include "xmlrules/zqxmluirules.h"
#include "optitemfixture.h"
#include "testsupport.h"
#include "zqdevrecord.h"
#include "zqmemprinter.h"

namespace {

using Bytes = std::vector<BYTE>;
constexpr const wchar_t* kGuid = L"{5B0E3C2A-91D4-4F6E-8A17-C3D2B1A0F9E8}";
const std::wstring kStore = std::wstring(L"Software\\Quorvane\\") + kGuid + L"\\ZQBIDIInfo";
// The printer's device answers its model name.
const char kModelAnswer[] = "1.3.6.1.4.1.32473.2.3.9.4.2.1.1.3.2.0 4 01 15 \"ZQ Test\"\n";
const wchar_t* const kLibraries[] = {L"zqdevapi.dll", L"zqagent.dll", L"zqlink.dll", L"zqagentps.dll", L"zqlinkps.dll"};
const wchar_t* const kAllFiles[] = {L"zqagentps.dll", L"zqagent.exe", L"zqlink.exe", L"zqagent.dll",
                                    L"zqdevapi.dll",  L"zqlinkps.dll", L"zqlink.dll"};

Bytes B(std::initializer_list<int> bytes) { return Bytes(bytes.begin(), bytes.end()); }
Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A stored value as "sz:text", "dword:n", "msz:a|b", "bin:01 02", or "(none)".
std::wstring Stored(const wchar_t* name) {
    DWORD type = 0, cb = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kStore.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &cb) != ERROR_SUCCESS)
        return L"(none)";
    Bytes data(cb + 2);
    RegGetValueW(HKEY_CURRENT_USER, kStore.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &cb);
    if (type == REG_SZ) return L"sz:" + std::wstring(reinterpret_cast<const wchar_t*>(data.data()));
    if (type == REG_DWORD) return L"dword:" + std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
    if (type == REG_MULTI_SZ) {  // "msz:first|second"
        std::wstring list;
        for (auto* p = reinterpret_cast<const wchar_t*>(data.data()); *p; p += wcslen(p) + 1)
            list += (list.empty() ? L"" : L"|") + std::wstring(p);
        return L"msz:" + list;
    }
    std::wstring hex = L"bin:";
    for (DWORD i = 0; i < cb; ++i) {
        wchar_t byte[4];
        swprintf(byte, 4, i ? L" %02X" : L"%02X", data[i]);
        hex += byte;
    }
    return hex;
}

void Put(const wchar_t* name, DWORD type, const Bytes& data) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kStore.c_str(), name, type, data.data(), static_cast<DWORD>(data.size()));
}
void PutText(const wchar_t* name, const wchar_t* text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kStore.c_str(), name, REG_SZ, text, static_cast<DWORD>((wcslen(text) + 1) * 2));
}
void PutNumber(const wchar_t* name, DWORD n) { Put(name, REG_DWORD, Bytes(reinterpret_cast<BYTE*>(&n), reinterpret_cast<BYTE*>(&n) + 4)); }

// The registrations the servers' log shows, in order: "+zqagent" a library registered,
// "+zqagent.exe" the program registered as its class's local server, "-..." removed.
std::string Registrations() {
    std::string out;
    for (const std::wstring& line : zqdevtest::Log()) {
        const bool library = line.find(L".Dll") != std::wstring::npos;
        const size_t cut = library ? line.find(L".Dll") : line.find(L" -");
        if (cut == std::wstring::npos || line.find(L"Server") == std::wstring::npos) continue;
        const bool removed = line.find(L"Unreg") != std::wstring::npos;
        out += (out.empty() ? "" : " ") + std::string(removed ? "-" : "+") + std::string(line.begin(), line.begin() + cut);
    }
    return out;
}

bool Creatable(REFCLSID clsid, REFIID iid) { return zqdevtest::HrCreateOnThread(COINIT_APARTMENTTHREADED, clsid, iid) == S_OK; }

// The memory printer's driver lists the stand-ins beside the test; every server starts unregistered.
class UpdateNow : public zqxmltest::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        Unregister();
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, kStore.c_str());
        m_printer.Identity().driverDirectory = zqtest::ExeDir();
        m_printer.Identity().dependentFiles.assign(kAllFiles, kAllFiles + 7);
        m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        m_printer.Install();
        m_h = m_printer.Open();
        m_worker.VSetPrinter(m_h, m_printer.Identity().name.c_str());
        Script(kModelAnswer);
    }
    void TearDown() override {
        zqspool::Spooler().ClosePrinter(m_h);
        m_printer.Uninstall();
        Unregister();
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Quorvane\\") + kGuid).c_str());
        ComTest::TearDown();
    }
    static void Unregister() {
        for (const wchar_t* library : kLibraries) zqdevtest::HrLibraryRegistration(library, false);
    }
    static void Register() {
        for (const wchar_t* library : kLibraries) ASSERT_EQ(S_OK, zqdevtest::HrLibraryRegistration(library, true));
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
    }
    void Script(const std::string& text) {
        m_script = std::make_unique<zqxmltest::TempFile>(text);
        zqdevtest::SetScript(m_printer.Identity().name.c_str(), m_script->Path());
    }

    zqspool::CZQMemoryPrinter m_printer;
    HANDLE m_h = nullptr;
    CZQAutoConfig m_worker;
    std::unique_ptr<zqxmltest::TempFile> m_script;
};

// Which servers are registered for the call, and that the call leaves them as it found them.
TEST_F(UpdateNow, RegistersWhatIsMissingAndUndoesItAfterwards) {
    const std::string all = "+zqagentps +zqagent.exe +zqdevapi +zqlinkps +zqlink.exe "
                            "-zqagentps -zqagent.exe -zqdevapi -zqlinkps -zqlink.exe";
    using S = CZQAutoConfig::EUpdateState;
    struct Row {
        const char* what;
        const char* files;  // of zqagentps.dll, zqagent.exe, zqlink.exe, zqagent.dll, zqdevapi.dll,
                            // zqlinkps.dll, zqlink.dll: "1" among the driver's files
        bool registered, ready;
        BOOL result;
        S state;
        std::string registrations;
    } rows[] = {
        {"all seven files, nothing registered", "1111111", false, false, TRUE, S::kStateDone, all},
        {"the agent's program missing: its library registers itself", "1011111", false, false, TRUE, S::kStateDone,
         "+zqagentps +zqagent +zqdevapi +zqlinkps +zqlink.exe -zqagentps -zqagent -zqdevapi -zqlinkps -zqlink.exe"},
        {"its program and library missing: no server is touched", "1010111", false, false, FALSE, S::kStateFilesMissing,
         ""},
        {"a missing proxy passes the file check while its class can be created", "0111111", true, false, TRUE,
         S::kStateDone, ""},
        {"and fails the run when it cannot", "0111111", false, false, FALSE, S::kStateNotReady, ""},
        {"the device library missing: the agent registered before is removed again", "1111011", false, false, FALSE,
         S::kStateNotReady, "+zqagentps +zqagent.exe -zqagentps -zqagent.exe"},
        {"ready components: no file is looked for", "0000000", true, true, TRUE, S::kStateDone, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        m_printer.Identity().dependentFiles.clear();
        for (int i = 0; i < 7; ++i)
            if (row.files[i] == '1') m_printer.Identity().dependentFiles.push_back(kAllFiles[i]);
        Unregister();
        if (row.registered) Register();
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
        Script(kModelAnswer);
        EXPECT_EQ(row.result, m_worker.BUpdateNow(row.ready));
        EXPECT_EQ(row.state, m_worker.State());
        EXPECT_EQ(row.registrations, Registrations());
        EXPECT_EQ(row.registered, Creatable(CLSID_ZQDeviceAgent, IID_IZQDeviceAgent));
        EXPECT_EQ(row.registered, Creatable(CLSID_ZQDeviceLink, IID_IZQDeviceLink));
        EXPECT_EQ(row.result ? L"dword:1" : L"(none)", Stored(L"DevSetUpdate"));
        RegDeleteTreeW(HKEY_CURRENT_USER, kStore.c_str());
    }
}

// The registration program is started by its quoted path: a program named by the path's first
// word never runs in its place; a path too long for the command line is not run at all.
TEST_F(UpdateNow, ProgramPathsAreQuotedAndNeverCut) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"zq", dir = base + L" servers";
    CreateDirectoryW(dir.c_str(), nullptr);
    for (const wchar_t* f : {L"zqagent.exe", L"zqagent.dll"})
        ASSERT_TRUE(CopyFileW(zqtest::BesideExe(f).c_str(), (dir + L"\\" + f).c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(zqtest::BesideExe(L"zqlink.exe").c_str(), (base + L".exe").c_str(), FALSE));
    ASSERT_EQ(S_OK, zqdevtest::HrLibraryRegistration(L"zqagentps.dll", true));
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
    EXPECT_TRUE(CZQAutoConfig::BRunRegServer((dir + L"\\zqagent.exe").c_str()));
    EXPECT_TRUE(Creatable(CLSID_ZQDeviceAgent, IID_IZQDeviceAgent));
    EXPECT_EQ("+zqagent.exe", Registrations()) << "not the program zq.exe";
    EXPECT_TRUE(CZQAutoConfig::BRunUnregServer((dir + L"\\zqagent.exe").c_str()));
    EXPECT_FALSE(Creatable(CLSID_ZQDeviceAgent, IID_IZQDeviceAgent));
    EXPECT_FALSE(CZQAutoConfig::BRunRegServer((dir + L"\\" + std::wstring(250, L'x') + L"\\zqagent.exe").c_str()));
    for (const wchar_t* f : {L"zqagent.exe", L"zqagent.dll"}) DeleteFileW((dir + L"\\" + f).c_str());
    DeleteFileW((base + L".exe").c_str());
    RemoveDirectoryW(dir.c_str());
}

// Each answer is kept by its value type and the first bytes that name its character set.
TEST_F(UpdateNow, AnswersAreStoredByTypeAndCharacterSet) {
    struct Row {
        const char* what;
        const wchar_t* name;
        BYTE type;
        Bytes data;
        bool textBefore;  // the store holds the text placeholder
        BOOL result;
        std::wstring stored;
    } rows[] = {
        {"a number as delivered", L"N", 2, B({0x39, 0x30, 0, 0}), false, TRUE, L"dword:12345"},
        {"a number of three bytes is no number", L"N", 8, B({1, 2, 3}), false, TRUE, L"(none)"},
        {"types 3, 6, 7 and above 8 are not kept", L"N", 9, B({1, 0, 0, 0}), false, TRUE, L"(none)"},
        {"one byte a character", L"T", 4, Cat(B({1, 0x15}), Text("ABC")), false, TRUE, L"sz:ABC"},
        {"a byte that is not printable falls through", L"T", 4, B({1, 0x15, 'A', 1, 'C'}), false, TRUE,
         L"bin:01 15 41 01 43"},
        {"to a text where a text is stored", L"T", 4, B({1, 0x15, 'A', 1, 'C'}), true, TRUE, L"sz:\x01\x15" L"A\x01" L"C"},
        {"UTF-16 as it stands", L"T", 0, B({2, 0x4E, 'G', 0, 'O', 0, 0, 0, 'X', 0}), false, TRUE, L"sz:GO"},
        {"UTF-8", L"T", 5, Cat(B({0xFD, 0xE8}), Text("Z\xC3\xBCrich")), false, TRUE, L"sz:Z\u00FCrich"},
        {"UTF-8 that is not", L"T", 4, B({0xFD, 0xE8, 0xC3, 0x28}), false, FALSE, L"(none)"},
        {"printable bytes", L"T", 4, Text("Tray 1"), false, TRUE, L"sz:Tray 1"},
        {"the media mask keeps its bytes", L"MEDIA-NAMES-AVAILABLE", 4, Text("AB"), false, TRUE, L"bin:41 42"},
        {"no bytes: the empty text", L"T", 4, Bytes(), true, TRUE, L"sz:"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RegDeleteTreeW(HKEY_CURRENT_USER, kStore.c_str());
        if (row.textBefore) PutText(row.name, L" ");
        EXPECT_EQ(row.result, BStoreDeviceAnswer(row.name, m_h, row.data.data(), static_cast<DWORD>(row.data.size()), row.type));
        EXPECT_EQ(row.stored, Stored(row.name));
    }
    m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", L"");
    EXPECT_FALSE(BStoreDeviceAnswer(L"N", m_h, B({1, 0, 0, 0}).data(), 4, 2)) << "no user key, no store";
}

// The placeholders of the full query, and the success test in both modes.
TEST_F(UpdateNow, PlaceholdersAndTheSuccessTest) {
    EXPECT_TRUE(m_worker.BBlankAllValues());
    const std::map<std::wstring, std::wstring> blanks = {
        {L"MODEL_NAME", L"sz: "}, {L"SERIAL_NUMBER", L"sz: "}, {L"hrMemorySize", L"dword:6400"},
        {L"prtMediaPathType2", L"dword:6400"}, {L"prtConsoleLocalization", L"dword:6400"},
        {L"hrDiskStorageMedia4", L"dword:6400"}, {L"PHD6-MODEL", L"sz: "}, {L"PHD1-DEVICE-MEMORY", L"bin:00"},
        {L"prtInputModel15", L"sz: "}, {L"prtInputMaxCapacity1", L"dword:6400"}, {L"VELT_MODE", L"(none)"},
        {L"MEDIA13-NAME", L"sz:"}, {L"MEDIA26-NAME", L"sz:"}, {L"MEDIA-NAMES-AVAILABLE", L"bin:00"},
        {L"TRAY1-INSTALLED", L"dword:0"}, {L"TRAY3-MEDIA-VENDOR", L"sz:"}, {L"TRAY2-CUSTOM-MEDIA-WIDTH", L"dword:0"}};
    for (const auto& [name, value] : blanks) EXPECT_EQ(value, Stored(name.c_str())) << name;
    EXPECT_FALSE(m_worker.BModelNameAnswer(TRUE)) << "still the placeholder";
    PutText(L"MODEL_NAME", L"ZQ");
    EXPECT_TRUE(m_worker.BModelNameAnswer(TRUE));

    struct Row {
        const char* what;
        std::pair<const wchar_t*, const wchar_t*> listed[2];  // name, stored text (null: none)
        BOOL result;
    } rows[] = {
        {"the model name first decides", {{L"MODEL_NAME", L"ZQ"}, {L"LATER", nullptr}}, TRUE},
        {"an unreadable value before it fails", {{L"EARLIER", nullptr}, {L"MODEL_NAME", L"ZQ"}}, FALSE},
        {"a blank model name fails", {{L"A", L"x"}, {L"MODEL_NAME", L" "}}, FALSE},
        {"without the model name every value must read, placeholders too", {{L"A", L" "}, {L"B", L"x"}}, TRUE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RequestNode nodes[2] = {};
        for (int i = 0; i < 2; ++i) {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kStore.c_str(), row.listed[i].first);
            if (row.listed[i].second) PutText(row.listed[i].first, row.listed[i].second);
            nodes[i] = {const_cast<PWSTR>(row.listed[i].first), const_cast<PWSTR>(L"1.1"), i ? nullptr : &nodes[1]};
        }
        RequestNode* list = nodes;
        EXPECT_EQ(row.result, m_worker.BListValues(&list, TRUE));
        EXPECT_TRUE(m_worker.BListValues(&list, FALSE));
        for (const auto& entry : row.listed) EXPECT_EQ(L"sz: ", Stored(entry.first));
    }
}

// The full query asks the rows the store holds, in batches of 20; the console speaks language 1
// while it is asked, and the memory is asked again under its shorter identifier.
TEST_F(UpdateNow, QueriesInBatchesWithTheLocalizationAndTheMemoryRetry) {
    Register();
    const DeviceObjectRecord* table = ZQDeviceObjectTable();
    struct Row {
        const char* what;
        int rows;            // the first rows of the table in the store
        bool localization;   // and the console's language
        std::string script;
        int gets, sets, ids, lastIds;  // calls; SetObjectId calls, of them at index 19
        std::vector<std::wstring> values;  // SetValue lines, in order
        std::wstring memory, velt;
    } rows[] = {
        {"27 rows: 20 and 7, VELT_MODE asked because it is stored; memory under its short identifier", 27, false,
         "1.3.6.1.4.1.32473.2.3.9.4.2.1.2.4.1.1.0 2 le4:5\n1.3.6.1.2.1.25.2.2 2 le4:65536\n", 3, 0, 28, 1, {},
         L"dword:65536", L"dword:5"},
        {"a console in language 3 is switched and put back", 2, true, "1.3.6.1.2.1.43.5.1.1.10.1 2 le4:3\n", 2, 2, 6, 0,
         {L"list.SetValue(0, 2, [01 00 00 00], 4) = 0x00000000", L"list.SetValue(0, 2, [03 00 00 00], 4) = 0x00000000"},
         L"(none)", L"(none)"},
        {"a console in language 1 is left alone", 2, true, "1.3.6.1.2.1.43.5.1.1.10.1 2 le4:1\n", 2, 0, 4, 0, {},
         L"(none)", L"(none)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        RegDeleteTreeW(HKEY_CURRENT_USER, kStore.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
        for (int i = 0; i < row.rows; ++i) PutNumber(table[i].pszName, 6400);
        if (row.localization) PutNumber(L"prtConsoleLocalization", 6400);
        Script(row.script);
        EXPECT_TRUE(m_worker.BQueryAllObjects());
        EXPECT_EQ(row.gets, zqdevtest::ICountCalls(L"channel.Get("));
        EXPECT_EQ(row.sets, zqdevtest::ICountCalls(L"channel.Set("));
        std::vector<std::wstring> values;
        for (const std::wstring& line : zqdevtest::Log())
            if (line.rfind(L"list.SetValue(", 0) == 0) values.push_back(line);
        EXPECT_EQ(row.values, values);
        EXPECT_EQ(row.ids, zqdevtest::ICountCalls(L"list.SetObjectId("));
        EXPECT_EQ(row.lastIds, zqdevtest::ICountCalls(L"list.SetObjectId(19,"));
        EXPECT_EQ(row.memory, Stored(L"hrMemorySize"));
        EXPECT_EQ(row.velt, Stored(L"VELT_MODE"));
    }

    // A listed media path that is not answered gets its number placeholder back.
    RequestNode path = {const_cast<PWSTR>(L"prtMediaPathType2"), const_cast<PWSTR>(L"1.3.6.1.2.1.43.13.4.1.9.1.2"), nullptr};
    RequestNode* list = &path;
    PutText(L"prtMediaPathType2", L" ");
    EXPECT_TRUE(m_worker.BQueryObjectList(&list));
    EXPECT_EQ(L"dword:6400", Stored(L"prtMediaPathType2"));
}

// The apply pass collects the paper-handling devices, the inputs' models and capacities, and
// clears the fresh mark; the first device with a model tells the accessory.
TEST_F(UpdateNow, ApplyingCollectsTheAnswersOnce) {
    struct Row {
        const char* what;
        const wchar_t *phd1Model, *phd2Model;
        Bytes phd1Memory, phd2Memory;
        DWORD accessory;
    } rows[] = {
        {"the second device tells it", L"ZQ Tray", L"ZQ Stapler", B({0}), B({1, 3}), 3},
        {"the first one that does wins", L"ZQ Tray", L"ZQ Stapler", B({1, 2}), B({1, 3}), 2},
        {"a device without a model tells nothing", L"", L"ZQ Stapler", B({1, 2}), B({1, 5}), 0},
        {"a short value tells nothing", L" ", L"", B({1}), B({1, 3}), 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        m_worker.VPaperHandlingAnswer(FALSE);
        PutText(L"PHD1-MODEL", row.phd1Model);
        PutText(L"PHD2-MODEL", row.phd2Model);
        Put(L"PHD1-DEVICE-MEMORY", REG_BINARY, row.phd1Memory);
        Put(L"PHD2-DEVICE-MEMORY", REG_BINARY, row.phd2Memory);
        m_worker.VPaperHandlingAnswer(TRUE);
        EXPECT_EQ(row.accessory, m_worker.AccessoryValue());
        EXPECT_STREQ(row.phd1Model, m_worker.PaperHandlerModel(1));
        EXPECT_STREQ(L" ", m_worker.PaperHandlerModel(3)) << "the placeholder is a model text too";
    }
    m_worker.VInputModelAnswer(FALSE);
    m_worker.VInputCapacityAnswer(FALSE);
    PutText(L"prtInputModel2", L"Sheet Feeder");
    PutNumber(L"prtInputMaxCapacity2", 250);
    m_worker.VInputModelAnswer(TRUE);
    m_worker.VInputCapacityAnswer(TRUE);
    EXPECT_STREQ(L"Sheet Feeder", m_worker.InputModel(2));
    EXPECT_EQ(250u, m_worker.InputCapacity(2));
    EXPECT_EQ(0u, m_worker.InputCapacity(1)) << "not answered";

    EXPECT_FALSE(m_worker.VApplyDeviceUpdate()) << "no fresh answers";
    PutNumber(L"DevSetUpdate", 1);
    EXPECT_TRUE(m_worker.VApplyDeviceUpdate());
    EXPECT_EQ(L"dword:0", Stored(L"DevSetUpdate"));
    EXPECT_EQ(nullptr, m_worker.InputModel(2)) << "the buffers are freed";
}

// ---------------------------------------------------------------------------------------------
// The agent and the link served by their programs, from processes of their own.
// ---------------------------------------------------------------------------------------------
class ServerPrograms : public UpdateNow {
protected:
    void SetUp() override {
        UpdateNow::SetUp();
        Register();
        m_programs = std::make_unique<zqdevtest::CServersOutOfProcess>();
        Script(kModelAnswer);
    }
    void TearDown() override {
        m_programs.reset();
        UpdateNow::TearDown();
    }
    std::unique_ptr<zqdevtest::CServersOutOfProcess> m_programs;
};

// A server whose process stopped holds no call of the worker beyond its limit: the printer counts as
// not answering, and the servers are not asked again in that run.
TEST_F(ServerPrograms, AStoppedServerAnswersWithinTheLimit) {
    const std::string registered = Registrations();
    const struct {
        const char* what;
        const wchar_t* program;
        const CLSID* clsid;
        const IID* iid;
        bool probe;  // the device check, else the component check
    } rows[] = {{"the agent, in the device check", L"zqagent.exe", &CLSID_ZQDeviceAgent, &IID_IZQDeviceAgent, true},
                {"the link, in the component check", L"zqlink.exe", &CLSID_ZQDeviceLink, &IID_IZQDeviceLink, false}};
    constexpr DWORD kLimitMs = 1500;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CZQAutoConfig worker;
        worker.VSetPrinter(m_h, m_printer.Identity().name.c_str());
        worker.VSetServerTimeLimit(kLimitMs);
        // The server runs for an object of the test's own, and stops.
        CZQComPtr<IUnknown> held;
        ASSERT_EQ(S_OK, ZQCreateDeviceServer(*row.clsid, *row.iid, held.PutVoid()));
        const std::vector<DWORD> servers = zqdevtest::ProcessesOf(row.program);
        ASSERT_EQ(1u, servers.size());
        zqdevtest::StopProcess(servers[0], true);
        ULONGLONG start = GetTickCount64();
        EXPECT_EQ(row.probe ? 1 : 0, row.probe ? worker.IProbeDevice() : worker.BComponentsRegistered());
        // Its limit, and the start of a server that does answer (the agent's, before the link).
        EXPECT_LT(GetTickCount64() - start, kLimitMs + 3000u);
        EXPECT_TRUE(worker.BServerSilent());
        start = GetTickCount64();
        EXPECT_FALSE(worker.BUpdateNow(FALSE));
        EXPECT_EQ(CZQAutoConfig::kStateNotReady, worker.State());
        EXPECT_LT(GetTickCount64() - start, 500u) << "not asked again";
        zqdevtest::StopProcess(servers[0], false);
    }
    EXPECT_EQ(registered, Registrations()) << "a server there is not registered again";
}

// What a window of the caller's thread received, and whether a device call was waiting then.
bool g_calling = false;
std::vector<std::pair<UINT, bool>> g_received;
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT || msg >= WM_APP) g_received.emplace_back(msg, g_calling);
    if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Update Now of two sheets in a row on a stopped server: the first waits its limit, answering sent
// messages and paints but taking nothing posted (a press of OK waits); the next one answers at once
// and leaves no second thread in the server; once the server goes on, it answers again.
TEST_F(ServerPrograms, AStoppedServerIsWaitedForOnceAndTheWaitTakesNoInput) {
    constexpr DWORD kLimitMs = 1000;
    CZQComPtr<IUnknown> held;
    ASSERT_EQ(S_OK, ZQCreateDeviceServer(CLSID_ZQDeviceAgent, IID_IZQDeviceAgent, held.PutVoid()));
    const std::vector<DWORD> servers = zqdevtest::ProcessesOf(L"zqagent.exe");
    ASSERT_EQ(1u, servers.size());
    zqdevtest::StopProcess(servers[0], true);
    const WNDCLASSW cls = {0, RecordingProc, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr,
                           L"ZQRecordingSheet"};
    RegisterClassW(&cls);
    const HWND window = CreateWindowExW(0, cls.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                        nullptr, cls.hInstance, nullptr);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    g_received.clear();
    PostMessageW(window, WM_APP, 0, 0);
    InvalidateRect(window, nullptr, FALSE);
    std::thread sender([window] {
        Sleep(200);
        SendMessageW(window, WM_APP + 1, 0, 0);
    });
    // Each sheet's Update Now has a worker of its own; the next one's makes no thread.
    for (const DWORD withinMs : {kLimitMs + 2000, 300ul}) {
        CZQAutoConfig worker;
        worker.VSetPrinter(m_h, m_printer.Identity().name.c_str());
        worker.VSetServerTimeLimit(kLimitMs);
        const size_t threads = zqdevtest::ThreadsOf(GetCurrentProcessId());
        const ULONGLONG start = GetTickCount64();
        g_calling = true;
        EXPECT_EQ(1, worker.IProbeDevice());
        g_calling = false;
        EXPECT_LT(GetTickCount64() - start, withinMs);
        if (withinMs < kLimitMs) {
            EXPECT_GE(threads, zqdevtest::ThreadsOf(GetCurrentProcessId())) << "no thread more";
        }
    }
    sender.join();
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    const std::vector<std::pair<UINT, bool>> expected = {{WM_PAINT, true}, {WM_APP + 1, true}, {WM_APP, false}};
    EXPECT_EQ(expected, g_received) << "sent messages and paints while waiting, the posted message after";
    DestroyWindow(window);

    zqdevtest::StopProcess(servers[0], false);
    int answer = 0;
    for (int i = 0; i < 50 && answer != 2; ++i, Sleep(100)) {
        CZQAutoConfig worker;
        worker.VSetPrinter(m_h, m_printer.Identity().name.c_str());
        answer = worker.IProbeDevice();
    }
    EXPECT_EQ(2, answer) << "the server answers once its waiting call has ended";
}

// Run by the test below in a process of its own: the first caller of the agent's program, which
// holds its agent until told to let go, then ends normally.
TEST(ServerCallers, DISABLED_FirstCallerHoldsItsAgentUntilToldToGo) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    CZQHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, L"Local\\ZQFirstCallerReady"));
    CZQHandle go(OpenEventW(SYNCHRONIZE, FALSE, L"Local\\ZQFirstCallerGo"));
    ASSERT_TRUE(ready && go);
    {
        CZQComPtr<IZQDeviceAgent> agent;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ZQDeviceAgent, nullptr, CLSCTX_LOCAL_SERVER, IID_IZQDeviceAgent,
                                         agent.PutVoid()));
        SetEvent(ready.Get());
        WaitForSingleObject(go.Get(), 30000);
    }
    CoUninitialize();
}

// Two callers of one server: the one that started it ends normally while the other still holds its
// agent, which goes on answering; the server ends with the last of them.
TEST_F(ServerPrograms, TwoCallersOfOneServerOneEnding) {
    CZQHandle ready(CreateEventW(nullptr, TRUE, FALSE, L"Local\\ZQFirstCallerReady"));
    CZQHandle go(CreateEventW(nullptr, TRUE, FALSE, L"Local\\ZQFirstCallerGo"));
    CZQHandle first = zqdevtest::StartProgram(
        L"device_tests.exe",
        L"--gtest_also_run_disabled_tests --gtest_filter=ServerCallers.DISABLED_FirstCallerHoldsItsAgentUntilToldToGo");
    ASSERT_TRUE(first) << "error " << GetLastError();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready.Get(), 30000));
    CZQComPtr<IZQDeviceAgent> agent;
    ASSERT_EQ(S_OK, ZQCreateDeviceServer(CLSID_ZQDeviceAgent, IID_IZQDeviceAgent, agent.PutVoid()));
    ASSERT_EQ(1u, zqdevtest::ProcessesOf(L"zqagent.exe").size()) << "one server for both";
    int failed = 0;
    for (int call = 0; call < 20; ++call) {
        if (call == 5) {
            SetEvent(go.Get());
            ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first.Get(), 30000));
            DWORD code = 1;
            EXPECT_TRUE(GetExitCodeProcess(first.Get(), &code) && code == 0) << "the first caller ended normally";
        }
        DWORD answers = 0, second = 0;
        if (agent->CheckDevice(m_printer.Identity().name.c_str(), L"FILE:", &answers, &second) != S_OK || answers != 1)
            ++failed;
    }
    EXPECT_EQ(0, failed);
    agent.Reset();
    EXPECT_EQ(0u, zqdevtest::LeftAfterAWhile(L"zqagent.exe")) << "the server ends with its last caller";
}

// Device checks of several threads, each made right after another let go of its agent, while that
// agent's server may be ending just then: every one finds the agent.
TEST_F(ServerPrograms, ChecksRightAfterAReleaseFindTheAgent) {
    std::atomic<int> failed{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 8; ++round) {
                Sleep(static_cast<DWORD>((t * 37 + round * 53) % 120));
                DWORD answers = 0;
                bool created = false;
                if (zqserver::HrCheckDevice(m_printer.Identity().name.c_str(), L"FILE:", &answers, &created,
                                            zqserver::kCallLimitMs) != S_OK || answers != 1)
                    ++failed;
            }
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(0, failed.load());
}

std::vector<std::wstring> g_boxes;
int RecordBox(void*, HWND owner, PCWSTR text, PCWSTR caption, UINT type) {
    g_boxes.push_back((owner ? L"owned " : L"") + std::wstring(caption) + L"|" + text + L"|" + std::to_wstring(type));
    return IDOK;
}

// The communication error comes from the status module, with the English texts for what it
// lacks, and is not shown without one.
TEST_F(UpdateNow, TheCommunicationErrorAndItsFallBacks) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring bare = std::wstring(temp) + L"zqbare", none = std::wstring(temp) + L"zqnowhere";
    CreateDirectoryW(bare.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(zqtest::BesideExe(L"zqwarnmod.dll").c_str(), (bare + L"\\zqcoremod.dll").c_str(), FALSE));
    struct Row {
        std::wstring driverDirectory;
        BOOL shown;
        std::wstring box;
    } rows[] = {
        {zqtest::ExeDir(), TRUE, L"Please Note|The printer did not answer. Check its connection and try again.|16"},
        {bare, TRUE,
         L"For Your Information|This command could not be completed because a printer communication error occurred.|16"},
        {none, FALSE, L""},
    };
    zqmsgbox::SetAnswerer(&RecordBox, nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.driverDirectory.begin(), row.driverDirectory.end()));
        g_boxes.clear();
        m_printer.Identity().driverDirectory = row.driverDirectory;
        CZQAutoConfig worker;
        worker.VSetPrinter(m_h, m_printer.Identity().name.c_str());
        EXPECT_EQ(row.shown, worker.BShowCommError());
        EXPECT_EQ(row.shown ? std::vector<std::wstring>{row.box} : std::vector<std::wstring>{}, g_boxes);
        EXPECT_EQ(nullptr, worker.HResModule()) << "the module goes with the message";
    }
    zqmsgbox::SetAnswerer(nullptr, nullptr);
    DeleteFileW((bare + L"\\zqcoremod.dll").c_str());
    RemoveDirectoryW(bare.c_str());
}

// ---------------------------------------------------------------------------------------------
// Installed options: the worker bound to a core driver's items.
// ---------------------------------------------------------------------------------------------
zqtest::FixtureFeature Table(const char* keyword, std::vector<std::string> options) {
    std::vector<std::pair<std::string, std::wstring>> named;
    for (const std::string& o : options) named.emplace_back(o, std::wstring(o.begin(), o.end()));
    return zqtest::ListFeature(keyword, named);
}

class InstalledOptions : public UpdateNow {
protected:
    void Bind(const std::vector<zqtest::FixtureFeature>& features) {
        for (const zqtest::FixtureFeature& f : features) m_host.Add(f);
        m_host.Build();
        m_worker.VBind(nullptr, m_host.Param(), nullptr);
    }
    zqtest::COptItemFixture m_host;
};

// The tray table by capacity and by model, and the tray features set from it (through the access
// layer's selection by index, whose bounds and reports its own tests hold); the apply pass hides
// the tables first.
TEST_F(InstalledOptions, TraysByCapacityAndByModel) {
    Bind({Table("ZQInstallableTraySize",
                {"Tray2-250-CASSETTE", "--Tray3--500--LOWER_CASSETTE", "Tray3Big-550-LOWER_CASSETTE", "Tray9-500-SIDE",
                 "Idle-0-MP", "Bare-500", "Odd-abc-HCI", "Tray4_500-500.9-hci", "Tray4_1500-1500-HCI", "Dup-999-MP",
                 "Dup-250-CASSETTE"}),
          Table("ZQInstallableTrayName", {"Feeder-zqef24", "Stacker-ZQHCO", "Lonely", "Ghost-NOPE"}),
          Table("ZQInstallableTrayFeatureName", {"Tray2", "Tray3Big", "Missing", "Tray4", "Tray5", "Dup", "Feeder"}),
          Table("ZQInstallableHCO", {"500Stapler-ZQS500"}), Table("ZQInstallableFinisher", {"Punch-ZQP2H"}),
          Table("Tray2", {"NOTINSTALLED", "INSTALLED"}), Table("Tray3Big", {"NOTINSTALLED", "INSTALLED"}),
          Table("Tray4", {"NONE", "Tray4_1500", "Tray4_500"}), Table("Tray5", {"NONE", "Ghost"}),
          Table("Dup", {"NOTINSTALLED", "INSTALLED"}), Table("Feeder", {"NOTINSTALLED", "INSTALLED"})});
    m_host.SetSelection("Tray3Big", 1);
    m_host.SetSelection("Tray5", 1);
    m_worker.BBlankAllValues();
    for (const auto& [input, capacity] : std::map<int, DWORD>{{2, 250}, {3, 500}, {5, 500}})
        PutNumber((L"prtInputMaxCapacity" + std::to_wstring(input)).c_str(), capacity);
    PutText(L"prtInputModel4", L"ZQEF24 Envelope Feeder");
    PutText(L"PHD2-MODEL", L"ZQHCO 2000");
    PutNumber(L"DevSetUpdate", 1);
    m_worker.VPaperHandlingAnswer(TRUE);
    m_worker.VInputModelAnswer(TRUE);
    m_worker.VInputCapacityAnswer(TRUE);  // ends in setting the trays
    // Name, kind code, capacity, installed.
    std::vector<std::wstring> table;
    for (int i = 0; i < m_worker.IBuildTrayTable(); ++i) {
        const InstallableTrayEntry* e = m_worker.TrayEntry(i);
        table.push_back(std::wstring(e->szName) + L" " + std::to_wstring(e->iKindCode) + L" " +
                        std::to_wstring(e->dwCapacity) + L" " + std::to_wstring(e->iInstalled));
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Tray2 2 250 1", L"Tray3 3 500 1", L"Tray3Big 3 550 0", L"Tray9 -1 500 0",
                                         L"Idle 1 0 0", L"Bare 0 500 0", L"Odd 5 0 0", L"Tray4_500 5 500 1",
                                         L"Tray4_1500 5 1500 0", L"Dup 1 999 0", L"Dup 2 250 1", L"Feeder 0 0 1",
                                         L"Stacker 0 0 1", L"Lonely 0 0 0", L"Ghost 0 0 0"}),
              table);
    int index = -1;
    EXPECT_TRUE(m_worker.BFindTrayEntry(L"dup", 15, &index) && index == 10) << "the installed one of two";
    EXPECT_TRUE(m_worker.BFindTrayEntry(L"Dup", 10, &index) && index == 9) << "else the last one";
    EXPECT_FALSE(m_worker.BFindTrayEntry(L"Tray7", 15, &index));
    const std::map<std::string, std::string> trays = {{"Tray2", "INSTALLED"}, {"Tray3Big", "NOTINSTALLED"},
                                                      {"Tray4", "Tray4_500"}, {"Tray5", "NONE"},
                                                      {"Dup", "INSTALLED"},  {"Feeder", "INSTALLED"}};
    for (const auto& [feature, option] : trays) EXPECT_EQ(option, m_host.Current(feature)) << feature;

    EXPECT_TRUE(m_worker.VApplyDeviceUpdate());
    for (const char* item : {"ZQInstallableTrayFeatureName", "ZQInstallableTraySize", "ZQInstallableTrayName",
                             "ZQInstallableHCO", "ZQInstallableFinisher"})
        EXPECT_TRUE(m_host.Item(item)->Flags & OPTIF_HIDE) << item;
    EXPECT_EQ(0, m_worker.TrayCount()) << "the table goes with the pass";
}

// "UserDefinedMedia" from the media range and mask: swapped bounds, a mask that names numbers, one
// too long to be one, twelve names at most; without a name the list goes from both places.
TEST_F(InstalledOptions, UserDefinedMediaFromTheRangeAndTheMask) {
    Bind({Table("ZQMediaDMLRange", {"26-13", "13-26", "13", "x-y", "0-40"})});
    const std::wstring longName(70, L'n');
    using Names = std::map<int, std::wstring>;
    Names many = {{1, L" "}, {2, L""}, {3, longName}};
    for (int n = 4; n <= 15; ++n) many[n] = L"M" + std::to_wstring(n);
    const Bytes stale = {'O', 0, 'l', 0, 'd', 0, 0, 0, 0, 0};
    const struct {
        const char* what;
        LONG range;
        Bytes mask;  // none when empty
        Names names;
        std::wstring list;
        int count;
    } rows[] = {
        {"swapped bounds", 0, {}, {{12, L"X"}, {13, L"A"}, {20, L"B"}, {26, L"C"}, {27, L"Y"}}, L"msz:A|B|C", 3},
        {"a mask of 30 00: 13 and 14", 1, {0x30, 0x00}, {{13, L"A"}, {14, L"B"}, {15, L"C"}}, L"msz:A|B", 2},
        {"a mask of 20 00, the text \" \": 14 only", 1, {0x20, 0x00}, {{13, L"A"}, {14, L"B"}}, L"msz:B", 1},
        {"a mask of 00 19 00 00: 17, 20 and 21", 1, {0x00, 0x19, 0x00, 0x00},
         {{13, L"A"}, {17, L"B"}, {20, L"C"}, {21, L"D"}, {22, L"E"}}, L"msz:B|C|D", 3},
        {"five bytes are no mask", 1, {0, 0, 0, 0x30, 0}, {{13, L"A"}, {15, L"C"}}, L"msz:A|C", 2},
        {"a zero mask and no high bound: 13 to 26", 2, {0, 0, 0, 0}, {{13, L"A"}, {26, L"C"}}, L"msz:A|C", 2},
        {"no numbers: 13 to 26", 3, {}, {{13, L"A"}, {26, L"C"}}, L"msz:A|C", 2},
        {"blank names skipped, twelve kept, each cut", 4, {}, many,
         L"msz:" + longName.substr(0, 63) + L"|M4|M5|M6|M7|M8|M9|M10|M11|M12|M13|M14", 12},
        {"no name", 1, {}, {{13, L" "}}, L"(none)", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        RegDeleteTreeW(HKEY_CURRENT_USER, kStore.c_str());
        Put(L"UserDefinedMedia", REG_MULTI_SZ, stale);
        m_printer.PutValue(zqspool::CZQMemoryPrinter::kRootKey, L"UserDefinedMedia", REG_MULTI_SZ, stale.data(),
                           static_cast<DWORD>(stale.size()));
        m_host.SetSelection("ZQMediaDMLRange", row.range);
        if (!row.mask.empty()) Put(L"MEDIA-NAMES-AVAILABLE", REG_BINARY, row.mask);
        for (const auto& [n, name] : row.names) PutText((L"MEDIA" + std::to_wstring(n) + L"-NAME").c_str(), name.c_str());
        EXPECT_EQ(row.count, m_worker.IUpdateUserDefinedMedia());
        EXPECT_EQ(row.list, Stored(L"UserDefinedMedia"));
        EXPECT_EQ(row.count != 0,
                  m_printer.GetValue(zqspool::CZQMemoryPrinter::kRootKey, L"UserDefinedMedia", nullptr, nullptr))
            << "the printer's own copy goes too";
    }
    m_host.FailFeature("ZQMediaDMLRange");
    Put(L"UserDefinedMedia", REG_MULTI_SZ, stale);
    EXPECT_EQ(0, m_worker.IUpdateUserDefinedMedia()) << "an unreadable range changes nothing";
    EXPECT_EQ(L"msz:Old", Stored(L"UserDefinedMedia"));
}

// "NotifyDate" when a list changed: another count, an entry that differs other than in case; not
// for equal lists, nor for one that ends early at the same count.
TEST_F(InstalledOptions, TheChangeNoteOfTheLists) {
    using namespace std::string_literals;
    const struct {
        const char* what;
        std::wstring before, after;  // without the closing empty text
        DWORD beforeCount, afterCount;
        bool noted;
    } rows[] = {
        {"both empty", L"", L"", 0, 0, false},
        {"the same in another case", L"Glossy\0Film\0"s, L"GLOSSY\0film\0"s, 2, 2, false},
        {"one more", L"Glossy\0"s, L"Glossy\0Film\0"s, 1, 2, true},
        {"emptied", L"Glossy\0Film\0"s, L"", 2, 0, true},
        {"another entry", L"Glossy\0Film\0"s, L"Glossy\0Card\0"s, 2, 2, true},
        {"the new list ends early", L"Glossy\0Film\0"s, L"Glossy\0\0Card\0"s, 2, 2, false},
    };
    for (const auto& row : rows) {
        for (bool bins : {false, true}) {
            SCOPED_TRACE(std::string(row.what) + (bins ? ", output bins" : ", media"));
            zqspool::Spooler().DeletePrinterDataW(m_h, const_cast<PWSTR>(L"NotifyDate"));
            const std::wstring before = row.before + L'\0', after = row.after + L'\0';
            PCWSTR b = row.beforeCount ? before.c_str() : nullptr, a = row.afterCount ? after.c_str() : nullptr;
            auto note = bins ? &CZQAutoConfig::VNoteOutputBinListChange : &CZQAutoConfig::VNoteMediaListChange;
            (m_worker.*note)(b, a, row.beforeCount, row.afterCount);
            std::vector<BYTE> data;
            DWORD type = 0;
            EXPECT_EQ(row.noted, m_printer.GetValue(zqspool::CZQMemoryPrinter::kRootKey, L"NotifyDate", &type, &data));
            if (!row.noted) continue;
            const std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2 - 1);
            unsigned month = 0, day = 0, year = 0, h = 0, m = 0, sec = 0;
            EXPECT_EQ(6, swscanf(text.c_str(), L"%2u/%2u/%4u:%2u:%2u:%2u", &month, &day, &year, &h, &m, &sec)) << text;
            EXPECT_EQ(19u, text.size());
            EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
        }
    }
}

// The session leaves the caller's apartment as it found it, also when the printer cannot be opened.
TEST_F(InstalledOptions, TheSessionUndoesOnlyItsOwnComInitialisation) {
    const struct {
        const char* what;
        int apartment;  // -1 none, else the COINIT value the thread starts with
        bool printer;
        HRESULT after;  // CoInitializeEx(apartment-threaded) once the session is closed
    } rows[] = {
        {"no apartment", -1, true, S_OK},
        {"a sheet's apartment", COINIT_APARTMENTTHREADED, true, S_FALSE},
        {"the multithreaded apartment", COINIT_MULTITHREADED, true, RPC_E_CHANGED_MODE},
        {"no apartment, no printer", -1, false, S_OK},
        {"refused in a sheet's apartment, no printer", COINIT_APARTMENTTHREADED, false, S_FALSE},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::thread([&] {
            if (row.apartment >= 0) CoInitializeEx(nullptr, static_cast<DWORD>(row.apartment));
            CZQAutoConfig worker;
            worker.VSetPrinter(nullptr, row.printer ? m_printer.Identity().name.c_str() : L"No Such Printer");
            EXPECT_EQ(row.printer ? TRUE : FALSE, worker.BOpenSession());
            EXPECT_EQ(row.printer, worker.HPrinter() != nullptr);
            worker.VCloseSession();
            EXPECT_EQ(nullptr, worker.HPrinter());
            const HRESULT after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            EXPECT_EQ(row.after, after);
            if (SUCCEEDED(after)) CoUninitialize();
            if (row.apartment >= 0) CoUninitialize();
        }).join();
    }
    EXPECT_FALSE(m_worker.BSetEACStatus(1, nullptr));
    EXPECT_TRUE(m_worker.BSetEACStatus(1, m_h));
    EXPECT_EQ(L"dword:1", Stored(L"EACStatus"));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Installed hardware, accessories, output bins and rolls.
// ---------------------------------------------------------------------------------------------
std::vector<std::string> Reports(zqtest::COptItemFixture& host) {
    std::vector<std::string> out;
    for (const zqtest::UpdateRecord& u : host.Updates()) out.push_back(u.keyword + "=" + std::to_string(u.sel));
    host.ClearUpdates();
    return out;
}

// Memory in kilobytes against option sizes in megabytes (below, between, above; PostScript ranges
// without the help entry); the duplex unit and the disk reported only when they change.
TEST_F(InstalledOptions, MemoryDuplexUnitAndDisk) {
    Bind({Table("Memory", {"16MB", "32MB", "64MB", "128MB"}),
          Table("InstalledMemory", {"16-31MB", "32-63MB", "64-127MB", "HelpIndex"}),
          Table("DuplexUnit", {"FALSE", "TRUE"}), Table("PrinterHardDisk", {"NotInstalled", "Installed"})});
    const struct {
        DWORD pdl, kilobytes, pathType, media3;  // 6400: the placeholder, no answer
        const char* memory;
        std::vector<std::string> reports;  // of the flags
    } rows[] = {
        {0, 65536, 4, 3, "64MB 16-31MB", {"DuplexUnit=1", "PrinterHardDisk=1"}},
        {0, 200000, 4, 3, "128MB 16-31MB", {}},
        {0, 8192, 6400, 2, "16MB 16-31MB", {"DuplexUnit=0", "PrinterHardDisk=0"}},
        {0, 40960, 6400, 6400, "32MB 16-31MB", {}},
        {3, 40960, 6400, 6400, "32MB 32-63MB", {}},
        {3, 300000, 6400, 6400, "32MB 64-127MB", {}},
        {3, 6400, 6400, 6400, "32MB 64-127MB", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kilobytes);
        m_worker.VSetLanguage(row.pdl);
        PutNumber(L"hrMemorySize", row.kilobytes);
        PutNumber(L"prtMediaPathType2", row.pathType);
        PutNumber(L"hrDiskStorageMedia3", row.media3);
        m_worker.VMemoryAnswer(TRUE);
        m_worker.VMediaPathAnswer(TRUE);
        m_worker.VDiskAnswer(TRUE);
        EXPECT_EQ(row.memory, m_host.Current("Memory") + " " + m_host.Current("InstalledMemory"));
        std::vector<std::string> flags = Reports(m_host);  // the memory lists are read by selecting
        const auto isMemory = [](const std::string& r) { return r.find("Memory") != std::string::npos; };
        flags.erase(std::remove_if(flags.begin(), flags.end(), isMemory), flags.end());
        EXPECT_EQ(row.reports, flags);
    }
}

// Job retention and the copy setting end on the highest option without the conflict mark, each
// allowed option reported on the way; PostScript leaves the last option out; all marked: no change.
TEST_F(InstalledOptions, ReselectionSkipsConflictingOptions) {
    auto feature = [](const char* keyword, std::vector<bool> marks) {
        zqtest::FixtureFeature f;
        f.keyword = keyword;
        for (size_t i = 0; i < marks.size(); ++i)
            f.options.push_back({"O" + std::to_string(i), L"O" + std::to_wstring(i), 0, false, marks[i]});
        return f;
    };
    Bind({feature("JobRetention", {false, true}), feature("DeviceIsVeltor", {false, false, false}),
          feature("Other", {true, true})});
    m_worker.VRefreshVeltorItems();
    EXPECT_EQ((std::vector<std::string>{"JobRetention=0", "DeviceIsVeltor=0", "DeviceIsVeltor=1", "DeviceIsVeltor=2"}),
              Reports(m_host));
    m_worker.VSetLanguage(3);
    m_worker.VRefreshVeltorItems();
    EXPECT_EQ((std::vector<std::string>{"JobRetention=0", "DeviceIsVeltor=0", "DeviceIsVeltor=1"}), Reports(m_host));
    m_host.SetSelection("Other", 1);
    m_worker.VReselectAllowedOptions(m_host.Item("Other"));
    EXPECT_TRUE(Reports(m_host).empty());
}

// The accessory by part numbers in the devices' models (any case; mailboxes of their kind only),
// else the none option, else option 0; the mailbox mode the first device with a model reports.
TEST_F(InstalledOptions, AccessoryAndMailboxModeFromTheDevices) {
    Bind({Table("ZQInstallableHCO", {"MBX5Mailbox-W6025", "MBX5Stacker--W6025", "500Stacker-W5161", "Lone"}),
          Table("AccessoryOutputBins", {"MBX5Stacker", "NotInstalled", "500Stacker", "MBX5Mailbox", "Lone"}),
          Table("MailboxModes",
                {"MailboxModeStacker", "MailboxModeSeparator", "MailboxModeCollator", "MailboxModeMailbox"})});
    const struct {
        const wchar_t *phd1, *phd2;
        int mode;
        const char *accessory, *mailboxMode;
    } rows[] = {
        {L"MAILBOX W6025", L"", 4, "MBX5Mailbox", "MailboxModeMailbox"},
        {L"ZQ Tray", L"zq mailbox w6025", 2, "MBX5Mailbox", "MailboxModeSeparator"},
        {L"STACKER W6025", L"", 1, "MBX5Stacker", "MailboxModeStacker"},
        {L"HCO w5161", L"", 3, "500Stacker", "MailboxModeCollator"},
        {L"HCO W9999", L"", 5, "NotInstalled", "MailboxModeCollator"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.accessory);
        m_worker.VPaperHandlingAnswer(FALSE);
        PutText(L"PHD1-MODEL", row.phd1);
        PutText(L"PHD2-MODEL", row.phd2);
        Put(L"PHD1-DEVICE-MEMORY", REG_BINARY, B({1, row.mode}));
        m_worker.VPaperHandlingAnswer(TRUE);
        EXPECT_EQ(std::string(row.accessory) + " " + row.mailboxMode,
                  m_host.Current("AccessoryOutputBins") + " " + m_host.Current("MailboxModes"));
    }
    zqtest::COptItemFixture bare;  // no none option
    bare.Add(Table("AccessoryOutputBins", {"A", "B"}));
    bare.Build();
    bare.SetSelection("AccessoryOutputBins", 1);
    m_worker.VBind(nullptr, bare.Param(), nullptr);
    PWSTR models[6] = {const_cast<PWSTR>(L"W2")};
    m_worker.VSetAccessoryOutputBins(models);
    EXPECT_EQ("A", bare.Current("AccessoryOutputBins"));
}

// The finishers by the option models of each device with options (the last such device decides,
// six models at most), else the last none option. The reset pass asks the printer for the counts,
// stores a count above six as six and blanks the models.
TEST_F(InstalledOptions, FinishersFromTheDevicesOptions) {
    Bind({Table("ZQInstallableFinisher", {"TwoHole-P2H", "ThreeHole-p3h", "Installed-PIK1"}),
          Table("ZQPunchUnitType", {"NONE", "TwoHole", "NotInstalled", "ThreeHole"}),
          Table("ZQPostInsertionKit", {"False", "Installed"})});
    const struct {
        std::map<int, std::vector<std::wstring>> devices;  // device: its option models
        const char* finishers;
    } rows[] = {
        {{{2, {L"ZQ P3H Punch", L"pik1"}}}, "ThreeHole Installed"},
        {{{1, {L"P2H"}}, {3, {L"P3H"}}}, "ThreeHole False"},
        {{{2, {L" ", L""}}}, "NotInstalled False"},
        {{{2, {L"", L"", L"", L"", L"", L"", L"P2H", L"", L""}}}, "NotInstalled False"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.finishers);
        RegDeleteTreeW(HKEY_CURRENT_USER, kStore.c_str());
        for (const auto& [n, models] : row.devices) {
            const std::wstring phd = L"PHD" + std::to_wstring(n);
            PutNumber((phd + L"-NUMBER-OF-OPTIONS").c_str(), 0x300 + static_cast<DWORD>(models.size()));
            for (size_t m = 0; m < models.size(); ++m)
                PutText((phd + L"-OPTIONS-MODEL-" + std::to_wstring(m + 1)).c_str(), models[m].c_str());
        }
        m_worker.VApplyFinisherOptions(TRUE);
        EXPECT_EQ(row.finishers, m_host.Current("ZQPunchUnitType") + " " + m_host.Current("ZQPostInsertionKit"));
    }
    Register();
    Script("1.3.6.1.4.1.32473.2.3.9.4.2.1.1.4.5.2.5.0 2 le4:9\n");
    m_worker.BBlankAllValues();
    std::wstring reset;
    for (const wchar_t* name : {L"PHD2-NUMBER-OF-OPTIONS", L"PHD3-NUMBER-OF-OPTIONS", L"PHD2-OPTIONS-MODEL-6",
                                L"PHD2-OPTIONS-MODEL-7"})
        reset += Stored(name) + L";";
    EXPECT_EQ(L"dword:6;dword:0;sz: ;sz:P2H;", reset);
}

// "OutputBinNames" from the bins in the range, for the mailbox accessories only (exact keyword),
// fourteen names at most, each cut; without a name the list goes from both places.
TEST_F(InstalledOptions, OutputBinNamesForMailboxes) {
    Bind({Table("ZQOutputBinDMLRange", {"5-2", "1-40", "x"}),
          Table("AccessoryOutputBins", {"MBX5Mailbox", "mbx5mailbox", "MBX3Mailbox"})});
    std::map<int, std::wstring> many = {{1, L"A very long bin name indeed"}, {2, L" "}};
    for (int n = 3; n <= 20; ++n) many[n] = L"B" + std::to_wstring(n);
    const struct {
        LONG range, accessory;
        std::map<int, std::wstring> names;
        std::wstring list;
    } rows[] = {
        {0, 0, {{1, L"X"}, {2, L"A"}, {5, L"B"}, {6, L"Y"}}, L"msz:A|B"},
        {1, 2, many, L"msz:A very long bin n|B3|B4|B5|B6|B7|B8|B9|B10|B11|B12|B13|B14|B15"},
        {2, 0, {{14, L"Z"}, {15, L"N"}}, L"msz:Z"},
        {2, 1, {{3, L"C"}}, L"(none)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.list);
        Put(L"OutputBinNames", REG_MULTI_SZ, B({'O', 0, 0, 0, 0, 0}));
        m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, L"OutputBinNames", L"Old");
        m_host.SetSelection("ZQOutputBinDMLRange", row.range);
        m_host.SetSelection("AccessoryOutputBins", row.accessory);
        m_worker.VBlankOutputNames();
        for (const auto& [n, name] : row.names) PutText((L"prtOutputName" + std::to_wstring(n)).c_str(), name.c_str());
        EXPECT_EQ(row.list == L"(none)" ? 0 : 1 + std::count(row.list.begin(), row.list.end(), L'|'),
                  m_worker.IUpdateOutputBinNames());
        EXPECT_EQ(row.list, Stored(L"OutputBinNames"));
        EXPECT_EQ(row.list != L"(none)",
                  m_printer.GetValue(zqspool::CZQMemoryPrinter::kRootKey, L"OutputBinNames", nullptr, nullptr));
    }
}

// The roll printer's helper file, the plug-in's roll items of roll 1 (109 name, 111 type, 107
// width, 105 custom width) and the sheet (114, 117, 123, 120), and a worker with both.
class InstalledRolls : public InstalledOptions {
protected:
    void BindRolls(const char* option1, const char* option2) {
        ASSERT_TRUE(m_rules.Parser().BLoad(zqtest::BesideExe(L"samples\\zqroll\\zqroll.xml").c_str()));
        m_rules.Parser().VSetLoaded(TRUE);
        std::vector<zqtest::FixtureFeature> features = {Table("InstalledRolls", {option1, option2})};
        for (BYTE id : {109, 111, 107, 105, 114, 117, 123, 120}) {
            zqtest::FixtureFeature f;
            const bool list = id == 111 || id == 107 || id == 117 || id == 123;
            f.kind = list ? zqtest::FixtureKind::List : zqtest::FixtureKind::Edit;
            f.pubId = id;
            f.oem = true;
            for (const wchar_t* text : {L"Bond Paper", L"Film", L"24 in.", L"33.11 in. (A0)", L"Unknown"})
                if (list) f.options.push_back({"o", text});
            features.push_back(f);
        }
        Bind(features);
        m_rolls.VSetPrinter(m_h, m_printer.Identity().name.c_str());
        m_rolls.VBind(nullptr, m_host.Param(), nullptr);
    }
    // The input's answers (null texts and width 0: not answered) over values "K" of the prefix.
    void PutInput(int n, DWORD size, const wchar_t* vendor, DWORD type, DWORD width, const std::wstring& prefix) {
        RegDeleteTreeW(HKEY_CURRENT_USER, kStore.c_str());
        const std::wstring tray = L"TRAY" + std::to_wstring(n) + L"-";
        PutNumber((tray + L"MEDIA-SIZE-LOADED").c_str(), size);
        if (vendor) PutText((tray + L"MEDIA-VENDOR").c_str(), vendor);
        PutText((tray + L"MEDIA-NAME").c_str(), L"Bond");
        PutNumber((tray + L"MEDIA-TYPE").c_str(), type);
        if (width) PutNumber((tray + L"CUSTOM-MEDIA-WIDTH").c_str(), width);
        for (const wchar_t* field : {L"Name", L"Type", L"Width", L"CustomWidth"}) {
            PutText((prefix + field).c_str(), L"K");
            m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, prefix + field, L"K");
        }
    }
    // "name|type|width|custom" in the store ("/printer data" when that differs), then " = " and the
    // items: name, type, width, custom width (" off" when disabled).
    std::wstring Roll(const std::wstring& prefix, const BYTE (&ids)[4]) {
        std::wstring out;
        for (const wchar_t* field : {L"Name", L"Type", L"Width", L"CustomWidth"}) {
            const std::wstring stored = Stored((prefix + field).c_str()).substr(3);
            std::vector<BYTE> data;
            m_printer.GetValue(zqspool::CZQMemoryPrinter::kRootKey, prefix + field, nullptr, &data);
            const std::wstring printer = reinterpret_cast<const wchar_t*>(data.data());
            out += (field[0] == L'N' ? L"" : L"|") + stored + (printer == stored ? L"" : L"/" + printer);
        }
        out += L" =";
        for (BYTE id : ids) {
            const OPTITEM* item = m_host.ItemByPubId(id, true);
            const bool edit = item->pOptType->Type == TVOT_EDITBOX;
            out += L" " + std::wstring(edit ? static_cast<PCWSTR>(item->pSel) : item->pOptType->pOptParam[item->Sel].pData);
        }
        return out + (m_host.ItemByPubId(ids[3], true)->Flags & OPTIF_DISABLED ? L" off" : L"");
    }
    CZQXmlUiRules m_rules;
    CZQAutoConfig m_rolls{&m_rules};
};

// "InstalledRolls" from the inputs' answers: numbered, by inputs 1 to 3; by parts, the option whose
// rolls are all installed and most numerous, else option 0.
TEST_F(InstalledRolls, TheInstalledRollsInBothForms) {
    BindRolls("2Rolls", "3Rolls");
    zqtest::COptItemFixture parts;
    parts.Add(Table("InstalledRolls", {"None", "Sheet", "Sheet_Roll", "ManualFeed_Sheet_Roll", "Roll"}));
    parts.Build();
    CZQAutoConfig worker;
    worker.VSetPrinter(m_h, m_printer.Identity().name.c_str());
    worker.VBind(nullptr, parts.Param(), nullptr);
    const struct {
        std::vector<Bytes> installed;  // inputs 1, 2, 3; empty: not answered
        const char* forms;
    } rows[] = {
        {{B({2}), B({2, 0, 0, 0}), B({2})}, "3Rolls ManualFeed_Sheet_Roll"},
        {{B({2}), B({2}), B({1})}, "2Rolls Sheet_Roll"},
        {{B({2}), B({0}), B({2})}, "2Rolls Sheet"},
        {{B({3}), {}, B({0})}, "2Rolls None"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.forms);
        RegDeleteTreeW(HKEY_CURRENT_USER, kStore.c_str());
        m_host.SetSelection("InstalledRolls", 1);
        parts.SetSelection("InstalledRolls", 4);
        for (int n = 1; n <= 3; ++n) {
            if (!row.installed[n - 1].empty())
                Put((L"TRAY" + std::to_wstring(n) + L"-INSTALLED").c_str(), REG_BINARY, row.installed[n - 1]);
        }
        EXPECT_EQ(ZQOPT_OK, m_rolls.DWSetInstalledRolls());
        worker.VSetInstalledRollsByParts();
        EXPECT_EQ(row.forms, m_host.Current("InstalledRolls") + " " + parts.Current("InstalledRolls"));
    }
}

// Each input's roll: the name from vendor and name, type and width by the helper file's lists,
// widths snapped within a tenth of an inch or kept as custom widths (limited by the helper file),
// nothing loaded; unreadable answers, a size answer of another kind and the third input of
// "2Rolls" leave the values alone. The parts form names values and items by its parts; without
// the status module's texts their fall-backs, without the module none.
TEST_F(InstalledRolls, RollMediaOfEachInput) {
    BindRolls("2Rolls", "Sheet");
    const BYTE roll1[4] = {109, 111, 107, 105}, sheet[4] = {114, 117, 123, 120};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring exe = zqtest::ExeDir(), bare = std::wstring(temp) + L"zqbarerolls", none = L"C:\\zqnowhere";
    CreateDirectoryW(bare.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(zqtest::BesideExe(L"zqwarnmod.dll").c_str(), (bare + L"\\zqcoremod.dll").c_str(), FALSE));
    const struct {
        LONG option;  // "2Rolls" or "Sheet" (parts)
        const std::wstring& directory;
        int input;
        DWORD size;
        const wchar_t* vendor;
        DWORD type, width;
        std::wstring roll;
    } rows[] = {
        {0, exe, 1, 0x7FFE, L"A", 1, 17280, L"A Bond|Bond Paper|24 in.|Standard = A Bond Bond Paper 24 in. Standard off"},
        {0, exe, 1, 0x65, L"A", 2, 17351, L"A Bond|Coated Paper|24 in.|Standard = A Bond Bond Paper 24 in. Standard off"},
        {0, exe, 1, 0x7FFE, L"A", 3, 23839, L"A Bond|Film|33.11 in. (A0)|Standard = A Bond Film 33.11 in. (A0) Standard off"},
        {0, exe, 1, 0x7FFE, nullptr, 1, 17400, L"|Bond Paper|K|24.17 =  Bond Paper 33.11 in. (A0) 24.17"},
        {0, exe, 1, 0x7FFE, L"A", 1, 28800, L"A Bond|Bond Paper|K|36.00 = A Bond Bond Paper 33.11 in. (A0) 36.00"},
        // Answers equal to the store's placeholders are answers too: type 32 has no text of its own.
        {0, exe, 1, 0x7FFE, L"A", 32, 6400, L"A Bond|Unknown|K|8.89 = A Bond Unknown 33.11 in. (A0) 8.89"},
        {0, exe, 1, 0, L"A", 1, 17280, L"Unknown|Unknown|Unknown|Unknown = Unknown Unknown Unknown Unknown"},
        {0, exe, 1, 0x7FFE, L"V", 1, 0, L"V Bond|Bond Paper|K|K = V Bond Bond Paper Unknown Unknown"},
        {0, exe, 1, 5, L"V", 1, 17280, L"K|K|K|K = V Bond Bond Paper Unknown Unknown"},
        {0, exe, 3, 0, L"V", 1, 17280, L"K|K|K|K = V Bond Bond Paper Unknown Unknown"},
        {1, exe, 1, 0, L"V", 1, 17280, L"Unknown|Unknown|Unknown|Unknown = Unknown Unknown Unknown Unknown"},
        {1, bare, 1, 0, L"V", 1, 17280, L"Unloaded|Unloaded|Unloaded|Unloaded = Unloaded Unknown Unknown Unloaded"},
        {1, bare, 1, 0x7FFE, L"V", 1, 17280, L"V Bond|K|K|Unknown = V Bond Unknown Unknown Unknown off"},
        {1, none, 1, 0, L"V", 1, 17280, L"||| =  Unknown Unknown  off"},
        {1, none, 1, 0x7FFE, L"V", 1, 17400, L"V Bond|K|K|24.17 = V Bond Unknown Unknown 24.17"},
    };
    for (const auto& row : rows) {
        const std::wstring prefix = row.option ? L"Sheet" : L"Roll" + std::to_wstring(row.input);
        SCOPED_TRACE(std::string(prefix.begin(), prefix.end()) + " " + std::to_string(row.width));
        PutInput(row.input, row.size, row.vendor, row.type, row.width, prefix);
        m_printer.Identity().driverDirectory = row.directory;
        m_host.SetSelection("InstalledRolls", row.option);
        if (row.option)
            m_rolls.VUpdateRollMediaByParts();
        else
            m_rolls.VUpdateRollMedia();
        EXPECT_EQ(row.roll, Roll(prefix, row.option ? sheet : roll1));
    }
    DeleteFileW((bare + L"\\zqcoremod.dll").c_str());
    RemoveDirectoryW(bare.c_str());
}
