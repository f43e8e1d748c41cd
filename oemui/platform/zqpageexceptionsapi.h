// The maker's page-exceptions module: a library in the driver directory named by the driver
// setting "ZQPageExceptionsFile" (without ".dll"), whose entry point, named by the driver setting
// "ZQPageExceptionsInterface", edits the page exceptions of the document. Loaded for one call.
// Shared by the plug-in and the stand-in so both sides agree on the block the entry receives.
#pragma once

#include <windows.h>

#include <cstddef>

// The kinds of page exception, one bit each; the record's kinds in use are their OR.
enum : DWORD {
    ZQPE_CHAPTER_PAGES = 0x1,
    ZQPE_BLANK_INSERTION = 0x2,
    ZQPE_PRINTED_INSERTION = 0x4,
    ZQPE_COVER_INSERTION = 0x8,
};

// The page-exceptions section of the private devmode (36 bytes): a text, then four numbers. The
// third is the set of kinds in use; the fourth is the covers the exceptions choose. The rest is the
// module's own.
struct ZQPageExceptionsRecord {
    WCHAR szText[10];
    DWORD dwModule0;
    DWORD dwModule1;
    DWORD dwKindsInUse;
    DWORD dwCoverSelection;
};
static_assert(sizeof(ZQPageExceptionsRecord) == 36, "page-exceptions record size");
static_assert(offsetof(ZQPageExceptionsRecord, dwKindsInUse) == 28, "page-exceptions record: kinds in use");

inline constexpr size_t kZQPageExceptionsPathChars = 260;

// The block the entry point receives, in the natural alignment of the platform: handles and
// pointers are whole pointers. (The 32-bit modules took 1,612 bytes with every field 4 bytes:
// parameters at 0 and 4, kind 8, window 12, media 16, source 20, the four layout flags 24 to 36,
// the texts at 40, 560 and 1080, the record pointer 1600, the constant 1604 and low-end 1608.)
struct PageExceptionsParams {
    void* pPageParam;      // the page's OEMCUIPPARAM
    void* pLogicParam;     // the OEMCUIPPARAM of the settings the page works on
    DWORD dwKind;          // kind bit of the list's current item (of item 0 without one)
    DWORD dwReserved;      // zero
    HWND hPage;            // the page window
    DWORD dwMediaId;       // the document's media type
    DWORD dwSourceId;      // the document's paper source
    DWORD dwDuplex;        // 1 when printed on both sides
    DWORD dwManualDuplex;  // 1 when turned by hand
    DWORD dwPagesPerSheet; // 1 when several pages share a sheet
    DWORD dwBooklet;       // 1 when printed as a booklet
    WCHAR szHelpFile[kZQPageExceptionsPathChars];
    WCHAR szCoreModPath[kZQPageExceptionsPathChars];  // the status module, in the driver directory
    WCHAR szPrinterName[kZQPageExceptionsPathChars];
    ZQPageExceptionsRecord* pRecord;  // in the settings the page works on
    DWORD dwVersion;       // 1
    DWORD dwLowEnd;        // 1 for the printers' simpler variant of the module
};
#ifdef _WIN64
static_assert(sizeof(PageExceptionsParams) == 1632, "page-exceptions block size");
static_assert(offsetof(PageExceptionsParams, hPage) == 24, "page-exceptions block: window");
static_assert(offsetof(PageExceptionsParams, dwMediaId) == 32, "page-exceptions block: media");
static_assert(offsetof(PageExceptionsParams, szHelpFile) == 56, "page-exceptions block: texts");
static_assert(offsetof(PageExceptionsParams, pRecord) == 1616, "page-exceptions block: record");
#endif

// Returns non-zero when the user changed the page exceptions.
typedef BOOL(WINAPI* PFN_ZQPageExceptions)(PageExceptionsParams* pParams);
