// Taking 272-byte messages out of the receive ring and dispatching them by type.
#pragma once

namespace tallow {

class Client;

inline constexpr const char* kDisconnectedLine = "已经与服务器断开连接，请重新入座！";

// Slot 1 of the scheduler: the hall watchdog and one message out of the ring.
void ReceiveSlot(Client& c);
// Copies the record at ReceiveRead into CurrentMessage and decodes its header.
void ExtractMessage(Client& c);
// Runs the handler of the current message; a failure restores the hall and ends the process.
void DispatchMessage(Client& c);
// The case number of a message type (22: ignored), or -1 outside 1..41.
int DispatchCase(int code);

}  // namespace tallow
