// Values between the panel and the driver: the driver's current options shown in the rows, the
// orientation row turned with the document, the quality slider, the pages-per-sheet texts and the
// page's context-help table.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "common/zqmodule.h"
#include "largeformattest.h"

namespace {

using zqtest::ListFeature;

std::wstring Selected(HWND list) {
    WCHAR text[256] = {};
    const LRESULT at = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (at != CB_ERR) SendMessageW(list, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text));
    return text;
}

class ShortcutApply : public ShortcutsPage {
protected:
    HFONT Font() const { return reinterpret_cast<HFONT>(SendMessageW(m_page, WM_GETFONT, 0, 0)); }
    // A drop-down list on the row's holder offering the texts.
    int Combo(int row, const std::vector<std::wstring>& texts) {
        int list = 0, caption = 0;
        m_tab->PanelForTesting().BCreateLabelAndCombo(zqmodule::Instance(), Font(), 6147, IDC_DC_CTL_HOLDER1 + row, &list, &caption);
        for (const auto& text : texts) SendMessageW(Ctl(list), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        return list;
    }
};

// Each row shows the driver's option by its name; a list that lacks it gets it added and the page
// knows; the colour row shows colour only for grey scale "FALSE". A row that takes no current value
// (a feature of no rule, a quality row on a driver of quality groups only) keeps its own choice.
TEST_F(ShortcutApply, RowsShowTheDriversCurrentOptions) {
    m_host.Add(ListFeature("ZQPrintInGrayScale", {{"FALSE", L"Off"}, {"TRUE", L"On"}, {"BlackOnly", L"Black"}}, 0));
    m_host.Add(ListFeature("ZQColorOptions", {{"Color", L"Colour"}, {"Gray", L"Greyscale"}}, 0));
    m_host.Add(ListFeature("ZQSaveRollPaper", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 1));
    m_host.Add(ListFeature("PrintQualityGroup", {{"PQGroup_1", L"Fast"}, {"PQGroup_2", L"Best"}}, 1));
    ASSERT_NO_FATAL_FAILURE(Start());
    const struct {
        int grey, media;
        PCWSTR colour, mediaShown;
        bool added;
    } cases[] = {
        {0, 0, L"Colour", L"Plain Paper", false},
        {1, 0, L"Greyscale", L"Plain Paper", false},
        {2, 1, L"Greyscale", L"Photo Paper", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.grey);
        m_tab->PanelForTesting().VStartBuild(IDC_LB_DOCTYPE_SETTING);
        const int colour = Combo(0, {L"Colour", L"Greyscale"});
        const int media = Combo(1, {L"Plain Paper"});
        const int roll = Combo(2, {L"Off", L"On"});
        const int quality = Combo(3, {L"Fast", L"Best"});
        for (int own : {roll, quality}) SendMessageW(Ctl(own), CB_SETCURSEL, 0, 0);
        Entries({NewEntry(L"ZQColorOptions", 0, {L"Color", L"Gray"}, colour),
                 NewEntry(L"MediaType", 0, {L"PLAIN"}, media), NewEntry(L"ZQSaveRollPaper", 0, {L"FALSE", L"TRUE"}, roll),
                 NewEntry(L"PrintQuality", 0, {L"Fast", L"Best"}, quality)});
        SendMessageW(Ctl(media), CB_RESETCONTENT, 0, 0);
        SendMessageW(Ctl(media), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Plain Paper"));
        m_host.SetSelection("ZQPrintInGrayScale", c.grey);
        m_host.SetSelection("MediaType", c.media);
        m_tab->VShowCurrentSettings(&m_context);
        EXPECT_EQ(c.colour, Selected(Ctl(colour)));
        EXPECT_EQ(c.mediaShown, Selected(Ctl(media)));
        EXPECT_EQ(c.added ? 2 : 1, SendMessageW(Ctl(media), CB_GETCOUNT, 0, 0));
        EXPECT_EQ(c.added, m_tab->StateForTesting().bCustomChoiceAdded != FALSE);
        EXPECT_EQ(L"Off", Selected(Ctl(roll)));
        EXPECT_EQ(L"Fast", Selected(Ctl(quality)));
    }
}

// The driver's placeholder medium shows as the driver names it, whether or not a medium of the
// user's own is recorded as chosen beside the list.
TEST_F(ShortcutApply, PlaceholderMediumShowsAsTheDriverNamesIt) {
    ShortcutsPrinter printer;
    printer.placeholderMedium = true;
    ASSERT_NO_FATAL_FAILURE(Start(printer));
    const std::wstring list = L"Software\\Quorvane\\AddNewPaper\\MediaList";
    const std::wstring mediumKey = list + L"\\Studio";
    RegSetKeyValueW(HKEY_CURRENT_USER, mediumKey.c_str(), L"Name", REG_SZ, L"Studio Satin", sizeof L"Studio Satin");
    const struct {
        bool chosen;
        PCWSTR shown;
    } cases[] = {{true, L"0"}, {false, L"0"}};
    for (const auto& c : cases) {
        HKEY tool = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, list.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &tool, nullptr));
        const DWORD first = 0;
        if (c.chosen)
            RegSetValueExW(tool, L"CustomMediaSelected", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&first), sizeof first);
        else
            RegDeleteValueW(tool, L"CustomMediaSelected");
        RegCloseKey(tool);
        m_tab->PanelForTesting().VStartBuild(IDC_LB_DOCTYPE_SETTING);
        const int media = Combo(0, {L"Plain Paper"});
        Entries({NewEntry(L"MediaType", 0, {L"PLAIN"}, media)});
        m_host.SetSelection("MediaType", 2);
        m_tab->VShowCurrentSettings(&m_context);
        EXPECT_EQ(c.shown, Selected(Ctl(media))) << c.chosen;
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvane\\AddNewPaper");
}

