// Resources of the tile selection dialog: its two templates and its controls. The 25 tile places
// are hidden, disabled buttons that only mark the grid area; the dialog makes the tile buttons.
#pragma once

#define IDD_DLG_TILING_SELECTION 195
#define IDD_DLG_TILING_SELECTION_RTL 196

#define IDC_TILE1 523
#define IDC_STA_TILE_SELECTED 524
#define IDC_TILE2 525
#define IDC_TILE3 526
#define IDC_TILE4 527
#define IDC_TILE5 528
#define IDC_BTN_SELECTALL 529
#define IDC_BTN_REMOVEALL 531
#define IDC_TILE6 577
#define IDC_TILE7 578
#define IDC_TILE8 579
#define IDC_TILE9 580
#define IDC_TILE10 581
#define IDC_TILE11 582
#define IDC_TILE12 583
#define IDC_TILE13 584
#define IDC_TILE14 585
#define IDC_TILE15 586
#define IDC_TILE16 587
#define IDC_TILE17 588
#define IDC_TILE18 589
#define IDC_TILE19 590
#define IDC_TILE20 591
#define IDC_TILE21 592
#define IDC_TILE22 593
#define IDC_BUTTON23 594
#define IDC_TILE24 595
#define IDC_TILE25 596
#define IDC_STA_TILE_TEXT 812
