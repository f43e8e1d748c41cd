// The Paper/Quality page's papers of single pages and covers: the page-kind list filled from
// "ZQCovers", which covers count as in use, the markers of pages whose paper differs from the
// document's, the chosen kind's paper in the two lists, and the list's owner drawing.
#include <algorithm>

#include "common/zqkeywords.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "pages/zqpageitems.h"
#include "platform/zqpageexceptionsapi.h"
#include "settings/zqoptionlists.h"

using namespace zqpage;

namespace {

// The names of the page kinds, in kind order: the string id and its English text.
const struct {
    INT id;
    PCWSTR english;
} kKindNames[kPageKindCount] = {
    {766, L"First Page"}, {780, L"Other Pages"}, {4003, L"Last Page"}, {834, L"Back Cover"},
    {4001, L"Front Cover"}, {4002, L"Back Cover from Feeder"}, {4000, L"Front Cover from Feeder"},
};

// The cover kinds' places among the four cover-in-use flags.
int CoverSlot(int iKind) {
    switch (iKind) {
        case kKindFrontCoverFeeder: return 0;
        case kKindFrontCover: return 1;
        case kKindBackCover: return 2;
        case kKindBackCoverFeeder: return 3;
        default: return -1;
    }
}

// The settings' cover flag of a cover kind; null for the other kinds.
uint32_t* SettingsCoverFlag(ZQUIDevmode& dm, int iKind) {
    switch (iKind) {
        case kKindBackCover: return &dm.dwBackCover;
        case kKindFrontCover: return &dm.dwFrontCover;
        case kKindBackCoverFeeder: return &dm.dwBackCoverFeeder;
        case kKindFrontCoverFeeder: return &dm.dwFrontCoverFeeder;
        default: return nullptr;
    }
}

}  // namespace

int CZQPaperQualityTab::IPageKindFromName(PWSTR pszText, CZQUILogic*) {
    if (!pszText) return kKindFirstPage;
    if (CZQUILogic::BHasMarkPrefix(pszText)) CZQUILogic::BStripMarkPrefix(pszText);
    int kind = kKindFirstPage;
    for (int i = 0; i < kPageKindCount; ++i) {
        WCHAR name[kResStringChars];
        if (!BLoadResString(kKindNames[i].id, name)) ZQCopyText(name, kResStringChars, kKindNames[i].english);
        if (lstrcmpW(pszText, name) == 0) kind = i;
    }
    return kind;
}

// ---------------------------------------------------------------------------------------------
// The list and the covers in use
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VFillPageList(CZQUILogic* pLogic, BOOL bReselect) {
    ZQUIDevmode* work = pLogic ? pLogic->WorkDM() : nullptr;
    if (!work) return;
    HWND list = m_controls.Page() ? m_controls.H(kCtlPageKinds) : nullptr;
    if (work->dwDiffPaper) {
        if (!list) return;
        if (!bReselect) {
            // Nothing chosen, nothing to evaluate again: an item put back at -1 would be a new one.
            const int chosen = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
            WCHAR text[256];
            if (EntryText(list, chosen, text, true)) VAddPageKindItem(pLogic, kReplaceItem, text, chosen);
            return;
        }
        const POEMCUIPPARAM param = pLogic->Param();
        zqsettings::CZQStringList names;
        POPTITEM item = nullptr;
        if (DWGetOptionNames(param, L"ZQCovers", &names.p, &names.n) != ZQOPT_OK ||
            DWFindOptItem(param, L"ZQCovers", &item) != ZQOPT_OK || !item)
            return;
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (int i = 0; i < names.n; ++i) {
            if (!names.p[i] || (OptionFlags(item, i) & (OPTPF_HIDE | OPTPF_OVERLAY_WARNING_ICON))) continue;
            VAddPageKindItem(pLogic, kAppendItem, names.p[i], -1);
        }
        return;
    }

    for (int i = 0; i < 4; ++i) pLogic->m_adwCoverFlags[i] = m_state.adwCoversInUse[i] = 0;
    if (!pLogic->BHasPageExceptions()) return;
    // The page exceptions place covers: inserted covers come from the selection's first bits,
    // the other exceptions take covers from the feeder.
    const DWORD placement = work->adwExtra[2];
    const DWORD selection = work->adwExtra[3];
    auto set = [&](int kind) { pLogic->m_adwCoverFlags[CoverSlot(kind)] = m_state.adwCoversInUse[CoverSlot(kind)] = 1; };
    if (placement & ZQPE_COVER_INSERTION) {
        if (selection & 0x1) set(kKindFrontCover);
        if (selection & 0x2) set(kKindBackCover);
        if (selection & 0x4) {
            set(kKindFrontCover);
            set(kKindBackCover);
        }
    }
    if (placement & (ZQPE_CHAPTER_PAGES | ZQPE_BLANK_INSERTION | ZQPE_PRINTED_INSERTION)) {
        if (selection & 0x08) set(kKindFrontCoverFeeder);
        if (selection & 0x10) set(kKindBackCoverFeeder);
        if (!(selection & 0x18)) {
            set(kKindFrontCoverFeeder);
            set(kKindBackCoverFeeder);
        }
    }
}

