// Page exceptions on the Paper/Quality page: the kinds the layout allows and the ones in use, and
// the maker's module (its stand-in, loaded by the page from the driver directory) called with the
// block it records, whose answer the page follows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/zqstrings.h"
#include "pagetest.h"
#include "platform/zqcoremodapi.h"
#include "platform/zqpageexceptionsapi.h"
#include "zqpgexcrecord.h"

namespace {

class PaperQualityExceptions : public PaperQualityPage {
protected:
    void SetUp() override {
        PaperQualityPage::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQPgExcRecordKey);
        AddItems();
        m_host.Add(zqtest::ListFeature("ZQPageExceptions",
                                       {{"CoverInsertion", L"Covers"}, {"PrintedInsertion", L"Printed"},
                                        {"blankinsertion", L"Blank"}, {"ChapterPages", L"Chapters"},
                                        {"Watermarks", L"Other"}}));
        // The stand-in, then names that reach it from elsewhere (were they loaded), and none.
        const std::wstring dir = zqtest::ExeDir();
        const std::string up = "..\\" + std::string(dir.begin() + static_cast<long>(dir.rfind(L'\\') + 1), dir.end());
        m_host.Add(zqtest::ListFeature("ZQPageExceptionsFile", {{kZQPgExcFile, L""}, {up + "\\" + kZQPgExcFile, L""},
                                                                {std::string("sub/") + kZQPgExcFile, L""},
                                                                {"zqnothere", L""}}));
        m_host.Add(zqtest::ListFeature("ZQPageExceptionsInterface", {{kZQPgExcEntry, L""}, {"NoSuchEntry", L""}}));
        m_host.Add(zqtest::ValueFeature("ZQPageExceptionsLowEnd", "TRUE"));
        m_core.dwLayoutMode = 3;
        ZQCopyText(reinterpret_cast<PWSTR>(m_core.szHelpFile), 256, L"C:\\help\\zqdesk.hlp");
        Build();
        ASSERT_NE(nullptr, Open());
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQPgExcRecordKey);
        PaperQualityPage::TearDown();
    }
    std::vector<LPARAM> Data() const {
        std::vector<LPARAM> data;
        for (int i = 0; i < 5; ++i)
            data.push_back(SendMessageW(Ctl(IDC_LB_PAGE_EXCEPTIONS_OPTIONS), LB_GETITEMDATA, i, 0));
        return data;
    }
    void Script(const wchar_t* value, DWORD data) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kZQPgExcRecordKey, value, REG_DWORD, &data, sizeof data);
    }
};

constexpr LPARAM kOn = CZQIconListBox::kItemEnabled, kMark = CZQIconListBox::kItemMarked;

TEST_F(PaperQualityExceptions, KindsFollowTheLayoutAndMarkTheOnesInUse) {
    for (int id : {IDC_STA_PAGE_EXCEPTIONS, IDC_LB_PAGE_EXCEPTIONS_OPTIONS, IDC_BTN_PAGE_EXCEPTIONS_SETTINGS})
        EXPECT_TRUE(Shown(id) && Enabled(id)) << id;
    for (int id : {IDC_LB_MEDIA_PAPER_OPTIONS, IDC_CHK_MEDIA_PAPER_DIFF, IDC_CHK_MEDIA_BACK_COVER})
        EXPECT_FALSE(Shown(id) || Enabled(id)) << id;
    ZQUIDevmode& work = *m_logic.WorkDM();
    const struct {
        uint32_t pagesPerSheet, booklet, manual, inUse;
        std::vector<LPARAM> data;  // covers, printed, blank, chapters, other
    } cases[] = {{1, 0, 0, 0x9, {kOn | kMark, kOn, kOn, kOn | kMark, 0}}, {2, 0, 0, 0x6, {kOn, kMark, kMark, 0, 0}},
                 {2, 1, 0, 0x0, {kOn, 0, 0, kOn, 0}},                     {1, 0, 1, 0x1, {kOn, 0, 0, kMark, 0}}};
    for (const auto& c : cases) {
        work.dwPagesPerSheet = c.pagesPerSheet;
        work.dwBooklet = c.booklet;
        work.dwManualDuplex = c.manual;
        work.adwExtra[2] = c.inUse;
        m_tab->PageExceptionsForTesting().VRefreshPageExceptionsList(&m_context);
        EXPECT_EQ(c.data, Data()) << c.pagesPerSheet << c.booklet << c.manual;
        const bool constrained = !(c.data[1] & kOn) || !(c.data[3] & kOn);
        const int button = IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS;
        EXPECT_EQ(constrained, Shown(button) && Enabled(button));
    }
    // Item and kind both ways; an item without a kind or beyond the list, and a kind without an item.
    for (const auto& [item, kind] : {std::make_pair(0, 8u), std::make_pair(2, 2u), std::make_pair(3, 1u)}) {
        EXPECT_EQ(kind, m_tab->PageExceptionsForTesting().DWPageExceptionKindFromItem(item, &m_context));
        EXPECT_EQ(item, m_tab->PageExceptionsForTesting().IPageExceptionItemFromKind(kind, &m_context));
    }
    for (int item : {4, 5}) EXPECT_EQ(0u, m_tab->PageExceptionsForTesting().DWPageExceptionKindFromItem(item, &m_context));
    EXPECT_EQ(-1, m_tab->PageExceptionsForTesting().IPageExceptionItemFromKind(0x10, &m_context));
}

