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
  void* data = ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_PRIVATE, fd.get(), 0);
  if (data == MAP_FAILED) return SystemError("cannot map", path);
  // Resource lookups jump around the file; read-ahead would pull in pages
  // nobody asked for.
  ::madvise(data, static_cast<std::size_t>(size), MADV_RANDOM);
  return FileMapping(data, static_cast<std::size_t>(size));
}

FileMapping::FileMapping(FileMapping&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)) {}

FileMapping& FileMapping::operator=(FileMapping&& other) noexcept {
  if (this != &other) {
    Release();
    m_data = std::exchange(other.m_data, nullptr);
    m_size = std::exchange(other.m_size, 0);
  }
  return *this;
}

FileMapping::~FileMapping() { Release(); }

void FileMapping::Release() {
  if (m_data != nullptr) ::munmap(m_data, m_size);
  m_data = nullptr;
  m_size = 0;
}

std::span<const std::uint8_t> FileMapping::bytes() const {
  return {static_cast<const std::uint8_t*>(m_data), m_size};
}
