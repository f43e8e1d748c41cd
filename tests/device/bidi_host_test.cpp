// The sample printers as their status monitor and the spooler's bidirectional channel describe
// them: the status text the installation seeded, and the bidirectional session against the
// stand-in objects, which the installation registered in the prefix (created by COM from there).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

#include "common/zqcommon.h"
#include "device/zqbidisession.h"
#include "hosttest.h"
#include "testsupport.h"
#include "zqdevrecord.h"
#include "zqhostapp.h"
#include "zqinstall.h"
#include "zqprinter.h"
#include "zqbidirecord.h"

namespace {

using BidiUnderHost = zqhosttest::SamplePrintersTest;

void SetSwitch(const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQBidiKey, name, REG_DWORD, &value, sizeof value);
}

// A file of the test's beside the executable; its path.
std::wstring WriteScript(const std::wstring& name, const std::string& text) {
    const std::wstring path = zqtest::BesideExe(name.c_str());
    if (FILE* f = _wfopen(path.c_str(), L"wb")) {
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
    }
    return path;
}

// Runs the body on a thread of its own, in the given apartment (none: -1).
template <typename Body>
void OnThread(int apartment, Body body) {
    std::thread([&] {
        const bool joined = apartment >= 0 && SUCCEEDED(CoInitializeEx(nullptr, static_cast<DWORD>(apartment)));
        body();
        if (joined) CoUninitialize();
    }).join();
}

TEST_F(BidiUnderHost, StatusTextsAnswerThePenQuestions) {
    struct Row {
        const wchar_t* printer;
        int pen1, pen2, cartridges, digit4;
    } rows[] = {
        {zqhosttest::kDeskPrinter, 120, 130, 70, 10},
        {zqhosttest::kRollPrinter, 120, 310, 350, 10},
    };
    for (const Row& r : rows) {
        CZQSpoolPrinter h = Open(r.printer);
        CZQCommon common;
        EXPECT_EQ(r.pen1, common.IReadStatusString(h.Get(), 1)) << r.printer;
        EXPECT_EQ(r.pen2, common.IReadStatusString(h.Get(), 2)) << r.printer;
        EXPECT_EQ(r.cartridges, common.IReadStatusString(h.Get(), 30)) << r.printer;
        EXPECT_EQ(r.digit4, common.IReadStatusString(h.Get(), 10)) << r.printer;
    }
}

TEST_F(BidiUnderHost, SessionAnswersFromThePrinterOrKeepsItsResetValues) {
    // Printers whose script the test names.
    const wchar_t* kScriptedPrinter = L"ZQ Scripted Printer";
    const wchar_t* kBrokenPrinter = L"ZQ Broken Script Printer";
    const HRESULT kBindFails = HRESULT_FROM_WIN32(ERROR_NOT_READY), kSendFails = HRESULT_FROM_WIN32(ERROR_GEN_FAILURE);
    struct Row {
        const char* what;
        const wchar_t* printer;
        const wchar_t* sw;  // switch set for the row
        DWORD value;
        BOOL opened;
        HRESULT lastError;  // after the open, or after the last query when it opened
        int pens, duplex, bins;
    } rows[] = {
        {"desk", zqhosttest::kDeskPrinter, nullptr, 0, TRUE, 0, 70, 1, 2},
        {"roll, its schemas spelt in another case", zqhosttest::kRollPrinter, nullptr, 0, TRUE, 0, 350, 0, 1},
        {"no bidirectional support", L"ZQ No Such Printer", nullptr, 0, FALSE, HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED), 0,
         -1, -1},
        {"bind fails", zqhosttest::kDeskPrinter, L"FailBind", static_cast<DWORD>(kBindFails), FALSE, kBindFails, 0, -1, -1},
        {"send fails", zqhosttest::kDeskPrinter, L"FailSendRecv", static_cast<DWORD>(kSendFails), TRUE, kSendFails, 0, -1,
         -1},
        {"answers of the wrong type", zqhosttest::kRollPrinter, L"WrongType", 1, TRUE, 0, 0, -1, -1},
        {"answers of another schema's type", kScriptedPrinter, nullptr, 0, TRUE, 0, 0, 1, -1},
        {"a script that cannot be read", kBrokenPrinter, nullptr, 0, FALSE, HRESULT_FROM_WIN32(ERROR_INVALID_DATA), 0, -1,
         -1},
    };
    const std::wstring scripted = WriteScript(L"mixed.zqb",
                                                        "/Printer/InputBin string \"2\"\n"
                                                        "/Printer/PenStatus bool true\n"
                                                        "/Printer/Installableoption/Duplexunit int 1\n");
    const std::wstring broken = WriteScript(L"broken.zqb", "/Printer/InputBin number 2\n");
    for (const Row& r : rows) {
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQBidiKey);
        RegSetKeyValueW(HKEY_CURRENT_USER, kZQBidiScriptsKey, kScriptedPrinter, REG_SZ, scripted.c_str(),
                        static_cast<DWORD>((scripted.size() + 1) * sizeof(WCHAR)));
        RegSetKeyValueW(HKEY_CURRENT_USER, kZQBidiScriptsKey, kBrokenPrinter, REG_SZ, broken.c_str(),
                        static_cast<DWORD>((broken.size() + 1) * sizeof(WCHAR)));
        if (r.sw) SetSwitch(r.sw, r.value);
        OnThread(-1, [&] {
            CZQBidiSession session;
            SetLastError(0);
            EXPECT_EQ(r.opened, session.BOpen(r.printer)) << r.what;
            if (!r.opened) {
                EXPECT_EQ(static_cast<DWORD>(r.lastError), GetLastError()) << r.what;
            }
            SetLastError(0);
            EXPECT_EQ(r.pens, session.BQueryPenStatus()) << r.what;
            EXPECT_EQ(r.duplex, session.BQueryDuplexUnit()) << r.what;
            EXPECT_EQ(r.bins, session.BQueryInputBins()) << r.what;
            if (r.opened) {
                EXPECT_EQ(static_cast<DWORD>(r.lastError), GetLastError()) << r.what;
            }
            session.VClose();
        });
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQBidiKey);
}

