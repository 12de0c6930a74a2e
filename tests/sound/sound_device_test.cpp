// The one playback channel through a real audio output: a PulseAudio daemon of its own with a
// null sink, started in a private runtime directory by the test and ended with this process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/qt/qt_sound.h"
#include "platform_qt/test_support.h"

namespace tallow::platform::qt {
namespace {

using test::PumpFor;
using test::PumpUntil;

std::string gDir;  // the private runtime directory
pid_t gDaemon = -1;

const std::string kMusic = std::string(TALLOW_ASSETS_DIR) + "/common/music/";

// The streams playing on the daemon's sink, one id a line.
QStringList SinkInputs() {
  QProcess pactl;
  pactl.start("pactl", {"list", "short", "sink-inputs"});
  if (!pactl.waitForFinished(5000)) return {"pactl hangs"};
  QStringList ids;
  for (const QString& line : QString::fromUtf8(pactl.readAllStandardOutput()).split('\n')) {
    if (!line.trimmed().isEmpty()) ids << line.section('\t', 0, 0);
  }
  return ids;
}

// Starts the daemon as a child that ends with this process, however it ends; the reason it
// could not start otherwise.
std::string StartDaemon(const std::string& dir) {
  const std::string log = dir + "/pulseaudio.log";
  gDaemon = fork();
  if (gDaemon < 0) return "cannot fork";
  if (gDaemon == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(fd, 1);
    dup2(fd, 2);
    execlp("pulseaudio", "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
           "--load=module-null-sink", "--load=module-native-protocol-unix auth-anonymous=1",
           static_cast<char*>(nullptr));
    dprintf(2, "cannot run pulseaudio: %s\n", strerror(errno));
    _exit(127);
  }
  const QString socket = QString::fromStdString(dir + "/pulse/native");
  for (int i = 0; i < 250; ++i) {
    int status = 0;
    if (waitpid(gDaemon, &status, WNOHANG) == gDaemon) {
      gDaemon = -1;
      QFile f(QString::fromStdString(log));
      f.open(QIODevice::ReadOnly);
      return "pulseaudio cannot start here (exit status " +
             std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) +
             "): " + f.readAll().trimmed().toStdString();
    }
    if (QFile::exists(socket)) return {};
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return "pulseaudio did not open its socket within 5 s";
}

void EndDaemon() {
  if (gDaemon <= 0) return;
  kill(gDaemon, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(gDaemon, nullptr, WNOHANG) == gDaemon) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  kill(gDaemon, SIGKILL);
  waitpid(gDaemon, nullptr, 0);
}

TEST(QtSoundDevice, OneChannelPlaysLoopsReplacesAndStops) {
  // Before anything of this process asks for audio devices: Qt looks for the server once.
  if (const std::string why = StartDaemon(gDir); !why.empty()) GTEST_SKIP() << why;
  QtSound sound;
  ASSERT_TRUE(sound.Open()) << "the null sink is not seen as an audio output";

  // The table loop starts and keeps playing past its first round of a short sound.
  ASSERT_TRUE(sound.Play(kMusic + "dapai.wav", true));
  ASSERT_TRUE(PumpUntil([&] { return sound.Playing() && SinkInputs().size() == 1; }));
  const QStringList first = SinkInputs();
  PumpFor(600);  // dapai.wav lasts 0.14 s
  EXPECT_TRUE(sound.Playing()) << "a looping sound ended";
  sound.SetVolume(-3000);
  EXPECT_NEAR(sound.Volume(), 0.0316, 0.001);

  // A second sound replaces it: one stream, a new one, at full volume again.
  ASSERT_TRUE(sound.Play(kMusic + "majiang.wav", false));
  EXPECT_EQ(sound.CurrentFile(), kMusic + "majiang.wav");
  EXPECT_TRUE(PumpUntil([&] {
    const QStringList now = SinkInputs();
    return sound.Playing() && now.size() == 1 && now != first;
  })) << SinkInputs().join(",").toStdString();
  EXPECT_FLOAT_EQ(sound.Volume(), 1.0f);

  // Stop ends the stream; a sound played once ends by itself.
  sound.Stop();
  EXPECT_FALSE(sound.Playing());
  EXPECT_TRUE(PumpUntil([&] { return SinkInputs().isEmpty(); }));
  ASSERT_TRUE(sound.Play(kMusic + "tishi.wav", false));
  ASSERT_TRUE(PumpUntil([&] { return sound.Playing(); }));
  EXPECT_TRUE(PumpUntil([&] { return !sound.Playing(); }, 3000)) << "tishi.wav lasts 0.25 s";

  // A missing file stops what played and plays nothing.
  ASSERT_TRUE(sound.Play(kMusic + "majiang.wav", true));
  ASSERT_TRUE(PumpUntil([&] { return sound.Playing(); }));
  EXPECT_FALSE(sound.Play(kMusic + "missing.wav", false));
  EXPECT_FALSE(sound.Playing());
  EXPECT_TRUE(PumpUntil([&] { return SinkInputs().isEmpty(); }));

  // A client told to keep silent has no output.
  setenv("TALLOW_NO_SOUND", "1", 1);
  EXPECT_FALSE(sound.Open());
  EXPECT_TRUE(sound.Play(kMusic + "majiang.wav", true));
  PumpFor(300);
  EXPECT_FALSE(sound.Playing());
  EXPECT_TRUE(SinkInputs().isEmpty());
  unsetenv("TALLOW_NO_SOUND");
}

}  // namespace
}  // namespace tallow::platform::qt

int main(int argc, char** argv) {
  using namespace tallow::platform::qt;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char dir[] = "/tmp/tallow-sound-test-XXXXXX";
  if (mkdtemp(dir) == nullptr) return 2;
  chmod(dir, 0700);
  // The daemon, its cookie and every client of this process live in the private directory.
  setenv("XDG_RUNTIME_DIR", dir, 1);
  setenv("XDG_CONFIG_HOME", (std::string(dir) + "/config").c_str(), 1);
  unsetenv("PULSE_SERVER");
  unsetenv("TALLOW_NO_SOUND");
  signal(SIGPIPE, SIG_IGN);  // a closed output must not end the process before its cleanup
  gDir = dir;
  ::testing::InitGoogleTest(&argc, argv);
  int result = 0;
  {
    QGuiApplication app(argc, argv);
    result = RUN_ALL_TESTS();
  }
  EndDaemon();
  std::error_code error;
  std::filesystem::remove_all(dir, error);
  if (error && result == 0) result = 3;
  return result;
}
