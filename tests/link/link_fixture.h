// Real links for the client's end-to-end tests: a TCP relay that can be cut and closed, a
// scripted SOCKS5 proxy, a dante SOCKS5 server with a system user of its own, hall windows
// that answer like a hall, and a table of real clients at a real tallow-server.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "hall_processes.h"
#include "platform/hall_link_contract.h"

namespace tallow::link {

using hall::test::Child;
using hall::test::ReadFile;
using hall::test::TempDir;
using hall::test::WaitUntil;
using Clock = std::chrono::steady_clock;

// A free TCP port on 127.0.0.1 (bound and released at once).
int FreePort();
// A child whose standard output and standard error both go to `logFile`.
std::unique_ptr<Child> StartLogged(const std::string& program, const std::vector<std::string>& args,
                                   const std::vector<std::string>& env, const std::string& logFile);

// Windows of the hall link, answered on a thread of their own: every send gets 0, every frame
// is kept.
class HallWindows {
 public:
  explicit HallWindows(const std::vector<std::string>& captions);
  ~HallWindows();
  // Frames received by the window with this caption so far.
  std::vector<platform::hall_link::Frame> Frames(const std::string& caption);
  bool Received(const std::string& caption, std::uint32_t kind, std::uint32_t msg);

 private:
  void Serve();
  std::map<int, std::string> fds_;  // listening socket → caption
  std::vector<std::string> paths_;
  std::mutex m_;
  std::map<std::string, std::vector<platform::hall_link::Frame>> frames_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Forwards every connection it accepts to a target port on 127.0.0.1, whole 272-byte records
// at a time, and notes what passes.
class Relay {
 public:
  explicit Relay(int targetPort);
  ~Relay();
  int Port() const { return port_; }
  // Called for every record the server sends through, with the connection's number (from 0)
  // and the record's type; true cuts that connection right after the record.
  void CutWhen(std::function<bool(int conn, int type)> when);
  void Cut();    // cuts every connection; new ones are still taken
  void Close();  // cuts every connection and stops listening: connects are refused
  void Open();   // listens again on the same port
  int Accepted();
  // The record types each way on a connection, in order.
  std::vector<int> ServerTypes(int conn);
  std::vector<int> ClientCodes(int conn);
  // When the connection was accepted, and when its n-th server record (counting from 0) of a
  // type passed.
  Clock::time_point AcceptedAt(int conn);
  std::optional<Clock::time_point> PassedAt(int conn, int type, int n);

 private:
  struct Link {
    int client = -1, server = -1;
    std::vector<std::uint8_t> fromServer, fromClient;
    std::vector<int> serverTypes, clientCodes;
    std::vector<std::pair<int, Clock::time_point>> passed;
    Clock::time_point accepted;
    bool open = true;
  };
  void Serve();
  void CloseLink(Link& l);
  bool Listen();
  int target_;
  int port_ = 0;
  int listenFd_ = -1;
  std::mutex m_;
  std::vector<Link> links_;
  std::function<bool(int, int)> cutWhen_;
  bool wantOpen_ = true;
  bool cutAll_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A SOCKS5 proxy of the test's own for one connection: it answers the greeting with `method`
// and every reply one byte at a time, then takes the client's login record itself.
class ScriptedProxy {
 public:
  explicit ScriptedProxy(std::uint8_t method);
  ~ScriptedProxy();
  int Port() const { return port_; }
  // The bytes of the client's connect request and of its first record, once they came.
  std::vector<std::uint8_t> ConnectRequest();
  std::vector<std::uint8_t> Login();

 private:
  void Serve();
  std::uint8_t method_;
  int listenFd_ = -1;
  int port_ = 0;
  std::mutex m_;
  std::vector<std::uint8_t> connect_, login_;
  std::thread thread_;
};

// Cuts the relay's first link after the fourth discard of the hand has passed it.
void CutInTheMiddleOfTheHand(Relay& relay);

// danted on 127.0.0.1 with user-name authentication against a system user made for it.
class Dante {
 public:
  explicit Dante(const std::string& dir);
  ~Dante();
  // Empty when it runs; otherwise why not (the tests then skip).
  const std::string& Unavailable() const { return why_; }
  int Port() const { return port_; }
  const std::string& User() const { return user_; }
  const std::string& Password() const { return password_; }
  std::string Log() const { return ReadFile(log_); }

 private:
  std::string user_, password_, log_;
  int port_ = 0;
  bool userMade_ = false;
  std::unique_ptr<Child> daemon_;
  std::string why_;
};

// A table at a real tallow-server: three robot clients of the server's own port and a fourth,
// "alice" (also a robot), whose command line the test gives. Every seat counts as ready.
class Table {
 public:
  Table();
  ~Table();
  // Starts tallow-server (on `port` and `port` + 1 when given, else on free ports).
  bool StartServer(int port = 0);
  void StopServer();
  // Reserves the four seats and starts the three robots.
  bool Seat();
  // Alice's client: a robot seat whose hall window is "hall-alice".
  void StartAlice(const std::string& host, int port, int proxyKind = 0,
                  const std::string& proxy = "$$0$$");
  std::string Command(const std::string& line);
  // Hands started and finished at table 0.
  std::pair<int, int> Hands();
  std::string AliceLog() const { return ReadFile(dir_.Path() + "/alice.log"); }
  std::string AliceRecord() const { return ReadFile(dir_.Path() + "/alice/info.jk"); }
  std::string Logs() const;
  std::vector<std::string> Env() const;

  TempDir dir_;
  std::string run_;
  int port_ = 0, seatPort_ = 0;
  std::unique_ptr<HallWindows> halls_;
  std::unique_ptr<Child> server_, alice_;
  std::vector<std::unique_ptr<Child>> robots_;
};

// The final amounts of every hand in a record file (info.jk): one list of four per hand.
std::vector<std::vector<long>> RecordedAmounts(const std::string& record);

}  // namespace tallow::link
