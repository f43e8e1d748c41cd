// The quick-set manager on the in-memory printer: its store in the printer's data and in a restricted
// user's key (write, replace, delete, reload, rebuild), the flags of what it loads, the comparison
// groups and the checks that hide quick sets.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqmsgbox.h"
#include "common/zqprintercaps.h"
#include "featurelogic/zqquicksets.h"
#include "featurelogic/zquilogic.h"
#include "res/zqquicksetids.h"
#include "settings/zqdriverdata.h"
#include "xmlrules/zqxmluirules.h"
#include "optitemfixture.h"
#include "testsupport.h"
#include "zqmemprinter.h"

namespace {

using zqspool::CZQMemoryPrinter;
using zqspool::MemCall;
using zqtest::FixtureFeature;

constexpr WCHAR kGuid[] = L"{5A510063-4E2B-4C6A-9D3E-17F0A2B3C4D5}";
const std::wstring kUserKey = std::wstring(L"Software\\Quorvane\\") + kGuid;
const std::wstring kPool = L"ZQPresetRoot\\PresetPoolData";

// "KEY KEY ..." as options named like their keywords; a "!" before a keyword marks a conflict.
FixtureFeature Feature(const char* keyword, const std::string& keys, BYTE pubId = 0, LONG sel = 0) {
    FixtureFeature f;
    f.keyword = keyword;
    f.pubId = pubId;
    f.sel = sel;
    std::istringstream in(keys);
    for (std::string k; in >> k;) {
        zqtest::FixtureOption o;
        o.conflict = k[0] == '!';
        if (o.conflict) k.erase(0, 1);
        o.keyword = k;
        o.name = std::wstring(k.begin(), k.end());
        f.options.push_back(o);
    }
    return f;
}

class QuickSetStore : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str());
        m_printer.PutString(L"ZQPresetRoot", L"ZQRestrictedUserGuid", kGuid);
        m_printer.Install();
        FixtureFeature copies;
        copies.keyword = "Copies";
        copies.kind = zqtest::FixtureKind::UpDown;
        copies.pubId = DMPUB_COPIES_COLLATE;
        copies.sel = 1;
        FixtureFeature bins = Feature("InputBin", "AUTOSELECT TRAY1 !PHOTO !TRAY3", DMPUB_DEFSOURCE);
        bins.options[2].name = L"Photo Tray";
        FixtureFeature orientation = Feature("Orientation", "PORTRAIT LANDSCAPE", kOemPubOrientation);
        orientation.oem = true;
        // A large-format printer whose core driver hides a roll feature.
        FixtureFeature roll = Feature("ZQSaveRollPaper", "FALSE TRUE");
        roll.flags = OPTIF_HIDE;
        for (const FixtureFeature& f :
             {Feature("Duplex", "NONE VERTICAL HORIZONTAL", DMPUB_DUPLEX), Feature("DuplexUnit", "NOTINSTALLED INSTALLED", 0, 1),
              bins, Feature("OutputBin", "Upper !Stapler"), Feature("PaperSize", "LETTER MYFORM", DMPUB_FORMNAME),
              Feature("MediaType", "PLAIN GLOSSY", DMPUB_MEDIATYPE), Feature("ColorMode", "Color Mono"),
              Feature("ZQNWatermark", "NOTINSTALLED INSTALLED"), Feature("Resolution", "300dpi 600dpi"),
              Feature("PrintQualityGroup", "PQGroup_1 PQGroup_2 PQGroup_3"),
              Feature("NUp", "1 2 4 6 9", DMPUB_NUP), Feature("PageOrder", "FRONT_TO_BACK BACK_TO_FRONT", DMPUB_PAGEORDER),
              copies, orientation, roll, zqtest::ValueFeature("ZQPrinterClass", "ZQKorrix"),
              Feature("ZQChromix", "AUTO MANUAL"), Feature("ZQChromix_Text_Halftone", "P A N Detail Smooth", 0, 4),
              Feature("ZQChromix_Photo_RGBColor", "P A N Vivid sRGB", 0, 4),
              Feature("ZQChromix_Text_NeutralGrays", "P A N Black Four", 0, 1),
              Feature("ZQChromix_Photo_Spare", "P A N")})
            m_items.Add(f);
        m_items.Build();
        m_module.Reset(LoadLibraryW(zqtest::BesideExe(L"zqcoremod.dll").c_str()));
        m_dm.dwSize = sizeof m_dm;
        m_dm.wOrientation = 1;
        m_dm.wDuplex = 1;
        Bind(PRINTER_ALL_ACCESS);
    }
    void TearDown() override {
        m_qs.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kUserKey.c_str());
    }

    // A manager of the block on a printer handle with that access, its store prepared.
    CZQQuickSets& Bind(ACCESS_MASK access) {
        m_qs.reset();
        OEMCUIPPARAM* p = m_items.Param();
        p->hPrinter = m_printer.Open(access);
        p->pPrinterName = const_cast<PWSTR>(m_printer.Identity().name.c_str());
        p->pOEMDM = &m_dm;
        m_qs = std::make_unique<CZQQuickSets>();
        m_qs->VSetParam(p, OEMCUIP_DOCPROP);
        m_qs->VSetResourceModule(m_module.Get());
        m_qs->VPrepareStore();
        return *m_qs;
    }

    QuickSetEntry* Save(const wchar_t* name, WORD duplex = 1) {
        QuickSetEntry* e = m_qs->PNewEntry();
        lstrcpynW(e->head.szName, name, 82);
        e->head.dwMarker = 21;
        e->head.cchName = 82;
        e->head.cbSettings = 2020;
        zqqs::DefaultSettings(e->head.settings);
        e->head.settings.wDuplex = duplex;
        CZQQuickSets::VAppendPair(&e->pPairs, L"Duplex", L"NONE");
        m_qs->VWriteEntry(e, FALSE);
        return e;
    }

    std::vector<BYTE> Stored(const std::wstring& name) {
        std::vector<BYTE> data;
        m_printer.GetValue(kPool, name, nullptr, &data);
        return data;
    }
    std::vector<BYTE> UserStored(const std::wstring& key, const std::wstring& name) {
        CZQRegKey k;
        DWORD cb = 0;
        std::vector<BYTE> data;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, (kUserKey + L"\\" + key).c_str(), 0, KEY_READ, k.Put()) != ERROR_SUCCESS ||
            RegQueryValueExW(k.Get(), name.c_str(), nullptr, nullptr, nullptr, &cb) != ERROR_SUCCESS)
            return data;
        data.resize(cb);
        RegQueryValueExW(k.Get(), name.c_str(), nullptr, nullptr, data.data(), &cb);
        return data;
    }
    std::vector<std::wstring> Names() {
        std::vector<std::wstring> names;
        for (QuickSetEntry* e = m_qs->PFirstEntry(); e; e = e->pNext) names.push_back(e->head.szName);
        return names;
    }
    QuickSetEntry* Loaded(const wchar_t* name) { return m_qs->PFindEntry(name); }

    CZQMemoryPrinter m_printer;
    zqtest::COptItemFixture m_items;
    CZQModule m_module;
    ZQUIDevmode m_dm = {};
    std::unique_ptr<CZQQuickSets> m_qs;
};

