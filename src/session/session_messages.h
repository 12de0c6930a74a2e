// Login result, profiles, departures, seat events and the wild tile.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void OnLoginResult(Client& c, const protocol::Header& h);
void OnPlayerProfile(Client& c, const protocol::Header& h);
void OnPlayerQuit(Client& c, const protocol::Header& h);
void OnSeatEvent(Client& c, const protocol::Header& h);
// Empties the four seats' portraits, labels and profiles.
void ClearSeatPanels(Client& c);
void OnWildTileSet(Client& c, const protocol::Header& h);

}  // namespace tallow
