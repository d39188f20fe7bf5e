#pragma once
// Internal to platform/ui: the item texts of a list box or a combo box,
// which both controls search, sort and copy out by the same rules.

#include <functional>
#include <string>
#include <utility>

enum class TextMatch { Prefix, Whole };

class ItemTexts {
 public:
  ItemTexts(int count, std::function<std::string(int index)> textAt) : m_count(count), m_textAt(std::move(textAt)) {}

  // From the item after startAfter round to the one before it (from the
  // first when startAfter is -1 or out of range): the first item whose text
  // begins with, or is, text, regardless of case. -1 (LB_ERR, CB_ERR) when
  // none matches.
  [[nodiscard]] int Find(int startAfter, const std::string& text, TextMatch match) const;
  // Where a sorted control inserts text: after every item that sorts before
  // or equal to it, regardless of case.
  [[nodiscard]] int SortedPosition(const std::string& text) const;
  // An item's text copied to a buffer the caller sized from Length: its
  // length, or -1 for an index out of range.
  [[nodiscard]] int CopyOut(int index, char* buffer) const;
  [[nodiscard]] int Length(int index) const;
  // An item's text; empty for an index out of range.
  [[nodiscard]] std::string Text(int index) const;

 private:
  [[nodiscard]] bool Valid(int index) const { return index >= 0 && index < m_count; }

  int m_count;
  std::function<std::string(int index)> m_textAt;
};
