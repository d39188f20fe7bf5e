#pragma once
// Internal to platform/ui (Qt): one pane of a status bar. A new text only
// repaints the pane: its size never depends on the text, so a program that
// shows a message per file of a listing costs no layout pass per message.
// Nor does it cost a repaint per message: the pane repaints at most once
// per kRepaintMs, showing the text it holds by then; nobody reads faster.

#include <QElapsedTimer>
#include <QFrame>
#include <QString>

class StatusPane final : public QFrame {
 public:
  explicit StatusPane(QWidget* parent);

  [[nodiscard]] const QString& text() const { return m_text; }
  void setText(const QString& text);
  void setAlignment(Qt::Alignment alignment);

  [[nodiscard]] QSize sizeHint() const override;
  [[nodiscard]] QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int kRepaintMs = 30;
  void RepaintText();
  QElapsedTimer m_sincePaint;
  bool m_repaintPending = false;
  QString m_text;
  Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};