TEST(BidiSession, TakesOnlyAnswersOfTheirSchemasType) {
    const LONG one = 1, seven = 7;
    const auto* p1 = reinterpret_cast<const BYTE*>(&one);
    const auto* p7 = reinterpret_cast<const BYTE*>(&seven);
    const WCHAR text[] = L"7";
    struct Row {
        const wchar_t* schema;
        DWORD type;
        const BYTE* data;
        DWORD cb;
        BOOL taken;
        BOOL counters;
    } rows[] = {
        {L"/printer/dynamiccounterinfo", BIDI_BOOL, p1, 4, TRUE, TRUE},
        {L"/Printer/DynamicCounterInfo", BIDI_INT, p1, 4, TRUE, FALSE},
        {L"/Printer/DynamicCounterInfo", BIDI_BOOL, p1, 2, TRUE, FALSE},
        {L"/Printer/DynamicCounterInfo", BIDI_STRING, reinterpret_cast<const BYTE*>(text), sizeof text, FALSE, FALSE},
        {L"/Printer/InputBin", BIDI_INT, p7, 4, TRUE, FALSE},
        {nullptr, BIDI_BOOL, p1, 4, FALSE, FALSE},
    };
    for (const Row& r : rows) {
        CZQBidiSession session;
        EXPECT_EQ(r.taken, session.BTakeResult(r.schema, r.type, r.data, r.cb)) << r.type;
        EXPECT_EQ(r.counters, session.BDynamicCounters()) << r.type;
    }
}

TEST_F(BidiUnderHost, SessionLeavesTheThreadsApartmentAsItFoundIt) {
    struct Row {
        const char* what;
        int apartment;  // the thread's apartment before the session, -1 none
        BOOL failBind;
        BOOL opened;
        HRESULT reinit;  // CoInitializeEx in the session's model after the close
    } rows[] = {
        {"no apartment", -1, FALSE, TRUE, S_OK},
        {"no apartment, bind fails", -1, TRUE, FALSE, S_OK},
        {"single-threaded already", COINIT_APARTMENTTHREADED, FALSE, TRUE, S_FALSE},
        {"multithreaded", COINIT_MULTITHREADED, FALSE, FALSE, RPC_E_CHANGED_MODE},
    };
    for (const Row& r : rows) {
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQBidiKey);
        if (r.failBind) SetSwitch(L"FailBind", static_cast<DWORD>(E_FAIL));
        OnThread(r.apartment, [&] {
            CZQBidiSession session;
            EXPECT_EQ(r.opened, session.BOpen(zqhosttest::kDeskPrinter)) << r.what;
            if (r.apartment == COINIT_MULTITHREADED) {
                EXPECT_EQ(static_cast<DWORD>(RPC_E_CHANGED_MODE), GetLastError());
            }
            session.VClose();
            const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            EXPECT_EQ(r.reinit, hr) << r.what;
            if (SUCCEEDED(hr)) CoUninitialize();
        });
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQBidiKey);
}

// The desk printer reached without its device servers: a copy of its model with "Update Now", the
// switch for the bidirectional road, optional trays and the table that names them (each added
// where the sample does not have it already), beside the sample's files.
constexpr wchar_t kBidiPrinter[] = L"ZQ Desk 2400 Bidi";

