// "BUTTON": push buttons, check boxes, radio buttons and group boxes.

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "platform/ui/button.h"
#include "platform/ui/control_support.h"
#include "platform/ui/gdi_internal.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

namespace {

class ButtonBehavior final : public WindowBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    HWND self = &rec;
    const DWORD type = rec.style & BS_TYPEMASK;
    QWidget* w = nullptr;
    if (type == BS_GROUPBOX) {
      m_group = new QGroupBox(parent);
      // A group box frames its siblings; it takes no input of its own.
      m_group->setAttribute(Qt::WA_TransparentForMouseEvents);
      m_group->setFocusPolicy(Qt::NoFocus);
      w = m_group;
    } else {
      if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) {
        auto* box = new QCheckBox(parent);
        box->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
        m_button = box;
      } else if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
        m_button = new QRadioButton(parent);
      } else {
        m_button = new QPushButton(parent);
      }
      rec.Connect(m_button, &QAbstractButton::clicked, [self] {
        if (WindowRecord* r = LiveRecord(self)) NotifyParentCommand(*r, BN_CLICKED);
      });
      if (!(rec.style & WS_TABSTOP)) m_button->setFocusPolicy(Qt::ClickFocus);
      w = m_button;
      InstallControlEvents(rec, w);
    }
    return w;
  }

  // Only what is sent as messages: check marks by dialog data exchange,
  // update handlers and the program's own calls, clicks by dialog keys.
  std::optional<LRESULT> Handle(WindowRecord&, UINT message, WPARAM wParam, LPARAM) override {
    switch (message) {
      case BM_GETCHECK:
        return Check();
      case BM_SETCHECK:
        SetCheck(wParam);
        return 0;
      case BM_CLICK:
        Click();
        return 0;
      default:
        return std::nullopt;
    }
  }

  [[nodiscard]] int Check() const {
    auto* box = qobject_cast<QCheckBox*>(m_button);
    UINT state = BST_UNCHECKED;
    if (box) {
      state = box->checkState() == Qt::Checked            ? BST_CHECKED
              : box->checkState() == Qt::PartiallyChecked ? BST_INDETERMINATE
                                                          : BST_UNCHECKED;
    } else if (m_button && m_button->isCheckable() && m_button->isChecked()) {
      state = BST_CHECKED;
    }
    return static_cast<int>(state);
  }

  void SetCheck(WPARAM check) {
    if (auto* box = qobject_cast<QCheckBox*>(m_button)) {
      box->setCheckState(check == BST_CHECKED         ? Qt::Checked
                         : check == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                      : Qt::Unchecked);
    } else if (m_button && m_button->isCheckable()) {
      m_button->setChecked(check == BST_CHECKED);
    }
  }

  [[nodiscard]] UINT State() const {
    UINT state = static_cast<UINT>(Check());
    if (m_button && m_button->isDown()) state |= 0x0004;
    if (m_button && m_button->hasFocus()) state |= 0x0008;
    return state;
  }

  void Click() {
    if (m_button && m_button->isEnabled()) m_button->click();
  }

  HICON SetIcon(HICON icon) {
    if (!m_button) return nullptr;
    HICON old = m_icon;
    m_icon = icon;
    QImage image = IconToImage(m_icon);
    m_button->setIcon(image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image)));
    if (!image.isNull()) m_button->setIconSize(image.size());
    return old;
  }

  [[nodiscard]] HICON Icon() const { return m_icon; }

  std::string Text(const WindowRecord& rec) const override { return rec.text; }

  void SetText(WindowRecord& rec, const std::string& text) override {
    rec.text = text;
    // Button captions keep "&" as the mnemonic marker, as Qt reads it too.
    if (m_group) m_group->setTitle(ToQt(text));
    if (m_button) m_button->setText(ToQt(text));
  }

 private:
  QGroupBox* m_group = nullptr;
  QAbstractButton* m_button = nullptr;
  HICON m_icon = nullptr;
};

}  // namespace

std::unique_ptr<WindowBehavior> MakeButtonBehavior() { return std::make_unique<ButtonBehavior>(); }

// A button that is gone answers 0, as a message to it would.

int CButton::GetCheck() const {
  return ControlCall<ButtonBehavior>(m_hWnd, 0, [](ButtonBehavior& button) { return button.Check(); });
}

void CButton::SetCheck(int check) {
  ControlCall<ButtonBehavior>(m_hWnd, 0, [&](ButtonBehavior& button) {
    button.SetCheck(static_cast<WPARAM>(check));
    return 0;
  });
}

UINT CButton::GetState() const {
  return ControlCall<ButtonBehavior>(m_hWnd, 0u, [](ButtonBehavior& button) { return button.State(); });
}

HICON CButton::SetIcon(HICON icon) {
  return ControlCall<ButtonBehavior>(m_hWnd, nullptr, [&](ButtonBehavior& button) { return button.SetIcon(icon); });
}

HICON CButton::GetIcon() const {
  return ControlCall<ButtonBehavior>(m_hWnd, nullptr, [](ButtonBehavior& button) { return button.Icon(); });
}

void CButton::Click() {
  ControlCall<ButtonBehavior>(m_hWnd, 0, [](ButtonBehavior& button) {
    button.Click();
    return 0;
  });
}
