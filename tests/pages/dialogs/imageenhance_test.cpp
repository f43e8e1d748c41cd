// The image-enhancement dialog as the Paper/Quality page opens it: each enhancement's start state
// from its feature, the "Automatic" boxes and sliders with their pictures, OK storing by index and
// counting a change against the photo settings kept, the business naming, and a printer without
// red-eye removal or with item names that carry no pictures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pagetest.h"

#include <commctrl.h>
#include "res/zqimageenhanceids.h"

namespace {

using zqtest::ListFeature;
using Dlg = CZQImageEnhanceDlg;

const std::vector<std::pair<std::string, std::wstring>> kLevels = {
    {"Off", L"Off"}, {"On", L"On"}, {"Low", L"Low"}, {"Medium", L"Medium"}, {"High", L"High"}};
const std::vector<std::pair<std::string, std::wstring>> kOnOff = {{"Off", L"Off"}, {"On", L"On"}};

class ImageEnhancement : public PaperQualityPage {
protected:
    // The six features at the selections given (red-eye left out when asked), named as the desk
    // printer names them, and "ZQLunetra" at the naming given.
    void Make(LONG contrast, LONG flash, LONG sharpness, LONG smoothing, LONG redEye, LONG vorev,
              bool withRedEye = true, LONG naming = 0) {
        m_host.Add(ListFeature("ZQContrast", kLevels, contrast));
        m_host.Add(ListFeature("ZQDigitalFlash", kLevels, flash));
        m_host.Add(ListFeature("ZQSharpness", kLevels, sharpness));
        m_host.Add(ListFeature("ZQSmoothing", kLevels, smoothing));
        if (withRedEye) m_host.Add(ListFeature("ZQRedEyeReduction", kOnOff, redEye));
        m_host.Add(ListFeature("ZQVorevEzuro", kOnOff, vorev));
        m_host.Add(ListFeature("ZQLunetra", {{"ZQPhotoPrinting", L"Photo"}, {"ZQBusinessPrinting", L"Business"}}, naming));
        Build();
        const std::pair<const char*, PCWSTR> names[] = {
            {"ZQContrast", L"822_823_824_825"}, {"ZQDigitalFlash", L"830_831_832_833"},
            {"ZQSharpness", L"834_835_836_837"}, {"ZQSmoothing", L"826_827_828_829"},
            {"ZQRedEyeReduction", L"820_821"},   {"ZQVorevEzuro", L"838_839"}};
        for (const auto& [feature, name] : names)
            if (OPTITEM* item = m_host.Item(feature)) item->pName = const_cast<PWSTR>(name);
        Dialog().VSetParam(m_host.Param());
        Dialog().VSetResourceModule(m_tab->HResModule());
    }
    Dlg& Dialog() { return m_imageEnhance; }
    // Opens the dialog, runs `inside` and presses `press` (IDOK, IDCANCEL or WM_CLOSE).
    INT_PTR Run(const std::function<void(HWND)>& inside, UINT press, BOOL rtl = FALSE) {
        return Modal([&] { return Dialog().IDoModal(m_parent, &m_context, rtl); },
                     [&](HWND dialog) {
                         inside(dialog);
                         if (press == WM_CLOSE) SendMessageW(dialog, WM_CLOSE, 0, 0);
                         else Click(dialog, static_cast<int>(press));
                     });
    }
    static int Pos(HWND dialog, int slider) {
        return static_cast<int>(SendDlgItemMessageW(dialog, slider, TBM_GETPOS, 0, 0));
    }
    static void Scroll(HWND dialog, int slider, int code, int position = 0) {
        SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(code, position),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, slider)));
    }
};

