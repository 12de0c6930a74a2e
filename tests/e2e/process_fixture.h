// Real processes for end-to-end tests: a loopback TCP listener standing in for the game server,
// a hall window listening under the hall-link contract, and a child process with its own
// application and runtime directories.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/hall_link_contract.h"

namespace tallow::e2e {

// A temporary directory removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Accepts one TCP connection on 127.0.0.1 and reads from it.
class LoopbackListener {
 public:
  LoopbackListener();
  ~LoopbackListener();
  int Port() const { return port_; }
  // Waits for the client's connection; false on time-out.
  bool Accept(int timeoutMs);
  // Reads exactly n bytes; empty on time-out or close.
  std::vector<std::uint8_t> Read(std::size_t n, int timeoutMs);
  bool Write(const std::vector<std::uint8_t>& bytes);

 private:
  int listenFd_ = -1;
  int conn_ = -1;
  int port_ = 0;
};

// A window of the hall link: records every frame it receives and answers sends with 0.
class HallWindow {
 public:
  explicit HallWindow(const std::string& caption);  // under $TALLOW_RUNTIME_DIR
  ~HallWindow();
  // Handles frames until `want` has been received or the time is up.
  std::optional<platform::hall_link::Frame> WaitFor(std::uint32_t kind, std::uint32_t msg,
                                                    int timeoutMs);
  std::vector<platform::hall_link::Frame> frames;

 private:
  void HandleOne(int timeoutMs);
  int fd_ = -1;
  std::string path_;
};

// A child process; killed when destroyed unless it has ended.
class Child {
 public:
  Child(const std::string& program, const std::vector<std::string>& args,
        const std::vector<std::string>& env);
  ~Child();
  // Waits for the end; the exit code, or nullopt on time-out.
  std::optional<int> Wait(int timeoutMs);
  void Kill();

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
};

}  // namespace tallow::e2e
