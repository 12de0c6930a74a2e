#include "session/proxy.h"

#include <gtest/gtest.h>

#include "doubles/client_harness.h"
#include "protocol/gbk.h"

namespace tallow::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kProxyLine = "alice$secret$10.1.2.3$8000$Room$5$127.0.0.1$1080$ab$cd$0$$$";
const Bytes kGreeting{5, 2, 0, 2};
const Bytes kAuth{1, 2, 'a', 'b', 2, 'c', 'd'};
const Bytes kConnect{5, 1, 0, 1, 10, 1, 2, 3, 0x1F, 0x40};
const Bytes kBound{5, 0, 0, 1, 127, 0, 0, 1, 4, 56};  // a connect reply with its bound address

// What the client sends between two replies, and what it has sent in all.
Bytes Since(const MemorySocket& s, std::size_t from) {
  return Bytes(s.sent.begin() + static_cast<long>(from), s.sent.end());
}

struct Negotiation {
  const char* name;
  std::vector<Bytes> replies;   // delivered one chunk at a time
  std::vector<Bytes> requests;  // what follows the greeting, in order
  const char* box;              // nullptr: the negotiation succeeds
  friend void PrintTo(const Negotiation& n, std::ostream* os) { *os << n.name; }
};

Bytes Split(const Bytes& b, std::size_t from, std::size_t n) {
  return Bytes(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(from + n));
}

class ProxyNegotiation : public ::testing::TestWithParam<Negotiation> {};

TEST_P(ProxyNegotiation, RequestsRepliesAndOutcome) {
  const auto& n = GetParam();
  ClientHarness h(kProxyLine);
  ASSERT_FALSE(h.Start());
  h.Run(100);
  EXPECT_EQ(h.p.socket.remoteHost, "127.0.0.1");
  EXPECT_EQ(h.p.socket.remotePort, 1080);
  EXPECT_EQ(h.p.socket.sent, kGreeting);
  EXPECT_TRUE(h.c().session.LoginPending);

  std::vector<Bytes> requests;
  for (const auto& reply : n.replies) {
    const std::size_t before = h.p.socket.sent.size();
    h.p.socket.Deliver(reply);
    h.Run(10);
    if (h.p.socket.sent.size() > before) requests.push_back(Since(h.p.socket, before));
  }
  auto& c = h.c();
  if (n.box != nullptr) {
    EXPECT_EQ(requests, n.requests);
    ASSERT_EQ(h.p.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.p.dialogs.boxes[0].text, n.box);
    EXPECT_EQ(h.p.socket.State(), platform::ISocket::kClosed);
    EXPECT_FALSE(c.session.LoginPending);
    EXPECT_FALSE(c.TimerBong->Enabled());
    return;
  }
  // Success: the login record follows the connect request on the same connection.
  ASSERT_EQ(requests.size(), n.requests.size() + 1);
  requests.back().resize(protocol::kRecordSize);
  EXPECT_EQ(requests.back()[3], 18);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&requests.back()[16])), "alice");
  requests.pop_back();
  EXPECT_EQ(requests, n.requests);
  EXPECT_TRUE(h.p.dialogs.boxes.empty());
  EXPECT_TRUE(c.receive.ProxyNegotiated);
  EXPECT_TRUE(c.TimerBong->Enabled());
  EXPECT_EQ(c.mainForm.Sysmsg(0).lines.at(0), kProxyConnectedLine);
  EXPECT_EQ(h.p.hall.Posts().back(), platform::wm::kLeaveQuestion);
  EXPECT_EQ(c.receive.Unread(), 0);  // nothing of the connect reply reached the receive ring
}

