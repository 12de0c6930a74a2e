#include "hand/seating.h"

#include "session/client.h"

namespace tallow {

void OnSeatPlayer(Client& /*c*/, const protocol::Header& /*h*/) {}

void OnServerNotice(Client& /*c*/, const protocol::Header& /*h*/) {}

}  // namespace tallow
