// Resources of the desktop Printing Shortcuts page: its template pair, the picture of the custom
// settings, and the controls it has beside those it shares with the large-format page.
#pragma once

#include "res/zqshortcutsids.h"

// Templates (left to right, mirrored).
#define IDD_DLG_DOC_CENTRIC_UI 393
#define IDD_DLG_DOC_CENTRIC_UI_RTL 394

// The document type's picture while the settings are the user's own.
#define IDB_DOCTYPE_CUSTOM 273

// The document types and their picture.
#define IDC_CBO_DOCTYPE_SETTING 572
#define IDC_DOCTYPE_HOLDER 632
#define IDC_GB_DOCTYPE_SETTING 810
