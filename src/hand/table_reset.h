// Clearing the table between hands and sessions.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void ClearHandDisplay(Client& c);
void ResetTableDisplay(Client& c);
void ResetTableState(Client& c);
void ResetConnectionState(Client& c);
void OnPlayerReady(Client& c, const protocol::Header& h);
void OnTableCleared(Client& c, const protocol::Header& h);

}  // namespace tallow
