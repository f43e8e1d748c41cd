// The Features page's papers of the page kinds: the table of the seven kinds' sources and media
// (the Paper/Quality page's paper slots), set from the document's current paper, the lists' choice
// stored for the chosen kind (for first, other and last pages alike without different papers), the
// kinds marked that differ from the document's paper, the kind's paper shown in the lists and the
// owner-drawn page-kind list with its markers. The page-kind list is not on every template: without
// it the lists stand for other pages.
#include <cwchar>

#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqpagekinds.h"
#include "pages/zqpageasks.h"
#include "pages/zqpageitems.h"
#include "settings/zqoptionlists.h"

using namespace zqpage;

namespace {

// A source option's display name and the printer's bin name are compared on this many characters.
constexpr size_t kBinNameMatch = 22;

// The kind the lists stand for: the chosen one, other pages without a choice.
int ListedKind(int iKind) { return iKind == kKindNone ? kKindOtherPages : iKind; }

bool FeederKind(int iKind) { return iKind == kKindBackCoverFeeder || iKind == kKindFrontCoverFeeder; }

void SelectEntry(HWND hList, int iEntry) { SendMessageW(hList, CB_SETCURSEL, static_cast<WPARAM>(iEntry), 0); }

// The entry showing a source option: option 0 is the printer's first bin (entry 0), the others by
// their display name; -1 when the list has none.
int SourceEntry(HWND hList, POEMCUIPPARAM pParam, const PrinterCaps* pCaps, int iOption) {
    WCHAR text[256];
    if (iOption == 0) {
        return pCaps && EntryText(hList, 0, text) && wcscmp(text, pCaps->szFirstBinName) == 0 ? 0 : -1;
    }
    const PCWSTR name = OptionName(PubItem(pParam, DMPUB_DEFSOURCE), iOption);
    if (!name) return -1;
    const int count = static_cast<int>(SendMessageW(hList, CB_GETCOUNT, 0, 0));
    for (int i = 1; i < count; ++i)
        if (EntryText(hList, i, text) && wcscmp(text, name) == 0) return i;
    return -1;
}

// The names of the kinds as the list shows them.
constexpr PCWSTR kKindNames[kPageKindCount] = {L"First Page",  L"Other Pages",           L"Last Page",
                                               L"Back Cover",  L"Front Cover",           L"Back Cover from Feeder",
                                               L"Front Cover from Feeder"};

int KindOfName(PCWSTR pszName) {
    for (int i = 0; i < kPageKindCount; ++i)
        if (wcscmp(pszName, kKindNames[i]) == 0) return i;
    return kKindNone;
}

}  // namespace

int CZQPageKinds::ISelectedKind(PageContext* pContext) {
    WCHAR text[256];
    auto* paper = ZQSheetPage<IZQPaperQualityPage>(pContext, kPagePaperQuality);
    if (!paper || !SelectedText(m_controls.Item(IDC_LB_MEDIA_PAPER_OPTIONS), text, true)) return kKindNone;
    PWSTR mark = wcsstr(text, L"<< ");
    return paper->IPageKindFromName(mark ? mark + 3 : text, pContext->pLogic);
}

void CZQPageKinds::VInitPageKinds(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_owner.CUIParam()) return;
    const ZQPaperItems items = ZQPaperItemsOf(m_owner.CUIParam(), pContext);
    HWND sources = m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS);
    m_slots.VRead(*work, items, sources);
    // The covers start on the document's paper; other and last pages on the first page's.
    const int source = CZQPaperSlots::ISourcePosition(items, sources, work->dwDefaultSourceId);
    const int media = CZQPaperSlots::IMediaTypeIndex(items, work->dwDefaultMediaId);
    for (int kind : {kKindBackCoverFeeder, kKindFrontCover, kKindFrontCoverFeeder})
        m_slots.VSetKind(kind, source, media, static_cast<int>(work->dwDefaultMediaId));
    VSetBackCoverOff(*work, items, source);
    m_controls.VSetCheck(IDC_CHK_MEDIA_BACK_COVER, FALSE);
    const int first = CZQPaperSlots::ISlotOfKind(kKindFirstPage);
    for (int kind : {kKindOtherPages, kKindLastPage})
        m_slots.VSetKind(kind, m_slots.aiSource[first], m_slots.aiMedia[first], 0);
    for (int kind : {kKindOtherPages, kKindLastPage, kKindFirstPage}) m_slots.VFollowMediaId(kind, items);
}

