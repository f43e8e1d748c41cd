// Page exceptions on the Paper/Quality page: the kinds the layout allows and the ones in use, and
// the maker's module (its stand-in, loaded from the driver directory by the page) called with the
// block it records, whose answer the page follows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/zqcommon.h"
#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "pagetest.h"
#include "platform/zqcoremodapi.h"
#include "platform/zqpageexceptionsapi.h"
#include "zqpgexcrecord.h"

namespace {

using zqtest::ListFeature;

const wchar_t* const kKindNames[] = {L"Covers", L"Printed Insertions", L"Blank Insertions", L"Chapter Pages",
                                     L"Other Exceptions"};

// The module settings the tests choose from: the stand-in, unsafe names for it, one missing.
enum FileChoice { kFileStandIn, kFileUp, kFileSub, kFileMissing };
enum EntryChoice { kEntryStandIn, kEntryMissing };

class PaperQualityExceptions : public PaperQualityPage {
protected:
    void SetUp() override {
        PaperQualityPage::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kZQPgExcRecordKey);
        AddItems();
        m_host.Add(ListFeature("ZQPageExceptions", {{"CoverInsertion", kKindNames[0]},
                                                    {"PrintedInsertion", kKindNames[1]},
                                                    {"blankinsertion", kKindNames[2]},
                                                    {"ChapterPages", kKindNames[3]},
                                                    {"Watermarks", kKindNames[4]}}));
        // "..\<driver directory>\zqpgexc" reaches the stand-in as well, were it loaded.
        std::wstring dir = zqtest::ExeDir();
        const std::string last(dir.begin() + static_cast<long>(dir.find_last_of(L'\\') + 1), dir.end());
        m_host.Add(ListFeature("ZQPageExceptionsFile", {{kZQPgExcFile, L"1"},
                                                        {"..\\" + last + "\\" + kZQPgExcFile, L"2"},
                                                        {std::string("sub/") + kZQPgExcFile, L"3"},
                                                        {"zqnothere", L"4"}}));
        m_host.Add(ListFeature("ZQPageExceptionsInterface", {{kZQPgExcEntry, L"1"}, {"NoSuchEntry", L"2"}}));
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
    LPARAM Data(int item) const {
        return SendMessageW(Ctl(IDC_LB_PAGE_EXCEPTIONS_OPTIONS), LB_GETITEMDATA, static_cast<WPARAM>(item), 0);
    }
    DWORD Recorded(const wchar_t* value, DWORD fallback) const {
        DWORD data = fallback, cb = sizeof data;
        RegGetValueW(HKEY_CURRENT_USER, kZQPgExcRecordKey, value, RRF_RT_REG_DWORD, nullptr, &data, &cb);
        return data;
    }
    std::vector<BYTE> Block() const {
        std::vector<BYTE> block(sizeof(PageExceptionsParams) + 16);
        DWORD cb = static_cast<DWORD>(block.size());
        if (RegGetValueW(HKEY_CURRENT_USER, kZQPgExcRecordKey, L"Block", RRF_RT_REG_BINARY, nullptr, block.data(),
                         &cb) != ERROR_SUCCESS)
            cb = 0;
        block.resize(cb);
        return block;
    }
    void Script(const wchar_t* value, DWORD data) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kZQPgExcRecordKey, value, REG_DWORD, &data, sizeof data);
    }
};

