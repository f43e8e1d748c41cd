// The documented x64 layout of the UI plug-in boundary, as literal numbers: slot of every interface
// method, size and offset of every record field. Included after ONE side's declarations (the
// plug-in's or the core driver stand-in's) so that each side is checked against the documentation,
// never against the other.
#pragma once

#include <cstddef>

// Interface slots, inherited methods first: IUnknown, IPrintOemCommon, IPrintOemUI, IPrintOemUI2.
#define ZQ_OEMUI2_SLOTS(X)                                                                                  \
    X(QueryInterface, 0) X(AddRef, 1) X(Release, 2) X(GetInfo, 3) X(DevMode, 4) X(PublishDriverInterface, 5) \
    X(CommonUIProp, 6) X(DocumentPropertySheets, 7) X(DevicePropertySheets, 8) X(DevQueryPrintEx, 9)         \
    X(DeviceCapabilities, 10) X(UpgradePrinter, 11) X(PrinterEvent, 12) X(DriverEvent, 13)                   \
    X(QueryColorProfile, 14) X(FontInstallerDlgProc, 15) X(UpdateExternalFonts, 16)                         \
    X(QueryJobAttributes, 17) X(HideStandardUI, 18) X(DocumentEvent, 19)

// The core driver's helper interface.
#define ZQ_DRIVERUI_SLOTS(X)                                                                                \
    X(QueryInterface, 0) X(AddRef, 1) X(Release, 2) X(DrvGetDriverSetting, 3) X(DrvUpgradeRegistrySetting, 4) \
    X(DrvUpdateUISetting, 5)

