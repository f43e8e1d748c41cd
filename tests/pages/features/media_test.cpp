// The Features page's paper source and media type: pop-up mode's short list with the recent types
// and the user's own media, the page's own media-type tree, the user media list as the media tool
// leaves it in the registry, the paper-size short list with its recent forms, the borderless twins
// and the rules of banner and borderless papers.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/zqprinterdata.h"
#include "common/zqstorenames.h"
#include "featurestest.h"
#include "formats/zquidevmode.h"
#include "macrotest.h"
#include "pages/zqpageitems.h"
#include "res/zqpopupids.h"
#include "testsupport.h"
#include "xmltestutil.h"
#include "zqhostapp.h"

using std::make_tuple;
using zqtest::ListFeature;

namespace {

struct StoredMedium {
    std::wstring key, name, category, quality;
    DWORD nameType = REG_SZ;
};

class FeaturesMedia : public FeaturesPage {
protected:
    void SetUp() override {
        FeaturesPage::SetUp();
        Forget();
    }
    void TearDown() override {
        Forget();
        FeaturesPage::TearDown();
    }
    static void Forget() {
        RegDeleteTreeW(HKEY_CURRENT_USER, zqsettings::kAddNewPaperKey);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, zqsettings::kAddNewPaperToolKey);
    }
    static void Store(const StoredMedium& m) {
        const std::wstring key = std::wstring(zqsettings::kAddNewPaperKey) + L"\\" + m.key;
        auto put = [&](PCWSTR value, const std::wstring& text) {
            if (!text.empty())
                RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), value, REG_SZ, text.c_str(),
                                static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
        };
        if (m.nameType == REG_SZ) {
            put(L"Name", m.name);
        } else {
            const DWORD number = 7;
            RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Name", REG_DWORD, &number, sizeof number);
        }
        put(L"Category", m.category);
        put(L"Quality", m.quality);
    }
    static void RegisterTool() {
        const std::wstring program = zqtest::BesideExe(L"zqcmdlog.exe");
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, zqsettings::kAddNewPaperToolKey, zqsettings::kAddNewPaperToolPath, REG_SZ,
                        program.c_str(), static_cast<DWORD>((program.size() + 1) * sizeof(WCHAR)));
    }
    // The desk items with the user media's placeholder types "0" and "9" and, on request, the tree
    // pop-ups; the rules name borderless twins of Letter and of the user form "Studio".
    void Prepare(bool bPopups, const std::string& without = "") {
        m_host.Add(ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}, {"PHOTO", L"Photo Paper"},
                                             {"ZQ_CD_LABEL", L"CD Label"}, {"AUTOMATIC", L"Automatic"},
                                             {"ZQ_USER_PHOTO", L"0"}, {"ZQ_USER_PLAIN", L"9"}},
                               0, DMPUB_MEDIATYPE));
        m_host.Add(ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"ZQ_BORDERLESS_LETTER",
                                             L"Letter (borderless)"}, {"ZQ_BANNER_A1", L"Banner A1"},
                                             {"ZQ_BORDERLESS_HAGAKI", L"Postcard (borderless)"}},
                               0, DMPUB_FORMNAME));
        if (bPopups) {
            m_host.Add(zqtest::ValueFeature("ZQMediaTypeTreeviewPopup", "TRUE"));
            m_host.Add(ListFeature("ZQPaperSizeTreeviewPopup", {{"English", L"English"}, {"Metric", L"Metric"}}));
        }
        AddItems(without + " MediaType PaperSize");
        Build();
        zqxmltest::TempFile file(zqxmltest::HelperFile(
            "<helper><features>" + zqmacrotest::Feature("Unused", {}) + "</features><macros/><BorderlessSettings>"
            "<Borderless><Borderless_Paper>ZQ_BORDERLESS_LETTER</Borderless_Paper><Paper>LETTER</Paper>"
            "<Overspray_Left>0.1</Overspray_Left><Overspray_Top>0.1</Overspray_Top>"
            "<Overspray_Right>0.1</Overspray_Right><Overspray_Bottom>0.1</Overspray_Bottom></Borderless>"
            "</BorderlessSettings></helper>"));
        ASSERT_TRUE(m_rules->Parser().BLoad(file.Path()));
        m_rules->Parser().VSetLoaded(TRUE);
        ASSERT_NE(nullptr, Open());
    }
    std::vector<std::wstring> Entries(int id) { return ZQListEntries(Ctl(id)); }
    std::vector<std::wstring> Recent() {
        std::vector<std::wstring> names;
        for (const auto& slot : Work().aszRecentMediaTypes) names.emplace_back(reinterpret_cast<PCWSTR>(slot));
        return names;
    }
};

