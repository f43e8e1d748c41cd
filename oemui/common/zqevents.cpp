// The printer's data that the INITIALIZE printer event records: the per-user GUID, trays and media
// for the device-capabilities answers, the maker's print processor and the serial number.
#include <cstring>
#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqprinterdata.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "common/zquibase.h"
#include "platform/zqspooler.h"
#include "common/zqevents.h"
#include "common/zqstorenames.h"

namespace {

namespace zs = zqsettings;

// Tray readers allow 52 bytes a record (name, three zero bytes, 32-bit id): 22 characters fit.
constexpr size_t kTrayNameMaxChars = 22;
constexpr size_t kMediaNameMaxChars = 63;
constexpr DWORD kAnswerPlaceholderNumber = 6400;

BOOL SpoolerResult(DWORD rc) {
    SetLastError(rc);
    return rc == ERROR_SUCCESS;
}

// Name + id records in the byte stream, in a new block of *pcb bytes.
template <typename Id>
bool BuildRecords(PCWSTR pNames, size_t cchNameField, const Id* pIds, DWORD count, size_t cchMaxName,
                  CZQLocalPtr<BYTE>& data, DWORD* pcb) {
    size_t total = 0;
    for (DWORD i = 0; i < count; ++i)
        total += 2 * ZQTextLength(pNames + i * cchNameField, cchMaxName) + 3 + sizeof(DWORD);
    if (!data.Alloc(total ? total : 1)) return false;
    BYTE* cursor = data.Get();
    WCHAR name[256];
    for (DWORD i = 0; i < count; ++i) {
        ZQCopyTextN(name, 256, pNames + i * cchNameField, cchMaxName);
        CZQCommon::VWriteString(&cursor, name);
        CZQCommon::VWriteDword(&cursor, pIds[i]);
    }
    *pcb = static_cast<DWORD>(total);
    return true;
}

// Whether a device answer is a real one: not a placeholder, not empty.
bool IsRealAnswer(const BYTE* pData, DWORD cb) {
    if (cb >= sizeof(DWORD)) {
        DWORD number;
        memcpy(&number, pData, sizeof number);
        if (number == kAnswerPlaceholderNumber || number == L' ') return false;
    }
    const auto* text = reinterpret_cast<const WCHAR*>(pData);
    const size_t len = ZQTextLength(text, cb / sizeof(WCHAR));
    for (size_t i = 0; i < len; ++i)
        if (text[i] != L' ') return true;
    return false;
}

}  // namespace

BOOL ZQStoreTrayInfo(HANDLE hPrinter, PCWSTR pszPrinterName, PCWSTR pszPort) {
    ZQ_TRACE("ZQStoreTrayInfo");
    DWORD count = 0, nameCount = 0;
    CZQLocalPtr<WORD> bins;
    CZQLocalPtr<WCHAR> names;
    if (!CZQCommon::BGetPaperSourceIndices(pszPrinterName, pszPort, nullptr, &count, bins.Put()) ||
        !CZQCommon::BGetPaperSourceNames(pszPrinterName, pszPort, nullptr, &nameCount, names.Put()))
        return FALSE;
    // Names and ids only belong together when the lists are equally long.
    if (nameCount != count) return SpoolerResult(ERROR_INVALID_DATA);
    return ZQStoreTrayRecord(hPrinter, bins.Get(), names.Get(), count);
}

BOOL ZQStoreTrayRecord(HANDLE hPrinter, const WORD* pBins, PCWSTR pNames, DWORD dwCount) {
    CZQLocalPtr<BYTE> records;
    DWORD cbRecords = 0;
    if (!BuildRecords(pNames, CZQCommon::kBinNameChars, pBins, dwCount, kTrayNameMaxChars, records, &cbRecords))
        return SpoolerResult(ERROR_NOT_ENOUGH_MEMORY);
    // The count goes last: a reader that finds it finds the records it counts.
    if (!hPrinter) return SpoolerResult(ERROR_INVALID_DATA);
    const ZQValueChange values[] = {{nullptr, zs::kTrayRecords, REG_BINARY, records.Get(), cbRecords, FALSE},
                                    {nullptr, zs::kTrayCount, REG_DWORD, &dwCount, sizeof dwCount, FALSE}};
    return ZQChangeValuesTogether(hPrinter, values, 2);
}

