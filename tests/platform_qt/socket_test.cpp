// The client socket against a real TCP server on the loopback address.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

#include "platform/qt/qt_socket.h"
#include "test_support.h"

namespace tallow::platform::qt {
namespace {

using test::PumpFor;
using test::PumpUntil;
using Bytes = std::vector<std::uint8_t>;

class SocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    socket_.OnDataArrival = [this] {
      ++arrivals_;
      Bytes got = socket_.GetData();
      data_.insert(data_.end(), got.begin(), got.end());
    };
    socket_.OnClose = [this] { ++closes_; };
  }

  // Connects the client and returns the server's end of the connection.
  QTcpSocket* ConnectClient() {
    socket_.SetRemote("127.0.0.1", server_.serverPort());
    socket_.Connect();
    EXPECT_EQ(socket_.State(), ISocket::kConnecting);
    EXPECT_TRUE(PumpUntil([&] { return socket_.State() == ISocket::kConnected; }));
    EXPECT_TRUE(PumpUntil([&] { return server_.hasPendingConnections(); }));
    return server_.nextPendingConnection();
  }

  QTcpServer server_;
  QtSocket socket_;
  Bytes data_;
  int arrivals_ = 0;
  int closes_ = 0;
};

TEST_F(SocketTest, BytesTravelBothWays) {
  QTcpSocket* peer = ConnectClient();
  ASSERT_NE(peer, nullptr);

  const Bytes out = {0, 1, 2, 0xFF, 0x80, 18};
  socket_.SendData(out);
  ASSERT_TRUE(PumpUntil([&] { return peer->bytesAvailable() >= 6; }));
  const QByteArray atPeer = peer->readAll();
  EXPECT_EQ(Bytes(atPeer.begin(), atPeer.end()), out);

  QByteArray big(272 * 40, '\0');
  for (int i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  peer->write(big);
  ASSERT_TRUE(PumpUntil([&] { return data_.size() == static_cast<std::size_t>(big.size()); }));
  EXPECT_EQ(data_, Bytes(big.begin(), big.end()));
  EXPECT_GE(arrivals_, 1);
  EXPECT_EQ(closes_, 0);
}

TEST_F(SocketTest, ThePeersCloseRaisesOnCloseAndKeepsTheLastBytes) {
  socket_.OnDataArrival = nullptr;  // leave the bytes unread until after the close
  QTcpSocket* peer = ConnectClient();
  peer->write("bye");
  peer->flush();
  peer->disconnectFromHost();
  ASSERT_TRUE(PumpUntil([&] { return closes_ == 1; }));
  EXPECT_EQ(socket_.State(), QtSocket::kClosing);
  const Bytes last = socket_.GetData();
  EXPECT_EQ(std::string(last.begin(), last.end()), "bye");
  socket_.Close();
  EXPECT_EQ(socket_.State(), ISocket::kClosed);
  PumpFor(50);
  EXPECT_EQ(closes_, 1);
}

TEST_F(SocketTest, OurCloseIsImmediateSilentAndDeliversWhatWasSent) {
  QTcpSocket* peer = ConnectClient();
  bool peerSawClose = false;
  QObject::connect(peer, &QTcpSocket::disconnected, [&] { peerSawClose = true; });
  socket_.SendData(Bytes{'l', 'a', 's', 't'});
  socket_.Close();
  EXPECT_EQ(socket_.State(), ISocket::kClosed);
  ASSERT_TRUE(PumpUntil([&] { return peerSawClose; }));
  EXPECT_EQ(peer->readAll(), QByteArray("last"));
  EXPECT_EQ(closes_, 0);
  // Sending on a closed socket is dropped quietly.
  socket_.SendData(Bytes{1});
  EXPECT_EQ(socket_.State(), ISocket::kClosed);
}

TEST_F(SocketTest, ARefusedConnectionIsAnError) {
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const int port = probe.serverPort();
  probe.close();  // nothing listens there now
  socket_.SetRemote("127.0.0.1", port);
  socket_.Connect();
  ASSERT_TRUE(PumpUntil([&] { return socket_.State() == ISocket::kError; }));
  EXPECT_EQ(closes_, 0);
  socket_.Close();
  EXPECT_EQ(socket_.State(), ISocket::kClosed);
}

TEST_F(SocketTest, ConnectsAgainAfterAClose) {
  QTcpSocket* first = ConnectClient();
  first->disconnectFromHost();
  ASSERT_TRUE(PumpUntil([&] { return closes_ == 1; }));
  socket_.Close();
  QTcpSocket* second = ConnectClient();
  ASSERT_NE(second, nullptr);
  second->write("again");
  ASSERT_TRUE(PumpUntil([&] { return data_.size() == 5; }));
}

TEST_F(SocketTest, AnInvalidPortFailsWithoutConnecting) {
  socket_.SetRemote("127.0.0.1", 0);
  socket_.Connect();
  EXPECT_EQ(socket_.State(), ISocket::kError);
  socket_.SetRemote("127.0.0.1", 70000);
  socket_.Connect();
  EXPECT_EQ(socket_.State(), ISocket::kError);
}

}  // namespace
}  // namespace tallow::platform::qt
