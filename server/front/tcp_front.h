// The TCP front: POSIX sockets and epoll on one thread. Frames 272-byte records from each
// stream, feeds them to the core, writes the core's records back, and serves the seating
// interface (one text command a line, one reply line) on a second port. Sockets have
// TCP_NODELAY; the records a peer gets in one pass of the loop go out in one send. Only the
// descriptors that are ready cost anything: idle connections are not looked at.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/server.h"

namespace tallow::server {

// Raises the soft limit of open files to the hard limit (a server of many tables needs more
// than the usual 1024 descriptors); returns the soft limit now in force.
long RaiseOpenFileLimit();

// How long and how much a peer may hold the front up before it is cut off.
struct FrontLimits {
  std::int64_t partialRecordMs = 10'000;  // a record (or seating line) begun and not finished
  std::size_t maxOutBytes = 256 << 10;    // output the peer has not taken
  // Records that only tell a seat of the others' moves wait this long for company (0: never);
  // what a seat must answer, and the answer to what it sent, goes at once. A fifth of the
  // client's 50 ms tick: too short for a player to see, long enough to gather a turn's news
  // when tables play fast.
  std::int64_t informHoldMs = 10;
};

class TcpFront {
 public:
  explicit TcpFront(Server& core, FrontLimits limits = {});
  ~TcpFront();
  TcpFront(const TcpFront&) = delete;
  TcpFront& operator=(const TcpFront&) = delete;

  // Opens the listening sockets; port 0 picks a free port. seatPort 0: no seating interface.
  bool Listen(const std::string& bind, int port, int seatPort, std::string& error);
  int port() const { return port_; }
  int seatPort() const { return seatPort_; }

  // Serves until stop becomes true. The core's clock follows the monotonic clock.
  void Run(const std::atomic<bool>& stop);
  // One wait for events (at most timeoutMs) and their handling, for callers that drive the
  // loop themselves.
  void Poll(int timeoutMs);

 private:
  struct Peer {
    int fd = -1;
    bool seating = false;
    std::vector<std::uint8_t> in;
    std::vector<std::uint8_t> out;
    std::size_t outSent = 0;         // bytes of out already written
    std::uint32_t interest = 1;      // the epoll events asked for (EPOLLIN at first)
    bool closing = false;            // close once out is written
    bool urgent = false;             // out holds something to send at the end of the pass
    std::int64_t holdUntil = -1;     // out holds only news, to be sent by then
    std::uint64_t spokePass = 0;     // the last pass in which it sent a record
    std::int64_t partialSince = -1;  // when the unfinished record in `in` began
    bool partialWatched = false;     // a Partial entry for it is pending
  };

  void Accept(int listenFd, bool seating);
  void PauseAccepting(bool paused);
  void ReadFrom(int id);
  bool ReadRecords(int id, Peer& p);  // false when the peer went away meanwhile
  bool ReadLines(int id, Peer& p);
  void WatchPartial(int id, Peer& p);
  void WriteTo(int id);
  void SetInterest(int id, Peer& p, bool write);
  void CloseNow(int id, bool tellCore, bool abort = false);
  void OnOutput(const Output& o);
  void FlushWritten();  // writes what this pass queued, one send a peer
  void Tick();
  void CutOffLate(std::int64_t now);
  void ReportLost();  // tells the core of peers cut off while it was running
  int WaitMs(int timeoutMs) const;

  Server& core_;
  FrontLimits limits_;
  int epollFd_ = -1;
  int listenFd_ = -1;
  int seatFd_ = -1;
  int port_ = 0;
  int seatPort_ = 0;
  int nextId_ = 1;
  std::unordered_map<int, Peer> peers_;
  std::int64_t lastMs_ = -1;
  std::vector<int> lost_;
  std::vector<int> queued_;  // peers with output to send at the end of this pass
  std::uint64_t pass_ = 1;
  // Moments at which a peer's held news is due, or it may have to be cut off (an unfinished
  // record, a close not taken), in order; checked against the peer when they come up.
  enum class LateKind { News, Partial, Close };
  struct Late {
    std::int64_t at = 0;
    int id = 0;
    LateKind kind = LateKind::News;
    bool operator>(const Late& o) const { return at > o.at; }
  };
  std::priority_queue<Late, std::vector<Late>, std::greater<>> late_;
  // While accept fails for want of descriptors the listeners are left out until then.
  std::int64_t acceptPausedUntilMs_ = 0;
  bool acceptPaused_ = false;
};

}  // namespace tallow::server
