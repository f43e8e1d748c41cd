// Translation tables between the configuration manager's vocabulary and the driver's: option
// keywords of the core driver, feature keywords and the numbers of the private devmode. They are
// constant data; every lookup compares without regard to case and the first matching row wins
// unless a routine says otherwise.
#pragma once

#include <windows.h>

// One row of a value table: the configuration manager's value, the driver's keyword ("NULL" in
// tables that only map to numbers) and the number.
struct ConfigValueRow {
    PCWSTR pszConfigValue;
    PCWSTR pszDriverKeyword;
    LONG lNumber;
};

// One row of the name table: a driver feature keyword and the configuration name it stands for.
struct ConfigNameRow {
    PCWSTR pszDriverKeyword;
    PCWSTR pszConfigName;
};

struct ConfigValueTable {
    const ConfigValueRow* pRows;
    int cRows;
};

namespace zqcfgmap {

// Which way a table of an item serves.
enum Direction : BYTE {
    kImport = 1,  // configuration value -> driver keyword
    kExport = 2,  // driver keyword -> configuration value
    kBoth = kImport | kExport,
};

// The value table of an item for one direction (value tables, or device tables), or null.
const ConfigValueTable* FindValueTable(PCWSTR pszItem, Direction direction);
const ConfigValueTable* FindDeviceTable(PCWSTR pszItem, Direction direction);

// Row lookups from a start row; -1 when no row matches.
int FindRowByConfigValue(const ConfigValueTable& table, PCWSTR pszValue, int iStart = 0);
int FindRowByKeyword(const ConfigValueTable& table, PCWSTR pszKeyword, int iStart = 0);
// The last row in [iFirst, iEnd) whose number is lNumber (iEnd -1: to the end); -1 when none.
int FindLastRowByNumber(const ConfigValueTable& table, LONG lNumber, int iFirst = 0, int iEnd = -1);

// The name table, in its order.
extern const ConfigNameRow kNameRows[];
extern const int kNameRowCount;

// The installable-accessory table that several device items share.
extern const ConfigValueTable kAccessoryTable;

// The physical item names that have a driver keyword of their own (configuration name, keyword).
extern const ConfigNameRow kPhysicalNameRows[];
extern const int kPhysicalNameRowCount;

// Devmode-item tables: name <-> number of a private devmode field.
extern const ConfigValueTable kOrientationTable;
extern const ConfigValueTable kDuplexEdgeTable;
extern const ConfigValueTable kJobRetentionTable;
extern const ConfigValueTable kFitToOtherSizeTable;
extern const ConfigValueTable kScalePageTable;
extern const ConfigValueTable kWmColorTable;
extern const ConfigValueTable kWmShadeTable;
extern const ConfigValueTable kWmEscapementTable;
extern const ConfigValueTable kWmStyleTable;
extern const ConfigValueTable kWmFirstPageTable;
extern const ConfigValueTable kNupTable;
extern const ConfigValueTable kNupBordersTable;
extern const ConfigValueTable kNupPageOrderTable;
extern const ConfigValueTable kBookletTable;
extern const ConfigValueTable kBookletAltTable;  // "OFF", "ON", "Reverse" at the first table's positions
extern const ConfigValueTable kColorModeTable;
extern const ConfigValueTable kThriftModeTable;
extern const ConfigValueTable kPageOrderTable;  // also the "PageOrder" value table

// Orientation rows from this one on are rotated or counter-clockwise choices.
inline constexpr int kFirstTurnedOrientationRow = 2;
// Rows from this one on set the rotated-orientation flag when stored.
inline constexpr int kFirstRotatedOrientationRow = 4;

}  // namespace zqcfgmap
