// The helper file's groups and document types: the paper-size and media-type trees filled into a real
// tree view (forms of the in-memory printer, headings from the status module), the named groups, and
// the document types' labels, feature records and feature/option pairs.
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "macrotest.h"
#include "pages/dialogs/zqcustompaperdlg.h"
#include "sampleitems.h"
#include "testsupport.h"
#include "zqmemprinter.h"
#include "zqsamplenames.h"

using Lines = std::vector<std::wstring>;
using zqtest::ListFeature;

namespace {

std::string Helper(const std::string& sections) {
    return zqxmltest::HelperFile("<helper><features>" + zqmacrotest::Feature("Unused", {}) + "</features><macros/>" +
                                 sections + "</helper>");
}

// Two blanks a level, the item data, the text, and "+" for an expanded item.
void Dump(HWND tree, HTREEITEM parent, int depth, Lines& lines) {
    auto next = [&](WPARAM how, HTREEITEM from) {
        return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
    };
    for (HTREEITEM item = next(parent ? TVGN_CHILD : TVGN_ROOT, parent); item; item = next(TVGN_NEXT, item)) {
        WCHAR text[256] = {};
        TVITEMW tv = {TVIF_TEXT | TVIF_PARAM | TVIF_STATE | TVIF_HANDLE, item, 0, TVIS_EXPANDED, text, 256, 0, 0, 0, 0};
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        lines.push_back(std::wstring(depth * 2, L' ') + std::to_wstring(tv.lParam) + L" " + text +
                        (tv.state & TVIS_EXPANDED ? L" +" : L""));
        Dump(tree, item, depth + 1, lines);
    }
}

// What a page hands in (zero-filled, two texts marked) and gets back for one feature, as one line:
// "name label help hidden selected index [choice bitmap label|...] disabled".
struct Record {
    WCHAR name[256] = {}, hidden[256] = L"-", selected[256] = {}, disabled[256] = L"-";
    LONG label = -1, help = -1, index = -1, count = -1;
    PWSTR* options = nullptr;
    LONG **bitmaps = nullptr, **labels = nullptr;
    ~Record() {
        for (LONG i = 0; i < count; ++i) {
            LocalFree(options[i]);
            LocalFree(bitmaps[i]);
            LocalFree(labels[i]);
        }
        LocalFree(options);
        LocalFree(bitmaps);
        LocalFree(labels);
    }
    std::wstring Text() const {
        std::wstring t = std::wstring(name) + L" " + std::to_wstring(label) + L" " + std::to_wstring(help) + L" " +
                         hidden + L" " + selected + L" " + std::to_wstring(index) + L" [";
        for (LONG i = 0; i < count; ++i)
            t += (i ? L"|" : L"") + std::wstring(options[i]) + L" " + std::to_wstring(*bitmaps[i]) + L" " +
                 std::to_wstring(*labels[i]);
        return t + L"] " + disabled;
    }
};

class HelperGroups : public zqmacrotest::MacroTest {
protected:
    void SetUp() override {
        MacroTest::SetUp();
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        m_tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_POPUP, 0, 0, 300, 600, nullptr, nullptr, nullptr, nullptr);
        zqspool::MemPrinterIdentity identity;
        identity.driverDirectory = zqtest::ExeDir();  // where the status module is
        m_printer = std::make_unique<zqspool::CZQMemoryPrinter>(identity);
        m_printer->Install();
        // A user form among the driver's forms (in other letter case), one the driver lacks, a built-in one.
        m_printer->AddForm(L"photo 4X6", 1016, 1524, FORM_USER);
        m_printer->AddForm(L"My Label", 500, 500, FORM_USER);
        m_printer->AddForm(L"Letter", 2159, 2794, FORM_BUILTIN);
        m_handle = m_printer->Open();
        m_rules->VLoadResourceModule(m_handle);
    }
    void TearDown() override {
        DestroyWindow(m_tree);
        MacroTest::TearDown();
        m_printer.reset();
    }
    // A pop-up's tree, filled afresh as the dialogs do.
    Lines Tree(void* param, bool media) {
        SendMessageW(m_tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        auto* p = static_cast<POEMCUIPPARAM>(param);
        p->hPrinter = m_handle;
        if (media)
            m_rules->BFillMediaTypeTree(m_tree, p);
        else
            EXPECT_TRUE(m_rules->BFillPaperSizeTree(m_tree, p, &CZQCustomPaperDlg::BFindForm));
        Lines lines;
        Dump(m_tree, nullptr, 0, lines);
        return lines;
    }
    // Each document type's label, picture and feature/option pairs (the task presets' reading), then its
    // features as the desktop or large-format page reads them.
    Lines DocumentTypes(bool largeFormat) {
        Lines lines;
        CZQComPtr<IXMLDOMNodeList> all;
        CZQBstr pattern(SysAllocString(L"//DocUISettings//*"));
        m_rules->Parser().Document()->selectNodes(pattern.Get(), all.Put());
        for (CZQComPtr<IXMLDOMNode> node; all->nextNode(node.Put()) == S_OK && node;) {
            CZQBstr name;
            node->get_nodeName(name.Put());
            WCHAR label[256] = {};
            LONG bitmap = -1;
            PWSTR *features = nullptr, *options = nullptr;
            LONG count = 0;
            if (!wcscmp(name.Get(), L"DocSetting") && m_rules->BReadOptionName(node.Get(), label) &&
                CZQXmlUiRules::BReadBitmapId(node.Get(), &bitmap) &&
                m_rules->BReadDocFeatures(node.Get(), &features, &options, &count)) {
                lines.push_back(std::wstring(label) + L" " + std::to_wstring(bitmap));
                for (LONG i = 0; i < count; ++i) lines.back() += L" " + std::wstring(features[i]) + L"=" + options[i];
                CZQCommon::VFreeStringList(features, count);
                CZQCommon::VFreeStringList(options, count);
            } else if (!wcscmp(name.Get(), L"DocFeature"))
                lines.push_back(Read(node.Get(), largeFormat));
        }
        return lines;
    }
    std::wstring Read(IXMLDOMNode* feature, bool largeFormat) {
        Record r;
        const BOOL read = largeFormat ? m_rules->BReadDocOptionsEx(feature, r.name, &r.label, &r.help, r.hidden,
                                                                   r.selected, &r.index, &r.options, &r.bitmaps,
                                                                   &r.count, &r.labels, r.disabled)
                                      : m_rules->BReadDocOptions(feature, r.name, &r.label, &r.help, r.hidden,
                                                                 r.selected, &r.index, &r.options, &r.bitmaps,
                                                                 &r.count, &r.labels);
        return read ? r.Text() : L"(not read)";
    }
    // What the switch of the sample's borderless feature selects for the user's country, and its index.
    static std::wstring Borderless() {
        return CZQXmlParserCommon::IGetCountryCode() == 81 ? L"ZQBorderless.FALSE 0" : L"ZQBorderless.TRUE 1";
    }

    HWND m_tree = nullptr;
    std::unique_ptr<zqspool::CZQMemoryPrinter> m_printer;
    HANDLE m_handle = nullptr;
};

TEST_F(HelperGroups, TreesTakeTheirGroupsPapersOfTheUnitAndTheUsersForms) {
    const std::wstring longName(100, L'x');
    m_host.Add(ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"PHOTO", L"Photo 4x6"}, {"LONG", longName}},
                           0, DMPUB_FORMNAME));
    m_host.Add(ListFeature("ZQPaperSizeTreeviewPopup", {{"Metric", L"Metric"}, {"English", L"English"}}));
    m_host.Add(ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}, {"GLOSSY", L"Glossy"}, {"FILM", L"Film"}}));
    m_host.Build();
    ASSERT_NO_FATAL_FAILURE(Load(Helper(
        "<groups><group><groupname>PaperType</groupname><resource_id>6210</resource_id><name>plain</name>"
        "<name>UNKNOWN</name><subgroup><resource_id>6202</resource_id><name>GLOSSY</name>"
        "<resource_id>6299</resource_id><name>FILM</name></subgroup><resource_id>6211</resource_id><name>FILM</name>"
        "</group><group><groupname>papersize</groupname><subgroup><name type='All'>A4</name></subgroup></group>"
        "<group><groupname>PaperSize</groupname><subgroup><name type='All'>LONG</name></subgroup>"
        "<subgroup><resource_id>6200</resource_id><name type='English'>letter</name><name type='Metric'>A4</name>"
        "<name>LONG</name><name type='All'>PHOTO</name><name type='All'>B5</name></subgroup>"
        "<subgroup><resource_id>6201</resource_id><name type='Metric'>A4</name></subgroup>"
        "<subgroup><resource_id>6299</resource_id><name type='English'>LETTER</name></subgroup></group></groups>")));
    // A paper before any heading, and a heading the status module lacks, come under an empty heading;
    // a paper without a type is of no unit.
    const Lines head = {L"1  +", L"  2 " + longName.substr(0, 81)}, forms = {L"1 Custom +", L"  2 Photo 4x6"};
    auto tree = [&](Lines middle) {
        middle.insert(middle.begin(), head.begin(), head.end());
        middle.insert(middle.end(), forms.begin(), forms.end());
        return middle;
    };
    m_host.SetSelection("ZQPaperSizeTreeviewPopup", 0);
    EXPECT_EQ(tree({L"1 Standard Papers +", L"  2 A4", L"  2 Photo 4x6", L"1 Envelopes +", L"  2 A4"}),
              Tree(m_host.Param(), false));
    m_host.SetSelection("ZQPaperSizeTreeviewPopup", 1);
    EXPECT_EQ(tree({L"1 Standard Papers +", L"  2 Letter", L"  2 Photo 4x6", L"1  +", L"  2 Letter"}),
              Tree(m_host.Param(), false));
    EXPECT_EQ("LETTER", m_host.Current("PaperSize"));  // the lookups put the selection back
    // Without a unit only the papers of every unit; without the form item or the forms no branch.
    const Lines noUnit = {head[0], head[1], L"1 Standard Papers +", L"  2 Photo 4x6"};
    m_host.FailFeature("ZQPaperSizeTreeviewPopup");
    m_host.Item("PaperSize")->DMPubID = 0;
    EXPECT_EQ(noUnit, Tree(m_host.Param(), false));
    m_host.Item("PaperSize")->DMPubID = DMPUB_FORMNAME;
    m_printer->FailCall(zqspool::MemCall::EnumForms, ERROR_ACCESS_DENIED);
    EXPECT_EQ(noUnit, Tree(m_host.Param(), false));
    // Only the sub-heading inserted last is expanded; every heading with entries is.
    EXPECT_EQ((Lines{L"1 Plain Papers +", L"  2 Plain Paper", L"  2 Photo Papers", L"    3 Glossy", L"  2  +",
                     L"    3 Film", L"1 Films +", L"  2 Film"}),
              Tree(m_host.Param(), true));
}

