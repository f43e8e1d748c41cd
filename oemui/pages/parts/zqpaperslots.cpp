#include "pages/parts/zqpaperslots.h"

#include "common/zqcommon.h"
#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/zqpageitems.h"

using namespace zqpage;

namespace {

// Kind -> slot: Last Page and Back Cover trade places; the swap is its own inverse.
constexpr int kSlotOfKind[kPageKindCount] = {0, 1, 3, 2, 4, 5, 6};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Page kinds
// ---------------------------------------------------------------------------------------------
int CZQPaperSlots::ISlotOfKind(int iKind) { return iKind >= 0 && iKind < kPageKindCount ? kSlotOfKind[iKind] : -1; }

KindFields CZQPaperSlots::Fields(ZQUIDevmode& dm, int iKind) {
    switch (iKind) {
        case kKindFirstPage: return {&dm.dwFirstPageSource, &dm.dwFirstPageMedia};
        case kKindOtherPages: return {&dm.dwOtherPagesSource, &dm.dwOtherPagesMedia};
        case kKindLastPage: return {&dm.dwLastPageSource, &dm.dwLastPageMedia};
        case kKindBackCover: return {&dm.dwBackCoverSource, &dm.dwBackCoverMedia};
        case kKindFrontCover: return {&dm.dwFrontCoverSource, &dm.dwFrontCoverMedia};
        case kKindBackCoverFeeder: return {&dm.dwBackCoverFeederIndex, &dm.dwBackCoverFeederMedia};
        default: return {&dm.dwFrontCoverFeederIndex, &dm.dwFrontCoverFeederMedia};
    }
}

// The logic keeps front from feeder, front, back, back from feeder.
DWORD* CZQPaperSlots::CoverInUse(CZQUILogic& logic, int iKind) {
    switch (iKind) {
        case kKindBackCover: return &logic.m_adwCoverFlags[2];
        case kKindFrontCover: return &logic.m_adwCoverFlags[1];
        case kKindBackCoverFeeder: return &logic.m_adwCoverFlags[3];
        case kKindFrontCoverFeeder: return &logic.m_adwCoverFlags[0];
        default: return nullptr;
    }
}

BOOL CZQPaperSlots::BChosenCover(POEMCUIPPARAM pParam, HWND hKinds, PWSTR pszText, PWSTR pszKeyword) {
    pszKeyword[0] = 0;
    if (!SelectedText(hKinds, pszText, true)) return FALSE;
    CZQUILogic::BStripMarkPrefix(pszText);
    CZQLocalPtr<WCHAR> keyword;
    if (CZQCommon::DWOptionNameToKeyword(pParam, L"ZQCovers", pszText, keyword.Put()) != ZQOPT_OK) return FALSE;
    return ZQCopyText(pszKeyword, 256, keyword.Get()) == S_OK;
}

void CZQPaperSlots::VSelectKindOption(POEMCUIPPARAM pParam, PCWSTR pszCover, PCWSTR pszSetting, HWND hList) {
    WCHAR feature[256], text[256];
    if (ZQFormatText(feature, 256, L"%ls_%ls", pszCover, pszSetting) != S_OK) return;
    CZQLocalPtr<WCHAR> keyword;
    if (SelectedText(hList, text) &&
        CZQCommon::DWOptionNameToKeyword(pParam, feature, text, keyword.Put()) == ZQOPT_OK)
        CZQCommon::DWSelectOptionByKeyword(pParam, feature, keyword.Get(), OEMCUIP_DOCPROP);
    else
        CZQCommon::DWSelectOptionByIndex(pParam, feature, 0, OEMCUIP_DOCPROP);
}

// ---------------------------------------------------------------------------------------------
// Printer ids and option positions
// ---------------------------------------------------------------------------------------------
int CZQPaperSlots::ISourcePosition(const ZQPaperItems& items, HWND hSourceList, DWORD dwSourceId) {
    POPTITEM item = PubItem(items.pParam, DMPUB_DEFSOURCE);
    const PrinterCaps* caps = items.pCaps;
    if (!item || !caps || !caps->pSourceIds || caps->dwSourceCount == 0) return 0;
    // The first bin is found by its name in the list, where the page put it first.
    if (dwSourceId == caps->pSourceIds[0]) return CZQCommon::IFindComboString(caps->szFirstBinName, hSourceList);
    for (DWORD i = 1; i < caps->dwSourceCount; ++i) {
        const int option = CZQCommon::IComboItemToOptionIndex(static_cast<int>(i), hSourceList, item);
        if (option >= 0 && DWSourceFromPosition(items, option) == dwSourceId) return option;
    }
    return 0;
}

DWORD CZQPaperSlots::DWSourceFromPosition(const ZQPaperItems& items, int iPosition) {
    return ZQSourceIdOfOption(items.pCaps, PubItem(items.pParam, DMPUB_DEFSOURCE), iPosition);
}

int CZQPaperSlots::IMediaTypeIndex(const ZQPaperItems& items, DWORD dwMediaId) {
    POPTITEM item = PubItem(items.pParam, DMPUB_MEDIATYPE);
    const PrinterCaps* caps = items.pCaps;
    if (!item || !caps || !caps->pMediaIds) return 0;
    const int count = CZQCommon::IGetOptionCount(item);
    const int limit = count < static_cast<int>(caps->dwMediaCount) ? count : static_cast<int>(caps->dwMediaCount);
    for (int i = 0; i < limit; ++i)
        if (caps->pMediaIds[i] == dwMediaId && OptionName(item, i)) return i;
    return 0;
}

DWORD CZQPaperSlots::DWMediaTypeFromIndex(const ZQPaperItems& items, int iPosition) {
    return ZQMediaIdOfOption(items.pCaps, PubItem(items.pParam, DMPUB_MEDIATYPE) ? iPosition : -1);
}

int CZQPaperSlots::IOptionIndexFromComboItem(const ZQPaperItems& items, PCWSTR pszFeature, BYTE bPubId, HWND hCombo,
                                             int iEntry) {
    POPTITEM item = bPubId ? PubItem(items.pParam, bPubId) : FeatureItem(items.pParam, pszFeature);
    WCHAR text[256];
    if (!item || !EntryText(hCombo, iEntry, text)) return -1;
    const int count = CZQCommon::IGetOptionCount(item);
    const bool sources = bPubId == DMPUB_DEFSOURCE || (pszFeature && ZQEqualNoCase(pszFeature, zqkw::kInputBin));
    for (int i = 0; i < count; ++i) {
        if (sources && i == 0) {
            // Option 0 of the sources stands for the printer's first bin, by that bin's name.
            if (items.pCaps && lstrcmpW(text, items.pCaps->szFirstBinName) == 0) return 0;
            continue;
        }
        const PCWSTR name = OptionName(item, i);
        if (name && lstrcmpW(name, text) == 0) return i;
    }
    for (int i = 0; i < count; ++i)
        if (OptionName(item, i) && !(OptionFlags(item, i) & (OPTPF_OVERLAY_WARNING_ICON | OPTPF_HIDE))) return i;
    return -1;
}

void CZQPaperSlots::VFillSourceList(HWND hList, CZQUILogic& logic, const PrinterCaps* pCaps) {
    pCaps = ZQPrinterCapsLists(pCaps, kCapsSources);
    if (pCaps && pCaps->dwSourceCount > 0 && pCaps->pSourceNames)
        SendMessageW(hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pCaps->szFirstBinName));
    logic.IBindFeatureControl(DMPUB_DEFSOURCE, nullptr, hList, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFillFree,
                              FALSE, 0, nullptr);
}

