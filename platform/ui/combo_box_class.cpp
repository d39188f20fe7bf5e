// "COMBOBOX": drop-down (editable), drop-down list and simple combo boxes.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

#include "platform/ui/combo_box.h"
#include "platform/ui/control_support.h"

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

class ComboBoxBehavior final : public WindowBehavior {
 public:
  QWidget* Build(WindowRecord& rec, QWidget* parent) override {
    HWND self = &rec;
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
        if (r && m_quiet == 0) NotifyParentCommand(*r, CBN_EDITCHANGE);
      });
      InstallControlEvents(rec, edit);
    }
    rec.Connect(m_combo, qOverload<int>(&QComboBox::activated), [this, self](int) {
      WindowRecord* r = LiveRecord(self);
      if (r && m_quiet == 0) NotifyParentCommand(*r, CBN_SELCHANGE);
    });
    InstallControlEvents(rec, m_combo);
    return m_combo;
  }

  std::optional<LRESULT> Handle(WindowRecord& rec, UINT message, WPARAM wParam, LPARAM lParam) override {
    NotifyGuard quiet(m_quiet);
    const int count = m_combo->count();
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    auto valid = [&](int i) { return i >= 0 && i < count; };
    switch (message) {
      case CB_ADDSTRING: {
        int at = (rec.style & CBS_SORT) ? SortedPosition(TextArg(lParam)) : count;
        InsertKeepingEdit(at, TextArg(lParam));
        return at;
      }
      case CB_INSERTSTRING:
        if (index < -1 || index > count) return CB_ERR;
        InsertKeepingEdit(index == -1 ? count : index, TextArg(lParam));
        return index == -1 ? count : index;
      case CB_DELETESTRING:
        if (!valid(index)) return CB_ERR;
        m_combo->removeItem(index);
        return m_combo->count();
      case CB_RESETCONTENT:
        m_combo->clear();
        if (m_combo->isEditable()) m_combo->clearEditText();
        return CB_OKAY;
      case CB_GETCOUNT:
        return count;
      case CB_GETCURSEL:
        return m_combo->currentIndex();
      case CB_SETCURSEL:
        if (!valid(index)) {
          m_combo->setCurrentIndex(-1);
          if (m_combo->isEditable()) m_combo->clearEditText();
          return CB_ERR;
        }
        m_combo->setCurrentIndex(index);
        if (m_combo->isEditable()) m_combo->setEditText(m_combo->itemText(index));
        return index;
      case CB_GETLBTEXT:
        return valid(index) ? CopyOut(FromQt(m_combo->itemText(index)), lParam) : CB_ERR;
      case CB_GETLBTEXTLEN:
        return valid(index) ? static_cast<LRESULT>(FromQt(m_combo->itemText(index)).size()) : CB_ERR;
      case CB_GETITEMDATA:
        return valid(index) ? static_cast<LRESULT>(m_combo->itemData(index, kDataRole).toLongLong()) : CB_ERR;
      case CB_SETITEMDATA:
        if (!valid(index)) return CB_ERR;
        m_combo->setItemData(index, static_cast<qlonglong>(lParam), kDataRole);
        return CB_OKAY;
      case CB_FINDSTRING:
        return Find(index, TextArg(lParam), false);
      case CB_FINDSTRINGEXACT:
        return Find(index, TextArg(lParam), true);
      case CB_SELECTSTRING: {
        LRESULT found = Find(index, TextArg(lParam), false);
        if (found != CB_ERR) Handle(rec, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
        return found;
      }
      case CB_SHOWDROPDOWN:
        if (wParam)
          m_combo->showPopup();
        else
          m_combo->hidePopup();
        return TRUE;
      case CB_GETDROPPEDSTATE:
        return m_combo->view() && m_combo->view()->isVisible() ? TRUE : FALSE;
      case CB_LIMITTEXT:
        if (QLineEdit* edit = m_combo->lineEdit()) edit->setMaxLength(wParam ? static_cast<int>(wParam) : 32767);
        return TRUE;
      case CB_GETEDITSEL: {
        QLineEdit* edit = m_combo->lineEdit();
        if (!edit) return CB_ERR;
        int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        int end = edit->hasSelectedText() ? edit->selectionEnd() : edit->cursorPosition();
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
        return MAKELPARAM(static_cast<unsigned>(start), static_cast<unsigned>(end));
      }
      case CB_SETEDITSEL: {
        QLineEdit* edit = m_combo->lineEdit();
        if (!edit) return CB_ERR;
        int start = GET_X_LPARAM(lParam), end = GET_Y_LPARAM(lParam);
        if (start < 0)
          edit->deselect();
        else
          edit->setSelection(start, (end < 0 ? static_cast<int>(edit->text().size()) : end) - start);
        return TRUE;
      }
      default:
        return std::nullopt;
    }
  }

  int FixedHeight() const override { return m_combo->sizeHint().height(); }

  std::string Text(const WindowRecord&) const override { return FromQt(m_combo->currentText()); }

  void SetText(WindowRecord& rec, const std::string& text) override {
    rec.text = text;
    NotifyGuard quiet(m_quiet);
    if (m_combo->isEditable()) {
      m_combo->setEditText(ToQt(text));
    } else {
      int i = m_combo->findText(ToQt(text), Qt::MatchFixedString);
      if (i >= 0) m_combo->setCurrentIndex(i);
    }
  }

 private:
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

  int SortedPosition(const std::string& text) const {
    int lo = 0, hi = m_combo->count();
    while (lo < hi) {
      int mid = (lo + hi) / 2;
      if (CompareNoCase(FromQt(m_combo->itemText(mid)), text) <= 0)
        lo = mid + 1;
      else
        hi = mid;
    }
    return lo;
  }

  // The combo box's own search: from the item after startAfter (-1: the
  // first) round to the one before it; prefix or whole text, any case.
  LRESULT Find(int startAfter, const std::string& text, bool exact) const {
    const int count = m_combo->count();
    if (count == 0) return CB_ERR;
    const int first = (startAfter < -1 || startAfter >= count) ? 0 : startAfter + 1;
    for (int k = 0; k < count; ++k) {
      int i = (first + k) % count;
      std::string item = FromQt(m_combo->itemText(i));
      if (exact ? CompareNoCase(item, text) == 0 : StartsWithNoCase(item, text)) return i;
    }
    return CB_ERR;
  }

  QComboBox* m_combo = nullptr;
  int m_quiet = 0;
};

}  // namespace

std::unique_ptr<WindowBehavior> MakeComboBoxBehavior() { return std::make_unique<ComboBoxBehavior>(); }

void CComboBox::GetLBText(int index, CString& text) const {
  text = UiCall([&]() -> CString {
    int n = GetLBTextLen(index);
    if (n < 0) return CString();
    CString out;
    char* buffer = out.GetBuffer(n + 1);
    int got = static_cast<int>(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
    out.ReleaseBuffer(got < 0 ? 0 : got);
    return out;
  });
}
