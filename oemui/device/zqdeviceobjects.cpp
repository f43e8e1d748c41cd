// What Update Now asks the printer: the device object table, the request list the helper file may
// give instead, and the queries in batches through the device channel.
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqautoconfig.h"
#include "platform/zqdeviceservers.h"
#include "xmlrules/zqxmluirules.h"

namespace {

namespace zs = zqsettings;

// A row from its name and identifier; the count follows from the components given.
constexpr DeviceObjectRecord Row(PCWSTR pszName, std::initializer_list<WORD> components) {
    DeviceObjectRecord row = {};
    for (WORD c : components) row.awComponents[row.dwCount++] = c;
    row.pszName = pszName;
    return row;
}

// The maker's private prefix.
#define ZQ_P 1, 3, 6, 1, 4, 1, 32473, 2, 3, 9, 4, 2
// The Printer MIB and the Host Resources MIB.
#define ZQ_PRT 1, 3, 6, 1, 2, 1, 43
#define ZQ_HR 1, 3, 6, 1, 2, 1, 25

constexpr DeviceObjectRecord kTable[] = {
    Row(zs::kAnswerModelName, {ZQ_P, 1, 1, 3, 2, 0}),
    Row(zs::kAnswerSerialNumber, {ZQ_P, 1, 1, 3, 3, 0}),
    Row(zs::kAnswerMediaPath, {ZQ_PRT, 13, 4, 1, 9, 1, 2}),
    Row(L"HOST-APPLICATION-AVAILABLE-MEMORY", {ZQ_P, 1, 1, 2, 59, 0}),
    Row(L"VELT_MODE", {ZQ_P, 1, 2, 4, 1, 1, 0}),
    Row(L"PRINT_ENGINE_REVISION", {ZQ_P, 1, 4, 1, 2, 26, 0}),
    Row(L"HELD-JOB-ENABLE", {ZQ_P, 1, 1, 6, 7, 2, 4, 0}),
    Row(L"hrDiskStorageMedia2", {ZQ_HR, 3, 6, 1, 2, 2}),
    Row(L"hrDiskStorageMedia3", {ZQ_HR, 3, 6, 1, 2, 3}),
    Row(L"hrDiskStorageMedia4", {ZQ_HR, 3, 6, 1, 2, 4}),
    Row(zs::kAnswerMemorySize, {ZQ_HR, 2, 2, 0}),
    Row(L"PHD1-MODEL", {ZQ_P, 1, 1, 4, 5, 1, 1, 0}),
    Row(L"PHD2-MODEL", {ZQ_P, 1, 1, 4, 5, 2, 1, 0}),
    Row(L"PHD3-MODEL", {ZQ_P, 1, 1, 4, 5, 3, 1, 0}),
    Row(L"PHD4-MODEL", {ZQ_P, 1, 1, 4, 5, 4, 1, 0}),
    Row(L"PHD5-MODEL", {ZQ_P, 1, 1, 4, 5, 5, 1, 0}),
    Row(L"PHD6-MODEL", {ZQ_P, 1, 1, 4, 5, 6, 1, 0}),
    Row(L"PHD2-NUMBER-OF-OPTIONS", {ZQ_P, 1, 1, 4, 5, 2, 5, 0}),
    Row(L"PHD3-NUMBER-OF-OPTIONS", {ZQ_P, 1, 1, 4, 5, 3, 5, 0}),
    Row(L"PHD2-OPTIONS-MODEL-1", {ZQ_P, 1, 1, 4, 5, 2, 6, 1, 0}),
    Row(L"PHD2-OPTIONS-MODEL-2", {ZQ_P, 1, 1, 4, 5, 2, 6, 2, 0}),
    Row(L"PHD2-OPTIONS-MODEL-3", {ZQ_P, 1, 1, 4, 5, 2, 6, 3, 0}),
    Row(L"PHD2-OPTIONS-MODEL-4", {ZQ_P, 1, 1, 4, 5, 2, 6, 4, 0}),
    Row(L"PHD2-OPTIONS-MODEL-5", {ZQ_P, 1, 1, 4, 5, 2, 6, 5, 0}),
    Row(L"PHD2-OPTIONS-MODEL-6", {ZQ_P, 1, 1, 4, 5, 2, 6, 6, 0}),
    Row(L"PHD3-OPTIONS-MODEL-1", {ZQ_P, 1, 1, 4, 5, 3, 6, 1, 0}),
    Row(L"PHD3-OPTIONS-MODEL-2", {ZQ_P, 1, 1, 4, 5, 3, 6, 2, 0}),
    Row(L"PHD3-OPTIONS-MODEL-3", {ZQ_P, 1, 1, 4, 5, 3, 6, 3, 0}),
    Row(L"PHD3-OPTIONS-MODEL-4", {ZQ_P, 1, 1, 4, 5, 3, 6, 4, 0}),
    Row(L"PHD3-OPTIONS-MODEL-5", {ZQ_P, 1, 1, 4, 5, 3, 6, 5, 0}),
    Row(L"PHD3-OPTIONS-MODEL-6", {ZQ_P, 1, 1, 4, 5, 3, 6, 6, 0}),
    Row(L"PHD1-DEVICE-MEMORY", {ZQ_P, 1, 4, 1, 7, 3, 1, 4, 0}),
    Row(L"PHD2-DEVICE-MEMORY", {ZQ_P, 1, 4, 1, 7, 3, 2, 4, 0}),
    Row(L"PHD3-DEVICE-MEMORY", {ZQ_P, 1, 4, 1, 7, 3, 3, 4, 0}),
    Row(L"PHD4-DEVICE-MEMORY", {ZQ_P, 1, 4, 1, 7, 3, 4, 4, 0}),
    Row(L"PHD5-DEVICE-MEMORY", {ZQ_P, 1, 4, 1, 7, 3, 5, 4, 0}),
    Row(L"PHD6-DEVICE-MEMORY", {ZQ_P, 1, 4, 1, 7, 3, 6, 4, 0}),
    Row(L"TRAY1-INSTALLED", {ZQ_P, 1, 4, 1, 3, 3, 1, 16, 0}),
    Row(L"TRAY2-INSTALLED", {ZQ_P, 1, 4, 1, 3, 3, 2, 16, 0}),
    Row(L"TRAY3-INSTALLED", {ZQ_P, 1, 4, 1, 3, 3, 3, 16, 0}),
    Row(L"TRAY1-MEDIA-SIZE-LOADED", {ZQ_P, 1, 4, 1, 3, 3, 1, 1, 0}),
    Row(L"TRAY2-MEDIA-SIZE-LOADED", {ZQ_P, 1, 4, 1, 3, 3, 2, 1, 0}),
    Row(L"TRAY3-MEDIA-SIZE-LOADED", {ZQ_P, 1, 4, 1, 3, 3, 3, 1, 0}),
    Row(L"TRAY1-MEDIA-VENDOR", {ZQ_P, 1, 4, 1, 3, 3, 1, 14, 0}),
    Row(L"TRAY2-MEDIA-VENDOR", {ZQ_P, 1, 4, 1, 3, 3, 2, 14, 0}),
    Row(L"TRAY3-MEDIA-VENDOR", {ZQ_P, 1, 4, 1, 3, 3, 3, 14, 0}),
    Row(L"TRAY1-MEDIA-NAME", {ZQ_P, 1, 4, 1, 3, 3, 1, 4, 0}),
    Row(L"TRAY2-MEDIA-NAME", {ZQ_P, 1, 4, 1, 3, 3, 2, 4, 0}),
    Row(L"TRAY3-MEDIA-NAME", {ZQ_P, 1, 4, 1, 3, 3, 3, 4, 0}),
    Row(L"TRAY1-MEDIA-TYPE", {ZQ_P, 1, 4, 1, 3, 3, 1, 6, 0}),
    Row(L"TRAY2-MEDIA-TYPE", {ZQ_P, 1, 4, 1, 3, 3, 2, 6, 0}),
    Row(L"TRAY3-MEDIA-TYPE", {ZQ_P, 1, 4, 1, 3, 3, 3, 6, 0}),
    Row(L"TRAY1-CUSTOM-MEDIA-WIDTH", {ZQ_P, 1, 4, 1, 3, 3, 1, 10, 0}),
    Row(L"TRAY2-CUSTOM-MEDIA-WIDTH", {ZQ_P, 1, 4, 1, 3, 3, 2, 10, 0}),
    Row(L"TRAY3-CUSTOM-MEDIA-WIDTH", {ZQ_P, 1, 4, 1, 3, 3, 3, 10, 0}),
    Row(L"MEDIA13-NAME", {ZQ_P, 1, 4, 1, 8, 3, 13, 1, 0}),
    Row(L"MEDIA14-NAME", {ZQ_P, 1, 4, 1, 8, 3, 14, 1, 0}),
    Row(L"MEDIA15-NAME", {ZQ_P, 1, 4, 1, 8, 3, 15, 1, 0}),
    Row(L"MEDIA16-NAME", {ZQ_P, 1, 4, 1, 8, 3, 16, 1, 0}),
    Row(L"MEDIA17-NAME", {ZQ_P, 1, 4, 1, 8, 3, 17, 1, 0}),
    Row(L"MEDIA18-NAME", {ZQ_P, 1, 4, 1, 8, 3, 18, 1, 0}),
    Row(L"MEDIA19-NAME", {ZQ_P, 1, 4, 1, 8, 3, 19, 1, 0}),
    Row(L"MEDIA20-NAME", {ZQ_P, 1, 4, 1, 8, 3, 20, 1, 0}),
    Row(L"MEDIA21-NAME", {ZQ_P, 1, 4, 1, 8, 3, 21, 1, 0}),
    Row(L"MEDIA22-NAME", {ZQ_P, 1, 4, 1, 8, 3, 22, 1, 0}),
    Row(L"MEDIA23-NAME", {ZQ_P, 1, 4, 1, 8, 3, 23, 1, 0}),
    Row(L"MEDIA24-NAME", {ZQ_P, 1, 4, 1, 8, 3, 24, 1, 0}),
    Row(L"MEDIA25-NAME", {ZQ_P, 1, 4, 1, 8, 3, 25, 1, 0}),
    Row(L"MEDIA26-NAME", {ZQ_P, 1, 4, 1, 8, 3, 26, 1, 0}),
    Row(L"prtInputMaxCapacity1", {ZQ_PRT, 8, 2, 1, 9, 1, 1}),
    Row(L"prtInputMaxCapacity2", {ZQ_PRT, 8, 2, 1, 9, 1, 2}),
    Row(L"prtInputMaxCapacity3", {ZQ_PRT, 8, 2, 1, 9, 1, 3}),
    Row(L"prtInputMaxCapacity4", {ZQ_PRT, 8, 2, 1, 9, 1, 4}),
    Row(L"prtInputMaxCapacity5", {ZQ_PRT, 8, 2, 1, 9, 1, 5}),
    Row(L"prtInputMaxCapacity6", {ZQ_PRT, 8, 2, 1, 9, 1, 6}),
    Row(L"prtInputMaxCapacity7", {ZQ_PRT, 8, 2, 1, 9, 1, 7}),
    Row(L"prtInputMaxCapacity8", {ZQ_PRT, 8, 2, 1, 9, 1, 8}),
    Row(L"prtInputMaxCapacity9", {ZQ_PRT, 8, 2, 1, 9, 1, 9}),
    Row(L"prtInputMaxCapacity10", {ZQ_PRT, 8, 2, 1, 9, 1, 10}),
    Row(L"prtInputMaxCapacity11", {ZQ_PRT, 8, 2, 1, 9, 1, 11}),
    Row(L"prtInputMaxCapacity12", {ZQ_PRT, 8, 2, 1, 9, 1, 12}),
    Row(L"prtInputMaxCapacity13", {ZQ_PRT, 8, 2, 1, 9, 1, 13}),
    Row(L"prtInputMaxCapacity14", {ZQ_PRT, 8, 2, 1, 9, 1, 14}),
    Row(L"prtInputMaxCapacity15", {ZQ_PRT, 8, 2, 1, 9, 1, 15}),
    Row(L"prtInputModel1", {ZQ_PRT, 8, 2, 1, 15, 1, 1}),
    Row(L"prtInputModel2", {ZQ_PRT, 8, 2, 1, 15, 1, 2}),
    Row(L"prtInputModel3", {ZQ_PRT, 8, 2, 1, 15, 1, 3}),
    Row(L"prtInputModel4", {ZQ_PRT, 8, 2, 1, 15, 1, 4}),
    Row(L"prtInputModel5", {ZQ_PRT, 8, 2, 1, 15, 1, 5}),
    Row(L"prtInputModel6", {ZQ_PRT, 8, 2, 1, 15, 1, 6}),
    Row(L"prtInputModel7", {ZQ_PRT, 8, 2, 1, 15, 1, 7}),
    Row(L"prtInputModel8", {ZQ_PRT, 8, 2, 1, 15, 1, 8}),
    Row(L"prtInputModel9", {ZQ_PRT, 8, 2, 1, 15, 1, 9}),
    Row(L"prtInputModel10", {ZQ_PRT, 8, 2, 1, 15, 1, 10}),
    Row(L"prtInputModel11", {ZQ_PRT, 8, 2, 1, 15, 1, 11}),
    Row(L"prtInputModel12", {ZQ_PRT, 8, 2, 1, 15, 1, 12}),
    Row(L"prtInputModel13", {ZQ_PRT, 8, 2, 1, 15, 1, 13}),
    Row(L"prtInputModel14", {ZQ_PRT, 8, 2, 1, 15, 1, 14}),
    Row(L"prtInputModel15", {ZQ_PRT, 8, 2, 1, 15, 1, 15}),
    Row(L"prtOutputName1", {ZQ_PRT, 9, 2, 1, 7, 1, 1}),
    Row(L"prtOutputName2", {ZQ_PRT, 9, 2, 1, 7, 1, 2}),
    Row(L"prtOutputName3", {ZQ_PRT, 9, 2, 1, 7, 1, 3}),
    Row(L"prtOutputName4", {ZQ_PRT, 9, 2, 1, 7, 1, 4}),
    Row(L"prtOutputName5", {ZQ_PRT, 9, 2, 1, 7, 1, 5}),
    Row(L"prtOutputName6", {ZQ_PRT, 9, 2, 1, 7, 1, 6}),
    Row(L"prtOutputName7", {ZQ_PRT, 9, 2, 1, 7, 1, 7}),
    Row(L"prtOutputName8", {ZQ_PRT, 9, 2, 1, 7, 1, 8}),
    Row(L"prtOutputName9", {ZQ_PRT, 9, 2, 1, 7, 1, 9}),
    Row(L"prtOutputName10", {ZQ_PRT, 9, 2, 1, 7, 1, 10}),
    Row(L"prtOutputName11", {ZQ_PRT, 9, 2, 1, 7, 1, 11}),
    Row(L"prtOutputName12", {ZQ_PRT, 9, 2, 1, 7, 1, 12}),
    Row(L"prtOutputName13", {ZQ_PRT, 9, 2, 1, 7, 1, 13}),
    Row(L"prtOutputName14", {ZQ_PRT, 9, 2, 1, 7, 1, 14}),
    Row(zs::kAnswerLocalization, {ZQ_PRT, 5, 1, 1, 10, 1}),
    Row(zs::kAnswerMediaNamesMask, {ZQ_P, 1, 4, 1, 8, 1, 1, 0}),
};
static_assert(sizeof kTable / sizeof kTable[0] == kZQDeviceObjectCount, "the device object table has 115 rows");

#undef ZQ_P
#undef ZQ_PRT
#undef ZQ_HR

constexpr PCWSTR kLocalizationName = zs::kAnswerLocalization;
// The memory object, and the shorter identifier some printers answer it under.
constexpr WCHAR kMemoryId[] = L"1.3.6.1.2.1.25.2.2.0";
constexpr WCHAR kMemoryRetryId[] = L"1.3.6.1.2.1.25.2.2";
constexpr PCWSTR kMemoryName = zs::kAnswerMemorySize;
constexpr PCWSTR kMediaPathName = zs::kAnswerMediaPath;
// The console speaks this language while the printer is asked.
constexpr DWORD kQueryLocalization = 1;
constexpr BYTE kValueTypeNumber = 2;

// Appends a node with copies of the texts; false when out of memory.
bool Append(RequestNode**& ppTail, PCWSTR pszName, PCWSTR pszObjectId) {
    auto* node = static_cast<RequestNode*>(LocalAlloc(LPTR, sizeof(RequestNode)));
    if (!node) return false;
    node->pszName = ZQDupText(pszName);
    node->pszObjectId = ZQDupText(pszObjectId);
    if (!node->pszName || !node->pszObjectId) {
        ZQFreeRequestList(node);
        return false;
    }
    *ppTail = node;
    ppTail = &node->pNext;
    return true;
}

// An entry of the list was answered: the method and its status both say so.
bool Answered(IZQObjectList* pList, int index) {
    HRESULT status = E_FAIL;
    return pList->GetStatus(index, &status) == S_OK && status == S_OK;
}

// Stores the answer of an entry that was answered.
void StoreEntry(IZQObjectList* pList, int index, PCWSTR pszName, HANDLE hPrinter) {
    BYTE type = 0xFF;
    BYTE* data = nullptr;
    DWORD size = 0;
    pList->GetValue(index, &type, &data, &size);
    if (!BStoreDeviceAnswer(pszName, hPrinter, data, size, type))
        zqtrace::Line(L"Update Now: an answer was not stored\n");
    CoTaskMemFree(data);
}

// Sets the console's language; the status is not looked at.
void SetLocalization(IZQDeviceChannel* pChannel, IZQObjectList* pList, PCWSTR pszId, DWORD dwValue) {
    HRESULT status = S_OK;
    pList->Clear();
    pList->SetObjectId(0, pszId);
    pList->SetValue(0, kValueTypeNumber, reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue);
    pChannel->Set(pList);
    pList->GetStatus(0, &status);
}

}  // namespace

