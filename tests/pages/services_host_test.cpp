// Both sample printers under the core driver stand-in: Printer Properties show the services
// stand-in's Services page between the core driver's page and the About page, and the library is
// ended with the sheet; a printer on a port monitor's port keeps the address of its web pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosttest.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqservicesrecord.h"

namespace {

using Texts = std::vector<std::wstring>;

std::vector<std::wstring> ServicesLog() { return zqtest::StandInLog(ZQ_SERVICES_RECORD_KEY); }

// Moves the printer to another port (Wine's spooler takes any name); FALSE when it refuses.
bool MovePrinter(HANDLE h, const wchar_t* port) {
    DWORD needed = 0;
    GetPrinterW(h, 2, nullptr, 0, &needed);
    std::vector<BYTE> record(needed);
    if (!needed || !GetPrinterW(h, 2, record.data(), needed, &needed)) return false;
    auto* info = reinterpret_cast<PRINTER_INFO_2W*>(record.data());
    std::wstring name = port;
    info->pPortName = name.data();
    info->pSecurityDescriptor = nullptr;
    return SetPrinterW(h, 2, record.data(), 0) != FALSE;
}

// The printer back on its sample port without a web pages address (Wine's spooler cannot delete
// printer data: the value goes from the registry, as an installer would remove it).
void ResetPort(HANDLE h, const std::wstring& printer) {
    EXPECT_TRUE(MovePrinter(h, L"FILE:"));
    const std::wstring data =
        L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + printer + L"\\PrinterDriverData";
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, data.c_str(), L"ZQEWSIPAddress");
}

// The sheet's tabs, then the Services page's printer and address once it is in front.
Texts ShowServices(HANDLE h, const std::wstring& printer) {
    Texts seen;
    CZQAutoPress press(50, [&](HWND sheet) {
        seen = zqtest::TabTitles(sheet);
        HWND page = ZQShowPage(sheet, L"Services") ? ZQCurrentPage(sheet) : nullptr;
        for (int id : {IDC_ZQSERVICES_PRINTER, IDC_ZQSERVICES_ADDRESS}) {
            WCHAR text[300] = {};
            GetDlgItemTextW(page, id, text, 300);
            seen.push_back(text);
        }
    });
    EXPECT_GT(ZQOpenPrinterProperties(h, printer), 0);
    return seen;
}

using SamplesUnderHost = zqhosttest::SamplePrintersTest;

TEST_F(SamplesUnderHost, PrinterPropertiesShowTheServicesPage) {
    for (const std::wstring printer : {zqhosttest::kDeskPrinter, zqhosttest::kRollPrinter}) {
        SCOPED_TRACE(std::string(printer.begin(), printer.end()));
        RegDeleteTreeW(HKEY_CURRENT_USER, ZQ_SERVICES_RECORD_KEY);
        CZQSpoolPrinter h = Open(printer);
        ResetPort(h.Get(), printer);
        EXPECT_EQ((Texts{L"Device Settings", L"Services", L"About", printer, L"not known for this port"}),
                  ShowServices(h.Get(), printer));
        EXPECT_EQ((Texts{L"ServicesInit size=72 printer=\"" + printer + L"\" values=0,0 module=zqsvcmod.DLL",
                         L"ServicesDeInit size=72"}),
                  ServicesLog());
    }
}

TEST_F(SamplesUnderHost, PrinterOnAMonitorPortStoresTheAddressOfItsWebPages) {
    const std::wstring printer = zqhosttest::kDeskPrinter;
    const std::wstring monitor = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\ZQ Host Monitor";
    const std::wstring port = monitor + L"\\Ports\\ZQNET_HOST";
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, port.c_str(), L"IPAddress", REG_SZ, L"", 2));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetKeyValueW(HKEY_LOCAL_MACHINE, port.c_str(), L"HostName", REG_SZ, L"printer.example", 32));
    CZQSpoolPrinter h = Open(printer);
    ASSERT_TRUE(MovePrinter(h.Get(), L"ZQNET_HOST"));
    // The device settings store the address; the services library's page shows it.
    const Texts seen = ShowServices(h.Get(), printer);
    EXPECT_EQ(L"printer.example", seen.back());
    WCHAR value[300] = {};
    DWORD type = 0, needed = 0;
    EXPECT_EQ(0u, GetPrinterDataW(h.Get(), const_cast<LPWSTR>(L"ZQEWSIPAddress"), &type, reinterpret_cast<BYTE*>(value),
                                  sizeof value, &needed));
    EXPECT_EQ(std::wstring(L"printer.example,0"), value);
    ResetPort(h.Get(), printer);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, monitor.c_str());
}

}  // namespace
