#include "hand/settlement.h"

#include <cmath>
#include <cstdio>

#include "base/general.h"
#include "base/tiles.h"
#include "hand/game_record.h"
#include "protocol/gbk.h"
#include "session/client.h"

namespace tallow {
namespace {

constexpr ui::Color kRed = 0xFF0000;    // the colour value 255 (red in BGR order)
constexpr ui::Color kGreen = 0x00FF00;  // the colour value 65280

// Numbers as the shortest decimal text.
std::string Num(double v) {
  if (std::nearbyint(v) == v && std::fabs(v) < 1e15) {
    return std::to_string(static_cast<long long>(v));
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

// Byte b (16..61) of seat s's settlement record.
int Byte(const Client& c, int s, int b) {
  return c.hand.SettleData(b - 14)(s);
}

// The continue prompt and countdown after a hand.
void PromptToContinue(Client& c, short seconds) {
  auto& f = c.mainForm;
  f.Sysmsg(0).Clear();
  f.Sysmsg(0).AddItem("请点击【继续】按钮继续游戏！");
  c.toolbar.ToolbarLock(2) = 0;
  c.table.TableReadyForNext = 0;
  f.Sysmsg(1).Clear();
  f.Sysmsg(1).AddItem("游戏将在15秒内开始");
  if (c.table.Spectating != 0) return;
  c.scheduler.Enable(TickScheduler::kContinue);
  c.table.TurnCountdown = seconds;
  f.Number.Caption = Num(seconds);
  f.Number.ForeColor = kGreen;
  f.Number.Visible = f.Time_Img.Visible = true;
  f.Time_Img.ZOrder(ui::ZPosition::Front);
  f.Number.ZOrder(ui::ZPosition::Front);
}

std::int32_t DecodeHandScore(const protocol::Record& m) {
  std::uint64_t u = 0;
  for (int i = 23; i >= 16; --i) u = (u << 8) | m[static_cast<std::size_t>(i)];
  const auto v = static_cast<std::int64_t>(u);
  if (v < INT32_MIN || v > INT32_MAX) throw RuntimeFailure("hand score out of range");
  return static_cast<std::int32_t>(v);
}

void DrawnHand(Client& c) {
  auto& score = c.forms.Score;
  auto& hero = c.forms.Hero;
  c.session.TableActive = 0;
  hero.Num.AddItem(PadRight(std::to_string(c.session.HandNumber), 12));
  for (int s = 0; s <= 3; ++s) {
    score.ID(s).ForeColor = kRed;
    score.State(s).ForeColor = ui::kBlack;
    score.State(s).AddItem("      黄  庄");
    score.State(s + 4).AddItem("最终分：0金币");
    hero.Grade(s).AddItem(PadRight("0", 9) + "金币");
  }
  if (c.shell.HiddenByF1 == 0) score.Visible = true;
  WriteGameRecord(c, c.session.HandNumber);
  PromptToContinue(c, 15);
}

}  // namespace

void OnHandResult(Client& c, const protocol::Header& h) {
  auto& score = c.forms.Score;
  c.session.HandInPlay = false;
  CentreOverTable(c, score);
  const int s = RelativeSeat(c.table.custom(0).SeatBit, h.SeatMask & 15);
  score.State(s).Clear();
  score.State(s + 4).Clear();
  std::int32_t v = DecodeHandScore(c.framing.CurrentMessage);
  if (h.Value[1] == 0) {
    if (v == INT32_MIN) throw RuntimeFailure("hand score out of range");
    v = -v;
  }
  c.table.custom(s).HandScore = v;
  if (++c.hand.ResultCount < 4) return;
  c.hand.ResultCount = 0;
  for (int k = 0; k <= 3; ++k) {
    if (c.table.custom(k).HandScore != 0) return;  // the settlement follows
  }
  DrawnHand(c);
}

void OnSeatScore(Client& c, const protocol::Header& h) {
  const int s = RelativeSeat(c.table.custom(0).SeatBit, h.SeatMask & 15);
  auto& data = c.hand.SettleData;
  data(0)(s) = CheckedInt16(static_cast<long>(h.Value[0]) * 256 + h.Value[1]);
  data(1)(s) = h.Value[3];
  c.hand.ExtraLine = static_cast<short>(h.Value[2] & 0xFF);
  for (int k = 2; k <= 47; ++k)
    data(k)(s) = c.framing.CurrentMessage[static_cast<std::size_t>(k + 14)];
  if (++c.hand.ScoreCount < 4) return;
  c.hand.ScoreCount = 0;
  ShowSettlement(c);
}

void ShowFanList(Client& c) {
  auto& score = c.forms.Score;
  const int S = c.hand.SettleData(0)(0);
  int w = 0, d = 0;
  for (int s = 3; s >= 0; --s) {
    if (Byte(c, s, 24) == 1) w = s;
    if (Byte(c, s, 28) == 1) d = s;
  }
  std::array<std::string, 21> L{};
  // The winner's fans, repeated in every paying seat's column.
  const int b20 = Byte(c, w, 20), b18 = Byte(c, w, 18), b19 = Byte(c, w, 19);
  if (b20 == 1) L[1] = "  点  炮      1番";
  if (b20 == 2) L[1] = "  自  摸      1番";
  if ((b18 & 15) == 1) L[2] = "  夹  胡      1番";
  if ((b18 & 15) == 2) L[2] = "  单  砸      1番";
  if ((Byte(c, w, 17) & 15) == 1) L[3] = "  三家立      2番";
  if ((b19 & 15) == 2) L[4] = "  飘  胡      2番";
  if ((b19 >> 4) >= 1) L[5] = "  飘喜儿      " + Num(b19 >> 4) + "番";
  if ((b18 >> 4) == 1) L[6] = "  杠  开      1番";
  if ((b18 >> 4) == 2) L[6] = "  抢  杠      1番";
  if (Byte(c, w, 29) == 1) L[7] = "  海  捞      1番 ";

  auto kongLines = [&](int seat, int stake) {
    L[12] = L[13] = L[14] = L[15] = "";
    if (int n = Byte(c, seat, 21); n > 0) L[12] = "明杠次数：" + Num(n) + "次 ";
    if (int n = Byte(c, seat, 23); n > 0) L[13] = "暗杠次数：" + Num(n) + "次 ";
    if (int n = Byte(c, seat, 30); n > 0) L[14] = "点杠次数：" + Num(n);
    const int m = Byte(c, seat, 32);
    if (m > 0) {
      if (Byte(c, seat, 31) == 1)
        L[15] = "杠牌总分：" + Num(m * static_cast<double>(stake)) + "金币";
      if (Byte(c, seat, 31) == 2)
        L[15] = "杠牌总分：-" + Num(m * static_cast<double>(stake)) + "金币";
    } else {
      L[15] = "杠牌总分：0金币";
    }
  };
  auto output = [&](int seat, const std::string& P) {
    auto& list = score.State(seat);
    for (int k = 0; k <= 15; ++k) {
      if (k == 11) list.AddItem(P);
      if (k == 12) list.AddItem("--------------------------");
      list.AddItem(L[static_cast<std::size_t>(k)]);
    }
  };
  auto pay = [&](int seat) { return std::pow(2.0, Byte(c, seat, 25)) * S; };

  bool someoneDiscarded = false;
  for (int s = 0; s <= 3; ++s) someoneDiscarded = someoneDiscarded || Byte(c, s, 20) == 1;
  double W = 0;
  for (int l = 0; l <= 3; ++l) {
    if (l == w) continue;
    std::string P;
    L[0] = L[8] = L[11] = L[12] = L[13] = L[14] = L[15] = "";
    if (w == d || Byte(c, l, 28) == 1) L[0] = "  庄  家      1番";
    if (Byte(c, l, 20) == 1) L[8] = "  点  炮      1番";
    L[9] = Byte(c, l, 27) == 0 ? "  闭  门      1番" : "";
    L[10] = Byte(c, l, 26) == 1 ? "  杠 点      1番" : "";
    if (Byte(c, l, 24) == 2) {
      const double v = pay(l);
      P = "胡牌分  ：-" + Num(v) + "金币";
      if (!someoneDiscarded || Byte(c, l, 20) == 1) {
        if (Byte(c, l, 20) == 1) {
          double t = v;
          for (int m = 0; m <= 3; ++m) {
            if (m != w && m != l) t += pay(m);
          }
          L[11] = "胡牌得分：-" + Num(t) + "金币";
        } else {
          L[11] = "胡牌得分：-" + Num(v) + "金币";
        }
      } else {
        L[11] = "胡牌得分： 0金币";
      }
      W += v;
    }
    kongLines(l, S);
    output(l, P);
  }
  L.fill("");
  L[11] = "胡牌得分:" + Num(W) + "金币";
  kongLines(w, c.hand.SettleData(0)(w));
  output(w, "");
  for (int s = 0; s <= 3; ++s) score.State(s).AddItem("--------------------------");
}

void ShowSettlement(Client& c) {
  auto& score = c.forms.Score;
  auto& hero = c.forms.Hero;
  auto& hs = c.hand;
  auto& f = c.mainForm;
  for (int k = 0; k <= 7; ++k) score.State(k).Clear();
  for (int s = 0; s <= 3; ++s) {
    std::uint64_t amount = 0;
    for (int b = 43; b >= 36; --b)
      amount = amount * 256 + static_cast<std::uint64_t>(Byte(c, s, b));
    hs.HandAmount(s) = static_cast<double>(amount) * (Byte(c, s, 44) == 2 ? -1 : 1);
    hs.TotalAmount(s) += hs.HandAmount(s);
    std::string title;
    for (int b = 45; b + 1 <= 61; b += 2) {
      if (Byte(c, s, b) == 0) break;
      const char pair[2] = {static_cast<char>(Byte(c, s, b)), static_cast<char>(Byte(c, s, b + 1))};
      title += protocol::FromGbk(std::string_view(pair, 2));
    }
    c.players.PlayerInfo(s).LevelTitle = title;
    f.Level(s).Caption = title;
  }
  hero.Num.AddItem(PadRight(std::to_string(c.session.HandNumber), 12));
  for (int s = 0; s <= 3; ++s) score.State(s).AddItem("   房间条数:  " + Num(hs.SettleData(0)(s)));
  ShowFanList(c);
  for (int s = 0; s <= 3; ++s) score.State(s).AddItem("------------------------------");
  for (int s = 0; s <= 3; ++s) score.State(s).AddItem(" ");
  // Statistics.
  bool runaway = false;
  for (int s = 0; s <= 3; ++s) runaway = runaway || Byte(c, s, 18) == 1;
  for (int s = 0; s <= 3; ++s) {
    auto& p = c.players.PlayerInfo(s);
    p.Coins += hs.HandAmount(s);
    if (p.Coins < 0) p.Coins = 0;
    if (runaway) {
      if (Byte(c, s, 18) == 1) {
        p.Losses = CheckedInt32(p.Losses + 1LL);
      } else if (s == hs.WinnerRel) {
        p.Wins = CheckedInt32(p.Wins + 1LL);
      }
    } else if (hs.HandAmount(s) > 0) {
      p.Wins = CheckedInt32(p.Wins + 1LL);
    } else if (hs.HandAmount(s) < 0) {
      p.Losses = CheckedInt32(p.Losses + 1LL);
    }
    p.Points += hs.HandAmount(s);
    if (p.Points < 0) p.Points = 1;
  }
  for (int s = 0; s <= 3; ++s) {
    const std::string unit = hs.SettleData(1)(s) == 1 ? "金币" : "金条";
    f.Cash(s).Caption = Num(c.players.PlayerInfo(s).Coins) + unit;
    score.State(s).AddItem("胡牌总分：" + Num(c.table.custom(s).HandScore) + unit);
    score.State(s).AddItem("");
    score.State(s + 4).AddItem("最终分：" + Num(hs.HandAmount(s)) + unit);
    hero.Grade(s).AddItem(PadRight(Num(hs.HandAmount(s)), 9) + unit);
    hero.sumScore(s).Caption = Num(hs.TotalAmount(s)) + unit;
  }
  if (hs.ExtraLine != 0) {
    for (int s = 0; s <= 3; ++s) score.State(s).AddItem("");
  }
  for (int s = 0; s <= 3; ++s) {
    const std::string unit = hs.SettleData(1)(s) == 1 ? "金币" : "金条";
    score.State(s).AddItem("最终分：" + Num(hs.HandAmount(s)) + unit);
  }
  if (f.State != ui::WindowState::Minimized) score.Visible = true;
  c.session.TableActive = 0;
  c.scheduler.Disable(TickScheduler::kTurnTimer);
  PromptToContinue(c, c.session.RobotMode ? 5 : 15);
  WriteGameRecord(c, c.session.HandNumber);
}

}  // namespace tallow
