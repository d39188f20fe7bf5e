// "LISTBOX": sorted or unsorted, single, multiple or extended selection.

#include <QListWidget>

#include "platform/ui/control_support.h"
#include "platform/ui/list_box.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)

namespace {

constexpr int kDataRole = Qt::UserRole;

class ListBoxBehavior final : public WindowBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    HWND self = &rec;
    m_list = new QListWidget(parent);
    m_list->setUniformItemSizes(true);
    if (rec.style & LBS_NOSEL)
      m_list->setSelectionMode(QAbstractItemView::NoSelection);
    else if (rec.style & LBS_EXTENDEDSEL)
      m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    else if (rec.style & LBS_MULTIPLESEL)
      m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    else
      m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    if (!(rec.style & WS_VSCROLL)) m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (!(rec.style & WS_HSCROLL)) m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (!(rec.style & WS_BORDER) && !(rec.exStyle & WS_EX_CLIENTEDGE)) m_list->setFrameShape(QFrame::NoFrame);
    rec.Connect(m_list, &QListWidget::itemSelectionChanged, [this, self] {
      WindowRecord* r = LiveRecord(self);
      if (r && m_quiet == 0 && (r->style & LBS_NOTIFY)) NotifyParentCommand(*r, LBN_SELCHANGE);
    });
    rec.Connect(m_list, &QListWidget::itemDoubleClicked, [self](QListWidgetItem*) {
      WindowRecord* r = LiveRecord(self);
      if (r && (r->style & LBS_NOTIFY)) NotifyParentCommand(*r, LBN_DBLCLK);
    });
    rec.client = m_list->viewport();
    InstallControlEvents(rec, m_list->viewport());
    return m_list;
  }

  std::optional<LRESULT> Handle(WindowRecord& rec, UINT message, WPARAM wParam, LPARAM lParam) override {
    NotifyGuard quiet(m_quiet);
    const int count = m_list->count();
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    const bool multi = (rec.style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
    auto valid = [&](int i) { return i >= 0 && i < count; };
    switch (message) {
      case LB_ADDSTRING:
        return Insert((rec.style & LBS_SORT) ? SortedPosition(TextArg(lParam)) : count, TextArg(lParam));
      case LB_INSERTSTRING:
        if (index < -1 || index > count) return LB_ERR;
        return Insert(index == -1 ? count : index, TextArg(lParam));
      case LB_DELETESTRING:
        if (!valid(index)) return LB_ERR;
        delete m_list->takeItem(index);
        return m_list->count();
      case LB_RESETCONTENT:
        m_list->clear();
        return 0;
      case LB_GETCOUNT:
        return count;
      case LB_GETTEXT:
        return valid(index) ? CopyOut(FromQt(m_list->item(index)->text()), lParam) : LB_ERR;
      case LB_GETTEXTLEN:
        return valid(index) ? static_cast<LRESULT>(FromQt(m_list->item(index)->text()).size()) : LB_ERR;
      case LB_GETITEMDATA:
        return valid(index) ? static_cast<LRESULT>(m_list->item(index)->data(kDataRole).toLongLong()) : LB_ERR;
      case LB_SETITEMDATA:
        if (!valid(index)) return LB_ERR;
        m_list->item(index)->setData(kDataRole, static_cast<qlonglong>(lParam));
        return 0;
      case LB_GETSEL:
        return valid(index) ? (m_list->item(index)->isSelected() ? 1 : 0) : LB_ERR;
      case LB_SETSEL: {
        if (!multi) return LB_ERR;
        const int which = static_cast<int>(lParam);
        if (which == -1) {
          for (int i = 0; i < count; ++i) m_list->item(i)->setSelected(wParam != 0);
        } else if (valid(which)) {
          m_list->item(which)->setSelected(wParam != 0);
        } else {
          return LB_ERR;
        }
        return 0;
      }
      case LB_GETCURSEL:
        if (multi) return m_list->currentRow();
        for (int i = 0; i < count; ++i) {
          if (m_list->item(i)->isSelected()) return i;
        }
        return LB_ERR;
      case LB_SETCURSEL:
        if (multi) return LB_ERR;
        if (!valid(index)) {
          m_list->clearSelection();
          return LB_ERR;
        }
        m_list->setCurrentRow(index);
        m_list->scrollToItem(m_list->item(index));
        return index;
      case LB_GETSELCOUNT: {
        if (!multi) return LB_ERR;
        int n = 0;
        for (int i = 0; i < count; ++i) n += m_list->item(i)->isSelected() ? 1 : 0;
        return n;
      }
      case LB_GETSELITEMS: {
        if (!multi || !lParam) return LB_ERR;
        // Ascending item order, whatever order the user picked them in.
        auto* out = reinterpret_cast<int*>(lParam);
        const int max = static_cast<int>(wParam);
        int n = 0;
        for (int i = 0; i < count && n < max; ++i) {
          if (m_list->item(i)->isSelected()) out[n++] = i;
        }
        return n;
      }
      case LB_SELITEMRANGE: {
        if (!multi) return LB_ERR;
        const int first = LOWORD(static_cast<WPARAM>(lParam)), last = HIWORD(static_cast<WPARAM>(lParam));
        for (int i = std::max(0, first); i <= std::min(last, count - 1); ++i) m_list->item(i)->setSelected(wParam != 0);
        return 0;
      }
      case LB_FINDSTRING:
        return Find(index, TextArg(lParam), false);
      case LB_FINDSTRINGEXACT:
        return Find(index, TextArg(lParam), true);
      case LB_SELECTSTRING: {
        if (multi) return LB_ERR;
        LRESULT found = Find(index, TextArg(lParam), false);
        if (found != LB_ERR) m_list->setCurrentRow(static_cast<int>(found));
        return found;
      }
      case LB_GETTOPINDEX: {
        QListWidgetItem* top = m_list->itemAt(2, 2);
        return top ? m_list->row(top) : 0;
      }
      case LB_SETTOPINDEX:
        if (!valid(index)) return LB_ERR;
        m_list->scrollToItem(m_list->item(index), QAbstractItemView::PositionAtTop);
        return 0;
      case LB_GETCARETINDEX:
        return m_list->currentRow();
      case LB_SETCARETINDEX:
        if (!valid(index)) return LB_ERR;
        m_list->setCurrentRow(index, QItemSelectionModel::NoUpdate);
        return 0;
      case LB_GETITEMRECT: {
        if (!valid(index) || !lParam) return LB_ERR;
        QRect r = m_list->visualItemRect(m_list->item(index));
        *reinterpret_cast<RECT*>(lParam) = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
        return 0;
      }
      default:
        return std::nullopt;
    }
  }

 private:
  LRESULT Insert(int position, const std::string& text) {
    m_list->insertItem(position, ToQt(text));
    return position;
  }

  // After every item that sorts before or equal to it, as a sorted list box places it.
  int SortedPosition(const std::string& text) const {
    int lo = 0, hi = m_list->count();
    while (lo < hi) {
      int mid = (lo + hi) / 2;
      if (CompareNoCase(FromQt(m_list->item(mid)->text()), text) <= 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    return lo;
  }

  // From the item after startAfter to the end, then from the start: the
  // first whose text begins with (or equals) text, regardless of case.
  LRESULT Find(int startAfter, const std::string& text, bool exact) const {
    const int count = m_list->count();
    if (count == 0) return LB_ERR;
    const int first = (startAfter < -1 || startAfter >= count) ? 0 : startAfter + 1;
    for (int k = 0; k < count; ++k) {
      int i = (first + k) % count;
      std::string item = FromQt(m_list->item(i)->text());
      if (exact ? CompareNoCase(item, text) == 0 : StartsWithNoCase(item, text)) return i;
    }
    return LB_ERR;
  }

  QListWidget* m_list = nullptr;
  int m_quiet = 0;
};

}  // namespace

std::unique_ptr<WindowBehavior> MakeListBoxBehavior() { return std::make_unique<ListBoxBehavior>(); }

void CListBox::GetText(int index, CString& text) const {
  text = UiCall([&]() -> CString {
    int n = GetTextLen(index);
    if (n < 0) return CString();
    CString out;
    char* buffer = out.GetBuffer(n + 1);
    int got = static_cast<int>(SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
    out.ReleaseBuffer(got < 0 ? 0 : got);
    return out;
  });
}