TEST_F(HelperGroups, DocumentTypeRecords) {
    struct Row {
        std::string feature;
        std::wstring label, record;
    } rows[] = {
        // Numbers truncated toward zero, the selection found without regard to case (the last of several).
        {"<name>MediaType</name><hidden>False</hidden><resource_id>6100 and more</resource_id><help_id>-3.7</help_id>"
         "<select_option>photo</select_option><Disabled>True</Disabled><DocOption><name>PLAIN</name>"
         "<bitmap_id>610.9</bitmap_id><resource_id>6111</resource_id></DocOption><DocOption><name>PHOTO</name>"
         "</DocOption><DocOption><name>Photo</name><resource_id>1e10</resource_id></DocOption>",
         L"Everyday Printing", L"MediaType 6100 -3 False photo 2 [PLAIN 610 6111|PHOTO 0 0|Photo 0 0] True"},
        // A switch that selects nothing leaves the selection as handed in.
        {"<name>PaperSize</name><switch><name>MediaType</name><case><name>PLAIN</name><select_option>PaperSize.A4"
         "</select_option></case></switch><DocOption><name>A4</name></DocOption>",
         L"PaperSize", L"PaperSize 0 0 -  0 [A4 0 0] -"},
        {"", L"(none)", L" 0 0 -  0 [] -"},
    };
    std::string features;
    for (const Row& row : rows) features += "<DocFeature>" + row.feature + "</DocFeature>";
    ASSERT_NO_FATAL_FAILURE(Load(Helper("<DocUISettings><DocSetting>" + features + "</DocSetting></DocUISettings>")));
    CZQComPtr<IXMLDOMNodeList> nodes;
    CZQBstr pattern(SysAllocString(L"//DocFeature"));
    m_rules->Parser().Document()->selectNodes(pattern.Get(), nodes.Put());
    for (LONG i = 0; i < static_cast<LONG>(std::size(rows)); ++i) {
        CZQComPtr<IXMLDOMNode> feature;
        nodes->get_item(i, feature.Put());
        WCHAR label[256] = L"(none)";
        m_rules->BReadOptionName(feature.Get(), label);
        EXPECT_EQ(rows[i].label, label) << i;
        EXPECT_EQ(rows[i].record, Read(feature.Get(), true)) << i;
    }
    EXPECT_EQ(L"(not read)", Read(nullptr, false));
}

