// The Features page's papers of the page kinds: the table of the seven kinds' sources and media
// (the Paper/Quality page's paper slots), set from the document's current paper, the lists' choice
// stored for the chosen kind (for first, other and last pages alike without different papers), the
// kinds marked that differ from the document's paper, and the administrator's locks.
#include "common/zqkeywords.h"
#include "common/zqstorenames.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/features/zqfeaturespage.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"
#include "res/zqfeaturesids.h"
#include "settings/zqdriverdata.h"

using namespace zqpage;

int CZQFeaturesTab::ISelectedKind(PageContext* pContext) {
    WCHAR text[256];
    auto* paper = ZQSheetPage<CZQPaperQualityTab>(pContext, kPagePaperQuality);
    if (!paper || !SelectedText(m_controls.Item(IDC_LB_MEDIA_PAPER_OPTIONS), text, true)) return kKindNone;
    PWSTR mark = wcsstr(text, L"<< ");
    return paper->IPageKindFromName(mark ? mark + 3 : text, pContext->pLogic);
}

void CZQFeaturesTab::VInitPageKinds(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam) return;
    const ZQPaperItems items = ZQPaperItemsOf(m_pCUIParam, pContext);
    HWND sources = m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS);
    m_kinds.VRead(*work, items, sources);
    // The covers start on the document's paper; other and last pages on the first page's.
    const int source = CZQPaperSlots::ISourcePosition(items, sources, work->dwDefaultSourceId);
    const int media = CZQPaperSlots::IMediaTypeIndex(items, work->dwDefaultMediaId);
    for (int kind : {kKindBackCover, kKindBackCoverFeeder, kKindFrontCover, kKindFrontCoverFeeder})
        m_kinds.VSetKind(kind, source, media, static_cast<int>(work->dwDefaultMediaId));
    m_controls.VSetCheck(IDC_CHK_MEDIA_BACK_COVER, FALSE);
    const int first = CZQPaperSlots::ISlotOfKind(kKindFirstPage);
    for (int kind : {kKindOtherPages, kKindLastPage})
        m_kinds.VSetKind(kind, m_kinds.aiSource[first], m_kinds.aiMedia[first], 0);
    for (int kind : {kKindOtherPages, kKindLastPage, kKindFirstPage}) m_kinds.VFollowMediaId(kind, items);
}

void CZQFeaturesTab::VApplyCombosToKind(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam) return;
    const ZQPaperItems items = ZQPaperItemsOf(m_pCUIParam, pContext);
    HWND sources = m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS);
    HWND media = m_controls.Item(IDC_CBO_MEDIA_TYPE_IS);
    const int sourceEntry = static_cast<int>(SendMessageW(sources, CB_GETCURSEL, 0, 0));
    const int mediaEntry = static_cast<int>(SendMessageW(media, CB_GETCURSEL, 0, 0));
    const int kind = ISelectedKind(pContext);
    if (work->dwDiffPaper && kind != kKindNone) {
        if (kind >= kKindBackCoverFeeder) {
            // A feeder cover's source is the feeder feature's own option.
            int option = 0;
            DWGetFeatureOptionIndex(m_pCUIParam, CZQPaperSlots::PszFeederFeature(kind), &option);
            const int mediaOption =
                CZQPaperSlots::IOptionIndexFromComboItem(items, nullptr, DMPUB_MEDIATYPE, media, mediaEntry);
            m_kinds.VSetKind(kind, option, mediaOption,
                             static_cast<int>(CZQPaperSlots::DWMediaTypeFromIndex(items, mediaOption)));
        } else {
            const int sourceOption =
                CZQPaperSlots::IOptionIndexFromComboItem(items, nullptr, DMPUB_DEFSOURCE, sources, sourceEntry);
            const int mediaOption =
                CZQPaperSlots::IOptionIndexFromComboItem(items, nullptr, DMPUB_MEDIATYPE, media, mediaEntry);
            m_kinds.VSetKind(kind, sourceOption, mediaOption,
                             static_cast<int>(CZQPaperSlots::DWMediaTypeFromIndex(items, mediaOption)));
        }
        const int slot = CZQPaperSlots::ISlotOfKind(kind);
        const KindFields fields = CZQPaperSlots::Fields(*work, kind);
        *fields.source = kind >= kKindBackCoverFeeder
                             ? static_cast<uint32_t>(m_kinds.aiSource[slot])
                             : CZQPaperSlots::DWSourceFromPosition(items, m_kinds.aiSource[slot]);
        *fields.media = static_cast<uint32_t>(m_kinds.aiMediaId[slot]);
        return;
    }
    // Without different papers the lists hold every page's paper; a user medium prints on its own
    // option.
    WCHAR text[256];
    int user = -1;
    m_state.iUserMedium = SelectedText(media, text) && m_userMedia.IFindUserMedia(text, &user) >= 0 ? user : -1;
    const int sourceOption =
        CZQPaperSlots::IOptionIndexFromComboItem(items, nullptr, DMPUB_DEFSOURCE, sources, sourceEntry);
    const int mediaOption = m_state.iUserMedium >= 0 && m_state.iUserMediumOption >= 0
                                ? m_state.iUserMediumOption
                                : CZQPaperSlots::IOptionIndexFromComboItem(items, nullptr, DMPUB_MEDIATYPE, media,
                                                                           mediaEntry);
    m_kinds.VStoreEveryPage(*work, items, sourceOption < 0 ? 0 : sourceOption, mediaOption < 0 ? 0 : mediaOption);
}

void CZQFeaturesTab::VMarkDifferingKinds(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !work->dwDiffPaper || !m_pCUIParam) return;
    const int kind = ISelectedKind(pContext);
    if (kind == kKindBackCoverFeeder || kind == kKindFrontCoverFeeder) return;
    const ZQPaperItems items = ZQPaperItemsOf(m_pCUIParam, pContext);
    const int source = CZQPaperSlots::ISourcePosition(items, m_controls.Item(IDC_CBO_MEDIA_SOURCE_IS),
                                                      work->dwDefaultSourceId);
    const int media = CZQPaperSlots::IMediaTypeIndex(items, work->dwDefaultMediaId);
    const int marked[] = {kKindFirstPage, kKindOtherPages, kKindLastPage};
    for (int i = 0; i < 3; ++i) {
        const int slot = CZQPaperSlots::ISlotOfKind(marked[i]);
        m_abKindDiffers[i] = m_kinds.aiSource[slot] != source || m_kinds.aiMedia[slot] != media;
    }
}

void CZQFeaturesTab::VReadLockFlags(PageContext*) {
    const HANDLE printer = m_pCUIParam ? m_pCUIParam->hPrinter : nullptr;
    CZQLocalPtr<WCHAR> exist;
    if (!printer || !CZQDriverData::BGetPrinterData(printer, zqsettings::kDMCExist, exist.Put())) return;
    m_state.bSourceLocked =
        CZQUILogic::BIsSettingLocked(printer, zqsettings::kLockDataPrinting, zqkw::kInputBin, nullptr);
    m_state.bMediaLocked =
        CZQUILogic::BIsSettingLocked(printer, zqsettings::kLockDataPrinting, zqkw::kMediaType, nullptr);
}
