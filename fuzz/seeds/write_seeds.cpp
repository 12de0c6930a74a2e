// Writes seed inputs for the fuzz targets from games the in-process robot table plays:
//   <dir>/client_records_fuzz/  what seat 0 and a spectator were sent, as client target inputs
//   <dir>/server_records_fuzz/  what the four clients sent, as server target inputs
//   <dir>/tcp_front_fuzz/       the same with the logins, in pieces through four sockets
// Usage: tallow-fuzz-seeds DIR [GAMES]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "client/client_input.h"
#include "client/client_states.h"
#include "common/byte_stream.h"
#include "common/table_records.h"
#include "doubles/table_harness.h"
#include "server/server_input.h"

namespace tallow::fuzz {
namespace {

namespace fs = std::filesystem;
using testing::TableHarness;

struct Game {
  std::vector<protocol::Record> toSeat0;
  std::vector<std::pair<int, protocol::Record>> fromSeats;  // (seat, record)
};

Game Play(std::uint64_t seed, std::int64_t ms) {
  server::Config config;
  config.startCoins = 1'000'000'000;
  TableHarness t(seed, true, config);
  Game g;
  t.onSend = [&](int seat, const protocol::Record& r) {
    if (seat == 0) g.toSeat0.push_back(r);
  };
  t.StartAll(true);
  for (int seat = 0; seat < 4; ++seat) {
    auto& socket = t.seats[static_cast<std::size_t>(seat)]->socket;
    socket.onSend = [&g, seat, forward = socket.onSend](std::span<const std::uint8_t> bytes) {
      for (std::size_t at = 0; at + protocol::kRecordSize <= bytes.size();
           at += protocol::kRecordSize) {
        protocol::Record rec;
        std::copy_n(bytes.begin() + static_cast<long>(at), protocol::kRecordSize, rec.begin());
        g.fromSeats.emplace_back(seat, rec);
      }
      forward(bytes);
    };
  }
  t.Run(ms);
  return g;
}

// Account names of the recorded table, as the client target's clients are called.
void Rename(protocol::Record& r, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; at + from.size() < r.size(); ++at) {
    if (std::equal(from.begin(), from.end(), r.begin() + static_cast<long>(at)) &&
        r[at + from.size()] == 0 && (at == 0 || r[at - 1] == 0)) {
      std::fill_n(r.begin() + static_cast<long>(at), from.size(), 0);
      std::copy(to.begin(), to.end(), r.begin() + static_cast<long>(at));
    }
  }
}

void Save(const fs::path& file, const ByteWriter& w) {
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(w.Data().data()),
             static_cast<std::streamsize>(w.Data().size()));
}

// The client's stream after its login was accepted, from state `state`.
ByteWriter ClientInput(ClientState state, const std::vector<protocol::Record>& records,
                       std::size_t from, std::size_t count) {
  namespace in = client_input;
  ByteWriter w;
  w.Byte(static_cast<int>(state));
  int token = -1;
  for (std::size_t i = from; i < records.size() && i < from + count; ++i) {
    protocol::Record r = records[i];
    Rename(r, "seat0", "player");
    if (protocol::Token(r) != token) {
      token = protocol::Token(r);
      w.Byte(in::kToken);
      w.Word(token);
    }
    ByteWriter rec;
    if (WriteServerRecord(rec, r)) {
      w.Byte(in::kRecord);
      w.Bytes(rec.Data());
    } else {
      w.Byte(in::kRawRecord);
      w.Bytes(r);
    }
  }
  return w;
}

// A proxy that answers the greeting, the user name and password and the connect request in
// pieces of one to four bytes, a little time apart, and then the game.
ByteWriter ProxiedInput(const std::vector<protocol::Record>& records, std::size_t from) {
  namespace in = client_input;
  ByteWriter w;
  w.Byte(static_cast<int>(ClientState::ProxyNegotiation));
  const std::vector<std::vector<std::uint8_t>> replies = {
      {0x05, 0x02}, {0x01, 0x00}, {0x05, 0x00, 0x00, 0x01, 10, 1, 2, 3, 0x1F, 0x40}};
  for (const auto& reply : replies) {
    for (std::size_t at = 0; at < reply.size();) {
      const std::size_t n = std::min<std::size_t>(1 + at % 4, reply.size() - at);
      w.Byte(in::kRawBytes);
      w.Byte(static_cast<int>(n));
      w.Bytes(std::span(reply).subspan(at, n));
      at += n;
    }
    w.Byte(in::kTime);
    w.Byte(3);
  }
  const ByteWriter game = ClientInput(ClientState::LoggedIn, records, from, 200);
  w.Bytes(std::span(game.Data()).subspan(1));
  return w;
}

