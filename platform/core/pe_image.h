#pragma once
// The headers of a PE32 or PE32+ image read from its file bytes, and the
// translation of relative virtual addresses into that file the way the
// platform does it for modules loaded as data files (no sections are laid
// out in memory; every address is looked up in the section table).

#include <cstdint>
#include <optional>

#include "platform/core/byte_reader.h"
#include "platform/core/expected.h"

enum class PeFormat { Pe32, Pe32Plus };

struct PeSection {
  std::uint32_t virtualAddress = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawPointer = 0;
};

struct PeDataDirectory {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};

inline constexpr std::uint32_t kPeResourceDirectoryIndex = 2;

// Sections past this many in the table are not consulted when an address is
// translated. The field allows 65535 and every lookup walks the table in
// order, so without a cap a hostile table would make each resource lookup
// cost tens of thousands of reads; real images have a few dozen sections.
inline constexpr std::uint32_t kMaxPeSections = 1024;

class PeImage {
 public:
  PeImage() = default;

  // Accepts "MZ", a non-negative e_lfanew that reaches "PE\0\0", a file
  // header, an optional header with a PE32 or PE32+ magic that is long
  // enough for its fixed fields and lies in the file, and a section table
  // that lies in the file. Any machine type.
  [[nodiscard]] static Expected<PeImage> Parse(ByteReader file);

  [[nodiscard]] PeFormat format() const { return m_format; }
  [[nodiscard]] std::uint16_t machine() const { return m_machine; }
  [[nodiscard]] std::uint32_t sectionCount() const { return m_sectionCount; }  // as declared
  [[nodiscard]] std::optional<PeSection> section(std::uint32_t index) const;
  // Nothing when the optional header declares fewer directories.
  [[nodiscard]] std::optional<PeDataDirectory> dataDirectory(std::uint32_t index) const;

  // The bytes from rva to the end of what holds it: the raw data of the
  // first section (in header order, among the first kMaxPeSections) whose
  // raw extent covers rva, else the
  // headers when rva lies below SizeOfHeaders. Clipped to the file; nothing
  // when rva maps nowhere or past the end of the file.
  [[nodiscard]] std::optional<ByteReader> ViewAt(std::uint32_t rva) const;
  // Exactly [rva, rva + size), which must lie inside that same holder.
  [[nodiscard]] std::optional<ByteReader> BytesAt(std::uint32_t rva, std::uint32_t size) const;

 private:
  ByteReader m_file;
  PeFormat m_format = PeFormat::Pe32;
  std::uint16_t m_machine = 0;
  std::uint32_t m_sizeOfHeaders = 0;
  std::uint64_t m_sectionTable = 0;
  std::uint32_t m_sectionCount = 0;
  std::uint64_t m_dataDirectories = 0;
  std::uint32_t m_dataDirectoryCount = 0;
};
