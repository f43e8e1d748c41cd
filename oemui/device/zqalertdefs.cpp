// Evaluation of the alert definitions against the printer's status objects, the lookups by name and
// the command lines of alert links.
#include "device/zqalertdefs.h"

#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "platform/zqdeviceservers.h"
#include "xmlrules/zqxmldom.h"
#include "device/zqdevicetext_win.h"

namespace {

void FreeText(PWSTR& psz) {
    if (psz) LocalFree(psz);
    psz = nullptr;
}

bool BHasStatusObjects(const StatusRecord* pRecord) {
    return pRecord && pRecord->pStatusObject && pRecord->pRequest;
}

bool BIsBitField(DWORD dwType) { return dwType == 4 || dwType == 8; }

// Reads one object into the state. FALSE leaves the state as it was; a new read frees the bytes of
// the previous one.
BOOL BReadObject(StatusRecord* pRecord, PCWSTR pszObjectId, AlertValueState& state) {
    DeviceValueRecord read;
    ZeroMemory(&read, sizeof read);
    HRESULT hr = S_OK;
    if (!BGetDeviceObjectValue(static_cast<IZQDeviceChannel*>(pRecord->pStatusObject),
                               static_cast<IZQObjectList*>(pRecord->pRequest), pszObjectId, &read, &hr))
        return FALSE;
    if (state.pbBytes) LocalFree(state.pbBytes);
    state.pbBytes = nullptr;
    state.dwType = read.dwType;
    state.cbSize = read.cbSize;
    if (!BIsBitField(read.dwType)) {
        state.dwValue = read.dwValue;
        return TRUE;
    }
    if (read.cbSize > sizeof read.abBytes) {
        state.pbBytes = read.pbData;  // the copy is the state's now
        state.dwValue = 0;
        return TRUE;
    }
    // The bytes themselves are kept too, so that a text lookup can convert them.
    state.pbBytes = static_cast<BYTE*>(LocalAlloc(LPTR, read.cbSize));
    if (state.pbBytes) CopyMemory(state.pbBytes, read.abBytes, read.cbSize);
    // Three bytes make no number: the value stays as it was.
    if (read.cbSize != 3) state.dwValue = read.dwValue;
    return TRUE;
}

// One item per message whose set_val is the value.
void VAddValueItems(const CZQPtrArray& messages, DWORD dwValue, StatusRecord* pRecord) {
    for (int i = 0; i < messages.GetCount(); ++i) {
        const auto* msg = static_cast<const CZQAlertMsg*>(messages.GetAt(i));
        if (static_cast<DWORD>(msg->m_lSetVal) != dwValue) continue;
        StatusItem item;
        item.dwSeverity = msg->m_dwSeverity;
        if (item.ids.BAppend(msg->m_lMessageId)) pRecord->items.BAppendCopy(item);
    }
}

// The items of a bit field: one pending item gathers the ids of the messages of the set bits in
// bit order. Without a suffix a copy goes out at each message, so later items carry the earlier
// ids too; with one the item goes out once, the suffix id last. FALSE, with nothing done, for a
// field of more than four bytes or no set bit.
bool BAddBitItems(const CZQPtrArray& messages, LONG lSuffixId, DWORD dwValue, DWORD cbSize, StatusRecord* pRecord) {
    if (cbSize > 4 || dwValue == 0) return false;
    StatusItem pending;
    for (DWORD bit = 0; bit < cbSize * 8; ++bit) {
        if (!(dwValue & (1u << bit))) continue;
        for (int i = 0; i < messages.GetCount(); ++i) {
            auto* msg = static_cast<CZQAlertMsg*>(messages.GetAt(i));
            if (msg->m_lSetBit != static_cast<LONG>(bit)) continue;
            pending.ids.BAppend(msg->m_lMessageId);
            pending.dwSeverity = msg->m_dwSeverity;
            if (msg->m_pCmdLine) {
                WCHAR link[CZQAlertCmdLine::kCchText];
                pending.BSetLink(msg->m_pCmdLine->BBuild(pRecord, link) ? link : nullptr);
            }
            if (lSuffixId == -1) pRecord->items.BAppendCopy(pending);
        }
    }
    if (lSuffixId != -1 && pending.ids.BAppend(lSuffixId)) pRecord->items.BAppendCopy(pending);
    return true;
}

// The identifier for one parameter, in a buffer of the format's length plus cchExtra characters.
bool BFormatted(PCWSTR pszFormat, LONG lNumber, size_t cchExtra, CZQLocalPtr<WCHAR>& text) {
    const size_t cch = wcslen(pszFormat) + cchExtra;
    return text.Alloc(cch) && BFormatObjectId(pszFormat, lNumber, text.Get(), cch);
}

// Where each kind of parameter takes its value when the command line is built.
PCWSTR ParamValue(DWORD dwKind, const StatusRecord* pRecord, PWSTR pszUtility, DWORD cchUtility) {
    PCWSTR psz = nullptr;
    switch (dwKind) {
        case ZQ_CMDPARAM_UTILITY_PATH:
            BReadUtilityPath(pszUtility, cchUtility);
            psz = pszUtility;
            break;
        case ZQ_CMDPARAM_PRINTER_NAME: psz = pRecord ? pRecord->pszPrinterName : nullptr; break;
        case ZQ_CMDPARAM_LOCALE: psz = pRecord ? pRecord->pszLocaleName : nullptr; break;
        case ZQ_CMDPARAM_PAPER_ID: psz = pRecord ? pRecord->pszMediaText : nullptr; break;
        default: break;
    }
    return psz ? psz : L"";
}

// Finds the named definition the way the lookups search: *pbGiven tells whether its value may be
// given (a dynamic definition's only for types 4 and 8).
const AlertValueState* PFindIn(const CZQAlertOid* pOid, PCWSTR pszName, bool* pbGiven) {
    if (pOid->m_pszName && wcscmp(pOid->m_pszName, pszName) == 0) {
        *pbGiven = true;
        return &pOid->m_value;
    }
    for (int d = 0; d < pOid->m_dependents.GetCount(); ++d) {
        const auto* dep = static_cast<const CZQDependentAlerts*>(pOid->m_dependents.GetAt(d));
        for (int i = 0; i < dep->m_dynamics.GetCount(); ++i) {
            const auto* dyn = static_cast<const CZQDynamicAlertOid*>(dep->m_dynamics.GetAt(i));
            if (dyn->m_pszName && wcscmp(dyn->m_pszName, pszName) == 0) {
                *pbGiven = BIsBitField(dyn->m_value.dwType);
                return &dyn->m_value;
            }
        }
        for (int i = 0; i < dep->m_oids.GetCount(); ++i) {
            const AlertValueState* found = PFindIn(static_cast<const CZQAlertOid*>(dep->m_oids.GetAt(i)), pszName, pbGiven);
            if (found) return found;
        }
    }
    return nullptr;
}

const AlertValueState* PFind(const CZQPtrArray& definitions, PCWSTR pszName, bool* pbGiven) {
    if (!pszName) return nullptr;
    for (int i = 0; i < definitions.GetCount(); ++i) {
        const AlertValueState* found = PFindIn(static_cast<const CZQAlertOid*>(definitions.GetAt(i)), pszName, pbGiven);
        if (found) return found;
    }
    return nullptr;
}

}  // namespace

