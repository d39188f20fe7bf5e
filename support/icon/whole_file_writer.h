#pragma once
// Writing a file whole or not at all: the bytes go to a temporary file in
// the destination's folder, which then takes the destination's name in one
// step. A full disk, a read-only folder or an interrupted run leaves no
// partial file under the destination's name. Save As, the tools' .ico and
// PNG output and the thumbnailer all write through here.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/core/expected.h"

enum class Overwrite {
  Replace,  // an existing file is replaced in one step
  Never,    // an existing file (or link, or anything else) under the name is kept
};

// The bytes written, or why nothing was ("file exists", the system's reason).
[[nodiscard]] Expected<std::uint64_t> WriteWholeFile(const std::string& path,
                                                     std::vector<std::span<const std::uint8_t>> pieces,
                                                     Overwrite overwrite);
