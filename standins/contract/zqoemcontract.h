// The core driver's side of the UI plug-in boundary, declared as a core driver sees it: records as
// documented for x64 and the plug-in interfaces in their C form (a table of function pointers behind
// lpVtbl, inherited slots first). Written apart from the plug-in's own declarations so that a slip on
// either side fails a test instead of being shared. Never include a header of oemui/ next to this.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <commctrl.h>
#include <winspool.h>
#include <compstui.h>
#include <winddiui.h>

// ---------------------------------------------------------------------------------------------
// Identifiers.
// ---------------------------------------------------------------------------------------------
inline constexpr CLSID CLSID_OEMUI = {0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
inline constexpr IID IID_IPrintOemUI = {0xc6a7a9d0, 0x774c, 0x11d1, {0x94, 0x7f, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};
inline constexpr IID IID_IPrintOemUI2 = {0x292515f9, 0xb54b, 0x489b, {0x92, 0x75, 0xba, 0xb5, 0x68, 0x21, 0x39, 0x5e}};
inline constexpr IID IID_IPrintOemDriverUI = {0x92b05d50, 0x78bc, 0x11d1, {0x94, 0x80, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};

// GetInfo modes.
#define OEMGI_GETSIGNATURE 1
#define OEMGI_GETINTERFACEVERSION 2
#define OEMGI_GETVERSION 3
#define OEMGI_GETPUBLISHERINFO 4
#define OEMGI_GETREQUESTEDHELPERINTERFACES 5
// DevMode modes.
#define OEMDM_SIZE 1
#define OEMDM_DEFAULT 2
#define OEMDM_CONVERT 3
#define OEMDM_MERGE 4
// CommonUIProp modes.
#define OEMCUIP_DOCPROP 1
#define OEMCUIP_PRNPROP 2
// Font installer flag: the user may change the printer's settings.
#define FG_CANCHANGE 0x00000080

// ---------------------------------------------------------------------------------------------
// Records between the core driver and the plug-in.
// ---------------------------------------------------------------------------------------------
typedef BOOL(APIENTRY* PFN_DrvGetDriverSetting)(PVOID pdriverobj, PCSTR Feature, PVOID pOutput, DWORD cbSize,
                                               PDWORD pcbNeeded, PDWORD pdwOptionsReturned);
typedef BOOL(APIENTRY* PFN_DrvUpdateUISetting)(PVOID pdriverobj, PVOID pOptItem, DWORD dwPreviousSelection,
                                              DWORD dwMode);

typedef struct _OEMUIPROCS {
    PFN_DrvGetDriverSetting DrvGetDriverSetting;
    PFN_DrvUpdateUISetting DrvUpdateUISetting;
} OEMUIPROCS, *POEMUIPROCS;

typedef struct _OEMUIOBJ {
    DWORD cbSize;
    POEMUIPROCS pOemUIProcs;
} OEMUIOBJ, *POEMUIOBJ;

struct _OEMCUIPPARAM;
typedef LONG(APIENTRY* OEMCUIPCALLBACK)(PCPSUICBPARAM, struct _OEMCUIPPARAM*);

typedef struct _OEMCUIPPARAM {
    DWORD cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    PWSTR pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    DWORD dwFlags;
    POPTITEM pDrvOptItems;
    DWORD cDrvOptItems;
    POPTITEM pOEMOptItems;
    DWORD cOEMOptItems;
    PVOID pOEMUserData;
    OEMCUIPCALLBACK OEMCUIPCallback;
} OEMCUIPPARAM, *POEMCUIPPARAM;

typedef struct _OEMUIPSPARAM {
    DWORD cbSize;
    POEMUIOBJ poemuiobj;
    HANDLE hPrinter;
    PWSTR pPrinterName;
    HANDLE hModule;
    HANDLE hOEMHeap;
    PDEVMODEW pPublicDM;
    PVOID pOEMDM;
    PVOID pOEMUserData;
    DWORD dwFlags;
    PVOID pOemEntry;
} OEMUIPSPARAM, *POEMUIPSPARAM;

typedef struct _OEMDMPARAM {
    DWORD cbSize;
    PVOID pdriverobj;
    HANDLE hPrinter;
    HANDLE hModule;
    PDEVMODEW pPublicDMIn;
    PDEVMODEW pPublicDMOut;
    PVOID pOEMDMIn;
    PVOID pOEMDMOut;
    DWORD cbBufSize;
} OEMDMPARAM, *POEMDMPARAM;

typedef struct _OEM_DMEXTRAHEADER {
    DWORD dwSize;
    DWORD dwSignature;
    DWORD dwVersion;
} OEM_DMEXTRAHEADER, *POEM_DMEXTRAHEADER;

typedef struct _OEMFONTINSTPARAM {
    DWORD cbSize;
    HANDLE hPrinter;
    HANDLE hModule;
    HANDLE hHeap;
    DWORD dwFlags;
    PWSTR pFontInstallerName;
} OEMFONTINSTPARAM, *POEMFONTINSTPARAM;

// What the core driver hangs on OPTITEM.UserData of its items.
typedef struct _USERDATA {
    DWORD dwSize;
    ULONG_PTR dwItemID;
    PSTR pKeyWordName;
    DWORD dwReserved[8];
} USERDATA, *PUSERDATA;

// ---------------------------------------------------------------------------------------------
// Records between the spooler or compstui and the driver's UI module.
// ---------------------------------------------------------------------------------------------
typedef struct _DEVQUERYPRINT_INFO {
    WORD cbSize;
    WORD Level;
    HANDLE hPrinter;
    DEVMODEW* pDevMode;
    LPWSTR pszErrorStr;
    DWORD cchErrorStr;
    DWORD cchNeeded;
} DEVQUERYPRINT_INFO, *PDEVQUERYPRINT_INFO;

typedef struct _DOCUMENTPROPERTYHEADER {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    PDEVMODEW pdmIn;
    PDEVMODEW pdmOut;
    DWORD cbOut;
    DWORD fMode;
} DOCUMENTPROPERTYHEADER, *PDOCUMENTPROPERTYHEADER;

typedef struct _DEVICEPROPERTYHEADER {
    WORD cbSize;
    WORD Flags;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
} DEVICEPROPERTYHEADER, *PDEVICEPROPERTYHEADER;

typedef struct _DRIVER_UPGRADE_INFO_1 {
    LPWSTR pPrinterName;
    LPWSTR pOldDriverDirectory;
} DRIVER_UPGRADE_INFO_1, *PDRIVER_UPGRADE_INFO_1;

typedef struct _DRIVER_UPGRADE_INFO_2 {
    LPWSTR pPrinterName;
    LPWSTR pOldDriverDirectory;
    DWORD cVersion;
    LPWSTR pName;
    LPWSTR pEnvironment;
    LPWSTR pDriverPath;
    LPWSTR pDataFile;
    LPWSTR pConfigFile;
    LPWSTR pHelpFile;
    LPWSTR pDependentFiles;
    LPWSTR pMonitorName;
    LPWSTR pDefaultDataType;
    LPWSTR pszzPreviousNames;
} DRIVER_UPGRADE_INFO_2, *PDRIVER_UPGRADE_INFO_2;

typedef struct _ATTRIBUTE_INFO_1 {
    DWORD dwJobNumberOfPagesPerSide;
    DWORD dwDrvNumberOfPagesPerSide;
    DWORD dwNupBorderFlags;
    DWORD dwJobPageOrderFlags;
    DWORD dwDrvPageOrderFlags;
    DWORD dwJobNumberOfCopies;
    DWORD dwDrvNumberOfCopies;
} ATTRIBUTE_INFO_1, *PATTRIBUTE_INFO_1;

typedef struct _ATTRIBUTE_INFO_2 {
    DWORD dwJobNumberOfPagesPerSide;
    DWORD dwDrvNumberOfPagesPerSide;
    DWORD dwNupBorderFlags;
    DWORD dwJobPageOrderFlags;
    DWORD dwDrvPageOrderFlags;
    DWORD dwJobNumberOfCopies;
    DWORD dwDrvNumberOfCopies;
    DWORD dwColorOptimization;
} ATTRIBUTE_INFO_2, *PATTRIBUTE_INFO_2;

typedef struct _ATTRIBUTE_INFO_3 {
    DWORD dwJobNumberOfPagesPerSide;
    DWORD dwDrvNumberOfPagesPerSide;
    DWORD dwNupBorderFlags;
    DWORD dwJobPageOrderFlags;
    DWORD dwDrvPageOrderFlags;
    DWORD dwJobNumberOfCopies;
    DWORD dwDrvNumberOfCopies;
    DWORD dwColorOptimization;
    short dmPrintQuality;
    short dmYResolution;
} ATTRIBUTE_INFO_3, *PATTRIBUTE_INFO_3;

// DEVICEPROPERTYHEADER.Flags: the user may not change the printer's settings.
#ifndef DPS_NOPERMISSION
#define DPS_NOPERMISSION 0x0001
#endif
// DrvConvertDevMode modes.
#ifndef CDM_CONVERT
#define CDM_CONVERT 0x01
#endif
#ifndef CDM_CONVERT351
#define CDM_CONVERT351 0x02
#endif
#ifndef CDM_DRIVER_DEFAULT
#define CDM_DRIVER_DEFAULT 0x04
#endif
// ATTRIBUTE_INFO flags.
#ifndef BORDER_PRINT
#define BORDER_PRINT 0x00000000
#endif
#ifndef NO_BORDER_PRINT
#define NO_BORDER_PRINT 0x00000001
#endif
#ifndef BOOKLET_PRINT
#define BOOKLET_PRINT 0x00000002
#endif
// DOCUMENTPROPERTYHEADER.fMode bits beyond the DM_* of wingdi.h.
#ifndef DM_NOPERMISSION
#define DM_NOPERMISSION 0x20
#endif

// ---------------------------------------------------------------------------------------------
// Interfaces in their C form. IPrintOemUI derives from IPrintOemCommon (GetInfo, DevMode), which
// derives from IUnknown; IPrintOemUI2 extends IPrintOemUI.
// ---------------------------------------------------------------------------------------------
typedef struct IPrintOemUI IPrintOemUI;
typedef struct IPrintOemUI2 IPrintOemUI2;
typedef struct IPrintOemDriverUI IPrintOemDriverUI;

#define ZQ_OEMUI_SLOTS(This)                                                                                       \
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(This * self, REFIID riid, void** ppv);                               \
    ULONG(STDMETHODCALLTYPE* AddRef)(This * self);                                                                 \
    ULONG(STDMETHODCALLTYPE* Release)(This * self);                                                                \
    HRESULT(STDMETHODCALLTYPE* GetInfo)(This * self, DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded);  \
    HRESULT(STDMETHODCALLTYPE* DevMode)(This * self, DWORD dwMode, POEMDMPARAM pOemDMParam);                       \
    HRESULT(STDMETHODCALLTYPE* PublishDriverInterface)(This * self, IUnknown * pIUnknown);                         \
    HRESULT(STDMETHODCALLTYPE* CommonUIProp)(This * self, DWORD dwMode, POEMCUIPPARAM pOemCUIPParam);              \
    HRESULT(STDMETHODCALLTYPE* DocumentPropertySheets)(This * self, PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);   \
    HRESULT(STDMETHODCALLTYPE* DevicePropertySheets)(This * self, PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam);     \
    HRESULT(STDMETHODCALLTYPE* DevQueryPrintEx)(This * self, POEMUIOBJ poemuiobj, PDEVQUERYPRINT_INFO pDQPInfo,    \
                                                PDEVMODEW pPublicDM, PVOID pOEMDM);                                \
    HRESULT(STDMETHODCALLTYPE* DeviceCapabilities)(This * self, POEMUIOBJ poemuiobj, HANDLE hPrinter,              \
                                                   PWSTR pDeviceName, WORD wCapability, PVOID pOutput,            \
                                                   PDEVMODEW pPublicDM, PVOID pOEMDM, DWORD dwOld,                \
                                                   DWORD * dwResult);                                              \
    HRESULT(STDMETHODCALLTYPE* UpgradePrinter)(This * self, DWORD dwLevel, PBYTE pDriverUpgradeInfo);              \
    HRESULT(STDMETHODCALLTYPE* PrinterEvent)(This * self, PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags,     \
                                             LPARAM lParam);                                                      \
    HRESULT(STDMETHODCALLTYPE* DriverEvent)(This * self, DWORD dwDriverEvent, DWORD dwLevel, LPBYTE pDriverInfo,   \
                                            LPARAM lParam);                                                       \
    HRESULT(STDMETHODCALLTYPE* QueryColorProfile)(This * self, HANDLE hPrinter, POEMUIOBJ poemuiobj,               \
                                                  PDEVMODEW pPublicDM, PVOID pOEMDM, ULONG ulQueryMode,           \
                                                  VOID * pvProfileData, ULONG * pcbProfileData,                   \
                                                  FLONG * pflProfileData);                                        \
    HRESULT(STDMETHODCALLTYPE* FontInstallerDlgProc)(This * self, HWND hWnd, UINT usMsg, WPARAM wParam,            \
                                                     LPARAM lParam);                                              \
    HRESULT(STDMETHODCALLTYPE* UpdateExternalFonts)(This * self, HANDLE hPrinter, HANDLE hHeap,                    \
                                                    PWSTR pwstrCartridges);

typedef struct IPrintOemUIVtbl {
    ZQ_OEMUI_SLOTS(IPrintOemUI)
} IPrintOemUIVtbl;

struct IPrintOemUI {
    const IPrintOemUIVtbl* lpVtbl;
};

typedef struct IPrintOemUI2Vtbl {
    ZQ_OEMUI_SLOTS(IPrintOemUI2)
    HRESULT(STDMETHODCALLTYPE* QueryJobAttributes)(IPrintOemUI2* self, HANDLE hPrinter, PDEVMODEW pDevmode,
                                                   DWORD dwLevel, LPBYTE lpAttributeInfo);
    HRESULT(STDMETHODCALLTYPE* HideStandardUI)(IPrintOemUI2* self, DWORD dwMode);
    HRESULT(STDMETHODCALLTYPE* DocumentEvent)(IPrintOemUI2* self, HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn,
                                              PVOID pbIn, ULONG cbOut, PVOID pbOut, PINT piResult);
} IPrintOemUI2Vtbl;

struct IPrintOemUI2 {
    const IPrintOemUI2Vtbl* lpVtbl;
};

#undef ZQ_OEMUI_SLOTS

// The core driver's helper interface handed to PublishDriverInterface.
typedef struct IPrintOemDriverUIVtbl {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(IPrintOemDriverUI* self, REFIID riid, void** ppv);
    ULONG(STDMETHODCALLTYPE* AddRef)(IPrintOemDriverUI* self);
    ULONG(STDMETHODCALLTYPE* Release)(IPrintOemDriverUI* self);
    HRESULT(STDMETHODCALLTYPE* DrvGetDriverSetting)(IPrintOemDriverUI* self, PVOID pci, PCSTR Feature, PVOID pOutput,
                                                    DWORD cbSize, PDWORD pcbNeeded, PDWORD pdwOptionsReturned);
    HRESULT(STDMETHODCALLTYPE* DrvUpgradeRegistrySetting)(IPrintOemDriverUI* self, HANDLE hPrinter, PCSTR pFeature,
                                                          PCSTR pOption);
    HRESULT(STDMETHODCALLTYPE* DrvUpdateUISetting)(IPrintOemDriverUI* self, PVOID pci, PVOID pOptItem,
                                                   DWORD dwPreviousSelection, DWORD dwMode);
} IPrintOemDriverUIVtbl;

struct IPrintOemDriverUI {
    const IPrintOemDriverUIVtbl* lpVtbl;
};