void InstallBidiCopy() {
    std::string model;
    ASSERT_TRUE(ZQReadSmallFile(zqtest::BesideExe(zqhosttest::kDeskModel), model));
    const size_t name = model.find("Name=ZQ Desk 2400 Inkjet");
    ASSERT_NE(std::string::npos, name);
    model.replace(name, 24, "Name=ZQ Desk 2400 Bidi");
    const struct {
        const char* feature;
        const char* body;
    } added[] = {
        {"AutoConfiguration", "Name=Automatic Configuration\nScope=Device\nDefault=Off\nOption=Off | Off\nOption=On | On\nOption=UpdateNow | Update Now\n"},
        {"ZQEnableDeviceIDEAC", "Scope=Device\nKind=None\nOption=TRUE | On\n"},
        {"Tray2", "Name=Tray 2\nScope=Device\nDefault=NOTINSTALLED\nOption=NOTINSTALLED | Not Installed\n"
                  "Option=INSTALLED | Installed\n"},
        {"ZQLowerTray", "Name=Lower Tray\nScope=Device\nDefault=NONE\nOption=NONE | Not Installed\n"
                        "Option=LowerTray_250 | 250-Sheet Tray\nOption=LowerTray_500 | 500-Sheet Tray\n"},
        {"ZQInstallableTrayFeatureName", "Scope=Device\nFlags=hidden\nDefault=Tray2\nOption=Tray2 | Tray 2\n"
                                         "Option=ZQLowerTray | Lower Tray\n"},
    };
    for (const auto& a : added)
        if (model.find(std::string("[Feature ") + a.feature + "]") == std::string::npos)
            model += std::string("\n[Feature ") + a.feature + "]\n" + a.body;
    ZQInstallResult result;
    ASSERT_TRUE(ZQInstallPrinter(WriteScript(L"samples\\zqdesk\\zqdeskbidi.zqm", model), zqtest::ExeDir(), kBidiPrinter,
                                 result))
        << ZQUtf8(result.error);
}

std::string Setting(const zqhostdm::Selections& settings, const char* feature) {
    for (const auto& s : settings)
        if (s.first == feature) return s.second;
    return {};
}

TEST_F(BidiUnderHost, UpdateNowAsksOverTheBidiChannelWhenTheDeviceServersFail) {
    InstallBidiCopy();
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    CZQSpoolPrinter h = Open(kBidiPrinter);
    struct Row {
        const char* what;
        DWORD failBind;
        const wchar_t* box;
        const char *duplex, *tray2, *lower;
        bool eac3;
    } rows[] = {
        {"the printer answers", 0, nullptr, "INSTALLED", "INSTALLED", "NONE", true},
        {"no answer there either", static_cast<DWORD>(E_FAIL),
         L"Printer Communication|The printer did not answer. Check its connection and try again.", "NOTINSTALLED",
         "NOTINSTALLED", "LowerTray_500", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const DWORD silent = 1;
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
        RegSetKeyValueW(HKEY_CURRENT_USER, kZQDevServersKey, L"SilentDevice", REG_DWORD, &silent, sizeof silent);
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQBidiKey);
        SetSwitch(L"FailBind", r.failBind);
        std::vector<std::wstring> boxes;
        {
            zqhosttest::BoxAnswers answers;
            CZQAutoPress press(50, [&](HWND sheet) {
                const HWND page = zqhosttest::CurrentPage(sheet);
                EXPECT_TRUE(zqhosttest::Choose(page, L"Automatic Duplex Unit", L"Not Installed"));
                EXPECT_TRUE(zqhosttest::Choose(page, L"Tray 2", L"Not Installed"));
                EXPECT_TRUE(zqhosttest::Choose(page, L"Lower Tray", L"500-Sheet Tray"));
                for (const wchar_t* option : {L"Off", L"Update Now"})
                    EXPECT_TRUE(zqhosttest::Choose(page, L"Automatic Configuration", option));
            });
            EXPECT_GT(ZQOpenPrinterProperties(h.Get(), kBidiPrinter), 0);
            EXPECT_TRUE(press.Pressed());
            for (const zqhosttest::SeenBox& box : answers.Boxes()) boxes.push_back(box.caption + L"|" + box.text);
        }
        EXPECT_EQ(r.box ? std::vector<std::wstring>{r.box} : std::vector<std::wstring>{}, boxes);
        const zqhostdm::Selections settings = ZQReadDeviceSettings(h.Get());
        EXPECT_EQ(r.duplex, Setting(settings, "DuplexUnit"));
        EXPECT_EQ(r.tray2, Setting(settings, "Tray2"));
        EXPECT_EQ(r.lower, Setting(settings, "ZQLowerTray"));
        std::vector<ZQDeviceAnswer> store;
        ZQReadDeviceAnswers(h.Get(), store);
        bool eac3 = false;
        for (const ZQDeviceAnswer& answer : store) eac3 = eac3 || ZQDescribeAnswer(answer) == L"EACStatus = 3";
        EXPECT_EQ(r.eac3, eac3);
        // Gone again for the next row.
        WCHAR guid[64] = {};
        DWORD type = 0, needed = 0;
        GetPrinterDataExW(h.Get(), L"ZQPresetRoot", L"ZQRestrictedUserGuid", &type, reinterpret_cast<BYTE*>(guid),
                          sizeof guid - sizeof(WCHAR), &needed);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Quorvane\\") + guid + L"\\ZQBIDIInfo").c_str(),
                           L"EACStatus");
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQBidiKey);
    CoUninitialize();
}

}  // namespace
