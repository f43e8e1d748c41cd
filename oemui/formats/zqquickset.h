// A stored quick set: the value "PresetPool:<n>" of the printer's data (or of a restricted user's
// own key) holding the head below unchanged, then the feature/option pairs in the byte stream's
// string form. The settings block inside the head is the private-devmode fields a quick set keeps.
// A stored format: offsets fixed, little-endian, and every value read as untrusted input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// The first 2,204 bytes of a stored value, as the manager keeps them in memory.
struct QuickSetHead {
    uint32_t cbTotal;           // 0: length of the whole value, set by the writer
    uint32_t dwMarker;          // 4: 21
    uint32_t cchName;           // 8: capacity of the name, 82
    zqwchar szName[82];         // 12: at most 81 characters, terminated
    uint32_t cbSettings;        // 176: 2,020
    QuickSetSettings settings;  // 180
    uint32_t cPairs;            // 2200
};
#pragma pack(pop)

static_assert(sizeof(QuickSetHead) == 2204, "stored quick-set head");
static_assert(offsetof(QuickSetHead, cbTotal) == 0);
static_assert(offsetof(QuickSetHead, dwMarker) == 4);
static_assert(offsetof(QuickSetHead, cchName) == 8);
static_assert(offsetof(QuickSetHead, szName) == 12);
static_assert(offsetof(QuickSetHead, cbSettings) == 176);
static_assert(offsetof(QuickSetHead, settings) == 180);
static_assert(offsetof(QuickSetHead, cPairs) == 2200);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, szWmName) == 268);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, dwPrintDocOn) == 780);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, dwPinRequired) == 808);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, szJsUserName) == 816);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, szJsJobName) == 1330);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, dwRetentionMode) == 1844);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, dwChromixAuto) == 1864);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, adwPosterTiles) == 1916);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, adwPaperSource2) == 2016);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, szAppText) == 2060);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, dwAutorotate) == 2124);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, adwImageShift) == 2128);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, szExtraText) == 2164);
static_assert(offsetof(QuickSetHead, settings) + offsetof(QuickSetSettings, adwExtra) == 2184);

namespace zqqs {

inline constexpr uint32_t kMarker = 21;
inline constexpr uint32_t kNameCapacity = 82;
inline constexpr uint32_t kSettingsSize = sizeof(QuickSetSettings);
inline constexpr uint32_t kHeadSize = sizeof(QuickSetHead);
// Quick sets a store holds at most.
inline constexpr int kMaxQuickSets = 25;
// Longest feature or option keyword of a pair.
inline constexpr size_t kMaxPairChars = 255;
// A pair ends its feature with a full stop and its option with a circumflex.
inline constexpr uint8_t kFeatureEnd = 0x2E;
inline constexpr uint8_t kOptionEnd = 0x5E;

// The value's name ("PresetPool:" and its index) is made and read in formats/zqindexedname.h.
// The counter as stored: its low byte, its next byte, two zero bytes; read back little-endian.
void EncodeCounter(int counter, uint8_t out[4]);
int DecodeCounter(const uint8_t* data, size_t size);

// One pair to write; an absent keyword is written empty.
struct PairText {
    const zqwchar* feature;
    const zqwchar* option;
};
// One pair read.
struct PairRead {
    std::basic_string<zqwchar> feature;
    std::basic_string<zqwchar> option;
};

// Length of the stored value of a head and its pairs; WriteValue fills exactly that many bytes,
// with the total size and the pair count set from them.
size_t ValueSize(const PairText* pairs, size_t count);
void WriteValue(const QuickSetHead& head, const PairText* pairs, size_t count, uint8_t* out);

// What the reader needs beyond the bytes.
struct ReadContext {
    // The installation is done: a name field shorter than 82 units is refused then.
    bool refuseShortName = false;
    // Completes a settings block stored shorter than 2,020 bytes (null: zeros with every poster
    // tile flag set), and the name that takes it whole without the stored bytes over it.
    const QuickSetSettings* pFill = nullptr;
    const zqwchar* factoryName = nullptr;
};
// Reads a stored value into the head (marker 21, name capacity 82, settings size 2,020, pair count
// the pairs kept) and the pairs. Never reads past the value: a total size other than the length, a
// name capacity above 82, a size or pairs running past the end, a string over 255 units or without
// its terminator refuse the value (false, outputs unspecified).
bool ReadValue(const uint8_t* data, size_t size, const ReadContext& context, QuickSetHead& head,
               std::vector<PairRead>& pairs);

// The devmode's fields into the block, texts cut to their widths. Margins are minimised only for
// one page per sheet or a booklet: otherwise the flag is kept as 0, in the devmode as well.
void Capture(ZQUIDevmode& dm, QuickSetSettings& out);
// The block's fields back into the devmode (the reverse of Capture); texts stay terminated.
void Restore(const QuickSetSettings& block, ZQUIDevmode& dm);
// The settings block of an entry made without stored settings: zeros, every poster tile flag set.
void DefaultSettings(QuickSetSettings& out);

// Whether the devmode's Paper/Quality fields differ from the block's: the paper source, covers and
// autorotate always, the media only where the driver offers a media type, then the page-exceptions
// record.
bool PaperQualityDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block, bool bMediaItem);

// The comparison groups of the settings a page shows: true when a field of the devmode differs from
// the block's.
// Job storage: PIN, retention and naming fields; the job name only when those agree; the
// name-exists choice when the devmode offers it; the user name when either side names its own;
// the image-shift block.
bool JobStorageDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block);
// Colour automatics, greyscale and the colour adjustments.
bool JobOptionsDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block);
// The finishing fields, then the first tiles x tiles poster-tile flags (at most 25).
bool FinishingDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block, int tilesPerSide);
// The effects numbers (the watermark name is compared by the caller, which knows its languages).
bool EffectsNumbersDiffer(const ZQUIDevmode& dm, const QuickSetSettings& block);
// The watermark names as the block keeps them (cut to 255 characters).
bool WatermarkNameDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block);
// Fit-to-paper, printed-on paper, margins, scale, borders, page order and pages per sheet.
bool SimplifiedLargeFormatDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block);
bool AppTextDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block);
bool OrientationDuplexDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block);

}  // namespace zqqs
