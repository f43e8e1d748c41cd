// Both sample printers installed with the core driver stand-in and zqoemui.dll: their document and
// device sheets are assembled and closed with OK, and the INITIALIZE printer event records the
// trays and media the driver reports.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "zqcmdlogrecord.h"
#include "zqproc.h"
#include "hosttest.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"
#include "formats/zquidevmode.h"
#include "pages/zqpages.h"
#include "res/zqdesktopshortcutsids.h"
#include "res/zqshortcutsids.h"
#include "zqprinter.h"
#include "zqcorecalls.h"

namespace {

const std::wstring kDesk = zqhosttest::kDeskPrinter;
const std::wstring kRoll = zqhosttest::kRollPrinter;
const std::wstring kWide = zqhosttest::kWidePrinter;

// A title of a page the plug-in has a class for.
bool IsPluginPageTitle(const std::wstring& title) {
    for (const ZQPageRow* row = ZQPageTable(); row->iPageId != kPageNone; ++row)
        if (row->pszTitle && title == row->pszTitle) return true;
    return false;
}

std::vector<std::wstring> Names(const std::wstring& printer, WORD capability, size_t chars) {
    const int n = DeviceCapabilitiesW(printer.c_str(), L"FILE:", capability, nullptr, nullptr);
    std::vector<WCHAR> block(static_cast<size_t>(n > 0 ? n : 0) * chars + 1, 0);
    if (n > 0) DeviceCapabilitiesW(printer.c_str(), L"FILE:", capability, block.data(), nullptr);
    std::vector<std::wstring> out;
    for (int i = 0; i < n; ++i) out.emplace_back(&block[i * chars], wcsnlen(&block[i * chars], chars));
    return out;
}

using SamplesUnderHost = zqhosttest::SamplePrintersTest;

TEST_F(SamplesUnderHost, DocumentAndDeviceSheetsAreAssembled) {
    for (const std::wstring& name : {kDesk, kRoll}) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        CZQSpoolPrinter h = Open(name);
        std::vector<std::wstring> tabs;
        std::vector<BYTE> out;
        {
            CZQAutoPress press(50, [&](HWND sheet) { tabs = zqtest::TabTitles(sheet); });
            EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), name, nullptr, out));
            EXPECT_TRUE(press.Pressed());
        }
        ASSERT_FALSE(tabs.empty());
        EXPECT_EQ(L"Document Options", tabs[0]);  // the core driver's own page
        for (size_t i = 1; i < tabs.size(); ++i) EXPECT_TRUE(IsPluginPageTitle(tabs[i])) << i;
        ASSERT_FALSE(out.empty());
        const auto* pub = reinterpret_cast<const DEVMODEW*>(out.data());
        EXPECT_GE(pub->dmDriverExtra, 6512) << "the plug-in's block travels with the devmode";

        tabs.clear();
        {
            CZQAutoPress press(50, [&](HWND sheet) { tabs = zqtest::TabTitles(sheet); });
            EXPECT_GT(ZQOpenPrinterProperties(h.Get(), name), 0);
            EXPECT_TRUE(press.Pressed());
        }
        ASSERT_FALSE(tabs.empty());
        EXPECT_EQ(L"Device Settings", tabs[0]);
        for (size_t i = 1; i < tabs.size(); ++i) EXPECT_TRUE(IsPluginPageTitle(tabs[i])) << i;
    }
}

// The entries of a list, ending with the one shown.
std::vector<std::wstring> Entries(HWND combo) {
    std::vector<std::wstring> entries;
    for (LRESULT i = 0; i <= SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        WCHAR text[256] = {};
        if (i < SendMessageW(combo, CB_GETCOUNT, 0, 0))
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        else
            GetWindowTextW(combo, text, 256);
        entries.push_back(text);
    }
    return entries;
}

TEST_F(SamplesUnderHost, PaperQualityPageOfTheOrdinaryInterfaceShowsTheSettings) {
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kWideModel), zqtest::ExeDir(), L"", installed))
        << ZQUtf8(installed.error);
    // Each printer's page laid out for it: the paper size's dimensions beside its list, and the
    // quality controls its features allow (the quality list and boxes, or the large-format slider).
    const struct {
        const std::wstring& printer;
        const wchar_t* labels[3];  // paper size, source, media type, as the user reads them
        std::wstring shown[3];
        const wchar_t* dimensions;
        std::vector<const wchar_t*> reachable, unreachable;
    } printers[] = {{kDesk, {L"Size is:", L"Source is", L"Type is"}, {L"Letter", L"Automatically Select", L"Plain Paper"},
                     L"8.5 × 11 inches", {L"#382", L"Thriftmode", L"Gloss Print Finish", L"Quiet Printing"},
                     {L"#953", L"#536"}},
                    {kWide, {L"Document Size", L"Paper Source", L"Paper Type:"}, {L"ISO A1", L"Roll 1", L"Plain Paper"},
                     L"23.39 × 33.11 inches", {L"#953", L"Standard Options", L"#536"},
                     {L"#382", L"Save roll Paper", L"Disable Automatic Cutter"}},
                    {kRoll, {}, {}, nullptr, {}, {}}};  // the simplified interface: the Features page instead
    for (const auto& p : printers) {
        SCOPED_TRACE(std::string(p.printer.begin(), p.printer.end()));
        zqhosttest::ResetToDefaults(p.printer);
        CZQSpoolPrinter h = Open(p.printer);
        bool shown = false;
        std::vector<std::wstring> lists[3];
        std::wstring dimensions;
        std::vector<bool> reachable, unreachable;
        std::vector<BYTE> out;
        {
            CZQAutoPress press(50, [&](HWND sheet) {
                shown = ZQShowPage(sheet, L"Paper/Quality");
                HWND page = ZQCurrentPage(sheet);
                for (int i = 0; i < 3 && shown; ++i) lists[i] = Entries(ZQFindPageControl(page, p.labels[i]));
                WCHAR text[64] = {};
                GetWindowTextW(ZQFindPageControl(page, L"#440"), text, 64);
                dimensions = text;
                for (const wchar_t* c : p.reachable) reachable.push_back(ZQFindPageControl(page, c) != nullptr);
                for (const wchar_t* c : p.unreachable) unreachable.push_back(ZQFindPageControl(page, c) != nullptr);
            });
            EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), p.printer, nullptr, out));
        }
        EXPECT_EQ(p.printer != kRoll, shown);
        for (int i = 0; i < 3 && shown; ++i) {
            ASSERT_GE(lists[i].size(), 3u) << i << ": filled";
            EXPECT_EQ(p.shown[i], lists[i].back()) << i;
        }
        if (!shown) continue;
        EXPECT_EQ(p.dimensions, dimensions);
        EXPECT_EQ(std::vector<bool>(p.reachable.size(), true), reachable);
        EXPECT_EQ(std::vector<bool>(p.unreachable.size(), false), unreachable);
    }
}

