#pragma once
// The resource table of a 16-bit NE executable or icon library: enough of it
// to reach icon groups and icon images. Offsets and lengths are stored in
// units of 1 << shift, the shift being the table's first word.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/byte_reader.h"
#include "platform/core/expected.h"
#include "platform/core/win_types.h"

// In NE tables a set high bit marks a numbered type or name.
inline constexpr WORD kNeIntegerFlag = 0x8000;
inline constexpr WORD kNeTypeGroupIcon = kNeIntegerFlag | RT_GROUP_ICON_ID;
inline constexpr WORD kNeTypeIcon = kNeIntegerFlag | RT_ICON_ID;

// Every resource of a real NE file fits in a few hundred entries, and an
// icon library of 8,000 icons, each group with its own image, in 16,000; a
// table claiming more stops being read here, bounding a hostile file's cost.
inline constexpr std::size_t kMaxNeResources = 32768;
// Shifts of 16 and more would put every resource beyond 4 GiB; no linker
// writes them, and they would overflow the 32-bit offsets NE readers use.
inline constexpr unsigned kMaxNeAlignShift = 15;

struct NeResource {
  WORD type = 0;     // as stored: kNeIntegerFlag | number, or a name offset
  WORD id = 0;       // as stored: kNeIntegerFlag | number, or a name offset
  std::string name;  // the name when id is not a number
  ByteReader bytes;  // empty view when the shifted extent lies outside the file
  bool inFile = false;
};

struct NeResourceTable {
  std::vector<NeResource> resources;  // in table order
  std::uint64_t alignUnit = 1;        // 1 << the table's shift
  // Indices of the RT_ICON resources ordered by stored id, table order among
  // equal ids: a group's images are found without a walk of the table.
  std::vector<std::size_t> iconsById;
};

// Whether the bytes are an MZ file whose new header says NE.
[[nodiscard]] bool IsNeFile(const ByteReader& file);

// The resource table of an NE file. Fails when the file is not NE, the table
// lies outside the file, its type list never ends, or the shift is 16 or
// more. A resource whose shifted extent leaves the file is kept but marked
// not in the file, so the rest stay usable.
[[nodiscard]] Expected<NeResourceTable> ReadNeResources(const ByteReader& file);

// The icon groups in table order.
[[nodiscard]] std::vector<const NeResource*> NeIconGroups(const NeResourceTable& table);

// The bytes of the RT_ICON resource with this number, if present and in the file.
[[nodiscard]] std::optional<ByteReader> NeIconImage(const NeResourceTable& table, WORD id);
