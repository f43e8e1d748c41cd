// The user's choices on the Features page, as the page's controls send them: each reaction against
// the core driver's reports, the working settings and the helper file's macros it runs (each macro
// turns a log feature of its own on); the dialogs and programs the page opens.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "common/zqstorenames.h"
#include "common/zqstrings.h"
#include "featurestest.h"
#include "macrotest.h"
#include "testsupport.h"
#include "zqcmdlogrecord.h"
#include "zqhostapp.h"

namespace {

using Log = std::vector<std::string>;
using std::make_tuple;
using zqmacrotest::Feature;

class FeaturesChoices : public FeaturesPage {
protected:
    void Prepare(const std::string& without = "") {
        AddItems(without);
        AddMacro("m_paper");
        AddMacro("m_media");
        AddMacro("m_quality");
        AddMacro("m_photofix");
        for (const char* macro : {"macro_pop_up_4800_1200_warning", "macro_MediaType_to_FaceControl",
                                  "macro_BannerMediaType_to_BannerPaperSize", "macro_CD_DVD",
                                  "macro_Mediatype_to_PaperSize"})
            AddMacro(macro);
        m_ruleFeatures = Feature("PaperSize", {"m_paper"}) + Feature("MediaType", {"m_media"}) +
                         Feature("PrintQualityGroup", {"m_quality"}) + Feature("ZQPhotoFix", {"m_photofix"});
        Build();
        ASSERT_NE(nullptr, Open());
        Clear();
    }
    void Tick(int id, bool checked) {
        CheckDlgButton(m_page, id, checked ? BST_CHECKED : BST_UNCHECKED);
        Notice(m_page, id, BN_CLICKED);
    }
    OPTPARAM& Option(const char* feature, int index) { return m_host.Item(feature)->pOptType->pOptParam[index]; }
};

// A click on the sample page turns the document at once in the working settings, the plug-in's own
// orientation item and the core driver's; two or four pages on a sheet lie across it, so the other
// picture takes the focus.
TEST_F(FeaturesChoices, PreviewClickTurnsThePageAndFocusesThePictureAcross) {
    Prepare();
    ShowWindow(m_parent, SW_SHOWNA);
    ZQUIDevmode& work = Work();
    for (const auto& [orientation, perSheet, focus] :
         {make_tuple(1, 1u, IDC_BTN_PREVIEW_LAND), make_tuple(1, 2u, IDC_BTN_PREVIEW_PORT),
          make_tuple(1, 4u, IDC_BTN_PREVIEW_PORT), make_tuple(2, 1u, IDC_BTN_PREVIEW_PORT),
          make_tuple(2, 4u, IDC_BTN_PREVIEW_LAND), make_tuple(2, 6u, IDC_BTN_PREVIEW_PORT)}) {
        SCOPED_TRACE(testing::Message() << orientation << " with " << perSheet);
        work.wOrientation = static_cast<WORD>(orientation);
        work.dwPagesPerSheet = perSheet;
        m_host.SetSelection("Orientation", orientation - 1);
        OwnOrientation()->Sel = orientation - 1;
        Clear();
        Click(m_page, orientation == 1 ? IDC_BTN_PREVIEW_PORT : IDC_BTN_PREVIEW_LAND);
        const int landscape = orientation == 1 ? 1 : 0;
        EXPECT_EQ(make_tuple(landscape ? 2 : 1, landscape, landscape, true, landscape != 0, Ctl(focus)),
                  make_tuple(static_cast<int>(work.wOrientation), Sel("Orientation"),
                             static_cast<int>(OwnOrientation()->Sel), (OwnOrientation()->Flags & OPTIF_CHANGED) != 0,
                             Checked(IDC_RB_LANDSCAPE), GetFocus()));
        ASSERT_FALSE(m_host.Updates().empty());
        EXPECT_EQ("Orientation", m_host.Updates().back().keyword) << "the core driver hears of it at once";
    }
}

// The orientation radios turn the document; with two-sided printing chosen the layout is preserved,
// except for Japanese postcards in a booklet.
TEST_F(FeaturesChoices, OrientationRadiosAndThePreservedLayout) {
    Prepare();
    const struct {
        int twoSided;
        DWORD booklet;
        int paper;      // 4: the postcard
        int scaling;    // "ZQAutoDuplexScaling" afterwards
        bool checked, enabled;
    } cases[] = {
        {0, 0, 0, 0, false, true},
        {1, 0, 0, 1, true, false},
        {2, 1, 4, 0, false, false},
        {2, 1, 0, 0, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.twoSided << " booklet " << c.booklet << " paper " << c.paper);
        Fill(IDC_CBO_TWO_SIDED_PRINTING, {L"Off", L"Manual", L"Automatic"}, c.twoSided);
        m_logic.VSetBooklet(c.booklet);
        m_host.SetSelection("PaperSize", c.paper);
        m_host.SetSelection("ZQAutoDuplexScaling", 0);
        CheckDlgButton(m_page, IDC_CHK_PRESERVE_LAYOUT, BST_UNCHECKED);
        EnableWindow(Ctl(IDC_CHK_PRESERVE_LAYOUT), TRUE);
        Click(m_page, IDC_RB_LANDSCAPE);
        EXPECT_EQ(make_tuple(2, 1, 1), make_tuple(static_cast<int>(Work().wOrientation), Sel("Orientation"),
                                                 static_cast<int>(OwnOrientation()->Sel)));
        EXPECT_EQ(make_tuple(c.scaling, c.checked, c.enabled),
                  make_tuple(Sel("ZQAutoDuplexScaling"), Checked(IDC_CHK_PRESERVE_LAYOUT), Enabled(IDC_CHK_PRESERVE_LAYOUT)));
        Click(m_page, IDC_RB_PORTRAIT);
        EXPECT_EQ(1, Work().wOrientation);
    }
}

// Borderless printing of a borderless or banner paper prints one full-size page on one side; off, it
// fits the page and chooses the user's minimize-margins setting again. Either way the box reaches its
// feature and the paper's macros run.
TEST_F(FeaturesChoices, BorderlessBoxSettlesTheLayout) {
    Prepare();
    ZQUIDevmode& work = Work();
    m_host.SetSelection("ZQRigidMediaMargins", 1);
    m_host.SetSelection("ZQMinimizeMargins", 1);
    for (const auto& [paper, settles] : {make_tuple(2, true), make_tuple(3, true), make_tuple(0, false)}) {
        SCOPED_TRACE(paper);
        m_host.SetSelection("PaperSize", paper);
        m_host.SetSelection("Duplex", 1);
        m_host.SetSelection("ZQPosterPrintingOptionSUI", 1);
        work.dwBooklet = 1;
        work.wDuplex = 2;
        work.dwPagesPerSheet = 2;
        work.dwScalePercent = 50;
        m_logic.VSetMarginChoice(1, 0);
        Clear();
        Tick(IDC_CHECK_BORDERLESS_PHOTO, true);
        EXPECT_EQ(Log{"m_paper"}, LoggedMacros());
        EXPECT_EQ(1, Sel("ZQBorderLessPhoto")) << "the box reaches its feature as checked";
        EXPECT_EQ(settles ? make_tuple(0u, 1, 1u, 100u, 0, 0) : make_tuple(1u, 2, 2u, 50u, 1, 1),
                  make_tuple(work.dwBooklet, static_cast<int>(work.wDuplex), work.dwPagesPerSheet, work.dwScalePercent,
                             Sel("ZQPosterPrintingOptionSUI"), Sel("Duplex")));
        EXPECT_EQ(make_tuple(1u, 1u), make_tuple(m_logic.DWMarginChoice(1), m_logic.DWMarginValue(1)))
            << "rigid margins keep minimize margins as the user's";
    }
    m_host.SetSelection("ZQMinimizeMargins", 0);
    work.dwScaleToFit = 0;
    Tick(IDC_CHECK_BORDERLESS_PHOTO, false);
    EXPECT_EQ(make_tuple(0, 1, 1u), make_tuple(Sel("ZQBorderLessPhoto"), Sel("ZQMinimizeMargins"), work.dwScaleToFit));
}

// Actual size keeps the paper the document was set up on and ends booklets; a two-sided printing the
// driver marks as conflicting goes by hand. The document on another paper prints one page a sheet,
// fitted, with the paper-size list's paper in the destination list.
TEST_F(FeaturesChoices, ActualSizeOrTheDocumentOnAnotherPaper) {
    Prepare();
    ZQUIDevmode& work = Work();
    Fill(IDC_CBO_MEDIA_SIZE_IS, {L"A4"}, 0);
    SendMessageW(Ctl(IDC_CBO_DEST_PAPER_SIZE), CB_RESETCONTENT, 0, 0);
    work.dwPagesPerSheet = 4;
    work.dwPageOrderIndex = 2;
    Click(m_page, IDC_RB_PRINT_DOC_ON);
    EXPECT_EQ(make_tuple(1u, 0u, 1u, 1u, 1), make_tuple(work.dwPagesPerSheet, work.dwPageOrderIndex, work.dwScaleToFit,
                                                        work.dwPrintDocOn, m_tab->StateForTesting().iResizeMode));
    EXPECT_EQ(std::vector<std::wstring>{L"A4"}, ZQListEntries(Ctl(IDC_CBO_DEST_PAPER_SIZE)));

    m_host.SetSelection("PaperSize", 2);
    Option("Duplex", 1).Flags |= OPTPF_OVERLAY_WARNING_ICON;
    work.wDuplex = 2;
    work.dwManualDuplex = 0;
    work.dwBooklet = 1;
    m_logic.VSetBooklet(1);
    work.dwScalePercent = 70;
    Clear();
    Click(m_page, IDC_RB_ACTUAL_SIZE);
    EXPECT_EQ(make_tuple(0u, 1u, 1u, 0u, 0u, 100u, 0),
              make_tuple(work.dwPrintDocOn, work.dwDuplexConflict, work.dwManualDuplex, work.dwBooklet,
                         m_logic.DWBooklet(), work.dwScalePercent, m_tab->StateForTesting().iResizeMode));
    EXPECT_EQ(2, Sel("PaperSize")) << "the borderless paper's macros leave the document's paper";
    EXPECT_NE(0u, m_host.Item("PaperSize")->Flags & OPTIF_CHANGED);
}

// Page order, pages per sheet, booklets, two-sided printing, flip pages up and the photo fix set the
// working settings and their features; the two-sided value follows the pages per sheet, the
// orientation and flip pages up.
TEST_F(FeaturesChoices, PaperSavingChoicesSetTheSettings) {
    Prepare();
    ZQUIDevmode& work = Work();
    Fill(IDC_CBO_PAGES_PER_SHEET, {L"1", L"2", L"4", L"6", L"9", L"16"}, 0);
    Fill(IDC_CBO_BOOKLET_PRINTING, {L"Off", L"Left", L"Right"}, 0);
    Fill(IDC_CBO_PAGE_ORDER, {L"a", L"b", L"c", L"d"}, 0);
    Fill(IDC_CBO_PHOTOFIX, {L"Off", L"Basic", L"Full"}, 0);
    Fill(IDC_CBO_TWO_SIDED_PRINTING, {L"Off", L"By hand", L"Automatic"}, 0);
    m_host.SetSelection("ZQUseAutoDuplexUnit", 0);

    Choose(IDC_CBO_TWO_SIDED_PRINTING, 2);
    EXPECT_EQ(make_tuple(2, 1, 0u), make_tuple(static_cast<int>(work.wDuplex), Sel("ZQUseAutoDuplexUnit"), work.dwManualDuplex));
    Choose(IDC_CBO_PAGES_PER_SHEET, 1);
    EXPECT_EQ(make_tuple(2u, 3, 0u), make_tuple(work.dwPagesPerSheet, static_cast<int>(work.wDuplex), work.dwScaleToFit));
    Tick(IDC_CHK_FLIP_PAGES_UP, true);
    EXPECT_EQ(make_tuple(1u, 2), make_tuple(work.dwFlipPagesUp, static_cast<int>(work.wDuplex)));
    Choose(IDC_CBO_TWO_SIDED_PRINTING, 1);
    EXPECT_EQ(make_tuple(0, 1u), make_tuple(Sel("ZQUseAutoDuplexUnit"), work.dwManualDuplex));

    work.dwBackCover = work.dwBackCoverFeeder = 1;
    Choose(IDC_CBO_PAGES_PER_SHEET, 2);
    Choose(IDC_CBO_BOOKLET_PRINTING, 1);
    EXPECT_EQ(make_tuple(1u, 2u, 1, 0u, 0u),
              make_tuple(work.dwBooklet, work.dwPagesPerSheet, static_cast<int>(SendMessageW(Ctl(IDC_CBO_PAGES_PER_SHEET),
                                                                                             CB_GETCURSEL, 0, 0)),
                         work.dwBackCover, work.dwBackCoverFeeder));
    // One-sided printing ends the booklet and its two pages a sheet.
    Choose(IDC_CBO_TWO_SIDED_PRINTING, 0);
    EXPECT_EQ(make_tuple(1, 0u, 1u, 0, 0),
              make_tuple(static_cast<int>(work.wDuplex), work.dwBooklet, work.dwPagesPerSheet, Sel("Duplex"),
                         static_cast<int>(SendMessageW(Ctl(IDC_CBO_BOOKLET_PRINTING), CB_GETCURSEL, 0, 0))));

    Choose(IDC_CBO_PAGE_ORDER, 3);
    EXPECT_EQ(3u, work.dwPageOrderIndex);
    Clear();
    Choose(IDC_CBO_PHOTOFIX, 2);
    EXPECT_EQ(make_tuple(2, Log{"m_photofix"}), make_tuple(Sel("ZQPhotoFix"), LoggedMacros()));
    Tick(IDC_CHK_PRESERVE_LAYOUT, true);
    EXPECT_EQ(make_tuple(1, TRUE, 1u, TRUE), make_tuple(Sel("ZQAutoDuplexScaling"), m_logic.m_bAutoDuplexScalingMark,
                                                       m_logic.m_dwAutoDuplexScaling, m_tab->StateForTesting().bPreserveLayout));
    Tick(IDC_CHK_SHOW_PREVIEW_FIN, true);
    EXPECT_EQ(1, Sel("ZQPrintPreview"));
}

// A quality of the draft groups (in any letter case) prints no photo fix; others enable it with the
// layout choices; the group's macros and the highest resolution's warning run, and a colour space the
// application keeps goes back to its first option below the highest qualities.
TEST_F(FeaturesChoices, QualityRunsItsMacrosAndLimitsThePhotoFix) {
    Prepare();
    Fill(IDC_CBO_PRINT_QUALITY, {L"Normal", L"Best", L"Draft"});
    Fill(IDC_CBO_PHOTOFIX, {L"Off", L"Basic", L"Full"}, 2);
    m_host.SetSelection("ZQPhotoFix", 2);
    m_host.SetSelection("ZQInputColorSpace", 1);
    Choose(IDC_CBO_PRINT_QUALITY, 2);
    EXPECT_EQ(make_tuple(2, Log{"m_quality"}, false, false, 0, 0),
              make_tuple(Sel("PrintQualityGroup"), LoggedMacros(), Enabled(IDC_CBO_PHOTOFIX), Enabled(IDC_STA_PHOTOFIX),
                         Sel("ZQPhotoFix"), static_cast<int>(SendMessageW(Ctl(IDC_CBO_PHOTOFIX), CB_GETCURSEL, 0, 0))));
    EXPECT_EQ(0, Sel("ZQInputColorSpace"));

    EnableWindow(Ctl(IDC_CBO_PAGES_PER_SHEET), FALSE);
    m_host.SetSelection("PrintQuality", 1);
    m_host.SetSelection("ZQInputColorSpace", 1);
    Clear();
    Choose(IDC_CBO_PRINT_QUALITY, 1);
    EXPECT_EQ(make_tuple(1, Log{"m_quality", "macro_pop_up_4800_1200_warning"}, true, true),
              make_tuple(Sel("PrintQualityGroup"), LoggedMacros(), Enabled(IDC_CBO_PHOTOFIX),
                         Enabled(IDC_CBO_PAGES_PER_SHEET)));
    EXPECT_EQ(1, Sel("ZQInputColorSpace")) << "the highest resolution keeps the colour space";
}

// The media type runs its macros and rules; "More..." opens the tree of every type only with the
// rules (Cancel leaves the list on the current type) and "Add Paper..." starts the maker's tool.
TEST_F(FeaturesChoices, MediaTypeMoreAndAddPaper) {
    Prepare();
    const std::vector<std::wstring> entries = {L"Plain Paper", L"Photo Paper", L"Add Paper...", L"More..."};
    Fill(IDC_CBO_MEDIA_TYPE_IS, entries, 0);
    Fill(IDC_CBO_PRINT_QUALITY, {L"Normal", L"Best"}, 0);
    Choose(IDC_CBO_MEDIA_TYPE_IS, 1);
    EXPECT_EQ(1, Sel("MediaType"));
    EXPECT_EQ((Log{"m_media", "macro_BannerMediaType_to_BannerPaperSize"}), LoggedMacros())
        << "the media's macros and the banner rule";

    m_tab->StateForTesting().bMediaTypePopup = TRUE;
    bool opened = false;
    m_rules->Parser().VSetLoaded(FALSE);
    Modal([&] { Choose(IDC_CBO_MEDIA_TYPE_IS, 3); return INT_PTR{0}; }, [&](HWND) { opened = true; });
    EXPECT_FALSE(opened) << "no tree without the rules";
    m_rules->Parser().VSetLoaded(TRUE);
    Modal([&] { Choose(IDC_CBO_MEDIA_TYPE_IS, 3); return INT_PTR{0}; },
          [&](HWND d) {
              opened = true;
              PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
          });
    EXPECT_TRUE(opened);
    EXPECT_EQ(L"Photo Paper", Text(IDC_CBO_MEDIA_TYPE_IS)) << "Cancel: the current type";

    // Without the tool registered nothing starts; registered, the tool runs and the list stays.
    const std::wstring program = zqtest::BesideExe(L"zqcmdlog.exe");
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQCmdLogKey);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, zqsettings::kAddNewPaperToolKey);
    Choose(IDC_CBO_MEDIA_TYPE_IS, 2);
    EXPECT_EQ(L"", zqtest::LoggedCommandLine(false)) << "no tool registered";
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, zqsettings::kAddNewPaperToolKey,
                                             zqsettings::kAddNewPaperToolPath, REG_SZ, program.c_str(),
                                             static_cast<DWORD>((program.size() + 1) * sizeof(WCHAR))));
    Choose(IDC_CBO_MEDIA_TYPE_IS, 1);
    Choose(IDC_CBO_MEDIA_TYPE_IS, 2);
    EXPECT_EQ(L"Photo Paper", Text(IDC_CBO_MEDIA_TYPE_IS));
    EXPECT_EQ(program, zqtest::LoggedCommandLine(true).substr(0, program.size()));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, zqsettings::kAddNewPaperToolKey);
}

