// The custom paper size dialog as the Paper/Quality page opens it, driven from inside its modal
// loop: sizes held within the limits, units, the Save/Delete button, the forms it stores in the
// in-memory printer and the borderless record in the registry.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/zqhandles.h"
#include "macrotest.h"
#include "pages/dialogs/zqcustompaperdlg.h"
#include "pagetest.h"
#include "res/zqcustompaperids.h"

namespace {

using zqmacrotest::Feature;
using zqmacrotest::Macro;

constexpr WCHAR kRecordKey[] = L"Software\\Quorvane\\ZQ Unidrv\\Borderless Forms";
// 1 to 44 inches wide, 2 to 100 inches long.
constexpr ZQCustomSizeLimits kLimits = {25400, 1117600, 50800, 2540000};

class CustomPaperDialog : public PaperQualityPage {
protected:
    void TearDown() override {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRecordKey, L"Poster");
        PaperQualityPage::TearDown();
    }
    void Prepare(bool withRules = true) {
        m_papers.push_back({"Poster", L"Poster"});
        AddItems();
        for (const char* onOff : {"ZQCustomBorderless", "ZQLog_borderless"})
            m_host.Add(zqtest::ListFeature(onOff, {{"OFF", L"Off"}, {"ON", L"On"}}));
        Build();
        m_printer.AddForm(L"A4", 210000, 297000);
        m_printer.AddForm(L"Poster", 508000, 762000, FORM_USER);
        if (!withRules) return;
        LoadRules(Feature("CustomSize", {"limits"}) + Feature("ZQCustomBorderless", {"borderless"}),
                  Macro("limits", "<option_name>min_width.25400</option_name><option_name>max_width.1117600</option_name>"
                                  "<option_name>min_length.50800</option_name><option_name>max_length.2540000</option_name>") +
                      Macro("borderless", "<select_option>ZQLog_borderless.ON</select_option>") +
                      Macro("macro_pop_up_CustomPaper", "<string_id>6500</string_id><showpopup>1</showpopup>"));
    }
    INT_PTR Drive(CZQCustomPaperDlg& dialog, std::function<void(HWND)> inside) {
        return Modal([&] { return dialog.IDoModal(m_parent, &m_context, FALSE); }, std::move(inside));
    }
    // Typing marks a size field edited, as the user's typing does.
    static void Type(HWND hDlg, int id, const std::wstring& text) {
        SetDlgItemTextW(hDlg, id, text.c_str());
        if (id != IDC_CP_EDIT_NAME) SendDlgItemMessageW(hDlg, id, EM_SETMODIFY, TRUE, 0);
    }
    static void Unit(HWND hDlg, int id) {
        CheckRadioButton(hDlg, IDC_CP_RB_INCHES, IDC_CP_RB_MILLIMETERS, id);
        Notice(hDlg, id, BN_CLICKED);
    }
    // The Save/Delete button's label, and "+" when it is enabled.
    static std::wstring Button(HWND hDlg) {
        return DlgText(hDlg, IDC_CP_BTN_SAVE_DELETE) + (IsWindowEnabled(GetDlgItem(hDlg, IDC_CP_BTN_SAVE_DELETE)) ? L"+" : L"");
    }
    // The printer's user forms, "name cx x cy;" each.
    std::wstring UserForms() {
        CZQLocalPtr<FORM_INFO_1W> forms;
        DWORD count = 0;
        std::wstring out;
        for (DWORD i = 0; CZQCommon::BEnumForms(m_hPrinter, forms.Put(), &count) && i < count; ++i) {
            const FORM_INFO_1W& f = forms.Get()[i];
            if (f.Flags == FORM_USER)
                out += f.pName + (L" " + std::to_wstring(f.Size.cx) + L"x" + std::to_wstring(f.Size.cy) + L";");
        }
        return out;
    }
    // The borderless record of a form: its data and size, "-" when there is none.
    static std::wstring Record(PCWSTR pszForm) {
        WCHAR data[64] = {};
        DWORD cb = sizeof data;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, kRecordKey, pszForm, RRF_RT_REG_SZ, nullptr, data, &cb) != ERROR_SUCCESS)
            return L"-";
        return std::wstring(data) + L"/" + std::to_wstring(cb);
    }
};