TEST_F(SamplesUnderHost, ChoicesOnThePaperQualityPageReachTheCoreDriverAndTheDevmode) {
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kWideModel), zqtest::ExeDir(), L"", installed))
        << ZQUtf8(installed.error);
    // One choice each, reconciled by the helper file's macros: a photo size brings its media, photo
    // media the best quality. The devmode after the change also carries the manual-feed orientation
    // (the desk printer's first option), the raw-spooling flag of both queues and, on the roll
    // source, the width of the roll loaded since the page started (36 inches).
    const struct {
        const std::wstring& printer;
        const wchar_t* label;
        const wchar_t* entry;
        const wchar_t* shownMedia;  // the page's media list afterwards
        std::vector<std::pair<std::string, std::string>> stored;
        std::vector<uint32_t> devmode;  // manual-feed orientation, raw spooling, largest custom width
    } printers[] = {
        {kDesk, L"Size is:", L"Photo 4x6 in.", L"Photo Paper, Matte", {{"PaperSize", "PHOTO_4X6"}, {"MediaType", "PHOTO_MATTE"}},
         {1, 1, 0}},
        {kWide, L"Paper Type:", L"Photo Paper, Gloss", L"Photo Paper, Gloss",
         {{"MediaType", "PHOTO_GLOSS"}, {"PrintQualityGroup", "PQGroup_2"}}, {0, 1, 36 * 254}},
    };
    for (const auto& p : printers) {
        SCOPED_TRACE(std::string(p.printer.begin(), p.printer.end()));
        zqhosttest::ResetToDefaults(p.printer);
        CZQSpoolPrinter h = Open(p.printer);
        zqhosttest::PutAnswer(h.Get(), L"Roll1Width", nullptr);
        bool chosen = false;
        std::wstring shown, coreMedia;
        std::vector<BYTE> out;
        {
            CZQAutoPress press(50, [&](HWND sheet) {
                ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
                HWND page = ZQCurrentPage(sheet);
                zqhosttest::PutAnswer(h.Get(), L"Roll1Width", L"36");
                // Both lists are short lists: the choice is made in the tree behind "More...".
                {
                    ZQDialogSteps steps;
                    steps.choices = {{p.printer == kDesk ? L"#912" : L"#497", p.entry}};
                    ZQDialogSeen seen;
                    chosen = ZQPressForDialog(page, std::wstring(p.label) + L"=More...", steps, seen) && seen.chosen &&
                             seen.closed;
                }
                WCHAR text[256] = {};
                GetWindowTextW(GetDlgItem(page, 435), text, 256);
                shown = text;
                // The core driver heard of it at once: its own page shows it.
                ASSERT_TRUE(ZQShowPage(sheet, L"Document Options"));
                coreMedia = zqhosttest::RowValue(ZQCurrentPage(sheet), L"Paper Type");
            });
            EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), p.printer, nullptr, out));
        }
        EXPECT_TRUE(chosen);
        EXPECT_EQ(p.shownMedia, shown);
        EXPECT_EQ(p.shownMedia, coreMedia);
        ASSERT_FALSE(out.empty());
        for (const auto& [feature, option] : p.stored) EXPECT_EQ(option, zqhosttest::Selected(out, feature)) << feature;
        const auto* block = reinterpret_cast<const ZQUIDevmode*>(zqhosttest::OemBlock(out));
        ASSERT_NE(nullptr, block);
        EXPECT_EQ(p.devmode, (std::vector<uint32_t>{block->wManualFeedOrientation, block->dwRawSpooling,
                                                    p.printer == kWide ? block->dwCustomMaxWidth : 0}));
        zqhosttest::PutAnswer(h.Get(), L"Roll1Width", nullptr);
    }
}