// The paper size runs its macros; "Custom" (any letter case) opens the custom paper size dialog and
// the page goes on whatever its end; in pop-up mode "More..." opens the paper tree only with the rules.
TEST_F(FeaturesChoices, PaperSizeCustomAndMore) {
    Prepare();
    WCHAR custom[CZQCommon::kResStringChars] = L"Custom Paper Size", tree[CZQCommon::kResStringChars] = L"Size is:";
    m_tab->BLoadResString(4244, custom);
    m_tab->BLoadResString(5059, tree);
    Fill(IDC_CBO_MEDIA_SIZE_IS, {L"cUSTOM", L"Letter", L"More..."}, 1);
    Choose(IDC_CBO_MEDIA_SIZE_IS, 1);
    EXPECT_EQ(Log{"m_paper"}, LoggedMacros());
    EXPECT_EQ(1, Sel("ZQMirrorPrint")) << "its first option shown: off";
    const std::wstring none;
    for (const auto& [entry, rules, shown] :
         {make_tuple(0, true, std::wstring(custom)), make_tuple(2, false, none), make_tuple(1, true, none),
          make_tuple(2, true, std::wstring(tree))}) {
        SCOPED_TRACE(entry);
        m_tab->StateForTesting().bPaperSizePopup = entry == 2;
        m_rules->Parser().VSetLoaded(rules);
        std::wstring title;
        Modal([&] { Choose(IDC_CBO_MEDIA_SIZE_IS, entry); return INT_PTR{0}; },
              [&](HWND d) {
                  WCHAR text[64] = {};
                  GetWindowTextW(d, text, 64);
                  title = text;
                  PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
              });
        EXPECT_EQ(shown, title);
    }
    EXPECT_EQ(L"Letter", Text(IDC_CBO_MEDIA_SIZE_IS)) << "Cancel in the tree: the current paper";
}

