// Resources of the Features page of the simplified interface: its two templates and the control ids
// its code and its templates share (the controls other pages' templates have too are in
// zqpageids.h).
#pragma once

#include "res/zqpageids.h"

// Templates.
#define IDD_DLG_FEATURESPAGE 912
#define IDD_DLG_FEATURESPAGE_RTL 331

// Basic options: print quality, paper type and source, orientation.
#define IDC_GB_BASIC_OPTIONS 932
#define IDC_STA_PRINT_QUALITY 423
// Resizing: the paper size with borderless printing, actual size or the document on another paper.
#define IDC_GB_RESIZING_OPTIONS 933
// Photo fix.
#define IDC_GB_VIVREL_TECH 952
#define IDC_STA_PHOTOFIX 962
#define IDC_CBO_PHOTOFIX 961
// The resolution read-out beside the sample page, and its button.
#define IDC_BTN_RESOLUTION 995
// Paper saving: two-sided printing, flip pages up, preserve layout, pages per sheet with their order,
// booklets.
#define IDC_GB_PAPER_SAVING 934
#define IDC_STA_TWO_SIDED_PRINTING 949
#define IDC_CBO_TWO_SIDED_PRINTING 918

// Controls of the other templates the page's routines serve: the Features templates lack them, and
// the page leaves a control it does not find alone.
#define IDC_GB_PAPER_OPTIONS_FEATURES 429
#define IDC_GB_PRINT_QUALITY_FEATURES 443
#define IDC_CHK_AUTO_ENHANCE 643
#define IDC_OPTIMIZE_FOR_FEATURES 714
