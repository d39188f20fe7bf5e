#pragma once
// Which image of a group suits a display of a given size: the smallest at
// least that many pixels wide, the deepest among equally wide ones; when
// none is that wide, the largest, again the deepest first. Images are never
// scaled up to a size they lack, so "at least as wide" beats "closest".

#include <optional>

#include "support/icon/icon_library.h"

// The image's position in the group, or nothing for an empty group.
[[nodiscard]] std::optional<UINT> BestImageFor(const ICONRESOURCE* group, unsigned side);
