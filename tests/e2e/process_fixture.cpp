#include "process_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace tallow::e2e {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
  auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left);
}

bool WaitReadable(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, timeoutMs) > 0;
}

}  // namespace

TempDir::TempDir() {
  char tmpl[] = "/tmp/tallow-e2e-XXXXXX";
  if (::mkdtemp(tmpl) == nullptr) throw std::runtime_error("mkdtemp");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

LoopbackListener::LoopbackListener() {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      ::listen(listenFd_, 4) != 0) {
    throw std::runtime_error("listen");
  }
  socklen_t len = sizeof a;
  ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&a), &len);
  port_ = ntohs(a.sin_port);
}

LoopbackListener::~LoopbackListener() {
  if (conn_ >= 0) ::close(conn_);
  if (listenFd_ >= 0) ::close(listenFd_);
}

bool LoopbackListener::Accept(int timeoutMs) {
  if (!WaitReadable(listenFd_, timeoutMs)) return false;
  conn_ = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
  return conn_ >= 0;
}

std::vector<std::uint8_t> LoopbackListener::Read(std::size_t n, int timeoutMs) {
  std::vector<std::uint8_t> out;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (out.size() < n && conn_ >= 0) {
    if (!WaitReadable(conn_, MsLeft(deadline))) return {};
    std::uint8_t buf[512];
    const ssize_t got = ::recv(conn_, buf, std::min(sizeof buf, n - out.size()), 0);
    if (got <= 0) return {};
    out.insert(out.end(), buf, buf + got);
  }
  return out;
}

bool LoopbackListener::Write(const std::vector<std::uint8_t>& bytes) {
  return conn_ >= 0 && ::send(conn_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
                           static_cast<ssize_t>(bytes.size());
}

HallWindow::HallWindow(const std::string& caption)
    : path_(platform::hall_link::SocketPath(caption)) {
  ::unlink(path_.c_str());
  fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::strncpy(a.sun_path, path_.c_str(), sizeof a.sun_path - 1);
  if (::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd_, 8) != 0) {
    throw std::runtime_error("hall listen");
  }
}

HallWindow::~HallWindow() {
  ::close(fd_);
  ::unlink(path_.c_str());
}

void HallWindow::HandleOne(int timeoutMs) {
  if (!WaitReadable(fd_, timeoutMs)) return;
  const int conn = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
  if (conn < 0) return;
  std::array<std::uint8_t, 16> bytes{};
  std::size_t got = 0;
  while (got < bytes.size() && WaitReadable(conn, 2000)) {
    const ssize_t n = ::recv(conn, bytes.data() + got, bytes.size() - got, 0);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got == bytes.size()) {
    const auto frame = platform::hall_link::Decode(bytes);
    frames.push_back(frame);
    if (frame.kind == platform::hall_link::kSend) {
      const auto result = platform::hall_link::EncodeResult(0);
      ::send(conn, result.data(), result.size(), MSG_NOSIGNAL);
    }
  }
  ::close(conn);
}

std::optional<platform::hall_link::Frame> HallWindow::WaitFor(std::uint32_t kind, std::uint32_t msg,
                                                              int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    for (const auto& f : frames) {
      if (f.kind == kind && f.msg == msg) return f;
    }
    const int left = MsLeft(deadline);
    if (left == 0) return std::nullopt;
    HandleOne(left);
  }
}

Child::Child(const std::string& program, const std::vector<std::string>& args,
             const std::vector<std::string>& env) {
  pid_ = ::fork();
  if (pid_ == 0) {
    for (const auto& e : env) ::putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
}

Child::~Child() {
  Kill();
}

void Child::Kill() {
  if (pid_ > 0 && !reaped_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    reaped_ = true;
  }
}

std::optional<int> Child::Wait(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!reaped_) {
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      reaped_ = true;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (MsLeft(deadline) == 0) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return std::nullopt;
}

}  // namespace tallow::e2e
