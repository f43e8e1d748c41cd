// What the user-interface logic takes from the configuration manager's stored settings: the
// watermark (into the private devmode and the watermark pool) and the print quality the helper
// file's install-time event chose for the stored one.
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "featurelogic/zquilogic.h"
#include "featurelogic/zqwatermarks.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmluirules.h"

namespace {

namespace zs = zqsettings;

static_assert(zs::kOwnOrientationPubId == kOemPubOrientation && zs::kOwnPageOrderPubId == kOemPubPageOrder,
              "the plug-in's own layout items");

constexpr size_t kTextChars = 256;

// The stored watermark kinds: the standard watermark's text in the UI language (English when the
// status module lacks it) and its place among the pool's default watermarks. Any other text is a
// watermark of its own, placed after them.
struct WatermarkKind {
    PCWSTR pszValue;
    INT idText;
    PCWSTR pszEnglish;
    int iPoolIndex;
};
constexpr WatermarkKind kNoWatermark = {L"None", 874, L" [none]", 0};
constexpr WatermarkKind kWatermarkKinds[] = {
    {L"Draft", 878, L"Draft", 2},
    {L"Confidential", 879, L"Confidential", 1},
    {L"SAMPLE", 880, L"SAMPLE", 3},
    kNoWatermark,
};
constexpr int kOwnWatermarkIndex = 4;

// The font enumeration looks for the stored face among the screen's TrueType fonts.
struct FontSearch {
    PCWSTR pszFace;
    bool found;
};

int CALLBACK EnumDMCWatermarkFontProc(const LOGFONTW* pFont, const TEXTMETRICW*, DWORD dwType, LPARAM lParam) {
    auto* search = reinterpret_cast<FontSearch*>(lParam);
    if ((dwType & TRUETYPE_FONTTYPE) && pFont && wcscmp(pFont->lfFaceName, search->pszFace) == 0) search->found = true;
    return 1;
}

bool IsInstalledTrueTypeFace(PCWSTR pszFace) {
    FontSearch search = {pszFace, false};
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    EnumFontsW(screen, nullptr, &EnumDMCWatermarkFontProc, reinterpret_cast<LPARAM>(&search));
    ReleaseDC(nullptr, screen);
    return search.found;
}

void ReportItem(POEMCUIPPARAM p, POPTITEM pItem) {
    CZQCommon::BReportItem(p, pItem, static_cast<DWORD>(pItem->Sel), OEMCUIP_DOCPROP);
}

void SetDisabled(POEMCUIPPARAM p, POPTITEM pItem, bool bDisabled) {
    if (bDisabled) pItem->Flags |= OPTIF_DISABLED;
    else pItem->Flags &= ~OPTIF_DISABLED;
    ReportItem(p, pItem);
}

}  // namespace

BOOL CZQUILogic::BImportDMCWatermarks(const IZQStoredSettings* pStored) {
    ZQ_TRACE("CZQUILogic::BImportDMCWatermarks");
    ZQUIDevmode* dm = m_pCUIParam ? zqdm::CurrentBlock(m_pCUIParam->pOEMDM) : nullptr;
    if (!dm) return FALSE;
    const CZQStoredTrees trees(m_pCUIParam->hPrinter);
    const IZQStoredSettings& settings = pStored ? *pStored : trees;
    BOOL recognised = FALSE;
    int index = 0;
    WCHAR stored[zs::kItemChars];
    if (settings.BReadDevModeItem(zqkw::kWatermarks, stored)) {
        WCHAR name[kTextChars] = {};
        const WatermarkKind* kind = nullptr;
        for (const WatermarkKind& k : kWatermarkKinds) {
            if (!ZQEqualNoCase(stored, k.pszValue)) continue;
            kind = &k;
            break;
        }
        if (kind || !stored[0]) {
            // An empty text is no watermark.
            const WatermarkKind& k = kind ? *kind : kNoWatermark;
            if (!BLoadResString(k.idText, name)) ZQCopyText(name, kTextChars, k.pszEnglish);
            index = k.iPoolIndex;
        } else {
            ZQCopyText(name, kTextChars, stored);
            index = kOwnWatermarkIndex;
        }
        recognised = kind || stored[0];
        ZQCopyText(dm->szWmName, kTextChars, name);
        ZQCopyText(dm->szWmText, kTextChars, name);
    }
    // The stored font only when the screen has it as a TrueType face.
    WCHAR font[zs::kItemChars];
    if (settings.BReadDevModeItem(zqkw::kWMFont, font) && IsInstalledTrueTypeFace(font))
        ZQCopyText(dm->szWmFont, kTextChars, font);
    VWriteImportedWatermark(index);
    return recognised;
}

