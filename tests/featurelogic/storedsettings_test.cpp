// The plug-in object with the configuration manager's stored settings, on the in-memory printer:
// when CommonUIProp applies them and what "DMCStatus" records; how one configuration reaches the
// private devmode and the core driver's items, and leaves the stored tree once it holds; the
// watermark and the quality it gives; and the devmodes after a change on a page, section by section.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "featurelogic/zqconfigapply.h"
#include "formats/zqwatermarkrecord.h"
#include "optitemfixture.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmlparser.h"
#include "zqmemprinter.h"
#include "zqoemui.h"

namespace {

using zqtest::FixtureFeature;
using zqtest::ListFeature;
namespace zs = zqsettings;

constexpr WCHAR kGuid[] = L"{5A510018-4E2B-4C6A-9D3E-17F0A2B3C4D5}";
const std::wstring kUserKey = std::wstring(L"Software\\Quorvane\\") + kGuid;

// "Name=Value ..." pairs.
std::vector<std::pair<std::wstring, std::wstring>> Pairs(const std::wstring& text) {
    std::vector<std::pair<std::wstring, std::wstring>> out;
    std::wistringstream in(text);
    for (std::wstring w; in >> w;) out.push_back({w.substr(0, w.find(L'=')), w.substr(w.find(L'=') + 1)});
    return out;
}

// "KEY KEY ..." as options named like their keywords.
FixtureFeature Feature(const char* keyword, const std::string& keys, BYTE pubId = 0, bool own = false) {
    std::vector<std::pair<std::string, std::wstring>> options;
    std::istringstream in(keys);
    for (std::string k; in >> k;) options.push_back({k, std::wstring(k.begin(), k.end())});
    FixtureFeature f = ListFeature(keyword, options, 0, pubId);
    f.oem = own;
    return f;
}

struct PluginDeleter {
    void operator()(CZQOemUI* p) const { p->Release(); }
};

// A plug-in object bound to a sheet of the memory printer: a desktop printer's items and lists,
// sources 15/257/258 (the first with a standard name), media 1/258, papers Letter, A4, A5.
class Sheet {
public:
    explicit Sheet(std::vector<FixtureFeature> features = {}) {
        const WORD bins[] = {15, 257, 258}, papers[] = {DMPAPER_LETTER, DMPAPER_A4, DMPAPER_A5};
        const POINT sizes[] = {{2159, 2794}, {2100, 2970}, {1480, 2100}};
        const DWORD media[] = {1, 258};
        const WCHAR binNames[3][24] = {L"Automatic", L"TRAY1", L"TRAY2"};
        m_printer.SetCapability(DC_BINS, bins, 3, sizeof(WORD));
        m_printer.SetCapability(DC_BINNAMES, binNames, 3, sizeof binNames[0]);
        m_printer.SetCapability(DC_PAPERS, papers, 3, sizeof(WORD));
        m_printer.SetCapability(DC_PAPERSIZE, sizes, 3, sizeof(POINT));
        m_printer.SetCapability(DC_MEDIATYPES, media, 2, sizeof(DWORD));
        m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        m_printer.Install();
        FixtureFeature source = Feature("InputBin", "AUTOSELECT TRAY1 TRAY2", DMPUB_DEFSOURCE), copies;
        source.options[0].nameResId = 64718;
        copies.keyword = "Copies";
        copies.kind = zqtest::FixtureKind::UpDown;
        copies.pubId = DMPUB_COPIES_COLLATE;
        copies.sel = 1;
        features.insert(features.end(),
                        {Feature("Orientation", "PORTRAIT LANDSCAPE", DMPUB_ORIENTATION),
                         Feature("PaperSize", "LETTER A4~Plain A5", DMPUB_FORMNAME), source, copies,
                         Feature("MediaType", "PLAIN GLOSSY", DMPUB_MEDIATYPE),
                         Feature("Duplex", "NONE VERTICAL HORIZONTAL", DMPUB_DUPLEX),
                         Feature("NUpChoice", "1 2 4", DMPUB_NUP), Feature("PageOrder", "FRONT BACK", DMPUB_PAGEORDER),
                         Feature("JCLThriftmode", "FALSE TRUE"), Feature("ZQOrientRotate180", "FALSE TRUE"),
                         Feature("OutputBin", "Upper Stapler"), Feature("Memory", "16MB 32MB 64MB"),
                         Feature("AccessoryOutputBins", "None 500Stapler"),
                         Feature("ZQOrientationCopy", "0 1", zs::kOwnOrientationPubId, true),
                         Feature("ZQPageOrderCopy", "0 1", zs::kOwnPageOrderPubId, true),
                         zqtest::ValueFeature("ZQPDLType", "PCL3")});
        for (const FixtureFeature& f : features) m_host.Add(f);
        m_host.Build();
        m_heap = HeapCreate(0, 0, 0);
        CZQCommon().BFillDefaultDevmode(&m_dm, nullptr);
        m_pub.dmSize = sizeof m_pub;
        m_param = *m_host.Param();
        m_param.hPrinter = m_printer.Open();
        m_param.pPrinterName = const_cast<PWSTR>(L"ZQ Memory Printer");
        m_param.hOEMHeap = m_heap;
        m_param.pPublicDM = &m_pub;
        m_param.pOEMDM = &m_dm;
    }
    ~Sheet() {
        m_plugin.reset();
        HeapDestroy(m_heap);
        RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str());
    }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    // CommonUIProp as the core driver calls it: the count pass binds (and the fixture's own items
    // stand for the plug-in's), the fill pass prepares.
    void Open(DWORD mode, bool fill = false) {
        m_param.pOEMOptItems = nullptr;
        ASSERT_EQ(S_OK, m_plugin->CommonUIProp(mode, &m_param));
        const DWORD counted = m_param.cOEMOptItems;
        m_param.pOEMOptItems = m_host.Param()->pOEMOptItems;
        m_param.cOEMOptItems = m_host.Param()->cOEMOptItems;
        if (!fill) return;
        m_param.cOEMOptItems = counted;
        m_items.assign(counted + 1, OPTITEM{});
        m_param.pOEMOptItems = m_items.data();
        ASSERT_EQ(S_OK, m_plugin->CommonUIProp(mode, &m_param));
    }
    std::wstring Number(const wchar_t* name) {
        std::vector<BYTE> data;
        DWORD value = 0;
        if (!m_printer.GetValue(L"PrinterDriverData", name, nullptr, &data) || data.size() != 4) return L"-";
        std::memcpy(&value, data.data(), 4);
        return std::to_wstring(value);
    }

