// The Finishing page's groups by the printer's features, its orientation from the sample page and
// the radios, the large-format printer's turn by 90 degrees, and the sample page's record.
#include <gtest/gtest.h>

#include "finishingtest.h"
#include "macrotest.h"
#include "previewtest.h"

namespace {

using zqtest::ListFeature;

// The print preview is offered on a printer of this computer that can preview the job: through
// its web server when it lists web services, by its page language otherwise; the document options
// of the large-format language and the inkjet language's straight path follow the language.
TEST_F(FinishingPage, PreviewGroupByFeaturesLanguageAndPrinter) {
    AddItems();
    m_host.Add(ListFeature("PSServicesOption", {{"EWS", L"Web services"}}));
    Build();
    m_host.SetSelection("ZQPrintPreview", 1);
    ASSERT_NE(nullptr, Open());
    const RECT column = Rect(IDC_GB_FINISHING_ORIENTATION);
    const struct {
        const wchar_t* server;     // the printer's server ("" local)
        const wchar_t* webServer;  // "ZQEWSIPAddress"
        DWORD pdl;
        bool preview, documentOptions;
    } cases[] = {
        {L"", L"10.0.0.7,0", kPdlPcl5, true, true},
        {L"\\\\PrintServer", L"10.0.0.7,0", kPdlPcl5, false, true},
        {L"", L"", kPdlPcl5, false, true},  // no web server to preview with
        {L"", L"", kPdlPcl3, true, true},   // the inkjet language previews itself
        {L"", L"10.0.0.7,0", kPdlZqgl2, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pdl << " " << (c.server[0] ? "network" : "local"));
        m_printer.Identity().server = c.server;
        m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, L"ZQEWSIPAddress", c.webServer);
        Work().dwPdl = c.pdl;
        m_host.SetSelection("ZQPrintPreview", 1);
        m_host.SetSelection("ZQPrintOnBothSidesManually", 1);
        for (int id : {IDC_GB_DOC_OPTIONS, IDC_CHK_PAGE_BORDER, IDC_CBO_PAGE_ORDER, IDC_STA_PAGES_PER_SHEET})
            ShowWindow(Ctl(id), SW_SHOW);
        m_tab->VUpdatePreviewGroup(&m_context);
        for (int id : {IDC_CHK_SHOW_PREVIEW_FIN, IDC_GB_PREVIEW_PRINT_FIN}) {
            EXPECT_EQ(c.preview, Shown(id));
            EXPECT_EQ(c.preview, Enabled(id));
        }
        EXPECT_EQ(c.preview ? 1 : 0, Sel("ZQPrintPreview")) << "a preview not offered is turned off";
        for (int id : {IDC_GB_DOC_OPTIONS, IDC_CHK_PAGE_BORDER, IDC_CBO_PAGE_ORDER, IDC_STA_PAGES_PER_SHEET})
            EXPECT_EQ(c.documentOptions, Shown(id)) << id;
        const RECT now = Rect(IDC_GB_FINISHING_ORIENTATION);
        EXPECT_TRUE(EqualRect(&column, &now)) << "the orientation column stays";
        if (c.pdl == kPdlPcl3) {
            EXPECT_TRUE(Enabled(IDC_CHK_STRAIGHT_PAPER_PATH)) << "printed on both sides by hand";
        }
    }
    m_printer.Identity().server.clear();
    // Without the feature there is no preview to offer.
    m_host.FailFeature("ZQPrintPreview");
    m_tab->VUpdatePreviewGroup(&m_context);
    EXPECT_FALSE(Shown(IDC_CHK_SHOW_PREVIEW_FIN));
}

// Without the 180-degree box the column's boxes take its place; with it every box keeps its own. A
// printer that forbids the turn by 90 degrees keeps its box, unchecked and disabled.
struct ColumnCase {
    const char* without;  // features the driver lacks
    bool rotate180, rotate90, mirror;
    int rotate90Row, mirrorRow;  // the row of the template taken, 0 for the top
};

class FinishingColumn : public FinishingPage, public testing::WithParamInterface<ColumnCase> {};

