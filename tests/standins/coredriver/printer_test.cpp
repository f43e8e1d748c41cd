// Sample and test printers installed in the test prefix with the core driver stand-in: Printing
// Preferences and Printer Properties opened headless through the spooler and the common property
// sheet, stored devmodes and device settings, capabilities, events, and the calling order that
// zqoemui.dll (behind the recording plug-in) sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "zqowner.h"
#include "zqproc.h"
#include "hosttest.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqhostdm.h"
#include "zqhostpage.h"
#include "zqinstall.h"
#include "zqprinter.h"
#include "zqsession.h"

namespace {

using zqhosttest::Choose;
using zqhosttest::ComboEntries;
using zqhosttest::CurrentPage;
using zqhosttest::OemBlock;
using zqhosttest::Private;
using zqhosttest::RecorderLog;
using zqhosttest::RowOf;
using zqhosttest::RowValue;
using zqhosttest::ScopedEnv;
using zqhosttest::Selected;
using zqhosttest::SelectRow;

const std::wstring kDesk = zqhosttest::kDeskPrinter;
const std::wstring kTest = L"ZQ Host Test Printer";
constexpr DWORD kFullSize = sizeof(DEVMODEW) + zqhostdm::kPrivateSize + 6512;

class Printers : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RecorderLog log;
        for (const auto& [model, name] : {std::make_pair(zqhosttest::kDeskModel, kDesk),
                                          std::make_pair(L"hostdata\\zqrec.zqm", kTest)}) {
            ZQInstallResult result;
            ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(model), zqtest::ExeDir(), L"", result)) << ZQUtf8(result.error);
            ASSERT_EQ(name, result.printerName);
        }
        s_installEvent = log.Contains("DriverEvent(1,3)");
    }
    static bool s_installEvent;

    void SetUp() override {
        // Every test starts from the driver's defaults and the printer's default device settings.
        for (const auto& name : {kDesk, kTest}) zqhosttest::ResetToDefaults(name);
    }

    static CZQSpoolPrinter Open(const std::wstring& name) {
        CZQSpoolPrinter h;
        EXPECT_TRUE(OpenPrinterW(const_cast<LPWSTR>(name.c_str()), h.Put(), nullptr)) << GetLastError();
        return h;
    }

    // Printing Preferences of a printer, OK pressed after `hook` ran in the sheet.
    static std::vector<BYTE> Preferences(const std::wstring& name, std::function<void(HWND)> hook, LONG* rc = nullptr) {
        CZQSpoolPrinter h = Open(name);
        std::vector<BYTE> out;
        CZQAutoPress press(50, std::move(hook));
        const LONG r = ZQOpenPreferences(h.Get(), name, nullptr, out);
        if (rc) *rc = r;
        EXPECT_TRUE(press.Pressed());
        return out;
    }
};

// Both samples bring the status, warning and services modules: they are installed as dependent
// files of the driver, in the directory the plug-in is loaded from.
TEST_F(Printers, SamplePrintersInstallTheirModulesBesideThePlugin) {
    for (const wchar_t* model : {zqhosttest::kDeskModel, zqhosttest::kRollModel}) {
        SCOPED_TRACE(ZQUtf8(model));
        ZQInstallResult result;
        ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(model), zqtest::ExeDir(), L"", result)) << ZQUtf8(result.error);
        EXPECT_TRUE(result.skipped.empty()) << "every module was built";
        const std::vector<BYTE> info = zqhosttest::DriverInfo(result.printerName);
        ASSERT_FALSE(info.empty());
        const auto* di = reinterpret_cast<const DRIVER_INFO_3W*>(info.data());
        std::vector<std::wstring> dependent;
        for (const wchar_t* p = di->pDependentFiles; p && *p; p += wcslen(p) + 1) dependent.emplace_back(p);
        auto installed = [&](const std::wstring& file) {
            for (const auto& path : dependent)
                if (path.size() > file.size() && path.compare(path.size() - file.size(), file.size(), file) == 0 &&
                    path[path.size() - file.size() - 1] == L'\\')
                    return path.substr(0, path.size() - file.size() - 1);
            return std::wstring();
        };
        const std::wstring pluginDir = installed(L"zqoemui.dll");
        ASSERT_FALSE(pluginDir.empty());
        for (const wchar_t* module : {L"zqcoremod.dll", L"zqwarnmod.dll", L"zqservices.dll", L"zqsvcmod.dll"}) {
            EXPECT_NE(result.copied.end(), std::find(result.copied.begin(), result.copied.end(), module)) << ZQUtf8(module);
            EXPECT_EQ(pluginDir, installed(module)) << ZQUtf8(module);
            const std::wstring path = pluginDir + L"\\" + module;
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str())) << ZQUtf8(path);
        }
    }
}

