// Resources of the Effects page: its two templates and the control ids its code and its templates
// share (the logo, the help button and the sample page's buttons: zqpageids.h).
#pragma once

#include "res/zqpageids.h"

// Templates.
#define IDD_DLG_EFFECTSPAGE 106
#define IDD_DLG_EFFECTSPAGE_RTL 171

// Controls of the page: the resizing options, the watermarks and the margins.
#define IDC_TXT_NORMAL_SIZE 181
#define IDC_GB_WATER_MARK 183
#define IDC_CBO_WATERMARKS 186
#define IDC_CHK_FIRST_PAGE_WM 187
#define IDC_BTN_EDIT_WM 188
#define IDC_GB_PRINT_DOC 190
#define IDC_CTL_HSCROLL 194
#define IDC_CBO_DEST_PAPER_SIZE 197
#define IDC_CHK_FIT_TO_SCALE 199
#define IDC_CHECK_EMULATE_MARGINS 456
#define IDC_CHECK_SYMMETRICAL_MARGINS 458
#define IDC_CHECK_MINIMIZE_MARGINS 463
#define IDC_RB_PRINT_DOC_ON 499
#define IDC_RB_ACTUAL_SIZE 500
#define IDC_RB_SCALING 501
#define IDC_GB_MARGIN 827
#define IDC_CHECK_CENTER_ON_PAGE 828
// Controls of the page's family that these templates do not hold: calls on them do nothing, and
// their help rows name no window (the second scale control and the quick-set controls).
#define IDC_STA_NORMAL_SIZE 192
#include "res/zqquicksetids.h"
// The preview label is shared with every page that has one (common/zquibase.h names it for the
// code); the alert strip's controls are zqalertids.h's.
#ifdef RC_INVOKED
#define IDC_PREVIEW_DIMENSIONS 889
#endif
