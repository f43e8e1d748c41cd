// The Colour page's colour spaces, colour management, cartridges and emulation, its layout from the
// template's rectangles, its sample page record, the print-preview box and the alert strip.
#include <gtest/gtest.h>

#include <string>

#include "colortest.h"
#include "common/zqcolorprofile.h"

namespace {

int Entries(HWND list, PCWSTR text) {
    int found = 0;
    const int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        WCHAR entry[256] = {};
        if (SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < 256) SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
        if (wcscmp(entry, text) == 0) ++found;
    }
    return found;
}

}  // namespace

// The colour space chosen as the user chooses it: the combo shows the option, then tells the page.
#define ChooseSpace(index)                                     \
    do {                                                       \
        m_host.SetSelection("ZQInputColorSpace", (index));     \
        m_tab->VInitControls(&m_context);                      \
        Notice(m_page, IDC_INPUT_COLORSPACE, CBN_SELCHANGE);   \
    } while (0)

// Each colour space shows its own controls and leaves its colour matching in the public devmode;
// the intent and the cartridges show only with their features.
class ColorSpaceControls : public ColorPage, public testing::WithParamInterface<bool> {};

TEST_P(ColorSpaceControls, EachSpaceShowsItsControlsAndSetsThePublicDevmode) {
    const bool features = GetParam();
    Printer printer;
    if (!features) printer.without = "ZQIntent ZQInstalledPrintCartridges";
    Start(printer);
    const struct {
        int index;
        bool icm, managed, adobe;
    } spaces[] = {{0, false, false, false}, {1, false, false, true}, {2, false, true, false}, {3, true, true, false}};
    for (const auto& space : spaces) {
        SCOPED_TRACE(space.index);
        Click(m_page, IDC_CHK_PRINTINSEPIA);
        // The public devmode still greyscale from an earlier sheet: the profile follows the page.
        m_public.dmFields = DM_COLOR;
        m_public.dmColor = DMCOLOR_MONOCHROME;
        ChooseSpace(space.index);
        EXPECT_EQ(space.icm && features, Shown(IDC_CBO_INTENT) && Shown(IDC_STA_INTENT));
        EXPECT_EQ(space.icm && features, Shown(IDC_CBO_PRINT_CART) && Shown(IDC_STA_PRINT_CART));
        EXPECT_EQ(space.icm, Shown(IDC_STA_PROFILENAME));
        EXPECT_FALSE(Shown(IDC_STA_INPUTSPACE)) << "the label is the large-format printers'";
        if (space.icm) {
            EXPECT_EQ(L"ZQColor.icm", Text(IDC_STA_PROFILENAME));
        }
        EXPECT_TRUE(m_public.dmFields & DM_ICMMETHOD);
        EXPECT_EQ(space.icm ? DMICMMETHOD_SYSTEM : DMICMMETHOD_NONE, m_public.dmICMMethod);
        EXPECT_EQ(features, (m_public.dmFields & DM_ICMINTENT) != 0);
        if (features) {
            EXPECT_EQ(DMICM_COLORIMETRIC, m_public.dmICMIntent) << "relative colorimetric";
        }
        // Managed colour and Adobe RGB print without sepia; managed colour without greyscale.
        EXPECT_EQ(!(space.managed || space.adobe), Enabled(IDC_CHK_PRINTINSEPIA));
        EXPECT_EQ(!(space.managed || space.adobe), Work().dwSepia == 1);
        EXPECT_EQ(!space.managed, Enabled(IDC_CHK_GRAYSCALE));
    }
    m_host.SetSelection("ZQIntent", 0);
    Notify(PSN_SETACTIVE);
    if (features) {
        EXPECT_EQ(DMICM_CONTRAST, m_public.dmICMIntent) << "perceptual";
    }
    ExpectNothingChangesWithoutTheDevmode(MAKEWPARAM(IDC_INPUT_COLORSPACE, CBN_SELCHANGE), PSN_SETACTIVE);
}

