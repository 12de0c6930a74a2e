#include "load/load_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace tallow::server::load {

namespace {

// Reads one line from fd within timeoutMs.
bool ReadLine(int fd, std::string& line, int timeoutMs) {
  line.clear();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    char c = 0;
    const ssize_t n = read(fd, &c, 1);
    if (n <= 0) return false;
    if (c == '\n') return true;
    line += c;
  }
}

// The number after the last "KEY" in text ("...:7000" after "on 127.0.0.1:").
int PortAfter(const std::string& text, const std::string& key) {
  const auto at = text.find(key);
  if (at == std::string::npos) return 0;
  const auto colon = text.find(':', at + key.size());
  if (colon == std::string::npos) return 0;
  return std::atoi(text.c_str() + colon + 1);
}

}  // namespace

bool SpawnServer(const std::string& path, const std::vector<std::string>& args, SpawnedServer& out,
                 std::string& error) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    error = "pipe failed";
    return false;
  }
  std::vector<std::string> all{path, "--port", "0"};
  all.insert(all.end(), args.begin(), args.end());
  const pid_t pid = fork();
  if (pid < 0) {
    error = "fork failed";
    return false;
  }
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  out.pid = pid;
  out.stdoutFd = pipeFds[0];
  std::string line;
  if (!ReadLine(out.stdoutFd, line, 20000)) {
    error = "no start line from " + path;
    StopServer(out);
    return false;
  }
  out.port = PortAfter(line, "listening on");
  out.seatPort = PortAfter(line, "seating on");
  if (out.port <= 0 || out.seatPort <= 0) {
    error = "cannot read the ports from: " + line;
    StopServer(out);
    return false;
  }
  return true;
}

bool ServerAlive(pid_t pid) {
  if (pid <= 0) return false;
  int status = 0;
  const pid_t r = waitpid(pid, &status, WNOHANG);
  if (r == 0) return true;
  if (r < 0 && errno == ECHILD) return kill(pid, 0) == 0;  // not our child
  return false;
}

int StopServer(SpawnedServer& s) {
  int result = -1;
  if (s.pid > 0) {
    kill(s.pid, SIGTERM);
    for (int i = 0; i < 1000; ++i) {
      int status = 0;
      const pid_t r = waitpid(s.pid, &status, WNOHANG);
      if (r == s.pid) {
        result = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        break;
      }
      if (r < 0) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (result < 0) {
      kill(s.pid, SIGKILL);
      waitpid(s.pid, nullptr, 0);
    }
    s.pid = -1;
  }
  if (s.stdoutFd >= 0) close(s.stdoutFd);
  s.stdoutFd = -1;
  return result;
}

CpuTime ProcessCpu(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto close = text.rfind(')');
  if (close == std::string::npos) return {};
  // After the command: state (field 3) ... utime (14), stime (15).
  std::istringstream rest(text.substr(close + 2));
  std::string field;
  double ticks[2] = {0, 0};
  for (int f = 3; f <= 15 && rest >> field; ++f) {
    if (f == 14) ticks[0] = std::stod(field);
    if (f == 15) ticks[1] = std::stod(field);
  }
  const double hz = static_cast<double>(sysconf(_SC_CLK_TCK));
  return {ticks[0] / hz, ticks[1] / hz};
}

CpuTime OwnCpu() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return {s(u.ru_utime), s(u.ru_stime)};
}

long ResidentKb(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (in >> key) {
    if (key == "VmRSS:") {
      long kb = 0;
      in >> kb;
      return kb;
    }
    in.ignore(1 << 12, '\n');
  }
  return 0;
}

int Dial(const std::string& host, int port, int receiveBuffer) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  if (inet_pton(AF_INET, host.c_str(), &a.sin_addr) != 1) return -1;
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (receiveBuffer > 0) {
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  }
  if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(fd);
    return -1;
  }
  const int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  return fd;
}

std::vector<std::string> SeatingCommands(const std::string& host, int port,
                                         const std::vector<std::string>& lines) {
  std::vector<std::string> replies;
  const int fd = Dial(host, port);
  if (fd < 0) return replies;
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  std::size_t sent = 0;
  std::string pending;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (replies.size() < lines.size() && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, static_cast<short>(POLLIN | (sent < text.size() ? POLLOUT : 0)), 0};
    if (poll(&p, 1, 100) <= 0) continue;
    if ((p.revents & POLLOUT) && sent < text.size()) {
      const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
      if (n > 0) sent += static_cast<std::size_t>(n);
    }
    if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
      char buf[4096];
      const ssize_t n = recv(fd, buf, sizeof buf, 0);
      if (n <= 0) break;
      pending.append(buf, static_cast<std::size_t>(n));
      for (auto nl = pending.find('\n'); nl != std::string::npos; nl = pending.find('\n')) {
        replies.push_back(pending.substr(0, nl));
        pending.erase(0, nl + 1);
      }
    }
  }
  close(fd);
  return replies;
}

}  // namespace tallow::server::load
