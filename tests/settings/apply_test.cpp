// Applying the stored settings on the in-memory printer: the devmode items and option items of one
// configuration reach the private devmode and the core driver's items; what holds is deleted on the
// next pass and what matches nothing stays; installable options, the PostScript toggles and the
// duplex flip follow their own rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "common/zqcommon.h"
#include "formats/zquidevmode.h"
#include "optitemfixture.h"
#include "settings/zqdriverdata.h"
#include "zqmemprinter.h"

namespace {

using zqspool::CZQMemoryPrinter;
using zqtest::FixtureFeature;
using zqtest::ListFeature;
namespace zs = zqsettings;
using Values = std::vector<std::pair<std::wstring, std::wstring>>;

FixtureFeature Own(const char* keyword, BYTE pubId) {
    FixtureFeature f = ListFeature(keyword, {{"0", L"0"}, {"1", L"1"}}, 0, pubId);
    f.oem = true;
    return f;
}

// A desktop printer's items and lists: sources 15/257/258, media 1/258, papers 1/9/11.
class Bench {
public:
    Bench() {
        const WORD bins[] = {15, 257, 258}, papers[] = {1, 9, 11};
        const DWORD media[] = {1, 258};
        const WCHAR binNames[3][24] = {L"Automatic", L"Tray 1", L"Tray 2"};
        m_printer.SetCapability(DC_BINS, bins, 3, sizeof(WORD));
        m_printer.SetCapability(DC_BINNAMES, binNames, 3, sizeof binNames[0]);
        m_printer.SetCapability(DC_MEDIATYPES, media, 2, sizeof(DWORD));
        m_printer.SetCapability(DC_PAPERS, papers, 3, sizeof(WORD));
        m_printer.Install();
        FixtureFeature source = ListFeature("InputBin", {{"AUTOSELECT", L""}, {"TRAY1", L"Tray 1"}, {"TRAY2", L"Tray 2"}},
                                            0, DMPUB_DEFSOURCE);
        source.options[0].nameResId = 64718;  // the first source's standard name
        FixtureFeature copies;
        copies.keyword = "Copies";
        copies.kind = zqtest::FixtureKind::UpDown;
        copies.pubId = DMPUB_COPIES_COLLATE;
        copies.sel = 1;
        for (const FixtureFeature& f :
             {ListFeature("Orientation", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE", L"Landscape"}}, 0, DMPUB_ORIENTATION),
              ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4~Plain", L"A4"}, {"A5", L"A5"}}, 0, DMPUB_FORMNAME),
              source, ListFeature("MediaType", {{"PLAIN", L"Plain"}, {"GLOSSY", L"Glossy"}}, 0, DMPUB_MEDIATYPE),
              ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long"}, {"HORIZONTAL", L"Short"}}, 0, DMPUB_DUPLEX),
              ListFeature("NUpChoice", {{"1", L"1"}, {"2", L"2"}, {"4", L"4"}}, 0, DMPUB_NUP),
              ListFeature("PageOrder", {{"FRONT", L"Front"}, {"BACK", L"Back"}}, 0, DMPUB_PAGEORDER), copies,
              ListFeature("JCLThriftmode", {{"FALSE", L"Off"}, {"TRUE", L"On"}}),
              ListFeature("ZQOrientRotate180", {{"FALSE", L"Off"}, {"TRUE", L"On"}}),
              ListFeature("OutputBin", {{"Upper", L"Upper"}, {"Stapler", L"Stapler"}}),
              ListFeature("Memory", {{"16MB", L"16"}, {"32MB", L"32"}, {"64MB", L"64"}}),
              ListFeature("AccessoryOutputBins", {{"None", L"None"}, {"500Stapler", L"Stapler"}}),
              Own("ZQOrientationCopy", zs::kOwnOrientationPubId), Own("ZQPageOrderCopy", zs::kOwnPageOrderPubId)})
            m_host.Add(f);
        m_host.Build();
        CZQCommon().BFillDefaultDevmode(&m_dm, nullptr);
        m_pub.dmSize = sizeof m_pub;
        m_pub.dmPaperSize = DMPAPER_LETTER;
        OEMCUIPPARAM* p = m_host.Param();
        p->hPrinter = m_printer.Open();
        p->pPrinterName = const_cast<PWSTR>(L"ZQ Memory Printer");
        p->pPublicDM = &m_pub;
        p->pOEMDM = &m_dm;
    }
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;
    void Store(const wchar_t* key, const Values& values) {
        for (const auto& [name, value] : values) m_printer.PutString(key, name, value);
    }
    // One application as the document sheet makes it.
    BOOL Pass() {
        m_data.VApplyDevModeItems(m_host.Param());
        return m_data.VApplyOptItems(m_host.Param());
    }
    std::string Sel(const char* k) { return m_host.Current(k); }
    bool Stored(const wchar_t* name) { return m_printer.GetValue(zs::kDriverDataOptItems, name, nullptr, nullptr); }

    CZQMemoryPrinter m_printer;
    zqtest::COptItemFixture m_host;
    ZQUIDevmode m_dm = {};
    DEVMODEW m_pub = {};
    CZQDriverData m_data;
};

class Applying : public ::testing::Test, public Bench {};

TEST(StoredOptionItems, ReachTheItemsAndLeaveTheTreeOnceTheyHold) {
    struct Case {
        const char* what;
        Values optItems, devModeItems;
        std::vector<std::pair<const char*, const char*>> selected;
        std::function<void(Bench&)> check;
        std::vector<const wchar_t*> kept;  // after a second pass
    } cases[] = {
        {"holds, applied, no such option, empty",
         {{L"PaperSize", L"LETTER"}, {L"MediaType", L"GLOSSY"}, {L"ThriftMode", L"TRUE"}, {L"OutputBin", L"Lower"},
          {L"Copies", L""}},
         {},
         {{"MediaType", "GLOSSY"}, {"JCLThriftmode", "TRUE"}, {"OutputBin", "Upper"}},
         [](Bench& b) {
             const ZQUIDevmode& dm = b.m_dm;
             EXPECT_EQ(258u, dm.dwFirstPageMedia);
             EXPECT_EQ(258u, dm.dwOtherPagesMedia);
             EXPECT_EQ(3u, dm.dwThriftMode);
             EXPECT_EQ(1u, dm.dwOutputBinPresent);
         },
         {L"OutputBin", L"Copies"}},
        {"a source the item does not show yet is applied, not dropped",
         {{L"InputBin", L"TRAY1"}},
         {},
         {{"InputBin", "TRAY1"}},
         [](Bench& b) {
             EXPECT_EQ(257u, b.m_dm.dwFirstPageSource);
             EXPECT_EQ(257u, b.m_dm.dwOtherPagesSource);
         },
         {}},
        {"a different first page: the item shows the other pages' source",
         {{L"InputBin", L"TRAY1"}, {L"InputBinRest", L"TRAY2"}},
         {{L"UseDiffFirstPageChoice", L"DifferentFirstPage"}, {L"BackCoverChoice", L"UseFirstPage"}},
         {{"InputBin", "TRAY2"}},
         [](Bench& b) {
             EXPECT_EQ(257u, b.m_dm.dwFirstPageSource);
             EXPECT_EQ(258u, b.m_dm.dwOtherPagesSource);
             EXPECT_EQ(257u, b.m_dm.dwBackCoverSource);
         },
         {L"InputBin", L"InputBinRest"}},
        {"booklet on the left edge",
         {{L"Orientation", L"Portrait"}},
         {{L"BookletPrintingChoice", L"LeftEdge"}, {L"ScaleChoice", L"50"}},
         {{"Duplex", "HORIZONTAL"}, {"Orientation", "PORTRAIT"}},
         [](Bench& b) {
             const ZQUIDevmode& dm = b.m_dm;
             EXPECT_EQ(2u, dm.dwPagesPerSheet);
             EXPECT_EQ(3u, dm.wDuplex);
             EXPECT_EQ(100u, dm.dwScalePercent);
             EXPECT_EQ(0u, dm.dwFlipPagesUp);  // short edge, two pages turned on a portrait sheet
         },
         {L"Orientation"}},
        {"turned landscape, page order, copies, pages per sheet, paper with a suffix and a target",
         {{L"Orientation", L"Landscape_CC270"}, {L"PageOrder", L"BackToFront"}, {L"Copies", L"3"},
          {L"NUpChoice", L"FourUp"}, {L"PaperSize", L"A4"}, {L"TargetSizeChoice", L"A5"}},
         {{L"FitToOtherSizeChoice", L"FitToOtherSize"}, {L"DuplexEdge", L"LongEdge"}},
         {{"Orientation", "LANDSCAPE"}, {"ZQOrientRotate180", "TRUE"}, {"PageOrder", "BACK"}, {"NUpChoice", "4"},
          {"PaperSize", "A4~Plain"}, {"Duplex", "VERTICAL"}},
         [](Bench& b) {
             const ZQUIDevmode& dm = b.m_dm;
             EXPECT_EQ(2u, dm.wOrientation);
             EXPECT_EQ(1u, dm.dwRotate180);
             EXPECT_EQ(11u, dm.dwPrintedOnPaper);
             EXPECT_EQ(1u, dm.dwFlipPagesUp);  // long edge on a landscape sheet of four
             // The own copies follow the core driver's layout items.
             EXPECT_EQ(1, b.m_host.ItemByPubId(zs::kOwnOrientationPubId, true)->Sel);
             EXPECT_EQ(1, b.m_host.ItemByPubId(zs::kOwnPageOrderPubId, true)->Sel);
             EXPECT_EQ(3, b.m_host.ItemByPubId(DMPUB_COPIES_COLLATE)->Sel);
         },
         // A value the driver's keyword never equals is applied again on every pass.
         {L"Orientation", L"TargetSizeChoice", L"PageOrder", L"NUpChoice", L"PaperSize"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench b;
        b.Store(zs::kDriverDataOptItems, c.optItems);
        b.Store(zs::kDriverDataDevModeItems, c.devModeItems);
        EXPECT_TRUE(b.Pass());
        for (const auto& [feature, option] : c.selected) EXPECT_EQ(option, b.Sel(feature)) << feature;
        c.check(b);
        EXPECT_TRUE(b.Pass());
        for (const auto& [name, value] : c.optItems) {
            const bool kept = std::find(c.kept.begin(), c.kept.end(), name) != c.kept.end();
            EXPECT_EQ(kept, b.Stored(name.c_str())) << std::string(name.begin(), name.end());
        }
    }
}

TEST_F(Applying, ARefusedDeletionIsReportedAndThePassGoesOn) {
    // As Wine's spooler answers every deletion.
    Store(zs::kDriverDataOptItems, {{L"MediaType", L"PLAIN"}, {L"PaperSize", L"A5"}});
    m_printer.FailCall(zqspool::MemCall::DeletePrinterDataEx, ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(Pass());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ("A5", Sel("PaperSize"));
    EXPECT_TRUE(Stored(L"MediaType"));
}

TEST_F(Applying, InstallableOptionsMemoryRangesAndTheDuplexFlip) {
    const struct {
        const wchar_t* memory;
        const char* chosen;
    } memory[] = {{L"48", "32MB"}, {L"8", "16MB"}, {L"512", "64MB"}, {L"64MB", "64MB"}, {L"16", "16MB"}};
    for (const auto& m : memory) {
        Store(zs::kDriverDataPhysical, {{L"Memory", m.memory}, {L"AccessoryOutputBins", L"W5274"}});
        EXPECT_TRUE(m_data.VApplyPhysicalItems(m_host.Param()));
        EXPECT_EQ(m.chosen, Sel("Memory")) << m.memory;
        EXPECT_EQ("500Stapler", Sel("AccessoryOutputBins"));
    }
    // Pages per sheet code, orientation, duplex -> flip.
    const DWORD flips[][4] = {{2, 2, 2, 0}, {2, 1, 2, 1}, {1, 2, 3, 0}, {1, 1, 3, 1}, {4, 2, 3, 1},
                              {1, 0, 2, 1}, {1, 1, 1, 0}, {2, 1, 0, 0}};
    for (const auto& f : flips) EXPECT_EQ(f[3], CZQDriverData::BGetDuplexFlip(f[0], f[1], f[2])) << f[0] << f[1] << f[2];
}

TEST_F(Applying, SpecialItemsAnswerForThemselvesAndNeverForAMissingBlock) {
    // The PostScript driver's toggles: the unnamed items, or the mirror item of its own.
    zqtest::COptItemFixture ps;
    for (int i = 0; i < 8; ++i) ps.Add(ListFeature("", {{"A", L"A"}, {"B", L"B"}, {"C", L"C"}, {"D", L"D"}}, 1));
    ps.Build();
    OEMCUIPPARAM* p = ps.Param();
    p->pOEMDM = &m_dm;
    const struct {
        DWORD language;
        const wchar_t* name;
        const wchar_t* value;
        int occurrence;
        LONG sel;
    } toggles[] = {{zqdm::kPdlPcl6, L"LanguageLevel", L"2", 4, 1},  // not for this language
                   {zqdm::kPdlPostScript, L"MirrorPrint", L"True", 6, 0},
                   {zqdm::kPdlPcl3, L"NegativePrint", L"false", 7, 1},
                   {zqdm::kPdlPostScript, L"LanguageLevel", L"3", 4, 3}};
    for (const auto& t : toggles) {
        m_data.VSetLanguage(t.language);
        EXPECT_FALSE(m_data.BApplySpecialItem(p, t.name, t.value));
        POPTITEM item = nullptr;
        ASSERT_EQ(ZQOPT_OK, CZQCommon::DWFindOptItemByPubId(p, 0, t.occurrence, &item));
        EXPECT_EQ(t.sel, item->Sel) << t.name;
    }
    EXPECT_EQ(1u, m_dm.dwMirror);
    // Anything else is selected the ordinary way; without the core driver's object nothing is.
    EXPECT_TRUE(m_data.BApplySpecialItem(m_host.Param(), L"Stapling", L"None"));
    p->poemuiobj = nullptr;
    WCHAR keyword[256];
    BYTE pubId = 0;
    for (BOOL answer : {m_data.BApplySpecialItem(p, L"Stapling", L"None"), m_data.BApplySpecialItem(nullptr, L"OutputBin", L"A"),
                        CZQDriverData::BMapConfigName(p, L"PaperSize", keyword, &pubId)}) {
        EXPECT_FALSE(answer);
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    }
    DWORD status = 0;
    m_data.VApplyPublicItem(p, DMPUB_FORMNAME, L"A4", CZQStoredTrees(nullptr), &status);
    EXPECT_EQ(static_cast<DWORD>(-1), status);
}

}  // namespace
