#pragma once
// The thread library: starts the program's worker threads and ends them
// without asynchronous cancellation.
//
// Each thread carries a ThreadControl. ZU_ThreadKill marks it killed and
// releases a synchronous window call it waits in; the window layer then
// throws ThreadKilled in that thread, and the entry trampoline here catches
// it, so the thread leaves at its next window call with its stack unwound
// and no lock held. A thread killed before its entry started never runs it.
//
// Handles. A thread handle is a kernel object: WaitForSingleObject on it
// waits until the thread has left. The library owns every handle (flag
// ZU_THREAD_LIBRARY_HANDLE, the only flag); callers never CloseHandle one.
// A handle stays valid after its thread has ended, so a late ZU_ThreadKill
// or wait on it is harmless, until the next ZU_ThreadCreate, which frees
// the handles of threads that have ended by then. ZU_ThreadCreate,
// ZU_ThreadKill and waits on thread handles are therefore made from one
// thread, the user-interface thread, and a handle is not used after a
// ZU_ThreadCreate that followed its thread's end. At process exit every
// thread still running is killed and waited for briefly; none is left
// joinable.

#include "platform/core/win_types.h"

using ZU_THREAD_ENTRY = DWORD (*)(void*);

inline constexpr int ZU_THREAD_LIBRARY_HANDLE = 2;

// Starts a thread that runs entry(arg) and writes its handle to *out. FALSE,
// with *out null, when flags is not ZU_THREAD_LIBRARY_HANDLE, entry or out
// is null, or the system cannot start a thread.
BOOL ZU_ThreadCreate(HANDLE* out, ZU_THREAD_ENTRY entry, void* arg, int flags);

// The calling thread's handle, or null for a thread the library did not
// start (such as the user-interface thread). Either is what ZU_ThreadYield takes.
[[nodiscard]] HANDLE ZU_ThreadSelf();

// Gives up the rest of the caller's time slice. The argument names the
// caller, as ZU_ThreadSelf answers it.
void ZU_ThreadYield(HANDLE self);

// Marks the thread killed; it leaves at its next window call. TRUE when the
// handle is one of the library's (also when its thread has already ended).
BOOL ZU_ThreadKill(HANDLE thread);
