#pragma once
// Allocation failure on demand, for the listing suite: the suite's program
// allocates through here, and a test may make one allocation of its own
// thread throw std::bad_alloc, as memory exhausted by a hostile file would.

#include <cstddef>

namespace failing_allocation {

// FALSE in a sanitizer's build, whose allocation functions stay its own:
// then nothing ever fails.
[[nodiscard]] bool Available();

// From now on, the count-th allocation of exactly size bytes made on this
// thread throws; the ones before it and after it do not.
void FailOnThisThread(std::size_t size, int count);
// Ends the arming; answers whether an allocation failed since it began.
[[nodiscard]] bool Disarm();

}  // namespace failing_allocation
