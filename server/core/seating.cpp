// The seating interface: text commands from the hall (see docs/server.md).
#include <sstream>

#include "core/server.h"

namespace tallow::server {

namespace {

bool ParseInt(const std::string& s, int& out) {
  if (s.empty() || s.size() > 6) return false;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  out = v;
  return true;
}

// Reads "TABLE TEXT" (the text is the rest of the line); false unless the table exists and
// the text is not empty.
bool TableAndText(std::istringstream& in, int tables, int& table, std::string& text) {
  std::string ts;
  in >> ts;
  std::getline(in, text);
  if (!text.empty() && text[0] == ' ') text.erase(0, 1);
  return ParseInt(ts, table) && table < tables && !text.empty();
}

}  // namespace

std::string Server::Command(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::string cmd;
  in >> cmd;
  if (cmd.empty()) return "error empty command";

  if (cmd == "seat") {
    std::string account, ts, ss;
    int t = 0, k = 0;
    in >> account >> ts >> ss;
    if (account.empty() || !ParseInt(ts, t) || !ParseInt(ss, k) || t >= cfg_.maxTables || k > 3) {
      return "error usage: seat ACCOUNT TABLE SEAT";
    }
    Reserve(account, t, k);
    watchRequests_.erase(account);
    return "ok";
  }
  if (cmd == "unseat") {
    std::string account;
    in >> account;
    Unreserve(account);
    watchRequests_.erase(account);
    return "ok";
  }
  if (cmd == "robot") {
    std::string ts, ss, flag;
    int t = 0, k = 0;
    in >> ts >> ss >> flag;
    if (!ParseInt(ts, t) || !ParseInt(ss, k) || t >= cfg_.maxTables || k > 3) {
      return "error usage: robot TABLE SEAT [off]";
    }
    if (flag == "off") {
      robotSeats_.erase({t, k});
    } else {
      robotSeats_.insert({t, k});
    }
    if (t < TableCount()) {
      tables_[static_cast<std::size_t>(t)].robot[static_cast<std::size_t>(k)] = flag != "off";
    }
    return "ok";
  }
  if (cmd == "watch") {
    std::string account, target;
    in >> account >> target;
    if (account.empty() || target.empty() || account == target) {
      return "error usage: watch ACCOUNT TARGET";
    }
    watchRequests_[account] = target;
    Unreserve(account);
    return "ok";
  }
  if (cmd == "userid") {
    std::string account;
    in >> account;
    if (account.empty()) return "error usage: userid ACCOUNT";
    return "ok " + std::to_string(ProfileFor(account).userId);
  }
  if (cmd == "notice" || cmd == "say") {
    int t = 0;
    std::string text;
    if (!TableAndText(in, TableCount(), t, text)) return "error usage: " + cmd + " TABLE TEXT";
    ToTable(t, cmd == "notice" ? ServerNotice(text) : SystemChatLine(text));
    return "ok";
  }
  if (cmd == "tables") {
    std::ostringstream out;
    out << "ok";
    for (int t = 0; t < TableCount(); ++t) {
      const Table& table = tables_[static_cast<std::size_t>(t)];
      bool any = false;
      for (const auto& a : table.seats) any = any || !a.empty();
      if (!any) continue;
      out << " " << t << ":";
      for (int k = 0; k < 4; ++k) {
        const auto& a = table.seats[static_cast<std::size_t>(k)];
        out << (k ? "," : "") << (a.empty() ? "-" : a);
      }
      out << ":" << (table.hand && !table.hand->Over() ? "playing" : "waiting");
    }
    return out.str();
  }
  if (cmd == "hands") {
    std::string ts;
    int t = 0;
    in >> ts;
    if (!ParseInt(ts, t) || t < 0) return "error usage: hands TABLE";
    if (t >= TableCount()) return "ok 0 0";
    return "ok " + std::to_string(tables_[static_cast<std::size_t>(t)].handsPlayed) + " " +
           std::to_string(FinishedHandsAt(t));
  }
  if (cmd == "help") {
    return "ok commands: seat ACCOUNT TABLE SEAT | unseat ACCOUNT | robot TABLE SEAT [off] | "
           "watch ACCOUNT TARGET | userid ACCOUNT | notice TABLE TEXT | say TABLE TEXT | tables | "
           "hands TABLE";
  }
  return "error unknown command";
}

}  // namespace tallow::server
