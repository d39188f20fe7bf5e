#pragma once
// The few places above this layer that must build a custom widget reach the
// widget of a window here. Including this header brings Qt in: keep its
// users few and obvious.

#include "platform/ui/win_user.h"

class QWidget;

// The window's widget (a top-level window's frame, a control's own widget);
// null for a dead handle. User-interface thread only.
[[nodiscard]] QWidget* WidgetOfWindow(HWND hWnd);
// Where the window's client area is: below a frame's menu bar, a list's
// viewport. Custom drawing goes here.
[[nodiscard]] QWidget* ClientWidgetOfWindow(HWND hWnd);
// The window record wrapping the widget or its nearest ancestor that has one.
[[nodiscard]] HWND WindowOfWidget(const QWidget* widget);
