// Menus over QMenu: records of items that build the Qt menus, the update
// pass before a popup opens, popup tracking and the system menu.

#include "platform/ui/menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <memory>
#include <unordered_set>
#include <vector>

#include "platform/ui/cwnd.h"
#include "platform/ui/frame_widget.h"
#include "platform/ui/message_box.h"
#include "platform/ui/resources.h"
#include "platform/ui/ui_call.h"
#include "platform/ui/window_record.h"

struct MenuItemRecord {
  UINT id = 0;
  UINT flags = 0;
  std::string text;
  HMENU popup = nullptr;
};

struct MenuRecord {
  bool isBar = false;
  bool isSystem = false;
  std::vector<MenuItemRecord> items;
  std::unique_ptr<QMenu> qmenu;  // popups only
  QMenuBar* bar = nullptr;       // the bar built for a window, while attached
  HMENU parentMenu = nullptr;
  HWND owner = nullptr;  // the window whose bar or system menu this is, or the tracking owner
  int tracking = 0;
  CMenu* wnd = nullptr;
  std::unique_ptr<CMenu> temporary;
};

namespace {

// Menus nest a few levels; a resource deeper than this is malformed.
constexpr int kMaxMenuDepth = 8;

std::unordered_set<MenuRecord*>& Menus() {
  static std::unordered_set<MenuRecord*> menus;
  return menus;
}

MenuRecord* LiveMenu(HMENU menu) { return (menu && Menus().count(menu)) ? menu : nullptr; }

HMENU RootOf(HMENU menu) {
  int depth = 0;
  while (menu && menu->parentMenu && LiveMenu(menu->parentMenu) && depth++ < kMaxMenuDepth) menu = menu->parentMenu;
  return menu;
}

HMENU NewMenu(bool bar) {
  auto* m = new MenuRecord;
  m->isBar = bar;
  if (!bar) m->qmenu = std::make_unique<QMenu>();
  Menus().insert(m);
  return m;
}

void RebuildBar(HMENU menu);

void Rebuild(HMENU menu) {
  if (!LiveMenu(menu)) return;
  if (menu->isBar) {
    RebuildBar(menu);
    return;
  }
  QMenu* q = menu->qmenu.get();
  q->clear();
  for (std::size_t i = 0; i < menu->items.size(); ++i) {
    const MenuItemRecord& item = menu->items[i];
    if (item.flags & MF_SEPARATOR) {
      q->addSeparator();
      continue;
    }
    QAction* action = nullptr;
    if ((item.flags & MF_POPUP) && LiveMenu(item.popup)) {
      item.popup->qmenu->setTitle(ToQt(item.text));
      action = q->addMenu(item.popup->qmenu.get());
    } else {
      action = q->addAction(ToQt(item.text));
      UINT id = item.id;
      QObject::connect(action, &QAction::triggered, [menu, id] {
        HMENU root = RootOf(menu);
        if (!LiveMenu(root) || root->tracking > 0) return;  // a tracked popup answers through its run
        if (root->owner) DeliverMessage(root->owner, root->isSystem ? WM_SYSCOMMAND : WM_COMMAND, id, 0);
      });
    }
    action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    if (item.flags & MF_CHECKED) {
      action->setCheckable(true);
      action->setChecked(true);
    }
  }
}

void RebuildBar(HMENU menu) {
  if (!menu->bar) return;
  menu->bar->clear();
  for (const MenuItemRecord& item : menu->items) {
    if ((item.flags & MF_POPUP) && LiveMenu(item.popup)) {
      item.popup->qmenu->setTitle(ToQt(item.text));
      QAction* a = menu->bar->addMenu(item.popup->qmenu.get());
      a->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    } else if (!(item.flags & MF_SEPARATOR)) {
      QAction* a = menu->bar->addAction(ToQt(item.text));
      UINT id = item.id;
      QObject::connect(a, &QAction::triggered, [menu, id] {
        if (LiveMenu(menu) && menu->owner) DeliverMessage(menu->owner, WM_COMMAND, id, 0);
      });
      a->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    }
  }
}

// Before a popup opens its owner runs the items' update handlers.
void ConnectInitPopup(HMENU popup, HMENU parent, UINT index) {
  popup->parentMenu = parent;
  QObject::connect(popup->qmenu.get(), &QMenu::aboutToShow, [popup, index] {
    HMENU root = RootOf(popup);
    if (!LiveMenu(root) || !root->owner || root->tracking > 0) return;
    DeliverMessage(root->owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                   MAKELPARAM(index, root->isSystem ? 1u : 0u));
  });
}

bool AddItem(HMENU menu, std::size_t position, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  if (!LiveMenu(menu)) return false;
  MenuItemRecord item;
  item.flags = flags & ~(MF_BYPOSITION);
  item.text = text ? text : "";
  if (flags & MF_POPUP) {
    item.popup = reinterpret_cast<HMENU>(idOrPopup);
    if (!LiveMenu(item.popup) || item.popup->isBar) return false;
  } else {
    item.id = static_cast<UINT>(idOrPopup);
  }
  position = std::min(position, menu->items.size());
  menu->items.insert(menu->items.begin() + static_cast<std::ptrdiff_t>(position), item);
  if (item.popup) ConnectInitPopup(item.popup, menu, static_cast<UINT>(position));
  Rebuild(menu);
  return true;
}

// The item by position or, searching popups too, by command id.
MenuItemRecord* FindItem(HMENU menu, UINT idOrPosition, UINT flags, HMENU* holder, int depth = 0) {
  if (!LiveMenu(menu) || depth > kMaxMenuDepth) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (idOrPosition >= menu->items.size()) return nullptr;
    *holder = menu;
    return &menu->items[idOrPosition];
  }
  for (MenuItemRecord& item : menu->items) {
    if (!(item.flags & (MF_POPUP | MF_SEPARATOR)) && item.id == idOrPosition) {
      *holder = menu;
      return &item;
    }
  }
  for (MenuItemRecord& item : menu->items) {
    if (item.popup) {
      if (MenuItemRecord* found = FindItem(item.popup, idOrPosition, flags & ~MF_BYPOSITION, holder, depth + 1))
        return found;
    }
  }
  return nullptr;
}

