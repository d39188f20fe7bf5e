#include "support/framework/file_name.h"

#include <cstddef>
#include <vector>

#include "platform/core/wildcard.h"

namespace {

constexpr std::string_view kEllipsis = "...";

std::vector<std::string_view> SplitComponents(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t sep = text.find(kPathSeparator, start);
    if (sep == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, sep - start));
    start = sep + 1;
  }
}

// first, the left folders, "...", the right folders and the name, joined.
std::string JoinAroundEllipsis(const std::vector<std::string_view>& parts, std::size_t left, std::size_t right) {
  std::string out(parts.front());
  for (std::size_t i = 1; i <= left; ++i) {
    out += kPathSeparator;
    out += parts[i];
  }
  out += kPathSeparator;
  out += kEllipsis;
  for (std::size_t i = parts.size() - 1 - right; i < parts.size(); ++i) {
    out += kPathSeparator;
    out += parts[i];
  }
  return out;
}

// Offsets where a UTF-8 character starts, and the end of the text.
std::vector<std::size_t> CharacterBoundaries(std::string_view text) {
  std::vector<std::size_t> bounds;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) bounds.push_back(i);
  }
  bounds.push_back(text.size());
  return bounds;
}

// The longest start of the text that fits with "..." after it. Widths grow
// with the length, so a binary search over the character boundaries finds it
// in a few measurements even for long texts.
std::string CutEnd(std::string_view text, int width, const TextWidthFn& measure) {
  const auto withEllipsis = [&](std::size_t len) { return std::string(text.substr(0, len)) + std::string(kEllipsis); };
  const std::vector<std::size_t> bounds = CharacterBoundaries(text);
  std::size_t lo = 0;
  std::size_t hi = bounds.size();  // bounds[lo] fits (once checked), bounds[hi] does not
  if (measure(withEllipsis(0)) > width) return {};
  while (hi - lo > 1) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (measure(withEllipsis(bounds[mid])) <= width) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return withEllipsis(bounds[lo]);
}

}  // namespace

std::string ShortenPathToWidth(std::string_view text, int width, const TextWidthFn& measure) {
  if (measure(text) <= width) return std::string(text);
  const std::vector<std::string_view> parts = SplitComponents(text);
  if (parts.size() >= 3) {
    const std::size_t folders = parts.size() - 2;
    for (std::size_t cut = 1; cut <= folders; ++cut) {
      const std::size_t kept = folders - cut;
      const std::size_t left = (kept + 1) / 2;
      std::string candidate = JoinAroundEllipsis(parts, left, kept - left);
      if (measure(candidate) <= width) return candidate;
    }
  }
  if (parts.size() >= 2) {
    std::string candidate = std::string(kEllipsis) + kPathSeparator + std::string(parts.back());
    if (measure(candidate) <= width) return candidate;
  }
  return CutEnd(text, width, measure);
}

std::string CFileName::GetRoot() const {
  const std::size_t sep = m_strPath.rfind(kPathSeparator);
  if (sep == std::string::npos) return {};
  return m_strPath.substr(0, sep + 1);
}

BOOL CFileName::ISExtension(std::string_view ext) const {
  const std::size_t sep = m_strPath.rfind(kPathSeparator);
  const std::string_view name = std::string_view(m_strPath).substr(sep == std::string::npos ? 0 : sep + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return FALSE;
  const std::string_view have = name.substr(dot + 1);
  if (have.size() != ext.size()) return FALSE;
  for (std::size_t i = 0; i < have.size(); ++i) {
    if (FoldNameCase(have[i]) != FoldNameCase(ext[i])) return FALSE;
  }
  return TRUE;
}
