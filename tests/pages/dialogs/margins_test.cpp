// The layout and margins dialog of the large-format printer, driven from inside its modal loop:
// what a printer without a feature shows, the remembered layout and enlargement, OK and Cancel, the
// preview buttons' orientation toggle, the print preview of the layout clicked, and paints that leave
// nothing behind.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "pagetest.h"
#include "preview/zqpreviewgdi.h"
#include "res/zqmarginsids.h"

namespace {

using zqtest::ListFeature;

constexpr const char* kFeatures[] = {"ZQPrintWithMargins", "ZQLayoutType", "ZQMarginType", "ZQBorderless"};
constexpr int kLayoutRadios[] = {IDC_MG_RB_STANDARD, IDC_MG_RB_OVERSIZE, IDC_MG_RB_CLIP};
constexpr int kMarginRadios[] = {IDC_MG_RB_NORMAL, IDC_MG_RB_EXTENDED, IDC_MG_RB_SMALL};
constexpr int kEnlargementRadios[] = {IDC_MG_RB_AUTOMATIC, IDC_MG_RB_MANUAL};

class MarginsDialog : public PaperQualityPage {
protected:
    void TearDown() override {
        CZQMarginsDlg::Choices() = {};
        PaperQualityPage::TearDown();
    }
    // The large-format printer with the dialog's features, less the one named.
    void Prepare(const std::string& missing = "") {
        AddItems(true);
        const std::vector<std::vector<std::pair<std::string, std::wstring>>> options = {
            {{"Standard", L"Standard"}, {"OversizePaper", L"Oversize"}, {"Clip", L"Clip"}, {"NoMargins", L"None"}},
            {{"Standard", L"Standard"}, {"Oversize", L"Oversize"}, {"Clip", L"Clip"}},
            {{"Normal", L"Normal"}, {"Extended", L"Extended"}, {"Small", L"Small"}},
            {{"Auto", L"Automatic"}, {"Manual", L"Manual"}}};
        for (size_t f = 0; f < 4; ++f)
            if (missing != kFeatures[f]) m_host.Add(ListFeature(kFeatures[f], options[f]));
        Build();
        m_tab->DialogsForTesting().margins.VSetParam(m_host.Param());
    }
    INT_PTR Run(std::function<void(HWND)> inside) {
        return Modal([&] { return m_tab->DialogsForTesting().margins.IDoModal(m_parent, &m_context, FALSE); }, std::move(inside));
    }
    // A radio as the user's click leaves it: checked, the others of its group not.
    static void Pick(HWND hDlg, int id) {
        for (const auto* group : {kLayoutRadios, kMarginRadios})
            for (int i = 0; i < 3; ++i)
                if (group[i] == id)
                    for (int j = 0; j < 3; ++j) CheckDlgButton(hDlg, group[j], BST_UNCHECKED);
        for (int other : kEnlargementRadios)
            if (id == IDC_MG_RB_AUTOMATIC || id == IDC_MG_RB_MANUAL) CheckDlgButton(hDlg, other, BST_UNCHECKED);
        CheckDlgButton(hDlg, id, BST_CHECKED);
        Notice(hDlg, id, BN_CLICKED);
    }
    // The usage text by the first words that tell it apart, marked "(cut)" when its control is too
    // low for it.
    static std::string Usage(HWND hDlg) {
        HWND usage = GetDlgItem(hDlg, IDC_MG_STA_USAGE);
        RECT client = {};
        GetClientRect(usage, &client);
        RECT needed = client;
        const std::wstring shown = DlgText(hDlg, IDC_MG_STA_USAGE);
        HDC dc = GetDC(usage);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(usage, WM_GETFONT, 0, 0)));
        DrawTextW(dc, shown.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(usage, dc);
        return Named(hDlg) + (needed.bottom > client.bottom ? "(cut)" : "");
    }
    static std::string Named(HWND hDlg) {
        const std::pair<const wchar_t*, const char*> starts[] = {
            {L"This is the way desktop", "standard"},
            {L"Use this setting when the contents to be printed have a size", "oversize"},
            {L"Use this setting when the contents to be printed have white", "clip"},
            {L"Use this setting if you want to use your application", "manual"},
            {L"Use this setting to print without borders", "automatic"},
            {L"Use this margin set for common", "normal"}};
        const std::wstring text = DlgText(hDlg, IDC_MG_STA_USAGE);
        for (const auto& [start, name] : starts)
            if (text.rfind(start, 0) == 0) return name;
        return "?";
    }
    static bool On(HWND hDlg, int id) { return IsDlgButtonChecked(hDlg, id) == BST_CHECKED; }
    static bool Visible(HWND hDlg, int id) { return (GetWindowLongPtrW(GetDlgItem(hDlg, id), GWL_STYLE) & WS_VISIBLE) != 0; }
    std::string Features() {
        std::string out;
        for (const char* f : kFeatures) out += (out.empty() ? "" : " ") + Current(f);
        return out;
    }
};

