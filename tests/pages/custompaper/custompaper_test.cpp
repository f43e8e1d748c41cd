// The custom paper size dialog as the Paper/Quality page opens it, driven from inside its modal
// loop: sizes held within the limits, units, the Save/Delete button, the forms it stores in the
// in-memory printer and the borderless record in the registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqmsgbox.h"
#include "macrotest.h"
#include "pages/custompaper/zqcustompaperdlg.h"
#include "pagetest.h"
#include "res/zqcustompaperids.h"

namespace {

using zqmacrotest::Feature;
using zqmacrotest::Macro;

const std::vector<std::pair<std::string, std::wstring>> kOnOff = {{"OFF", L"Off"}, {"ON", L"On"}};
constexpr WCHAR kRecordKey[] = L"Software\\Quorvane\\ZQ Unidrv\\Borderless Forms";
// 1 to 44 inches wide, 2 to 100 inches long.
constexpr ZQCustomSizeLimits kLimits = {25400, 1117600, 50800, 2540000};

std::wstring DlgText(HWND hDlg, int id) {
    WCHAR text[256] = {};
    GetDlgItemTextW(hDlg, id, text, 256);
    return text;
}

// What the user does: typing marks the field edited; leaving it and clicking are the notices.
void Type(HWND hDlg, int id, const std::wstring& text) {
    SetDlgItemTextW(hDlg, id, text.c_str());
    if (id != IDC_CP_EDIT_NAME) SendDlgItemMessageW(hDlg, id, EM_SETMODIFY, TRUE, 0);
}
void Leave(HWND hDlg, int id) {
    SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, id)));
}
void Click(HWND hDlg, int id) {
    if (id == IDC_CP_RB_INCHES || id == IDC_CP_RB_MILLIMETERS) CheckRadioButton(hDlg, IDC_CP_RB_INCHES, IDC_CP_RB_MILLIMETERS, id);
    if (id == IDC_CP_CHK_BORDERLESS)
        CheckDlgButton(hDlg, id, IsDlgButtonChecked(hDlg, id) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, id)));
}
// The Save/Delete button's label, and "+" when it is enabled.
std::wstring Button(HWND hDlg) {
    return DlgText(hDlg, IDC_CP_BTN_SAVE_DELETE) + (IsWindowEnabled(GetDlgItem(hDlg, IDC_CP_BTN_SAVE_DELETE)) ? L"+" : L"");
}

struct Answers {
    explicit Answers(int answer) : answer(answer) { zqmsgbox::SetAnswerer(&Answer, this); }
    ~Answers() { zqmsgbox::SetAnswerer(nullptr, nullptr); }
    static int Answer(void* self, HWND, PCWSTR text, PCWSTR, UINT) {
        auto* me = static_cast<Answers*>(self);
        me->texts.push_back(text ? text : L"");
        return me->answer;
    }
    int answer;
    std::vector<std::wstring> texts;
};

class CustomPaperDialog : public PaperQualityPage {
protected:
    void TearDown() override {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRecordKey, L"Poster");
        PaperQualityPage::TearDown();
    }
    void Prepare(bool withRules = true) {
        m_papers.push_back({"Poster", L"Poster"});
        AddItems();
        m_host.Add(zqtest::ListFeature("ZQCustomBorderless", kOnOff));
        m_host.Add(zqtest::ListFeature("ZQLog_borderless", kOnOff));
        Build();
        m_printer.AddForm(L"A4", 210000, 297000);
        m_printer.AddForm(L"Poster", 508000, 762000, FORM_USER);
        if (!withRules) return;
        LoadRules(Feature("CustomSize", {"limits"}) + Feature("ZQCustomBorderless", {"borderless"}),
                  Macro("limits", "<option_name>min_width.25400</option_name><option_name>max_width.1117600</option_name>"
                                  "<option_name>min_length.50800</option_name>"
                                  "<option_name>max_length.2540000</option_name>") +
                      Macro("borderless", "<select_option>ZQLog_borderless.ON</select_option>") +
                      Macro("macro_pop_up_CustomPaper", "<string_id>6500</string_id><showpopup>1</showpopup>"));
    }
    INT_PTR Drive(CZQCustomPaperDlg& dialog, std::function<void(HWND)> inside, BOOL rtl = FALSE) {
        return Modal([&] { return dialog.IDoModal(m_parent, &m_context, rtl); }, std::move(inside));
    }
    // The printer's user forms, "name cx x cy" each.
    std::wstring UserForms() {
        CZQLocalPtr<FORM_INFO_1W> forms;
        DWORD count = 0;
        std::wstring out;
        if (!CZQCommon::BEnumForms(m_hPrinter, forms.Put(), &count)) return out;
        for (DWORD i = 0; i < count; ++i)
            if (forms.Get()[i].Flags == FORM_USER)
                out += std::wstring(forms.Get()[i].pName) + L" " + std::to_wstring(forms.Get()[i].Size.cx) + L"x" +
                       std::to_wstring(forms.Get()[i].Size.cy) + L";";
        return out;
    }
    // The borderless record of a form: its data, "-" when there is none.
    static std::wstring Record(PCWSTR pszForm) {
        WCHAR data[64] = {};
        DWORD cb = sizeof data;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, kRecordKey, pszForm, RRF_RT_REG_SZ, nullptr, data, &cb) != ERROR_SUCCESS)
            return L"-";
        return std::wstring(data) + L"/" + std::to_wstring(cb);
    }
};

