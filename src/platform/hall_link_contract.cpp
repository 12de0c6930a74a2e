#include "platform/hall_link_contract.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace tallow::platform::hall_link {
namespace {

void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t Get32(const std::uint8_t* p) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
  return v;
}

// Connects to the window's socket; -1 when it does not exist.
int ConnectTo(const std::string& caption) {
  const std::string path = SocketPath(caption);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof(addr.sun_path)) return -1;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool WriteAll(int fd, const std::uint8_t* p, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::send(fd, p, n, MSG_NOSIGNAL);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

}  // namespace

std::string RuntimeDir() {
  for (const char* var : {"TALLOW_RUNTIME_DIR", "XDG_RUNTIME_DIR"}) {
    const char* v = std::getenv(var);
    if (v != nullptr && *v != '\0') return v;
  }
  return "/tmp";
}

std::string SocketName(const std::string& caption) {
  static const char* kHex = "0123456789abcdef";
  std::string name = "tallow-wnd-";
  for (unsigned char c : caption) {
    name += kHex[c >> 4];
    name += kHex[c & 15];
  }
  return name;
}

std::string SocketPath(const std::string& caption) {
  return RuntimeDir() + "/" + SocketName(caption);
}

std::array<std::uint8_t, 16> Encode(const Frame& f) {
  std::array<std::uint8_t, 16> b{};
  Put32(b.data(), f.kind);
  Put32(b.data() + 4, f.msg);
  Put32(b.data() + 8, f.wParam);
  Put32(b.data() + 12, f.lParam);
  return b;
}

Frame Decode(const std::array<std::uint8_t, 16>& b) {
  return Frame{Get32(b.data()), Get32(b.data() + 4), Get32(b.data() + 8), Get32(b.data() + 12)};
}

std::array<std::uint8_t, 4> EncodeResult(std::int32_t result) {
  std::array<std::uint8_t, 4> b{};
  Put32(b.data(), static_cast<std::uint32_t>(result));
  return b;
}

std::int32_t DecodeResult(const std::array<std::uint8_t, 4>& b) {
  return static_cast<std::int32_t>(Get32(b.data()));
}

bool WindowExists(const std::string& caption) {
  int fd = ConnectTo(caption);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool PostMessage(const std::string& caption, std::uint32_t msg, std::uint32_t wParam,
                 std::uint32_t lParam) {
  int fd = ConnectTo(caption);
  if (fd < 0) return false;
  auto frame = Encode({kPost, msg, wParam, lParam});
  bool ok = WriteAll(fd, frame.data(), frame.size());
  ::close(fd);
  return ok;
}

std::optional<std::int32_t> SendMessage(const std::string& caption, std::uint32_t msg,
                                        std::uint32_t wParam, std::uint32_t lParam, int timeoutMs) {
  int fd = ConnectTo(caption);
  if (fd < 0) return std::nullopt;
  auto frame = Encode({kSend, msg, wParam, lParam});
  if (!WriteAll(fd, frame.data(), frame.size())) {
    ::close(fd);
    return std::nullopt;
  }
  std::array<std::uint8_t, 4> result{};
  std::size_t got = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (got < result.size()) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    if (left <= 0) break;
    pollfd pfd{fd, POLLIN, 0};
    int r = ::poll(&pfd, 1, static_cast<int>(left));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    ssize_t n = ::recv(fd, result.data() + got, result.size() - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  if (got < result.size()) return std::nullopt;
  return DecodeResult(result);
}

}  // namespace tallow::platform::hall_link
