// The page classes the sheets may get. A page joins by adding its row here (before the end
// marker) together with its class; a page without a row is never added.
#include <new>

#include "common/zqhandles.h"
#include "common/zqstorenames.h"
#include "settings/zqdriverdata.h"

#include "pages/about/zqaboutpage.h"
#include "pages/color/zqcolorpage.h"
#include "pages/effects/zqeffectspage.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/finishing/zqfinishingpage.h"
#include "pages/info/zqinfopage.h"
#include "pages/lfeatures/zqlfeaturespage.h"
#include "pages/output/zqoutputpage.h"
#include "pages/jobstorage/zqjobstoragepage.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/services/zqservicespage.h"
#include "pages/shortcuts/zqdesktopshortcuts.h"
#include "pages/shortcuts/zqlargeformatshortcuts.h"
#include "pages/zqpages.h"
#include "res/zqaboutinfoids.h"
#include "res/zqcolorids.h"
#include "res/zqeffectsids.h"
#include "res/zqfeaturesids.h"
#include "res/zqfinishingids.h"
#include "res/zqoutputids.h"
#include "res/zqjobstorageids.h"
#include "res/zqlfeaturesids.h"
#include "res/zqpaperqualityids.h"
#include "res/zqdesktopshortcutsids.h"
#include "res/zqshortcutsids.h"

