#include "link_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

#include "seating_client.h"
#include "support/loopback.h"

namespace tallow::link {
namespace {

constexpr std::size_t kRecord = 272;

int ListenTcp(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 16) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

int BoundPort(int fd) {
  sockaddr_in a{};
  socklen_t len = sizeof a;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  return ntohs(a.sin_port);
}

bool Readable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, ms) > 0;
}

// Reads exactly n bytes within the time; fewer on a close or time-out.
std::vector<std::uint8_t> ReadSome(int fd, std::size_t n, int ms) {
  std::vector<std::uint8_t> out;
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  while (out.size() < n && Clock::now() < end) {
    if (!Readable(fd, 50)) continue;
    std::uint8_t buf[512];
    const ssize_t got = ::recv(fd, buf, std::min(sizeof buf, n - out.size()), 0);
    if (got <= 0) break;
    out.insert(out.end(), buf, buf + got);
  }
  return out;
}

void SendAll(int fd, const std::uint8_t* p, std::size_t n) {
  while (n > 0) {
    const ssize_t sent = ::send(fd, p, n, MSG_NOSIGNAL);
    if (sent <= 0) return;
    p += sent;
    n -= static_cast<std::size_t>(sent);
  }
}

// Sends bytes one at a time, a little apart, so that each arrives on its own.
void Trickle(int fd, const std::vector<std::uint8_t>& bytes) {
  for (std::uint8_t b : bytes) {
    SendAll(fd, &b, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
}

std::vector<std::string> CaptionsOfTable() {
  return {"hall-alice", "hall-robot1", "hall-robot2", "hall-robot3"};
}

}  // namespace

int FreePort() {
  const int fd = ListenTcp(0);
  const int port = BoundPort(fd);
  ::close(fd);
  return port;
}

std::unique_ptr<Child> StartLogged(const std::string& program, const std::vector<std::string>& args,
                                   const std::vector<std::string>& env,
                                   const std::string& logFile) {
  std::vector<std::string> shell{"-c", "exec \"$0\" \"$@\" 2>&1", program};
  shell.insert(shell.end(), args.begin(), args.end());
  return std::make_unique<Child>("/bin/sh", shell, env, logFile);
}

// ---- hall windows

HallWindows::HallWindows(const std::vector<std::string>& captions) {
  for (const auto& caption : captions) {
    const std::string path = platform::hall_link::SocketPath(caption);
    ::unlink(path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 16) != 0) {
      throw std::runtime_error("hall window " + caption);
    }
    fds_[fd] = caption;
    paths_.push_back(path);
  }
  thread_ = std::thread([this] { Serve(); });
}

HallWindows::~HallWindows() {
  stop_ = true;
  thread_.join();
  for (const auto& [fd, caption] : fds_) ::close(fd);
  for (const auto& p : paths_) ::unlink(p.c_str());
}

