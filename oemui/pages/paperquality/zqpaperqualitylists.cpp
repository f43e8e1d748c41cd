// The Paper/Quality page's paper lists: the conversions between the printer's ids and the core
// driver's option positions, the source, media-type and paper-size lists, the paper a page kind
// shows and stores, and the "MediaType" printer data.
#include "common/zqkeywords.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"
#include "xmlrules/zqxmluirules.h"

using namespace zqpage;

namespace {

// Selects the entry of a source position in the source list: position 0 is the first bin's entry,
// any other position the entry named like that option. After a paper-size change the rules'
// source takes the slot's place once.
void SelectListPosition(HWND list, POEMCUIPPARAM pParam, const PageContext* pContext, int iPosition) {
    POPTITEM item = PubItem(pParam, DMPUB_DEFSOURCE);
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsSources);
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    if (CZQPaperQualityTab::s_bSourceSelectOnce) {
        CZQPaperQualityTab::s_bSourceSelectOnce = FALSE;
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

}  // namespace

// ---------------------------------------------------------------------------------------------
// Printer ids and option positions, as the paper slots convert them
// ---------------------------------------------------------------------------------------------
int CZQPaperQualityTab::ISourcePosition(PageContext* pContext, DWORD dwSourceId) const {
    return CZQPaperSlots::ISourcePosition(ZQPaperItemsOf(m_pCUIParam, pContext), m_controls.H(kCtlSource), dwSourceId);
}

DWORD CZQPaperQualityTab::DWSourceFromPosition(PageContext* pContext, int iPosition) const {
    return CZQPaperSlots::DWSourceFromPosition(ZQPaperItemsOf(m_pCUIParam, pContext), iPosition);
}

int CZQPaperQualityTab::IMediaTypeIndex(PageContext* pContext, DWORD dwMediaId) const {
    return CZQPaperSlots::IMediaTypeIndex(ZQPaperItemsOf(m_pCUIParam, pContext), dwMediaId);
}

DWORD CZQPaperQualityTab::DWMediaTypeFromIndex(PageContext* pContext, int iPosition) const {
    return CZQPaperSlots::DWMediaTypeFromIndex(ZQPaperItemsOf(m_pCUIParam, pContext), iPosition);
}

int CZQPaperQualityTab::IOptionIndexFromComboItem(PageContext* pContext, PCWSTR pszFeature, BYTE bPubId,
                                                  HWND hCombo, int iEntry) const {
    return CZQPaperSlots::IOptionIndexFromComboItem(ZQPaperItemsOf(m_pCUIParam, pContext), pszFeature, bPubId, hCombo,
                                                    iEntry);
}

// ---------------------------------------------------------------------------------------------
// Filling the lists
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VFillLists(PageContext* pContext, Refill refill) {
    if (!pContext || !pContext->pLogic) return;
    CZQUILogic& logic = *pContext->pLogic;
    HWND source = m_controls.H(kCtlSource);
    if (source) SendMessageW(source, CB_RESETCONTENT, 0, 0);
    if (refill == Refill::Normal) {
        CZQPaperSlots::VFillSourceList(source, *pContext->pLogic, pContext->pCaps);
    } else if (refill == Refill::BackFeeder) {
        logic.IBindFeatureControl(0, kBackFeederFeature, source, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFillFree,
                                  FALSE, 0, nullptr);
    }
    if (!m_state.bMediaTypePopup) {
        if (refill == Refill::Normal) VMarkLoadedMediaTypes(pContext);
        logic.IBindFeatureControl(DMPUB_MEDIATYPE, nullptr, m_controls.H(kCtlMedia), nullptr, OEMCUIP_DOCPROP,
                                  CZQUILogic::kBindFill, FALSE, 0, nullptr);
    } else if (m_pCUIParam) {
        CZQUILogic::VKeepPopupMediaType(m_pCUIParam->hPrinter);
        VFillMediaTypePopupList(m_controls.H(kCtlMedia), pContext);
    }
    if (refill != Refill::Normal && logic.BIsBorderlessPaper())
        DWSelectOptionByIndex(m_pCUIParam, zqkw::kZQBorderLessPhoto, 1, OEMCUIP_DOCPROP);
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
    if (!m_state.bMediaTypePopup) {
        for (int action : {CZQUILogic::kBindFill, CZQUILogic::kBindShow})
            pContext->pLogic->IBindFeatureControl(0, zqkw::kMediaType, m_controls.H(kCtlMedia), nullptr,
                                                  OEMCUIP_DOCPROP, action, FALSE, 0, nullptr);
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
    m_state.bPaperSizePopup = logic.BPaperSizeTreeviewPopup();
    HWND list = m_controls.H(kCtlSize);
    if (m_state.bPaperSizePopup)
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
    HWND list = m_controls.H(kCtlSource);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    if (iKind == kKindBackCoverFeeder || iKind == kKindFrontCoverFeeder) {
        const PCWSTR feeder = CZQPaperSlots::PszFeederFeature(iKind);
        logic.IBindFeatureControl(0, feeder, list, nullptr, OEMCUIP_DOCPROP, CZQUILogic::kBindFillFree, FALSE, 0,
                                  nullptr);
        SendMessageW(list, CB_DELETESTRING, 0, 0);
        // A feeder cover without its own option yet takes option 2.
        ZQUIDevmode* work = logic.WorkDM();
        const int slot = CZQPaperSlots::ISlotOfKind(iKind);
        if (work && *CZQPaperSlots::Fields(*work, iKind).source == 0) {
            m_slots.aiSource[slot] = 2;
            *CZQPaperSlots::Fields(*work, iKind).source = 2;
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
    const int slot = iKind >= kKindFirstPage && iKind <= kKindFrontCover ? CZQPaperSlots::ISlotOfKind(iKind) : kWorkingSlot;
    CZQPaperSlots::VFillSourceList(list, *pContext->pLogic, pContext->pCaps);
    // A source the core driver now marks as conflicting is not offered: the first bin instead.
    if (OptionFlags(PubItem(m_pCUIParam, DMPUB_DEFSOURCE), m_slots.aiSource[slot]) & OPTPF_OVERLAY_WARNING_ICON)
        m_slots.aiSource[slot] = 0;
    SelectListPosition(list, m_pCUIParam, pContext, m_slots.aiSource[slot]);
}


// ---------------------------------------------------------------------------------------------
// Selecting and storing a page kind's paper
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VSelectSourceAndMedia(PageContext* pContext, int iSource, int iMedia, int iKind) {
    if (!pContext) return;
    HWND sources = m_controls.H(kCtlSource);
    POPTITEM sourceItem = PubItem(m_pCUIParam, DMPUB_DEFSOURCE);
    if (iKind == kKindBackCoverFeeder || iKind == kKindFrontCoverFeeder) {
        const PCWSTR feeder = CZQPaperSlots::PszFeederFeature(iKind);
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
            const PrinterCaps* caps = ZQPrinterCapsLists(pContext->pCaps, kCapsSources);
            const bool match = iSource == 0 ? i == 0 && caps && lstrcmpW(text, caps->szFirstBinName) == 0
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
    HWND media = m_controls.H(kCtlMedia);
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
    HWND sources = m_controls.H(kCtlSource), media = m_controls.H(kCtlMedia);
    if (iKind == kKindNone) {
        // Without page kinds the lists hold the paper of every page.
        const int source = IOptionIndexFromComboItem(pContext, nullptr, DMPUB_DEFSOURCE, sources,
                                                     static_cast<int>(SendMessageW(sources, CB_GETCURSEL, 0, 0)));
        const int position = IOptionIndexFromComboItem(pContext, nullptr, DMPUB_MEDIATYPE, media,
                                                       static_cast<int>(SendMessageW(media, CB_GETCURSEL, 0, 0)));
        m_slots.VStoreEveryPage(*work, ZQPaperItemsOf(m_pCUIParam, pContext), source, position);
        return;
    }
    const int slot = CZQPaperSlots::ISlotOfKind(iKind);
    const KindFields fields = CZQPaperSlots::Fields(*work, iKind);
    if (iKind == kKindBackCoverFeeder || iKind == kKindFrontCoverFeeder) {
        int option = -1;
        if (DWGetFeatureOptionIndex(m_pCUIParam, CZQPaperSlots::PszFeederFeature(iKind), &option) != ZQOPT_OK) return;
        m_slots.aiSource[slot] = option;
        *fields.source = static_cast<uint32_t>(option);
        *fields.media = static_cast<uint32_t>(m_slots.aiMediaId[slot]);
        return;
    }
    m_slots.aiSource[slot] = IOptionIndexFromComboItem(
        pContext, nullptr, DMPUB_DEFSOURCE, sources, static_cast<int>(SendMessageW(sources, CB_GETCURSEL, 0, 0)));
    m_slots.aiMedia[slot] = IOptionIndexFromComboItem(pContext, nullptr, DMPUB_MEDIATYPE, media,
                                                      static_cast<int>(SendMessageW(media, CB_GETCURSEL, 0, 0)));
    m_slots.aiMediaId[slot] = static_cast<int>(DWMediaTypeFromIndex(pContext, m_slots.aiMedia[slot]));
    *fields.source = DWSourceFromPosition(pContext, m_slots.aiSource[slot]);
    *fields.media = static_cast<uint32_t>(m_slots.aiMediaId[slot]);
}

// ---------------------------------------------------------------------------------------------
// Showing a page kind's paper
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VShowSlotPaper(PageContext* pContext, int iKind, Refill refill) {
    if (!pContext) return;
    const int slot = CZQPaperSlots::ISlotOfKind(iKind);
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
    const PrinterCaps* caps = ZQPrinterCapsLists(pContext ? pContext->pCaps : nullptr, kCapsSources);
    if (caps && source >= 0 && static_cast<DWORD>(source) < caps->dwSourceCount)
        DWSelectPubOption(m_pCUIParam, DMPUB_DEFSOURCE, 0, source);
}

void CZQPaperQualityTab::VSelectOtherPagesMedia(PageContext*) {
    DWSelectPubOption(m_pCUIParam, DMPUB_MEDIATYPE, 0, m_slots.aiMedia[kWorkingSlot]);
}

void CZQPaperQualityTab::VClearPageList() {
    if (HWND list = m_controls.H(kCtlPageKinds)) SendMessageW(list, LB_RESETCONTENT, 0, 0);
}

BOOL CZQPaperQualityTab::BStoreMediaTypeKeyword(HWND hDlg, PageContext* pContext) {
    if (!pContext || !pContext->pRules) return FALSE;
    return StoreListKeyword(pContext->pLogic ? pContext->pLogic->Param() : nullptr,
                            GetDlgItem(hDlg, IDC_CBO_MEDIA_TYPE_IS), zqkw::kMediaType,
                            pContext->pRules->Parser().m_szMediaTypeValue);
}