// Records both sides exchange: X(record, size) and F(record, field, offset).
#define ZQ_SHARED_RECORDS(X, F)                                                                              \
    X(OEMCUIPPARAM, 120)                                                                                     \
    F(OEMCUIPPARAM, cbSize, 0) F(OEMCUIPPARAM, poemuiobj, 8) F(OEMCUIPPARAM, hPrinter, 16)                    \
    F(OEMCUIPPARAM, pPrinterName, 24) F(OEMCUIPPARAM, hModule, 32) F(OEMCUIPPARAM, hOEMHeap, 40)               \
    F(OEMCUIPPARAM, pPublicDM, 48) F(OEMCUIPPARAM, pOEMDM, 56) F(OEMCUIPPARAM, dwFlags, 64)                   \
    F(OEMCUIPPARAM, pDrvOptItems, 72) F(OEMCUIPPARAM, cDrvOptItems, 80) F(OEMCUIPPARAM, pOEMOptItems, 88)     \
    F(OEMCUIPPARAM, cOEMOptItems, 96) F(OEMCUIPPARAM, pOEMUserData, 104) F(OEMCUIPPARAM, OEMCUIPCallback, 112) \
    X(OEMUIPSPARAM, 88)                                                                                      \
    F(OEMUIPSPARAM, cbSize, 0) F(OEMUIPSPARAM, poemuiobj, 8) F(OEMUIPSPARAM, hPrinter, 16)                    \
    F(OEMUIPSPARAM, pPrinterName, 24) F(OEMUIPSPARAM, hModule, 32) F(OEMUIPSPARAM, hOEMHeap, 40)               \
    F(OEMUIPSPARAM, pPublicDM, 48) F(OEMUIPSPARAM, pOEMDM, 56) F(OEMUIPSPARAM, pOEMUserData, 64)              \
    F(OEMUIPSPARAM, dwFlags, 72) F(OEMUIPSPARAM, pOemEntry, 80)                                               \
    X(OEMDMPARAM, 72)                                                                                        \
    F(OEMDMPARAM, cbSize, 0) F(OEMDMPARAM, pdriverobj, 8) F(OEMDMPARAM, hPrinter, 16) F(OEMDMPARAM, hModule, 24) \
    F(OEMDMPARAM, pPublicDMIn, 32) F(OEMDMPARAM, pPublicDMOut, 40) F(OEMDMPARAM, pOEMDMIn, 48)                 \
    F(OEMDMPARAM, pOEMDMOut, 56) F(OEMDMPARAM, cbBufSize, 64)                                                 \
    X(OEMUIOBJ, 16) F(OEMUIOBJ, cbSize, 0) F(OEMUIOBJ, pOemUIProcs, 8)                                        \
    X(OEMUIPROCS, 16) F(OEMUIPROCS, DrvGetDriverSetting, 0) F(OEMUIPROCS, DrvUpdateUISetting, 8)               \
    X(OEM_DMEXTRAHEADER, 12)                                                                                 \
    F(OEM_DMEXTRAHEADER, dwSize, 0) F(OEM_DMEXTRAHEADER, dwSignature, 4) F(OEM_DMEXTRAHEADER, dwVersion, 8)   \
    X(OEMFONTINSTPARAM, 48)                                                                                  \
    F(OEMFONTINSTPARAM, cbSize, 0) F(OEMFONTINSTPARAM, hPrinter, 8) F(OEMFONTINSTPARAM, hModule, 16)          \
    F(OEMFONTINSTPARAM, hHeap, 24) F(OEMFONTINSTPARAM, dwFlags, 32) F(OEMFONTINSTPARAM, pFontInstallerName, 40) \
    X(USERDATA, 56)                                                                                          \
    F(USERDATA, dwSize, 0) F(USERDATA, dwItemID, 8) F(USERDATA, pKeyWordName, 16) F(USERDATA, dwReserved, 24) \
    X(DEVQUERYPRINT_INFO, 40)                                                                                \
    F(DEVQUERYPRINT_INFO, cbSize, 0) F(DEVQUERYPRINT_INFO, Level, 2) F(DEVQUERYPRINT_INFO, hPrinter, 8)       \
    F(DEVQUERYPRINT_INFO, pDevMode, 16) F(DEVQUERYPRINT_INFO, pszErrorStr, 24)                               \
    F(DEVQUERYPRINT_INFO, cchErrorStr, 32) F(DEVQUERYPRINT_INFO, cchNeeded, 36)                              \
    X(OPTITEM, 88)                                                                                           \
    F(OPTITEM, cbSize, 0) F(OPTITEM, Level, 2) F(OPTITEM, DlgPageIdx, 3) F(OPTITEM, Flags, 4)                \
    F(OPTITEM, UserData, 8) F(OPTITEM, pName, 16) F(OPTITEM, Sel, 24) F(OPTITEM, pExtChkBox, 32)              \
    F(OPTITEM, pOptType, 40) F(OPTITEM, HelpIndex, 48) F(OPTITEM, DMPubID, 52) F(OPTITEM, UserItemID, 53)     \
    F(OPTITEM, wReserved, 54) F(OPTITEM, pOIExt, 56) F(OPTITEM, dwReserved, 64)                              \
    X(OPTTYPE, 48)                                                                                           \
    F(OPTTYPE, cbSize, 0) F(OPTTYPE, Type, 2) F(OPTTYPE, Flags, 3) F(OPTTYPE, Count, 4)                      \
    F(OPTTYPE, BegCtrlID, 6) F(OPTTYPE, pOptParam, 8) F(OPTTYPE, Style, 16) F(OPTTYPE, wReserved, 18)         \
    F(OPTTYPE, dwReserved, 24)                                                                               \
    X(OPTPARAM, 48)                                                                                          \
    F(OPTPARAM, cbSize, 0) F(OPTPARAM, Flags, 2) F(OPTPARAM, Style, 3) F(OPTPARAM, pData, 8)                 \
    F(OPTPARAM, IconID, 16) F(OPTPARAM, lParam, 24) F(OPTPARAM, dwReserved, 32)                              \
    X(EXTCHKBOX, 64)                                                                                         \
    F(EXTCHKBOX, cbSize, 0) F(EXTCHKBOX, Flags, 2) F(EXTCHKBOX, pTitle, 8) F(EXTCHKBOX, pSeparator, 16)       \
    F(EXTCHKBOX, pCheckedName, 24) F(EXTCHKBOX, IconID, 32) F(EXTCHKBOX, wReserved, 40)                      \
    F(EXTCHKBOX, dwReserved, 48)                                                                             \
    X(EXTPUSH, 64)                                                                                           \
    F(EXTPUSH, cbSize, 0) F(EXTPUSH, Flags, 2) F(EXTPUSH, pTitle, 8) F(EXTPUSH, DlgProc, 16)                 \
    F(EXTPUSH, IconID, 24) F(EXTPUSH, DlgTemplateID, 32) F(EXTPUSH, dwReserved, 40)                          \
    X(DLGPAGE, 40)                                                                                           \
    F(DLGPAGE, cbSize, 0) F(DLGPAGE, Flags, 2) F(DLGPAGE, DlgProc, 8) F(DLGPAGE, pTabName, 16)               \
    F(DLGPAGE, IconID, 24) F(DLGPAGE, DlgTemplateID, 32)                                                     \
    X(PROPSHEETUI_INFO, 48)                                                                                  \
    F(PROPSHEETUI_INFO, cbSize, 0) F(PROPSHEETUI_INFO, Version, 2) F(PROPSHEETUI_INFO, Flags, 4)             \
    F(PROPSHEETUI_INFO, Reason, 6) F(PROPSHEETUI_INFO, hComPropSheet, 8)                                     \
    F(PROPSHEETUI_INFO, pfnComPropSheet, 16) F(PROPSHEETUI_INFO, lParamInit, 24)                             \
    F(PROPSHEETUI_INFO, UserData, 32) F(PROPSHEETUI_INFO, Result, 40)                                        \
    X(CPSUICBPARAM, 64)                                                                                      \
    F(CPSUICBPARAM, cbSize, 0) F(CPSUICBPARAM, Reason, 2) F(CPSUICBPARAM, hDlg, 8)                           \
    F(CPSUICBPARAM, pOptItem, 16) F(CPSUICBPARAM, cOptItem, 24) F(CPSUICBPARAM, Flags, 26)                   \
    F(CPSUICBPARAM, pCurItem, 32) F(CPSUICBPARAM, OldSel, 40) F(CPSUICBPARAM, UserData, 48)                  \
    F(CPSUICBPARAM, Result, 56)

