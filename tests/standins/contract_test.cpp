// The core driver stand-in's declarations of the plug-in boundary against the documented x64
// layout: every slot of the interface tables, every record field at its offset.
#include <gtest/gtest.h>

#include "oemcontractlayout.h"
#include "zqoemcontract.h"

namespace {

struct LayoutRow {
    const char* name;
    size_t actual;
    size_t documented;
};
#define ZQ_SIZE(T, n) {#T, sizeof(T), n},
#define ZQ_FIELD(T, f, n) {#T "." #f, offsetof(T, f), n},
#define ZQ_UI_SLOT(m, n) {"IPrintOemUI2." #m, offsetof(IPrintOemUI2Vtbl, m), (n) * sizeof(void*)},
#define ZQ_DRIVER_SLOT(m, n) {"IPrintOemDriverUI." #m, offsetof(IPrintOemDriverUIVtbl, m), (n) * sizeof(void*)},
const LayoutRow kLayout[] = {
    ZQ_SHARED_RECORDS(ZQ_SIZE, ZQ_FIELD)
    ZQ_DRIVER_RECORDS(ZQ_SIZE, ZQ_FIELD)
    ZQ_OEMUI2_SLOTS(ZQ_UI_SLOT)
    ZQ_DRIVERUI_SLOTS(ZQ_DRIVER_SLOT)
    {"IPrintOemUIVtbl", sizeof(IPrintOemUIVtbl), 17 * sizeof(void*)},
    {"IPrintOemUI2Vtbl", sizeof(IPrintOemUI2Vtbl), 20 * sizeof(void*)},
    {"IPrintOemDriverUIVtbl", sizeof(IPrintOemDriverUIVtbl), 6 * sizeof(void*)},
};

TEST(CoreDriverContract, RecordsAndInterfaceTablesHaveTheirDocumentedLayout) {
    for (const LayoutRow& row : kLayout) EXPECT_EQ(row.documented, row.actual) << row.name;
    // IPrintOemUI's table is the head of IPrintOemUI2's.
    EXPECT_EQ(offsetof(IPrintOemUIVtbl, UpdateExternalFonts), offsetof(IPrintOemUI2Vtbl, UpdateExternalFonts));
    EXPECT_EQ(offsetof(IPrintOemUIVtbl, GetInfo), offsetof(IPrintOemUI2Vtbl, GetInfo));
}

TEST(CoreDriverContract, IdentifiersAndConstantsAreTheDocumentedOnes) {
    WCHAR text[40];
#define ZQ_GUID(g, s)             \
    StringFromGUID2(g, text, 40); \
    EXPECT_STREQ(s, text) << #g;
    ZQ_CONTRACT_GUIDS(ZQ_GUID)
#undef ZQ_GUID
#define ZQ_CONST(c, v) EXPECT_EQ(static_cast<unsigned long>(v), static_cast<unsigned long>(c)) << #c;
    ZQ_CONTRACT_CONSTANTS(ZQ_CONST)
#undef ZQ_CONST
}

}  // namespace
