// Printer model files and the core driver stand-in's private devmode part.
#include <gtest/gtest.h>

#include <cstring>

#include "hosttest.h"
#include "zqhostdm.h"
#include "zqmodel.h"

namespace {

const std::map<uint32_t, std::string> kNoStrings;
const std::string kHead = "[Model]\nName=Test\nPlugIn=plugin.dll\n";

bool Parse(const std::string& text, zqmodel::Model& m, std::string& error,
           const std::map<uint32_t, std::string>& strings = kNoStrings) {
    return zqmodel::ParseModel(text, strings, m, error);
}

TEST(ModelFile, SamplePrintersLoadWithEveryFeatureThePluginNames) {
    const zqmodel::Model desk = zqhosttest::LoadModel(zqhosttest::kDeskModel);
    EXPECT_EQ("zqoemui.dll", desk.plugIn);
    EXPECT_EQ((std::vector<std::string>{"zqdesk.xml", "zqdesk.cfg", "zqdesk.zqd", "zqdesk.zqb"}), desk.files);
    EXPECT_EQ(0u, desk.statusText.find("MFG:ZQ;")) << "the status monitor's text";
    EXPECT_EQ((std::vector<std::string>{"zqcoremod.dll", "zqwarnmod.dll", "zqcfgmgr.dll", "zqservices.dll",
                                        "zqsvcmod.dll", "zqagentps.dll", "zqagent.exe", "zqagent.dll", "zqlink.exe",
                                        "zqlink.dll", "zqdevapi.dll", "zqlinkps.dll", "zqinstres.dll"}),
              desk.modules);
    // The public features the core driver has an item id for.
    for (int id : {DMPUB_ORIENTATION, DMPUB_COPIES_COLLATE, DMPUB_DEFSOURCE, DMPUB_PRINTQUALITY, DMPUB_COLOR,
                       DMPUB_DUPLEX, DMPUB_FORMNAME, DMPUB_MEDIATYPE, DMPUB_NUP}) {
        bool found = false;
        for (const auto& f : desk.features) found = found || f.pubId == id;
        EXPECT_TRUE(found) << "public id " << int(id);
    }
    const auto& xml = desk.features[desk.FindFeature("ZQXMLFileUsed")];
    EXPECT_EQ(zqmodel::Kind::None, xml.kind);
    EXPECT_EQ("zqdesk.xml", xml.options[0].keyword);
    const auto& bin = desk.features[desk.FindFeature("InputBin")];
    EXPECT_EQ(64718, bin.options[0].name.resId);
    EXPECT_EQ("Automatically Select", desk.NameText(bin.options[0].name));
    EXPECT_EQ("Orientation", desk.NameText(desk.features[desk.FindFeature("Orientation")].name));
    EXPECT_EQ(zqmodel::Scope::Device, desk.features[desk.FindFeature("DuplexUnit")].scope);
    EXPECT_EQ(3, desk.FindOption(desk.FindFeature("ZQPDLType"), "PostScript")) << "3 means PostScript";
    EXPECT_FALSE(desk.constraints.empty());

    const zqmodel::Model roll = zqhosttest::LoadModel(zqhosttest::kRollModel);
    const auto& cls = roll.features[roll.FindFeature("ZQPrinterClass")];
    EXPECT_EQ("ZQKorrix", cls.options[cls.defaultOption].keyword);
    const int autoConfig = roll.FindFeature("AutoConfiguration");
    ASSERT_GE(autoConfig, 0);
    EXPECT_EQ(zqmodel::Scope::Device, roll.features[autoConfig].scope);
    EXPECT_EQ("Update Now", roll.NameText(roll.features[autoConfig].options[roll.FindOption(autoConfig, "UpdateNow")].name));
    EXPECT_GE(roll.FindFeature("InstalledRolls"), 0);
    EXPECT_GE(roll.FindFeature("ZQSimplifiedUI"), 0);
    EXPECT_EQ(-1, roll.FindFeature("Duplex")) << "a roll printer prints one side";
}

TEST(ModelFile, FeaturesOptionsAndTheirAttributes) {
    zqmodel::Model m;
    std::string error;
    ASSERT_TRUE(Parse(kHead + "files=a.xml b.cfg\n"
                              "[feature Count]\nKIND=Range\nRange=1 50\nDefault=7\nPubId=Copies\nCheckBox=Sorted\n"
                              "[Feature Sorted]\nKind=None\nDevmode=Collate\nOption=NO|No|id=0\nOption=YES|Yes|id=1\n"
                              "[Feature Note]\nKind=Edit\nMaxLength=5\nDefault=ab\nScope=Device\n"
                              "[Feature Paper]\nName=Paper\nPubId=9\nFlags=hidden disabled\nHelp=15147\nDefault=b4\n"
                              "Option=A4 | A4 | id=9 size=2100x2970\n"
                              "Option=B4 | B4 | id=12 size=2500x3530 hidden disabled\n"
                              "Option=HI.RES | Fine | res=1200x600\n"
                              "[Constraints]\nConstraint=Sorted.YES Paper.HI.RES\n",
                      m, error))
        << error;
    EXPECT_EQ((std::vector<std::string>{"a.xml", "b.cfg"}), m.files);
    const auto& count = m.features[0];
    EXPECT_EQ(zqmodel::Kind::Range, count.kind);
    EXPECT_EQ(7, count.rangeDefault);
    EXPECT_EQ(zqmodel::Field::Copies, count.field);
    EXPECT_EQ(1, count.checkBox);
    EXPECT_EQ(zqmodel::Field::Collate, m.features[1].field);
    EXPECT_EQ("Count", m.NameText(count.name)) << "the keyword names a feature without a name";
    const auto& note = m.features[2];
    EXPECT_EQ(5, note.editMax);
    EXPECT_EQ("ab", note.editDefault);
    EXPECT_EQ(zqmodel::Scope::Device, note.scope);
    const auto& paper = m.features[3];
    EXPECT_EQ(9, paper.pubId);
    EXPECT_EQ(zqmodel::Field::Paper, paper.field);
    EXPECT_TRUE(paper.hidden && paper.disabled);
    EXPECT_EQ(15147u, paper.helpIndex);
    EXPECT_EQ(1, paper.defaultOption) << "defaults compare without case";
    EXPECT_EQ(2500, paper.options[1].width);
    EXPECT_EQ(3530, paper.options[1].length);
    EXPECT_TRUE(paper.options[1].hidden && paper.options[1].disabled);
    EXPECT_EQ(1200, paper.options[2].xres);
    EXPECT_EQ(600, paper.options[2].yres);
    EXPECT_FALSE(paper.options[2].hasId);
    ASSERT_EQ(1u, m.constraints.size());
    EXPECT_EQ(2, m.constraints[0].otherOption) << "option keywords may hold '.'";
    EXPECT_EQ(3, m.FindFeature("PAPER"));
    EXPECT_EQ(2, m.FindOption(3, "hi.res"));
}

TEST(ModelFile, MistakesAreRefusedWithTheirLine) {
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {kHead + "Colour=1\n", "line 4: unknown model key"},
        {kHead + "StatusText=" + std::string(512, 'S') + "\n", "line 4: StatusText takes 1 to 511 characters"},
        {"Name=x\n", "line 1: key outside a section"},
        {kHead + "[Page]\n", "line 4: unknown section"},
        {kHead + "[Feature A]\nOption=X|X\nDefault=Y\n", "default is not one of its options"},
        {kHead + "[Feature A]\nKind=Range\nRange=1 5\nDefault=6\n", "default outside the range"},
        {kHead + "[Feature A]\nKind=Range\nRange=5 1\n", "range is <min> <max>"},
        {kHead + "[Feature A]\nKind=Range\nOption=X|X\n", "a range has no options"},
        {kHead + "[Feature A]\nOption=X|X\n[Feature a]\n", "feature defined twice"},
        {kHead + "[Feature A]\nOption=X|X\nOption=x|Y\n", "option defined twice"},
        {kHead + "[Feature A]\nOption=X|X|size=10\n", "size is <width>x<length>"},
        {kHead + "[Feature A]\nOption=X|X|colour=red\n", "unknown option attribute"},
        {kHead + "[Feature A]\nOption=X\n", "option is <keyword> | <name>"},
        {kHead + "[Feature A]\n", "feature A has no options"},
        {kHead + "[Feature A.B]\n", "bad feature keyword"},
        {kHead + "[Feature A]\nOption=X|X\n[Constraints]\nConstraint=B.X A.X\n", "unknown feature in constraint"},
        {kHead + "[Feature A]\nOption=X|X\n[Constraints]\nConstraint=A.Z A.X\n", "unknown option in constraint"},
        {kHead + "[Feature A]\nOption=X|X\nOption=Y|Y\n[Constraints]\nConstraint=A.X A.Y\n", "joins two features"},
        {kHead + "[Feature A]\nOption=X|@5\n", "string 5 not in the strings file"},
        {kHead + "[Feature A]\nKind=Range\nCheckBox=B\n[Feature B]\nOption=X|X\n", "check-box feature needs two options"},
        {kHead + "[Feature A]\nKind=Range\nCheckBox=C\n", "unknown check-box feature"},
        {kHead + "[Feature A]\nKind=Edit\nMaxLength=300\n", "max length is 1-255"},
        {"[Model]\nName=Test\nPlugIn=..\\plugin.dll\n", "bad plug-in file name"},
        {"[Model]\nPlugIn=p.dll\n", "has no Name"},
        {kHead + "[Feature A\n", "unterminated section header"},
    };
    for (const auto& c : cases) {
        zqmodel::Model m;
        std::string error;
        EXPECT_FALSE(Parse(c.text, m, error)) << c.text;
        EXPECT_NE(std::string::npos, error.find(c.message)) << c.text << " gave: " << error;
    }
    // A model without a plug-in is the core driver alone (the baseline of the benchmarks).
    zqmodel::Model alone;
    std::string error;
    EXPECT_TRUE(Parse("[Model]\nName=Test\n", alone, error)) << error;
    EXPECT_TRUE(alone.plugIn.empty());
}