// The clients' records in the server target's form: tokens and discarded tiles come from the
// table the target plays (its tokens, the sender's own tiles).
ByteWriter ServerInput(const std::vector<std::pair<int, protocol::Record>>& records) {
  ByteWriter w;
  int discards = 0;
  for (auto [seat, r] : records) {
    const int code = r[protocol::off::kType];
    if (code == 18 || code == 28) continue;  // the target's players are logged in already
    const bool discard = code == 2;
    protocol::SetToken(r, 0);
    if (discard) protocol::WriteWord(r, protocol::off::kValues + 6, 0x4000);
    ByteWriter rec;
    if (!WriteClientRecord(rec, r)) continue;
    std::vector<std::uint8_t> bytes = rec.Data();
    bytes.back() = static_cast<std::uint8_t>(kLiveFrom + seat);  // the seat's token
    if (discard && bytes.size() == 8) bytes[6] = static_cast<std::uint8_t>(kLiveFrom + discards++);
    w.Byte(server_input::kRecord + seat);
    w.Bytes(bytes);
  }
  return w;
}

// The clients' records with their logins, written through four connections in pieces of
// 1 to 511 bytes, each connection reading what it was sent now and then.
ByteWriter TcpInput(const std::vector<std::pair<int, protocol::Record>>& records) {
  ByteWriter w;
  for (int seat = 0; seat < 4; ++seat) {
    w.Byte(0);
    w.Byte(seat);
  }
  int n = 0;
  for (auto [seat, r] : records) {
    Rename(r, "seat" + std::to_string(seat), "p" + std::to_string(seat));
    ByteWriter rec;
    if (WriteClientRecord(rec, r)) {
      w.Byte(1);
      w.Byte(seat);
      w.Bytes(rec.Data());
    } else {
      w.Byte(3);
      w.Byte(seat);
      w.Byte(255);
      w.Bytes(std::span(r).first(255));
      w.Byte(3);
      w.Byte(seat);
      w.Byte(static_cast<int>(r.size() - 255));
      w.Bytes(std::span(r).subspan(255));
    }
    for (int piece = 0; piece < 2; ++piece) {
      w.Byte(2);
      w.Byte(seat);
      w.Byte(++n * 37 % 256);
    }
    if (n % 5 == 0) {
      w.Byte(6);
      w.Byte(seat);
    }
  }
  return w;
}

}  // namespace
}  // namespace tallow::fuzz

int main(int argc, char** argv) {
  using namespace tallow::fuzz;
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DIR [GAMES]\n", argv[0]);
    return 2;
  }
  const fs::path dir = argv[1];
  const int games = argc > 2 ? std::atoi(argv[2]) : 4;
  fs::create_directories(dir / "client_records_fuzz");
  fs::create_directories(dir / "server_records_fuzz");
  fs::create_directories(dir / "tcp_front_fuzz");
  for (int g = 0; g < games; ++g) {
    const Game game = Play(100 + static_cast<std::uint64_t>(g), 600'000);
    // Skip what came before the login was accepted (the client target's states start there).
    std::size_t start = 0;
    while (start < game.toSeat0.size() && game.toSeat0[start][tallow::protocol::off::kType] != 18)
      ++start;
    ++start;
    const std::string name = "game" + std::to_string(g);
    Save(dir / "client_records_fuzz" / name,
         ClientInput(ClientState::LoggedIn, game.toSeat0, start, 1500));
    // Later stretches of the same game from the states they fit: in a hand, at its end.
    for (int s = 1; s < static_cast<int>(ClientState::Count); ++s) {
      Save(dir / "client_records_fuzz" / (name + "-" + StateName(static_cast<ClientState>(s))),
           ClientInput(static_cast<ClientState>(s), game.toSeat0, start + 20 + 30u * s, 60));
    }
    Save(dir / "client_records_fuzz" / (name + "-proxied"), ProxiedInput(game.toSeat0, start));
    Save(dir / "server_records_fuzz" / name, ServerInput(game.fromSeats));
    Save(dir / "tcp_front_fuzz" / name, TcpInput(game.fromSeats));
  }
  std::printf("seeds written to %s\n", dir.c_str());
  return 0;
}
