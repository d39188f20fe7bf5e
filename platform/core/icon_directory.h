#pragma once
// Icon directories as they are stored: the RT_GROUP_ICON resource (14-byte
// entries naming RT_ICON ids) and the .ico file header (16-byte entries with
// file offsets). Both share the 6-byte header and the first 12 entry bytes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/core/byte_reader.h"
#include "platform/core/expected.h"
#include "platform/core/win_types.h"

inline constexpr std::uint64_t kIconDirHeaderSize = 6;
inline constexpr std::uint64_t kGroupEntrySize = 14;
inline constexpr std::uint64_t kIcoEntrySize = 16;

// No real group holds more than a few dozen images; a directory claiming
// more is cut here, so a hostile count costs at most this many entries.
inline constexpr std::size_t kMaxImagesPerGroup = 512;

// One image as its directory describes it. width/height 0 stand for 256.
struct IconDirEntry {
  BYTE width = 0;
  BYTE height = 0;
  BYTE colorCount = 0;
  BYTE reserved = 0;
  WORD planes = 0;
  WORD bitCount = 0;
  DWORD bytesInRes = 0;
  WORD id = 0;       // group directories: the RT_ICON id
  DWORD offset = 0;  // .ico files: where the image starts in the file
};

// One image with its bytes found: the entry and a view of exactly its bytes.
struct IconImageBytes {
  IconDirEntry entry;
  ByteReader bytes;
};

// Finds the bytes of the image a group entry names, or nothing.
using IconImageLookup = std::function<std::optional<ByteReader>(const IconDirEntry&)>;

// The entries of an RT_GROUP_ICON resource. Fails for fewer than 6 bytes or a
// header that is not an icon directory (reserved 0, type 1). A count larger
// than the entries present yields those that are present, at most
// kMaxImagesPerGroup.
[[nodiscard]] Expected<std::vector<IconDirEntry>> ParseGroupDirectory(const ByteReader& dir);

// The images of a group directory whose bytes the lookup finds, in directory
// order; an entry with nothing behind it is left out. Fails as
// ParseGroupDirectory does, or when no image is found at all.
[[nodiscard]] Expected<std::vector<IconImageBytes>> ResolveGroupImages(const ByteReader& dir,
                                                                       const IconImageLookup& lookup);

// The images of an .ico file, each with a view of its bytes. Entries whose
// bytes are empty, reach past the end or start inside the directory are left
// out; entries may share or overlap bytes (each keeps its own view). Fails
// when the header is not an icon file's, the directory it claims does not
// fit in the file, or no entry is usable.
[[nodiscard]] Expected<std::vector<IconImageBytes>> ParseIcoFile(const ByteReader& file);

// Whether the bytes start like an icon file (header only, cheap).
[[nodiscard]] bool HasIcoHeader(const ByteReader& file);

// A group directory over the given images, ids 1..n in order, sizes taken
// from the bytes themselves: what the 32x32 pick is run on.
[[nodiscard]] std::vector<std::uint8_t> BuildGroupDirectory(const std::vector<IconImageBytes>& images);

// The default icon size: what a load without explicit size, and the shell's
// extraction, scale the picked image to.
inline constexpr int kDefaultIconSide = 32;

// The position of the image a 32x32 icon load picks among these images.
[[nodiscard]] std::optional<std::size_t> PickDefaultImage(const std::vector<IconImageBytes>& images);

// An icon made from one image's bytes, scaled to the default size as an icon
// load does; null when the bytes are no image.
[[nodiscard]] HICON CreateDefaultSizeIcon(const ByteReader& image);
