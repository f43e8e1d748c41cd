// A job started on the desk printer reaches the plug-in's job-storage hook through the core driver
// stand-in's document-event entry, called as the spooler calls it (Wine's spooler raises no document
// events). The rendering side that answers escape 3900 is the driver's and is not here: the test
// answers it in place of GDI's escape, in the plug-in module the core driver loads.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hosttest.h"
#include "zqcoremodapi.h"
#include "zqproc.h"
#include "zqwarnmodrecord.h"

#include <winddiui.h>

namespace {

ZQJobDialogsEscape g_block;

int WINAPI RenderingSide(HDC, int iEscape, int, LPCSTR, int cbOutput, LPSTR pvOutput) {
    if (iEscape != kZQEscapeJobDialogs || cbOutput != static_cast<int>(sizeof g_block)) return 0;
    memcpy(pvOutput, &g_block, sizeof g_block);
    return 1;
}

// Points the module's import of an exported function at another one; the previous address (null
// when the module does not import it).
void* PatchImport(HMODULE hModule, const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(hModule);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
        auto* names =
            reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD protect = 0;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &protect);
            void* previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), protect, &protect);
            return previous;
        }
    }
    return nullptr;
}

TEST(JobStorageUnderHost, AJobStartedOnTheDeskPrinterAsksForItsStoredJobName) {
    zqhosttest::InstallSamplePrinters();
    const std::wstring desk = L"ZQ Desk 2400 Inkjet";
    CZQSpoolPrinter h = zqhosttest::OpenFully(desk);
    const std::vector<BYTE> info = zqhosttest::DriverInfo(desk);
    ASSERT_FALSE(info.empty());
    std::wstring dir = reinterpret_cast<const DRIVER_INFO_3W*>(info.data())->pConfigFile;
    dir.resize(dir.find_last_of(L'\\'));
    // The plug-in the core driver binds, held by the test while its escape is answered here.
    CZQModule plugin(LoadLibraryW((dir + L"\\zqoemui.dll").c_str()));
    ASSERT_TRUE(plugin);
    void* gdiEscape = PatchImport(plugin.Get(), "gdi32.dll", "ExtEscape", reinterpret_cast<void*>(&RenderingSide));
    ASSERT_NE(nullptr, gdiEscape);
    CZQModule driver = zqhosttest::DriverModule(desk);
    using PFN_Document = INT(WINAPI*)(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID);
    auto documentEvent = ZQGetProc<PFN_Document>(driver.Get(), "DrvDocumentEvent");
    ASSERT_NE(nullptr, documentEvent);

    // On the printer's own port, in its default data type: Wine finishes no job sent to an output
    // file or in a data type its print processor would have to convert.
    DOC_INFO_1W doc = {const_cast<LPWSTR>(L"Board minutes"), nullptr, nullptr};
    DWORD job = StartDocPrinterW(h.Get(), 1, reinterpret_cast<BYTE*>(&doc));
    ASSERT_NE(0u, job);
    HDC hdc = CreateDCW(nullptr, desk.c_str(), nullptr, nullptr);

    // Without an answer nothing is loaded; asked for, the request comes from the job and the printer.
    for (const DWORD asked : {0u, 1u}) {
        g_block = {};
        g_block.jobStorage.dwShow = asked;
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQWarnModRecordKey);
        EXPECT_EQ(DOCUMENTEVENT_SUCCESS,
                  documentEvent(h.Get(), hdc, DOCUMENTEVENT_STARTDOCPOST, sizeof job, &job, 0, nullptr));
        ZQJobStorageRequest seen = {};
        DWORD cb = sizeof seen;
        EXPECT_EQ(asked ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND,
                  RegGetValueW(HKEY_CURRENT_USER, kZQWarnModRecordKey, L"VJobStorageDialog", RRF_RT_REG_BINARY,
                               nullptr, &seen, &cb));
        EXPECT_EQ(asked ? L"Board minutes|" + desk + L"|FILE:|" + dir + L"\\zqcoremod.dll" : L"|||",
                  std::wstring(seen.szJobName) + L"|" + seen.szPrinterName + L"|" + seen.szPortName + L"|" +
                      seen.szCoreModPath);
    }
    EXPECT_TRUE(EndDocPrinter(h.Get())) << "printing goes on";
    if (hdc) DeleteDC(hdc);
    PatchImport(plugin.Get(), "gdi32.dll", "ExtEscape", gdiEscape);
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQWarnModRecordKey);
}

}  // namespace
