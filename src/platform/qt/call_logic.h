// Every call from a Qt callback into the client's logic goes through CallLogic. Qt must never be
// unwound by an exception, so anything that escapes the logic is an unhandled failure: it is
// reported on stderr and ends the process (after the exit hooks). After the call, the form views
// repaint whatever the logic changed.
#pragma once

#include <exception>
#include <utility>

namespace tallow::platform::qt {

[[noreturn]] void UnhandledFailure(const char* where, const char* what) noexcept;
// Repaints every form view whose model changed (defined with the form views).
void AfterLogicCall() noexcept;

template <class F>
void CallLogic(const char* where, F&& f) noexcept {
  try {
    std::forward<F>(f)();
  } catch (const std::exception& e) {
    UnhandledFailure(where, e.what());
  } catch (...) {
    UnhandledFailure(where, "unknown failure");
  }
  AfterLogicCall();
}

}  // namespace tallow::platform::qt
