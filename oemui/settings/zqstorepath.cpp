#include "settings/zqstorepath.h"

#include "common/zqcommon.h"
#include "common/zqstorenames.h"

std::wstring ZQUserStorePath(PCWSTR pszGuid, PCWSTR pszKey) {
    if (!pszGuid || !*pszGuid || !pszKey) return L"";
    return std::wstring(zqsettings::kMakerKey) + pszGuid + L"\\" + pszKey;
}

std::wstring ZQUserStorePathOf(HANDLE hPrinter, PCWSTR pszKey) {
    WCHAR guid[CZQCommon::kGuidTextChars] = {};
    if (!hPrinter || !CZQCommon::BReadRestrictedUserGuid(hPrinter, guid)) return L"";
    return ZQUserStorePath(guid, pszKey);
}
