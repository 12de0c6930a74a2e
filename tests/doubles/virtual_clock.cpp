#include "doubles/virtual_clock.h"

#include <algorithm>

namespace tallow::testing {

class VirtualTimer : public platform::ITimer {
 public:
  VirtualTimer(VirtualClock& clock, std::shared_ptr<VirtualClock::TimerState> s)
      : clock_(clock), s_(std::move(s)) {
    s_->onTick = &OnTick;
  }
  ~VirtualTimer() override { s_->alive = false; }
  void SetInterval(int ms) override {
    s_->interval = ms;
    if (s_->enabled) s_->due = clock_.NowMs() + ms;
  }
  int Interval() const override { return s_->interval; }
  void SetEnabled(bool on) override {
    if (on && !s_->enabled) s_->due = clock_.NowMs() + s_->interval;
    s_->enabled = on;
  }
  bool Enabled() const override { return s_->enabled; }

 private:
  VirtualClock& clock_;
  std::shared_ptr<VirtualClock::TimerState> s_;
};

std::unique_ptr<platform::ITimer> VirtualClock::CreateTimer(const std::string& name) {
  auto s = std::make_shared<TimerState>();
  s->name = name;
  timers_.push_back(s);
  return std::make_unique<VirtualTimer>(*this, s);
}

void VirtualClock::RunPosted() {
  // Events posted while these run wait for the next pass, as a real event queue does.
  auto n = events_.size();
  while (n-- > 0 && !events_.empty()) {
    auto e = std::move(events_.front());
    events_.pop_front();
    e();
  }
}

bool VirtualClock::FireNextTimer(std::int64_t until) {
  std::shared_ptr<TimerState> next;
  for (auto& t : timers_) {
    if (t->alive && t->enabled && t->interval > 0 && t->due <= until &&
        (!next || t->due < next->due)) {
      next = t;
    }
  }
  if (!next) return false;
  now_ = std::max(now_, next->due);
  next->due = now_ + next->interval;
  if (next->onTick != nullptr && *next->onTick) (*next->onTick)();
  return true;
}

void VirtualClock::PumpEvents() {
  RunPosted();
  now_ += 1;  // a pass of the event loop takes a little time
  while (FireNextTimer(now_)) {
  }
  timers_.erase(
      std::remove_if(timers_.begin(), timers_.end(), [](const auto& t) { return !t->alive; }),
      timers_.end());
}

void VirtualClock::Advance(std::int64_t ms) {
  const std::int64_t target = now_ + ms;
  for (;;) {
    RunPosted();
    if (!FireNextTimer(target)) break;
  }
  RunPosted();
  now_ = std::max(now_, target);
}

bool VirtualClock::RunUntil(const std::function<bool()>& done, std::int64_t limitMs) {
  const std::int64_t end = now_ + limitMs;
  while (now_ < end) {
    if (done()) return true;
    Advance(1);
  }
  return done();
}

}  // namespace tallow::testing
