// The worker launch protocol of the main window, driven through the real
// "&List Icon" button and the clear operation: the states a press moves
// through, the button after every kind of finish, a clear while a listing
// runs, the button during a clearing, the started handshake and its
// time-out.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "mainwnd/glimra_dlg.h"
#include "mainwnd/list_launch.h"
#include "platform/core/kernel_object.h"
#include "platform/ui/ui_call.h"
#include "tests/common/ico_builder.h"
#include "tests/program_support/app_test_support.h"

namespace {

constexpr int kFinishMs = 60000;

class ListLaunch : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg = CreateShownMainWindow(30);
    ASSERT_NE(dlg, nullptr);
    for (const char* name : {"a.ico", "b.ico", "c.ico"}) {
      ASSERT_TRUE(ico_test::WriteFile(dir.File(name), ico_test::IcoFile({ico_test::DibEntry(32, 32, 32)})));
    }
  }
  void TearDown() override { DestroyMainWindow(); }

  void ChooseThreeFiles() { ChooseListedFiles(*dlg, dir.path(), {"a.ico", "b.ico", "c.ico"}, {0, 1, 2}); }
  [[nodiscard]] int Records() const { return dlg->m_listIcons.GetCount(); }
  [[nodiscard]] std::string Caption() const {
    CString text;
    dlg->m_btnListIcon.GetWindowText(text);
    return text.str();
  }
  [[nodiscard]] bool Enabled() const { return dlg->m_btnListIcon.IsWindowEnabled() != FALSE; }
  [[nodiscard]] bool ClearAndWait() {
    dlg->ClearAllIcons();
    HANDLE worker = dlg->m_hWorkerThread;
    if (worker == nullptr) return false;
    return PumpUntil([&] { return dlg->m_hWorkerThread == nullptr && WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; },
                     kFinishMs);
  }

  CGlimraDlg* dlg = nullptr;
  ico_test::TempDir dir;
};

TEST_F(ListLaunch, APressListsWithTheStopCaptionAndEndsIdle) {
  ChooseThreeFiles();
  std::vector<std::string> captions;
  std::vector<bool> running;
  std::vector<bool> enabled;
  const ItemCountWatch watch(dlg->m_lvIcons, [&](int) {
    captions.push_back(Caption());
    running.push_back(dlg->m_hWorkerThread != nullptr);
    enabled.push_back(Enabled());
  });
  ASSERT_EQ(Caption(), "&List Icon");
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  EXPECT_EQ(captions, std::vector<std::string>(3, "Stop &Listing"));
  EXPECT_EQ(running, std::vector<bool>(3, true));
  EXPECT_EQ(enabled, std::vector<bool>(3, true));
  EXPECT_EQ(Caption(), "&List Icon");
  EXPECT_EQ(dlg->m_hWorkerThread, nullptr);
  EXPECT_EQ(Records(), 3);
}

enum class Finish { kEndOfFiles, kStop, kEmptySelection, kClearing };

struct FinishCase {
  const char* name;
  Finish finish;
  BOOL canList;
};

class ListLaunchFinish : public ListLaunch, public ::testing::WithParamInterface<FinishCase> {};

// The selection may change while a worker runs (m_bCanList with it); the
// value at the finish is what the button takes.
TEST_P(ListLaunchFinish, TheButtonFollowsCanListAtTheFinish) {
  const FinishCase& c = GetParam();
  const BOOL before = c.canList ? FALSE : TRUE;
  dlg->m_bCanList = before;
  if (c.finish == Finish::kClearing) {
    ChooseThreeFiles();
    ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
    dlg->m_bCanList = c.canList;
    ASSERT_TRUE(ClearAndWait());
    EXPECT_EQ(Records(), 0);
  } else {
    if (c.finish == Finish::kEmptySelection) {
      ChooseListedFiles(*dlg, dir.path(), {"a.ico", "b.ico", "c.ico"}, {});
      dlg->m_bCanList = c.canList;
    } else {
      ChooseThreeFiles();
    }
    const ItemCountWatch watch(dlg->m_lvIcons, [&](int count) {
      if (count != 1) return;
      dlg->m_bCanList = c.canList;
      if (c.finish == Finish::kStop) ClickButton(dlg->m_btnListIcon);
    });
    ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
    EXPECT_EQ(Records(), c.finish == Finish::kEndOfFiles ? 3 : c.finish == Finish::kStop ? 1 : 0);
  }
  EXPECT_EQ(Enabled(), c.canList != FALSE);
  EXPECT_EQ(Caption(), "&List Icon");
  EXPECT_EQ(dlg->m_hWorkerThread, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Finishes, ListLaunchFinish,
                         ::testing::Values(FinishCase{"EndOfFilesCanList", Finish::kEndOfFiles, TRUE},
                                           FinishCase{"EndOfFilesCannotList", Finish::kEndOfFiles, FALSE},
                                           FinishCase{"StopCanList", Finish::kStop, TRUE},
                                           FinishCase{"StopCannotList", Finish::kStop, FALSE},
                                           FinishCase{"EmptySelectionCanList", Finish::kEmptySelection, TRUE},
                                           FinishCase{"EmptySelectionCannotList", Finish::kEmptySelection, FALSE},
                                           FinishCase{"ClearingCanList", Finish::kClearing, TRUE},
                                           FinishCase{"ClearingCannotList", Finish::kClearing, FALSE}),
                         [](const ::testing::TestParamInfo<FinishCase>& info) { return std::string(info.param.name); });

TEST_F(ListLaunch, AClearDuringAListingDoesNothing) {
  ChooseThreeFiles();
  HANDLE during = nullptr;
  const ItemCountWatch watch(dlg->m_lvIcons, [&](int count) {
    if (count != 2) return;
    dlg->ClearAllIcons();
    during = dlg->m_hWorkerThread;
  });
  dlg->m_btnListIcon.EnableWindow(TRUE);
  ClickButton(dlg->m_btnListIcon);
  HANDLE listing = dlg->m_hWorkerThread;
  ASSERT_NE(listing, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return dlg->m_hWorkerThread == nullptr; }, kFinishMs));
  EXPECT_EQ(during, listing);
  EXPECT_EQ(Records(), 3);
  EXPECT_EQ(dlg->m_lvIcons.GetItemCount(), 3);
}

