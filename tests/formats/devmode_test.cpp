#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "common/zqcommon.h"
#include "common/zqdevmodetags.h"
#include "formats/zquidevmode.h"

namespace {

DEVMODEW PublicDevmode() {
    DEVMODEW dm = {};
    dm.dmSize = sizeof dm;
    dm.dmFields = DM_ORIENTATION | DM_DUPLEX | DM_SCALE | DM_COLLATE | DM_COLOR | DM_PAPERSIZE;
    dm.dmOrientation = DMORIENT_LANDSCAPE;
    dm.dmDuplex = DMDUP_VERTICAL;
    dm.dmScale = 75;
    dm.dmCollate = DMCOLLATE_FALSE;
    dm.dmColor = DMCOLOR_COLOR;
    dm.dmPaperSize = DMPAPER_A4;
    return dm;
}

std::unique_ptr<ZQUIDevmode> Block() { return std::make_unique<ZQUIDevmode>(); }

std::unique_ptr<ZQUIDevmode> DefaultBlock(DEVMODEW* pub) {
    auto dm = Block();
    CZQCommon common;
    EXPECT_TRUE(common.BFillDefaultDevmode(dm.get(), pub));
    return dm;
}

TEST(DevmodeLayout, SectionsCoverEveryByteExactlyOnce) {
    std::vector<int> owner(zqdm::kSize, -1);
    for (int s = 0; s < zqdm::kSectionCount; ++s) {
        zqdm::ByteRange r[zqdm::kMaxRanges];
        int n = zqdm::SectionRanges(static_cast<zqdm::Section>(s), r);
        ASSERT_GT(n, 0);
        for (int i = 0; i < n; ++i) {
            ASSERT_LE(r[i].offset + r[i].size, zqdm::kSize);
            for (uint32_t b = r[i].offset; b < r[i].offset + r[i].size; ++b) {
                ASSERT_EQ(owner[b], -1) << "byte " << b << " in two sections";
                owner[b] = s;
            }
        }
    }
    for (uint32_t b = 0; b < zqdm::kSize; ++b) ASSERT_NE(owner[b], -1) << "byte " << b << " in no section";
}

TEST(DevmodeDefaults, HeaderAndSectionDefaults) {
    DEVMODEW pub = PublicDevmode();
    auto dm = DefaultBlock(&pub);
    EXPECT_EQ(6512u, dm->dwSize);
    EXPECT_EQ(0, memcmp(&dm->dwSignature, "IUQZ", 4)) << "'ZQUI' as a DWORD";
    EXPECT_EQ(0x00110010u, dm->dwVersion);

    // Page fields come from the public devmode.
    EXPECT_EQ(DMORIENT_LANDSCAPE, dm->wOrientation);
    EXPECT_EQ(DMDUP_VERTICAL, dm->wDuplex);
    EXPECT_EQ(75, dm->wScale);
    EXPECT_EQ(DMCOLLATE_FALSE, dm->wCollate);
    EXPECT_EQ(DMCOLOR_COLOR, dm->wColor);
    EXPECT_EQ(DMPAPER_A4, dm->wPaperSize);
    for (int32_t slot : dm->aiRecentPaperSizes) EXPECT_EQ(-1, slot);

    EXPECT_STREQ(L" [none]", dm->szWmName);
    EXPECT_STREQ(L" [none]", dm->szWmText);
    EXPECT_STRNE(L"", dm->szWmFont);
    EXPECT_EQ(52u, dm->dwWmAngle);
    EXPECT_EQ(80u, dm->dwWmSize);
    EXPECT_EQ(1u, dm->dwWmShade);
    EXPECT_EQ(0x00C0C0C0u, dm->dwWmColorA);
    EXPECT_EQ(0x00C0C0C0u, dm->dwWmColorB);
    EXPECT_EQ(static_cast<uint32_t>(DMPAPER_A4), dm->dwPrintedOnPaper);
    EXPECT_EQ(1u, dm->dwScaleToFit);
    EXPECT_EQ(100u, dm->dwScalePercent);
    EXPECT_FLOAT_EQ(1.0f, dm->fScaleFactor);

    EXPECT_EQ(1u, dm->dwPagesPerSheet);
    for (uint32_t tile : dm->adwPosterTiles) EXPECT_EQ(1u, tile);
    EXPECT_EQ(1u, dm->dwDisplayJobId);
    EXPECT_EQ(1u, dm->dwNameExistsChoice);
    EXPECT_EQ(100u, dm->dwDocTypeScaling);
    EXPECT_EQ(1u, dm->dwDocTypeCopies);

    // The user name is stored in capitals.
    for (const wchar_t* p = dm->szJsUserName; *p; ++p) EXPECT_FALSE(IsCharLowerW(*p));

    // An empty tag record sits in its slot, ready for a conversion run.
    BYTE* value = nullptr;
    ASSERT_TRUE(CZQDevmodeTags::BGetValue(reinterpret_cast<BYTE*>(dm.get()), zqdm::kSize, &value));
    EXPECT_EQ(value, dm->abTagRecord + zqtag::kValueOffset);
}

TEST(DevmodeDefaults, WithoutPublicDevmodeOrItsFieldsThePlainDefaultsHold) {
    auto dm = DefaultBlock(nullptr);
    EXPECT_EQ(1, dm->wOrientation);
    EXPECT_EQ(1, dm->wDuplex);
    EXPECT_EQ(100, dm->wScale);
    EXPECT_EQ(1, dm->wCollate);
    EXPECT_EQ(1, dm->wColor);

    DEVMODEW pub = PublicDevmode();
    pub.dmFields = 0;  // fields present in memory but not announced
    auto dm2 = DefaultBlock(&pub);
    EXPECT_EQ(1, dm2->wOrientation);
    EXPECT_EQ(100, dm2->wScale);

    // A public devmode with nonsense values cannot put them into the block.
    pub = PublicDevmode();
    pub.dmOrientation = 7;
    pub.dmDuplex = 0;
    auto dm3 = DefaultBlock(&pub);
    EXPECT_EQ(1, dm3->wOrientation);
    EXPECT_EQ(1, dm3->wDuplex);
}

// A block of ours with every section changed from its defaults.
std::unique_ptr<ZQUIDevmode> EditedBlock() {
    DEVMODEW pub = PublicDevmode();
    auto dm = DefaultBlock(&pub);
    dm->dwPdl = 3;
    dm->dwLayoutMode = 3;
    dm->wOrientation = 2;
    dm->dwSepia = 1;
    lstrcpyW(dm->szWmName, L"Draft");
    dm->dwWmAngle = 30;
    dm->dwBooklet = 2;
    dm->dwPagesPerSheet = 4;
    lstrcpyW(dm->szJsJobName, L"Report");
    dm->dwRetentionMode = 3;
    dm->dwDiffPaper = 1;
    lstrcpyW(dm->aszRecentMediaTypes[1], L"Glossy");
    dm->dwQuickSetInUse = 1;
    lstrcpyW(dm->szQuickSetName, L"Everyday");
    lstrcpyW(dm->szAppText, L"ACC-42");
    dm->dwDocumentMode = 5;
    dm->aiImageShift[5] = -12;
    lstrcpyW(dm->szExtraText, L"EX");
    dm->iStartPage = 832;
    dm->dwFlags = 0x100;
    lstrcpyW(dm->szHelpFile, L"C:\\evil.hlp");
    return dm;
}

TEST(DevmodeMerge, CurrentBlockIsCopiedSectionBySection) {
    auto in = EditedBlock();
    const GUID run = {0x1234, 0x5678, 0x9abc, {1, 2, 3, 4, 5, 6, 7, 8}};
    ASSERT_TRUE(CZQDevmodeTags::BSetValue(reinterpret_cast<BYTE*>(in.get()), zqdm::kSize, run));

    DEVMODEW pub = PublicDevmode();
    auto out = DefaultBlock(&pub);
    CZQCommon common;
    ASSERT_TRUE(common.BMergeDevmode(out.get(), &pub, in.get()));

    EXPECT_EQ(3u, out->dwPdl);
    EXPECT_EQ(3u, out->dwLayoutMode);
    EXPECT_EQ(2, out->wOrientation);
    EXPECT_EQ(1u, out->dwSepia);
    EXPECT_STREQ(L"Draft", out->szWmName);
    EXPECT_EQ(30u, out->dwWmAngle);
    EXPECT_EQ(2u, out->dwBooklet);
    EXPECT_EQ(4u, out->dwPagesPerSheet);
    EXPECT_STREQ(L"Report", out->szJsJobName);
    EXPECT_EQ(3u, out->dwRetentionMode);
    EXPECT_EQ(1u, out->dwDiffPaper);
    EXPECT_STREQ(L"Glossy", out->aszRecentMediaTypes[1]);
    EXPECT_STREQ(L"Everyday", out->szQuickSetName);
    EXPECT_STREQ(L"ACC-42", out->szAppText);
    EXPECT_EQ(5u, out->dwDocumentMode);
    EXPECT_EQ(-12, out->aiImageShift[5]);
    EXPECT_STREQ(L"EX", out->szExtraText);
    EXPECT_EQ(832, out->iStartPage);
    EXPECT_EQ(0x100u, out->dwFlags);
    // The help path is never taken from a stored block.
    EXPECT_STREQ(L"", out->szHelpFile);
    // The conversion run's tag travels with the block.
    EXPECT_TRUE(CZQDevmodeTags::BClearValue(reinterpret_cast<BYTE*>(out.get()), zqdm::kSize, run));
}

TEST(DevmodeMerge, ForeignBlocksGiveDefaults) {
    DEVMODEW pub = PublicDevmode();
    auto reference = DefaultBlock(&pub);
    CZQCommon common;

    auto wrongVersion = EditedBlock();
    wrongVersion->dwVersion = 0x00100010;
    auto wrongSignature = EditedBlock();
    wrongSignature->dwSignature = 0x41424344;
    auto shortSize = EditedBlock();
    shortSize->dwSize = 6000;

    for (auto* in : {wrongVersion.get(), wrongSignature.get(), shortSize.get()}) {
        auto out = EditedBlock();
        ASSERT_TRUE(common.BMergeDevmode(out.get(), &pub, in));
        // Same bytes as a freshly defaulted block.
        EXPECT_EQ(0, memcmp(out.get(), reference.get(), zqdm::kSize));
    }
}

TEST(DevmodeMerge, UntrustedTextsAreTerminatedAndEnumerationsClamped) {
    auto in = EditedBlock();
    for (auto& c : in->szWmName) c = L'A';
    for (auto& c : in->szJsUserName) c = L'B';
    for (auto& c : in->aszRecentMediaTypes[2]) c = L'C';
    for (auto& c : in->szQuickSetName) c = L'D';
    for (auto& c : in->szAppText) c = L'E';
    for (auto& c : in->szExtraText) c = L'F';
    in->wOrientation = 9;
    in->wDuplex = 0;
    in->wScale = 0;
    in->dwPagesPerSheet = 77;
    in->dwBooklet = 3;
    in->dwPageOrderIndex = 4;
    in->dwWmAngle = 720;
    in->dwRetentionMode = 5;
    uint32_t nan = 0x7fc00000;
    memcpy(&in->fScaleFactor, &nan, 4);

    DEVMODEW pub = PublicDevmode();
    auto out = DefaultBlock(&pub);
    CZQCommon common;
    ASSERT_TRUE(common.BMergeDevmode(out.get(), &pub, in.get()));

    EXPECT_EQ(255u, wcslen(out->szWmName));
    EXPECT_EQ(256u, wcslen(out->szJsUserName));
    EXPECT_EQ(63u, wcslen(out->aszRecentMediaTypes[2]));
    EXPECT_EQ(81u, wcslen(out->szQuickSetName));
    EXPECT_EQ(31u, wcslen(out->szAppText));
    EXPECT_EQ(9u, wcslen(out->szExtraText));
    EXPECT_EQ(1, out->wOrientation);
    EXPECT_EQ(1, out->wDuplex);
    EXPECT_EQ(100, out->wScale);
    EXPECT_EQ(1u, out->dwPagesPerSheet);
    EXPECT_EQ(0u, out->dwBooklet);
    EXPECT_EQ(0u, out->dwPageOrderIndex);
    EXPECT_EQ(52u, out->dwWmAngle);
    EXPECT_EQ(0u, out->dwRetentionMode);
    EXPECT_FLOAT_EQ(1.0f, out->fScaleFactor);
}

TEST(DevmodeMerge, MissingDevmodeChangesNothing) {
    DEVMODEW pub = PublicDevmode();
    auto in = EditedBlock();
    auto out = EditedBlock();
    auto before = EditedBlock();
    CZQCommon common;

    SetLastError(0);
    EXPECT_FALSE(common.BMergeDevmode(out.get(), &pub, nullptr));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    SetLastError(0);
    EXPECT_FALSE(common.BMergeDevmode(out.get(), nullptr, in.get()));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    SetLastError(0);
    common.VMergeEffectsSection(out.get(), &pub, nullptr);
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
    common.VMergePageSection(nullptr, &pub, in.get());
    EXPECT_EQ(0, memcmp(out.get(), before.get(), zqdm::kSize));
}

TEST(DevmodeMerge, InPlaceMergeKeepsTheBlock) {
    auto dm = EditedBlock();
    auto expect = EditedBlock();
    DEVMODEW pub = PublicDevmode();
    CZQCommon common;
    ASSERT_TRUE(common.BMergeDevmode(dm.get(), &pub, dm.get()));
    memset(expect->szHelpFile, 0, sizeof expect->szHelpFile);
    EXPECT_EQ(0, memcmp(dm.get(), expect.get(), zqdm::kSize));
}

}  // namespace
