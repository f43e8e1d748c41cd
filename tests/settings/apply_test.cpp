// Stored settings with rules of their own: the PostScript driver's toggles, items for which no
// block is given, and the duplex flip. (Whole configurations: tests/featurelogic.)
#include <gtest/gtest.h>

#include "common/zqcommon.h"
#include "formats/zquidevmode.h"
#include "optitemfixture.h"
#include "settings/zqdriverdata.h"

namespace {

TEST(StoredSpecialItems, AnswerForThemselvesAndNeverForAMissingBlock) {
    // The PostScript driver's toggles among its unnamed items.
    zqtest::COptItemFixture ps;
    for (int i = 0; i < 8; ++i) ps.Add(zqtest::ListFeature("", {{"A", L"A"}, {"B", L"B"}, {"C", L"C"}, {"D", L"D"}}));
    ps.Add(zqtest::ListFeature("Stapling", {{"None", L"None"}}));
    ps.Build();
    ZQUIDevmode dm = {};
    CZQCommon().BFillDefaultDevmode(&dm, nullptr);
    OEMCUIPPARAM* p = ps.Param();
    p->pOEMDM = &dm;
    CZQDriverData data;
    const struct {
        DWORD language;
        const wchar_t* name;
        const wchar_t* value;
        int occurrence;
        LONG sel;
    } toggles[] = {{zqdm::kPdlPcl6, L"LanguageLevel", L"2", 4, 0},  // not for this language
                   {zqdm::kPdlPostScript, L"MirrorPrint", L"True", 6, 0},
                   {zqdm::kPdlPcl3, L"NegativePrint", L"false", 7, 1},
                   {zqdm::kPdlPostScript, L"LanguageLevel", L"3", 4, 3}};
    for (const auto& t : toggles) {
        data.VSetLanguage(t.language);
        EXPECT_FALSE(data.BApplySpecialItem(p, t.name, t.value));
        POPTITEM item = nullptr;
        ASSERT_EQ(ZQOPT_OK, CZQCommon::DWFindOptItemByPubId(p, 0, t.occurrence, &item));
        EXPECT_EQ(t.sel, item->Sel) << t.name;
    }
    EXPECT_EQ(1u, dm.dwMirror);
    // Anything else is selected the ordinary way; without the core driver's object nothing is.
    EXPECT_TRUE(data.BApplySpecialItem(p, L"Stapling", L"None"));
    p->poemuiobj = nullptr;
    EXPECT_FALSE(data.BApplySpecialItem(p, L"Stapling", L"None"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    WCHAR keyword[256];
    BYTE pubId = 0;
    EXPECT_FALSE(CZQDriverData::BMapConfigName(p, L"PaperSize", keyword, &pubId));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    DWORD status = 0;
    data.VApplyPublicItem(p, DMPUB_FORMNAME, L"A4", CZQStoredTrees(nullptr), &status);
    EXPECT_EQ(static_cast<DWORD>(-1), status);
}

TEST(StoredSpecialItems, TheDuplexFlipFollowsTheSheet) {
    // Pages per sheet code, orientation, duplex -> flip.
    const DWORD flips[][4] = {{2, 2, 2, 0}, {2, 1, 2, 1}, {1, 2, 3, 0}, {1, 1, 3, 1}, {4, 2, 3, 1},
                              {1, 0, 2, 1}, {1, 1, 1, 0}, {2, 1, 0, 0}};
    for (const auto& f : flips)
        EXPECT_EQ(f[3], CZQDriverData::BGetDuplexFlip(f[0], f[1], f[2])) << f[0] << f[1] << f[2];
}

}  // namespace
