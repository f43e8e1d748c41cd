// The Paper/Quality page's paper lists: the slots of the page kinds, the conversions between the
// printer's ids and the core driver's option positions, the source, media-type and paper-size
// lists, the paper a page kind shows and stores, and the "MediaType" printer data.
#include "common/zqhandles.h"
#include "common/zqkeywords.h"
#include "common/zqprinterdata.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/paperquality/zqpaperqualityutil.h"
#include "res/zqpaperqualityids.h"
#include "xmlrules/zqxmluirules.h"
#include "settings/zqdriverdata.h"

using namespace zqpq;

namespace {

const PCWSTR kBackFeeder = L"Back_Cover_from_Feeder_InputBin";
const PCWSTR kFrontFeeder = L"Front_Cover_from_Feeder_InputBin";

// Kind -> slot: Last Page and Back Cover trade places; the swap is its own inverse.
constexpr int kSlotOfKind[kPageKindCount] = {0, 1, 3, 2, 4, 5, 6};

PCWSTR FeederOf(int iKind) { return iKind == kKindBackCoverFeeder ? kBackFeeder : kFrontFeeder; }

bool HasBinNames(const PrinterCaps* pCaps) { return pCaps && pCaps->dwSourceCount > 0 && pCaps->pSourceNames; }

}  // namespace

int CZQPaperQualityTab::ISlotOfKind(int iKind) {
    return iKind >= 0 && iKind < kPageKindCount ? kSlotOfKind[iKind] : -1;
}

// ---------------------------------------------------------------------------------------------
// Printer ids and option positions
// ---------------------------------------------------------------------------------------------
int CZQPaperQualityTab::ISourcePosition(PageContext* pContext, DWORD dwSourceId) const {
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_DEFSOURCE);
    const PrinterCaps* caps = pContext ? pContext->pCaps : nullptr;
    if (!item || !caps || !caps->pSourceIds || caps->dwSourceCount == 0) return 0;
    HWND list = HControl(kCtlSource);
    // The first bin is found by its name in the list, where the page put it first.
    if (dwSourceId == caps->pSourceIds[0]) return IFindComboString(caps->szFirstBinName, list);
    for (DWORD i = 1; i < caps->dwSourceCount; ++i) {
        const int option = IComboItemToOptionIndex(static_cast<int>(i), list, item);
        if (option >= 0 && DWSourceFromPosition(pContext, option) == dwSourceId) return option;
    }
    return 0;
}

DWORD CZQPaperQualityTab::DWSourceFromPosition(PageContext* pContext, int iPosition) const {
    const PrinterCaps* caps = pContext ? pContext->pCaps : nullptr;
    if (!caps || !caps->pSourceIds || caps->dwSourceCount == 0) return 0;
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_DEFSOURCE);
    if (!item || iPosition < 0 || static_cast<DWORD>(iPosition) >= caps->dwSourceCount) return caps->pSourceIds[0];
    // Options the core driver marks as conflicting have no bin of their own.
    int marked = 0;
    for (int i = 0; i < iPosition; ++i)
        if (OptionFlags(item, i) & OPTPF_OVERLAY_WARNING_ICON) ++marked;
    return caps->pSourceIds[iPosition - marked];
}

int CZQPaperQualityTab::IMediaTypeIndex(PageContext* pContext, DWORD dwMediaId) const {
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_MEDIATYPE);
    const PrinterCaps* caps = pContext ? pContext->pCaps : nullptr;
    if (!item || !caps || !caps->pMediaIds) return 0;
    const int count = IGetOptionCount(item);
    const int limit = count < static_cast<int>(caps->dwMediaCount) ? count : static_cast<int>(caps->dwMediaCount);
    for (int i = 0; i < limit; ++i)
        if (caps->pMediaIds[i] == dwMediaId && OptionName(item, i)) return i;
    return 0;
}

DWORD CZQPaperQualityTab::DWMediaTypeFromIndex(PageContext* pContext, int iPosition) const {
    const PrinterCaps* caps = pContext ? pContext->pCaps : nullptr;
    if (!caps || !caps->pMediaIds || caps->dwMediaCount == 0) return 0;
    // A position from a list may be none (-1) or beyond the printer's media: the first media then.
    if (!PubItem(m_pCUIParam, DMPUB_MEDIATYPE) || iPosition < 0 || static_cast<DWORD>(iPosition) >= caps->dwMediaCount)
        return caps->pMediaIds[0];
    return caps->pMediaIds[iPosition];
}

