#include "platform/ui/wait_cursor.h"

#include <QApplication>
#include <QCursor>

#include "platform/ui/ui_call.h"

namespace {
int g_depth = 0;  // user-interface thread only
}

CWaitCursor::CWaitCursor() {
  UiCallVoid([] {
    ++g_depth;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  });
}

CWaitCursor::~CWaitCursor() {
  UiCallVoid([] {
    --g_depth;
    QApplication::restoreOverrideCursor();
  });
}

bool IsWaitCursorShown() {
  return UiCall([] {
    const QCursor* shown = QApplication::overrideCursor();
    return g_depth > 0 && shown != nullptr && shown->shape() == Qt::WaitCursor;
  });
}
