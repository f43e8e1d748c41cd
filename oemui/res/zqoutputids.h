// Resources of the Output page and of the image shift dialog it opens: their templates, the
// illustration of the dialog and the control ids their code and templates share (the logo, the help
// button and the sample page's buttons: zqpageids.h).
#pragma once

#include "res/zqpageids.h"

// Templates.
#define IDD_DLG_OUTPUT 381
#define IDD_DLG_OUTPUT_RTL 385
#define IDD_DLG_IMAGE_SHIFT 915
#define IDD_DLG_IMAGE_SHIFT_RTL 1029

// The illustration of the image shift dialog: a sheet's front and back with their shifts.
#define IDB_IMAGE_SHIFT 988

// Controls of the page: the finishing group, then the output bin group.
#define IDC_GB_OUTPUT_STATIC 527
#define IDC_STA_STAPLE_STATIC 534
#define IDC_STA_PUNCH_STATIC 532
#define IDC_CBO_PUNCH 518
#define IDC_STA_FOLDSTATIC_STATIC 530
#define IDC_CBO_FOLDSTITCH 521
#define IDC_CHK_IMAGE_SHIFT 544
#define IDC_BTN_IMAGE_SHIFT 675
#define IDC_GB_OUTPUT_BIN_OPTIONS 352
#define IDC_STA_OUTPUT_BIN 358
#define IDC_CBO_BIN 354
#define IDC_RB_FACEDOWN 816
#define IDC_RB_FACEUP 817
// The bin's options of the page's family, which this template does not hold: calls on them do
// nothing.
#define IDC_STA_BIN_OPTIONS 360
#define IDC_CBO_BIN_OPTIONS 356

// Controls of the image shift dialog. A side's captions and edits, its millimetre labels and its
// inch labels (hidden in the template) share their places.
#define IDC_GB_IMAGE_SHIFT 983
#define IDC_CHK_FRONT_SHIFT 985
#define IDC_CHK_BACK_SHIFT 986
#define IDC_CHK_REDUCE_FIT 906
#define IDC_CHK_MIRROR_FRONT 907
#define IDC_CHK_USE_INCHES 908
#define IDC_LB_HZ_FRONT 975
#define IDC_LB_VL_FRONT 976
#define IDC_LB_HZ_BACK 977
#define IDC_LB_VL_BACK 978
#define IDC_STA_HZ_FRONT 979
#define IDC_STA_VL_FRONT 980
#define IDC_STA_HZ_BACK 981
#define IDC_STA_VL_BACK 982
#define IDC_IMAGE_SHIFT 987
#define IDC_STA_FH_MM 996
#define IDC_STA_FV_MM 997
#define IDC_STA_BH_MM 998
#define IDC_STA_BV_MM 999
#define IDC_STA_FH_IN 994
#define IDC_STA_FV_IN 995
#define IDC_STA_BH_IN 993
#define IDC_STA_BV_IN 992
#define IDC_STATIC_FRONT 1024
#define IDC_STATIC_BACK 1023

