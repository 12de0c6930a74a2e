#include "table_records.h"

#include <array>
#include <functional>
#include <map>
#include <vector>

namespace tallow::fuzz {
namespace {

namespace off = protocol::off;

using Numbers = std::vector<std::int64_t>;

Domain N(Numbers values, Live live = Live::None, std::int64_t mark = 0) {
  return Domain{std::move(values), {}, {}, live, mark};
}
Domain T(std::vector<std::string> texts, std::size_t width) {
  return Domain{{}, std::move(texts), BrokenTexts(width), Live::None, 0};
}
Numbers Marked(Numbers values, std::int64_t mark) {
  for (auto& v : values) v |= mark;
  return values;
}

// Every domain the two directions use.
struct Domains {
  Domain zero = N({0});
  Domain anyByte = N(Range(0, 255));
  Domain seat = N({1, 2, 4, 8});
  Domain mask = N(Range(0, 15));
  Domain profileSeat = N({15, 1, 2, 4, 8, 0});
  Domain tile = N(TileCodes());
  Domain dice = N(Range(1, 6));
  Domain follow = N({0, 3});
  Domain offer = N({1, 5, 9, 13, 17, 25, 29, 49, 65, 129, 133, 137, 145, 177, 193, 0, 2});
  Domain operation = N({4, 8, 16, 32, 64, 128, 1});
  Domain dragonSets = N(Range(0, 4));
  Domain bool01 = N({0, 1});
  Domain seatEvent = N({0, 1, 2, 3});
  Domain loginResult = N({1, 2, 0, 3});
  Domain timeoutLimit = N({3, 0, 5, 255});
  Domain turnSeconds = N({15, 8, 1, 0});
  Domain reconnect = N({1, 2, 0});
  Domain ready = N({1, 0, 2});
  Domain voiceLetter = N({0, 'a', 'b', '/'});
  Domain voiceNumber = N(Range(0, 12));
  Domain chatTarget = N({0, 1, 2, 4, 8});
  Domain revealed = N([] {
    Numbers v = TileCodes();
    for (auto t : TileCodes()) v.push_back(t | 0x800);
    return v;
  }());
  Domain stakeHigh = N({0, 1, 0x7F});
  Domain stakeLow = N({10, 0, 1, 100, 255});
  Domain currency = N({1, 2});
  Domain handScore = N({0, 40, -40, 80, -80, 160, 1000, -1000});
  Domain amount = N({0, 10, 50, 90, 150, 1000, 123456789});
  Domain settleNibble = N({0, 1, 2, 0x10, 0x20, 0x12, 0x21, 0x30});
  Domain settleCount = N(Range(0, 4));
  Domain negative = N({0, 2});
  Domain poolCount = N(Range(0, 30));
  Domain headDrawn = N({0, 52, 53, 80, 100, 119, 120});
  Domain tailValue = N({0, 1, 2, 3, 7, 119});
  Domain snapshotPair = N([] {
    Numbers v = {0};
    for (auto t : TileCodes()) {
      if (t == 0) continue;
      v.push_back(0x2000 | t);
      v.push_back(0x1000 | t);
    }
    return v;
  }());
  Domain clearedValue = N(Range(0, 12));
  Domain gender = N({1, 2, 0});
  Domain points = N({0, 1200, 100, 12800, 1'000'000'000});
  Domain count32 = N({0, 2, 31, 86, 0x7FFFFFFF});
  Domain userId = N({10001, 10002, 0, 1});
  Domain token = N({0, 0x1234, 0x5678, 0xFFFF}, Live::Tokens);
  // Texts, as GBK bytes.
  Domain account = T(Gbk({"player", "lanlan", "zhuzi", "songshu", "seat0", "p1", ""}), 16);
  Domain nickname = T(Gbk({"我自己", "兰兰", "竹子", "松鼠", "Bob", ""}), 32);
  Domain avatar = T(Gbk({"m1", "w2", "m3", "w4", "", "../x"}), 16);
  Domain pairs8 = T(Gbk({"本地", "", "北京"}), 8);
  Domain level16 = T(Gbk({"雀士", "新手", "雀圣", ""}), 16);
  Domain level17 = T(Gbk({"雀士", "新手", "雀圣", ""}), 17);
  Domain tag = T(Gbk({"玩家", "", "管理员"}), 24);
  Domain voiceSet = T(Gbk({"00", "01", "", "a/"}), 8);
  Domain voiceNo = T(Gbk({"10", "05", "", "99"}), 8);
  Domain url = T(Gbk({"", "file:///tmp/panel.html", "http://www.tallow-mahjong.net/", "x"}), 100);
  Domain chat = T(Gbk({"兰兰说道: 你好", "系统提示：欢迎", "我自己对竹子说: 快点", "", "a"}), 200);
  Domain notice = T(Gbk({"服务器将在五分钟后维护", "", "游戏结束"}), 200);
  Domain password = T(Gbk({"pw", "", "secret"}), 228);
  // Client records.
  Domain discard = N(Marked(TileCodes(), 0x4000), Live::HeldTiles, 0x4000);
  Domain claimTile = N(Marked(TileCodes(), 0x2000), Live::HeldTiles, 0x2000);
  Domain seatState = N({1, 0, 2, 0x0100, 0x0101});
  Domain reply = N({1, 4, 8, 16, 32, 64, 128, 0x0180, 0});
};

const Domains& D() {
  static const Domains d;
  return d;
}

// Header fields: the seat byte, Extra, Value(0..3).
std::vector<Field> Header(const Domain& seat, std::array<const Domain*, 4> values,
                          const Domain* extra = nullptr) {
  std::vector<Field> f = {{off::kSeatMask, 1, &seat}, {off::kExtra, 1, extra ? extra : &D().zero}};
  for (std::uint16_t i = 0; i < 4; ++i) {
    f.push_back({static_cast<std::uint16_t>(off::kValues + 2 * i), 2, values[i]});
  }
  return f;
}

std::vector<Field> With(std::vector<Field> head, std::initializer_list<Field> payload) {
  head.insert(head.end(), payload.begin(), payload.end());
  return head;
}

std::map<int, std::vector<Field>> BuildServerSchemas() {
  const Domains& d = D();
  const Domain* z = &d.zero;
  const Domain* t = &d.tile;
  std::map<int, std::vector<Field>> s;
  s[0] = Header(d.anyByte, {&d.anyByte, &d.anyByte, &d.anyByte, &d.anyByte});  // unknown types
  s[1] = Header(d.seat, {t, t, t, t});
  s[2] = Header(d.seat, {&d.follow, z, z, t});
  s[3] = With(Header(d.seat, {z, z, z, z}), {{16, 16, &d.account}});
  s[4] = With(Header(d.seat, {&d.dice, &d.dice, &d.dice, &d.dice}), {{16, 2, z}});
  s[5] = Header(d.seat, {z, z, z, t});
  s[6] = Header(d.seat, {&d.offer, z, z, z});
  s[7] = Header(d.seat, {&d.operation, t, t, t});
  s[8] = Header(d.seat, {&d.dragonSets, z, z, z});
  s[9] = With(Header(d.seat, {z, &d.bool01, z, z}), {{16, 8, &d.handScore}});
  s[14] = Header(d.zero, {z, z, t, t});
  {
    auto f = Header(d.seat, {&d.revealed, &d.revealed, &d.revealed, &d.revealed});
    for (std::uint16_t b = 16; b <= 20; ++b) f.push_back({b, 1, t});
    s[15] = f;
  }
  s[16] = Header(d.mask, {z, z, z, &d.seatEvent});
  {
    auto f = Header(d.seat, {&d.stakeHigh, &d.stakeLow, &d.bool01, &d.currency});
    for (std::uint16_t b = 16; b <= 35; ++b) {
      const bool count = b == 21 || b == 23 || b == 25 || b == 30 || b == 32;
      f.push_back({b, 1, count ? &d.settleCount : &d.settleNibble});
    }
    f.push_back({36, 8, &d.amount});
    f.push_back({44, 1, &d.negative});
    f.push_back({45, 17, &d.level17});
    s[17] = f;
  }
  s[18] = With(Header(d.zero, {&d.timeoutLimit, &d.turnSeconds, z, &d.loginResult}),
               {{16, 100, &d.url}});
  s[19] = With(Header(d.seat, {&d.bool01, &d.chatTarget, &d.voiceLetter, &d.voiceNumber}),
               {{16, 200, &d.chat}});
  s[20] = With(Header(d.profileSeat, {z, z, z, z}), {{16, 32, &d.nickname},
                                                     {48, 16, &d.avatar},
                                                     {64, 1, &d.gender},
                                                     {72, 8, &d.pairs8},
                                                     {80, 8, &d.points},
                                                     {88, 8, &d.points},
                                                     {96, 8, &d.points},
                                                     {112, 16, &d.level16},
                                                     {152, 4, &d.count32},
                                                     {156, 4, &d.count32},
                                                     {160, 4, &d.count32},
                                                     {164, 4, &d.count32},
                                                     {168, 16, &d.account},
                                                     {184, 24, &d.tag},
                                                     {208, 1, &d.bool01},
                                                     {210, 8, &d.voiceSet},
                                                     {218, 8, &d.voiceNo},
                                                     {226, 8, &d.userId}});
  s[21] = With(Header(d.zero, {z, z, z, z}), {{16, 16, &d.account}});
  s[22] = With(Header(d.zero, {z, z, z, z}), {{16, 200, &d.notice}});
  s[23] = With(Header(d.zero, {z, z, z, &d.ready}), {{16, 16, &d.account}});
  s[29] = Header(d.zero, {z, z, z, &d.reconnect});
  {
    auto f = Header(d.seat, {z, &d.headDrawn, z, &d.tailValue}, &d.poolCount);
    for (std::uint16_t i = 0; i < 24; ++i) {
      f.push_back({static_cast<std::uint16_t>(16 + 2 * i), 2, &d.snapshotPair});
    }
    s[40] = f;
  }
  s[41] = Header(d.seat, {&d.clearedValue, &d.clearedValue, t, t});
  return s;
}

std::map<int, std::vector<Field>> BuildClientSchemas() {
  const Domains& d = D();
  const Domain* z = &d.zero;
  const Domain* c = &d.claimTile;
  std::map<int, std::vector<Field>> s;
  auto withToken = [&](std::vector<Field> f) {
    f.push_back({off::kToken, 2, &d.token});
    return f;
  };
  s[0] = withToken(Header(d.anyByte, {&d.anyByte, &d.anyByte, &d.anyByte, &d.anyByte}));
  s[2] = withToken(Header(d.seat, {z, z, z, &d.discard}));
  s[7] = withToken(Header(d.seat, {&d.reply, c, c, c}));
  s[16] = withToken(Header(d.seat, {z, z, z, &d.seatState}));
  const std::vector<Field> login = {{16, 16, &d.account}, {32, 228, &d.password}};
  s[18] = withToken(With(Header(d.zero, {z, z, z, z}), {login[0], login[1]}));
  s[28] = s[18];
  s[19] = withToken(With(Header(d.seat, {&d.bool01, &d.chatTarget, &d.voiceLetter, &d.voiceNumber}),
                         {{16, 200, &d.chat}}));
  s[24] = withToken(Header(d.seat, {z, z, z, z}));
  return s;
}

struct Direction {
  std::map<int, std::vector<Field>> schemas;
  std::vector<int> handled;  // what a type byte outside the known ones picks from

  const std::vector<Field>& For(int low) const {
    auto it = schemas.find(low);
    return it != schemas.end() ? it->second : schemas.at(0);
  }
};

const Direction& ToClient() {
  static const Direction d{BuildServerSchemas(), {1,  2,  3,  4,  5,  6,  7,  8,  9,  14, 15,
                                                  16, 17, 18, 19, 20, 21, 22, 23, 29, 40, 41}};
  return d;
}

const Direction& ToServer() {
  static const Direction d{BuildClientSchemas(), {2, 7, 16, 18, 19, 24, 28}};
  return d;
}

protocol::Record Read(const Direction& dir, ByteReader& in, int named, const LiveValues* live) {
  protocol::Record rec{};
  const std::uint8_t b = in.Byte();
  std::uint16_t code;
  if (b >= 0xF0) {
    code = in.Word();
  } else if (b >= 1 && b <= named) {
    code = b;
  } else {
    code = static_cast<std::uint16_t>(dir.handled[b % dir.handled.size()]);
  }
  rec[off::kTypeHigh] = static_cast<std::uint8_t>(code >> 8);
  rec[off::kType] = static_cast<std::uint8_t>(code);
  DecodeFields(in, dir.For(code & 0xFF), rec, live);
  return rec;
}

bool Write(const Direction& dir, ByteWriter& out, const protocol::Record& rec, int named,
           const std::function<protocol::Record(ByteReader&)>& reread) {
  ByteWriter bytes;
  const int code = rec[off::kTypeHigh] << 8 | rec[off::kType];
  if (code >= 1 && code <= named) {
    bytes.Byte(code);
  } else {
    bytes.Byte(0xF0);
    bytes.Word(code);
  }
  EncodeFields(bytes, dir.For(code & 0xFF), rec);
  ByteReader back(bytes.Data());
  if (reread(back) != rec) return false;
  out.Bytes(bytes.Data());
  return true;
}

}  // namespace

protocol::Record ReadServerRecord(ByteReader& in, std::uint16_t token) {
  protocol::Record rec = Read(ToClient(), in, 41, nullptr);
  protocol::SetToken(rec, token);
  return rec;
}

bool WriteServerRecord(ByteWriter& out, const protocol::Record& rec) {
  return Write(ToClient(), out, rec, 41,
               [&](ByteReader& in) { return ReadServerRecord(in, protocol::Token(rec)); });
}

protocol::Record ReadClientRecord(ByteReader& in, const LiveValues* live) {
  return Read(ToServer(), in, 41, live);
}

bool WriteClientRecord(ByteWriter& out, const protocol::Record& rec) {
  return Write(ToServer(), out, rec, 41, [](ByteReader& in) { return ReadClientRecord(in); });
}

}  // namespace tallow::fuzz
