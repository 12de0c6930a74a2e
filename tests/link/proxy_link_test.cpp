// The real client through SOCKS5 proxies: a scripted one and dante.
#include <gtest/gtest.h>

#include "link_fixture.h"

namespace tallow::link {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

std::string ProxyFields(int port, const std::string& user, const std::string& password) {
  return "$127.0.0.1$" + std::to_string(port) + "$" + user + "$" + password;
}

// A proxy that needs no authentication and answers one byte at a time; and one that accepts
// neither method the client offers.
TEST(ScriptedProxyLink, NoAuthenticationInOneByteChunksAndNoAcceptableMethod) {
  for (const std::uint8_t method : {std::uint8_t{0}, std::uint8_t{0xFF}}) {
    Table t;
    ScriptedProxy proxy(method);
    t.StartAlice("10.9.8.7", 8000, 5, ProxyFields(proxy.Port(), "u", "p"));
    if (method == 0) {
      ASSERT_TRUE(WaitUntil([&] { return proxy.Login().size() == 272; }, 20s)) << t.AliceLog();
      EXPECT_EQ(proxy.ConnectRequest(), (Bytes{5, 1, 0, 1, 10, 9, 8, 7, 0x1F, 0x40}));
      EXPECT_EQ(proxy.Login()[3], 18);
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(&proxy.Login()[16])), "alice");
    } else {
      EXPECT_TRUE(
          WaitUntil([&] { return t.AliceLog().find("请求代理失败！") != std::string::npos; }, 20s))
          << t.AliceLog();
    }
  }
}

class DanteLink : public ::testing::Test {
 protected:
  void SetUp() override {
    dante_ = std::make_unique<Dante>(dir_.Path());
    if (!dante_->Unavailable().empty()) GTEST_SKIP() << dante_->Unavailable();
  }
  void TearDown() override { dante_.reset(); }
  std::string Fields(const std::string& password = {}) const {
    return ProxyFields(dante_->Port(), dante_->User(),
                       password.empty() ? dante_->Password() : password);
  }
  TempDir dir_;
  std::unique_ptr<Dante> dante_;
};

TEST_F(DanteLink, RefusalsAreShownAndTheLinkClosed) {
  struct Case {
    bool wrongPassword;
    const char* message;
  };
  for (const Case k :
       {Case{true, "代理服务器用户验证失败！"}, Case{false, "通过代理连接主站失败！"}}) {
    Table t;
    // Nothing listens on the target port, so a connect the proxy tries is refused.
    t.StartAlice("127.0.0.1", FreePort(), 5, Fields(k.wrongPassword ? "wrong" : ""));
    EXPECT_TRUE(WaitUntil([&] { return t.AliceLog().find(k.message) != std::string::npos; }, 20s))
        << t.AliceLog() << dante_->Log();
    EXPECT_EQ(t.alice_->Wait(0), std::nullopt) << "the client waits for the hall";
  }
}

// The hall's proxy fields reach the command line of the client it starts: the seat is taken
// through dante.
TEST_F(DanteLink, TheHallSeatsItsPlayerThroughTheProxy) {
  Table t;
  ASSERT_TRUE(t.StartServer()) << t.Logs();
  const std::string log = t.dir_.Path() + "/hall.log";
  auto hall = StartLogged(TALLOW_HALL_BINARY,
                          {"--caption",
                           "proxy-hall",
                           "--account",
                           "carol",
                           "--password",
                           "pw",
                           "--host",
                           "127.0.0.1",
                           "--port",
                           std::to_string(t.port_),
                           "--seat-port",
                           std::to_string(t.seatPort_),
                           "--proxy-host",
                           "127.0.0.1",
                           "--proxy-port",
                           std::to_string(dante_->Port()),
                           "--proxy-user",
                           dante_->User(),
                           "--proxy-password",
                           dante_->Password(),
                           "--table",
                           "0",
                           "--seat",
                           "0",
                           "--sit",
                           "--data",
                           t.dir_.Sub("hall")},
                          t.Env(), log);
  EXPECT_TRUE(
      WaitUntil([&] { return t.Command("tables").find("0:carol,") != std::string::npos; }, 30s))
      << ReadFile(log) << dante_->Log();
  EXPECT_NE(dante_->Log().find(dante_->User()), std::string::npos) << dante_->Log();
  hall->Signal(SIGTERM);
  EXPECT_EQ(hall->Wait(15000), 0);
}

// Alice reaches the server only through dante and a relay behind it. The relay cuts her link in
// the middle of the hand: she reconnects through dante, gets the table back and plays on.
TEST_F(DanteLink, PlaysAHandAndReconnectsThroughTheProxy) {
  Table t;
  ASSERT_TRUE(t.StartServer()) << t.Logs();
  Relay relay(t.port_);
  CutInTheMiddleOfTheHand(relay);
  ASSERT_TRUE(t.Seat());
  t.StartAlice("127.0.0.1", relay.Port(), 5, Fields());
  ASSERT_TRUE(WaitUntil([&] { return t.Hands().second >= 1; }, 150s))
      << "hands " << t.Hands().first << " " << t.Hands().second << "\n"
      << t.Logs();
  ASSERT_GE(relay.Accepted(), 2);
  const auto back = relay.ServerTypes(1);
  ASSERT_GE(back.size(), 6u);
  EXPECT_EQ(back[0], 29);
  EXPECT_EQ(back[1], 41);
  EXPECT_NE(dante_->Log().find(dante_->User()), std::string::npos) << dante_->Log();
  ASSERT_TRUE(WaitUntil([&] { return !RecordedAmounts(t.AliceRecord()).empty(); }, 20s));
  const auto amounts = RecordedAmounts(t.AliceRecord());
  ASSERT_FALSE(amounts.empty()) << t.AliceRecord();
  ASSERT_EQ(amounts[0].size(), 4u);
  EXPECT_EQ(amounts[0][0] + amounts[0][1] + amounts[0][2] + amounts[0][3], 0);
}

}  // namespace
}  // namespace tallow::link
