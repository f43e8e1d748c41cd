// The user's choices on the Paper/Quality page, made through the page-driving helpers: each
// reaction against the core driver's reports, the helper file's macros it runs (each macro turns a
// log feature of its own on), the working settings and the change notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "common/zqmsgbox.h"
#include "common/zqstrings.h"
#include "macrotest.h"
#include "pagetest.h"
#include "zqhostapp.h"

namespace {

using zqtest::ListFeature;
using Log = std::vector<std::string>;
using std::make_tuple;

const std::vector<std::pair<std::string, std::wstring>> kOnOff = {{"OFF", L"Off"}, {"ON", L"On"}};
const char* const kLogged[] = {"m_paper", "m_media", "m_quality", "macro_StaplingConstraints",
                               "macro_PaperSize_to_Mediatype", "macro_custom_paper_size",
                               "macro_Mediatype_to_PaperSize", "macro_BannerMediaType_to_BannerPaperSize",
                               "macro_MediaType_to_FaceControl", "macro_CD_DVD", "macro_pop_up_4800_1200_warning",
                               "macro_ZQOptimizeFor"};
const Log kWarned = {"macro_pop_up_4800_1200_warning"};

class PaperQualityChoices : public PaperQualityPage {
protected:
    void Prepare(bool largeFormat = false) {
        AddItems(largeFormat);
        m_host.Add(ListFeature("Stapling", {{"NONE", L"None"}, {"STAPLE", L"Staple"}}));
        m_host.Add(ListFeature("Duplex", {{"NONE", L"None"}, {"LONG", L"Long"}}, 1, DMPUB_DUPLEX));
        m_host.Add(ListFeature("Orientation", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE", L"Landscape"}}, 0,
                               DMPUB_ORIENTATION));
        m_host.Add(ListFeature("ZQOptimizeFor", {{"OptimizeText", L"Text"}, {"OptimizeImage", L"Images"}}));
        for (const char* onOff : {"ZQPosterPrinting", "FaceControl", "ZQBorderLessAutoFit", "ZQSaveRollPaper",
                                  "ZQDisableAutoCutter", "ZQAutorotate", "ZQMaximumDetail", "ZQMarginType"})
            m_host.Add(ListFeature(onOff, kOnOff));
        std::string macros;
        for (const std::string name : kLogged) {
            m_host.Add(ListFeature("ZQLog_" + name, kOnOff));
            macros += zqmacrotest::Macro(name, "<select_option>ZQLog_" + name + ".OFF</select_option>" +
                                                   "<select_option>ZQLog_" + name + ".ON</select_option>");
        }
        Build();
        m_logic.VLoadResourceModule(m_hPrinter);  // the banner names
        m_logic.VSaveSelections();
        LoadRules(zqmacrotest::Feature("PaperSize", {"m_paper"}) + zqmacrotest::Feature("MediaType", {"m_media"}) +
                      zqmacrotest::Feature("PrintQualityGroup", {"m_quality"}),
                  macros);
        ASSERT_NE(nullptr, Open());
        Clear();
    }
    void Clear() {
        m_host.ClearUpdates();
        m_sheetMessages.clear();
        m_gates->calls.clear();
    }
    Log Macros() const { return LoggedMacros(); }
    bool Ran(const char* macro) const {
        const Log runs = Macros();
        return std::find(runs.begin(), runs.end(), macro) != runs.end();
    }
    bool Choose(int id, const std::wstring& entry) { return ZQChooseOnPage(m_page, L"#" + std::to_wstring(id), entry); }
    // A click, whatever the layout made of the control.
    void Click(int id, bool checked) {
        CheckDlgButton(m_page, id, checked ? BST_CHECKED : BST_UNCHECKED);
        SendMessageW(m_page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Ctl(id)));
    }
};

