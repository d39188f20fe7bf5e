#include "tools/task_pool.h"

#include <algorithm>

TaskPool::TaskPool(unsigned helpers) : m_helpers(helpers) {}

TaskPool::~TaskPool() {
  {
    const std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_work.notify_all();
  for (std::thread& thread : m_threads) thread.join();
}

unsigned TaskPool::DefaultHelpers() {
  const unsigned hardware = std::thread::hardware_concurrency();
  return std::min(hardware > 1 ? hardware - 1 : 0u, 7u);
}

void TaskPool::RunAll(std::size_t count, const std::function<void(std::size_t)>& task) {
  if (count == 0) return;
  // The helpers start with the first batch, so a run that never shares
  // work (an .ico extraction, say) never starts a thread.
  if (m_threads.size() < m_helpers) {
    m_threads.reserve(m_helpers);
    while (m_threads.size() < m_helpers) m_threads.emplace_back([this] { Serve(); });
  }
  {
    const std::lock_guard lock(m_mutex);
    m_task = &task;
    m_count = count;
    m_next = 0;
  }
  m_work.notify_all();
  TakeTasks();
  std::unique_lock lock(m_mutex);
  m_finished.wait(lock, [this] { return m_next >= m_count && m_running == 0; });
  m_task = nullptr;
  m_count = 0;
  m_next = 0;
}

void TaskPool::Serve() {
  for (;;) {
    {
      std::unique_lock lock(m_mutex);
      m_work.wait(lock, [this] { return m_stopping || m_next < m_count; });
      if (m_stopping) return;
    }
    TakeTasks();
  }
}

// Each index is claimed under the lock, with the task it belongs to, so a
// helper that wakes late never runs a finished batch's task.
void TaskPool::TakeTasks() noexcept {
  for (;;) {
    const std::function<void(std::size_t)>* task = nullptr;
    std::size_t index = 0;
    {
      const std::lock_guard lock(m_mutex);
      if (m_next >= m_count) return;
      index = m_next++;
      task = m_task;
      ++m_running;
    }
    (*task)(index);
    bool last = false;
    {
      const std::lock_guard lock(m_mutex);
      --m_running;
      last = m_next >= m_count && m_running == 0;
    }
    if (last) m_finished.notify_all();
  }
}
