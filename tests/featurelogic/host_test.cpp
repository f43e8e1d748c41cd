// Both sample printers installed with the core driver stand-in and zqoemui.dll: the plug-in's own
// items in the core driver's lists, a change of them stored in the devmode, and locked settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "hosttest.h"
#include "zqhostapp.h"
#include "zqhostpage.h"
#include "zqprinter.h"
#include "featurelogic/zqquicksets.h"
#include "formats/zquidevmode.h"
#include "testsupport.h"
#include "xmlrules/zqxmlparser.h"
#include "xmlrules/zqxmluirules.h"
#include "zqinstall.h"

namespace {

using zqhosttest::Choose;
using zqhosttest::ComboEntries;
using zqhosttest::CurrentPage;
using zqhosttest::OemBlock;
using zqhosttest::RowOf;
using zqhosttest::RowValue;
using zqhosttest::Selected;
using zqhosttest::SelectRow;

const std::wstring kDesk = zqhosttest::kDeskPrinter;
const std::wstring kRoll = zqhosttest::kRollPrinter;


template <typename T>
T BlockField(const std::vector<BYTE>& dm, size_t offset) {
    T value{};
    const BYTE* block = OemBlock(dm);
    if (block) std::memcpy(&value, block + offset, sizeof value);
    return value;
}

class SampleItems : public zqhosttest::SamplePrintersTest {
protected:
    // Printing Preferences from `in` (null: the printer's default), OK pressed after `hook`.
    static std::vector<BYTE> Preferences(const std::wstring& name, const std::function<void(HWND)>& hook,
                                         const DEVMODEW* in = nullptr) {
        CZQSpoolPrinter h = Open(name);
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) { hook(CurrentPage(sheet)); });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), name, in, out));
        EXPECT_TRUE(press.Pressed());
        return out;
    }
    static void Properties(const std::wstring& name, const std::function<void(HWND)>& hook) {
        CZQSpoolPrinter h = Open(name);
        CZQAutoPress press(50, [&](HWND sheet) { hook(CurrentPage(sheet)); });
        EXPECT_GT(ZQOpenPrinterProperties(h.Get(), name), 0);
        EXPECT_TRUE(press.Pressed());
    }
};

TEST_F(SampleItems, CommonUIPropAddsThePluginsItemsToBothPrintersLists) {
    // The roll printer's dry time, ink volume, over-spray and poster tiles are chosen through push
    // items of its own, after the heading's.
    const struct {
        std::wstring name;
        std::vector<std::wstring> last;
        const wchar_t* count;
    } printers[] = {
        {kDesk, {L"Layout Options: Orientation", L"Layout Options: Page Order"}, L"3 own items"},
        {kRoll,
         {L"Layout Options: Orientation", L"Layout Options: Page Order", L"Dry Time", L"Ink Volume", L"Overspray",
          L"Tile Selection"},
         L"7 own items"},
    };
    for (const auto& p : printers) {
        SCOPED_TRACE(std::string(p.name.begin(), p.name.end()));
        std::vector<std::wstring> rows;
        std::wstring status;
        Preferences(p.name, [&](HWND page) {
            rows = ZQRows(page);
            status = zqhosttest::PluginStatus(page);
        });
        ASSERT_GE(rows.size(), p.last.size());
        EXPECT_EQ(p.last, std::vector<std::wstring>(rows.end() - static_cast<std::ptrdiff_t>(p.last.size()), rows.end()))
            << "the plug-in's items follow the core driver's, under their heading";
        EXPECT_NE(std::wstring::npos, status.find(p.count)) << status;
    }

    // Printer properties: the roll printer's rolls, nothing for the desktop printer.
    std::vector<std::wstring> rows;
    std::wstring status, type, width;
    Properties(kRoll, [&](HWND page) {
        rows = ZQRows(page);
        status = zqhosttest::PluginStatus(page);
        type = RowValue(page, L"Roll 1 Media Type");
        width = RowValue(page, L"Roll 2 Width");
    });
    EXPECT_NE(std::wstring::npos, status.find(L"8 own items")) << status;
    for (const wchar_t* row : {L"Roll 1 Media Name", L"Roll 1 Media Type", L"Roll 1 Width", L"Roll 1 Custom Width",
                               L"Roll 2 Media Name", L"Roll 2 Media Type", L"Roll 2 Width", L"Roll 2 Custom Width"})
        EXPECT_NE(rows.end(), std::find(rows.begin(), rows.end(), row)) << std::wstring(row).size();
    EXPECT_EQ(L"Bond Paper", type) << "the helper file's roll types, in the status module's texts";
    EXPECT_EQ(L"24 in.", width);
    Properties(kDesk, [&](HWND page) { status = zqhosttest::PluginStatus(page); });
    EXPECT_NE(std::wstring::npos, status.find(L"0 own items")) << status;
}

