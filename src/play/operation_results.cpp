#include "play/operation_results.h"

#include "session/client.h"

namespace tallow {

void OnDragonSetsShown(Client& /*c*/, const protocol::Header& /*h*/) {}

void OnTilesRevealed(Client& /*c*/, const protocol::Header& /*h*/) {}

}  // namespace tallow
