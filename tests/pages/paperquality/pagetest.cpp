#include "pagetest.h"

#include "testsupport.h"

using zqtest::ListFeature;

void PaperQualityPage::SetUp() { PageFixture::SetUp(); }

void PaperQualityPage::TearDown() {
    PageFixture::TearDown();
    m_tab = nullptr;
    CZQPaperQualityTab::s_bSourceSelectOnce = FALSE;
}

void PaperQualityPage::AddItems(bool largeFormat) {
    m_host.Add(ListFeature("PaperSize", m_papers, 1, DMPUB_FORMNAME));
    zqtest::FixtureFeature bins = ListFeature(
        "InputBin", {{"AUTOSELECT", L""}, {"TRAY1", L"Tray 1"}, {"TRAY2", L"Tray 2"}, {"Sheet", L"Sheet"}}, 1,
        DMPUB_DEFSOURCE);
    bins.options[0].nameResId = 64718;
    m_host.Add(bins);
    m_host.Add(ListFeature("MediaType", m_media, 0, DMPUB_MEDIATYPE));
    m_host.Add(ListFeature("PrintQualityGroup", m_qualityGroups, 1));
    m_host.Add(ListFeature("StandardPrintQuality", {{"Fast", L"Fast"}, {"Normal", L"Normal"}, {"Best", L"Best"}}, 1));
    m_host.Add(ListFeature("PrintQuality", {{"600x600", L"600"}, {"1200x1200", L"1200"}, {"4800x1200", L"4800"}}));
    m_host.Add(ListFeature("PrintFinish", {{"Glossy", L"Glossy"}, {"Matte", L"Matte"}}));
    m_host.Add(ListFeature("ZQPrintInGrayScale", {{"FALSE", L"Off"}, {"BlackOnly", L"Black"}}));
    m_host.Add(ListFeature("ZQInputColorSpace", {{"sRGB", L"sRGB"}, {"ADOBERGB", L"Adobe RGB"}, {"ICM", L"ICM"}}));
    for (const char* onOff : {"Thriftmode", "ZQBorderLessPhoto", "ZQContrast", "ZQDigitalFlash", "ZQSharpness",
                              "ZQVorevEzuro", "ZQSmoothing", "ZQRedEyeReduction"})
        m_host.Add(ListFeature(onOff, {{"OFF", L"Off"}, {"ON", L"On"}}));
    m_host.Add(zqtest::ValueFeature("ZQPrinterClass", largeFormat ? "ZQKorrix" : "ZQInkDesk"));
    m_host.Add(zqtest::ValueFeature("ZQVersionString", "1.2.3"));
    if (!largeFormat) return;
    zqtest::FixtureFeature orientation =
        ListFeature("ZQOrientationCopy", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE", L"Landscape"}}, 1, kOemPubOrientation);
    orientation.oem = true;
    m_host.Add(orientation);
}

void PaperQualityPage::Build() {
    auto tab = std::make_unique<CZQPaperQualityTab>();
    m_tab = tab.get();
    BuildPage(std::move(tab));
    m_caps.dwMediaCount = m_media.size() < 5 ? static_cast<DWORD>(m_media.size()) : 5;
    // The page reports to no sheet unless a test gives it one.
    m_context.pSheet = nullptr;
}

