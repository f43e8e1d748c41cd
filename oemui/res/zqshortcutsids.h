// Resources of the large-format Printing Shortcuts page: its template pair, the row and paper
// pictures, and the ids of its controls. The panel's controls made at run time take ids from 500.
#pragma once

#include "res/zqpageids.h"

// Templates (left to right, mirrored).
#define IDD_DLG_DOC_CENTRIC_UI_SUI 328
#define IDD_DLG_DOC_CENTRIC_UI_SUI_RTL 1066

// Pictures: a list row without a picture of its own, and the paper in both orientations.
#define IDB_SHORTCUT_DEFAULT 964
#define IDB_PAPER_PORTRAIT 306
#define IDB_PAPER_LANDSCAPE 308

// The shortcut list, its message, Save As and Delete, the titles.
#define IDC_LB_DOCTYPE_SETTING 956
#define IDC_STA_TITLE1 958
#define IDC_STA_TITLE2 959
#define IDC_BTN_SAVE 960
#define IDC_BTN_DELETE 961
#define IDC_STA_MESSAGE 962
// The notes shown while the settings differ from the shortcut.
#define IDC_DOCUI_CUSTOM1 706
#define IDC_DOCUI_CUSTOM2 707
#define IDC_DOCUI_CUSTOM3 708
// The panel's rows: a picture holder and a control holder each.
#define IDC_DC_BMP_HOLDER1 684
#define IDC_DC_CTL_HOLDER1 694
#define IDC_DC_PANEL_ROWS 8
// Scaling and Copies.
#define IDC_STA_FS_COPIES 608
#define IDC_STA_FS_SCALING 610
#define IDC_TXT_FC_SCALING 651
#define IDC_DC_SCALING_HOLDER 653
#define IDC_TXT_FC_COPIES 655
#define IDC_DC_COPY_HOLDER 657
#define IDC_SPIN_SCALING 672
#define IDC_SPIN_COPIES 673
// The print-quality slider's end labels.
#define IDC_STATIC_DOCUI_PQ_SPEED 963
#define IDC_STATIC_DOCUI_PQ_QUALITY 965
