// The plug-in's private devmode block: a stored format that travels with documents and other
// programs' devmodes, so its offsets are fixed and every byte is read as untrusted input.
// This unit depends only on the standard library so it can be fuzzed natively.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/zqwchar.h"

namespace zqdm {

inline constexpr uint32_t kSize = 6512;
inline constexpr uint32_t kSignature = 0x5A515549;  // 'ZQUI'
inline constexpr uint32_t kVersion = 0x00110010;
inline constexpr uint32_t kTagRecordSize = 64;

// Page-description languages of the header's +20 (and of the "ZQPDLType" options).
enum : uint32_t {
    kPdlUnknown = 0,
    kPdlPcl5 = 1,
    kPdlPcl6 = 2,
    kPdlPostScript = 3,
    kPdlPcl3 = 4,
    kPdlZqgl2 = 5,
};

}  // namespace zqdm

#pragma pack(push, 1)
struct ZQUIDevmode {
    // ---- header (H)
    uint32_t dwSize;          // 0
    uint32_t dwSignature;     // 4
    uint32_t dwVersion;       // 8
    uint32_t dwModelCode;     // 12: 4 = printer without PIN printing
    uint32_t dwColorMode;     // 16: 2 colour, 1 monochrome
    uint32_t dwPdl;           // 20: 1 PCL5, 2 PCL6, 3 PostScript, 4 PCL3, 5 ZQGL2
    uint32_t dwRawSpooling;   // 24: 1 the printer's jobs spool as raw data
    uint8_t abHdr28[8];       // 28
    uint32_t dwLayoutMode;    // 36: 1, 2 or 3
    uint8_t abHdr40[8];       // 40
    // ---- page (P)
    uint16_t wOrientation;    // 48: 1 portrait, 2 landscape
    uint16_t wDuplex;         // 50: 1 one-sided, 2 long edge, 3 short edge
    uint16_t wScale;          // 52
    uint16_t wPage54;         // 54
    uint16_t wCollate;        // 56
    uint16_t wPage58;         // 58
    uint16_t wColor;          // 60: 1 monochrome, 2 colour
    uint16_t wManualFeedOrientation;  // 62: 0 unknown, else 1 + the position of the "ManualFeedOrientation" option
    uint8_t abPage64[36];     // 64
    uint32_t dwEdgeToEdge;    // 100: 1 once a banner or borderless paper reset the layout
    uint32_t dwPageOrder;     // 104: 0 front to back, 1 back to front
    uint16_t wPaperSize;      // 108
    uint16_t wPaperLength;    // 110
    uint16_t wPaperWidth;     // 112
    uint16_t wPage114;        // 114
    int32_t aiRecentPaperSizes[3];  // 116: form option positions, -1 free
    // ---- job options (J)
    uint32_t dwChromixAuto;   // 128
    uint8_t abJob132[52];     // 132
    uint32_t dwPrintAsGray;   // 184
    uint32_t dwJob188;        // 188
    uint32_t dwSepia;         // 192
    uint32_t dwLfInputProfiles;   // 196
    uint32_t dwBlackPointComp;    // 200
    uint32_t dwPantoneEmulation;  // 204
    int32_t aiColorAdjust[7];     // 208: brightness, saturation, tone, cyan, magenta, yellow, black
    // ---- effects (E)
    zqwchar szWmName[256];    // 236
    zqwchar szWmText[256];    // 748
    zqwchar szWmFont[256];    // 1260
    uint32_t dwWmAngle;       // 1772
    uint32_t dwWmSize;        // 1776
    uint32_t dwWmAngleMode;   // 1780: 0 diagonal, 1 horizontal, 2 angle
    uint32_t dwWmShade;       // 1784
    uint32_t dwWmStyle;       // 1788
    uint32_t dwWmColorA;      // 1792
    uint32_t dwWmColorIndex;  // 1796
    uint32_t dwWmColorB;      // 1800
    uint32_t dwEff1804;       // 1804
    uint32_t dwWmListIndex;   // 1808
    uint32_t dwWmOn;          // 1812
    uint32_t dwPrintDocOn;    // 1816: fit to another paper size
    uint32_t dwPrintedOnPaper;   // 1820: DMPAPER code
    uint32_t dwScaleToFit;       // 1824
    uint32_t dwScalePercent;     // 1828
    uint32_t dwCustomDestWidth;  // 1832: thousandths of a mm
    uint32_t dwCustomDestLength; // 1836
    uint32_t dwWmFirstPageOnly;  // 1840
    float fScaleFactor;          // 1844
    uint32_t dwDuplexConflict;   // 1848
    // ---- finishing (F)
    uint32_t dwPageBorders;   // 1852
    uint32_t dwPageOrderIndex;  // 1856: 0-3
    uint32_t dwRotate180;     // 1860
    uint32_t dwRotate90;      // 1864
    uint32_t dwMirror;        // 1868
    uint32_t dwBooklet;       // 1872: 0 none, 1 left, 2 right
    uint32_t dwPagesPerSheet; // 1876: 1-6
    uint32_t dwStraightPaperPath;  // 1880
    uint32_t dwFlipPagesUp;   // 1884
    uint32_t dwManualDuplex;  // 1888
    uint32_t dwOutputFaceUp;  // 1892: the selected output bin delivers face up
    uint8_t abFin1896[16];    // 1896
    // ---- job storage (S)
    uint32_t dwJobStorageAvailable;  // 1912
    uint32_t dwJs1916;        // 1916
    uint32_t dwPinRequired;   // 1920
    uint32_t dwPinNumber;     // 1924
    zqwchar szJsUserName[257];  // 1928
    zqwchar szJsJobName[257];   // 2442
    uint32_t dwRetentionMode; // 2956: 0-4
    uint32_t dwJsLayout;      // 2960
    uint32_t adwJsSetA[5];    // 2964
    uint32_t dwJs2984;        // 2984
    uint32_t adwJsSetB[5];    // 2988
    uint32_t dwJs3008;        // 3008
    uint32_t dwJs3012;        // 3012
    uint32_t dwJs3016;        // 3016
    uint32_t dwJsSetSelector; // 3020: non-zero selects set A
    uint32_t dwJs3024;        // 3024
    uint32_t dwJs3028;        // 3028
    uint32_t dwOutputBinPresent;  // 3032
    uint32_t dwUserNameCustom;    // 3036
    uint32_t dwJobNameCustom;     // 3040
    uint32_t dwDisplayJobId;      // 3044
    uint32_t dwNameExistsAvailable;  // 3048
    uint32_t dwNameExistsSwfw;    // 3052
    uint32_t dwNameExistsChoice;  // 3056
    // ---- paper source (PS)
    uint32_t dwDefaultSourceId;   // 3060
    uint32_t dwDefaultMediaId;    // 3064
    uint32_t dwDiffPaper;         // 3068: page exceptions on
    uint32_t dwFirstPageSource;   // 3072
    uint32_t dwFirstPageMedia;    // 3076
    uint32_t dwBackCover;         // 3080
    uint32_t dwPrintQualityGroupIndex;  // 3084
    uint32_t dwThriftMode;        // 3088: 2 off, 3 on
    uint32_t dwPs3092;            // 3092
    uint32_t dwBackCoverSource;   // 3096
    uint32_t dwBackCoverMedia;    // 3100
    uint32_t dwOtherPagesSource;  // 3104
    uint32_t dwOtherPagesMedia;   // 3108
    // Custom paper-size limits of the selected source, tenths of a millimetre. A roll source
    // leaves the roll's width in the largest width in whole inches first; setting the limits
    // turns it into tenths of a millimetre.
    uint32_t dwCustomMaxWidth;    // 3112
    uint32_t dwCustomMaxLength;   // 3116
    uint32_t dwCustomMinWidth;    // 3120
    uint32_t dwCustomMinLength;   // 3124
    uint8_t abPs3128[8];          // 3128
    uint32_t dwAutorotate;        // 3136
    uint8_t abPs3140[528];        // 3140
    zqwchar aszRecentMediaTypes[3][64];  // 3668
    uint32_t dwUnitMm;            // 4052: 0 inch, 1 mm
    // ---- quick set / document type (Q)
    uint32_t dwQuickSetInUse;     // 4056
    zqwchar szDocTypeName[256];   // 4060
    uint32_t dwPendingChange;     // 4572
    uint32_t adwSelectionSlots[10];  // 4576
    uint32_t dwDocTypeScaling;    // 4616
    uint32_t dwDocTypeCopies;     // 4620
    uint8_t abQs4624[64];         // 4624
    // ---- application information (A)
    zqwchar szAppText[32];        // 4688
    uint8_t abApp4752[104];       // 4752
    // ---- header: help file path, rewritten by page assembly
    zqwchar szHelpFile[256];      // 4856
    // ---- quick set (Q)
    zqwchar szQuickSetName[82];   // 5368
    // ---- header
    uint8_t abHdr5532[100];       // 5532
    int32_t iStartPage;           // 5632: title id of the page last left; -999 from the Features page
    uint8_t abHdr5636[16];        // 5636
    // ---- finishing (F)
    uint32_t adwPosterTiles[25];  // 5652
    // ---- paper source (PS)
    uint32_t dwLastPageSource;    // 5752
    uint32_t dwLastPageMedia;     // 5756
    uint32_t dwFrontCoverSource;  // 5760
    uint32_t dwFrontCoverMedia;   // 5764
    uint32_t dwFrontCoverFeederIndex;  // 5768
    uint32_t dwFrontCoverFeederMedia;  // 5772
    uint32_t dwBackCoverFeederIndex;   // 5776
    uint32_t dwBackCoverFeederMedia;   // 5780
    uint32_t dwBackCoverFeeder;   // 5784
    uint32_t dwFrontCover;        // 5788
    uint32_t dwFrontCoverFeeder;  // 5792
    // ---- header
    uint8_t abHdr5796[12];        // 5796
    uint32_t dwFlags;             // 5808: 0x100 forbids rotation by 90 degrees
    uint8_t abHdr5812[524];       // 5812
    // ---- document options (D)
    uint32_t dwDocumentMode;      // 6336
    uint8_t abDoc6340[16];        // 6340
    uint8_t abPaperListKey[20];   // 6356
    // ---- tag record (T)
    uint8_t abTagRecord[64];      // 6376
    // ---- reserved blocks (R): image shift
    int32_t aiImageShift[9];      // 6440
    // ---- extra entry (X): page exceptions
    zqwchar szExtraText[10];      // 6476
    uint32_t adwExtra[4];         // 6496: [2] kinds in use (6504), [3] cover mask (6508)
};
#pragma pack(pop)

