// The About page and the Settings Information page in process: an in-memory printer whose driver's
// files lie beside the test executable, the OEMCUIPPARAM and printer record a sheet hands a page,
// and the page's window made from the plug-in's own template.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "commontest.h"
#include "pages/zqpages.h"

class AboutInfoPage : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new page object of the class, bound as page assembly binds it; with the status module's
    // texts or without them (the English fall-backs).
    template <typename Page>
    Page* Make(bool withTexts) {
        auto* page = new Page();
        m_pages.emplace_back(page);
        Bind(page, withTexts);
        return page;
    }
    // The page's window from a template of the plug-in, made with the page's context.
    HWND Open(CZQTabBase* page, WORD wTemplate, DLGPROC proc);
    std::wstring Text(HWND page, int id) const;
    std::vector<std::wstring> Lines(HWND page, int id) const;
    // The plug-in's resources, loaded once as data.
    static HINSTANCE Resources();

    zqspool::CZQMemoryPrinter m_printer{zqtest::ExeDirPrinter()};
    HANDLE m_hPrinter = nullptr;
    OEMCUIPPARAM m_param = {};
    PrinterCaps m_caps = {};
    HWND m_parent = nullptr;

private:
    void Bind(CZQTabBase* page, bool withTexts);
    std::vector<std::unique_ptr<CZQTabBase>> m_pages;
    std::vector<std::unique_ptr<PageContext>> m_contexts;
    std::vector<HWND> m_windows;
};
