// Section merges and defaults of the private devmode, over the standard-library unit.
#include <lmcons.h>

#include "formats/zquidevmode.h"
#include "common/zqcommon.h"

namespace {

// Texts the defaults need; filled once per call.
struct DefaultTexts {
    WCHAR none[256];
    WCHAR font[256];
    WCHAR user[UNLEN + 1];
};

// String 874: the "no watermark" name in the UI language.
constexpr INT kIdsNone = 874;

void GetDefaultTexts(CZQCommon& common, DefaultTexts& t) {
    if (!common.BLoadResString(kIdsNone, t.none)) lstrcpynW(t.none, L" [none]", 256);
    lstrcpynW(t.font, L"Arial", 256);
    DWORD cch = UNLEN + 1;
    if (!GetUserNameW(t.user, &cch)) t.user[0] = 0;
    t.user[UNLEN] = 0;
    CharUpperW(t.user);
}

void GetDefaultInputs(PDEVMODEW pPublic, const DefaultTexts& t, zqdm::DefaultInputs& in) {
    in.noneText = t.none;
    in.fontName = t.font;
    in.userName = t.user;
    if (!pPublic) return;
    // Only the fields the public devmode says it carries.
    const DWORD f = pPublic->dmFields;
    in.hasPublic = true;
    if (f & DM_ORIENTATION) in.orientation = static_cast<uint16_t>(pPublic->dmOrientation);
    if (f & DM_DUPLEX) in.duplex = static_cast<uint16_t>(pPublic->dmDuplex);
    if (f & DM_SCALE) in.scale = static_cast<uint16_t>(pPublic->dmScale);
    if (f & DM_COLLATE) in.collate = static_cast<uint16_t>(pPublic->dmCollate);
    if (f & DM_COLOR) in.color = static_cast<uint16_t>(pPublic->dmColor);
    if (f & DM_PAPERSIZE) in.paperSize = static_cast<uint16_t>(pPublic->dmPaperSize);
    if (f & DM_PAPERLENGTH) in.paperLength = static_cast<uint16_t>(pPublic->dmPaperLength);
    if (f & DM_PAPERWIDTH) in.paperWidth = static_cast<uint16_t>(pPublic->dmPaperWidth);
}

}  // namespace

void CZQCommon::VMergeSection(int section, PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM) {
    if (!pOutDM || !pPublicDM || !pInDM) {
        SetLastError(ERROR_INVALID_DATA);
        return;
    }
    auto& out = *static_cast<ZQUIDevmode*>(pOutDM);
    const auto sec = static_cast<zqdm::Section>(section);
    if (const ZQUIDevmode* in = zqdm::CurrentBlock(pInDM)) {
        zqdm::CopySection(sec, out, *in);
        return;
    }
    DefaultTexts texts;
    GetDefaultTexts(*this, texts);
    zqdm::DefaultInputs in;
    GetDefaultInputs(pPublicDM, texts, in);
    zqdm::FillSectionDefaults(sec, out, in);
}

void CZQCommon::VMergePageSection(PVOID o, PDEVMODEW p, const VOID* i) { VMergeSection(zqdm::kPage, o, p, i); }
void CZQCommon::VMergeJobOptionsSection(PVOID o, PDEVMODEW p, const VOID* i) {
    VMergeSection(zqdm::kJobOptions, o, p, i);
}
void CZQCommon::VMergeEffectsSection(PVOID o, PDEVMODEW p, const VOID* i) { VMergeSection(zqdm::kEffects, o, p, i); }
void CZQCommon::VMergeDocOptionsSection(PVOID o, PDEVMODEW p, const VOID* i) {
    VMergeSection(zqdm::kDocOptions, o, p, i);
}
void CZQCommon::VMergeFinishingSection(PVOID o, PDEVMODEW p, const VOID* i) {
    VMergeSection(zqdm::kFinishing, o, p, i);
}
void CZQCommon::VMergeJobStorageSection(PVOID o, PDEVMODEW p, const VOID* i) {
    VMergeSection(zqdm::kJobStorage, o, p, i);
}
void CZQCommon::VMergePaperSourceSection(PVOID o, PDEVMODEW p, const VOID* i) {
    VMergeSection(zqdm::kPaperSource, o, p, i);
}
void CZQCommon::VMergeQuickSetSection(PVOID o, PDEVMODEW p, const VOID* i) { VMergeSection(zqdm::kQuickSet, o, p, i); }
void CZQCommon::VMergeAppInfoSection(PVOID o, PDEVMODEW p, const VOID* i) { VMergeSection(zqdm::kAppInfo, o, p, i); }
void CZQCommon::VMergeReservedBlocksSection(PVOID o, PDEVMODEW p, const VOID* i) {
    VMergeSection(zqdm::kReservedBlocks, o, p, i);
}
void CZQCommon::VMergeExtraEntrySection(PVOID o, PDEVMODEW p, const VOID* i) {
    VMergeSection(zqdm::kExtraEntry, o, p, i);
}

