// Draws, deals, discards and operation results of the seat in play.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void OnDealTiles(Client& c, const protocol::Header& h);
void OnTileDiscarded(Client& c, const protocol::Header& h);
void OnTileDrawn(Client& c, const protocol::Header& h);
void OnOperationResult(Client& c, const protocol::Header& h);

}  // namespace tallow
