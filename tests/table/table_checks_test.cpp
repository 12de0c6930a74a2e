// The whole-table comparison must notice every kind of disagreement between a client and the
// server: robots play until a set lies on the table, then single faults are put into one
// client's table and each must be reported.
#include "doubles/table_checks.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "doubles/table_harness.h"

namespace tallow::testing {
namespace {

struct Fault {
  const char* name;
  const char* reported;  // a part of the failure message
  std::function<void(Client&)> put;
};

TEST(TableChecks, EveryKindOfDisagreementWithTheServerIsReported) {
  TableHarness t(3);
  TableChecker checker;
  std::optional<SeatView> last;  // seat 0's view after its latest record, once sets lie down
  bool clean = true;
  t.check = [&](int seat, const SeatView& v, Client& c) {
    const std::size_t before = t.failures.size();
    checker.Check(v, c, t.failures);
    clean = clean && t.failures.size() == before;
    if (seat != 0 || !v.inHand) return;
    int sets = 0;
    for (const auto& s : v.seats) sets += SetCount(s);
    // A moment with a set on the table and some of the wall standing.
    if (sets >= 2 && v.type == 2 && v.remaining > 20) last = v;
  };
  t.StartAll(/*robotClients=*/true);
  ASSERT_TRUE(t.Run(
      600'000, [&] { return last.has_value(); }, 50));
  ASSERT_TRUE(clean) << t.failures.front();
  Client& c = *t.seats[0]->client;
  // A relative seat that has laid down a set, and the mj index of its first set entry.
  int rel = -1;
  for (int r = 0; r < 4 && rel < 0; ++r) {
    if (SetCount(last->seats[static_cast<std::size_t>((0 - r) & 3)]) > 0) rel = r;
  }
  ASSERT_GE(rel, 0);
  const int firstSet = rel == 0 ? 1 : 2;
  const int standing = (last->wallStart + last->nextHead + 5) % 120;  // a sprite still in the wall

  const Fault faults[] = {
      {"a seat's concealed count", "HandCount", [](Client& c) { ++c.table.custom(2).HandCount; }},
      {"where the hand starts", "HandStart",
       [&](Client& c) { c.table.custom(rel).HandStart += 3; }},
      {"where the next set goes", "MeldEnd", [&](Client& c) { c.table.custom(rel).MeldEnd += 3; }},
      {"a set entry's kind", ".typ", [&](Client& c) { c.table.custom(rel).mj(firstSet).typ = 6; }},
      {"a set entry's tile", ".value",
       [&](Client& c) { c.table.custom(rel).mj(firstSet + 1).value ^= 0x01; }},
      {"a local concealed tile", "concealed tiles",
       [](Client& c) {
         auto& me = c.table.custom(0);
         me.mj(me.HandStart).value = me.mj(me.HandStart).value == 0x21 ? 0x22 : 0x21;
       }},
      {"another seat's tile the client cannot know", "value",
       [](Client& c) {
         auto& s = c.table.custom(3);
         s.mj(s.HandStart).value = 0x15;
       }},
      {"a hand tile drawn from the wrong place", "not dealt",
       [&](Client& c) {
         auto& s = c.table.custom(1);
         s.mj(s.HandStart).Sprite = static_cast<short>(standing);
       }},
      {"two entries on one sprite", "already",
       [](Client& c) {
         auto& s = c.table.custom(2);
         s.mj(s.HandStart + 1).Sprite = s.mj(s.HandStart).Sprite;
       }},
      {"a tile's face", "picture",
       [](Client& c) {
         auto& me = c.table.custom(0);
         c.mainForm.MJ_Image(me.mj(me.HandStart).Sprite).picture = ui::Picture{999, {}};
       }},
      {"a wall sprite knocked over", "not standing",
       [&](Client& c) { c.mainForm.MJ_Image(standing).Visible = false; }},
      {"the head pointer", "WallHead",
       [](Client& c) { c.table.WallHead = (c.table.WallHead + 1) % 120; }},
      {"the tail pointer", "WallTail",
       [](Client& c) { c.table.WallTail = (c.table.WallTail + 2) % 120; }},
      {"a replacement draw still due", "WallHeadDraw", [](Client& c) { c.table.WallHeadDraw = 0; }},
      {"the dealer", "IsDealer",
       [](Client& c) { c.table.custom(1).IsDealer = ~c.table.custom(1).IsDealer; }},
      {"a lone 中 beside a hand", "RedKongCount",
       [](Client& c) { ++c.table.custom(2).RedKongCount; }},
  };
  for (const Fault& f : faults) {
    SCOPED_TRACE(f.name);
    // Each fault on its own: a fresh copy of the table's state, then the fault.
    const TableState table = c.table;
    std::vector<std::pair<ui::Picture, bool>> sprites;
    for (int i = 0; i < 120; ++i) {
      sprites.emplace_back(c.mainForm.MJ_Image(i).picture, c.mainForm.MJ_Image(i).Visible);
    }
    f.put(c);
    std::vector<std::string> found;
    checker.Check(*last, c, found);
    c.table = table;
    for (int i = 0; i < 120; ++i) {
      c.mainForm.MJ_Image(i).picture = sprites[static_cast<std::size_t>(i)].first;
      c.mainForm.MJ_Image(i).Visible = sprites[static_cast<std::size_t>(i)].second;
    }
    ASSERT_FALSE(found.empty()) << "not reported";
    bool named = false;
    for (const auto& m : found) named = named || m.find(f.reported) != std::string::npos;
    EXPECT_TRUE(named) << found.front();
    std::vector<std::string> after;
    checker.Check(*last, c, after);
    EXPECT_TRUE(after.empty()) << "the table was not restored: " << after.front();
  }
}

}  // namespace
}  // namespace tallow::testing
