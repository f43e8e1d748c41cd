// The Features page's controls: their texts by language with the English fall-backs, the help table
// with the administrator's locks, the change check that lights and dims Apply, the groups the
// printer offers closed up without gaps, the document's size, and the paper-size list's Letter
// fall-back.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "featurelogic/zqquicksets.h"
#include "featurestest.h"
#include "layoutcheck.h"
#include "macrotest.h"
#include "zqhostapp.h"

#include <commctrl.h>

namespace {

using std::make_tuple;

struct TextCase {
    LANGID ui;
    WORD templateId;
    std::vector<std::pair<int, std::wstring>> texts;
};

class FeaturesTexts : public FeaturesPage, public testing::WithParamInterface<TextCase> {};

// The module's texts in the user's language, else its English ones, else the page's own; labels take
// the language's colon; the whole page fits its texts.
TEST_P(FeaturesTexts, FollowTheLanguageAndFallBackToEnglish) {
    const TextCase& c = GetParam();
    zqtest::CUiLanguage ui(c.ui);
    AddItems();
    Build();
    ASSERT_NE(nullptr, Open(c.templateId));
    for (const auto& [id, text] : c.texts) EXPECT_EQ(text, Text(id)) << id;
    for (const std::string& fault : zqtest::TextFaults(m_page)) ADD_FAILURE() << fault;
    for (const std::string& fault : zqtest::LayoutFaults(m_page, Resources(), c.templateId)) ADD_FAILURE() << fault;
}

INSTANTIATE_TEST_SUITE_P(
    Languages, FeaturesTexts,
    testing::Values(TextCase{0x0409, IDD_DLG_FEATURESPAGE,
                             {{IDC_STA_PRINT_QUALITY, L"P&rint Quality:"}, {IDC_STA_PHOTOFIX, L"Photo fix:"},
                              {IDC_STA_TWO_SIDED_PRINTING, L"Two-sided printing:"},
                              {IDC_GB_BASIC_OPTIONS, L"Basic options"}, {IDC_CHK_FLIP_PAGES_UP, L"Flip pages up"},
                              {IDC_CHECK_BORDERLESS_PHOTO, L"Borderless"}, {IDC_BTN_PRINTER_SERVICES, L"Printer Services"},
                              {IDC_GB_RESIZING_OPTIONS, L"Paper Size Options"}, {IDC_RB_PORTRAIT, L"Portrait"}}},
                    TextCase{0x0407, IDD_DLG_FEATURESPAGE_RTL,
                             {{IDC_RB_PORTRAIT, L"Hochformat"}, {IDC_GB_PAPER_SAVING, L"Papiersparoptionen"},
                              {IDC_STA_MEDIA_TYPE_IS, L"Paper &Type:"}, {IDC_GB_BASIC_OPTIONS, L"Basic options"}}}),
    [](const testing::TestParamInfo<TextCase>& info) { return info.param.ui == 0x0409 ? "English" : "GermanMirrored"; });

// The help id of a control in the table; -2 when it is not there.
int HelpOf(const DWORD* table, int control) {
    for (int i = 0; i < CZQFeaturesTab::kHelpPairs && table[2 * i]; ++i)
        if (static_cast<int>(table[2 * i]) == control) return static_cast<int>(table[2 * i + 1]);
    return -2;
}

TEST_F(FeaturesPage, HelpTableTakesLocksItemsAndTheShownPreview) {
    AddItems();
    Build();
    m_host.Item("MediaType")->HelpIndex = 888;
    DWORD table[2 * CZQFeaturesTab::kHelpPairs];
    m_tab->VGetHelpIds(table, &m_context);
    const std::pair<int, int> open[] = {{IDC_CBO_MEDIA_SOURCE_IS, 14025}, {IDC_CBO_MEDIA_TYPE_IS, 888},
                                        {IDC_CBO_PAGES_PER_SHEET, 14051}, {IDC_CBO_TWO_SIDED_PRINTING, 15701},
                                        {IDC_CHK_THRIFTMODE, -1},         {IDC_CBO_PHOTOFIX, 15637},
                                        {IDC_BTN_PREVIEW_PORT, 14060},    {IDC_BTN_PREVIEW_LAND, -2}};
    for (const auto& [control, help] : open) EXPECT_EQ(help, HelpOf(table, control)) << control;

    for (const wchar_t* lock : {L"InputBin", L"MediaType", L"NUpChoice", L"Duplex", L"FitToOtherSizeChoice"})
        m_printer.PutString(L"DMCLockData\\Printing", lock, L"Lock");
    Work().dwPagesPerSheet = 2;
    m_tab->VGetHelpIds(table, &m_context);
    for (int control : {IDC_CBO_MEDIA_SOURCE_IS, IDC_CBO_MEDIA_TYPE_IS, IDC_CBO_PAGES_PER_SHEET,
                        IDC_CBO_TWO_SIDED_PRINTING, IDC_RB_PRINT_DOC_ON})
        EXPECT_EQ(15147, HelpOf(table, control)) << control;
    EXPECT_EQ(14060, HelpOf(table, IDC_BTN_PREVIEW_LAND)) << "two pages lie across a portrait sheet";
}

// After each change the sheet hears whether the page differs from the settings it opened with:
// each group's comparison, undone again; sources count only with more than two; papers printed on
// count as the destination list has them; a pending quick set alone lights Apply; a feature the
// printer lacks compares as unchanged.
class FeaturesChanges : public FeaturesPage {
protected:
    void Prepare(const std::string& without = "") {
        AddItems(without);
        m_core.dwPrintedOnPaper = static_cast<uint32_t>(m_public.dmPaperSize);  // as the core driver keeps it
        Build();
        NamePapers();
        ASSERT_NE(nullptr, Open());
    }
    UINT Told() {
        m_sheetMessages.clear();
        m_tab->BCheckPageChanged(m_page, &m_context);
        return m_sheetMessages.empty() ? 0 : m_sheetMessages.back();
    }
};

TEST_F(FeaturesChanges, TellTheSheetWhetherThePageDiffers) {
    Prepare();
    ZQUIDevmode& work = Work();
    const uint32_t docOn = m_core.dwPrintDocOn, printedOn = work.dwPrintedOnPaper;
    const struct {
        const char* name;
        std::function<void(bool)> change;  // true: change, false: undo
    } cases[] = {
        {"pages per sheet", [&](bool on) { work.dwPagesPerSheet = on ? 4 : m_core.dwPagesPerSheet; }},
        {"cover", [&](bool on) { work.dwFrontCover = on ? 1 : m_core.dwFrontCover; }},
        {"media of a page kind", [&](bool on) { work.dwLastPageMedia = on ? 258 : m_core.dwLastPageMedia; }},
        {"scale to fit", [&](bool on) { work.dwScaleToFit = on ? 1 - m_core.dwScaleToFit : m_core.dwScaleToFit; }},
        {"orientation", [&](bool on) { work.wOrientation = on ? 2 : m_core.wOrientation; m_public.dmOrientation = work.wOrientation; }},
        {"photo fix", [&](bool on) { Fill(IDC_CBO_PHOTOFIX, {L"Off", L"Basic", L"Full"}, on ? 2 : Sel("ZQPhotoFix")); }},
        {"borderless box", [&](bool on) { CheckDlgButton(m_page, IDC_CHECK_BORDERLESS_PHOTO, on != (Sel("ZQBorderLessPhoto") == 1)); }},
        {"show preview", [&](bool on) { m_host.SetSelection("ZQPrintPreview", on ? 1 : 0); }},
        {"paper printed on", [&](bool on) {
             m_core.dwPrintDocOn = work.dwPrintDocOn = on ? 1 : docOn;
             work.dwPrintedOnPaper = on ? (printedOn == DMPAPER_A4 ? DMPAPER_LEGAL : DMPAPER_A4) : printedOn;
         }},
        {"paper printed on, the document on its own", [&](bool on) {
             work.dwPrintedOnPaper = on ? (printedOn == DMPAPER_A4 ? DMPAPER_LEGAL : DMPAPER_A4) : printedOn;
         }},
    };
    EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), Told());
    for (const auto& c : cases) {
        c.change(true);
        EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), Told()) << c.name;
        c.change(false);
        EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), Told()) << c.name << " undone";
    }
    // Papers the destination list lacks are none of its papers alike.
    m_core.dwPrintDocOn = work.dwPrintDocOn = 1;
    m_core.dwPrintedOnPaper = DMPAPER_TABLOID;
    work.dwPrintedOnPaper = 258;
    EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), Told());
    m_core.dwPrintDocOn = work.dwPrintDocOn = docOn;
    m_core.dwPrintedOnPaper = work.dwPrintedOnPaper = printedOn;
    // Two sources give no choice to compare.
    work.dwOtherPagesSource = m_core.dwOtherPagesSource + 1;
    EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), Told());
    // A pending quick set alone.
    m_context.pQuickSets->BSetChanged(nullptr);
    EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), Told());
    EXPECT_FALSE(m_tab->BCheckPageChanged(m_page, &m_context)) << "the page itself is as it was";
}

