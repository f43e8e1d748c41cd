// The CommonUIProp worker of the plug-in object: the count pass plans the plug-in's own items, the
// fill pass prepares the binding for the sheet (working copy, header values, printer records, the
// helper file and its device settings, the extension hooks, locks, stored settings, a conversion
// run's settings, the watermark pool, constraints, alerts, the configuration from the printer's
// answers, what the pages would store at an installed printer's first showing, job-storage values
// and layout, the tray record) and builds the items.
#include "featurelogic/zqcommonuiprop.h"

#include "common/zqitemanswers.h"
#include "common/zqevents.h"
#include "common/zqhandles.h"
#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqfontinstaller.h"
#include "featurelogic/zqalertgate.h"
#include "featurelogic/zqbinding.h"
#include "featurelogic/zqconfigapply.h"
#include "featurelogic/zqconstraintgate.h"
#include "featurelogic/zqdeviceupdate.h"
#include "featurelogic/zqoptcallbacks.h"
#include "featurelogic/zqsheetstate.h"
#include "formats/zquidevmode.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqrunswitches.h"
#include "xmlrules/zqxmluirules.h"

namespace {

// "ZQPDLType" options in the order of private devmode +20.
const PCWSTR kPdlOptions[] = {L"Unknown", L"PCL5", L"PCL6", L"PostScript", L"PCL3", L"ZQGL2"};

int PdlIndex(POEMCUIPPARAM pParam) {
    int index = -1;
    if (CZQCommon::DWGetFeatureOptionIndex(pParam, L"ZQPDLType", &index) == ZQOPT_OK && index >= 0) return index;
    // Usually a value without an item: its keyword gives the place in the enumeration.
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(pParam, L"ZQPDLType", option.Put()) != ZQOPT_OK) return 0;
    for (int i = 0; i < static_cast<int>(sizeof kPdlOptions / sizeof kPdlOptions[0]); ++i)
        if (ZQEqualNoCase(option.Get(), kPdlOptions[i])) return i;
    return 0;
}

// The core driver offers colour printing: its colour item has a colour option besides monochrome.
bool OffersColor(POEMCUIPPARAM pParam) {
    POPTITEM item = nullptr;
    return CZQCommon::DWFindOptItemByPubId(pParam, DMPUB_COLOR, 0, &item) == ZQOPT_OK && item->pOptType &&
           item->pOptType->Count >= 2;
}

// The retention modes the printer offers, from the plug-in's own value "ZQJobStorageModes": five
// digits 0 or 1 for Off, Proof and Hold, Private Job, Quick Copy and Stored Job. All five give the
// full layout, fewer the compact one without the others; without the value (or with another one)
// the fields stay as they are.
void FillJobStorageLayout(POEMCUIPPARAM pParam, ZQUIDevmode* pDevmode) {
    CZQLocalPtr<WCHAR> option;
    if (CZQCommon::DWGetFeatureOption(pParam, L"ZQJobStorageModes", option.Put()) != ZQOPT_OK) return;
    const PCWSTR flags = option.Get();
    constexpr size_t kModes = sizeof pDevmode->adwJsSetA / sizeof pDevmode->adwJsSetA[0];
    if (ZQTextLength(flags, kModes + 1) != kModes) return;
    for (size_t i = 0; i < kModes; ++i)
        if (flags[i] != L'0' && flags[i] != L'1') return;
    bool all = true;
    for (size_t i = 0; i < kModes; ++i) {
        const uint32_t offered = flags[i] == L'1' ? 1 : 0;
        pDevmode->adwJsSetA[i] = pDevmode->adwJsSetB[i] = offered;
        all = all && offered;
    }
    pDevmode->dwJsLayout = all ? 0 : 1;
    pDevmode->dwJsSetSelector = 1;
}

