#include "front/tcp_front.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
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
constexpr std::int64_t kAcceptPauseMs = 100;    // after accept failed for want of descriptors
constexpr std::int64_t kCloseFlushMs = 10'000;  // a peer told to close has this long to read
constexpr int kEventsPerWait = 512;
constexpr int kAcceptsPerPass = 64;
constexpr int kSendBufferBytes = 64 << 10;
constexpr int kReadsPerPass = 4;  // of 64 kB: one fast sender cannot hold the others up
// Records a seat is expected to act on (or that end its wait): sent at the end of the pass.
bool CallsForAnswer(std::uint8_t type) {
  switch (static_cast<protocol::MsgType>(type)) {
    case protocol::MsgType::OperationOffer:
    case protocol::MsgType::HandResult:
    case protocol::MsgType::SeatScore:
    case protocol::MsgType::SeatPlayer:
    case protocol::MsgType::SeatEvent:
    case protocol::MsgType::PlayerQuit:
    case protocol::MsgType::LoginResult:
    case protocol::MsgType::ReconnectResult:
      return true;
    default:
      return false;
  }
}

// epoll tags of the listeners; peers are tagged with their ids.
constexpr std::uint64_t kListenTag = std::uint64_t{1} << 32;
constexpr std::uint64_t kSeatTag = std::uint64_t{2} << 32;

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

TcpFront::TcpFront(Server& core, FrontLimits limits)
    : core_(core), limits_(limits), epollFd_(epoll_create1(EPOLL_CLOEXEC)) {
  core_.SetSink([this](const Output& o) { OnOutput(o); });
}

TcpFront::~TcpFront() {
  core_.SetSink(nullptr);
  for (auto& [id, p] : peers_) close(p.fd);
  if (listenFd_ >= 0) close(listenFd_);
  if (seatFd_ >= 0) close(seatFd_);
  if (epollFd_ >= 0) close(epollFd_);
}

bool TcpFront::Listen(const std::string& bind, int port, int seatPort, std::string& error) {
  if (epollFd_ < 0) {
    error = std::string("epoll: ") + std::strerror(errno);
    return false;
  }
  listenFd_ = OpenListener(bind, port, port_, error);
  if (listenFd_ < 0) return false;
  epoll_event ev{};
  ev.events = EPOLLIN;
  ev.data.u64 = kListenTag;
  epoll_ctl(epollFd_, EPOLL_CTL_ADD, listenFd_, &ev);
  if (seatPort != 0) {
    seatFd_ = OpenListener(bind, seatPort < 0 ? 0 : seatPort, seatPort_, error);
    if (seatFd_ < 0) return false;
    ev.data.u64 = kSeatTag;
    epoll_ctl(epollFd_, EPOLL_CTL_ADD, seatFd_, &ev);
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
    CloseNow(id, true, true);
  }
}

// The wait until the first thing that falls due: the core's next limit, a peer's, the end of
// an accept pause.
int TcpFront::WaitMs(int timeoutMs) const {
  const std::int64_t now = MonotonicMs();
  std::int64_t wait = timeoutMs;
  if (const std::int64_t due = core_.NextDue(); due != INT64_MAX) {
    const std::int64_t coreNow = core_.Now() + (lastMs_ < 0 ? 0 : now - lastMs_);
    wait = std::min(wait, due - coreNow);
  }
  if (!late_.empty()) wait = std::min(wait, late_.top().at - now);
  if (acceptPaused_) wait = std::min(wait, acceptPausedUntilMs_ - now);
  return static_cast<int>(std::clamp<std::int64_t>(wait, 0, timeoutMs));
}

void TcpFront::Poll(int timeoutMs) {
  ++pass_;
  if (acceptPaused_ && MonotonicMs() >= acceptPausedUntilMs_) PauseAccepting(false);
  epoll_event events[kEventsPerWait];
  const int n = epoll_wait(epollFd_, events, kEventsPerWait, WaitMs(timeoutMs));
  Tick();
  bool toAccept = false, toAcceptSeating = false;
  for (int i = 0; i < n; ++i) {
    const std::uint64_t tag = events[i].data.u64;
    if (tag == kListenTag || tag == kSeatTag) {
      (tag == kListenTag ? toAccept : toAcceptSeating) = true;
      continue;
    }
    const int id = static_cast<int>(tag);
    auto it = peers_.find(id);
    if (it == peers_.end()) continue;
    const std::uint32_t ev = events[i].events;
    if (it->second.closing && (ev & (EPOLLHUP | EPOLLERR))) {
      CloseNow(id, false);
      continue;
    }
    if (ev & EPOLLOUT) WriteTo(id);
    it = peers_.find(id);
    if (it != peers_.end() && !it->second.closing && (ev & (EPOLLIN | EPOLLHUP | EPOLLERR))) {
      ReadFrom(id);
    }
  }
  CutOffLate(MonotonicMs());
  FlushWritten();
  // New connections after the answers of this pass are out: a burst of them (a flood) delays
  // the players' records by at most one bounded round of accepts.
  if (toAccept && !acceptPaused_) Accept(listenFd_, false);
  if (toAcceptSeating && !acceptPaused_) Accept(seatFd_, true);
}

