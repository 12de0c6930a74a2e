// The tests run on the offscreen window system, with a private runtime directory for the
// hall-link sockets.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QApplication>
#include <string>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char dir[] = "/tmp/tallow-qt-test-XXXXXX";
  if (mkdtemp(dir) == nullptr) return 2;
  chmod(dir, 0700);
  setenv("XDG_RUNTIME_DIR", dir, 1);
  setenv("TALLOW_RUNTIME_DIR", dir, 1);
  // No sound server: sounds are silent here (tests/sound plays through one of its own).
  setenv("PULSE_SERVER", (std::string("unix:") + dir + "/no-sound-server").c_str(), 1);
  unsetenv("TALLOW_SCREEN");
  unsetenv("TALLOW_APP_DIR");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  const int result = RUN_ALL_TESTS();
  const std::string cleanup = std::string("rm -rf ") + dir;
  if (std::system(cleanup.c_str()) != 0) return result == 0 ? 3 : result;
  return result;
}
