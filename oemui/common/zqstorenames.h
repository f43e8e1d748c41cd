// The name of every value the plug-in keeps or reads outside its devmode: in the printer's data,
// under the current user's keys and under the maker's machine keys, each with its type and who
// writes it. Nothing else spells these names.
//
// Which door to use:
// - texts, numbers and whole trees of the printer's data: CZQDriverData (settings/zqdriverdata.h);
// - printer data of any other type, and root values that must change together:
//   common/zqprinterdata.h;
// - per-user values (the restricted user's key, the printer's data in its place): CZQUIBase's
//   BReadUserSetting / BWriteUserSetting; values of a conversion run's key: CZQCommon's
//   BReadUserRegValue and the run's own routines.
// The header lives in common/ because the printer events and the printer readers there name
// stored values too.
#pragma once

#include <windows.h>

#include "common/zqkeywords.h"

namespace zqsettings {

// ---- printer data: key trees

// The root, which GetPrinterDataW and SetPrinterDataW reach and the spooler keeps under this key;
// deleting and listing root values go through it by name.
inline constexpr WCHAR kRootKey[] = L"PrinterDriverData";
// The configuration manager's settings as keyword=value texts (REG_SZ) and the administrator's
// locks (REG_SZ "Lock"): written by the import at installation and upgrade (settings/zqconfigimport).
inline constexpr WCHAR kDriverDataPhysical[] = L"DMCDriverData\\Physical";
inline constexpr WCHAR kDriverDataDevModeItems[] = L"DMCDriverData\\Printing\\DevModeItems";
inline constexpr WCHAR kDriverDataOptItems[] = L"DMCDriverData\\Printing\\OptItems";
inline constexpr WCHAR kLockDataPrinting[] = L"DMCLockData\\Printing";
inline constexpr WCHAR kLockDataPhysical[] = L"DMCLockData\\Physical";
// Locks the import could not store even on a second try (REG_MULTI_SZ of "<lock key>\<name>"), written by
// the import: the readers of the locks take each as locked. An import that stores all its locks empties it.
inline constexpr WCHAR kUnstoredLocks[] = L"DMCUnstoredLocks";
// The per-user GUID (REG_SZ), written by CZQUIBase::BCreateRestrictedUserGuid.
inline constexpr WCHAR kPresetRootKey[] = L"ZQPresetRoot";
inline constexpr WCHAR kRestrictedUserGuid[] = L"ZQRestrictedUserGuid";
// The quick sets: "PresetPool:<n>" values (REG_BINARY, formats/zqquickset.h) and the next index
// (REG_BINARY, four bytes) under the preset root, written by the quick-set manager; a restricted
// user's own under the same names below the user's key.
inline constexpr WCHAR kPresetPoolKey[] = L"ZQPresetRoot\\PresetPoolData";
inline constexpr WCHAR kPresetPoolMaxIndex[] = L"PresetPoolMaxIndexCount";
inline constexpr WCHAR kPresetPoolValuePrefix[] = L"PresetPool:";
// The large-format page's printing shortcuts: one value per shortcut, named by it (REG_BINARY,
// formats/zqshortcut.h), written by the page's shortcut store; a restricted user's own under the same
// key below his key.
inline constexpr WCHAR kShortcutPoolKey[] = L"ZQPresetRoot\\CustomShortcutPoolData";
// The watermark pool: "WatermarkPool:<n>" records (REG_BINARY, formats/zqwatermarkrecord.h), n from 0,
// a deleted one's n taken by the next new one (readers take every value of the key, whatever its
// name), written by the watermark manager (featurelogic/zqwatermarks) and by the import of the
// configuration manager's watermark (featurelogic/zquilogic_import); a restricted user's own pool is
// the same key below his key (the current user's kMakerKey + GUID).
inline constexpr WCHAR kWatermarkPoolKey[] = L"ZQPresetRoot\\WatermarkPoolData";
inline constexpr WCHAR kWatermarkPoolValuePrefix[] = L"WatermarkPool:";
// The printer's paper list, written by its installer: one subkey per paper with its texts (REG_SZ)
// and support numbers (REG_DWORD), and one subkey per print-quality profile below it.
inline constexpr WCHAR kPaperListKey[] = L"PaperList";
inline constexpr WCHAR kPaperName[] = L"Name";  // paper and profile
inline constexpr WCHAR kPaperText[] = L"Text";
inline constexpr WCHAR kPaperCode[] = L"Code";
inline constexpr WCHAR kPaperDefaultQuality[] = L"DefaultQuality";
inline constexpr WCHAR kPaperGlossEnhancerSupport[] = L"GlossEnhancerSupport";
inline constexpr WCHAR kPaperExtraPassesSupport[] = L"ExtraPassesSupport";
inline constexpr WCHAR kPaperMaxDetailSupport[] = L"MaxDetailSupport";
inline constexpr WCHAR kPaperCutterSupport[] = L"CutterSupport";
inline constexpr WCHAR kProfileQualityLevel[] = L"QualityLevel";
inline constexpr WCHAR kProfileMaxDetail[] = L"MaxDetail";
inline constexpr WCHAR kProfileGlossEnhancer[] = L"GlossEnhancer";
inline constexpr WCHAR kProfileExtraPasses[] = L"ExtraPasses";
// The spooler's published driver name (REG_SZ), written by the spooler.
inline constexpr WCHAR kDsSpoolerKey[] = L"DsSpooler";
inline constexpr WCHAR kDsDriverName[] = L"driverName";

// ---- printer data: root values
inline constexpr WCHAR kInstallationComplete[] = L"InstallationComplete";  // REG_DWORD, the import
inline constexpr WCHAR kDMCStatus[] = L"DMCStatus";          // REG_DWORD 0-3, the import and the apply pass
inline constexpr WCHAR kPrnPropChng[] = L"PrnPropChng";      // REG_DWORD, the apply pass
inline constexpr WCHAR kStale[] = L"Stale";                  // REG_SZ kTrue / kFalse, the import and the export
inline constexpr WCHAR kDMCExist[] = L"DMCExist";            // REG_SZ kTrue, the import
inline constexpr WCHAR kDMCExportOnly[] = L"DMCExportOnly";  // REG_SZ kTrue, the configuration-file install
inline constexpr WCHAR kAlwaysExport[] = L"AlwaysExport";    // REG_DWORD, the conversion run
inline constexpr WCHAR kExportTicketLocation[] = L"ExportTicketLocation";  // REG_BINARY path, the conversion run
// What the printer held of the two values above before a conversion run set them, and which run
// did (REG_BINARY, formats/zqexportrecord.h), written by the conversion run.
inline constexpr WCHAR kExportRunRecord[] = L"OndrelExportRecord";
// The printer's status monitor's text (REG_BINARY, narrow), written by the status monitor.
inline constexpr WCHAR kStatusString[] = L"ZQSTSSTR";
// The printer events (common/zqevents): the tray records (REG_BINARY) and their count (REG_DWORD),
// written together; the media records (REG_BINARY); the serial number (REG_SZ).
inline constexpr WCHAR kTrayCount[] = L"ZQTrayCount";
inline constexpr WCHAR kTrayRecords[] = L"ZQTRAYINFOREGDATA";
inline constexpr WCHAR kMediaRecords[] = L"ZQMEDIAINFOREGDATA";
inline constexpr WCHAR kSerialNumber[] = L"SerialNumber";
// The watermarks of versions before the pool: a count (4 bytes) and "ZQWATERMARKDATA<n>" for n
// below it; the watermark manager deletes them.
inline constexpr WCHAR kLegacyWatermarkCount[] = L"ZQWMREGDATA";
inline constexpr WCHAR kLegacyWatermarkPrefix[] = L"ZQWATERMARKDATA";
// The web address of the printer (REG_SZ "address,0"), written by the network address finder.
inline constexpr WCHAR kEwsAddress[] = L"ZQEWSIPAddress";
// The font installer's font file (REG_SZ path).
inline constexpr WCHAR kExternalFontFile[] = L"ExternalFontFile";
// The installation date (REG_SZ), written by the installer; the date of the last device
// configuration (REG_SZ), written by "Update Now".
inline constexpr WCHAR kInstallDate[] = L"InstallDate";
inline constexpr WCHAR kNotifyDate[] = L"NotifyDate";
// The media-type pop-up's number (REG_DWORD): named after its feature, written 0 by the
// installation, and by the Paper/Quality and Features pages when missing.
inline constexpr PCWSTR kPopupMediaType = zqkw::kMediaType;
// The user-interface language the Features page last followed (REG_DWORD, the LANGID): written by
// the installation and by that page when the language changed.
inline constexpr WCHAR kUiLanguage[] = L"ZQLangID";

// ---- device answers: "Update Now"'s store under the restricted user's key (per user, the
// printer's data in its place); texts REG_SZ, numbers REG_DWORD, other octets REG_BINARY, lists
// REG_MULTI_SZ. The device object table (device/zqdeviceobjects) names the answers it asks for;
// the ones read by name are these.
inline constexpr WCHAR kAnswerStoreKey[] = L"ZQBIDIInfo";
inline constexpr WCHAR kEACStatus[] = L"EACStatus";        // REG_DWORD, "Update Now"
inline constexpr WCHAR kDevSetUpdate[] = L"DevSetUpdate";  // REG_DWORD 1 while fresh, "Update Now"
inline constexpr WCHAR kAnswerModelName[] = L"MODEL_NAME";
inline constexpr WCHAR kAnswerSerialNumber[] = L"SERIAL_NUMBER";
inline constexpr WCHAR kAnswerMediaNamesMask[] = L"MEDIA-NAMES-AVAILABLE";
inline constexpr WCHAR kAnswerMemorySize[] = L"hrMemorySize";
inline constexpr WCHAR kAnswerMediaPath[] = L"prtMediaPathType2";
inline constexpr WCHAR kAnswerLocalization[] = L"prtConsoleLocalization";
// Numbered answers: "TRAY<n>-<field>", the user-defined media names, the hard disks and the
// inputs' and outputs' names.
inline constexpr WCHAR kTrayAnswerFormat[] = L"TRAY%d-%ls";
inline constexpr WCHAR kTrayInstalled[] = L"INSTALLED";
inline constexpr WCHAR kTrayMediaSizeLoaded[] = L"MEDIA-SIZE-LOADED";
inline constexpr WCHAR kTrayMediaVendor[] = L"MEDIA-VENDOR";
inline constexpr WCHAR kTrayMediaName[] = L"MEDIA-NAME";
inline constexpr WCHAR kTrayMediaType[] = L"MEDIA-TYPE";
inline constexpr WCHAR kTrayCustomMediaWidth[] = L"CUSTOM-MEDIA-WIDTH";
inline constexpr WCHAR kMediaNameFormat[] = L"MEDIA%d-NAME";
inline constexpr WCHAR kDiskMediaFormat[] = L"hrDiskStorageMedia%d";
inline constexpr WCHAR kDiskModelFormat[] = L"PHD%d-MODEL";
inline constexpr WCHAR kDiskMemoryFormat[] = L"PHD%d-DEVICE-MEMORY";
inline constexpr WCHAR kDiskOptionCountFormat[] = L"PHD%d-NUMBER-OF-OPTIONS";
inline constexpr WCHAR kDiskOptionModelFormat[] = L"PHD%d-OPTIONS-MODEL-%d";
inline constexpr WCHAR kInputModelFormat[] = L"prtInputModel%d";
inline constexpr WCHAR kInputCapacityFormat[] = L"prtInputMaxCapacity%d";
inline constexpr WCHAR kOutputNameFormat[] = L"prtOutputName%d";
// Lists "Update Now" keeps (REG_MULTI_SZ) for the pages; an old copy in the printer's data goes.
inline constexpr WCHAR kOutputBinNames[] = L"OutputBinNames";
inline constexpr WCHAR kUserDefinedMedia[] = L"UserDefinedMedia";
// A roll source's loaded paper: "<source><field>" (REG_SZ), written by "Update Now" both as an
// answer and at the printer data's root.
inline constexpr WCHAR kRollFieldName[] = L"Name";
inline constexpr WCHAR kRollFieldType[] = L"Type";
inline constexpr WCHAR kRollFieldWidth[] = L"Width";
inline constexpr WCHAR kRollFieldCustomWidth[] = L"CustomWidth";
inline constexpr const WCHAR* kRollFields[] = {kRollFieldName, kRollFieldType, kRollFieldWidth, kRollFieldCustomWidth};

// ---- the current user's keys
// The maker's key: the restricted user's key "<maker key><GUID>" below it, and its other keys.
inline constexpr WCHAR kMakerKey[] = L"Software\\Quorvane\\";
// The same for the default user (under HKEY_USERS).
inline constexpr WCHAR kDefaultUserMakerKey[] = L".DEFAULT\\Software\\Quorvane\\";
// Whether the job-storage dialog shows (REG_BINARY), under the restricted user's key; written by
// the devmode sync.
inline constexpr WCHAR kShowJobStorageDialog[] = L"ShowJobStorageDlg";
// The trace switch (REG_DWORD), written by hand.
inline constexpr WCHAR kTraceSwitchKey[] = L"Software\\Quorvane";
inline constexpr WCHAR kTraceSwitch[] = L"ZQTrace";
// The maker's add-paper program's last choice (REG_DWORD), written by that program.
inline constexpr WCHAR kAddNewPaperKey[] = L"Software\\Quorvane\\AddNewPaper\\MediaList";
inline constexpr WCHAR kCustomMediaSelected[] = L"CustomMediaSelected";
// The maker's add-paper program (REG_SZ "Path", under HKEY_LOCAL_MACHINE), written by its installer.
inline constexpr WCHAR kAddNewPaperToolKey[] = L"SOFTWARE\\Quorvane\\AddNewPaper";
inline constexpr WCHAR kAddNewPaperToolPath[] = L"Path";
// A driver's extension list name for the user (REG_SZ), "<key><driver>", written by the
// extension hooks from the driver's machine value kDEMFileName.
inline constexpr WCHAR kUserExtensionListKey[] = L"Software\\Quorvane\\DEMFileData\\";
inline constexpr WCHAR kUserExtensionList[] = L"DEMFile";
// A conversion run's key "<prefix><run id>", written by the conversion run: its flags (REG_SZ
// "TRUE"), its ticket (REG_SZ), the extension switch (REG_DWORD) and the snapshot trees below it
// (REG_SZ texts).
inline constexpr WCHAR kRunKeyPrefix[] = L"Software\\Quorvane\\ZQProcID";
inline constexpr WCHAR kProcessingOndrel[] = L"ProcessingOndrel";
inline constexpr WCHAR kProcessingConvertDevmode[] = L"ProcessingConvertDevmode";
inline constexpr WCHAR kRunFlagOn[] = L"TRUE";
inline constexpr WCHAR kDisableDPSExtension[] = L"DisableDPSExtension";
inline constexpr WCHAR kTicketManager[] = L"TicketManager";
inline constexpr WCHAR kTicketType[] = L"TicketType";
inline constexpr WCHAR kTicketPrinterName[] = L"PrinterName";
inline constexpr WCHAR kTicketPath[] = L"TicketPath";
inline constexpr WCHAR kOndrelRoot[] = L"OndrelDriverData";
inline constexpr WCHAR kOndrelPrinting[] = L"OndrelDriverData\\Printing";
inline constexpr WCHAR kOndrelPhysical[] = L"OndrelDriverData\\Physical";
inline constexpr WCHAR kOndrelDevModeItems[] = L"OndrelDriverData\\Printing\\DevModeItems";
inline constexpr WCHAR kOndrelOptItems[] = L"OndrelDriverData\\Printing\\OptItems";

// ---- the machine's keys (read only, but for the borderless forms and the configuration file)
// The spooler's printers: a printer's configuration file (REG_BINARY path in the system code page,
// written by the configuration-file install) and its printer data as the registry holds it.
inline constexpr WCHAR kMachinePrintersKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
inline constexpr WCHAR kConfigFile[] = L"ConfigFile";
// A driver's machine key, from its environment and name; its switches (REG_DWORD 1 on) and its
// extension list name (REG_SZ), written by the driver's installer.
inline constexpr WCHAR kDriverKeyFormat[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\%ls\\Drivers\\version-3\\%ls";
inline constexpr WCHAR kHideNativeUI[] = L"HideNativeUI";
inline constexpr WCHAR kDEMFileName[] = L"DEMFileName";
// Whether the maker's paper tool updated a printer's paper list (REG_DWORD), under the machine's
// copy of that list.
inline constexpr WCHAR kPaperListUpdated[] = L"IsUpdated";
// Forms the plug-in made borderless (REG_SZ kBorderlessFormData), under the maker's machine key.
inline constexpr WCHAR kBorderlessFormsParent[] = L"ZQ Unidrv";
inline constexpr WCHAR kBorderlessFormsKey[] = L"ZQ Unidrv\\Borderless Forms";
inline constexpr WCHAR kBorderlessFormData[] = L"Borderless";
// The maker's programs, written by their installers: the toolbox of a driver (REG_SZ, "<key><driver>"),
// the printing help, a printer's own toolbox ("<key><printer>"), the colour-management program, the
// printer-care service's state.
inline constexpr WCHAR kToolboxKey[] = L"SOFTWARE\\Quorvane\\ZQTVQ Printing System Config\\";
inline constexpr WCHAR kToolboxPath[] = L"ToolboxPath";
inline constexpr WCHAR kPrintingHelpKey[] = L"Software\\Quorvane\\PrintingHelp";
inline constexpr WCHAR kPrintingHelpProgram[] = L"HelpProgram";
inline constexpr WCHAR kMakerPrintersKey[] = L"SOFTWARE\\Quorvane\\ZQ Printers\\";
inline constexpr WCHAR kMakerPrinterExecutable[] = L"Executable";
inline constexpr WCHAR kColorManagementKey[] = L"SOFTWARE\\Quorvane\\ZQ Tintora";
inline constexpr WCHAR kColorManagementProgram[] = L"RunCC";
inline constexpr WCHAR kPrinterCareKey[] = L"Software\\Quorvane\\ZQ Mendrix";
inline constexpr WCHAR kPrinterCareStatus[] = L"Status";

// ---- texts of the values above
inline constexpr WCHAR kTrue[] = L"True";
inline constexpr WCHAR kFalse[] = L"False";
inline constexpr WCHAR kLock[] = L"Lock";  // data of a lock record

}  // namespace zqsettings
