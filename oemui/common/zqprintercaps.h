// The printer records of a binding: the printer capability record (read once per CommonUIProp and
// handed to every page), the large-format paper list and the device-status record.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <compstui.h>

#include "common/zqstatusitems.h"

// The record's device-capabilities lists, as groups read together: the paper ids with their
// sizes, the source ids with their names, the media ids.
enum : DWORD { kCapsPapers = 0x1, kCapsSources = 0x2, kCapsMedia = 0x4, kCapsAllLists = 0x7 };

// Texts about the printer and its device-capabilities lists. The lists are zero-filled local-heap
// blocks of count + 1 entries; ZQFreePrinterCaps frees them.
struct PrinterCaps {
    WCHAR szPrinterName[256];
    WCHAR szPortName[256];         // port argument of the device-capabilities calls
    WCHAR szPrintProcessor[256];   // the printer's print processor
    WCHAR szHelpFile[256];         // the driver's help file, for WinHelpW
    WCHAR szServerName[256];       // empty for a local printer
    DWORD dwPaperCount;
    WORD* pPaperIds;               // DC_PAPERS
    POINT* pPaperSizes;            // DC_PAPERSIZE, tenths of a millimetre
    DWORD dwSourceCount;
    WORD* pSourceIds;              // DC_BINS; the first is the default source
    PWSTR pSourceNames;            // DC_BINNAMES, kBinNameChars each
    WCHAR szFirstBinName[24];      // DC_BINNAMES entry 0
    DWORD dwMediaCount;
    DWORD* pMediaIds;              // DC_MEDIATYPES, in the order of the media options
    DWORD dwFlags;                 // bit 0x2 is read by the large-format Features page
    // Each query is a whole core-driver call: lists are asked for when first used. The groups not
    // read yet (kCaps... bits; 0 for a record filled by hand) and a local-heap copy of the public
    // devmode they are asked with, so a late read asks exactly what an early one would have.
    DWORD dwUnreadLists;
    DEVMODEW* pQueryDevmode;
};

// Opens the record for a printer: its texts now, its lists on first request (ZQPrinterCapsLists).
// What the record held before is freed first. FALSE (last error set) when the printer's level-2
// information or the driver's record could not be read; the record keeps the rest.
BOOL ZQOpenPrinterCaps(PrinterCaps* pCaps, HANDLE hPrinter, const DEVMODEW* pPublicDM);
// The record with the groups asked for read, each asked of the driver once in the record's life;
// lists the printer does not offer, or that cannot be read, stay empty, never partly filled. Every
// reader of a list asks through here (a const record too: its lists are what it stands for). Null
// stays null.
const PrinterCaps* ZQPrinterCapsLists(const PrinterCaps* pCaps, DWORD dwLists);
// The record opened and every list read at once. FALSE (last error set) when the printer's level-2
// information, the driver's record or a list could not be read: such a list stays empty and the
// record keeps the rest.
BOOL ZQReadPrinterCaps(PrinterCaps* pCaps, HANDLE hPrinter, const DEVMODEW* pPublicDM);
void ZQFreePrinterCaps(PrinterCaps* pCaps);
// The printer's bin id of an option of the core driver's source item: options it marks as
// conflicting have no bin of their own; the first bin without the item or for a position out of
// range. 0 without bins.
DWORD ZQSourceIdOfOption(const PrinterCaps* pCaps, const OPTITEM* pSourceItem, int iPosition);
// The media id of an option of the media item (the printer lists its media in the options' order);
// the first media for a position out of range. 0 without media.
DWORD ZQMediaIdOfOption(const PrinterCaps* pCaps, int iPosition);

// A quality profile of a paper of the large-format paper list.
struct PaperProfile {
    WCHAR szName[256];
    WCHAR szQualityLevel[256];  // a print-quality keyword
    DWORD dwMaxDetail;
    DWORD dwGlossEnhancer;
    DWORD dwExtraPasses;
};

// One paper of the large-format paper list (printer data key "PaperList", one sub-key per paper,
// its profiles as sub-keys of the paper's key).
struct PaperListEntry {
    WCHAR szName[256];  // compared with a media type's display name
    WCHAR szText[256];  // shown as the user media's text; empty: not offered
    WCHAR szCode[256];  // decimal media code
    DWORD dwDefaultQuality;  // 1-based
    DWORD dwGlossEnhancerSupport;
    DWORD dwExtraPassesSupport;
    DWORD dwMaxDetailSupport;
    DWORD dwCutterSupport;
    DWORD dwProfileCount;
    PaperProfile* pProfiles;  // local heap
};

struct PaperList {
    DWORD dwCount;
    PaperListEntry* pEntries;  // local heap
};

// Reads the paper list of the printer's data (an empty list when there is none). What the list held
// before is freed first. Texts count only as REG_SZ. FALSE, with the spooler's answer as last error
// and an empty list, when a key or value could not be read.
BOOL ZQReadPaperList(PaperList* pList, HANDLE hPrinter);
void ZQFreePaperList(PaperList* pList);

// The device-status record of the plug-in object; the status routines fill it from the printer's
// answers. Owned texts are local-heap copies.
struct StatusRecord {
    StatusRecord();
    ~StatusRecord();
    StatusRecord(const StatusRecord&) = delete;
    StatusRecord& operator=(const StatusRecord&) = delete;

    // Replaces an owned text by a copy of the new one; a missing text frees the old one and fails.
    static BOOL BSetText(PWSTR* ppszField, PCWSTR pszText);

    PWSTR pszMediaText;       // media code in decimal, or the media name
    DWORD dwMediaCode;
    DWORD dwPaperWidth;       // tenths of a millimetre
    DWORD dwPaperLength;
    IUnknown* pStatusObject;  // the channel's IZQDeviceChannel, only during a refresh
    PWSTR pszLocaleName;      // language-COUNTRY
    IUnknown* pRequest;       // the object list's IZQObjectList, only during a refresh
    CZQStatusItems items;     // the alerts of the last refresh
    PWSTR pszPrinterName;
    DWORD dwPortKind;         // as CZQCommon::IGetPortKind
};