void CZQPageKinds::VSetBackCoverOff(const ZQUIDevmode& work, const ZQPaperItems& items, int iSource) {
    const DWORD media = work.dwDefaultMediaId ? work.dwDefaultMediaId : work.dwBackCoverMedia;
    m_slots.VSetKind(kKindBackCover, iSource, CZQPaperSlots::IMediaTypeIndex(items, media), static_cast<int>(media));
}

void CZQPageKinds::VApplyCombosToKind(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_owner.CUIParam()) return;
    const ZQPaperItems items = ZQPaperItemsOf(m_owner.CUIParam(), pContext);
    HWND sources = m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS);
    HWND media = m_controls.Item(IDC_CBO_MEDIA_TYPE_IS);
    const int sourceEntry = static_cast<int>(SendMessageW(sources, CB_GETCURSEL, 0, 0));
    const int mediaEntry = static_cast<int>(SendMessageW(media, CB_GETCURSEL, 0, 0));
    const int kind = ISelectedKind(pContext);
    // A user medium prints on its own option, whichever kind takes it.
    WCHAR text[256];
    int user = -1;
    const bool userMedium = SelectedText(media, text) && m_userMedia.IFindUserMedia(text, &user) >= 0;
    const int userOption = userMedium ? m_userMedia.IPrintingOption(user) : -1;
    const int mediaOption =
        userOption >= 0 ? userOption : IComboEntryToOptionIndex(pContext, nullptr, DMPUB_MEDIATYPE, media, mediaEntry);
    if (work->dwDiffPaper && kind != kKindNone) {
        if (kind >= kKindBackCoverFeeder) {
            // A feeder cover's source is the feeder feature's own option.
            int option = 0;
            CZQCommon::DWGetFeatureOptionIndex(m_owner.CUIParam(), CZQPaperSlots::PszFeederFeature(kind), &option);
            m_slots.VSetKind(kind, option, mediaOption,
                             static_cast<int>(CZQPaperSlots::DWMediaTypeFromIndex(items, mediaOption)));
        } else {
            const int sourceOption =
                IComboEntryToOptionIndex(pContext, nullptr, DMPUB_DEFSOURCE, sources, sourceEntry);
            m_slots.VSetKind(kind, sourceOption, mediaOption,
                             static_cast<int>(CZQPaperSlots::DWMediaTypeFromIndex(items, mediaOption)));
        }
        const int slot = CZQPaperSlots::ISlotOfKind(kind);
        const KindFields fields = CZQPaperSlots::Fields(*work, kind);
        *fields.source = kind >= kKindBackCoverFeeder
                             ? static_cast<uint32_t>(m_slots.aiSource[slot])
                             : CZQPaperSlots::DWSourceFromPosition(items, m_slots.aiSource[slot]);
        *fields.media = static_cast<uint32_t>(m_slots.aiMediaId[slot]);
        return;
    }
    // Without different papers the lists hold every page's paper.
    m_state.iUserMedium = userMedium ? user : -1;
    const int sourceOption =
        IComboEntryToOptionIndex(pContext, nullptr, DMPUB_DEFSOURCE, sources, sourceEntry);
    m_slots.VStoreEveryPage(*work, items, sourceOption < 0 ? 0 : sourceOption, mediaOption < 0 ? 0 : mediaOption);
}

int CZQPageKinds::IComboEntryToOptionIndex(PageContext* pContext, PCWSTR pszFeature, BYTE bPubId, HWND hCombo,
                                           int iEntry) {
    return CZQPaperSlots::IOptionIndexFromComboItem(ZQPaperItemsOf(m_owner.CUIParam(), pContext), pszFeature, bPubId,
                                                    hCombo, iEntry);
}

int CZQPageKinds::ISourceOptionToId(PageContext* pContext, int iOption) {
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext ? pContext->pCaps : nullptr, kCapsSources);
    if (!caps || !caps->pSourceIds || caps->dwSourceCount == 0) return 0;
    const PCWSTR name = iOption > 0 ? OptionName(PubItem(m_owner.CUIParam(), DMPUB_DEFSOURCE), iOption) : nullptr;
    if (name && caps->pSourceNames)
        for (DWORD i = 0; i < caps->dwSourceCount; ++i)
            if (wcsncmp(name, caps->pSourceNames + i * CZQCommon::kBinNameChars, kBinNameMatch) == 0)
                return caps->pSourceIds[i];
    return caps->pSourceIds[0];
}

