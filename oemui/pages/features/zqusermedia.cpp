// The Features page's user media, read from the media tool's keys of the user.
#include <windows.h>

#include <commctrl.h>

#include "common/zqprintercaps.h"
#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "featurelogic/zqusermedialist.h"
#include "pages/features/zqusermedia.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

void CZQUserMedia::VReadUserMediaList(PageContext*) {
    m_iCount = ZQReadUserMedia(PubItem(m_owner.CUIParam(), DMPUB_MEDIATYPE), m_aMedia, kMaxUserMedia);
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

int CZQUserMedia::IPrintingOption(int i) const {
    return BHas(i) ? ZQUserMediumOption(PubItem(m_owner.CUIParam(), DMPUB_MEDIATYPE), m_aMedia[i]) : -1;
}

int CZQUserMedia::IChosenMedium() const {
    return ZQChosenUserMedium(PubItem(m_owner.CUIParam(), DMPUB_MEDIATYPE), m_aMedia, m_iCount);
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
        if (ZQIsPlaceholderMedium(OptionName(item, i))) CZQCommon::PGetOptionParam(item, i)->Flags |= OPTPF_HIDE;
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
