#pragma once
// What of a listing the window shows once a stop is requested. The worker
// posts each file's steps and runs a few steps ahead of the display, but a
// stop must end the listing after the file the user saw being listed, as
// if the worker had waited for each step: that file is shown completely,
// and, when it was complete already, the next one (where a worker that
// waited would then be); the steps of later files are dropped whole, so
// images, items and records still agree.

#include <atomic>
#include <climits>

class ListingDisplay {
 public:
  // On the worker: the number of the file it starts (from 1). Steps taken
  // on the user-interface thread itself carry 0 and are always shown.
  int NextFile() { return m_started.fetch_add(1) + 1; }

  // The rest on the user-interface thread only.
  // A listing begins (its worker waits meanwhile).
  void Begin();
  // Whether a step of file may be shown; the file is then the one shown.
  [[nodiscard]] bool Shows(int file);
  // file's last step has run.
  void Finished(int file);
  void StopRequested();

 private:
  std::atomic<int> m_started{0};
  int m_shown = 0;
  bool m_shownComplete = true;
  int m_lastShown = INT_MAX;
};