TEST_F(FeaturesChanges, CountSourcesOfSeveralAndSkipMissingFeatures) {
    AddItems("InputBin ZQPhotoFix");
    m_host.Add(zqtest::ListFeature("InputBin", {{"AUTOSELECT", L"Auto"}, {"TRAY1", L"Tray 1"}, {"TRAY2", L"Tray 2"}}, 0,
                                   DMPUB_DEFSOURCE));
    Build();
    ASSERT_NE(nullptr, Open());
    SendMessageW(Ctl(IDC_CBO_PHOTOFIX), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Full"));
    SendMessageW(Ctl(IDC_CBO_PHOTOFIX), CB_SETCURSEL, 0, 0);
    EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), Told()) << "no photo-fix feature to differ from";
    Work().dwOtherPagesSource = m_core.dwOtherPagesSource + 1;
    EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), Told());
}

// The quick sets compare as many poster tiles as the page's poster has: 2 a side for its first
// option (and anything unknown), 3 for its second.
TEST_F(FeaturesChanges, QuickSetsCompareThePostersTiles) {
    Prepare();
    CZQQuickSets& quickSets = *m_context.pQuickSets;
    quickSets.VSnapshotCurrent(&Work());
    ZQUIDevmode tiled = Work();
    tiled.adwPosterTiles[4] = 1 - tiled.adwPosterTiles[4];  // the middle one of 3 x 3
    for (const auto& [option, differs] : {std::pair{1, true}, {7, false}, {0, false}}) {
        m_tab->StateForTesting().iPosterOption = option;
        Told();
        EXPECT_EQ(differs, quickSets.BPageDiffers(tiled, CZQQuickSets::kCompareFinishing) != FALSE) << option;
    }
}

