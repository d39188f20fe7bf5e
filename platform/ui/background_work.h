#pragma once
// Work that must not hold up the user-interface thread (reading a folder
// that may sit on a slow mount) and the steps that bring its result back.
// These serve the window's own additions; the designed workers keep to the
// thread library.

#include <functional>

#include "platform/ui/ui_call.h"
#include "platform/ui/win_user.h"

// Runs work on a thread of its own and returns at once. The thread is not
// joined: a read stuck on a dead mount must not hold up the program's end,
// so work owns whatever it uses and hands its result on with UiLater
// (platform/ui/ui_call.h).
void RunOffUiThread(std::function<void()> work);

// UiLater for steps that work on a window: each is dropped when the window
// is gone by the time it would run. Made on the user-interface thread; the
// answer may be called from any thread (a worker handing its result back).
using WindowSteps = std::function<void(std::function<void()> op)>;
[[nodiscard]] WindowSteps LaterStepsFor(HWND window);
