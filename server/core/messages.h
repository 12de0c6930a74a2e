// Builders of every record the server sends. Tokens are stamped later, per connection.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/tiles.h"
#include "protocol/record_builder.h"

namespace tallow::server {

using protocol::Record;

// A player's profile as the table shows it. Text is UTF-8 here and GBK on the wire.
struct Profile {
  std::string account;
  std::string nickname;
  std::string avatar = "m1";
  int gender = 1;
  std::string region = "本地";
  std::uint64_t points = 0;
  std::uint64_t credit = 100;
  std::int64_t coins = 0;
  std::uint32_t logins = 0;
  std::uint32_t disconnects = 0;
  std::uint32_t wins = 0;
  std::uint32_t losses = 0;
  std::string tag = "玩家";
  std::string voiceSet = "00";
  std::string voiceNumber = "10";
  std::uint64_t userId = 0;
};

// The level title that goes with a coin balance (double-byte characters only).
std::string LevelTitle(std::int64_t coins);

Record LoginResult(int result, int timeoutLimit, int turnSeconds, std::string_view url);
Record ReconnectResult(bool accepted);
Record PlayerProfile(const Profile& p, int seatMask, bool ready);
Record SeatPlayer(int seatBit, std::string_view account);
Record PlayerReady(std::string_view account);
Record PlayerQuit(std::string_view account);
Record SeatEvent(int seatMask, int event);
Record ServerNotice(std::string_view utf8);
// A chat line of the operator to a table: "系统提示：" and the text (UTF-8, sent as GBK).
Record SystemChatLine(std::string_view utf8);
Record NewHand(int dealerBit, const std::array<int, 4>& dice);
Record WildTileSet(Tile wild, Tile indicator);
Record DealTiles(int seatBit, const std::array<Tile, 4>& tiles);
Record TileDrawn(int seatBit, Tile tile);
Record TileDiscarded(int seatBit, Tile tile, bool follow);
Record OperationOffer(int seatBit, int flags);
Record OperationResult(int seatBit, int op, Tile t1, Tile t2, Tile t3);
Record DragonSets(int seatBit, int count);
// Up to four revealed tiles; birds (up to five) go into bytes 16..20.
Record TilesRevealed(int seatBit, std::span<const Tile> tiles, std::span<const Tile> birds);
Record HandResult(int seatBit, std::int64_t score);
Record SeatScore(int seatBit, int stake, std::span<const std::uint8_t, 29> bytes,
                 std::string_view levelTitle);
Record TableCleared(int dealerBit, int v0, int v1, Tile wild, Tile indicator);

// One seat's table snapshot: laid-down tiles (kind 0x20) then concealed tiles (kind 0x10),
// at most 24 pairs in all.
Record TableSnapshot(int seatBit, int discards, int headDrawn, int tailValue,
                     std::span<const Tile> laid, std::span<const Tile> concealed);

// The wall-tail value of a snapshot after t tail draws: restores the tail pointer of a
// client that started the hand with the tail just before the break.
int SnapshotTailValue(int tailDrawn);

}  // namespace tallow::server