static_assert(sizeof(ZQUIDevmode) == zqdm::kSize, "private devmode size");
static_assert(offsetof(ZQUIDevmode, dwPdl) == 20);
static_assert(offsetof(ZQUIDevmode, dwLayoutMode) == 36);
static_assert(offsetof(ZQUIDevmode, wOrientation) == 48);
static_assert(offsetof(ZQUIDevmode, wColor) == 60);
static_assert(offsetof(ZQUIDevmode, dwPageOrder) == 104);
static_assert(offsetof(ZQUIDevmode, dwEdgeToEdge) == 100);
static_assert(offsetof(ZQUIDevmode, aiRecentPaperSizes) == 116);
static_assert(offsetof(ZQUIDevmode, dwChromixAuto) == 128);
static_assert(offsetof(ZQUIDevmode, dwPrintAsGray) == 184);
static_assert(offsetof(ZQUIDevmode, aiColorAdjust) == 208);
static_assert(offsetof(ZQUIDevmode, szWmName) == 236);
static_assert(offsetof(ZQUIDevmode, szWmText) == 748);
static_assert(offsetof(ZQUIDevmode, szWmFont) == 1260);
static_assert(offsetof(ZQUIDevmode, dwWmAngle) == 1772);
static_assert(offsetof(ZQUIDevmode, dwWmListIndex) == 1808);
static_assert(offsetof(ZQUIDevmode, fScaleFactor) == 1844);
static_assert(offsetof(ZQUIDevmode, dwPageBorders) == 1852);
static_assert(offsetof(ZQUIDevmode, dwManualDuplex) == 1888);
static_assert(offsetof(ZQUIDevmode, dwOutputFaceUp) == 1892);
static_assert(offsetof(ZQUIDevmode, dwJobStorageAvailable) == 1912);
static_assert(offsetof(ZQUIDevmode, szJsUserName) == 1928);
static_assert(offsetof(ZQUIDevmode, szJsJobName) == 2442);
static_assert(offsetof(ZQUIDevmode, dwRetentionMode) == 2956);
static_assert(offsetof(ZQUIDevmode, adwJsSetA) == 2964);
static_assert(offsetof(ZQUIDevmode, adwJsSetB) == 2988);
static_assert(offsetof(ZQUIDevmode, dwJsSetSelector) == 3020);
static_assert(offsetof(ZQUIDevmode, dwOutputBinPresent) == 3032);
static_assert(offsetof(ZQUIDevmode, dwNameExistsChoice) == 3056);
static_assert(offsetof(ZQUIDevmode, dwDefaultSourceId) == 3060);
static_assert(offsetof(ZQUIDevmode, dwThriftMode) == 3088);
static_assert(offsetof(ZQUIDevmode, dwOtherPagesMedia) == 3108);
static_assert(offsetof(ZQUIDevmode, dwCustomMaxWidth) == 3112);
static_assert(offsetof(ZQUIDevmode, dwCustomMinLength) == 3124);
static_assert(offsetof(ZQUIDevmode, dwAutorotate) == 3136);
static_assert(offsetof(ZQUIDevmode, aszRecentMediaTypes) == 3668);
static_assert(offsetof(ZQUIDevmode, dwUnitMm) == 4052);
static_assert(offsetof(ZQUIDevmode, dwQuickSetInUse) == 4056);
static_assert(offsetof(ZQUIDevmode, dwPendingChange) == 4572);
static_assert(offsetof(ZQUIDevmode, dwDocTypeScaling) == 4616);
static_assert(offsetof(ZQUIDevmode, szAppText) == 4688);
static_assert(offsetof(ZQUIDevmode, szHelpFile) == 4856);
static_assert(offsetof(ZQUIDevmode, szQuickSetName) == 5368);
static_assert(offsetof(ZQUIDevmode, iStartPage) == 5632);
static_assert(offsetof(ZQUIDevmode, adwPosterTiles) == 5652);
static_assert(offsetof(ZQUIDevmode, dwLastPageSource) == 5752);
static_assert(offsetof(ZQUIDevmode, dwFrontCoverFeeder) == 5792);
static_assert(offsetof(ZQUIDevmode, dwFlags) == 5808);
static_assert(offsetof(ZQUIDevmode, dwDocumentMode) == 6336);
static_assert(offsetof(ZQUIDevmode, abPaperListKey) == 6356);
static_assert(offsetof(ZQUIDevmode, abTagRecord) == 6376);
static_assert(offsetof(ZQUIDevmode, aiImageShift) == 6440);
static_assert(offsetof(ZQUIDevmode, szExtraText) == 6476);
static_assert(offsetof(ZQUIDevmode, adwExtra) == 6496);

