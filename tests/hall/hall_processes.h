// Real processes for the hall's end-to-end test: children whose standard output goes to a file,
// and a private directory tree removed afterwards.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tallow::hall::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& Path() const { return path_; }
  std::string Sub(const std::string& name) const;  // created, mode 0700

 private:
  std::string path_;
};

class Child {
 public:
  // `env` entries ("NAME=value") are added to this process's environment.
  Child(const std::string& program, const std::vector<std::string>& args,
        const std::vector<std::string>& env, const std::string& stdoutFile);
  ~Child();
  std::optional<int> Wait(int timeoutMs);  // exit code (-1 for a signal); nullopt on time-out
  void Signal(int sig);
  void Kill();

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
};

std::string ReadFile(const std::string& path);

// The ports a started tallow-server listens on.
struct ServerPorts {
  int game = 0;
  int seating = 0;
};
// Starts tallow-server on free ports (output in `outFile`) and waits up to 10 s until it names
// them; nullopt when it does not. The child is left in `server`.
std::optional<ServerPorts> StartServer(const std::string& program, int seed,
                                       const std::vector<std::string>& env,
                                       const std::string& outFile, std::unique_ptr<Child>& server);
// Polls `done` every 50 ms until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

}  // namespace tallow::hall::test
