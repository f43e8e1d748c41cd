// Loading the helper file: component selection, section lists, country choices, lookups by name,
// borderless overspray and roll limits.
#include <cmath>
#include <thread>

#include "testsupport.h"
#include "xmlrules/zqxmlparser.h"
#include "xmltestutil.h"

using zqxmltest::HelperFile;
using zqxmltest::Select;
using zqxmltest::CountryChoice;
using zqxmltest::TempFile;

namespace {

LONG Length(IXMLDOMNodeList* list) {
    LONG n = -1;
    if (list) list->get_length(&n);
    return n;
}

const std::string kRules =
    "<helper><features><feature><name>MediaType</name><macro_name>m</macro_name></feature></features>"
    "<macros><macro><name>m</name></macro></macros></helper>";

class XmlParserTest : public zqxmltest::ComTest {};

// ---------------------------------------------------------------------------------------------
// COM of the parser's own.
// ---------------------------------------------------------------------------------------------
TEST(XmlParserCom, InitialisationIsBalancedAlsoWhenComWasUp) {
    std::thread([] {
        { CZQXmlParserCommon parser; }
        // Nothing of the parser's left on the thread.
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        {
            CZQXmlParserCommon parser;  // its own call answers S_FALSE and still needs its match
            EXPECT_TRUE(parser.BLoad(zqtest::BesideExe(L"zqdesk.xml").c_str()));
        }
        CoUninitialize();
        EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        CoUninitialize();
    }).join();
}

TEST(XmlParserCom, WorksInAMultithreadedApartment) {
    std::thread([] {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        {
            CZQXmlParserCommon parser;
            EXPECT_TRUE(parser.BLoad(zqtest::BesideExe(L"zqroll.xml").c_str()));
            EXPECT_TRUE(parser.RollTypeList());
        }
        CoUninitialize();
        EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        CoUninitialize();
    }).join();
}

// ---------------------------------------------------------------------------------------------
// The sample printers' helper files.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlParserTest, DesktopSampleHasEverySectionButTheRollOnes) {
    CZQXmlParserCommon parser;
    const std::wstring path = zqtest::BesideExe(L"zqdesk.xml");
    ASSERT_TRUE(parser.BLoad(path.c_str()));
    EXPECT_TRUE(parser.BIsLoaded());
    EXPECT_STREQ(path.c_str(), parser.PszPath());
    EXPECT_TRUE(parser.Document());
    EXPECT_TRUE(parser.Component());
    EXPECT_EQ(2, Length(parser.EventList()));
    EXPECT_EQ(7, Length(parser.FeatureList()));
    EXPECT_EQ(19, Length(parser.MacroList()));
    EXPECT_EQ(19, Length(parser.MacroList2()));
    EXPECT_NE(parser.MacroList(), parser.MacroList2());
    // Three English presets, one Japanese.
    EXPECT_EQ(CZQXmlParserCommon::IGetCountryCode() == 81 ? 1 : 3, Length(parser.PresetList()));
    EXPECT_EQ(1, Length(parser.JobEventList()));
    EXPECT_EQ(1, Length(parser.BorderlessList()));
    EXPECT_EQ(2, Length(parser.DocSettingList()));
    EXPECT_EQ(23, Length(parser.DeviceObjectList()));
    EXPECT_EQ(1, Length(parser.DeviceSettingList()));
    EXPECT_EQ(3, Length(parser.GroupList()));
    EXPECT_EQ(nullptr, parser.RollSheetList());
    EXPECT_EQ(nullptr, parser.RollWidthList());
    EXPECT_EQ(nullptr, parser.RollTypeList());
}

TEST_F(XmlParserTest, RollSampleHasTheRollSections) {
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(zqtest::BesideExe(L"zqroll.xml").c_str()));
    EXPECT_EQ(1, Length(parser.RollSheetList()));
    EXPECT_EQ(1, Length(parser.RollWidthList()));
    EXPECT_EQ(1, Length(parser.RollTypeList()));
    EXPECT_EQ(14, Length(parser.DeviceObjectList()));
    EXPECT_EQ(nullptr, parser.BorderlessList());
    EXPECT_EQ(4, Length(parser.DocSettingList()));
    EXPECT_EQ(nullptr, parser.JobEventList());
}

