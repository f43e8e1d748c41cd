#include "aboutpagetest.h"

#include <commctrl.h>

#include "common/zqhandles.h"
#include "common/zqstrings.h"

HINSTANCE AboutInfoPage::Resources() {
    static const CZQModule module(LoadLibraryExW(zqtest::BesideExe(L"zqoemui.dll").c_str(), nullptr,
                                                 LOAD_LIBRARY_AS_DATAFILE));
    return static_cast<HINSTANCE>(module.Get());
}

void AboutInfoPage::SetUp() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    m_printer.Install();
    m_hPrinter = m_printer.Open();
    m_param.cbSize = sizeof m_param;
    m_param.hPrinter = m_hPrinter;
    m_param.hModule = Resources();
    m_param.hOEMHeap = GetProcessHeap();
    ZQCopyText(m_caps.szPrinterName, 256, m_printer.Identity().name.c_str());
    m_parent = CreateWindowExW(0, L"STATIC", L"Sheet", WS_OVERLAPPEDWINDOW, 0, 0, 600, 500, nullptr, nullptr, nullptr,
                               nullptr);
}

void AboutInfoPage::TearDown() {
    for (HWND window : m_windows)
        if (IsWindow(window)) DestroyWindow(window);
    DestroyWindow(m_parent);
    m_pages.clear();
    zqspool::Spooler().ClosePrinter(m_hPrinter);
}

void AboutInfoPage::Bind(CZQTabBase* page, bool withTexts) {
    page->VBind(nullptr, &m_param, nullptr);
    if (withTexts) page->VLoadResourceModule(m_hPrinter);
}

HWND AboutInfoPage::Open(CZQTabBase* page, WORD wTemplate, DLGPROC proc) {
    m_contexts.push_back(std::make_unique<PageContext>());
    PageContext* context = m_contexts.back().get();
    *context = {page, nullptr, nullptr, nullptr, &m_caps, nullptr, nullptr};
    PROPSHEETPAGEW psp = {};
    psp.lParam = reinterpret_cast<LPARAM>(context);
    HWND window = CreateDialogParamW(Resources(), MAKEINTRESOURCEW(wTemplate), m_parent, proc,
                                     reinterpret_cast<LPARAM>(&psp));
    m_windows.push_back(window);
    return window;
}

std::wstring AboutInfoPage::Text(HWND page, int id) const {
    WCHAR text[600] = {};
    GetWindowTextW(GetDlgItem(page, id), text, 600);
    return text;
}

std::vector<std::wstring> AboutInfoPage::Lines(HWND page, int id) const {
    HWND list = GetDlgItem(page, id);
    std::vector<std::wstring> lines;
    for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        WCHAR text[300] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}
