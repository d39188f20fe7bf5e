#include "platform/ui/cstring.h"

#include <strings.h>
#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/ui/resources.h"

namespace {
bool IsTrimSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
std::size_t Clamp(int v, std::size_t max) {
  if (v < 0) return 0;
  return std::min(static_cast<std::size_t>(v), max);
}
}  // namespace

CString::CString(const char* text, int length) {
  if (text && length > 0) m_s.assign(text, static_cast<std::size_t>(length));
}

CString::CString(char ch, int repeat) {
  if (repeat > 0) m_s.assign(static_cast<std::size_t>(repeat), ch);
}

char CString::GetAt(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= m_s.size()) return '\0';
  return m_s[static_cast<std::size_t>(index)];
}

void CString::SetAt(int index, char ch) {
  if (index >= 0 && static_cast<std::size_t>(index) < m_s.size()) m_s[static_cast<std::size_t>(index)] = ch;
}

CString& CString::operator=(const char* text) {
  m_s = text ? text : "";
  return *this;
}
CString& CString::operator+=(const CString& other) {
  m_s += other.m_s;
  return *this;
}
CString& CString::operator+=(const char* text) {
  if (text) m_s += text;
  return *this;
}
CString& CString::operator+=(char ch) {
  m_s += ch;
  return *this;
}

int CString::Compare(const char* other) const { return std::strcmp(m_s.c_str(), other ? other : ""); }
int CString::CompareNoCase(const char* other) const { return strcasecmp(m_s.c_str(), other ? other : ""); }

CString CString::Left(int count) const { return CString(m_s.substr(0, Clamp(count, m_s.size()))); }
CString CString::Right(int count) const {
  std::size_t n = Clamp(count, m_s.size());
  return CString(m_s.substr(m_s.size() - n));
}
CString CString::Mid(int first) const { return CString(m_s.substr(Clamp(first, m_s.size()))); }
CString CString::Mid(int first, int count) const {
  std::size_t start = Clamp(first, m_s.size());
  return CString(m_s.substr(start, Clamp(count, m_s.size() - start)));
}

int CString::Find(char ch) const {
  auto p = m_s.find(ch);
  return p == std::string::npos ? -1 : static_cast<int>(p);
}
int CString::Find(const char* sub) const { return Find(sub, 0); }
int CString::Find(const char* sub, int start) const {
  if (!sub || start < 0 || static_cast<std::size_t>(start) > m_s.size()) return -1;
  auto p = m_s.find(sub, static_cast<std::size_t>(start));
  return p == std::string::npos ? -1 : static_cast<int>(p);
}
int CString::ReverseFind(char ch) const {
  auto p = m_s.rfind(ch);
  return p == std::string::npos ? -1 : static_cast<int>(p);
}
int CString::FindOneOf(const char* chars) const {
  if (!chars) return -1;
  auto p = m_s.find_first_of(chars);
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

void CString::MakeUpper() {
  for (char& c : m_s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}
void CString::MakeLower() {
  for (char& c : m_s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

void CString::TrimLeft() {
  auto it = std::find_if_not(m_s.begin(), m_s.end(), IsTrimSpace);
  m_s.erase(m_s.begin(), it);
}
void CString::TrimRight() {
  while (!m_s.empty() && IsTrimSpace(m_s.back())) m_s.pop_back();
}
void CString::TrimLeft(char ch) {
  std::size_t n = 0;
  while (n < m_s.size() && m_s[n] == ch) ++n;
  m_s.erase(0, n);
}
void CString::TrimRight(char ch) {
  while (!m_s.empty() && m_s.back() == ch) m_s.pop_back();
}

int CString::Replace(char from, char to) {
  int n = 0;
  for (char& c : m_s) {
    if (c == from) {
      c = to;
      ++n;
    }
  }
  return n;
}

int CString::Replace(const char* from, const char* to) {
  if (!from || !*from) return 0;
  std::string f(from), t(to ? to : "");
  int n = 0;
  for (std::size_t p = m_s.find(f); p != std::string::npos; p = m_s.find(f, p + t.size())) {
    m_s.replace(p, f.size(), t);
    ++n;
  }
  return n;
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (n < 0) {
    m_s.clear();
  } else {
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<std::size_t>(n));
    m_s = std::move(out);
  }
  va_end(args);
}

BOOL CString::LoadString(UINT id) {
  const char* text = FindStringResource(id);
  m_s = text ? text : "";
  return text ? TRUE : FALSE;
}

char* CString::GetBuffer(int minLength) {
  std::size_t want = minLength > 0 ? static_cast<std::size_t>(minLength) : 0;
  if (m_s.size() < want) m_s.resize(want, '\0');
  return m_s.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) {
    m_s.resize(std::strlen(m_s.c_str()));
  } else {
    m_s.resize(std::min(static_cast<std::size_t>(newLength), m_s.size()));
  }
}

char* CString::GetBufferSetLength(int length) {
  m_s.resize(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
  return m_s.data();
}
