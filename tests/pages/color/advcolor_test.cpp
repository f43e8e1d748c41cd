// The Advanced Color Settings dialog, opened by the Colour page's button: its rows and ranges from
// the driver's options, the compact layout of the inks alone, the number boxes and sliders in step,
// OK, Cancel and closing, the recoloured picture, and its messages without what they need.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "colortest.h"
#include "layoutcheck.h"
#include "res/zqadvcolorids.h"

#include <commctrl.h>

using zqtest::ListFeature;

namespace {

using Dlg = CZQAdvColorDlg;
using Options = std::vector<std::pair<std::string, std::wstring>>;

const Options kAllRows = {{"Brightness", L"Brightness"}, {"Saturation", L"Saturation"},
                          {"ColorTone", L"Color Tone"},  {"CyanRange", L"-50_50"},
                          {"MagentaRange", L"0_20"},     {"YellowRange", L"-10"},
                          {"BlackRange", L"7_"}};
const Options kInksOnly = {{"CyanRange", L"-50_50"}, {"MagentaRange", L"0_20"}, {"YellowRange", L"-20_20"},
                           {"BlackRange", L"-20_20"}};

class AdvColor : public ColorPage {
protected:
    // The page with the dialog's rows, and ink levels from -20 to 20.
    void StartWith(const Options& rows) {
        Printer printer;
        printer.without = "ZQAdvancedColorSetting";
        m_host.Add(ListFeature("ZQAdvancedColorSetting", rows));
        for (const char* ink : {"ZQCyanBrightness", "ZQMagentaBrightness", "ZQYellowBrightness", "ZQBlackBrightness"}) {
            Options levels;
            for (int v = -20; v <= 20; ++v) levels.emplace_back(std::to_string(v), std::to_wstring(v));
            m_host.Add(ListFeature(ink, levels, 20));
        }
        Start(printer);
    }
    // The dialog opened from the page; `inside` works in it and closes it (else it is cancelled).
    INT_PTR InDialog(std::function<void(HWND)> inside, BOOL bRtl = FALSE) {
        CZQAdvColorDlg& dialog = m_tab->AdvColorForTesting();
        dialog.VBindToPage(m_tab->CUIParam(), m_tab->HResModule(), nullptr);
        bool ran = false;
        const INT_PTR result = Modal([&] { return dialog.IDoModal(m_page, &m_context, bRtl); },
                                     [&](HWND hDlg) {
                                         ran = true;
                                         inside(hDlg);
                                     });
        EXPECT_TRUE(ran) << "the dialog opened";
        return result;
    }
    const Dlg::Slider& Slider(int position) { return m_tab->AdvColorForTesting().SliderForTesting(position); }
    static bool Visible(HWND dialog, int id) { return (GetWindowLongPtrW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }
    static RECT DlgRect(HWND dialog, int id) {
        RECT rc = {};
        GetWindowRect(GetDlgItem(dialog, id), &rc);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    static void Type(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(dialog, id, text); }
    static void Leave(HWND dialog, int id) { Notice(dialog, id, EN_KILLFOCUS); }
    static void Slide(HWND trackbar, int position) {
        SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
        SendMessageW(GetParent(trackbar), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(trackbar));
    }
};

// The rows the driver names exist, each slider on its range: a range named without both numbers
// takes the default; a wide range gets a tick every 10.
TEST_F(AdvColor, RowsAndRangesFromTheDriver) {
    StartWith(kAllRows);
    InDialog([&](HWND dialog) {
        const struct {
            int position, min, max, ticks;
            int lowLabel;
            const wchar_t* low;
        } cases[] = {{Dlg::kBrightness, -50, 50, 11, IDC_STA_DARKER, L"Darker"},
                     {Dlg::kCyan, -50, 50, 11, IDC_STA_CYAN_MIN, L"-50"},
                     {Dlg::kMagenta, 0, 20, 21, IDC_STA_MAGENTA_MIN, L"0"},
                     {Dlg::kYellow, Dlg::kDefaultInkMin, Dlg::kDefaultInkMax, 11, IDC_STA_YELLOW_MIN, L"-50"},
                     {Dlg::kBlack, Dlg::kDefaultInkMin, Dlg::kDefaultInkMax, 11, IDC_STA_BLACK_MIN, L"-50"}};
        for (const auto& c : cases) {
            SCOPED_TRACE(c.position);
            HWND trackbar = Slider(c.position).hTrackbar;
            ASSERT_NE(nullptr, trackbar);
            EXPECT_EQ(trackbar, GetDlgItem(dialog, Slider(c.position).iPlaceholderId)) << "the slider takes its place's id";
            EXPECT_EQ(c.min, SendMessageW(trackbar, TBM_GETRANGEMIN, 0, 0));
            EXPECT_EQ(c.max, SendMessageW(trackbar, TBM_GETRANGEMAX, 0, 0));
            EXPECT_EQ(c.ticks, SendMessageW(trackbar, TBM_GETNUMTICS, 0, 0));
            EXPECT_EQ(c.low, DlgText(dialog, c.lowLabel));
        }
        EXPECT_EQ(L"Advanced Color Settings", DlgText(dialog, IDC_GB_ADV_COLORSETTING));
        EXPECT_FALSE(m_tab->AdvColorForTesting().BCompactForTesting());
        for (const std::string& fault : zqtest::LayoutFaults(dialog, Resources(), IDD_DLG_ADV_COLORSETTING))
            ADD_FAILURE() << fault;
        for (const std::string& fault : zqtest::TextFaults(dialog)) ADD_FAILURE() << fault;
    });
    // Mirrored for a right-to-left interface, laid out the same.
    InDialog(
        [&](HWND dialog) {
            EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
            EXPECT_NE(nullptr, Slider(Dlg::kBlack).hTrackbar);
            // Its number boxes read left to right: a sign stays before its digits.
            for (int box : {IDC_EDIT_BRIGHTNESS, IDC_EDIT_BLACK})
                EXPECT_FALSE(GetWindowLongPtrW(GetDlgItem(dialog, box), GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) << box;
            for (const std::string& fault : zqtest::LayoutFaults(dialog, Resources(), IDD_DLG_ADV_COLORSETTING_RTL))
                ADD_FAILURE() << fault;
        },
        TRUE);
}

TEST_F(AdvColor, TheInksAloneCloseTheDialogUp) {
    StartWith(kInksOnly);
    InDialog([&](HWND dialog) {
        EXPECT_TRUE(m_tab->AdvColorForTesting().BCompactForTesting());
        EXPECT_EQ(nullptr, Slider(Dlg::kBrightness).hTrackbar);
        EXPECT_FALSE(Visible(dialog, IDC_STA_BRIGHTNESS) || Visible(dialog, IDC_EDIT_SATURATION));
        // The cyan row stands where the brightness row stands in the whole dialog, which loses
        // the three rows' height.
        RECT first = {0, 0, 0, 17}, whole = {0, 0, 0, 314}, rows = {0, 0, 0, 3 * 23};
        MapDialogRect(dialog, &first);
        MapDialogRect(dialog, &whole);
        MapDialogRect(dialog, &rows);
        EXPECT_NEAR(first.bottom, DlgRect(dialog, IDC_STA_CYAN).top, 2);
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_NEAR(whole.bottom - rows.bottom, client.bottom, 2);
        EXPECT_LE(DlgRect(dialog, IDOK).bottom, client.bottom);
        for (const std::string& fault : zqtest::LayoutFaults(dialog, Resources(), IDD_DLG_ADV_COLORSETTING))
            ADD_FAILURE() << fault;
        for (const std::string& fault : zqtest::TextFaults(dialog)) ADD_FAILURE() << fault;
    });
}

// Typed text goes to the slider, which keeps it in range; leaving the box shows what the slider
// holds; moving the slider shows its value in the box.
TEST_F(AdvColor, NumberBoxesAndSlidersKeepInStep) {
    StartWith(kAllRows);
    InDialog([&](HWND dialog) {
        const struct {
            int edit, position;
            const wchar_t* typed;
            int value;
            const wchar_t* shownTyped;
            const wchar_t* shownLeft;
        } cases[] = {{IDC_EDIT_BRIGHTNESS, Dlg::kBrightness, L"12a", 12, L"12", L"12"},
                     {IDC_EDIT_BRIGHTNESS, Dlg::kBrightness, L"-", 0, L"-", L"0"},
                     {IDC_EDIT_BRIGHTNESS, Dlg::kBrightness, L"99", 50, L"99", L"50"},
                     {IDC_EDIT_SATURATION, Dlg::kSaturation, L"", 0, L"", L"0"},
                     {IDC_EDIT_MAGENTA, Dlg::kMagenta, L"-", 0, L"-", L"0"},
                     {IDC_EDIT_MAGENTA, Dlg::kMagenta, L"-5", 0, L"-5", L"0"},
                     {IDC_EDIT_CYAN, Dlg::kCyan, L"-49", -49, L"-49", L"-49"}};
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.edit << " " << std::string(c.typed, c.typed + wcslen(c.typed)));
            Type(dialog, c.edit, c.typed);
            EXPECT_EQ(c.shownTyped, DlgText(dialog, c.edit));
            EXPECT_EQ(c.value, Slider(c.position).iValue);
            EXPECT_EQ(c.value, SendMessageW(Slider(c.position).hTrackbar, TBM_GETPOS, 0, 0));
            Leave(dialog, c.edit);
            EXPECT_EQ(c.shownLeft, DlgText(dialog, c.edit));
        }
        Slide(Slider(Dlg::kColorTone).hTrackbar, -30);
        EXPECT_EQ(L"-30", DlgText(dialog, IDC_EDIT_COLORTONE));
        EXPECT_EQ(-30, Slider(Dlg::kColorTone).iValue);
        EXPECT_EQ(3, SendDlgItemMessageW(dialog, IDC_EDIT_COLORTONE, EM_GETLIMITTEXT, 0, 0));
    });
}

// OK stores the seven values and selects the inks' levels (a level the feature lacks changes
// nothing) and the page tells the sheet; Cancel and closing store nothing.
TEST_F(AdvColor, OkStoresCancelAndCloseDoNot) {
    StartWith(kAllRows);
    const int32_t opening[7] = {1, 2, 3, 4, 5, 6, 7};
    std::copy(std::begin(opening), std::end(opening), Work().aiColorAdjust);
    std::copy(std::begin(opening), std::end(opening), m_core.aiColorAdjust);
    const auto move = [&](HWND dialog) {
        Slide(Slider(Dlg::kBrightness).hTrackbar, 25);
        Slide(Slider(Dlg::kCyan).hTrackbar, -7);
        Type(dialog, IDC_EDIT_MAGENTA, L"9");
        Type(dialog, IDC_EDIT_BLACK, L"40");  // no level of 40
    };
    const struct {
        const char* what;
        std::function<void(HWND)> end;
        INT_PTR result;
        bool stored;
    } cases[] = {
        {"cancel", [](HWND d) { Click(d, IDCANCEL); }, IDCANCEL, false},
        // Closing stores nothing, yet ends as OK: the page takes its colour space up again.
        {"close", [](HWND d) { SendMessageW(d, WM_CLOSE, 0, 0); }, IDOK, false},
        {"ok", [](HWND d) { Click(d, IDOK); }, IDOK, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_sheetMessages.clear();
        EXPECT_EQ(c.result, InDialog([&](HWND dialog) {
                      EXPECT_EQ(L"2", DlgText(dialog, IDC_EDIT_SATURATION)) << "the dialog opens on the settings";
                      move(dialog);
                      c.end(dialog);
                  }));
        const int32_t stored[7] = {25, 2, 3, -7, 9, 6, 40};
        for (int i = 0; i < 7; ++i) EXPECT_EQ(c.stored ? stored[i] : opening[i], Work().aiColorAdjust[i]) << i;
        EXPECT_EQ(c.stored ? "-7" : "0", Current("ZQCyanBrightness"));
        EXPECT_EQ(c.stored ? "9" : "0", Current("ZQMagentaBrightness"));
        EXPECT_EQ("0", Current("ZQBlackBrightness"));
    }
    // Through the page's button: OK tells the sheet the page now differs.
    m_sheetMessages.clear();
    Modal(
        [&] {
            Click(m_page, IDC_BTN_ADV_COLOR_SETTING);
            return INT_PTR{0};
        },
        [&](HWND dialog) {
            Slide(Slider(Dlg::kSaturation).hTrackbar, -10);
            Click(dialog, IDOK);
        });
    EXPECT_EQ(-10, Work().aiColorAdjust[1]);
    ASSERT_FALSE(m_sheetMessages.empty());
    EXPECT_EQ(PSM_CHANGED, m_sheetMessages.back());
}

// Every pixel of a true-colour picture, padded rows and the last row and column included, and every
// colour of a palette picture goes through the adjustment; a missing picture draws nothing.
TEST_F(AdvColor, ThePictureIsRecolouredWhole) {
    StartWith(kAllRows);
    CZQColorAdjust adjust;
    ASSERT_TRUE(adjust.BSetAdjustments(0, 20, 0, 0, 0, 0, 0));
    const auto expectAdjusted = [&](const CZQAdjustedPicture& picture) {
        const SIZE size = picture.Size();
        int differing = 0;
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) {
                const COLORREF before = picture.OriginalPixelForTesting(x, y);
                BYTE r = GetRValue(before), g = GetGValue(before), b = GetBValue(before);
                adjust.BApply(&r, &g, &b);
                if (picture.AdjustedPixelForTesting(x, y) != RGB(r, g, b)) ++differing;
            }
        EXPECT_EQ(0, differing);
    };
    InDialog([&](HWND) {
        Slide(Slider(Dlg::kBrightness).hTrackbar, 20);
        const CZQAdjustedPicture& picture = m_tab->AdvColorForTesting().PictureForTesting();
        EXPECT_EQ(160, picture.Size().cx);
        EXPECT_EQ(120, picture.Size().cy);
        EXPECT_NE(picture.OriginalPixelForTesting(0, 0), picture.AdjustedPixelForTesting(0, 0));
        expectAdjusted(picture);
    });

    // A 5 by 3 true-colour picture (rows padded to 16 bytes) and a 3 by 2 picture of 8 bits.
    for (int bits : {24, 8}) {
        SCOPED_TRACE(bits);
        const int width = bits == 24 ? 5 : 3, height = bits == 24 ? 3 : 2, colors = bits == 8 ? 256 : 0;
        const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
        std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD) + stride * height);
        auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
        *header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
        for (size_t i = sizeof(BITMAPINFOHEADER); i < dib.size(); ++i) dib[i] = static_cast<BYTE>(i * 37);
        CZQAdjustedPicture picture;
        ASSERT_TRUE(picture.BLoadPacked(dib.data(), dib.size()));
        picture.VAdjust(adjust);
        expectAdjusted(picture);
        EXPECT_FALSE(picture.BLoadPacked(dib.data(), dib.size() - 1)) << "a short picture is not read";
    }
    CZQAdjustedPicture missing;
    EXPECT_FALSE(missing.BLoad(Resources(), 9999));
    missing.VAdjust(adjust);
    EXPECT_EQ(CLR_INVALID, missing.AdjustedPixelForTesting(0, 0));
}

