// Resources of the slider dialog over one ordered feature (dry time, ink volume, over-spray),
// opened from the plug-in's push items in the core driver's list. The slider is made at run time
// over its hidden placeholder, under the same id.
#pragma once

#define IDD_DLG_TREEVIEWSLIDER 418
#define IDD_DLG_TREEVIEWSLIDER_RTL 419

#define IDC_GB_TREEVIEWSLIDER 1460
#define IDC_SLIDER_TREEVIEWSLIDER 1461
#define IDC_STA_LESS 1462
#define IDC_STA_MORE 1463
