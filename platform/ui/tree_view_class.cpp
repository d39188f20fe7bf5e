// "SysTreeView32": items with text, images and a child indicator whose
// children may be added when the item first opens; notifications to the
// parent as NMTREEVIEW.

#include <QApplication>
#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>
#include <unordered_set>

#include "platform/ui/control_support.h"
#include "platform/ui/gdi_internal.h"
#include "platform/ui/image_list.h"
#include "platform/ui/tree_ctrl.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

struct TreeItemRecord {
  QTreeWidgetItem* item = nullptr;
  std::string text;
  int image = 0;
  int selectedImage = 0;
  int children = 0;  // cChildren as set; I_CHILDRENCALLBACK counts as "has some"
  LPARAM param = 0;
  UINT state = 0;  // TVIS_EXPANDEDONCE and TVIS_BOLD; the rest is read from the widget
  // Where the item was last seen among its siblings: walking a folder of
  // thousands of items sibling by sibling then costs no search per step.
  int indexHint = -1;
};

namespace {

constexpr int kRecordRole = Qt::UserRole;
// Trees the program builds are shallow; this bounds a runaway recursion.
constexpr int kMaxTreeDepth = 256;

bool IsSentinel(HTREEITEM h) {
  auto v = reinterpret_cast<std::intptr_t>(h);
  return v >= -0x10000 && v <= -0x0FFFD;
}

class TreeViewBehavior final : public WindowBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    HWND self = &rec;
    m_record = &rec;
    m_tree = new QTreeWidget(parent);
    m_tree->setColumnCount(1);
    m_tree->header()->hide();
    m_tree->setRootIsDecorated((rec.style & TVS_LINESATROOT) != 0);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setUniformRowHeights(true);
    if (!(rec.style & WS_BORDER) && !(rec.exStyle & WS_EX_CLIENTEDGE)) m_tree->setFrameShape(QFrame::NoFrame);
    rec.Connect(m_tree, &QTreeWidget::currentItemChanged, [this, self](QTreeWidgetItem* now, QTreeWidgetItem* before) {
      WindowRecord* r = LiveRecord(self);
      if (!r || r->destroying || m_quiet > 0) return;
      NMTREEVIEWA nm{};
      nm.action = m_programmatic > 0 ? TVC_UNKNOWN
                                     : (QApplication::mouseButtons() != Qt::NoButton ? TVC_BYMOUSE : TVC_BYKEYBOARD);
      Describe(RecordOf(before), nm.itemOld);
      Describe(RecordOf(now), nm.itemNew);
      NotifyParent(*r, TVN_SELCHANGEDA, &nm.hdr);
    });
    rec.Connect(m_tree, &QTreeWidget::itemExpanded, [this, self](QTreeWidgetItem* item) {
      if (m_quiet == 0) UserToggled(self, item, TVE_EXPAND);
    });
    rec.Connect(m_tree, &QTreeWidget::itemCollapsed, [this, self](QTreeWidgetItem* item) {
      if (m_quiet == 0) UserToggled(self, item, TVE_COLLAPSE);
    });
    rec.client = m_tree->viewport();
    InstallControlEvents(rec, m_tree->viewport());
    return m_tree;
  }

  void Destroying(WindowRecord& rec) override {
    // Every item is deleted with notifications, so owners free their item data.
    DeleteItem(rec, TVI_ROOT);
  }

  // The typed operations of CTreeCtrl.
  HTREEITEM InsertItem(const TVINSERTSTRUCTA* insert) { return Insert(insert); }
  BOOL Delete(HTREEITEM item) { return static_cast<BOOL>(DeleteItem(*m_record, item)); }
  BOOL ExpandItem(HTREEITEM item, UINT code) { return static_cast<BOOL>(Expand(*m_record, item, code)); }
  [[nodiscard]] UINT Count() const { return static_cast<UINT>(m_items.size()); }
  [[nodiscard]] HTREEITEM NextItem(HTREEITEM from, UINT code) const { return Next(from, code); }
  BOOL GetFields(TVITEMA* out) const { return static_cast<BOOL>(GetItem(out)); }
  BOOL SetFields(const TVITEMA* in) { return static_cast<BOOL>(SetItem(in)); }
  BOOL SortItems(HTREEITEM target, PFNTVCOMPARE compare, LPARAM sortParam) {
    return static_cast<BOOL>(Sort(target, compare, sortParam));
  }

  // Selection by the program: notified as neither mouse nor keyboard.
  BOOL Select(HTREEITEM target) {
    HTREEITEM item = Live(target);
    NotifyGuard programmatic(m_programmatic);
    if (item) {
      ShowPathTo(item);
      m_tree->setCurrentItem(item->item);
    } else {
      m_tree->setCurrentItem(nullptr);
    }
    return TRUE;
  }

  HIMAGELIST SetImageList(int kind, HIMAGELIST list) {
    HIMAGELIST& slot = kind == TVSIL_NORMAL ? m_normal : m_state;
    HIMAGELIST previous = slot;
    slot = list;
    int cx = 16, cy = 16;
    if (m_normal && ImageList_GetIconSize(m_normal, &cx, &cy)) m_tree->setIconSize(QSize(cx, cy));
    for (HTREEITEM item : m_items) ApplyIcon(item);
    return previous;
  }

  [[nodiscard]] HIMAGELIST ImageList(int kind) const { return kind == TVSIL_NORMAL ? m_normal : m_state; }

  BOOL EnsureVisible(HTREEITEM target) {
    HTREEITEM item = Live(target);
    if (!item) return FALSE;
    ShowPathTo(item);
    m_tree->scrollToItem(item->item);
    return TRUE;
  }

  BOOL ItemRect(HTREEITEM target, RECT* r) const {
    HTREEITEM item = Live(target);
    if (!item) return FALSE;
    QRect box = m_tree->visualItemRect(item->item);
    if (box.isEmpty()) return FALSE;
    *r = RECT{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
    return TRUE;
  }

  HTREEITEM HitTest(TVHITTESTINFO* info) const {
    if (!info) return nullptr;
    QTreeWidgetItem* at = m_tree->itemAt(QPoint(info->pt.x, info->pt.y));
    info->hItem = RecordOf(at);
    info->flags = info->hItem ? TVHT_ONITEMLABEL : TVHT_NOWHERE;
    return info->hItem;
  }

 private:
  HTREEITEM Live(HTREEITEM h) const { return (h && !IsSentinel(h) && m_items.count(h)) ? h : nullptr; }

  static HTREEITEM RecordOf(QTreeWidgetItem* item) {
    return item ? reinterpret_cast<HTREEITEM>(item->data(0, kRecordRole).value<quintptr>()) : nullptr;
  }

  void Describe(HTREEITEM item, TVITEMA& out) const {
    out = TVITEMA{};
    if (!item) return;
    out.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    out.hItem = item;
    out.lParam = item->param;
    out.state = StateOf(item);
    out.stateMask = 0xFFFF;
    out.pszText = const_cast<char*>(item->text.c_str());
    out.cchTextMax = static_cast<int>(item->text.size() + 1);
    out.iImage = item->image;
    out.iSelectedImage = item->selectedImage;
    out.cChildren = item->children;
  }

  UINT StateOf(HTREEITEM item) const {
    UINT state = item->state & (TVIS_EXPANDEDONCE | TVIS_BOLD);
    if (item->item->isExpanded()) state |= TVIS_EXPANDED;
    if (m_tree->currentItem() == item->item) state |= TVIS_SELECTED;
    return state;
  }

  void ApplyIcon(HTREEITEM item) {
    QIcon icon;
    int cx = 0, cy = 0;
    if (m_normal && ImageList_GetIconSize(m_normal, &cx, &cy)) {
      std::vector<std::uint32_t> normal = ImageList_GetPixels(m_normal, item->image);
      std::vector<std::uint32_t> selected = ImageList_GetPixels(m_normal, item->selectedImage);
      if (!normal.empty()) icon.addPixmap(QPixmap::fromImage(PixelsToImage(normal.data(), cx, cy)), QIcon::Normal);
      if (!selected.empty())
        icon.addPixmap(QPixmap::fromImage(PixelsToImage(selected.data(), cx, cy)), QIcon::Selected);
    }
    item->item->setIcon(0, icon);
  }

  void ApplyChildren(HTREEITEM item) {
    const bool indicator = item->children != 0;
    item->item->setChildIndicatorPolicy(indicator ? QTreeWidgetItem::ShowIndicator
                                                  : QTreeWidgetItem::DontShowIndicatorWhenChildless);
  }

  HTREEITEM Insert(const TVINSERTSTRUCTA* insert) {
    if (!insert) return nullptr;
    HTREEITEM parent = (insert->hParent == nullptr || insert->hParent == TVI_ROOT) ? nullptr : Live(insert->hParent);
    if (insert->hParent && insert->hParent != TVI_ROOT && !parent) return nullptr;
    const TVITEMA& t = insert->item;
    auto* rec = new TreeItemRecord;
    rec->text =
        ((t.mask & TVIF_TEXT) && t.pszText && reinterpret_cast<std::intptr_t>(t.pszText) != -1) ? t.pszText : "";
    rec->image = (t.mask & TVIF_IMAGE) ? t.iImage : 0;
    rec->selectedImage = (t.mask & TVIF_SELECTEDIMAGE) ? t.iSelectedImage : rec->image;
    rec->children = (t.mask & TVIF_CHILDREN) ? t.cChildren : 0;
    rec->param = (t.mask & TVIF_PARAM) ? t.lParam : 0;
    if (t.mask & TVIF_STATE) rec->state = t.state & t.stateMask & (TVIS_EXPANDEDONCE | TVIS_BOLD);
    rec->item = new QTreeWidgetItem(QStringList(ToQt(rec->text)));
    rec->item->setData(0, kRecordRole, QVariant::fromValue(reinterpret_cast<quintptr>(rec)));
    m_items.insert(rec);

    const int siblings = parent ? parent->item->childCount() : m_tree->topLevelItemCount();
    int at = siblings;
    if (insert->hInsertAfter == TVI_FIRST) {
      at = 0;
    } else if (insert->hInsertAfter == TVI_SORT) {
      at = 0;
      while (at < siblings) {
        QTreeWidgetItem* s = parent ? parent->item->child(at) : m_tree->topLevelItem(at);
        if (CompareNoCase(FromQt(s->text(0)), rec->text) > 0) break;
        ++at;
      }
    } else if (HTREEITEM after = Live(insert->hInsertAfter)) {
      int pos = parent ? parent->item->indexOfChild(after->item) : m_tree->indexOfTopLevelItem(after->item);
      if (pos >= 0) at = pos + 1;
    }
    NotifyGuard quiet(m_quiet);
    if (parent)
      parent->item->insertChild(at, rec->item);
    else
      m_tree->insertTopLevelItem(at, rec->item);
    ApplyChildren(rec);
    ApplyIcon(rec);
    if (parent && parent->children == 0) {
      parent->children = 1;
      ApplyChildren(parent);
    }
    return rec;
  }

  // Children before their parent, each with TVN_DELETEITEM.
  void DeleteRecursive(WindowRecord& rec, HTREEITEM item, int depth) {
    if (depth > kMaxTreeDepth) return;
    while (item->item->childCount() > 0) {
      HTREEITEM child = RecordOf(item->item->child(item->item->childCount() - 1));
      if (!child) {
        delete item->item->takeChild(item->item->childCount() - 1);
        continue;
      }
      DeleteRecursive(rec, child, depth + 1);
    }
    NMTREEVIEWA nm{};
    nm.itemOld.mask = TVIF_HANDLE | TVIF_PARAM;
    nm.itemOld.hItem = item;
    nm.itemOld.lParam = item->param;
    NotifyParent(rec, TVN_DELETEITEMA, &nm.hdr);
    m_items.erase(item);
    delete item->item;
    delete item;
  }

  LRESULT DeleteItem(WindowRecord& rec, HTREEITEM target) {
    NotifyGuard quiet(m_quiet);
    if (target == nullptr || target == TVI_ROOT) {
      while (m_tree->topLevelItemCount() > 0) {
        HTREEITEM top = RecordOf(m_tree->topLevelItem(m_tree->topLevelItemCount() - 1));
        if (!top) break;
        DeleteRecursive(rec, top, 0);
      }
      return TRUE;
    }
    HTREEITEM item = Live(target);
    if (!item) return FALSE;
    DeleteRecursive(rec, item, 0);
    return TRUE;
  }

  // TVN_ITEMEXPANDING before, TVN_ITEMEXPANDED after; a nonzero answer to
  // the first keeps the item as it was.
  bool AskToggle(WindowRecord& rec, HTREEITEM item, UINT action, UINT notify) {
    NMTREEVIEWA nm{};
    nm.action = action;
    Describe(item, nm.itemNew);
    return NotifyParent(rec, notify, &nm.hdr) == 0;
  }

  void UserToggled(HWND self, QTreeWidgetItem* widgetItem, UINT action) {
    WindowRecord* rec = LiveRecord(self);
    HTREEITEM item = RecordOf(widgetItem);
    if (!rec || rec->destroying || !Live(item)) return;
    // Qt has already toggled it: undo, ask, then redo if allowed.
    {
      NotifyGuard quiet(m_quiet);
      item->item->setExpanded(action != TVE_EXPAND);
    }
    if (!AskToggle(*rec, item, action, TVN_ITEMEXPANDINGA) || !Live(item)) return;
    {
      NotifyGuard quiet(m_quiet);
      item->item->setExpanded(action == TVE_EXPAND);
    }
    if (action == TVE_EXPAND) item->state |= TVIS_EXPANDEDONCE;
    AskToggle(*rec, item, action, TVN_ITEMEXPANDEDA);
  }

  LRESULT Expand(WindowRecord& rec, HTREEITEM target, UINT code) {
    HTREEITEM item = Live(target);
    if (!item) return FALSE;
    UINT action = code & 0x3u;
    const bool open = item->item->isExpanded();
    if (action == TVE_TOGGLE) action = open ? TVE_COLLAPSE : TVE_EXPAND;
    if ((action == TVE_EXPAND && open) || (action == TVE_COLLAPSE && !open)) return FALSE;
    // The platform notifies an expansion by message only the first time.
    const bool notify = action == TVE_EXPAND && !(item->state & TVIS_EXPANDEDONCE);
    if (notify && (!AskToggle(rec, item, action, TVN_ITEMEXPANDINGA) || !Live(item))) return FALSE;
    {
      NotifyGuard quiet(m_quiet);
      item->item->setExpanded(action == TVE_EXPAND);
    }
    if (action == TVE_EXPAND) item->state |= TVIS_EXPANDEDONCE;
    if ((code & TVE_COLLAPSERESET) && action == TVE_COLLAPSE) {
      while (item->item->childCount() > 0) DeleteRecursive(rec, RecordOf(item->item->child(0)), 0);
      item->state &= ~TVIS_EXPANDEDONCE;
    }
    if (notify && Live(item)) AskToggle(rec, item, action, TVN_ITEMEXPANDEDA);
    return TRUE;
  }

  HTREEITEM Next(HTREEITEM from, UINT code) const {
    HTREEITEM item = Live(from);
    auto siblingAt = [&](HTREEITEM of, int delta) -> HTREEITEM {
      QTreeWidgetItem* parent = of->item->parent();
      const int count = parent ? parent->childCount() : m_tree->topLevelItemCount();
      auto at = [&](int i) { return parent ? parent->child(i) : m_tree->topLevelItem(i); };
      int pos = of->indexHint;
      if (pos < 0 || pos >= count || at(pos) != of->item) {
        pos = parent ? parent->indexOfChild(of->item) : m_tree->indexOfTopLevelItem(of->item);
      }
      of->indexHint = pos;
      const int want = pos + delta;
      if (want < 0 || want >= count) return nullptr;
      HTREEITEM sibling = RecordOf(at(want));
      if (sibling) sibling->indexHint = want;
      return sibling;
    };
    switch (code) {
      case TVGN_ROOT:
        return m_tree->topLevelItemCount() ? RecordOf(m_tree->topLevelItem(0)) : nullptr;
      case TVGN_CARET:
        return RecordOf(m_tree->currentItem());
      case TVGN_FIRSTVISIBLE:
        return RecordOf(m_tree->itemAt(1, 1));
      case TVGN_DROPHILITE:
        return nullptr;
      case TVGN_NEXT:
        return item ? siblingAt(item, 1) : nullptr;
      case TVGN_PREVIOUS:
        return item ? siblingAt(item, -1) : nullptr;
      case TVGN_PARENT:
        return item ? RecordOf(item->item->parent()) : nullptr;
      case TVGN_CHILD:
        if (!from || from == TVI_ROOT) return Next(nullptr, TVGN_ROOT);
        return (item && item->item->childCount()) ? RecordOf(item->item->child(0)) : nullptr;
      default:
        return nullptr;
    }
  }

  LRESULT GetItem(TVITEMA* out) const {
    if (!out) return FALSE;
    HTREEITEM item = Live(out->hItem);
    if (!item) return FALSE;
    if ((out->mask & TVIF_TEXT) && out->pszText && out->cchTextMax > 0) {
      std::size_t n = std::min(item->text.size(), static_cast<std::size_t>(out->cchTextMax - 1));
      std::memcpy(out->pszText, item->text.data(), n);
      out->pszText[n] = '\0';
    }
    if (out->mask & TVIF_IMAGE) out->iImage = item->image;
    if (out->mask & TVIF_SELECTEDIMAGE) out->iSelectedImage = item->selectedImage;
    if (out->mask & TVIF_CHILDREN) out->cChildren = item->children;
    if (out->mask & TVIF_PARAM) out->lParam = item->param;
    if (out->mask & TVIF_STATE) out->state = StateOf(item) & (out->stateMask ? out->stateMask : 0xFFFFu);
    return TRUE;
  }

  LRESULT SetItem(const TVITEMA* in) {
    if (!in) return FALSE;
    HTREEITEM item = Live(in->hItem);
    if (!item) return FALSE;
    NotifyGuard quiet(m_quiet);
    if ((in->mask & TVIF_TEXT) && in->pszText && reinterpret_cast<std::intptr_t>(in->pszText) != -1) {
      item->text = in->pszText;
      item->item->setText(0, ToQt(item->text));
    }
    if (in->mask & TVIF_IMAGE) item->image = in->iImage;
    if (in->mask & TVIF_SELECTEDIMAGE) item->selectedImage = in->iSelectedImage;
    if (in->mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) ApplyIcon(item);
    if (in->mask & TVIF_CHILDREN) {
      item->children = in->cChildren;
      ApplyChildren(item);
    }
    if (in->mask & TVIF_PARAM) item->param = in->lParam;
    if (in->mask & TVIF_STATE) {
      const UINT keep = TVIS_EXPANDEDONCE | TVIS_BOLD;
      item->state = (item->state & ~(in->stateMask & keep)) | (in->state & in->stateMask & keep);
      if (in->stateMask & TVIS_EXPANDED) item->item->setExpanded(in->state & TVIS_EXPANDED);
    }
    return TRUE;
  }

  void ShowPathTo(HTREEITEM item) {
    NotifyGuard quiet(m_quiet);
    for (QTreeWidgetItem* p = item->item->parent(); p; p = p->parent()) p->setExpanded(true);
  }

  LRESULT Sort(HTREEITEM target, PFNTVCOMPARE compare, LPARAM sortParam) {
    HTREEITEM parent = (target == nullptr || target == TVI_ROOT) ? nullptr : Live(target);
    if (target && target != TVI_ROOT && !parent) return FALSE;
    NotifyGuard quiet(m_quiet);
    QTreeWidgetItem* current = m_tree->currentItem();
    QList<QTreeWidgetItem*> kids = parent ? parent->item->takeChildren() : QList<QTreeWidgetItem*>();
    if (!parent) {
      while (m_tree->topLevelItemCount()) kids.append(m_tree->takeTopLevelItem(0));
    }
    std::stable_sort(kids.begin(), kids.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
      HTREEITEM ra = RecordOf(a), rb = RecordOf(b);
      if (compare) return compare(ra->param, rb->param, sortParam) < 0;
      return CompareNoCase(ra->text, rb->text) < 0;
    });
    if (parent)
      parent->item->addChildren(kids);
    else
      m_tree->addTopLevelItems(kids);
    if (current) m_tree->setCurrentItem(current);
    return TRUE;
  }

  QTreeWidget* m_tree = nullptr;
  std::unordered_set<TreeItemRecord*> m_items;
  HIMAGELIST m_normal = nullptr;
  HIMAGELIST m_state = nullptr;
  WindowRecord* m_record = nullptr;  // owns this behaviour
  int m_quiet = 0;
  int m_programmatic = 0;
};