std::vector<Bytes> OneByteChunks(std::initializer_list<Bytes> replies) {
  std::vector<Bytes> out;
  for (const auto& r : replies) {
    for (std::uint8_t b : r) out.push_back({b});
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Proxy, ProxyNegotiation,
    ::testing::Values(
        Negotiation{"UserAndPassword", {{5, 2}, {1, 0}, kBound}, {kAuth, kConnect}, nullptr},
        Negotiation{"NoAuthentication", {{5, 0}, kBound}, {kConnect}, nullptr},
        Negotiation{
            "OneByteChunks", OneByteChunks({{5, 2}, {1, 0}, kBound}), {kAuth, kConnect}, nullptr},
        // A bound address given as a name is read past by its length.
        Negotiation{"BoundAddressByName",
                    {{5, 0}, {5, 0, 0, 3, 4}, {'h', 'o', 's', 't', 0}, {80}},
                    {kConnect},
                    nullptr},
        Negotiation{"ConnectReplyInTwoParts",
                    {{5, 0}, Split(kBound, 0, 3), Split(kBound, 3, 7)},
                    {kConnect},
                    nullptr},
        Negotiation{"NoAcceptableMethod", {{5, 0xFF}}, {}, kProxyMethodRefused},
        Negotiation{"NotSocks5", {{4, 2}}, {}, kProxyMethodRefused},
        Negotiation{"WrongPassword", {{5, 2}, {1, 1}}, {kAuth}, kProxyAuthRefused},
        Negotiation{"ConnectRefused",
                    {{5, 2}, {1, 0}, {5, 5, 0, 1, 0, 0, 0, 0, 0, 0}},
                    {kAuth, kConnect},
                    kProxyConnectRefused},
        Negotiation{
            "UnknownAddressType", {{5, 0}, {5, 0, 0, 9, 0}}, {kConnect}, kProxyConnectRefused}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Proxy, ServerBytesBehindTheConnectReplyReachTheReceiveRing) {
  ClientHarness h(kProxyLine);
  h.Start();
  h.Run(100);
  h.p.socket.Deliver(Bytes{5, 0});
  h.Run(10);
  Bytes chunk = kBound;
  const auto rec = ClientHarness::ServerRecord(18, 0, {3, 8, 0, 1}, 0x1234);
  chunk.insert(chunk.end(), rec.begin(), rec.end());
  h.p.socket.Deliver(chunk);
  h.Run(200);
  EXPECT_EQ(h.c().framing.SessionToken[0], 0x12);  // the login result was dispatched
  EXPECT_FALSE(h.c().session.LoginPending);
}

TEST(Proxy, RequestBytes) {
  struct Case {
    const char* host;
    int port;
    const char* user;
    Bytes connect;
    Bytes auth;
  };
  const Case cases[] = {
      {"10.1.2.3", 8000, "ab", {5, 1, 0, 1, 10, 1, 2, 3, 0x1F, 0x40}, {1, 2, 'a', 'b', 1, 'p'}},
      // Parts that are not numbers 0..255 stay 0; ports use all 16 bits.
      {"300.x.7", 65535, "", {5, 1, 0, 1, 0, 0, 7, 0, 0xFF, 0xFF}, {1, 0, 1, 'p'}},
      // A character without a single-byte code keeps its place as 0.
      {"1.2.3.4.5", 1, "a中", {5, 1, 0, 1, 1, 2, 3, 4, 0, 1}, {1, 2, 'a', 0, 1, 'p'}},
  };
  for (const auto& k : cases) {
    ClientHarness h("u$p$h$1$r$0$$0$$$0$$$");
    auto& s = h.c().session;
    s.ServerHost = k.host;
    s.ServerPort = k.port;
    s.ProxyUser = k.user;
    s.ProxyUserLength = static_cast<std::uint8_t>(protocol::CharCount(k.user));
    s.ProxyPassword = "p";
    s.ProxyPasswordLength = 1;
    EXPECT_EQ(ProxyRequest(h.c(), 5), k.connect) << k.host;
    EXPECT_EQ(ProxyRequest(h.c(), 3), k.auth) << k.user;
    EXPECT_EQ(ProxyRequest(h.c(), 1), kGreeting);
    EXPECT_TRUE(ProxyRequest(h.c(), 2).empty());
  }
}

TEST(Proxy, ConnectionWaitEndsAfterFifteenSecondsAndTheHallStartsAgain) {
  ClientHarness h(kProxyLine);
  h.p.socket.accept = false;
  h.Start();
  auto& c = h.c();
  h.Run(14'900);
  EXPECT_TRUE(c.mainForm.Sysmsg(0).ListCount() == 0 ||
              c.mainForm.Sysmsg(0).lines.at(0) != kProxyTimedOutLine);
  h.Run(200);
  EXPECT_EQ(c.mainForm.Sysmsg(0).lines.at(0), kProxyTimedOutLine);
  EXPECT_EQ(h.p.socket.State(), platform::ISocket::kClosed);
  EXPECT_FALSE(c.session.LoginPending);
  EXPECT_TRUE(h.p.dialogs.boxes.empty());

  // The hall's next connect request negotiates afresh.
  h.p.socket.accept = true;
  h.p.socket.sent.clear();
  h.p.hall.Request(platform::wm::kConnect);
  EXPECT_FALSE(c.receive.ProxyNegotiated);
  h.Run(100);
  EXPECT_EQ(h.p.socket.sent, kGreeting);
}

}  // namespace
}  // namespace tallow::testing
