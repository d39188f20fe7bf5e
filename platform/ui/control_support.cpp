#include "platform/ui/control_support.h"

#include <strings.h>
#include <QContextMenuEvent>
#include <QMouseEvent>

namespace {

class ControlEvents final : public QObject {
 public:
  explicit ControlEvents(HWND hWnd) : m_hWnd(hWnd) {}

  bool eventFilter(QObject*, QEvent* event) override {
    WindowRecord* rec = LiveRecord(m_hWnd);
    if (!rec || rec->destroying) return false;
    switch (event->type()) {
      case QEvent::ContextMenu: {
        auto* e = static_cast<QContextMenuEvent*>(event);
        QPoint p = e->globalPos();
        DeliverMessage(m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd),
                       MAKELPARAM(static_cast<unsigned>(p.x()), static_cast<unsigned>(p.y())));
        return true;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        const bool press = event->type() == QEvent::MouseButtonPress;
        UINT msg = 0;
        if (e->button() == Qt::LeftButton) msg = press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        if (e->button() == Qt::RightButton) msg = press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        if (!msg || !rec->client) return false;
        QPoint p = rec->client->mapFromGlobal(e->globalPosition().toPoint());
        DeliverMessage(m_hWnd, msg, 0, MAKELPARAM(static_cast<unsigned>(p.x()), static_cast<unsigned>(p.y())));
        return false;
      }
      default:
        return false;
    }
  }

 private:
  HWND m_hWnd;
};

}  // namespace

void InstallControlEvents(WindowRecord& record, QWidget* surface) {
  if (!record.eventFilter) record.eventFilter = std::make_unique<ControlEvents>(&record);
  surface->installEventFilter(record.eventFilter.get());
}

int CompareNoCase(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()); }

bool StartsWithNoCase(const std::string& whole, const std::string& prefix) {
  return whole.size() >= prefix.size() && strncasecmp(whole.c_str(), prefix.c_str(), prefix.size()) == 0;
}
