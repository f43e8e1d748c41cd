// The desktop Printing Shortcuts page in process: the desk printer's document types, the feature
// controls made for the chosen type, the handlers against the core driver's items and the working
// settings, the custom state, and the page's end.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "pagefixture.h"
#include "pages/shortcuts/zqdesktopshortcuts.h"
#include "res/zqdesktopshortcutsids.h"

using zqtest::FixtureFeature;
using zqtest::ListFeature;
using zqtest::ValueFeature;

namespace {

struct DeskPrinter {
    bool duplexUnit = true;
    bool manualDuplex = false;
    LONG paper = 0;  // position in the form item
    bool wide = false;  // a large-format printer whose core driver hides its roll features
};

class DesktopShortcuts : public PageFixture {
protected:
    void Start(const DeskPrinter& printer = DeskPrinter(), const wchar_t* helperFile = L"zqdesk.xml") {
        for (const FixtureFeature& feature : OrientationItems()) m_host.Add(feature);
        m_host.Add(ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"PHOTO_4X6", L"Photo 4x6 in."},
                                             {"ZQ_BORDERLESS_4X6", L"Photo 4x6 in. (borderless)"}},
                               printer.paper, DMPUB_FORMNAME));
        m_host.Add(ListFeature("InputBin", {{"AUTOSELECT", L"Automatic"}, {"TRAY1", L"Tray 1"}, {"TRAY2", L"Tray 2"}}, 0,
                               DMPUB_DEFSOURCE));
        m_host.Add(ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}, {"BROCHURE", L"Brochure Paper, Matte"},
                                             {"PHOTO_GLOSSY", L"Photo Paper, Glossy"}, {"PHOTO_MATTE", L"Photo Paper, Matte"}},
                               0, DMPUB_MEDIATYPE));
        m_host.Add(ListFeature("PrintQualityGroup", {{"PQGroup_0", L"Draft"}, {"PQGroup_1", L"Normal"}, {"PQGroup_2", L"Best"}}, 1));
        m_host.Add(ListFeature("ZQPrintInGrayScale", {{"FALSE", L"Off"}, {"GrayandBlackInks", L"Gray and Black Inks"}}));
        m_host.Add(ListFeature("ZQPrintInSepia", {{"Off", L"Off"}, {"On", L"On"}}));
        m_host.Add(ListFeature("ColorMode", {{"MONO", L"Mono"}, {"COLOR", L"Color"}}, 1));
        m_host.Add(ListFeature("ZQColorasGray", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
        m_host.Add(ListFeature("ZQBorderless", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
        m_host.Add(ListFeature("ZQBorderLessAutoFit", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
        m_host.Add(ListFeature("ZQBorderLessPhoto", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
        FixtureFeature copies;
        copies.kind = zqtest::FixtureKind::UpDown;
        copies.pubId = DMPUB_COPIES_COLLATE;
        copies.sel = 1;
        copies.high = 9999;
        m_host.Add(copies);
        m_host.Add(ValueFeature("DuplexUnit", printer.duplexUnit ? "INSTALLED" : "NOTINSTALLED"));
        m_host.Add(ValueFeature("ManualDuplex", printer.manualDuplex ? "TRUE" : "FALSE"));
        m_host.Add(ListFeature("ZQUseAutoDuplexUnit", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 1));
        m_host.Add(ListFeature("ZQDisableAutoCutter", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
        m_host.Add(ListFeature("ZQPrintWithMargins", {{"Standard", L"Standard"}, {"Clip", L"Clip"}}));
        if (printer.wide) {
            m_host.Add(ValueFeature("ZQPrinterClass", "ZQKorrix"));
            FixtureFeature roll = ListFeature("ZQSaveRollPaper", {{"FALSE", L"Off"}, {"TRUE", L"On"}});
            roll.flags = OPTIF_HIDE;
            m_host.Add(roll);
        }
        auto tab = std::make_unique<CZQShortcutsTab>();
        m_tab = tab.get();
        BuildPage(std::move(tab));
        JoinSheet(kPageShortcuts);
        if (helperFile) {
            ASSERT_TRUE(m_rules->Parser().BLoad(zqtest::BesideExe(helperFile).c_str()));
            m_rules->Parser().VSetLoaded(TRUE);
        }
        Work().dwLayoutMode = printer.manualDuplex ? 3 : 0;
    }
    void Open() { ASSERT_NE(nullptr, OpenPage(IDD_DLG_DOC_CENTRIC_UI, &ShortcutsPageDlgProc)); }
    // A new page object for the same sheet, its window not open yet (the items are built once).
    void Renew() {
        if (m_page) DestroyWindow(m_page);
        m_page = nullptr;
        auto tab = std::make_unique<CZQShortcutsTab>();
        tab->VBind(nullptr, m_host.Param(), nullptr);
        tab->VLoadResourceModule(m_hPrinter);
        m_tab = tab.get();
        m_context.pPage = m_tab;
        m_pageObject = std::move(tab);
    }
    ZQUIDevmode& Work() { return *m_logic.WorkDM(); }
    // The type of that label chosen in the combo as the user chooses it.
    void Choose(const std::wstring& label) {
        HWND combo = Ctl(IDC_CBO_DOCTYPE_SETTING);
        SendMessageW(combo, CB_SETCURSEL, SendMessageW(combo, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(label.c_str())), 0);
        Notice(m_page, IDC_CBO_DOCTYPE_SETTING, CBN_SELCHANGE);
    }
    DocFeatureRecord* Record(const wchar_t* keyword) const {
        for (int i = 0; i < m_tab->RowsForTesting().Count(); ++i)
            if (lstrcmpiW(m_tab->RowsForTesting().PRecord(i)->szKeyword, keyword) == 0) return m_tab->RowsForTesting().PRecord(i);
        return nullptr;
    }
    // A run-time combo's option chosen by its text.
    void Pick(const wchar_t* keyword, const std::wstring& text) {
        const int id = Record(keyword)->iCtrlId;
        SendMessageW(Ctl(id), CB_SETCURSEL, SendMessageW(Ctl(id), CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text.c_str())), 0);
        Notice(m_page, id, CBN_SELCHANGE);
    }
    std::vector<std::wstring> Items(int id) const {
        std::vector<std::wstring> items;
        for (LRESULT i = 0, n = SendMessageW(Ctl(id), CB_GETCOUNT, 0, 0); i < n; ++i) {
            WCHAR text[256] = {};
            SendMessageW(Ctl(id), CB_GETLBTEXT, i, LPARAM(text));
            items.push_back(text);
        }
        return items;
    }

    CZQShortcutsTab* m_tab = nullptr;
};

TEST_F(DesktopShortcuts, OpeningsShowTheTypeTheSettingsHoldOrTurnCustom) {
    // Settings that name no type take the first type; a stored choice holds while the settings hold
    // its paper and orientation, whatever media was chosen since.
    const struct {
        const char* what;
        std::wstring coreName;
        std::vector<DWORD> slots;
        DWORD pending;
        LONG paper;
        LONG media;  // the driver's borderless printing and media follow the stored choice or not
        std::wstring combo;
        bool custom;
        int firstSelection;
    } cases[] = {
        {"first opening", L"", {}, 0, 0, 0, L"Everyday", false, 0},
        {"first opening on photo paper", L"", {}, 0, 0, 3, L"Everyday", false, 0},
        {"stored photo paper restored", L"Photos", {0, 1, 1}, 0, 2, 3, L"Photos", false, 0},
        {"stored paper no longer the form", L"Photos", {2, 1, 1}, 0, 1, 3, L"Custom Print Settings", true, -1},
        {"stored media chosen again elsewhere", L"Photos", {0, 1, 1}, 0, 2, 0, L"Photos", false, 0},
        {"another page left the type", L"Photos", {}, 1, 0, 0, L"Custom Print Settings", true, -1},
    };
    ASSERT_NO_FATAL_FAILURE(Start());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Renew();
        m_host.SetSelection("PaperSize", c.paper);
        m_host.SetSelection("MediaType", c.media);
        m_host.SetSelection("ZQBorderless", c.media && !c.coreName.empty() ? 1 : 0);
        m_host.SetSelection("InputBin", 1);  // the first type's tray
        lstrcpyW(m_core.szDocTypeName, c.coreName.c_str());
        lstrcpyW(Work().szDocTypeName, c.coreName.c_str());
        for (size_t i = 0; i < c.slots.size(); ++i) Work().adwSelectionSlots[i] = m_core.adwSelectionSlots[i] = c.slots[i];
        Work().dwPendingChange = c.pending;
        ASSERT_NO_FATAL_FAILURE(Open());
        EXPECT_EQ(c.combo, Text(IDC_CBO_DOCTYPE_SETTING));
        EXPECT_EQ(c.custom, Shown(IDC_DOCUI_CUSTOM1));
        EXPECT_EQ(c.custom ? 0 : c.coreName.empty() ? 7 : 10, m_tab->RowsForTesting().Count());
        if (c.custom) {
            EXPECT_EQ(IDB_DOCTYPE_CUSTOM, m_tab->RowsForTesting().DocTypePicture());
            EXPECT_EQ(CZQShortcutsTab::kFirstRunTimeId, m_tab->RowsForTesting().NextId());
        } else {
            EXPECT_EQ(c.firstSelection, m_tab->RowsForTesting().PRecord(0)->iSelected);
            EXPECT_TRUE(IsWindow(Ctl(m_tab->RowsForTesting().PRecord(0)->iCtrlId)));
        }
    }
}

// At sheet build the first type holds while the driver's options of its paper, quality, media and
// orientation rows, named by those keywords as written, are the type's; no other row counts.
TEST_F(DesktopShortcuts, DetectionComparesTheNamingRowsWithTheDriversOptions) {
    const struct {
        const char* keyword;
        const char* option;
        bool custom;
    } cases[] = {
        {"PaperSize", "a4", false},         {"PaperSize", "LETTER", true},
        {"paperSize", "LETTER", false},     {"PrintQuality", "Best", false},  // the desk has no such feature
        {"PrintQualityGroup", "PQGroup_2", false}, {"Orientation", "LANDSCAPE_CC90", true},
        {"Orientation", "ZQPortrait", true}, {"ZQOrientation", "LANDSCAPE", false},
    };
    DeskPrinter a4;
    a4.paper = 1;
    ASSERT_NO_FATAL_FAILURE(Start(a4, nullptr));
    for (const auto& c : cases) {
        Renew();
        LoadGroups(std::string("</groups><DocUISettings><DocSetting><name>T</name><DocFeature><name>") + c.keyword +
                   "</name><select_option>" + c.option + "</select_option><DocOption><name>" + c.option +
                   "</name></DocOption></DocFeature></DocSetting></DocUISettings><groups>");
        m_core.dwPendingChange = 0;
        Work().wOrientation = 1;
        m_tab->VDetectCurrentShortcut(&m_context);
        EXPECT_EQ(c.custom ? 1u : 0u, m_core.dwPendingChange) << c.keyword << " " << c.option;
    }
}

TEST_F(DesktopShortcuts, TheFirstOpeningSetsTheTypesDefaultsInTheDriver) {
    ASSERT_NO_FATAL_FAILURE(Start());
    m_host.SetSelection("MediaType", 2);
    ASSERT_NO_FATAL_FAILURE(Open());
    EXPECT_EQ("PLAIN", Current("MediaType"));
    EXPECT_EQ("TRAY1", Current("InputBin"));
    EXPECT_EQ("PQGroup_1", Current("PrintQualityGroup"));
}

TEST_F(DesktopShortcuts, ChoosingATypeBuildsItsControlsAndTypingIsUndone) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open());
    Work().dwPendingChange = 1;
    Choose(L"Photos");
    EXPECT_EQ(0u, Work().dwPendingChange);
    EXPECT_STREQ(L"Photos", Work().szDocTypeName);
    EXPECT_EQ(605, m_tab->RowsForTesting().DocTypePicture());
    ASSERT_EQ(10, m_tab->RowsForTesting().Count());
    EXPECT_EQ("ZQ_BORDERLESS_4X6", Current("PaperSize"));
    EXPECT_EQ("PHOTO_GLOSSY", Current("MediaType"));
    EXPECT_EQ("PQGroup_2", Current("PrintQualityGroup"));
    EXPECT_TRUE(m_tab->StateForTesting().bScalingShown && m_tab->StateForTesting().bCopiesShown);
    EXPECT_TRUE(Shown(IDC_TXT_FC_SCALING));
    EXPECT_EQ(L"100", Text(IDC_TXT_FC_SCALING));

    SetWindowTextW(Ctl(IDC_CBO_DOCTYPE_SETTING), L"typed");
    Notice(m_page, IDC_CBO_DOCTYPE_SETTING, CBN_EDITCHANGE);
    EXPECT_EQ(L"Photos", Text(IDC_CBO_DOCTYPE_SETTING));
}

TEST_F(DesktopShortcuts, EachHandlerReachesTheDriverAndTheWorkingSettings) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open());
    Choose(L"Photos");
    const struct {
        const wchar_t* keyword;
        std::wstring option;
        std::function<void()> expect;
    } cases[] = {
        {L"MediaType", L"Photo Paper, Matte", [&] { EXPECT_EQ("PHOTO_MATTE", Current("MediaType")); }},
        {L"PrintQuality", L"Normal",
         [&] {
             EXPECT_EQ("PQGroup_1", Current("PrintQualityGroup"));
             EXPECT_EQ(1u, Work().dwPrintQualityGroupIndex);
             EXPECT_TRUE(Enabled(Record(L"DigitalPhotography")->iCtrlId));
         }},
        {L"ZQPrintInGrayScale", L"Sepia",
         [&] {
             EXPECT_EQ(1u, Work().dwSepia);
             EXPECT_EQ("On", Current("ZQPrintInSepia"));
             EXPECT_EQ("COLOR", Current("ColorMode"));
         }},
        {L"ZQPrintInGrayScale", L"Gray and Black Inks",
         [&] {
             EXPECT_EQ(1u, Work().dwPrintAsGray);
             EXPECT_EQ("GrayandBlackInks", Current("ZQPrintInGrayScale"));
             EXPECT_EQ("TRUE", Current("ZQColorasGray"));
         }},
        {L"Orientation", L"Landscape",
         [&] {
             EXPECT_EQ(2, Work().wOrientation);
             EXPECT_EQ("LANDSCAPE_CC90", Current("Orientation"));
         }},
        {L"PaperSize", L"Photo 4x6 in.", [&] { EXPECT_EQ("PHOTO_4X6", Current("PaperSize")); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.option.begin(), c.option.end()));
        Pick(c.keyword, c.option);
        c.expect();
        EXPECT_EQ(c.option, Items(Record(c.keyword)->iCtrlId)[Record(c.keyword)->iSelected]);
    }
    // The check box turns auto fit off in the logic and the driver.
    Click(m_page, Record(L"BorderlessAutoFit")->iCtrlId);
    EXPECT_FALSE(m_logic.m_bBorderlessAutoFit);
    EXPECT_EQ("FALSE", Current("ZQBorderLessAutoFit"));
    // The page tells the sheet that its settings changed.
    EXPECT_EQ(PSM_CHANGED, m_sheetMessages.back());
}

TEST_F(DesktopShortcuts, ScalingAndCopiesAreBoundedWhileTypingAndOnLeaving) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open());
    Choose(L"Photos");
    const struct {
        int edit;
        const wchar_t* typed;
        int code;
        const wchar_t* shown;
        DWORD scale;  // the working scale (0: not checked)
    } cases[] = {
        {IDC_TXT_FC_SCALING, L"500", EN_CHANGE, L"500", 400},
        {IDC_TXT_FC_SCALING, L"500", EN_KILLFOCUS, L"400", 400},
        {IDC_TXT_FC_SCALING, L"20", EN_KILLFOCUS, L"25", 25},
        {IDC_TXT_FC_SCALING, L"ab", EN_CHANGE, L"100", 100},
        {IDC_TXT_FC_COPIES, L"0", EN_CHANGE, L"1", 0},
        {IDC_TXT_FC_COPIES, L"x", EN_CHANGE, L"1", 0},
        {IDC_TXT_FC_COPIES, L"25", EN_CHANGE, L"25", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.edit) + " " + std::to_string(c.code));
        SetWindowTextW(Ctl(c.edit), c.typed);
        Notice(m_page, c.edit, c.code);
        EXPECT_EQ(std::wstring(c.shown), Text(c.edit));
        if (c.scale) {
            EXPECT_EQ(c.scale, Work().dwScalePercent);
        }
    }
    EXPECT_EQ(25, m_host.ItemByPubId(DMPUB_COPIES_COLLATE)->Sel);  // the copy count reported on its item
}

