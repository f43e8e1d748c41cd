// One UI instance of the core driver stand-in: the printer, its model, the feature values, the
// devmode, the option items and the bound UI plug-in, from the sheet's INIT to its DESTROY (or for
// the length of one devmode, capabilities or event call).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "zqcorecalls.h"
#include "zqowner.h"
#include "zqoemcontract.h"
#include "zqhostdm.h"
#include "zqmodel.h"
#include "zqplugin.h"
#include "zqprinter.h"

class CZQHostSession;
class CZQHostPage;

// The OEMUIOBJ handed to the plug-in; the core driver's context follows it, as in the core
// drivers (the plug-in only reads the first two fields).
inline constexpr DWORD kZQContextMagic = 0x5A514358;
struct ZQUIContext {
    OEMUIOBJ obj;
    DWORD dwMagic;
    CZQHostSession* pSession;
};

// This module's counts of the calls a plug-in made of it.
ZQCoreCallCounts& ZQCoreCalls();

// The callback table entries of OEMUIPROCS.
BOOL APIENTRY ZQProcGetDriverSetting(PVOID pdriverobj, PCSTR Feature, PVOID pOutput, DWORD cbSize, PDWORD pcbNeeded,
                                     PDWORD pdwOptionsReturned);
BOOL APIENTRY ZQProcUpdateUISetting(PVOID pdriverobj, PVOID pOptItem, DWORD dwPreviousSelection, DWORD dwMode);

// Kinds of option items, as the host's page and the session read them. Items of the plug-in are
// read only within these bounds.
namespace zqitem {
bool IsListType(BYTE type);
bool IsNumberType(BYTE type);
bool IsReadable(const OPTITEM& item);
}  // namespace zqitem

// Current value of a feature: option index, number (range) or text (edit).
struct ZQValue {
    int option = 0;
    LONG number = 0;
    std::wstring text;
};

// One DrvUpdateUISetting report, as the core driver received it.
struct ZQUpdateRecord {
    std::string keyword;
    BYTE pubId = 0;
    LONG sel = 0;
    DWORD previous = 0;
    DWORD mode = 0;
    bool overlay = false;  // the newly selected option carried the warning overlay at call time
    BOOL result = FALSE;
};

class CZQHostSession {
public:
    // mode: OEMCUIP_DOCPROP or OEMCUIP_PRNPROP.
    explicit CZQHostSession(DWORD mode);
    ~CZQHostSession();
    CZQHostSession(const CZQHostSession&) = delete;
    CZQHostSession& operator=(const CZQHostSession&) = delete;

    // ---- printer and model
    // The printer handle is borrowed when given, else the printer is opened by name. Reads the
    // driver files, the model, the stored device settings; values start at the model defaults.
    BOOL BOpenPrinter(HANDLE hPrinter, const wchar_t* printerName);
    // A model without a printer (tests).
    void VUseModel(const zqmodel::Model& model, const wchar_t* printerName);

    // ---- plug-in named by the model. FALSE: the session runs with the host's own items only.
    BOOL BBindPlugin();
    // Directory the plug-in is loaded from when the session has no printer (tests).
    void VSetDriverDir(const std::wstring& dir) { m_driverDir = dir; }
    bool HasPlugin() const { return m_plugin.Loaded(); }
    CZQPluginBinding& Plugin() { return m_plugin; }

    // ---- devmode
    // Defaults, then the input devmode (null: the printer's default devmode; cbIn is the number
    // of bytes really present, 0 when only the devmode's own sizes can tell), and the plug-in's
    // block through DevMode (size, default, then merge or convert of a block it recognises).
    // bStored: without an input devmode start from the printer's default devmode (else from the
    // driver's defaults).
    BOOL BLoadDevmode(const DEVMODEW* pdmIn, size_t cbIn, bool bStored = true);
    DWORD DWDevmodeSize() const;
    // Writes the whole devmode (DWDevmodeSize() bytes).
    BOOL BWriteDevmode(DEVMODEW* pdmOut) const;
    const DEVMODEW& PublicDevmode() const { return m_dmPublic; }
    const std::vector<BYTE>& OemBlock() const { return m_oem; }
    // "Feature=Option" of every feature of a scope, as the devmode and the printer data keep them.
    zqhostdm::Selections Selections(zqmodel::Scope scope) const;

