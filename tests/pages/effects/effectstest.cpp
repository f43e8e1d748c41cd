#include "effectstest.h"

#include <utility>

#include "testsupport.h"

using zqtest::ListFeature;

void EffectsPage::TearDown() {
    PageFixture::TearDown();
    m_tab = nullptr;
}

void EffectsPage::AddItems(const std::string& without) {
    auto add = [&](const zqtest::FixtureFeature& feature) {
        if (without.find(feature.keyword) == std::string::npos) m_host.Add(feature);
    };
    zqtest::FixtureFeature own = ListFeature("ZQOrientationCopy", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE", L"Landscape"}},
                                             0, kOemPubOrientation);
    own.oem = true;
    add(own);
    add(ListFeature("Orientation", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE_CC90", L"Landscape"}}, 0, DMPUB_ORIENTATION));
    add(ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}}, 1, DMPUB_FORMNAME));
    add(ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long Edge"}}, 0, DMPUB_DUPLEX));
    add(ListFeature("ZQPrintOnBothSidesManually", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
    add(ListFeature("ZQUseAutoDuplexUnit", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 1));
    add(ListFeature("Stapling", {{"None", L"None"}, {"1parallel", L"One Staple"}}));
    add(zqtest::ValueFeature("ManualDuplex", "INSTALLED"));
    add(zqtest::ValueFeature("ZQPrinterClass", "ZQInkDesk"));
    add(zqtest::ValueFeature("ZQVersionString", "1.2.3"));
}

void EffectsPage::Build() {
    // Printers of the family lay out pages in the full mode unless a test says otherwise.
    if (!m_core.dwLayoutMode) m_core.dwLayoutMode = 3;
    auto tab = std::make_unique<CZQEffectsTab>();
    m_tab = tab.get();
    BuildPage(std::move(tab));
    JoinSheet(kPageEffects);
}
