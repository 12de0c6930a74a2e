// Login result, profiles, departures, seat events and the wild tile.
#pragma once

#include <string>

#include "protocol/record.h"

namespace tallow {

class Client;

inline constexpr const char* kLoginAcceptedLine = "连接服务器成功！";
inline constexpr const char* kWelcomeLine = "欢迎进入松竹麻将 ";
inline constexpr const char* kStartFailedLine = "启动游戏失败，请重新在大厅就座后进入游戏！";
inline constexpr const char* kVerifyFailedLine = "验证错误，请重新登陆游戏！";
inline constexpr const char* kStartsSoonLine = "游戏将在15秒内开始";
inline constexpr const char* kWatchEndedBox = "有用户退出，旁观结束！";

void OnLoginResult(Client& c, const protocol::Header& h);
void OnPlayerProfile(Client& c, const protocol::Header& h);
void OnPlayerQuit(Client& c, const protocol::Header& h);
void OnSeatEvent(Client& c, const protocol::Header& h);
// Empties the four seats' profiles (the player records' names, portraits and numbers).
void ClearSeatPanels(Client& c);
void OnWildTileSet(Client& c, const protocol::Header& h);

// Empties seat i (1..3): ready mark, portrait, labels, account and profile.
void ClearSeat(Client& c, int i);
// The current time as hour:minute:second, without leading zeros.
std::string ClockText(Client& c);

}  // namespace tallow
