// Papers of single pages and covers on the Paper/Quality page: page kinds from their texts, the
// page-kind list filled from "ZQCovers", the covers in use, the first selection, the markers, the
// owner drawing and each kind's paper kept in the settings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqmodule.h"
#include "pagetest.h"

namespace {

using zqtest::ListFeature;

const wchar_t* const kEnglish[] = {L"First Page",  L"Other Pages",           L"Last Page",
                                   L"Back Cover",  L"Front Cover",           L"Back Cover from Feeder",
                                   L"Front Cover from Feeder"};

class PaperQualityKinds : public PaperQualityPage {
protected:
    // The desk printer with the covers feature; `options` changes its options before Build.
    void Prepare(const std::vector<zqtest::FixtureOption>& options = {}) {
        AddItems();
        zqtest::FixtureFeature covers = ListFeature("ZQCovers", {}, 1);
        const char* keywords[] = {"First_Page", "Other_Pages", "Last_Page", "Back_Cover", "Front_Cover",
                                  "Back_Cover_from_Feeder", "Front_Cover_from_Feeder"};
        for (int i = 0; i < 7; ++i) covers.options.push_back({keywords[i], kEnglish[i]});
        if (!options.empty()) covers.options = options;
        m_host.Add(covers);
        for (const char* feeder : {"Back_Cover_from_Feeder_InputBin", "Front_Cover_from_Feeder_InputBin"})
            m_host.Add(ListFeature(feeder, {{"None", L"None"}, {"Feeder", L"Cover Feeder"}}));
        m_host.Add(ListFeature("ZQPageExceptions", {{"CoverInsertion", L"Covers"}}));
        m_core.dwLayoutMode = 3;
        // The marker icon comes from the plug-in's own resources.
        zqmodule::SetInstance(Resources());
        Build();
        zqmodule::SetInstance(nullptr);
        m_exceptions = m_host.Item("ZQPageExceptions");
        Exceptions(false);
    }
    // The page with or without the driver's page exceptions (its item goes by its keyword).
    void Exceptions(bool on) {
        auto* ud = reinterpret_cast<USERDATA*>(m_exceptions->UserData);
        ud->pKeyWordName = const_cast<char*>(on ? "ZQPageExceptions" : "ZQPageExceptionsOff");
    }
    std::vector<std::wstring> Items() const {
        std::vector<std::wstring> items;
        HWND list = Ctl(IDC_LB_MEDIA_PAPER_OPTIONS);
        const int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            WCHAR text[256] = {};
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            items.emplace_back(text);
        }
        return items;
    }
    int ListSel() const { return static_cast<int>(SendMessageW(Ctl(IDC_LB_MEDIA_PAPER_OPTIONS), LB_GETCURSEL, 0, 0)); }
    void SetItems(const std::vector<std::wstring>& items) {
        HWND list = Ctl(IDC_LB_MEDIA_PAPER_OPTIONS);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (const auto& item : items) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    std::vector<DWORD> CoversInUse() const {
        return {m_logic.m_adwCoverFlags[0], m_logic.m_adwCoverFlags[1], m_logic.m_adwCoverFlags[2],
                m_logic.m_adwCoverFlags[3]};
    }
    OPTITEM* m_exceptions = nullptr;
};

TEST_F(PaperQualityKinds, KindsFromLocalizedAndMarkedTexts) {
    Prepare();
    const struct {
        LANGID ui;
        const wchar_t* text;
        int kind;
        const wchar_t* after;  // the caller's buffer afterwards
    } cases[] = {
        {0x0409, L"<< Front Cover", kKindFrontCover, L"Front Cover"},
        {0x0409, L"Back Cover from Feeder", kKindBackCoverFeeder, L"Back Cover from Feeder"},
        {0x0409, L"front cover", kKindFirstPage, L"front cover"},
        {0x0409, L"", kKindFirstPage, L""},
        {0x0407, L"<< Hinterer Umschlag", kKindBackCover, L"Hinterer Umschlag"},
        {0x0407, L"Letzte Seite", kKindLastPage, L"Letzte Seite"},
        {0x0407, L"Last Page", kKindFirstPage, L"Last Page"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ui << " " << std::string(c.text, c.text + wcslen(c.text)));
        zqtest::CUiLanguage ui(c.ui);
        WCHAR text[256];
        wcscpy(text, c.text);
        EXPECT_EQ(c.kind, m_tab->IPageKindFromName(text, &m_logic));
        EXPECT_STREQ(c.after, text);
    }
}

TEST_F(PaperQualityKinds, FillListsKindsByBookletCoversAndMarks) {
    std::vector<zqtest::FixtureOption> options;
    const char* keywords[] = {"A", "B", "C", "D", "E", "F", "G", "H"};
    for (int i = 0; i < 7; ++i) options.push_back({keywords[i], kEnglish[i]});
    options.push_back({keywords[7], L"Hidden Kind", 0, true});
    options[0].conflict = true;  // "First Page" conflicts with a choice elsewhere
    Prepare(options);
    ASSERT_NE(nullptr, Open());
    ZQUIDevmode& work = *m_logic.WorkDM();
    const struct {
        const char* name;
        uint32_t booklet, back, front, backFeeder, frontFeeder;
        std::vector<int> listed;  // kinds, in order
        std::vector<DWORD> inUse;  // front from feeder, front, back, back from feeder
    } cases[] = {
        {"plain", 0, 0, 1, 0, 1, {1, 2, 3, 4, 5, 6}, {1, 1, 0, 0}},
        {"booklet", 1, 0, 0, 0, 0, {1, 4, 6}, {0, 0, 0, 0}},
        {"booklet with back covers", 1, 1, 0, 1, 0, {1, 3, 4, 5, 6}, {0, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        work.dwDiffPaper = 1;
        work.dwBooklet = c.booklet;
        work.dwBackCover = c.back;
        work.dwFrontCover = c.front;
        work.dwBackCoverFeeder = c.backFeeder;
        work.dwFrontCoverFeeder = c.frontFeeder;
        m_tab->VFillPageList(&m_logic, TRUE);
        std::vector<std::wstring> expected;
        for (int kind : c.listed) expected.emplace_back(kEnglish[kind]);
        EXPECT_EQ(expected, Items());
        EXPECT_EQ(-1, ListSel());
        EXPECT_EQ(c.inUse, CoversInUse());
        EXPECT_EQ(0, memcmp(m_logic.m_adwCoverFlags, m_tab->CoversInUse(), sizeof m_logic.m_adwCoverFlags));
    }

    // Without reselection only the chosen item is evaluated again, and without one nothing happens.
    const std::vector<std::wstring> before = Items();
    work.dwBackCover = 0;
    m_tab->VFillPageList(&m_logic, FALSE);
    EXPECT_EQ(before, Items()) << "no item is added for a list without a choice";
    EXPECT_EQ(1u, m_logic.m_adwCoverFlags[2]);
    SendMessageW(Ctl(IDC_LB_MEDIA_PAPER_OPTIONS), LB_SETCURSEL, 1, 0);  // "Back Cover"
    m_tab->VFillPageList(&m_logic, FALSE);
    EXPECT_EQ(before, Items()) << "booklet hides nothing that is put back";
    EXPECT_EQ(1, ListSel());
    EXPECT_EQ(0u, m_logic.m_adwCoverFlags[2]);

    // A feature that cannot be read leaves the list as it was.
    auto* ud = reinterpret_cast<USERDATA*>(m_host.Item("ZQCovers")->UserData);
    ud->pKeyWordName = const_cast<char*>("ZQCoversGone");
    m_tab->VFillPageList(&m_logic, TRUE);
    EXPECT_EQ(before, Items());
}

TEST_F(PaperQualityKinds, CoversInUseFromThePageExceptionMasks) {
    Prepare();
    ZQUIDevmode& work = *m_logic.WorkDM();
    work.dwDiffPaper = 0;
    const struct {
        bool exceptions;
        DWORD placement, selection;
        std::vector<DWORD> inUse;  // front from feeder, front, back, back from feeder
    } cases[] = {
        {true, 0x8, 0x1, {0, 1, 0, 0}},   {true, 0x8, 0x2, {0, 0, 1, 0}},  {true, 0x8, 0x4, {0, 1, 1, 0}},
        {true, 0x1, 0x0, {1, 0, 0, 1}},   {true, 0x4, 0x08, {1, 0, 0, 0}}, {true, 0x2, 0x10, {0, 0, 0, 1}},
        {true, 0x9, 0x19, {1, 1, 0, 1}},  {true, 0x0, 0x1F, {0, 0, 0, 0}},
        {false, 0xF, 0x1F, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.placement << "/" << c.selection << " " << c.exceptions);
        Exceptions(c.exceptions);
        for (DWORD& flag : m_logic.m_adwCoverFlags) flag = 1;
        work.adwExtra[2] = c.placement;
        work.adwExtra[3] = c.selection;
        m_tab->VFillPageList(&m_logic, TRUE);
        EXPECT_EQ(c.inUse, CoversInUse());
        EXPECT_EQ(0, memcmp(m_logic.m_adwCoverFlags, m_tab->CoversInUse(), sizeof m_logic.m_adwCoverFlags));
    }
}

TEST_F(PaperQualityKinds, FirstSelectionByItemCountAndMarkersAgainstTheDocumentPaper) {
    Prepare();
    ASSERT_NE(nullptr, Open());
    const struct {
        size_t items;
        bool checked;
        int selected;
    } selections[] = {{3, true, 0}, {5, true, 1}, {7, true, 2}, {7, false, -1}};
    for (const auto& c : selections) {
        SCOPED_TRACE(c.items);
        SetItems(std::vector<std::wstring>(kEnglish, kEnglish + c.items));
        CheckDlgButton(m_page, IDC_CHK_MEDIA_PAPER_DIFF, c.checked ? BST_CHECKED : BST_UNCHECKED);
        m_tab->VInitPageListSelection(&m_context, m_page);
        EXPECT_EQ(c.selected, ListSel());
    }

    // The document's paper: Tray 1 (position 1), Photo Paper (position 1).
    ZQUIDevmode& work = *m_logic.WorkDM();
    work.dwDefaultSourceId = 257;
    work.dwDefaultMediaId = 257;
    CheckDlgButton(m_page, IDC_CHK_MEDIA_PAPER_DIFF, BST_CHECKED);
    SetItems(std::vector<std::wstring>(kEnglish, kEnglish + 7));
    const struct {
        int chosen;
        int first[2], other[2], last[2];  // source and media positions of the slots
        std::vector<DWORD> markers;
    } markers[] = {
        {0, {1, 1}, {1, 1}, {1, 1}, {0, 0, 0}},
        {1, {2, 1}, {1, 0}, {1, 1}, {1, 1, 0}},
        {5, {1, 1}, {1, 1}, {1, 1}, {1, 1, 0}},  // a feeder cover changes no marker
    };
    for (const auto& c : markers) {
        SCOPED_TRACE(c.chosen);
        SendMessageW(Ctl(IDC_LB_MEDIA_PAPER_OPTIONS), LB_SETCURSEL, c.chosen, 0);
        PaperSlotTable& slots = m_tab->Slots();
        const std::pair<int, const int*> rows[] = {{kKindFirstPage, c.first}, {kKindOtherPages, c.other},
                                                   {kKindLastPage, c.last}};
        for (const auto& [kind, paper] : rows) {
            slots.aiSource[CZQPaperQualityTab::ISlotOfKind(kind)] = paper[0];
            slots.aiMedia[CZQPaperQualityTab::ISlotOfKind(kind)] = paper[1];
        }
        m_tab->VUpdatePaperMarkers(&m_context);
        EXPECT_EQ(c.markers, std::vector<DWORD>(m_tab->Markers(), m_tab->Markers() + 3));
    }
}

// The item's pixels as drawn into a bitmap of its own.
std::vector<COLORREF> Draw(CZQPaperQualityTab& tab, CZQUILogic& logic, HWND list, UINT item, BOOL* result) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 200, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_LISTBOX;
    draw.itemID = item;
    draw.hwndItem = list;
    draw.hDC = dc;
    draw.rcItem = all;
    *result = tab.BDrawPageListItem(L"ZQCovers", &draw, list, &logic);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; y += 2)
        for (int x = 0; x < 200; x += 2) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

TEST_F(PaperQualityKinds, OwnerDrawingMarksEnglishKindsWhoseConditionHolds) {
    Prepare();
    ASSERT_NE(nullptr, Open());
    HWND list = Ctl(IDC_LB_MEDIA_PAPER_OPTIONS);
    ZQUIDevmode& work = *m_logic.WorkDM();
    const struct {
        const wchar_t* text;
        bool condition;
        bool marked;
    } cases[] = {{L"Front Cover", true, true},         {L"Front Cover", false, false},
                 {L"Back Cover from Feeder", true, true}, {L"Vorderer Umschlag", true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text, c.text + wcslen(c.text)));
        SetItems({c.text});
        work.dwFrontCover = work.dwBackCoverFeeder = c.condition ? 1 : 0;
        BOOL result = TRUE;
        const std::vector<COLORREF> drawn = Draw(*m_tab, m_logic, list, 0, &result);
        EXPECT_FALSE(result);
        // The same item with its text alone: the marker sits at the item's left.
        work.dwFrontCover = work.dwBackCoverFeeder = 0;
        const std::vector<COLORREF> plain = Draw(*m_tab, m_logic, list, 0, &result);
        EXPECT_EQ(c.marked, drawn != plain);
        EXPECT_NE(std::vector<COLORREF>(drawn.size(), RGB(0, 0, 0)), plain) << "background and text are drawn";
    }
    // An item beyond the feature's options, or none, draws nothing.
    for (UINT item : {8u, static_cast<UINT>(-1)}) {
        BOOL result = TRUE;
        EXPECT_EQ(std::vector<COLORREF>(1600, RGB(0, 0, 0)), Draw(*m_tab, m_logic, list, item, &result));
        EXPECT_FALSE(result);
    }
}

TEST_F(PaperQualityKinds, EachKindKeepsItsOwnSourceAndMediaInTheSettings) {
    Prepare();
    ASSERT_NE(nullptr, Open());
    auto command = [&](int id, int code) {
        SendMessageW(m_page, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Ctl(id)));
    };
    CheckDlgButton(m_page, IDC_CHK_MEDIA_PAPER_DIFF, BST_CHECKED);
    command(IDC_CHK_MEDIA_PAPER_DIFF, BN_CLICKED);
    EXPECT_EQ(std::vector<std::wstring>(kEnglish, kEnglish + 7), Items());
    EXPECT_EQ(2, ListSel()) << "seven kinds start on the third";
    // Kind, then the entries chosen in the source and media lists.
    const struct {
        int kind;
        const wchar_t* source;
        const wchar_t* media;
        uint32_t sourceId, mediaId;
    } cases[] = {{kKindFirstPage, L"Tray 2", L"Photo Paper", 258, 257},
                 {kKindLastPage, L"Tray 1", L"Transparency", 257, 2},
                 {kKindFrontCover, L"Tray 2", L"Transparency", 258, 2}};
    for (const auto& c : cases) {
        SendMessageW(Ctl(IDC_LB_MEDIA_PAPER_OPTIONS), LB_SETCURSEL, c.kind, 0);
        command(IDC_LB_MEDIA_PAPER_OPTIONS, LBN_SELCHANGE);
        for (const auto& [id, text] : {std::make_pair(IDC_CBO_MEDIA_SOURCE_IS, c.source),
                                       std::make_pair(IDC_CBO_MEDIA_TYPE_IS, c.media)}) {
            const LRESULT entry = SendMessageW(Ctl(id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(text));
            ASSERT_GE(entry, 0) << c.kind;
            SendMessageW(Ctl(id), CB_SETCURSEL, entry, 0);
            command(id, CBN_SELCHANGE);
        }
    }
    m_tab->VRefresh(m_page, &m_context, kRefreshStore);
    const ZQUIDevmode& work = *m_logic.WorkDM();
    EXPECT_EQ(1u, work.dwDiffPaper);
    const std::pair<uint32_t, uint32_t> stored[] = {{work.dwFirstPageSource, work.dwFirstPageMedia},
                                                    {work.dwLastPageSource, work.dwLastPageMedia},
                                                    {work.dwFrontCoverSource, work.dwFrontCoverMedia}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(cases[i].sourceId, stored[i].first) << cases[i].kind;
        EXPECT_EQ(cases[i].mediaId, stored[i].second) << cases[i].kind;
    }
}

}  // namespace
