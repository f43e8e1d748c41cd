// The Services page: the maker's services library loaded for the sheet, its page record filled in
// by "ServicesInit", and "ServicesDeInit" when the sheet goes.
#include "pages/services/zqservicespage.h"

#include <cwchar>
#include <new>

#include "common/zqhandles.h"
#include "common/zqtrace.h"
#include "device/zqservicesmodule.h"

namespace {

// The library must lie in the driver's directory itself: a name with a path, a drive or a way
// up is refused.
bool IsPlainFileName(PCWSTR pszName) {
    for (PCWSTR p = pszName; *p; ++p)
        if (*p == L'\\' || *p == L'/' || *p == L':') return false;
    return wcsstr(pszName, L"..") == nullptr;
}

}  // namespace

CZQServicesPage::~CZQServicesPage() { VEndServices(); }

BOOL CZQServicesPage::BInitServices(PROPSHEETPAGEW* pPage) {
    ZQ_TRACE("CZQServicesPage::BInitServices");
    VEndServices();
    pPage->pfnDlgProc = nullptr;
    const POEMUIPSPARAM sheet = SheetParam();
    CZQLocalPtr<WCHAR> option;
    CZQLocalPtr<char> baseName;
    if (!sheet || !sheet->pPrinterName ||
        DWGetFeatureOption(CUIParam(), L"PSAlignmentFile", option.Put()) != ZQOPT_OK || !option || !option[0] ||
        !IsPlainFileName(option.Get()) || !BWideToMultiByte(option.Get(), baseName.Put(), CP_ACP))
        return FALSE;

    m_pLoader = new (std::nothrow) CZQServicesModule(sheet->pPrinterName, baseName.Get());
    const auto init = m_pLoader && m_pLoader->BIsValid()
                          ? reinterpret_cast<PFN_ServicesInit>(reinterpret_cast<void*>(m_pLoader->PGetProcAddress(kZQServicesInitExport)))
                          : nullptr;
    const auto deInit = init ? reinterpret_cast<PFN_ServicesDeInit>(reinterpret_cast<void*>(m_pLoader->PGetProcAddress(kZQServicesDeInitExport)))
                             : nullptr;
    m_printer = {sizeof m_printer, sheet->hPrinter, sheet->pPrinterName};
    if (!deInit || !init(m_pLoader, &m_printer, 0, 0, &pPage->hInstance, &pPage->pszTemplate, &pPage->pfnDlgProc)) {
        zqtrace::Line(L"CZQServicesPage: the services library offers no page\n");
        pPage->pfnDlgProc = nullptr;
        VEndServices();
        return FALSE;
    }
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
