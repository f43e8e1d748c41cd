// Every page and dialog of the plug-in on every sample printer, as the user sees them under the core
// driver stand-in: no shown control overlaps another, lies over a frame or leaves its frame, no
// text is cut, no picture or logo leaves its frame or covers a control, no list row or alert strip
// shows a row cut, no hidden group leaves its place empty (but those whose pages keep the template's
// places), and every page fills its sheet. The same
// test runs again under a right-to-left user-interface language (a second run of this executable
// with ZQTEST_RTL set and a Hebrew locale, registered beside it).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "common/zqhandles.h"
#include "common/zqlanguage.h"
#include "device/zqalertwnd.h"
#include "devicetest.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "pages/zqpages.h"
#include "preview/zqpreview.h"
#include "res/zqaboutinfoids.h"
#include "res/zqcolorids.h"
#include "res/zqdesktopshortcutsids.h"
#include "res/zqfinishingids.h"
#include "res/zqlfeaturesids.h"
#include "res/zqmarginsids.h"
#include "res/zqoutputids.h"
#include "res/zqpageids.h"
#include "res/zqshortcutsids.h"
#include "res/zqwatermarkids.h"
#include "testsupport.h"
#include "zqhostapp.h"
#include "zqinstall.h"

namespace {

const wchar_t kWidePsModel[] = L"samples\\zqroll\\zqwideps.zqm";
const wchar_t kWidePsPrinter[] = L"ZQ Wide 4600 PS Large Format";

struct Sample {
    const wchar_t* model;
    const wchar_t* printer;
};
const Sample kSamples[] = {
    {zqhosttest::kDeskModel, zqhosttest::kDeskPrinter},       {zqhosttest::kRollModel, zqhosttest::kRollPrinter},
    {zqhosttest::kWideModel, zqhosttest::kWidePrinter},       {kWidePsModel, kWidePsPrinter},
    {zqhosttest::kPublishModel, zqhosttest::kPublishPrinter}, {zqhosttest::kSimpleModel, zqhosttest::kSimplePrinter},
};

class SheetsUnderHost : public zqhosttest::SamplePrintersTest {
protected:
    static void SetUpTestSuite() {
        for (const Sample& sample : kSamples) {
            ZQInstallResult installed;
            ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(sample.model), zqtest::ExeDir(), L"", installed))
                << ZQUtf8(installed.error);
        }
        // The wide printers report their loaded rolls, one of a custom width: the sample page is
        // drawn on a roll of a known width.
        for (const wchar_t* printer : {zqhosttest::kWidePrinter, kWidePsPrinter}) {
            CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
            for (const auto& [name, value] : {std::pair{L"Roll1Name", L"Bright White Bond"}, {L"Roll1Type", L"Bond"},
                                              {L"Roll1Width", L"36"}, {L"Roll2Name", L"Coated Paper"},
                                              {L"Roll2Width", L"Custom"}, {L"Roll2CustomWidth", L"24.00"}})
                zqhosttest::PutAnswer(h.Get(), name, value);
        }
    }
    void SetUp() override {
        // The second run is meant to be right to left: without its locale it would only repeat the first.
        if (std::getenv("ZQTEST_RTL")) {
            ASSERT_TRUE(zqlang::IsRightToLeft()) << "no right-to-left user-interface language (the he_IL.UTF-8 "
                                                    "locale beside the build, LOCPATH)";
        }
    }
};

std::string Utf8(const std::wstring& text) { return ZQUtf8(text); }

HINSTANCE Plugin() { return reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll")); }

// A child's rectangle in its window's client coordinates, left < right even in a mirrored window.
RECT ChildRect(HWND hWnd, HWND child) {
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&rc), 2);
    if (rc.left > rc.right) std::swap(rc.left, rc.right);
    return rc;
}

