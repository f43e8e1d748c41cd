// Translations between the configuration manager's names and values and the driver's, and the
// administrator's locks.
#include "common/zqkeywords.h"
#include "common/zqprinterdata.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "settings/zqconfigtables.h"
#include "settings/zqdriverdata.h"

namespace {

using namespace zqcfgmap;
using zqsettings::kItemChars;

// Feature keywords of the core driver's public items, with their public ids.
struct PublicItem {
    PCWSTR pszKeyword;
    BYTE bPubId;
};
constexpr PublicItem kPublicItems[] = {
    {zqkw::kPaperSize, DMPUB_FORMNAME}, {L"NUpChoice", DMPUB_NUP},   {zqkw::kPageOrderItem, DMPUB_PAGEORDER},
    {zqkw::kDuplexItem, DMPUB_DUPLEX},      {zqkw::kMediaType, DMPUB_MEDIATYPE}, {zqkw::kInputBin, DMPUB_DEFSOURCE},
    {zqkw::kCopiesItem, DMPUB_COPIES_COLLATE},
};
static_assert(DMPUB_FORMNAME == 9 && DMPUB_NUP == 16 && DMPUB_PAGEORDER == 17 && DMPUB_DUPLEX == 7 &&
                  DMPUB_MEDIATYPE == 12 && DMPUB_DEFSOURCE == 4 && DMPUB_COPIES_COLLATE == 3,
              "public ids of the core driver");

BYTE PublicIdOf(PCWSTR pszKeyword) {
    for (const PublicItem& p : kPublicItems)
        if (ZQEqualNoCase(p.pszKeyword, pszKeyword)) return p.bPubId;
    return 0;
}

BOOL BadArgument() {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
}

// Copies the column of the first row matching by the other column.
BOOL MapRow(const ConfigValueTable* table, PCWSTR pszIn, bool byConfigValue, PWSTR pszOut) {
    if (!table) return FALSE;
    const int row = byConfigValue ? FindRowByConfigValue(*table, pszIn) : FindRowByKeyword(*table, pszIn);
    if (row < 0) return FALSE;
    const ConfigValueRow& r = table->pRows[row];
    ZQCopyText(pszOut, kItemChars, byConfigValue ? r.pszDriverKeyword : r.pszConfigValue);
    return TRUE;
}

// The locks the import could not store ("DMCUnstoredLocks"): each entry "<lock key>\<name>".
class CUnstoredLocks {
public:
    // ERROR_SUCCESS, ERROR_FILE_NOT_FOUND without a list, else the spooler's answer.
    DWORD DWRead(HANDLE hPrinter) {
        DWORD type = REG_NONE, cb = 0;
        const DWORD rc = ZQReadStoredValue(hPrinter, nullptr, zqsettings::kUnstoredLocks, &type, m_data, &cb);
        // Anything but a list of texts names no lock.
        if (rc == ERROR_SUCCESS && type != REG_MULTI_SZ) m_data.Reset();
        m_cch = m_data ? cb / sizeof(WCHAR) : 0;
        return rc;
    }
    // Calls take(name) for each entry under the key.
    template <typename Take>
    void VEach(PCWSTR pszKey, Take take) const {
        const auto* text = reinterpret_cast<PCWSTR>(m_data.Get());
        const size_t cchKey = wcslen(pszKey);
        // The reader leaves a terminator behind the data, so the last entry ends too.
        for (size_t at = 0; text && at < m_cch && text[at];) {
            PCWSTR entry = text + at;
            const size_t cch = wcslen(entry);
            if (cch > cchKey + 1 && entry[cchKey] == L'\\' &&
                CompareStringOrdinal(entry, static_cast<int>(cchKey), pszKey, static_cast<int>(cchKey), TRUE) ==
                    CSTR_EQUAL)
                take(entry + cchKey + 1);
            at += cch + 1;
        }
    }
    bool BNames(PCWSTR pszKey, PCWSTR pszName) const {
        bool found = false;
        VEach(pszKey, [&](PCWSTR name) { found = found || ZQEqualNoCase(name, pszName); });
        return found;
    }

private:
    CZQLocalPtr<BYTE> m_data;
    size_t m_cch = 0;
};

// Disables the item a lock record names and gives it the locked help index. An item the core
// driver does not have, or one disabled already, is left as it is.
void LockSetting(POEMCUIPPARAM pParam, PCWSTR pszName) {
    WCHAR keyword[kItemChars] = {};
    BYTE pubId = 0;
    POPTITEM item = nullptr;
    if (CZQDriverData::BMapConfigName(pParam, pszName, keyword, &pubId)) {
        if (CZQCommon::DWDisablePubOptItem(pParam, pubId, 0) == ZQOPT_OK &&
            CZQCommon::DWFindOptItemByPubId(pParam, pubId, 0, &item) == ZQOPT_OK)
            item->HelpIndex = zqsettings::kLockedHelpIndex;
    } else if (CZQCommon::DWDisableOptItem(pParam, keyword) == ZQOPT_OK &&
               CZQCommon::DWFindOptItem(pParam, keyword, &item) == ZQOPT_OK) {
        item->HelpIndex = zqsettings::kLockedHelpIndex;
    }
}

// A setting whose lock record cannot be read is locked: an administrator's lock is never lifted
// because the spooler failed to answer.
void LockByOwnRecord(POEMCUIPPARAM pParam, PCWSTR pszName) {
    using zqsettings::LockRecord;
    const LockRecord record = CZQDriverData::EReadLockRecord(pParam->hPrinter, zqsettings::kLockDataPrinting, pszName,
                                                             nullptr);
    if (record == LockRecord::kNone) return;
    if (record == LockRecord::kUnreadable) zqtrace::Line(L"CZQDriverData: lock record unreadable, setting locked\n");
    LockSetting(pParam, pszName);
}

}  // namespace

