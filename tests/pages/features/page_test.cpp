// The Features page's start: its window from the settings, the helper file's rules run again around
// the paper's macros, the user-interface language kept for the paper tree's units, both templates
// laid out whole, and messages that lack what they need.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/zqprinterdata.h"
#include "featurestest.h"
#include "layoutcheck.h"
#include "macrotest.h"
#include "zqhostapp.h"

namespace {

using Log = std::vector<std::string>;
using zqmacrotest::Feature;

TEST_F(FeaturesPage, StartsFromTheSettings) {
    AddItems();
    for (uint32_t& tile : m_core.adwPosterTiles) tile = 0;
    Build();
    OwnOrientation()->Sel = 1;
    m_host.SetSelection("PaperSize", 1);
    m_host.SetSelection("ZQBorderLessPhoto", 1);
    SetWindowTextW(m_parent, L"Printing Preferences");
    ASSERT_NE(nullptr, Open());

    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&m_context), GetWindowLongPtrW(m_page, DWLP_USER));
    EXPECT_TRUE(Checked(IDC_RB_LANDSCAPE));
    EXPECT_FALSE(Checked(IDC_RB_PORTRAIT));
    EXPECT_EQ(0, Sel("ZQBorderLessPhoto")) << "A4 is no borderless paper";
    // The full paper list, sorted, without the tree pop-up.
    EXPECT_EQ((std::vector<std::wstring>{L"A4", L"Banner A1", L"Custom", L"Letter", L"Photo (borderless)", L"Postcard"}),
              ZQListEntries(Ctl(IDC_CBO_MEDIA_SIZE_IS)));
    WCHAR title[64] = {};
    GetWindowTextW(m_parent, title, 64);
    EXPECT_STREQ(L"Printing Preferences 1.2.3", title);
    // A poster of the simplified interface whose tiles are not chosen prints every tile.
    for (uint32_t tile : Work().adwPosterTiles) EXPECT_EQ(1u, tile);
    EXPECT_EQ(-1, m_tab->StateForTesting().iUserMedium);
}

// The paper's macros change media type, quality group and the photo enhancements: media type and
// quality are chosen again, each followed by its macros, the enhancements come back while the colour
// space can be read, and the photo fix comes back always. A document printed on another paper does
// not run the paper's macros.
struct RulesCase {
    DWORD printDocOn;
    const char* without;
    Log macros;
    int contrast;
};

class FeaturesStartRules : public FeaturesPage, public testing::WithParamInterface<RulesCase> {};

TEST_P(FeaturesStartRules, RunAroundThePapersMacros) {
    const RulesCase& c = GetParam();
    AddItems(c.without);
    AddMacro("m_paper", "<select_option>MediaType.PLAIN</select_option><select_option>PrintQualityGroup.PQGroup_1"
                        "</select_option><select_option>ZQContrast.Off</select_option>");
    AddMacro("m_media", "<select_option>ZQPhotoFix.OFF</select_option>");
    AddMacro("m_quality");
    m_ruleFeatures = Feature("PaperSize", {"m_paper"}) + Feature("MediaType", {"m_media"}) +
                     Feature("PrintQualityGroup", {"m_quality"});
    m_core.dwPrintDocOn = c.printDocOn;
    Build();
    for (const char* feature : {"MediaType", "PrintQualityGroup", "ZQContrast", "ZQPhotoFix"})
        m_host.SetSelection(feature, feature == std::string("MediaType") || feature == std::string("PrintQualityGroup") ? 1 : 2);
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(c.macros, LoggedMacros());
    EXPECT_EQ(std::make_tuple(1, 1, c.contrast, 2),
              std::make_tuple(Sel("MediaType"), Sel("PrintQualityGroup"), Sel("ZQContrast"), Sel("ZQPhotoFix")));
    EXPECT_EQ(c.printDocOn ? 1 : 0, m_tab->StateForTesting().iResizeMode);
}

INSTANTIATE_TEST_SUITE_P(Cases, FeaturesStartRules,
                         testing::Values(RulesCase{0, "", {"m_paper", "m_media", "m_quality"}, 2},
                                         RulesCase{1, "", {"m_media", "m_quality"}, 2},
                                         RulesCase{0, "ZQInputColorSpace", {"m_paper", "m_media", "m_quality"}, 0}));

// With the paper tree, the language the page starts in is kept in the printer's data; a new one
// chooses the tree's units from the paper the page starts with, unless the user chose them in this
// sheet.
struct LanguageCase {
    const char* name;
    DWORD stored;  // 0: no value
    LANGID ui;
    int paper;     // 0 LETTER, 1 A4
    bool chosen;   // the units were chosen in this sheet
    int units;     // "ZQPaperSizeTreeviewPopup" afterwards: 0 English, 1 Metric, 2 unchanged (Other)
};

class FeaturesLanguage : public FeaturesPage, public testing::WithParamInterface<LanguageCase> {};

TEST_P(FeaturesLanguage, KeepsTheLanguageAndItsUnits) {
    const LanguageCase& c = GetParam();
    zqtest::CUiLanguage ui(c.ui);
    AddItems();
    m_host.Add(zqtest::ListFeature("ZQPaperSizeTreeviewPopup", {{"English", L"English"}, {"Metric", L"Metric"},
                                                                {"Other", L"Other"}}, 2));
    Build();
    m_host.SetSelection("PaperSize", c.paper);
    if (c.chosen) m_host.Item("ZQPaperSizeTreeviewPopup")->Flags |= OPTIF_CHANGED;
    if (c.stored) ZQWriteStoredValue(m_hPrinter, nullptr, L"ZQLangID", REG_DWORD, &c.stored, sizeof c.stored);
    ASSERT_NE(nullptr, Open());
    DWORD type = 0, size = 0;
    CZQLocalPtr<BYTE> value;
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), ZQReadStoredValue(m_hPrinter, nullptr, L"ZQLangID", &type, value, &size));
    EXPECT_EQ(std::make_tuple(DWORD{REG_DWORD}, DWORD{4}, static_cast<DWORD>(c.stored == c.ui ? c.stored : c.ui)),
              std::make_tuple(type, size, *reinterpret_cast<DWORD*>(value.Get())));
    EXPECT_EQ(c.units, Sel("ZQPaperSizeTreeviewPopup"));
}

