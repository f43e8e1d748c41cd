// The plug-in object with the configuration manager's stored settings, on the in-memory printer:
// when CommonUIProp applies them and what "DMCStatus" records; the watermark and the quality the
// stored settings give; and the devmodes after a change on a page, section by section.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "optitemfixture.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmluirules.h"
#include "zqmemprinter.h"
#include "zqoemui.h"

namespace {

using zqtest::FixtureFeature;
using zqtest::ListFeature;
namespace zs = zqsettings;
using Values = std::vector<std::pair<std::wstring, std::wstring>>;

constexpr WCHAR kRoot[] = L"PrinterDriverData";
constexpr WCHAR kGuid[] = L"{5A510018-4E2B-4C6A-9D3E-17F0A2B3C4D5}";
constexpr WCHAR kPoolKey[] = L"ZQPresetRoot\\WatermarkPoolData";

struct PluginDeleter {
    void operator()(CZQOemUI* p) const { p->Release(); }
};

// A plug-in object bound to a document or printer sheet of the memory printer.
class Sheet {
public:
    explicit Sheet(std::vector<FixtureFeature> extra = {}) {
        const WORD papers[] = {DMPAPER_LETTER, DMPAPER_A4};
        const POINT sizes[] = {{2159, 2794}, {2100, 2970}};
        const DWORD media[] = {1, 258};
        m_printer.SetCapability(DC_PAPERS, papers, 2, sizeof(WORD));
        m_printer.SetCapability(DC_PAPERSIZE, sizes, 2, sizeof(POINT));
        m_printer.SetCapability(DC_MEDIATYPES, media, 2, sizeof(DWORD));
        m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        m_printer.Install();
        RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Quorvane\\") + kGuid).c_str());
        extra.push_back(ListFeature("MediaType", {{"PLAIN", L"Plain"}, {"GLOSSY", L"Glossy"}}, 0, DMPUB_MEDIATYPE));
        extra.push_back(ListFeature("Memory", {{"32MB", L"32"}, {"64MB", L"64"}}));
        extra.push_back(zqtest::ValueFeature("ZQPDLType", "PCL3"));
        for (const FixtureFeature& f : extra) m_host.Add(f);
        m_host.Build();
        m_heap = HeapCreate(0, 0, 0);
        CZQCommon().BFillDefaultDevmode(&m_dm, nullptr);
        m_pub.dmSize = sizeof m_pub;
        m_pub.dmPaperSize = DMPAPER_A4;
        m_param = *m_host.Param();
        m_param.hPrinter = m_printer.Open();
        m_param.pPrinterName = const_cast<PWSTR>(L"ZQ Memory Printer");
        m_param.hOEMHeap = m_heap;
        m_param.pPublicDM = &m_pub;
        m_param.pOEMDM = &m_dm;
        m_plugin.reset(new CZQOemUI());
    }
    ~Sheet() {
        m_plugin.reset();
        HeapDestroy(m_heap);
        RegDeleteTreeW(HKEY_CURRENT_USER, (std::wstring(L"Software\\Quorvane\\") + kGuid).c_str());
    }
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    // CommonUIProp as the core driver calls it: the count pass binds, the fill pass prepares.
    void Open(DWORD mode, bool fill) {
        m_param.pOEMOptItems = nullptr;
        ASSERT_EQ(S_OK, m_plugin->CommonUIProp(mode, &m_param));
        if (!fill) return;
        m_items.assign(m_param.cOEMOptItems + 1, OPTITEM{});
        m_param.pOEMOptItems = m_items.data();
        ASSERT_EQ(S_OK, m_plugin->CommonUIProp(mode, &m_param));
    }
    void Number(const wchar_t* name, DWORD value) { m_printer.PutValue(kRoot, name, REG_DWORD, &value, sizeof value); }
    std::wstring Status(const wchar_t* name) {
        DWORD type = 0, value = 0;
        std::vector<BYTE> data;
        if (!m_printer.GetValue(kRoot, name, &type, &data) || data.size() != 4) return L"-";
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
    std::unique_ptr<CZQOemUI, PluginDeleter> m_plugin;
};

TEST(StoredSettings, AppliedWhileTheInstallationRunsAndTheFirstOutcomeRecorded) {
    const DWORD kNone = 99;
    struct Case {
        const char* what;
        DWORD mode, installation, eac, status, devSetUpdate;  // kNone: no such value
        Values optItems, physical;
        const char* media;
        const char* memory;
        const wchar_t* expectedStatus;
        const wchar_t* propertiesChanged;
    } cases[] = {
        {"document settings applied", 1, kNone, kNone, kNone, kNone, {{L"MediaType", L"GLOSSY"}}, {}, "GLOSSY", "32MB",
         L"3", L"-"},
        {"after the installation nothing", 1, 0, kNone, kNone, kNone, {{L"MediaType", L"GLOSSY"}}, {}, "PLAIN", "32MB",
         L"-", L"-"},
        {"a status once recorded stays", 1, 1, kNone, 2, kNone, {{L"MediaType", L"GLOSSY"}}, {}, "GLOSSY", "32MB", L"2",
         L"-"},
        {"the printer configured itself", 1, 1, 3, kNone, kNone, {}, {{L"Memory", L"64"}}, "PLAIN", "32MB", L"1", L"-"},
        {"nothing stored", 1, kNone, 3, kNone, kNone, {}, {}, "PLAIN", "32MB", L"2", L"-"},
        {"installed options applied", 2, kNone, kNone, kNone, kNone, {{L"MediaType", L"GLOSSY"}}, {{L"Memory", L"64"}},
         "PLAIN", "64MB", L"3", L"1"},
        {"no installed options: no outcome yet", 2, kNone, kNone, kNone, kNone, {}, {}, "PLAIN", "32MB", L"-", L"-"},
        {"the printer's own answers come first", 2, kNone, kNone, kNone, 1, {}, {{L"Memory", L"64"}}, "PLAIN", "32MB",
         L"-", L"-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sheet s;
        for (const auto& [name, value] : c.optItems) s.m_printer.PutString(zs::kDriverDataOptItems, name, value);
        for (const auto& [name, value] : c.physical) s.m_printer.PutString(zs::kDriverDataPhysical, name, value);
        const std::pair<const wchar_t*, DWORD> numbers[] = {{zs::kInstallationComplete, c.installation},
                                                            {zs::kEACStatus, c.eac},
                                                            {zs::kDMCStatus, c.status},
                                                            {L"DevSetUpdate", c.devSetUpdate}};
        for (const auto& [name, value] : numbers)
            if (value != kNone) s.Number(name, value);
        s.Open(c.mode, false);
        EXPECT_TRUE(s.m_plugin->BApplyConfigManagerData(c.mode));
        EXPECT_EQ(c.media, s.m_host.Current("MediaType"));
        EXPECT_EQ(c.memory, s.m_host.Current("Memory"));
        EXPECT_EQ(c.expectedStatus, s.Status(zs::kDMCStatus));
        EXPECT_EQ(c.propertiesChanged, s.Status(zs::kPrnPropChng));
    }
    // The worker applies them in its fill pass, and the pages start from what it applied.
    Sheet s;
    s.m_printer.PutString(zs::kDriverDataDevModeItems, L"DuplexEdge", L"ShortEdge");
    s.Open(OEMCUIP_DOCPROP, true);
    EXPECT_EQ(3u, s.m_dm.wDuplex);
    EXPECT_EQ(3u, s.m_plugin->Logic()->WorkDM()->wDuplex);
    EXPECT_FALSE(s.m_plugin->BApplyConfigManagerData(3));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
}

// The first TrueType face of the screen: a font the watermark import accepts.
int CALLBACK FirstTrueType(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM lParam) {
    if (!(type & TRUETYPE_FONTTYPE)) return 1;
    *reinterpret_cast<std::wstring*>(lParam) = font->lfFaceName;
    return 0;
}

TEST(StoredSettings, TheWatermarkGoesToTheDevmodeAndThePoolAndTheQualityToItsGroup) {
    std::wstring face;
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
    } cases[] = {
        {L"draft", face.c_str(), L"Draft", L"WatermarkPool:2", face.c_str()},
        {L"Company Secret", L"No Such Face", L"Company Secret", L"WatermarkPool:4", L"Arial"},
        {L"", nullptr, L" [none]", L"WatermarkPool:0", L"Arial"},
        {nullptr, nullptr, L"Mine", L"WatermarkPool:0", L"Arial"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sheet s;
        s.Open(OEMCUIP_DOCPROP, false);
        lstrcpyW(s.m_dm.szWmName, L"Mine");
        lstrcpyW(s.m_dm.szWmText, L"Mine");
        if (c.stored) s.m_printer.PutString(zs::kDriverDataDevModeItems, L"Watermarks", c.stored);
        if (c.font) s.m_printer.PutString(zs::kDriverDataDevModeItems, L"WMFont", c.font);
        EXPECT_EQ(c.stored && c.stored[0], s.m_plugin->Logic()->BImportDMCWatermarks() != FALSE);
        EXPECT_STREQ(c.name, s.m_dm.szWmName);
        EXPECT_STREQ(c.name, s.m_dm.szWmText);
        EXPECT_STREQ(c.fontAfter, s.m_dm.szWmFont);
        // The pool's record: name, text and font, each followed by three zero bytes.
        DWORD type = 0;
        std::vector<BYTE> record;
        ASSERT_TRUE(s.m_printer.GetValue(kPoolKey, c.poolValue, &type, &record));
        EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
        ASSERT_EQ(1568u, record.size());
        const size_t cb = wcslen(c.name) * 2;
        EXPECT_EQ(0, std::memcmp(record.data(), c.name, cb));
        EXPECT_EQ(0, std::memcmp(record.data() + cb + 3, c.name, cb));
        EXPECT_EQ(0, std::memcmp(record.data() + 2 * cb + 6, c.fontAfter, wcslen(c.fontAfter) * 2));
    }

    // The install-time event's states and mapping reach the quality items.
    FixtureFeature groups = ListFeature("PrintQualityGroup", {{"PQ0", L"Draft"}, {"PQ1", L"Normal"}, {"PQ2", L"Best"}});
    groups.options[0].hidden = true;
    FixtureFeature turbo = ListFeature("ZQTurboMode", {{"Off", L"Off"}, {"On", L"On"}});
    FixtureFeature photo = ListFeature("ZQPhotoPaperPrinting", {{"Glimra", L"Glimra"}});
    photo.flags = OPTIF_DISABLED;
    Sheet s({groups, turbo, photo});
    s.Open(OEMCUIP_DOCPROP, false);
    CZQXmlParserCommon& parser = *s.m_plugin->XmlParser();
    parser.VSetLoaded(TRUE);
    parser.m_quality.adwOption[1] = 1;
    parser.m_quality.dwTurboMode = 2;
    parser.m_quality.dwPhotoPaper = 0;
    lstrcpyW(parser.m_szQualityGroupValue, L"PrintQualityGroup.PQ2");
    s.m_plugin->Logic()->VImportDMCQualityOptions(s.m_plugin->XmlUiRules());
    s.m_plugin->Logic()->VApplyImportedPrintQuality(s.m_plugin->XmlUiRules());
    const OPTITEM* item = s.m_host.Item("PrintQualityGroup");
    EXPECT_EQ(0u, item->pOptType->pOptParam[0].Flags & OPTPF_HIDE);
    EXPECT_NE(0u, item->pOptType->pOptParam[1].Flags & OPTPF_HIDE);
    EXPECT_EQ("PQ2", s.m_host.Current("PrintQualityGroup"));
    EXPECT_NE(0u, s.m_host.Item("ZQTurboMode")->Flags & OPTIF_DISABLED);
    EXPECT_EQ(0u, s.m_host.Item("ZQPhotoPaperPrinting")->Flags & OPTIF_DISABLED);
}

TEST(DevmodeSync, EachSectionReachesTheDriversDevmodeUnderItsCondition) {
    struct Case {
        const char* what;
        DWORD layoutMode, colorMode, quickSet, jobStorage3024;
        bool jobStorageValid, effects, jobOptions, jobStorage, quickSetMerged;
    } cases[] = {
        {"every condition met", 3, 2, 1, 0, true, true, true, true, true},
        {"none met", 1, 1, 0, 0, false, false, false, false, false},
        {"job storage marked by its own word", 2, 1, 0, 7, false, false, false, true, false},
    };
    FixtureFeature scale = ListFeature("Scale", {{"100", L"100"}}, 0, DMPUB_SCALE);
    scale.flags = OPTIF_HIDE;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sheet s({scale});
        s.Open(OEMCUIP_DOCPROP, true);
        CZQOemUI& plugin = *s.m_plugin;
        ZQUIDevmode& core = s.m_dm;
        ZQUIDevmode& work = *plugin.Logic()->WorkDM();
        core.dwLayoutMode = c.layoutMode;
        core.dwColorMode = c.colorMode;
        core.dwQuickSetInUse = c.quickSet;
        core.dwJs3024 = c.jobStorage3024;
        core.dwJobStorageAvailable = c.jobStorageValid ? 1 : 0;
        core.dwJsLayout = 2;
        core.dwPdl = zqdm::kPdlPostScript;
        core.aiImageShift[0] = 9;
        lstrcpyW(core.szJsUserName, L"OLD");
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
        plugin.VSyncAfterChange();

        // The chosen paper's size, everywhere.
        EXPECT_EQ(2100, s.m_pub.dmPaperWidth);
        EXPECT_EQ(2970, s.m_pub.dmPaperLength);
        for (const ZQUIDevmode* dm : {&core, &work}) EXPECT_EQ(2970u, dm->wPaperLength);
        // Always: paper source, page, finishing, document options, recent papers, the quick set's name.
        EXPECT_EQ(77u, core.dwFirstPageSource);
        EXPECT_EQ(2u, core.wOrientation);
        EXPECT_EQ(2u, core.dwBooklet);
        EXPECT_EQ(5u, core.dwDocumentMode);
        EXPECT_EQ(4, core.aiRecentPaperSizes[0]);
        EXPECT_STREQ(L"Mine", core.szQuickSetName);
        // Under their conditions.
        EXPECT_EQ(c.effects, core.dwWmAngle == 33);
        EXPECT_EQ(c.effects, (s.m_host.Item("Scale")->Flags & OPTIF_HIDE) == 0) << "a scaled job shows its scale";
        EXPECT_EQ(c.jobStorage, core.dwRetentionMode == 4);
        EXPECT_EQ(c.jobOptions, core.dwSepia == 1);
        EXPECT_EQ(c.quickSetMerged, core.dwDocTypeScaling == 50);
        if (c.quickSetMerged) {
            EXPECT_STREQ(L"Custom Print Settings", core.szDocTypeName);
        }
        // The job-storage user, with its section or where the driver's block holds no valid one.
        EXPECT_STREQ(L"NEW", core.szJsUserName);
        // The reserved blocks come the other way; the accounting text stays with the pages.
        EXPECT_EQ(9, work.aiImageShift[0]);
        EXPECT_STRNE(L"ACC", core.szAppText);
    }
}

}  // namespace
