#pragma once
// Kernel objects: auto- and manual-reset events, and the base that thread
// handles share with them, so one wait call serves both.

#include <condition_variable>
#include <mutex>

#include "platform/core/win_types.h"

class KernelObject {
 public:
  KernelObject() = default;
  KernelObject(const KernelObject&) = delete;
  KernelObject& operator=(const KernelObject&) = delete;
  virtual ~KernelObject() = default;
  // WAIT_OBJECT_0 when signalled within ms milliseconds (INFINITE waits for
  // ever), WAIT_TIMEOUT otherwise.
  virtual DWORD Wait(DWORD ms) = 0;
};

class EventObject final : public KernelObject {
 public:
  EventObject(bool manualReset, bool initialState) : m_manual(manualReset), m_signalled(initialState) {}
  void Set();
  void Reset();
  DWORD Wait(DWORD ms) override;

 private:
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_manual;
  bool m_signalled;
};

[[nodiscard]] HANDLE CreateEventA(void* security, BOOL manualReset, BOOL initialState, LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
BOOL CloseHandle(HANDLE object);
