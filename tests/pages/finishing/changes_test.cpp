// The Finishing page's change check and its context help.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "featurelogic/zqquicksets.h"
#include "finishingtest.h"

#include <commctrl.h>

namespace {

// A change made and undone leaves the page unchanged, unless the quick sets changed meanwhile; a page no longer that of the quick set in force marks the settings the user's.
TEST_F(FinishingPage, ChangeUndoneIsUnchangedAgainUnlessQuickSetsChanged) {
    AddItems();
    Build();
    ASSERT_NE(nullptr, Open());
    const struct {
        const char* name;
        uint32_t pagesPerSheet;  // borders and order count for more pages to a sheet
        std::function<void()> change, undo;
    } cases[] = {
        {"page borders", 3, [&] { Click(m_page, IDC_CHK_PAGE_BORDER); }, [&] { Click(m_page, IDC_CHK_PAGE_BORDER); }},
        {"page borders, one page a sheet", 1, [&] { Click(m_page, IDC_CHK_PAGE_BORDER); }, nullptr},
        {"mirror", 1, [&] { Click(m_page, IDC_CHK_MIRROR); }, [&] { Click(m_page, IDC_CHK_MIRROR); }},
        {"print preview", 1, [&] { Click(m_page, IDC_CHK_SHOW_PREVIEW_FIN); },
         [&] { Click(m_page, IDC_CHK_SHOW_PREVIEW_FIN); }},
        {"orientation", 1, [&] { Click(m_page, IDC_RB_LANDSCAPE); }, [&] { Click(m_page, IDC_RB_PORTRAIT); }},
        {"stapling", 1, [&] { m_host.SetSelection("Stapling", 1); }, [&] { m_host.SetSelection("Stapling", 0); }},
        {"page order", 3,
         [&] {
             SendMessageW(Ctl(IDC_CBO_PAGE_ORDER), CB_SETCURSEL, 1, 0);
             Notice(m_page, IDC_CBO_PAGE_ORDER, CBN_SELCHANGE);
         },
         [&] {
             SendMessageW(Ctl(IDC_CBO_PAGE_ORDER), CB_SETCURSEL, 0, 0);
             Notice(m_page, IDC_CBO_PAGE_ORDER, CBN_SELCHANGE);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_core.dwPagesPerSheet = Work().dwPagesPerSheet = c.pagesPerSheet;
        m_sheetMessages.clear();
        c.change();
        if (!c.undo) {
            EXPECT_FALSE(m_tab->BCheckPageChanged(m_page, &m_context));
            c.change();
            continue;
        }
        EXPECT_TRUE(m_tab->BCheckPageChanged(m_page, &m_context));
        c.undo();
        EXPECT_FALSE(m_tab->BCheckPageChanged(m_page, &m_context));
        ASSERT_FALSE(m_sheetMessages.empty());
        EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), m_sheetMessages.back());
    }
    m_core.dwPagesPerSheet = Work().dwPagesPerSheet = 1;

    // The quick sets' change keeps the page changed (a new tile selection: the tile dialog's tests).
    m_context.pQuickSets->BSetChanged(m_page);
    EXPECT_FALSE(m_tab->BCheckPageChanged(m_page, &m_context));
    EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), m_sheetMessages.back());
    m_context.pQuickSets->VClearChanged();

    // Settings that part from the quick set in force are the user's own.
    m_core.dwQuickSetInUse = 1;
    m_context.pQuickSets->VSnapshotCurrent(&Work());
    Work().wOrientation = 2;
    m_tab->BCheckPageChanged(m_page, &m_context);
    EXPECT_EQ(1u, Work().dwPendingChange);
}

// The help of each control: its own topic, its item's, or the locked setting's (15147); (0, 0) ends
// the table.
TEST_F(FinishingPage, HelpTableWithAndWithoutLocks) {
    AddItems();
    m_host.Add(zqtest::ListFeature("ZQAutoDuplexScaling", {{"FALSE", L"Off"}, {"TRUE", L"On"}}));
    Build();
    m_host.Item("ZQPrintPreview")->HelpIndex = 20001;
    m_host.ItemByPubId(DMPUB_DUPLEX)->HelpIndex = 20002;
    m_host.Item("ZQAutoDuplexScaling")->HelpIndex = 20003;
    auto table = [&] {
        std::map<DWORD, DWORD> help;
        DWORD pairs[2 * (CZQFinishingTab::kHelpPairs + 1)];
        std::fill(std::begin(pairs), std::end(pairs), 0xFFFFu);
        m_tab->VBuildHelpTable(pairs, &m_context);
        EXPECT_EQ(0u, pairs[2 * CZQFinishingTab::kHelpPairs]);
        EXPECT_EQ(0u, pairs[2 * CZQFinishingTab::kHelpPairs + 1]);
        for (int i = 0; i < CZQFinishingTab::kHelpPairs; ++i) help[pairs[2 * i]] = pairs[2 * i + 1];
        EXPECT_EQ(static_cast<size_t>(CZQFinishingTab::kHelpPairs), help.size()) << "one pair a control";
        return help;
    };
    std::map<DWORD, DWORD> help = table();
    EXPECT_EQ(20001u, help[IDC_CHK_SHOW_PREVIEW_FIN]);
    EXPECT_EQ(20002u, help[IDC_CHK_DUPLEX]) << "the driver's two-sided item, with the manual one";
    EXPECT_EQ(20003u, help[IDC_CHK_PRESERVE_LAYOUT]);
    EXPECT_EQ(14064u, help[IDC_CHK_PAGE_BORDER]);
    EXPECT_EQ(14060u, help[IDC_BTN_PREVIEW_PORT]) << "the sample page shown";
    EXPECT_EQ(static_cast<DWORD>(-1), help[IDC_GB_DOC_OPTIONS]);

    // Locks of the configuration manager win over every topic.
    for (const wchar_t* lock : {L"Duplex", L"NUpBordersChoice", L"NUpPageOrderChoice", L"BookletPrintingChoice",
                                L"NUpChoice"})
        m_printer.PutString(L"DMCLockData\\Printing", lock, L"Lock");
    help = table();
    for (int id : {IDC_CHK_DUPLEX, IDC_CHK_PAGE_BORDER, IDC_CBO_PAGE_ORDER, IDC_CBO_BOOKLET_PRINTING,
                   IDC_CBO_PAGES_PER_SHEET})
        EXPECT_EQ(15147u, help[id]) << id;
    EXPECT_EQ(20001u, help[IDC_CHK_SHOW_PREVIEW_FIN]);
}

}  // namespace
