#include "support/icon/icon_resource_builder.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/core/icon_image_probe.h"

namespace {

constexpr std::uint64_t kEntriesOffset = offsetof(ICONRESOURCE, IconImages);
constexpr std::uint64_t kEntrySize = sizeof(ICONIMAGE);

struct Kept {
  const IconImageBytes* source;
  ImageHeader facts;
};

// The platform's path separator, as the window's path shortening uses it.
constexpr char kSeparator = '/';
constexpr std::string_view kEllipsis = "...";

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The path as it fits a field of room characters, for display only (the
// library reads files from the whole path its callers pass): whole when it
// fits; else its first component, "...", and as many of its last
// components as fit, as a shortened path on screen reads; else "..." and
// the last components; and for a last component longer than any the
// system allows, "..." and its end, never splitting a UTF-8 character.
std::string PathForField(std::string_view path, std::size_t room) {
  if (path.size() <= room) return std::string(path);
  const std::size_t firstEnd = path.find(kSeparator, path.starts_with(kSeparator) ? 1 : 0);
  const std::string_view head = firstEnd == std::string_view::npos ? std::string_view() : path.substr(0, firstEnd + 1);
  for (const std::string_view kept : {head, std::string_view()}) {
    const std::size_t fixed = kept.size() + kEllipsis.size() + 1;
    for (std::size_t sep = path.find(kSeparator, kept.size()); sep != std::string_view::npos;
         sep = path.find(kSeparator, sep + 1)) {
      const std::string_view tail = path.substr(sep + 1);
      if (fixed + tail.size() <= room && !tail.empty()) {
        return std::string(kept) + std::string(kEllipsis) + kSeparator + std::string(tail);
      }
    }
  }
  std::size_t from = path.size() - (room - kEllipsis.size());
  while (from < path.size() && IsUtf8Continuation(path[from])) ++from;
  return std::string(kEllipsis) + std::string(path.substr(from));
}

void CopyPath(char (&field)[MAX_PATH], LPCSTR path) {
  const std::string shown = PathForField(path, MAX_PATH - 1);
  std::memcpy(field, shown.data(), shown.size());
  field[shown.size()] = '\0';
}

unsigned char* BlockBytes(ICONRESOURCE* group) { return reinterpret_cast<unsigned char*>(group); }

// Callers have checked index against nImages.
ICONIMAGE* EntryAt(ICONRESOURCE* group, std::uint64_t index) {
  return reinterpret_cast<ICONIMAGE*>(BlockBytes(group) + kEntriesOffset + index * kEntrySize);
}

}  // namespace

ICONRESOURCE* BuildIconResource(const std::vector<IconImageBytes>& images, GroupOrigin origin, LPCSTR path) {
  if (path == nullptr) return nullptr;
  std::vector<Kept> kept;
  std::uint64_t dataBytes = 0;
  for (const IconImageBytes& image : images) {
    if (kept.size() >= kMaxImagesPerGroup) break;
    if (image.bytes.empty() || image.bytes.size() > kMaxIconImageBytes) continue;
    const auto facts = ProbeIconImage(image.bytes);
    if (!facts || facts->width <= 0 || facts->height <= 0 || facts->bitCount <= 0) continue;
    if (dataBytes + image.bytes.size() > kMaxIconGroupBytes) return nullptr;
    dataBytes += image.bytes.size();
    kept.push_back(Kept{&image, *facts});
  }
  if (kept.empty()) return nullptr;

  const std::uint64_t dataStart = kEntriesOffset + kept.size() * kEntrySize;
  const std::uint64_t blockSize = dataStart + dataBytes;
  void* memory = std::calloc(1, static_cast<std::size_t>(blockSize));
  if (memory == nullptr) return nullptr;
  auto* group = static_cast<ICONRESOURCE*>(memory);
  group->dwBlockSize = static_cast<DWORD>(blockSize);
  if (origin == GroupOrigin::IconFile) CopyPath(group->szIconFile, path);
  CopyPath(group->szModule, path);
  group->nImages = static_cast<UINT>(kept.size());

  std::uint64_t at = dataStart;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const IconDirEntry& e = kept[i].source->entry;
    const auto bytes = kept[i].source->bytes.bytes();
    const std::uint64_t entryOffset = kEntriesOffset + i * kEntrySize;
    ICONIMAGE* image = EntryAt(group, i);
    image->nWidth = static_cast<UINT>(kept[i].facts.width);
    image->nHeight = static_cast<UINT>(kept[i].facts.height);
    image->nBitCount = static_cast<UINT>(kept[i].facts.bitCount);
    image->bWidth = e.width;
    image->bHeight = e.height;
    image->bColorCount = e.colorCount;
    image->bReserved = e.reserved;
    image->wPlanes = e.planes;
    image->wBitCount = e.bitCount;
    image->dwDataOffset = static_cast<DWORD>(at - entryOffset);
    image->dwNumBytes = static_cast<DWORD>(bytes.size());
    image->nId = e.id;
    std::memcpy(BlockBytes(group) + at, bytes.data(), bytes.size());
    at += bytes.size();
  }
  return group;
}

std::span<const std::uint8_t> IconImageData(const ICONIMAGE* image) {
  const auto* base = reinterpret_cast<const std::uint8_t*>(image);
  return {base + image->dwDataOffset, image->dwNumBytes};
}

bool IconResourceIsSound(const ICONRESOURCE* group) {
  if (group == nullptr) return false;
  const std::uint64_t block = group->dwBlockSize;
  const std::uint64_t entriesEnd = kEntriesOffset + std::uint64_t{group->nImages} * kEntrySize;
  if (entriesEnd > block) return false;
  for (UINT i = 0; i < group->nImages; ++i) {
    const std::uint64_t entryOffset = kEntriesOffset + std::uint64_t{i} * kEntrySize;
    const ICONIMAGE* image = EntryAt(const_cast<ICONRESOURCE*>(group), i);
    const std::uint64_t start = entryOffset + image->dwDataOffset;
    if (start < entriesEnd || start > block || image->dwNumBytes > block - start) return false;
  }
  return true;
}

ICONIMAGE* IconImageAt(ICONRESOURCE* group, UINT index) {
  if (group == nullptr || index >= group->nImages) return nullptr;
  return EntryAt(group, index);
}

const ICONIMAGE* IconImageAt(const ICONRESOURCE* group, UINT index) {
  return IconImageAt(const_cast<ICONRESOURCE*>(group), index);
}
