#include "tests/common/file_rewriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace file_test {

namespace {

constexpr off_t kCutSize = 4096;

void WriteWhole(const std::string& path, const std::vector<std::uint8_t>& content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

}  // namespace

FileRewriter::FileRewriter(std::vector<std::string> paths, std::vector<std::uint8_t> content)
    : m_paths(std::move(paths)), m_content(std::move(content)) {
  for (const std::string& path : m_paths) WriteWhole(path, m_content);
  m_thread = std::thread([this] { Run(); });
}

FileRewriter::~FileRewriter() {
  m_stop.store(true);
  m_thread.join();
  // Readers after this one see the files whole.
  for (const std::string& path : m_paths) WriteWhole(path, m_content);
}

void FileRewriter::Run() {
  while (!m_stop.load()) {
    for (const std::string& path : m_paths) {
      if (m_stop.load()) return;
      WriteWhole(path, m_content);
      if (::truncate(path.c_str(), kCutSize) != 0) continue;
      m_passes.fetch_add(1);
    }
  }
}

}  // namespace file_test
