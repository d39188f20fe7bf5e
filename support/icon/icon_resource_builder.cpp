#include "support/icon/icon_resource_builder.h"

#include <cstdlib>
#include <cstring>

#include "platform/core/icon_image_probe.h"

namespace {

constexpr std::uint64_t kEntriesOffset = offsetof(ICONRESOURCE, IconImages);
constexpr std::uint64_t kEntrySize = sizeof(ICONIMAGE);

struct Kept {
  const IconImageBytes* source;
  ImageHeader facts;
};

bool CopyPath(char (&field)[MAX_PATH], LPCSTR path) {
  const std::size_t length = strnlen(path, MAX_PATH);
  if (length >= MAX_PATH) return false;
  std::memcpy(field, path, length);
  field[length] = '\0';
  return true;
}

unsigned char* BlockBytes(ICONRESOURCE* group) { return reinterpret_cast<unsigned char*>(group); }

// Callers have checked index against nImages.
ICONIMAGE* EntryAt(ICONRESOURCE* group, std::uint64_t index) {
  return reinterpret_cast<ICONIMAGE*>(BlockBytes(group) + kEntriesOffset + index * kEntrySize);
}

}  // namespace

ICONRESOURCE* BuildIconResource(const std::vector<IconImageBytes>& images, GroupOrigin origin, LPCSTR path) {
  if (path == nullptr || strnlen(path, MAX_PATH) >= MAX_PATH) return nullptr;
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
  const bool pathsFit = origin == GroupOrigin::IconFile ? CopyPath(group->szIconFile, path) : true;
  if (!pathsFit || !CopyPath(group->szModule, path)) {
    std::free(memory);
    return nullptr;
  }
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
