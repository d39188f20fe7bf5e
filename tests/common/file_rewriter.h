#pragma once
// Changes files under a reader, as a download or a build does: a thread
// rewrites each file in turn the way cp does (cut to nothing, then written
// again) and then cuts it to its first 4 KiB, over and over until the
// object goes. The content is all there between two passes, so a reader
// may find a file whole, shorter than its headers say, or emptied.

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace file_test {

class FileRewriter {
 public:
  // Writes content to every path once before the thread starts.
  FileRewriter(std::vector<std::string> paths, std::vector<std::uint8_t> content);
  FileRewriter(const FileRewriter&) = delete;
  FileRewriter& operator=(const FileRewriter&) = delete;
  ~FileRewriter();

  // Rewrite-and-cut passes over single files done so far.
  [[nodiscard]] std::uint64_t passes() const { return m_passes.load(); }

 private:
  void Run();

  std::vector<std::string> m_paths;
  std::vector<std::uint8_t> m_content;
  std::atomic<bool> m_stop{false};
  std::atomic<std::uint64_t> m_passes{0};
  std::thread m_thread;
};

}  // namespace file_test