INSTANTIATE_TEST_SUITE_P(Cases, FeaturesLanguage,
                         testing::Values(LanguageCase{"Same", 0x0409, 0x0409, 0, false, 2},
                                         LanguageCase{"FirstLetter", 0, 0x0409, 0, false, 0},
                                         LanguageCase{"NewMetric", 0x0409, 0x0407, 1, false, 1},
                                         LanguageCase{"NewChosen", 0x0409, 0x0407, 1, true, 2}),
                         [](const testing::TestParamInfo<LanguageCase>& info) { return std::string(info.param.name); });

// Black ink only prints no borderless photos: the box goes out at start and at each activation.
TEST_F(FeaturesPage, BlackOnlyEndsTheBorderlessBox) {
    AddItems();
    Build();
    m_host.SetSelection("ZQPrintInGrayScale", 1);
    ASSERT_NE(nullptr, Open());
    EXPECT_FALSE(Checked(IDC_CHECK_BORDERLESS_PHOTO));
    EXPECT_FALSE(Enabled(IDC_CHECK_BORDERLESS_PHOTO));
    EnableWindow(Ctl(IDC_CHECK_BORDERLESS_PHOTO), TRUE);
    CheckDlgButton(m_page, IDC_CHECK_BORDERLESS_PHOTO, BST_CHECKED);
    Notify(PSN_SETACTIVE);
    EXPECT_FALSE(Checked(IDC_CHECK_BORDERLESS_PHOTO));
    EXPECT_FALSE(Enabled(IDC_CHECK_BORDERLESS_PHOTO));
}

// A message without the page's context, page object, items, private devmode or (for a start or a
// command) its rules changes nothing and leaves last error 13; a page whose heap block cannot be had
// does not start.
TEST_F(FeaturesPage, MessagesWithoutTheirPiecesChangeNothing) {
    AddItems();
    Build();
    PROPSHEETPAGEW psp = {};
    PageContext broken[2] = {m_context, m_context};
    broken[0].pPage = nullptr;
    broken[1].pRules = nullptr;
    for (PageContext& context : broken) {
        psp.lParam = reinterpret_cast<LPARAM>(&context);
        SetLastError(0);
        EXPECT_FALSE(FeaturesPageDlgProc(m_parent, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&psp)));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    }
    psp.lParam = reinterpret_cast<LPARAM>(&m_context);
    m_host.Param()->hOEMHeap = nullptr;
    EXPECT_FALSE(FeaturesPageDlgProc(m_parent, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&psp)));
    EXPECT_EQ(0, GetWindowLongPtrW(m_parent, DWLP_USER));
    m_host.Param()->hOEMHeap = GetProcessHeap();
    ASSERT_NE(nullptr, Open());

    const ZQUIDevmode before = Work();
    Clear();
    m_host.Param()->pOEMDM = nullptr;
    NMHDR apply = {m_parent, 0, static_cast<UINT>(PSN_APPLY)};
    for (UINT message : {UINT(WM_COMMAND), UINT(WM_NOTIFY), UINT(WM_PAINT), UINT(WM_HELP)}) {
        SetLastError(0);
        EXPECT_FALSE(FeaturesPageDlgProc(m_page, message, MAKEWPARAM(IDC_BTN_PREVIEW_PORT, BN_CLICKED),
                                         message == WM_NOTIFY ? reinterpret_cast<LPARAM>(&apply) : 0));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError()) << message;
    }
    m_host.Param()->pOEMDM = &m_core;
    m_context.pRules = nullptr;
    SetLastError(0);
    EXPECT_FALSE(FeaturesPageDlgProc(m_page, WM_COMMAND, MAKEWPARAM(IDC_BTN_PREVIEW_PORT, BN_CLICKED), 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    m_context.pRules = m_rules.get();
    EXPECT_EQ(0, memcmp(&before, &Work(), sizeof before));
    EXPECT_TRUE(m_host.Updates().empty());
    EXPECT_TRUE(m_gates->calls.empty());
}

// Either template, as the page starts: every control whole in its frame (the texts come with the
// page's groups); the right-to-left template is mirrored and answers by the same ids.
class FeaturesWhole : public FeaturesPage, public testing::WithParamInterface<bool> {};

TEST_P(FeaturesWhole, ShowsWhole) {
    const WORD wTemplate = GetParam() ? IDD_DLG_FEATURESPAGE_RTL : IDD_DLG_FEATURESPAGE;
    AddItems();
    Build();
    ASSERT_NE(nullptr, Open(wTemplate));
    EXPECT_EQ(GetParam(), (GetWindowLongPtrW(m_page, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0);
    for (const std::string& fault : zqtest::LayoutFaults(m_page, Resources(), wTemplate)) ADD_FAILURE() << fault;
    Click(m_page, IDC_BTN_PREVIEW_PORT);
    EXPECT_TRUE(Checked(IDC_RB_LANDSCAPE));
}

INSTANTIATE_TEST_SUITE_P(Templates, FeaturesWhole, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "RightToLeft" : "LeftToRight");
                         });

}  // namespace
