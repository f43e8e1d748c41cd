// The panel built for the chosen row of the roll sample's list (its rows, what a larger build left,
// the Scaling and Copies rows, a stored shortcut's own options), the change check the sheet's
// buttons follow, and the rows' handlers against the core driver's items and the working settings.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/zqmodule.h"
#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "pages/shortcuts/zqlargeformatstore.h"
#include "pages/zqpageitems.h"
#include "largeformattest.h"
#include "testsupport.h"

namespace {

using zqtest::ListFeature;

// The roll sample's helper file with features put before the first type's own.
std::wstring SampleWith(const std::string& features) {
    std::ifstream in(zqtest::BesideExe(L"zqroll.xml").c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string xml = text.str();
    const std::string mark = "<custbitmap_id>652</custbitmap_id>";
    xml.insert(xml.find(mark) + mark.size(), features);
    const std::wstring path = zqtest::BesideExe(L"zqrollpanel.xml");
    std::ofstream(path.c_str(), std::ios::binary) << xml;
    return path;
}

std::string Feature(const std::string& name, const std::vector<std::string>& options) {
    std::string xml = "<DocFeature><name>" + name + "</name><hidden>False</hidden><resource_id>6147</resource_id>"
                      "<Disabled>False</Disabled><select_option>" + options[0] + "</select_option>";
    for (const std::string& o : options) xml += "<DocOption><name>" + o + "</name></DocOption>";
    return xml + "</DocFeature>";
}

class PanelBuild : public ShortcutsPage {
protected:
    // The roll printer's items the sample's rows name, the helper file, then the page.
    void Open(const std::wstring& helperFile = zqtest::BesideExe(L"zqroll.xml"),
              const ShortcutsPrinter& printer = ShortcutsPrinter()) {
        m_host.Add(ListFeature("InputBin", {{"AUTOSELECT", L"Automatic"}, {"ROLL1", L"Roll 1"}, {"SHEET", L"Sheet Feed"}}, 0,
                               DMPUB_DEFSOURCE));
        m_host.Add(ListFeature("PrintQualityGroup", {{"PQGroup_0", L"Fast"}, {"PQGroup_1", L"Normal"}, {"PQGroup_2", L"Best"}}, 1));
        m_host.Add(ListFeature("PrintQuality", {{"Fast", L"Fast"}, {"Normal", L"Normal"}, {"Best", L"Best"}}, 1));
        m_host.Add(ListFeature("ZQSaveRollPaper", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 1));
        m_host.Add(CopiesFeature());
        ASSERT_TRUE(m_rules->Parser().BLoad(helperFile.c_str()));
        m_rules->Parser().VSetLoaded(TRUE);
        ASSERT_NO_FATAL_FAILURE(Start(printer));
    }
    // A stored shortcut of no features, based on the type.
    void PutShortcut(PCWSTR name, PCWSTR type) {
        ShortcutRecord record = {};
        lstrcpyW(record.szName, name);
        lstrcpyW(record.szDocType, type);
        CZQLocalPtr<BYTE> image;
        const DWORD size = CZQShortcutStore::DWSerializeShortcut(image.Put(), record);
        m_printer.PutValue(L"ZQPresetRoot\\CustomShortcutPoolData", name, REG_BINARY, image.Get(), size);
    }
    void Build(const std::wstring& row) {
        HWND list = Ctl(IDC_LB_DOCTYPE_SETTING);
        SendMessageW(list, LB_SETCURSEL, SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(row.c_str())), 0);
        m_tab->VBuildShortcutPanel(reinterpret_cast<HMODULE>(zqmodule::Instance()), &m_context, FALSE);
        m_tab->VRefreshPanelControls(&m_context);
    }
};

// Each build starts at 500 again: rows of the new type only, what a larger build made hidden, the
// picture holders of the rows it lacks hidden, the Scaling and Copies rows by its features.
TEST_F(PanelBuild, EachBuildShowsItsRowsAndHidesWhatALargerOneLeft) {
    ASSERT_NO_FATAL_FAILURE(Open());
    const struct {
        PCWSTR row;
        int entries;
        bool scaling, copies;
    } cases[] = {{L"Drawings", 5, true, true}, {L"Photo", 2, false, false},
                 {L"Everyday", 3, false, false}, {L"Drawings", 5, true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.row, c.row + lstrlenW(c.row)));
        Build(c.row);
        EXPECT_EQ(c.entries, m_tab->PanelForTesting().Count());
        for (int id = m_tab->PanelForTesting().NextId(); id < m_tab->PanelForTesting().EndId(); ++id)
            EXPECT_FALSE(Shown(id)) << "left from a larger build: " << id;
        for (int id = 500; id < m_tab->PanelForTesting().NextId(); ++id)
            EXPECT_TRUE(Ctl(id) == nullptr || Shown(id)) << id;
        // A row with a control of its own shows its option's picture beside it; an edit group brings
        // its own holder into its row; the rows the type lacks show none.
        for (int row = 0; row < 8; ++row) {
            const ShortcutPanelEntry* entry = m_tab->PanelForTesting().PEntry(row);
            const bool own = entry && entry->iCtrlId && entry->iKind != CZQShortcutPanelRows::kKindEdit;
            EXPECT_EQ(own, Shown(IDC_DC_BMP_HOLDER1 + row)) << row;
        }
        EXPECT_EQ(c.scaling, Shown(IDC_DC_SCALING_HOLDER));
        EXPECT_EQ(c.copies, Shown(IDC_DC_COPY_HOLDER));
        for (int id : {IDC_TXT_FC_SCALING, IDC_STA_FS_SCALING, IDC_SPIN_SCALING}) {
            EXPECT_EQ(c.scaling, Shown(id)) << id;
            EXPECT_EQ(c.scaling, Enabled(id)) << id;
        }
        for (int id : {IDC_TXT_FC_COPIES, IDC_STA_FS_COPIES, IDC_SPIN_COPIES}) {
            EXPECT_EQ(c.copies, Shown(id)) << id;
            EXPECT_EQ(c.copies, Enabled(id)) << id;
        }
    }
    // The first type's rows with their choices: the quality list from the driver's names, the
    // number rows from the type.
    Build(L"Drawings");
    const ShortcutPanelEntry* quality = m_tab->PanelForTesting().PEntry(0);
    ASSERT_NE(nullptr, quality);
    EXPECT_EQ((std::vector<std::wstring>{L"Fast", L"Normal"}), ComboItems(Ctl(quality->iCtrlId)));
    EXPECT_EQ(L"Normal", Text(quality->iCtrlId));
    EXPECT_EQ(L"100", Text(IDC_TXT_FC_SCALING));
    EXPECT_EQ(L"1", Text(IDC_TXT_FC_COPIES));
    // No row chosen: the panel stays as it was.
    const int before = m_tab->PanelForTesting().Count();
    SendMessageW(Ctl(IDC_LB_DOCTYPE_SETTING), LB_SETCURSEL, WPARAM(-1), 0);
    m_tab->VBuildShortcutPanel(reinterpret_cast<HMODULE>(zqmodule::Instance()), &m_context, FALSE);
    EXPECT_EQ(before, m_tab->PanelForTesting().Count());
}

