// The Output page in its sheet: the change check, help and the administrator's bin lock, the sample
// page turning the document, OK or Apply reported with the sheet-wide work on the last page
// visited, and messages that lack what they need.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "featurelogic/zqquicksets.h"
#include "outputtest.h"

#include <commctrl.h>

namespace {

// A change made and undone leaves the page unchanged, unless the quick sets changed meanwhile.
TEST_F(OutputPage, ChangeUndoneIsUnchangedAgain) {
    Start();
    const struct {
        const char* name;
        std::function<void()> change, undo;
    } cases[] = {
        {"staple", [&] { Choose(IDC_CBO_STAPLE, L"One Staple"); }, [&] { Choose(IDC_CBO_STAPLE, L"None"); }},
        // Punched sets leave through the first bin: the user takes the bin back.
        {"punch", [&] { Choose(IDC_CBO_PUNCH, L"Left"); },
         [&] {
             Choose(IDC_CBO_PUNCH, L"No Holes");
             Choose(IDC_CBO_BIN, L"Face-Down Bin");
         }},
        {"bin", [&] { Choose(IDC_CBO_BIN, L"Stapler Bin"); }, [&] { Choose(IDC_CBO_BIN, L"Face-Down Bin"); }},
        {"image shift", [&] { Click(m_page, IDC_CHK_IMAGE_SHIFT); }, [&] { Click(m_page, IDC_CHK_IMAGE_SHIFT); }},
        {"delivery", [&] { Click(m_page, IDC_RB_FACEUP); }, [&] { Click(m_page, IDC_RB_FACEDOWN); }},
        {"orientation", [&] { Click(m_page, IDC_BTN_PREVIEW_PORT); }, [&] { Click(m_page, IDC_BTN_PREVIEW_LAND); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_sheetMessages.clear();
        c.change();
        ASSERT_FALSE(m_sheetMessages.empty());
        EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), m_sheetMessages.back());
        EXPECT_TRUE(m_tab->BCheckChanged(m_page, &m_context));
        c.undo();
        EXPECT_EQ(static_cast<UINT>(PSM_UNCHANGED), m_sheetMessages.back());
    }
    m_context.pQuickSets->BSetChanged(m_page);
    EXPECT_FALSE(m_tab->BCheckChanged(m_page, &m_context));
    EXPECT_EQ(static_cast<UINT>(PSM_CHANGED), m_sheetMessages.back());
    Click(m_page, IDC_CHK_IMAGE_SHIFT);
    EXPECT_EQ(1, Sel("ZQImageShift")) << "the box sets the feature";
}

// The help of each control: its own topic, the bin's item's, or the locked setting's (15147); the
// bin's controls are disabled only where the configuration manager's settings exist, by the lock
// word stored in any letter case: a value that is no text, or a lock the import could not store,
// leaves them as they are.
TEST_F(OutputPage, BinLockDisablesTheBinAndTakesTheLockedTopic) {
    Start();
    m_host.Item("OutputBin")->HelpIndex = 20001;
    auto table = [&] {
        std::map<DWORD, DWORD> help;
        DWORD pairs[2 * (CZQOutputTab::kHelpPairs + 1)];
        std::fill(std::begin(pairs), std::end(pairs), 0xFFFFu);
        m_tab->VGetHelpIds(pairs, &m_context);
        EXPECT_EQ(0u, pairs[2 * CZQOutputTab::kHelpPairs]);
        EXPECT_EQ(0u, pairs[2 * CZQOutputTab::kHelpPairs + 1]);
        for (int i = 0; i < CZQOutputTab::kHelpPairs; ++i) help[pairs[2 * i]] = pairs[2 * i + 1];
        return help;
    };
    auto binEnabled = [&] { return Enabled(IDC_CBO_BIN) && Enabled(IDC_STA_OUTPUT_BIN) && Enabled(IDC_GB_OUTPUT_BIN_OPTIONS); };
    std::map<DWORD, DWORD> help = table();
    EXPECT_EQ(20001u, help[IDC_CBO_BIN]);
    EXPECT_EQ(15129u, help[313]);
    EXPECT_EQ(15311u, help[IDC_CBO_STAPLE]);
    EXPECT_EQ(14060u, help[IDC_BTN_PREVIEW_PORT]) << "the sample page shown";
    EXPECT_EQ(0u, help.count(IDC_BTN_PREVIEW_LAND));

    for (const wchar_t* lock : {L"OutputBin", L"JobRetentionModeChoice"})
        m_printer.PutString(L"DMCLockData\\Printing", lock, L"Lock");
    Notify(PSN_SETACTIVE);
    EXPECT_TRUE(binEnabled()) << "no configuration manager's settings";
    help = table();
    EXPECT_EQ(15147u, help[IDC_CBO_BIN]);
    EXPECT_EQ(15147u, help[313]);
    m_printer.PutString(zqspool::CZQMemoryPrinter::kRootKey, L"DMCExist", L"True");
    const DWORD number = 1;
    m_printer.PutValue(L"DMCLockData\\Printing", L"OutputBin", REG_DWORD, &number, sizeof number);
    const wchar_t unstored[] = L"DMCLockData\\Printing\\OutputBin\0";
    m_printer.PutValue(zqspool::CZQMemoryPrinter::kRootKey, L"DMCUnstoredLocks", REG_MULTI_SZ, unstored, sizeof unstored);
    Notify(PSN_SETACTIVE);
    EXPECT_TRUE(binEnabled()) << "no lock word stored";
    m_printer.PutString(L"DMCLockData\\Printing", L"OutputBin", L"lock");
    Notify(PSN_SETACTIVE);
    EXPECT_FALSE(binEnabled());
}

// Two pages to a portrait sheet show the landscape sheet: its click turns the document to
// landscape, and the focus follows the sample page to the portrait sheet.
TEST_F(OutputPage, SamplePageClickTurnsTheDocument) {
    Start();
    Work().dwPagesPerSheet = 2;
    DWORD pairs[2 * (CZQOutputTab::kHelpPairs + 1)] = {};
    m_tab->VGetHelpIds(pairs, &m_context);
    EXPECT_NE(std::end(pairs), std::find(std::begin(pairs), std::end(pairs), DWORD{IDC_BTN_PREVIEW_LAND}));
    Click(m_page, IDC_BTN_PREVIEW_LAND);
    EXPECT_EQ(2, Work().wOrientation);
    EXPECT_EQ(1, m_host.ItemByPubId(kOemPubOrientation, true)->Sel);
    EXPECT_EQ(1, Sel("Orientation"));
    EXPECT_EQ(Ctl(IDC_BTN_PREVIEW_PORT), GetFocus());
    // The sample page shows the choices and the accessory.
    Choose(IDC_CBO_STAPLE, L"One Staple");
    m_tab->VFillPreviewSettings(&m_context);
    EXPECT_EQ(1, m_tab->PreviewRecordForTesting().aiValue[kPvStaple]);
    EXPECT_EQ(2, m_tab->PreviewRecordForTesting().wOrientation);
}

// OK or Apply: the sheet-wide work runs on the last page visited only.
TEST_F(OutputPage, OnlyTheLastPageVisitedSynchronisesAndExports) {
    Start();
    ExpectApplyOnlyOnTheLastPageVisited(kPageOutput);
}

// A message without the page's items or private devmode changes nothing and leaves last error 13.
TEST_F(OutputPage, MessagesWithoutTheirPiecesChangeNothing) {
    Start();
    const int bin = Sel("OutputBin");
    SendMessageW(Ctl(IDC_CBO_BIN), CB_SETCURSEL, 0, 0);
    ExpectNothingChangesWithoutTheDevmode(MAKEWPARAM(IDC_CBO_BIN, CBN_SELCHANGE), PSN_KILLACTIVE);
    EXPECT_EQ(bin, Sel("OutputBin"));
}

}  // namespace
