#pragma once
// The ordered collection of the listed icons' records, held by value:
// record n describes the icon of list-view item n. Appended at the tail,
// looked up by index, emptied all at once.
//
// Threads. There is no lock. One thread at a time appends or empties (the
// program does both on the user-interface thread). A lookup may run on
// another thread beside an append and then answers a wholly copied record
// or none: AddTail raises the count first and links the node, with release
// order, only once the record is in it; FindIndex reads the count and the
// links with acquire order, so a node it reaches is complete, and while the
// last node is not linked yet the lookup of the last index answers none.
// Emptying beside a lookup is not supported: the program deletes the list
// view's items first, so no command is left that would look a record up.

#include <atomic>
#include <cstddef>
#include <vector>

#include "model/icon_info.h"
#include "platform/ui/cobject.h"

// The class library's position in a list: an opaque handle, null for none.
struct GlimraPositionTag;
using POSITION = GlimraPositionTag*;

class CIconInfoList : public CObject {
 public:
  CIconInfoList() = default;
  ~CIconInfoList() override;
  CIconInfoList(const CIconInfoList&) = delete;
  CIconInfoList& operator=(const CIconInfoList&) = delete;

  // Appends a copy of info; the caller's record stays its own.
  POSITION AddTail(const CIconInfo& info) { return AddTail(CIconInfo(info)); }
  // Appends info itself: a record gathered on a worker keeps its strings,
  // instead of having them copied and its own freed here.
  POSITION AddTail(CIconInfo&& info);
  // Null when index is negative or not below the count.
  [[nodiscard]] POSITION FindIndex(int index) const;
  // The record at a position FindIndex or AddTail answered (not null).
  [[nodiscard]] const CIconInfo& GetAt(POSITION position) const;
  [[nodiscard]] CIconInfo& GetAt(POSITION position);
  // Destroys every record and releases all node storage.
  void RemoveAll();

  [[nodiscard]] int GetCount() const { return m_nCount.load(std::memory_order_acquire); }
  [[nodiscard]] bool IsEmpty() const { return GetCount() == 0; }
  [[nodiscard]] std::size_t GetBlockCount() const { return m_blocks.size(); }

  // Node storage is taken this many nodes at a time.
  static constexpr int kBlockSize = 10;

 private:
  struct CNode {
    std::atomic<CNode*> pNext{nullptr};
    CNode* pPrev = nullptr;
    CIconInfo data;
  };
  struct CBlock;

  [[nodiscard]] CNode* NewNode();

  std::atomic<CNode*> m_pNodeHead{nullptr};
  CNode* m_pNodeTail = nullptr;
  std::atomic<int> m_nCount{0};
  // Every block taken, and how many nodes of the last one are in use; only
  // the appending thread touches these.
  std::vector<CBlock*> m_blocks;
  int m_nUsedInLastBlock = kBlockSize;
};
