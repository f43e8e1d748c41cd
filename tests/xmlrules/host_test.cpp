// A printer whose helper file is broken, under the core driver stand-in with zqoemui.dll: a copy
// of the desktop sample installed under names of its own, whose "ZQXMLFileUsed" names a file that
// does not parse. Its sheets work and store the user's choices, without macros or constraints;
// the desktop sample itself answers the same choices with its rules.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "hosttest.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqhostpage.h"
#include "zqinstall.h"
#include "zqprinter.h"
#include "formats/zquidevmode.h"

namespace {

using zqhosttest::BoxAnswers;
using zqhosttest::Choose;
using zqhosttest::CurrentPage;
using zqhosttest::RowValue;
using zqhosttest::Selected;
using zqhosttest::SelectRow;

const std::wstring kDesk = zqhosttest::kDeskPrinter;
const std::wstring kBroken = L"ZQ Desk with a Broken Helper File";

void WriteText(const std::wstring& path, const std::string& text) {
    std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << text;
}

// Replaces the one occurrence of `from`; false when the sample no longer has it.
bool ReplaceOnce(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    if (at == std::string::npos || text.find(from, at + 1) != std::string::npos) return false;
    text.replace(at, from.size(), to);
    return true;
}

// The copy: its own driver name (the desktop driver keeps its files), its own helper file name,
// the sample's other files.
void InstallBrokenCopy() {
    const std::wstring dir = zqtest::BesideExe(L"brokenhelper");
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring sample = zqtest::BesideExe(L"samples\\zqdesk\\");
    std::string model, xml;
    ASSERT_TRUE(ZQReadSmallFile(sample + L"zqdesk.zqm", model));
    ASSERT_TRUE(ReplaceOnce(model, "Name=ZQ Desk 2400 Inkjet", "Name=ZQ Desk 2400 Broken Helper"));
    ASSERT_TRUE(ReplaceOnce(model, "Files=zqdesk.xml zqdesk.cfg", "Files=zqbroken.xml zqdesk.cfg"));
    ASSERT_TRUE(ReplaceOnce(model, "Option=zqdesk.xml | zqdesk.xml", "Option=zqbroken.xml | zqbroken.xml"));
    WriteText(dir + L"\\zqbroken.zqm", model);
    for (const wchar_t* file : {L"zqdesk.cfg", L"zqdesk.str", L"zqdesk.zqd", L"zqdesk.zqb"})
        ASSERT_TRUE(CopyFileW((sample + file).c_str(), (dir + L"\\" + file).c_str(), FALSE));
    // The sample's helper file cut off in the middle of its macros.
    ASSERT_TRUE(ZQReadSmallFile(sample + L"zqdesk.xml", xml));
    const size_t cut = xml.find("<select_option>");
    ASSERT_NE(std::string::npos, cut);
    WriteText(dir + L"\\zqbroken.xml", xml.substr(0, cut + 10));

    ZQInstallResult result;
    ASSERT_TRUE(ZQInstallPrinter(dir + L"\\zqbroken.zqm", zqtest::ExeDir(), kBroken, result)) << ZQUtf8(result.error);
    ASSERT_EQ(kBroken, result.printerName);
    ASSERT_EQ(L"ZQ Desk 2400 Broken Helper", result.driverName);
}

class BrokenHelperFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        zqhosttest::InstallSamplePrinters();
        InstallBrokenCopy();
        for (const std::wstring& name : {kDesk, kBroken}) zqhosttest::ResetToDefaults(name);
    }
    void TearDown() override {
        for (const std::wstring& name : {kDesk, kBroken}) zqhosttest::ResetToDefaults(name);
    }

    // Printing Preferences from `in` (null: the printer's default), the hook run before OK.
    std::vector<BYTE> Preferences(const std::wstring& name, const std::vector<BYTE>* in,
                                  const std::function<void(HWND)>& hook) {
        m_app.Front();
        CZQSpoolPrinter h = zqhosttest::OpenFully(name);
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) { hook(CurrentPage(sheet)); });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), name, in ? reinterpret_cast<const DEVMODEW*>(in->data()) : nullptr,
                                          out));
        EXPECT_TRUE(press.Pressed());
        return out;
    }
    void Properties(const std::wstring& name, const std::function<void(HWND)>& hook) {
        m_app.Front();
        CZQSpoolPrinter h = zqhosttest::OpenFully(name);
        CZQAutoPress press(50, [&](HWND sheet) { hook(CurrentPage(sheet)); });
        EXPECT_GT(ZQOpenPrinterProperties(h.Get(), name), 0);
        EXPECT_TRUE(press.Pressed());
    }

    // In front while the sheets open: the load's constraint checks would ask there.
    zqhosttest::AppWindow m_app;
};