// Pop-up mode's list: the current type, the recent ones, "Add Paper..." only with the feature and the
// tool registered, "More..." last; the printer data "MediaType" is made. Outside pop-up mode the
// binder fills every type but the hidden placeholders.
struct ShortListCase {
    bool popups, tool;
    const char* without;
    std::vector<std::wstring> entries;
};

class FeaturesShortList : public FeaturesMedia, public testing::WithParamInterface<ShortListCase> {};

TEST_P(FeaturesShortList, EntriesAndPrinterData) {
    const ShortListCase& c = GetParam();
    if (c.tool) RegisterTool();
    Prepare(c.popups, c.without);
    EXPECT_EQ(c.entries, Entries(IDC_CBO_MEDIA_TYPE_IS));
    DWORD type = 0, cb = 0;
    CZQLocalPtr<BYTE> data;
    const bool stored = ZQReadStoredValue(m_hPrinter, nullptr, L"MediaType", &type, data, &cb) == ERROR_SUCCESS;
    EXPECT_EQ(c.popups, stored);
    if (stored) {
        EXPECT_EQ(make_tuple(DWORD{REG_DWORD}, DWORD{4}, DWORD{0}),
                  make_tuple(type, cb, *reinterpret_cast<const DWORD*>(data.Get())));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FeaturesShortList,
    testing::Values(ShortListCase{true, false, "", {L"Plain Paper", L"More..."}},
                    ShortListCase{true, true, "", {L"Plain Paper", L"Add Paper...", L"More..."}},
                    ShortListCase{true, true, "ZQAddCustomMedia", {L"Plain Paper", L"More..."}},
                    ShortListCase{false, true, "", {L"Plain Paper", L"Photo Paper", L"CD Label", L"Automatic"}}));

// Chosen names go into free recent slots; a name already listed stays where it is; the fourth new
// name pushes the oldest out. User media join the list through their slot.
TEST_F(FeaturesMedia, RecentMediaFullRepeatedAndPushedOut) {
    Store({L"a", L"Studio Satin", L"Photo", L"Best"});
    Prepare(true);
    ASSERT_EQ(1, m_tab->UserMediaForTesting().Count());
    for (PCWSTR name : {L"Photo Paper", L"CD Label", L"Photo Paper", L"Plain Paper", L"Studio Satin"})
        m_tab->ISelectMediaInCombo(&m_context, name);
    EXPECT_EQ((std::vector<std::wstring>{L"Photo Paper", L"CD Label", L"Studio Satin"}), Recent())
        << "the current type (first entry) and a repeated name take no slot";
    EXPECT_EQ((std::vector<std::wstring>{L"Plain Paper", L"Studio Satin", L"Photo Paper", L"CD Label", L"More..."}),
              Entries(IDC_CBO_MEDIA_TYPE_IS));
    EXPECT_EQ(L"Studio Satin", Text(IDC_CBO_MEDIA_TYPE_IS));
    m_tab->ISelectMediaInCombo(&m_context, L"Automatic");
    EXPECT_EQ((std::vector<std::wstring>{L"CD Label", L"Studio Satin", L"Automatic"}), Recent());
}

// A tree choice: a driver type selects its option; a user medium the option of its category (and
// is remembered for the media tool); a heading changes nothing and the tree still closes with OK.
TEST_F(FeaturesMedia, TreeChoicesOfTypesUserMediaAndHeadings) {
    Store({L"a", L"Studio Satin", L"Plain paper", L"Normal"});
    Prepare(true);
    struct Case {
        PCWSTR name;
        BOOL selected;
        int option;
        BOOL user;
    };
    for (const Case& c : {Case{L"Photo Paper", TRUE, 1, FALSE}, Case{L"Studio Satin", TRUE, 5, TRUE},
                          Case{L"Custom Paper", FALSE, 5, TRUE}, Case{L"Automatic", TRUE, 3, FALSE}}) {
        SCOPED_TRACE(std::wstring(c.name));
        EXPECT_EQ(c.selected, m_tab->BSelectMediaByName(&m_context, c.name));
        EXPECT_EQ(make_tuple(c.option, c.user), make_tuple(Sel("MediaType"), m_tab->StateForTesting().bUserMediumChosen));
    }

    // Through the page's own tree: the user medium is under "Custom Paper"; OK on it chooses it.
    int items = 0;
    const INT_PTR result = Modal(
        [&] { return DialogBoxParamW(Resources(), MAKEINTRESOURCEW(IDD_DLG_MEDIATYPE_TREEVIEW_POPUP), m_page,
                                     &FeaturesMediaTypePopupDlgProc, reinterpret_cast<LPARAM>(&m_context)); },
        [&](HWND d) {
            HWND tree = GetDlgItem(d, IDC_TREE_MEDIATYPE_POPUP);
            items = static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0));
            auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE,
                                                                         reinterpret_cast<LPARAM>(item)))) {
                WCHAR text[64] = {};
                TVITEMW tv = {};
                tv.mask = TVIF_TEXT;
                tv.hItem = item;
                tv.pszText = text;
                tv.cchTextMax = 64;
                SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
                if (lstrcmpW(text, L"Studio Satin") == 0) break;
            }
            ASSERT_NE(nullptr, item);
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
            SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
    EXPECT_EQ(make_tuple(INT_PTR{1}, 2, 5), make_tuple(result, items, Sel("MediaType")));
    EXPECT_EQ(make_tuple(std::wstring(L"Studio Satin"), std::wstring(L"Studio Satin")),
              make_tuple(Recent()[0], Text(IDC_CBO_MEDIA_TYPE_IS)));
    // Opened without its page the tree closes as Cancel.
    PageContext empty = {};
    EXPECT_EQ(INT_PTR{2}, Modal([&] { return DialogBoxParamW(Resources(), MAKEINTRESOURCEW(IDD_DLG_MEDIATYPE_TREEVIEW_POPUP),
                                                             m_page, &FeaturesMediaTypePopupDlgProc,
                                                             reinterpret_cast<LPARAM>(&empty)); },
                                [](HWND d) { SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }));
}