void TcpFront::PauseAccepting(bool paused) {
  acceptPaused_ = paused;
  if (paused) acceptPausedUntilMs_ = MonotonicMs() + kAcceptPauseMs;
  for (auto [fd, tag] : {std::pair{listenFd_, kListenTag}, std::pair{seatFd_, kSeatTag}}) {
    if (fd < 0) continue;
    epoll_event ev{};
    ev.events = paused ? 0u : static_cast<std::uint32_t>(EPOLLIN);
    ev.data.u64 = tag;
    epoll_ctl(epollFd_, EPOLL_CTL_MOD, fd, &ev);
  }
}

void TcpFront::Accept(int listenFd, bool seating) {
  for (int k = 0; k < kAcceptsPerPass; ++k) {
    const int fd = accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == ECONNABORTED || errno == EINTR) continue;
      // Out of descriptors (or memory): the connection stays in the queue and the listener
      // stays readable. Waiting on it again at once would spin; try again a little later.
      if (errno != EAGAIN && errno != EWOULDBLOCK) PauseAccepting(true);
      return;
    }
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    // A fixed send buffer: what a peer leaves unread costs the kernel a bounded amount too.
    const int sendBuffer = kSendBufferBytes;
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
    const int id = nextId_++;
    if (nextId_ <= 0) nextId_ = 1;
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.u64 = static_cast<std::uint32_t>(id);
    if (epoll_ctl(epollFd_, EPOLL_CTL_ADD, fd, &ev) != 0) {
      close(fd);
      continue;
    }
    Peer& p = peers_[id];
    p.fd = fd;
    p.seating = seating;
    if (!seating) core_.Connect(id);
  }
}

void TcpFront::ReadFrom(int id) {
  std::uint8_t buf[64 << 10];
  for (int reads = 0; reads < kReadsPerPass; ++reads) {
    auto it = peers_.find(id);
    if (it == peers_.end()) return;
    Peer& p = it->second;
    const ssize_t got = recv(p.fd, buf, sizeof buf, 0);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
      CloseNow(id, true);
      return;
    }
    if (got < 0) return;
    p.in.insert(p.in.end(), buf, buf + got);
    if (!(p.seating ? ReadLines(id, p) : ReadRecords(id, p))) return;
    // A short read emptied the socket; a full one may have left more.
    if (static_cast<std::size_t>(got) < sizeof buf) return;
  }
}

// Whole records only; a partial one waits for the rest, but not for ever.
bool TcpFront::ReadRecords(int id, Peer& p) {
  std::size_t used = 0;
  while (p.in.size() - used >= protocol::kRecordSize) {
    protocol::Record rec;
    std::copy_n(p.in.begin() + static_cast<std::ptrdiff_t>(used), rec.size(), rec.begin());
    used += rec.size();
    p.spokePass = pass_;
    core_.Receive(id, rec);
    ReportLost();
    // Other peers may have gone meanwhile; p stays valid while its own entry does.
    auto it = peers_.find(id);
    if (it == peers_.end() || it->second.closing) return false;
  }
  p.in.erase(p.in.begin(), p.in.begin() + static_cast<std::ptrdiff_t>(used));
  if (p.in.empty()) {
    p.partialSince = -1;
  } else if (used > 0 || p.partialSince < 0) {
    p.partialSince = MonotonicMs();
    WatchPartial(id, p);
  }
  return true;
}

// One pending check a peer; when it comes up early (the record was finished and another
// begun) it is set again for the record now unfinished.
void TcpFront::WatchPartial(int id, Peer& p) {
  if (p.partialWatched) return;
  p.partialWatched = true;
  late_.push({p.partialSince + limits_.partialRecordMs, id, LateKind::Partial});
}

