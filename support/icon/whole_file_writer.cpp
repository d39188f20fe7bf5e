#include "support/icon/whole_file_writer.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Well below every system's IOV_MAX (1024 on Linux).
constexpr std::size_t kMaxPiecesPerCall = 512;

// All pieces in as few system calls as the kernel allows; a short write
// resumes where it stopped. errno tells why it failed.
bool WriteAll(int fd, std::vector<std::span<const std::uint8_t>> pieces) {
  std::size_t first = 0;
  while (first < pieces.size()) {
    std::vector<iovec> iov;
    for (std::size_t i = first; i < pieces.size() && iov.size() < kMaxPiecesPerCall; ++i) {
      iov.push_back(iovec{const_cast<std::uint8_t*>(pieces[i].data()), pieces[i].size()});
    }
    const ssize_t n = ::writev(fd, iov.data(), static_cast<int>(iov.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;
    if (n <= 0) return false;
    auto done = static_cast<std::size_t>(n);
    while (first < pieces.size() && done >= pieces[first].size()) {
      done -= pieces[first].size();
      ++first;
    }
    if (done > 0) pieces[first] = pieces[first].subspan(done);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A name in the destination's folder, so the final rename never crosses
// file systems; created exclusively, with the mode the user's umask gives.
int CreateTemporary(const std::string& folder, std::string& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + "/.glimra-save-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Gives the temporary file the destination's name unless that name is
// taken. renameat2 does it in one step; file systems without it get a hard
// link, which fails just as atomically on an existing name.
bool MoveWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

Error SystemFailure(int error) { return Fail(error == EEXIST ? "file exists" : std::strerror(error)); }

}  // namespace

Expected<std::uint64_t> WriteWholeFile(const std::string& path, std::vector<std::span<const std::uint8_t>> pieces,
                                       Overwrite overwrite) {
  if (path.empty()) return Fail("no file name");
  std::uint64_t total = 0;
  for (const auto& piece : pieces) total += piece.size();
  std::string temporary;
  const int fd = CreateTemporary(FolderOf(path), temporary);
  if (fd < 0) return SystemFailure(errno);
  bool ok = WriteAll(fd, std::move(pieces));
  int error = ok ? 0 : errno;
  // No fsync: the rename already keeps a failed or interrupted write from
  // replacing the destination, and flushing every saved icon to the disk
  // costs more than the whole rest of the save.
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok) {
    ok = overwrite == Overwrite::Replace ? ::rename(temporary.c_str(), path.c_str()) == 0
                                         : MoveWithoutReplacing(temporary, path);
    if (!ok) error = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return SystemFailure(error);
  }
  return total;
}