struct TwoSidedCase {
    bool unit, manual;
    std::vector<std::wstring> offered;
    std::wstring forAutomatic;  // what a type asking for the unit shows
};

class DesktopTwoSided : public DesktopShortcuts, public testing::WithParamInterface<TwoSidedCase> {};

TEST_P(DesktopTwoSided, FallsBackWithoutAUnitOrManualPrinting) {
    const TwoSidedCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Start({c.unit, c.manual, 0}));
    m_host.SetSelection("InputBin", 1);  // the settings hold the first type
    ASSERT_NO_FATAL_FAILURE(Open());
    DocFeatureRecord* duplex = Record(L"Duplex");
    ASSERT_NE(nullptr, duplex);
    EXPECT_EQ(c.offered, Items(duplex->iCtrlId));
    duplex->iSelected = 1;  // "Automatically"
    m_tab->VFillDuplexCombo(&m_context, duplex, duplex->iCtrlId);
    const LRESULT shown = SendMessageW(Ctl(duplex->iCtrlId), CB_GETCURSEL, 0, 0);
    EXPECT_EQ(c.forAutomatic, Items(duplex->iCtrlId).at(size_t(shown)));
}

INSTANTIATE_TEST_SUITE_P(Printers, DesktopTwoSided,
                         testing::Values(TwoSidedCase{true, false, {L"None", L"Automatically"}, L"Automatically"},
                                         TwoSidedCase{false, true, {L"None", L"Manually"}, L"Manually"},
                                         TwoSidedCase{false, false, {L"None"}, L"None"}));

