// Resources of the Effects page: its two templates and the control ids its code and its templates
// share (the logo, the help button and the sample page's buttons: zqpageids.h).
#pragma once

#include "res/zqpageids.h"

// Templates.
#define IDD_DLG_EFFECTSPAGE 106
#define IDD_DLG_EFFECTSPAGE_RTL 171

// Controls of the page: the resizing options, the watermarks and the margins.
#define IDC_GB_WATER_MARK 183
#define IDC_CBO_WATERMARKS 186
#define IDC_CHK_FIRST_PAGE_WM 187
#define IDC_BTN_EDIT_WM 188
#define IDC_CTL_HSCROLL 194
// Controls of the page's family that these templates do not hold: calls on them do nothing, and
// their help rows name no window (the second scale control and the quick-set controls).
#define IDC_STA_NORMAL_SIZE 192
#include "res/zqquicksetids.h"
