// The Effects page in its sheet: coming to the front (a large-format printer's picture jobs at their
// own size, two-sided printing by hand, the covers of the Paper/Quality page), leaving it, OK or
// Apply on the last page visited, the change check, help with the administrator's locks, the
// sample page's click, and the sample page's record.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "common/zqstrings.h"
#include "effectstest.h"
#include "featurelogic/zqquicksets.h"
#include "macrotest.h"
#include "previewtest.h"

#include <commctrl.h>

namespace {

using zqtest::ListFeature;

class EffectsSheet : public EffectsPage {
protected:
    void Open(const std::string& without = "") {
        AddItems(without);
        Build();
        ASSERT_NE(nullptr, EffectsPage::Open());
    }
    // The help id the page gives a control.
    int Help(int id) {
        DWORD table[2 * (CZQEffectsTab::kHelpPairs + 1)] = {};
        m_tab->VBuildHelpIdTable(table, &m_context);
        EXPECT_EQ(0u, table[2 * CZQEffectsTab::kHelpPairs]) << "the table ends in (0, 0)";
        for (int i = 0; i < CZQEffectsTab::kHelpPairs; ++i)
            if (table[2 * i] == static_cast<DWORD>(id)) return static_cast<int>(table[2 * i + 1]);
        return -2;
    }
};

// A large-format printer of the large-format language that sends its jobs as 24-bit pictures
// prints them at their own size: "Actual Size" is chosen and the other resizing controls locked;
// sent otherwise, its two other choices come back. Any other printer's controls stay as they are.
TEST_F(EffectsSheet, PictureJobsOfTheLargeFormatLanguagePrintAtTheirOwnSize) {
    AddItems("ZQPrinterClass");
    m_host.Add(zqtest::ValueFeature("ZQPrinterClass", "ZQKorrix"));
    m_host.Add(ListFeature("ZQSendJobAsBitmap", {{"Off", L"Off"}, {"SleekMode24bpp", L"24-bit pictures"}}, 1));
    m_core.dwPdl = kPdlZqgl2;
    m_caps.dwFlags = 0x2;
    Build();
    m_caps.dwFlags = 0x2;
    ASSERT_NE(nullptr, EffectsPage::Open());
    const int locked[] = {IDC_RB_PRINT_DOC_ON, IDC_CBO_DEST_PAPER_SIZE, IDC_CHK_FIT_TO_SCALE, IDC_RB_SCALING,
                          IDC_TXT_NORMAL_SIZE, IDC_CTL_HSCROLL};
    const struct {
        DWORD capsFlags, pdl;
        LONG sent;
        bool forced;
    } cases[] = {
        {0x2, kPdlZqgl2, 1, true},
        {0x2, kPdlZqgl2, 0, false},  // sent otherwise: the radios come back
        {0x0, kPdlZqgl2, 1, false},  // not a printer that may
        {0x2, kPdlPcl3, 1, false},   // not the large-format language
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.capsFlags << " " << c.pdl << " " << c.sent);
        m_caps.dwFlags = c.capsFlags;
        Work().dwPdl = c.pdl;
        m_host.SetSelection("ZQSendJobAsBitmap", c.sent);
        // The document scaled to 150 %: unless forced, the page shows the typed scale.
        Work().dwPrintDocOn = 0;
        Work().dwScalePercent = 150;
        for (int id : locked) EnableWindow(Ctl(id), id != IDC_RB_PRINT_DOC_ON && id != IDC_RB_SCALING);
        CheckRadioButton(m_page, IDC_RB_PRINT_DOC_ON, IDC_RB_SCALING, IDC_RB_SCALING);
        Notify(PSN_SETACTIVE);
        EXPECT_EQ(c.forced, Checked(IDC_RB_ACTUAL_SIZE));
        EXPECT_EQ(c.forced ? 100u : 150u, Work().dwScalePercent);
        for (int id : locked) {
            const bool radio = id == IDC_RB_PRINT_DOC_ON || id == IDC_RB_SCALING;
            const bool answered = c.capsFlags && c.pdl == kPdlZqgl2;
            const bool typed = id == IDC_TXT_NORMAL_SIZE || id == IDC_CTL_HSCROLL;
            EXPECT_EQ(c.forced ? false : radio ? answered : typed, Enabled(id)) << id;
        }
    }
}

