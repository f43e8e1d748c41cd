#include "pagetest.h"

#include <commctrl.h>

#include <cwchar>

#include "common/zqhandles.h"
#include "common/zqmsgbox.h"
#include "common/zqstrings.h"
#include "macrotest.h"
#include "testsupport.h"

namespace {

using zqtest::ListFeature;

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

HINSTANCE PaperQualityPage::Resources() {
    static const CZQModule module(LoadLibraryExW(zqtest::BesideExe(L"zqoemui.dll").c_str(), nullptr,
                                                 LOAD_LIBRARY_AS_DATAFILE));
    return static_cast<HINSTANCE>(module.Get());
}

void PaperQualityPage::SetUp() {
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
}

void PaperQualityPage::TearDown() {
    if (m_page) DestroyWindow(m_page);
    RemoveWindowSubclass(m_parent, &RecordSheet, 1);
    DestroyWindow(m_parent);
    m_tab.reset();
    m_gates.reset();
    m_preview.reset();
    m_rules.reset();
    zqspool::Spooler().ClosePrinter(m_hPrinter);
    CZQPaperQualityTab::s_bSourceSelectOnce = FALSE;
    ComTest::TearDown();
}

BOOL PageTestGates::BAttachConstraintDialog(PCWSTR pszFeature, HWND hDlg, int iAnchorId) {
    dialogControllers.push_back("attach " + std::string(pszFeature, pszFeature + wcslen(pszFeature)) + " " + std::to_string(iAnchorId));
    return gate.BAttachConstraintDialog(pszFeature, hDlg, iAnchorId);
}

BOOL PageTestGates::BDetachConstraintControls(PCWSTR pszFeature, HWND hDlg) {
    dialogControllers.push_back("detach " + std::string(pszFeature, pszFeature + wcslen(pszFeature)));
    return gate.BDetachConstraintControls(pszFeature, hDlg);
}

void PaperQualityPage::AddItems(bool largeFormat) {
    m_host.Add(ListFeature("PaperSize", m_papers, 1, DMPUB_FORMNAME));
    zqtest::FixtureFeature bins = ListFeature(
        "InputBin", {{"AUTOSELECT", L""}, {"TRAY1", L"Tray 1"}, {"TRAY2", L"Tray 2"}, {"Sheet", L"Sheet"}}, 1,
        DMPUB_DEFSOURCE);
    bins.options[0].nameResId = 64718;
    m_host.Add(bins);
    m_host.Add(ListFeature("MediaType", m_media, 0, DMPUB_MEDIATYPE));
    m_host.Add(ListFeature("PrintQualityGroup", m_qualityGroups, 1));
    m_host.Add(ListFeature("StandardPrintQuality", {{"Fast", L"Fast"}, {"Normal", L"Normal"}, {"Best", L"Best"}}, 1));
    m_host.Add(ListFeature("PrintQuality", {{"600x600", L"600"}, {"1200x1200", L"1200"}, {"4800x1200", L"4800"}}));
    m_host.Add(ListFeature("PrintFinish", {{"Glossy", L"Glossy"}, {"Matte", L"Matte"}}));
    m_host.Add(ListFeature("ZQPrintInGrayScale", {{"FALSE", L"Off"}, {"BlackOnly", L"Black"}}));
    m_host.Add(ListFeature("ZQInputColorSpace", {{"sRGB", L"sRGB"}, {"ADOBERGB", L"Adobe RGB"}, {"ICM", L"ICM"}}));
    for (const char* onOff : {"Thriftmode", "ZQBorderLessPhoto", "ZQContrast", "ZQDigitalFlash", "ZQSharpness",
                              "ZQVorevEzuro", "ZQSmoothing", "ZQRedEyeReduction"})
        m_host.Add(ListFeature(onOff, {{"OFF", L"Off"}, {"ON", L"On"}}));
    m_host.Add(zqtest::ValueFeature("ZQPrinterClass", largeFormat ? "ZQKorrix" : "ZQInkDesk"));
    m_host.Add(zqtest::ValueFeature("ZQVersionString", "1.2.3"));
    if (!largeFormat) return;
    zqtest::FixtureFeature orientation =
        ListFeature("ZQOrientationCopy", {{"PORTRAIT", L"Portrait"}, {"LANDSCAPE", L"Landscape"}}, 1, kOemPubOrientation);
    orientation.oem = true;
    m_host.Add(orientation);
}

void PaperQualityPage::Build() {
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
    m_caps.dwMediaCount = m_media.size() < 5 ? static_cast<DWORD>(m_media.size()) : 5;
    m_caps.pMediaIds = g_mediaIds;
    m_caps.dwPaperCount = 4;
    m_caps.pPaperIds = g_paperIds;
    m_caps.pPaperSizes = g_paperSizes;
    m_logic.VSetParam(param, OEMCUIP_DOCPROP);
    ASSERT_TRUE(m_logic.BTakeWorkingCopy(&m_core));
    m_tab = std::make_unique<CZQPaperQualityTab>();
    m_tab->VBind(nullptr, param, nullptr);
    m_tab->VLoadResourceModule(m_hPrinter);
    m_gates->param = param;
    PageTestGates& gates = *m_gates;
    m_context = {m_tab.get(), &m_logic,       m_preview.get(),       nullptr, &m_caps, m_rules.get(), &gates,
                 &gates,      &gates,         &gates.binding.quickSets, &gates.papers, nullptr};
}

void PaperQualityPage::LoadRules(const std::string& features, const std::string& macros) {
    zqxmltest::TempFile file(zqmacrotest::Rules(features, macros));
    ASSERT_TRUE(m_rules->Parser().BLoad(file.Path()));
    m_rules->Parser().VSetLoaded(TRUE);
}

void PaperQualityPage::LoadGroups(const std::string& groups) {
    zqxmltest::TempFile file(zqxmltest::HelperFile("<helper><features>" + zqmacrotest::Feature("Unused", {}) +
                                                   "</features><macros/><groups>" + groups + "</groups></helper>"));
    ASSERT_TRUE(m_rules->Parser().BLoad(file.Path()));
    m_rules->Parser().VSetLoaded(TRUE);
}

HWND PaperQualityPage::Open(WORD wTemplate) {
    PROPSHEETPAGEW psp = {};
    psp.lParam = reinterpret_cast<LPARAM>(&m_context);
    m_page = CreateDialogParamW(Resources(), MAKEINTRESOURCEW(wTemplate), m_parent, &PaperQualityPageDlgProc,
                                reinterpret_cast<LPARAM>(&psp));
    return m_page;
}

INT_PTR PaperQualityPage::Modal(const std::function<INT_PTR()>& open, std::function<void(HWND)> inside) {
    // A dialog owned by the page belongs to the page's top-level window.
    g_modalOwner = GetAncestor(m_page ? m_page : m_parent, GA_ROOT);
    g_inside = std::move(inside);
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &InsideModal);
    const INT_PTR result = open();
    KillTimer(nullptr, timer);
    g_inside = nullptr;
    return result;
}