// Shown: margins group, layout options, Borderless, enlargement group; the features after choosing
// Oversize, Extended and OK.
struct Absent {
    const char* missing;
    const char* shown;
    const char* features;
};

class MarginsDialogWithout : public MarginsDialog, public ::testing::WithParamInterface<Absent> {};

TEST_P(MarginsDialogWithout, AFeatureThePrinterLacksHidesItsControlsAndOkStillSetsTheOthers) {
    const Absent& row = GetParam();
    Prepare(row.missing);
    std::string shown;
    const INT_PTR result = Run([&](HWND hDlg) {
        for (auto [id, mark] : {std::pair{IDC_MG_GB_MARGINS, 'm'}, std::pair{IDC_MG_GB_LAYOUT_OPTIONS, 'l'},
                                std::pair{IDC_MG_RB_BORDERLESS, 'b'}, std::pair{IDC_MG_GB_ENLARGEMENT, 'e'}})
            shown += Visible(hDlg, id) ? mark : '-';
        Pick(hDlg, IDC_MG_RB_OVERSIZE);
        Pick(hDlg, IDC_MG_RB_EXTENDED);
        Notice(hDlg, IDOK, BN_CLICKED);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(row.shown, shown);
    EXPECT_EQ(row.features, Features());
}

INSTANTIATE_TEST_SUITE_P(Features, MarginsDialogWithout,
                         ::testing::Values(Absent{"", "mlbe", "OversizePaper Oversize Extended Auto"},
                                           Absent{"ZQMarginType", "-lbe", "OversizePaper Oversize  Auto"},
                                           Absent{"ZQBorderless", "ml--", "OversizePaper Oversize Extended "},
                                           Absent{"ZQLayoutType", "m-be", "OversizePaper  Extended Auto"}));

TEST_F(MarginsDialog, BorderlessAndBackRechecksTheRememberedLayoutWithItsUsage) {
    Prepare();
    // The layout chosen, the usage after Borderless, after Print with Margins again, and the layout
    // checked then.
    struct Row {
        int layout;
        const char* usage;
    };
    for (const Row& row : {Row{2, "automatic clip 2"}, Row{1, "automatic oversize 1"}, Row{0, "automatic standard 0"}}) {
        std::string seen;
        Run([&](HWND hDlg) {
            Pick(hDlg, kLayoutRadios[row.layout]);
            Pick(hDlg, IDC_MG_RB_BORDERLESS);
            seen = Usage(hDlg) + (IsWindowEnabled(GetDlgItem(hDlg, IDC_MG_RB_CLIP)) ? "!" : "");
            Pick(hDlg, IDC_MG_RB_PRINT_WITH_MARGINS);
            seen += " " + Usage(hDlg);
            for (int i = 0; i < 3; ++i)
                if (On(hDlg, kLayoutRadios[i])) seen += " " + std::to_string(i);
            Notice(hDlg, IDCANCEL, BN_CLICKED);
        });
        EXPECT_EQ(row.usage, seen);
    }
}

TEST_F(MarginsDialog, OkTakesTheRadiosAndCancelKeepsOnlyTheLayoutRadiosChoice) {
    Prepare();
    // The clicks, how the dialog ends, the four features after, and the enlargement radio checked
    // when it opens again.
    struct Row {
        std::vector<int> clicks;
        int end;
        const char* features;
        const char* reopened;
    };
    for (const Row& row :
         {Row{{IDC_MG_RB_CLIP, IDC_MG_RB_BORDERLESS, IDC_MG_RB_MANUAL, IDC_MG_RB_SMALL}, IDOK,
              "NoMargins Clip Small Manual", "borderless manual, clip, clip"},
          Row{{IDC_MG_RB_OVERSIZE, IDC_MG_RB_BORDERLESS, IDC_MG_RB_AUTOMATIC}, IDOK,
              "NoMargins Oversize Small Auto", "borderless automatic, oversize, oversize"},
          Row{{IDC_MG_RB_PRINT_WITH_MARGINS, IDC_MG_RB_OVERSIZE, IDC_MG_RB_NORMAL}, IDOK,
              "OversizePaper Oversize Normal Auto", "with margins automatic, oversize, oversize"},
          Row{{IDC_MG_RB_CLIP, IDC_MG_RB_BORDERLESS, IDC_MG_RB_MANUAL}, IDCANCEL,
              "Clip Oversize Normal Auto", "with margins automatic, oversize, clip"}}) {
        m_gates->dialogControllers.clear();
        EXPECT_EQ(row.end, Run([&](HWND hDlg) {
                      for (int id : row.clicks) Pick(hDlg, id);
                      Notice(hDlg, row.end, BN_CLICKED);
                  }));
        EXPECT_EQ(row.features, Features());
        EXPECT_EQ((std::vector<std::string>{"attach ZQBorderless 1020", "detach ZQBorderless"}), m_gates->dialogControllers);
        std::string reopened;
        Run([&](HWND hDlg) {
            reopened = std::string(On(hDlg, IDC_MG_RB_BORDERLESS) ? "borderless" : "with margins") +
                       (On(hDlg, IDC_MG_RB_MANUAL) || (!On(hDlg, IDC_MG_RB_AUTOMATIC) && Current("ZQBorderless") == "Manual")
                            ? " manual"
                            : " automatic") +
                       ", " + Usage(hDlg);
            // Back to margins: the stored layout and its usage.
            Pick(hDlg, IDC_MG_RB_PRINT_WITH_MARGINS);
            reopened += ", " + Usage(hDlg);
            Notice(hDlg, IDCANCEL, BN_CLICKED);
        });
        EXPECT_EQ(row.reopened, reopened);
    }

    // Opened from the page, a cancelled dialog whose layout radio changed a feature is told to the sheet.
    ASSERT_NE(nullptr, Open());
    m_sheetMessages.clear();
    Modal(
        [&] {
            Notice(m_page, IDC_BTN_MARGINS, BN_CLICKED);
            return INT_PTR{0};
        },
        [&](HWND hDlg) {
            Pick(hDlg, IDC_MG_RB_STANDARD);
            Notice(hDlg, IDCANCEL, BN_CLICKED);
        });
    EXPECT_EQ("Standard", Current("ZQPrintWithMargins"));
    EXPECT_EQ(std::vector<UINT>{PSM_CHANGED}, m_sheetMessages);
}

TEST_F(MarginsDialog, PreviewButtonsToggleTheOrientationAndPaintsLeaveNothingBehind) {
    Prepare();
    const LONG live = zqpreview::LiveObjects();
    // Clicks on the preview buttons: the orientation the logic keeps and the plug-in's own item.
    struct Row {
        int clicks;
        SHORT orientation;
        LONG sel;
    };
    for (const Row& row : {Row{1, 2, 1}, Row{2, 1, 0}, Row{3, 2, 1}}) {
        m_logic.m_sMarginsOrientation = 1;
        Run([&](HWND hDlg) {
            for (int i = 0; i < row.clicks; ++i)
                Notice(hDlg, i % 2 ? IDC_MG_BTN_PREVIEW_PORT : IDC_MG_BTN_PREVIEW_LAND, BN_CLICKED);
            // The print preview draws the layout "ZQPrintWithMargins" holds: a layout radio selects
            // its own at once, Borderless only on OK.
            for (auto [layout, drawn] : {std::pair{IDC_MG_RB_CLIP, 2}, {IDC_MG_RB_BORDERLESS, 2},
                                         {IDC_MG_RB_STANDARD, 0}, {IDC_MG_RB_BORDERLESS, 0}}) {
                Pick(hDlg, layout);
                SendMessageW(hDlg, WM_PAINT, 0, 0);
                const int* extra = m_tab->DialogsForTesting().margins.Settings().aiExtra;
                EXPECT_EQ(std::pair(drawn < 3 ? 1 : 0, drawn), std::pair(extra[kPxWithMargins], extra[kPxMarginLayout]))
                    << layout;
            }
            Notice(hDlg, IDCANCEL, BN_CLICKED);
        });
        EXPECT_EQ(row.orientation, m_logic.m_sMarginsOrientation);
        EXPECT_EQ(row.sel, Sel("ZQOrientationCopy"));
        EXPECT_EQ(live, zqpreview::LiveObjects());
    }
}

}  // namespace
