// Re-establishing a connection lost during a hand.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void StartReconnection(Client& c);
void OnReconnectResult(Client& c, const protocol::Header& h);

}  // namespace tallow
