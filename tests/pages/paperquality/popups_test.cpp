// Pop-up mode of the Paper/Quality page: the short lists, the recent media types and paper sizes in
// the devmode through the tree dialogs (run modally as the page runs them), selection by display
// name, the new-media confirmation with the colour-management program's command line, and the
// page's options beside its lists (margins, the dimensions link, tooltips, the alert strip).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "common/zqlanguage.h"
#include "common/zqstrings.h"
#include "pagetest.h"
#include "res/zqpopupids.h"
#include "testsupport.h"
#include "zqhostapp.h"

namespace {

using Lines = std::vector<std::wstring>;

// The groups of the tests' helper file: one media heading with a sub-group, two paper headings
// with papers of each unit and of both, the margin lists and the default papers.
const char kGroups[] =
    "<group><groupname>PaperType</groupname><resource_id>1</resource_id><name>PLAIN</name><name>PHOTO</name>"
    "<subgroup><resource_id>2</resource_id><name>MATTE</name><name>BROCHURE</name></subgroup>"
    "<resource_id>3</resource_id><name>FILM</name></group>"
    "<group><groupname>PaperSize</groupname><subgroup><resource_id>4</resource_id>"
    "<name type=\"English\">LETTER</name><name type=\"English\">LEGAL</name><name type=\"Metric\">A4</name>"
    "<name type=\"All\">ENV_10</name></subgroup></group>"
    "<group><groupname>ZQMarginType</groupname><margins><name>Borderless</name><option>LEGAL</option></margins>"
    "<margins><name>Bordered</name><option>LETTER</option><option>A4</option></margins></group>"
    "<group><groupname>ZQDefaultPaperSize</groupname><papers><name>d</name><option>ENV_10</option>"
    "<option>LETTER</option><option>LEGAL</option></papers></group>";

// In a tree dialog: the item of that text (the first heading for "^"), then the button.
std::function<void(HWND)> Pick(int treeId, const std::wstring& text, int button = IDOK) {
    return [=](HWND dialog) {
        HWND tree = GetDlgItem(dialog, treeId);
        auto item = text == L"^" ? reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0))
                                 : ZQFindTreeItem(tree, text);
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, 0), 0);
    };
}

// A tree at its top with no entry chosen: nothing selected, or only the first item, which the tree
// itself selects once it has the focus.
bool AtTop(HWND tree) {
    const auto item = [&](UINT which) { return SendMessageW(tree, TVM_GETNEXTITEM, which, 0); };
    return item(TVGN_FIRSTVISIBLE) == item(TVGN_ROOT) && (item(TVGN_CARET) == 0 || item(TVGN_CARET) == item(TVGN_ROOT));
}

class PopupPage : public PaperQualityPage {
protected:
    void Prepare(bool largeFormat, const std::vector<zqtest::FixtureFeature>& extra = {}) {
        m_media = {{"PLAIN", L"Plain Paper"}, {"PHOTO", L"Photo Paper"}, {"FILM", L"Transparency"},
                   {"BROCHURE", L"Brochure"}, {"MATTE", L"Matte Paper"}};
        AddItems(largeFormat);
        m_host.Add(zqtest::ValueFeature("ZQMediaTypeTreeviewPopup", "TRUE"));
        m_host.Add(zqtest::ListFeature("ZQPaperSizeTreeviewPopup", {{"English", L"English"}, {"Metric", L"Metric"}}));
        for (const auto& feature : extra) m_host.Add(feature);
        Build();
        LoadGroups(kGroups);
        ASSERT_NE(nullptr, Open());
    }
    Lines Entries(int id) const {
        Lines lines;
        HWND list = Ctl(id);
        for (LRESULT i = 0, n = SendMessageW(list, CB_GETCOUNT, 0, 0); i < n; ++i) {
            WCHAR text[256] = {};
            SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            lines.push_back(text);
        }
        return lines;
    }
    Lines Recent() {
        Lines lines;
        for (const auto& slot : m_logic.WorkDM()->aszRecentMediaTypes) lines.push_back(reinterpret_cast<PCWSTR>(slot));
        return lines;
    }
    void More(int id, const std::function<void(HWND)>& act) {
        Modal([&] { return INT_PTR(ZQChooseOnPage(m_page, L"#" + std::to_wstring(id), L"More...")); }, act);
    }
};

