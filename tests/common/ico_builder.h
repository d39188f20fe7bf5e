#pragma once
// Builds icon images and .ico files in memory for tests: DIB images of any
// size and depth with a recognisable pixel pattern, and icon files whose
// directory fields can each be set to a lie.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/icon/icon_library.h"

namespace ico_test {

// A DIB icon image: 40-byte header (height doubled), colour table for
// depths up to 8, XOR rows, AND rows. seed varies the pixel bytes.
[[nodiscard]] std::vector<std::uint8_t> DibImage(int width, int height, int bitCount, std::uint8_t seed = 1);

struct IcoEntry {
  std::uint8_t width = 32;
  std::uint8_t height = 32;
  std::uint8_t colorCount = 0;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 32;
  std::vector<std::uint8_t> bytes;
  std::optional<std::uint32_t> offset;  // overrides the computed offset
  std::optional<std::uint32_t> size;    // overrides the real byte count
};

// An entry whose directory fields agree with a DibImage of that size.
[[nodiscard]] IcoEntry DibEntry(int width, int height, int bitCount, std::uint8_t seed = 1);

// Header, entries, then each entry's bytes in order. count overrides idCount.
[[nodiscard]] std::vector<std::uint8_t> IcoFile(const std::vector<IcoEntry>& entries,
                                                std::optional<std::uint16_t> count = std::nullopt);

[[nodiscard]] bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
[[nodiscard]] std::vector<std::uint8_t> ReadFile(const std::string& path);

// Creates folders below base, each name at most 200 bytes, down to a
// folder whose path is exactly length bytes (more than base's length + 1);
// answers that path, or "" when it could not be made.
[[nodiscard]] std::string MakeDeepFolder(const std::string& base, std::size_t length);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();
  [[nodiscard]] const std::string& path() const { return m_path; }
  [[nodiscard]] std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

}  // namespace ico_test
