#include "session/proxy.h"

#include <string>
#include <string_view>

#include "protocol/gbk.h"
#include "session/client.h"
#include "session/hall.h"
#include "session/outgoing.h"
#include "session/receive.h"

namespace tallow {
namespace {

constexpr std::uint8_t kSocksVersion = 5;
constexpr std::uint8_t kNoAuthentication = 0;
constexpr std::uint8_t kUserPassword = 2;
constexpr std::uint8_t kAuthVersion = 1;

// Steps of the negotiation: a request is sent at an odd step, its reply awaited at the next.
constexpr short kSendGreeting = 1, kGreetingSent = 2, kSendAuth = 3, kAuthSent = 4,
                kSendConnect = 5, kConnectSent = 6;

bool Connected(const Client& c) {
  return c.platform.socket.State() == platform::ISocket::kConnected;
}

double SecondsSince(Client& c, double start) {
  double waited = c.platform.clock.SecondsSinceMidnight() - start;
  if (waited < 0) waited += 86400;
  return waited;
}

// A character's single-byte code; a character without one leaves its byte 0.
std::uint8_t SingleByte(std::string_view ch) {
  const auto gbk = protocol::CharToGbk(ch);
  return gbk && gbk->size() == 1 ? static_cast<std::uint8_t>((*gbk)[0]) : 0;
}

void AppendText(std::vector<std::uint8_t>& out, const std::string& text, std::uint8_t length) {
  out.push_back(length);
  const auto chars = protocol::Utf8Chars(text);
  for (std::size_t i = 0; i < length; ++i)
    out.push_back(i < chars.size() ? SingleByte(chars[i]) : 0);
}

// One part of a dotted IPv4 address; a part that is not a number from 0 to 255 leaves its byte 0.
std::uint8_t AddressPart(std::string_view part) {
  if (part.empty() || part.size() > 3) return 0;
  int v = 0;
  for (char ch : part) {
    if (ch < '0' || ch > '9') return 0;
    v = v * 10 + (ch - '0');
  }
  return v <= 255 ? static_cast<std::uint8_t>(v) : 0;
}

// Ends the negotiation: the socket is closed. During a reconnection the line goes to the
// message rows and the attempts go on; otherwise a message box tells the player, and the
// hall's next connect request starts again.
void ProxyFailed(Client& c, const char* text) {
  StopProxy(c);
  c.receive.ProxyStep = 0;
  c.platform.socket.Close();
  c.session.LoginPending = false;
  if (c.forms.frmReconnect.Loaded) {
    c.mainForm.Sysmsg(1).Clear();
    c.mainForm.Sysmsg(1).AddItem(text);
    return;
  }
  c.platform.dialogs.MessageBox(text, c.mainForm.Caption);
}

// The proxy's connection stands: greet it.
void ProxyConnected(Client& c) {
  StopProxy(c);
  c.session.LoginPending = true;
  c.receive.ProxyStep = 0;
  ResetProxyRing(c);
  c.receive.ProxyStep = kSendGreeting;
  ProxySend(c);
  c.scheduler.Enable(TickScheduler::kLinkWatch);
}

// Polls the connection to the proxy; gives up after the same time as a direct connection.
void ConnectWaitTick(Client& c) {
  if (Connected(c)) return ProxyConnected(c);
  if (SecondsSince(c, c.proxy.ConnectStartedAt) * 1000 <= c.framing.ConnectWaitLimitMs) return;
  StopProxy(c);
  c.platform.socket.Close();
  c.session.LoginPending = false;
  c.mainForm.Sysmsg(0).Clear();
  c.mainForm.Sysmsg(0).AddItem(kProxyTimedOutLine);
}

// How many bytes the proxy's reply to the connect request has, once enough of it is there to
// tell; 0 while that is not yet known, -1 for an address type it cannot have.
int ConnectReplyLength(const Client& c, int have) {
  if (have < 5) return 0;
  switch (c.receive.ProxyRing(3)) {
    case 1:
      return 4 + 4 + 2;
    case 3:
      return 4 + 1 + c.receive.ProxyRing(4) + 2;
    case 4:
      return 4 + 16 + 2;
    default:
      return -1;
  }
}

void ProxySucceeded(Client& c, int replyLength) {
  auto& r = c.receive;
  // Bytes behind the reply already belong to the game server.
  std::vector<std::uint8_t> rest;
  for (int i = replyLength; i < r.ProxyWrite; ++i) rest.push_back(r.ProxyRing(i));
  r.ProxyStep = 0;
  r.ProxyNegotiated = true;
  PostToHall(c, platform::wm::kLeaveQuestion);
  c.mainForm.Sysmsg(0).Clear();
  c.mainForm.Sysmsg(0).AddItem(kProxyConnectedLine);
  SendDirect(c, c.session.LoginRecord);
  c.TimerBong->SetEnabled(true);
  if (!rest.empty()) AppendReceived(c, rest);
}

}  // namespace

std::vector<std::uint8_t> ProxyRequest(const Client& c, int step) {
  const auto& s = c.session;
  std::vector<std::uint8_t> out;
  switch (step) {
    case kSendGreeting:
      return {kSocksVersion, 2, kNoAuthentication, kUserPassword};
    case kSendAuth:
      out.push_back(kAuthVersion);
      AppendText(out, s.ProxyUser, s.ProxyUserLength);
      AppendText(out, s.ProxyPassword, s.ProxyPasswordLength);
      return out;
    case kSendConnect: {
      out = {kSocksVersion, 1, 0, 1, 0, 0, 0, 0};
      std::string_view host = s.ServerHost;
      for (std::size_t i = 0; i < 4 && !host.empty(); ++i) {
        const auto dot = host.find('.');
        out[4 + i] = AddressPart(host.substr(0, dot));
        host = dot == std::string_view::npos ? std::string_view{} : host.substr(dot + 1);
      }
      const int port = s.ServerPort & 0xFFFF;
      out.push_back(static_cast<std::uint8_t>(port >> 8));
      out.push_back(static_cast<std::uint8_t>(port & 0xFF));
      return out;
    }
    default:
      return out;
  }
}

void StopProxy(Client& c) {
  if (c.proxy.ConnectWait) c.proxy.ConnectWait->SetEnabled(false);
}

void StartProxy(Client& c) {
  auto& sock = c.platform.socket;
  c.receive.ProxyNegotiated = false;
  c.receive.ProxyStep = 0;
  if (sock.State() != platform::ISocket::kClosed) sock.Close();
  sock.SetRemote(c.session.ProxyHost, c.session.ProxyPort);
  sock.Connect();
  // The connection is awaited by a timer rather than a loop, so a reconnection's next attempt
  // (or the hall's next request) simply takes the wait over.
  auto& p = c.proxy;
  if (!p.ConnectWait) {
    p.ConnectWait = c.platform.clock.CreateTimer("TimerProxyConnect");
    p.ConnectWait->SetInterval(ProxyState::kPollMs);
    p.ConnectWait->OnTick = [&c] { ConnectWaitTick(c); };
  }
  p.ConnectStartedAt = c.platform.clock.SecondsSinceMidnight();
  p.ConnectWait->SetEnabled(false);
  p.ConnectWait->SetEnabled(true);
}

void ProxySend(Client& c) {
  auto& r = c.receive;
  const short step = r.ProxyStep;
  if (step != kSendGreeting && step != kSendAuth && step != kSendConnect) return;
  const auto request = ProxyRequest(c, step);
  r.ProxyStep = static_cast<short>(step + 1);
  ResetProxyRing(c);
  c.platform.socket.SendData(request);
}

void ProxyReply(Client& c) {
  auto& r = c.receive;
  // Replies may arrive in pieces: each is judged once the bytes it is judged on are there.
  const int have = r.ProxyWrite;
  if (have < 2) return;
  const int b0 = r.ProxyRing(0);
  const int b1 = r.ProxyRing(1);
  switch (r.ProxyStep) {
    case kGreetingSent:
      if (b0 != kSocksVersion || (b1 != kUserPassword && b1 != kNoAuthentication)) {
        return ProxyFailed(c, kProxyMethodRefused);
      }
      r.ProxyStep = b1 == kUserPassword ? kSendAuth : kSendConnect;
      return ProxySend(c);
    case kAuthSent:
      if (b0 != kAuthVersion || b1 != 0) return ProxyFailed(c, kProxyAuthRefused);
      r.ProxyStep = kSendConnect;
      return ProxySend(c);
    case kConnectSent: {
      if (b0 != kSocksVersion || b1 != 0) return ProxyFailed(c, kProxyConnectRefused);
      // The rest of the reply (the proxy's bound address) is read past, not examined.
      const int length = ConnectReplyLength(c, have);
      if (length < 0) return ProxyFailed(c, kProxyConnectRefused);
      if (length == 0 || have < length) return;
      return ProxySucceeded(c, length);
    }
    default:
      return;
  }
}

}  // namespace tallow
