// Resources of the Watermark Details dialog: its two templates, the colour list's pictures and its
// controls (the sample page's two buttons are zqpageids.h's).
#pragma once

#include "res/zqpageids.h"

#define IDD_DLG_WATER_MARK 108
#define IDD_DLG_WATER_MARK_RTL 152

// The colours' pictures, in the colour list's order.
#define IDB_GRAY 245
#define IDB_RED 246
#define IDB_YELLOW 247
#define IDB_GREEN 248
#define IDB_CYAN 249
#define IDB_BLUE 250
#define IDB_MAGENTA 251

#define IDC_GB_CURLIST 201
#define IDC_LST_WM_NAMES 203
#define IDC_BTN_NEW 205
#define IDC_BTN_DEL 207
#define IDC_GB_WM_MSG 211
#define IDC_TXT_WM_MSG 214
#define IDC_GB_MSG_ANG 216
#define IDC_RB_DIAG 219
#define IDC_RB_HORZ 221
#define IDC_GB_FONT_ATTRIB 224
#define IDC_CBO_FONT_NAME 226
#define IDC_CBO_FONT_SHADE 228
#define IDC_TXT_FONT_SIZE 230
#define IDC_SPIN_BTN_SIZE 232
#define IDC_CBO_FONT_STYLE 234
#define IDC_RB_ANG 236
#define IDC_TXT_ANG 238
#define IDC_SPIN_BTN_ANGLE 240
#define IDC_CBOEX_FONT_CLR 243
#define IDC_STA_FONT_NAME 268
#define IDC_STA_FONT_SHADE 271
#define IDC_STA_FONT_SIZE 274
#define IDC_STA_FONT_STYLE 278
#define IDC_STA_FONT_COLOR 280