// The destination paper is judged by the driver's constraints for two-sided printing: chosen in the
// form item for the question only.
TEST_F(FeaturesChoices, DestinationPaperAsksTheDriverAboutTwoSidedPrinting) {
    Prepare();
    m_host.AddConflictRule("PaperSize", "A4", "Duplex", "VERTICAL");
    ZQUIDevmode& work = Work();
    work.wDuplex = 2;
    // The list is sorted: A4, then Letter.
    for (const auto& [entry, conflict, form] : {make_tuple(0, 1u, 1), make_tuple(1, 0u, 0)}) {
        Fill(IDC_CBO_DEST_PAPER_SIZE, {L"A4", L"Letter"}, entry);
        Clear();
        Notice(m_page, IDC_CBO_DEST_PAPER_SIZE, CBN_SELCHANGE);
        EXPECT_EQ(conflict, work.dwDuplexConflict);
        EXPECT_EQ(0, Sel("PaperSize")) << "the form item keeps its paper";
        ASSERT_EQ(2u, m_host.Updates().size());
        EXPECT_EQ(form, m_host.Updates()[0].sel);
    }
}

// Printer Services starts the printer's toolbox; the launcher's answer is the page's.
TEST_F(FeaturesChoices, PrinterServicesAnswersWithTheLauncher) {
    Prepare();
    const wchar_t* key = L"SOFTWARE\\Quorvane\\ZQTVQ Printing System Config\\ZQ Memory Driver";
    const std::wstring program = zqtest::BesideExe(L"zqcmdlog.exe");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
    const WPARAM click = MAKEWPARAM(IDC_BTN_PRINTER_SERVICES, BN_CLICKED);
    EXPECT_EQ(FALSE, FeaturesPageDlgProc(m_page, WM_COMMAND, click, 0));
    Notify(PSN_SETACTIVE);
    EXPECT_FALSE(Shown(IDC_BTN_PRINTER_SERVICES));
    RegDeleteTreeW(HKEY_CURRENT_USER, kZQCmdLogKey);
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, L"ToolboxPath", REG_SZ, program.c_str(),
                                             static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t))));
    Notify(PSN_SETACTIVE);
    EXPECT_TRUE(Shown(IDC_BTN_PRINTER_SERVICES));
    EXPECT_EQ(TRUE, FeaturesPageDlgProc(m_page, WM_COMMAND, click, 0));
    EXPECT_NE(std::wstring::npos, zqtest::LoggedCommandLine(true).find(program));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, key);
}

}  // namespace
