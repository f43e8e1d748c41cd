// Printer Properties in process, with the product's pages: the Services page of the services
// stand-in beside the test (the in-memory printer's driver directory), added and ended with the
// sheet, or left out.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "commontest.h"
#include "device/zqservicesmodule.h"
#include "optitemfixture.h"
#include "pages/services/zqservicespage.h"
#include "testsupport.h"
#include "zqoemui.h"
#include "zqservicesrecord.h"

namespace {

struct AddedPage {
    DWORD flags;
    HINSTANCE instance;
    ULONG_PTR templateId;
    DLGPROC proc;
};
std::vector<AddedPage> g_added;

LONG_PTR CALLBACK RecordingSheet(HANDLE, UINT function, LPARAM lParam1, LPARAM) {
    if (function != CPSFUNC_ADD_PROPSHEETPAGEW) return 1;
    const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
    g_added.push_back({psp->dwFlags, psp->hInstance, reinterpret_cast<ULONG_PTR>(psp->pszTemplate), psp->pfnDlgProc});
    return static_cast<LONG_PTR>(0x1000 + g_added.size());
}

// The services stand-in's log lines.
std::vector<std::wstring> ServicesLog() { return zqtest::StandInLog(ZQ_SERVICES_RECORD_KEY); }

struct PluginDeleter {
    void operator()(CZQOemUI* p) const { p->Release(); }
};

class PrinterProperties : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.Install();
        RegDeleteTreeW(HKEY_CURRENT_USER, ZQ_SERVICES_RECORD_KEY);
        g_added.clear();
        m_heap = HeapCreate(0, 0, 0);
    }
    void TearDown() override {
        End();
        HeapDestroy(m_heap);
    }
    // The device settings' items (with the services library's setting when one is given), prepared
    // by the plug-in as the core driver does before it asks for the pages.
    void Prepare(const char* pszLibrary) {
        m_host = std::make_unique<zqtest::COptItemFixture>();
        m_host->Add(zqtest::ValueFeature("ZQPrinterClass", "ZQDesk"));
        if (pszLibrary) m_host->Add(zqtest::ValueFeature("PSAlignmentFile", pszLibrary));
        m_host->Build();
        m_host->Param()->hPrinter = m_printer.Open();
        m_plugin.reset(new CZQOemUI());
        ASSERT_EQ(S_OK, m_plugin->CommonUIProp(OEMCUIP_PRNPROP, m_host->Param()));
        m_ps.cbSize = sizeof m_ps;
        m_ps.poemuiobj = m_host->Param()->poemuiobj;
        m_ps.hPrinter = m_host->Param()->hPrinter;
        m_ps.pPrinterName = const_cast<PWSTR>(L"ZQ Memory Printer");
        m_ps.hOEMHeap = m_heap;
        m_info.cbSize = sizeof m_info;
        m_info.hComPropSheet = reinterpret_cast<HANDLE>(0x77);
        m_info.pfnComPropSheet = &RecordingSheet;
        m_info.lParamInit = reinterpret_cast<LPARAM>(&m_ps);
    }
    // The plug-in and the printer handle go.
    void End() {
        m_plugin.reset();
        if (m_host && m_host->Param()->hPrinter) zqspool::Spooler().ClosePrinter(m_host->Param()->hPrinter);
        m_host.reset();
    }
    HRESULT Sheet(DWORD reason) {
        m_info.Reason = reason;
        return m_plugin->DevicePropertySheets(&m_info, 0);
    }

    zqspool::CZQMemoryPrinter m_printer{zqtest::ExeDirPrinter()};
    std::unique_ptr<zqtest::COptItemFixture> m_host;
    HANDLE m_heap = nullptr;
    OEMUIPSPARAM m_ps = {};
    PROPSHEETUI_INFO m_info = {};
    std::unique_ptr<CZQOemUI, PluginDeleter> m_plugin;
};

const wchar_t kInitLine[] = L"ServicesInit size=72 printer=\"ZQ Memory Printer\" values=0,0 module=zqsvcmod.DLL";
const wchar_t kDeInitLine[] = L"ServicesDeInit size=72";

TEST_F(PrinterProperties, ServicesPageComesFromTheLibraryAndEndsWithTheSheet) {
    Prepare("zqservices");
    ASSERT_EQ(S_OK, Sheet(PROPSHEETUI_REASON_INIT));
    ASSERT_EQ(2u, g_added.size());
    const auto* page = static_cast<CZQServicesPage*>(m_plugin->SheetsForTesting().Tab(kPageServices));
    ASSERT_NE(nullptr, page);
    ASSERT_NE(nullptr, page->Loader());
    // The dialog and its title are the services module's; the procedure is the library's.
    EXPECT_EQ(static_cast<HINSTANCE>(page->Loader()->hModule), g_added[0].instance);
    EXPECT_EQ(100u, g_added[0].templateId);
    EXPECT_EQ(0u, g_added[0].flags & PSP_USETITLE);
    EXPECT_NE(nullptr, g_added[0].proc);
    EXPECT_EQ(0, m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, kPageServices));
    EXPECT_EQ(1, m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, kPageAbout));
    EXPECT_EQ((std::vector<std::wstring>{kInitLine}), ServicesLog());

    ASSERT_EQ(S_OK, Sheet(PROPSHEETUI_REASON_DESTROY));
    EXPECT_EQ(nullptr, page->Loader());
    EXPECT_EQ((std::vector<std::wstring>{kInitLine, kDeInitLine}), ServicesLog());

    // A sheet built again ends the last one's library first; the plug-in's end ends an open one.
    ASSERT_EQ(S_OK, Sheet(PROPSHEETUI_REASON_INIT));
    ASSERT_EQ(S_OK, Sheet(PROPSHEETUI_REASON_INIT));
    m_plugin.reset();
    EXPECT_EQ((std::vector<std::wstring>{kInitLine, kDeInitLine, kInitLine, kDeInitLine, kInitLine, kDeInitLine}),
              ServicesLog());
}

TEST_F(PrinterProperties, NoServicesPageWithoutAUsableLibrary) {
    const struct {
        const char* name;
        const char* library;
        bool driverReadable;
    } cases[] = {
        {"no setting", nullptr, true},
        {"a library without the exports", "zqsvcmod", true},
        {"no such library", "zqnothere", true},
        {"a name with a path", "..\\bin\\zqservices", true},
        {"the driver cannot be read", "zqservices", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_added.clear();
        Prepare(c.library);
        if (!c.driverReadable) m_printer.FailCall(zqspool::MemCall::GetPrinterDriver, ERROR_ACCESS_DENIED);
        ASSERT_EQ(S_OK, Sheet(PROPSHEETUI_REASON_INIT));
        ASSERT_EQ(1u, g_added.size());  // the About page alone
        EXPECT_EQ(-1, m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, kPageServices));
        EXPECT_EQ(0, m_plugin->BindingForTesting().logic.IGetPageIndex(nullptr, kPageAbout));
        EXPECT_EQ(nullptr, static_cast<CZQServicesPage*>(m_plugin->SheetsForTesting().Tab(kPageServices))->Loader());
        ASSERT_EQ(S_OK, Sheet(PROPSHEETUI_REASON_DESTROY));
        m_printer.FailCall(zqspool::MemCall::GetPrinterDriver, 0, 0);
        End();
    }
    EXPECT_TRUE(ServicesLog().empty());
}

}  // namespace