// The media tool's list: a medium named like a driver type is left out, a one-character name gets
// a blank, a name of the wrong type counts as missing, unknown texts leave the codes, the table
// stops at forty; the chosen medium is written back for the tool.
TEST_F(FeaturesMedia, UserMediaListFromTheRegistry) {
    Store({L"m00", L"Plain Paper", L"Photo", L"Best"});
    Store({L"m01", L"A", L"Plain paper", L"MaxDPI"});
    Store({L"m02", L"", L"Wood", L"Grainy", REG_DWORD});
    for (int i = 3; i < 45; ++i)
        Store({(i < 10 ? L"m0" : L"m") + std::to_wstring(i), L"Roll " + std::to_wstring(i), L"Brochure", L""});
    Prepare(true);
    ASSERT_EQ(CZQUserMedia::kMaxUserMedia, m_tab->UserMediaForTesting().Count());
    const ZQUserMedium& one = m_tab->UserMediaForTesting().Medium(0);
    const ZQUserMedium& unknown = m_tab->UserMediaForTesting().Medium(1);
    EXPECT_EQ(make_tuple(std::wstring(L"A "), 9u, 5u), make_tuple(std::wstring(one.szName), one.dwCategory, one.dwQuality));
    EXPECT_EQ(make_tuple(std::wstring(L""), std::wstring(L"Wood"), 0u, 0u),
              make_tuple(std::wstring(unknown.szName), std::wstring(unknown.szCategory), unknown.dwCategory,
                         unknown.dwQuality));
    EXPECT_EQ(L"Roll 40", std::wstring(m_tab->UserMediaForTesting().Medium(39).szName));
    int index = -1;
    EXPECT_EQ(make_tuple(8, 3), make_tuple(m_tab->UserMediaForTesting().IFindUserMedia(L"Roll 4", &index), index));
    EXPECT_EQ(-1, m_tab->UserMediaForTesting().IFindUserMedia(L"A", &index)) << "compared with its blank";
    EXPECT_EQ(make_tuple(4, 0), make_tuple(m_tab->UserMediaForTesting().IFindOptionByName(&m_context, nullptr, DMPUB_MEDIATYPE, L"0"),
                                           m_tab->UserMediaForTesting().IFindOptionByName(&m_context, L"MediaType", 0, L"Paper")));
    EXPECT_TRUE(zqpage::OptionFlags(m_host.Item("MediaType"), 4) & OPTPF_HIDE) << "placeholder types hidden";

    // The medium the settings print on reaches the tool each time the page is left, chosen there or
    // not; another medium nobody chose there leaves its record (which medium a placeholder is).
    const auto told = [](DWORD record) {
        DWORD value = 99, size = sizeof value;  // 99: never written
        RegGetValueW(HKEY_CURRENT_USER, zqsettings::kAddNewPaperKey, zqsettings::kCustomMediaSelected, RRF_RT_REG_DWORD,
                     nullptr, &value, &size);
        RegSetKeyValueW(HKEY_CURRENT_USER, zqsettings::kAddNewPaperKey, zqsettings::kCustomMediaSelected, REG_DWORD,
                        &record, sizeof record);
        return value;
    };
    ASSERT_TRUE(m_tab->BSelectMediaByName(&m_context, L"A "));
    m_tab->ISelectMediaInCombo(&m_context, L"A ");
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(0u, told(3));
    m_tab->StateForTesting().bMediumPicked = FALSE;
    Notify(PSN_APPLY);
    EXPECT_EQ(0u, told(0)) << "the medium in force";
    m_host.SetSelection("MediaType", 0);
    Notify(PSN_SETACTIVE);
    told(3);
    Notify(PSN_KILLACTIVE);
    Notify(PSN_APPLY);
    EXPECT_EQ(3u, told(3)) << "plain paper nobody chose";
}

