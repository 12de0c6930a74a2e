// The clock of the picture tool: time moves only when the client waits, so a hand that takes
// minutes at the table is played in a moment. Timers exist but never fire; the tool feeds
// every record to the client itself and runs nothing on the main timer.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "platform/platform.h"

namespace tallow::picture {

class StepClock : public platform::IClock {
 public:
  double SecondsSinceMidnight() override;
  void Sleep(int ms) override { now_ += ms; }
  // A wait hands events to the toolkit in passes; each pass takes a millisecond here.
  void PumpEvents() override { now_ += 1; }
  double Random() override { return dist_(rng_); }
  std::unique_ptr<platform::ITimer> CreateTimer(const std::string& name) override;

  std::int64_t NowMs() const { return now_; }

 private:
  std::int64_t now_ = 10LL * 3600 * 1000;  // ten in the morning
  std::mt19937 rng_{20240};
  std::uniform_real_distribution<double> dist_{0.0, 1.0};
};

}  // namespace tallow::picture