TEST_F(SampleItems, AChangedCopyIsReconciledAndStoredInTheDevmode) {
    std::wstring coreShown, ownShown;
    std::vector<std::wstring> choices;
    std::vector<BYTE> out = Preferences(kDesk, [&](HWND page) {
        ASSERT_TRUE(SelectRow(page, L"Layout Options: Orientation"));
        choices = ComboEntries(page);
        EXPECT_TRUE(Choose(page, L"Layout Options: Orientation", L"Landscape"));
        EXPECT_TRUE(Choose(page, L"Layout Options: Page Order", L"Back to Front"));
        coreShown = RowValue(page, L"Orientation");
        ownShown = RowValue(page, L"Page Order");
    });
    EXPECT_EQ((std::vector<std::wstring>{L"Portrait", L"Landscape"}), choices);
    EXPECT_EQ(L"Landscape", coreShown) << "the core driver's item followed at once";
    EXPECT_EQ(L"Back to Front", ownShown) << "and so did the core driver's page order";
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(DMORIENT_LANDSCAPE, reinterpret_cast<const DEVMODEW*>(out.data())->dmOrientation);
    EXPECT_EQ("LANDSCAPE_CC90", Selected(out, "Orientation"));
    EXPECT_EQ("BACK_TO_FRONT", Selected(out, "PageOrder"));
    EXPECT_EQ(DMORIENT_LANDSCAPE, BlockField<uint16_t>(out, offsetof(ZQUIDevmode, wOrientation)));
    EXPECT_EQ(1u, BlockField<uint32_t>(out, offsetof(ZQUIDevmode, dwPageOrder)));
    EXPECT_EQ(4u, BlockField<uint32_t>(out, offsetof(ZQUIDevmode, dwPdl))) << "PCL 3";
    EXPECT_EQ(2u, BlockField<uint32_t>(out, offsetof(ZQUIDevmode, dwColorMode)));

    // The next sheet from that devmode starts with the copies where they were left.
    std::wstring orientation, order;
    Preferences(
        kDesk,
        [&](HWND page) {
            orientation = RowValue(page, L"Layout Options: Orientation");
            order = RowValue(page, L"Layout Options: Page Order");
        },
        reinterpret_cast<const DEVMODEW*>(out.data()));
    EXPECT_EQ(L"Landscape", orientation);
    EXPECT_EQ(L"Back to Front", order);

    // The roll printer has no page-order item of its own: the copy keeps it in the devmode alone.
    std::vector<BYTE> roll = Preferences(kRoll, [](HWND page) {
        EXPECT_TRUE(Choose(page, L"Layout Options: Page Order", L"Back to Front"));
    });
    ASSERT_FALSE(roll.empty());
    EXPECT_EQ(1u, BlockField<uint32_t>(roll, offsetof(ZQUIDevmode, dwPageOrder)));
    EXPECT_EQ(5u, BlockField<uint32_t>(roll, offsetof(ZQUIDevmode, dwPdl))) << "ZQ-GL/2";
}

TEST_F(SampleItems, AChangedFeatureRunsItsMacrosOnce) {
    std::wstring quality, duplex;
    BOOL duplexEnabled = TRUE;
    std::vector<BYTE> out = Preferences(kDesk, [&](HWND page) {
        EXPECT_TRUE(Choose(page, L"Paper Type", L"Photo Paper, Glossy"));
        quality = RowValue(page, L"Print Quality Group");
        duplex = RowValue(page, L"Print on Both Sides");
        EXPECT_TRUE(SelectRow(page, L"Print on Both Sides"));
        duplexEnabled = IsWindowEnabled(GetDlgItem(page, kZQIdCombo));
    });
    EXPECT_EQ(L"Best", quality) << "the helper file's media macro chose the quality";
    EXPECT_EQ(L"None", duplex);
    EXPECT_FALSE(duplexEnabled);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ("PHOTO_GLOSSY", Selected(out, "MediaType"));
    EXPECT_EQ("PQGroup_2", Selected(out, "PrintQualityGroup"));
}