int CZQPaperQualityTab::IOptionIndexFromComboItem(PageContext* pContext, PCWSTR pszFeature, BYTE bPubId,
                                                  HWND hCombo, int iEntry) const {
    POPTITEM item = bPubId ? PubItem(m_pCUIParam, bPubId) : FeatureItem(m_pCUIParam, pszFeature);
    WCHAR text[256];
    if (!item || !EntryText(hCombo, iEntry, text)) return -1;
    const int count = IGetOptionCount(item);
    const bool sources = bPubId == DMPUB_DEFSOURCE || (pszFeature && ZQEqualNoCase(pszFeature, zqkw::kInputBin));
    for (int i = 0; i < count; ++i) {
        if (sources && i == 0) {
            // Option 0 of the sources stands for the printer's first bin, by that bin's name.
            const PrinterCaps* caps = pContext ? pContext->pCaps : nullptr;
            if (caps && lstrcmpW(text, caps->szFirstBinName) == 0) return 0;
            continue;
        }
        const PCWSTR name = OptionName(item, i);
        if (name && lstrcmpW(name, text) == 0) return i;
    }
    for (int i = 0; i < count; ++i)
        if (OptionName(item, i) && !(OptionFlags(item, i) & (OPTPF_OVERLAY_WARNING_ICON | OPTPF_HIDE))) return i;
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Filling the lists
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VFillLists(PageContext* pContext, Refill refill) {
    if (!pContext || !pContext->pLogic) return;
    CZQUILogic& logic = *pContext->pLogic;
    HWND source = HControl(kCtlSource);
    if (source) SendMessageW(source, CB_RESETCONTENT, 0, 0);
    if (refill == Refill::Normal) {
        VAddSourceOptions(pContext, source);
    } else if (refill == Refill::BackFeeder) {
        logic.IBindFeatureControl(0, kBackFeeder, source, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFillFree,
                                  FALSE, 0, nullptr);
    }
    if (!m_bMediaTypePopup) {
        if (refill == Refill::Normal) VMarkLoadedMediaTypes(pContext);
        logic.IBindFeatureControl(DMPUB_MEDIATYPE, nullptr, HControl(kCtlMedia), nullptr, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindFill, FALSE, 0, nullptr);
    } else if (m_pCUIParam) {
        // The media-type pop-up needs the printer data "MediaType" as a four-byte number.
        DWORD type = 0, cb = 0;
        CZQLocalPtr<BYTE> stored;
        if (ZQReadStoredValue(m_pCUIParam->hPrinter, nullptr, zqsettings::kPopupMediaType, &type, stored, &cb) !=
                ERROR_SUCCESS ||
            cb > sizeof(DWORD))
            CZQDriverData::BSetPrinterDataDword(m_pCUIParam->hPrinter, zqsettings::kPopupMediaType, 0);
        VFillMediaTypePopupList(HControl(kCtlMedia), pContext);
    }
    if (refill != Refill::Normal && logic.BIsBorderlessPaper())
        DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQBorderLessPhoto, 1, OEMCUIP_DOCPROP);
}

// The printer's first bin, then the core driver's sources that are free of conflicts.
void CZQPaperQualityTab::VAddSourceOptions(PageContext* pContext, HWND hList) {
    if (HasBinNames(pContext->pCaps))
        SendMessageW(hList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pContext->pCaps->szFirstBinName));
    pContext->pLogic->IBindFeatureControl(DMPUB_DEFSOURCE, nullptr, hList, nullptr, OEMCUIP_DOCPROP,
                                          CZQUILogic::kBindFillFree, FALSE, 0, nullptr);
}

void CZQPaperQualityTab::VFillMediaTypeList(PageContext* pContext) { VFillLists(pContext, Refill::Normal); }
void CZQPaperQualityTab::VFillMediaTypeListBackFeeder(PageContext* pContext) {
    VFillLists(pContext, Refill::BackFeeder);
}
void CZQPaperQualityTab::VFillMediaTypeListFrontFeeder(PageContext* pContext) {
    VFillLists(pContext, Refill::FrontFeeder);
}

