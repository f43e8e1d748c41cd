// The device answer store "ZQBIDIInfo": storing an answer by its type and character set, the
// placeholders written before the printer is asked, reading the answers back after it, and the
// apply pass that turns fresh answers into the worker's buffers.
#include <cstring>
#include <string>

#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "common/zqstorepath.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqautoconfig.h"
#include "formats/zqdeviceanswer.h"

namespace {

namespace zs = zqsettings;
constexpr PCWSTR kStoreKey = zs::kAnswerStoreKey;
constexpr WCHAR kTextPlaceholder[] = L" ";
// The storage kind of a hard disk (Host Resources MIB).
constexpr DWORD kHardDiskMedia = 3;

// The store's own key of the printer's restricted user, opened with the access; false without one.
bool OpenStoreKey(HANDLE hPrinter, REGSAM access, CZQRegKey& key) {
    const std::wstring path = ZQUserStorePathOf(hPrinter, kStoreKey);
    return !path.empty() && RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, key.Put()) == ERROR_SUCCESS;
}

// The type of the value the store's own key holds under the name; 0 without one.
DWORD StoredType(HANDLE hPrinter, PCWSTR pszName) {
    CZQRegKey key;
    DWORD type = 0;
    if (!OpenStoreKey(hPrinter, KEY_QUERY_VALUE, key) ||
        RegQueryValueExW(key.Get(), pszName, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return type;
}

BOOL Write(HANDLE hPrinter, PCWSTR pszName, DWORD dwType, const void* pData, DWORD cbData) {
    return CZQUIBase::BWriteUserSetting(hPrinter, TRUE, kStoreKey, pszName, static_cast<const BYTE*>(pData), cbData,
                                        dwType);
}

// The stored value as text: the reader leaves a terminator behind every value.
PCWSTR AsText(const BYTE* pData) { return reinterpret_cast<PCWSTR>(pData); }

bool IsBlankText(const BYTE* pData, DWORD cbData) {
    return cbData >= sizeof(WCHAR) && ZQTextLength(AsText(pData), cbData / sizeof(WCHAR)) == 1 &&
           AsText(pData)[0] == L' ';
}

void FreeSlots(PWSTR* pSlots, int count) {
    for (int i = 0; i < count; ++i) {
        if (pSlots[i]) LocalFree(pSlots[i]);
        pSlots[i] = nullptr;
    }
}

}  // namespace

BOOL BIsPrintableAnswer(const BYTE* pData, DWORD cbData) { return zqanswer::IsPrintableAnswer(pData, cbData); }

BOOL BStoreDeviceAnswer(PCWSTR pszName, HANDLE hPrinter, const BYTE* pData, DWORD cbData, BYTE type) {
    if (!pszName || (!pData && cbData)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    switch (zqanswer::KindOfType(type)) {
        case zqanswer::AnswerKind::Ignored: return TRUE;
        case zqanswer::AnswerKind::Number:
            // Kept as the server delivered the four bytes; any other size is no number.
            return pData && cbData == sizeof(DWORD) ? Write(hPrinter, pszName, REG_DWORD, pData, cbData) : TRUE;
        case zqanswer::AnswerKind::Text: break;
    }
    const zqanswer::TextForm form = zqanswer::ClassifyTextAnswer(pData, cbData, StoredType(hPrinter, pszName) == REG_SZ,
                                                                 ZQEqualNoCase(pszName, zs::kAnswerMediaNamesMask));
    if (form == zqanswer::TextForm::Binary) return Write(hPrinter, pszName, REG_BINARY, pData, cbData);
    std::wstring text;
    if (!zqanswer::DecodeTextAnswer(form, pData, cbData, text)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return FALSE;
    }
    return Write(hPrinter, pszName, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
}

// ---------------------------------------------------------------------------------------------
// The store of this worker's printer
// ---------------------------------------------------------------------------------------------
BOOL CZQAutoConfig::BWriteAnswer(PCWSTR pszName, DWORD dwType, const void* pData, DWORD cbData) {
    return Write(m_hPrinter, pszName, dwType, pData, cbData);
}

BOOL CZQAutoConfig::BWriteTextPlaceholder(PCWSTR pszName) {
    return BWriteAnswer(pszName, REG_SZ, kTextPlaceholder, sizeof kTextPlaceholder);
}

BOOL CZQAutoConfig::BWriteNumberPlaceholder(PCWSTR pszName) {
    const DWORD placeholder = zqanswer::kNumberPlaceholder;
    return BWriteAnswer(pszName, REG_DWORD, &placeholder, sizeof placeholder);
}

BOOL CZQAutoConfig::BReadAnswer(PCWSTR pszName, BYTE** ppData, DWORD* pcbData) {
    return BReadUserSetting(m_hPrinter, kStoreKey, pszName, ppData, pcbData);
}

BOOL CZQAutoConfig::BDeleteAnswer(PCWSTR pszName) {
    CZQRegKey key;
    if (!OpenStoreKey(m_hPrinter, KEY_SET_VALUE, key)) return FALSE;
    const LSTATUS rc = RegDeleteValueW(key.Get(), pszName);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

BOOL CZQAutoConfig::BIsBlankAnswer(PCWSTR pszName, BOOL* pbBlank) {
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    if (!BReadAnswer(pszName, data.Put(), &cb)) return FALSE;
    *pbBlank = IsBlankText(data.Get(), cb);
    return TRUE;
}

void CZQAutoConfig::VCopyTextAnswer(PCWSTR pszName, PWSTR* ppSlot) {
    if (*ppSlot) LocalFree(*ppSlot);
    *ppSlot = static_cast<PWSTR>(LocalAlloc(LPTR, kPathChars * sizeof(WCHAR)));
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    // The placeholder " " is a text too, and is copied.
    if (!*ppSlot || !BReadAnswer(pszName, data.Put(), &cb) || cb < sizeof(WCHAR) || !AsText(data.Get())[0]) return;
    ZQCopyTextN(*ppSlot, kPathChars, AsText(data.Get()), cb / sizeof(WCHAR));
}

// ---------------------------------------------------------------------------------------------
// Placeholders and read-back
// ---------------------------------------------------------------------------------------------
BOOL CZQAutoConfig::BModelNameAnswer(BOOL bCheck) {
    if (!bCheck) return BWriteTextPlaceholder(zs::kAnswerModelName);
    BOOL blank = TRUE;
    return BIsBlankAnswer(zs::kAnswerModelName, &blank) && !blank;
}

BOOL CZQAutoConfig::BSerialNumberAnswer() { return BWriteTextPlaceholder(zs::kAnswerSerialNumber); }

// A number the printer answered (not the placeholder), into *pdwValue when given.
bool CZQAutoConfig::BNumberAnswered(PCWSTR pszName, DWORD* pdwValue) {
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    if (!BReadAnswer(pszName, data.Put(), &cb) || cb != sizeof(DWORD) || zqanswer::IsPlaceholderValue(data.Get(), cb))
        return false;
    if (pdwValue) memcpy(pdwValue, data.Get(), sizeof(DWORD));
    return true;
}

void CZQAutoConfig::VMemoryAnswer(BOOL bApply) {
    if (!bApply) {
        BWriteNumberPlaceholder(zs::kAnswerMemorySize);
        return;
    }
    DWORD kilobytes = 0;
    if (BNumberAnswered(zs::kAnswerMemorySize, &kilobytes)) VSetInstalledMemory(kilobytes);
}

void CZQAutoConfig::VMediaPathAnswer(BOOL bApply) {
    if (bApply) {
        // A second media path is the duplex unit's.
        VSetInstalledFlag(zqkw::kDuplexUnit, BNumberAnswered(zs::kAnswerMediaPath, nullptr));
        return;
    }
    BWriteNumberPlaceholder(zs::kAnswerMediaPath);
    BWriteNumberPlaceholder(zs::kAnswerLocalization);
}

void CZQAutoConfig::VDiskAnswer(BOOL bApply) {
    bool hardDisk = false;
    for (int n = 2; n <= 4; ++n) {
        WCHAR name[32];
        ZQFormatText(name, 32, zs::kDiskMediaFormat, n);
        DWORD media = 0;
        if (!bApply)
            BWriteNumberPlaceholder(name);
        else if (BNumberAnswered(name, &media) && media == kHardDiskMedia)
            hardDisk = true;
    }
    if (bApply) VSetInstalledFlag(L"PrinterHardDisk", hardDisk);
}

void CZQAutoConfig::VPaperHandlingAnswer(BOOL bApply) {
    if (bApply) m_dwAccessoryValue = 0;
    for (int n = 1; n <= kPaperHandlers; ++n) {
        WCHAR model[32], memory[32];
        ZQFormatText(model, 32, zs::kDiskModelFormat, n);
        ZQFormatText(memory, 32, zs::kDiskMemoryFormat, n);
        if (!bApply) {
            const BYTE none = 0;
            BWriteTextPlaceholder(model);
            BWriteAnswer(memory, REG_BINARY, &none, sizeof none);
            continue;
        }
        PWSTR& slot = m_apszHandlerModels[n - 1];
        VCopyTextAnswer(model, &slot);
        if (!slot || !slot[0] || m_dwAccessoryValue) continue;
        // The first device with a model that reports an accessory in its memory: 01, then 1-4.
        CZQLocalPtr<BYTE> data;
        DWORD cb = 0;
        if (BReadAnswer(memory, data.Put(), &cb) && cb >= 2 && data.Get()[0] == 1 && data.Get()[1] >= 1 &&
            data.Get()[1] <= 4)
            m_dwAccessoryValue = data.Get()[1];
    }
    if (!bApply) {
        BQueryOptionCounts();
        VApplyFinisherOptions(FALSE);
        return;
    }
    VSetAccessoryOutputBins(m_apszHandlerModels);
    if (m_dwAccessoryValue) DWSetMailboxMode(static_cast<int>(m_dwAccessoryValue));
    VApplyFinisherOptions(TRUE);
}

void CZQAutoConfig::VInputModelAnswer(BOOL bApply) {
    for (int n = 1; n <= kInputTrays; ++n) {
        WCHAR name[32];
        ZQFormatText(name, 32, zs::kInputModelFormat, n);
        if (bApply)
            VCopyTextAnswer(name, &m_apszInputModels[n - 1]);
        else
            BWriteTextPlaceholder(name);
    }
}

void CZQAutoConfig::VInputCapacityAnswer(BOOL bApply) {
    for (int n = 1; n <= kInputTrays; ++n) {
        WCHAR name[32];
        ZQFormatText(name, 32, zs::kInputCapacityFormat, n);
        if (!bApply) {
            BWriteNumberPlaceholder(name);
            continue;
        }
        CZQLocalPtr<BYTE> data;
        DWORD cb = 0;
        DWORD& capacity = m_adwInputCapacities[n - 1];
        capacity = 0;
        if (BReadAnswer(name, data.Put(), &cb) && cb >= sizeof(DWORD) && !zqanswer::IsPlaceholderValue(data.Get(), cb))
            memcpy(&capacity, data.Get(), sizeof capacity);
    }
    if (bApply) VSetInstallableTrays();
}

BOOL CZQAutoConfig::BBlankAllValues() {
    BModelNameAnswer(FALSE);
    BSerialNumberAnswer();
    VMemoryAnswer(FALSE);
    VMediaPathAnswer(FALSE);
    VDiskAnswer(FALSE);
    VPaperHandlingAnswer(FALSE);
    VInputModelAnswer(FALSE);
    VInputCapacityAnswer(FALSE);
    BBlankMediaNames();
    VBlankOutputNames();
    VBlankTrayAnswers();
    return TRUE;
}

BOOL CZQAutoConfig::BListValues(RequestNode** ppList, BOOL bCheck) {
    if (!ppList) return FALSE;
    BOOL ok = TRUE;
    for (const RequestNode* node = *ppList; node; node = node->pNext) {
        if (!bCheck) {
            if (!BWriteTextPlaceholder(node->pszName)) ok = FALSE;
            continue;
        }
        // Read back in list order: the model name decides as soon as it is reached.
        BOOL blank = FALSE;
        if (!BIsBlankAnswer(node->pszName, &blank)) return FALSE;
        if (ZQEqualNoCase(node->pszName, zs::kAnswerModelName)) return !blank;
    }
    return ok;
}

// ---------------------------------------------------------------------------------------------
// The apply pass
// ---------------------------------------------------------------------------------------------
BOOL CZQAutoConfig::VApplyDeviceUpdate() {
    ZQ_TRACE("CZQAutoConfig::VApplyDeviceUpdate");
    CZQLocalPtr<BYTE> data;
    DWORD cb = 0;
    DWORD fresh = 0;
    if (!BReadAnswer(zs::kDevSetUpdate, data.Put(), &cb) || cb != sizeof fresh) return FALSE;
    memcpy(&fresh, data.Get(), sizeof fresh);
    if (fresh != 1) return FALSE;
    // The tables the trays are set from are the driver's, never the user's to see.
    VHideInstallableItems();
    VMemoryAnswer(TRUE);
    VMediaPathAnswer(TRUE);
    VDiskAnswer(TRUE);
    VPaperHandlingAnswer(TRUE);
    VInputModelAnswer(TRUE);
    VInputCapacityAnswer(TRUE);
    IUpdateUserDefinedMedia();
    IUpdateOutputBinNames();
    VFreeAnswerBuffers();
    fresh = 0;
    return BWriteAnswer(zs::kDevSetUpdate, REG_DWORD, &fresh, sizeof fresh);
}

void CZQAutoConfig::VFreeAnswerBuffers() {
    FreeSlots(m_apszHandlerModels, kPaperHandlers);
    FreeSlots(m_apszOptionModels, kPaperHandlers);
    FreeSlots(m_apszInputModels, kInputTrays);
    if (m_ppStrings) {
        FreeSlots(m_ppStrings, static_cast<int>(m_dwStringCount));
        LocalFree(m_ppStrings);
    }
    m_ppStrings = nullptr;
    m_dwStringCount = 0;
    VFreeTrayTable();
}
