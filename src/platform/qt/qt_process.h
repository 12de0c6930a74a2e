// The process and its surroundings: application directory, screen size, the end of the process
// and the desktop's browser.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace tallow::platform::qt {

// "WIDTHxHEIGHT" (both 1..100000) as a size; nullopt for anything else.
std::optional<std::pair<int, int>> ParseScreenSize(const std::string& text);

class QtProcess : public IProcess {
 public:
  // $TALLOW_APP_DIR when set, else the directory of the executable.
  std::string AppPath() const override;
  // The primary screen, or $TALLOW_SCREEN=WIDTHxHEIGHT when set (for trying both layouts).
  int ScreenWidth() const override { return ScreenSize().first; }
  int ScreenHeight() const override { return ScreenSize().second; }
  // The lock of the application directory (see instance_lock.h).
  bool AcquireInstanceLock() override;
  // Runs the exit hooks, flushes and exits at once: no unwinding, no further events.
  [[noreturn]] void EndProcess(int code, const std::string& reason) override;
  void OpenUrl(const std::string& url) override;

 private:
  std::pair<int, int> ScreenSize() const;
};

}  // namespace tallow::platform::qt
