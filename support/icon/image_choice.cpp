#include "support/icon/image_choice.h"

namespace {

// Whether a is a better pick than b for side pixels.
bool Better(const ImageSize& a, const ImageSize& b, unsigned side) {
  const bool aFits = a.width >= side, bFits = b.width >= side;
  if (aFits != bFits) return aFits;
  if (a.width != b.width) return aFits ? a.width < b.width : a.width > b.width;
  return a.bitCount > b.bitCount;
}

}  // namespace

std::optional<std::size_t> BestImageFor(const std::vector<ImageSize>& images, unsigned side) {
  if (images.empty()) return std::nullopt;
  std::size_t best = 0;
  for (std::size_t i = 1; i < images.size(); ++i) {
    if (Better(images[i], images[best], side)) best = i;
  }
  return best;
}

std::optional<UINT> BestImageFor(const ICONRESOURCE* group, unsigned side) {
  if (group == nullptr) return std::nullopt;
  std::vector<ImageSize> sizes;
  for (UINT i = 0; i < group->nImages; ++i) {
    const ICONIMAGE* image = IconImageAt(group, i);
    sizes.push_back(ImageSize{image->nWidth, image->nBitCount});
  }
  const auto best = BestImageFor(sizes, side);
  if (!best) return std::nullopt;
  return static_cast<UINT>(*best);
}
