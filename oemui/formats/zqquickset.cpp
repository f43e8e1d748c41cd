#include "formats/zqquickset.h"

#include <cstring>

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

}  // namespace

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

bool PaperQualityDiffers(const ZQUIDevmode& dm, const QuickSetSettings& block, bool bMediaItem) {
    const uint32_t* ps = block.adwPaperSource;
    const uint32_t* ps2 = block.adwPaperSource2;
    // 3068, 3072, 3080, 3104, 5760, 5768, 5776 and 3136.
    if (dm.dwDiffPaper != ps[0] || dm.dwFirstPageSource != ps[1] || dm.dwBackCover != ps[3] ||
        dm.dwOtherPagesSource != ps[7] || dm.dwFrontCoverSource != ps2[2] || dm.dwFrontCoverFeederIndex != ps2[4] ||
        dm.dwBackCoverFeederIndex != ps2[6] || dm.dwAutorotate != block.dwAutorotate)
        return true;
    // 3076, 3100, 3108, 5764, 5772, 5780, 5784, 5788 and 5792.
    if (bMediaItem &&
        (dm.dwFirstPageMedia != ps[2] || dm.dwBackCoverMedia != ps[6] || dm.dwOtherPagesMedia != ps[8] ||
         dm.dwFrontCoverMedia != ps2[3] || dm.dwFrontCoverFeederMedia != ps2[5] ||
         dm.dwBackCoverFeederMedia != ps2[7] || dm.dwBackCoverFeeder != ps2[8] || dm.dwFrontCover != ps2[9] ||
         dm.dwFrontCoverFeeder != ps2[10]))
        return true;
    return !SameText(dm.szExtraText, block.szExtraText, 10) ||
           std::memcmp(dm.adwExtra, block.adwExtra, sizeof block.adwExtra) != 0;
}

}  // namespace zqqs
