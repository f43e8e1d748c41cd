// Where the status-module stand-in records the requests its dialogs receive (REG_BINARY values
// "VDisplayDialog" and "VJobStorageDialog"), and the string ids kept for the tests of the text
// loader. Shared by the stand-in and the tests.
#pragma once

#define ZQ_COREMOD_RECORD_KEY L"Software\\ZQStandIns\\zqcoremod"
#ifdef __cplusplus
inline constexpr const wchar_t* kZQCoreModRecordKey = ZQ_COREMOD_RECORD_KEY;
#endif

// Texts of the loader's tests, in a block of their own (ids 65000-65015 share one block).
#define ZQTEST_IDS_ENGLISH_ONLY 65000    // 1033 only
#define ZQTEST_IDS_SWISS_ONLY 65001      // 2055 (German, Switzerland) only
#define ZQTEST_IDS_GERMAN 65002          // 1031 and 1033
#define ZQTEST_IDS_LONG 65003            // 1033, 600 characters
#define ZQTEST_IDS_EMPTY_IN_BLOCK 65004  // in the block, no text in any language
#define ZQTEST_IDS_ALERT_FORMAT 65005    // an alert text with more conversions than arguments
#define ZQTEST_IDS_NO_BLOCK 65100        // no block at all