TEST_F(Printers, DevmodeSizeAndDefaultsComeFromTheDriverAndThePlugin) {
    CZQSpoolPrinter h = Open(kDesk);
    EXPECT_EQ(static_cast<LONG>(kFullSize), DocumentPropertiesW(nullptr, h.Get(), const_cast<LPWSTR>(kDesk.c_str()), nullptr, nullptr, 0));
    std::vector<BYTE> dm = ZQQueryDevmode(h.Get(), kDesk);
    ASSERT_EQ(kFullSize, dm.size());
    const auto* pub = reinterpret_cast<const DEVMODEW*>(dm.data());
    EXPECT_EQ(kDesk, pub->dmDeviceName);
    EXPECT_EQ(zqhostdm::kPrivateSize + 6512, pub->dmDriverExtra);
    EXPECT_EQ(DMPAPER_LETTER, pub->dmPaperSize);
    EXPECT_EQ("LETTER", Selected(dm, "PaperSize"));
    EXPECT_EQ("zqdesk.xml", Selected(dm, "ZQXMLFileUsed"));
    const BYTE* block = OemBlock(dm);
    ASSERT_NE(nullptr, block);
    OEM_DMEXTRAHEADER header;
    std::memcpy(&header, block, sizeof header);
    EXPECT_EQ(6512u, header.dwSize);
    EXPECT_EQ(0x5A515549u, header.dwSignature);
    EXPECT_EQ(0x00110010u, header.dwVersion);
}

TEST_F(Printers, PreferencesOpenHeadlessWithTheHostsItems) {
    int rows = 0;
    std::wstring title, status, paper;
    LONG rc = 0;
    std::vector<BYTE> out = Preferences(
        kDesk,
        [&](HWND sheet) {
            HWND page = CurrentPage(sheet);
            rows = ListView_GetItemCount(GetDlgItem(page, kZQIdList));
            WCHAR text[256] = {};
            GetWindowTextW(sheet, text, 256);
            title = text;
            GetDlgItemTextW(page, kZQIdStatus, text, 256);
            status = text;
            paper = RowValue(page, L"Paper Size");
        },
        &rc);
    EXPECT_EQ(IDOK, rc);
    EXPECT_EQ(14 + 2, rows) << "the document items of the model, then the plug-in's layout items under their heading";
    EXPECT_EQ(kDesk + L" Printing Preferences", title);
    EXPECT_NE(std::wstring::npos, status.find(L"\"ZQUI\" 0x00110010, private devmode 6512 bytes")) << status;
    EXPECT_EQ(L"Letter", paper);
    ASSERT_EQ(kFullSize, out.size());
    EXPECT_NE(nullptr, OemBlock(out));
}

TEST_F(Printers, AChoiceInThePageReachesTheDevmodeAndTheStoredDefault) {
    std::vector<BYTE> out = Preferences(kDesk, [](HWND sheet) { EXPECT_TRUE(Choose(CurrentPage(sheet), L"Paper Size", L"A4")); });
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(DMPAPER_A4, reinterpret_cast<const DEVMODEW*>(out.data())->dmPaperSize);
    EXPECT_EQ("A4", Selected(out, "PaperSize"));

    // The printers folder keeps it as the printer's default; the next sheet starts from it.
    {
        CZQSpoolPrinter h = Open(kDesk);
        ASSERT_TRUE(ZQStoreDefaultDevmode(h.Get(), out));
    }
    std::wstring shown;
    Preferences(kDesk, [&](HWND sheet) { shown = RowValue(CurrentPage(sheet), L"Paper Size"); });
    EXPECT_EQ(L"A4", shown);
}

