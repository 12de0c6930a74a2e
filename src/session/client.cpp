#include "session/client.h"

#include <cstdlib>

#include "forms/chat_windows.h"
#include "forms/result_windows.h"
#include "session/input_routing.h"
#include "session/outgoing.h"
#include "session/receive.h"
#include "session/scheduler.h"

namespace tallow {

Client::Client(platform::Platform p, std::string line)
    : platform(p),
      commandLine(std::move(line)),
      TimerBong(p.clock.CreateTimer("TimerBong")),
      TimerKeepAlive(p.clock.CreateTimer("TimerKeepAlive")),
      TimerChat(p.clock.CreateTimer("TimerChat")) {
  TimerBong->SetInterval(50);
  TimerBong->OnTick = [this] { TimerBongTick(*this); };
  TimerKeepAlive->SetInterval(5000);
  TimerKeepAlive->OnTick = [this] { KeepAliveTick(*this); };
  TimerChat->SetInterval(800);
  TimerChat->OnTick = [this] {
    chat.ChatReady = true;
    TimerChat->SetEnabled(false);
  };
  platform.socket.OnDataArrival = [this] { OnSocketDataArrival(*this); };
  platform.socket.OnClose = [this] { OnSocketClose(*this); };
  mainForm.OnInput = [this](const ui::InputEvent& e) { HandleMainFormInput(*this, e); };
  WireResultWindows(*this);
  WireChatWindows(*this);
}

Client::~Client() {
  platform.socket.OnDataArrival = nullptr;
  platform.socket.OnClose = nullptr;
}

void Client::End(const std::string& reason, int code) {
  platform.process.EndProcess(code, reason);
  std::abort();  // an EndProcess that returned would leave the client in an undefined state
}

}  // namespace tallow
