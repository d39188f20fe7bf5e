#include "mainwnd/list_launch.h"

#include "mainwnd/glimra_dlg.h"
#include "platform/core/kernel_object.h"
#include "platform/core/thread_control.h"

void AcknowledgeLaunch(HANDLE startedEvent) {
  ThreadControl* control = ThreadControl::Current();
  if (control == nullptr) {
    SetEvent(startedEvent);
    return;
  }
  if (!control->RunUnlessKilled([startedEvent] { SetEvent(startedEvent); })) throw ThreadKilled{};
}

void LaunchWorker(CGlimraDlg& dlg, ZU_THREAD_ENTRY entry) {
  // A worker killed after its launcher gave up on it may have set the event
  // before its kill; that stale signal must not let this launch through
  // before its own worker has answered.
  ResetEvent(dlg.m_hStartedEvent);
  // A stop left from an earlier listing is dropped here rather than by the
  // worker: one killed at the time-out may still be running while the next
  // listing runs, and must not drop that listing's stop.
  ResetEvent(dlg.m_hStopEvent);
  HANDLE thread = nullptr;
  static_cast<void>(ZU_ThreadCreate(&thread, entry, &dlg, ZU_THREAD_LIBRARY_HANDLE));
  if (thread == nullptr) return;
  ZU_ThreadYield(ZU_ThreadSelf());
  // No message is handled between here and storing the handle: the worker's
  // first window call then completes only after the handle is stored, so
  // its finish can never clear the marker before it is set.
  if (WaitForSingleObject(dlg.m_hStartedEvent, kWorkerLaunchTimeoutMs) != WAIT_OBJECT_0) {
    static_cast<void>(ZU_ThreadKill(thread));
    return;
  }
  dlg.m_hWorkerThread = thread;
}

void CGlimraDlg::OnListIcon() {
  if (m_hWorkerThread != nullptr) {
    // While a listing runs this button is its stop button. A clearing
    // disables it, so a press cannot reach here then.
    SetEvent(m_hStopEvent);
    m_listingDisplay.StopRequested();
    return;
  }
  UpdateData(TRUE);
  LaunchWorker(*this, &CGlimraDlg::ListingThreadProc);
}

void CGlimraDlg::ClearAllIcons() {
  if (m_hWorkerThread != nullptr) return;
  LaunchWorker(*this, &CGlimraDlg::ClearThreadProc);
}
