#include "support/icon/ico_writer.h"

#include <span>

#include "platform/core/byte_writer.h"
#include "platform/core/icon_directory.h"
#include "support/icon/icon_resource_builder.h"

Expected<std::vector<std::uint8_t>> IcoDirectoryFor(const ICONRESOURCE* group) {
  if (!IconResourceIsSound(group) || group->nImages == 0) return Fail("no sound icon group");
  if (group->nImages > kMaxIcoImages) return Fail("too many images for an icon file");
  std::vector<std::uint8_t> out;
  const std::uint64_t dirSize = kIconDirHeaderSize + std::uint64_t{group->nImages} * kIcoEntrySize;
  out.reserve(static_cast<std::size_t>(dirSize));
  ByteWriter writer(out);
  // nImages is at most kMaxIcoImages, checked above.
  writer.u16(0).u16(1).u16(static_cast<std::uint16_t>(group->nImages));
  std::uint64_t offset = dirSize;
  for (UINT i = 0; i < group->nImages; ++i) {
    const ICONIMAGE* image = IconImageAt(group, i);
    if (offset > UINT32_MAX) return Fail("icon file would pass 4 GiB");
    writer.u8(image->bWidth).u8(image->bHeight).u8(image->bColorCount).u8(image->bReserved);
    writer.u16(image->wPlanes).u16(image->wBitCount).u32(image->dwNumBytes).u32(static_cast<std::uint32_t>(offset));
    offset += image->dwNumBytes;
  }
  if (offset > UINT32_MAX) return Fail("icon file would pass 4 GiB");
  return out;
}

Expected<std::uint64_t> WriteIcoFile(const ICONRESOURCE* group, const std::string& path, Overwrite overwrite) {
  const auto directory = IcoDirectoryFor(group);
  if (!directory) return directory.error();
  std::vector<std::span<const std::uint8_t>> pieces{*directory};
  for (UINT i = 0; i < group->nImages; ++i) pieces.push_back(IconImageData(IconImageAt(group, i)));
  return WriteWholeFile(path, std::move(pieces), overwrite);
}

BOOL WriteIconToICOFile(const ICONRESOURCE* group, LPCSTR path) {
  if (path == nullptr || *path == '\0') return FALSE;
  return WriteIcoFile(group, path, Overwrite::Replace) ? TRUE : FALSE;
}
