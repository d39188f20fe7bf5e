#pragma once
// Where the files installed with the program are found: the program's own
// folder first (a build tree runs the program from its output folder), then
// the data folder of an installed copy, first as seen from the program's
// folder (so a copy installed under any prefix finds its own), then where
// the build meant to install it. GLIMRA_PROGRAM_DIR, when set,
// replaces both, so a test can run the program against a folder it built.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The folders searched, in order; empty entries are never returned.
[[nodiscard]] std::vector<std::string> InstallFolders();
// The full path of a regular file of that name in the first folder holding
// one; nullopt when no folder does.
[[nodiscard]] std::optional<std::string> FindInstalledFile(std::string_view name);
