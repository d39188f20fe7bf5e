// Reaches Qt: the pending layout lives in the window's frame widget.
#include "support/framework/pending_layout.h"

#include <QApplication>
#include <QResizeEvent>
#include <QWidget>

#include "platform/ui/qt_bridge.h"

void FlushPendingLayout(HWND hWnd) {
  QWidget* client = WidgetOfWindow(hWnd);
  QWidget* frame = client != nullptr ? client->window() : nullptr;
  if (frame == nullptr || frame->isVisible()) {
    return;  // a shown window lays itself out on every resize
  }
  QResizeEvent resize(frame->size(), frame->size());
  QApplication::sendEvent(frame, &resize);
}
