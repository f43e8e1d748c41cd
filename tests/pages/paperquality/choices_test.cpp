// The user's choices on the Paper/Quality page, made through the page-driving helpers: each
// reaction against the core driver's reports, the helper file's macros it runs (each macro leaves
// its name in a log feature), the working settings and the change notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
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

const std::vector<std::pair<std::string, std::wstring>> kOnOff = {{"OFF", L"Off"}, {"ON", L"On"}};
const char* const kLogged[] = {"m_paper",
                               "m_media",
                               "m_quality",
                               "macro_StaplingConstraints",
                               "macro_PaperSize_to_Mediatype",
                               "macro_custom_paper_size",
                               "macro_Mediatype_to_PaperSize",
                               "macro_BannerMediaType_to_BannerPaperSize",
                               "macro_MediaType_to_FaceControl",
                               "macro_CD_DVD",
                               "macro_pop_up_4800_1200_warning",
                               "macro_ZQOptimizeFor"};

class PaperQualityChoices : public PaperQualityPage {
protected:
    void Prepare(bool largeFormat = false) {
        AddItems(largeFormat);
        m_host.Add(ListFeature("Stapling", {{"NONE", L"None"}, {"STAPLE", L"Staple"}}));
        m_host.Add(ListFeature("Duplex", {{"NONE", L"None"}, {"LONG", L"Long Edge"}}, 1, DMPUB_DUPLEX));
        m_host.Add(ListFeature("Orientation", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE", L"Landscape"}}, 0,
                               DMPUB_ORIENTATION));
        m_host.Add(ListFeature("ZQOptimizeFor", {{"OptimizeText", L"Text"}, {"OptimizeImage", L"Images"}}));
        for (const char* onOff : {"ZQPosterPrinting", "FaceControl", "OHTInterleave", "ZQQuietPrinting",
                                  "ZQBorderLessAutoFit", "ZQSaveRollPaper", "ZQDisableAutoCutter", "ZQAutorotate",
                                  "ZQMaximumDetail", "ZQPrintPreview", "ZQMarginType", "ZQCenterOnPage"})
            m_host.Add(ListFeature(onOff, kOnOff));
        // Each macro turns its own log feature off and on.
        std::string macros;
        for (const char* name : kLogged) {
            m_host.Add(ListFeature(std::string("ZQLog_") + name, kOnOff));
            macros += zqmacrotest::Macro(name, std::string("<select_option>ZQLog_") + name + ".OFF</select_option>" +
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
        m_plugin->calls.clear();
    }
    // The macros run since the last Clear, in order: the core driver's reports of one feature in a
    // row (an option search reports every option it tries) settle on its last selection.
    Log Macros() const {
        std::vector<std::pair<std::string, LONG>> settled;
        for (const auto& u : m_host.Updates()) {
            if (!settled.empty() && settled.back().first == u.keyword) settled.back().second = u.sel;
            else settled.emplace_back(u.keyword, u.sel);
        }
        Log out;
        for (const auto& [keyword, sel] : settled)
            if (keyword.rfind("ZQLog_", 0) == 0 && sel == 1) out.push_back(keyword.substr(6));
        return out;
    }
    bool Choose(int id, const std::wstring& entry) { return ZQChooseOnPage(m_page, L"#" + std::to_wstring(id), entry); }
    // A click on a control, whatever the layout made of it.
    void Click(int id, bool checked) {
        CheckDlgButton(m_page, id, checked ? BST_CHECKED : BST_UNCHECKED);
        SendMessageW(m_page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Ctl(id)));
    }
    bool Reported(const char* feature) const {
        for (const auto& u : m_host.Updates())
            if (u.keyword == feature) return true;
        return false;
    }
};

TEST_F(PaperQualityChoices, PaperSizeRunsItsMacrosAndSetsTheBorderlessBoxes) {
    m_papers = {{"LETTER", L"Letter"},           {"A4", L"A4"},
                {"ZQ_BANNER_A1", L"Banner A1"},  {"ZQ_BANNER_LONG", L"Long Banner"},
                {"ZQ_BORDERLESS_A4", L"A4 (borderless)"}};
    Prepare();
    const struct {
        const wchar_t* from;
        const wchar_t* to;
        int grey;  // 1: black ink only
        Log macros;
        int photo;  // "ZQBorderLessPhoto" afterwards, and the box checked
    } cases[] = {
        {L"A4", L"Letter", 0, {"macro_StaplingConstraints", "m_paper"}, 0},
        {L"Banner A1", L"Letter", 0, {"macro_StaplingConstraints", "macro_PaperSize_to_Mediatype", "m_paper"}, 0},
        {L"Letter", L"Banner A1", 0, {"macro_StaplingConstraints", "m_paper"}, 0},
        {L"Letter", L"Long Banner", 0, {"macro_StaplingConstraints", "m_paper", "macro_custom_paper_size"}, 0},
        {L"Letter", L"A4 (borderless)", 0, {"macro_StaplingConstraints", "m_paper"}, 1},
        {L"Letter", L"A4 (borderless)", 1, {"macro_StaplingConstraints", "m_paper"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.from) << " -> " << std::wstring(c.to) << " grey " << c.grey);
        m_host.SetSelection("ZQPrintInGrayScale", c.grey);
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_SIZE_IS, c.from));
        Clear();
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_SIZE_IS, c.to));
        EXPECT_EQ(c.macros, Macros());
        EXPECT_EQ(c.to, Text(IDC_CBO_MEDIA_SIZE_IS));
        EXPECT_TRUE(Reported("PaperSize")) << "the core driver hears of the paper at once";
        EXPECT_EQ(c.photo, Sel("ZQBorderLessPhoto"));
        EXPECT_EQ(c.photo == 1, Checked(IDC_CHECK_BORDERLESS_PHOTO));
        EXPECT_EQ(c.photo == 1, Enabled(IDC_CHECK_BORDERLESS_AUTOFIT));
        if (c.grey) {
            EXPECT_FALSE(Enabled(IDC_CHECK_BORDERLESS_PHOTO));
        }
        EXPECT_FALSE(CZQPaperQualityTab::s_bSourceSelectOnce) << "the source list took the rules' source";
        ASSERT_FALSE(m_sheetMessages.empty());
        EXPECT_EQ(static_cast<UINT>(c.to == std::wstring(L"A4") ? PSM_UNCHANGED : PSM_CHANGED), m_sheetMessages.back());
    }
}