AlertValueState::~AlertValueState() {
    if (pbBytes) LocalFree(pbBytes);
}

AlertCmdParam::~AlertCmdParam() {
    FreeText(pszName);
    FreeText(pszValue);
}

CZQAlertCmdLine::~CZQAlertCmdLine() { ZQDeleteAll<AlertCmdParam>(m_params); }

CZQAlertMsg::~CZQAlertMsg() {
    FreeText(m_pszName);
    delete m_pCmdLine;
}

CZQAlertOid::~CZQAlertOid() {
    FreeText(m_pszName);
    FreeText(m_pszObjectId);
    ZQDeleteAll<CZQDependentAlerts>(m_dependents);
    ZQDeleteAll<CZQAlertMsg>(m_messages);
}

CZQDependentAlerts::~CZQDependentAlerts() {
    FreeText(m_pszName);
    ZQDeleteAll<CZQAlertOid>(m_oids);
    ZQDeleteAll<CZQDynamicAlertOid>(m_dynamics);
    ZQDeleteAll<CZQRangeAlertOid>(m_ranges);
}

CZQDynamicAlertOid::~CZQDynamicAlertOid() {
    FreeText(m_pszName);
    FreeText(m_pszFormat);
    ZQDeleteAll<CZQAlertMsg>(m_messages);
}

