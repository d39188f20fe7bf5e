#pragma once
// A file mapped read-only into memory. Only the pages a reader touches are
// ever read from disk, which is what lets a listing pass over large
// libraries without reading them whole. The mapping is guarded (see
// mapping_guard.h): when the file shrinks under a read, the vanished pages
// read as zeros and the mapping says it is damaged. Should every guard slot
// be taken, the file is read into memory instead, which costs its whole
// size but cannot fault.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/core/expected.h"

class FileMapping {
 public:
  // Maps a regular, non-empty file. Directories, devices, pipes, missing and
  // unreadable files fail with a reason.
  [[nodiscard]] static Expected<FileMapping> Open(const char* path);

  FileMapping(FileMapping&& other) noexcept;
  FileMapping& operator=(FileMapping&& other) noexcept;
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;
  ~FileMapping();

  [[nodiscard]] std::span<const std::uint8_t> bytes() const;

  // Whether the file was found shorter than when it was opened: some bytes
  // read as zeros that were never in it. Callers that would keep what they
  // read (a saved icon, a help file) treat the file as unreadable then.
  [[nodiscard]] bool damaged() const;

 private:
  static constexpr std::size_t kUnguarded = SIZE_MAX;

  FileMapping(void* data, std::size_t size, std::size_t guard, bool copyDamaged)
      : m_data(data), m_size(size), m_guard(guard), m_copyDamaged(copyDamaged) {}
  [[nodiscard]] static Expected<FileMapping> ReadIntoMemory(int fd, std::size_t size, const char* path);
  void Release();

  void* m_data = nullptr;
  std::size_t m_size = 0;
  std::size_t m_guard = kUnguarded;  // the guard slot; none for a copy in memory
  bool m_copyDamaged = false;        // a copy that met the file's end early
};
