#include "zqinstall.h"

#include "zqbidirecord.h"
#include "zqowner.h"
#include "zqproc.h"
#include "zqmodel.h"
#include "zqprinter.h"

namespace {

std::wstring Dir(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring Base(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The driver's printer event INITIALIZE, through its configuration file as the spooler loads it.
void RunInitializeEvent(HANDLE hPrinter, const std::wstring& name) {
    DWORD needed = 0;
    GetPrinterDriverW(hPrinter, nullptr, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    if (!needed || !GetPrinterDriverW(hPrinter, nullptr, 2, info.data(), needed, &needed)) return;
    const auto* di = reinterpret_cast<const DRIVER_INFO_2W*>(info.data());
    CZQModule ui(LoadLibraryW(di->pConfigFile));
    using PFN_DrvPrinterEvent = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
    if (auto event = ZQGetProc<PFN_DrvPrinterEvent>(ui.Get(), "DrvPrinterEvent"))
        event(const_cast<LPWSTR>(name.c_str()), PRINTER_EVENT_INITIALIZE, 0, 0);
}

// The printer's status text, 8-bit and terminated, as its status monitor keeps it.
void WriteStatusText(HANDLE hPrinter, const std::string& text) {
    if (text.empty()) return;
    SetPrinterDataW(hPrinter, const_cast<LPWSTR>(L"ZQSTSSTR"), REG_BINARY,
                    reinterpret_cast<BYTE*>(const_cast<char*>(text.c_str())), static_cast<DWORD>(text.size() + 1));
}

// The spooler's bidirectional objects: where the system has none, the stand-in from the build serves
// their published classes; a system that has them keeps its own.
void RegisterBidiStandIn(const std::wstring& binDir) {
    CZQRegKey existing;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kZQBidiSplClassKey, 0, KEY_READ, existing.Put()) == ERROR_SUCCESS) return;
    CZQModule bidi(LoadLibraryW((binDir + L"\\" + kZQBidiModule).c_str()));
    using PFN_DllRegisterServer = HRESULT(STDAPICALLTYPE*)();
    if (auto reg = ZQGetProc<PFN_DllRegisterServer>(bidi.Get(), "DllRegisterServer")) reg();
}

// The driver's toolbox program, as the driver's installer registers it for the driver's name: a
// file among the driver's (no drive: the plug-in looks for it in the driver's version folder).
void RegisterToolbox(const std::wstring& driverName, const std::string& toolbox) {
    const std::wstring key = L"SOFTWARE\\Quorvane\\ZQTVQ Printing System Config\\" + driverName;
    if (toolbox.empty()) {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"ToolboxPath");
        return;
    }
    const std::wstring path = ZQWide(toolbox);
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"ToolboxPath", REG_SZ, path.c_str(),
                    static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

bool Exists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

BOOL ZQInstallPrinter(const std::wstring& modelPath, const std::wstring& binDir, const std::wstring& printerName,
                      ZQInstallResult& out, const std::wstring& port) {
    out = ZQInstallResult();
    zqmodel::Model model;
    if (!ZQLoadModel(modelPath, model, out.error)) return FALSE;
    out.driverName = ZQWide(model.name);
    out.printerName = printerName.empty() ? out.driverName : printerName;

    WCHAR driverDir[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(driverDir), sizeof driverDir, &needed)) {
        out.error = L"no printer-driver directory";
        return FALSE;
    }
    driverDir[MAX_PATH - 1] = 0;

    // Source of every file: the model's directory for its own files, the build for binaries.
    struct File {
        std::wstring source;
        bool required;
    };
    const std::wstring modelDir = Dir(modelPath);
    std::vector<File> files = {{binDir + L"\\" + kZQCoreUIDll, true}, {modelPath, true}};
    if (!model.plugIn.empty()) files.push_back({binDir + L"\\" + ZQWide(model.plugIn), true});
    for (const auto& f : model.files) files.push_back({modelDir + L"\\" + ZQWide(f), true});
    if (!model.stringsFile.empty()) files.push_back({modelDir + L"\\" + ZQWide(model.stringsFile), true});
    for (const auto& m : model.modules) files.push_back({binDir + L"\\" + ZQWide(m), false});

    std::wstring dependent;
    for (size_t i = 0; i < files.size(); ++i) {
        const std::wstring name = Base(files[i].source);
        if (!Exists(files[i].source)) {
            if (files[i].required) {
                out.error = L"missing " + files[i].source;
                SetLastError(ERROR_FILE_NOT_FOUND);
                return FALSE;
            }
            out.skipped.push_back(name);
            continue;
        }
        if (!CopyFileW(files[i].source.c_str(), (std::wstring(driverDir) + L"\\" + name).c_str(), FALSE)) {
            out.error = L"cannot copy " + files[i].source;
            return FALSE;
        }
        out.copied.push_back(name);
        // The core driver and the model are the driver's own files; the rest depend on it.
        if (i >= 2) {
            dependent += name;
            dependent.push_back(L'\0');
        }
    }
    dependent.push_back(L'\0');

    // The spooler copies the files from the driver directory into its version directory.
    std::wstring driverName = out.driverName;
    std::wstring coreUI = kZQCoreUIDll;
    std::wstring dataFile = Base(modelPath);
    std::wstring dataType = L"RAW";
    DRIVER_INFO_3W di = {};
    di.cVersion = 3;
    di.pName = driverName.data();
    di.pDriverPath = coreUI.data();
    di.pDataFile = dataFile.data();
    di.pConfigFile = coreUI.data();
    di.pDependentFiles = dependent.data();
    di.pDefaultDataType = dataType.data();
    if (!AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&di))) {
        out.error = L"AddPrinterDriver failed";
        return FALSE;
    }
    RegisterToolbox(driverName, model.toolbox);

    std::wstring name = out.printerName, portName = port.empty() ? L"FILE:" : port, processor = L"WinPrint";
    PRINTER_INFO_2W pi = {};
    pi.pPrinterName = name.data();
    pi.pPortName = portName.data();
    pi.pDriverName = driverName.data();
    pi.pPrintProcessor = processor.data();
    pi.pDatatype = dataType.data();
    RegisterBidiStandIn(binDir);
    // Wine's spooler adds a printer of an existing name again, its default devmode reset: an existing
    // printer is looked for first.
    CZQSpoolPrinter printer;
    if (OpenPrinterW(name.data(), printer.Put(), nullptr)) {
        WriteStatusText(printer.Get(), model.statusText);
        return TRUE;
    }
    printer.Reset(AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&pi)));
    if (!printer) {
        if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS || !OpenPrinterW(name.data(), printer.Put(), nullptr)) {
            out.error = L"AddPrinter failed";
            return FALSE;
        }
        WriteStatusText(printer.Get(), model.statusText);
        return TRUE;
    }
    WriteStatusText(printer.Get(), model.statusText);
    out.added = true;
    RunInitializeEvent(printer.Get(), name);
    return TRUE;
}
