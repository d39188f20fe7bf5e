#include "platform/ui/control_keys.h"

#include <QKeyEvent>
#include <QWidget>
#include <utility>

#include "platform/ui/qt_bridge.h"

namespace {

int QtKeyOf(UINT virtualKey) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return Qt::Key_A + static_cast<int>(virtualKey - 'A');
  if (virtualKey >= '0' && virtualKey <= '9') return Qt::Key_0 + static_cast<int>(virtualKey - '0');
  if (virtualKey >= VK_F1 && virtualKey < VK_F1 + 24u) return Qt::Key_F1 + static_cast<int>(virtualKey - VK_F1);
  return 0;
}

class ControlKey final : public QObject {
 public:
  ControlKey(QWidget* control, int key, Qt::KeyboardModifiers modifiers, std::function<void()> action)
      : QObject(control), m_key(key), m_modifiers(modifiers), m_action(std::move(action)) {}

  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers held =
        key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key->key() != m_key || held != m_modifiers) return false;
    if (type == QEvent::ShortcutOverride) {
      // Ours while the control has the focus: no window shortcut takes it.
      event->accept();
      return true;
    }
    m_action();
    return true;
  }

 private:
  int m_key;
  Qt::KeyboardModifiers m_modifiers;
  std::function<void()> m_action;
};

}  // namespace

void BindControlKey(HWND control, UINT virtualKey, KeyModifiers modifiers, std::function<void()> action) {
  QWidget* widget = WidgetOfWindow(control);
  const int key = QtKeyOf(virtualKey);
  if (widget == nullptr || key == 0 || !action) return;
  const Qt::KeyboardModifiers mods = modifiers == KeyModifiers::kControl ? Qt::ControlModifier : Qt::NoModifier;
  widget->installEventFilter(new ControlKey(widget, key, mods, std::move(action)));
}
