#pragma once
// A benchmark's temporary folder that goes when the benchmark ends, however
// it ends. A guardian process forked at creation holds the read end of a
// pipe whose write end only the benchmark holds; when the benchmark exits,
// crashes or is killed, the system closes that end, the guardian's read
// returns, and the guardian removes the folder.

#include <sys/types.h>

#include <string>

class ScratchFolder {
 public:
  // A fresh folder under the system's temporary folder, named prefix-XXXXXX;
  // path() is empty when it could not be made. Make it before the benchmark
  // starts threads: the guardian is forked from this process.
  explicit ScratchFolder(const char* prefix);
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  // Removes the folder now and lets the guardian go.
  ~ScratchFolder();

  [[nodiscard]] const std::string& path() const { return m_path; }
  // A fresh folder inside, named name-XXXXXX; empty when it could not be made.
  [[nodiscard]] std::string MakeFolder(const char* name) const;

 private:
  std::string m_path;
  int m_lifeline = -1;  // the write end; the guardian waits for it to close
  pid_t m_guardian = -1;
};
