#pragma once
// Start-up of the support libraries. On the platform they came from, each
// library had per-process state to set up before its first use; here each
// records that it was brought up, which the libraries' own code can check.
// The program calls them first thing in InitInstance and ignores results.

#include "platform/core/win_types.h"

BOOL InitZUWinObjDLL();
BOOL InitZUUtilObjDLL();
BOOL InitZUHtmlDLL();

[[nodiscard]] bool IsZUWinObjReady();
[[nodiscard]] bool IsZUUtilObjReady();
[[nodiscard]] bool IsZUHtmlReady();
