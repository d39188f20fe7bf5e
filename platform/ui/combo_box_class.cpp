// "COMBOBOX": drop-down (editable), drop-down list and simple combo boxes.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include "platform/ui/combo_box.h"
#include "platform/ui/item_list_behavior.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {

constexpr int kDataRole = Qt::UserRole;

class NotifyingCombo final : public QComboBox {
 public:
  NotifyingCombo(HWND hWnd, QWidget* parent) : QComboBox(parent), m_hWnd(hWnd) {}
  void showPopup() override {
    if (WindowRecord* r = LiveRecord(m_hWnd)) NotifyParentCommand(*r, CBN_DROPDOWN);
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    if (WindowRecord* r = LiveRecord(m_hWnd)) NotifyParentCommand(*r, CBN_CLOSEUP);
  }

 private:
  HWND m_hWnd;
};

class ComboBoxBehavior final : public ItemListBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    HWND self = &rec;
    m_record = &rec;
    m_combo = new NotifyingCombo(self, parent);
    const DWORD type = rec.style & 0x3u;
    m_combo->setEditable(type == CBS_DROPDOWN || type == CBS_SIMPLE);
    // The list is the program's to fill: Enter in the edit field adds nothing.
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setDuplicatesEnabled(true);
    if (QLineEdit* edit = m_combo->lineEdit()) {
      m_combo->setCompleter(nullptr);
      rec.Connect(edit, &QLineEdit::textEdited, [this, self](const QString&) {
        WindowRecord* r = LiveRecord(self);
        if (r && !Quiet()) NotifyParentCommand(*r, CBN_EDITCHANGE);
      });
      InstallControlEvents(rec, edit);
    }
    rec.Connect(m_combo, qOverload<int>(&QComboBox::activated), [this, self](int) {
      WindowRecord* r = LiveRecord(self);
      if (r && !Quiet()) NotifyParentCommand(*r, CBN_SELCHANGE);
    });
    InstallControlEvents(rec, m_combo);
    return m_combo;
  }

  // Only what is sent as messages: dialog data exchange moves the
  // selection. Everything else is typed.
  std::optional<LRESULT> Handle(WindowRecord&, UINT message, WPARAM wParam, LPARAM) override {
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    switch (message) {
      case CB_GETCURSEL:
        return CurSel();
      case CB_SETCURSEL:
        return Quietly([&] { return SetCurSel(index); });
      default:
        return std::nullopt;
    }
  }

  int FixedHeight() const override { return m_combo->sizeHint().height(); }

  std::string Text(const WindowRecord&) const override { return FromQt(m_combo->currentText()); }

  void SetText(WindowRecord& rec, const std::string& text) override {
    rec.text = text;
    Quietly([&] {
      if (m_combo->isEditable()) {
        m_combo->setEditText(ToQt(text));
      } else {
        int i = m_combo->findText(ToQt(text), Qt::MatchFixedString);
        if (i >= 0) m_combo->setCurrentIndex(i);
      }
    });
  }

  [[nodiscard]] ItemTexts Texts() const override {
    return ItemTexts(m_combo->count(), [this](int i) { return FromQt(m_combo->itemText(i)); });
  }

  [[nodiscard]] int Count() const { return m_combo->count(); }

  int Add(const std::string& text) {
    const int at = (m_record->style & CBS_SORT) ? Texts().SortedPosition(text) : Count();
    InsertKeepingEdit(at, text);
    return at;
  }

  int InsertAt(int index, const std::string& text) {
    if (index < -1 || index > Count()) return CB_ERR;
    const int at = index == -1 ? Count() : index;
    InsertKeepingEdit(at, text);
    return at;
  }

  int Delete(int index) {
    if (!Valid(index)) return CB_ERR;
    m_combo->removeItem(index);
    return m_combo->count();
  }

  // The list and the edit field.
  void Reset() {
    m_combo->clear();
    if (m_combo->isEditable()) m_combo->clearEditText();
  }

  [[nodiscard]] int CurSel() const { return m_combo->currentIndex(); }

  int SetCurSel(int index) {
    if (!Valid(index)) {
      m_combo->setCurrentIndex(-1);
      if (m_combo->isEditable()) m_combo->clearEditText();
      return CB_ERR;
    }
    m_combo->setCurrentIndex(index);
    if (m_combo->isEditable()) m_combo->setEditText(m_combo->itemText(index));
    return index;
  }

  int SelectString(int startAfter, const std::string& text) {
    const int found = Texts().Find(startAfter, text, TextMatch::Prefix);
    if (found != CB_ERR) SetCurSel(found);
    return found;
  }

  [[nodiscard]] LRESULT ItemData(int index) const {
    return Valid(index) ? static_cast<LRESULT>(m_combo->itemData(index, kDataRole).toLongLong()) : CB_ERR;
  }

  int SetItemData(int index, LRESULT data) {
    if (!Valid(index)) return CB_ERR;
    m_combo->setItemData(index, static_cast<qlonglong>(data), kDataRole);
    return CB_OKAY;
  }

  void ShowDropDown(bool show) {
    if (show)
      m_combo->showPopup();
    else
      m_combo->hidePopup();
  }

  [[nodiscard]] BOOL DroppedState() const { return m_combo->view() && m_combo->view()->isVisible() ? TRUE : FALSE; }

 private:
  [[nodiscard]] bool Valid(int index) const { return index >= 0 && index < Count(); }

  // Adding to the list leaves the edit field as it was: QComboBox would
  // otherwise show the first item added to an empty list.
  void InsertKeepingEdit(int at, const std::string& text) {
    const bool wasEmpty = m_combo->count() == 0;
    const QString edit = m_combo->currentText();
    const int current = m_combo->currentIndex();
    m_combo->insertItem(at, ToQt(text));
    if (wasEmpty) {
      m_combo->setCurrentIndex(-1);
      if (m_combo->isEditable()) m_combo->setEditText(edit);
    } else if (current < 0 && m_combo->isEditable()) {
      m_combo->setEditText(edit);
    }
  }

  WindowRecord* m_record = nullptr;  // owns this behaviour
  QComboBox* m_combo = nullptr;
};