// Coming to the front sets the controls from the settings; leaving stores the boxes back.
TEST_F(FeaturesPage, RefreshShowsAndStoresTheSettings) {
    AddItems();
    Build();
    ASSERT_NE(nullptr, Open());
    m_host.SetSelection("PaperSize", 1);
    m_host.SetSelection("InputBin", 1);
    m_host.SetSelection("ZQPhotoFix", 2);
    Fill(IDC_CBO_PHOTOFIX, {L"Off", L"Basic", L"Full"});
    m_logic.m_adwQualityBoxes[2] = 1;
    Notify(PSN_SETACTIVE);
    EXPECT_EQ(make_tuple(std::wstring(L"A4"), std::wstring(L"Tray 1"), std::wstring(L"Full"), 0u),
              make_tuple(Text(IDC_CBO_MEDIA_SIZE_IS), Text(IDC_CBO_MEDIA_SOURCE_IS), Text(IDC_CBO_PHOTOFIX),
                         m_logic.m_adwQualityBoxes[2]));
    // The layout lists' fixed entries: automatic with the duplex unit; no manual way without its feature.
    EXPECT_EQ((std::vector<std::wstring>{L"Off", L"Automatic"}), ZQListEntries(Ctl(IDC_CBO_TWO_SIDED_PRINTING)));
    EXPECT_EQ(6u, ZQListEntries(Ctl(IDC_CBO_PAGES_PER_SHEET)).size());

    SendMessageW(Ctl(IDC_CBO_PHOTOFIX), CB_SETCURSEL, 1, 0);
    CheckDlgButton(m_page, IDC_CHECK_BORDERLESS_PHOTO, BST_CHECKED);
    Notify(PSN_KILLACTIVE);
    EXPECT_EQ(make_tuple(1, 1, 1u), make_tuple(Sel("ZQPhotoFix"), Sel("ZQBorderLessPhoto"), m_logic.m_adwQualityBoxes[2]));
    EXPECT_EQ(-999, m_core.iStartPage);
}

// Which groups stand: without two-sided printing the pages per sheet and their order close up into
// its rows; with one source the orientation takes the source's rows; layout mode 1 has no pages per
// sheet and no resizing; two options of mode 2 keep the pages per sheet without their order.
struct StateCase {
    const char* name;
    const char* without;
    DWORD layoutMode;
    bool twoSided, pagesPerSheet, pageOrder, resizing;
};

class FeaturesControlState : public FeaturesPage, public testing::WithParamInterface<StateCase> {};

TEST_P(FeaturesControlState, ShowsTheOfferedGroupsWithoutGaps) {
    const StateCase& c = GetParam();
    AddItems(c.without);
    m_core.dwLayoutMode = c.layoutMode;
    Build();
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(make_tuple(c.twoSided, c.pagesPerSheet, c.pageOrder, c.resizing, false),
              make_tuple(Shown(IDC_CBO_TWO_SIDED_PRINTING), Shown(IDC_CBO_PAGES_PER_SHEET), Shown(IDC_CBO_PAGE_ORDER),
                         Shown(IDC_RB_PRINT_DOC_ON), Shown(IDC_CBO_MEDIA_SOURCE_IS)));
    if (c.twoSided)
        EXPECT_GT(Rect(IDC_STA_PAGES_PER_SHEET).top, Rect(IDC_CBO_TWO_SIDED_PRINTING).bottom);
    else
        EXPECT_EQ(Rect(IDC_STA_TWO_SIDED_PRINTING).top, Rect(IDC_STA_PAGES_PER_SHEET).top) << "in two-sided's rows";
    EXPECT_EQ(Rect(IDC_STA_MEDIA_SOURCE_IS).top, Rect(IDC_RB_PORTRAIT).top) << "orientation in the source's rows";
    EXPECT_GT(Rect(IDC_RB_LANDSCAPE).top, Rect(IDC_RB_PORTRAIT).bottom);
    for (const std::string& fault : zqtest::LayoutFaults(m_page, Resources(), IDD_DLG_FEATURESPAGE)) ADD_FAILURE() << fault;
}

