// The TCP front at its limits: Nagle off, a deep listen queue, no spinning when the process
// runs out of descriptors, peers that stop in the middle of a record or read nothing, and news
// that waits for the seat's next answer.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <vector>

#include "front/tcp_front.h"
#include "protocol/record.h"
#include "testing/table_driver.h"

namespace tallow::server {
namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

// A non-blocking connect under way (or done) to the port.
int StartConnect(int fd, int port) {
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  const sockaddr_in a = Loopback(port);
  connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a);
  return fd;
}

struct Front {
  explicit Front(FrontLimits limits = {}) : front(core, limits) {
    std::string error;
    EXPECT_TRUE(front.Listen("127.0.0.1", 0, 0, error)) << error;
  }
  Server core{Config{}, 1};
  TcpFront front;
};

// A connected client (blocking connect, then non-blocking); receiveBuffer > 0 shrinks its window.
int Dial(const Front& f, int receiveBuffer = 0) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (receiveBuffer > 0)
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  const sockaddr_in a = Loopback(f.front.port());
  EXPECT_EQ(connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  return fd;
}

void SendBytes(int fd, const std::uint8_t* p, std::size_t n) {
  ASSERT_EQ(send(fd, p, n, MSG_NOSIGNAL), static_cast<ssize_t>(n));
}

// The server reset the connection (it was cut off, not closed in order).
bool WasReset(int fd) {
  pollfd p{fd, 0, 0};
  return poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR));
}

// Runs the front for `ms` and returns the whole records the client received meanwhile.
std::vector<Record> Receive(Front& f, int fd, int ms) {
  std::vector<std::uint8_t> bytes;
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  while (Clock::now() < end) {
    f.front.Poll(5);
    std::uint8_t buf[4096];
    for (ssize_t n; (n = recv(fd, buf, sizeof buf, 0)) > 0;)
      bytes.insert(bytes.end(), buf, buf + n);
  }
  std::vector<Record> out(bytes.size() / protocol::kRecordSize);
  for (std::size_t i = 0; i < out.size(); ++i) {
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(i * protocol::kRecordSize),
                protocol::kRecordSize, out[i].begin());
  }
  return out;
}

// The server's end of a client socket: the descriptor of this process whose local address is
// the client's peer address.
int ServerSideOf(int client) {
  sockaddr_in peer{}, local{};
  socklen_t len = sizeof peer;
  getpeername(client, reinterpret_cast<sockaddr*>(&peer), &len);
  getsockname(client, reinterpret_cast<sockaddr*>(&local), &len);
  for (int fd = 0; fd < 4096; ++fd) {
    sockaddr_in a{}, b{};
    socklen_t la = sizeof a, lb = sizeof b;
    if (fd == client || getsockname(fd, reinterpret_cast<sockaddr*>(&a), &la) != 0 ||
        getpeername(fd, reinterpret_cast<sockaddr*>(&b), &lb) != 0) {
      continue;
    }
    if (a.sin_port == peer.sin_port && b.sin_port == local.sin_port) return fd;
  }
  return -1;
}

TEST(TcpLimits, AcceptedSocketsSendWithoutDelay) {
  Front f;
  const int client = socket(AF_INET, SOCK_STREAM, 0);
  StartConnect(client, f.front.port());
  int server = -1;
  for (int i = 0; i < 100 && server < 0; ++i) {
    f.front.Poll(10);
    server = ServerSideOf(client);
  }
  ASSERT_GE(server, 0);
  int on = 0;
  socklen_t len = sizeof on;
  ASSERT_EQ(getsockopt(server, IPPROTO_TCP, TCP_NODELAY, &on, &len), 0);
  EXPECT_NE(on, 0);
  close(client);
}

TEST(TcpLimits, ABurstOfConnectionsIsQueuedNotHeldBack) {
  int somaxconn = 128;
  std::ifstream("/proc/sys/net/core/somaxconn") >> somaxconn;
  const int burst = std::min(200, somaxconn - 4);
  if (burst <= 70) GTEST_SKIP() << "the system caps listen queues at " << somaxconn;
  Front f;
  // Nobody accepts meanwhile: a queue of 64 would hold the rest back for a second or more.
  std::vector<pollfd> clients;
  for (int k = 0; k < burst; ++k) {
    clients.push_back({StartConnect(socket(AF_INET, SOCK_STREAM, 0), f.front.port()), POLLOUT, 0});
  }
  int connected = 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(500);
  while (connected < burst && Clock::now() < deadline) {
    poll(clients.data(), clients.size(), 50);
    connected = 0;
    for (const auto& c : clients) connected += (c.revents & POLLOUT) ? 1 : 0;
  }
  EXPECT_EQ(connected, burst);
  for (const auto& c : clients) close(c.fd);
}