HMENU BuildFromTemplate(std::span<const MenuItemTemplate> items, bool bar, int depth) {
  if (depth > kMaxMenuDepth) return nullptr;
  HMENU menu = NewMenu(bar);
  for (const MenuItemTemplate& t : items) {
    if (t.flags & MF_POPUP) {
      HMENU popup = BuildFromTemplate(t.popup, false, depth + 1);
      if (!popup) continue;
      AddItem(menu, menu->items.size(), t.flags, reinterpret_cast<UINT_PTR>(popup), t.text);
    } else {
      AddItem(menu, menu->items.size(), t.flags, t.id, t.text);
    }
  }
  return menu;
}

}  // namespace

HMENU CreateMenu() {
  return UiCall([] { return NewMenu(true); });
}
HMENU CreatePopupMenu() {
  return UiCall([] { return NewMenu(false); });
}

HMENU LoadMenuResource(UINT id) {
  const MenuTemplate* t = FindMenuTemplate(id);
  if (!t) return nullptr;
  return UiCall([&] { return BuildFromTemplate(t->items, true, 0); });
}

BOOL DestroyMenu(HMENU menu) {
  return UiCall([&]() -> BOOL {
    if (!LiveMenu(menu)) return FALSE;
    Menus().erase(menu);
    for (MenuItemRecord& item : menu->items) {
      if (item.popup) DestroyMenu(item.popup);
    }
    if (menu->wnd) menu->wnd->m_hMenu = nullptr;
    if (menu->temporary) menu->temporary->m_hMenu = nullptr;
    if (menu->bar) menu->bar->clear();
    // Later, not now: a command chosen from this popup (File/Exit destroys
    // the window and its menus) runs inside the popup's own key or mouse
    // handler, which goes on using the popup after the command returns.
    if (menu->qmenu) menu->qmenu.release()->deleteLater();
    delete menu;
    return TRUE;
  });
}

