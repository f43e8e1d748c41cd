#include "device/zqalerts.h"

#include <cwchar>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqalertdefs.h"
#include "platform/zqdeviceservers.h"

namespace {

namespace zs = zqsettings;
constexpr PCWSTR kTrayMediaName = L"TRAYx-MEDIA-TYPE_LOADED";
constexpr PCWSTR kTrayLengthName = L"TRAYx-CUSTOM-MEDIA-LENGTH";
constexpr PCWSTR kTrayWidthName = L"TRAYx-CUSTOM-MEDIA-WIDTH";
constexpr PCWSTR kUnavailableText =
    L"Status and Service unavailable.  Device may be offline or unreachable at this time.";
constexpr size_t kCchCommandLine = 1023;
constexpr size_t kCchUtilityPath = 1022;
constexpr size_t kCchAlertText = 1023;

// The fixed alerts: string id and severity.
struct FixedAlert {
    LONG lId;
    DWORD dwSeverity;
};
constexpr FixedAlert kCareAlert = {kZQAlertCareNotRunning, 2};
constexpr FixedAlert kPaperListAlert = {kZQAlertPaperListOld, 4};
constexpr FixedAlert kTrayMediaAlert = {kZQAlertTrayMedia, 1};
constexpr FixedAlert kTraySizeAlert = {kZQAlertTraySize, 1};
constexpr FixedAlert kUnreachableAlert = {kZQAlertUnreachable, 1};

void VInsertFixed(StatusRecord* pRecord, const FixedAlert& alert, PCWSTR pszLink, int iAt) {
    StatusItem item;
    item.dwSeverity = alert.dwSeverity;
    if (item.BSetLink(pszLink) && item.ids.BAppend(alert.lId)) pRecord->items.BInsertCopy(iAt, item);
}

void VAppendFixed(StatusRecord* pRecord, const FixedAlert& alert, PCWSTR pszLink = nullptr) {
    VInsertFixed(pRecord, alert, pszLink, pRecord->items.GetCount());
}

// Running only when its status says exactly "ACTIVE" (any case): an empty or cut status is not.
bool BPrinterCareRunning() {
    WCHAR status[511];
    DWORD cb = sizeof status;
    return RegGetValueW(HKEY_LOCAL_MACHINE, zs::kPrinterCareKey, zs::kPrinterCareStatus, RRF_RT_REG_SZ, nullptr, status,
                        &cb) == ERROR_SUCCESS &&
           ZQEqualNoCase(status, L"ACTIVE");
}

// Only a 32-bit "IsUpdated" that is not 0 marks the printer's paper list as updated.
bool BPaperListUpdated(PCWSTR pszPrinter) {
    WCHAR key[512];
    DWORD value = 0;
    DWORD cb = sizeof value;
    return pszPrinter &&
           ZQFormatText(key, 512, L"%ls\\%ls\\%ls\\%ls", zs::kMachinePrintersKey, pszPrinter, zs::kRootKey,
                        zs::kPaperListKey) == S_OK &&
           RegGetValueW(HKEY_LOCAL_MACHINE, key, zs::kPaperListUpdated, RRF_RT_REG_DWORD, nullptr, &value, &cb) ==
               ERROR_SUCCESS &&
           value != 0;
}

// "\"text\" " at the end of the line; false when it does not fit.
bool BAppendQuoted(PWSTR pszLine, PCWSTR pszText, bool bBlank) {
    return ZQAppendText(pszLine, kCchCommandLine, L"\"") == S_OK &&
           ZQAppendText(pszLine, kCchCommandLine, pszText) == S_OK &&
           ZQAppendText(pszLine, kCchCommandLine, bBlank ? L"\" " : L"\"") == S_OK;
}

}  // namespace

CZQAlerts::~CZQAlerts() { VFreeAlertDefinitions(m_definitions); }

BOOL CZQAlerts::BLoad(IXMLDOMDocument* pDocument) {
    ZQ_TRACE("CZQAlerts::BLoad");
    VFreeAlertDefinitions(m_definitions);
    return pDocument && BLoadAlertDefinitions(pDocument, m_definitions);
}

