// Treats the input as a file the shell extraction reads (NE executable or
// library, or icon-file content): every group by index, its 32x32 pick made
// into an icon, and the whole group built and laid out as an .ico.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/core/icon_object.h"
#include "platform/core/shell_icon_file.h"
#include "support/icon/ico_writer.h"
#include "support/icon/icon_resource_builder.h"

namespace {

// Enough groups to reach every code path without letting one input with
// thousands of groups dominate a run.
constexpr std::size_t kGroupsVisited = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = ShellIconFile::FromBytes(std::vector<std::uint8_t>(data, data + size));
  const std::size_t groups = file->groupCount();
  for (std::size_t i = 0; i < groups && i < kGroupsVisited; ++i) {
    const auto images = file->group(i);
    if (!images) continue;
    for (const auto& image : *images) {
      // Every view must lie inside the input.
      if (image.bytes.size() > size) std::abort();
    }
    if (const auto pick = PickDefaultImage(*images)) {
      if (*pick >= images->size()) std::abort();
      if (HICON icon = CreateDefaultSizeIcon((*images)[*pick].bytes)) (void)DestroyIcon(icon);
    }
    ICONRESOURCE* group = BuildIconResource(*images, GroupOrigin::Module, "fuzz.icl");
    if (group != nullptr) {
      if (!IconResourceIsSound(group)) std::abort();
      (void)IcoDirectoryFor(group);
      (void)ClearIconResource(group);
    }
  }
  return 0;
}
