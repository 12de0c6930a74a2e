#include "client_states.h"

#include "app/picture_script.h"
#include "protocol/record_builder.h"
#include "session/client.h"
#include "session/framing.h"
#include "session/receive.h"

namespace tallow::fuzz {
namespace {

using picture::Stage;
using testing::ClientHarness;

// The record arrives as the receive slot hands it on: no ticks, so the prefix is cheap.
void Feed(Client& c, const protocol::Record& r) {
  AppendReceived(c, r);
  ExtractMessage(c);
  DispatchMessage(c);
}

protocol::Record LoginAccepted() {
  return protocol::BuildRecord(protocol::MsgType::LoginResult, 0, {3, 15, 0, 1});
}

// Seat names and profiles of a full table, the local player at seat bit 1.
void Seat(Client& c) {
  Feed(c, LoginAccepted());
  const char* accounts[] = {picture::kLocalAccount, "songshu", "zhuzi", "lanlan"};
  for (int seat = 0; seat <= 3; ++seat) {
    auto r = protocol::BuildRecord(protocol::MsgType::SeatPlayer, 1 << seat);
    protocol::PutGbk(r, protocol::off::kSeatName, protocol::off::kSeatNameSize, accounts[seat]);
    Feed(c, r);
  }
  for (int seat = 0; seat <= 3; ++seat) {
    auto r = protocol::BuildRecord(protocol::MsgType::PlayerProfile, seat == 0 ? 15 : 1 << seat);
    protocol::PutGbk(r, 16, 32, accounts[seat]);
    protocol::PutGbk(r, 48, 15, seat % 2 == 0 ? "m1" : "w2");
    r[64] = static_cast<std::uint8_t>(1 + seat % 2);
    protocol::PutLittleEndian(r, 96, 10000, 8);
    protocol::PutGbkPairs(r, 112, 16, "新手");
    protocol::PutGbk(r, 168, 15, accounts[seat]);
    protocol::PutGbk(r, 210, 7, "00");
    protocol::PutGbk(r, 218, 7, "10");
    protocol::PutLittleEndian(r, 226, 10001 + static_cast<std::uint64_t>(seat), 8);
    Feed(c, r);
  }
}

std::optional<ProcessEnded> Play(ClientHarness& h, ClientState s) {
  Client& c = h.c();
  switch (s) {
    case ClientState::LoggedIn:
    case ClientState::WatchingBefore:
      h.StartAndLogIn();
      Feed(c, LoginAccepted());
      return std::nullopt;
    case ClientState::Seated:
      h.StartAndLogIn();
      Seat(c);
      return std::nullopt;
    case ClientState::Dealt:
    case ClientState::OwnTurn:
    case ClientState::Reconnecting:
      h.StartAndLogIn();
      picture::PlayTo(c, Stage::Wild);
      if (s == ClientState::OwnTurn) {
        Feed(c, protocol::BuildRecord(
                    protocol::MsgType::OperationOffer, 1,
                    {protocol::op::kPass | protocol::op::kKong | protocol::op::kConcealedKong, 0, 0,
                     0}));
      }
      if (s == ClientState::Reconnecting) {
        // The link breaks; the link watch notices at its next tick, and the first attempt
        // to come back follows a few seconds later.
        h.p.socket.PeerClose();
        if (auto ended = h.Run(4500)) return ended;
      }
      return std::nullopt;
    case ClientState::Chooser:
      h.StartAndLogIn();
      picture::PlayTo(c, Stage::Claim);
      return std::nullopt;
    case ClientState::HandEnd:
      h.StartAndLogIn();
      picture::PlayTo(c, Stage::Settlement);
      return std::nullopt;
    case ClientState::WatchingAfter:
      h.StartAndLogIn();
      picture::PlayTo(c, Stage::Watch);
      return std::nullopt;
    case ClientState::Rejoined:
      h.StartAndLogIn();
      picture::PlayTo(c, Stage::Rejoin);
      return std::nullopt;
    case ClientState::ProxyNegotiation:
      if (auto ended = h.Start()) return ended;
      return h.Run(100);
    case ClientState::Count:
      break;
  }
  return std::nullopt;
}

}  // namespace

const char* StateName(ClientState s) {
  static const char* const kNames[] = {
      "logged-in",       "seated",         "dealt",    "own-turn",     "chooser", "hand-end",
      "watching-before", "watching-after", "rejoined", "reconnecting", "proxy"};
  const auto i = static_cast<std::size_t>(s);
  return i < std::size(kNames) ? kNames[i] : "?";
}

std::string CommandLineFor(ClientState s) {
  const std::string account = picture::kLocalAccount;
  switch (s) {
    case ClientState::WatchingBefore:
    case ClientState::WatchingAfter:
      return "watcher$pw$127.0.0.1$6000$Table$10001";  // watches user id 10001, the local seat
    case ClientState::ProxyNegotiation:
      return account + "$pw$10.1.2.3$8000$Table$5$127.0.0.1$1080$ab$cd$0$$$";
    default:
      return account + "$pw$127.0.0.1$6000$Table$0$$0$$$0$$$";
  }
}

std::optional<ProcessEnded> Reach(ClientHarness& h, ClientState s) {
  try {
    return Play(h, s);
  } catch (const ProcessEnded& e) {
    return e;
  }
}

}  // namespace tallow::fuzz
