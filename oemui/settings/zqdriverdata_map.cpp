// Translations between the configuration manager's names and values and the driver's, and the
// administrator's locks.
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
    {L"PaperSize", DMPUB_FORMNAME}, {L"NUpChoice", DMPUB_NUP},   {L"PageOrder", DMPUB_PAGEORDER},
    {L"Duplex", DMPUB_DUPLEX},      {L"MediaType", DMPUB_MEDIATYPE}, {L"InputBin", DMPUB_DEFSOURCE},
    {L"Copies", DMPUB_COPIES_COLLATE},
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
    ZQCopyText(pszOut, kItemChars, byConfigValue ? r.szDriverKeyword : r.szConfigValue);
    return TRUE;
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
    ZQCopyText(pszText, kItemChars, kAccessoryTable.pRows[row].szConfigValue);
    *piRow = row;
    return TRUE;
}

BOOL CZQDriverData::BMapPhysicalName(PCWSTR pszName, PWSTR pszKeyword) {
    if (!pszName || !pszKeyword) return BadArgument();
    for (int i = 0; i < kPhysicalNameRowCount; ++i) {
        if (!ZQEqualNoCase(kPhysicalNameRows[i].szConfigName, pszName)) continue;
        ZQCopyText(pszKeyword, kItemChars, kPhysicalNameRows[i].szDriverKeyword);
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
        if (!ZQEqualNoCase(row.szConfigName, pszName)) continue;
        POPTITEM item = nullptr;
        if (DWFindOptItem(pParam, row.szDriverKeyword, &item) != ZQOPT_OK) continue;
        ZQCopyText(pszKeyword, kItemChars, row.szDriverKeyword);
        break;
    }
    *pbPubId = PublicIdOf(pszKeyword);
    return *pbPubId != 0;
}

void CZQDriverData::VApplyLockData(POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQDriverData::VApplyLockData");
    if (!pParam || !pParam->hPrinter) return;
    CZQPrinterDataList locks;
    if (!locks.BRead(pParam->hPrinter, zqsettings::kLockDataPrinting)) return;
    for (DWORD i = 0; i < locks.Count(); ++i) {
        PCWSTR name = locks.Name(i);
        PCWSTR data = locks.Text(i);
        if (!name || !data || !data[0]) continue;
        WCHAR keyword[kItemChars] = {};
        BYTE pubId = 0;
        POPTITEM item = nullptr;
        // An item the core driver does not have, or one disabled already, is left as it is.
        if (BMapConfigName(pParam, name, keyword, &pubId)) {
            if (DWDisablePubOptItem(pParam, pubId, 0) == ZQOPT_OK &&
                DWFindOptItemByPubId(pParam, pubId, 0, &item) == ZQOPT_OK)
                item->HelpIndex = zqsettings::kLockedHelpIndex;
        } else if (DWDisableOptItem(pParam, keyword) == ZQOPT_OK && DWFindOptItem(pParam, keyword, &item) == ZQOPT_OK) {
            item->HelpIndex = zqsettings::kLockedHelpIndex;
        }
    }
}
