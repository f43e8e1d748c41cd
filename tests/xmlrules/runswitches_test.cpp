// The registry switches of a driver and of a conversion run: a test driver's machine key (no
// printer, so the given driver name), the process id's run key and a tagged private devmode's.
#include <gtest/gtest.h>

#include <objbase.h>

#include <functional>
#include <string>

#include "common/zqdevmodetags.h"
#include "common/zqhandles.h"
#include "formats/zquidevmode.h"
#include "xmlrules/zqrunswitches.h"
#include "zqmemprinter.h"

namespace {

const wchar_t kDriver[] = L"ZQ Switches Test Driver";
const GUID kRun = {0x5a51c0de, 0x4321, 0x4abc, {0x80, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x08}};

std::wstring RunKey(const GUID& run) {
    WCHAR key[CZQCommon::kRunKeyChars];
    EXPECT_TRUE(CZQCommon::BBuildRunKeyPath(run, key, CZQCommon::kRunKeyChars));
    return key;
}

class RunSwitches : public ::testing::Test {
protected:
    void SetUp() override {
        CZQLocalPtr<WCHAR> key;
        ASSERT_TRUE(CZQCommon::BGetDriverKeyPath(nullptr, kDriver, key.Put()));
        m_driverKey = key.Get();
        zqdm::FillAllDefaults(m_tagged, {});
        ASSERT_TRUE(CZQDevmodeTags::BSetValue(reinterpret_cast<BYTE*>(&m_tagged), sizeof m_tagged, kRun));
        TearDown();
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, m_driverKey.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, RunKey(GUID_NULL).c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, RunKey(kRun).c_str());
    }
    static void Text(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text) {
        RegSetKeyValueW(root, key.c_str(), name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
    }
    static void Number(HKEY root, const std::wstring& key, const wchar_t* name, DWORD value) {
        RegSetKeyValueW(root, key.c_str(), name, REG_DWORD, &value, sizeof value);
    }

    std::wstring m_driverKey;
    ZQUIDevmode m_tagged{};
};

// Each switch is on only for its exact value, in the run the private devmode names (the process's
// without a tag); "HideNativeUI" never during a conversion run. Readers make no keys.
TEST_F(RunSwitches, ASwitchIsOnOnlyForItsExactValueInItsOwnRun) {
    const std::wstring pid = RunKey(GUID_NULL), run = RunKey(kRun);
    const HKEY user = HKEY_CURRENT_USER, machine = HKEY_LOCAL_MACHINE;
    const std::wstring& driver = m_driverKey;
    const void* tagged = &m_tagged;
    auto annotating = [](const void* dm) { return CZQRunSwitches::BTicketManager(0, dm, nullptr, nullptr); };
    auto disabled = [](const void* dm) { return CZQRunSwitches::BIsDPSExtensionDisabled(dm); };
    auto hide = [](const void* dm) { return CZQRunSwitches::BHideNativeUI(kDriver, nullptr, dm); };
    auto hideInRun = [&] {
        Number(machine, driver, L"HideNativeUI", 1);
        Text(user, run, L"ProcessingOndrel", L"TRUE");
    };
    const struct {
        const char* what;
        std::function<void()> set;
        std::function<BOOL(const void*)> read;
        const void* dm;
        BOOL on;
    } cases[] = {
        {"ticket type 2", [&] { Text(user, pid, L"TicketType", L"2"); }, annotating, nullptr, TRUE},
        {"leading zero", [&] { Text(user, pid, L"TicketType", L"02"); }, annotating, nullptr, FALSE},
        {"trailing blank", [&] { Text(user, pid, L"TicketType", L"2 "); }, annotating, nullptr, FALSE},
        {"ticket type as a number", [&] { Number(user, pid, L"TicketType", 2); }, annotating, nullptr, FALSE},
        {"no ticket type", [] {}, annotating, nullptr, FALSE},
        {"the tagged run's", [&] { Text(user, run, L"TicketType", L"2"); }, annotating, tagged, TRUE},
        {"not the process's for a tagged run", [&] { Text(user, pid, L"TicketType", L"2"); }, annotating, tagged,
         FALSE},
        {"hooks off", [&] { Number(user, pid, L"DisableDPSExtension", 1); }, disabled, nullptr, TRUE},
        {"hooks off stored as 2", [&] { Number(user, pid, L"DisableDPSExtension", 2); }, disabled, nullptr, FALSE},
        {"hooks off as text", [&] { Text(user, pid, L"DisableDPSExtension", L"1"); }, disabled, nullptr, FALSE},
        {"hooks off in the tagged run", [&] { Number(user, run, L"DisableDPSExtension", 1); }, disabled, tagged, TRUE},
        {"hide", [&] { Number(machine, driver, L"HideNativeUI", 1); }, hide, nullptr, TRUE},
        {"hide as 2", [&] { Number(machine, driver, L"HideNativeUI", 2); }, hide, nullptr, FALSE},
        {"hide during a run", hideInRun, hide, tagged, FALSE},
        {"hide after another process's run", hideInRun, hide, nullptr, TRUE},
    };
    for (const auto& tc : cases) {
        TearDown();
        tc.set();
        EXPECT_EQ(tc.on, tc.read(tc.dm)) << tc.what;
    }
    // Readers leave no key behind.
    TearDown();
    for (const auto& tc : cases) tc.read(tc.dm);
    CZQRegKey key;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, pid.c_str(), 0, KEY_READ, key.Put()));
}

// A PostScript driver (its data file a PPD) hands its document events over only with its switch
// at 1; every other driver's are the plug-in's.
TEST(DocumentEventSwitch, APostScriptDriversEventsAreOursOnlyWithItsSwitch) {
    const struct {
        const wchar_t* dataFile;
        DWORD enable;  // "EnablePSDocumentEvent", 0: none
        BOOL handled;
    } cases[] = {{L"zqdrv.gpd", 0, TRUE}, {L"zqdrv.ppd", 0, FALSE}, {L"ZQDRV.PPD", 1, TRUE}, {L"zqdrv.ppd", 2, FALSE}};
    for (const auto& tc : cases) {
        zqspool::MemPrinterIdentity identity;
        identity.dataFile = tc.dataFile;
        zqspool::CZQMemoryPrinter printer(identity);
        printer.Install();
        CZQPrinterHandle h(printer.Open());
        CZQLocalPtr<WCHAR> key;
        ASSERT_TRUE(CZQCommon::BGetDriverKeyPath(h.Get(), nullptr, key.Put()));
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.Get());
        if (tc.enable)
            RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.Get(), L"EnablePSDocumentEvent", REG_DWORD, &tc.enable,
                            sizeof tc.enable);
        EXPECT_EQ(tc.handled, CZQRunSwitches::BHandlesDocumentEvents(h.Get())) << tc.dataFile << " " << tc.enable;
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.Get());
    }
}

}  // namespace
