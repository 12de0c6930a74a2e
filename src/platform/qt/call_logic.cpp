#include "platform/qt/call_logic.h"

#include <cstdio>
#include <cstdlib>

#include "platform/qt/exit_hooks.h"

namespace tallow::platform::qt {

void UnhandledFailure(const char* where, const char* what) noexcept {
  std::fprintf(stderr, "tallow: unhandled failure in %s: %s\n", where, what);
  RunExitHooks();
  std::fflush(nullptr);
  std::_Exit(70);
}

}  // namespace tallow::platform::qt