// Without its page, its object or the private devmode the dialog neither starts nor handles
// commands and help (last error 13).
TEST_F(AdvColor, NothingWithoutWhatItNeeds) {
    StartWith(kAllRows);
    HWND stray = CreateDialogParamW(Resources(), MAKEINTRESOURCEW(IDD_DLG_ADV_COLORSETTING), m_page,
                                    &Dlg::AdvColorDlgProc, 0);
    ASSERT_NE(nullptr, stray);
    for (UINT message : {UINT{WM_COMMAND}, UINT{WM_CONTEXTMENU}}) {
        SetLastError(0);
        EXPECT_EQ(FALSE, SendMessageW(stray, message, MAKEWPARAM(IDOK, BN_CLICKED), 0));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    }
    DestroyWindow(stray);
    m_host.Param()->pOEMDM = nullptr;
    EXPECT_EQ(IDCANCEL, InDialog([&](HWND dialog) {
                  SetLastError(0);
                  Click(dialog, IDOK);
                  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
                }))
        << "OK without the private devmode stores nothing";
    m_host.Param()->pOEMDM = &m_core;
    PageContext empty = {};
    EXPECT_EQ(-1, m_tab->AdvColorForTesting().IDoModal(m_page, &empty, FALSE));
}

}  // namespace