// The header values of the private devmode that follow the driver's features.
void FillHeaderValues(const CZQUILogic& logic, POEMCUIPPARAM pParam, ZQUIDevmode* pDevmode) {
    if (!pDevmode) return;
    pDevmode->dwModelCode = 0;
    pDevmode->dwPdl = logic.m_dwPdl;
    pDevmode->dwColorMode = OffersColor(pParam) ? 2 : 1;
    pDevmode->dwLayoutMode = 3;
    FillJobStorageLayout(pParam, pDevmode);
}

// While the installation finishes, what the pages would store at a printer's first showing is
// stored now, so that no untouched sheet changes the printer's data or settings: the media-type
// pop-up's number where a page fills the pop-up, the language the Features page follows with the paper tree's units, and the
// Colour page's colour matching, in the public devmode and in the plug-in's.
void StoreAtInstallation(CZQUILogic& logic, POEMCUIPPARAM pParam) {
    DWORD installing = 0;
    if (!pParam->hPrinter ||
        !CZQDriverData::BGetPrinterDataDword(pParam->hPrinter, zqsettings::kInstallationComplete, &installing) ||
        installing != 1)
        return;
    ZQSheetFacts facts;
    ZQReadSheetFacts(pParam, pParam->pOEMDM, &facts);
    int pages[kPageIdCount];
    const int count = IChooseSheetPages(facts, kSheetDocument, pages, kPageIdCount);
    for (int i = 0; i < count; ++i) {
        // Only a page whose media list is the pop-up's keeps its number.
        if ((pages[i] == kPagePaperQuality || pages[i] == kPageFeatures) && logic.BMediaTypeTreeviewPopup())
            CZQUILogic::VKeepPopupMediaType(pParam->hPrinter);
        if (pages[i] == kPageFeatures && logic.BPaperSizeTreeviewPopup()) logic.VFollowUiLanguage();
        if (pages[i] != kPageColor) continue;
        logic.VSetPublicColorMatching(pParam->pPublicDM);
        logic.VApplyIntentToDevmode(pParam->pPublicDM);
        // The page calls the colour matching automatic while every colour list shows its default.
        const DWORD automatic = logic.m_colorOptions.BColorListAtDefaults() ? 1 : 0;
        for (ZQUIDevmode* dm : {static_cast<ZQUIDevmode*>(pParam->pOEMDM), logic.WorkDM()})
            if (dm) dm->dwChromixAuto = automatic;
    }
}

