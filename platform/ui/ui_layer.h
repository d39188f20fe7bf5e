#pragma once
// Internal to platform/ui: the layer's process-wide hooks.

#if defined(__SANITIZE_THREAD__)
#define GLIMRA_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define GLIMRA_THREAD_SANITIZER 1
#endif
#endif
#ifdef GLIMRA_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

// Installs, once, the key translation (accelerators, dialog keys, the
// system menu's Alt+Space, lock keys) and the idle pass on the running
// QApplication. Called by SetUiThread and when the first window is made.
void InstallUiLayerHooks();
// Something happened that may change what update handlers answer; the next
// time the event loop runs dry, an idle pass runs.
void NoteUiActivity();
// While one lives on the user-interface thread, activity comes from another
// thread's call or post. The platform's idle pass does not follow sent
// messages, only the queue running dry after posted or input messages, so
// such activity earns a deferred pass at most every kCrossThreadIdleMs
// instead of one after every call: a worker's thousands of calls would
// otherwise run the update handlers thousands of times.
inline constexpr int kCrossThreadIdleMs = 40;
class CrossThreadActivity {
 public:
  CrossThreadActivity();
  ~CrossThreadActivity();
  CrossThreadActivity(const CrossThreadActivity&) = delete;
  CrossThreadActivity& operator=(const CrossThreadActivity&) = delete;
};

// An event one thread posts is handed to the receiving thread under Qt's own
// lock, which the thread sanitizer cannot see (Qt is not instrumented): the
// poster marks the event as sent after making it, and every handler of the
// layer that may be first to read a posted event marks it received before
// reading it. Nothing in other builds.
inline void NotePostedEventSent(const void* event) {
#ifdef GLIMRA_THREAD_SANITIZER
  __tsan_release(const_cast<void*>(event));
#else
  static_cast<void>(event);
#endif
}
inline void NotePostedEventReceived(const void* event) {
#ifdef GLIMRA_THREAD_SANITIZER
  __tsan_acquire(const_cast<void*>(event));
#else
  static_cast<void>(event);
#endif
}
