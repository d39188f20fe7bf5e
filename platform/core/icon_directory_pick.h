#pragma once
// Which image of an icon group a load at a given size picks, as the
// platform picks it at a 32-bit display depth.

#include <cstddef>
#include <optional>
#include <span>

#include "platform/core/byte_reader.h"

struct DirectoryImage {
  int width = 0;
  int height = 0;
  int bitCount = 0;
};

// Index of the best image for cx x cy; nothing for an empty list.
// Size first: the exact size; failing that the nearest image at least as
// large on both sides (it is scaled down); failing that the nearest of the
// rest (scaled up). "Nearest" sums the differences of width and height.
// Then the highest depth up to 32, deeper images coming after all others.
// Remaining ties go to the first image.
[[nodiscard]] std::optional<std::size_t> PickDirectoryImage(std::span<const DirectoryImage> images, int cx, int cy);

enum class DirectoryKind { Icon, Cursor };

// The nID of the picked entry of an RT_GROUP_ICON (or RT_GROUP_CURSOR)
// directory; 0 when no entry fits in the bytes. cx or cy 0 mean the
// system's icon size, 32.
[[nodiscard]] int PickIdFromGroupDirectory(const ByteReader& dir, DirectoryKind kind, int cx, int cy);
