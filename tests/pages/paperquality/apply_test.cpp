// The Paper/Quality page in its sheet: activation, leaving, OK or Apply across pages visited in any
// order with the sheet's answer scripted, and Cancel.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "common/zqstrings.h"
#include "featurelogic/zqquicksets.h"
#include "macrotest.h"
#include "pagetest.h"

#include <commctrl.h>

namespace {

using zqtest::ListFeature;

// The test's sheet: the result a page reports is recorded with its page handle and answered as
// scripted.
PageTestPlugin* g_plugin = nullptr;
LONG_PTR g_answer = 1;
LONG_PTR CALLBACK RecordResult(HANDLE, UINT uFunction, LPARAM lParam1, LPARAM lParam2) {
    if (g_plugin && uFunction == CPSFUNC_SET_RESULT)
        g_plugin->calls.push_back("result " + std::to_string(lParam1) + " " + std::to_string(lParam2));
    return g_answer;
}

class PaperQualitySheet : public PaperQualityPage {
protected:
    void Prepare() {
        AddItems();
        m_host.Add(ListFeature("Duplex", {{"NONE", L"None"}, {"LONG", L"Long Edge"}}, 1, DMPUB_DUPLEX));
        m_host.Add(ListFeature("ZQPrintOnBothSidesManually", {{"OFF", L"Off"}, {"ON", L"On"}}));
        m_host.Add(zqtest::ValueFeature("ManualDuplex", "INSTALLED"));
        m_host.Add(zqtest::ValueFeature("ZQUseAutoDuplexUnit", "FALSE"));  // a setting, no item
        Build();
        LoadRules(zqmacrotest::Feature("Unused", {}), "");
        m_record.pfnComPropSheet = &RecordResult;
        for (int i = 0; i < kMaxSheetPages; ++i) m_record.ahPages[i] = reinterpret_cast<HANDLE>(LONG_PTR{100 + i});
        m_plugin->sheet = &m_record;
        g_plugin = m_plugin;
        g_answer = 1;
        ASSERT_NE(nullptr, Open());
    }
    void TearDown() override {
        g_plugin = nullptr;
        PaperQualityPage::TearDown();
    }
    // The notification as the sheet sends it; the answer the page leaves for the sheet.
    LRESULT Notify(UINT code) {
        NMHDR header = {m_parent, 0, code};
        SetWindowLongPtrW(m_page, DWLP_MSGRESULT, -1);
        const INT_PTR returned = PaperQualityPageDlgProc(m_page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
        const LRESULT result = GetWindowLongPtrW(m_page, DWLP_MSGRESULT);
        EXPECT_EQ(result, returned);
        return result;
    }
    SheetRecord m_record = {};
};

TEST_F(PaperQualitySheet, OnlyTheLastPageVisitedSynchronisesAndExportsEvenWhenTheResultIsRefused) {
    Prepare();
    ZQSheetState& sheet = *m_logic.SheetState();
    CZQQuickSets& quickSets = *m_plugin->QuickSets();
    const struct {
        const char* name;
        int position;     // this page's place in the sheet
        int visitedFirst;  // the highest place other pages reached before this one
        LONG_PTR answer;  // the sheet's answer to the result
        LRESULT result;
        std::vector<std::string> calls;
    } cases[] = {
        {"pages 2 then 5 then 3: this is 3", 3, 5, 1, PSNRET_NOERROR, {"result 103 1"}},
        {"pages 2 then 5 then 3: this is 5", 5, 3, 1, PSNRET_NOERROR, {"sync", "result 105 1", "export Printing/"}},
        {"refused", 5, -1, 0, PSNRET_INVALID_NOCHANGEPAGE, {"sync", "result 105 1", "export Printing/"}},
        {"refused, not last", 0, 2, 0, PSNRET_INVALID_NOCHANGEPAGE, {"result 100 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sheet.aiPagePosition[kPagePaperQuality] = c.position;
        sheet.iHighestPage = c.visitedFirst;
        EXPECT_EQ(0, Notify(PSN_SETACTIVE));
        EXPECT_EQ(c.position > c.visitedFirst ? c.position : c.visitedFirst, sheet.iHighestPage);
        quickSets.BSetChanged(m_page);
        m_tab->ImageEnhanceDlg().VSetChanged();
        m_plugin->calls.clear();
        g_answer = c.answer;
        EXPECT_EQ(c.result, Notify(PSN_APPLY));
        EXPECT_EQ(c.calls, m_plugin->calls);
        EXPECT_FALSE(quickSets.BChanged());
        EXPECT_FALSE(m_tab->ImageEnhanceDlg().BChanged()) << "its change counts until apply";
    }
    // Without a sheet record the result is not taken.
    m_plugin->sheet = nullptr;
    EXPECT_EQ(PSNRET_INVALID_NOCHANGEPAGE, Notify(PSN_APPLY));
}

TEST_F(PaperQualitySheet, ActivationTurnsTwoSidedPrintingToManualWithoutADuplexUnitItem) {
    m_core.dwLayoutMode = 3;
    Prepare();
    ZQUIDevmode& work = *m_logic.WorkDM();
    for (const auto& [duplex, manual, switched] :
         {std::make_tuple(2, 0u, true), std::make_tuple(1, 0u, false), std::make_tuple(2, 1u, false)}) {
        SCOPED_TRACE(testing::Message() << duplex << " " << manual);
        work.wDuplex = static_cast<WORD>(duplex);
        work.dwManualDuplex = manual;
        m_host.SetSelection("Duplex", 1);
        m_host.SetSelection("ZQPrintOnBothSidesManually", 0);
        Notify(PSN_SETACTIVE);
        EXPECT_EQ(switched ? 0 : 1, Sel("Duplex"));
        EXPECT_EQ(switched ? 1 : 0, Sel("ZQPrintOnBothSidesManually"));
        EXPECT_EQ(switched ? 1u : manual, work.dwManualDuplex);
    }
}

TEST_F(PaperQualitySheet, LeavingStoresThePageAndTheMediasPaperListKey) {
    PaperListEntry entries[3] = {};
    const wchar_t* texts[3][2] = {
        {L"PHOTOKEY", L"Photo Paper"}, {L"MUCHTOOLONGKEY", L"Transparency"}, {L"PLAINKEY", L"Plain"}};
    for (int i = 0; i < 3; ++i) {
        ZQCopyText(entries[i].szName, 256, texts[i][0]);
        ZQCopyText(entries[i].szText, 256, texts[i][1]);
    }
    m_plugin->papers = {3, entries};
    Prepare();
    ZQUIDevmode& work = *m_logic.WorkDM();
    // The first entry whose name is the media's gives its key; a key the field cannot hold, or no
    // entry, leaves the field as it was ("Plain Paper" is not "Plain").
    for (const auto& [media, key] : {std::make_pair(1, L"PHOTOKEY"), std::make_pair(2, L"OLD"),
                                     std::make_pair(0, L"OLD")}) {
        SCOPED_TRACE(media);
        const WCHAR old[] = L"OLD";
        memset(work.abPaperListKey, 0, sizeof work.abPaperListKey);
        memcpy(work.abPaperListKey, old, sizeof old);
        m_host.SetSelection("MediaType", media);
        m_core.iStartPage = 0;
        EXPECT_EQ(0, Notify(PSN_KILLACTIVE));
        EXPECT_STREQ(key, reinterpret_cast<const WCHAR*>(work.abPaperListKey));
        EXPECT_EQ(832, m_core.iStartPage) << "the page stored itself";
    }
    m_plugin->papers = {};
}

TEST_F(PaperQualitySheet, CancelOnlyMarksThePageUnchanged) {
    Prepare();
    m_host.ClearUpdates();
    m_sheetMessages.clear();
    EXPECT_EQ(0, Notify(PSN_RESET));
    EXPECT_EQ(std::vector<UINT>{PSM_UNCHANGED}, m_sheetMessages);
    EXPECT_TRUE(m_host.Updates().empty());
    EXPECT_EQ(0, Notify(PSN_QUERYCANCEL)) << "other notifications are not the page's";
}

}  // namespace
