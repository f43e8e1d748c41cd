// The Paper/Quality page's preview record, filled from the working settings, the features and the
// page's controls.
#include <gtest/gtest.h>

#include <functional>

#include "pagetest.h"

namespace {

struct PreviewCase {
    const char* name;
    std::function<void(ZQUIDevmode&, zqtest::COptItemFixture&, HWND)> change;
    std::vector<std::pair<int, int>> values;  // aiValue entry, expected
    std::vector<std::pair<int, int>> extras;  // aiExtra entry, expected
    int thriftmode;
};

TEST_F(PaperQualityPage, PreviewRecordFollowsTheSettingsFeaturesAndControls) {
    AddItems(true);
    m_host.Add(zqtest::ListFeature("ZQPrintWithMargins", {{"Standard", L"Standard"}, {"OversizePaper", L"Oversize"},
                                                          {"Clip", L"Clip"}, {"NoMargins", L"None"}}));
    m_host.Add(zqtest::ListFeature("ZQBorderless", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
    Build();
    ASSERT_NE(nullptr, Open());
    const ZQUIDevmode start = *m_logic.WorkDM();
    const PreviewCase cases[] = {
        {"printed on Legal, fitted",
         [](ZQUIDevmode& dm, zqtest::COptItemFixture&, HWND) {
             dm.dwPrintDocOn = 1;
             dm.dwScalePercent = 50;
             dm.dwScaleToFit = 1;
             dm.dwPrintedOnPaper = DMPAPER_LEGAL;
         },
         {{kPvScale, 100}, {kPvFitToPage, 1}, {kPvFitScaled, 1}, {kPvDocWidth, 2100}, {kPvDocHeight, 2970},
          {kPvSheetWidth, 2159}, {kPvSheetHeight, 3556}, {kPvLetterOrA4, 1}},
         {{kPxLargeFormat, 1}, {kPxRollPaper, 1}},
         2},
        {"scaled, watermark named none",
         [](ZQUIDevmode& dm, zqtest::COptItemFixture&, HWND) {
             dm.dwScalePercent = 50;
             zqdm::CopyText(dm.szWmText, 256, L" [none]");
         },
         {{kPvScale, 50}, {kPvFitToPage, 0}, {kPvNoWatermark, 1}},
         {},
         2},
        {"clip by margins, economode on",
         [](ZQUIDevmode& dm, zqtest::COptItemFixture& host, HWND page) {
             zqdm::CopyText(dm.szWmText, 256, L"Draft");
             host.SetSelection("ZQPrintWithMargins", 2);
             CheckDlgButton(page, IDC_CHK_THRIFTMODE, BST_CHECKED);
         },
         {{kPvNoWatermark, 0}, {kPvNoInset, 1}},
         {{kPxWithMargins, 1}, {kPxMarginLayout, 2}},
         3},
        {"borderless layout, fed from a sheet",
         [](ZQUIDevmode& dm, zqtest::COptItemFixture& host, HWND) {
             dm.dwRotate90 = 1;
             host.SetSelection("ZQPrintWithMargins", 3);
             host.SetSelection("InputBin", 3);
         },
         {{kPvNoInset, 1}, {kPvTransverse, 0}},
         {{kPxWithMargins, 0}, {kPxMarginLayout, 3}, {kPxRollPaper, 0}},
         2},
        // A source named otherwise keeps what the record said; one without a name text takes the
        // settings' turn.
        {"standard margins from a roll",
         [](ZQUIDevmode& dm, zqtest::COptItemFixture& host, HWND) {
             dm.dwRotate90 = 1;
             host.SetSelection("ZQPrintWithMargins", 0);
             host.SetSelection("InputBin", 1);
         },
         {{kPvNoInset, 0}, {kPvTransverse, 0}},
         {{kPxWithMargins, 1}, {kPxMarginLayout, 0}, {kPxRollPaper, 1}},
         2},
        {"the printer's own choice of source",
         [](ZQUIDevmode& dm, zqtest::COptItemFixture& host, HWND) {
             dm.dwRotate90 = 1;
             host.SetSelection("InputBin", 0);
         },
         {{kPvTransverse, 1}},
         {},
         2},
    };
    for (const PreviewCase& c : cases) {
        SCOPED_TRACE(c.name);
        *m_logic.WorkDM() = start;
        CheckDlgButton(m_page, IDC_CHK_THRIFTMODE, BST_UNCHECKED);
        c.change(*m_logic.WorkDM(), m_host, m_page);
        m_tab->VFillPreviewSettings(&m_context);
        const PreviewSettings& r = m_tab->PreviewRecord();
        for (const auto& [entry, expected] : c.values) EXPECT_EQ(expected, r.aiValue[entry]) << "value " << entry;
        for (const auto& [entry, expected] : c.extras) EXPECT_EQ(expected, r.aiExtra[entry]) << "extra " << entry;
        EXPECT_EQ(c.thriftmode, r.iThriftmode);
        EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_PORT), ZQPreviewWindow(r, kPvPortraitWindow));
        EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_LAND), ZQPreviewWindow(r, kPvLandscapeWindow));
    }
    // Without the margin feature: no margins, and only a borderless paper prints to the edge.
    m_host.FailFeature("ZQPrintWithMargins");
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(0, m_tab->PreviewRecord().aiExtra[kPxWithMargins]);
    EXPECT_EQ(3, m_tab->PreviewRecord().aiExtra[kPxMarginLayout]);
    EXPECT_EQ(0, m_tab->PreviewRecord().aiValue[kPvNoInset]);
}

}  // namespace