// The logo a page paints in its hidden holder's corner, cut to the holder: whole, and off the shown
// controls.
std::vector<std::string> LogoFaults(HWND hWnd, WORD wTemplate) {
    HWND holder = GetDlgItem(hWnd, IDC_ZQLOGO_HOLDER);
    const bool about = wTemplate == IDD_DLG_KESTRAPAGE || wTemplate == IDD_DLG_KESTRAPAGE_RTL;
    CZQGdiObject logo(LoadImageW(Plugin(), MAKEINTRESOURCEW(about ? IDB_ABOUT_LOGO : IDB_ZQLOGO), IMAGE_BITMAP, 0, 0, 0));
    BITMAP size = {};
    if (!holder || IsWindowVisible(holder) || !logo || !GetObjectW(logo.Get(), sizeof size, &size)) return {};
    RECT rc = ChildRect(hWnd, holder);
    std::vector<std::string> faults;
    if (rc.right - rc.left < size.bmWidth || rc.bottom - rc.top < size.bmHeight)
        faults.push_back("the logo (" + std::to_string(size.bmWidth) + "x" + std::to_string(size.bmHeight) +
                         ") cut by its holder (" + std::to_string(rc.right - rc.left) + "x" +
                         std::to_string(rc.bottom - rc.top) + ")");
    rc.right = std::min<LONG>(rc.right, rc.left + size.bmWidth);
    rc.bottom = std::min<LONG>(rc.bottom, rc.top + size.bmHeight);
    for (HWND child = GetWindow(hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT other = ChildRect(hWnd, child);
        RECT common;
        if (child == holder || !IsWindowVisible(child) || !IntersectRect(&common, &rc, &other)) continue;
        WCHAR cls[16] = {};
        GetClassNameW(child, cls, 16);
        // A frame holding it whole.
        if (_wcsicmp(cls, L"Button") == 0 && (GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX &&
            EqualRect(&common, &rc))
            continue;
        faults.push_back("the logo " + std::to_string(rc.right - rc.left) + "x" + std::to_string(rc.bottom - rc.top) +
                         " lies over #" + std::to_string(GetDlgCtrlID(child)));
    }
    return faults;
}

std::string Describe(const RECT& rc) {
    return "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + ")-(" + std::to_string(rc.right) + "," +
           std::to_string(rc.bottom) + ")";
}

// What the sample page of a window with a page's context paints, as its preview recorded it: the
// sheet inside its control, from the paper's top down on a roll (a longer page runs on beyond it),
// clear of the scissors; whole as far as it shows and of its paper's proportions.
std::vector<std::string> PreviewFaults(HWND hWnd) {
    const auto* context = reinterpret_cast<const PageContext*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    if (!context || !context->pPreview) return {};
    RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // The page paints its sample page once more over its controls' own drawing, as it does when shown.
    RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
    const ZQPreviewPainted& painted = context->pPreview->Painted();
    if (!painted.hwnd || GetParent(painted.hwnd) != hWnd || !IsWindowVisible(painted.hwnd)) return {};
    std::vector<std::string> faults;
    const std::string name = "the sample page of #" + std::to_string(GetDlgCtrlID(painted.hwnd));
    RECT client, common;
    GetClientRect(painted.hwnd, &client);
    const RECT& sheet = painted.rcSheet;
    RECT shown = sheet;
    shown.top += painted.nBeyond;
    if (!IsRectEmpty(&shown) && (shown.left < client.left || shown.top < client.top || shown.right > client.right ||
                                 shown.bottom > client.bottom))
        faults.push_back(name + ": the sheet " + Describe(shown) + " out of its control " + Describe(client));
    // The paper hangs from the roll's middle.
    if (!IsRectEmpty(&painted.rcRoll) && shown.top < (painted.rcRoll.top + painted.rcRoll.bottom) / 2)
        faults.push_back(name + ": the sheet " + Describe(shown) + " above the paper on the roll " +
                         Describe(painted.rcRoll));
    // The cut line may cross a long page: only the scissors, left of the paper, stay off it.
    if (IntersectRect(&common, &sheet, &painted.rcScissors))
        faults.push_back(name + ": the sheet " + Describe(sheet) + " over the scissors " + Describe(painted.rcScissors));
    for (const std::string& fault :
         zqtest::SamplePageFaults(painted.hwnd, sheet, painted.szSaved, painted.szPaper, painted.nBeyond))
        faults.push_back(name + ": " + fault);
    return faults;
}

// The Finishing page's document options, the Output page's finishing group and the large-format
// Features page's paper saving leave their places empty when the printer has nothing for them: the
// groups beside keep the template's places. The Colour page keeps its colour-matching frame, empty
// on a printer with neither colour matching nor greyscale choices.
bool KeptPlace(const std::string& fault, WORD wTemplate) {
    const std::string chromix = "#" + std::to_string(IDC_GB_CHROMIX) + " (Button) ";
    if ((wTemplate == IDD_DLG_COLORPAGE || wTemplate == IDD_DLG_COLORPAGE_RTL) && fault.rfind(chromix, 0) == 0 &&
        fault.find(" frames nothing") != std::string::npos)
        return true;
    if (fault.rfind("empty space", 0) != 0) return false;
    for (int group : {IDC_GB_DOC_OPTIONS, IDC_GB_OUTPUT_STATIC, IDC_GB_PAPERSAVINGOPT_SUI})
        if (fault.find("hidden group #" + std::to_string(group) + " ") != std::string::npos) return true;
    return false;
}

// Every fault of a window of the plug-in's templates (none for one of another module), each line
// prefixed with what was looked at; a page is also checked against its sheet.
void Look(HWND hWnd, bool page, const std::string& what, std::vector<std::string>& faults) {
    const WORD id = zqtest::TemplateOf(hWnd, Plugin());
    if (!id) return;
    std::vector<std::vector<std::string>> found = {zqtest::LayoutFaults(hWnd, Plugin(), id), zqtest::TextFaults(hWnd),
                                                   zqtest::PictureFaults(hWnd, Plugin(), id), zqtest::RowFaults(hWnd),
                                                   LogoFaults(hWnd, id)};
    if (page) found.push_back(zqtest::SheetFaults(hWnd, Plugin(), id));
    // Pages and the dialogs with a sample page keep their page's context.
    for (WORD withPreview : {IDD_DLG_MARGINS, IDD_DLG_MARGINS_RTL, IDD_DLG_WATER_MARK, IDD_DLG_WATER_MARK_RTL})
        page = page || id == withPreview;
    if (page) found.push_back(PreviewFaults(hWnd));
    for (const auto& lines : found)
        for (const std::string& fault : lines)
            if (!KeptPlace(fault, id)) faults.push_back(what + " (template " + std::to_string(id) + "): " + fault);
}

TEST_F(SheetsUnderHost, EveryPageOfEverySamplePrinterIsWhole) {
    std::vector<std::string> faults;
    for (const Sample& sample : kSamples) {
        zqhosttest::ResetToDefaults(sample.printer);
        CZQSpoolPrinter h = Open(sample.printer);
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) {
            for (const std::wstring& title : zqtest::TabTitles(sheet)) {
                if (!ZQShowPage(sheet, title)) continue;
                Look(ZQCurrentPage(sheet), true, Utf8(sample.printer) + ", " + Utf8(title), faults);
            }
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), sample.printer, nullptr, out)) << Utf8(sample.printer);
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

// Pages in the states the user's choices bring, each looked at after them.
TEST_F(SheetsUnderHost, PagesAfterTheirChoicesAreWhole) {
    using Choices = std::vector<std::pair<std::wstring, std::wstring>>;
    const struct {
        const wchar_t* printer;
        const wchar_t* page;
        Choices choices;
    } states[] = {
        {zqhosttest::kDeskPrinter, L"Color", {{L"#625", L"System Color Management"}}},
        {zqhosttest::kDeskPrinter, L"Finishing", {{L"Pages per Sheet and Posters", L"4 Pages per Sheet"}}},
        {zqhosttest::kDeskPrinter, L"Effects", {{L"#186", L"Confidential"}, {L"Print Document On", L"on"}}},
        {zqhosttest::kRollPrinter, L"Color", {{L"#625", L"Printer Emulation"}}},
        {zqhosttest::kRollPrinter, L"Features", {{L"Print Document On", L"on"}}},
    };
    std::vector<std::string> faults;
    for (const auto& state : states) {
        const std::string what = Utf8(state.printer) + ", " + Utf8(state.page) + " after its choices";
        zqhosttest::ResetToDefaults(state.printer);
        CZQSpoolPrinter h = Open(state.printer);
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, state.page)) << what;
            HWND page = ZQCurrentPage(sheet);
            for (const auto& [label, entry] : state.choices)
                EXPECT_TRUE(ZQChooseOnPage(page, label, entry)) << what << ": " << Utf8(label);
            Look(page, true, what, faults);
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), state.printer, nullptr, out)) << what;
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