// ---------------------------------------------------------------------------------------------
// The sample printers
// ---------------------------------------------------------------------------------------------
TEST_F(HelperGroups, SampleDesktopPrinter) {
    CZQSampleItems desk(zqhosttest::kDeskModel, OEMCUIP_DOCPROP);
    ASSERT_TRUE(desk.Built());
    ASSERT_NO_FATAL_FAILURE(LoadFile(zqtest::BesideExe(L"zqdesk.xml").c_str()));
    m_printer->AddForm(L"custom size", 2000, 3000, FORM_USER);
    // The desk sample's unit is English: its papers, those of every unit and the user forms.
    EXPECT_EQ((Lines{L"1 Standard Papers +", L"  2 Letter", L"  2 Legal", L"  2 Executive", L"1 Envelopes +",
                     L"  2 Envelope #10", L"1 Photo Papers +", L"  2 Photo 4x6 in.", L"  2 Photo 4x6 in. (borderless)",
                     L"1 Custom +", L"  2 Custom Size"}),
              Tree(desk.CommonUIParam(), false));
    EXPECT_EQ((Lines{L"1 Plain Papers +", L"  2 Plain Paper", L"  2 Brochure Paper, Matte", L"  2 Photo Papers +",
                     L"    3 Photo Paper, Glossy", L"    3 Photo Paper, Matte", L"1 Films +", L"  2 Transparency Film"}),
              Tree(desk.CommonUIParam(), true));

    // The margin types: the borderless papers, then the bordered ones.
    CZQComPtr<IXMLDOMNode> first;
    ASSERT_TRUE(m_rules->BFindFeatureNode(first.Put(), L"zqmargintype"));
    PWSTR *one = nullptr, *two = nullptr;
    int count1 = 0, count2 = 0;
    EXPECT_EQ(1u, CZQXmlUiRules::BReadNodeTextList(first.Get(), &one, &two, &count1, &count2));
    ASSERT_TRUE(count1 == 1 && count2 == 3);
    EXPECT_EQ(L"ZQ_BORDERLESS_4X6|PHOTO_4X6", std::wstring(one[0]) + L"|" + two[2]);
    CZQCommon::VFreeStringList(one, count1);
    CZQCommon::VFreeStringList(two, count2);
    EXPECT_FALSE(m_rules->BFindFeatureNode(first.Put(), L"ZQMorePassesMediaGroup"));

    const std::wstring borderless = Borderless(), captured = borderless.substr(0, borderless.size() - 2);
    // Two types of seven and ten features; the borderless feature's option comes from its switch.
    const Lines types = DocumentTypes(false);
    ASSERT_EQ(19u, types.size());
    EXPECT_EQ(L"Everyday Printing 600 MediaType=PLAIN Duplex=NONE InputBin=TRAY1 PrintQuality=Normal PagesPerSheet=1 "
              L"Copies=1 Collate=Disabled",
              types[0]);
    EXPECT_EQ(L"Duplex 6113 7113 False NONE 0 [NONE 612 6114|Automatically 613 6115|Manually 613 6116] -", types[2]);
    EXPECT_EQ(L"Photo Printing 605 PaperSize=ZQ_BORDERLESS_4X6 ZQBorderless=" + captured +
                  L" MediaType=PHOTO_GLOSSY PrintQuality=Best Orientation=PORTRAIT ZQPrintInGrayScale=FALSE "
                  L"DigitalPhotography=On BorderlessAutoFit=Enabled Scaling=100 Copies=1",
              types[8]);
    EXPECT_EQ(L"ZQBorderless 6123 7123 True " + borderless + L" [FALSE 622 6124|TRUE 623 6125] -", types[10]);
    // The capture ended with the readings.
    lstrcpyW(m_rules->Parser().m_szQualityGroupValue, L"PQGroup_0");
    EXPECT_TRUE(m_rules->BEvaluateSwitch(m_rules->Parser().MacroList(), L"macro_PrintQuality"));
    EXPECT_STREQ(L"300dpi", m_rules->Parser().m_quality.szResolutionOption);
    EXPECT_EQ(captured, m_rules->PszCaptureText());
}