BOOL CZQAlerts::BRefresh(StatusRecord* pRecord) {
    ZQ_TRACE("CZQAlerts::BRefresh");
    if (!pRecord) return FALSE;
    m_pCurrent = pRecord;
    pRecord->items.VRemoveAll();
    if (!BPrinterCareRunning()) VAppendFixed(pRecord, kCareAlert);
    if (!BPaperListUpdated(pRecord->pszPrinterName)) {
        CZQLocalPtr<WCHAR> line(PszPaperUpdateCommandLine(pRecord));
        VAppendFixed(pRecord, kPaperListAlert, line.Get());
    }
    // A queue that prints to a file has no printer to ask.
    if (pRecord->dwPortKind == 6 || pRecord->dwPortKind == 8) {
        m_pCurrent = nullptr;
        return TRUE;
    }
    if (!BOpenStatusObjects(pRecord)) {
        VInsertFixed(pRecord, kUnreachableAlert, nullptr, 0);
        m_pCurrent = nullptr;
        return TRUE;
    }
    if (BEvaluateAll(pRecord)) VTrayChecks(pRecord);
    VCloseStatusObjects(pRecord);
    m_pCurrent = nullptr;
    return TRUE;
}

BOOL CZQAlerts::BEvaluateAll(StatusRecord* pRecord) {
    if (!pRecord) return FALSE;
    VEvaluateAlertDefinitions(m_definitions, pRecord);
    return pRecord->items.GetCount() > 0;
}

BOOL CZQAlerts::BFindValue(PCWSTR pszName, DWORD* pdwValue) const {
    return BFindAlertValue(m_definitions, pszName, pdwValue);
}

BOOL CZQAlerts::BFindText(PCWSTR pszName, PWSTR pszText, int cchText) const {
    return BFindAlertText(m_definitions, pszName, pszText, cchText);
}

// Each check needs both of its values from the printer: a tray that tells nothing raises nothing.
void CZQAlerts::VTrayChecks(StatusRecord* pRecord) const {
    WCHAR loaded[512];
    const PCWSTR media = pRecord->pszMediaText;
    if (media && media[0] && BAlertValueRead(m_definitions, kTrayMediaName) &&
        BFindText(kTrayMediaName, loaded, 512) && loaded[0] && !ZQEqualNoCase(loaded, media))
        VAppendFixed(pRecord, kTrayMediaAlert);

    DWORD width = 0, length = 0;
    if (BAlertValueRead(m_definitions, kTrayWidthName) && BAlertValueRead(m_definitions, kTrayLengthName) &&
        BFindValue(kTrayWidthName, &width) && BFindValue(kTrayLengthName, &length) &&
        (static_cast<LONG>(pRecord->dwPaperWidth) > static_cast<LONG>(width) ||
         static_cast<LONG>(pRecord->dwPaperLength) > static_cast<LONG>(length)))
        VAppendFixed(pRecord, kTraySizeAlert);
}

BOOL CZQAlerts::BOpenStatusObjects(StatusRecord* pRecord) {
    IZQDeviceChannel* pChannel = nullptr;
    IZQObjectList* pList = nullptr;
    bool ok = pRecord->pszPrinterName &&
              SUCCEEDED(ZQCreateDeviceServer(CLSID_ZQDeviceChannel, IID_IZQDeviceChannel, reinterpret_cast<void**>(&pChannel))) &&
              pChannel;
    pRecord->pStatusObject = pChannel;
    ok = ok && SUCCEEDED(pChannel->Open(pRecord->pszPrinterName)) &&
         SUCCEEDED(pChannel->SetOptions(0, 0, 1, DWORD(-1), DWORD(-1), DWORD(-1), DWORD(-1))) &&
         SUCCEEDED(ZQCreateDeviceServer(CLSID_ZQObjectList, IID_IZQObjectList, reinterpret_cast<void**>(&pList))) &&
         pList;
    pRecord->pRequest = pList;
    if (ok) return TRUE;
    // Nothing half-made stays behind.
    if (pList) pList->Release();
    if (pChannel) pChannel->Release();
    pRecord->pStatusObject = nullptr;
    pRecord->pRequest = nullptr;
    return FALSE;
}

void CZQAlerts::VCloseStatusObjects(StatusRecord* pRecord) {
    if (auto* pChannel = static_cast<IZQDeviceChannel*>(pRecord->pStatusObject)) {
        pChannel->Close();
        pChannel->Release();
    }
    if (auto* pList = static_cast<IZQObjectList*>(pRecord->pRequest)) {
        pList->Clear();
        pList->Release();
    }
    pRecord->pStatusObject = nullptr;
    pRecord->pRequest = nullptr;
}

