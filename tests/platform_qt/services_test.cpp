// Timers and waits, randomness, sound volume, screen size and the instance lock.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/qt/instance_lock.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_process.h"
#include "platform/qt/qt_sound.h"
#include "test_support.h"

namespace tallow::platform::qt {
namespace {

using test::PumpFor;

TEST(QtClock, TimersTickOnlyWhileEnabledWithAnInterval) {
  QtClock clock;
  struct Case {
    int interval;
    bool enabled;
    int minTicks, maxTicks;
  };
  const Case cases[] = {{20, true, 3, 15}, {20, false, 0, 0}, {0, true, 0, 0}};
  for (const Case& c : cases) {
    auto timer = clock.CreateTimer("t");
    int ticks = 0;
    timer->OnTick = [&] { ++ticks; };
    timer->SetInterval(c.interval);
    timer->SetEnabled(c.enabled);
    EXPECT_EQ(timer->Enabled(), c.enabled);
    EXPECT_EQ(timer->Interval(), c.interval);
    PumpFor(200);
    EXPECT_GE(ticks, c.minTicks) << c.interval << c.enabled;
    EXPECT_LE(ticks, c.maxTicks) << c.interval << c.enabled;
  }
}

TEST(QtClock, SleepBlocksEventsAndPumpEventsHandlesThem) {
  QtClock clock;
  auto timer = clock.CreateTimer("t");
  int ticks = 0;
  timer->OnTick = [&] { ++ticks; };
  timer->SetInterval(1);
  timer->SetEnabled(true);
  QElapsedTimer t;
  t.start();
  clock.Sleep(40);
  EXPECT_GE(t.elapsed(), 40);
  EXPECT_EQ(ticks, 0) << "no timer runs during a blocking sleep";
  for (int i = 0; i < 5 && ticks == 0; ++i) clock.PumpEvents();
  EXPECT_GE(ticks, 1);
}

TEST(QtClock, ATickNeverNestsInsideItselfAndIdlePumpingDoesNotSpin) {
  QtClock clock;
  auto timer = clock.CreateTimer("t");
  int depth = 0, deepest = 0, ticks = 0;
  timer->OnTick = [&] {
    ++ticks;
    deepest = std::max(deepest, ++depth);
    for (int i = 0; i < 10; ++i) clock.PumpEvents();  // as a wait inside a tick does
    --depth;
  };
  timer->SetInterval(5);
  timer->SetEnabled(true);
  PumpFor(100);
  timer->SetEnabled(false);
  EXPECT_GE(ticks, 1);
  EXPECT_EQ(deepest, 1);

  // With nothing to do, a pump waits a little instead of returning at once.
  QElapsedTimer t;
  t.start();
  for (int i = 0; i < 20; ++i) clock.PumpEvents();
  EXPECT_GE(t.elapsed(), 10);
}

TEST(QtClock, RandomIsUniformInTheHalfOpenUnitInterval) {
  QtClock clock;
  double sum = 0;
  int low = 0;
  for (int i = 0; i < 20000; ++i) {
    const double r = clock.Random();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
    sum += r;
    low += r < 0.25 ? 1 : 0;
  }
  EXPECT_NEAR(sum / 20000, 0.5, 0.02);
  EXPECT_NEAR(low / 20000.0, 0.25, 0.02);
  const double now = clock.SecondsSinceMidnight();
  EXPECT_GE(now, 0.0);
  EXPECT_LT(now, 86400.0);
}

TEST(QtSound, VolumeInHundredthsOfADecibelBecomesALinearGain) {
  const std::pair<int, double> cases[] = {{0, 1.0},       {3000, 1.0},    {-2000, 0.1},
                                          {-600, 0.5012}, {-4000, 0.01},  {-10000, 0.0},
                                          {-20000, 0.0},  {-9999, 1.0e-5}};
  for (auto [volume, gain] : cases) EXPECT_NEAR(LinearVolume(volume), gain, 1e-4) << volume;
}

// A WAV file: a format chunk (PCM tag, channels, rate, bits) and a data chunk whose declared size
// may differ from the bytes that follow.
QByteArray Wav(int tag, int channels, int rate, int bits, quint32 declared, int bytes) {
  QByteArray b;
  auto u32 = [&](quint32 v) { b.append(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](quint16 v) { b.append(reinterpret_cast<const char*>(&v), 2); };
  b.append("RIFF");
  u32(36 + declared);
  b.append("WAVEfmt ");
  u32(16), u16(tag), u16(channels), u32(rate), u32(rate * channels * bits / 8);
  u16(channels * bits / 8), u16(bits);
  b.append("data");
  u32(declared);
  b.append(QByteArray(bytes, '\x11'));
  return b;
}

TEST(QtSound, DecodesSoundFilesTo16BitAndRefusesOthers) {
  struct Case {
    const char* what;
    QByteArray file;
    int bytes;  // bytes of 16-bit sound decoded; -1: refused
  };
  const Case cases[] = {
      {"16-bit mono", Wav(1, 1, 22050, 16, 200, 200), 200},
      {"8-bit stereo", Wav(1, 2, 8000, 8, 100, 100), 200},
      {"24-bit", Wav(1, 1, 22050, 24, 300, 300), 200},
      {"float", Wav(3, 1, 22050, 32, 200, 200), 100},
      {"a data chunk cut short keeps whole frames", Wav(1, 2, 44100, 16, 4000, 103), 100},
      {"a size beyond the file", Wav(1, 1, 22050, 16, 0xFFFFFFF0u, 10), 10},
      {"an unknown coding", Wav(0x1234, 1, 22050, 16, 200, 200), -1},
      {"three channels", Wav(1, 3, 22050, 16, 600, 600), -1},
      {"no sound at all", Wav(1, 1, 22050, 16, 0, 0), -1},
      {"no RIFF header", QByteArray("RIFX0000WAVE"), -1},
      {"empty", QByteArray(), -1},
  };
  for (const Case& c : cases) {
    const auto pcm = DecodeSound(c.file);
    EXPECT_EQ(pcm ? static_cast<int>(pcm->samples.size()) : -1, c.bytes) << c.what;
  }
  const auto pcm = DecodeSound(Wav(1, 2, 8000, 8, 100, 100));
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->format.sampleRate(), 8000);
  EXPECT_EQ(pcm->format.channelCount(), 2);
  EXPECT_EQ(pcm->format.sampleFormat(), QAudioFormat::Int16);
  // 8-bit samples are unsigned around 0x80: 0x11 lies below the middle.
  EXPECT_LT(reinterpret_cast<const qint16*>(pcm->samples.constData())[0], 0);
}

TEST(QtSound, PlaysExistingFilesAndRefusesMissingOnes) {
  QTemporaryDir dir;
  const QString wav = dir.filePath("beep.wav");
  {
    // 16-bit mono PCM, 100 samples of silence.
    QFile f(wav);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    auto u32 = [&](quint32 v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](quint16 v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    f.write("RIFF");
    u32(36 + 200);
    f.write("WAVEfmt ");
    u32(16), u16(1), u16(1), u32(22050), u32(44100), u16(2), u16(16);
    f.write("data");
    u32(200);
    f.write(QByteArray(200, '\0'));
  }
  // There is no audio output here: everything stays silent, returns at once and prints
  // nothing.
  const int savedStderr = dup(2);
  FILE* captured = std::tmpfile();
  ASSERT_NE(captured, nullptr);
  dup2(fileno(captured), 2);
  QElapsedTimer t;
  t.start();
  {
    QtSound sound;
    EXPECT_FALSE(sound.Open());
    EXPECT_FALSE(sound.Play(dir.filePath("missing.wav").toStdString(), false));
    EXPECT_FALSE(sound.Play(dir.path().toStdString(), false)) << "a directory is not a sound";
    EXPECT_TRUE(sound.Play(wav.toStdString(), true));
    sound.SetVolume(-3000);
    EXPECT_TRUE(sound.Play(wav.toStdString(), false));
    EXPECT_EQ(sound.CurrentFile(), wav.toStdString());
    PumpFor(50);
    EXPECT_FALSE(sound.Playing());
    sound.Stop();
  }
  const qint64 elapsed = t.elapsed();
  std::fflush(stderr);
  dup2(savedStderr, 2);
  close(savedStderr);
  std::string printed(4096, '\0');
  std::rewind(captured);
  printed.resize(std::fread(printed.data(), 1, printed.size(), captured));
  std::fclose(captured);
  EXPECT_EQ(printed, "");
  EXPECT_LT(elapsed, 1000);
}

TEST(QtProcess, ScreenSizeComesFromTheEnvironmentWhenGiven) {
  struct Case {
    const char* text;
    bool valid;
    int w, h;
  };
  const Case cases[] = {
      {"1280x1024", true, 1280, 1024},
      {"800X600", true, 800, 600},
      {"1x1", true, 1, 1},
      {"x", false, 0, 0},
      {"0x600", false, 0, 0},
      {"1024x", false, 0, 0},
      {" 1024x768", false, 0, 0},
      {"1024x768x2", false, 0, 0},
      {"-5x7", false, 0, 0},
      {"99999999999x1", false, 0, 0},
      {"", false, 0, 0},
  };
  for (const Case& c : cases) {
    auto size = ParseScreenSize(c.text);
    ASSERT_EQ(size.has_value(), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(*size, std::pair(c.w, c.h)) << c.text;
    }
  }
  QtProcess process;
  setenv("TALLOW_SCREEN", "800x600", 1);
  EXPECT_EQ(process.ScreenWidth(), 800);
  EXPECT_EQ(process.ScreenHeight(), 600);
  setenv("TALLOW_SCREEN", "garbage", 1);
  EXPECT_GT(process.ScreenWidth(), 0) << "falls back to the real screen";
  unsetenv("TALLOW_SCREEN");
}

TEST(QtProcess, AppPathIsTheEnvironmentsDirectoryWithoutTrailingSlash) {
  QtProcess process;
  setenv("TALLOW_APP_DIR", "/srv/seat2/", 1);
  EXPECT_EQ(process.AppPath(), "/srv/seat2");
  unsetenv("TALLOW_APP_DIR");
  EXPECT_EQ(process.AppPath(), QCoreApplication::applicationDirPath().toStdString());
}

// Tries the directory's lock from another process: 0 when it got it, 1 when it is held.
int LockFromChild(const std::string& dir) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int fd = ::open((dir + "/" + kInstanceLockFile).c_str(), O_RDWR | O_CREAT, 0644);
    _exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(InstanceLock, OneClientPerApplicationDirectory) {
  QTemporaryDir a, b;
  EXPECT_EQ(LockFromChild(a.path().toStdString()), 0) << "free before";
  ASSERT_TRUE(AcquireInstanceLock(a.path().toStdString()));
  EXPECT_TRUE(AcquireInstanceLock(a.path().toStdString())) << "held by us already";
  EXPECT_EQ(LockFromChild(a.path().toStdString()), 1) << "another process is refused";
  EXPECT_EQ(LockFromChild(b.path().toStdString()), 0) << "other directories are free";

  // Held by another process: refused here.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const std::string dirB = b.path().toStdString();
  const pid_t holder = fork();
  if (holder == 0) {
    const int fd = ::open((dirB + "/" + kInstanceLockFile).c_str(), O_RDWR | O_CREAT, 0644);
    ::flock(fd, LOCK_EX);
    char c = 1;
    (void)!::write(ready[1], &c, 1);
    ::pause();
    _exit(0);
  }
  char c;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  EXPECT_FALSE(AcquireInstanceLock(dirB));
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_TRUE(AcquireInstanceLock(dirB)) << "released when its holder died";
  close(ready[0]);
  close(ready[1]);
}

}  // namespace
}  // namespace tallow::platform::qt