// ---------------------------------------------------------------------------------------------
// Files that do not load.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlParserTest, MissingOrMalformedFileLeavesNothingLoaded) {
    CZQXmlParserCommon parser;
    EXPECT_FALSE(parser.BLoad(L"C:\\no\\such\\helper.xml"));
    EXPECT_FALSE(parser.BIsLoaded());
    EXPECT_EQ(nullptr, parser.Document());

    TempFile broken(HelperFile(kRules).substr(0, 120));
    EXPECT_FALSE(parser.BLoad(broken.Path()));
    EXPECT_FALSE(parser.BIsLoaded());
    EXPECT_EQ(nullptr, parser.Document());
    EXPECT_EQ(nullptr, parser.FeatureList());

    TempFile empty("");
    EXPECT_FALSE(parser.BLoad(empty.Path()));
    EXPECT_FALSE(parser.BIsLoaded());

    SetLastError(0);
    EXPECT_FALSE(parser.BLoad(nullptr));
    EXPECT_EQ(ERROR_INVALID_DATA, GetLastError());
}

TEST_F(XmlParserTest, NewLoadReplacesTheOldDocument) {
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(zqtest::BesideExe(L"zqdesk.xml").c_str()));
    ASSERT_TRUE(parser.BorderlessList());
    ASSERT_TRUE(parser.BLoad(zqtest::BesideExe(L"zqroll.xml").c_str()));
    EXPECT_EQ(nullptr, parser.BorderlessList());
    EXPECT_TRUE(parser.RollSheetList());
    EXPECT_FALSE(parser.BLoad(L"C:\\no\\such\\helper.xml"));
    EXPECT_EQ(nullptr, parser.RollSheetList());
    EXPECT_EQ(nullptr, parser.Component());
}

// ---------------------------------------------------------------------------------------------
// The component.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlParserTest, ComponentNameIsMatchedWithoutCase) {
    TempFile file("<device><software><component><name>tARNIX</name>" + kRules + "</component></software></device>");
    CZQXmlParserCommon parser;
    EXPECT_TRUE(parser.BLoad(file.Path()));
    EXPECT_TRUE(parser.FeatureList());
}

TEST_F(XmlParserTest, FileWithoutTheComponentIsLoadedButHasNoLists) {
    TempFile file("<device><software><component><name>Other</name>" + kRules + "</component></software></device>");
    CZQXmlParserCommon parser;
    EXPECT_FALSE(parser.BLoad(file.Path()));
    // The document stays for readers that search it whole.
    EXPECT_TRUE(parser.BIsLoaded());
    EXPECT_TRUE(parser.Document());
    EXPECT_EQ(nullptr, parser.Component());
    EXPECT_EQ(nullptr, parser.FeatureList());
    EXPECT_EQ(nullptr, parser.MacroList());
}

TEST_F(XmlParserTest, SectionsOutsideTheComponentCount) {
    TempFile file(
        "<device><software><component><name>Tarnix</name></component>"
        "<component><name>Other</name>" +
        kRules + "</component></software></device>");
    CZQXmlParserCommon parser;
    EXPECT_TRUE(parser.BLoad(file.Path()));
    EXPECT_EQ(1, Length(parser.FeatureList()));
}

// ---------------------------------------------------------------------------------------------
// Sections.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlParserTest, MissingOptionalSectionsLeaveTheirListsNull) {
    TempFile file(HelperFile(kRules));
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(file.Path()));
    EXPECT_EQ(nullptr, parser.EventList());
    EXPECT_EQ(nullptr, parser.PresetList());
    EXPECT_EQ(nullptr, parser.JobEventList());
    EXPECT_EQ(nullptr, parser.BorderlessList());
    EXPECT_EQ(nullptr, parser.DocSettingList());
    EXPECT_EQ(nullptr, parser.DeviceObjectList());
    EXPECT_EQ(nullptr, parser.DeviceSettingList());
    EXPECT_EQ(nullptr, parser.RollSheetList());
    EXPECT_EQ(nullptr, parser.RollWidthList());
    EXPECT_EQ(nullptr, parser.RollTypeList());
    EXPECT_EQ(nullptr, parser.GroupList());
    // An empty section element is a missing section too.
    TempFile emptySection(HelperFile(kRules + "<helper><BorderlessSettings/><groups></groups></helper>"));
    ASSERT_TRUE(parser.BLoad(emptySection.Path()));
    EXPECT_EQ(nullptr, parser.BorderlessList());
    EXPECT_EQ(nullptr, parser.GroupList());
}