TEST_F(SamplesUnderHost, AddCustomPaperConfirmsAndStartsTheColourManagementProgram) {
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kWideModel), zqtest::ExeDir(), L"", installed))
        << ZQUtf8(installed.error);
    const wchar_t* key = L"SOFTWARE\\Quorvane\\ZQ Tintora";
    const std::wstring program = zqtest::BesideExe(L"zqcmdlog.exe");
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQCmdLogKey);
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, L"RunCC", REG_SZ, program.c_str(),
                                             static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t))));
    zqhosttest::ResetToDefaults(kWide);
    CZQSpoolPrinter h = Open(kWide);
    ZQDialogSeen seen;
    std::wstring media;
    std::vector<std::wstring> refresh, after;
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
            HWND page = ZQCurrentPage(sheet);
            ZQDialogSteps steps;
            steps.close = L"Continue";
            ZQPressForDialog(page, L"Paper Type:=Add Custom Paper..", steps, seen);
            WCHAR text[256] = {};
            GetWindowTextW(GetDlgItem(page, 435), text, 256);
            media = text;
            // The list offers to read the new papers, once.
            refresh = Entries(GetDlgItem(page, 435));
            ZQChooseOnPage(page, L"Paper Type:", L"Refresh Custom Paper List");
            after = Entries(GetDlgItem(page, 435));
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), kWide, nullptr, out));
    }
    EXPECT_EQ(std::make_tuple(true, true, std::wstring(L"Add Custom Media")),
              std::make_tuple(seen.shown, seen.closed, seen.title));
    EXPECT_EQ(L"Plain Paper", media) << "the media type stays";
    ASSERT_GE(refresh.size(), 2u);
    EXPECT_EQ(L"Refresh Custom Paper List", refresh[refresh.size() - 2]);
    EXPECT_EQ(refresh.size() - 1, after.size());
    // The program ran with four quoted words: itself, the printer, the user's locale, the keyword.
    const std::wstring line = zqtest::LoggedCommandLine(true);
    EXPECT_EQ(0u, line.find(L"\"" + program + L"\" \"" + kWide + L"\" \"")) << line;
    const std::wstring keyword = L"\" \"add_paper\"";
    EXPECT_EQ(keyword, line.substr(line.size() < keyword.size() ? 0 : line.size() - keyword.size())) << line;
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
}

TEST_F(SamplesUnderHost, InitializeRecordsTheDriversTraysAndMedia) {
    for (const std::wstring& name : {kDesk, kRoll}) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        CZQSpoolPrinter h = Open(name);
        CZQLocalPtr<DRIVER_INFO_3W> driver;
        ASSERT_TRUE(CZQCommon::BGetDriverInfo3(h.Get(), driver.Put()));
        CZQModule ui(LoadLibraryW(driver.Get()->pConfigFile));
        using PFN_PrinterEvent = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
        auto event = ZQGetProc<PFN_PrinterEvent>(ui.Get(), "DrvPrinterEvent");
        ASSERT_NE(nullptr, event);
        ASSERT_TRUE(event(const_cast<LPWSTR>(name.c_str()), PRINTER_EVENT_INITIALIZE, 0, 0));

        WCHAR guid[CZQCommon::kGuidTextChars];
        EXPECT_TRUE(CZQCommon::BReadRestrictedUserGuid(h.Get(), guid));

        const std::vector<std::wstring> bins = Names(name, DC_BINNAMES, 24);
        ASSERT_FALSE(bins.empty());
        DWORD count = 0, type = 0, needed = 0;
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
                  GetPrinterDataW(h.Get(), const_cast<LPWSTR>(L"ZQTrayCount"), &type, reinterpret_cast<BYTE*>(&count),
                                  sizeof count, &needed));
        EXPECT_EQ(bins.size(), count);
        std::vector<WORD> ids(bins.size());
        DeviceCapabilitiesW(name.c_str(), L"FILE:", DC_BINS, reinterpret_cast<LPWSTR>(ids.data()), nullptr);
        std::vector<BYTE> data(2048, 0);
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
                  GetPrinterDataW(h.Get(), const_cast<LPWSTR>(L"ZQTRAYINFOREGDATA"), &type, data.data(),
                                  static_cast<DWORD>(data.size()), &needed));
        BYTE* cursor = data.data();
        const BYTE* end = data.data() + needed;
        for (size_t i = 0; i < bins.size(); ++i) {
            WCHAR text[24] = {};
            CZQCommon::VReadString(&cursor, end, text, 24);
            EXPECT_EQ(bins[i].substr(0, 22), text) << i;
            EXPECT_EQ(ids[i], CZQCommon::DWReadDword(&cursor, end)) << i;
        }
        EXPECT_EQ(end, cursor);

        const std::vector<std::wstring> media = Names(name, DC_MEDIATYPENAMES, 64);
        ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
                  GetPrinterDataW(h.Get(), const_cast<LPWSTR>(L"ZQMEDIAINFOREGDATA"), &type, data.data(),
                                  static_cast<DWORD>(data.size()), &needed));
        cursor = data.data();
        end = data.data() + needed;
        for (size_t i = 0; i < media.size(); ++i) {
            WCHAR text[64] = {};
            CZQCommon::VReadString(&cursor, end, text, 64);
            EXPECT_EQ(media[i], text) << i;
            CZQCommon::DWReadDword(&cursor, end);
        }
        EXPECT_EQ(end, cursor);
    }
}