TEST_F(PopupPage, RecentMediaTypesThroughFullRepeatedAndCancelledChoices) {
    Prepare(false);
    EXPECT_EQ((Lines{L"Plain Paper", L"More..."}), Entries(IDC_CBO_MEDIA_TYPE_IS));
    const struct {
        std::wstring pick;
        int button;
        Lines recent;
        Lines shown;
        std::string selected;
    } steps[] = {
        {L"Matte Paper", IDOK, {L"Matte Paper", L"", L""}, {L"Plain Paper", L"Matte Paper", L"More..."}, "MATTE"},
        {L"Transparency", IDOK, {L"Matte Paper", L"Transparency", L""}, {}, "FILM"},
        {L"Photo Paper", IDOK, {L"Matte Paper", L"Transparency", L"Photo Paper"}, {}, "PHOTO"},
        // Full: the oldest leaves; the list keeps the driver's order.
        {L"Brochure", IDOK,
         {L"Transparency", L"Photo Paper", L"Brochure"},
         {L"Plain Paper", L"Photo Paper", L"Transparency", L"Brochure", L"More..."},
         "BROCHURE"},
        // Shown already: nothing moves.
        {L"Photo Paper", IDOK, {L"Transparency", L"Photo Paper", L"Brochure"}, {}, "PHOTO"},
        // Cancel, a heading that names no type, and OK with nothing picked choose nothing and show
        // the item's type again.
        {L"Matte Paper", IDCANCEL, {L"Transparency", L"Photo Paper", L"Brochure"}, {}, "PHOTO"},
        {L"^", IDOK, {L"Transparency", L"Photo Paper", L"Brochure"}, {}, "PHOTO"},
        {L"", IDOK, {L"Transparency", L"Photo Paper", L"Brochure"}, {}, "PHOTO"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::PrintToString(s.pick) + " " + std::to_string(s.button));
        bool opened = false;
        More(IDC_CBO_MEDIA_TYPE_IS, [&](HWND dialog) {
            opened = AtTop(GetDlgItem(dialog, IDC_TREE_MEDIATYPE_POPUP));
            Pick(IDC_TREE_MEDIATYPE_POPUP, s.pick, s.button)(dialog);
        });
        EXPECT_TRUE(opened) << "the tree opens at its top with no type chosen";
        EXPECT_EQ(s.recent, Recent());
        if (!s.shown.empty()) {
            EXPECT_EQ(s.shown, Entries(IDC_CBO_MEDIA_TYPE_IS));
        }
        EXPECT_EQ(s.selected, Current("MediaType"));
        WCHAR text[256] = {};
        GetWindowTextW(Ctl(IDC_CBO_MEDIA_TYPE_IS), text, 256);
        EXPECT_EQ(m_media[static_cast<size_t>(Sel("MediaType"))].second, text);
    }
}

// A large-format printer's slot count comes from "ZQLQJMediaTypeTreeviewCount" (none: no slots, more
// than three: three); the recent types after Transparency, Photo Paper, Brochure and Matte Paper.
struct LargeFormatCase {
    const char* count;
    Lines recent;
};

class LargeFormatPopup : public PopupPage, public testing::WithParamInterface<LargeFormatCase> {};

