#pragma once
// What the shell's icon extraction sees in one file: the icon groups of a PE
// module, of an NE executable or icon library, or the single group that an
// icon file's content is, whatever the file is called.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/core/file_mapping.h"
#include "platform/core/icon_directory.h"
#include "platform/core/module_icon_group.h"
#include "platform/core/ne_resources.h"
#include "platform/core/win_types.h"

enum class ShellFileKind {
  Unreadable,  // no such file, not a regular file, read error
  Module,      // loads as a PE data module
  Ne,          // 16-bit NE executable or library
  IconFile,    // content is an icon file
  NoIcons,     // readable, but none of the above
};

class ShellIconFile {
 public:
  ShellIconFile(const ShellIconFile&) = delete;
  ShellIconFile& operator=(const ShellIconFile&) = delete;
  ~ShellIconFile();

  [[nodiscard]] static std::unique_ptr<ShellIconFile> Open(LPCSTR path);
  // NE or icon-file content held in memory (no PE: modules load from paths).
  [[nodiscard]] static std::unique_ptr<ShellIconFile> FromBytes(std::vector<std::uint8_t> bytes);

  [[nodiscard]] ShellFileKind kind() const { return m_kind; }
  [[nodiscard]] std::size_t groupCount() const;
  // The images of group index (the whole icon file for index 0), with views
  // into this object's bytes or mapping: valid while it lives.
  [[nodiscard]] Expected<std::vector<IconImageBytes>> group(std::size_t index) const;
  // Whether the file was found cut short while read (see FileMapping::damaged).
  [[nodiscard]] bool damaged() const;

 private:
  ShellIconFile() = default;
  void Classify();

  ShellFileKind m_kind = ShellFileKind::Unreadable;
  HMODULE m_module = nullptr;
  std::vector<ResourceName> m_moduleGroups;
  std::optional<FileMapping> m_mapping;
  std::vector<std::uint8_t> m_owned;
  ByteReader m_bytes;
  NeResourceTable m_ne;
  std::vector<const NeResource*> m_neGroups;
};
