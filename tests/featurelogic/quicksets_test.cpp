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
#include "featurelogic/zqquicksets.h"
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
        for (const FixtureFeature& f :
             {Feature("Duplex", "NONE VERTICAL HORIZONTAL", DMPUB_DUPLEX), Feature("DuplexUnit", "NOTINSTALLED INSTALLED", 0, 1),
              bins, Feature("OutputBin", "Upper !Stapler"), Feature("PaperSize", "LETTER MYFORM", DMPUB_FORMNAME),
              Feature("MediaType", "PLAIN GLOSSY", DMPUB_MEDIATYPE), Feature("ColorMode", "Color Mono"),
              Feature("ZQNWatermark", "NOTINSTALLED INSTALLED"), copies, orientation})
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
        m_qs->VAdvanceMaxIndex();
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
    // A spooler without key deletion: the values go one by one.
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
    // A rebuild that cannot empty the store writes nothing over it.
    m_printer.SetReadOnly(false);
    m_printer.FailCall(MemCall::DeletePrinterKey, ERROR_ACCESS_DENIED);
    const std::vector<BYTE> before = Stored(L"PresetPool:0");
    Bind(PRINTER_ALL_ACCESS).VRebuildStore(nullptr);
    EXPECT_EQ(before, Stored(L"PresetPool:0"));
    // Without the private devmode nothing is read or written.
    m_items.Param()->pOEMDM = nullptr;
    m_qs->VLoadStored();
    EXPECT_EQ(nullptr, m_qs->PFirstEntry());
    m_qs->VWriteEntry(m_qs->PNewEntry(), FALSE);
    EXPECT_TRUE(Stored(L"PresetPool:1").empty());
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
        {CZQQuickSets::kCompareFeatures, [](ZQUIDevmode& d) { d.dwOtherPagesMedia = 258; }, CZQQuickSets::kCompareFinishing},
        {CZQQuickSets::kCompareAppText, [](ZQUIDevmode& d) { d.szAppText[0] = L'W'; }, CZQQuickSets::kComparePaperQuality},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Differs(c.change, c.group)) << c.group;
        EXPECT_FALSE(Differs(c.change, c.unrelated)) << c.group;
        EXPECT_FALSE(Differs(c.change, 4)) << "page id 4 runs no group";
    }
    // A tile beyond 2 x 2 is outside the poster; orientation counts for every page.
    EXPECT_FALSE(Differs([](ZQUIDevmode& d) { d.adwPosterTiles[4] = 1; }, CZQQuickSets::kCompareFinishing));
    EXPECT_TRUE(Differs([](ZQUIDevmode& d) { d.wOrientation = 2; }, CZQQuickSets::kCompareAppText));
    EXPECT_FALSE(m_qs->BSettingsDiffer(m_dm));
    ZQUIDevmode turned = m_dm;
    turned.wOrientation = 2;
    EXPECT_TRUE(m_qs->BSettingsDiffer(turned));
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

}  // namespace
