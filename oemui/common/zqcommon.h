// CZQCommon: the helper every page, dialog and worker carries.
#pragma once

#include "../platform/oemuiplatform.h"

class CZQCommon {
public:
    CZQCommon();
    ~CZQCommon();
    CZQCommon(const CZQCommon&) = delete;
    CZQCommon& operator=(const CZQCommon&) = delete;

    // ---- private devmode sections: (output private devmode, public devmode, input private devmode).
    // A current input block is copied section by section, anything else gives the section's defaults;
    // a missing devmode sets last error 13 and changes nothing.
    void VMergePageSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeJobOptionsSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeEffectsSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeDocOptionsSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeFinishingSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeJobStorageSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergePaperSourceSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeQuickSetSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeAppInfoSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeReservedBlocksSection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
    void VMergeExtraEntrySection(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);

    // Header identity and every section's defaults; the public devmode (optional) gives the page fields.
    BOOL BFillDefaultDevmode(PVOID pOutDM, PDEVMODEW pPublicDM);
    // All eleven merges plus the header values and the tag record the core keeps.
    BOOL BMergeDevmode(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);

protected:
    // Resource (status) module; first member by design: pages copy it into their dialogs.
    HMODULE m_hResModule = nullptr;
    // Pen-kind marks set by the status-string routines (kinds 1, 2, 3, 10, 11, 12, 4, 7, 5, 8, 6, 17, 18/19).
    BOOL m_abPenKind[13] = {};
    // This helper loaded m_hResModule itself and frees it.
    bool m_bOwnsResModule = false;

private:
    void VMergeSection(int section, PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM);
};
