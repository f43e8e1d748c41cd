// The preview outside a property sheet: records from fields, and the page-sized host window.
#include "zqhostpreview.h"

#include <cstdio>

#include <cerrno>
#include <climits>
#include <cwchar>
#include <sstream>

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "zqhostapp.h"
#include "zqpreviewcmd.h"

namespace {

// Fields of the record by name. Watermark and header fields are handled by kind.
enum class Where { Value, Extra, Header };
struct Field {
    const wchar_t* name;
    Where where;
    int index;
};

enum HeaderField { kOrientation, kDuplex, kPagesPerSheet, kBorders, kOrder, kThriftmode, kBooklet, kShade, kColor,
                   kStyle, kSize, kAngle };

const Field kFields[] = {
    {L"orientation", Where::Header, kOrientation}, {L"duplex", Where::Header, kDuplex},
    {L"nup", Where::Header, kPagesPerSheet},       {L"borders", Where::Header, kBorders},
    {L"order", Where::Header, kOrder},             {L"thriftmode", Where::Header, kThriftmode},
    {L"booklet", Where::Header, kBooklet},         {L"shade", Where::Header, kShade},
    {L"color", Where::Header, kColor},             {L"style", Where::Header, kStyle},
    {L"size", Where::Header, kSize},               {L"angle", Where::Header, kAngle},
    {L"scale", Where::Value, kPvScale},            {L"staple", Where::Value, kPvStaple},
    {L"punch", Where::Value, kPvPunch},            {L"fold", Where::Value, kPvFold},
    {L"punchunit", Where::Value, kPvPunchUnit},    {L"frontfeeder", Where::Value, kPvFrontCoverFeeder},
    {L"front", Where::Value, kPvFrontCover},       {L"back", Where::Value, kPvBackCover},
    {L"backfeeder", Where::Value, kPvBackCoverFeeder}, {L"finisher", Where::Value, kPvFinisherKind},
    {L"rotated", Where::Value, kPvRotated},        {L"transverse", Where::Value, kPvTransverse},
    {L"mirror", Where::Value, kPvMirror},          {L"letter", Where::Value, kPvLetterOrA4},
    {L"firstpage", Where::Value, kPvWatermarkFirstPage}, {L"grey", Where::Value, kPvGrayscale},
    {L"kind", Where::Value, kPvKind},              {L"coloroutput", Where::Value, kPvColorOutput},
    {L"nowatermark", Where::Value, kPvNoWatermark}, {L"flipup", Where::Value, kPvFlipUp},
    {L"fit", Where::Value, kPvFitToPage},          {L"fitscaled", Where::Value, kPvFitScaled},
    {L"docwidth", Where::Value, kPvDocWidth},      {L"docheight", Where::Value, kPvDocHeight},
    {L"sheetwidth", Where::Value, kPvSheetWidth},  {L"sheetheight", Where::Value, kPvSheetHeight},
    {L"poster", Where::Value, kPvPoster},          {L"envelope", Where::Value, kPvEnvelope},
    {L"postersize", Where::Value, kPvPosterSize},  {L"banner", Where::Value, kPvBanner},
    {L"noinset", Where::Value, kPvNoInset},        {L"tilesperside", Where::Extra, kPxTilesPerSide},
    {L"tint", Where::Extra, kPxTint},              {L"centre", Where::Extra, kPxCenterOnPage},
    {L"contentorientation", Where::Extra, kPxContentOrientation},
    {L"largeformat", Where::Extra, kPxLargeFormat}, {L"language", Where::Extra, kPxPageLanguage},
    {L"roll", Where::Extra, kPxRollPaper},         {L"saveroll", Where::Extra, kPxSaveRollPaper},
    {L"cutter", Where::Extra, kPxAutoCutter},      {L"autorotate", Where::Extra, kPxAutoRotate},
    {L"unscaled", Where::Extra, kPxInchesUnscaled}, {L"margins", Where::Extra, kPxWithMargins},
    {L"marginlayout", Where::Extra, kPxMarginLayout},
};

bool ParseInt(const std::wstring& text, int* pValue) {
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    errno = 0;
    const long value = wcstol(text.c_str(), &end, 10);
    if (errno || *end || value < INT_MIN || value > INT_MAX) return false;
    *pValue = static_cast<int>(value);
    return true;
}

int* HeaderSlot(PreviewSettings* r, int field) {
    ZQPreviewWatermark& wm = r->watermark;
    int* const slots[] = {nullptr,         nullptr,      &r->iPagesPerSheet, &r->iPageBorders, &r->iPageOrder,
                          &r->iThriftmode, &r->iBooklet, &wm.iShade,         &wm.iColor,       &wm.iStyle,
                          &wm.iSize,       &wm.iAngle};
    return slots[field];
}

bool SetField(PreviewSettings* r, const std::wstring& name, const std::wstring& text) {
    if (name == L"text") {
        ZQCopyText(r->watermark.szText, _countof(r->watermark.szText), text.c_str());
        r->watermark.iTextLength = static_cast<int>(wcslen(r->watermark.szText));
        return true;
    }
    if (name == L"font") return SUCCEEDED(ZQCopyText(r->watermark.szFont, _countof(r->watermark.szFont), text.c_str()));
    if (name == L"tiles") {
        if (text.size() != kPreviewPosterTiles) return false;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != L'0' && text[i] != L'1') return false;
            r->aiPosterTile[i] = text[i] - L'0';
        }
        return true;
    }
    int value = 0;
    if (!ParseInt(text, &value)) return false;
    for (const Field& f : kFields) {
        if (name != f.name) continue;
        if (f.where == Where::Value) r->aiValue[f.index] = value;
        else if (f.where == Where::Extra) r->aiExtra[f.index] = value;
        else if (f.index == kOrientation) r->wOrientation = static_cast<WORD>(value);
        else if (f.index == kDuplex) r->wDuplex = static_cast<WORD>(value);
        else *HeaderSlot(r, f.index) = value;
        return true;
    }
    return false;
}

