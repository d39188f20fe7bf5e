// Placing control bars in a window's client area.

#include "platform/ui/live_call.h"

void CWnd::RepositionBars(UINT first, UINT last, UINT idLeftOver) {
  WithWindow(m_hWnd, [&](WindowRecord& rec) {
    if (!rec.client) return;
    int top = 0, bottom = rec.client->height();
    const int width = rec.client->width();
    HWND leftOver = nullptr;
    for (HWND child : rec.children) {
      if (child->id == idLeftOver && idLeftOver != 0) leftOver = child;
      if (child->id < first || child->id > last || !child->widget || child->widget->isHidden()) continue;
      const int height = child->widget->sizeHint().height();
      // Status bars dock at the bottom; every other bar at the top.
      if (child->className == WC_STATUSBAR || (child->style & CBRS_BOTTOM)) {
        bottom -= height;
        child->widget->setGeometry(0, bottom, width, height);
      } else {
        child->widget->setGeometry(0, top, width, height);
        top += height;
      }
    }
    if (leftOver && leftOver->widget) leftOver->widget->setGeometry(0, top, width, std::max(0, bottom - top));
  });
}
