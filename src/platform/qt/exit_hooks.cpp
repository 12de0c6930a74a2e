#include "platform/qt/exit_hooks.h"

#include <utility>
#include <vector>

namespace tallow::platform::qt {
namespace {

struct Hook {
  int id;
  std::function<void()> run;
};

std::vector<Hook>& Hooks() {
  static std::vector<Hook> hooks;
  return hooks;
}

}  // namespace

int AddExitHook(std::function<void()> hook) {
  static int next = 0;
  Hooks().push_back({++next, std::move(hook)});
  return next;
}

void RemoveExitHook(int id) {
  auto& hooks = Hooks();
  std::erase_if(hooks, [id](const Hook& h) { return h.id == id; });
}

void RunExitHooks() {
  std::vector<Hook> hooks = std::move(Hooks());
  Hooks().clear();
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
    try {
      it->run();
    } catch (...) {
      // A hook that fails must not stop the others; the process is ending anyway.
    }
  }
}

}  // namespace tallow::platform::qt