// On the desk printers the two-sided row says how both sides are printed, unless the driver's
// option is named by an option keyword of its own: then that option's name shows.
TEST_F(ShortcutApply, TwoSidedRowOfTheDeskPrinters) {
    ShortcutsPrinter desk;
    desk.pdl = 4;
    desk.largeFormat = false;
    m_host.Add(ListFeature("Duplex", {{"NONE", L"Off"}, {"DuplexNoTumble", L"Long Edge"}, {"DuplexTumble", L"DuplexNoTumble"}},
                           0, DMPUB_DUPLEX));
    m_host.Add(ListFeature("ZQPrintOnBothSidesManually", {{"FALSE", L"Off"}, {"TRUE", L"On"}}, 0));
    ASSERT_NO_FATAL_FAILURE(Start(desk));
    const struct {
        int duplex, manual;
        PCWSTR shown;
    } cases[] = {{0, 0, L"Off"}, {1, 0, L"Automatically"}, {1, 1, L"Manually"}, {2, 0, L"Long Edge"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.duplex << " " << c.manual);
        m_tab->PanelForTesting().VStartBuild(IDC_LB_DOCTYPE_SETTING);
        const int list = Combo(0, {L"Off", L"Automatically", L"Manually", L"Long Edge"});
        Entries({NewEntry(L"Duplex", 0, {L"NONE", L"Automatically", L"Manually"}, list)});
        m_host.SetSelection("Duplex", c.duplex);
        m_host.SetSelection("ZQPrintOnBothSidesManually", c.manual);
        m_tab->VShowCurrentSettings(&m_context);
        EXPECT_EQ(c.shown, Selected(Ctl(list)));
    }
}

// The orientation row turns to the document's orientation (portrait first in its options), and its
// slot keeps the choice.
TEST_F(ShortcutApply, OrientationRowFollowsTheDocument) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const struct {
        int selected;
        WORD orientation;
        int expected;
    } cases[] = {{1, 1, 0}, {0, 2, 1}, {0, 1, 0}, {1, 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.selected << " " << c.orientation);
        m_tab->PanelForTesting().VStartBuild(IDC_LB_DOCTYPE_SETTING);
        m_tab->VResetFeatureSlots();
        const int list = Combo(0, {L"Portrait", L"Landscape"});
        ShortcutPanelEntry* entry = NewEntry(L"Orientation", 0, {L"PORTRAIT", L"LANDSCAPE_CC90"}, list);
        entry->iSelected = c.selected;
        Entries({entry});
        SendMessageW(Ctl(list), CB_SETCURSEL, c.selected, 0);
        Work().wOrientation = c.orientation;
        m_tab->VFixOrientationEntry(&m_context);
        EXPECT_EQ(c.expected, entry->iSelected);
        EXPECT_EQ(c.expected, SendMessageW(Ctl(list), CB_GETCURSEL, 0, 0));
        const bool turned = c.selected != c.expected || c.selected == 0;
        EXPECT_EQ(turned ? c.expected : 100, m_tab->StateForTesting().anFeatureSlot[3]);
    }
}

