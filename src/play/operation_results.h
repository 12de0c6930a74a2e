// Dragon sets and revealed tiles.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void OnDragonSetsShown(Client& c, const protocol::Header& h);
void OnTilesRevealed(Client& c, const protocol::Header& h);

}  // namespace tallow
