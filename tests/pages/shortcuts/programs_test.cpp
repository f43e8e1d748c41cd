// Two programs saving Task Presets and printing shortcuts on one printer of Wine's spooler at once:
// each Task Preset lands under an index of its own, and each shortcut name is stored once, by the
// program that found it free; the other is asked whether to replace it and, declining, shows no save.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "featurelogic/zqquicksets.h"
#include "pages/shortcuts/zqlargeformatstore.h"
#include "settings/zqdriverdata.h"
#include "largeformattest.h"
#include "optitemfixture.h"
#include "testsupport.h"

namespace {

constexpr WCHAR kPrinter[] = L"ZQ Two Programs Printer";
constexpr WCHAR kProgramVariable[] = L"ZQ_TWO_PROGRAMS";
constexpr WCHAR kResultsKey[] = L"Software\\ZQTest\\TwoPrograms";
constexpr int kSaves = 10;

// One of the two programs of the test below: its saves once both are ready, and the number of
// shortcut saves it was shown as done.
TEST(TwoPrograms, OneProgramSaves) {
    WCHAR tag[8] = {};
    if (!GetEnvironmentVariableW(kProgramVariable, tag, 8)) GTEST_SKIP() << "one of the programs of the test below";
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    CZQPrinterHandle printer;
    ASSERT_TRUE(zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(kPrinter), printer.Put(), &all));
    zqtest::COptItemFixture items;
    items.Build();
    ZQUIDevmode dm = {};
    dm.dwSize = sizeof dm;
    OEMCUIPPARAM* param = items.Param();
    param->hPrinter = printer.Get();
    param->pPrinterName = const_cast<PWSTR>(kPrinter);
    param->pOEMDM = &dm;
    CZQQuickSets quickSets;
    quickSets.VSetParam(param, OEMCUIP_DOCPROP);
    quickSets.VLoad(nullptr, &dm);
    PageContext context = {};
    context.pLogic = &quickSets;
    CZQShortcutStore store;
    BoxAnswers boxes(IDNO);
    CZQHandle ready(OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, L"ZQTwoProgramsReady"));
    CZQHandle go(OpenEventW(SYNCHRONIZE, FALSE, L"ZQTwoProgramsGo"));
    ReleaseSemaphore(ready.Get(), 1, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(go.Get(), 30000));
    DWORD shown = 0;
    for (int i = 0; i < kSaves; ++i) {
        quickSets.VSaveCurrent(nullptr, (tag + std::to_wstring(i)).c_str(), nullptr, nullptr, &dm, FALSE, nullptr);
        const ShortcutRecord record = Record(L"Shortcut " + std::to_wstring(i), L"Photo");
        lstrcpyW(store.m_szNewShortcutName, record.szName);
        if (store.BSaveShortcut(&context, nullptr, &dm, FALSE, nullptr) &&
            store.ESaveShortcut(&context, nullptr, record) == CZQShortcutStore::SaveResult::kStored)
            ++shown;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, kResultsKey, tag, REG_DWORD, &shown, sizeof shown);
}

TEST(TwoPrograms, SavingAtOnceLosesNothing) {
    if (GetEnvironmentVariableW(kProgramVariable, nullptr, 0)) GTEST_SKIP();
    zqtest::InstallWinePrinter(kPrinter, L"ZQ Two Programs Driver");
    // Wine's spooler removes no printer data: the stores of an earlier run go through the registry.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                   (std::wstring(L"System\\CurrentControlSet\\Control\\Print\\Printers\\") + kPrinter + L"\\ZQPresetRoot").c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, kResultsKey);
    CZQHandle ready(CreateSemaphoreW(nullptr, 0, 2, L"ZQTwoProgramsReady"));
    CZQHandle go(CreateEventW(nullptr, TRUE, FALSE, L"ZQTwoProgramsGo"));
    CZQHandle programs[2];
    const std::wstring line = L"\"" + zqtest::BesideExe(L"shortcuts_tests.exe") +
                              L"\" --gtest_color=no --gtest_filter=TwoPrograms.OneProgramSaves";
    for (int i = 0; i < 2; ++i) {
        SetEnvironmentVariableW(kProgramVariable, i ? L"B" : L"A");
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        std::wstring command = line;
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        CloseHandle(pi.hThread);
        programs[i].Reset(pi.hProcess);
    }
    SetEnvironmentVariableW(kProgramVariable, nullptr);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready.Get(), 60000));
    SetEvent(go.Get());
    DWORD shown = 0;
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(programs[i].Get(), 120000));
        DWORD code = 1, one = 0, cb = sizeof one;
        GetExitCodeProcess(programs[i].Get(), &code);
        EXPECT_EQ(0u, code);
        if (RegGetValueW(HKEY_CURRENT_USER, kResultsKey, i ? L"B" : L"A", RRF_RT_DWORD, nullptr, &one, &cb) == ERROR_SUCCESS)
            shown += one;
    }

    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    CZQPrinterHandle printer;
    ASSERT_TRUE(zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(kPrinter), printer.Put(), &all));
    std::set<std::wstring> presets, expected;
    CZQPrinterDataList list;
    ASSERT_TRUE(list.BRead(printer.Get(), L"ZQPresetRoot\\PresetPoolData"));
    for (DWORD i = 0; i < list.Count(); ++i)
        presets.insert(reinterpret_cast<const wchar_t*>(list.Data(i, nullptr, nullptr) + 12));
    for (const wchar_t* tag : {L"A", L"B"})
        for (int i = 0; i < kSaves; ++i) expected.insert(tag + std::to_wstring(i));
    EXPECT_EQ(expected, presets);
    ASSERT_TRUE(list.BRead(printer.Get(), L"ZQPresetRoot\\CustomShortcutPoolData"));
    EXPECT_EQ(static_cast<DWORD>(kSaves), list.Count());
    EXPECT_EQ(static_cast<DWORD>(kSaves), shown) << "a save shown for each shortcut stored, no more";
}

}  // namespace