// Without different papers a source and a type chosen on the page reach first, other and last pages
// alike; the covers keep the document's paper the page started with.
TEST_F(FeaturesMedia, OneChoiceForEveryPageKind) {
    Work().dwDefaultSourceId = 15;
    Work().dwDefaultMediaId = 1;
    Prepare(false);
    SendDlgItemMessageW(m_page, IDC_CBO_MEDIA_SOURCE_IS, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(L"Tray 1"));
    Notice(m_page, IDC_CBO_MEDIA_SOURCE_IS, CBN_SELCHANGE);
    SendDlgItemMessageW(m_page, IDC_CBO_MEDIA_TYPE_IS, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(L"Photo Paper"));
    Notice(m_page, IDC_CBO_MEDIA_TYPE_IS, CBN_SELCHANGE);
    const ZQUIDevmode& w = Work();
    EXPECT_EQ(make_tuple(257u, 257u, 257u), make_tuple(w.dwFirstPageSource, w.dwOtherPagesSource, w.dwLastPageSource));
    EXPECT_EQ(make_tuple(257u, 257u, 257u), make_tuple(w.dwFirstPageMedia, w.dwOtherPagesMedia, w.dwLastPageMedia));
    EXPECT_EQ(1, Sel("MediaType"));
}

// Storing the page writes every kind's paper back as the printer's ids, whatever wrote the settings
// since, and the core driver's media item takes the other pages' paper. A back cover that is off
// takes the document's medium, and keeps its own (a task preset's) while the document names none.
TEST_F(FeaturesMedia, StoringWritesEveryKindsPaperBack) {
    Prepare(false);
    ZQUIDevmode& w = Work();
    w.dwDiffPaper = 1;
    w.dwFirstPageMedia = 257;  // Photo Paper
    w.dwOtherPagesMedia = 1;   // Plain Paper
    w.dwBackCoverMedia = 257;
    m_tab->VRefreshPaperQualityGroup(m_page, &m_context, CZQFeaturesTab::kRefreshShow);
    w.dwFirstPageMedia = 0;
    w.dwOtherPagesMedia = 257;
    m_host.SetSelection("MediaType", 1);
    m_tab->VRefreshPaperQualityGroup(m_page, &m_context, CZQFeaturesTab::kRefreshStore);
    EXPECT_EQ(make_tuple(257u, 1u, 257u), make_tuple(w.dwFirstPageMedia, w.dwOtherPagesMedia, w.dwBackCoverMedia));
    EXPECT_EQ(0, Sel("MediaType"));

    w.dwDefaultMediaId = 1;
    m_tab->VRefreshPaperQualityGroup(m_page, &m_context, CZQFeaturesTab::kRefreshShow);
    m_tab->VRefreshPaperQualityGroup(m_page, &m_context, CZQFeaturesTab::kRefreshStore);
    EXPECT_EQ(1u, w.dwBackCoverMedia);
}

