// The turn messages drawn for a spectator.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void SpectatorDealTiles(Client& c, const protocol::Header& h);
void SpectatorTileDiscarded(Client& c, const protocol::Header& h);
void SpectatorTileDrawn(Client& c, const protocol::Header& h);
void SpectatorOperationResult(Client& c, const protocol::Header& h);

}  // namespace tallow
