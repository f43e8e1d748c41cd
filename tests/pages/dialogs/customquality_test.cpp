// The custom print-quality options dialog of the large-format printer, driven from inside its
// modal loop: what the print quality and the media groups offer, the macros each change runs (each
// macro turns a log feature of its own on), the rejected level's roll-back, Cancel and closing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "macrotest.h"
#include "pagetest.h"
#include "res/zqcustompaperids.h"

namespace {

using zqmacrotest::Feature;
using zqmacrotest::Macro;
using zqtest::ListFeature;
using Log = std::vector<std::string>;

enum : int { kPlain, kGlossy, kPcnlc, kHwc };
const char* const kLogged[] = {"macro_ZQMaximumDetail_PCnLC_E",   "macro_ZQMaximumDetail_PCnLC_D",
                               "macro_ZQMaximumDetail_Glossy_E",  "macro_ZQMaximumDetail_Glossy_D",
                               "macro_ZQMaximumDetail_HWCnDFA_E", "macro_ZQMaximumDetail_HWCnDFA_D",
                               "macro_ZQMaximumDetail_E",         "macro_ZQMaximumDetail_D"};

std::string Group(const std::string& name, std::initializer_list<const char*> media) {
    std::string xml = "<group><groupname>" + name + "</groupname><media><name>" + name + "</name>";
    for (const char* m : media) xml += std::string("<option>") + m + "</option>";
    return xml + "</media></group>";
}

class CustomQualityDialog : public PaperQualityPage {
protected:
    // Levels Standard, Best and Maximum give the print qualities of the same positions; the media
    // types stand in the groups their names tell.
    void Prepare() {
        m_host.Add(ListFeature("MediaType", {{"PLAIN", L"Plain"}, {"GLOSSY", L"Glossy"}, {"PCNLC", L"Coated"}, {"HWC", L"Heavy"}},
                               0, DMPUB_MEDIATYPE));
        const std::pair<const char*, std::vector<std::pair<std::string, std::wstring>>> lists[] = {
            {"PrintQualityGroup", {{"PQGroup_0", L"Standard"}, {"PQGroup_1", L"Best"}, {"PQGroup_2", L"Maximum"}}},
            {"PrintQuality", {{"Normal", L"Normal"}, {"Best", L"Best"}, {"4800x1200", L"4800"}}},
            {"Resolution", {{"600x600dpi", L"600"}, {"1200x1200dpi", L"1200"}}},
            {"ZQMaximumDetail", {{"Disabled", L"Off"}, {"Enabled", L"On"}}},
            {"ZQMorePasses", {{"Disabled", L"Off"}, {"Enabled", L"On"}}},
            {"ZQLQJGlossEnhancer", {{"Off", L"Off"}, {"Low", L"Low"}, {"High", L"High"}}}};
        for (const auto& [name, options] : lists) m_host.Add(ListFeature(name, options));
        m_host.Add(zqtest::ValueFeature("ZQPrinterClass", "ZQKorrix"));
        std::string macros = Macro("macro_pop_up_4800_1200_warning", "<string_id>6500</string_id><showpopup>1</showpopup>");
        for (const std::string name : kLogged) {
            m_host.Add(ListFeature("ZQLog_" + name, {{"OFF", L"Off"}, {"ON", L"On"}}));
            macros += Macro(name, "<select_option>ZQLog_" + name + ".OFF</select_option><select_option>ZQLog_" + name +
                                      ".ON</select_option>");
        }
        Build();
        std::string cases;
        const char* qualities[] = {"Normal", "Best", "4800x1200"};
        for (int i = 0; i < 3; ++i)
            cases += "<case><name>PQGroup_" + std::to_string(i) + "</name><select_option>PrintQuality." + qualities[i] +
                     "</select_option><select_option>Resolution." + (i ? "1200x1200dpi" : "600x600dpi") +
                     "</select_option></case>";
        zqxmltest::TempFile file(zqxmltest::HelperFile(
            "<helper><features>" + Feature("PrintQualityGroup", {"levels"}) + "</features><macros>" + macros +
            Macro("levels", "<switch><name>PrintQualityGroup</name>" + cases + "</switch>") + "</macros><groups>" +
            Group("ZQGlossEnhancerMediaGroup", {"GLOSSY"}) + Group("ZQMorePassesMediaGroup", {"GLOSSY", "HWC"}) +
            Group("ZQPCnLCMediaGroup", {"PCNLC"}) + Group("HWCnDFAMediaGroup", {"HWC"}) + "</groups></helper>"));
        ASSERT_TRUE(m_rules->Parser().BLoad(file.Path()));
        m_rules->Parser().VSetLoaded(TRUE);
        m_tab->DialogsForTesting().customQuality.VSetParam(m_host.Param());
    }
    // The loaded media (its position among PLAIN, GLOSSY, PCNLC and HWC) and the level; the
    // switches off.
    void Reset(int media, int level) {
        m_host.SetSelection("MediaType", media);
        m_host.SetSelection("PrintQualityGroup", level);
        m_host.SetSelection("PrintQuality", level);
        m_host.SetSelection("Resolution", level ? 1 : 0);
        for (const char* feature : {"ZQMaximumDetail", "ZQMorePasses", "ZQLQJGlossEnhancer"}) m_host.SetSelection(feature, 0);
    }
    INT_PTR Run(std::function<void(HWND)> inside) {
        m_host.ClearUpdates();
        return Modal([&] { return m_tab->DialogsForTesting().customQuality.IDoModal(m_parent, &m_context, FALSE); }, std::move(inside));
    }
    static void Choose(HWND hDlg, int id, int entry) {
        SendDlgItemMessageW(hDlg, id, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        Notice(hDlg, id, CBN_SELCHANGE);
    }
    // Gloss combo shown, gloss combo enabled, More Passes enabled: "svm", "-" for each that is not.
    static std::wstring Offered(HWND hDlg) {
        HWND gloss = GetDlgItem(hDlg, IDC_PQ_CBO_GLOSS);
        return std::wstring((GetWindowLongPtrW(gloss, GWL_STYLE) & WS_VISIBLE) ? L"s" : L"-") +
               (IsWindowEnabled(gloss) ? L"v" : L"-") + (IsWindowEnabled(GetDlgItem(hDlg, IDC_PQ_CHECK_MORE_PASSES)) ? L"m" : L"-");
    }
};

TEST_F(CustomQualityDialog, BestQualityAndTheMediaGroupsGateTheChoicesAtOpeningAndAfterALevel) {
    Prepare();
    BoxAnswers boxes;
    // What is offered when the dialog opens, after a level is chosen (-1: none), and the render dpi.
    struct Row {
        int media, level, chosen;
        PCWSTR offered;
    };
    for (const Row& row : {Row{kGlossy, 1, -1, L"svm svm Render dpi:1200x1200dpi"},
                           // Hidden at opening, the gloss choice stays out of sight.
                           Row{kGlossy, 0, 1, L"--- -vm Render dpi:1200x1200dpi"},
                           Row{kGlossy, 1, 0, L"svm s-- Render dpi:600x600dpi"},
                           Row{kHwc, 1, 2, L"--m --- Render dpi:1200x1200dpi"},
                           Row{kPlain, 1, 1, L"--- --- Render dpi:1200x1200dpi"}}) {
        Reset(row.media, row.level);
        std::wstring offered;
        Run([&](HWND hDlg) {
            offered = Offered(hDlg) + L" ";
            if (row.chosen >= 0) Choose(hDlg, IDC_PQ_CBO_QUALITY_LEVEL, row.chosen);
            offered += Offered(hDlg) + L" " + DlgText(hDlg, IDC_PQ_STA_RENDER_DPI);
        });
        EXPECT_EQ(row.offered, offered) << row.media << " " << row.level;
    }
}

TEST_F(CustomQualityDialog, MaximumDetailRunsTheMacrosOfTheMediaGroup) {
    Prepare();
    struct Row {
        int media;
        const char* on;
        const char* off;
    };
    for (const Row& row : {Row{kPcnlc, "macro_ZQMaximumDetail_PCnLC_E", "macro_ZQMaximumDetail_PCnLC_D"},
                           Row{kGlossy, "macro_ZQMaximumDetail_Glossy_E", "macro_ZQMaximumDetail_Glossy_D"},
                           Row{kHwc, "macro_ZQMaximumDetail_HWCnDFA_E", "macro_ZQMaximumDetail_HWCnDFA_D"},
                           Row{kPlain, "macro_ZQMaximumDetail_E", "macro_ZQMaximumDetail_D"}}) {
        Reset(row.media, 1);
        Log opened, on, off;
        Run([&](HWND hDlg) {
            opened = LoggedMacros();
            m_host.ClearUpdates();
            Click(hDlg, IDC_PQ_CHECK_MAXIMUM_DETAIL);
            on = LoggedMacros();
            m_host.ClearUpdates();
            Click(hDlg, IDC_PQ_CHECK_MAXIMUM_DETAIL);
            off = LoggedMacros();
        });
        const std::vector<Log> expected = {{row.off}, {row.on}, {row.off}};
        EXPECT_EQ(expected, (std::vector<Log>{opened, on, off})) << row.media;
    }
}

TEST_F(CustomQualityDialog, ARejectedLevelRollsBackOnceAndTheHighestLevelWarns) {
    Prepare();
    for (const bool rejected : {false, true}) {
        SCOPED_TRACE(rejected);
        Reset(kGlossy, 1);
        m_gates->rejectedQuality = rejected ? "4800x1200" : "";
        BoxAnswers boxes;
        int combo = -1;
        Run([&](HWND hDlg) {
            m_gates->calls.clear();
            Choose(hDlg, IDC_PQ_CBO_QUALITY_LEVEL, 2);
            combo = static_cast<int>(SendDlgItemMessageW(hDlg, IDC_PQ_CBO_QUALITY_LEVEL, CB_GETCURSEL, 0, 0));
            Click(hDlg, IDOK);
        });
        EXPECT_EQ(1u, boxes.texts.size()) << "the warning of the highest level";
        EXPECT_EQ(rejected ? 1 : 2, combo);
        EXPECT_EQ(rejected ? "PQGroup_1" : "PQGroup_2", Current("PrintQualityGroup"));
        EXPECT_EQ(rejected ? "Best" : "4800x1200", Current("PrintQuality"));
        EXPECT_EQ((std::vector<std::string>{rejected ? "check rejected" : "check accepted"}), m_gates->calls)
            << "the roll-back is not checked again";
    }
}

TEST_F(CustomQualityDialog, CancelPutsTheFourFeaturesBackAndClosingKeepsThem) {
    Prepare();
    struct Row {
        UINT end;
        INT_PTR result;
        bool restored;
    };
    for (const Row& row : {Row{IDCANCEL, IDCANCEL, true}, Row{WM_CLOSE, IDOK, false}, Row{IDOK, IDOK, false}}) {
        Reset(kGlossy, 1);
        const INT_PTR result = Run([&](HWND hDlg) {
            Choose(hDlg, IDC_PQ_CBO_GLOSS, 2);
            Click(hDlg, IDC_PQ_CHECK_MAXIMUM_DETAIL);
            Click(hDlg, IDC_PQ_CHECK_MORE_PASSES);
            Choose(hDlg, IDC_PQ_CBO_QUALITY_LEVEL, 0);
            if (row.end == WM_CLOSE) SendMessageW(hDlg, WM_CLOSE, 0, 0);
            else Click(hDlg, static_cast<int>(row.end));
        });
        EXPECT_EQ(row.result, result) << row.end;
        const std::vector<int> opened = {1, 0, 0, 0}, changed = {0, 1, 1, 2};
        EXPECT_EQ(row.restored ? opened : changed,
                  (std::vector<int>{Sel("PrintQualityGroup"), Sel("ZQMaximumDetail"), Sel("ZQMorePasses"),
                                    Sel("ZQLQJGlossEnhancer")}))
            << row.end;
    }
}

}  // namespace
