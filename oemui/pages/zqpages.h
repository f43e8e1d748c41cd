// Page assembly: which pages a property sheet gets, the block each page receives, the sheet
// record through which pages report, and the table of page classes. A page joins the sheets by
// adding its row to the table (zqpagetable.cpp) together with its class.
#pragma once

#include "common/zqprintercaps.h"
#include "common/zquibase.h"
#include "featurelogic/zqsheetstate.h"

class CZQImageEnhanceDlg;
class CZQQuickSets;
class CZQRollPreview;
class CZQUILogic;
class CZQXmlUiRules;
class IZQAlertGate;
class IZQConstraintGate;
class IZQSettingsExchange;
class IZQPageSlots;
struct SheetRecord;
struct PreviewSettings;
struct PageContext;

// The base of every property page object: its title (shown on the tab) and its sheet position.
class CZQTabBase : public CZQUIBase {
public:
    static constexpr size_t kTitleChars = 50;
    WCHAR m_szTitle[kTitleChars] = {};
    int m_iSheetPosition = -1;

    // The printer of the page: the current OEMCUIPPARAM's, else the sheet's.
    HANDLE HPrinter() const {
        if (m_pCUIParam && m_pCUIParam->hPrinter) return m_pCUIParam->hPrinter;
        return m_pSheetParam ? m_pSheetParam->hPrinter : nullptr;
    }
    // The page's small block from the core driver's heap of its OEMCUIPPARAM (the core driver
    // frees its heap with the sheet); FALSE, with the last error, when there is none.
    BOOL BAllocPageBlock();
    // Paints the page window: the bitmap through its mask (both from the plug-in's module) over
    // the holder control.
    void VPaintLogo(HWND hDlg, WORD wBitmap, WORD wMask, int iHolderId) const;
    // The sample page's record by the rules the layout and finishing pages share, for the page's two
    // preview buttons; FALSE, with last error 13, without the working settings.
    BOOL BFillSharedPreview(PreviewSettings* pRecord, PageContext* pContext);
    // The page comes to the front: its sheet position becomes the highest visited when it stands
    // further along, and the covers the Paper/Quality page chose reach its sample page.
    static void VNoteShown(PageContext* pContext, int iPageId);
    // The Paper/Quality page's cover controls brought in line with the settings, where the sheet
    // has that page.
    static void VRefreshPaperQualityCovers(PageContext* pContext);
};

// The creation parameter of a page (PROPSHEETPAGEW.lParam; pages keep it as DWL_USER). Every
// field is filled for every page. What a page needs of the plug-in object comes as one door per
// object that owns the work, never as the plug-in object itself.
struct PageContext {
    CZQTabBase* pPage;
    CZQUILogic* pLogic;
    CZQRollPreview* pPreview;
    IPrintOemDriverUI* pDriverUI;       // the core driver's helper interface
    PrinterCaps* pCaps;
    CZQXmlUiRules* pRules;
    IZQConstraintGate* pConstraints;    // constraint controllers and checks, command lines
    IZQAlertGate* pAlerts;              // the device status of the alert strips
    IZQSettingsExchange* pExchange;     // synchronisation and export on apply
    CZQQuickSets* pQuickSets;           // the quick-set manager
    const PaperList* pPapers;           // the large-format printer's paper list
    SheetRecord* pSheet;                // the record of the sheet showing the page
    IZQPageSlots* pPages;               // the other pages, for the calls pages make on each other
    CZQImageEnhanceDlg* pImageEnhance;  // the sheet's image-enhancement dialog (null: none)
};

// The page objects of a binding as the other pages reach them: a page calls another page's routines
// on that page's object with that page's context, also while that page has no window (the objects
// live as long as the binding's pages; a page not in the sheet has no context).
class IZQPageSlots {
public:
    // Null when this printer has no such page object, or the sheet no such page.
    virtual CZQTabBase* PPage(int iPageId) const = 0;
    virtual PageContext* PContext(int iPageId) = 0;

protected:
    ~IZQPageSlots() = default;
};

// The page object of that id as the class or the interface asked (pages/zqpageasks.h: what one page
// asks of another), and its context (null when the sheet does not show the page); null when the
// object is not of that kind.
template <class Tab>
Tab* ZQSheetPage(const PageContext* pContext, int iPageId, PageContext** ppPageContext = nullptr) {
    IZQPageSlots* pages = pContext ? pContext->pPages : nullptr;
    if (ppPageContext) *ppPageContext = pages ? pages->PContext(iPageId) : nullptr;
    return pages ? dynamic_cast<Tab*>(pages->PPage(iPageId)) : nullptr;
}

// What page assembly keeps in the sheet's OEMUIPSPARAM.pOEMUserData (from the core driver's heap).
inline constexpr int kMaxSheetPages = 10;
struct SheetRecord {
    PFNCOMPROPSHEET pfnComPropSheet;
    HANDLE hComPropSheet;
    HANDLE ahPages[kMaxSheetPages];  // CPSFUNC_ADD_PROPSHEETPAGEW results, by sheet position
    DWORD dwMode;                    // kSheetDocument or kSheetDevice
};

// A page reports its apply result (CPSUI_OK) for its own page handle; TRUE when the sheet took it.
BOOL ZQReportPageResult(const SheetRecord* pRecord, int iSheetPosition, LONG_PTR lResult);

// Dialog of a page: templates (left-to-right, right-to-left) and procedure.
struct ZQPageTemplate {
    WORD wLtr;
    WORD wRtl;
    DLGPROC pfnDlgProc;
};

// One page class in the table.
struct ZQPageRow {
    int iPageId;  // kPageNone ends the table
    // The page object (operator new); null when this printer has no such page.
    CZQTabBase* (*pfnCreate)(const ZQSheetFacts& facts);
    ZQPageTemplate (*pfnTemplate)(const ZQSheetFacts& facts);
    INT iTitleId;
    PCWSTR pszTitle;  // English title when the string is missing
    // Page-specific work once the page's record is filled, before the sheet gets it; the page may
    // still change the record, and a record left without a dialog procedure leaves the page out
    // (optional).
    void (*pfnBeforeAdd)(PageContext* pContext, PROPSHEETPAGEW* pPage);
    // Page-specific work when the sheet that showed the page goes (optional).
    void (*pfnSheetEnd)(PageContext* pContext);
};

// The table in force, and a replacement (null restores the product's); returns the previous one.
const ZQPageRow* ZQPageTable();
const ZQPageRow* ZQSetPageTable(const ZQPageRow* pRows);
const ZQPageRow* ZQFindPageRow(int iPageId);
