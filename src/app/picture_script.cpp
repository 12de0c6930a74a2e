#include "app/picture_script.h"

#include <array>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <vector>

#include "base/pictures.h"
#include "forms/vos_set.h"
#include "hand/table_reset.h"
#include "play/operation_panel.h"
#include "play/speech_bubble.h"
#include "play/tile_selection.h"
#include "protocol/record.h"
#include "protocol/record_builder.h"
#include "session/client.h"
#include "session/framing.h"
#include "session/receive.h"
#include "shell/toolbar.h"

namespace tallow::picture {
namespace {

namespace op = protocol::op;

struct StageName {
  Stage stage;
  const char* name;
};
constexpr StageName kStages[] = {
    {Stage::Empty, "empty"},
    {Stage::Wall, "wall"},
    {Stage::Hand, "hand"},
    {Stage::Offer, "offer"},
    {Stage::Claim, "claim"},
    {Stage::Reveal, "reveal"},
    {Stage::Settlement, "settlement"},
    {Stage::Settings, "settings"},
    {Stage::Chat, "chat"},
    {Stage::Talk, "talk"},
    {Stage::Phrases, "phrases"},
    {Stage::Voices, "voices"},
    {Stage::Card, "card"},
    {Stage::Toolbar, "toolbar"},
    {Stage::Web, "web"},
    {Stage::ExitInHand, "exit"},
    {Stage::ExitBetween, "exit-between"},
    {Stage::Notice, "notice"},
    {Stage::Wild, "wild"},
    {Stage::Watch, "watch"},
    {Stage::WatchLater, "watch-later"},
    {Stage::Rejoin, "rejoin"},
    {Stage::RejoinLater, "rejoin-later"},
};

// Seat bits by relative seat, the local player sitting at seat bit 1.
constexpr std::array<int, 4> kSeatBit = {1, 8, 4, 2};

constexpr int kWild = 0x49;       // 九万
constexpr int kIndicator = 0x48;  // 八万
constexpr int kStake = 10;
constexpr int kSettingsButton = 3;  // 设置 on the toolbar

// Every tile the script names (sets, claimed discards, the local hand, the winner's hand);
// the other discards and draws are picked from what these leave of the 136 tiles.
constexpr int kScripted[] = {
    // the local deal
    0x83, 0x84, 0x86, 0x87, 0x42, 0x42, 0x42, 0x42, 0x27, 0x27, 0x11, 0x13, 0x16, 0x17,
    // local draws that the script names
    0x12, 0x88, 0x45,
    // claimed discards and the tiles of the other seats' sets
    0x27, 0x46, 0x44, 0x45, 0x23, 0x23, 0x23, 0x24, 0x24, 0x24, 0x24, 0x22, 0x22, 0x22, 0x22, 0x83,
    0x81, 0x82, 0x43, 0x44, 0x85,
    // the winner's concealed tiles
    0x15, 0x15, 0x15, 0x87, 0x88, 0x89, 0x29, 0x29};

// The tiles of the game with how many copies are still free for the script to use.
class Deck {
 public:
  Deck() {
    for (int suit : {0x20, 0x40, 0x80}) {
      for (int r = 1; r <= 9; ++r) left_[suit | r] = 4;
    }
    for (int r = 1; r <= 7; ++r) left_[0x10 | r] = 4;
    for (int t : kScripted) ++reserved_[t];
  }

  // A tile the script names.
  int Named(int tile) {
    if (--reserved_[tile] < 0) throw std::logic_error("tile named more often than listed");
    Take(tile);
    return tile;
  }
  // Any tile not held back for the script, taking the kinds in turn so the pools look mixed.
  int Any() {
    for (std::size_t tries = 0; tries < kOrder.size(); ++tries) {
      const int t = kOrder[next_];
      next_ = (next_ + 1) % kOrder.size();
      if (left_[t] - reserved_[t] > 0) {
        Take(t);
        return t;
      }
    }
    throw std::logic_error("no tile left");
  }

 private:
  void Take(int tile) {
    if (--left_[tile] < 0) throw std::logic_error("more than four of a tile");
  }

