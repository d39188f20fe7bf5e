#include "platform/core/byte_reader.h"

#include <algorithm>

std::optional<std::uint8_t> ByteReader::u8(std::uint64_t offset) const {
  if (!has(offset, 1)) return std::nullopt;
  return m_bytes[static_cast<std::size_t>(offset)];
}

std::optional<std::uint16_t> ByteReader::u16(std::uint64_t offset) const {
  if (!has(offset, 2)) return std::nullopt;
  const auto* p = m_bytes.data() + offset;
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::optional<std::uint32_t> ByteReader::u32(std::uint64_t offset) const {
  if (!has(offset, 4)) return std::nullopt;
  const auto* p = m_bytes.data() + offset;
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::optional<std::uint64_t> ByteReader::u64(std::uint64_t offset) const {
  const auto lo = u32(offset);
  const auto hi = offset <= UINT64_MAX - 4 ? u32(offset + 4) : std::nullopt;
  if (!lo || !hi) return std::nullopt;
  return static_cast<std::uint64_t>(*lo) | (static_cast<std::uint64_t>(*hi) << 32);
}

std::optional<std::int32_t> ByteReader::i32(std::uint64_t offset) const {
  const auto v = u32(offset);
  if (!v) return std::nullopt;
  return static_cast<std::int32_t>(*v);
}

std::optional<std::uint32_t> ByteReader::u32be(std::uint64_t offset) const {
  if (!has(offset, 4)) return std::nullopt;
  const auto* p = m_bytes.data() + offset;
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

std::optional<ByteReader> ByteReader::sub(std::uint64_t offset, std::uint64_t length) const {
  if (!has(offset, length)) return std::nullopt;
  return ByteReader(m_bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)));
}

std::optional<ByteReader> ByteReader::from(std::uint64_t offset) const {
  if (offset > size()) return std::nullopt;
  return sub(offset, size() - offset);
}

std::optional<std::string> ByteReader::cstring(std::uint64_t offset, std::uint64_t max_length) const {
  if (offset > size()) return std::nullopt;
  const std::uint64_t limit = std::min(max_length, size() - offset);
  for (std::uint64_t i = 0; i < limit; ++i) {
    if (m_bytes[static_cast<std::size_t>(offset + i)] == 0) {
      const auto* p = reinterpret_cast<const char*>(m_bytes.data() + offset);
      return std::string(p, static_cast<std::size_t>(i));
    }
  }
  return std::nullopt;
}
