// "SysListView32": the icon view with items drawn from the normal image
// list, multiple selection, automatic arrangement, hit testing.

#include <QMouseEvent>
#include <QScrollBar>

#include "platform/ui/control_support.h"
#include "platform/ui/icon_grid_view.h"
#include "platform/ui/image_list.h"
#include "platform/ui/list_ctrl.h"
#include "platform/ui/list_item_model.h"
#include "platform/ui/live_call.h"
#include "platform/ui/qt_bridge.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

// The platform's default spacing for 32-pixel icons.
constexpr int kDefaultSpacingX = 75;
constexpr int kDefaultSpacingY = 70;

// Double-clicks and clicks anywhere in the view (on an item or not) reach
// the parent as NM_ notifications.
class ViewEvents final : public QObject {
 public:
  ViewEvents(HWND hWnd, IconGridView* view) : m_hWnd(hWnd), m_view(view) {}
  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type t = event->type();
    if (t != QEvent::MouseButtonDblClick && t != QEvent::MouseButtonRelease) return false;
    WindowRecord* rec = LiveRecord(m_hWnd);
    if (!rec || rec->destroying) return false;
    auto* e = static_cast<QMouseEvent*>(event);
    UINT code = 0;
    if (t == QEvent::MouseButtonDblClick && e->button() == Qt::LeftButton) code = NM_DBLCLK;
    if (t == QEvent::MouseButtonRelease && e->button() == Qt::LeftButton) code = NM_CLICK;
    if (t == QEvent::MouseButtonRelease && e->button() == Qt::RightButton) code = NM_RCLICK;
    if (!code) return false;
    QPoint p = e->position().toPoint();
    NMITEMACTIVATE nm{};
    const QModelIndex item = m_view->indexAt(p);
    nm.iItem = item.isValid() ? item.row() : -1;
    nm.ptAction = POINT{p.x(), p.y()};
    // After Qt has handled the click (selection first, as the platform does).
    HWND self = m_hWnd;
    QMetaObject::invokeMethod(
        m_view,
        [self, nm, code]() mutable {
          if (WindowRecord* r = LiveRecord(self); r && !r->destroying) NotifyParent(*r, code, &nm.hdr);
        },
        Qt::QueuedConnection);
    return false;
  }

 private:
  HWND m_hWnd;
  IconGridView* m_view;
};