INSTANTIATE_TEST_SUITE_P(Features, ColorSpaceControls, testing::Bool());

// Greyscale on turns off for a managed colour space; locked on, the colour space gives way instead.
TEST_F(ColorPage, ManagedColourSpaceAndTheGreyscaleLock) {
    m_printer.PutString(L"DMCLockData\\Printing", L"PrintColorAsGray", L"Lock");
    Start();
    Work().dwPrintAsGray = 1;
    ChooseSpace(3);
    EXPECT_EQ("sRGB", Current("ZQInputColorSpace"));
    EXPECT_EQ(1u, Work().dwPrintAsGray);
    Work().dwPrintAsGray = 0;
    ChooseSpace(3);
    EXPECT_EQ("ICM", Current("ZQInputColorSpace"));
}

// Under the plotter language every colour space but emulation holds the dummy emulation, added to
// the list once however often the page is shown; emulation lists the printer's own.
TEST_F(ColorPage, EmulationUnderThePlotterLanguage) {
    Printer printer;
    printer.pdl = 5;
    printer.largeFormat = true;
    Start(printer);
    m_host.SetSelection("ZQEmulatedPrinters", 1);
    for (int i = 0; i < 3; ++i) Notify(PSN_SETACTIVE);
    EXPECT_EQ("EmulatedPrinters_dummy_option", Current("ZQEmulatedPrinters"));
    EXPECT_EQ(1, Entries(Ctl(IDC_CBO_EMULATEPRINTER), L"EmulatedPrinters_dummy_option"));
    EXPECT_FALSE(Shown(IDC_CBO_EMULATEPRINTER));
    EXPECT_EQ(DMICMMETHOD_SYSTEM, m_public.dmICMMethod) << "the plotter matches colour but for Adobe RGB";
    ChooseSpace(1);
    EXPECT_EQ(DMICMMETHOD_NONE, m_public.dmICMMethod);
    ChooseSpace(4);
    EXPECT_TRUE(Shown(IDC_CBO_EMULATEPRINTER) && Shown(IDC_STA_EMULATEPRINTER));
    EXPECT_EQ(0, Entries(Ctl(IDC_CBO_EMULATEPRINTER), L"EmulatedPrinters_dummy_option"));
    EXPECT_EQ(1, Entries(Ctl(IDC_CBO_EMULATEPRINTER), L"Offset Press"));
}

// A change of cartridges is recorded in the printer's data at apply, and a flag already set is
// not written again.
TEST_F(ColorPage, CartridgeChangeIsWrittenOnce) {
    Start();
    const auto stored = [&]() -> DWORD {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!m_printer.GetValue(zqspool::CZQMemoryPrinter::kRootKey, L"PrintCartrigesModified", &type, &data) ||
            data.size() != sizeof(DWORD) || type != REG_DWORD)
            return 0xFFFFFFFF;
        return *reinterpret_cast<const DWORD*>(data.data());
    };
    Notify(PSN_APPLY);
    EXPECT_EQ(0xFFFFFFFFu, stored()) << "no change, nothing written";
    m_host.SetSelection("ZQInstalledPrintCartridges", 1);
    Notify(PSN_APPLY);
    EXPECT_EQ(1u, stored());
    const int writes = m_printer.CallCount(zqspool::MemCall::SetPrinterData);
    CZQColorTab::VSetPrinterDataFlag(L"PrintCartrigesModified", 7, m_hPrinter);
    EXPECT_EQ(writes, m_printer.CallCount(zqspool::MemCall::SetPrinterData));
    const DWORD zero = 0;
    m_printer.PutValue(zqspool::CZQMemoryPrinter::kRootKey, L"PrintCartrigesModified", REG_DWORD, &zero, sizeof zero);
    CZQColorTab::VSetPrinterDataFlag(L"PrintCartrigesModified", 7, m_hPrinter);
    EXPECT_EQ(7u, stored());
    CZQColorTab::VSetPrinterDataFlag(std::wstring(255, L'x').c_str(), 1, m_hPrinter);
    CZQColorTab::VSetPrinterDataFlag(L"PrintCartrigesModified", 1, nullptr);
    EXPECT_EQ(7u, stored());
}

