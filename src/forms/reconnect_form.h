// The reconnect window frmReconnect: never shown; loaded hidden, its two timers drive the
// reconnection after a lost connection.
#pragma once

#include <memory>

#include "platform/controls.h"
#include "platform/platform.h"

namespace tallow {

class ReconnectForm : public ui::Form {
 public:
  static constexpr int kReconnectIntervalMs = 1000;
  static constexpr int kCountIntervalMs = 3000;

  ReconnectForm() : ui::Form("frmReconnect") {}
  // Created from the platform's clock when the window is loaded; empty while it is not.
  std::unique_ptr<platform::ITimer> TimerReconnect;
  std::unique_ptr<platform::ITimer> TimerCount;
  bool Loaded = false;
};

}  // namespace tallow
