#pragma once
// Laying out a window that is not shown yet.

#include "platform/ui/win_user.h"

// A hidden top-level window resized by MoveWindow may place its client
// area only when it is first shown. This places it now, so that the client
// size read right after (and the sizes registered from it) is final.
void FlushPendingLayout(HWND hWnd);