// A row whose options the driver lacks all is left out, unless its first option is the printer's
// own automatic choice.
TEST_F(PanelBuild, RowsOfUnknownOptionsOnlyForTheAutomaticChoice) {
    ASSERT_NO_FATAL_FAILURE(Open(SampleWith(Feature("InputBin", {"Automatically Select", "NOSUCH"}) +
                                            Feature("ZQNowhere", {"X", "Y"}))));
    Build(L"Drawings");
    const ShortcutPanelEntry* bin = m_tab->PanelForTesting().PEntry(0);
    const ShortcutPanelEntry* nowhere = m_tab->PanelForTesting().PEntry(1);
    ASSERT_TRUE(bin && nowhere);
    EXPECT_NE(0, bin->iCtrlId);
    EXPECT_TRUE(Shown(bin->iCtrlId));
    EXPECT_EQ(0, nowhere->iCtrlId);
    EXPECT_FALSE(Shown(IDC_DC_BMP_HOLDER1 + 1));
}

// On a large-format printer the first six row holders, each with its picture, open two rows on and
// ten pixels higher; the two they displace take the places left at the top.
TEST_F(PanelBuild, LargeFormatRowsOpenTwoRowsOn) {
    ASSERT_NO_FATAL_FAILURE(Open());
    // The template's places (dialog units) of the holders and their pictures.
    const auto place = [this](int x, int y, int cx, int lift) {
        RECT rc = {x, y, x + cx, y + 10};
        MapDialogRect(m_page, &rc);
        OffsetRect(&rc, 0, -lift);
        return rc;
    };
    const struct {
        int id;
        RECT at;
    } cases[] = {
        {IDC_DC_CTL_HOLDER1, place(126, 174, 52, 10)},    {IDC_DC_BMP_HOLDER1, place(113, 174, 12, 10)},
        {IDC_DC_CTL_HOLDER1 + 2, place(194, 128, 51, 10)}, {IDC_DC_CTL_HOLDER1 + 5, place(194, 197, 51, 10)},
        {IDC_DC_CTL_HOLDER1 + 6, place(126, 128, 52, 0)},  {IDC_DC_BMP_HOLDER1 + 6, place(113, 128, 12, 0)},
    };
    for (const auto& c : cases) {
        const RECT rc = Rect(c.id);
        EXPECT_EQ((std::vector<LONG>{c.at.left, c.at.top, c.at.right, c.at.bottom}),
                  (std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom}))
            << c.id;
    }
}

