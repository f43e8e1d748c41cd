#include "common/zqcolorprofile.h"

#include <cwchar>

namespace {

constexpr ULONG kDeviceProfile = 0;  // the device's own profile, not a source profile
constexpr FLONG kProfileOnDisk = 1;  // the answer is a file name

}  // namespace

HRESULT ZQQueryColorProfile(const DEVMODEW* pPublicDM, const void*, ULONG ulQueryMode, void* pvProfileData,
                            ULONG* pcbProfileData, FLONG* pflProfileData) {
    if (ulQueryMode != kDeviceProfile) return E_NOTIMPL;
    if (!pcbProfileData) return E_INVALIDARG;
    const bool mono = pPublicDM && (pPublicDM->dmFields & DM_COLOR) && pPublicDM->dmColor == DMCOLOR_MONOCHROME;
    const PCWSTR name = mono ? L"ZQGray.icm" : L"ZQColor.icm";
    const ULONG needed = static_cast<ULONG>((wcslen(name) + 1) * sizeof(WCHAR));
    if (!pvProfileData || *pcbProfileData < needed) {
        *pcbProfileData = needed;
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    }
    memcpy(pvProfileData, name, needed);
    *pcbProfileData = needed;
    if (pflProfileData) *pflProfileData = kProfileOnDisk;
    return S_OK;
}
