#include "core/messages.h"

#include <algorithm>

namespace tallow::server {

namespace off = protocol::off;
using protocol::BuildRecord;
using protocol::MsgType;
using protocol::PutBytes;
using protocol::PutGbk;
using protocol::PutGbkPairs;

namespace {

void PutU64(Record& r, std::size_t offset, std::uint64_t v) {
  protocol::PutLittleEndian(r, offset, v, 8);
}

void PutU32(Record& r, std::size_t offset, std::uint32_t v) {
  protocol::PutLittleEndian(r, offset, v, 4);
}

}  // namespace

std::string LevelTitle(std::int64_t coins) {
  if (coins < 1000) return "新手";
  if (coins < 5000) return "入门";
  if (coins < 20000) return "熟手";
  if (coins < 100000) return "高手";
  return "大师";
}

Record LoginResult(int result, int timeoutLimit, int turnSeconds, std::string_view url) {
  Record r =
      BuildRecord(MsgType::LoginResult, 0, {timeoutLimit & 0xFF, turnSeconds & 15, 0, result});
  PutBytes(r, 16, 99, url);  // bytes 16..114 at most, 115 stays 0
  return r;
}

Record ReconnectResult(bool accepted) {
  return BuildRecord(MsgType::ReconnectResult, 0, {0, 0, 0, accepted ? 1 : 2});
}

Record PlayerProfile(const Profile& p, int seatMask, bool ready) {
  Record r = BuildRecord(MsgType::PlayerProfile, seatMask);
  PutGbk(r, 16, 32, p.nickname);
  PutBytes(r, 48, 15, p.avatar);
  r[64] = static_cast<std::uint8_t>(p.gender);
  PutGbkPairs(r, 72, 8, p.region);
  PutU64(r, 80, p.points);
  PutU64(r, 88, p.credit);
  PutU64(r, 96, static_cast<std::uint64_t>(std::max<std::int64_t>(p.coins, 0)));
  PutGbkPairs(r, 112, 16, LevelTitle(p.coins));
  auto clamp31 = [](std::uint32_t v) { return std::min<std::uint32_t>(v, 0x7FFFFFFF); };
  PutU32(r, 152, clamp31(p.logins));
  PutU32(r, 156, clamp31(p.disconnects));
  PutU32(r, 160, clamp31(p.wins));
  PutU32(r, 164, clamp31(p.losses));
  PutBytes(r, 168, 15, p.account);
  PutGbkPairs(r, 184, 24, p.tag);
  r[208] = ready ? 1 : 0;
  PutBytes(r, 210, 7, p.voiceSet);
  PutBytes(r, 218, 7, p.voiceNumber);
  PutU64(r, 226, p.userId);
  return r;
}

Record SeatPlayer(int seatBit, std::string_view account) {
  Record r = BuildRecord(MsgType::SeatPlayer, seatBit);
  PutBytes(r, off::kSeatName, off::kSeatNameSize, account);
  return r;
}

Record PlayerReady(std::string_view account) {
  Record r = BuildRecord(MsgType::PlayerReady, 0, {0, 0, 0, 1});
  PutBytes(r, 16, 16, account);
  return r;
}

Record PlayerQuit(std::string_view account) {
  Record r = BuildRecord(MsgType::PlayerQuit, 0);
  PutBytes(r, 16, 15, account);
  return r;
}

Record SeatEvent(int seatMask, int event) {
  return BuildRecord(MsgType::SeatEvent, seatMask, {0, 0, 0, event});
}

Record ServerNotice(std::string_view utf8) {
  Record r = BuildRecord(MsgType::ServerNotice, 0);
  PutGbk(r, 16, 200, utf8);
  return r;
}

Record SystemChatLine(std::string_view utf8) {
  Record r = BuildRecord(MsgType::ChatMessage, 0);
  PutGbk(r, protocol::off::kChatText, protocol::off::kChatTextSize,
         std::string("系统提示：") + std::string(utf8));
  return r;
}

Record NewHand(int dealerBit, const std::array<int, 4>& dice) {
  return BuildRecord(MsgType::NewHand, dealerBit, {dice[0], dice[1], dice[2], dice[3]});
}

Record WildTileSet(Tile wild, Tile indicator) {
  return BuildRecord(MsgType::WildTileSet, 0, {0, 0, wild, indicator});
}

Record DealTiles(int seatBit, const std::array<Tile, 4>& t) {
  return BuildRecord(MsgType::DealTiles, seatBit, {t[0], t[1], t[2], t[3]});
}

Record TileDrawn(int seatBit, Tile tile) {
  return BuildRecord(MsgType::TileDrawn, seatBit, {0, 0, 0, tile});
}

Record TileDiscarded(int seatBit, Tile tile, bool follow) {
  return BuildRecord(MsgType::TileDiscarded, seatBit, {follow ? 3 : 0, 0, 0, tile});
}

Record OperationOffer(int seatBit, int flags) {
  return BuildRecord(MsgType::OperationOffer, seatBit, {flags & 0xFF, 0, 0, 0});
}

Record OperationResult(int seatBit, int op, Tile t1, Tile t2, Tile t3) {
  return BuildRecord(MsgType::OperationResult, seatBit, {op, t1, t2, t3});
}

Record DragonSets(int seatBit, int count) {
  return BuildRecord(MsgType::DragonSetsShown, seatBit, {count, 0, 0, 0});
}

Record TilesRevealed(int seatBit, std::span<const Tile> tiles, std::span<const Tile> birds) {
  int v[4] = {0, 0, 0, 0};
  for (std::size_t i = 0; i < tiles.size() && i < 4; ++i) v[i] = tiles[i];
  Record r = BuildRecord(MsgType::TilesRevealed, seatBit, {v[0], v[1], v[2], v[3]});
  for (std::size_t i = 0; i < birds.size() && i < 5; ++i) r[16 + i] = birds[i];
  return r;
}

Record HandResult(int seatBit, std::int64_t score) {
  Record r = BuildRecord(MsgType::HandResult, seatBit, {0, 1, 0, 0});
  PutU64(r, 16, static_cast<std::uint64_t>(score));
  return r;
}

Record SeatScore(int seatBit, int stake, std::span<const std::uint8_t, 29> bytes,
                 std::string_view levelTitle) {
  Record r = BuildRecord(MsgType::SeatScore, seatBit, {(stake >> 8) & 0xFF, stake & 0xFF, 0, 1});
  for (std::size_t i = 0; i < bytes.size(); ++i) r[16 + i] = bytes[i];
  PutGbkPairs(r, 45, 17, levelTitle);  // bytes 45..61, the last one stays 0
  return r;
}

Record TableCleared(int dealerBit, int v0, int v1, Tile wild, Tile indicator) {
  return BuildRecord(MsgType::TableCleared, dealerBit, {v0, v1, wild, indicator});
}

Record TableSnapshot(int seatBit, int discards, int headDrawn, int tailValue,
                     std::span<const Tile> laid, std::span<const Tile> concealed) {
  Record r =
      BuildRecord(MsgType::TableSnapshot, seatBit, {0, headDrawn & 0xFF, 0, tailValue & 0xFF});
  r[off::kExtra] = static_cast<std::uint8_t>(std::clamp(discards, 0, 255));
  std::size_t pair = 0;
  for (Tile t : laid) {
    if (pair >= 24) break;
    r[16 + 2 * pair] = 0x20;
    r[17 + 2 * pair] = t;
    ++pair;
  }
  for (Tile t : concealed) {
    if (pair >= 24) break;
    r[16 + 2 * pair] = 0x10;
    r[17 + 2 * pair] = t;
    ++pair;
  }
  return r;
}

int SnapshotTailValue(int tailDrawn) {
  // The client moves its tail pointer by value + 1 (odd values) or value - 3 (even values)
  // from where the hand start put it, modulo 120.
  if (tailDrawn % 2 == 0) return (119 - tailDrawn % 120 + 120) % 120;
  return (125 - tailDrawn % 120 + 120) % 120;
}

}  // namespace tallow::server
