// Timers, waits and randomness on the Qt event loop.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "platform/platform.h"

namespace tallow::platform::qt {

// A repeating QTimer. It runs while it is enabled and its interval is above 0; changing the
// interval of a running timer starts its period afresh. A tick never nests inside itself.
class QtTimer : public ITimer {
 public:
  explicit QtTimer(std::string name);
  void SetInterval(int ms) override;
  int Interval() const override { return interval_; }
  void SetEnabled(bool on) override;
  bool Enabled() const override { return enabled_; }
  const std::string& Name() const { return name_; }

 private:
  void Apply();
  void Tick();

  std::string name_;
  QTimer timer_;
  int interval_ = 0;
  bool enabled_ = false;
  bool ticking_ = false;
};

class QtClock : public IClock {
 public:
  QtClock();
  double SecondsSinceMidnight() override;
  // Paints every visible form view at once, then blocks without handling any event.
  void Sleep(int ms) override;
  // Handles what is pending; when nothing is, waits for an event at most a few milliseconds,
  // so that a waiting loop does not spin the processor.
  void PumpEvents() override;
  double Random() override;
  std::unique_ptr<ITimer> CreateTimer(const std::string& name) override;

 private:
  QTimer wake_;
  std::mt19937_64 rng_;
};

}  // namespace tallow::platform::qt