TEST_F(Printers, AStoredDevmodeSurvivesCloseAndReopen) {
    // The offset of a field of the plug-in's block that its merge keeps (watermark angle).
    constexpr size_t kWmAngle = 1772;
    {
        CZQSpoolPrinter h = Open(kDesk);
        std::vector<BYTE> dm = ZQQueryDevmode(h.Get(), kDesk);
        ASSERT_NE(nullptr, OemBlock(dm));
        auto* pub = reinterpret_cast<DEVMODEW*>(dm.data());
        pub->dmOrientation = DMORIENT_LANDSCAPE;
        const DWORD angle = 45;
        std::memcpy(const_cast<BYTE*>(OemBlock(dm)) + kWmAngle, &angle, sizeof angle);
        ASSERT_TRUE(ZQStoreDefaultDevmode(h.Get(), dm));
    }
    CZQSpoolPrinter h = Open(kDesk);
    std::vector<BYTE> back = ZQQueryDevmode(h.Get(), kDesk);
    ASSERT_EQ(kFullSize, back.size());
    EXPECT_EQ(DMORIENT_LANDSCAPE, reinterpret_cast<const DEVMODEW*>(back.data())->dmOrientation);
    EXPECT_EQ("LANDSCAPE_CC90", Selected(back, "Orientation"));
    DWORD angle = 0;
    std::memcpy(&angle, OemBlock(back) + kWmAngle, sizeof angle);
    EXPECT_EQ(45u, angle) << "the plug-in block went through the plug-in's merge";

    std::vector<BYTE> again = Preferences(kDesk, nullptr);
    ASSERT_FALSE(again.empty());
    EXPECT_EQ("LANDSCAPE_CC90", Selected(again, "Orientation"));
}

TEST_F(Printers, PrinterPropertiesStoreDeviceSettingsTheDocumentSees) {
    CZQSpoolPrinter h = Open(kDesk);
    std::wstring title;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            WCHAR text[256] = {};
            GetWindowTextW(sheet, text, 256);
            title = text;
            EXPECT_TRUE(Choose(CurrentPage(sheet), L"Automatic Duplex Unit", L"Not Installed"));
        });
        EXPECT_GT(ZQOpenPrinterProperties(h.Get(), kDesk), 0);
        EXPECT_TRUE(press.Pressed());
    }
    EXPECT_EQ(kDesk + L" Properties", title);
    bool stored = false;
    for (const auto& [key, value] : ZQReadDeviceSettings(h.Get())) stored = stored || (key == "DuplexUnit" && value == "NOTINSTALLED");
    EXPECT_TRUE(stored);

    // Without the duplex unit the document's two-sided options carry the conflict mark.
    std::vector<std::wstring> duplex;
    Preferences(kDesk, [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        EXPECT_TRUE(SelectRow(page, L"Print on Both Sides"));
        duplex = ComboEntries(page);
    });
    EXPECT_EQ((std::vector<std::wstring>{L"None", L"Flip on Long Edge  (conflict)", L"Flip on Short Edge  (conflict)"}), duplex);
}

TEST_F(Printers, UpgradeRegistrySettingChangesOnlyPrinterStickyFeatures) {
    CZQSpoolPrinter h = Open(kTest);
    EXPECT_EQ(S_OK, CZQHostSession::HrUpgradeRegistrySetting(h.Get(), "ZQTray3", "INSTALLED"));
    EXPECT_EQ(E_FAIL, CZQHostSession::HrUpgradeRegistrySetting(h.Get(), "PaperSize", "A4")) << "a document feature";
    EXPECT_EQ(E_FAIL, CZQHostSession::HrUpgradeRegistrySetting(h.Get(), "ZQTray3", "MAYBE"));
    EXPECT_EQ(E_FAIL, CZQHostSession::HrUpgradeRegistrySetting(h.Get(), "NoSuchFeature", "X"));
    const auto settings = ZQReadDeviceSettings(h.Get());
    EXPECT_EQ((zqhostdm::Selections{{"DuplexUnit", "INSTALLED"}, {"ZQTray3", "INSTALLED"}}), settings);
}

