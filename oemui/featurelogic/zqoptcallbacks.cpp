// The document and printer option-item callbacks: the dialogs behind the plug-in's push items and
// the features that follow a change of another.
#include "featurelogic/zqoptcallbacks.h"

#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "featurelogic/zqdeviceupdate.h"
#include "featurelogic/zqbinding.h"
#include "formats/zquidevmode.h"
#include "featurelogic/zqoemitems.h"
#include "featurelogic/zqsettingsexchange.h"
#include "featurelogic/zquilogic.h"
#include "settings/zqconfigexport.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmluirules.h"

namespace {

// The record in the core driver's heap that leads a callback back to its binding.
constexpr DWORD kCallbackMagic = 0x5A514342;  // 'ZQCB'
struct CallbackTag {
    DWORD dwMagic;
    CZQBinding* pBinding;
};

// A replacement of the product's table (tests), or null.
const ZQOemDialogRow* g_pDialogs = nullptr;

bool InArray(const OPTITEM* item, const OPTITEM* first, DWORD count) {
    if (!item || !first || !count) return false;
    const auto at = reinterpret_cast<uintptr_t>(item), base = reinterpret_cast<uintptr_t>(first);
    return at >= base && (at - base) % sizeof(OPTITEM) == 0 && (at - base) / sizeof(OPTITEM) < count;
}

bool KeywordIs(const OPTITEM* item, const char* keyword) {
    const auto* ud = reinterpret_cast<const USERDATA*>(item->UserData);
    return ud && ud->pKeyWordName && lstrcmpiA(ud->pKeyWordName, keyword) == 0;
}

ZQUIDevmode* CoreDevmode(POEMCUIPPARAM p) {
    return zqdm::CurrentBlock(p->pOEMDM);
}

// Orientation and page order live in the private devmode of the core driver and in the working copy.
void StoreLayout(CZQUILogic& logic, POEMCUIPPARAM p, BYTE pubId, LONG sel) {
    for (ZQUIDevmode* dm : {CoreDevmode(p), logic.WorkDM()}) {
        if (!dm) continue;
        if (pubId == kOemPubOrientation) dm->wOrientation = sel ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        else dm->dwPageOrder = sel ? 1 : 0;
    }
}

// After a change of a layout item its twin follows: the core driver's item hears of it once, the
// plug-in's copy is set directly (its value is the devmode's).
LONG ReconcileLayout(CZQUILogic& logic, POEMCUIPPARAM p, POPTITEM item, bool own) {
    BYTE ownId = 0, coreId = 0;
    if (own && (item->DMPubID == kOemPubOrientation || item->DMPubID == kOemPubPageOrder)) {
        ownId = item->DMPubID;
        coreId = ownId == kOemPubOrientation ? DMPUB_ORIENTATION : DMPUB_PAGEORDER;
    } else if (!own && (item->DMPubID == DMPUB_ORIENTATION || item->DMPubID == DMPUB_PAGEORDER)) {
        coreId = item->DMPubID;
        ownId = coreId == DMPUB_ORIENTATION ? kOemPubOrientation : kOemPubPageOrder;
    } else {
        return CPSUICB_ACTION_NONE;
    }
    const LONG sel = item->Sel != 0 ? 1 : 0;
    if (own) {
        POPTITEM core = nullptr;
        if (CZQCommon::DWFindOptItemByPubId(p, coreId, 0, &core) == ZQOPT_OK && (core->Sel != 0) != (sel != 0))
            CZQCommon::DWSelectPubOption(p, coreId, 0, sel);
    } else {
        POPTITEM copy = nullptr;
        if (CZQCommon::DWFindOemOptItemByPubId(p, ownId, &copy) == ZQOPT_OK && copy->Sel != sel) {
            copy->Sel = sel;
            copy->Flags |= OPTIF_CHANGED;
        }
    }
    StoreLayout(logic, p, ownId, sel);
    return CPSUICB_ACTION_OPTIF_CHANGED;
}

// The paper type or source chosen on the core driver's page is the document's: the id of the other
// pages (and of the first and last pages while they have no papers of their own) follows it in both
// devmodes, or the plug-in's pages would put back what those ids still name.
void StoreCorePaper(CZQBinding& binding, POEMCUIPPARAM p, const OPTITEM* item) {
    const bool media = item->DMPubID == DMPUB_MEDIATYPE;
    const PrinterCaps* caps = ZQPrinterCapsLists(&binding.caps, media ? kCapsMedia : kCapsSources);
    if (item->Sel < 0 || item->Sel >= CZQCommon::IGetOptionCount(item)) return;
    const uint32_t id = media ? ZQMediaIdOfOption(caps, item->Sel) : ZQSourceIdOfOption(caps, item, item->Sel);
    if (!id) return;
    for (ZQUIDevmode* dm : {CoreDevmode(p), binding.logic.WorkDM()}) {
        if (!dm) continue;
        uint32_t ZQUIDevmode::*other = media ? &ZQUIDevmode::dwOtherPagesMedia : &ZQUIDevmode::dwOtherPagesSource;
        uint32_t ZQUIDevmode::*first = media ? &ZQUIDevmode::dwFirstPageMedia : &ZQUIDevmode::dwFirstPageSource;
        uint32_t ZQUIDevmode::*last = media ? &ZQUIDevmode::dwLastPageMedia : &ZQUIDevmode::dwLastPageSource;
        dm->*other = id;
        if (!dm->dwDiffPaper) dm->*first = dm->*last = id;
    }
}

// The feature keyword of a core driver's item (null when it has none), as a new string.
PWSTR FeatureOf(const OPTITEM* item) {
    const auto* ud = reinterpret_cast<const USERDATA*>(item->UserData);
    PWSTR feature = nullptr;
    if (!ud || !ud->pKeyWordName || !CZQCommon::BMultiByteToWide(&feature, ud->pKeyWordName, CP_ACP)) return nullptr;
    return feature;
}

// After a change of a core driver's item: its twin, then the macros the helper file attaches to its
// feature (for the plug-in's copies, to the feature of the core twin).
LONG ReconcileChange(CZQUILogic& logic, POEMCUIPPARAM p, POPTITEM item, bool own) {
    LONG action = ReconcileLayout(logic, p, item, own);
    POPTITEM core = item;
    if (own && (item->DMPubID == kOemPubOrientation || item->DMPubID == kOemPubPageOrder) &&
        CZQCommon::DWFindOptItemByPubId(p, item->DMPubID == kOemPubOrientation ? DMPUB_ORIENTATION : DMPUB_PAGEORDER, 0,
                                        &core) != ZQOPT_OK)
        core = nullptr;
    if (own && core == item) core = nullptr;
    if (core) {
        CZQLocalPtr<WCHAR> feature(FeatureOf(core));
        if (feature && logic.BRunFeatureMacros(feature.Get())) action = CPSUICB_ACTION_OPTIF_CHANGED;
    }
    return action;
}

LONG RunDialog(CZQBinding* binding, PCPSUICBPARAM cb, POPTITEM item) {
    const ZQOemItemEntry* desc = ZQFindOemItemSpec(binding->itemPlan, item);
    if (!desc || desc->kind != kOemItemDialog) return CPSUICB_ACTION_NONE;
    PFN_ZQOemDialog run = ZQFindOemDialog(desc->dialog);
    if (!run) return CPSUICB_ACTION_NONE;
    ZQOemDialogParam param = {};
    param.cbSize = sizeof param;
    param.kind = desc->dialog;
    param.pLogic = &binding->logic;
    param.pszFeature = desc->szTarget;
    param.pCBParam = cb;
    param.pszHelpFile = binding->caps.szHelpFile;
    run(&param);
    item->Flags |= OPTIF_CHANGED;
    return CPSUICB_ACTION_OPTIF_CHANGED;
}

// The binding, the item and whether it is one of the plug-in's own; false when the call is not for
// the current block or the item is in neither of its arrays.
bool Resolve(PCPSUICBPARAM cb, POEMCUIPPARAM p, CZQBinding** ppBinding, bool* pOwn) {
    *ppBinding = CZQUILogic::BindingOf(p);
    if (!*ppBinding || !cb || cb->cbSize < sizeof(CPSUICBPARAM) || !cb->pCurItem) return false;
    *pOwn = InArray(cb->pCurItem, p->pOEMOptItems, p->cOEMOptItems);
    return *pOwn || InArray(cb->pCurItem, p->pDrvOptItems, p->cDrvOptItems);
}

}  // namespace

