#pragma once
// Internal to platform/ui (Qt): one pane of a status bar. A new text only
// repaints the pane: its size never depends on the text, so a program that
// shows a message per file of a listing costs no layout pass per message.

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
  QString m_text;
  Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};