// A row left out keeps its place: the next row stands on its own holder beside its picture.
TEST_F(PanelBuild, RowsKeepTheirOwnPlacesBesideTheirPictures) {
    ASSERT_NO_FATAL_FAILURE(
        Open(SampleWith(Feature("ZQNowhere", {"X"}) + Feature("InputBin", {"Automatically Select"}))));
    Build(L"Drawings");
    const ShortcutPanelEntry* shown = m_tab->PanelForTesting().PEntry(1);
    ASSERT_TRUE(shown && m_tab->PanelForTesting().PEntry(0));
    EXPECT_EQ(0, m_tab->PanelForTesting().PEntry(0)->iRowHolderId) << "left out";
    EXPECT_FALSE(Shown(IDC_DC_BMP_HOLDER1));
    EXPECT_EQ(IDC_DC_CTL_HOLDER1 + 1, shown->iRowHolderId);
    RECT second = {};
    ASSERT_TRUE(CZQShortcutPanelRows::BHolderRect(m_page, IDC_DC_CTL_HOLDER1 + 1, &second));
    EXPECT_EQ(second.top, Rect(shown->iSecondCtrlId).top) << "its caption on its holder";
    EXPECT_TRUE(Shown(IDC_DC_BMP_HOLDER1 + 1));
    EXPECT_LE(Rect(IDC_DC_BMP_HOLDER1 + 1).right, Rect(shown->iSecondCtrlId).left) << "its picture beside it";
}

// A document type's two-sided row shows its choice; a stored shortcut's shows its quick set's.
TEST_F(PanelBuild, StoredShortcutShowsItsQuickSetsTwoSidedChoice) {
    m_host.Add(ListFeature("Duplex", {{"None", L"Off"}, {"Automatically", L"Automatic"}}, 0, DMPUB_DUPLEX));
    PutShortcut(L"Mine", L"Drawings");
    ASSERT_NO_FATAL_FAILURE(Open(SampleWith(Feature("Duplex", {"None", "Automatically"}))));
    QuickSetEntry* quickSet = m_context.pQuickSets->PNewEntry();
    lstrcpyW(quickSet->head.szName, L"Mine");
    CZQQuickSets::VAppendPair(&quickSet->pPairs, L"Duplex", L"Automatically");
    for (const auto& [row, shown] : {std::pair<PCWSTR, PCWSTR>{L"Drawings", L"Off"}, {L"Mine", L"Automatic"}}) {
        Build(row);
        int index = -1;
        ASSERT_TRUE(m_tab->BFindPanelEntry(L"Duplex", &index));
        EXPECT_EQ(shown, Text(m_tab->PanelForTesting().PEntry(index)->iCtrlId)) << row;
    }
    m_context.pQuickSets->VRemoveEntry(quickSet);
}