// The fill pass: the binding prepared for the sheet, then the plug-in's items built.
void FillPass(CZQBinding& b, CZQConstraintGate& gate, CZQAlertGate& alerts, DWORD dwMode, POEMCUIPPARAM p) {
    ZQ_TRACE("ZQCommonUIProp fill pass");
    CZQUILogic& logic = b.logic;
    // The private devmode's header values, in the core driver's block and in the working copy.
    ZQUIDevmode* coreDM = zqdm::CurrentBlock(p->pOEMDM);
    FillHeaderValues(logic, p, coreDM);
    FillHeaderValues(logic, p, logic.WorkDM());
    // A record or list that cannot be read is left empty, never partly filled.
    if (!b.BReadPrinterRecords(p->hPrinter, p->pPublicDM))
        zqtrace::Line(L"ZQCommonUIProp: printer records incomplete\n");

    // The driver's helper file, and its device settings while the installation runs.
    b.VLoadXmlRulesFile(p);
    logic.VApplyDeviceSettings();
    // The driver's extension modules hear of the call.
    if (b.hooks.BLoadEventHooks(p->hPrinter, nullptr)) b.hooks.BCallCommonUIPropHooks(dwMode, p, kExtCommonUIProp);
    // A conversion run in annotation mode tells its ticket module what it applies.
    const BOOL annotating = CZQRunSwitches::BTicketManager(CZQRunSwitches::kTicketAnnotating, p->pOEMDM, nullptr,
                                                           nullptr);
    if (annotating) CZQRunSwitches::BTicketManager(CZQRunSwitches::kTicketStart, p->pOEMDM, nullptr, nullptr);

    // The administrator's locks; the ones the spooler cannot show are applied all the same. Then
    // the settings the configuration manager stored, which the pages start from, and a
    // conversion run's, which the converted devmode takes.
    b.driverData.VSetLanguage(logic.m_dwPdl);
    CZQDriverData::VApplyLockData(p);
    if (!CZQConfigApply(b).BApplyConfigManagerData(dwMode))
        zqtrace::Line(L"ZQCommonUIProp: stored settings applied in part\n");
    if (CZQCommon::BIsOndrelRunOfPrivateDM(p->pOEMDM)) CZQConfigApply(b).BApplyOndrelData(dwMode, p->pOEMDM);
    logic.BTakeWorkingCopy(p->pOEMDM);

    // The watermarks of earlier versions go, and the pool holds the four defaults in the user's
    // language before the stored ones (a user who may not write the printer's data keeps it as it is).
    CZQWatermarks::VRemoveLegacyData(p);
    HANDLE printer = nullptr;
    BOOL reopened = FALSE;
    const BOOL restricted = CZQCommon::BIsPrinterDataReadOnly(p->hPrinter, p->pPrinterName, p->pPublicDM, &printer,
                                                              &reopened);
    CZQPrinterHandle reopenedPrinter(reopened ? printer : nullptr);
    if (!b.watermarks.BCreateDefaults(p, restricted) && !restricted)
        zqtrace::Line(L"ZQCommonUIProp: watermark pool not saved\n");

    // The helper file's constraints and alerts.
    gate.BLoadConstraints();
    alerts.BInitAlerts();

    // A printer whose installation is finishing is configured from its own answers.
    ZQConfigureAtInstallation(logic, b.pRules, p);

    // The cartridge item follows the printer; then the quick sets for the sheet (the store written
    // afresh while the installation completes), whose name the working copy shares.
    if (dwMode == OEMCUIP_DOCPROP && !logic.m_colorOptions.BBuild(p))
        zqtrace::Line(L"ZQCommonUIProp: colour settings list left empty\n");
    if (dwMode == OEMCUIP_DOCPROP) StoreAtInstallation(logic, p);
    if (dwMode == OEMCUIP_DOCPROP && coreDM) {
        b.quickSets.BUpdateInstalledCartridges();
        b.quickSets.VLoad(b.pRules, coreDM);
        if (ZQUIDevmode* work = logic.WorkDM())
            ZQCopyText(work->szQuickSetName, CZQQuickSets::kNameChars, coreDM->szQuickSetName);
    }

    // Device options that follow the printer by themselves are asked for again.
    if (dwMode == OEMCUIP_PRNPROP) ZQRefreshDeviceOptions(logic, b.pRules, p);

    if (dwMode == OEMCUIP_DOCPROP) {
        logic.BFillDevmodeEnums(coreDM);
        logic.BFillDevmodeEnums(logic.WorkDM());
    }
    // The device settings keep the address of the printer's embedded web pages current.
    if (dwMode == OEMCUIP_PRNPROP && CZQCommon::IUpdateEwsAddress(p) < 0)
        zqtrace::Line(L"ZQCommonUIProp: web pages address left as it was\n");

    // Trays for the device-capabilities answers, from the record's source lists: in the device
    // sheet, where the installed trays change, or when the sheet has read them already (each list
    // is a whole core-driver call). A user without the rights to write printer data leaves the
    // record of the last event, whole.
    const bool sourcesRead = !(b.caps.dwUnreadLists & kCapsSources);
    const PrinterCaps& c =
        dwMode == OEMCUIP_PRNPROP || sourcesRead ? *ZQPrinterCapsLists(&b.caps, kCapsSources) : b.caps;
    if (p->hPrinter && c.szPrinterName[0] && (dwMode == OEMCUIP_PRNPROP || sourcesRead) &&
        !(c.dwSourceCount ? ZQStoreTrayRecord(p->hPrinter, c.pSourceIds, c.pSourceNames, c.dwSourceCount)
                          : ZQStoreTrayInfo(p->hPrinter, c.szPrinterName, c.szPortName)))
        zqtrace::Line(L"ZQCommonUIProp: tray record left as it was\n");

    // The plug-in's own items: the set the count pass planned for this block (a block that had
    // no count pass gets its plan now), never more than the core driver made room for.
    if (b.pPlannedParam != p) ZQPlanOemItems(logic, dwMode, &b.itemPlan);
    b.pPlannedParam = nullptr;
    // The callback record first: push items point back to it.
    ZQBindOptItemCallback(&b, p, dwMode);
    p->cOEMOptItems = ZQBuildOemItems(logic, b.itemPlan, b.XmlParser(), p);
    if (annotating) CZQRunSwitches::BTicketManager(CZQRunSwitches::kTicketEnd, p->pOEMDM, nullptr, nullptr);
}

}  // namespace