void CZQUILogic::VWriteImportedWatermark(int iIndex) {
    const ZQUIDevmode* dm = m_pCUIParam ? zqdm::CurrentBlock(m_pCUIParam->pOEMDM) : nullptr;
    if (!dm) return;
    WatermarkEntry entry = {};
    ZQCopyTextN(entry.szName, kTextChars, dm->szWmName, kTextChars);
    ZQCopyText(entry.szText, kTextChars, entry.szName);
    ZQCopyTextN(entry.szFont, kTextChars, dm->szWmFont, kTextChars);
    entry.dwAngle = dm->dwWmAngle;
    entry.dwSize = dm->dwWmSize;
    entry.dwAngleMode = dm->dwWmAngleMode;
    entry.dwShade = dm->dwWmShade;
    entry.dwStyle = dm->dwWmStyle;
    entry.dwColor = dm->dwWmColorIndex;
    // The shared pool in the printer's data, whoever imports; no other watermark is written over.
    if (!CZQWatermarks::BStoreSharedEntry(&entry, m_pCUIParam->hPrinter, iIndex))
        zqtrace::Line(L"CZQUILogic::VWriteImportedWatermark: pool value not written\n");
}

void CZQUILogic::VApplyQualityRuleStates(CZQXmlUiRules* pRules) {
    CZQXmlUiRules* rules = PLoadedRules(pRules);
    const POEMCUIPPARAM p = m_pCUIParam;
    const ZQUIDevmode* dm = p ? zqdm::CurrentBlock(p->pOEMDM) : nullptr;
    if (!rules || !p || !p->poemuiobj || !dm) return;
    const ZQPrintQualityState& states = rules->Parser().m_quality;
    // The quality groups the install-time macros hid.
    POPTITEM item = nullptr;
    if (DWFindOptItem(p, zqkw::kPrintQualityGroup, &item) == ZQOPT_OK) {
        const int count = IGetOptionCount(item);
        for (int i = 0; i < count; ++i) {
            POPTPARAM option = PGetOptionParam(item, i);
            if (!option) continue;
            const bool hide = i < static_cast<int>(ARRAYSIZE(states.adwOption)) && states.adwOption[i] == 1;
            if (hide) option->Flags |= OPTPF_HIDE;
            else option->Flags &= ~OPTPF_HIDE;
        }
        ReportItem(p, item);
    }
    constexpr DWORD kDisabledState = 2;
    if (DWFindOptItem(p, dm->dwPdl == kPdlPostScript ? L"JCLZQTurboMode" : zqkw::kZQTurboMode, &item) == ZQOPT_OK)
        SetDisabled(p, item, states.dwTurboMode == kDisabledState);
    if (DWFindOptItem(p, zqkw::kZQPhotoPaperPrinting, &item) == ZQOPT_OK)
        SetDisabled(p, item, states.dwPhotoPaper == kDisabledState);
}

void CZQUILogic::VReadMediaQualityKeywords(CZQXmlUiRules* pRules) {
    const POEMCUIPPARAM p = m_pCUIParam;
    if (!pRules || !p) return;
    CZQXmlParserCommon& parser = pRules->Parser();
    // The options the sheet shows selected, by their display names: the item the user just changed
    // may not have reached the core driver's settings yet.
    CZQLocalPtr<WCHAR> media, keyword;
    if (DWGetPubSelectionName(p, DMPUB_MEDIATYPE, media.Put()) == ZQOPT_OK &&
        DWOptionNameToKeyword(p, zqkw::kMediaType, media.Get(), keyword.Put()) == ZQOPT_OK)
        ZQCopyText(parser.m_szMediaTypeValue, ARRAYSIZE(parser.m_szMediaTypeValue), keyword.Get());
    POPTITEM quality = nullptr;
    const POPTPARAM selected = DWFindOptItem(p, zqkw::kPrintQualityGroup, &quality) == ZQOPT_OK
                                   ? PGetOptionParam(quality, quality->Sel)
                                   : nullptr;
    if (selected && selected->pData && !IS_INTRESOURCE(selected->pData) &&
        DWOptionNameToKeyword(p, zqkw::kPrintQualityGroup, selected->pData, keyword.Put()) == ZQOPT_OK)
        ZQCopyText(parser.m_szQualityGroupValue, ARRAYSIZE(parser.m_szQualityGroupValue), keyword.Get());
}

void CZQUILogic::VApplyImportedPrintQuality(CZQXmlUiRules* pRules) {
    CZQXmlUiRules* rules = PLoadedRules(pRules);
    if (!rules || !m_pCUIParam) return;
    // The mapping names "Feature.Option", or an option of the quality groups alone.
    WCHAR text[kTextChars];
    ZQCopyText(text, kTextChars, rules->Parser().m_szQualityGroupValue);
    PCWSTR feature = text;
    PWSTR option = wcschr(text, L'.');
    if (option) {
        *option++ = 0;
        if (PWSTR next = wcschr(option, L'.')) *next = 0;
    } else {
        feature = zqkw::kPrintQualityGroup;
        option = text;
    }
    if (*feature && *option) DWSelectOptionByKeyword(m_pCUIParam, feature, option, OEMCUIP_DOCPROP);
}