TEST_F(CustomPaperDialog, SizesAreHeldWithinTheLimitsWhenLeftAndFollowTheUnit) {
    Prepare(false);
    const ZQCustomSizeLimits none = {};
    const int inches = IDC_CP_RB_INCHES, mm = IDC_CP_RB_MILLIMETERS;
    // The width as left, then in the other unit with its range; the correction state after each.
    struct Row {
        int unit;
        ZQCustomSizeLimits limits;
        PCWSTR typed, shown;
        int corrected, switched;
    };
    for (const Row& row : {Row{inches, kLimits, L"100", L"44.00 1117.60 (25.40 - 1117.60)", 1, 2},
                           Row{inches, kLimits, L"abc", L"1.00 25.40 (25.40 - 1117.60)", 1, 2},
                           Row{inches, kLimits, L"12abc", L"12.00 304.80 (25.40 - 1117.60)", 0, 0},
                           Row{inches, kLimits, L"8.50", L"8.50 215.90 (25.40 - 1117.60)", 0, 0},
                           Row{inches, kLimits, L"84501", L"44.00 1117.60 (25.40 - 1117.60)", 1, 2},
                           // Thousandths of a millimetre beyond 32 bits still come to the maximum.
                           Row{mm, kLimits, L"3000000", L"1117.60 44.00 (1.00 - 44.00)", 1, 2},
                           Row{mm, kLimits, L"600000000", L"1117.60 44.00 (1.00 - 44.00)", 1, 2},
                           Row{mm, kLimits, L"-5", L"25.40 1.00 (1.00 - 44.00)", 1, 2},
                           Row{mm, kLimits, L"215.9", L"215.9 8.50 (1.00 - 44.00)", 0, 0},
                           Row{mm, kLimits, L"300.", L"300.00 11.81 (1.00 - 44.00)", 0, 0},
                           // Without limits from the rules every size comes to zero.
                           Row{inches, none, L"10", L"0.00 0.00 (0.00 - 0.00)", 1, 2}}) {
        CZQCustomPaperDlg dialog;
        dialog.Limits() = row.limits;
        std::wstring seen, button;
        int corrected = -1;
        Drive(dialog, [&](HWND hDlg) {
            Unit(hDlg, row.unit);
            Type(hDlg, IDC_CP_EDIT_NAME, L"Banner");
            Type(hDlg, IDC_CP_EDIT_WIDTH, row.typed);
            Notice(hDlg, IDC_CP_EDIT_WIDTH, EN_KILLFOCUS);
            seen = DlgText(hDlg, IDC_CP_EDIT_WIDTH);
            button = Button(hDlg);
            corrected = dialog.ICorrectionState();
            Unit(hDlg, row.unit == inches ? mm : inches);
            seen += L" " + DlgText(hDlg, IDC_CP_EDIT_WIDTH) + L" " + DlgText(hDlg, IDC_CP_STA_WIDTH_RANGE);
        });
        EXPECT_EQ(row.shown, seen) << row.typed;
        EXPECT_EQ(L"Sa&ve+", button) << row.typed;
        EXPECT_EQ(row.corrected, corrected) << row.typed;
        EXPECT_EQ(row.switched, dialog.ICorrectionState()) << row.typed;
    }
}

TEST_F(CustomPaperDialog, TheButtonFollowsTheNameTheSizesAndTheBorderlessBox) {
    Prepare();
    struct Row {
        PCWSTR name, width;
        bool borderless;
        PCWSTR button;
    };
    for (const Row& row : {Row{L"Custom", nullptr, false, L"Sa&ve"}, Row{L"cUSTOM   ", nullptr, false, L"Sa&ve"},
                           Row{L"   ", nullptr, false, L"Sa&ve"}, Row{L"Banner", nullptr, false, L"Sa&ve+"},
                           Row{L"poster", L"20.00", false, L"De&lete+"}, Row{L"Poster", L"21", false, L"Sa&ve+"},
                           Row{L"A4", L"9", false, L"Sa&ve+"}, Row{L"A4", nullptr, false, L"Sa&ve"},
                           Row{L"Poster", L"20", true, L"Sa&ve+"}}) {
        CZQCustomPaperDlg dialog;
        std::wstring button;
        Drive(dialog, [&](HWND hDlg) {
            SetDlgItemTextW(hDlg, IDC_CP_EDIT_LENGTH, L"30.00");
            if (row.width) Type(hDlg, IDC_CP_EDIT_WIDTH, row.width);
            Type(hDlg, IDC_CP_EDIT_NAME, row.name);
            if (row.borderless) Click(hDlg, IDC_CP_CHK_BORDERLESS);
            button = Button(hDlg);
        });
        EXPECT_EQ(row.button, button) << row.name;
        EXPECT_EQ(row.borderless ? 1 : 0, Sel("ZQLog_borderless")) << "the borderless macros ran";
        m_host.SetSelection("ZQLog_borderless", 0);
    }
}

