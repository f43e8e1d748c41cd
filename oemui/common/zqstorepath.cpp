#include "common/zqstorepath.h"

#include "common/zqcommon.h"

std::wstring ZQUserStorePath(PCWSTR pszGuid, PCWSTR pszKey, PCWSTR pszRoot) {
    if (!pszGuid || !*pszGuid) return L"";
    std::wstring path = std::wstring(pszRoot ? pszRoot : L"") + pszGuid;
    if (pszKey && *pszKey) path.append(L"\\").append(pszKey);
    return path;
}

std::wstring ZQUserStorePathOf(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszRoot) {
    WCHAR guid[CZQCommon::kGuidTextChars] = {};
    if (!hPrinter || !CZQCommon::BReadRestrictedUserGuid(hPrinter, guid)) return L"";
    return ZQUserStorePath(guid, pszKey, pszRoot);
}