TEST_F(DesktopShortcuts, TheRightColumnFollowsThePreviewInTheTabOrder) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open());
    Choose(L"Photos");
    const int seventh = m_tab->RowsForTesting().PRecord(6)->iCtrlId, sixth = m_tab->RowsForTesting().PRecord(5)->iCtrlId;
    const int eighth = m_tab->RowsForTesting().PRecord(7)->iCtrlId;
    EXPECT_EQ(Ctl(seventh), GetWindow(Ctl(sixth), GW_HWNDNEXT));
    EXPECT_EQ(Ctl(eighth), GetWindow(Ctl(IDC_BTN_PREVIEW_LAND), GW_HWNDNEXT));
    // Scaling's label, edit and spin follow the eighth feature.
    EXPECT_EQ(Ctl(IDC_STA_FS_SCALING), GetWindow(Ctl(eighth), GW_HWNDNEXT));
    EXPECT_EQ(Ctl(IDC_SPIN_SCALING), GetWindow(Ctl(IDC_TXT_FC_SCALING), GW_HWNDNEXT));
}

TEST_F(DesktopShortcuts, EachSpinStandsOnItsEditsRightEdge) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open());
    Choose(L"Photos");
    for (const auto& [edit, spin] : {std::pair{IDC_TXT_FC_SCALING, IDC_SPIN_SCALING}, {IDC_TXT_FC_COPIES, IDC_SPIN_COPIES}}) {
        RECT e = {}, s = {};
        GetWindowRect(Ctl(edit), &e);
        GetWindowRect(Ctl(spin), &s);
        EXPECT_EQ(std::make_pair(e.right - 2, e.top), std::make_pair(s.left, s.top)) << edit;
    }
}