BOOL CZQDriverData::BMapConfigValue(PCWSTR pszItem, PCWSTR pszConfigValue, PWSTR pszKeyword) {
    if (!pszItem || !pszConfigValue || !pszKeyword) return BadArgument();
    return MapRow(FindValueTable(pszItem, kImport), pszConfigValue, true, pszKeyword);
}

BOOL CZQDriverData::BMapDriverValueBack(PCWSTR pszItem, PCWSTR pszKeyword, PWSTR pszConfigValue) {
    if (!pszItem || !pszKeyword || !pszConfigValue) return BadArgument();
    return MapRow(FindValueTable(pszItem, kExport), pszKeyword, false, pszConfigValue);
}

BOOL CZQDriverData::BMapDeviceValue(PCWSTR pszItem, PCWSTR pszConfigValue, PWSTR pszOption) {
    if (!pszItem || !pszConfigValue || !pszOption) return BadArgument();
    return MapRow(FindDeviceTable(pszItem, kImport), pszConfigValue, true, pszOption);
}

BOOL CZQDriverData::BMapDeviceOptionBack(PCWSTR pszItem, PCWSTR pszOption, PWSTR pszConfigValue) {
    if (!pszItem || !pszOption || !pszConfigValue) return BadArgument();
    return MapRow(FindDeviceTable(pszItem, kExport), pszOption, false, pszConfigValue);
}

BOOL CZQDriverData::BMapAccessoryBack(PWSTR pszText, int iStart, int* piRow) {
    if (!pszText || !piRow) return BadArgument();
    const int row = FindRowByKeyword(kAccessoryTable, pszText, iStart);
    if (row < 0) return FALSE;
    ZQCopyText(pszText, kItemChars, kAccessoryTable.pRows[row].pszConfigValue);
    *piRow = row;
    return TRUE;
}

BOOL CZQDriverData::BMapPhysicalName(PCWSTR pszName, PWSTR pszKeyword) {
    if (!pszName || !pszKeyword) return BadArgument();
    for (int i = 0; i < kPhysicalNameRowCount; ++i) {
        if (!ZQEqualNoCase(kPhysicalNameRows[i].pszConfigName, pszName)) continue;
        ZQCopyText(pszKeyword, kItemChars, kPhysicalNameRows[i].pszDriverKeyword);
        return TRUE;
    }
    return FALSE;
}

BOOL CZQDriverData::BMapConfigName(POEMCUIPPARAM pParam, PCWSTR pszName, PWSTR pszKeyword, BYTE* pbPubId) {
    if (!pszName || !pszKeyword || !pbPubId) return BadArgument();
    // Without the core driver's items no row can be chosen: the name stands as it is.
    ZQCopyText(pszKeyword, kItemChars, pszName);
    *pbPubId = 0;
    if (!pParam || !pParam->poemuiobj) return BadArgument();
    for (int i = 0; i < kNameRowCount; ++i) {
        const ConfigNameRow& row = kNameRows[i];
        if (!ZQEqualNoCase(row.pszConfigName, pszName)) continue;
        POPTITEM item = nullptr;
        if (DWFindOptItem(pParam, row.pszDriverKeyword, &item) != ZQOPT_OK) continue;
        ZQCopyText(pszKeyword, kItemChars, row.pszDriverKeyword);
        break;
    }
    *pbPubId = PublicIdOf(pszKeyword);
    return *pbPubId != 0;
}

