#pragma once
// A file path with the few questions the program asks of it: its folder,
// its extension, and a shortened form that fits a given width on screen.
// Paths are UTF-8 bytes.

#include <functional>
#include <string>
#include <string_view>

#include "platform/core/win_types.h"

class CWnd;
struct RECT;

// The platform's path separator. Every "folder that already ends with a
// separator" rule of the program tests for this character.
inline constexpr char kPathSeparator = '/';

// Answers how wide a text is on screen, in pixels.
using TextWidthFn = std::function<int(std::string_view)>;

// The text shortened to fit width pixels as measured by measure. Folder
// components are cut from the middle and replaced by "..." while the first
// component (the root, or whatever precedes the first separator) and the
// last one (the file name) are kept; when even that does not fit, the first
// component goes too, and as a last resort the end of the text is cut and
// "..." appended. Cuts never split a UTF-8 character. The answer is empty
// only when not even "..." fits.
[[nodiscard]] std::string ShortenPathToWidth(std::string_view text, int width, const TextWidthFn& measure);

class CFileName {
 public:
  CFileName() = default;
  explicit CFileName(std::string_view path) : m_strPath(path) {}
  CFileName& operator=(std::string_view path) {
    m_strPath = path;
    return *this;
  }

  [[nodiscard]] const std::string& GetPath() const { return m_strPath; }

  // The folder part: everything up to and including the last separator, so
  // "/home/a/x.ico" gives "/home/a/" and "/x.ico" gives "/". A bare name or
  // an empty path gives "" (the current folder).
  [[nodiscard]] std::string GetRoot() const;

  // TRUE when the extension of the last component (the text after its last
  // dot) equals ext, ASCII letters compared without regard to case. A name
  // without a dot has no extension and never answers TRUE.
  [[nodiscard]] BOOL ISExtension(std::string_view ext) const;

  // The path shortened to fit width pixels; see ShortenPathToWidth.
  [[nodiscard]] std::string Path2Rect(int width, const TextWidthFn& measure) const {
    return ShortenPathToWidth(m_strPath, width, measure);
  }
  // The path shortened to fit the rectangle's width in the window's font
  // (path_to_rect.cpp); empty when wnd is not a window.
  [[nodiscard]] std::string Path2Rect(CWnd* wnd, const RECT& rect) const;

 private:
  std::string m_strPath;
};