TEST_F(CustomPaperDialog, SizesAreHeldWithinTheLimitsWhenTheirFieldIsLeft) {
    Prepare(false);
    struct Row {
        int unit;
        ZQCustomSizeLimits limits;
        PCWSTR typed;
        PCWSTR shown;
        int correction;
    };
    const ZQCustomSizeLimits none = {};
    for (const Row& row : {Row{IDC_CP_RB_INCHES, kLimits, L"100", L"44.00", 1},
                           Row{IDC_CP_RB_INCHES, kLimits, L"abc", L"1.00", 1},
                           Row{IDC_CP_RB_INCHES, kLimits, L"12abc", L"12.00", 0},
                           Row{IDC_CP_RB_INCHES, kLimits, L"8.5", L"8.5", 0},
                           Row{IDC_CP_RB_INCHES, kLimits, L"84501", L"44.00", 1},
                           // Thousandths of a millimetre beyond 32 bits still come to the maximum.
                           Row{IDC_CP_RB_MILLIMETERS, kLimits, L"3000000", L"1117.60", 1},
                           Row{IDC_CP_RB_MILLIMETERS, kLimits, L"600000000", L"1117.60", 1},
                           Row{IDC_CP_RB_MILLIMETERS, kLimits, L"-5", L"25.40", 1},
                           Row{IDC_CP_RB_MILLIMETERS, kLimits, L"300.", L"300.00", 0},
                           // Without limits from the rules every size comes to zero.
                           Row{IDC_CP_RB_INCHES, none, L"10", L"0.00", 1}}) {
        CZQCustomPaperDlg dialog;
        dialog.Limits() = row.limits;
        std::wstring shown, button;
        Drive(dialog, [&](HWND hDlg) {
            Click(hDlg, row.unit);
            Type(hDlg, IDC_CP_EDIT_NAME, L"Banner");
            Type(hDlg, IDC_CP_EDIT_WIDTH, row.typed);
            Leave(hDlg, IDC_CP_EDIT_WIDTH);
            shown = DlgText(hDlg, IDC_CP_EDIT_WIDTH);
            button = Button(hDlg);
        });
        EXPECT_EQ(row.shown, shown) << row.typed;
        EXPECT_EQ(row.correction, dialog.ICorrectionState()) << row.typed;
        EXPECT_EQ(L"Sa&ve+", button) << row.typed;
    }
}