TEST_F(PaperQualityChoices, MediaTypeRunsItsMacrosBannerDiscAndColourSpaceRules) {
    m_media = {{"PLAIN", L"Plain Paper"},
               {"PHOTO", L"Photo Paper"},
               {"ZQ_CD_LABEL_PAPER", L"CD Label"},
               {"ZQ_BANNER_PAPER", L"Banner Paper"},
               {"AUTOMATIC", L"Automatic"}};
    Prepare();
    const Log follow = {"macro_MediaType_to_FaceControl", "macro_BannerMediaType_to_BannerPaperSize"};
    ZQUIDevmode& work = *m_logic.WorkDM();
    const struct {
        const wchar_t* from;
        const wchar_t* to;
        DWORD different;  // different papers for single pages
        int quality;      // "PrintQuality": 2 is 4800x1200
        int space;        // "ZQInputColorSpace": 2 is ICM
        Log first;        // the macros before the common follow-up
        Log last;
        int spaceAfter;
    } cases[] = {
        {L"Plain Paper", L"Photo Paper", 0, 0, 0, {"m_media"}, {}, 0},
        {L"Banner Paper", L"Plain Paper", 0, 0, 0, {"m_media"}, {"macro_Mediatype_to_PaperSize"}, 0},
        {L"Banner Paper", L"Plain Paper", 1, 0, 0, {}, {}, 0},
        {L"Plain Paper", L"CD Label", 0, 0, 0, {"m_media"}, {"macro_CD_DVD"}, 0},
        // Colour management keeps its colour space only at the highest quality, and never on
        // automatic media.
        {L"Plain Paper", L"Photo Paper", 0, 0, 2, {"m_media"}, {}, 0},
        {L"Plain Paper", L"Photo Paper", 0, 2, 2, {"m_media", "macro_pop_up_4800_1200_warning"}, {}, 2},
        {L"Plain Paper", L"Automatic", 0, 2, 2, {"m_media", "macro_pop_up_4800_1200_warning"}, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.from) << " -> " << std::wstring(c.to) << " different "
                                        << c.different << " space " << c.space);
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, c.from));
        m_host.SetSelection("PrintQuality", c.quality);
        m_host.SetSelection("ZQInputColorSpace", c.space);
        m_host.SetSelection("ZQPosterPrinting", 1);
        work.dwDiffPaper = c.different;
        work.dwPagesPerSheet = 4;
        work.dwMirror = 0;
        Click(IDC_CHECK_BORDERLESS_PHOTO, true);
        Clear();
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, c.to));
        Log expected = c.first;
        expected.insert(expected.end(), follow.begin(), follow.end());
        expected.insert(expected.end(), c.last.begin(), c.last.end());
        EXPECT_EQ(expected, Macros());
        EXPECT_EQ(c.spaceAfter, Sel("ZQInputColorSpace"));
        EXPECT_TRUE(Reported("MediaType"));
        EXPECT_EQ(c.to, Text(IDC_CBO_MEDIA_TYPE_IS));
        // A disc label is one page per sheet, mirrored, without posters or borderless printing.
        const bool disc = std::wstring(c.to) == L"CD Label";
        EXPECT_EQ(disc ? 1u : 4u, work.dwPagesPerSheet);
        EXPECT_EQ(disc ? 1u : 0u, work.dwMirror);
        EXPECT_EQ(disc ? 0 : 1, Sel("ZQPosterPrinting"));
        EXPECT_EQ(!disc, Checked(IDC_CHECK_BORDERLESS_PHOTO));
        if (disc) {
            EXPECT_FALSE(Enabled(IDC_CHECK_BORDERLESS_AUTOFIT));
        }
        EXPECT_EQ(std::vector<std::string>{"check accepted"}, m_plugin->calls);
        EXPECT_EQ(c.to, std::wstring(m_tab->PszLastMediaType()));
    }
}