TEST_F(XmlParserTest, FileWithoutFeaturesOrMacrosLoadsItsOtherSections) {
    TempFile noFeatures(HelperFile(
        "<helper><macros><macro><name>m</name></macro></macros>"
        "<BorderlessSettings><Borderless><Paper>A4</Paper></Borderless></BorderlessSettings></helper>"));
    CZQXmlParserCommon parser;
    EXPECT_TRUE(parser.BLoad(noFeatures.Path()));
    EXPECT_TRUE(parser.BIsLoaded());
    EXPECT_EQ(nullptr, parser.FeatureList());
    EXPECT_TRUE(parser.MacroList());
    EXPECT_TRUE(parser.BorderlessList());

    TempFile noMacros(HelperFile("<helper><features><feature><name>f</name></feature></features></helper>"));
    EXPECT_TRUE(parser.BLoad(noMacros.Path()));
    EXPECT_TRUE(parser.FeatureList());
    EXPECT_EQ(nullptr, parser.MacroList());
}

const std::string kCountrySections =
    "<helper><presets>"
    "<presetenglish><name>e</name></presetenglish><presetenglish><name>e2</name></presetenglish>"
    "<presetjapanese><name>j</name></presetjapanese>"
    "</presets><DeviceSettings>"
    "<englishsetting><setting>PaperSize.Letter</setting></englishsetting>"
    "<japanesesetting><setting>PaperSize.A4</setting></japanesesetting>"
    "<japanesesetting><setting>Duplex.None</setting></japanesesetting>"
    "</DeviceSettings></helper>";

// Run in child processes for Japan and for another country.
TEST(CountryChildRuns, JapanAndElsewhere) {
    if (zqxmltest::ForcedCountry()) GTEST_SKIP() << "already in a child";
    EXPECT_EQ(0u, zqxmltest::RunWithCountry(L"81", L"CountryChoice.*"));
    EXPECT_EQ(0u, zqxmltest::RunWithCountry(L"44", L"CountryChoice.*"));
}

TEST_F(CountryChoice, PicksPresetsAndDeviceSettings) {
    TempFile both(HelperFile(kRules + kCountrySections));
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(both.Path()));
    EXPECT_EQ(Japan() ? 1 : 2, Length(parser.PresetList()));
    EXPECT_EQ(Japan() ? 2 : 1, Length(parser.DeviceSettingList()));
}

TEST_F(CountryChoice, JapanFallsBackToEnglishPresetsButNotToEnglishDeviceSettings) {
    TempFile englishOnly(HelperFile(kRules +
                                    "<helper><presets><presetenglish><name>e</name></presetenglish></presets>"
                                    "<DeviceSettings><englishsetting><setting>A.B</setting></englishsetting>"
                                    "</DeviceSettings></helper>"));
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(englishOnly.Path()));
    EXPECT_EQ(1, Length(parser.PresetList()));
    EXPECT_EQ(Japan() ? -1 : 1, Length(parser.DeviceSettingList()));
    // The roll sample has English presets only: one besides those of its four document types.
    ASSERT_TRUE(parser.BLoad(zqtest::BesideExe(L"zqroll.xml").c_str()));
    EXPECT_EQ(5, Length(parser.PresetList()));
    EXPECT_EQ(Japan() ? -1 : 1, Length(parser.DeviceSettingList()));
}

TEST_F(XmlParserTest, PlainPresetsKeepNoPresetList) {
    TempFile plain(HelperFile(kRules +
                              "<helper><presets><preset><name>p</name></preset>"
                              "<presetenglish><name>e</name></presetenglish></presets></helper>"));
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(plain.Path()));
    EXPECT_EQ(nullptr, parser.PresetList());
}

