#pragma once
// Icon images queued to be written as PNG files, encoded and written on a
// TaskPool's threads, and reported in the order they were queued, so the
// output a person reads is the same however many threads wrote it. No Qt.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/core/expected.h"
#include "support/icon/whole_file_writer.h"
#include "tools/task_pool.h"

// Hears each output's path and what writing it gave.
using OutputDone = std::function<void(const std::string& destination, const Expected<std::uint64_t>& result)>;

class ImageOutputBatch {
 public:
  ImageOutputBatch(TaskPool& pool, OutputDone done) : m_pool(pool), m_done(std::move(done)) {}
  // Flush before the batch goes: what is still queued then is not written.
  ~ImageOutputBatch() = default;
  ImageOutputBatch(const ImageOutputBatch&) = delete;
  ImageOutputBatch& operator=(const ImageOutputBatch&) = delete;

  // Queues a copy of one image's stored bytes, to be written as a PNG file
  // at destination; writes the queue once it holds many bytes.
  void Add(std::string destination, std::span<const std::uint8_t> stored, Overwrite overwrite);

  // Writes every queued image and reports each, in the order queued.
  void Flush();

 private:
  struct Pending {
    std::string destination;
    std::vector<std::uint8_t> stored;
    Overwrite overwrite;
    std::optional<Expected<std::uint64_t>> result;
  };

  TaskPool& m_pool;
  OutputDone m_done;
  std::vector<Pending> m_pending;
  std::size_t m_pendingBytes = 0;
};
