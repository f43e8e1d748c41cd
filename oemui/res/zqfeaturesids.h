// Resources of the Features page of the simplified interface: its two templates and the control ids
// its code and its templates share (the logo, the help button, the sample page, the orientation
// radios and the print-preview box are every page's: zqpageids.h).
#pragma once

#include "res/zqpageids.h"

// Templates.
#define IDD_DLG_FEATURESPAGE 912
#define IDD_DLG_FEATURESPAGE_RTL 331

// Basic options: print quality, paper type and source, orientation.
#define IDC_GB_BASIC_OPTIONS 932
#define IDC_STA_PRINT_QUALITY 423
#define IDC_CBO_PRINT_QUALITY 382
#define IDC_STA_MEDIA_TYPE_IS 434
#define IDC_CBO_MEDIA_TYPE_IS 435
#define IDC_STA_MEDIA_SOURCE_IS 432
#define IDC_CBO_MEDIA_SOURCE_IS 433
// Resizing: the paper size with borderless printing, actual size or the document on another paper.
#define IDC_GB_RESIZING_OPTIONS 933
#define IDC_STA_MEDIA_SIZE_IS 437
#define IDC_CBO_MEDIA_SIZE_IS 439
#define IDC_CHECK_BORDERLESS_PHOTO 460
#define IDC_RB_ACTUAL_SIZE 500
#define IDC_RB_PRINT_DOC_ON 499
#define IDC_CBO_DEST_PAPER_SIZE 197
// Photo fix.
#define IDC_GB_VIVREL_TECH 952
#define IDC_STA_PHOTOFIX 962
#define IDC_CBO_PHOTOFIX 961
// The resolution read-out beside the sample page, and its button.
#define IDC_STA_RENDER_DPI 547
#define IDC_COLOR_OUTPUT 549
#define IDC_STA_RENDER 574
#define IDC_COLOR_INPUT 564
#define IDC_COLOR_OUTPUT_DPI 567
#define IDC_COLOR_INPUT_DPI 542
#define IDC_BTN_RESOLUTION 995
// Paper saving: two-sided printing, flip pages up, preserve layout, pages per sheet with their order,
// booklets.
#define IDC_GB_PAPER_SAVING 934
#define IDC_STA_TWO_SIDED_PRINTING 949
#define IDC_CBO_TWO_SIDED_PRINTING 918
#define IDC_CHK_FLIP_PAGES_UP 269
#define IDC_CHK_PRESERVE_LAYOUT 276
#define IDC_STA_PAGES_PER_SHEET 425
#define IDC_CBO_PAGES_PER_SHEET 390
#define IDC_STA_PAGE_ORDER 266
#define IDC_CBO_PAGE_ORDER 261
#define IDC_STA_BOOKLET 426
#define IDC_CBO_BOOKLET_PRINTING 389
#define IDC_BTN_PRINTER_SERVICES 678

// Controls of the other templates the page's routines serve: the Features templates lack them, and
// the page leaves a control it does not find alone.
#define IDC_TXT_NORMAL_SIZE 181
#define IDC_GB_PRINT_DOC 190
#define IDC_CHK_FIT_TO_SCALE 199
#define IDC_CHK_PAGE_BORDER 257
#define IDC_CHK_THRIFTMODE 384
#define IDC_CHK_GLOSS 392
#define IDC_BTN_PAPERMEDIA_PRINTINGHELP 413
#define IDC_LB_MEDIA_PAPER_OPTIONS 427
#define IDC_GB_PAPER_OPTIONS_FEATURES 429
#define IDC_CHK_MEDIA_PAPER_DIFF 430
#define IDC_CHK_MEDIA_BACK_COVER 431
#define IDC_GB_PRINT_QUALITY_FEATURES 443
#define IDC_CBO_STAPLE 445
#define IDC_CHECK_EMULATE_MARGINS 456
#define IDC_CHECK_SYMMETRICAL_MARGINS 458
#define IDC_CHECK_BORDERLESS_AUTOFIT 462
#define IDC_CHECK_MINIMIZE_MARGINS 463
#define IDC_BTN_CUSTOM 492
#define IDC_RB_SCALING 501
#define IDC_IMAGE_ENHANCEMENT 563
#define IDC_CHK_AUTO_ENHANCE 643
#define IDC_BTN_MARGINS 675
#define IDC_CHK_EXTENDED_MARGINS 677
#define IDC_CHK_MAX_DETAILS 680
#define IDC_CHK_MIRROR 681
#define IDC_RB_DRAWING_TEXT 711
#define IDC_RB_IMAGES 712
#define IDC_OPTIMIZE_FOR_FEATURES 714
#define IDC_CHK_SAVE_ROLL_PAPER 717
#define IDC_CHK_DISABLE_AUTO_CUTTER 719
#define IDC_CHK_QUIET_PRINTING 720
#define IDC_GB_MARGIN 827
#define IDC_CHECK_CENTER_ON_PAGE 828
#define IDC_PREVIEW_DIMENSIONS 889
#define IDC_STA_CURRENTLY_LOADED_INFO 902
#define IDC_STA_ROLL_INFO 903
#define IDC_CHK_AUTOROTATE 904
