// Clearing the table between hands and sessions.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

// Clears the per-hand bookkeeping of the playing turn and of auto-play.
void ClearTurnBookkeeping(Client& c);
void ClearHandDisplay(Client& c);
void ResetTableDisplay(Client& c);
void ResetTableState(Client& c);
void ResetConnectionState(Client& c);
void OnPlayerReady(Client& c, const protocol::Header& h);
void OnTableCleared(Client& c, const protocol::Header& h);

}  // namespace tallow
