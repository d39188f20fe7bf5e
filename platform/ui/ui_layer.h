#pragma once
// Internal to platform/ui: the layer's process-wide hooks.

// Installs, once, the key translation (accelerators, dialog keys, the
// system menu's Alt+Space, lock keys) and the idle pass on the running
// QApplication. Called by SetUiThread and when the first window is made.
void InstallUiLayerHooks();
// Something happened that may change what update handlers answer; the next
// time the event loop runs dry, an idle pass runs.
void NoteUiActivity();
// While one lives on the user-interface thread, activity comes from another
// thread's synchronous call. The platform's idle pass does not follow sent
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
