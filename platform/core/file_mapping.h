#pragma once
// A file mapped read-only into memory. Only the pages a reader touches are
// ever read from disk, which is what lets a listing pass over large
// libraries without reading them whole.

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

 private:
  FileMapping(void* data, std::size_t size) : m_data(data), m_size(size) {}
  void Release();

  void* m_data = nullptr;
  std::size_t m_size = 0;
};
