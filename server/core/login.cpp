// Logins, relogins and where a new player sits.
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
      // Seats reserved for someone else stay free for them.
      if (table.seats[static_cast<std::size_t>(k)].empty() && !reservedSeats_.count({t, k})) {
        return std::make_pair(t, k);
      }
    }
  }
  return std::nullopt;
}

void Server::Reserve(const std::string& account, int table, int seat) {
  Unreserve(account);
  reservations_[account] = {table, seat};
  ++reservedSeats_[{table, seat}];
}

void Server::Unreserve(const std::string& account) {
  auto r = reservations_.find(account);
  if (r == reservations_.end()) return;
  auto count = reservedSeats_.find(r->second);
  if (count != reservedSeats_.end() && --count->second <= 0) reservedSeats_.erase(count);
  reservations_.erase(r);
}

bool Server::Throttled(const std::string& account) {
  auto it = failures_.find(account);
  if (it == failures_.end()) return false;
  auto& times = it->second;
  while (!times.empty() && now_ - times.front() >= cfg_.failedLoginWindowMs) times.pop_front();
  if (times.empty()) {
    failures_.erase(it);
    return false;
  }
  return static_cast<int>(times.size()) >= cfg_.failedLoginLimit;
}

void Server::NoteFailure(const std::string& account) {
  if (!Find(account) && !cfg_.users.count(account)) return;
  failures_[account].push_back(now_);
  Schedule(now_ + cfg_.failedLoginWindowMs, DueKind::Failures, 0, account);
}

void Server::ForgetOldFailures() {
  for (auto it = failures_.begin(); it != failures_.end();) {
    const bool old = it->second.empty() || now_ - it->second.back() >= cfg_.failedLoginWindowMs;
    it = old ? failures_.erase(it) : std::next(it);
  }
}

// A relogin takes back the seat of a dropped (or still attached) session. It must carry the
// session's token and the password of the session's first login, checked as a login is; a
// refused relogin closes the connection, so every guess costs a new one.
void Server::OnRelogin(int conn, const std::string& account, const std::string& password,
                       std::uint16_t token) {
  Session* s = Find(account);
  const bool throttled = Throttled(account);
  const bool accepted = !throttled && s && !s->watcher && s->table >= 0 &&
                        Verify(account, password) && s->password == password && s->token == token;
  if (!accepted) {
    if (!throttled) NoteFailure(account);
    Emit(conn, ReconnectResult(false));
    Close(conn);
    return;
  }
  if (s->conn >= 0 && s->conn != conn) Detach(s->conn);
  s->conn = conn;
  s->droppedAt = -1;
  Conn& c = conns_[conn];
  c.account = account;
  c.token = s->token;
  Emit(conn, ReconnectResult(true));
  SendRestore(*s, true);
}

void Server::OnLogin(int conn, const Record& rec, bool relogin) {
  Conn& c = conns_[conn];
  if (!c.account.empty()) return;  // already logged in on this connection
  const std::string account = Text(rec, off::kUserName, 16);
  const std::string password = Text(rec, off::kPassword, off::kToken - off::kPassword);

  if (relogin) {
    OnRelogin(conn, account, password, protocol::Token(rec));
    return;
  }

  Session* existing = Find(account);
  const bool throttled = Throttled(account);
  if (throttled || !Verify(account, password) || (existing && existing->password != password)) {
    if (!throttled) NoteFailure(account);
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
    s.password = password;
    s.token = static_cast<std::uint16_t>(1 + rng_.Below(65535));
    s.conn = conn;
    s.watcher = true;
    c.account = account;
    c.token = s.token;
    Emit(conn, LoginResult(1, cfg_.timeoutLimit, cfg_.turnSeconds, cfg_.webAddress));
    Watch(s, table, seat);
    return;
  }

  if (Session* s = existing) {
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
      c.token = s->token;
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
  s.password = password;
  s.token = static_cast<std::uint16_t>(1 + rng_.Below(65535));
  s.conn = conn;
  c.account = account;
  c.token = s.token;
  ProfileFor(account).logins++;
  Unreserve(account);
  Emit(conn, LoginResult(1, cfg_.timeoutLimit, cfg_.turnSeconds, cfg_.webAddress));
  Seat(s, place->first, place->second);
}

}  // namespace tallow::server
