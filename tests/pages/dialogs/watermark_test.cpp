// The Watermark Details dialog, opened by the Effects page's "Edit...": its start from the settings
// (angle mode, font fall-backs, colours by the colour mode), New up to the pool's limit, the message
// that makes and renames watermarks, Delete, the number edits, the sample page's orientation, OK
// into the settings and the core driver's items, and Cancel taking back a new watermark.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "effectstest.h"
#include "formats/zquidevmode.h"
#include "res/zqwatermarkids.h"

namespace {

int CALLBACK FirstTrueType(const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM lParam) {
    auto* face = reinterpret_cast<std::wstring*>(lParam);
    if (!(type & TRUETYPE_FONTTYPE) || !font->lfFaceName[0]) return 1;
    *face = font->lfFaceName;
    return 0;
}

class WatermarkDetails : public EffectsPage {
protected:
    CZQWatermarks& Wm() { return m_tab->WatermarksForTesting(); }
    WatermarkEntry* AddWatermark(PCWSTR name, DWORD flags = kWatermarkEditable, DWORD size = 120) {
        WatermarkEntry* e = CZQWatermarks::PNewEntry(Wm().MainList());
        lstrcpyW(e->szName, name);
        lstrcpyW(e->szText, name);
        e->dwFlags = flags;
        e->dwSize = size;
        e->dwAngleMode = 2;
        e->dwAngle = 15;
        return e;
    }
    void Start(std::initializer_list<PCWSTR> names = {}) {
        AddItems();
        Build();
        for (PCWSTR name : names) AddWatermark(name);
        ASSERT_NE(nullptr, Open());
    }
    // The dialog opened from the page; `inside` works in it (left open, it is cancelled).
    void InDialog(std::function<void(HWND)> inside) {
        Modal(
            [&] {
                Click(m_page, IDC_BTN_EDIT_WM);
                return INT_PTR{0};
            },
            std::move(inside));
    }
    static std::vector<std::wstring> Names(HWND dialog) {
        std::vector<std::wstring> out;
        const int n = static_cast<int>(SendDlgItemMessageW(dialog, IDC_LST_WM_NAMES, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            WCHAR text[256] = {};
            SendDlgItemMessageW(dialog, IDC_LST_WM_NAMES, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            out.push_back(text);
        }
        return out;
    }
    static std::wstring Selected(HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_LST_WM_NAMES);
        WCHAR text[256] = {};
        SendMessageW(list, LB_GETTEXT, SendMessageW(list, LB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
        return text;
    }
    static void Select(HWND dialog, PCWSTR name) {
        SendDlgItemMessageW(dialog, IDC_LST_WM_NAMES, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
        Notice(dialog, IDC_LST_WM_NAMES, LBN_SELCHANGE);
    }
    // Text typed into an edit (the edit tells of it as it changes).
    static void Type(HWND dialog, int id, PCWSTR text) {
        SetDlgItemTextW(dialog, id, text);
        Notice(dialog, id, EN_CHANGE);
    }
    static bool On(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
    std::wstring WorkText(const zqwchar* text) { return reinterpret_cast<const wchar_t*>(text); }
};

// The angle controls follow the settings' angle mode; a face the screen lacks falls back to the
// language's face and then to the list's first, which the settings take; a monochrome document lists
// gray alone.
TEST_F(WatermarkDetails, OpensFromTheSettings) {
    std::wstring face;
    HDC screen = GetDC(nullptr);
    EnumFontsW(screen, nullptr, &FirstTrueType, reinterpret_cast<LPARAM>(&face));
    ReleaseDC(nullptr, screen);
    ASSERT_FALSE(face.empty());
    Start();
    const UINT diagonal = static_cast<UINT>(Wm().IDiagonalAngle());
    const struct {
        DWORD mode;
        DWORD colorMode;
        const wchar_t* font;
        int checked;
        bool angleOn;
        UINT angleShown;
        int colors;
    } cases[] = {
        {0, 2, L"No Such Face", IDC_RB_DIAG, false, diagonal, 7},
        {1, 1, face.c_str(), IDC_RB_HORZ, false, 25, 1},
        {2, 2, face.c_str(), IDC_RB_ANG, true, 25, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        // The settings as this case has them, not the listed watermark a cancelled dialog reloads.
        m_tab->StateForTesting().bWatermarkReload = FALSE;
        Work().dwWmAngleMode = c.mode;
        Work().dwWmAngle = 25;
        Work().dwColorMode = c.colorMode;
        lstrcpyW(reinterpret_cast<wchar_t*>(Work().szWmFont), c.font);
        InDialog([&](HWND dialog) {
            for (int id : {IDC_RB_DIAG, IDC_RB_HORZ, IDC_RB_ANG})
                EXPECT_EQ(id == c.checked, IsDlgButtonChecked(dialog, id) == BST_CHECKED) << id;
            EXPECT_EQ(c.angleOn, On(dialog, IDC_TXT_ANG));
            EXPECT_EQ(c.angleOn, On(dialog, IDC_SPIN_BTN_ANGLE));
            EXPECT_EQ(c.angleShown, GetDlgItemInt(dialog, IDC_TXT_ANG, nullptr, FALSE));
            EXPECT_EQ(c.colors, SendDlgItemMessageW(dialog, IDC_CBOEX_FONT_CLR, CB_GETCOUNT, 0, 0));
            const std::wstring shown = DlgText(dialog, IDC_CBO_FONT_NAME);
            if (c.font == face) EXPECT_EQ(face, shown);
            else EXPECT_NE(L"No Such Face", shown);
            EXPECT_EQ(shown, WorkText(Work().szWmFont)) << "the face shown is the settings'";
            // The font list holds TrueType faces only, each once.
            const int fonts = static_cast<int>(SendDlgItemMessageW(dialog, IDC_CBO_FONT_NAME, CB_GETCOUNT, 0, 0));
            EXPECT_GT(fonts, 0);
        });
    }
    // A right-to-left interface gets the mirrored template.
    m_logic.SheetState()->bRtl = TRUE;
    InDialog([&](HWND dialog) { EXPECT_NE(0, GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL); });
    m_logic.SheetState()->bRtl = FALSE;
}

// New names the watermarks Untitled, Untitled #2 ... with the message Untitled and the look of the
// one shown; a pool of 31 takes no more and says so.
TEST_F(WatermarkDetails, NewUpToTheMaximum) {
    Start({L"Draft"});
    BoxAnswers boxes;
    InDialog([&](HWND dialog) {
        Select(dialog, L"Draft");
        Click(dialog, IDC_BTN_NEW);
        EXPECT_EQ(L"Untitled", Selected(dialog));
        EXPECT_EQ(L"Untitled", DlgText(dialog, IDC_TXT_WM_MSG));
        EXPECT_EQ(120u, Wm().PFindByName(L"Untitled")->dwSize) << "the look of Draft";
        EXPECT_TRUE(On(dialog, IDC_BTN_DEL));
        Click(dialog, IDC_BTN_NEW);
        EXPECT_EQ(L"Untitled #2", Selected(dialog));
        EXPECT_EQ(L"Untitled", DlgText(dialog, IDC_TXT_WM_MSG));
        while (Wm().ICountEntries() < CZQWatermarks::kMaxEntries) AddWatermark(L"Filler", kWatermarkHidden);
        const auto before = Names(dialog);
        Click(dialog, IDC_BTN_NEW);
        EXPECT_EQ(before, Names(dialog));
        EXPECT_EQ(CZQWatermarks::kMaxEntries, Wm().ICountEntries());
        ASSERT_EQ(1u, boxes.texts.size());
        EXPECT_NE(std::wstring::npos, boxes.texts[0].find(L"maximum number of watermarks"));
    });
}

// Typing on " [none]" makes a watermark of that name with the look of " [none]"; a name in use, in any
// letter case and however it came (typed, pasted after the message was cleared), gets a number;
// " [none]" of any language is no name; an empty message puts the previous name back; a reserved
// name left for another watermark is refused with a warning.
TEST_F(WatermarkDetails, TheMessageMakesAndRenamesWatermarks) {
    Start({L"Draft"});
    BoxAnswers boxes;
    InDialog([&](HWND dialog) {
        ASSERT_EQ(L" [none]", Selected(dialog));
        Type(dialog, IDC_TXT_WM_MSG, L"Memo");
        EXPECT_EQ(L"Memo", Selected(dialog));
        const WatermarkEntry* memo = Wm().PFindByName(L"Memo");
        ASSERT_NE(nullptr, memo);
        EXPECT_EQ(Wm().PFindByName(L" [none]")->dwSize, memo->dwSize);
        EXPECT_NE(0u, memo->dwFlags & kWatermarkEditable);
        EXPECT_TRUE(On(dialog, IDC_BTN_DEL));
        const auto names = Names(dialog);
        Type(dialog, IDC_TXT_WM_MSG, L" [keine]");
        EXPECT_EQ(names, Names(dialog)) << "German none";
        Type(dialog, IDC_TXT_WM_MSG, L"");
        EXPECT_EQ(nullptr, Wm().PFindByName(L"Memo"));
        EXPECT_FALSE(On(dialog, IDC_BTN_DEL));

        Select(dialog, L"Draft");
        Click(dialog, IDC_BTN_NEW);
        Type(dialog, IDC_TXT_WM_MSG, L"Draft");
        EXPECT_EQ(L"Draft #2", Selected(dialog));
        ASSERT_NE(nullptr, Wm().PFindByName(L"Draft #2"));
        EXPECT_STREQ(L"Draft", Wm().PFindByName(L"Draft #2")->szText);
        EXPECT_EQ(nullptr, Wm().PFindByName(L"Untitled"));

        // New, its message cleared, a stored name pasted in other letter case: a name of its own.
        Click(dialog, IDC_BTN_NEW);
        Type(dialog, IDC_TXT_WM_MSG, L"");
        Type(dialog, IDC_TXT_WM_MSG, L"DRAFT");
        EXPECT_EQ(L"DRAFT #3", Selected(dialog));
        for (const WatermarkEntry* a = Wm().MainList().pHead; a; a = a->pNext)
            for (const WatermarkEntry* b = a->pNext; b; b = b->pNext) EXPECT_NE(0, lstrcmpiW(a->szName, b->szName));

        SetDlgItemTextW(dialog, IDC_TXT_WM_MSG, L" [NONE]");
        Notice(dialog, IDC_TXT_WM_MSG, EN_KILLFOCUS);
        ASSERT_EQ(1u, boxes.texts.size());
        EXPECT_NE(std::wstring::npos, boxes.texts[0].find(L"reserved"));
    });
}

// Delete asks first; a shared watermark a restricted user sees can be shown, not edited or deleted;
// a restricted user's deletion is remembered for the pool's next save.
TEST_F(WatermarkDetails, DeleteAndReadOnlyWatermarks) {
    Start({L"Memo", L"Note"});
    AddWatermark(L"Shared", kWatermarkReadOnly);
    m_printer.SetReadOnly(true);
    InDialog([&](HWND dialog) {
        Select(dialog, L"Shared");
        EXPECT_FALSE(On(dialog, IDC_BTN_DEL));
        EXPECT_FALSE(On(dialog, IDC_TXT_WM_MSG));
        EXPECT_FALSE(On(dialog, IDC_CBO_FONT_NAME));
        Select(dialog, L"Memo");
        EXPECT_TRUE(On(dialog, IDC_TXT_WM_MSG));
        {
            BoxAnswers refuse(IDCANCEL);
            Click(dialog, IDC_BTN_DEL);
            EXPECT_EQ(1u, refuse.texts.size());
        }
        EXPECT_EQ(L"Memo", Selected(dialog));
        BoxAnswers confirm(IDOK);
        Click(dialog, IDC_BTN_DEL);
        EXPECT_EQ((std::vector<std::wstring>{L" [none]", L"Note", L"Shared"}), Names(dialog));
        EXPECT_EQ(L" [none]", Selected(dialog));
        EXPECT_EQ(nullptr, Wm().PFindByName(L"Memo"));
        EXPECT_FALSE(On(dialog, IDC_BTN_DEL));
    });
    m_printer.SetReadOnly(false);
}

// Letters put the previous number back, numbers past the limits are clamped, an edit left empty
// shows the watermark's own value again.
TEST_F(WatermarkDetails, SizeAndAngleEdits) {
    Start({L"Memo"});
    const struct {
        int edit;
        const wchar_t* typed;
        int code;
        const wchar_t* shown;
    } cases[] = {
        {IDC_TXT_FONT_SIZE, L"12a", EN_CHANGE, L"120"}, {IDC_TXT_FONT_SIZE, L"1000", EN_CHANGE, L"999"},
        {IDC_TXT_FONT_SIZE, L"", EN_KILLFOCUS, L"120"}, {IDC_TXT_FONT_SIZE, L"0", EN_KILLFOCUS, L"120"},
        {IDC_TXT_ANG, L"400", EN_CHANGE, L"360"},       {IDC_TXT_ANG, L"4x", EN_CHANGE, L"360"},
        {IDC_TXT_ANG, L"", EN_KILLFOCUS, L"15"},
    };
    InDialog([&](HWND dialog) {
        Select(dialog, L"Memo");
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.edit << " " << std::string(c.typed, c.typed + wcslen(c.typed)));
            SetDlgItemTextW(dialog, c.edit, c.typed);
            Notice(dialog, c.edit, c.code);
            EXPECT_EQ(c.shown, DlgText(dialog, c.edit));
        }
        SetDlgItemTextW(dialog, IDC_TXT_FONT_SIZE, L"1000");
        Notice(dialog, IDC_TXT_FONT_SIZE, EN_CHANGE);
        EXPECT_EQ(999u, Wm().EditRecord()->dwSize);
    });
}

// The sample page turns (the focus on the button shown); OK writes the watermark, the orientation
// and its items, and turns no feature of the page; Cancel after New takes the new watermark back and
// frees its name.
TEST_F(WatermarkDetails, OkAndCancel) {
    AddItems();
    m_host.Add(zqtest::ListFeature("ZQOrientation", {{"ZQOrientationPortrait", L"Portrait"},
                                                     {"ZQOrientationLandscape", L"Landscape"}}));
    Build();
    AddWatermark(L"Memo");
    ASSERT_NE(nullptr, Open());
    InDialog([&](HWND dialog) {
        Click(dialog, IDC_BTN_NEW);
        EXPECT_EQ(L"Untitled", Selected(dialog));
    });
    EXPECT_EQ(nullptr, Wm().PFindByName(L"Untitled"));
    EXPECT_TRUE(m_tab->WatermarkDialogForTesting().BCancelResult()) << "the settings name none";
    EXPECT_EQ(L" [none]", WorkText(Work().szWmName));

    InDialog([&](HWND dialog) {
        Click(dialog, IDC_BTN_NEW);
        EXPECT_EQ(L"Untitled", Selected(dialog)) << "the name is free again";
        Type(dialog, IDC_TXT_WM_MSG, L"Proof");
        Click(dialog, IDC_RB_ANG);
        Type(dialog, IDC_TXT_ANG, L"30");
        // The preview draws the working copy.
        ZQPreviewWatermark shown = {};
        int none = -1;
        Wm().VFillPreviewSettings(&shown, &none);
        EXPECT_STREQ(L"Proof", shown.szText);
        EXPECT_EQ(30, shown.iAngle);
        EXPECT_EQ(0, none);
        Click(dialog, IDC_BTN_PREVIEW_PORT);
        EXPECT_EQ(GetDlgItem(dialog, IDC_BTN_PREVIEW_LAND), GetFocus());
        Click(dialog, IDOK);
    });
    EXPECT_EQ(L"Proof", WorkText(Work().szWmName));
    EXPECT_EQ(L"Proof", WorkText(Work().szWmText));
    EXPECT_EQ(2u, Work().dwWmAngleMode);
    EXPECT_EQ(30u, Work().dwWmAngle);
    EXPECT_EQ(2, Work().wOrientation);
    EXPECT_EQ(1, Sel("Orientation"));
    EXPECT_EQ(1, OwnOrientation()->Sel);
    EXPECT_EQ(L"Proof", Text(IDC_CBO_WATERMARKS));
    EXPECT_EQ(1u, Work().dwWmOn);
    ASSERT_NE(nullptr, Wm().PFindByName(L"Proof"));
    EXPECT_NE(0u, Wm().PFindByName(L"Proof")->dwFlags & kWatermarkEditable) << "saved with the pool";
    EXPECT_EQ("ZQOrientationPortrait", Current("ZQOrientation"));

    // The PostScript orientation feature stays over an OK that leaves the sample page as it was.
    Work().dwPdl = kPdlPostScript;
    InDialog([&](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_EQ(2, Work().wOrientation);
    EXPECT_EQ("ZQOrientationPortrait", Current("ZQOrientation"));
}

}  // namespace
