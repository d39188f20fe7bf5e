#pragma once
// How a file is read for icons, decided in one place for the window and
// every command-line tool:
//  - a name whose extension is "ico" (any letter case) is read as an icon
//    file and only as one, whatever it holds;
//  - else a file that loads as a data module gives its icon groups, in
//    enumeration order, by number or name;
//  - else the shell's extraction counts icons by index (NE programs and
//    libraries, icon files under another name).
// No Qt: the tools and the fuzz targets link this without the window.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/data_module.h"
#include "platform/core/module_icon_group.h"
#include "platform/core/shell_icon_file.h"
#include "platform/core/win_types.h"
#include "support/icon/icon_library.h"

enum class ListingWay { IconFile, Module, Extract };

// The last index the extraction is asked for: indices travel as
// identifiers, which are numbers only below 0x10000, and no file format we
// read reaches that many icons.
inline constexpr UINT kMaxExtractIndex = 0xFFFF;

// One icon of a file: a module's group by number or by name, or an index of
// the extraction (an icon file's one icon is index 0).
struct IconKey {
  enum class Kind { Id, Name, Index };
  Kind kind = Kind::Index;
  unsigned number = 0;  // Id and Index
  std::string name;     // Name, as the enumeration gives it (UTF-8 bytes)

  // "id=N", "name=S" or "index=N", as listings print it.
  [[nodiscard]] std::string Label() const;
};

// The key of a module's group from its enumerated name.
[[nodiscard]] IconKey IconKeyOf(const ResourceName& name);

// Whether the name's extension is "ico", in any letter case.
[[nodiscard]] bool HasIcoExtension(const std::string& path);

// Why a file cannot be read at all ("cannot open: <reason>", "not a regular
// file"), or nothing when it opens as a regular file. Empty files are
// readable: they just hold no icons.
[[nodiscard]] std::optional<std::string> FileReadProblem(const char* path);

class IconSource {
 public:
  // Decides the way; a module stays mapped while this object lives.
  explicit IconSource(LPCSTR path);
  IconSource(const IconSource&) = delete;
  IconSource& operator=(const IconSource&) = delete;
  ~IconSource();

  [[nodiscard]] ListingWay way() const { return m_way; }
  // The data module for ListingWay::Module; null otherwise.
  [[nodiscard]] HMODULE module() const { return m_module.get(); }
  // The file as the extraction reads it, for ListingWay::Extract; null
  // otherwise.
  [[nodiscard]] const ShellIconFile* shellFile() const { return m_shellFile.get(); }
  [[nodiscard]] const std::string& path() const { return m_path; }

  // Every icon in listing order: what the window lists for this file. An
  // icon file's one icon is there only when the file reads as an icon file;
  // the extraction stops at the first index that gives no icon. At most
  // limit keys: the extraction decodes each icon to know it is there.
  [[nodiscard]] std::vector<IconKey> Icons(std::size_t limit = SIZE_MAX) const;

  // The icon's whole group, as Save As reads it; null when it cannot be built.
  [[nodiscard]] UniqueIconResource Group(const IconKey& key) const;

  // The icon a 32x32 load gives, as the listing shows it; owned by the caller.
  [[nodiscard]] HICON PickedIcon(const IconKey& key) const;

 private:
  std::string m_path;
  ListingWay m_way = ListingWay::Extract;
  UniqueModule m_module;
  // For ListingWay::Extract: the file read and parsed once for all its
  // indices, so a library of thousands of icons is not opened per icon.
  std::unique_ptr<ShellIconFile> m_shellFile;
};
