// The desk printer's Watermark Details dialog under the core driver stand-in, opened by the Effects
// page's "Edit...": a watermark typed as the message is listed and drawn, reaches the devmode and
// the printer's pool on OK, and Delete takes it out of the list again (the pool keeps it: the sheet
// says so). Wine has no face of the
// default watermark font, so the dialog falls back to the screen's first TrueType face.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formats/zquidevmode.h"
#include "formats/zqwatermarkrecord.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "res/zqwatermarkids.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqprinter.h"

namespace {

using WatermarkUnderHost = zqhosttest::SamplePrintersTest;

std::vector<std::wstring> Names(HWND dialog) {
    std::vector<std::wstring> out;
    for (LRESULT i = 0; i < SendDlgItemMessageW(dialog, IDC_LST_WM_NAMES, LB_GETCOUNT, 0, 0); ++i) {
        WCHAR text[256] = {};
        SendDlgItemMessageW(dialog, IDC_LST_WM_NAMES, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        out.push_back(text);
    }
    return out;
}

bool Listed(const std::vector<std::wstring>& names, const wchar_t* name) {
    for (const std::wstring& n : names)
        if (n == name) return true;
    return false;
}

// The names of the printer's shared pool.
std::vector<std::wstring> PoolNames(HANDLE hPrinter) {
    std::vector<std::wstring> names;
    DWORD needed = 0, count = 0;
    EnumPrinterDataExW(hPrinter, L"ZQPresetRoot\\WatermarkPoolData", nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed);
    if (!needed || EnumPrinterDataExW(hPrinter, L"ZQPresetRoot\\WatermarkPoolData", buffer.data(), needed, &needed,
                                      &count) != ERROR_SUCCESS)
        return names;
    const auto* values = reinterpret_cast<const PRINTER_ENUM_VALUESW*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        ZQWatermarkRecord record = {};
        if (zqwm::Read(values[i].pData, values[i].cbData, &record))
            names.push_back(reinterpret_cast<const wchar_t*>(record.szName));
    }
    return names;
}

TEST_F(WatermarkUnderHost, ANewWatermarkReachesThePoolAndDeleteTakesItOut) {
    zqhosttest::ResetToDefaults(zqhosttest::kDeskPrinter);
    // The pool starts empty where the spooler here keeps it: it deletes no printer data itself, so an
    // earlier run's watermark would stay and the one typed here would get a number.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"System\\CurrentControlSet\\Control\\Print\\Printers\\" +
                                        std::wstring(zqhosttest::kDeskPrinter) + L"\\ZQPresetRoot\\WatermarkPoolData")
                                           .c_str());
    const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
    std::vector<std::string> faults;
    std::vector<std::wstring> listed;
    std::wstring face;
    ZQDialogSteps steps;
    steps.choices = {{L"#214", L"Proof Copy"}};
    steps.inspect = [&](HWND dialog) {
        listed = Names(dialog);
        WCHAR text[256] = {};
        GetDlgItemTextW(dialog, IDC_CBO_FONT_NAME, text, 256);
        face = text;
        for (const auto& found : {zqtest::LayoutFaults(dialog, plugin, IDD_DLG_WATER_MARK), zqtest::TextFaults(dialog)})
            faults.insert(faults.end(), found.begin(), found.end());
    };
    ZQDialogSeen seen;
    std::vector<BYTE> out = zqhosttest::PreferencesOnPage(zqhosttest::kDeskPrinter, L"Effects", [&](HWND page) {
        EXPECT_TRUE(ZQPressForDialog(page, L"#188", steps, seen) && seen.chosen && seen.closed);
    });
    EXPECT_EQ(L"Watermark Details", seen.title);
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
    EXPECT_TRUE(Listed(listed, L"Proof Copy"));
    EXPECT_FALSE(face.empty());
    EXPECT_NE(L"Arial", face) << "a face of the screen";
    ASSERT_FALSE(out.empty());
    ZQUIDevmode block = {};
    const BYTE* oem = zqhosttest::OemBlock(out);
    ASSERT_NE(nullptr, oem);
    std::memcpy(&block, oem, sizeof block);
    EXPECT_STREQ(L"Proof Copy", reinterpret_cast<const wchar_t*>(block.szWmName));
    EXPECT_EQ(face, reinterpret_cast<const wchar_t*>(block.szWmFont));
    {
        CZQSpoolPrinter h = Open(zqhosttest::kDeskPrinter);
        EXPECT_TRUE(Listed(PoolNames(h.Get()), L"Proof Copy"));
    }

    // Deleted after its confirmation, it leaves the dialog's list; Wine's spooler deletes no printer
    // data, so the sheet's OK says it stays in the pool.
    zqhosttest::BoxAnswers boxes({IDOK, IDOK});
    steps.choices = {{L"#203", L"Proof Copy"}, {L"#207", L"click"}};
    steps.close = L"Cancel";
    seen = {};
    zqhosttest::PreferencesOnPage(zqhosttest::kDeskPrinter, L"Effects", [&](HWND page) {
        EXPECT_TRUE(ZQPressForDialog(page, L"#188", steps, seen) && seen.chosen && seen.closed);
    });
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(0u, boxes.Boxes()[1].text.find(L"The printer did not allow \"Proof Copy\" to be deleted"))
        << ZQUtf8(boxes.Boxes()[1].text);
    EXPECT_FALSE(Listed(listed, L"Proof Copy"));
    EXPECT_TRUE(Listed(listed, L" [none]"));
    CZQSpoolPrinter h = Open(zqhosttest::kDeskPrinter);
    EXPECT_TRUE(Listed(PoolNames(h.Get()), L"Proof Copy"));
}

}  // namespace
