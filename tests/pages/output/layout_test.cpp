// The Output page's finishing group by the installed output accessory and punch unit: the rows
// offered, each moved up into the place of the rows missing above it, the frame and the bin's group
// where the template has them, the bin left to a small stapler's own, and no group at all without a
// finishing feature.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "layoutcheck.h"
#include "outputtest.h"

namespace {

struct Layout {
    const char* name;
    std::string accessory, punchUnit, without;
    std::vector<int> shown;                 // the finishing group's controls shown
    std::vector<std::pair<int, int>> tops;  // a control at the template's place (dialog units)
    bool bin;                               // the bin's group shown
    bool stapleKept;                        // a staple chosen before stays chosen
};

const int kGroup[] = {IDC_GB_OUTPUT_STATIC,  IDC_STA_STAPLE_STATIC,     IDC_CBO_STAPLE,
                      IDC_STA_PUNCH_STATIC,  IDC_CBO_PUNCH,             IDC_STA_FOLDSTATIC_STATIC,
                      IDC_CBO_FOLDSTITCH,    IDC_CHK_IMAGE_SHIFT,       IDC_BTN_IMAGE_SHIFT};
// The template's rows: staple label 16, punch label 47, fold label 78, image shift 106.
constexpr int kStapleRow = 16, kPunchRow = 47, kFoldRow = 78;

const Layout kLayouts[] = {
    {"stapler and punch", "750Stapler", "ZQ2HolePunch", "",
     {IDC_GB_OUTPUT_STATIC, IDC_STA_STAPLE_STATIC, IDC_CBO_STAPLE, IDC_STA_PUNCH_STATIC, IDC_CBO_PUNCH,
      IDC_CHK_IMAGE_SHIFT, IDC_BTN_IMAGE_SHIFT},
     {{IDC_STA_STAPLE_STATIC, kStapleRow}, {IDC_STA_PUNCH_STATIC, kPunchRow}, {IDC_CHK_IMAGE_SHIFT, kFoldRow}},
     true, true},
    {"punch without a stapler", "MBX7Mailbox", "ZQ3HolePunch", "",
     {IDC_GB_OUTPUT_STATIC, IDC_STA_PUNCH_STATIC, IDC_CBO_PUNCH, IDC_CHK_IMAGE_SHIFT, IDC_BTN_IMAGE_SHIFT},
     {{IDC_STA_PUNCH_STATIC, kStapleRow}, {IDC_CHK_IMAGE_SHIFT, kPunchRow}},
     true, false},
    {"folding finisher", "MultiFunctionFinisher", "NotInstalled", "ZQImageShiftFalxen",
     {IDC_GB_OUTPUT_STATIC, IDC_STA_STAPLE_STATIC, IDC_CBO_STAPLE, IDC_STA_FOLDSTATIC_STATIC, IDC_CBO_FOLDSTITCH,
      IDC_CHK_IMAGE_SHIFT},
     {{IDC_STA_FOLDSTATIC_STATIC, kPunchRow}},
     true, true},
    {"small stapler with its own bin", "500Stapler", "NotInstalled", "ZQImageShift",
     {IDC_GB_OUTPUT_STATIC, IDC_STA_STAPLE_STATIC, IDC_CBO_STAPLE, IDC_BTN_IMAGE_SHIFT},
     {{IDC_BTN_IMAGE_SHIFT, kPunchRow}},
     false, true},
    {"image shift only", "None", "NotInstalled", "",
     {IDC_GB_OUTPUT_STATIC, IDC_CHK_IMAGE_SHIFT, IDC_BTN_IMAGE_SHIFT},
     {{IDC_CHK_IMAGE_SHIFT, kStapleRow}},
     true, false},
    {"no finishing at all", "None", "NotInstalled", "ZQImageShift ZQImageShiftFalxen", {}, {}, true, false},
};

class OutputLayout : public OutputPage, public testing::WithParamInterface<Layout> {
protected:
    int Du(int y) const {
        RECT rc = {0, y, 0, y};
        MapDialogRect(m_page, &rc);
        return rc.top;
    }
};

TEST_P(OutputLayout, RowsTheAccessoryAllowsCloseUp) {
    const Layout& layout = GetParam();
    AddItems({layout.accessory, layout.punchUnit, layout.without});
    Build();
    m_host.SetSelection("Stapling", 1);
    ASSERT_NE(nullptr, Open());

    for (int id : kGroup) {
        const bool expected = std::find(layout.shown.begin(), layout.shown.end(), id) != layout.shown.end();
        EXPECT_EQ(expected, Shown(id)) << id;
        if (expected) {
            EXPECT_TRUE(Enabled(id) || id == IDC_STA_FOLDSTATIC_STATIC || id == IDC_CBO_FOLDSTITCH) << id;
        }
    }
    for (const auto& [id, top] : layout.tops) EXPECT_EQ(Du(top), Rect(id).top) << id;
    // The frame holds every row shown and keeps the template's size; the bin's group its place.
    int lowest = 0;
    for (int id : layout.shown)
        if (id != IDC_GB_OUTPUT_STATIC) lowest = std::max(lowest, static_cast<int>(Rect(id).bottom));
    if (!layout.shown.empty()) {
        EXPECT_LT(lowest, Rect(IDC_GB_OUTPUT_STATIC).bottom);
        EXPECT_NEAR(Du(141), Rect(IDC_GB_OUTPUT_STATIC).bottom, 1);
    }
    EXPECT_NEAR(Du(93), Rect(IDC_GB_OUTPUT_BIN_OPTIONS).top, 1);
    for (int id : {IDC_GB_OUTPUT_BIN_OPTIONS, IDC_STA_OUTPUT_BIN, IDC_CBO_BIN}) EXPECT_EQ(layout.bin, Shown(id)) << id;
    // Without a stapler nothing is stapled.
    EXPECT_EQ(layout.stapleKept ? 1 : 0, Sel("Stapling"));
    // Every shown control whole in its frame, every text fitting it; the hidden finishing group
    // leaves its place empty, as the template keeps every place.
    for (const std::string& fault : zqtest::LayoutFaults(m_page, Resources(), IDD_DLG_OUTPUT))
        if (fault.rfind("empty space", 0) != 0) ADD_FAILURE() << fault;
    for (const std::string& fault : zqtest::TextFaults(m_page)) ADD_FAILURE() << fault;
}

INSTANTIATE_TEST_SUITE_P(Accessories, OutputLayout, testing::ValuesIn(kLayouts),
                         [](const testing::TestParamInfo<Layout>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (isalnum(static_cast<unsigned char>(*c))) name += *c;
                             return name;
                         });

}  // namespace
