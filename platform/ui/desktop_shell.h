#pragma once
// What a Linux desktop expects of a program beyond its windows: the name of
// its desktop entry (so that the window manager matches the windows to the
// entry and its icon), files and folders dropped from a file manager, and
// the session's request to end a program (SIGTERM), which arrives as the
// main window's Close, as the window manager's close button sends it.

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/win_user.h"

// The application id: the desktop entry's file name without ".desktop".
// Before the first window is created.
void SetDesktopEntryName(const char* applicationId);
[[nodiscard]] std::string GetDesktopEntryName();

// Local files and folders dropped onto the window (or onto a control in it
// that takes no drops of its own) go to onDrop, in the order the drag
// carries them; a drag that carries no local path is refused.
using DroppedPathsFn = std::function<void(const std::vector<std::string>& paths)>;
void AcceptDroppedPaths(HWND window, DroppedPathsFn onDrop);

// From now on SIGTERM sends the current main window WM_SYSCOMMAND SC_CLOSE
// (or ends the message loop when there is none). AfxWinMain calls it.
void CloseMainWindowOnTerminate();
