// Rebuilding a running hand from the server's snapshot.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void OnTableSnapshot(Client& c, const protocol::Header& h);

}  // namespace tallow
