// The Advanced Color Settings dialog: its opening from the driver's rows and ranges and the working
// settings, the number boxes and sliders kept in step, the pictures, OK, Cancel and help.
#include "pages/color/zqadvcolordlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <cwchar>
#include <string>

#include "common/zqkeywords.h"
#include "common/zqstrings.h"
#include "featurelogic/zquilogic.h"
#include "formats/zquidevmode.h"
#include "pages/color/zqcolorkeywords.h"
#include "pages/dialogs/zqmodaldlg.h"
#include "pages/zqpagecontrols.h"
#include "pages/zqpageitems.h"
#include "res/zqadvcolorids.h"

using namespace zqpage;

namespace {

using Modal = CZQModalDialog<CZQAdvColorDlg>;
using Dlg = CZQAdvColorDlg;

constexpr WCHAR kSettingFeature[] = L"ZQAdvancedColorSetting";
constexpr int kBoxChars = 3;

// A row of the dialog: its controls, its help topic, the option that makes it exist, and for an ink
// its range's labels, its brightness feature, its swatch and the devmode value it shows.
struct Row {
    int position;
    int label, edit, slider, low, middle, high, swatch;
    DWORD help;
    PCWSTR option;
    PCWSTR brightness;
    WORD bitmap;
    int field;  // index into the working settings' seven values
};
constexpr Row kRows[] = {
    {Dlg::kBrightness, IDC_STA_BRIGHTNESS, IDC_EDIT_BRIGHTNESS, IDC_SLIDER_BRIGHTNESS, IDC_STA_DARKER, IDC_STA_ZERO,
     IDC_STA_LIGHTER, 0, 15272, L"Brightness", nullptr, 0, 0},
    {Dlg::kSaturation, IDC_STA_SATURATION, IDC_EDIT_SATURATION, IDC_SLIDER_SATURATION, IDC_STA_MUTED, IDC_STA_ZERO1,
     IDC_STA_VIBRANT, 0, 15271, L"Saturation", nullptr, 0, 1},
    {Dlg::kColorTone, IDC_STA_COLORTONE, IDC_EDIT_COLORTONE, IDC_SLIDER_COLORTONE, IDC_STA_COOLER, IDC_STA_ZERO2,
     IDC_STA_WARMER, 0, 15273, L"ColorTone", nullptr, 0, 2},
    {Dlg::kCyan, IDC_STA_CYAN, IDC_EDIT_CYAN, IDC_SLIDER_CYAN, IDC_STA_CYAN_MIN, IDC_STA_ZERO3, IDC_STA_CYAN_MAX,
     IDC_CYAN_BMP, 15447, L"CyanRange", L"ZQCyanBrightness", IDB_ADV_COLOR_CYAN, 3},
    {Dlg::kMagenta, IDC_STA_MAGENTA, IDC_EDIT_MAGENTA, IDC_SLIDER_MAGENTA, IDC_STA_MAGENTA_MIN, IDC_STA_ZERO4,
     IDC_STA_MAGENTA_MAX, IDC_MAGENTA_BMP, 15448, L"MagentaRange", L"ZQMagentaBrightness", IDB_ADV_COLOR_MAGENTA, 4},
    {Dlg::kYellow, IDC_STA_YELLOW, IDC_EDIT_YELLOW, IDC_SLIDER_YELLOW, IDC_STA_YELLOW_MIN, IDC_STA_ZERO5,
     IDC_STA_YELLOW_MAX, IDC_YELLOW_BMP, 15449, L"YellowRange", L"ZQYellowBrightness", IDB_ADV_COLOR_YELLOW, 5},
    {Dlg::kBlack, IDC_STA_BLACK, IDC_EDIT_BLACK, IDC_SLIDER_BLACK, IDC_STA_BLACK_MIN, IDC_STA_ZERO6, IDC_STA_BLACK_MAX,
     IDC_BLACK_BMP, 15446, L"BlackRange", L"ZQBlackBrightness", IDB_ADV_COLOR_BLACK, 6},
};
constexpr int kInkRowsFrom = 3;

const Row* RowAt(int iPosition) {
    for (const Row& row : kRows)
        if (row.position == iPosition) return &row;
    return nullptr;
}

const CZQPageControls::TextRow kTexts[] = {
    {IDC_STA_BRIGHTNESS, 4406, L"&Brightness:"}, {IDC_STA_SATURATION, 4407, L"&Saturation:"},
    {IDC_STA_COLORTONE, 4408, L"Color &Tone:"},  {IDC_STA_CYAN, 4305, L"Cy&an:"},
    {IDC_STA_MAGENTA, 4306, L"&Magenta:"},       {IDC_STA_YELLOW, 4307, L"&Yellow:"},
    {IDC_STA_BLACK, 4308, L"Blac&k:"},           {IDC_STA_DARKER, 1049, L"Darker"},
    {IDC_STA_LIGHTER, 1052, L"Lighter"},         {IDC_STA_MUTED, 1059, L"Muted"},
    {IDC_STA_VIBRANT, 1061, L"Vibrant"},         {IDC_STA_COOLER, 1054, L"Cooler"},
    {IDC_STA_WARMER, 1057, L"Warmer"},           {IDC_GB_PREVIEW, 4304, L"Preview"},
    {IDOK, 849, L"&OK"},                         {IDCANCEL, 850, L"&Cancel"},
    {IDC_STA_BEFOREIMAGE, 4821, L"Before:"},     {IDC_STA_AFTERIMAGE, 4822, L"After:"},
};

std::wstring WindowText(HWND hWnd) {
    WCHAR text[16] = {};
    if (hWnd) GetWindowTextW(hWnd, text, 16);
    return text;
}

// Every character a digit, except that the first may be "-".
bool DigitsOnly(const std::wstring& text) {
    for (size_t i = 0; i < text.size(); ++i)
        if (!(iswdigit(text[i]) || (i == 0 && text[i] == L'-'))) return false;
    return true;
}

// The next piece of a range's name between "_" (runs of "_" count as one); null after the last.
const WCHAR* NextRangePart(WCHAR** ppszRest) {
    WCHAR* part = *ppszRest;
    while (*part == L'_') ++part;
    if (!*part) return nullptr;
    WCHAR* end = part;
    while (*end && *end != L'_') ++end;
    *ppszRest = *end ? end + 1 : end;
    *end = 0;
    return part;
}

int WholePart(const std::wstring& text) {
    const double value = std::wcstod(text.c_str(), nullptr);
    return static_cast<int>(std::clamp(value, -1e6, 1e6));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The picture
// ---------------------------------------------------------------------------------------------
bool CZQAdjustedPicture::BReadable(const BYTE* pDib, size_t cbDib, size_t* pcbHeader) {
    if (!pDib || cbDib < sizeof(BITMAPINFOHEADER)) return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, pDib, sizeof header);
    if (header.biSize < sizeof header || header.biCompression != BI_RGB || header.biWidth <= 0 ||
        header.biHeight == 0 || header.biWidth > 4096 || header.biHeight > 4096 || header.biHeight < -4096)
        return false;
    const int bits = header.biBitCount;
    if (bits != 24 && bits != 1 && bits != 4 && bits != 8) return false;
    size_t colors = 0;
    if (bits <= 8) colors = header.biClrUsed ? std::min<size_t>(header.biClrUsed, size_t{1} << bits) : size_t{1} << bits;
    const size_t stride = (static_cast<size_t>(header.biWidth) * bits + 31) / 32 * 4;
    const size_t rows = static_cast<size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    *pcbHeader = header.biSize + colors * sizeof(RGBQUAD);
    return cbDib >= *pcbHeader + stride * rows;
}

bool CZQAdjustedPicture::BLoadPacked(const BYTE* pDib, size_t cbDib) {
    m_original.clear();
    m_adjusted.clear();
    size_t header = 0;
    if (!BReadable(pDib, cbDib, &header)) return false;
    try {
        m_original.assign(pDib, pDib + cbDib);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_cbHeader = header;
    return true;
}

bool CZQAdjustedPicture::BLoad(HMODULE hModule, WORD wBitmap) {
    HRSRC found = hModule ? FindResourceW(hModule, MAKEINTRESOURCEW(wBitmap), MAKEINTRESOURCEW(2) /* RT_BITMAP */) : nullptr;
    HGLOBAL loaded = found ? LoadResource(hModule, found) : nullptr;
    const auto* dib = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!dib) {
        m_original.clear();
        m_adjusted.clear();
        return false;
    }
    return BLoadPacked(dib, SizeofResource(hModule, found));
}

SIZE CZQAdjustedPicture::Size() const {
    if (m_original.empty()) return SIZE{0, 0};
    BITMAPINFOHEADER header;
    std::memcpy(&header, m_original.data(), sizeof header);
    return SIZE{header.biWidth, header.biHeight < 0 ? -header.biHeight : header.biHeight};
}

void CZQAdjustedPicture::VAdjust(const CZQColorAdjust& adjust) {
    if (m_original.empty()) return;
    try {
        m_adjusted = m_original;
    } catch (const std::bad_alloc&) {
        m_adjusted.clear();
        return;
    }
    BITMAPINFOHEADER header;
    std::memcpy(&header, m_adjusted.data(), sizeof header);
    BYTE* data = m_adjusted.data();
    if (header.biBitCount <= 8) {
        for (BYTE* entry = data + header.biSize; entry < data + m_cbHeader; entry += sizeof(RGBQUAD))
            adjust.BApply(&entry[2], &entry[1], &entry[0]);
        return;
    }
    const size_t stride = (static_cast<size_t>(header.biWidth) * 24 + 31) / 32 * 4;
    const int rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    for (int y = 0; y < rows; ++y) {
        BYTE* pixel = data + m_cbHeader + stride * static_cast<size_t>(y);
        for (int x = 0; x < header.biWidth; ++x, pixel += 3) adjust.BApply(&pixel[2], &pixel[1], &pixel[0]);
    }
}

void CZQAdjustedPicture::VDraw(HDC hdc, const RECT& rc, bool bMirror, bool bAdjusted) const {
    const std::vector<BYTE>& dib = bAdjusted ? m_adjusted : m_original;
    if (!hdc || dib.empty()) return;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
    const SIZE size = Size();
    const int x = (rc.left + rc.right) / 2 - size.cx / 2;
    const int y = (rc.top + rc.bottom) / 2 - size.cy / 2;
    // A palette picture brings its adjusted colours as the palette while it is drawn.
    CZQGdiObject palette;
    HPALETTE previous = nullptr;
    const int colors = static_cast<int>((m_cbHeader - info->bmiHeader.biSize) / sizeof(RGBQUAD));
    if (colors > 0) {
        std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(colors));
        auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
        logical->palVersion = 0x300;
        logical->palNumEntries = static_cast<WORD>(colors);
        const auto* table = reinterpret_cast<const RGBQUAD*>(dib.data() + info->bmiHeader.biSize);
        for (int i = 0; i < colors; ++i)
            logical->palPalEntry[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
        palette.Reset(CreatePalette(logical));
        if (palette) {
            previous = SelectPalette(hdc, static_cast<HPALETTE>(palette.Get()), FALSE);
            RealizePalette(hdc);
        }
    }
    StretchDIBits(hdc, bMirror ? x + size.cx - 1 : x, y, bMirror ? -size.cx : size.cx, size.cy, 0, 0, size.cx, size.cy,
                  dib.data() + m_cbHeader, info, DIB_RGB_COLORS, SRCCOPY);
    if (previous) SelectPalette(hdc, previous, FALSE);
}

COLORREF CZQAdjustedPicture::Pixel(const std::vector<BYTE>& dib, int x, int y) const {
    if (dib.empty()) return CLR_INVALID;
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib.data(), sizeof header);
    const int rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    if (x < 0 || y < 0 || x >= header.biWidth || y >= rows) return CLR_INVALID;
    const size_t stride = (static_cast<size_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const int row = header.biHeight < 0 ? y : rows - 1 - y;
    const BYTE* line = dib.data() + m_cbHeader + stride * static_cast<size_t>(row);
    if (header.biBitCount == 24) return RGB(line[x * 3 + 2], line[x * 3 + 1], line[x * 3]);
    const int bits = header.biBitCount;
    const int shift = 8 - bits - (x * bits) % 8;
    const int index = (line[x * bits / 8] >> shift) & ((1 << bits) - 1);
    const auto* table = reinterpret_cast<const RGBQUAD*>(dib.data() + header.biSize);
    return RGB(table[index].rgbRed, table[index].rgbGreen, table[index].rgbBlue);
}

COLORREF CZQAdjustedPicture::AdjustedPixelForTesting(int x, int y) const { return Pixel(m_adjusted, x, y); }
COLORREF CZQAdjustedPicture::OriginalPixelForTesting(int x, int y) const { return Pixel(m_original, x, y); }

// ---------------------------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------------------------
void CZQAdvColorDlg::VBindToPage(POEMCUIPPARAM pParam, HMODULE hResModule, PVOID pHeapBlock) {
    m_pCUIParam = pParam;
    VSetResourceModule(hResModule);
    // The page's small block: the dialog keeps no data of its own there.
    m_pHeapBlock = pHeapBlock;
}

INT_PTR CZQAdvColorDlg::IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft) {
    if (!m_pCUIParam || !WorkOf(pContext)) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    m_bRtl = bRightToLeft;
    const INT_PTR result = Modal::IRun(this, static_cast<HINSTANCE>(m_pCUIParam->hModule),
                                       bRightToLeft ? IDD_DLG_ADV_COLORSETTING_RTL : IDD_DLG_ADV_COLORSETTING, hOwner,
                                       &AdvColorDlgProc, reinterpret_cast<LPARAM>(pContext));
    m_hDlg = nullptr;
    for (Slider& slider : m_aSliders) slider.hTrackbar = nullptr;
    return result;
}