// Every value stored under a key of the registry and the keys below it, by path: type and bytes;
// and each key's time of its last write under the key's own path, so a value written again with
// the bytes it had shows too.
using RegDump = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;
void DumpKey(HKEY parent, const std::wstring& path, RegDump& out) {
    CZQRegKey key;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return;
    FILETIME written = {};
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, &written);
    const BYTE* time = reinterpret_cast<const BYTE*>(&written);
    out[path] = {0, std::vector<BYTE>(time, time + sizeof written)};
    for (DWORD i = 0;; ++i) {
        WCHAR name[512];
        DWORD chars = ARRAYSIZE(name), type = 0, bytes = 0;
        if (RegEnumValueW(key.Get(), i, name, &chars, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) break;
        std::vector<BYTE> data(bytes);
        chars = ARRAYSIZE(name);
        RegEnumValueW(key.Get(), i, name, &chars, nullptr, &type, data.data(), &bytes);
        out[path + L"\\" + name] = {type, data};
    }
    for (DWORD i = 0;; ++i) {
        WCHAR name[512];
        DWORD chars = ARRAYSIZE(name);
        if (RegEnumKeyExW(key.Get(), i, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DumpKey(parent, path + L"\\" + name, out);
    }
}

// What a sheet leaves of the settings it was given, by name: the public fields as one (the form's
// name up to its end), every selected option, and the document type in force with its customised mark.
std::map<std::string, std::string> SettingsOf(const std::vector<BYTE>& dm) {
    std::map<std::string, std::string> settings;
    if (dm.size() < sizeof(DEVMODEW)) return settings;
    DEVMODEW pub = *reinterpret_cast<const DEVMODEW*>(dm.data());
    const size_t form = wcsnlen(pub.dmFormName, CCHFORMNAME);
    std::fill(pub.dmFormName + form, pub.dmFormName + CCHFORMNAME, L'\0');
    settings["public fields"] = std::string(reinterpret_cast<const char*>(&pub), sizeof pub);
    settings["public duplex"] = std::to_string(pub.dmDuplex);
    for (const auto& [feature, option] : zqhosttest::Private(dm).selections) settings[feature] = option;
    if (const auto* block = reinterpret_cast<const ZQUIDevmode*>(zqhosttest::OemBlock(dm))) {
        settings["type"] = ZQUtf8(reinterpret_cast<const wchar_t*>(block->szDocTypeName));
        settings["customised"] = std::to_string(block->dwPendingChange);
    }
    return settings;
}

// The entry a Printing Shortcuts page shows as in force: the large-format list's row, else the
// desk page's document type.
std::wstring ShownShortcut(HWND page) {
    WCHAR text[256] = {};
    if (HWND list = GetDlgItem(page, IDC_LB_DOCTYPE_SETTING)) {
        const LRESULT row = SendMessageW(list, LB_GETCURSEL, 0, 0);
        if (row != LB_ERR && SendMessageW(list, LB_GETTEXTLEN, row, 0) < 256)
            SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    } else {
        GetDlgItemTextW(page, IDC_CBO_DOCTYPE_SETTING, text, 256);
    }
    return text;
}

// A row of the core driver's own page set to one of its options.
std::function<void(HWND)> ChooseOnCorePage(const wchar_t* row, const wchar_t* option) {
    return [=](HWND sheet) {
        ASSERT_TRUE(ZQShowPage(sheet, L"Document Options"));
        ASSERT_TRUE(zqhosttest::Choose(ZQCurrentPage(sheet), row, option));
    };
}

// A document type chosen in the Printing Shortcuts page's list (#572 the desk page's, #956 the
// large-format page's, which the simplified interface shows too).
std::function<void(HWND)> ChooseType(const wchar_t* list, const wchar_t* type) {
    return [=](HWND sheet) {
        ASSERT_TRUE(ZQShowPage(sheet, L"Printing Shortcuts"));
        ASSERT_TRUE(ZQChooseOnPage(ZQCurrentPage(sheet), list, type));
    };
}

// A control of a page set as the user sets it: a box "on" or "off", a list's entry by its text.
std::function<void(HWND)> ChooseOn(const wchar_t* page, const wchar_t* control, const wchar_t* entry) {
    return [=](HWND sheet) {
        ASSERT_TRUE(ZQShowPage(sheet, page));
        ASSERT_TRUE(ZQChooseOnPage(ZQCurrentPage(sheet), control, entry));
    };
}

// A page's list entry chosen in the tree its "More..." opens.
std::function<void(HWND)> ChooseInTree(const wchar_t* page, const wchar_t* list, const wchar_t* tree,
                                       const wchar_t* entry, const wchar_t* box = nullptr) {
    return [=](HWND sheet) {
        ASSERT_TRUE(ZQShowPage(sheet, page));
        ZQDialogSteps steps;
        steps.choices = {{tree, entry}};
        ZQDialogSeen seen;
        ASSERT_TRUE(ZQPressForDialog(ZQCurrentPage(sheet), std::wstring(list) + L"=More...", steps, seen) && seen.chosen);
        if (box) {
            ASSERT_TRUE(ZQChooseOnPage(ZQCurrentPage(sheet), box, L"on"));
        }
    };
}

// Every sample printer newly installed under a name of its own, its Printing Preferences opened
// with every page made and closed with OK: untouched, the sheet keeps every setting the installation
// stored, its shortcut page on the type the installation named, Apply never lit. A row's choices, or
// an application's devmode that names no type, leave the settings the row expects; a row may make
// them after a first untouched OK, as a user does. A second untouched sheet keeps the first's devmode
// byte for byte; no untouched sheet writes printer data but the read-only test's "ZQDUMMY". The
// media pop-up's number is stored at the installation only for a printer whose pages fill the pop-up.
TEST_F(SamplesUnderHost, UntouchedSheetsKeepTheSettingsAndWriteNoPrinterData) {
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    const wchar_t* const borderless = L"Borderless Printing";
    const wchar_t* const widePs = L"samples\\zqroll\\zqwideps.zqm";
    // The large-format printers' photo type: its quality group and the quality the group's macros
    // choose, the more passes its medium's rules force, on the wide printers also the standard
    // quality their Paper/Quality slider shows.
    const std::map<std::string, std::string> photo = {{"type", "Photo"}, {"customised", "0"},
        {"PrintQualityGroup", "PQGroup_2"}, {"PrintQuality", "Best"}, {"MediaType", "PHOTO_GLOSS"},
        {"ZQMorePasses", "Enabled"}};
    std::map<std::string, std::string> widePhoto = photo;
    widePhoto["StandardPrintQuality"] = "Best";
    const auto photoOnWide = [](HWND sheet) {
        ChooseType(L"#572", L"Photo")(sheet);
        ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
        EXPECT_EQ(2, SendMessageW(ZQFindPageControl(ZQCurrentPage(sheet), L"#953"), TBM_GETPOS, 0, 0)) << "the quality slider";
    };
    const struct {
        const char* what;
        const wchar_t* model;
        std::function<void(HWND)> choose;  // the first sheet's choices
        bool unnamed;                      // the first sheet is given a devmode that names no type
        std::map<std::string, std::string> expected;  // what the first sheet leaves of those
        bool primed = false;  // an untouched sheet closed with OK before the first
    } rows[] = {
        {"desk", zqhosttest::kDeskModel, nullptr, false, {}},
        // The box stays greyed on a paper without a borderless twin.
        {"borderless on Letter", zqhosttest::kDeskModel,
         [&](HWND sheet) {
             ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
             EXPECT_NE(nullptr, ZQFindGreyedControl(ZQCurrentPage(sheet), borderless));
         },
         false, {{"PaperSize", "LETTER"}, {"ZQBorderLessPhoto", "FALSE"}}},
        {"borderless on Photo 4x6", zqhosttest::kDeskModel,
         ChooseInTree(L"Paper/Quality", L"Size is:", L"#912", L"Photo 4x6 in.", borderless), false,
         {{"PaperSize", "ZQ_BORDERLESS_4X6"}, {"ZQBorderLessPhoto", "TRUE"}}},
        {"desk, no type named", zqhosttest::kDeskModel, nullptr, true,
         {{"InputBin", "TRAY1"}, {"type", "Everyday Printing"}, {"customised", "0"}}},
        {"desk, after an OK: a paper on the core driver's page", zqhosttest::kDeskModel,
         ChooseOnCorePage(L"Paper Size", L"Photo 4x6 in."), false, {{"PaperSize", "PHOTO_4X6"}}, true},
        {"desk, after an OK: a medium on the core driver's page", zqhosttest::kDeskModel,
         ChooseOnCorePage(L"Paper Type", L"Photo Paper, Glossy"), false, {{"MediaType", "PHOTO_GLOSSY"}}, true},
        {"desk, after an OK: a source on the core driver's page", zqhosttest::kDeskModel,
         ChooseOnCorePage(L"Paper Source", L"Tray 2"), false, {{"InputBin", "TRAY2"}}, true},
        {"desk, after an OK: a document type", zqhosttest::kDeskModel, ChooseType(L"#572", L"Photo Printing"), false,
         {{"type", "Photo Printing"}, {"customised", "0"}}, true},
        {"desk, after an OK: borderless on Photo 4x6", zqhosttest::kDeskModel,
         ChooseInTree(L"Paper/Quality", L"Size is:", L"#912", L"Photo 4x6 in.", borderless), false,
         {{"PaperSize", "ZQ_BORDERLESS_4X6"}, {"ZQBorderLessPhoto", "TRUE"}}, true},
        // Two sides printed by the unit the printer has, as its settings say.
        {"desk, two-sided on Finishing", zqhosttest::kDeskModel, ChooseOn(L"Finishing", L"#264", L"on"), false,
         {{"Duplex", "VERTICAL"}, {"public duplex", "2"}, {"ZQUseAutoDuplexUnit", "TRUE"},
          {"ZQPrintOnBothSidesManually", "FALSE"}}},
        {"roll", zqhosttest::kRollModel, nullptr, false, {}},
        {"roll, after an OK: a document type", zqhosttest::kRollModel, ChooseType(L"#956", L"Photo"), false, photo, true},
        {"wide", zqhosttest::kWideModel, nullptr, false, {}},
        {"wide, after an OK: a document type", zqhosttest::kWideModel, photoOnWide, false, widePhoto, true},
        {"wide, after an OK: a medium on the core driver's page", zqhosttest::kWideModel,
         ChooseOnCorePage(L"Paper Type", L"Coated Paper"), false, {{"MediaType", "COATED"}}, true},
        {"publishing", zqhosttest::kPublishModel, nullptr, false, {}},
        {"simplified desk", zqhosttest::kSimpleModel, nullptr, false, {}},
        {"simplified desk, no type named", zqhosttest::kSimpleModel, nullptr, true,
         {{"InputBin", "TRAY1"}, {"type", "Everyday Printing"}, {"customised", "0"}}},
        {"simplified desk, a medium of the user's own", zqhosttest::kSimpleModel,
         ChooseInTree(L"Features", L"#435", L"#497", L"Studio Satin"), false, {{"MediaType", "ZQ_USER_PHOTO"}}},
        {"simplified desk, a borderless paper on the Features page", zqhosttest::kSimpleModel,
         ChooseInTree(L"Features", L"#439", L"#912", L"Photo 4x6 in. (borderless)"), false,
         {{"PaperSize", "ZQ_BORDERLESS_4X6"}, {"ZQBorderLessPhoto", "TRUE"}}},
        {"simplified desk, automatic two-sided on Features", zqhosttest::kSimpleModel,
         ChooseOn(L"Features", L"#918", L"Automatic"), false,
         {{"Duplex", "VERTICAL"}, {"public duplex", "2"}, {"ZQUseAutoDuplexUnit", "TRUE"},
          {"ZQPrintOnBothSidesManually", "FALSE"}}},
        {"simplified desk, after an OK: a medium on the core driver's page", zqhosttest::kSimpleModel,
         ChooseOnCorePage(L"Paper Type", L"Photo Paper, Matte"), false, {{"MediaType", "PHOTO_MATTE"}}, true},
        {"simplified desk, after an OK: a document type", zqhosttest::kSimpleModel,
         ChooseType(L"#956", L"Photo Printing"), false, {{"type", "Photo Printing"}, {"customised", "0"}}, true},
        {"wide PostScript", widePs, nullptr, false, {}},
        {"wide PostScript, after an OK: a document type", widePs, photoOnWide, false, widePhoto, true},
    };
    // The user's own medium, as the maker's media tool records it.
    for (const auto& [value, text] : {std::pair{L"Name", L"Studio Satin"}, {L"Category", L"Photo"}, {L"Quality", L"Best"}})
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Quorvane\\AddNewPaper\\MediaList\\Studio", value, REG_SZ, text,
                        static_cast<DWORD>((wcslen(text) + 1) * sizeof(WCHAR)));
    // The sheets open from an application's window in front, as a user prints: the load's rule
    // checks run against it.
    zqhosttest::AppWindow app;
    std::wstring name;
    CZQSpoolPrinter h;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        // A new printer for each model; a model's further rows start from its settings as installed.
        if (&row == rows || row.model != (&row - 1)->model) {
            if (h) DeletePrinter(h.Get());
            name = L"ZQ Unchanged " + std::to_wstring(&row - rows);
            if (CZQSpoolPrinter old; OpenPrinterW(const_cast<LPWSTR>(name.c_str()), old.Put(), &all))
                DeletePrinter(old.Get());
            ZQInstallResult installed;
            ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(row.model), zqtest::ExeDir(), name, installed))
                << ZQUtf8(installed.error);
            h = Open(name);
            const bool popup = row.model != zqhosttest::kRollModel && row.model != zqhosttest::kPublishModel;
            DWORD type = 0, needed = 0, number = 0;
            EXPECT_EQ(popup, GetPrinterDataW(h.Get(), const_cast<LPWSTR>(L"MediaType"), &type,
                                             reinterpret_cast<BYTE*>(&number), sizeof number, &needed) == ERROR_SUCCESS)
                << "the media pop-up's number stored";
        }
        std::vector<BYTE> given = ZQQueryDevmode(h.Get(), name), first, second;
        auto* block = reinterpret_cast<ZQUIDevmode*>(const_cast<BYTE*>(zqhosttest::OemBlock(given)));
        ASSERT_NE(nullptr, block);
        if (row.unnamed) {
            block->szDocTypeName[0] = 0;
            block->dwPendingChange = 0;
        }
        const bool untouched = !row.choose && !row.unnamed;
        const std::wstring key = L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + name;
        RegDump stored;
        const auto open = [&](const std::vector<BYTE>& in, std::vector<BYTE>& out, const std::function<void(HWND)>& choose) {
            stored.clear();
            DumpKey(HKEY_LOCAL_MACHINE, key, stored);
            bool applyLit = false;
            std::wstring shownType;
            CZQAutoPress press(50, [&](HWND sheet) {
                if (ZQShowPage(sheet, L"Printing Shortcuts")) shownType = ShownShortcut(ZQCurrentPage(sheet));
                if (choose) choose(sheet);
                for (size_t i = zqtest::TabTitles(sheet).size(); i-- > 0;) SendMessageW(sheet, PSM_SETCURSEL, i, 0);
                applyLit = IsWindowEnabled(GetDlgItem(sheet, 0x3021)) != FALSE;  // the sheet's Apply
            });
            app.Front();
            zqhosttest::BoxAnswers boxes;
            ASSERT_EQ(IDOK, ZQOpenPreferences(h.Get(), name, reinterpret_cast<const DEVMODEW*>(in.data()), out));
            EXPECT_TRUE(press.Pressed());
            EXPECT_TRUE(boxes.Boxes().empty()) << "a question asked";
            if (&in == &given && !untouched) return;
            EXPECT_FALSE(applyLit) << "Apply lit by a sheet nobody changed";
            const auto* named = reinterpret_cast<const ZQUIDevmode*>(zqhosttest::OemBlock(in));
            if (!shownType.empty() && named && !named->dwPendingChange) {
                EXPECT_EQ(reinterpret_cast<const wchar_t*>(named->szDocTypeName), shownType) << "the shortcut page opens on, sheet " << (&in == &given ? 1 : 2);
            }
            RegDump after;
            DumpKey(HKEY_LOCAL_MACHINE, key, after);
            // Only the read-only test's own write: "ZQDUMMY" and the time of its key.
            for (RegDump* dump : {&stored, &after})
                for (const wchar_t* part : {L"\\PrinterDriverData", L"\\PrinterDriverData\\ZQDUMMY"})
                    dump->erase(key + part);
            EXPECT_EQ(stored, after) << "printer data written";
        };
        if (row.primed) {
            std::vector<BYTE> installed = given;
            given.clear();
            ASSERT_NO_FATAL_FAILURE(open(installed, given, nullptr));
        }
        ASSERT_NO_FATAL_FAILURE(open(given, first, row.choose));
        const auto got = SettingsOf(first);
        auto want = untouched ? SettingsOf(given) : got;
        for (const auto& [setting, value] : row.expected) want[setting] = value;
        EXPECT_EQ(want, got);
        ASSERT_NO_FATAL_FAILURE(open(first, second, nullptr));
        EXPECT_EQ(first, second) << "the second sheet's devmode";
    }
    if (h) DeletePrinter(h.Get());
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvane\\AddNewPaper");
}

