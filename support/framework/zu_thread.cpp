#include "support/framework/zu_thread.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/core/kernel_object.h"
#include "platform/core/thread_control.h"

namespace {

class ThreadObject;
thread_local ThreadObject* t_self = nullptr;

class ThreadObject final : public KernelObject {
 public:
  ThreadObject(ZU_THREAD_ENTRY entry, void* arg) : m_entry(entry), m_arg(arg) {}

  [[nodiscard]] bool Start() {
    try {
      m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
      return false;
    }
    return true;
  }

  DWORD Wait(DWORD ms) override {
    std::unique_lock lock(m_mutex);
    const auto left = [this] { return m_left; };
    if (ms == INFINITE) {
      m_cv.wait(lock, left);
    } else if (!m_cv.wait_for(lock, std::chrono::milliseconds(ms), left)) {
      return WAIT_TIMEOUT;
    }
    return WAIT_OBJECT_0;
  }

  [[nodiscard]] bool HasLeft() {
    std::lock_guard lock(m_mutex);
    return m_left;
  }

  void Kill() { m_control.Kill(); }

  void Join() {
    if (m_thread.joinable()) m_thread.join();
  }
  void Detach() {
    if (m_thread.joinable()) m_thread.detach();
  }

 private:
  void Run() {
    t_self = this;
    ThreadControl::SetCurrent(&m_control);
    if (!m_control.IsKilled()) {
      try {
        static_cast<void>(m_entry(m_arg));
      } catch (const ThreadKilled&) {
        // Killed inside a window call: leaving now is the whole point.
      }
    }
    ThreadControl::SetCurrent(nullptr);
    t_self = nullptr;
    {
      std::lock_guard lock(m_mutex);
      m_left = true;
    }
    m_cv.notify_all();
  }

  ZU_THREAD_ENTRY m_entry;
  void* m_arg;
  ThreadControl m_control;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_left = false;
  std::thread m_thread;
};

// Every thread object the library has handed out and not yet freed.
class ThreadRegistry {
 public:
  // How long process exit waits for each thread that is still running.
  static constexpr DWORD kExitWaitMs = 2000;

  ~ThreadRegistry() {
    std::lock_guard lock(m_mutex);
    for (auto& thread : m_threads) thread->Kill();
    for (auto& thread : m_threads) {
      if (thread->Wait(kExitWaitMs) == WAIT_OBJECT_0) {
        thread->Join();
      } else {
        // Stuck outside any window call (say, in a slow read): it may still
        // touch its object, so the object is left to the process's end.
        thread->Detach();
        static_cast<void>(thread.release());
      }
    }
  }

  void Add(std::unique_ptr<ThreadObject> thread) {
    std::lock_guard lock(m_mutex);
    m_threads.push_back(std::move(thread));
  }

  void FreeEnded() {
    std::lock_guard lock(m_mutex);
    std::erase_if(m_threads, [](const std::unique_ptr<ThreadObject>& thread) {
      if (!thread->HasLeft()) return false;
      thread->Join();
      return true;
    });
  }

  [[nodiscard]] ThreadObject* Find(HANDLE handle) {
    std::lock_guard lock(m_mutex);
    for (auto& thread : m_threads) {
      if (thread.get() == handle) return thread.get();
    }
    return nullptr;
  }

 private:
  std::mutex m_mutex;
  std::vector<std::unique_ptr<ThreadObject>> m_threads;
};

ThreadRegistry& Registry() {
  static ThreadRegistry registry;
  return registry;
}

}  // namespace

BOOL ZU_ThreadCreate(HANDLE* out, ZU_THREAD_ENTRY entry, void* arg, int flags) {
  if (out == nullptr) return FALSE;
  *out = nullptr;
  if (entry == nullptr || flags != ZU_THREAD_LIBRARY_HANDLE) return FALSE;
  ThreadRegistry& registry = Registry();
  registry.FreeEnded();
  auto thread = std::make_unique<ThreadObject>(entry, arg);
  ThreadObject* raw = thread.get();
  if (!raw->Start()) return FALSE;
  registry.Add(std::move(thread));
  *out = raw;
  return TRUE;
}

HANDLE ZU_ThreadSelf() { return t_self; }

void ZU_ThreadYield(HANDLE) { std::this_thread::yield(); }

BOOL ZU_ThreadKill(HANDLE thread) {
  ThreadObject* object = Registry().Find(thread);
  if (object == nullptr) return FALSE;
  object->Kill();
  return TRUE;
}
