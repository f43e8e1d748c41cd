// Applying the configuration manager's stored settings: the devmode items into the private devmode,
// the option items and the installable options into the core driver's items, and the conversions
// between the driver's option keywords and the printer's device-capabilities numbers they need.
#include <cstdlib>
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "formats/zquidevmode.h"
#include "settings/zqconfigtables.h"
#include "settings/zqdriverdata.h"
#include "settings/zqoptionlists.h"

namespace {

namespace zs = zqsettings;
using zs::CZQStringList;
using zs::kCapsPort;
using zs::kItemChars;

// Option items whose value lives in the private devmode as well.
constexpr PCWSTR kDevmodeOptItems[] = {L"InkVolume", zqkw::kThriftModeItem, L"NUpChoice", L"Orientation",
                                       zqkw::kPageOrderItem, zqkw::kColorMode, L"PrintColorAsGray"};

constexpr DWORD kDocument = OEMCUIP_DOCPROP;
constexpr DWORD kPrinter = OEMCUIP_PRNPROP;
constexpr DWORD kPostScript = zqdm::kPdlPostScript;
constexpr DWORD kPcl3 = zqdm::kPdlPcl3;

BOOL BadArgument() {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
}

bool Is(PCWSTR a, PCWSTR b) { return ZQEqualNoCase(a, b); }

bool HasDriverUI(POEMCUIPPARAM p) { return p && p->poemuiobj; }

ZQUIDevmode* PrivateDM(POEMCUIPPARAM p) { return p ? zqdm::CurrentBlock(p->pOEMDM) : nullptr; }

// The feature's current option equals the text.
bool Holds(POEMCUIPPARAM p, PCWSTR pszFeature, PCWSTR pszOption) {
    CZQLocalPtr<WCHAR> current;
    return CZQCommon::DWGetFeatureOption(p, pszFeature, current.Put()) == ZQOPT_OK && Is(current.Get(), pszOption);
}

// A stored text value in a working copy of kItemChars characters.
BOOL ReadStored(HANDLE hPrinter, PCWSTR pszKey, PCWSTR pszName, PWSTR pszValue) {
    CZQLocalPtr<WCHAR> text;
    if (!CZQDriverData::BGetPrinterDataEx(hPrinter, pszKey, pszName, text.Put())) return FALSE;
    ZQCopyText(pszValue, kItemChars, text.Get());
    return TRUE;
}

// A text read as ANSI decimal digits, as the PostScript language level is.
LONG AnsiDecimal(PCWSTR pszText) {
    CZQLocalPtr<char> ansi;
    return CZQCommon::BWideToMultiByte(pszText, ansi.Put(), CP_ACP) ? std::strtol(ansi.Get(), nullptr, 10) : 0;
}

// The public item's feature keyword and the option's position among its options; -1 when the item
// or the option is not there.
int PositionOnItem(POEMCUIPPARAM p, BYTE bPubId, PCWSTR pszOption) {
    POPTITEM item = nullptr;
    CZQLocalPtr<WCHAR> feature;
    if (CZQCommon::DWFindOptItemByPubId(p, bPubId, 0, &item) != ZQOPT_OK || !zs::BItemFeature(item, feature))
        return -1;
    const int at = CZQCommon::IGetOptionIndexByKeyword(p, pszOption, feature.Get(), item);
    return at < CZQCommon::IGetOptionCount(item) ? at : -1;
}

// What a source or a media type of a public item needs: where its number goes in the private
// devmode and the option item that names the other pages' choice.
struct SourceOrMedia {
    BOOL (*convert)(POEMCUIPPARAM, PCWSTR, DWORD*);
    uint32_t ZQUIDevmode::*first;
    uint32_t ZQUIDevmode::*other;
    uint32_t ZQUIDevmode::*backCover;
    PCWSTR pszRestItem;   // the option item of the other pages
    PCWSTR pszValueTable; // its value table
};
const SourceOrMedia kSource = {&CZQDriverData::BInputBinToIndex, &ZQUIDevmode::dwFirstPageSource,
                               &ZQUIDevmode::dwOtherPagesSource, &ZQUIDevmode::dwBackCoverSource, L"InputBinRest",
                               zqkw::kInputBin};
const SourceOrMedia kMedia = {&CZQDriverData::BMediaTypeToIndex, &ZQUIDevmode::dwFirstPageMedia,
                              &ZQUIDevmode::dwOtherPagesMedia, &ZQUIDevmode::dwBackCoverMedia, L"MediaTypeRest",
                              zqkw::kMediaType};

// The first page's source or media, and the other pages' and the back cover's where they follow it;
// then the item takes the first page's choice, or the other pages' when the first page differs.
DWORD ApplySourceOrMedia(POEMCUIPPARAM p, BYTE bPubId, const SourceOrMedia& kind, PCWSTR pszValue,
                         const IZQStoredSettings& stored) {
    DWORD number = 0;
    ZQUIDevmode* dm = PrivateDM(p);
    // A choice the printer does not list is applied nowhere.
    if (!kind.convert(p, pszValue, &number)) return static_cast<DWORD>(-1);
    WCHAR diff[kItemChars] = {}, back[kItemChars] = {};
    const bool diffStored = stored.BReadDevModeItem(zqkw::kUseDiffFirstPageChoice, diff) != FALSE;
    const bool sameFirstPage = !diffStored || Is(diff, L"SameFirstPage");
    if (dm) {
        dm->*kind.first = number;
        if (sameFirstPage) dm->*kind.other = number;
        if (stored.BReadDevModeItem(zqkw::kBackCoverChoice, back) && Is(back, L"UseFirstPage"))
            dm->*kind.backCover = number;
    }
    WCHAR option[kItemChars];
    ZQCopyText(option, kItemChars, pszValue);
    if (!sameFirstPage) {
        WCHAR rest[kItemChars];
        if (!stored.BReadOptItem(kind.pszRestItem, rest)) return static_cast<DWORD>(-1);
        if (!CZQDriverData::BMapConfigValue(kind.pszValueTable, rest, option)) ZQCopyText(option, kItemChars, rest);
    }
    const int at = PositionOnItem(p, bPubId, option);
    return at < 0 ? ZQOPT_NO_NAME : CZQCommon::DWSelectPubOption(p, bPubId, 0, at);
}

// Position of the paper among the paper feature's option keywords, each without its "~" suffix.
int PaperPosition(const CZQStringList& papers, PCWSTR pszPaper) {
    WCHAR wanted[kItemChars];
    ZQCopyText(wanted, kItemChars, pszPaper);
    zs::VCutAtTilde(wanted);
    for (int i = 0; i < papers.n; ++i) {
        WCHAR keyword[kItemChars];
        ZQCopyText(keyword, kItemChars, papers.p[i]);
        zs::VCutAtTilde(keyword);
        if (Is(keyword, wanted)) return i;
    }
    return -1;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The stored trees
// ---------------------------------------------------------------------------------------------
BOOL CZQStoredTrees::BReadDevModeItem(PCWSTR pszName, PWSTR pszValue) const {
    return ReadStored(m_hPrinter, zs::kDriverDataDevModeItems, pszName, pszValue);
}

BOOL CZQStoredTrees::BReadOptItem(PCWSTR pszName, PWSTR pszValue) const {
    return ReadStored(m_hPrinter, zs::kDriverDataOptItems, pszName, pszValue);
}

BOOL CZQDriverData::BGetImportedPrintQuality(POEMCUIPPARAM pParam, PWSTR pszValue) {
    if (!pParam || !pszValue) return BadArgument();
    return ReadStored(pParam->hPrinter, zs::kDriverDataDevModeItems, zqkw::kPrintQuality, pszValue);
}

// ---------------------------------------------------------------------------------------------
// Devmode items
// ---------------------------------------------------------------------------------------------
BOOL CZQDriverData::VApplyDevModeItems(POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQDriverData::VApplyDevModeItems");
    ZQUIDevmode* dm = PrivateDM(pParam);
    if (!dm || !pParam->hPrinter) return BadArgument();
    CZQPrinterDataList items;
    const BOOL listed = items.BReadTree(pParam->hPrinter, zs::kDriverDataDevModeItems);
    const DWORD error = GetLastError();
    for (DWORD i = 0; i < items.Count(); ++i) {
        if (!items.Name(i) || !items.Text(i)) continue;
        WCHAR name[kItemChars], value[kItemChars];
        ZQCopyText(name, kItemChars, items.Name(i));
        ZQCopyText(value, kItemChars, items.Text(i));
        ISetDevModeItem(dm, name, value);
    }
    for (PCWSTR name : kDevmodeOptItems) {
        WCHAR value[kItemChars];
        if (ReadStored(pParam->hPrinter, zs::kDriverDataOptItems, name, value)) ISetDevModeItem(dm, name, value);
    }
    SetLastError(error);
    return listed;
}

// ---------------------------------------------------------------------------------------------
// Option items
// ---------------------------------------------------------------------------------------------
BOOL CZQDriverData::VApplyOptItems(POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQDriverData::VApplyOptItems");
    if (!pParam || !pParam->hPrinter || !HasDriverUI(pParam)) return BadArgument();
    const HANDLE h = pParam->hPrinter;
    const CZQStoredTrees stored(h);
    DWORD refused = ERROR_SUCCESS;
    // A value that holds has done its work; what cannot be deleted is only applied again.
    auto done = [&](PCWSTR pszName) {
        if (BDeletePrinterDataEx(h, zs::kDriverDataOptItems, pszName) || refused != ERROR_SUCCESS) return;
        refused = GetLastError();
        zqtrace::Line(L"CZQDriverData::VApplyOptItems: a stored value that holds could not be deleted\n");
    };

    CZQPrinterDataList items;
    if (!items.BReadTree(h, zs::kDriverDataOptItems)) refused = GetLastError();
    for (DWORD i = 0; i < items.Count(); ++i) {
        PCWSTR name = items.Name(i);
        PCWSTR text = items.Text(i);
        if (!name || !text || !text[0]) continue;
        WCHAR option[kItemChars], keyword[kItemChars];
        if (!BMapConfigValue(name, text, option)) ZQCopyText(option, kItemChars, text);
        BYTE pubId = 0;
        if (BMapConfigName(pParam, name, keyword, &pubId)) {
            if (pubId == DMPUB_DEFSOURCE) {
                // A source is applied every time (first page, other pages and back cover); only the
                // second one over an item at the first is done with, once it is applied: deleted
                // unapplied, the administrator's source would be lost.
                POPTITEM source = nullptr;
                const bool doneWith = DWFindOptItemByPubId(pParam, pubId, 0, &source) == ZQOPT_OK &&
                                      PositionOnItem(pParam, pubId, option) == 1 && source->Sel == 0;
                VApplyPublicItem(pParam, pubId, option, stored, nullptr);
                if (doneWith) done(name);
                continue;
            }
            if (Holds(pParam, keyword, option)) {
                done(name);
                continue;
            }
            VApplyPublicItem(pParam, pubId, option, stored, nullptr);
        } else if (BApplySpecialItem(pParam, keyword, option)) {
            if (Holds(pParam, keyword, option)) {
                done(name);
                continue;
            }
            DWSelectOptionByKeyword(pParam, keyword, option, kDocument);
        }
    }

    VApplyLayoutItems(pParam);
    if (refused == ERROR_SUCCESS) return TRUE;
    SetLastError(refused);
    return FALSE;
}

void CZQDriverData::VApplyLayoutItems(POEMCUIPPARAM pParam) {
    ZQUIDevmode* dm = PrivateDM(pParam);
    if (!dm || !HasDriverUI(pParam)) return;
    if (dm->dwBooklet != 0) VApplyBookletLayout(dm);
    if (dm->dwPrintDocOn == 0 && pParam->pPublicDM) dm->dwPrintedOnPaper = pParam->pPublicDM->dmPaperSize;
    const LONG landscape = dm->wOrientation == DMORIENT_PORTRAIT ? 0 : 1;
    DWSelectPubOption(pParam, DMPUB_ORIENTATION, 0, landscape);
    POPTITEM own = nullptr;
    if (DWFindOemOptItemByPubId(pParam, zs::kOwnOrientationPubId, &own) == ZQOPT_OK) {
        own->Sel = landscape;
        own->Flags |= OPTIF_CHANGED;
    }
    const LONG duplex = dm->wDuplex == DMDUP_VERTICAL ? 1 : dm->wDuplex == DMDUP_HORIZONTAL ? 2 : 0;
    DWSelectPubOption(pParam, DMPUB_DUPLEX, 0, duplex);
    dm->dwFlipPagesUp = BGetDuplexFlip(dm->dwPagesPerSheet, dm->wOrientation, dm->wDuplex);
}

BOOL CZQDriverData::BApplySpecialItem(POEMCUIPPARAM pParam, PCWSTR pszKeyword, PCWSTR pszValue, BOOL* pbApplied) {
    BOOL applied = FALSE;
    if (!pbApplied) pbApplied = &applied;
    *pbApplied = FALSE;
    if (!HasDriverUI(pParam) || !pszKeyword || !pszValue) return BadArgument();
    ZQUIDevmode* dm = PrivateDM(pParam);
    // Sources and media of the other pages and of the back cover, by their printer's numbers.
    struct Choice {
        PCWSTR pszKeyword;
        BOOL (*convert)(POEMCUIPPARAM, PCWSTR, DWORD*);
        uint32_t ZQUIDevmode::*field;
    };
    static const Choice kChoices[] = {
        {L"InputBinRest", &BInputBinToIndex, &ZQUIDevmode::dwOtherPagesSource},
        {L"BackCoverTrayChoice", &BInputBinToIndex, &ZQUIDevmode::dwBackCoverSource},
        {L"MediaTypeRest", &BMediaTypeToIndex, &ZQUIDevmode::dwOtherPagesMedia},
        {L"BackCoverMediaTypeSetting", &BMediaTypeToIndex, &ZQUIDevmode::dwBackCoverMedia},
    };
    for (const Choice& c : kChoices) {
        if (!Is(pszKeyword, c.pszKeyword)) continue;
        DWORD number = 0;
        if (dm && c.convert(pParam, pszValue, &number)) {
            dm->*c.field = number;
            *pbApplied = TRUE;
        }
        return FALSE;
    }
    if (Is(pszKeyword, L"TargetSizeChoice") || Is(pszKeyword, L"BookletTargetSize")) {
        // Borderless and banner papers print on the document's own paper.
        if (!dm) return FALSE;
        if (ZQStartsWithNoCase(pszValue, zqkw::kBorderlessPaperPrefix) ||
            ZQStartsWithNoCase(pszValue, zqkw::kBannerPaperPrefix)) {
            if (pParam->pPublicDM) dm->dwPrintedOnPaper = pParam->pPublicDM->dmPaperSize;
            *pbApplied = pParam->pPublicDM != nullptr;
        } else if (const int paper = IPaperSizeToIndex(pParam, pszValue)) {
            dm->dwPrintedOnPaper = static_cast<uint32_t>(paper);
            *pbApplied = TRUE;
        }
        return FALSE;
    }
    if (Is(pszKeyword, L"MirrorPrint") || Is(pszKeyword, L"NegativePrint") || Is(pszKeyword, L"LanguageLevel")) {
        if (m_dwLanguage == kPostScript || m_dwLanguage == kPcl3)
            *pbApplied = VApplyPostScriptToggle(pParam, pszKeyword, pszValue);
        return FALSE;
    }
    if (Is(pszKeyword, L"Orientation")) {
        // Turned choices keep the page upside down; the portrait and landscape ones do not.
        const int row = zqcfgmap::FindRowByConfigValue(zqcfgmap::kOrientationTable, pszValue);
        if (row < 0 || !dm) return FALSE;
        dm->dwRotate180 = row >= zqcfgmap::kFirstTurnedOrientationRow ? 1 : 0;
        if (dm->dwRotate180) DWSelectOptionByKeyword(pParam, zqkw::kZQOrientRotate180, L"True", kDocument);
        *pbApplied = TRUE;
        return FALSE;
    }
    if (Is(pszKeyword, zqkw::kOutputBin)) {
        POPTITEM bin = nullptr;
        if (dm) dm->dwOutputBinPresent = DWFindOptItem(pParam, zqkw::kOutputBin, &bin) == ZQOPT_OK ? 1 : 0;
        return TRUE;
    }
    if (Is(pszKeyword, L"PrintColorAsGrayOptions") || Is(pszKeyword, zqkw::kColorMode)) {
        if (dm && dm->dwPrintAsGray == 1) {
            const PCWSTR grey = m_dwLanguage == kPostScript ? zqkw::kJCLZQPrintInGrayScale : zqkw::kZQPrintInGrayScale;
            *pbApplied = DWSelectOptionByKeyword(pParam, grey, pszValue, kDocument) == ZQOPT_OK;
            DWSelectOptionByIndex(pParam, zqkw::kColorMode, 0, kDocument);
        }
        return FALSE;
    }
    return TRUE;
}

BOOL CZQDriverData::VApplyPostScriptToggle(POEMCUIPPARAM pParam, PCWSTR pszName, PCWSTR pszValue) {
    if (!HasDriverUI(pParam) || !pszName || !pszValue) return FALSE;
    const bool level = Is(pszName, L"LanguageLevel");
    const LONG sel = level ? AnsiDecimal(pszValue) : Is(pszValue, L"True") ? 0 : 1;
    // A driver with an item of its own for the mirror image takes it there.
    POPTITEM mirror = nullptr;
    if (Is(pszName, L"MirrorPrint") && DWFindOptItem(pParam, zqkw::kZQMirrorPrint, &mirror) == ZQOPT_OK)
        return DWSelectOptionByIndex(pParam, zqkw::kZQMirrorPrint, sel, kDocument) == ZQOPT_OK;
    const int occurrence = IPostScriptToggleOccurrence(pszName);
    if (occurrence < 0 || DWSelectPubOption(pParam, 0, occurrence, sel) != ZQOPT_OK) return FALSE;
    ZQUIDevmode* dm = PrivateDM(pParam);
    if (dm && Is(pszName, L"MirrorPrint")) dm->dwMirror = sel == 0 ? 1 : 0;
    return TRUE;
}

void CZQDriverData::VApplyPublicItem(POEMCUIPPARAM pParam, BYTE bPubId, PCWSTR pszValue,
                                     const IZQStoredSettings& stored, DWORD* pdwStatus) {
    DWORD status = static_cast<DWORD>(-1);
    if (HasDriverUI(pParam) && pszValue) {
        switch (bPubId) {
            case DMPUB_COPIES_COLLATE:
                status = DWSelectPubOption(pParam, bPubId, 0, std::wcstol(pszValue, nullptr, 10));
                break;
            case DMPUB_DEFSOURCE: status = ApplySourceOrMedia(pParam, bPubId, kSource, pszValue, stored); break;
            case DMPUB_MEDIATYPE: status = ApplySourceOrMedia(pParam, bPubId, kMedia, pszValue, stored); break;
            case DMPUB_FORMNAME: {
                CZQStringList papers;
                if ((status = zs::DWGetPaperKeywords(pParam, papers)) != ZQOPT_OK) break;
                const int at = PaperPosition(papers, pszValue);
                status = at < 0 ? ZQOPT_NO_NAME : DWSelectPubOption(pParam, bPubId, 0, at);
                break;
            }
            case DMPUB_NUP:
                if (const ZQUIDevmode* dm = PrivateDM(pParam))
                    status = DWSelectPubOption(pParam, bPubId, 0, IGetNupIndex(dm));
                break;
            case DMPUB_PAGEORDER: {
                const LONG order = std::wcstol(pszValue, nullptr, 10);
                status = DWSelectPubOption(pParam, bPubId, 0, order);
                POPTITEM own = nullptr;
                if (status == ZQOPT_OK && DWFindOemOptItemByPubId(pParam, zs::kOwnPageOrderPubId, &own) == ZQOPT_OK) {
                    own->Sel = order;
                    own->Flags |= OPTIF_CHANGED;
                }
                break;
            }
            default: break;
        }
    }
    if (pdwStatus) *pdwStatus = status;
}

// ---------------------------------------------------------------------------------------------
// Installable options
// ---------------------------------------------------------------------------------------------
BOOL CZQDriverData::VApplyPhysicalItems(POEMCUIPPARAM pParam) {
    ZQ_TRACE("CZQDriverData::VApplyPhysicalItems");
    if (!pParam || !pParam->hPrinter || !HasDriverUI(pParam)) return BadArgument();
    CZQPrinterDataList items;
    if (!items.BReadTree(pParam->hPrinter, zs::kDriverDataPhysical)) return FALSE;
    for (DWORD i = 0; i < items.Count(); ++i)
        if (items.Name(i) && items.Text(i)) VApplyPhysicalItem(pParam, items.Name(i), items.Text(i));
    return TRUE;
}

void CZQDriverData::VApplyPhysicalItem(POEMCUIPPARAM pParam, PCWSTR pszName, PCWSTR pszValue) {
    WCHAR keyword[kItemChars], option[kItemChars];
    if (!BMapPhysicalName(pszName, keyword)) ZQCopyText(keyword, kItemChars, pszName);
    // A value the device table does not know is the option itself.
    ZQCopyText(option, kItemChars, pszValue);
    BMapDeviceValue(keyword, pszValue, option);
    BApplyInstalledMemory(pParam, keyword, option);
}

BOOL CZQDriverData::BApplyInstalledMemory(POEMCUIPPARAM pParam, PCWSTR pszKeyword, PCWSTR pszValue) {
    if (!pParam || !pszKeyword || !pszValue) return BadArgument();
    if (!Is(pszKeyword, zqkw::kMemory))
        return DWSelectOptionByKeyword(pParam, pszKeyword, pszValue, kPrinter) == ZQOPT_OK;
    const LONG size = std::wcstol(pszValue, nullptr, 10);
    const bool postScript = m_dwLanguage == kPostScript;
    const PCWSTR feature = postScript ? zqkw::kInstalledMemory : zqkw::kMemory;
    CZQStringList options;
    if (DWGetOptionKeywords(pParam, feature, &options.p, &options.n, kPrinter) != ZQOPT_OK) return FALSE;
    int count = options.n;
    // The PostScript driver lists its help entry last.
    if (postScript && count > 0 && Is(options.p[count - 1], zqkw::kHelpIndexOption)) --count;
    if (count <= 0) return FALSE;
    auto lowerBound = [&](int i) -> LONG {
        CZQLocalPtr<char> ansi;
        DWORD low = 0, high = 0;
        if (!BWideToMultiByte(options.p[i], ansi.Put(), CP_ACP) ||
            !BParseMemoryRange(m_dwLanguage, ansi.Get(), &low, &high))
            return 0;
        return static_cast<LONG>(low);
    };
    // The range that holds the size; above every range the largest, at or below the first the first.
    int chosen = 0;
    if (size > lowerBound(0)) {
        chosen = count - 1;
        for (int i = 0; i + 1 < count; ++i) {
            if (lowerBound(i) <= size && size < lowerBound(i + 1)) {
                chosen = i;
                break;
            }
        }
    }
    return DWSelectOptionByKeyword(pParam, feature, options.p[chosen], kPrinter) == ZQOPT_OK;
}

// ---------------------------------------------------------------------------------------------
// Keywords and the printer's numbers
// ---------------------------------------------------------------------------------------------
BOOL CZQDriverData::BInputBinToIndex(POEMCUIPPARAM pParam, PCWSTR pszKeyword, DWORD* pdwNumber) {
    if (!pParam || !pParam->pPrinterName || !pszKeyword || !pdwNumber) return BadArgument();
    POPTITEM item = nullptr;
    CZQLocalPtr<WCHAR> feature, names;
    CZQLocalPtr<WORD> bins;
    DWORD ids = 0, count = 0;
    if (DWFindOptItemByPubId(pParam, DMPUB_DEFSOURCE, 0, &item) != ZQOPT_OK || !zs::BItemFeature(item, feature) ||
        !BGetPaperSourceIndices(pParam->pPrinterName, kCapsPort, pParam->pPublicDM, &ids, bins.Put()) ||
        !BGetPaperSourceNames(pParam->pPrinterName, kCapsPort, pParam->pPublicDM, &count, names.Put()) || ids != count)
        return FALSE;
    CZQStringList keywords, displayNames;
    if (DWGetOptionKeywords(pParam, feature.Get(), &keywords.p, &keywords.n, kDocument) != ZQOPT_OK ||
        DWGetOptionNames(pParam, feature.Get(), &displayNames.p, &displayNames.n) != ZQOPT_OK)
        return FALSE;
    // The first source has no name of its own: display name i - 1 goes with keyword i.
    for (int i = 1; i < keywords.n && i - 1 < displayNames.n; ++i) {
        if (!Is(keywords.p[i], pszKeyword)) continue;
        for (DWORD k = 0; k < count; ++k) {
            if (!Is(names.Get() + k * kBinNameChars, displayNames.p[i - 1])) continue;
            *pdwNumber = bins.Get()[k];
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

BOOL CZQDriverData::BMediaTypeToIndex(POEMCUIPPARAM pParam, PCWSTR pszKeyword, DWORD* pdwNumber) {
    if (!pParam || !pParam->pPrinterName || !pszKeyword || !pdwNumber) return BadArgument();
    CZQStringList keywords;
    CZQLocalPtr<DWORD> media;
    DWORD count = 0;
    if (DWGetOptionKeywords(pParam, zqkw::kMediaType, &keywords.p, &keywords.n, kDocument) != ZQOPT_OK ||
        !BGetMediaTypeIndices(pParam->pPrinterName, kCapsPort, pParam->pPublicDM, &count, media.Put()))
        return FALSE;
    for (int i = 0; i < keywords.n && static_cast<DWORD>(i) < count; ++i) {
        if (!Is(keywords.p[i], pszKeyword)) continue;
        *pdwNumber = media.Get()[i];
        return TRUE;
    }
    return FALSE;
}

int CZQDriverData::IPaperSizeToIndex(POEMCUIPPARAM pParam, PCWSTR pszKeyword) {
    if (!pParam || !pParam->pPrinterName || !pszKeyword) return 0;
    CZQStringList papers;
    CZQLocalPtr<WORD> numbers;
    DWORD count = 0;
    if (zs::DWGetPaperKeywords(pParam, papers) != ZQOPT_OK ||
        !BGetPaperSizeIndices(pParam->pPrinterName, kCapsPort, pParam->pPublicDM, &count, numbers.Put()))
        return 0;
    const int at = PaperPosition(papers, pszKeyword);
    return at >= 0 && static_cast<DWORD>(at) < count ? numbers.Get()[at] : 0;
}

DWORD CZQDriverData::BGetDuplexFlip(DWORD dwNup, DWORD dwOrientation, DWORD dwDuplex) {
    // Two and six pages per sheet turn the pages on the sheet.
    const bool turned = (dwOrientation == DMORIENT_LANDSCAPE) != (dwNup == 2 || dwNup == 4);
    const bool plain = dwOrientation == DMORIENT_PORTRAIT || dwOrientation == DMORIENT_LANDSCAPE;
    if (dwDuplex == DMDUP_VERTICAL) return plain ? turned : 1;
    if (dwDuplex == DMDUP_HORIZONTAL) return plain ? !turned : 1;
    return 0;
}
