// The Output page in process (pagefixture.h): the core driver's items of a printer with a finisher,
// the page's window from the plug-in's own template, and beside it the sheet's Paper/Quality page
// object without a window.
#pragma once

#include <string>

#include "pagefixture.h"
#include "pages/output/zqoutputpage.h"
#include "res/zqoutputids.h"

// The output accessory and punch unit as the device answered them, and the page's features a test
// leaves out.
struct OutputPrinter {
    std::string accessory = "750Stapler";
    std::string punchUnit = "ZQ2HolePunch";
    std::string without;
};

class OutputPage : public PageFixture {
public:
    using Printer = OutputPrinter;

protected:
    void TearDown() override;

    void AddItems(const Printer& printer);
    void Build();
    HWND Open(WORD wTemplate = IDD_DLG_OUTPUT) { return OpenPage(wTemplate, &OutputPageDlgProc); }
    // AddItems, the finishing rules when asked, Build and Open at once.
    void Start(const Printer& printer = Printer(), bool bRules = false);
    // A list's entry chosen as the user chooses it.
    bool Choose(int id, const std::wstring& entry);
    // The helper file's finishing macros (before Build), each turning its log feature on;
    // macro_FaceControl also takes the transparencies away from face-down delivery.
    void LoadFinishingRules();
    ZQUIDevmode& Work() { return *m_logic.WorkDM(); }

    CZQOutputTab* m_tab = nullptr;
};
