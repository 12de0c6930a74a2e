#include "front/tcp_front.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace tallow::server {

namespace {

constexpr std::size_t kMaxLine = 1024;
constexpr std::size_t kMaxOutBytes = 4 << 20;  // a peer that reads nothing is cut off
constexpr std::int64_t kAcceptPauseMs = 100;   // after accept failed for want of descriptors

std::int64_t MonotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int OpenListener(const std::string& bind, int port, int& actual, std::string& error) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  if (inet_pton(AF_INET, bind.c_str(), &addr.sin_addr) != 1) {
    error = "bad bind address " + bind;
    return -1;
  }
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = std::string("socket: ") + std::strerror(errno);
    return -1;
  }
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(fd, SOMAXCONN) != 0) {
    error = "listen on " + bind + ":" + std::to_string(port) + ": " + std::strerror(errno);
    close(fd);
    return -1;
  }
  socklen_t len = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  actual = ntohs(addr.sin_port);
  return fd;
}

}  // namespace

long RaiseOpenFileLimit() {
  rlimit lim{};
  if (getrlimit(RLIMIT_NOFILE, &lim) != 0) return -1;
  if (lim.rlim_cur < lim.rlim_max) {
    lim.rlim_cur = lim.rlim_max;
    setrlimit(RLIMIT_NOFILE, &lim);
    getrlimit(RLIMIT_NOFILE, &lim);
  }
  return lim.rlim_cur == RLIM_INFINITY ? -1 : static_cast<long>(lim.rlim_cur);
}

TcpFront::TcpFront(Server& core) : core_(core) {
  core_.SetSink([this](const Output& o) { OnOutput(o); });
}

TcpFront::~TcpFront() {
  core_.SetSink(nullptr);
  for (auto& [id, p] : peers_) close(p.fd);
  if (listenFd_ >= 0) close(listenFd_);
  if (seatFd_ >= 0) close(seatFd_);
}

bool TcpFront::Listen(const std::string& bind, int port, int seatPort, std::string& error) {
  listenFd_ = OpenListener(bind, port, port_, error);
  if (listenFd_ < 0) return false;
  if (seatPort != 0) {
    seatFd_ = OpenListener(bind, seatPort < 0 ? 0 : seatPort, seatPort_, error);
    if (seatFd_ < 0) return false;
  }
  return true;
}

void TcpFront::Run(const std::atomic<bool>& stop) {
  while (!stop.load()) Poll(50);
}

void TcpFront::Tick() {
  const std::int64_t now = MonotonicMs();
  if (lastMs_ < 0) lastMs_ = now;
  if (now > lastMs_) {
    core_.Advance(now - lastMs_);
    lastMs_ = now;
  }
  ReportLost();
}

void TcpFront::ReportLost() {
  while (!lost_.empty()) {
    const int id = lost_.back();
    lost_.pop_back();
    CloseNow(id, true);
  }
}

void TcpFront::Poll(int timeoutMs) {
  std::vector<pollfd> fds;
  std::vector<int> ids;
  const std::int64_t pausedFor = acceptPausedUntilMs_ - MonotonicMs();
  if (pausedFor > 0) {
    timeoutMs = static_cast<int>(std::min<std::int64_t>(timeoutMs, pausedFor));
  } else {
    fds.push_back({listenFd_, POLLIN, 0});
    ids.push_back(-1);
    if (seatFd_ >= 0) {
      fds.push_back({seatFd_, POLLIN, 0});
      ids.push_back(-2);
    }
  }
  for (const auto& [id, p] : peers_) {
    short ev = POLLIN;
    if (!p.out.empty()) ev |= POLLOUT;
    fds.push_back({p.fd, ev, 0});
    ids.push_back(id);
  }
  const int n = poll(fds.data(), fds.size(), timeoutMs);
  Tick();
  if (n > 0) Serve(fds, ids);
  FlushWritten();
}

