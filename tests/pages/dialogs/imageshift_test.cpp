// The image shift dialog, opened by the Output page's button: values checked as they are typed in
// the unit shown, the unit converted both ways, the front mirrored onto the back, the back greyed
// for a one-sided document, OK storing whole millimetres and Cancel leaving the settings as they
// were.
#include <gtest/gtest.h>

#include <functional>

#include "layoutcheck.h"
#include "outputtest.h"

namespace {

using Dlg = CZQImageShiftDlg;

class ImageShift : public OutputPage {
protected:
    // The settings the dialog opens with, in both devmodes.
    void Stored(std::initializer_list<std::pair<int, int32_t>> values) {
        for (const auto& [field, value] : values) m_core.aiImageShift[field] = Work().aiImageShift[field] = value;
    }
    // The dialog opened from the page; `inside` works in it and closes it (else it is cancelled).
    void InDialog(std::function<void(HWND)> inside) {
        Modal(
            [&] {
                Click(m_page, IDC_BTN_IMAGE_SHIFT);
                return INT_PTR{0};
            },
            std::move(inside));
    }
    static bool Visible(HWND dialog, int id) {
        return (GetWindowLongPtrW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    // Typed into an edit, then left.
    static void Type(HWND dialog, int id, const wchar_t* text) {
        SetDlgItemTextW(dialog, id, text);
        Notice(dialog, id, EN_KILLFOCUS);
    }
};

// In millimetres up to 250 either way, in inches up to 9.9; digits, a leading "-" and one decimal
// point only.
// A rejected text becomes four zeros at once; the settings hold the whole part shown meanwhile. The
// unit converts both ways.
TEST_F(ImageShift, ValuesCheckedAsTypedInTheUnitShown) {
    Start();
    Stored({{Dlg::kFrontOn, 1}});
    const struct {
        bool inches;
        const wchar_t* typed;
        const wchar_t* shown;
        int32_t held;
    } cases[] = {{false, L"250", L"250", 250},  {false, L"-250", L"-250", -250}, {false, L"251", L"0000", 0},
                 {false, L"12a", L"0000", 0},   {false, L"--1", L"0000", 0},     {false, L"1-", L"0000", 0},
                 {false, L"1.2.3", L"0000", 0}, {false, L"-", L"-", 0},          {false, L"12.7", L"12.7", 12},
                 {false, L"-0.5", L"-0.5", -1}, {false, L"", L"", 0},            {true, L"9.9", L"9.9", 9},
                 {true, L"-9.9", L"-9.9", -10}, {true, L"10", L"0000", 0},       {true, L"9.91", L"0000", 0},
                 // A comma is no decimal point.
                 {false, L"12,7", L"0000", 0}, {false, L"1,2.3", L"0000", 0},  {true, L"-9,9", L"0000", 0}};
    InDialog([&](HWND dialog) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << std::string(c.typed, c.typed + wcslen(c.typed)));
            if (c.inches != (IsDlgButtonChecked(dialog, IDC_CHK_USE_INCHES) == BST_CHECKED))
                Click(dialog, IDC_CHK_USE_INCHES);
            Type(dialog, IDC_LB_HZ_FRONT, c.typed);
            EXPECT_EQ(c.shown, DlgText(dialog, IDC_LB_HZ_FRONT));
            EXPECT_EQ(c.held, Work().aiImageShift[Dlg::kFrontHorizontal]);
        }
        // 25 mm shows as 0.98 inches, with the inch labels in place of the millimetres', and back.
        Click(dialog, IDC_CHK_USE_INCHES);
        Type(dialog, IDC_LB_HZ_FRONT, L"25");
        Click(dialog, IDC_CHK_USE_INCHES);
        EXPECT_EQ(L"0.98", DlgText(dialog, IDC_LB_HZ_FRONT));
        EXPECT_EQ(0, Work().aiImageShift[Dlg::kFrontHorizontal]);
        EXPECT_TRUE(Visible(dialog, IDC_STA_FH_IN) && !Visible(dialog, IDC_STA_FH_MM));
        Click(dialog, IDC_CHK_USE_INCHES);
        EXPECT_EQ(L"25", DlgText(dialog, IDC_LB_HZ_FRONT));
        EXPECT_EQ(25, Work().aiImageShift[Dlg::kFrontHorizontal]);
    });
}

// The back takes the front's shift, across negated; with pages flipped up the front's across
// becomes the back's down and its down, negated, the back's across. Leaving a front value copies
// that one value.
class ImageShiftMirror : public ImageShift, public testing::WithParamInterface<bool> {};