Log operator+(Log a, const Log& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(PaperQualityChoices, PaperSizeRunsItsMacrosAndSetsTheBorderlessBoxes) {
    m_papers = {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"ZQ_BANNER_A1", L"Banner A1"},
                {"ZQ_BANNER_LONG", L"Long Banner"}, {"ZQ_BORDERLESS_A4", L"A4 (borderless)"}};
    Prepare();
    const struct {
        const wchar_t* from;
        const wchar_t* to;
        int grey;    // 1: black ink only
        Log macros;  // after the stapling macro
        int photo;   // "ZQBorderLessPhoto" and its box afterwards
    } cases[] = {
        {L"A4", L"Letter", 0, {"m_paper"}, 0},
        {L"Banner A1", L"Letter", 0, {"macro_PaperSize_to_Mediatype", "m_paper"}, 0},
        {L"Letter", L"Banner A1", 0, {"m_paper"}, 0},
        {L"Letter", L"Long Banner", 0, {"m_paper", "macro_custom_paper_size"}, 0},
        {L"Letter", L"A4 (borderless)", 0, {"m_paper"}, 1},
        {L"Letter", L"A4 (borderless)", 1, {"m_paper"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.from) << " -> " << std::wstring(c.to) << " grey " << c.grey);
        m_host.SetSelection("ZQPrintInGrayScale", c.grey);
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_SIZE_IS, c.from));
        Clear();
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_SIZE_IS, c.to));
        EXPECT_EQ(Log{"macro_StaplingConstraints"} + c.macros, Macros());
        EXPECT_EQ(make_tuple(c.photo, c.photo == 1, c.photo == 1),
                  make_tuple(Sel("ZQBorderLessPhoto"), Checked(IDC_CHECK_BORDERLESS_PHOTO),
                             Enabled(IDC_CHECK_BORDERLESS_AUTOFIT)));
        EXPECT_FALSE(CZQPaperQualityTab::s_bSourceSelectOnce) << "the source list took the rules' source";
        EXPECT_EQ(std::vector<UINT>{PSM_CHANGED}, m_sheetMessages);
    }
}

TEST_F(PaperQualityChoices, MediaTypeRunsItsMacrosBannerDiscAndColourSpaceRules) {
    m_media = {{"PLAIN", L"Plain Paper"}, {"PHOTO", L"Photo Paper"}, {"ZQ_CD_LABEL_PAPER", L"CD Label"},
               {"ZQ_BANNER_PAPER", L"Banner Paper"}, {"AUTOMATIC", L"Automatic"}};
    Prepare();
    const Log follow = {"macro_MediaType_to_FaceControl", "macro_BannerMediaType_to_BannerPaperSize"};
    const Log media = {"m_media"};
    ZQUIDevmode& work = *m_logic.WorkDM();
    const struct {
        const wchar_t* from;
        const wchar_t* to;
        DWORD different;  // different papers for single pages
        int quality;      // "PrintQuality": 2 is 4800x1200
        int space;        // "ZQInputColorSpace": 2 is ICM
        Log macros;
        int spaceAfter;
    } cases[] = {
        {L"Plain Paper", L"Photo Paper", 0, 0, 0, media + follow, 0},
        {L"Banner Paper", L"Plain Paper", 0, 0, 0, media + follow + Log{"macro_Mediatype_to_PaperSize"}, 0},
        {L"Banner Paper", L"Plain Paper", 1, 0, 0, follow, 0},
        {L"Plain Paper", L"CD Label", 0, 0, 0, media + follow + Log{"macro_CD_DVD"}, 0},
        // Colour management keeps its space only at the highest quality, never on automatic media.
        {L"Plain Paper", L"Photo Paper", 0, 0, 2, media + follow, 0},
        {L"Plain Paper", L"Photo Paper", 0, 2, 2, media + kWarned + follow, 2},
        {L"Plain Paper", L"Automatic", 0, 2, 2, media + kWarned + follow, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.to) << " different " << c.different << " space " << c.space);
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, c.from));
        m_host.SetSelection("PrintQuality", c.quality);
        m_host.SetSelection("ZQInputColorSpace", c.space);
        m_host.SetSelection("ZQPosterPrinting", 1);
        work.dwDiffPaper = c.different;
        work.dwPagesPerSheet = 4;
        work.dwMirror = 0;
        CheckDlgButton(m_page, IDC_CHECK_BORDERLESS_PHOTO, BST_CHECKED);
        Clear();
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, c.to));
        EXPECT_EQ(c.macros, Macros());
        EXPECT_EQ(c.spaceAfter, Sel("ZQInputColorSpace"));
        // A disc label is one page per sheet, mirrored, without posters or borderless printing.
        const bool disc = std::wstring(c.to) == L"CD Label";
        EXPECT_EQ(make_tuple(disc ? 1u : 4u, disc ? 1u : 0u, disc ? 0 : 1, !disc),
                  make_tuple(work.dwPagesPerSheet, work.dwMirror, Sel("ZQPosterPrinting"),
                             Checked(IDC_CHECK_BORDERLESS_PHOTO)));
        EXPECT_EQ(std::vector<std::string>{"check accepted"}, m_gates->calls);
        EXPECT_EQ(c.to, std::wstring(m_tab->LastMediaTypeForTesting().PszText()));
    }
}

