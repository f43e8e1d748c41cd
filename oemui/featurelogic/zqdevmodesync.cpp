#include "featurelogic/zqdevmodesync.h"

#include "common/zqstrings.h"
#include "featurelogic/zqbinding.h"
#include "formats/zquidevmode.h"

namespace {

constexpr uint32_t kFullScale = 100;
constexpr INT kIdsCustomSettings = 4265;
constexpr WCHAR kCustomSettings[] = L"Custom Print Settings";
constexpr WCHAR kShowJobStorageDialog[] = L"ShowJobStorageDlg";
constexpr size_t kUserChars = 257;
constexpr size_t kDocTypeChars = 256;

}  // namespace

void CZQDevmodeSync::VSyncAfterChange() {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    if (!p) return;
    ZQUIDevmode* core = zqdm::CurrentBlock(p->pOEMDM);
    ZQUIDevmode* work = m_b.logic.WorkDM();
    // The chosen paper's size, from the printer's list.
    if (PDEVMODEW pub = p->pPublicDM) {
        LONG width = 0, length = 0;
        if (CZQUIBase::BGetPaperDimensions(static_cast<WORD>(pub->dmPaperSize), &width, &length, &m_b.caps)) {
            pub->dmPaperWidth = static_cast<short>(width);
            pub->dmPaperLength = static_cast<short>(length);
        }
        for (ZQUIDevmode* dm : {core, work}) {
            if (!dm) continue;
            dm->wPaperSize = static_cast<uint16_t>(pub->dmPaperSize);
            dm->wPaperLength = static_cast<uint16_t>(pub->dmPaperLength);
            dm->wPaperWidth = static_cast<uint16_t>(pub->dmPaperWidth);
        }
    }
    if (!core || !work) return;
    VSyncPaperSource();
    VSyncFinishing();
    if (core->dwLayoutMode == 3) VSyncEffects();
    m_b.logic.VMergeDocOptionsSection(core, p->pPublicDM, work);
    if (CZQCommon::BIsJobStorageValid(core) || core->dwJs3024 != 0) VSyncJobStorage();
    if (core->dwColorMode == 2) VSyncJobOptions();
    if (CZQUIBase::BShowFinishingTab(p)) VSyncReservedBlocks();
    if (CZQUIBase::BShowAccountingTab(p)) VSyncAppInfo();
    if (core->dwQuickSetInUse == 1) VSyncQuickSet();
    // The quick set's name as its manager keeps it.
    m_b.quickSets.VStoreNameInDevmode(work);
    ZQCopyTextN(core->szQuickSetName, CZQQuickSets::kNameChars, work->szQuickSetName, CZQQuickSets::kNameChars);
}

void CZQDevmodeSync::VFixJobStorageUser() {
    ZQUIDevmode* core = zqdm::CurrentBlock(m_b.pCUIParam->pOEMDM);
    const ZQUIDevmode* work = m_b.logic.WorkDM();
    if (core && work && !CZQCommon::BIsJobStorageValid(core))
        ZQCopyTextN(core->szJsUserName, kUserChars, work->szJsUserName, kUserChars);
}

void CZQDevmodeSync::VSyncPaperSource() {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    ZQUIDevmode* core = zqdm::CurrentBlock(p->pOEMDM);
    ZQUIDevmode* work = m_b.logic.WorkDM();
    if (!core || !work) return;
    m_b.logic.VMergePaperSourceSection(core, p->pPublicDM, work);
    m_b.logic.VMergeExtraEntrySection(core, p->pPublicDM, work);
    m_b.logic.VSaveSelections();
    VFixJobStorageUser();
    for (int i = 0; i < 3; ++i) core->aiRecentPaperSizes[i] = work->aiRecentPaperSizes[i];
}

void CZQDevmodeSync::VSyncFinishing() {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    ZQUIDevmode* core = zqdm::CurrentBlock(p->pOEMDM);
    ZQUIDevmode* work = m_b.logic.WorkDM();
    if (!core || !work) return;
    m_b.logic.VMergePageSection(core, p->pPublicDM, work);
    m_b.logic.VMergeFinishingSection(core, p->pPublicDM, work);
    m_b.logic.VSaveSelections();
    VFixJobStorageUser();
}

