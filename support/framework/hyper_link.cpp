// The link's look and its click live in the control's widget, one of the
// few places of the library that reach Qt.
#include "support/framework/hyper_link.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFont>
#include <QMouseEvent>
#include <QObject>
#include <QPalette>
#include <QUrl>
#include <QWidget>

#include <mutex>
#include <utility>

#include "platform/ui/qt_bridge.h"

IMPLEMENT_DYNAMIC(CHyperLink, CStatic)

namespace {

std::mutex g_openerMutex;
UrlOpener g_opener;

bool DesktopOpen(const std::string& url) {
  return QDesktopServices::openUrl(QUrl::fromUserInput(QString::fromStdString(url)));
}

// Follows the link on a left click released over the control.
class LinkClickFilter final : public QObject {
 public:
  LinkClickFilter(QObject* parent, HWND hWnd) : QObject(parent), m_hWnd(hWnd) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      auto* widget = qobject_cast<QWidget*>(watched);
      if (mouse->button() == Qt::LeftButton && widget != nullptr && widget->rect().contains(mouse->pos())) {
        if (auto* link = dynamic_cast<CHyperLink*>(CWnd::FromHandlePermanent(m_hWnd))) {
          link->FollowLink();
          return true;
        }
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  HWND m_hWnd;
};

}  // namespace

void SetUrlOpener(UrlOpener opener) {
  std::lock_guard lock(g_openerMutex);
  g_opener = std::move(opener);
}

bool OpenUrl(const std::string& url) {
  UrlOpener opener;
  {
    std::lock_guard lock(g_openerMutex);
    opener = g_opener;
  }
  return opener ? opener(url) : DesktopOpen(url);
}

CHyperLink::CHyperLink() = default;
CHyperLink::~CHyperLink() = default;

void CHyperLink::SetURL(CString url) {
  m_strURL = std::move(url);
  ApplyLinkLook();
}

BOOL CHyperLink::FollowLink() {
  CString target = m_strURL;
  if (target.IsEmpty()) {
    GetWindowText(target);
  }
  if (target.IsEmpty()) {
    return FALSE;
  }
  return OpenUrl(target.str()) ? TRUE : FALSE;
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_hWnd != m_hStyled) {
    ApplyLinkLook();
  }
  return CStatic::WindowProc(message, wParam, lParam);
}

void CHyperLink::ApplyLinkLook() {
  if (m_hWnd == nullptr || m_hWnd == m_hStyled) {
    return;
  }
  QWidget* widget = WidgetOfWindow(m_hWnd);
  if (widget == nullptr) {
    return;
  }
  m_hStyled = m_hWnd;
  QFont font = widget->font();
  font.setUnderline(true);
  widget->setFont(font);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
  palette.setColor(QPalette::Text, QColor(0, 0, 255));
  widget->setPalette(palette);
  widget->setCursor(Qt::PointingHandCursor);
  widget->setAttribute(Qt::WA_TransparentForMouseEvents, false);
  widget->installEventFilter(new LinkClickFilter(widget, m_hWnd));
}