// Every dialog a page of a sample printer opens, as its button (or list entry) opens it after the
// choices that make the button reachable.
TEST_F(SheetsUnderHost, EveryDialogOfThePagesIsWhole) {
    const wchar_t* const kDesk = zqhosttest::kDeskPrinter;
    const wchar_t* const kWide = zqhosttest::kWidePrinter;
    using Choices = std::vector<std::pair<std::wstring, std::wstring>>;
    const struct {
        const wchar_t* printer;
        const wchar_t* page;
        Choices onPage;
        const wchar_t* opens;
        Choices inDialog = {};
    } dialogs[] = {
        {kDesk, L"Paper/Quality", {}, L"#492"},                            // custom paper size
        {kDesk, L"Paper/Quality", {}, L"#563"},                            // image enhancement
        {kDesk, L"Paper/Quality", {}, L"Type is=More..."},                 // media types
        {kDesk, L"Paper/Quality", {}, L"Size is=More..."},                 // paper sizes
        {kWide, L"Paper/Quality", {}, L"#675"},                            // layout and margins
        {kWide, L"Paper/Quality", {}, L"#675", {{L"#1020", L"on"}}},       // ... borderless: its usage text
        {kWide, L"Paper/Quality", {{L"Custom Options", L"on"}}, L"#414"},  // custom quality
        {kDesk, L"Finishing", {{L"Pages per Sheet and Posters", L"3 x 3 tiles"}}, L"Select Tiles..."},
        {kDesk, L"Effects", {}, L"#188"},                                   // watermark details
        {kDesk, L"Color", {{L"#422", L"off"}}, L"#741"},                    // advanced colour settings
        {kWidePsPrinter, L"Color", {}, L"Save"},                            // a quick set's (and a shortcut's) name
        {zqhosttest::kSimplePrinter, L"Features", {}, L"#435=More..."},     // its own media types
    };
    std::vector<std::string> faults;
    for (const auto& d : dialogs) {
        const std::string what = Utf8(d.printer) + ", " + Utf8(d.page) + ", " + Utf8(d.opens);
        zqhosttest::ResetToDefaults(d.printer);
        CZQSpoolPrinter h = Open(d.printer);
        ZQDialogSteps steps;
        steps.close = L"Cancel";
        steps.choices = d.inDialog;
        steps.inspect = [&](HWND dialog) { Look(dialog, false, what, faults); };
        ZQDialogSeen seen;
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, d.page)) << what;
            HWND page = ZQCurrentPage(sheet);
            for (const auto& [label, entry] : d.onPage) EXPECT_TRUE(ZQChooseOnPage(page, label, entry)) << what;
            EXPECT_TRUE(ZQPressForDialog(page, d.opens, steps, seen) && seen.shown && seen.chosen && seen.closed) << what;
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), d.printer, nullptr, out)) << what;
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