TEST_P(FinishingColumn, ClosesUpOverMissingBoxes) {
    const ColumnCase& c = GetParam();
    AddItems(c.without);
    m_core.dwFlags = 0x100;
    m_core.dwRotate90 = 1;
    Build();
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(c.rotate180, Shown(IDC_CHK_ROTATED));
    EXPECT_EQ(c.rotate90, Shown(IDC_CHK_ROTATE90));
    EXPECT_EQ(c.mirror, Shown(IDC_CHK_MIRROR));
    // The template's rows: the 180 box's, then one row (12 dialog units) down per box.
    auto rowTop = [&](int iRow) {
        RECT rc = {0, 127 + 12 * iRow, 0, 0};
        MapDialogRect(m_page, &rc);
        return rc.top;
    };
    if (c.rotate90) {
        EXPECT_EQ(rowTop(c.rotate90Row), Rect(IDC_CHK_ROTATE90).top);
        EXPECT_FALSE(Enabled(IDC_CHK_ROTATE90)) << "forbidden";
        EXPECT_FALSE(Checked(IDC_CHK_ROTATE90));
    }
    if (c.mirror) {
        EXPECT_EQ(rowTop(c.mirrorRow), Rect(IDC_CHK_MIRROR).top);
    }
}

INSTANTIATE_TEST_SUITE_P(Printers, FinishingColumn,
                         testing::Values(ColumnCase{"", true, true, true, 1, 2},
                                         ColumnCase{"ZQOrientRotate180", false, true, true, 0, 1},
                                         ColumnCase{"ZQOrientRotate180 ZQTransverse", false, false, true, 0, 0},
                                         ColumnCase{"ZQMirrorPrint", true, true, false, 1, 0},
                                         ColumnCase{"ZQTransverse", true, false, true, 0, 2}));

// The sample page's click turns the page, the radios follow, the core driver's item and the
// plug-in's own follow, the stapling rules run, and the focus goes to the picture now shown.
TEST_F(FinishingPage, OrientationFromTheSamplePageAndTheRadios) {
    AddItems();
    m_host.Add(ListFeature("ZQLog_macro_StaplingConstraints", {{"OFF", L"Off"}, {"ON", L"On"}}));
    Build();
    LoadRules(zqmacrotest::Feature("Unused", {}),
              zqmacrotest::Macro("macro_StaplingConstraints", "<select_option>ZQLog_macro_StaplingConstraints.ON</select_option>"));
    ASSERT_NE(nullptr, Open());
    Notice(m_page, IDC_BTN_PREVIEW_PORT, BN_CLICKED);
    EXPECT_EQ(2, Work().wOrientation);
    EXPECT_EQ(1, OwnOrientation()->Sel);
    EXPECT_NE(0u, OwnOrientation()->Flags & OPTIF_CHANGED);
    EXPECT_EQ(1, m_host.ItemByPubId(DMPUB_ORIENTATION)->Sel);
    EXPECT_TRUE(Checked(IDC_RB_LANDSCAPE));
    EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_LAND), GetFocus());
    EXPECT_EQ(std::vector<std::string>{"macro_StaplingConstraints"}, LoggedMacros());
    Click(m_page, IDC_RB_PORTRAIT);
    EXPECT_EQ(1, Work().wOrientation);
    EXPECT_EQ(0, OwnOrientation()->Sel);
    EXPECT_EQ(0, m_host.ItemByPubId(DMPUB_ORIENTATION)->Sel);
    // The constraint marks' message, from whichever mark.
    BoxAnswers boxes;
    for (int id : {IDC_BTN_CONSTRAINT_MANUAL_DUPLEX, IDC_BTN_CONSTRAINT_NUP}) Notice(m_page, id, BN_CLICKED);
    ASSERT_EQ(2u, boxes.texts.size());
    EXPECT_EQ(boxes.texts[0], boxes.texts[1]);
    EXPECT_EQ(L"Options cannot be combined", boxes.captions[0]);
    EXPECT_NE(std::wstring::npos, boxes.texts[0].find(L"\"Page Exceptions\"")) << "the English message";
}

// A large-format printer turns a page by 90 degrees only where the sheet allows: never when the
// printer forbids it or turns pages by itself, and a landscape page not on a sheet drawn too
// narrow for it.
TEST_F(FinishingPage, RotateBy90WidthCheck) {
    struct Sheet : CPreviewProbe {
        using CPreviewProbe::CPreviewProbe;
        void Set(int mark, RECT page) {
            m_nWidthMarkPos = mark;
            m_rcPage = page;
        }
    };
    auto sheet = std::make_unique<Sheet>(Resources());
    Sheet* probe = sheet.get();
    m_preview = std::move(sheet);
    AddItems();
    Build();
    ASSERT_NE(nullptr, Open());
    const struct {
        DWORD flags, autorotate;
        WORD orientation;
        int mark;
        bool kept;
    } cases[] = {
        {0, 0, 2, 100, true},    // wide enough (80 x 60)
        {0, 0, 2, 50, false},    // narrower than the page drawn
        {0, 0, 1, 50, true},     // portrait pages do not turn across
        {0x100, 0, 1, 100, false},
        {0, 1, 1, 100, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.flags << " " << c.autorotate << " " << c.orientation << " " << c.mark);
        Work().dwFlags = c.flags;
        Work().dwAutorotate = c.autorotate;
        Work().wOrientation = c.orientation;
        Work().dwRotate90 = 1;
        EnableWindow(Ctl(IDC_CHK_ROTATE90), TRUE);
        CheckDlgButton(m_page, IDC_CHK_ROTATE90, BST_CHECKED);
        probe->Set(c.mark, RECT{10, 10, 90, 70});
        m_tab->VCheckRotate90Width(&m_context);
        EXPECT_EQ(c.kept ? 1u : 0u, Work().dwRotate90);
        EXPECT_EQ(c.kept, Checked(IDC_CHK_ROTATE90));
        EXPECT_EQ(c.kept, Enabled(IDC_CHK_ROTATE90));
    }
}

