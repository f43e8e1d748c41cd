// The plug-in's declarations of the boundary with the core driver against the documented x64
// layout: every method in its slot, every record field at its offset.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/oemuiplatform.h"
#include "oemcontractlayout.h"

namespace {

struct LayoutRow {
    const char* name;
    size_t actual;
    size_t documented;
};
#define ZQ_SIZE(T, n) {#T, sizeof(T), n},
#define ZQ_FIELD(T, f, n) {#T "." #f, offsetof(T, f), n},
const LayoutRow kRecords[] = {ZQ_SHARED_RECORDS(ZQ_SIZE, ZQ_FIELD)};
#undef ZQ_SIZE
#undef ZQ_FIELD

TEST(PluginContract, RecordsHaveTheirDocumentedLayout) {
    for (const LayoutRow& row : kRecords) EXPECT_EQ(row.documented, row.actual) << row.name;
}

TEST(PluginContract, IdentifiersAndConstantsAreTheDocumentedOnes) {
    WCHAR text[40];
#define ZQ_GUID(g, s)                        \
    StringFromGUID2(g, text, 40);            \
    EXPECT_STREQ(s, text) << #g;
    ZQ_CONTRACT_GUIDS(ZQ_GUID)
#undef ZQ_GUID
#define ZQ_CONST(c, v) EXPECT_EQ(static_cast<unsigned long>(v), static_cast<unsigned long>(c)) << #c;
    ZQ_CONTRACT_CONSTANTS(ZQ_CONST)
#undef ZQ_CONST
}

// Calls the method in a slot of an object's table the way a core driver does: by position, with
// pointer-sized arguments the probes ignore.
using AnySlot = ULONG_PTR(STDMETHODCALLTYPE*)(void*, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR,
                                              ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR);
template <typename I>
void CallSlot(I* object, int slot) {
    void** table = *reinterpret_cast<void***>(object);
    reinterpret_cast<AnySlot>(table[slot])(object, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}

// Every method of the plug-in's interface says which one it is.
class UIProbe final : public IPrintOemUI2 {
public:
    std::string called;
    STDMETHODIMP QueryInterface(REFIID, void**) override { return Mark("QueryInterface"); }
    STDMETHODIMP_(ULONG) AddRef() override { return Mark("AddRef"); }
    STDMETHODIMP_(ULONG) Release() override { return Mark("Release"); }
    STDMETHODIMP GetInfo(DWORD, PVOID, DWORD, PDWORD) override { return Mark("GetInfo"); }
    STDMETHODIMP DevMode(DWORD, POEMDMPARAM) override { return Mark("DevMode"); }
    STDMETHODIMP PublishDriverInterface(IUnknown*) override { return Mark("PublishDriverInterface"); }
    STDMETHODIMP CommonUIProp(DWORD, POEMCUIPPARAM) override { return Mark("CommonUIProp"); }
    STDMETHODIMP DocumentPropertySheets(PPROPSHEETUI_INFO, LPARAM) override { return Mark("DocumentPropertySheets"); }
    STDMETHODIMP DevicePropertySheets(PPROPSHEETUI_INFO, LPARAM) override { return Mark("DevicePropertySheets"); }
    STDMETHODIMP DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) override {
        return Mark("DevQueryPrintEx");
    }
    STDMETHODIMP DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID, DWORD, DWORD*) override {
        return Mark("DeviceCapabilities");
    }
    STDMETHODIMP UpgradePrinter(DWORD, PBYTE) override { return Mark("UpgradePrinter"); }
    STDMETHODIMP PrinterEvent(PWSTR, INT, DWORD, LPARAM) override { return Mark("PrinterEvent"); }
    STDMETHODIMP DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) override { return Mark("DriverEvent"); }
    STDMETHODIMP QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*, FLONG*) override {
        return Mark("QueryColorProfile");
    }
    STDMETHODIMP FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) override { return Mark("FontInstallerDlgProc"); }
    STDMETHODIMP UpdateExternalFonts(HANDLE, HANDLE, PWSTR) override { return Mark("UpdateExternalFonts"); }
    STDMETHODIMP QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) override { return Mark("QueryJobAttributes"); }
    STDMETHODIMP HideStandardUI(DWORD) override { return Mark("HideStandardUI"); }
    STDMETHODIMP DocumentEvent(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID, PINT) override {
        return Mark("DocumentEvent");
    }

private:
    HRESULT Mark(const char* name) {
        called = name;
        return S_OK;
    }
};

// The core driver's helper interface as the plug-in calls it.
class DriverUIProbe final : public IPrintOemDriverUI {
public:
    std::string called;
    STDMETHODIMP QueryInterface(REFIID, void**) override { return Mark("QueryInterface"); }
    STDMETHODIMP_(ULONG) AddRef() override { return Mark("AddRef"); }
    STDMETHODIMP_(ULONG) Release() override { return Mark("Release"); }
    STDMETHODIMP DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override {
        return Mark("DrvGetDriverSetting");
    }
    STDMETHODIMP DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override { return Mark("DrvUpgradeRegistrySetting"); }
    STDMETHODIMP DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) override { return Mark("DrvUpdateUISetting"); }

private:
    HRESULT Mark(const char* name) {
        called = name;
        return S_OK;
    }
};

TEST(PluginContract, EveryMethodSitsInItsDocumentedSlot) {
    UIProbe ui;
    // Reached as IPrintOemUI too: one table whose first slots are those of IPrintOemUI.
#define ZQ_SLOT(m, n)                                                         \
    ui.called.clear();                                                        \
    CallSlot(static_cast<IPrintOemUI2*>(&ui), n);                             \
    EXPECT_EQ(#m, ui.called) << "IPrintOemUI2 slot " << n;                    \
    if (n < 17) {                                                             \
        ui.called.clear();                                                    \
        CallSlot(static_cast<IPrintOemUI*>(&ui), n);                          \
        EXPECT_EQ(#m, ui.called) << "IPrintOemUI slot " << n;                 \
    }
    ZQ_OEMUI2_SLOTS(ZQ_SLOT)
#undef ZQ_SLOT
    DriverUIProbe driver;
#define ZQ_SLOT(m, n)                                    \
    driver.called.clear();                               \
    CallSlot(static_cast<IPrintOemDriverUI*>(&driver), n); \
    EXPECT_EQ(#m, driver.called) << "IPrintOemDriverUI slot " << n;
    ZQ_DRIVERUI_SLOTS(ZQ_SLOT)
#undef ZQ_SLOT
}

}  // namespace
