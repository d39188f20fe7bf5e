// The application's message loop and the quit that the main window's end
// posts: it ends Run, and when no loop is there to take it, it must not end
// the modal loops that come after it (an application started twice in one
// process, or a window destroyed while a pump drains the queue).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "platform/ui/dialog.h"
#include "platform/ui/win_app.h"
#include "tests/platform/ui/ui_test_util.h"

namespace {

using namespace test_resources;

class MessageLoopTest : public ::testing::Test {
 protected:
  ScopedResources resources{kTable};
  CWinApp app{"Glimra"};
};

// Runs a modal dialog that ends itself from inside its own loop; answers
// what DoModal returned and whether the loop ran until then.
struct ModalOutcome {
  INT_PTR result = 0;
  bool endedFromInside = false;
};
ModalOutcome RunSelfEndingModal() {
  ModalOutcome outcome;
  CDialog modal(kMainDialog);
  QObject context;
  QTimer::singleShot(30, &context, [&] {
    outcome.endedFromInside = modal.m_hWnd != nullptr && modal.IsWindowVisible();
    modal.EndDialog(7);
  });
  outcome.result = modal.DoModal();
  return outcome;
}

TEST_F(MessageLoopTest, QuitWithNoLoopRunningLeavesLaterModalLoopsRunning) {
  for (int start = 0; start < 2; ++start) {
    CDialog mainWnd;
    ASSERT_TRUE(mainWnd.Create(kMainDialog, nullptr));
    app.m_pMainWnd = &mainWnd;
    mainWnd.DestroyWindow();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    Pump(20);
    const ModalOutcome outcome = RunSelfEndingModal();
    EXPECT_EQ(outcome.result, 7) << "start " << start;
    EXPECT_TRUE(outcome.endedFromInside) << "start " << start;
  }
}

TEST_F(MessageLoopTest, DestroyingTheMainWindowEndsRunAndLaterLoopsStillRun) {
  CDialog mainWnd;
  ASSERT_TRUE(mainWnd.Create(kMainDialog, nullptr));
  mainWnd.ShowWindow(SW_SHOW);
  app.m_pMainWnd = &mainWnd;
  QObject context;
  bool timedOut = false;
  QTimer::singleShot(20, &context, [&] { mainWnd.DestroyWindow(); });
  QTimer::singleShot(5000, &context, [&] {
    timedOut = true;
    QCoreApplication::exit(1);
  });
  EXPECT_EQ(app.Run(), 0);
  EXPECT_FALSE(timedOut);
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_EQ(RunSelfEndingModal().result, 7);
}

}  // namespace
