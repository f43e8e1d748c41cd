// Resources of the Colour page: its three pairs of templates (the ordinary page, the simplified
// large-format page and the large-format PostScript page, each left to right and mirrored), its two
// icons and the ids of its controls. A template lacks the controls the others have: the page's calls
// on them do nothing.
#pragma once

#include "res/zqpageids.h"
#include "res/zqquicksetids.h"

// Templates.
#define IDD_DLG_COLORPAGE 101
#define IDD_DLG_COLORPAGE_RTL 175
#define IDD_DLG_COLORPAGE_SUI 330
#define IDD_DLG_COLORPAGE_SUI_RTL 1028
#define IDD_DLG_COLORPAGE_LQJ 395
#define IDD_DLG_COLORPAGE_LQJ_RTL 396

// Icons beside the monochrome and colour radios.
#define IDI_COLOR_MONO 986
#define IDI_COLOR_COLOR 987
// The "Color Settings" sheet's icon.
#define IDI_COLOR_SETTINGS 129

// Colour matching.
#define IDC_GB_CHROMIX 122
#define IDC_RB_AUTO 124
#define IDC_RB_MANUAL 126
#define IDC_BUT_OPT 136
// Colour or greyscale, how greyscale is made, sepia.
#define IDC_RB_MONO 975
#define IDC_RB_COLOR 976
#define IDC_CHK_GRAYSCALE 422
#define IDC_RB_HIGHQUALITY 505
#define IDC_RB_BLACKONLY 507
#define IDC_RB_PHOTOCOPY 509
#define IDC_STA_NEUTRAL_GRAYS 978
#define IDC_CBO_NEUTRAL_GRAYS 977
#define IDC_CHK_PRINTINSEPIA 424
#define IDC_BTN_ADV_COLOR_SETTING 741
#define IDC_GB_COLOR_OPTIONS 927
#define IDC_RB_PRINTINCOLOR 915
#define IDC_CBO_GRAYSCALE 917
#define IDC_STA_MONO_ICON 984
#define IDC_STA_COLOR_ICON 985
// Inks.
#define IDC_GB_CMYK_INKS 444
#define IDC_STA_RGB_COLOR 885
#define IDC_CBO_RGB_COLOR 561
#define IDC_STA_CMYK_COLOR 884
#define IDC_CBO_CMYK_INKS 446
// Colour space, colour management, profiles, cartridges, emulation.
#define IDC_GB_COLOR_SPACE 451
#define IDC_INPUT_COLORSPACE 625
#define IDC_STA_INPUTSPACE 914
#define IDC_STA_INTENT 737
#define IDC_CBO_INTENT 735
#define IDC_STA_PRINT_CART 738
#define IDC_CBO_PRINT_CART 736
#define IDC_STA_ICM_PROFILE 739
#define IDC_STA_PROFILENAME 740
#define IDC_STA_EMULATEPRINTER 742
#define IDC_CBO_EMULATEPRINTER 744
#define IDC_STA_COLOR_MANAGEMENT 926
#define IDC_RB_APPLN_MANAGED_SUI 916
#define IDC_RB_PRINTER_MANAGED 918
#define IDC_STA_PROFILE 743
#define IDC_RB_APP_MANAGED_COLORS 718
#define IDC_RB_INPUTPROFILES 720
#define IDC_STA_CMYK 724
#define IDC_CBO_CMYK 721
#define IDC_STA_RGB 722
#define IDC_CBO_RGB 504
#define IDC_CHK_BLACK_POINT 682
#define IDC_CHK_PANTONE 723
// The simplified page's button.
#define IDC_BTN_FACTORY_DEFAULTS 677
