#pragma once
// What the folder tree reads from the file system: the subfolders of one
// folder with the identity of each (to cut loops), in the tree's name
// order. Runs on any thread.

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

enum class HiddenFolders { kLeaveOut, kShow };

struct FolderEntry {
  std::string name;  // what the tree shows
  std::string path;
  bool known = false;  // dev and ino hold the folder's identity
  dev_t dev = 0;
  ino_t ino = 0;
};

// The entry of the folder at path, its identity taken through links.
[[nodiscard]] FolderEntry DescribeFolder(std::string path, std::string name);

// Folded (ASCII) order first, bytes to break ties, as file lists sort.
[[nodiscard]] bool FolderNameLess(const std::string& a, const std::string& b);

[[nodiscard]] std::string JoinFolderPath(const std::string& folder, const std::string& name);

// The folders directly inside folder (links to folders count), sorted, at
// most limit of them; hidden ones (names starting with ".") only when
// asked. An unreadable folder has none.
[[nodiscard]] std::vector<FolderEntry> ReadSubfoldersFromDisk(const std::string& folder, HiddenFolders hidden,
                                                              std::size_t limit);

// The reader the tree uses; tests stand a slow or blocking file system in
// for the disk. An empty function puts the disk back. The tree takes the
// reader when a read starts, so a replacement reaches later reads only.
using SubfolderReader =
    std::function<std::vector<FolderEntry>(const std::string& folder, HiddenFolders hidden, std::size_t limit)>;
void ReplaceSubfolderReader(SubfolderReader reader);
[[nodiscard]] SubfolderReader CurrentSubfolderReader();
