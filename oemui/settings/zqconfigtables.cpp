#include "settings/zqconfigtables.h"

#include "common/zqkeywords.h"
#include "common/zqstrings.h"

namespace zqcfgmap {
namespace {

template <size_t N>
constexpr ConfigValueTable Table(const ConfigValueRow (&rows)[N]) {
    return {rows, static_cast<int>(N)};
}

// ---- value tables (configuration value = driver keyword)
constexpr ConfigValueRow kOnOffRows[] = {
    {L"ON", L"TRUE", 0},
    {L"OFF", L"FALSE", 0},
};
constexpr ConfigValueRow kRasterizationRows[] = {
    {L"RasterizationAuto", L"Automatic", 0},
    {L"RasterizationVector", L"ZQGL2MODE", 0},
    {L"RasterizationGRaster", L"RASTERMODE", 0},
    {L"RasterizationRaster", L"Send Page as Raster", 0},
};
constexpr ConfigValueRow kPaperSizeRows[] = {
    {L"DBL_JAPANESE_POSTCARD", L"DBL_JAPANESE_POSTCARD_ROTATED", 0},
    {L"B4", L"B4_ISO", 0},
    {L"B4_JIS", L"B4", 0},
    {L"B5", L"B5_ISO", 0},
    {L"B5_JIS", L"B5", 0},
    {L"A6_CARD", L"A6", 0},
    {L"A4_BANNER", L"ZQ_BANNER_A4", 0},
    {L"LETTER_BANNER", L"ZQ_BANNER_LETTER", 0},
    {L"CUSTOMIZE", L"Custom", 0},
};
constexpr ConfigValueRow kPageOrderRows[] = {
    {L"FrontToBack", L"0", 0},
    {L"BackToFront", L"1", 1},
};
// "Seperator" is the driver's own spelling.
constexpr ConfigValueRow kOutputBinRows[] = {
    {L"Auto", L"Auto", 0},
    {L"Top", L"Upper", 0},
    {L"Left", L"Left", 0},
    {L"Mailbox1", L"OutputBin1", 0},
    {L"Mailbox2", L"OutputBin2", 0},
    {L"Mailbox3", L"OutputBin3", 0},
    {L"Mailbox4", L"OutputBin4", 0},
    {L"Mailbox5", L"OutputBin5", 0},
    {L"Mailbox6", L"OutputBin6", 0},
    {L"Mailbox7", L"OutputBin7", 0},
    {L"Mailbox8", L"OutputBin8", 0},
    {L"Stapler", L"Stapler", 0},
    {L"Stacker", L"Stacker", 0},
    {L"Collator", L"Collator", 0},
    {L"Separator", L"Seperator", 0},
    {L"Stacker-Stapled", L"StackerStapled", 0},
};
constexpr ConfigValueRow kDryTimeRows[] = {
    {L"-15", L"-15", 0}, {L"-10", L"-10", 0}, {L"-5", L"-5", 0}, {L"0", L"0", 0},   {L"5", L"5", 0},
    {L"10", L"10", 0},   {L"15", L"15", 0},   {L"20", L"20", 0}, {L"25", L"25", 0}, {L"30", L"30", 0},
};
constexpr ConfigValueRow kInkVolumeRows[] = {
    {L"Heavier", L"Heavier", 0}, {L"Heavy", L"Heavy", 0},     {L"Normal", L"Normal", 0},
    {L"Light", L"Light", 0},     {L"Lighter", L"Lighter", 0},
};
constexpr ConfigValueRow kMediaTypeRows[] = {
    {L"ZQ_PREMIUM_PAPER", L"ZQ_PREM_INKJET_PAPER", 0},
};
constexpr ConfigValueRow kInputBinRows[] = {
    {L"Tray3_500", L"Tray3", 0},  {L"Tray3_1500", L"Tray3", 0}, {L"Tray4_500", L"Tray4", 0},
    {L"Tray4_1500", L"Tray4", 0}, {L"Tray5_500", L"Tray5", 0},  {L"Tray5_1500", L"Tray5", 0},
};

// ---- devmode-item tables (name = number)
constexpr ConfigValueRow kOrientationRows[] = {
    {L"Portrait", L"NULL", 1},        {L"Landscape", L"NULL", 2},       {L"Landscape_CC90", L"NULL", 2},
    {L"Landscape_CC270", L"NULL", 2}, {L"RotatedPortrait", L"NULL", 1}, {L"RotatedLandscape", L"NULL", 2},
};
constexpr ConfigValueRow kDuplexEdgeRows[] = {
    {L"OFF", L"NULL", 1},
    {L"LongEdge", L"NULL", 2},
    {L"ShortEdge", L"NULL", 3},
};
constexpr ConfigValueRow kJobRetentionRows[] = {
    {L"OFF", L"NULL", 0},       {L"ProofNHold", L"NULL", 1}, {L"PrivatePrint", L"NULL", 2},
    {L"QuickCopy", L"NULL", 3}, {L"StoreJob", L"NULL", 4},
};
constexpr ConfigValueRow kFitToOtherSizeRows[] = {
    {L"PrintActualSize", L"NULL", 0},
    {L"FitToOtherSize", L"NULL", 1},
};
constexpr ConfigValueRow kScalePageRows[] = {
    {L"FitWithoutScaling", L"NULL", 0},
    {L"ScaleToFit", L"NULL", 1},
};
constexpr ConfigValueRow kWmColorRows[] = {
    {L"Gray", L"NULL", 0}, {L"Red", L"NULL", 1},  {L"Yellow", L"NULL", 2},  {L"Green", L"NULL", 3},
    {L"Cyan", L"NULL", 4}, {L"Blue", L"NULL", 5}, {L"Magenta", L"NULL", 6},
};
constexpr ConfigValueRow kWmShadeRows[] = {
    {L"Lightest", L"NULL", 0}, {L"VeryLight", L"NULL", 1},  {L"Light", L"NULL", 2},
    {L"MediumLight", L"NULL", 3}, {L"Medium", L"NULL", 4},  {L"MediumDark", L"NULL", 5},
    {L"Dark", L"NULL", 6},     {L"VeryDark", L"NULL", 7},   {L"Darkest", L"NULL", 8},
};
constexpr ConfigValueRow kWmEscapementRows[] = {
    {L"Diagonal", L"NULL", 0},
    {L"Horizontal", L"NULL", 1},
    {L"Vertical", L"NULL", 2},
    {L"Custom", L"NULL", 2},
};
constexpr ConfigValueRow kWmStyleRows[] = {
    {L"Regular", L"NULL", 0},
    {L"Bold", L"NULL", 1},
    {L"Italic", L"NULL", 2},
    {L"BoldItalic", L"NULL", 3},
};
constexpr ConfigValueRow kWmFirstPageRows[] = {
    {L"NoPages", L"NULL", 0},
    {L"AllPages", L"NULL", 0},
    {L"FirstPageOnly", L"NULL", 1},
};
constexpr ConfigValueRow kNupRows[] = {
    {L"OneUp", L"NULL", 1}, {L"TwoUp", L"NULL", 2},  {L"FourUp", L"NULL", 3},
    {L"SixUp", L"NULL", 4}, {L"NineUp", L"NULL", 5}, {L"SixteenUp", L"NULL", 6},
};
constexpr ConfigValueRow kNupBordersRows[] = {
    {L"NoBorders", L"NULL", 0},
    {L"PrintBorders", L"NULL", 1},
};
constexpr ConfigValueRow kNupPageOrderRows[] = {
    {L"RightThenDown", L"NULL", 0},
    {L"DownThenRight", L"NULL", 1},
    {L"LeftThenDown", L"NULL", 2},
    {L"DownThenLeft", L"NULL", 3},
};
constexpr ConfigValueRow kBookletRows[] = {
    {L"Off", L"NULL", 0},
    {L"LeftEdge", L"NULL", 1},
    {L"RightEdge", L"NULL", 2},
};
constexpr ConfigValueRow kBookletAltRows[] = {
    {L"OFF", L"NULL", 0},
    {L"ON", L"NULL", 1},
    {L"Reverse", L"NULL", 2},
};
constexpr ConfigValueRow kColorModeRows[] = {
    {L"Mono", L"NULL", 1},
    {L"24bpp", L"NULL", 2},
};
constexpr ConfigValueRow kThriftModeRows[] = {
    {L"FALSE", L"OFF", 2},
    {L"TRUE", L"ON", 3},
};

// ---- device tables (installable option value = driver option)
constexpr ConfigValueRow kInstalledTrueRows[] = {
    {L"NotInstalled", L"FALSE", 0},
    {L"Installed", L"TRUE", 0},
};
constexpr ConfigValueRow kJobRetentionDeviceRows[] = {
    {L"Enabled", L"Installed", 0},
    {L"Disabled", L"NotInstalled", 0},
};
constexpr ConfigValueRow kScaleFromLargePaperRows[] = {
    {L"FALSE", L"NotInstalled", 0},
    {L"TRUE", L"Installed", 0},
};
constexpr ConfigValueRow kManualDuplexRows[] = {
    {L"Enabled", L"True", 0},
    {L"Disabled", L"False", 0},
};
constexpr ConfigValueRow kDisplayDocUITabRows[] = {
    {L"Enable", L"True", 0},
    {L"Disable", L"False", 0},
};
// Several part numbers name one accessory kind; the export offers them in turn.
constexpr ConfigValueRow kAccessoryRows[] = {
    {L"NotInstalled", L"NotInstalled", 0},
    {L"W5161", L"500Stacker", 0},
    {L"K3708", L"500Stacker", 0},
    {L"W5274", L"500Stapler", 0},
    {L"K3819", L"500Stapler", 0},
    {L"W6025", L"MBX5S", 0},
    {L"W6193", L"3000Stacker", 0},
    {L"W5386", L"3000Stacker", 0},
    {L"W6247", L"3000Stapler", 0},
    {L"W5432", L"3000Stapler", 0},
    {L"K7150A", L"3000Stapler", 0},
    {L"K7265A", zqkw::kMultiFunctionFinisher, 0},
    {L"W6318", L"MBX7", 0},
    {L"W6371", L"MBX8", 0},
    {L"W5509", zqkw::kMultiFunctionFinisher, 0},
    {L"K4480A", L"500Stapler", 0},
    {L"MAILBOX", zqkw::kMBX3Mailbox, 0},
    {L"STACKER", L"MBX3Stacker", 0},
    {L"FUNCTION SEPARATOR", L"MBX3FunctionSeparator", 0},
    {L"K9026", L"750Stapler", 0},
    {L"K4480", L"500Stapler", 0},
};

// Items and the tables they use, with the direction each serves.
struct ItemTable {
    PCWSTR pszItem;
    ConfigValueTable table;
    Direction direction;
};

const ItemTable kValueItems[] = {
    {L"EdgeChoice", Table(kOnOffRows), kBoth},
    {L"MemChoice", Table(kOnOffRows), kBoth},
    {L"RasterizationChoice", Table(kRasterizationRows), kBoth},
    {zqkw::kPaperSize, Table(kPaperSizeRows), kBoth},
    {L"TargetSizeChoice", Table(kPaperSizeRows), kBoth},
    {zqkw::kPageOrderItem, Table(kPageOrderRows), kBoth},
    {zqkw::kOutputBin, Table(kOutputBinRows), kBoth},
    {L"DryTime", Table(kDryTimeRows), kBoth},
    {L"InkVolume", Table(kInkVolumeRows), kBoth},
    {zqkw::kMediaType, Table(kMediaTypeRows), kImport},
    {zqkw::kInputBin, Table(kInputBinRows), kBoth},
    {zqkw::kDuplexItem, Table(kDuplexEdgeRows), kExport},
};

const ItemTable kDeviceItems[] = {
    {L"BinderUnit", Table(kInstalledTrueRows), kBoth},
    {L"ScannerChoice", Table(kInstalledTrueRows), kBoth},
    {L"CollationUnit", Table(kInstalledTrueRows), kBoth},
    {zqkw::kJobRetention, Table(kJobRetentionDeviceRows), kBoth},
    {zqkw::kScaleFromLargePaper, Table(kScaleFromLargePaperRows), kBoth},
    {zqkw::kManualDuplex, Table(kManualDuplexRows), kBoth},
    {L"ZQDisplayDocUITab", Table(kDisplayDocUITabRows), kImport},
    {zqkw::kAccessoryOutputBins, Table(kAccessoryRows), kBoth},
    {zqkw::kZQPunchUnitType, Table(kAccessoryRows), kBoth},
    {zqkw::kZQPostInsertionKit, Table(kAccessoryRows), kBoth},
    {L"OptionalPaperSources", Table(kAccessoryRows), kBoth},
};

template <size_t N>
const ConfigValueTable* FindItemTable(const ItemTable (&items)[N], PCWSTR pszItem, Direction direction) {
    if (!pszItem) return nullptr;
    for (const ItemTable& it : items)
        if ((it.direction & direction) && ZQEqualNoCase(it.pszItem, pszItem)) return &it.table;
    return nullptr;
}

}  // namespace

const ConfigNameRow kNameRows[] = {
    {L"ZQChromix_Text_NeutralGrays", L"ZQChromix_Text_NeutralGrays"},
    {L"ZQChromix_Text_Halftone", L"ZQChromix_Text_Halftone"},
    {L"ZQChromix_Graphics_Halftone", L"ZQChromix_Graphics_Halftone"},
    {L"ZQChromix_Graphics_NeutralGrays", L"ZQChromix_Graphics_NeutralGrays"},
    {L"ZQChromix_Photo_Halftone", L"ZQChromix_Photo_Halftone"},
    {L"ZQChromix_Photo_NeutralGrays", L"ZQChromix_Photo_NeutralGrays"},
    {L"ZQChromix_ColorOptions_EdgeControl", L"ZQChromix_ColorOptions_EdgeControl"},
    {L"ZQChromix_Photo_RGBColor", L"ZQChromix_Photo_SRGBColor"},
    {L"ZQChromix_Text_RGBColor", L"ZQChromix_Text_SRGBColor"},
    {L"ZQChromix_Graphics_RGBColor", L"ZQChromix_Graphics_SRGBColor"},
    {zqkw::kColorMode, L"PrintColorAsGray"},
    {zqkw::kZQPrintInGrayScale, L"Option"},
    {zqkw::kJCLZQPrintInGrayScale, L"Option"},
    {L"EDGEChoice", L"EdgeChoice"},
    {L"JCLEDGEChoice", L"EdgeChoice"},
    {L"PrintAllTextAsBlack", zqkw::kTextAsBlack},
    {zqkw::kTTAsBitmapsSetting, L"TTAsBitmapSetting"},
    {L"MemBoost", L"MemChoice"},
    {L"GraphicsMode", L"RasterizationChoice"},
    {zqkw::kStapling, L"StaplerChoice"},
    {zqkw::kStapling, zqkw::kStapling},
    {zqkw::kStapleLocation, zqkw::kStapling},
    {L"Mirrored Output", L"MirrorPrint"},
    {zqkw::kThriftmode, zqkw::kThriftModeItem},
    {zqkw::kZQEmulatePexlonMargins, L"ZQEmulatePXMargins"},
    {zqkw::kZQSymmetricMargins, L"ZQSymmetricalMargins"},
    {zqkw::kZQDryTime, L"DryTime"},
    {zqkw::kJCLZQDryTime, L"DryTime"},
    {zqkw::kJCLThriftmode, zqkw::kThriftModeItem},
    {zqkw::kZQInkVolume, L"InkVolume"},
    {zqkw::kJCLZQInkVolume, L"InkVolume"},
    {zqkw::kZQInputColorSpace, zqkw::kZQInputColorSpace},
};
const int kNameRowCount = static_cast<int>(sizeof kNameRows / sizeof kNameRows[0]);

const ConfigNameRow kPhysicalNameRows[] = {
    {zqkw::kMailboxModes, zqkw::kMailboxModes},
};
const int kPhysicalNameRowCount = static_cast<int>(sizeof kPhysicalNameRows / sizeof kPhysicalNameRows[0]);

const ConfigValueTable kAccessoryTable = Table(kAccessoryRows);

const ConfigValueTable kOrientationTable = Table(kOrientationRows);
const ConfigValueTable kDuplexEdgeTable = Table(kDuplexEdgeRows);
const ConfigValueTable kJobRetentionTable = Table(kJobRetentionRows);
const ConfigValueTable kFitToOtherSizeTable = Table(kFitToOtherSizeRows);
const ConfigValueTable kScalePageTable = Table(kScalePageRows);
const ConfigValueTable kWmColorTable = Table(kWmColorRows);
const ConfigValueTable kWmShadeTable = Table(kWmShadeRows);
const ConfigValueTable kWmEscapementTable = Table(kWmEscapementRows);
const ConfigValueTable kWmStyleTable = Table(kWmStyleRows);
const ConfigValueTable kWmFirstPageTable = Table(kWmFirstPageRows);
const ConfigValueTable kNupTable = Table(kNupRows);
const ConfigValueTable kNupBordersTable = Table(kNupBordersRows);
const ConfigValueTable kNupPageOrderTable = Table(kNupPageOrderRows);
const ConfigValueTable kBookletTable = Table(kBookletRows);
const ConfigValueTable kBookletAltTable = Table(kBookletAltRows);
const ConfigValueTable kColorModeTable = Table(kColorModeRows);
const ConfigValueTable kThriftModeTable = Table(kThriftModeRows);
const ConfigValueTable kPageOrderTable = Table(kPageOrderRows);

const ConfigValueTable* FindValueTable(PCWSTR pszItem, Direction direction) {
    return FindItemTable(kValueItems, pszItem, direction);
}

const ConfigValueTable* FindDeviceTable(PCWSTR pszItem, Direction direction) {
    return FindItemTable(kDeviceItems, pszItem, direction);
}

int FindRowByConfigValue(const ConfigValueTable& table, PCWSTR pszValue, int iStart) {
    if (!pszValue) return -1;
    for (int i = iStart < 0 ? 0 : iStart; i < table.cRows; ++i)
        if (ZQEqualNoCase(table.pRows[i].pszConfigValue, pszValue)) return i;
    return -1;
}

int FindRowByKeyword(const ConfigValueTable& table, PCWSTR pszKeyword, int iStart) {
    if (!pszKeyword) return -1;
    for (int i = iStart < 0 ? 0 : iStart; i < table.cRows; ++i)
        if (ZQEqualNoCase(table.pRows[i].pszDriverKeyword, pszKeyword)) return i;
    return -1;
}

int FindLastRowByNumber(const ConfigValueTable& table, LONG lNumber, int iFirst, int iEnd) {
    if (iEnd < 0 || iEnd > table.cRows) iEnd = table.cRows;
    int found = -1;
    for (int i = iFirst < 0 ? 0 : iFirst; i < iEnd; ++i)
        if (table.pRows[i].lNumber == lNumber) found = i;
    return found;
}

}  // namespace zqcfgmap
