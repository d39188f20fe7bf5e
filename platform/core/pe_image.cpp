#include "platform/core/pe_image.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kLfanewOffset = 0x3C;
constexpr std::uint64_t kSignatureSize = 4;
constexpr std::uint64_t kFileHeaderSize = 20;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint64_t kDataDirectorySize = 8;
// The fields before the data directories: 96 bytes in PE32, 112 in PE32+
// (the image base and the four stack and heap sizes widen to 64 bits).
constexpr std::uint64_t kPe32FixedSize = 96;
constexpr std::uint64_t kPe32PlusFixedSize = 112;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
// No image format defines more directories; a larger count is noise.
constexpr std::uint32_t kMaxDataDirectories = 16;

static_assert(kFileHeaderSize == 2 + 2 + 4 + 4 + 4 + 2 + 2);
static_assert(kSectionHeaderSize == 8 + 4 * 6 + 2 * 2 + 4);

struct Holder {
  std::uint64_t offset;  // file offset of the rva
  std::uint64_t end;     // file offset where its holder ends, clipped to the file
};

}  // namespace

Expected<PeImage> PeImage::Parse(ByteReader file) {
  if (file.u16(0) != std::uint16_t{0x5A4D}) return Fail("no MZ header");
  const auto lfanew = file.i32(kLfanewOffset);
  if (!lfanew) return Fail("truncated MZ header");
  if (*lfanew < 0) return Fail("negative new-header offset");
  const auto pe = static_cast<std::uint64_t>(*lfanew);
  if (file.u32(pe) != std::uint32_t{0x00004550}) return Fail("no PE signature");

  const std::uint64_t fileHeader = pe + kSignatureSize;
  const auto machine = file.u16(fileHeader);
  const auto sections = file.u16(fileHeader + 2);
  const auto optionalSize = file.u16(fileHeader + 16);
  if (!machine || !sections || !optionalSize || !file.has(fileHeader, kFileHeaderSize)) {
    return Fail("truncated file header");
  }

  const std::uint64_t optional = fileHeader + kFileHeaderSize;
  if (!file.has(optional, *optionalSize)) return Fail("truncated optional header");
  const auto magic = file.u16(optional);
  PeImage image;
  std::uint64_t fixedSize = 0;
  if (magic == kPe32Magic) {
    image.m_format = PeFormat::Pe32;
    fixedSize = kPe32FixedSize;
  } else if (magic == kPe32PlusMagic) {
    image.m_format = PeFormat::Pe32Plus;
    fixedSize = kPe32PlusFixedSize;
  } else {
    return Fail("unknown optional header magic");
  }
  if (*optionalSize < fixedSize) return Fail("optional header too short");

  const std::uint64_t sectionTable = optional + *optionalSize;
  if (!file.has(sectionTable, std::uint64_t{*sections} * kSectionHeaderSize)) {
    return Fail("section table past the end of the file");
  }

  // Both reads lie inside the fixed part checked above.
  const std::uint32_t declaredDirectories = file.u32(optional + fixedSize - 4).value_or(0);
  const std::uint64_t roomForDirectories = (*optionalSize - fixedSize) / kDataDirectorySize;
  image.m_dataDirectoryCount = static_cast<std::uint32_t>(
      std::min<std::uint64_t>({declaredDirectories, roomForDirectories, kMaxDataDirectories}));
  image.m_file = file;
  image.m_machine = *machine;
  image.m_sizeOfHeaders = file.u32(optional + 60).value_or(0);
  image.m_sectionTable = sectionTable;
  image.m_sectionCount = *sections;
  image.m_dataDirectories = optional + fixedSize;
  return image;
}

std::optional<PeSection> PeImage::section(std::uint32_t index) const {
  if (index >= m_sectionCount) return std::nullopt;
  const std::uint64_t at = m_sectionTable + std::uint64_t{index} * kSectionHeaderSize;
  const auto va = m_file.u32(at + 12);
  const auto rawSize = m_file.u32(at + 16);
  const auto rawPointer = m_file.u32(at + 20);
  if (!va || !rawSize || !rawPointer) return std::nullopt;
  return PeSection{*va, *rawSize, *rawPointer};
}

std::optional<PeDataDirectory> PeImage::dataDirectory(std::uint32_t index) const {
  if (index >= m_dataDirectoryCount) return std::nullopt;
  const std::uint64_t at = m_dataDirectories + std::uint64_t{index} * kDataDirectorySize;
  const auto rva = m_file.u32(at);
  const auto size = m_file.u32(at + 4);
  if (!rva || !size) return std::nullopt;
  return PeDataDirectory{*rva, *size};
}

namespace {

std::optional<Holder> Locate(const PeImage& image, std::uint64_t fileSize, std::uint32_t sizeOfHeaders,
                             std::uint32_t rva) {
  const std::uint32_t count = std::min(image.sectionCount(), kMaxPeSections);
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto s = image.section(i);
    if (!s) return std::nullopt;
    // 64-bit sums: VirtualAddress + SizeOfRawData and PointerToRawData +
    // SizeOfRawData may each wrap 32 bits in a hostile header.
    const std::uint64_t start = s->virtualAddress;
    if (rva < start || rva >= start + s->rawSize) continue;
    const std::uint64_t offset = std::uint64_t{s->rawPointer} + (rva - start);
    const std::uint64_t end = std::min<std::uint64_t>(std::uint64_t{s->rawPointer} + s->rawSize, fileSize);
    if (offset >= end) return std::nullopt;
    return Holder{offset, end};
  }
  if (rva < sizeOfHeaders && rva < fileSize) {
    return Holder{rva, std::min<std::uint64_t>(sizeOfHeaders, fileSize)};
  }
  return std::nullopt;
}

}  // namespace

std::optional<ByteReader> PeImage::ViewAt(std::uint32_t rva) const {
  const auto holder = Locate(*this, m_file.size(), m_sizeOfHeaders, rva);
  if (!holder) return std::nullopt;
  return m_file.sub(holder->offset, holder->end - holder->offset);
}

std::optional<ByteReader> PeImage::BytesAt(std::uint32_t rva, std::uint32_t size) const {
  const auto view = ViewAt(rva);
  if (!view) return std::nullopt;
  return view->sub(0, size);
}