TEST_F(PaperQualityChoices, RejectedMediaTypeRollsBackToTheExactEntryAcceptedLast) {
    m_media = {{"PLAIN", L"Plain"}, {"GLOSSY", L"Photo Glossy"}, {"PHOTO", L"Photo"}, {"FILM", L"Film"}};
    Prepare();
    ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, L"Photo"));
    m_plugin->rejectedMedia = "FILM";
    Clear();
    // The whole name, not an earlier entry it begins: the reaction runs once more, unchecked.
    ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, L"Film"));
    EXPECT_EQ(L"Photo", Text(IDC_CBO_MEDIA_TYPE_IS));
    EXPECT_EQ(2, Sel("MediaType"));
    EXPECT_EQ(std::vector<std::string>{"check rejected"}, m_plugin->calls);
    const Log runs = Macros();
    EXPECT_EQ(2, std::count(runs.begin(), runs.end(), "m_media"));
    EXPECT_EQ(L"Photo", std::wstring(m_tab->PszLastMediaType()));

    // Once the media accepted last is no longer offered, the rejected one stays chosen.
    m_host.Item("MediaType")->pOptType->pOptParam[2].Flags |= OPTPF_HIDE;
    ASSERT_TRUE(Choose(IDC_CBO_MEDIA_SIZE_IS, L"Letter"));
    Clear();
    ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, L"Film"));
    EXPECT_EQ(L"Film", Text(IDC_CBO_MEDIA_TYPE_IS));
    EXPECT_EQ(3, Sel("MediaType"));
    EXPECT_EQ(std::vector<std::string>{"check rejected"}, m_plugin->calls);
}

TEST_F(PaperQualityChoices, LargeFormatMediaTakesItsPaperEntrysQuality) {
    PaperProfile photo[2] = {{L"Fast", L"600x600", 0, 0, 0}, {L"Fine", L"4800X1200", 1, 0, 0}};
    PaperProfile film[1] = {{L"Only", L"1200x1200", 1, 0, 0}};
    PaperListEntry entries[2] = {};
    ZQCopyText(entries[0].szName, 256, L"Photo Paper");
    entries[0].dwDefaultQuality = 2;
    entries[0].dwProfileCount = 2;
    entries[0].pProfiles = photo;
    ZQCopyText(entries[1].szName, 256, L"Transparency");
    entries[1].dwDefaultQuality = 3;  // beyond its one profile
    entries[1].dwProfileCount = 1;
    entries[1].pProfiles = film;
    for (PaperListEntry& e : entries) e.dwMaxDetailSupport = 1;
    m_plugin->papers = {2, entries};
    Prepare(true);
    const struct {
        const wchar_t* media;
        int quality, group, detail;  // afterwards; each starts at 1
        bool warned;
    } cases[] = {
        {L"Photo Paper", 2, 2, 1, true},
        {L"Transparency", 1, 1, 0, false},  // no profile: no quality, no detail
        {L"Plain Paper", 1, 1, 1, false},   // no entry: nothing changes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.media));
        for (const char* feature : {"PrintQuality", "PrintQualityGroup", "ZQMaximumDetail"}) m_host.SetSelection(feature, 1);
        Clear();
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, c.media));
        EXPECT_EQ(c.quality, Sel("PrintQuality"));
        EXPECT_EQ(c.group, Sel("PrintQualityGroup"));
        EXPECT_EQ(c.detail, Sel("ZQMaximumDetail"));
        const Log runs = Macros();
        EXPECT_EQ(c.warned, std::find(runs.begin(), runs.end(), "macro_pop_up_4800_1200_warning") != runs.end());
    }
    m_plugin->papers = {};
}

