#include "featurelogic/zqdevmodesync.h"

#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurelogic/zqbinding.h"
#include "formats/zquidevmode.h"

namespace {

constexpr uint32_t kFullScale = 100;
constexpr INT kIdsCustomSettings = 4265;
constexpr WCHAR kCustomSettings[] = L"Custom Print Settings";
using zqsettings::kShowJobStorageDialog;
constexpr size_t kUserChars = 257;
constexpr size_t kDocTypeChars = 256;

}  // namespace

CZQDevmodeSync::Devmodes CZQDevmodeSync::Current() const {
    const POEMCUIPPARAM p = m_b.pCUIParam;
    return {p, p ? zqdm::CurrentBlock(p->pOEMDM) : nullptr, m_b.logic.WorkDM()};
}

bool CZQDevmodeSync::BMergeSections(std::initializer_list<Merge> merges, bool bFixUser) {
    if (!BMergeOnly(merges)) return false;
    VSaveSelectionsAndUser(bFixUser);
    return true;
}

bool CZQDevmodeSync::BMergeOnly(std::initializer_list<Merge> merges) {
    const Devmodes d = Current();
    if (!d.core || !d.work) return false;
    for (Merge merge : merges) (m_b.logic.*merge)(d.core, d.p->pPublicDM, d.work);
    return true;
}

void CZQDevmodeSync::VSaveSelectionsAndUser(bool bFixUser) {
    const Devmodes d = Current();
    m_b.logic.VSaveSelections();
    // The job-storage user of the working copy, where the driver's job-storage block is not valid.
    if (bFixUser && d.core && d.work && !CZQCommon::BIsJobStorageValid(d.core))
        ZQCopyTextN(d.core->szJsUserName, kUserChars, d.work->szJsUserName, kUserChars);
}

void CZQDevmodeSync::VSyncAfterChange() {
    const Devmodes d = Current();
    if (!d.p) return;
    // The chosen paper's size, from the printer's list.
    if (PDEVMODEW pub = d.p->pPublicDM) {
        LONG width = 0, length = 0;
        if (CZQUIBase::BGetPaperDimensions(static_cast<WORD>(pub->dmPaperSize), &width, &length, &m_b.caps)) {
            pub->dmPaperWidth = static_cast<short>(width);
            pub->dmPaperLength = static_cast<short>(length);
        }
        for (ZQUIDevmode* dm : {d.core, d.work}) {
            if (!dm) continue;
            dm->wPaperSize = static_cast<uint16_t>(pub->dmPaperSize);
            dm->wPaperLength = static_cast<uint16_t>(pub->dmPaperLength);
            dm->wPaperWidth = static_cast<uint16_t>(pub->dmPaperWidth);
        }
    }
    if (!d.core || !d.work) return;
    VSyncPaperSource();
    VSyncFinishing();
    if (d.core->dwLayoutMode == 3) VSyncEffects();
    m_b.logic.VMergeDocOptionsSection(d.core, d.p->pPublicDM, d.work);
    if (CZQCommon::BIsJobStorageValid(d.core) || d.core->dwJs3024 != 0) VSyncJobStorage();
    if (d.core->dwColorMode == 2) VSyncJobOptions();
    if (CZQUIBase::BShowFinishingTab(d.p)) VSyncReservedBlocks();
    if (CZQUIBase::BShowAccountingTab(d.p)) VSyncAppInfo();
    if (d.core->dwQuickSetInUse == 1) VSyncQuickSet();
    m_b.logic.VUpdateRawSpoolingFlag();
    // The quick set's name as its manager keeps it.
    m_b.quickSets.VStoreNameInDevmode(d.work);
    ZQCopyTextN(d.core->szQuickSetName, CZQQuickSets::kNameChars, d.work->szQuickSetName, CZQQuickSets::kNameChars);
}

void CZQDevmodeSync::VSyncPaperSource() {
    if (m_pRoll) m_pRoll->BReadLoadedRollSize();
    if (!BMergeSections({&CZQCommon::VMergePaperSourceSection, &CZQCommon::VMergeExtraEntrySection}, true)) return;
    const Devmodes d = Current();
    for (int i = 0; i < 3; ++i) d.core->aiRecentPaperSizes[i] = d.work->aiRecentPaperSizes[i];
}

void CZQDevmodeSync::VSyncFinishing() {
    if (!BMergeOnly({&CZQCommon::VMergePageSection, &CZQCommon::VMergeFinishingSection})) return;
    m_b.logic.BReadManualFeedOrientation();
    VSaveSelectionsAndUser(true);
}

void CZQDevmodeSync::VSyncEffects() {
    const Devmodes d = Current();
    if (!d.core || !d.work) return;
    // A PostScript job scaled by the pages shows the core driver's scale item again.
    POPTITEM scale = nullptr;
    if (d.core->dwPdl == zqdm::kPdlPostScript && d.work->dwScalePercent != kFullScale && d.p->poemuiobj &&
        CZQCommon::DWFindOptItemByPubId(d.p, DMPUB_SCALE, 0, &scale) == ZQOPT_OK && (scale->Flags & OPTIF_HIDE)) {
        scale->Flags = 0;
        CZQCommon::BReportItem(d.p, scale, static_cast<DWORD>(scale->Sel), OEMCUIP_DOCPROP);
    }
    BMergeSections({&CZQCommon::VMergeEffectsSection}, true);
}

void CZQDevmodeSync::VSyncJobStorage() {
    if (!BMergeSections({&CZQCommon::VMergeJobStorageSection}, false)) return;
    // Whether the job-storage dialog shows, for a restricted user of this printer.
    const Devmodes d = Current();
    WCHAR guid[CZQCommon::kGuidTextChars];
    if (!CZQCommon::BReadRestrictedUserGuid(d.p->hPrinter, guid)) return;
    const BYTE show = d.work->dwDisplayJobId ? 1 : 0;
    CZQCommon::BWriteUserBinaryValue(guid, kShowJobStorageDialog, &show, sizeof show);
}

void CZQDevmodeSync::VSyncJobOptions() { BMergeSections({&CZQCommon::VMergeJobOptionsSection}, true); }

void CZQDevmodeSync::VSyncReservedBlocks() {
    const Devmodes d = Current();
    if (!d.core || !d.work) return;
    // The one section that goes the other way: the working copy takes the driver's.
    m_b.logic.VMergeReservedBlocksSection(d.work, d.p->pPublicDM, d.core);
    m_b.logic.VSaveSelections();
}

void CZQDevmodeSync::VSyncAppInfo() { BMergeSections({&CZQCommon::VMergeAppInfoSection}, false); }

void CZQDevmodeSync::VSyncQuickSet() {
    const Devmodes d = Current();
    if (!d.core || !d.work) return;
    // Settings changed away from a desktop printer's quick set are the user's own.
    if (!m_b.logic.BIsLargeFormat() && d.work->dwPendingChange) {
        WCHAR name[CZQCommon::kResStringChars];
        if (!m_b.logic.BLoadResString(kIdsCustomSettings, name)) ZQCopyText(name, kDocTypeChars, kCustomSettings);
        ZQCopyText(d.work->szDocTypeName, kDocTypeChars, name);
    }
    BMergeSections({&CZQCommon::VMergeQuickSetSection}, true);
}