TEST(TcpLimits, OutOfDescriptorsTheListenerWaitsInsteadOfSpinning) {
  Front f;
  const int client = socket(AF_INET, SOCK_STREAM, 0);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  // The lowest free descriptor as the limit: accept can get none.
  const int lowestFree = dup(0);
  close(lowestFree);
  rlimit tight = saved;
  tight.rlim_cur = static_cast<rlim_t>(lowestFree);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
  StartConnect(client, f.front.port());
  // A spinning loop returns from every poll at once; a paused listener lets it wait.
  const auto start = Clock::now();
  for (int i = 0; i < 6; ++i) f.front.Poll(50);
  const auto spent = Clock::now() - start;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
  EXPECT_GE(spent, std::chrono::milliseconds(100));

  // With descriptors again the waiting connection is accepted and served.
  const Record login = testing::LoginRecord("late", "pw");
  fcntl(client, F_SETFL, fcntl(client, F_GETFL) & ~O_NONBLOCK);
  ASSERT_EQ(send(client, login.data(), login.size(), MSG_NOSIGNAL),
            static_cast<ssize_t>(login.size()));
  fcntl(client, F_SETFL, fcntl(client, F_GETFL) | O_NONBLOCK);
  Record answer{};
  std::size_t got = 0;
  for (int i = 0; i < 100 && got < answer.size(); ++i) {
    f.front.Poll(10);
    const ssize_t n = recv(client, answer.data() + got, answer.size() - got, 0);
    if (n > 0) got += static_cast<std::size_t>(n);
  }
  ASSERT_EQ(got, answer.size());
  EXPECT_EQ(answer[protocol::off::kType], 18);
  close(client);
}

TEST(TcpLimits, AnUnfinishedRecordIsCutOffAfterTheLimitAFinishedOneIsNot) {
  FrontLimits limits;
  limits.partialRecordMs = 1000;
  Front f(limits);
  const Record login = testing::LoginRecord("slow", "pw");
  const int slow = Dial(f), half = Dial(f);
  SendBytes(slow, login.data(), 100);
  SendBytes(half, login.data(), login.size() / 2);
  const auto start = Clock::now();
  for (int i = 0; i < 3; ++i) f.front.Poll(10);  // both pieces are in, both records unfinished
  SendBytes(slow, login.data() + 100, login.size() - 100);  // the rest, well within the limit
  while (!WasReset(half) && Clock::now() - start < std::chrono::seconds(10)) f.front.Poll(10);
  const auto cutOff = Clock::now() - start;
  EXPECT_TRUE(WasReset(half));
  EXPECT_GE(cutOff, std::chrono::milliseconds(990));  // the front counts whole milliseconds
  const auto got = Receive(f, slow, 200);
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got[0][protocol::off::kType], 18);
  EXPECT_FALSE(WasReset(slow));
  close(slow);
  close(half);
}

TEST(TcpLimits, AClientThatReadsNothingIsCutOffAndForgotten) {
  FrontLimits limits;
  limits.maxOutBytes = 32 << 10;
  Front f(limits);
  const int deaf = Dial(f, 4096);
  const Record login = testing::LoginRecord("deaf", "pw");
  SendBytes(deaf, login.data(), login.size());
  for (int i = 0; i < 50 && !f.core.SeatOf("deaf"); ++i) f.front.Poll(10);
  ASSERT_TRUE(f.core.SeatOf("deaf").has_value());
  // Notices to its table until the server gives up on it: kernel buffers, then the front's own.
  const std::string notice = "notice 0 " + std::string(190, 'x');
  for (int i = 0; i < 20000 && !WasReset(deaf); ++i) {
    f.core.Command(notice);
    f.front.Poll(0);
  }
  EXPECT_TRUE(WasReset(deaf));
  EXPECT_FALSE(f.core.SeatOf("deaf").has_value());  // the core was told: the seat is free
  close(deaf);
}