TEST_F(QuickSetStore, IndexesThroughSavesDeletesAndReplacements) {
    QuickSetEntry* a = Save(L"A");
    Save(L"B");
    Save(L"C");
    m_qs->VDeleteStoredEntry(a);
    m_qs->VRemoveEntry(a);
    QuickSetEntry* d = Save(L"D");
    EXPECT_EQ(3, d->iIndex);
    std::vector<BYTE> counter;
    ASSERT_TRUE(m_printer.GetValue(L"ZQPresetRoot", L"PresetPoolMaxIndexCount", nullptr, &counter));
    EXPECT_EQ((std::vector<BYTE>{4, 0, 0, 0}), counter);
    EXPECT_TRUE(Stored(L"PresetPool:0").empty());
    EXPECT_EQ(2206u + 28u, Stored(L"PresetPool:3").size());

    // A replacement keeps its value name and the counter.
    d->head.settings.wDuplex = 3;
    m_qs->VWriteEntry(d, TRUE);
    EXPECT_EQ(3, Stored(L"PresetPool:3")[180]);
    m_printer.GetValue(L"ZQPresetRoot", L"PresetPoolMaxIndexCount", nullptr, &counter);
    EXPECT_EQ(4, counter[0]);

    // Reloaded byte for byte, with their flags and the counter.
    const std::vector<BYTE> before = Stored(L"PresetPool:1");
    Bind(PRINTER_ALL_ACCESS).VLoadStored();
    m_qs->VReadMaxIndex();
    EXPECT_EQ((std::vector<std::wstring>{L"B", L"C", L"D"}), Names());
    EXPECT_EQ(CZQQuickSets::kOwnFlag, Loaded(L"B")->dwFlags);
    EXPECT_EQ(1, Loaded(L"B")->iIndex);
    EXPECT_EQ(4, m_qs->ISharedIndex());
    BYTE* value = nullptr;
    DWORD cb = 0;
    ASSERT_TRUE(CZQQuickSets::BSerializeEntry(&value, Loaded(L"B"), &cb));
    EXPECT_EQ(before, std::vector<BYTE>(value, value + cb));
    LocalFree(value);
}

TEST_F(QuickSetStore, LoadLimitBadValuesAndFactoryNames) {
    Save(L" Werkseinstellungen");
    for (int i = 1; i < 26; ++i) Save((L"Q" + std::to_wstring(i)).c_str());
    std::vector<BYTE> bad = Stored(L"PresetPool:3");
    bad[8] = 90;  // a name field longer than a quick set's name
    m_printer.PutValue(kPool, L"PresetPool:3", REG_BINARY, bad.data(), static_cast<DWORD>(bad.size()));
    std::vector<BYTE> cut = Stored(L"PresetPool:4");
    cut.resize(cut.size() - 3);
    m_printer.PutValue(kPool, L"PresetPool:4", REG_BINARY, cut.data(), static_cast<DWORD>(cut.size()));

    Bind(PRINTER_ALL_ACCESS).VLoadStored();
    const std::vector<std::wstring> names = Names();
    ASSERT_EQ(23u, names.size());  // 26 stored, 25 read, two of them refused
    EXPECT_EQ(L" Factory Defaults", names[0]);
    EXPECT_EQ(CZQQuickSets::kFixedFlag, m_qs->PFirstEntry()->dwFlags);
    EXPECT_EQ(nullptr, Loaded(L"Q3"));
    // The memory printer lists its values by name: "PresetPool:9" comes 26th.
    EXPECT_EQ(nullptr, Loaded(L"Q9"));
    EXPECT_NE(nullptr, Loaded(L"Q25"));
    EXPECT_EQ(bad, Stored(L"PresetPool:3"));  // a refused value stays stored
    EXPECT_TRUE(m_qs->BIsFactoryName(L" FACTORY defaults"));
    EXPECT_FALSE(m_qs->BIsFactoryName(L"Factory Defaults"));
}

TEST_F(QuickSetStore, RestrictedUserKeepsOwnQuickSetsInTheUserKey) {
    Save(L"Shared");
    Save(L"Twin");
    m_printer.SetRestrictedUser(true);
    CZQQuickSets& qs = Bind(PRINTER_ACCESS_USE);
    ASSERT_TRUE(qs.BRestrictedUser());
    Save(L"Mine");
    Save(L"Twin");
    EXPECT_EQ(2206u + 28u, UserStored(L"ZQPresetRoot\\PresetPoolData", L"PresetPool:0").size());
    EXPECT_EQ((std::vector<BYTE>{2, 0, 0, 0}), UserStored(L"ZQPresetRoot", L"PresetPoolMaxIndexCount"));
    EXPECT_TRUE(Stored(L"PresetPool:2").empty());

    Bind(PRINTER_ACCESS_USE).VLoadStored();
    m_qs->VReadMaxIndex();
    EXPECT_EQ(2, m_qs->IUserIndex());
    EXPECT_EQ(2, m_qs->ISharedIndex());
    ASSERT_EQ((std::vector<std::wstring>{L"Shared", L"Twin", L"Mine", L"Twin"}), Names());
    const QuickSetEntry* e = m_qs->PFirstEntry();
    EXPECT_EQ(CZQQuickSets::kFixedFlag, e->dwFlags);
    EXPECT_EQ(CZQQuickSets::kOwnFlag, e->pNext->pNext->dwFlags);
    EXPECT_EQ(CZQQuickSets::kOwnFlag | CZQQuickSets::kHiddenFlag, e->pNext->pNext->pNext->dwFlags);

    m_qs->VDeleteStoredEntry(e->pNext->pNext);
    EXPECT_TRUE(UserStored(L"ZQPresetRoot\\PresetPoolData", L"PresetPool:0").empty());
    EXPECT_FALSE(Stored(L"PresetPool:0").empty());
}

TEST_F(QuickSetStore, RebuildMergesUnderFreshIndexes) {
    Save(L"One");
    Save(L"Two");
    Save(L"Three");
    m_qs->VDeleteStoredEntry(m_qs->PFindEntry(L"One"));
    // The values beyond go one by one, after the entries are written.
    m_printer.FailCall(MemCall::DeletePrinterKey, ERROR_CALL_NOT_IMPLEMENTED);
    CZQQuickSets& qs = Bind(PRINTER_ALL_ACCESS);
    qs.VRebuildStore(nullptr);
    EXPECT_EQ(2, qs.IEntryCount());
    EXPECT_EQ(nullptr, qs.PFirstEntry());
    EXPECT_EQ(0, std::wstring(reinterpret_cast<const wchar_t*>(Stored(L"PresetPool:0").data() + 12)).compare(L"Two"));
    EXPECT_FALSE(Stored(L"PresetPool:1").empty());
    EXPECT_TRUE(Stored(L"PresetPool:2").empty());
    std::vector<BYTE> counter;
    m_printer.GetValue(L"ZQPresetRoot", L"PresetPoolMaxIndexCount", nullptr, &counter);
    EXPECT_EQ(2, counter[0]);
}

