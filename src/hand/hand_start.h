// The start of a hand: dealer, dice and wall.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void OnNewHand(Client& c, const protocol::Header& h);

}  // namespace tallow
