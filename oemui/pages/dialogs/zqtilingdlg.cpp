// The tile selection dialog: its opening in either form, the tile buttons it lays over the template's
// grid area, their drawing, and the choices.
#include "pages/dialogs/zqtilingdlg.h"

#include "common/zqstrings.h"
#include "device/zqalertdefs.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpageasks.h"
#include "res/zqtilingids.h"

namespace {

using Modal = CZQModalDialog<CZQTilingSelectionDlg>;

constexpr INT kIdsTileLabel = 3981;
constexpr INT kIdsTilesSelected = 3980;

// The status module's text with its one number put in by our own code, so that a translation never
// acts as a format: a text that is not of one number gives way to the English one.
void TextWithNumber(CZQUIBase& texts, INT id, PCWSTR pszEnglish, int iNumber, PWSTR pszOut, size_t cchOut) {
    WCHAR text[CZQCommon::kResStringChars];
    if (!texts.BLoadResString(id, text) || !BFormatObjectId(text, iNumber, pszOut, cchOut))
        BFormatObjectId(pszEnglish, iNumber, pszOut, cchOut);
}

}  // namespace

CZQTilingSelectionDlg::CZQTilingSelectionDlg() = default;

// ---------------------------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------------------------
INT_PTR CZQTilingSelectionDlg::IDoModal(HWND hOwner, PageContext* pContext, int iPosterOption, BOOL bRightToLeft) {
    if (!pContext || !pContext->pLogic || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    Opening opening = {Opening::kPage, pContext->pLogic, iPosterOption};
    return Modal::IRun(this, static_cast<HINSTANCE>(m_pCUIParam->hModule),
                       bRightToLeft ? IDD_DLG_TILING_SELECTION_RTL : IDD_DLG_TILING_SELECTION, hOwner,
                       &TilingSelectionDlgProc, reinterpret_cast<LPARAM>(&opening));
}

INT_PTR CZQTilingSelectionDlg::IRunFromPushItem(ZQOemDialogParam* pParam) {
    auto* dialog = ZQKeptPushItemDialog<CZQTilingSelectionDlg>(pParam, kOemDialogTiles, &CZQUILogic::m_pTilingDialog);
    if (!dialog) return -1;
    CZQUILogic& logic = *pParam->pLogic;
    const POEMCUIPPARAM param = logic.Param();
    Opening opening = {Opening::kPushItem, &logic, -1};
    return Modal::IRun(dialog, static_cast<HINSTANCE>(param->hModule),
                       logic.SheetState()->bRtl ? IDD_DLG_TILING_SELECTION_RTL : IDD_DLG_TILING_SELECTION,
                       pParam->pCBParam ? pParam->pCBParam->hDlg : nullptr, &TilingSelectionDlgProc,
                       reinterpret_cast<LPARAM>(&opening));
}

// ---------------------------------------------------------------------------------------------
// The dialog procedure
// ---------------------------------------------------------------------------------------------
INT_PTR CALLBACK CZQTilingSelectionDlg::TilingSelectionDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        const auto* opening = reinterpret_cast<const Opening*>(lParam);
        return Modal::IStart(hDlg, [&](CZQTilingSelectionDlg& d) { return d.BInitDialog(hDlg, opening); });
    }
    CZQTilingSelectionDlg* dialog = Modal::Of(hDlg);
    // The record of this opening, kept with the window: its form says where the settings are.
    const auto* opening = reinterpret_cast<const Opening*>(GetWindowLongPtrW(hDlg, DWLP_USER));
    switch (uMsg) {
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            if (!dialog || !opening) {
                SetLastError(ERROR_INVALID_DATA);
                return FALSE;
            }
            return dialog->BOnCommand(hDlg, LOWORD(wParam), reinterpret_cast<HWND>(lParam), opening);
        case WM_CLOSE: EndDialog(hDlg, IDCANCEL); return TRUE;
        case WM_DRAWITEM:
            if (!dialog || !lParam) return FALSE;
            dialog->VDrawTile(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DESTROY:
            if (dialog && dialog->m_hDlg == hDlg) dialog->m_hDlg = dialog->m_hLastTile = nullptr;
            return FALSE;
        default: return FALSE;
    }
}