TEST_F(CustomPaperDialog, OpeningTakesTheSelectedFormTheUnitAndTheRulesLimits) {
    Prepare();
    CZQXmlUiRules unloaded;
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kRecordKey, L"Poster", REG_SZ, L"Borderless", 22);
    struct Row {
        int paper;
        DWORD unitMm;
        bool rules;
        PCWSTR shown;  // name, button, width, both ranges, Borderless and Millimetres checked
    };
    for (const Row& row : {Row{1, 0, true, L"Custom|Sa&ve|8.27|(1.00 - 44.00)|(2.00 - 100.00)|00"},
                           Row{4, 1, true, L"Poster|De&lete+|210.00|(25.40 - 1117.60)|(50.80 - 2540.00)|11"},
                           Row{4, 0, false, L"Poster|De&lete+|8.27|(0.00 - 0.00)|(0.00 - 0.00)|10"}}) {
        m_host.SetSelection("PaperSize", row.paper);
        m_logic.m_dwUnitMm = row.unitMm;
        m_context.pRules = row.rules ? m_rules.get() : &unloaded;
        CZQCustomPaperDlg dialog;
        std::wstring shown;
        EXPECT_EQ(IDCANCEL, Drive(dialog, [&](HWND hDlg) {
            shown = DlgText(hDlg, IDC_CP_EDIT_NAME) + L"|" + Button(hDlg);
            for (int id : {IDC_CP_EDIT_WIDTH, IDC_CP_STA_WIDTH_RANGE, IDC_CP_STA_LENGTH_RANGE}) shown += L"|" + DlgText(hDlg, id);
            shown += L"|" + std::to_wstring(IsDlgButtonChecked(hDlg, IDC_CP_CHK_BORDERLESS)) +
                     std::to_wstring(IsDlgButtonChecked(hDlg, IDC_CP_RB_MILLIMETERS));
        }));
        EXPECT_EQ(row.shown, shown);
    }
    // Without a rule engine the dialog has no limits to keep: it ends at once. A window that no
    // dialog object opened refuses the user's commands.
    m_context.pRules = nullptr;
    CZQCustomPaperDlg dialog;
    EXPECT_EQ(IDCANCEL, dialog.IDoModal(m_parent, &m_context, FALSE));
    HWND stray = CreateDialogParamW(Resources(), MAKEINTRESOURCEW(IDD_DLG_CUSTOM_PAPER), m_parent,
                                    &CZQCustomPaperDlg::CustomPaperDlgProc, 0);
    SetLastError(0);
    EXPECT_EQ(FALSE, SendMessageW(stray, WM_COMMAND, MAKEWPARAM(IDC_CP_BTN_SAVE_DELETE, BN_CLICKED), 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_DATA), GetLastError());
    DestroyWindow(stray);
}

