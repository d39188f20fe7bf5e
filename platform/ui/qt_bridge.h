#pragma once
// The few places above this layer that must build a custom widget reach the
// widget of a window here. Including this header brings Qt in: keep its
// users few and obvious.

#include "platform/ui/win_user.h"

class QWidget;

// The window's widget (its client area for windows with a frame, menu or
// bars); null for a dead handle. User-interface thread only.
[[nodiscard]] QWidget* WidgetOfWindow(HWND hWnd);
// The window record wrapping the widget or its nearest ancestor that has one.
[[nodiscard]] HWND WindowOfWidget(const QWidget* widget);