    // ---- option items and the plug-in's CommonUIProp passes
    BOOL BBuildItems(DWORD dwFlags);
    POPTITEM Items() const { return m_pItems; }
    DWORD DriverItemCount() const { return m_cDrvItems; }
    DWORD OemItemCount() const { return m_cOemItems; }
    DWORD ItemCount() const { return m_cDrvItems + m_cOemItems; }
    bool IsDriverItem(DWORD index) const { return index < m_cDrvItems; }
    OEMCUIPPARAM& CommonUIParam() { return m_cuip; }
    POEMUIOBJ UIObject() { return &m_ctx.obj; }
    // The helper interface the plug-in receives.
    IPrintOemDriverUI* DriverUI() const { return m_pDriverUI; }

    // A change the user made in the host's page: commit a driver item, then the plug-in's
    // callback (reason SEL_CHANGED, ECB_CHANGED or EXTPUSH); a push button (reason PUSHBUTTON)
    // calls its own callback instead. Returns the callback's CPSUICB_ACTION_*.
    LONG LItemChanged(DWORD index, LONG oldSel, WORD reason, HWND hDlg);

    // ---- property sheet
    // Our page (unless the plug-in hides the standard UI) and the plug-in's pages.
    BOOL BAddPages(PPROPSHEETUI_INFO pInfo, DWORD dwFlags);
    // The page's Apply: the plug-in's APPLYNOW callback, then the document devmode into the
    // caller's buffer or the device settings into the printer data. FALSE when the plug-in asks
    // to stay.
    BOOL BApply(HWND hDlg);
    bool Applied() const { return m_bApplied; }
    // A sheet asked for while the spooler runs a printer event or an upgrade: no one can answer
    // it there, so it is confirmed as soon as it shows.
    void VSetConfirmAtOnce(bool bConfirm) { m_bConfirmAtOnce = bConfirm; }
    bool ConfirmsAtOnce() const { return m_bConfirmAtOnce; }
    // The plug-in's DESTROY.
    void VEndSheet();
    // The font installer of the device settings, for a printer that takes downloaded fonts: the
    // plug-in's FontInstallerDlgProc with the printer's OEMFONTINSTPARAM (changes allowed unless the
    // sheet is read-only). E_NOTIMPL when there is none to offer (a core driver then shows its own).
    bool OffersFontInstaller() const { return m_dwMode == OEMCUIP_PRNPROP && m_model.softFonts; }
    HRESULT HrRunFontInstaller(HWND hOwner);
    void VSetOutput(DEVMODEW* pdmOut) { m_pdmOut = pdmOut; }
    bool ReadOnly() const { return m_bReadOnly; }
    int StartPage() const { return m_startPage; }
    // "<printer> Printing Preferences" or "<printer> Properties".
    LPWSTR SheetTitle();

    // ---- the core driver's callbacks
    BOOL BGetDriverSetting(PCSTR feature, PVOID pOutput, DWORD cbSize, PDWORD pcbNeeded, PDWORD pdwOptions);
    BOOL BUpdateUISetting(PVOID pOptItem, DWORD dwPreviousSelection, DWORD dwMode);
    static HRESULT HrUpgradeRegistrySetting(HANDLE hPrinter, PCSTR feature, PCSTR option);
    static CZQHostSession* FromContext(PVOID pci);

