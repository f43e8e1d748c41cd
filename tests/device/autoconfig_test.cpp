// Update Now on the in-memory printer whose driver lists the device-server stand-ins beside the
// test: the servers registered on demand and unregistered again, the answer store's rules, the
// placeholders and the success test, the queries as the servers' log records them, the apply pass
// and the communication error.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/zqmsgbox.h"
#include "common/zqstrings.h"
#include "devicetest.h"
#include "device/zqautoconfig.h"
#include "testsupport.h"
#include "zqdevrecord.h"
#include "zqmemprinter.h"

namespace {

using Bytes = std::vector<BYTE>;
constexpr const wchar_t* kGuid = L"{5B0E3C2A-91D4-4F6E-8A17-C3D2B1A0F9E8}";
const std::wstring kStore = std::wstring(L"Software\\Quorvane\\") + kGuid + L"\\ZQBIDIInfo";
const wchar_t* const kLibraries[] = {L"zqdevapi.dll", L"zqagent.dll", L"zqlink.dll", L"zqagentps.dll", L"zqlinkps.dll"};
const wchar_t* const kAllFiles[] = {L"zqagentps.dll", L"zqagent.exe", L"zqlink.exe", L"zqagent.dll",
                                    L"zqdevapi.dll",  L"zqlinkps.dll", L"zqlink.dll"};

Bytes B(std::initializer_list<int> bytes) { return Bytes(bytes.begin(), bytes.end()); }
Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A stored value as "sz:text", "dword:n", "bin:01 02", or "(none)".
std::wstring Stored(const wchar_t* name) {
    DWORD type = 0, cb = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kStore.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &cb) != ERROR_SUCCESS)
        return L"(none)";
    Bytes data(cb + 2);
    RegGetValueW(HKEY_CURRENT_USER, kStore.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &cb);
    if (type == REG_SZ) return L"sz:" + std::wstring(reinterpret_cast<const wchar_t*>(data.data()));
    if (type == REG_DWORD) return L"dword:" + std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
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

// The registrations the servers' log shows, in order: "+zqagent" a library registered (by itself
// or by its program), "+zqagent.exe" the program run, "-..." removed.
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
        Script("1.3.6.1.4.1.32473.2.3.9.4.2.1.1.3.2.0 4 01 15 \"ZQ Test\"\n");
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
    const std::string all = "+zqagentps +zqagent +zqagent.exe +zqdevapi +zqlinkps +zqlink +zqlink.exe "
                            "-zqagentps -zqagent -zqagent.exe -zqdevapi -zqlinkps -zqlink -zqlink.exe";
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
         "+zqagentps +zqagent +zqdevapi +zqlinkps +zqlink +zqlink.exe -zqagentps -zqagent -zqdevapi -zqlinkps -zqlink "
         "-zqlink.exe"},
        {"its program and library missing: no server is touched", "1010111", false, false, FALSE, S::kStateFilesMissing,
         ""},
        {"a missing proxy passes the file check while its class can be created", "0111111", true, false, TRUE,
         S::kStateDone, ""},
        {"and fails the run when it cannot", "0111111", false, false, FALSE, S::kStateNotReady, ""},
        {"the device library missing: the agent registered before is removed again", "1111011", false, false, FALSE,
         S::kStateNotReady, "+zqagentps +zqagent +zqagent.exe -zqagentps -zqagent -zqagent.exe"},
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
        Script("1.3.6.1.4.1.32473.2.3.9.4.2.1.1.3.2.0 4 01 15 \"ZQ Test\"\n");
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
    EXPECT_TRUE(CZQAutoConfig::BRunRegServer((dir + L"\\zqagent.exe").c_str()));
    EXPECT_TRUE(Creatable(CLSID_ZQDeviceAgent, IID_IZQDeviceAgent));
    EXPECT_EQ("+zqagent +zqagent.exe", Registrations()) << "not the program zq.exe";
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
        {L"prtInputModel15", L"sz: "}, {L"prtInputMaxCapacity1", L"dword:6400"}, {L"VELT_MODE", L"(none)"}};
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
        {zqtest::ExeDir(), TRUE, L"Printer Communication|The printer did not answer. Check its connection and try again.|16"},
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

}  // namespace