BOOL CZQAdvColorDlg::BInitDialog(HWND hDlg, PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    if (!work || !m_pCUIParam) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    m_hDlg = hDlg;
    m_bCompact = TRUE;
    m_rects.clear();
    NumbersLeftToRight(hDlg, {IDC_EDIT_BRIGHTNESS, IDC_EDIT_SATURATION, IDC_EDIT_COLORTONE, IDC_EDIT_CYAN, IDC_EDIT_MAGENTA,
                              IDC_EDIT_YELLOW, IDC_EDIT_BLACK});
    VSetTexts(pContext);
    // The picture's three rows run from -50 to 50; the inks as the driver gives them.
    for (const Row& row : kRows) {
        Slider& slider = m_aSliders[row.position];
        slider = Slider{nullptr, row.slider, kDefaultInkMin, kDefaultInkMax, 0, row.edit};
    }
    VReadInkRanges();
    for (const Row& row : kRows) {
        Slider& slider = m_aSliders[row.position];
        slider.iValue = work->aiColorAdjust[row.field];
        SendMessageW(Item(row.edit), EM_LIMITTEXT, kBoxChars, 0);
        VSetEditNumber(row.position, static_cast<int>(work->aiColorAdjust[row.field]));
    }
    // Where every control stands before the rows are made and moved.
    for (HWND child = GetWindow(hDlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rc;
        GetWindowRect(child, &rc);
        MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
        m_rects.push_back(ControlRect{GetDlgCtrlID(child), rc});
    }
    VShowRows();
    if (m_bCompact) VLayoutCompact();
    m_picture.BLoad(static_cast<HMODULE>(m_pCUIParam->hModule), IDB_ADV_COLOR_SAMPLE);
    VRefreshPicture();
    SetWindowLongPtrW(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(pContext));
    return TRUE;
}

void CZQAdvColorDlg::VSetTexts(PageContext* pContext) {
    const ZQUIDevmode* work = WorkOf(pContext);
    const bool simpler = Readable(m_pCUIParam, zqkw::kZQSimplifiedUI) && work && work->dwPdl == 4;
    for (HWND target : {m_hDlg, Item(IDC_GB_ADV_COLORSETTING)}) {
        if (simpler) BSetWindowTextRes(5332, target, L"More color options");
        else BSetWindowTextRes(4303, target, L"Advanced Color Settings");
    }
    for (const CZQPageControls::TextRow& row : kTexts)
        if (HWND target = Item(row.iCtrlId)) BSetWindowTextRes(row.iTextId, target, row.pszEnglish);
    for (const Row& row : kRows)
        if (HWND middle = Item(row.middle)) SetWindowTextW(middle, L"0");
}

// Each ink's option names its range as "min_max". An ink whose option has no name ends the
// reading; a name without both numbers leaves that ink at the default range.
void CZQAdvColorDlg::VReadInkRanges() {
    for (int i = kInkRowsFrom; i < static_cast<int>(sizeof kRows / sizeof kRows[0]); ++i) {
        const Row& row = kRows[i];
        CZQLocalPtr<WCHAR> name;
        if (CZQCommon::DWOptionKeywordToName(m_pCUIParam, kSettingFeature, row.option, name.Put()) != ZQOPT_OK ||
            !name || !name.Get()[0])
            break;
        WCHAR text[256];
        ZQCopyText(text, 256, name.Get());
        WCHAR* rest = text;
        const WCHAR* low = NextRangePart(&rest);
        const WCHAR* high = low ? NextRangePart(&rest) : nullptr;
        if (!low || !high) continue;
        const int lowValue = WholePart(low);
        const int highValue = WholePart(high);
        if (lowValue > highValue) continue;
        Slider& slider = m_aSliders[row.position];
        slider.iMin = lowValue;
        slider.iMax = highValue;
        slider.iValue = 0;
        if (HWND label = Item(row.low)) SetWindowTextW(label, low);
        if (HWND label = Item(row.high)) SetWindowTextW(label, high);
    }
    // An ink left at the default range shows it.
    for (int i = kInkRowsFrom; i < static_cast<int>(sizeof kRows / sizeof kRows[0]); ++i) {
        const Row& row = kRows[i];
        if (WindowText(Item(row.low)).empty()) {
            WCHAR number[16];
            std::swprintf(number, 16, L"%d", m_aSliders[row.position].iMin);
            SetWindowTextW(Item(row.low), number);
            std::swprintf(number, 16, L"%d", m_aSliders[row.position].iMax);
            SetWindowTextW(Item(row.high), number);
        }
    }
}

void CZQAdvColorDlg::VShowRows() {
    ZQColorKeywords options(m_pCUIParam, kSettingFeature);
    if (!options.Readable()) return;
    for (const Row& row : kRows) {
        bool present = false;
        for (int i = 0; i < options.count && !present; ++i) present = options.list[i] && wcscmp(options.list[i], row.option) == 0;
        for (int id : {row.label, row.edit, row.low, row.middle, row.high, row.swatch}) {
            HWND control = id ? Item(id) : nullptr;
            if (!control) continue;
            EnableWindow(control, present);
            ShowWindow(control, present ? SW_SHOW : SW_HIDE);
        }
        if (!present) continue;
        VCreateTrackbar(row.position);
        if (row.position <= kColorTone) m_bCompact = FALSE;
    }
}

// The slider takes its placeholder's place and id, and follows its number box in the tab order.
void CZQAdvColorDlg::VCreateTrackbar(int iPosition) {
    Slider& slider = m_aSliders[iPosition];
    HWND placeholder = Item(slider.iPlaceholderId);
    if (!placeholder || slider.hTrackbar) return;
    ZQTrackbarLayout layout = {placeholder, nullptr, slider.iPlaceholderId, slider.iMin, slider.iMax, slider.iValue,
                               0, Item(slider.iEditId)};
    // A wide range gets a tick every 10; a narrow one its every step.
    layout.iTickFreq = slider.iMax - slider.iMin >= 100 ? 10 : 1;
    if (!CZQCommon::BCreateTrackbar(m_hDlg, static_cast<HINSTANCE>(m_pCUIParam->hModule), &layout)) return;
    DestroyWindow(placeholder);
    slider.hTrackbar = layout.hTrackbar;
    slider.iValue = static_cast<int>(SendMessageW(slider.hTrackbar, TBM_GETPOS, 0, 0));
}

// Only the ink rows: they move up into the group's first rows, and what lies below closes up.
void CZQAdvColorDlg::VLayoutCompact() {
    auto recorded = [&](int id) -> const RECT* {
        for (const ControlRect& r : m_rects)
            if (r.id == id) return &r.rc;
        return nullptr;
    };
    const RECT* first = recorded(kRows[0].label);
    const RECT* ink = recorded(kRows[kInkRowsFrom].label);
    if (!first || !ink) return;
    const int rise = ink->top - first->top;
    auto move = [&](HWND control, const RECT& rc) {
        if (control)
            SetWindowPos(control, nullptr, rc.left, rc.top - rise, rc.right - rc.left, rc.bottom - rc.top,
                         SWP_NOZORDER | SWP_NOCOPYBITS | SWP_NOACTIVATE);
    };
    for (int i = kInkRowsFrom; i < static_cast<int>(sizeof kRows / sizeof kRows[0]); ++i) {
        const Row& row = kRows[i];
        for (int id : {row.label, row.edit, row.low, row.middle, row.high, row.swatch, row.slider})
            if (const RECT* rc = recorded(id)) move(id == row.slider ? m_aSliders[row.position].hTrackbar : Item(id), *rc);
    }
    if (const RECT* group = recorded(IDC_GB_ADV_COLORSETTING)) {
        RECT rc = *group;
        rc.top += rise;  // the group keeps its top and loses the three rows' height
        move(Item(IDC_GB_ADV_COLORSETTING), rc);
    }
    for (int id : {IDC_GB_PREVIEW, IDC_STA_BEFOREIMAGE, IDC_PREVIEW_BEFORE, IDC_STA_AFTERIMAGE, IDC_PREVIEW, IDOK, IDCANCEL})
        if (const RECT* rc = recorded(id)) move(Item(id), *rc);
    RECT window;
    GetWindowRect(m_hDlg, &window);
    SetWindowPos(m_hDlg, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - rise,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOCOPYBITS | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------------------------------------
// Number boxes and sliders
// ---------------------------------------------------------------------------------------------
int CZQAdvColorDlg::IPositionOfEdit(int iEditId) const {
    for (const Row& row : kRows)
        if (row.edit == iEditId) return row.position;
    return -1;
}

void CZQAdvColorDlg::VSetEditNumber(int iPosition, int iValue) {
    const Row* row = RowAt(iPosition);
    WCHAR number[16];
    std::swprintf(number, 16, L"%d", iValue);
    if (row) SetDlgItemTextW(m_hDlg, row->edit, number);
}

// What is typed goes to the slider, which keeps it in range: the slider's position is the value.
void CZQAdvColorDlg::VOnEditChange(int iPosition) {
    Slider& slider = m_aSliders[iPosition];
    HWND box = Item(slider.iEditId);
    const std::wstring text = WindowText(box);
    if (!text.empty() && !DigitsOnly(text)) {
        VSetEditNumber(iPosition, WholePart(text));
        SendMessageW(box, EM_SETSEL, kBoxChars, kBoxChars);
    }
    if (!slider.hTrackbar) return;
    SendMessageW(slider.hTrackbar, TBM_SETPOS, TRUE, WholePart(WindowText(box)));
    slider.iValue = static_cast<int>(SendMessageW(slider.hTrackbar, TBM_GETPOS, 0, 0));
    VRefreshPicture();
}

// A box left empty shows 0; any other text shows a value within the slider's range.
void CZQAdvColorDlg::VOnEditLeft(int iPosition) {
    const Slider& slider = m_aSliders[iPosition];
    const std::wstring text = WindowText(Item(slider.iEditId));
    if (text.empty()) {
        VSetEditNumber(iPosition, 0);
        return;
    }
    const int value = text == L"-" ? 0 : WholePart(text);
    const int kept = std::clamp(value, slider.iMin, slider.iMax);
    if (kept != value || text == L"-") VSetEditNumber(iPosition, kept);
}

void CZQAdvColorDlg::VOnScroll(HWND hTrackbar) {
    for (int i = 0; i < kSliders; ++i) {
        Slider& slider = m_aSliders[i];
        if (!hTrackbar || slider.hTrackbar != hTrackbar) continue;
        slider.iValue = static_cast<int>(SendMessageW(hTrackbar, TBM_GETPOS, 0, 0));
        VSetEditNumber(i, slider.iValue);
        VRefreshPicture();
        return;
    }
}

void CZQAdvColorDlg::VRefreshPicture() {
    const Slider* s = m_aSliders;
    m_adjust.BSetAdjustments(s[kSaturation].iValue, s[kBrightness].iValue, s[kColorTone].iValue, s[kBlack].iValue,
                             s[kCyan].iValue, s[kMagenta].iValue, s[kYellow].iValue);
    m_picture.VAdjust(m_adjust);
    // The dialog paints the picture over its frame: its area is painted again, the frame too.
    HWND preview = Item(IDC_PREVIEW);
    if (!preview) return;
    RECT rc;
    GetWindowRect(preview, &rc);
    MapWindowPoints(nullptr, m_hDlg, reinterpret_cast<POINT*>(&rc), 2);
    InvalidateRect(m_hDlg, &rc, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Painting, OK, help
// ---------------------------------------------------------------------------------------------
void CZQAdvColorDlg::VPaint() {
    PAINTSTRUCT dialogPaint;
    BeginPaint(m_hDlg, &dialogPaint);
    EndPaint(m_hDlg, &dialogPaint);
    const auto module = static_cast<HINSTANCE>(m_pCUIParam->hModule);
    for (const Row& row : kRows)
        if (row.swatch) VPaintItemBitmap(m_hDlg, 0, m_bRtl, row.bitmap, row.swatch, module);
    // Both pictures at their own size: before as it is, after through the adjustment.
    for (const bool adjusted : {false, true}) {
        HWND picture = Item(adjusted ? IDC_PREVIEW : IDC_PREVIEW_BEFORE);
        if (!picture) continue;
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(picture, &ps);
        if (!hdc) continue;
        RECT rc;
        GetClientRect(picture, &rc);
        m_picture.VDraw(hdc, rc, m_bRtl != FALSE, adjusted);
        EndPaint(picture, &ps);
    }
}

void CZQAdvColorDlg::VSave(PageContext* pContext) {
    ZQUIDevmode* work = WorkOf(pContext);
    if (!work) return;
    for (const Row& row : kRows) {
        const int value = m_aSliders[row.position].iValue;
        work->aiColorAdjust[row.field] = value;
        if (!row.brightness) continue;
        WCHAR keyword[16];
        std::swprintf(keyword, 16, L"%d", value);
        CZQCommon::DWSelectOptionByKeyword(m_pCUIParam, row.brightness, keyword, OEMCUIP_DOCPROP);
    }
}

void CZQAdvColorDlg::VOnHelp(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    DWORD table[2 * kHelpPairs] = {};
    int n = 0;
    auto add = [&](int id, DWORD help) {
        if (n + 2 >= 2 * kHelpPairs) return;  // the closing pair keeps its place
        table[n++] = static_cast<DWORD>(id);
        table[n++] = help;
    };
    for (const Row& row : kRows)
        for (int id : {row.label, row.edit, row.slider, row.low, row.middle, row.high, row.swatch})
            if (id) add(id, row.help);
    const DWORD none = static_cast<DWORD>(-1);
    add(IDC_GB_ADV_COLORSETTING, none);
    add(IDC_PREVIEW_BEFORE, none);
    add(IDC_STA_BEFOREIMAGE, none);
    for (int id : {IDC_PREVIEW, IDC_GB_PREVIEW, IDC_STA_AFTERIMAGE}) add(id, 15450);
    add(IDD_DLG_ADV_COLORSETTING, none);
    ZQShowDialogHelp(uMsg, wParam, lParam, m_pCUIParam, table);
}

INT_PTR CALLBACK CZQAdvColorDlg::AdvColorDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_INITDIALOG) {
        // The dialog leaves the keyboard focus where the system puts none: FALSE whether it started or not.
        Modal::IStart(hDlg, [&](CZQAdvColorDlg& d) { return d.BInitDialog(hDlg, reinterpret_cast<PageContext*>(lParam)); });
        return FALSE;
    }
    switch (uMsg) {
        case WM_COMMAND:
        case WM_HELP:
        case WM_CONTEXTMENU:
        case WM_CLOSE:
        case WM_PAINT:
        case WM_HSCROLL: break;
        default: return FALSE;
    }
    PageContext* context = nullptr;
    CZQAdvColorDlg* dialog = Modal::Bound(hDlg, uMsg, false, &context);
    // Without its page, its items or its settings the dialog does nothing; once it ends, nothing it
    // still hears touches the settings.
    if (!dialog || !dialog->m_hDlg) return FALSE;
    auto end = [&](INT_PTR result) {
        dialog->m_hDlg = nullptr;
        EndDialog(hDlg, result);
        return TRUE;
    };
    if (!dialog->m_pCUIParam || !WorkOf(context) || !CoreOf(dialog->m_pCUIParam)) {
        if (uMsg == WM_PAINT || uMsg == WM_HSCROLL) return FALSE;
        SetLastError(ERROR_INVALID_DATA);
        // Cancel and closing store nothing: the dialog can always be left.
        if (uMsg == WM_CLOSE || (uMsg == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) return end(IDCANCEL);
        return FALSE;
    }
    switch (uMsg) {
        case WM_PAINT: dialog->VPaint(); return FALSE;
        case WM_HSCROLL: dialog->VOnScroll(reinterpret_cast<HWND>(lParam)); return FALSE;
        case WM_HELP:
        case WM_CONTEXTMENU: dialog->VOnHelp(uMsg, wParam, lParam); return TRUE;
        // Closing the window stores nothing, yet ends as OK does: the page looks at its colour space
        // and its changes again.
        case WM_CLOSE: return end(IDOK);
        default: break;
    }
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDOK && code == BN_CLICKED) {
        dialog->VSave(context);
        return end(IDOK);
    }
    if (id == IDCANCEL && code == BN_CLICKED) return end(IDCANCEL);
    const int position = dialog->IPositionOfEdit(id);
    if (position < 0) return FALSE;
    if (code == EN_CHANGE) dialog->VOnEditChange(position);
    else if (code == EN_KILLFOCUS) dialog->VOnEditLeft(position);
    return FALSE;
}
