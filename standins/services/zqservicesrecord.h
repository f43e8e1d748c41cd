// The services stand-ins' shared facts: where the library logs its calls (subkey "Log",
// zqstandinlog.h, one line per call: "ServicesInit size=<n> printer=\"<name>\" values=<a>,<b>
// module=<file>" and "ServicesDeInit size=<n>"), and the ids of the page's dialog in zqsvcmod.dll.
#pragma once

#define ZQ_SERVICES_RECORD_KEY L"Software\\ZQStandIns\\zqservices"
#define ZQ_SERVICES_LOG_MUTEX L"ZQStandInServicesLog"

#define IDD_ZQSERVICES 100
#define IDC_ZQSERVICES_PRINTER 1001
#define IDC_ZQSERVICES_ADDRESS 1002
#define IDS_ZQSERVICES_NO_ADDRESS 2001