// ---------------------------------------------------------------------------------------------
// The slots and the settings
// ---------------------------------------------------------------------------------------------
void CZQPaperSlots::VRead(ZQUIDevmode& work, const ZQPaperItems& items, HWND hSourceList) {
    const POPTITEM sourceItem = PubItem(items.pParam, DMPUB_DEFSOURCE);
    const POPTITEM mediaItem = PubItem(items.pParam, DMPUB_MEDIATYPE);
    for (int kind = kKindFirstPage; kind < kPageKindCount; ++kind) {
        const int slot = ISlotOfKind(kind);
        const KindFields fields = Fields(work, kind);
        // The feeder covers keep the feeder feature's option index as it is.
        if (kind >= kKindBackCoverFeeder)
            aiSource[slot] = static_cast<int>(*fields.source);
        else if (*fields.source == 0 && sourceItem)
            aiSource[slot] = static_cast<int>(sourceItem->Sel);
        else
            aiSource[slot] = ISourcePosition(items, hSourceList, *fields.source);
        aiMedia[slot] = *fields.media == 0 && mediaItem ? static_cast<int>(mediaItem->Sel)
                                                         : IMediaTypeIndex(items, *fields.media);
        // The kind's own media id, so that writing the slots back keeps it (a kind whose id is not
        // derived below would otherwise write whatever id its slot held before).
        aiMediaId[slot] = *fields.media ? static_cast<int>(*fields.media)
                                        : static_cast<int>(DWMediaTypeFromIndex(items, aiMedia[slot]));
    }
    for (int kind : {kKindOtherPages, kKindLastPage, kKindBackCover}) VFollowMediaId(kind, items);
    // A stored media the printer does not list: the core driver takes what the page shows instead.
    if (aiMediaId[kWorkingSlot] != static_cast<int>(work.dwOtherPagesMedia))
        CZQCommon::DWSelectPubOption(items.pParam, DMPUB_MEDIATYPE, 0, aiMedia[kWorkingSlot]);
}

