// Resource ids of the soft-font installer's dialog, shared by the code and the resource script.
#pragma once

#define IDD_DLG_FONTINSTALL 1106
#define IDD_DLG_FONTINSTALL_RTL 2106

#define IDC_BUTTON_ADD 449
#define IDC_BUTTON_BROWSE 455
#define IDC_EDIT1 457
#define IDC_BUTTON_REMOVE 459
#define IDC_LIST1 465
#define IDC_LIST2 466
#define IDC_STA_FONT_FILE_LOCATION 473
#define IDC_STA_ADD_FONT 474
#define IDC_STA_INSTALLED_FONTS 475
