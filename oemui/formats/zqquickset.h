// The settings block of a quick set: the private-devmode fields a quick set keeps, 2,020 bytes at
// offset 180 of a stored quick-set value. A stored format: offsets fixed, little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/zquidevmode.h"

#pragma pack(push, 1)
struct QuickSetSettings {
    uint16_t wDuplex;              // 0: devmode 50
    uint16_t wOrientation;         // 2: 48
    uint16_t wScale;               // 4: 52
    uint8_t abReserved6[2];        // 6
    uint32_t adwPaperSource[9];    // 8: 3068, 3072, 3076, 3080, 3084, 3096, 3100, 3104, 3108
    uint32_t adwFinishing[10];     // 44: 1852 to 1888
    uint8_t abReserved84[4];       // 84
    zqwchar szWmName[256];         // 88: 236
    uint32_t dwPrintDocOn;         // 600: 1816
    uint32_t dwPrintedOnPaper;     // 604: 1820
    uint32_t dwMinimizeMargins;    // 608: 1824
    uint32_t dwScalePercent;       // 612: 1828
    uint32_t dwWmFirstPageOnly;    // 616: 1840
    uint32_t dwDuplexConflict;     // 620: 1848
    uint8_t abReserved624[4];      // 624
    uint32_t dwPinRequired;        // 628: 1920
    uint32_t dwPinNumber;          // 632: 1924
    zqwchar szJsUserName[257];     // 636: 1928
    zqwchar szJsJobName[257];      // 1150: 2442
    uint32_t dwRetentionMode;      // 1664: 2956
    uint32_t adwJobStorage[4];     // 1668: 3036, 3040, 3044, 3056
    uint32_t dwChromixAuto;        // 1684: 128
    uint32_t dwPrintAsGray;        // 1688: 184
    uint32_t adwJobOptions[11];    // 1692: 192 to 232
    uint32_t adwPosterTiles[25];   // 1736: 5652 to 5748
    uint32_t adwPaperSource2[11];  // 1836: 5752 to 5792
    zqwchar szAppText[32];         // 1880: 4688
    uint32_t dwAutorotate;         // 1944: 3136
    uint32_t adwImageShift[8];     // 1948: 6440 to 6468
    uint32_t dwImageShift8;        // 1980: 6472
    zqwchar szExtraText[10];       // 1984: 6476
    uint32_t adwExtra[4];          // 2004: 6496 to 6508
};
#pragma pack(pop)

static_assert(sizeof(QuickSetSettings) == 2020, "quick-set settings block");
static_assert(offsetof(QuickSetSettings, adwPaperSource) == 8);
static_assert(offsetof(QuickSetSettings, szWmName) == 88);
static_assert(offsetof(QuickSetSettings, dwPrintDocOn) == 600);
static_assert(offsetof(QuickSetSettings, dwPinRequired) == 628);
static_assert(offsetof(QuickSetSettings, szJsJobName) == 1150);
static_assert(offsetof(QuickSetSettings, dwRetentionMode) == 1664);
static_assert(offsetof(QuickSetSettings, dwChromixAuto) == 1684);
static_assert(offsetof(QuickSetSettings, adwPosterTiles) == 1736);
static_assert(offsetof(QuickSetSettings, adwPaperSource2) == 1836);
static_assert(offsetof(QuickSetSettings, szAppText) == 1880);
static_assert(offsetof(QuickSetSettings, dwAutorotate) == 1944);
static_assert(offsetof(QuickSetSettings, dwImageShift8) == 1980);
static_assert(offsetof(QuickSetSettings, szExtraText) == 1984);
static_assert(offsetof(QuickSetSettings, adwExtra) == 2004);

namespace zqqs {

// The devmode's fields into the block, texts cut to their widths. Margins are minimised only for
// one page per sheet or a booklet: otherwise the flag is kept as 0, in the devmode as well.
void Capture(ZQUIDevmode& dm, QuickSetSettings& out);

// Whether the devmode's Paper/Quality fields differ from the block's: the paper source, covers and
// autorotate always, the media only where the driver offers a media type, then the page-exceptions
// record.
bool PaperQualityDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block, bool bMediaItem);

}  // namespace zqqs