// The plug-in's colour profile: the file for colour or monochrome output, the size a short buffer
// needs, device profiles only.
TEST(ColorProfile, FileNameSizeAndShortBuffer) {
    DEVMODEW dm = {};
    dm.dmFields = DM_COLOR;
    dm.dmColor = DMCOLOR_COLOR;
    WCHAR buffer[260];
    wmemset(buffer, L'#', 260);
    ULONG size = 4;
    FLONG flags = 0;
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER), ZQQueryColorProfile(&dm, nullptr, 0, buffer, &size, &flags));
    EXPECT_EQ(sizeof(L"ZQColor.icm"), size);
    EXPECT_EQ(L'#', buffer[0]) << "a short buffer is left alone";
    size = sizeof buffer;
    EXPECT_EQ(S_OK, ZQQueryColorProfile(&dm, nullptr, 0, buffer, &size, &flags));
    EXPECT_STREQ(L"ZQColor.icm", buffer);
    EXPECT_EQ(1u, flags);
    dm.dmColor = DMCOLOR_MONOCHROME;
    EXPECT_EQ(S_OK, ZQQueryColorProfile(&dm, nullptr, 0, buffer, &size, nullptr));
    EXPECT_STREQ(L"ZQGray.icm", buffer);
    EXPECT_EQ(E_NOTIMPL, ZQQueryColorProfile(&dm, nullptr, 1, buffer, &size, nullptr));
    EXPECT_EQ(E_INVALIDARG, ZQQueryColorProfile(&dm, nullptr, 0, buffer, nullptr, nullptr));
}

// The layouts start from the template's rectangles: without colour matching the greyscale box
// takes the group's first row and sepia sits below four greyscale options; without an ink choice
// the colour-space group takes the inks group's column and the matching group grows shorter. A
// second window is laid out the same.
TEST_F(ColorPage, LayoutClosesTheGapsOfMissingFeatures) {
    Printer printer;
    printer.without = "ZQChromix CMYKInks";
    Start(printer);
    const RECT gray = m_tab->RecordedRectForTesting(IDC_CHK_GRAYSCALE);
    EXPECT_EQ(m_tab->RecordedRectForTesting(IDC_RB_AUTO).top, Rect(IDC_CHK_GRAYSCALE).top);
    EXPECT_EQ(gray.top + (gray.bottom - gray.top) + 30, Rect(IDC_CHK_PRINTINSEPIA).top) << "four options";
    const RECT chromix = m_tab->RecordedRectForTesting(IDC_GB_CHROMIX);
    EXPECT_EQ(chromix.bottom - chromix.top - 25, Rect(IDC_GB_CHROMIX).bottom - Rect(IDC_GB_CHROMIX).top);
    EXPECT_EQ(chromix.left, Rect(IDC_GB_COLOR_SPACE).left);
    std::vector<RECT> first;
    for (int id : {IDC_CHK_GRAYSCALE, IDC_RB_HIGHQUALITY, IDC_RB_PHOTOCOPY, IDC_CHK_PRINTINSEPIA, IDC_INPUT_COLORSPACE})
        first.push_back(Rect(id));
    DestroyWindow(m_page);
    ASSERT_NE(nullptr, OpenPage(IDD_DLG_COLORPAGE, &ColorPageDlgProc));
    size_t i = 0;
    for (int id : {IDC_CHK_GRAYSCALE, IDC_RB_HIGHQUALITY, IDC_RB_PHOTOCOPY, IDC_CHK_PRINTINSEPIA, IDC_INPUT_COLORSPACE})
    {
        const RECT now = Rect(id);
        EXPECT_TRUE(EqualRect(&first[i++], &now)) << id;
    }
}

