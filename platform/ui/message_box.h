#pragma once
// Message boxes titled with the application's name, and the hook through
// which tests see every modal run (dialog, message box, popup menu) as it
// starts.

#include <functional>
#include <optional>

#include "platform/ui/cstring.h"

class CDialog;
class CWnd;

int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = 0);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
inline int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  return MessageBoxA(owner, text, caption, type);
}

enum class ModalKind { Dialog, MessageBox, PopupMenu };

struct ModalRun {
  explicit ModalRun(ModalKind k) : kind(k) {}
  ModalKind kind;
  CDialog* dialog = nullptr;  // Dialog: created, initialised and shown
  HWND owner = nullptr;
  CString text;          // MessageBox
  CString caption;       // MessageBox
  UINT type = 0;         // MessageBox: MB_ flags; PopupMenu: TPM_ flags
  HMENU menu = nullptr;  // PopupMenu
};

// Called as a modal run starts. Answering a value ends the run at once with
// it (a dialog's EndDialog value, a box's IDOK/IDYES/IDNO, a menu's chosen
// id or 0); nullopt lets the real dialog, box or menu run, which a test may
// drive through the widgets.
using ModalHook = std::function<std::optional<int>(const ModalRun& run)>;
void SetModalHook(ModalHook hook);
// The hook's answer for run, or nullopt when no hook is set.
[[nodiscard]] std::optional<int> CallModalHook(const ModalRun& run);
