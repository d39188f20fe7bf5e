#pragma once
// Numeric ids of the program's resources, controls and commands. The ids
// belong to the resource templates; code addresses everything through these.

#include "platform/ui/win_app.h"
#include "platform/ui/win_user.h"

// ---- templates, menus, bitmaps
inline constexpr UINT IDR_MAINFRAME = 128;   // icon group, toolbar and its bitmap
inline constexpr UINT IDR_ICON_POPUP = 129;  // the icon list's popup menu
inline constexpr UINT IDR_MAIN_MENU = 130;
inline constexpr UINT IDD_SAVE_PANEL = 136;  // the save dialog's preview panel
inline constexpr UINT IDR_ACCELERATOR = 137;
inline constexpr UINT IDD_GLIMRA_DIALOG = 500;
inline constexpr UINT IDD_ICON_INFO = 501;
inline constexpr UINT IDD_HELP_MISSING = 503;

// ---- strings
inline constexpr UINT IDS_ABOUTBOX = 101;
// The address of the on-line help page.
inline constexpr UINT IDS_HELP_URL = 61460;
// The application title is the class library's standard title string.
inline constexpr UINT IDS_APP_TITLE = AFX_IDS_APP_TITLE;

// The system menu entry that opens the About box.
inline constexpr UINT IDM_ABOUTBOX = 0x0010;

// ---- controls of dialog 500
inline constexpr int IDC_LIST_ICON = 1000;
inline constexpr int IDC_FOLDER_TREE = 1001;
inline constexpr int IDC_ICON_LIST = 1002;
inline constexpr int IDC_RECURSIVE = 1017;
inline constexpr int IDC_FILE_LIST = 1034;
inline constexpr int IDC_PATH_SELECTOR = 1088;
inline constexpr int IDC_FILE_TYPE = 1089;
inline constexpr int IDC_ICON_LIST_GROUP = 1090;
inline constexpr int IDC_FILE_TYPE_LABEL = 1091;

// ---- controls of dialog 501
inline constexpr int IDC_INFO_SOURCE = 1004;
inline constexpr int IDC_INFO_ID = 1006;
inline constexpr int IDC_INFO_WIDTH = 1007;
inline constexpr int IDC_INFO_HEIGHT = 1009;
inline constexpr int IDC_INFO_BITS = 1010;
inline constexpr int IDC_INFO_COUNT = 1011;
inline constexpr int IDC_INFO_IMAGES = 1012;
inline constexpr int IDC_INFO_PREVIEW = 1016;

// ---- controls of dialog 136
inline constexpr int IDC_SAVE_SOURCE = 1019;
inline constexpr int IDC_SAVE_ICON_ID = 1020;
inline constexpr int IDC_SAVE_ICON_FRAME = 1022;

// ---- controls of dialog 503
inline constexpr int IDC_HELP_BIG_ICON = 1008;
inline constexpr int IDC_HELP_LINK = 1087;

// ---- commands
inline constexpr UINT ID_ICONS_CLEAR = 32771;
inline constexpr UINT ID_ICONS_SAVEAS = 32772;
inline constexpr UINT ID_ICONS_INFO = 32776;
// Beyond the design: getting icons out of the window.
inline constexpr UINT ID_ICONS_COPY = 32777;
inline constexpr UINT ID_ICONS_EXPORT = 32778;