TEST_F(PaperQualityExceptions, ModuleReceivesTheBlockAndItsAnswerIsFollowed) {
    ZQUIDevmode& work = *m_logic.WorkDM();
    work.wDuplex = 2;
    work.dwDiffPaper = 0;
    work.adwExtra[3] = 0x1;  // the exceptions' covers: the front one
    CZQLocalPtr<WCHAR> coreMod;
    ASSERT_TRUE(CZQCommon::BGetDriverDirFile(m_hPrinter, coreMod.Put(), kZQCoreModFile));
    const struct {
        LONG file, entry;  // options of the two settings
        DWORD answer;
        int chosen;  // -1: none
        DWORD kind;  // what the module receives; 0: not called
    } cases[] = {{0, 0, 1, -1, 8}, {0, 0, 1, 1, 4}, {0, 0, 0, 3, 1}, {3, 0, 1, 1, 0},
                 {0, 1, 1, 1, 0},  {1, 0, 1, 1, 0}, {2, 0, 1, 1, 0}};
    DWORD calls = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.file << c.entry << c.answer << c.chosen);
        m_host.SetSelection("ZQPageExceptionsFile", c.file);
        m_host.SetSelection("ZQPageExceptionsInterface", c.entry);
        work.adwExtra[2] = 0;
        m_tab->PageExceptionsForTesting().VRefreshPageExceptionsList(&m_context);
        m_tab->StateForTesting().bPageExceptionsChanged = FALSE;
        for (DWORD& flag : m_logic.m_adwCoverFlags) flag = 0;
        m_sheetMessages.clear();
        Script(L"Answer", c.answer);
        Script(L"KindsInUse", c.answer ? 0xD : 0);
        SendMessageW(Ctl(IDC_LB_PAGE_EXCEPTIONS_OPTIONS), LB_SETCURSEL, static_cast<WPARAM>(c.chosen), 0);
        // The settings button, or a double click in the list.
        const int id = c.chosen == 3 ? IDC_LB_PAGE_EXCEPTIONS_OPTIONS : IDC_BTN_PAGE_EXCEPTIONS_SETTINGS;
        const int code = id == IDC_BTN_PAGE_EXCEPTIONS_SETTINGS ? BN_CLICKED : LBN_DBLCLK;
        SendMessageW(m_page, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Ctl(id)));

        calls += c.kind ? 1 : 0;
        DWORD recorded = 0, cb = sizeof recorded;
        RegGetValueW(HKEY_CURRENT_USER, kZQPgExcRecordKey, L"Calls", RRF_RT_REG_DWORD, nullptr, &recorded, &cb);
        EXPECT_EQ(calls, recorded);
        // After a change the kinds in use the module wrote are marked and the covers follow them.
        const bool changed = c.kind && c.answer;
        EXPECT_EQ(changed, m_tab->StateForTesting().bPageExceptionsChanged != FALSE);
        EXPECT_EQ(changed ? std::vector<UINT>{PSM_CHANGED} : std::vector<UINT>{}, m_sheetMessages);
        EXPECT_EQ(changed ? kMark : 0, Data()[1] & kMark);
        EXPECT_EQ((std::vector<DWORD>{changed, changed, 0, changed}),
                  std::vector<DWORD>(m_logic.m_adwCoverFlags, m_logic.m_adwCoverFlags + 4));
        if (!c.kind) continue;

        PageExceptionsParams expected = {};
        expected.pPageParam = expected.pLogicParam = m_host.Param();
        expected.dwKind = c.kind;
        expected.hPage = m_page;
        expected.dwMediaId = m_tab->DWMediaTypeFromIndex(&m_context, m_tab->SlotsForTesting().aiMedia[kWorkingSlot]);
        expected.dwSourceId = m_tab->DWSourceFromPosition(&m_context, m_tab->SlotsForTesting().aiSource[kWorkingSlot]);
        expected.dwDuplex = 1;
        wcscpy(expected.szHelpFile, L"C:\\help\\zqdesk.hlp");
        wcscpy(expected.szCoreModPath, coreMod.Get());
        wcscpy(expected.szPrinterName, L"ZQ Memory Printer");
        expected.pRecord = reinterpret_cast<ZQPageExceptionsRecord*>(work.szExtraText);
        expected.dwVersion = expected.dwLowEnd = 1;
        std::vector<BYTE> block(sizeof expected + 8);
        cb = static_cast<DWORD>(block.size());
        RegGetValueW(HKEY_CURRENT_USER, kZQPgExcRecordKey, L"Block", RRF_RT_REG_BINARY, nullptr, block.data(), &cb);
        ASSERT_EQ(sizeof expected, cb);
        EXPECT_EQ(0, memcmp(&expected, block.data(), sizeof expected));
    }
}

}  // namespace
