#include "pagefixture.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <thread>

#include "common/zqhandles.h"
#include "common/zqmsgbox.h"
#include "common/zqstrings.h"
#include "device/zqalertwnd.h"
#include "featurelogic/zqquicksets.h"
#include "macrotest.h"
#include "testsupport.h"

namespace {

// The printer's lists (read by the page, never freed: not the record's own).
WORD g_sourceIds[] = {15, 257, 258, 259};
WCHAR g_sourceNames[4][24] = {L"Automatically Select", L"Tray 1", L"Tray 2", L"Sheet"};
DWORD g_mediaIds[] = {1, 257, 2, 258, 259};
WORD g_paperIds[] = {1, 9, 5, 20};
POINT g_paperSizes[] = {{2159, 2794}, {2100, 2970}, {2159, 3556}, {1048, 2413}};

// The sheet keeps what its pages report.
LRESULT CALLBACK RecordSheet(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR dwRef) {
    if ((uMsg == PSM_CHANGED || uMsg == PSM_UNCHANGED) && GetParent(reinterpret_cast<HWND>(wParam)) == hWnd)
        reinterpret_cast<std::vector<UINT>*>(dwRef)->push_back(uMsg);
    return DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

// The modal dialog over the test sheet, and what the test does inside it.
HWND g_modalOwner = nullptr;
std::function<void(HWND)> g_inside;

BOOL CALLBACK FindModal(HWND hWnd, LPARAM lParam) {
    WCHAR cls[16] = {};
    GetClassNameW(hWnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0 || GetWindow(hWnd, GW_OWNER) != g_modalOwner) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// The first tick that finds the dialog hands it to the test; a later one cancels it when the test
// left it open.
void CALLBACK InsideModal(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindModal, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    if (!g_inside) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    const std::function<void(HWND)> inside = std::move(g_inside);
    g_inside = nullptr;
    inside(dialog);
}

// Keywords and sections are plain ASCII.
std::string Narrow(PCWSTR pszText) {
    std::string out;
    for (; pszText && *pszText; ++pszText) out.push_back(static_cast<char>(*pszText));
    return out;
}

// The test's sheet takes the results its pages report and answers as scripted.
PageTestGates* g_resultGates = nullptr;
LONG_PTR* g_resultAnswer = nullptr;
LONG_PTR CALLBACK RecordSheetResult(HANDLE, UINT uFunction, LPARAM lParam1, LPARAM lParam2) {
    if (g_resultGates && uFunction == CPSFUNC_SET_RESULT)
        g_resultGates->calls.push_back("result " + std::to_string(lParam1) + " " + std::to_string(lParam2));
    return g_resultAnswer ? *g_resultAnswer : 0;
}

}  // namespace

BOOL PageTestGates::BExportSettings(PCWSTR pszSection) {
    calls.push_back("export " + Narrow(pszSection));
    return TRUE;
}

BOOL PageTestGates::BCheckConstraint(PCWSTR pszFeature, HWND, DWORD* pdwCancelled) {
    CZQLocalPtr<WCHAR> option;
    const bool quality = lstrcmpW(pszFeature, L"PrintQuality") == 0;
    const std::string& rejectedOption = quality ? rejectedQuality : rejectedMedia;
    const bool rejected = param && (quality || lstrcmpW(pszFeature, L"MediaType") == 0) &&
                          CZQCommon::DWGetFeatureOption(param, pszFeature, option.Put()) == ZQOPT_OK &&
                          Narrow(option.Get()) == rejectedOption;
    calls.push_back(std::string("check ") + (rejected ? "rejected" : "accepted"));
    if (pdwCancelled) *pdwCancelled = rejected ? 1 : 0;
    return TRUE;
}

BOOL PageTestGates::BRefreshDeviceStatus(BOOL bPageInit) {
    calls.push_back(bPageInit ? "refresh start" : "refresh");
    return TRUE;
}

BOOL PageTestGates::BAttachConstraintDialog(PCWSTR pszFeature, HWND hDlg, int iAnchorId) {
    dialogControllers.push_back("attach " + std::string(pszFeature, pszFeature + wcslen(pszFeature)) + " " + std::to_string(iAnchorId));
    return gate.BAttachConstraintDialog(pszFeature, hDlg, iAnchorId);
}

BOOL PageTestGates::BDetachConstraintControls(PCWSTR pszFeature, HWND hDlg) {
    dialogControllers.push_back("detach " + std::string(pszFeature, pszFeature + wcslen(pszFeature)));
    return gate.BDetachConstraintControls(pszFeature, hDlg);
}

CZQTabBase* PageTestSlots::PPage(int iPageId) const {
    for (const auto& [id, context] : m_pages)
        if (id == iPageId) return context->pPage;
    for (const auto& [id, page] : m_objects)
        if (id == iPageId) return page;
    return nullptr;
}

PageContext* PageTestSlots::PContext(int iPageId) {
    for (const auto& [id, context] : m_pages)
        if (id == iPageId) return context;
    return nullptr;
}

BoxAnswers::BoxAnswers(int iAnswer) : answer(iAnswer) {
    zqmsgbox::SetAnswerer(
        [](void* self, HWND, PCWSTR text, PCWSTR caption, UINT) {
            auto* me = static_cast<BoxAnswers*>(self);
            me->texts.push_back(text ? text : L"");
            me->captions.push_back(caption ? caption : L"");
            return me->answer;
        },
        this);
}

BoxAnswers::~BoxAnswers() { zqmsgbox::SetAnswerer(nullptr, nullptr); }

std::vector<zqtest::FixtureFeature> PageFixture::OrientationItems() {
    zqtest::FixtureFeature own = zqtest::ListFeature(
        "ZQOrientationCopy", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE", L"Landscape"}}, 0, kOemPubOrientation);
    own.oem = true;
    return {own, zqtest::ListFeature("Orientation", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE_CC90", L"Landscape"}}, 0,
                                     DMPUB_ORIENTATION)};
}

HINSTANCE PageFixture::Resources() {
    static const CZQModule module(LoadLibraryExW(zqtest::BesideExe(L"zqoemui.dll").c_str(), nullptr,
                                                 LOAD_LIBRARY_AS_DATAFILE));
    return static_cast<HINSTANCE>(module.Get());
}

void PageFixture::SetUp() {
    ComTest::SetUp();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    m_printer.Install();
    m_hPrinter = m_printer.Open();
    m_rules = std::make_unique<CZQXmlUiRules>();
    m_preview = std::make_unique<CZQRollPreview>(Resources());
    m_gates = std::make_unique<PageTestGates>();
    ASSERT_TRUE(CZQCommon().BFillDefaultDevmode(&m_core, nullptr));
    m_public.dmSize = sizeof m_public;
    m_public.dmPaperSize = DMPAPER_A4;
    m_parent = CreateWindowExW(0, L"STATIC", L"Sheet", WS_OVERLAPPEDWINDOW, 0, 0, 600, 500, nullptr, nullptr, nullptr,
                               nullptr);
    SetWindowSubclass(m_parent, &RecordSheet, 1, reinterpret_cast<DWORD_PTR>(&m_sheetMessages));
    m_record.pfnComPropSheet = &RecordSheetResult;
    for (int i = 0; i < kMaxSheetPages; ++i) m_record.ahPages[i] = reinterpret_cast<HANDLE>(LONG_PTR{100 + i});
    g_resultGates = m_gates.get();
    g_resultAnswer = &m_sheetAnswer;
}

void PageFixture::TearDown() {
    if (m_page) DestroyWindow(m_page);
    RemoveWindowSubclass(m_parent, &RecordSheet, 1);
    DestroyWindow(m_parent);
    // The page object lets go of the gates' alert list first.
    m_pageObject.reset();
    g_resultGates = nullptr;
    g_resultAnswer = nullptr;
    m_gates.reset();
    m_preview.reset();
    m_rules.reset();
    zqspool::Spooler().ClosePrinter(m_hPrinter);
    ComTest::TearDown();
}

void PageFixture::BuildPage(std::unique_ptr<CZQTabBase> page) {
    m_host.Build();
    OEMCUIPPARAM* param = m_host.Param();
    param->hPrinter = m_hPrinter;
    param->hModule = Resources();
    param->pOEMDM = &m_core;
    param->pPublicDM = &m_public;
    ZQCopyText(m_caps.szPrinterName, 256, L"ZQ Memory Printer");
    ZQCopyText(m_caps.szFirstBinName, 24, g_sourceNames[0]);
    m_caps.dwSourceCount = 4;
    m_caps.pSourceIds = g_sourceIds;
    m_caps.pSourceNames = g_sourceNames[0];
    m_caps.dwMediaCount = 5;
    m_caps.pMediaIds = g_mediaIds;
    m_caps.dwPaperCount = 4;
    m_caps.pPaperIds = g_paperIds;
    m_caps.pPaperSizes = g_paperSizes;
    m_logic.VSetParam(param, OEMCUIP_DOCPROP);
    ASSERT_TRUE(m_logic.BTakeWorkingCopy(&m_core));
    m_pageObject = std::move(page);
    m_pageObject->VBind(nullptr, param, nullptr);
    m_pageObject->VLoadResourceModule(m_hPrinter);
    m_gates->param = param;
    PageTestGates& gates = *m_gates;
    m_context = {m_pageObject.get(), &m_logic,       m_preview.get(), nullptr,  &m_caps,   m_rules.get(),
                 &gates,             &gates,         &gates,          &gates.binding.quickSets, &gates.papers,
                 &m_record,          &m_slots,       &m_imageEnhance};
}

void PageFixture::JoinSheet(int iPageId, bool bPaperQualityShown) {
    m_paperTab.VBind(nullptr, m_host.Param(), nullptr);
    m_paperContext = m_context;
    m_paperContext.pPage = &m_paperTab;
    if (bPaperQualityShown) m_slots.VAdd(kPagePaperQuality, &m_paperContext);
    else m_slots.VAddObject(kPagePaperQuality, &m_paperTab);
    m_slots.VAdd(iPageId, &m_context);
    m_logic.VSaveSelections();
}

void PageFixture::ExpectApplyOnlyOnTheLastPageVisited(int iPageId) {
    ZQSheetState& sheet = *m_logic.SheetState();
    CZQQuickSets& quickSets = *m_context.pQuickSets;
    const std::vector<std::string> last = {"sync", "result 104 1", "export Printing/"};
    const struct {
        int position, visitedFirst;
        LONG_PTR answer;
        LRESULT result;
        std::vector<std::string> calls;
    } cases[] = {
        {2, 4, 1, PSNRET_NOERROR, {"result 102 1"}},
        {4, 2, 1, PSNRET_NOERROR, last},
        {4, -1, 0, PSNRET_INVALID_NOCHANGEPAGE, last},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << " after " << c.visitedFirst);
        sheet.aiPagePosition[iPageId] = c.position;
        sheet.iHighestPage = c.visitedFirst;
        EXPECT_EQ(0, Notify(PSN_SETACTIVE));
        EXPECT_EQ(std::max(c.position, c.visitedFirst), sheet.iHighestPage);
        m_gates->calls.clear();
        m_sheetAnswer = c.answer;
        quickSets.BSetChanged(m_page);
        EXPECT_EQ(c.result, Notify(PSN_APPLY));
        EXPECT_EQ(c.calls, m_gates->calls);
        EXPECT_FALSE(quickSets.BChanged()) << "apply ends the quick set's change";
    }
    m_sheetMessages.clear();
    EXPECT_EQ(0, Notify(PSN_RESET));
    EXPECT_EQ(std::vector<UINT>{PSM_UNCHANGED}, m_sheetMessages);
}

void PageFixture::ExpectNoStartWithoutItsPieces(DLGPROC pfnDlgProc) {
    PROPSHEETPAGEW psp = {};
    PageContext noPage = m_context;
    noPage.pPage = nullptr;
    for (LPARAM lParam : {LPARAM{0}, reinterpret_cast<LPARAM>(&psp)}) {
        psp.lParam = reinterpret_cast<LPARAM>(&noPage);
        SetLastError(0);
        EXPECT_FALSE(pfnDlgProc(m_parent, WM_INITDIALOG, 0, lParam));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError());
    }
    psp.lParam = reinterpret_cast<LPARAM>(&m_context);
    m_host.Param()->hOEMHeap = nullptr;
    EXPECT_FALSE(pfnDlgProc(m_parent, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(&psp)));
    EXPECT_EQ(0, GetWindowLongPtrW(m_parent, DWLP_USER));
    m_host.Param()->hOEMHeap = GetProcessHeap();
}

void PageFixture::ExpectNothingChangesWithoutTheDevmode(WPARAM command, UINT code) {
    const ZQUIDevmode before = *m_logic.WorkDM();
    m_sheetMessages.clear();
    m_host.Param()->pOEMDM = nullptr;
    NMHDR notice = {m_parent, 0, code};
    for (UINT message : {UINT(WM_COMMAND), UINT(WM_NOTIFY), UINT(WM_PAINT), UINT(WM_HELP)}) {
        SetLastError(0);
        EXPECT_FALSE(m_pfnDlgProc(m_page, message, command, message == WM_NOTIFY ? reinterpret_cast<LPARAM>(&notice) : 0));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), GetLastError()) << message;
    }
    m_host.Param()->pOEMDM = &m_core;
    EXPECT_EQ(0, memcmp(&before, m_logic.WorkDM(), sizeof before));
    EXPECT_TRUE(m_sheetMessages.empty());
}

