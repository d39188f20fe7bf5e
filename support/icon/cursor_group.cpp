#include "support/icon/cursor_group.h"

#include <cctype>

#include "platform/core/byte_writer.h"
#include "platform/core/data_module.h"
#include "platform/core/icon_directory.h"
#include "platform/core/icon_image_probe.h"

namespace {

constexpr std::uint16_t kCursorType = 2;

// Fills the size and depth from the image's own header; false when the
// bytes are no image the engine reads.
bool Describe(CursorImage& image) {
  const auto header = ProbeIconImage(image.bytes);
  if (!header) return false;
  image.width = static_cast<unsigned>(header->width);
  image.height = static_cast<unsigned>(header->height);
  image.bitCount = static_cast<unsigned>(header->bitCount);
  return true;
}

std::optional<std::uint16_t> CursorCount(const ByteReader& dir) {
  const auto reserved = dir.u16(0), type = dir.u16(2), count = dir.u16(4);
  if (!reserved || !type || !count || *reserved != 0 || *type != kCursorType) return std::nullopt;
  return *count;
}

std::optional<ByteReader> FindBytes(HMODULE module, LPCSTR id, WORD type) {
  const HRSRC found = FindResourceA(module, id, MAKEINTRESOURCEA(type));
  if (found == nullptr) return std::nullopt;
  return ResourceBytes(module, found);
}

}  // namespace

bool HasCurExtension(const std::string& path) {
  const auto slash = path.rfind('/');
  const auto dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || path.size() - dot != 4) return false;
  return std::tolower(static_cast<unsigned char>(path[dot + 1])) == 'c' &&
         std::tolower(static_cast<unsigned char>(path[dot + 2])) == 'u' &&
         std::tolower(static_cast<unsigned char>(path[dot + 3])) == 'r';
}

Expected<std::vector<CursorImage>> ParseCurFile(const ByteReader& file) {
  const auto count = CursorCount(file);
  if (!count || *count == 0) return Fail("not a cursor file");
  const std::uint64_t dirEnd = kIconDirHeaderSize + std::uint64_t{*count} * kIcoEntrySize;
  if (dirEnd > file.size()) return Fail("cursor file directory larger than the file");
  std::vector<CursorImage> images;
  for (std::uint64_t i = 0; i < *count && images.size() < kMaxImagesPerGroup; ++i) {
    const auto entry = file.sub(kIconDirHeaderSize + i * kIcoEntrySize, kIcoEntrySize);
    if (!entry) break;
    // The entry's 16 bytes are there, so its fields are too.
    const std::uint32_t size = entry->u32(8).value_or(0), offset = entry->u32(12).value_or(0);
    if (size == 0 || offset < dirEnd) continue;
    const auto bytes = file.sub(offset, size);
    if (!bytes) continue;
    CursorImage image{entry->u16(4).value_or(0), entry->u16(6).value_or(0), 0, 0, 0, *bytes};
    if (Describe(image)) images.push_back(image);
  }
  if (images.empty()) return Fail("cursor file holds no usable image");
  return images;
}

std::vector<ResourceName> ModuleCursorGroupNames(HMODULE module) {
  return ModuleResourceNames(module, MAKEINTRESOURCEA(RT_GROUP_CURSOR_ID));
}

Expected<std::vector<CursorImage>> ModuleCursorGroup(HMODULE module, LPCSTR id) {
  if (!IsDataModule(module) || id == nullptr) return Fail("no module");
  const auto dir = FindBytes(module, id, RT_GROUP_CURSOR_ID);
  if (!dir) return Fail("cursor group not found");
  const auto count = CursorCount(*dir);
  if (!count) return Fail("not a cursor group");
  std::vector<CursorImage> images;
  // Group entries: width, height (doubled), planes, depth (a WORD each), the
  // byte count and the RT_CURSOR id: 14 bytes, as icon group entries.
  for (std::uint64_t i = 0; i < *count && images.size() < kMaxImagesPerGroup; ++i) {
    const auto entry = dir->sub(kIconDirHeaderSize + i * kGroupEntrySize, kGroupEntrySize);
    if (!entry) break;
    const auto imageId = entry->u16(12);
    const auto resource = imageId ? FindBytes(module, MAKEINTRESOURCEA(*imageId), RT_CURSOR_ID) : std::nullopt;
    // Each RT_CURSOR starts with its hot spot, two WORDs, then the image.
    const auto bytes = resource ? resource->from(4) : std::nullopt;
    if (!bytes || bytes->empty()) continue;
    CursorImage image{resource->u16(0).value_or(0), resource->u16(2).value_or(0), 0, 0, 0, *bytes};
    if (Describe(image)) images.push_back(image);
  }
  if (images.empty()) return Fail("cursor group has no readable image");
  return images;
}

Expected<std::uint64_t> WriteCurFile(const std::vector<CursorImage>& images, const std::string& path,
                                     Overwrite overwrite) {
  if (images.empty() || images.size() > 0xFFFF) return Fail("no cursor images to write");
  std::vector<std::uint8_t> directory;
  ByteWriter writer(directory);
  writer.u16(0).u16(kCursorType).u16(static_cast<std::uint16_t>(images.size()));
  std::uint64_t offset = kIconDirHeaderSize + images.size() * kIcoEntrySize;
  std::vector<std::span<const std::uint8_t>> pieces{{}};
  for (const CursorImage& image : images) {
    if (offset + image.bytes.size() > UINT32_MAX) return Fail("cursor file would pass 4 GiB");
    // 256 and more are stored as 0, as in icon files; the colour count is
    // known only for palette images.
    writer.u8(static_cast<std::uint8_t>(image.width >= 256 ? 0 : image.width))
        .u8(static_cast<std::uint8_t>(image.height >= 256 ? 0 : image.height))
        .u8(static_cast<std::uint8_t>(image.bitCount > 0 && image.bitCount < 8 ? 1u << image.bitCount : 0))
        .u8(0);
    writer.u16(image.xHotspot).u16(image.yHotspot);
    writer.u32(static_cast<std::uint32_t>(image.bytes.size())).u32(static_cast<std::uint32_t>(offset));
    offset += image.bytes.size();
    pieces.push_back(image.bytes.bytes());
  }
  pieces[0] = directory;
  return WriteWholeFile(path, std::move(pieces), overwrite);
}
