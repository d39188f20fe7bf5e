// The record collection: bounds of the lookup, order, copies held by value,
// node storage in blocks of ten, emptying and refilling, and lookups beside
// a concurrent append.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "model/icon_info_list.h"

namespace {

std::string SourceOf(int n) { return "/src/" + std::to_string(n) + ".dll"; }

CIconInfo Numbered(int n) {
  const std::string source = SourceOf(n);
  return CIconInfo(source.c_str(), MAKEINTRESOURCEA(static_cast<std::uintptr_t>(n)), nullptr);
}

TEST(CIconInfoList, LookupAnswersNoneOutsideZeroToCountMinusOne) {
  CIconInfoList list;
  EXPECT_EQ(list.FindIndex(0), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);
  for (int i = 0; i < 3; ++i) list.AddTail(Numbered(i + 1));
  for (const int bad : {-1, -1000, 3, 4, 1 << 30}) EXPECT_EQ(list.FindIndex(bad), nullptr) << bad;
  for (int i = 0; i < 3; ++i) EXPECT_NE(list.FindIndex(i), nullptr) << i;
}

TEST(CIconInfoList, RecordsComeBackInAppendOrderAsCopies) {
  CIconInfoList list;
  CIconInfo record = Numbered(1);
  const POSITION first = list.AddTail(record);
  record.m_nID = 99;
  record.m_strSource = "/changed";
  for (int i = 2; i <= 25; ++i) list.AddTail(Numbered(i));
  EXPECT_EQ(list.FindIndex(0), first);
  ASSERT_EQ(list.GetCount(), 25);
  for (int i = 0; i < 25; ++i) {
    const CIconInfo& got = list.GetAt(list.FindIndex(i));
    EXPECT_EQ(got.m_nID, static_cast<UINT>(i + 1));
    EXPECT_EQ(got.m_strSource, SourceOf(i + 1).c_str());
  }
}

TEST(CIconInfoList, NodeStorageGrowsTenAtATimeAndRemoveAllReleasesIt) {
  CIconInfoList list;
  EXPECT_EQ(list.GetBlockCount(), 0u);
  struct Row {
    int appended;
    std::size_t blocks;
  };
  int count = 0;
  for (const Row row : {Row{1, 1}, Row{10, 1}, Row{11, 2}, Row{20, 2}, Row{21, 3}}) {
    while (count < row.appended) list.AddTail(Numbered(++count));
    EXPECT_EQ(list.GetBlockCount(), row.blocks) << row.appended;
  }
  list.RemoveAll();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetBlockCount(), 0u);
  EXPECT_EQ(list.FindIndex(0), nullptr);
  list.RemoveAll();  // on an empty collection as well

  list.AddTail(Numbered(7));
  ASSERT_EQ(list.GetCount(), 1);
  EXPECT_EQ(list.GetAt(list.FindIndex(0)).m_nID, 7u);
  EXPECT_EQ(list.GetBlockCount(), 1u);
}

// One thread appends while another keeps looking up the last index: every
// answer is either none or a record whose fields all agree with each other.
TEST(CIconInfoList, LookupBesideAnAppendAnswersWholeRecordsOrNone) {
  constexpr int kRecords = 1000;
  const std::string kLongFolder(8000, 'f');
  CIconInfoList list;
  std::atomic<bool> started{false};
  std::atomic<bool> done{false};
  std::atomic<int> seen{0};
  std::atomic<int> torn{0};
  std::thread reader([&] {
    started.store(true, std::memory_order_release);
    while (!done.load(std::memory_order_acquire)) {
      const int last = list.GetCount() - 1;
      const POSITION pos = list.FindIndex(last);
      if (pos == nullptr) continue;
      const CIconInfo copy = list.GetAt(pos);
      const std::string expected = kLongFolder + SourceOf(static_cast<int>(copy.m_nID));
      if (copy.m_nID == 0 || copy.m_strSource != expected.c_str() || copy.m_wFlags != 0x0006) ++torn;
      ++seen;
    }
  });
  while (!started.load(std::memory_order_acquire)) std::this_thread::yield();
  // Keep appending until the reader has answered a good number of lookups
  // (identifiers stay numbers, below 0x10000).
  for (int i = 1; i <= kRecords || (seen.load() < 5000 && i < 0xFFFF); ++i) {
    // Long paths make each copy take long enough for a reader to land in it.
    CIconInfo record = Numbered(i);
    record.m_strSource = (kLongFolder + SourceOf(i)).c_str();
    list.AddTail(record);
  }
  done.store(true, std::memory_order_release);
  reader.join();
  EXPECT_EQ(torn.load(), 0);
  EXPECT_GT(seen.load(), 0);
  EXPECT_GE(list.GetCount(), kRecords);
}

}  // namespace