class ListViewBehavior final : public WindowBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    const DWORD kind = rec.style & LVS_TYPEMASK;
    const auto flow =
        kind == LVS_ICON || kind == LVS_SMALLICON ? IconGridView::Flow::Wrapping : IconGridView::Flow::OneToALine;
    // Items are always arranged by index: the view re-flows them whenever
    // its width changes, as automatic arrangement asks.
    m_items = new ListItemModel;
    m_view = new IconGridView(*m_items, flow, parent);
    m_items->setParent(m_view);
    m_view->setSelectionMode((rec.style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                         : QAbstractItemView::ExtendedSelection);
    m_view->SetGridSize(QSize(kDefaultSpacingX, kDefaultSpacingY));
    m_view->setIconSize(QSize(32, 32));
    if (!(rec.style & WS_BORDER) && !(rec.exStyle & WS_EX_CLIENTEDGE)) m_view->setFrameShape(QFrame::NoFrame);
    m_events = std::make_unique<ViewEvents>(&rec, m_view);
    m_view->viewport()->installEventFilter(m_events.get());
    rec.client = m_view->viewport();
    InstallControlEvents(rec, m_view->viewport());
    return m_view;
  }

  void SetDescriber(std::function<CString(int item)> describe) {
    if (!describe) {
      m_items->SetDescriber({});
      return;
    }
    m_items->SetDescriber([describe = std::move(describe)](int row) { return ToQt(describe(row).str()); });
  }

  void SetDragStart(std::function<void()> start) { m_view->SetDragStart(std::move(start)); }

  void Destroying(WindowRecord&) override {
    if (m_view) m_view->viewport()->removeEventFilter(m_events.get());
  }

  [[nodiscard]] int Count() const { return m_items->Count(); }

  int Insert(const LVITEMA* item) {
    if (!item) return -1;
    ListItem entry;
    if ((item->mask & LVIF_TEXT) && item->pszText) entry.text = QString::fromUtf8(item->pszText);
    entry.image = (item->mask & LVIF_IMAGE) ? item->iImage : -1;
    entry.param = (item->mask & LVIF_PARAM) ? item->lParam : 0;
    const int at = m_items->Insert(item->iItem, std::move(entry));
    if ((item->mask & LVIF_STATE) && (item->stateMask & LVIS_SELECTED)) Select(at, item->state & LVIS_SELECTED);
    return at;
  }

  BOOL Delete(int index) { return m_items->Remove(index) ? TRUE : FALSE; }

  BOOL DeleteAll() {
    m_items->Clear();
    return TRUE;
  }

  [[nodiscard]] UINT ItemState(int index, UINT mask) const {
    if (!m_items->Valid(index)) return 0;
    return StateOf(index) & mask;
  }

  // index -1: every item.
  BOOL SetItemState(int index, UINT state, UINT mask) {
    const int count = m_items->Count();
    if (index != -1 && !m_items->Valid(index)) return FALSE;
    if (index == -1 && count == 0) return TRUE;
    // All items at once is one range, not one selection step per item.
    const int first = index == -1 ? 0 : index;
    const int last = index == -1 ? count - 1 : index;
    if (mask & LVIS_SELECTED) Select(first, last, state & LVIS_SELECTED);
    if ((mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED)) {
      m_view->selectionModel()->setCurrentIndex(m_items->index(last), QItemSelectionModel::NoUpdate);
    }
    return TRUE;
  }

  HIMAGELIST SetImageList(int kind, HIMAGELIST list) {
    HIMAGELIST previous = kind == LVSIL_NORMAL ? m_normal : m_small;
    (kind == LVSIL_NORMAL ? m_normal : m_small) = list;
    int cx = 32, cy = 32;
    if (m_normal && ImageList_GetIconSize(m_normal, &cx, &cy)) m_view->setIconSize(QSize(cx, cy));
    m_view->SetImages(m_normal);
    return previous;
  }

  [[nodiscard]] HIMAGELIST ImageList(int kind) const { return kind == LVSIL_NORMAL ? m_normal : m_small; }

  // 0xFFFF asks for the default; answers the spacing before.
  QSize SetIconSpacing(int cx, int cy) {
    QSize old = m_view->GridSize();
    if (cx == 0xFFFF) cx = kDefaultSpacingX;
    if (cy == 0xFFFF) cy = kDefaultSpacingY;
    m_view->SetGridSize(QSize(cx, cy));
    return old;
  }

  // code: LVIR_ICON or the whole item.
  BOOL ItemRect(int index, RECT* r, UINT code) const {
    if (!m_items->Valid(index) || !r) return FALSE;
    const QRect box = static_cast<LONG>(code) == LVIR_ICON ? m_view->IconRect(index) : m_view->ItemRect(index);
    *r = RECT{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
    return TRUE;
  }

  BOOL EnsureVisible(int index) {
    if (!m_items->Valid(index)) return FALSE;
    m_view->scrollTo(m_items->index(index));
    return TRUE;
  }

  BOOL Arrange() {
    m_view->viewport()->update();
    return TRUE;
  }

  [[nodiscard]] UINT SelectedCount() const {
    UINT n = 0;
    for (const auto& [top, bottom] : SelectedRuns()) n += static_cast<UINT>(bottom - top + 1);
    return n;
  }

  [[nodiscard]] int NextItem(int start, UINT flags) const {
    const int from = std::max(-1, start) + 1;
    const int current = CurrentRow();
    if (flags & LVNI_SELECTED) {
      for (const auto& [top, bottom] : SelectedRuns()) {
        if (bottom < from) continue;
        const int first = std::max(top, from);
        if (!(flags & LVNI_FOCUSED)) return first;
        if (current >= first && current <= bottom) return current;
      }
      return -1;
    }
    if (flags & LVNI_FOCUSED) return current >= from ? current : -1;
    return from < m_items->Count() ? from : -1;
  }

  BOOL SetFields(const LVITEMA* item) {
    if (!item || !m_items->Valid(item->iItem)) return FALSE;
    const int row = item->iItem;
    ListItem entry = m_items->At(row);
    if ((item->mask & LVIF_TEXT) && item->pszText) entry.text = QString::fromUtf8(item->pszText);
    if (item->mask & LVIF_IMAGE) entry.image = item->iImage;
    if (item->mask & LVIF_PARAM) entry.param = item->lParam;
    static_cast<void>(m_items->Set(row, std::move(entry)));
    if ((item->mask & LVIF_STATE) && (item->stateMask & LVIS_SELECTED)) Select(row, item->state & LVIS_SELECTED);
    return TRUE;
  }

  BOOL GetFields(LVITEMA* item) const {
    if (!item || !m_items->Valid(item->iItem)) return FALSE;
    const int row = item->iItem;
    const ListItem& entry = m_items->At(row);
    if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
      std::string text = FromQt(entry.text);
      std::size_t n = std::min(text.size(), static_cast<std::size_t>(item->cchTextMax - 1));
      std::memcpy(item->pszText, text.data(), n);
      item->pszText[n] = '\0';
    }
    if (item->mask & LVIF_IMAGE) item->iImage = entry.image;
    if (item->mask & LVIF_PARAM) item->lParam = entry.param;
    if (item->mask & LVIF_STATE) item->state = StateOf(row) & item->stateMask;
    return TRUE;
  }

  // The point is in the view's client coordinates (inside the border).
  int HitTest(LVHITTESTINFO* info) const {
    if (!info) return -1;
    info->iItem = -1;
    info->iSubItem = 0;
    info->flags = 0;
    const QPoint p(info->pt.x, info->pt.y);
    const QSize client = m_view->viewport()->size();
    if (p.y() < 0) info->flags |= LVHT_ABOVE;
    if (p.y() >= client.height()) info->flags |= LVHT_BELOW;
    if (p.x() < 0) info->flags |= LVHT_TOLEFT;
    if (p.x() >= client.width()) info->flags |= LVHT_TORIGHT;
    if (info->flags) return -1;
    const QModelIndex entry = m_view->indexAt(p);
    if (!entry.isValid()) {
      info->flags = LVHT_NOWHERE;
      return -1;
    }
    info->flags = m_view->IconRect(entry.row()).contains(p) ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
    info->iItem = entry.row();
    return info->iItem;
  }

 private:
  void Select(int first, int last, bool on) {
    const QItemSelection range(m_items->index(first), m_items->index(last));
    m_view->selectionModel()->select(range, on ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
  }
  void Select(int row, bool on) { Select(row, row, on); }

  [[nodiscard]] int CurrentRow() const {
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? current.row() : -1;
  }

  [[nodiscard]] UINT StateOf(int row) const {
    UINT state = 0;
    if (m_view->selectionModel()->isSelected(m_items->index(row))) state |= LVIS_SELECTED;
    if (CurrentRow() == row) state |= LVIS_FOCUSED;
    return state;
  }

  // The selection model keeps ranges, so asking it costs the number of
  // selected runs, not the number of items: the toolbar's idle update asks
  // after every step of a listing that appends thousands of items. Ranges
  // may overlap, so they are merged first.
  std::vector<std::pair<int, int>> SelectedRuns() const {
    std::vector<std::pair<int, int>> runs;
    for (const QItemSelectionRange& range : m_view->selectionModel()->selection()) {
      if (range.isValid()) runs.emplace_back(range.top(), range.bottom());
    }
    std::sort(runs.begin(), runs.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& run : runs) {
      if (!merged.empty() && run.first <= merged.back().second + 1) {
        merged.back().second = std::max(merged.back().second, run.second);
      } else {
        merged.push_back(run);
      }
    }
    return merged;
  }

  ListItemModel* m_items = nullptr;  // owned by the view
  IconGridView* m_view = nullptr;
  HIMAGELIST m_normal = nullptr;
  HIMAGELIST m_small = nullptr;
  std::unique_ptr<ViewEvents> m_events;
};

