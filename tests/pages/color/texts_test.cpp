// The Colour page's texts on its templates (the status module's, the English ones it lacks, the
// greyscale radios named by the driver), its context-help table by orientation and locks, and the
// change check the sheet hears.
#include <gtest/gtest.h>

#include "colortest.h"
#include "featurelogic/zqquicksets.h"

using zqtest::ListFeature;

namespace {

constexpr DWORD kAbsent = 0xFFFFFFFE;

DWORD TopicOf(const DWORD* pTable, int iCtrlId) {
    for (int i = 0; pTable[i] || pTable[i + 1]; i += 2)
        if (pTable[i] == static_cast<DWORD>(iCtrlId)) return pTable[i + 1];
    return kAbsent;
}

// Each template shows the status module's texts and the English texts of the strings it lacks; the
// greyscale radios take the names of the options of the greyscale feature the language uses.
struct TextsCase {
    const char* what;
    DWORD pdl;
    bool largeFormat, simplified;
    WORD wTemplate;
    std::vector<std::pair<int, std::wstring>> texts;
};

class ColorTexts : public ColorPage, public testing::WithParamInterface<TextsCase> {};

TEST_P(ColorTexts, EachTemplateShowsItsTexts) {
    const TextsCase& c = GetParam();
    Printer printer;
    printer.pdl = c.pdl;
    printer.largeFormat = c.largeFormat;
    printer.simplified = c.simplified;
    if (c.pdl == kPdlPostScript) {
        printer.without = "JCLZQPrintInGrayScale";
        m_host.Add(ListFeature("JCLZQPrintInGrayScale", {{"FALSE", L"Off"}, {"HighQuality", L"Best Grays"}}));
    }
    Start(printer, c.wTemplate);
    WCHAR title[64] = {};
    GetWindowTextW(m_page, title, 64);
    EXPECT_STREQ(L"Color", title);
    for (const auto& [id, text] : c.texts) EXPECT_EQ(text, Text(id)) << id;
    // Without the private devmode nothing is set.
    SetWindowTextW(Ctl(IDC_BTN_HELP), L"x");
    m_host.Param()->pOEMDM = nullptr;
    SetLastError(0);
    m_tab->VSetControlTexts(&m_context);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    EXPECT_EQ(L"x", Text(IDC_BTN_HELP));
    m_host.Param()->pOEMDM = &m_core;
}

INSTANTIATE_TEST_SUITE_P(
    Templates, ColorTexts,
    testing::Values(
        TextsCase{"desk", 4, false, false, IDD_DLG_COLORPAGE,
                  {{IDC_RB_AUTO, L"&Automatic"},
                   {IDC_GB_CHROMIX, L"Color Matching"},
                   {IDC_CHK_GRAYSCALE, L"Print in &Grayscale"},
                   {IDC_RB_HIGHQUALITY, L"High Quality Grayscale"},
                   {IDC_RB_PHOTOCOPY, L"Photo Copy Look"},
                   {IDC_STA_INTENT, L"&Intent:"},
                   {IDC_BTN_ADV_COLOR_SETTING, L"More color &options..."}}},
        TextsCase{"mirrored desk", 4, false, false, IDD_DLG_COLORPAGE_RTL,
                  {{IDC_RB_MANUAL, L"&Manual"}, {IDC_STA_CMYK_COLOR, L"C&MYK:"}, {IDC_BTN_HELP, L"&Help"}}},
        TextsCase{"simplified roll", 5, true, true, IDD_DLG_COLORPAGE_SUI,
                  {{IDC_RB_PRINTINCOLOR, L"Print in &Color"},
                   {IDC_STA_COLOR_MANAGEMENT, L"Color Management:"},
                   {IDC_STA_INTENT, L"R&endering Intent:"},
                   {IDC_BTN_ADV_COLOR_SETTING, L"Advanced Color &Settings..."}}},
        TextsCase{"wide PostScript", 3, true, false, IDD_DLG_COLORPAGE_LQJ,
                  {{IDC_RB_HIGHQUALITY, L"Best Grays"},
                   {IDC_CHK_PANTONE, L"ZQ Pr&ofessional PANTONE Emulation"},
                   {IDC_CHK_BLACK_POINT, L"B&lack Point Compensation"},
                   {IDC_BTN_ADV_COLOR_SETTING, L"Advanced Color &Settings..."}}}),
    [](const testing::TestParamInfo<TextsCase>& info) { return std::to_string(info.index); });

// The sample page's help follows the picture shown; a setting the administrator locked points at
// the locked setting's topic.
TEST_F(ColorPage, HelpTopicsFollowTheSamplePageAndTheLocks) {
    Start();
    const struct {
        WORD orientation;
        DWORD pagesPerSheet;
        bool locked;
        int preview;
    } cases[] = {{1, 1, false, IDC_BTN_PREVIEW_PORT},
                 {2, 1, true, IDC_BTN_PREVIEW_LAND},
                 {2, 2, false, IDC_BTN_PREVIEW_PORT},
                 {1, 4, true, IDC_BTN_PREVIEW_LAND}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.orientation << " " << c.pagesPerSheet << " " << c.locked);
        Work().wOrientation = c.orientation;
        Work().dwPagesPerSheet = c.pagesPerSheet;
        for (const wchar_t* lock : {L"PrintColorAsGray", L"Automatic"})
            m_printer.PutString(L"DMCLockData\\Printing", lock, c.locked ? L"Lock" : L"Open");
        DWORD table[2 * CZQColorTab::kHelpPairs];
        std::fill(std::begin(table), std::end(table), 0xAAAAAAAAu);
        m_tab->VGetHelpIds(table, &m_context);
        EXPECT_EQ(14060u, TopicOf(table, c.preview));
        EXPECT_EQ(kAbsent, TopicOf(table, c.preview == IDC_BTN_PREVIEW_PORT ? IDC_BTN_PREVIEW_LAND : IDC_BTN_PREVIEW_PORT));
        EXPECT_EQ(c.locked ? 15147u : 14013u, TopicOf(table, IDC_CHK_GRAYSCALE));
        EXPECT_EQ(c.locked ? 15147u : 14012u, TopicOf(table, IDC_RB_AUTO));
        EXPECT_EQ(13002u, TopicOf(table, IDC_RB_MANUAL));
        EXPECT_EQ(0u, TopicOf(table, IDC_CBO_RGB_COLOR)) << "the item's help index";
        EXPECT_EQ(15454u, TopicOf(table, IDC_INPUT_COLORSPACE));
        int pairs = 0;
        while (table[2 * pairs] || table[2 * pairs + 1]) ++pairs;
        EXPECT_LT(pairs, CZQColorTab::kHelpPairs);
    }
    DWORD untouched[4] = {7, 7, 7, 7};
    m_host.Param()->pOEMDM = nullptr;
    m_tab->VGetHelpIds(untouched, &m_context);
    EXPECT_EQ(7u, untouched[0]);
    m_host.Param()->pOEMDM = &m_core;
}

