#include "play/discards.h"

#include "session/client.h"

namespace tallow {

void BlinkLastDiscard(Client& /*c*/) {}

}  // namespace tallow
