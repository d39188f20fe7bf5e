#pragma once
// The resource tree of an image: type, name and language directories, then
// data entries. Every walk is bounded: three levels, a cap on the entries
// read from one directory, a cap on name length, and no step into a
// directory that is already on the path from the root.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/byte_reader.h"

// At most this many entries are read from one directory; any further ones
// are ignored. Real libraries stay far below it (a large system icon
// library has a few thousand icons), and it keeps a hostile table of 131070
// declared entries from costing more than a few hundred kilobytes of reads.
inline constexpr std::uint32_t kMaxResourceDirectoryEntries = 16384;
// Names longer than this many UTF-16 units are treated as damaged and their
// resource is skipped: no resource compiler writes such names, and the cap
// keeps thousands of entries that share one huge string cheap to walk.
inline constexpr std::uint32_t kMaxResourceNameLength = 1024;

// How a caller names a resource or a type: a number or a name. Names are
// 8-bit strings (UTF-8 here); "#123" means the number 123, as on the
// platform.
struct ResourceKey {
  bool isName = false;
  std::uint16_t number = 0;
  std::string_view name;

  [[nodiscard]] static ResourceKey FromId(const char* id);
};

// One name of a type's directory as enumeration reports it. The name view
// lives until the next name is reported.
struct ResourceName {
  bool isName = false;
  std::uint16_t number = 0;
  std::string_view name;
};

struct ResourceDataEntry {
  std::uint64_t entryOffset = 0;  // in the tree; tells found resources apart
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};

class ResourceDirectory {
 public:
  ResourceDirectory() = default;
  // tree: the bytes from the root directory on. Offsets inside the tree are
  // relative to the root.
  explicit ResourceDirectory(ByteReader tree) : m_tree(tree) {}

  // How a walk over a type's names ended.
  enum class NameWalk { NoSuchType, Stopped, Completed };

  // Reports each name of the type in stored order, with its first usable
  // language entry, until visit answers false. Names that Find could not
  // resolve are left out.
  template <typename Visit>
  [[nodiscard]] NameWalk EnumerateNames(const ResourceKey& type, Visit&& visit) const;

  // The first usable language entry of (type, name).
  [[nodiscard]] std::optional<ResourceDataEntry> Find(const ResourceKey& type, const ResourceKey& name) const;

 private:
  struct Entry {
    std::uint32_t id = 0;      // first dword: name offset or number
    std::uint32_t target = 0;  // second dword: subdirectory or data entry
  };
  struct Table {
    std::uint32_t offset = 0;  // of the directory header
    std::uint32_t count = 0;   // entries present and within the caps
    std::uint32_t named = 0;   // how many of them the header declares named
  };

  [[nodiscard]] std::optional<Table> ReadTable(std::uint32_t offset) const;
  [[nodiscard]] std::optional<Entry> ReadEntry(const Table& table, std::uint32_t index) const;
  // The subdirectory an entry leads to, refused when the entry is not one or
  // when it leads back onto the path (ancestors holds the offsets so far).
  [[nodiscard]] std::optional<Table> Descend(const Entry& entry, std::initializer_list<std::uint32_t> ancestors) const;
  [[nodiscard]] std::optional<Table> FindChild(const Table& table, const ResourceKey& key,
                                               std::initializer_list<std::uint32_t> ancestors) const;
  [[nodiscard]] bool Matches(const Entry& entry, const ResourceKey& key, std::string& scratch) const;
  // Decodes a stored UTF-16 name into out as UTF-8; false when it is out of
  // range, too long, or holds a NUL.
  [[nodiscard]] bool DecodeName(std::uint32_t id, std::string& out) const;
  [[nodiscard]] std::optional<ResourceDataEntry> FirstLanguage(const Table& languages) const;
  [[nodiscard]] bool HasUsableName(const Entry& entry, std::string& buffer, ResourceName& name) const;

  ByteReader m_tree;
};

template <typename Visit>
ResourceDirectory::NameWalk ResourceDirectory::EnumerateNames(const ResourceKey& type, Visit&& visit) const {
  const auto root = ReadTable(0);
  if (!root) return NameWalk::NoSuchType;
  const auto names = FindChild(*root, type, {0});
  if (!names) return NameWalk::NoSuchType;
  // One buffer for every decoded name of the walk.
  std::string buffer;
  for (std::uint32_t i = 0; i < names->count; ++i) {
    const auto entry = ReadEntry(*names, i);
    if (!entry) break;
    ResourceName name;
    if (!HasUsableName(*entry, buffer, name)) continue;
    const auto languages = Descend(*entry, {0, names->offset});
    if (!languages) continue;
    const auto data = FirstLanguage(*languages);
    if (!data) continue;
    if (!visit(name, *data)) return NameWalk::Stopped;
  }
  return NameWalk::Completed;
}