TEST_F(PaperQualityChoices, RejectedMediaTypeRollsBackToTheExactEntryAcceptedLast) {
    m_media = {{"PLAIN", L"Plain"}, {"GLOSSY", L"Photo Glossy"}, {"PHOTO", L"Photo"}, {"FILM", L"Film"}};
    Prepare();
    ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, L"Photo"));
    m_gates->rejectedMedia = "FILM";
    Clear();
    // The whole name, not an earlier entry it begins: the reaction runs once more, unchecked.
    ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, L"Film"));
    EXPECT_EQ(make_tuple(std::wstring(L"Photo"), 2), make_tuple(Text(IDC_CBO_MEDIA_TYPE_IS), Sel("MediaType")));
    EXPECT_EQ(std::vector<std::string>{"check rejected"}, m_gates->calls);
    const Log runs = Macros();
    EXPECT_EQ(2, std::count(runs.begin(), runs.end(), "m_media"));
    EXPECT_EQ(L"Photo", std::wstring(m_tab->LastMediaTypeForTesting().PszText()));
    // Once the media accepted last is no longer offered, the rejected one stays chosen.
    m_host.Item("MediaType")->pOptType->pOptParam[2].Flags |= OPTPF_HIDE;
    ASSERT_TRUE(Choose(IDC_CBO_MEDIA_SIZE_IS, L"Letter"));
    ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, L"Film"));
    EXPECT_EQ(make_tuple(std::wstring(L"Film"), 3), make_tuple(Text(IDC_CBO_MEDIA_TYPE_IS), Sel("MediaType")));
}

TEST_F(PaperQualityChoices, LargeFormatMediaTakesItsPaperEntrysQuality) {
    PaperProfile photo[2] = {{L"Fast", L"600x600", 0, 0, 0}, {L"Fine", L"4800X1200", 1, 0, 0}};
    PaperProfile film[1] = {{L"Only", L"1200x1200", 1, 0, 0}};
    PaperListEntry entries[2] = {};
    ZQCopyText(entries[0].szName, 256, L"Photo Paper");
    ZQCopyText(entries[1].szName, 256, L"Transparency");
    std::tie(entries[0].dwDefaultQuality, entries[0].pProfiles, entries[0].dwProfileCount) = make_tuple(2, photo, 2);
    std::tie(entries[1].dwDefaultQuality, entries[1].pProfiles, entries[1].dwProfileCount) = make_tuple(3, film, 1);
    entries[0].dwMaxDetailSupport = entries[1].dwMaxDetailSupport = 1;
    m_gates->papers = {2, entries};
    Prepare(true);
    for (const auto& [media, quality, detail, warned] :
         {make_tuple(L"Photo Paper", 2, 1, true),
          make_tuple(L"Transparency", 1, 0, false),  // its default beyond its profiles: no profile
          make_tuple(L"Plain Paper", 1, 1, false)}) {  // no entry: nothing changes
        SCOPED_TRACE(testing::Message() << std::wstring(media));
        for (const char* feature : {"PrintQuality", "PrintQualityGroup", "ZQMaximumDetail"})
            m_host.SetSelection(feature, 1);
        Clear();
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, media));
        EXPECT_EQ(make_tuple(quality, quality, detail, warned),
                  make_tuple(Sel("PrintQuality"), Sel("PrintQualityGroup"), Sel("ZQMaximumDetail"),
                             Ran("macro_pop_up_4800_1200_warning")));
    }
    m_gates->papers = {};
}

TEST_F(PaperQualityChoices, SourceAndQualityLists) {
    Prepare(true);
    // Nothing of a roll applies to the sheet source; the rules learn the list's position.
    for (const auto& [source, sel, sheet] : {make_tuple(L"Sheet", 3, true), make_tuple(L"Tray 2", 2, false)}) {
        const int rolls[] = {IDC_CHK_SAVE_ROLL_PAPER, IDC_CHK_DISABLE_AUTO_CUTTER, IDC_CHK_AUTOROTATE};
        for (int box : rolls) CheckDlgButton(m_page, box, BST_CHECKED);
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_SOURCE_IS, source));
        for (int box : rolls)
            EXPECT_EQ(make_tuple(sel, sel, !sheet && Shown(box), !sheet),
                      make_tuple(Sel("InputBin"), m_rules->IInputBinIndex(), Enabled(box), Checked(box)));
    }
    // A quality group runs its macros and is kept by its option index.
    for (const auto& [group, index, quality, macros, space] :
         {make_tuple(L"Best", 2, 0, Log{"m_quality"}, 0), make_tuple(L"Draft", 0, 2, Log{"m_quality"} + kWarned, 2)}) {
        m_host.SetSelection("PrintQuality", quality);
        m_host.SetSelection("ZQInputColorSpace", 2);
        Clear();
        ASSERT_TRUE(Choose(IDC_CBO_PRINT_QUALITY, group));
        EXPECT_EQ(make_tuple(macros, space, index, static_cast<DWORD>(index)),
                  make_tuple(Macros(), Sel("ZQInputColorSpace"), Sel("PrintQualityGroup"),
                             m_logic.WorkDM()->dwPrintQualityGroupIndex));
    }
}

