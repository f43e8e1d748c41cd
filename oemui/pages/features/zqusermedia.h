// The Features page's user media: the maker's media tool records them per user (one key each under
// the media list); the part reads at most kMaxUserMedia of them, leaves out those named like a
// driver media type, puts them into the media-type tree, finds one by name and keeps the chosen one
// for the tool. The page owns one; its core driver's items are the owner's.
#pragma once

#include "common/zquibase.h"
#include "featurelogic/zqusermedialist.h"
#include "formats/zqusermedium.h"
#include "pages/zqpages.h"

class CZQUserMedia {
public:
    static constexpr int kMaxUserMedia = kZQMaxUserMedia;

    explicit CZQUserMedia(const CZQUIBase& owner) : m_owner(owner) {}
    CZQUserMedia(const CZQUserMedia&) = delete;
    CZQUserMedia& operator=(const CZQUserMedia&) = delete;

    void VReadUserMediaList(PageContext* pContext);
    void VAddUserMediaToTree(HWND hTree, PageContext* pContext);
    // The category of the medium of that name, its entry into *piIndex; -1 when there is none.
    int IFindUserMedia(PCWSTR pszName, int* piIndex) const;
    // The media option an entry prints on (the placeholder of its category); -1 without one.
    int IPrintingOption(int i) const;
    // The entry the settings print on: the medium last recorded as chosen while the media item stands
    // on its option; -1 otherwise.
    int IChosenMedium() const;
    // The chosen user medium (-1 none) kept for the media tool as "CustomMediaSelected".
    BOOL BSaveSelectedUserMedia(PageContext* pContext, int iChosen);
    // Media options with one- or two-character names stand for user media: hidden.
    void VHidePlaceholderMedia(PageContext* pContext);
    BOOL BIsNotDriverMedia(PageContext* pContext, PCWSTR pszName);
    // The option of that display name (the source item's first option is the printer's first bin),
    // else the first shown, unmarked option with a text; -1 without one or without the item.
    int IFindOptionByName(PageContext* pContext, PCWSTR pszFeature, BYTE bPubId, PCWSTR pszName) const;

    int Count() const { return m_iCount; }
    // The medium of an entry (0 .. Count() - 1).
    const ZQUserMedium& Medium(int i) const { return m_aMedia[i]; }
    // The entry is one of the media read.
    bool BHas(int i) const { return i >= 0 && i < m_iCount; }

private:
    const CZQUIBase& m_owner;
    ZQUserMedium m_aMedia[kMaxUserMedia] = {};
    int m_iCount = 0;
};