const ZQOemDialogRow* ZQSetOemDialogTable(const ZQOemDialogRow* pRows) {
    const ZQOemDialogRow* previous = g_pDialogs;
    g_pDialogs = pRows;
    return previous;
}

PFN_ZQOemDialog ZQFindOemDialog(ZQOemDialogKind kind) {
    for (const ZQOemDialogRow* row = g_pDialogs ? g_pDialogs : ZQOemDialogTable(); row->kind != kOemDialogNone; ++row)
        if (row->kind == kind) return row->pfnRun;
    return nullptr;
}

void ZQBindOptItemCallback(CZQBinding* pBinding, POEMCUIPPARAM pParam, DWORD dwMode) {
    auto* tag = static_cast<CallbackTag*>(HeapAlloc(pParam->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(CallbackTag)));
    if (!tag) {
        pParam->OEMCUIPCallback = nullptr;
        return;
    }
    tag->dwMagic = kCallbackMagic;
    tag->pBinding = pBinding;
    pParam->pOEMUserData = tag;
    pParam->OEMCUIPCallback =
        dwMode == OEMCUIP_DOCPROP ? &CZQUILogic::IDocOptItemCallback : &CZQUILogic::IPrinterOptItemCallback;
}

CZQBinding* CZQUILogic::BindingOf(POEMCUIPPARAM pParam) {
    if (!pParam) return nullptr;
    const auto* tag = static_cast<const CallbackTag*>(pParam->pOEMUserData);
    if (!tag || tag->dwMagic != kCallbackMagic || !tag->pBinding) return nullptr;
    // Only the block of the plug-in's current call is served.
    return tag->pBinding->pCUIParam == pParam ? tag->pBinding : nullptr;
}