// A restricted user's rebuild writes his own store, by its counter, past the quick sets of his own;
// his earlier copy of a shared one gives way.
TEST_F(QuickSetStore, RestrictedRebuildWritesTheUsersStore) {
    Save(L"Shared");
    const std::vector<BYTE> shared = Stored(L"PresetPool:0");
    m_printer.SetRestrictedUser(true);
    Bind(PRINTER_ACCESS_USE);
    Save(L"Mine");
    Save(L"Shared", 2);
    Bind(PRINTER_ACCESS_USE).VRebuildStore(nullptr);
    EXPECT_EQ(0, std::wstring(reinterpret_cast<const wchar_t*>(UserStored(kPool, L"PresetPool:0").data() + 12)).compare(L"Mine"));
    const std::vector<BYTE> rebuilt = UserStored(kPool, L"PresetPool:1");
    ASSERT_LT(180u, rebuilt.size());
    EXPECT_EQ(1, rebuilt[180]);  // the printer's own, one-sided
    EXPECT_EQ((std::vector<BYTE>{2, 0, 0, 0}), UserStored(L"ZQPresetRoot", L"PresetPoolMaxIndexCount"));
    EXPECT_EQ(shared, Stored(L"PresetPool:0"));
}

TEST_F(QuickSetStore, FailuresLeaveListAndStoreAsTheyWere) {
    QuickSetEntry* kept = Save(L"Kept");
    m_printer.SetReadOnly(true);
    QuickSetEntry* e = m_qs->PNewEntry();
    e->iIndex = 7;
    m_qs->VWriteEntry(e, FALSE);
    EXPECT_EQ(7, e->iIndex);
    EXPECT_TRUE(Stored(L"PresetPool:1").empty());
    m_qs->VDeleteStoredEntry(kept);
    EXPECT_FALSE(Stored(L"PresetPool:0").empty());
    // A rebuild that cannot remove a value beyond its entries leaves the store as it was.
    m_printer.SetReadOnly(false);
    Save(L"Beyond");
    m_qs->VDeleteStoredEntry(kept);
    // The rebuild's first removal is refused.
    m_printer.FailCall(MemCall::DeletePrinterDataEx, ERROR_ACCESS_DENIED, 1);
    const std::vector<BYTE> before = Stored(L"PresetPool:1");
    Bind(PRINTER_ALL_ACCESS).VRebuildStore(nullptr);
    EXPECT_EQ(before, Stored(L"PresetPool:1"));
    EXPECT_TRUE(Stored(L"PresetPool:0").empty());
    // Where no removal goes through (Wine's spooler), what the rebuild made cannot be taken back:
    // it makes nothing, and no quick set is stored twice.
    m_printer.FailCall(MemCall::DeletePrinterDataEx, ERROR_INVALID_PARAMETER);
    Bind(PRINTER_ALL_ACCESS).VRebuildStore(nullptr);
    m_printer.FailCall(MemCall::DeletePrinterDataEx, 0, 0);
    EXPECT_EQ(before, Stored(L"PresetPool:1"));
    EXPECT_TRUE(Stored(L"PresetPool:0").empty());
    // Without the private devmode nothing is read or written.
    m_items.Param()->pOEMDM = nullptr;
    m_qs->VLoadStored();
    EXPECT_EQ(nullptr, m_qs->PFirstEntry());
    m_qs->VWriteEntry(m_qs->PNewEntry(), FALSE);
    EXPECT_TRUE(Stored(L"PresetPool:2").empty());
}

// ---- comparisons

class QuickSetCompare : public QuickSetStore {
protected:
    BOOL Differs(const std::function<void(ZQUIDevmode&)>& change, int group) {
        ZQUIDevmode dm = m_dm;
        change(dm);
        return m_qs->BPageDiffers(dm, group);
    }
};

TEST_F(QuickSetCompare, EveryGroupComparesItsOwnFields) {
    m_qs->VSetPosterTilesPerSide(2);
    m_dm.dwOtherPagesMedia = 1;  // a paper set: an unset one is the core driver's, whatever a page stores
    m_qs->VSnapshotCurrent(&m_dm);
    struct Case {
        int group;
        std::function<void(ZQUIDevmode&)> change;
        int unrelated;
    } cases[] = {
        {CZQQuickSets::kCompareJobOptions, [](ZQUIDevmode& d) { d.aiColorAdjust[6] = 5; }, CZQQuickSets::kCompareEffects},
        {CZQQuickSets::kCompareJobStorage, [](ZQUIDevmode& d) { d.szJsJobName[0] = L'J'; }, CZQQuickSets::kCompareJobOptions},
        {CZQQuickSets::kCompareJobStorage, [](ZQUIDevmode& d) { d.aiImageShift[8] = 1; }, CZQQuickSets::kCompareFinishing},
        {CZQQuickSets::kCompareFinishing, [](ZQUIDevmode& d) { d.dwFlipPagesUp = 1; }, CZQQuickSets::kCompareJobStorage},
        {CZQQuickSets::kCompareFinishing, [](ZQUIDevmode& d) { d.adwPosterTiles[3] = 1; }, CZQQuickSets::kComparePaperQuality},
        {CZQQuickSets::kCompareEffects, [](ZQUIDevmode& d) { d.dwScalePercent = 50; }, CZQQuickSets::kCompareFinishing},
        {CZQQuickSets::kCompareEffects, [](ZQUIDevmode& d) { lstrcpyW(d.szWmName, L"Draft"); }, CZQQuickSets::kCompareAppText},
        {CZQQuickSets::kComparePaperQuality, [](ZQUIDevmode& d) { d.dwOtherPagesMedia = 258; }, CZQQuickSets::kCompareEffects},
        {CZQQuickSets::kCompareAppText, [](ZQUIDevmode& d) { d.szAppText[0] = L'W'; }, CZQQuickSets::kComparePaperQuality},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Differs(c.change, c.group)) << c.group;
        EXPECT_FALSE(Differs(c.change, c.unrelated)) << c.group;
        EXPECT_FALSE(Differs(c.change, 4)) << "page id 4 runs no group";
        EXPECT_FALSE(Differs(c.change, CZQQuickSets::kCompareFeatures)) << "nor does the Features page's";
    }
    // A tile beyond 2 x 2 is outside the poster; orientation counts for every page.
    EXPECT_FALSE(Differs([](ZQUIDevmode& d) { d.adwPosterTiles[4] = 1; }, CZQQuickSets::kCompareFinishing));
    EXPECT_TRUE(Differs([](ZQUIDevmode& d) { d.wOrientation = 2; }, CZQQuickSets::kCompareAppText));
    EXPECT_FALSE(m_qs->BSettingsDiffer(m_dm));
    ZQUIDevmode turned = m_dm;
    turned.wOrientation = 2;
    EXPECT_TRUE(m_qs->BSettingsDiffer(turned));

    // The paper printed on counts while the document is printed on another paper.
    const auto printedOn = [](ZQUIDevmode& d) { d.dwPrintedOnPaper = 257; };
    EXPECT_FALSE(Differs(printedOn, CZQQuickSets::kCompareEffects));
    m_dm.dwPrintDocOn = 1;
    m_qs->VSnapshotCurrent(&m_dm);
    EXPECT_TRUE(Differs(printedOn, CZQQuickSets::kCompareEffects));
}