void CZQPageKinds::VStoreOtherPagesSource(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    WCHAR text[256];
    if (!work || !m_owner.CUIParam() || !SelectedText(m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS), text)) return;
    const int option = m_userMedia.IFindOptionByName(pContext, zqkw::kInputBin, 0, text);
    if (option >= 0) work->dwOtherPagesSource = static_cast<uint32_t>(ISourceOptionToId(pContext, option));
}

void CZQPageKinds::VMarkDifferingKinds(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !work->dwDiffPaper || !m_owner.CUIParam()) return;
    const int kind = ISelectedKind(pContext);
    if (kind == kKindBackCoverFeeder || kind == kKindFrontCoverFeeder) return;
    const ZQPaperItems items = ZQPaperItemsOf(m_owner.CUIParam(), pContext);
    const int source = CZQPaperSlots::ISourcePosition(items, m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS),
                                                      work->dwDefaultSourceId);
    const int media = CZQPaperSlots::IMediaTypeIndex(items, work->dwDefaultMediaId);
    const int marked[] = {kKindFirstPage, kKindOtherPages, kKindLastPage};
    for (int i = 0; i < 3; ++i) {
        const int slot = CZQPaperSlots::ISlotOfKind(marked[i]);
        m_abKindDiffers[i] = m_slots.aiSource[slot] != source || m_slots.aiMedia[slot] != media;
    }
}

// ---------------------------------------------------------------------------------------------
// The kinds and the core driver's items
// ---------------------------------------------------------------------------------------------
void CZQPageKinds::VSelectOtherPagesSource(PageContext* pContext) {
    if (!m_owner.CUIParam()) return;
    const ZQPaperItems items = ZQPaperItemsOf(m_owner.CUIParam(), pContext);
    const int source = m_slots.aiSource[kWorkingSlot];
    if (items.pCaps && source >= 0 && static_cast<DWORD>(source) < items.pCaps->dwSourceCount &&
        PubItem(m_owner.CUIParam(), DMPUB_DEFSOURCE))
        CZQCommon::DWSelectPubOption(m_owner.CUIParam(), DMPUB_DEFSOURCE, 0, source);
}

void CZQPageKinds::VSelectOtherPagesMedia(PageContext*) {
    const int media = m_slots.aiMedia[kWorkingSlot];
    if (m_owner.CUIParam() && media >= 0 && PubItem(m_owner.CUIParam(), DMPUB_MEDIATYPE))
        CZQCommon::DWSelectPubOption(m_owner.CUIParam(), DMPUB_MEDIATYPE, 0, media);
}

int CZQPageKinds::IGetKindMediaIndex(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    const int kind = work && work->dwDiffPaper ? ListedKind(ISelectedKind(pContext)) : kKindOtherPages;
    return m_slots.aiMedia[CZQPaperSlots::ISlotOfKind(kind)];
}

void CZQPageKinds::VEnableKindMediaType(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return;
    if (!work->dwDiffPaper && !m_state.bMediaLocked) return;
    // A feeder cover takes the feeder's media; a lock holds it for every kind.
    const bool enable = !m_state.bMediaLocked && !FeederKind(ISelectedKind(pContext));
    for (int id : {IDC_CBO_MEDIA_TYPE_IS, IDC_STA_MEDIA_TYPE_IS}) EnableWindow(m_controls.Item(id), enable);
}

