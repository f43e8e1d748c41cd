#include "device/zqnetaddress.h"

#include <cwchar>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "formats/zqportaddress.h"

namespace {

constexpr WCHAR kMonitorsKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors";
constexpr WCHAR kSbp2DevicesKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
constexpr PCWSTR kEwsAddressValue = zqsettings::kEwsAddress;
constexpr DWORD kMaxKeys = 1000;
// Registry key names are at most 255 characters.
constexpr DWORD kKeyNameChars = 256;
// Values are read into 520 bytes.
constexpr DWORD kValueChars = 260;
// The address lies in bytes 36-39 of the INQUIRY data, so the device is asked for 40 bytes.
constexpr BYTE kInquiryBytes = kZQInquiryAddressBytes;
constexpr DWORD kInquiryBufferBytes = 512;

// A text value (formats/zqportaddress.h: any other value counts as missing) that fits cchOut
// characters with its terminator.
bool ReadText(HKEY hKey, LPCWSTR pszSubkey, LPCWSTR pszValue, WCHAR* pszOut, size_t cchOut) {
    WCHAR text[kValueChars];
    DWORD type = REG_NONE, cb = sizeof text;
    if (DWReadSubkeyValue(hKey, pszSubkey, pszValue, &type, reinterpret_cast<BYTE*>(text), &cb) != ERROR_SUCCESS)
        return false;
    const long cch = ZQRegTextLength(type, reinterpret_cast<const uint8_t*>(text), cb, cchOut);
    if (cch < 0) return false;
    std::wmemcpy(pszOut, text, static_cast<size_t>(cch) + 1);
    return true;
}

// The n-th subkey name of an open key: ERROR_SUCCESS, ERROR_NO_MORE_ITEMS at the end, or the
// failure of that entry.
LONG EnumKeyName(HKEY hKey, DWORD dwIndex, WCHAR (&name)[kKeyNameChars]) {
    DWORD cch = kKeyNameChars;
    return RegEnumKeyExW(hKey, dwIndex, name, &cch, nullptr, nullptr, nullptr, nullptr);
}

// "<a>" followed by "<b>", when it fits a key path.
bool JoinKey(WCHAR (&out)[2 * kKeyNameChars], LPCWSTR pszA, LPCWSTR pszB) {
    return ZQFormatText(out, 2 * kKeyNameChars, L"%s%s", pszA, pszB) == S_OK;
}

bool ListsPort(HKEY hPorts, LPCWSTR pszPortName) {
    for (DWORD i = 0; i < kMaxKeys; ++i) {
        WCHAR name[kKeyNameChars];
        const LONG rc = EnumKeyName(hPorts, i, name);
        if (rc == ERROR_NO_MORE_ITEMS) return false;
        if (rc == ERROR_SUCCESS && std::wcscmp(name, pszPortName) == 0) return true;
    }
    return false;
}

// What reading a listed port's values led to.
enum class PortRead { kAddress, kNextMonitor, kNone };

PortRead ReadPortAddress(HKEY hPorts, LPCWSTR pszPortName, LPWSTR pszOut) {
    WCHAR text[kZQAddressChars];
    if (!ReadText(hPorts, pszPortName, L"IPAddress", text, kZQAddressChars)) return PortRead::kNextMonitor;
    if (!text[0]) {
        if (!ReadText(hPorts, pszPortName, L"HostName", text, kZQAddressChars)) return PortRead::kNone;
        if (!text[0] && (!ReadText(hPorts, pszPortName, L"ZQNetworkPrinterID", text, kZQAddressChars) || !text[0]))
            return PortRead::kNone;
    }
    ZQCopyText(pszOut, kZQAddressChars, text);
    return PortRead::kAddress;
}

// "1394_<digits>" and nothing else.
bool Parse1394Port(LPCWSTR pszPortName, DWORD* pdwNumber) {
    if (std::wcsncmp(pszPortName, L"1394_", 5) != 0 || !pszPortName[5]) return false;
    DWORD number = 0;
    for (LPCWSTR p = pszPortName + 5; *p; ++p) {
        if (*p < L'0' || *p > L'9' || number > (MAXDWORD - 9) / 10) return false;
        number = number * 10 + static_cast<DWORD>(*p - L'0');
    }
    *pdwNumber = number;
    return true;
}

BOOL RealDeviceInquiry(LPCWSTR pszDevicePath, ZQInquiryBlock* pBlock) {
    HANDLE device = INVALID_HANDLE_VALUE;
    if (DWOpenDevice(pszDevicePath, &device) != ZQADDR_FOUND) return FALSE;
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(device, IOCTL_SCSI_PASS_THROUGH_DIRECT, pBlock, sizeof *pBlock, pBlock,
                                    sizeof *pBlock, &returned, nullptr);
    VCloseDevice(&device);
    return ok;
}

PFN_ZQDeviceInquiry g_pfnInquiry = &RealDeviceInquiry;

}  // namespace