void CZQPaperQualityTab::VRefreshMediaTypeList(PageContext* pContext) {
    if (!pContext || !pContext->pLogic) return;
    if (!m_bMediaTypePopup) {
        for (int action : {CZQUILogic::kBindFill, CZQUILogic::kBindShow})
            pContext->pLogic->IBindFeatureControl(0, zqkw::kMediaType, HControl(kCtlMedia), nullptr, OEMCUIP_DOCPROP,
                                                  action, FALSE, 0, nullptr);
        return;
    }
    // The current type joins the recent ones; a large-format printer first fills its free slots
    // with the first types.
    POPTITEM item = FeatureItem(m_pCUIParam, zqkw::kMediaType);
    if (!item) return;
    PCWSTR name = OptionName(item, static_cast<int>(item->Sel));
    const BOOL seeded = pContext->pLogic->BIsLargeFormat() && BSeedRecentMediaTypes(pContext, name);
    if (!seeded) VUpdateRecentMediaTypes(pContext, name);
}

void CZQPaperQualityTab::VRefreshPaperSizeList(PageContext* pContext) {
    if (!pContext || !pContext->pLogic) return;
    CZQUILogic& logic = *pContext->pLogic;
    VSetDocumentSizeText(pContext);
    m_bPaperSizePopup = logic.BPaperSizeTreeviewPopup();
    HWND list = HControl(kCtlSize);
    if (m_bPaperSizePopup)
        VFillPaperSizePopupList(list, pContext);
    else
        logic.IBindFeatureControl(DMPUB_FORMNAME, nullptr, list, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFill,
                                  FALSE, 0, nullptr);
    CZQLocalPtr<WCHAR> name;
    if (DWGetPubSelectionName(m_pCUIParam, DMPUB_FORMNAME, name.Put()) == ZQOPT_OK) {
        const int entry = IFindComboString(name.Get(), list);
        if (entry >= 0) {
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
            return;
        }
    }
    // A paper the list does not offer falls back to Letter, with its macros.
    POPTITEM form = PubItem(m_pCUIParam, DMPUB_FORMNAME);
    const PCWSTR feature = logic.PszFormFeature();
    const int letter = form ? IGetOptionIndexByKeyword(m_pCUIParam, L"LETTER", feature, form) : -1;
    if (letter < 0 || letter >= IGetOptionCount(form)) return;
    form->Sel = letter;
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(letter), 0);
    VOnPaperSizeChanged(pContext);
    VSetDocumentSizeText(pContext);
    if (RulesLoaded(pContext)) pContext->pRules->BRunFeatureMacros(feature, L"LETTER", m_pCUIParam);
    VRefreshMediaTypeList(pContext);
    VRefreshQualityGroup(pContext);
}

void CZQPaperQualityTab::VFillSourceCombo(PageContext* pContext, int iKind) {
    if (!pContext || !pContext->pLogic || !PubItem(m_pCUIParam, DMPUB_DEFSOURCE)) return;
    CZQUILogic& logic = *pContext->pLogic;
    HWND list = HControl(kCtlSource);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    if (iKind == kKindBackCoverFeeder || iKind == kKindFrontCoverFeeder) {
        const PCWSTR feeder = FeederOf(iKind);
        logic.IBindFeatureControl(0, feeder, list, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFillFree, FALSE, 0,
                                  nullptr);
        SendMessageW(list, CB_DELETESTRING, 0, 0);
        // A feeder cover without its own option yet takes option 2.
        ZQUIDevmode* work = logic.WorkDM();
        const int slot = ISlotOfKind(iKind);
        if (work && *FieldsOf(*work, iKind).source == 0) {
            m_slots.aiSource[slot] = 2;
            *FieldsOf(*work, iKind).source = 2;
            DWSelectOptionByIndex(m_pCUIParam, feeder, 2, OEMCUIP_DOCPROP);
        }
        CZQLocalPtr<WCHAR> option, name;
        if (DWGetFeatureOption(m_pCUIParam, feeder, option.Put()) == ZQOPT_OK &&
            DWOptionKeywordToName(m_pCUIParam, feeder, option.Get(), name.Put()) == ZQOPT_OK) {
            const LRESULT entry =
                SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.Get()));
            if (entry >= 0) SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        }
        return;
    }
    const int slot = iKind >= kKindFirstPage && iKind <= kKindFrontCover ? ISlotOfKind(iKind) : kWorkingSlot;
    VAddSourceOptions(pContext, list);
    // A source the core driver now marks as conflicting is not offered: the first bin instead.
    if (OptionFlags(PubItem(m_pCUIParam, DMPUB_DEFSOURCE), m_slots.aiSource[slot]) & OPTPF_OVERLAY_WARNING_ICON)
        m_slots.aiSource[slot] = 0;
    VSelectListPosition(pContext, m_slots.aiSource[slot]);
}

