// The paper slots of the page kinds: printer ids and option positions with conflict marks, and each
// kind's paper in its slot and in the settings.
#include <gtest/gtest.h>

#include "pagetest.h"

namespace {

TEST_F(PaperQualityPage, IdsAndPositionsSkipConflictingSourcesAndBoundTheMedia) {
    AddItems();
    Build();
    ASSERT_NE(nullptr, Open());
    // Tray 1 (option 1) conflicts: the printer's bins after it move up by one.
    m_host.Item("InputBin")->pOptType->pOptParam[1].Flags |= OPTPF_OVERLAY_WARNING_ICON;
    m_tab->VFillMediaTypeList(&m_context);
    const struct {
        int position;
        DWORD id;
    } sources[] = {{-1, 15}, {0, 15}, {1, 257}, {3, 258}, {4, 15}, {-7, 15}};
    for (const auto& s : sources) EXPECT_EQ(s.id, m_tab->DWSourceFromPosition(&m_context, s.position)) << s.position;
    EXPECT_EQ(0, m_tab->ISourcePosition(&m_context, 15)) << "the first bin by its name, first in the list";
    EXPECT_EQ(3, m_tab->ISourcePosition(&m_context, 258));
    EXPECT_EQ(0, m_tab->ISourcePosition(&m_context, 999));

    const struct {
        int position;
        DWORD id;
    } media[] = {{0, 1}, {1, 257}, {2, 2}, {-1, 1}, {3, 1}, {1000, 1}};
    for (const auto& m : media) EXPECT_EQ(m.id, m_tab->DWMediaTypeFromIndex(&m_context, m.position)) << m.position;
    EXPECT_EQ(1, m_tab->IMediaTypeIndex(&m_context, 257));
    EXPECT_EQ(0, m_tab->IMediaTypeIndex(&m_context, 999));

    for (int kind = -1; kind <= kPageKindCount; ++kind) {
        const int expected = kind == kKindLastPage ? 3 : kind == kKindBackCover ? 2 : kind < 0 || kind > 6 ? -1 : kind;
        EXPECT_EQ(expected, CZQPaperSlots::ISlotOfKind(kind)) << kind;
    }
}

TEST_F(PaperQualityPage, EachKindStoresItsPaperInItsSlotAndSettings) {
    AddItems();
    m_host.Add(zqtest::ListFeature("Back_Cover_from_Feeder_InputBin",
                                   {{"None", L"None"}, {"Upper", L"Upper Feeder"}, {"Lower", L"Lower Feeder"}}, 1));
    Build();
    ASSERT_NE(nullptr, Open());
    ZQUIDevmode& work = *m_logic.WorkDM();
    const PaperSlotTable& slots = m_tab->SlotsForTesting();
    // Last Page is slot 3 and Back Cover slot 2; without a kind the lists hold every page's paper.
    const struct {
        int kind;
        const wchar_t* source;
        int option;
        DWORD sourceId;
        const wchar_t* media;
        DWORD mediaId;
        std::vector<std::tuple<int, uint32_t*, uint32_t*>> slotsAndFields;  // slot, source and media fields
    } cases[] = {
        {kKindLastPage, L"Tray 2", 2, 258, L"Transparency", 2, {{3, &work.dwLastPageSource, &work.dwLastPageMedia}}},
        {kKindBackCover, L"Automatically Select", 0, 15, L"Photo Paper", 257,
         {{2, &work.dwBackCoverSource, &work.dwBackCoverMedia}}},
        {kKindNone, L"Tray 1", 1, 257, L"Photo Paper", 257,
         {{0, &work.dwFirstPageSource, &work.dwFirstPageMedia},
          {1, &work.dwOtherPagesSource, &work.dwOtherPagesMedia},
          {3, &work.dwLastPageSource, &work.dwLastPageMedia}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        SendMessageW(Ctl(IDC_CBO_MEDIA_SOURCE_IS), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(c.source));
        SendMessageW(Ctl(IDC_CBO_MEDIA_TYPE_IS), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(c.media));
        m_tab->VStorePageKindPaper(&m_context, c.kind);
        for (const auto& [slot, source, media] : c.slotsAndFields) {
            EXPECT_EQ(c.option, slots.aiSource[slot]) << slot;
            EXPECT_EQ(static_cast<int>(c.mediaId), slots.aiMediaId[slot]) << slot;
            EXPECT_EQ(c.sourceId, *source) << slot;
            EXPECT_EQ(c.mediaId, *media) << slot;
        }
    }
    // A feeder cover keeps the feeder's option and the slot's media id; without an option yet it
    // takes option 2, in the settings and the feature, and the feeder's first option is not offered.
    m_tab->SlotsForTesting().aiMediaId[5] = 258;
    m_host.SetSelection("Back_Cover_from_Feeder_InputBin", 1);  // the page's start turned the feeder off
    m_tab->VStorePageKindPaper(&m_context, kKindBackCoverFeeder);
    EXPECT_EQ(1, slots.aiSource[5]);
    EXPECT_EQ(1u, work.dwBackCoverFeederIndex);
    EXPECT_EQ(258u, work.dwBackCoverFeederMedia);
    work.dwBackCoverFeederIndex = 0;
    m_tab->VFillSourceCombo(&m_context, kKindBackCoverFeeder);
    EXPECT_EQ(2, slots.aiSource[5]);
    EXPECT_EQ(2u, work.dwBackCoverFeederIndex);
    EXPECT_EQ("Lower", Current("Back_Cover_from_Feeder_InputBin"));
    EXPECT_EQ(L"Lower Feeder", Text(IDC_CBO_MEDIA_SOURCE_IS));
    EXPECT_EQ(2, SendMessageW(Ctl(IDC_CBO_MEDIA_SOURCE_IS), CB_GETCOUNT, 0, 0));
    // The media list's keyword goes to the rules, and nothing without a selection.
    SendMessageW(Ctl(IDC_CBO_MEDIA_TYPE_IS), CB_SETCURSEL, 2, 0);
    EXPECT_TRUE(m_tab->BStoreMediaTypeKeyword(m_page, &m_context));
    EXPECT_STREQ(L"FILM", m_rules->Parser().m_szMediaTypeValue);
    SendMessageW(Ctl(IDC_CBO_MEDIA_TYPE_IS), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_FALSE(m_tab->BStoreMediaTypeKeyword(m_page, &m_context));
}

}  // namespace
