#include "platform/qt/qt_hall_link.h"

#include <unistd.h>

#include <QByteArray>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <algorithm>

#include "platform/hall_link_contract.h"
#include "platform/qt/call_logic.h"
#include "platform/qt/exit_hooks.h"

namespace tallow::platform::qt {
namespace {

constexpr qint64 kFrameSize = 16;
const char* const kPending = "tallowFrame";  // the bytes of the frame received so far

}  // namespace

QtHallLink::QtHallLink() {
  exitHook_ = AddExitHook([this] {
    if (!path_.empty()) ::unlink(path_.c_str());
  });
}

QtHallLink::~QtHallLink() {
  RemoveExitHook(exitHook_);
  server_.reset();
  StopListening();
}

bool QtHallLink::FindWindow(const std::string& caption) {
  return hall_link::WindowExists(caption);
}

bool QtHallLink::Post(const std::string& caption, std::uint32_t msg, std::uint32_t wParam,
                      std::uint32_t lParam) {
  return hall_link::PostMessage(caption, msg, wParam, lParam);
}

std::optional<std::int32_t> QtHallLink::Send(const std::string& caption, std::uint32_t msg,
                                             std::uint32_t wParam, std::uint32_t lParam) {
  return hall_link::SendMessage(caption, msg, wParam, lParam);
}

bool QtHallLink::Listen(const std::string& caption, Handler handler) {
  StopListening();
  const std::string path = hall_link::SocketPath(caption);
  ::unlink(path.c_str());
  auto server = std::make_unique<QLocalServer>();
  if (!server->listen(QString::fromStdString(path))) return false;
  QObject::connect(server.get(), &QLocalServer::newConnection, &context_, [this] { Accept(); });
  server_ = std::move(server);
  handler_ = std::move(handler);
  path_ = path;
  return true;
}

void QtHallLink::StopListening() {
  if (server_) {
    server_->close();
    // The server may be stopped from inside one of its own signals: delete it later.
    server_.release()->deleteLater();
  }
  if (!path_.empty()) ::unlink(path_.c_str());
  path_.clear();
  handler_ = nullptr;
}

void QtHallLink::Accept() {
  // A handler run from here may stop listening: the server is looked at afresh each time.
  while (server_) {
    QLocalSocket* peer = server_->nextPendingConnection();
    if (peer == nullptr) break;
    peer->setParent(&context_);
    QObject::connect(peer, &QLocalSocket::readyRead, &context_, [this, peer] { ReadFrame(peer); });
    QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
    auto* timeout = new QTimer(peer);
    timeout->setSingleShot(true);
    QObject::connect(timeout, &QTimer::timeout, peer, [peer] {
      peer->abort();
      peer->deleteLater();
    });
    timeout->start(kFrameTimeoutMs);
    ReadFrame(peer);
  }
}

void QtHallLink::ReadFrame(QLocalSocket* peer) {
  QByteArray got = peer->property(kPending).toByteArray();
  if (got.size() >= kFrameSize) {  // answered already; anything more is ignored
    peer->readAll();
    return;
  }
  got += peer->read(kFrameSize - got.size());
  peer->setProperty(kPending, got);
  if (got.size() < kFrameSize) return;
  // The frame is complete: its handler may take as long as it needs (a question box).
  for (QTimer* timeout : peer->findChildren<QTimer*>()) timeout->stop();

  std::array<std::uint8_t, 16> bytes{};
  std::copy(got.begin(), got.end(), bytes.begin());
  const hall_link::Frame frame = hall_link::Decode(bytes);
  if (frame.kind != hall_link::kPost && frame.kind != hall_link::kSend) {
    peer->abort();
    peer->deleteLater();
    return;
  }
  std::int32_t result = 0;
  if (handler_) {
    // The handler may pump events, replace the handler or stop listening meanwhile.
    Handler handler = handler_;
    QPointer<QLocalSocket> guard(peer);
    CallLogic("hall message", [&] { result = handler(frame.msg, frame.wParam, frame.lParam); });
    if (guard.isNull()) return;
  }
  if (frame.kind == hall_link::kSend) {
    const auto reply = hall_link::EncodeResult(result);
    peer->write(reinterpret_cast<const char*>(reply.data()), static_cast<qint64>(reply.size()));
    peer->flush();
  }
  peer->disconnectFromServer();
  peer->deleteLater();
}

}  // namespace tallow::platform::qt
