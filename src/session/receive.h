// The socket's events: received bytes go into the receive ring (or the proxy ring while the
// proxy negotiation runs).
#pragma once

#include <cstdint>
#include <span>

namespace tallow {

class Client;

void OnSocketDataArrival(Client& c);
// Appends bytes as the data-arrival event does; ends the process when a ring overflows.
void AppendReceived(Client& c, std::span<const std::uint8_t> bytes);
void OnSocketClose(Client& c);
void ResetProxyRing(Client& c);

}  // namespace tallow
