// The sample printers as their status monitor and the spooler's bidirectional channel describe
// them: the status text the installation seeded, and the bidirectional session against the
// stand-in objects, which the installation registered in the prefix (created by COM from there);
// "Update Now" of a test printer whose device servers do not answer takes that channel instead.
#include <gtest/gtest.h>

#include <algorithm>
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

// A bidi script of the test's beside the executable; its path.
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

// The answer store's value "EACStatus" (0 when missing); cleared on request.
DWORD EacStatus(HANDLE hPrinter, bool clear) {
    WCHAR guid[64] = {};
    DWORD type = 0, cb = 0, value = 0;
    GetPrinterDataExW(hPrinter, L"ZQPresetRoot", L"ZQRestrictedUserGuid", &type, reinterpret_cast<BYTE*>(guid),
                      sizeof guid - sizeof(WCHAR), &cb);
    const std::wstring store = std::wstring(L"Software\\Quorvane\\") + guid + L"\\ZQBIDIInfo";
    if (clear) RegDeleteKeyValueW(HKEY_CURRENT_USER, store.c_str(), L"EACStatus");
    cb = sizeof value;
    RegGetValueW(HKEY_CURRENT_USER, store.c_str(), L"EACStatus", RRF_RT_REG_DWORD, nullptr, &value, &cb);
    return value;
}

TEST_F(BidiUnderHost, UpdateNowAsksOverTheBidiChannelWhenTheDeviceServersFail) {
    const std::wstring printer = L"ZQ Bidi Test Printer";
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(L"hostdata\\zqbidi.zqm"), zqtest::ExeDir(), printer, installed))
        << ZQUtf8(installed.error);
    zqhosttest::ResetToDefaults(printer);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    CZQSpoolPrinter h = Open(printer);
    EacStatus(h.Get(), true);
    const std::pair<std::string, std::string> kSwitch = {"ZQEnableDeviceIDEAC", "TRUE"},
                                              kTable = {"ZQInstallableTrayFeatureName", "Tray2"};
    struct Row {
        DWORD failBind;
        std::vector<std::wstring> boxes;
        zqhostdm::Selections settings;
        DWORD eac;
    } rows[] = {
        {static_cast<DWORD>(E_FAIL),
         {L"Please Note|The printer did not answer. Check its connection and try again."},
         {{"AutoConfiguration", "UpdateNow"}, {"DuplexUnit", "NOTINSTALLED"}, {"Tray2", "NOTINSTALLED"}, kSwitch, kTable,
          {"ZQLowerTray", "LowerTray_500"}},
         0},
        {0, {}, {{"AutoConfiguration", "UpdateNow"}, {"DuplexUnit", "INSTALLED"}, {"Tray2", "INSTALLED"}, kSwitch, kTable,
                 {"ZQLowerTray", "NONE"}}, 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.failBind ? "no answer there either" : "the printer answers");
        const DWORD silent = 1;
        RegSetKeyValueW(HKEY_CURRENT_USER, kZQDevServersKey, L"SilentDevice", REG_DWORD, &silent, sizeof silent);
        SetSwitch(L"FailBind", r.failBind);
        std::vector<std::wstring> boxes;
        {
            zqhosttest::BoxAnswers answers;
            CZQAutoPress press(50, [&](HWND sheet) {
                EXPECT_TRUE(zqhosttest::Choose(zqhosttest::CurrentPage(sheet), L"Automatic Configuration", L"Update Now"));
            });
            EXPECT_GT(ZQOpenPrinterProperties(h.Get(), printer), 0);
            EXPECT_TRUE(press.Pressed());
            for (const zqhosttest::SeenBox& box : answers.Boxes()) boxes.push_back(box.caption + L"|" + box.text);
        }
        EXPECT_EQ(r.boxes, boxes);
        zqhostdm::Selections settings = ZQReadDeviceSettings(h.Get());
        std::sort(settings.begin(), settings.end());
        EXPECT_EQ(r.settings, settings);
        EXPECT_EQ(r.eac, EacStatus(h.Get(), false));
        zqhosttest::ResetToDefaults(printer);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQBidiKey);
    CoUninitialize();
}

}  // namespace