TEST_F(PaperQualityChoices, SourceSetsTheRollBoxesAndTheRulesSource) {
    Prepare(true);
    const int rolls[] = {IDC_CHK_SAVE_ROLL_PAPER, IDC_CHK_DISABLE_AUTO_CUTTER, IDC_CHK_AUTOROTATE};
    for (const auto& [source, sel, sheet] : {std::make_tuple(L"Sheet", 3, true), std::make_tuple(L"Tray 2", 2, false)}) {
        SCOPED_TRACE(testing::Message() << std::wstring(source));
        for (int box : rolls) CheckDlgButton(m_page, box, BST_CHECKED);
        Clear();
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_SOURCE_IS, source));
        EXPECT_EQ(sel, Sel("InputBin"));
        EXPECT_EQ(source, Text(IDC_CBO_MEDIA_SOURCE_IS));
        EXPECT_EQ(sel, m_rules->IInputBinIndex()) << "the list position, the first bin standing first";
        for (int box : rolls) {
            EXPECT_EQ(!sheet && Shown(box), Enabled(box)) << box;
            EXPECT_EQ(!sheet, Checked(box)) << box;
        }
        EXPECT_FALSE(m_sheetMessages.empty());
    }
}

TEST_F(PaperQualityChoices, PrintQualityRunsItsMacrosAndKeepsItsIndex) {
    Prepare();
    const struct {
        const wchar_t* group;
        int quality, space;  // before
        Log macros;
        int spaceAfter;
    } cases[] = {
        {L"Best", 0, 2, {"m_quality"}, 0},
        {L"Draft", 2, 2, {"m_quality", "macro_pop_up_4800_1200_warning"}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.group));
        m_host.SetSelection("PrintQuality", c.quality);
        m_host.SetSelection("ZQInputColorSpace", c.space);
        Clear();
        ASSERT_TRUE(Choose(IDC_CBO_PRINT_QUALITY, c.group));
        EXPECT_EQ(c.macros, Macros());
        EXPECT_EQ(c.spaceAfter, Sel("ZQInputColorSpace"));
        const int index = Sel("PrintQualityGroup");
        EXPECT_EQ(std::wstring(c.group) == L"Best" ? 2 : 0, index);
        EXPECT_EQ(static_cast<DWORD>(index), m_logic.WorkDM()->dwPrintQualityGroupIndex);
    }
}

TEST_F(PaperQualityChoices, BorderlessClickSettlesTheLayoutByPaper) {
    m_papers = {{"LETTER", L"Letter"},
                {"A4", L"A4"},
                {"ZQ_BANNER_A1", L"Banner A1"},
                {"ZQ_BORDERLESS_A4", L"A4 (borderless)"},
                {"ZQ_BORDERLESS_HAGAKI", L"Hagaki (borderless)"}};
    Prepare();
    ZQUIDevmode& work = *m_logic.WorkDM();
    for (const auto& [paper, settles] : {std::make_pair(L"Letter", false), std::make_pair(L"Banner A1", true),
                                         std::make_pair(L"A4 (borderless)", true),
                                         std::make_pair(L"Hagaki (borderless)", false)}) {
        SCOPED_TRACE(testing::Message() << std::wstring(paper));
        ASSERT_TRUE(Choose(IDC_CBO_MEDIA_SIZE_IS, paper));
        work.dwBooklet = 1;
        work.wDuplex = 2;
        work.dwPagesPerSheet = 3;
        work.dwScalePercent = 50;
        m_host.SetSelection("ZQPosterPrinting", 1);
        m_host.SetSelection("Duplex", 1);
        m_host.SetSelection("ZQBorderLessPhoto", 0);
        // A click that clears the box leaves everything to the page's next store.
        Click(IDC_CHECK_BORDERLESS_PHOTO, false);
        Clear();
        Click(IDC_CHECK_BORDERLESS_PHOTO, false);
        EXPECT_TRUE(m_host.Updates().empty());
        EXPECT_TRUE(m_sheetMessages.empty());

        Click(IDC_CHECK_BORDERLESS_PHOTO, true);
        EXPECT_EQ(1, Sel("ZQBorderLessPhoto"));
        EXPECT_EQ(Log{"m_paper"}, Macros());
        EXPECT_EQ(settles ? 0u : 1u, work.dwBooklet);
        EXPECT_EQ(settles ? 1 : 2, work.wDuplex);
        EXPECT_EQ(settles ? 1u : 3u, work.dwPagesPerSheet);
        EXPECT_EQ(settles ? 100u : 50u, work.dwScalePercent);
        EXPECT_EQ(settles ? 0 : 1, Sel("ZQPosterPrinting"));
        EXPECT_EQ(settles ? 0 : 1, Sel("Duplex"));
        // Only borderless and banner papers offer the auto-fit box.
        EXPECT_EQ(std::wstring(paper) != L"Letter", Enabled(IDC_CHECK_BORDERLESS_AUTOFIT));
        EXPECT_FALSE(m_sheetMessages.empty());
    }
}

