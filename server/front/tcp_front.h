// The TCP front: POSIX sockets and poll on one thread. Frames 272-byte records from each
// stream, feeds them to the core, writes the core's records back, and serves the seating
// interface (one text command a line, one reply line) on a second port. Sockets have
// TCP_NODELAY; the records a peer gets in one pass of the loop go out in one send.
#pragma once

#include <poll.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/server.h"

namespace tallow::server {

// Raises the soft limit of open files to the hard limit (a server of many tables needs more
// than the usual 1024 descriptors); returns the soft limit now in force.
long RaiseOpenFileLimit();

class TcpFront {
 public:
  explicit TcpFront(Server& core);
  ~TcpFront();
  TcpFront(const TcpFront&) = delete;
  TcpFront& operator=(const TcpFront&) = delete;

  // Opens the listening sockets; port 0 picks a free port. seatPort 0: no seating interface.
  bool Listen(const std::string& bind, int port, int seatPort, std::string& error);
  int port() const { return port_; }
  int seatPort() const { return seatPort_; }

  // Serves until stop becomes true. The core's clock follows the monotonic clock.
  void Run(const std::atomic<bool>& stop);
  // One round of poll (at most timeoutMs), for callers that drive the loop themselves.
  void Poll(int timeoutMs);

 private:
  struct Peer {
    int fd = -1;
    bool seating = false;
    std::vector<std::uint8_t> in;
    std::vector<std::uint8_t> out;
    bool closing = false;
  };

  void Serve(const std::vector<pollfd>& fds, const std::vector<int>& ids);
  void Accept(int listenFd, bool seating);
  void FlushWritten();  // writes what this pass queued, one send a peer
  void ReadFrom(int id);
  void WriteTo(int id);
  void CloseNow(int id, bool tellCore);
  void OnOutput(const Output& o);
  void Tick();
  void ReportLost();  // tells the core of peers cut off while it was running

  Server& core_;
  int listenFd_ = -1;
  int seatFd_ = -1;
  int port_ = 0;
  int seatPort_ = 0;
  int nextId_ = 1;
  std::map<int, Peer> peers_;
  std::int64_t lastMs_ = -1;
  std::vector<int> lost_;
  std::vector<int> queued_;  // peers given records since the last flush
  // While accept fails for want of descriptors the listeners are left out of poll until then.
  std::int64_t acceptPausedUntilMs_ = 0;
};

}  // namespace tallow::server
