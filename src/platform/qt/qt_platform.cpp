#include "platform/qt/qt_platform.h"

#include <csignal>

namespace tallow::platform::qt {

QtPlatform::QtPlatform() {
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace tallow::platform::qt
