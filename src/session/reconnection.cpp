#include "session/reconnection.h"

#include "session/client.h"

namespace tallow {

void StartReconnection(Client& /*c*/) {}

void OnReconnectResult(Client& /*c*/, const protocol::Header& /*h*/) {}

}  // namespace tallow
