#include "platform/core/thread_control.h"

namespace {
thread_local ThreadControl* t_current = nullptr;
}

ThreadControl* ThreadControl::Current() { return t_current; }
void ThreadControl::SetCurrent(ThreadControl* control) { t_current = control; }

bool ThreadControl::IsKilled() const {
  std::lock_guard lock(m_mutex);
  return m_killed;
}

void ThreadControl::Kill() {
  std::function<void()> release;
  {
    std::lock_guard lock(m_mutex);
    if (m_killed) return;
    m_killed = true;
    release = std::move(m_release);
    m_release = nullptr;
  }
  if (release) release();
}

bool ThreadControl::BeginWait(std::function<void()> release) {
  std::lock_guard lock(m_mutex);
  if (m_killed) return false;
  m_release = std::move(release);
  return true;
}

void ThreadControl::EndWait() {
  std::lock_guard lock(m_mutex);
  m_release = nullptr;
}