TEST_P(LargeFormatPopup, TreeCustomPapersAndBoundedSlots) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quorvane\\ZQ Tintora");
    // Twenty-five papers of which twenty-two have a text: "Custom" shows the first twenty of those.
    std::vector<PaperListEntry> entries(25);
    for (size_t i = 0; i < entries.size(); ++i) {
        ZQFormatText(entries[i].szName, 256, L"Roll %d", static_cast<int>(i));
        if (i % 8 != 3) ZQCopyText(entries[i].szText, 256, L"shown");
    }
    m_gates->papers = {static_cast<DWORD>(entries.size()), entries.data()};
    std::vector<zqtest::FixtureFeature> extra;
    if (GetParam().count) extra.push_back(zqtest::ValueFeature("ZQLQJMediaTypeTreeviewCount", GetParam().count));
    Prepare(true, extra);
    LRESULT items = -1;
    More(IDC_CBO_MEDIA_TYPE_IS, [&](HWND dialog) {
        items = SendMessageW(GetDlgItem(dialog, IDC_TREE_MEDIATYPE_POPUP), TVM_GETCOUNT, 0, 0);
        Pick(IDC_TREE_MEDIATYPE_POPUP, L"Transparency", IDCANCEL)(dialog);
    });
    EXPECT_EQ(3 + 5 + 1 + 20, items) << "three headings, five types, \"Custom\" and twenty papers";
    EXPECT_EQ(1, m_tab->TreePopupsForTesting().IMediaCancelled());
    for (const wchar_t* pick : {L"Transparency", L"Photo Paper", L"Brochure", L"Matte Paper"})
        More(IDC_CBO_MEDIA_TYPE_IS, Pick(IDC_TREE_MEDIATYPE_POPUP, pick));
    EXPECT_EQ(0, m_tab->TreePopupsForTesting().IMediaCancelled());
    EXPECT_EQ(GetParam().recent, Recent());
    EXPECT_EQ("MATTE", Current("MediaType"));
    EXPECT_EQ(L"More...", Entries(IDC_CBO_MEDIA_TYPE_IS).back()) << "without the program's key no new paper";
    // The lists' tooltips go with the page.
    HWND tip = m_tab->StateForTesting().hTooltip;
    EXPECT_EQ(2, SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    DestroyWindow(m_page);
    m_page = nullptr;
    EXPECT_FALSE(IsWindow(tip));
}

INSTANTIATE_TEST_SUITE_P(Counts, LargeFormatPopup,
                         testing::Values(LargeFormatCase{nullptr, {L"", L"", L""}},
                                         LargeFormatCase{"9", {L"Photo Paper", L"Brochure", L"Matte Paper"}},
                                         LargeFormatCase{"2", {L"Brochure", L"Matte Paper", L""}}));

TEST_F(PopupPage, SelectionByDisplayNameKeepsTheConflictMark) {
    Prepare(false);
    m_host.Item("MediaType")->pOptType->pOptParam[2].Flags |= OPTPF_OVERLAY_WARNING_ICON;
    const struct {
        const wchar_t* name;
        BOOL selected;
        std::string current;
    } cases[] = {{L"Transparency", TRUE, "FILM"}, {L"transparency", FALSE, "FILM"}, {L"Films", FALSE, "FILM"},
                 {L"", FALSE, "FILM"}, {L"Plain Paper", TRUE, "PLAIN"}};
    for (const auto& c : cases) {
        m_host.ClearUpdates();
        EXPECT_EQ(c.selected, m_tab->BSelectMediaTypeByName(&m_context, c.name)) << c.name;
        EXPECT_EQ(c.current, Current("MediaType")) << c.name;
        EXPECT_EQ(c.selected ? 1u : 0u, m_host.Updates().size()) << c.name;
    }
    EXPECT_TRUE(m_host.Item("MediaType")->pOptType->pOptParam[2].Flags & OPTPF_OVERLAY_WARNING_ICON);
    EXPECT_FALSE(CZQTreePopups::BSelectPaperSizeByName(&m_context, L"Legal ")) << "exact names only";
    EXPECT_TRUE(CZQTreePopups::BSelectPaperSizeByName(&m_context, L"Legal"));
    EXPECT_EQ("LEGAL", Current("PaperSize"));
}

