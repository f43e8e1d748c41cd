// A test build of the plug-in whose sheets get only the alert test page: the page table is set
// through its seam when the module loads.
#include "zqtestalertpage.h"

namespace {

struct CZQTestPageTable {
    CZQTestPageTable() { ZQSetPageTable(kZQTestAlertRows); }
} g_pageTable;

}  // namespace
