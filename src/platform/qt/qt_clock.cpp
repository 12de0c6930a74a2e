#include "platform/qt/qt_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTime>

#include "platform/qt/call_logic.h"
#include "platform/qt/form_view.h"

namespace tallow::platform::qt {

QtTimer::QtTimer(std::string name) : name_(std::move(name)) {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

void QtTimer::SetInterval(int ms) {
  interval_ = ms;
  Apply();
}

void QtTimer::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  Apply();
}

void QtTimer::Apply() {
  if (enabled_ && interval_ > 0) {
    timer_.start(interval_);
  } else {
    timer_.stop();
  }
}

void QtTimer::Tick() {
  if (ticking_ || !OnTick) return;
  ticking_ = true;
  CallLogic(name_.c_str(), [this] { OnTick(); });
  ticking_ = false;
}

QtClock::QtClock() : rng_(std::random_device{}()) {
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
}

double QtClock::SecondsSinceMidnight() {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void QtClock::Sleep(int ms) {
  FormView::RepaintAll();
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void QtClock::PumpEvents() {
  // Changes the logic made since the last event are painted in this pass.
  AfterLogicCall();
  wake_.start(2);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  wake_.stop();
}

double QtClock::Random() {
  // 53 random bits scaled into [0, 1): exactly representable, never 1.
  return static_cast<double>(rng_() >> 11) * 0x1.0p-53;
}

std::unique_ptr<ITimer> QtClock::CreateTimer(const std::string& name) {
  return std::make_unique<QtTimer>(name);
}

}  // namespace tallow::platform::qt
