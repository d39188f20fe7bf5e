#include "platform/ui/status_pane.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

namespace {
// Room between the sunken edge and the text.
constexpr int kTextMargin = 2;
}  // namespace

StatusPane::StatusPane(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  // The pane paints all of itself, so a new text repaints the pane alone,
  // not the bar and the window behind it.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void StatusPane::setText(const QString& text) {
  if (text == m_text) return;
  m_text = text;
  RepaintText();
}

void StatusPane::RepaintText() {
  if (m_repaintPending) return;
  const qint64 since = m_sincePaint.isValid() ? m_sincePaint.elapsed() : kRepaintMs;
  if (since >= kRepaintMs) {
    update(contentsRect());
    return;
  }
  m_repaintPending = true;
  QTimer::singleShot(static_cast<int>(kRepaintMs - since), this, [this] {
    m_repaintPending = false;
    update(contentsRect());
  });
}

void StatusPane::setAlignment(Qt::Alignment alignment) {
  m_alignment = alignment;
  update();
}

QSize StatusPane::sizeHint() const {
  const int frame = 2 * frameWidth();
  return QSize(frame + 2 * kTextMargin, fontMetrics().height() + frame);
}

QSize StatusPane::minimumSizeHint() const { return sizeHint(); }

void StatusPane::paintEvent(QPaintEvent* event) {
  m_sincePaint.start();
  {
    QPainter background(this);
    background.fillRect(event->rect(), palette().color(backgroundRole()));
  }
  QFrame::paintEvent(event);
  if (m_text.isEmpty()) return;
  QPainter painter(this);
  const QRect area = contentsRect().adjusted(kTextMargin, 0, -kTextMargin, 0);
  painter.setClipRect(area);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(area, static_cast<int>(m_alignment | Qt::TextSingleLine), m_text);
}
