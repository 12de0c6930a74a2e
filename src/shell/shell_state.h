// The table window's frame and keys, and the toolbar.
#pragma once

#include "platform/checked_array.h"

namespace tallow {

struct ShellState {
  bool TitleButtonsNormal = false;
  short HiddenByF1 = 0;
  CheckedArray<short, 0, 1> AltCKeys;
  bool FramePainted = false;
  short WebPanelFailed = 0;  // the web panel's page failed; never cleared
};

// Toolbar state cleared by the layout.
struct ToolbarState {
  CheckedArray<short, 0, 8> ButtonHover;
  CheckedArray<short, 0, 8> ToolbarLock;
  short HoverButton = -1;  // the button whose highlight was shown last
};

}  // namespace tallow
