#pragma once
// Cursors, which the window never lists: a module's cursor groups
// (RT_GROUP_CURSOR naming RT_CURSOR images, each image led by its hot spot)
// and .cur files (an icon file's layout with type 2 and the hot spot where
// an icon entry keeps planes and depth). Read with the engine's checked
// reader and caps, written as standard .cur files. No Qt.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/byte_reader.h"
#include "platform/core/expected.h"
#include "platform/core/module_icon_group.h"
#include "platform/core/win_types.h"
#include "support/icon/whole_file_writer.h"

inline constexpr WORD RT_CURSOR_ID = 1;
inline constexpr WORD RT_GROUP_CURSOR_ID = 12;

struct CursorImage {
  std::uint16_t xHotspot = 0;
  std::uint16_t yHotspot = 0;
  // From the image's own header, as for icons.
  unsigned width = 0;
  unsigned height = 0;
  unsigned bitCount = 0;
  ByteReader bytes;  // the image itself (a DIB with its mask, or a PNG)
};

// Whether the name's extension is "cur", in any letter case.
[[nodiscard]] bool HasCurExtension(const std::string& path);

// The images of a .cur file, in directory order; images whose bytes are not
// a readable DIB or PNG are left out. Fails when no image is usable.
[[nodiscard]] Expected<std::vector<CursorImage>> ParseCurFile(const ByteReader& file);

// Every RT_GROUP_CURSOR name of the module, in enumeration order.
[[nodiscard]] std::vector<ResourceName> ModuleCursorGroupNames(HMODULE module);

// The group's images that have a readable RT_CURSOR behind them.
[[nodiscard]] Expected<std::vector<CursorImage>> ModuleCursorGroup(HMODULE module, LPCSTR id);

// The .cur file for the images, written whole or not at all.
[[nodiscard]] Expected<std::uint64_t> WriteCurFile(const std::vector<CursorImage>& images, const std::string& path,
                                                   Overwrite overwrite);
