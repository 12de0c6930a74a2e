// Two real tallow clients at one table of a real tallow-server: a line typed with the keyboard
// into one (under Xvfb, keys from xdotool) reaches the other.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <mutex>
#include <string_view>
#include <thread>

#include "../hall/hall_processes.h"
#include "process_fixture.h"
#include "protocol/gbk.h"
#include "protocol/record.h"
#include "support/loopback.h"

namespace tallow::e2e {
namespace {

using namespace std::chrono_literals;
using hall::test::WaitUntil;

int Listen(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 1) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    throw std::runtime_error("listen");
  }
  port = ntohs(a.sin_port);
  return fd;
}

// Passes one client's connection on to the server and keeps what the server sent it.
class Tap {
 public:
  explicit Tap(int serverPort) : serverPort_(serverPort) {
    listenFd_ = Listen(port_);
    thread_ = std::thread([this] { Run(); });
  }
  ~Tap() {
    stop_ = true;
    thread_.join();
    ::close(listenFd_);
  }
  int Port() const { return port_; }
  // The records the server has sent the client so far.
  std::vector<protocol::Record> Records() {
    std::lock_guard lock(mutex_);
    std::vector<protocol::Record> out(toClient_.size() / protocol::kRecordSize);
    for (std::size_t i = 0; i < out.size(); ++i) {
      std::copy_n(toClient_.begin() + static_cast<long>(i * protocol::kRecordSize),
                  protocol::kRecordSize, out[i].begin());
    }
    return out;
  }

