#pragma once
// The program's version data. res/ defines one VersionInfo and registers it
// at start-up (as it registers its resource table); the about box reads it.

#include "platform/core/win_types.h"

struct VersionInfo {
  WORD fileVersion[4];     // fixed part, e.g. {1, 0, 2, 0}
  WORD productVersion[4];  // fixed part
  // The string table (language 0x0409, code page 0x04B0); null when absent.
  const char* companyName;
  const char* fileDescription;
  const char* fileVersionText;  // "1, 0, 2, 0"
  const char* internalName;
  const char* legalCopyright;
  const char* legalTrademarks;
  const char* originalFilename;
  const char* productName;
  const char* productVersionText;
  const char* comments;
};

// Registers the program's version data (null unregisters). The data must
// outlive its registration.
void RegisterVersionInfo(const VersionInfo* info);
// The registered data, or null.
[[nodiscard]] const VersionInfo* GetVersionInfo();
// One string of the registered data by its name ("FileVersion",
// "ProductName", ...); null when absent or unknown.
[[nodiscard]] const char* QueryVersionString(const char* name);
