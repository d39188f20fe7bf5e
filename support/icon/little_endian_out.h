#pragma once
// Appending little-endian fields to bytes being built: the file writers'
// one way to lay out a directory.

#include <cstdint>
#include <vector>

inline void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFFu));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFFu));
}

inline void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  PutLe16(out, v & 0xFFFFu);
  PutLe16(out, v >> 16);
}
