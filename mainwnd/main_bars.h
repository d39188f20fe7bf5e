#pragma once
// What the main window's status bar and toolbar hold, as the application
// creates them.

#include "res/resource_ids.h"

// The message pane, then the lock-key indicators.
inline constexpr UINT kMainIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

// The toolbar as laid out; 0 is a separator.
inline constexpr UINT kMainToolbarButtons[] = {ID_APP_EXIT,   ID_SEPARATOR, ID_ICONS_CLEAR, ID_ICONS_SAVEAS,
                                               ID_ICONS_INFO, ID_SEPARATOR, ID_APP_ABOUT};