  static constexpr std::array<int, 33> kOrder = {
      0x21, 0x14, 0x47, 0x89, 0x26, 0x12, 0x41, 0x82, 0x28, 0x17, 0x43,
      0x85, 0x25, 0x16, 0x46, 0x81, 0x29, 0x11, 0x48, 0x84, 0x22, 0x13,
      0x44, 0x86, 0x23, 0x15, 0x45, 0x88, 0x24, 0x42, 0x83, 0x27, 0x87};
  std::map<int, int> left_, reserved_;
  std::size_t next_ = 0;
};

class Script {
 public:
  explicit Script(Client& c) : c_(c) {}

  void Seat(const std::string& webPage = "", bool spectator = false);
  void StartHand();
  // Plays from the deal to the stage.
  void PlayTo(Stage stage);
  // The server reports that the seat at `rel` has run out of coins: the game is over.
  void OutOfCoins(int rel) {
    Feed(Rec(16, 0xF & ~kSeatBit[static_cast<std::size_t>(rel)], {0, 0, 0, 3}));
  }
  // Rebuilds a hand in play from four snapshots and, for the later stages, plays on.
  void Restore(Stage stage);

 private:
  using Values = std::array<int, 4>;

  static protocol::Record Rec(int type, int seatMask, Values v = {}) {
    return protocol::BuildRecord(static_cast<std::uint16_t>(type), seatMask, v);
  }

  // The record arrives exactly as the receive slot hands it on.
  void Feed(const protocol::Record& r) {
    AppendReceived(c_, r);
    ExtractMessage(c_);
    DispatchMessage(c_);
  }
  void Feed(int type, int rel, Values v = {}) { Feed(Rec(type, kSeatBit[rel], v)); }

  void ExpectTurn(int rel) const {
    if (turn_ != rel) throw std::logic_error("out of turn");
  }
  static int After(int rel) { return (rel + 3) % 4; }

  // The bubble and banner of an operation go away after two seconds at the table.
  void LetBubbleFade() {
    if (c_.scheduler.BubbleShown) HideSpeechBubble(c_);
  }

  int LocalSprite(int tile) const {
    const SeatRecord& me = c_.table.custom(0);
    for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
      if (me.mj(k).value == tile) return me.mj(k).Sprite;
    }
    throw std::logic_error("the local hand lacks a tile");
  }

  void Draw(int rel, int tile = 0) {
    ExpectTurn(rel);
    Feed(5, rel, {0, 0, 0, rel == 0 ? tile : 0});
  }
  void Offer(int flags) { Feed(6, 0, {flags, 0, 0, 0}); }
  void Result(int rel, int operation, int t1, int t2, int t3) {
    Feed(7, rel, {operation, t1, t2, t3});
  }
  // Another seat's discard.
  void Discard(int rel, int tile) {
    ExpectTurn(rel);
    Feed(2, rel, {0, 0, 0, tile});
    ++pool_[static_cast<std::size_t>(rel)];
    turn_ = After(rel);
  }
  // The local player clicks a tile of the hand; the server echoes the discard.
  void LocalDiscard(int tile) {
    ExpectTurn(0);
    Offer(op::kPass);
    TileMouseDown(c_, LocalSprite(tile), ui::kLeftButton);
    Feed(2, 0, {0, 0, 0, tile});
    ++pool_[0];
    turn_ = After(0);
  }
  // A seat draws and throws a tile nobody takes.
  void Plain(int rel) {
    if (rel == 0) {
      const int t = deck_.Any();
      Draw(0, t);
      LocalDiscard(t);
      return;
    }
    Draw(rel);
    Discard(rel, deck_.Any());
  }
  void Rounds(int n) {
    for (int i = 0; i < 4 * n; ++i) Plain(turn_);
  }
  // The discard just made is claimed by `rel` with a chow, pung or exposed kong.
  void Claimed(int rel) {
    --pool_[static_cast<std::size_t>((turn_ + 1) % 4)];
    turn_ = rel;
  }
  void Deal();
  void HandEnd(Stage stage);