BoxAnswers::BoxAnswers(int iAnswer) : answer(iAnswer) {
    zqmsgbox::SetAnswerer(
        [](void* self, HWND, PCWSTR text, PCWSTR, UINT) {
            auto* me = static_cast<BoxAnswers*>(self);
            me->texts.push_back(text ? text : L"");
            return me->answer;
        },
        this);
}

BoxAnswers::~BoxAnswers() { zqmsgbox::SetAnswerer(nullptr, nullptr); }

std::wstring PaperQualityPage::DlgText(HWND hDlg, int id) {
    WCHAR text[256] = {};
    GetDlgItemTextW(hDlg, id, text, 256);
    return text;
}

void PaperQualityPage::Notice(HWND hDlg, int id, int code) {
    SendMessageW(hDlg, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, id)));
}

void PaperQualityPage::Click(HWND hDlg, int id) {
    if ((GetWindowLongPtrW(GetDlgItem(hDlg, id), GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX)
        CheckDlgButton(hDlg, id, IsDlgButtonChecked(hDlg, id) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    Notice(hDlg, id, BN_CLICKED);
}

std::vector<std::string> PaperQualityPage::LoggedMacros() const {
    std::vector<std::pair<std::string, LONG>> settled;
    for (const auto& u : m_host.Updates())
        if (!settled.empty() && settled.back().first == u.keyword) settled.back().second = u.sel;
        else settled.emplace_back(u.keyword, u.sel);
    std::vector<std::string> out;
    for (const auto& [keyword, sel] : settled)
        if (keyword.rfind("ZQLog_", 0) == 0 && sel == 1) out.push_back(keyword.substr(6));
    return out;
}

RECT PaperQualityPage::Rect(int id) const {
    RECT rc = {};
    CZQUIBase::VGetChildRect(m_page, Ctl(id), &rc, nullptr, nullptr);
    return rc;
}

std::wstring PaperQualityPage::Text(int id) const {
    WCHAR text[512] = {};
    GetWindowTextW(Ctl(id), text, 512);
    return text;
}