namespace {

// Both callbacks: the document sheet's dialogs and dependants, the printer sheet's rolls.
LONG Callback(PCPSUICBPARAM pCBParam, POEMCUIPPARAM pParam, bool document) {
    // Apply: the sheet's settings go back to the configuration manager; the apply goes on whatever
    // the export makes of them. A document sheet exports from the last of the plug-in's pages the
    // user visited; only when none was visited does it export from here.
    if (pCBParam && pCBParam->cbSize >= sizeof(CPSUICBPARAM) && pCBParam->Reason == CPSUICB_REASON_APPLYNOW) {
        CZQBinding* applying = CZQUILogic::BindingOf(pParam);
        if (applying && (!document || applying->logic.m_sheet.iHighestPage < 0))
            CZQSettingsExchange(*applying).BExportSettings(document ? kZQExportPrinting : kZQExportPhysical);
        // Settings that name no document type and leave the quick set in force (a choice on the core
        // driver's own page) are the user's own: the next sheet puts no type over them.
        ZQUIDevmode* core = applying && document ? zqdm::CurrentBlock(pParam->pOEMDM) : nullptr;
        ZQUIDevmode* work = applying ? applying->logic.WorkDM() : nullptr;
        if (core && work && applying->logic.m_sheet.bItemChanged && core->dwQuickSetInUse && !core->szDocTypeName[0] &&
            !work->szDocTypeName[0] && !work->dwPendingChange && applying->quickSets.BSettingsDiffer(*work))
            work->dwPendingChange = core->dwPendingChange = 1;
        return CPSUICB_ACTION_NONE;
    }
    CZQBinding* binding = nullptr;
    bool own = false;
    if (!Resolve(pCBParam, pParam, &binding, &own)) return CPSUICB_ACTION_NONE;
    POPTITEM item = pCBParam->pCurItem;
    const WORD reason = pCBParam->Reason;
    if (!document) {
        if (reason == CPSUICB_REASON_SEL_CHANGED && !own && KeywordIs(item, "AutoConfiguration") &&
            ZQIsUpdateNowSelected(binding->logic, item)) {
            // The installed options it set show at once.
            return ZQUpdateNowFromSheet(binding->logic, binding->pRules, pParam) ? CPSUICB_ACTION_OPTIF_CHANGED
                                                                                 : CPSUICB_ACTION_NONE;
        }
        // The roll items follow the rolls the printer has.
        if (reason == CPSUICB_REASON_SEL_CHANGED && !own && KeywordIs(item, "InstalledRolls"))
            return ZQShowInstalledRollItems(pParam) ? CPSUICB_ACTION_OPTIF_CHANGED : CPSUICB_ACTION_NONE;
        return CPSUICB_ACTION_NONE;
    }
    switch (reason) {
        // The push items' own callback opens their dialogs; the sheet's callback hears of them only
        // as extended pushes.
        case CPSUICB_REASON_EXTPUSH: return own ? RunDialog(binding, pCBParam, item) : CPSUICB_ACTION_NONE;
        case CPSUICB_REASON_SEL_CHANGED:
        case CPSUICB_REASON_ECB_CHANGED: {
            const LONG action = ReconcileChange(binding->logic, pParam, item, own);
            if (!own && (item->DMPubID == DMPUB_MEDIATYPE || item->DMPubID == DMPUB_DEFSOURCE))
                StoreCorePaper(*binding, pParam, item);
            binding->logic.m_sheet.bItemChanged = TRUE;
            // The rule engine's macros read the media type and quality the sheet now shows.
            if (binding->pRules && binding->pRules->Parser().BIsLoaded())
                binding->logic.VReadMediaQualityKeywords(binding->pRules);
            // A change the quick set in force does not hold ends it; the devmode keeps the name
            // that still holds.
            binding->quickSets.VRestoreNameIfDiffers();
            ZQUIDevmode* work = binding->logic.WorkDM();
            binding->quickSets.VStoreNameInDevmode(work);
            if (ZQUIDevmode* core = zqdm::CurrentBlock(pParam->pOEMDM); core && work)
                ZQCopyText(core->szQuickSetName, CZQQuickSets::kNameChars, work->szQuickSetName);
            return action;
        }
        default: return CPSUICB_ACTION_NONE;
    }
}

}  // namespace

