// The session's state: connection settings and session globals, the receive and send rings,
// and what the framing keeps between messages.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "platform/checked_array.h"
#include "platform/controls.h"
#include "platform/platform.h"
#include "protocol/record.h"

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
  double WatchedUserId = 0;  // kept in PlayerInfo(0).UserId too, where the profiles meet it
  protocol::Record LoginRecord{};
  bool LoginPending = false;
  short TableActive = 0;
  short FirstHandStarted = 0;
  bool Reconnected = false;
  bool WindowHooked = false;
  bool StartNotPressed = true;
  bool HandInPlay = false;  // from a hand start until its result
  short HandNumber = 0;
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

// The wait for the proxy's connection before the SOCKS5 negotiation starts.
struct ProxyState {
  std::unique_ptr<platform::ITimer> ConnectWait;  // polls the socket; made at the first use
  double ConnectStartedAt = 0;                    // seconds since midnight
  static constexpr int kPollMs = 50;
};

// The reconnection after a connection lost during a hand (the timers are frmReconnect's).
struct ReconnectState {
  short ReconnectAttempts = 0;
  short ReconnectDelay = 1;
  // From a break until the server answers the relogin: game records wait, and a break in
  // between continues the count of attempts instead of starting it again.
  bool AwaitingAnswer = false;
  // Accepted: the table the server sends next is this hand's, to be restored for play.
  bool RestorePending = false;
  // The first three toolbar buttons as they were when the relogin was accepted: clearing the
  // table for the restore locks them, and a returning player keeps them as they were.
  std::array<short, 3> ToolbarLock{};
  std::array<bool, 3> ButtonEnabled{};
  std::array<ui::Picture, 3> ButtonPicture{};
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
  // How long the login slot waits for the connected state before giving up.
  int ConnectWaitLimitMs = 15000;
};

}  // namespace tallow
