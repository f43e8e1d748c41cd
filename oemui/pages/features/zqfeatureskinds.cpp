// The Features page's kind appliers: a kind's paper pushed into the core driver's items and the lists
// refilled for it, and the administrator's locks of the paper source and the media type.
#include <cwchar>

#include "common/zqkeywords.h"
#include "common/zqprintercaps.h"
#include "common/zqstorenames.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/zqpageitems.h"
#include "settings/zqdriverdata.h"

using namespace zqpage;

namespace {

// A feeder cover's source is an option of its feeder feature.
bool FeederKind(int iKind) { return iKind == kKindBackCoverFeeder || iKind == kKindFrontCoverFeeder; }

}  // namespace

void CZQFeaturesTab::VApplyKind(PageContext* pContext, int iKind) {
    if (!WorkOf(pContext) || !m_pCUIParam) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    const ZQPaperItems items = ZQPaperItemsOf(param, pContext);
    const int slot = CZQPaperSlots::ISlotOfKind(iKind);
    const int saved = m_pageKinds.Slots().aiSource[kWorkingSlot];
    m_pageKinds.Slots().aiSource[kWorkingSlot] = m_pageKinds.Slots().aiSource[slot];
    if (m_pageKinds.Slots().aiMedia[slot] >= 0 && PubItem(param, DMPUB_MEDIATYPE))
        DWSelectPubOption(param, DMPUB_MEDIATYPE, 0, m_pageKinds.Slots().aiMedia[slot]);
    // A feeder cover's source is an option of its feeder feature, not a position of the source item.
    const int source = m_pageKinds.Slots().aiSource[slot];
    if (!FeederKind(iKind) && items.pCaps && source >= 0 && static_cast<DWORD>(source) < items.pCaps->dwSourceCount &&
        PubItem(param, DMPUB_DEFSOURCE))
        DWSelectPubOption(param, DMPUB_DEFSOURCE, 0, source);
    if (iKind == kKindBackCoverFeeder)
        DWFillBackCoverMediaCombos(pContext);
    else if (iKind == kKindFrontCoverFeeder)
        DWFillMediaCombosBorderless(pContext);
    else
        DWFillSourceAndMediaCombos(pContext);
    m_pageKinds.VSelectKindInCombos(pContext, m_pageKinds.Slots().aiSource[slot], m_pageKinds.Slots().aiMedia[slot], TRUE);
    m_pageKinds.Slots().aiSource[kWorkingSlot] = saved;
}

void CZQFeaturesTab::VApplyFirstPage(PageContext* pContext) { VApplyKind(pContext, kKindFirstPage); }

void CZQFeaturesTab::VApplyBackCover(PageContext* pContext) {
    VApplyKind(pContext, kKindBackCover);
    // The covers print apart: the document's pages go on with their own paper.
    m_pageKinds.VSelectOtherPagesMedia(pContext);
    m_pageKinds.VSelectOtherPagesSource(pContext);
}

void CZQFeaturesTab::VApplyLastPage(PageContext* pContext) { VApplyKind(pContext, kKindLastPage); }

void CZQFeaturesTab::VApplyFrontCover(PageContext* pContext) { VApplyKind(pContext, kKindFrontCover); }

void CZQFeaturesTab::VApplyBackCoverFromFeeder(PageContext* pContext) { VApplyKind(pContext, kKindBackCoverFeeder); }

void CZQFeaturesTab::VApplyFrontCoverFromFeeder(PageContext* pContext) {
    VApplyKind(pContext, kKindFrontCoverFeeder);
}

void CZQFeaturesTab::VApplyOtherPages(PageContext* pContext) {
    if (!m_pCUIParam) return;
    const ZQPaperItems items = ZQPaperItemsOf(m_pCUIParam, pContext);
    m_pageKinds.Slots().aiMediaId[kWorkingSlot] =
        static_cast<int>(CZQPaperSlots::DWMediaTypeFromIndex(items, m_pageKinds.Slots().aiMedia[kWorkingSlot]));
    VApplyKind(pContext, kKindOtherPages);
    m_pageKinds.Slots().aiMedia[kWorkingSlot] =
        CZQPaperSlots::IMediaTypeIndex(items, static_cast<DWORD>(m_pageKinds.Slots().aiMediaId[kWorkingSlot]));
}

void CZQFeaturesTab::VApplySelectedKind(PageContext* pContext) {
    const int kind = m_pageKinds.ISelectedKind(pContext);
    if (kind == kKindNone || !m_pCUIParam) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    switch (kind) {
        case kKindFirstPage: VApplyFirstPage(pContext); break;
        case kKindLastPage: VApplyLastPage(pContext); break;
        case kKindBackCover: VApplyBackCover(pContext); break;
        case kKindFrontCover: VApplyFrontCover(pContext); break;
        case kKindBackCoverFeeder: VApplyBackCoverFromFeeder(pContext); break;
        case kKindFrontCoverFeeder: VApplyFrontCoverFromFeeder(pContext); break;
        default:
            m_pageKinds.VSelectOtherPagesSource(pContext);
            m_pageKinds.VSelectOtherPagesMedia(pContext);
            DWFillSourceAndMediaCombos(pContext);
            m_pageKinds.VSelectKindInCombos(pContext, m_pageKinds.Slots().aiSource[kWorkingSlot], m_pageKinds.Slots().aiMedia[kWorkingSlot], TRUE);
            break;
    }
    const int media = m_pageKinds.Slots().aiMedia[CZQPaperSlots::ISlotOfKind(kind)];
    const PCWSTR name = OptionName(PubItem(param, DMPUB_MEDIATYPE), media);
    if (name) ISelectMediaInCombo(pContext, name);
    if (media >= 0 && media != m_pageKinds.Slots().aiMedia[kWorkingSlot])
        DWSelectOptionByIndex(param, zqkw::kMediaType, media, OEMCUIP_DOCPROP);
}

void CZQFeaturesTab::VReadLockFlags(PageContext*) {
    const HANDLE printer = m_pCUIParam ? m_pCUIParam->hPrinter : nullptr;
    CZQLocalPtr<WCHAR> exist;
    if (!printer || !CZQDriverData::BGetPrinterData(printer, zqsettings::kDMCExist, exist.Put())) return;
    m_state.bSourceLocked = LockedInAnyCase(printer, zqkw::kInputBin) ? TRUE : FALSE;
    m_state.bMediaLocked = LockedInAnyCase(printer, zqkw::kMediaType) ? TRUE : FALSE;
}
