// Resources of the Task Presets group that pages share and of its name dialog.
#pragma once

// The group on a page.
#define IDC_GB_PRE_SETS 483
#define IDC_CBO_PRESET 485
#define IDC_BTN_SAVE_PRESET 489
#define IDC_BTN_DELETE_PRESET 490

// The name dialog, left-to-right and mirrored.
#define IDD_DLG_PRESET_NAME 154
#define IDD_DLG_PRESET_NAME_RTL 161
#define IDC_GB_PRESET_NAME 491
#define IDC_STA_PRESET_NAME 493
#define IDC_TXT_PRESET_NAME 494
