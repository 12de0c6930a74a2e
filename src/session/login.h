// Connecting, sending the login and watching the link.
#pragma once

namespace tallow {

class Client;

// Points the socket at the game server, connects and arms the login slot.
void StartDirectConnect(Client& c);
// Slot 2: waits for the connection, then sends the login record.
void LoginSlot(Client& c);
// Slot 5: reacts to a lost connection.
void LinkWatchSlot(Client& c);

inline constexpr const char* kConnectTimedOutLine = "连接服务器超时，请返回大厅重新入座！";

}  // namespace tallow
