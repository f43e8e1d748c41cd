// CZQQuickSets: the quick-set manager of the plug-in object, as far as the pages need it before the
// quick sets are stored: whether a page reported a change through it, whether the settings still
// equal the quick set in force (its snapshot), and the current quick set's name. The stored quick
// sets themselves, their list, saving and applying them join this class with the printing-shortcuts
// pages.
#pragma once

#include "featurelogic/zquilogic.h"
#include "formats/zqquickset.h"

class CZQQuickSets : public CZQUILogic {
public:
    static constexpr size_t kNameChars = 82;

    // PSM_CHANGED went to the sheet through the manager; a page then always counts as changed.
    // Apply clears it.
    BOOL BChanged() const { return m_bChanged; }
    void VClearChanged() { m_bChanged = FALSE; }
    // Tells the page's sheet the page changed and keeps that; TRUE.
    // First caller: the Output page.
    BOOL BSetChanged(HWND hPage);

    // The settings the pages compare with: the devmode's fields as a quick set keeps them.
    // First caller: the printing-shortcuts pages.
    void VSnapshotCurrent(ZQUIDevmode* pDevmode);
    // Non-zero when the page's group of fields, then orientation and two-sided printing, differ
    // from the snapshot (equal without one). The group is the Paper/Quality page's (kPagePaperQuality,
    // and kPageFeatures, which holds it); the quick set's feature pairs are compared once quick sets
    // are stored.
    BOOL BPageDiffers(ZQUIDevmode devmode, int iPageId);

    // A quick set in force whose items the core driver now marks as conflicting is no longer the
    // one in force: the name goes back to the placeholder.
    void VRestoreNameIfItemsChanged();
    // With the quick set's settings in force, its name becomes the devmode's quick-set name.
    void VStoreNameInDevmode(ZQUIDevmode* pDevmode) const;

private:
    QuickSetSettings m_snapshot = {};
    BOOL m_bSnapshot = FALSE;
    BOOL m_bChanged = FALSE;
    // The current name names the stored quick set in force (set when the quick sets are loaded,
    // applied or saved).
    BOOL m_bSelected = FALSE;
    WCHAR m_szPlaceholder[kNameChars] = {};
    WCHAR m_szCurrentName[kNameChars] = {};
    // The different-paper field of the last page comparison.
    DWORD m_dwPaperSourceCopy = 0;
};
