// The 272-byte record exchanged with the game server in both directions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tallow::protocol {

inline constexpr std::size_t kRecordSize = 272;
using Record = std::array<std::uint8_t, kRecordSize>;

// Byte offsets inside a record. 16-bit values are big-endian.
namespace off {
inline constexpr std::size_t kTypeHigh = 2;
inline constexpr std::size_t kType = 3;  // the client reads only the low byte
inline constexpr std::size_t kReserved = 5;
inline constexpr std::size_t kSeatMask = 6;
inline constexpr std::size_t kExtra = 7;
inline constexpr std::size_t kValues = 8;  // Value(0..3), two bytes each
inline constexpr std::size_t kPayload = 16;
inline constexpr std::size_t kPayloadSize = 256;
inline constexpr std::size_t kToken = 260;  // SessionToken, two bytes
inline constexpr std::size_t kChatText = 16;
inline constexpr std::size_t kChatTextSize = 200;
inline constexpr std::size_t kSeatName = 16;
inline constexpr std::size_t kSeatNameSize = 16;
inline constexpr std::size_t kUserName = 16;
inline constexpr std::size_t kPassword = 32;
}  // namespace off

// Incoming message types (server to client).
enum class MsgType : std::uint8_t {
  DealTiles = 1,
  TileDiscarded = 2,
  SeatPlayer = 3,
  NewHand = 4,
  TileDrawn = 5,
  OperationOffer = 6,
  OperationResult = 7,
  DragonSetsShown = 8,
  HandResult = 9,
  WildTileSet = 14,
  TilesRevealed = 15,
  SeatEvent = 16,
  SeatScore = 17,
  LoginResult = 18,
  ChatMessage = 19,
  PlayerProfile = 20,
  PlayerQuit = 21,
  ServerNotice = 22,
  PlayerReady = 23,
  ReconnectResult = 29,
  TableSnapshot = 40,
  TableCleared = 41,
};

// Outgoing codes (client to server).
enum class ClientCode : std::uint16_t {
  Discard = 2,
  OperationReply = 7,
  SeatState = 16,
  Login = 18,
  ChatSend = 19,
  KeepAlive = 24,
  Relogin = 28,
};

// Operation bits shared by offers, replies and results.
namespace op {
inline constexpr int kPass = 1;
inline constexpr int kChow = 4;
inline constexpr int kPung = 8;
inline constexpr int kKong = 16;
inline constexpr int kConcealedKong = 32;
inline constexpr int kOneTileKong = 64;
inline constexpr int kWin = 128;
}  // namespace op

// The decoded header of a record.
struct Header {
  std::int16_t Code = 0;
  std::uint8_t Reserved = 0;
  std::uint8_t SeatMask = 0;
  std::uint8_t Extra = 0;
  std::array<std::int16_t, 4> Value{};
};

// True for the types whose values are full signed 16-bit numbers (15 and 17).
bool HasSignedValues(std::uint8_t type);

// Value(i) as the client reads it: the signed 16-bit number for types 15 and 17,
// only the low byte (0..255) for every other type.
std::int16_t DecodeValue(std::uint8_t type, std::uint8_t high, std::uint8_t low);

// Reads the header of a record the way the client does (SeatMask keeps only its low nibble).
Header DecodeHeader(const Record& rec);

// Writes a sender's header into bytes 2..15 (Code big-endian, Value(i) as two's complement).
void EncodeHeader(const Header& h, Record& rec);

// Full 16-bit value as written (used by the server to read client records).
std::int16_t ReadWord(const Record& rec, std::size_t offset);
void WriteWord(Record& rec, std::size_t offset, std::int16_t v);

std::uint16_t Token(const Record& rec);
void SetToken(Record& rec, std::uint16_t token);

// A record with every byte 0 but the code.
Record MakeRecord(std::uint16_t code);

// Tile encodings of outgoing messages.
inline std::int16_t ClaimTile(int tile) {
  return static_cast<std::int16_t>((tile & 0x0FFF) | 0x2000);
}
inline std::int16_t DiscardTile(int tile) {
  return static_cast<std::int16_t>((tile & 0x0FFF) | 0x4000);
}

// Copies a NUL-terminated byte string from the record (at most max bytes).
std::span<const std::uint8_t> CString(const Record& rec, std::size_t offset, std::size_t max);

}  // namespace tallow::protocol
