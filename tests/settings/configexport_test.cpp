// The export after Apply: every item the configuration knows gets the current setting in the
// manager's words, three levels deep; accessories are offered part number by part number; and
// the export runs only where the process and the printer's data allow it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cfgmgrtest.h"
#include "optitemfixture.h"
#include "testsupport.h"
#include "zqmemprinter.h"
#include "formats/zquidevmode.h"
#include "settings/zqconfigexport.h"
#include "settings/zqdriverdata.h"

namespace {

using zqspool::CZQMemoryPrinter;
using zqtest::FixtureFeature;
using zqtest::ListFeature;
namespace zs = zqsettings;
namespace zc = zqcfgtest;

constexpr wchar_t kPrinter[] = L"ZQ Memory Printer";

std::wstring Dir() { return zqtest::ExeDir() + L"\\cfgexport"; }
std::wstring ConfigPath() { return Dir() + L"\\test.cfg"; }

FixtureFeature Unnamed(std::vector<std::pair<std::string, std::wstring>> options, LONG sel) {
    return ListFeature("", options, sel);
}

template <typename T>
void SetList(CZQMemoryPrinter& printer, WORD capability, const std::vector<T>& entries) {
    printer.SetCapability(capability, entries.data(), static_cast<DWORD>(entries.size()), sizeof(T));
}

void SetNames(CZQMemoryPrinter& printer, WORD capability, const std::vector<std::wstring>& names, size_t chars) {
    std::vector<WCHAR> block(names.size() * chars, 0);
    for (size_t i = 0; i < names.size(); ++i) std::copy(names[i].begin(), names[i].end(), block.begin() + i * chars);
    printer.SetCapability(capability, block.data(), static_cast<DWORD>(names.size()), static_cast<DWORD>(chars * 2));
}

class ConfigExport : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(Dir().c_str(), nullptr);
        CopyFileW(zqtest::BesideExe(L"zqcfgmgr.dll").c_str(), (Dir() + L"\\zqcfgmgr.dll").c_str(), FALSE);
        zc::ResetStandIn();
        zc::SetSwitch(L"ConfigFile", ConfigPath());
        ASSERT_TRUE(zc::WriteFileText(ConfigPath(), "Printing/PaperSize=LETTER\n"
                                                    "Printing/Duplex=FALSE\n"
                                                    "Printing/PageOrder=FrontToBack\n"
                                                    "Printing/Copies=1\n"
                                                    "Printing/InputBin=Tray1\n"
                                                    "Printing/BackCoverTrayChoice=Tray1\n"
                                                    "Printing/MediaType=PLAIN\n"
                                                    "Printing/TargetSizeChoice=LETTER\n"
                                                    "Printing/Orientation=Landscape\n"
                                                    "Printing/Watermarks=Draft\n"
                                                    "Printing/Resolution=600dpi\n"
                                                    "Printing/Finishing/StaplerChoice=TRUE\n"
                                                    "Printing/Finishing/Output/OutputBin=Auto\n"
                                                    "Printing/RasterizationChoice=RasterizationAuto\n"
                                                    "Printing/DryTime=0\n"
                                                    "Printing/LanguageLevel=3\n"
                                                    "Printing/MirrorPrint=False\n"
                                                    "Printing/NegativePrint=True\n"
                                                    "Physical/Memory=32\n"
                                                    "Physical/BinderUnit=NotInstalled\n"
                                                    "Physical/AccessoryOutputBins=NotInstalled\n"
                                                    "Physical/DuplexUnit=INSTALLED\n"));