template <typename Fallback, typename Op>
auto WithListView(const HWND& hWnd, Fallback&& fallback, Op&& op) {
  return ControlCall<ListViewBehavior>(hWnd, std::forward<Fallback>(fallback), std::forward<Op>(op));
}

// Spacing travels in 16-bit halves, as in the platform's message.
int Half(int value) { return static_cast<int>(static_cast<unsigned>(value) & 0xFFFFu); }

}  // namespace

std::unique_ptr<WindowBehavior> MakeListViewBehavior() { return std::make_unique<ListViewBehavior>(); }

// A list view that is gone answers 0, as a message to it would.

int CListCtrl::GetItemCount() const {
  return WithListView(m_hWnd, 0, [](ListViewBehavior& view) { return view.Count(); });
}

int CListCtrl::InsertItem(const LVITEM* item) {
  return WithListView(m_hWnd, 0, [&](ListViewBehavior& view) { return view.Insert(item); });
}

int CListCtrl::InsertItem(int index, LPCTSTR text) { return InsertItem(LVIF_TEXT, index, text, 0, 0, 0, 0); }

int CListCtrl::InsertItem(int index, LPCTSTR text, int image) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, index, text, 0, 0, image, 0);
}

int CListCtrl::InsertItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM param) {
  LVITEMA item{};
  item.mask = mask;
  item.iItem = index;
  item.pszText = const_cast<LPSTR>(text);
  item.state = state;
  item.stateMask = stateMask;
  item.iImage = image;
  item.lParam = param;
  return InsertItem(&item);
}

