// What the load generator needs of the operating system: the server process, its CPU time and
// memory from /proc, and plain loopback connections.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tallow::server::load {

struct SpawnedServer {
  pid_t pid = -1;
  int port = 0;
  int seatPort = 0;
  int stdoutFd = -1;
};

// Starts `path` with `args` (and --port 0) and reads the ports from its first line.
bool SpawnServer(const std::string& path, const std::vector<std::string>& args, SpawnedServer& out,
                 std::string& error);
// True while the process runs.
bool ServerAlive(pid_t pid);
// SIGTERM and the exit status (-1 when it did not end by itself within 10 s).
int StopServer(SpawnedServer& s);

struct CpuTime {
  double user = 0;    // seconds
  double system = 0;  // seconds
};
CpuTime ProcessCpu(pid_t pid);  // from /proc/<pid>/stat
CpuTime OwnCpu();
long ResidentKb(pid_t pid);  // VmRSS from /proc/<pid>/status, 0 when unknown

// A connected TCP socket (blocking connect, then non-blocking, TCP_NODELAY); -1 on failure.
// receiveBuffer > 0 sets SO_RCVBUF before connecting.
int Dial(const std::string& host, int port, int receiveBuffer = 0);

// Sends every line to the seating interface on one connection and returns the reply lines.
std::vector<std::string> SeatingCommands(const std::string& host, int port,
                                         const std::vector<std::string>& lines);

}  // namespace tallow::server::load
