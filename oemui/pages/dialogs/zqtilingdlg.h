// CZQTilingSelectionDlg: the tiles of a poster printed as n x n sheets, shown as a grid of buttons
// labelled "Page 1" .. "Page n*n"; a click leaves a tile out or takes it back, Select All and Remove
// All take every tile, and OK writes the 25 tile flags into the working settings. The Finishing page
// opens it from its Select Tiles button; the core driver's tile push item of the simplified interface
// opens the one the logic object keeps. Each opener names its form in the record it hands the
// dialog, which keeps the record with its window: nothing of one opening reaches another.
#pragma once

#include "common/zquibase.h"

class CZQUILogic;
struct PageContext;
struct ZQOemDialogParam;

class CZQTilingSelectionDlg : public CZQUIBase {
public:
    static constexpr int kTileCount = 25;
    // The tile buttons' ids: the first tile's, then one up per tile asked for.
    static constexpr int kFirstTileId = 2430;

    // How the dialog was opened, and what it works on: a page's poster option, or the poster the
    // logic object's features hold (the push item's form).
    struct Opening {
        enum Form : DWORD { kPage = 1, kPushItem = 2 } form;
        CZQUILogic* pLogic;      // the working settings
        int iPosterOption;       // the page's form: the poster the page's list shows
    };

    CZQTilingSelectionDlg();

    // The page's form: the dialog over the page, for the page's poster option (right-to-left template
    // when asked), from the module of the page's OEMCUIPPARAM, which the dialog is bound to. 1 OK,
    // 2 Cancel or closed, -1 when it could not be shown.
    INT_PTR IDoModal(HWND hOwner, PageContext* pContext, int iPosterOption, BOOL bRightToLeft);
    // The push item's form: the dialog the logic object keeps, over the core driver's page; its
    // result.
    static INT_PTR IRunFromPushItem(ZQOemDialogParam* pParam);
    static INT_PTR CALLBACK TilingSelectionDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // The tile selection changed on OK since the sheet opened; stays so until cleared.
    BOOL BChanged() const { return m_bChanged; }
    void VClearChanged() { m_bChanged = FALSE; }

    // The height of the tiles' labels (a font height: negative, in pixels) for n tiles a side in the
    // menu font of that face.
    static int ILabelHeight(int nTilesPerSide, PCWSTR pszFace);

    // ---- for the tests: the state the dialog works on
    int ITilesPerSide() const { return m_nTilesPerSide; }
    const DWORD* Tiles() const { return m_adwTiles; }

private:
    BOOL BInitDialog(HWND hDlg, const Opening* pOpening);
    BOOL BOnCommand(HWND hDlg, int iCtrlId, HWND hCtrl, const Opening* pOpening);
    void VDrawTile(const DRAWITEMSTRUCT* pDraw);
    // The tile buttons over the template's grid area, n to a row.
    void VMakeTiles(HWND hDlg);
    void VShowSelectedCount();

    HWND m_hDlg = nullptr;
    HWND m_hSelectAll = nullptr;
    HWND m_hRemoveAll = nullptr;
    HWND m_hPrompt = nullptr;
    HWND m_hSelectedCount = nullptr;
    HWND m_hOk = nullptr;
    HWND m_hCancel = nullptr;
    int m_nTilesPerSide = 1;
    DWORD m_adwTiles[kTileCount] = {};
    BOOL m_bChanged = FALSE;
    int m_aiTileIds[kTileCount] = {};
    HWND m_hLastTile = nullptr;  // not owned: the buttons go with the dialog
};
