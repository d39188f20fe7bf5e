#include "support/icon/ico_writer.h"

#include <span>

#include "platform/core/icon_directory.h"
#include "support/icon/icon_resource_builder.h"

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFFu));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFFu));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFFu);
  Put16(out, v >> 16);
}

}  // namespace

Expected<std::vector<std::uint8_t>> IcoDirectoryFor(const ICONRESOURCE* group) {
  if (!IconResourceIsSound(group) || group->nImages == 0) return Fail("no sound icon group");
  if (group->nImages > kMaxIcoImages) return Fail("too many images for an icon file");
  std::vector<std::uint8_t> out;
  const std::uint64_t dirSize = kIconDirHeaderSize + std::uint64_t{group->nImages} * kIcoEntrySize;
  out.reserve(static_cast<std::size_t>(dirSize));
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, group->nImages);
  std::uint64_t offset = dirSize;
  for (UINT i = 0; i < group->nImages; ++i) {
    const ICONIMAGE* image = IconImageAt(group, i);
    if (offset > UINT32_MAX) return Fail("icon file would pass 4 GiB");
    out.push_back(image->bWidth);
    out.push_back(image->bHeight);
    out.push_back(image->bColorCount);
    out.push_back(image->bReserved);
    Put16(out, image->wPlanes);
    Put16(out, image->wBitCount);
    Put32(out, image->dwNumBytes);
    Put32(out, static_cast<std::uint32_t>(offset));
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