TEST(ModelFile, NamesComeFromTheStringsFile) {
    std::map<uint32_t, std::string> strings;
    std::string error;
    ASSERT_TRUE(zqmodel::ParseStrings("# names\n10 = Ten\n\n20=Twenty = 20\r\n", strings, error)) << error;
    EXPECT_EQ("Ten", strings[10]);
    EXPECT_EQ("Twenty = 20", strings[20]);
    EXPECT_FALSE(zqmodel::ParseStrings("ten=10\n", strings, error));
    EXPECT_FALSE(zqmodel::ParseStrings("70000=x\n", strings, error));
    ASSERT_TRUE(zqmodel::ParseStrings("10=Ten\n20=Twenty\n", strings, error));

    zqmodel::Model m;
    ASSERT_TRUE(Parse(kHead + "Strings=names.str\n[Feature A]\nName=@10\nOption=X|#20\nOption=Y|#30\n", m, error, strings))
        << error;
    EXPECT_EQ("names.str", zqmodel::FindStringsFile(kHead + "Strings=names.str\n"));
    EXPECT_EQ("Ten", m.NameText(m.features[0].name));
    EXPECT_EQ(20, m.features[0].options[0].name.resId);
    EXPECT_EQ("Twenty", m.NameText(m.features[0].options[0].name));
    EXPECT_EQ("#30", m.NameText(m.features[0].options[1].name)) << "an id without text shows as the id";
}

