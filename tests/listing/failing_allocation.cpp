#include "tests/listing/failing_allocation.h"

#include <cstdlib>
#include <new>

// A sanitizer brings allocation functions of its own, which see what Qt's
// uninstrumented threads hand over; replacing them would hide that.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
#define GLIMRA_SANITIZED_ALLOCATION 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer) || __has_feature(address_sanitizer)
#define GLIMRA_SANITIZED_ALLOCATION 1
#endif
#endif

namespace {

// Constant-initialized: read inside operator new, also while a thread starts.
struct Arming {
  std::size_t size = 0;
  int remaining = 0;
  bool failed = false;
};
thread_local Arming t_arming;

}  // namespace

namespace failing_allocation {

bool Available() {
#ifdef GLIMRA_SANITIZED_ALLOCATION
  return false;
#else
  return true;
#endif
}

void FailOnThisThread(std::size_t size, int count) { t_arming = Arming{size, count, false}; }

bool Disarm() {
  const bool failed = t_arming.failed;
  t_arming = Arming{};
  return failed;
}

}  // namespace failing_allocation

#ifndef GLIMRA_SANITIZED_ALLOCATION
// The replaceable allocation functions; the standard library's array and
// nothrow forms call these.
void* operator new(std::size_t size) {
  if (t_arming.remaining > 0 && size == t_arming.size && --t_arming.remaining == 0) {
    t_arming.failed = true;
    throw std::bad_alloc();
  }
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t /*size*/) noexcept { std::free(block); }
#endif
