#pragma once
// Where a minimized window draws its icon: centred in the client area, the
// odd pixel going to the left and top, as the platform's dialog code does.

#include "platform/ui/geometry.h"

[[nodiscard]] inline CPoint MinimizedIconOrigin(const CRect& client, int iconWidth, int iconHeight) {
  return CPoint((client.Width() - iconWidth + 1) / 2, (client.Height() - iconHeight + 1) / 2);
}