// "\"" then "\"name\" \"value\" " for each parameter, then "\"". A line that does not fit is not
// cut: a cut command line could start something else.
BOOL CZQAlertCmdLine::BBuild(const StatusRecord* pRecord, PWSTR pszText) {
    pszText[0] = L'\0';
    WCHAR utility[1022];
    bool ok = ZQCopyText(pszText, kCchText, L"\"") == S_OK;
    for (int i = 0; ok && i < m_params.GetCount(); ++i) {
        auto* param = static_cast<AlertCmdParam*>(m_params.GetAt(i));
        FreeText(param->pszValue);
        param->pszValue = ZQDupText(ParamValue(param->dwKind, pRecord, utility, 1022));
        ok = param->pszValue && ZQAppendText(pszText, kCchText, L"\"") == S_OK &&
             ZQAppendText(pszText, kCchText, param->pszName ? param->pszName : L"") == S_OK &&
             ZQAppendText(pszText, kCchText, L"\" \"") == S_OK &&
             ZQAppendText(pszText, kCchText, param->pszValue) == S_OK &&
             ZQAppendText(pszText, kCchText, L"\" ") == S_OK;
    }
    ok = ok && ZQAppendText(pszText, kCchText, L"\"") == S_OK;
    if (!ok) pszText[0] = L'\0';
    return ok ? TRUE : FALSE;
}

void CZQAlertOid::VEvaluate(StatusRecord* pRecord) {
    if (!BHasStatusObjects(pRecord) || !m_pszObjectId) return;
    if (BReadObject(pRecord, m_pszObjectId, m_value)) VEvaluateValue(pRecord, nullptr);
}

void CZQAlertOid::VEvaluateValue(StatusRecord* pRecord, const LONG* plDependentParam) {
    const DWORD value = m_value.dwValue;
    if (m_value.dwType == 1 || m_value.dwType == 2) {
        VAddValueItems(m_messages, value, pRecord);
        for (int d = 0; d < m_dependents.GetCount(); ++d) {
            auto* dep = static_cast<CZQDependentAlerts*>(m_dependents.GetAt(d));
            if (dep->m_lSetVal == -1 || static_cast<DWORD>(dep->m_lSetVal) == value)
                dep->VEvaluate(pRecord, static_cast<LONG>(value));
        }
    } else if (BIsBitField(m_value.dwType)) {
        const DWORD bits = m_value.cbSize * 8;
        if (!BAddBitItems(m_messages, m_lSuffixId, value, m_value.cbSize, pRecord)) return;
        for (DWORD bit = 0; bit < bits; ++bit) {
            if (!(value & (1u << bit))) continue;
            for (int d = 0; d < m_dependents.GetCount(); ++d) {
                auto* dep = static_cast<CZQDependentAlerts*>(m_dependents.GetAt(d));
                if (dep->m_lSetBit == -1 || dep->m_lSetBit == static_cast<LONG>(bit))
                    dep->VEvaluate(pRecord, plDependentParam ? *plDependentParam : static_cast<LONG>(bit + 1));
            }
        }
    }
}

void CZQDependentAlerts::VEvaluate(StatusRecord* pRecord, LONG lParam) {
    for (int i = 0; i < m_oids.GetCount(); ++i) static_cast<CZQAlertOid*>(m_oids.GetAt(i))->VEvaluate(pRecord);
    for (int i = 0; i < m_dynamics.GetCount(); ++i)
        static_cast<CZQDynamicAlertOid*>(m_dynamics.GetAt(i))->VEvaluate(pRecord, lParam);
    for (int i = 0; i < m_ranges.GetCount(); ++i) static_cast<CZQRangeAlertOid*>(m_ranges.GetAt(i))->VEvaluate(pRecord);
}

void CZQDynamicAlertOid::VEvaluate(StatusRecord* pRecord, LONG lParam) {
    CZQLocalPtr<WCHAR> id;
    if (!BHasStatusObjects(pRecord) || !m_pszFormat || !BFormatted(m_pszFormat, lParam, 16, id)) return;
    if (!BReadObject(pRecord, id.Get(), m_value)) return;
    if (m_value.dwType == 1 || m_value.dwType == 2)
        VAddValueItems(m_messages, m_value.dwValue, pRecord);
    else if (BIsBitField(m_value.dwType))
        BAddBitItems(m_messages, m_lSuffixId, m_value.dwValue, m_value.cbSize, pRecord);
}

