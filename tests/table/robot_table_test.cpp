// Four robot clients and the server's core play whole games in virtual time; every client's
// view is compared with the server's after every message it handles.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "doubles/table_checks.h"
#include "doubles/table_harness.h"
#include "sound/voice_files.h"
#include "support/digest.h"

namespace tallow::testing {
namespace {

// The golden record of the first hundred hands at seed 2024: the FNV-1a digest of every record
// the server sent, each preceded by the receiving seat's index, from the first login to the
// first moment the table has finished a hundred hands, and what seat 0 saw of claims and fans
// by then. A change of the robots' or the server's play changes it, and is then updated here on
// purpose.
constexpr int kGoldenHands = 100;
struct Golden {
  std::uint64_t digest = 0;
  int won = 0, drawn = 0;
  std::map<std::string, int> claims, fans;
};
const Golden kGolden = {
    0xF983EAD492B9C155ULL,
    99,
    0,
    {{"chow", 174},
     {"concealed kong", 4},
     {"exposed kong", 15},
     {"one-tile kong", 3},
     {"pung", 209},
     {"win", 99}},
    {{"三家立", 10}, {"单砸", 13}, {"夹胡", 11}, {"杠开", 1}, {"飘喜儿", 3}, {"飘胡", 2}}};

// Every sound and voice the seats asked for must be one the build generates: a table sound, or
// a voice of set 00 with a number a player can be given and an ending the client names.
void ExpectEverySoundExists(const std::map<std::string, long>& heard) {
  std::set<std::string> known;
  for (std::size_t slot = 1; slot < sound::kTableSoundFiles.size(); ++slot) {
    known.insert("music/" + std::string(sound::kTableSoundFiles[slot]));
  }
  for (const auto& ending : sound::AllVoiceEndings(0)) {
    for (auto n : sound::kFemaleVoiceNumbers) {
      known.insert(sound::VoiceFileName("mj/", "00", n, 0, 2, ending));
    }
    for (auto n : sound::kMaleVoiceNumbers) {
      known.insert(sound::VoiceFileName("mj/", "00", n, 1, 3, ending));
    }
  }
  long total = 0, voices = 0;
  for (const auto& [path, n] : heard) {
    total += n;
    if (path.starts_with("mj/")) voices += n;
    EXPECT_TRUE(known.contains(path)) << path << " asked for " << n << " times";
#ifdef TALLOW_ASSETS_DIR
    EXPECT_TRUE(
        std::filesystem::is_regular_file(std::string(TALLOW_ASSETS_DIR) + "/common/" + path))
        << path << " was not generated";
#endif
  }
  for (std::size_t slot = 1; slot < sound::kTableSoundFiles.size(); ++slot) {
    EXPECT_TRUE(heard.contains("music/" + std::string(sound::kTableSoundFiles[slot])))
        << sound::kTableSoundFiles[slot] << " never played";
  }
  for (auto ending :
       {sound::kChowEnding, sound::kPungEnding, sound::kKongEnding, sound::kWinEnding}) {
    EXPECT_TRUE(std::any_of(heard.begin(), heard.end(),
                            [&](const auto& h) { return h.first.ends_with(ending); }))
        << "no voice said " << ending;
  }
  std::printf("sounds asked for: %ld (%ld voices), %zu different files\n", total, voices,
              heard.size());
}

TEST(RobotTable, RobotsPlayHandsToTheirResultsAndAgreeWithTheServer) {
  const int wanted = HandsFromEnvironment("TALLOW_ROBOT_HANDS", 1000);
  server::Config config;
  config.startCoins = 1'000'000'000;  // nobody runs out of coins in a long game
  TableHarness t(2024, true, config);
  // What the robots did, seen from seat 0: every operation result, and each hand's end.
  std::map<std::string, int> claims, fans;
  int won = 0, drawn = 0, selfDrawn = 0;
  // Tiles left in the wall when each won hand ended (a drawn hand leaves the reserve of two).
  int leftAtWin = 0, fewestLeft = 1000;
  const server::Hand* lastHand = nullptr;
  TableChecker checker;
  t.check = [&](int seat, const SeatView& v, Client& c) {
    checker.Check(v, c, t.failures);
    if (seat != 0) return;
    if (v.type == 7) {
      static const std::map<int, std::string> kOps = {{4, "chow"},           {8, "pung"},
                                                      {16, "exposed kong"},  {32, "concealed kong"},
                                                      {64, "one-tile kong"}, {128, "win"}};
      if (auto it = kOps.find(v.value[0] & 0xFF); it != kOps.end()) ++claims[it->second];
    }
    const server::Hand* hand = t.core.HandAt(0);
    if (v.type == 9 && hand != nullptr && hand != lastHand && hand->Over()) {
      lastHand = hand;
      if (hand->winner() < 0 || !hand->settlement()) {
        ++drawn;
        return;
      }
      ++won;
      leftAtWin += hand->wall().Remaining();
      fewestLeft = std::min(fewestLeft, hand->wall().Remaining());
      const auto& b = hand->settlement()->bytes[static_cast<std::size_t>(hand->winner())];
      auto at = [&](int byte) { return static_cast<int>(b[static_cast<std::size_t>(byte - 16)]); };
      if (at(20) == 2) ++selfDrawn;
      if ((at(17) & 15) == 1) ++fans["三家立"];
      if ((at(18) & 15) == 1) ++fans["夹胡"];
      if ((at(18) & 15) == 2) ++fans["单砸"];
      if ((at(18) >> 4) == 1) ++fans["杠开"];
      if ((at(18) >> 4) == 2) ++fans["抢杠"];
      if ((at(19) & 15) == 2) ++fans["飘胡"];
      if ((at(19) >> 4) >= 1) ++fans["飘喜儿"];
      if (at(29) == 1) ++fans["海捞"];
    }
  };
  Fnv1a64 digest;
  std::optional<Golden> golden;  // taken once the golden hands are done
  t.onSend = [&](int seat, const protocol::Record& rec) {
    if (golden) return;
    digest.Add(static_cast<std::uint8_t>(seat));
    digest.Add(rec);
  };
  // Every sound a seat asked for, by its path under the folder beside its application
  // directory; taken after every step, so the doubles' lists stay short.
  std::map<std::string, long> heard;
  auto takeSounds = [&] {
    for (auto& s : t.seats) {
      const std::string base = s->process.appPath + "/../common/";
      for (const auto& p : s->sound.played) {
        ++heard[p.path.starts_with(base) ? p.path.substr(base.size()) : p.path];
      }
      s->sound.played.clear();
    }
  };
  t.onStep = takeSounds;
  t.StartAll(/*robotClients=*/true);
  const auto started = std::chrono::steady_clock::now();
  const bool done = t.Run(
      static_cast<std::int64_t>(wanted) * 600'000,
      [&] {
        const int finished = t.core.FinishedHandsAt(0);
        if (!golden && finished >= kGoldenHands) {
          golden = Golden{digest.value(), won, drawn, claims, fans};
        }
        return finished >= wanted;
      },
      50);
  const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - started;
  takeSounds();
  for (const auto& f : t.failures) ADD_FAILURE() << f;
  ExpectEverySoundExists(heard);
  EXPECT_TRUE(done) << "finished " << t.core.FinishedHandsAt(0) << " of " << wanted << " hands";
  for (auto& s : t.seats) EXPECT_FALSE(s->ended.has_value());
  // The robots must play, not only time out: they win, and they claim.
  EXPECT_GT(won, 0);
  EXPECT_GT(claims["pung"] + claims["chow"], 0);
  std::printf("hands %d: won %d (self-drawn %d), drawn %d\n", won + drawn, won, selfDrawn, drawn);
  if (won > 0) {
    std::printf("wall left at a win: %.1f tiles on average, %d at the least\n",
                static_cast<double>(leftAtWin) / won, fewestLeft);
  }
  if (golden) {
    std::printf("golden digest of %d hands: 0x%016llX\n", kGoldenHands,
                static_cast<unsigned long long>(golden->digest));
    EXPECT_EQ(golden->digest, kGolden.digest) << std::hex << golden->digest;
    EXPECT_EQ(golden->won, kGolden.won);
    EXPECT_EQ(golden->drawn, kGolden.drawn);
    EXPECT_EQ(golden->claims, kGolden.claims);
    EXPECT_EQ(golden->fans, kGolden.fans);
  }
  for (const auto& [k, n] : claims) std::printf("claim %s: %d\n", k.c_str(), n);
  for (const auto& [k, n] : fans) std::printf("fan %s: %d\n", k.c_str(), n);
  std::printf("records compared: %llu\n", static_cast<unsigned long long>(checker.checks));
  for (int s = 0; s < 4; ++s) {
    if (t.silent[static_cast<std::size_t>(s)] > 0) {
      std::printf("seat %d left %d offers unanswered for 20 s\n", s,
                  t.silent[static_cast<std::size_t>(s)]);
    }
  }
  for (const auto& [bits, n] : t.silentOffers) std::printf("  after offer %d: %d\n", bits, n);
  std::printf("%d hands in %.2f s: %.0f hands a second\n", t.core.FinishedHandsAt(0), spent.count(),
              t.core.FinishedHandsAt(0) / spent.count());
  std::printf("virtual time: %lld s for %d hands\n", static_cast<long long>(t.clock.NowMs() / 1000),
              wanted);
}

}  // namespace
}  // namespace tallow::testing
