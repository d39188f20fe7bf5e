#include "platform/core/install_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>

namespace {

std::string ExecutableFolder() {
  std::array<char, 4096> buffer{};
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  std::string path(buffer.data(), static_cast<std::size_t>(length));
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash == 0 ? 1 : slash);
}

std::string Join(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::vector<std::string> InstallFolders() {
  std::vector<std::string> folders;
  if (const char* override = std::getenv("GLIMRA_PROGRAM_DIR")) {
    if (*override != '\0') folders.emplace_back(override);
    return folders;
  }
  if (std::string own = ExecutableFolder(); !own.empty()) {
#ifdef GLIMRA_DATA_FROM_BIN
    folders.push_back(Join(own, GLIMRA_DATA_FROM_BIN));
#endif
    folders.insert(folders.begin(), std::move(own));
  }
#ifdef GLIMRA_DATA_DIR
  folders.emplace_back(GLIMRA_DATA_DIR);
#endif
  return folders;
}

std::optional<std::string> FindInstalledFile(std::string_view name) {
  if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
  for (const std::string& folder : InstallFolders()) {
    std::string path = Join(folder, name);
    if (IsRegularFile(path)) return path;
  }
  return std::nullopt;
}