// ---------------------------------------------------------------------------------------------
// Lookups by name.
// ---------------------------------------------------------------------------------------------
// The text of an entry's child ("name" unless given); empty without entry or child.
std::wstring NameOf(IXMLDOMNode* entry, const wchar_t* child = L"name") {
    if (!entry) return std::wstring();
    CZQComPtr<IXMLDOMNode> name = Select(entry, child);
    CZQBstr text;
    if (name) name->get_text(text.Put());
    return text ? std::wstring(text.Get()) : std::wstring();
}

TEST_F(XmlParserTest, FindListEntryIgnoresCaseAndStopsAtANamelessEntry) {
    TempFile file(HelperFile(
        "<helper><features>"
        "<feature><name>PaperSize</name><tag>1</tag></feature>"
        "<feature><name>MediaType</name><tag>2</tag></feature>"
        "<feature><macro_name>x</macro_name></feature>"
        "<feature><name>Duplex</name></feature>"
        "</features><macros><macro><name></name></macro><macro><name>m</name></macro></macros></helper>"));
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(file.Path()));
    CZQComPtr<IXMLDOMNode> entry;
    ASSERT_TRUE(parser.BFindListEntry(parser.FeatureList(), L"mediatype", entry.Put()));
    EXPECT_EQ(L"MediaType", NameOf(entry.Get()));
    // Found again from the start: the walk resets the list.
    ASSERT_TRUE(parser.BFindListEntry(parser.FeatureList(), L"PAPERSIZE", entry.Put()));
    EXPECT_EQ(L"PaperSize", NameOf(entry.Get()));
    // The entry without a name hides the ones after it.
    EXPECT_FALSE(parser.BFindListEntry(parser.FeatureList(), L"Duplex", entry.Put()));
    EXPECT_FALSE(entry);
    // So does an empty name.
    EXPECT_FALSE(parser.BFindListEntry(parser.MacroList(), L"m", entry.Put()));
    EXPECT_FALSE(parser.BFindListEntry(nullptr, L"m", entry.Put()));
}


// The name index answers as the walk does: first of a name wins whatever its case, nothing past
// the first nameless entry, names beyond ASCII compared as the walk compares them.
TEST_F(XmlParserTest, NameIndexAgreesWithTheWalk) {
    TempFile file(HelperFile(
        "<helper><features>"
        "<feature><name>MediaType</name><tag>1</tag></feature>"
        "<feature><name>mediatype</name><tag>2</tag></feature>"
        "<feature><name>Duplex</name><tag>3</tag></feature>"
        "<feature><name>DUPLEX</name><tag>4</tag></feature>"
        "<feature><name>Pr\xC4\xB1nt</name><tag>5</tag></feature>"
        "<feature><name>PRINT</name><tag>6</tag></feature>"
        "<feature><name>\xC3\x84rger</name><tag>7</tag></feature>"
        "<feature><macro_name>x</macro_name></feature>"
        "<feature><name>After</name><tag>8</tag></feature>"
        "</features><macros>"
        "<macro><name>m</name><tag>1</tag></macro><macro><name>M</name><tag>2</tag></macro>"
        "<macro><name>late</name><tag>3</tag></macro><macro><name>LATE</name><tag>4</tag></macro>"
        "</macros></helper>"));
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(file.Path()));
    const struct {
        bool macros;
        const wchar_t* name;
    } cases[] = {{false, L"MEDIATYPE"}, {false, L"mediaType"}, {false, L"duplex"},  {false, L"print"},
                 {false, L"PR\x0131NT"}, {false, L"\x00E4RGER"}, {false, L"after"},    {false, L"Missing"},
                 {false, L""},          {true, L"M"},          {true, L"Late"},       {true, L"x"}};
    for (const auto& c : cases) {
        IXMLDOMNodeList* list = c.macros ? parser.MacroList() : parser.FeatureList();
        CZQComPtr<IXMLDOMNode> walked, indexed;
        const BOOL byWalk = CZQXmlParserCommon::BFindListEntry(list, c.name, walked.Put());
        // Asked twice: the second answer comes from the index built by the first.
        for (int round = 0; round < 2; ++round) {
            EXPECT_EQ(byWalk, parser.BFindEntry(list, c.name, indexed.Put())) << c.name;
            EXPECT_EQ(NameOf(walked.Get(), L"tag"), NameOf(indexed.Get(), L"tag")) << c.name;
        }
    }
    // Another list than the parser's own is walked.
    CZQComPtr<IXMLDOMNode> entry;
    EXPECT_FALSE(parser.BFindEntry(nullptr, L"m", entry.Put()));
}