// Bytes of the process's heaps held in blocks of 1 KB and more. Small blocks are left out: the
// system's heap keeps groups of them that it reports busy while they are free.
SIZE_T LargeHeapBytes() {
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    SIZE_T bytes = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry = {};
        if (!HeapLock(heaps[i])) continue;
        while (HeapWalk(heaps[i], &entry))
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) && entry.cbData >= 1024) bytes += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return bytes;
}

}  // namespace

// Every GDI and USER object and every heap block an opening of Printing Preferences makes has an
// owner that frees it by the sheet's close: after a first opening of each printer (what a process
// keeps once), further openings and closes leave the counts as they were. Heap bytes may grow once
// (a cache the process fills late); an opening that leaves a block behind grows them every time (a
// library the sheet loads and COM unloads again included).
TEST_F(SamplesUnderHost, OpeningAndClosingLeavesNoGuiObjectsNorMemory) {
    constexpr int kOpens = 3;
    constexpr SIZE_T kHeapSlack = 32 * 1024;  // what an opening may leave and still count as none
    for (const std::wstring& name : {kDesk, kRoll}) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        CZQSpoolPrinter h = Open(name);
        const auto openAndClose = [&] {
            std::vector<BYTE> out;
            CZQAutoPress press(0, nullptr);
            ZQOpenPreferences(h.Get(), name, nullptr, out);
        };
        openAndClose();
        openAndClose();
        const ZQGuiObjects before = ZQCountGuiObjects();
        int growing = 0;
        for (int i = 0; i < kOpens; ++i) {
            const SIZE_T heapBefore = LargeHeapBytes();
            openAndClose();
            if (LargeHeapBytes() >= heapBefore + kHeapSlack) ++growing;
        }
        const ZQGuiObjects after = ZQCountGuiObjects();
        EXPECT_EQ(before.gdi, after.gdi);
        EXPECT_EQ(before.user, after.user);
        EXPECT_LT(growing, kOpens) << "every opening left heap blocks behind";
    }
}

