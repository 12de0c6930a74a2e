// Players at tables: seating, spectators, leaving, ready, hand start and end, chat.
#include <algorithm>

#include "core/server.h"
#include "core/server_util.h"
#include "protocol/record.h"

namespace tallow::server {

namespace off = protocol::off;
using detail::Bit;
using detail::ForWatchers;
using detail::PrintableAccount;
using detail::Text;
using detail::Word;

void Server::Seat(Session& s, int table, int seat) {
  Table& t = TableAt(table);
  t.seats[static_cast<std::size_t>(seat)] = s.account;
  t.robot[static_cast<std::size_t>(seat)] = robotSeats_.count({table, seat}) > 0;
  s.table = table;
  s.seat = seat;
  s.ready = false;
  // Everyone already seated learns of the newcomer.
  const Record mine = PlayerProfile(ProfileFor(s.account), 0, false);
  for (int k = 0; k < 4; ++k) {
    if (k == seat) continue;
    if (Session* o = Find(t.seats[static_cast<std::size_t>(k)])) ToSession(*o, mine);
  }
  SendSeating(s, true);
  if (!Full(t)) return;
  for (int k = 0; k < 4; ++k) {
    if (k == seat) continue;
    if (Session* o = Find(t.seats[static_cast<std::size_t>(k)])) SendSeating(*o, false);
  }
  // Robot seats are ready for the first hand as they sit down: a table that fills up with
  // them starts at once.
  MaybeStart(table);
}

// The view of the table for one player: its own profile and the others' with unknown seats,
// and once the table is full the seat names and the profiles again with their seats.
void Server::SendSeating(const Session& s, bool withUnknown) {
  if (s.table < 0) return;
  Table& t = TableAt(s.table);
  if (withUnknown) {
    ToSession(s, PlayerProfile(ProfileFor(s.account), 15, s.ready));
    for (int k = 0; k < 4; ++k) {
      const auto& a = t.seats[static_cast<std::size_t>(k)];
      if (k == s.seat || a.empty()) continue;
      const Session* o = Find(a);
      ToSession(s, PlayerProfile(ProfileFor(a), 0, o && o->ready));
    }
  }
  if (!Full(t)) return;
  for (int k = 0; k < 4; ++k) {
    ToSession(s, SeatPlayer(Bit(k), t.seats[static_cast<std::size_t>(k)]));
  }
  for (int k = 0; k < 4; ++k) {
    const auto& a = t.seats[static_cast<std::size_t>(k)];
    const Session* o = Find(a);
    ToSession(s, PlayerProfile(ProfileFor(a), k == s.seat ? 15 : Bit(k), o && o->ready));
  }
}

// A player who comes back into a running hand: the table is rebuilt and any open offer is
// made again; the seat's time limit runs on, so he has the time that is left.
void Server::SendRestore(const Session& s, bool missedEnd) {
  if (s.table < 0) return;
  Table& t = TableAt(s.table);
  if (!t.hand || (t.hand->Over() && !missedEnd)) return;
  for (const auto& r : t.hand->Restore(s.seat)) ToSession(s, r);
  if (auto offer = t.hand->PendingOffer(s.seat)) ToSession(s, *offer);
  // A hand that ended while the player was away: its end, so the client can go on.
  if (t.hand->Over()) {
    for (const auto& r : t.hand->EndRecords()) ToSession(s, r);
  }
}

void Server::Watch(Session& s, int table, int seat) {
  Table& t = TableAt(table);
  s.table = table;
  s.seat = seat;
  t.watchers[static_cast<std::size_t>(seat)].push_back(s.account);
  // During a hand the table-cleared message (41) comes first: the spectator's client reads the
  // dealer and the wall's start from it when the fourth profile completes its table. The
  // snapshots (and a discard that waits for claims) follow the profiles.
  std::vector<Record> restore;
  if (t.hand && !t.hand->Over()) restore = t.hand->Restore(seat, /*spectator=*/true);
  if (!restore.empty()) ToSession(s, restore.front());
  for (int k = 0; k < 4; ++k) {
    const auto& a = t.seats[static_cast<std::size_t>(k)];
    const Session* o = Find(a);
    ToSession(s, PlayerProfile(ProfileFor(a), Bit(k), o && o->ready));
  }
  for (std::size_t i = 1; i < restore.size(); ++i) ToSession(s, restore[i]);
}

void Server::Leave(Session& s) {
  if (s.table < 0 || s.watcher) return;
  const int table = s.table;
  Table& t = TableAt(table);
  const std::string account = s.account;
  t.seats[static_cast<std::size_t>(s.seat & 3)].clear();
  s.table = -1;
  s.seat = -1;
  s.ready = false;
  if (t.hand && !t.hand->Over()) t.hand.reset();
  for (auto& w : t.watchers) {
    for (const auto& a : w) {
      if (const Session* ws = Find(a)) ToSession(*ws, PlayerQuit(account));
    }
  }
  const Record quit = PlayerQuit(account);
  const Record left = SeatEvent(PresentMask(t), 1);
  for (int k = 0; k < 4; ++k) {
    if (Session* o = Find(t.seats[static_cast<std::size_t>(k)])) {
      o->ready = false;
      ToSession(*o, quit);
      ToSession(*o, left);
    }
  }
  t.handsPlayed = 0;
}

void Server::OnSeatState(Session& s, int value) {
  if (s.table < 0) return;
  if (value == 0) {
    Leave(s);
    return;
  }
  if (value != 1) return;
  Table& t = TableAt(s.table);
  if ((t.hand && !t.hand->Over()) || s.ready) return;
  s.ready = true;
  ToTable(s.table, PlayerReady(s.account));
  MaybeStart(s.table);
}

void Server::MaybeStart(int table) {
  Table& t = TableAt(table);
  if (!Full(t) || (t.hand && !t.hand->Over())) return;
  std::array<std::int64_t, 4> coins{};
  for (int k = 0; k < 4; ++k) {
    const auto i = static_cast<std::size_t>(k);
    const Session* o = Find(t.seats[i]);
    if (!o) return;
    if (!o->ready && !(t.robot[i] && t.handsPlayed == 0)) return;
    coins[i] = ProfileFor(t.seats[i]).coins;
  }
  for (int k = 0; k < 4; ++k) {
    if (Session* o = Find(t.seats[static_cast<std::size_t>(k)])) o->ready = false;
  }
  HandOptions ho;
  ho.stake = cfg_.stake;
  ho.actLimitMs = cfg_.actLimitMs;
  t.hand =
      std::make_unique<Hand>(t.dealer, rng_, ho, coins,
                             [this, table](int seat, const Record& r) { ToSeat(table, seat, r); });
  t.settled = false;
  t.handsPlayed++;
  t.hand->Start(now_);
  AfterHand(table);
  ArmDeadline(table);
}

// Book-keeping once a hand has ended: coins, statistics, the next dealer, players out of coins.
void Server::AfterHand(int table) {
  Table& t = TableAt(table);
  if (!t.hand || !t.hand->Over() || t.settled) return;
  t.settled = true;
  const int winner = t.hand->winner();
  if (const auto& st = t.hand->settlement()) {
    for (int k = 0; k < 4; ++k) {
      const auto i = static_cast<std::size_t>(k);
      Profile& p = ProfileFor(t.seats[i]);
      p.coins = std::max<std::int64_t>(0, p.coins + st->amount[i]);
      if (k == winner) {
        p.wins++;
      } else if (st->amount[i] < 0) {
        p.losses++;
      }
    }
  }
  if (winner >= 0 && winner != t.dealer) t.dealer = (t.dealer + 1) & 3;
  int withCoins = 0;
  for (int k = 0; k < 4; ++k) {
    if (ProfileFor(t.seats[static_cast<std::size_t>(k)]).coins >= cfg_.stake) withCoins |= Bit(k);
  }
  if (withCoins == 15) return;
  ToTable(table, SeatEvent(withCoins, 3));
  for (int k = 0; k < 4; ++k) {
    const std::string a = t.seats[static_cast<std::size_t>(k)];
    t.seats[static_cast<std::size_t>(k)].clear();
    if (Session* o = Find(a)) {
      o->table = -1;
      o->seat = -1;
      o->ready = false;
      if (o->conn < 0) sessions_.erase(a);
    }
  }
  for (auto& w : t.watchers) {
    for (const auto& a : w) {
      if (Session* ws = Find(a)) ws->table = -1;
    }
    w.clear();
  }
  t.hand.reset();
  t.handsPlayed = 0;
}

void Server::OnChat(Session& s, const Record& rec) {
  if (s.table < 0) return;
  const auto v = [&rec](int i) { return Word(rec, i); };
  Record out = protocol::BuildRecord(protocol::MsgType::ChatMessage, Bit(s.seat),
                                     {v(0) == 1 ? 1 : 0, 0, v(2) & 0xFF, v(3) & 0xFF});
  for (std::size_t i = 0; i < off::kChatTextSize; ++i) {
    out[off::kChatText + i] = rec[off::kChatText + i];
  }
  Table& t = TableAt(s.table);
  const int target = v(1);
  if (target == 1 || target == 2 || target == 4 || target == 8) {
    const int k = target == 1 ? 0 : target == 2 ? 1 : target == 4 ? 2 : 3;
    ToSession(s, out);
    if (k != s.seat) {
      if (Session* o = Find(t.seats[static_cast<std::size_t>(k)])) ToSession(*o, out);
    }
    return;
  }
  ToTable(s.table, out);
}

}  // namespace tallow::server
