#pragma once
// Internal to platform/ui: the pictures of one image list, each different
// picture stored once. A listing of a real installation holds the same
// icons many times over (every program's copy of a standard icon), so the
// memory follows the number of different pictures, not of images.
//
// A picture is a fixed number of 0xAARRGGBB pixels, found by its content
// and counted by its users; it goes when its last user releases it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <unordered_set>
#include <vector>

class PictureStore {
 public:
  using PictureId = std::uint32_t;

  // pixels: how many each picture holds (the list's width times height).
  explicit PictureStore(std::size_t pixels);
  PictureStore(const PictureStore&) = delete;
  PictureStore& operator=(const PictureStore&) = delete;

  // The content hash Acquire expects; a caller may compute it on its own
  // thread beforehand, so the store's owner only compares.
  [[nodiscard]] static std::uint64_t Hash(std::span<const std::uint32_t> pixels);

  // The picture equal to pixels (which hold exactly the store's count), now
  // with one more user; stored first when no such picture is held.
  [[nodiscard]] PictureId Acquire(std::span<const std::uint32_t> pixels, std::uint64_t hash);
  // One user less; the last one's release frees the picture.
  void Release(PictureId id);
  // Every picture goes at once.
  void Clear();

  // A held picture's pixels.
  [[nodiscard]] std::span<const std::uint32_t> Pixels(PictureId id) const;
  // How many different pictures are held.
  [[nodiscard]] std::size_t Count() const { return m_index.size(); }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t users = 0;  // 0: free
  };
  // The index holds picture ids and looks them up by content: its hash and
  // equality read the store, and a lookup may name pixels not yet stored.
  struct Probe {
    std::span<const std::uint32_t> pixels;
    std::uint64_t hash;
  };
  struct ByContent {
    using is_transparent = void;
    const PictureStore* store;
    std::size_t operator()(PictureId id) const { return store->m_slots[id].hash; }
    std::size_t operator()(const Probe& probe) const { return probe.hash; }
    bool operator()(PictureId a, PictureId b) const { return a == b; }
    bool operator()(const Probe& probe, PictureId id) const;
    bool operator()(PictureId id, const Probe& probe) const { return (*this)(probe, id); }
  };

  [[nodiscard]] std::uint32_t* SlotPixels(PictureId id) const;

  std::size_t m_pixels;
  // Pictures live in blocks of kBlockPictures, so a picture costs its pixels
  // and no allocation of its own; a freed slot is reused before a new one.
  static constexpr std::size_t kBlockPictures = 64;
  std::vector<std::unique_ptr<std::uint32_t[]>> m_blocks;
  std::vector<Slot> m_slots;
  std::vector<PictureId> m_free;
  std::unordered_set<PictureId, ByContent, ByContent> m_index;
};