TEST_F(PaperQualityChoices, BorderlessClickSettlesTheLayoutByPaper) {
    m_papers = {{"LETTER", L"Letter"}, {"A4", L"A4"}, {"ZQ_BANNER_A1", L"Banner A1"},
                {"ZQ_BORDERLESS_A4", L"A4 (borderless)"}, {"ZQ_BORDERLESS_HAGAKI", L"Hagaki (borderless)"}};
    Prepare();
    ZQUIDevmode& work = *m_logic.WorkDM();
    for (const auto& [paper, settles] : {std::make_pair(L"Letter", false), std::make_pair(L"Banner A1", true),
                                         std::make_pair(L"A4 (borderless)", true),
                                         std::make_pair(L"Hagaki (borderless)", false)}) {
        SCOPED_TRACE(testing::Message() << std::wstring(paper));
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_SIZE_IS, paper));
        std::tie(work.dwBooklet, work.wDuplex, work.dwPagesPerSheet, work.dwScalePercent) = make_tuple(1, 2, 3, 50);
        m_host.SetSelection("ZQPosterPrinting", 1);
        m_host.SetSelection("Duplex", 1);
        // A click that clears the box leaves everything to the page's next store.
        Click(IDC_CHECK_BORDERLESS_PHOTO, false);
        Clear();
        Click(IDC_CHECK_BORDERLESS_PHOTO, false);
        EXPECT_TRUE(m_host.Updates().empty() && m_sheetMessages.empty());

        // The box reaches its feature as checked; Letter, without a borderless twin among the papers,
        // leaves the auto-fit box greyed.
        Click(IDC_CHECK_BORDERLESS_PHOTO, true);
        EXPECT_EQ(make_tuple(1, Log{"m_paper"}, std::wstring(paper) != L"Letter", false),
                  make_tuple(Sel("ZQBorderLessPhoto"), Macros(), Enabled(IDC_CHECK_BORDERLESS_AUTOFIT),
                             m_sheetMessages.empty()));
        EXPECT_EQ(settles ? make_tuple(0u, 1, 1u, 100u, 0, 0) : make_tuple(1u, 2, 3u, 50u, 1, 1),
                  make_tuple(work.dwBooklet, static_cast<int>(work.wDuplex), work.dwPagesPerSheet,
                             work.dwScalePercent, Sel("ZQPosterPrinting"), Sel("Duplex")));
    }
}

TEST_F(PaperQualityChoices, PreviewClickTurnsThePageAndFocusesThePictureAcross) {
    Prepare(true);
    ShowWindow(m_parent, SW_SHOWNA);
    ZQUIDevmode& work = *m_logic.WorkDM();
    POPTITEM own = m_host.ItemByPubId(kOemPubOrientation, true);
    // Two (or six) pages on a sheet lie across it: the other picture takes the focus.
    for (const auto& [orientation, pagesPerSheet, focus] :
         {make_tuple(1, 1u, IDC_BTN_PREVIEW_LAND), make_tuple(1, 2u, IDC_BTN_PREVIEW_PORT),
          make_tuple(2, 1u, IDC_BTN_PREVIEW_PORT), make_tuple(2, 4u, IDC_BTN_PREVIEW_LAND)}) {
        SCOPED_TRACE(testing::Message() << orientation << " with code " << pagesPerSheet);
        work.wOrientation = static_cast<WORD>(orientation);
        work.dwPagesPerSheet = pagesPerSheet;
        Clear();
        Click(IDC_BTN_PREVIEW_PORT, false);
        const int landscape = orientation == 1 ? 1 : 0;
        EXPECT_EQ(make_tuple(landscape ? 2 : 1, landscape, landscape, true, landscape != 0, Ctl(focus)),
                  make_tuple(static_cast<int>(work.wOrientation), Sel("Orientation"), static_cast<int>(own->Sel),
                             (own->Flags & OPTIF_CHANGED) != 0, Checked(IDC_RB_LANDSCAPE), GetFocus()));
        EXPECT_EQ(Log{"macro_StaplingConstraints"}, Macros());
    }
}

