// The Paper/Quality page in process (pagefixture.h): the core driver's items of a desk-like printer
// (a large-format one on request) and the page's window made from the plug-in's own template.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pagefixture.h"
#include "pages/paperquality/zqpaperqualitypage.h"
#include "res/zqpaperqualityids.h"

class PaperQualityPage : public PageFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // The page's features; a test adds its own (or changes these) before Build.
    void AddItems(bool largeFormat = false);
    void Build();
    // The page's window from a template of the plug-in (the context as page assembly lays it).
    HWND Open(WORD wTemplate = IDD_DLG_PAPER_MEDIA) { return OpenPage(wTemplate, &PaperQualityPageDlgProc); }

    // The paper sizes AddItems offers (A4 selected, the second).
    std::vector<std::pair<std::string, std::wstring>> m_papers = {
        {"LETTER", L"Letter"}, {"A4", L"A4"}, {"LEGAL", L"Legal"}, {"ENV_10", L"Envelope #10"}};
    // The media types (Plain Paper selected; the printer's record knows the ids of the first five).
    std::vector<std::pair<std::string, std::wstring>> m_media = {
        {"PLAIN", L"Plain Paper"}, {"PHOTO", L"Photo Paper"}, {"FILM", L"Transparency"}};
    // The print-quality groups (Normal selected).
    std::vector<std::pair<std::string, std::wstring>> m_qualityGroups = {
        {"PQGroup_0", L"Draft"}, {"PQGroup_1", L"Normal"}, {"PQGroup_2", L"Best"}};
    // The page object (the fixture owns it).
    CZQPaperQualityTab* m_tab = nullptr;
};