void CZQPageKinds::VSelectKindInCombos(PageContext* pContext, int iSource, int iMedia, BOOL bReadKind) {
    if (!m_owner.CUIParam()) return;
    const POEMCUIPPARAM param = m_owner.CUIParam();
    const int kind = bReadKind ? ISelectedKind(pContext) : kKindNone;
    HWND sources = m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS);
    HWND media = m_controls.Item(IDC_CBO_MEDIA_TYPE_IS);
    if (FeederKind(kind)) {
        WCHAR option[256];
        CZQLocalPtr<WCHAR> name;
        const PCWSTR feature = CZQPaperSlots::PszFeederFeature(kind);
        if (ReadOption(param, feature, option) &&
            CZQCommon::DWOptionKeywordToName(param, feature, option, name.Put()) == ZQOPT_OK)
            SendMessageW(sources, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.Get()));
    } else if (PubItem(param, DMPUB_DEFSOURCE) && iSource != -1) {
        const int entry = SourceEntry(sources, param, ZQPaperItemsOf(param, pContext).pCaps, iSource);
        if (entry >= 0) SelectEntry(sources, entry);
    }
    const POPTITEM mediaItem = PubItem(param, DMPUB_MEDIATYPE);
    const PCWSTR name = iMedia != -1 ? OptionName(mediaItem, iMedia) : nullptr;
    if (!name) return;
    WCHAR text[256];
    const int count = static_cast<int>(SendMessageW(media, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (EntryText(media, i, text) && wcscmp(text, name) == 0) SelectEntry(media, i);
}

// ---------------------------------------------------------------------------------------------
// The source list of the chosen kind
// ---------------------------------------------------------------------------------------------
void CZQPageKinds::VFillKindSourceCombo(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    HWND sources = m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS);
    if (!work || !m_owner.CUIParam() || !sources) return;
    const POEMCUIPPARAM param = m_owner.CUIParam();
    CZQUILogic& logic = *pContext->pLogic;
    const PrinterCaps* caps = ZQPaperItemsOf(param, pContext).pCaps;
    SendMessageW(sources, CB_RESETCONTENT, 0, 0);
    const int kind = work->dwDiffPaper ? ListedKind(ISelectedKind(pContext)) : kKindOtherPages;
    int& option = m_slots.aiSource[CZQPaperSlots::ISlotOfKind(kind)];
    if (FeederKind(kind)) {
        const PCWSTR feature = CZQPaperSlots::PszFeederFeature(kind);
        logic.IBindFeatureControl(0, feature, sources, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFillFree, FALSE, 0,
                                  nullptr);
        SendMessageW(sources, CB_DELETESTRING, 0, 0);
        uint32_t& stored = *CZQPaperSlots::Fields(*work, kind).source;
        // Option 0 is no feeder source: the first time the kind is shown it takes the feeder's first.
        if (stored == 0) {
            stored = 2;
            option = 2;
            CZQCommon::DWSelectOptionByIndex(param, feature, 2, OEMCUIP_DOCPROP);
        }
        WCHAR current[256];
        CZQLocalPtr<WCHAR> name;
        if (ReadOption(param, feature, current) && CZQCommon::DWOptionKeywordToName(param, feature, current, name.Put()) == ZQOPT_OK)
            SendMessageW(sources, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.Get()));
        return;
    }
    CZQPaperSlots::VFillSourceList(sources, logic, pContext->pCaps);
    const POPTITEM sourceItem = PubItem(param, DMPUB_DEFSOURCE);
    if (option > 0 && (OptionFlags(sourceItem, option) & OPTPF_OVERLAY_WARNING_ICON)) option = 0;
    int entry = 0;
    if (m_state.bRestoreSourceOnce) {
        // After a paper-size change the list returns to the source the rules remember.
        m_state.bRestoreSourceOnce = FALSE;
        const int remembered = pContext->pRules ? pContext->pRules->IInputBinIndex() : 0;
        const PCWSTR name = remembered > 0 && option != -1 ? OptionName(sourceItem, remembered) : nullptr;
        const LRESULT found =
            name ? SendMessageW(sources, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name))
                 : CB_ERR;
        entry = found == CB_ERR ? 0 : static_cast<int>(found);
    } else if (option != -1) {
        const int found = SourceEntry(sources, param, caps, option);
        entry = found < 0 ? 0 : found;
    }
    SelectEntry(sources, entry);
}

// ---------------------------------------------------------------------------------------------
// The page-kind list
// ---------------------------------------------------------------------------------------------
void CZQPageKinds::VFillPageKindList(CZQUILogic* pLogic, BOOL bRefill) {
    ZQUIDevmode* work = pLogic ? pLogic->WorkDM() : nullptr;
    if (!work || !m_owner.CUIParam()) return;
    if (!work->dwDiffPaper) {
        for (DWORD& flag : pLogic->m_adwCoverFlags) flag = 0;
        for (int mark : {kPvFrontCoverFeeder, kPvFrontCover, kPvBackCover, kPvBackCoverFeeder})
            m_preview.aiValue[mark] = 0;
        return;
    }
    HWND list = m_controls.Item(IDC_LB_MEDIA_PAPER_OPTIONS);
    if (!list) return;
    if (!bRefill) {
        WCHAR text[256];
        const int at = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        if (EntryText(list, at, text, true)) VAddPageKindEntry(pLogic, TRUE, text, at);
        return;
    }
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    zqsettings::CZQStringList names;
    if (CZQCommon::DWGetOptionNames(m_owner.CUIParam(), L"ZQCovers", &names.p, &names.n) != ZQOPT_OK) return;
    const POPTITEM covers = FeatureItem(m_owner.CUIParam(), L"ZQCovers");
    for (int i = 0; i < names.n; ++i) {
        const BYTE flags = OptionFlags(covers, i);
        if (names.p[i] && !(flags & (OPTPF_HIDE | OPTPF_OVERLAY_WARNING_ICON)))
            VAddPageKindEntry(pLogic, FALSE, names.p[i], i);
    }
}