// Each kind's applier puts the kind's media from the settings into the core driver's item (the back
// cover gives it back to the other pages) and refills the lists for it: the back cover from the
// feeder lists the feeder's sources, the front cover from the feeder none. A cover the document
// brings goes through its applier when the page opens; without the page-kind list the lists and the
// item then stand for the other pages again, and the cover keeps its own paper.
struct KindCase {
    void (CZQFeaturesTab::*apply)(PageContext*);
    uint32_t ZQUIDevmode::*media;
    uint32_t ZQUIDevmode::*on;  // the cover's on flag; null for pages
    int mediaSel;
    int sourceCount;  // -1: the ordinary sources
};
class FeaturesKinds : public FeaturesMedia, public testing::WithParamInterface<KindCase> {};
TEST_P(FeaturesKinds, ApplierReachesTheKindsPaper) {
    const KindCase& c = GetParam();
    m_host.Add(ListFeature("Back_Cover_from_Feeder_InputBin",
                           {{"NONE", L"None"}, {"FEEDER", L"Feeder"}, {"TRAY2", L"Tray 2"}}));
    m_host.Add(ListFeature("Front_Cover_from_Feeder_InputBin", {{"NONE", L"None"}, {"FEEDER", L"Feeder"}}));
    Prepare(false);
    ZQUIDevmode& w = Work();
    w.dwDiffPaper = 1;
    w.*c.media = 257;  // Photo Paper
    if (c.on) w.*c.on = 1;
    m_tab->VRefreshPaperQualityGroup(m_page, &m_context, CZQFeaturesTab::kRefreshShow);
    if (c.on) {
        EXPECT_EQ(0, Sel("MediaType")) << "opened on the other pages' paper";
        EXPECT_EQ(L"Plain Paper", Text(IDC_CBO_MEDIA_TYPE_IS));
        EXPECT_EQ(257u, Work().*c.media) << "the cover keeps its paper";
    }
    (m_tab->*c.apply)(&m_context);
    EXPECT_EQ(c.mediaSel, Sel("MediaType"));
    if (c.sourceCount >= 0) {
        EXPECT_EQ(c.sourceCount, static_cast<int>(Entries(IDC_CBO_MEDIA_SOURCE_IS).size()));
    }
    m_tab->PageKindsForTesting().VFillPageKindList(m_context.pLogic, TRUE);  // no list: nothing to fill, nothing harmed
    EXPECT_EQ(c.mediaSel, Sel("MediaType"));
}
INSTANTIATE_TEST_SUITE_P(
    EveryKind, FeaturesKinds,
    testing::Values(KindCase{&CZQFeaturesTab::VApplyFirstPage, &ZQUIDevmode::dwFirstPageMedia, nullptr, 1, -1},
                    KindCase{&CZQFeaturesTab::VApplyOtherPages, &ZQUIDevmode::dwOtherPagesMedia, nullptr, 1, -1},
                    KindCase{&CZQFeaturesTab::VApplyLastPage, &ZQUIDevmode::dwLastPageMedia, nullptr, 1, -1},
                    KindCase{&CZQFeaturesTab::VApplyBackCover, &ZQUIDevmode::dwBackCoverMedia,
                             &ZQUIDevmode::dwBackCover, 0, -1},
                    KindCase{&CZQFeaturesTab::VApplyFrontCover, &ZQUIDevmode::dwFrontCoverMedia,
                             &ZQUIDevmode::dwFrontCover, 1, -1},
                    KindCase{&CZQFeaturesTab::VApplyBackCoverFromFeeder, &ZQUIDevmode::dwBackCoverFeederMedia,
                             &ZQUIDevmode::dwBackCoverFeeder, 1, 3},
                    KindCase{&CZQFeaturesTab::VApplyFrontCoverFromFeeder, &ZQUIDevmode::dwFrontCoverFeederMedia,
                             &ZQUIDevmode::dwFrontCoverFeeder, 1, 0}));

// A paper-size change makes the next refill of the source list return, once, to the source the rules
// remember (entry 0 when they remember none); afterwards the list shows the other pages' source again.
TEST_F(FeaturesMedia, SourceListReturnsOnceToTheRememberedSource) {
    Prepare(false);
    const struct {
        bool once;
        int remembered;
        int entry;
    } cases[] = {{true, 1, 2}, {false, 1, 0}, {true, 0, 0}, {true, 7, 0}};
    HWND sources = Ctl(IDC_CBO_MEDIA_SOURCE_IS);
    for (const auto& c : cases) {
        m_tab->StateForTesting().bRestoreSourceOnce = c.once;
        m_rules->VSetInputBinIndex(c.remembered);
        m_tab->PageKindsForTesting().VFillKindSourceCombo(&m_context);
        EXPECT_EQ(c.entry, static_cast<int>(SendMessageW(sources, CB_GETCURSEL, 0, 0))) << c.once << c.remembered;
        EXPECT_FALSE(m_tab->StateForTesting().bRestoreSourceOnce) << "one time only";
    }
}

