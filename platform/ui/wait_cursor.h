#pragma once
// The wait cursor: shown over every window of the program while an object
// lives, nested as the class library nests it.

class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Whether the wait cursor is shown now (some CWaitCursor lives).
[[nodiscard]] bool IsWaitCursorShown();
