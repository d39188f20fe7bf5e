#pragma once
// Builds small PE32 and PE32+ images in memory for tests: a code section,
// any extra sections, and a resource section holding a resource tree laid
// out as resource compilers lay it out. The result says where every header
// and every tree node landed, so a test can corrupt exactly one thing.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/core/pe_image.h"

namespace pe_test {

// A type, name or language key: a number, or a name (ASCII or UTF-8 here,
// stored as UTF-16 in the image).
struct ResId {
  bool isName = false;
  std::uint16_t number = 0;
  std::u16string name;

  static ResId Number(std::uint16_t n) { return ResId{false, n, {}}; }
  static ResId Name(const std::string& utf8);
  static ResId Name16(std::u16string units) { return ResId{true, 0, std::move(units)}; }
  // How the builder's layout map spells this key: the number in decimal or
  // the name as given.
  [[nodiscard]] std::string Label() const;
};

inline constexpr std::uint16_t kRtIcon = 3;
inline constexpr std::uint16_t kRtGroupIcon = 14;
inline constexpr std::uint16_t kLangEnUs = 0x0409;

enum class EntryOrder {
  Sorted,   // named entries by upper-cased name, then numbers ascending
  AsAdded,  // named entries, then numbered ones, each in the order added
};

// One row of a group icon directory (GRPICONDIRENTRY).
struct GroupIconEntry {
  std::uint8_t width = 32;
  std::uint8_t height = 32;
  std::uint8_t colorCount = 0;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 32;
  std::uint32_t bytesInRes = 0;
  std::uint16_t id = 1;
};

// The bytes of an RT_GROUP_ICON resource with these rows.
[[nodiscard]] std::vector<std::uint8_t> GroupIconBytes(const std::vector<GroupIconEntry>& entries);

struct BuiltPe {
  std::vector<std::uint8_t> bytes;

  std::uint32_t peHeader = 0;        // "PE\0\0"
  std::uint32_t fileHeader = 0;      // Machine, NumberOfSections, ...
  std::uint32_t optionalHeader = 0;  // Magic, ...
  std::uint32_t dataDirectories = 0;
  std::uint32_t sectionTable = 0;
  std::uint32_t resourceSection = 0;  // file offset of the tree's root; 0 without resources
  std::uint32_t resourceRva = 0;
  // Offsets from the root of every tree node, keyed by path: "" is the root
  // directory, "14" a type directory, "14/7" or "14/FOLDER" a name
  // directory, "14/7/1033" a language's data entry, "14/7/1033$" its data,
  // "$14/FOLDER" the string of the name FOLDER under type 14.
  std::map<std::string, std::uint32_t> tree;

  // The file offset of a tree node; throws std::out_of_range for an unknown path.
  [[nodiscard]] std::uint32_t At(const std::string& path) const { return resourceSection + tree.at(path); }
  // The file offset of entry index of the directory at path.
  [[nodiscard]] std::uint32_t EntryAt(const std::string& path, std::uint32_t index) const {
    return At(path) + 16 + 8 * index;
  }
  void Put16(std::uint64_t offset, std::uint16_t value);
  void Put32(std::uint64_t offset, std::uint32_t value);
  // The file offset of field offset within section header index.
  [[nodiscard]] std::uint32_t SectionField(std::uint32_t index, std::uint32_t field) const {
    return sectionTable + 40 * index + field;
  }

  [[nodiscard]] bool WriteTo(const std::string& path) const;
};

class PeBuilder {
 public:
  // machine 0 picks i386 for PE32 and x86-64 for PE32+.
  explicit PeBuilder(PeFormat format = PeFormat::Pe32, std::uint16_t machine = 0);

  PeBuilder& SetEntryOrder(EntryOrder order);
  PeBuilder& AddResource(const ResId& type, const ResId& name, std::vector<std::uint8_t> bytes,
                         std::uint16_t language = kLangEnUs);
  PeBuilder& AddIconGroup(const ResId& name, std::vector<std::uint8_t> groupBytes, std::uint16_t language = kLangEnUs);
  PeBuilder& AddIcon(std::uint16_t id, std::vector<std::uint8_t> imageBytes, std::uint16_t language = kLangEnUs);
  // A section placed before the resource section.
  PeBuilder& AddSection(const std::string& name, std::vector<std::uint8_t> bytes);

  [[nodiscard]] BuiltPe Build() const;

 private:
  struct Resource {
    ResId type;
    ResId name;
    std::uint16_t language;
    std::vector<std::uint8_t> bytes;
  };
  struct Section {
    std::string name;
    std::vector<std::uint8_t> bytes;
  };

  PeFormat m_format;
  std::uint16_t m_machine;
  EntryOrder m_order = EntryOrder::Sorted;
  std::vector<Resource> m_resources;
  std::vector<Section> m_sections;
};

// A PE32 module whose one icon group, numbered group, holds one 32x32 8-bit
// image (icon 1).
[[nodiscard]] BuiltPe ModuleWithOneGroup(std::uint16_t group);

}  // namespace pe_test
