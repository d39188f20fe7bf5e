#include "platform/core/icon_directory.h"

#include <algorithm>

#include "platform/core/byte_writer.h"
#include "platform/core/icon_object.h"

namespace {

constexpr WORD kIconType = 1;

struct DirHeader {
  WORD count = 0;
};

std::optional<DirHeader> ReadHeader(const ByteReader& bytes) {
  const auto reserved = bytes.u16(0);
  const auto type = bytes.u16(2);
  const auto count = bytes.u16(4);
  if (!reserved || !type || !count || *reserved != 0 || *type != kIconType) return std::nullopt;
  return DirHeader{*count};
}

// The 12 bytes both entry kinds begin with.
std::optional<IconDirEntry> ReadCommon(const ByteReader& entry) {
  const auto width = entry.u8(0);
  const auto height = entry.u8(1);
  const auto colors = entry.u8(2);
  const auto reserved = entry.u8(3);
  const auto planes = entry.u16(4);
  const auto bits = entry.u16(6);
  const auto size = entry.u32(8);
  if (!width || !height || !colors || !reserved || !planes || !bits || !size) return std::nullopt;
  IconDirEntry e;
  e.width = *width;
  e.height = *height;
  e.colorCount = *colors;
  e.reserved = *reserved;
  e.planes = *planes;
  e.bitCount = *bits;
  e.bytesInRes = *size;
  return e;
}

std::size_t EntriesThatFit(const ByteReader& bytes, WORD claimed, std::uint64_t entrySize) {
  const std::uint64_t room = bytes.size() > kIconDirHeaderSize ? bytes.size() - kIconDirHeaderSize : 0;
  const std::uint64_t fit = std::min<std::uint64_t>({claimed, room / entrySize, kMaxImagesPerGroup});
  return static_cast<std::size_t>(fit);
}

}  // namespace

Expected<std::vector<IconDirEntry>> ParseGroupDirectory(const ByteReader& dir) {
  if (dir.size() < kIconDirHeaderSize) return Fail("icon group shorter than its header");
  const auto header = ReadHeader(dir);
  if (!header) return Fail("icon group header is not an icon directory");
  const std::size_t count = EntriesThatFit(dir, header->count, kGroupEntrySize);
  std::vector<IconDirEntry> entries;
  entries.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto view = dir.sub(kIconDirHeaderSize + i * kGroupEntrySize, kGroupEntrySize);
    auto entry = view ? ReadCommon(*view) : std::nullopt;
    const auto id = view ? view->u16(12) : std::nullopt;
    if (!entry || !id) break;
    entry->id = *id;
    entries.push_back(*entry);
  }
  return entries;
}

Expected<std::vector<IconImageBytes>> ResolveGroupImages(const ByteReader& dir, const IconImageLookup& lookup) {
  auto entries = ParseGroupDirectory(dir);
  if (!entries) return entries.error();
  std::vector<IconImageBytes> images;
  images.reserve(entries->size());
  for (const IconDirEntry& entry : *entries) {
    // The directory's byte count is only a claim; the view is the real size.
    if (auto bytes = lookup(entry); bytes && !bytes->empty()) images.push_back(IconImageBytes{entry, *bytes});
  }
  if (images.empty()) return Fail("icon group names no image that exists");
  return images;
}

bool HasIcoHeader(const ByteReader& file) {
  const auto header = ReadHeader(file);
  return header && header->count > 0;
}

Expected<std::vector<IconImageBytes>> ParseIcoFile(const ByteReader& file) {
  const auto header = ReadHeader(file);
  if (!header || header->count == 0) return Fail("not an icon file");
  // Unlike a group resource, whose size is known apart from its count, an
  // icon file whose directory does not fit in it has lost its structure: the
  // "entries" past the real ones would be image bytes read as offsets.
  const std::uint64_t dirEnd = kIconDirHeaderSize + std::uint64_t{header->count} * kIcoEntrySize;
  if (dirEnd > file.size()) return Fail("icon file directory larger than the file");
  const std::size_t count = EntriesThatFit(file, header->count, kIcoEntrySize);
  std::vector<IconImageBytes> images;
  for (std::size_t i = 0; i < count; ++i) {
    const auto view = file.sub(kIconDirHeaderSize + i * kIcoEntrySize, kIcoEntrySize);
    auto entry = view ? ReadCommon(*view) : std::nullopt;
    const auto offset = view ? view->u32(12) : std::nullopt;
    if (!entry || !offset) break;
    entry->offset = *offset;
    if (entry->bytesInRes == 0 || *offset < dirEnd) continue;
    const auto bytes = file.sub(*offset, entry->bytesInRes);
    if (!bytes) continue;
    entry->id = static_cast<WORD>(images.size() + 1);
    images.push_back(IconImageBytes{*entry, *bytes});
  }
  if (images.empty()) return Fail("icon file holds no usable image");
  return images;
}

std::vector<std::uint8_t> BuildGroupDirectory(const std::vector<IconImageBytes>& images) {
  const std::size_t count = std::min(images.size(), kMaxImagesPerGroup);
  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(kIconDirHeaderSize + count * kGroupEntrySize));
  ByteWriter writer(out);
  writer.u16(0).u16(kIconType).u16(static_cast<std::uint16_t>(count));
  for (std::size_t i = 0; i < count; ++i) {
    const IconDirEntry& e = images[i].entry;
    writer.u8(e.width).u8(e.height).u8(e.colorCount).u8(e.reserved).u16(e.planes).u16(e.bitCount);
    writer.u32(static_cast<std::uint32_t>(images[i].bytes.size())).u16(static_cast<std::uint16_t>(i + 1));
  }
  return out;
}

std::optional<std::size_t> PickDefaultImage(const std::vector<IconImageBytes>& images) {
  if (images.empty()) return std::nullopt;
  const auto dir = BuildGroupDirectory(images);
  const int id = LookupIconIdFromDirectoryBytes(dir, kDefaultIconSide, kDefaultIconSide);
  if (id <= 0 || static_cast<std::size_t>(id) > images.size()) return std::nullopt;
  return static_cast<std::size_t>(id - 1);
}

HICON CreateDefaultSizeIcon(const ByteReader& image) {
  // Resource formats 3.0, as every icon load passes them.
  constexpr DWORD kIconFormatVersion = 0x00030000;
  if (image.empty() || image.size() > UINT32_MAX) return nullptr;
  return CreateIconFromResourceEx(image.bytes().data(), static_cast<DWORD>(image.size()), TRUE, kIconFormatVersion,
                                  kDefaultIconSide, kDefaultIconSide, LR_DEFAULTCOLOR);
}
