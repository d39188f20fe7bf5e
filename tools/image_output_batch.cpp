#include "tools/image_output_batch.h"

#include <exception>

#include "support/icon/png_writer.h"

namespace {

// Enough images that every thread stays busy, few enough bytes that a large
// library's icons are not all held at once.
constexpr std::size_t kFlushBytes = std::size_t{16} << 20;

Expected<std::uint64_t> WriteOne(const std::string& destination, std::span<const std::uint8_t> stored,
                                 Overwrite overwrite) {
  try {
    const auto png = ImageAsPng(stored);
    if (!png) return Fail("image cannot be read: " + png.error().what);
    return WriteWholeFile(destination, {std::span<const std::uint8_t>(*png)}, overwrite);
  } catch (const std::exception& e) {
    // Out of memory, on a helper thread: this output fails, the run goes on.
    return Fail(e.what());
  }
}

}  // namespace

void ImageOutputBatch::Add(std::string destination, std::span<const std::uint8_t> stored, Overwrite overwrite) {
  m_pending.push_back(Pending{std::move(destination), {stored.begin(), stored.end()}, overwrite, std::nullopt});
  m_pendingBytes += stored.size();
  if (m_pendingBytes >= kFlushBytes) Flush();
}

void ImageOutputBatch::Flush() {
  m_pool.RunAll(m_pending.size(), [this](std::size_t i) {
    Pending& pending = m_pending[i];
    pending.result = WriteOne(pending.destination, pending.stored, pending.overwrite);
  });
  for (const Pending& pending : m_pending) m_done(pending.destination, *pending.result);
  m_pending.clear();
  m_pendingBytes = 0;
}
