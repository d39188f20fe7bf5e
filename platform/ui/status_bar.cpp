// Status bars: a row of panes; pane 0 stretches and is the window text.

#include "platform/ui/status_bar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <atomic>

#include "platform/ui/control_support.h"
#include "platform/ui/live_call.h"
#include "platform/ui/resources.h"
#include "platform/ui/status_pane.h"
#include "platform/ui/win_app.h"

IMPLEMENT_DYNAMIC(CStatusBar, CWnd)

namespace {

std::atomic<bool> g_caps{false}, g_num{false}, g_scroll{false};

// The lock-key panes' texts, shown while the key is on.
const char* LockText(UINT id) {
  switch (id) {
    case ID_INDICATOR_CAPS:
      return "CAP";
    case ID_INDICATOR_NUM:
      return "NUM";
    case ID_INDICATOR_SCRL:
      return "SCRL";
    default:
      return nullptr;
  }
}

bool LockOn(UINT id) {
  switch (id) {
    case ID_INDICATOR_CAPS:
      return GetLockKeyState(LockKey::Caps);
    case ID_INDICATOR_NUM:
      return GetLockKeyState(LockKey::Num);
    case ID_INDICATOR_SCRL:
      return GetLockKeyState(LockKey::Scroll);
    default:
      return false;
  }
}

}  // namespace

class StatusBarBehavior final : public WindowBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    m_bar = new QFrame(parent);
    m_layout = new QHBoxLayout(m_bar);
    m_layout->setContentsMargins(2, 2, 2, 2);
    m_layout->setSpacing(2);
    InstallControlEvents(rec, m_bar);
    SetIndicators(nullptr, 0);
    return m_bar;
  }

  void SetIndicators(const UINT* ids, int count) {
    for (StatusPane* pane : m_panes) delete pane;
    m_panes.clear();
    m_ids.clear();
    if (count <= 0 || !ids) {
      m_ids.push_back(ID_SEPARATOR);
    } else {
      m_ids.assign(ids, ids + count);
    }
    for (std::size_t i = 0; i < m_ids.size(); ++i) {
      auto* pane = new StatusPane(m_bar);
      if (i == 0) {
        m_layout->addWidget(pane, 1);
      } else {
        const char* sample = LockText(m_ids[i]);
        const char* fromTable = sample ? nullptr : FindStringResource(m_ids[i]);
        QString widest = QString::fromUtf8(sample ? sample : (fromTable ? fromTable : ""));
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(widest) + 12);
        pane->setAlignment(Qt::AlignCenter);
        m_layout->addWidget(pane, 0);
        if (fromTable) pane->setText(QString::fromUtf8(fromTable));
      }
      m_panes.push_back(pane);
    }
    Refresh();
  }

  void Refresh() {
    for (std::size_t i = 1; i < m_ids.size(); ++i) {
      if (const char* text = LockText(m_ids[i])) m_panes[i]->setText(LockOn(m_ids[i]) ? text : "");
    }
  }

  std::optional<LRESULT> Handle(WindowRecord&, UINT message, WPARAM, LPARAM) override {
    if (message == WM_IDLEUPDATECMDUI) {
      Refresh();
      return 0;
    }
    return std::nullopt;
  }

  std::string Text(const WindowRecord&) const override { return m_panes.empty() ? "" : FromQt(m_panes[0]->text()); }
  void SetText(WindowRecord& rec, const std::string& text) override {
    rec.text = text;
    if (!m_panes.empty()) m_panes[0]->setText(ToQt(text));
  }

  std::vector<UINT> m_ids;
  std::vector<StatusPane*> m_panes;
  QFrame* m_bar = nullptr;
  QHBoxLayout* m_layout = nullptr;
};

std::unique_ptr<WindowBehavior> MakeStatusBarBehavior() { return std::make_unique<StatusBarBehavior>(); }

void SetLockKeyState(LockKey key, bool on) {
  (key == LockKey::Caps ? g_caps : key == LockKey::Num ? g_num : g_scroll) = on;
}

bool GetLockKeyState(LockKey key) { return key == LockKey::Caps ? g_caps : key == LockKey::Num ? g_num : g_scroll; }

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
  return CWnd::CreateEx(0, WC_STATUSBAR, "", style | WS_CHILD, RECT{0, 0, 0, 0}, parent, id);
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
  return WithBehavior<StatusBarBehavior>(m_hWnd, FALSE, [&](StatusBarBehavior& bar) -> BOOL {
    bar.SetIndicators(ids, count);
    return TRUE;
  });
}

int CStatusBar::GetCount() const {
  return WithBehavior<StatusBarBehavior>(
      m_hWnd, 0, [&](StatusBarBehavior& bar) -> int { return static_cast<int>(bar.m_ids.size()); });
}

UINT CStatusBar::GetItemID(int index) const {
  return WithBehavior<StatusBarBehavior>(m_hWnd, 0, [&](StatusBarBehavior& bar) -> UINT {
    if (index < 0 || static_cast<std::size_t>(index) >= bar.m_ids.size()) return 0;
    return bar.m_ids[static_cast<std::size_t>(index)];
  });
}

int CStatusBar::CommandToIndex(UINT id) const {
  return WithBehavior<StatusBarBehavior>(m_hWnd, -1, [&](StatusBarBehavior& bar) -> int {
    for (std::size_t i = 0; i < bar.m_ids.size(); ++i) {
      if (bar.m_ids[i] == id) return static_cast<int>(i);
    }
    return -1;
  });
}

BOOL CStatusBar::SetPaneText(int index, LPCTSTR text, BOOL) {
  if (index == 0) {
    SetWindowText(text);
    return TRUE;
  }
  return WithBehavior<StatusBarBehavior>(m_hWnd, FALSE, [&](StatusBarBehavior& bar) -> BOOL {
    if (index < 0 || static_cast<std::size_t>(index) >= bar.m_panes.size()) return FALSE;
    bar.m_panes[static_cast<std::size_t>(index)]->setText(QString::fromUtf8(text ? text : ""));
    return TRUE;
  });
}

CString CStatusBar::GetPaneText(int index) const {
  return WithBehavior<StatusBarBehavior>(m_hWnd, CString(), [&](StatusBarBehavior& bar) -> CString {
    if (index < 0 || static_cast<std::size_t>(index) >= bar.m_panes.size()) return CString();
    return CString(FromQt(bar.m_panes[static_cast<std::size_t>(index)]->text()));
  });
}

int CStatusBar::GetBarHeight() const {
  return WithWindow(m_hWnd, 0,
                    [&](WindowRecord& rec) -> int { return rec.widget ? rec.widget->sizeHint().height() : 0; });
}
