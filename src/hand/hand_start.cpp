#include "hand/hand_start.h"

#include "session/client.h"

namespace tallow {

void OnNewHand(Client& /*c*/, const protocol::Header& /*h*/) {}

}  // namespace tallow
