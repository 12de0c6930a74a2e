// The hall link on the Qt event loop: the sending side is the blocking POSIX client of the
// contract; the receiving side is a QLocalServer at the socket path of the window caption.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <memory>
#include <string>

#include "platform/platform.h"

class QLocalSocket;

namespace tallow::platform::qt {

class QtHallLink : public IHallLink {
 public:
  // A peer that has not delivered its whole frame within this time is dropped.
  static constexpr int kFrameTimeoutMs = 5000;

  QtHallLink();
  ~QtHallLink() override;
  bool FindWindow(const std::string& caption) override;
  bool Post(const std::string& caption, std::uint32_t msg, std::uint32_t wParam,
            std::uint32_t lParam) override;
  std::optional<std::int32_t> Send(const std::string& caption, std::uint32_t msg,
                                   std::uint32_t wParam, std::uint32_t lParam) override;
  // Replaces a stale socket file and listens under the caption; stops any previous listening.
  bool Listen(const std::string& caption, Handler handler) override;
  // Stops listening and removes the socket file.
  void StopListening() override;

 private:
  void Accept();
  void ReadFrame(QLocalSocket* peer);

  std::unique_ptr<QLocalServer> server_;
  QObject context_;  // owns the accepted connections
  Handler handler_;
  std::string path_;
  int exitHook_ = 0;
};

}  // namespace tallow::platform::qt
