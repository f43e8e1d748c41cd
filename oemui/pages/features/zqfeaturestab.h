// CZQFeaturesTab: the Features page of the simplified interface. So far it lends the Paper/Quality
// page the help table of the media-type tree pop-up, which both pages open.
#pragma once

#include <windows.h>

struct PageContext;

class CZQFeaturesTab {
public:
    // Room for the pairs (control id, help id) of the media-type tree, ended by (0, 0).
    static constexpr int kMediaPopupHelpPairs = 2;
    // The tree's help is the core driver's media-type item's; without it the pair holds 0.
    static void VGetMediaPopupHelpIds(HWND hDlg, DWORD* pdwTable, PageContext* pContext);
};