void CZQPageKinds::VAddPageKindEntry(CZQUILogic* pLogic, BOOL bReplace, PCWSTR pszName, int iPosition) {
    ZQUIDevmode* work = pLogic ? pLogic->WorkDM() : nullptr;
    HWND list = m_controls.Item(IDC_LB_MEDIA_PAPER_OPTIONS);
    if (!work || !pszName || !list) return;
    const int kind = KindOfName(pszName);
    // A cover follows the settings' cover-on flag; the logic and the sample page mark it.
    auto follow = [&](int iKind, int iMark, uint32_t dwOn) {
        *CZQPaperSlots::CoverInUse(*pLogic, iKind) = dwOn ? 1 : 0;
        m_preview.aiValue[iMark] = dwOn ? 1 : 0;
    };
    bool add = true;
    switch (kind) {
        case kKindLastPage: add = !work->dwBooklet; break;
        case kKindBackCover:
            follow(kind, kPvBackCover, work->dwBackCover);
            add = work->dwBackCover || !work->dwBooklet;
            break;
        case kKindBackCoverFeeder:
            follow(kind, kPvBackCoverFeeder, work->dwBackCoverFeeder);
            add = work->dwBackCoverFeeder || !work->dwBooklet;
            break;
        case kKindFrontCover: follow(kind, kPvFrontCover, work->dwFrontCover); break;
        case kKindFrontCoverFeeder: follow(kind, kPvFrontCoverFeeder, work->dwFrontCoverFeeder); break;
        default: break;
    }
    if (bReplace) {
        SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(iPosition), 0);
        SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(iPosition), reinterpret_cast<LPARAM>(pszName));
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(iPosition), 0);
    } else if (add) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszName));
    }
}

int CZQPageKinds::IDrawPageKindItem(PCWSTR pszFeature, const DRAWITEMSTRUCT* pDraw, HWND hList, CZQUILogic* pLogic) {
    ZQUIDevmode* work = pLogic ? pLogic->WorkDM() : nullptr;
    const POPTITEM item = m_owner.CUIParam() ? FeatureItem(m_owner.CUIParam(), pszFeature) : nullptr;
    if (!pDraw || !hList || !work || !item || pDraw->itemID == static_cast<UINT>(-1) ||
        !item->pOptType || pDraw->itemID >= static_cast<UINT>(item->pOptType->Count))
        return 0;
    HDC dc = pDraw->hDC;
    RECT rect = pDraw->rcItem;
    if (pDraw->itemState & ODS_FOCUS) DrawFocusRect(dc, &rect);
    const bool selected = (pDraw->itemState & ODS_SELECTED) != 0;
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    WCHAR text[256];
    if (!EntryText(hList, static_cast<int>(pDraw->itemID), text, true)) return 0;
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
    const int x = rect.left + 27 + 2 * (LOWORD(GetDialogBaseUnits()) / 4);
    const int y = (rect.top + rect.bottom - extent.cy) / 2;
    ExtTextOutW(dc, x, y, ETO_CLIPPED | ETO_OPAQUE, &rect, text, static_cast<UINT>(wcslen(text)), nullptr);

    bool marked = false;
    switch (KindOfName(text)) {
        case kKindFirstPage: marked = m_abKindDiffers[0]; break;
        case kKindOtherPages: marked = m_abKindDiffers[1]; break;
        case kKindLastPage: marked = m_abKindDiffers[2]; break;
        case kKindBackCover: marked = work->dwBackCover != 0; break;
        case kKindFrontCover: marked = work->dwFrontCover != 0; break;
        case kKindBackCoverFeeder: marked = work->dwBackCoverFeeder != 0; break;
        case kKindFrontCoverFeeder: marked = work->dwFrontCoverFeeder != 0; break;
        default: break;
    }
    if (marked && m_hMarker) DrawIconEx(dc, rect.left, rect.top, m_hMarker, 32, 32, 0, nullptr, DI_NORMAL);
    return 0;
}

void CZQPageKinds::VClearPageKindList(PageContext*) {
    if (HWND list = m_controls.Item(IDC_LB_MEDIA_PAPER_OPTIONS)) SendMessageW(list, LB_RESETCONTENT, 0, 0);
}