// A stored shortcut's list offers the options it was saved with, matched by position and keyword,
// and a record of more features than the panel has rows stops at the panel's end.
TEST_F(PanelBuild, StoredShortcutAddsTheOptionsItWasSavedWith) {
    std::vector<ShortcutFeatureEntry> features(7);
    std::vector<std::vector<PWSTR>> options(7);
    std::vector<std::wstring> texts = {L"Best", L"NOSUCH"};
    const PCWSTR keywords[] = {L"PrintQuality", L"InputBin", L"InputBin", L"Copies", L"Scaling", L"F6", L"F7"};
    std::vector<ShortcutFeatureEntry*> table;
    for (size_t i = 0; i < features.size(); ++i) {
        lstrcpyW(features[i].szKeyword, keywords[i]);
        options[i] = {&texts[0][0], &texts[1][0]};
        features[i].nPairs = 2;
        features[i].ppszOptionKeywords = options[i].data();
        features[i].ppszOptionNames = options[i].data();
        table.push_back(&features[i]);
    }
    ShortcutRecord record = {};
    lstrcpyW(record.szName, L"Mine");
    lstrcpyW(record.szDocType, L"Drawings");
    record.nFeatures = 7;
    record.ppFeatures = table.data();
    CZQLocalPtr<BYTE> image;
    const DWORD size = CZQShortcutStore::DWSerializeShortcut(image.Put(), record);
    m_printer.PutValue(L"ZQPresetRoot\\CustomShortcutPoolData", L"Mine", REG_BINARY, image.Get(), size);
    ASSERT_NO_FATAL_FAILURE(Open());
    ASSERT_NE(Rows().end(), std::find(Rows().begin(), Rows().end(), L"Mine"));
    Build(L"Mine");
    EXPECT_TRUE(m_tab->StateForTesting().bStoredShortcutShown);
    ASSERT_EQ(5, m_tab->PanelForTesting().Count());
    // Row 1 holds its keyword: "Best" added; row 2 is a check of another keyword (nothing added);
    // the record's rows 6 and 7 have no panel row.
    EXPECT_EQ((std::vector<std::wstring>{L"Fast", L"Normal", L"Best"}), ComboItems(Ctl(m_tab->PanelForTesting().PEntry(0)->iCtrlId)));
    EXPECT_EQ((std::vector<std::wstring>{L"Off", L"On"}), ComboItems(Ctl(m_tab->PanelForTesting().PEntry(1)->iCtrlId)));
    // A quick set of the shortcut's name shows its values in the rows; without one the build's
    // choices stay.
    EXPECT_EQ(L"Normal", Text(m_tab->PanelForTesting().PEntry(0)->iCtrlId));
    QuickSetEntry* quickSet = m_context.pQuickSets->PNewEntry();
    lstrcpyW(quickSet->head.szName, L"Mine");
    CZQQuickSets::VAppendPair(&quickSet->pPairs, L"PrintQuality", L"Best");
    CZQQuickSets::VAppendPair(&quickSet->pPairs, L"InputBin", L"SHEET");
    Build(L"Mine");
    EXPECT_EQ(L"Best", Text(m_tab->PanelForTesting().PEntry(0)->iCtrlId));
    EXPECT_EQ(L"Sheet Feed", Text(m_tab->PanelForTesting().PEntry(2)->iCtrlId));
    m_context.pQuickSets->VRemoveEntry(quickSet);
}

// The quality slider stands at its row's choice from the build on; a stored shortcut's quick set
// moves it and names its pages per sheet by the layout text, not by a pair it lacks.
TEST_F(PanelBuild, SliderAndPagesRowsShowTheirChoiceAtTheBuild) {
    m_host.Add(ListFeature("ZQLQJPQSettings", {{"StandardOptions", L"Standard"}}, 0));
    m_host.Add(ListFeature("StandardPrintQuality", {{"Fast", L"Fast"}, {"Best", L"Best"}}, 0));
    m_host.Add(ListFeature("PagesPerSheet", {{"1", L"1 Page per Sheet"}, {"2", L"2 Pages per Sheet"}}, 0));
    PutShortcut(L"Mine", L"Drawings");
    ASSERT_NO_FATAL_FAILURE(
        Open(SampleWith(Feature("StandardPrintQuality", {"Best", "Fast"}) + Feature("PagesPerSheet", {"1", "2"}))));
    QuickSetEntry* quickSet = m_context.pQuickSets->PNewEntry();
    lstrcpyW(quickSet->head.szName, L"Mine");
    CZQQuickSets::VAppendPair(&quickSet->pPairs, L"StandardPrintQuality", L"Fast");
    quickSet->head.settings.adwFinishing[6] = 2;
    const struct {
        PCWSTR row;
        LRESULT position;
        PCWSTR pages;
    } cases[] = {{L"Drawings", 1, L"1 Page per Sheet"}, {L"Mine", 0, L"2 Pages per Sheet"}};
    for (const auto& c : cases) {
        Build(c.row);
        const ShortcutPanelEntry* slider = m_tab->PanelForTesting().PEntry(0);
        const ShortcutPanelEntry* pages = m_tab->PanelForTesting().PEntry(1);
        ASSERT_TRUE(slider && pages);
        EXPECT_EQ(c.position, SendMessageW(Ctl(slider->iCtrlId), TBM_GETPOS, 0, 0)) << c.row;
        EXPECT_TRUE(Shown(IDC_STATIC_DOCUI_PQ_SPEED) && Shown(IDC_STATIC_DOCUI_PQ_QUALITY)) << c.row;
        EXPECT_EQ(c.pages, Text(pages->iCtrlId)) << c.row;
    }
    m_context.pQuickSets->VRemoveEntry(quickSet);
}