    zqspool::CZQMemoryPrinter m_printer;
    zqtest::COptItemFixture m_host;
    HANDLE m_heap = nullptr;
    ZQUIDevmode m_dm = {};
    DEVMODEW m_pub = {};
    OEMCUIPPARAM m_param = {};
    std::vector<OPTITEM> m_items;
    std::unique_ptr<CZQOemUI, PluginDeleter> m_plugin{new CZQOemUI()};
};

TEST(StoredSettings, AppliedWhileTheInstallationRunsAndTheFirstOutcomeRecorded) {
    const struct {
        const char* what;
        DWORD mode;
        const wchar_t* root;  // numbers at the printer data's root
        const wchar_t* optItems;
        const wchar_t* physical;
        const char* selected;  // media, memory, output accessory
        const wchar_t* after;  // "DMCStatus PrnPropChng", "-" for none
    } cases[] = {
        {"document settings applied", 1, L"", L"MediaType=GLOSSY", L"", "GLOSSY 16MB None", L"3 -"},
        {"document settings the items already hold: none left", 1, L"", L"MediaType=PLAIN", L"", "PLAIN 16MB None",
         L"2 -"},
        {"after the installation nothing", 1, L"InstallationComplete=0", L"MediaType=GLOSSY", L"", "PLAIN 16MB None",
         L"- -"},
        {"a recorded outcome stays", 1, L"InstallationComplete=1 DMCStatus=2", L"MediaType=GLOSSY", L"",
         "GLOSSY 16MB None", L"2 -"},
        {"the printer configured itself", 1, L"EACStatus=3", L"", L"Memory=64", "PLAIN 16MB None", L"1 -"},
        {"nothing stored", 1, L"EACStatus=3", L"", L"", "PLAIN 16MB None", L"2 -"},
        {"installed options applied", 2, L"", L"MediaType=GLOSSY", L"Memory=48 AccessoryOutputBins=W5274",
         "PLAIN 32MB 500Stapler", L"3 1"},
        {"no installed options: no outcome yet", 2, L"", L"", L"", "PLAIN 16MB None", L"- -"},
        {"the printer's own answers come first", 2, L"DevSetUpdate=1", L"", L"Memory=64", "PLAIN 16MB None", L"- -"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sheet s;
        for (const auto& [name, value] : Pairs(c.optItems)) s.m_printer.PutString(zs::kDriverDataOptItems, name, value);
        for (const auto& [name, value] : Pairs(c.physical)) s.m_printer.PutString(zs::kDriverDataPhysical, name, value);
        for (const auto& [name, value] : Pairs(c.root)) {
            const DWORD number = std::stoul(value);
            s.m_printer.PutValue(L"PrinterDriverData", name, REG_DWORD, &number, sizeof number);
        }
        s.Open(c.mode);
        EXPECT_TRUE(CZQConfigApply(s.m_plugin->BindingForTesting()).BApplyConfigManagerData(c.mode));
        EXPECT_EQ(c.selected, s.m_host.Current("MediaType") + " " + s.m_host.Current("Memory") + " " +
                                  s.m_host.Current("AccessoryOutputBins"));
        EXPECT_EQ(c.after, s.Number(zs::kDMCStatus) + L" " + s.Number(zs::kPrnPropChng));
    }
    // The memory range that holds the size: above every range the largest, at or below the first the first.
    Sheet m;
    m.Open(OEMCUIP_PRNPROP);
    for (const auto& [size, option] : {std::pair{L"8", "16MB"}, {L"512", "64MB"}, {L"16", "16MB"}}) {
        EXPECT_TRUE(m.m_plugin->BindingForTesting().driverData.BApplyInstalledMemory(&m.m_param, L"Memory", size));
        EXPECT_EQ(option, m.m_host.Current("Memory")) << size;
    }
    // The worker applies them in its fill pass, and the pages start from what it applied.
    Sheet s;
    s.m_printer.PutString(zs::kDriverDataDevModeItems, L"DuplexEdge", L"ShortEdge");
    s.Open(OEMCUIP_DOCPROP, true);
    EXPECT_EQ(3u, s.m_dm.wDuplex);
    EXPECT_EQ(3u, (&s.m_plugin->BindingForTesting().logic)->WorkDM()->wDuplex);
    EXPECT_FALSE(CZQConfigApply(s.m_plugin->BindingForTesting()).BApplyConfigManagerData(3));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
}

TEST(StoredSettings, OneConfigurationReachesTheItemsAndLeavesTheTreeOnceItHolds) {
    using Fields = std::vector<long long>;
    const struct {
        const char* what;
        const wchar_t* optItems;
        const wchar_t* devModeItems;
        const char* selected;  // feature=option after the pass
        Fields (*fields)(Sheet&);
        Fields expected;
        const wchar_t* kept;  // option items still stored after a second pass
    } cases[] = {
        {"holds, applied, no such option, empty",
         L"PaperSize=LETTER MediaType=GLOSSY ThriftMode=TRUE OutputBin=Lower Copies=", L"",
         "MediaType=GLOSSY JCLThriftmode=TRUE OutputBin=Upper",
         [](Sheet& s) {
             const ZQUIDevmode& d = s.m_dm;
             return Fields{d.dwFirstPageMedia, d.dwOtherPagesMedia, d.dwThriftMode, d.dwOutputBinPresent};
         },
         {258, 258, 3, 1}, L"OutputBin Copies"},
        {"a source the item does not show yet is applied, not dropped", L"InputBin=TRAY1", L"", "InputBin=TRAY1",
         [](Sheet& s) { return Fields{s.m_dm.dwFirstPageSource, s.m_dm.dwOtherPagesSource}; }, {257, 257}, L""},
        {"the first source, which the item shows, is applied again and stays", L"InputBin=AUTOSELECT", L"",
         "InputBin=AUTOSELECT", [](Sheet& s) { return Fields{s.m_dm.dwFirstPageSource}; }, {0}, L"InputBin"},
        {"a different first page: the item shows the other pages' source", L"InputBin=TRAY1 InputBinRest=TRAY2",
         L"UseDiffFirstPageChoice=DifferentFirstPage BackCoverChoice=UseFirstPage", "InputBin=TRAY2",
         [](Sheet& s) {
             const ZQUIDevmode& d = s.m_dm;
             return Fields{d.dwFirstPageSource, d.dwOtherPagesSource, d.dwBackCoverSource};
         },
         {257, 258, 257}, L"InputBinRest"},
        {"booklet on the left edge: short edge, two pages turned on a portrait sheet", L"Orientation=Portrait",
         L"BookletPrintingChoice=LeftEdge ScaleChoice=50", "Duplex=HORIZONTAL Orientation=PORTRAIT",
         [](Sheet& s) {
             const ZQUIDevmode& d = s.m_dm;
             return Fields{d.dwPagesPerSheet, d.wDuplex, d.dwScalePercent, d.dwFlipPagesUp};
         },
         {2, 3, 100, 0}, L"Orientation"},
        {"turned landscape, page order, copies, four pages, a paper with a suffix, a target paper",
         L"Orientation=Landscape_CC270 PageOrder=BackToFront Copies=3 NUpChoice=FourUp PaperSize=A4 "
         L"TargetSizeChoice=A5",
         L"FitToOtherSizeChoice=FitToOtherSize DuplexEdge=LongEdge",
         "Orientation=LANDSCAPE ZQOrientRotate180=TRUE PageOrder=BACK NUpChoice=4 PaperSize=A4~Plain "
         "Duplex=VERTICAL Copies=3",
         [](Sheet& s) {
             const ZQUIDevmode& d = s.m_dm;
             return Fields{d.wOrientation, d.dwRotate180, d.dwPrintedOnPaper, d.dwFlipPagesUp,
                           s.m_host.Item("ZQOrientationCopy")->Sel, s.m_host.Item("ZQPageOrderCopy")->Sel};
         },
         {2, 1, DMPAPER_A5, 1, 1, 1},
         // What the driver's keyword never equals is applied again on every pass.
         L"Orientation TargetSizeChoice PageOrder NUpChoice PaperSize"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sheet s;
        for (const auto& [name, value] : Pairs(c.optItems)) s.m_printer.PutString(zs::kDriverDataOptItems, name, value);
        for (const auto& [name, value] : Pairs(c.devModeItems))
            s.m_printer.PutString(zs::kDriverDataDevModeItems, name, value);
        s.Open(OEMCUIP_DOCPROP);
        EXPECT_TRUE(CZQConfigApply(s.m_plugin->BindingForTesting()).BApplyConfigManagerData(OEMCUIP_DOCPROP));
        std::istringstream selected(c.selected);
        for (std::string f; selected >> f;)
            EXPECT_EQ(f.substr(f.find('=') + 1), s.m_host.Current(f.substr(0, f.find('=')))) << f;
        EXPECT_EQ(c.expected, c.fields(s));
        EXPECT_TRUE(CZQConfigApply(s.m_plugin->BindingForTesting()).BApplyConfigManagerData(OEMCUIP_DOCPROP));
        const std::wstring kept = std::wstring(L" ") + c.kept + L" ";
        for (const auto& [name, value] : Pairs(c.optItems))
            EXPECT_EQ(kept.find(L" " + name + L" ") != std::wstring::npos,
                      s.m_printer.GetValue(zs::kDriverDataOptItems, name, nullptr, nullptr))
                << std::string(name.begin(), name.end());
    }
    // A spooler that refuses deletions (as Wine's does) is reported; the pass goes on.
    Sheet s;
    for (const auto& [name, value] : Pairs(L"MediaType=PLAIN PaperSize=A5"))
        s.m_printer.PutString(zs::kDriverDataOptItems, name, value);
    s.m_printer.FailCall(zqspool::MemCall::DeletePrinterDataEx, ERROR_INVALID_PARAMETER);
    s.Open(OEMCUIP_DOCPROP);
    EXPECT_FALSE(CZQConfigApply(s.m_plugin->BindingForTesting()).BApplyConfigManagerData(OEMCUIP_DOCPROP));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ("A5", s.m_host.Current("PaperSize"));
    EXPECT_EQ(L"3", s.Number(zs::kDMCStatus));
}

int CALLBACK FirstTrueType(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM lParam) {
    if (!(type & TRUETYPE_FONTTYPE)) return 1;
    *reinterpret_cast<std::wstring*>(lParam) = font->lfFaceName;
    return 0;
}

// A conversion run's snapshot, under the process's run key, its "Printing" items filed as the run
// files them: the worker applies it only while the run flag is up; document properties take its
// items, printer properties its installed options (and mark the change), unless the printer
// answered for them itself.
TEST(StoredSettings, AConversionRunsSnapshotReachesTheItemsOfItsMode) {
    WCHAR runKey[CZQCommon::kRunKeyChars];
    ASSERT_TRUE(CZQCommon::BBuildRunKeyPath(GUID_NULL, runKey, CZQCommon::kRunKeyChars));
    const std::wstring run = runKey;
    const struct {
        const char* what;
        DWORD mode;
        bool running;
        const wchar_t* root;  // numbers at the printer data's root
        const wchar_t* printing;
        const wchar_t* physical;
        const char* selected;    // media, memory, output accessory, turned by 180, grey scale
        const char* devmode;     // orientation, turned by 180, scale, pages per sheet, grey flag, colour
        const wchar_t* changed;  // "PrnPropChng", "-" for none
    } cases[] = {
        {"document settings of the run", 1, true, L"", L"MediaType=GLOSSY", L"Memory=64",
         "GLOSSY 16MB None FALSE FALSE", "1 0 100 1 0 1", L"-"},
        {"the run's own first page", 1, true, L"", L"UseDiffFirstPageChoice=DiffFirstPage MediaType=GLOSSY "
         L"MediaTypeRest=PLAIN", L"", "PLAIN 16MB None FALSE FALSE", "1 0 100 1 0 1", L"-"},
        {"no run", 1, false, L"", L"MediaType=GLOSSY", L"", "PLAIN 16MB None FALSE FALSE", "1 0 100 1 0 1", L"-"},
        {"installed options of the run", 2, true, L"", L"MediaType=GLOSSY", L"Memory=48 AccessoryOutputBins=W5274",
         "PLAIN 32MB 500Stapler FALSE FALSE", "1 0 100 1 0 1", L"1"},
        {"no installed options", 2, true, L"", L"MediaType=GLOSSY", L"", "PLAIN 16MB None FALSE FALSE",
         "1 0 100 1 0 1", L"-"},
        {"the printer's own answers come first", 2, true, L"DevSetUpdate=1", L"", L"Memory=64",
         "PLAIN 16MB None FALSE FALSE", "1 0 100 1 0 1", L"-"},
        // Devmode items all: a counter-clockwise landscape is not turned by 180, pages per sheet
        // leave the scale that follows them whole, the grey flag stays the devmode's.
        {"a counter-clockwise landscape", 1, true, L"", L"Orientation=Landscape_CC90", L"",
         "PLAIN 16MB None FALSE FALSE", "2 0 100 1 0 1", L"-"},
        {"two pages per sheet at half scale", 1, true, L"", L"NUpChoice=TwoUp ScaleChoice=50", L"",
         "PLAIN 16MB None FALSE FALSE", "1 0 100 2 0 1", L"-"},
        {"colour printed as grey", 1, true, L"", L"PrintColorAsGray=True", L"", "PLAIN 16MB None FALSE FALSE",
         "1 0 100 1 1 1", L"-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegDeleteTreeW(HKEY_CURRENT_USER, run.c_str());
        Sheet s({Feature("ZQPrintInGrayScale", "FALSE TRUE")});
        auto put = [&](PCWSTR root, const wchar_t* pairs) {
            for (const auto& [name, value] : Pairs(pairs)) {
                const std::wstring key = run + L"\\" + CZQDriverData::PszItemTree(root, name.c_str(), TRUE);
                RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, value.c_str(),
                                static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR)));
            }
        };
        put(L"Printing", c.printing);
        put(L"Physical", c.physical);
        if (c.running)
            RegSetKeyValueW(HKEY_CURRENT_USER, run.c_str(), L"ProcessingOndrel", REG_SZ, L"TRUE", 5 * sizeof(WCHAR));
        for (const auto& [name, value] : Pairs(c.root)) {
            const DWORD number = std::stoul(value);
            s.m_printer.PutValue(L"PrinterDriverData", name, REG_DWORD, &number, sizeof number);
        }
        const DWORD done = 0;
        s.m_printer.PutValue(L"PrinterDriverData", L"InstallationComplete", REG_DWORD, &done, sizeof done);
        s.Open(c.mode, true);
        std::string selected;
        for (const char* f : {"MediaType", "Memory", "AccessoryOutputBins", "ZQOrientRotate180", "ZQPrintInGrayScale"})
            selected += (selected.empty() ? "" : " ") + s.m_host.Current(f);
        EXPECT_EQ(c.selected, selected);
        const ZQUIDevmode& d = s.m_dm;
        std::ostringstream devmode;
        devmode << d.wOrientation << ' ' << d.dwRotate180 << ' ' << d.dwScalePercent << ' ' << d.dwPagesPerSheet << ' '
                << d.dwPrintAsGray << ' ' << d.wColor;
        EXPECT_EQ(c.devmode, devmode.str());
        EXPECT_EQ(c.changed, s.Number(zs::kPrnPropChng));
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, run.c_str());
}

