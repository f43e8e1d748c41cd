// Papers of single pages and covers on the Paper/Quality page: kinds from their texts, the list
// from "ZQCovers", the covers in use, the first selection, the markers and the owner drawing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/zqmodule.h"
#include "pagetest.h"

namespace {

const wchar_t* const kNames[] = {L"First Page", L"Other Pages", L"Last Page", L"Back Cover", L"Front Cover",
                                 L"Back Cover from Feeder", L"Front Cover from Feeder"};

class PaperQualityKinds : public PaperQualityPage {
protected:
    void SetUp() override {
        PaperQualityPage::SetUp();
        AddItems();
        zqtest::FixtureFeature covers = zqtest::ListFeature("ZQCovers", {}, 1);
        for (const wchar_t* name : kNames)
            covers.options.push_back({"K" + std::to_string(covers.options.size()), name});
        covers.options[0].conflict = true;
        covers.options.push_back({"Hidden", L"Hidden Kind", 0, true});
        m_host.Add(covers);
        m_host.Add(zqtest::ListFeature("ZQPageExceptions", {{"CoverInsertion", L"Covers"}}));
        m_core.dwLayoutMode = 3;
        zqmodule::SetInstance(Resources());  // the marker icon is the plug-in's
        Build();
        zqmodule::SetInstance(nullptr);
        Exceptions(false);
        ASSERT_NE(nullptr, Open());
    }
    // The driver's page exceptions come and go with their item's keyword.
    void Exceptions(bool on) {
        reinterpret_cast<USERDATA*>(m_host.Item("ZQPageExceptions")->UserData)->pKeyWordName =
            const_cast<char*>(on ? "ZQPageExceptions" : "ZQPageExceptionsOff");
    }
    HWND List() const { return Ctl(IDC_LB_MEDIA_PAPER_OPTIONS); }
    std::vector<std::wstring> Items() const {
        std::vector<std::wstring> items;
        for (int i = 0; i < SendMessageW(List(), LB_GETCOUNT, 0, 0); ++i) {
            WCHAR text[256] = {};
            SendMessageW(List(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            items.emplace_back(text);
        }
        return items;
    }
    void SetItems(size_t count, const wchar_t* const* names = kNames) {
        SendMessageW(List(), LB_RESETCONTENT, 0, 0);
        for (size_t i = 0; i < count; ++i) SendMessageW(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
    }
    int Chosen() const { return static_cast<int>(SendMessageW(List(), LB_GETCURSEL, 0, 0)); }
    // An item of a control drawn by `draw` into a bitmap of its own: every other pixel.
    static std::vector<COLORREF> Drawn(UINT type, UINT id, UINT item, HWND control,
                                       const std::function<void(DRAWITEMSTRUCT&)>& draw) {
        CZQWindowDC screen(nullptr);
        HDC dc = CreateCompatibleDC(screen.Get());
        CZQGdiObject bitmap(CreateCompatibleBitmap(screen.Get(), 200, 32));
        HGDIOBJ old = SelectObject(dc, bitmap.Get());
        DRAWITEMSTRUCT dis = {type, id, item, ODA_DRAWENTIRE, 0, control, dc, {0, 0, 200, 32}, 0};
        FillRect(dc, &dis.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        draw(dis);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 32; y += 2)
            for (int x = 0; x < 200; x += 2) pixels.push_back(GetPixel(dc, x, y));
        SelectObject(dc, old);
        DeleteDC(dc);
        return pixels;
    }
    std::vector<DWORD> InUse() const {
        EXPECT_EQ(0, memcmp(m_logic.m_adwCoverFlags, m_tab->StateForTesting().adwCoversInUse, sizeof m_logic.m_adwCoverFlags));
        return std::vector<DWORD>(m_logic.m_adwCoverFlags, m_logic.m_adwCoverFlags + 4);
    }
};

TEST_F(PaperQualityKinds, KindsFromLocalizedAndMarkedTexts) {
    const struct {
        LANGID ui;
        const wchar_t *text, *after;
        int kind;
    } cases[] = {{0x0409, L"<< Front Cover", L"Front Cover", 4}, {0x0409, L"front cover", L"front cover", 0},
                 {0x0409, L"Back Cover from Feeder", L"Back Cover from Feeder", 5},
                 {0x0407, L"<< Hinterer Umschlag", L"Hinterer Umschlag", 3}, {0x0407, L"Last Page", L"Last Page", 0}};
    for (const auto& c : cases) {
        zqtest::CUiLanguage ui(c.ui);
        WCHAR text[256];
        wcscpy(text, c.text);
        EXPECT_EQ(c.kind, m_tab->IPageKindFromName(text, &m_logic)) << c.ui << " " << c.kind;
        EXPECT_STREQ(c.after, text);
    }
}

TEST_F(PaperQualityKinds, FillListsKindsByBookletCoversAndMarks) {
    ZQUIDevmode& work = *m_logic.WorkDM();
    work.dwDiffPaper = 1;
    const struct {
        uint32_t booklet, back, front, backFeeder, frontFeeder;
        std::vector<int> listed;
        std::vector<DWORD> inUse;  // front from feeder, front, back, back from feeder
    } cases[] = {{0, 0, 1, 0, 1, {1, 2, 3, 4, 5, 6}, {1, 1, 0, 0}},
                 {1, 0, 0, 0, 0, {1, 4, 6}, {0, 0, 0, 0}},
                 {1, 1, 0, 1, 0, {1, 3, 4, 5, 6}, {0, 0, 1, 1}}};
    for (const auto& c : cases) {
        work.dwBooklet = c.booklet;
        work.dwBackCover = c.back;
        work.dwFrontCover = c.front;
        work.dwBackCoverFeeder = c.backFeeder;
        work.dwFrontCoverFeeder = c.frontFeeder;
        m_tab->VFillPageList(&m_logic, TRUE);
        std::vector<std::wstring> expected;
        for (int kind : c.listed) expected.emplace_back(kNames[kind]);
        EXPECT_EQ(expected, Items()) << "conflicting and hidden options are left out";
        EXPECT_EQ(-1, Chosen());
        EXPECT_EQ(c.inUse, InUse());
    }
    // Without reselection only the chosen item is evaluated, in place; without one, nothing is added.
    const std::vector<std::wstring> before = Items();
    work.dwBackCover = 0;
    m_tab->VFillPageList(&m_logic, FALSE);
    EXPECT_EQ(before, Items());
    EXPECT_EQ(1u, InUse()[2]);
    SendMessageW(List(), LB_SETCURSEL, 1, 0);
    m_tab->VFillPageList(&m_logic, FALSE);
    EXPECT_EQ(before, Items());
    EXPECT_EQ(1, Chosen());
    EXPECT_EQ(0u, InUse()[2]);
    // A feature that cannot be read leaves the list as it was.
    reinterpret_cast<USERDATA*>(m_host.Item("ZQCovers")->UserData)->pKeyWordName = const_cast<char*>("Gone");
    m_tab->VFillPageList(&m_logic, TRUE);
    EXPECT_EQ(before, Items());
}

TEST_F(PaperQualityKinds, CoversInUseFromThePageExceptionMasks) {
    ZQUIDevmode& work = *m_logic.WorkDM();
    work.dwDiffPaper = 0;
    const struct {
        bool exceptions;
        DWORD placement, selection;
        std::vector<DWORD> inUse;
    } cases[] = {{true, 0x8, 0x1, {0, 1, 0, 0}}, {true, 0x8, 0x2, {0, 0, 1, 0}}, {true, 0x8, 0x4, {0, 1, 1, 0}},
                 {true, 0x1, 0x0, {1, 0, 0, 1}}, {true, 0x4, 0x8, {1, 0, 0, 0}}, {true, 0x2, 0x10, {0, 0, 0, 1}},
                 {true, 0x0, 0x1F, {0, 0, 0, 0}}, {false, 0xF, 0x1F, {0, 0, 0, 0}}};
    for (const auto& c : cases) {
        Exceptions(c.exceptions);
        for (DWORD& flag : m_logic.m_adwCoverFlags) flag = 1;
        work.adwExtra[2] = c.placement;
        work.adwExtra[3] = c.selection;
        m_tab->VFillPageList(&m_logic, TRUE);
        EXPECT_EQ(c.inUse, InUse()) << c.placement << "/" << c.selection << " " << c.exceptions;
    }
}

TEST_F(PaperQualityKinds, FirstSelectionByItemCountAndMarkersAgainstTheDocumentPaper) {
    const struct {
        size_t items;
        bool checked;
        int chosen;
    } selections[] = {{3, true, 0}, {5, true, 1}, {7, true, 2}, {7, false, -1}};
    for (const auto& c : selections) {
        SetItems(c.items);
        CheckDlgButton(m_page, IDC_CHK_MEDIA_PAPER_DIFF, c.checked ? BST_CHECKED : BST_UNCHECKED);
        m_tab->VInitPageListSelection(&m_context, m_page);
        EXPECT_EQ(c.chosen, Chosen()) << c.items;
    }
    // The document's paper is Tray 1 and Photo Paper (positions 1 and 1); a feeder cover leaves the
    // markers as they were.
    m_logic.WorkDM()->dwDefaultSourceId = m_logic.WorkDM()->dwDefaultMediaId = 257;
    CheckDlgButton(m_page, IDC_CHK_MEDIA_PAPER_DIFF, BST_CHECKED);
    const struct {
        int chosen, first[2], other[2];
        std::vector<DWORD> markers;
    } cases[] = {{0, {1, 1}, {1, 1}, {0, 0, 0}}, {1, {2, 1}, {1, 0}, {1, 1, 0}}, {5, {1, 1}, {1, 1}, {1, 1, 0}}};
    PaperSlotTable& slots = m_tab->SlotsForTesting();
    for (const auto& c : cases) {
        SendMessageW(List(), LB_SETCURSEL, c.chosen, 0);
        for (int kind : {kKindFirstPage, kKindOtherPages, kKindLastPage}) {
            const int* paper = kind == kKindOtherPages ? c.other : c.first;
            slots.aiSource[CZQPaperSlots::ISlotOfKind(kind)] = kind == kKindLastPage ? 1 : paper[0];
            slots.aiMedia[CZQPaperSlots::ISlotOfKind(kind)] = kind == kKindLastPage ? 1 : paper[1];
        }
        m_tab->VUpdatePaperMarkers(&m_context);
        EXPECT_EQ(c.markers, std::vector<DWORD>(m_tab->StateForTesting().adwMarkers, m_tab->StateForTesting().adwMarkers + 3)) << c.chosen;
    }
}

TEST_F(PaperQualityKinds, OwnerDrawingMarksEnglishKindsWhoseConditionHolds) {
    auto draw = [&](UINT item) {
        return Drawn(ODT_LISTBOX, IDC_LB_MEDIA_PAPER_OPTIONS, item, List(), [&](DRAWITEMSTRUCT& dis) {
            EXPECT_FALSE(m_tab->BDrawPageListItem(L"ZQCovers", &dis, List(), &m_logic));
        });
    };
    ZQUIDevmode& work = *m_logic.WorkDM();
    const struct {
        const wchar_t* text;
        bool condition, marked;
    } cases[] = {{L"Front Cover", true, true}, {L"Front Cover", false, false},
                 {L"Back Cover from Feeder", true, true}, {L"Vorderer Umschlag", true, false}};
    for (const auto& c : cases) {
        SetItems(1, &c.text);
        work.dwFrontCover = work.dwBackCoverFeeder = c.condition;
        const std::vector<COLORREF> drawn = draw(0);
        work.dwFrontCover = work.dwBackCoverFeeder = 0;
        const std::vector<COLORREF> plain = draw(0);
        EXPECT_EQ(c.marked, drawn != plain) << c.condition;
        EXPECT_NE(std::vector<COLORREF>(plain.size(), 0), plain) << "background and text are drawn";
    }
    // An item beyond the feature's options, or none, draws nothing.
    for (UINT item : {9u, static_cast<UINT>(-1)}) EXPECT_EQ(std::vector<COLORREF>(1600, 0), draw(item));
}

// While a kind with a source of its own is chosen, the page's lists draw their entries with that
// source in the core driver, whose conflict marks follow it; the working slot's source is back
// after each drawing.
TEST_F(PaperQualityKinds, ListsAreDrawnWithTheChosenKindsSource) {
    m_host.AddConflictRule("InputBin", "TRAY2", "MediaType", "PHOTO");
    CheckDlgButton(m_page, IDC_CHK_MEDIA_PAPER_DIFF, BST_CHECKED);
    ShowWindow(Ctl(IDC_CHK_MEDIA_PAPER_DIFF), SW_SHOW);
    SetItems(7);
    PaperSlotTable& slots = m_tab->SlotsForTesting();
    HWND media = Ctl(IDC_CBO_MEDIA_TYPE_IS);
    const int photo = static_cast<int>(SendMessageW(media, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(L"Photo Paper")));
    ASSERT_GE(photo, 0);
    auto drawPhoto = [&] {
        return Drawn(ODT_COMBOBOX, IDC_CBO_MEDIA_TYPE_IS, static_cast<UINT>(photo), media, [&](DRAWITEMSTRUCT& dis) {
            SendMessageW(m_page, WM_DRAWITEM, IDC_CBO_MEDIA_TYPE_IS, reinterpret_cast<LPARAM>(&dis));
        });
    };
    // Every kind's slot on Tray 2, the working slot on Tray 1.
    for (int& source : slots.aiSource) source = 2;
    slots.aiSource[kWorkingSlot] = 1;
    m_host.SetSelection("InputBin", 1);
    SendMessageW(List(), LB_SETCURSEL, 1, 0);
    const std::vector<COLORREF> plain = drawPhoto();
    for (int kind = 0; kind < 7; ++kind) {
        SCOPED_TRACE(kind);
        SendMessageW(List(), LB_SETCURSEL, static_cast<WPARAM>(kind), 0);
        m_host.ClearUpdates();
        const std::vector<COLORREF> drawn = drawPhoto();
        std::vector<LONG> sources;
        for (const zqtest::UpdateRecord& update : m_host.Updates())
            if (update.keyword == "InputBin") sources.push_back(update.sel);
        const bool own = kind == kKindFirstPage || kind == kKindBackCover || kind == kKindFrontCover;
        EXPECT_EQ(own ? std::vector<LONG>({2, 1}) : std::vector<LONG>(), sources);
        EXPECT_EQ(own, drawn != plain) << "the conflict mark of Tray 2";
        EXPECT_EQ(1, Sel("InputBin"));
    }
}

}  // namespace
