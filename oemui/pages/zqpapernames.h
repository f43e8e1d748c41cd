// The printer's paper names as the pages list them: the driver's device-capabilities answer of
// 64-character names, in the order of its paper codes and sizes. A driver still starting up answers
// -1 for a while; the reader asks again (CZQCommon's retrying reader, whose wait tests shorten).
#pragma once

#include <windows.h>

#include "common/zqhandles.h"
#include "platform/oemuiplatform.h"

class CZQPaperNames {
public:
    static constexpr size_t kNameChars = 64;

    // The names read again for the printer, its port and the document's devmode; FALSE, and none,
    // when the driver never answered.
    BOOL BRead(PCWSTR pszPrinter, PCWSTR pszPort, const DEVMODEW* pDevmode);
    void VFree();
    DWORD Count() const { return m_dwCount; }
    // The name at a position; "" past the last one.
    PCWSTR Name(DWORD dwIndex) const;
    // The position of the first name equal to the text; -1 when none is.
    int IFind(PCWSTR pszName) const;

private:
    DWORD m_dwCount = 0;
    CZQLocalPtr<WCHAR> m_names;
};

struct PageContext;
struct PrinterCaps;
class CZQUILogic;

// What a resizing group's destination list is filled from: the block's items, the printer's paper
// names (none read: the form item's own names stand), the form's option keywords when they could be
// read, and the paper sizes that bound a printer scaling from its large papers.
struct ZQDestPaperSources {
    POEMCUIPPARAM pParam;
    CZQUILogic* pLogic;
    const CZQPaperNames* pNames;
    PWSTR* ppFormKeywords;  // null when they could not be read
    int cFormKeywords;
    const PrinterCaps* pCaps;
    // A user form is listed whatever its keyword says.
    bool bUserFormsListed;
    // A printer's paper is listed while the form's option of that name is not hidden, even when
    // the rules mark it in conflict.
    bool bMarkedPapersListed;
};

// The list refilled with the papers a document can be printed on: a PostScript printer's scaling
// papers, else the printer's papers the form item offers (no banner or borderless paper). TRUE when
// the PostScript printer takes custom sizes: the caller adds the user's forms within their range.
BOOL ZQFillDestPaperList(HWND hList, const ZQDestPaperSources& sources);

// The user's forms within the custom-size limits the sheet's Paper/Quality block keeps (after the
// helper file's "CustomSize" macros), as a list of 256-character names the caller frees with
// CZQCommon::VFreeStringList. FALSE without that block or when memory runs out.
BOOL ZQGetCustomRangeForms(PageContext* pContext, HANDLE hPrinter, POEMCUIPPARAM pParam, PWSTR** ppNames, int* piCount);
// The user's forms a page chose for its destination list, added at its end; the list is freed.
void ZQAddDestPaperForms(HWND hList, PWSTR* pForms, int iCount);

// A borderless paper's destination entry: the first whose paper keyword is the paper the sheet's
// Paper/Quality page shows, else "LETTER"; -1 when the list has neither.
int ZQFindBorderlessTwinEntry(HWND hList, PageContext* pContext, POEMCUIPPARAM pParam);

// The resizing (0 actual size, 1 on another paper, 2 a percentage) as the PostScript driver's
// document options, with the destination list's paper or user form; a percentage of 100 is the
// actual size, and a printer that cannot fit prints fitted on another paper.
void ZQApplyPSDocumentOptions(POEMCUIPPARAM pParam, CZQUILogic& logic, HWND hList, HANDLE hPrinter, int iResizeMode,
                              BOOL bFitAllowed);

// The paper id of a destination entry: the id of the printer's paper name it shows, 0 for a name the
// printer does not list, the first id when the printer's names could not be read.
WORD ZQDestPaperId(HWND hList, const CZQPaperNames& names, DWORD dwCount, int iIndex, const WORD* pIds);
// The destination entry of a paper id; -1 when there is none.
int ZQFindDestPaperIndex(HWND hList, const CZQPaperNames& names, DWORD dwCount, const WORD* pIds, WORD wPaperId);
// The percentage that fits the document's paper on the target paper along the side that limits it;
// 100 when either size is unknown.
int ZQFitToPaperPercent(const PrinterCaps* pCaps, WORD wTarget, WORD wDocument);
// The fit of the document's paper on the destination entry selected in the list.
int ZQFitToDestPercent(HWND hList, const CZQPaperNames& names, const PrinterCaps* pCaps, WORD wDocument);
// The destination entry of a resize: the paper printed on, else the document's paper, else the first.
int ZQScaleTargetIndex(HWND hList, const CZQPaperNames& names, const PrinterCaps* pCaps, WORD wPrintedOn,
                       WORD wDocument);
