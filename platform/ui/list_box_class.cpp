// "LISTBOX": sorted or unsorted, single, multiple or extended selection.

#include <QListWidget>

#include "platform/ui/item_list_behavior.h"
#include "platform/ui/list_box.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)

namespace {

constexpr int kDataRole = Qt::UserRole;

class ListBoxBehavior final : public ItemListBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    HWND self = &rec;
    m_record = &rec;
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
      if (r && !Quiet() && (r->style & LBS_NOTIFY)) NotifyParentCommand(*r, LBN_SELCHANGE);
    });
    rec.Connect(m_list, &QListWidget::itemDoubleClicked, [self](QListWidgetItem*) {
      WindowRecord* r = LiveRecord(self);
      if (r && (r->style & LBS_NOTIFY)) NotifyParentCommand(*r, LBN_DBLCLK);
    });
    rec.client = m_list->viewport();
    InstallControlEvents(rec, m_list->viewport());
    return m_list;
  }

  // Only what is sent as messages: the program fills the list by message,
  // and dialog data exchange moves the selection. Everything else is typed.
  std::optional<LRESULT> Handle(WindowRecord&, UINT message, WPARAM wParam, LPARAM lParam) override {
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    switch (message) {
      case LB_ADDSTRING:
        return Quietly([&] { return Add(TextArg(lParam)); });
      case LB_RESETCONTENT:
        Quietly([&] { Reset(); });
        return 0;
      case LB_GETCURSEL:
        return CurSel();
      case LB_SETCURSEL:
        return Quietly([&] { return SetCurSel(index); });
      default:
        return std::nullopt;
    }
  }

  [[nodiscard]] ItemTexts Texts() const override {
    return ItemTexts(m_list->count(), [this](int i) { return FromQt(m_list->item(i)->text()); });
  }

  [[nodiscard]] int Count() const { return m_list->count(); }

  int Add(const std::string& text) {
    return Insert((m_record->style & LBS_SORT) ? Texts().SortedPosition(text) : Count(), text);
  }

  int InsertAt(int index, const std::string& text) {
    if (index < -1 || index > Count()) return LB_ERR;
    return Insert(index == -1 ? Count() : index, text);
  }

  int Delete(int index) {
    if (!Valid(index)) return LB_ERR;
    delete m_list->takeItem(index);
    return m_list->count();
  }

  void Reset() { m_list->clear(); }

  [[nodiscard]] LRESULT ItemData(int index) const {
    return Valid(index) ? static_cast<LRESULT>(m_list->item(index)->data(kDataRole).toLongLong()) : LB_ERR;
  }

  int SetItemData(int index, LRESULT data) {
    if (!Valid(index)) return LB_ERR;
    m_list->item(index)->setData(kDataRole, static_cast<qlonglong>(data));
    return 0;
  }

  [[nodiscard]] int Sel(int index) const { return Valid(index) ? (m_list->item(index)->isSelected() ? 1 : 0) : LB_ERR; }

  // which == -1: every item.
  int SetSel(int which, bool select) {
    if (!Multi()) return LB_ERR;
    if (which == -1) {
      for (int i = 0; i < Count(); ++i) m_list->item(i)->setSelected(select);
    } else if (Valid(which)) {
      m_list->item(which)->setSelected(select);
    } else {
      return LB_ERR;
    }
    return 0;
  }

  [[nodiscard]] int CurSel() const {
    if (Multi()) return m_list->currentRow();
    for (int i = 0; i < Count(); ++i) {
      if (m_list->item(i)->isSelected()) return i;
    }
    return LB_ERR;
  }

  int SetCurSel(int index) {
    if (Multi()) return LB_ERR;
    if (!Valid(index)) {
      m_list->clearSelection();
      return LB_ERR;
    }
    m_list->setCurrentRow(index);
    m_list->scrollToItem(m_list->item(index));
    return index;
  }

  [[nodiscard]] int SelCount() const {
    if (!Multi()) return LB_ERR;
    int n = 0;
    for (int i = 0; i < Count(); ++i) n += m_list->item(i)->isSelected() ? 1 : 0;
    return n;
  }

  // Ascending item order, whatever order the user picked them in.
  int SelItems(int max, int* out) const {
    if (!Multi() || !out) return LB_ERR;
    int n = 0;
    for (int i = 0; i < Count() && n < max; ++i) {
      if (m_list->item(i)->isSelected()) out[n++] = i;
    }
    return n;
  }

  [[nodiscard]] int TopIndex() const {
    QListWidgetItem* top = m_list->itemAt(2, 2);
    return top ? m_list->row(top) : 0;
  }

  int SetCaretIndex(int index) {
    if (!Valid(index)) return LB_ERR;
    m_list->setCurrentRow(index, QItemSelectionModel::NoUpdate);
    return 0;
  }

 private:
  [[nodiscard]] bool Valid(int index) const { return index >= 0 && index < Count(); }
  [[nodiscard]] bool Multi() const { return (m_record->style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0; }

  int Insert(int position, const std::string& text) {
    m_list->insertItem(position, ToQt(text));
    return position;
  }

  WindowRecord* m_record = nullptr;  // owns this behaviour
  QListWidget* m_list = nullptr;
};

