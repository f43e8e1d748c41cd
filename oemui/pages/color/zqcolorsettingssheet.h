// CZQColorSettingsSheet: the "Color Settings" sheet of the common property-sheet interface. It shows
// the logic object's colour option list as a tree of headings and drop-down lists, keeps the user's
// picks in a working copy and writes that copy back on Apply. One object serves the process (one
// sheet at a time); the Colour page runs the sheet with PropSheetCallback and its PageContext.
#pragma once

#include "common/zquibase.h"
#include "featurelogic/zqcoloroptions.h"

struct PageContext;

class CZQColorSettingsSheet : public CZQUIBase {
public:
    static constexpr int kIconId = 129;  // IDI_COLOR_SETTINGS
    static constexpr int kTitleString = 882;

    // The process's sheet object, made on first use.
    static CZQColorSettingsSheet& Instance();
    // The property-sheet callback (lParam: the Colour page's PageContext at INIT).
    static LONG APIENTRY PropSheetCallback(PPROPSHEETUI_INFO pInfo, LPARAM lParam);
    // The callback of the sheet's option items.
    static LONG APIENTRY ItemCallback(PCPSUICBPARAM pParam);

    // The Colour page's window, the parent the sheet's header names.
    void VSetPageWindow(HWND hPage) { m_hPage = hPage; }
    // Cleared when the sheet reports its items reverted.
    BOOL BPending() const { return m_bPending; }

    ~CZQColorSettingsSheet() override;

private:
    // What the common property sheet keeps for the callback between its calls.
    struct SheetBlock {
        HANDLE hComPropSheet;
        LONG_PTR hInserted;
        PFNCOMPROPSHEET pfnComPropSheet;
        COMPROPSHEETUI sheetUI;
    };

    LONG LInit(PPROPSHEETUI_INFO pInfo, PageContext* pContext);
    LONG LGetInfoHeader(PPROPSHEETUI_INFO_HEADER pHeader) const;
    LONG LSetResult(PPROPSHEETUI_INFO pInfo, const SETRESULT_INFO* pResult) const;
    void VDestroy();
    BOOL BBuildArrays();
    void VRecordSelection(const CPSUICBPARAM* pParam);
    void VApply();

    PageContext* m_pContext = nullptr;
    HWND m_hPage = nullptr;
    ZQColorOptionNode* m_pHead = nullptr;
    ZQColorOptionNode* m_pTail = nullptr;
    WCHAR m_szTitle[256] = {};
    WCHAR m_szItemName[256] = {};
    POPTPARAM m_pParams = nullptr;
    POPTTYPE m_pTypes = nullptr;
    POPTITEM m_pItems = nullptr;
    DWORD m_dwHeadings = 0, m_dwLists = 0, m_dwEntries = 0;
    BOOL m_bPending = TRUE;

    static SheetBlock* s_pBlock;
};

// The common property sheet the Colour page runs the sheet through; tests put their own in its
// place (null restores the system's). Returns the previous replacement.
typedef LONG(APIENTRY* PFN_ZQCommonPropertySheetUI)(HWND, PFNPROPSHEETUI, LPARAM, LPDWORD);
PFN_ZQCommonPropertySheetUI ZQSetCommonPropertySheetUI(PFN_ZQCommonPropertySheetUI pfn);
LONG ZQRunCommonPropertySheetUI(HWND hOwner, PFNPROPSHEETUI pfnPropSheetUI, LPARAM lParam, LPDWORD pResult);