BOOL CZQTilingSelectionDlg::BInitDialog(HWND hDlg, const Opening* pOpening) {
    ZQUIDevmode* work = pOpening && pOpening->pLogic ? pOpening->pLogic->WorkDM() : nullptr;
    if (!work || !m_pCUIParam || !zqdm::CurrentBlock(m_pCUIParam->pOEMDM)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_pPublicDM = m_pCUIParam->pPublicDM;
    int option = pOpening->iPosterOption;
    // The push item is offered without a poster chosen: a poster of 2 x 2 tiles then.
    if (pOpening->form == Opening::kPushItem && !pOpening->pLogic->BGetPosterTiles(&option)) option = -1;
    m_nTilesPerSide = CZQUILogic::IPosterTilesPerSide(option);

    m_hDlg = hDlg;
    m_hSelectAll = GetDlgItem(hDlg, IDC_BTN_SELECTALL);
    m_hRemoveAll = GetDlgItem(hDlg, IDC_BTN_REMOVEALL);
    m_hPrompt = GetDlgItem(hDlg, IDC_STA_TILE_TEXT);
    m_hSelectedCount = GetDlgItem(hDlg, IDC_STA_TILE_SELECTED);
    m_hOk = GetDlgItem(hDlg, IDOK);
    m_hCancel = GetDlgItem(hDlg, IDCANCEL);
    BSetWindowTextRes(3326, m_hPrompt, L"Click to select or remove tiles:");
    BSetWindowTextRes(3327, m_hSelectAll, L"&Select All");
    BSetWindowTextRes(3328, m_hRemoveAll, L"&Remove All");
    BSetWindowTextRes(3325, hDlg, L"Tiling Selection");
    BSetWindowTextRes(849, m_hOk, L"OK");
    BSetWindowTextRes(850, m_hCancel, L"Cancel");

    const int count = m_nTilesPerSide * m_nTilesPerSide;
    for (int k = 0; k < kTileCount; ++k) m_aiTileIds[k] = k < count ? kFirstTileId + k : 0;
    VMakeTiles(hDlg);
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pOpening));
    // Every flag as the working settings hold it: OK writes all 25 back.
    for (int k = 0; k < kTileCount; ++k) m_adwTiles[k] = work->adwPosterTiles[k];
    VShowSelectedCount();
    return TRUE;
}