// A printer with a duplex unit that also prints both sides by hand turns the unit's two-sided
// printing into two-sided printing by hand when the page comes to the front, unless the settings
// hold the unit's use.
TEST_F(EffectsSheet, TwoSidedPrintingByHandOnComingToTheFront) {
    Open();
    const struct {
        WORD duplex;
        DWORD manual;
        LONG useUnit;
        bool turned;
    } cases[] = {{DMDUP_VERTICAL, 0, 0, true}, {DMDUP_VERTICAL, 1, 0, false}, {DMDUP_SIMPLEX, 0, 0, false},
                 {DMDUP_VERTICAL, 0, 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.duplex << " " << c.manual << " " << c.useUnit);
        Work().wDuplex = c.duplex;
        Work().dwManualDuplex = c.manual;
        m_host.SetSelection("ZQUseAutoDuplexUnit", c.useUnit);
        m_host.SetSelection("Duplex", c.duplex == DMDUP_SIMPLEX ? 0 : 1);
        m_host.SetSelection("ZQPrintOnBothSidesManually", static_cast<LONG>(c.manual));
        Notify(PSN_SETACTIVE);
        EXPECT_EQ(c.turned || c.duplex == DMDUP_SIMPLEX ? 0 : 1, Sel("Duplex"));
        EXPECT_EQ(c.turned || c.manual ? 1 : 0, Sel("ZQPrintOnBothSidesManually"));
        EXPECT_EQ(c.turned || c.manual ? 1u : 0u, Work().dwManualDuplex);
    }
}

// Leaving the page makes it the one the sheet opens on; an empty scale box takes the stored scale
// back and a scale below 25 is raised to it.
TEST_F(EffectsSheet, LeavingRecordsTheStartPageAndMendsTheScaleBox) {
    Open();
    m_core.iStartPage = 832;
    Work().dwScalePercent = 130;
    for (const auto& [typed, shown] : std::map<std::wstring, std::wstring>{{L"", L"130"}, {L"10", L"25"}, {L"60", L"60"}}) {
        SetDlgItemTextW(m_page, IDC_TXT_NORMAL_SIZE, typed.c_str());
        EXPECT_EQ(0, Notify(PSN_KILLACTIVE));
        EXPECT_EQ(shown, Text(IDC_TXT_NORMAL_SIZE)) << typed;
    }
    EXPECT_EQ(812, m_core.iStartPage);
}

// OK or Apply: every page's result goes to the sheet, and the page at the highest position visited
// synchronises before and exports after it, also when the sheet refuses the result.
TEST_F(EffectsSheet, OnlyTheLastPageVisitedSynchronisesAndExports) {
    Open();
    ExpectApplyOnlyOnTheLastPageVisited(kPageEffects);
}

