#include "listing/listing_display.h"

void ListingDisplay::Begin() {
  m_started.store(0);
  m_shown = 0;
  m_shownComplete = true;
  m_lastShown = INT_MAX;
}

bool ListingDisplay::Shows(int file) {
  if (file == 0) return true;
  if (file > m_lastShown) return false;
  if (file != m_shown) {
    m_shown = file;
    m_shownComplete = false;
  }
  return true;
}

void ListingDisplay::Finished(int file) {
  if (file != 0 && file == m_shown) m_shownComplete = true;
}

void ListingDisplay::StopRequested() {
  // Only the first request counts: the listing already ends there.
  if (m_lastShown != INT_MAX) return;
  m_lastShown = m_shownComplete ? m_shown + 1 : m_shown;
}
