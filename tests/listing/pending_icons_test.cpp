// A worker's icons of one file reach the window in runs: every moment the
// user-interface thread can see shows whole runs, with items, images and
// records in step. On that thread itself, each icon goes in as it comes.

#include <QTimer>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "listing/pending_icons.h"
#include "mainwnd/glimra_dlg.h"
#include "platform/core/icon_object.h"
#include "platform/core/kernel_object.h"
#include "platform/ui/ui_call.h"
#include "support/framework/zu_thread.h"
#include "tests/program_support/app_test_support.h"

namespace {

const std::string kCorpus = GLIMRA_CORPUS_DIR;

struct Job {
  CGlimraDlg* dlg;
  std::string path;
};

DWORD ListOnWorker(void* arg) {
  auto* job = static_cast<Job*>(arg);
  job->dlg->ListIconsFromFile(job->path.c_str());
  return 0;
}

class PendingIconsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dlg = CreateShownMainWindow(30);
    ASSERT_NE(dlg, nullptr);
  }
  void TearDown() override { DestroyMainWindow(); }
  [[nodiscard]] std::tuple<int, int, int> Counts() const {
    return {dlg->m_lvIcons.GetItemCount(), dlg->m_pImageList->GetImageCount(), dlg->m_listIcons.GetCount()};
  }
  CGlimraDlg* dlg = nullptr;
};

TEST_F(PendingIconsTest, AWorkersLargeFileArrivesInWholeRunsInStep) {
  // 184 icon groups: one full run and the rest.
  Job job{dlg, kCorpus + "/pe64/shell32.dll"};
  constexpr int kTotal = 184;
  std::set<int> seen;
  bool inStep = true;
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout, [&] {
    const auto [items, images, records] = Counts();
    inStep = inStep && items == images && images == records;
    seen.insert(records);
  });
  sampler.start(0);
  HANDLE worker = nullptr;
  ASSERT_TRUE(ZU_ThreadCreate(&worker, &ListOnWorker, &job, ZU_THREAD_LIBRARY_HANDLE));
  ASSERT_TRUE(PumpUntil([&] { return WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }, 60000));
  // The worker posts its runs and does not wait for them to be stored.
  ASSERT_TRUE(PumpUntil([&] { return std::get<2>(Counts()) == kTotal; }, 60000));
  sampler.stop();
  EXPECT_TRUE(inStep);
  EXPECT_EQ(std::get<2>(Counts()), kTotal);
  for (int records : seen) {
    EXPECT_TRUE(records == kTotal || records % static_cast<int>(PendingIcons::kMaxPending) == 0) << records;
  }
}

// Two icons added to one batch; the records the window had between the
// adds and the flush.
struct BatchJob {
  CGlimraDlg* dlg;
  HICON icon;
  const CIconInfo* info;
  int recordsBeforeFlush = -1;
};

DWORD AddTwiceAndFlush(void* arg) {
  auto* job = static_cast<BatchJob*>(arg);
  PendingIcons icons(*job->dlg, 0);
  icons.Add(job->icon, *job->info);
  icons.Add(job->icon, *job->info);
  job->recordsBeforeFlush = UiCall([job] { return job->dlg->m_listIcons.GetCount(); });
  icons.Flush();
  return 0;
}

TEST_F(PendingIconsTest, AWorkersBatchWaitsForItsFlushAndTheUserInterfaceThreadsDoesNot) {
  const CIconInfo info((kCorpus + "/ico/idle.ico").c_str());
  const UniqueIcon icon(info.GetIcon(-1));
  ASSERT_NE(icon.get(), nullptr);

  BatchJob job{dlg, icon.get(), &info};
  HANDLE worker = nullptr;
  ASSERT_TRUE(ZU_ThreadCreate(&worker, &AddTwiceAndFlush, &job, ZU_THREAD_LIBRARY_HANDLE));
  ASSERT_TRUE(PumpUntil([&] { return WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }, 60000));
  EXPECT_EQ(job.recordsBeforeFlush, 0);
  ASSERT_TRUE(PumpUntil([&] { return std::get<2>(Counts()) == 2; }, 60000));
  EXPECT_EQ(Counts(), std::make_tuple(2, 2, 2));

  // A double-clicked file's icons are in the window as each is added.
  PendingIcons icons(*dlg, 0);
  icons.Add(icon.get(), info);
  EXPECT_EQ(Counts(), std::make_tuple(3, 3, 3));
  icons.Add(icon.get(), info);
  EXPECT_EQ(Counts(), std::make_tuple(4, 4, 4));
}

}  // namespace
