// Devmode items: settings whose value lives in the private devmode, moved between their
// configuration text and the devmode's fields through the devmode-item tables.
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "formats/zquidevmode.h"
#include "settings/zqconfigtables.h"
#include "settings/zqdriverdata.h"

namespace {

using namespace zqcfgmap;

// The devmode-item list and the import routing list. They differ on purpose: "Duplex" and
// "PrintQuality" are filed with the devmode items but are none; "Orientation", "NUpChoice" and
// "PrintColorAsGray" are devmode items filed with the option items.
constexpr PCWSTR kDevModeItems[] = {
    zqkw::kWatermarks,        L"WMColor",          L"WMShadeLevel",         L"WMFontStyle",
    L"WMFontEscapement",  L"WMCustomAngle",    zqkw::kWMFont,               L"WMFontSize",
    L"NUpBordersChoice",  L"NUpPageOrderChoice", L"JobRetentionModeChoice", L"FitToOtherSizeChoice",
    L"ScalePageChoice",   L"ScaleChoice",      zqkw::kUseDiffFirstPageChoice, zqkw::kBackCoverChoice,
    L"BookletPrintingChoice", zqkw::kZQChromix,    L"WMFirstPageOnly",      L"Orientation",
    L"DuplexEdge",        L"NUpChoice",        L"PrintColorAsGray",
};
constexpr PCWSTR kRoutedToDevModeItems[] = {
    zqkw::kWatermarks,        L"WMColor",          L"WMShadeLevel",         L"WMFontStyle",
    L"WMFontEscapement",  L"WMCustomAngle",    zqkw::kWMFont,               L"WMFontSize",
    zqkw::kDuplexItem,            L"DuplexEdge",       L"NUpBordersChoice",     L"NUpPageOrderChoice",
    L"JobRetentionModeChoice", L"FitToOtherSizeChoice", L"ScalePageChoice", L"ScaleChoice",
    zqkw::kUseDiffFirstPageChoice, zqkw::kBackCoverChoice, L"BookletPrintingChoice", zqkw::kZQChromix,
    L"WMFirstPageOnly",   zqkw::kPrintQuality,
};
// Items an export works out by a routine of their own.
constexpr PCWSTR kSpecialExportItems[] = {
    zqkw::kMediaType,   L"MediaTypeRest",  zqkw::kInputBin,         L"InputBinRest",  L"BackCoverTrayChoice",
    L"BackCoverMediaTypeSetting", L"MirrorPrint", L"NegativePrint", L"TargetSizeChoice", L"LanguageLevel",
    zqkw::kPrintQuality,
};
static_assert(sizeof kDevModeItems / sizeof kDevModeItems[0] == 23);
static_assert(sizeof kRoutedToDevModeItems / sizeof kRoutedToDevModeItems[0] == 22);

template <size_t N>
bool OnList(const PCWSTR (&list)[N], PCWSTR pszKeyword) {
    for (PCWSTR name : list)
        if (ZQEqualNoCase(name, pszKeyword)) return true;
    return false;
}

// A numeric field of the private devmode, by its stored offset.
struct Field {
    uint16_t offset;
    uint8_t width;  // 2 or 4 bytes
};
template <typename T>
constexpr Field FieldAt(size_t offset) {
    return {static_cast<uint16_t>(offset), static_cast<uint8_t>(sizeof(T))};
}
#define ZQ_FIELD(member) FieldAt<decltype(ZQUIDevmode::member)>(offsetof(ZQUIDevmode, member))

LONG Get(const ZQUIDevmode& dm, Field f) {
    const auto* p = reinterpret_cast<const BYTE*>(&dm) + f.offset;
    if (f.width == 2) {
        uint16_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    int32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void Put(ZQUIDevmode& dm, Field f, LONG value) {
    auto* p = reinterpret_cast<BYTE*>(&dm) + f.offset;
    if (f.width == 2) {
        const auto v = static_cast<uint16_t>(value);
        std::memcpy(p, &v, sizeof v);
    } else {
        const auto v = static_cast<int32_t>(value);
        std::memcpy(p, &v, sizeof v);
    }
}

// Items whose field takes the number of the row their text names. Stored: the text's row sets
// the field (items with side effects are stored by their own rule below). Read: the last row
// whose number equals the field gives the text.
struct RowItem {
    PCWSTR pszKeyword;
    const ConfigValueTable* pTable;
    Field field;
    bool stored;
    bool read;
};
const RowItem kRowItems[] = {
    {L"DuplexEdge", &kDuplexEdgeTable, ZQ_FIELD(wDuplex), true, true},
    {L"JobRetentionModeChoice", &kJobRetentionTable, ZQ_FIELD(dwRetentionMode), true, true},
    {L"FitToOtherSizeChoice", &kFitToOtherSizeTable, ZQ_FIELD(dwPrintDocOn), true, true},
    {L"ScalePageChoice", &kScalePageTable, ZQ_FIELD(dwScaleToFit), true, true},
    {L"WMColor", &kWmColorTable, ZQ_FIELD(dwWmColorIndex), false, true},
    {L"WMShadeLevel", &kWmShadeTable, ZQ_FIELD(dwWmShade), true, true},
    {L"WMFontEscapement", &kWmEscapementTable, ZQ_FIELD(dwWmAngleMode), false, true},
    {L"WMFontStyle", &kWmStyleTable, ZQ_FIELD(dwWmStyle), true, true},
    {L"WMFirstPageOnly", &kWmFirstPageTable, ZQ_FIELD(dwWmFirstPageOnly), false, true},
    {L"NUpChoice", &kNupTable, ZQ_FIELD(dwPagesPerSheet), false, true},
    {L"NUpBordersChoice", &kNupBordersTable, ZQ_FIELD(dwPageBorders), true, true},
    {L"NUpPageOrderChoice", &kNupPageOrderTable, ZQ_FIELD(dwPageOrderIndex), true, true},
    {L"BookletPrintingChoice", &kBookletTable, ZQ_FIELD(dwBooklet), false, true},
    {zqkw::kPageOrderItem, &kPageOrderTable, ZQ_FIELD(dwPageOrder), true, false},
    {zqkw::kThriftModeItem, &kThriftModeTable, ZQ_FIELD(dwThriftMode), true, false},
    {zqkw::kColorMode, &kColorModeTable, ZQ_FIELD(wColor), true, false},
};

// Items that are on when their text is one word: stored as onValue / offValue, read back as
// onText when the field is 1, else offText.
struct FlagItem {
    PCWSTR pszKeyword;
    PCWSTR pszMatch;
    LONG onValue;
    LONG offValue;
    Field field;
    PCWSTR pszOnText;
    PCWSTR pszOffText;
};
const FlagItem kFlagItems[] = {
    {L"PrintColorAsGray", L"True", 1, 0, ZQ_FIELD(dwPrintAsGray), L"True", L"False"},
    {zqkw::kUseDiffFirstPageChoice, L"DifferentFirstPage", 1, 0, ZQ_FIELD(dwDiffPaper), L"DifferentFirstPage",
     L"SameFirstPage"},
    {zqkw::kBackCoverChoice, L"NoBackPage", 0, 1, ZQ_FIELD(dwBackCover), L"UseAlternateSource", L"NoBackPage"},
    {zqkw::kZQChromix, L"Automatic", 1, 0, ZQ_FIELD(dwChromixAuto), L"Automatic", L"Manual"},
};

// Watermark texts stored while the watermark is on: the name written into both name fields
// (null: the text itself) and the watermark's state afterwards.
struct WatermarkText {
    PCWSTR pszValue;
    PCWSTR pszName;
    DWORD dwOn;
};
const WatermarkText kWatermarkTexts[] = {
    {L"None", L" [none]", 0},
    {L"SAMPLE", L"SAMPLE", 1},
    {L"Confidential", nullptr, 1},
    {L"Draft", nullptr, 1},
};

constexpr LONG kFullScale = 100;
constexpr DWORD kOneUp = 1;
constexpr DWORD kTwoUp = 2;
constexpr WORD kShortEdge = 3;
constexpr WORD kMonochrome = 1;
constexpr WORD kColor = 2;
constexpr size_t kNameChars = 256;

template <typename T, size_t N>
const T* FindByKeyword(const T (&items)[N], PCWSTR pszKeyword) {
    for (const T& it : items)
        if (ZQEqualNoCase(it.pszKeyword, pszKeyword)) return &it;
    return nullptr;
}

bool Is(PCWSTR a, PCWSTR b) { return ZQEqualNoCase(a, b); }

// The decimal value at the start of a text (blanks and a sign allowed), held to the LONG range.
LONG Decimal(PCWSTR psz) { return std::wcstol(psz, nullptr, 10); }

// The same through the system code page, as the angle is read: at most 256 bytes of the text.
LONG DecimalAnsi(PCWSTR psz) {
    char text[256] = {};
    WideCharToMultiByte(CP_ACP, 0, psz, -1, text, sizeof text - 1, nullptr, nullptr);
    text[sizeof text - 1] = 0;
    return std::strtol(text, nullptr, 10);
}

void SetWatermarkNames(ZQUIDevmode& dm, PCWSTR pszName) {
    ZQCopyText(dm.szWmName, kNameChars, pszName);
    ZQCopyText(dm.szWmText, kNameChars, pszName);
}

void SetScale(ZQUIDevmode& dm, PCWSTR pszValue) {
    if (dm.dwPagesPerSheet == kOneUp) {
        dm.dwScalePercent = static_cast<uint32_t>(Decimal(pszValue));
    } else {
        dm.dwScalePercent = kFullScale;
        if (dm.dwBooklet == 0) dm.dwPrintDocOn = 0;
    }
    if (static_cast<LONG>(dm.dwScalePercent) != kFullScale)
        dm.fScaleFactor = static_cast<float>(static_cast<LONG>(dm.dwScalePercent)) / 100.0f;
    if (dm.dwPrintDocOn == 1 && dm.dwScaleToFit == 0) dm.fScaleFactor = 1.0f;
}

void FormatNumber(PWSTR pszOut, LONG value) { ZQFormatText(pszOut, zqsettings::kItemChars, L"%ld", value); }

}  // namespace

void CZQDriverData::VApplyBookletLayout(PVOID pPrivateDM) {
    if (!pPrivateDM) return;
    ZQUIDevmode& dm = *static_cast<ZQUIDevmode*>(pPrivateDM);
    dm.dwScalePercent = kFullScale;
    dm.dwScaleToFit = 1;
    dm.dwPrintDocOn = 1;
    dm.dwBackCover = 0;
    dm.dwPagesPerSheet = kTwoUp;
    dm.wDuplex = kShortEdge;
}

BOOL CZQDriverData::BIsDevModeItem(PCWSTR pszKeyword) { return pszKeyword && OnList(kDevModeItems, pszKeyword); }

BOOL CZQDriverData::BRoutesToDevModeItems(PCWSTR pszKeyword) {
    return pszKeyword && OnList(kRoutedToDevModeItems, pszKeyword);
}

PCWSTR CZQDriverData::PszItemTree(PCWSTR pszRoot, PCWSTR pszName, BOOL bSnapshot) {
    namespace zs = zqsettings;
    if (!pszRoot || !pszName) return nullptr;
    if (Is(pszRoot, kZQCfgPhysical)) return bSnapshot ? zs::kOndrelPhysical : zs::kDriverDataPhysical;
    if (!Is(pszRoot, kZQCfgPrinting)) return nullptr;
    if (!bSnapshot) return BRoutesToDevModeItems(pszName) ? zs::kDriverDataDevModeItems : zs::kDriverDataOptItems;
    // A run files by the devmode-item list; the print quality stays with the devmode items, the
    // one place the run's quality is read from.
    if (BIsDevModeItem(pszName) || Is(pszName, zqkw::kPrintQuality)) return zs::kOndrelDevModeItems;
    return zs::kOndrelOptItems;
}

PCWSTR CZQDriverData::PszLockTree(PCWSTR pszRoot) {
    if (Is(pszRoot, kZQCfgPhysical)) return zqsettings::kLockDataPhysical;
    return Is(pszRoot, kZQCfgPrinting) ? zqsettings::kLockDataPrinting : nullptr;
}

BOOL CZQDriverData::BIsSpecialExportItem(PCWSTR pszKeyword) {
    return pszKeyword && OnList(kSpecialExportItems, pszKeyword);
}

int CZQDriverData::ISetDevModeItem(PVOID pPrivateDM, PCWSTR pszKeyword, PCWSTR pszValue) {
    if (!pPrivateDM || !pszKeyword || !pszValue) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    ZQUIDevmode& dm = *static_cast<ZQUIDevmode*>(pPrivateDM);

    if (const RowItem* item = FindByKeyword(kRowItems, pszKeyword); item && item->stored) {
        const int row = FindRowByConfigValue(*item->pTable, pszValue);
        if (row >= 0) Put(dm, item->field, item->pTable->pRows[row].lNumber);
        return 0;
    }
    if (const FlagItem* item = FindByKeyword(kFlagItems, pszKeyword)) {
        const bool on = Is(pszValue, item->pszMatch);
        Put(dm, item->field, on ? item->onValue : item->offValue);
        if (Is(pszKeyword, L"PrintColorAsGray")) dm.wColor = on ? kMonochrome : kColor;
        return 0;
    }
    if (Is(pszKeyword, L"Collate")) {
        dm.wCollate = Is(pszValue, zqsettings::kTrue) ? 1 : 0;
        return 0;
    }
    if (Is(pszKeyword, L"Orientation")) {
        const int row = FindRowByConfigValue(kOrientationTable, pszValue);
        if (row >= 0) {
            dm.wOrientation = static_cast<uint16_t>(kOrientationTable.pRows[row].lNumber);
            dm.dwRotate180 = row >= kFirstRotatedOrientationRow ? 1 : 0;
        }
        return 0;
    }
    if (Is(pszKeyword, L"WMFirstPageOnly")) {
        const int row = FindRowByConfigValue(kWmFirstPageTable, pszValue);
        if (row >= 0) {
            dm.dwWmFirstPageOnly = static_cast<uint32_t>(kWmFirstPageTable.pRows[row].lNumber);
            dm.dwWmOn = row != 0 ? 1 : 0;  // "NoPages" turns the watermark off
        }
        return 0;
    }
    if (Is(pszKeyword, zqkw::kWatermarks)) {
        if (dm.dwWmOn != 1) return 0;
        for (const WatermarkText& w : kWatermarkTexts) {
            if (!Is(pszValue, w.pszValue)) continue;
            SetWatermarkNames(dm, w.pszName ? w.pszName : pszValue);
            dm.dwWmOn = w.dwOn;
            break;
        }
        return 0;
    }
    if (Is(pszKeyword, L"WMColor")) {
        // A monochrome job has only the grey watermark.
        const int row = dm.wColor == kMonochrome ? 0 : FindRowByConfigValue(kWmColorTable, pszValue);
        if (row >= 0) dm.dwWmColorIndex = static_cast<uint32_t>(kWmColorTable.pRows[row].lNumber);
        return 0;
    }
    if (Is(pszKeyword, L"WMFontEscapement")) {
        const int row = FindRowByConfigValue(kWmEscapementTable, pszValue);
        if (row >= 0) dm.dwWmAngleMode = static_cast<uint32_t>(kWmEscapementTable.pRows[row].lNumber);
        if (Is(pszValue, L"Horizontal")) dm.dwWmAngle = 0;
        if (Is(pszValue, L"Vertical")) dm.dwWmAngle = 90;
        return 0;
    }
    if (Is(pszKeyword, L"WMCustomAngle")) {
        dm.dwWmAngle = static_cast<uint32_t>(DecimalAnsi(pszValue));
        return 0;
    }
    if (Is(pszKeyword, zqkw::kWMFont)) {
        ZQCopyText(dm.szWmFont, kNameChars, pszValue);
        return 0;
    }
    if (Is(pszKeyword, L"WMFontSize")) {
        dm.dwWmSize = static_cast<uint32_t>(Decimal(pszValue));
        return 0;
    }
    if (Is(pszKeyword, L"NUpChoice")) {
        const int row = FindRowByConfigValue(kNupTable, pszValue);
        if (row >= 0) {
            dm.dwPagesPerSheet = static_cast<uint32_t>(kNupTable.pRows[row].lNumber);
            if (dm.dwPagesPerSheet != kOneUp) dm.dwScaleToFit = 0;
        }
        return 0;
    }
    if (Is(pszKeyword, L"ScaleChoice")) {
        SetScale(dm, pszValue);
        return 0;
    }
    if (Is(pszKeyword, L"BookletPrintingChoice")) {
        int row = FindRowByConfigValue(kBookletTable, pszValue);
        const ConfigValueTable* table = &kBookletTable;
        if (row < 0) {
            row = FindRowByConfigValue(kBookletAltTable, pszValue);
            table = &kBookletAltTable;
        }
        if (row >= 0) {
            dm.dwBooklet = static_cast<uint32_t>(table->pRows[row].lNumber);
            if (dm.dwBooklet != 0) VApplyBookletLayout(&dm);
        }
        return 0;
    }
    if (Is(pszKeyword, zqkw::kDuplexItem)) return 0;  // filed with the devmode items, stored elsewhere
    return -1;
}

BOOL CZQDriverData::BGetDevModeItemValue(POEMCUIPPARAM pParam, PCWSTR pszKeyword, PWSTR pszValue) {
    if (!pParam || !pszKeyword || !pszValue) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // A devmode the item needs but the block lacks gives no text, like an item the devmodes do not
    // hold: the caller's text stays.
    const auto* pdm = static_cast<const ZQUIDevmode*>(pParam->pOEMDM);
    const DEVMODEW* pPublic = pParam->pPublicDM;
    auto put = [pszValue](PCWSTR text) { ZQCopyText(pszValue, zqsettings::kItemChars, text); };

    if (Is(pszKeyword, L"Collate")) {
        if (pPublic) put(pPublic->dmCollate == DMCOLLATE_TRUE ? zqsettings::kTrue : zqsettings::kFalse);
        return TRUE;
    }
    if (Is(pszKeyword, zqkw::kPageOrderItem)) {
        POPTITEM item = nullptr;
        if (DWFindOptItemByPubId(pParam, DMPUB_PAGEORDER, 0, &item) == ZQOPT_OK && item->Sel >= 0 &&
            item->Sel < kPageOrderTable.cRows)
            put(kPageOrderTable.pRows[item->Sel].pszConfigValue);
        return TRUE;
    }
    if (!pdm) return TRUE;
    const ZQUIDevmode& dm = *pdm;

    if (const RowItem* item = FindByKeyword(kRowItems, pszKeyword); item && item->read) {
        const int row = FindLastRowByNumber(*item->pTable, Get(dm, item->field));
        if (row >= 0) put(item->pTable->pRows[row].pszConfigValue);
        return TRUE;
    }
    if (const FlagItem* item = FindByKeyword(kFlagItems, pszKeyword)) {
        put(Get(dm, item->field) == 1 ? item->pszOnText : item->pszOffText);
        return TRUE;
    }
    if (Is(pszKeyword, L"Orientation")) {
        if (!pPublic) return TRUE;
        // A rotated choice reads as one of the turned rows, a plain one as portrait or landscape.
        const bool turned = dm.dwRotate180 == 1;
        const int row = turned ? FindLastRowByNumber(kOrientationTable, pPublic->dmOrientation,
                                                     kFirstTurnedOrientationRow)
                               : FindLastRowByNumber(kOrientationTable, pPublic->dmOrientation, 0,
                                                     kFirstTurnedOrientationRow);
        if (row >= 0) put(kOrientationTable.pRows[row].pszConfigValue);
        return TRUE;
    }
    if (Is(pszKeyword, L"ScaleChoice")) {
        if (dm.dwPagesPerSheet == kOneUp) FormatNumber(pszValue, static_cast<LONG>(dm.dwScalePercent));
        return TRUE;
    }
    if (Is(pszKeyword, zqkw::kWatermarks)) {
        ZQCopyTextN(pszValue, zqsettings::kItemChars, dm.szWmName, kNameChars);
        return TRUE;
    }
    if (Is(pszKeyword, zqkw::kWMFont)) {
        ZQCopyTextN(pszValue, zqsettings::kItemChars, dm.szWmFont, kNameChars);
        return TRUE;
    }
    if (Is(pszKeyword, L"WMCustomAngle")) {
        FormatNumber(pszValue, static_cast<LONG>(dm.dwWmAngle));
        return TRUE;
    }
    if (Is(pszKeyword, L"WMFontSize")) {
        FormatNumber(pszValue, static_cast<LONG>(dm.dwWmSize));
        return TRUE;
    }
    return TRUE;
}
