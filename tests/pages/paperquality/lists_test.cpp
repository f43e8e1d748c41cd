// The Paper/Quality page's paper lists: the source list's refills, the "LETTER" fall-back and the
// "MediaType" printer data.
#include <gtest/gtest.h>

#include <tuple>

#include "macrotest.h"
#include "pagetest.h"

namespace {

using zqmacrotest::Feature;
using zqmacrotest::Macro;

TEST_F(PaperQualityPage, SourceListTakesTheRulesSourceOnceAfterAPaperChange) {
    AddItems();
    Build();
    LoadRules(Feature("Unused", {}), Macro("m_tray2", "<select_option>InputBin.TRAY2</select_option>"));
    ASSERT_NE(nullptr, Open());
    m_rules->BRunMacro(L"m_tray2", nullptr, m_host.Param());
    ASSERT_EQ(2, m_rules->IInputBinIndex());
    m_tab->SlotsForTesting().aiSource[kWorkingSlot] = 1;
    CZQPaperQualityTab::s_bSourceSelectOnce = TRUE;
    m_tab->VFillSourceCombo(&m_context, kKindNone);
    EXPECT_EQ(L"Tray 2", Text(IDC_CBO_MEDIA_SOURCE_IS));
    EXPECT_FALSE(CZQPaperQualityTab::s_bSourceSelectOnce);
    m_tab->VFillSourceCombo(&m_context, kKindNone);
    EXPECT_EQ(L"Tray 1", Text(IDC_CBO_MEDIA_SOURCE_IS)) << "then the slot's source again";
    m_tab->SlotsForTesting().aiSource[kWorkingSlot] = 0;
    m_tab->VFillSourceCombo(&m_context, kKindNone);
    EXPECT_EQ(L"Automatically Select", Text(IDC_CBO_MEDIA_SOURCE_IS));
}

class LetterFallBack : public PaperQualityPage, public ::testing::WithParamInterface<bool> {};

TEST_P(LetterFallBack, PaperTheListDoesNotOfferTakesLetterWithItsMacros) {
    const bool withLetter = GetParam();
    if (!withLetter) m_papers = {{"LEGAL", L"Legal"}, {"A4", L"A4"}};
    AddItems();
    Build();
    // The selected A4 is hidden, so the list lacks it.
    m_host.Item("PaperSize")->pOptType->pOptParam[1].Flags |= OPTPF_HIDE;
    // Each run of the paper's macros turns the finish over.
    LoadRules(Feature("PaperSize", {"m_paper"}),
              Macro("m_paper", "<switch><name>PrintFinish</name>"
                               "<case><name>Glossy</name><select_option>PrintFinish.Matte</select_option></case>"
                               "<case_default><select_option>PrintFinish.Glossy</select_option></case_default>"
                               "</switch>"));
    m_host.ClearUpdates();
    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(withLetter ? 0 : 1, Sel("PaperSize"));
    // Without Letter the list shows the first paper it offers.
    EXPECT_EQ(withLetter ? L"Letter" : L"Legal", Text(IDC_CBO_MEDIA_SIZE_IS));
    EXPECT_EQ("A4", Current("PaperSize")) << "written into the item, not reported";
    EXPECT_EQ(withLetter ? 0 : 1, Sel("PrintFinish")) << "the start's run, then the fall-back's for Letter";
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutLetter, LetterFallBack, ::testing::Bool());

TEST_F(PaperQualityPage, MediaTypePrinterDataIsAFourByteNumber) {
    AddItems();
    m_host.Add(zqtest::ValueFeature("ZQMediaTypeTreeviewPopup", "TRUE"));
    Build();
    const DWORD seven = 7;
    const ULONGLONG wide = 7;
    // Missing, too long, and a number the page keeps.
    for (const auto& [data, size, expected] : {std::make_tuple(static_cast<const void*>(nullptr), 0, 0),
                                               std::make_tuple(static_cast<const void*>(&wide), 8, 0),
                                               std::make_tuple(static_cast<const void*>(&seven), 4, 7)}) {
        SCOPED_TRACE(size);
        if (data) m_printer.PutValue(zqspool::CZQMemoryPrinter::kRootKey, L"MediaType", REG_DWORD, data, size);
        ASSERT_NE(nullptr, Open());
        DWORD type = 0;
        std::vector<BYTE> stored;
        ASSERT_TRUE(m_printer.GetValue(zqspool::CZQMemoryPrinter::kRootKey, L"MediaType", &type, &stored));
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
        ASSERT_EQ(4u, stored.size());
        EXPECT_EQ(static_cast<DWORD>(expected), *reinterpret_cast<const DWORD*>(stored.data()));
        DestroyWindow(m_page);
        m_page = nullptr;
    }
}

}  // namespace
