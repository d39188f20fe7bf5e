#include "platform/core/shell_extract.h"

#include "platform/core/icon_object.h"
#include "platform/core/shell_icon_file.h"

HICON ExtractIconA(HINSTANCE, LPCSTR path, UINT index) {
  return ExtractIconFromFile(*ShellIconFile::Open(path), index);
}

HICON ExtractIconFromFile(const ShellIconFile& file, UINT index) {
  if (file.kind() == ShellFileKind::Unreadable) return nullptr;
  if (file.kind() == ShellFileKind::NoIcons) return EXTRACT_NOT_AN_ICON_FILE;
  const auto images = file.group(index);
  if (!images) return nullptr;
  const auto pick = PickDefaultImage(*images);
  HICON icon = pick ? CreateDefaultSizeIcon((*images)[*pick].bytes) : nullptr;
  // Zeros read in place of vanished pages made this icon, not the file.
  if (icon != nullptr && file.damaged()) {
    static_cast<void>(DestroyIcon(icon));
    return nullptr;
  }
  return icon;
}