TEST_F(SampleItems, LockedSettingsShowDisabled) {
    for (const std::wstring& name : {kDesk, kRoll}) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        CZQSpoolPrinter h = Open(name);
        auto lock = [&](const wchar_t* text) {
            const DWORD cb = static_cast<DWORD>((wcslen(text) + 1) * sizeof(WCHAR));
            ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
                      SetPrinterDataExW(h.Get(), L"DMCLockData\\Printing", L"MediaType", REG_SZ,
                                        reinterpret_cast<BYTE*>(const_cast<wchar_t*>(text)), cb));
        };
        auto comboEnabled = [&](const wchar_t* row) {
            BOOL enabled = TRUE;
            Preferences(name, [&](HWND page) {
                EXPECT_TRUE(SelectRow(page, row));
                enabled = IsWindowEnabled(GetDlgItem(page, kZQIdCombo));
            });
            return enabled;
        };
        lock(L"Lock");
        EXPECT_FALSE(comboEnabled(L"Paper Type"));
        EXPECT_TRUE(comboEnabled(L"Paper Size"));
        // The spooler cannot delete the value here; an empty lock locks nothing.
        lock(L"");
        EXPECT_TRUE(comboEnabled(L"Paper Type"));
    }
}

// A sample printer whose lock data no one may read (an empty access list on its key), the way a
// print server refuses it to a user.
TEST_F(SampleItems, LockDataThatCannotBeListedStillLocks) {
    CZQSpoolPrinter h = Open(kDesk);
    auto lock = [&](const wchar_t* text) {
        const DWORD cb = static_cast<DWORD>((wcslen(text) + 1) * 2);
        SetPrinterDataExW(h.Get(), L"DMCLockData\\Printing", L"MediaType", REG_SZ,
                          reinterpret_cast<BYTE*>(const_cast<wchar_t*>(text)), cb);
    };
    lock(L"Lock");
    CZQRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                                           (L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + kDesk +
                                            L"\\DMCLockData\\Printing").c_str(),
                                           0, READ_CONTROL | WRITE_DAC, key.Put()));
    BYTE saved[512];
    DWORD cb = sizeof saved;
    ASSERT_EQ(ERROR_SUCCESS, RegGetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, saved, &cb));
    SECURITY_DESCRIPTOR none;
    ACL empty;
    InitializeSecurityDescriptor(&none, SECURITY_DESCRIPTOR_REVISION);
    InitializeAcl(&empty, sizeof empty, ACL_REVISION);
    SetSecurityDescriptorDacl(&none, TRUE, &empty, FALSE);
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &none));
    DWORD needed = 0, count = 0;
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED),
              EnumPrinterDataExW(h.Get(), L"DMCLockData\\Printing", nullptr, 0, &needed, &count));
    BOOL paperType = TRUE, paperSize = TRUE;
    Preferences(kDesk, [&](HWND page) {
        EXPECT_TRUE(SelectRow(page, L"Paper Type"));
        paperType = IsWindowEnabled(GetDlgItem(page, kZQIdCombo));
        EXPECT_TRUE(SelectRow(page, L"Paper Size"));
        paperSize = IsWindowEnabled(GetDlgItem(page, kZQIdCombo));
    });
    RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, saved);
    lock(L"");  // the spooler here cannot delete it; an empty lock locks nothing
    EXPECT_FALSE(paperType) << "the administrator's lock holds";
    EXPECT_FALSE(paperSize) << "no lock record can be read: every setting that can be locked is";
}

}  // namespace

namespace {

using QuickSetsUnderHost = zqhosttest::SamplePrintersTest;

// The printer's quick sets and their counter, removed where the spooler here keeps a printer's keys
// (it deletes no printer data itself).
void ClearQuickSets(const std::wstring& printer) {
    const std::wstring root = L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + printer + L"\\ZQPresetRoot";
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (root + L"\\PresetPoolData").c_str());
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, root.c_str(), L"PresetPoolMaxIndexCount");
}

