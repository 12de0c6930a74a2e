#include "shell/frame.h"

#include "session/client.h"

namespace tallow {

void ApplySkinnedFrame(Client& /*c*/) {}

}  // namespace tallow
