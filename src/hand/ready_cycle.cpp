#include "hand/ready_cycle.h"

#include "session/client.h"

namespace tallow {

void ContinueCountdownSecond(Client& /*c*/) {}

}  // namespace tallow
