#pragma once
// The listing's work on every file under a folder, without windows: what the
// program does per file and per icon, so that a run of the program can be
// compared with the engine alone over the same files.

#include <cstddef>
#include <string>
#include <vector>

struct ListingCounts {
  std::size_t files = 0;
  std::size_t modules = 0;  // files that loaded as data modules
  std::size_t icons = 0;    // icons whose 32x32 image was made
};

// Every regular file under root, recursively, sorted.
[[nodiscard]] std::vector<std::string> FilesUnder(const std::string& root);

// Per file, chosen as the listing chooses: an "ico" extension reads the
// file's first image, else a data module gives each icon group's 32x32 icon,
// else shell extraction by index. Each icon is scaled to the 32x32 image the
// list stores, then released.
[[nodiscard]] ListingCounts ListLikeTheProgram(const std::vector<std::string>& files);
