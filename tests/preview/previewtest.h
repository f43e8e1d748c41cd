// What the preview tests share: the preview with its fields in view, records written as
// fields, and the page-sized window that paints them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "zqhostpreview.h"

// The preview with its state readable by the tests.
class CPreviewProbe : public CZQRollPreview {
public:
    explicit CPreviewProbe(HINSTANCE hModule) : CZQRollPreview(hModule) {}
    // The fade band left out, or watched: the sheet's pixels it changes in the back buffer added to
    // m_bandOnSheet, from the sheet's top-left corner.
    void VDrawFadeBand(int x, int y, int xEnd) override {
        if (m_bBandLeftOut) return;
        if (!m_bBandWatched) return CZQRollPreview::VDrawFadeBand(x, y, xEnd);
        const ZQPixels before = CZQPreviewHost::Read(m_hdcMem, m_rcSheet);
        CZQRollPreview::VDrawFadeBand(x, y, xEnd);
        const ZQPixels after = CZQPreviewHost::Read(m_hdcMem, m_rcSheet);
        for (int sy = 0; sy < after.height; ++sy)
            for (int sx = 0; sx < after.width; ++sx)
                if (after.At(sx, sy) != before.At(sx, sy)) m_bandOnSheet.push_back({sx, sy});
    }
    bool m_bBandLeftOut = false;
    bool m_bBandWatched = false;
    std::vector<POINT> m_bandOnSheet;

    using CZQPreview::CrWindowBackground;
    using CZQPreview::IRoundTenth;
    using CZQPreview::VFillWithBackground;
    using CZQPreview::VSetShadowOffsets;
    using CZQPreview::VVeilRect;
    using CZQPreview::VVeilRollFrame;
    using CZQPreview::m_anShadow;
    using CZQPreview::m_bTransverse;
    using CZQPreview::m_hdcMem;
    using CZQPreview::m_hwndActive;
    using CZQPreview::m_nCellHeight;
    using CZQPreview::m_nCellWidth;
    using CZQPreview::m_nInset;
    using CZQPreview::m_nLinePitch;
    using CZQPreview::m_nPunchCode;
    using CZQPreview::m_rcPage;
    using CZQPreview::m_wSheetOrientation;
    using CZQPreview::m_abPosterTile;
    using CZQPreview::m_anRows;
    using CZQPreview::m_bSameSize;
    using CZQPreview::m_nBooklet;
    using CZQPreview::m_nFoldCode;
    using CZQPreview::m_nGap;
    using CZQPreview::m_nNupIndex;
    using CZQPreview::m_nPageOrder;
    using CZQPreview::m_nScale;
    using CZQPreview::m_nStapleCode;
    using CZQPreview::m_bPageBorders;
    using CZQPreview::m_hdcPaint;
    using CZQPreview::m_rcClient;
    using CZQPreview::m_rcSheet;
    using CZQPreview::m_szFontFace;
    using CZQPreview::m_szWatermarkText;
    using CZQPreview::VFitDesktopPage;
    using CZQPreview::VVisitCell;
    using CZQRollPreview::m_rcPaper;
};

namespace zqpreviewtest {

// The plug-in's resources (its bitmaps), loaded once as data.
HINSTANCE Resources();
// The default record with the fields set; the test fails on a field it does not know.
PreviewSettings Record(const wchar_t* fields);

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// Colours the pictures are checked for.
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// The fields of a Letter page (2159 x 2794) before the others.
inline std::wstring Letter(const std::wstring& fields) { return L"docwidth=2159 docheight=2794 " + fields; }

// Whether the colour is anywhere in the area (the whole picture by default).
bool Has(const ZQPixels& pixels, COLORREF color, const RECT* pArea = nullptr);
// Whether the colour is at (x, y) or a pixel next to it.
bool Near(const ZQPixels& pixels, int x, int y, COLORREF color);
// Runs of the colour along the line from (x0, y0) to (x1, y1), a row or a column.
int Runs(const ZQPixels& pixels, int x0, int y0, int x1, int y1, COLORREF color);
// Whether a 24 x 24 bitmap of the plug-in is drawn with its top-left corner at the point, its
// see-through colour showing what lies under it.
bool IconAt(const ZQPixels& pixels, WORD id, POINT at);

}  // namespace zqpreviewtest

// A page-sized window with the two preview controls, painting through a probe.
class PreviewWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, zqpreviewtest::Resources());
        m_preview = std::make_unique<CPreviewProbe>(zqpreviewtest::Resources());
        m_host = std::make_unique<CZQPreviewHost>(m_preview.get());
        ASSERT_TRUE(m_host->Ok());
    }
    void TearDown() override {
        m_host.reset();
        m_preview.reset();
    }
    // Paints the record and reads the control it showed.
    ZQPixels Paint(const wchar_t* fields) {
        m_host->VShow(zqpreviewtest::Record(fields));
        return CZQPreviewHost::Read(m_host->Shown());
    }

    std::unique_ptr<CPreviewProbe> m_preview;
    std::unique_ptr<CZQPreviewHost> m_host;
};