// The page counts as changed while any of its settings differs from the ones the sheet opened with
// (the scale only while it can be typed, a margin box only where its feature shows it), once for a
// changed watermark of the Watermark Details dialog, and while the quick set counts as changed.
TEST_F(EffectsSheet, ChangeCheckAgainstTheSettingsTheSheetOpenedWith) {
    AddItems();
    m_host.Add(ListFeature("ZQCenterOnPage", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
    Build();
    ASSERT_NE(nullptr, EffectsPage::Open());
    auto state = [&] {
        m_sheetMessages.clear();
        m_tab->VUpdateChangedState(m_page, &m_context);
        return m_sheetMessages.size() == 1 ? m_sheetMessages[0] : 0u;
    };
    EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), state());
    EnableWindow(Ctl(IDC_TXT_NORMAL_SIZE), TRUE);
    const struct {
        const char* what;
        void (*change)(ZQUIDevmode&);
    } fields[] = {
        {"print on", [](ZQUIDevmode& w) { w.dwPrintDocOn ^= 1; }},
        {"paper printed on", [](ZQUIDevmode& w) { w.dwPrintedOnPaper = DMPAPER_LEGAL; }},
        {"scale to fit", [](ZQUIDevmode& w) { w.dwScaleToFit ^= 1; }},
        {"scale", [](ZQUIDevmode& w) { w.dwScalePercent = 150; }},
        {"watermark", [](ZQUIDevmode& w) { w.dwWmListIndex = 3; }},
        {"first page only", [](ZQUIDevmode& w) { w.dwWmFirstPageOnly ^= 1; }},
        {"orientation", [](ZQUIDevmode& w) { w.wOrientation = 2; }},
    };
    for (const auto& f : fields) {
        const ZQUIDevmode before = Work();
        f.change(Work());
        EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), state()) << f.what;
        Work() = before;
    }
    Work().dwScalePercent = 150;
    EnableWindow(Ctl(IDC_TXT_NORMAL_SIZE), FALSE);
    EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), state()) << "a scale that cannot be typed";
    Work().dwScalePercent = m_core.dwScalePercent;

    // "Center On Page" counts once shown, against its feature as the sheet opened.
    ShowWindow(Ctl(IDC_CHECK_CENTER_ON_PAGE), SW_HIDE);
    CheckDlgButton(m_page, IDC_CHECK_CENTER_ON_PAGE, BST_CHECKED);
    EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), state()) << "hidden";
    ShowWindow(Ctl(IDC_CHECK_CENTER_ON_PAGE), SW_SHOW);
    EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), state());
    CheckDlgButton(m_page, IDC_CHECK_CENTER_ON_PAGE, BST_UNCHECKED);

    // The dialog's changed watermark counts once; the quick set's change as long as it lasts.
    m_tab->WatermarksForTesting().BAllocEditRecord();
    ZQCopyText(m_tab->WatermarksForTesting().EditRecord()->szName, 256, L"Draft");
    m_tab->WatermarksForTesting().VCheckChanged(2);
    EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), state());
    EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), state());
    m_context.pQuickSets->BSetChanged(m_page);
    EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), state());
}

// The help ids: the shown sample-page button, the administrator's locks, the margin items' own help
// or the page's fall-back where the printer lacks them.
TEST_F(EffectsSheet, HelpWithTheAdministratorsLocks) {
    AddItems();
    auto symmetric = ListFeature("ZQSymmetricMargins", {{"FALSE", L"Off"}, {"TRUE", L"On"}});
    m_host.Add(symmetric);
    Build();
    m_host.Item("ZQSymmetricMargins")->HelpIndex = 16001;
    ASSERT_NE(nullptr, EffectsPage::Open());
    EXPECT_EQ(14089, Help(IDC_CBO_WATERMARKS));
    EXPECT_EQ(14024, Help(IDC_CHK_FIRST_PAGE_WM));
    m_printer.PutString(L"DMCLockData\\Printing", L"Watermarks", L"Lock");
    m_printer.PutString(L"DMCLockData\\Printing", L"FitToOtherSizeChoice", L"Lock");
    EXPECT_EQ(15147, Help(IDC_CBO_WATERMARKS));
    EXPECT_EQ(15147, Help(IDC_RB_PRINT_DOC_ON));
    EXPECT_EQ(14024, Help(IDC_CHK_FIRST_PAGE_WM)) << "not locked";
    EXPECT_EQ(16001, Help(IDC_CHECK_SYMMETRICAL_MARGINS));
    EXPECT_EQ(-1, Help(IDC_CHECK_EMULATE_MARGINS));
    EXPECT_EQ(15318, Help(IDC_CHECK_MINIMIZE_MARGINS));
    EXPECT_EQ(15475, Help(IDC_CHECK_CENTER_ON_PAGE));
    // Landscape pages, and portrait pages two to a sheet, show the landscape button.
    for (const auto& [orientation, pages, shown] :
         {std::tuple<WORD, DWORD, int>{1, 1, IDC_BTN_PREVIEW_PORT}, {2, 1, IDC_BTN_PREVIEW_LAND},
          {1, 2, IDC_BTN_PREVIEW_LAND}, {2, 4, IDC_BTN_PREVIEW_PORT}}) {
        Work().wOrientation = orientation;
        Work().dwPagesPerSheet = pages;
        EXPECT_EQ(14060, Help(shown)) << orientation << " " << pages;
    }
}