// ---- the private part of the devmode

std::vector<uint8_t> Extra(const zqhostdm::Selections& sel, uint32_t cbOem, size_t total) {
    zqhostdm::HostPrivate hp;
    zqhostdm::WritePrivate(hp, cbOem, sel);
    std::vector<uint8_t> bytes(total, 0xAB);
    std::memcpy(bytes.data(), &hp, total < sizeof hp ? total : sizeof hp);
    return bytes;
}

TEST(HostPrivate, SelectionsAndThePluginBlockSurviveARoundTrip) {
    const zqhostdm::Selections sel = {{"PaperSize", "A4"}, {"ZQNote", "a=b"}, {"ZQEmpty", ""}};
    auto bytes = Extra(sel, 100, zqhostdm::kPrivateSize + 100);
    const auto parsed = zqhostdm::ParsePrivate(bytes.data(), bytes.size());
    ASSERT_TRUE(parsed.valid);
    EXPECT_EQ(sel, parsed.selections);
    EXPECT_EQ(100u, parsed.cbOem);
    EXPECT_EQ(zqhostdm::kPrivateSize, parsed.oemOffset);
}

TEST(HostPrivate, ForeignOrDamagedBytesAreNotTrusted) {
    const zqhostdm::Selections sel = {{"PaperSize", "A4"}};
    auto good = Extra(sel, 64, zqhostdm::kPrivateSize + 64);
    EXPECT_FALSE(zqhostdm::ParsePrivate(good.data(), zqhostdm::kPrivateSize - 1).valid) << "too short";
    EXPECT_FALSE(zqhostdm::ParsePrivate(nullptr, 5000).valid);
    for (size_t at : {0u, 4u, 8u}) {
        auto bad = good;
        bad[at] ^= 0x01;
        EXPECT_FALSE(zqhostdm::ParsePrivate(bad.data(), bad.size()).valid) << "header byte " << at;
    }
    // A plug-in block claimed beyond the bytes present is no block.
    auto cut = zqhostdm::ParsePrivate(good.data(), zqhostdm::kPrivateSize + 63);
    EXPECT_TRUE(cut.valid);
    EXPECT_EQ(0u, cut.cbOem);
    auto huge = Extra(sel, 0xFFFFFFF0u, zqhostdm::kPrivateSize + 64);
    EXPECT_EQ(0u, zqhostdm::ParsePrivate(huge.data(), huge.size()).cbOem);

    // Selections without a terminator, '=' or printable text are dropped, never read past.
    auto bytes = Extra({}, 0, zqhostdm::kPrivateSize);
    char* area = reinterpret_cast<char*>(bytes.data() + zqhostdm::kHeaderSize);
    std::memcpy(area, "Good=1\0NoEquals\0Bad\x01=2\0", 22);
    std::memset(area + 22, 'x', zqhostdm::kSelectionBytes - 22);
    const auto parsed = zqhostdm::ParsePrivate(bytes.data(), bytes.size());
    EXPECT_EQ((zqhostdm::Selections{{"Good", "1"}}), parsed.selections);
}

TEST(HostPrivate, SelectionsThatDoNotFitAreLeftOut) {
    zqhostdm::Selections many;
    for (int i = 0; i < 40; ++i) many.emplace_back("Feature" + std::to_string(i), std::string(60, 'v'));
    many.emplace_back("Bad=Key", "x");
    zqhostdm::HostPrivate hp;
    const size_t written = zqhostdm::WritePrivate(hp, 0, many);
    EXPECT_LT(written, 40u);
    EXPECT_GT(written, 20u);
    const auto parsed = zqhostdm::ParsePrivate(reinterpret_cast<const uint8_t*>(&hp), sizeof hp);
    EXPECT_EQ(written, parsed.selections.size());
}

}  // namespace
