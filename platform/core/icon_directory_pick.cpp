#include "platform/core/icon_directory_pick.h"

#include <bit>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "platform/core/icon_object.h"

namespace {

constexpr std::uint64_t kHeaderSize = 6;
constexpr std::uint64_t kEntrySize = 14;
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
  const auto declared = dir.u16(4);
  if (!declared) return 0;
  // A count larger than the bytes hold: use the entries that fit.
  const std::uint64_t fit = std::min<std::uint64_t>(*declared, (dir.size() - kHeaderSize) / kEntrySize);
  std::vector<DirectoryImage> images;
  std::vector<int> ids;
  images.reserve(fit);
  ids.reserve(fit);
  for (std::uint64_t i = 0; i < fit; ++i) {
    const std::uint64_t at = kHeaderSize + i * kEntrySize;
    DirectoryImage image;
    if (kind == DirectoryKind::Icon) {
      // A byte of 0 stands for 256.
      image.width = *dir.u8(at) == 0 ? 256 : *dir.u8(at);
      image.height = *dir.u8(at + 1) == 0 ? 256 : *dir.u8(at + 1);
      image.bitCount = EntryDepth(*dir.u16(at + 6), *dir.u8(at + 2));
    } else {
      // Cursor entries store 16-bit sizes, the height counting the mask too.
      image.width = *dir.u16(at);
      image.height = *dir.u16(at + 2) / 2;
      image.bitCount = *dir.u16(at + 6);
    }
    images.push_back(image);
    ids.push_back(*dir.u16(at + 12));
  }
  const auto picked =
      PickDirectoryImage(images, cx != 0 ? cx : kSystemIconSize, cy != 0 ? cy : kSystemIconSize);
  return picked ? ids[*picked] : 0;
}

int LookupIconIdFromDirectoryBytes(std::span<const std::uint8_t> dir, int cx, int cy) {
  return PickIdFromGroupDirectory(ByteReader(dir), DirectoryKind::Icon, cx, cy);
}

int LookupIconIdFromDirectoryEx(const BYTE* dir, BOOL icon, int cx, int cy, UINT /*flags*/) {
  if (dir == nullptr) return 0;
  // The platform's call carries no length: trust the directory's own count,
  // as the platform does.
  const ByteReader header(std::span<const std::uint8_t>(dir, kHeaderSize));
  const std::uint64_t size = kHeaderSize + *header.u16(4) * kEntrySize;
  const ByteReader whole(std::span<const std::uint8_t>(dir, static_cast<std::size_t>(size)));
  return PickIdFromGroupDirectory(whole, icon != FALSE ? DirectoryKind::Icon : DirectoryKind::Cursor, cx, cy);
}
