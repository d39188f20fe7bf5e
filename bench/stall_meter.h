#pragma once
// How late the user-interface thread serves a 10 ms timer: the worst
// lateness is the longest the window could not react to the user.

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

class StallMeter {
 public:
  static constexpr int kTickMs = 10;

  // onTick runs on every tick, after the lateness has been taken.
  explicit StallMeter(std::function<void()> onTick);
  StallMeter(const StallMeter&) = delete;
  StallMeter& operator=(const StallMeter&) = delete;

  void Start();
  void Stop();
  // Since Start: milliseconds elapsed, and the worst lateness of a tick.
  [[nodiscard]] double ElapsedMs() const;
  [[nodiscard]] double WorstLatenessMs() const { return static_cast<double>(m_worstNs) / 1e6; }

 private:
  void Tick();

  QTimer m_timer;
  QElapsedTimer m_clock;
  qint64 m_lastNs = 0;
  qint64 m_worstNs = 0;
  std::function<void()> m_onTick;
};