// The sample page's click turns the page, the core driver's item and the plug-in's own follow, the
// stapling rules run, the sheet hears of the change and the focus goes to the picture now shown.
TEST_F(EffectsSheet, TheSamplePagesClickTurnsThePage) {
    AddItems();
    m_host.Add(ListFeature("ZQLog_macro_StaplingConstraints", {{"OFF", L"Off"}, {"ON", L"On"}}));
    Build();
    LoadRules(zqmacrotest::Feature("Unused", {}),
              zqmacrotest::Macro("macro_StaplingConstraints", "<select_option>ZQLog_macro_StaplingConstraints.ON</select_option>"));
    ASSERT_NE(nullptr, EffectsPage::Open());
    Work().wOrientation = 2;
    Work().dwPagesPerSheet = 2;
    OwnOrientation()->Sel = 1;
    m_sheetMessages.clear();
    Notice(m_page, IDC_BTN_PREVIEW_LAND, BN_CLICKED);
    EXPECT_EQ(1, Work().wOrientation) << "landscape turns to portrait";
    EXPECT_EQ(0, OwnOrientation()->Sel);
    EXPECT_EQ(0, m_host.ItemByPubId(DMPUB_ORIENTATION)->Sel);
    EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_LAND), GetFocus()) << "two portrait pages lie across the sheet";
    EXPECT_EQ(std::vector<std::string>{"macro_StaplingConstraints"}, LoggedMacros());
    EXPECT_EQ(std::vector<UINT>{PSM_UNCHANGED}, m_sheetMessages) << "back as the sheet opened";
    Notice(m_page, IDC_BTN_PREVIEW_PORT, BN_CLICKED);
    EXPECT_EQ(2, Work().wOrientation);
    EXPECT_EQ(1, OwnOrientation()->Sel);
    EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_PORT), GetFocus());
}

// The record before each paint: the covers chosen on the Paper/Quality page, the first page's
// watermark and the scale as the page's controls show them, over the settings; no half turn on a
// printer without it.
TEST_F(EffectsSheet, PreviewRecordWithTheCoversAndThePagesControls) {
    Open();
    Work().dwRotate180 = 1;
    Work().dwDiffPaper = 1;
    m_logic.m_adwCoverFlags[1] = 1;  // a front cover on the Paper/Quality page
    Work().dwScalePercent = 50;
    Click(m_page, IDC_CHK_FIRST_PAGE_WM);
    Notice(m_page, IDC_CHK_FIRST_PAGE_WM, BN_CLICKED);
    EXPECT_EQ(1u, Work().dwWmFirstPageOnly);
    Notify(PSN_SETACTIVE);
    m_tab->VFillPreviewSettings(&m_context);
    const PreviewSettings& r = m_tab->PreviewRecordForTesting();
    EXPECT_EQ(1, r.aiValue[kPvFrontCover]);
    EXPECT_EQ(0, r.aiValue[kPvBackCover]);
    EXPECT_EQ(1, r.aiValue[kPvWatermarkFirstPage]);
    EXPECT_EQ(std::make_tuple(50, 0), std::make_tuple(r.aiValue[kPvScale], r.aiValue[kPvRotated]));
    EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_PORT), ZQPreviewWindow(r, kPvPortraitWindow));
    // Fitted to another paper the document prints at 100 %, whatever the box says.
    Work().dwPrintDocOn = 1;
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(100, r.aiValue[kPvScale]);
    // Without different papers the Paper/Quality page's covers go.
    Work().dwDiffPaper = 0;
    Notify(PSN_SETACTIVE);
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(0, r.aiValue[kPvFrontCover]);
}

}  // namespace
