// The user's own media, read from the media tool's keys of the user.
#include "featurelogic/zqusermedialist.h"

#include <cwchar>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"

namespace {

// One value of a medium's key, read bounded; the bytes stay in the caller's buffer.
ZQStoredValue ReadValue(HKEY hKey, PCWSTR pszValue, BYTE (&buffer)[kZQUserMediumValueBytes]) {
    ZQStoredValue value;
    DWORD type = 0, cb = sizeof buffer;
    if (RegQueryValueExW(hKey, pszValue, nullptr, &type, buffer, &cb) != ERROR_SUCCESS) return value;
    value.bPresent = true;
    value.dwType = type == REG_SZ ? kZQStoredString : type + 100;
    value.pData = buffer;
    value.cbData = cb;
    return value;
}

bool IsDriverMedium(const OPTITEM* pMediaItem, PCWSTR pszName) {
    for (int i = 0; pszName && i < CZQCommon::IGetOptionCount(pMediaItem); ++i) {
        const OPTPARAM* option = CZQCommon::PGetOptionParam(pMediaItem, i);
        if (option && option->pData && !IS_INTRESOURCE(option->pData) && lstrcmpW(option->pData, pszName) == 0)
            return true;
    }
    return false;
}

}  // namespace

int ZQReadUserMedia(const OPTITEM* pMediaItem, ZQUserMedium* pMedia, int nMax) {
    int count = 0;
    CZQRegKey list;
    if (!pMedia || RegOpenKeyExW(HKEY_CURRENT_USER, zqsettings::kAddNewPaperKey, 0,
                                 KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, list.Put()) != ERROR_SUCCESS)
        return 0;
    for (DWORD i = 0; count < nMax; ++i) {
        WCHAR subkey[256];
        DWORD chars = ARRAYSIZE(subkey);
        if (RegEnumKeyExW(list.Get(), i, subkey, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        ZQUserMedium& medium = pMedia[count];
        medium = ZQUserMedium{};
        CZQRegKey key;
        // A medium that cannot be opened still takes its entry, without a name.
        if (RegOpenKeyExW(list.Get(), subkey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) {
            ++count;
            continue;
        }
        BYTE name[kZQUserMediumValueBytes], profile[kZQUserMediumValueBytes], category[kZQUserMediumValueBytes],
            quality[kZQUserMediumValueBytes];
        ZQReadMediumName(ReadValue(key.Get(), L"Name", name), medium);
        if (IsDriverMedium(pMediaItem, medium.szName)) continue;
        ZQReadMediumDetails(ReadValue(key.Get(), L"ICCProfile", profile), ReadValue(key.Get(), L"Category", category),
                            ReadValue(key.Get(), L"Quality", quality), medium);
        ++count;
    }
    return count;
}

bool ZQIsPlaceholderMedium(PCWSTR pszOptionName) {
    const size_t length = pszOptionName ? wcslen(pszOptionName) : 0;
    return length == 1 || length == 2;
}

int ZQUserMediumOption(const OPTITEM* pMediaItem, const ZQUserMedium& medium) {
    WCHAR number[16];
    swprintf(number, ARRAYSIZE(number), L"%u", medium.dwCategory);
    for (int i = 0; i < CZQCommon::IGetOptionCount(pMediaItem); ++i) {
        const OPTPARAM* option = CZQCommon::PGetOptionParam(pMediaItem, i);
        if (option && option->pData && !IS_INTRESOURCE(option->pData) && lstrcmpW(option->pData, number) == 0) return i;
    }
    return -1;
}

int ZQChosenUserMedium(const OPTITEM* pMediaItem, const ZQUserMedium* pMedia, int nCount) {
    const int chosen = CZQUILogic::IGetCustomMediaSelected();
    if (!pMediaItem || !pMedia || chosen < 0 || chosen >= nCount || !pMedia[chosen].szName[0]) return -1;
    const int option = ZQUserMediumOption(pMediaItem, pMedia[chosen]);
    return option >= 0 && option == static_cast<int>(pMediaItem->Sel) ? chosen : -1;
}

bool ZQChosenUserMediumName(const OPTITEM* pMediaItem, PWSTR pszName) {
    CZQLocalPtr<ZQUserMedium> media;
    if (!pszName || !media.Alloc(kZQMaxUserMedia)) return false;
    const int count = ZQReadUserMedia(pMediaItem, media.Get(), kZQMaxUserMedia);
    const int chosen = ZQChosenUserMedium(pMediaItem, media.Get(), count);
    return chosen >= 0 && SUCCEEDED(ZQCopyText(pszName, kZQUserMediumChars, media.Get()[chosen].szName));
}
