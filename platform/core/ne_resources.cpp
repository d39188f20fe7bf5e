#include "platform/core/ne_resources.h"

#include <algorithm>

#include "platform/core/fixed_record.h"

namespace {

constexpr std::uint64_t kMzNewHeaderField = 0x3C;
constexpr std::uint64_t kNeResourceTableField = 0x24;
constexpr std::size_t kTypeInfoSize = 8;
constexpr std::size_t kNameInfoSize = 12;
constexpr std::uint64_t kMaxNameLength = 255;

std::optional<std::uint64_t> NeHeaderOffset(const ByteReader& file) {
  const auto mz = file.u16(0);
  if (!mz || *mz != 0x5A4D) return std::nullopt;
  const auto lfanew = file.u32(kMzNewHeaderField);
  if (!lfanew) return std::nullopt;
  const auto sig = file.u16(*lfanew);
  if (!sig || *sig != 0x454E) return std::nullopt;
  return *lfanew;
}

// Names are length-prefixed strings at offsets from the table's start.
std::string ReadName(const ByteReader& table, WORD offset) {
  const auto length = table.u8(offset);
  if (!length || *length > kMaxNameLength) return {};
  const auto chars = table.sub(std::uint64_t{offset} + 1, *length);
  if (!chars) return {};
  const auto b = chars->bytes();
  return std::string(b.begin(), b.end());
}

}  // namespace

bool IsNeFile(const ByteReader& file) { return NeHeaderOffset(file).has_value(); }

Expected<NeResourceTable> ReadNeResources(const ByteReader& file) {
  const auto ne = NeHeaderOffset(file);
  if (!ne) return Fail("not an NE file");
  const auto tableField = file.u16(*ne + kNeResourceTableField);
  if (!tableField) return Fail("NE header truncated");
  const auto tableView = file.from(*ne + *tableField);
  if (!tableView) return Fail("NE resource table outside the file");
  const ByteReader& table = *tableView;
  const auto shift = table.u16(0);
  if (!shift) return Fail("NE resource table outside the file");
  if (*shift > kMaxNeAlignShift) return Fail("NE resource alignment shift too large");

  NeResourceTable result;
  result.alignUnit = std::uint64_t{1} << *shift;
  std::uint64_t pos = 2;
  for (;;) {
    // A type record is its id word, then its count; the list ends with an
    // id of 0 that has no count after it.
    const auto typeId = table.u16(pos);
    if (!typeId) return Fail("NE resource type list not terminated");
    if (*typeId == 0) break;
    const auto typeInfo = FixedRecord<kTypeInfoSize>::At(table, pos);
    if (!typeInfo) return Fail("NE resource type list not terminated");
    const WORD type = typeInfo->u16<0>();
    const WORD count = typeInfo->u16<2>();
    pos += kTypeInfoSize;
    if (result.resources.size() + count > kMaxNeResources) return Fail("NE resource table too large");
    for (WORD i = 0; i < count; ++i, pos += kNameInfoSize) {
      const auto nameInfo = FixedRecord<kNameInfoSize>::At(table, pos);
      if (!nameInfo) return Fail("NE resource entries past the end");
      NeResource r;
      r.type = type;
      r.id = nameInfo->u16<6>();
      const std::uint64_t offset = std::uint64_t{nameInfo->u16<0>()} << *shift;
      const std::uint64_t length = std::uint64_t{nameInfo->u16<2>()} << *shift;
      if (const auto bytes = file.sub(offset, length)) {
        r.bytes = *bytes;
        r.inFile = true;
      }
      if ((r.id & kNeIntegerFlag) == 0) r.name = ReadName(table, r.id);
      result.resources.push_back(std::move(r));
    }
  }
  for (std::size_t i = 0; i < result.resources.size(); ++i) {
    if (result.resources[i].type == kNeTypeIcon) result.iconsById.push_back(i);
  }
  std::stable_sort(result.iconsById.begin(), result.iconsById.end(),
                   [&result](std::size_t a, std::size_t b) { return result.resources[a].id < result.resources[b].id; });
  return result;
}

std::vector<const NeResource*> NeIconGroups(const NeResourceTable& table) {
  std::vector<const NeResource*> groups;
  for (const auto& r : table.resources) {
    if (r.type == kNeTypeGroupIcon) groups.push_back(&r);
  }
  return groups;
}

std::optional<ByteReader> NeIconImage(const NeResourceTable& table, WORD id) {
  const WORD stored = static_cast<WORD>(kNeIntegerFlag | id);
  // The first of equal ids in table order, as a walk of the table finds it.
  const auto at = std::lower_bound(table.iconsById.begin(), table.iconsById.end(), stored,
                                   [&table](std::size_t index, WORD key) { return table.resources[index].id < key; });
  if (at == table.iconsById.end() || *at >= table.resources.size()) return std::nullopt;
  const NeResource& r = table.resources[*at];
  if (r.id != stored || !r.inFile) return std::nullopt;
  return r.bytes;
}