TEST_F(QuickSetCompare, WatermarkNoneInTwoLanguagesAndOwnWatermark) {
    lstrcpyW(m_dm.szWmName, L" [keine]");
    m_qs->VSnapshotCurrent(&m_dm);
    EXPECT_FALSE(Differs([](ZQUIDevmode& d) { lstrcpyW(d.szWmName, L" [NONE]"); }, CZQQuickSets::kCompareEffects));
    EXPECT_TRUE(Differs([](ZQUIDevmode& d) { lstrcpyW(d.szWmName, L"Draft"); }, CZQQuickSets::kCompareEffects));
    m_items.SetSelection("ZQNWatermark", 1);
    m_qs->VSnapshotCurrent(&m_dm);
    EXPECT_FALSE(Differs([](ZQUIDevmode& d) { lstrcpyW(d.szWmName, L"Draft"); }, CZQQuickSets::kCompareEffects));
}

TEST_F(QuickSetCompare, DependentFeatures) {
    m_qs->VSnapshotCurrent(&m_dm);
    EXPECT_FALSE(m_qs->BFeaturesDiffer(nullptr));
    m_items.SetSelection("OutputBin", 1);
    EXPECT_TRUE(m_qs->BPageDiffers(m_dm, CZQQuickSets::kCompareAppText));
    m_items.SetSelection("OutputBin", 0);
    // ColorMode counts only under PostScript.
    m_items.SetSelection("ColorMode", 1);
    EXPECT_FALSE(m_qs->BPageDiffers(m_dm, 0));
    m_dm.dwPdl = 3;
    EXPECT_TRUE(m_qs->BPageDiffers(m_dm, 0));
    m_dm.dwPdl = 0;
    m_items.SetSelection("ColorMode", 0);
    // The copy count is a standard value; the plug-in's orientation item follows the block.
    m_items.SetSelection("Copies", 3);
    EXPECT_TRUE(m_qs->BPageDiffers(m_dm, 0));
    m_items.SetSelection("Copies", 1);
    m_items.SetSelection("Orientation", 1);
    EXPECT_TRUE(m_qs->BPageDiffers(m_dm, 0));
    m_items.SetSelection("Orientation", 0);
    EXPECT_FALSE(m_qs->BPageDiffers(m_dm, 0));
    // A feature the printer hides counts like any other.
    m_items.SetSelection("ZQSaveRollPaper", 1);
    EXPECT_TRUE(m_qs->BPageDiffers(m_dm, 0));
    m_items.SetSelection("ZQSaveRollPaper", 0);

    // A user's form in a PaperSize pair is compared by its display name.
    m_printer.AddForm(L"MYFORM", 100000, 100000, FORM_USER);
    EXPECT_TRUE(m_qs->BIsUserForm(L"myform"));
    EXPECT_FALSE(m_qs->BIsUserForm(L"Letter"));
    m_items.SetSelection("PaperSize", 1);
    QuickSetEntry entry = {};
    entry.head.settings.wOrientation = 1;
    CZQQuickSets::VAppendPair(&entry.pPairs, L"PaperSize", L"MyForm");
    EXPECT_FALSE(m_qs->BFeaturesDiffer(&entry));
    CZQQuickSets::VReplacePairOption(entry.pPairs, L"paPERsize", L"LETTER");
    EXPECT_TRUE(m_qs->BFeaturesDiffer(&entry));
    CZQQuickSets::VFreePairs(&entry.pPairs);
}

// A feature named twice in a quick set: its first pair counts for a feature of the core driver,
// the last for a standard value (appended last).
TEST_F(QuickSetCompare, PairsOfOneNameTwice) {
    struct Case {
        const char* what;
        const wchar_t* feature;
        const wchar_t* first;
        const wchar_t* second;
        bool differs;
    } cases[] = {
        {"the bin in force first", L"OutputBin", L"Upper", L"Stapler", false},
        {"another bin first", L"OutputBin", L"Stapler", L"Upper", true},
        {"the copy count in force last", L"Copies", L"3", L"1", false},
        {"another copy count last", L"Copies", L"1", L"3", true},
    };
    for (const Case& c : cases) {
        QuickSetEntry entry = {};
        entry.head.settings.wOrientation = 1;
        CZQQuickSets::VAppendPair(&entry.pPairs, L"Duplex", L"NONE");
        CZQQuickSets::VAppendPair(&entry.pPairs, c.feature, c.first);
        CZQQuickSets::VAppendPair(&entry.pPairs, L"MediaType", L"PLAIN");
        CZQQuickSets::VAppendPair(&entry.pPairs, c.feature, c.second);
        EXPECT_EQ(c.differs, m_qs->BFeaturesDiffer(&entry) != FALSE) << c.what;
        CZQQuickSets::VFreePairs(&entry.pPairs);
    }
}

TEST_F(QuickSetCompare, InstallableAndLockChecksHide) {
    QuickSetEntry* factory = Save(L" Factory Defaults");
    factory->head.settings.adwPaperSource[7] = 15;
    struct Case {
        const char* what;
        WORD duplex;
        const wchar_t* feature;
        const wchar_t* option;
        DWORD source;
        bool hidden;
    } cases[] = {
        {"a marked output bin", 1, L"OutputBin", L"Stapler", 15, true},
        {"an offered output bin", 1, L"OutputBin", L"Upper", 15, false},
        {"the photo tray though marked", 1, L"InputBin", L"PHOTO", 15, false},
        {"a marked tray", 1, L"InputBin", L"TRAY3", 15, true},
        {"two-sided with the unit", 2, L"ColorMode", L"Mono", 15, false},
        {"another source while sources are locked", 1, L"ColorMode", L"Mono", 7, true},
    };
    m_printer.PutString(L"DMCLockData\\Printing", L"InputBin", L"Unlock");
    for (const Case& c : cases) {
        if (c.source == 7) m_printer.PutString(L"DMCLockData\\Printing", L"InputBin", L"Lock");
        QuickSetEntry* e = Save(L"Mine", c.duplex);
        CZQQuickSets::VAppendPair(&e->pPairs, c.feature, c.option);
        e->head.settings.adwPaperSource[7] = c.source;
        m_qs->VCheckInstallable(e);
        EXPECT_EQ(c.hidden, (e->dwFlags & CZQQuickSets::kHiddenFlag) != 0) << c.what;
        EXPECT_EQ("Upper", m_items.Current("OutputBin")) << c.what;
        EXPECT_EQ("AUTOSELECT", m_items.Current("InputBin")) << c.what;
        m_qs->VRemoveEntry(e);
    }
    // Without the unit, two-sided quick sets go.
    m_items.SetSelection("DuplexUnit", 0);
    QuickSetEntry* twoSided = Save(L"Both", 2);
    m_qs->VCheckInstallable(twoSided);
    EXPECT_TRUE(twoSided->dwFlags & CZQQuickSets::kHiddenFlag);
}