// Records only the core driver's side sees: from the spooler and compstui to the driver's UI.
#define ZQ_DRIVER_RECORDS(X, F)                                                                              \
    X(DOCUMENTPROPERTYHEADER, 48)                                                                            \
    F(DOCUMENTPROPERTYHEADER, cbSize, 0) F(DOCUMENTPROPERTYHEADER, Reserved, 2)                              \
    F(DOCUMENTPROPERTYHEADER, hPrinter, 8) F(DOCUMENTPROPERTYHEADER, pszPrinterName, 16)                     \
    F(DOCUMENTPROPERTYHEADER, pdmIn, 24) F(DOCUMENTPROPERTYHEADER, pdmOut, 32)                               \
    F(DOCUMENTPROPERTYHEADER, cbOut, 40) F(DOCUMENTPROPERTYHEADER, fMode, 44)                                \
    X(DEVICEPROPERTYHEADER, 24)                                                                              \
    F(DEVICEPROPERTYHEADER, cbSize, 0) F(DEVICEPROPERTYHEADER, Flags, 2) F(DEVICEPROPERTYHEADER, hPrinter, 8) \
    F(DEVICEPROPERTYHEADER, pszPrinterName, 16)                                                              \
    X(ATTRIBUTE_INFO_1, 28) F(ATTRIBUTE_INFO_1, dwDrvNumberOfCopies, 24)                                     \
    X(ATTRIBUTE_INFO_2, 32) F(ATTRIBUTE_INFO_2, dwColorOptimization, 28)                                     \
    X(ATTRIBUTE_INFO_3, 36) F(ATTRIBUTE_INFO_3, dmPrintQuality, 32) F(ATTRIBUTE_INFO_3, dmYResolution, 34)   \
    X(DRIVER_UPGRADE_INFO_1, 16) F(DRIVER_UPGRADE_INFO_1, pOldDriverDirectory, 8)                            \
    X(DRIVER_UPGRADE_INFO_2, 104)                                                                            \
    F(DRIVER_UPGRADE_INFO_2, cVersion, 16) F(DRIVER_UPGRADE_INFO_2, pName, 24)                               \
    F(DRIVER_UPGRADE_INFO_2, pszzPreviousNames, 96)

// Identifiers and constants.
#define ZQ_CONTRACT_GUIDS(G)                                                                                 \
    G(CLSID_OEMUI, L"{ABCE80D7-9F46-11D1-882A-00C04FB961EC}")                                                \
    G(IID_IPrintOemUI, L"{C6A7A9D0-774C-11D1-947F-00A0C90640B8}")                                            \
    G(IID_IPrintOemUI2, L"{292515F9-B54B-489B-9275-BAB56821395E}")                                           \
    G(IID_IPrintOemDriverUI, L"{92B05D50-78BC-11D1-9480-00A0C90640B8}")

#define ZQ_CONTRACT_CONSTANTS(C)                                                                             \
    C(OEMGI_GETSIGNATURE, 1) C(OEMGI_GETINTERFACEVERSION, 2) C(OEMGI_GETVERSION, 3)                          \
    C(OEMGI_GETPUBLISHERINFO, 4) C(OEMGI_GETREQUESTEDHELPERINTERFACES, 5) C(OEMDM_SIZE, 1)                   \
    C(OEMDM_DEFAULT, 2) C(OEMDM_CONVERT, 3) C(OEMDM_MERGE, 4) C(OEMCUIP_DOCPROP, 1) C(OEMCUIP_PRNPROP, 2)     \
    C(FG_CANCHANGE, 0x00000080) C(PUSHBUTTON_TYPE_CALLBACK, 1)
