// "SysListView32": the icon view with items drawn from the normal image
// list, multiple selection, automatic arrangement, hit testing.

#include <QListWidget>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "platform/ui/control_support.h"
#include "platform/ui/gdi_internal.h"
#include "platform/ui/image_list.h"
#include "platform/ui/list_ctrl.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

constexpr int kParamRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
// The platform's default spacing for 32-pixel icons.
constexpr int kDefaultSpacingX = 75;
constexpr int kDefaultSpacingY = 70;

class ListViewBehavior;

// Double-clicks and clicks anywhere in the view (on an item or not) reach
// the parent as NM_ notifications.
class ViewEvents final : public QObject {
 public:
  ViewEvents(HWND hWnd, QListWidget* list) : m_hWnd(hWnd), m_list(list) {}
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
    QListWidgetItem* item = m_list->itemAt(p);
    nm.iItem = item ? m_list->row(item) : -1;
    nm.ptAction = POINT{p.x(), p.y()};
    // After Qt has handled the click (selection first, as the platform does).
    HWND self = m_hWnd;
    QMetaObject::invokeMethod(
        m_list, [self, nm, code]() mutable {
          if (WindowRecord* r = LiveRecord(self); r && !r->destroying) NotifyParent(*r, code, &nm.hdr);
        },
        Qt::QueuedConnection);
    return false;
  }

 private:
  HWND m_hWnd;
  QListWidget* m_list;
};

// Items hold only their image's index; the picture is drawn from the normal
// image list when painted, so the list keeps the one copy of every image.
class ImageListDelegate final : public QStyledItemDelegate {
 public:
  ImageListDelegate(const HIMAGELIST* normal, QObject* parent) : QStyledItemDelegate(parent), m_normal(normal) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const int image = index.data(kImageRole).toInt();
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(*m_normal, &cx, &cy)) return;
    std::vector<std::uint32_t> pixels = ImageList_GetPixels(*m_normal, image);
    if (pixels.empty()) return;
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->icon = QIcon(QPixmap::fromImage(PixelsToImage(pixels.data(), cx, cy)));
    option->decorationSize = QSize(cx, cy);
  }

 private:
  const HIMAGELIST* m_normal;
};

