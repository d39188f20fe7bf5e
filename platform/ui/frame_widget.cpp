#include "platform/ui/frame_widget.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QResizeEvent>

#include "platform/ui/window_record.h"

namespace {

WPARAM MouseKeys(const QMouseEvent* e) {
  WPARAM keys = 0;
  if (e->buttons() & Qt::LeftButton) keys |= 0x0001;   // MK_LBUTTON
  if (e->buttons() & Qt::RightButton) keys |= 0x0002;  // MK_RBUTTON
  if (e->modifiers() & Qt::ShiftModifier) keys |= 0x0004;
  if (e->modifiers() & Qt::ControlModifier) keys |= 0x0008;
  return keys;
}

LPARAM PackPoint(QPoint p) { return MAKELPARAM(static_cast<unsigned>(p.x()), static_cast<unsigned>(p.y())); }

UINT ButtonMessage(Qt::MouseButton button, UINT left, UINT right) {
  if (button == Qt::LeftButton) return left;
  if (button == Qt::RightButton) return right;
  return 0;
}

}  // namespace

ClientWidget::ClientWidget(HWND hWnd, QWidget* parent) : QWidget(parent), m_hWnd(hWnd) { setAutoFillBackground(true); }

void ClientWidget::paintEvent(QPaintEvent*) {
  if (!LiveRecord(m_hWnd)) return;
  m_inPaint = true;
  DeliverMessage(m_hWnd, WM_PAINT, 0, 0);
  m_inPaint = false;
}

void ClientWidget::resizeEvent(QResizeEvent* event) {
  WindowRecord* rec = LiveRecord(m_hWnd);
  if (!rec || rec->destroying) return;
  UINT kind = SIZE_RESTORED;
  if (window()->isMinimized())
    kind = SIZE_MINIMIZED;
  else if (window()->isMaximized())
    kind = SIZE_MAXIMIZED;
  DeliverMessage(
      m_hWnd, WM_SIZE, kind,
      MAKELPARAM(static_cast<unsigned>(event->size().width()), static_cast<unsigned>(event->size().height())));
}

void ClientWidget::mousePressEvent(QMouseEvent* event) {
  UINT msg = ButtonMessage(event->button(), WM_LBUTTONDOWN, WM_RBUTTONDOWN);
  if (msg && LiveRecord(m_hWnd)) DeliverMessage(m_hWnd, msg, MouseKeys(event), PackPoint(event->position().toPoint()));
}

void ClientWidget::mouseReleaseEvent(QMouseEvent* event) {
  UINT msg = ButtonMessage(event->button(), WM_LBUTTONUP, WM_RBUTTONUP);
  if (msg && LiveRecord(m_hWnd)) DeliverMessage(m_hWnd, msg, MouseKeys(event), PackPoint(event->position().toPoint()));
}

void ClientWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  UINT msg = ButtonMessage(event->button(), WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK);
  if (msg && LiveRecord(m_hWnd)) DeliverMessage(m_hWnd, msg, MouseKeys(event), PackPoint(event->position().toPoint()));
}

void ClientWidget::contextMenuEvent(QContextMenuEvent* event) {
  if (!LiveRecord(m_hWnd)) return;
  DeliverMessage(m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd), PackPoint(event->globalPos()));
  event->accept();
}

FrameWidget::FrameWidget(HWND hWnd, QWidget* owner)
    : QWidget(owner, Qt::Window), m_hWnd(hWnd), m_client(new ClientWidget(hWnd, this)) {}

void FrameWidget::SetMenuBar(QMenuBar* bar) {
  if (m_menuBar && m_menuBar != bar) m_menuBar->setParent(nullptr);
  m_menuBar = bar;
  if (bar) {
    bar->setParent(this);
    bar->show();
  }
  Layout();
}

int FrameWidget::MenuHeight() const { return m_menuBar ? m_menuBar->sizeHint().height() : 0; }

void FrameWidget::SetClientSize(int width, int height) {
  resize(width, height + MenuHeight());
  // A hidden widget gets its resize event only when shown; lay out now.
  Layout();
}

void FrameWidget::Layout() {
  int menu = MenuHeight();
  if (m_menuBar) m_menuBar->setGeometry(0, 0, width(), menu);
  m_client->setGeometry(0, menu, width(), std::max(0, height() - menu));
}

void FrameWidget::resizeEvent(QResizeEvent*) { Layout(); }

void FrameWidget::closeEvent(QCloseEvent* event) {
  // The window system's close box asks; the window's map decides (a dialog
  // turns it into IDCANCEL, a plain window destroys itself by default).
  event->ignore();
  WindowRecord* rec = LiveRecord(m_hWnd);
  if (rec && !rec->destroying) DeliverMessage(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void FrameWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  WindowRecord* rec = LiveRecord(m_hWnd);
  if (!rec || rec->destroying) return;
  UINT kind = isMinimized() ? SIZE_MINIMIZED : (isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED);
  QSize s = m_client->size();
  DeliverMessage(m_hWnd, WM_SIZE, kind,
                 MAKELPARAM(static_cast<unsigned>(s.width()), static_cast<unsigned>(s.height())));
}

void FrameWidget::moveEvent(QMoveEvent*) {
  WindowRecord* rec = LiveRecord(m_hWnd);
  if (!rec || rec->destroying) return;
  QPoint p = m_client->mapToGlobal(QPoint(0, 0));
  DeliverMessage(m_hWnd, WM_MOVE, 0, MAKELPARAM(static_cast<unsigned>(p.x()), static_cast<unsigned>(p.y())));
}
