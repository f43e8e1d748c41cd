#include "formats/zquidevmode.h"

#include <cmath>
#include <cstring>

#include "formats/devmodetags.h"

namespace zqdm {
namespace {

uint8_t* Bytes(ZQUIDevmode& dm) { return reinterpret_cast<uint8_t*>(&dm); }
const uint8_t* Bytes(const ZQUIDevmode& dm) { return reinterpret_cast<const uint8_t*>(&dm); }

void ZeroSection(Section section, ZQUIDevmode& dm) {
    ByteRange r[kMaxRanges];
    int n = SectionRanges(section, r);
    for (int i = 0; i < n; ++i) std::memset(Bytes(dm) + r[i].offset, 0, r[i].size);
}

template <size_t N>
void Terminate(zqwchar (&text)[N]) {
    text[N - 1] = 0;
}

template <typename T>
void Clamp(T& value, T lo, T hi, T fallback) {
    if (value < lo || value > hi) value = fallback;
}

uint32_t Read32(const void* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

}  // namespace

int SectionRanges(Section section, ByteRange out[kMaxRanges]) {
    switch (section) {
        case kHeader:
            out[0] = {0, 48};
            out[1] = {4856, 512};
            out[2] = {5532, 120};
            out[3] = {5796, 540};
            return 4;
        case kPage: out[0] = {48, 80}; return 1;
        case kJobOptions: out[0] = {128, 108}; return 1;
        case kEffects: out[0] = {236, 1616}; return 1;
        case kFinishing:
            out[0] = {1852, 60};
            out[1] = {5652, 100};
            return 2;
        case kJobStorage: out[0] = {1912, 1148}; return 1;
        case kPaperSource:
            out[0] = {3060, 996};
            out[1] = {5752, 44};
            return 2;
        case kQuickSet:
            out[0] = {4056, 632};
            out[1] = {5368, 164};
            return 2;
        case kAppInfo: out[0] = {4688, 168}; return 1;
        case kDocOptions: out[0] = {6336, 40}; return 1;
        case kTagRecord: out[0] = {6376, 64}; return 1;
        case kReservedBlocks: out[0] = {6440, 36}; return 1;
        case kExtraEntry: out[0] = {6476, 36}; return 1;
        default: return 0;
    }
}

bool IsCurrentBlock(const void* block, size_t available) {
    if (!block || available < kSize) return false;
    const uint8_t* p = static_cast<const uint8_t*>(block);
    return Read32(p) >= kSize && Read32(p + 4) == kSignature && Read32(p + 8) == kVersion;
}

void WriteHeaderIdentity(ZQUIDevmode& dm) {
    dm.dwSize = kSize;
    dm.dwSignature = kSignature;
    dm.dwVersion = kVersion;
}

void CopyText(zqwchar* dst, size_t cap, const zqwchar* src) {
    if (!dst || cap == 0) return;
    size_t i = 0;
    if (src) {
        for (; i + 1 < cap && src[i]; ++i) dst[i] = src[i];
    }
    dst[i] = 0;
}

void FillSectionDefaults(Section section, ZQUIDevmode& dm, const DefaultInputs& in) {
    ZeroSection(section, dm);
    switch (section) {
        case kHeader:
            WriteHeaderIdentity(dm);
            break;
        case kPage:
            dm.wOrientation = in.hasPublic ? in.orientation : 1;
            dm.wDuplex = in.hasPublic ? in.duplex : 1;
            dm.wScale = in.hasPublic ? in.scale : 100;
            dm.wCollate = in.hasPublic ? in.collate : 1;
            dm.wColor = in.hasPublic ? in.color : 1;
            dm.wPaperSize = in.paperSize;
            dm.wPaperLength = in.paperLength;
            dm.wPaperWidth = in.paperWidth;
            for (int32_t& slot : dm.aiRecentPaperSizes) slot = -1;
            SanitizeSection(kPage, dm);
            break;
        case kEffects:
            CopyText(dm.szWmName, 256, in.noneText);
            CopyText(dm.szWmText, 256, in.noneText);
            CopyText(dm.szWmFont, 256, in.fontName);
            dm.dwWmAngle = 52;
            dm.dwWmSize = 80;
            dm.dwWmShade = 1;
            dm.dwWmColorA = 0x00C0C0C0;
            dm.dwWmColorB = 0x00C0C0C0;
            dm.dwPrintedOnPaper = in.paperSize;
            dm.dwScaleToFit = 1;
            dm.dwScalePercent = 100;
            dm.fScaleFactor = 1.0f;
            break;
        case kFinishing:
            dm.dwPagesPerSheet = 1;
            for (uint32_t& tile : dm.adwPosterTiles) tile = 1;
            break;
        case kJobStorage:
            CopyText(dm.szJsUserName, 257, in.userName);
            dm.dwDisplayJobId = 1;
            dm.dwNameExistsChoice = 1;
            break;
        case kQuickSet:
            // On: the pages mark settings that left their quick set or document type, and the
            // synchronisation keeps the section.
            dm.dwQuickSetInUse = 1;
            dm.dwDocTypeScaling = 100;
            dm.dwDocTypeCopies = 1;
            break;
        case kTagRecord:
            zqtag::WriteEmptyRecord(dm.abTagRecord);
            break;
        default:
            break;
    }
}

void FillAllDefaults(ZQUIDevmode& dm, const DefaultInputs& in) {
    for (int s = 0; s < kSectionCount; ++s) FillSectionDefaults(static_cast<Section>(s), dm, in);
}

void SanitizeSection(Section section, ZQUIDevmode& dm) {
    switch (section) {
        case kPage:
            Clamp<uint16_t>(dm.wOrientation, 1, 2, 1);
            Clamp<uint16_t>(dm.wDuplex, 1, 3, 1);
            Clamp<uint16_t>(dm.wScale, 1, 1000, 100);
            break;
        case kEffects:
            Terminate(dm.szWmName);
            Terminate(dm.szWmText);
            Terminate(dm.szWmFont);
            Clamp<uint32_t>(dm.dwWmAngle, 0, 360, 52);
            Clamp<uint32_t>(dm.dwWmAngleMode, 0, 2, 0);
            Clamp<uint32_t>(dm.dwScalePercent, 1, 1000, 100);
            // Pages divide by the factor: anything but a sane positive number becomes 100 %.
            if (!std::isfinite(dm.fScaleFactor) || dm.fScaleFactor < 0.01f || dm.fScaleFactor > 10.0f)
                dm.fScaleFactor = 1.0f;
            break;
        case kFinishing:
            Clamp<uint32_t>(dm.dwPageOrderIndex, 0, 3, 0);
            Clamp<uint32_t>(dm.dwBooklet, 0, 2, 0);
            Clamp<uint32_t>(dm.dwPagesPerSheet, 1, 6, 1);
            break;
        case kJobStorage:
            Terminate(dm.szJsUserName);
            Terminate(dm.szJsJobName);
            Clamp<uint32_t>(dm.dwRetentionMode, 0, 4, 0);
            break;
        case kPaperSource:
            for (auto& name : dm.aszRecentMediaTypes) Terminate(name);
            break;
        case kQuickSet:
            Terminate(dm.szDocTypeName);
            Terminate(dm.szQuickSetName);
            break;
        case kAppInfo:
            Terminate(dm.szAppText);
            break;
        case kExtraEntry:
            Terminate(dm.szExtraText);
            break;
        case kTagRecord:
            // A block whose tag slot holds no record gets an empty one, so a run can always be tagged.
            if (zqtag::FindRecord(dm.abTagRecord, sizeof dm.abTagRecord, nullptr) != 0)
                zqtag::WriteEmptyRecord(dm.abTagRecord);
            break;
        case kHeader:
            // The help path is rewritten by page assembly; never carry a stored one.
            std::memset(dm.szHelpFile, 0, sizeof dm.szHelpFile);
            break;
        default:
            break;
    }
}

void CopySection(Section section, ZQUIDevmode& out, const ZQUIDevmode& in) {
    if (section == kHeader) {
        // Only the identity and the values the plug-in core keeps: 12-47, start page, flags.
        WriteHeaderIdentity(out);
        std::memcpy(Bytes(out) + 12, Bytes(in) + 12, 36);
        out.iStartPage = in.iStartPage;
        out.dwFlags = in.dwFlags;
        SanitizeSection(kHeader, out);
        return;
    }
    ByteRange r[kMaxRanges];
    int n = SectionRanges(section, r);
    for (int i = 0; i < n; ++i) std::memmove(Bytes(out) + r[i].offset, Bytes(in) + r[i].offset, r[i].size);
    SanitizeSection(section, out);
}

}  // namespace zqdm
