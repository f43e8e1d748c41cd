// Small helpers of the settings exchange over the option-item access layer: option lists that free
// themselves (and one asked for once), an item's feature keyword, positions in the device-capabilities lists, and paper
// keywords without their "~" suffix.
#pragma once

#include <cwchar>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqkeywords.h"

namespace zqsettings {

// The device-capabilities lists the settings pair with the option items are asked for this port.
inline constexpr WCHAR kCapsPort[] = L"LPT1:";

// An option list of the access layer (keywords or display names), freed with the object.
struct CZQStringList {
    PWSTR* p = nullptr;
    int n = 0;
    CZQStringList() = default;
    CZQStringList(const CZQStringList&) = delete;
    CZQStringList& operator=(const CZQStringList&) = delete;
    ~CZQStringList() { CZQCommon::VFreeStringList(p, n); }
};

// A feature's option keywords asked for once for their owner: the core driver answers by trying
// each option in turn, so a page does not ask again, also when the first answer failed.
class CZQKeywordsOnce {
public:
    // The keywords of the feature, asked for on the first call only.
    void VRead(POEMCUIPPARAM pParam, PCWSTR pszFeature) {
        if (m_bAsked) return;
        m_bAsked = true;
        m_bRead = CZQCommon::DWGetOptionKeywords(pParam, pszFeature, &m_list.p, &m_list.n, OEMCUIP_DOCPROP) ==
                  ZQOPT_OK;
    }
    // The keywords; null when they could not be read (or were not asked for).
    PWSTR* Keywords() const { return m_bRead ? m_list.p : nullptr; }
    int Count() const { return m_list.n; }

private:
    bool m_bAsked = false;
    bool m_bRead = false;
    CZQStringList m_list;
};

// The feature keyword of a core driver's item, as a wide text.
inline bool BItemFeature(const OPTITEM* pItem, CZQLocalPtr<WCHAR>& feature) {
    const auto* ud = pItem ? reinterpret_cast<const USERDATA*>(pItem->UserData) : nullptr;
    return ud && ud->pKeyWordName && CZQCommon::BMultiByteToWide(feature.Put(), ud->pKeyWordName, CP_ACP);
}

// Position of a number in a device-capabilities list; -1 when it is not there.
template <typename Id>
int IPositionOf(const Id* pIds, DWORD dwCount, DWORD dwNumber) {
    for (DWORD i = 0; pIds && i < dwCount; ++i)
        if (pIds[i] == dwNumber) return static_cast<int>(i);
    return -1;
}

// A paper keyword without its suffix ("A4~Borderless" names the paper "A4").
inline void VCutAtTilde(PWSTR pszText) {
    if (PWSTR tilde = wcschr(pszText, L'~')) *tilde = 0;
}

// The option keywords of the paper feature ("PaperSize", else "PageSize" of the PostScript driver).
inline DWORD DWGetPaperKeywords(POEMCUIPPARAM pParam, CZQStringList& list) {
    DWORD status = CZQCommon::DWGetOptionKeywords(pParam, zqkw::kPaperSize, &list.p, &list.n, OEMCUIP_DOCPROP);
    if (status != ZQOPT_OK)
        status = CZQCommon::DWGetOptionKeywords(pParam, zqkw::kPageSize, &list.p, &list.n, OEMCUIP_DOCPROP);
    return status;
}

}  // namespace zqsettings
