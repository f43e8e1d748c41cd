// The pages' sample-page preview outside a property sheet: a preview record written as
// "name=value" fields, and a page-sized window holding the page's two preview controls that paints
// the record through the preview object as a page does in its WM_PAINT. Shared by zqhost.exe and
// the preview tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "preview/zqpreview.h"

// A record that leaves the preview as its constructor made it.
PreviewSettings ZQDefaultPreviewRecord();
// Sets the named fields; false for an unknown name or a value that is not a whole number (the
// field in *pBad). "text" and "font" take texts, "tiles" a list of 25 digits 0 or 1.
bool ZQParsePreviewFields(const std::vector<std::wstring>& fields, PreviewSettings* pRecord, std::wstring* pBad);
// The same for one text of fields separated by spaces.
bool ZQParsePreviewFields(const std::wstring& fields, PreviewSettings* pRecord, std::wstring* pBad);
// The names ZQParsePreviewFields knows, for a usage text.
std::wstring ZQPreviewFieldNames();

// Pixels as 0x00RRGGBB, rows top to bottom.
struct ZQPixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> rgb;
    // The pixel as a COLORREF; CLR_INVALID outside.
    COLORREF At(int x, int y) const;
};

class CZQPreviewHost {
public:
    // Control ids and sizes of the page (pixels): both controls in one place, one shown at a time.
    static constexpr int kPortraitId = 442;
    static constexpr int kLandscapeId = 441;
    static constexpr int kPageWidth = 380;
    static constexpr int kPageHeight = 350;
    static constexpr RECT kControlRect = {170, 30, 370, 230};

    // The page paints through this preview (not owned).
    explicit CZQPreviewHost(CZQRollPreview* pPreview);
    ~CZQPreviewHost();
    CZQPreviewHost(const CZQPreviewHost&) = delete;
    CZQPreviewHost& operator=(const CZQPreviewHost&) = delete;

    bool Ok() const { return m_hPage != nullptr; }
    HWND Page() const { return m_hPage; }
    HWND Portrait() const { return GetDlgItem(m_hPage, kPortraitId); }
    HWND Landscape() const { return GetDlgItem(m_hPage, kLandscapeId); }
    // The control the last paint showed.
    HWND Shown() const;
    // How many times the page painted its preview.
    int Paints() const { return m_paints; }

    // Takes the record (with the handles of the page's controls), repaints the page and the
    // controls at once, as a page's change does.
    void VShow(const PreviewSettings& record);
    // What a control shows now.
    static ZQPixels Read(HWND hControl);
    // The pixels of a rectangle of a device context.
    static ZQPixels Read(HDC hdc, const RECT& area);

private:
    static LRESULT CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM);
    void VPaintPreview();

    CZQRollPreview* m_pPreview;
    PreviewSettings m_record = {};
    bool m_bHaveRecord = false;
    int m_paints = 0;
    HWND m_hPage = nullptr;
};