TEST_F(CustomPaperDialog, UnitsConvertBothSizesAndTheRangesBackAndForth) {
    Prepare();
    CZQCustomPaperDlg dialog;
    struct Step {
        int click;
        PCWSTR width;
        PCWSTR length;
        PCWSTR widthRange;
        int correction;
    };
    std::vector<std::wstring> seen;
    Drive(dialog, [&](HWND hDlg) {
        Type(hDlg, IDC_CP_EDIT_WIDTH, L"8.50");
        Type(hDlg, IDC_CP_EDIT_LENGTH, L"11");
        for (const Step& s : {Step{IDC_CP_RB_MILLIMETERS, L"215.90", L"279.40", L"(25.40 - 1117.60)", 0},
                              Step{IDC_CP_RB_MILLIMETERS, L"215.90", L"279.40", L"(25.40 - 1117.60)", 0},
                              Step{IDC_CP_RB_INCHES, L"8.50", L"11.00", L"(1.00 - 44.00)", 0},
                              Step{IDC_CP_EDIT_LENGTH, L"8.50", L"2.00", L"(1.00 - 44.00)", 1},
                              Step{IDC_CP_RB_MILLIMETERS, L"215.90", L"50.80", L"(25.40 - 1117.60)", 2}}) {
            if (s.click == IDC_CP_EDIT_LENGTH) {
                Type(hDlg, IDC_CP_EDIT_LENGTH, L"1");
                Leave(hDlg, IDC_CP_EDIT_LENGTH);
            } else {
                Click(hDlg, s.click);
            }
            EXPECT_EQ(s.width, DlgText(hDlg, IDC_CP_EDIT_WIDTH));
            EXPECT_EQ(s.length, DlgText(hDlg, IDC_CP_EDIT_LENGTH));
            EXPECT_EQ(s.widthRange, DlgText(hDlg, IDC_CP_STA_WIDTH_RANGE));
            EXPECT_EQ(s.correction, dialog.ICorrectionState());
        }
    });
}

TEST_F(CustomPaperDialog, TheButtonFollowsTheNameTheSizesAndTheBorderlessBox) {
    Prepare();
    struct Row {
        PCWSTR name;
        PCWSTR width;
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
            EnableWindow(GetDlgItem(hDlg, IDC_CP_BTN_SAVE_DELETE), FALSE);
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
        PCWSTR name, button, width, widthRange, lengthRange;
        bool borderless;
    };
    for (const Row& row :
         {Row{1, 0, true, L"Custom", L"Sa&ve", L"8.27", L"(1.00 - 44.00)", L"(2.00 - 100.00)", false},
          Row{4, 1, true, L"Poster", L"De&lete+", L"210.00", L"(25.40 - 1117.60)", L"(50.80 - 2540.00)", true},
          Row{4, 0, false, L"Poster", L"De&lete+", L"8.27", L"(0.00 - 0.00)", L"(0.00 - 0.00)", true}}) {
        m_host.SetSelection("PaperSize", row.paper);
        m_logic.m_dwUnitMm = row.unitMm;
        m_context.pRules = row.rules ? m_rules.get() : &unloaded;
        CZQCustomPaperDlg dialog;
        std::wstring seen[6];
        bool borderless = false, mm = false;
        const INT_PTR result = Drive(dialog, [&](HWND hDlg) {
            const int ids[] = {IDC_CP_EDIT_NAME, IDC_CP_EDIT_WIDTH, IDC_CP_STA_WIDTH_RANGE, IDC_CP_STA_LENGTH_RANGE};
            for (int i = 0; i < 4; ++i) seen[i] = DlgText(hDlg, ids[i]);
            seen[4] = Button(hDlg);
            seen[5] = DlgText(hDlg, IDOK);
            borderless = IsDlgButtonChecked(hDlg, IDC_CP_CHK_BORDERLESS) == BST_CHECKED;
            mm = IsDlgButtonChecked(hDlg, IDC_CP_RB_MILLIMETERS) == BST_CHECKED;
        });
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(row.name, seen[0]);
        EXPECT_EQ(row.width, seen[1]);
        EXPECT_EQ(row.widthRange, seen[2]);
        EXPECT_EQ(row.lengthRange, seen[3]);
        EXPECT_EQ(row.button, seen[4]);
        EXPECT_EQ(L"&OK", seen[5]);
        EXPECT_EQ(row.borderless, borderless);
        EXPECT_EQ(row.unitMm != 0, mm);
        EXPECT_STREQ(row.name, dialog.PszRecordedName());
    }
    // Without a rule engine the dialog has no limits to keep: it ends at once.
    m_context.pRules = nullptr;
    CZQCustomPaperDlg dialog;
    EXPECT_EQ(IDCANCEL, dialog.IDoModal(m_parent, &m_context, FALSE));
}

