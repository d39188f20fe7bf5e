// Double-clicks in the icon list view: an item the collection has no
// record for yet, and a click that hits no item with nothing selected.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/glimra_app.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/ui/message_box.h"
#include "tests/commands/window_input.h"
#include "tests/program_support/app_test_support.h"

namespace {

struct BoxSeen {
  std::string text;
  std::string caption;
  UINT type = 0;
};

class IconDoubleClick : public MainWindowTest {
 protected:
  // Every modal run is recorded; boxes answer OK and dialogs Cancel.
  void RecordModals() {
    SetModalHook([this](const ModalRun& run) -> std::optional<int> {
      if (run.kind == ModalKind::MessageBox) {
        boxes.push_back({run.text.str(), run.caption.str(), run.type});
        return IDOK;
      }
      ++otherRuns;
      return run.kind == ModalKind::Dialog ? IDCANCEL : 0;
    });
  }
  [[nodiscard]] QPoint ItemCentre(int index) const {
    CRect rect;
    EXPECT_TRUE(dlg->m_lvIcons.GetItemRect(index, &rect, LVIR_BOUNDS));
    return {rect.CenterPoint().x, rect.CenterPoint().y};
  }
  void DoubleClick(QPoint at) { ClickWindow(dlg->m_lvIcons.GetSafeHwnd(), at, Qt::LeftButton, Clicks::Double); }

  std::vector<BoxSeen> boxes;
  int otherRuns = 0;
};

TEST_F(IconDoubleClick, AnItemWithoutItsRecordCantGetIconInfo) {
  // What a listing worker leaves for a moment: the item shown, its record not yet appended.
  ASSERT_EQ(dlg->m_lvIcons.InsertItem(0, ""), 0);
  RecordModals();
  DoubleClick(ItemCentre(0));
  ASSERT_TRUE(PumpUntil([&] { return !boxes.empty(); }, 1000));
  PumpEvents(20);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Can't get Icon info");
  EXPECT_EQ(boxes[0].caption, "Glimra");
  EXPECT_EQ(boxes[0].type, MB_OK | MB_ICONSTOP);
  EXPECT_EQ(otherRuns, 0);
}

TEST_F(IconDoubleClick, TheRealBoxHasOneOkButtonAndTheStopIcon) {
  ASSERT_EQ(dlg->m_lvIcons.InsertItem(0, ""), 0);
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
  bool closed = false;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    poll.stop();
    icon = box->icon();
    buttons = static_cast<int>(box->buttons().size());
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
      ok->click();
      closed = true;
    }
  });
  poll.start();
  DoubleClick(ItemCentre(0));
  ASSERT_TRUE(PumpUntil([&] { return closed; }, 2000));
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons, 1);
}

TEST_F(IconDoubleClick, NoItemSelectedDoesNothing) {
  ASSERT_EQ(dlg->m_lvIcons.InsertItem(0, ""), 0);
  RecordModals();
  CRect client;
  dlg->m_lvIcons.GetClientRect(&client);
  // Empty space: the first click clears the selection, so nothing is selected.
  DoubleClick(QPoint(client.Width() - 5, client.Height() - 5));
  PumpEvents(50);
  EXPECT_EQ(dlg->m_lvIcons.GetNextItem(-1, LVNI_SELECTED), -1);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(otherRuns, 0);
}

}  // namespace
