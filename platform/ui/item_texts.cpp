#include "platform/ui/item_texts.h"

#include <cstring>

#include "platform/ui/control_support.h"

static_assert(LB_ERR == -1 && CB_ERR == -1, "both controls answer -1 for no item");

int ItemTexts::Find(int startAfter, const std::string& text, TextMatch match) const {
  if (m_count == 0) return -1;
  const int first = (startAfter < -1 || startAfter >= m_count) ? 0 : startAfter + 1;
  for (int k = 0; k < m_count; ++k) {
    const int i = (first + k) % m_count;
    const std::string item = m_textAt(i);
    if (match == TextMatch::Whole ? CompareNoCase(item, text) == 0 : StartsWithNoCase(item, text)) return i;
  }
  return -1;
}

int ItemTexts::SortedPosition(const std::string& text) const {
  int lo = 0, hi = m_count;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (CompareNoCase(m_textAt(mid), text) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

int ItemTexts::CopyOut(int index, char* buffer) const {
  if (!Valid(index) || !buffer) return -1;
  const std::string text = m_textAt(index);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size());
}

int ItemTexts::Length(int index) const { return Valid(index) ? static_cast<int>(m_textAt(index).size()) : -1; }

std::string ItemTexts::Text(int index) const { return Valid(index) ? m_textAt(index) : std::string(); }
