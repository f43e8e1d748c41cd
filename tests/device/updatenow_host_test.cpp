// The roll sample under the core driver stand-in through Wine's spooler: "Update Now" picked in
// Printer Properties registers the device servers its driver carries, fills the answer store from
// the sample's device, applies it and leaves the servers unregistered as it found them; a device
// that does not answer shows the communication error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosttest.h"
#include "platform/zqdeviceservers.h"
#include "testsupport.h"
#include "zqdevrecord.h"
#include "zqhostapp.h"
#include "zqproc.h"

namespace {

void UnregisterServers() {
    for (const wchar_t* library : {L"zqdevapi.dll", L"zqagent.dll", L"zqlink.dll", L"zqagentps.dll", L"zqlinkps.dll"}) {
        CZQModule module(LoadLibraryW(zqtest::BesideExe(library).c_str()));
        if (auto entry = ZQGetProc<HRESULT(STDAPICALLTYPE*)()>(module.Get(), "DllUnregisterServer")) entry();
    }
}

// The printer's answer store, emptied.
void ClearStore(HANDLE hPrinter) {
    WCHAR guid[64] = {};
    DWORD type = 0, needed = 0;
    if (GetPrinterDataExW(hPrinter, L"ZQPresetRoot", L"ZQRestrictedUserGuid", &type, reinterpret_cast<BYTE*>(guid),
                          sizeof guid - sizeof(WCHAR), &needed) == ERROR_SUCCESS)
        RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Quorvane\\") + guid + L"\\ZQBIDIInfo").c_str());
}

using UpdateNowUnderHost = zqhosttest::SamplePrintersTest;

TEST_F(UpdateNowUnderHost, RollPrinterIsAskedOrShowsTheCommunicationError) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const std::wstring roll = zqhosttest::kRollPrinter;
    CZQSpoolPrinter h = Open(roll);
    UnregisterServers();
    ClearStore(h.Get());
    struct Row {
        DWORD silent;
        std::vector<std::wstring> boxes;  // caption|text
        std::vector<std::wstring> answers;
    } rows[] = {
        {1, {L"Printer Communication|The printer did not answer. Check its connection and try again."}, {}},
        {0, {}, {L"DevSetUpdate = 0", L"MODEL_NAME = \"ZQ Roll 4400\"", L"Roll1Type = 2", L"Roll1Width = 914",
                 L"SERIAL_NUMBER = \"ZQR4400-0007\""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.silent ? "silent device" : "answering device");
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
        RegSetKeyValueW(HKEY_CURRENT_USER, kZQDevServersKey, L"SilentDevice", REG_DWORD, &row.silent, sizeof row.silent);
        std::vector<std::wstring> boxes;
        {
            zqhosttest::BoxAnswers answers;
            // The sheet keeps the option picked last: a new pick comes from another option.
            CZQAutoPress press(50, [&](HWND sheet) {
                for (const wchar_t* option : {L"Off", L"Update Now"})
                    EXPECT_TRUE(zqhosttest::Choose(zqhosttest::CurrentPage(sheet), L"Automatic Configuration", option));
            });
            EXPECT_GT(ZQOpenPrinterProperties(h.Get(), roll), 0);
            EXPECT_TRUE(press.Pressed());
            for (const zqhosttest::SeenBox& box : answers.Boxes()) boxes.push_back(box.caption + L"|" + box.text);
        }
        EXPECT_EQ(row.boxes, boxes);
        std::vector<ZQDeviceAnswer> store;
        ZQReadDeviceAnswers(h.Get(), store);
        std::vector<std::wstring> answers;
        for (const ZQDeviceAnswer& answer : store) answers.push_back(ZQDescribeAnswer(answer));
        EXPECT_EQ(row.answers, answers);
        // Registered for the call (they were not before), and removed after it.
        IUnknown* object = nullptr;
        EXPECT_EQ(REGDB_E_CLASSNOTREG, ZQCreateDeviceServer(CLSID_ZQObjectList, IID_IZQObjectList,
                                                           reinterpret_cast<void**>(&object)));
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQDevServersKey);
    ClearStore(h.Get());
    CoUninitialize();
}

}  // namespace
