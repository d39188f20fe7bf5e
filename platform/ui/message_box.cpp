#include "platform/ui/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "platform/ui/cwnd.h"
#include "platform/ui/resources.h"
#include "platform/ui/ui_call.h"
#include "platform/ui/win_app.h"
#include "platform/ui/window_record.h"

namespace {
ModalHook& Hook() {
  static ModalHook hook;
  return hook;
}

struct ButtonSpec {
  QMessageBox::StandardButton button;
  int result;
};

std::vector<ButtonSpec> ButtonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
      return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
      return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
      return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
      return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
      return {{QMessageBox::Ok, IDOK}};
  }
}

QMessageBox::Icon IconFor(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
      return QMessageBox::Critical;
    case MB_ICONQUESTION:
      return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
      return QMessageBox::Warning;
    case MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}
}  // namespace

void SetModalHook(ModalHook hook) { Hook() = std::move(hook); }

std::optional<int> CallModalHook(const ModalRun& run) {
  if (!Hook()) return std::nullopt;
  return Hook()(run);
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  return UiCall([&]() -> int {
    ModalRun run{ModalKind::MessageBox};
    run.owner = owner;
    run.text = text ? text : "";
    // A null caption is the platform's "Error"; the class library passes the application's name.
    run.caption = caption ? caption : "Error";
    run.type = type;
    if (std::optional<int> answer = CallModalHook(run)) return *answer;

    QMessageBox box(IconFor(type), ToQt(run.caption.str()), ToQt(run.text.str()), QMessageBox::NoButton);
    box.setWindowModality(Qt::ApplicationModal);
    std::vector<ButtonSpec> buttons = ButtonsFor(type);
    for (const ButtonSpec& b : buttons) box.addButton(b.button);
    std::size_t def = (type & MB_DEFMASK) == MB_DEFBUTTON2 ? 1 : 0;
    if (def < buttons.size()) box.setDefaultButton(buttons[def].button);
    // Escape answers Cancel where there is one, else the only button.
    if (buttons.size() == 1) box.setEscapeButton(buttons[0].button);
    // The owner is disabled while the box runs, as the platform does.
    const bool disableOwner = LiveRecord(owner) && ::IsWindowEnabled(owner);
    if (disableOwner) ::EnableWindow(owner, FALSE);
    box.exec();
    if (disableOwner && LiveRecord(owner)) ::EnableWindow(owner, TRUE);
    QAbstractButton* clicked = box.clickedButton();
    for (const ButtonSpec& b : buttons) {
      if (clicked && box.standardButton(clicked) == b.button) return b.result;
    }
    // Closed without a button: Cancel if offered, else the first button's answer.
    for (const ButtonSpec& b : buttons) {
      if (b.result == IDCANCEL) return IDCANCEL;
    }
    return buttons.front().result;
  });
}

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
  CWnd* main = AfxGetMainWnd();
  return MessageBoxA(main ? main->m_hWnd : nullptr, text, AfxGetAppName(), type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT helpId) {
  const char* text = FindStringResource(promptId);
  return AfxMessageBox(text ? text : "", type, helpId);
}
