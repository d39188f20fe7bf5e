#pragma once
// A few threads kept for a whole run, which share out a batch of
// independent tasks with the caller's thread. The tools write thousands of
// small images; threads made afresh for each file would cost more than the
// work they share. No Qt.

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TaskPool {
 public:
  // helpers: threads besides the caller's, started by the first RunAll;
  // 0 runs every task on the caller.
  explicit TaskPool(unsigned helpers = DefaultHelpers());
  ~TaskPool();
  TaskPool(const TaskPool&) = delete;
  TaskPool& operator=(const TaskPool&) = delete;

  // Calls task(i) once for every i below count, on the helpers and the
  // calling thread, and returns when every call has returned. One caller at
  // a time; a task that throws ends the program.
  void RunAll(std::size_t count, const std::function<void(std::size_t)>& task);

  // One helper fewer than the machine's hardware threads, at most 7.
  static unsigned DefaultHelpers();

 private:
  void Serve();
  void TakeTasks() noexcept;

  std::mutex m_mutex;
  std::condition_variable m_work;
  std::condition_variable m_finished;
  const std::function<void(std::size_t)>* m_task = nullptr;
  std::size_t m_count = 0;
  std::size_t m_next = 0;
  std::size_t m_running = 0;
  bool m_stopping = false;
  unsigned m_helpers;
  std::vector<std::thread> m_threads;
};
