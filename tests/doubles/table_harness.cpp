#include "doubles/table_harness.h"

#include <unistd.h>

#include <algorithm>

#include "session/startup.h"

namespace tallow::testing {

std::vector<std::uint8_t> ClientConcealed(const Client& c) {
  const auto& me = c.table.custom(0);
  std::vector<std::uint8_t> out;
  for (int k = me.HandStart; k < me.HandStart + me.HandCount && k <= 20; ++k) {
    out.push_back(static_cast<std::uint8_t>(me.mj(k).value & 0xFF));
  }
  std::sort(out.begin(), out.end());
  return out;
}

TableHarness::TableHarness(std::uint64_t seed, bool robots, server::Config config)
    : core(config, seed) {
  dir_ = std::filesystem::temp_directory_path() /
         ("tallow-table-" + std::to_string(::getpid()) + "-" + std::to_string(seed));
  std::filesystem::create_directories(dir_);
  for (int i = 0; i < 4; ++i) {
    seats[i] = std::make_unique<Seat>(clock);
    seats[i]->account = "seat" + std::to_string(i);
    auto& s = *seats[i];
    s.process.appPath = (dir_ / s.account).string();
    std::filesystem::create_directories(s.process.appPath);
    core.Command("seat " + s.account + " 0 " + std::to_string(i));
    if (robots) core.Command("robot 0 " + std::to_string(i));
    Wire(i);
  }
  core.SetSink([this](const server::Output& o) {
    for (auto& s : seats) {
      if (s->conn != o.conn) continue;
      if (o.close) {
        s->conn = -1;
        s->socket.PeerClose();
      } else {
        s->pending.push_back(ViewOf(static_cast<int>(&s - &seats[0]), o.rec));
        s->socket.Deliver(o.rec);
      }
    }
  });
  serverClock_ = clock.CreateTimer("server");
  serverClock_->SetInterval(10);
  serverClock_->OnTick = [this] { core.Advance(10); };
  serverClock_->SetEnabled(true);
}

TableHarness::~TableHarness() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

void TableHarness::Wire(int i) {
  auto& s = *seats[i];
  s.socket.onConnected = [this, i] {
    auto& seat = *seats[i];
    seat.conn = i + 4 * seat.connects++;
    core.Connect(seat.conn);
  };
  s.socket.onClosed = [this, i] {
    auto& seat = *seats[i];
    if (seat.conn >= 0) core.Disconnect(seat.conn);
    seat.conn = -1;
  };
  s.socket.onSend = [this, i](std::span<const std::uint8_t> bytes) {
    auto& seat = *seats[i];
    for (std::size_t at = 0; at + protocol::kRecordSize <= bytes.size();
         at += protocol::kRecordSize) {
      protocol::Record rec;
      std::copy_n(bytes.begin() + static_cast<long>(at), protocol::kRecordSize, rec.begin());
      if (seat.conn >= 0) core.Receive(seat.conn, rec);
    }
  };
}

SeatView TableHarness::ViewOf(int seat, const protocol::Record& rec) const {
  SeatView v;
  v.type = rec[protocol::off::kType];
  const auto h = protocol::DecodeHeader(rec);
  for (std::size_t i = 0; i < 4; ++i) v.value[i] = h.Value[i];
  v.detail = "seat bit " + std::to_string(h.SeatMask) + ", values " + std::to_string(h.Value[0]) +
             " " + std::to_string(h.Value[1]) + " " + std::to_string(h.Value[2]) + " " +
             std::to_string(h.Value[3]);
  const server::Hand* hand = core.HandAt(0);
  if (hand != nullptr && !hand->Over()) {
    v.inHand = true;
    v.concealed.assign(hand->seat(seat).concealed.begin(), hand->seat(seat).concealed.end());
    std::sort(v.concealed.begin(), v.concealed.end());
    v.headDrawn = hand->wall().HeadDrawn();
    v.tailDrawn = hand->wall().TailDrawn();
    v.wallStart = hand->ClientWallStart(seat);
  }
  return v;
}

void TableHarness::StartAll(bool robotClients) {
  for (int i = 0; i < 4; ++i) {
    auto& s = *seats[i];
    std::string line = s.account + "$pw$127.0.0.1$6000$Table$0$$0$$$";
    if (robotClients) {
      s.hall.hallCaption = "robot-hall-" + std::to_string(i);
      line += "1$" + s.hall.hallCaption + "$tallow-robot-" + std::to_string(i) + "$";
    } else {
      line += "0$$$";
    }
    s.client = std::make_unique<Client>(
        platform::Platform{clock, s.socket, s.sound, s.hall, s.dialogs, s.resources, s.process},
        line);
    s.client->framing.AfterDispatch = [this, i] { Handled(i); };
    try {
      FormLoad(*s.client);
    } catch (const ProcessEnded& e) {
      s.ended = e;
    }
  }
}

void TableHarness::Handled(int i) {
  auto& s = *seats[i];
  ++s.handled;
  if (s.pending.empty()) {
    failures.push_back("seat " + std::to_string(i) + " handled a record nobody sent");
    return;
  }
  const SeatView view = s.pending.front();
  s.pending.pop_front();
  if (check) check(i, view, *s.client);
}

bool TableHarness::Run(std::int64_t ms, const std::function<bool()>& done, int stepMs) {
  for (std::int64_t t = 0; t < ms; t += stepMs) {
    if (done && done()) return true;
    try {
      clock.Advance(stepMs);
    } catch (const ProcessEnded& e) {
      failures.push_back("a client ended: " + e.reason);
      return false;
    }
  }
  return done ? done() : true;
}

}  // namespace tallow::testing
