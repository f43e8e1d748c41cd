// The Paper/Quality page's refresh: every control from the working settings and the core driver's
// items, the page stored back into both, and the change notice the sheet hears, with the quick sets.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <string>
#include <vector>

#include "featurelogic/zqquicksets.h"
#include "macrotest.h"
#include "pagetest.h"

namespace {

using zqtest::ListFeature;

const std::vector<std::pair<std::string, std::wstring>> kOnOff = {{"OFF", L"Off"}, {"ON", L"On"}};

class PaperQualityRefresh : public PaperQualityPage {
protected:
    // The page's features with boxes, margins and feeders, a helper file, and the sheet's saved
    // selections.
    void BuildPage() {
        AddItems();
        for (const char* box : {"OHTInterleave", "ZQQuietPrinting", "ZQCenterOnPage", "ZQSymmetricMargins",
                                "ZQMinimizeMargins", "ZQEmulatePexlonMargins", "ZQLayoutType"})
            m_host.Add(ListFeature(box, kOnOff, 1));
        m_host.Add(ListFeature("ZQBorderLessAutoFit", kOnOff));
        for (const char* feeder : {"Back_Cover_from_Feeder_InputBin", "Front_Cover_from_Feeder_InputBin"})
            m_host.Add(ListFeature(feeder, {{"None", L"None"}, {"Upper", L"Upper Feeder"}}, 1));
        Build();
        LoadRules(zqmacrotest::Feature("Unused", {}), "");
        m_logic.VSaveSelections();
    }
    void Select(int id, const wchar_t* text) {
        SendMessageW(Ctl(id), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    }
};

TEST_F(PaperQualityRefresh, ShowsTheSettingsAndStoresThePageBack) {
    BuildPage();
    ZQUIDevmode& work = *m_logic.WorkDM();
    work.dwOtherPagesSource = 258;  // Tray 2
    work.dwOtherPagesMedia = 257;   // Photo Paper
    work.dwBooklet = 1;
    work.dwBackCover = 1;
    m_host.SetSelection("Thriftmode", 1);
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(L"Tray 2", Text(IDC_CBO_MEDIA_SOURCE_IS));
    EXPECT_EQ(L"Photo Paper", Text(IDC_CBO_MEDIA_TYPE_IS));
    EXPECT_EQ(L"A4", Text(IDC_CBO_MEDIA_SIZE_IS));
    EXPECT_TRUE(Checked(IDC_CHK_THRIFTMODE));
    EXPECT_TRUE(Checked(IDC_CHK_OHTINTERLEAVE));
    // Without different papers the first page takes the other pages' paper and the feeders are off.
    const PaperSlotTable& slots = m_tab->SlotsForTesting();
    EXPECT_EQ(slots.aiSource[kWorkingSlot], slots.aiSource[0]);
    EXPECT_EQ(257, slots.aiMediaId[0]);
    EXPECT_EQ(0, Sel("Back_Cover_from_Feeder_InputBin"));
    EXPECT_EQ(0, Sel("Front_Cover_from_Feeder_InputBin"));

    // The user's choices go back into the settings and the core driver's items.
    Select(IDC_CBO_MEDIA_SOURCE_IS, L"Tray 1");
    Select(IDC_CBO_MEDIA_TYPE_IS, L"Transparency");
    m_tab->VStorePageKindPaper(&m_context, kKindNone);
    Select(IDC_CBO_PRINT_QUALITY, L"Best");
    for (int box : {IDC_CHK_GLOSS, IDC_CHECK_BORDERLESS_PHOTO}) CheckDlgButton(m_page, box, BST_CHECKED);
    CheckDlgButton(m_page, IDC_CHK_THRIFTMODE, BST_UNCHECKED);
    m_core.iStartPage = 0;
    m_tab->VRefresh(m_page, &m_context, kRefreshStore);
    EXPECT_EQ(257u, work.dwOtherPagesSource);
    EXPECT_EQ(257u, work.dwLastPageSource);
    EXPECT_EQ(2u, work.dwOtherPagesMedia);
    EXPECT_EQ(1, Sel("InputBin"));
    EXPECT_EQ(2, Sel("MediaType"));
    EXPECT_EQ(2u, work.dwPrintQualityGroupIndex);
    EXPECT_EQ(0u, work.dwBackCover) << "a booklet has no back cover";
    EXPECT_EQ(1, Sel("PrintFinish"));
    EXPECT_EQ(0, Sel("Thriftmode"));
    EXPECT_EQ(832, m_core.iStartPage);
    // A borderless photo turns centring and the margin features off.
    for (const char* margin : {"ZQCenterOnPage", "ZQSymmetricMargins", "ZQMinimizeMargins", "ZQEmulatePexlonMargins"})
        EXPECT_EQ(0, Sel(margin)) << margin;
    const DWORD boxes[6] = {0, 1, 1, 0, 0, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(boxes[i], m_logic.m_adwQualityBoxes[i]) << i;
}

TEST_F(PaperQualityRefresh, PapersOfTheSettingsOrTheCoreDriver) {
    BuildPage();
    ZQUIDevmode& work = *m_logic.WorkDM();
    const struct {
        const char* name;
        DWORD otherSource, otherMedia;
        BOOL different, frontCover;
        const wchar_t* source;
        const wchar_t* media;
        int mediaSel;  // the core driver's media item afterwards
    } cases[] = {
        // Settings that hold no paper yet show, and so keep, the core driver's (Tray 1, Photo Paper).
        {"nothing stored", 0, 0, FALSE, FALSE, L"Tray 1", L"Photo Paper", 1},
        // A media id the printer does not list: its first media, in the core driver as well.
        {"unknown media", 258, 999, FALSE, FALSE, L"Tray 2", L"Plain Paper", 0},
        // Different papers show the front cover's.
        {"front cover", 258, 1, TRUE, TRUE, L"Automatically Select", L"Transparency", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_host.SetSelection("InputBin", 1);
        m_host.SetSelection("MediaType", 1);
        work.dwOtherPagesSource = c.otherSource;
        work.dwOtherPagesMedia = c.otherMedia;
        work.dwDiffPaper = c.different;
        work.dwFrontCover = c.frontCover;
        work.dwFrontCoverSource = 15;
        work.dwFrontCoverMedia = 2;
        ASSERT_NE(nullptr, Open());
        EXPECT_EQ(c.source, Text(IDC_CBO_MEDIA_SOURCE_IS));
        EXPECT_EQ(c.media, Text(IDC_CBO_MEDIA_TYPE_IS));
        EXPECT_EQ(c.mediaSel, Sel("MediaType"));
        EXPECT_EQ(c.different != FALSE, Checked(IDC_CHK_MEDIA_PAPER_DIFF));
        DestroyWindow(m_page);
        m_page = nullptr;
    }
}

TEST_F(PaperQualityRefresh, ChangeNoticeForEachCondition) {
    BuildPage();
    ASSERT_NE(nullptr, Open());
    ZQUIDevmode& work = *m_logic.WorkDM();
    const ZQUIDevmode opened = work;
    CZQQuickSets& quickSets = *m_context.pQuickSets;
    auto gloss = [&] { CheckDlgButton(m_page, IDC_CHK_GLOSS, Checked(IDC_CHK_GLOSS) ? BST_UNCHECKED : BST_CHECKED); };
    const struct {
        const char* name;
        std::function<void()> change;
        UINT expected;
    } cases[] = {
        {"nothing", [] {}, PSM_UNCHANGED},
        {"a source", [&] { work.dwLastPageSource = 258; }, PSM_CHANGED},
        {"a media id, compared",
         [&] {
             m_logic.m_bMediaCompare = TRUE;
             m_tab->SlotsForTesting().aiMediaId[3] = 2;
         },
         PSM_CHANGED},
        {"a media id, not compared", [&] { m_tab->SlotsForTesting().aiMediaId[3] = 2; }, PSM_UNCHANGED},
        {"a cover", [&] { work.dwFrontCoverFeeder = 1; }, PSM_CHANGED},
        {"page exceptions", [&] { m_tab->StateForTesting().bPageExceptionsChanged = TRUE; }, PSM_CHANGED},
        {"a box", gloss, PSM_CHANGED},
        {"the paper size", [&] { SendMessageW(Ctl(IDC_CBO_MEDIA_SIZE_IS), CB_SETCURSEL, 0, 0); }, PSM_CHANGED},
        {"the margins dialog's feature", [&] { m_host.SetSelection("ZQLayoutType", 0); }, PSM_CHANGED},
        {"orientation", [&] { work.wOrientation = 2; }, PSM_CHANGED},
        {"the quick sets", [&] { quickSets.BSetChanged(nullptr); }, PSM_CHANGED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        work = opened;
        m_logic.m_bMediaCompare = FALSE;
        m_tab->StateForTesting().bPageExceptionsChanged = FALSE;
        quickSets.VClearChanged();
        m_host.SetSelection("ZQLayoutType", 1);
        m_tab->VRefresh(m_page, &m_context, kRefreshShow);
        c.change();
        m_sheetMessages.clear();
        m_tab->VNotifyPageChanged(m_page, &m_context);
        EXPECT_EQ(std::vector<UINT>{c.expected}, m_sheetMessages);
    }

    // A confirmed image enhancement counts at every notice until apply clears it.
    work = opened;
    quickSets.VClearChanged();
    m_tab->VRefresh(m_page, &m_context, kRefreshShow);
    m_sheetMessages.clear();
    m_imageEnhance.VSetChanged();
    m_tab->VNotifyPageChanged(m_page, &m_context);
    m_tab->VNotifyPageChanged(m_page, &m_context);
    m_imageEnhance.VClearChanged();
    m_tab->VNotifyPageChanged(m_page, &m_context);
    EXPECT_EQ((std::vector<UINT>{PSM_CHANGED, PSM_CHANGED, PSM_UNCHANGED}), m_sheetMessages);

    // With a quick set in force, leaving it marks the settings; a quick set not in force does not.
    ZQUIDevmode snapshot = opened;
    snapshot.dwOtherPagesSource = 15;
    quickSets.VSnapshotCurrent(&snapshot);
    for (const auto& [inUse, source, modified] : {std::make_tuple(1u, 15u, 0u), std::make_tuple(1u, 258u, 1u),
                                                  std::make_tuple(0u, 258u, 0u)}) {
        work = opened;
        m_core.dwQuickSetInUse = inUse;
        work.dwOtherPagesSource = source;
        m_tab->VNotifyPageChanged(m_page, &m_context);
        EXPECT_EQ(modified, work.dwPendingChange) << inUse << " " << source;
    }
    m_core.dwQuickSetInUse = 0;
}

}  // namespace