// The slider stands at "Best" or not; standard settings write the quality while it is shown, custom
// ones disable it; its end labels always stand just below it.
TEST_F(ShortcutApply, QualitySliderByItsSettings) {
    m_host.Add(ListFeature("ZQLQJPQSettings", {{"StandardOptions", L"Standard"}, {"CustomOptions", L"Custom"}}, 0));
    m_host.Add(ListFeature("PrintQualityGroup", {{"PQGroup_1", L"Fast"}, {"PQGroup_2", L"Best"}}, 0));
    m_host.Add(ListFeature("StandardPrintQuality", {{"Fast", L"Fast"}, {"Best", L"Best"}}, 0));
    ASSERT_NO_FATAL_FAILURE(Start());
    int slider = 0, caption = 0;
    m_tab->PanelForTesting().VStartBuild(IDC_LB_DOCTYPE_SETTING);
    m_tab->PanelForTesting().BCreateLabelAndSlider(zqmodule::Instance(), Font(), 6140, IDC_DC_CTL_HOLDER1, &slider, &caption);
    const struct {
        int setting;
        PCWSTR option;
        int position;
        bool enabled;
        int group;  // -1: left as it was
    } cases[] = {
        {0, L"Best", 1, true, 1}, {0, L"fast", 0, true, 0}, {0, L"Draft", 0, true, 0}, {1, L"Best", 1, false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.setting << " " << c.option);
        m_host.SetSelection("ZQLQJPQSettings", c.setting);
        m_host.SetSelection("PrintQualityGroup", 0);
        m_tab->VSetQualitySlider(&m_context, Ctl(slider), c.option);
        EXPECT_EQ(c.position, SendMessageW(Ctl(slider), TBM_GETPOS, 0, 0));
        for (int id : {slider, IDC_STATIC_DOCUI_PQ_SPEED, IDC_STATIC_DOCUI_PQ_QUALITY}) {
            EXPECT_EQ(c.enabled, Enabled(id));
        }
        EXPECT_EQ(c.group < 0 ? 0 : c.group, Sel("PrintQualityGroup"));
        if (c.group >= 0) {
            EXPECT_EQ(c.group, Sel("StandardPrintQuality"));
        }
        for (int label : {IDC_STATIC_DOCUI_PQ_SPEED, IDC_STATIC_DOCUI_PQ_QUALITY}) {
            EXPECT_TRUE(Shown(label));
            EXPECT_EQ(Rect(slider).bottom + 1, Rect(label).top);
        }
        EXPECT_EQ(L"Speed", Text(IDC_STATIC_DOCUI_PQ_SPEED));
        EXPECT_EQ(L"Quality", Text(IDC_STATIC_DOCUI_PQ_QUALITY));
    }
}

// The pages-per-sheet texts by layout code; without the status module they are empty.
TEST_F(ShortcutApply, PagesPerSheetTexts) {
    ASSERT_NO_FATAL_FAILURE(Start());
    const struct {
        int code;
        PCWSTR text;
    } cases[] = {{1, L"1 Page per Sheet"}, {2, L"2 Pages per Sheet"}, {6, L"16 Pages per Sheet"},
                 {0, L"1 Page per Sheet"}, {7, L"1 Page per Sheet"}};
    PWSTR text = nullptr;
    for (const auto& c : cases) {
        m_tab->VGetPagesPerSheetText(c.code, &text);
        ASSERT_NE(nullptr, text);
        EXPECT_STREQ(c.text, text) << c.code;
    }
    CZQLargeFormatShortcutsTab bare;
    bare.VGetPagesPerSheetText(2, &text);
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ(L"", text);
    LocalFree(text);
}

