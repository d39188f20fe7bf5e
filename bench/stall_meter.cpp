#include "bench/stall_meter.h"

#include <algorithm>
#include <utility>

StallMeter::StallMeter(std::function<void()> onTick) : m_onTick(std::move(onTick)) {
  // A coarse timer may fire up to 5% early or late by design; that slack
  // would read as stalls that are not there.
  m_timer.setTimerType(Qt::PreciseTimer);
  m_timer.setInterval(kTickMs);
  QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
}

void StallMeter::Start() {
  m_worstNs = 0;
  m_lastNs = 0;
  m_clock.start();
  m_timer.start();
}

void StallMeter::Stop() { m_timer.stop(); }

double StallMeter::ElapsedMs() const { return static_cast<double>(m_clock.nsecsElapsed()) / 1e6; }

void StallMeter::Tick() {
  const qint64 now = m_clock.nsecsElapsed();
  m_worstNs = std::max(m_worstNs, now - m_lastNs - qint64{kTickMs} * 1000000);
  m_lastNs = now;
  if (m_onTick) m_onTick();
}