TEST_F(HelperGroups, SampleLargeFormatPrinter) {
    CZQSampleItems roll(zqhosttest::kRollModel, OEMCUIP_DOCPROP);
    ASSERT_TRUE(roll.Built());
    ASSERT_NO_FATAL_FAILURE(LoadFile(zqtest::BesideExe(L"zqroll.xml").c_str()));
    EXPECT_EQ((Lines{L"1 Bond Paper +", L"  2 Plain Paper", L"  2 Bright White Bond", L"1 Coated Paper +",
                     L"  2 Coated Paper", L"  2 Heavy and Photo Papers +", L"    3 Heavyweight Coated Paper",
                     L"    3 Photo Paper, Gloss", L"1 Film +", L"  2 Clear Film"}),
              Tree(roll.CommonUIParam(), true));
    // No paper group: no branch of user forms either.
    m_printer->AddForm(L"ISO A4", 2100, 2970, FORM_USER);
    EXPECT_EQ(Lines{}, Tree(roll.CommonUIParam(), false));
    // The other document types choose among three qualities and three media.
    const auto quality = [](const std::wstring& chosen) {
        return L"PrintQuality 6140 7140 False " + chosen + L" [Fast 640 0|Normal 641 0|Best 644 0] False";
    };
    const auto media = [](const std::wstring& chosen) {
        return L"MediaType 6147 7147 False " + chosen + L" [COATED 645 6148|HEAVY_COATED 646 6149|PHOTO_GLOSS 647 6150] False";
    };
    // Beside them the rows the shortcut panel's handlers serve, named by the driver's keywords.
    EXPECT_EQ((Lines{L"Technical Drawings 602 PrintQuality=Normal ZQSaveRollPaper=FALSE InputBin=ROLL1 Copies=1 Scaling=100",
                     L"PrintQuality 6140 7140 False Normal 1 [Fast 640 0|Normal 641 0] False",
                     L"ZQSaveRollPaper 6143 7143 True FALSE 0 [FALSE 642 6144|TRUE 643 6145] True",
                     L"InputBin 6153 7153 False ROLL1 0 [ROLL1 0 0|SHEET 0 0] False", L"Copies 6154 7154 False 1 0 [1 0 0] False",
                     L"Scaling 6158 7158 False 100 0 [100 0 0] False",
                     L"Photo 603 PrintQuality=Best MediaType=PHOTO_GLOSS", quality(L"Best 2"), media(L"PHOTO_GLOSS 2"),
                     L"Posters and Banners 604 PrintQuality=Normal MediaType=HEAVY_COATED PaperSize=ISO_A0 "
                     L"Orientation=PORTRAIT ZQPosterPrintingOptionSUI=Off",
                     quality(L"Normal 1"), media(L"HEAVY_COATED 1"),
                     L"PaperSize 6151 7151 False ISO_A0 1 [ANSI_E 306 0|ISO_A0 306 0|ISO_A1 306 0] False",
                     L"Orientation 6152 7152 False PORTRAIT 0 [PORTRAIT 0 0|LANDSCAPE_CC90 0 0] False",
                     L"ZQPosterPrintingOptionSUI 6156 7156 False Off 0 [Off 0 0|2x2 0 0|3x3 0 0] False",
                     L"Everyday Printing 601 PrintQuality=Fast MediaType=COATED PagesPerSheet=1", quality(L"Fast 0"),
                     media(L"COATED 0"), L"PagesPerSheet 6157 7157 False 1 0 [1 0 0|2 0 0|4 0 0] False"}),
              DocumentTypes(true));
}

}  // namespace
