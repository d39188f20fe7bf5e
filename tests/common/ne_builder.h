#pragma once
// Builds small 16-bit NE files in memory for tests: an MZ stub, an NE header
// and a resource table with its alignment shift, resources placed at
// multiples of the alignment unit. The result says where each table record
// landed, so a test can corrupt exactly one thing.

#include <cstdint>
#include <string>
#include <vector>

namespace ne_test {

inline constexpr std::uint16_t kNeGroupIcon = 0x800E;
inline constexpr std::uint16_t kNeIcon = 0x8003;

struct BuiltNe {
  std::vector<std::uint8_t> bytes;
  std::uint32_t neHeader = 0;
  std::uint32_t resourceTable = 0;      // file offset of the shift word
  std::vector<std::uint32_t> typeInfo;  // file offset of each TYPEINFO record
  std::vector<std::uint32_t> nameInfo;  // file offset of each NAMEINFO record, in table order
  std::uint32_t terminator = 0;         // file offset of the type list's closing 0

  void Put16(std::uint64_t offset, std::uint16_t value);
  [[nodiscard]] bool WriteTo(const std::string& path) const;
};

class NeBuilder {
 public:
  NeBuilder& SetAlignShift(std::uint16_t shift);
  NeBuilder& AddIconGroup(std::uint16_t id, std::vector<std::uint8_t> groupBytes);
  NeBuilder& AddNamedIconGroup(const std::string& name, std::vector<std::uint8_t> groupBytes);
  NeBuilder& AddIcon(std::uint16_t id, std::vector<std::uint8_t> imageBytes);
  NeBuilder& AddResource(std::uint16_t type, std::uint16_t id, std::vector<std::uint8_t> bytes);

  [[nodiscard]] BuiltNe Build() const;

 private:
  struct Resource {
    std::uint16_t type;
    std::uint16_t id;  // with the integer flag; 0 for a named one
    std::string name;
    std::vector<std::uint8_t> bytes;
  };
  std::uint16_t m_shift = 4;
  std::vector<Resource> m_resources;
};

// An icon library of count icons (up to 32,767): group n (numbered from 1)
// holds one 16x16 4-bit image of its own, icon n, whose pixels follow n.
[[nodiscard]] BuiltNe IconLibrary(std::uint16_t count);

}  // namespace ne_test