// The layout is laid once, as the page starts: a colour-matching frame the printer leaves empty
// stays, and a colour space that shows more rows moves no frame.
TEST_F(ColorPage, LayoutStaysAsThePageStarted) {
    Printer printer;
    printer.without = "ZQChromix ZQPrintInGrayScale ZQPrintInSepia";
    Start(printer);
    EXPECT_TRUE(Shown(IDC_GB_CHROMIX));
    const RECT before = Rect(IDC_GB_COLOR_SPACE);
    m_host.SetSelection("ZQInputColorSpace", 3);
    m_tab->VInitControls(&m_context);
    Notice(m_page, IDC_INPUT_COLORSPACE, CBN_SELCHANGE);
    const RECT after = Rect(IDC_GB_COLOR_SPACE);
    EXPECT_TRUE(EqualRect(&before, &after));
}

// The simplified page stacks sepia, colour management, the colour space, intent, cartridges and
// the profile: 32 below the greyscale list, 24 after sepia and 4 elsewhere; without sepia the label
// starts 24 below sepia's place and the colour space 2 below the label. Factory defaults and printer
// services follow their features. The colour-options frame above the stack keeps the template's
// frame where the stack starts below it (with sepia); where the label would start inside it
// (without sepia) it ends under its options shown. The print-preview box belongs to local printers.
class ColorPageSimplified : public ColorPage, public testing::WithParamInterface<bool> {};

