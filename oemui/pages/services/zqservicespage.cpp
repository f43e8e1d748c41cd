// The Services page: the maker's services library loaded for the sheet, its page record filled in
// by "ServicesInit", and "ServicesDeInit" when the sheet goes.
#include "pages/services/zqservicespage.h"

#include <new>

#include "common/zqhandles.h"
#include "common/zqstrings.h"
#include "common/zqtrace.h"
#include "device/zqservicesmodule.h"

CZQServicesPage::~CZQServicesPage() { VEndServices(); }

BOOL CZQServicesPage::BInitServices(PROPSHEETPAGEW* pPage) {
    ZQ_TRACE("CZQServicesPage::BInitServices");
    VEndServices();
    pPage->pfnDlgProc = nullptr;
    const POEMUIPSPARAM sheet = SheetParam();
    CZQLocalPtr<WCHAR> option;
    CZQLocalPtr<char> baseName;
    if (!sheet || !sheet->pPrinterName ||
        DWGetFeatureOption(CUIParam(), L"PSAlignmentFile", option.Put()) != ZQOPT_OK || !option ||
        !CZQServicesModule::BLibraryBaseName(option.Get(), baseName.Put()))
        return FALSE;

    m_pLoader = new (std::nothrow) CZQServicesModule(sheet->pPrinterName, baseName.Get());
    const bool valid = m_pLoader && m_pLoader->BIsValid();
    const auto init = valid ? m_pLoader->Export<PFN_ServicesInit>(kZQServicesInitExport) : nullptr;
    const auto deInit = valid ? m_pLoader->Export<PFN_ServicesDeInit>(kZQServicesDeInitExport) : nullptr;
    m_printer = {sizeof m_printer, sheet->hPrinter, sheet->pPrinterName};
    if (!init || !deInit ||
        !init(m_pLoader, &m_printer, 0, 0, &pPage->hInstance, &pPage->pszTemplate, &pPage->pfnDlgProc)) {
        zqtrace::Line(L"CZQServicesPage: the services library offers no page\n");
        pPage->pfnDlgProc = nullptr;
        VEndServices();
        return FALSE;
    }
    // From here the library is ended with the page, also when it filled in no dialog.
    m_pfnDeInit = deInit;
    if (!pPage->pfnDlgProc || !pPage->pszTemplate) {
        pPage->pfnDlgProc = nullptr;
        VEndServices();
        return FALSE;
    }
    // The library's own dialog names its page.
    pPage->dwFlags &= ~static_cast<DWORD>(PSP_USETITLE);
    return TRUE;
}

void CZQServicesPage::VEndServices() {
    if (m_pfnDeInit) m_pfnDeInit(m_pLoader);
    m_pfnDeInit = nullptr;
    delete m_pLoader;
    m_pLoader = nullptr;
    m_printer = {};
}