void PageFixture::LoadRules(const std::string& features, const std::string& macros) {
    zqxmltest::TempFile file(zqmacrotest::Rules(features, macros));
    ASSERT_TRUE(m_rules->Parser().BLoad(file.Path()));
    m_rules->Parser().VSetLoaded(TRUE);
}

void PageFixture::LoadGroups(const std::string& groups) {
    zqxmltest::TempFile file(zqxmltest::HelperFile("<helper><features>" + zqmacrotest::Feature("Unused", {}) +
                                                   "</features><macros/><groups>" + groups + "</groups></helper>"));
    ASSERT_TRUE(m_rules->Parser().BLoad(file.Path()));
    m_rules->Parser().VSetLoaded(TRUE);
}

HWND PageFixture::OpenPage(WORD wTemplate, DLGPROC pfnDlgProc) {
    PROPSHEETPAGEW psp = {};
    psp.lParam = reinterpret_cast<LPARAM>(&m_context);
    m_pfnDlgProc = pfnDlgProc;
    m_page = CreateDialogParamW(Resources(), MAKEINTRESOURCEW(wTemplate), m_parent, pfnDlgProc,
                                reinterpret_cast<LPARAM>(&psp));
    return m_page;
}

LRESULT PageFixture::Notify(UINT code) {
    NMHDR header = {m_parent, 0, code};
    SetWindowLongPtrW(m_page, DWLP_MSGRESULT, -1);
    const INT_PTR returned = m_pfnDlgProc(m_page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    const LRESULT answer = GetWindowLongPtrW(m_page, DWLP_MSGRESULT);
    EXPECT_TRUE(returned == TRUE || returned == answer) << "the sheet reads the answer the page leaves";
    return answer;
}

INT_PTR PageFixture::Modal(const std::function<INT_PTR()>& open, std::function<void(HWND)> inside) {
    // A dialog owned by the page belongs to the page's top-level window.
    g_modalOwner = GetAncestor(m_page ? m_page : m_parent, GA_ROOT);
    g_inside = std::move(inside);
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &InsideModal);
    const INT_PTR result = open();
    KillTimer(nullptr, timer);
    g_inside = nullptr;
    return result;
}

