// The table window's load: everything the client does when it starts.
#pragma once

namespace tallow {

class Client;

inline constexpr const char* kAlreadyRunning = "松竹麻将游戏已经运行！";
inline constexpr const char* kStartFromHall = "本游戏需从游戏大厅中启动！";
inline constexpr const char* kWarningTitle = "警告";
inline constexpr const char* kConnectingLine = "正在连接服务器...";

void FormLoad(Client& c);
// The table window's unload: unhooks the hall link, stops the sound, ends the process.
[[noreturn]] void FormUnload(Client& c);

}  // namespace tallow