TEST_F(Printers, DeviceCapabilitiesAnswerFromTheModel) {
    const wchar_t* name = kDesk.c_str();
    EXPECT_EQ(10, DeviceCapabilitiesW(name, L"FILE:", DC_PAPERS, nullptr, nullptr));
    std::vector<WORD> papers(10);
    EXPECT_EQ(10, DeviceCapabilitiesW(name, L"FILE:", DC_PAPERS, reinterpret_cast<LPWSTR>(papers.data()), nullptr));
    EXPECT_EQ(DMPAPER_LETTER, papers[0]);
    EXPECT_EQ(DMPAPER_A4, papers[3]);
    std::vector<WCHAR> names(10 * 64);
    DeviceCapabilitiesW(name, L"FILE:", DC_PAPERNAMES, names.data(), nullptr);
    EXPECT_STREQ(L"A4", &names[3 * 64]);
    std::vector<POINT> sizes(10);
    DeviceCapabilitiesW(name, L"FILE:", DC_PAPERSIZE, reinterpret_cast<LPWSTR>(sizes.data()), nullptr);
    EXPECT_EQ(2100, sizes[3].x);
    EXPECT_EQ(2970, sizes[3].y);
    std::vector<WCHAR> bins(4 * 24);
    EXPECT_EQ(4, DeviceCapabilitiesW(name, L"FILE:", DC_BINNAMES, bins.data(), nullptr));
    EXPECT_STREQ(L"Automatically Select", bins.data());
    EXPECT_EQ(5, DeviceCapabilitiesW(name, L"FILE:", DC_MEDIATYPES, nullptr, nullptr));
    EXPECT_EQ(1, DeviceCapabilitiesW(name, L"FILE:", DC_DUPLEX, nullptr, nullptr));
    EXPECT_EQ(999, DeviceCapabilitiesW(name, L"FILE:", DC_COPIES, nullptr, nullptr));
    EXPECT_EQ(1, DeviceCapabilitiesW(name, L"FILE:", DC_COLLATE, nullptr, nullptr));
    EXPECT_EQ(90, DeviceCapabilitiesW(name, L"FILE:", DC_ORIENTATION, nullptr, nullptr));
    EXPECT_EQ(1, DeviceCapabilitiesW(name, L"FILE:", DC_COLORDEVICE, nullptr, nullptr));
    std::vector<LONG> res(6);
    EXPECT_EQ(3, DeviceCapabilitiesW(name, L"FILE:", DC_ENUMRESOLUTIONS, reinterpret_cast<LPWSTR>(res.data()), nullptr));
    EXPECT_EQ(1200, res[4]);
    EXPECT_EQ(6, DeviceCapabilitiesW(name, L"FILE:", DC_NUP, nullptr, nullptr));
    EXPECT_EQ(static_cast<int>(kFullSize - sizeof(DEVMODEW)), DeviceCapabilitiesW(name, L"FILE:", DC_EXTRA, nullptr, nullptr));
    EXPECT_EQ(-1, DeviceCapabilitiesW(name, L"FILE:", DC_STAPLE, nullptr, nullptr)) << "a capability it does not have";
    EXPECT_EQ(2, DeviceCapabilitiesW(kTest.c_str(), L"FILE:", DC_PAPERS, nullptr, nullptr))
        << "a hidden option is no capability";
}

