#include "platform/core/icon_directory_pick.h"

#include <bit>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "platform/core/fixed_record.h"
#include "platform/core/icon_object.h"

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 14;
constexpr int kSystemIconSize = 32;
constexpr int kDisplayDepth = 32;

// Lower sorts first.
std::tuple<int, int, int> Rank(const DirectoryImage& image, int cx, int cy) {
  int sizeClass = 2;
  if (image.width == cx && image.height == cy) {
    sizeClass = 0;
  } else if (image.width >= cx && image.height >= cy) {
    sizeClass = 1;
  }
  const int distance = std::abs(image.width - cx) + std::abs(image.height - cy);
  const int depth = image.bitCount <= kDisplayDepth ? kDisplayDepth - image.bitCount : image.bitCount;
  return {sizeClass, distance, depth};
}

// Old directories leave wBitCount 0 and give only the number of colours;
// 0 colours there means 256 or more.
int EntryDepth(std::uint16_t bitCount, std::uint8_t colours) {
  if (bitCount != 0) return bitCount;
  if (colours == 0) return 8;
  return static_cast<int>(std::bit_width(static_cast<unsigned>(colours - 1)));
}

}  // namespace

std::optional<std::size_t> PickDirectoryImage(std::span<const DirectoryImage> images, int cx, int cy) {
  std::optional<std::size_t> best;
  std::tuple<int, int, int> bestRank;
  for (std::size_t i = 0; i < images.size(); ++i) {
    const auto rank = Rank(images[i], cx, cy);
    if (!best || rank < bestRank) {
      best = i;
      bestRank = rank;
    }
  }
  return best;
}

int PickIdFromGroupDirectory(const ByteReader& dir, DirectoryKind kind, int cx, int cy) {
  // The reserved and type words are not checked: the entries alone decide.
  const auto header = FixedRecord<kHeaderSize>::At(dir, 0);
  if (!header) return 0;
  std::vector<DirectoryImage> images;
  std::vector<int> ids;
  // A count larger than the bytes hold: use the entries that fit.
  for (std::uint64_t i = 0; i < header->u16<4>(); ++i) {
    const auto entry = FixedRecord<kEntrySize>::At(dir, kHeaderSize + i * kEntrySize);
    if (!entry) break;
    DirectoryImage image;
    if (kind == DirectoryKind::Icon) {
      // A byte of 0 stands for 256.
      image.width = entry->u8<0>() == 0 ? 256 : entry->u8<0>();
      image.height = entry->u8<1>() == 0 ? 256 : entry->u8<1>();
      image.bitCount = EntryDepth(entry->u16<6>(), entry->u8<2>());
    } else {
      // Cursor entries store 16-bit sizes, the height counting the mask too.
      image.width = entry->u16<0>();
      image.height = entry->u16<2>() / 2;
      image.bitCount = entry->u16<6>();
    }
    images.push_back(image);
    ids.push_back(entry->u16<12>());
  }
  const auto picked = PickDirectoryImage(images, cx != 0 ? cx : kSystemIconSize, cy != 0 ? cy : kSystemIconSize);
  return picked ? ids[*picked] : 0;
}

int LookupIconIdFromDirectoryBytes(std::span<const std::uint8_t> dir, int cx, int cy) {
  return PickIdFromGroupDirectory(ByteReader(dir), DirectoryKind::Icon, cx, cy);
}
