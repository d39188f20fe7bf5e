#pragma once
// The one way little-endian (and, for PNG, big-endian) bytes are written: appended at the end of a
// buffer, or placed at an offset, growing the buffer with zeros when the
// place lies past its end. The writer borrows the buffer; whoever made it
// keeps it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class ByteWriter {
 public:
  explicit ByteWriter(std::vector<std::uint8_t>& out) : m_out(out) {}

  ByteWriter& u8(std::uint8_t value) {
    m_out.push_back(value);
    return *this;
  }
  ByteWriter& u16(std::uint16_t value) { return u8(Byte(value, 0)).u8(Byte(value, 1)); }
  ByteWriter& u32(std::uint32_t value) {
    return u16(static_cast<std::uint16_t>(value)).u16(static_cast<std::uint16_t>(value >> 16));
  }
  // Big-endian, as PNG's chunks store their numbers.
  ByteWriter& u32be(std::uint32_t value) {
    return u8(Byte(value, 3)).u8(Byte(value, 2)).u8(Byte(value, 1)).u8(Byte(value, 0));
  }
  ByteWriter& bytes(std::span<const std::uint8_t> data) {
    m_out.insert(m_out.end(), data.begin(), data.end());
    return *this;
  }
  ByteWriter& zeros(std::size_t count) {
    m_out.resize(m_out.size() + count);
    return *this;
  }

  ByteWriter& u16At(std::uint64_t offset, std::uint16_t value) {
    Reach(offset, 2);
    m_out[offset] = Byte(value, 0);
    m_out[offset + 1] = Byte(value, 1);
    return *this;
  }
  ByteWriter& u32At(std::uint64_t offset, std::uint32_t value) {
    return u16At(offset, static_cast<std::uint16_t>(value)).u16At(offset + 2, static_cast<std::uint16_t>(value >> 16));
  }
  ByteWriter& u64At(std::uint64_t offset, std::uint64_t value) {
    return u32At(offset, static_cast<std::uint32_t>(value)).u32At(offset + 4, static_cast<std::uint32_t>(value >> 32));
  }
  ByteWriter& bytesAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
    Reach(offset, data.size());
    std::copy(data.begin(), data.end(), m_out.begin() + static_cast<std::ptrdiff_t>(offset));
    return *this;
  }

  // Grows the buffer with zeros to at least size bytes.
  ByteWriter& extendTo(std::uint64_t size) {
    Reach(size, 0);
    return *this;
  }

  [[nodiscard]] std::size_t size() const { return m_out.size(); }

 private:
  static std::uint8_t Byte(std::uint64_t value, int index) { return static_cast<std::uint8_t>(value >> (8 * index)); }
  void Reach(std::uint64_t offset, std::uint64_t length) {
    if (m_out.size() < offset + length) m_out.resize(static_cast<std::size_t>(offset + length));
  }

  std::vector<std::uint8_t>& m_out;
};