const DeviceObjectRecord* ZQDeviceObjectTable() { return kTable; }

void ZQFormatObjectId(const DeviceObjectRecord& row, PWSTR pszText) {
    if (!pszText) return;
    constexpr size_t kChars = CZQAutoConfig::kPathChars;
    pszText[0] = L'\0';
    const DWORD count = row.dwCount < 20 ? row.dwCount : 20;
    for (DWORD i = 0; i < count && wcslen(pszText) < kChars - 4; ++i) {
        WCHAR part[8];
        ZQFormatText(part, 8, i ? L".%hu" : L"%hu", row.awComponents[i]);
        ZQAppendText(pszText, kChars, part);
    }
}

void ZQFreeRequestList(RequestNode* pHead) {
    while (pHead) {
        RequestNode* next = pHead->pNext;
        if (pHead->pszName) LocalFree(pHead->pszName);
        if (pHead->pszObjectId) LocalFree(pHead->pszObjectId);
        LocalFree(pHead);
        pHead = next;
    }
}

BOOL CZQAutoConfig::BReadRequestList(RequestNode** ppList) {
    if (!ppList) return FALSE;
    *ppList = nullptr;
    IXMLDOMNodeList* entries = m_pRules && m_pRules->Parser().BIsLoaded() ? m_pRules->Parser().DeviceObjectList() : nullptr;
    if (!entries) return FALSE;
    long count = 0;
    if (FAILED(entries->reset()) || FAILED(entries->get_length(&count))) return FALSE;
    RequestNode** tail = ppList;
    for (long i = 0; i < count; ++i) {
        CZQComPtr<IXMLDOMNode> entry;
        if (entries->nextNode(entry.Put()) != S_OK || !entry) break;
        CZQLocalPtr<WCHAR> name, objectId;
        // An entry without an identifier, or without a name to store its answer under, asks nothing.
        if (!CZQXmlUiRules::BReadDmlPairs(entry.Get(), name.Put(), objectId.Put()) || !name.Get()[0]) continue;
        if (!Append(tail, name.Get(), objectId.Get())) break;
    }
    return TRUE;
}