BOOL IsMenu(HMENU menu) {
  return UiCall([&]() -> BOOL { return LiveMenu(menu) ? TRUE : FALSE; });
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
  return UiCall([&]() -> BOOL {
    return AddItem(menu, LiveMenu(menu) ? menu->items.size() : 0, flags, idOrPopup, text) ? TRUE : FALSE;
  });
}

UINT EnableMenuItem(HMENU menu, UINT idOrPosition, UINT flags) {
  return UiCall([&]() -> UINT {
    HMENU holder = nullptr;
    MenuItemRecord* item = FindItem(menu, idOrPosition, flags, &holder);
    if (!item) return static_cast<UINT>(-1);
    UINT previous = item->flags & (MF_GRAYED | MF_DISABLED);
    item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    if (previous != (item->flags & (MF_GRAYED | MF_DISABLED))) Rebuild(holder);
    return previous;
  });
}

HMENU GetSubMenu(HMENU menu, int position) {
  return UiCall([&]() -> HMENU {
    if (!LiveMenu(menu) || position < 0 || static_cast<std::size_t>(position) >= menu->items.size()) return nullptr;
    return menu->items[static_cast<std::size_t>(position)].popup;
  });
}

int GetMenuItemCount(HMENU menu) {
  return UiCall([&]() -> int { return LiveMenu(menu) ? static_cast<int>(menu->items.size()) : -1; });
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, LPCRECT) {
  return UiCall([&]() -> BOOL {
    if (!LiveMenu(menu) || menu->isBar) return FALSE;
    HMENU root = RootOf(menu);
    if (!root) return FALSE;
    root->tracking++;
    if (!root->isSystem) root->owner = owner;
    DeliverMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, root->isSystem ? 1u : 0u));
    UINT chosen = 0;
    ModalRun run{ModalKind::PopupMenu};
    run.owner = owner;
    run.type = flags;
    run.menu = menu;
    if (std::optional<int> answer = CallModalHook(run)) {
      chosen = static_cast<UINT>(*answer);
    } else if (LiveMenu(menu)) {
      QAction* action = menu->qmenu->exec(QPoint(x, y));
      if (action && LiveMenu(menu)) {
        // Find the item behind the action among this popup and its submenus.
        std::vector<HMENU> pending{menu};
        for (std::size_t i = 0; i < pending.size() && !chosen; ++i) {
          HMENU m = pending[i];
          QList<QAction*> actions = m->qmenu->actions();
          for (qsizetype k = 0; k < actions.size() && static_cast<std::size_t>(k) < m->items.size(); ++k) {
            const MenuItemRecord& item = m->items[static_cast<std::size_t>(k)];
            if (item.popup) pending.push_back(item.popup);
            if (actions[k] == action && !item.popup) chosen = item.id;
          }
        }
      }
    }
    bool system = LiveMenu(root) && root->isSystem;
    if (LiveMenu(root)) root->tracking--;
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    // The command arrives after the popup closed, as the platform posts it.
    if (chosen && owner) PostMessage(owner, system ? WM_SYSCOMMAND : WM_COMMAND, chosen, 0);
    return TRUE;
  });
}

// ---- CMenu

CMenu::~CMenu() {
  if (m_hMenu) {
    HMENU m = m_hMenu;
    m_hMenu = nullptr;
    ::DestroyMenu(m);
  }
}

CMenu* CMenu::FromHandle(HMENU menu) {
  return UiCall([&]() -> CMenu* {
    if (!LiveMenu(menu)) return nullptr;
    if (menu->wnd) return menu->wnd;
    if (!menu->temporary) {
      auto wrapper = std::make_unique<CMenu>();
      wrapper->m_hMenu = menu;
      menu->temporary = std::move(wrapper);
    }
    return menu->temporary.get();
  });
}

BOOL CMenu::Attach(HMENU menu) {
  return UiCall([&]() -> BOOL {
    if (!LiveMenu(menu) || m_hMenu) return FALSE;
    menu->wnd = this;
    m_hMenu = menu;
    return TRUE;
  });
}

