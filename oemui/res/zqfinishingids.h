// Resources of the Finishing page: its two templates and the control ids its code and its
// templates share (the logo, the constraint pictures and the shared controls: zqpageids.h).
#pragma once

#include "res/zqpageids.h"

// Templates.
#define IDD_DLG_FINISHINGPAGE 110
#define IDD_DLG_FINISHINGPAGE_RTL 169

// Controls of the page. The orientation group has an id of its own on this page.
#define IDC_GB_DOC_OPTIONS 255
#define IDC_CHK_ROTATED 259
#define IDC_CHK_DUPLEX 264
#define IDC_CHK_STRAIGHT_PAPER_PATH 272
#define IDC_BTN_SELECT_TILES 519
#define IDC_GB_FINISHING_ORIENTATION 540
#define IDC_CHK_ROTATE90 716
#define IDC_GB_PREVIEW_PRINT_FIN 730
#define IDC_CHK_USE_AUTO_DUPLEX_UNIT 901
#define IDC_BTN_CONSTRAINT_MANUAL_DUPLEX 986
#define IDC_BTN_CONSTRAINT_BOOKLET_PRINTING 987
#define IDC_BTN_CONSTRAINT_NUP 988
// The stapling controls of the page's family, which this template does not hold: calls on them do
// nothing.
#define IDC_STA_STAPLING 461