template <typename Fallback, typename Op>
auto WithComboBox(const HWND& hWnd, Fallback&& fallback, Op&& op) {
  return QuietControlCall<ComboBoxBehavior>(hWnd, std::forward<Fallback>(fallback), std::forward<Op>(op));
}

}  // namespace

std::unique_ptr<WindowBehavior> MakeComboBoxBehavior() { return std::make_unique<ComboBoxBehavior>(); }

// A combo box that is gone answers 0, as a message to it would.

int CComboBox::GetCount() const {
  return WithComboBox(m_hWnd, 0, [](ComboBoxBehavior& box) { return box.Count(); });
}
int CComboBox::AddString(LPCTSTR text) {
  return WithComboBox(m_hWnd, 0, [&](ComboBoxBehavior& box) { return box.Add(TextOf(text)); });
}
int CComboBox::InsertString(int index, LPCTSTR text) {
  return WithComboBox(m_hWnd, 0, [&](ComboBoxBehavior& box) { return box.InsertAt(index, TextOf(text)); });
}
int CComboBox::DeleteString(UINT index) {
  return WithComboBox(m_hWnd, 0, [&](ComboBoxBehavior& box) { return box.Delete(static_cast<int>(index)); });
}
void CComboBox::ResetContent() {
  WithComboBox(m_hWnd, 0, [](ComboBoxBehavior& box) {
    box.Reset();
    return 0;
  });
}
int CComboBox::GetCurSel() const {
  return WithComboBox(m_hWnd, 0, [](ComboBoxBehavior& box) { return box.CurSel(); });
}
int CComboBox::SetCurSel(int index) {
  return WithComboBox(m_hWnd, 0, [&](ComboBoxBehavior& box) { return box.SetCurSel(index); });
}
int CComboBox::GetLBText(int index, LPTSTR buffer) const { return CopyItemText(m_hWnd, index, buffer); }
void CComboBox::GetLBText(int index, CString& text) const { text = ItemText(m_hWnd, index); }
int CComboBox::GetLBTextLen(int index) const { return ItemTextLength(m_hWnd, index); }
int CComboBox::FindString(int startAfter, LPCTSTR text) const {
  return FindItemText(m_hWnd, startAfter, text, TextMatch::Prefix);
}
int CComboBox::FindStringExact(int startAfter, LPCTSTR text) const {
  return FindItemText(m_hWnd, startAfter, text, TextMatch::Whole);
}
int CComboBox::SelectString(int startAfter, LPCTSTR text) {
  return WithComboBox(m_hWnd, 0, [&](ComboBoxBehavior& box) { return box.SelectString(startAfter, TextOf(text)); });
}
DWORD_PTR CComboBox::GetItemData(int index) const {
  return static_cast<DWORD_PTR>(
      WithComboBox(m_hWnd, LRESULT{0}, [&](ComboBoxBehavior& box) { return box.ItemData(index); }));
}
int CComboBox::SetItemData(int index, DWORD_PTR data) {
  return WithComboBox(m_hWnd, 0,
                      [&](ComboBoxBehavior& box) { return box.SetItemData(index, static_cast<LRESULT>(data)); });
}
void CComboBox::ShowDropDown(BOOL show) {
  WithComboBox(m_hWnd, 0, [&](ComboBoxBehavior& box) {
    box.ShowDropDown(show != FALSE);
    return 0;
  });
}
BOOL CComboBox::GetDroppedState() const {
  return WithComboBox(m_hWnd, FALSE, [](ComboBoxBehavior& box) { return box.DroppedState(); });
}
