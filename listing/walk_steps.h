#pragma once
// Steps the listing worker takes in both of its modes.

#include <string>
#include <string_view>

#include "mainwnd/glimra_dlg.h"
#include "platform/core/kernel_object.h"
#include "platform/core/thread_control.h"
#include "support/framework/file_name.h"

// Polls without waiting. The event resets itself, so the poll that sees a
// stop request also consumes it: a stop is seen once.
[[nodiscard]] inline bool StopRequested(HANDLE stopEvent) { return WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0; }

// A killed worker leaves at its next window call; a walk through folders
// whose files the pattern does not take makes none, so it looks here too.
inline void LeaveIfKilled() {
  if (const ThreadControl* control = ThreadControl::Current(); control != nullptr && control->IsKilled()) {
    throw ThreadKilled{};
  }
}

// The folder, a separator unless it already ends with one (an empty folder
// does not), then the name.
[[nodiscard]] inline std::string JoinToFolder(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || path.back() != kPathSeparator) path += kPathSeparator;
  path += name;
  return path;
}