template <typename Fallback, typename Op>
auto WithListBox(const HWND& hWnd, Fallback&& fallback, Op&& op) {
  return QuietControlCall<ListBoxBehavior>(hWnd, std::forward<Fallback>(fallback), std::forward<Op>(op));
}

}  // namespace

std::unique_ptr<WindowBehavior> MakeListBoxBehavior() { return std::make_unique<ListBoxBehavior>(); }

// A list box that is gone answers 0, as a message to it would.

int CListBox::GetCount() const {
  return WithListBox(m_hWnd, 0, [](ListBoxBehavior& box) { return box.Count(); });
}
int CListBox::AddString(LPCTSTR text) {
  return WithListBox(m_hWnd, 0, [&](ListBoxBehavior& box) { return box.Add(TextOf(text)); });
}
int CListBox::InsertString(int index, LPCTSTR text) {
  return WithListBox(m_hWnd, 0, [&](ListBoxBehavior& box) { return box.InsertAt(index, TextOf(text)); });
}
int CListBox::DeleteString(UINT index) {
  return WithListBox(m_hWnd, 0, [&](ListBoxBehavior& box) { return box.Delete(static_cast<int>(index)); });
}
void CListBox::ResetContent() {
  WithListBox(m_hWnd, 0, [](ListBoxBehavior& box) {
    box.Reset();
    return 0;
  });
}
int CListBox::GetCurSel() const {
  return WithListBox(m_hWnd, 0, [](ListBoxBehavior& box) { return box.CurSel(); });
}
int CListBox::SetCurSel(int index) {
  return WithListBox(m_hWnd, 0, [&](ListBoxBehavior& box) { return box.SetCurSel(index); });
}
int CListBox::GetSel(int index) const {
  return WithListBox(m_hWnd, 0, [&](ListBoxBehavior& box) { return box.Sel(index); });
}
int CListBox::SetSel(int index, BOOL select) {
  return WithListBox(m_hWnd, 0, [&](ListBoxBehavior& box) { return box.SetSel(index, select != FALSE); });
}
int CListBox::GetSelCount() const {
  return WithListBox(m_hWnd, 0, [](ListBoxBehavior& box) { return box.SelCount(); });
}
int CListBox::GetSelItems(int maxItems, LPINT items) const {
  return WithListBox(m_hWnd, 0, [&](ListBoxBehavior& box) { return box.SelItems(maxItems, items); });
}
int CListBox::GetText(int index, LPTSTR buffer) const { return CopyItemText(m_hWnd, index, buffer); }
void CListBox::GetText(int index, CString& text) const { text = ItemText(m_hWnd, index); }
int CListBox::GetTextLen(int index) const { return ItemTextLength(m_hWnd, index); }
int CListBox::FindString(int startAfter, LPCTSTR text) const {
  return FindItemText(m_hWnd, startAfter, text, TextMatch::Prefix);
}
int CListBox::FindStringExact(int startAfter, LPCTSTR text) const {
  return FindItemText(m_hWnd, startAfter, text, TextMatch::Whole);
}
DWORD_PTR CListBox::GetItemData(int index) const {
  return static_cast<DWORD_PTR>(
      WithListBox(m_hWnd, LRESULT{0}, [&](ListBoxBehavior& box) { return box.ItemData(index); }));
}
int CListBox::SetItemData(int index, DWORD_PTR data) {
  return WithListBox(m_hWnd, 0,
                     [&](ListBoxBehavior& box) { return box.SetItemData(index, static_cast<LRESULT>(data)); });
}
int CListBox::GetTopIndex() const {
  return WithListBox(m_hWnd, 0, [](ListBoxBehavior& box) { return box.TopIndex(); });
}
int CListBox::SetCaretIndex(int index) {
  return WithListBox(m_hWnd, 0, [&](ListBoxBehavior& box) { return box.SetCaretIndex(index); });
}
