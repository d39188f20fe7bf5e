#include "model/icon_info_list.h"

#include <new>
#include <utility>

// Raw room for kBlockSize nodes; a node is constructed in it when taken.
struct CIconInfoList::CBlock {
  alignas(CNode) unsigned char storage[sizeof(CNode) * kBlockSize];
  [[nodiscard]] void* Slot(int index) { return storage + sizeof(CNode) * static_cast<std::size_t>(index); }
};

namespace {

template <typename Node>
POSITION ToPosition(Node* node) {
  return reinterpret_cast<POSITION>(node);
}

}  // namespace

CIconInfoList::~CIconInfoList() { RemoveAll(); }

CIconInfoList::CNode* CIconInfoList::NewNode() {
  if (m_nUsedInLastBlock == kBlockSize) {
    m_blocks.push_back(new CBlock);
    m_nUsedInLastBlock = 0;
  }
  void* slot = m_blocks.back()->Slot(m_nUsedInLastBlock++);
  return new (slot) CNode;
}

POSITION CIconInfoList::AddTail(CIconInfo&& info) {
  CNode* node = NewNode();
  node->pPrev = m_pNodeTail;
  m_nCount.fetch_add(1, std::memory_order_release);
  node->data = std::move(info);
  // Linking publishes the node: whoever reaches it through this link sees
  // the whole record.
  if (m_pNodeTail != nullptr) {
    m_pNodeTail->pNext.store(node, std::memory_order_release);
  } else {
    m_pNodeHead.store(node, std::memory_order_release);
  }
  m_pNodeTail = node;
  return ToPosition(node);
}

POSITION CIconInfoList::FindIndex(int index) const {
  if (index < 0 || index >= m_nCount.load(std::memory_order_acquire)) return nullptr;
  CNode* node = m_pNodeHead.load(std::memory_order_acquire);
  for (int i = 0; i < index && node != nullptr; ++i) {
    node = node->pNext.load(std::memory_order_acquire);
  }
  return ToPosition(node);
}

const CIconInfo& CIconInfoList::GetAt(POSITION position) const {
  return reinterpret_cast<const CNode*>(position)->data;
}

CIconInfo& CIconInfoList::GetAt(POSITION position) { return reinterpret_cast<CNode*>(position)->data; }

void CIconInfoList::RemoveAll() {
  CNode* node = m_pNodeHead.load(std::memory_order_relaxed);
  while (node != nullptr) {
    CNode* next = node->pNext.load(std::memory_order_relaxed);
    node->~CNode();
    node = next;
  }
  m_pNodeHead.store(nullptr, std::memory_order_release);
  m_pNodeTail = nullptr;
  m_nCount.store(0, std::memory_order_release);
  for (CBlock* block : m_blocks) delete block;
  m_blocks.clear();
  m_nUsedInLastBlock = kBlockSize;
}