TEST_F(Printers, ConvertDevModeSizesAndConvertsForeignDevmodes) {
    CZQModule driver = zqhosttest::DriverModule(kDesk);
    using PFN = BOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
    auto convert = ZQGetProc<PFN>(driver.Get(), "DrvConvertDevMode");
    ASSERT_NE(nullptr, convert);
    LPWSTR name = const_cast<LPWSTR>(kDesk.c_str());
    std::vector<BYTE> out(kFullSize);
    LONG size = 100;
    SetLastError(0);
    EXPECT_FALSE(convert(name, nullptr, reinterpret_cast<DEVMODEW*>(out.data()), &size, CDM_DRIVER_DEFAULT));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(static_cast<LONG>(kFullSize), size);
    EXPECT_FALSE(convert(name, nullptr, reinterpret_cast<DEVMODEW*>(out.data()), &size, CDM_CONVERT)) << "no input";
    EXPECT_FALSE(convert(name, nullptr, reinterpret_cast<DEVMODEW*>(out.data()), &size, 0x80));

    DEVMODEW foreign = {};
    foreign.dmSize = sizeof foreign;
    foreign.dmFields = DM_MEDIATYPE | DM_COLOR;
    foreign.dmMediaType = DMMEDIA_TRANSPARENCY;
    foreign.dmColor = DMCOLOR_MONOCHROME;
    size = static_cast<LONG>(out.size());
    ASSERT_TRUE(convert(name, &foreign, reinterpret_cast<DEVMODEW*>(out.data()), &size, CDM_CONVERT));
    EXPECT_EQ("TRANSPARENCY", Selected(out, "MediaType"));
    EXPECT_EQ("MONO", Selected(out, "ColorMode"));
    EXPECT_NE(nullptr, OemBlock(out)) << "the plug-in block is made for a foreign devmode";
}

bool Printers::s_installEvent = false;

// ---- the calling order zqoemui.dll sees behind the recording plug-in

class RecordedPrinter : public Printers {
protected:
    // The log without the short bindings the core driver makes to answer the device-capabilities
    // calls that the plug-in's fill pass makes (each from PublishDriverInterface to its Release);
    // whether there were any goes to *pCapabilityCalls.
    std::vector<std::string> OuterLines(bool* pCapabilityCalls) const {
        std::vector<std::string> lines = m_log.Lines(), out;
        *pCapabilityCalls = false;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0 && lines[i] == "PublishDriverInterface") {
                size_t end = i;
                bool caps = false;
                while (end < lines.size() && lines[end] != "Release") caps = caps || lines[end++].rfind("DeviceCapabilities(", 0) == 0;
                if (caps && end < lines.size()) {
                    *pCapabilityCalls = true;
                    i = end;
                    continue;
                }
            }
            out.push_back(lines[i]);
        }
        return out;
    }

    // Printing Preferences with the log cleared after the size call the application makes first.
    std::vector<BYTE> RecordedPreferences(std::function<void(HWND)> hook, LONG* rc = nullptr, bool press = true) {
        CZQSpoolPrinter h = Open(kTest);
        LPWSTR name = const_cast<LPWSTR>(kTest.c_str());
        const LONG size = DocumentPropertiesW(nullptr, h.Get(), name, nullptr, nullptr, 0);
        EXPECT_GT(size, 0);
        std::vector<BYTE> out(static_cast<size_t>(size > 0 ? size : 1), 0);
        m_log.Clear();
        std::unique_ptr<CZQAutoPress> auto_;
        if (press) auto_ = std::make_unique<CZQAutoPress>(50, std::move(hook));
        const LONG r = DocumentPropertiesW(nullptr, h.Get(), name, reinterpret_cast<DEVMODEW*>(out.data()), nullptr,
                                           DM_IN_PROMPT | DM_OUT_BUFFER);
        if (rc) *rc = r;
        if (reinterpret_cast<const DEVMODEW*>(out.data())->dmSize == 0) out.clear();
        return out;
    }
    RecorderLog m_log;
};

TEST_F(RecordedPrinter, DocumentSheetCallsComeInTheCoreDriversOrder) {
    ScopedEnv item("ZQREC_ITEM", "1");
    std::vector<BYTE> out = RecordedPreferences(nullptr);
    ASSERT_FALSE(out.empty());
    bool capabilities = false;
    EXPECT_EQ((std::vector<std::string>{"PublishDriverInterface", "GetInfo(1)", "GetInfo(3)", "DevMode(SIZE)",
                                        "DevMode(DEFAULT)", "DevMode(MERGE)", "CommonUIProp(1,count,9)",
                                        "CommonUIProp(1,fill,9)", "HideStandardUI(1)", "DocumentPropertySheets(INIT)",
                                        "Callback(6,Orientation,0)", "DocumentPropertySheets(DESTROY,1)", "Release"}),
              OuterLines(&capabilities));
    EXPECT_FALSE(capabilities) << "the document sheet's fill pass asks for no list its pages have not shown";
}