// The Printing Shortcuts page with each entry of its list chosen in turn, a stored shortcut of a
// long name among them, on every printer that has the page.
TEST_F(SheetsUnderHost, PrintingShortcutsWithEachTypeAndALongNameAreWhole) {
    const wchar_t kLongName[] = L"Riverside Development Phase Two Architectural Site Plans and Elevations Full Set";
    std::vector<std::string> faults;
    for (const Sample& sample : kSamples) {
        zqhosttest::ResetToDefaults(sample.printer);
        CZQSpoolPrinter h = Open(sample.printer);
        // Under the photo type of the desk printers or of the large-format ones.
        ZQAddShortcut(h.Get(), kLongName, wcsstr(sample.printer, L"Desk") ? L"Photo Printing" : L"Photo");
        std::vector<BYTE> out;
        CZQAutoPress press(50, [&](HWND sheet) {
            if (!ZQShowPage(sheet, L"Printing Shortcuts")) return;
            HWND page = ZQCurrentPage(sheet);
            // A drop-down list of types on the desk template, a list of types and shortcuts on the other.
            HWND list = GetDlgItem(page, IDC_CBO_DOCTYPE_SETTING);
            const bool combo = list != nullptr;
            if (!combo) list = GetDlgItem(page, IDC_LB_DOCTYPE_SETTING);
            ASSERT_NE(nullptr, list) << Utf8(sample.printer);
            const std::wstring label = L"#" + std::to_wstring(GetDlgCtrlID(list));
            const LRESULT count = SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                WCHAR entry[256] = {};
                SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
                const std::string what = Utf8(sample.printer) + ", Printing Shortcuts, " + Utf8(entry);
                if (!entry[0]) continue;  // a gap between the groups of the list
                if (ZQChooseOnPage(page, label, entry)) Look(page, true, what, faults);
                else ADD_FAILURE() << what << ": not chosen";
            }
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), sample.printer, nullptr, out)) << Utf8(sample.printer);
    }
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

