#include "seating_client.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <sstream>

namespace tallow::hall {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kMaxReply = 64 * 1024;

int MsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(left);
}

// Waits for `events` on fd until the deadline; false on time-out or error.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    const int left = MsLeft(deadline);
    if (left == 0) return false;
    pollfd p{fd, events, 0};
    const int r = ::poll(&p, 1, left);
    if (r < 0 && errno == EINTR) continue;
    return r > 0;
  }
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// A non-blocking connect to one address, finished within the deadline; -1 on failure.
int ConnectOne(const addrinfo& ai, Clock::time_point deadline) {
  const int fd =
      ::socket(ai.ai_family, ai.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, ai.ai_protocol);
  if (fd < 0) return -1;
  if (::connect(fd, ai.ai_addr, ai.ai_addrlen) == 0) return fd;
  if (errno == EINPROGRESS && WaitFor(fd, POLLOUT, deadline)) {
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0) return fd;
  }
  ::close(fd);
  return -1;
}

SeatingReply Fail(const std::string& why) {
  return {false, why};
}

}  // namespace

SeatingReply SeatingCommand(const std::string& host, int port, const std::string& command,
                            int timeoutMs) {
  if (command.find_first_of("\r\n") != std::string::npos) return Fail("a command is one line");
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);

  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || found == nullptr) {
    return Fail("cannot resolve " + host);
  }
  int raw = -1;
  for (const addrinfo* ai = found; ai != nullptr && raw < 0; ai = ai->ai_next) {
    raw = ConnectOne(*ai, deadline);
  }
  ::freeaddrinfo(found);
  if (raw < 0) return Fail("no seating interface at " + host + ":" + service);
  Fd fd(raw);

  const std::string out = command + "\n";
  std::size_t sent = 0;
  while (sent < out.size()) {
    if (!WaitFor(fd.get(), POLLOUT, deadline)) return Fail("the seating interface does not read");
    const ssize_t n = ::send(fd.get(), out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return Fail("the seating interface closed the connection");
    sent += static_cast<std::size_t>(n);
  }

  std::string reply;
  for (;;) {
    const auto nl = reply.find('\n');
    if (nl != std::string::npos) {
      reply.resize(nl);
      break;
    }
    if (reply.size() > kMaxReply) return Fail("the seating reply is too long");
    if (!WaitFor(fd.get(), POLLIN, deadline)) return Fail("no answer from the seating interface");
    char buf[4096];
    const ssize_t n = ::recv(fd.get(), buf, sizeof buf, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0) return Fail("the seating interface failed");
    if (n == 0) {
      if (reply.empty()) return Fail("the seating interface closed without an answer");
      break;  // a last line without its newline
    }
    reply.append(buf, static_cast<std::size_t>(n));
  }
  if (!reply.empty() && reply.back() == '\r') reply.pop_back();
  const bool ok = reply == "ok" || reply.rfind("ok ", 0) == 0;
  return {ok, reply};
}

std::string SeatCommand(const std::string& account, int table, int seat) {
  return "seat " + account + " " + std::to_string(table) + " " + std::to_string(seat);
}

std::string RobotCommand(int table, int seat) {
  return "robot " + std::to_string(table) + " " + std::to_string(seat);
}

std::string WatchCommand(const std::string& account, const std::string& target) {
  return "watch " + account + " " + target;
}

std::string UserIdCommand(const std::string& account) {
  return "userid " + account;
}

std::vector<TableSeats> ParseTables(const std::string& reply) {
  std::vector<TableSeats> tables;
  std::istringstream in(reply);
  std::string word;
  if (!(in >> word) || word != "ok") return tables;
  while (in >> word) {
    // N:a0,a1,a2,a3:state
    const auto c1 = word.find(':');
    const auto c2 = word.rfind(':');
    if (c1 == std::string::npos || c2 == c1) continue;
    const std::string number = word.substr(0, c1);
    if (number.empty() || number.size() > 6 ||
        number.find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    TableSeats t;
    t.table = std::stoi(number);
    t.playing = word.substr(c2 + 1) == "playing";
    std::istringstream seats(word.substr(c1 + 1, c2 - c1 - 1));
    std::string account;
    std::size_t k = 0;
    bool good = true;
    while (std::getline(seats, account, ',')) {
      if (k >= t.accounts.size() || account.empty()) {
        good = false;
        break;
      }
      t.accounts[k++] = account == "-" ? "" : account;
    }
    if (good && k == t.accounts.size()) tables.push_back(t);
  }
  return tables;
}

std::optional<long long> ParseUserId(const std::string& reply) {
  std::istringstream in(reply);
  std::string ok, number, rest;
  if (!(in >> ok >> number) || ok != "ok" || (in >> rest)) return std::nullopt;
  if (number.empty() || number.size() > 12 ||
      number.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const long long id = std::stoll(number);
  if (id <= 0) return std::nullopt;
  return id;
}

}  // namespace tallow::hall