        m_id.driverDirectory = Dir();
        m_id.dependentFiles = {L"zqcfgmgr.dll", L"test.cfg"};
        // The core driver's items; those without a public id keep their order for the PostScript
        // toggles (fifth, seventh and eighth of them).
        m_items.Add(ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"B4~JIS", L"B4 (JIS)"}}, 1, DMPUB_FORMNAME));
        m_items.Add(ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long Edge"}}, 0, DMPUB_DUPLEX));
        m_items.Add(ListFeature("PageOrder", {{"FRONT", L"Front"}, {"BACK", L"Back"}}, 1, DMPUB_PAGEORDER));
        FixtureFeature copies;
        copies.keyword = "Copies";
        copies.kind = zqtest::FixtureKind::UpDown;
        copies.pubId = DMPUB_COPIES_COLLATE;
        copies.sel = 3;
        m_items.Add(copies);
        FixtureFeature bins = ListFeature("InputBin", {{"TRAY1", L"Tray 1"}, {"TRAY2", L"Tray 2"}}, 0, DMPUB_DEFSOURCE);
        bins.options.insert(bins.options.begin(), zqtest::FixtureOption{"AUTO", L"", 64718});
        m_items.Add(bins);
        m_items.Add(ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}, {"GLOSSY", L"Glossy"}}, 0, DMPUB_MEDIATYPE));
        m_items.Add(ListFeature("Stapling", {{"None", L"None"}, {"Corner", L"Corner"}}, 0));
        m_items.Add(ListFeature("GraphicsMode", {{"Automatic", L"Auto"}, {"ZQGL2MODE", L"Vector"}}, 1));
        m_items.Add(ListFeature("OutputBin", {{"Upper", L"Top"}, {"Seperator", L"Separator"}}, 1));
        m_items.Add(ListFeature("ZQDryTime", {{"0", L"0"}, {"12", L"12"}}, 1));
        m_items.Add(Unnamed({{"1", L"1"}, {"2", L"2"}, {"3", L"3"}}, 2));  // language level
        m_items.Add(ListFeature("AccessoryOutputBins", {{"NotInstalled", L"None"}, {"3000Stapler", L"Stapler"}}, 1));
        m_items.Add(Unnamed({{"ON", L"On"}, {"OFF", L"Off"}}, 0));  // mirror print
        m_items.Add(Unnamed({{"ON", L"On"}, {"OFF", L"Off"}}, 1));  // negative print
        m_items.Add(ListFeature("Memory", {{"32MB", L"32 MB"}, {"64MB", L"64 MB"}}, 1));
        m_items.Add(ListFeature("BinderUnit", {{"FALSE", L"No"}, {"TRUE", L"Yes"}}, 1));
        m_items.Build();

        m_public.dmSize = sizeof m_public;
        m_public.dmOrientation = DMORIENT_PORTRAIT;
        CZQCommon common;
        ASSERT_TRUE(common.BFillDefaultDevmode(m_block.data(), &m_public));
        auto* dm = reinterpret_cast<ZQUIDevmode*>(m_block.data());
        dm->dwManualDuplex = 1;
        dm->dwOtherPagesSource = 258;
        dm->dwOtherPagesMedia = 300;
        dm->dwBackCoverSource = DMBIN_AUTO;
        dm->dwPrintedOnPaper = DMPAPER_B4;
        std::memcpy(dm->szWmName, L" [none]", sizeof L" [none]");
    }
    void TearDown() override { zc::ResetStandIn(); }

    // The printer and the block of the sheet being applied; "AlwaysExport" (kNoValue: none) and
    // an imported configuration ("DMCExist") as given.
    static constexpr DWORD kNoValue = DWORD(-1);
    void Bind(CZQMemoryPrinter& printer, DWORD dwAlwaysExport = 1, bool bImported = true) {
        printer.Install();
        SetList<WORD>(printer, DC_BINS, {DMBIN_AUTO, 257, 258});
        SetNames(printer, DC_BINNAMES, {L"Automatically Select", L"Tray 1", L"Tray 2"}, 24);
        SetList<DWORD>(printer, DC_MEDIATYPES, {DMMEDIA_STANDARD, 300});
        SetNames(printer, DC_MEDIATYPENAMES, {L"Plain Paper", L"Glossy"}, 64);
        SetList<WORD>(printer, DC_PAPERS, {DMPAPER_LETTER, DMPAPER_B4});
        if (dwAlwaysExport != kNoValue)
            printer.PutValue(CZQMemoryPrinter::kRootKey, zs::kAlwaysExport, REG_DWORD, &dwAlwaysExport, sizeof dwAlwaysExport);
        if (bImported) printer.PutString(CZQMemoryPrinter::kRootKey, zs::kDMCExist, zs::kTrue);
        OEMCUIPPARAM* p = m_items.Param();
        p->hPrinter = printer.Open();
        p->pPrinterName = const_cast<PWSTR>(kPrinter);
        p->pPublicDM = &m_public;
        p->pOEMDM = m_block.data();
    }
    BOOL Export(const wchar_t* section) {
        return CZQSettingsExport({m_items.Param(), nullptr, nullptr}).BExportSettings(section);
    }
    static std::wstring Stale(const CZQMemoryPrinter& printer) {
        std::vector<BYTE> data;
        if (!printer.GetValue(CZQMemoryPrinter::kRootKey, zs::kStale, nullptr, &data)) return L"<none>";
        return reinterpret_cast<const wchar_t*>(data.data());
    }

    zqspool::MemPrinterIdentity m_id;
    zqtest::COptItemFixture m_items;
    DEVMODEW m_public = {};
    std::vector<BYTE> m_block = std::vector<BYTE>(zqdm::kSize);
};