TEST_F(ImageEnhancement, OpensEachEnhancementFromItsFeature) {
    // Contrast Low, digital flash Off, sharpness High, smoothing On; red-eye on, detail off.
    Make(2, 0, 4, 1, 1, 0);
    Run([&](HWND d) {
        struct Row {
            int autoBox, slider, offLabel;
            Dlg::Picture picture;
            bool automatic;
            int position;
            WORD shown;
        };
        for (const Row& r : {Row{IDC_CONTRAST_AUTO, IDC_SLIDER_CONTRAST, IDC_CONTRAST_OFF, Dlg::kContrast, false, 2, 823},
                             Row{IDC_DIGITALFLASH_AUTO, IDC_SLIDER_DIGITAL, IDC_DIGITAL_OFF, Dlg::kDigitalFlash, true, 1, 832},
                             Row{IDC_SHARPNESS_AUTO, IDC_SLIDER_SHARPNESS, IDC_SHARPNESS_OFF, Dlg::kSharpness, false, 4, 837},
                             Row{IDC_SMOOTHING_AUTO, IDC_SLIDER_SMOOTHING, IDC_SMOOTHING_OFF, Dlg::kSmoothing, false, 1, 826}}) {
            EXPECT_EQ(r.automatic, IsDlgButtonChecked(d, r.autoBox) == BST_CHECKED) << r.autoBox;
            EXPECT_EQ(!r.automatic, IsWindowEnabled(GetDlgItem(d, r.slider)) != FALSE) << r.slider;
            EXPECT_EQ(!r.automatic, IsWindowEnabled(GetDlgItem(d, r.offLabel)) != FALSE) << r.offLabel;
            EXPECT_EQ(r.position, Pos(d, r.slider)) << r.slider;
            EXPECT_EQ(r.shown, Dialog().WShownBitmap(r.picture)) << r.slider;
        }
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(d, IDC_ONREDEYE));
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(d, IDC_VOREV_OFF));
        EXPECT_EQ(821, Dialog().WShownBitmap(Dlg::kRedEye));
        EXPECT_EQ(838, Dialog().WShownBitmap(Dlg::kVorevEzuro));
        WCHAR caption[80] = {};
        GetWindowTextW(d, caption, 80);
        EXPECT_STREQ(L"ZQ Digital Photography Vivrel technologies", caption);
        EXPECT_EQ(L"Pho&to brightening", DlgText(d, IDC_CONTRAST_ENHANCEMENT));
        EXPECT_EQ(L"High", DlgText(d, IDC_SHARPNESS_HIGH));
    }, IDCANCEL);
    EXPECT_EQ(2, Sel("ZQContrast")) << "Cancel stores nothing";
}

TEST_F(ImageEnhancement, AutomaticBoxesAndSlidersMoveLevelAndPicture) {
    Make(2, 0, 0, 0, 0, 0);
    Run([&](HWND d) {
        // Each step: the control, what it does, then the level's picture and the slider's state.
        struct Step {
            const char* what;
            std::function<void()> act;
            Dlg::Picture picture;
            WORD shown;
            bool sliderOn;
        };
        const Step steps[] = {
            {"contrast automatic", [&] { Click(d, IDC_CONTRAST_AUTO); }, Dlg::kContrast, 824, false},
            {"contrast by hand again", [&] { Click(d, IDC_CONTRAST_AUTO); }, Dlg::kContrast, 823, true},
            {"flash by hand at the slider's position", [&] { Click(d, IDC_DIGITALFLASH_AUTO); }, Dlg::kDigitalFlash, 830, true},
            {"flash to the end", [&] { SendDlgItemMessageW(d, IDC_SLIDER_DIGITAL, TBM_SETPOS, TRUE, 4);
                                       Scroll(d, IDC_SLIDER_DIGITAL, TB_BOTTOM); }, Dlg::kDigitalFlash, 833, true},
            {"flash dragged", [&] { Scroll(d, IDC_SLIDER_DIGITAL, TB_THUMBTRACK, 2); }, Dlg::kDigitalFlash, 831, true},
            {"flash dragged beyond", [&] { Scroll(d, IDC_SLIDER_DIGITAL, TB_THUMBPOSITION, 9); }, Dlg::kDigitalFlash, 833, true},
            {"red-eye on", [&] { Click(d, IDC_ONREDEYE); }, Dlg::kRedEye, 821, true},
            {"detail on", [&] { Click(d, IDC_VOREV_ON); }, Dlg::kVorevEzuro, 839, true},
        };
        for (const Step& s : steps) {
            s.act();
            EXPECT_EQ(s.shown, Dialog().WShownBitmap(s.picture)) << s.what;
            const int slider = s.picture == Dlg::kContrast ? IDC_SLIDER_CONTRAST : IDC_SLIDER_DIGITAL;
            if (s.picture == Dlg::kContrast || s.picture == Dlg::kDigitalFlash) {
                EXPECT_EQ(s.sliderOn, IsWindowEnabled(GetDlgItem(d, slider)) != FALSE) << s.what;
            }
        }
    }, IDOK);
    // OK stores by index: contrast back by hand at Low, flash High, red-eye and detail on.
    EXPECT_EQ(2, Sel("ZQContrast"));
    EXPECT_EQ(4, Sel("ZQDigitalFlash"));
    EXPECT_EQ(1, Sel("ZQRedEyeReduction"));
    EXPECT_EQ(1, Sel("ZQVorevEzuro"));
    EXPECT_EQ(0, Sel("ZQSharpness"));
    EXPECT_EQ(1u, m_context.pLogic->Photo().dwRedEye);
    EXPECT_EQ(0u, m_context.pLogic->Photo().dwDigitalFlash) << "the logic keeps no level";
}

