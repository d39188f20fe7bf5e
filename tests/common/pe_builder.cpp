#include "tests/common/pe_builder.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "platform/core/byte_writer.h"
#include "tests/common/ico_builder.h"

namespace pe_test {
namespace {

constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kLfanew = 0x80;
constexpr std::uint32_t kSectionHeaderSize = 40;
constexpr std::uint32_t kHighBit = 0x80000000u;

std::uint32_t AlignUp(std::uint32_t v, std::uint32_t a) { return (v + a - 1) / a * a; }

std::u16string Utf8To16(const std::string& s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::uint32_t cp = b;
    std::size_t n = 1;
    if (b >= 0xF0) {
      cp = b & 0x07u;
      n = 4;
    } else if (b >= 0xE0) {
      cp = b & 0x0Fu;
      n = 3;
    } else if (b >= 0xC0) {
      cp = b & 0x1Fu;
      n = 2;
    }
    for (std::size_t k = 1; k < n && i + k < s.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
    i += n;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool NameLess(const std::u16string& a, const std::u16string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return Upper(x) < Upper(y); });
}

bool SameKey(const ResId& a, const ResId& b) {
  return a.isName == b.isName && (a.isName ? a.name == b.name : a.number == b.number);
}

// Named keys first, then numbered ones, as every resource directory stores them.
template <typename T, typename Key>
std::vector<const T*> Ordered(const std::vector<T>& items, Key key, EntryOrder order) {
  std::vector<const T*> named;
  std::vector<const T*> numbered;
  for (const auto& item : items) (key(item).isName ? named : numbered).push_back(&item);
  if (order == EntryOrder::Sorted) {
    std::stable_sort(named.begin(), named.end(),
                     [&](auto* a, auto* b) { return NameLess(key(*a).name, key(*b).name); });
    std::stable_sort(numbered.begin(), numbered.end(),
                     [&](auto* a, auto* b) { return key(*a).number < key(*b).number; });
  }
  named.insert(named.end(), numbered.begin(), numbered.end());
  return named;
}

struct LangNode {
  std::uint16_t language;
  const std::vector<std::uint8_t>* bytes;
  ResId key() const { return ResId::Number(language); }
};
struct NameNode {
  ResId name;
  std::vector<LangNode> languages;
};
struct TypeNode {
  ResId type;
  std::vector<NameNode> names;
};

// Lays the tree out as resource compilers do: every directory table, then
// the data entries, then the name strings, then the data.
std::vector<std::uint8_t> BuildTree(const std::vector<TypeNode>& types, EntryOrder order, std::uint32_t rva,
                                    std::map<std::string, std::uint32_t>& offsets) {
  const auto typeKey = [](const TypeNode& t) -> const ResId& { return t.type; };
  const auto nameKey = [](const NameNode& n) -> const ResId& { return n.name; };
  const auto langKey = [](const LangNode& l) { return l.key(); };

  struct Dir {
    std::string path;
    std::vector<std::pair<ResId, std::string>> children;  // key, child path
    bool leaf = false;
  };
  std::vector<Dir> dirs;
  struct Leaf {
    std::string path;
    const std::vector<std::uint8_t>* bytes;
  };
  std::vector<Leaf> leaves;
  struct Str {
    std::string path;
    std::u16string units;
  };
  std::vector<Str> strings;

  Dir root{"", {}, false};
  const auto typesInOrder = Ordered(types, typeKey, order);
  std::vector<Dir> level2;
  std::vector<Dir> level3;
  for (const TypeNode* t : typesInOrder) {
    const std::string tpath = t->type.Label();
    root.children.emplace_back(t->type, tpath);
    if (t->type.isName) strings.push_back({"$" + tpath, t->type.name});
    Dir td{tpath, {}, false};
    for (const NameNode* n : Ordered(t->names, nameKey, order)) {
      const std::string npath = tpath + "/" + n->name.Label();
      td.children.emplace_back(n->name, npath);
      if (n->name.isName) strings.push_back({"$" + npath, n->name.name});
      Dir nd{npath, {}, true};
      std::vector<LangNode> langs = n->languages;
      for (const LangNode* l : Ordered(langs, langKey, order)) {
        const std::string lpath = npath + "/" + std::to_string(l->language);
        nd.children.emplace_back(l->key(), lpath);
        leaves.push_back({lpath, l->bytes});
      }
      level3.push_back(std::move(nd));
    }
    level2.push_back(std::move(td));
  }
  dirs.push_back(std::move(root));
  for (auto& d : level2) dirs.push_back(std::move(d));
  for (auto& d : level3) dirs.push_back(std::move(d));

  std::uint32_t at = 0;
  for (const Dir& d : dirs) {
    offsets[d.path] = at;
    at += 16 + 8 * static_cast<std::uint32_t>(d.children.size());
  }
  for (const Leaf& l : leaves) {
    offsets[l.path] = at;
    at += 16;
  }
  for (const Str& s : strings) {
    offsets[s.path] = at;
    at = AlignUp(at + 2 + 2 * static_cast<std::uint32_t>(s.units.size()), 2);
  }
  for (const Leaf& l : leaves) {
    at = AlignUp(at, 8);
    offsets[l.path + "$"] = at;
    at += static_cast<std::uint32_t>(l.bytes->size());
  }

  std::vector<std::uint8_t> out(at);
  ByteWriter w(out);
  for (const Dir& d : dirs) {
    const std::uint32_t base = offsets[d.path];
    std::uint16_t named = 0;
    for (const auto& c : d.children) named = static_cast<std::uint16_t>(named + (c.first.isName ? 1 : 0));
    w.u16At(base + 12, named);
    w.u16At(base + 14, static_cast<std::uint16_t>(d.children.size() - named));
    for (std::size_t i = 0; i < d.children.size(); ++i) {
      const auto& [key, child] = d.children[i];
      const std::uint32_t e = base + 16 + 8 * static_cast<std::uint32_t>(i);
      w.u32At(e, key.isName ? (kHighBit | offsets.at("$" + child)) : key.number);
      w.u32At(e + 4, d.leaf ? offsets.at(child) : (kHighBit | offsets.at(child)));
    }
  }
  for (const Leaf& l : leaves) {
    const std::uint32_t e = offsets[l.path];
    w.u32At(e, rva + offsets[l.path + "$"]);
    w.u32At(e + 4, static_cast<std::uint32_t>(l.bytes->size()));
    w.bytesAt(offsets[l.path + "$"], *l.bytes);
  }
  for (const Str& s : strings) {
    const std::uint32_t e = offsets[s.path];
    w.u16At(e, static_cast<std::uint16_t>(s.units.size()));
    for (std::size_t i = 0; i < s.units.size(); ++i) w.u16At(e + 2 + 2 * i, s.units[i]);
  }
  return out;
}

}  // namespace

ResId ResId::Name(const std::string& utf8) { return ResId{true, 0, Utf8To16(utf8)}; }

std::string ResId::Label() const {
  if (!isName) return std::to_string(number);
  std::string out;
  for (char16_t c : name) {
    if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(c));
      out += hex;
    }
  }
  return out;
}