TEST_F(DesktopShortcuts, OptionsTheDriverDoesNotKnowAreHiddenOnlyInLists) {
    const std::string options = "<DocOption><name>ODD</name><bitmap_id>0</bitmap_id></DocOption>"
                                "<DocOption><name>Enabled</name><bitmap_id>0</bitmap_id><resource_id>6136</resource_id></DocOption>";
    const auto feature = [&](const char* name) {
        return std::string("<DocFeature><name>") + name + "</name><resource_id>6110</resource_id><help_id>1</help_id>"
               "<select_option>ODD</select_option>" + options + "</DocFeature>";
    };
    std::string eleven;
    for (int i = 0; i < 11; ++i) eleven += feature("Collate");
    // A type that lists its choice twice chooses the last.
    const std::string twice = "<DocFeature><name>Collate</name><resource_id>6110</resource_id><select_option>ODD"
                              "</select_option>" + options + options + "</DocFeature>";
    const struct {
        std::string types;
        int features;
        std::vector<int> hidden;
        int selected = -1;  // of the first record; -1: not looked at
    } cases[] = {
        {"<DocSetting><name>T</name>" + feature("ZQUnknown") + feature("Collate") + "</DocSetting>", 2, {1, 0}},
        {"<DocSetting><name>T</name>" + eleven + "</DocSetting>", 0, {}},
        {"", 0, {}},
        {"<DocSetting><name>T</name>" + twice + "</DocSetting>", 1, {0}, 2},
    };
    ASSERT_NO_FATAL_FAILURE(Start(DeskPrinter(), nullptr));
    for (const auto& c : cases) {
        Renew();
        LoadGroups("</groups><DocUISettings>" + c.types + "</DocUISettings><groups>");
        ASSERT_NO_FATAL_FAILURE(Open());
        ASSERT_EQ(c.features, m_tab->RowsForTesting().Count());
        for (int i = 0; i < c.features; ++i) EXPECT_EQ(c.hidden[i], *m_tab->RowsForTesting().PRecord(i)->ppiOptionHidden[0]);
        if (c.selected >= 0) {
            EXPECT_EQ(c.selected, m_tab->RowsForTesting().PRecord(0)->iSelected);
        }
        if (c.features == 2) {
            // The list offers the known option (selected in place of the hidden one); the box is made.
            EXPECT_EQ(std::vector<std::wstring>{L"Enabled"}, Items(m_tab->RowsForTesting().PRecord(0)->iCtrlId));
            EXPECT_TRUE(IsWindow(Ctl(m_tab->RowsForTesting().PRecord(1)->iCtrlId)));
        }
        EXPECT_EQ(c.types.empty() ? 0 : 1, SendMessageW(Ctl(IDC_CBO_DOCTYPE_SETTING), CB_GETCOUNT, 0, 0));
    }
}

