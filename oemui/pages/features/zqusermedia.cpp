// The Features page's user media, read from the media tool's keys of the user.
#include <windows.h>

#include <commctrl.h>

#include "common/zqprintercaps.h"
#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "pages/features/zqusermedia.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

// One value of a medium's key, read bounded; the bytes stay in the caller's buffer.
ZQStoredValue ReadValue(HKEY hKey, PCWSTR pszValue, BYTE (&buffer)[kZQUserMediumValueBytes]) {
    ZQStoredValue value;
    DWORD type = 0, cb = sizeof buffer;
    if (RegQueryValueExW(hKey, pszValue, nullptr, &type, buffer, &cb) != ERROR_SUCCESS) return value;
    value.bPresent = true;
    value.dwType = type == REG_SZ ? kZQStoredString : type + 100;
    value.pData = buffer;
    value.cbData = cb;
    return value;
}

}  // namespace

void CZQUserMedia::VReadUserMediaList(PageContext* pContext) {
    m_iCount = 0;
    CZQRegKey list;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, zqsettings::kAddNewPaperKey, 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS,
                      list.Put()) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0; m_iCount < kMaxUserMedia; ++i) {
        WCHAR subkey[256];
        DWORD chars = ARRAYSIZE(subkey);
        if (RegEnumKeyExW(list.Get(), i, subkey, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        ZQUserMedium& medium = m_aMedia[m_iCount];
        medium = ZQUserMedium{};
        CZQRegKey key;
        // A medium that cannot be opened still takes its entry, without a name.
        if (RegOpenKeyExW(list.Get(), subkey, 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) {
            ++m_iCount;
            continue;
        }
        BYTE name[kZQUserMediumValueBytes], profile[kZQUserMediumValueBytes], category[kZQUserMediumValueBytes],
            quality[kZQUserMediumValueBytes];
        ZQReadMediumName(ReadValue(key.Get(), L"Name", name), medium);
        if (!BIsNotDriverMedia(pContext, medium.szName)) continue;
        ZQReadMediumDetails(ReadValue(key.Get(), L"ICCProfile", profile), ReadValue(key.Get(), L"Category", category),
                            ReadValue(key.Get(), L"Quality", quality), medium);
        ++m_iCount;
    }
}

void CZQUserMedia::VAddUserMediaToTree(HWND hTree, PageContext* pContext) {
    if (!hTree || m_iCount <= 0) return;
    HTREEITEM branch = CZQUIBase::HInsertTreeItem(hTree, L"Custom Paper", 2);
    for (int i = 0; i < m_iCount; ++i) {
        const ZQUserMedium& medium = m_aMedia[i];
        if (!medium.szName[0] || !BIsNotDriverMedia(pContext, medium.szName)) continue;
        CZQUIBase::HInsertTreeItem(hTree, medium.szName, 3);
    }
    if (branch) SendMessageW(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(branch));
    SendMessageW(hTree, WM_VSCROLL, SB_TOP, 0);
}

int CZQUserMedia::IFindUserMedia(PCWSTR pszName, int* piIndex) const {
    if (!pszName || !pszName[0]) return -1;
    for (int i = 0; i < m_iCount; ++i) {
        if (lstrcmpW(m_aMedia[i].szName, pszName) != 0) continue;
        if (piIndex) *piIndex = i;
        return static_cast<int>(m_aMedia[i].dwCategory);
    }
    return -1;
}

BOOL CZQUserMedia::BSaveSelectedUserMedia(PageContext*, int iChosen) {
    CZQRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, zqsettings::kAddNewPaperKey, 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS)
        return FALSE;
    const DWORD chosen = static_cast<DWORD>(iChosen);
    return RegSetValueExW(key.Get(), zqsettings::kCustomMediaSelected, 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&chosen), sizeof chosen) == ERROR_SUCCESS;
}

void CZQUserMedia::VHidePlaceholderMedia(PageContext*) {
    POPTITEM item = PubItem(m_owner.CUIParam(), DMPUB_MEDIATYPE);
    for (int i = 0; i < CZQCommon::IGetOptionCount(item); ++i) {
        PCWSTR name = OptionName(item, i);
        const size_t length = name ? wcslen(name) : 0;
        if (length == 1 || length == 2) CZQCommon::PGetOptionParam(item, i)->Flags |= OPTPF_HIDE;
    }
}

BOOL CZQUserMedia::BIsNotDriverMedia(PageContext*, PCWSTR pszName) {
    POPTITEM item = PubItem(m_owner.CUIParam(), DMPUB_MEDIATYPE);
    for (int i = 0; i < CZQCommon::IGetOptionCount(item); ++i) {
        PCWSTR name = OptionName(item, i);
        if (name && pszName && lstrcmpW(name, pszName) == 0) return FALSE;
    }
    return TRUE;
}

int CZQUserMedia::IFindOptionByName(PageContext* pContext, PCWSTR pszFeature, BYTE bPubId, PCWSTR pszName) const {
    POPTITEM item = bPubId ? PubItem(m_owner.CUIParam(), bPubId) : FeatureItem(m_owner.CUIParam(), pszFeature);
    if (!item || !pszName) return -1;
    const bool source = bPubId == DMPUB_DEFSOURCE || (!bPubId && pszFeature && lstrcmpW(pszFeature, zqkw::kInputBin) == 0);
    const PrinterCaps* caps = source ? ZQPrinterCapsLists(pContext->pCaps, kCapsSources) : nullptr;
    const int count = CZQCommon::IGetOptionCount(item);
    for (int i = 0; i < count; ++i) {
        PCWSTR name = i == 0 && source && caps ? caps->szFirstBinName : OptionName(item, i);
        if (name && lstrcmpW(name, pszName) == 0) return i;
    }
    for (int i = 0; i < count; ++i) {
        const DWORD flags = CZQCommon::PGetOptionParam(item, i)->Flags;
        if (OptionName(item, i) && !(flags & (OPTPF_HIDE | OPTPF_OVERLAY_WARNING_ICON))) return i;
    }
    return -1;
}
