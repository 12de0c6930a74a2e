// The server's TCP front on loopback, fed by up to six client sockets: structured records
// (table_records.h) and raw bytes written in arbitrary pieces, half records left hanging,
// connections reset, half-closed or never read. A step's first byte chooses by its low three
// bits, the next byte picks the connection:
//   0  open a connection            1  queue a structured record on it
//   2  write 1 + 2b bytes of its queue (b the byte after)
//   3  queue raw bytes (a length byte and the bytes)
//   4  close it: reset when the step byte's high bit is set, otherwise an orderly close
//   5  shut down its sending side   6  read what the server sent it   7  a longer poll
// The front polls once after every step.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/byte_stream.h"
#include "common/fuzz_meter.h"
#include "common/table_records.h"
#include "front/tcp_front.h"

namespace tallow::fuzz {
namespace {

struct Connection {
  int fd = -1;
  std::vector<std::uint8_t> queued;
};

class Clients {
 public:
  explicit Clients(int port) : port_(port) {}
  ~Clients() {
    for (auto& c : conns_) Close(c, true);
  }

  Connection& Pick(std::uint8_t b) { return conns_[b % conns_.size()]; }

  void Open(Connection& c) {
    if (c.fd >= 0) return;
    c.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (c.fd < 0) return;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port_));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(c.fd, reinterpret_cast<const sockaddr*>(&a), sizeof a);
  }

  void Write(Connection& c, std::size_t n) {
    if (c.fd < 0 || c.queued.empty()) return;
    n = std::min(n, c.queued.size());
    const ssize_t sent = ::send(c.fd, c.queued.data(), n, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) c.queued.erase(c.queued.begin(), c.queued.begin() + sent);
  }

  void Read(Connection& c) {
    if (c.fd < 0) return;
    std::array<std::uint8_t, 4096> buf;
    for (int k = 0; k < 64 && ::recv(c.fd, buf.data(), buf.size(), MSG_DONTWAIT) > 0; ++k) {
    }
  }

  // A reset leaves no TIME_WAIT behind, so millions of inputs do not run out of ports.
  void Close(Connection& c, bool reset) {
    if (c.fd < 0) return;
    if (reset) {
      const linger l{1, 0};
      ::setsockopt(c.fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    }
    ::close(c.fd);
    c.fd = -1;
    c.queued.clear();
  }

  void ShutDown(Connection& c) {
    if (c.fd >= 0) ::shutdown(c.fd, SHUT_WR);
  }

 private:
  int port_;
  std::array<Connection, 6> conns_;
};

}  // namespace
}  // namespace tallow::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tallow::fuzz;
  tallow::server::Server core(tallow::server::Config{}, size);
  tallow::server::TcpFront front(core);
  std::string error;
  if (!front.Listen("127.0.0.1", 0, 0, error)) {
    std::fprintf(stderr, "listen: %s\n", error.c_str());
    std::abort();
  }
  Meter::Input();
  ByteReader input({data, size});
  {
    Clients clients(front.port());
    while (!input.Empty()) {
      const std::uint8_t step = input.Byte();
      Connection& c = clients.Pick(input.Byte());
      switch (step & 7) {
        case 0:
          clients.Open(c);
          break;
        case 1: {
          const auto rec = ReadClientRecord(input);
          c.queued.insert(c.queued.end(), rec.begin(), rec.end());
          Meter::Add(1);
          break;
        }
        case 2:
          clients.Write(c, 1 + 2 * std::size_t{input.Byte()});
          break;
        case 3: {
          const auto bytes = input.Bytes(input.Byte());
          c.queued.insert(c.queued.end(), bytes.begin(), bytes.end());
          break;
        }
        case 4:
          clients.Close(c, (step & 0x80) != 0);
          break;
        case 5:
          clients.ShutDown(c);
          break;
        case 6:
          clients.Read(c);
          break;
        case 7:
          front.Poll(1);
          break;
      }
      front.Poll(0);
    }
  }
  // The front sees every close and forgets the connection.
  for (int k = 0; k < 3; ++k) front.Poll(0);
  return 0;
}
