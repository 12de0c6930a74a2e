#include "play/turn_timer.h"

#include "session/client.h"

namespace tallow {

void TurnTimerSecond(Client& /*c*/) {}

}  // namespace tallow