bool TcpFront::ReadLines(int id, Peer& p) {
  for (;;) {
    auto nl = std::find(p.in.begin(), p.in.end(), '\n');
    if (nl == p.in.end()) break;
    std::string line(p.in.begin(), nl);
    p.in.erase(p.in.begin(), nl + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string reply = core_.Command(line) + "\n";
    ReportLost();
    if (!peers_.count(id)) return false;
    if (!p.urgent) queued_.push_back(id);
    p.urgent = true;
    p.out.insert(p.out.end(), reply.begin(), reply.end());
    p.partialSince = -1;
  }
  if (p.in.size() > kMaxLine) {
    CloseNow(id, false);
    return false;
  }
  if (!p.in.empty() && p.partialSince < 0) {
    p.partialSince = MonotonicMs();
    WatchPartial(id, p);
  }
  return true;
}

// Readable unless closing; writable asked for only while a send could not take everything.
void TcpFront::SetInterest(int id, Peer& p, bool write) {
  const std::uint32_t want = (p.closing ? 0u : static_cast<std::uint32_t>(EPOLLIN)) |
                             (write ? static_cast<std::uint32_t>(EPOLLOUT) : 0u);
  if (want == p.interest) return;
  p.interest = want;
  epoll_event ev{};
  ev.events = want;
  ev.data.u64 = static_cast<std::uint32_t>(id);
  epoll_ctl(epollFd_, EPOLL_CTL_MOD, p.fd, &ev);
}

void TcpFront::WriteTo(int id) {
  auto it = peers_.find(id);
  if (it == peers_.end()) return;
  Peer& p = it->second;
  while (p.outSent < p.out.size()) {
    const ssize_t sent =
        send(p.fd, p.out.data() + p.outSent, p.out.size() - p.outSent, MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        SetInterest(id, p, true);
        return;
      }
      CloseNow(id, !p.seating);
      return;
    }
    p.outSent += static_cast<std::size_t>(sent);
  }
  if (p.out.capacity() > (64 << 10)) {
    std::vector<std::uint8_t>().swap(p.out);  // a burst is over: give its memory back
  } else {
    p.out.clear();
  }
  p.outSent = 0;
  p.urgent = false;
  p.holdUntil = -1;
  SetInterest(id, p, false);
  if (p.closing) CloseNow(id, false);
}

// abort: the peer misbehaved; a reset frees the connection at once, whatever it left unread.
void TcpFront::CloseNow(int id, bool tellCore, bool abort) {
  auto it = peers_.find(id);
  if (it == peers_.end()) return;
  if (abort) {
    const linger reset{1, 0};
    setsockopt(it->second.fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
  }
  close(it->second.fd);  // also leaves the epoll set
  const bool seating = it->second.seating;
  peers_.erase(it);
  if (tellCore && !seating) core_.Disconnect(id);
}

void TcpFront::OnOutput(const Output& o) {
  auto it = peers_.find(o.conn);
  if (it == peers_.end()) return;
  Peer& p = it->second;
  if (o.close) {
    // The core has already forgotten the connection: flush what is queued, then close; a peer
    // that does not take its last records in time is cut off.
    p.closing = true;
    late_.push({lastMs_ + kCloseFlushMs, o.conn, LateKind::Close});
    if (!p.urgent) queued_.push_back(o.conn);
    p.urgent = true;
    return;
  }
  if (p.closing) return;
  if (p.out.size() - p.outSent + o.rec.size() > limits_.maxOutBytes) {
    // It reads nothing. Called from inside the core: the core hears of it once the current
    // call has returned.
    p.closing = true;
    p.out.clear();
    p.outSent = 0;
    lost_.push_back(o.conn);
    return;
  }
  const bool idle = p.out.size() == p.outSent;
  p.out.insert(p.out.end(), o.rec.begin(), o.rec.end());
  if (p.urgent) return;
  if (limits_.informHoldMs <= 0 || p.spokePass == pass_ ||
      CallsForAnswer(o.rec[protocol::off::kType])) {
    p.urgent = true;
    queued_.push_back(o.conn);
  } else if (idle && p.holdUntil < 0) {
    p.holdUntil = lastMs_ + limits_.informHoldMs;
    late_.push({p.holdUntil, o.conn, LateKind::News});
  }
}

// News that has waited long enough, peers whose unfinished record waited too long, and closes
// that were not taken in time.
void TcpFront::CutOffLate(std::int64_t now) {
  while (!late_.empty() && late_.top().at <= now) {
    const Late due = late_.top();
    late_.pop();
    auto it = peers_.find(due.id);
    if (it == peers_.end()) continue;
    Peer& p = it->second;
    switch (due.kind) {
      case LateKind::Close:
        if (p.closing) CloseNow(due.id, false, true);
        break;
      case LateKind::News:
        if (!p.closing && p.holdUntil >= 0 && p.holdUntil <= now) WriteTo(due.id);
        break;
      case LateKind::Partial:
        p.partialWatched = false;
        if (p.closing || p.partialSince < 0) break;
        if (now - p.partialSince >= limits_.partialRecordMs) {
          CloseNow(due.id, true, true);
          ReportLost();
        } else {
          WatchPartial(due.id, p);
        }
        break;
    }
  }
}

void TcpFront::FlushWritten() {
  // WriteTo may close peers and so queue no more; swap first so the list is not changed while
  // it is walked. Closes come last: the records of the others go out first.
  std::vector<int> ids;
  ids.swap(queued_);
  std::vector<int> closes;
  for (int id : ids) {
    auto it = peers_.find(id);
    if (it == peers_.end()) continue;
    if (it->second.closing) {
      closes.push_back(id);
    } else {
      WriteTo(id);
    }
  }
  for (int id : closes) WriteTo(id);
}

}  // namespace tallow::server