std::wstring PageFixture::DlgText(HWND hDlg, int id) {
    WCHAR text[256] = {};
    GetDlgItemTextW(hDlg, id, text, 256);
    return text;
}

void PageFixture::Notice(HWND hDlg, int id, int code) {
    SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, id)));
}

void PageFixture::Click(HWND hDlg, int id) {
    HWND control = GetDlgItem(hDlg, id);
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX)
        CheckDlgButton(hDlg, id, IsDlgButtonChecked(hDlg, id) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    if (type == BS_AUTORADIOBUTTON) {
        // The other radio buttons of its group go out.
        for (HWND other = GetNextDlgGroupItem(hDlg, control, FALSE); other && other != control;
             other = GetNextDlgGroupItem(hDlg, other, FALSE))
            SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
        CheckDlgButton(hDlg, id, BST_CHECKED);
    }
    Notice(hDlg, id, BN_CLICKED);
}

std::vector<std::string> PageFixture::LoggedMacros() const {
    std::vector<std::pair<std::string, LONG>> settled;
    for (const auto& u : m_host.Updates())
        if (!settled.empty() && settled.back().first == u.keyword) settled.back().second = u.sel;
        else settled.emplace_back(u.keyword, u.sel);
    std::vector<std::string> out;
    for (const auto& [keyword, sel] : settled)
        if (keyword.rfind("ZQLog_", 0) == 0 && sel == 1) out.push_back(keyword.substr(6));
    return out;
}

