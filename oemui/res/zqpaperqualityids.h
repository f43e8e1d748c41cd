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
#define IDC_BTN_PAPERMEDIA_PQ_SETTINGS 414
#define IDC_GB_MEDIA_PAPER_OPTIONS 426
#define IDC_LB_PAGE_EXCEPTIONS_OPTIONS 436
#define IDC_STA_PAGE_EXCEPTIONS 438
#define IDC_STA_MEDIA_SIZE_DIMENSIONS 440
#define IDC_BTN_PAGE_EXCEPTIONS_SETTINGS 493
#define IDC_GB_ORIENTATION 535
#define IDC_BTN_MEDIA_SIZE_DIMENSIONS_ALTX 674
#define IDC_OPTIMIZE_FOR 710
#define IDC_RB_STNDARD_OPTIONS 713
#define IDC_RB_CUSTOM_OPTIONS 715
#define IDC_SLIDER_PQ_SETTINGS 953
#define IDC_STATIC_PQ_QUALITY 954
#define IDC_CHK_OHTINTERLEAVE 976
#define IDC_BTN_CONSTRAINT_PAGE_EXCEPTIONS 1003
// The speed label of the quality slider has no id of its own in the template.
#define IDC_STATIC_PQ_SPEED (-1)
