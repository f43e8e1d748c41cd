// The network address of the printer behind a port (an IP address, a host name or the maker's
// network printer identifier), so the printer's embedded web pages can be offered: none for local
// ports, the port monitors' configuration for network ports, and the device itself for IEEE 1394
// ports (one SCSI INQUIRY through the pass-through interface).
#pragma once

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstddef>

inline constexpr size_t kZQAddressChars = 256;     // the address buffer
inline constexpr size_t kZQDevicePathChars = 260;  // a 1394 device path

// Results of the lookups.
enum : DWORD {
    ZQADDR_NONE = 0,         // a local port, no configuration, or a lookup failure
    ZQADDR_FOUND = 1,
    ZQADDR_NO_DEVICE_ANSWER = 7,  // the 1394 device could not be opened or gave no address
};

// pszOut holds 256 characters and must be empty on entry: a non-empty one ends the monitor walk
// after the first monitor. FOUND only with an address in pszOut.
DWORD DWGetPortNetworkAddress(LPCWSTR pszPortName, LPWSTR pszOut);
// "IPAddress", else "HostName", else "ZQNetworkPrinterID" of the port's key under the first
// monitor that lists the port (names compared exactly).
DWORD DWFindMonitorPortAddress(LPCWSTR pszPortName, LPWSTR pszOut);
// The SBP2 device's symbolic link of a "1394_<n>" port into pszPath (260 characters, emptied when
// none); FOUND when one was found.
DWORD DWFind1394DevicePath(LPCWSTR pszPortName, LPWSTR pszPath);
// Bytes 36-39 of the device's INQUIRY data as "a.b.c.d".
DWORD DWQuery1394Address(LPCWSTR pszDevicePath, LPWSTR pszOut);
// Opens the subkey (ERROR_ACCESS_DENIED when it cannot be), queries the value, closes the subkey.
LONG DWReadSubkeyValue(HKEY hKey, LPCWSTR pszSubkey, LPCWSTR pszValueName, DWORD* pdwType, BYTE* pData,
                       DWORD* pcbData);

// The device routines: open a device path for reading and writing (FOUND, or NO_DEVICE_ANSWER when
// it cannot be opened) and close a handle (left INVALID_HANDLE_VALUE).
DWORD DWOpenDevice(LPCWSTR pszDevicePath, HANDLE* phDevice);
void VCloseDevice(HANDLE* phDevice);

// The INQUIRY as it travels: the pass-through record with the sense data behind it (80 bytes).
struct ZQInquiryBlock {
    SCSI_PASS_THROUGH_DIRECT sptd;
    UCHAR abSense[24];
};
static_assert(sizeof(ZQInquiryBlock) == 80, "INQUIRY block");

// The device's side of the INQUIRY: opens the device path, sends the block
// (IOCTL_SCSI_PASS_THROUGH_DIRECT, in and out) and closes the device; FALSE when the device cannot
// be opened or the call fails. Replaceable (null restores the real device); returns the previous.
typedef BOOL (*PFN_ZQDeviceInquiry)(LPCWSTR pszDevicePath, ZQInquiryBlock* pBlock);
PFN_ZQDeviceInquiry ZQSetDeviceInquiry(PFN_ZQDeviceInquiry pfn);
