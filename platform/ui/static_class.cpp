// "STATIC": text, icons and frames.

#include <QLabel>
#include <QMouseEvent>

#include "platform/ui/control_support.h"
#include "platform/ui/gdi_internal.h"
#include "platform/ui/static_text.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

namespace {

class StaticLabel final : public QLabel {
 public:
  StaticLabel(HWND hWnd, QWidget* parent) : QLabel(parent), m_hWnd(hWnd) {}

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    WindowRecord* rec = LiveRecord(m_hWnd);
    if (rec && (rec->style & SS_NOTIFY) && event->button() == Qt::LeftButton) NotifyParentCommand(*rec, STN_CLICKED);
  }

 private:
  HWND m_hWnd;
};

class StaticBehavior final : public WindowBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    m_record = &rec;
    m_label = new StaticLabel(&rec, parent);
    m_label->setTextFormat(Qt::PlainText);
    Apply(rec);
    InstallControlEvents(rec, m_label);
    return m_label;
  }

  void StyleChanged(WindowRecord& rec) override { Apply(rec); }

  HICON SetIcon(HICON icon) {
    HICON old = m_icon;
    m_icon = icon;
    Apply(*m_record);
    return old;
  }

  [[nodiscard]] HICON Icon() const { return m_icon; }

  void SetText(WindowRecord& rec, const std::string& text) override {
    rec.text = text;
    Apply(rec);
  }

 private:
  void Apply(WindowRecord& rec) {
    const DWORD type = rec.style & SS_TYPEMASK;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
    if (type == SS_CENTER) align = Qt::AlignHCenter | Qt::AlignTop;
    if (type == SS_RIGHT) align = Qt::AlignRight | Qt::AlignTop;
    if (type == SS_ICON) align = Qt::AlignLeft | Qt::AlignTop;
    if (rec.style & SS_CENTERIMAGE) align = (align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    if (type == SS_ICON && (rec.style & SS_CENTERIMAGE)) align = Qt::AlignCenter;
    m_label->setAlignment(align);
    m_label->setWordWrap(type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
    if (type == SS_ETCHEDFRAME || type == SS_BLACKFRAME || type == SS_GRAYFRAME || type == SS_WHITEFRAME) {
      m_label->setFrameStyle(QFrame::Box | QFrame::Sunken);
    } else if (rec.style & SS_SUNKEN) {
      m_label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    } else {
      m_label->setFrameStyle(QFrame::NoFrame);
    }
    if (type == SS_ICON) {
      QImage image = IconToImage(m_icon);
      m_label->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
      return;
    }
    // "&x" marks a mnemonic unless SS_NOPREFIX; "&&" shows one "&".
    QString shown = ToQt(rec.text);
    if (!(rec.style & SS_NOPREFIX)) {
      QString plain;
      for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i] == u'&' && i + 1 < shown.size()) ++i;
        plain += shown[i];
      }
      shown = plain;
    }
    m_label->setText(shown);
  }

  WindowRecord* m_record = nullptr;  // owns this behaviour
  QLabel* m_label = nullptr;
  HICON m_icon = nullptr;
};

}  // namespace

std::unique_ptr<WindowBehavior> MakeStaticBehavior() { return std::make_unique<StaticBehavior>(); }

// A static control that is gone answers 0, as a message to it would.

HICON CStatic::SetIcon(HICON icon) {
  return ControlCall<StaticBehavior>(m_hWnd, nullptr, [&](StaticBehavior& label) { return label.SetIcon(icon); });
}

HICON CStatic::GetIcon() const {
  return ControlCall<StaticBehavior>(m_hWnd, nullptr, [](StaticBehavior& label) { return label.Icon(); });
}