TEST_F(PopupPage, RecentPaperSizesShortListAndUnits) {
    Prepare(false, {zqtest::ValueFeature("ZQLQJPaperSizeTreeview", "2_3"),
                    zqtest::ValueFeature("ZQConsumerCustomPaper", "TRUE")});
    int32_t* recent = m_logic.WorkDM()->aiRecentPaperSizes;
    // An empty list at page start took the first two default papers.
    EXPECT_EQ(1, m_tab->TreePopupsForTesting().IPaperSizeState());
    EXPECT_EQ((std::vector<int32_t>{3, 0, -1}), std::vector<int32_t>(recent, recent + 3));
    EXPECT_EQ((Lines{L"A4", L"Envelope #10", L"Letter", L"More...", L"Custom"}), Entries(IDC_CBO_MEDIA_SIZE_IS));
    EXPECT_FALSE(m_tab->BInitRecentPaperSizes(&m_context));

    // Numbers a document brings that are no position of the form count as free; the current size
    // (A4, 1) comes to the front.
    const struct {
        std::vector<int32_t> before;
        bool listed;
        std::vector<int32_t> after;
    } cases[] = {{{2, 9, 3}, true, {2, 3, -1}}, {{2, -5, 1}, true, {1, 2, -1}}, {{0, 2, 3}, false, {1, 0, 2}},
                 {{-1, -1, 70000}, true, {-1, -1, -1}}};
    for (const auto& c : cases) {
        std::copy(c.before.begin(), c.before.end(), recent);
        SendMessageW(Ctl(IDC_CBO_MEDIA_SIZE_IS), CB_RESETCONTENT, 0, 0);
        SendMessageW(Ctl(IDC_CBO_MEDIA_SIZE_IS), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.listed ? L"A4" : L"Other"));
        m_tab->VUpdateRecentPaperSizes(&m_context);
        EXPECT_EQ(c.after, std::vector<int32_t>(recent, recent + 3)) << testing::PrintToString(c.before);
    }

}

TEST_F(PopupPage, PaperTreeFollowsTheUnitAndCancelKeepsTheSize) {
    Prepare(false);
    // The tree follows the unit at once and keeps it, even after Cancel; OK chooses the size.
    const struct {
        int radio;
        int button;
        std::string unit;
        std::string paper;
    } units[] = {{IDC_RB_METRIC, IDCANCEL, "Metric", "A4"}, {IDC_RB_ENGLISH, IDOK, "English", "LEGAL"}};
    for (const auto& u : units) {
        Lines seen;
        bool opened = false;
        More(IDC_CBO_MEDIA_SIZE_IS, [&](HWND dialog) {
            HWND tree = GetDlgItem(dialog, IDC_TREE_PAPERSIZE_POPUP);
            opened = AtTop(tree);
            CheckRadioButton(dialog, IDC_RB_METRIC, IDC_RB_ENGLISH, u.radio);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(u.radio, 0), 0);
            for (const wchar_t* paper : {L"Letter", L"Legal", L"A4", L"Envelope #10"})
                if (ZQFindTreeItem(tree, paper)) seen.push_back(paper);
            Pick(IDC_TREE_PAPERSIZE_POPUP, L"Legal", u.button)(dialog);
        });
        EXPECT_EQ(u.unit == "Metric" ? (Lines{L"A4", L"Envelope #10"}) : (Lines{L"Letter", L"Legal", L"Envelope #10"}),
                  seen);
        EXPECT_EQ(u.unit, Current("ZQPaperSizeTreeviewPopup"));
        EXPECT_EQ(u.paper, Current("PaperSize"));
        EXPECT_TRUE(opened) << "the tree opens at its top with no size chosen";
    }
}