TEST(TcpLimits, NewsWaitsForTheSeatsNextAnswerOrItsTime) {
  const auto ready = [](int seat) {
    return testing::ClientRecord(protocol::ClientCode::SeatState, 1 << seat, 0, 0, 0, 1);
  };
  const auto readyOf = [](const std::vector<Record>& rs) {
    std::vector<std::string> names;
    for (const auto& r : rs) {
      if (r[protocol::off::kType] != 23) continue;
      const auto n = protocol::CString(r, 16, 16);
      names.emplace_back(n.begin(), n.end());
    }
    return names;
  };
  // A hold longer than the test: only an answer sends news. A short one: its time does.
  for (const std::int64_t hold : {60'000, 20}) {
    FrontLimits limits;
    limits.informHoldMs = hold;
    Front f(limits);
    const int a = Dial(f), b = Dial(f);
    for (auto [fd, name] : {std::pair{a, "a"}, std::pair{b, "b"}}) {
      const Record login = testing::LoginRecord(name, "pw");
      SendBytes(fd, login.data(), login.size());
      ASSERT_FALSE(Receive(f, fd, 300).empty());  // the login result goes at once
    }
    SendBytes(a, ready(0).data(), protocol::kRecordSize);
    EXPECT_EQ(readyOf(Receive(f, a, 300)), std::vector<std::string>{"a"});  // its answer
    if (hold == 20) {
      EXPECT_EQ(readyOf(Receive(f, b, 300)), std::vector<std::string>{"a"});
    } else {
      EXPECT_TRUE(Receive(f, b, 100).empty());  // only news for b: it waits
      SendBytes(b, ready(1).data(), protocol::kRecordSize);
      EXPECT_EQ(readyOf(Receive(f, b, 300)), (std::vector<std::string>{"a", "b"}));  // in order
    }
    close(a);
    close(b);
  }
}

// CPU time of this thread, which runs the front and its clients alike.
std::chrono::nanoseconds ThreadCpu() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}

TEST(TcpLimits, IdleConnectionsCostNothing) {
  constexpr int kIdle = 2000, kRoundTrips = 500;
  if (RaiseOpenFileLimit() < 2 * kIdle + 256) GTEST_SKIP() << "too few descriptors";
  Front f;
  const int talker = Dial(f);
  const Record login = testing::LoginRecord("talker", "pw");
  SendBytes(talker, login.data(), login.size());
  ASSERT_FALSE(Receive(f, talker, 200).empty());
  Record chat = testing::ClientRecord(protocol::ClientCode::ChatSend, 1);
  chat[16] = 'x';
  // Chat lines echoed back, one at a time: each is a pass of the front with work to do.
  const auto talk = [&] {
    const auto start = ThreadCpu();
    for (int i = 0; i < kRoundTrips; ++i) {
      SendBytes(talker, chat.data(), chat.size());
      std::uint8_t buf[protocol::kRecordSize];
      std::size_t got = 0;
      for (int polls = 0; got < sizeof buf && polls < 1000; ++polls) {
        f.front.Poll(1);
        const ssize_t n = recv(talker, buf + got, sizeof buf - got, 0);
        if (n > 0) got += static_cast<std::size_t>(n);
      }
      EXPECT_EQ(got, sizeof buf);
    }
    return ThreadCpu() - start;
  };
  const auto alone = talk();
  std::vector<int> idle;
  for (int k = 0; k < kIdle; ++k) {
    idle.push_back(Dial(f));
    if (k % 32 == 0) f.front.Poll(0);  // keeps the listen queue short
  }
  for (int i = 0; i < 2 * kIdle / 64; ++i) f.front.Poll(1);  // all accepted
  const auto beside = talk();
  // Walking or polling 2,000 descriptors every pass would cost tens of microseconds a pass.
  EXPECT_LT(beside, 2 * alone + std::chrono::milliseconds(10))
      << "alone " << alone.count() / 1000 << " us, beside idle " << beside.count() / 1000 << " us";
  for (int fd : idle) close(fd);
  close(talker);
}

TEST(TcpLimits, TheSoftDescriptorLimitIsRaisedToTheHardOne) {
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  if (saved.rlim_max == RLIM_INFINITY || saved.rlim_max <= 256) GTEST_SKIP();
  rlimit low = saved;
  low.rlim_cur = 256;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  EXPECT_EQ(RaiseOpenFileLimit(), static_cast<long>(saved.rlim_max));
  setrlimit(RLIMIT_NOFILE, &saved);
}

}  // namespace
}  // namespace tallow::server
