// The Paper/Quality page in its sheet: activation, leaving, OK or Apply across pages visited in any
// order with the sheet's answer scripted, and Cancel.
#include <gtest/gtest.h>

#include <algorithm>
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

using std::make_tuple;

class PaperQualitySheet : public PaperQualityPage {
protected:
    void SetUp() override {
        PaperQualityPage::SetUp();
        AddItems();
        m_host.Add(zqtest::ListFeature("Duplex", {{"NONE", L"None"}, {"LONG", L"Long"}}, 1, DMPUB_DUPLEX));
        m_host.Add(zqtest::ListFeature("ZQPrintOnBothSidesManually", {{"OFF", L"Off"}, {"ON", L"On"}}));
        m_host.Add(zqtest::ValueFeature("ManualDuplex", "INSTALLED"));
        m_host.Add(zqtest::ValueFeature("ZQUseAutoDuplexUnit", "FALSE"));  // a setting without an item
        m_core.dwLayoutMode = 3;
        Build();
        LoadRules(zqmacrotest::Feature("Unused", {}), "");
        m_context.pSheet = &m_record;
        ASSERT_NE(nullptr, Open());
    }
};

TEST_F(PaperQualitySheet, OnlyTheLastPageVisitedSynchronisesAndExportsEvenWhenTheResultIsRefused) {
    ZQSheetState& sheet = *m_logic.SheetState();
    CZQQuickSets& quickSets = *m_context.pQuickSets;
    const std::vector<std::string> last = {"sync", "result 105 1", "export Printing/"};
    const struct {
        int position;      // this page's place in the sheet
        int visitedFirst;  // the highest place other pages reached before
        LONG_PTR answer;   // the sheet's answer to the result
        LRESULT result;
        std::vector<std::string> calls;
    } cases[] = {
        {3, 5, 1, PSNRET_NOERROR, {"result 103 1"}},  // pages 2, 5, then 3
        {5, 3, 1, PSNRET_NOERROR, last},
        {5, -1, 0, PSNRET_INVALID_NOCHANGEPAGE, last},  // refused, still exported
        {0, 2, 0, PSNRET_INVALID_NOCHANGEPAGE, {"result 100 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << " after " << c.visitedFirst << " answered " << c.answer);
        sheet.aiPagePosition[kPagePaperQuality] = c.position;
        sheet.iHighestPage = c.visitedFirst;
        EXPECT_EQ(0, Notify(PSN_SETACTIVE));
        EXPECT_EQ(std::max(c.position, c.visitedFirst), sheet.iHighestPage);
        quickSets.BSetChanged(m_page);
        m_imageEnhance.VSetChanged();
        m_gates->calls.clear();
        m_sheetAnswer = c.answer;
        EXPECT_EQ(c.result, Notify(PSN_APPLY));
        EXPECT_EQ(c.calls, m_gates->calls);
        EXPECT_FALSE(quickSets.BChanged() || m_imageEnhance.BChanged()) << "changes count until apply";
    }
    m_context.pSheet = nullptr;
    EXPECT_EQ(PSNRET_INVALID_NOCHANGEPAGE, Notify(PSN_APPLY)) << "no sheet to take the result";
}

TEST_F(PaperQualitySheet, ActivationLeavingAndCancel) {
    ZQUIDevmode& work = *m_logic.WorkDM();
    // Two-sided printing without a duplex unit item of the driver is printed by hand.
    for (const auto& [duplex, manual, switched] : {make_tuple(2, 0u, true), make_tuple(1, 0u, false),
                                                   make_tuple(2, 1u, false)}) {
        std::tie(work.wDuplex, work.dwManualDuplex) = make_tuple(static_cast<WORD>(duplex), manual);
        m_host.SetSelection("Duplex", 1);
        m_host.SetSelection("ZQPrintOnBothSidesManually", 0);
        Notify(PSN_SETACTIVE);
        EXPECT_EQ(make_tuple(switched ? 0 : 1, switched ? 1 : 0, switched ? 1u : manual),
                  make_tuple(Sel("Duplex"), Sel("ZQPrintOnBothSidesManually"), work.dwManualDuplex))
            << duplex << " " << manual;
    }
    // Leaving: the first paper-list entry named like the media gives its key; a key too long for
    // its field, or no entry ("Plain" is not "Plain Paper"), leaves the field as it was.
    PaperListEntry entries[3] = {};
    const wchar_t* texts[3][2] = {{L"PHOTOKEY", L"Photo Paper"}, {L"MUCHTOOLONGKEY", L"Transparency"},
                                  {L"PLAINKEY", L"Plain"}};
    for (int i = 0; i < 3; ++i) {
        ZQCopyText(entries[i].szName, 256, texts[i][0]);
        ZQCopyText(entries[i].szText, 256, texts[i][1]);
    }
    m_gates->papers = {3, entries};
    for (const auto& [media, key] : {std::make_pair(1, L"PHOTOKEY"), std::make_pair(2, L"OLD"),
                                     std::make_pair(0, L"OLD")}) {
        const WCHAR old[10] = L"OLD";
        memcpy(work.abPaperListKey, old, sizeof old);
        m_host.SetSelection("MediaType", media);
        m_core.iStartPage = 0;
        EXPECT_EQ(0, Notify(PSN_KILLACTIVE));
        EXPECT_EQ(make_tuple(std::wstring(key), 832),
                  make_tuple(std::wstring(reinterpret_cast<const WCHAR*>(work.abPaperListKey)), m_core.iStartPage))
            << media << ": the key, and the page stored itself";
    }
    m_gates->papers = {};
    // Cancel only tells the sheet the page is unchanged; other notifications are not the page's.
    m_host.ClearUpdates();
    m_sheetMessages.clear();
    EXPECT_EQ(0, Notify(PSN_RESET));
    EXPECT_EQ(std::vector<UINT>{PSM_UNCHANGED}, m_sheetMessages);
    EXPECT_TRUE(m_host.Updates().empty());
    EXPECT_EQ(0, Notify(PSN_QUERYCANCEL));
}

}  // namespace