// Every helper element's sections count, also when a file has more than one.
TEST_F(XmlParserTest, SectionsOfEveryHelperElementCount) {
    TempFile file(HelperFile(
        "<helper><features><feature><name>A</name></feature></features><macros><macro><name>m</name></macro>"
        "</macros></helper><helper><features><feature><name>B</name></feature></features></helper>"));
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(file.Path()));
    EXPECT_EQ(2, Length(parser.FeatureList()));
    EXPECT_EQ(1, Length(parser.MacroList()));
    CZQComPtr<IXMLDOMNode> entry;
    EXPECT_TRUE(parser.BFindEntry(parser.FeatureList(), L"b", entry.Put()));
}

TEST_F(XmlParserTest, SelectByNameFindsTheNameAtAnyDepth) {
    CZQComPtr<IXMLDOMDocument> doc = zqxmltest::Parse(
        L"<switch><name>MediaType</name>"
        L"<case><name>Plain</name><a>1</a></case>"
        L"<case><group><name>photo</name></group><a>2</a></case>"
        L"<case><name>Photo</name><a>3</a></case>"
        L"<case_default><a>4</a></case_default></switch>");
    ASSERT_TRUE(doc);
    CZQComPtr<IXMLDOMNode> sw = Select(doc.Get(), L"switch");
    CZQComPtr<IXMLDOMNode> found;
    // The first name in document order wins, and its parent is the answer.
    ASSERT_TRUE(CZQXmlParserCommon::BSelectByName(sw.Get(), L"case", L"PHOTO", found.Put()));
    ASSERT_TRUE(found);
    CZQBstr nodeName;
    found->get_nodeName(nodeName.Put());
    EXPECT_STREQ(L"group", nodeName.Get());

    ASSERT_TRUE(CZQXmlParserCommon::BSelectByName(sw.Get(), L"case", L"plain", found.Put()));
    CZQBstr text;
    Select(found.Get(), L"a")->get_text(text.Put());
    EXPECT_STREQ(L"1", text.Get());

    ASSERT_TRUE(CZQXmlParserCommon::BSelectByName(sw.Get(), L"case_default", nullptr, found.Put()));
    EXPECT_TRUE(found);

    // No match is still a successful search.
    EXPECT_TRUE(CZQXmlParserCommon::BSelectByName(sw.Get(), L"case", L"Film", found.Put()));
    EXPECT_FALSE(found);
    EXPECT_FALSE(CZQXmlParserCommon::BSelectByName(nullptr, L"case", L"Film", found.Put()));
}

// ---------------------------------------------------------------------------------------------
// Borderless overspray.
// ---------------------------------------------------------------------------------------------
struct Borderless {
    BOOL ok;
    std::wstring other;
    float left, right, top, bottom;
};

Borderless LookUp(IXMLDOMNodeList* list, const wchar_t* paper) {
    Borderless b{FALSE, L"untouched", -1.f, -1.f, -1.f, -1.f};
    list->reset();
    CZQComPtr<IXMLDOMNode> first;
    list->nextNode(first.Put());
    WCHAR other[CZQXmlParserCommon::kCchPaper] = L"untouched";
    b.ok = CZQXmlParserCommon::BGetBorderlessSettings(first.Get(), paper, other, &b.left, &b.right, &b.top,
                                                      &b.bottom);
    b.other = other;
    return b;
}

TEST_F(XmlParserTest, BorderlessEntryIsFoundFromEitherKeyword) {
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(zqtest::BesideExe(L"zqdesk.xml").c_str()));
    Borderless b = LookUp(parser.BorderlessList(), L"zq_borderless_4x6");
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(L"PHOTO_4X6", b.other);
    EXPECT_FLOAT_EQ(0.08f, b.left);
    EXPECT_FLOAT_EQ(0.08f, b.top);
    EXPECT_FLOAT_EQ(0.08f, b.right);
    EXPECT_FLOAT_EQ(0.08f, b.bottom);
    b = LookUp(parser.BorderlessList(), L"PHOTO_4X6");
    EXPECT_EQ(L"ZQ_BORDERLESS_4X6", b.other);
    // No entry: TRUE, nothing handed out.
    b = LookUp(parser.BorderlessList(), L"Legal");
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(L"untouched", b.other);
    EXPECT_EQ(-1.f, b.left);
}