void CZQDevmodeSync::VSyncEffects() {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    ZQUIDevmode* core = zqdm::CurrentBlock(p->pOEMDM);
    ZQUIDevmode* work = m_b.logic.WorkDM();
    if (!core || !work) return;
    // A PostScript job scaled by the pages shows the core driver's scale item again.
    POPTITEM scale = nullptr;
    if (core->dwPdl == zqdm::kPdlPostScript && work->dwScalePercent != kFullScale && p->poemuiobj &&
        CZQCommon::DWFindOptItemByPubId(p, DMPUB_SCALE, 0, &scale) == ZQOPT_OK && (scale->Flags & OPTIF_HIDE)) {
        scale->Flags = 0;
        p->poemuiobj->pOemUIProcs->DrvUpdateUISetting(p->poemuiobj, scale, static_cast<DWORD>(scale->Sel),
                                                      OEMCUIP_DOCPROP);
    }
    m_b.logic.VMergeEffectsSection(core, p->pPublicDM, work);
    m_b.logic.VSaveSelections();
    VFixJobStorageUser();
}

void CZQDevmodeSync::VSyncJobStorage() {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    ZQUIDevmode* core = zqdm::CurrentBlock(p->pOEMDM);
    ZQUIDevmode* work = m_b.logic.WorkDM();
    if (!core || !work) return;
    m_b.logic.VMergeJobStorageSection(core, p->pPublicDM, work);
    m_b.logic.VSaveSelections();
    // Whether the job-storage dialog shows, for a restricted user of this printer.
    WCHAR guid[CZQCommon::kGuidTextChars];
    if (!CZQCommon::BReadRestrictedUserGuid(p->hPrinter, guid)) return;
    const BYTE show = work->dwDisplayJobId ? 1 : 0;
    CZQCommon::BWriteUserBinaryValue(guid, kShowJobStorageDialog, &show, sizeof show);
}

void CZQDevmodeSync::VSyncJobOptions() {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    ZQUIDevmode* core = zqdm::CurrentBlock(p->pOEMDM);
    ZQUIDevmode* work = m_b.logic.WorkDM();
    if (!core || !work) return;
    m_b.logic.VMergeJobOptionsSection(core, p->pPublicDM, work);
    m_b.logic.VSaveSelections();
    VFixJobStorageUser();
}

void CZQDevmodeSync::VSyncReservedBlocks() {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    ZQUIDevmode* core = zqdm::CurrentBlock(p->pOEMDM);
    ZQUIDevmode* work = m_b.logic.WorkDM();
    if (!core || !work) return;
    // The one section that goes the other way: the working copy takes the driver's.
    m_b.logic.VMergeReservedBlocksSection(work, p->pPublicDM, core);
    m_b.logic.VSaveSelections();
}

void CZQDevmodeSync::VSyncAppInfo() {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    ZQUIDevmode* core = zqdm::CurrentBlock(p->pOEMDM);
    ZQUIDevmode* work = m_b.logic.WorkDM();
    if (!core || !work) return;
    m_b.logic.VMergeAppInfoSection(core, p->pPublicDM, work);
    m_b.logic.VSaveSelections();
}

void CZQDevmodeSync::VSyncQuickSet() {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    ZQUIDevmode* core = zqdm::CurrentBlock(p->pOEMDM);
    ZQUIDevmode* work = m_b.logic.WorkDM();
    if (!core || !work) return;
    // Settings changed away from a desktop printer's quick set are the user's own.
    if (!m_b.logic.BIsLargeFormat() && work->dwPendingChange) {
        WCHAR name[CZQCommon::kResStringChars];
        if (!m_b.logic.BLoadResString(kIdsCustomSettings, name)) ZQCopyText(name, kDocTypeChars, kCustomSettings);
        ZQCopyText(work->szDocTypeName, kDocTypeChars, name);
    }
    m_b.logic.VMergeQuickSetSection(core, p->pPublicDM, work);
    m_b.logic.VSaveSelections();
    VFixJobStorageUser();
}