void CZQPaperSlots::VWrite(ZQUIDevmode& work, const ZQPaperItems& items) const {
    for (int kind = kKindFirstPage; kind < kPageKindCount; ++kind) {
        const int slot = ISlotOfKind(kind);
        const KindFields fields = Fields(work, kind);
        *fields.source = kind >= kKindBackCoverFeeder ? static_cast<uint32_t>(aiSource[slot])
                                                       : DWSourceFromPosition(items, aiSource[slot]);
        *fields.media = static_cast<uint32_t>(aiMediaId[slot]);
    }
}

void CZQPaperSlots::VSelectWorkingPaper(const ZQPaperItems& items) const {
    const PrinterCaps* caps = items.pCaps;
    const int source = aiSource[kWorkingSlot];
    if (PubItem(items.pParam, DMPUB_DEFSOURCE) && caps && source >= 0 && static_cast<DWORD>(source) < caps->dwSourceCount)
        CZQCommon::DWSelectPubOption(items.pParam, DMPUB_DEFSOURCE, 0, source);
    if (POPTITEM media = PubItem(items.pParam, DMPUB_MEDIATYPE)) {
        int position = 0;
        for (DWORD i = 0; caps && caps->pMediaIds && i < caps->dwMediaCount; ++i)
            if (caps->pMediaIds[i] == static_cast<DWORD>(aiMediaId[kWorkingSlot])) {
                position = static_cast<int>(i);
                break;
            }
        if (position < CZQCommon::IGetOptionCount(media))
            ReportSelection(items.pParam, media, position, static_cast<DWORD>(media->Sel), OEMCUIP_DOCPROP);
    }
}

void CZQPaperSlots::VStoreEveryPage(ZQUIDevmode& work, const ZQPaperItems& items, int iSource, int iMedia) {
    for (int kind : {kKindOtherPages, kKindFirstPage, kKindLastPage}) {
        VSetKind(kind, iSource, iMedia, static_cast<int>(DWMediaTypeFromIndex(items, iMedia)));
        const KindFields fields = Fields(work, kind);
        *fields.source = DWSourceFromPosition(items, iSource);
        *fields.media = static_cast<uint32_t>(aiMediaId[ISlotOfKind(kind)]);
    }
}

void CZQPaperSlots::VSetKind(int iKind, int iSource, int iMedia, int iMediaId) {
    const int slot = ISlotOfKind(iKind);
    if (slot < 0) return;
    aiSource[slot] = iSource;
    aiMedia[slot] = iMedia;
    aiMediaId[slot] = iMediaId;
}

void CZQPaperSlots::VFollowMediaId(int iKind, const ZQPaperItems& items) {
    const int slot = ISlotOfKind(iKind);
    if (slot >= 0) aiMediaId[slot] = static_cast<int>(DWMediaTypeFromIndex(items, aiMedia[slot]));
}