class ListViewBehavior final : public WindowBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    m_list = new QListWidget(parent);
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode((rec.style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                         : QAbstractItemView::ExtendedSelection);
    const DWORD view = rec.style & LVS_TYPEMASK;
    if (view == LVS_ICON || view == LVS_SMALLICON) {
      m_list->setViewMode(QListView::IconMode);
      m_list->setFlow(QListView::LeftToRight);
      m_list->setWrapping(true);
      m_list->setGridSize(QSize(kDefaultSpacingX, kDefaultSpacingY));
    } else {
      m_list->setViewMode(QListView::ListMode);
    }
    m_list->setMovement(QListView::Static);
    // Automatic arrangement: items re-flow whenever the view's width changes.
    if (rec.style & LVS_AUTOARRANGE) m_list->setResizeMode(QListView::Adjust);
    m_list->setIconSize(QSize(32, 32));
    m_list->setItemDelegate(new ImageListDelegate(&m_normal, m_list));
    m_list->setTextElideMode(Qt::ElideRight);
    if (!(rec.style & WS_BORDER) && !(rec.exStyle & WS_EX_CLIENTEDGE)) m_list->setFrameShape(QFrame::NoFrame);
    m_events = std::make_unique<ViewEvents>(&rec, m_list);
    m_list->viewport()->installEventFilter(m_events.get());
    rec.client = m_list->viewport();
    InstallControlEvents(rec, m_list->viewport());
    return m_list;
  }

  void Destroying(WindowRecord&) override {
    if (m_list) m_list->viewport()->removeEventFilter(m_events.get());
  }

  std::optional<LRESULT> Handle(WindowRecord& rec, UINT message, WPARAM wParam, LPARAM lParam) override {
    (void)rec;
    const int count = m_list->count();
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    auto valid = [&](int i) { return i >= 0 && i < count; };
    switch (message) {
      case LVM_GETITEMCOUNT:
        return count;
      case LVM_INSERTITEMA: {
        auto* item = reinterpret_cast<const LVITEMA*>(lParam);
        if (!item) return -1;
        int at = std::clamp(item->iItem, 0, count);
        auto* entry = new QListWidgetItem;
        if ((item->mask & LVIF_TEXT) && item->pszText) entry->setText(QString::fromUtf8(item->pszText));
        entry->setData(kImageRole, (item->mask & LVIF_IMAGE) ? item->iImage : -1);
        entry->setData(kParamRole, static_cast<qlonglong>((item->mask & LVIF_PARAM) ? item->lParam : 0));
        entry->setSizeHint(m_list->gridSize());
        m_list->insertItem(at, entry);
        if ((item->mask & LVIF_STATE) && (item->stateMask & LVIS_SELECTED)) entry->setSelected(item->state & LVIS_SELECTED);
        return at;
      }
      case LVM_DELETEITEM:
        if (!valid(index)) return FALSE;
        delete m_list->takeItem(index);
        return TRUE;
      case LVM_DELETEALLITEMS:
        m_list->clear();
        return TRUE;
      case LVM_GETITEMA:
      case LVM_SETITEMA:
        return ItemFields(message == LVM_SETITEMA, reinterpret_cast<LVITEMA*>(lParam));
      case LVM_GETNEXTITEM:
        return NextItem(index, static_cast<UINT>(lParam));
      case LVM_GETSELECTEDCOUNT:
        return SelectedCount();
      case LVM_GETITEMSTATE: {
        if (!valid(index)) return 0;
        UINT state = 0;
        if (m_list->item(index)->isSelected()) state |= LVIS_SELECTED;
        if (m_list->currentItem() == m_list->item(index)) state |= LVIS_FOCUSED;
        return static_cast<LRESULT>(state & static_cast<UINT>(lParam));
      }
      case LVM_SETITEMSTATE: {
        auto* item = reinterpret_cast<const LVITEMA*>(lParam);
        if (!item) return FALSE;
        auto apply = [&](int i) {
          if (item->stateMask & LVIS_SELECTED) m_list->item(i)->setSelected(item->state & LVIS_SELECTED);
          if ((item->stateMask & LVIS_FOCUSED) && (item->state & LVIS_FOCUSED)) {
            m_list->setCurrentItem(m_list->item(i), QItemSelectionModel::NoUpdate);
          }
        };
        if (index == -1) {
          for (int i = 0; i < count; ++i) apply(i);
        } else if (valid(index)) {
          apply(index);
        } else {
          return FALSE;
        }
        return TRUE;
      }
      case LVM_SETIMAGELIST: {
        HIMAGELIST previous = index == LVSIL_NORMAL ? m_normal : m_small;
        (index == LVSIL_NORMAL ? m_normal : m_small) = reinterpret_cast<HIMAGELIST>(lParam);
        int cx = 32, cy = 32;
        if (m_normal && ImageList_GetIconSize(m_normal, &cx, &cy)) m_list->setIconSize(QSize(cx, cy));
        m_list->viewport()->update();
        return reinterpret_cast<LRESULT>(previous);
      }
      case LVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(index == LVSIL_NORMAL ? m_normal : m_small);
      case LVM_SETICONSPACING: {
        QSize old = m_list->gridSize();
        int cx = LOWORD(static_cast<WPARAM>(lParam)), cy = HIWORD(static_cast<WPARAM>(lParam));
        // 0xFFFF in a half asks for the default.
        if (cx == 0xFFFF) cx = kDefaultSpacingX;
        if (cy == 0xFFFF) cy = kDefaultSpacingY;
        m_list->setGridSize(QSize(cx, cy));
        for (int i = 0; i < count; ++i) m_list->item(i)->setSizeHint(QSize(cx, cy));
        m_list->doItemsLayout();
        return MAKELONG(static_cast<unsigned>(old.width()), static_cast<unsigned>(old.height()));
      }
      case LVM_HITTEST:
        return HitTest(reinterpret_cast<LVHITTESTINFO*>(lParam));
      case LVM_GETITEMRECT: {
        auto* r = reinterpret_cast<RECT*>(lParam);
        if (!valid(index) || !r) return FALSE;
        QRect box = m_list->visualItemRect(m_list->item(index));
        if (r->left == LVIR_ICON) box = IconRect(box);
        *r = RECT{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
        return TRUE;
      }
      case LVM_ENSUREVISIBLE:
        if (!valid(index)) return FALSE;
        m_list->scrollToItem(m_list->item(index));
        return TRUE;
      case LVM_ARRANGE:
        m_list->doItemsLayout();
        return TRUE;
      default:
        return std::nullopt;
    }
  }

 private:
  QRect IconRect(const QRect& cell) const {
    QSize icon = m_list->iconSize();
    return QRect(cell.left() + (cell.width() - icon.width()) / 2, cell.top() + 2, icon.width(), icon.height());
  }

  // The selection model keeps ranges, so asking it costs the number of
  // selected runs, not the number of items: the toolbar's idle update asks
  // after every step of a listing that appends thousands of items. Ranges
  // may overlap, so they are merged first.
  std::vector<std::pair<int, int>> SelectedRuns() const {
    std::vector<std::pair<int, int>> runs;
    for (const QItemSelectionRange& range : m_list->selectionModel()->selection()) {
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

  LRESULT SelectedCount() const {
    LRESULT n = 0;
    for (const auto& [top, bottom] : SelectedRuns()) n += bottom - top + 1;
    return n;
  }

  LRESULT NextItem(int start, UINT flags) const {
    const int from = std::max(-1, start) + 1;
    const int current = m_list->currentRow();
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
    return from < m_list->count() ? from : -1;
  }

  LRESULT ItemFields(bool set, LVITEMA* item) {
    if (!item || item->iItem < 0 || item->iItem >= m_list->count()) return FALSE;
    QListWidgetItem* entry = m_list->item(item->iItem);
    if (set) {
      if ((item->mask & LVIF_TEXT) && item->pszText) entry->setText(QString::fromUtf8(item->pszText));
      if (item->mask & LVIF_IMAGE) {
        entry->setData(kImageRole, item->iImage);
      }
      if (item->mask & LVIF_PARAM) entry->setData(kParamRole, static_cast<qlonglong>(item->lParam));
      if ((item->mask & LVIF_STATE) && (item->stateMask & LVIS_SELECTED)) entry->setSelected(item->state & LVIS_SELECTED);
      return TRUE;
    }
    if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
      std::string text = FromQt(entry->text());
      std::size_t n = std::min(text.size(), static_cast<std::size_t>(item->cchTextMax - 1));
      std::memcpy(item->pszText, text.data(), n);
      item->pszText[n] = '\0';
    }
    if (item->mask & LVIF_IMAGE) item->iImage = entry->data(kImageRole).toInt();
    if (item->mask & LVIF_PARAM) item->lParam = static_cast<LPARAM>(entry->data(kParamRole).toLongLong());
    if (item->mask & LVIF_STATE) {
      UINT state = 0;
      if (entry->isSelected()) state |= LVIS_SELECTED;
      if (m_list->currentItem() == entry) state |= LVIS_FOCUSED;
      item->state = state & item->stateMask;
    }
    return TRUE;
  }

  // The point is in the view's client coordinates (inside the border).
  LRESULT HitTest(LVHITTESTINFO* info) {
    if (!info) return -1;
    info->iItem = -1;
    info->iSubItem = 0;
    info->flags = 0;
    const QPoint p(info->pt.x, info->pt.y);
    const QSize client = m_list->viewport()->size();
    if (p.y() < 0) info->flags |= LVHT_ABOVE;
    if (p.y() >= client.height()) info->flags |= LVHT_BELOW;
    if (p.x() < 0) info->flags |= LVHT_TOLEFT;
    if (p.x() >= client.width()) info->flags |= LVHT_TORIGHT;
    if (info->flags) return -1;
    QListWidgetItem* entry = m_list->itemAt(p);
    if (!entry) {
      info->flags = LVHT_NOWHERE;
      return -1;
    }
    const QRect cell = m_list->visualItemRect(entry);
    info->flags = IconRect(cell).contains(p) ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
    info->iItem = m_list->row(entry);
    return info->iItem;
  }

  QListWidget* m_list = nullptr;
  HIMAGELIST m_normal = nullptr;
  HIMAGELIST m_small = nullptr;
  std::unique_ptr<ViewEvents> m_events;
};

}  // namespace

std::unique_ptr<WindowBehavior> MakeListViewBehavior() { return std::make_unique<ListViewBehavior>(); }

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

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
  LVITEMA item{};
  item.state = state;
  item.stateMask = mask;
  return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
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
  return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)));
}

CImageList* CListCtrl::SetImageList(CImageList* list, int kind) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(
      LVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(list ? list->m_hImageList : nullptr))));
}

CImageList* CListCtrl::GetImageList(int kind) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(kind))));
}

CSize CListCtrl::SetIconSpacing(int cx, int cy) {
  LRESULT old = SendMessage(LVM_SETICONSPACING, 0, MAKELPARAM(static_cast<unsigned>(cx), static_cast<unsigned>(cy)));
  return CSize(LOWORD(static_cast<WPARAM>(old)), HIWORD(static_cast<WPARAM>(old)));
}

BOOL CListCtrl::EnsureVisible(int index, BOOL partialOK) {
  return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOK));
}
