#include "testing/table_driver.h"

#include <algorithm>

#include "protocol/record.h"

namespace tallow::server::testing {

namespace op = protocol::op;
using protocol::ClientCode;

Record ClientRecord(ClientCode code, int seatBit, int v0, int v1, int v2, int v3) {
  return protocol::BuildRecord(code, seatBit, {v0, v1, v2, v3});
}

Record LoginRecord(const std::string& account, const std::string& password, bool relogin,
                   std::uint16_t token) {
  Record r = protocol::BuildRecord(relogin ? ClientCode::Relogin : ClientCode::Login);
  protocol::PutBytes(r, protocol::off::kUserName, 16, account);
  protocol::PutBytes(r, protocol::off::kPassword, 16, password);
  protocol::SetToken(r, token);
  return r;
}

std::string TableDriver::Account(int seat) {
  std::string a = "p";
  a += static_cast<char>('0' + (seat & 3));
  return a;
}

TableDriver::TableDriver(std::uint64_t seed, Config config) : core_(std::move(config), seed) {
  core_.SetSink([this](const Output& o) { Collect(o); });
  for (int c = 1; c <= 4; ++c) core_.Connect(c);
}

void TableDriver::Collect(const Output& o) {
  ++recordsOut_;
  if (keep_) log_.push_back(o);
  if (o.close || o.conn < 1 || o.conn > 4) return;
  if (keep_) received_[static_cast<std::size_t>(o.conn)].push_back(o.rec);
  if (o.rec[protocol::off::kType] == static_cast<int>(protocol::MsgType::OperationOffer)) {
    pendingOffers_.push_back({o.conn - 1, o.rec[protocol::off::kValues + 1]});
  }
}

void TableDriver::Send(int conn, const Record& rec) {
  ++recordsIn_;
  core_.Receive(conn, rec);
}

void TableDriver::LoginAll() {
  for (int c = 1; c <= 4; ++c) Send(c, LoginRecord(Account(c - 1), "pw"));
}

void TableDriver::ReadyAll() {
  for (int c = 1; c <= 4; ++c)
    Send(c, ClientRecord(ClientCode::SeatState, 1 << (c - 1), 0, 0, 0, 1));
}

void TableDriver::Respond() {
  while (!pendingOffers_.empty()) {
    auto [seat, flags] = pendingOffers_.front();
    pendingOffers_.erase(pendingOffers_.begin());
    const Hand* h = core_.HandAt(0);
    if (!h || h->Over()) continue;
    if (onOffer && onOffer(*this, seat, flags)) continue;
    const int conn = seat + 1;
    const int bit = 1 << seat;
    if (flags & op::kWin) {
      Send(conn, ClientRecord(ClientCode::OperationReply, bit, op::kWin));
      continue;
    }
    const bool myTurn = h->phase() == Phase::Discard && h->turn() == seat;
    Send(conn, ClientRecord(ClientCode::OperationReply, bit, op::kPass));
    h = core_.HandAt(0);
    if (myTurn && h && !h->Over() && h->phase() == Phase::Discard && h->turn() == seat) {
      const auto& c = h->seat(seat).concealed;
      if (!c.empty())
        Send(conn,
             ClientRecord(ClientCode::Discard, bit, 0, 0, 0, protocol::DiscardTile(c.back())));
    }
  }
}

bool TableDriver::PlayHand(int maxSteps) {
  for (int step = 0; step < maxSteps; ++step) {
    Respond();
    const Hand* h = core_.HandAt(0);
    if (!h || h->Over()) return h != nullptr;
    if (pendingOffers_.empty()) core_.Advance(1000);
  }
  return false;
}

}  // namespace tallow::server::testing
