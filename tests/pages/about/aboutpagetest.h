// The About page and the Settings Information page in process: an in-memory printer whose driver's
// files lie beside the test executable, the OEMCUIPPARAM and printer record a sheet hands a page,
// and page windows made from the plug-in's own templates.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "commontest.h"
#include "common/zqhandles.h"
#include "pages/zqpages.h"

class AboutInfoPage : public ::testing::Test {
protected:
    void SetUp() override {
        m_printer.Install();
        m_param.cbSize = sizeof m_param;
        m_param.hPrinter = m_printer.Open();
        m_param.hModule = Resources();
        m_param.hOEMHeap = GetProcessHeap();
        m_parent = CreateWindowExW(0, L"STATIC", L"Sheet", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(m_parent);  // the pages with it, before their objects
        m_pages.clear();
        zqspool::Spooler().ClosePrinter(m_param.hPrinter);
    }
    // A page window of a new page object bound as page assembly binds it, with the status module's
    // texts or without them (the English fall-backs).
    template <typename Page>
    HWND Open(bool withTexts, WORD wTemplate, DLGPROC proc) {
        auto& [page, context] = m_pages.emplace_back(std::make_unique<Page>(), PageContext{});
        page->VBind(nullptr, &m_param, nullptr);
        if (withTexts) page->VLoadResourceModule(m_param.hPrinter);
        context = {};
        context.pPage = page.get();
        context.pCaps = &m_caps;
        PROPSHEETPAGEW psp = {};
        psp.lParam = reinterpret_cast<LPARAM>(&context);
        return CreateDialogParamW(Resources(), MAKEINTRESOURCEW(wTemplate), m_parent, proc,
                                  reinterpret_cast<LPARAM>(&psp));
    }
    static std::wstring Text(HWND page, int id) {
        WCHAR text[600] = {};
        GetDlgItemTextW(page, id, text, 600);
        return text;
    }
    static std::vector<std::wstring> Lines(HWND page, int id) {
        std::vector<std::wstring> lines(static_cast<size_t>(SendDlgItemMessageW(page, id, LB_GETCOUNT, 0, 0)));
        for (size_t i = 0; i < lines.size(); ++i) {
            WCHAR text[300] = {};
            SendDlgItemMessageW(page, id, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            lines[i] = text;
        }
        return lines;
    }
    static HINSTANCE Resources() {
        static const CZQModule module(
            LoadLibraryExW(zqtest::BesideExe(L"zqoemui.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        return static_cast<HINSTANCE>(module.Get());
    }

    zqspool::CZQMemoryPrinter m_printer{zqtest::ExeDirPrinter()};
    OEMCUIPPARAM m_param = {};
    PrinterCaps m_caps = {};
    HWND m_parent = nullptr;
    std::deque<std::pair<std::unique_ptr<CZQTabBase>, PageContext>> m_pages;  // contexts stay where they are
};
