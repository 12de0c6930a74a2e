// Modal message boxes. Where nobody can see them (the offscreen platform, or
// TALLOW_DIALOGS=stderr) the text goes to stderr and the box answers at once, so that headless
// runs never hang on a box.
#pragma once

#include "platform/platform.h"

namespace tallow::platform::qt {

class QtDialogs : public IDialogs {
 public:
  void MessageBox(const std::string& text, const std::string& title) override;
};

}  // namespace tallow::platform::qt
