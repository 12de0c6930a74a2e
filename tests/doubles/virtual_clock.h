// Virtual time: timers, posted events, event-handling waits and blocking sleeps, all
// deterministic and far faster than real time.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tallow::testing {

class VirtualClock : public platform::IClock {
 public:
  explicit VirtualClock(std::int64_t startMs = 10 * 3600 * 1000) : now_(startMs) {}

  double SecondsSinceMidnight() override {
    return static_cast<double>(now_ % (86400 * 1000)) / 1000.0;
  }
  void Sleep(int ms) override {
    ++sleeps_;
    now_ += ms;
  }
  void PumpEvents() override;
  double Random() override { return dist_(rng_); }
  std::unique_ptr<platform::ITimer> CreateTimer(const std::string& name) override;

  // Queues an event for the next pump (socket data, hall messages, input).
  void Post(std::function<void()> event) { events_.push_back(std::move(event)); }
  // Runs posted events and due timers until `ms` of virtual time have passed.
  void Advance(std::int64_t ms);
  // Advances until the predicate holds or `limitMs` pass; returns whether it held.
  bool RunUntil(const std::function<bool()>& done, std::int64_t limitMs);

  std::int64_t NowMs() const { return now_; }
  int Sleeps() const { return sleeps_; }
  void Seed(unsigned s) { rng_.seed(s); }

  struct TimerState {
    std::string name;
    int interval = 0;
    bool enabled = false;
    std::int64_t due = 0;
    std::function<void()>* onTick = nullptr;
    bool alive = true;
  };

 private:
  friend class VirtualTimer;
  void RunPosted();
  // Fires the earliest timer due at or before `until`; false when none is due.
  bool FireNextTimer(std::int64_t until);

  std::int64_t now_;
  int sleeps_ = 0;
  std::deque<std::function<void()>> events_;
  std::vector<std::shared_ptr<TimerState>> timers_;
  std::mt19937 rng_{12345};
  std::uniform_real_distribution<double> dist_{0.0, 1.0};
};

}  // namespace tallow::testing
