// Reads the input as an .ico file, builds the group, makes every image into
// an icon, and lays the group out as an .ico again: the images read back
// from that layout must be exactly the bytes the group holds.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/core/icon_directory.h"
#include "platform/core/icon_object.h"
#include "support/icon/ico_writer.h"
#include "support/icon/icon_resource_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto images = ParseIcoFile(ByteReader(std::span<const std::uint8_t>(data, size)));
  if (!images) return 0;
  ICONRESOURCE* group = BuildIconResource(*images, GroupOrigin::IconFile, "fuzz.ico");
  if (group == nullptr) return 0;
  if (!IconResourceIsSound(group)) std::abort();
  for (UINT i = 0; i < group->nImages; ++i) {
    if (HICON icon = MakeIconFromResource(IconImageAt(group, i))) (void)DestroyIcon(icon);
  }
  const auto directory = IcoDirectoryFor(group);
  if (!directory) std::abort();
  std::vector<std::uint8_t> file = *directory;
  for (UINT i = 0; i < group->nImages; ++i) {
    const auto bytes = IconImageData(IconImageAt(group, i));
    file.insert(file.end(), bytes.begin(), bytes.end());
  }
  const auto again = ParseIcoFile(ByteReader(file));
  if (!again || again->size() != group->nImages) std::abort();
  for (UINT i = 0; i < group->nImages; ++i) {
    const auto before = IconImageData(IconImageAt(group, i));
    const auto after = (*again)[i].bytes.bytes();
    if (before.size() != after.size() || std::memcmp(before.data(), after.data(), before.size()) != 0) std::abort();
  }
  (void)ClearIconResource(group);
  return 0;
}