TEST_F(PaperQualityChoices, BoxesAndRadiosSetTheirFeaturesAndTellTheSheet) {
    m_host.Add(ListFeature("ZQLQJPQSettings", {{"StandardOptions", L"Standard"}, {"CustomOptions", L"Custom"}}));
    Prepare(true);
    const Log none, optimize = {"macro_ZQOptimizeFor"};
    for (const auto& [id, feature, macros] :
         {make_tuple(IDC_CHK_THRIFTMODE, "Thriftmode", none), make_tuple(IDC_CHK_AUTOROTATE, "ZQAutorotate", none),
          make_tuple(IDC_CHK_MAX_DETAILS, "ZQMaximumDetail", optimize),
          make_tuple(IDC_CHK_EXTENDED_MARGINS, "ZQMarginType", none),
          make_tuple(IDC_RB_IMAGES, "ZQOptimizeFor", optimize)}) {
        for (bool on : {true, false}) {
            Clear();
            Click(on || id != IDC_RB_IMAGES ? id : IDC_RB_DRAWING_TEXT, on);
            EXPECT_EQ(make_tuple(on ? 1 : 0, macros, true),
                      make_tuple(Sel(feature), Macros(), !m_sheetMessages.empty()))
                << feature;
        }
    }
    Click(IDC_CHK_AUTOROTATE, true);
    EXPECT_EQ(std::make_pair(1u, 1u), std::make_pair(m_logic.WorkDM()->dwAutorotate, m_core.dwAutorotate));
    // Neither quality-options radio is a change of the page itself.
    for (const auto& [radio, setting, macros] :
         {make_tuple(IDC_RB_CUSTOM_OPTIONS, 1, none), make_tuple(IDC_RB_STNDARD_OPTIONS, 0, Log{"m_quality"})}) {
        m_host.SetSelection("PrintQualityGroup", 0);
        Clear();
        Click(radio, true);
        EXPECT_EQ(make_tuple(setting, setting == 0, setting == 1, setting ? 0 : m_tab->StateForTesting().iSliderPosition, macros, true),
                  make_tuple(Sel("ZQLQJPQSettings"), Enabled(IDC_SLIDER_PQ_SETTINGS),
                             Enabled(IDC_BTN_PAPERMEDIA_PQ_SETTINGS), Sel("PrintQualityGroup"), Macros(),
                             m_sheetMessages.empty()));
    }
    // The slider leaves the quality list empty; a media choice still runs its macros.
    Clear();
    ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, L"Photo Paper"));
    EXPECT_TRUE(Ran("m_media"));
}

int AnswerBox(void* seen, HWND, PCWSTR text, PCWSTR caption, UINT type) {
    *static_cast<std::wstring*>(seen) = std::wstring(caption) + L"|" + text + (type & MB_ICONINFORMATION ? L"|i" : L"");
    return IDOK;
}

TEST_F(PaperQualityChoices, UnitsConstraintNoteAndTheImageEnhancementDialog) {
    m_core.dwLayoutMode = 3;  // the photo enhancements' button
    Prepare();
    // A click on the dimensions or a preview label switches their unit; two restore it.
    const std::wstring inches = Text(IDC_STA_MEDIA_SIZE_DIMENSIONS);
    Click(IDC_STA_MEDIA_SIZE_DIMENSIONS, false);
    EXPECT_EQ(L"210 \u00D7 297 mm", Text(IDC_STA_MEDIA_SIZE_DIMENSIONS));
    Click(IDC_PREVIEW_DIMENSIONS, false);
    EXPECT_EQ(inches, Text(IDC_STA_MEDIA_SIZE_DIMENSIONS));

    std::wstring box;
    zqmsgbox::SetAnswerer(&AnswerBox, &box);
    Click(IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS, false);
    zqmsgbox::SetAnswerer(nullptr, nullptr);
    EXPECT_EQ(0u, box.find(L"Options cannot be combined|Some options cannot be selected")) << box;
    EXPECT_EQ(L"|i", box.substr(box.size() - 2));

    // The dialog opens for real; only its OK is a change.
    for (const auto& [close, notified] : {std::make_pair(L"Cancel", false), std::make_pair(L"OK", true)}) {
        ZQDialogSteps steps;
        steps.close = close;
        ZQDialogSeen seen;
        Clear();
        ASSERT_TRUE(ZQPressForDialog(m_page, L"#563", steps, seen));
        EXPECT_EQ(make_tuple(true, true, std::wstring(L"ZQ Digital Photography Vivrel technologies"), notified),
                  make_tuple(seen.shown, seen.closed, seen.title, !m_sheetMessages.empty()));
    }
}

}  // namespace
