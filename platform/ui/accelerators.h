#pragma once
// Accelerator tables: key combinations that become WM_COMMAND.

#include "platform/ui/cwnd.h"

struct AccelEntryValue {
  BYTE fVirt;
  WORD key;
  WORD cmd;
};

// A table from accelerator resource id; null when absent.
[[nodiscard]] HACCEL LoadAcceleratorTable(UINT resourceId);
[[nodiscard]] HACCEL CreateAcceleratorTable(const AccelEntryValue* entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
// For WM_KEYDOWN / WM_SYSKEYDOWN whose key and the current modifier state
// match an entry: sends WM_COMMAND (high word 1) to hWnd and answers TRUE.
BOOL TranslateAccelerator(HWND hWnd, HACCEL table, MSG* msg);

// The modifier keys' state as the key translation last saw it: the high
// bit set while the key is down, as the platform reports it.
[[nodiscard]] SHORT GetKeyState(int virtualKey);
void SetModifierState(bool control, bool shift, bool alt);