INSTANTIATE_TEST_SUITE_P(Printers, FeaturesControlState,
                         testing::Values(StateCase{"full", "", 3, true, true, true, true},
                                         StateCase{"noTwoSided", "ManualDuplex", 3, false, true, true, true},
                                         StateCase{"mode2", "", 2, true, true, false, true},
                                         StateCase{"mode1", "", 1, true, false, false, false}),
                         [](const testing::TestParamInfo<StateCase>& info) { return info.param.name; });

// The document's size in the unit of the devmode, turned with the page; a paper the printer does not
// list leaves the text as it was.
TEST_F(FeaturesPage, DocumentSizeInMillimetresOrInches) {
    AddItems();
    Build();
    const struct {
        DWORD mm;
        WORD orientation;
        short paper;
        const wchar_t* text;
    } cases[] = {
        {1, 1, DMPAPER_LETTER, L"216 \u00D7 279 mm"},
        {1, 2, DMPAPER_A4, L"297 \u00D7 210 mm"},
        {0, 1, DMPAPER_LETTER, L"8.5 \u00D7 11 inches"},
        {0, 1, 999, L"8.5 \u00D7 11 inches"},
    };
    for (const auto& c : cases) {
        Work().dwUnitMm = c.mm;
        Work().wOrientation = c.orientation;
        m_public.dmPaperSize = c.paper;
        m_tab->VSetDocumentSizeText(&m_context);
        EXPECT_STREQ(c.text, m_tab->StateForTesting().szDocumentSize) << c.paper << " " << c.orientation;
    }
}

// A form the paper list lacks gives way to Letter, in the driver's item and the list, with that
// paper's macros, which a locked media type holds back; the medium and quality they choose then
// show. Pop-up mode's short list is built anew and names the paper in force.
struct LetterCase {
    const char* name;
    bool locked, popup;
    int sel;  // the driver's paper item, beside the combo's text
    std::wstring paper, media, quality;
    std::vector<std::string> macros;
};

class FeaturesLetter : public FeaturesPage, public testing::WithParamInterface<LetterCase> {};

TEST_P(FeaturesLetter, PaperSizeFallsBackToLetter) {
    const LetterCase& c = GetParam();
    AddItems();
    if (c.popup) m_host.Add(zqtest::ListFeature("ZQPaperSizeTreeviewPopup", {{"English", L"English"}, {"Metric", L"Metric"}}));
    AddMacro("m_paper", "<select_option>MediaType.PHOTO</select_option><select_option>PrintQualityGroup.PQGroup_2</select_option>");
    m_ruleFeatures = zqmacrotest::Feature("PaperSize", {"m_paper"});
    Build();
    ASSERT_NE(nullptr, Open());
    m_tab->StateForTesting().bMediaLocked = c.locked;
    m_host.SetSelection("PaperSize", 1);
    m_host.Item("PaperSize")->pOptType->pOptParam[1].Flags |= OPTPF_HIDE;
    Fill(IDC_CBO_MEDIA_SIZE_IS, {});
    Clear();
    m_tab->VRefreshPaperSizeGroup(&m_context);
    EXPECT_EQ(make_tuple(c.sel, c.paper, c.media, c.quality),
              make_tuple(Sel("PaperSize"), Text(IDC_CBO_MEDIA_SIZE_IS), Text(IDC_CBO_MEDIA_TYPE_IS),
                         Text(IDC_CBO_PRINT_QUALITY)));
    EXPECT_EQ(c.macros, LoggedMacros());
    const std::vector<std::wstring> entries = ZQListEntries(Ctl(IDC_CBO_MEDIA_SIZE_IS));
    EXPECT_EQ(c.popup, !entries.empty() && entries.back() == L"More...");
}

INSTANTIATE_TEST_SUITE_P(
    MediaLock, FeaturesLetter,
    testing::Values(LetterCase{"Open", false, false, 0, L"Letter", L"Photo Paper", L"Best", {"m_paper"}},
                    LetterCase{"Locked", true, false, 0, L"Letter", L"Plain Paper", L"Normal", {}},
                    LetterCase{"PopUp", false, true, 1, L"A4", L"Plain Paper", L"Normal", {}}),
    [](const testing::TestParamInfo<LetterCase>& info) { return std::string(info.param.name); });

}  // namespace
