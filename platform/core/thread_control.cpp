#include "platform/core/thread_control.h"

namespace {
thread_local ThreadControl* t_current = nullptr;
}

ThreadControl* ThreadControl::Current() { return t_current; }
void ThreadControl::SetCurrent(ThreadControl* control) { t_current = control; }

bool ThreadControl::IsKilled() const {
  std::lock_guard lock(m_mutex);
  return m_killedMark->load();
}

void ThreadControl::Kill() {
  std::function<void()> release;
  {
    std::lock_guard lock(m_mutex);
    if (m_killedMark->load()) return;
    m_killedMark->store(true);
    release = std::move(m_release);
    m_release = nullptr;
    m_releasing = static_cast<bool>(release);
  }
  if (!release) return;
  // Run outside the lock: the release wakes the waiter, which may call
  // EndWait at once.
  release();
  {
    std::lock_guard lock(m_mutex);
    m_releasing = false;
  }
  m_releaseDone.notify_all();
}

bool ThreadControl::RunUnlessKilled(const std::function<void()>& step) {
  std::lock_guard lock(m_mutex);
  if (m_killedMark->load()) return false;
  step();
  return true;
}

bool ThreadControl::BeginWait(std::function<void()> release) {
  std::lock_guard lock(m_mutex);
  if (m_killedMark->load()) return false;
  m_release = std::move(release);
  return true;
}

void ThreadControl::EndWait() {
  std::unique_lock lock(m_mutex);
  m_releaseDone.wait(lock, [this] { return !m_releasing; });
  m_release = nullptr;
}