// Quick sets written into the desk printer's store are read back by the host tool and by the
// manager's load, with the flags of a user who may write the printer's data.
TEST_F(QuickSetsUnderHost, DeskPrinterStoreReadsBack) {
    ClearQuickSets(kDesk);
    CZQSpoolPrinter h = Open(kDesk);
    ZQUIDevmode dm = {};
    OEMCUIPPARAM param = {};
    param.cbSize = sizeof param;
    param.hPrinter = h.Get();
    param.pPrinterName = const_cast<PWSTR>(kDesk.c_str());
    param.pOEMDM = &dm;
    {
        CZQQuickSets writer;
        writer.VSetParam(&param, OEMCUIP_DOCPROP);
        writer.VPrepareStore();
        writer.VReadMaxIndex();
        const int first = writer.ISharedIndex();
        for (const wchar_t* name : {L" Factory Defaults", L"Everyday"}) {
            QuickSetEntry* e = writer.PNewEntry();
            lstrcpyW(e->head.szName, name);
            e->head.dwMarker = 21;
            e->head.cchName = 82;
            e->head.cbSettings = 2020;
            CZQQuickSets::VAppendPair(&e->pPairs, L"MediaType", L"PLAIN");
            writer.VWriteEntry(e, FALSE);
        }
        int next = 0;
        const std::vector<std::wstring> lines = ZQDescribeQuickSets(h.Get(), &next);
        EXPECT_EQ(first + 2, next);
        EXPECT_EQ((std::vector<std::wstring>{
                      std::to_wstring(first) + L" \" Factory Defaults\" flags 0x20000 1 pairs MediaType=PLAIN",
                      std::to_wstring(first + 1) + L" \"Everyday\" flags 0x10000 1 pairs MediaType=PLAIN"}),
                  lines);
    }
    CZQQuickSets reader;
    reader.VSetParam(&param, OEMCUIP_DOCPROP);
    reader.VPrepareStore();
    reader.VLoadStored();
    ASSERT_NE(nullptr, reader.PFindEntry(L"Everyday"));
    EXPECT_EQ(CZQQuickSets::kOwnFlag, reader.PFindEntry(L"Everyday")->dwFlags);
    EXPECT_EQ(CZQQuickSets::kFixedFlag, reader.PFindEntry(L" Factory Defaults")->dwFlags);
    ClearQuickSets(kDesk);
}

// The presets of a helper file in its order: each one's features and options as written.
using Preset = std::vector<std::pair<std::wstring, std::wstring>>;
std::vector<Preset> HelperPresets(const wchar_t* helper) {
    CZQXmlUiRules rules;
    EXPECT_TRUE(rules.Parser().BLoad(zqtest::BesideExe(helper).c_str()));
    IXMLDOMNodeList* list = rules.Parser().PresetList();
    LONG length = 0;
    std::vector<Preset> presets;
    for (LONG i = 0; list && SUCCEEDED(list->get_length(&length)) && i < length; ++i) {
        CZQComPtr<IXMLDOMNode> node;
        PWSTR *features = nullptr, *options = nullptr;
        LONG count = 0;
        if (list->get_item(i, node.Put()) != S_OK || !rules.BReadDocFeatures(node.Get(), &features, &options, &count))
            continue;
        Preset preset;
        for (LONG f = 0; f < count; ++f) preset.emplace_back(features[f], options[f]);
        CZQCommon::VFreeStringList(features, static_cast<int>(count));
        CZQCommon::VFreeStringList(options, static_cast<int>(count));
        presets.push_back(preset);
    }
    return presets;
}

// What the factory build's rules make of a preset's features, in order (a later pair of a feature
// wins): the print quality's resolution, group and image switches, the page order and every handled
// two-sided kind as the store's decimal page order, a borderless paper's margin switches, and any
// other feature as written.
Preset RulesMake(const Preset& asked) {
    Preset made;
    const std::map<std::wstring, std::pair<const wchar_t*, const wchar_t*>> qualities = {
        {L"Best", {L"600dpi", L"PQGroup_1"}}, {L"Normal", {L"600dpi", L"PQGroup_2"}}, {L"FastDraft", {L"300dpi", L"PQGroup_3"}}};
    for (const auto& [feature, option] : asked) {
        if (feature == L"PrintQuality") {
            const auto q = qualities.find(option);
            if (q == qualities.end()) continue;
            made.insert(made.end(), {{L"Resolution", q->second.first}, {L"PrintQualityGroup", q->second.second},
                                     {L"ZQPhotoFix", L"OFF"}, {L"ZQRedEyeReduction", L"Off"}, {L"ZQVorevEzuro", L"Off"},
                                     {L"ZQContrast", L"On"}, {L"ZQDigitalFlash", L"On"}, {L"ZQSharpness", L"On"},
                                     {L"ZQSmoothing", L"On"}});
        } else if (feature == L"PageOrder") {
            made.emplace_back(L"PageOrder", option == L"FrontToBack" ? L"0" : L"1");
        } else if (feature == L"DUPLEX") {
            const bool shortEdge = option == L"Horizontal" || option == L"DuplexTumble" ||
                                   option == L"LeftEdgeBinding" || option == L"RightEdgeBinding";
            const bool longEdge = option == L"Vertical" || option == L"DuplexNoTumble" || option == L"Automatically";
            if (!shortEdge && !longEdge) continue;
            // The two-sided kind goes into the settings block, not a pair.
            made.emplace_back(L"PageOrder", L"1");
        } else {
            made.emplace_back(feature, option);
            if (feature == L"PaperSize" && option.rfind(L"ZQ_BORDERLESS", 0) == 0)
                made.insert(made.end(), {{L"ZQMinimizeMargins", L"FALSE"}, {L"ZQBorderLessPhoto", L"TRUE"}});
        }
    }
    return made;
}