TEST_F(CustomPaperDialog, SavingReplacingAndDeletingFormsWithTheirTwinsAndRecords) {
    Prepare();
    m_printer.AddForm(L"Banner - oversize", 700000, 762000, FORM_USER);
    m_printer.AddForm(L"Banner", 700000, 762000, FORM_USER);
    const std::wstring twin = L"Banner - oversize 700000x762000;Banner 700000x762000;";
    struct Row {
        PCWSTR name, width;
        bool borderless;
        int press;     // the Save/Delete button or OK
        int answer;    // to the boxes: the delete confirmation's answer
        bool failSet;  // the spooler refuses to replace the form
        bool locked;   // no machine key can be made
        INT_PTR result;
        std::wstring forms;
        PCWSTR record;
        size_t boxes;
    };
    const Row rows[] = {
        // The oversize suffix at the end is no part of the stored name.
        {L"Poster - oversize", L"24", true, IDC_CP_BTN_SAVE_DELETE, IDOK, false, false, IDCANCEL,
         L"Poster 609600x762000;" + twin, L"Borderless/22", 0},
        {L"Poster", L"25", false, IDOK, IDOK, false, false, IDOK, L"Poster 635000x762000;" + twin, L"-", 0},
        // A refused replacement keeps the stored form and says so through the rules' pop-up; OK
        // still ends the dialog as confirmed.
        {L"Poster", L"26", false, IDC_CP_BTN_SAVE_DELETE, IDOK, true, false, IDCANCEL, L"Poster 635000x762000;" + twin, L"-", 1},
        {L"Poster", L"27", false, IDOK, IDOK, true, false, IDOK, L"Poster 635000x762000;" + twin, L"-", 1},
        // The suffix inside a name belongs to the name; a form of the printer is left alone.
        {L"Poster - oversize B", L"20", false, IDC_CP_BTN_SAVE_DELETE, IDOK, false, false, IDCANCEL,
         L"Poster 635000x762000;" + twin + L"Poster - oversize B 508000x762000;", L"-", 0},
        {L"A4", L"20", false, IDC_CP_BTN_SAVE_DELETE, IDOK, false, false, IDCANCEL,
         L"Poster 635000x762000;" + twin + L"Poster - oversize B 508000x762000;", L"-", 0},
        // Deleting asks first; the oversize twin goes with its form.
        {L"Banner", L"27.55", false, IDC_CP_BTN_SAVE_DELETE, IDCANCEL, false, false, IDCANCEL,
         L"Poster 635000x762000;" + twin + L"Poster - oversize B 508000x762000;", L"-", 1},
        {L"Poster", L"25", false, IDC_CP_BTN_SAVE_DELETE, IDOK, false, false, IDCANCEL,
         twin + L"Poster - oversize B 508000x762000;", L"-", 1},
        {L"Banner - oversize", L"27.55", false, IDC_CP_BTN_SAVE_DELETE, IDOK, false, false, IDCANCEL,
         L"Poster - oversize B 508000x762000;", L"-", 1},
        // A machine key that cannot be made leaves the form stored and its borderless state unrecorded.
        {L"Poster", L"20", true, IDC_CP_BTN_SAVE_DELETE, IDOK, false, true, IDCANCEL,
         L"Poster - oversize B 508000x762000;Poster 508000x762000;", L"-", 0},
    };
    for (const Row& row : rows) {
        CZQCustomPaperDlg dialog;
        m_printer.FailCall(zqspool::MemCall::SetForm, ERROR_ACCESS_DENIED, row.failSet ? -1 : 0);
        BoxAnswers answers(row.answer);
        // The machine root becomes a volatile key, under which no lasting key can be made.
        HKEY root = nullptr;
        if (row.locked) {
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\ZQVolatileRoot", 0, nullptr,
                                                     REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &root, nullptr));
            RegOverridePredefKey(HKEY_LOCAL_MACHINE, root);
        }
        const INT_PTR result = Drive(dialog, [&](HWND hDlg) {
            Type(hDlg, IDC_CP_EDIT_WIDTH, row.width);
            Type(hDlg, IDC_CP_EDIT_LENGTH, L"30");
            Type(hDlg, IDC_CP_EDIT_NAME, row.name);
            if (row.borderless) Click(hDlg, IDC_CP_CHK_BORDERLESS);
            Click(hDlg, row.press);
        });
        if (root) {
            RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
            RegCloseKey(root);
            RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\ZQVolatileRoot");
        }
        EXPECT_EQ(row.locked ? FALSE : row.borderless, dialog.BRecordedBorderless()) << row.name;
        EXPECT_EQ(row.result, result) << row.name;
        EXPECT_EQ(row.forms, UserForms()) << row.name;
        EXPECT_EQ(row.record, Record(L"Poster")) << row.name;
        EXPECT_EQ(row.boxes, answers.texts.size()) << row.name;
    }
}

TEST_F(CustomPaperDialog, ThePagesButtonsAndTheLargeFormatCustomEntryOpenTheDialogs) {
    m_host.Add(zqtest::ValueFeature("ZQLQJPaperSizeTreeview", "5,3"));
    Prepare();
    ASSERT_NE(nullptr, Open());
    HWND sizes = Ctl(IDC_CBO_MEDIA_SIZE_IS);
    for (const auto& [id, caption] : {std::make_pair(IDC_BTN_CUSTOM, L"Custom Paper Size"),
                                      std::make_pair(IDC_BTN_PAPERMEDIA_PQ_SETTINGS, L"Custom Print Quality Options"),
                                      std::make_pair(IDC_BTN_MARGINS, L"Layout And Margins options"),
                                      std::make_pair(IDC_CBO_MEDIA_SIZE_IS, L"Custom Paper Size")}) {
        std::wstring seen;
        Modal(
            [&, id = id] {
                // The entry the large-format list ends with.
                if (id == IDC_CBO_MEDIA_SIZE_IS)
                    SendMessageW(sizes, CB_SETCURSEL, SendMessageW(sizes, CB_ADDSTRING, 0, LPARAM(L"Custom")), 0);
                Notice(m_page, id, id == IDC_CBO_MEDIA_SIZE_IS ? CBN_SELCHANGE : BN_CLICKED);
                return INT_PTR(0);
            },
            [&](HWND hDlg) {
                WCHAR text[64] = {};
                GetWindowTextW(hDlg, text, 64);
                seen = text;
            });
        EXPECT_EQ(caption, seen) << id;
    }
}

}  // namespace
