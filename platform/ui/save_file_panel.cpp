#include "platform/ui/save_file_panel.h"

#include <algorithm>

#include "platform/ui/window_record.h"

BOOL SaveFilePanel::CreateInside(const DialogTemplate& dialogTemplate, CWnd& dialog) {
  if (!CreateIndirect(dialogTemplate, &dialog)) return FALSE;
  WindowRecord* rec = LiveRecord(m_hWnd);
  if (!rec || !rec->widget) return FALSE;
  m_designSize = rec->widget->size();
  int bottom = 0;
  bool found = false;
  for (HWND child : rec->children) {
    WindowRecord* c = LiveRecord(child);
    if (!c || !c->widget) continue;
    if (c->id == static_cast<UINT>(stc32)) {
      m_placeholder = c->widget->geometry();
      c->widget->hide();
      found = true;
      continue;
    }
    bottom = std::max(bottom, c->widget->geometry().bottom() + 1);
    m_controls.push_back({child, c->widget->geometry()});
  }
  if (!found) {
    // Without a placeholder the dialog's controls come below the panel's.
    m_placeholder = QRect(0, bottom, m_designSize.width(), 0);
    m_designSize.setHeight(bottom);
  }
  return TRUE;
}

void SaveFilePanel::Fit(QSize size) {
  WindowRecord* rec = LiveRecord(m_hWnd);
  if (!rec || !rec->widget) return;
  const int dx = std::max(0, size.width() - m_placeholder.width());
  const int dy = std::max(0, size.height() - m_placeholder.height());
  rec->widget->resize(m_designSize.width() + dx, m_designSize.height() + dy);
  for (const Placed& p : m_controls) {
    WindowRecord* c = LiveRecord(p.control);
    if (!c || !c->widget) continue;
    QRect r = p.designed;
    if (r.left() >= m_placeholder.left() + m_placeholder.width()) r.translate(dx, 0);
    if (r.top() >= m_placeholder.top() + m_placeholder.height()) r.translate(0, dy);
    c->widget->setGeometry(r);
  }
}

LRESULT SaveFilePanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The hook's WM_INITDIALOG carries the caller's structure.
  if (message == WM_INITDIALOG) lParam = reinterpret_cast<LPARAM>(&m_ofn);
  if ((m_ofn.Flags & OFN_ENABLEHOOK) && m_ofn.lpfnHook) {
    HWND self = m_hWnd;
    const UINT_PTR handled = m_ofn.lpfnHook(self, message, wParam, lParam);
    if (!LiveRecord(self)) return 0;
    if (handled) return static_cast<LRESULT>(handled);
  }
  if (message == WM_INITDIALOG) return TRUE;
  return CDialog::WindowProc(message, wParam, lParam);
}
