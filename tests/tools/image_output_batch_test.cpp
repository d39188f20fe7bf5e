#include "tools/image_output_batch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "support/icon/rgba_image.h"
#include "tests/common/ico_builder.h"
#include "tools/task_pool.h"

namespace {

using ico_test::DibImage;
using ico_test::ReadFile;
using ico_test::TempDir;

TEST(TaskPool, EveryTaskRunsOnceInEveryBatchWhateverTheThreads) {
  for (const unsigned helpers : {0u, 1u, 3u}) {
    SCOPED_TRACE(helpers);
    TaskPool pool(helpers);
    // The pool is kept across batches of several sizes, empty ones among them.
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{1000}}) {
      std::vector<std::atomic<int>> runs(count);
      pool.RunAll(count, [&](std::size_t i) { runs[i].fetch_add(1); });
      for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(runs[i].load(), 1) << "task " << i << " of " << count;
    }
  }
}

TEST(TaskPool, ThreadsBesidesTheCallerShareTheWork) {
  TaskPool pool(2);
  // Each task waits until another thread has started one: with the caller
  // alone that never happens, and the bound only ends a failing run.
  std::atomic<int> started{0};
  std::mutex mutex;
  std::set<std::thread::id> threads;
  pool.RunAll(3, [&](std::size_t) {
    {
      const std::lock_guard lock(mutex);
      threads.insert(std::this_thread::get_id());
    }
    started.fetch_add(1);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (started.load() < 2 && std::chrono::steady_clock::now() < giveUp) std::this_thread::yield();
  });
  EXPECT_GE(threads.size(), 2u);
}

// What a person reads must not depend on which thread finished first: the
// results come back in the order the images were queued, failures in their
// place, and only the readable images leave files.
TEST(ImageOutputBatch, ReportsInQueueOrderWithFailuresInPlace) {
  TempDir dir;
  TaskPool pool(3);
  std::vector<std::string> reported;
  ImageOutputBatch batch(pool, [&](const std::string& destination, const Expected<std::uint64_t>& result) {
    reported.push_back(destination + (result ? "" : " failed"));
  });
  const std::vector<std::uint8_t> good = DibImage(32, 32, 32);
  const std::vector<std::uint8_t> junk{1, 2, 3};
  std::vector<std::string> expected;
  for (int i = 0; i < 60; ++i) {
    const std::string destination = dir.File(std::to_string(i) + ".png");
    const bool readable = i % 7 != 3;
    batch.Add(destination, readable ? std::span<const std::uint8_t>(good) : std::span<const std::uint8_t>(junk),
              Overwrite::Never);
    expected.push_back(destination + (readable ? "" : " failed"));
  }
  EXPECT_TRUE(reported.empty()) << "nothing is reported before the batch is flushed";
  batch.Flush();
  EXPECT_EQ(reported, expected);
  for (int i = 0; i < 60; ++i) {
    const std::string destination = dir.File(std::to_string(i) + ".png");
    EXPECT_EQ(std::filesystem::exists(destination), i % 7 != 3) << destination;
  }
  const auto decoded = DecodeImageToRgba(ReadFile(dir.File("0.png")));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->rgba, DecodeImageToRgba(good)->rgba);

  // The queue was emptied: a second flush reports nothing again, and an
  // existing file is not replaced.
  reported.clear();
  batch.Flush();
  EXPECT_TRUE(reported.empty());
  batch.Add(dir.File("0.png"), good, Overwrite::Never);
  batch.Flush();
  EXPECT_EQ(reported, std::vector<std::string>{dir.File("0.png") + " failed"});
}

}  // namespace
