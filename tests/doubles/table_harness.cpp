#include "doubles/table_harness.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

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
    Wire(s, i);
  }
  core.SetSink([this](const server::Output& o) {
    for (int i = 0; i <= 4; ++i) {
      Seat* s = i < 4 ? seats[static_cast<std::size_t>(i)].get() : spectator.get();
      if (s == nullptr || s->conn != o.conn) continue;
      if (o.close) {
        s->conn = -1;
        s->attached = false;
        s->socket.PeerClose();
        continue;
      }
      ++sent;
      lastSendMs_ = clock.NowMs();
      silenceNoted_ = false;
      const int type = o.rec[protocol::off::kType];
      if (i < 4) {
        if (type == 18 || (type == 29 && protocol::DecodeHeader(o.rec).Value[3] == 1)) {
          s->attached = true;
        }
        if (onSend) onSend(i, o.rec);
        s->pending.push_back(ViewOf(i, o.rec));
        s->pending.back().serial = sent;
        lastSentTo[static_cast<std::size_t>(i)] = sent;
      } else {
        SeatView v = ViewOf(watched, o.rec);
        v.serial = sent;
        v.twin = lastSentTo[static_cast<std::size_t>(watched)];
        // The watched seat's copy of a table message goes out just before the spectator's; the
        // records of the spectator's restore have no copy.
        const bool ownRestore = v.type == 18 || v.type == 20 || v.type == 40 || v.type == 41;
        v.restore = v.twin != sent - 1 || ownRestore;
        // While the watched player is away the table plays on without his copies: the
        // spectator is checked against the server alone.
        if (!seats[static_cast<std::size_t>(watched)]->attached) {
          v.twin = 0;
          v.restore = ownRestore;
        }
        s->pending.push_back(v);
      }
      s->socket.Deliver(o.rec);
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

void TableHarness::Wire(Seat& s, int id) {
  s.socket.onConnected = [this, &s, id] {
    s.conn = id + 4 * s.connects++;
    core.Connect(s.conn);
  };
  s.socket.onClosed = [this, &s] {
    if (s.conn >= 0) core.Disconnect(s.conn);
    s.conn = -1;
    s.attached = false;
  };
  s.socket.onSend = [this, &s](std::span<const std::uint8_t> bytes) {
    for (std::size_t at = 0; at + protocol::kRecordSize <= bytes.size();
         at += protocol::kRecordSize) {
      protocol::Record rec;
      std::copy_n(bytes.begin() + static_cast<long>(at), protocol::kRecordSize, rec.begin());
      if (s.conn >= 0) core.Receive(s.conn, rec);
    }
  };
}

void TableHarness::StartSpectator(int watchedSeat) {
  StopSpectator();
  watched = watchedSeat;
  spectator = std::make_unique<Seat>(clock);
  auto& s = *spectator;
  s.account = "watcher" + std::to_string(++spectatorsStarted);
  s.process.appPath = (dir_ / "watcher").string();
  std::filesystem::create_directories(s.process.appPath);
  const std::string target = seats[static_cast<std::size_t>(watchedSeat)]->account;
  core.Command("watch " + s.account + " " + target);
  const std::string id = core.Command("userid " + target).substr(3);
  // Connection ids of spectators stay clear of the four seats' (i + 4 × connects).
  Wire(s, 1'000'000 + 4 * spectatorsStarted);
  s.client = std::make_unique<Client>(s.Services(), s.account + "$pw$127.0.0.1$6000$Table$" + id);
  s.client->framing.AfterDispatch = [this] { Handled(*spectator, watched); };
  try {
    FormLoad(*s.client);
  } catch (const ProcessEnded& e) {
    s.ended = e;
  }
}

void TableHarness::StopSpectator() {
  if (!spectator) return;
  spectator->socket.Close();
  spectator->client.reset();
  // Only the spectator just gone may still have events waiting; older ones are let go, so a
  // long run does not keep every spectator it had.
  retired_.clear();
  retired_.push_back(std::move(spectator));
  watched = -1;
}

SeatView TableHarness::ViewOf(int seat, const protocol::Record& rec) {
  SeatView v;
  v.type = rec[protocol::off::kType];
  v.viewer = seat;
  if (v.type == 1 || v.type == 2 || v.type == 5 || v.type == 7) lastTurnType_ = v.type;
  const auto h = protocol::DecodeHeader(rec);
  v.mask = h.SeatMask;
  for (std::size_t i = 0; i < 4; ++i) v.value[i] = h.Value[i];
  v.detail = "seat bit " + std::to_string(h.SeatMask) + ", values " + std::to_string(h.Value[0]) +
             " " + std::to_string(h.Value[1]) + " " + std::to_string(h.Value[2]) + " " +
             std::to_string(h.Value[3]);
  const server::Hand* hand = core.HandAt(0);
  if (hand != nullptr && hand != lastHand_) {
    lastHand_ = hand;
    ++handsStarted_;
  }
  v.hand = handsStarted_;
  if (hand != nullptr && !hand->Over()) {
    v.inHand = true;
    v.concealed.assign(hand->seat(seat).concealed.begin(), hand->seat(seat).concealed.end());
    std::sort(v.concealed.begin(), v.concealed.end());
    const server::Wall& wall = hand->wall();
    v.headDrawn = wall.HeadDrawn();
    v.tailDrawn = wall.TailDrawn();
    v.wallStart = hand->ClientWallStart(seat);
    v.dealer = hand->dealer();
    for (int s = 0; s < 4; ++s) {
      auto& out = v.seats[static_cast<std::size_t>(s)];
      out.concealedCount = static_cast<int>(hand->seat(s).concealed.size());
      out.melds = hand->seat(s).melds;
    }
    // An offer to another seat on the turn seat's own turn, after no discard, is an offer to rob
    // an added kong: the konger has given up the tile on the server, but nobody has been told.
    if (v.type == 6 && hand->phase() == server::Phase::Discard && seat != hand->turn() &&
        lastTurnType_ != 2) {
      ++v.seats[static_cast<std::size_t>(hand->turn())].concealedCount;
    }
    for (int p = 0; p < server::kWallSize; ++p) {
      v.taken[static_cast<std::size_t>(p)] = wall.Taken(p);
      if (v.nextHead < 0 && !wall.Taken(p)) v.nextHead = p;
    }
    for (int k = 0; k < server::kWallSize && v.nextTail < 0; ++k) {
      if (!wall.Taken(server::Wall::TailPosition(k))) v.nextTail = server::Wall::TailPosition(k);
    }
    v.remaining = wall.Remaining();
  }
  return v;
}

void TableHarness::StartAll(bool robotClients) {
  StartAll(std::array<bool, 4>{robotClients, robotClients, robotClients, robotClients});
}

void TableHarness::StartAll(const std::array<bool, 4>& robotClients) {
  for (int i = 0; i < 4; ++i) {
    auto& s = *seats[i];
    std::string line = s.account + "$pw$127.0.0.1$6000$Table$0$$0$$$";
    if (robotClients[static_cast<std::size_t>(i)]) {
      s.hall.hallCaption = "robot-hall-" + std::to_string(i);
      line += "1$" + s.hall.hallCaption + "$tallow-robot-" + std::to_string(i) + "$";
    } else {
      line += "0$$$";
    }
    s.client = std::make_unique<Client>(s.Services(), line);
    s.client->framing.AfterDispatch = [this, i] {
      Handled(*seats[static_cast<std::size_t>(i)], i);
    };
    try {
      FormLoad(*s.client);
    } catch (const ProcessEnded& e) {
      s.ended = e;
    }
  }
}

void TableHarness::Handled(Seat& s, int i) {
  const bool isSpectator = &s == spectator.get();
  ++s.handled;
  if (s.pending.empty()) {
    failures.push_back((isSpectator ? std::string("the spectator") : "seat " + std::to_string(i)) +
                       " handled a record nobody sent");
    return;
  }
  SeatView view = s.pending.front();
  s.pending.pop_front();
  view.handledMs = clock.NowMs();
  if (isSpectator) {
    if (spectatorCheck) spectatorCheck(view, *s.client);
  } else if (check) {
    check(i, view, *s.client);
  }
}

void TableHarness::NoteSilence() {
  const server::Hand* hand = core.HandAt(0);
  if (silenceNoted_ || hand == nullptr || hand->Over() || clock.NowMs() - lastSendMs_ < 20'000) {
    return;
  }
  silenceNoted_ = true;
  for (int s = 0; s < 4; ++s) {
    if (const auto offer = hand->PendingOffer(s)) {
      ++silent[static_cast<std::size_t>(s)];
      ++silentOffers[protocol::DecodeHeader(*offer).Value[0]];
      if (silences.size() < 20) {
        silences.push_back("hand " + std::to_string(handsStarted_) + ": seat " + std::to_string(s) +
                           " has not answered offer " +
                           std::to_string(protocol::DecodeHeader(*offer).Value[0]) + " for 20 s");
      }
    }
  }
}

bool TableHarness::Run(std::int64_t ms, const std::function<bool()>& done, int stepMs) {
  for (std::int64_t t = 0; t < ms; t += stepMs) {
    if (done && done()) return true;
    try {
      clock.Advance(stepMs);
      NoteSilence();
      if (onStep) onStep();
    } catch (const ProcessEnded& e) {
      failures.push_back("a client ended: " + e.reason);
      return false;
    }
  }
  return done ? done() : true;
}

int HandsFromEnvironment(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v != nullptr ? std::atoi(v) : fallback;
}

}  // namespace tallow::testing