BOOL ZQReadTrayInfo(HANDLE hPrinter, ZQTrayRecord** ppTrays, DWORD* pdwCount) {
    ZQ_TRACE("ZQReadTrayInfo");
    if (ppTrays) *ppTrays = nullptr;
    if (pdwCount) *pdwCount = 0;
    if (!hPrinter || !ppTrays || !pdwCount) return SpoolerResult(ERROR_INVALID_DATA);
    DWORD type = REG_NONE, cbCount = 0, cbRecords = 0;
    CZQLocalPtr<BYTE> countData, records;
    DWORD rc = ZQReadStoredValue(hPrinter, nullptr, zs::kTrayCount, &type, countData, &cbCount);
    if (rc != ERROR_SUCCESS) return SpoolerResult(rc);
    if (type != REG_DWORD || cbCount != sizeof(DWORD)) return SpoolerResult(ERROR_INVALID_DATA);
    DWORD count;
    memcpy(&count, countData.Get(), sizeof count);
    rc = ZQReadStoredValue(hPrinter, nullptr, zs::kTrayRecords, &type, records, &cbRecords);
    if (rc != ERROR_SUCCESS) return SpoolerResult(rc);
    // The smallest record is an empty name and an id.
    constexpr DWORD kMinRecordBytes = 3 + sizeof(DWORD);
    if (type != REG_BINARY || count > cbRecords / kMinRecordBytes) return SpoolerResult(ERROR_INVALID_DATA);
    CZQLocalPtr<ZQTrayRecord> trays;
    if (!trays.Alloc(count ? count : 1)) return SpoolerResult(ERROR_NOT_ENOUGH_MEMORY);
    BYTE* cursor = records.Get();
    const BYTE* end = records.Get() + cbRecords;
    for (DWORD i = 0; i < count; ++i) {
        CZQCommon::VReadString(&cursor, end, trays[i].szName, kTrayNameChars);
        trays[i].dwId = CZQCommon::DWReadDword(&cursor, end);
    }
    // The records must be exactly the ones counted: anything else was written apart.
    if (cursor != end) return SpoolerResult(ERROR_INVALID_DATA);
    *ppTrays = trays.Release();
    *pdwCount = count;
    return TRUE;
}

BOOL ZQStoreMediaInfo(HANDLE hPrinter, PCWSTR pszPrinterName, PCWSTR pszPort) {
    ZQ_TRACE("ZQStoreMediaInfo");
    DWORD count = 0, nameCount = 0;
    CZQLocalPtr<DWORD> ids;
    CZQLocalPtr<WCHAR> names;
    if (!CZQCommon::BGetMediaTypeIndices(pszPrinterName, pszPort, nullptr, &count, ids.Put()) ||
        !CZQCommon::BGetMediaTypeNames(pszPrinterName, pszPort, nullptr, &nameCount, names.Put()))
        return FALSE;
    if (nameCount != count) return SpoolerResult(ERROR_INVALID_DATA);
    CZQLocalPtr<BYTE> records;
    DWORD cbRecords = 0;
    if (!BuildRecords(names.Get(), CZQCommon::kMediaNameChars, ids.Get(), count, kMediaNameMaxChars, records,
                      &cbRecords))
        return SpoolerResult(ERROR_NOT_ENOUGH_MEMORY);
    // One value: the spooler writes it whole or not at all.
    return SpoolerResult(
        ZQWriteStoredValue(hPrinter, nullptr, zs::kMediaRecords, REG_BINARY, records.Get(), cbRecords));
}

