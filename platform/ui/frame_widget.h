#pragma once
// Internal to platform/ui (Qt): the widgets behind windows that have a client
// area of their own: top-level frames (with an optional menu bar) and plain
// child windows. Their Qt events become window messages.

#include <QWidget>

#include "platform/ui/win_user.h"

class QMenuBar;

class ClientWidget : public QWidget {
 public:
  ClientWidget(HWND hWnd, QWidget* parent);
  // True while a WM_PAINT for this widget is being handled.
  [[nodiscard]] bool InPaint() const { return m_inPaint; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  HWND m_hWnd;
  bool m_inPaint = false;
};

class FrameWidget : public QWidget {
 public:
  FrameWidget(HWND hWnd, QWidget* owner);
  [[nodiscard]] ClientWidget* Client() const { return m_client; }
  void SetMenuBar(QMenuBar* bar);
  // Resizes the frame so that the client area gets this size.
  void SetClientSize(int width, int height);
  [[nodiscard]] int MenuHeight() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void Layout();
  HWND m_hWnd;
  ClientWidget* m_client;
  QMenuBar* m_menuBar = nullptr;
};
