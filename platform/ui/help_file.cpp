#include "platform/ui/help_file.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>

#include "platform/core/byte_writer.h"
#include "platform/core/file_mapping.h"

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

template <typename T>
std::optional<T> Number(std::string_view s) {
  s = Trim(s);
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    base = 16;
  }
  T value{};
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return value;
}

std::vector<std::string_view> SplitCommas(std::string_view s) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t comma = s.find(',');
    parts.push_back(Trim(s.substr(0, comma)));
    if (comma == std::string_view::npos) return parts;
    s.remove_prefix(comma + 1);
  }
}

std::optional<HelpWindowType> WindowType(std::string_view value) {
  const auto parts = SplitCommas(value);
  if (parts.size() != 6) return std::nullopt;
  HelpWindowType type{std::string(parts[0]), std::string(parts[1]), 0, 0, 0, 0};
  const auto left = Number<int>(parts[2]), top = Number<int>(parts[3]);
  const auto width = Number<int>(parts[4]), height = Number<int>(parts[5]);
  if (!left || !top || !width || !height || *width <= 0 || *height <= 0) return std::nullopt;
  type.left = *left;
  type.top = *top;
  type.width = *width;
  type.height = *height;
  return type;
}

}  // namespace

const std::vector<std::uint8_t>* HelpFile::Topic(const std::string& name) const {
  const auto found = topics.find(name);
  return found == topics.end() ? nullptr : &found->second;
}

Expected<HelpProject> ParseHelpProject(std::string_view text) {
  HelpProject project;
  std::string section;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    const std::string_view line = Trim(text.substr(0, newline));
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    ++lineNumber;
    if (line.empty() || line.front() == ';') continue;
    const auto bad = [&] { return Fail("help project line " + std::to_string(lineNumber) + " is malformed"); };
    if (line.front() == '[') {
      if (line.back() != ']') return bad();
      section = std::string(line.substr(1, line.size() - 2));
      continue;
    }
    const std::size_t equals = line.find('=');
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view() : Trim(line.substr(equals + 1));
    if (section != "OPTIONS" && section != "WINDOWS" && section != "MAP") continue;
    if (equals == std::string_view::npos || key.empty()) return bad();
    if (section == "OPTIONS") {
      if (key == "Title") project.title = value;
      if (key == "Default topic") project.defaultTopic = value;
    } else if (section == "WINDOWS") {
      auto type = WindowType(value);
      if (!type) return bad();
      project.windowTypes[std::string(key)] = std::move(*type);
    } else {
      const auto context = Number<std::uint32_t>(key);
      if (!context || value.empty()) return bad();
      project.contexts[*context] = value;
    }
  }
  return project;
}

Expected<HelpFile> ParseHelpFile(ByteReader bytes) {
  const auto magic = bytes.sub(0, kHelpFileMagic.size());
  if (!magic || !std::equal(kHelpFileMagic.begin(), kHelpFileMagic.end(), magic->bytes().begin())) {
    return Fail("not a help file");
  }
  const auto count = bytes.u32(kHelpFileMagic.size());
  if (!count || *count > kMaxHelpEntries) return Fail("bad help entry count");
  HelpFile file;
  bool haveProject = false;
  std::uint64_t offset = kHelpFileMagic.size() + 4;
  for (std::uint32_t i = 0; i < *count; ++i) {
    const auto nameLength = bytes.u32(offset);
    if (!nameLength || *nameLength == 0 || *nameLength > kMaxHelpNameLength) return Fail("bad help entry name");
    const auto name = bytes.sub(offset + 4, *nameLength);
    if (!name) return Fail("help entry name out of the file");
    offset += 4 + std::uint64_t{*nameLength};
    const auto dataLength = bytes.u32(offset);
    if (!dataLength || *dataLength > kMaxHelpEntryBytes) return Fail("bad help entry size");
    const auto data = bytes.sub(offset + 4, *dataLength);
    if (!data) return Fail("help entry data out of the file");
    offset += 4 + std::uint64_t{*dataLength};
    std::string key(name->bytes().begin(), name->bytes().end());
    if (key == kHelpProjectEntry) {
      const std::span<const std::uint8_t> text = data->bytes();
      auto project = ParseHelpProject(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
      if (!project) return project.error();
      file.project = std::move(*project);
      haveProject = true;
    } else {
      file.topics[std::move(key)].assign(data->bytes().begin(), data->bytes().end());
    }
  }
  if (!haveProject) return Fail("help file has no project entry");
  return file;
}

Expected<HelpFile> LoadHelpFile(const char* path) {
  auto mapping = FileMapping::Open(path);
  if (!mapping) return mapping.error();
  auto file = ParseHelpFile(ByteReader(mapping->bytes()));
  // Topics are copied out; zeros read in place of vanished pages must not be.
  if (mapping->damaged()) return Fail(std::string("help file changed while read: ") + path);
  return file;
}

std::vector<std::uint8_t> BuildHelpFile(std::span<const HelpEntry> entries) {
  std::vector<std::uint8_t> out(kHelpFileMagic.begin(), kHelpFileMagic.end());
  ByteWriter writer(out);
  writer.u32(static_cast<std::uint32_t>(entries.size()));
  for (const HelpEntry& entry : entries) {
    writer.u32(static_cast<std::uint32_t>(entry.name.size()));
    writer.bytes({reinterpret_cast<const std::uint8_t*>(entry.name.data()), entry.name.size()});
    writer.u32(static_cast<std::uint32_t>(entry.data.size())).bytes(entry.data);
  }
  return out;
}
