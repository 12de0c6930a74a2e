// What must happen however the process ends: the hall socket file is removed, the instance lock
// is released. The hooks run from EndProcess and from an unhandled failure, right before the
// process exits without unwinding.
#pragma once

#include <functional>

namespace tallow::platform::qt {

// Registers a hook; returns its id for RemoveExitHook.
int AddExitHook(std::function<void()> hook);
void RemoveExitHook(int id);
// Runs every registered hook once, newest first, and forgets them.
void RunExitHooks();

}  // namespace tallow::platform::qt
