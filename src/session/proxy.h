// SOCKS5 negotiation through a proxy.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

void StartProxy(Client& c);
void ProxyReply(Client& c);

}  // namespace tallow