TEST_F(PopupPage, NewMediaDialogCommandLineAndItsProgram) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quorvane\\ZQ Tintora");
    Prepare(true, {zqtest::ValueFeature("ZQLQJMediaTypeTreeviewCount", "3")});
    m_tab->VBuildAddPaperCommand(&m_context);
    EXPECT_EQ(std::wstring(L"\""), m_tab->StateForTesting().szAddPaperCommand);
    EXPECT_EQ(L"More...", Entries(IDC_CBO_MEDIA_TYPE_IS).back());

    const std::wstring program = zqtest::BesideExe(L"zqcmdlog.exe");
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quorvane\\ZQ Tintora", L"RunCC", REG_SZ,
                                             program.c_str(), static_cast<DWORD>((program.size() + 1) * 2)));
    CZQLocalPtr<WCHAR> printer, locale;
    ASSERT_TRUE(CZQCommon::BGetPrinterName(m_hPrinter, printer.Put()));
    ASSERT_TRUE(zqlang::BGetUserLocaleName(locale.Put()));
    const std::wstring line = L"\"" + program + L"\" \"" + printer.Get() + L"\" \"" + locale.Get() + L"\" \"add_paper\"";
    m_tab->VBuildAddPaperCommand(&m_context);
    EXPECT_EQ(line, m_tab->StateForTesting().szAddPaperCommand);

    // Enter continues; Escape and the close box cancel; the right-to-left template is mirrored.
    const struct {
        bool rtl;
        std::function<void(HWND)> act;
        INT_PTR result;
    } closes[] = {
        {false, [](HWND d) { PostMessageW(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_RETURN, 0); }, 1},
        {false, [](HWND d) { PostMessageW(GetDlgItem(d, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }, 2},
        {true, [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, 2},
    };
    for (const auto& c : closes) {
        INT_PTR result = -1;
        LONG_PTR exStyle = 0;
        std::wstring heading;
        Modal([&] { return result = m_tab->DialogsForTesting().newMedia.IDoModal(m_page, &m_context, c.rtl); },
              [&](HWND d) {
                  exStyle = GetWindowLongPtrW(d, GWL_EXSTYLE);
                  WCHAR text[256] = {};
                  GetDlgItemTextW(d, IDC_STA_CUSTOM_MEDIA0, text, 256);
                  heading = text;
                  SetFocus(GetDlgItem(d, IDOK));
                  c.act(d);
              });
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.rtl, (exStyle & WS_EX_LAYOUTRTL) != 0);
        EXPECT_EQ(L"You are about to create a new media.", heading);
    }

    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quorvane\\ZQ Tintora");
}

TEST_F(PopupPage, PageOptionsMarginsLinkTooltipsAndAlertStrip) {
    m_printer.AddForm(L"A4", 2100, 2970, FORM_USER);
    const struct {
        uint32_t pdl;
        const char* paper;
        bool margins, extended;
    } cases[] = {{zqdm::kPdlPcl5, "LEGAL", false, false},  // no paper feature for this language
                 {zqdm::kPdlZqgl2, "LEGAL", true, false},
                 {zqdm::kPdlZqgl2, "LETTER", false, true},
                 {zqdm::kPdlPcl3, "A4", true, true},  // a user form of the shown name
                 {zqdm::kPdlPcl3, "ENV_10", false, false}};
    Prepare(false);
    for (const auto& c : cases) {
        m_core.dwPdl = c.pdl;
        std::wstring paper(c.paper, c.paper + strlen(c.paper));
        CZQCommon::DWSelectOptionByKeyword(m_host.Param(), L"PaperSize", paper.c_str(), OEMCUIP_DOCPROP);
        m_tab->VFillPaperSizePopupList(Ctl(IDC_CBO_MEDIA_SIZE_IS), &m_context);
        EXPECT_EQ(c.margins || c.extended, m_tab->BUpdateMarginControls(&m_context) != FALSE) << c.paper << c.pdl;
        EXPECT_EQ(std::make_pair(c.margins, c.extended), std::make_pair(Shown(IDC_BTN_MARGINS), Shown(IDC_CHK_EXTENDED_MARGINS)))
            << c.paper << " " << c.pdl;
    }

    // The dimensions behave as a link.
    SetCursor(nullptr);
    SendMessageW(Ctl(IDC_STA_MEDIA_SIZE_DIMENSIONS), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
    EXPECT_EQ(nullptr, m_tab->StateForTesting().hTooltip) << "tooltips only on the large-format page";

    // Alerts off: the strip's controls go and the status is still read; on: the strip shows, and
    // leaves the plug-in's list when the page goes.
    EXPECT_FALSE(Shown(IDC_ALERT_PLACEHOLDER) || Enabled(IDC_ALERT_REFRESH) || Shown(IDC_ALERT_REFRESH));
    m_gates->calls.clear();
    m_gates->alertsOn = TRUE;
    DestroyWindow(m_page);
    ASSERT_NE(nullptr, Open());
    EXPECT_NE(nullptr, m_tab->AlertsForTesting().Window());
    EXPECT_TRUE(Shown(IDC_ALERT_REFRESH));
    EXPECT_EQ(std::vector<std::string>{"refresh start"}, m_gates->calls);
    SendMessageW(m_page, WM_COMMAND, MAKEWPARAM(IDC_ALERT_REFRESH, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Ctl(IDC_ALERT_REFRESH)));
    EXPECT_EQ("refresh", m_gates->calls.back());
    DestroyWindow(m_page);
    m_page = nullptr;
    EXPECT_EQ(nullptr, m_tab->AlertsForTesting().Window());
}

// The current paper as the helper file's paper group names it; a paper the group lacks has no name.
TEST_F(PopupPage, PaperSizeNameFromTheHelperFile) {
    m_papers.push_back({"B5", L"B5"});
    Prepare(false);
    WCHAR name[256] = {};
    EXPECT_TRUE(m_tab->BGetPaperSizeDisplayName(&m_context, name));
    EXPECT_STREQ(L"A4", name);
    m_host.SetSelection("PaperSize", 4);
    EXPECT_FALSE(m_tab->BGetPaperSizeDisplayName(&m_context, name));
}

// Without the status module's "More..." the short lists offer no such entry, and the media list's
// last entry, now a type, opens no tree.
TEST_F(PopupPage, WithoutTheMoreStringNoEntryOpensATree) {
    m_printer.Identity().driverDirectory = L"C:\\ZQNoSuchDriverDirectory";
    Prepare(false);
    const Lines media = Entries(IDC_CBO_MEDIA_TYPE_IS), sizes = Entries(IDC_CBO_MEDIA_SIZE_IS);
    EXPECT_EQ(L"Plain Paper", media.back());
    EXPECT_EQ(sizes.end(), std::find(sizes.begin(), sizes.end(), L"More...")) << sizes.size();
    bool opened = false;
    Modal([&] { return INT_PTR(ZQChooseOnPage(m_page, L"#" + std::to_wstring(IDC_CBO_MEDIA_TYPE_IS), media.back())); },
          [&](HWND) { opened = true; });
    EXPECT_FALSE(opened);
    EXPECT_EQ("PLAIN", Current("MediaType"));
}

TEST_F(PopupPage, PopUpsWithoutRulesShowAnEmptyTreeAndCloseAsCancel) {
    Prepare(false);
    m_context.pRules = nullptr;
    for (auto [id, proc] : {std::make_pair(IDD_DLG_MEDIATYPE_TREEVIEW_POPUP, &MediaTypePopupDlgProc),
                            std::make_pair(IDD_DLG_PAPERSIZE_TREEVIEW_POPUP, &PaperSizePopupDlgProc)}) {
        INT_PTR result = -1;
        int items = -1;
        DWORD error = 0;
        const int tree = id == IDD_DLG_MEDIATYPE_TREEVIEW_POPUP ? IDC_TREE_MEDIATYPE_POPUP : IDC_TREE_PAPERSIZE_POPUP;
        Modal(
            [&] {
                return result = DialogBoxParamW(Resources(), MAKEINTRESOURCEW(id), m_page, proc,
                                                reinterpret_cast<LPARAM>(&m_context));
            },
            [&](HWND d) {
                items = static_cast<int>(SendDlgItemMessageW(d, tree, TVM_GETCOUNT, 0, 0));
                SetLastError(0);
                proc(d, WM_COMMAND, MAKEWPARAM(IDC_TREE_MEDIATYPE_POPUP, 0), 0);
                error = GetLastError();
                PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
            });
        EXPECT_EQ(0, items);
        EXPECT_EQ(2, result);
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), error);
    }
}

}  // namespace
