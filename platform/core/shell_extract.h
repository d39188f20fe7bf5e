#pragma once
// The shell's icon extraction by index: icon groups of a PE file, of a 16-bit
// NE executable or icon library, or the one icon of a file whose content is
// an icon file.

#include "platform/core/win_types.h"

class ShellIconFile;

// What extraction answers for a readable file that holds no icons of any
// kind; callers must end their index loop on it and never use it as an icon.
inline HICON const EXTRACT_NOT_AN_ICON_FILE = reinterpret_cast<HICON>(static_cast<std::uintptr_t>(1));

// Index 0, 1, 2... reaches the file's icon groups; null past the last one,
// and from the first index on which the file is found cut short while read.
[[nodiscard]] HICON ExtractIconA(HINSTANCE instance, LPCSTR path, UINT index);

// The same answer from a file opened once: a caller walking every index
// reads and parses the file once instead of once per icon.
[[nodiscard]] HICON ExtractIconFromFile(const ShellIconFile& file, UINT index);
