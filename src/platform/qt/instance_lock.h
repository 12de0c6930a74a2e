// One client per application directory: an exclusive lock on a file in that directory, held
// until the process ends (the system releases it however the process ends).
#pragma once

#include <string>

namespace tallow::platform::qt {

inline constexpr const char* kInstanceLockFile = ".tallow.lock";

// True when this process now holds the directory's lock (or already held it); false when
// another process holds it. A directory that cannot hold the lock file is locked through a
// file in the runtime directory named after it instead.
bool AcquireInstanceLock(const std::string& appDir);

}  // namespace tallow::platform::qt