int CZQDriverData::IPostScriptToggleOccurrence(PCWSTR pszName) {
    // The seventh, fifth and eighth of the core driver's items without a public id; import and
    // export both find them here.
    struct Toggle {
        PCWSTR pszName;
        int iOccurrence;
    };
    static constexpr Toggle kToggles[] = {{L"MirrorPrint", 6}, {L"LanguageLevel", 4}, {L"NegativePrint", 7}};
    for (const Toggle& t : kToggles)
        if (pszName && ZQEqualNoCase(t.pszName, pszName)) return t.iOccurrence;
    return -1;
}

DWORD CZQDriverData::DWFindPostScriptToggleItem(POEMCUIPPARAM pParam, PCWSTR pszName, POPTITEM* ppItem) {
    if (ppItem) *ppItem = nullptr;
    if (!pszName || !ppItem) return ZQOPT_BAD_ARGUMENT;
    const int occurrence = IPostScriptToggleOccurrence(pszName);
    return occurrence < 0 ? ZQOPT_NOT_FOUND : DWFindOptItemByPubId(pParam, 0, occurrence, ppItem);
}

BOOL CZQDriverData::VApplyLockData(POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQDriverData::VApplyLockData");
    if (!pParam || !pParam->hPrinter) return BadArgument();
    CZQPrinterDataList locks;
    DWORD error = ERROR_SUCCESS;
    if (locks.BRead(pParam->hPrinter, zqsettings::kLockDataPrinting)) {
        for (DWORD i = 0; i < locks.Count(); ++i) {
            PCWSTR name = locks.Name(i);
            PCWSTR data = locks.Text(i);
            if (name && data && data[0]) LockSetting(pParam, name);
        }
    } else {
        error = GetLastError();
        // No key, no locks of its own.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) error = ERROR_SUCCESS;
    }
    // The locks the import could not store count as well.
    CUnstoredLocks unstored;
    const DWORD rc = unstored.DWRead(pParam->hPrinter);
    if (rc == ERROR_SUCCESS)
        unstored.VEach(zqsettings::kLockDataPrinting, [&](PCWSTR name) { LockSetting(pParam, name); });
    else if (rc != ERROR_FILE_NOT_FOUND && error == ERROR_SUCCESS)
        error = rc;
    if (error == ERROR_SUCCESS) return TRUE;
    zqtrace::Line(L"CZQDriverData::VApplyLockData: lock data not listed, each setting read alone\n");
    PWSTR* keywords = nullptr;
    int count = 0;
    DWGetItemKeywords(pParam, &keywords, &count);
    for (int i = 0; i < count; ++i) LockByOwnRecord(pParam, keywords[i]);
    VFreeStringList(keywords, count);
    for (int i = 0; i < kNameRowCount; ++i) LockByOwnRecord(pParam, kNameRows[i].pszConfigName);
    for (const PublicItem& p : kPublicItems) LockByOwnRecord(pParam, p.pszKeyword);
    SetLastError(error);
    return FALSE;
}

zqsettings::LockRecord CZQDriverData::EReadLockRecord(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszName, PWSTR pszText) {
    using zqsettings::LockRecord;
    if (pszText) pszText[0] = 0;
    CZQLocalPtr<WCHAR> text;
    if (BGetPrinterDataEx(hPrinter, pszKey, pszName, text.Put())) {
        if (pszText) ZQCopyText(pszText, kItemChars, text.Get());
        if (text.Get()[0]) return LockRecord::kText;
    } else {
        switch (GetLastError()) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_INVALID_DATA:  // not a text: not a lock record
                break;
            default:
                return LockRecord::kUnreadable;
        }
    }
    // No lock of its own: the import may still have meant one it could not store.
    CUnstoredLocks unstored;
    const DWORD rc = unstored.DWRead(hPrinter);
    if (rc == ERROR_FILE_NOT_FOUND || (rc == ERROR_SUCCESS && !unstored.BNames(pszKey, pszName)))
        return LockRecord::kNone;
    if (rc != ERROR_SUCCESS) {
        SetLastError(rc);
        return LockRecord::kUnreadable;
    }
    if (pszText) ZQCopyText(pszText, kItemChars, zqsettings::kLock);
    return LockRecord::kText;
}
