#pragma once
// The platform's basic value types and handle types, as the program's code
// expects them. Handles are typed pointers to objects this layer owns, so the
// compiler keeps an icon from being passed where a module is wanted.

#include <cstddef>
#include <cstdint>

using BOOL = int;
inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;

inline constexpr UINT MAX_PATH = 260;

// Kernel objects (events, threads) share one handle type, as on the platform.
class KernelObject;
using HANDLE = KernelObject*;

// A module mapped as a data file, or the program's own instance.
struct DataModule;
using HMODULE = DataModule*;
using HINSTANCE = HMODULE;

// One resource found in a module; valid while the module stays loaded.
struct ResourceInfo;
using HRSRC = const ResourceInfo*;
using HGLOBAL = const ResourceInfo*;

// Icon objects and the bitmaps GetIconInfo hands out.
struct IconObject;
using HICON = IconObject*;
struct BitmapObject;
using HBITMAP = BitmapObject*;
using HGDIOBJ = void*;

// Resource identifiers travel as one pointer-sized value: below 0x10000 a
// number, otherwise a pointer to a NUL-terminated name.
inline bool IS_INTRESOURCE(const void* id) { return (reinterpret_cast<std::uintptr_t>(id) >> 16) == 0; }
inline LPSTR MAKEINTRESOURCEA(std::uintptr_t id) { return reinterpret_cast<LPSTR>(id & 0xFFFFu); }
inline WORD ResourceNumber(const void* id) { return static_cast<WORD>(reinterpret_cast<std::uintptr_t>(id) & 0xFFFFu); }

inline constexpr WORD RT_ICON_ID = 3;
inline constexpr WORD RT_GROUP_ICON_ID = 14;
inline LPSTR RT_ICON_TYPE() { return MAKEINTRESOURCEA(RT_ICON_ID); }
inline LPSTR RT_GROUP_ICON_TYPE() { return MAKEINTRESOURCEA(RT_GROUP_ICON_ID); }
#define RT_ICON (::RT_ICON_TYPE())
#define RT_GROUP_ICON (::RT_GROUP_ICON_TYPE())

inline constexpr DWORD LOAD_LIBRARY_AS_DATAFILE = 0x00000002;

inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
inline constexpr DWORD INFINITE = 0xFFFFFFFF;

inline constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFFu); }
inline constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFFu); }