TEST_F(PaperQualityChoices, PreviewClickTurnsThePageAndFocusesThePictureAcross) {
    Prepare(true);
    ShowWindow(m_parent, SW_SHOWNA);
    ZQUIDevmode& work = *m_logic.WorkDM();
    const struct {
        WORD orientation;
        DWORD pagesPerSheet;
        int focus;
    } cases[] = {
        {1, 1, IDC_BTN_PREVIEW_LAND},
        {1, 2, IDC_BTN_PREVIEW_PORT},  // two pages on a landscape sheet stand upright
        {2, 1, IDC_BTN_PREVIEW_PORT},
        {2, 4, IDC_BTN_PREVIEW_LAND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.orientation << " with code " << c.pagesPerSheet);
        work.wOrientation = c.orientation;
        work.dwPagesPerSheet = c.pagesPerSheet;
        Clear();
        SendMessageW(m_page, WM_COMMAND, MAKEWPARAM(IDC_BTN_PREVIEW_PORT, BN_CLICKED),
                     reinterpret_cast<LPARAM>(Ctl(IDC_BTN_PREVIEW_PORT)));
        const int landscape = c.orientation == 1 ? 1 : 0;
        EXPECT_EQ(landscape ? 2 : 1, work.wOrientation);
        EXPECT_EQ(landscape, Sel("Orientation"));
        EXPECT_EQ(landscape, m_host.ItemByPubId(kOemPubOrientation, true)->Sel);
        EXPECT_NE(0u, m_host.ItemByPubId(kOemPubOrientation, true)->Flags & OPTIF_CHANGED);
        EXPECT_EQ(landscape != 0, Checked(IDC_RB_LANDSCAPE));
        EXPECT_EQ(Ctl(c.focus), GetFocus());
        EXPECT_EQ(Log{"macro_StaplingConstraints"}, Macros());
    }
}