std::vector<std::uint8_t> GroupIconBytes(const std::vector<GroupIconEntry>& entries) {
  std::vector<std::uint8_t> out;
  ByteWriter w(out);
  w.u16At(0, 0);
  w.u16At(2, 1);
  w.u16At(4, static_cast<std::uint16_t>(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto& e = entries[i];
    const std::uint64_t at = 6 + 14 * i;
    w.extendTo(at + 14);
    out[at] = e.width;
    out[at + 1] = e.height;
    out[at + 2] = e.colorCount;
    out[at + 3] = 0;
    w.u16At(at + 4, e.planes);
    w.u16At(at + 6, e.bitCount);
    w.u32At(at + 8, e.bytesInRes);
    w.u16At(at + 12, e.id);
  }
  return out;
}

void BuiltPe::Put16(std::uint64_t offset, std::uint16_t value) { ByteWriter(bytes).u16At(offset, value); }
void BuiltPe::Put32(std::uint64_t offset, std::uint32_t value) { ByteWriter(bytes).u32At(offset, value); }

bool BuiltPe::WriteTo(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

PeBuilder::PeBuilder(PeFormat format, std::uint16_t machine)
    : m_format(format), m_machine(machine != 0 ? machine : (format == PeFormat::Pe32 ? 0x014C : 0x8664)) {}

PeBuilder& PeBuilder::SetEntryOrder(EntryOrder order) {
  m_order = order;
  return *this;
}

PeBuilder& PeBuilder::AddResource(const ResId& type, const ResId& name, std::vector<std::uint8_t> bytes,
                                  std::uint16_t language) {
  m_resources.push_back({type, name, language, std::move(bytes)});
  return *this;
}

PeBuilder& PeBuilder::AddIconGroup(const ResId& name, std::vector<std::uint8_t> groupBytes, std::uint16_t language) {
  return AddResource(ResId::Number(kRtGroupIcon), name, std::move(groupBytes), language);
}

PeBuilder& PeBuilder::AddIcon(std::uint16_t id, std::vector<std::uint8_t> imageBytes, std::uint16_t language) {
  return AddResource(ResId::Number(kRtIcon), ResId::Number(id), std::move(imageBytes), language);
}

PeBuilder& PeBuilder::AddSection(const std::string& name, std::vector<std::uint8_t> bytes) {
  m_sections.push_back({name, std::move(bytes)});
  return *this;
}

BuiltPe PeBuilder::Build() const {
  std::vector<TypeNode> types;
  for (const Resource& r : m_resources) {
    auto t = std::find_if(types.begin(), types.end(), [&](const TypeNode& n) { return SameKey(n.type, r.type); });
    if (t == types.end()) t = types.insert(types.end(), TypeNode{r.type, {}});
    auto n = std::find_if(t->names.begin(), t->names.end(), [&](const NameNode& x) { return SameKey(x.name, r.name); });
    if (n == t->names.end()) n = t->names.insert(t->names.end(), NameNode{r.name, {}});
    n->languages.push_back({r.language, &r.bytes});
  }

  std::vector<Section> sections;
  sections.push_back({".text", std::vector<std::uint8_t>(16, 0xC3)});
  sections.insert(sections.end(), m_sections.begin(), m_sections.end());
  const bool hasResources = !types.empty();
  const std::size_t rsrcIndex = sections.size();
  if (hasResources) sections.push_back({".rsrc", {}});

  BuiltPe pe;
  const bool plus = m_format == PeFormat::Pe32Plus;
  const std::uint32_t fixed = plus ? 112 : 96;
  const std::uint32_t optionalSize = fixed + 16 * 8;
  pe.peHeader = kLfanew;
  pe.fileHeader = kLfanew + 4;
  pe.optionalHeader = pe.fileHeader + 20;
  pe.dataDirectories = pe.optionalHeader + fixed;
  pe.sectionTable = pe.optionalHeader + optionalSize;
  const auto count = static_cast<std::uint32_t>(sections.size());
  const std::uint32_t sizeOfHeaders = AlignUp(pe.sectionTable + kSectionHeaderSize * count, kFileAlignment);

  std::uint32_t va = kSectionAlignment;
  std::uint32_t raw = sizeOfHeaders;
  std::vector<std::uint32_t> vas;
  std::vector<std::uint32_t> raws;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (hasResources && i == rsrcIndex) {
      pe.resourceRva = va;
      pe.resourceSection = raw;
      sections[i].bytes = BuildTree(types, m_order, va, pe.tree);
    }
    vas.push_back(va);
    raws.push_back(raw);
    const auto size = static_cast<std::uint32_t>(std::max<std::size_t>(sections[i].bytes.size(), 1));
    va += AlignUp(size, kSectionAlignment);
    raw += AlignUp(size, kFileAlignment);
  }

  ByteWriter w(pe.bytes);
  w.extendTo(raw);
  w.u16At(0, 0x5A4D);
  w.u32At(0x3C, kLfanew);
  w.u32At(pe.peHeader, 0x00004550);
  w.u16At(pe.fileHeader, m_machine);
  w.u16At(pe.fileHeader + 2, static_cast<std::uint16_t>(count));
  w.u16At(pe.fileHeader + 16, static_cast<std::uint16_t>(optionalSize));
  w.u16At(pe.fileHeader + 18, plus ? 0x0022 : 0x0102);
  const std::uint32_t o = pe.optionalHeader;
  w.u16At(o, plus ? 0x20B : 0x10B);
  w.u32At(o + 16, kSectionAlignment);  // AddressOfEntryPoint
  w.u32At(o + 20, kSectionAlignment);  // BaseOfCode
  if (plus) {
    w.u64At(o + 24, 0x140000000ull);
  } else {
    w.u32At(o + 28, 0x400000);
  }
  w.u32At(o + 32, kSectionAlignment);
  w.u32At(o + 36, kFileAlignment);
  w.u16At(o + 40, 6);
  w.u16At(o + 48, 6);
  w.u32At(o + 56, va);
  w.u32At(o + 60, sizeOfHeaders);
  w.u16At(o + 68, 2);
  w.u32At(o + fixed - 4, 16);
  if (hasResources) {
    w.u32At(pe.dataDirectories + 8 * 2, pe.resourceRva);
    w.u32At(pe.dataDirectories + 8 * 2 + 4, static_cast<std::uint32_t>(sections[rsrcIndex].bytes.size()));
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t h = pe.sectionTable + kSectionHeaderSize * i;
    const Section& s = sections[i];
    for (std::size_t k = 0; k < 8 && k < s.name.size(); ++k) pe.bytes[h + k] = static_cast<std::uint8_t>(s.name[k]);
    const auto size = static_cast<std::uint32_t>(s.bytes.size());
    w.u32At(h + 8, size);
    w.u32At(h + 12, vas[i]);
    w.u32At(h + 16, AlignUp(std::max<std::uint32_t>(size, 1), kFileAlignment));
    w.u32At(h + 20, raws[i]);
    w.u32At(h + 36, 0x40000040);  // initialised data, readable
    w.bytesAt(raws[i], s.bytes);
  }
  return pe;
}

BuiltPe ModuleWithOneGroup(std::uint16_t group) {
  const std::vector<std::uint8_t> image = ico_test::DibImage(32, 32, 8);
  PeBuilder pe;
  pe.AddIcon(1, image);
  pe.AddIconGroup(ResId::Number(group),
                  GroupIconBytes({{32, 32, 0, 1, 8, static_cast<std::uint32_t>(image.size()), 1}}));
  return pe.Build();
}

}  // namespace pe_test
