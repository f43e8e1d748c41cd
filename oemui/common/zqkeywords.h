// Feature keywords, option keywords and configuration item names that more than one folder uses:
// each is spelled here once. A keyword only one folder uses stays beside its reader.
#pragma once

#include <windows.h>

namespace zqkw {

// ---- features of the core driver's printer model (and of the plug-in's own items)
inline constexpr WCHAR kAccessoryOutputBins[] = L"AccessoryOutputBins";
inline constexpr WCHAR kColorMode[] = L"ColorMode";
inline constexpr WCHAR kDuplexUnit[] = L"DuplexUnit";
inline constexpr WCHAR kFaceControl[] = L"FaceControl";
inline constexpr WCHAR kFolding[] = L"Folding";
inline constexpr WCHAR kInputBin[] = L"InputBin";
inline constexpr WCHAR kInputSlot[] = L"InputSlot";
inline constexpr WCHAR kInstalledMemory[] = L"InstalledMemory";
inline constexpr WCHAR kInstalledRolls[] = L"InstalledRolls";
inline constexpr WCHAR kJCLThriftmode[] = L"JCLThriftmode";
inline constexpr WCHAR kJCLZQDryTime[] = L"JCLZQDryTime";
inline constexpr WCHAR kJCLZQInkVolume[] = L"JCLZQInkVolume";
inline constexpr WCHAR kJCLZQPrintInGrayScale[] = L"JCLZQPrintInGrayScale";
inline constexpr WCHAR kJobRetention[] = L"JobRetention";
inline constexpr WCHAR kMailboxModes[] = L"MailboxModes";
inline constexpr WCHAR kManualDuplex[] = L"ManualDuplex";
inline constexpr WCHAR kMediaType[] = L"MediaType";
inline constexpr WCHAR kMemory[] = L"Memory";
inline constexpr WCHAR kOHTInterleave[] = L"OHTInterleave";
inline constexpr WCHAR kOutputBin[] = L"OutputBin";
inline constexpr WCHAR kPageSize[] = L"PageSize";
inline constexpr WCHAR kPaperSize[] = L"PaperSize";
inline constexpr WCHAR kPrintFinish[] = L"PrintFinish";
inline constexpr WCHAR kPrintQuality[] = L"PrintQuality";
inline constexpr WCHAR kPrintQualityGroup[] = L"PrintQualityGroup";
inline constexpr WCHAR kPSServicesOption[] = L"PSServicesOption";
inline constexpr WCHAR kPunching[] = L"Punching";
inline constexpr WCHAR kResolution[] = L"Resolution";
inline constexpr WCHAR kScaleFromLargePaper[] = L"ScaleFromLargePaper";
inline constexpr WCHAR kStapleLocation[] = L"StapleLocation";
inline constexpr WCHAR kStapling[] = L"Stapling";
inline constexpr WCHAR kTextAsBlack[] = L"TextAsBlack";
inline constexpr WCHAR kThriftmode[] = L"Thriftmode";
inline constexpr WCHAR kTTAsBitmapsSetting[] = L"TTAsBitmapsSetting";
inline constexpr WCHAR kZQAddCustomMedia[] = L"ZQAddCustomMedia";
inline constexpr WCHAR kZQAutoDuplexScaling[] = L"ZQAutoDuplexScaling";
inline constexpr WCHAR kZQAutorotate[] = L"ZQAutorotate";
inline constexpr WCHAR kZQBorderless[] = L"ZQBorderless";
inline constexpr WCHAR kZQBorderLessAutoFit[] = L"ZQBorderLessAutoFit";
inline constexpr WCHAR kZQBorderLessPhoto[] = L"ZQBorderLessPhoto";
inline constexpr WCHAR kZQCenterOnPage[] = L"ZQCenterOnPage";
inline constexpr WCHAR kZQChromix[] = L"ZQChromix";
inline constexpr WCHAR kZQContrast[] = L"ZQContrast";
inline constexpr WCHAR kZQDigitalFlash[] = L"ZQDigitalFlash";
inline constexpr WCHAR kZQDisableAutoCutter[] = L"ZQDisableAutoCutter";
inline constexpr WCHAR kZQDryTime[] = L"ZQDryTime";
inline constexpr WCHAR kZQEmulatePexlonMargins[] = L"ZQEmulatePexlonMargins";
inline constexpr WCHAR kZQInkVolume[] = L"ZQInkVolume";
inline constexpr WCHAR kZQInputColorSpace[] = L"ZQInputColorSpace";
inline constexpr WCHAR kZQInstallableTrayFeatureName[] = L"ZQInstallableTrayFeatureName";
inline constexpr WCHAR kZQLayoutType[] = L"ZQLayoutType";
inline constexpr WCHAR kZQLQJMediaTypeTreeviewCount[] = L"ZQLQJMediaTypeTreeviewCount";
inline constexpr WCHAR kZQMarginType[] = L"ZQMarginType";
inline constexpr WCHAR kZQMaximumDetail[] = L"ZQMaximumDetail";
inline constexpr WCHAR kZQMinimizeMargins[] = L"ZQMinimizeMargins";
inline constexpr WCHAR kZQMirrorPrint[] = L"ZQMirrorPrint";
inline constexpr WCHAR kZQMorePasses[] = L"ZQMorePasses";
inline constexpr WCHAR kZQOptimizeFor[] = L"ZQOptimizeFor";
inline constexpr WCHAR kZQOrientRotate180[] = L"ZQOrientRotate180";
inline constexpr WCHAR kZQPageExceptions[] = L"ZQPageExceptions";
inline constexpr WCHAR kZQPaperSizeTreeviewPopup[] = L"ZQPaperSizeTreeviewPopup";
inline constexpr WCHAR kZQPhotoFix[] = L"ZQPhotoFix";
inline constexpr WCHAR kZQPhotoPaperPrinting[] = L"ZQPhotoPaperPrinting";
inline constexpr WCHAR kZQPosterPrinting[] = L"ZQPosterPrinting";
inline constexpr WCHAR kZQPosterPrintingOptionSUI[] = L"ZQPosterPrintingOptionSUI";
inline constexpr WCHAR kZQPostInsertionKit[] = L"ZQPostInsertionKit";
inline constexpr WCHAR kZQPrintInGrayScale[] = L"ZQPrintInGrayScale";
inline constexpr WCHAR kZQPrintPreview[] = L"ZQPrintPreview";
inline constexpr WCHAR kZQPrintWithMargins[] = L"ZQPrintWithMargins";
inline constexpr WCHAR kZQPunchUnitType[] = L"ZQPunchUnitType";
inline constexpr WCHAR kZQQuietPrinting[] = L"ZQQuietPrinting";
inline constexpr WCHAR kZQRedEyeReduction[] = L"ZQRedEyeReduction";
inline constexpr WCHAR kZQRemoveMarginsBetweenPages[] = L"ZQRemoveMarginsBetweenPages";
inline constexpr WCHAR kZQSaveRollPaper[] = L"ZQSaveRollPaper";
inline constexpr WCHAR kZQSendJobAsBitmap[] = L"ZQSendJobAsBitmap";
inline constexpr WCHAR kZQTransverse[] = L"ZQTransverse";
inline constexpr WCHAR kZQSharpness[] = L"ZQSharpness";
inline constexpr WCHAR kZQSimplifiedUI[] = L"ZQSimplifiedUI";
inline constexpr WCHAR kZQSmoothing[] = L"ZQSmoothing";
inline constexpr WCHAR kZQSymmetricMargins[] = L"ZQSymmetricMargins";
inline constexpr WCHAR kZQTurboMode[] = L"ZQTurboMode";
inline constexpr WCHAR kZQUseAutoDuplexUnit[] = L"ZQUseAutoDuplexUnit";
inline constexpr WCHAR kZQVorevEzuro[] = L"ZQVorevEzuro";

// ---- option keywords
inline constexpr WCHAR kHelpIndexOption[] = L"HelpIndex";
inline constexpr WCHAR kManualFeed[] = L"ManualFeed";
inline constexpr WCHAR kMBX3Mailbox[] = L"MBX3Mailbox";
inline constexpr WCHAR kMBX5Mailbox[] = L"MBX5Mailbox";
inline constexpr WCHAR kMBX7Mailbox[] = L"MBX7Mailbox";
inline constexpr WCHAR kMBX8Mailbox[] = L"MBX8Mailbox";
inline constexpr WCHAR kMultiFunctionFinisher[] = L"MultiFunctionFinisher";
inline constexpr WCHAR kPlainMedia[] = L"PLAIN";
inline constexpr WCHAR kRoll[] = L"Roll";
inline constexpr WCHAR kRoll1[] = L"Roll1";
inline constexpr WCHAR kRoll2[] = L"Roll2";
inline constexpr WCHAR kSheet[] = L"Sheet";
inline constexpr WCHAR kSleekMode24bpp[] = L"SleekMode24bpp";
// Paper keywords that start with these are banner and borderless papers.
inline constexpr WCHAR kBannerPaperPrefix[] = L"ZQ_BANNER";
inline constexpr WCHAR kBorderlessPaperPrefix[] = L"ZQ_BORDERLESS";

// ---- the configuration manager's item names (also the value names of its stored trees and locks)
inline constexpr WCHAR kBackCoverChoice[] = L"BackCoverChoice";
inline constexpr WCHAR kCopiesItem[] = L"Copies";
inline constexpr WCHAR kDuplexItem[] = L"Duplex";
inline constexpr WCHAR kPageOrderItem[] = L"PageOrder";
inline constexpr WCHAR kThriftModeItem[] = L"ThriftMode";
inline constexpr WCHAR kUseDiffFirstPageChoice[] = L"UseDiffFirstPageChoice";
inline constexpr WCHAR kWatermarks[] = L"Watermarks";
inline constexpr WCHAR kWMFont[] = L"WMFont";

}  // namespace zqkw
