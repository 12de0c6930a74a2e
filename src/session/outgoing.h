// Outgoing records: the packet builder, the send ring and the keep-alive.
#pragma once

#include <cstddef>

#include "protocol/record.h"

namespace tallow {

class Client;

// Builds a record from the header (and, for chat, from ChatText) and queues it.
void QueueMessage(Client& c, const protocol::Header& h);
// Builds the bytes QueueMessage would queue; false when nothing is to be sent (empty chat).
bool BuildRecord(Client& c, const protocol::Header& h, protocol::Record& out);
// Slot 0: sends one queued record while the socket is connected.
void SendSlot(Client& c);
// TimerKeepAlive: queues one keep-alive.
void KeepAliveTick(Client& c);
// Writes a record straight to the socket, bypassing the ring.
void SendDirect(Client& c, const protocol::Record& rec);

// Records queued beyond the ring's 127 wait here, in order, and move into the ring as it
// drains; past this many the newest is refused so memory stays bounded.
inline constexpr std::size_t kMaxOverflowRecords = 4096;

}  // namespace tallow