TEST_F(PaperQualityChoices, BoxesAndRadiosSetTheirFeatures) {
    Prepare();
    const struct {
        int id;
        const char* feature;
        Log macros;
    } rows[] = {
        {IDC_CHK_THRIFTMODE, "Thriftmode", {}},
        {IDC_CHK_OHTINTERLEAVE, "OHTInterleave", {}},
        {IDC_CHK_QUIET_PRINTING, "ZQQuietPrinting", {}},
        {IDC_CHECK_BORDERLESS_AUTOFIT, "ZQBorderLessAutoFit", {}},
        {IDC_CHK_SAVE_ROLL_PAPER, "ZQSaveRollPaper", {}},
        {IDC_CHK_DISABLE_AUTO_CUTTER, "ZQDisableAutoCutter", {}},
        {IDC_CHK_AUTOROTATE, "ZQAutorotate", {}},
        {IDC_CHK_MAX_DETAILS, "ZQMaximumDetail", {"macro_ZQOptimizeFor"}},
        {IDC_CHK_SHOW_PREVIEW_FIN, "ZQPrintPreview", {}},
        {IDC_CHK_EXTENDED_MARGINS, "ZQMarginType", {}},
        {IDC_RB_IMAGES, "ZQOptimizeFor", {"macro_ZQOptimizeFor"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.feature);
        for (bool on : {true, false}) {
            Clear();
            Click(on || r.id != IDC_RB_IMAGES ? r.id : IDC_RB_DRAWING_TEXT, on);
            EXPECT_EQ(on ? 1 : 0, Sel(r.feature));
            EXPECT_EQ(r.macros, Macros());
            EXPECT_FALSE(m_sheetMessages.empty()) << "the change notice";
        }
    }
    // The turned page is kept in both settings.
    Click(IDC_CHK_AUTOROTATE, true);
    EXPECT_EQ(1u, m_logic.WorkDM()->dwAutorotate);
    EXPECT_EQ(1u, m_core.dwAutorotate);
}

TEST_F(PaperQualityChoices, QualityOptionsRadiosSendNoChangeNotice) {
    m_host.Add(ListFeature("ZQLQJPQSettings", {{"StandardOptions", L"Standard"}, {"CustomOptions", L"Custom"}}));
    Prepare(true);
    for (const auto& [radio, setting, macros] :
         {std::make_tuple(IDC_RB_CUSTOM_OPTIONS, 1, Log{}), std::make_tuple(IDC_RB_STNDARD_OPTIONS, 0, Log{"m_quality"})}) {
        SCOPED_TRACE(radio);
        m_host.SetSelection("PrintQualityGroup", 0);
        Clear();
        Click(radio, true);
        EXPECT_EQ(setting, Sel("ZQLQJPQSettings"));
        EXPECT_EQ(setting == 0, Enabled(IDC_SLIDER_PQ_SETTINGS));
        EXPECT_EQ(setting == 1, Enabled(IDC_BTN_PAPERMEDIA_PQ_SETTINGS));
        EXPECT_EQ(setting == 0 ? m_tab->ISliderPosition() : 0, Sel("PrintQualityGroup"));
        EXPECT_EQ(macros, Macros());
        EXPECT_TRUE(m_sheetMessages.empty());
    }
    // The slider leaves the quality list empty; a media choice still runs its macros.
    Clear();
    ASSERT_TRUE(Choose(IDC_CBO_MEDIA_TYPE_IS, L"Photo Paper"));
    EXPECT_EQ("m_media", Macros().at(0));
}

// Message boxes answered in place of the user.
int AnswerBox(void* seen, HWND, PCWSTR text, PCWSTR caption, UINT type) {
    static_cast<std::vector<std::wstring>*>(seen)->push_back(std::wstring(caption) + L"|" + text +
                                                             (type & MB_ICONINFORMATION ? L"|i" : L""));
    return IDOK;
}

TEST_F(PaperQualityChoices, UnitsConstraintNoteAndTheImageEnhancementDialog) {
    m_core.dwLayoutMode = 3;  // the photo enhancements' button
    Prepare();
    // Each click on the dimensions switches their unit; two restore it.
    const std::wstring inches = Text(IDC_STA_MEDIA_SIZE_DIMENSIONS);
    Click(IDC_STA_MEDIA_SIZE_DIMENSIONS, false);
    EXPECT_EQ(L"210 \u00D7 297 mm", Text(IDC_STA_MEDIA_SIZE_DIMENSIONS));
    Click(IDC_PREVIEW_DIMENSIONS, false);
    EXPECT_EQ(inches, Text(IDC_STA_MEDIA_SIZE_DIMENSIONS));

    std::vector<std::wstring> boxes;
    zqmsgbox::SetAnswerer(&AnswerBox, &boxes);
    Click(IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS, false);
    zqmsgbox::SetAnswerer(nullptr, nullptr);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0u, boxes[0].find(L"Options cannot be combined|Some options cannot be selected")) << boxes[0];
    EXPECT_EQ(L"|i", boxes[0].substr(boxes[0].size() - 2));

    // The dialog opens for real; only its OK is a change.
    for (const auto& [close, notified] : {std::make_pair(L"Cancel", false), std::make_pair(L"OK", true)}) {
        SCOPED_TRACE(testing::Message() << std::wstring(close));
        ZQDialogSteps steps;
        steps.close = close;
        ZQDialogSeen seen;
        Clear();
        ASSERT_TRUE(ZQPressForDialog(m_page, L"#563", steps, seen));
        EXPECT_TRUE(seen.shown && seen.closed);
        EXPECT_EQ(L"ZQ Digital Photography Vivrel technologies", seen.title);
        EXPECT_EQ(notified, !m_sheetMessages.empty());
    }
}

}  // namespace