BOOL CZQAutoConfig::BQueryAllObjects() {
    ZQ_TRACE("CZQAutoConfig::BQueryAllObjects");
    // Only the objects the store already has a value for: the placeholders written before, and the
    // answers of earlier runs.
    RequestNode* list = nullptr;
    RequestNode** tail = &list;
    WCHAR localization[kPathChars] = {};
    for (const DeviceObjectRecord& row : kTable) {
        CZQLocalPtr<BYTE> value;
        DWORD cb = 0;
        if (!BReadAnswer(row.pszName, value.Put(), &cb)) continue;
        WCHAR id[kPathChars];
        ZQFormatObjectId(row, id);
        if (!Append(tail, row.pszName, id)) break;
        if (ZQEqualNoCase(row.pszName, kLocalizationName)) ZQCopyText(localization, kPathChars, id);
    }
    const BOOL ok = BQuery(list, localization[0] ? localization : nullptr, FALSE);
    ZQFreeRequestList(list);
    return ok;
}

BOOL CZQAutoConfig::BQueryOptionCounts() {
    ZQ_TRACE("CZQAutoConfig::BQueryOptionCounts");
    // Every count starts at 0: a device the printer does not answer for has no options.
    RequestNode* list = nullptr;
    RequestNode** tail = &list;
    for (int n = 1; n <= kPaperHandlers; ++n) {
        WCHAR name[64];
        ZQFormatText(name, 64, L"%ls%d%ls", L"PHD", n, L"-NUMBER-OF-OPTIONS");
        const DWORD zero = 0;
        BWriteAnswer(name, REG_DWORD, &zero, sizeof zero);
        CZQLocalPtr<BYTE> value;
        DWORD cb = 0;
        for (const DeviceObjectRecord& row : kTable) {
            if (lstrcmpW(row.pszName, name) != 0 || !BReadAnswer(name, value.Put(), &cb)) continue;
            WCHAR id[kPathChars];
            ZQFormatObjectId(row, id);
            if (!Append(tail, row.pszName, id)) break;
        }
    }
    const BOOL ok = list ? BQuery(list, nullptr, FALSE) : TRUE;
    ZQFreeRequestList(list);
    return ok;
}