// A feature the core driver hides is a row like any other: the type's default at the first opening,
// the stored choice at a reopening, whatever the driver holds; the row can be changed.
TEST_F(DesktopShortcuts, AFeatureTheDriverHidesIsARowLikeAnyOther) {
    const struct {
        const wchar_t* stored;  // the type the settings name
        LONG inForce;
        int selected;
    } cases[] = {{L"", 1, 0}, {L"T", 0, 1}};
    DeskPrinter wide;
    wide.wide = true;
    ASSERT_NO_FATAL_FAILURE(Start(wide, nullptr));
    for (const auto& c : cases) {
        Renew();
        LoadGroups("</groups><DocUISettings><DocSetting><name>T</name><DocFeature><name>ZQSaveRollPaper</name>"
                   "<select_option>FALSE</select_option><DocOption><name>FALSE</name></DocOption><DocOption>"
                   "<name>TRUE</name></DocOption></DocFeature></DocSetting></DocUISettings><groups>");
        m_host.SetSelection("ZQSaveRollPaper", c.inForce);
        lstrcpyW(m_core.szDocTypeName, c.stored);
        lstrcpyW(Work().szDocTypeName, c.stored);
        Work().adwSelectionSlots[0] = m_core.adwSelectionSlots[0] = 1;
        Work().dwPendingChange = 0;
        ASSERT_NO_FATAL_FAILURE(Open());
        ASSERT_EQ(1, m_tab->RowsForTesting().Count());
        EXPECT_EQ(c.selected, m_tab->RowsForTesting().PRecord(0)->iSelected) << c.stored;
        EXPECT_TRUE(Enabled(m_tab->RowsForTesting().PRecord(0)->iCtrlId)) << c.stored;
    }
}