TEST_P(ImageShiftMirror, FrontMirroredOntoTheBack) {
    const bool flipped = GetParam();
    Start();
    Work().wDuplex = 2;
    Work().dwFlipPagesUp = flipped ? 1 : 0;
    Stored({{Dlg::kFrontOn, 1}, {Dlg::kBackOn, 1}, {Dlg::kFrontHorizontal, 12}, {Dlg::kFrontVertical, 5}});
    InDialog([&](HWND dialog) {
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_CHK_MIRROR_FRONT)));
        Click(dialog, IDC_CHK_MIRROR_FRONT);
        EXPECT_EQ(flipped ? L"-05" : L"-12", DlgText(dialog, IDC_LB_HZ_BACK));
        EXPECT_EQ(flipped ? L"12" : L"05", DlgText(dialog, IDC_LB_VL_BACK));
        Type(dialog, IDC_LB_HZ_FRONT, L"-3.5");
        EXPECT_EQ(flipped ? L"-3.5" : L"3.5", DlgText(dialog, flipped ? IDC_LB_VL_BACK : IDC_LB_HZ_BACK));
        EXPECT_EQ(flipped ? -4 : 3, Work().aiImageShift[flipped ? Dlg::kBackVertical : Dlg::kBackHorizontal]);
        Notice(dialog, IDOK, BN_CLICKED);
    });
    EXPECT_EQ(1, m_core.aiImageShift[Dlg::kMirrorFront]);
    EXPECT_EQ(flipped ? -3 : 3, m_core.aiImageShift[flipped ? Dlg::kBackVertical : Dlg::kBackHorizontal])
        << "whole millimetres toward zero";
}
INSTANTIATE_TEST_SUITE_P(FlipPagesUp, ImageShiftMirror, testing::Bool());

// A one-sided document has no back: its box, rows, unit labels and the mirror show greyed; the
// dialog shows whole in either unit.
TEST_F(ImageShift, OneSidedDocumentGreysTheBack) {
    Start();
    Work().wDuplex = 1;
    Stored({{Dlg::kFrontOn, 1}, {Dlg::kMirrorFront, 1}});
    InDialog([&](HWND dialog) {
        for (int id : {IDC_CHK_BACK_SHIFT, IDC_LB_HZ_BACK, IDC_LB_VL_BACK, IDC_STA_HZ_BACK, IDC_STA_VL_BACK,
                       IDC_STA_BH_MM, IDC_STA_BV_MM, IDC_CHK_MIRROR_FRONT}) {
            EXPECT_TRUE(Visible(dialog, id)) << id;
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
        }
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_LB_HZ_FRONT)));
        // Whole, in millimetres and in inches.
        for (const bool inches : {false, true}) {
            if (inches) Click(dialog, IDC_CHK_USE_INCHES);
            for (const std::string& fault : zqtest::LayoutFaults(dialog, Resources(), IDD_DLG_IMAGE_SHIFT))
                ADD_FAILURE() << fault;
            for (const std::string& fault : zqtest::TextFaults(dialog)) ADD_FAILURE() << fault;
        }
        WCHAR caption[64] = {};
        GetWindowTextW(dialog, caption, 64);
        EXPECT_STREQ(L"Image Shift Settings", caption);
    });
}

// OK with inches shown: each side that applies is stored in whole millimetres, toward zero and
// within the limits, in both devmodes, with the three options; the page then checks its changes. Shifts stored in
// millimetres open as inches.
TEST_F(ImageShift, OkInInchesStoresWholeMillimetres) {
    Start();
    Work().wDuplex = 2;
    Stored({{Dlg::kFrontOn, 1}, {Dlg::kBackOn, 1}, {Dlg::kInches, 1}, {Dlg::kFrontHorizontal, 50},
            {Dlg::kBackHorizontal, 99}});
    InDialog([&](HWND dialog) {
        EXPECT_EQ(L"1.97", DlgText(dialog, IDC_LB_HZ_FRONT));
        Type(dialog, IDC_LB_HZ_FRONT, L"2");
        Type(dialog, IDC_LB_VL_FRONT, L"0.5");
        Type(dialog, IDC_LB_HZ_BACK, L"-0.5");
        Type(dialog, IDC_LB_VL_BACK, L"9.9");
        Click(dialog, IDC_CHK_REDUCE_FIT);
        m_sheetMessages.clear();
        Notice(dialog, IDOK, BN_CLICKED);
    });
    // 9.9 inches is more than the 250 millimetres a shift may be.
    const int32_t expected[Dlg::kShiftValueCount] = {1, 1, 1, 0, 1, 12, 250, 50, -12};
    for (int i = 0; i < Dlg::kShiftValueCount; ++i) {
        EXPECT_EQ(expected[i], m_core.aiImageShift[i]) << i;
        EXPECT_EQ(expected[i], Work().aiImageShift[i]) << i;
    }
    EXPECT_FALSE(m_sheetMessages.empty()) << "the page checked its changes";
}

// Cancel or the close box: the working settings' shifts and reduce-to-fit are those the dialog
// opened with, and the core driver's private devmode is untouched.
TEST_F(ImageShift, CancelLeavesTheSettingsAsTheyWere) {
    Start();
    Stored({{Dlg::kFrontOn, 1}, {Dlg::kFrontHorizontal, 10}, {Dlg::kFrontVertical, -20}});
    const ZQUIDevmode core = m_core;
    const ZQUIDevmode work = Work();
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Cancel");
        InDialog([&](HWND dialog) {
            Click(dialog, IDC_CHK_USE_INCHES);
            Type(dialog, IDC_LB_HZ_FRONT, L"3.5");
            Click(dialog, IDC_CHK_REDUCE_FIT);
            EXPECT_EQ(3, Work().aiImageShift[Dlg::kFrontHorizontal]);
            EXPECT_EQ(1, Work().aiImageShift[Dlg::kReduceToFit]);
            if (closeBox) SendMessageW(dialog, WM_CLOSE, 0, 0);
            else Notice(dialog, IDCANCEL, BN_CLICKED);
        });
        EXPECT_EQ(0, memcmp(&core, &m_core, sizeof core));
        EXPECT_EQ(0, memcmp(&work, &Work(), sizeof work));
    }
}

}  // namespace
