// The services the client's logic reaches the outside world through. Two implementations
// exist: the Qt one that ships (platform/qt) and the test doubles (tests/doubles).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallow::platform {

// A named repeating timer (TimerBong, TimerKeepAlive, TimerChat, ...).
class ITimer {
 public:
  virtual ~ITimer() = default;
  virtual void SetInterval(int ms) = 0;
  virtual int Interval() const = 0;
  virtual void SetEnabled(bool on) = 0;
  virtual bool Enabled() const = 0;
  std::function<void()> OnTick;
};

// Time, waits and randomness.
class IClock {
 public:
  virtual ~IClock() = default;
  // Seconds since midnight, with fractions (the platform's Timer function).
  virtual double SecondsSinceMidnight() = 0;
  // Blocks the thread: every pending change is painted first, then nothing runs meanwhile.
  virtual void Sleep(int ms) = 0;
  // Hands pending events (socket, timers, input, hall messages) to the toolkit once.
  virtual void PumpEvents() = 0;
  // A uniform random number in [0, 1).
  virtual double Random() = 0;
  virtual std::unique_ptr<ITimer> CreateTimer(const std::string& name) = 0;
};

// The one TCP client socket. State values follow the classic socket control: 0 closed,
// 6 connecting, 7 connected, 9 error.
class ISocket {
 public:
  static constexpr int kClosed = 0;
  static constexpr int kConnecting = 6;
  static constexpr int kConnected = 7;
  static constexpr int kError = 9;

  virtual ~ISocket() = default;
  virtual void SetRemote(const std::string& host, int port) = 0;
  virtual void Connect() = 0;
  virtual void Close() = 0;
  virtual int State() const = 0;
  virtual void SendData(std::span<const std::uint8_t> bytes) = 0;
  // Takes every byte that has arrived and not been read yet.
  virtual std::vector<std::uint8_t> GetData() = 0;

  std::function<void()> OnDataArrival;
  std::function<void()> OnClose;
};

// WAV playback on one channel: starting a sound stops the one before.
class ISound {
 public:
  virtual ~ISound() = default;
  // Opens the sound device; false when there is none (sounds then play nothing).
  virtual bool Open() = 0;
  // Starts the file once or looping, at full volume; false when it cannot be loaded.
  virtual bool Play(const std::string& path, bool loop) = 0;
  // Stops the current sound and rewinds it.
  virtual void Stop() = 0;
  // The current sound's volume: 0 .. -10000 hundredths of a decibel (0 full), or positive.
  virtual void SetVolume(int volume) = 0;
};

// The window-message link with the game hall.
class IHallLink {
 public:
  using Handler =
      std::function<std::int32_t(std::uint32_t msg, std::uint32_t wParam, std::uint32_t lParam)>;
  virtual ~IHallLink() = default;
  virtual bool FindWindow(const std::string& caption) = 0;
  // Posts a message; false when no window has that caption.
  virtual bool Post(const std::string& caption, std::uint32_t msg, std::uint32_t wParam,
                    std::uint32_t lParam) = 0;
  // Sends a message and waits for its result; nullopt when the window is missing or silent.
  virtual std::optional<std::int32_t> Send(const std::string& caption, std::uint32_t msg,
                                           std::uint32_t wParam, std::uint32_t lParam) = 0;
  // Receives messages sent to the window with this caption, until StopListening.
  virtual bool Listen(const std::string& caption, Handler handler) = 0;
  virtual void StopListening() = 0;
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // A modal box with one OK button.
  virtual void MessageBox(const std::string& text, const std::string& title) = 0;
};

// A file's identity, size and modification time: while all stay the same, so does the
// content (a file replaced under the same name has another inode).
struct FileStamp {
  std::uintmax_t inode = 0;
  std::uintmax_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// The client's files: the record file, the phrase file and the sound files beside the hall.
class IFiles {
 public:
  virtual ~IFiles() = default;
  // The whole file; nullopt when it cannot be read.
  virtual std::optional<std::string> Read(const std::string& path) = 0;
  // Replaces the file's content, creating the file; false when it cannot be written.
  virtual bool Write(const std::string& path, std::string_view bytes) = 0;
  // Adds to the end of the file, creating it; false when it cannot be written.
  virtual bool Append(const std::string& path, std::string_view bytes) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // Deletes the file; false when it is still there afterwards.
  virtual bool Delete(const std::string& path) = 0;
  // The stamp of a regular file; nullopt when there is none or it is unknown (callers then
  // read the file).
  virtual std::optional<FileStamp> Stamp(const std::string& /*path*/) { return std::nullopt; }
};

// Pictures of the artwork by resource id.
class IResources {
 public:
  virtual ~IResources() = default;
  virtual bool HasPicture(int id) const = 0;
};

// The process and its surroundings.
class IProcess {
 public:
  virtual ~IProcess() = default;
  // The client's application directory (no trailing slash).
  virtual std::string AppPath() const = 0;
  // Screen size in pixels.
  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;
  // Takes the one-instance lock of the application directory; false when another instance
  // of the client holds it.
  virtual bool AcquireInstanceLock() = 0;
  // Ends the process; never returns.
  [[noreturn]] virtual void EndProcess(int code, const std::string& reason) = 0;
  // Opens a web address in the desktop's browser.
  virtual void OpenUrl(const std::string& url) = 0;
};

// What the client is given: one of each service.
struct Platform {
  IClock& clock;
  ISocket& socket;
  ISound& sound;
  IHallLink& hall;
  IDialogs& dialogs;
  IResources& resources;
  IProcess& process;
  IFiles& files;
};

// The hall-link window messages.
namespace wm {
inline constexpr std::uint32_t kConnect = 0x16;
inline constexpr std::uint32_t kLeaveQuestion = 0x303;
inline constexpr std::uint32_t kLeaveNow = 0x400;
inline constexpr std::uint32_t kHandStarted = 0x455;
inline constexpr std::uint32_t kGameRunning = 0x465;
inline constexpr std::uint32_t kLoginPending = 0x466;
inline constexpr std::uint32_t kSysCommand = 0x0112;
inline constexpr std::uint32_t kScRestore = 0xF120;
inline constexpr std::uint32_t kScMinimize = 0xF020;
}  // namespace wm

}  // namespace tallow::platform