void CZQPaperQualityTab::VAddPageKindItem(CZQUILogic* pLogic, int iMode, PWSTR pszText, int iIndex) {
    ZQUIDevmode* work = pLogic ? pLogic->WorkDM() : nullptr;
    if (!work || !pszText) return;
    const int kind = IPageKindFromName(pszText, pLogic);
    const bool booklet = work->dwBooklet != 0;
    bool hide = false;
    if (kind == kKindLastPage) hide = booklet;
    // A booklet has no back cover of its own unless one is chosen; the front cover always shows.
    if (const uint32_t* flag = SettingsCoverFlag(*work, kind)) {
        const DWORD inUse = *flag ? 1 : 0;
        if (!inUse && (kind == kKindBackCover || kind == kKindBackCoverFeeder)) hide = booklet;
        pLogic->m_adwCoverFlags[CoverSlot(kind)] = m_state.adwCoversInUse[CoverSlot(kind)] = inUse;
    }
    HWND list = m_controls.Page() ? m_controls.H(kCtlPageKinds) : nullptr;
    if (!list) return;
    if (iMode == kReplaceItem) {
        SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(iIndex), 0);
        SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(iIndex), reinterpret_cast<LPARAM>(pszText));
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(iIndex), 0);
    } else if (!hide) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText));
    }
}

// ---------------------------------------------------------------------------------------------
// The chosen kind
// ---------------------------------------------------------------------------------------------
void CZQPaperQualityTab::VUpdatePaperMarkers(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_controls.Page() || pContext->pLogic->BHasPageExceptions() || !Checked(m_controls.H(kCtlDifferentPaper))) return;
    WCHAR text[256];
    if (SelectedText(m_controls.H(kCtlPageKinds), text, true)) {
        const int kind = IPageKindFromName(text, pContext->pLogic);
        if (kind == kKindBackCoverFeeder || kind == kKindFrontCoverFeeder) return;
    }
    const int source = ISourcePosition(pContext, work->dwDefaultSourceId);
    const int media = IMediaTypeIndex(pContext, work->dwDefaultMediaId);
    for (int kind : {kKindFirstPage, kKindOtherPages, kKindLastPage}) {
        const int slot = CZQPaperSlots::ISlotOfKind(kind);
        m_state.adwMarkers[kind] = source != m_slots.aiSource[slot] || media != m_slots.aiMedia[slot] ? 1 : 0;
    }
}

void CZQPaperQualityTab::VShowPageKindPaper(PageContext* pContext) {
    if (!pContext || !pContext->pLogic || !m_controls.Page()) return;
    const POEMCUIPPARAM param = m_pCUIParam;
    WCHAR text[256];
    SelectedText(m_controls.H(kCtlPageKinds), text, true);
    const POPTITEM mediaItem = FeatureItem(param, zqkw::kMediaType);
    const int kind = IPageKindFromName(text, pContext->pLogic);
    const int slot = CZQPaperSlots::ISlotOfKind(kind);
    switch (kind) {
        case kKindOtherPages:
            DWSelectPubOption(param, DMPUB_DEFSOURCE, 0, m_slots.aiSource[slot]);
            DWSelectPubOption(param, DMPUB_MEDIATYPE, 0, m_slots.aiMedia[slot]);
            VFillMediaTypeList(pContext);
            break;
        case kKindFirstPage: VShowFirstPagePaper(pContext); break;
        case kKindLastPage: VShowLastPagePaper(pContext); break;
        case kKindBackCover: VShowBackCoverPaper(pContext); break;
        case kKindFrontCover: VShowFrontCoverPaper(pContext); break;
        case kKindBackCoverFeeder: VShowBackFeederPaper(pContext); break;
        default: VShowFrontFeederPaper(pContext); break;
    }
    VSelectSourceAndMedia(pContext, m_slots.aiSource[slot], m_slots.aiMedia[slot], kind);
    int target = -1;
    if (mediaItem) {
        target = m_slots.aiMedia[slot];
        VUpdateRecentMediaTypes(pContext, OptionName(mediaItem, target));
    }
    if (target == -1) target = m_slots.aiMedia[kWorkingSlot];
    if (target != m_slots.aiMedia[kWorkingSlot])
        DWSelectOptionByIndex(param, zqkw::kMediaType, target, OEMCUIP_DOCPROP);
}

void CZQPaperQualityTab::VSetCoverFlag(PageContext* pContext, int iValue) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_controls.Page() || pContext->pLogic->BHasPageExceptions() || !Checked(m_controls.H(kCtlDifferentPaper))) return;
    WCHAR text[256];
    if (!SelectedText(m_controls.H(kCtlPageKinds), text, true)) return;
    if (uint32_t* flag = SettingsCoverFlag(*work, IPageKindFromName(text, pContext->pLogic)))
        *flag = static_cast<uint32_t>(iValue);
}