BOOL ZQSetMakerPrintProcessor(HANDLE hPrinter) {
    ZQ_TRACE("ZQSetMakerPrintProcessor");
    CZQLocalPtr<PRINTER_INFO_2W> info;
    if (!CZQCommon::BGetPrinterInfo2(hPrinter, nullptr, nullptr, info.Put())) return FALSE;
    if (info.Get()->pPrintProcessor && ZQEqualNoCase(info.Get()->pPrintProcessor, kZQPrintProcessor)) return TRUE;
    CZQLocalPtr<DRIVER_INFO_3W> driver;
    if (!CZQCommon::BGetDriverInfo3(hPrinter, driver.Put())) return FALSE;
    // Only a print processor the spooler knows can be set; the driver's installation registers it.
    const auto& sp = zqspool::Spooler();
    DWORD needed = 0, returned = 0;
    sp.EnumPrintProcessorsW(info.Get()->pServerName, driver.Get()->pEnvironment, 1, nullptr, 0, &needed, &returned);
    if (!needed) return FALSE;
    CZQLocalPtr<BYTE> list;
    if (!list.Alloc(needed) ||
        !sp.EnumPrintProcessorsW(info.Get()->pServerName, driver.Get()->pEnvironment, 1, list.Get(), needed, &needed,
                                 &returned))
        return FALSE;
    const auto* processors = reinterpret_cast<const PRINTPROCESSOR_INFO_1W*>(list.Get());
    bool installed = false;
    for (DWORD i = 0; i < returned && !installed; ++i)
        installed = processors[i].pName && ZQEqualNoCase(processors[i].pName, kZQPrintProcessor);
    if (!installed) return FALSE;
    PRINTER_INFO_2W update = *info.Get();
    update.pPrintProcessor = const_cast<PWSTR>(kZQPrintProcessor);
    update.pSecurityDescriptor = nullptr;  // left as it is
    return sp.SetPrinterW(hPrinter, 2, reinterpret_cast<BYTE*>(&update), 0);
}

BOOL ZQStoreSerialNumber(HANDLE hPrinter) {
    ZQ_TRACE("ZQStoreSerialNumber");
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    if (!CZQUIBase::BReadUserSetting(hPrinter, zs::kAnswerStoreKey, zs::kAnswerSerialNumber, data.Put(), &cb))
        return FALSE;
    if (!IsRealAnswer(data.Get(), cb)) return FALSE;
    // The reader leaves room for a terminator behind the value.
    const auto* text = reinterpret_cast<const WCHAR*>(data.Get());
    const DWORD cbText = static_cast<DWORD>((ZQTextLength(text, cb / sizeof(WCHAR)) + 1) * sizeof(WCHAR));
    CZQLocalPtr<WCHAR> copy(ZQDupText(text, cb / sizeof(WCHAR)));
    if (!copy) return FALSE;
    return SpoolerResult(ZQWriteStoredValue(hPrinter, nullptr, zs::kSerialNumber, REG_SZ, copy.Get(), cbText));
}

void ZQInitializePrinter(PCWSTR pszPrinterName) {
    ZQ_TRACE("ZQInitializePrinter");
    if (!pszPrinterName) return;
    // The event runs in the spooler, with the rights to write the printer's data.
    CZQPrinterHandle printer;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!zqspool::Spooler().OpenPrinterW(const_cast<PWSTR>(pszPrinterName), printer.Put(), &defaults)) return;
    const HANDLE h = printer.Get();
    // Restricted users cannot write printer data later, so their key's name is made now; an
    // existing one stays, or their saved settings would be lost.
    WCHAR guid[CZQCommon::kGuidTextChars];
    if (!CZQCommon::BReadRestrictedUserGuid(h, guid)) {
        // Only a missing or unusable one is made anew: one the spooler failed to show is still there.
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_INVALID_DATA) CZQUIBase::BCreateRestrictedUserGuid(h);
    }
    CZQLocalPtr<PRINTER_INFO_2W> info;
    if (CZQCommon::BGetPrinterInfo2(h, nullptr, nullptr, info.Put())) {
        PCWSTR port = info.Get()->pPortName ? info.Get()->pPortName : L"";
        ZQStoreTrayInfo(h, pszPrinterName, port);
        ZQStoreMediaInfo(h, pszPrinterName, port);
    }
    ZQSetMakerPrintProcessor(h);
    ZQStoreSerialNumber(h);
}
