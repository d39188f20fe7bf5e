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
#include "platform/ui/live_call.h"
#include "platform/ui/message_box.h"
#include "platform/ui/resources.h"
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

// On the user-interface thread: op on the live menu, or fallback when it is gone.
template <typename... FallbackAndOp>
auto WithMenu(const HMENU& menu, FallbackAndOp&&... fallbackAndOp) {
  return UiCallOnLive([&] { return LiveMenu(menu); }, std::forward<FallbackAndOp>(fallbackAndOp)...);
}

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

// On the user-interface thread: op on the item that idOrPosition names in
// menu or its submenus, and on the menu that holds it; fallback when there
// is none (the menu is gone too).
template <typename Fallback, typename Op>
auto WithItem(const HMENU& menu, UINT idOrPosition, UINT flags, Fallback&& fallback, Op&& op) {
  HMENU holder = nullptr;
  return UiCallOnLive([&] { return FindItem(menu, idOrPosition, flags, &holder); }, std::forward<Fallback>(fallback),
                      [&](MenuItemRecord& item) { return op(item, holder); });
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
  return WithMenu(menu, FALSE, [](MenuRecord& record) -> BOOL {
    Menus().erase(&record);
    for (MenuItemRecord& item : record.items) {
      if (item.popup) DestroyMenu(item.popup);
    }
    if (record.wnd) record.wnd->m_hMenu = nullptr;
    if (record.temporary) record.temporary->m_hMenu = nullptr;
    if (record.bar) record.bar->clear();
    // Later, not now: a command chosen from this popup (File/Exit destroys
    // the window and its menus) runs inside the popup's own key or mouse
    // handler, which goes on using the popup after the command returns.
    if (record.qmenu) record.qmenu.release()->deleteLater();
    delete &record;
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
  return WithItem(menu, idOrPosition, flags, static_cast<UINT>(-1), [&](MenuItemRecord& item, HMENU holder) -> UINT {
    UINT previous = item.flags & (MF_GRAYED | MF_DISABLED);
    item.flags = (item.flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    if (previous != (item.flags & (MF_GRAYED | MF_DISABLED))) Rebuild(holder);
    return previous;
  });
}

HMENU GetSubMenu(HMENU menu, int position) {
  return WithMenu(menu, nullptr, [&](MenuRecord& record) -> HMENU {
    if (position < 0 || static_cast<std::size_t>(position) >= record.items.size()) return nullptr;
    return record.items[static_cast<std::size_t>(position)].popup;
  });
}

int GetMenuItemCount(HMENU menu) {
  return WithMenu(menu, -1, [](MenuRecord& record) { return static_cast<int>(record.items.size()); });
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, LPCRECT) {
  // The popup may be destroyed by what runs while it is open: below, the
  // handle is checked again rather than the record used.
  return WithMenu(menu, FALSE, [&](MenuRecord& record) -> BOOL {
    if (record.isBar) return FALSE;
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
  return WithMenu(menu, nullptr, [](MenuRecord& record) -> CMenu* {
    if (record.wnd) return record.wnd;
    if (!record.temporary) {
      auto wrapper = std::make_unique<CMenu>();
      wrapper->m_hMenu = &record;
      record.temporary = std::move(wrapper);
    }
    return record.temporary.get();
  });
}

BOOL CMenu::Attach(HMENU menu) {
  return WithMenu(menu, FALSE, [&](MenuRecord& record) -> BOOL {
    if (m_hMenu) return FALSE;
    record.wnd = this;
    m_hMenu = &record;
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
  return WithMenu(m_hMenu, FALSE, [&](MenuRecord& record) -> BOOL {
    std::size_t at = record.items.size();
    if (flags & MF_BYPOSITION) {
      at = position;
    } else {
      for (std::size_t i = 0; i < record.items.size(); ++i) {
        if (record.items[i].id == position && !record.items[i].popup) at = i;
      }
    }
    return AddItem(&record, at, flags, idOrPopup, text) ? TRUE : FALSE;
  });
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags) {
  return WithItem(m_hMenu, position, flags, FALSE, [](MenuItemRecord& item, HMENU holder) -> BOOL {
    holder->items.erase(holder->items.begin() + (&item - holder->items.data()));
    Rebuild(holder);
    return TRUE;
  });
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags) {
  return WithItem(m_hMenu, position, flags, FALSE, [](MenuItemRecord& item, HMENU holder) -> BOOL {
    HMENU popup = item.popup;
    holder->items.erase(holder->items.begin() + (&item - holder->items.data()));
    if (popup) ::DestroyMenu(popup);
    Rebuild(holder);
    return TRUE;
  });
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup, LPCTSTR text) {
  return WithItem(m_hMenu, position, flags, FALSE, [&](MenuItemRecord& item, HMENU holder) -> BOOL {
    item.flags = flags & ~MF_BYPOSITION;
    item.text = text ? text : "";
    if (flags & MF_POPUP)
      item.popup = reinterpret_cast<HMENU>(idOrPopup);
    else
      item.id = static_cast<UINT>(idOrPopup);
    Rebuild(holder);
    return TRUE;
  });
}

UINT CMenu::EnableMenuItem(UINT idOrPosition, UINT flags) { return ::EnableMenuItem(m_hMenu, idOrPosition, flags); }

UINT CMenu::CheckMenuItem(UINT idOrPosition, UINT flags) {
  return WithItem(m_hMenu, idOrPosition, flags, static_cast<UINT>(-1), [&](MenuItemRecord& item, HMENU holder) -> UINT {
    UINT previous = item.flags & MF_CHECKED;
    item.flags = (item.flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    Rebuild(holder);
    return previous;
  });
}

UINT CMenu::GetMenuState(UINT idOrPosition, UINT flags) const {
  return WithItem(m_hMenu, idOrPosition, flags, static_cast<UINT>(-1), [](MenuItemRecord& item, HMENU) -> UINT {
    return item.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_POPUP);
  });
}

int CMenu::GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }

UINT CMenu::GetMenuItemID(int position) const {
  return WithMenu(m_hMenu, 0, [&](MenuRecord& record) -> UINT {
    if (position < 0 || static_cast<std::size_t>(position) >= record.items.size()) return 0;
    const MenuItemRecord& item = record.items[static_cast<std::size_t>(position)];
    if (item.popup) return static_cast<UINT>(-1);
    return (item.flags & MF_SEPARATOR) ? 0 : item.id;
  });
}

int CMenu::GetMenuString(UINT idOrPosition, CString& text, UINT flags) const {
  text = WithItem(m_hMenu, idOrPosition, flags, CString(),
                  [](MenuItemRecord& item, HMENU) -> CString { return CString(item.text); });
  return text.GetLength();
}

CMenu* CMenu::GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT exclude) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, exclude);
}

// ---- the window's menus

CMenu* CWnd::GetMenu() const {
  return WithWindow(m_hWnd, nullptr, [&](WindowRecord& rec) -> CMenu* { return CMenu::FromHandle(rec.menu); });
}

BOOL CWnd::SetMenu(CMenu* menu) {
  return WithWindow(m_hWnd, FALSE, [&](WindowRecord& rec) -> BOOL {
    auto* frame = dynamic_cast<FrameWidget*>(rec.widget);
    if (!frame) return FALSE;
    HMENU m = menu ? menu->m_hMenu : nullptr;
    if (m && (!LiveMenu(m) || !m->isBar)) return FALSE;
    if (LiveMenu(rec.menu)) {
      rec.menu->bar = nullptr;
      rec.menu->owner = nullptr;
    }
    rec.menu = m;
    if (!m) {
      frame->SetMenuBar(nullptr);
      delete rec.menuBar;
      rec.menuBar = nullptr;
      return TRUE;
    }
    if (!rec.menuBar) rec.menuBar = new QMenuBar(frame);
    m->bar = rec.menuBar;
    m->owner = m_hWnd;
    RebuildBar(m);
    QSize client = rec.client->size();
    frame->SetMenuBar(rec.menuBar);
    frame->SetClientSize(client.width(), client.height());
    return TRUE;
  });
}

void CWnd::DrawMenuBar() {
  WithWindow(m_hWnd, [](WindowRecord& rec) {
    if (LiveMenu(rec.menu)) RebuildBar(rec.menu);
  });
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
  return WithWindow(m_hWnd, nullptr, [&](WindowRecord& rec) -> CMenu* {
    if (rec.isChild || !(rec.style & WS_SYSMENU)) return nullptr;
    if (revert) {
      if (rec.systemMenu) ::DestroyMenu(rec.systemMenu);
      rec.systemMenu = nullptr;
      return nullptr;
    }
    if (!LiveMenu(rec.systemMenu)) {
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
      rec.systemMenu = m;
    }
    return CMenu::FromHandle(rec.systemMenu);
  });
}

void CWnd::ShowSystemMenu() {
  WithWindow(m_hWnd, [&](WindowRecord& rec) {
    CMenu* menu = GetSystemMenu(FALSE);
    if (!menu || !rec.widget) return;
    // Enable the entries as the window's state allows, as the platform does.
    bool iconic = rec.widget->isMinimized(), zoomed = rec.widget->isMaximized();
    auto set = [&](UINT id, bool on) { menu->EnableMenuItem(id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    set(SC_RESTORE, iconic || zoomed);
    set(SC_MOVE, !iconic && !zoomed);
    set(SC_SIZE, !iconic && !zoomed && (rec.style & WS_THICKFRAME));
    set(SC_MINIMIZE, !iconic && (rec.style & WS_MINIMIZEBOX));
    set(SC_MAXIMIZE, !zoomed && (rec.style & WS_MAXIMIZEBOX));
    QPoint at = rec.client ? rec.client->mapToGlobal(QPoint(0, 0)) : rec.widget->pos();
    HWND self = m_hWnd;
    UINT chosen = static_cast<UINT>(menu->TrackPopupMenu(TPM_RETURNCMD, at.x(), at.y(), FromHandle(self)));
    if (chosen && LiveRecord(self)) DeliverMessage(self, WM_SYSCOMMAND, chosen, 0);
  });
}