HMENU CMenu::Detach() {
  return UiCall([&]() -> HMENU {
    HMENU m = m_hMenu;
    if (LiveMenu(m) && m->wnd == this) m->wnd = nullptr;
    m_hMenu = nullptr;
    return m;
  });
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
BOOL CMenu::LoadMenu(UINT id) {
  HMENU m = LoadMenuResource(id);
  return m ? Attach(m) : FALSE;
}

BOOL CMenu::DestroyMenu() {
  HMENU m = Detach();
  return m ? ::DestroyMenu(m) : FALSE;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
  return ::AppendMenu(m_hMenu, flags, idOrPopup, text);
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
  return UiCall([&]() -> BOOL {
    HMENU m = m_hMenu;
    if (!LiveMenu(m)) return FALSE;
    std::size_t at = m->items.size();
    if (flags & MF_BYPOSITION) {
      at = position;
    } else {
      for (std::size_t i = 0; i < m->items.size(); ++i) {
        if (m->items[i].id == position && !m->items[i].popup) at = i;
      }
    }
    return AddItem(m, at, flags, idOrPopup, text) ? TRUE : FALSE;
  });
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags) {
  return UiCall([&]() -> BOOL {
    HMENU holder = nullptr;
    MenuItemRecord* item = FindItem(m_hMenu, position, flags, &holder);
    if (!item) return FALSE;
    holder->items.erase(holder->items.begin() + (item - holder->items.data()));
    Rebuild(holder);
    return TRUE;
  });
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags) {
  return UiCall([&]() -> BOOL {
    HMENU holder = nullptr;
    MenuItemRecord* item = FindItem(m_hMenu, position, flags, &holder);
    if (!item) return FALSE;
    HMENU popup = item->popup;
    holder->items.erase(holder->items.begin() + (item - holder->items.data()));
    if (popup) ::DestroyMenu(popup);
    Rebuild(holder);
    return TRUE;
  });
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
  return UiCall([&]() -> BOOL {
    HMENU holder = nullptr;
    MenuItemRecord* item = FindItem(m_hMenu, position, flags, &holder);
    if (!item) return FALSE;
    item->flags = flags & ~MF_BYPOSITION;
    item->text = text ? text : "";
    if (flags & MF_POPUP)
      item->popup = reinterpret_cast<HMENU>(idOrPopup);
    else
      item->id = static_cast<UINT>(idOrPopup);
    Rebuild(holder);
    return TRUE;
  });
}

UINT CMenu::EnableMenuItem(UINT idOrPosition, UINT flags) { return ::EnableMenuItem(m_hMenu, idOrPosition, flags); }

UINT CMenu::CheckMenuItem(UINT idOrPosition, UINT flags) {
  return UiCall([&]() -> UINT {
    HMENU holder = nullptr;
    MenuItemRecord* item = FindItem(m_hMenu, idOrPosition, flags, &holder);
    if (!item) return static_cast<UINT>(-1);
    UINT previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    Rebuild(holder);
    return previous;
  });
}

UINT CMenu::GetMenuState(UINT idOrPosition, UINT flags) const {
  return UiCall([&]() -> UINT {
    HMENU holder = nullptr;
    MenuItemRecord* item = FindItem(m_hMenu, idOrPosition, flags, &holder);
    if (!item) return static_cast<UINT>(-1);
    return item->flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_POPUP);
  });
}

int CMenu::GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }

UINT CMenu::GetMenuItemID(int position) const {
  return UiCall([&]() -> UINT {
    HMENU m = m_hMenu;
    if (!LiveMenu(m) || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return 0;
    const MenuItemRecord& item = m->items[static_cast<std::size_t>(position)];
    if (item.popup) return static_cast<UINT>(-1);
    return (item.flags & MF_SEPARATOR) ? 0 : item.id;
  });
}

int CMenu::GetMenuString(UINT idOrPosition, CString& text, UINT flags) const {
  text = UiCall([&]() -> CString {
    HMENU holder = nullptr;
    MenuItemRecord* item = FindItem(m_hMenu, idOrPosition, flags, &holder);
    return item ? CString(item->text) : CString();
  });
  return text.GetLength();
}

CMenu* CMenu::GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT exclude) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, exclude);
}

// ---- the window's menus

