// CZQAdvColorDlg: the Colour page's "Advanced Color Settings" dialog. Up to seven sliders, each with
// a number box (brightness, saturation and colour tone, then the cyan, magenta, yellow and black
// inks), and the sample picture before and after the adjustment. Which rows exist and the inks'
// ranges come from the options of "ZQAdvancedColorSetting"; the values live in the working
// settings, which OK writes, selecting the inks' brightness options too. The page owns one and
// opens it modally with its PageContext.
#pragma once

#include <vector>

#include "common/zquibase.h"
#include "preview/zqcoloradjust.h"

struct PageContext;

// The sample picture as a packed DIB (header, colour table, pixels) copied from the module, and the
// same picture passed through a colour adjustment: every pixel of a true-colour picture, or every
// entry of the colour table of a palette picture.
class CZQAdjustedPicture {
public:
    // A copy of the bitmap resource; false (and nothing kept) when the module lacks it or it is not
    // a DIB this class reads (1 to 8 bits with a colour table, or 24 bits).
    bool BLoad(HMODULE hModule, WORD wBitmap);
    // A copy of a packed DIB of the same kinds.
    bool BLoadPacked(const BYTE* pDib, size_t cbDib);
    bool Loaded() const { return !m_original.empty(); }
    // The adjusted copy made again from the original.
    void VAdjust(const CZQColorAdjust& adjust);
    // The adjusted picture (or the original) at its own size centred in the rectangle (mirrored
    // when asked), with a palette of its colours while it is drawn; nothing without one.
    void VDraw(HDC hdc, const RECT& rc, bool bMirror, bool bAdjusted = true) const;
    // The adjusted picture's pixel (red, green, blue); for the tests.
    COLORREF AdjustedPixelForTesting(int x, int y) const;
    COLORREF OriginalPixelForTesting(int x, int y) const;
    SIZE Size() const;

private:
    static bool BReadable(const BYTE* pDib, size_t cbDib, size_t* pcbHeader);
    COLORREF Pixel(const std::vector<BYTE>& dib, int x, int y) const;
    std::vector<BYTE> m_original;
    std::vector<BYTE> m_adjusted;
    size_t m_cbHeader = 0;  // header and colour table
};

class CZQAdvColorDlg : public CZQUIBase {
public:
    // Slider positions: the three of the picture, an unused one, the four inks.
    enum : int { kBrightness, kSaturation, kColorTone, kUnused, kCyan, kMagenta, kYellow, kBlack, kSliders };
    // The range of an ink whose range the driver does not give readably: the picture's own.
    static constexpr int kDefaultInkMin = -50;
    static constexpr int kDefaultInkMax = 50;
    // Pairs of (control id, help id), the dialog itself among them, with the closing pair.
    static constexpr int kHelpPairs = 54;

    CZQAdvColorDlg() = default;
    CZQAdvColorDlg(const CZQAdvColorDlg&) = delete;
    CZQAdvColorDlg& operator=(const CZQAdvColorDlg&) = delete;

    // The page's OEMCUIPPARAM, status module and heap block, taken before each opening.
    void VBindToPage(POEMCUIPPARAM pParam, HMODULE hResModule, PVOID pHeapBlock);
    // The dialog (right-to-left template when asked), owned by hOwner: 1 OK, 2 Cancel or closed,
    // -1 when it could not be shown.
    INT_PTR IDoModal(HWND hOwner, PageContext* pContext, BOOL bRightToLeft);
    static INT_PTR CALLBACK AdvColorDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // ---- for the tests
    struct Slider {
        HWND hTrackbar;
        int iPlaceholderId;
        int iMin;
        int iMax;
        int iValue;
        int iEditId;
    };
    const Slider& SliderForTesting(int iPosition) const { return m_aSliders[iPosition]; }
    BOOL BCompactForTesting() const { return m_bCompact; }
    const CZQAdjustedPicture& PictureForTesting() const { return m_picture; }

private:
    BOOL BInitDialog(HWND hDlg, PageContext* pContext);
    void VSetTexts(PageContext* pContext);
    void VReadInkRanges();
    void VShowRows();
    void VCreateTrackbar(int iPosition);
    void VLayoutCompact();
    void VOnEditChange(int iPosition);
    void VOnEditLeft(int iPosition);
    void VOnScroll(HWND hTrackbar);
    void VRefreshPicture();
    void VPaint();
    void VSave(PageContext* pContext);
    void VOnHelp(UINT uMsg, WPARAM wParam, LPARAM lParam);
    int IPositionOfEdit(int iEditId) const;
    void VSetEditNumber(int iPosition, int iValue);
    HWND Item(int iCtrlId) const { return m_hDlg ? GetDlgItem(m_hDlg, iCtrlId) : nullptr; }

    HWND m_hDlg = nullptr;
    // The controls' rectangles in the dialog's client coordinates, recorded at opening.
    struct ControlRect {
        int id;
        RECT rc;
    };
    std::vector<ControlRect> m_rects;
    Slider m_aSliders[kSliders] = {};
    BOOL m_bCompact = TRUE;
    BOOL m_bRtl = FALSE;
    CZQColorAdjust m_adjust;
    CZQAdjustedPicture m_picture;
};