// ---------------------------------------------------------------------------------------------
// The manager the pages use
// ---------------------------------------------------------------------------------------------
class QuickSetManager : public QuickSetStore {
protected:
    void SetUp() override {
        QuickSetStore::SetUp();
        zqmsgbox::SetAnswerer(&Answer, this);
        m_page = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        const struct {
            PCWSTR cls;
            DWORD style;
            int id;
        } controls[] = {{L"BUTTON", BS_GROUPBOX, IDC_GB_PRE_SETS},
                        {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_SORT, IDC_CBO_PRESET},
                        {L"BUTTON", BS_PUSHBUTTON, IDC_BTN_SAVE_PRESET},
                        {L"BUTTON", BS_PUSHBUTTON, IDC_BTN_DELETE_PRESET}};
        for (const auto& c : controls)
            CreateWindowExW(0, c.cls, L"", WS_CHILD | WS_VISIBLE | c.style, 0, 0, 200, 100, m_page,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), nullptr, nullptr);
        m_qs->VInitControls(m_page, nullptr, &m_combo, &m_save, &m_delete);
    }
    void TearDown() override {
        zqmsgbox::SetAnswerer(nullptr, nullptr);
        DestroyWindow(m_page);
        QuickSetStore::TearDown();
    }
    static int Answer(void* self, HWND, PCWSTR text, PCWSTR, UINT) {
        auto* t = static_cast<QuickSetManager*>(self);
        t->m_asked.push_back(text);
        return t->m_answer;
    }
    std::wstring ComboText() {
        WCHAR text[128] = {};
        GetWindowTextW(m_combo, text, 128);
        return text;
    }
    void Select(PCWSTR name) {
        SendMessageW(m_combo, CB_SETCURSEL,
                     SendMessageW(m_combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)), 0);
    }
    std::pair<bool, bool> Buttons() { return {IsWindowEnabled(m_save) != FALSE, IsWindowEnabled(m_delete) != FALSE}; }
    void SaveAs(PCWSTR name) { m_qs->VSaveCurrent(m_page, name, m_save, m_delete, &m_dm, FALSE, &m_names); }
    // The page's answer to a save without a name: the name typed, or cancelled when empty.
    struct FakeNames : IZQNameAsker {
        std::wstring typed;
        std::vector<ZQNameQuestion> asked;
        BOOL BAskName(HWND, BOOL, const ZQNameQuestion& question, PWSTR pszName, size_t cchName) override {
            asked.push_back(question);
            if (typed.empty()) return FALSE;
            lstrcpynW(pszName, typed.c_str(), static_cast<int>(cchName));
            return TRUE;
        }
    };

    HWND m_page = nullptr, m_combo = nullptr, m_save = nullptr, m_delete = nullptr;
    std::vector<std::wstring> m_asked;
    int m_answer = IDYES;
    FakeNames m_names;
};

TEST_F(QuickSetManager, LoadNamesThePlaceholderTheFactoryAndHiddenOnes) {
    Save(L" Werkseinstellungen");
    Save(L"Two-sided", 2);
    m_items.SetSelection("DuplexUnit", 0);  // a two-sided quick set the printer cannot print is hidden
    struct Case {
        const wchar_t* stored;
        const wchar_t* current;
        bool selected;
    } cases[] = {{L"", L"Type new Quick Set name here", false},
                 {L" Werkseinstellungen", L" Factory Defaults", true},
                 {L" FACTORY DEFAULTS", L" Factory Defaults", true},
                 {L"Two-sided", L"Type new Quick Set name here", false},
                 {L"Gone", L"Type new Quick Set name here", false}};
    for (const Case& c : cases) {
        lstrcpynW(m_dm.szQuickSetName, c.stored, 82);
        m_qs->VLoad(nullptr, &m_dm);
        EXPECT_STREQ(c.current, m_qs->PszCurrentName()) << c.stored;
        EXPECT_EQ(c.selected, m_qs->BSelected() != FALSE) << c.stored;
    }
    EXPECT_EQ(2, m_qs->IEntryCount());
    m_qs->VRefreshCombo(m_combo, m_save, m_delete);
    EXPECT_EQ(1, SendMessageW(m_combo, CB_GETCOUNT, 0, 0));  // the hidden one is not listed
}

TEST_F(QuickSetManager, SaveRefusalsReplaceLimitAndDelete) {
    Save(L" Factory Defaults");
    m_qs->VLoad(nullptr, &m_dm);
    struct Case {
        const wchar_t* name;
        const wchar_t* message;  // null: saved
    } cases[] = {{L" factory DEFAULTS", L"This name can not be saved"},
                 {L" Werkseinstellungen", L"This name can not be saved"},
                 {L"   ", L"This name can not be saved"},
                 {L"Mine", nullptr}};
    for (const Case& c : cases) {
        m_asked.clear();
        SaveAs(c.name);
        if (c.message) {
            ASSERT_EQ(1u, m_asked.size()) << c.name;
            EXPECT_EQ(0u, m_asked[0].find(c.message)) << c.name;
            EXPECT_FALSE(m_qs->BSelected());
        } else {
            EXPECT_TRUE(m_asked.empty());
            EXPECT_TRUE(m_qs->BSelected());
        }
    }
    // A fixed quick set is not saved over; a user's own is replaced under its index.
    m_asked.clear();
    SaveAs(L" Factory Defaults");
    ASSERT_FALSE(m_asked.empty());
    EXPECT_EQ(0u, m_asked[0].find(L"A Task Preset with that name already exists and cannot be renamed"));
    const int index = m_qs->PFindEntry(L"Mine")->iIndex;
    m_dm.wDuplex = 3;
    SaveAs(L"Mine");
    EXPECT_EQ(index, m_qs->PFindEntry(L"Mine")->iIndex);
    EXPECT_EQ(3, Stored(L"PresetPool:" + std::to_wstring(index))[180]);
    EXPECT_EQ(2, m_qs->IEntryCount());
    // Up to 25; the 26th is refused, a replacement still allowed.
    for (int i = 2; i < 25; ++i) SaveAs((L"S" + std::to_wstring(i)).c_str());
    EXPECT_EQ(25, m_qs->IEntryCount());
    m_asked.clear();
    SaveAs(L"One too many");
    ASSERT_FALSE(m_asked.empty());
    EXPECT_EQ(0u, m_asked[0].find(L"The maximum number of Task Presets"));
    EXPECT_EQ(nullptr, m_qs->PFindEntry(L"One too many"));
    SaveAs(L"S2");
    EXPECT_TRUE(m_qs->BSelected());

    // The combo: a fixed quick set leaves both buttons off, the user's own only Delete.
    m_qs->VRefreshCombo(m_combo, m_save, m_delete);
    Select(L" Factory Defaults");
    m_qs->VApplySelection(m_page, m_combo, m_save, m_delete);
    EXPECT_EQ(std::make_pair(false, false), Buttons());
    Select(L"Mine");
    m_qs->VApplySelection(m_page, m_combo, m_save, m_delete);
    EXPECT_EQ(std::make_pair(false, true), Buttons());
    // Cancelled, then confirmed: the group goes back to the placeholder.
    m_answer = IDCANCEL;
    m_qs->VDeleteSelected(m_page, m_combo, m_save, m_delete, nullptr);
    EXPECT_NE(nullptr, m_qs->PFindEntry(L"Mine"));
    m_answer = IDOK;
    m_qs->VDeleteSelected(m_page, m_combo, m_save, m_delete, nullptr);
    EXPECT_EQ(nullptr, m_qs->PFindEntry(L"Mine"));
    EXPECT_TRUE(Stored(L"PresetPool:" + std::to_wstring(index)).empty());
    EXPECT_EQ(L"Type new Quick Set name here", ComboText());
    EXPECT_EQ(std::make_pair(true, false), Buttons());
    EXPECT_TRUE(m_qs->BListChanged());
    EXPECT_EQ(24, m_qs->IEntryCount());
}

