#include "shell/frame.h"

#include "session/client.h"
#include "shell/window_shell.h"

namespace tallow {

void ApplySkinnedFrame(Client& c) {
  PaintFrame(c);
}

}  // namespace tallow
