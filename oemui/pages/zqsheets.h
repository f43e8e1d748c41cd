// Sheet building of a binding: the page objects (made when the pages are built, deleted when they
// are built again or when the binding goes), their contexts, the sheet record and the pages added
// through the common property-sheet callback.
#pragma once

#include "featurelogic/zqdevmodesync.h"
#include "pages/dialogs/zqimageenhancedlg.h"
#include "pages/zqpages.h"
#include "pages/zqsheettemplates.h"

class CZQBinding;
class CZQColorCompanion;

// The gates of a binding that every page's context carries.
struct ZQPageGates {
    IZQConstraintGate* pConstraints;
    IZQAlertGate* pAlerts;
    IZQSettingsExchange* pExchange;
};

// It also writes back the watermark pool its Effects page edits, reads the loaded roll's size for the devmodes after a change, through the Paper/Quality
// page when the sheet has one, and lends the pages each other's objects.
class CZQSheetBuilder final : public IZQLoadedRollReader, public IZQSheetWatermarks, public IZQPageSlots {
public:
    CZQSheetBuilder() = default;
    ~CZQSheetBuilder() { VDeleteTabObjects(); }
    CZQSheetBuilder(const CZQSheetBuilder&) = delete;
    CZQSheetBuilder& operator=(const CZQSheetBuilder&) = delete;

    // DocumentPropertySheets / DevicePropertySheets: INIT builds the sheet's pages, SET_RESULT
    // takes a page's result as the sheet's, DESTROY ends the sheet; then the driver's extension
    // modules hear of the sheet.
    HRESULT HrPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, DWORD dwSheet, CZQBinding& binding,
                             const ZQPageGates& gates);

    // The page object and its context of a page id (null when not made).
    CZQTabBase* Tab(int iPageId) const;
    PageContext* ContextForTesting(int iPageId);
    // What pages read of each other: the object, and the context of a page of the sheet.
    CZQTabBase* PPage(int iPageId) const override { return Tab(iPageId); }
    PageContext* PContext(int iPageId) override;
    // The record of the sheet being shown (null between sheets).
    SheetRecord* SheetForTesting() const { return m_pSheetRecord; }
    // The preview every page paints through (null until the pages are made).
    CZQRollPreview* PreviewForTesting() const { return m_pPreview; }
    // Makes every page object of the table and the preview (the old ones go first); deletes them.
    BOOL BCreateTabObjects(const ZQSheetFacts& facts);
    void VDeleteTabObjects();
    BOOL BReadLoadedRollSize() override;
    BOOL BSaveSheetWatermarks() override;

private:
    HRESULT HrSheetStep(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam, DWORD dwSheet, CZQBinding& binding,
                        const ZQPageGates& gates);
    // Lays the page contexts and adds the pages of one sheet; the number of pages added, -1 (nothing
    // left added) when the block is unusable or the sheet refuses a page.
    int IBuildPages(PPROPSHEETUI_INFO pPSUIInfo, DWORD dwSheet, CZQBinding& binding, const ZQPageGates& gates);
    void VRemoveAddedPages(POEMUIPSPARAM pSheetParam, int cAdded, CZQBinding& binding);
    void VEndSheet(PPROPSHEETUI_INFO pPSUIInfo, CZQBinding& binding);
    void VForgetSheetRecord();

    CZQTabBase* m_apTabs[kPageIdCount] = {};
    PageContext m_aContexts[kPageIdCount] = {};
    // Made with the Colour page's object, with its block laid beside the page's.
    CZQColorCompanion* m_pColorCompanion = nullptr;
    PageContext m_colorCompanionContext = {};
    CZQRollPreview* m_pPreview = nullptr;
    SheetRecord* m_pSheetRecord = nullptr;
    PVOID m_pSavedUserData = nullptr;
    // The pages of the sheet being built, laid out to its size.
    CZQSheetTemplates m_templates;
    // The image-enhancement dialog the Paper/Quality and printing-shortcuts pages open.
    CZQImageEnhanceDlg m_imageEnhance;
};