TEST_F(RecordedPrinter, DeviceSheetCallsComeInTheCoreDriversOrder) {
    ScopedEnv item("ZQREC_ITEM", "1");
    CZQSpoolPrinter h = Open(kTest);
    m_log.Clear();
    {
        CZQAutoPress press(50, nullptr);
        EXPECT_GT(ZQOpenPrinterProperties(h.Get(), kTest), 0);
    }
    bool capabilities = false;
    EXPECT_EQ((std::vector<std::string>{"PublishDriverInterface", "GetInfo(1)", "GetInfo(3)", "DevMode(SIZE)",
                                        "DevMode(DEFAULT)", "DevMode(MERGE)", "CommonUIProp(2,count,2)",
                                        "CommonUIProp(2,fill,2)", "HideStandardUI(2)", "DevicePropertySheets(INIT)",
                                        "Callback(6,DuplexUnit,1)", "DevicePropertySheets(DESTROY,1)", "Release"}),
              OuterLines(&capabilities));
    EXPECT_TRUE(capabilities) << "the device sheet's fill pass records the printer's trays";
}

TEST_F(RecordedPrinter, APluginFailingDevModeLeavesTheHostWorking) {
    ScopedEnv fail("ZQREC_FAIL", "DevMode");
    int rows = 0;
    LONG rc = 0;
    std::vector<BYTE> out = RecordedPreferences(
        [&](HWND sheet) { rows = ListView_GetItemCount(GetDlgItem(CurrentPage(sheet), kZQIdList)); }, &rc);
    EXPECT_EQ(IDOK, rc);
    EXPECT_EQ(8, rows) << "every visible item of the host";
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(nullptr, OemBlock(out));
    EXPECT_EQ((std::vector<std::string>{"PublishDriverInterface", "GetInfo(1)", "GetInfo(3)", "DevMode(SIZE)", "Release"}),
              m_log.Lines());
}

TEST_F(RecordedPrinter, APluginFailingCommonUIPropLeavesTheHostWorking) {
    ScopedEnv fail("ZQREC_FAIL", "CommonUIProp");
    int rows = 0;
    std::vector<BYTE> out = RecordedPreferences(
        [&](HWND sheet) { rows = ListView_GetItemCount(GetDlgItem(CurrentPage(sheet), kZQIdList)); });
    EXPECT_EQ(8, rows);
    ASSERT_FALSE(out.empty());
    EXPECT_NE(nullptr, OemBlock(out)) << "the plug-in keeps its private devmode";
    EXPECT_TRUE(m_log.Contains("CommonUIProp(1,count,9)"));
    EXPECT_TRUE(m_log.Contains("DocumentPropertySheets(INIT)"));
    EXPECT_FALSE(m_log.Contains("CommonUIProp(1,fill,9)"));
}

TEST_F(RecordedPrinter, ThePluginsOwnItemShowsAndReportsItsChanges) {
    ScopedEnv item("ZQREC_ITEM", "1");
    std::wstring value;
    RecordedPreferences([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        EXPECT_TRUE(Choose(page, L"Recorder Item", L"Second"));
        value = RowValue(page, L"Recorder Item");
    });
    EXPECT_EQ(L"Second", value);
    EXPECT_TRUE(m_log.Contains("Callback(0,Recorder Item,1)"));
}

TEST_F(RecordedPrinter, APluginHidingTheStandardUIAndAddingNoPageHasNoSheet) {
    ScopedEnv hide("ZQREC_HIDE", "1");
    // zqoemui.dll behind the recorder would add its Paper/Quality page: the recorder answers itself.
    ScopedEnv noPages("ZQREC_FAIL", "DocumentPropertySheets");
    LONG rc = 0;
    std::vector<BYTE> out = RecordedPreferences(nullptr, &rc, false);
    EXPECT_LT(rc, 0) << "a sheet without pages cannot open";
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(m_log.Contains("HideStandardUI(1)"));
    EXPECT_TRUE(m_log.Contains("DocumentPropertySheets(DESTROY,0)"));
}