namespace zqdm {

// The merge sections. Every byte of the block belongs to exactly one section.
enum Section : int {
    kHeader,
    kPage,
    kJobOptions,
    kEffects,
    kFinishing,
    kJobStorage,
    kPaperSource,
    kQuickSet,
    kAppInfo,
    kDocOptions,
    kTagRecord,
    kReservedBlocks,
    kExtraEntry,
    kSectionCount
};

struct ByteRange {
    uint32_t offset;
    uint32_t size;
};

// Byte ranges of a section (at most four); returns how many.
inline constexpr int kMaxRanges = 4;
int SectionRanges(Section section, ByteRange out[kMaxRanges]);

// What the defaults need from outside the block.
struct DefaultInputs {
    bool hasPublic = false;        // the public devmode supplied the page fields below
    uint16_t orientation = 1;
    uint16_t duplex = 1;
    uint16_t scale = 100;
    uint16_t collate = 1;
    uint16_t color = 1;
    uint16_t paperSize = 0;
    uint16_t paperLength = 0;
    uint16_t paperWidth = 0;
    const zqwchar* noneText = nullptr;  // watermark " [none]" in the UI language
    const zqwchar* fontName = nullptr;  // watermark font
    const zqwchar* userName = nullptr;  // job-storage user name, already upper-cased
};

// True when the bytes hold a block of this version: size at least ours, our signature and version.
bool IsCurrentBlock(const void* block, size_t available);
// The bytes as our block, when they hold a current one (a whole block of ours); null otherwise.
inline ZQUIDevmode* CurrentBlock(void* block) {
    return block && IsCurrentBlock(block, kSize) ? static_cast<ZQUIDevmode*>(block) : nullptr;
}
inline const ZQUIDevmode* CurrentBlock(const void* block) {
    return block && IsCurrentBlock(block, kSize) ? static_cast<const ZQUIDevmode*>(block) : nullptr;
}

void WriteHeaderIdentity(ZQUIDevmode& dm);
void FillSectionDefaults(Section section, ZQUIDevmode& dm, const DefaultInputs& in);
void FillAllDefaults(ZQUIDevmode& dm, const DefaultInputs& in);

// Copies one section from a current block and makes its texts and enumerations safe to use.
void CopySection(Section section, ZQUIDevmode& out, const ZQUIDevmode& in);
void SanitizeSection(Section section, ZQUIDevmode& dm);

// Bounded UTF-16 copy that always terminates (cap in code units, including the terminator).
void CopyText(zqwchar* dst, size_t cap, const zqwchar* src);

}  // namespace zqdm
