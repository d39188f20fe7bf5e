#include "support/icon/image_choice.h"

namespace {

// Whether a is a better pick than b for side pixels.
bool Better(const ICONIMAGE& a, const ICONIMAGE& b, unsigned side) {
  const bool aFits = a.nWidth >= side, bFits = b.nWidth >= side;
  if (aFits != bFits) return aFits;
  if (a.nWidth != b.nWidth) return aFits ? a.nWidth < b.nWidth : a.nWidth > b.nWidth;
  return a.nBitCount > b.nBitCount;
}

}  // namespace

std::optional<UINT> BestImageFor(const ICONRESOURCE* group, unsigned side) {
  if (group == nullptr || group->nImages == 0) return std::nullopt;
  UINT best = 0;
  for (UINT i = 1; i < group->nImages; ++i) {
    if (Better(*IconImageAt(group, i), *IconImageAt(group, best), side)) best = i;
  }
  return best;
}
