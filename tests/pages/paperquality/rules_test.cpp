// The Paper/Quality page's rules around the paper and the quality: the paper's dimensions as the
// page shows them, what a new paper size means, the covers after another page, borderless twins,
// the print-preview box, the boxes a large-format paper entry allows and the resolution texts.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "macrotest.h"
#include "pagetest.h"

namespace {

using zqtest::ListFeature;

const std::vector<std::pair<std::string, std::wstring>> kOnOff = {{"OFF", L"Off"}, {"ON", L"On"}};

// Papers with their sizes in tenths of a millimetre.
WORD g_ids[] = {1, 9, 300, 301};
POINT g_sizes[] = {{2159, 2794}, {2100, 2970}, {2155, 2795}, {8410, 11890}};

class PaperQualityRules : public PaperQualityPage {
protected:
    void UsePapers() {
        m_caps.dwPaperCount = 4;
        m_caps.pPaperIds = g_ids;
        m_caps.pPaperSizes = g_sizes;
    }
    void LoadBorderless(const std::string& entries) {
        zqxmltest::TempFile file(zqxmltest::HelperFile("<helper><features>" + zqmacrotest::Feature("Unused", {}) +
                                                       "</features><macros></macros><BorderlessSettings>" + entries +
                                                       "</BorderlessSettings></helper>"));
        ASSERT_TRUE(m_rules->Parser().BLoad(file.Path()));
        m_rules->Parser().VSetLoaded(TRUE);
    }
};

TEST_F(PaperQualityRules, DocumentSizeInBothUnitsNumberFormatsAndOrientations) {
    AddItems();
    Build();
    UsePapers();
    ASSERT_NE(nullptr, Open());
    ZQUIDevmode& work = *m_logic.WorkDM();
    const struct {
        DWORD unitMm;
        short paper;
        WORD orientation;
        LANGID ui;
        const wchar_t* text;
    } cases[] = {
        {1, 9, 1, 0x0409, L"210 \u00D7 297 mm"},
        {1, 9, 2, 0x0409, L"297 \u00D7 210 mm"},
        {1, 300, 1, 0x0409, L"215 \u00D7 279 mm"},  // 215.5 and 279.5 round down
        {0, 1, 1, 0x0409, L"8.5 \u00D7 11 inches"},
        {0, 1, 2, 0x0407, L"11 \u00D7 8,5 inches"},
        {0, 999, 1, 0x0409, L"11 \u00D7 8,5 inches"},  // not a paper of the printer: left as it was
        {0, 1, 1, 0x0fff, L" inches"},                  // numbers the language cannot write: the unit alone
    };
    for (const auto& c : cases) {
        zqtest::CUiLanguage ui(c.ui);
        work.dwUnitMm = c.unitMm;
        work.wOrientation = c.orientation;
        m_public.dmPaperSize = c.paper;
        m_tab->VSetDocumentSizeText(&m_context);
        EXPECT_EQ(c.text, std::wstring(m_tab->StateForTesting().szDimensions)) << c.paper;
        EXPECT_EQ(c.text, Text(IDC_STA_MEDIA_SIZE_DIMENSIONS));
    }
}

TEST_F(PaperQualityRules, LargeFormatPageTurnsWithItsLanguageAndRotation) {
    AddItems(true);
    Build();
    UsePapers();
    ZQUIDevmode& work = *m_logic.WorkDM();
    work.dwUnitMm = 1;
    m_public.dmPaperSize = 9;
    const struct {
        WORD orientation;
        DWORD pdl, rotate90;
        const wchar_t* text;
    } cases[] = {
        {2, kPdlZqgl2, 0, L"297 \u00D7 210 mm"}, {2, kPdlZqgl2, 1, L"210 \u00D7 297 mm"},
        {2, kPdlPcl5, 0, L"210 \u00D7 297 mm"},  {1, kPdlPcl3, 1, L"297 \u00D7 210 mm"},
    };
    for (const auto& c : cases) {
        work.wOrientation = c.orientation;
        work.dwPdl = c.pdl;
        work.dwRotate90 = c.rotate90;
        m_tab->VSetDocumentSizeText(&m_context);  // without a window: the page's own text
        EXPECT_EQ(c.text, std::wstring(m_tab->StateForTesting().szDimensions)) << c.pdl << " " << c.rotate90;
    }
}

TEST_F(PaperQualityRules, NewPaperSizeScalesOrEndsLayoutsByItsKind) {
    m_papers = {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"A0", L"A0"}, {"ZQ_BORDERLESS_4X6", L"Photo (borderless)"},
                {"ZQ_BORDERLESS_HAGAKI", L"Postcard (borderless)"}, {"ZQ_BANNER_A1", L"Banner A1"}};
    AddItems();
    m_host.Add(ListFeature("ZQPosterPrinting", kOnOff));
    m_host.Add(ListFeature("Duplex", {{"NONE", L"None"}, {"VERTICAL", L"Long Edge"}}, 0, DMPUB_DUPLEX));
    m_host.Add(zqtest::ValueFeature("ScaleFromLargePaper", "INSTALLED"));
    Build();
    UsePapers();
    m_host.Param()->pPrinterName = const_cast<PWSTR>(L"ZQ Memory Printer");
    m_logic.m_pCaps = &m_caps;
    m_logic.VSetResourceModule(m_tab->HResModule());
    // The printer takes A4 at most.
    const DWORD none = 0;
    m_printer.SetCapability(DC_MAXEXTENT, &none, 0, sizeof none);
    m_printer.SetCapabilityAnnounced(DC_MAXEXTENT, static_cast<int>(MAKELONG(2200, 3000)));
    ZQUIDevmode& work = *m_logic.WorkDM();
    const struct {
        int paper;
        short dmPaper;
        DWORD booklet, duplex, perSheet, printDocOn, scaleToFit, scale, printedOn, pageOrder;
        int poster, duplexItem;
    } cases[] = {
        // paper  booklet duplex n-up doc-on fit scale printed-on order poster duplex-item
        {0, 1, 1, 2, 3, 0, 0, 50, 0, 0, 1, 1},     // Letter: nothing to do
        {2, 301, 1, 2, 3, 1, 1, 50, 9, 0, 0, 1},   // A0: printed on the largest paper taken, posters off
        {3, 1, 0, 1, 1, 0, 0, 100, 0, 0, 0, 0},    // borderless: one page, one side, full size
        {4, 1, 1, 2, 3, 0, 0, 100, 0, 0, 0, 1},    // postcards keep two sides and pages per sheet
        {5, 1, 0, 1, 1, 0, 0, 100, 0, 1, 0, 0},    // a banner also prints back to front
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paper);
        m_host.SetSelection("PaperSize", c.paper);
        m_host.SetSelection("ZQPosterPrinting", 1);
        m_host.SetSelection("Duplex", 1);
        m_public.dmPaperSize = c.dmPaper;
        work.dwBooklet = 1;
        work.wDuplex = 2;
        work.dwPagesPerSheet = 3;
        work.dwPrintDocOn = work.dwScaleToFit = work.dwPrintedOnPaper = work.dwPageOrder = 0;
        work.dwScalePercent = 50;
        m_tab->VOnPaperSizeChanged(&m_context);
        const DWORD got[] = {work.dwBooklet, work.wDuplex,         work.dwPagesPerSheet,  work.dwPrintDocOn,
                             work.dwScaleToFit, work.dwScalePercent, work.dwPrintedOnPaper, work.dwPageOrder};
        const DWORD want[] = {c.booklet, c.duplex, c.perSheet, c.printDocOn, c.scaleToFit, c.scale, c.printedOn, c.pageOrder};
        for (size_t i = 0; i < sizeof got / sizeof got[0]; ++i) EXPECT_EQ(want[i], got[i]) << i;
        EXPECT_EQ(c.poster, Sel("ZQPosterPrinting"));
        EXPECT_EQ(c.duplexItem, Sel("Duplex"));
    }
}

