#pragma once
// A record of untrusted bytes whose whole extent was checked once, when it
// was made. Each field read names its offset at compile time and the
// compiler refuses one that does not lie inside the record, so the reads
// answer plain values: no read of a made record can fail.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/core/byte_reader.h"

template <std::size_t Size>
class FixedRecord {
 public:
  // The Size bytes at offset of reader; nothing when they do not all lie
  // inside it.
  [[nodiscard]] static std::optional<FixedRecord> At(const ByteReader& reader, std::uint64_t offset) {
    const auto view = reader.sub(offset, Size);
    if (!view) return std::nullopt;
    return FixedRecord(view->bytes().data());
  }

  template <std::size_t Offset>
  [[nodiscard]] std::uint8_t u8() const {
    static_assert(Offset + 1 <= Size, "field past the end of the record");
    return m_data[Offset];
  }
  template <std::size_t Offset>
  [[nodiscard]] std::uint16_t u16() const {
    static_assert(Offset + 2 <= Size, "field past the end of the record");
    return static_cast<std::uint16_t>(m_data[Offset] | (m_data[Offset + 1] << 8));
  }
  template <std::size_t Offset>
  [[nodiscard]] std::uint32_t u32() const {
    static_assert(Offset + 4 <= Size, "field past the end of the record");
    return std::uint32_t{u16<Offset>()} | (std::uint32_t{u16<Offset + 2>()} << 16);
  }
  template <std::size_t Offset>
  [[nodiscard]] std::int32_t i32() const {
    return static_cast<std::int32_t>(u32<Offset>());
  }

 private:
  explicit FixedRecord(const std::uint8_t* data) : m_data(data) {}

  const std::uint8_t* m_data;
};
