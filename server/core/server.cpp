#include "core/server.h"

#include <algorithm>

#include "protocol/record.h"

namespace tallow::server {

namespace off = protocol::off;

namespace {

int Bit(int seat) {
  return 1 << (seat & 3);
}

// Types a watcher receives from the watched seat's stream; session messages (login, profiles,
// seat names, restore) and the seat's own offers are the player's alone.
bool ForWatchers(int type) {
  switch (type) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 7:
    case 8:
    case 9:
    case 14:
    case 15:
    case 16:
    case 17:
    case 19:
    case 21:
    case 22:
    case 23:
      return true;
    default:
      return false;
  }
}

std::string Text(const Record& rec, std::size_t offset, std::size_t max) {
  auto bytes = protocol::CString(rec, offset, max);
  return std::string(bytes.begin(), bytes.end());
}

bool PrintableAccount(const std::string& a) {
  if (a.empty()) return false;
  return std::all_of(a.begin(), a.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

}  // namespace

Server::Server(Config config, std::uint64_t seed) : cfg_(std::move(config)), rng_(seed) {
  cfg_.turnSeconds = std::clamp(cfg_.turnSeconds, 0, 15);
  cfg_.timeoutLimit = std::clamp(cfg_.timeoutLimit, 0, 255);
  cfg_.stake = std::clamp(cfg_.stake, 1, 32767);
  cfg_.maxTables = std::clamp(cfg_.maxTables, 1, 4096);
  cfg_.actLimitMs = std::max<std::int64_t>(cfg_.actLimitMs, 1);
}

Server::~Server() = default;

std::vector<Output> Server::Drain() {
  std::vector<Output> out;
  out.swap(queue_);
  return out;
}

void Server::Emit(int conn, Record rec) {
  std::uint16_t token = 0;
  if (auto it = conns_.find(conn); it != conns_.end() && !it->second.account.empty()) {
    if (auto* s = Find(it->second.account)) token = s->token;
  }
  protocol::SetToken(rec, token);
  Output o{conn, rec, false};
  if (sink_) {
    sink_(o);
  } else {
    queue_.push_back(o);
  }
}

void Server::Close(int conn) {
  if (!conns_.count(conn)) return;
  Output o{conn, Record{}, true};
  Drop(conn);
  if (sink_) {
    sink_(o);
  } else {
    queue_.push_back(o);
  }
}

void Server::Detach(int conn) {
  if (conns_.erase(conn) == 0) return;
  Output o{conn, Record{}, true};
  if (sink_) {
    sink_(o);
  } else {
    queue_.push_back(o);
  }
}

void Server::ToSession(const Session& s, const Record& rec) {
  if (s.conn >= 0) Emit(s.conn, rec);
}

void Server::ToSeat(int table, int seat, const Record& rec) {
  Table& t = TableAt(table);
  const auto i = static_cast<std::size_t>(seat & 3);
  if (auto* s = Find(t.seats[i])) ToSession(*s, rec);
  if (!ForWatchers(rec[off::kType]) || rec[off::kTypeHigh] != 0) return;
  for (const auto& w : t.watchers[i]) {
    if (auto* s = Find(w)) ToSession(*s, rec);
  }
}

void Server::ToTable(int table, const Record& rec) {
  for (int k = 0; k < 4; ++k) ToSeat(table, k, rec);
}

Server::Session* Server::SessionOf(int conn) {
  auto it = conns_.find(conn);
  if (it == conns_.end() || it->second.account.empty()) return nullptr;
  Session* s = Find(it->second.account);
  return (s && s->conn == conn) ? s : nullptr;
}

Server::Session* Server::Find(std::string_view account) {
  if (account.empty()) return nullptr;
  auto it = sessions_.find(account);
  return it == sessions_.end() ? nullptr : &it->second;
}

Profile& Server::ProfileFor(const std::string& account) {
  auto it = profiles_.find(account);
  if (it != profiles_.end()) return it->second;
  Profile p;
  p.account = account;
  p.nickname = account;
  p.coins = cfg_.startCoins;
  p.userId = nextUserId_++;
  if (auto u = cfg_.users.find(account); u != cfg_.users.end()) {
    if (!u->second.nickname.empty()) p.nickname = u->second.nickname;
    if (u->second.coins >= 0) p.coins = u->second.coins;
    p.gender = u->second.gender;
    p.avatar = u->second.avatar;
  }
  return profiles_.emplace(account, p).first->second;
}

bool Server::Verify(const std::string& account, const std::string& password) const {
  if (!PrintableAccount(account)) return false;
  if (cfg_.openMode) return true;
  auto it = cfg_.users.find(account);
  return it != cfg_.users.end() && it->second.password == password;
}

Server::Table& Server::TableAt(int t) {
  while (static_cast<int>(tables_.size()) <= t) tables_.emplace_back();
  return tables_[static_cast<std::size_t>(t)];
}

bool Server::Full(const Table& t) const {
  return std::all_of(t.seats.begin(), t.seats.end(), [](const auto& a) { return !a.empty(); });
}

int Server::PresentMask(const Table& t) const {
  int m = 0;
  for (int k = 0; k < 4; ++k) {
    if (!t.seats[static_cast<std::size_t>(k)].empty()) m |= Bit(k);
  }
  return m;
}

// ---------------------------------------------------------------------------------------------
// Transport events

void Server::Connect(int conn) {
  if (conns_.count(conn)) Drop(conn);
  conns_[conn] = Conn{"", now_, now_};
}

void Server::Disconnect(int conn) {
  Drop(conn);
}

void Server::Drop(int conn) {
  auto it = conns_.find(conn);
  if (it == conns_.end()) return;
  const std::string account = it->second.account;
  conns_.erase(it);
  Session* s = Find(account);
  if (!s || s->conn != conn) return;
  s->conn = -1;
  if (s->watcher) {
    if (s->table >= 0) {
      auto& list = TableAt(s->table).watchers[static_cast<std::size_t>(s->seat & 3)];
      list.erase(std::remove(list.begin(), list.end(), account), list.end());
    }
    sessions_.erase(account);
    return;
  }
  if (s->table >= 0) {
    const Table& t = TableAt(s->table);
    if (t.hand && !t.hand->Over()) {
      s->droppedAt = now_;  // keeps the seat for a while; the table plays on for it
      ProfileFor(account).disconnects++;
      return;
    }
    Leave(*s);
  }
  sessions_.erase(account);
}

void Server::Receive(int conn, const Record& rec) {
  auto it = conns_.find(conn);
  if (it == conns_.end()) return;
  it->second.lastSeen = now_;
  if (rec[off::kTypeHigh] != 0) return;
  const int code = rec[off::kType];
  if (code == 18 || code == 28) {
    OnLogin(conn, rec, code == 28);
    return;
  }
  Session* s = SessionOf(conn);
  if (!s || s->watcher) return;
  switch (code) {
    case 24:
      return;
    case 16:
      OnSeatState(*s, protocol::ReadWord(rec, off::kValues + 6) & 0xFF);
      return;
    case 19:
      OnChat(*s, rec);
      return;
    case 2:
    case 7: {
      if (s->table < 0) return;
      Table& t = TableAt(s->table);
      if (!t.hand || t.hand->Over()) return;
      const auto v = [&rec](int i) {
        return static_cast<Tile>(protocol::ReadWord(rec, off::kValues + 2 * i) & 0xFF);
      };
      if (code == 2) {
        t.hand->Discard(s->seat, v(3), now_);
      } else {
        t.hand->Operate(s->seat, protocol::ReadWord(rec, off::kValues) & 0xFF, v(1), v(2), v(3),
                        now_);
      }
      AfterHand(s->table);
      return;
    }
    default:
      return;
  }
}

void Server::Advance(std::int64_t ms) {
  // Time moves in steps to each turn deadline that falls inside the interval, so a long
  // advance plays every silent turn at its own moment.
  const std::int64_t target = now_ + std::max<std::int64_t>(ms, 0);
  for (int guard = 0; guard < 1000000; ++guard) {
    std::int64_t next = target;
    for (const auto& t : tables_) {
      if (t.hand && !t.hand->Over()) next = std::min(next, std::max(t.hand->deadline(), now_));
    }
    now_ = next;
    RunDue();
    if (now_ >= target) break;
  }
}

void Server::RunDue() {
  // Silent connections.
  std::vector<int> stale;
  for (const auto& [id, c] : conns_) {
    if (c.account.empty()) {
      if (now_ - c.opened >= cfg_.loginTimeoutMs) stale.push_back(id);
      continue;
    }
    const Session* s = Find(c.account);
    if (s && !s->watcher && now_ - c.lastSeen >= cfg_.idleDropMs) stale.push_back(id);
  }
  for (int id : stale) Close(id);
  // Silent seats.
  for (int t = 0; t < TableCount(); ++t) {
    Table& table = tables_[static_cast<std::size_t>(t)];
    if (table.hand && !table.hand->Over()) {
      table.hand->Tick(now_);
      AfterHand(t);
    }
  }
  // Players who did not come back.
  std::vector<std::string> gone;
  for (const auto& [account, s] : sessions_) {
    if (s.conn < 0 && s.droppedAt >= 0 && now_ - s.droppedAt >= cfg_.keepSeatMs) {
      gone.push_back(account);
    }
  }
  for (const auto& a : gone) {
    if (Session* s = Find(a)) {
      Leave(*s);
      sessions_.erase(a);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Login and seating

std::optional<std::pair<int, int>> Server::ChooseSeat(const std::string& account) {
  if (auto r = reservations_.find(account); r != reservations_.end()) {
    auto [t, k] = r->second;
    if (t < 0 || t >= cfg_.maxTables || k < 0 || k > 3) return std::nullopt;
    const auto& who = TableAt(t).seats[static_cast<std::size_t>(k)];
    if (!who.empty() && who != account) return std::nullopt;
    return r->second;
  }
  for (int t = 0; t < cfg_.maxTables; ++t) {
    Table& table = TableAt(t);
    if (table.hand && !table.hand->Over()) continue;
    for (int k = 0; k < 4; ++k) {
      if (!table.seats[static_cast<std::size_t>(k)].empty()) continue;
      // Seats reserved for someone else stay free for them.
      const bool reserved = std::any_of(
          reservations_.begin(), reservations_.end(),
          [&](const auto& r) { return r.second == std::make_pair(t, k) && r.first != account; });
      if (!reserved) return std::make_pair(t, k);
    }
  }
  return std::nullopt;
}

void Server::OnLogin(int conn, const Record& rec, bool relogin) {
  Conn& c = conns_[conn];
  if (!c.account.empty()) return;  // already logged in on this connection
  const std::string account = Text(rec, off::kUserName, 16);
  const std::string password = Text(rec, off::kPassword, off::kToken - off::kPassword);

  if (relogin) {
    Session* s = Find(account);
    if (!s || s->watcher || s->table < 0 || s->token != protocol::Token(rec)) {
      Emit(conn, ReconnectResult(false));
      return;
    }
    if (s->conn >= 0 && s->conn != conn) Detach(s->conn);
    s->conn = conn;
    s->droppedAt = -1;
    conns_[conn].account = account;
    Emit(conn, ReconnectResult(true));
    SendRestore(*s, true);
    return;
  }

  if (!Verify(account, password)) {
    Emit(conn, LoginResult(3, cfg_.timeoutLimit, cfg_.turnSeconds, cfg_.webAddress));
    return;
  }

  // A spectator: the hall asked for this account to watch someone.
  if (auto w = watchRequests_.find(account); w != watchRequests_.end()) {
    const Session* target = Find(w->second);
    if (Find(account) || !target || target->table < 0 || target->watcher ||
        !Full(TableAt(target->table))) {
      Emit(conn, LoginResult(2, cfg_.timeoutLimit, cfg_.turnSeconds, cfg_.webAddress));
      return;
    }
    const int table = target->table;
    const int seat = target->seat;
    Session& s = sessions_[account];
    s = Session{};
    s.account = account;
    s.token = static_cast<std::uint16_t>(1 + rng_.Below(65535));
    s.conn = conn;
    s.watcher = true;
    c.account = account;
    Emit(conn, LoginResult(1, cfg_.timeoutLimit, cfg_.turnSeconds, cfg_.webAddress));
    Watch(s, table, seat);
    return;
  }

  if (Session* s = Find(account)) {
    // The same player again (a new client process): it takes the session over.
    if (s->watcher) {
      Emit(conn, LoginResult(2, cfg_.timeoutLimit, cfg_.turnSeconds, cfg_.webAddress));
      return;
    }
    if (s->conn >= 0) Detach(s->conn);
    {
      s->conn = conn;
      s->droppedAt = -1;
      c.account = account;
      ProfileFor(account).logins++;
      Emit(conn, LoginResult(1, cfg_.timeoutLimit, cfg_.turnSeconds, cfg_.webAddress));
      if (s->table >= 0) {
        SendSeating(*s, true);
        SendRestore(*s, false);
      }
      return;
    }
  }

  auto place = ChooseSeat(account);
  if (!place) {
    Emit(conn, LoginResult(2, cfg_.timeoutLimit, cfg_.turnSeconds, cfg_.webAddress));
    return;
  }
  Session& s = sessions_[account];
  s = Session{};
  s.account = account;
  s.token = static_cast<std::uint16_t>(1 + rng_.Below(65535));
  s.conn = conn;
  c.account = account;
  ProfileFor(account).logins++;
  Emit(conn, LoginResult(1, cfg_.timeoutLimit, cfg_.turnSeconds, cfg_.webAddress));
  Seat(s, place->first, place->second);
}

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
// made again.
void Server::SendRestore(const Session& s, bool missedEnd) {
  if (s.table < 0) return;
  Table& t = TableAt(s.table);
  if (!t.hand || (t.hand->Over() && !missedEnd)) return;
  ToSession(s, t.hand->Cleared());
  for (const auto& r : t.hand->Snapshots(s.seat)) ToSession(s, r);
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
  for (int k = 0; k < 4; ++k) {
    const auto& a = t.seats[static_cast<std::size_t>(k)];
    const Session* o = Find(a);
    ToSession(s, PlayerProfile(ProfileFor(a), Bit(k), o && o->ready));
  }
  if (t.hand && !t.hand->Over()) {
    ToSession(s, t.hand->Cleared());
    for (const auto& r : t.hand->Snapshots(seat)) ToSession(s, r);
  }
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
  const auto v = [&rec](int i) { return protocol::ReadWord(rec, off::kValues + 2 * i) & 0xFF; };
  Record out = Make(19, Bit(s.seat), v(0) == 1 ? 1 : 0, 0, v(2), v(3));
  for (std::size_t i = 0; i < off::kChatTextSize - 1; ++i) {
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

// ---------------------------------------------------------------------------------------------
// Views

const Hand* Server::HandAt(int table) const {
  if (table < 0 || table >= TableCount()) return nullptr;
  return tables_[static_cast<std::size_t>(table)].hand.get();
}

std::string Server::AccountAt(int table, int seat) const {
  if (table < 0 || table >= TableCount() || seat < 0 || seat > 3) return {};
  return tables_[static_cast<std::size_t>(table)].seats[static_cast<std::size_t>(seat)];
}

std::optional<std::pair<int, int>> Server::SeatOf(std::string_view account) const {
  auto it = sessions_.find(account);
  if (it == sessions_.end() || it->second.table < 0 || it->second.watcher) return std::nullopt;
  return std::make_pair(it->second.table, it->second.seat);
}

std::uint16_t Server::TokenOf(std::string_view account) const {
  auto it = sessions_.find(account);
  return it == sessions_.end() ? 0 : it->second.token;
}

const Profile* Server::ProfileOf(std::string_view account) const {
  auto it = profiles_.find(account);
  return it == profiles_.end() ? nullptr : &it->second;
}

int Server::DealerAt(int table) const {
  if (table < 0 || table >= TableCount()) return 0;
  return tables_[static_cast<std::size_t>(table)].dealer;
}

}  // namespace tallow::server
