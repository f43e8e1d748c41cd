// The Colour page in process (pagefixture.h): the core driver's items of a colour printer with the
// page's features, the page's window from one of the plug-in's three templates, and beside it the
// sheet's Paper/Quality page object without a window and an Effects page object for the device
// status.
#pragma once

#include <string>

#include "pagefixture.h"
#include "pages/color/zqcolorpage.h"
#include "pages/effects/zqeffectspage.h"
#include "res/zqcolorids.h"

// What a test changes of the printer: its language, the greyscale feature's options, the features
// it leaves out.
struct ColorPrinter {
    DWORD pdl = 4;  // PCL 3
    std::vector<std::pair<std::string, std::wstring>> grays = {
        {"FALSE", L"Off"}, {"HighQuality", L"High Quality Grayscale"}, {"BlackOnly", L"Black Only"},
        {"PhotoCopy", L"Photo Copy Look"}};
    std::string without;
    bool largeFormat = false;
    bool simplified = false;
};

class ColorPage : public PageFixture {
public:
    using Printer = ColorPrinter;

protected:
    void TearDown() override;

    void AddItems(const Printer& printer);
    // AddItems, the page object, its sheet and its window from the template.
    void Start(const Printer& printer = Printer(), WORD wTemplate = IDD_DLG_COLORPAGE);
    ZQUIDevmode& Work() { return *m_logic.WorkDM(); }

    CZQColorTab* m_tab = nullptr;
    CZQEffectsTab m_effectsTab;
};