const wchar_t kPageClass[] = L"ZQPreviewHostPage";
const wchar_t kControlClass[] = L"ZQPreviewHostControl";
// The page paints its preview when one of its controls asks.
constexpr UINT kPaintPreview = WM_APP + 1;

}  // namespace

PreviewSettings ZQDefaultPreviewRecord() {
    PreviewSettings r = {};
    r.wOrientation = 1;
    r.wDuplex = 1;
    r.iPagesPerSheet = 1;
    r.iThriftmode = 2;
    ZQCopyText(r.watermark.szText, _countof(r.watermark.szText), L"Confidential");
    ZQCopyText(r.watermark.szFont, _countof(r.watermark.szFont), L"Arial");
    r.watermark.iTextLength = static_cast<int>(wcslen(r.watermark.szText));
    r.watermark.iSize = 100;
    r.watermark.iAngle = 52;
    r.aiValue[kPvScale] = 100;
    r.aiValue[kPvPunchUnit] = -1;
    r.aiValue[kPvLetterOrA4] = 1;
    r.aiValue[kPvKind] = 3;
    r.aiValue[kPvColorOutput] = 1;
    for (int& tile : r.aiPosterTile) tile = 1;
    r.aiExtra[kPxMarginLayout] = 3;
    return r;
}

bool ZQParsePreviewFields(const std::vector<std::wstring>& fields, PreviewSettings* pRecord, std::wstring* pBad) {
    for (const std::wstring& field : fields) {
        const size_t eq = field.find(L'=');
        if (eq == std::wstring::npos || !SetField(pRecord, field.substr(0, eq), field.substr(eq + 1))) {
            if (pBad) *pBad = field;
            return false;
        }
    }
    return true;
}

bool ZQParsePreviewFields(const std::wstring& fields, PreviewSettings* pRecord, std::wstring* pBad) {
    std::wistringstream in(fields);
    std::vector<std::wstring> list;
    for (std::wstring field; in >> field;) list.push_back(field);
    return ZQParsePreviewFields(list, pRecord, pBad);
}

std::wstring ZQPreviewFieldNames() {
    std::wstring names = L"text font tiles";
    for (const Field& f : kFields) names += std::wstring(L" ") + f.name;
    return names;
}

