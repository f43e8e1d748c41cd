// Under the core driver stand-in: the desk printer's Finishing page after its Paper/Quality page, as
// the user sees it, its choices on OK, and the one export of an Apply.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cfgmgrtest.h"
#include "formats/zquidevmode.h"
#include "hosttest.h"
#include "layoutcheck.h"
#include "res/zqfinishingids.h"
#include "zqhostapp.h"
#include "zqprinter.h"

namespace {

using FinishingUnderHost = zqhosttest::SamplePrintersTest;

void PutPrinterData(HANDLE h, const wchar_t* name, DWORD value) {
    SetPrinterDataW(h, const_cast<LPWSTR>(name), REG_DWORD, reinterpret_cast<BYTE*>(&value), sizeof value);
}
void PutPrinterText(HANDLE h, const wchar_t* name, const wchar_t* text) {
    SetPrinterDataW(h, const_cast<LPWSTR>(name), REG_SZ, reinterpret_cast<BYTE*>(const_cast<wchar_t*>(text)),
                    static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

TEST_F(FinishingUnderHost, ChoicesAfterThePaperPageReachTheDevmodeAndExportOnce) {
    const std::wstring printer = zqhosttest::kDeskPrinter;
    zqhosttest::ResetToDefaults(printer);
    CZQSpoolPrinter h = zqhosttest::OpenFully(printer);
    // The configuration manager takes the settings whatever process shows the sheet.
    PutPrinterText(h.Get(), L"DMCExist", L"True");
    PutPrinterData(h.Get(), L"AlwaysExport", 1);
    zqcfgtest::ResetStandIn();

    std::vector<std::wstring> orders, booklets;
    std::wstring title;
    std::vector<std::string> faults;
    int chosen = 0;
    std::vector<BYTE> out;
    {
        CZQAutoPress press(50, [&](HWND sheet) {
            ASSERT_TRUE(ZQShowPage(sheet, L"Paper/Quality"));
            HWND paper = ZQCurrentPage(sheet);
            chosen += ZQChooseOnPage(paper, L"Use Different Paper/Covers", L"on") +
                      ZQChooseOnPage(paper, L"#427", L"Front Cover") + ZQChooseOnPage(paper, L"#431", L"on");
            ASSERT_TRUE(ZQShowPage(sheet, L"Finishing"));
            HWND page = ZQCurrentPage(sheet);
            WCHAR text[64] = {};
            GetWindowTextW(GetDlgItem(page, IDC_CHK_ROTATED), text, 64);
            title = text;
            orders = ZQListEntries(GetDlgItem(page, IDC_CBO_PAGE_ORDER));
            booklets = ZQListEntries(GetDlgItem(page, IDC_CBO_BOOKLET_PRINTING));
            chosen += ZQChooseOnPage(page, L"#538", L"on") + ZQChooseOnPage(page, L"Rotate by 180 degrees", L"on") +
                      ZQChooseOnPage(page, L"Page Order", L"Down, then Left");
            // As the user sees it: every control whole in its frame, every text fitting it.
            const auto plugin = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"zqoemui.dll"));
            faults = zqtest::LayoutFaults(page, plugin, IDD_DLG_FINISHINGPAGE);
            for (const std::string& fault : zqtest::TextFaults(page)) faults.push_back(fault);
        });
        EXPECT_EQ(IDOK, ZQOpenPreferences(h.Get(), printer, nullptr, out));
    }
    EXPECT_EQ(6, chosen);
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
    EXPECT_EQ(L"&Rotate by 180 degrees", title);
    EXPECT_EQ(4u, orders.size());
    EXPECT_EQ(3u, booklets.size());

    ZQUIDevmode block = {};
    const BYTE* oem = out.empty() ? nullptr : zqhosttest::OemBlock(out);
    ASSERT_NE(nullptr, oem);
    std::memcpy(&block, oem, sizeof block);
    EXPECT_EQ(2, block.wOrientation);
    EXPECT_EQ(1u, block.dwRotate180);
    EXPECT_EQ(3u, block.dwPageOrderIndex);
    EXPECT_EQ(1u, block.dwFrontCover) << "the Paper/Quality page's cover";
    EXPECT_EQ(813, block.iStartPage) << "the page left last";
    EXPECT_EQ(1u, zqcfgtest::Calls(L"DMCStartExport(").size()) << "only the last page visited exports";

    // The spooler cannot delete printer data itself.
    const std::wstring key = L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + printer + L"\\PrinterDriverData";
    for (const wchar_t* name : {L"DMCExist", L"AlwaysExport"})
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name);
}

}  // namespace
