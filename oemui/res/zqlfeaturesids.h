// Resources of the large-format Features page (roll printers with the simplified interface): its two
// templates and the control ids its code and its templates share. The logo, the help button and the
// sample page are every page's (zqpageids.h); the alert strip's two controls are the shared
// pattern's (zqalertids.h).
#pragma once

#include "res/zqalertids.h"
#include "res/zqpageids.h"

// Templates.
#define IDD_DLG_FEATURESPAGELQJ 1018
#define IDD_DLG_FEATURESPAGELQJ_RTL 1027

// Resizing: actual size, the document on another paper, a percentage with its scroll bar.
#define IDC_CBO_DEST_PAPER_SIZE_SUI 989
#define IDC_RB_ACTUAL_SIZE_SUI 991
#define IDC_RB_PRINT_DOC_ON_SUI 992
#define IDC_RB_SCALING_SUI 993
#define IDC_TXT_NORMAL_SIZE_SUI 994
#define IDC_CTL_HSCROLL_SUI 995
#define IDC_GB_PRINT_DOC_SUI 996
// Paper saving: pages per sheet, their order and borders; the print preview.
#define IDC_GB_PAPERSAVINGOPT_SUI 997
#define IDC_STA_PAGES_PER_SHEET_SUI 998
#define IDC_CBO_PAGES_PER_SHEET_SUI 999
#define IDC_STA_PAGE_ORDER_SUI 1000
#define IDC_CBO_PAGE_ORDER_SUI 1001
#define IDC_CHK_PAGE_BORDER_SUI 1002
#define IDC_CHK_SHOW_PREVIEW_FIN_SUI 1003
// Roll saving.
#define IDC_GB_ROLLSAVINGOPT_SUI 1004
#define IDC_CHK_DISABLE_AUTO_CUTTER_SUI 1005
#define IDC_CHK_SAVE_ROLL_PAPER_SUI 1006
#define IDC_CHK_REMOVE_MARGINS_SUI 1007
#define IDC_CHK_ROTATE90_SUI 1008
#define IDC_CHK_AUTOROTATE_SUI 1012
// Accounting.
#define IDC_GB_ACCOUNTING_SUI 1009
#define IDC_STA_ACCOUNTID_SUI 1010
#define IDC_TXT_ACCOUNTID_SUI 1011