// The record before each paint: the page's boxes and lists over the settings, the covers of the
// Paper/Quality page, the roll paper by paper and source, the finisher by accessory, and a document
// paper of unknown size fitted onto another drawn at its own size.
TEST_F(FinishingPage, PreviewRecordFromTheControlsAndSettings) {
    AddItems();
    m_host.Add(ListFeature("AccessoryOutputBins", {{"None", L"None"}, {"MBX5Mailbox", L"Mailbox"},
                                                   {"500Stapler", L"Stapler"}}));
    Build();
    ASSERT_NE(nullptr, Open());
    Work().dwPagesPerSheet = 3;
    Work().dwPageBorders = 0;
    m_logic.m_adwCoverFlags[3] = 1;
    CheckDlgButton(m_page, IDC_CHK_PAGE_BORDER, BST_CHECKED);
    CheckDlgButton(m_page, IDC_CHK_MIRROR, BST_CHECKED);
    SendMessageW(Ctl(IDC_CBO_PAGE_ORDER), CB_SETCURSEL, 3, 0);
    m_tab->VFillPreviewSettings(&m_context);
    const PreviewSettings& r = m_tab->PreviewRecordForTesting();
    EXPECT_EQ(1, r.iPagesPerSheet) << "the list's choice: none yet";
    EXPECT_EQ(1, r.iPageBorders);
    EXPECT_EQ(3, r.iPageOrder);
    EXPECT_EQ(1, r.aiValue[kPvMirror]);
    EXPECT_EQ(1, r.aiValue[kPvBackCoverFeeder]);
    EXPECT_EQ(0, r.aiValue[kPvFrontCover]);
    EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_PORT), ZQPreviewWindow(r, kPvPortraitWindow));
    m_logic.SheetState()->bPosterFlag = TRUE;
    SendMessageW(Ctl(IDC_CBO_PAGE_ORDER), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(1, r.iPagesPerSheet);
    EXPECT_EQ(0, r.iPageOrder);
    m_logic.SheetState()->bPosterFlag = FALSE;

    const struct {
        int paper, source, accessory;
        int roll, mailbox;
    } cases[] = {
        {1, 0, 0, 1, 0},  // the automatic source feeds the roll
        {1, 1, 1, 1, 2},  // a tray of its own name
        {1, 2, 2, 0, 1},  // the sheet feeder
        {1, 3, 0, 0, 0},  // manual feed
        {2, 1, 0, 0, 0},  // a sheet paper
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.paper << " " << c.source << " " << c.accessory);
        m_host.SetSelection("PaperSize", c.paper);
        m_host.SetSelection("InputBin", c.source);
        m_host.SetSelection("AccessoryOutputBins", c.accessory);
        m_tab->VFillPreviewSettings(&m_context);
        EXPECT_EQ(c.roll, r.aiExtra[kPxRollPaper]);
        EXPECT_EQ(c.mailbox, r.aiValue[kPvFinisherKind]);
    }

    // Fitted onto Legal: the smaller ratio (A4: 102 % across, 119 % down); from a paper the printer
    // does not list, its own size.
    Work().dwPrintDocOn = Work().dwScaleToFit = 1;
    Work().dwPrintedOnPaper = DMPAPER_LEGAL;
    CPreviewProbe preview(Resources());
    for (const auto& [paper, scale] : {std::pair<short, int>{DMPAPER_A4, 102}, std::pair<short, int>{DMPAPER_A3, 100}}) {
        m_public.dmPaperSize = paper;
        m_tab->VFillPreviewSettings(&m_context);
        preview.VSetSettings(&r);
        EXPECT_EQ(scale, preview.m_nScale) << paper;
    }
}

}  // namespace