// The help table: the sample page's shown button by orientation and layout, each row's controls with
// its topic, the spin of an edit group, and the end; a panel larger than any document stays bounded.
TEST_F(ShortcutApply, HelpTableByLayoutAndRows) {
    ASSERT_NO_FATAL_FAILURE(Start());
    using Pairs = std::vector<std::pair<DWORD, DWORD>>;
    const auto table = [&] {
        DWORD pairs[2 * CZQLargeFormatShortcutsTab::kHelpIdPairs];
        for (DWORD& p : pairs) p = 0xCDCDCDCD;
        m_tab->VBuildHelpIds(&m_context, pairs);
        Pairs out;
        for (int i = 0; i < CZQLargeFormatShortcutsTab::kHelpIdPairs; ++i) {
            out.emplace_back(pairs[2 * i], pairs[2 * i + 1]);
            if (!pairs[2 * i]) break;
        }
        return out;
    };
    const struct {
        WORD orientation;
        DWORD layout, preview;
    } layouts[] = {{1, 1, 442}, {1, 2, 441}, {2, 1, 441}, {2, 4, 442}};
    for (const auto& c : layouts) {
        Work().wOrientation = c.orientation;
        Work().dwPagesPerSheet = c.layout;
        const Pairs pairs = table();
        ASSERT_GE(pairs.size(), 6u);
        EXPECT_EQ((std::pair<DWORD, DWORD>(c.preview, 14060)), pairs[5]);
    }
    ShortcutPanelEntry* list = NewEntry(L"MediaType", 0, {L"PLAIN"}, 504);
    list->iSecondCtrlId = 503;
    list->iRowHolderId = 695;
    list->iLabelTextId = 777;
    ShortcutPanelEntry* copies = NewEntry(L"Copies", 5, {L"1"}, 655);
    copies->iSecondCtrlId = 608;
    copies->iRowHolderId = 657;
    copies->iLabelTextId = 778;
    Entries({list, NewEntry(L"Collate", 8, {L"ON"}, 0), copies});
    const DWORD none = static_cast<DWORD>(-1);
    const Pairs all = table();
    ASSERT_GT(all.size(), 16u);
    const Pairs rows(all.begin() + 16, all.end());
    EXPECT_EQ((Pairs{{504, 777}, {695, none}, {503, 777}, {655, 778}, {657, none}, {608, 778}, {673, 778},
                     {111, none}, {0, 0}}),
              rows);

    std::vector<ShortcutPanelEntry*> many;
    for (int i = 0; i < 30; ++i) {
        ShortcutPanelEntry* e = NewEntry(L"Scaling", 5, {L"100"}, 600 + i);
        e->iSecondCtrlId = 700 + i;
        e->iRowHolderId = i % 2 ? 800 + i : 0;  // a row without a holder adds no pair for it
        many.push_back(e);
    }
    Entries(many);
    const Pairs bounded = table();
    ASSERT_EQ(static_cast<size_t>(CZQLargeFormatShortcutsTab::kHelpIdPairs), bounded.size());
    EXPECT_EQ((std::pair<DWORD, DWORD>(111, none)), bounded[bounded.size() - 2]);
    EXPECT_EQ((std::pair<DWORD, DWORD>(0, 0)), bounded.back());
}

// A row reaches its feature's handler by its keyword and kind: a media type shown as a text is the
// document type's own, one without a control is applied; a fixed paper size only until the user
// customised the settings.
TEST_F(ShortcutApply, RowsReachTheirHandlersByKind) {
    m_host.Add(ListFeature("PaperSize", {{"LETTER", L"Letter"}, {"A4", L"A4"}}, 0, DMPUB_FORMNAME));
    ASSERT_NO_FATAL_FAILURE(Start());
    const struct {
        PCWSTR keyword, option;
        int kind;
        DWORD customised;
        const char* feature;
        int selected;
    } cases[] = {
        {L"MediaType", L"Photo Paper", 7, 0, "MediaType", 0}, {L"MediaType", L"Photo Paper", 8, 0, "MediaType", 1},
        {L"PaperSize", L"A4", 8, 1, "PaperSize", 0},          {L"PaperSize", L"A4", 8, 0, "PaperSize", 1},
        {L"PaperSize", L"A4", 1, 0, "PaperSize", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.feature << " " << c.kind << " " << c.customised);
        m_host.SetSelection(c.feature, 0);
        Work().dwPendingChange = c.customised;
        Entries({NewEntry(c.keyword, c.kind, {c.option}, 0)});
        m_tab->VApplyPanelEntry(&m_context, 0);
        EXPECT_EQ(c.selected, Sel(c.feature));
    }
}

}  // namespace
