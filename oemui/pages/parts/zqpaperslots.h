// The Paper/Quality page's paper slots: one paper per kind of page that can take its own, held as
// the page's lists show them (option positions of the core driver's source and media items, and
// the printer's media ids), the conversions between the printer's ids and those positions, and the
// slots read from the settings and written back.
#pragma once

#include <cstdint>

#include "common/zqprintercaps.h"
#include "pages/zqpages.h"
#include "platform/oemuiplatform.h"

class CZQUILogic;
struct ZQUIDevmode;

// The kinds of page that can take their own paper, numbered as the page-kind list names them.
enum ZQPageKind : int {
    kKindNone = -1,  // no kind chosen: the working slot (Other Pages)
    kKindFirstPage = 0,
    kKindOtherPages = 1,
    kKindLastPage = 2,
    kKindBackCover = 3,
    kKindFrontCover = 4,
    kKindBackCoverFeeder = 5,
    kKindFrontCoverFeeder = 6,
    kPageKindCount = 7
};

// One paper per page kind, in slot order: First Page, Other Pages (the working slot), Back Cover,
// Last Page, Front Cover, Back Cover from Feeder, Front Cover from Feeder. Sources are option
// positions of the paper-source item (option indices of the feeder features for the last two),
// media are option positions of the media-type item, media ids the printer's ids.
struct PaperSlotTable {
    int aiSource[kPageKindCount];
    int aiMedia[kPageKindCount];
    int aiMediaId[kPageKindCount];
};
inline constexpr int kWorkingSlot = 1;

// The features that choose the feeder covers' sources.
inline constexpr PCWSTR kBackFeederFeature = L"Back_Cover_from_Feeder_InputBin";
inline constexpr PCWSTR kFrontFeederFeature = L"Front_Cover_from_Feeder_InputBin";

// The settings' source (or feeder option index) and media fields of a page kind.
struct KindFields {
    uint32_t* source;
    uint32_t* media;
};

// What the conversions read: the core driver's items of the block and the printer's record.
struct ZQPaperItems {
    POEMCUIPPARAM pParam;
    const PrinterCaps* pCaps;
};
inline ZQPaperItems ZQPaperItemsOf(POEMCUIPPARAM pParam, const PageContext* pContext) {
    return {pParam, ZQPrinterCapsLists(pContext ? pContext->pCaps : nullptr, kCapsSources | kCapsMedia)};
}

class CZQPaperSlots : public PaperSlotTable {
public:
    CZQPaperSlots() : PaperSlotTable() {}

    // ---- page kinds
    // Kind -> slot (Last Page and Back Cover trade places); -1 for no kind.
    static int ISlotOfKind(int iKind);
    static PCWSTR PszFeederFeature(int iKind) {
        return iKind == kKindBackCoverFeeder ? kBackFeederFeature : kFrontFeederFeature;
    }
    static KindFields Fields(ZQUIDevmode& dm, int iKind);
    // The logic's cover-in-use flag of a cover kind; null for the other kinds.
    static DWORD* CoverInUse(CZQUILogic& logic, int iKind);
    // The page-kind list's chosen entry without its "<< " mark, and that kind's keyword among the
    // options of "ZQCovers" (256 characters each); FALSE without a chosen entry or keyword.
    static BOOL BChosenCover(POEMCUIPPARAM pParam, HWND hKinds, PWSTR pszText, PWSTR pszKeyword);
    // The cover kind's own feature of a setting ("<cover keyword>_MediaType") takes the option
    // named like the list's entry, or its first option when it has none of that name.
    static void VSelectKindOption(POEMCUIPPARAM pParam, PCWSTR pszCover, PCWSTR pszSetting, HWND hList);

    // ---- printer ids and option positions
    // The source list's first entry is the printer's first bin, by its name; the others are the
    // core driver's sources that are free of conflicts (VFillSourceList).
    static int ISourcePosition(const ZQPaperItems& items, HWND hSourceList, DWORD dwSourceId);
    static DWORD DWSourceFromPosition(const ZQPaperItems& items, int iPosition);
    static int IMediaTypeIndex(const ZQPaperItems& items, DWORD dwMediaId);
    static DWORD DWMediaTypeFromIndex(const ZQPaperItems& items, int iPosition);
    // The option an entry of a list stands for (by public id when one is given, else by feature);
    // -1 when none.
    static int IOptionIndexFromComboItem(const ZQPaperItems& items, PCWSTR pszFeature, BYTE bPubId, HWND hCombo,
                                         int iEntry);
    static void VFillSourceList(HWND hList, CZQUILogic& logic, const PrinterCaps* pCaps);

    // ---- the slots and the settings
    // Ids become positions in the core driver's items. Settings that hold no paper yet (0 is
    // neither a bin nor a media id) take the core driver's choice, so storing the page keeps it.
    void VRead(ZQUIDevmode& work, const ZQPaperItems& items, HWND hSourceList);
    // Positions become the printer's ids again.
    void VWrite(ZQUIDevmode& work, const ZQPaperItems& items) const;
    // The core driver's source and media items take the other pages' paper (the media by its id's
    // place among the printer's media, the first when the printer lists it no more).
    void VSelectWorkingPaper(const ZQPaperItems& items) const;
    // Without page kinds the lists hold the paper of every page: first, other and last pages alike.
    void VStoreEveryPage(ZQUIDevmode& work, const ZQPaperItems& items, int iSource, int iMedia);
    // A kind's slot takes a source, a media position and a media id.
    void VSetKind(int iKind, int iSource, int iMedia, int iMediaId);
    // A kind's media id follows its media position.
    void VFollowMediaId(int iKind, const ZQPaperItems& items);
};
