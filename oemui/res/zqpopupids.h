// Resources of the Paper/Quality page's modal helpers: the media-type and paper-size tree pop-ups
// and the "Add Custom Media" confirmation, each in a left-to-right and a right-to-left template.
#pragma once

#include "res/zqpageids.h"

#define IDD_DLG_MEDIATYPE_TREEVIEW_POPUP 178
#define IDD_DLG_MEDIATYPE_TREEVIEW_POPUP_RTL 180
#define IDD_DLG_PAPERSIZE_TREEVIEW_POPUP 910
#define IDD_DLG_PAPERSIZE_TREEVIEW_POPUP_RTL 911
#define IDD_DLG_LQJ_PAPERSIZE_TREEVIEW_POPUP 917
#define IDD_DLG_LQJ_PAPERSIZE_TREEVIEW_POPUP_RTL 918
#define IDD_DLG_ADD_CUSTOM_MEDIA 1013
#define IDD_DLG_ADD_CUSTOM_MEDIA_RTL 1016

// The new-media dialog's picture.
#define IDB_NEW_MEDIA 281

#define IDC_TREE_MEDIATYPE_POPUP 497
#define IDC_RB_METRIC 910
#define IDC_RB_ENGLISH 911
#define IDC_TREE_PAPERSIZE_POPUP 912
#define IDC_SB_DISPLAYIS 913
#define IDC_STA_CUSTOM_MEDIA3 922
#define IDC_STA_CUSTOM_MEDIA4 923
#define IDC_STA_CUSTOM_MEDIA5 924
#define IDC_STA_CUSTOM_MEDIA0 927
