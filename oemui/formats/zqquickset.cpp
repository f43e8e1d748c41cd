#include "formats/zqquickset.h"

#include <cstring>

#include "formats/zqbytestream.h"

namespace zqqs {

namespace {

// Texts the block keeps are cut to their width less the terminator; compared the same way.
bool SameText(const zqwchar* a, const zqwchar* b, size_t cap) {
    for (size_t i = 0; i + 1 < cap; ++i) {
        if (a[i] != b[i]) return false;
        if (!a[i]) return true;
    }
    return true;
}

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

size_t Units(const zqwchar* text) {
    size_t n = 0;
    if (text)
        while (n < kMaxPairChars && text[n]) ++n;
    return n;
}

// A string of the pair stream, refused when it runs past the value or is longer than a keyword.
bool ReadPairString(const uint8_t** cursor, const uint8_t* end, std::basic_string<zqwchar>& out) {
    zqwchar text[kMaxPairChars + 2];
    zqbs::ReadString(cursor, end, text, kMaxPairChars + 2);
    if (!*cursor) return false;
    out.assign(text);
    return out.size() <= kMaxPairChars;
}

}  // namespace

void EncodeCounter(int counter, uint8_t out[4]) {
    const uint32_t value = static_cast<uint32_t>(counter);
    out[0] = static_cast<uint8_t>(value & 0xFF);
    out[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
    out[2] = 0;
    out[3] = 0;
}

int DecodeCounter(const uint8_t* data, size_t size) {
    if (!data || size < 4) return 0;
    return static_cast<int>(Le32(data) & 0x7FFFFFFF);
}

size_t ValueSize(const PairText* pairs, size_t count) {
    size_t size = kHeadSize + 2;
    for (size_t i = 0; pairs && i < count; ++i) size += 2 * Units(pairs[i].feature) + 2 * Units(pairs[i].option) + 8;
    return size;
}

void WriteValue(const QuickSetHead& head, const PairText* pairs, size_t count, uint8_t* out) {
    if (!out) return;
    QuickSetHead stored = head;
    stored.cbTotal = static_cast<uint32_t>(ValueSize(pairs, count));
    stored.cPairs = static_cast<uint32_t>(pairs ? count : 0);
    std::memcpy(out, &stored, kHeadSize);
    uint8_t* cursor = out + kHeadSize;
    for (size_t i = 0; pairs && i < count; ++i) {
        const zqwchar empty[1] = {0};
        zqbs::WriteString(&cursor, pairs[i].feature ? pairs[i].feature : empty);
        zqbs::WriteByte(&cursor, kFeatureEnd);
        zqbs::WriteString(&cursor, pairs[i].option ? pairs[i].option : empty);
        zqbs::WriteByte(&cursor, kOptionEnd);
    }
    zqbs::WriteByte(&cursor, 0);
    zqbs::WriteByte(&cursor, 0);
}

bool ReadValue(const uint8_t* data, size_t size, const ReadContext& context, QuickSetHead& head,
               std::vector<PairRead>& pairs) {
    std::memset(&head, 0, sizeof head);
    pairs.clear();
    if (!data || size < 12 || Le32(data) != size) return false;
    const uint8_t* end = data + size;
    const uint8_t* cursor = data + 8;
    head.cbTotal = static_cast<uint32_t>(size);
    head.dwMarker = kMarker;
    const uint32_t nameUnits = zqbs::ReadDword(&cursor, end);
    if (nameUnits > kNameCapacity || (context.refuseShortName && nameUnits < kNameCapacity)) return false;
    if (static_cast<size_t>(end - cursor) < nameUnits * 2u) return false;
    // The name field holds at most 81 characters and its terminator.
    for (uint32_t i = 0; i < nameUnits; ++i) {
        const zqwchar unit = static_cast<zqwchar>(cursor[2 * i] | cursor[2 * i + 1] << 8);
        if (i + 1 < kNameCapacity) head.szName[i] = unit;
    }
    cursor += nameUnits * 2u;
    head.cchName = kNameCapacity;

    const uint32_t settingsSize = zqbs::ReadDword(&cursor, end);
    if (!cursor || static_cast<size_t>(end - cursor) < settingsSize) return false;
    if (settingsSize >= kSettingsSize) {
        std::memcpy(&head.settings, cursor, kSettingsSize);
    } else {
        if (context.pFill)
            head.settings = *context.pFill;
        else
            DefaultSettings(head.settings);
        bool factory = context.factoryName != nullptr;
        for (size_t i = 0; factory; ++i) {
            if (head.szName[i] != context.factoryName[i]) factory = false;
            if (!head.szName[i] || i + 1 >= kNameCapacity) break;
        }
        if (!factory) std::memcpy(&head.settings, cursor, settingsSize);
    }
    cursor += settingsSize;
    head.cbSettings = kSettingsSize;

    const uint32_t count = zqbs::ReadDword(&cursor, end);
    if (!cursor) return false;
    for (uint32_t i = 0; i < count; ++i) {
        PairRead pair;
        uint8_t mark = 0;
        if (!ReadPairString(&cursor, end, pair.feature) || !zqbs::ReadByte(&cursor, end, &mark)) return false;
        const bool taken = mark == kFeatureEnd;
        if (taken && !ReadPairString(&cursor, end, pair.option)) return false;
        if (!zqbs::ReadByte(&cursor, end, &mark)) return false;
        if (taken) pairs.push_back(std::move(pair));
    }
    uint8_t last = 0;
    if (!zqbs::ReadByte(&cursor, end, &last)) return false;
    head.cPairs = static_cast<uint32_t>(pairs.size());
    return true;
}

void DefaultSettings(QuickSetSettings& out) {
    std::memset(&out, 0, sizeof out);
    for (uint32_t& tile : out.adwPosterTiles) tile = 1;
}

void Capture(ZQUIDevmode& dm, QuickSetSettings& out) {
    std::memset(&out, 0, sizeof out);
    out.wDuplex = dm.wDuplex;
    out.wOrientation = dm.wOrientation;
    out.wScale = dm.wScale;
    const uint32_t paperSource[9] = {dm.dwDiffPaper,         dm.dwFirstPageSource,    dm.dwFirstPageMedia,
                                     dm.dwBackCover,         dm.dwPrintQualityGroupIndex, dm.dwBackCoverSource,
                                     dm.dwBackCoverMedia,    dm.dwOtherPagesSource,   dm.dwOtherPagesMedia};
    std::memcpy(out.adwPaperSource, paperSource, sizeof paperSource);
    std::memcpy(out.adwFinishing, &dm.dwPageBorders, sizeof out.adwFinishing);
    zqdm::CopyText(out.szWmName, 256, dm.szWmName);
    if (dm.dwPagesPerSheet != 1 && dm.dwBooklet == 0) dm.dwScaleToFit = 0;
    out.dwPrintDocOn = dm.dwPrintDocOn;
    out.dwPrintedOnPaper = dm.dwPrintedOnPaper;
    out.dwMinimizeMargins = dm.dwScaleToFit;
    out.dwScalePercent = dm.dwScalePercent;
    out.dwWmFirstPageOnly = dm.dwWmFirstPageOnly;
    out.dwDuplexConflict = dm.dwDuplexConflict;
    out.dwPinRequired = dm.dwPinRequired;
    out.dwPinNumber = dm.dwPinNumber;
    zqdm::CopyText(out.szJsUserName, 257, dm.szJsUserName);
    zqdm::CopyText(out.szJsJobName, 257, dm.szJsJobName);
    out.dwRetentionMode = dm.dwRetentionMode;
    const uint32_t jobStorage[4] = {dm.dwUserNameCustom, dm.dwJobNameCustom, dm.dwDisplayJobId, dm.dwNameExistsChoice};
    std::memcpy(out.adwJobStorage, jobStorage, sizeof jobStorage);
    out.dwChromixAuto = dm.dwChromixAuto;
    out.dwPrintAsGray = dm.dwPrintAsGray;
    std::memcpy(out.adwJobOptions, &dm.dwSepia, sizeof out.adwJobOptions);
    std::memcpy(out.adwPosterTiles, dm.adwPosterTiles, sizeof out.adwPosterTiles);
    std::memcpy(out.adwPaperSource2, &dm.dwLastPageSource, sizeof out.adwPaperSource2);
    zqdm::CopyText(out.szAppText, 32, dm.szAppText);
    out.dwAutorotate = dm.dwAutorotate;
    std::memcpy(out.adwImageShift, dm.aiImageShift, sizeof out.adwImageShift);
    out.dwImageShift8 = static_cast<uint32_t>(dm.aiImageShift[8]);
    zqdm::CopyText(out.szExtraText, 10, dm.szExtraText);
    std::memcpy(out.adwExtra, dm.adwExtra, sizeof out.adwExtra);
}

void Restore(const QuickSetSettings& block, ZQUIDevmode& dm) {
    dm.wDuplex = block.wDuplex;
    dm.wOrientation = block.wOrientation;
    dm.wScale = block.wScale;
    uint32_t* const paperSource[9] = {&dm.dwDiffPaper,         &dm.dwFirstPageSource,    &dm.dwFirstPageMedia,
                                      &dm.dwBackCover,         &dm.dwPrintQualityGroupIndex, &dm.dwBackCoverSource,
                                      &dm.dwBackCoverMedia,    &dm.dwOtherPagesSource,   &dm.dwOtherPagesMedia};
    for (size_t i = 0; i < 9; ++i) *paperSource[i] = block.adwPaperSource[i];
    std::memcpy(&dm.dwPageBorders, block.adwFinishing, sizeof block.adwFinishing);
    zqdm::CopyText(dm.szWmName, 256, block.szWmName);
    dm.dwPrintDocOn = block.dwPrintDocOn;
    dm.dwPrintedOnPaper = block.dwPrintedOnPaper;
    dm.dwScaleToFit = block.dwMinimizeMargins;
    dm.dwScalePercent = block.dwScalePercent;
    dm.dwWmFirstPageOnly = block.dwWmFirstPageOnly;
    dm.dwDuplexConflict = block.dwDuplexConflict;
    dm.dwPinRequired = block.dwPinRequired;
    dm.dwPinNumber = block.dwPinNumber;
    zqdm::CopyText(dm.szJsUserName, 257, block.szJsUserName);
    zqdm::CopyText(dm.szJsJobName, 257, block.szJsJobName);
    dm.dwRetentionMode = block.dwRetentionMode;
    dm.dwUserNameCustom = block.adwJobStorage[0];
    dm.dwJobNameCustom = block.adwJobStorage[1];
    dm.dwDisplayJobId = block.adwJobStorage[2];
    dm.dwNameExistsChoice = block.adwJobStorage[3];
    dm.dwChromixAuto = block.dwChromixAuto;
    dm.dwPrintAsGray = block.dwPrintAsGray;
    std::memcpy(&dm.dwSepia, block.adwJobOptions, sizeof block.adwJobOptions);
    std::memcpy(dm.adwPosterTiles, block.adwPosterTiles, sizeof block.adwPosterTiles);
    std::memcpy(&dm.dwLastPageSource, block.adwPaperSource2, sizeof block.adwPaperSource2);
    zqdm::CopyText(dm.szAppText, 32, block.szAppText);
    dm.dwAutorotate = block.dwAutorotate;
    std::memcpy(dm.aiImageShift, block.adwImageShift, sizeof block.adwImageShift);
    dm.aiImageShift[8] = static_cast<int32_t>(block.dwImageShift8);
    zqdm::CopyText(dm.szExtraText, 10, block.szExtraText);
    std::memcpy(dm.adwExtra, block.adwExtra, sizeof block.adwExtra);
}

bool PaperQualityDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block, bool bMediaItem) {
    const uint32_t* ps = block.adwPaperSource;
    const uint32_t* ps2 = block.adwPaperSource2;
    // A paper the block leaves unset (0 is neither a bin nor a media id) is the core driver's
    // choice, which the pages store in its place.
    const auto paperDiffers = [](uint32_t now, uint32_t then) { return then != 0 && now != then; };
    // 3068, 3072, 3080, 3104, 5760, 5768, 5776 and 3136.
    if (dm.dwDiffPaper != ps[0] || paperDiffers(dm.dwFirstPageSource, ps[1]) || dm.dwBackCover != ps[3] ||
        paperDiffers(dm.dwOtherPagesSource, ps[7]) || paperDiffers(dm.dwFrontCoverSource, ps2[2]) ||
        dm.dwFrontCoverFeederIndex != ps2[4] || dm.dwBackCoverFeederIndex != ps2[6] ||
        dm.dwAutorotate != block.dwAutorotate)
        return true;
    // 3076, 3100, 3108, 5764, 5772, 5780, 5784, 5788 and 5792.
    if (bMediaItem &&
        (paperDiffers(dm.dwFirstPageMedia, ps[2]) || paperDiffers(dm.dwBackCoverMedia, ps[6]) ||
         paperDiffers(dm.dwOtherPagesMedia, ps[8]) || paperDiffers(dm.dwFrontCoverMedia, ps2[3]) ||
         paperDiffers(dm.dwFrontCoverFeederMedia, ps2[5]) || paperDiffers(dm.dwBackCoverFeederMedia, ps2[7]) ||
         dm.dwBackCoverFeeder != ps2[8] || dm.dwFrontCover != ps2[9] || dm.dwFrontCoverFeeder != ps2[10]))
        return true;
    return !SameText(dm.szExtraText, block.szExtraText, 10) ||
           std::memcmp(dm.adwExtra, block.adwExtra, sizeof block.adwExtra) != 0;
}

bool JobStorageDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block) {
    const uint32_t* js = block.adwJobStorage;
    if (dm.dwPinRequired != block.dwPinRequired || dm.dwPinNumber != block.dwPinNumber ||
        dm.dwRetentionMode != block.dwRetentionMode || dm.dwUserNameCustom != js[0] || dm.dwJobNameCustom != js[1] ||
        dm.dwDisplayJobId != js[2])
        return true;
    if (!SameText(dm.szJsJobName, block.szJsJobName, 257)) return true;
    // Whether a name that exists may be replaced is the devmode's to offer: the block has no such field.
    if (dm.dwNameExistsAvailable && dm.dwNameExistsChoice != js[3]) return true;
    if ((dm.dwUserNameCustom || js[0]) && !SameText(dm.szJsUserName, block.szJsUserName, 257)) return true;
    for (int i = 0; i < 8; ++i)
        if (static_cast<uint32_t>(dm.aiImageShift[i]) != block.adwImageShift[i]) return true;
    return static_cast<uint32_t>(dm.aiImageShift[8]) != block.dwImageShift8;
}