void CZQTilingSelectionDlg::VMakeTiles(HWND hDlg) {
    RECT first = {}, fifth = {}, last = {};
    VGetChildRect(hDlg, GetDlgItem(hDlg, IDC_TILE1), &first, nullptr, nullptr);
    VGetChildRect(hDlg, GetDlgItem(hDlg, IDC_TILE5), &fifth, nullptr, nullptr);
    VGetChildRect(hDlg, GetDlgItem(hDlg, IDC_TILE25), &last, nullptr, nullptr);
    const int n = m_nTilesPerSide;
    const int width = (fifth.right - first.left) / n;
    const int height = (last.bottom - fifth.top) / n;
    const auto module = static_cast<HINSTANCE>(m_pCUIParam->hModule);
    int asked = 0;
    int y = first.top;
    for (int row = 0; row < n; ++row, y += height) {
        int x = first.left;
        for (int column = 0; column < n; ++column) {
            const int id = kFirstTileId + asked++;
            HWND tile = CreateWindowExW(0, L"BUTTON", L"Page", WS_CHILD | BS_OWNERDRAW, x, y, width, height,
                                        hDlg, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
            // A button that cannot be made leaves its place to the next one.
            if (!tile) continue;
            ShowWindow(tile, SW_SHOW);
            EnableWindow(tile, TRUE);
            m_hLastTile = tile;
            x += width;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The choices
// ---------------------------------------------------------------------------------------------
BOOL CZQTilingSelectionDlg::BOnCommand(HWND hDlg, int iCtrlId, HWND hCtrl, const Opening* pOpening) {
    ZQUIDevmode* work = pOpening->pLogic ? pOpening->pLogic->WorkDM() : nullptr;
    if (!work || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const int count = m_nTilesPerSide * m_nTilesPerSide;
    switch (iCtrlId) {
        case IDC_BTN_SELECTALL:
        case IDC_BTN_REMOVEALL:
            for (DWORD& tile : m_adwTiles) tile = iCtrlId == IDC_BTN_SELECTALL ? 1 : 0;
            InvalidateRect(hDlg, nullptr, FALSE);
            return TRUE;
        case IDOK: {
            // Changed against the settings the sheet was opened with, on the tiles the poster has.
            if (const ZQUIDevmode* sheet = zqdm::CurrentBlock(m_pCUIParam->pOEMDM))
                for (int k = 0; k < count; ++k)
                    if (m_adwTiles[k] != sheet->adwPosterTiles[k]) m_bChanged = TRUE;
            for (int k = 0; k < kTileCount; ++k) work->adwPosterTiles[k] = m_adwTiles[k];
            EndDialog(hDlg, IDOK);
            return TRUE;
        }
        case IDCANCEL: EndDialog(hDlg, IDCANCEL); return TRUE;
        default: {
            const int k = iCtrlId - kFirstTileId;
            if (hCtrl && k >= 0 && k < count) {
                m_adwTiles[k] = m_adwTiles[k] == 1 ? 0 : 1;
                InvalidateRect(hCtrl, nullptr, FALSE);
            }
            return TRUE;
        }
    }
}

void CZQTilingSelectionDlg::VShowSelectedCount() {
    const int count = m_nTilesPerSide * m_nTilesPerSide;
    int selected = 0;
    for (int k = 0; k < count; ++k)
        if (m_adwTiles[k] == 1) ++selected;
    WCHAR text[kResStringChars];
    TextWithNumber(*this, kIdsTilesSelected, L"Number of tiles selected: %d", selected, text, kResStringChars);
    if (m_hSelectedCount) SetWindowTextW(m_hSelectedCount, text);
}

// ---------------------------------------------------------------------------------------------
// Drawing a tile
// ---------------------------------------------------------------------------------------------
int CZQTilingSelectionDlg::ILabelHeight(int nTilesPerSide, PCWSTR pszFace) {
    // A long face name is a wide font: smaller labels on the small tiles.
    const bool wide = pszFace && wcslen(pszFace) >= 10 && nTilesPerSide >= 4;
    return -((wide ? 13 : 17) - nTilesPerSide);
}

void CZQTilingSelectionDlg::VDrawTile(const DRAWITEMSTRUCT* pDraw) {
    const int k = static_cast<int>(pDraw->CtlID) - kFirstTileId;
    if (k < 0 || k >= kTileCount) return;
    const HDC dc = pDraw->hDC;
    const RECT& item = pDraw->rcItem;
    const int width = item.right - item.left, height = item.bottom - item.top;
    const int n = m_nTilesPerSide;

    WCHAR label[kResStringChars];
    TextWithNumber(*this, kIdsTileLabel, L"Page %d", k + 1, label, kResStringChars);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    LOGFONTW face = {};
    face.lfWeight = FW_NORMAL;
    face.lfCharSet = DEFAULT_CHARSET;
    face.lfOutPrecision = OUT_TT_PRECIS;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        ZQCopyText(face.lfFaceName, LF_FACESIZE, metrics.lfMenuFont.lfFaceName);
    face.lfHeight = ILabelHeight(n, face.lfFaceName);
    CZQGdiObject font(CreateFontIndirectW(&face));
    CZQGdiObject dotted(CreatePen(PS_DOT, 0, RGB(0, 0, 0)));

    // The tile's frame: black for a printed tile, grey for one left out; a printed tile is filled.
    const bool printed = m_adwTiles[k] == 1;
    {
        CZQSelectObject brush(dc, GetStockObject(WHITE_BRUSH));
        CZQSelectObject pen(dc, GetStockObject(printed ? BLACK_PEN : DC_PEN));
        if (!printed) SetDCPenColor(dc, RGB(150, 150, 150));
        Rectangle(dc, item.left, item.top, item.right, item.bottom);
    }
    if (printed) {
        const int inset = 10 / n;
        CZQSelectObject brush(dc, GetStockObject(LTGRAY_BRUSH));
        CZQSelectObject pen(dc, GetStockObject(WHITE_PEN));
        Rectangle(dc, item.left + inset, item.top + inset, item.right - inset, item.bottom - inset);
    }
    if (pDraw->itemState & ODS_FOCUS) {
        CZQSelectObject brush(dc, GetStockObject(NULL_BRUSH));
        CZQSelectObject pen(dc, dotted.Get());
        Rectangle(dc, item.left + width / 25, item.top + height / 25, item.right - width / 25,
                  item.bottom - height / 25);
    }
    {
        CZQSelectObject selectFont(dc, font.Get());
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const int fontHeight = face.lfHeight < 0 ? -face.lfHeight : face.lfHeight;
        ExtTextOutW(dc, item.left + width / 2 - 23, item.top + height / 2 - fontHeight / 2, ETO_CLIPPED, &item, label,
                    static_cast<UINT>(wcslen(label)), nullptr);
        SetBkMode(dc, oldMode);
    }
    VShowSelectedCount();
}