TEST_F(RecordedPrinter, EventsAndCapabilitiesReachThePlugin) {
    CZQModule driver = zqhosttest::DriverModule(kTest);
    CZQSpoolPrinter h = Open(kTest);
    LPWSTR name = const_cast<LPWSTR>(kTest.c_str());

    using PFN_Printer = BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM);
    using PFN_Document = INT(WINAPI*)(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID);
    using PFN_Upgrade = BOOL(WINAPI*)(DWORD, LPBYTE);
    using PFN_Job = BOOL(WINAPI*)(HANDLE, PDEVMODEW, DWORD, LPBYTE);
    m_log.Clear();
    EXPECT_TRUE(ZQGetProc<PFN_Printer>(driver.Get(), "DrvPrinterEvent")(name, PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_TRUE(m_log.Contains("PrinterEvent(3)"));
    DWORD job = 7;
    // The plug-in behind the recorder answers the start of a document (nothing to show without a DC).
    EXPECT_EQ(DOCUMENTEVENT_SUCCESS, ZQGetProc<PFN_Document>(driver.Get(), "DrvDocumentEvent")(
                                         h.Get(), nullptr, DOCUMENTEVENT_STARTDOCPOST, sizeof job, &job, 0, nullptr));
    EXPECT_TRUE(m_log.Contains("DocumentEvent(13)"));
    DRIVER_UPGRADE_INFO_1 up = {name, nullptr};
    EXPECT_TRUE(ZQGetProc<PFN_Upgrade>(driver.Get(), "DrvUpgradePrinter")(1, reinterpret_cast<LPBYTE>(&up)));
    EXPECT_TRUE(m_log.Contains("UpgradePrinter(1)"));

    std::vector<BYTE> dm = ZQQueryDevmode(h.Get(), kTest);
    reinterpret_cast<DEVMODEW*>(dm.data())->dmCopies = 3;
    ATTRIBUTE_INFO_3 ai = {};
    EXPECT_TRUE(ZQGetProc<PFN_Job>(driver.Get(), "DrvQueryJobAttributes")(h.Get(), reinterpret_cast<DEVMODEW*>(dm.data()), 3,
                                                                          reinterpret_cast<LPBYTE>(&ai)));
    EXPECT_EQ(3u, ai.dwJobNumberOfCopies);
    EXPECT_EQ(1u, ai.dwDrvNumberOfCopies);
    EXPECT_EQ(1u, ai.dwJobNumberOfPagesPerSide);
    EXPECT_TRUE(m_log.Contains("QueryJobAttributes(3)"));

    m_log.Clear();
    EXPECT_EQ(2, DeviceCapabilitiesW(name, L"FILE:", DC_PAPERS, nullptr, nullptr));
    EXPECT_TRUE(m_log.Contains("DeviceCapabilities(2,2)")) << "the plug-in gets the driver's answer to change";

    // The spooler passes the driver's files by name.
    using PFN_Driver = BOOL(WINAPI*)(DWORD, DWORD, LPBYTE, LPARAM);
    DRIVER_INFO_3W di = {};
    di.cVersion = 3;
    di.pName = name;
    di.pDataFile = const_cast<LPWSTR>(L"zqrec.zqm");
    di.pConfigFile = const_cast<LPWSTR>(L"zqcoreui.dll");
    m_log.Clear();
    EXPECT_TRUE(ZQGetProc<PFN_Driver>(driver.Get(), "DrvDriverEvent")(DRIVER_EVENT_DELETE, 3, reinterpret_cast<LPBYTE>(&di), 0));
    EXPECT_TRUE(m_log.Contains("DriverEvent(2,3)"));
}

TEST_F(RecordedPrinter, InstallingTheDriverRaisesItsDriverEvent) {
    EXPECT_TRUE(s_installEvent) << "AddPrinterDriver lets the driver initialise";
}

}  // namespace
