// One seat's client: every piece of state the logic keeps, and the platform it runs on.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "hand/hand_state.h"
#include "hand/layout.h"
#include "hand/result_forms.h"
#include "platform/checked_array.h"
#include "platform/platform.h"
#include "protocol/record.h"
#include "session/exit_dialog.h"
#include "session/notice_window.h"
#include "session/players.h"
#include "session/scheduler.h"
#include "shell/main_form.h"
#include "shell/window_shell.h"
#include "table/hand_evaluation.h"
#include "table/table_state.h"

namespace tallow {

inline constexpr int kRingSize = 34816;  // 128 records of 272 bytes
inline constexpr int kProxyRingSize = 1024;

// Connection settings and session globals, filled from the command line at start-up.
struct SessionState {
  std::string UserName;
  std::string ServerHost;
  int ServerPort = 0;
  std::string RoomName;
  short ProxyKind = 0;
  std::string ProxyHost;
  int ProxyPort = 0;
  std::string ProxyUser;
  std::string ProxyPassword;
  std::uint8_t ProxyUserLength = 0;
  std::uint8_t ProxyPasswordLength = 0;
  bool RobotMode = false;
  std::string HallCaption = "锦程山庄";
  std::string RobotCaption;
  std::int32_t WatchedUserId = 0;
  protocol::Record LoginRecord{};
  bool LoginPending = false;
  short TableActive = 0;
  short FirstHandStarted = 0;
  double ScaleX = 1.0;
  double ScaleY = 1.0;
  bool Reconnected = false;
  bool WindowHooked = false;
  bool StartNotPressed = true;
  bool HandInPlay = false;  // from a hand start until its result
  short HandNumber = 0;
  bool ChatReady = true;
  bool ExitWarningShown = false;  // frmExit's warning line (Label2)
};

// The receive ring and the proxy ring.
struct ReceiveState {
  CheckedArray<std::uint8_t, 0, kRingSize - 1> ReceiveRing;
  std::int32_t ReceiveWrite = 0;
  std::int32_t ReceiveRead = 0;
  CheckedArray<std::uint8_t, 0, kProxyRingSize - 1> ProxyRing;
  std::int32_t ProxyWrite = 0;
  std::int32_t ProxyRead = 0;
  bool ProxyNegotiated = true;
  short ProxyStep = 0;

  std::int32_t Unread() const { return (ReceiveWrite - ReceiveRead + kRingSize) % kRingSize; }
};

// The send ring and the text of the next chat message.
struct SendState {
  CheckedArray<std::uint8_t, 0, kRingSize - 1> SendRing;
  std::int32_t SendWrite = 0;
  std::int32_t SendRead = 0;
  std::string ChatText;
  std::deque<protocol::Record> Overflow;  // records waiting for room in the ring

  std::int32_t Queued() const { return (SendWrite - SendRead + kRingSize) % kRingSize; }
};

// The message being handled and what the framing keeps between messages.
struct FramingState {
  protocol::Record CurrentMessage{};
  protocol::Header MessageHeader;
  std::array<std::uint8_t, 2> SessionToken{};
  CheckedArray<std::string, 0, 3> SeatNames;
  std::int32_t WatchdogCount = 0;
  std::uint64_t DispatchedCount = 0;  // messages dispatched since start-up
  // Observer called after every dispatched message (tools and tests watch the table with it).
  std::function<void()> AfterDispatch;
  short TurnTimerAllowed = 0;
  short NoticeShown = 0;
  // How long the login slot waits for the connected state before giving up.
  int ConnectWaitLimitMs = 15000;
};

// The small windows of the table.
struct Forms {
  ui::Form Talk{"Talk"};
  ui::Form huifu{"huifu"};
  InformationForm Information;
  ScoreForm Score;
  HeroForm Hero;
  ui::Form VosSet{"VosSet"};
  ExitForm frmExit;
  OtherExitForm frmOtherExit;
  ui::Form frmReconnect{"frmReconnect"};
};

class Client {
 public:
  Client(platform::Platform platform, std::string commandLine);
  ~Client();
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  platform::Platform platform;
  std::string commandLine;

  MainForm mainForm;
  std::unique_ptr<platform::ITimer> TimerBong;
  std::unique_ptr<platform::ITimer> TimerKeepAlive;
  std::unique_ptr<platform::ITimer> TimerChat;

  SessionState session;
  ReceiveState receive;
  SendState send;
  FramingState framing;
  TickScheduler scheduler;
  TableState table;
  HandEvaluation evaluation;
  HandState hand;
  ImageTables images;
  ToolbarState toolbar;
  ShellState shell;
  PlayersState players;
  Forms forms;

  // Ends the process through the platform; never returns.
  [[noreturn]] void End(const std::string& reason, int code = 0);
};

}  // namespace tallow