// The desk printer on a printer port with its device servers registered and four alerts: its pages
// with the alert strip show it in either reading order, whole before and after a scroll.
class AlertSheetsUnderHost : public zqdevtest::ServerTest {};

TEST_F(AlertSheetsUnderHost, EveryPageShowsItsAlertsWhole) {
    const wchar_t* printer = L"ZQ Desk 2400 Alerts";
    const wchar_t* care = L"Software\\Quorvane\\ZQ Mendrix";
    ZQInstallResult installed;
    ASSERT_TRUE(ZQInstallPrinter(zqtest::BesideExe(zqhosttest::kDeskModel), zqtest::ExeDir(), printer, installed, L"LPT1:"))
        << ZQUtf8(installed.error);
    // The status utility runs and the paper list is up to date: the device's own four alerts.
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, care, L"Status", REG_SZ, L"ACTIVE", 14);
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    DWORD updated = 1;
    SetPrinterDataExW(h.Get(), L"PaperList", L"IsUpdated", REG_DWORD, reinterpret_cast<BYTE*>(&updated), sizeof updated);
    const std::vector<std::wstring> withStrip = {L"Paper/Quality", L"Effects", L"Finishing", L"Color"};
    std::vector<std::string> faults;
    std::vector<BYTE> out;
    CZQAutoPress press(50, [&](HWND sheet) {
        for (const std::wstring& title : zqtest::TabTitles(sheet)) {
            if (!ZQShowPage(sheet, title)) continue;
            HWND page = ZQCurrentPage(sheet);
            const std::string what = Utf8(printer) + ", " + Utf8(title);
            HWND strip = FindWindowExW(page, nullptr, CZQAlertWnd::kClassName, nullptr);
            const bool shown = strip && IsWindowVisible(strip);
            if (shown != (std::find(withStrip.begin(), withStrip.end(), title) != withStrip.end()))
                faults.push_back(what + (shown ? ": an alert strip" : ": no alert strip"));
            Look(page, true, what, faults);
        }
    });
    EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, care);
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

}  // namespace
