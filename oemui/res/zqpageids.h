// Resources the settings pages share: the maker's logo and the constraint button's pictures, the
// controls that keep their ids on every page that has them (the logo's place, the help button, the
// sample page's two buttons and labels, the orientation radios, the print-preview box and the alert
// strip), and the other controls several pages' templates have, each defined here once.
#pragma once

// The alert strip's placeholder and refresh button.
#include "res/zqalertids.h"

// Pictures: the maker's logo with its mask, the constraint button's two states (left to right and
// right to left).
#define IDB_ZQLOGO_MASK 107
#define IDB_ZQLOGO 109
#define IDB_CONSTRAINT_RTL 132
#define IDB_CONSTRAINT_PRESSED 134
#define IDB_CONSTRAINT_PRESSED_RTL 1012
#define IDB_CONSTRAINT 1013
// The marker beside page kinds that take their own paper (the Paper/Quality page draws it).
#define IDI_PAGE_KIND_MARKER 217

// Controls.
#define IDC_ZQLOGO_HOLDER 111
#define IDC_BTN_HELP 409
#define IDC_BTN_PREVIEW_LAND 441
#define IDC_BTN_PREVIEW_PORT 442
#define IDC_RB_PORTRAIT 536
#define IDC_RB_LANDSCAPE 538
#define IDC_CHK_SHOW_PREVIEW_FIN 729

// Controls several pages' templates have, with the same id on each.
#define IDC_TXT_NORMAL_SIZE 181
#define IDC_GB_PRINT_DOC 190
#define IDC_CBO_DEST_PAPER_SIZE 197
#define IDC_CHK_FIT_TO_SCALE 199
#define IDC_CHK_PAGE_BORDER 257
#define IDC_CBO_PAGE_ORDER 261
#define IDC_STA_PAGE_ORDER 266
#define IDC_CHK_FLIP_PAGES_UP 269
#define IDC_CHK_PRESERVE_LAYOUT 276
#define IDC_CBO_PRINT_QUALITY 382
#define IDC_CHK_THRIFTMODE 384
#define IDC_CBO_BOOKLET_PRINTING 389
#define IDC_CBO_PAGES_PER_SHEET 390
#define IDC_CHK_GLOSS 392
#define IDC_BTN_DCUI_PRINTINGHELP 411
#define IDC_BTN_PAPERMEDIA_PRINTINGHELP 413
#define IDC_STA_PAGES_PER_SHEET 425
#define IDC_STA_BOOKLET 426
#define IDC_LB_MEDIA_PAPER_OPTIONS 427
#define IDC_CHK_MEDIA_PAPER_DIFF 430
#define IDC_CHK_MEDIA_BACK_COVER 431
#define IDC_STA_MEDIA_SOURCE_IS 432
#define IDC_CBO_MEDIA_SOURCE_IS 433
#define IDC_STA_MEDIA_TYPE_IS 434
#define IDC_CBO_MEDIA_TYPE_IS 435
#define IDC_STA_MEDIA_SIZE_IS 437
#define IDC_CBO_MEDIA_SIZE_IS 439
#define IDC_CBO_STAPLE 445
#define IDC_CHECK_EMULATE_MARGINS 456
#define IDC_CHECK_SYMMETRICAL_MARGINS 458
#define IDC_CHECK_BORDERLESS_PHOTO 460
#define IDC_CHECK_BORDERLESS_AUTOFIT 462
#define IDC_CHECK_MINIMIZE_MARGINS 463
#define IDC_BTN_CUSTOM 492
#define IDC_RB_PRINT_DOC_ON 499
#define IDC_RB_ACTUAL_SIZE 500
#define IDC_RB_SCALING 501
#define IDC_COLOR_INPUT_DPI 542
#define IDC_STA_RENDER_DPI 547
#define IDC_COLOR_OUTPUT 549
#define IDC_IMAGE_ENHANCEMENT 563
#define IDC_COLOR_INPUT 564
#define IDC_COLOR_OUTPUT_DPI 567
#define IDC_STA_RENDER 574
#define IDC_BTN_MARGINS 675
#define IDC_CHK_EXTENDED_MARGINS 677
#define IDC_BTN_PRINTER_SERVICES 678
#define IDC_CHK_MAX_DETAILS 680
#define IDC_CHK_MIRROR 681
#define IDC_RB_DRAWING_TEXT 711
#define IDC_RB_IMAGES 712
#define IDC_CHK_SAVE_ROLL_PAPER 717
#define IDC_CHK_DISABLE_AUTO_CUTTER 719
#define IDC_CHK_QUIET_PRINTING 720
#define IDC_GB_MARGIN 827
#define IDC_CHECK_CENTER_ON_PAGE 828
#define IDC_STA_CURRENTLY_LOADED_INFO 902
#define IDC_STA_ROLL_INFO 903
#define IDC_CHK_AUTOROTATE 904
// The sample page's labels: the paper, and the document's size while it prints on another paper
// (common/zquibase.h names them for the code).
#ifdef RC_INVOKED
#define IDC_PREVIEW_DIMENSIONS 889
#define IDC_PREVIEW_DOCSIZE 890
#endif