namespace {

CZQTabBase* CreatePaperQuality(const ZQSheetFacts&) { return new (std::nothrow) CZQPaperQualityTab(); }
// The custom paper-size limits follow the loaded paper from the start.
void PaperQualityBeforeAdd(PageContext* pContext, PROPSHEETPAGEW*) {
    static_cast<CZQPaperQualityTab*>(pContext->pPage)->BSetCustomSizeLimits(pContext);
}
ZQPageTemplate PaperQualityTemplate(const ZQSheetFacts&) {
    return {IDD_DLG_PAPER_MEDIA, IDD_DLG_PAPER_MEDIA_RTL, &PaperQualityPageDlgProc};
}
CZQTabBase* CreateEffects(const ZQSheetFacts&) { return new (std::nothrow) CZQEffectsTab(); }
// The sheet's watermark pool, once the plug-in's items of this call are built: read into the page's
// manager (a user who may not write the printer's data has his own), and the settings naming a
// watermark the pool lacks start without one.
void EffectsBeforeAdd(PageContext* pContext, PROPSHEETPAGEW*) {
    auto* tab = static_cast<CZQEffectsTab*>(pContext->pPage);
    POEMCUIPPARAM param = tab->CUIParam();
    if (!param) return;
    HANDLE printer = nullptr;
    BOOL reopened = FALSE;
    const BOOL restricted = CZQCommon::BIsPrinterDataReadOnly(param->hPrinter, param->pPrinterName, param->pPublicDM,
                                                              &printer, &reopened);
    CZQPrinterHandle reopenedPrinter(reopened ? printer : nullptr);
    tab->VLoadWatermarks(static_cast<ZQUIDevmode*>(param->pOEMDM), param, restricted);
    tab->VInitWatermarkSettings(pContext);
}
void EffectsSheetEnd(PageContext* pContext) { static_cast<CZQEffectsTab*>(pContext->pPage)->VFreeWatermarkLists(); }
ZQPageTemplate EffectsTemplate(const ZQSheetFacts&) {
    return {IDD_DLG_EFFECTSPAGE, IDD_DLG_EFFECTSPAGE_RTL, &EffectsPageDlgProc};
}
CZQTabBase* CreateFinishing(const ZQSheetFacts&) { return new (std::nothrow) CZQFinishingTab(); }
ZQPageTemplate FinishingTemplate(const ZQSheetFacts&) {
    return {IDD_DLG_FINISHINGPAGE, IDD_DLG_FINISHINGPAGE_RTL, &FinishingPageDlgProc};
}
CZQTabBase* CreateFeatures(const ZQSheetFacts&) { return new (std::nothrow) CZQFeaturesTab(); }
ZQPageTemplate FeaturesTemplate(const ZQSheetFacts&) {
    return {IDD_DLG_FEATURESPAGE, IDD_DLG_FEATURESPAGE_RTL, &FeaturesPageDlgProc};
}
CZQTabBase* CreateLargeFeatures(const ZQSheetFacts&) { return new (std::nothrow) CZQLargeFormatFeaturesTab(); }
ZQPageTemplate LargeFeaturesTemplate(const ZQSheetFacts&) {
    return {IDD_DLG_FEATURESPAGELQJ, IDD_DLG_FEATURESPAGELQJ_RTL, &LargeFormatFeaturesPageDlgProc};
}
CZQTabBase* CreateOutput(const ZQSheetFacts&) { return new (std::nothrow) CZQOutputTab(); }
ZQPageTemplate OutputTemplate(const ZQSheetFacts&) { return {IDD_DLG_OUTPUT, IDD_DLG_OUTPUT_RTL, &OutputPageDlgProc}; }
CZQTabBase* CreateJobStorage(const ZQSheetFacts&) { return new (std::nothrow) CZQJobStorageTab(); }
ZQPageTemplate JobStorageTemplate(const ZQSheetFacts&) {
    return {IDD_DLG_JOBSTORAGEPAGE, IDD_DLG_JOBSTORAGEPAGE_RTL, &JobStoragePageDlgProc};
}
CZQTabBase* CreateColor(const ZQSheetFacts&) { return new (std::nothrow) CZQColorTab(); }
// Large-format PostScript printers get the page with the Task Presets group; a simplified interface
// its own page.
ZQPageTemplate ColorTemplate(const ZQSheetFacts& facts) {
    if (facts.bLargeFormat && facts.dwPdl == 3)
        return {IDD_DLG_COLORPAGE_LQJ, IDD_DLG_COLORPAGE_LQJ_RTL, &ColorPageDlgProc};
    if (facts.bSimplifiedUI) return {IDD_DLG_COLORPAGE_SUI, IDD_DLG_COLORPAGE_SUI_RTL, &ColorPageDlgProc};
    return {IDD_DLG_COLORPAGE, IDD_DLG_COLORPAGE_RTL, &ColorPageDlgProc};
}
// While the printer is being installed, the settings it starts with name the first document type
// they match (or the custom settings), before any window exists.
void ShortcutsBeforeAdd(PageContext* pContext, PROPSHEETPAGEW* pPage) {
    const POEMCUIPPARAM param = pContext->pPage->CUIParam();
    DWORD installing = 0;
    if (!param || !CZQDriverData::BGetPrinterDataDword(param->hPrinter, zqsettings::kInstallationComplete, &installing) ||
        installing != 1)
        return;
    if (pPage && pPage->pfnDlgProc == &ShortcutsPageDlgProc)
        static_cast<CZQShortcutsTab*>(pContext->pPage)->VDetectCurrentShortcut(pContext);
    else
        static_cast<CZQLargeFormatShortcutsTab*>(pContext->pPage)->VDetectCurrentShortcut(pContext);
}
// Printers with the simplified interface get the large-format Printing Shortcuts page, the others
// the desktop page.
CZQTabBase* CreateShortcuts(const ZQSheetFacts& facts) {
    if (!facts.bSimplifiedUI && !facts.bDocUISUI) return new (std::nothrow) CZQShortcutsTab();
    return new (std::nothrow) CZQLargeFormatShortcutsTab();
}
ZQPageTemplate ShortcutsTemplate(const ZQSheetFacts& facts) {
    if (!facts.bSimplifiedUI && !facts.bDocUISUI)
        return {IDD_DLG_DOC_CENTRIC_UI, IDD_DLG_DOC_CENTRIC_UI_RTL, &ShortcutsPageDlgProc};
    return {IDD_DLG_DOC_CENTRIC_UI_SUI, IDD_DLG_DOC_CENTRIC_UI_SUI_RTL, &LargeFormatShortcutsPageDlgProc};
}
CZQTabBase* CreateAbout(const ZQSheetFacts&) { return new (std::nothrow) CZQAboutPage(); }
ZQPageTemplate AboutTemplate(const ZQSheetFacts&) {
    return {IDD_DLG_ABOUTPAGE, IDD_DLG_ABOUTPAGE_RTL, &AboutPageDlgProc};
}
CZQTabBase* CreateInfo(const ZQSheetFacts&) { return new (std::nothrow) CZQInfoPage(); }
ZQPageTemplate InfoTemplate(const ZQSheetFacts&) {
    return {IDD_DLG_KESTRAPAGE, IDD_DLG_KESTRAPAGE_RTL, &InfoPageDlgProc};
}
// The services library supplies the dialog of its page, and its title: the row has neither.
CZQTabBase* CreateServices(const ZQSheetFacts&) { return new (std::nothrow) CZQServicesPage(); }
ZQPageTemplate ServicesTemplate(const ZQSheetFacts&) { return {0, 0, nullptr}; }
void ServicesBeforeAdd(PageContext* pContext, PROPSHEETPAGEW* pPage) {
    static_cast<CZQServicesPage*>(pContext->pPage)->BInitServices(pPage);
}
void ServicesSheetEnd(PageContext* pContext) {
    static_cast<CZQServicesPage*>(pContext->pPage)->VEndServices();
}

const ZQPageRow kPageRows[] = {
    {kPageShortcuts, &CreateShortcuts, &ShortcutsTemplate, CZQLargeFormatShortcutsTab::kTitleId, L"Printing Shortcuts",
     &ShortcutsBeforeAdd, nullptr},
    {kPagePaperQuality, &CreatePaperQuality, &PaperQualityTemplate, 832, L"Paper/Quality", &PaperQualityBeforeAdd,
     nullptr},
    {kPageEffects, &CreateEffects, &EffectsTemplate, 812, L"Effects", &EffectsBeforeAdd, &EffectsSheetEnd},
    {kPageFinishing, &CreateFinishing, &FinishingTemplate, 813, L"Finishing", nullptr, nullptr},
    {kPageFeatures, &CreateFeatures, &FeaturesTemplate, 5198, L"Features", nullptr, nullptr},
    {kPageLargeFormatFeatures, &CreateLargeFeatures, &LargeFeaturesTemplate, CZQLargeFormatFeaturesTab::kTitleId,
     L"Features", nullptr, nullptr},
    {kPageOutput, &CreateOutput, &OutputTemplate, 4029, L"Output", nullptr, nullptr},
    {kPageJobStorage, &CreateJobStorage, &JobStorageTemplate, CZQJobStorageTab::kTitleId, L"Job Storage", nullptr,
     nullptr},
    {kPageColor, &CreateColor, &ColorTemplate, CZQColorTab::kTitleId, L"Color", nullptr, nullptr},
    {kPageAbout, &CreateAbout, &AboutTemplate, 866, L"About", nullptr, nullptr},
    {kPageInfo, &CreateInfo, &InfoTemplate, 5468, L"Settings Information", nullptr, nullptr},
    {kPageServices, &CreateServices, &ServicesTemplate, -1, L"Services", &ServicesBeforeAdd, &ServicesSheetEnd},
    {kPageNone, nullptr, nullptr, 0, nullptr, nullptr, nullptr},
};

const ZQPageRow* g_pRows = kPageRows;

}  // namespace

const ZQPageRow* ZQPageTable() { return g_pRows; }

const ZQPageRow* ZQSetPageTable(const ZQPageRow* pRows) {
    const ZQPageRow* previous = g_pRows;
    g_pRows = pRows ? pRows : kPageRows;
    return previous == kPageRows ? nullptr : previous;
}

const ZQPageRow* ZQFindPageRow(int iPageId) {
    for (const ZQPageRow* row = g_pRows; row->iPageId != kPageNone; ++row)
        if (row->iPageId == iPageId) return row;
    return nullptr;
}