void CZQRangeAlertOid::VEvaluate(StatusRecord* pRecord) {
    if (!BHasStatusObjects(pRecord) || !m_pszObjectId) return;
    for (long long i = m_lRangeLo; i <= m_lRangeHi; ++i) {
        m_lCurrent = static_cast<LONG>(i);
        CZQLocalPtr<WCHAR> id;
        if (!BFormatted(m_pszObjectId, m_lCurrent, 32, id)) continue;
        const LONG current = m_lCurrent;
        if (BReadObject(pRecord, id.Get(), m_value)) VEvaluateValue(pRecord, &current);
    }
}

void VFreeAlertDefinitions(CZQPtrArray& definitions) { ZQDeleteAll<CZQAlertOid>(definitions); }

void VEvaluateAlertDefinitions(const CZQPtrArray& definitions, StatusRecord* pRecord) {
    for (int i = 0; i < definitions.GetCount(); ++i) static_cast<CZQAlertOid*>(definitions.GetAt(i))->VEvaluate(pRecord);
}

BOOL BFindAlertValue(const CZQPtrArray& definitions, PCWSTR pszName, DWORD* pdwValue) {
    if (!pdwValue) return FALSE;
    bool given = false;
    const AlertValueState* state = PFind(definitions, pszName, &given);
    if (!state) return FALSE;
    if (given) *pdwValue = state->dwValue;
    return TRUE;
}

BOOL BFindAlertText(const CZQPtrArray& definitions, PCWSTR pszName, PWSTR pszText, int cchText) {
    if (!pszText || cchText < 1) return FALSE;
    pszText[0] = L'\0';
    bool given = false;
    const AlertValueState* state = PFind(definitions, pszName, &given);
    if (!state) return FALSE;
    if (!given) return TRUE;
    if (state->dwType == 4) return BDeviceBytesToText(state->pbBytes, state->pbBytes ? state->cbSize : 0, pszText, cchText);
    return ZQFormatText(pszText, static_cast<size_t>(cchText), L"%d", static_cast<LONG>(state->dwValue)) == S_OK;
}

bool BAlertValueRead(const CZQPtrArray& definitions, PCWSTR pszName) {
    bool given = false;
    const AlertValueState* state = PFind(definitions, pszName, &given);
    return state && given && state->dwType != 0;
}

BOOL BReadUtilityPath(PWSTR pszPath, DWORD cchPath) {
    if (!pszPath || cchPath == 0) return FALSE;
    DWORD cb = cchPath * sizeof(WCHAR);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, zqsettings::kColorManagementKey, zqsettings::kColorManagementProgram,
                     RRF_RT_REG_SZ, nullptr, pszPath, &cb) == ERROR_SUCCESS &&
        pszPath[0])
        return TRUE;
    pszPath[0] = L'\0';
    return FALSE;
}

bool BIsOneIntegerFormat(PCWSTR pszFormat) {
    if (!pszFormat) return false;
    int conversions = 0;
    for (PCWSTR p = pszFormat; *p; ++p) {
        if (*p != L'%') continue;
        ++p;
        if (*p == L'%') continue;
        if (*p != L'd' && *p != L'i' && *p != L'u') return false;
        ++conversions;
    }
    return conversions == 1;
}

BOOL BFormatObjectId(PCWSTR pszFormat, LONG lNumber, PWSTR pszOut, size_t cchOut) {
    if (!pszOut || cchOut == 0) return FALSE;
    pszOut[0] = L'\0';
    if (!BIsOneIntegerFormat(pszFormat)) return FALSE;
    size_t n = 0;
    auto put = [&](WCHAR c) {
        if (n + 1 >= cchOut) return false;
        pszOut[n++] = c;
        pszOut[n] = L'\0';
        return true;
    };
    for (PCWSTR p = pszFormat; *p; ++p) {
        bool ok = true;
        if (*p != L'%') {
            ok = put(*p);
        } else if (*++p == L'%') {
            ok = put(L'%');
        } else {
            WCHAR number[16];
            if (*p == L'u')
                swprintf(number, 16, L"%lu", static_cast<unsigned long>(static_cast<DWORD>(lNumber)));
            else
                swprintf(number, 16, L"%ld", static_cast<long>(lNumber));
            for (PCWSTR q = number; ok && *q; ++q) ok = put(*q);
        }
        if (!ok) {
            pszOut[0] = L'\0';
            return FALSE;
        }
    }
    return TRUE;
}
