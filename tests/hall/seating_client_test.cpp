// The seating client against a loopback peer that answers in every way a server might.
#include "seating_client.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

namespace tallow::hall {
namespace {

using Clock = std::chrono::steady_clock;

// Accepts one connection, reads the command line, then runs `answer` on the connection.
class Peer {
 public:
  explicit Peer(std::function<void(int fd)> answer) {
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(listen_, reinterpret_cast<sockaddr*>(&a), len) != 0 || ::listen(listen_, 2) != 0) {
      ADD_FAILURE() << "cannot listen";
    }
    ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this, answer] {
      pollfd p{listen_, POLLIN, 0};
      if (::poll(&p, 1, 5000) <= 0) return;
      const int fd = ::accept(listen_, nullptr, nullptr);
      if (fd < 0) return;
      char c = 0;
      while (::recv(fd, &c, 1, 0) == 1 && c != '\n') received += c;
      answer(fd);
      ::close(fd);
    });
  }
  ~Peer() {
    Join();
    ::close(listen_);
  }
  // Waits until the peer has answered (or given up).
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  int port() const { return port_; }
  std::string received;

 private:
  int listen_ = -1;
  int port_ = 0;
  std::thread thread_;
};

void Say(int fd, const std::string& s) {
  ::send(fd, s.data(), s.size(), MSG_NOSIGNAL);
}

struct Answer {
  const char* name;
  std::function<void(int)> answer;
  bool ok;
  std::string text;  // the reply line; empty: only that there is none
};

class SeatingAnswers : public testing::TestWithParam<Answer> {};

TEST_P(SeatingAnswers, ReadAsOneLineWithinTheTimeLimit) {
  Peer peer(GetParam().answer);
  const auto start = Clock::now();
  const SeatingReply r = SeatingCommand("127.0.0.1", peer.port(), "seat alice 0 1", 700);
  const auto took = Clock::now() - start;
  EXPECT_LT(took, std::chrono::milliseconds(1500));
  EXPECT_EQ(r.ok, GetParam().ok) << r.text;
  if (!GetParam().text.empty()) {
    EXPECT_EQ(r.text, GetParam().text);
  }
  EXPECT_FALSE(r.text.empty());
  peer.Join();
  EXPECT_EQ(peer.received, "seat alice 0 1");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SeatingAnswers,
    testing::Values(
        Answer{"Ok", [](int fd) { Say(fd, "ok\n"); }, true, "ok"},
        Answer{"OkWithValue", [](int fd) { Say(fd, "ok 10001\r\n"); }, true, "ok 10001"},
        Answer{"Error", [](int fd) { Say(fd, "error usage: seat\n"); }, false, "error usage: seat"},
        Answer{"InPieces",
               [](int fd) {
                 Say(fd, "o");
                 std::this_thread::sleep_for(std::chrono::milliseconds(50));
                 Say(fd, "k 7\nok 8\n");
               },
               true, "ok 7"},
        Answer{"LastLineWithoutNewline", [](int fd) { Say(fd, "ok"); }, true, "ok"},
        Answer{"ClosedWithoutAnswer", [](int) {}, false, ""},
        Answer{"Silent", [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(1000)); },
               false, ""},
        Answer{"OkLookalike", [](int fd) { Say(fd, "okay\n"); }, false, "okay"},
        Answer{"EndlessLine",
               [](int fd) {
                 const std::string junk(16 * 1024, 'x');
                 for (int i = 0; i < 8; ++i) Say(fd, junk);
               },
               false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SeatingCommand, SendsTheCommandAsOneLine) {
  Peer peer([](int fd) { Say(fd, "ok\n"); });
  EXPECT_TRUE(SeatingCommand("127.0.0.1", peer.port(), SeatCommand("alice", 2, 3)).ok);
  peer.Join();
  EXPECT_EQ(peer.received, "seat alice 2 3");
}

TEST(SeatingCommand, RefusesASecondLineAndAnAbsentServer) {
  EXPECT_FALSE(SeatingCommand("127.0.0.1", 1, "seat a 0 0\nunseat b").ok);
  // Port 1 on loopback: nobody listens, refused at once.
  const auto start = Clock::now();
  EXPECT_FALSE(SeatingCommand("127.0.0.1", 1, "tables", 2000).ok);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1500));
}

TEST(ParseTables, ReadsSeatsAndSkipsWhatDoesNotParse) {
  const auto tables = ParseTables(
      "ok 0:alice,-,robot3,robot4:playing 2:-,-,bob,-:waiting 3:x,y:waiting "
      "q:a,b,c,d:waiting 4:a,,c,d:waiting 5:a,b,c,d,e:waiting");
  ASSERT_EQ(tables.size(), 2u);
  EXPECT_EQ(tables[0].table, 0);
  EXPECT_TRUE(tables[0].playing);
  EXPECT_EQ(tables[0].accounts, (std::array<std::string, 4>{"alice", "", "robot3", "robot4"}));
  EXPECT_EQ(tables[1].table, 2);
  EXPECT_FALSE(tables[1].playing);
  EXPECT_EQ(tables[1].accounts[2], "bob");
  EXPECT_TRUE(ParseTables("ok").empty());
  EXPECT_TRUE(ParseTables("error no").empty());
  EXPECT_TRUE(ParseTables("").empty());
}

TEST(ParseUserId, AcceptsOnlyOkWithAPositiveNumber) {
  EXPECT_EQ(ParseUserId("ok 10001"), 10001);
  for (const char* bad :
       {"ok", "error 5", "ok -3", "ok 0", "ok 12x", "ok 1 2", "", "ok 99999999999999999999"}) {
    EXPECT_EQ(ParseUserId(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace tallow::hall
