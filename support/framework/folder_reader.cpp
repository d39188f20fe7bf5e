#include "support/framework/folder_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>

#include "platform/core/wildcard.h"
#include "support/framework/file_name.h"

namespace {

std::mutex g_readerMutex;
SubfolderReader g_reader;

}  // namespace

FolderEntry DescribeFolder(std::string path, std::string name) {
  FolderEntry entry;
  struct stat st {};
  // stat, not lstat: a link is judged by the folder it leads to.
  if (::stat(path.c_str(), &st) == 0) {
    entry.known = true;
    entry.dev = st.st_dev;
    entry.ino = st.st_ino;
  }
  entry.path = std::move(path);
  entry.name = std::move(name);
  return entry;
}

bool FolderNameLess(const std::string& a, const std::string& b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto fa = static_cast<unsigned char>(FoldNameCase(a[i]));
    const auto fb = static_cast<unsigned char>(FoldNameCase(b[i]));
    if (fa != fb) {
      return fa < fb;
    }
  }
  if (a.size() != b.size()) {
    return a.size() < b.size();
  }
  return a < b;
}

std::string JoinFolderPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == kPathSeparator) {
    return folder + name;
  }
  return folder + kPathSeparator + name;
}

std::vector<FolderEntry> ReadSubfoldersFromDisk(const std::string& folder, HiddenFolders hidden, std::size_t limit) {
  std::vector<FolderEntry> entries;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, std::filesystem::directory_options::skip_permission_denied, ec);
  const std::filesystem::directory_iterator end;
  for (; !ec && it != end && entries.size() < limit; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.empty() || (name.front() == '.' && hidden == HiddenFolders::kLeaveOut)) {
      continue;
    }
    std::error_code typeError;
    if (!it->is_directory(typeError)) {  // follows links
      continue;
    }
    std::string path = JoinFolderPath(folder, name);
    entries.push_back(DescribeFolder(std::move(path), std::move(name)));
  }
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return FolderNameLess(a.name, b.name); });
  return entries;
}

void ReplaceSubfolderReader(SubfolderReader reader) {
  std::lock_guard lock(g_readerMutex);
  g_reader = std::move(reader);
}

SubfolderReader CurrentSubfolderReader() {
  std::lock_guard lock(g_readerMutex);
  if (g_reader) {
    return g_reader;
  }
  return ReadSubfoldersFromDisk;
}
