#include "hall_processes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace tallow::hall::test {

TempDir::TempDir() {
  char tmpl[] = "/tmp/tallow-hall-XXXXXX";
  if (::mkdtemp(tmpl) == nullptr) throw std::runtime_error("mkdtemp");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Sub(const std::string& name) const {
  const std::string p = path_ + "/" + name;
  ::mkdir(p.c_str(), 0700);
  return p;
}

Child::Child(const std::string& program, const std::vector<std::string>& args,
             const std::vector<std::string>& env, const std::string& stdoutFile) {
  // Everything the child needs is prepared before the fork.
  std::vector<std::string> argStore{program};
  argStore.insert(argStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStore = env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool overridden = false;
    for (const auto& mine : env) overridden = overridden || mine.rfind(name + "=", 0) == 0;
    if (!overridden) envStore.push_back(entry);
  }
  std::vector<char*> envp;
  for (auto& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);
  const int out = ::open(stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);

  pid_ = ::fork();
  if (pid_ == 0) {
    if (out >= 0) ::dup2(out, 1);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  if (out >= 0) ::close(out);
}

Child::~Child() {
  Kill();
}

void Child::Signal(int sig) {
  if (pid_ > 0 && !reaped_) ::kill(pid_, sig);
}

void Child::Kill() {
  if (pid_ > 0 && !reaped_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    reaped_ = true;
  }
}

std::optional<int> Child::Wait(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!reaped_) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      reaped_ = true;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return std::nullopt;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

std::optional<ServerPorts> StartServer(const std::string& program, int seed,
                                       const std::vector<std::string>& env,
                                       const std::string& outFile, std::unique_ptr<Child>& server) {
  server = std::make_unique<Child>(
      program, std::vector<std::string>{"--port", "0", "--seed", std::to_string(seed)}, env,
      outFile);
  const std::regex ports("listening on [0-9.]+:([0-9]+), seating on [0-9.]+:([0-9]+)");
  std::smatch m;
  std::string text;
  if (!WaitUntil(
          [&] {
            text = ReadFile(outFile);
            return std::regex_search(text, m, ports);
          },
          std::chrono::seconds(10))) {
    return std::nullopt;
  }
  return ServerPorts{std::stoi(m[1]), std::stoi(m[2])};
}

}  // namespace tallow::hall::test