// The fields of one item, named by its handle, to query or change.
TVITEMA FieldsOf(HTREEITEM item, UINT mask) {
  TVITEMA t{};
  t.mask = mask | TVIF_HANDLE;
  t.hItem = item;
  return t;
}

template <typename Fallback, typename Op>
auto WithTreeView(const HWND& hWnd, Fallback&& fallback, Op&& op) {
  return ControlCall<TreeViewBehavior>(hWnd, std::forward<Fallback>(fallback), std::forward<Op>(op));
}

}  // namespace

std::unique_ptr<WindowBehavior> MakeTreeViewBehavior() { return std::make_unique<TreeViewBehavior>(); }

// A tree view that is gone answers 0, as a message to it would.

HTREEITEM CTreeCtrl::InsertItem(const TVINSERTSTRUCT* insert) {
  return WithTreeView(m_hWnd, nullptr, [&](TreeViewBehavior& tree) { return tree.InsertItem(insert); });
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) {
  return WithTreeView(m_hWnd, FALSE, [&](TreeViewBehavior& tree) { return tree.Delete(item); });
}

BOOL CTreeCtrl::GetItem(TVITEM* item) const {
  return WithTreeView(m_hWnd, FALSE, [&](TreeViewBehavior& tree) { return tree.GetFields(item); });
}