void TcpFront::Serve(const std::vector<pollfd>& fds, const std::vector<int>& ids) {
  for (std::size_t i = 0; i < fds.size(); ++i) {
    if (fds[i].revents == 0) continue;
    const int id = ids[i];
    if (id == -1) {
      Accept(listenFd_, false);
      continue;
    }
    if (id == -2) {
      Accept(seatFd_, true);
      continue;
    }
    if (!peers_.count(id)) continue;
    if (fds[i].revents & POLLOUT) WriteTo(id);
    if (peers_.count(id) && (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) ReadFrom(id);
  }
}

void TcpFront::Accept(int listenFd, bool seating) {
  for (;;) {
    const int fd = accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == ECONNABORTED || errno == EINTR) continue;
      // Out of descriptors (or memory): the connection stays in the queue and the listener
      // stays readable. Polling it again at once would spin; try again a little later.
      if (errno != EAGAIN && errno != EWOULDBLOCK) {
        acceptPausedUntilMs_ = MonotonicMs() + kAcceptPauseMs;
      }
      return;
    }
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const int id = nextId_++;
    if (nextId_ <= 0) nextId_ = 1;
    Peer p;
    p.fd = fd;
    p.seating = seating;
    peers_[id] = std::move(p);
    if (!seating) core_.Connect(id);
  }
}

void TcpFront::ReadFrom(int id) {
  std::uint8_t buf[4096];
  for (;;) {
    auto it = peers_.find(id);
    if (it == peers_.end()) return;
    const ssize_t got = recv(it->second.fd, buf, sizeof buf, 0);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
      CloseNow(id, true);
      return;
    }
    if (got < 0) return;
    Peer& p = it->second;
    p.in.insert(p.in.end(), buf, buf + got);
    if (p.seating) {
      for (;;) {
        auto nl = std::find(p.in.begin(), p.in.end(), '\n');
        if (nl == p.in.end()) {
          if (p.in.size() > kMaxLine) {
            CloseNow(id, false);
            return;
          }
          break;
        }
        std::string line(p.in.begin(), nl);
        p.in.erase(p.in.begin(), nl + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string reply = core_.Command(line) + "\n";
        ReportLost();
        if (!peers_.count(id)) return;
        p.out.insert(p.out.end(), reply.begin(), reply.end());
      }
      queued_.push_back(id);
      continue;
    }
    // Whole records only; a partial one waits for the rest.
    std::size_t used = 0;
    while (p.in.size() - used >= protocol::kRecordSize) {
      protocol::Record rec;
      std::copy_n(p.in.begin() + static_cast<std::ptrdiff_t>(used), rec.size(), rec.begin());
      used += rec.size();
      core_.Receive(id, rec);
      ReportLost();
      if (!peers_.count(id) || peers_[id].closing) return;  // closed meanwhile
    }
    auto& q = peers_[id].in;
    q.erase(q.begin(), q.begin() + static_cast<std::ptrdiff_t>(used));
  }
}

void TcpFront::WriteTo(int id) {
  auto it = peers_.find(id);
  if (it == peers_.end()) return;
  Peer& p = it->second;
  while (!p.out.empty()) {
    const ssize_t sent = send(p.fd, p.out.data(), p.out.size(), MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return;
      CloseNow(id, !p.seating);
      return;
    }
    p.out.erase(p.out.begin(), p.out.begin() + sent);
  }
  if (p.closing) CloseNow(id, false);
}

void TcpFront::CloseNow(int id, bool tellCore) {
  auto it = peers_.find(id);
  if (it == peers_.end()) return;
  close(it->second.fd);
  const bool seating = it->second.seating;
  peers_.erase(it);
  if (tellCore && !seating) core_.Disconnect(id);
}

void TcpFront::OnOutput(const Output& o) {
  auto it = peers_.find(o.conn);
  if (it == peers_.end()) return;
  Peer& p = it->second;
  if (o.close) {
    // The core has already forgotten the connection: flush what is queued, then close.
    p.closing = true;
    WriteTo(o.conn);
    return;
  }
  if (p.closing) return;
  if (p.out.size() > kMaxOutBytes) {
    // Called from inside the core: the core hears of it once the current call has returned.
    p.closing = true;
    p.out.clear();
    lost_.push_back(o.conn);
    return;
  }
  if (p.out.empty()) queued_.push_back(o.conn);
  p.out.insert(p.out.end(), o.rec.begin(), o.rec.end());
}

void TcpFront::FlushWritten() {
  // WriteTo may close peers and so queue no more; swap first so the list is not changed while
  // it is walked.
  std::vector<int> ids;
  ids.swap(queued_);
  for (int id : ids) WriteTo(id);
}

}  // namespace tallow::server
