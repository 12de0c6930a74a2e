// Helpers of the Qt platform tests: waiting on the event loop with a deadline.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <functional>

namespace tallow::platform::qt::test {

// Handles events until the condition holds or the time is up; returns the condition.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// Handles events for a while.
inline void PumpFor(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace tallow::platform::qt::test