// Selects the entry of a source position in the source list: position 0 is the first bin's entry,
// any other position the entry named like that option. After a paper-size change the rules'
// source takes the slot's place once.
void CZQPaperQualityTab::VSelectListPosition(PageContext* pContext, int iPosition) {
    HWND list = HControl(kCtlSource);
    POPTITEM item = PubItem(m_pCUIParam, DMPUB_DEFSOURCE);
    const PrinterCaps* caps = pContext->pCaps;
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    if (s_bSourceSelectOnce) {
        s_bSourceSelectOnce = FALSE;
        const int ruled = pContext->pRules ? pContext->pRules->IInputBinIndex() : 0;
        const PCWSTR name = iPosition != -1 && ruled != 0 ? OptionName(item, ruled) : nullptr;
        int entry = 0;
        for (int i = 0; name && i < count; ++i) {
            WCHAR text[256];
            if (EntryText(list, i, text) && lstrcmpW(text, name) == 0) {
                entry = i;
                break;
            }
        }
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        return;
    }
    if (iPosition == -1) {
        SendMessageW(list, CB_SETCURSEL, 0, 0);
        return;
    }
    for (int i = 0; i < count; ++i) {
        WCHAR text[256];
        if (!EntryText(list, i, text) || !text[0]) continue;
        const bool match = iPosition == 0 ? i == 0 && caps && lstrcmpW(text, caps->szFirstBinName) == 0
                                          : i != 0 && OptionName(item, iPosition) &&
                                                lstrcmpW(text, OptionName(item, iPosition)) == 0;
        if (match) {
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Selecting and storing a page kind's paper
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VSelectSourceAndMedia(PageContext* pContext, int iSource, int iMedia, int iKind) {
    if (!pContext) return;
    HWND sources = HControl(kCtlSource);
    POPTITEM sourceItem = PubItem(m_pCUIParam, DMPUB_DEFSOURCE);
    if (iKind == kKindBackCoverFeeder || iKind == kKindFrontCoverFeeder) {
        const PCWSTR feeder = FeederOf(iKind);
        CZQLocalPtr<WCHAR> option, name;
        if (DWGetFeatureOption(m_pCUIParam, feeder, option.Put()) == ZQOPT_OK &&
            DWOptionKeywordToName(m_pCUIParam, feeder, option.Get(), name.Put()) == ZQOPT_OK) {
            const LRESULT entry = SendMessageW(sources, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(name.Get()));
            if (entry >= 0) SendMessageW(sources, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        }
    } else if (sourceItem && iSource != -1) {
        const int count = static_cast<int>(SendMessageW(sources, CB_GETCOUNT, 0, 0));
        const PCWSTR name = OptionName(sourceItem, iSource);
        for (int i = 0; i < count; ++i) {
            WCHAR text[256];
            if (!EntryText(sources, i, text)) continue;
            const bool match = iSource == 0 ? i == 0 && pContext->pCaps &&
                                                  lstrcmpW(text, pContext->pCaps->szFirstBinName) == 0
                                            : i != 0 && name && lstrcmpW(text, name) == 0;
            if (match) {
                SendMessageW(sources, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
                break;
            }
        }
    }
    POPTITEM mediaItem = FeatureItem(m_pCUIParam, zqkw::kMediaType);
    const PCWSTR mediaName = mediaItem && iMedia != -1 ? OptionName(mediaItem, iMedia) : nullptr;
    if (!mediaName) return;
    HWND media = HControl(kCtlMedia);
    const int count = static_cast<int>(SendMessageW(media, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        WCHAR text[256];
        if (EntryText(media, i, text) && lstrcmpW(text, mediaName) == 0)
            SendMessageW(media, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }
}

void CZQPaperQualityTab::VStorePageKindPaper(PageContext* pContext, int iKind) {
    if (!pContext || !pContext->pLogic || iKind >= kPageKindCount) return;
    ZQUIDevmode* work = pContext->pLogic->WorkDM();
    if (!work) return;
    if (iKind == kKindNone) {
        VStoreWorkingSlot(pContext);
        return;
    }
    const int slot = ISlotOfKind(iKind);
    const KindFields fields = FieldsOf(*work, iKind);
    if (iKind == kKindBackCoverFeeder || iKind == kKindFrontCoverFeeder) {
        int option = -1;
        if (DWGetFeatureOptionIndex(m_pCUIParam, FeederOf(iKind), &option) != ZQOPT_OK) return;
        m_slots.aiSource[slot] = option;
        *fields.source = static_cast<uint32_t>(option);
        *fields.media = static_cast<uint32_t>(m_slots.aiMediaId[slot]);
        return;
    }
    HWND sources = HControl(kCtlSource), media = HControl(kCtlMedia);
    m_slots.aiSource[slot] = IOptionIndexFromComboItem(
        pContext, nullptr, DMPUB_DEFSOURCE, sources, static_cast<int>(SendMessageW(sources, CB_GETCURSEL, 0, 0)));
    m_slots.aiMedia[slot] = IOptionIndexFromComboItem(pContext, nullptr, DMPUB_MEDIATYPE, media,
                                                      static_cast<int>(SendMessageW(media, CB_GETCURSEL, 0, 0)));
    m_slots.aiMediaId[slot] = static_cast<int>(DWMediaTypeFromIndex(pContext, m_slots.aiMedia[slot]));
    *fields.source = DWSourceFromPosition(pContext, m_slots.aiSource[slot]);
    *fields.media = static_cast<uint32_t>(m_slots.aiMediaId[slot]);
}

// Without page kinds the lists hold the paper of every page: first, other and last pages alike.
void CZQPaperQualityTab::VStoreWorkingSlot(PageContext* pContext) {
    ZQUIDevmode& work = *pContext->pLogic->WorkDM();
    HWND sources = HControl(kCtlSource), media = HControl(kCtlMedia);
    const int source = IOptionIndexFromComboItem(pContext, nullptr, DMPUB_DEFSOURCE, sources,
                                                 static_cast<int>(SendMessageW(sources, CB_GETCURSEL, 0, 0)));
    const int position = IOptionIndexFromComboItem(pContext, nullptr, DMPUB_MEDIATYPE, media,
                                                   static_cast<int>(SendMessageW(media, CB_GETCURSEL, 0, 0)));
    for (int kind : {kKindOtherPages, kKindFirstPage, kKindLastPage}) {
        const int slot = ISlotOfKind(kind);
        m_slots.aiSource[slot] = source;
        m_slots.aiMedia[slot] = position;
        m_slots.aiMediaId[slot] = static_cast<int>(DWMediaTypeFromIndex(pContext, position));
        const KindFields fields = FieldsOf(work, kind);
        *fields.source = DWSourceFromPosition(pContext, source);
        *fields.media = static_cast<uint32_t>(m_slots.aiMediaId[slot]);
    }
}

// ---------------------------------------------------------------------------------------------
// Showing a page kind's paper
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VShowSlotPaper(PageContext* pContext, int iKind, Refill refill) {
    if (!pContext) return;
    const int slot = ISlotOfKind(iKind);
    const int working = m_slots.aiSource[kWorkingSlot];
    m_slots.aiSource[kWorkingSlot] = m_slots.aiSource[slot];
    DWSelectPubOption(m_pCUIParam, DMPUB_MEDIATYPE, 0, m_slots.aiMedia[slot]);
    VSelectCurrentSource(pContext);
    VFillLists(pContext, refill);
    VSelectSourceAndMedia(pContext, m_slots.aiSource[slot], m_slots.aiMedia[slot], iKind);
    m_slots.aiSource[kWorkingSlot] = working;
}

void CZQPaperQualityTab::VShowFirstPagePaper(PageContext* pContext) {
    VShowSlotPaper(pContext, kKindFirstPage, Refill::Normal);
}

void CZQPaperQualityTab::VShowLastPagePaper(PageContext* pContext) {
    VShowSlotPaper(pContext, kKindLastPage, Refill::Normal);
}

void CZQPaperQualityTab::VShowFrontCoverPaper(PageContext* pContext) {
    VShowSlotPaper(pContext, kKindFrontCover, Refill::Normal);
}

void CZQPaperQualityTab::VShowBackFeederPaper(PageContext* pContext) {
    VShowSlotPaper(pContext, kKindBackCoverFeeder, Refill::BackFeeder);
}

void CZQPaperQualityTab::VShowFrontFeederPaper(PageContext* pContext) {
    VShowSlotPaper(pContext, kKindFrontCoverFeeder, Refill::FrontFeeder);
}

void CZQPaperQualityTab::VShowBackCoverPaper(PageContext* pContext) {
    VShowSlotPaper(pContext, kKindBackCover, Refill::Normal);
    // The core driver's items go back to the other pages' paper.
    VSelectOtherPagesMedia(pContext);
    VSelectCurrentSource(pContext);
}

void CZQPaperQualityTab::VShowOtherPagesPaper(PageContext* pContext) {
    if (!pContext) return;
    const DWORD mediaId = static_cast<DWORD>(m_slots.aiMediaId[kWorkingSlot]);
    VFillMediaTypeList(pContext);
    m_slots.aiMedia[kWorkingSlot] = IMediaTypeIndex(pContext, mediaId);
    m_slots.aiMediaId[kWorkingSlot] = static_cast<int>(mediaId);
    VSelectSourceAndMedia(pContext, m_slots.aiSource[kWorkingSlot], m_slots.aiMedia[kWorkingSlot], kKindOtherPages);
}

void CZQPaperQualityTab::VSelectCurrentSource(PageContext* pContext) {
    const int source = m_slots.aiSource[kWorkingSlot];
    const PrinterCaps* caps = pContext ? pContext->pCaps : nullptr;
    if (caps && source >= 0 && static_cast<DWORD>(source) < caps->dwSourceCount)
        DWSelectPubOption(m_pCUIParam, DMPUB_DEFSOURCE, 0, source);
}

void CZQPaperQualityTab::VSelectOtherPagesMedia(PageContext*) {
    DWSelectPubOption(m_pCUIParam, DMPUB_MEDIATYPE, 0, m_slots.aiMedia[kWorkingSlot]);
}

void CZQPaperQualityTab::VClearPageList() {
    if (HWND list = HControl(kCtlPageKinds)) SendMessageW(list, LB_RESETCONTENT, 0, 0);
}

BOOL CZQPaperQualityTab::BStoreMediaTypeKeyword(HWND hDlg, PageContext* pContext) {
    if (!pContext || !pContext->pRules) return FALSE;
    return BStoreListKeyword(hDlg, pContext, IDC_CBO_MEDIA_TYPE_IS, zqkw::kMediaType,
                             pContext->pRules->Parser().m_szMediaTypeValue);
}

BOOL CZQPaperQualityTab::BStoreListKeyword(HWND hDlg, PageContext* pContext, int iListId, PCWSTR pszFeature,
                                           PWSTR pszTarget) {
    CZQUILogic* logic = pContext ? pContext->pLogic : nullptr;
    if (!logic || !logic->Param() || !pszTarget) return FALSE;
    HWND list = GetDlgItem(hDlg, iListId);
    WCHAR text[256];
    CZQLocalPtr<WCHAR> keyword;
    if (!EntryText(list, static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)), text) ||
        DWOptionNameToKeyword(logic->Param(), pszFeature, text, keyword.Put()) != ZQOPT_OK)
        return FALSE;
    ZQCopyText(pszTarget, 256, keyword.Get());
    return TRUE;
}