 private:
  void Run() {
    int client = -1, server = -1;
    std::vector<std::uint8_t> buf(4096);
    while (!stop_) {
      if (client < 0) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        server = tallow::test::ConnectLoopback(serverPort_);
        continue;
      }
      pollfd p[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
      if (::poll(p, 2, 100) <= 0) continue;
      for (int k = 0; k < 2; ++k) {
        if ((p[k].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
        const ssize_t n = ::recv(p[k].fd, buf.data(), buf.size(), 0);
        if (n <= 0) {
          stop_ = true;
          break;
        }
        ::send(p[1 - k].fd, buf.data(), static_cast<std::size_t>(n), MSG_NOSIGNAL);
        if (k == 1) {
          std::lock_guard lock(mutex_);
          toClient_.insert(toClient_.end(), buf.begin(), buf.begin() + n);
        }
      }
    }
    if (client >= 0) ::close(client);
    if (server >= 0) ::close(server);
  }

  int serverPort_;
  int listenFd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::uint8_t> toClient_;
  std::thread thread_;
};

// One line of the server's seating interface.
std::string SeatingCommand(int port, const std::string& command) {
  const int fd = tallow::test::ConnectLoopback(port);
  if (fd < 0) return {};
  const std::string line = command + "\n";
  ::send(fd, line.data(), line.size(), MSG_NOSIGNAL);
  std::string reply;
  char ch = 0;
  pollfd p{fd, POLLIN, 0};
  while (::poll(&p, 1, 2000) > 0 && ::recv(fd, &ch, 1, 0) == 1 && ch != '\n') reply += ch;
  ::close(fd);
  return reply;
}

// Answers the clients' hall messages for as long as it lives.
class HallService {
 public:
  HallService() : window_("锦程山庄") {
    thread_ = std::thread([this] {
      while (!stop_) window_.WaitFor(0, 0xFFFFFFFFu, 100);
    });
  }
  ~HallService() {
    stop_ = true;
    thread_.join();
  }

 private:
  HallWindow window_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Joins the pieces into one text.
std::string Cat(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (std::string_view piece : pieces) out.append(piece);
  return out;
}

int Xdotool(const std::string& display, const std::string& args) {
  return std::system(Cat({"DISPLAY=", display, " xdotool ", args, " >/dev/null 2>&1"}).c_str());
}

TEST(ChatProcesses, ALineTypedInOneClientReachesAnotherAtTheTable) {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0 ||
      !std::filesystem::exists("/usr/bin/Xvfb")) {
    GTEST_SKIP() << "needs Xvfb and xdotool (scripts/deps.sh installs them)";
  }
  TempDir dir;
  const std::string run = dir.Path() + "/run";
  std::filesystem::create_directories(run);
  std::filesystem::permissions(run, std::filesystem::perms::owner_all);
  ::setenv("TALLOW_RUNTIME_DIR", run.c_str(), 1);

  // A display of its own for the typing client.
  int number = 150 + ::getpid() % 300;
  while (std::filesystem::exists(Cat({"/tmp/.X11-unix/X", std::to_string(number)}))) ++number;
  const std::string display = Cat({":", std::to_string(number)});
  hall::test::Child xvfb("/usr/bin/Xvfb",
                         {display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, {},
                         dir.Path() + "/xvfb.out");
  ASSERT_TRUE(WaitUntil([&] { return Xdotool(display, "getmouselocation") == 0; }, 20s));

  std::unique_ptr<hall::test::Child> server;
  const auto ports =
      hall::test::StartServer(TALLOW_SERVER_BINARY, 3, {Cat({"TALLOW_RUNTIME_DIR=", run})},
                              dir.Path() + "/server.out", server);
  ASSERT_TRUE(ports.has_value()) << hall::test::ReadFile(dir.Path() + "/server.out");
  HallService hall;
  Tap tap(ports->game);

  auto seat = [&](const std::string& account, int port, std::vector<std::string> env) {
    const std::string app = Cat({dir.Path(), "/", account});
    std::filesystem::create_directories(app);
    env.insert(env.end(), {Cat({"TALLOW_APP_DIR=", app}), Cat({"TALLOW_RUNTIME_DIR=", run}),
                           Cat({"XDG_RUNTIME_DIR=", run}), "TALLOW_NO_SOUND=1",
                           "TALLOW_DIALOGS=stderr", "TALLOW_SCREEN=1024x768"});
    const std::string line =
        Cat({account, "$pw$127.0.0.1$", std::to_string(port), "$Room$0$$0$$$0$$$"});
    return std::make_unique<hall::test::Child>(TALLOW_BINARY, std::vector<std::string>{line}, env,
                                               app + ".out");
  };
  auto alice = seat("alice", ports->game, {Cat({"DISPLAY=", display}), "QT_QPA_PLATFORM=xcb"});
  auto bob = seat("bob", tap.Port(), {"QT_QPA_PLATFORM=offscreen"});
  ASSERT_TRUE(WaitUntil(
      [&] {
        const std::string t = SeatingCommand(ports->seating, "tables");
        return t.find("alice") != std::string::npos && t.find("bob") != std::string::npos;
      },
      30s))
      << SeatingCommand(ports->seating, "tables");

  // Click into alice's chat box, type, press Enter: real key events through the X server.
  std::string window;
  ASSERT_TRUE(WaitUntil(
      [&] {
        return Xdotool(display,
                       "search --onlyvisible --name '^tallow$' mousemove --window %1 "
                       "330 738 click 1") == 0;
      },
      20s));
  std::this_thread::sleep_for(300ms);
  ASSERT_EQ(Xdotool(display, "type --delay 40 'hello bob'"), 0);
  ASSERT_EQ(Xdotool(display, "key Return"), 0);

  std::string seen;
  const bool reached = WaitUntil(
      [&] {
        for (const auto& r : tap.Records()) {
          if (r[protocol::off::kType] != 19) continue;
          seen = protocol::FromGbk(protocol::CString(r, 16, 200));
          if (seen.ends_with("说道: hello bob")) return true;
        }
        return false;
      },
      20s);
  EXPECT_TRUE(reached) << "last chat line bob got: " << seen;
  EXPECT_TRUE(seen.starts_with("alice")) << seen;
  // Both clients are still at the table.
  EXPECT_FALSE(alice->Wait(0).has_value()) << hall::test::ReadFile(dir.Path() + "/alice.out");
  EXPECT_FALSE(bob->Wait(0).has_value()) << hall::test::ReadFile(dir.Path() + "/bob.out");
}

}  // namespace
}  // namespace tallow::e2e