bool JobOptionsDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block) {
    return dm.dwChromixAuto != block.dwChromixAuto || dm.dwPrintAsGray != block.dwPrintAsGray ||
           std::memcmp(&dm.dwSepia, block.adwJobOptions, sizeof block.adwJobOptions) != 0;
}

bool FinishingDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block, int tilesPerSide) {
    // 1852 to 1884: the manual two-sided flag at 1888 is the block's but no page's to compare.
    if (std::memcmp(&dm.dwPageBorders, block.adwFinishing, 9 * sizeof(uint32_t)) != 0) return true;
    const int tiles = tilesPerSide <= 0 ? 0 : tilesPerSide >= 5 ? 25 : tilesPerSide * tilesPerSide;
    for (int i = 0; i < tiles; ++i)
        if (dm.adwPosterTiles[i] != block.adwPosterTiles[i]) return true;
    return false;
}

bool EffectsNumbersDiffer(const ZQUIDevmode& dm, const QuickSetSettings& block) {
    // The paper printed on counts while the document is printed on another paper. Otherwise the
    // pages keep it each by its own rule (a borderless paper's twin, Letter, the document's paper)
    // and none of them prints on it.
    return dm.dwPrintDocOn != block.dwPrintDocOn ||
           (dm.dwPrintDocOn && dm.dwPrintedOnPaper != block.dwPrintedOnPaper) ||
           dm.dwScaleToFit != block.dwMinimizeMargins || dm.dwScalePercent != block.dwScalePercent ||
           dm.dwWmFirstPageOnly != block.dwWmFirstPageOnly;
}

bool WatermarkNameDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block) {
    return !SameText(dm.szWmName, block.szWmName, 256);
}

bool SimplifiedLargeFormatDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block) {
    return dm.dwPrintDocOn != block.dwPrintDocOn || dm.dwPrintedOnPaper != block.dwPrintedOnPaper ||
           dm.dwScaleToFit != block.dwMinimizeMargins || dm.dwScalePercent != block.dwScalePercent ||
           dm.dwPageBorders != block.adwFinishing[0] || dm.dwPageOrderIndex != block.adwFinishing[1] ||
           dm.dwPagesPerSheet != block.adwFinishing[6];
}

bool AppTextDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block) {
    return !SameText(dm.szAppText, block.szAppText, 32);
}

bool OrientationDuplexDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block) {
    return dm.wDuplex != block.wDuplex || dm.wOrientation != block.wOrientation;
}

}  // namespace zqqs
