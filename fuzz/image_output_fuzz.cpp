// What glimra-extract --png and glimra-thumbnailer do with a file's images,
// over every way the input can be read: icon-file or NE content (the shell's
// extraction), a PE module's icon and cursor groups, and a .cur file. Every
// image is decoded to RGBA and encoded as PNG, and a PNG made from a DIB
// must decode back to the same RGBA; the thumbnail path picks, decodes and
// scales, and its result must fit the size asked for.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/core/data_module.h"
#include "platform/core/png_decoder.h"
#include "platform/core/shell_icon_file.h"
#include "support/icon/cursor_group.h"
#include "support/icon/icon_resource_builder.h"
#include "support/icon/image_choice.h"
#include "support/icon/png_writer.h"

namespace {

constexpr std::size_t kGroupsVisited = 16;
constexpr int kThumbnailSide = 48;

void Output(std::span<const std::uint8_t> stored) {
  const auto png = ImageAsPng(stored);
  if (!png || HasPngSignature(ByteReader(stored))) return;
  const auto before = DecodeImageToRgba(stored);
  const auto after = DecodeImageToRgba(*png);
  if (!before || !after || before->rgba != after->rgba) std::abort();
}

void Thumbnail(const ICONRESOURCE* group) {
  const auto best = BestImageFor(group, kThumbnailSide);
  if (!best) return;
  if (*best >= group->nImages) std::abort();
  const auto image = DecodeImageToRgba(IconImageData(IconImageAt(group, *best)));
  if (!image) return;
  const RgbaImage fitted = FitWithin(*image, kThumbnailSide);
  if (fitted.width > kThumbnailSide || fitted.height > kThumbnailSide) std::abort();
  if (!fitted.rgba.empty() && !EncodePng(fitted)) std::abort();
}

void Group(ICONRESOURCE* group) {
  if (group == nullptr) return;
  for (UINT i = 0; i < group->nImages; ++i) Output(IconImageData(IconImageAt(group, i)));
  Thumbnail(group);
  (void)ClearIconResource(group);
}

void Cursor(const Expected<std::vector<CursorImage>>& images) {
  if (!images) return;
  for (const CursorImage& image : *images) Output(image.bytes.bytes());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  const auto file = ShellIconFile::FromBytes(bytes);
  for (std::size_t i = 0; i < file->groupCount() && i < kGroupsVisited; ++i) {
    const auto images = file->group(i);
    if (images) Group(BuildIconResource(*images, GroupOrigin::Module, "fuzz.icl"));
  }
  Cursor(ParseCurFile(ByteReader(bytes)));
  if (HMODULE module = LoadDataModuleFromBytes(bytes)) {
    const auto icons = ModuleIconGroupNames(module);
    for (std::size_t i = 0; i < icons.size() && i < kGroupsVisited; ++i) {
      Group(CreateIconFromInstance(module, icons[i].id(), "fuzz.dll"));
    }
    const auto cursors = ModuleCursorGroupNames(module);
    for (std::size_t i = 0; i < cursors.size() && i < kGroupsVisited; ++i) {
      Cursor(ModuleCursorGroup(module, cursors[i].id()));
    }
    (void)FreeLibrary(module);
  }
  return 0;
}
