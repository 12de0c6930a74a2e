// The hall link over real Unix sockets: the QLocalServer side against the contract's POSIX
// client and against raw peers that send garbage, pieces or nothing.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/hall_link_contract.h"
#include "platform/qt/exit_hooks.h"
#include "platform/qt/qt_hall_link.h"
#include "test_support.h"

namespace tallow::platform::qt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::PumpUntil;

struct Received {
  std::uint32_t msg, wParam, lParam;
};

int ConnectRaw(const std::string& caption) {
  const std::string path = hall_link::SocketPath(caption);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Writes the pieces with pauses between them, then reads until the listener closes (or 3 s).
Bytes RawExchange(const std::string& caption, const std::vector<Bytes>& pieces) {
  Bytes reply;
  int fd = ConnectRaw(caption);
  if (fd < 0) return {0xEE};
  for (const Bytes& piece : pieces) {
    if (!piece.empty() && ::send(fd, piece.data(), piece.size(), MSG_NOSIGNAL) < 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  ::shutdown(fd, SHUT_WR);
  timeval tv{3, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  std::uint8_t buf[64];
  for (ssize_t n; (n = ::recv(fd, buf, sizeof buf, 0)) > 0;)
    reply.insert(reply.end(), buf, buf + n);
  ::close(fd);
  return reply;
}

// Runs a blocking peer on its own thread while this thread handles the listener's events.
template <class F>
auto WhilePumping(F&& peer) {
  auto result = std::async(std::launch::async, std::forward<F>(peer));
  EXPECT_TRUE(PumpUntil(
      [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 6000));
  return result.get();
}

Bytes Frame(std::uint32_t kind, std::uint32_t msg, std::uint32_t w, std::uint32_t l) {
  auto f = hall_link::Encode({kind, msg, w, l});
  return Bytes(f.begin(), f.end());
}

std::vector<Bytes> Split(const Bytes& b, std::vector<std::size_t> sizes) {
  std::vector<Bytes> out;
  std::size_t at = 0;
  for (std::size_t n : sizes) {
    out.emplace_back(b.begin() + at, b.begin() + at + n);
    at += n;
  }
  return out;
}

class HallLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    caption_ = "测试窗口" + std::to_string(++serial);
    ASSERT_TRUE(link_.Listen(caption_, [this](std::uint32_t m, std::uint32_t w, std::uint32_t l) {
      received_.push_back({m, w, l});
      return result_;
    }));
  }
  std::string caption_;
  QtHallLink link_;
  std::vector<Received> received_;
  std::int32_t result_ = 0;
};

TEST_F(HallLinkTest, SendCarriesTheMessageAndReturnsTheHandlersResult) {
  for (std::int32_t result : {0, 1, -5, 0x7fffffff}) {
    result_ = result;
    received_.clear();
    auto got = WhilePumping([&] { return link_.Send(caption_, 0x303, 0xF120, 0xDEADBEEF); });
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, result);
    ASSERT_EQ(received_.size(), 1u);
    EXPECT_EQ(received_[0].msg, 0x303u);
    EXPECT_EQ(received_[0].wParam, 0xF120u);
    EXPECT_EQ(received_[0].lParam, 0xDEADBEEFu);
  }
}

TEST_F(HallLinkTest, RawPeersAreAnsweredByTheContract) {
  result_ = 0x01020304;
  const Bytes send = Frame(2, 0x16, 7, 9);
  const Bytes reply = {0x04, 0x03, 0x02, 0x01};
  struct Case {
    const char* what;
    std::vector<Bytes> pieces;
    std::size_t handled;
    Bytes reply;
  };
  Bytes tooLong = send;
  tooLong.insert(tooLong.end(), {1, 2, 3, 4, 5, 6});
  const std::vector<Case> cases = {
      {"send in one piece", {send}, 1, reply},
      {"send in two pieces", Split(send, {7, 9}), 1, reply},
      {"send byte by byte", Split(send, std::vector<std::size_t>(16, 1)), 1, reply},
      {"post: handled, nothing written back", {Frame(1, 0x455, 0, 0)}, 1, {}},
      {"bytes after the frame are ignored", {tooLong}, 1, reply},
      {"short frame, then the peer closes", Split(send, {10}), 0, {}},
      {"unknown kind", {Frame(3, 0x16, 0, 0)}, 0, {}},
      {"kind zero", {Frame(0, 0x16, 0, 0)}, 0, {}},
      {"nothing at all", {}, 0, {}},
  };
  for (const Case& c : cases) {
    received_.clear();
    const Bytes got = WhilePumping([&] { return RawExchange(caption_, c.pieces); });
    EXPECT_EQ(received_.size(), c.handled) << c.what;
    EXPECT_EQ(got, c.reply) << c.what;
  }
  // The listener still serves after all that.
  EXPECT_EQ(WhilePumping([&] { return link_.Send(caption_, 1, 2, 3); }), 0x01020304);
}

TEST_F(HallLinkTest, ASilentPeerDoesNotHoldUpOthers) {
  const int silent = ConnectRaw(caption_);
  ASSERT_GE(silent, 0);
  result_ = 42;
  EXPECT_EQ(WhilePumping([&] { return link_.Send(caption_, 1, 0, 0); }), 42);
  ::close(silent);
}

TEST_F(HallLinkTest, PostFromTheContractClientReachesTheHandler) {
  EXPECT_TRUE(WhilePumping([&] { return link_.Post(caption_, 0x465, 1, 2); }));
  ASSERT_TRUE(PumpUntil([&] { return received_.size() == 1; }));
  EXPECT_EQ(received_[0].msg, 0x465u);
}

TEST_F(HallLinkTest, StopListeningRemovesTheWindow) {
  EXPECT_TRUE(link_.FindWindow(caption_));
  link_.StopListening();
  EXPECT_FALSE(link_.FindWindow(caption_));
  EXPECT_FALSE(link_.Send(caption_, 1, 0, 0).has_value());
  struct stat st;
  EXPECT_NE(::stat(hall_link::SocketPath(caption_).c_str(), &st), 0);
}

TEST_F(HallLinkTest, AHandlerMayStopListeningAndStillAnswers) {
  link_.Listen(caption_, [this](std::uint32_t, std::uint32_t, std::uint32_t) {
    link_.StopListening();
    return 7;
  });
  EXPECT_EQ(WhilePumping([&] { return hall_link::SendMessage(caption_, 1, 0, 0); }), 7);
  EXPECT_FALSE(link_.FindWindow(caption_));
}

TEST_F(HallLinkTest, ExitHooksRemoveTheSocketFile) {
  struct stat st;
  ASSERT_EQ(::stat(hall_link::SocketPath(caption_).c_str(), &st), 0);
  RunExitHooks();
  EXPECT_NE(::stat(hall_link::SocketPath(caption_).c_str(), &st), 0);
}

TEST(HallLinkListen, AStaleSocketFileIsReplaced) {
  const std::string caption = "stale-window";
  const std::string path = hall_link::SocketPath(caption);
  // A socket file left behind by a process that died: bound, never listening, never removed.
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(fd);

  QtHallLink link;
  EXPECT_FALSE(link.FindWindow(caption));
  ASSERT_TRUE(link.Listen(caption, [](std::uint32_t m, std::uint32_t, std::uint32_t) {
    return static_cast<std::int32_t>(m);
  }));
  EXPECT_TRUE(link.FindWindow(caption));
  EXPECT_EQ(WhilePumping([&] { return link.Send(caption, 99, 0, 0); }), 99);
}

TEST(HallLinkListen, ACaptionTooLongForASocketPathIsRefused) {
  QtHallLink link;
  const std::string caption(80, 'x');  // 160 hex digits: beyond any Unix socket path
  EXPECT_FALSE(link.Listen(caption, [](std::uint32_t, std::uint32_t, std::uint32_t) { return 0; }));
  EXPECT_FALSE(link.FindWindow(caption));
  EXPECT_FALSE(link.Send(caption, 1, 0, 0).has_value());
}

TEST(HallLinkListen, ListeningUnderANewCaptionLeavesTheOldOne) {
  QtHallLink link;
  auto handler = [](std::uint32_t, std::uint32_t, std::uint32_t) { return 0; };
  ASSERT_TRUE(link.Listen("first caption", handler));
  ASSERT_TRUE(link.Listen("second caption", handler));
  EXPECT_FALSE(link.FindWindow("first caption"));
  EXPECT_TRUE(link.FindWindow("second caption"));
}

}  // namespace
}  // namespace tallow::platform::qt
