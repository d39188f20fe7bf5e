// A status pane that is given a message per file repaints at a reader's
// pace, and always ends up showing the last message.

#include "platform/ui/status_pane.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>

#include "tests/platform/ui/ui_test_util.h"

namespace {

class PaintCount final : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

TEST(StatusPaneTest, ManyMessagesInAMomentCostFewRepaintsAndTheLastOneShows) {
  QWidget window;
  auto* pane = new StatusPane(&window);
  pane->setGeometry(0, 0, 300, 20);
  window.resize(300, 20);
  window.show();
  Pump(50);
  PaintCount count;
  pane->installEventFilter(&count);
  QElapsedTimer clock;
  clock.start();
  int beforeLast = 0;
  for (int i = 0; i < 200; ++i) {
    beforeLast = count.paints;
    pane->setText(QString("Listing from /tmp/file%1.dll").arg(i));
    QApplication::processEvents();
  }
  const qint64 elapsed = clock.elapsed();
  const int during = count.paints;
  // One repaint per 30 ms at most, plus the one that may start at once.
  EXPECT_LE(during, static_cast<int>(elapsed / 30) + 2) << elapsed << " ms";
  EXPECT_EQ(pane->text(), QString("Listing from /tmp/file199.dll"));
  // The last text is painted soon after, without another change.
  ASSERT_TRUE(PumpUntil([&] { return count.paints > beforeLast; }, 1000));
  pane->removeEventFilter(&count);
}

}  // namespace
