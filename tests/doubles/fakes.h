// Test doubles of the client's platform services.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "doubles/virtual_clock.h"
#include "platform/failure.h"
#include "platform/local_files.h"
#include "platform/platform.h"
#include "protocol/record.h"

namespace tallow::testing {

// An in-memory socket. Connecting completes on the next event pass when `accept` is set;
// bytes for the client are delivered as data-arrival events.
class MemorySocket : public platform::ISocket {
 public:
  explicit MemorySocket(VirtualClock& clock) : clock_(clock) {}

  void SetRemote(const std::string& host, int port) override {
    remoteHost = host;
    remotePort = port;
  }
  void Connect() override;
  void Close() override {
    const bool wasOpen = state_ == kConnected;
    state_ = kClosed;
    ++closes;
    if (wasOpen && onClosed) onClosed();
  }
  int State() const override { return state_; }
  void SendData(std::span<const std::uint8_t> bytes) override;
  std::vector<std::uint8_t> GetData() override {
    auto out = std::move(inbox_);
    inbox_.clear();
    return out;
  }

  // Test side.
  void Deliver(std::span<const std::uint8_t> bytes);
  void Deliver(const protocol::Record& rec) { Deliver(std::span<const std::uint8_t>(rec)); }
  void PeerClose();
  // The records the client wrote, split into 272-byte records.
  std::vector<protocol::Record> SentRecords() const;

  bool accept = true;
  std::string remoteHost;
  int remotePort = 0;
  int connects = 0, closes = 0;
  std::vector<std::int64_t> connectTimes;  // virtual time of each Connect
  std::vector<std::uint8_t> sent;
  std::vector<std::int64_t> sendTimes;  // virtual time of each SendData
  std::function<void(std::span<const std::uint8_t>)> onSend;
  std::function<void()> onConnected;  // the connection was established
  std::function<void()> onClosed;     // the client closed an open connection
  // A delivery that found the connection closed: its bytes never reach the client.
  std::function<void()> onDropped;

 private:
  VirtualClock& clock_;
  int state_ = kClosed;
  int generation_ = 0;
  std::vector<std::uint8_t> inbox_;
};

class RecordingSound : public platform::ISound {
 public:
  bool Open() override { return device; }
  bool Play(const std::string& path, bool loop) override {
    played.push_back({path, loop});
    return true;
  }
  void Stop() override { ++stops; }
  void SetVolume(int v) override { volume = v; }
  struct Played {
    std::string path;
    bool loop;
  };
  std::vector<Played> played;
  int stops = 0;
  int volume = 0;
  bool device = true;  // whether Open finds a sound device
};

// A hall that exists (or not), records what it is told and can send requests to the client.
class FakeHall : public platform::IHallLink {
 public:
  struct Message {
    std::string caption;
    std::uint32_t kind, msg, wParam, lParam;
  };
  bool FindWindow(const std::string& caption) override {
    ++finds;
    return exists && caption == hallCaption;
  }
  bool Post(const std::string& caption, std::uint32_t msg, std::uint32_t w,
            std::uint32_t l) override {
    if (!FindWindow(caption)) return false;
    received.push_back({caption, 1, msg, w, l});
    return true;
  }
  std::optional<std::int32_t> Send(const std::string& caption, std::uint32_t msg, std::uint32_t w,
                                   std::uint32_t l) override {
    if (!FindWindow(caption)) return std::nullopt;
    received.push_back({caption, 2, msg, w, l});
    return 0;
  }
  bool Listen(const std::string& caption, Handler handler) override {
    listeningAs = caption;
    handler_ = std::move(handler);
    return true;
  }
  void StopListening() override {
    listeningAs.clear();
    handler_ = nullptr;
  }

  // The hall sends a request to the client's window.
  std::int32_t Request(std::uint32_t msg) { return handler_ ? handler_(msg, 0, 0) : -1; }
  // Message numbers posted (kind 1) to the hall, in order.
  std::vector<std::uint32_t> Posts() const;
  // wParams of the WM_SYSCOMMAND sends, in order.
  std::vector<std::uint32_t> SysCommands() const;

  bool exists = true;
  std::string hallCaption = "锦程山庄";
  std::string listeningAs;
  std::vector<Message> received;
  int finds = 0;

 private:
  Handler handler_;
};

class InstantDialogs : public platform::IDialogs {
 public:
  void MessageBox(const std::string& text, const std::string& title) override {
    boxes.push_back({text, title});
  }
  struct Box {
    std::string text, title;
  };
  std::vector<Box> boxes;
};

class FakeResources : public platform::IResources {
 public:
  // Every id of the artwork, but not 156..158.
  bool HasPicture(int id) const override {
    return id >= 101 && id <= 420 && !(id >= 156 && id <= 158);
  }
};

// A fresh application directory of a test's own, removed with it.
class TestAppDir {
 public:
  TestAppDir();
  ~TestAppDir();
  TestAppDir(TestAppDir&& other) noexcept
      : root_(std::exchange(other.root_, {})), path_(std::move(other.path_)) {}
  TestAppDir& operator=(TestAppDir&&) = delete;
  TestAppDir(const TestAppDir&) = delete;
  TestAppDir& operator=(const TestAppDir&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string root_;  // holds the directory, so "../common" beside it is the test's own too
  std::string path_;
};

class FakeProcess : public platform::IProcess {
 public:
  std::string AppPath() const override { return appPath; }
  int ScreenWidth() const override { return screenWidth; }
  int ScreenHeight() const override { return screenHeight; }
  bool AcquireInstanceLock() override { return !otherInstance; }
  [[noreturn]] void EndProcess(int code, const std::string& reason) override {
    ended = true;
    throw ProcessEnded{code, reason};
  }
  void OpenUrl(const std::string& url) override { urls.push_back(url); }

  TestAppDir ownDir;
  std::string appPath = ownDir.Path();
  int screenWidth = 1024, screenHeight = 768;
  bool otherInstance = false;
  bool ended = false;
  std::vector<std::string> urls;
};

// One of every double, wired together.
struct TestPlatform {
  VirtualClock clock;
  MemorySocket socket{clock};
  RecordingSound sound;
  FakeHall hall;
  InstantDialogs dialogs;
  FakeResources resources;
  FakeProcess process;

  platform::LocalFiles files;

  platform::Platform Get() { return Get(clock); }
  // The same services on another clock.
  platform::Platform Get(platform::IClock& on) {
    return {on, socket, sound, hall, dialogs, resources, process, files};
  }
};

}  // namespace tallow::testing