RECT PageFixture::Rect(int id) const {
    RECT rc = {};
    CZQUIBase::VGetChildRect(m_page, Ctl(id), &rc, nullptr, nullptr);
    return rc;
}

std::wstring PageFixture::Text(int id) const {
    WCHAR text[512] = {};
    GetWindowTextW(Ctl(id), text, 512);
    return text;
}

void PageFixture::ExpectOnlyTheStripRunsItsLinks() {
    HWND list = FindWindowExW(m_page, nullptr, CZQAlertWnd::kClassName, nullptr);
    auto* strip = reinterpret_cast<CZQAlertWnd*>(GetWindowLongPtrW(list, GWLP_USERDATA));
    ASSERT_NE(nullptr, strip) << "the page shows its alert strip";
    static const wchar_t command[] = L"zq-no-such-program.exe /open";
    strip->VClearItems();
    ASSERT_TRUE(strip->BAddItem(L"Link", ZQ_ALERT_WARNING_LINK, command));
    SendMessageW(list, WM_PAINT, 0, 0);  // painting records where the link is
    BoxAnswers boxes;
    const LPARAM address = reinterpret_cast<LPARAM>(command);
    const struct {
        const char* what;
        UINT message;
        bool posted, otherThread;
    } foreign[] = {{"posted", kZQAlertLinkMessage, true, false},
                   {"sent from another thread", kZQAlertLinkMessage, false, true},
                   {"sent by a stranger on the page's thread", kZQAlertLinkMessage, false, false},
                   {"the private number, posted", WM_USER + 0x7000, true, false},
                   {"the private number from another thread", WM_USER + 0x7000, false, true}};
    for (const auto& f : foreign) {
        if (f.otherThread) {
            std::atomic<bool> sent{false};
            std::thread other([&] {
                SendMessageW(m_page, f.message, 0, address);
                sent = true;
            });
            // The other thread's message arrives while this thread waits for it.
            while (!sent) {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
                Sleep(1);
            }
            other.join();
        } else if (f.posted) {
            PostMessageW(m_page, f.message, 0, address);
        } else {
            SendMessageW(m_page, f.message, 0, address);
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        EXPECT_TRUE(boxes.texts.empty()) << f.what;
        boxes.texts.clear();
    }
    const RECT& rc = strip->Item(0).rcLink;
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(std::vector<std::wstring>{command}, boxes.texts) << "a click runs the line (it does not start)";
}
