#include "finishingtest.h"

#include <utility>

#include "testsupport.h"

using zqtest::ListFeature;

namespace {

const std::vector<std::pair<std::string, std::wstring>> kOffOn = {{"FALSE", L"Off"}, {"TRUE", L"On"}};

}  // namespace

void FinishingPage::TearDown() {
    PageFixture::TearDown();
    m_tab = nullptr;
}

void FinishingPage::AddItems(const std::string& without) {
    auto add = [&](const zqtest::FixtureFeature& feature) {
        if (without.find(feature.keyword) == std::string::npos) m_host.Add(feature);
    };
    for (const zqtest::FixtureFeature& feature : OrientationItems()) add(feature);
    add(ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"LETTER_SHEET", L"Letter Sheet"},
                                  {"ZQ_BORDERLESS_4X6", L"Photo (borderless)"}},
                    1, DMPUB_FORMNAME));
    add(ListFeature("InputBin", {{"AUTOSELECT", L"Automatically Select"}, {"TRAY1", L"Tray 1"}, {"Sheet", L"Sheet"},
                                 {"MANUAL", L"Manual Feed"}},
                    0, DMPUB_DEFSOURCE));
    add(ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}, {"ZQ_CD_LABEL_PAPER", L"CD Label"}}, 0, DMPUB_MEDIATYPE));
    add(ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long Edge"}}, 0, DMPUB_DUPLEX));
    for (const char* onOff : {"ZQOrientRotate180", "ZQTransverse", "ZQPrintPreview", "ZQStraightPaperPath",
                              "ZQPrintOnBothSidesManually"})
        add(ListFeature(onOff, kOffOn));
    // The mirror image is the first option.
    add(ListFeature("ZQMirrorPrint", {{"TRUE", L"On"}, {"FALSE", L"Off"}}, 1));
    add(ListFeature("ZQUseAutoDuplexUnit", kOffOn, 1));
    add(ListFeature("Stapling", {{"None", L"None"}, {"1parallel", L"One Staple"}}));
    add(ListFeature("OutputBin", {{"Upper", L"Upper"}, {"Stapler", L"Stapler"}}));
    add(zqtest::ValueFeature("ZQPrinterClass", "ZQInkDesk"));
    add(zqtest::ValueFeature("ZQVersionString", "1.2.3"));
}

void FinishingPage::Build() {
    // Printers of the family lay out pages in the full mode unless a test says otherwise.
    if (!m_core.dwLayoutMode) m_core.dwLayoutMode = 3;
    auto tab = std::make_unique<CZQFinishingTab>();
    m_tab = tab.get();
    BuildPage(std::move(tab));
    JoinSheet(kPageFinishing);
}
