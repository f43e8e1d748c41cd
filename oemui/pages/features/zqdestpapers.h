// The Features page's destination list (the paper a document is printed on): the printer's paper
// names (the reader retries a driver still starting up) and the form's keywords it is filled from,
// the paper ids behind its entries, the entry of a paper, and the scale that fits the document's
// paper on the chosen one, and an entry kept while the list has none. The page owns one part and
// hands it the list's window and the paper-size list's; the part works on them and the page's state.
#pragma once

#include "pages/features/zqfeaturesstate.h"
#include "pages/zqpages.h"
#include "pages/zqpapernames.h"
#include "settings/zqoptionlists.h"

class CZQDestPapers {
public:
    // pszPort is the port text the paper names are asked for with (the owner's buffer).
    CZQDestPapers(const CZQTabBase& owner, ZQFeaturesState& state, PCWSTR pszPort)
        : m_owner(owner), m_state(state), m_pszPort(pszPort) {}
    CZQDestPapers(const CZQDestPapers&) = delete;
    CZQDestPapers& operator=(const CZQDestPapers&) = delete;

    // The destination list's window and the paper-size list's (null when the page's window goes).
    void VAttach(HWND hList, HWND hPaperSize) {
        m_hList = hList;
        m_hPaperSize = hPaperSize;
    }
    // The printer's paper names for the destination list; FALSE, and none, when they cannot be read.
    BOOL BGetPaperSizeNames();
    void VFillDestPaperList(PageContext* pContext);
    // The user's forms within the custom-size range (a list the caller frees with VFreeStringList).
    BOOL BGetCustomRangeForms(PageContext* pContext, PWSTR** ppNames, int* piCount);
    // The paper id of a destination entry: the id of the paper name it shows, 0 for a name the
    // printer does not list, the first id without the printer's names.
    WORD WGetDestPaperId(DWORD dwCount, int iIndex, const WORD* pIds);
    // The destination entry of a paper id; -1 when there is none.
    int IFindDestPaperIndex(DWORD dwCount, const WORD* pIds, WORD wPaperId);
    // A paper as the destination list has it: the id behind its entry (0 when the list lacks it).
    WORD WListedPaper(PageContext* pContext, WORD wPaperId);
    // The percentage that fits the document's paper on the destination (100 when a size is unknown).
    int IGetFitToPaperPercent(PageContext* pContext);
    void VSelectScaleTargetPaper(HWND hDlg, PageContext* pContext);
    // A borderless paper's destination entry: the paper the Paper/Quality page shows, else "LETTER",
    // else the first.
    int IFindBorderlessTwin(PageContext* pContext);
    // The list keeps an entry: the paper-size list's text when it has none (selected when asked).
    void VSeedDestinationList(bool bSelect);

    const CZQPaperNames& Names() const { return m_paperNames; }

private:
    const CZQTabBase& m_owner;
    ZQFeaturesState& m_state;
    PCWSTR m_pszPort;
    HWND m_hList = nullptr;
    HWND m_hPaperSize = nullptr;
    CZQPaperNames m_paperNames;
    zqsettings::CZQKeywordsOnce m_formKeywords;
};
