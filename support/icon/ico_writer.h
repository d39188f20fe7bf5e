#pragma once
// Standard .ico files from an icon group: the 6-byte header, one 16-byte
// entry per image (the stored directory fields, the real byte count, a
// 32-bit offset), then every image's bytes unchanged, in group order.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/expected.h"
#include "support/icon/icon_library.h"
#include "support/icon/whole_file_writer.h"

// The .ico format counts images in 16 bits.
inline constexpr std::uint64_t kMaxIcoImages = 65535;

// The directory part (header and entries) of the file the group becomes.
// Fails for an empty or unsound group, more than kMaxIcoImages images, or a
// file whose offsets would not fit 32 bits.
[[nodiscard]] Expected<std::vector<std::uint8_t>> IcoDirectoryFor(const ICONRESOURCE* group);

// The group as a standard .ico file at path, whole or not at all: the one
// writer behind Save As (WriteIconToICOFile replaces) and the tools.
[[nodiscard]] Expected<std::uint64_t> WriteIcoFile(const ICONRESOURCE* group, const std::string& path,
                                                   Overwrite overwrite);
