#include "support/icon/ico_writer.h"

#include <span>

#include "platform/core/icon_directory.h"
#include "support/icon/icon_resource_builder.h"
#include "support/icon/little_endian_out.h"

Expected<std::vector<std::uint8_t>> IcoDirectoryFor(const ICONRESOURCE* group) {
  if (!IconResourceIsSound(group) || group->nImages == 0) return Fail("no sound icon group");
  if (group->nImages > kMaxIcoImages) return Fail("too many images for an icon file");
  std::vector<std::uint8_t> out;
  const std::uint64_t dirSize = kIconDirHeaderSize + std::uint64_t{group->nImages} * kIcoEntrySize;
  out.reserve(static_cast<std::size_t>(dirSize));
  PutLe16(out, 0);
  PutLe16(out, 1);
  PutLe16(out, group->nImages);
  std::uint64_t offset = dirSize;
  for (UINT i = 0; i < group->nImages; ++i) {
    const ICONIMAGE* image = IconImageAt(group, i);
    if (offset > UINT32_MAX) return Fail("icon file would pass 4 GiB");
    out.push_back(image->bWidth);
    out.push_back(image->bHeight);
    out.push_back(image->bColorCount);
    out.push_back(image->bReserved);
    PutLe16(out, image->wPlanes);
    PutLe16(out, image->wBitCount);
    PutLe32(out, image->dwNumBytes);
    PutLe32(out, static_cast<std::uint32_t>(offset));
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
