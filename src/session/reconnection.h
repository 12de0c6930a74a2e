// Re-establishing a connection lost during a hand: the hidden window frmReconnect and its two
// timers, the relogin, and the server's answer.
#pragma once

#include "protocol/record.h"

namespace tallow {

class Client;

// Loads frmReconnect hidden, which starts a reconnection; nothing happens while one runs.
void StartReconnection(Client& c);
// One connection attempt with the record (always LoginRecord), turned into a relogin.
void ReconnectStep(Client& c, protocol::Record& record);
// Message type 29: the server's answer to the relogin.
void OnReconnectResult(Client& c, const protocol::Header& h);
// After message type 41 has cleared the table for a returning player: the hand stays in play
// and the toolbar as it was; the snapshots that follow restore the hand.
void AfterTableClearedOnReturn(Client& c, const protocol::Header& h);
// Stops a running reconnection and forgets it (the session is given up).
void StopReconnection(Client& c);

inline constexpr int kMaxReconnectAttempts = 16;
inline constexpr const char* kReconnectingLine = "正在重新连接服务器...";
inline constexpr const char* kReconnectAcceptedLine = "正在重连服务器，请等待...！";
inline constexpr const char* kReconnectRefusedBox = "重连服务器失败，退出后请重新入座！";
inline constexpr const char* kReconnectGaveUpBox = "重连失败，请检查您的网络！";

}  // namespace tallow
