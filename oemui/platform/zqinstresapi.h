// The maker's mini-installer zqinstres.dll, one of the printer driver's dependent files: while a
// new printer's installation finishes, it makes the device-communication servers that its driver
// carries available when they are not. Shared by the plug-in and the stand-in so both sides agree
// on the two exports.
#pragma once

#include <windows.h>

inline constexpr const wchar_t* kZQInstResFile = L"zqinstres.dll";

// Export "InitializeMiniInstaller": installs the servers of the printer's driver that cannot be
// created yet; they stay installed until "KillMiniInstaller". TRUE when every server can be
// created afterwards.
typedef BOOL(WINAPI* PFN_InitializeMiniInstaller)(LPCWSTR pszPrinterName);
// Export "KillMiniInstaller": ends the installer; what it installed is removed again. Called once
// after every "InitializeMiniInstaller", whatever that answered.
typedef void(WINAPI* PFN_KillMiniInstaller)();
