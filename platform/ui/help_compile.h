#pragma once
// Compiles help sources into the bytes of a help file (help_file.h): the
// project file, whose [FILES] section names the entries, read from the
// topics/ folder beside it. Fails, naming the fault, when the project is
// malformed, a file is missing, or a window type, the default topic or a
// context number points at a topic that is not there, so a broken help
// file never reaches the program. The build runs it through
// help/help_compiler.cpp; tests run it on the real sources.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/expected.h"

[[nodiscard]] Expected<std::vector<std::uint8_t>> CompileHelpProject(const std::string& projectPath);
