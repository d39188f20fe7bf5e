#include "platform/core/kernel_object.h"

#include <chrono>

void EventObject::Set() {
  {
    std::lock_guard lock(m_mutex);
    m_signalled = true;
  }
  if (m_manual) {
    m_cv.notify_all();
  } else {
    m_cv.notify_one();
  }
}

void EventObject::Reset() {
  std::lock_guard lock(m_mutex);
  m_signalled = false;
}

DWORD EventObject::Wait(DWORD ms) {
  std::unique_lock lock(m_mutex);
  const auto ready = [this] { return m_signalled; };
  if (ms == 0) {
    // A poll answers from the state alone: a wait with a time-out already
    // past still sleeps in the kernel once, and a listing polls per file.
    if (!ready()) return WAIT_TIMEOUT;
  } else if (ms == INFINITE) {
    m_cv.wait(lock, ready);
  } else if (!m_cv.wait_for(lock, std::chrono::milliseconds(ms), ready)) {
    return WAIT_TIMEOUT;
  }
  // An auto-reset event lets exactly one waiter (or one poll) through.
  if (!m_manual) m_signalled = false;
  return WAIT_OBJECT_0;
}

HANDLE CreateEventA(void*, BOOL manualReset, BOOL initialState, LPCSTR) {
  return new EventObject(manualReset != FALSE, initialState != FALSE);
}

BOOL SetEvent(HANDLE event) {
  auto* e = dynamic_cast<EventObject*>(event);
  if (e == nullptr) return FALSE;
  e->Set();
  return TRUE;
}

BOOL ResetEvent(HANDLE event) {
  auto* e = dynamic_cast<EventObject*>(event);
  if (e == nullptr) return FALSE;
  e->Reset();
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
  if (object == nullptr) return WAIT_FAILED;
  return object->Wait(milliseconds);
}

BOOL CloseHandle(HANDLE object) {
  if (object == nullptr) return FALSE;
  delete object;
  return TRUE;
}
