#include "device/zqmediacodes.h"

#include "common/zqkeywords.h"
#include "common/zqstrings.h"

namespace {

struct MediaCodeRow {
    PCWSTR keyword;
    DWORD code;
};

// Several keywords share a code; the first of them is the name a code gives.
constexpr MediaCodeRow kMediaCodes[] = {
    {L"ZQ_EXTRA_HEAVY_MATTE_PAPER", 1121},
    {L"PLAIN_PAPER", 1000},
    {zqkw::kPlainMedia, 1000},
    {L"BRIGHT_WHITE_BOND_PAPER", 1010},
    {L"COATED_PAPER", 1100},
    {L"HEAVYWEIGHT_COATED_PAPER", 1110},
    {L"HEAVY_WEIGHT_COATED_PAPER", 1110},
    {L"SUPER_HEAVYWEIGHT_COATED_PAPER", 1120},
    {L"SUPER_HEAVY_COATED_PAPER", 1120},
    {L"ZQ_FAST_DRY_PHOTO_GLOSS", 2001},
    {L"ZQ_FAST_DRY_PHOTO_SATIN", 2011},
    {L"ZQ_PHOTO_MATTE", 2020},
    {L"PHOTO_GLOSS_PAPER", 2000},
    {L"PHOTO_SEMI_GLOSS_SATIN_PAPER", 2010},
    {L"PHOTO_MATTE_PAPER", 2021},
    {L"ZQ_HIGH_GLOSS_PROOFING_PAPER", 2101},
    {L"ZQ_SEMI_GLOSS_PROOFING_PAPER", 2111},
    {L"ZQ_PROOFING_MATTE", 2121},
    {L"PROOFING_GLOSS_PAPER", 2100},
    {L"PROOFING_SEMI_GLOSS_SATIN_PAPER", 2110},
    {L"PROOFING_MATTE_PAPER", 2120},
    {L"ZQ_MATTE_CANVAS", 4001},
    {L"ZQ_SATIN_CANVAS", 4002},
    {L"ZQ_FINE_MATTE_CANVAS", 4003},
    {L"ZQ_SMOOTH_FINE_ART", 4021},
    {L"ZQ_MATTE_LITHO_PAPER", 4031},
    {L"ZQ_ETCHING_FINE_ART", 4051},
    {L"ZQ_TEXTURED_FINE_ART", 4052},
    {L"CANVAS", 4000},
    {L"WATERCOLOR_PAPER", 4010},
    {L"COTTON_RAG_PAPER", 4020},
    {L"SMOOTH_PAPER", 4030},
    {L"VELVET_PAPER", 4040},
    {L"TEXTURED_FINE_ART_PAPER", 4050},
    {L"TRANSPARENT_CLEAR_FILM", 3100},
    {L"MATTE_FILM", 3110},
    {L"NATURAL_TRACING_PAPER", 3000},
    {L"TRANSLUCENT_BOND", 3010},
    {L"VELLUM", 3020},
    {L"BACKLIT_MATERIAL", 3200},
};
static_assert(sizeof(kMediaCodes) / sizeof(kMediaCodes[0]) == 40, "40 media rows");

}  // namespace

BOOL BMediaCodeFromName(PCWSTR pszKeyword, DWORD* pdwCode) {
    if (pdwCode) *pdwCode = 0;
    if (!pszKeyword || !pdwCode) return FALSE;
    for (const MediaCodeRow& row : kMediaCodes) {
        if (ZQEqualNoCase(pszKeyword, row.keyword)) {
            *pdwCode = row.code;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL BGetMediaNameFromCode(DWORD dwCode, PWSTR pszName, int cchName) {
    if (!pszName || cchName < 1) return FALSE;
    ZeroMemory(pszName, static_cast<size_t>(cchName) * sizeof(WCHAR));
    if (dwCode == 0) return FALSE;
    for (const MediaCodeRow& row : kMediaCodes) {
        if (row.code == dwCode) {
            ZQCopyText(pszName, static_cast<size_t>(cchName), row.keyword);
            return TRUE;
        }
    }
    return FALSE;
}
