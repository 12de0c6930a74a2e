#include "platform/qt/qt_socket.h"

#include "platform/qt/call_logic.h"

namespace tallow::platform::qt {

QtSocket::QtSocket() {
  QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { OnReadyRead(); });
  QObject::connect(&socket_, &QTcpSocket::disconnected, [this] { OnDisconnected(); });
  QObject::connect(&socket_, &QTcpSocket::errorOccurred,
                   [this](QAbstractSocket::SocketError e) { OnError(e); });
  QObject::connect(&socket_, &QTcpSocket::connected,
                   [this] { socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1); });
}

QtSocket::~QtSocket() {
  closingByUs_ = true;
  QObject::disconnect(&socket_, nullptr, nullptr, nullptr);
  socket_.abort();
}

void QtSocket::SetRemote(const std::string& host, int port) {
  host_ = host;
  port_ = port;
}

void QtSocket::Connect() {
  Close();
  failed_ = false;
  peerClosed_ = false;
  if (port_ <= 0 || port_ > 65535) {
    failed_ = true;
    return;
  }
  socket_.connectToHost(QString::fromStdString(host_), static_cast<quint16>(port_));
}

void QtSocket::Close() {
  closingByUs_ = true;
  if (socket_.state() == QAbstractSocket::ConnectedState) socket_.flush();
  socket_.abort();
  closingByUs_ = false;
  failed_ = false;
  peerClosed_ = false;
  received_.clear();
}

int QtSocket::State() const {
  switch (socket_.state()) {
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
      return kConnecting;
    case QAbstractSocket::ConnectedState:
      return kConnected;
    case QAbstractSocket::ClosingState:
      return kClosing;
    default:
      break;
  }
  if (peerClosed_) return kClosing;
  if (failed_) return kError;
  return kClosed;
}

void QtSocket::SendData(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || socket_.state() != QAbstractSocket::ConnectedState) return;
  socket_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  socket_.flush();
}

std::vector<std::uint8_t> QtSocket::GetData() {
  received_ += socket_.readAll();
  std::vector<std::uint8_t> data(received_.begin(), received_.end());
  received_.clear();
  return data;
}

void QtSocket::OnReadyRead() {
  if (closingByUs_) return;
  received_ += socket_.readAll();
  if (received_.isEmpty() || !OnDataArrival) return;
  CallLogic("socket data arrival", [this] { OnDataArrival(); });
}

void QtSocket::OnDisconnected() {
  if (closingByUs_) return;
  received_ += socket_.readAll();
  peerClosed_ = true;
  if (OnClose) CallLogic("socket close", [this] { OnClose(); });
}

void QtSocket::OnError(QAbstractSocket::SocketError error) {
  if (closingByUs_) return;
  if (error == QAbstractSocket::RemoteHostClosedError) {
    peerClosed_ = true;
  } else {
    failed_ = true;
  }
}

}  // namespace tallow::platform::qt
