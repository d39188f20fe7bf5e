#include "tests/common/ne_builder.h"

#include <fstream>

#include "platform/core/byte_writer.h"
#include "tests/common/ico_builder.h"
#include "tests/common/pe_builder.h"

namespace ne_test {

namespace {

constexpr std::uint32_t kNeHeaderAt = 0x40;
constexpr std::uint32_t kNeHeaderSize = 0x40;

}  // namespace

void BuiltNe::Put16(std::uint64_t offset, std::uint16_t value) { ByteWriter(bytes).u16At(offset, value); }

bool BuiltNe::WriteTo(const std::string& path) const {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

NeBuilder& NeBuilder::SetAlignShift(std::uint16_t shift) {
  m_shift = shift;
  return *this;
}

NeBuilder& NeBuilder::AddIconGroup(std::uint16_t id, std::vector<std::uint8_t> groupBytes) {
  return AddResource(kNeGroupIcon, static_cast<std::uint16_t>(0x8000 | id), std::move(groupBytes));
}

NeBuilder& NeBuilder::AddNamedIconGroup(const std::string& name, std::vector<std::uint8_t> groupBytes) {
  m_resources.push_back(Resource{kNeGroupIcon, 0, name, std::move(groupBytes)});
  return *this;
}

NeBuilder& NeBuilder::AddIcon(std::uint16_t id, std::vector<std::uint8_t> imageBytes) {
  return AddResource(kNeIcon, static_cast<std::uint16_t>(0x8000 | id), std::move(imageBytes));
}

NeBuilder& NeBuilder::AddResource(std::uint16_t type, std::uint16_t id, std::vector<std::uint8_t> bytes) {
  m_resources.push_back(Resource{type, id, {}, std::move(bytes)});
  return *this;
}

BuiltNe NeBuilder::Build() const {
  BuiltNe built;
  std::vector<std::uint8_t>& out = built.bytes;
  out.assign(kNeHeaderAt + kNeHeaderSize, 0);
  out[0] = 'M';
  out[1] = 'Z';
  out[0x3C] = static_cast<std::uint8_t>(kNeHeaderAt);
  built.neHeader = kNeHeaderAt;
  out[kNeHeaderAt] = 'N';
  out[kNeHeaderAt + 1] = 'E';
  built.resourceTable = static_cast<std::uint32_t>(out.size());
  ByteWriter(out).u16At(kNeHeaderAt + 0x24, static_cast<std::uint16_t>(built.resourceTable - kNeHeaderAt));

  // Types in order of first appearance, each with its resources in order.
  std::vector<std::uint16_t> types;
  for (const auto& r : m_resources) {
    bool seen = false;
    for (auto t : types) seen = seen || t == r.type;
    if (!seen) types.push_back(r.type);
  }
  ByteWriter(out).u16(m_shift);
  std::vector<const Resource*> order;
  for (auto type : types) {
    built.typeInfo.push_back(static_cast<std::uint32_t>(out.size()));
    std::uint16_t count = 0;
    for (const auto& r : m_resources) count = static_cast<std::uint16_t>(count + (r.type == type ? 1 : 0));
    ByteWriter(out).u16(type);
    ByteWriter(out).u16(count);
    ByteWriter(out).u16(0);
    ByteWriter(out).u16(0);
    for (const auto& r : m_resources) {
      if (r.type != type) continue;
      built.nameInfo.push_back(static_cast<std::uint32_t>(out.size()));
      order.push_back(&r);
      for (int i = 0; i < 6; ++i) ByteWriter(out).u16(0);
    }
  }
  built.terminator = static_cast<std::uint32_t>(out.size());
  ByteWriter(out).u16(0);
  // Names follow the type list, as length-prefixed strings.
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (order[i]->id != 0) continue;
    ByteWriter(out).u16At(built.nameInfo[i] + 6, static_cast<std::uint16_t>(out.size() - built.resourceTable));
    out.push_back(static_cast<std::uint8_t>(order[i]->name.size()));
    out.insert(out.end(), order[i]->name.begin(), order[i]->name.end());
  }
  ByteWriter(out).u16At(kNeHeaderAt + 0x26, static_cast<std::uint16_t>(out.size() - kNeHeaderAt));
  out.push_back(0);  // an empty resident-name table

  const std::uint64_t unit = std::uint64_t{1} << (m_shift < 16 ? m_shift : 0);
  for (std::size_t i = 0; i < order.size(); ++i) {
    while (out.size() % unit != 0) out.push_back(0);
    const std::uint64_t units = (order[i]->bytes.size() + unit - 1) / unit;
    ByteWriter(out).u16At(built.nameInfo[i], static_cast<std::uint16_t>(out.size() / unit));
    ByteWriter(out).u16At(built.nameInfo[i] + 2, static_cast<std::uint16_t>(units));
    if (order[i]->id != 0) ByteWriter(out).u16At(built.nameInfo[i] + 6, order[i]->id);
    out.insert(out.end(), order[i]->bytes.begin(), order[i]->bytes.end());
    out.resize(out.size() + (units * unit - order[i]->bytes.size()), 0);
  }
  return built;
}

BuiltNe IconLibrary(std::uint16_t count) {
  NeBuilder builder;
  // 64-byte units: the offsets of 32,767 icons still fit the table's 16 bits.
  builder.SetAlignShift(6);
  for (std::uint16_t n = 1; n <= count && n <= 0x7FFF; ++n) {
    auto image = ico_test::DibImage(16, 16, 4, static_cast<std::uint8_t>(n));
    const auto size = static_cast<std::uint32_t>(image.size());
    builder.AddIconGroup(n, pe_test::GroupIconBytes({{16, 16, 16, 1, 4, size, n}}));
    builder.AddIcon(n, std::move(image));
  }
  return builder.Build();
}

}  // namespace ne_test
