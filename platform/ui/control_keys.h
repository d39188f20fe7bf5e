#pragma once
// Keys a control answers beyond the designed accelerator table, the way
// Linux file choosers answer Ctrl+H: handled while the control has the
// focus, before its own key handling, and nowhere else.

#include <functional>

#include "platform/ui/win_user.h"

enum class KeyModifiers { kNone, kControl };

// Runs action on the user-interface thread when the key (a virtual-key
// code: 'A'..'Z', VK_F5, ...) with exactly these modifiers is pressed in
// the control. Lives as long as the control's widget.
void BindControlKey(HWND control, UINT virtualKey, KeyModifiers modifiers, std::function<void()> action);