TEST_F(PaperQualityExceptions, KindsFollowTheLayoutAndMarkTheOnesInUse) {
    for (int id : {IDC_STA_PAGE_EXCEPTIONS, IDC_LB_PAGE_EXCEPTIONS_OPTIONS, IDC_BTN_PAGE_EXCEPTIONS_SETTINGS})
        EXPECT_TRUE(Shown(id) && Enabled(id)) << id;
    for (int id : {IDC_LB_MEDIA_PAPER_OPTIONS, IDC_CHK_MEDIA_PAPER_DIFF, IDC_CHK_MEDIA_BACK_COVER})
        EXPECT_FALSE(Shown(id) || Enabled(id)) << id;
    ZQUIDevmode& work = *m_logic.WorkDM();
    const LPARAM on = CZQIconListBox::kItemEnabled, mark = CZQIconListBox::kItemMarked;
    const struct {
        const char* name;
        uint32_t pagesPerSheet, booklet, manual, inUse;
        std::vector<LPARAM> data;  // covers, printed, blank, chapters, other
        bool constrained;
    } cases[] = {
        {"one page per sheet", 1, 0, 0, 0x9, {on | mark, on, on, on | mark, 0}, false},
        {"two pages per sheet", 2, 0, 0, 0x6, {on, mark, mark, 0, 0}, true},
        {"booklet of two pages per sheet", 2, 1, 0, 0x0, {on, 0, 0, on, 0}, true},
        {"by hand on both sides", 1, 0, 1, 0x1, {on, 0, 0, mark, 0}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        work.dwPagesPerSheet = c.pagesPerSheet;
        work.dwBooklet = c.booklet;
        work.dwManualDuplex = c.manual;
        work.adwExtra[2] = c.inUse;
        m_tab->VRefreshPageExceptionsList(&m_context);
        std::vector<LPARAM> data;
        for (int i = 0; i < 5; ++i) data.push_back(Data(i));
        EXPECT_EQ(c.data, data);
        EXPECT_EQ(c.constrained, Shown(IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS));
        EXPECT_EQ(c.constrained, Enabled(IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS));
        EXPECT_EQ(-1, SendMessageW(Ctl(IDC_LB_PAGE_EXCEPTIONS_OPTIONS), LB_GETCURSEL, 0, 0)) << "no kind chosen yet";
    }
    // Item and kind both ways; a kind without an option, or an item beyond the list, is none.
    const std::pair<int, DWORD> pairs[] = {{0, ZQPE_COVER_INSERTION}, {2, ZQPE_BLANK_INSERTION}, {3, ZQPE_CHAPTER_PAGES}};
    for (const auto& [item, kind] : pairs) {
        EXPECT_EQ(kind, m_tab->DWPageExceptionKindFromItem(item, &m_context));
        EXPECT_EQ(item, m_tab->IPageExceptionItemFromKind(kind, &m_context));
    }
    EXPECT_EQ(0u, m_tab->DWPageExceptionKindFromItem(4, &m_context));
    EXPECT_EQ(0u, m_tab->DWPageExceptionKindFromItem(5, &m_context));
    EXPECT_EQ(-1, m_tab->IPageExceptionItemFromKind(0x10, &m_context));
}

TEST_F(PaperQualityExceptions, ModuleReceivesTheBlockAndItsAnswerIsFollowed) {
    ZQUIDevmode& work = *m_logic.WorkDM();
    work.wDuplex = 2;
    work.dwPagesPerSheet = 1;
    work.dwDiffPaper = 0;
    work.adwExtra[3] = 0x1;  // the exceptions' covers: the front one
    CZQLocalPtr<WCHAR> coreMod;
    ASSERT_TRUE(CZQCommon::BGetDriverDirFile(m_hPrinter, coreMod.Put(), kZQCoreModFile));
    const struct {
        const char* name;
        FileChoice file;
        EntryChoice entry;
        DWORD answer;
        int chosen;     // the list's choice; -1 none
        bool called;
        DWORD kind;     // the kind the module receives
    } cases[] = {
        {"no choice", kFileStandIn, kEntryStandIn, 1, -1, true, ZQPE_COVER_INSERTION},
        {"printed insertions", kFileStandIn, kEntryStandIn, 1, 1, true, ZQPE_PRINTED_INSERTION},
        {"nothing changed", kFileStandIn, kEntryStandIn, 0, 3, true, ZQPE_CHAPTER_PAGES},
        {"missing module", kFileMissing, kEntryStandIn, 1, 1, false, 0},
        {"missing entry", kFileStandIn, kEntryMissing, 1, 1, false, 0},
        {"up from the driver directory", kFileUp, kEntryStandIn, 1, 1, false, 0},
        {"in a folder", kFileSub, kEntryStandIn, 1, 1, false, 0},
    };
    DWORD calls = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_host.SetSelection("ZQPageExceptionsFile", c.file);
        m_host.SetSelection("ZQPageExceptionsInterface", c.entry);
        work.adwExtra[2] = 0;
        m_tab->VRefreshPageExceptionsList(&m_context);
        m_tab->VSetPageExceptionsChanged(FALSE);
        for (DWORD& flag : m_logic.m_adwCoverFlags) flag = 0;
        m_sheetMessages.clear();
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kZQPgExcRecordKey, L"Block");
        Script(L"Answer", c.answer);
        Script(L"KindsInUse", c.answer ? 0xD : 0);
        SendMessageW(Ctl(IDC_LB_PAGE_EXCEPTIONS_OPTIONS), LB_SETCURSEL, static_cast<WPARAM>(c.chosen), 0);
        // The settings button, or a double click in the list.
        const int id = c.chosen == 3 ? IDC_LB_PAGE_EXCEPTIONS_OPTIONS : IDC_BTN_PAGE_EXCEPTIONS_SETTINGS;
        SendMessageW(m_page, WM_COMMAND, MAKEWPARAM(id, id == IDC_BTN_PAGE_EXCEPTIONS_SETTINGS ? BN_CLICKED : LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(Ctl(id)));

        if (c.called) ++calls;
        EXPECT_EQ(calls, Recorded(L"Calls", 0));
        const bool changed = c.called && c.answer;
        EXPECT_EQ(changed, m_tab->BPageExceptionsChanged() != FALSE);
        EXPECT_EQ(changed ? std::vector<UINT>{PSM_CHANGED} : std::vector<UINT>{}, m_sheetMessages);
        // The kinds in use the module wrote are marked after a change only; the covers follow them.
        EXPECT_EQ(changed ? CZQIconListBox::kItemMarked : 0, Data(1) & CZQIconListBox::kItemMarked);
        EXPECT_EQ(changed ? 1u : 0u, m_logic.m_adwCoverFlags[1]) << "the front cover";
        EXPECT_EQ(changed ? 1u : 0u, m_logic.m_adwCoverFlags[3]) << "the back cover from the feeder";
        if (!c.called) continue;
        EXPECT_EQ(c.kind, m_tab->DWCurrentPageExceptionKind());

        PageExceptionsParams expected = {};
        expected.pPageParam = m_host.Param();
        expected.pLogicParam = m_host.Param();
        expected.dwKind = c.kind;
        expected.hPage = m_page;
        const PaperSlotTable& slots = m_tab->Slots();
        expected.dwMediaId = m_tab->DWMediaTypeFromIndex(&m_context, slots.aiMedia[kWorkingSlot]);
        expected.dwSourceId = m_tab->DWSourceFromPosition(&m_context, slots.aiSource[kWorkingSlot]);
        expected.dwDuplex = 1;
        wcscpy(expected.szHelpFile, L"C:\\help\\zqdesk.hlp");
        wcscpy(expected.szCoreModPath, coreMod.Get());
        wcscpy(expected.szPrinterName, L"ZQ Memory Printer");
        expected.pRecord = reinterpret_cast<ZQPageExceptionsRecord*>(work.szExtraText);
        expected.dwVersion = 1;
        expected.dwLowEnd = 1;
        const std::vector<BYTE> block = Block();
        ASSERT_EQ(sizeof expected, block.size());
        EXPECT_EQ(0, memcmp(&expected, block.data(), sizeof expected));
    }
}

}  // namespace
