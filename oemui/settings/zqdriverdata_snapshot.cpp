// The snapshot of a conversion run as the driver side reads it: the run's settings under the
// current user's run key, listed, applied to the private devmode, and removed at the run's end.
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "formats/zqsnapshot.h"
#include "formats/zquidevmode.h"
#include "settings/zqdriverdata.h"

namespace {

namespace zs = zqsettings;

// The option items that also carry a devmode item; only the last two are reported.
constexpr PCWSTR kDevModeOptItems[] = {zqkw::kThriftModeItem, L"NUpChoice", L"Orientation",
                                       zqkw::kPageOrderItem,  zqkw::kColorMode, L"PrintColorAsGray"};
constexpr size_t kFirstReportedOptItem = 4;

// The run key (given, else the one the private devmode names) with a subkey below it; false when
// the path does not fit.
bool SnapshotKey(PCWSTR pszRunKey, const VOID* pPrivateDM, PCWSTR pszSubKey, PWSTR pszPath) {
    WCHAR runKey[CZQCommon::kRunKeyChars];
    if (!pszRunKey) {
        if (!CZQCommon::BBuildRunKeyPath(CZQCommon::GRunGuidOfPrivateDM(pPrivateDM), runKey, ARRAYSIZE(runKey)))
            return false;
        pszRunKey = runKey;
    }
    return pszSubKey && ZQFormatText(pszPath, CZQCommon::kRunKeyChars, L"%ls\\%ls", pszRunKey, pszSubKey) == S_OK;
}

// The value's text into a new item-sized string; null when it is no text.
PWSTR ItemText(DWORD type, const BYTE* data, DWORD cb) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) return nullptr;
    CZQLocalPtr<WCHAR> text;
    if (!text.Alloc(zs::kItemChars)) return nullptr;
    zqsnap::ValueText(data, cb, text.Get(), zs::kItemChars);
    return text.Release();
}

void Report(AnnotateCallback pfnAnnotate, PCWSTR pszName, PCWSTR pszValue, int iResult) {
    if (pfnAnnotate) pfnAnnotate(pszName, pszValue, iResult);
}

// Every named text pair of a snapshot subkey, in the registry's order.
template <typename F>
void ForEachPair(PCWSTR pszSubKey, const VOID* pPrivateDM, F f) {
    DWORD count = 0;
    CZQDriverData::BReadSnapshotList(pszSubKey, nullptr, &count, pPrivateDM);
    CZQLocalPtr<ZQSnapshotPair> pairs;
    if (!count || !pairs.Alloc(count) || !CZQDriverData::BReadSnapshotList(pszSubKey, pairs.Get(), &count, pPrivateDM))
        return;
    for (DWORD i = 0; i < count; ++i)
        if (pairs[i].pszName && pairs[i].pszValue) f(pairs[i].pszName, pairs[i].pszValue);
    CZQDriverData::VFreeSnapshotPairs(pairs.Get(), count);
}

// A snapshot value in a working copy of kItemChars characters.
BOOL ReadItem(PCWSTR pszSubKey, PCWSTR pszName, PWSTR pszValue, const VOID* pPrivateDM) {
    CZQLocalPtr<WCHAR> text;
    if (!CZQDriverData::BReadSnapshotValue(pszSubKey, pszName, text.Put(), pPrivateDM)) return FALSE;
    ZQCopyText(pszValue, zs::kItemChars, text.Get());
    return TRUE;
}

}  // namespace

BOOL CZQSnapshotSettings::BReadDevModeItem(PCWSTR pszName, PWSTR pszValue) const {
    return ReadItem(zs::kOndrelDevModeItems, pszName, pszValue, m_pPrivateDM);
}

BOOL CZQSnapshotSettings::BReadOptItem(PCWSTR pszName, PWSTR pszValue) const {
    return ReadItem(zs::kOndrelOptItems, pszName, pszValue, m_pPrivateDM);
}

