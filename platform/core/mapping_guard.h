#pragma once
// Keeps a mapped file from killing the process when it shrinks under a read.
// Another process may truncate or rewrite a file while we read it through a
// mapping; a read of a page that no longer has file behind it raises SIGBUS.
// One process-wide handler, installed on first use, looks the faulting
// address up among the guarded mappings and, inside one, maps a page of
// zeros over the vanished page and marks that mapping damaged: the read goes
// on and sees zeros, which every parser already meets as hostile bytes.
// Faults outside our mappings go to whatever handler was there before, so a
// sanitizer or fuzzer keeps its own handling.

#include <cstddef>
#include <optional>

// Mappings guarded at once. Readers hold one or two files at a time each;
// a mapping opened while every slot is taken is not guarded (see
// FileMapping, which then reads the file into memory instead).
inline constexpr std::size_t kMaxGuardedMappings = 256;

using GuardSlot = std::size_t;

// Guards [start, start + length); nullopt when every slot is taken or the
// handler could not be installed.
[[nodiscard]] std::optional<GuardSlot> GuardMapping(const void* start, std::size_t length);

// Ends the guard. A repair of this mapping running on another thread is
// waited for, so the caller may unmap as soon as this returns.
void UnguardMapping(GuardSlot slot);

// Whether a page of the mapping vanished and was replaced by zeros.
[[nodiscard]] bool GuardedMappingDamaged(GuardSlot slot);