void CZQPaperQualityTab::VInitPageListSelection(PageContext* pContext, HWND hDlg) {
    if (!pContext || !pContext->pLogic || !m_controls.Page() || pContext->pLogic->BHasPageExceptions() ||
        IsDlgButtonChecked(hDlg, IDC_CHK_MEDIA_PAPER_DIFF) != BST_CHECKED)
        return;
    HWND list = m_controls.H(kCtlPageKinds);
    SetFocus(list);
    // Five kinds start on the other pages, more on the last page, fewer on the first.
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    SendMessageW(list, LB_SETCURSEL, count == 5 ? 1 : count > 5 ? 2 : 0, 0);
    VShowPageKindPaper(pContext);
}

int CZQPaperQualityTab::ISelectedKindMediaPosition(PageContext* pContext) {
    const int working = m_slots.aiMedia[kWorkingSlot];
    if (!pContext || !pContext->pLogic || !m_controls.Page() || pContext->pLogic->BHasPageExceptions() ||
        !Checked(m_controls.H(kCtlDifferentPaper)))
        return working;
    WCHAR text[256];
    SelectedText(m_controls.H(kCtlPageKinds), text, true);
    return m_slots.aiMedia[CZQPaperSlots::ISlotOfKind(IPageKindFromName(text, pContext->pLogic))];
}

// ---------------------------------------------------------------------------------------------
// Owner drawing
// ---------------------------------------------------------------------------------------------
BOOL CZQPaperQualityTab::BDrawPageListItem(PCWSTR pszCovers, const DRAWITEMSTRUCT* pDraw, HWND hList,
                                           CZQUILogic* pLogic) {
    const POEMCUIPPARAM param = pLogic ? pLogic->Param() : nullptr;
    ZQUIDevmode* work = pLogic ? pLogic->WorkDM() : nullptr;
    POPTITEM covers = nullptr;
    if (!param || !work || !pDraw || !pszCovers || DWFindOptItem(param, pszCovers, &covers) != ZQOPT_OK || !covers)
        return FALSE;
    if (pDraw->itemID == static_cast<UINT>(-1) || static_cast<int>(pDraw->itemID) > IGetOptionCount(covers))
        return FALSE;
    HDC hdc = pDraw->hDC;
    RECT rc = pDraw->rcItem;
    const bool selected = (pDraw->itemState & ODS_SELECTED) != 0;
    const COLORREF oldText = SetTextColor(hdc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const COLORREF oldBack = SetBkColor(hdc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CZQGdiObject brush(CreateSolidBrush(selected ? GetSysColor(COLOR_HIGHLIGHT) : GetBkColor(hdc)));
    if (brush) FillRect(hdc, &rc, static_cast<HBRUSH>(brush.Get()));

    const LRESULT len = SendMessageW(hList, LB_GETTEXTLEN, pDraw->itemID, 0);
    CZQLocalPtr<WCHAR> text;
    if (len >= 0 && text.Alloc(static_cast<size_t>(len) + 1) &&
        SendMessageW(hList, LB_GETTEXT, pDraw->itemID, reinterpret_cast<LPARAM>(text.Get())) >= 0) {
        TEXTMETRICW metrics = {};
        GetTextMetricsW(hdc, &metrics);
        const int x = 2 * (LOWORD(GetDialogBaseUnits()) / 4) + 27;
        const int y = (rc.top + rc.bottom - metrics.tmHeight) / 2;
        ExtTextOutW(hdc, x, y, ETO_CLIPPED | ETO_OPAQUE, &rc, text.Get(), static_cast<UINT>(len), nullptr);
        SetTextColor(hdc, oldText);
        SetBkColor(hdc, oldBack);

        // The marker goes by the English names only; it takes the row's height, up to its own 32
        // pixels, so that a row of the list's font shows it whole.
        const int marker = std::min<int>(32, rc.bottom - rc.top);
        const DWORD conditions[kPageKindCount] = {m_state.adwMarkers[0], m_state.adwMarkers[1], m_state.adwMarkers[2],
                                                  work->dwBackCover,  work->dwFrontCover,
                                                  work->dwBackCoverFeeder, work->dwFrontCoverFeeder};
        for (int kind = 0; kind < kPageKindCount; ++kind)
            if (conditions[kind] && lstrcmpW(text.Get(), kKindNames[kind].english) == 0 && m_hMarkerIcon)
                DrawIconEx(hdc, rc.left, rc.top, m_hMarkerIcon, marker, marker, 0, nullptr, DI_NORMAL);
    } else {
        SetTextColor(hdc, oldText);
        SetBkColor(hdc, oldBack);
    }
    // Last, so that the fill does not cover it.
    if (pDraw->itemState & ODS_FOCUS) DrawFocusRect(hdc, &rc);
    return FALSE;
}