BOOL CZQDriverData::BReadSnapshotList(PCWSTR pszSubKey, ZQSnapshotPair* pPairs, DWORD* pdwCount,
                                      const VOID* pPrivateDM) {
    if (!pdwCount) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const DWORD capacity = pPairs ? *pdwCount : 0;
    *pdwCount = 0;
    WCHAR path[kRunKeyChars];
    CZQRegKey key;
    if (!SnapshotKey(nullptr, pPrivateDM, pszSubKey, path)) return FALSE;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return TRUE;
    // Buffers as large as the key's largest name and value: one long value hides none behind it.
    DWORD values = 0, maxName = 0, maxData = 0;
    if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &maxName,
                         &maxData, nullptr, nullptr) != ERROR_SUCCESS)
        return FALSE;
    if (!pPairs) {
        *pdwCount = values;
        return TRUE;
    }
    CZQLocalPtr<WCHAR> name;
    CZQLocalPtr<BYTE> data;
    if (!name.Alloc(maxName + 1) || !data.Alloc(maxData + sizeof(WCHAR))) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    const DWORD count = values < capacity ? values : capacity;
    for (DWORD i = 0; i < count; ++i) {
        pPairs[i] = ZQSnapshotPair();
        DWORD cchName = maxName + 1, cbData = maxData, type = REG_NONE;
        if (RegEnumValueW(key.Get(), i, name.Get(), &cchName, nullptr, &type, data.Get(), &cbData) != ERROR_SUCCESS)
            continue;
        // A name that does not fit would name another item: the value is passed over.
        if (cchName >= zs::kItemChars) continue;
        CZQLocalPtr<WCHAR> itemName;
        CZQLocalPtr<WCHAR> value(ItemText(type, data.Get(), cbData));
        if (!value || !itemName.Alloc(zs::kItemChars)) continue;
        ZQCopyText(itemName.Get(), zs::kItemChars, name.Get());
        pPairs[i].pszName = itemName.Release();
        pPairs[i].pszValue = value.Release();
    }
    *pdwCount = count;
    return TRUE;
}

void CZQDriverData::VFreeSnapshotPairs(ZQSnapshotPair* pPairs, DWORD dwCount) {
    if (!pPairs) return;
    for (DWORD i = 0; i < dwCount; ++i) {
        if (pPairs[i].pszName) LocalFree(pPairs[i].pszName);
        if (pPairs[i].pszValue) LocalFree(pPairs[i].pszValue);
        pPairs[i] = ZQSnapshotPair();
    }
}