TEST_F(ImageEnhancement, ChangedFlagCountsOnlyChoicesThatDifferFromTheKeptOnes) {
    Make(0, 0, 0, 0, 0, 0);
    struct Case {
        const char* what;
        UINT press;
        int click;  // 0: none
        bool changed;
    };
    for (const Case& c : {Case{"OK without a change", IDOK, 0, false}, Case{"a change cancelled", IDCANCEL, IDC_VOREV_ON, false},
                          Case{"a change closed", WM_CLOSE, IDC_SHARPNESS_AUTO, false},
                          Case{"detail on", IDOK, IDC_VOREV_ON, true}}) {
        Dialog().VClearChanged();
        const INT_PTR result = Run([&](HWND d) { if (c.click) Click(d, c.click); }, c.press);
        EXPECT_EQ(c.press == IDOK ? IDOK : IDCANCEL, result) << c.what;
        EXPECT_EQ(c.changed, Dialog().BChanged() != FALSE) << c.what;
    }
    // The choice confirmed is what the next opening compares with; the flag stays for the opener.
    Run([](HWND) {}, IDOK);
    EXPECT_TRUE(Dialog().BChanged());
    Dialog().VClearChanged();
    Run([](HWND) {}, IDOK);
    EXPECT_FALSE(Dialog().BChanged());
    EXPECT_EQ(1, Sel("ZQVorevEzuro"));
}

TEST_F(ImageEnhancement, BusinessNamingWithoutRedEyeAndUnnamedPictures) {
    Make(3, 0, 0, 0, 0, 1, /*withRedEye=*/false, /*naming=*/1);
    m_host.Item("ZQSharpness")->pName = const_cast<PWSTR>(L"Sharpness");
    m_host.Item("ZQContrast")->pName = const_cast<PWSTR>(L"822_823");
    Run([&](HWND d) {
        WCHAR caption[80] = {};
        GetWindowTextW(d, caption, 80);
        EXPECT_STREQ(L"ZQ Lunetra Options", caption);
        EXPECT_EQ(L"&RedEye Removal", DlgText(d, IDC_RED_EYE));
        EXPECT_EQ(L"&Digital Flash", DlgText(d, IDC_DIGITAL_FLASH_NEW));
        for (int id : {IDC_RED_EYE, IDC_ONREDEYE, IDC_OFFREDEYE})
            EXPECT_FALSE(GetWindowLongPtrW(GetDlgItem(d, id), GWL_STYLE) & WS_VISIBLE) << id;
        EXPECT_EQ(IDB_PHOTO_NO_REDEYE, Dialog().WShownBitmap(Dlg::kRedEye));
        EXPECT_EQ(0, Dialog().WShownBitmap(Dlg::kSharpness)) << "a name without numbers";
        EXPECT_EQ(0, Dialog().WShownBitmap(Dlg::kContrast)) << "a name with too few numbers";
        EXPECT_EQ(839, Dialog().WShownBitmap(Dlg::kVorevEzuro));
        Click(d, IDC_VOREV_OFF);
    }, IDOK, TRUE);
    EXPECT_EQ(0, Sel("ZQVorevEzuro"));
    EXPECT_EQ(3, Sel("ZQContrast"));
}

TEST_F(ImageEnhancement, RefusesToStartWithoutItsPage) {
    Make(0, 0, 0, 0, 0, 0);
    Dlg unbound;
    EXPECT_EQ(-1, unbound.IDoModal(m_parent, &m_context, FALSE)) << "not before the page hands its block over";
    PageContext noPage = m_context;
    noPage.pPage = nullptr;
    EXPECT_EQ(IDCANCEL, Dialog().IDoModal(m_parent, &noPage, FALSE));
    EXPECT_EQ(0, Sel("ZQContrast"));
    // A message to a window the dialog never started: not handled, last error 13.
    HWND stray = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SetLastError(0);
    EXPECT_FALSE(Dlg::DlgProc(stray, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0));
    EXPECT_EQ(13u, GetLastError());
    DestroyWindow(stray);
}

}  // namespace