TEST_P(ColorPageSimplified, StackAndItsButtons) {
    const bool sepia = GetParam();
    Printer printer;
    printer.simplified = true;
    if (!sepia) printer.without = "ZQPrintInSepia";
    Start(printer, IDD_DLG_COLORPAGE_SUI);
    const int stack[] = {IDC_CHK_PRINTINSEPIA, IDC_STA_COLOR_MANAGEMENT, IDC_INPUT_COLORSPACE, IDC_STA_INTENT,
                         IDC_CBO_INTENT,       IDC_STA_PRINT_CART,       IDC_CBO_PRINT_CART,   IDC_STA_ICM_PROFILE,
                         IDC_STA_PROFILENAME};
    if (sepia) {
        EXPECT_EQ(m_tab->RecordedRectForTesting(IDC_CBO_GRAYSCALE).top + 32, Rect(IDC_CHK_PRINTINSEPIA).top);
    } else {
        EXPECT_EQ(m_tab->RecordedRectForTesting(IDC_CHK_PRINTINSEPIA).top + 24, Rect(IDC_STA_COLOR_MANAGEMENT).top);
    }
    for (size_t i = sepia ? 1 : 2; i < std::size(stack); ++i) {
        const RECT above = m_tab->RecordedRectForTesting(stack[i - 1]);
        const int gap = i == 1 ? 24 : (i == 2 && !sepia) ? 2 : 4;
        EXPECT_EQ(Rect(stack[i - 1]).top + (above.bottom - above.top) + gap, Rect(stack[i]).top) << stack[i];
    }
    EXPECT_FALSE(Shown(IDC_BTN_FACTORY_DEFAULTS) || Enabled(IDC_BTN_FACTORY_DEFAULTS));
    EXPECT_FALSE(Shown(IDC_BTN_PRINTER_SERVICES));
    // The template's own frame, from a window of the template alone.
    HWND plain = CreateDialogParamW(Resources(), MAKEINTRESOURCEW(IDD_DLG_COLORPAGE_SUI), m_parent,
                                    [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    RECT kept = {};
    CZQUIBase::VGetChildRect(plain, GetDlgItem(plain, IDC_GB_COLOR_OPTIONS), &kept, nullptr, nullptr);
    DestroyWindow(plain);
    const RECT shown = Rect(IDC_GB_COLOR_OPTIONS);
    EXPECT_TRUE(shown.left == kept.left && shown.top == kept.top && shown.right == kept.right);
    EXPECT_EQ(!sepia, shown.bottom < kept.bottom) << "kept whole with sepia, shortened without";
    EXPECT_LE(shown.bottom, kept.bottom);
    EXPECT_LT(shown.bottom, Rect(IDC_STA_COLOR_MANAGEMENT).top) << "the label starts below the frame";
    for (int id : {IDC_RB_PRINTINCOLOR, IDC_CHK_GRAYSCALE, IDC_CBO_GRAYSCALE, IDC_CHK_PRINTINSEPIA}) {
        if (Shown(id)) {
            EXPECT_LT(Rect(id).bottom, shown.bottom) << id << " in the frame";
        }
    }

    EXPECT_TRUE(Shown(IDC_CHK_SHOW_PREVIEW_FIN)) << "a local printer";
    m_host.SetSelection("ZQPrintPreview", 1);
    m_printer.Identity().server = L"\\\\PrintServer";
    Notify(PSN_SETACTIVE);
    EXPECT_FALSE(Shown(IDC_CHK_SHOW_PREVIEW_FIN) || Enabled(IDC_CHK_SHOW_PREVIEW_FIN));
    EXPECT_EQ("FALSE", Current("ZQPrintPreview"));
    m_printer.Identity().server.clear();
}

INSTANTIATE_TEST_SUITE_P(Sepia, ColorPageSimplified, testing::Bool());

// On a large-format printer paper from the sheet source is neither on the roll nor turned.
TEST_F(ColorPage, SheetSourceOfALargeFormatPrinterIsNoRoll) {
    m_host.Add(zqtest::ListFeature("PaperSize", {{"ISO_A1", L"A1"}}, 0, DMPUB_FORMNAME));
    m_host.Add(zqtest::ListFeature("InputBin", {{"ROLL1", L"Roll 1"}, {"Sheet", L"Sheet Feed"}}, 1, DMPUB_DEFSOURCE));
    Printer printer;
    printer.largeFormat = true;
    Start(printer);
    Work().dwRotate90 = 1;
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(0, m_tab->PreviewForTesting().aiExtra[kPxRollPaper]);
    EXPECT_EQ(0, m_tab->PreviewForTesting().aiValue[kPvTransverse]);
}

// The sample page shows greyscale and sepia as the controls do; the alert strip replaces its
// placeholder when alerts are on, and only its own clicks run its links.
TEST_F(ColorPage, PreviewRecordAndAlertStrip) {
    Start();
    Click(m_page, IDC_CHK_GRAYSCALE);
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(1, m_tab->PreviewForTesting().aiValue[kPvGrayscale]);
    EXPECT_EQ(0, m_tab->PreviewForTesting().aiExtra[kPxTint]);
    Click(m_page, IDC_CHK_PRINTINSEPIA);
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(0, m_tab->PreviewForTesting().aiValue[kPvGrayscale]);
    EXPECT_EQ(1, m_tab->PreviewForTesting().aiExtra[kPxTint]);

    EXPECT_FALSE(Shown(IDC_ALERT_REFRESH) || Enabled(IDC_ALERT_REFRESH)) << "alerts off";
    EXPECT_NE(nullptr, Ctl(IDC_ALERT_PLACEHOLDER));
    m_gates->alertsOn = TRUE;
    for (WORD id : {IDD_DLG_COLORPAGE_RTL, IDD_DLG_COLORPAGE}) {
        SCOPED_TRACE(id);
        DestroyWindow(m_page);
        ASSERT_NE(nullptr, OpenPage(id, &ColorPageDlgProc));
        EXPECT_EQ(nullptr, Ctl(IDC_ALERT_PLACEHOLDER)) << "the alert window took its place";
        EXPECT_TRUE(Shown(IDC_ALERT_REFRESH));
    }
    ExpectOnlyTheStripRunsItsLinks();
}
