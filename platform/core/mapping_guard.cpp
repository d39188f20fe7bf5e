#include "platform/core/mapping_guard.h"

#include <sched.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>

namespace {

// A slot is a sequence lock: its version is odd while the slot is free or
// being filled and even while it guards a mapping, so a handler that reads
// the same even version before and after reading the bounds has read the
// bounds of one live mapping. The handler only reads atomics and never
// waits, which is what a signal handler may do; the owner closing a slot
// waits for repairs in flight instead.
struct Slot {
  std::atomic<bool> claimed{false};
  std::atomic<std::uint64_t> version{1};
  std::atomic<std::uintptr_t> start{0};
  std::atomic<std::uintptr_t> end{0};
  std::atomic<int> repairs{0};
  std::atomic<bool> damaged{false};
};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<std::uint64_t>::is_always_lock_free &&
                  std::atomic<std::uintptr_t>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the signal handler may only touch lock-free atomics");

std::array<Slot, kMaxGuardedMappings> g_slots;
// Written once, before the handler is installed, and only read after.
struct sigaction g_previous {};
std::uintptr_t g_pageSize = 4096;

// Maps zeros over the page at address when it lies in a live guarded
// mapping; false when it lies in none, or in one being closed.
bool RepairPage(std::uintptr_t address) {
  for (Slot& slot : g_slots) {
    const std::uint64_t seen = slot.version.load();
    if (seen % 2 != 0) continue;
    if (address < slot.start.load() || address >= slot.end.load()) continue;
    slot.repairs.fetch_add(1);
    // Rechecked after announcing the repair: either the owner's close sees
    // the repair and waits, or this sees the close and leaves the page alone
    // (the owner is about to unmap it). Bounds read across a change may
    // have been another mapping's, so the search goes on.
    if (slot.version.load() != seen) {
      slot.repairs.fetch_sub(1);
      continue;
    }
    void* page = reinterpret_cast<void*>(address & ~(g_pageSize - 1));
    // The system call itself, not the library's mmap: a sanitizer's wrapper
    // of mmap is no place for a signal handler, and the call takes no lock
    // a reader could hold.
    const long mapped = ::syscall(SYS_mmap, page, g_pageSize, long{PROT_READ},
                                  long{MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED}, long{-1}, long{0});
    const bool repaired = mapped != -1;
    if (repaired) slot.damaged.store(true);
    slot.repairs.fetch_sub(1);
    return repaired;
  }
  return false;
}

// What would have happened without us. A fault re-executes its instruction
// when the handler returns, so restoring the default action is enough for
// it to end the process as before; a sent signal is raised again.
void PassOn(int signal, siginfo_t* info, void* context) {
  if ((g_previous.sa_flags & SA_SIGINFO) != 0) {
    if (g_previous.sa_sigaction != nullptr) g_previous.sa_sigaction(signal, info, context);
    return;
  }
  const bool sent = info == nullptr || info->si_code <= 0;
  if (g_previous.sa_handler == SIG_IGN && sent) return;
  if (g_previous.sa_handler == SIG_DFL || g_previous.sa_handler == SIG_IGN) {
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    if (sent) ::raise(signal);
    return;
  }
  g_previous.sa_handler(signal);
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  const int savedErrno = errno;
  // Only a fault the kernel raised (si_code above zero) names an address.
  const bool repaired =
      info != nullptr && info->si_code > 0 && RepairPage(reinterpret_cast<std::uintptr_t>(info->si_addr));
  errno = savedErrno;
  if (!repaired) PassOn(signal, info, context);
}

bool InstallHandler() {
  static const bool installed = [] {
    const long page = ::sysconf(_SC_PAGESIZE);
    if (page > 0) g_pageSize = static_cast<std::uintptr_t>(page);
    if (::sigaction(SIGBUS, nullptr, &g_previous) != 0) return false;
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    // SA_ONSTACK: a thread that set up an alternate signal stack (as
    // sanitizers do) handles it there.
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESTART;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGBUS, &action, nullptr) == 0;
  }();
  return installed;
}

}  // namespace

std::optional<GuardSlot> GuardMapping(const void* start, std::size_t length) {
  if (start == nullptr || length == 0 || !InstallHandler()) return std::nullopt;
  const auto first = reinterpret_cast<std::uintptr_t>(start);
  // The last page is mapped whole, past the file's last byte.
  const std::uintptr_t end = first + ((length + g_pageSize - 1) & ~(g_pageSize - 1));
  for (GuardSlot index = 0; index < g_slots.size(); ++index) {
    Slot& slot = g_slots[index];
    bool expected = false;
    if (!slot.claimed.compare_exchange_strong(expected, true)) continue;
    slot.start.store(first);
    slot.end.store(end);
    slot.damaged.store(false);
    slot.version.fetch_add(1);
    return index;
  }
  return std::nullopt;
}

void UnguardMapping(GuardSlot slot) {
  if (slot >= g_slots.size()) return;
  Slot& s = g_slots[slot];
  s.version.fetch_add(1);
  while (s.repairs.load() != 0) ::sched_yield();
  s.claimed.store(false);
}

bool GuardedMappingDamaged(GuardSlot slot) { return slot < g_slots.size() && g_slots[slot].damaged.load(); }