TEST_F(XmlParserTest, BorderlessFirstEntryWinsAndAnEmptyTwinKeepsTheCallersKeyword) {
    TempFile file(HelperFile(kRules +
                             "<helper><BorderlessSettings>"
                             "<Borderless><Borderless_Paper>BL_A4</Borderless_Paper><Paper></Paper>"
                             "<Overspray_Left>1</Overspray_Left><Overspray_Top>2</Overspray_Top>"
                             "<Overspray_Right>3</Overspray_Right><Overspray_Bottom>4</Overspray_Bottom></Borderless>"
                             "<Borderless><Borderless_Paper>BL_A4</Borderless_Paper><Paper>A4</Paper>"
                             "<Overspray_Left>9</Overspray_Left></Borderless>"
                             "</BorderlessSettings></helper>"));
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(file.Path()));
    Borderless b = LookUp(parser.BorderlessList(), L"BL_A4");
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(L"untouched", b.other);
    EXPECT_EQ(1.f, b.left);
    EXPECT_EQ(2.f, b.top);
    EXPECT_EQ(3.f, b.right);
    EXPECT_EQ(4.f, b.bottom);
}

TEST_F(XmlParserTest, BorderlessEntryCountsWithItsOwnChildrenOnly) {
    TempFile file(HelperFile(
        kRules +
        "<helper><BorderlessSettings>"
        "<Borderless><Borderless_Paper>BL_Letter</Borderless_Paper><Paper>Letter</Paper>"
        "<Overspray_Left>0.5</Overspray_Left><Overspray_Top>0.5</Overspray_Top>"
        "<Overspray_Right>0.5</Overspray_Right><Overspray_Bottom>0.5</Overspray_Bottom></Borderless>"
        // No Borderless_Paper and no oversprays: must not match as "BL_Letter" nor carry 0.5.
        "<Borderless><Paper>A5</Paper><Overspray_Left>x</Overspray_Left></Borderless>"
        "<!-- a note between entries -->"
        "<Borderless><Borderless_Paper>BL_A6</Borderless_Paper><Paper>A6</Paper>"
        "<Overspray_Top>0.25</Overspray_Top></Borderless>"
        "</BorderlessSettings></helper>"));
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(file.Path()));
    IXMLDOMNodeList* list = parser.BorderlessList();

    // Starting at the second entry, "BL_Letter" is named by no entry.
    list->reset();
    CZQComPtr<IXMLDOMNode> first, second;
    list->nextNode(first.Put());
    list->nextNode(second.Put());
    WCHAR other[CZQXmlParserCommon::kCchPaper] = L"untouched";
    float l = -1, r = -1, t = -1, btm = -1;
    EXPECT_TRUE(CZQXmlParserCommon::BGetBorderlessSettings(second.Get(), L"BL_Letter", other, &l, &r, &t, &btm));
    EXPECT_STREQ(L"untouched", other);

    Borderless b = LookUp(list, L"A5");
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(L"untouched", b.other);  // its borderless keyword is missing
    EXPECT_EQ(0.f, b.left);            // "x" is no number
    EXPECT_EQ(0.f, b.bottom);
    // Walks past the comment to the third entry.
    b = LookUp(list, L"A6");
    EXPECT_EQ(L"BL_A6", b.other);
    EXPECT_EQ(0.25f, b.top);
    EXPECT_EQ(0.f, b.left);
}

