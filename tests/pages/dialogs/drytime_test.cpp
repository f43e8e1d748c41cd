// The slider dialog of the dry-time, ink-volume and over-spray push items, opened as the core
// driver's list opens it: range, position and end labels from the feature's options (the PostScript
// driver's last option left out while there are two or more), OK telling the core driver's sheet
// whether the stored index changed and selecting the option, Cancel and closing changing nothing,
// and a feature without options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pagetest.h"
#include "pages/dialogs/zqdrytimedlg.h"
#include "res/zqdrytimeids.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

using zqtest::ListFeature;
using Dlg = CZQDryTimeDlg;

const std::vector<std::pair<std::string, std::wstring>> kFive = {
    {"Auto", L"Automatic"}, {"1min", L"1 minute"}, {"3min", L"3 minutes"}, {"5min", L"5 minutes"}, {"10min", L"10 minutes"}};

class DryTimeDialog : public PaperQualityPage {
protected:
    void SetUp() override {
        PaperQualityPage::SetUp();
        m_host.Add(ListFeature("ZQDryTime", kFive, 2));
        m_host.Add(ListFeature("JCLZQDryTime", kFive, 4));
        m_host.Add(ListFeature("JCLZQInkVolume", {{"Normal", L"Normal"}}));
        m_host.Add(ListFeature("ZQOverSpray", {}));
        Build();
        m_host.Item("ZQDryTime")->pName = const_cast<PWSTR>(L"Dry Time");
        m_host.Item("JCLZQInkVolume")->pName = const_cast<PWSTR>(L"Ink Volume");
        m_corePage = CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, m_parent, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(m_corePage);
        PaperQualityPage::TearDown();
    }
    // The dialog of `feature` from its push item over the core driver's page; `inside` works in it
    // and presses `press` (IDOK, IDCANCEL or WM_CLOSE).
    INT_PTR Run(PCWSTR feature, const std::function<void(HWND)>& inside, UINT press) {
        CPSUICBPARAM cb = {};
        cb.cbSize = sizeof cb;
        cb.hDlg = m_corePage;
        ZQOemDialogParam param = {sizeof param, kOemDialogDryTime, &m_logic, feature, &cb, L"zqhelp.hlp"};
        m_sheetMessages.clear();
        return Modal([&] { return Dlg::IRunFromPushItem(&param); },
                     [&](HWND d) {
                         inside(d);
                         if (press == WM_CLOSE) SendMessageW(d, WM_CLOSE, 0, 0);
                         else Notice(d, static_cast<int>(press), BN_CLICKED);
                     });
    }
    static void Slide(HWND d, int position) {
        HWND slider = GetDlgItem(d, IDC_SLIDER_TREEVIEWSLIDER);
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
    }
    HWND m_corePage = nullptr;
};

TEST_F(DryTimeDialog, RangePositionAndLabelsByDriver) {
    struct Case {
        PCWSTR feature;
        DWORD pdl;
        int max, pos;
        std::wstring caption, less, more;
    };
    for (const Case& c : {Case{L"ZQDryTime", kPdlPcl6, 5, 3, L"Dry Time", L"Automatic", L"10 minutes"},
                          Case{L"ZQDryTime", kPdlPostScript, 4, 3, L"Dry Time", L"Automatic", L"5 minutes"},
                          // The current option is the one left out: the slider's end.
                          Case{L"JCLZQDryTime", kPdlPostScript, 4, 4, L"", L"Automatic", L"5 minutes"},
                          // One option stays offered under PostScript too.
                          Case{L"JCLZQInkVolume", kPdlPostScript, 1, 1, L"Ink Volume", L"Normal", L"Normal"}}) {
        m_logic.m_dwPdl = c.pdl;
        Run(c.feature, [&](HWND d) {
            HWND slider = GetDlgItem(d, IDC_SLIDER_TREEVIEWSLIDER);
            WCHAR cls[32] = {}, caption[64] = {};
            GetClassNameW(slider, cls, 32);
            GetWindowTextW(d, caption, 64);
            EXPECT_STREQ(TRACKBAR_CLASSW, cls) << c.feature;
            EXPECT_EQ(1, SendMessageW(slider, TBM_GETRANGEMIN, 0, 0)) << c.feature;
            EXPECT_EQ(c.max, SendMessageW(slider, TBM_GETRANGEMAX, 0, 0)) << c.feature << c.pdl;
            EXPECT_EQ(c.pos, SendMessageW(slider, TBM_GETPOS, 0, 0)) << c.feature << c.pdl;
            EXPECT_EQ(c.caption, caption) << c.feature;
            EXPECT_EQ(c.caption, DlgText(d, IDC_GB_TREEVIEWSLIDER)) << c.feature;
            EXPECT_EQ(c.less, DlgText(d, IDC_STA_LESS)) << c.feature;
            EXPECT_EQ(c.more, DlgText(d, IDC_STA_MORE)) << c.feature << c.pdl;
            EXPECT_EQ(L"OK", DlgText(d, IDOK));
        }, IDCANCEL);
    }
}

