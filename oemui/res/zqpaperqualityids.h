// Resources of the Paper/Quality page: its two templates, the image-enhancement dialog's two
// (its controls and pictures in zqimageenhanceids.h), the control ids the page's code and its templates share, and the page's pictures.
#pragma once

// Templates.
#define IDD_DLG_PAPER_MEDIA 117
#define IDD_DLG_PAPER_MEDIA_RTL 1065
#define IDD_DLG_IMAGE_ENHANCEMENT 202
#define IDD_DLG_IMAGE_ENHANCEMENT_RTL 270

// The logo, the constraint button's pictures and the controls every settings page shares.
#include "res/zqpageids.h"

// Controls of the page.
#define IDC_GB_PRINT_QUALITY 381
#define IDC_CBO_PRINT_QUALITY 382
#define IDC_CHK_THRIFTMODE 384
#define IDC_CHK_GLOSS 392
#define IDC_BTN_PAPERMEDIA_PRINTINGHELP 413
#define IDC_BTN_PAPERMEDIA_PQ_SETTINGS 414
#define IDC_GB_MEDIA_PAPER_OPTIONS 426
#define IDC_LB_MEDIA_PAPER_OPTIONS 427
#define IDC_CHK_MEDIA_PAPER_DIFF 430
#define IDC_CHK_MEDIA_BACK_COVER 431
#define IDC_STA_MEDIA_SOURCE_IS 432
#define IDC_CBO_MEDIA_SOURCE_IS 433
#define IDC_STA_MEDIA_TYPE_IS 434
#define IDC_CBO_MEDIA_TYPE_IS 435
#define IDC_LB_PAGE_EXCEPTIONS_OPTIONS 436
#define IDC_STA_MEDIA_SIZE_IS 437
#define IDC_STA_PAGE_EXCEPTIONS 438
#define IDC_CBO_MEDIA_SIZE_IS 439
#define IDC_STA_MEDIA_SIZE_DIMENSIONS 440
#define IDC_CHECK_BORDERLESS_PHOTO 460
#define IDC_CHECK_BORDERLESS_AUTOFIT 462
#define IDC_BTN_CUSTOM 492
#define IDC_BTN_PAGE_EXCEPTIONS_SETTINGS 493
#define IDC_GB_ORIENTATION 535
#define IDC_COLOR_INPUT_DPI 542
#define IDC_STA_RENDER_DPI 547
#define IDC_COLOR_OUTPUT 549
#define IDC_IMAGE_ENHANCEMENT 563
#define IDC_COLOR_INPUT 564
#define IDC_COLOR_OUTPUT_DPI 567
#define IDC_STA_RENDER 574
#define IDC_BTN_MEDIA_SIZE_DIMENSIONS_ALTX 674
#define IDC_BTN_MARGINS 675
#define IDC_CHK_EXTENDED_MARGINS 677
#define IDC_CHK_MAX_DETAILS 680
#define IDC_OPTIMIZE_FOR 710
#define IDC_RB_DRAWING_TEXT 711
#define IDC_RB_IMAGES 712
#define IDC_RB_STNDARD_OPTIONS 713
#define IDC_RB_CUSTOM_OPTIONS 715
#define IDC_CHK_SAVE_ROLL_PAPER 717
#define IDC_CHK_DISABLE_AUTO_CUTTER 719
#define IDC_CHK_QUIET_PRINTING 720
#define IDC_STA_CURRENTLY_LOADED_INFO 902
#define IDC_STA_ROLL_INFO 903
#define IDC_CHK_AUTOROTATE 904
#define IDC_SLIDER_PQ_SETTINGS 953
#define IDC_STATIC_PQ_QUALITY 954
#define IDC_CHK_OHTINTERLEAVE 976
#define IDC_STATIC_ALERTWND 990
#define IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS 1003
#define IDC_BUTTON_REFRESHALERTS 1989
// The speed label of the quality slider has no id of its own in the template.
#define IDC_STATIC_PQ_SPEED (-1)
// The preview labels are shared with the other pages (common/zquibase.h names them for the code).
#ifdef RC_INVOKED
#define IDC_PREVIEW_DIMENSIONS 889
#define IDC_PREVIEW_DOCSIZE 890
#endif
