// The Paper/Quality page's preview record, filled from the working settings, the features and the
// page's controls.
#include <gtest/gtest.h>

#include "pagetest.h"

namespace {

struct PreviewCase {
    const char* name;
    uint32_t printDocOn, scale;   // the working settings: printed on Legal when set
    const wchar_t* watermark;
    LONG margins, source;         // options of "ZQPrintWithMargins" and "InputBin"
    bool thriftmode;               // the page's box
    std::vector<std::pair<int, int>> values;  // aiValue entry, expected
    std::vector<std::pair<int, int>> extras;  // aiExtra entry, expected
};

TEST_F(PaperQualityPage, PreviewRecordFollowsTheSettingsFeaturesAndControls) {
    AddItems(true);
    m_host.Add(zqtest::ListFeature("ZQPrintWithMargins", {{"Standard", L"Standard"}, {"OversizePaper", L"Oversize"},
                                                          {"Clip", L"Clip"}, {"NoMargins", L"None"}}));
    m_host.Add(zqtest::ListFeature("ZQBorderless", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
    Build();
    ASSERT_NE(nullptr, Open());
    const PreviewCase cases[] = {
        {"fitted to Legal", 1, 50, L"Draft", 0, 1, false,
         {{kPvScale, 100}, {kPvFitToPage, 1}, {kPvDocWidth, 2100}, {kPvDocHeight, 2970}, {kPvSheetWidth, 2159},
          {kPvSheetHeight, 3556}, {kPvLetterOrA4, 1}, {kPvNoWatermark, 0}, {kPvNoInset, 0}},
         {{kPxLargeFormat, 1}, {kPxRollPaper, 1}, {kPxWithMargins, 1}, {kPxMarginLayout, 0}}},
        // A "Clip" margin prints to the edge even on a paper with borders.
        {"scaled, no watermark, clipped", 0, 50, L" [none]", 2, 1, true,
         {{kPvScale, 50}, {kPvFitToPage, 0}, {kPvNoWatermark, 1}, {kPvNoInset, 1}},
         {{kPxWithMargins, 1}, {kPxMarginLayout, 2}}},
        // A roll paper fed from the sheet source is sheet paper, never turned.
        {"borderless from the sheet source", 0, 100, L"Draft", 3, 3, false,
         {{kPvNoInset, 1}, {kPvTransverse, 0}}, {{kPxWithMargins, 0}, {kPxMarginLayout, 3}, {kPxRollPaper, 0}}},
        // A source named otherwise keeps what the record said; one without a name takes the settings' turn.
        {"from a roll", 0, 100, L"Draft", 0, 1, false, {{kPvTransverse, 0}}, {{kPxRollPaper, 1}}},
        {"the printer's own source", 0, 100, L"Draft", 0, 0, false, {{kPvTransverse, 1}}, {}},
    };
    for (const PreviewCase& c : cases) {
        SCOPED_TRACE(c.name);
        ZQUIDevmode& dm = *m_logic.WorkDM();
        dm.dwPrintDocOn = dm.dwScaleToFit = c.printDocOn;
        dm.dwPrintedOnPaper = DMPAPER_LEGAL;
        dm.dwScalePercent = c.scale;
        dm.dwRotate90 = 1;
        zqdm::CopyText(dm.szWmText, 256, c.watermark);
        m_host.SetSelection("ZQPrintWithMargins", c.margins);
        m_host.SetSelection("InputBin", c.source);
        CheckDlgButton(m_page, IDC_CHK_THRIFTMODE, c.thriftmode ? BST_CHECKED : BST_UNCHECKED);
        m_tab->VFillPreviewSettings(&m_context);
        const PreviewSettings& r = m_tab->PreviewRecordForTesting();
        for (const auto& [entry, expected] : c.values) EXPECT_EQ(expected, r.aiValue[entry]) << "value " << entry;
        for (const auto& [entry, expected] : c.extras) EXPECT_EQ(expected, r.aiExtra[entry]) << "extra " << entry;
        EXPECT_EQ(c.thriftmode ? 3 : 2, r.iThriftmode);
        EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_PORT), ZQPreviewWindow(r, kPvPortraitWindow));
        EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_LAND), ZQPreviewWindow(r, kPvLandscapeWindow));
    }
    // Without the margin feature: no margins, and only a borderless paper prints to the edge.
    m_host.FailFeature("ZQPrintWithMargins");
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(0, m_tab->PreviewRecordForTesting().aiExtra[kPxWithMargins]);
    EXPECT_EQ(3, m_tab->PreviewRecordForTesting().aiExtra[kPxMarginLayout]);
    EXPECT_EQ(0, m_tab->PreviewRecordForTesting().aiValue[kPvNoInset]);
}

}  // namespace
