#include "platform/core/resource_directory.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::uint32_t kDirectoryHeaderSize = 16;
constexpr std::uint32_t kDirectoryEntrySize = 8;
constexpr std::uint32_t kDataEntrySize = 16;
static_assert(kDirectoryHeaderSize == 4 + 4 + 2 + 2 + 2 + 2);
static_assert(kDirectoryEntrySize == 4 + 4);
static_assert(kDataEntrySize == 4 + 4 + 4 + 4);

// The high bit of an entry's first dword says "named", of its second dword
// "subdirectory"; the low 31 bits are an offset from the root.
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint32_t kOffsetMask = 0x7FFFFFFFu;

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

constexpr std::uint32_t kReplacementCharacter = 0xFFFD;

}  // namespace

ResourceKey ResourceKey::FromId(const char* id) {
  ResourceKey key;
  if ((reinterpret_cast<std::uintptr_t>(id) >> 16) == 0) {
    key.number = static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(id));
    return key;
  }
  const std::string_view text(id);
  if (text.size() > 1 && text.front() == '#') {
    std::uint16_t number = 0;
    const auto* first = text.data() + 1;
    const auto* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, number);
    if (ec == std::errc() && end == last) {
      key.number = number;
      return key;
    }
  }
  key.isName = true;
  key.name = text;
  return key;
}

std::optional<ResourceDirectory::Table> ResourceDirectory::ReadTable(std::uint32_t offset) const {
  const auto named = m_tree.u16(std::uint64_t{offset} + 12);
  const auto numbered = m_tree.u16(std::uint64_t{offset} + 14);
  if (!named || !numbered) return std::nullopt;
  // A table declaring more entries than the tree holds keeps those present.
  const std::uint64_t first = std::uint64_t{offset} + kDirectoryHeaderSize;
  const std::uint64_t room = (m_tree.size() - first) / kDirectoryEntrySize;
  const std::uint64_t declared = std::uint64_t{*named} + *numbered;
  Table table;
  table.offset = offset;
  table.count = static_cast<std::uint32_t>(std::min<std::uint64_t>({declared, room, kMaxResourceDirectoryEntries}));
  table.named = std::min<std::uint32_t>(*named, table.count);
  return table;
}

std::optional<ResourceDirectory::Entry> ResourceDirectory::ReadEntry(const Table& table, std::uint32_t index) const {
  if (index >= table.count) return std::nullopt;
  const std::uint64_t at =
      std::uint64_t{table.offset} + kDirectoryHeaderSize + std::uint64_t{index} * kDirectoryEntrySize;
  const auto id = m_tree.u32(at);
  const auto target = m_tree.u32(at + 4);
  if (!id || !target) return std::nullopt;
  return Entry{*id, *target};
}

std::optional<ResourceDirectory::Table> ResourceDirectory::Descend(
    const Entry& entry, std::initializer_list<std::uint32_t> ancestors) const {
  if ((entry.target & kHighBit) == 0) return std::nullopt;
  const std::uint32_t offset = entry.target & kOffsetMask;
  if (std::find(ancestors.begin(), ancestors.end(), offset) != ancestors.end()) return std::nullopt;
  return ReadTable(offset);
}

bool ResourceDirectory::DecodeName(std::uint32_t id, std::string& out) const {
  const std::uint64_t at = id & kOffsetMask;
  const auto length = m_tree.u16(at);
  if (!length || *length > kMaxResourceNameLength) return false;
  const auto units = m_tree.sub(at + 2, std::uint64_t{*length} * 2);
  if (!units) return false;
  out.clear();
  for (std::uint64_t i = 0; i < *length; ++i) {
    const std::uint32_t unit = units->u16(i * 2).value_or(0);
    if (unit == 0) return false;
    std::uint32_t cp = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      const std::uint32_t next = i + 1 < *length ? units->u16((i + 1) * 2).value_or(0) : 0;
      if (next >= 0xDC00 && next <= 0xDFFF) {
        cp = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
        ++i;
      } else {
        cp = kReplacementCharacter;
      }
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      cp = kReplacementCharacter;
    }
    AppendUtf8(out, cp);
  }
  return true;
}

bool ResourceDirectory::HasUsableName(const Entry& entry, std::string& buffer, ResourceName& name) const {
  if ((entry.id & kHighBit) != 0) {
    if (!DecodeName(entry.id, buffer)) return false;
    name.isName = true;
    name.name = buffer;
    return true;
  }
  // A number entry whose high word is set cannot travel as a resource number.
  if (entry.id > 0xFFFF) return false;
  name.isName = false;
  name.number = static_cast<std::uint16_t>(entry.id);
  return true;
}

bool ResourceDirectory::Matches(const Entry& entry, const ResourceKey& key, std::string& scratch) const {
  if (!key.isName) return entry.id == key.number;
  if ((entry.id & kHighBit) == 0) return false;
  // Cheap refusal before decoding: a UTF-16 name of n units is n to 3n
  // bytes of UTF-8.
  const auto length = m_tree.u16(entry.id & kOffsetMask);
  if (!length || key.name.size() < *length || key.name.size() > std::uint64_t{*length} * 3) return false;
  return DecodeName(entry.id, scratch) && EqualsIgnoringAsciiCase(scratch, key.name);
}

std::optional<ResourceDirectory::Table> ResourceDirectory::FindChild(
    const Table& table, const ResourceKey& key, std::initializer_list<std::uint32_t> ancestors) const {
  if (!key.isName && table.named < table.count) {
    // Numbered entries are stored in ascending order by every resource
    // compiler, so a binary search finds them; a table that is not sorted
    // falls through to the plain scan below.
    std::uint32_t lo = table.named;
    std::uint32_t hi = table.count;
    while (lo < hi) {
      const std::uint32_t mid = lo + (hi - lo) / 2;
      const auto entry = ReadEntry(table, mid);
      if (!entry) break;
      if (entry->id < key.number) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    for (std::uint32_t i = lo; i < table.count; ++i) {
      const auto entry = ReadEntry(table, i);
      if (!entry || entry->id != key.number) break;
      if (const auto child = Descend(*entry, ancestors)) return child;
    }
  }
  std::string scratch;
  for (std::uint32_t i = 0; i < table.count; ++i) {
    const auto entry = ReadEntry(table, i);
    if (!entry) break;
    if (!Matches(*entry, key, scratch)) continue;
    if (const auto child = Descend(*entry, ancestors)) return child;
  }
  return std::nullopt;
}

std::optional<ResourceDataEntry> ResourceDirectory::FirstLanguage(const Table& languages) const {
  for (std::uint32_t i = 0; i < languages.count; ++i) {
    const auto entry = ReadEntry(languages, i);
    if (!entry) break;
    // The third level must lead to data; a subdirectory here is damage.
    if ((entry->target & kHighBit) != 0) continue;
    const std::uint64_t at = entry->target;
    const auto rva = m_tree.u32(at);
    const auto size = m_tree.u32(at + 4);
    if (!rva || !size || !m_tree.has(at, kDataEntrySize)) continue;
    return ResourceDataEntry{at, *rva, *size};
  }
  return std::nullopt;
}

std::optional<ResourceDataEntry> ResourceDirectory::Find(const ResourceKey& type, const ResourceKey& name) const {
  const auto root = ReadTable(0);
  if (!root) return std::nullopt;
  const auto names = FindChild(*root, type, {0});
  if (!names) return std::nullopt;
  const auto languages = FindChild(*names, name, {0, names->offset});
  if (!languages) return std::nullopt;
  return FirstLanguage(*languages);
}
