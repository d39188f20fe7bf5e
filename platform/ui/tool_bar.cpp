// Toolbars: a row of image buttons for commands, with tooltips and
// status-bar prompts from the string table.

#include "platform/ui/tool_bar.h"

#include <QAction>
#include <QToolBar>

#include "platform/ui/cmd_ui.h"
#include "platform/ui/control_support.h"
#include "platform/ui/gdi_internal.h"
#include "platform/ui/live_call.h"
#include "platform/ui/qt_bridge.h"
#include "platform/ui/resources.h"
#include "platform/ui/win_app.h"

IMPLEMENT_DYNAMIC(CToolBar, CWnd)

namespace {

// "prompt\ntooltip": the part before or after the newline.
std::string PromptPart(UINT id, bool tooltip) {
  const char* s = FindStringResource(id);
  if (!s) return "";
  std::string text(s);
  auto nl = text.find('\n');
  if (nl == std::string::npos) return tooltip ? "" : text;
  return tooltip ? text.substr(nl + 1) : text.substr(0, nl);
}

// The status bar the prompts go to: a sibling of the toolbar.
HWND SiblingStatusBar(const WindowRecord& bar) {
  WindowRecord* parent = LiveRecord(bar.parent);
  if (!parent) return nullptr;
  for (HWND child : parent->children) {
    if (child->className == WC_STATUSBAR) return child;
  }
  return nullptr;
}

class PromptToolBar final : public QToolBar {
 public:
  PromptToolBar(HWND hWnd, QWidget* parent) : QToolBar(parent), m_hWnd(hWnd) {}

 protected:
  void leaveEvent(QEvent* event) override {
    QToolBar::leaveEvent(event);
    WindowRecord* rec = LiveRecord(m_hWnd);
    if (!rec) return;
    if (HWND status = SiblingStatusBar(*rec)) {
      const char* idle = FindStringResource(AFX_IDS_IDLEMESSAGE);
      DeliverMessage(status, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(idle ? idle : ""));
    }
  }

 private:
  HWND m_hWnd;
};

struct Button {
  UINT id = 0;
  UINT style = TBBS_BUTTON;
  int image = -1;
  QAction* action = nullptr;
};

}  // namespace

class ToolBarBehavior final : public WindowBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    m_bar = new PromptToolBar(&rec, parent);
    m_bar->setMovable(false);
    m_bar->setFloatable(false);
    m_bar->setIconSize(QSize(16, 16));
    InstallControlEvents(rec, m_bar);
    return m_bar;
  }

  bool Load(UINT id) {
    const ToolbarTemplate* t = FindToolbarTemplate(id);
    const BitmapResource* b = FindBitmapResource(id);
    if (!t || !b || t->width == 0 || t->height == 0) return false;
    std::vector<std::uint32_t> pixels = DecodeBitmapResource(*b);
    if (pixels.empty() || b->height < t->height) return false;
    QImage strip = PixelsToImage(pixels.data(), b->width, b->height);
    m_images.clear();
    for (int x = 0; x + t->width <= b->width; x += t->width) m_images.push_back(strip.copy(x, 0, t->width, t->height));
    m_bar->setIconSize(QSize(t->width, t->height));
    std::vector<UINT> ids(t->items.begin(), t->items.end());
    SetButtons(ids.data(), static_cast<int>(ids.size()));
    return true;
  }

  void SetButtons(const UINT* ids, int count) {
    m_bar->clear();
    m_buttons.clear();
    HWND self = WindowOfWidget(m_bar);
    int image = 0;
    for (int i = 0; i < count && ids; ++i) {
      Button b;
      b.id = ids[i];
      if (b.id == ID_SEPARATOR) {
        b.style = TBBS_SEPARATOR;
        m_bar->addSeparator();
      } else {
        b.image = image++;
        QIcon icon;
        if (static_cast<std::size_t>(b.image) < m_images.size())
          icon = QIcon(QPixmap::fromImage(m_images[static_cast<std::size_t>(b.image)]));
        b.action = m_bar->addAction(icon, QString());
        b.action->setToolTip(ToQt(PromptPart(b.id, true)));
        const UINT id = b.id;
        QObject::connect(b.action, &QAction::triggered, [self, id] {
          WindowRecord* rec = LiveRecord(self);
          if (rec && !rec->destroying && rec->parent)
            DeliverMessage(rec->parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        });
        QObject::connect(b.action, &QAction::hovered, [self, id] {
          WindowRecord* rec = LiveRecord(self);
          if (!rec) return;
          if (HWND status = SiblingStatusBar(*rec)) {
            std::string prompt = PromptPart(id, false);
            DeliverMessage(status, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(prompt.c_str()));
          }
        });
      }
      m_buttons.push_back(b);
    }
  }

  void Update(CCmdTarget* target, BOOL disableIfNoHandler) {
    class ButtonCmdUI final : public CCmdUI {
     public:
      explicit ButtonCmdUI(Button& b) : m_b(b) {}
      void Enable(BOOL on) override {
        m_b.action->setEnabled(on != FALSE);
        m_bEnableChanged = TRUE;
      }
      void SetCheck(int check) override {
        m_b.action->setCheckable(true);
        m_b.action->setChecked(check != 0);
      }
      void SetText(LPCTSTR) override {}

     private:
      Button& m_b;
    };
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
      Button& b = m_buttons[i];
      if (!b.action) continue;
      ButtonCmdUI ui(b);
      ui.m_nID = b.id;
      ui.m_nIndex = static_cast<UINT>(i);
      ui.m_nIndexMax = static_cast<UINT>(m_buttons.size());
      ui.DoUpdate(target, disableIfNoHandler);
    }
  }

  std::optional<LRESULT> Handle(WindowRecord& rec, UINT message, WPARAM wParam, LPARAM) override {
    if (message != WM_IDLEUPDATECMDUI) return std::nullopt;
    // The owner's handlers decide: for a bar in a dialog, the dialog.
    if (CWnd* owner = CWnd::FromHandle(rec.parent)) Update(owner, static_cast<BOOL>(wParam));
    return 0;
  }

  QToolBar* m_bar = nullptr;
  std::vector<QImage> m_images;
  std::vector<Button> m_buttons;
};

