// Finding the local seat and the server notice.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void OnSeatPlayer(Client& c, const protocol::Header& h);
void OnServerNotice(Client& c, const protocol::Header& h);

}  // namespace tallow