BOOL CZQAutoConfig::BQueryObjectList(RequestNode** ppList) {
    ZQ_TRACE("CZQAutoConfig::BQueryObjectList");
    return ppList ? BQuery(*ppList, nullptr, TRUE) : FALSE;
}

BOOL CZQAutoConfig::BQuery(const RequestNode* pList, PCWSTR pszLocalizationId, BOOL bListMode) {
    CZQComPtr<IZQDeviceChannel> channel;
    if (FAILED(ZQCreateDeviceServer(CLSID_ZQDeviceChannel, IID_IZQDeviceChannel, channel.PutVoid())) || !channel)
        return FALSE;
    CZQLocalPtr<PRINTER_INFO_2W> info;
    if (!BGetPrinterInfo2(m_hPrinter, m_szPrinterName[0] ? m_szPrinterName : nullptr, nullptr, info.Put()) ||
        FAILED(channel->Open(info.Get()->pPrinterName)))
        return FALSE;
    channel->SetOptions(0, 0, 1, DWORD(-1), DWORD(-1), DWORD(-1), DWORD(-1));
    CZQComPtr<IZQObjectList> list;
    if (FAILED(ZQCreateDeviceServer(CLSID_ZQObjectList, IID_IZQObjectList, list.PutVoid())) || !list) {
        channel->Close();
        return FALSE;
    }

    // The console's language while it is asked: the first byte of its value, 1 without one.
    bool switched = false;
    DWORD previous = kQueryLocalization;
    if (pszLocalizationId) {
        list->Clear();
        list->SetObjectId(0, pszLocalizationId);
        channel->Get(list.Get());
        BYTE type = 0xFF;
        BYTE* data = nullptr;
        DWORD size = 0;
        list->GetValue(0, &type, &data, &size);
        if (data && size) previous = data[0];
        CoTaskMemFree(data);
        if (previous != kQueryLocalization) {
            SetLocalization(channel.Get(), list.Get(), pszLocalizationId, kQueryLocalization);
            switched = true;
        }
    }

    std::vector<const RequestNode*> nodes;
    for (const RequestNode* node = pList; node; node = node->pNext) nodes.push_back(node);
    bool retryMemory = false;
    for (size_t first = 0; first < nodes.size(); first += kZQObjectListEntries) {
        const int batch = static_cast<int>(std::min<size_t>(kZQObjectListEntries, nodes.size() - first));
        list->Clear();
        for (int i = 0; i < batch; ++i) list->SetObjectId(i, nodes[first + i]->pszObjectId);
        channel->Get(list.Get());
        for (int i = 0; i < batch; ++i) {
            const RequestNode* node = nodes[first + i];
            if (Answered(list.Get(), i)) {
                StoreEntry(list.Get(), i, node->pszName, m_hPrinter);
                continue;
            }
            // An object not answered keeps its placeholder.
            if (lstrcmpW(node->pszObjectId, kMemoryId) == 0) retryMemory = true;
            if (bListMode && ZQEqualNoCase(node->pszName, kMediaPathName)) BWriteNumberPlaceholder(kMediaPathName);
        }
    }
    if (retryMemory) {
        list->Clear();
        list->SetObjectId(0, kMemoryRetryId);
        if (SUCCEEDED(channel->Get(list.Get())) && Answered(list.Get(), 0))
            StoreEntry(list.Get(), 0, kMemoryName, m_hPrinter);
    }
    if (switched) SetLocalization(channel.Get(), list.Get(), pszLocalizationId, previous);
    channel->Close();
    list->Clear();
    return TRUE;
}
