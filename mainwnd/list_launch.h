#pragma once
// The launch protocol that the listing and the clearing worker share.

#include "support/framework/zu_thread.h"

class CGlimraDlg;

// How long a launcher waits for a new worker to acknowledge its start.
inline constexpr DWORD kWorkerLaunchTimeoutMs = 500;

// Starts entry(&dlg) on a new thread and waits, without handling messages,
// for it to set the started event. The handle is stored in m_hWorkerThread
// only when it did; a worker that did not answer in time is killed and the
// window stays idle. A stop left from an earlier listing is dropped first.
// The caller has made sure that no worker runs.
void LaunchWorker(CGlimraDlg& dlg, ZU_THREAD_ENTRY entry);

// The worker's acknowledgement, its first act: sets the started event
// unless the thread was killed, in one step with the kill. A worker whose
// launcher gave up on it and killed it can then never acknowledge later,
// when the event already serves the next launch; it leaves with
// ThreadKilled instead.
void AcknowledgeLaunch(HANDLE startedEvent);