// Recent forms: a form already in the short list moves to the front without growing the list; a new
// one pushes the others back; positions beyond the form's options leave.
TEST_F(FeaturesMedia, RecentPapers) {
    Prepare(true);
    int32_t* recent = Work().aiRecentPaperSizes;
    recent[0] = 1;
    recent[1] = 3;
    recent[2] = 40;
    m_tab->VFillPaperSizeCombo(Ctl(IDC_CBO_MEDIA_SIZE_IS), &m_context);
    EXPECT_EQ((std::vector<std::wstring>{L"A4", L"Banner A1", L"Letter", L"More..."}), Entries(IDC_CBO_MEDIA_SIZE_IS))
        << "the initial form, the recent ones, \"More...\" last";
    EXPECT_EQ(make_tuple(1, 3, -1), make_tuple(recent[0], recent[1], recent[2]));
    m_host.SetSelection("PaperSize", 3);
    m_tab->VUpdateRecentPapers(&m_context);
    EXPECT_EQ(make_tuple(3, 1, -1), make_tuple(recent[0], recent[1], recent[2])) << "listed: to the front";
    m_host.SetSelection("PaperSize", 4);
    m_tab->VUpdateRecentPapers(&m_context);
    EXPECT_EQ(make_tuple(4, 3, 1), make_tuple(recent[0], recent[1], recent[2])) << "new: the others move back";
}

// The borderless twin comes from the rules; without them there is none. Banner and borderless
// papers reset the layout, a borderless postcard keeps it.
TEST_F(FeaturesMedia, BorderlessTwinsAndPaperRules) {
    m_printer.AddForm(L"Letter", 215900, 279400);
    m_printer.AddForm(L"Letter (borderless)", 215900, 279400);
    Prepare(false);
    WCHAR twin[256];
    BOOL found = m_tab->BGetBorderlessCounterpart(&m_context, twin);
    EXPECT_EQ(make_tuple(TRUE, std::wstring(L"ZQ_BORDERLESS_LETTER")), make_tuple(found, std::wstring(twin)));
    Fill(IDC_CBO_MEDIA_SIZE_IS, {L"Letter", L"A4", L"Letter (borderless)"}, 0);
    ASSERT_TRUE(m_tab->BSelectBorderlessCounterpart(&m_context));
    EXPECT_EQ(2, Sel("PaperSize"));
    found = m_tab->BGetBorderlessCounterpart(&m_context, twin);
    EXPECT_EQ(make_tuple(TRUE, std::wstring(L"LETTER")), make_tuple(found, std::wstring(twin)));
    m_host.SetSelection("PaperSize", 1);
    EXPECT_FALSE(m_tab->BHasBorderlessCounterpart(&m_context)) << "A4 has no twin in the rules";
    // Shown from the settings, a borderless paper without its borderless photo goes to its twin.
    m_host.SetSelection("PaperSize", 2);
    m_host.SetSelection("ZQBorderLessPhoto", 0);
    m_tab->VSetAllControls(&m_context);
    EXPECT_EQ(make_tuple(0, false, true),
              make_tuple(Sel("PaperSize"), Checked(IDC_CHECK_BORDERLESS_PHOTO), Enabled(IDC_CHECK_BORDERLESS_PHOTO)));

    struct Case {
        int paper;
        uint32_t pagesPerSheet, edgeToEdge;
    };
    for (const Case& c : {Case{2, 1, 1}, Case{3, 1, 1}, Case{4, 4, 0}, Case{0, 4, 0}}) {
        SCOPED_TRACE(c.paper);
        m_host.SetSelection("PaperSize", c.paper);
        Work().dwPagesPerSheet = 4;
        Work().dwEdgeToEdge = 0;
        Work().dwScalePercent = 70;
        m_tab->IApplyPaperRules(&m_context);
        EXPECT_EQ(make_tuple(c.pagesPerSheet, c.edgeToEdge, c.edgeToEdge ? 100u : 70u),
                  make_tuple(Work().dwPagesPerSheet, Work().dwEdgeToEdge, Work().dwScalePercent));
    }
}

}  // namespace
