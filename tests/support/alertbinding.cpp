#include "alertbinding.h"

#include "common/zqcommon.h"
#include "testsupport.h"
#include "zqoemui.h"

namespace zqalerttest {

CAlertBinding::CAlertBinding(const char* alerts, const char* helper) {
    m_printer.Identity().driverDirectory = zqtest::ExeDir();
    m_printer.Install();
    m_host.Add(zqtest::ListFeature("MediaType", {{"PLAIN", L"Plain Paper"}}));
    m_host.Add(zqtest::ValueFeature("ZQXMLFileUsed", helper));
    if (alerts) m_host.Add(zqtest::ValueFeature("ZQAlerts", alerts));
    m_host.Build();
    m_hPrinter = m_printer.Open();
    CZQCommon().BFillDefaultDevmode(&m_dm, nullptr);
    m_pub.dmSize = sizeof m_pub;
    m_pub.dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
    m_pub.dmPaperSize = DMPAPER_LETTER;
    m_pub.dmPaperWidth = 2159;
    m_pub.dmPaperLength = 2794;
    m_param = *m_host.Param();
    m_param.hPrinter = m_hPrinter;
    m_param.pPrinterName = const_cast<PWSTR>(L"ZQ Memory Printer");
    m_param.pPublicDM = &m_pub;
    m_param.pOEMDM = &m_dm;
    m_ui = new CZQOemUI();
    // The count pass, then the fill pass into the room it asked for.
    m_param.pOEMOptItems = nullptr;
    m_ui->CommonUIProp(OEMCUIP_DOCPROP, &m_param);
    m_items.assign(m_param.cOEMOptItems + 1, OPTITEM{});
    m_param.pOEMOptItems = m_items.data();
    m_ui->CommonUIProp(OEMCUIP_DOCPROP, &m_param);
}

CAlertBinding::~CAlertBinding() {
    m_ui->Release();
    zqspool::Spooler().ClosePrinter(m_hPrinter);
}

}  // namespace zqalerttest
