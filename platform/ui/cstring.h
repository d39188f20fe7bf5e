#pragma once
// The class library's string: bytes (UTF-8 here), with the operations the
// program uses. Converted to and from Qt only at the widget boundary.

#include <string>
#include <string_view>

#include "platform/ui/win_user.h"

class CString {
 public:
  CString() = default;
  CString(const char* text) : m_s(text ? text : "") {}  // NOLINT: implicit as in the class library
  CString(const char* text, int length);
  CString(char ch, int repeat = 1);
  CString(std::string text) : m_s(std::move(text)) {}  // NOLINT
  CString(std::string_view text) : m_s(text) {}        // NOLINT

  [[nodiscard]] int GetLength() const { return static_cast<int>(m_s.size()); }
  [[nodiscard]] BOOL IsEmpty() const { return m_s.empty() ? TRUE : FALSE; }
  void Empty() { m_s.clear(); }
  [[nodiscard]] char GetAt(int index) const;
  void SetAt(int index, char ch);
  char operator[](int index) const { return GetAt(index); }
  operator LPCTSTR() const { return m_s.c_str(); }  // NOLINT: implicit as in the class library
  [[nodiscard]] const std::string& str() const { return m_s; }

  CString& operator=(const char* text);
  CString& operator+=(const CString& other);
  CString& operator+=(const char* text);
  CString& operator+=(char ch);

  [[nodiscard]] int Compare(const char* other) const;
  [[nodiscard]] int CompareNoCase(const char* other) const;
  [[nodiscard]] CString Left(int count) const;
  [[nodiscard]] CString Right(int count) const;
  [[nodiscard]] CString Mid(int first) const;
  [[nodiscard]] CString Mid(int first, int count) const;
  // -1 when absent.
  [[nodiscard]] int Find(char ch) const;
  [[nodiscard]] int Find(const char* sub) const;
  [[nodiscard]] int Find(const char* sub, int start) const;
  [[nodiscard]] int ReverseFind(char ch) const;
  [[nodiscard]] int FindOneOf(const char* chars) const;
  void MakeUpper();
  void MakeLower();
  // White space is blanks, tabs and line breaks, as the class library trims.
  void TrimLeft();
  void TrimRight();
  void TrimLeft(char ch);
  void TrimRight(char ch);
  int Replace(char from, char to);
  int Replace(const char* from, const char* to);

  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // String id from the registered string table; FALSE (and empty) when absent.
  BOOL LoadString(UINT id);

  // Writable buffer of at least minLength characters; ReleaseBuffer(-1)
  // takes the length from the first NUL.
  char* GetBuffer(int minLength);
  void ReleaseBuffer(int newLength = -1);
  char* GetBufferSetLength(int length);

  friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
  friend CString operator+(const CString& a, const char* b) { return CString(a.m_s + (b ? b : "")); }
  friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_s); }
  friend CString operator+(const CString& a, char b) { return CString(a.m_s + b); }
  friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
  friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
  friend bool operator!=(const CString& a, const CString& b) { return a.m_s != b.m_s; }
  friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

 private:
  std::string m_s;
};
