// Under the core driver stand-in: the Output page of a copy of the desk printer whose device
// reported a mailbox with a stapler and a two-hole punch, a staple chosen there reaching the
// devmode, and the image shift dialog storing a shift typed in inches in millimetres.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "common/zquibase.h"
#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "res/zqoutputids.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"
#include "zqprinter.h"

namespace {

const std::wstring kFinisher = L"ZQ Desk 2400 Finisher";

class OutputUnderHost : public zqhosttest::SamplePrintersTest {
protected:
    // The desk model with the device's answers of a stapling mailbox and a punch, under a name of
    // its own.
    static void SetUpTestSuite() {
        SamplePrintersTest::SetUpTestSuite();
        std::ifstream in(zqtest::BesideExe(zqhosttest::kDeskModel).c_str(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::string model = text.str();
        model.replace(model.find("Inkjet\n"), 7, "Finisher\n");
        for (const auto& [feature, option] : {std::pair<std::string, std::string>{"AccessoryOutputBins", "MBX5Mailbox"},
                                              {"ZQPunchUnitType", "ZQ2HolePunch"}}) {
            const size_t at = model.find("Default=", model.find("[Feature " + feature + "]"));
            model.replace(at, model.find('\n', at) - at, "Default=" + option);
        }
        const std::wstring path = zqtest::BesideExe(L"samples\\zqdesk\\zqdeskfinisher.zqm");
        std::ofstream(path.c_str(), std::ios::binary) << model;
        ZQInstallResult installed;
        ASSERT_TRUE(ZQInstallPrinter(path, zqtest::ExeDir(), kFinisher, installed)) << ZQUtf8(installed.error);
    }

    // Preferences after `hook` on the Output page; the devmode on OK.
    static std::vector<BYTE> OnOutput(const std::function<void(HWND)>& hook) {
        zqhosttest::ResetToDefaults(kFinisher);
        CZQSpoolPrinter h = zqhosttest::OpenFully(kFinisher);
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Output"));
            hook(ZQCurrentPage(sheet));
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), kFinisher, nullptr, out));
        return out;
    }
    static ZQUIDevmode Block(const std::vector<BYTE>& dm) {
        ZQUIDevmode block = {};
        if (const BYTE* oem = dm.empty() ? nullptr : zqhosttest::OemBlock(dm)) std::memcpy(&block, oem, sizeof block);
        return block;
    }
};

// The stapler's and the punch's rows show, the image shift moved up into the missing fold's place,
// every control whole; the staple chosen reaches the devmode.
TEST_F(OutputUnderHost, StapleChosenOnTheFinisherReachesTheDevmode) {
    bool shown[4] = {};
    RECT shift = {}, foldLabel = {};
    const std::vector<BYTE> out = OnOutput([&](HWND page) {
        int i = 0;
        for (int id : {IDC_CBO_STAPLE, IDC_CBO_PUNCH, IDC_CBO_FOLDSTITCH, IDC_BTN_IMAGE_SHIFT})
            shown[i++] = IsWindowVisible(GetDlgItem(page, id)) != FALSE;
        CZQUIBase::VGetChildRect(page, GetDlgItem(page, IDC_CHK_IMAGE_SHIFT), &shift, nullptr, nullptr);
        CZQUIBase::VGetChildRect(page, GetDlgItem(page, IDC_STA_FOLDSTATIC_STATIC), &foldLabel, nullptr, nullptr);
        EXPECT_TRUE(ZQChooseOnPage(page, L"Staple", L"Two Staples"));
        const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
        for (const std::string& fault : zqtest::LayoutFaults(page, plugin, IDD_DLG_OUTPUT)) ADD_FAILURE() << fault;
        for (const std::string& fault : zqtest::TextFaults(page)) ADD_FAILURE() << fault;
    });
    EXPECT_TRUE(shown[0] && shown[1] && !shown[2] && shown[3]);
    EXPECT_EQ(foldLabel.top, shift.top);
    EXPECT_EQ("2parallel", zqhosttest::Selected(out, "Stapling"));
    EXPECT_EQ("Stapler", zqhosttest::Selected(out, "OutputBin")) << "stapled sets leave through the first bin";
}

// A shift typed in inches is stored in whole millimetres on OK.
TEST_F(OutputUnderHost, ImageShiftInInchesIsStoredInMillimetres) {
    ZQDialogSeen seen;
    const ZQUIDevmode block = Block(OnOutput([&](HWND page) {
        ZQDialogSteps steps;
        steps.choices = {{L"Front side shift", L"on"}, {L"Use inches", L"on"}, {L"#975", L"2"}, {L"#976", L"-0.5"}};
        steps.close = L"OK";
        steps.inspect = [](HWND dialog) {
            const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
            for (const std::string& fault : zqtest::LayoutFaults(dialog, plugin, IDD_DLG_IMAGE_SHIFT))
                ADD_FAILURE() << fault;
            for (const std::string& fault : zqtest::TextFaults(dialog)) ADD_FAILURE() << fault;
        };
        EXPECT_TRUE(ZQPressForDialog(page, L"Image shift settings...", steps, seen));
    }));
    EXPECT_TRUE(seen.shown && seen.chosen && seen.closed);
    const int32_t* shift = block.aiImageShift;
    EXPECT_EQ((std::vector<int32_t>{1, 1, 50, -12}), (std::vector<int32_t>{shift[0], shift[4], shift[7], shift[5]}));
}

}  // namespace
