// Two programs saving Task Presets, watermarks and printing shortcuts on one printer of Wine's
// spooler at once: each Task Preset and each watermark lands under an index of its own, and each
// shortcut name is stored once with its quick set, by the program that found it free; the other is
// asked whether to replace it and, declining, shows no save.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "devicetest.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zqwatermarks.h"
#include "formats/zqwatermarkrecord.h"
#include "pages/shortcuts/zqlargeformatstore.h"
#include "settings/zqdriverdata.h"
#include "largeformattest.h"

namespace {

constexpr WCHAR kPrinter[] = L"ZQ Two Programs Printer";
constexpr WCHAR kTagVariable[] = L"ZQ_TWO_PROGRAMS";
constexpr WCHAR kShownKey[] = L"Software\\ZQTest\\TwoPrograms";
// Each program's Task Presets and its shortcuts' quick sets stay within the store's 25.
constexpr int kSaves = 8;

CZQPrinterHandle OpenTestPrinter() {
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    CZQPrinterHandle printer;
    zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(kPrinter), printer.Put(), &all);
    return printer;
}

// One program of the test below: its saves once both are ready, and how many shortcut saves it showed.
TEST(TwoPrograms, OneProgramSaves) {
    WCHAR tag[2] = {};
    if (!GetEnvironmentVariableW(kTagVariable, tag, 2)) GTEST_SKIP() << "a program of the test below";
    const CZQPrinterHandle printer = OpenTestPrinter();
    zqtest::COptItemFixture items;
    items.Build();
    ZQUIDevmode dm = {};
    OEMCUIPPARAM* param = items.Param();
    param->hPrinter = printer.Get();
    param->pPrinterName = const_cast<PWSTR>(kPrinter);
    param->pOEMDM = &dm;
    CZQQuickSets quickSets;
    quickSets.VSetParam(param, OEMCUIP_DOCPROP);
    quickSets.VLoad(nullptr, &dm);
    PageContext context = {};
    context.pLogic = &quickSets;
    context.pQuickSets = &quickSets;
    CZQShortcutStore store;
    CZQWatermarks watermarks;  // as a sheet holds them: read once, saved after each new one
    watermarks.VBind(nullptr, param, nullptr);
    watermarks.BReadPool(param, FALSE);
    BoxAnswers boxes(IDNO);
    ReleaseSemaphore(CZQHandle(OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, L"ZQTwoProgramsReady")).Get(), 1, nullptr);
    WaitForSingleObject(CZQHandle(OpenEventW(SYNCHRONIZE, FALSE, L"ZQTwoProgramsGo")).Get(), 30000);
    for (int i = 0; i < kSaves; ++i) {
        WatermarkEntry* mark = CZQWatermarks::PNewEntry(watermarks.MainList());
        lstrcpyW(mark->szName, (tag + std::to_wstring(i)).c_str());
        lstrcpyW(mark->szText, mark->szName);
        mark->dwFlags = kWatermarkEditable;
        EXPECT_TRUE(watermarks.BSavePool(param));
    }
    DWORD shown = 0;
    for (int i = 0; i < kSaves; ++i) {
        quickSets.VSaveCurrent(nullptr, (tag + std::to_wstring(i)).c_str(), nullptr, nullptr, &dm, FALSE, nullptr);
        const ShortcutRecord record = Record(L"Shortcut " + std::to_wstring(i), L"Photo");
        lstrcpyW(store.m_szNewShortcutName, record.szName);
        shown += store.BSaveShortcut(&context, nullptr, &dm, FALSE, nullptr) &&
                 store.ESaveShortcut(&context, nullptr, record, &dm) == ZQStoreOutcome::kStored;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, kShownKey, tag, REG_DWORD, &shown, sizeof shown);
}

TEST(TwoPrograms, SavingAtOnceLosesNothing) {
    if (GetEnvironmentVariableW(kTagVariable, nullptr, 0)) GTEST_SKIP();
    zqtest::InstallWinePrinter(kPrinter, L"ZQ Two Programs Driver");
    // Wine's spooler removes no printer data: an earlier run's stores go through the registry.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                   (std::wstring(L"System\\CurrentControlSet\\Control\\Print\\Printers\\") + kPrinter + L"\\ZQPresetRoot").c_str());
    CZQHandle ready(CreateSemaphoreW(nullptr, 0, 2, L"ZQTwoProgramsReady"));
    CZQHandle go(CreateEventW(nullptr, TRUE, FALSE, L"ZQTwoProgramsGo"));
    CZQHandle programs[2];
    for (int i = 0; i < 2; ++i) {
        SetEnvironmentVariableW(kTagVariable, i ? L"B" : L"A");
        programs[i] = zqdevtest::StartProgram(L"shortcuts_tests.exe", L"--gtest_filter=TwoPrograms.OneProgramSaves");
        ASSERT_TRUE(programs[i]);
    }
    SetEnvironmentVariableW(kTagVariable, nullptr);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ready.Get(), 60000));
    SetEvent(go.Get());
    DWORD shown = 0;
    for (int i = 0; i < 2; ++i) {
        DWORD code = 1, one = 0, cb = sizeof one;
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(programs[i].Get(), 120000));
        EXPECT_TRUE(GetExitCodeProcess(programs[i].Get(), &code) && code == 0);
        if (!RegGetValueW(HKEY_CURRENT_USER, kShownKey, i ? L"B" : L"A", RRF_RT_DWORD, nullptr, &one, &cb)) shown += one;
    }
    const CZQPrinterHandle printer = OpenTestPrinter();
    std::set<std::wstring> presets, expected;
    CZQPrinterDataList list;
    ASSERT_TRUE(list.BRead(printer.Get(), L"ZQPresetRoot\\PresetPoolData"));
    for (DWORD i = 0; i < list.Count(); ++i) presets.insert(reinterpret_cast<const wchar_t*>(list.Data(i, nullptr, nullptr) + 12));
    for (int i = 0; i < 2 * kSaves; ++i) expected.insert((i < kSaves ? L"A" : L"B") + std::to_wstring(i % kSaves));
    std::set<std::wstring> withShortcuts = expected;
    for (int i = 0; i < kSaves; ++i) withShortcuts.insert(L"Shortcut " + std::to_wstring(i));
    EXPECT_EQ(withShortcuts, presets) << "each shortcut's quick set stored with it";
    std::set<std::wstring> marks;
    ASSERT_TRUE(list.BRead(printer.Get(), L"ZQPresetRoot\\WatermarkPoolData"));
    for (DWORD i = 0; i < list.Count(); ++i) {
        DWORD cb = 0;
        const BYTE* data = list.Data(i, nullptr, &cb);
        ZQWatermarkRecord record = {};
        if (data && zqwm::Read(data, cb, &record)) marks.insert(record.szName);
    }
    EXPECT_EQ(expected, marks);
    ASSERT_TRUE(list.BRead(printer.Get(), L"ZQPresetRoot\\CustomShortcutPoolData"));
    EXPECT_EQ(static_cast<DWORD>(kSaves), list.Count());
    EXPECT_EQ(static_cast<DWORD>(kSaves), shown) << "a save shown for each shortcut stored, no more";
}

}  // namespace