    // ---- state
    DWORD Mode() const { return m_dwMode; }
    const zqmodel::Model& Model() const { return m_model; }
    const ZQValue& Value(int feature) const { return m_values[static_cast<size_t>(feature)]; }
    // Option keyword, number or text of a feature's current value.
    std::string ValueText(int feature) const;
    BOOL BSetValueText(int feature, const std::string& text);
    const std::wstring& PrinterName() const { return m_printerName; }
    HANDLE Printer() const { return m_hPrinter; }
    const std::wstring& DriverDir() const { return m_driverDir; }
    const std::vector<ZQUpdateRecord>& UpdateLog() const { return m_updateLog; }
    // Display text of a name of the model, or of an option parameter of any item.
    std::wstring NameText(const zqmodel::Name& name) const;
    std::wstring ParamText(DWORD itemIndex, const OPTPARAM& param) const;
    // Texts the host's page shows.
    std::wstring ItemValueText(DWORD index) const;
    std::wstring PluginStatusText() const;


private:
    friend class CZQHostPage;

    bool InScope(const zqmodel::Feature& f) const;
    void VResetValues();
    void VApplySelections(const zqhostdm::Selections& selections, zqmodel::Scope scope);
    void VPublicToValues(const DEVMODEW& dm, DWORD fields);
    void VValuesToPublic();
    void VDefaultPublic();
    int ItemOfFeature(int feature) const;
    int FeatureOfItem(DWORD index) const;
    BOOL BCommitItem(DWORD index);
    void VMarkConflicts();
    bool IsConflicting(int feature, int option) const;
    BOOL BOemDevmode(const BYTE* inBlock, size_t inSize, const DEVMODEW& pubIn);
    BOOL BBuildDriverItems();
    LPWSTR HeapText(const std::wstring& text);
    LPSTR HeapAnsi(const std::string& text);
    void* HeapZero(size_t bytes);
    LONG LCallback(WORD reason, DWORD index, LONG oldSel, HWND hDlg);
    LONG LPushButton(DWORD index, HWND hDlg);
    static LONG_PTR CALLBACK ComPropSheet(HANDLE hComPropSheet, UINT func, LPARAM lParam1, LPARAM lParam2);
    LONG_PTR LComPropSheet(UINT func, LPARAM lParam1, LPARAM lParam2);
    void VBuildPageTemplate();

    DWORD m_dwMode;
    ZQUIContext m_ctx = {};
    OEMUIPROCS m_procs = {};
    IPrintOemDriverUI* m_pDriverUI = nullptr;

    CZQSpoolPrinter m_ownedPrinter;
    HANDLE m_hPrinter = nullptr;
    std::wstring m_printerName;
    std::wstring m_driverDir;
    zqmodel::Model m_model;
    std::vector<ZQValue> m_values;

    DEVMODEW m_dmPublic = {};
    std::vector<BYTE> m_oem;
    DEVMODEW* m_pdmOut = nullptr;

    CZQHeap m_heap;
    POPTITEM m_pItems = nullptr;
    DWORD m_cDrvItems = 0;
    DWORD m_cOemItems = 0;
    std::vector<int> m_itemFeature;  // feature of each driver item
    OEMCUIPPARAM m_cuip = {};
    bool m_bCommonUIProp = false;    // the plug-in's CommonUIProp succeeded

    // Sheet
    struct SheetTag {
        DWORD dwMagic;
        CZQHostSession* pSession;
    } m_sheetTag = {};
    HANDLE m_hComPropSheet = nullptr;
    PFNCOMPROPSHEET m_pfnComPropSheet = nullptr;
    std::vector<HANDLE> m_pages;     // compstui handles of the pages, in sheet order
    int m_startPage = -1;
    OEMUIPSPARAM m_psp = {};
    PROPSHEETUI_INFO m_pluginInfo = {};
    bool m_bPluginSheets = false;
    bool m_bApplied = false;
    bool m_bConfirmAtOnce = false;
    bool m_bReadOnly = false;
    std::vector<WORD> m_template;
    std::wstring m_sheetTitle;
    std::unique_ptr<CZQHostPage> m_pPage;

    CZQPluginBinding m_plugin;
    std::vector<ZQUpdateRecord> m_updateLog;
};