TEST_F(ConfigExport, EveryKnownItemIsReportedInTheManagersWords) {
    CZQMemoryPrinter printer(m_id);
    Bind(printer);
    zc::SetSwitch(L"RefuseExport",
                  std::wstring(L"Physical/AccessoryOutputBins=W6247") + L'\0' + L"Physical/AccessoryOutputBins=W5432" + L'\0',
                  REG_MULTI_SZ);
    ASSERT_TRUE(Export(kZQExportPrinting));
    ASSERT_TRUE(Export(kZQExportPhysical));

    const struct {
        const wchar_t* path;
        const wchar_t* value;
        int result;
    } expected[] = {
        {L"Printing/PaperSize", L"B4_JIS", 1},  // the keyword cut at "~", then the value table
        {L"Printing/Duplex", L"TRUE", 1},       // off, but two-sided by hand
        {L"Printing/PageOrder", L"BackToFront", 1},
        {L"Printing/Copies", L"3", 1},
        {L"Printing/InputBin", L"TRAY2", 1},  // the source number through the driver's lists
        {L"Printing/MediaType", L"GLOSSY", 1},
        {L"Printing/TargetSizeChoice", L"B4_JIS", 1},
        {L"Printing/Orientation", L"Portrait", 1},
        {L"Printing/Watermarks", L"None", 1},  // the text for no watermark
        {L"Printing/Finishing/StaplerChoice", L"FALSE", 1},
        {L"Printing/Finishing/Output/OutputBin", L"Separator", 1},
        {L"Printing/RasterizationChoice", L"RasterizationVector", 1},
        {L"Printing/DryTime", L"12", 1},  // no row: as it stands
        {L"Printing/LanguageLevel", L"2", 1},
        {L"Printing/MirrorPrint", L"True", 1},
        {L"Printing/NegativePrint", L"False", 1},
        {L"Physical/Memory", L"64", 1},
        {L"Physical/BinderUnit", L"Installed", 1},
        {L"Physical/AccessoryOutputBins", L"W6247", 0},  // each part number in turn
        {L"Physical/AccessoryOutputBins", L"W5432", 0},
        {L"Physical/AccessoryOutputBins", L"K7150A", 1},
    };
    for (const auto& e : expected) EXPECT_TRUE(zc::Logged(zc::ExportLine(e.path, e.value, e.result))) << e.path;
    // Items whose value cannot be worked out, and items with items below them, are not offered.
    for (const wchar_t* path : {L"\"Printing/Resolution\"", L"\"Printing/BackCoverTrayChoice\"", L"\"Printing/Finishing\"",
                                L"\"Physical/DuplexUnit\""})
        EXPECT_TRUE(zc::Calls(std::wstring(L"DMCSetExport(") + path).empty()) << path;
    EXPECT_EQ(21u, zc::Calls(L"DMCSetExport(").size());
    EXPECT_EQ(L"False", Stale(printer));
    // The configuration follows the printer.
    EXPECT_NE(std::string::npos, zc::ReadFileText(ConfigPath()).find("Printing/Finishing/Output/OutputBin=Separator\r\n"));

    // When the manager refuses every part number, the accessory's own name is offered last.
    zc::SetSwitch(L"RefuseExport", std::wstring(L"Physical/AccessoryOutputBins=K7150A") + L'\0' +
                                       L"Physical/AccessoryOutputBins=W6247" + L'\0' +
                                       L"Physical/AccessoryOutputBins=W5432" + L'\0', REG_MULTI_SZ);
    ASSERT_TRUE(Export(kZQExportPhysical));
    EXPECT_TRUE(zc::Logged(zc::ExportLine(L"Physical/AccessoryOutputBins", L"3000Stapler")));

    // Source 15 on the other pages is the manager's automatic selection; source 7 is not.
    for (const auto& [source, automatic] : {std::pair{DMBIN_AUTO, false}, {DMBIN_FORMSOURCE, true}}) {
        reinterpret_cast<ZQUIDevmode*>(m_block.data())->dwOtherPagesSource = source;
        ASSERT_TRUE(Export(kZQExportPrinting));
        EXPECT_EQ(automatic, zc::Logged(zc::ExportLine(L"Printing/InputBin", L"AutomaticallySelect"))) << source;
    }
}