// The change check against the quick-set section of the private devmode: what it tells the sheet,
// and Save As and Delete.
TEST_F(PanelBuild, ChangeCheckTellsTheSheetAndTheButtons) {
    ASSERT_NO_FATAL_FAILURE(Open());
    Build(L"Drawings");
    ZQUIDevmode* core = zqpage::CoreOf(m_tab->CUIParam());
    ASSERT_NE(nullptr, core);
    const struct {
        const char* what;
        PCWSTR name;
        int qualityChoice;
        PCWSTR scaling;
        UINT told;
        bool saveAs, differ;
        bool customised = false, starting = false;  // settings customised when the sheet opened; the page's start
    } cases[] = {
        {"the shortcut as it was applied", L"Drawings", 1, L"100", PSM_UNCHANGED, false, false},
        {"another shortcut's name", L"Photo", 1, L"100", PSM_CHANGED, false, false},
        {"a row away from the type's choice", L"Drawings", 0, L"100", PSM_CHANGED, true, true},
        {"another scale", L"Drawings", 1, L"150", PSM_CHANGED, true, true},
        {"customised settings", L"Custom Print Settings", 1, L"100", PSM_CHANGED, false, false, true},
        {"customised settings while the page starts", L"Custom Print Settings", 1, L"100", PSM_UNCHANGED, false, false,
         true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        lstrcpyW(core->szDocTypeName, c.name);
        core->dwPendingChange = zqpage::WorkOf(&m_context)->dwPendingChange = c.customised;
        m_tab->StateForTesting().bStarting = c.starting;
        for (int i = 0; i < m_tab->PanelForTesting().Count(); ++i)
            core->adwSelectionSlots[i] = static_cast<DWORD>(m_tab->PanelForTesting().PEntry(i)->iSelected);
        m_tab->PanelForTesting().PEntry(0)->iSelected = c.qualityChoice;
        core->adwSelectionSlots[0] = 1;
        core->dwDocTypeScaling = 100;
        core->dwDocTypeCopies = 1;
        SetDlgItemTextW(m_page, IDC_TXT_FC_SCALING, c.scaling);
        EnableWindow(Ctl(IDC_BTN_DELETE), TRUE);
        m_sheetMessages.clear();
        EXPECT_TRUE(m_tab->BCheckPanelChanged(&m_context));
        EXPECT_EQ(std::vector<UINT>{c.told}, m_sheetMessages);
        EXPECT_EQ(c.saveAs, Enabled(IDC_BTN_SAVE));
        EXPECT_EQ(!c.saveAs, Enabled(IDC_BTN_DELETE));
        EXPECT_EQ(c.differ, m_tab->StateForTesting().bSettingsDiffer != FALSE);
    }
    m_tab->PanelForTesting().PEntry(0)->iSelected = 1;
    core->dwPendingChange = zqpage::WorkOf(&m_context)->dwPendingChange = 0;
}

// A feature the sheet hides (a roll feature of a large-format printer without the Features page)
// has a row like any other: rebuilt on the type the settings name it takes its slot, on another
// type the type's choice, and its list is disabled only by a lock.
TEST_F(PanelBuild, RowsOfHiddenFeaturesAreLikeAnyOther) {
    zqtest::FixtureFeature autorotate = ListFeature("ZQAutorotate", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 1);
    autorotate.flags = OPTIF_HIDE;
    m_host.Add(autorotate);
    ShortcutsPrinter printer;
    printer.simplified = false;
    ASSERT_NO_FATAL_FAILURE(Open(SampleWith(Feature("ZQAutorotate", {"FALSE", "TRUE"})), printer));
    const struct {
        const char* what;
        PCWSTR named;
        int autorotate, quality;
    } cases[] = {{"the type the settings name", L"Drawings", 0, 0}, {"another type", L"Photo", 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ZQUIDevmode& work = *zqpage::WorkOf(&m_context);
        lstrcpyW(work.szDocTypeName, c.named);
        work.adwSelectionSlots[0] = 0;
        work.adwSelectionSlots[1] = 0;
        Build(L"Drawings");
        const ShortcutPanelEntry* row = m_tab->PanelForTesting().PEntry(0);
        ASSERT_TRUE(row && m_tab->PanelForTesting().PEntry(1));
        EXPECT_EQ(c.autorotate, row->iSelected);
        EXPECT_EQ(c.quality, m_tab->PanelForTesting().PEntry(1)->iSelected);
        EXPECT_EQ(c.autorotate ? L"On" : L"Off", Text(row->iCtrlId));
        EXPECT_TRUE(Enabled(row->iCtrlId));
    }
}

}  // namespace