TEST_F(DesktopShortcuts, PreviewToggleMovesFocusAndTheHelpIdFollowsTheShownButton) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open());
    Choose(L"Photos");
    Click(m_page, IDC_BTN_PREVIEW_PORT);
    EXPECT_EQ(2, Work().wOrientation);
    EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_LAND), GetFocus());
    // The orientation record follows the sample page.
    EXPECT_STREQ(L"LANDSCAPE_CC90", Record(L"Orientation")->ppszOptionKeywords[Record(L"Orientation")->iSelected]);
    const struct {
        WORD orientation;
        DWORD pagesPerSheet;
        DWORD shown;
    } cases[] = {{1, 1, IDC_BTN_PREVIEW_PORT}, {2, 1, IDC_BTN_PREVIEW_LAND}, {1, 2, IDC_BTN_PREVIEW_LAND},
                 {2, 4, IDC_BTN_PREVIEW_PORT}};
    for (const auto& c : cases) {
        Work().wOrientation = c.orientation;
        Work().dwPagesPerSheet = c.pagesPerSheet;
        const int pairs = m_tab->VBuildHelpIdTable(&m_context);
        const DWORD* table = m_tab->HelpTableForTesting();
        EXPECT_EQ(c.shown, table[2 * 5]);
        EXPECT_EQ(14060u, table[2 * 5 + 1]);
        EXPECT_LT(pairs, CZQShortcutsTab::kHelpPairs);
        EXPECT_EQ(0u, table[2 * pairs]);
        EXPECT_EQ(static_cast<DWORD>(IDC_ZQLOGO_HOLDER), table[2 * (pairs - 1)]);
    }
}

