#pragma once
// The one way untrusted bytes are read. Every read answers a value or
// nothing; offsets and sizes are widened to 64 bits before they are added, and
// a sub-view exists only after its bounds were checked against this view.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

  [[nodiscard]] std::uint64_t size() const { return m_bytes.size(); }
  [[nodiscard]] bool empty() const { return m_bytes.empty(); }
  [[nodiscard]] std::span<const std::uint8_t> bytes() const { return m_bytes; }

  // True when [offset, offset + length) lies inside the view.
  [[nodiscard]] bool has(std::uint64_t offset, std::uint64_t length) const {
    return offset <= size() && length <= size() - offset;
  }

  [[nodiscard]] std::optional<std::uint8_t> u8(std::uint64_t offset) const;
  [[nodiscard]] std::optional<std::uint16_t> u16(std::uint64_t offset) const;  // little-endian
  [[nodiscard]] std::optional<std::uint32_t> u32(std::uint64_t offset) const;  // little-endian
  [[nodiscard]] std::optional<std::uint64_t> u64(std::uint64_t offset) const;  // little-endian
  [[nodiscard]] std::optional<std::int32_t> i32(std::uint64_t offset) const;
  [[nodiscard]] std::optional<std::uint32_t> u32be(std::uint64_t offset) const;  // PNG fields

  // A checked sub-view; nothing when it would reach past the end.
  [[nodiscard]] std::optional<ByteReader> sub(std::uint64_t offset, std::uint64_t length) const;
  // The rest of the view from offset on; nothing when offset is past the end.
  [[nodiscard]] std::optional<ByteReader> from(std::uint64_t offset) const;

  // The bytes up to (not including) the first NUL at or after offset, at
  // most max_length of them; nothing when no NUL comes in range.
  [[nodiscard]] std::optional<std::string> cstring(std::uint64_t offset, std::uint64_t max_length) const;

 private:
  std::span<const std::uint8_t> m_bytes;
};
