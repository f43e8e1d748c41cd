// A plug-in object bound as for a sheet with alerts: CommonUIProp's count and fill passes over
// in-process items of the in-memory printer, whose driver folder is the build's (the helper files
// and the status module are found there). Shared by the tests of the alert gate and of the pages.
#pragma once

#include <windows.h>

#include <vector>

#include "formats/zquidevmode.h"
#include "optitemfixture.h"
#include "zqmemprinter.h"

class CZQOemUI;

namespace zqalerttest {

class CAlertBinding {
public:
    // "ZQAlerts" at that option (null: the feature is missing), "ZQXMLFileUsed" at the helper file,
    // "MediaType" at "PLAIN" and the paper Letter.
    explicit CAlertBinding(const char* alerts = "On", const char* helper = "zqdesk.xml");
    ~CAlertBinding();
    CAlertBinding(const CAlertBinding&) = delete;
    CAlertBinding& operator=(const CAlertBinding&) = delete;

    CZQOemUI* UI() const { return m_ui; }
    zqspool::CZQMemoryPrinter& Printer() { return m_printer; }

private:
    zqspool::CZQMemoryPrinter m_printer;
    zqtest::COptItemFixture m_host;
    HANDLE m_hPrinter = nullptr;
    OEMCUIPPARAM m_param = {};
    ZQUIDevmode m_dm = {};
    DEVMODEW m_pub = {};
    std::vector<OPTITEM> m_items;
    CZQOemUI* m_ui = nullptr;
};

}  // namespace zqalerttest