TEST_F(ListLaunch, DuringAClearingTheButtonIsDisabledAndAPressDoesNothing) {
  ChooseThreeFiles();
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  ASSERT_EQ(Records(), 3);
  dlg->m_bCanList = TRUE;
  bool seen = false;
  bool enabledDuring = true;
  HANDLE runningAfterPress = nullptr;
  const ItemCountWatch watch(dlg->m_lvIcons, [&](int count) {
    if (count != 0) return;
    seen = true;
    enabledDuring = Enabled();
    ClickButton(dlg->m_btnListIcon);
    runningAfterPress = dlg->m_hWorkerThread;
  });
  dlg->ClearAllIcons();
  HANDLE clearing = dlg->m_hWorkerThread;
  ASSERT_NE(clearing, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return dlg->m_hWorkerThread == nullptr; }, kFinishMs));
  ASSERT_TRUE(seen);
  EXPECT_FALSE(enabledDuring);
  EXPECT_EQ(runningAfterPress, clearing);
  EXPECT_EQ(WaitForSingleObject(dlg->m_hStopEvent, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(Enabled());
  EXPECT_EQ(Caption(), "&List Icon");
}

TEST_F(ListLaunch, AStaleStartedSignalIsNotLeftForTheNextLaunch) {
  ChooseThreeFiles();
  SetEvent(dlg->m_hStartedEvent);
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  EXPECT_EQ(WaitForSingleObject(dlg->m_hStartedEvent, 0), WAIT_TIMEOUT);
  EXPECT_EQ(Records(), 3);
}

// A worker that never acknowledges: it waits for the test's gate, then
// tries a window call.
struct SilentWorker {
  HANDLE gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<HANDLE> self{nullptr};
  std::atomic<bool> windowCallRan{false};
  std::atomic<bool> returned{false};
};
SilentWorker* g_silent = nullptr;

DWORD SilentEntry(void* /*dlg*/) {
  g_silent->self = ZU_ThreadSelf();
  static_cast<void>(WaitForSingleObject(g_silent->gate, INFINITE));
  UiCall([] { g_silent->windowCallRan = true; });
  g_silent->returned = true;
  return 0;
}

TEST_F(ListLaunch, AWorkerThatDoesNotAcknowledgeIsKilledAndTheWindowStaysIdle) {
  SilentWorker silent;
  g_silent = &silent;
  LaunchWorker(*dlg, &SilentEntry);
  EXPECT_EQ(dlg->m_hWorkerThread, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return silent.self.load() != nullptr; }, kFinishMs));
  SetEvent(silent.gate);
  EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(silent.self.load(), 0) == WAIT_OBJECT_0; }, kFinishMs));
  PumpEvents(20);
  EXPECT_FALSE(silent.windowCallRan);
  EXPECT_FALSE(silent.returned);
  CloseHandle(silent.gate);
  g_silent = nullptr;
  // The window is idle: the next press lists.
  ChooseThreeFiles();
  ASSERT_TRUE(PressListAndWait(*dlg, kFinishMs));
  EXPECT_EQ(Records(), 3);
}

// A worker that acknowledges once the test lets it: killed by then or not.
struct GatedAcknowledgement {
  HANDLE gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE started = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> returned{false};
  ~GatedAcknowledgement() {
    for (HANDLE event : {gate, started, entered}) CloseHandle(event);
  }
};

DWORD GatedEntry(void* arg) {
  auto* worker = static_cast<GatedAcknowledgement*>(arg);
  SetEvent(worker->entered);
  static_cast<void>(WaitForSingleObject(worker->gate, INFINITE));
  AcknowledgeLaunch(worker->started);
  worker->returned = true;
  return 0;
}

TEST(AcknowledgeLaunch, AWorkerKilledBeforeItAcknowledgesNeverSignals) {
  for (const bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "killed" : "not killed");
    GatedAcknowledgement worker;
    HANDLE thread = nullptr;
    ASSERT_TRUE(ZU_ThreadCreate(&thread, &GatedEntry, &worker, ZU_THREAD_LIBRARY_HANDLE));
    // Inside its entry before the kill, as a worker late for its launcher is.
    ASSERT_EQ(WaitForSingleObject(worker.entered, INFINITE), WAIT_OBJECT_0);
    if (killed) {
      ASSERT_TRUE(ZU_ThreadKill(thread));
    }
    SetEvent(worker.gate);
    ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(worker.started, 0), killed ? WAIT_TIMEOUT : WAIT_OBJECT_0);
    EXPECT_EQ(worker.returned.load(), !killed);
  }
}

}  // namespace
