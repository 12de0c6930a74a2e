#include "hall_options.h"

#include <charconv>
#include <functional>
#include <map>

namespace tallow::hall {
namespace {

bool ToInt(const std::string& s, int lo, int hi, int& out) {
  int v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  out = v;
  return true;
}

}  // namespace

ParsedOptions ParseHallOptions(const std::vector<std::string>& args) {
  ParsedOptions r;
  HallOptions& o = r.options;
  using Setter = std::function<bool(const std::string&)>;
  auto text = [](std::string& field) -> Setter {
    return [&field](const std::string& v) {
      field = v;
      return true;
    };
  };
  auto number = [](int& field, int lo, int hi) -> Setter {
    return [&field, lo, hi](const std::string& v) { return ToInt(v, lo, hi, field); };
  };
  const std::map<std::string, Setter> valued = {
      {"--caption", text(o.caption)},
      {"--host", text(o.host)},
      {"--port", number(o.port, 1, 65535)},
      {"--seat-port", number(o.seatPort, 1, 65535)},
      {"--account", text(o.account)},
      {"--password", text(o.password)},
      {"--proxy-host", text(o.proxy.host)},
      {"--proxy-port", number(o.proxy.port, 1, 65535)},
      {"--proxy-user", text(o.proxy.user)},
      {"--proxy-password", text(o.proxy.password)},
      {"--table", number(o.table, 0, 9999)},
      {"--seat", number(o.seat, 0, 3)},
      {"--robots", number(o.robots, 0, 3)},
      {"--watch", text(o.watch)},
      {"--client", text(o.client)},
      {"--data", text(o.data)},
      {"--grab", text(o.grab)},
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      r.help = true;
      return r;
    }
    if (a == "--sit") {
      o.sit = true;
      continue;
    }
    const auto it = valued.find(a);
    if (it == valued.end()) {
      r.error = "unknown option " + a;
      return r;
    }
    if (i + 1 >= args.size()) {
      r.error = a + " needs a value";
      return r;
    }
    if (!it->second(args[++i])) {
      r.error = "bad value for " + a + ": " + args[i];
      return r;
    }
  }
  if (o.caption.empty()) r.error = "the caption is empty";
  return r;
}

std::string HallUsage() {
  return "usage: tallow-hall [options]\n"
         "  --caption TEXT        window caption (default 锦程山庄; another caption makes a robot "
         "hall)\n"
         "  --host HOST           game server host (default 127.0.0.1)\n"
         "  --port N              game server port (default 7000)\n"
         "  --seat-port N         seating interface port (default port + 1)\n"
         "  --account NAME        account (default player)\n"
         "  --password TEXT       password\n"
         "  --proxy-host HOST     SOCKS5 proxy (the server host must then be an IPv4 address)\n"
         "  --proxy-port N        proxy port (default 1080)\n"
         "  --proxy-user NAME     proxy user\n"
         "  --proxy-password TEXT proxy password\n"
         "  --table N --seat K    table (from 0) and seat (0..3)\n"
         "  --robots N            fill N free seats of the table with robots at start-up\n"
         "  --sit                 sit down at start-up\n"
         "  --watch NAME          watch this player at start-up\n"
         "  --client PATH         the tallow program (default: the one beside the hall)\n"
         "  --data DIR            where the seats' directories live (DIR/seats/ACCOUNT;\n"
         "                        default $XDG_DATA_HOME/tallow, i.e. ~/.local/share/tallow)\n"
         "  --grab FILE.png       save a picture of the window when the hall closes\n";
}

}  // namespace tallow::hall
