#include "support/icon/ico_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <span>
#include <string>

#include "platform/core/byte_writer.h"
#include "platform/core/icon_directory.h"
#include "support/icon/icon_resource_builder.h"

namespace {

// Well below every system's IOV_MAX (1024 on Linux).
constexpr std::size_t kMaxPiecesPerCall = 512;

// All pieces in as few system calls as the kernel allows; a short write
// resumes where it stopped.
bool WriteAll(int fd, std::vector<std::span<const std::uint8_t>> pieces) {
  std::size_t first = 0;
  while (first < pieces.size()) {
    std::vector<iovec> iov;
    for (std::size_t i = first; i < pieces.size() && iov.size() < kMaxPiecesPerCall; ++i) {
      iov.push_back(iovec{const_cast<std::uint8_t*>(pieces[i].data()), pieces[i].size()});
    }
    const ssize_t n = ::writev(fd, iov.data(), static_cast<int>(iov.size()));
    if (n < 0 && errno == EINTR) continue;
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
// file systems; created exclusively, with the mode the user's umask gives
// (see KeepReplacedMode for a file that already exists).
int CreateTemporary(const std::string& folder, std::string& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + "/.glimra-save-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Saving over a file replaces it by a new one, which must not widen or
// narrow who may read it: the new file takes the mode of the one it
// replaces (its permission bits; owner and group stay the saver's).
bool KeepReplacedMode(int fd, const std::string& destination) {
  struct stat replaced {};
  if (::stat(destination.c_str(), &replaced) != 0) return errno == ENOENT;
  if (!S_ISREG(replaced.st_mode)) return true;
  return ::fchmod(fd, replaced.st_mode & 07777) == 0;
}

}  // namespace

Expected<std::vector<std::uint8_t>> IcoDirectoryFor(const ICONRESOURCE* group) {
  if (!IconResourceIsSound(group) || group->nImages == 0) return Fail("no sound icon group");
  if (group->nImages > kMaxIcoImages) return Fail("too many images for an icon file");
  std::vector<std::uint8_t> out;
  const std::uint64_t dirSize = kIconDirHeaderSize + std::uint64_t{group->nImages} * kIcoEntrySize;
  out.reserve(static_cast<std::size_t>(dirSize));
  ByteWriter writer(out);
  // nImages is at most kMaxIcoImages, checked above.
  writer.u16(0).u16(1).u16(static_cast<std::uint16_t>(group->nImages));
  std::uint64_t offset = dirSize;
  for (UINT i = 0; i < group->nImages; ++i) {
    const ICONIMAGE* image = IconImageAt(group, i);
    if (offset > UINT32_MAX) return Fail("icon file would pass 4 GiB");
    writer.u8(image->bWidth).u8(image->bHeight).u8(image->bColorCount).u8(image->bReserved);
    writer.u16(image->wPlanes).u16(image->wBitCount).u32(image->dwNumBytes).u32(static_cast<std::uint32_t>(offset));
    offset += image->dwNumBytes;
  }
  if (offset > UINT32_MAX) return Fail("icon file would pass 4 GiB");
  return out;
}

BOOL WriteIconToICOFile(const ICONRESOURCE* group, LPCSTR path) {
  if (path == nullptr || *path == '\0') return FALSE;
  const auto directory = IcoDirectoryFor(group);
  if (!directory) return FALSE;
  const std::string destination(path);
  std::string temporary;
  const int fd = CreateTemporary(FolderOf(destination), temporary);
  if (fd < 0) return FALSE;
  std::vector<std::span<const std::uint8_t>> pieces{*directory};
  for (UINT i = 0; i < group->nImages; ++i) pieces.push_back(IconImageData(IconImageAt(group, i)));
  bool ok = KeepReplacedMode(fd, destination) && WriteAll(fd, std::move(pieces));
  // No fsync: the rename already keeps a failed or interrupted write from
  // replacing the destination, and flushing every saved icon to the disk
  // costs more than the whole rest of the save.
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), destination.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return FALSE;
  }
  return TRUE;
}