// With and without the driver's page exceptions.
class PaperQualityCovers : public PaperQualityRules, public ::testing::WithParamInterface<bool> {};

TEST_P(PaperQualityCovers, ControlsFollowAnotherPage) {
    const bool exceptions = GetParam();
    AddItems();
    const char* feeders[] = {"Back_Cover_from_Feeder_InputBin", "Front_Cover_from_Feeder_InputBin"};
    for (const char* feeder : feeders) m_host.Add(ListFeature(feeder, {{"None", L"None"}, {"Upper", L"Upper"}}));
    if (exceptions) m_host.Add(ListFeature("ZQPageExceptions", kOnOff));
    Build();
    ZQUIDevmode& work = *m_logic.WorkDM();
    // Without a window the page still turns the feeders off.
    for (const char* feeder : feeders) m_host.SetSelection(feeder, 1);
    m_tab->VRefreshCoverControls(&m_context);
    for (const char* feeder : feeders) EXPECT_EQ(0, Sel(feeder)) << feeder;
    ASSERT_NE(nullptr, Open());
    work.dwDiffPaper = 1;
    m_tab->VRefreshCoverControls(&m_context);
    EXPECT_TRUE(Checked(IDC_CHK_MEDIA_PAPER_DIFF));
    // Another page turned different papers off: the box follows, unless page exceptions own it.
    work.dwDiffPaper = 0;
    m_tab->VRefreshCoverControls(&m_context);
    EXPECT_EQ(exceptions, Checked(IDC_CHK_MEDIA_PAPER_DIFF));
    // Once the window is gone, nothing reaches for it.
    DestroyWindow(m_page);
    m_page = nullptr;
    work.dwDiffPaper = 1;
    m_tab->VRefreshCoverControls(&m_context);
}