// The core driver's calls that opening a sample printer's Printing Preferences costs, without the
// plug-in's pages and with them, and a choice: a list asked for again, or a setting read again within
// one refresh, shows here as a count. The lists an opening reads are the sources of the tray record;
// Paper/Quality adds the papers and media of the printer record; leaving it, the export asks for the
// media of the settings again. The reads and reports are the most each step needs now; a new page
// adds its step.
TEST_F(SamplesUnderHost, CallsOfAnOpeningAndOfARefresh) {
    CZQModule driver = zqhosttest::DriverModule(kDesk);  // one core driver module serves both printers
    const auto counts = ZQGetProc<PFN_ZQGetCoreCallCounts>(driver.Get(), "ZQGetCoreCallCounts");
    ASSERT_NE(nullptr, counts);
    auto now = [counts] {
        ZQCoreCallCounts c = {};
        counts(&c);
        return c;
    };
    struct Step {
        const char* name;
        std::function<void(HWND)> run;  // on the sheet; null: the opening itself
        LONG caps, maxReads, maxReports;
    };
    const std::vector<Step> deskSteps = {
        // The opening asks whether posters print for the tile push item, loads the quick sets and
        // checks each against the installed options (the desk printer's colour features among them);
        // it asks for no list: the sources wait for the page that shows them.
        {"opening", nullptr, 0, 70, 2},
        {"Paper/Quality shown", [](HWND sheet) { ZQShowPage(sheet, L"Paper/Quality"); }, 10, 118, 10},
        // The driver's default holds no paper of its own: the quick set in force is compared by its
        // features, each read once.
        {"a choice", [](HWND sheet) { ZQChooseOnPage(ZQCurrentPage(sheet), L"Source is", L"Tray 2"); }, 0, 180, 1},
        {"shown again", [](HWND sheet) {
             ZQShowPage(sheet, L"Document Options");
             ZQShowPage(sheet, L"Paper/Quality");
         }, 2, 67, 2},
        // Finishing reads the two-sided, booklet and poster features its document options follow;
        // the lists it needs were read for this devmode already, and the sheet keeps them.
        {"Finishing shown", [](HWND sheet) { ZQShowPage(sheet, L"Finishing"); }, 0, 118, 2},
        // Leaving Finishing stores it, checking the paper printed on against the printer's papers.
        {"Job Storage shown", [](HWND sheet) { ZQShowPage(sheet, L"Job Storage"); }, 0, 16, 0},
        // Effects reads the form's keywords by trying each option (its destination list leaves
        // banner and borderless papers out), once for the sheet.
        {"Effects shown", [](HWND sheet) { ZQShowPage(sheet, L"Effects"); }, 0, 110, 10},
        // Leaving Effects stores it; Color sets its controls from the features when its window starts
        // and again when it is shown, and reads the greyscale options once more for its layout. The
        // papers' names Effects left behind in the form's name are no other devmode: no list is asked.
        {"Color shown", [](HWND sheet) { ZQShowPage(sheet, L"Color"); }, 0, 140, 18},
        // Greyscale turns sepia off, picks its radio's option and checks the media type's rules;
        // the change check compares the page's lists with the sheet's opening selections.
        {"greyscale chosen", [](HWND sheet) { ZQChooseOnPage(ZQCurrentPage(sheet), L"#422", L"on"); }, 0, 68, 13},
    };
    const std::vector<Step> rollSteps = {
        // The Printing Shortcuts page opens first: its print-preview box and the panel's rows shown
        // with the driver's current options read their features.
        {"opening", nullptr, 0, 47, 2},
        // Features reads the papers' names, sizes and ids for its destination list and its page
        // sizes, and the largest paper once for all its checks of scaling from a larger paper; the
        // form's keywords, read by trying each option, leave banner and borderless papers out.
        {"Features shown", [](HWND sheet) { ZQShowPage(sheet, L"Features"); }, 7, 108, 10},
        // The cutter changes one feature and redraws the roll picture from the lists already read.
        {"cutter chosen", [](HWND sheet) { ZQChooseOnPage(ZQCurrentPage(sheet), L"#1005", L"on"); }, 0, 28, 1},
    };
    const std::pair<std::wstring, const std::vector<Step>*> printers[] = {{kDesk, &deskSteps}, {kRoll, &rollSteps}};
    for (const auto& run : printers) {
        const std::wstring& printer = run.first;
        const std::vector<Step>& steps = *run.second;
        zqhosttest::ResetToDefaults(printer);  // the sheet opens on the core driver's page
        CZQSpoolPrinter h = Open(printer);
        for (const Step& step : steps) {
            SCOPED_TRACE(std::string(printer.begin(), printer.end()) + ": " + step.name);
            ZQCoreCallCounts before = {}, after = {};
            std::vector<BYTE> out;
            {
                // The steps before this one lead to it; the opening's own row runs none.
                CZQAutoPress press(0, [&](HWND sheet) {
                    for (const Step* s = steps.data(); step.run && s <= &step; ++s) {
                        if (!s->run) continue;
                        if (s == &step) before = now();
                        s->run(sheet);
                        RedrawWindow(sheet, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // and painted
                        if (s == &step) after = now();
                    }
                });
                if (!step.run) before = now();
                ZQOpenPreferences(h.Get(), printer, nullptr, out);
                if (!step.run) after = now();
                ASSERT_TRUE(press.Pressed());
            }
            EXPECT_EQ(step.caps, after.lDeviceCapabilities - before.lDeviceCapabilities);
            EXPECT_LE(after.lGetDriverSetting - before.lGetDriverSetting, step.maxReads);
            EXPECT_LE(after.lUpdateUISetting - before.lUpdateUISetting, step.maxReports);
        }
    }
}

// Each list of the core driver's device capabilities is asked once per sheet and devmode (its size
// and its entries, once each): a sheet that shows every page in turn and closes with OK asks no list
// twice with the same devmode. The media loaded in the trays are asked afresh, as they change.
TEST_F(SamplesUnderHost, NoDeviceListAskedTwiceInASheet) {
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kWideModel), zqtest::ExeDir(), L"", installed))
        << ZQUtf8(installed.error);
    for (const std::wstring& printer : {kDesk, kWide, kRoll}) {
        SCOPED_TRACE(ZQUtf8(printer));
        CZQModule driver = zqhosttest::DriverModule(printer);
        const auto counts = ZQGetProc<PFN_ZQGetCoreCallCounts>(driver.Get(), "ZQGetCoreCallCounts");
        const auto calls = ZQGetProc<PFN_ZQGetCoreCapsCalls>(driver.Get(), "ZQGetCoreCapsCalls");
        ASSERT_TRUE(counts && calls);
        const auto made = [counts] {
            ZQCoreCallCounts c = {};
            counts(&c);
            return c.lDeviceCapabilities;
        };
        zqhosttest::ResetToDefaults(printer);
        CZQSpoolPrinter h = Open(printer);
        const LONG first = made();
        std::vector<std::pair<LONG, std::wstring>> steps = {{first, L"the opening"}};  // where each one's calls start
        std::vector<BYTE> out;
        {
            CZQAutoPress press(0, [&](HWND sheet) {
                for (const std::wstring& title : ZQPageTitles(sheet)) {
                    steps.emplace_back(made(), title);
                    ZQShowPage(sheet, title);
                    RedrawWindow(sheet, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // and painted
                }
                steps.emplace_back(made(), L"OK");
            });
            EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
            ASSERT_TRUE(press.Pressed());
        }
        std::vector<ZQCoreCapsCall> record(static_cast<size_t>(made() - first));
        ASSERT_EQ(static_cast<LONG>(record.size()), calls(first, record.data(), static_cast<LONG>(record.size())));
        std::map<std::tuple<WORD, BOOL, DWORD>, int> asked;
        for (size_t i = 0; i < record.size(); ++i) {
            const ZQCoreCapsCall& c = record[i];
            if (c.wCapability == DC_MEDIAREADY) continue;
            const auto step = std::find_if(steps.rbegin(), steps.rend(),
                                           [&](const auto& s) { return s.first <= first + static_cast<LONG>(i); });
            EXPECT_EQ(1, ++asked[std::make_tuple(c.wCapability, c.bOutput, c.dwDevmodeSum)])
                << "capability " << c.wCapability << (c.bOutput ? " (entries)" : " (count)") << " asked again at "
                << ZQUtf8(step->second);
        }
    }
}