PFN_ZQDeviceInquiry ZQSetDeviceInquiry(PFN_ZQDeviceInquiry pfn) {
    const PFN_ZQDeviceInquiry previous = g_pfnInquiry;
    g_pfnInquiry = pfn ? pfn : &RealDeviceInquiry;
    return previous == &RealDeviceInquiry ? nullptr : previous;
}

LONG DWReadSubkeyValue(HKEY hKey, LPCWSTR pszSubkey, LPCWSTR pszValueName, DWORD* pdwType, BYTE* pData,
                       DWORD* pcbData) {
    CZQRegKey subkey;
    if (RegOpenKeyExW(hKey, pszSubkey, 0, KEY_READ, subkey.Put()) != ERROR_SUCCESS) return ERROR_ACCESS_DENIED;
    return RegQueryValueExW(subkey.Get(), pszValueName, nullptr, pdwType, pData, pcbData);
}

DWORD DWOpenDevice(LPCWSTR pszDevicePath, HANDLE* phDevice) {
    *phDevice = CreateFileW(pszDevicePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return *phDevice == INVALID_HANDLE_VALUE ? ZQADDR_NO_DEVICE_ANSWER : ZQADDR_FOUND;
}

void VCloseDevice(HANDLE* phDevice) {
    if (*phDevice && *phDevice != INVALID_HANDLE_VALUE) CloseHandle(*phDevice);
    *phDevice = INVALID_HANDLE_VALUE;
}

DWORD DWGetPortNetworkAddress(LPCWSTR pszPortName, LPWSTR pszOut) {
    if (!pszPortName || !pszOut) return ZQADDR_NONE;
    static const LPCWSTR kLocalPorts[] = {L"FILE:", L"LPT1:", L"LPT2:", L"LPT3:",
                                          L"COM1:", L"COM2:", L"COM3:", L"COM4:"};
    for (LPCWSTR local : kLocalPorts)
        if (std::wcscmp(pszPortName, local) == 0) return ZQADDR_NONE;
    if (std::wcsncmp(pszPortName, L"USB", 3) == 0) return ZQADDR_NONE;

    DWORD result = ZQADDR_NONE;
    if (std::wcsncmp(pszPortName, L"1394_", 5) == 0) {
        CZQLocalPtr<WCHAR> path;
        if (!path.Alloc(kZQDevicePathChars)) return ZQADDR_NONE;
        DWFind1394DevicePath(pszPortName, path.Get());
        if (!path[0]) return ZQADDR_NONE;
        result = DWQuery1394Address(path.Get(), pszOut);
    } else {
        result = DWFindMonitorPortAddress(pszPortName, pszOut);
    }
    // An address is reported only when there is one.
    return result == ZQADDR_FOUND && !pszOut[0] ? ZQADDR_NONE : result;
}

DWORD DWFindMonitorPortAddress(LPCWSTR pszPortName, LPWSTR pszOut) {
    if (!pszPortName || !pszOut) return ZQADDR_NONE;
    CZQRegKey monitors;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMonitorsKey, 0, KEY_READ, monitors.Put()) != ERROR_SUCCESS)
        return ZQADDR_NONE;
    for (DWORD i = 0; i < kMaxKeys; ++i) {
        WCHAR monitor[kKeyNameChars];
        const LONG rc = EnumKeyName(monitors.Get(), i, monitor);
        if (rc == ERROR_NO_MORE_ITEMS) return ZQADDR_NONE;
        WCHAR portsPath[2 * kKeyNameChars];
        CZQRegKey ports;
        if (rc != ERROR_SUCCESS || !JoinKey(portsPath, monitor, L"\\Ports") ||
            RegOpenKeyExW(monitors.Get(), portsPath, 0, KEY_READ, ports.Put()) != ERROR_SUCCESS)
            continue;
        if (ListsPort(ports.Get(), pszPortName) &&
            ReadPortAddress(ports.Get(), pszPortName, pszOut) == PortRead::kNone)
            return ZQADDR_NONE;
        if (pszOut[0]) break;
    }
    return pszOut[0] ? ZQADDR_FOUND : ZQADDR_NONE;
}

