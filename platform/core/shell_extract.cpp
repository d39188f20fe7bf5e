#include "platform/core/shell_extract.h"

#include "platform/core/shell_icon_file.h"

HICON ExtractIconA(HINSTANCE, LPCSTR path, UINT index) {
  const auto file = ShellIconFile::Open(path);
  if (file->kind() == ShellFileKind::Unreadable) return nullptr;
  if (file->kind() == ShellFileKind::NoIcons) return EXTRACT_NOT_AN_ICON_FILE;
  const auto images = file->group(index);
  if (!images) return nullptr;
  const auto pick = PickDefaultImage(*images);
  if (!pick) return nullptr;
  return CreateDefaultSizeIcon((*images)[*pick].bytes);
}
