#pragma once
// Real mouse input for the program's windows: events go to the top-level
// window, so Qt picks the widget under the point and raises the context
// menu event from the right button as it does for a user's click.

#include <QPoint>
#include <Qt>

#include <functional>

#include "platform/ui/win_user.h"

class QMenu;
class QMenuBar;
class QWidget;

enum class Clicks { Single, Double };

// point is in the client coordinates of window (a list's viewport, the
// main window below its menu bar).
void ClickWindow(HWND window, QPoint point, Qt::MouseButton button, Clicks clicks = Clicks::Single,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The same for a widget of the layer's windows that has no window of its
// own (a menu bar, a popup menu); point is in its coordinates.
void ClickWidget(QWidget* widget, QPoint point, Qt::MouseButton button, Clicks clicks = Clicks::Single,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The menu bar of a top-level window, or null.
[[nodiscard]] QMenuBar* MenuBarOf(HWND window);

// The popup menu that opens while run() runs is handed to look() as soon as
// it shows; then it is closed with Escape unless look() pressed a key that
// chose an item. Answers whether a popup showed.
bool WithNextPopupMenu(const std::function<void()>& run, const std::function<void(QMenu&)>& look);

// Presses and releases key (with modifiers) in widget; a letter without
// Control carries its text, as a menu's mnemonics need.
void PressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The same in the widget of window, which takes the focus first: keys are
// translated where the focus is.
void PressKeyIn(HWND window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
