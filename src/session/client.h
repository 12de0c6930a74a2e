// One seat's client: every piece of state the logic keeps, grouped by the subsystem that owns
// it, and the platform it runs on. Only state headers are included here.
#pragma once

#include <memory>
#include <string>

#include "base/image_state.h"
#include "base/layout_state.h"
#include "base/table_state.h"
#include "chat/chat_state.h"
#include "forms/forms_state.h"
#include "hand/hand_state.h"
#include "platform/platform.h"
#include "play/play_state.h"
#include "session/players_state.h"
#include "session/scheduler_state.h"
#include "session/session_state.h"
#include "shell/main_form.h"
#include "shell/shell_state.h"
#include "sound/sound_state.h"
#include "spectator/spectator_state.h"
#include "table/evaluation_state.h"

namespace tallow {

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
  ProxyState proxy;
  ReconnectState reconnect;
  FramingState framing;
  TickScheduler scheduler;
  PlayersState players;
  LayoutState layout;
  ImageTables images;
  TableState table;
  HandEvaluation evaluation;
  HandState hand;
  PlayState play;
  SoundState sound;
  ChatState chat;
  ShellState shell;
  ToolbarState toolbar;
  SpectatorState spectator;
  Forms forms;

  // Ends the process through the platform; never returns.
  [[noreturn]] void End(const std::string& reason, int code = 0);
};

}  // namespace tallow