INSTANTIATE_TEST_SUITE_P(PageExceptions, PaperQualityCovers, ::testing::Bool());

TEST_F(PaperQualityRules, BorderlessTwinsBothWays) {
    m_papers = {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"ZQ_BORDERLESS_LETTER", L"Letter (borderless)"}};
    AddItems();
    Build();
    LoadBorderless("<Borderless><Paper>LETTER</Paper><Borderless_Paper>ZQ_BORDERLESS_LETTER</Borderless_Paper>"
                   "</Borderless>");
    ASSERT_NE(nullptr, Open());
    // A paper without an entry has none.
    EXPECT_FALSE(m_tab->BHasBorderlessTwin(&m_context));
    EXPECT_FALSE(m_tab->BSelectBorderlessTwin(&m_context));
    EXPECT_EQ(L"A4", Text(IDC_CBO_MEDIA_SIZE_IS));
    for (const auto& [from, to, name] : {std::make_tuple(0, 2, L"Letter (borderless)"), std::make_tuple(2, 0, L"Letter")}) {
        m_host.SetSelection("PaperSize", from);
        m_host.ClearUpdates();
        ASSERT_TRUE(m_tab->BHasBorderlessTwin(&m_context));
        ASSERT_TRUE(m_tab->BSelectBorderlessTwin(&m_context));
        EXPECT_EQ(name, Text(IDC_CBO_MEDIA_SIZE_IS));
        EXPECT_EQ(to, Sel("PaperSize"));
        ASSERT_FALSE(m_host.Updates().empty());
        EXPECT_EQ("PaperSize", m_host.Updates().back().keyword) << "reported to the core driver";
    }
}

// In pop-up mode the switch itself refills the short list around the twin, whoever asked for it.
TEST_F(PaperQualityRules, BorderlessTwinRefillsThePopUpList) {
    m_papers = {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"ZQ_BORDERLESS_LETTER", L"Letter (borderless)"}};
    AddItems();
    m_host.Add(ListFeature("ZQPaperSizeTreeviewPopup", {{"English", L"English"}, {"Metric", L"Metric"}}));
    Build();
    LoadBorderless("<Borderless><Paper>LETTER</Paper><Borderless_Paper>ZQ_BORDERLESS_LETTER</Borderless_Paper>"
                   "</Borderless>");
    ASSERT_NE(nullptr, Open());
    m_host.SetSelection("PaperSize", 0);
    ASSERT_TRUE(m_tab->BSelectBorderlessTwin(&m_context));
    EXPECT_EQ(2, Sel("PaperSize"));
    std::vector<std::wstring> entries;
    HWND list = Ctl(IDC_CBO_MEDIA_SIZE_IS);
    for (LRESULT i = 0, n = SendMessageW(list, CB_GETCOUNT, 0, 0); i < n; ++i) {
        WCHAR text[256] = {};
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Letter (borderless)", L"More..."}), entries);
    EXPECT_EQ(L"Letter (borderless)", Text(IDC_CBO_MEDIA_SIZE_IS));
}

TEST_F(PaperQualityRules, PrintPreviewBoxOnLocalAndNetworkPrinters) {
    AddItems();
    m_host.Add(ListFeature("ZQPrintPreview", kOnOff, 1));
    m_host.Add(ListFeature("PSServicesOption", {{"EWS", L"Web services"}}));
    Build();
    ASSERT_NE(nullptr, Open());
    ZQUIDevmode& work = *m_logic.WorkDM();
    m_core.dwLayoutMode = 3;
    const struct {
        const wchar_t* server;
        const wchar_t* webServer;  // "ZQEWSIPAddress"; null: none
        DWORD pdl;
        bool shown;
    } cases[] = {
        {L"", L"10.0.0.7,0", kPdlPcl5, true},
        {L"\\\\PrintServer", L"10.0.0.7,0", kPdlPcl5, false},
        {L"", nullptr, kPdlPcl5, false},  // no web server to preview with
        {L"", nullptr, kPdlPcl3, true},   // the full interface of the page language previews itself
        {L"\\\\PrintServer", nullptr, kPdlPcl3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        m_printer.Identity().server = c.server;
        m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, L"ZQEWSIPAddress", c.webServer ? c.webServer : L"");
        work.dwPdl = c.pdl;
        m_host.SetSelection("ZQPrintPreview", 1);
        m_tab->VUpdatePrintPreviewBox(&m_context);
        EXPECT_EQ(c.shown, Shown(IDC_CHK_SHOW_PREVIEW_FIN));
        EXPECT_EQ(c.shown, Enabled(IDC_CHK_SHOW_PREVIEW_FIN));
        EXPECT_EQ(c.shown ? 1 : 0, Sel("ZQPrintPreview")) << "a box not offered turns the preview off";
    }
    m_printer.Identity().server.clear();
}