LONG APIENTRY ZQPushItemCallback(PCPSUICBPARAM pCBParam) {
    ZQ_TRACE("ZQPushItemCallback");
    if (!pCBParam || pCBParam->cbSize < sizeof(CPSUICBPARAM) || !pCBParam->pCurItem ||
        pCBParam->Reason != CPSUICB_REASON_PUSHBUTTON)
        return CPSUICB_ACTION_NONE;
    const auto* data = reinterpret_cast<const ZQPushItemData*>(pCBParam->pCurItem->UserData);
    if (!data || data->ud.dwSize != sizeof(USERDATA) || data->dwMagic != kPushItemMagic) return CPSUICB_ACTION_NONE;
    const auto* tag = static_cast<const CallbackTag*>(data->pOwner);
    if (!tag || tag->dwMagic != kCallbackMagic || !tag->pBinding) return CPSUICB_ACTION_NONE;
    // Served only while the item belongs to the plug-in's current block.
    POEMCUIPPARAM p = tag->pBinding->pCUIParam;
    if (!p || p->pOEMUserData != tag || !InArray(pCBParam->pCurItem, p->pOEMOptItems, p->cOEMOptItems))
        return CPSUICB_ACTION_NONE;
    return RunDialog(tag->pBinding, pCBParam, pCBParam->pCurItem);
}

LONG APIENTRY CZQUILogic::IDocOptItemCallback(PCPSUICBPARAM pCBParam, POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQUILogic::IDocOptItemCallback");
    return Callback(pCBParam, pParam, true);
}

LONG APIENTRY CZQUILogic::IPrinterOptItemCallback(PCPSUICBPARAM pCBParam, POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQUILogic::IPrinterOptItemCallback");
    return Callback(pCBParam, pParam, false);
}