BOOL CZQDriverData::BReadSnapshotValue(PCWSTR pszSubKey, PCWSTR pszValue, PWSTR* ppszText, const VOID* pPrivateDM) {
    if (ppszText) *ppszText = nullptr;
    WCHAR path[kRunKeyChars];
    if (!pszValue || !ppszText || !SnapshotKey(nullptr, pPrivateDM, pszSubKey, path)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQLocalPtr<BYTE> data;
    DWORD type = REG_NONE, cb = 0;
    if (!BReadUserRegValue(path, pszValue, data.Put(), &cb, &type) || type != REG_SZ) return FALSE;
    *ppszText = ItemText(type, data.Get(), cb);
    return *ppszText != nullptr;
}

void CZQDriverData::VApplySnapshotDevModeItems(POEMCUIPPARAM pParam, AnnotateCallback pfnAnnotate) {
    ZQ_TRACE("CZQDriverData::VApplySnapshotDevModeItems");
    if (!pParam || !pParam->hPrinter) return;
    // Items are stored only into a whole block of ours; the run is still named by what the block
    // the core driver handed over says.
    ZQUIDevmode* dm = zqdm::CurrentBlock(pParam->pOEMDM);
    auto apply = [&](PCWSTR name, PCWSTR value) { return dm && ISetDevModeItem(dm, name, value) == 0 ? 0 : -1; };

    ForEachPair(zs::kOndrelDevModeItems, pParam->pOEMDM,
                [&](PCWSTR name, PCWSTR value) { Report(pfnAnnotate, name, value, apply(name, value)); });
    for (size_t i = 0; i < ARRAYSIZE(kDevModeOptItems); ++i) {
        CZQLocalPtr<WCHAR> value;
        if (!BReadSnapshotValue(zs::kOndrelOptItems, kDevModeOptItems[i], value.Put(), pParam->pOEMDM)) continue;
        const int result = apply(kDevModeOptItems[i], value.Get());
        if (i >= kFirstReportedOptItem) Report(pfnAnnotate, kDevModeOptItems[i], value.Get(), result);
    }
}

void CZQDriverData::VApplySnapshotOptItems(POEMCUIPPARAM pParam, AnnotateCallback pfnAnnotate) {
    ZQ_TRACE("CZQDriverData::VApplySnapshotOptItems");
    if (!pParam || !pParam->hPrinter || !pParam->poemuiobj) return;
    const CZQSnapshotSettings run(pParam->pOEMDM);
    ForEachPair(zs::kOndrelOptItems, pParam->pOEMDM, [&](PCWSTR name, PCWSTR value) {
        if (!value[0]) return;
        WCHAR option[zs::kItemChars], keyword[zs::kItemChars];
        if (!BMapConfigValue(name, value, option)) ZQCopyText(option, zs::kItemChars, value);
        ZQCopyText(keyword, zs::kItemChars, name);
        // Each item answers for itself: what a rule of its own applied counts, what nothing
        // applied does not, whatever the item before it did.
        BYTE pubId = 0;
        BOOL applied = FALSE;
        DWORD status = static_cast<DWORD>(-1);
        if (BMapConfigName(pParam, name, keyword, &pubId))
            VApplyPublicItem(pParam, pubId, option, run, &status);
        else if (BApplySpecialItem(pParam, keyword, option, &applied))
            status = DWSelectOptionByKeyword(pParam, keyword, option, OEMCUIP_DOCPROP);
        else if (applied)
            status = ZQOPT_OK;
        Report(pfnAnnotate, name, value, status == ZQOPT_OK ? 0 : -1);
    });
    VApplyLayoutItems(pParam);
}

void CZQDriverData::VApplySnapshotDeviceItems(POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQDriverData::VApplySnapshotDeviceItems");
    if (!pParam || !pParam->hPrinter || !pParam->poemuiobj) return;
    ForEachPair(zs::kOndrelPhysical, pParam->pOEMDM,
                [&](PCWSTR name, PCWSTR value) { VApplyPhysicalItem(pParam, name, value); });
}

BOOL CZQDriverData::BApplySnapshotPrintQuality(POEMCUIPPARAM pParam, PWSTR pszQuality) {
    if (!pParam || !pszQuality) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CZQLocalPtr<WCHAR> quality;
    if (!BReadSnapshotValue(zs::kOndrelDevModeItems, zqkw::kPrintQuality, quality.Put(), pParam->pOEMDM)) return FALSE;
    ZQCopyText(pszQuality, zs::kItemChars, quality.Get());
    return TRUE;
}

void CZQDriverData::VDeleteSnapshot(PCWSTR pszRunKey) {
    for (PCWSTR subKey : {zs::kOndrelPhysical, zs::kOndrelOptItems, zs::kOndrelDevModeItems})
        VDeleteSnapshotValues(subKey, pszRunKey);
    VDeleteSnapshotKey(zs::kOndrelPrinting, pszRunKey);
    VDeleteSnapshotKey(zs::kOndrelRoot, pszRunKey);
}

void CZQDriverData::VDeleteSnapshotValues(PCWSTR pszSubKey, PCWSTR pszRunKey) {
    WCHAR path[kRunKeyChars];
    if (!SnapshotKey(pszRunKey, nullptr, pszSubKey, path)) return;
    // A key whose values cannot be reached is still deleted when it may be.
    CZQRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, key.Put()) == ERROR_SUCCESS) {
        DWORD maxName = 0;
        RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr,
                         nullptr, nullptr);
        CZQLocalPtr<WCHAR> name;
        if (name.Alloc(maxName + 1)) {
            // A value that will not go stops the loop rather than spinning on it.
            for (;;) {
                DWORD cchName = maxName + 1;
                if (RegEnumValueW(key.Get(), 0, name.Get(), &cchName, nullptr, nullptr, nullptr, nullptr) !=
                        ERROR_SUCCESS ||
                    RegDeleteValueW(key.Get(), name.Get()) != ERROR_SUCCESS)
                    break;
            }
        }
        key.Reset();
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

void CZQDriverData::VDeleteSnapshotKey(PCWSTR pszSubKey, PCWSTR pszRunKey) {
    WCHAR path[kRunKeyChars];
    if (SnapshotKey(pszRunKey, nullptr, pszSubKey, path)) RegDeleteKeyW(HKEY_CURRENT_USER, path);
}
