#include "pages/zqpagecontrols.h"

#include "common/zquibase.h"
#include "pages/zqpageitems.h"
#include "preview/zqpreview.h"

using namespace zqpage;

CZQPageControls::CZQPageControls(const int* pMovableIds, int cMovable)
    : m_pMovableIds(pMovableIds), m_cMovable(cMovable < 0 ? 0 : cMovable > kMaxMovable ? kMaxMovable : cMovable) {}

void CZQPageControls::VRecordRects() {
    for (int i = 0; i < m_cMovable; ++i) {
        ControlRect& r = m_aRects[i];
        r = {m_pMovableIds[i], {}, 0, 0};
        if (m_hPage) CZQUIBase::VGetChildRect(m_hPage, Item(r.id), &r.rc, &r.cx, &r.cy);
    }
}

const CZQPageControls::ControlRect* CZQPageControls::Recorded(int iCtrlId) const {
    for (int i = 0; i < m_cMovable; ++i)
        if (m_aRects[i].id == iCtrlId) return &m_aRects[i];
    return nullptr;
}

BOOL CZQPageControls::BPlaceAt(int iCtrlId, int iPlaceId) {
    const ControlRect* place = Recorded(iPlaceId);
    return place ? BPlaceAtTop(iCtrlId, static_cast<float>(place->rc.top)) : FALSE;
}

BOOL CZQPageControls::BPlaceAtTop(int iCtrlId, float fTop) {
    const ControlRect* own = Recorded(iCtrlId);
    return own ? BPlaceAtPoint(iCtrlId, own->rc.left, fTop) : FALSE;
}

int CZQPageControls::IStackAt(int iCtrlId, int iTop, int iGap) {
    const ControlRect* own = Recorded(iCtrlId);
    HWND control = Item(iCtrlId);
    if (!own || !control) return iTop;
    CZQUIBase::BPlaceWindow(control, &own->rc, own->cx, own->cy, static_cast<float>(iTop));
    return iTop + own->cy + iGap;
}

void CZQPageControls::VCloseUp(const int* pIds, int cIds, int iPlaceId, bool bLabelled, int iLabelGap, int iGap) {
    const ControlRect* place = iPlaceId ? Recorded(iPlaceId) : nullptr;
    int y = place ? place->rc.top : 0;
    for (int i = 0; i < cIds; ++i) {
        const ControlRect* own = Recorded(pIds[i]);
        if (!own) continue;
        // Back in the template's place, or under the one before.
        if (!place) y = own->rc.top;
        y = IStackAt(pIds[i], y, bLabelled && i % 2 == 0 ? iLabelGap : iGap);
    }
}

BOOL CZQPageControls::BPlaceAtPoint(int iCtrlId, int iLeft, float fTop) {
    const ControlRect* own = Recorded(iCtrlId);
    HWND control = Item(iCtrlId);
    if (!own || !control) return FALSE;
    // A drop-down list's height is that of its list: it keeps the one it has.
    WCHAR kind[16] = {};
    GetClassNameW(control, kind, 16);
    if (lstrcmpiW(kind, L"ComboBox") == 0)
        return SetWindowPos(control, nullptr, iLeft, static_cast<int>(fTop), 0, 0,
                            SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    RECT at = own->rc;
    at.left = iLeft;
    return CZQUIBase::BPlaceWindow(control, &at, own->cx, own->cy, fTop);
}

void CZQPageControls::VShow(int iCtrlId, BOOL bShow, BOOL bEnable) {
    HWND control = Item(iCtrlId);
    if (bShow) ShowEnabled(control, bEnable);
    else Hide(control);
}

BOOL CZQPageControls::BChecked(int iCtrlId) const { return Checked(Item(iCtrlId)) ? TRUE : FALSE; }

void CZQPageControls::VSetCheck(int iCtrlId, BOOL bChecked) { SetCheck(Item(iCtrlId), bChecked != FALSE); }

int CZQPageControls::ISelection(int iCtrlId) const {
    HWND list = Item(iCtrlId);
    return list ? static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0)) : CB_ERR;
}

void CZQPageControls::VSetTexts(CZQUIBase& texts, const TextRow* pRows, int cRows) const {
    if (!m_hPage || !pRows) return;
    for (int i = 0; i < cRows; ++i) {
        const TextRow& row = pRows[i];
        HWND target = row.iCtrlId == 0 ? m_hPage : Item(row.iCtrlId);
        if (target) texts.BSetWindowTextRes(row.iTextId, target, row.pszEnglish);
    }
}

void CZQPageControls::VFillList(CZQUIBase& texts, int iCtrlId, const INT* pTextIds, int cTexts) const {
    HWND list = Item(iCtrlId);
    if (!list || !pTextIds) return;
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < cTexts; ++i) {
        WCHAR text[CZQCommon::kResStringChars] = {};
        if (!texts.BLoadResString(pTextIds[i], text)) text[0] = L'\0';
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}

void CZQPageControls::VRepaint(int idFirst, int idSecond, BOOL bErase) const {
    if (!m_hPage) return;
    RECT area;
    CZQPreview::VGetRepaintRect(m_hPage, idFirst, idSecond, &area);
    if (!IsRectEmpty(&area)) InvalidateRect(m_hPage, &area, bErase);
}
