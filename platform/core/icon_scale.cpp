#include <algorithm>
#include <cmath>

#include "platform/core/icon_image_limits.h"
#include "platform/core/icon_object.h"

namespace {

// A pixel as drawn: without an alpha channel of its own, a set AND-mask bit
// over black is transparent. A set bit over another colour would invert the
// screen, which an image list cannot store; such pixels stay opaque.
std::uint32_t Folded(const IconObject& icon, std::size_t i) {
  const std::uint32_t px = icon.pixels[i];
  if (icon.alpha) return px;
  const bool clear = !icon.mask.empty() && icon.mask[i] != 0 && (px & 0x00FFFFFFu) == 0;
  return clear ? 0u : (px | 0xFF000000u);
}

// Box filter with fractional coverage along one axis: output o covers the
// source span [o * s, (o + 1) * s) with s = source / output, and each source
// pixel counts by how much of it lies inside.
struct Taps {
  std::vector<std::uint32_t> first;   // per output: first source index
  std::vector<std::uint32_t> count;   // per output: number of taps
  std::vector<std::uint32_t> offset;  // per output: where its weights start
  std::vector<float> weight;

  Taps(int source, int output) {
    const double scale = static_cast<double>(source) / output;
    first.resize(static_cast<std::size_t>(output));
    count.resize(static_cast<std::size_t>(output));
    offset.resize(static_cast<std::size_t>(output));
    for (int o = 0; o < output; ++o) {
      const double begin = o * scale;
      const double end = std::min<double>((o + 1) * scale, source);
      const int lo = static_cast<int>(std::floor(begin));
      const int hi = std::min(source, static_cast<int>(std::ceil(end)));
      const auto oi = static_cast<std::size_t>(o);
      first[oi] = static_cast<std::uint32_t>(lo);
      offset[oi] = static_cast<std::uint32_t>(weight.size());
      for (int i = lo; i < hi; ++i) {
        const double covered = std::min<double>(i + 1, end) - std::max<double>(i, begin);
        weight.push_back(static_cast<float>(covered / scale));
      }
      count[oi] = static_cast<std::uint32_t>(weight.size()) - offset[oi];
    }
  }
};

struct Premultiplied {
  float a, r, g, b;
};

Premultiplied Premultiply(std::uint32_t px) {
  const float a = static_cast<float>(px >> 24) / 255.0f;
  return {a, static_cast<float>((px >> 16) & 0xFF) * a, static_cast<float>((px >> 8) & 0xFF) * a,
          static_cast<float>(px & 0xFF) * a};
}

// Clamped first, so adding a half and truncating rounds half a level up.
// lround would round down the value one step below a half, which is where
// float averaging lands an exact half (see the scaling tests).
std::uint32_t Channel8(float v) {
  return static_cast<std::uint32_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f);  // NOLINT(bugprone-incorrect-roundings)
}

std::uint32_t Straight(const Premultiplied& p) {
  const std::uint32_t a = Channel8(p.a * 255.0f);
  if (a == 0) return 0;
  return a << 24 | Channel8(p.r / p.a) << 16 | Channel8(p.g / p.a) << 8 | Channel8(p.b / p.a);
}

}  // namespace

std::vector<std::uint32_t> ScaleIconPixels(const IconObject& icon, int width, int height) {
  if (!IconImageSizeAllowed(width, height) || icon.width <= 0 || icon.height <= 0) return {};
  const auto sw = static_cast<std::size_t>(icon.width);
  const auto sh = static_cast<std::size_t>(icon.height);
  if (icon.pixels.size() != sw * sh || (!icon.mask.empty() && icon.mask.size() != sw * sh)) return {};
  const auto dw = static_cast<std::size_t>(width);
  const auto dh = static_cast<std::size_t>(height);

  std::vector<std::uint32_t> out(dw * dh);
  if (sw == dw && sh == dh) {
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = Folded(icon, i);
    return out;
  }

  // Averaging happens on premultiplied values so that the colour of a
  // transparent pixel never bleeds into its neighbours as a dark fringe.
  const Taps across(icon.width, width);
  const Taps down(icon.height, height);
  std::vector<Premultiplied> row(sw);
  std::vector<Premultiplied> columns(sh * dw);  // every source row, already scaled across
  for (std::size_t y = 0; y < sh; ++y) {
    for (std::size_t x = 0; x < sw; ++x) row[x] = Premultiply(Folded(icon, y * sw + x));
    Premultiplied* dst = columns.data() + y * dw;
    for (std::size_t o = 0; o < dw; ++o) {
      Premultiplied acc{0, 0, 0, 0};
      const float* w = across.weight.data() + across.offset[o];
      const Premultiplied* src = row.data() + across.first[o];
      for (std::uint32_t t = 0; t < across.count[o]; ++t) {
        acc.a += src[t].a * w[t];
        acc.r += src[t].r * w[t];
        acc.g += src[t].g * w[t];
        acc.b += src[t].b * w[t];
      }
      dst[o] = acc;
    }
  }
  for (std::size_t o = 0; o < dh; ++o) {
    const float* w = down.weight.data() + down.offset[o];
    const Premultiplied* src = columns.data() + down.first[o] * dw;
    for (std::size_t x = 0; x < dw; ++x) {
      Premultiplied acc{0, 0, 0, 0};
      for (std::uint32_t t = 0; t < down.count[o]; ++t) {
        const Premultiplied& p = src[t * dw + x];
        acc.a += p.a * w[t];
        acc.r += p.r * w[t];
        acc.g += p.g * w[t];
        acc.b += p.b * w[t];
      }
      out[o * dw + x] = Straight(acc);
    }
  }
  return out;
}