TEST_F(DryTimeDialog, OkTellsTheSheetAndStoresCancelAndCloseDoNot) {
    m_logic.m_dwPdl = kPdlPcl6;
    m_logic.m_adwDryTime[0] = 2;
    struct Case {
        PCWSTR feature;
        int slide;  // 0: left where it opened
        UINT press;
        std::vector<UINT> told;
        DWORD dryTime, inkVolume;
        int selected;  // of "ZQDryTime"
        DWORD pdl = kPdlPcl6;
    };
    for (const Case& c : {Case{L"ZQDryTime", 0, IDOK, {PSM_UNCHANGED}, 2, 0, 2},
                          Case{L"ZQDryTime", 5, IDOK, {PSM_CHANGED}, 4, 0, 4},
                          Case{L"ZQDryTime", 1, IDCANCEL, {}, 4, 0, 4},
                          Case{L"ZQDryTime", 2, WM_CLOSE, {}, 4, 0, 4},
                          // Back to the stored position after a move.
                          Case{L"ZQDryTime", 5, IDOK, {PSM_UNCHANGED}, 4, 0, 4},
                          // The JCL twin of the ink volume stores into the ink volume's index.
                          Case{L"JCLZQInkVolume", 0, IDOK, {PSM_UNCHANGED}, 4, 0, 4},
                          // Nothing to choose without options: nothing told, stored or selected.
                          Case{L"ZQOverSpray", 0, IDOK, {}, 4, 0, 4},
                          // On the option the PostScript slider leaves out, an untouched OK keeps it.
                          Case{L"JCLZQDryTime", 0, IDOK, {PSM_UNCHANGED}, 4, 0, 4, kPdlPostScript}}) {
        m_logic.m_dwPdl = c.pdl;
        const INT_PTR result = Run(c.feature, [&](HWND d) {
            if (c.slide) {
                Slide(d, 1);
                Slide(d, c.slide);
            }
        }, c.press);
        EXPECT_EQ(c.press == IDOK ? IDOK : IDCANCEL, result) << c.feature << c.slide;
        EXPECT_EQ(c.told, m_sheetMessages) << c.feature << c.slide;
        EXPECT_EQ(c.dryTime, m_logic.m_adwDryTime[0]) << c.feature << c.slide;
        EXPECT_EQ(c.inkVolume, m_logic.m_adwDryTime[1]) << c.feature;
        EXPECT_EQ(c.selected, Sel("ZQDryTime")) << c.feature << c.slide;
    }
    EXPECT_EQ(0u, m_logic.m_adwDryTime[2]);
    EXPECT_EQ(4, Sel("JCLZQDryTime"));
}

TEST_F(DryTimeDialog, NothingWithoutItsRecord) {
    EXPECT_EQ(-1, Dlg::IRunFromPushItem(nullptr));
    ZQOemDialogParam tiles = {sizeof tiles, kOemDialogTiles, &m_logic, L"ZQDryTime", nullptr, nullptr};
    EXPECT_EQ(-1, Dlg::IRunFromPushItem(&tiles));
    // Without the callback record the dialog does not start.
    ZQOemDialogParam noCallback = {sizeof noCallback, kOemDialogDryTime, &m_logic, L"ZQDryTime", nullptr, nullptr};
    EXPECT_EQ(IDCANCEL, Dlg::IRunFromPushItem(&noCallback));
    HWND stray = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SetLastError(0);
    EXPECT_FALSE(Dlg::DlgProc(stray, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0));
    EXPECT_EQ(13u, GetLastError());
    DestroyWindow(stray);
    EXPECT_EQ(2, Sel("ZQDryTime"));
}

}  // namespace
