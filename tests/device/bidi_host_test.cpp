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
#include "zqbidirecord.h"

namespace {

using BidiUnderHost = zqhosttest::SamplePrintersTest;

void SetSwitch(const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kZQBidiKey, name, REG_DWORD, &value, sizeof value);
}

// A bidi script of the test's beside the executable; its path.
std::wstring WriteScript(const wchar_t* name, const char* text) {
    const std::wstring path = zqtest::BesideExe(name);
    if (FILE* f = _wfopen(path.c_str(), L"wb")) {
        fputs(text, f);
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

}  // namespace