void HallWindows::Serve() {
  std::vector<pollfd> polls;
  for (const auto& [fd, caption] : fds_) polls.push_back({fd, POLLIN, 0});
  while (!stop_) {
    if (::poll(polls.data(), polls.size(), 50) <= 0) continue;
    for (auto& p : polls) {
      if ((p.revents & POLLIN) == 0) continue;
      const int conn = ::accept4(p.fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (conn < 0) continue;
      const auto bytes = ReadSome(conn, 16, 2000);
      if (bytes.size() == 16) {
        std::array<std::uint8_t, 16> raw{};
        std::copy(bytes.begin(), bytes.end(), raw.begin());
        const auto frame = platform::hall_link::Decode(raw);
        {
          std::lock_guard lock(m_);
          frames_[fds_[p.fd]].push_back(frame);
        }
        if (frame.kind == platform::hall_link::kSend) {
          const auto result = platform::hall_link::EncodeResult(0);
          SendAll(conn, result.data(), result.size());
        }
      }
      ::close(conn);
    }
  }
}

std::vector<platform::hall_link::Frame> HallWindows::Frames(const std::string& caption) {
  std::lock_guard lock(m_);
  return frames_[caption];
}

bool HallWindows::Received(const std::string& caption, std::uint32_t kind, std::uint32_t msg) {
  for (const auto& f : Frames(caption)) {
    if (f.kind == kind && (f.msg == msg || (kind == platform::hall_link::kSend && f.wParam == msg)))
      return true;
  }
  return false;
}

// ---- relay

Relay::Relay(int targetPort) : target_(targetPort) {
  listenFd_ = ListenTcp(0);
  if (listenFd_ < 0) throw std::runtime_error("relay listen");
  port_ = BoundPort(listenFd_);
  thread_ = std::thread([this] { Serve(); });
}

Relay::~Relay() {
  stop_ = true;
  thread_.join();
  std::lock_guard lock(m_);
  for (auto& l : links_) CloseLink(l);
  if (listenFd_ >= 0) ::close(listenFd_);
}

void Relay::CutWhen(std::function<bool(int, int)> when) {
  std::lock_guard lock(m_);
  cutWhen_ = std::move(when);
}

void Relay::Cut() {
  std::lock_guard lock(m_);
  cutAll_ = true;
}

void Relay::Close() {
  std::lock_guard lock(m_);
  cutAll_ = true;
  wantOpen_ = false;
}

void Relay::Open() {
  std::lock_guard lock(m_);
  wantOpen_ = true;
}

int Relay::Accepted() {
  std::lock_guard lock(m_);
  return static_cast<int>(links_.size());
}

std::vector<int> Relay::ServerTypes(int conn) {
  std::lock_guard lock(m_);
  return conn < static_cast<int>(links_.size()) ? links_[static_cast<std::size_t>(conn)].serverTypes
                                                : std::vector<int>{};
}

std::vector<int> Relay::ClientCodes(int conn) {
  std::lock_guard lock(m_);
  return conn < static_cast<int>(links_.size()) ? links_[static_cast<std::size_t>(conn)].clientCodes
                                                : std::vector<int>{};
}

Clock::time_point Relay::AcceptedAt(int conn) {
  std::lock_guard lock(m_);
  return links_.at(static_cast<std::size_t>(conn)).accepted;
}

std::optional<Clock::time_point> Relay::PassedAt(int conn, int type, int n) {
  std::lock_guard lock(m_);
  if (conn >= static_cast<int>(links_.size())) return std::nullopt;
  for (const auto& [t, at] : links_[static_cast<std::size_t>(conn)].passed) {
    if (t == type && n-- == 0) return at;
  }
  return std::nullopt;
}

void Relay::CloseLink(Link& l) {
  if (!l.open) return;
  ::close(l.client);
  ::close(l.server);
  l.open = false;
}

bool Relay::Listen() {
  listenFd_ = ListenTcp(port_);
  return listenFd_ >= 0;
}

void Relay::Serve() {
  while (!stop_) {
    std::vector<pollfd> polls;
    std::vector<std::pair<std::size_t, bool>> who;  // link, from the server
    {
      std::lock_guard lock(m_);
      if (cutAll_) {
        for (auto& l : links_) CloseLink(l);
        cutAll_ = false;
      }
      if (!wantOpen_ && listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
      } else if (wantOpen_ && listenFd_ < 0) {
        Listen();
      }
      if (listenFd_ >= 0) polls.push_back({listenFd_, POLLIN, 0});
      for (std::size_t i = 0; i < links_.size(); ++i) {
        if (!links_[i].open) continue;
        polls.push_back({links_[i].client, POLLIN, 0});
        who.emplace_back(i, false);
        polls.push_back({links_[i].server, POLLIN, 0});
        who.emplace_back(i, true);
      }
    }
    if (::poll(polls.data(), polls.size(), 20) <= 0) continue;
    std::lock_guard lock(m_);
    std::size_t first = 0;
    if (listenFd_ >= 0 && polls[0].fd == listenFd_) {
      first = 1;
      if ((polls[0].revents & POLLIN) != 0) {
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        const int server = client >= 0 ? tallow::test::ConnectLoopback(target_) : -1;
        if (server >= 0) {
          Link l;
          l.client = client;
          l.server = server;
          l.accepted = Clock::now();
          links_.push_back(std::move(l));
        } else if (client >= 0) {
          ::close(client);
        }
      }
    }
    for (std::size_t k = first; k < polls.size(); ++k) {
      if ((polls[k].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
      const auto [index, fromServer] = who[k - first];
      Link& l = links_[index];
      if (!l.open) continue;
      std::uint8_t buf[4096];
      const ssize_t got = ::recv(polls[k].fd, buf, sizeof buf, 0);
      if (got <= 0) {
        CloseLink(l);
        continue;
      }
      auto& pending = fromServer ? l.fromServer : l.fromClient;
      pending.insert(pending.end(), buf, buf + got);
      while (l.open && pending.size() >= kRecord) {
        const int type = pending[3];
        SendAll(fromServer ? l.client : l.server, pending.data(), kRecord);
        pending.erase(pending.begin(), pending.begin() + kRecord);
        if (!fromServer) {
          l.clientCodes.push_back(type);
          continue;
        }
        l.serverTypes.push_back(type);
        l.passed.emplace_back(type, Clock::now());
        if (cutWhen_ && cutWhen_(static_cast<int>(index), type)) CloseLink(l);
      }
    }
  }
}

void CutInTheMiddleOfTheHand(Relay& relay) {
  auto discards = std::make_shared<int>(0);
  relay.CutWhen(
      [discards](int conn, int type) { return conn == 0 && type == 2 && ++*discards == 4; });
}

// ---- scripted proxy

ScriptedProxy::ScriptedProxy(std::uint8_t method) : method_(method) {
  listenFd_ = ListenTcp(0);
  port_ = BoundPort(listenFd_);
  thread_ = std::thread([this] { Serve(); });
}

ScriptedProxy::~ScriptedProxy() {
  thread_.join();
  ::close(listenFd_);
}

void ScriptedProxy::Serve() {
  if (!Readable(listenFd_, 20000)) return;
  const int conn = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
  if (conn < 0) return;
  if (ReadSome(conn, 4, 5000).size() == 4) {
    Trickle(conn, {5, method_});
    if (method_ == 0) {
      auto request = ReadSome(conn, 10, 5000);
      {
        std::lock_guard lock(m_);
        connect_ = request;
      }
      Trickle(conn, {5, 0, 0, 1, 127, 0, 0, 1, 0x1F, 0x40});
      auto login = ReadSome(conn, kRecord, 5000);
      std::lock_guard lock(m_);
      login_ = login;
    } else {
      ReadSome(conn, 1, 1000);  // the client closes the link
    }
  }
  ::close(conn);
}

std::vector<std::uint8_t> ScriptedProxy::ConnectRequest() {
  std::lock_guard lock(m_);
  return connect_;
}

std::vector<std::uint8_t> ScriptedProxy::Login() {
  std::lock_guard lock(m_);
  return login_;
}

// ---- dante

Dante::Dante(const std::string& dir) {
  if (::geteuid() != 0) {
    why_ = "not root: cannot make the proxy's system user";
    return;
  }
  if (!std::filesystem::exists("/usr/sbin/danted")) {
    why_ = "danted is not installed (dante-server)";
    return;
  }
  user_ = "tlwpx" + std::to_string(::getpid());
  password_ = "px" + std::to_string(::getpid() % 9973) + "w";
  // useradd may meet another test's lock on the user files: try a few times.
  for (int i = 0; i < 20 && !userMade_; ++i) {
    userMade_ =
        std::system(("useradd -M -s /usr/sbin/nologin " + user_ + " 2>/dev/null").c_str()) == 0;
    if (!userMade_) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  if (!userMade_ ||
      std::system(("echo '" + user_ + ":" + password_ + "' | chpasswd").c_str()) != 0) {
    why_ = "cannot make the system user " + user_;
    return;
  }
  port_ = FreePort();
  log_ = dir + "/danted.log";
  const std::string conf = dir + "/danted.conf";
  std::ofstream(conf) << "logoutput: " << log_ << "\n"
                      << "internal: 127.0.0.1 port = " << port_ << "\n"
                      << "external: 127.0.0.1\n"
                      << "socksmethod: username\n"
                      << "user.privileged: root\n"
                      << "user.unprivileged: nobody\n"
                      << "client pass {\n  from: 127.0.0.0/8 to: 0.0.0.0/0\n}\n"
                      << "socks pass {\n  from: 127.0.0.0/8 to: 127.0.0.0/8\n"
                      << "  command: connect\n  socksmethod: username\n  log: connect\n}\n";
  daemon_ = StartLogged("/usr/sbin/danted", {"-f", conf, "-p", dir + "/danted.pid"}, {},
                        dir + "/danted.out");
  const bool up = WaitUntil(
      [&] {
        const int fd = tallow::test::ConnectLoopback(port_);
        if (fd >= 0) ::close(fd);
        return fd >= 0;
      },
      std::chrono::seconds(10));
  if (!up) why_ = "danted did not start: " + ReadFile(dir + "/danted.out") + Log();
}

Dante::~Dante() {
  if (daemon_) {
    daemon_->Signal(SIGTERM);
    if (!daemon_->Wait(5000)) daemon_->Kill();
  }
  if (userMade_) {
    for (int i = 0; i < 20; ++i) {
      if (std::system(("userdel " + user_ + " 2>/dev/null").c_str()) == 0) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
  }
}

// ---- a table of real clients

Table::Table() {
  run_ = dir_.Sub("run");
  ::setenv("TALLOW_RUNTIME_DIR", run_.c_str(), 1);
  halls_ = std::make_unique<HallWindows>(CaptionsOfTable());
}

Table::~Table() {
  if (alice_) alice_->Kill();
  for (auto& r : robots_) r->Kill();
  if (server_) server_->Kill();
}

std::vector<std::string> Table::Env() const {
  return {"QT_QPA_PLATFORM=offscreen", "TALLOW_RUNTIME_DIR=" + run_, "XDG_RUNTIME_DIR=" + run_,
          "TALLOW_NO_SOUND=1"};
}

bool Table::StartServer(int port, int seatPort) {
  const std::string out = dir_.Path() + "/server." + std::to_string(server_ ? 2 : 1) + ".log";
  std::vector<std::string> args{"--seed", "11", "--act-seconds", "20"};
  if (port != 0) {
    args.insert(args.end(),
                {"--port", std::to_string(port), "--seat-port", std::to_string(seatPort)});
  } else {
    args.insert(args.end(), {"--port", "0"});
  }
  server_ = StartLogged(TALLOW_SERVER_BINARY, args, Env(), out);
  const std::regex ports("listening on [0-9.]+:([0-9]+), seating on [0-9.]+:([0-9]+)");
  std::smatch m;
  std::string text;
  if (!WaitUntil(
          [&] {
            text = ReadFile(out);
            return std::regex_search(text, m, ports);
          },
          std::chrono::seconds(10))) {
    return false;
  }
  port_ = std::stoi(m[1]);
  seatPort_ = std::stoi(m[2]);
  return true;
}

void Table::StopServer() {
  server_->Kill();
}

std::string Table::Command(const std::string& line) {
  return hall::SeatingCommand("127.0.0.1", seatPort_, line).text;
}

bool Table::Seat() {
  const char* accounts[] = {"alice", "robot1", "robot2", "robot3"};
  for (int s = 0; s < 4; ++s) {
    if (Command(hall::SeatCommand(accounts[s], 0, s)).rfind("ok", 0) != 0) return false;
    if (Command(hall::RobotCommand(0, s)).rfind("ok", 0) != 0) return false;
  }
  for (int s = 1; s < 4; ++s) {
    const std::string a = accounts[s];
    const std::string line = a + "$pw$127.0.0.1$" + std::to_string(port_) + "$Room$0$$0$$$1$hall-" +
                             a + "$tallow-" + a + "$";
    auto env = Env();
    env.push_back("TALLOW_APP_DIR=" + dir_.Sub(a));
    robots_.push_back(StartLogged(TALLOW_BINARY, {line}, env, dir_.Path() + "/" + a + ".log"));
  }
  return true;
}

void Table::StartAlice(const std::string& host, int port, int proxyKind, const std::string& proxy) {
  const std::string line = "alice$pw$" + host + "$" + std::to_string(port) + "$Room$" +
                           std::to_string(proxyKind) + proxy + "$1$hall-alice$tallow-alice$";
  auto env = Env();
  env.push_back("TALLOW_APP_DIR=" + dir_.Sub("alice"));
  alice_ = StartLogged(TALLOW_BINARY, {line}, env, dir_.Path() + "/alice.log");
}

std::pair<int, int> Table::Hands() {
  const std::string reply = Command("hands 0");
  int started = 0, finished = 0;
  if (std::sscanf(reply.c_str(), "ok %d %d", &started, &finished) != 2) return {-1, -1};
  return {started, finished};
}

std::string Table::Logs() const {
  std::string all;
  for (const char* name : {"alice.log", "server.1.log", "server.2.log", "robot1.log"}) {
    all += std::string("--- ") + name + "\n" + ReadFile(dir_.Path() + "/" + name);
  }
  return all;
}

std::vector<std::vector<long>> RecordedAmounts(const std::string& record) {
  std::vector<std::vector<long>> hands;
  std::istringstream in(record);
  std::string line;
  const std::regex amount(R"(^count\( ([4-7]) \)\( 0 \)=[^-0-9]*(-?[0-9]+))");
  std::smatch m;
  while (std::getline(in, line)) {
    if (line.rfind("[juNum:", 0) == 0) hands.emplace_back();
    if (!hands.empty() && std::regex_search(line, m, amount))
      hands.back().push_back(std::stol(m[2]));
  }
  return hands;
}

}  // namespace tallow::link