BOOL CZQCommon::BFillDefaultDevmode(PVOID pOutDM, PDEVMODEW pPublicDM) {
    if (!pOutDM) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    DefaultTexts texts;
    GetDefaultTexts(*this, texts);
    zqdm::DefaultInputs in;
    GetDefaultInputs(pPublicDM, texts, in);
    zqdm::FillAllDefaults(*static_cast<ZQUIDevmode*>(pOutDM), in);
    return TRUE;
}

BOOL CZQCommon::BMergeDevmode(PVOID pOutDM, PDEVMODEW pPublicDM, const VOID* pInDM) {
    if (!pOutDM || !pPublicDM || !pInDM) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    VMergePageSection(pOutDM, pPublicDM, pInDM);
    VMergeJobOptionsSection(pOutDM, pPublicDM, pInDM);
    VMergeEffectsSection(pOutDM, pPublicDM, pInDM);
    VMergeDocOptionsSection(pOutDM, pPublicDM, pInDM);
    VMergeFinishingSection(pOutDM, pPublicDM, pInDM);
    VMergeJobStorageSection(pOutDM, pPublicDM, pInDM);
    VMergePaperSourceSection(pOutDM, pPublicDM, pInDM);
    VMergeQuickSetSection(pOutDM, pPublicDM, pInDM);
    VMergeAppInfoSection(pOutDM, pPublicDM, pInDM);
    VMergeReservedBlocksSection(pOutDM, pPublicDM, pInDM);
    VMergeExtraEntrySection(pOutDM, pPublicDM, pInDM);
    // Header values and the tag record are no page's section, but a conversion run finds its
    // settings by the tag, so both travel with the block.
    VMergeSection(zqdm::kHeader, pOutDM, pPublicDM, pInDM);
    VMergeSection(zqdm::kTagRecord, pOutDM, pPublicDM, pInDM);
    return TRUE;
}

BOOL CZQCommon::BIsJobStorageValid(const VOID* pPrivateDM) {
    if (!pPrivateDM) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const auto& dm = *static_cast<const ZQUIDevmode*>(pPrivateDM);
    if (dm.dwJobStorageAvailable == 0) return FALSE;
    const DWORD a = dm.dwJs3012;
    const bool mismatch = a != dm.dwJs3024 && a != 0;
    const bool over = dm.dwJs3016 > dm.dwJs3028;
    if (dm.dwJsLayout == 1) {
        if (mismatch || over) return FALSE;
        const uint32_t* set = dm.dwJsSetSelector ? dm.adwJsSetA : dm.adwJsSetB;
        int on = 0;
        for (int i = 0; i < 4; ++i)
            if (set[i]) ++on;
        if (on >= 2) return TRUE;
        return set[0] ? FALSE : TRUE;
    }
    if (!mismatch && !over && dm.dwJsLayout == 0 && dm.dwJsSetSelector != 0) return TRUE;
    if (mismatch || over || dm.dwJsLayout != 2) return FALSE;
    return TRUE;
}

int CZQCommon::IGetNupIndex(const VOID* pPrivateDM) {
    if (!pPrivateDM) {
        SetLastError(ERROR_INVALID_DATA);
        return 0;
    }
    // The item lists one option per pages-per-sheet setting 1-6, in order.
    const auto& dm = *static_cast<const ZQUIDevmode*>(pPrivateDM);
    return ISettingToListIndex(static_cast<int>(dm.dwPagesPerSheet));
}