TEST_F(XmlParserTest, BorderlessKeywordTooLongForItsFieldMatchesNothing) {
    const std::string longName(300, 'P');
    TempFile file(HelperFile(kRules + "<helper><BorderlessSettings><Borderless><Borderless_Paper>" + longName +
                             "</Borderless_Paper><Paper>A4</Paper></Borderless></BorderlessSettings></helper>"));
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(file.Path()));
    std::wstring wideLong(300, L'P');
    Borderless b = LookUp(parser.BorderlessList(), wideLong.c_str());
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(L"untouched", b.other);
    b = LookUp(parser.BorderlessList(), L"A4");
    EXPECT_EQ(L"untouched", b.other);  // the twin cannot be handed out whole
    EXPECT_EQ(0.f, b.left);
}

// ---------------------------------------------------------------------------------------------
// Roll limits.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlParserTest, RollLimitsAreHandedOutAsTexts) {
    CZQXmlParserCommon parser;
    ASSERT_TRUE(parser.BLoad(zqtest::BesideExe(L"zqroll.xml").c_str()));
    parser.RollSheetList()->reset();
    CZQComPtr<IXMLDOMNode> roll;
    ASSERT_EQ(S_OK, parser.RollSheetList()->nextNode(roll.Put()));
    PWSTR minW = nullptr, maxW = nullptr, real = nullptr, minH = nullptr, maxH = nullptr;
    ASSERT_TRUE(CZQXmlParserCommon::BGetRollLimits(roll.Get(), &minW, &maxW, &real, &minH, &maxH));
    EXPECT_STREQ(L"11", minW);
    EXPECT_STREQ(L"36", maxW);
    EXPECT_STREQ(L"36", real);
    EXPECT_STREQ(L"0.5", minH);
    EXPECT_STREQ(L"300", maxH);
    // What the callers make of them: tenths of a millimetre.
    EXPECT_EQ(9144, static_cast<int>(std::lround(wcstod(maxW, nullptr) * 254)));
    EXPECT_EQ(127, static_cast<int>(std::lround(wcstod(minH, nullptr) * 254)));
    for (PWSTR p : {minW, maxW, real, minH, maxH}) LocalFree(p);
}

TEST_F(XmlParserTest, RollLimitsWithoutMaxHeightFailButHandOutTheRest) {
    CZQComPtr<IXMLDOMDocument> doc = zqxmltest::Parse(
        L"<LQJRollSheetData><MaxJobPageWidth>44</MaxJobPageWidth><MinJobPageHeight>1</MinJobPageHeight>"
        L"</LQJRollSheetData>");
    ASSERT_TRUE(doc);
    CZQComPtr<IXMLDOMNode> roll = Select(doc.Get(), L"LQJRollSheetData");
    PWSTR sentinel = reinterpret_cast<PWSTR>(0x1234);
    PWSTR minW = sentinel, maxW = nullptr, real = sentinel, minH = nullptr, maxH = sentinel;
    EXPECT_FALSE(CZQXmlParserCommon::BGetRollLimits(roll.Get(), &minW, &maxW, &real, &minH, &maxH));
    EXPECT_EQ(sentinel, minW);
    EXPECT_EQ(sentinel, real);
    EXPECT_EQ(sentinel, maxH);
    EXPECT_STREQ(L"44", maxW);
    EXPECT_STREQ(L"1", minH);
    LocalFree(maxW);
    LocalFree(minH);
}

// ---------------------------------------------------------------------------------------------
// Hostile content.
// ---------------------------------------------------------------------------------------------
TEST_F(XmlParserTest, HostileContentLoadsOrFailsQuietly) {
    const std::string longText(200000, 'x');
    std::string deep;
    for (int i = 0; i < 3000; ++i) deep += "<n>";
    for (int i = 0; i < 3000; ++i) deep += "</n>";
    TempFile file(HelperFile("<helper><features><feature><name>" + longText +
                             "</name></feature><feature><name>MediaType</name></feature></features>"
                             "<macros><macro><name>m</name>" +
                             deep + "</macro></macros></helper>"));
    CZQXmlParserCommon parser;
    if (parser.BLoad(file.Path())) {
        CZQComPtr<IXMLDOMNode> entry;
        EXPECT_TRUE(parser.BFindListEntry(parser.FeatureList(), L"mediatype", entry.Put()));
        EXPECT_FALSE(parser.BFindListEntry(parser.FeatureList(), L"x", entry.Put()));
    } else {
        EXPECT_EQ(nullptr, parser.FeatureList());
    }
}

}  // namespace
