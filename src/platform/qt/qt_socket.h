// The client's TCP socket over QTcpSocket, with the state numbers of the classic socket control.
#pragma once

#include <QTcpSocket>
#include <string>

#include "platform/platform.h"

namespace tallow::platform::qt {

class QtSocket : public ISocket {
 public:
  static constexpr int kClosing = 8;  // the peer has closed; Close() finishes it

  QtSocket();
  ~QtSocket() override;
  void SetRemote(const std::string& host, int port) override;
  void Connect() override;
  // Closes at once (State() is 0 on return); bytes already sent still reach the peer.
  void Close() override;
  int State() const override;
  void SendData(std::span<const std::uint8_t> bytes) override;
  std::vector<std::uint8_t> GetData() override;

 private:
  void OnReadyRead();
  void OnDisconnected();
  void OnError(QAbstractSocket::SocketError error);

  QTcpSocket socket_;
  QByteArray received_;  // arrived and not taken yet; survives the peer's close
  std::string host_;
  int port_ = 0;
  bool failed_ = false;       // an error other than the peer's close
  bool peerClosed_ = false;   // the peer closed the connection
  bool closingByUs_ = false;  // inside Close(): no OnClose
};

}  // namespace tallow::platform::qt