TEST_F(CustomPaperDialog, SavingReplacingAndDeletingFormsWithTheirTwinsAndRecords) {
    Prepare();
    struct Row {
        PCWSTR name;
        PCWSTR width;
        bool borderless;
        int press;        // IDC_CP_BTN_SAVE_DELETE or IDOK
        int answer;       // the delete confirmation's answer
        bool failSet;     // the spooler refuses to replace the form
        INT_PTR result;
        PCWSTR forms;
        PCWSTR record;
        size_t boxes;
    };
    const Row rows[] = {
        // The oversize suffix at the end is no part of the stored name.
        {L"Poster - oversize", L"24", true, IDC_CP_BTN_SAVE_DELETE, 0, false, IDCANCEL, L"Poster 609600x762000;",
         L"Borderless/22", 0},
        {L"Poster", L"25", false, IDOK, 0, false, IDOK, L"Poster 635000x762000;", L"-", 0},
        // A refused replacement keeps the stored form and says so through the rules' pop-up.
        {L"Poster", L"26", false, IDC_CP_BTN_SAVE_DELETE, 0, true, IDCANCEL, L"Poster 635000x762000;", L"-", 1},
        {L"Poster", L"27", false, IDOK, 0, true, IDOK, L"Poster 635000x762000;", L"-", 1},
        // The suffix inside a name belongs to the name.
        {L"Poster - oversize B", L"20", false, IDC_CP_BTN_SAVE_DELETE, 0, false, IDCANCEL,
         L"Poster 635000x762000;Poster - oversize B 508000x762000;", L"-", 0},
        // A form of the printer is neither replaced nor deleted, without a word.
        {L"A4", L"20", false, IDC_CP_BTN_SAVE_DELETE, 0, false, IDCANCEL,
         L"Poster 635000x762000;Poster - oversize B 508000x762000;", L"-", 0},
    };
    for (const Row& row : rows) {
        CZQCustomPaperDlg dialog;
        m_printer.FailCall(zqspool::MemCall::SetForm, ERROR_ACCESS_DENIED, row.failSet ? -1 : 0);
        Answers answers(row.answer);
        const INT_PTR result = Drive(dialog, [&](HWND hDlg) {
            Type(hDlg, IDC_CP_EDIT_NAME, row.name);
            Type(hDlg, IDC_CP_EDIT_WIDTH, row.width);
            Type(hDlg, IDC_CP_EDIT_LENGTH, L"30");
            if (row.borderless) Click(hDlg, IDC_CP_CHK_BORDERLESS);
            Click(hDlg, row.press);
        });
        EXPECT_EQ(row.result, result) << row.name;
        EXPECT_EQ(row.forms, UserForms()) << row.name;
        EXPECT_EQ(row.record, Record(L"Poster")) << row.name;
        EXPECT_EQ(row.boxes, answers.texts.size()) << row.name;
    }
    m_printer.FailCall(zqspool::MemCall::SetForm, 0, 0);

    // Deleting asks first; the oversize twin goes with the form.
    m_printer.AddForm(L"Poster - oversize", 700000, 762000, FORM_USER);
    for (const auto& [answer, forms] : {std::make_pair(IDCANCEL, L"Poster 635000x762000;Poster - oversize B "
                                                                 L"508000x762000;Poster - oversize 700000x762000;"),
                                        std::make_pair(IDOK, L"Poster - oversize B 508000x762000;")}) {
        CZQCustomPaperDlg dialog;
        Answers answers(answer);
        std::wstring before, after;
        Drive(dialog, [&](HWND hDlg) {
            Type(hDlg, IDC_CP_EDIT_WIDTH, L"25");
            Type(hDlg, IDC_CP_EDIT_LENGTH, L"30");
            Type(hDlg, IDC_CP_EDIT_NAME, L"Poster");
            before = Button(hDlg);
            Click(hDlg, IDC_CP_BTN_SAVE_DELETE);
            after = Button(hDlg);
        });
        EXPECT_EQ(L"De&lete+", before);
        EXPECT_EQ(answer == IDOK ? L"De&lete" : L"De&lete+", after);
        EXPECT_EQ(forms, UserForms());
        ASSERT_EQ(1u, answers.texts.size());
        EXPECT_EQ(L"Are you sure you want to delete the selected item?", answers.texts[0]);
    }
}

