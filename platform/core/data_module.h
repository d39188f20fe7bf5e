#pragma once
// Modules loaded as data files: a PE32 or PE32+ image mapped read-only, its
// resource directory walked with hard caps, never any of its code run.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/core/byte_reader.h"
#include "platform/core/unique_handle.h"
#include "platform/core/win_types.h"

// The program's own instance handle: a non-null value that is no data module.
// Shell extraction accepts it and ignores it, as the platform does.
HINSTANCE GetModuleHandleA(LPCSTR name);

// Succeeds only for LOAD_LIBRARY_AS_DATAFILE and a PE32/PE32+ image of any
// machine type; null for NE, plain MZ, truncated headers, directories and
// unreadable or vanished files.
[[nodiscard]] HMODULE LoadLibraryExA(LPCSTR path, HANDLE file, DWORD flags);
// The same over bytes the caller keeps alive and unchanged until FreeLibrary.
[[nodiscard]] HMODULE LoadDataModuleFromBytes(std::span<const std::uint8_t> bytes);
BOOL FreeLibrary(HMODULE module);
// A data module that is freed when its owner goes.
using UniqueModule = UniqueHandle<HMODULE, FreeLibrary>;

using ENUMRESNAMEPROCA = BOOL (*)(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR param);

// Calls proc once per resource name of the type, in the directory's stored
// order (named entries, then numbered ones); a number is passed as itself
// (below 0x10000), a name as a NUL-terminated UTF-8 string that lives for the
// call. Stops when proc returns FALSE. TRUE when every name was reported;
// FALSE when the type is absent or proc stopped the walk, as the platform
// answers since it began reporting user stops. A name whose entry is
// damaged (no subdirectory below it, a name string out of range, too long
// or holding a NUL) is skipped.
BOOL EnumResourceNamesA(HMODULE module, LPCSTR type, ENUMRESNAMEPROCA proc, LONG_PTR param);

// The first language entry of (type, name); null when absent or out of the file.
[[nodiscard]] HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
[[nodiscard]] HGLOBAL LoadResource(HMODULE module, HRSRC resource);
DWORD SizeofResource(HMODULE module, HRSRC resource);
[[nodiscard]] LPCVOID LockResource(HGLOBAL resource);

// The checked way to read a found resource: its bytes as a bounded view of
// the mapping, valid while the module stays loaded.
[[nodiscard]] std::optional<ByteReader> ResourceBytes(HMODULE module, HRSRC resource);

// Whether a handle is a loaded data module (and not the program's instance).
[[nodiscard]] bool IsDataModule(HMODULE module);

// Whether the module's file was found shorter than when it was loaded, so
// that some of what was read from it are zeros it never held (see
// FileMapping::damaged). False for modules over borrowed bytes.
[[nodiscard]] bool IsDamagedModule(HMODULE module);