HRESULT ZQCommonUIProp(CZQBinding& b, CZQConstraintGate& gate, CZQAlertGate& alerts, DWORD dwMode,
                       POEMCUIPPARAM pOemCUIPParam) {
    if (!pOemCUIPParam || pOemCUIPParam->cbSize < sizeof(OEMCUIPPARAM) ||
        (dwMode != OEMCUIP_DOCPROP && dwMode != OEMCUIP_PRNPROP)) {
        SetLastError(ERROR_INVALID_DATA);
        return E_FAIL;
    }
    // The call asks the core driver for the same settings many times over: each is read once.
    zqitems::CZQItemPass itemPass;
    // The items are built anew: what walks learned of the last ones goes.
    CZQCommon::VForgetOptionKeywords();
    // Each value of the printer's data is read once for the sheet, from its fill pass on, and so are
    // the device-capabilities lists and the driver record the call asks for many times over.
    b.dataView.Open(pOemCUIPParam->hPrinter);
    b.dataView.KeepDeviceLists(dwMode == OEMCUIP_DOCPROP);
    zqspool::CZQViewPass viewPass(b.dataView);
    if (pOemCUIPParam->pOEMOptItems) b.dataView.BeginFillPass();
    // The block serves the pages and the option-item layer until the next call; the core driver
    // keeps it alive for the whole sheet.
    b.pCUIParam = pOemCUIPParam;
    b.dwCUIMode = dwMode;
    CZQUILogic& logic = b.logic;
    logic.VSetParam(pOemCUIPParam, dwMode);
    b.quickSets.VSetParam(pOemCUIPParam, dwMode);
    b.watermarks.VBind(nullptr, pOemCUIPParam, nullptr);
    if (b.pCommon) {
        b.pCommon->VLoadResourceModule(pOemCUIPParam->hPrinter);
        logic.VSetResourceModule(b.pCommon->HResModule());
        b.quickSets.VSetResourceModule(b.pCommon->HResModule());
        b.watermarks.VSetResourceModule(b.pCommon->HResModule());
        // The helper file's headings and labels come from the same module.
        if (b.pRules) b.pRules->VSetResourceModule(b.pCommon->HResModule());
    }
    logic.BTakeWorkingCopy(pOemCUIPParam->pOEMDM);
    b.quickSets.BTakeWorkingCopy(pOemCUIPParam->pOEMDM);
    logic.m_dwPdl = static_cast<DWORD>(PdlIndex(pOemCUIPParam));
    b.dwPrinterLanguage = ZQFontCommandLanguage(static_cast<int>(logic.m_dwPdl));

    if (!pOemCUIPParam->pOEMOptItems) {
        // Count pass: the fill pass builds exactly this set.
        ZQPlanOemItems(logic, dwMode, &b.itemPlan);
        b.pPlannedParam = pOemCUIPParam;
        pOemCUIPParam->cOEMOptItems = b.itemPlan.dwCount;
        return S_OK;
    }
    FillPass(b, gate, alerts, dwMode, pOemCUIPParam);
    return S_OK;
}
