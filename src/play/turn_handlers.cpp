#include "play/turn_handlers.h"

#include "session/client.h"

namespace tallow {

void OnDealTiles(Client& /*c*/, const protocol::Header& /*h*/) {}

void OnTileDiscarded(Client& /*c*/, const protocol::Header& /*h*/) {}

void OnTileDrawn(Client& /*c*/, const protocol::Header& /*h*/) {}

void OnOperationResult(Client& /*c*/, const protocol::Header& /*h*/) {}

}  // namespace tallow
