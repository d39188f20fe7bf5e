#pragma once
// The private message the main window answers with the icon list's popup
// menu: wParam WM_RBUTTONDOWN, lParam the screen point as two unsigned
// 16-bit halves (x low, y high). Nothing in the program sends it.

#include "platform/ui/win_user.h"

inline constexpr UINT WM_ICON_MENU_NOTIFY = 0xBE10;