TEST_F(ConfigExport, ExportsOnlyWhereTheProcessAndThePrinterAllowIt) {
    struct Case {
        const char* what;
        DWORD always;
        bool exist;
        bool exportOnly;
        std::vector<std::wstring> files;
        const wchar_t* section;
        const wchar_t* switchName;  // a stand-in switch set to fail
        bool exported;
    };
    const std::vector<std::wstring> configured = {L"zqcfgmgr.dll", L"test.cfg"};
    const Case cases[] = {
        {"an application without AlwaysExport", kNoValue, true, false, configured, kZQExportPrinting, nullptr, false},
        {"AlwaysExport 0", 0, true, false, configured, kZQExportPrinting, nullptr, false},
        {"nothing imported or installed", 1, false, false, configured, kZQExportPrinting, nullptr, false},
        {"an installed export file", 1, false, true, {L"zqcfgmgr.dll", L"driver.exp"}, kZQExportPhysical, nullptr, true},
        {"no manager", 1, true, false, {L"test.cfg"}, kZQExportPrinting, nullptr, false},
        {"registration refused", 1, true, false, configured, kZQExportPrinting, L"RegisterResult", false},
        {"export refused", 1, true, false, configured, kZQExportPrinting, L"FailStartExport", false},
        {"another section", 1, true, false, configured, L"Document/", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        zc::ResetStandIn();
        zc::SetSwitch(L"ConfigFile", ConfigPath());
        if (c.switchName) zc::SetSwitch(c.switchName, static_cast<DWORD>(E_FAIL));
        m_id.dependentFiles = c.files;
        CZQMemoryPrinter printer(m_id);
        Bind(printer, c.always, c.exist);
        printer.PutString(CZQMemoryPrinter::kRootKey, zs::kStale, zs::kTrue);
        if (c.exportOnly) printer.PutString(CZQMemoryPrinter::kRootKey, zs::kDMCExportOnly, zs::kTrue);
        EXPECT_EQ(c.exported, Export(c.section) != FALSE);
        EXPECT_EQ(c.exported ? L"False" : L"True", Stale(printer));
        // An export that was opened is always ended; one that was not is not.
        EXPECT_EQ(zc::Calls(L"DMCStartExport").size() && zc::Calls(L"DMCStartExport")[0].find(L" = 1") != std::wstring::npos,
                  !zc::Calls(L"DMCEndExport").empty());
    }

    // The shell's process always exports: its module is "explorer.exe".
    EXPECT_TRUE(CZQSettingsExport::BIsShellModule(L"C:\\Windows\\Explorer.EXE"));
    EXPECT_FALSE(CZQSettingsExport::BIsShellModule(L"C:\\Tools\\notexplorer.exe"));
    EXPECT_FALSE(CZQSettingsExport::BIsShellModule(L"C:\\Windows\\explorer.exe,1"));
}

}  // namespace
