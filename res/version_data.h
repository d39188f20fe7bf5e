#pragma once
// The program's version data (1.0.2.0), which the about box reads. The
// library's VersionInfo carries the version numbers and the strings; the
// rest of the version resource's fixed part is kept here beside it.

#include "support/framework/version_info.h"

[[nodiscard]] const VersionInfo& GlimraVersionInfo();

inline constexpr DWORD kVersionFileFlagsMask = 0x3F;
inline constexpr DWORD kVersionFileFlags = 0;
inline constexpr DWORD kVersionFileOS = 0x4;    // 32-bit Windows, as designed
inline constexpr DWORD kVersionFileType = 0x1;  // an application
inline constexpr WORD kVersionLanguage = 0x0409;
inline constexpr WORD kVersionCodePage = 0x04B0;
