#include "load/load_player.h"

#include <algorithm>
#include <array>

#include "protocol/record_builder.h"
#include "testing/table_driver.h"

namespace tallow::server::load {

namespace op = protocol::op;
using protocol::ClientCode;
using protocol::MsgType;
using testing::ClientRecord;

namespace {

constexpr int kRed = 0x15, kGreen = 0x16, kWhite = 0x17;

int Type(const Record& r) {
  return r[protocol::off::kType];
}
int Mask(const Record& r) {
  return r[protocol::off::kSeatMask] & 15;
}
// The low byte of Value(i): where the server puts tiles, operations and counts.
int Low(const Record& r, int i) {
  return r[protocol::off::kValues + 1 + 2 * static_cast<std::size_t>(i)];
}
bool Names(const Record& r, const std::string& account) {
  const auto name = protocol::CString(r, 16, 16);
  return name.size() == account.size() && std::equal(name.begin(), name.end(), account.begin());
}
// The signed amount of a settlement (17): magnitude in bytes 36..43, byte 44 = 2 when negative.
std::int64_t Amount(const Record& r) {
  std::uint64_t mag = 0;
  for (int k = 7; k >= 0; --k) mag = (mag << 8) | r[36 + static_cast<std::size_t>(k)];
  const auto v = static_cast<std::int64_t>(mag & 0x7FFFFFFFFFFFFFFFull);
  return r[44] == 2 ? -v : v;
}

}  // namespace

Record GarbageRecord(Rng& rng) {
  static constexpr std::array<std::uint16_t, 12> kCodes{2,  7,      16,     19,     24,     18,
                                                        28, 0x0102, 0x0207, 0x1010, 0xFFFF, 0};
  const auto value = [&rng]() -> int {
    const int tile = static_cast<int>(rng.Below(256));
    switch (rng.Below(10)) {
      case 0:
        return static_cast<int>(rng.Next() & 0xFFFF);
      case 1:
        return 0x0100 | tile;
      case 2:
        return 0x0180;
      case 3:
        return 0x8000;
      case 4:
        return 0x7FFF;
      case 5:
        return 0xFFFF;
      case 6:
        return 0x4000 | tile;
      case 7:
        return 0x2000 | tile;
      case 8:
        return static_cast<int>(rng.Below(3));
      default:
        return tile;
    }
  };
  const std::uint16_t code =
      rng.Below(4) == 0 ? static_cast<std::uint16_t>(rng.Next()) : kCodes[rng.Below(kCodes.size())];
  Record r = protocol::BuildRecord(code, static_cast<int>(rng.Below(256)),
                                   {value(), value(), value(), value()});
  r[protocol::off::kReserved] = static_cast<std::uint8_t>(rng.Next());
  r[protocol::off::kExtra] = static_cast<std::uint8_t>(rng.Next());
  if (rng.Below(2) == 0) {  // texts without an end, broken double-byte characters
    for (std::size_t i = protocol::off::kPayload; i < r.size(); ++i) {
      r[i] = static_cast<std::uint8_t>(rng.Next());
    }
  }
  if (code == static_cast<std::uint16_t>(ClientCode::SeatState) &&
      protocol::ReadWord(r, protocol::off::kValues + 6) == 0) {
    protocol::WriteWord(r, protocol::off::kValues + 6, 0x0100);  // not a real "leave"
  }
  return r;
}

Record LoadPlayer::Login() const {
  return testing::LoginRecord(account_, "pw");
}

bool LoadPlayer::Take(int tile, int n) {
  for (int i = 0; i < n; ++i) {
    auto it = std::find(tiles_.begin(), tiles_.end(), tile);
    if (it == tiles_.end()) return false;
    tiles_.erase(it);
  }
  return true;
}

void LoadPlayer::Reply(const Record& r, Awaited awaited, std::vector<Record>& out) {
  if (noise_ > 0 && static_cast<double>(rng_.Below(1u << 20)) < noise_ * (1u << 20)) {
    out.push_back(GarbageRecord(rng_));
  }
  out.push_back(r);
  if (awaited != Awaited::None) {
    awaited_ = awaited;
    timing_ = false;
  }
}

void LoadPlayer::OnSent(std::int64_t nowNs) {
  if (awaited_ == Awaited::None || timing_) return;
  timing_ = true;
  sentAtNs_ = nowNs;
}

std::int64_t LoadPlayer::Answered(const Record& r, std::int64_t nowNs) {
  if (!timing_) return -1;
  const int type = Type(r);
  bool match = false;
  switch (awaited_) {
    case Awaited::Ready:
      match = type == static_cast<int>(MsgType::PlayerReady) && Names(r, account_);
      break;
    case Awaited::Discard:
      match = type == static_cast<int>(MsgType::TileDiscarded) && Mask(r) == Bit();
      break;
    case Awaited::Win:
      match = type == static_cast<int>(MsgType::OperationResult) && Low(r, 0) == op::kWin;
      break;
    case Awaited::None:
      break;
  }
  if (!match) return -1;
  awaited_ = Awaited::None;
  timing_ = false;
  return nowNs - sentAtNs_;
}

void LoadPlayer::OnOffer(int flags, std::vector<Record>& out) {
  if (flags & op::kWin) {
    Reply(ClientRecord(ClientCode::OperationReply, Bit(), op::kWin), Awaited::Win, out);
    return;
  }
  if (!myTurn_) {
    Reply(ClientRecord(ClientCode::OperationReply, Bit(), op::kPass), Awaited::None, out);
    return;
  }
  if (tiles_.size() + 3 * static_cast<std::size_t>(sets_) != 14 || tiles_.empty()) {
    ++handErrors_;
    if (tiles_.empty()) return;
  }
  const bool held = std::find(tiles_.begin(), tiles_.end(), lastDrawn_) != tiles_.end();
  const int tile = held ? lastDrawn_ : tiles_.back();
  Reply(ClientRecord(ClientCode::Discard, Bit(), 0, 0, 0, protocol::DiscardTile(tile)),
        Awaited::Discard, out);
}

void LoadPlayer::EndHand(std::vector<Record>& out) {
  inHand_ = false;
  myTurn_ = false;
  ++handsEnded_;
  Reply(ClientRecord(ClientCode::SeatState, Bit(), 0, 0, 0, 1), Awaited::Ready, out);
}

void LoadPlayer::OnRecord(const Record& r, std::vector<Record>& out) {
  if (r[protocol::off::kTypeHigh] != 0) {
    ++handErrors_;
    return;
  }
  const bool mine = seat_ >= 0 && Mask(r) == Bit();
  switch (static_cast<MsgType>(Type(r))) {
    case MsgType::SeatPlayer:
      if (Names(r, account_)) {
        const int m = Mask(r);
        seat_ = m == 1 ? 0 : m == 2 ? 1 : m == 4 ? 2 : 3;
      }
      if (++seatNames_ == 4 && !inHand_) {
        Reply(ClientRecord(ClientCode::SeatState, Bit(), 0, 0, 0, 1), Awaited::Ready, out);
      }
      break;
    case MsgType::NewHand:
      inHand_ = true;
      dealing_ = true;
      dealer_ = Mask(r) == Bit();
      tiles_.clear();
      sets_ = 0;
      won_ = false;
      myTurn_ = false;
      results_ = scores_ = 0;
      scoreSum_ = 0;
      break;
    case MsgType::DealTiles:
      if (mine) {
        for (int i = 0; i < 4; ++i) tiles_.push_back(Low(r, i));
      }
      break;
    case MsgType::TileDrawn:
      if (mine) {
        lastDrawn_ = Low(r, 3);
        tiles_.push_back(lastDrawn_);
        myTurn_ = !dealing_;
      }
      break;
    case MsgType::WildTileSet:  // the deal is over: the dealer has the first turn
      dealing_ = false;
      myTurn_ = dealer_;
      break;
    case MsgType::DragonSetsShown:
      if (mine) {
        for (int i = 0; i < Low(r, 0); ++i) {
          if (!Take(kRed) || !Take(kGreen) || !Take(kWhite)) ++handErrors_;
          ++sets_;
        }
      }
      break;
    case MsgType::TileDiscarded:
      if (mine) {
        if (!Take(Low(r, 3))) ++handErrors_;
        myTurn_ = false;
      }
      break;
    case MsgType::OperationResult: {
      const int o = Low(r, 0);
      if (o == op::kWin) {
        won_ = true;
        break;
      }
      if (!mine) break;
      const int t = Low(r, 3);
      bool ok = true;
      if (o == op::kChow) {
        ok = Take(Low(r, 1)) && Take(Low(r, 2));
      } else if (o == op::kPung || o == op::kKong || o == op::kConcealedKong) {
        ok = Take(t, o == op::kPung ? 2 : o == op::kKong ? 3 : 4);
      } else if (o == op::kOneTileKong) {
        ok = Take(t);
      }
      if (!ok) ++handErrors_;
      if (o != op::kOneTileKong) ++sets_;
      myTurn_ = o == op::kChow || o == op::kPung;  // a kong draws its replacement first
      break;
    }
    case MsgType::OperationOffer:
      if (mine) OnOffer(Low(r, 0), out);
      break;
    case MsgType::HandResult:
      if (++results_ == 4 && !won_ && inHand_) EndHand(out);
      break;
    case MsgType::SeatScore:
      scoreSum_ += Amount(r);
      if (++scores_ == 4 && inHand_) {
        if (scoreSum_ != 0) ++badSettlements_;
        EndHand(out);
      }
      break;
    case MsgType::SeatEvent:
      if (Low(r, 3) == 1 || Low(r, 3) == 3) {  // someone left, or the table was emptied
        if (Low(r, 3) == 3) {
          ++tablesEmptied_;
          seat_ = -1;
        }
        seatNames_ = 0;
        inHand_ = false;
        myTurn_ = false;
      }
      break;
    case MsgType::PlayerQuit:
      ++quits_;
      break;
    default:
      break;
  }
}

}  // namespace tallow::server::load
