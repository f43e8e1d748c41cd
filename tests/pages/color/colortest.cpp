#include "colortest.h"

using zqtest::ListFeature;

namespace {

const std::vector<std::pair<std::string, std::wstring>> kOffOn = {{"FALSE", L"Off"}, {"TRUE", L"On"}};

}  // namespace

void ColorPage::TearDown() {
    PageFixture::TearDown();
    m_tab = nullptr;
}

void ColorPage::AddItems(const Printer& printer) {
    const std::string without = " " + printer.without + " ";
    auto add = [&](const zqtest::FixtureFeature& feature) {
        if (without.find(" " + feature.keyword + " ") == std::string::npos) m_host.Add(feature);
    };
    const bool postScript = printer.pdl == kPdlPostScript;
    for (const zqtest::FixtureFeature& feature : OrientationItems()) add(feature);
    add(ListFeature("ColorMode", {{"MONO", L"Grayscale"}, {"COLOR", L"Color"}}, 1));
    add(ListFeature("ColorPublic", {{"MONO", L"Monochrome"}, {"COLOR", L"Color"}}, 1, DMPUB_COLOR));
    add(ListFeature("ZQColorasGray", kOffOn));
    add(ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}, {"AUTOMATIC", L"Automatic"}, {"PHOTO", L"Photo Paper"}}, 0,
                    DMPUB_MEDIATYPE));
    add(ListFeature("PrintQualityGroup", {{"PQGroup_0", L"Draft"}, {"PQGroup_1", L"Normal"}}, 1));
    add(ListFeature("ZQPrintInGrayScale", printer.grays));
    if (postScript) {
        add(ListFeature("JCLZQPrintInGrayScale", printer.grays));
        add(ListFeature("ZQOrientation", {{"ZQOrientationPortrait", L"Portrait"}, {"ZQOrientationLandscape", L"Landscape"}}));
    }
    add(ListFeature("ZQPrintInSepia", {{"Off", L"Off"}, {"On", L"On"}}));
    add(ListFeature("ZQColorOptions", {{"Color", L"Color"}, {"Gray", L"Gray"}}));
    add(ListFeature("RGBColor", {{"sRGB", L"Standard RGB"}, {"Vivid", L"Vivid Colors"}}));
    add(ListFeature("CMYKInks", {{"Standard", L"Standard Inks"}, {"Coated", L"Coated Inks"}}));
    add(ListFeature("ZQNeutralGrays", {{"Black", L"Black Ink Only"}, {"Process", L"All Inks"}}));
    add(ListFeature("ZQInputColorSpace", {{"sRGB", L"sRGB"},
                                          {"ADOBERGB", L"Adobe RGB"},
                                          {"MANAGEDBYAPPLN", L"Managed by Application"},
                                          {"ICM", L"System"},
                                          {"PRINTEREMULATION", L"Emulation"}}));
    add(ListFeature("ZQIntent", {{"PERCEPTUAL", L"Perceptual"}, {"RELCOLORIMETRIC", L"Relative Colorimetric"}}, 1));
    add(ListFeature("ZQInstalledPrintCartridges", {{"TRICOLOR", L"Tri-color"}, {"PHOTO", L"Photo"}}));
    add(ListFeature("ZQEmulatedPrinters", {{"EmulatedPrinters_dummy_option", L"EmulatedPrinters_dummy_option"},
                                           {"Offset", L"Offset Press"}}));
    add(ListFeature("ZQAdvancedColorSetting", {{"Available", L"Available"}, {"Unavailable", L"Unavailable"}}));
    add(ListFeature("ZQPrintPreview", kOffOn));
    add(ListFeature("ZQBlackPoint", kOffOn));
    add(ListFeature("ZQPantone", kOffOn));
    add(ListFeature("ZQPhotoFix", kOffOn, 1));
    add(ListFeature("ZQChromix", {{"AUTO", L"Automatic"}, {"MANUAL", L"Manual"}}));
    add(ListFeature("ZQChromix_Text_Halftone",
                    {{"d0", L"d0"}, {"d1", L"d1"}, {"d2", L"d2"}, {"Smooth", L"Smooth"}, {"Detail", L"Detail"}}, 3));
    add(ListFeature("ZQChromix_Photo_RGBColor",
                    {{"d0", L"d0"}, {"d1", L"d1"}, {"d2", L"d2"}, {"Standard", L"Standard"}, {"Vivid", L"Vivid"}}, 3));
    add(zqtest::ValueFeature("ZQPDLType", postScript ? "PostScript" : "PCL3"));
    add(zqtest::ValueFeature("ZQBlackOnlyWithPlain", "TRUE"));
    add(zqtest::ValueFeature("ZQPrinterClass", printer.largeFormat ? "ZQKorrix" : "ZQInkDesk"));
    if (printer.simplified) {
        add(zqtest::ValueFeature("ZQSimplifiedUI", "TRUE"));
        add(ListFeature("ZQColorMgmtOptions",
                        {{"ApplicationManagedColors", L"Application"}, {"PrinterManagedColors", L"Printer"}}, 1));
    }
    if (printer.largeFormat && postScript) {
        add(ListFeature("ZQLQJColorMgmt", kOffOn));
        add(ListFeature("ZQCMYK", {{"Coated", L"Coated"}, {"Uncoated", L"Uncoated"}}));
        add(ListFeature("ZQRGB", {{"Standard", L"Standard"}, {"Wide", L"Wide"}}));
    }
}

void ColorPage::Start(const Printer& printer, WORD wTemplate) {
    m_core.dwPdl = printer.pdl;
    AddItems(printer);
    auto tab = std::make_unique<CZQColorTab>();
    m_tab = tab.get();
    BuildPage(std::move(tab));
    m_logic.m_colorOptions.BBuild(m_host.Param());
    JoinSheet(kPageColor);
    m_effectsTab.VBind(nullptr, m_host.Param(), nullptr);
    m_slots.VAddObject(kPageEffects, &m_effectsTab);
    ASSERT_NE(nullptr, OpenPage(wTemplate, &ColorPageDlgProc));
}