// A new quick set takes an index past the counter as stored now and past every stored one, whatever
// the counter holds; with no index left below the largest int it is refused with a message. A
// second manager loaded before the first one saved keeps the first one's quick set.
TEST_F(QuickSetManager, NewQuickSetsTakeAnIndexNothingStoredHolds) {
    const struct {
        std::vector<BYTE> counter;  // empty: none stored
        const wchar_t* value;       // null: refused
    } cases[] = {{{0, 0, 0, 0}, L"PresetPool:4"},          {{1}, L"PresetPool:4"},
                 {{}, L"PresetPool:4"},                    {{9, 0, 0, 0}, L"PresetPool:9"},
                 {{0xFE, 0xFF, 0xFF, 0x7F}, L"PresetPool:2147483646"}, {{0xFF, 0xFF, 0xFF, 0x7F}, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.counter.size());
        zqspool::Spooler().DeletePrinterKeyW(m_items.Param()->hPrinter, L"ZQPresetRoot");
        for (const wchar_t* name : {L"A", L"B", L"C"}) Save(name);
        m_qs->VLoad(nullptr, &m_dm);
        CZQQuickSets other;
        other.VSetParam(m_items.Param(), OEMCUIP_DOCPROP);
        other.VLoad(nullptr, &m_dm);
        SaveAs(L"SheetOne");
        if (c.counter.empty()) {
            zqspool::Spooler().DeletePrinterDataExW(m_items.Param()->hPrinter, L"ZQPresetRoot",
                                                    L"PresetPoolMaxIndexCount");
        } else {
            m_printer.PutValue(L"ZQPresetRoot", L"PresetPoolMaxIndexCount", REG_BINARY, c.counter.data(),
                               static_cast<DWORD>(c.counter.size()));
        }
        const std::vector<BYTE> one = Stored(L"PresetPool:3");
        m_asked.clear();
        other.VSaveCurrent(m_page, L"SheetTwo", nullptr, nullptr, &m_dm, FALSE, nullptr);
        EXPECT_EQ(one, Stored(L"PresetPool:3")) << "SheetOne kept";
        ASSERT_EQ(c.value ? 0u : 1u, m_asked.size());
        if (!c.value) EXPECT_EQ(0u, m_asked[0].find(L"The maximum number of Task Presets"));
        else EXPECT_EQ(L"SheetTwo", std::wstring(reinterpret_cast<const wchar_t*>(Stored(c.value).data() + 12)));
    }
}

// A printing shortcut's quick set goes by the shortcut's name in any letter case: replaced in place,
// asked about unless the shortcut's replacement was agreed, and deleted with the shortcut.
TEST_F(QuickSetManager, AShortcutsQuickSetIsFoundInAnyCase) {
    m_qs->VLoad(nullptr, &m_dm);
    const BOOL replace = FALSE;
    m_qs->VSaveCurrent(m_page, L"Gallery", nullptr, nullptr, &m_dm, FALSE, nullptr, &replace);
    ASSERT_EQ(ZQStoreOutcome::kStored, m_qs->ELastOutcome());
    const int index = m_qs->PFindEntry(L"Gallery")->iIndex;
    m_qs->VSaveCurrent(m_page, L"gallery", nullptr, nullptr, &m_dm, FALSE, nullptr, &replace);
    EXPECT_EQ(ZQStoreOutcome::kStored, m_qs->ELastOutcome());
    ASSERT_EQ(1u, m_asked.size());
    EXPECT_EQ(1, m_qs->IEntryCount());
    EXPECT_EQ(index, m_qs->PFindEntry(L"gallery")->iIndex);
    m_qs->VDeleteByName(L"GALLERY");
    EXPECT_EQ(0, m_qs->IEntryCount());
    EXPECT_TRUE(Stored(L"PresetPool:" + std::to_wstring(index)).empty());
}

// Two sheets of one printer, each loaded before the other changed the store: a name the other stored
// since is asked about (declined: theirs stays, and no save is shown), one the other deleted is not
// brought back, and one the other's rebuild moved is deleted where it lies now.
TEST_F(QuickSetManager, TwoSheetsWorkOnWhatIsStoredNow) {
    const auto storedNames = [&] {
        std::wstring names;
        CZQPrinterDataList list;
        list.BRead(m_items.Param()->hPrinter, kPool.c_str());
        for (DWORD i = 0; i < list.Count(); ++i)
            names += reinterpret_cast<const wchar_t*>(list.Data(i, nullptr, nullptr) + 12) + std::wstring(L" ");
        return names;
    };
    Save(L"Kept");
    Save(L"Gone");
    m_qs->VLoad(nullptr, &m_dm);
    CZQQuickSets other;
    other.VSetParam(m_items.Param(), OEMCUIP_DOCPROP);
    other.VLoad(nullptr, &m_dm);
    other.VSaveCurrent(m_page, L"Theirs", nullptr, nullptr, &m_dm, FALSE, nullptr);
    other.VDeleteByName(L"Gone");
    const std::vector<BYTE> theirs = Stored(L"PresetPool:2");
    m_answer = IDNO;
    SaveAs(L"Theirs");
    SaveAs(L"Mine");
    ASSERT_EQ(1u, m_asked.size());
    EXPECT_EQ(0u, m_asked[0].find(L"A Task Preset with that name already exists. Do you want"));
    EXPECT_EQ(theirs, Stored(L"PresetPool:2"));
    EXPECT_EQ(L"Kept Theirs Mine ", storedNames());
    other.VRebuildStore(nullptr);  // Theirs from 2 to 1, Mine from 3 to 2
    m_qs->VDeleteByName(L"Theirs");
    EXPECT_EQ(L"Kept Mine ", storedNames());
}

