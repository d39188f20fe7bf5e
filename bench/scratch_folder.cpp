#include "bench/scratch_folder.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>

namespace {

std::string MakeTemporaryFolder(const std::string& pattern) {
  std::string folder = pattern + "-XXXXXX";
  return ::mkdtemp(folder.data()) != nullptr ? folder : std::string();
}

[[noreturn]] void Guard(int lifeline, const std::string& folder) {
  // Interrupting the benchmark from the terminal reaches its whole process
  // group; the guardian must outlive it to clean up.
  std::signal(SIGINT, SIG_IGN);
  std::signal(SIGTERM, SIG_IGN);
  std::signal(SIGHUP, SIG_IGN);
  // Nor may it hold the benchmark's output open for whoever reads it.
  const int nothing = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  if (nothing >= 0) {
    for (int fd = 0; fd <= 2; ++fd) ::dup2(nothing, fd);
  }
  char byte = 0;
  while (::read(lifeline, &byte, 1) < 0 && errno == EINTR) {
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  std::_Exit(0);
}

}  // namespace

ScratchFolder::ScratchFolder(const char* prefix)
    : m_path(MakeTemporaryFolder((std::filesystem::temp_directory_path() / prefix).string())) {
  if (m_path.empty()) return;
  int ends[2] = {-1, -1};
  // Close-on-exec: a program the benchmark starts must not hold the
  // lifeline open after the benchmark has gone.
  if (::pipe2(ends, O_CLOEXEC) != 0) return;
  m_guardian = ::fork();
  if (m_guardian == 0) {
    ::close(ends[1]);
    Guard(ends[0], m_path);
  }
  ::close(ends[0]);
  if (m_guardian < 0) {
    ::close(ends[1]);
    return;
  }
  m_lifeline = ends[1];
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
  if (m_lifeline >= 0) ::close(m_lifeline);
  if (m_guardian > 0) ::waitpid(m_guardian, nullptr, 0);
}

std::string ScratchFolder::MakeFolder(const char* name) const {
  if (m_path.empty()) return {};
  return MakeTemporaryFolder(m_path + "/" + name);
}
