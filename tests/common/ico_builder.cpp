#include "tests/common/ico_builder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/core/byte_writer.h"

namespace ico_test {

namespace {

std::uint32_t RowBytes(int width, int bits) {
  return ((static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bits) + 31) / 32) * 4;
}

}  // namespace

std::vector<std::uint8_t> DibImage(int width, int height, int bitCount, std::uint8_t seed) {
  std::vector<std::uint8_t> out;
  ByteWriter(out).u32(40);
  ByteWriter(out).u32(static_cast<std::uint32_t>(width));
  ByteWriter(out).u32(static_cast<std::uint32_t>(height * 2));
  ByteWriter(out).u16(1);
  ByteWriter(out).u16(static_cast<std::uint32_t>(bitCount));
  for (int i = 0; i < 6; ++i) ByteWriter(out).u32(0);
  if (bitCount <= 8) {
    for (int i = 0; i < (1 << bitCount); ++i) ByteWriter(out).u32(static_cast<std::uint32_t>(i * 0x010203 + seed));
  }
  const std::uint32_t xor_bytes = RowBytes(width, bitCount) * static_cast<std::uint32_t>(height);
  for (std::uint32_t i = 0; i < xor_bytes; ++i) out.push_back(static_cast<std::uint8_t>(i * 7 + seed));
  const std::uint32_t and_bytes = RowBytes(width, 1) * static_cast<std::uint32_t>(height);
  out.insert(out.end(), and_bytes, 0);
  return out;
}

IcoEntry DibEntry(int width, int height, int bitCount, std::uint8_t seed) {
  IcoEntry e;
  e.width = static_cast<std::uint8_t>(width >= 256 ? 0 : width);
  e.height = static_cast<std::uint8_t>(height >= 256 ? 0 : height);
  e.colorCount = static_cast<std::uint8_t>(bitCount < 8 ? (1 << bitCount) : 0);
  e.bitCount = static_cast<std::uint16_t>(bitCount);
  e.bytes = DibImage(width, height, bitCount, seed);
  return e;
}

std::vector<std::uint8_t> IcoFile(const std::vector<IcoEntry>& entries, std::optional<std::uint16_t> count) {
  std::vector<std::uint8_t> out;
  ByteWriter(out).u16(0);
  ByteWriter(out).u16(1);
  ByteWriter(out).u16(count.value_or(static_cast<std::uint16_t>(entries.size())));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (const auto& e : entries) {
    out.push_back(e.width);
    out.push_back(e.height);
    out.push_back(e.colorCount);
    out.push_back(0);
    ByteWriter(out).u16(e.planes);
    ByteWriter(out).u16(e.bitCount);
    ByteWriter(out).u32(e.size.value_or(static_cast<std::uint32_t>(e.bytes.size())));
    ByteWriter(out).u32(e.offset.value_or(offset));
    offset += static_cast<std::uint32_t>(e.bytes.size());
  }
  for (const auto& e : entries) out.insert(out.end(), e.bytes.begin(), e.bytes.end());
  return out;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string MakeDeepFolder(const std::string& base, std::size_t length) {
  constexpr std::size_t kLongestName = 200;
  std::string path = base;
  std::size_t level = 0;
  while (path.size() < length) {
    const std::size_t left = length - path.size() - 1;
    // Never leave a single byte for the last name: it needs its separator too.
    std::size_t name = left <= kLongestName ? left : (left - kLongestName <= 1 ? kLongestName - 2 : kLongestName);
    if (name == 0) return {};
    path += "/" + std::string(name, static_cast<char>('a' + level++ % 26));
  }
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return error || path.size() != length ? std::string() : path;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "glimra-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr) m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
}

}  // namespace ico_test