TEST_F(BrokenHelperFile, PreferencesStoreTheChoicesWithoutMacrosOrConstraints) {
    struct Expected {
        const std::wstring& printer;
        const wchar_t* quality;  // what glossy photo paper makes of the print quality group
        bool duplexEnabled;      // and of two-sided printing
        const char* qualityStored;
        size_t questions;        // asked when the sheet opens again with transparency film
        const wchar_t* grayscale;
    };
    const Expected cases[] = {
        {kDesk, L"Best", false, "PQGroup_2", 1, L"Off"},
        {kBroken, L"Normal", true, "PQGroup_1", 0, L"Black Ink Only"},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(ZQUtf8(e.printer));
        BoxAnswers boxes;
        std::wstring status, quality;
        BOOL duplexEnabled = FALSE;
        std::vector<BYTE> dm = Preferences(e.printer, nullptr, [&](HWND page) {
            status = zqhosttest::PluginStatus(page);
            EXPECT_TRUE(Choose(page, L"Paper Type", L"Photo Paper, Glossy"));
            EXPECT_TRUE(Choose(page, L"Print in Grayscale", L"Black Ink Only"));
            EXPECT_TRUE(Choose(page, L"Layout Options: Orientation", L"Landscape"));
            quality = RowValue(page, L"Print Quality Group");
            EXPECT_TRUE(SelectRow(page, L"Print on Both Sides"));
            duplexEnabled = IsWindowEnabled(GetDlgItem(page, kZQIdCombo));
        });
        EXPECT_NE(std::wstring::npos, status.find(L"3 own items")) << ZQUtf8(status);
        EXPECT_EQ(e.quality, quality);
        EXPECT_EQ(e.duplexEnabled, duplexEnabled != FALSE);
        EXPECT_TRUE(boxes.Boxes().empty());

        ASSERT_FALSE(dm.empty());
        EXPECT_EQ("PHOTO_GLOSSY", Selected(dm, "MediaType"));
        EXPECT_EQ(e.qualityStored, Selected(dm, "PrintQualityGroup"));
        EXPECT_EQ("GrayandBlackInks", Selected(dm, "ZQPrintInGrayScale"));
        EXPECT_EQ("LANDSCAPE_CC90", Selected(dm, "Orientation"));
        const BYTE* block = zqhosttest::OemBlock(dm);
        ASSERT_NE(nullptr, block) << "the plug-in's block is written";
        uint16_t orientation = 0;
        std::memcpy(&orientation, block + offsetof(ZQUIDevmode, wOrientation), sizeof orientation);
        EXPECT_EQ(DMORIENT_LANDSCAPE, orientation);

        // The application picks transparency film for black ink only: the rules would ask.
        auto* pub = reinterpret_cast<DEVMODEW*>(dm.data());
        pub->dmMediaType = DMMEDIA_TRANSPARENCY;
        pub->dmFields |= DM_MEDIATYPE;
        std::wstring grayscale, orientationShown;
        std::vector<BYTE> again = Preferences(e.printer, &dm, [&](HWND page) {
            grayscale = RowValue(page, L"Print in Grayscale");
            orientationShown = RowValue(page, L"Layout Options: Orientation");
        });
        EXPECT_EQ(e.questions, boxes.Boxes().size());
        EXPECT_EQ(e.grayscale, grayscale);
        EXPECT_EQ(L"Landscape", orientationShown) << "the plug-in's copy comes back from the devmode";
        EXPECT_EQ("TRANSPARENCY", Selected(again, "MediaType"));
    }
}

TEST_F(BrokenHelperFile, PrinterPropertiesStoreTheDeviceChoices) {
    BoxAnswers boxes;
    std::wstring status;
    Properties(kBroken, [&](HWND page) {
        status = zqhosttest::PluginStatus(page);
        EXPECT_TRUE(Choose(page, L"Printer Memory", L"128 MB"));
        EXPECT_TRUE(Choose(page, L"Automatic Duplex Unit", L"Not Installed"));
    });
    EXPECT_NE(std::wstring::npos, status.find(L"0 own items")) << ZQUtf8(status);
    CZQSpoolPrinter h = zqhosttest::OpenFully(kBroken);
    const zqhostdm::Selections stored = ZQReadDeviceSettings(h.Get());
    auto value = [&](const std::string& feature) {
        for (const auto& [key, option] : stored)
            if (key == feature) return option;
        return std::string();
    };
    EXPECT_EQ("128MB", value("Memory"));
    EXPECT_EQ("NOTINSTALLED", value("DuplexUnit"));

    std::wstring memory;
    Properties(kBroken, [&](HWND page) { memory = RowValue(page, L"Printer Memory"); });
    EXPECT_EQ(L"128 MB", memory);
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
