// Finding the local seat.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void OnSeatPlayer(Client& c, const protocol::Header& h);

}  // namespace tallow
