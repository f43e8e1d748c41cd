// CZQServicesPage: the "Services" page of Printer Properties. The maker's services library (named
// by the core driver's setting "PSAlignmentFile") supplies the page's dialog, procedure and title;
// this object holds the library's loader from the moment the sheet builds the page until the
// sheet goes, so the library stays loaded while its page exists.
#pragma once

#include "pages/zqpages.h"
#include "platform/zqservicesapi.h"

class CZQServicesModule;

class CZQServicesPage : public CZQTabBase {
public:
    CZQServicesPage() = default;
    ~CZQServicesPage() override;
    CZQServicesPage(const CZQServicesPage&) = delete;
    CZQServicesPage& operator=(const CZQServicesPage&) = delete;

    // Loads the library for the bound printer and lets "ServicesInit" fill the page's instance,
    // template and dialog procedure. FALSE (nothing held, no dialog procedure in the record) when
    // the setting is missing or not a plain file name, the loader is invalid, an export is missing
    // or the library offers no page.
    BOOL BInitServices(PROPSHEETPAGEW* pPage);
    // The sheet is gone: "ServicesDeInit", then the loader goes (a page built again ends the last).
    void VEndServices();
    const CZQServicesModule* Loader() const { return m_pLoader; }

private:
    CZQServicesModule* m_pLoader = nullptr;
    PFN_ServicesDeInit m_pfnDeInit = nullptr;
    ZQServicesPrinter m_printer = {};
};
