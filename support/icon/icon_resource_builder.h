#pragma once
// Building an ICONRESOURCE: one allocation holding the header, the image
// entries and every image's bytes, each entry pointing at its bytes by an
// offset from the entry itself.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/core/icon_directory.h"
#include "support/icon/icon_library.h"

// The largest image we keep: a 1024x1024 32-bit DIB with its mask is about
// 4.1 MiB, so this leaves room for uncompressed PNGs of that size.
inline constexpr std::uint64_t kMaxIconImageBytes = 16u << 20;
// One group's image bytes together; entries may share bytes in an icon file,
// so without this a hostile file could multiply its size by the image count.
inline constexpr std::uint64_t kMaxIconGroupBytes = 64u << 20;

enum class GroupOrigin { IconFile, Module };

// Null when no image is a readable DIB or PNG or the caps are passed. Images
// that cannot be read are left out; nWidth, nHeight and nBitCount come from
// each image's own header. A path longer than its 260-char field is kept
// there shortened for display, with "..." for what was left out.
[[nodiscard]] ICONRESOURCE* BuildIconResource(const std::vector<IconImageBytes>& images, GroupOrigin origin,
                                              LPCSTR path);

// The bytes of one entry of a live group.
[[nodiscard]] std::span<const std::uint8_t> IconImageData(const ICONIMAGE* image);

// Whether every entry of the group lies inside its block and every image's
// bytes too: what a writer checks before trusting a group handed to it.
[[nodiscard]] bool IconResourceIsSound(const ICONRESOURCE* group);
