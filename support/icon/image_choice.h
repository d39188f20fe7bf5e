#pragma once
// Which image of a group suits a display of a given size: the smallest at
// least that many pixels wide, the deepest among equally wide ones; when
// none is that wide, the largest, again the deepest first. Images are never
// scaled up to a size they lack, so "at least as wide" beats "closest".

#include <cstddef>
#include <optional>
#include <vector>

#include "support/icon/icon_library.h"

struct ImageSize {
  unsigned width = 0;
  unsigned bitCount = 0;
};

// The chosen image's position, or nothing for no images.
[[nodiscard]] std::optional<std::size_t> BestImageFor(const std::vector<ImageSize>& images, unsigned side);
[[nodiscard]] std::optional<UINT> BestImageFor(const ICONRESOURCE* group, unsigned side);