CMenu* CWnd::GetMenu() const {
  return UiCall([&]() -> CMenu* {
    WindowRecord* rec = LiveRecord(m_hWnd);
    return rec ? CMenu::FromHandle(rec->menu) : nullptr;
  });
}

BOOL CWnd::SetMenu(CMenu* menu) {
  return UiCall([&]() -> BOOL {
    WindowRecord* rec = LiveRecord(m_hWnd);
    auto* frame = rec ? dynamic_cast<FrameWidget*>(rec->widget) : nullptr;
    if (!frame) return FALSE;
    HMENU m = menu ? menu->m_hMenu : nullptr;
    if (m && (!LiveMenu(m) || !m->isBar)) return FALSE;
    if (LiveMenu(rec->menu)) {
      rec->menu->bar = nullptr;
      rec->menu->owner = nullptr;
    }
    rec->menu = m;
    if (!m) {
      frame->SetMenuBar(nullptr);
      delete rec->menuBar;
      rec->menuBar = nullptr;
      return TRUE;
    }
    if (!rec->menuBar) rec->menuBar = new QMenuBar(frame);
    m->bar = rec->menuBar;
    m->owner = m_hWnd;
    RebuildBar(m);
    QSize client = rec->client->size();
    frame->SetMenuBar(rec->menuBar);
    frame->SetClientSize(client.width(), client.height());
    return TRUE;
  });
}

void CWnd::DrawMenuBar() {
  UiCall([&] {
    if (WindowRecord* rec = LiveRecord(m_hWnd); rec && LiveMenu(rec->menu)) RebuildBar(rec->menu);
  });
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
  return UiCall([&]() -> CMenu* {
    WindowRecord* rec = LiveRecord(m_hWnd);
    if (!rec || rec->isChild || !(rec->style & WS_SYSMENU)) return nullptr;
    if (revert) {
      if (rec->systemMenu) ::DestroyMenu(rec->systemMenu);
      rec->systemMenu = nullptr;
      return nullptr;
    }
    if (!LiveMenu(rec->systemMenu)) {
      HMENU m = NewMenu(false);
      m->isSystem = true;
      m->owner = m_hWnd;
      AddItem(m, 0, MF_STRING, SC_RESTORE, "&Restore");
      AddItem(m, 1, MF_STRING, SC_MOVE, "&Move");
      AddItem(m, 2, MF_STRING, SC_SIZE, "&Size");
      AddItem(m, 3, MF_STRING, SC_MINIMIZE, "Mi&nimize");
      AddItem(m, 4, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
      AddItem(m, 5, MF_SEPARATOR, 0, nullptr);
      AddItem(m, 6, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
      rec->systemMenu = m;
    }
    return CMenu::FromHandle(rec->systemMenu);
  });
}

void CWnd::ShowSystemMenu() {
  UiCall([&] {
    CMenu* menu = GetSystemMenu(FALSE);
    WindowRecord* rec = LiveRecord(m_hWnd);
    if (!menu || !rec || !rec->widget) return;
    // Enable the entries as the window's state allows, as the platform does.
    bool iconic = rec->widget->isMinimized(), zoomed = rec->widget->isMaximized();
    auto set = [&](UINT id, bool on) { menu->EnableMenuItem(id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    set(SC_RESTORE, iconic || zoomed);
    set(SC_MOVE, !iconic && !zoomed);
    set(SC_SIZE, !iconic && !zoomed && (rec->style & WS_THICKFRAME));
    set(SC_MINIMIZE, !iconic && (rec->style & WS_MINIMIZEBOX));
    set(SC_MAXIMIZE, !zoomed && (rec->style & WS_MAXIMIZEBOX));
    QPoint at = rec->client ? rec->client->mapToGlobal(QPoint(0, 0)) : rec->widget->pos();
    HWND self = m_hWnd;
    UINT chosen = static_cast<UINT>(menu->TrackPopupMenu(TPM_RETURNCMD, at.x(), at.y(), FromHandle(self)));
    if (chosen && LiveRecord(self)) DeliverMessage(self, WM_SYSCOMMAND, chosen, 0);
  });
}