// Each sample printer installed afresh stores one task preset per preset of its helper file, in the
// file's order, holding what the build's rules make of the preset's features in the store's own
// format. The factory-named preset of a printer whose configuration manager's settings were applied
// holds the administrator's values instead.
TEST_F(QuickSetsUnderHost, FactoryPresetsHoldWhatTheRulesMakeOfTheHelperFile) {
    const struct {
        const wchar_t* model;
        const wchar_t* helper;
        bool configQuality;  // the configuration names a print quality
    } samples[] = {{zqhosttest::kDeskModel, L"samples\\zqdesk\\zqdesk.xml", true},
                   {zqhosttest::kPublishModel, L"samples\\zqdesk\\zqdesk.xml", true},
                   {zqhosttest::kSimpleModel, L"samples\\zqdesk\\zqdesk.xml", false},
                   {zqhosttest::kRollModel, L"samples\\zqroll\\zqroll.xml", false},
                   {zqhosttest::kWideModel, L"samples\\zqroll\\zqroll.xml", false},
                   {L"samples\\zqroll\\zqwideps.zqm", L"samples\\zqroll\\zqroll.xml", false}};
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    for (const auto& sample : samples) {
        SCOPED_TRACE(ZQUtf8(sample.model));
        const std::wstring name = L"ZQ Presets " + std::to_wstring(&sample - samples);
        CZQSpoolPrinter old;
        if (OpenPrinterW(const_cast<LPWSTR>(name.c_str()), old.Put(), &all)) DeletePrinter(old.Get());
        ZQInstallResult installed;
        ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(sample.model), zqtest::ExeDir(), name, installed));
        ASSERT_TRUE(installed.added);
        CZQSpoolPrinter h = Open(name);
        DWORD status = 0, type = 0, needed = 0;
        GetPrinterDataW(h.Get(), const_cast<LPWSTR>(L"DMCStatus"), &type, reinterpret_cast<BYTE*>(&status), sizeof status,
                        &needed);
        // What the printer's model lacks (a feature, or an option of a helper file that printers of
        // another model share) no pair can hold.
        const zqmodel::Model model = zqhosttest::LoadModel(sample.model);
        const auto inModel = [&](const std::wstring& feature, const std::wstring& option) {
            return std::any_of(model.features.begin(), model.features.end(), [&](const zqmodel::Feature& f) {
                return ZQWide(f.keyword) == feature &&
                       std::any_of(f.options.begin(), f.options.end(),
                                   [&](const zqmodel::Option& o) { return ZQWide(o.keyword) == option; });
            });
        };
        const std::vector<Preset> presets = HelperPresets(sample.helper);
        const std::vector<ZQStoredQuickSet> stored = ZQReadQuickSets(h.Get());
        ASSERT_EQ(presets.size(), stored.size());
        for (size_t i = 0; i < presets.size(); ++i) {
            SCOPED_TRACE(ZQUtf8(stored[i].name));
            if (status == 3 && stored[i].name == L" Factory Defaults") continue;
            std::map<std::wstring, std::wstring> expected, held;
            for (const auto& [feature, option] : stored[i].pairs) held[feature] = option;
            for (const auto& [feature, option] : RulesMake(presets[i])) expected[feature] = option;
            for (const auto& [feature, option] : expected) {
                // A pair is kept only where the printer has one: the page order wherever it is stored,
                // another feature where the model lists the option. Every pair of the name holds it.
                if (!(feature == L"PageOrder" ? held.count(feature) : inModel(feature, option))) continue;
                // Imported settings keep the configuration's quality over a preset's group.
                if (status == 3 && sample.configQuality && feature == L"PrintQualityGroup") continue;
                ASSERT_TRUE(held.count(feature)) << ZQUtf8(feature);
                for (const auto& [f, o] : stored[i].pairs) {
                    if (f == feature) {
                        EXPECT_EQ(option, o) << ZQUtf8(feature);
                    }
                }
            }
        }
        DeletePrinter(h.Get());
    }
}

}  // namespace
