#include "spectator/spectator_handlers.h"

#include "session/client.h"

namespace tallow {

void SpectatorDealTiles(Client& /*c*/, const protocol::Header& /*h*/) {}

void SpectatorTileDiscarded(Client& /*c*/, const protocol::Header& /*h*/) {}

void SpectatorTileDrawn(Client& /*c*/, const protocol::Header& /*h*/) {}

void SpectatorOperationResult(Client& /*c*/, const protocol::Header& /*h*/) {}

}  // namespace tallow