// The sheet hears whether the page differs from the settings it opened with: a choice and back ends
// unchanged; the quick set's own change is heard first and marks the settings as the user's own
// while the sheet runs a quick set.
TEST_F(ColorPage, TheSheetHearsWhetherThePageDiffers) {
    Start();
    auto choose = [&](int id, int entry) {
        SendMessageW(Ctl(id), CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        SendMessageW(m_page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Ctl(id)));
    };
    const int saved = static_cast<int>(SendMessageW(Ctl(IDC_CBO_RGB_COLOR), CB_GETCURSEL, 0, 0));
    choose(IDC_CBO_RGB_COLOR, 1 - saved);
    EXPECT_EQ(PSM_CHANGED, m_sheetMessages.back());
    choose(IDC_CBO_RGB_COLOR, saved);
    EXPECT_EQ(PSM_UNCHANGED, m_sheetMessages.back());

    // Each setting of the working copy the check reads counts on its own.
    for (auto field : {&ZQUIDevmode::dwSepia, &ZQUIDevmode::dwPantoneEmulation, &ZQUIDevmode::dwLfInputProfiles}) {
        Work().*field ^= 1;
        EXPECT_TRUE(m_tab->BCheckPageChanged(m_page, &m_context));
        Work().*field ^= 1;
    }
    Work().aiColorAdjust[6] = 5;
    EXPECT_TRUE(m_tab->BCheckPageChanged(m_page, &m_context));
    Work().aiColorAdjust[6] = m_core.aiColorAdjust[6];

    for (DWORD inUse : {0u, 1u}) {
        SCOPED_TRACE(inUse);
        m_core.dwQuickSetInUse = inUse;
        Work().dwPendingChange = 0;
        m_context.pQuickSets->BSetChanged(nullptr);
        m_sheetMessages.clear();
        EXPECT_FALSE(m_tab->BCheckPageChanged(m_page, &m_context));
        EXPECT_EQ((std::vector<UINT>{PSM_CHANGED, PSM_UNCHANGED}), m_sheetMessages);
        EXPECT_EQ(inUse, Work().dwPendingChange);
        m_context.pQuickSets->VClearChanged();
    }
    m_sheetMessages.clear();
    m_host.Param()->pOEMDM = nullptr;
    SetLastError(0);
    EXPECT_FALSE(m_tab->BCheckPageChanged(m_page, &m_context));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    EXPECT_TRUE(m_sheetMessages.empty());
    m_host.Param()->pOEMDM = &m_core;
}

}  // namespace
