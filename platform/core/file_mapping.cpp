#include "platform/core/file_mapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "platform/core/mapping_guard.h"

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  [[nodiscard]] int get() const { return m_fd; }

 private:
  int m_fd;
};

Error SystemError(const char* step, const char* path) {
  return Fail(std::string(step) + " " + path + ": " + std::strerror(errno));
}

}  // namespace

Expected<FileMapping> FileMapping::Open(const char* path) {
  if (path == nullptr || *path == '\0') return Fail("no file name");
  // O_NONBLOCK: opening a named pipe must not wait for a writer; the type
  // check below turns it away right after.
  const FileDescriptor fd(::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) return SystemError("cannot open", path);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return SystemError("cannot stat", path);
  if (!S_ISREG(st.st_mode)) return Fail(std::string("not a regular file: ") + path);
  if (st.st_size <= 0) return Fail(std::string("empty file: ") + path);
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (size > std::numeric_limits<std::size_t>::max()) return Fail(std::string("file too large: ") + path);
  const auto length = static_cast<std::size_t>(size);
  void* data = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd.get(), 0);
  if (data == MAP_FAILED) return SystemError("cannot map", path);
  const auto guard = GuardMapping(data, length);
  if (!guard) {
    ::munmap(data, length);
    return ReadIntoMemory(fd.get(), length, path);
  }
  // Resource lookups jump around the file; read-ahead would pull in pages
  // nobody asked for.
  ::madvise(data, length, MADV_RANDOM);
  return FileMapping(data, length, *guard, false);
}

Expected<FileMapping> FileMapping::ReadIntoMemory(int fd, std::size_t size, const char* path) {
  void* data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (data == MAP_FAILED) return SystemError("cannot allocate for", path);
  auto* bytes = static_cast<std::uint8_t*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, bytes + done, size - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const Error error = SystemError("cannot read", path);
      ::munmap(data, size);
      return error;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::mprotect(data, size, PROT_READ);
  // Like a guarded mapping, a file cut short reads as zeros past its new end.
  return FileMapping(data, size, kUnguarded, done < size);
}

FileMapping::FileMapping(FileMapping&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_guard(std::exchange(other.m_guard, kUnguarded)),
      m_copyDamaged(std::exchange(other.m_copyDamaged, false)) {}

FileMapping& FileMapping::operator=(FileMapping&& other) noexcept {
  if (this != &other) {
    Release();
    m_data = std::exchange(other.m_data, nullptr);
    m_size = std::exchange(other.m_size, 0);
    m_guard = std::exchange(other.m_guard, kUnguarded);
    m_copyDamaged = std::exchange(other.m_copyDamaged, false);
  }
  return *this;
}

FileMapping::~FileMapping() { Release(); }

void FileMapping::Release() {
  // The guard goes first: once it has, no repair can map a page into a
  // range that munmap has handed back to the system.
  if (m_guard != kUnguarded) UnguardMapping(m_guard);
  if (m_data != nullptr) ::munmap(m_data, m_size);
  m_data = nullptr;
  m_size = 0;
  m_guard = kUnguarded;
  m_copyDamaged = false;
}

bool FileMapping::damaged() const { return m_guard != kUnguarded ? GuardedMappingDamaged(m_guard) : m_copyDamaged; }

std::span<const std::uint8_t> FileMapping::bytes() const { return {static_cast<const std::uint8_t*>(m_data), m_size}; }