// The sample page shows the stored half turn without the printer's feature, the cutter on unless
// the printer says it is off, and no margins of its own.
TEST_F(DesktopShortcuts, ThePreviewShowsTheHalfTurnAndTheCutter) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open());
    Work().dwRotate180 = 1;
    // The cutter's option (-1: unreadable) and the cutter shown.
    for (const auto& [off, cutter] : {std::pair{0L, 1}, {1L, 0}, {-1L, 1}}) {
        if (off < 0) m_host.FailFeature("ZQDisableAutoCutter");
        else m_host.SetSelection("ZQDisableAutoCutter", off);
        m_tab->VFillPreviewSettings(&m_context);
        const PreviewSettings& r = m_tab->PreviewRecordForTesting();
        EXPECT_EQ(std::make_tuple(1, cutter, 0),
                  std::make_tuple(r.aiValue[kPvRotated], r.aiExtra[kPxAutoCutter], r.aiExtra[kPxWithMargins])) << off;
    }
}

TEST_F(DesktopShortcuts, ApplyRunsOnceOnTheHighestPageAndLeavingKeepsTheSelections) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open());
    Choose(L"Photos");
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(CZQShortcutsTab::kTitleId, m_core.iStartPage);
    EXPECT_STREQ(L"Photos", Work().szDocTypeName);
    EXPECT_EQ(1u, Work().adwSelectionSlots[0]);
    EXPECT_EQ(100u, Work().dwDocTypeScaling);
    EXPECT_EQ(1u, Work().dwDocTypeCopies);
    ExpectApplyOnlyOnTheLastPageVisited(kPageShortcuts);
}

TEST_F(DesktopShortcuts, WithoutItsPiecesNothingStartsOrChanges) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ExpectNoStartWithoutItsPieces(&ShortcutsPageDlgProc);
    ASSERT_NO_FATAL_FAILURE(Open());
    ExpectNothingChangesWithoutTheDevmode(MAKEWPARAM(IDC_BTN_PREVIEW_PORT, BN_CLICKED), PSN_KILLACTIVE);
}

TEST_F(DesktopShortcuts, TheEndTakesTheRunTimeControlsAndTheTable) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(Open());
    Choose(L"Photos");
    std::vector<HWND> made;
    for (int id = CZQShortcutsTab::kFirstRunTimeId; id < m_tab->RowsForTesting().NextId(); ++id) made.push_back(Ctl(id));
    ASSERT_GE(made.size(), 8u);
    m_pageObject.reset();
    m_tab = nullptr;
    for (HWND control : made) EXPECT_FALSE(IsWindow(control));
    EXPECT_TRUE(IsWindow(m_page));
}

}  // namespace