TEST_F(PaperQualityRules, BoxesOfALargeFormatPaperEntry) {
    AddItems(true);
    for (const char* feature : {"ZQMaximumDetail", "ZQDisableAutoCutter", "ZQMorePasses", "ZQLQJGlossEnhancer"})
        m_host.Add(ListFeature(feature, kOnOff));
    Build();
    // Glossy supports everything and has one profile; Plain supports nothing.
    auto put = [&](const wchar_t* key, const wchar_t* name, DWORD value) {
        m_printer.PutValue(key, name, REG_DWORD, &value, sizeof value);
    };
    for (const wchar_t* support : {L"MaxDetailSupport", L"CutterSupport", L"ExtraPassesSupport", L"GlossEnhancerSupport"}) {
        put(L"PaperList\\Glossy", support, 1);
        put(L"PaperList\\Plain", support, 0);
    }
    for (const wchar_t* value : {L"MaxDetail", L"GlossEnhancer", L"ExtraPasses"}) put(L"PaperList\\Glossy\\Best", value, 1);
    CZQBinding& binding = m_gates->binding;
    ASSERT_TRUE(binding.BReadPrinterRecords(m_hPrinter, &m_public) || binding.papers.dwCount == 2);
    ASSERT_EQ(2u, binding.papers.dwCount);
    m_context.pPapers = &binding.papers;
    ASSERT_NE(nullptr, Open());
    const char* features[] = {"ZQMaximumDetail", "ZQDisableAutoCutter", "ZQMorePasses", "ZQLQJGlossEnhancer"};
    const struct {
        const char* name;
        int paper;
        BOOL found;
        int profile;
        int expected[4];
        bool boxesEnabled;
    } cases[] = {
        {"supported", 0, TRUE, 0, {1, 1, 1, 1}, true},
        {"no such profile", 0, TRUE, 5, {0, 1, 0, 0}, true},
        {"no profile", 0, TRUE, -1, {0, 1, 0, 0}, true},
        {"not supported", 1, TRUE, 0, {0, 0, 0, 0}, false},
        {"not found", 0, FALSE, 0, {1, 1, 1, 1}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* f : features) m_host.SetSelection(f, 1);
        for (int id : {IDC_CHK_MAX_DETAILS, IDC_CHK_DISABLE_AUTO_CUTTER}) EnableWindow(Ctl(id), TRUE);
        m_tab->VSetMaximumDetailFromPaper(&m_context, c.paper, c.found, c.profile);
        m_tab->VSetAutoCutterFromPaper(&m_context, c.paper, c.found);
        m_tab->VSetMorePassesFromPaper(&m_context, c.paper, c.found, c.profile);
        m_tab->VSetGlossEnhancerFromPaper(&m_context, c.paper, c.found, c.profile);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(c.expected[i], Sel(features[i])) << features[i];
        EXPECT_EQ(c.boxesEnabled, Enabled(IDC_CHK_MAX_DETAILS));
        EXPECT_EQ(c.boxesEnabled, Enabled(IDC_CHK_DISABLE_AUTO_CUTTER));
        if (c.found) {
            EXPECT_EQ(c.expected[0] == 1, Checked(IDC_CHK_MAX_DETAILS));
        }
    }
}

class PaperQualityResolution : public PaperQualityRules, public ::testing::WithParamInterface<bool> {};

TEST_P(PaperQualityResolution, TextsOnlyWithTheirFeature) {
    const bool feature = GetParam();
    AddItems();
    if (feature) m_host.Add(ListFeature("PQDPI", {{"600", L"600"}}));
    Build();
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(feature, Shown(IDC_STA_RENDER_DPI)) << "the refresh shows them with their feature only";
    SetWindowTextW(Ctl(IDC_STA_RENDER), L"kept");
    EXPECT_EQ(feature, m_tab->BShowResolutionTexts(&m_context) != FALSE);
    // The rules name no string for the values: the separator alone.
    const std::pair<int, const wchar_t*> texts[] = {{IDC_STA_RENDER_DPI, L"Black render dpi"}, {IDC_STA_RENDER, L":"},
                                                    {IDC_COLOR_INPUT_DPI, L"Color input dpi"},   {IDC_COLOR_INPUT, L":"},
                                                    {IDC_COLOR_OUTPUT, L"Color output"},         {IDC_COLOR_OUTPUT_DPI, L":"}};
    if (!feature) {
        EXPECT_EQ(L"kept", Text(IDC_STA_RENDER));
        return;
    }
    for (const auto& [id, text] : texts) EXPECT_EQ(text, Text(id)) << id;
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutDpi, PaperQualityResolution, ::testing::Bool());

}  // namespace
