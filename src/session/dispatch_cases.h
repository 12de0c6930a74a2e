// The handlers behind the dispatcher's case numbers.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

// Runs case `kase` (0..21) of the dispatcher for the current message.
void RunCase(Client& c, int kase, protocol::Header& h);

}  // namespace tallow
