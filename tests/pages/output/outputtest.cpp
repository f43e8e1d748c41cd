#include "outputtest.h"

#include "macrotest.h"
#include "testsupport.h"
#include "zqhostapp.h"

using zqtest::ListFeature;

namespace {

const std::vector<std::pair<std::string, std::wstring>> kOffOn = {{"FALSE", L"Off"}, {"TRUE", L"On"}};
const char* const kLoggedMacros[] = {"macro_StaplingConstraints", "macro_Stapling_to_FaceControl",
                                     "macro_FaceControl_to_Stapling", "macro_FaceControl"};

}  // namespace

void OutputPage::TearDown() {
    PageFixture::TearDown();
    m_tab = nullptr;
}

void OutputPage::AddItems(const Printer& printer) {
    const std::string without = " " + printer.without + " ";
    auto add = [&](const zqtest::FixtureFeature& feature) {
        if (without.find(" " + feature.keyword + " ") == std::string::npos) m_host.Add(feature);
    };
    for (const zqtest::FixtureFeature& feature : OrientationItems()) add(feature);
    // The printer's media ids 1 and 257.
    add(ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}, {"TRANSPARENCY", L"Transparency"}}, 0, DMPUB_MEDIATYPE));
    add(ListFeature("OutputBin", {{"Stapler", L"Stapler Bin"}, {"Upper", L"Face-Down Bin"}, {"Rear_FaceUp", L"Rear Bin"}},
                    1));
    add(ListFeature(m_core.dwPdl == kPdlPostScript ? "StapleLocation" : "Stapling",
                    {{"None", L"None"}, {"1parallel", L"One Staple"}, {"2parallel", L"Two Staples"}}));
    add(ListFeature("Punching", {{"Default", L"No Holes"}, {"Left", L"Left"}}));
    add(ListFeature("Folding", {{"Default", L"No Fold"}, {"HalfFoldInward", L"Half Fold"}}));
    add(ListFeature("FaceControl", {{"FaceDown", L"Face Down"}, {"FaceUp", L"Face Up"}}));
    add(ListFeature("ZQOutputBinOrientation", {{"FaceDown", L"Face Down"}, {"FaceUp", L"Face Up"}}));
    add(ListFeature("ZQImageShift", kOffOn));
    add(ListFeature("ZQImageShiftFalxen", {{"Shift", L"Shift"}}));
    add(ListFeature("ZQStraightPaperPath", kOffOn));
    add(zqtest::ValueFeature("AccessoryOutputBins", printer.accessory));
    add(zqtest::ValueFeature("ZQPunchUnitType", printer.punchUnit));
    add(zqtest::ValueFeature("ZQPrinterClass", "ZQInkDesk"));
}

void OutputPage::Build() {
    auto tab = std::make_unique<CZQOutputTab>();
    m_tab = tab.get();
    BuildPage(std::move(tab));
    JoinSheet(kPageOutput);
}

void OutputPage::Start(const Printer& printer, bool bRules) {
    AddItems(printer);
    if (bRules) LoadFinishingRules();
    Build();
    ASSERT_NE(nullptr, Open());
}

bool OutputPage::Choose(int id, const std::wstring& entry) {
    return ZQChooseOnPage(m_page, L"#" + std::to_wstring(id), entry);
}

void OutputPage::LoadFinishingRules() {
    std::string macros;
    for (const std::string name : kLoggedMacros) {
        m_host.Add(ListFeature("ZQLog_" + name, {{"OFF", L"Off"}, {"ON", L"On"}}));
        std::string body = "<select_option>ZQLog_" + name + ".OFF</select_option><select_option>ZQLog_" + name +
                           ".ON</select_option>";
        if (name == "macro_FaceControl")
            body += "<switch><name>FaceControl</name><case><name>FaceDown</name>"
                    "<select_option>MediaType.PLAIN</select_option></case></switch>";
        macros += zqmacrotest::Macro(name, body);
    }
    LoadRules("", macros);
}
