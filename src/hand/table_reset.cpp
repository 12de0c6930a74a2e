#include "hand/table_reset.h"

#include "session/client.h"

namespace tallow {

void ClearHandDisplay(Client& /*c*/) {}

void ResetTableDisplay(Client& /*c*/) {}

void ResetTableState(Client& /*c*/) {}

void ResetConnectionState(Client& /*c*/) {}

void OnPlayerReady(Client& /*c*/, const protocol::Header& /*h*/) {}

void OnTableCleared(Client& /*c*/, const protocol::Header& /*h*/) {}

}  // namespace tallow
