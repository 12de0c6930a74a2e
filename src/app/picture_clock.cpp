#include "app/picture_clock.h"

namespace tallow::picture {
namespace {

// Keeps what the client sets, and never ticks.
class StillTimer : public platform::ITimer {
 public:
  void SetInterval(int ms) override { interval_ = ms; }
  int Interval() const override { return interval_; }
  void SetEnabled(bool on) override { enabled_ = on; }
  bool Enabled() const override { return enabled_; }

 private:
  int interval_ = 0;
  bool enabled_ = false;
};

}  // namespace

double StepClock::SecondsSinceMidnight() {
  return static_cast<double>(now_ % (86400LL * 1000)) / 1000.0;
}

std::unique_ptr<platform::ITimer> StepClock::CreateTimer(const std::string& /*name*/) {
  return std::make_unique<StillTimer>();
}

}  // namespace tallow::picture
