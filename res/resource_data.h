#pragma once
// The single resources the table in glimra_resources.cpp lists; each is
// defined in the file named after it.

#include <span>

#include "platform/ui/resources.h"

extern const DialogTemplate kMainDialogTemplate;            // main_dialog.cpp
extern const DialogTemplate kHelpMissingDialogTemplate;     // help_missing_dialog.cpp
extern const DialogTemplate kSavePanelDialogTemplate;       // save_panel_dialog.cpp
extern const DialogTemplate kIconInfoDialogTemplate;        // icon_info_dialog.cpp
extern const MenuTemplate kMainMenu;                        // menus.cpp
extern const MenuTemplate kIconPopupMenu;                   // menus.cpp
extern const AcceleratorTable kMainAccelerators;            // menus.cpp
extern const ToolbarTemplate kMainToolbar;                  // toolbar.cpp
extern const BitmapResource kMainToolbarBitmap;             // toolbar.cpp (pixels from toolbar.bmp)
extern const IconResource kApplicationIcon;                 // generated from glimra.ico
extern const std::span<const StringResource> kStringTable;  // strings.cpp