std::unique_ptr<WindowBehavior> MakeToolBarBehavior() { return std::make_unique<ToolBarBehavior>(); }

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) {
  return CWnd::CreateEx(0, WC_TOOLBAR, "", style | WS_CHILD, RECT{0, 0, 0, 0}, parent, id);
}

BOOL CToolBar::LoadToolBar(UINT resourceId) {
  return WithBehavior<ToolBarBehavior>(
      m_hWnd, FALSE, [&](ToolBarBehavior& bar) -> BOOL { return bar.Load(resourceId) ? TRUE : FALSE; });
}

BOOL CToolBar::SetButtons(const UINT* ids, int count) {
  return WithBehavior<ToolBarBehavior>(m_hWnd, FALSE, [&](ToolBarBehavior& bar) -> BOOL {
    bar.SetButtons(ids, count);
    return TRUE;
  });
}

int CToolBar::GetCount() const {
  return WithBehavior<ToolBarBehavior>(
      m_hWnd, 0, [&](ToolBarBehavior& bar) -> int { return static_cast<int>(bar.m_buttons.size()); });
}

UINT CToolBar::GetItemID(int index) const {
  return WithBehavior<ToolBarBehavior>(m_hWnd, 0, [&](ToolBarBehavior& bar) -> UINT {
    if (index < 0 || static_cast<std::size_t>(index) >= bar.m_buttons.size()) return 0;
    return bar.m_buttons[static_cast<std::size_t>(index)].id;
  });
}

int CToolBar::CommandToIndex(UINT id) const {
  return WithBehavior<ToolBarBehavior>(m_hWnd, -1, [&](ToolBarBehavior& bar) -> int {
    for (std::size_t i = 0; i < bar.m_buttons.size(); ++i) {
      if (bar.m_buttons[i].id == id) return static_cast<int>(i);
    }
    return -1;
  });
}

UINT CToolBar::GetButtonStyle(int index) const {
  return WithBehavior<ToolBarBehavior>(m_hWnd, 0, [&](ToolBarBehavior& bar) -> UINT {
    if (index < 0 || static_cast<std::size_t>(index) >= bar.m_buttons.size()) return 0;
    const Button& b = bar.m_buttons[static_cast<std::size_t>(index)];
    UINT style = b.style;
    if (b.action && !b.action->isEnabled()) style |= TBBS_DISABLED;
    if (b.action && b.action->isChecked()) style |= TBBS_CHECKED;
    return style;
  });
}

void CToolBar::SetButtonStyle(int index, UINT style) {
  WithBehavior<ToolBarBehavior>(m_hWnd, [&](ToolBarBehavior& bar) {
    if (index < 0 || static_cast<std::size_t>(index) >= bar.m_buttons.size()) return;
    Button& b = bar.m_buttons[static_cast<std::size_t>(index)];
    if (!b.action) return;
    b.action->setEnabled(!(style & TBBS_DISABLED));
    b.action->setCheckable(style & TBBS_CHECKED);
    b.action->setChecked(style & TBBS_CHECKED);
  });
}

CString CToolBar::GetButtonTooltip(int index) const {
  return WithBehavior<ToolBarBehavior>(m_hWnd, CString(), [&](ToolBarBehavior& bar) -> CString {
    if (index < 0 || static_cast<std::size_t>(index) >= bar.m_buttons.size()) return CString();
    const Button& b = bar.m_buttons[static_cast<std::size_t>(index)];
    return b.action ? CString(FromQt(b.action->toolTip())) : CString();
  });
}

int CToolBar::GetBarHeight() const {
  return WithWindow(m_hWnd, 0,
                    [&](WindowRecord& rec) -> int { return rec.widget ? rec.widget->sizeHint().height() : 0; });
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) {
  WithBehavior<ToolBarBehavior>(m_hWnd, [&](ToolBarBehavior& bar) { bar.Update(target, disableIfNoHandler); });
}

void CToolBar::ClickButton(int index) {
  WithBehavior<ToolBarBehavior>(m_hWnd, [&](ToolBarBehavior& bar) {
    if (index < 0 || static_cast<std::size_t>(index) >= bar.m_buttons.size()) return;
    if (QAction* a = bar.m_buttons[static_cast<std::size_t>(index)].action; a && a->isEnabled()) a->trigger();
  });
}