DWORD DWFind1394DevicePath(LPCWSTR pszPortName, LPWSTR pszPath) {
    if (!pszPortName || !pszPath) return ZQADDR_NONE;
    pszPath[0] = 0;
    DWORD number = 0;
    CZQRegKey devices;
    if (!Parse1394Port(pszPortName, &number) ||
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSbp2DevicesKey, 0, KEY_READ, devices.Put()) != ERROR_SUCCESS)
        return ZQADDR_NONE;
    for (DWORD i = 0; i < kMaxKeys; ++i) {
        WCHAR device[kKeyNameChars];
        const LONG rc = EnumKeyName(devices.Get(), i, device);
        if (rc == ERROR_NO_MORE_ITEMS) return ZQADDR_NONE;
        WCHAR parameters[2 * kKeyNameChars], instance[2 * kKeyNameChars];
        if (rc != ERROR_SUCCESS || !JoinKey(parameters, device, L"\\#\\Device Parameters") ||
            !JoinKey(instance, device, L"\\#"))
            continue;
        WCHAR baseName[kKeyNameChars];
        DWORD port = 0, type = REG_NONE, cb = sizeof port;
        if (!ReadText(devices.Get(), parameters, L"Base Name", baseName, kKeyNameChars) ||
            std::wcscmp(baseName, L"1394_") != 0 ||
            DWReadSubkeyValue(devices.Get(), parameters, L"Port Number", &type, reinterpret_cast<BYTE*>(&port),
                              &cb) != ERROR_SUCCESS ||
            type != REG_DWORD || cb != sizeof port || port != number)
            continue;
        if (ReadText(devices.Get(), instance, L"SymbolicLink", pszPath, kZQDevicePathChars) &&
            std::wcsstr(pszPath, L"SBP2"))
            return ZQADDR_FOUND;
        pszPath[0] = 0;
    }
    return ZQADDR_NONE;
}

DWORD DWQuery1394Address(LPCWSTR pszDevicePath, LPWSTR pszOut) {
    if (!pszDevicePath || !pszOut) return ZQADDR_NO_DEVICE_ANSWER;
    CZQLocalPtr<BYTE> data;
    if (!data.Alloc(kInquiryBufferBytes)) return ZQADDR_NO_DEVICE_ANSWER;
    ZQInquiryBlock block = {};
    SCSI_PASS_THROUGH_DIRECT& sptd = block.sptd;
    sptd.Length = sizeof sptd;
    sptd.TargetId = 1;
    sptd.CdbLength = 6;
    sptd.SenseInfoLength = sizeof block.abSense;
    sptd.DataIn = SCSI_IOCTL_DATA_IN;
    sptd.DataTransferLength = kInquiryBufferBytes;
    sptd.TimeOutValue = 2;
    sptd.DataBuffer = data.Get();
    sptd.SenseInfoOffset = offsetof(ZQInquiryBlock, abSense);
    sptd.Cdb[0] = 0x12;  // INQUIRY
    sptd.Cdb[4] = kInquiryBytes;
    // The device reports how many bytes it gave: a shorter answer holds no address.
    WCHAR address[16];
    if (!g_pfnInquiry(pszDevicePath, &block) ||
        !ZQInquiryAddress(data.Get(), kInquiryBufferBytes, sptd.DataTransferLength, address))
        return ZQADDR_NO_DEVICE_ANSWER;
    ZQCopyText(pszOut, kZQAddressChars, address);
    return ZQADDR_FOUND;
}

// ---------------------------------------------------------------------------------------------
// The printer's embedded web pages address, kept in its data
// ---------------------------------------------------------------------------------------------
int CZQCommon::IUpdateEwsAddress(POEMCUIPPARAM pParam) {
    if (!pParam || !pParam->hPrinter) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    CZQLocalPtr<PRINTER_INFO_2W> info;
    if (!BGetPrinterInfo2(pParam->hPrinter, nullptr, nullptr, info.Put())) return -1;
    const PRINTER_INFO_2W& printer = *info.Get();
    if (printer.pServerName && printer.pServerName[0]) return -1;  // a server's printer keeps its own
    HANDLE writable = nullptr;
    BOOL reopened = FALSE;
    const BOOL readOnly = BIsPrinterDataReadOnly(pParam->hPrinter, printer.pPrinterName, nullptr, &writable, &reopened);
    CZQPrinterHandle reopenedHandle(reopened ? writable : nullptr);
    if (readOnly) return -1;

    WCHAR address[kZQAddressChars] = {};
    if (printer.pPortName && DWGetPortNetworkAddress(printer.pPortName, address) == ZQADDR_FOUND) {
        WCHAR value[kZQAddressChars + 2];
        ZQFormatText(value, kZQAddressChars + 2, L"%s,0", address);
        const DWORD rc = ZQWriteStoredValue(writable, nullptr, kEwsAddressValue, REG_SZ, value,
                                            static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(WCHAR)));
        SetLastError(rc);
        return rc == ERROR_SUCCESS ? 1 : -1;
    }
    const DWORD rc = zqspool::Spooler().DeletePrinterDataW(writable, const_cast<LPWSTR>(kEwsAddressValue));
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) {
        SetLastError(rc);
        return -1;
    }
    return 0;
}
