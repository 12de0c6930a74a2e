#include "hand/settlement.h"

#include "session/client.h"

namespace tallow {

void OnHandResult(Client& /*c*/, const protocol::Header& /*h*/) {}

void OnSeatScore(Client& /*c*/, const protocol::Header& /*h*/) {}

}  // namespace tallow
