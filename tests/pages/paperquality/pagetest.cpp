#include "pagetest.h"

#include <commctrl.h>

#include "common/zqhandles.h"
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

// Keywords and sections are plain ASCII.
std::string Narrow(PCWSTR pszText) {
    std::string out;
    for (; pszText && *pszText; ++pszText) out.push_back(static_cast<char>(*pszText));
    return out;
}

}  // namespace

BOOL PageTestPlugin::BExportSettings(PCWSTR pszSection) {
    calls.push_back("export " + Narrow(pszSection));
    return TRUE;
}

BOOL PageTestPlugin::BCheckConstraint(PCWSTR pszFeature, HWND, DWORD* pdwCancelled) {
    CZQLocalPtr<WCHAR> option;
    const bool rejected = param && lstrcmpW(pszFeature, L"MediaType") == 0 &&
                          CZQCommon::DWGetFeatureOption(param, pszFeature, option.Put()) == ZQOPT_OK &&
                          Narrow(option.Get()) == rejectedMedia;
    calls.push_back(std::string("check ") + (rejected ? "rejected" : "accepted"));
    if (pdwCancelled) *pdwCancelled = rejected ? 1 : 0;
    return TRUE;
}

BOOL PageTestPlugin::BRefreshDeviceStatus(BOOL bPageInit) {
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
    m_plugin = new PageTestPlugin();
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
    m_plugin->Release();
    m_preview.reset();
    m_rules.reset();
    zqspool::Spooler().ClosePrinter(m_hPrinter);
    CZQPaperQualityTab::s_bSourceSelectOnce = FALSE;
    ComTest::TearDown();
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
    m_plugin->param = param;
    m_context = {m_tab.get(), &m_logic, m_preview.get(), nullptr, &m_caps, m_rules.get(), m_plugin};
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