  Client& c_;
  Deck deck_;
  int turn_ = 0;
  std::array<int, 4> pool_{};
};

void Script::Seat(const std::string& webPage, bool spectator) {
  // Login accepted: 3 timeouts, 15 seconds a turn, the web panel's page.
  auto login = Rec(18, 0, {3, 15, 0, 1});
  if (webPage.size() > 99) throw std::invalid_argument("web page address too long");
  protocol::PutGbk(login, 16, 99, webPage);
  Feed(login);
  // A spectator joining a hand in play gets the table cleared (dealer 西, the first throw 7)
  // before the profiles, and no seat names; the profiles carry their seat bits.
  if (spectator) Feed(Rec(41, kSeatBit[3], {7, 5, kWild, kIndicator}));
  const char* accounts[] = {kLocalAccount, "lanlan", "zhuzi", "songshu"};
  const char* nicknames[] = {"我自己", "兰兰", "竹子", "松鼠"};
  const char* avatars[] = {"m1", "w2", "m3", "w4"};
  const std::uint64_t coins[] = {12800, 9650, 20410, 7300};
  const char* levels[] = {"雀士", "新手", "雀圣", "雀士"};
  for (int seat = 0; seat <= 3 && !spectator; ++seat) {
    auto r = Rec(3, 1 << seat);
    protocol::PutGbk(r, protocol::off::kSeatName, protocol::off::kSeatNameSize,
                     accounts[seat == 0 ? 0 : 4 - seat]);
    Feed(r);
  }
  for (int rel = 0; rel <= 3; ++rel) {
    auto r = Rec(20, rel == 0 && !spectator ? 15 : kSeatBit[static_cast<std::size_t>(rel)]);
    protocol::PutGbk(r, 16, 32, nicknames[rel]);
    protocol::PutGbk(r, 48, 15, avatars[rel]);
    r[64] = rel % 2 == 0 ? 1 : 2;
    protocol::PutGbk(r, 72, 8, "本地");
    protocol::PutLittleEndian(r, 80, 1200 + 350 * static_cast<std::uint64_t>(rel), 8);  // points
    protocol::PutLittleEndian(r, 88, 100, 8);                                           // credit
    for (int k = 0; k < 4; ++k) {  // logins, drops, wins, losses
      const std::uint64_t counts[] = {86, 2, 31, 27};
      protocol::PutLittleEndian(r, 152 + 4 * static_cast<std::size_t>(k),
                                counts[k] + static_cast<std::uint64_t>(rel) * (k == 1 ? 0 : 5), 4);
    }
    protocol::PutLittleEndian(r, 96, coins[rel], 8);
    protocol::PutGbk(r, 112, 16, levels[rel]);
    protocol::PutGbk(r, 168, 15, accounts[rel]);
    protocol::PutGbk(r, 184, 24, "玩家");
    protocol::PutGbk(r, 210, 7, "00");
    protocol::PutGbk(r, 218, 7, "10");
    protocol::PutLittleEndian(r, 226, 10001 + static_cast<std::uint64_t>(rel), 8);
    Feed(r);
  }
}

void Script::StartHand() {
  Feed(4, 0, {3, 4, 2, 5});  // the local player deals
  Feed(16, 0, {0, 0, 0, 2});
  Feed(14, 0, {0, 0, kWild, kIndicator});
  Deal();
}

void Script::Deal() {
  const int local[] = {0x11, 0x42, 0x83, 0x27, 0x13, 0x42, 0x84,
                       0x27, 0x16, 0x42, 0x86, 0x87, 0x42, 0x17};
  std::size_t next = 0;
  for (int round = 0; round < 3; ++round) {
    for (int rel : {0, 3, 2, 1}) {
      Values v{};
      if (rel == 0) {
        for (auto& x : v) x = deck_.Named(local[next++]);
      }
      Feed(1, rel, v);
    }
  }
  for (int rel : {0, 3, 2, 1}) Feed(5, rel, {0, 0, 0, rel == 0 ? deck_.Named(local[next++]) : 0});
  Feed(5, 0, {0, 0, 0, deck_.Named(local[next++])});
  turn_ = 0;
}

void Script::PlayTo(Stage stage) {
  // The dealer lays down a concealed kong at once and draws its replacement from the tail.
  Offer(op::kPass | op::kKong | op::kConcealedKong);
  OperationClick(c_, 2);
  Result(0, op::kConcealedKong, 0x42, 0x42, 0x42);
  Draw(0, deck_.Named(0x12));
  LocalDiscard(0x11);
  Plain(3);
  Plain(2);
  Plain(1);
  Draw(0, deck_.Named(0x88));
  LocalDiscard(0x13);
  Plain(3);

  // The local player pungs the opposite seat's discard.
  Draw(2);
  Discard(2, deck_.Named(0x27));
  Offer(op::kPass | op::kPung);
  OperationClick(c_, 1);
  Result(0, op::kPung, 0x27, 0x27, 0x27);
  Claimed(0);
  LocalDiscard(0x88);

  // The opposite seat chows the right-hand seat's discard.
  Draw(3);
  Discard(3, deck_.Named(0x46));
  Result(2, op::kChow, deck_.Named(0x44), deck_.Named(0x45), 0x46);
  Claimed(2);
  Discard(2, deck_.Any());
  LetBubbleFade();
  Plain(1);
  Draw(0, deck_.Any());
  LocalDiscard(0x12);

  // The left-hand seat pungs.
  Draw(3);
  Discard(3, deck_.Named(0x23));
  Result(1, op::kPung, deck_.Named(0x23), deck_.Named(0x23), 0x23);
  Claimed(1);
  Discard(1, deck_.Any());
  LetBubbleFade();
  Draw(0, deck_.Any());
  LocalDiscard(0x16);

  // The opposite seat kongs the right-hand seat's discard and draws from the tail.
  Draw(3);
  Discard(3, deck_.Named(0x24));
  for (int i = 0; i < 3; ++i) deck_.Named(0x24);
  Result(2, op::kKong, 0x24, 0x24, 0x24);
  Claimed(2);
  Draw(2);
  Discard(2, deck_.Any());
  LetBubbleFade();
  Plain(1);
  Plain(0);

  // The right-hand seat lays down a concealed kong.
  Draw(3);
  for (int i = 0; i < 4; ++i) deck_.Named(0x22);
  Result(3, op::kConcealedKong, 0x22, 0x22, 0x22);
  Draw(3);
  Discard(3, deck_.Any());
  LetBubbleFade();

  // The left-hand seat chows the opposite seat's discard.
  Draw(2);
  Discard(2, deck_.Named(0x83));
  Result(1, op::kChow, deck_.Named(0x81), deck_.Named(0x82), 0x83);
  Claimed(1);
  Discard(1, deck_.Any());
  LetBubbleFade();

  // The right-hand seat chows the local player's discard.
  Draw(0, deck_.Named(0x45));
  LocalDiscard(0x45);
  Result(3, op::kChow, deck_.Named(0x43), deck_.Named(0x44), 0x45);
  Claimed(3);
  Discard(3, deck_.Any());
  LetBubbleFade();

  Rounds(5);
  Plain(2);

  // The left-hand seat throws a tile the local player can chow three ways.
  Draw(1);
  Discard(1, deck_.Named(0x85));
  Offer(op::kPass | op::kChow);
  if (stage == Stage::Offer) return;
  OperationClick(c_, 0);
  if (stage == Stage::Claim) return;
  ChiClick(c_, 2);
  Result(0, op::kChow, 0x84, 0x86, 0x85);
  Claimed(0);
  LocalDiscard(0x17);
  Plain(3);
  if (stage == Stage::Hand) return;
  HandEnd(stage);
}

// The opposite seat draws its winning tile: the win, every hand revealed, the scores.
void Script::HandEnd(Stage stage) {
  Draw(2);
  Result(2, op::kWin, 0, 0, deck_.Named(0x29));
  const std::array<std::vector<int>, 4> hands = {
      std::vector<int>{},
      {deck_.Any(), deck_.Any(), deck_.Any(), deck_.Any(), deck_.Any(), deck_.Any(), deck_.Any()},
      {deck_.Named(0x15), deck_.Named(0x15), deck_.Named(0x15), deck_.Named(0x87),
       deck_.Named(0x88), deck_.Named(0x89), deck_.Named(0x29), 0x29},
      {deck_.Any(), deck_.Any(), deck_.Any(), deck_.Any(), deck_.Any(), deck_.Any(), deck_.Any()},
  };
  bool birds = true;
  for (int rel : {2, 1, 0, 3}) {
    std::vector<int> tiles = hands[static_cast<std::size_t>(rel)];
    if (rel == 0) {
      const SeatRecord& me = c_.table.custom(0);
      for (int k = me.HandStart; k < me.HandStart + me.HandCount; ++k) {
        tiles.push_back(me.mj(k).value);
      }
    }
    for (std::size_t i = 0; i < tiles.size(); i += 4) {
      Values v{};
      for (std::size_t k = 0; k < 4 && i + k < tiles.size(); ++k) v[k] = tiles[i + k];
      auto r = Rec(15, kSeatBit[static_cast<std::size_t>(rel)], v);
      if (birds) {
        r[16] = static_cast<std::uint8_t>(deck_.Any());
        r[17] = static_cast<std::uint8_t>(deck_.Any());
        birds = false;
      }
      Feed(r);
    }
  }

  // A self-drawn win of the opposite seat, stake 10: the local dealer pays 2^3, the side
  // seats 2^2 times the stake; the three kongs are paid among the seats.
  struct Score {
    std::int64_t hand, amount;
    std::map<int, int> bytes;  // settlement record bytes 16..35
    const char* level;
  };
  const std::array<Score, 4> scores = {{
      {-80, -50, {{24, 2}, {25, 3}, {27, 1}, {28, 1}, {23, 1}, {31, 1}, {32, 3}}, "雀士"},
      {-40, -90, {{24, 2}, {25, 2}, {27, 1}, {31, 2}, {32, 5}}, "新手"},
      {160, 150, {{24, 1}, {20, 2}, {18, 2}, {21, 1}, {27, 1}, {31, 2}, {32, 1}}, "雀圣"},
      {-40, -10, {{24, 2}, {25, 2}, {27, 1}, {23, 1}, {30, 1}, {31, 1}, {32, 3}}, "雀士"},
  }};
  for (int rel = 0; rel <= 3; ++rel) {
    auto r = Rec(9, kSeatBit[static_cast<std::size_t>(rel)], {0, 1, 0, 0});
    protocol::PutLittleEndian(
        r, 16, static_cast<std::uint64_t>(scores[static_cast<std::size_t>(rel)].hand), 8);
    Feed(r);
  }
  if (stage == Stage::Reveal) return;
  // The player reads the result window a while after the win was announced.
  LetBubbleFade();
  for (int rel = 0; rel <= 3; ++rel) {
    const Score& s = scores[static_cast<std::size_t>(rel)];
    auto r = Rec(17, kSeatBit[static_cast<std::size_t>(rel)], {kStake >> 8, kStake & 0xFF, 0, 1});
    for (auto [at, v] : s.bytes) r[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(v);
    const std::uint64_t amount = static_cast<std::uint64_t>(s.amount < 0 ? -s.amount : s.amount);
    protocol::PutLittleEndian(r, 36, amount, 8);
    if (s.amount < 0) r[44] = 2;
    protocol::PutGbk(r, 45, 17, s.level);
    Feed(r);
  }
}

// Snapshot of one seat: its pool, the head draws, the tail value, laid-down and concealed tiles.
protocol::Record Snapshot(int rel, int pool, const std::vector<int>& laid,
                          const std::vector<int>& concealed) {
  // 83 tiles are out: 80 from the head and 3 replacement tiles from the tail (tail value 2).
  auto r = protocol::BuildRecord(40, kSeatBit[static_cast<std::size_t>(rel)], {0, 80, 0, 2});
  r[protocol::off::kExtra] = static_cast<std::uint8_t>(pool);
  std::size_t at = protocol::off::kPayload;
  for (int t : laid) {
    r[at++] = 0x20;
    r[at++] = static_cast<std::uint8_t>(t);
  }
  for (int t : concealed) {
    r[at++] = 0x10;
    r[at++] = static_cast<std::uint8_t>(t);
  }
  return r;
}

void Script::Restore(Stage stage) {
  const bool spectator = IsSpectatorStage(stage);
  Seat("", spectator);
  if (!spectator) {
    // The player's connection broke in the middle of the hand: the server takes him back.
    Feed(Rec(29, 0, {0, 0, 0, 1}));
    Feed(Rec(41, kSeatBit[3], {7, 5, kWild, kIndicator}));
  }
  // The local seat shows a pung and a 中 laid alone; the left seat a chow and a kong; the top
  // seat a pung and a 喜; the dealer on the right the wild tile laid alone.
  Feed(Snapshot(0, 6, {0x42, 0x42, 0x42, 0x15},
                {0x83, 0x84, 0x86, 0x87, 0x27, 0x27, 0x16, 0x17, 0x88, 0x29}));
  Feed(Snapshot(1, 7, {0x81, 0x82, 0x83, 0x23, 0x23, 0x23, 0x23}, std::vector<int>(7, 0)));
  Feed(Snapshot(2, 8, {0x24, 0x24, 0x24, 0x15, 0x16, 0x17}, std::vector<int>(7, 0)));
  Feed(Snapshot(3, 7, {kWild}, std::vector<int>(13, 0)));
  if (stage == Stage::Watch || stage == Stage::Rejoin) return;
  Feed(5, 0, {0, 0, 0, 0x45});
  Feed(2, 0, {0, 0, 0, 0x88});
  Feed(5, 3);
  Feed(2, 3, {0, 0, 0, 0x25});
  Feed(7, 2, {op::kChow, 0x26, 0x27, 0x25});
  LetBubbleFade();
  Feed(2, 2, {0, 0, 0, 0x89});
  Feed(5, 1);
  Feed(7, 1, {op::kOneTileKong, 0, 0, 0x15});
  Feed(5, 1);
  Feed(2, 1, {0, 0, 0, 0x28});
}

}  // namespace

std::optional<Stage> StageByName(const std::string& name) {
  for (const auto& s : kStages) {
    if (name == s.name) return s.stage;
  }
  return std::nullopt;
}

const char* StageNames() {
  return "empty|wall|hand|offer|claim|reveal|settlement|settings|chat|talk|phrases|voices|card|"
         "toolbar|web|exit|exit-between|notice|wild|watch|watch-later|rejoin|rejoin-later";
}

bool IsSpectatorStage(Stage stage) {
  return stage == Stage::Watch || stage == Stage::WatchLater;
}

void PlayTo(Client& c, Stage stage, const std::string& webPage) {
  if (stage == Stage::Empty) return;
  if (stage == Stage::Wall) {
    ResetTableDisplay(c);
    for (short sprite = 0; sprite < 120; ++sprite) {
      SetTileSprite(c, sprite, static_cast<short>(8 + 36 * (sprite / 30)));
    }
    return;
  }
  Script script(c);
  if (stage >= Stage::Watch && stage <= Stage::RejoinLater) return script.Restore(stage);
  script.Seat(webPage);
  script.StartHand();
  if (stage == Stage::Wild) return;
  auto& f = c.mainForm;
  auto input = [&](ui::InputKind kind, ui::Control& control) { f.OnInput({kind, &control}); };
  switch (stage) {
    case Stage::Settings:
      script.PlayTo(Stage::Hand);
      ToolbarClick(c, kSettingsButton);
      VosOptionClick(c, 0);  // 背景音乐 off
      return;
    case Stage::Chat:
    case Stage::Talk:
    case Stage::Phrases:
    case Stage::Voices:
    case Stage::Card:
      script.PlayTo(Stage::Hand);
      PlayChat(c, stage);
      return;
    case Stage::Toolbar:
    case Stage::Web:
    case Stage::ExitInHand:
      script.PlayTo(Stage::Hand);
      if (stage == Stage::Toolbar) input(ui::InputKind::MouseMove, f.AnNiu(5));
      if (stage == Stage::ExitInHand) input(ui::InputKind::Click, f.AnNiu(8));
      return;
    case Stage::ExitBetween:
      script.PlayTo(Stage::Settlement);
      input(ui::InputKind::Click, f.Pic1);  // a click on the table puts the result window away
      input(ui::InputKind::Click, f.AnNiu(8));
      return;
    case Stage::Notice:
      script.PlayTo(Stage::Settlement);
      script.OutOfCoins(1);
      return;
    default:
      script.PlayTo(stage);
  }
}

const ui::Form* WindowOver(const Client& c, Stage stage) {
  switch (stage) {
    case Stage::Settlement:
      return &c.forms.Score;
    case Stage::Settings:
      return &c.forms.VosSet;
    case Stage::Talk:
      return &c.forms.Talk;
    case Stage::Phrases:
    case Stage::Voices:
      return &c.forms.huifu;
    case Stage::Card:
      return &c.forms.Information;
    default:
      return nullptr;
  }
}

}  // namespace tallow::picture
