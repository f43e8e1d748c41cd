// The Features page's papers of the page kinds: the seven kinds' sources and media (the
// Paper/Quality page's paper slots), which kinds differ from the document's paper, the kind's paper
// shown in the page's lists, and the owner-drawn page-kind list. The page owns one part and pushes a
// kind's paper into the core driver's items itself (its appliers refill the lists); the part works
// on the page's controls, state, user media and sample-page record.
#pragma once

#include "common/zquibase.h"
#include "pages/features/zqfeaturesstate.h"
#include "pages/features/zqusermedia.h"
#include "pages/parts/zqpaperslots.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpages.h"
#include "preview/zqpreviewsettings.h"

class CZQPageKinds {
public:
    // hMarker is the page's marker icon, loaded and destroyed by the page.
    CZQPageKinds(const CZQUIBase& owner, CZQPageControls& controls, ZQFeaturesState& state,
                 const CZQUserMedia& userMedia, PreviewSettings& preview, const HICON& hMarker)
        : m_owner(owner), m_controls(controls), m_state(state), m_userMedia(userMedia), m_preview(preview),
          m_hMarker(hMarker) {}
    CZQPageKinds(const CZQPageKinds&) = delete;
    CZQPageKinds& operator=(const CZQPageKinds&) = delete;

    // Every kind on the document's current source and media.
    void VInitPageKinds(PageContext* pContext);
    // The back cover, off, on the document's source and media. While the document names no medium
    // (0), the back cover keeps the medium the settings hold for it: a task preset's medium sets it,
    // and an untouched page must not undo the preset.
    void VSetBackCoverOff(const ZQUIDevmode& work, const ZQPaperItems& items, int iSource);
    // The lists' choice stored for the chosen kind, in the table and the settings.
    void VApplyCombosToKind(PageContext* pContext);
    // First, other and last pages marked where they differ from the document's paper.
    void VMarkDifferingKinds(PageContext* pContext);
    // The kind's source and media options shown in the lists (the kind read from the page-kind list
    // when asked; -1 leaves a list as it is).
    void VSelectKindInCombos(PageContext* pContext, int iSource, int iMedia, BOOL bReadKind);
    // The source list refilled for the chosen kind: a paper-size change returns it, once, to the
    // source the rules remember.
    void VFillKindSourceCombo(PageContext* pContext);
    void VSelectOtherPagesSource(PageContext* pContext);
    void VSelectOtherPagesMedia(PageContext* pContext);
    void VEnableKindMediaType(PageContext* pContext);
    int IGetKindMediaIndex(PageContext* pContext);
    // The page kind chosen in the page-kind list; kKindNone without one.
    int ISelectedKind(PageContext* pContext);
    // The page-kind list filled from "ZQCovers" (or its chosen entry replaced); the covers' flags
    // follow the settings. Without different papers the covers are off.
    void VFillPageKindList(CZQUILogic* pLogic, BOOL bRefill);
    void VAddPageKindEntry(CZQUILogic* pLogic, BOOL bReplace, PCWSTR pszName, int iPosition);
    // Owner-draw of one entry, with the marker of a kind that differs or a cover in use; 0.
    int IDrawPageKindItem(PCWSTR pszFeature, const DRAWITEMSTRUCT* pDraw, HWND hList, CZQUILogic* pLogic);
    void VClearPageKindList(PageContext* pContext);

    // The option of the item (by public id, else by keyword) that a list entry stands for: option 0
    // of the sources by the printer's first bin name, else by display name; failing that the first
    // shown option free of conflicts; -1 without the item or the entry.
    int IComboEntryToOptionIndex(PageContext* pContext, PCWSTR pszFeature, BYTE bPubId, HWND hCombo, int iEntry);
    // The printer's bin id of a source option: option 0 is the first bin, another the bin of its
    // display name (the first 22 characters); the first bin for a name the printer does not list.
    int ISourceOptionToId(PageContext* pContext, int iOption);
    // The source list's entry, found by name among the core driver's sources, becomes the other
    // pages' bin (a paper-size or media change may have moved the list under a chosen kind).
    void VStoreOtherPagesSource(PageContext* pContext);

    // The kinds' table.
    CZQPaperSlots& Slots() { return m_slots; }

private:
    const CZQUIBase& m_owner;
    CZQPageControls& m_controls;
    ZQFeaturesState& m_state;
    const CZQUserMedia& m_userMedia;
    PreviewSettings& m_preview;
    const HICON& m_hMarker;
    CZQPaperSlots m_slots;
    BOOL m_abKindDiffers[3] = {};  // first, other and last pages
};