COLORREF ZQPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    const DWORD p = rgb[static_cast<size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// ---------------------------------------------------------------------------------------------
// The host window
// ---------------------------------------------------------------------------------------------
CZQPreviewHost::CZQPreviewHost(CZQRollPreview* pPreview) : m_pPreview(pPreview) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW page = {};
    page.lpfnWndProc = PageProc;
    page.hInstance = instance;
    page.hbrBackground = GetSysColorBrush(COLOR_3DFACE);
    page.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    page.lpszClassName = kPageClass;
    RegisterClassW(&page);
    // Own DCs: what a paint leaves in the control's DC stays there to be seen.
    WNDCLASSW control = {};
    control.style = CS_OWNDC;
    control.lpfnWndProc = ControlProc;
    control.hInstance = instance;
    control.hCursor = LoadCursorW(nullptr, IDC_HAND);
    control.lpszClassName = kControlClass;
    RegisterClassW(&control);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame = {0, 0, kPageWidth, kPageHeight};
    AdjustWindowRect(&frame, style, FALSE);
    m_hPage = CreateWindowExW(0, kPageClass, L"Preview", style, 40, 40, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (!m_hPage) return;
    const RECT& r = kControlRect;
    for (int id : {kPortraitId, kLandscapeId})
        CreateWindowExW(0, kControlClass, L"", WS_CHILD | WS_TABSTOP, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, m_hPage, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                        nullptr);
    ShowWindow(m_hPage, SW_SHOWNOACTIVATE);
}

CZQPreviewHost::~CZQPreviewHost() {
    if (m_hPage) DestroyWindow(m_hPage);
}

HWND CZQPreviewHost::Shown() const {
    const HWND portrait = Portrait();
    return IsWindowVisible(portrait) ? portrait : Landscape();
}

void CZQPreviewHost::VShow(const PreviewSettings& record) {
    m_record = record;
    ZQSetPreviewWindow(&m_record, kPvPortraitWindow, Portrait());
    ZQSetPreviewWindow(&m_record, kPvLandscapeWindow, Landscape());
    m_bHaveRecord = true;
    RedrawWindow(m_hPage, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CZQPreviewHost::VPaintPreview() {
    if (!m_bHaveRecord || !m_pPreview) return;
    ++m_paints;
    m_pPreview->VSetSettings(&m_record);
    m_pPreview->VPaint();
}

ZQPixels CZQPreviewHost::Read(HWND hControl) {
    RECT r;
    if (!hControl || !GetClientRect(hControl, &r)) return {};
    const CZQWindowDC window(hControl);
    return Read(window.Get(), r);
}

ZQPixels CZQPreviewHost::Read(HDC hdc, const RECT& area) {
    ZQPixels pixels;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (!hdc || width <= 0 || height <= 0) return pixels;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const CZQGdiObject dib(CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const CZQMemDC memory(CreateCompatibleDC(hdc));
    if (!dib || !memory || !bits) return pixels;
    {
        CZQSelectObject select(memory.Get(), dib.Get());
        BitBlt(memory.Get(), 0, 0, width, height, hdc, area.left, area.top, SRCCOPY);
        GdiFlush();
    }
    pixels.width = width;
    pixels.height = height;
    const DWORD* p = static_cast<const DWORD*>(bits);
    pixels.rgb.assign(p, p + static_cast<size_t>(width) * height);
    for (DWORD& px : pixels.rgb) px &= 0xFFFFFF;
    return pixels;
}

LRESULT CALLBACK CZQPreviewHost::PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<CZQPreviewHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_NCCREATE:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
            break;
        case WM_PAINT: {
            // As a page does: its own paint, then the preview.
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            if (host) host->VPaintPreview();
            return 0;
        }
        case kPaintPreview:
            if (host) host->VPaintPreview();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CZQPreviewHost::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            // The page paints its controls (an owner-drawn button asks its page the same way).
            SendMessageW(GetParent(hwnd), kPaintPreview, 0, 0);
            ValidateRect(hwnd, nullptr);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

namespace {

int Fail(const wchar_t* what, HRESULT hr) {
    wprintf(L"FAIL  %ls (0x%08lX)\n", what, static_cast<unsigned long>(hr));
    return 1;
}

}  // namespace

// The sample page of a record, painted by the preview in a page-sized window, as a PNG of the
// control the preview showed.
int ZQPreviewPicture(const std::wstring& exeDir, const std::wstring& png, const std::vector<std::wstring>& fields) {
    PreviewSettings record = ZQDefaultPreviewRecord();
    // A picture shows a watermark only when its fields ask for one (nowatermark=0).
    record.aiValue[kPvNoWatermark] = 1;
    std::wstring bad;
    if (!ZQParsePreviewFields(fields, &record, &bad)) {
        wprintf(L"FAIL  field \"%ls\"; fields are name=value with a name of:\n      %ls\n", bad.c_str(),
                ZQPreviewFieldNames().c_str());
        return 2;
    }
    // The preview's bitmaps are the plug-in's.
    const std::wstring dll = exeDir + L"\\zqoemui.dll";
    const CZQModule resources(
        LoadLibraryExW(dll.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!resources) return Fail(L"the plug-in's resources", HRESULT_FROM_WIN32(GetLastError()));
    CZQRollPreview preview(resources.Get());
    CZQPreviewHost host(&preview);
    if (!host.Ok()) return Fail(L"the preview window", HRESULT_FROM_WIN32(GetLastError()));
    host.VShow(record);
    const DWORD until = GetTickCount() + 300;
    MSG msg;
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
    const HWND shown = host.Shown();
    const ZQPixels pixels = CZQPreviewHost::Read(shown);
    std::vector<BYTE> rgb;
    for (DWORD p : pixels.rgb) {
        rgb.push_back(static_cast<BYTE>(p >> 16));
        rgb.push_back(static_cast<BYTE>(p >> 8));
        rgb.push_back(static_cast<BYTE>(p));
    }
    if (rgb.empty() || !ZQWritePng(png, pixels.width, pixels.height, rgb)) return Fail(L"the picture", E_FAIL);
    const RECT& page = preview.PageRect();
    wprintf(L"ok    %ls control, page (%ld,%ld)-(%ld,%ld), %d paints: %ls\n",
            shown == host.Portrait() ? L"portrait" : L"landscape", page.left, page.top, page.right, page.bottom,
            host.Paints(), png.c_str());
    return 0;
}
