// The desktop shortcuts page's feature rows: the records of the chosen document type and the
// controls made for them.
#include "pages/shortcuts/zqdesktoprows.h"

#include "common/zqcommon.h"
#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "common/zquibase.h"
#include "pages/zqpagecontrols.h"
#include "res/zqdesktopshortcutsids.h"

namespace {

constexpr UINT kAfterAnchor = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;

}  // namespace

BOOL CZQDesktopFeatureRows::BNewTable(int nFeatures) {
    if (m_ppFeatures || nFeatures <= 0 || nFeatures > kMaxFeatures) return FALSE;
    m_ppFeatures = static_cast<DocFeatureRecord**>(LocalAlloc(LPTR, nFeatures * sizeof(DocFeatureRecord*)));
    if (!m_ppFeatures) return FALSE;
    m_nFeatures = nFeatures;
    return TRUE;
}

void CZQDesktopFeatureRows::VDropTable() {
    LocalFree(m_ppFeatures);
    m_ppFeatures = nullptr;
    m_nFeatures = 0;
    m_szDocTypeName[0] = 0;
    m_nDocTypePicture = 0;
}

HWND CZQDesktopFeatureRows::Page() const { return m_controls.Page(); }

void CZQDesktopFeatureRows::VSetTabAnchor(int iId) { m_nTabAnchor = m_bRightColumn ? IDC_BTN_PREVIEW_LAND : iId; }

BOOL CZQDesktopFeatureRows::BHolderRect(int iRow, RECT* pRect) const {
    HWND holder = Page() ? GetDlgItem(Page(), IDC_DC_CTL_HOLDER1 + iRow) : nullptr;
    if (!holder || !pRect) return FALSE;
    CZQUIBase::VGetChildRect(Page(), holder, pRect, nullptr, nullptr);
    return TRUE;
}

// A run-time control at the next id, after the anchor in the tab order; its id (the id is taken also
// when the window could not be made).
int CZQDesktopFeatureRows::IMakeControl(HINSTANCE hModule, HFONT hFont, PCWSTR pszClass, PCWSTR pszText, DWORD dwStyle,
                                  const RECT& place) {
    const int id = m_nNextCtrlId++;
    HWND control = zqmodule::CreateWindowInModuleContext(
        0, pszClass, pszText, dwStyle, place.left, place.top, place.right - place.left, place.bottom - place.top, Page(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), hModule, nullptr);
    if (!control) return id;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
    if (HWND anchor = GetDlgItem(Page(), m_nTabAnchor)) SetWindowPos(control, anchor, 0, 0, 0, 0, kAfterAnchor);
    m_nTabAnchor = id;
    return id;
}

void CZQDesktopFeatureRows::VDestroyControls() {
    const HWND page = Page();
    if (page && IsWindow(page))
        for (int id = kFirstRunTimeId; id < m_nNextCtrlId; ++id)
            if (HWND control = GetDlgItem(page, id)) DestroyWindow(control);
    m_nNextCtrlId = kFirstRunTimeId;
}

int CZQDesktopFeatureRows::IRecordOfControl(int iCtrlId) const {
    for (int i = 0; i < m_nFeatures; ++i)
        if (m_ppFeatures[i] && m_ppFeatures[i]->iCtrlId == iCtrlId) return i;
    return -1;
}
