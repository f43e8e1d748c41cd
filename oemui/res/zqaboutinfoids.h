// Resources of the About page and the Settings Information page: their templates (left to right,
// right to left), their controls and the logo they draw.
#pragma once

#include "res/zqpageids.h"

// Templates.
#define IDD_DLG_ABOUTPAGE 104
#define IDD_DLG_ABOUTPAGE_RTL 149
#define IDD_DLG_KESTRAPAGE 1020
#define IDD_DLG_KESTRAPAGE_RTL 1021

// The logo and its mask (black where the logo shows).
#define IDB_ABOUT_LOGO_MASK 131
#define IDB_ABOUT_LOGO 135

// Controls of the About page.
#define IDS_PRINTER_NAME 168
#define IDS_COPYRIGHT1 174
#define IDS_COPYRIGHT2 176
#define IDC_STA_FILELIST 182
#define IDC_LB_FILELIST 166
#define IDC_STA_NOTIFICATION 184
#define IDC_LB_NOTIFICATION 170
#define IDC_BITMAP_HOLDER 172

// Controls of the Settings Information page.
#define IDC_STA_PRINTERNAME 1022
#define IDC_STA_INTRO 986
#define IDC_STA_GUIDE 987
#define IDC_STA_NOTE 960
#define IDC_STA_URL 988
