#pragma once
// The icon library: in-memory icon groups built from .ico files, from module
// resources or from shell-extracted icons; icon handles made from them; and
// standard .ico files written from them.

#include <cstddef>

#include "platform/core/unique_handle.h"
#include "platform/core/win_types.h"

// One image of a group. The first three fields are what callers read; the
// rest belongs to the library.
struct ICONIMAGE {
  UINT nWidth;     // real width, from the image's own header
  UINT nHeight;    // real height (the DIB header's height halved)
  UINT nBitCount;  // real depth, from the DIB header or the PNG
  // Library-only: the directory entry as the source stored it, and where the
  // image's bytes are, relative to this entry.
  BYTE bWidth;
  BYTE bHeight;
  BYTE bColorCount;
  BYTE bReserved;
  WORD wPlanes;
  WORD wBitCount;
  DWORD dwDataOffset;  // from the address of this ICONIMAGE to its bytes
  DWORD dwNumBytes;
  WORD nId;
  WORD wPad;
};
static_assert(sizeof(ICONIMAGE) == 32);
static_assert(offsetof(ICONIMAGE, nWidth) == 0);
static_assert(offsetof(ICONIMAGE, nHeight) == 4);
static_assert(offsetof(ICONIMAGE, nBitCount) == 8);

struct ICONRESOURCE {
  DWORD dwBlockSize;          // library-only: size of the whole allocation
  char szIconFile[MAX_PATH];  // the .ico file it was read from; empty otherwise
  char szModule[MAX_PATH];    // the module or file it was built from
  UINT nImages;
  ICONIMAGE IconImages[1];  // nImages entries follow; reach them with IconImageAt
};
static_assert(offsetof(ICONRESOURCE, szIconFile) == 4);
static_assert(offsetof(ICONRESOURCE, szModule) == 264);
static_assert(offsetof(ICONRESOURCE, nImages) == 524);
static_assert(offsetof(ICONRESOURCE, IconImages) == 528);

// Entry i of a group (i below nImages).
[[nodiscard]] ICONIMAGE* IconImageAt(ICONRESOURCE* group, UINT index);
[[nodiscard]] const ICONIMAGE* IconImageAt(const ICONRESOURCE* group, UINT index);

[[nodiscard]] ICONRESOURCE* ReadIconFromICOFile(LPCSTR path);
[[nodiscard]] ICONRESOURCE* CreateIconFromInstance(HINSTANCE module, LPCSTR id, LPCSTR path);
[[nodiscard]] ICONRESOURCE* CreateIconFromHIcon(HINSTANCE instance, LPCSTR path, UINT index);
[[nodiscard]] HICON MakeIconFromResource(const ICONIMAGE* image);
[[nodiscard]] HICON GetIconFromInstance(HINSTANCE module, LPCSTR id);
[[nodiscard]] BOOL WriteIconToICOFile(const ICONRESOURCE* group, LPCSTR path);
BOOL ClearIconResource(ICONRESOURCE* group);
// A group that is cleared when its owner goes.
using UniqueIconResource = UniqueHandle<ICONRESOURCE*, ClearIconResource>;
