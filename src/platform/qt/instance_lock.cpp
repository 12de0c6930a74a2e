#include "platform/qt/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <map>

#include "platform/hall_link_contract.h"
#include "platform/qt/exit_hooks.h"

namespace tallow::platform::qt {
namespace {

enum class LockResult { kHeld, kBusy, kUnusable };

LockResult TryLock(const std::string& file, int& fdOut) {
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return LockResult::kUnusable;
  int r;
  do {
    r = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (r != 0 && errno == EINTR);
  if (r == 0) {
    fdOut = fd;
    return LockResult::kHeld;
  }
  const int err = errno;
  ::close(fd);
  return err == EWOULDBLOCK ? LockResult::kBusy : LockResult::kUnusable;
}

// Locks held by this process, by directory.
std::map<std::string, int>& Held() {
  static std::map<std::string, int> held;
  return held;
}

}  // namespace

bool AcquireInstanceLock(const std::string& appDir) {
  if (Held().contains(appDir)) return true;
  int fd = -1;
  LockResult r = TryLock(appDir + "/" + kInstanceLockFile, fd);
  if (r == LockResult::kUnusable) {
    // A read-only directory: the lock file lives in the runtime directory, named after it.
    const std::string name = hall_link::SocketName(appDir);  // "tallow-wnd-<hex>"
    r = TryLock(hall_link::RuntimeDir() + "/tallow-lock-" + name.substr(11), fd);
  }
  if (r == LockResult::kBusy) return false;
  if (r == LockResult::kUnusable) return true;  // nowhere to lock: let the client run
  Held()[appDir] = fd;
  AddExitHook([fd] { ::close(fd); });
  return true;
}

}  // namespace tallow::platform::qt