BOOL CTreeCtrl::SetItem(const TVITEM* item) {
  return WithTreeView(m_hWnd, FALSE, [&](TreeViewBehavior& tree) { return tree.SetFields(item); });
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
  return WithTreeView(m_hWnd, nullptr, [&](TreeViewBehavior& tree) { return tree.NextItem(item, code); });
}

UINT CTreeCtrl::GetCount() const {
  return WithTreeView(m_hWnd, 0u, [](TreeViewBehavior& tree) { return tree.Count(); });
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
  return WithTreeView(m_hWnd, FALSE, [&](TreeViewBehavior& tree) { return tree.ExpandItem(item, code); });
}

BOOL CTreeCtrl::SelectItem(HTREEITEM item) {
  return WithTreeView(m_hWnd, FALSE, [&](TreeViewBehavior& tree) { return tree.Select(item); });
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) {
  return WithTreeView(m_hWnd, FALSE, [&](TreeViewBehavior& tree) { return tree.EnsureVisible(item); });
}

BOOL CTreeCtrl::SortChildren(HTREEITEM item) {
  return WithTreeView(m_hWnd, FALSE, [&](TreeViewBehavior& tree) { return tree.SortItems(item, nullptr, 0); });
}

BOOL CTreeCtrl::SortChildrenCB(const TVSORTCB* sort) {
  if (!sort) return FALSE;
  return WithTreeView(m_hWnd, FALSE, [&](TreeViewBehavior& tree) {
    return tree.SortItems(sort->hParent, sort->lpfnCompare, sort->lParam);
  });
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* info) const {
  return WithTreeView(m_hWnd, nullptr, [&](TreeViewBehavior& tree) { return tree.HitTest(info); });
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                                LPARAM param, HTREEITEM parent, HTREEITEM insertAfter) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = insertAfter;
  insert.item.mask = mask;
  insert.item.pszText = const_cast<LPSTR>(text);
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.state = state;
  insert.item.stateMask = stateMask;
  insert.item.lParam = param;
  return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, HTREEITEM parent, HTREEITEM insertAfter) {
  return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, insertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM insertAfter) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0, 0, parent,
                    insertAfter);
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
  return UiCall([&]() -> CString {
    char buffer[1024];
    TVITEMA t = FieldsOf(item, TVIF_TEXT);
    t.pszText = buffer;
    t.cchTextMax = static_cast<int>(sizeof buffer);
    buffer[0] = '\0';
    return GetItem(&t) ? CString(buffer) : CString();
  });
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCTSTR text) {
  TVITEMA t = FieldsOf(item, TVIF_TEXT);
  t.pszText = const_cast<LPSTR>(text);
  return SetItem(&t);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
  TVITEMA t = FieldsOf(item, TVIF_PARAM);
  return GetItem(&t) ? static_cast<DWORD_PTR>(t.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
  TVITEMA t = FieldsOf(item, TVIF_PARAM);
  t.lParam = static_cast<LPARAM>(data);
  return SetItem(&t);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
  TVITEMA t = FieldsOf(item, TVIF_IMAGE | TVIF_SELECTEDIMAGE);
  if (!GetItem(&t)) return FALSE;
  image = t.iImage;
  selectedImage = t.iSelectedImage;
  return TRUE;
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const {
  TVITEMA t = FieldsOf(item, TVIF_STATE);
  t.stateMask = mask;
  return GetItem(&t) ? (t.state & mask) : 0;
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
  TVITEMA t = FieldsOf(item, TVIF_CHILDREN);
  return (GetItem(&t) && t.cChildren != 0) ? TRUE : FALSE;
}

HTREEITEM CTreeCtrl::HitTest(CPoint point, UINT* flags) const {
  TVHITTESTINFO info{};
  info.pt = point;
  HTREEITEM item = HitTest(&info);
  if (flags) *flags = info.flags;
  return item;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL) const {
  if (!rect) return FALSE;
  return WithTreeView(m_hWnd, FALSE, [&](TreeViewBehavior& tree) { return tree.ItemRect(item, rect); });
}

CImageList* CTreeCtrl::SetImageList(CImageList* list, int kind) {
  HIMAGELIST handle = list ? list->m_hImageList : nullptr;
  return CImageList::FromHandle(
      WithTreeView(m_hWnd, nullptr, [&](TreeViewBehavior& tree) { return tree.SetImageList(kind, handle); }));
}

CImageList* CTreeCtrl::GetImageList(int kind) const {
  return CImageList::FromHandle(
      WithTreeView(m_hWnd, nullptr, [&](TreeViewBehavior& tree) { return tree.ImageList(kind); }));
}
