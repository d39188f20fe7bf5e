#pragma once
// The program's compiled help file, read by the help viewer and written by
// the help compiler (help/help_compiler.cpp). No Qt here.
//
// Layout, all numbers little-endian:
//   offset 0   8 bytes  magic "GLMHELP1"
//   offset 8   u32      entry count (at most kMaxHelpEntries)
//   offset 12  entries, each: u32 name length (1..kMaxHelpNameLength), the
//              name's bytes, u32 data length (at most kMaxHelpEntryBytes),
//              the data's bytes.
// Every entry is a topic (HTML, or an image a topic shows) named by its path
// relative to the help sources, except the entry kHelpProjectEntry, the
// project text:
//   [OPTIONS]   Title=<title>   Default topic=<topic>
//   [WINDOWS]   <window type>=<title>,<default topic>,<left>,<top>,<width>,<height>
//   [MAP]       <context number, decimal or 0x hex>=<topic>
// Lines starting with ';' are comments; other sections (the sources' [FILES])
// are ignored.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/byte_reader.h"
#include "platform/core/expected.h"

// Caps, so a damaged or hostile file costs bounded time and memory: a real
// help file has tens of entries of a few kilobytes.
inline constexpr std::uint32_t kMaxHelpEntries = 4096;
inline constexpr std::uint32_t kMaxHelpNameLength = 255;
inline constexpr std::uint32_t kMaxHelpEntryBytes = 16u << 20;
inline constexpr std::string_view kHelpFileMagic = "GLMHELP1";
inline constexpr std::string_view kHelpProjectEntry = "$project";

struct HelpWindowType {
  std::string title;
  std::string defaultTopic;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct HelpProject {
  std::string title;
  std::string defaultTopic;
  std::map<std::string, HelpWindowType> windowTypes;
  std::map<std::uint32_t, std::string> contexts;
};

struct HelpFile {
  HelpProject project;
  std::map<std::string, std::vector<std::uint8_t>> topics;

  // Null when the file has no entry of that name.
  [[nodiscard]] const std::vector<std::uint8_t>* Topic(const std::string& name) const;
};

// The project text's settings; a malformed line fails with its number.
[[nodiscard]] Expected<HelpProject> ParseHelpProject(std::string_view text);
// The whole file; it must hold the project entry.
[[nodiscard]] Expected<HelpFile> ParseHelpFile(ByteReader bytes);
[[nodiscard]] Expected<HelpFile> LoadHelpFile(const char* path);

struct HelpEntry {
  std::string name;
  std::vector<std::uint8_t> data;
};
// The file bytes for these entries, in order; the inverse of ParseHelpFile.
[[nodiscard]] std::vector<std::uint8_t> BuildHelpFile(std::span<const HelpEntry> entries);
