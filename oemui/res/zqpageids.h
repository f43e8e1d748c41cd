// Resources the settings pages share: the maker's logo and the constraint button's pictures, and
// the controls that keep their ids on every page that has them (the logo's place, the help
// button, the sample page's two buttons, the orientation radios and the print-preview box).
#pragma once

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
