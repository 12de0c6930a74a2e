// Four scripted clients play a whole hand against the real TCP front on loopback.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "front/tcp_front.h"
#include "protocol/record.h"
#include "testing/table_driver.h"

namespace tallow::server {
namespace {

namespace op = protocol::op;
using protocol::ClientCode;
using testing::ClientRecord;
using testing::LoginRecord;

int Dial(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

void SendAll(int fd, const std::uint8_t* p, std::size_t n) {
  while (n > 0) {
    const ssize_t k = send(fd, p, n, MSG_NOSIGNAL);
    if (k <= 0) return;
    p += k;
    n -= static_cast<std::size_t>(k);
  }
}

// A player that never claims: it throws every tile it draws and takes every win offered.
struct Player {
  int fd = -1;
  int seat = -1;
  std::string account;
  std::vector<std::uint8_t> buf;
  int seatNames = 0;
  int results = 0;
  bool anyScore = false;
  int settlements = 0;
  int lastDrawn = 0;
  bool drew = false;
  bool done = false;

  void Send(const Record& r, bool split = false) {
    if (split) {  // a record in two pieces: the server must wait for the rest
      SendAll(fd, r.data(), 100);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      SendAll(fd, r.data() + 100, r.size() - 100);
    } else {
      SendAll(fd, r.data(), r.size());
    }
  }

  void Handle(const Record& r) {
    const int type = r[3];
    const int mask = r[6] & 15;
    const int bit = seat >= 0 ? 1 << seat : 0;
    switch (type) {
      case 3:
        if (protocol::CString(r, 16, 16).size() == account.size() &&
            std::equal(account.begin(), account.end(), r.begin() + 16)) {
          seat = mask == 1 ? 0 : mask == 2 ? 1 : mask == 4 ? 2 : 3;
        }
        if (++seatNames == 4) Send(ClientRecord(ClientCode::SeatState, 1 << seat, 0, 0, 0, 1));
        break;
      case 5:
        if (mask == bit) {
          lastDrawn = r[15];
          drew = true;
        }
        break;
      case 6: {
        const int flags = r[9];
        if (flags & 128) {
          Send(ClientRecord(ClientCode::OperationReply, bit, op::kWin));
        } else if (drew) {
          Send(ClientRecord(ClientCode::Discard, bit, 0, 0, 0, protocol::DiscardTile(lastDrawn)));
        } else {
          Send(ClientRecord(ClientCode::OperationReply, bit, op::kPass));
        }
        drew = false;
        break;
      }
      case 9:
        ++results;
        for (int b = 16; b < 24; ++b) anyScore = anyScore || r[static_cast<std::size_t>(b)] != 0;
        if (results == 4 && !anyScore) done = true;
        break;
      case 17:
        if (++settlements == 4) done = true;
        break;
      default:
        break;
    }
  }
};

TEST(Tcp, FourClientsPlayAWholeHand) {
  Config c;
  c.actLimitMs = 2000;
  Server core(c, 2024);
  TcpFront front(core);
  std::string error;
  ASSERT_TRUE(front.Listen("127.0.0.1", 0, -1, error)) << error;
  std::atomic<bool> stop{false};
  std::thread server([&] { front.Run(stop); });

  std::array<Player, 4> players;
  for (int k = 0; k < 4; ++k) {
    auto& p = players[static_cast<std::size_t>(k)];
    p.account = "tcp" + std::to_string(k);
    p.fd = Dial(front.port());
    ASSERT_GE(p.fd, 0);
    p.Send(LoginRecord(p.account, "pw"), k == 0);
  }

  // The seating interface answers on its own port.
  const int admin = Dial(front.seatPort());
  ASSERT_GE(admin, 0);
  const std::string cmd = "tables\n";
  SendAll(admin, reinterpret_cast<const std::uint8_t*>(cmd.data()), cmd.size());
  char reply[256] = {};
  const ssize_t n = recv(admin, reply, sizeof reply - 1, 0);
  ASSERT_GT(n, 0);
  EXPECT_EQ(std::string(reply, 2), "ok");
  close(admin);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline) {
    bool all = true;
    for (const auto& p : players) all = all && p.done;
    if (all) break;
    std::vector<pollfd> fds;
    for (const auto& p : players) fds.push_back({p.fd, POLLIN, 0});
    if (poll(fds.data(), fds.size(), 100) <= 0) continue;
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (!(fds[i].revents & POLLIN)) continue;
      auto& p = players[i];
      std::uint8_t buf[1000];  // not a multiple of 272: records arrive in pieces
      const ssize_t got = recv(p.fd, buf, sizeof buf, 0);
      ASSERT_GT(got, 0) << "server closed client " << i;
      p.buf.insert(p.buf.end(), buf, buf + got);
      while (p.buf.size() >= protocol::kRecordSize) {
        Record r;
        std::copy_n(p.buf.begin(), r.size(), r.begin());
        p.buf.erase(p.buf.begin(), p.buf.begin() + static_cast<std::ptrdiff_t>(r.size()));
        p.Handle(r);
      }
    }
  }
  stop = true;
  server.join();
  for (const auto& p : players) {
    EXPECT_TRUE(p.done) << p.account;
    EXPECT_EQ(p.results, 4) << p.account;
    close(p.fd);
  }
  // Either a settlement of four seats or a drawn hand with four zero results.
  EXPECT_TRUE(players[0].settlements == 4 || !players[0].anyScore);
}

}  // namespace
}  // namespace tallow::server
