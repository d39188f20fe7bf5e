#include "platform/ui/picture_store.h"

#include <algorithm>
#include <functional>
#include <string_view>

PictureStore::PictureStore(std::size_t pixels) : m_pixels(pixels), m_index(0, ByContent{this}, ByContent{this}) {}

std::uint64_t PictureStore::Hash(std::span<const std::uint32_t> pixels) {
  const std::string_view bytes(reinterpret_cast<const char*>(pixels.data()), pixels.size_bytes());
  return std::hash<std::string_view>{}(bytes);
}

bool PictureStore::ByContent::operator()(const Probe& probe, PictureId id) const {
  if (store->m_slots[id].hash != probe.hash) return false;
  const std::span<const std::uint32_t> held = store->Pixels(id);
  return std::equal(held.begin(), held.end(), probe.pixels.begin(), probe.pixels.end());
}

std::uint32_t* PictureStore::SlotPixels(PictureId id) const {
  return m_blocks[id / kBlockPictures].get() + (id % kBlockPictures) * m_pixels;
}

std::span<const std::uint32_t> PictureStore::Pixels(PictureId id) const { return {SlotPixels(id), m_pixels}; }

PictureStore::PictureId PictureStore::Acquire(std::span<const std::uint32_t> pixels, std::uint64_t hash) {
  if (const auto found = m_index.find(Probe{pixels, hash}); found != m_index.end()) {
    ++m_slots[*found].users;
    return *found;
  }
  PictureId id = 0;
  if (!m_free.empty()) {
    id = m_free.back();
    m_free.pop_back();
  } else {
    id = static_cast<PictureId>(m_slots.size());
    if (id % kBlockPictures == 0)
      m_blocks.push_back(std::make_unique_for_overwrite<std::uint32_t[]>(kBlockPictures * m_pixels));
    m_slots.emplace_back();
  }
  std::copy(pixels.begin(), pixels.end(), SlotPixels(id));
  m_slots[id] = Slot{hash, 1};
  m_index.insert(id);
  return id;
}

void PictureStore::Release(PictureId id) {
  if (id >= m_slots.size() || m_slots[id].users == 0) return;
  if (--m_slots[id].users > 0) return;
  m_index.erase(id);
  m_free.push_back(id);
}

void PictureStore::Clear() {
  m_index.clear();
  // The buckets too: a list emptied after a long listing gives its memory back.
  m_index.rehash(0);
  m_slots.clear();
  m_slots.shrink_to_fit();
  m_free.clear();
  m_free.shrink_to_fit();
  m_blocks.clear();
  m_blocks.shrink_to_fit();
}