// A save without a name, or with the placeholder, asks the page for one (at most 81 characters, no
// name reserved) and saves under the answer; a cancelled question saves nothing.
TEST_F(QuickSetManager, ASaveWithoutANameAsksThePage) {
    m_qs->VLoad(nullptr, &m_dm);
    const struct {
        PCWSTR given;
        PCWSTR typed;
        PCWSTR saved;  // null: nothing saved
    } cases[] = {{L"", L"Typed", L"Typed"}, {L"Type new Quick Set name here", L"Other", L"Other"}, {L"", L"", nullptr},
                 {L"Given", L"Unused", L"Given"}};
    for (const auto& c : cases) {
        m_names.asked.clear();
        m_names.typed = c.typed;
        const int before = m_qs->IEntryCount();
        SaveAs(c.given);
        EXPECT_EQ(c.given[0] && wcscmp(c.given, L"Given") == 0 ? 0u : 1u, m_names.asked.size()) << c.given;
        if (!m_names.asked.empty()) {
            EXPECT_EQ(81, m_names.asked[0].iMaxChars);
            EXPECT_EQ(0, m_names.asked[0].iReservedId);
        }
        EXPECT_EQ(before + (c.saved ? 1 : 0), m_qs->IEntryCount()) << c.given;
        if (c.saved) EXPECT_NE(nullptr, m_qs->PFindEntry(c.saved));
        else EXPECT_FALSE(m_qs->BSelected());
    }
}

TEST_F(QuickSetManager, ApplySetsTheItemsAndTheWorkingCopy) {
    QuickSetEntry* e = Save(L"Landscape four");
    QuickSetSettings& block = e->head.settings;
    block.wOrientation = 2;
    block.wDuplex = 2;
    block.adwFinishing[6] = 4;  // four pages per sheet
    lstrcpyW(block.szJsJobName, L"A job name longer than sixteen");
    for (const auto& [f, o] : {std::pair<PCWSTR, PCWSTR>{L"MediaType", L"GLOSSY"}, {L"Copies", L"3"},
                               {L"Collate", L"ON"}, {L"Orientation", L"PORTRAIT"}, {L"PageOrder", L"BACK_TO_FRONT"}})
        CZQQuickSets::VAppendPair(&e->pPairs, f, o);
    m_qs->VWriteEntry(e, TRUE);
    m_qs->VLoad(nullptr, &m_dm);
    m_qs->BTakeWorkingCopy(&m_dm);
    m_qs->VApplyByName(L"Landscape four");
    const ZQUIDevmode& work = *m_qs->WorkDM();
    EXPECT_EQ(2, work.wDuplex);
    EXPECT_EQ(1, m_items.ItemByPubId(DMPUB_DUPLEX)->Sel);
    EXPECT_EQ(3, m_items.ItemByPubId(DMPUB_NUP)->Sel);
    EXPECT_EQ(1, m_items.ItemByPubId(DMPUB_MEDIATYPE)->Sel);
    EXPECT_EQ(1, m_items.ItemByPubId(DMPUB_PAGEORDER)->Sel) << "a page order by its keyword";
    EXPECT_EQ(16u, wcslen(work.szJsJobName));
    // The orientation pair comes after the block: portrait wins.
    EXPECT_EQ(0, m_items.ItemByPubId(kOemPubOrientation, true)->Sel);
    // Collate only checks the box: the three copies stay.
    OPTITEM* copies = m_items.ItemByPubId(DMPUB_COPIES_COLLATE);
    EXPECT_EQ(3, copies->Sel);
    EXPECT_TRUE(copies->Flags & OPTIF_ECB_CHECKED);
    EXPECT_STREQ(L" [none]", work.szWmName);
    EXPECT_EQ(0u, work.dwWmOn);

    // Without a two-sided unit the quick set prints on one side.
    m_items.SetSelection("DuplexUnit", 0);
    m_qs->VApplyByName(L"Landscape four");
    EXPECT_EQ(1, m_qs->WorkDM()->wDuplex);
}

TEST_F(QuickSetManager, DevmodeKeepsTheNameThatHolds) {
    m_qs->VLoad(nullptr, &m_dm);
    SaveAs(L"Mine");
    ZQUIDevmode dm = m_dm;
    m_qs->VStoreNameInDevmode(&dm);
    EXPECT_STREQ(L"Mine", dm.szQuickSetName);
    // A feature changed away from the quick set ends it.
    m_items.SetSelection("MediaType", 1);
    m_qs->VRestoreNameIfDiffers();
    EXPECT_FALSE(m_qs->BSelected());
    dm.szQuickSetName[0] = 0;
    m_qs->VStoreNameInDevmode(&dm);
    EXPECT_STREQ(L"", dm.szQuickSetName);
    // A normal load builds no factory-defaults entry: settings equal to the stored one get no name,
    // yet the stored one is what an untyped sheet's settings are compared with.
    QuickSetEntry* factory = Save(L" Factory Defaults");
    zqqs::Capture(m_dm, factory->head.settings);
    m_qs->VWriteEntry(factory, TRUE);
    m_dm.dwQuickSetInUse = 1;
    m_qs->VLoad(nullptr, &m_dm);
    m_qs->VStoreNameInDevmode(&dm);
    EXPECT_STREQ(L"", dm.szQuickSetName);
    EXPECT_FALSE(m_qs->BSettingsDiffer(m_dm));
    dm = m_dm;
    dm.wOrientation = m_dm.wOrientation == 1 ? 2 : 1;
    EXPECT_TRUE(m_qs->BSettingsDiffer(dm));
}