TEST(StoredSettings, TheWatermarkGoesToTheDevmodeAndThePoolAndTheQualityToItsGroup) {
    const std::wstring kPool = L"ZQPresetRoot\\WatermarkPoolData";
    std::wstring face;  // a font the import accepts
    HDC screen = GetDC(nullptr);
    EnumFontsW(screen, nullptr, &FirstTrueType, reinterpret_cast<LPARAM>(&face));
    ReleaseDC(nullptr, screen);
    ASSERT_FALSE(face.empty());
    const struct {
        const wchar_t* stored;  // null: none
        const wchar_t* font;
        const wchar_t* name;
        const wchar_t* poolValue;
        const wchar_t* fontAfter;
        bool pooled;  // the pool holds " [none]" at 0 and "Memo" at 4 first: neither is written over
    } cases[] = {
        {L"draft", face.c_str(), L"Draft", L"WatermarkPool:2", face.c_str(), false},
        {L"Company Secret", L"No Such Face", L"Company Secret", L"WatermarkPool:4", L"Arial", false},
        {L"", nullptr, L" [none]", L"WatermarkPool:0", L"Arial", false},
        {nullptr, nullptr, L"Mine", L"WatermarkPool:0", L"Arial", false},
        {L"Company Secret", nullptr, L"Company Secret", L"WatermarkPool:5", L"Arial", true},
        {nullptr, nullptr, L"Mine", L"WatermarkPool:5", L"Arial", true},
        {L"MEMO", nullptr, L"MEMO", L"WatermarkPool:4", L"Arial", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sheet s;
        s.Open(OEMCUIP_DOCPROP);
        for (int i = 0; c.pooled && i <= 4; i += 4) {
            ZQWatermarkRecord r = {};
            lstrcpyW(r.szName, i ? L"Memo" : L" [none]");
            std::vector<BYTE> bytes(zqwm::kRecordBytes);
            zqwm::Write(r, bytes.data());
            s.m_printer.PutValue(kPool, L"WatermarkPool:" + std::to_wstring(i), REG_BINARY, bytes.data(),
                                 zqwm::kRecordBytes);
        }
        lstrcpyW(s.m_dm.szWmName, L"Mine");
        lstrcpyW(s.m_dm.szWmText, L"Mine");
        if (c.stored) s.m_printer.PutString(zs::kDriverDataDevModeItems, L"Watermarks", c.stored);
        if (c.font) s.m_printer.PutString(zs::kDriverDataDevModeItems, L"WMFont", c.font);
        EXPECT_EQ(c.stored && c.stored[0], (&s.m_plugin->BindingForTesting().logic)->BImportDMCWatermarks() != FALSE);
        EXPECT_STREQ(c.name, s.m_dm.szWmName);
        EXPECT_STREQ(c.name, s.m_dm.szWmText);
        EXPECT_STREQ(c.fontAfter, s.m_dm.szWmFont);
        // The pool's record starts with the name.
        std::vector<BYTE> record;
        ASSERT_TRUE(s.m_printer.GetValue(kPool, c.poolValue, nullptr, &record));
        ASSERT_EQ(1568u, record.size());
        EXPECT_EQ(0, std::memcmp(record.data(), c.name, wcslen(c.name) * 2 + 2));
        EXPECT_TRUE(!c.pooled || (s.m_printer.GetValue(kPool, L"WatermarkPool:0", nullptr, &record) &&
                                  std::memcmp(record.data(), L" [none]", 14) == 0));
    }

    // The install-time event's states and mapping reach the quality items.
    FixtureFeature groups = ListFeature("PrintQualityGroup", {{"PQ0", L"Draft"}, {"PQ1", L"Normal"}, {"PQ2", L"Best"}});
    groups.options[0].hidden = true;
    Sheet s({groups, ListFeature("ZQTurboMode", {{"Off", L"Off"}, {"On", L"On"}})});
    s.Open(OEMCUIP_DOCPROP);
    CZQXmlParserCommon& parser = *s.m_plugin->BindingForTesting().XmlParser();
    parser.VSetLoaded(TRUE);
    parser.m_quality.adwOption[1] = 1;
    parser.m_quality.dwTurboMode = 2;
    lstrcpyW(parser.m_szQualityGroupValue, L"PrintQualityGroup.PQ2");
    (&s.m_plugin->BindingForTesting().logic)->VApplyQualityRuleStates(s.m_plugin->BindingForTesting().pRules);
    (&s.m_plugin->BindingForTesting().logic)->VApplyImportedPrintQuality(s.m_plugin->BindingForTesting().pRules);
    const OPTPARAM* options = s.m_host.Item("PrintQualityGroup")->pOptType->pOptParam;
    EXPECT_EQ(OPTPF_HIDE, (options[0].Flags & OPTPF_HIDE) << 1 | (options[1].Flags & OPTPF_HIDE));
    EXPECT_EQ("PQ2", s.m_host.Current("PrintQualityGroup"));
    EXPECT_NE(0u, s.m_host.Item("ZQTurboMode")->Flags & OPTIF_DISABLED);

    // The media type and quality the sheet shows reach the rule engine's keywords, also before the
    // core driver hears of them.
    s.m_host.Item("MediaType")->Sel = 1;
    s.m_host.Item("PrintQualityGroup")->Sel = 1;
    (&s.m_plugin->BindingForTesting().logic)->VReadMediaQualityKeywords(s.m_plugin->BindingForTesting().pRules);
    EXPECT_STREQ(L"GLOSSY", parser.m_szMediaTypeValue);
    EXPECT_STREQ(L"PQ1", parser.m_szQualityGroupValue);

    // Under PostScript the turbo-mode state acts on the JCL item.
    Sheet ps({ListFeature("ZQTurboMode", {{"Off", L"Off"}, {"On", L"On"}}),
              ListFeature("JCLZQTurboMode", {{"Off", L"Off"}, {"On", L"On"}})});
    ps.m_dm.dwPdl = kPdlPostScript;
    ps.Open(OEMCUIP_DOCPROP);
    CZQXmlParserCommon& psParser = *ps.m_plugin->BindingForTesting().XmlParser();
    psParser.VSetLoaded(TRUE);
    psParser.m_quality.dwTurboMode = 2;
    (&ps.m_plugin->BindingForTesting().logic)->VApplyQualityRuleStates(ps.m_plugin->BindingForTesting().pRules);
    EXPECT_NE(0u, ps.m_host.Item("JCLZQTurboMode")->Flags & OPTIF_DISABLED);
    EXPECT_EQ(0u, ps.m_host.Item("ZQTurboMode")->Flags & OPTIF_DISABLED);
}

// The sheet's Effects page, as the synchronisation reaches its watermark pool.
struct PoolSaves : IZQSheetWatermarks {
    int saves = 0;
    BOOL BSaveSheetWatermarks() override {
        ++saves;
        return TRUE;
    }
};

TEST(DevmodeSync, EachSectionReachesTheDriversDevmodeUnderItsCondition) {
    const struct {
        const char* what;
        DWORD layoutMode, colorMode, quickSet, jobStorageWord, jobStorageOn;
        bool effects, jobOptions, jobStorage, quickSetMerged;
        const wchar_t* datatype;  // the printer's
        int manualFeed;           // the option of "ManualFeedOrientation", -1 none
    } cases[] = {
        {"every condition met", 3, 2, 1, 0, 1, true, true, true, true, L"RAW", 1},
        {"none met", 1, 1, 0, 0, 0, false, false, false, false, L"NT EMF 1.008", -1},
        {"job storage marked by its own word", 2, 1, 0, 7, 0, false, false, true, false, L"TEXT", 0},
    };
    FixtureFeature scale = ListFeature("Scale", {{"100", L"100"}}, 0, DMPUB_SCALE);
    scale.flags = OPTIF_HIDE;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FixtureFeature manualFeed = Feature("ManualFeedOrientation", "ShortEdgeFirst LongEdgeFirst");
        manualFeed.sel = c.manualFeed;
        Sheet s(c.manualFeed < 0 ? std::vector<FixtureFeature>{scale} : std::vector<FixtureFeature>{scale, manualFeed});
        s.m_printer.Identity().datatype = c.datatype;
        s.Open(OEMCUIP_DOCPROP, true);
        ZQUIDevmode& core = s.m_dm;
        ZQUIDevmode& work = *(&s.m_plugin->BindingForTesting().logic)->WorkDM();
        core.dwLayoutMode = c.layoutMode;
        core.dwColorMode = c.colorMode;
        core.dwQuickSetInUse = c.quickSet;
        core.dwJs3024 = c.jobStorageWord;
        core.dwJobStorageAvailable = c.jobStorageOn;
        core.dwJsLayout = 2;
        core.dwPdl = zqdm::kPdlPostScript;
        core.aiImageShift[0] = 9;
        // The pages' changes in the working copy.
        work.dwFirstPageSource = 77;
        work.wOrientation = 2;
        work.dwBooklet = 2;
        work.dwDocumentMode = 5;
        work.aiRecentPaperSizes[0] = 4;
        work.dwWmAngle = 33;
        work.dwScalePercent = 75;
        work.dwRetentionMode = 4;
        work.dwSepia = 1;
        work.dwPendingChange = 1;
        work.dwDocTypeScaling = 50;
        lstrcpyW(work.szAppText, L"ACC");
        lstrcpyW(work.szJsUserName, L"NEW");
        lstrcpyW(work.szQuickSetName, L"Mine");
        s.m_pub.dmPaperSize = DMPAPER_A4;
        PoolSaves pool;
        CZQSettingsExchange(s.m_plugin->BindingForTesting(), nullptr, &pool).VSyncAfterChange();
        // The watermark pool goes with the effects, whatever marks the page keeps.
        EXPECT_EQ(c.effects ? 1 : 0, pool.saves);

        // The chosen paper's size everywhere; always the paper source, page, finishing, document
        // options, recent papers, job-storage user and quick set's name.
        EXPECT_EQ(2100, s.m_pub.dmPaperWidth);
        EXPECT_EQ(2970, s.m_pub.dmPaperLength);
        EXPECT_EQ(2970u, work.wPaperLength);
        EXPECT_EQ((std::vector<long long>{2970, 77, 2, 2, 5, 4}),
                  (std::vector<long long>{core.wPaperLength, core.dwFirstPageSource, core.wOrientation, core.dwBooklet,
                                          core.dwDocumentMode, core.aiRecentPaperSizes[0]}));
        EXPECT_STREQ(L"NEW", core.szJsUserName);
        EXPECT_STREQ(L"Mine", core.szQuickSetName);
        // Under their conditions.
        EXPECT_EQ(c.effects, core.dwWmAngle == 33);
        EXPECT_EQ(c.effects, (s.m_host.Item("Scale")->Flags & OPTIF_HIDE) == 0) << "a scaled job shows its scale";
        EXPECT_EQ(c.jobStorage, core.dwRetentionMode == 4);
        BYTE show = 0;
        DWORD cb = sizeof show;
        EXPECT_EQ(c.jobStorage, !RegGetValueW(HKEY_CURRENT_USER, kUserKey.c_str(), L"ShowJobStorageDlg",
                                              RRF_RT_REG_BINARY, nullptr, &show, &cb) && show == 1);
        EXPECT_EQ(c.jobOptions, core.dwSepia == 1);
        EXPECT_EQ(c.quickSetMerged, core.dwDocTypeScaling == 50);
        EXPECT_EQ(c.quickSetMerged, wcscmp(core.szDocTypeName, L"Custom Print Settings") == 0);
        // The reserved blocks come the other way; the accounting text stays with the pages.
        EXPECT_EQ(9, work.aiImageShift[0]);
        EXPECT_STRNE(L"ACC", core.szAppText);
        // The manual-feed orientation (1 + its option) and whether the printer spools raw data, in
        // both devmodes.
        EXPECT_EQ((std::vector<uint32_t>{static_cast<uint32_t>(c.manualFeed + 1), c.datatype[0] != L'N'}),
                  (std::vector<uint32_t>{core.wManualFeedOrientation, core.dwRawSpooling}));
        EXPECT_EQ(core.dwRawSpooling, work.dwRawSpooling);
        EXPECT_EQ(core.wManualFeedOrientation, work.wManualFeedOrientation);
    }
}

}  // namespace
