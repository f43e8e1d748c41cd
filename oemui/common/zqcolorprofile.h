// The colour profile the printer's colour matching uses, as the plug-in object answers the core
// driver's question and the Colour page shows it. Our drivers install two device profiles of their
// own beside the driver's files: "ZQColor.icm" for colour output and "ZQGray.icm" for output the
// document asks in monochrome (dmColor DMCOLOR_MONOCHROME).
#pragma once

#include <windows.h>

// Device profiles only (query mode 0); the file name with its terminating zero goes into the buffer
// and *pcbProfileData holds its size in bytes. A buffer too small (or none) answers
// HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) with the size needed, and the buffer is left alone;
// *pflProfileData, when given, says the profile is a file (1).
HRESULT ZQQueryColorProfile(const DEVMODEW* pPublicDM, const void* pOEMDM, ULONG ulQueryMode, void* pvProfileData,
                            ULONG* pcbProfileData, FLONG* pflProfileData);
