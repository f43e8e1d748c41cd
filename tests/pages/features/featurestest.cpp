#include "featurestest.h"

#include <utility>

#include "macrotest.h"
#include "testsupport.h"

using zqtest::ListFeature;

namespace {

const std::vector<std::pair<std::string, std::wstring>> kOffOn = {{"FALSE", L"Off"}, {"TRUE", L"On"}};

}  // namespace

void FeaturesPage::TearDown() {
    PageFixture::TearDown();
    m_tab = nullptr;
}

void FeaturesPage::AddItems(const std::string& without) {
    auto add = [&](const zqtest::FixtureFeature& feature) {
        if (without.find(feature.keyword) == std::string::npos) m_host.Add(feature);
    };
    for (const zqtest::FixtureFeature& feature : OrientationItems()) add(feature);
    add(ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"ZQ_BORDERLESS_4X6", L"Photo (borderless)"},
                                  {"ZQ_BANNER_A1", L"Banner A1"}, {"HAGAKI", L"Postcard"}, {"CUSTOMSIZE", L"Custom"}},
                    0, DMPUB_FORMNAME));
    add(ListFeature("InputBin", {{"AUTOSELECT", L"Automatically Select"}, {"TRAY1", L"Tray 1"}}, 0, DMPUB_DEFSOURCE));
    add(ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}, {"PHOTO", L"Photo Paper"}, {"ZQ_CD_LABEL", L"CD Label"},
                                  {"AUTOMATIC", L"Automatic"}, {"ZQ_BANNER_PAPER", L"Banner Paper"}},
                    0, DMPUB_MEDIATYPE));
    add(ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long Edge"}, {"HORIZONTAL", L"Short Edge"}}, 0,
                    DMPUB_DUPLEX));
    add(ListFeature("PrintQualityGroup", {{"PQGroup_1", L"Normal"}, {"PQGroup_2", L"Best"}, {"pqgroup_3", L"Draft"}}));
    add(ListFeature("PrintQuality", {{"Normal", L"Normal"}, {"4800x1200", L"Maximum dpi"}}));
    add(ListFeature("ZQPhotoFix", {{"OFF", L"Off"}, {"BASIC", L"Basic"}, {"FULL", L"Full"}}));
    for (const char* photo : {"ZQContrast", "ZQDigitalFlash", "ZQSharpness", "ZQVorevEzuro", "ZQSmoothing",
                              "ZQRedEyeReduction"})
        add(ListFeature(photo, {{"Off", L"Off"}, {"Low", L"Low"}, {"High", L"High"}}));
    add(ListFeature("ZQInputColorSpace", {{"SRGB", L"sRGB"}, {"ICM", L"ICM"}, {"CHROMIX", L"Chromix"}}));
    add(ListFeature("ZQPrintInGrayScale", {{"Off", L"Off"}, {"BlackOnly", L"Black Only"}}));
    for (const char* onOff : {"ZQBorderLessPhoto", "ZQAutoDuplexScaling", "ZQMinimizeMargins", "ZQUseAutoDuplexUnit",
                              "ZQPrintPreview", "ZQCenterOnPage", "ZQRigidMediaMargins"})
        add(ListFeature(onOff, kOffOn));
    // The mirror image is the first option.
    add(ListFeature("ZQMirrorPrint", {{"TRUE", L"On"}, {"FALSE", L"Off"}}, 1));
    add(ListFeature("ZQPosterPrintingOptionSUI", {{"OFF", L"Off"}, {"2x2", L"2 x 2"}}));
    add(zqtest::ValueFeature("ManualDuplex", "INSTALLED"));
    add(zqtest::ValueFeature("ZQAddCustomMedia", "TRUE"));
    add(zqtest::ValueFeature("ZQPrinterClass", "ZQInkDesk"));
    add(zqtest::ValueFeature("ZQSimplifiedUI", "TRUE"));
    add(zqtest::ValueFeature("ZQVersionString", "1.2.3"));
}

void FeaturesPage::AddMacro(const std::string& name, const std::string& steps) {
    m_host.Add(ListFeature("ZQLog_" + name, {{"OFF", L"Off"}, {"ON", L"On"}}));
    m_ruleMacros += zqmacrotest::Macro(name, steps + "<select_option>ZQLog_" + name + ".OFF</select_option>" +
                                                 "<select_option>ZQLog_" + name + ".ON</select_option>");
}

void FeaturesPage::Build() {
    if (!m_core.dwLayoutMode) m_core.dwLayoutMode = 3;
    auto tab = std::make_unique<CZQFeaturesTab>();
    m_tab = tab.get();
    BuildPage(std::move(tab));
    if (!m_ruleMacros.empty()) LoadRules(m_ruleFeatures, m_ruleMacros);
    m_logic.VLoadResourceModule(m_hPrinter);  // the banner names
    m_logic.SheetState()->aiPagePosition[kPageFeatures] = 1;
    JoinSheet(kPageFeatures, false);
}

void FeaturesPage::NamePapers() {
    static const WCHAR names[4][64] = {L"Letter", L"A4", L"Legal", L"Envelope #10"};
    m_printer.SetCapability(DC_PAPERNAMES, names, 4, sizeof names[0]);
    m_host.Param()->pPrinterName = const_cast<PWSTR>(m_printer.Identity().name.c_str());
}

void FeaturesPage::Fill(int id, const std::vector<std::wstring>& entries, int sel) {
    HWND list = Ctl(id);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : entries) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(sel), 0);
}

void FeaturesPage::Choose(int id, int entry) {
    SendMessageW(Ctl(id), CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    Notice(m_page, id, CBN_SELCHANGE);
}

void FeaturesPage::Clear() {
    m_host.ClearUpdates();
    m_sheetMessages.clear();
    m_gates->calls.clear();
}