TEST_F(CustomPaperDialog, AnUnwritableRecordLeavesTheFormAddedAndItsStateUnrecorded) {
    Prepare();
    // The machine root becomes a volatile key, under which no lasting key can be made.
    HKEY volatileKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\ZQVolatileRoot", 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr));
    CZQCustomPaperDlg dialog;
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, volatileKey));
    Drive(dialog, [&](HWND hDlg) {
        Type(hDlg, IDC_CP_EDIT_NAME, L"Banner");
        Type(hDlg, IDC_CP_EDIT_WIDTH, L"10");
        Type(hDlg, IDC_CP_EDIT_LENGTH, L"20");
        Click(hDlg, IDC_CP_CHK_BORDERLESS);
        Click(hDlg, IDC_CP_BTN_SAVE_DELETE);
    });
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(volatileKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\ZQVolatileRoot");
    EXPECT_EQ(L"Poster 508000x762000;Banner 254000x508000;", UserForms());
    EXPECT_FALSE(dialog.BRecordedBorderless());
    EXPECT_EQ(L"-", Record(L"Banner"));
}

TEST_F(CustomPaperDialog, ThePagesButtonsAndTheLargeFormatCustomEntryOpenTheDialogs) {
    m_host.Add(zqtest::ValueFeature("ZQLQJPaperSizeTreeview", "5,3"));
    Prepare();
    ASSERT_NE(nullptr, Open());
    struct Row {
        int id;
        int code;
        PCWSTR caption;
    };
    for (const Row& row : {Row{IDC_BTN_CUSTOM, BN_CLICKED, L"Custom Paper Size"},
                           Row{IDC_BTN_PAPERMEDIA_PQ_SETTINGS, BN_CLICKED, L"Custom Print Quality Options"},
                           Row{IDC_CBO_MEDIA_SIZE_IS, CBN_SELCHANGE, L"Custom Paper Size"}}) {
        std::wstring caption;
        Modal(
            [&] {
                // The entry the large-format list ends with.
                if (row.code == CBN_SELCHANGE)
                    SendMessageW(Ctl(row.id), CB_SETCURSEL,
                                 SendMessageW(Ctl(row.id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Custom")), 0);
                SendMessageW(m_page, WM_COMMAND, MAKEWPARAM(row.id, row.code), reinterpret_cast<LPARAM>(Ctl(row.id)));
                return INT_PTR(0);
            },
            [&](HWND hDlg) {
                WCHAR text[64] = {};
                GetWindowTextW(hDlg, text, 64);
                caption = text;
            });
        EXPECT_EQ(row.caption, caption) << row.id;
    }
}

TEST_F(CustomPaperDialog, PlainNumbersTheHelpTableAndAWindowWithoutItsDialog) {
    for (const auto& [text, plain] : {std::make_pair(L"", true), std::make_pair(L"12", true),
                                      std::make_pair(L"12.5", true), std::make_pair(L"12.", false),
                                      std::make_pair(L"1.2.3", false), std::make_pair(L"-1", false),
                                      std::make_pair(L"12abc", false), std::make_pair(L".5", true)})
        EXPECT_EQ(plain, CZQCustomPaperDlg::BIsPlainNumber(text) != FALSE) << text;
    DWORD table[2 * CZQCustomPaperDlg::kHelpPairs + 2];
    std::fill(std::begin(table), std::end(table), 0xCDCDCDCDu);
    CZQCustomPaperDlg::VGetHelpIds(table);
    EXPECT_EQ(DWORD(IDC_CP_EDIT_NAME), table[2]);
    EXPECT_EQ(15730u, table[3]);
    EXPECT_EQ(0u, table[2 * CZQCustomPaperDlg::kHelpPairs - 2]);
    EXPECT_EQ(0u, table[2 * CZQCustomPaperDlg::kHelpPairs - 1]);
    EXPECT_EQ(0xCDCDCDCDu, table[2 * CZQCustomPaperDlg::kHelpPairs]) << "nothing written beyond the table";

    // A window of the template that no dialog object opened refuses the user's commands.
    HWND stray = CreateDialogParamW(Resources(), MAKEINTRESOURCEW(IDD_DLG_CUSTOM_PAPER), m_parent,
                                    &CZQCustomPaperDlg::CustomPaperDlgProc, 0);
    ASSERT_NE(nullptr, stray);
    SetLastError(0);
    EXPECT_EQ(FALSE, SendMessageW(stray, WM_COMMAND, MAKEWPARAM(IDC_CP_BTN_SAVE_DELETE, BN_CLICKED), 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_DATA), GetLastError());
    DestroyWindow(stray);
}

}  // namespace