PWSTR CZQAlerts::PszPaperUpdateCommandLine(const StatusRecord* pRecord) {
    WCHAR utility[kCchUtilityPath];
    if (!BReadUtilityPath(utility, kCchUtilityPath)) return nullptr;
    WCHAR line[kCchCommandLine] = {};
    bool ok = BAppendQuoted(line, utility, true);
    if (pRecord && pRecord->pszPrinterName) ok = ok && BAppendQuoted(line, pRecord->pszPrinterName, true);
    if (pRecord && pRecord->pszLocaleName) ok = ok && BAppendQuoted(line, pRecord->pszLocaleName, true);
    // A cut line could start something else: none at all then.
    ok = ok && BAppendQuoted(line, L"update_papers", false);
    return ok ? ZQDupText(line) : nullptr;
}

DWORD ZQAlertKind(DWORD dwSeverity) {
    switch (dwSeverity) {
        case ZQ_SEVERITY_ERROR: return 1;
        case ZQ_SEVERITY_ERROR_LINK: return 3;
        case ZQ_SEVERITY_WARNING_LINK: return 2;
        default: return 0;
    }
}

void ZQFormatAlertText(PCWSTR pszFormat, const PCWSTR* ppszArgs, int nArgs, PWSTR pszOut, size_t cchOut) {
    if (!pszOut || cchOut == 0) return;
    pszOut[0] = L'\0';
    if (!pszFormat) return;
    size_t n = 0;
    int arg = 0;
    auto put = [&](PCWSTR psz, size_t cch) {
        for (size_t i = 0; i < cch && psz[i] && n + 1 < cchOut; ++i) pszOut[n++] = psz[i];
    };
    for (PCWSTR p = pszFormat; *p && n + 1 < cchOut; ++p) {
        if (p[0] == L'%' && p[1] == L's' && arg < nArgs) {
            put(ppszArgs[arg] ? ppszArgs[arg] : L"", SIZE_MAX);
            ++arg;
            ++p;
        } else if (p[0] == L'%' && p[1] == L'%') {
            put(p, 1);
            ++p;
        } else {
            put(p, 1);
        }
    }
    pszOut[n] = L'\0';
}

BOOL ZQAlertItemText(const StatusItem& item, CZQCommon* pTexts, PWSTR pszText, size_t cchText) {
    if (!pszText || cchText == 0) return FALSE;
    pszText[0] = L'\0';
    const int count = item.ids.GetCount();
    if (count == 0) return FALSE;
    const size_t cch = cchText < kCchAlertText + 1 ? cchText : kCchAlertText + 1;
    WCHAR format[CZQCommon::kResStringLongChars] = {};
    if (count == 1) {
        const LONG id = item.ids.At(0);
        if (id == kZQAlertUnavailableId) {
            ZQCopyText(pszText, cch < 512 ? cch : 512, kUnavailableText);
            return TRUE;
        }
        WCHAR product[CZQCommon::kResStringLongChars] = {};
        if (id < 1 || !pTexts || !pTexts->BLoadResStringLong(id, format) ||
            !pTexts->BLoadResStringLong(kZQAlertProductName, product))
            return FALSE;
        const PCWSTR args[] = {product, product};
        ZQFormatAlertText(format, args, 2, pszText, cch);
        return TRUE;
    }
    // The texts of all ids but the last, each followed by "-", the last "-" taken away again.
    WCHAR joined[kCchAlertText + 1] = {};
    for (int i = 0; i + 1 < count; ++i) {
        WCHAR part[CZQCommon::kResStringLongChars] = {};
        if (item.ids.At(i) < 1 || !pTexts || !pTexts->BLoadResStringLong(item.ids.At(i), part)) continue;
        ZQAppendText(joined, kCchAlertText + 1, part);
        ZQAppendText(joined, kCchAlertText + 1, L"-");
    }
    const size_t length = wcslen(joined);
    if (length && joined[length - 1] == L'-') joined[length - 1] = L'\0';
    // Without the last id's text the row stays, its text empty.
    const LONG last = item.ids.At(count - 1);
    if (last < 1 || !pTexts || !pTexts->BLoadResStringLong(last, format)) return TRUE;
    const PCWSTR args[] = {joined};
    ZQFormatAlertText(format, args, 1, pszText, cch);
    return TRUE;
}