BOOL CListCtrl::DeleteItem(int index) {
  return WithListView(m_hWnd, FALSE, [&](ListViewBehavior& view) { return view.Delete(index); });
}

BOOL CListCtrl::DeleteAllItems() {
  return WithListView(m_hWnd, FALSE, [](ListViewBehavior& view) { return view.DeleteAll(); });
}

BOOL CListCtrl::GetItem(LVITEM* item) const {
  return WithListView(m_hWnd, FALSE, [&](ListViewBehavior& view) { return view.GetFields(item); });
}

BOOL CListCtrl::SetItem(const LVITEM* item) {
  return WithListView(m_hWnd, FALSE, [&](ListViewBehavior& view) { return view.SetFields(item); });
}

int CListCtrl::GetNextItem(int start, int flags) const {
  return WithListView(m_hWnd, 0,
                      [&](ListViewBehavior& view) { return view.NextItem(start, static_cast<UINT>(flags)); });
}

UINT CListCtrl::GetSelectedCount() const {
  return WithListView(m_hWnd, 0u, [](ListViewBehavior& view) { return view.SelectedCount(); });
}

UINT CListCtrl::GetItemState(int index, UINT mask) const {
  return WithListView(m_hWnd, 0u, [&](ListViewBehavior& view) { return view.ItemState(index, mask); });
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
  return WithListView(m_hWnd, FALSE, [&](ListViewBehavior& view) { return view.SetItemState(index, state, mask); });
}

int CListCtrl::HitTest(LVHITTESTINFO* info) const {
  return WithListView(m_hWnd, 0, [&](ListViewBehavior& view) { return view.HitTest(info); });
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
  LVHITTESTINFO info{};
  info.pt = point;
  int item = HitTest(&info);
  if (flags) *flags = info.flags;
  return item;
}

BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT code) const {
  if (!rect) return FALSE;
  rect->left = static_cast<LONG>(code);
  return WithListView(m_hWnd, FALSE, [&](ListViewBehavior& view) { return view.ItemRect(index, rect, code); });
}

CImageList* CListCtrl::SetImageList(CImageList* list, int kind) {
  HIMAGELIST handle = list ? list->m_hImageList : nullptr;
  return CImageList::FromHandle(
      WithListView(m_hWnd, nullptr, [&](ListViewBehavior& view) { return view.SetImageList(kind, handle); }));
}

CImageList* CListCtrl::GetImageList(int kind) const {
  return CImageList::FromHandle(
      WithListView(m_hWnd, nullptr, [&](ListViewBehavior& view) { return view.ImageList(kind); }));
}

CSize CListCtrl::SetIconSpacing(int cx, int cy) {
  const QSize old = WithListView(m_hWnd, QSize(0, 0),
                                 [&](ListViewBehavior& view) { return view.SetIconSpacing(Half(cx), Half(cy)); });
  return CSize(Half(old.width()), Half(old.height()));
}

BOOL CListCtrl::EnsureVisible(int index, BOOL) {
  return WithListView(m_hWnd, FALSE, [&](ListViewBehavior& view) { return view.EnsureVisible(index); });
}

BOOL CListCtrl::Arrange(UINT) {
  return WithListView(m_hWnd, FALSE, [](ListViewBehavior& view) { return view.Arrange(); });
}

void CListCtrl::SetItemDescriber(std::function<CString(int item)> describe) {
  WithBehavior<ListViewBehavior>(m_hWnd, [&](ListViewBehavior& view) { view.SetDescriber(std::move(describe)); });
}

void CListCtrl::SetDragStart(std::function<void()> start) {
  WithBehavior<ListViewBehavior>(m_hWnd, [&](ListViewBehavior& view) { view.SetDragStart(std::move(start)); });
}