TEST_F(QuickSetManager, FactoryPresetRules) {
    struct Case {
        std::vector<std::pair<PCWSTR, PCWSTR>> features;
        std::function<void(const QuickSetEntry&)> check;
    } cases[] = {
        {{{L"PrintQuality", L"FastDraft"}},
         [](const QuickSetEntry& e) {
             WCHAR option[256];
             CZQQuickSets::PFindNameValue(e.pPairs, L"Resolution", option);
             EXPECT_STREQ(L"300dpi", option);
             CZQQuickSets::PFindNameValue(e.pPairs, L"PrintQualityGroup", option);
             EXPECT_STREQ(L"PQGroup_3", option);
         }},
        {{{L"DUPLEX", L"LeftEdgeBinding"}},
         [](const QuickSetEntry& e) {
             EXPECT_EQ(1u, e.head.settings.adwFinishing[5]);  // booklet
             EXPECT_EQ(2u, e.head.settings.adwFinishing[6]);  // two pages per sheet
             EXPECT_EQ(3, e.head.settings.wDuplex);
         }},
        // The page order as the store's decimal position, any listed option as written; the two-sided
        // kind and an option the driver does not list keep the pairs in force.
        {{{L"DUPLEX", L"DuplexNoTumble"}, {L"MediaType", L"GLOSSY"}, {L"PrintQualityGroup", L"PQGroup_2"},
          {L"Resolution", L"1200dpi"}},
         [](const QuickSetEntry& e) {
             std::wstring pairs;
             for (PCWSTR feature : {L"Duplex", L"PageOrder", L"MediaType", L"PrintQualityGroup", L"Resolution"}) {
                 WCHAR option[256] = {};
                 CZQQuickSets::PFindNameValue(e.pPairs, feature, option);
                 pairs += std::wstring(feature) + L"=" + option + L" ";
             }
             EXPECT_EQ(L"Duplex=NONE PageOrder=1 MediaType=GLOSSY PrintQualityGroup=PQGroup_2 "
                       L"Resolution=300dpi ",
                       pairs);
             EXPECT_EQ(2, e.head.settings.wDuplex);
         }},
        {{{L"ZQOrientation", L"ZQOrientationLandscape"}, {L"FlipPagesUp", L"TRUE"}},
         [](const QuickSetEntry& e) {
             EXPECT_EQ(2, e.head.settings.wOrientation);
             EXPECT_EQ(1u, e.head.settings.adwFinishing[8]);
         }},
        // A paper chosen by its tray ends the covers in force at the build; the back cover's own
        // paper stays.
        {{{L"InputBin", L"Automatically Select"}},
         [](const QuickSetEntry& e) {
             const QuickSetSettings& s = e.head.settings;
             EXPECT_EQ((std::vector<uint32_t>{0, 0, 0, 0, 0, 1, 1}),
                       (std::vector<uint32_t>{s.adwPaperSource[0], s.adwPaperSource[3], s.adwPaperSource2[8],
                                              s.adwPaperSource2[9], s.adwPaperSource2[10], s.adwPaperSource2[6],
                                              s.adwPaperSource2[7]}));
         }},
    };
    PrinterCaps caps = {};
    WORD firstTray = 7;
    caps.dwSourceCount = 1;
    caps.pSourceIds = &firstTray;
    m_qs->VAttach(nullptr, nullptr, &caps);
    m_dm.dwDiffPaper = m_dm.dwBackCover = 1;
    m_dm.dwBackCoverFeederIndex = m_dm.dwBackCoverFeederMedia = 1;
    m_dm.dwBackCoverFeeder = m_dm.dwFrontCover = m_dm.dwFrontCoverFeeder = 1;
    for (const Case& c : cases) {
        QuickSetEntry entry = {};
        std::vector<PWSTR> features, options;
        for (const auto& [f, o] : c.features) {
            features.push_back(const_cast<PWSTR>(f));
            options.push_back(const_cast<PWSTR>(o));
        }
        m_qs->BuildRulesPreset(&entry, features.data(), options.data(), static_cast<int>(features.size()), nullptr);
        c.check(entry);
        CZQQuickSets::VFreePairs(&entry.pPairs);
    }
    m_qs->VAttach(nullptr, nullptr, nullptr);
    // With "DMCStatus" 3 the factory quick set takes the administrator's values.
    DWORD three = 3;
    m_printer.PutValue(CZQMemoryPrinter::kRootKey, L"DMCStatus", REG_DWORD, &three, sizeof three);
    m_printer.PutString(L"DMCDriverData\\Printing\\OptItems", L"MediaType", L"GLOSSY");
    QuickSetEntry factory = {};
    lstrcpyW(factory.head.szName, L" Factory Defaults");
    PWSTR feature = const_cast<PWSTR>(L"MediaType");
    PWSTR option = const_cast<PWSTR>(L"PLAIN");
    m_qs->BuildRulesPreset(&factory, &feature, &option, 1, nullptr);
    WCHAR media[256];
    CZQQuickSets::PFindNameValue(factory.pPairs, L"MediaType", media);
    EXPECT_STREQ(L"GLOSSY", media);
    CZQQuickSets::VFreePairs(&factory.pPairs);
}

// The colour settings list: an item's lists gather under one heading, the driver's three options
// are left out, and an apply moves each list to its feature unless the feature left the entries.
TEST_F(QuickSetManager, ColourListFromTheChromixFeaturesFollowsAnApply) {
    CZQUILogic sheet;
    sheet.VSetParam(m_items.Param(), OEMCUIP_DOCPROP);
    sheet.BTakeWorkingCopy(&m_dm);
    ASSERT_TRUE(sheet.m_colorOptions.BBuild(m_items.Param()));
    auto chain = [&] {
        std::wstring text;
        for (const ZQColorOptionNode* n = sheet.m_colorOptions.Head(); n; n = n->pNext) {
            text += std::to_wstring(n->dwKind) + n->szName;
            if (n->dwKind == kColorNodeList) text += L"=" + std::to_wstring(n->dwSelection) + L"/" + n->szDefault;
            text += L" ";
        }
        return text;
    };
    EXPECT_EQ(L"1Text 2Halftone=1/Detail 3Detail 3Smooth 2NeutralGrays=0/Black 3Black 3Four "
              L"1Photo 2RGBColor=1/Vivid 3Vivid 3sRGB ",
              chain());
    std::wstring snapshot;
    for (const ZQColorSnapshotNode* n = sheet.m_colorOptions.SnapshotHead(); n; n = n->pNext)
        snapshot += std::to_wstring(n->dwValue);
    EXPECT_EQ(L"01000000100", snapshot);

    QuickSetEntry* e = Save(L"Colour");
    for (const auto& [f, o] : {std::pair<PCWSTR, PCWSTR>{L"ZQChromix_Text_Halftone", L"Detail"},
                               {L"ZQChromix_Text_NeutralGrays", L"Four"}, {L"ZQChromix_Photo_RGBColor", L"A"}})
        CZQQuickSets::VAppendPair(&e->pPairs, f, o);
    m_qs->VWriteEntry(e, TRUE);
    m_qs->VAttach(&sheet, nullptr, nullptr);
    m_qs->VApplyByName(L"Colour");
    EXPECT_EQ(L"1Text 2Halftone=0/Detail 3Detail 3Smooth 2NeutralGrays=1/Black 3Black 3Four "
              L"1Photo 2RGBColor=1/Vivid 3Vivid 3sRGB ",
              chain());
}

// While the installation completes the store is written afresh: a quick set per preset of the helper
// file (the factory one fixed) before the user's own; nothing is built without a loaded helper file.
// The next sheet lists them.
TEST_F(QuickSetManager, InstallationRebuildsFromThePresets) {
    Save(L"Mine");
    CZQXmlUiRules rules;
    ASSERT_TRUE(rules.Parser().BLoad(zqtest::BesideExe(L"samples\\zqdesk\\zqdesk.xml").c_str()));
    rules.Parser().VSetLoaded(TRUE);
    rules.VSetResourceModule(m_module.Get());  // the factory preset's name is the module's
    struct Case {
        CZQXmlUiRules* rules;
        std::vector<std::wstring> names;
    } cases[] = {{nullptr, {L"Mine"}},
                 {&rules, {L" Factory Defaults", L"Photo Printing", L"Two-sided printing", L"Mine"}}};
    for (const Case& c : cases) {
        for (DWORD installing : {1u, 0u}) {
            m_printer.PutValue(CZQMemoryPrinter::kRootKey, L"InstallationComplete", REG_DWORD, &installing,
                               sizeof installing);
            m_qs->VLoad(c.rules, &m_dm);
        }
        EXPECT_EQ(c.names, Names());
        for (const QuickSetEntry* e = m_qs->PFirstEntry(); e; e = e->pNext)
            EXPECT_EQ(e == m_qs->PFirstEntry() && c.rules, (e->dwFlags & CZQQuickSets::kFixedFlag) != 0) << e->head.szName;
    }
}

TEST_F(QuickSetManager, CartridgeUpdateWithoutTheItemChangesNothing) {
    EXPECT_TRUE(m_qs->BUpdateInstalledCartridges());
    DWORD value = 0;
    EXPECT_FALSE(CZQDriverData::BGetPrinterDataDword(m_items.Param()->hPrinter, L"PrintCartrigesPrevValue", &value));
}

}  // namespace
