#pragma once
// Internal to platform/ui: the caller's child panel of a save dialog, a
// dialog from the caller's template whose dialog procedure is the caller's
// hook, and the layout that puts the file dialog at the panel's placeholder.

#include <QRect>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/save_file_dialog.h"

class SaveFilePanel final : public CDialog {
 public:
  explicit SaveFilePanel(OPENFILENAMEA& ofn) : m_ofn(ofn) {}

  // Creates the panel in the dialog's client area and sends the hook its
  // WM_INITDIALOG; FALSE when the window could not be made.
  [[nodiscard]] BOOL CreateInside(const DialogTemplate& dialogTemplate, CWnd& dialog);
  // The file dialog's place at the panel's size: the placeholder (stc32),
  // or below every control when the template has none.
  [[nodiscard]] QRect Placeholder() const { return m_placeholder; }
  // Grows the panel so that the file dialog gets size, moving the controls
  // right of or below the placeholder by the growth, as the platform does.
  void Fit(QSize size);
  [[nodiscard]] QSize DesignSize() const { return m_designSize; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct Placed {
    HWND control;
    QRect designed;
  };
  OPENFILENAMEA& m_ofn;
  QRect m_placeholder;
  QSize m_designSize;
  std::vector<Placed> m_controls;
};
